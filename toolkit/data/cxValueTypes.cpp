// The value types of cxDataStorage and their registry.
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/data/cxDataStorage.h"

namespace cx {

namespace {

template <class T>
T Load(const void* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class T>
void Store(void* p, T v)
{
    std::memcpy(p, &v, sizeof v);
}
template <class T>
T* LoadPtr(const void* p)
{
    return static_cast<T*>(Load<void*>(p));
}

bool IsUnicodeStream(TStream* stream)
{
    auto* dx = dynamic_cast<TdxStream*>(stream);
    return dx && dx->IsUnicode();
}

template <class T>
int Sign3(T a, T b)
{
    return (a > b) - (a < b);
}

} // namespace

// --- base ------------------------------------------------------------------------------------------
std::string TcxValueType::Caption() const
{
    std::string name = ClassName();
    if (name.rfind("Tcx", 0) == 0)
        name.erase(0, 3);
    std::size_t p = name.find("ValueType");
    if (p != std::string::npos)
        name.erase(p, 9);
    return name;
}

int TcxValueType::Compare(void* p1, void* p2) const { return CompareValues(p1, p2); }

int TcxValueType::CompareValues(void* p1, void* p2) const
{
    Variant v1, v2;
    GetDataValue(p1, v1);
    GetDataValue(p2, v2);
    return VarCompare(v1, v2);
}

void TcxValueType::FreeTextBuffer(void* textSlot) const
{
    delete LoadPtr<std::string>(textSlot);
    Store<void*>(textSlot, nullptr);
}

std::string TcxValueType::GetDisplayText(void* textSlot) const
{
    auto* s = LoadPtr<std::string>(textSlot);
    return s ? *s : std::string();
}

void TcxValueType::SetDisplayText(void* textSlot, const std::string& text) const
{
    auto* s = LoadPtr<std::string>(textSlot);
    if (!s) {
        s = new std::string();
        Store<void*>(textSlot, s);
    }
    *s = text;
}

std::string TcxValueType::GetDefaultDisplayText(void* buffer) const
{
    try {
        Variant v;
        GetDataValue(buffer, v);
        return VarToStr(v);
    } catch (const EVariantError&) {
        return {};
    }
}

Variant TcxValueType::GetValue(void* p) const
{
    Variant v;
    GetDataValue(p, v);
    return v;
}

bool TcxValueType::IsValueValid(Variant& value) const
{
    if (value.IsNull() || GetVarType() == varVariant)
        return true;
    try {
        value = value.AsType(GetVarType());
        return true;
    } catch (const EVariantError&) {
        return false;
    }
}

void TcxValueType::ReadDataValue(void* buffer, TStream* stream) const { SetDataValue(buffer, ReadVariantFunc(stream)); }

void TcxValueType::WriteDataValue(void* buffer, TStream* stream) const
{
    Variant v;
    GetDataValue(buffer, v);
    WriteVariantProc(stream, v);
}

void TcxValueType::ReadDisplayText(void* textSlot, TStream* stream) const
{
    if (IsUnicodeStream(stream))
        SetDisplayText(textSlot, Utf16ToUtf8(ReadWideStringFunc(stream)));
    else
        SetDisplayText(textSlot, dxAnsiStringToString(ReadAnsiStringFunc(stream), 0));
}

void TcxValueType::WriteDisplayText(void* textSlot, TStream* stream) const
{
    if (IsUnicodeStream(stream))
        WriteWideStringProc(stream, Utf8ToUtf16(GetDisplayText(textSlot)));
    else
        WriteAnsiStringProc(stream, dxStringToAnsiString(GetDisplayText(textSlot), 0));
}

// --- String ---------------------------------------------------------------------------------------
// The slot points to a heap string (or is null); Compare and GetValue work on the pointer itself.
int TcxStringValueType::Compare(void* p1, void* p2) const { return CompareValues(Load<void*>(p1), Load<void*>(p2)); }
void TcxStringValueType::PrepareValueBuffer(void*& buffer) const { buffer = Load<void*>(buffer); }
Variant TcxStringValueType::GetValue(void* p) const
{
    Variant v;
    GetDataValue(&p, v);
    return v;
}

void TcxStringValueType::FreeBuffer(void* buffer) const
{
    delete LoadPtr<std::string>(buffer);
    Store<void*>(buffer, nullptr);
}

void TcxStringValueType::GetDataValue(void* buffer, Variant& value) const
{
    auto* s = LoadPtr<std::string>(buffer);
    value = s ? Variant(*s) : Null;
}

void TcxStringValueType::SetDataValue(void* buffer, const Variant& value) const
{
    SetDisplayText(buffer, VarToStr(value));
}

int TcxStringValueType::CompareValues(void* p1, void* p2) const
{
    // Here p1 and p2 are the stored pointers.
    auto* a = static_cast<std::string*>(p1);
    auto* b = static_cast<std::string*>(p2);
    if (!a || !b)
        return (a != nullptr) - (b != nullptr);
    int c = a->compare(*b);
    return (c > 0) - (c < 0);
}

void TcxStringValueType::ReadDataValue(void* buffer, TStream* stream) const
{
    if (IsUnicodeStream(stream))
        SetDataValue(buffer, Variant(Utf16ToUtf8(ReadWideStringFunc(stream))));
    else
        SetDataValue(buffer, Variant(dxAnsiStringToString(ReadAnsiStringFunc(stream), 0)));
}

void TcxStringValueType::WriteDataValue(void* buffer, TStream* stream) const
{
    std::string text = GetDisplayText(buffer);
    if (IsUnicodeStream(stream))
        WriteWideStringProc(stream, Utf8ToUtf16(text));
    else
        WriteAnsiStringProc(stream, dxStringToAnsiString(text, 0));
}

// --- WideString -------------------------------------------------------------------------------------
void TcxWideStringValueType::FreeBuffer(void* buffer) const
{
    delete LoadPtr<std::u16string>(buffer);
    Store<void*>(buffer, nullptr);
}

void TcxWideStringValueType::GetDataValue(void* buffer, Variant& value) const
{
    auto* s = LoadPtr<std::u16string>(buffer);
    value = s ? Variant(std::u16string_view(*s)) : Null;
}

void TcxWideStringValueType::SetDataValue(void* buffer, const Variant& value) const
{
    std::u16string text = VarToWideStr(value);
    auto* s = LoadPtr<std::u16string>(buffer);
    if (!s) {
        s = new std::u16string();
        Store<void*>(buffer, s);
    }
    *s = std::move(text);
}

int TcxWideStringValueType::CompareValues(void* p1, void* p2) const
{
    auto* a = static_cast<std::u16string*>(p1);
    auto* b = static_cast<std::u16string*>(p2);
    if (!a || !b)
        return (a != nullptr) - (b != nullptr);
    int c = a->compare(*b);
    return (c > 0) - (c < 0);
}

void TcxWideStringValueType::ReadDataValue(void* buffer, TStream* stream) const
{
    SetDataValue(buffer, Variant(std::u16string_view(ReadWideStringFunc(stream))));
}

void TcxWideStringValueType::WriteDataValue(void* buffer, TStream* stream) const
{
    Variant v;
    GetDataValue(buffer, v);
    WriteWideStringProc(stream, Utf8ToUtf16(VarToStr(v)));
}

// --- fixed-width numbers ----------------------------------------------------------------------------
void TcxSmallintValueType::GetDataValue(void* b, Variant& v) const { v = Variant::OfType(varSmallint, Variant(int(Load<std::int16_t>(b)))); }
void TcxSmallintValueType::SetDataValue(void* b, const Variant& v) const { Store(b, static_cast<std::int16_t>(v.ToInt64())); }
int TcxSmallintValueType::CompareValues(void* p1, void* p2) const { return Load<std::int16_t>(p1) - Load<std::int16_t>(p2); }
void TcxSmallintValueType::ReadDataValue(void* b, TStream* s) const { SetDataValue(b, Variant(int(ReadSmallIntFunc(s)))); }
void TcxSmallintValueType::WriteDataValue(void* b, TStream* s) const { WriteSmallIntProc(s, Load<std::int16_t>(b)); }

void TcxIntegerValueType::GetDataValue(void* b, Variant& v) const { v = Variant(int(Load<std::int32_t>(b))); }
void TcxIntegerValueType::SetDataValue(void* b, const Variant& v) const { Store(b, static_cast<std::int32_t>(v.ToInt64())); }
int TcxIntegerValueType::CompareValues(void* p1, void* p2) const { return Sign3(Load<std::int32_t>(p1), Load<std::int32_t>(p2)); }
void TcxIntegerValueType::ReadDataValue(void* b, TStream* s) const { SetDataValue(b, Variant(int(ReadIntegerFunc(s)))); }
void TcxIntegerValueType::WriteDataValue(void* b, TStream* s) const { WriteIntegerProc(s, Load<std::int32_t>(b)); }

void TcxWordValueType::GetDataValue(void* b, Variant& v) const { v = Variant::OfType(varWord, Variant(int(Load<Word>(b)))); }
void TcxWordValueType::SetDataValue(void* b, const Variant& v) const { Store(b, static_cast<Word>(v.ToInt64())); }
int TcxWordValueType::CompareValues(void* p1, void* p2) const { return int(Load<Word>(p1)) - int(Load<Word>(p2)); }
void TcxWordValueType::ReadDataValue(void* b, TStream* s) const { SetDataValue(b, Variant(int(ReadWordFunc(s)))); }
void TcxWordValueType::WriteDataValue(void* b, TStream* s) const { WriteWordProc(s, Load<Word>(b)); }

void TcxBooleanValueType::GetDataValue(void* b, Variant& v) const { v = Variant(Load<Byte>(b) != 0); }
void TcxBooleanValueType::SetDataValue(void* b, const Variant& v) const { Store<Byte>(b, v.ToBoolean() ? 1 : 0); }
int TcxBooleanValueType::CompareValues(void* p1, void* p2) const { return int(Load<Byte>(p1)) - int(Load<Byte>(p2)); }
void TcxBooleanValueType::ReadDataValue(void* b, TStream* s) const { SetDataValue(b, Variant(ReadBooleanFunc(s))); }
void TcxBooleanValueType::WriteDataValue(void* b, TStream* s) const { WriteBooleanProc(s, Load<Byte>(b) != 0); }
std::string TcxBooleanValueType::GetDefaultDisplayText(void* b) const { return Load<Byte>(b) != 0 ? "True" : "False"; }

void TcxFloatValueType::GetDataValue(void* b, Variant& v) const { v = Variant(Load<double>(b)); }
void TcxFloatValueType::SetDataValue(void* b, const Variant& v) const { Store(b, v.ToDouble()); }
void TcxFloatValueType::ReadDataValue(void* b, TStream* s) const { Store(b, ReadFloatFunc(s)); }
void TcxFloatValueType::WriteDataValue(void* b, TStream* s) const { WriteFloatProc(s, Load<double>(b)); }
int TcxFloatValueType::CompareValues(void* p1, void* p2) const
{
    double a = Load<double>(p1), b = Load<double>(p2);
    return a == b ? 0 : a >= b ? 1 : -1;
}

void TcxCurrencyValueType::GetDataValue(void* b, Variant& v) const { v = Variant(Currency{Load<std::int64_t>(b)}); }
void TcxCurrencyValueType::SetDataValue(void* b, const Variant& v) const { Store(b, v.ToCurrency().Value); }
void TcxCurrencyValueType::ReadDataValue(void* b, TStream* s) const { Store(b, ReadCurrencyFunc(s).Value); }
void TcxCurrencyValueType::WriteDataValue(void* b, TStream* s) const { WriteCurrencyProc(s, Currency{Load<std::int64_t>(b)}); }
int TcxCurrencyValueType::CompareValues(void* p1, void* p2) const { return Sign3(Load<std::int64_t>(p1), Load<std::int64_t>(p2)); }

void TcxDateTimeValueType::GetDataValue(void* b, Variant& v) const { v = Variant::FromDate(Load<double>(b)); }
void TcxDateTimeValueType::SetDataValue(void* b, const Variant& v) const { Store(b, v.ToDate()); }
void TcxDateTimeValueType::ReadDataValue(void* b, TStream* s) const { Store(b, ReadDateTimeFunc(s)); }
void TcxDateTimeValueType::WriteDataValue(void* b, TStream* s) const { WriteDateTimeProc(s, Load<double>(b)); }
int TcxDateTimeValueType::CompareValues(void* p1, void* p2) const
{
    double a = Load<double>(p1), b = Load<double>(p2);
    return a == b ? 0 : a >= b ? 1 : -1;
}
std::string TcxDateTimeValueType::GetDefaultDisplayText(void* b) const
{
    try {
        return VarToStr(Variant::FromDate(Load<double>(b)));
    } catch (const EVariantError&) {
        return DateTimeToStr(Load<double>(b));
    }
}

void TcxLargeIntValueType::GetDataValue(void* b, Variant& v) const { v = Variant(Load<std::int64_t>(b)); }
void TcxLargeIntValueType::SetDataValue(void* b, const Variant& v) const { Store(b, v.ToInt64()); }
void TcxLargeIntValueType::ReadDataValue(void* b, TStream* s) const { Store(b, ReadLargeIntFunc(s)); }
void TcxLargeIntValueType::WriteDataValue(void* b, TStream* s) const { WriteLargeIntProc(s, Load<std::int64_t>(b)); }
int TcxLargeIntValueType::CompareValues(void* p1, void* p2) const { return Sign3(Load<std::int64_t>(p1), Load<std::int64_t>(p2)); }

// --- FMTBcd -----------------------------------------------------------------------------------------
namespace {

struct BcdNumber {
    bool negative = false;
    std::string intDigits;    // no leading zeros
    std::string fracDigits;   // no trailing zeros
};

BcdNumber ParseDecimal(const std::string& text)
{
    BcdNumber n;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        n.negative = text[i++] == '-';
    bool point = false, any = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            (point ? n.fracDigits : n.intDigits) += c;
            any = true;
        } else if ((c == '.' || c == FormatSettings().DecimalSeparator) && !point) {
            point = true;
        } else {
            throw EVariantTypeCastError("Could not convert variant to BCD");
        }
    }
    if (!any)
        throw EVariantTypeCastError("Could not convert variant to BCD");
    n.intDigits.erase(0, std::min(n.intDigits.find_first_not_of('0'), n.intDigits.size()));
    while (!n.fracDigits.empty() && n.fracDigits.back() == '0')
        n.fracDigits.pop_back();
    if (n.intDigits.empty() && n.fracDigits.empty())
        n.negative = false;
    return n;
}

std::string ExactDecimalText(const Variant& v)
{
    switch (v.VType()) {
    case varString: case varOleStr: return v.ToString();
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord: case varInt64:
        return v.ToString();
    case varCurrency: {
        std::int64_t s = v.ToCurrency().Value;
        std::string t = std::to_string(s < 0 ? -(s / 10000) : s / 10000);
        std::string f = std::to_string(s < 0 ? -(s % 10000) : s % 10000);
        return (s < 0 ? "-" : "") + t + "." + std::string(4 - f.size(), '0') + f;
    }
    default: {
        double d = v.ToDouble();
        char buf[400];
        auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
        return std::string(buf, r.ptr);
    }
    }
}

BcdNumber DecodeBcd(const Byte* p)
{
    BcdNumber n;
    int precision = p[0], places = p[1] & 0x3F;
    n.negative = (p[1] & 0x80) != 0;
    std::string digits;
    for (int i = 0; i < precision && i < 64; ++i)
        digits += char('0' + ((i % 2 == 0) ? p[2 + i / 2] >> 4 : p[2 + i / 2] & 0x0F));
    places = std::min(places, static_cast<int>(digits.size()));
    n.intDigits = digits.substr(0, digits.size() - places);
    n.fracDigits = digits.substr(digits.size() - places);
    n.intDigits.erase(0, std::min(n.intDigits.find_first_not_of('0'), n.intDigits.size()));
    while (!n.fracDigits.empty() && n.fracDigits.back() == '0')
        n.fracDigits.pop_back();
    return n;
}

std::string BcdToText(const BcdNumber& n)
{
    std::string t = (n.negative ? "-" : "") + (n.intDigits.empty() ? std::string("0") : n.intDigits);
    if (!n.fracDigits.empty())
        t += FormatSettings().DecimalSeparator + n.fracDigits;
    return t;
}

int CompareBcd(const BcdNumber& a, const BcdNumber& b)
{
    if (a.negative != b.negative)
        return a.negative ? -1 : 1;
    int sign = a.negative ? -1 : 1;
    if (a.intDigits.size() != b.intDigits.size())
        return a.intDigits.size() < b.intDigits.size() ? -sign : sign;
    if (int c = a.intDigits.compare(b.intDigits))
        return c < 0 ? -sign : sign;
    int c = a.fracDigits.compare(b.fracDigits);
    return c == 0 ? 0 : c < 0 ? -sign : sign;
}

} // namespace

