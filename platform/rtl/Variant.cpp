#include "platform/rtl/Variant.h"

#include <cmath>
#include <limits>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"

namespace rtl {

namespace {
bool IsIntKind(Word t)
{
    switch (t) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64:
        return true;
    default:
        return false;
    }
}
bool IsFloatKind(Word t) { return t == varSingle || t == varDouble || t == varDate; }
bool IsStrKind(Word t) { return t == varString || t == varOleStr; }
bool IsNumberKind(Word t) { return IsIntKind(t) || IsFloatKind(t) || t == varCurrency; }

std::int64_t RoundHalfEven(double d) { return static_cast<std::int64_t>(std::nearbyint(d)); }
} // namespace

const char* VarTypeAsText(Word kind)
{
    if (kind & varArray)
        return "Array";
    switch (kind) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varSmallint: return "SmallInt";
    case varInteger: return "Integer";
    case varSingle: return "Single";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varDate: return "Date";
    case varOleStr: return "OleStr";
    case varDispatch: return "Dispatch";
    case varError: return "Error";
    case varBoolean: return "Boolean";
    case varVariant: return "Variant";
    case varUnknown: return "Unknown";
    case varShortInt: return "ShortInt";
    case varByte: return "Byte";
    case varWord: return "Word";
    case varLongWord: return "LongWord";
    case varInt64: return "Int64";
    case varString: return "String";
    default: return "Unknown";
    }
}

// ---------------------------------------------------------------------------------------------
Variant::Variant(bool v) : type_(varBoolean) { b_ = v; }
Variant::Variant(int v) : type_(varInteger) { i_ = v; }
Variant::Variant(std::int64_t v) : type_(varInt64) { i_ = v; }
Variant::Variant(double v) : type_(varDouble) { d_ = v; }
Variant::Variant(const char* v) : type_(varString), s_(v ? v : "") {}
Variant::Variant(std::string v) : type_(varString), s_(std::move(v)) {}
Variant::Variant(std::u16string_view v) : type_(varOleStr), s_(Utf16ToUtf8(v)) {}
Variant::Variant(Currency v) : type_(varCurrency) { i_ = v.Value; }

Variant::Variant(const Variant& o) : type_(o.type_), s_(o.s_)
{
    i_ = o.i_;
    if (o.array_)
        array_ = std::make_unique<ArrayData>(*o.array_);
}

Variant::Variant(Variant&& o) noexcept : type_(o.type_), s_(std::move(o.s_)), array_(std::move(o.array_))
{
    i_ = o.i_;
    o.type_ = varEmpty;
    o.i_ = 0;
}

Variant& Variant::operator=(const Variant& o)
{
    if (this != &o) {
        Variant copy(o);
        *this = std::move(copy);
    }
    return *this;
}

Variant& Variant::operator=(Variant&& o) noexcept
{
    type_ = o.type_;
    i_ = o.i_;
    s_ = std::move(o.s_);
    array_ = std::move(o.array_);
    o.type_ = varEmpty;
    o.i_ = 0;
    return *this;
}

Variant::~Variant() = default;

void Variant::Clear()
{
    type_ = varEmpty;
    i_ = 0;
    s_.clear();
    array_.reset();
}

Variant Variant::MakeNull()
{
    Variant v;
    v.type_ = varNull;
    return v;
}

Variant Variant::FromDate(TDateTime value)
{
    Variant v(value);
    v.type_ = varDate;
    return v;
}

void Variant::CastError(Word to) const
{
    throw EVariantTypeCastError(
        Format("Could not convert variant of type (%s) into type (%s)", VarTypeAsText(type_), VarTypeAsText(to)));
}

