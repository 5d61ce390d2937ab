#include "platform/rtl/Filer.h"

#include <bit>
#include <cstring>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

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
    WriteString(propPath_ + name);
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
    WriteString(propPath_ + name);
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

// ---------------------------------------------------------------------------------------------
// Components: published properties by name, then the defined ones.

namespace {

bool IsBooleanProp(const TPropInfo& p)
{
    return p.Kind == tkEnumeration && p.EnumNames.size() == 2 && p.EnumNames[0] == "False";
}

bool IsOrdinalProp(const TPropInfo& p)
{
    return p.Kind == tkInteger || p.Kind == tkChar || p.Kind == tkWChar || p.Kind == tkEnumeration ||
           p.Kind == tkSet || p.Kind == tkInt64;
}

[[noreturn]] void InvalidValue(const std::string& name)
{
    throw EReadError(Format("Error reading %s: Invalid property value", name));
}

} // namespace

void TWriter::WritePublished(TPersistent* instance)
{
    for (const TPropInfo* p : GetPropList(instance->ClassType())) {
        if (p->Kind == tkMethod || (p->Stored && !p->Stored(instance)))
            continue;
        if (p->Kind == tkClass) {
            // An owned object's properties go under its name; a reference to a component is not
            // the component's to store.
            TObject* object = p->GetObject ? p->GetObject(instance) : nullptr;
            auto* persistent = dynamic_cast<TPersistent*>(object);
            if (!persistent || dynamic_cast<TComponent*>(object))
                continue;
            const std::string outer = propPath_;
            propPath_ += p->Name + ".";
            try {
                WritePublished(persistent);
                persistent->DefineProperties(this);
            } catch (...) {
                propPath_ = outer;
                throw;
            }
            propPath_ = outer;
            continue;
        }
        if (!p->Get)
            continue;
        const Variant value = p->Get(instance);
        if (IsOrdinalProp(*p) && p->HasDefault && value.ToInt64() == p->Default)
            continue;
        const std::string name = propPath_ + p->Name;
        switch (p->Kind) {
        case tkInteger:
        case tkSet:
            WriteString(name);
            WriteInteger(std::int32_t(value.ToInteger()));
            break;
        case tkInt64:
            WriteString(name);
            WriteInt64(value.ToInt64());
            break;
        case tkChar:
        case tkWChar:
            WriteString(name);
            WriteChar(Byte(value.ToInteger()));
            break;
        case tkEnumeration: {
            WriteString(name);
            if (IsBooleanProp(*p)) {
                WriteBoolean(value.ToBoolean());
                break;
            }
            // By name, so that a stream survives a reordered enumeration.
            const std::int64_t ordinal = value.ToInt64();
            if (ordinal < 0 || ordinal >= std::int64_t(p->EnumNames.size()))
                throw EWriteError(Format("Error writing %s: Invalid property value", name));
            WriteString(p->EnumNames[size_t(ordinal)]);
            break;
        }
        case tkFloat:
            WriteString(name);
            WriteFloat(value.ToDouble());
            break;
        case tkString:
        case tkLString:
        case tkWString: {
            // An empty text is every text property's default, and is not written.
            const std::string text = value.ToString();
            if (text.empty())
                break;
            WriteString(name);
            WriteString(text);
            break;
        }
        default:
            break;   // kinds a component stream does not carry
        }
    }
}

void TWriter::WriteComponent(TComponent* instance)
{
    WriteString(instance->ClassName());
    WriteString(instance->Name());
    propPath_.clear();
    WritePublished(instance);
    instance->DefineProperties(this);
    WriteListEnd();
    FlushBuffer();
}

void TReader::ReadProperty(TPersistent* instance, const std::string& path)
{
    const std::size_t dot = path.find('.');
    if (dot != std::string::npos) {
        const TPropInfo* p = GetPropInfo(instance->ClassType(), path.substr(0, dot));
        auto* inner = p && p->Kind == tkClass && p->GetObject ? dynamic_cast<TPersistent*>(p->GetObject(instance))
                                                              : nullptr;
        if (!inner)
            throw EReadError(Format("Error reading %s.%s: Property %s does not exist", instance->ClassName(), path,
                                    path));
        ReadProperty(inner, path.substr(dot + 1));
        return;
    }
    const TPropInfo* p = GetPropInfo(instance->ClassType(), path);
    if (!p || p->Kind == tkClass || p->Kind == tkMethod || !p->Set) {
        // Not a published value: one of the object's defined properties, or nothing it has.
        propName_ = path;
        instance->DefineProperties(this);
        if (!propName_.empty()) {
            propName_.clear();
            throw EReadError(Format("Error reading %s.%s: Property %s does not exist", instance->ClassName(), path,
                                    path));
        }
        return;
    }
    const std::string name = instance->ClassName() + "." + path;
    Variant value;
    switch (NextValue()) {
    case vaInteger: {
        const std::int32_t v = ReadInteger();
        if (!IsOrdinalProp(*p) || (p->Kind == tkEnumeration) ||
            (p->Kind == tkSet && p->EnumNames.size() < 32 && (std::uint32_t(v) >> p->EnumNames.size()) != 0))
            InvalidValue(name);
        value = Variant(v);
        break;
    }
    case vaInt64:
        if (!IsOrdinalProp(*p) || p->Kind == tkEnumeration)
            InvalidValue(name);
        value = Variant(ReadInt64());
        break;
    case vaChar:
        if (p->Kind != tkChar && p->Kind != tkWChar)
            InvalidValue(name);
        value = Variant(int(ReadChar()));
        break;
    case vaBoolean:
        if (!IsBooleanProp(*p))
            InvalidValue(name);
        value = Variant(ReadBoolean());
        break;
    case vaFloat:
        if (p->Kind != tkFloat)
            InvalidValue(name);
        value = Variant(ReadFloat());
        break;
    case vaString: {
        const std::string text = ReadString();
        if (p->Kind == tkEnumeration && !IsBooleanProp(*p)) {
            std::size_t ordinal = 0;
            while (ordinal < p->EnumNames.size() && !SameText(p->EnumNames[ordinal], text))
                ++ordinal;
            if (ordinal == p->EnumNames.size())
                InvalidValue(name);
            value = Variant(int(ordinal));
        } else if (p->Kind == tkString || p->Kind == tkLString || p->Kind == tkWString) {
            value = Variant(text);
        } else {
            InvalidValue(name);
        }
        break;
    }
    default:
        InvalidValue(name);
    }
    p->Set(instance, value);
}

void TReader::ReadComponent(TComponent* instance)
{
    const std::string className = ReadString();
    if (!instance || !SameText(className, instance->ClassName()))
        throw EReadError(Format("Invalid stream format: %s where %s was expected", className,
                                instance ? instance->ClassName() : std::string("a component")));
    const std::string name = ReadString();
    if (!name.empty() && instance->Name().empty())
        instance->SetName(name);
    while (!EndOfList())
        ReadProperty(instance, ReadString());
    ReadListEnd();
}

void TStream::WriteComponent(TComponent* instance)
{
    TWriter writer(this, 4096);
    writer.WriteComponent(instance);
}

TComponent* TStream::ReadComponent(TComponent* instance)
{
    TReader reader(this, 4096);
    reader.ReadComponent(instance);
    return instance;
}

} // namespace rtl