void TcxFMTBcdValueType::SetDataValue(void* buffer, const Variant& value) const
{
    BcdNumber n = ParseDecimal(ExactDecimalText(value));
    std::string digits = n.intDigits + n.fracDigits;
    if (digits.size() > 64)
        throw EVariantError("BCD overflow");
    Byte bcd[34] = {};
    bcd[0] = static_cast<Byte>(digits.size());
    bcd[1] = static_cast<Byte>((n.negative ? 0x80 : 0) | n.fracDigits.size());
    for (std::size_t i = 0; i < digits.size(); ++i)
        bcd[2 + i / 2] |= static_cast<Byte>((digits[i] - '0') << (i % 2 == 0 ? 4 : 0));
    std::memcpy(buffer, bcd, sizeof bcd);
}

void TcxFMTBcdValueType::GetDataValue(void* buffer, Variant& value) const
{
    double d = 0;
    TryStrToFloat(BcdToText(DecodeBcd(static_cast<Byte*>(buffer))), d);
    value = Variant(d);
}

std::string TcxFMTBcdValueType::GetDefaultDisplayText(void* buffer) const { return BcdToText(DecodeBcd(static_cast<Byte*>(buffer))); }

int TcxFMTBcdValueType::CompareValues(void* p1, void* p2) const
{
    return CompareBcd(DecodeBcd(static_cast<Byte*>(p1)), DecodeBcd(static_cast<Byte*>(p2)));
}