// ---------------------------------------------------------------------------------------------
std::int64_t Variant::ToInt64() const
{
    if (IsIntKind(type_))
        return i_;
    switch (type_) {
    case varEmpty: return 0;
    case varBoolean: return b_ ? -1 : 0;
    case varSingle: case varDouble: case varDate:
        if (!(std::fabs(d_) < 9.2e18))
            throw EVariantError(Format("Overflow while converting variant of type (%s) into type (Int64)", VarTypeAsText(type_)));
        return RoundHalfEven(d_);
    case varCurrency: {
        // Whole units, the fraction rounded half to even.
        std::int64_t q = i_ / 10000, r = i_ % 10000;
        if (r > 5000 || (r == 5000 && (q & 1))) ++q;
        if (r < -5000 || (r == -5000 && (q & 1))) --q;
        return q;
    }
    case varString: case varOleStr: {
        std::int64_t v;
        if (TryStrToInt64(s_, v))
            return v;
        double d;
        if (TryStrToFloat(s_, d) && std::fabs(d) < 9.2e18)
            return RoundHalfEven(d);
        CastError(varInt64);
    }
    default:
        CastError(varInt64);
    }
}

std::int32_t Variant::ToInteger() const
{
    std::int64_t v = ToInt64();
    if (type_ == varLongWord || type_ == varInt64 || !IsIntKind(type_)) {
        if (v < INT32_MIN || v > INT32_MAX)
            throw EVariantError(Format("Overflow while converting variant of type (%s) into type (Integer)", VarTypeAsText(type_)));
    }
    return static_cast<std::int32_t>(v);
}

double Variant::ToDouble() const
{
    if (IsIntKind(type_))
        return static_cast<double>(i_);
    switch (type_) {
    case varEmpty: return 0;
    case varBoolean: return b_ ? -1 : 0;
    case varSingle: case varDouble: case varDate: return d_;
    case varCurrency: return static_cast<double>(i_) / 10000.0;
    case varString: case varOleStr: {
        double d;
        if (TryStrToFloat(s_, d))
            return d;
        CastError(varDouble);
    }
    default:
        CastError(varDouble);
    }
}

bool Variant::ToBoolean() const
{
    if (IsIntKind(type_) || type_ == varCurrency)
        return i_ != 0;
    switch (type_) {
    case varEmpty: return false;
    case varBoolean: return b_;
    case varSingle: case varDouble: case varDate: return d_ != 0;
    case varString: case varOleStr: {
        if (SameText(s_, "True"))
            return true;
        if (SameText(s_, "False"))
            return false;
        double d;
        if (TryStrToFloat(s_, d))
            return d != 0;
        CastError(varBoolean);
    }
    default:
        CastError(varBoolean);
    }
}

std::string Variant::ToString() const
{
    if (IsIntKind(type_))
        return type_ == varLongWord ? std::to_string(static_cast<std::uint32_t>(i_)) : std::to_string(i_);
    switch (type_) {
    case varEmpty: return {};
    case varBoolean: return b_ ? "True" : "False";
    case varSingle: return FloatToStr(static_cast<float>(d_));
    case varDouble: return FloatToStr(d_);
    case varDate: return DateTimeToStr(d_);
    case varCurrency: return CurrToStr(Currency{i_});
    case varString: case varOleStr: return s_;
    default: CastError(varString);
    }
}

Currency Variant::ToCurrency() const
{
    if (type_ == varCurrency)
        return Currency{i_};
    if (IsIntKind(type_)) {
        if (i_ > 922337203685477LL || i_ < -922337203685477LL)
            throw EVariantError("Overflow while converting variant of type (Int64) into type (Currency)");
        return Currency{i_ * 10000};
    }
    try {
        return Currency::FromDouble(ToDouble());
    } catch (const ERangeError&) {
        throw EVariantError(Format("Overflow while converting variant of type (%s) into type (Currency)", VarTypeAsText(type_)));
    }
}

TDateTime Variant::ToDate() const
{
    if (IsStrKind(type_)) {
        TDateTime t;
        if (TryStrToDateTime(s_, t))
            return t;
        double d;
        if (TryStrToFloat(s_, d))
            return d;
        CastError(varDate);
    }
    return ToDouble();
}

