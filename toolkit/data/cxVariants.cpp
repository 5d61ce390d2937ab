#include "toolkit/data/cxVariants.h"

#include "toolkit/data/cxDataConsts.h"

namespace cx {

// Codes above the run-time kinds that no Variant is ever given.
Word VarSQLTimeStamp() { return 0x0FF0; }
Word VarFMTBcd() { return 0x0FF1; }

namespace {

Word BaseKind(const Variant& v) { return static_cast<Word>(v.VType() & varTypeMask); }

int CompareScalarVariants(const Variant& v1, const Variant& v2)
{
    if (v1.IsEmpty() && v2.IsEmpty())
        return 0;
    if (v1.IsEmpty())
        return -1;
    if (v2.IsEmpty())
        return 1;
    try {
        if (v1 == v2)
            return 0;
        if (v1.IsNull())
            return -1;
        if (v2.IsNull())
            return 1;
        return v1 < v2 ? -1 : 1;
    } catch (const EVariantError&) {
        // Kinds the variant operators cannot relate (a number and a non-numeric text) are ordered
        // by their kind codes, so that the two orders of a pair disagree and sorting stays sound.
        Word k1 = v1.VType(), k2 = v2.VType();
        return (k1 > k2) - (k1 < k2);
    }
}

int CompareVarArrays(const Variant& a1, const Variant& a2)
{
    if (a1.IsArray() && a2.IsArray()) {
        int h1 = a1.HighBound(), h2 = a2.HighBound();
        if (h1 != h2)
            return h1 - h2;
        for (int i = 0; i <= h1; ++i)
            if (int c = VarCompare(a1[a1.LowBound() + i], a2[a2.LowBound() + i]))
                return c;
        return 0;
    }
    return a1.IsArray() ? 1 : -1;
}

} // namespace

int VarCompare(const Variant& v1, const Variant& v2)
{
    if (v1.VType() == varString && v2.VType() == varString)
        return CompareStr(v1.ToString(), v2.ToString());
    if (v1.VType() == varDate && v2.VType() == varDate)
        return CompareScalarVariants(Variant(v1.ToDouble()), Variant(v2.ToDouble()));
    if (v1.IsArray() || v2.IsArray())
        return CompareVarArrays(v1, v2);
    return CompareScalarVariants(v1, v2);
}

bool VarEquals(const Variant& v1, const Variant& v2) { return VarCompare(v1, v2) == 0; }

bool VarEqualsExact(const Variant& v1, const Variant& v2)
{
    if (v1.IsNull() || v2.IsNull() || (v1.VType() != varBoolean && v2.VType() != varBoolean))
        return VarEquals(v1, v2);
    try {
        return v1.AsType(varString) == v2.AsType(varString);
    } catch (const EVariantError&) {
        return false;
    }
}

bool VarEqualsSoft(const Variant& v1, const Variant& v2)
{
    return VarEquals(v1, v2) || (VarIsSoftNull(v1) && VarIsSoftNull(v2));
}

int VarIndex(const std::vector<Variant>& values, const Variant& v)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        if (VarEquals(values[i], v))
            return static_cast<int>(i);
    return -1;
}

bool VarIsDate(const Variant& v) { return v.VType() == varDate || v.VType() == VarSQLTimeStamp(); }
bool VarIsNumericEx(const Variant& v) { return VarIsNumeric(v) || v.VType() == VarFMTBcd(); }

bool VarIsSoftNull(const Variant& v)
{
    return v.IsNull() || (VarIsStr(v) && v.ToString().empty());
}

std::string VarToStrEx(const Variant& v) { return VarToStr(v); }
bool VarTypeIsCurrency(Word varType) { return varType == varCurrency || varType == VarFMTBcd(); }

void VarBetweenArrayCreate(Variant& result, const Variant& value1, const Variant& value2)
{
    result = VarArrayCreate(0, 1, varVariant);
    result[0] = value1;
    result[1] = value2;
}

void VarListArrayCreate(Variant& result, const Variant& value)
{
    result = VarArrayCreate(0, 0, varVariant);
    result[0] = value;
}

