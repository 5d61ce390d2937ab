#pragma once
// cxVariants: the value rules of the data layer (one total order over variants, the equality
// tests built on it, the between and list arrays of filter conditions) and the typed binary
// stream: fixed-width readers and writers, the self-describing variant form, TcxReader/TcxWriter.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/rtl/Variant.h"
#include "toolkit/core/dxCore.h"

namespace cx {

// The kinds of the SQL time-stamp and BCD variants. The run-time Variant has neither, so no value
// carries these codes; they exist so that the tests that name them read as designed.
Word VarSQLTimeStamp();
Word VarFMTBcd();

// Total order: Empty before Null before every other value; negative, 0 or positive.
int VarCompare(const Variant& v1, const Variant& v2);
bool VarEquals(const Variant& v1, const Variant& v2);
// Equality in which Booleans compare by their text.
bool VarEqualsExact(const Variant& v1, const Variant& v2);
bool VarEqualsSoft(const Variant& v1, const Variant& v2);
int VarIndex(const std::vector<Variant>& values, const Variant& v);
bool VarIsDate(const Variant& v);
bool VarIsNumericEx(const Variant& v);
// Null, or a string whose value is the empty string.
bool VarIsSoftNull(const Variant& v);
std::string VarToStrEx(const Variant& v);
bool VarTypeIsCurrency(Word varType);

// Between array: bounds 0..1 of Variant, [value1, value2] as given.
void VarBetweenArrayCreate(Variant& result, const Variant& value1, const Variant& value2);
// List array: bounds 0..n-1 of Variant.
void VarListArrayCreate(Variant& result, const Variant& value);
void VarListArrayAddValue(Variant& list, const Variant& value);

// --- fixed-width values, little-endian ------------------------------------------------------------
#define CX_STREAM_PROCS(Name, Type)                                                               \
    void Read##Name##Proc(TStream* stream, Type& value);                                          \
    Type Read##Name##Func(TStream* stream);                                                       \
    void Write##Name##Proc(TStream* stream, Type value);

CX_STREAM_PROCS(Boolean, bool)
CX_STREAM_PROCS(Char, char)
CX_STREAM_PROCS(Byte, Byte)
CX_STREAM_PROCS(ShortInt, std::int8_t)
CX_STREAM_PROCS(SmallInt, std::int16_t)
CX_STREAM_PROCS(Word, Word)
CX_STREAM_PROCS(Integer, std::int32_t)
CX_STREAM_PROCS(Cardinal, std::uint32_t)
CX_STREAM_PROCS(LargeInt, std::int64_t)
CX_STREAM_PROCS(Single, float)
CX_STREAM_PROCS(Float, double)        // 10-byte extended on the stream
CX_STREAM_PROCS(Currency, Currency)
CX_STREAM_PROCS(DateTime, TDateTime)
#undef CX_STREAM_PROCS

// Counted strings: an Integer count (bytes, or UTF-16 units), then the data. A count that is
// negative or larger than what the stream still holds raises EReadError before any allocation.
void ReadAnsiStringProc(TStream* stream, std::string& value);
std::string ReadAnsiStringFunc(TStream* stream);
void WriteAnsiStringProc(TStream* stream, const std::string& value);
void ReadWideStringProc(TStream* stream, std::u16string& value);
std::u16string ReadWideStringFunc(TStream* stream);
void WriteWideStringProc(TStream* stream, const std::u16string& value);

// Variant: a tag byte and a payload sized to the value. EReadError for an unknown tag,
// EWriteError for a value that has no stream form.
void ReadVariantProc(TStream* stream, Variant& value);
Variant ReadVariantFunc(TStream* stream);
void WriteVariantProc(TStream* stream, const Variant& value);

class TcxFiler : public TObject {
    RTL_CLASS(TcxFiler, TObject)
    // Takes a stream-type signature at the stream's position, if one is there.
    explicit TcxFiler(TStream* stream);
    TStream* Stream() const { return stream_; }
    bool IsUnicode() const { return isUnicode_; }

protected:
    bool isUnicode_;
    TStream* stream_;
};

class TcxReader : public TcxFiler {
    RTL_CLASS(TcxReader, TcxFiler)
    using TcxFiler::TcxFiler;
    std::string ReadAnsiString() { return ReadAnsiStringFunc(stream_); }
    bool ReadBoolean() { return ReadBooleanFunc(stream_); }
    Byte ReadByte() { return ReadByteFunc(stream_); }
    std::uint32_t ReadCardinal() { return ReadCardinalFunc(stream_); }
    char ReadChar() { return ReadCharFunc(stream_); }
    Currency ReadCurrency() { return ReadCurrencyFunc(stream_); }
    TDateTime ReadDateTime() { return ReadDateTimeFunc(stream_); }
    double ReadFloat() { return ReadFloatFunc(stream_); }
    std::int32_t ReadInteger() { return ReadIntegerFunc(stream_); }
    std::int64_t ReadLargeInt() { return ReadLargeIntFunc(stream_); }
    std::int8_t ReadShortInt() { return ReadShortIntFunc(stream_); }
    float ReadSingle() { return ReadSingleFunc(stream_); }
    std::int16_t ReadSmallInt() { return ReadSmallIntFunc(stream_); }
    Variant ReadVariant() { return ReadVariantFunc(stream_); }
    std::u16string ReadWideString() { return ReadWideStringFunc(stream_); }
    Word ReadWord() { return ReadWordFunc(stream_); }
    // A 2-byte length, then UTF-16 units on a Unicode stream, else bytes.
    std::string ReadString_() { return dxReadStr(stream_, isUnicode_); }
};

class TcxWriter : public TcxFiler {
    RTL_CLASS(TcxWriter, TcxFiler)
    using TcxFiler::TcxFiler;
    void WriteAnsiString(const std::string& v) { WriteAnsiStringProc(stream_, v); }
    void WriteBoolean(bool v) { WriteBooleanProc(stream_, v); }
    void WriteByte(Byte v) { WriteByteProc(stream_, v); }
    void WriteCardinal(std::uint32_t v) { WriteCardinalProc(stream_, v); }
    void WriteChar(char v) { WriteCharProc(stream_, v); }
    void WriteCurrency(Currency v) { WriteCurrencyProc(stream_, v); }
    void WriteDateTime(TDateTime v) { WriteDateTimeProc(stream_, v); }
    void WriteFloat(double v) { WriteFloatProc(stream_, v); }
    void WriteInteger(std::int32_t v) { WriteIntegerProc(stream_, v); }
    void WriteLargeInt(std::int64_t v) { WriteLargeIntProc(stream_, v); }
    void WriteShortInt(std::int8_t v) { WriteShortIntProc(stream_, v); }
    void WriteSingle(float v) { WriteSingleProc(stream_, v); }
    void WriteSmallInt(std::int16_t v) { WriteSmallIntProc(stream_, v); }
    void WriteVariant(const Variant& v) { WriteVariantProc(stream_, v); }
    void WriteWideString(const std::u16string& v) { WriteWideStringProc(stream_, v); }
    void WriteWord(Word v) { WriteWordProc(stream_, v); }
};

} // namespace cx