Variant Variant::AsType(Word kind) const
{
    if (kind == type_)
        return *this;
    if (type_ == varNull && kind != varNull && kind != varEmpty)
        CastError(kind);
    Variant r;
    switch (kind) {
    case varEmpty: return Variant();
    case varNull: return MakeNull();
    case varBoolean: return Variant(ToBoolean());
    case varDouble: return Variant(ToDouble());
    case varSingle: r = Variant(static_cast<double>(static_cast<float>(ToDouble()))); r.type_ = varSingle; return r;
    case varDate: return FromDate(ToDate());
    case varCurrency: return Variant(ToCurrency());
    case varString: return Variant(ToString());
    case varOleStr: r = Variant(ToString()); r.type_ = varOleStr; return r;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64: {
        std::int64_t v = ToInt64();
        std::int64_t lo, hi;
        switch (kind) {
        case varSmallint: lo = INT16_MIN; hi = INT16_MAX; break;
        case varInteger: lo = INT32_MIN; hi = INT32_MAX; break;
        case varShortInt: lo = INT8_MIN; hi = INT8_MAX; break;
        case varByte: lo = 0; hi = UINT8_MAX; break;
        case varWord: lo = 0; hi = UINT16_MAX; break;
        case varLongWord: lo = 0; hi = UINT32_MAX; break;
        default: lo = INT64_MIN; hi = INT64_MAX; break;
        }
        if (v < lo || v > hi)
            throw EVariantError(Format("Overflow while converting variant of type (%s) into type (%s)",
                                       VarTypeAsText(type_), VarTypeAsText(kind)));
        r.type_ = kind;
        r.i_ = v;
        return r;
    }
    default:
        CastError(kind);
    }
}

// ---------------------------------------------------------------------------------------------
Variant Variant::CreateArray(int low, int high, Word elementType)
{
    if (high < low - 1)
        throw EVariantError("Error creating variant or safe array");
    Variant v;
    v.type_ = static_cast<Word>(varArray | elementType);
    v.array_ = std::make_unique<ArrayData>();
    v.array_->low = low;
    v.array_->elementType = elementType;
    Variant zero;
    if (elementType == varString || elementType == varOleStr)
        zero = Variant(std::string()).AsType(elementType);
    else if (elementType != varVariant && elementType != varEmpty)
        zero = Variant(0).AsType(elementType);
    v.array_->items.assign(static_cast<std::size_t>(high - low + 1), zero);
    return v;
}

Variant Variant::ArrayOf(std::initializer_list<Variant> values)
{
    Variant v = CreateArray(0, static_cast<int>(values.size()) - 1, varVariant);
    int i = 0;
    for (const Variant& x : values)
        v.array_->items[i++] = x;
    return v;
}

int Variant::LowBound() const
{
    if (!array_)
        throw EVariantError("Variant is not an array");
    return array_->low;
}

int Variant::HighBound() const
{
    if (!array_)
        throw EVariantError("Variant is not an array");
    return array_->low + static_cast<int>(array_->items.size()) - 1;
}

const Variant& Variant::operator[](int index) const
{
    if (!array_)
        throw EVariantError("Variant is not an array");
    if (index < LowBound() || index > HighBound())
        throw EVariantBadIndexError("Variant or safe array index out of bounds");
    return array_->items[index - array_->low];
}

Variant& Variant::operator[](int index)
{
    return const_cast<Variant&>(static_cast<const Variant&>(*this)[index]);
}

