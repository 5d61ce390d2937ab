// The media of cxStorage: registry, INI file and stream readers and writers.
#include <cstdint>
#include <filesystem>
#include <limits>

#include "platform/rtl/Locale.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxLibraryStrs.h"
#include "toolkit/core/cxStorage.h"

namespace cx {

namespace {

bool IsIntegerKind(Word type)
{
    switch (type) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64:
        return true;
    default:
        return false;
    }
}

bool FitsInt32(const Variant& v)
{
    std::int64_t i = v.ToInt64();
    return i >= std::numeric_limits<std::int32_t>::min() && i <= std::numeric_limits<std::int32_t>::max();
}

bool IsStringKind(Word type) { return type == varString || type == varOleStr; }

std::string ReplaceText(std::string text, const std::string& from, const std::string& to, bool ignoreCase)
{
    std::string result;
    std::size_t pos = 0;
    std::string hay = ignoreCase ? UpperCase(text) : text;
    std::string needle = ignoreCase ? UpperCase(from) : from;
    while (true) {
        std::size_t hit = hay.find(needle, pos);
        if (hit == std::string::npos)
            break;
        result += text.substr(pos, hit - pos) + to;
        pos = hit + needle.size();
    }
    return result + text.substr(pos);
}

} // namespace

void TcxCustomReader::SetStream(TStream* stream)
{
    if (stream != stream_)
        DoSetStream(stream);
}

void TcxCustomWriter::SetStream(TStream* stream)
{
    if (stream != stream_)
        DoSetStream(stream);
}

// --- registry -----------------------------------------------------------------------------------
TcxRegistryReader::TcxRegistryReader(const std::string& storageName, TStream* stream)
    : TcxCustomReader(storageName, stream), registry_(std::make_unique<TRegistry>(KEY_READ))
{
    registry_->OpenKeyReadOnly(cxStorageMakeAbsoluteRegistryPath(storageName_));
}

std::string TcxRegistryReader::ObjectKey(const std::string& objectFullName) const
{
    std::vector<std::string> parents;
    std::string name = cxStorageSplitFullName(objectFullName, parents);
    std::string key = cxStorageMakeAbsoluteRegistryPath(storageName_);
    for (const auto& p : parents)
        key += "\\" + p;
    return key + "\\" + name;
}

void TcxRegistryReader::ReadProperties(const std::string& objectFullName, const std::string&, TStrings* properties)
{
    objectKey_ = ObjectKey(objectFullName);
    // A missing key must not leave the previous object's key open: its values and children
    // would be taken for this object's.
    objectOpen_ = registry_->OpenKeyReadOnly(objectKey_);
    if (!objectOpen_) {
        registry_->CloseKey();
        return;
    }
    registry_->GetValueNames(properties);
}

Variant TcxRegistryReader::ReadProperty(const std::string&, const std::string&, const std::string& propertyName)
{
    if (!objectOpen_ || !registry_->ValueExists(propertyName))
        return {};
    switch (registry_->GetDataType(propertyName)) {
    case rdString:
    case rdExpandString: {
        std::string text = registry_->ReadString(propertyName);
        if (cxStorageIsQuotedValue(text))
            return Variant(text.substr(1, text.size() - 2));
        double d;
        if (TryIniTextToFloat(text, d))
            return Variant(d);
        return cxStorageStringToVariant(text);
    }
    case rdInteger:
        return Variant(registry_->ReadInteger(propertyName));
    case rdBinary:
        return Variant(registry_->ReadFloat(propertyName));
    default:
        return {};
    }
}

void TcxRegistryReader::ReadChildren(const std::string&, const std::string&, TStrings* childrenNames,
                                     TStrings* childrenClassNames)
{
    if (!objectOpen_)
        return;
    TStringList keys;
    registry_->GetKeyNames(&keys);
    int classKey = keys.IndexOf("[ClassName]");
    if (classKey >= 0)
        keys.Delete(classKey);
    for (int i = 0; i < keys.Count(); ++i) {
        std::string className;
        if (registry_->OpenKeyReadOnly(objectKey_ + "\\" + keys[i] + "\\[ClassName]"))
            className = registry_->ReadString("ClassName");
        registry_->OpenKeyReadOnly(objectKey_);
        childrenNames->Add(keys[i]);
        childrenClassNames->Add(className);
    }
}

