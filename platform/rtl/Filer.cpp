#include "platform/rtl/Filer.h"

#include <bit>
#include <cstring>

#include "platform/rtl/Classes.h"

namespace rtl {

namespace {
template <class T>
void ToLE(T value, Byte* out)
{
    std::memcpy(out, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(out, out + sizeof(T));
}
} // namespace

TWriter::TWriter(TStream* stream, int bufSize) : TFiler(stream, bufSize)
{
    if (!stream_)
        throw EWriteError("Stream write error");
    start_ = stream_->Position();
    buffer_.reserve(static_cast<std::size_t>(bufSize_));
}

TWriter::~TWriter()
{
    try {
        FlushBuffer();
    } catch (...) {
        // A destructor cannot report it; callers that care flush first.
    }
}

void TWriter::Put(const void* data, std::size_t count)
{
    const Byte* p = static_cast<const Byte*>(data);
    buffer_.insert(buffer_.end(), p, p + count);
    if (buffer_.size() >= static_cast<std::size_t>(bufSize_))
        FlushBuffer();
}

template <class T>
void TWriter::PutLE(T value)
{
    Byte bytes[sizeof(T)];
    ToLE(value, bytes);
    Put(bytes, sizeof(T));
}

void TWriter::FlushBuffer()
{
    if (buffer_.empty())
        return;
    stream_->WriteBuffer(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
    start_ += static_cast<std::int64_t>(buffer_.size());
    buffer_.clear();
}

std::int64_t TWriter::Position() const { return start_ + static_cast<std::int64_t>(buffer_.size()); }

void TWriter::WriteString(const std::string& value)
{
    Tag(vaString);
    PutLE(static_cast<std::uint32_t>(value.size()));
    Put(value.data(), value.size());
}

void TWriter::WriteWideString(const std::u16string& value)
{
    Tag(vaWString);
    PutLE(static_cast<std::uint32_t>(value.size()));
    for (char16_t c : value)
        PutLE(static_cast<std::uint16_t>(c));
}

void TWriter::WriteInteger(std::int32_t value) { Tag(vaInteger); PutLE(value); }
void TWriter::WriteInt64(std::int64_t value) { Tag(vaInt64); PutLE(value); }
void TWriter::WriteBoolean(bool value) { Tag(vaBoolean); PutLE(static_cast<Byte>(value ? 1 : 0)); }
void TWriter::WriteChar(Byte value) { Tag(vaChar); PutLE(value); }
void TWriter::WriteCurrency(Currency value) { Tag(vaCurrency); PutLE(value.Value); }
void TWriter::WriteDate(TDateTime value) { Tag(vaDate); PutLE(value); }
void TWriter::WriteFloat(double value) { Tag(vaFloat); PutLE(value); }
void TWriter::WriteSingle(float value) { Tag(vaSingle); PutLE(value); }

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    WriteString(name);
    writeData(this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&, const TStreamProc& writeData,
                                   bool hasData)
{
    if (!hasData || !writeData)
        return;
    TMemoryStream data;
    writeData(&data);
    if (data.Size() > INT32_MAX)
        throw EWriteError("Stream write error");
    WriteString(name);
    Tag(vaBinary);
    PutLE(static_cast<std::uint32_t>(data.Size()));
    Put(data.Bytes().data(), data.Bytes().size());
}

void TWriter::WriteProperties(TPersistent* instance)
{
    if (instance)
        instance->DefineProperties(this);
    WriteListEnd();
}

// ---------------------------------------------------------------------------------------------
TValueType TReader::NextValue()
{
    Byte tag = ReadLE<Byte>(stream_);
    stream_->Seek(-1, soCurrent);
    return static_cast<TValueType>(tag);
}

void TReader::Expect(TValueType type)
{
    if (ReadLE<Byte>(stream_) != type)
        throw EReadError("Invalid property value");
}

std::uint32_t TReader::ReadLength(std::size_t unitSize)
{
    auto n = ReadLE<std::uint32_t>(stream_);
    std::int64_t left = stream_->Size() - stream_->Position();
    if (static_cast<std::int64_t>(n) * static_cast<std::int64_t>(unitSize) > left)
        throw EReadError("Stream read error");
    return n;
}

std::string TReader::ReadString()
{
    Expect(vaString);
    std::string s(ReadLength(1), '\0');
    if (!s.empty())
        stream_->ReadBuffer(s.data(), static_cast<std::int64_t>(s.size()));
    return s;
}

std::u16string TReader::ReadWideString()
{
    Expect(vaWString);
    std::u16string s(ReadLength(2), u'\0');
    for (auto& c : s)
        c = static_cast<char16_t>(ReadLE<std::uint16_t>(stream_));
    return s;
}

std::int32_t TReader::ReadInteger() { Expect(vaInteger); return ReadLE<std::int32_t>(stream_); }
std::int64_t TReader::ReadInt64() { Expect(vaInt64); return ReadLE<std::int64_t>(stream_); }
bool TReader::ReadBoolean() { Expect(vaBoolean); return ReadLE<Byte>(stream_) != 0; }
Byte TReader::ReadChar() { Expect(vaChar); return ReadLE<Byte>(stream_); }
Currency TReader::ReadCurrency() { Expect(vaCurrency); return Currency::FromScaled(ReadLE<std::int64_t>(stream_)); }
TDateTime TReader::ReadDate() { Expect(vaDate); return ReadLE<double>(stream_); }
double TReader::ReadFloat() { Expect(vaFloat); return ReadLE<double>(stream_); }
float TReader::ReadSingle() { Expect(vaSingle); return ReadLE<float>(stream_); }

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc&, bool)
{
    if (propName_.empty() || !readData || !SameText(name, propName_))
        return;
    propName_.clear();
    readData(this);
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&, bool)
{
    if (propName_.empty() || !readData || !SameText(name, propName_))
        return;
    propName_.clear();
    Expect(vaBinary);
    std::vector<Byte> bytes(ReadLength(1));
    if (!bytes.empty())
        stream_->ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    TMemoryStream data(std::move(bytes));
    readData(&data);
}

void TReader::ReadProperties(TPersistent* instance)
{
    while (!EndOfList()) {
        std::string name = ReadString();
        propName_ = name;
        if (instance)
            instance->DefineProperties(this);
        if (!propName_.empty()) {
            propName_.clear();
            throw EReadError(Format("Property %s does not exist", name));
        }
    }
    ReadListEnd();
}

} // namespace rtl