bool TcxFMTBcdValueType::IsValueValid(Variant& value) const
{
    if (value.IsNull())
        return true;
    try {
        ParseDecimal(ExactDecimalText(value));
        return true;
    } catch (const EVariantError&) {
        return false;
    }
}

// --- SQLTimeStamp -------------------------------------------------------------------------------------
namespace {
struct TimeStamp {
    std::int16_t year;
    Word month, day, hour, minute, second;
    std::uint32_t fractions;
};
static_assert(sizeof(TimeStamp) == 16);
} // namespace

void TcxSQLTimeStampValueType::SetDataValue(void* buffer, const Variant& value) const
{
    TDateTime dt = value.ToDate();
    int y, mo, d, h, mi, s, ms;
    DecodeDate(dt, y, mo, d);
    DecodeTime(dt, h, mi, s, ms);
    TimeStamp ts{static_cast<std::int16_t>(y), Word(mo), Word(d), Word(h), Word(mi), Word(s), std::uint32_t(ms)};
    std::memcpy(buffer, &ts, sizeof ts);
}

void TcxSQLTimeStampValueType::GetDataValue(void* buffer, Variant& value) const
{
    TimeStamp ts = Load<TimeStamp>(buffer);
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(ts.year, ts.month, ts.day, date)) {
        value = Variant::FromDate(0);
        return;
    }
    TryEncodeTime(ts.hour, ts.minute, ts.second, static_cast<int>(ts.fractions), time);
    value = Variant::FromDate(date >= 0 ? date + time : date - time);
}