void VarListArrayAddValue(Variant& list, const Variant& value)
{
    int low = list.LowBound(), high = list.HighBound();
    Variant grown = VarArrayCreate(0, high - low + 1, varVariant);
    for (int i = low; i <= high; ++i)
        grown[i - low] = list[i];
    grown[high - low + 1] = value;
    list = std::move(grown);
}

// --- fixed-width values ----------------------------------------------------------------------------
#define CX_LE_PROCS(Name, Type)                                                                   \
    void Read##Name##Proc(TStream* stream, Type& value) { value = ReadLE<Type>(stream); }         \
    Type Read##Name##Func(TStream* stream) { return ReadLE<Type>(stream); }                       \
    void Write##Name##Proc(TStream* stream, Type value) { WriteLE<Type>(stream, value); }

CX_LE_PROCS(Byte, Byte)
CX_LE_PROCS(ShortInt, std::int8_t)
CX_LE_PROCS(SmallInt, std::int16_t)
CX_LE_PROCS(Word, Word)
CX_LE_PROCS(Integer, std::int32_t)
CX_LE_PROCS(Cardinal, std::uint32_t)
CX_LE_PROCS(LargeInt, std::int64_t)
CX_LE_PROCS(Single, float)
CX_LE_PROCS(DateTime, TDateTime)
#undef CX_LE_PROCS

void ReadBooleanProc(TStream* stream, bool& value) { value = ReadLE<Byte>(stream) != 0; }
bool ReadBooleanFunc(TStream* stream) { return ReadLE<Byte>(stream) != 0; }
void WriteBooleanProc(TStream* stream, bool value) { WriteLE<Byte>(stream, value ? 1 : 0); }
void ReadCharProc(TStream* stream, char& value) { value = static_cast<char>(ReadLE<Byte>(stream)); }
char ReadCharFunc(TStream* stream) { return static_cast<char>(ReadLE<Byte>(stream)); }
void WriteCharProc(TStream* stream, char value) { WriteLE<Byte>(stream, static_cast<Byte>(value)); }
void ReadFloatProc(TStream* stream, double& value) { value = ReadExtended(stream); }
double ReadFloatFunc(TStream* stream) { return ReadExtended(stream); }
void WriteFloatProc(TStream* stream, double value) { WriteExtended(stream, value); }
void ReadCurrencyProc(TStream* stream, Currency& value) { value = Currency{ReadLE<std::int64_t>(stream)}; }
Currency ReadCurrencyFunc(TStream* stream) { return Currency{ReadLE<std::int64_t>(stream)}; }
void WriteCurrencyProc(TStream* stream, Currency value) { WriteLE<std::int64_t>(stream, value.Value); }

// --- counted strings ---------------------------------------------------------------------------------
namespace {
// A stored count must fit what is left, so that a damaged count cannot ask for gigabytes.
void CheckCount(TStream* stream, std::int64_t count, int unitSize)
{
    if (count < 0 || count * unitSize > stream->Size() - stream->Position())
        throw EReadError(LoadResString(&cxSDataReadError));
}
} // namespace

void ReadAnsiStringProc(TStream* stream, std::string& value)
{
    std::int32_t n = ReadLE<std::int32_t>(stream);
    CheckCount(stream, n, 1);
    std::string s(static_cast<std::size_t>(n), '\0');
    stream->ReadBuffer(s.data(), n);
    value = std::move(s);
}

std::string ReadAnsiStringFunc(TStream* stream)
{
    std::string s;
    ReadAnsiStringProc(stream, s);
    return s;
}

void WriteAnsiStringProc(TStream* stream, const std::string& value)
{
    WriteLE<std::int32_t>(stream, static_cast<std::int32_t>(value.size()));
    stream->WriteBuffer(value.data(), static_cast<std::int64_t>(value.size()));
}

void ReadWideStringProc(TStream* stream, std::u16string& value)
{
    std::int32_t n = ReadLE<std::int32_t>(stream);
    CheckCount(stream, n, 2);
    std::u16string s(static_cast<std::size_t>(n), u'\0');
    for (auto& c : s)
        c = ReadLE<char16_t>(stream);
    value = std::move(s);
}