TcxRegistryWriter::TcxRegistryWriter(const std::string& storageName, TStream* stream, bool reCreate)
    : TcxCustomWriter(storageName, stream, reCreate), registry_(std::make_unique<TRegistry>(KEY_ALL_ACCESS))
{
    if (reCreate_ && !storageName_.empty())
        registry_->DeleteKey(StorageKey());
    rootKeyCreated_ = registry_->KeyExists(StorageKey());
}

std::string TcxRegistryWriter::StorageKey() const { return cxStorageMakeAbsoluteRegistryPath(storageName_); }

void TcxRegistryWriter::CheckRootKey()
{
    if (!rootKeyCreated_) {
        if (!registry_->CreateKey(StorageKey()))
            throw ERegistryException(Format(cxGetResourceString(&scxCantCreateRegistryKey), storageName_));
        rootKeyCreated_ = true;
    }
    if (!rootKeyOpened_) {
        if (!registry_->OpenKey(StorageKey(), false))
            throw ERegistryException(Format(cxGetResourceString(&scxCantOpenRegistryKey), storageName_));
        rootKeyOpened_ = true;
    }
}

// The whole store goes to disk here, once.
void TcxRegistryWriter::EndWrite()
{
    registry_->CloseKey();
    rootKeyOpened_ = false;
}

void TcxRegistryWriter::BeginWriteObject(const std::string& objectFullName, const std::string& className)
{
    CheckRootKey();
    std::vector<std::string> parents;
    std::string name = cxStorageSplitFullName(objectFullName, parents);
    bool ok = registry_->OpenKey(name, true);
    std::string objectKey = "\\" + registry_->CurrentPath();
    ok = ok && registry_->OpenKey("[ClassName]", true);
    // Moving between keys keeps the writes in memory: the store is written to disk once, when
    // the writer is done, instead of once per object (which made a large layout's store
    // quadratic in its size).
    if (ok) {
        registry_->WriteString("ClassName", className);
        ok = registry_->OpenKey(objectKey, false);
    }
    if (!ok)
        throw ERegistryException(Format(LoadResString(&scxErrorStoreObject), objectFullName));
}

void TcxRegistryWriter::EndWriteObject(const std::string& objectFullName, const std::string&)
{
    std::vector<std::string> parents;
    cxStorageSplitFullName(objectFullName, parents);
    std::string key = "\\" + StorageKey();   // from the root, wherever the registry stands
    for (const auto& p : parents)
        key += "\\" + p;
    registry_->OpenKey(key, false);
}

void TcxRegistryWriter::WriteProperty(const std::string&, const std::string&, const std::string& propertyName,
                                      const Variant& value)
{
    Word type = value.VType();
    if (IsIntegerKind(type)) {
        if (FitsInt32(value))
            registry_->WriteInteger(propertyName, value.ToInteger());
        else   // kept whole as unquoted text, which reads back as a number
            registry_->WriteString(propertyName, IntToStr(value.ToInt64()));
    } else if (type == varSingle || type == varDouble)
        registry_->WriteFloat(propertyName, value.ToDouble());
    else if (type == varCurrency)
        registry_->WriteCurrency(propertyName, value.ToCurrency());
    else if (type == varDate)
        registry_->WriteDateTime(propertyName, value.ToDate());
    else if (IsStringKind(type))
        registry_->WriteString(propertyName, "\"" + value.ToString() + "\"");
    else if (type == varBoolean)
        registry_->WriteBool(propertyName, value.ToBoolean());
}

// --- INI file -----------------------------------------------------------------------------------
std::string cxIniEncodeString(const std::string& text)
{
    std::string s = ReplaceText(text, "\\n", "\\\\n", true);
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            out += " \\n";
            ++i;
        } else if (s[i] == '\r' || s[i] == '\n')
            out += " \\n";   // a lone CR or LF would end the INI line: it is kept as a line break
        else
            out += s[i];
    }
    return "\"" + out + "\"";
}

std::string cxIniDecodeString(const std::string& text)
{
    return ReplaceText(ReplaceText(text, " \\n", "\r\n", true), "\\\\n", "\\n", true);
}

TcxIniFileWriter::TcxIniFileWriter(const std::string& storageName, TStream* stream, bool reCreate)
    : TcxCustomWriter(storageName, stream, reCreate), iniFile_(std::make_unique<TMemIniFile>(storageName))
{
    if (reCreate_)
        iniFile_->Clear();
    iniFile_->SetCaseSensitive(false);
}

void TcxIniFileWriter::BeginWrite() { iniFile_->WriteInteger("Main", "Version", 1); }

void TcxIniFileWriter::EndWrite() { iniFile_->UpdateFile(); }