int TcxSQLTimeStampValueType::CompareValues(void* p1, void* p2) const
{
    TimeStamp a = Load<TimeStamp>(p1), b = Load<TimeStamp>(p2);
    if (a.year != b.year) return a.year - b.year;
    if (a.month != b.month) return a.month - b.month;
    if (a.day != b.day) return a.day - b.day;
    if (a.hour != b.hour) return a.hour - b.hour;
    if (a.minute != b.minute) return a.minute - b.minute;
    if (a.second != b.second) return a.second - b.second;
    return Sign3(a.fractions, b.fractions);
}

bool TcxSQLTimeStampValueType::IsValueValid(Variant& value) const
{
    if (value.IsNull())
        return true;
    try {
        value.ToDate();
        return true;
    } catch (const EVariantError&) {
        return false;
    }
}

// --- Variant ----------------------------------------------------------------------------------------
int TcxVariantValueType::Compare(void* p1, void* p2) const { return CompareValues(Load<void*>(p1), Load<void*>(p2)); }
void TcxVariantValueType::PrepareValueBuffer(void*& buffer) const { buffer = Load<void*>(buffer); }
Variant TcxVariantValueType::GetValue(void* p) const
{
    Variant v;
    GetDataValue(&p, v);
    return v;
}

void TcxVariantValueType::FreeBuffer(void* buffer) const
{
    delete LoadPtr<Variant>(buffer);
    Store<void*>(buffer, nullptr);
}