std::u16string ReadWideStringFunc(TStream* stream)
{
    std::u16string s;
    ReadWideStringProc(stream, s);
    return s;
}

void WriteWideStringProc(TStream* stream, const std::u16string& value)
{
    WriteLE<std::int32_t>(stream, static_cast<std::int32_t>(value.size()));
    for (char16_t c : value)
        WriteLE<char16_t>(stream, c);
}

// --- variants ------------------------------------------------------------------------------------------
namespace {

enum : Byte {
    tagNull = 0, tagArray = 1, tagInt8 = 2, tagInt16 = 3, tagInt32 = 4, tagDouble = 5, tagShortString = 6,
    tagFalse = 8, tagTrue = 9, tagLongString = 12, tagEmpty = 13, tagSingle = 15, tagCurrency = 16,
    tagDate = 17, tagOleStr = 18, tagInt64 = 19,
};

void WriteIntegerRule(TStream* stream, std::int64_t v)
{
    if (v >= -128 && v <= 127) {
        WriteLE<Byte>(stream, tagInt8);
        WriteLE<std::int8_t>(stream, static_cast<std::int8_t>(v));
    } else if (v >= -32768 && v <= 32767) {
        WriteLE<Byte>(stream, tagInt16);
        WriteLE<std::int16_t>(stream, static_cast<std::int16_t>(v));
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
        WriteLE<Byte>(stream, tagInt32);
        WriteLE<std::int32_t>(stream, static_cast<std::int32_t>(v));
    } else {
        WriteLE<Byte>(stream, tagInt64);
        WriteLE<std::int64_t>(stream, v);
    }
}

void WriteStringRule(TStream* stream, const std::string& s)
{
    if (s.size() > 255) {
        WriteLE<Byte>(stream, tagLongString);
        WriteLE<std::int32_t>(stream, static_cast<std::int32_t>(s.size()));
    } else {
        WriteLE<Byte>(stream, tagShortString);
        WriteLE<Byte>(stream, static_cast<Byte>(s.size()));
    }
    stream->WriteBuffer(s.data(), static_cast<std::int64_t>(s.size()));
}

[[noreturn]] void WriteFailure() { throw EWriteError(LoadResString(&cxSDataWriteError)); }

std::int64_t ReadIntegerByTag(TStream* stream, Byte tag)
{
    switch (tag) {
    case tagInt8: return ReadLE<std::int8_t>(stream);
    case tagInt16: return ReadLE<std::int16_t>(stream);
    case tagInt32: return ReadLE<std::int32_t>(stream);
    default: return ReadLE<std::int64_t>(stream);
    }
}

std::string ReadBytes(TStream* stream, std::int64_t n)
{
    CheckCount(stream, n, 1);
    std::string s(static_cast<std::size_t>(n), '\0');
    stream->ReadBuffer(s.data(), n);
    return s;
}

} // namespace

void WriteVariantProc(TStream* stream, const Variant& value)
{
    if (value.IsArray()) {
        if (value.DimCount() != 1)
            WriteFailure();
        WriteLE<Byte>(stream, tagArray);
        WriteIntegerRule(stream, static_cast<std::int64_t>(value.HighBound()) - value.LowBound() + 1);
        for (int i = value.LowBound(); i <= value.HighBound(); ++i)
            WriteVariantProc(stream, value[i]);
        return;
    }
    Word kind = BaseKind(value);
    switch (kind) {
    case varEmpty: WriteLE<Byte>(stream, tagEmpty); return;
    case varNull: WriteLE<Byte>(stream, tagNull); return;
    case varBoolean: WriteLE<Byte>(stream, value.ToBoolean() ? tagTrue : tagFalse); return;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64:
        WriteIntegerRule(stream, value.ToInt64());
        return;
    case varSingle:
        WriteLE<Byte>(stream, tagSingle);
        WriteLE<float>(stream, static_cast<float>(value.ToDouble()));
        return;
    case varDouble:
        WriteLE<Byte>(stream, tagDouble);
        WriteExtended(stream, value.ToDouble());
        return;
    case varCurrency:
        WriteLE<Byte>(stream, tagCurrency);
        WriteLE<std::int64_t>(stream, value.ToCurrency().Value);
        return;
    case varDate:
        WriteLE<Byte>(stream, tagDate);
        WriteLE<double>(stream, value.ToDouble());
        return;
    case varOleStr:
        WriteLE<Byte>(stream, tagOleStr);
        WriteWideStringProc(stream, VarToWideStr(value));
        return;
    case varString:
        WriteStringRule(stream, dxVariantToAnsiString(value));
        return;
    default: {
        std::string text;
        try {
            text = dxVariantToAnsiString(value);
        } catch (...) {
            WriteFailure();
        }
        WriteStringRule(stream, text);
    }
    }
}