// ---------------------------------------------------------------------------------------------
namespace {

[[noreturn]] void InvalidOp() { throw EVariantError("Invalid variant operation"); }

// Three-way comparison of two non-Null, non-array values by the platform's operators.
int OperatorCompare(const Variant& a, const Variant& b)
{
    Word ta = a.VType(), tb = b.VType();
    if (ta == varEmpty && tb == varEmpty)
        return 0;
    if (IsStrKind(ta) && IsStrKind(tb))
        return AnsiCompareStr(a.ToString(), b.ToString());
    if (ta == varEmpty && IsStrKind(tb))
        return b.ToString().empty() ? 0 : -1;
    if (tb == varEmpty && IsStrKind(ta))
        return a.ToString().empty() ? 0 : 1;
    if (ta == varBoolean && tb == varBoolean)
        return static_cast<int>(a.ToBoolean()) - static_cast<int>(b.ToBoolean());
    if ((IsIntKind(ta) || ta == varBoolean || ta == varEmpty) && (IsIntKind(tb) || tb == varBoolean || tb == varEmpty)) {
        std::int64_t x = a.ToInt64(), y = b.ToInt64();
        return (x > y) - (x < y);
    }
    if (ta == varCurrency && tb == varCurrency) {
        std::int64_t x = a.ToCurrency().Value, y = b.ToCurrency().Value;
        return (x > y) - (x < y);
    }
    // Numbers, dates and numeric strings meet as floating point.
    long double x = ta == varCurrency ? a.ToCurrency().Value / 10000.0L
                    : IsIntKind(ta)   ? static_cast<long double>(a.ToInt64())
                                      : a.ToDouble();
    long double y = tb == varCurrency ? b.ToCurrency().Value / 10000.0L
                    : IsIntKind(tb)   ? static_cast<long double>(b.ToInt64())
                                      : b.ToDouble();
    return (x > y) - (x < y);
}

bool Operable(Word t) { return t == varEmpty || t == varBoolean || IsNumberKind(t) || IsStrKind(t); }

} // namespace

bool operator==(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull())
        return a.IsNull() && b.IsNull();
    if (!Operable(a.VType()) || !Operable(b.VType()))
        InvalidOp();
    return OperatorCompare(a, b) == 0;
}

bool operator<(const Variant& a, const Variant& b)
{
    if (a.IsNull() || b.IsNull())
        return a.IsNull() && !b.IsNull();
    if (!Operable(a.VType()) || !Operable(b.VType()))
        InvalidOp();
    return OperatorCompare(a, b) < 0;
}

namespace {
int Rank(Word t)
{
    if (t & varArray)
        return 5;
    if (t == varEmpty) return 0;
    if (t == varNull) return 1;
    if (t == varBoolean) return 2;
    if (IsNumberKind(t)) return 3;
    if (IsStrKind(t)) return 4;
    return 6;
}

long double NumberValue(const Variant& v)
{
    Word t = v.VType();
    if (t == varCurrency)
        return v.ToCurrency().Value / 10000.0L;
    if (IsIntKind(t))
        return static_cast<long double>(v.ToInt64());
    return v.ToDouble();
}
} // namespace

int Variant::Compare(const Variant& a, const Variant& b)
{
    int ra = Rank(a.type_), rb = Rank(b.type_);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (ra) {
    case 2:
        return static_cast<int>(a.b_) - static_cast<int>(b.b_);
    case 3: {
        long double x = NumberValue(a), y = NumberValue(b);
        bool nx = std::isnan(x), ny = std::isnan(y);
        if (nx || ny)
            return nx == ny ? 0 : (nx ? -1 : 1);   // NaN sorts before every number
        return (x > y) - (x < y);
    }
    case 4: {
        int c = CompareStr(a.s_, b.s_);
        return (c > 0) - (c < 0);
    }
    case 5: {
        int na = static_cast<int>(a.array_->items.size()), nb = static_cast<int>(b.array_->items.size());
        if (na != nb)
            return na < nb ? -1 : 1;
        for (int i = 0; i < na; ++i)
            if (int c = Compare(a.array_->items[i], b.array_->items[i]))
                return c;
        return 0;
    }
    case 6:
        return (a.type_ > b.type_) - (a.type_ < b.type_);
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------------------------
bool VarIsStr(const Variant& v) { return IsStrKind(v.VType()); }
bool VarIsOrdinal(const Variant& v) { return IsIntKind(v.VType()) || v.VType() == varBoolean; }
bool VarIsFloat(const Variant& v) { return IsFloatKind(v.VType()) || v.VType() == varCurrency; }
bool VarIsNumeric(const Variant& v) { return VarIsOrdinal(v) || VarIsFloat(v); }

std::string VarToStr(const Variant& v) { return v.IsNull() ? std::string() : v.ToString(); }
std::u16string VarToWideStr(const Variant& v) { return Utf8ToUtf16(VarToStr(v)); }

} // namespace rtl