void TcxIniFileWriter::BeginWriteObject(const std::string& objectFullName, const std::string& className)
{
    iniFile_->WriteString(objectFullName + ": " + className, "", "");
}

void TcxIniFileWriter::WriteProperty(const std::string& objectFullName, const std::string& className,
                                     const std::string& propertyName, const Variant& value)
{
    std::string section = objectFullName + ": " + className;
    Word type = value.VType();
    if (IsIntegerKind(type)) {
        if (FitsInt32(value))
            iniFile_->WriteInteger(section, propertyName, value.ToInteger());
        else
            iniFile_->WriteInt64(section, propertyName, value.ToInt64());
    } else if (type == varSingle || type == varDouble || type == varCurrency)
        iniFile_->WriteFloat(section, propertyName, value.ToDouble());
    else if (type == varDate)
        iniFile_->WriteDateTime(section, propertyName, value.ToDate());
    else if (IsStringKind(type))
        iniFile_->WriteString(section, propertyName, cxIniEncodeString(value.ToString()));
    else if (type == varBoolean)   // as the storage passes Booleans: their text
        iniFile_->WriteString(section, propertyName, cxIniEncodeString(value.ToBoolean() ? "True" : "False"));
}

TcxIniFileReader::TcxIniFileReader(const std::string& storageName, TStream* stream)
    : TcxCustomReader(storageName, stream), iniFile_(std::make_unique<TMemIniFile>(storageName))
{
}

bool TcxIniFileReader::CanRead() { std::error_code ec;
    return !storageName_.empty() && std::filesystem::is_regular_file(storageName_, ec); }

void TcxIniFileReader::BeginRead() { version_ = iniFile_->ReadInteger("Main", "Version", 0); }

void TcxIniFileReader::ReadProperties(const std::string& objectFullName, const std::string& className,
                                      TStrings* properties)
{
    iniFile_->ReadSection(objectFullName + ": " + className, properties);
}

Variant TcxIniFileReader::ReadProperty(const std::string& objectFullName, const std::string& className,
                                       const std::string& propertyName)
{
    std::string text = iniFile_->ReadString(objectFullName + ": " + className, propertyName, "");
    if (cxStorageIsQuotedValue(text)) {
        std::string inner = text.substr(1, text.size() - 2);
        return Variant(version_ == 1 ? cxIniDecodeString(inner) : inner);
    }
    int i;
    std::int64_t i64;
    double d;
    if (TryStrToInt(text, i))
        return Variant(i);
    if (TryStrToInt64(text, i64))
        return Variant(i64);
    if (TryIniTextToFloat(text, d))
        return Variant(d);
    return cxStorageStringToVariant(text);
}

void TcxIniFileReader::BuildSections()
{
    sectionsBuilt_ = true;
    TStringList sections;
    iniFile_->ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        const std::string s = sections[i];
        std::size_t lastColon = s.rfind(':');
        if (lastColon == std::string::npos)
            continue;   // not an object's section ("Main")
        std::string path, name;
        bool nameEnded = false;
        for (std::size_t k = 0; k < lastColon; ++k) {
            char c = s[k];
            if (nameEnded)
                continue;
            if (c == '/') {
                path += name + "/";
                name.clear();
            } else if (c == ':')
                nameEnded = true;
            else
                name += c;
        }
        paths_.push_back(AnsiUpperCase(path));
        childrenOf_[paths_.back()].push_back(paths_.size() - 1);
        objectNames_.push_back(name);
        classNames_.push_back(Trim(s.substr(lastColon + 1)));
    }
}

void TcxIniFileReader::ReadChildren(const std::string& objectFullName, const std::string&, TStrings* childrenNames,
                                    TStrings* childrenClassNames)
{
    if (!sectionsBuilt_)
        BuildSections();
    std::string wanted = objectFullName.empty() ? std::string() : AnsiUpperCase(objectFullName) + "/";
    auto found = childrenOf_.find(wanted);
    if (found == childrenOf_.end())
        return;
    for (std::size_t i : found->second) {
        childrenNames->Add(objectNames_[i]);
        childrenClassNames->Add(classNames_[i]);
    }
}