namespace {
// No filter value nests arrays this deep; a stream that does is damaged (and would exhaust the
// stack while reading or comparing).
constexpr int kMaxVariantNesting = 64;
struct VariantReadBudget {
    std::int64_t Elements;
    int Depth = 0;
};

void ReadVariant(TStream* stream, Variant& value, VariantReadBudget& budget)
{
    Byte tag = ReadLE<Byte>(stream);
    switch (tag) {
    case tagArray: {
        Byte countTag = ReadLE<Byte>(stream);
        std::int64_t count = ReadIntegerByTag(stream, countTag);
        // Every element takes at least its tag byte, nested ones included: all arrays of one
        // value together cannot hold more elements than the bytes that were left.
        if (count < 0 || count > budget.Elements || budget.Depth >= kMaxVariantNesting)
            throw EReadError(LoadResString(&cxSDataReadError));
        budget.Elements -= count;
        ++budget.Depth;
        Variant array = VarArrayCreate(0, static_cast<int>(count) - 1, varVariant);
        for (int i = 0; i < count; ++i)
            ReadVariant(stream, array[i], budget);
        --budget.Depth;
        value = std::move(array);
        return;
    }
    case tagInt8: value = Variant::OfType(varShortInt, Variant(static_cast<int>(ReadLE<std::int8_t>(stream)))); return;
    case tagInt16: value = Variant::OfType(varSmallint, Variant(static_cast<int>(ReadLE<std::int16_t>(stream)))); return;
    case tagInt32: value = Variant(static_cast<int>(ReadLE<std::int32_t>(stream))); return;
    case tagInt64: value = Variant(ReadLE<std::int64_t>(stream)); return;
    case tagDouble: value = Variant(ReadExtended(stream)); return;
    case tagSingle: value = Variant::OfType(varSingle, Variant(static_cast<double>(ReadLE<float>(stream)))); return;
    case tagCurrency: value = Variant(ReadCurrencyFunc(stream)); return;
    case tagDate: value = Variant::FromDate(ReadDateTimeFunc(stream)); return;
    case tagShortString: value = Variant(ReadBytes(stream, ReadLE<Byte>(stream))); return;
    case tagLongString: value = Variant(ReadBytes(stream, ReadLE<std::int32_t>(stream))); return;
    case tagOleStr: value = Variant(std::u16string_view(ReadWideStringFunc(stream))); return;
    case tagFalse: value = Variant(false); return;
    case tagTrue: value = Variant(true); return;
    case tagNull: value = Null; return;
    case tagEmpty: value = Unassigned; return;
    default: throw EReadError(LoadResString(&cxSDataReadError));
    }
}

} // namespace

void ReadVariantProc(TStream* stream, Variant& value)
{
    VariantReadBudget budget{stream->Size() - stream->Position()};
    ReadVariant(stream, value, budget);
}

Variant ReadVariantFunc(TStream* stream)
{
    Variant v;
    ReadVariantProc(stream, v);
    return v;
}

TcxFiler::TcxFiler(TStream* stream) : isUnicode_(false), stream_(stream) { isUnicode_ = dxIsUnicodeStream(stream); }

} // namespace cx