void TcxVariantValueType::GetDataValue(void* buffer, Variant& value) const
{
    auto* v = LoadPtr<Variant>(buffer);
    value = v ? *v : Null;
}

void TcxVariantValueType::SetDataValue(void* buffer, const Variant& value) const
{
    auto* v = LoadPtr<Variant>(buffer);
    if (!v) {
        v = new Variant();
        Store<void*>(buffer, v);
    }
    *v = value;
}

int TcxVariantValueType::CompareValues(void* p1, void* p2) const
{
    auto* a = static_cast<Variant*>(p1);
    auto* b = static_cast<Variant*>(p2);
    if (!a || !b)
        return (a != nullptr) - (b != nullptr);
    return VarCompare(*a, *b);
}

// --- Object -------------------------------------------------------------------------------------------
void TcxObjectValueType::FreeBuffer(void* buffer) const
{
    FreeObject(LoadPtr<TObject>(buffer));
    Store<void*>(buffer, nullptr);
}

void TcxObjectValueType::GetDataValue(void* buffer, Variant& value) const
{
    value = Variant(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(Load<void*>(buffer))));
}

void TcxObjectValueType::SetDataValue(void* buffer, const Variant& value) const
{
    Store<void*>(buffer, reinterpret_cast<void*>(static_cast<std::intptr_t>(value.ToInt64())));
}