// --- stream -------------------------------------------------------------------------------------
namespace {
enum : int {
    tagBoolean = 1, tagByte, tagCurrency, tagDate, tagDouble, tagInteger, tagSingle, tagString,
    tagWideString, tagInt64
};
constexpr int kMaxStreamDepth = 1000;
thread_local int streamDepth = 0;

struct DepthGuard {
    DepthGuard()
    {
        if (++streamDepth > kMaxStreamDepth) {
            --streamDepth;
            throw EReadError("Stream read error");
        }
    }
    ~DepthGuard() { --streamDepth; }
};

int ReadCount(TReader* reader)
{
    int n = reader->ReadInteger();
    if (n < 0)
        throw EReadError("Stream read error");
    return n;
}
} // namespace

bool TcxStreamPropertyData::CanWriteValue(const Variant& value)
{
    Word t = value.VType();
    return t == varBoolean || t == varByte || t == varCurrency || t == varDate || t == varDouble
        || t == varSingle || IsIntegerKind(t) || IsStringKind(t);
}

void TcxStreamPropertyData::Write(TWriter* writer)
{
    Word t = Value.VType();
    if (!CanWriteValue(Value))
        throw EWriteError(Format("Cannot write the value of %s", Name));
    writer->WriteString(Name);
    switch (t) {
    case varBoolean: writer->WriteInteger(tagBoolean); writer->WriteBoolean(Value.ToBoolean()); break;
    case varByte: writer->WriteInteger(tagByte); writer->WriteChar(static_cast<Byte>(Value.ToInteger())); break;
    case varCurrency: writer->WriteInteger(tagCurrency); writer->WriteCurrency(Value.ToCurrency()); break;
    case varDate: writer->WriteInteger(tagDate); writer->WriteDate(Value.ToDate()); break;
    case varDouble: writer->WriteInteger(tagDouble); writer->WriteFloat(Value.ToDouble()); break;
    case varSingle: writer->WriteInteger(tagSingle); writer->WriteSingle(static_cast<float>(Value.ToDouble())); break;
    case varString: writer->WriteInteger(tagString); writer->WriteString(Value.ToString()); break;
    case varOleStr: writer->WriteInteger(tagWideString); writer->WriteWideString(VarToWideStr(Value)); break;
    default:   // the other integer kinds
        if (FitsInt32(Value)) {
            writer->WriteInteger(tagInteger);
            writer->WriteInteger(Value.ToInteger());
        } else {   // kept whole rather than cut to 32 bits
            writer->WriteInteger(tagInt64);
            writer->WriteInt64(Value.ToInt64());
        }
        break;
    }
}

void TcxStreamPropertyData::Read(TReader* reader)
{
    Name = reader->ReadString();
    switch (reader->ReadInteger()) {
    case tagBoolean: Value = Variant(reader->ReadBoolean()); break;
    case tagByte: Value = Variant(static_cast<int>(reader->ReadChar())).AsType(varByte); break;
    case tagCurrency: Value = Variant(reader->ReadCurrency()); break;
    case tagDate: Value = Variant::FromDate(reader->ReadDate()); break;
    case tagDouble: Value = Variant(reader->ReadFloat()); break;
    case tagInteger: Value = Variant(reader->ReadInteger()); break;
    case tagSingle: Value = Variant(static_cast<double>(reader->ReadSingle())); break;
    case tagString: Value = Variant(reader->ReadString()); break;
    case tagWideString: Value = Variant(std::u16string_view(reader->ReadWideString())); break;
    case tagInt64: Value = Variant(reader->ReadInt64()); break;
    default: throw EReadError("Invalid property value");
    }
}

void TcxStreamObjectData::Clear()
{
    properties_.clear();
    children_.clear();
    childIndex_.clear();
}

void TcxStreamObjectData::Write(TWriter* writer)
{
    writer->WriteString(Name);
    writer->WriteString(ClassName_);
    int count = 0;
    for (const auto& p : properties_)
        count += TcxStreamPropertyData::CanWriteValue(p->Value) ? 1 : 0;
    writer->WriteInteger(count);
    for (const auto& p : properties_)
        if (TcxStreamPropertyData::CanWriteValue(p->Value))
            p->Write(writer);
    writer->WriteInteger(GetChildCount());
    for (const auto& c : children_)
        c->Write(writer);
}

void TcxStreamObjectData::Read(TReader* reader)
{
    DepthGuard guard;
    Clear();
    Name = reader->ReadString();
    ClassName_ = reader->ReadString();
    for (int i = ReadCount(reader); i > 0; --i) {
        UniqueObject<TcxStreamPropertyData> p(new TcxStreamPropertyData("", Variant()));
        p->Read(reader);
        AddProperty(p.release());
    }
    for (int i = ReadCount(reader); i > 0; --i) {
        UniqueObject<TcxStreamObjectData> c(new TcxStreamObjectData("", ""));
        c->Read(reader);
        AddChild(c.release());
    }
}