int TcxObjectValueType::CompareValues(void* p1, void* p2) const
{
    return Sign3(reinterpret_cast<std::uintptr_t>(Load<void*>(p1)), reinterpret_cast<std::uintptr_t>(Load<void*>(p2)));
}

// --- registry -------------------------------------------------------------------------------------------
void TcxValueTypeClassList::RegisterItem(TcxValueTypeClass valueType)
{
    if (std::find(items_.begin(), items_.end(), valueType) == items_.end())
        items_.push_back(valueType);
}

void TcxValueTypeClassList::UnregisterItem(TcxValueTypeClass valueType)
{
    items_.erase(std::remove(items_.begin(), items_.end(), valueType), items_.end());
}

TcxValueTypeClass TcxValueTypeClassList::ItemByCaption(const std::string& caption) const
{
    for (TcxValueTypeClass vt : items_)
        if (vt->Caption() == caption)
            return vt;
    return nullptr;
}

namespace {
TcxValueTypeClassList* valueTypeList = nullptr;
int unitCounter = 0;
} // namespace

TcxValueTypeClassList* cxValueTypeClassList()
{
    if (!valueTypeList)
        valueTypeList = new TcxValueTypeClassList();
    return valueTypeList;
}

bool IsDateTimeValueTypeClass(TcxValueTypeClass valueType)
{
    return valueType == TcxDateTimeValueType::Class() || valueType == TcxSQLTimeStampValueType::Class();
}

namespace cxDataStorageUnit {
namespace {
std::vector<TcxValueTypeClass> RegisteredTypes()
{
    return {TcxStringValueType::Class(), TcxWideStringValueType::Class(), TcxSmallintValueType::Class(),
            TcxIntegerValueType::Class(), TcxWordValueType::Class(), TcxBooleanValueType::Class(),
            TcxFloatValueType::Class(), TcxCurrencyValueType::Class(), TcxDateTimeValueType::Class(),
            TcxLargeIntValueType::Class(), TcxFMTBcdValueType::Class(), TcxSQLTimeStampValueType::Class(),
            TcxVariantValueType::Class(), TcxObjectValueType::Class()};
}
} // namespace

void Initialize()
{
    if (unitCounter++ > 0)
        return;
    for (TcxValueTypeClass vt : RegisteredTypes())
        cxValueTypeClassList()->RegisterItem(vt);
}

void Finalize()
{
    if (unitCounter == 0 || --unitCounter > 0)
        return;
    auto types = RegisteredTypes();
    for (auto it = types.rbegin(); it != types.rend(); ++it)
        cxValueTypeClassList()->UnregisterItem(*it);
    FreeAndNil(valueTypeList);
}
} // namespace cxDataStorageUnit

} // namespace cx