TcxStreamReader::TcxStreamReader(const std::string& storageName, TStream* stream)
    : TcxCustomReader(storageName, nullptr)
{
    DoSetStream(stream);
}

void TcxStreamReader::DoSetStream(TStream* stream)
{
    TcxCustomReader::DoSetStream(stream);
    reader_.reset(stream ? new TReader(stream, cxStreamFilerBufferSize) : nullptr);
}

bool TcxStreamReader::CanRead() { return stream_ && stream_->Size() > 0; }

void TcxStreamReader::BeginRead()
{
    lastObject_ = nullptr;
    lastFullName_.clear();
    root_.reset(new TcxStreamObjectData("", ""));
    if (reader_ && !reader_->EndOfStream())
        root_->Read(reader_.get());
}

TcxStreamObjectData* TcxStreamReader::FindObject(const std::string& fullName)
{
    if (!root_)
        return nullptr;
    if (lastObject_ && fullName == lastFullName_)
        return lastObject_;
    std::vector<std::string> parents;
    std::string name = cxStorageSplitFullName(fullName, parents);
    if (!parents.empty())
        parents.erase(parents.begin());
    parents.push_back(name);
    TcxStreamObjectData* object = root_.get();
    for (const auto& step : parents)
        if (TcxStreamObjectData* child = object->FindChild(step))
            object = child;
    if (object->Name != name)
        return nullptr;
    lastObject_ = object;
    lastFullName_ = fullName;
    return object;
}

void TcxStreamReader::ReadProperties(const std::string& objectFullName, const std::string&, TStrings* properties)
{
    if (TcxStreamObjectData* object = FindObject(objectFullName))
        for (int i = 0; i < object->GetPropertyCount(); ++i)
            properties->Add(object->GetProperties(i)->Name);
}

Variant TcxStreamReader::ReadProperty(const std::string& objectFullName, const std::string&,
                                      const std::string& propertyName)
{
    if (TcxStreamObjectData* object = FindObject(objectFullName))
        for (int i = 0; i < object->GetPropertyCount(); ++i)
            if (object->GetProperties(i)->Name == propertyName)
                return object->GetProperties(i)->Value;
    return {};
}

void TcxStreamReader::ReadChildren(const std::string& objectFullName, const std::string&, TStrings* childrenNames,
                                   TStrings* childrenClassNames)
{
    if (TcxStreamObjectData* object = FindObject(objectFullName))
        for (int i = 0; i < object->GetChildCount(); ++i) {
            childrenNames->Add(object->GetChildren(i)->Name);
            childrenClassNames->Add(object->GetChildren(i)->ClassName_);
        }
}

TcxStreamWriter::TcxStreamWriter(const std::string& storageName, TStream* stream, bool reCreate)
    : TcxCustomWriter(storageName, nullptr, reCreate)
{
    DoSetStream(stream);
}

void TcxStreamWriter::DoSetStream(TStream* stream)
{
    TcxCustomWriter::DoSetStream(stream);
    writer_.reset(stream ? new TWriter(stream, cxStreamFilerBufferSize) : nullptr);
}

void TcxStreamWriter::BeginWriteObject(const std::string& objectFullName, const std::string& className)
{
    std::vector<std::string> parents;
    std::string name = cxStorageSplitFullName(objectFullName, parents);
    if (!root_) {
        current_ = nullptr;
        if (parents.empty()) {
            root_.reset(new TcxStreamObjectData(name, className));
            current_ = root_.get();
        }
        return;
    }
    TcxStreamObjectData* object = root_.get();
    for (std::size_t k = 1; k < parents.size(); ++k)
        for (int i = 0; i < object->GetChildCount(); ++i)
            if (object->GetChildren(i)->Name == parents[k]) {
                object = object->GetChildren(i);
                break;
            }
    current_ = new TcxStreamObjectData(name, className);
    object->AddChild(current_);
}

void TcxStreamWriter::WriteProperty(const std::string&, const std::string&, const std::string& propertyName,
                                    const Variant& value)
{
    if (current_ && TcxStreamPropertyData::CanWriteValue(value))
        current_->AddProperty(new TcxStreamPropertyData(propertyName, value));
}

void TcxStreamWriter::EndWrite()
{
    if (root_ && writer_) {
        root_->Write(writer_.get());
        writer_->FlushBuffer();
    }
    root_.reset();
    current_ = nullptr;
}

} // namespace cx
