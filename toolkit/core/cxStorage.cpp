#include "toolkit/core/cxStorage.h"

#include <deque>
#include <unordered_map>
#include <vector>

#include <algorithm>
#include <cstring>

#include "platform/rtl/Locale.h"

namespace cx {

// --- text conversions ---------------------------------------------------------------------------
std::string StringToHexString(const std::string& text) { return dxBinToHex(text); }

std::string HexStringToString(const std::string& text) { return dxHexToBin(text); }

std::string StreamToString(TStream* stream)
{
    if (!stream || stream->Size() == 0)
        return {};
    stream->SetPosition(0);
    std::string bytes;
    ReadStringFromStream(stream, bytes);
    return "Hex:" + StringToHexString(bytes);
}

void StringToStream(const std::string& text, TStream* stream)
{
    if (!stream || text.size() <= 5)
        return;
    std::string bytes = HexStringToString(text.substr(4));
    if (!bytes.empty())
        stream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

bool StringToBoolean(const std::string& text)
{
    std::string up = UpperCase(text);
    if (up == "TRUE")
        return true;
    if (up == "FALSE")
        return false;
    throw EPropertyConvertError("");
}

std::string EnumerationToString(int value, const std::vector<std::string>& names)
{
    if (value < 0 || value >= static_cast<int>(names.size()))
        throw EPropertyConvertError("");
    return names[static_cast<std::size_t>(value)];
}

int StringToEnumeration(const std::string& text, const std::vector<std::string>& names)
{
    std::string up = AnsiUpperCase(text);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (AnsiUpperCase(names[i]) == up)
            return static_cast<int>(i);
    throw EPropertyConvertError("");
}

std::string SetToString(const void* set, int size, const std::vector<std::string>& names)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, set, static_cast<std::size_t>(std::clamp(size, 0, 4)));
    if (size >= 1 && size <= 3)
        bits &= (std::uint32_t(1) << (8 * size)) - 1;
    std::string result;
    for (int i = 0; i < 32; ++i) {
        if (!(bits & (std::uint32_t(1) << i)))
            continue;
        if (i >= static_cast<int>(names.size()))
            throw EPropertyConvertError("");
        result += (result.empty() ? "" : ",") + names[static_cast<std::size_t>(i)];
    }
    return "[" + result + "]";
}

void StringToSet(const std::string& text, void* set, int size, const std::vector<std::string>& names)
{
    if (text.size() < 2 || text.front() != '[' || text.back() != ']')
        throw EPropertyConvertError("");
    std::string inner = text.substr(1, text.size() - 2);
    std::uint32_t bits = 0;
    std::size_t pos = 0;
    while (pos <= inner.size()) {
        std::size_t end = inner.find(',', pos);
        bool last = end == std::string::npos;
        if (last)
            end = inner.size();
        std::string piece = AnsiUpperCase(inner.substr(pos, end - pos));
        if (!(last && piece.empty()))
            for (std::size_t i = 0; i < names.size() && i < 32; ++i)
                if (AnsiUpperCase(names[i]) == piece) {
                    bits |= std::uint32_t(1) << i;
                    break;
                }
        pos = end + 1;
    }
    std::memcpy(set, &bits, static_cast<std::size_t>(std::clamp(size, 0, 4)));
}

std::string cxStorageMakeAbsoluteRegistryPath(const std::string& path)
{
    return !path.empty() && path[0] != '\\' ? "\\" + path : path;
}

std::string cxStorageSplitFullName(const std::string& fullName, std::vector<std::string>& parents)
{
    parents.clear();
    std::size_t pos = 0, slash;
    while ((slash = fullName.find('/', pos)) != std::string::npos) {
        parents.push_back(fullName.substr(pos, slash - pos));
        pos = slash + 1;
    }
    return fullName.substr(pos);
}

Variant cxStorageStringToVariant(const std::string& text)
{
    TDateTime d;
    if (TryStrToDateTime(text, d))
        return Variant::FromDate(d);
    return Variant(text);
}

bool cxStorageIsQuotedValue(const std::string& text)
{
    return text.size() > 1 && text.front() == '"' && text.back() == '"';
}

// --- TcxStorage ---------------------------------------------------------------------------------
TcxStorage::TcxStorage(const std::string& storageName, TStream* stream)
    : StorageName(storageName), StorageStream(stream)
{
}

void TcxStorage::RestoreFromIni(TObject* object) { RestoreFrom(object, TcxCustomReaderClass::Of<TcxIniFileReader>()); }
void TcxStorage::RestoreFromRegistry(TObject* object) { RestoreFrom(object, TcxCustomReaderClass::Of<TcxRegistryReader>()); }
void TcxStorage::RestoreFromStream(TObject* object) { RestoreFrom(object, TcxCustomReaderClass::Of<TcxStreamReader>()); }
void TcxStorage::StoreToIni(TObject* object) { StoreTo(object, TcxCustomWriterClass::Of<TcxIniFileWriter>()); }
void TcxStorage::StoreToRegistry(TObject* object) { StoreTo(object, TcxCustomWriterClass::Of<TcxRegistryWriter>()); }
void TcxStorage::StoreToStream(TObject* object) { StoreTo(object, TcxCustomWriterClass::Of<TcxStreamWriter>()); }

void TcxStorage::RestoreFrom(TObject* object, TcxCustomReaderClass readerClass)
{
    UniqueObject<TcxCustomReader> reader(readerClass.Create(StorageName, StorageStream));
    RestoreWithExistingReader(object, reader.get());
}

void TcxStorage::RestoreWithExistingReader(TObject* object, TcxCustomReader* reader)
{
    if (!reader || !reader->CanRead())
        return;
    SetStoredObject(object);
    reader->BeginRead();
    try {
        InternalRestoreFrom(reader, "");
    } catch (...) {
        reader->EndRead();
        throw;
    }
    reader->EndRead();
}

void TcxStorage::StoreTo(TObject* object, TcxCustomWriterClass writerClass)
{
    UniqueObject<TcxCustomWriter> writer(writerClass.Create(StorageName, StorageStream, ReCreate));
    StoreWithExistingWriter(object, writer.get());
}

void TcxStorage::StoreWithExistingWriter(TObject* object, TcxCustomWriter* writer)
{
    if (!writer || !writer->CanWrite())
        return;
    SetStoredObject(object);
    writer->BeginWrite();
    try {
        InternalStoreTo(writer, "");
    } catch (...) {
        writer->EndWrite();
        throw;
    }
    writer->EndWrite();
}

std::string TcxStorage::ObjectPath(const std::string& name)
{
    std::string n = name.empty() ? GetObjectName() : name;
    if (!NamePrefix.empty())
        n = NamePrefix + "." + n;
    return objectPathPrefix_ + n;
}

std::unique_ptr<TcxStorage> TcxStorage::MakeChildStorage(const std::string& path, TObject* child)
{
    auto storage = std::make_unique<TcxStorage>(std::string(), nullptr);
    storage->objectPathPrefix_ = path + "/";
    storage->storedObject_ = child;
    storage->OnTestClassProperty = OnTestClassProperty;
    storage->OnGetComponentByName = OnGetComponentByName;
    storage->Modes = Modes;
    storage->SaveComponentsByName = SaveComponentsByName;
    return storage;
}

void TcxStorage::InternalStoreTo(TcxCustomWriter* writer, const std::string& name)
{
    std::string path = ObjectPath(name);
    const std::string& className = storedObject_->ClassName();
    writer->BeginWriteObject(path, className);
    TStringList properties;
    GetProperties(&properties);
    for (int i = 0; i < properties.Count(); ++i) {
        Variant value = GetPropertyValue(properties[i]);
        if (!value.IsEmpty() && !value.IsNull())
            writer->WriteProperty(path, className, properties[i], value);
    }
    TStringList children;
    GetChildren(&children);
    for (int i = 0; i < children.Count(); ++i)
        MakeChildStorage(path, children.GetObject(i))->InternalStoreTo(writer, children[i]);
    writer->EndWriteObject(path, className);
}

void TcxStorage::InternalRestoreFrom(TcxCustomReader* reader, const std::string& name)
{
    std::string path = ObjectPath(name);
    const std::string& className = storedObject_->ClassName();
    TStringList properties;
    reader->ReadProperties(path, className, &properties);
    for (int i = 0; i < properties.Count(); ++i) {
        if (properties[i].empty())
            continue;
        Variant value = reader->ReadProperty(path, className, properties[i]);
        if (!value.IsNull())
            SetPropertyValue(properties[i], value);
    }
    TStringList storedNames, storedClassNames;
    reader->ReadChildren(path, className, &storedNames, &storedClassNames);
    TStringList existing;
    GetChildren(&existing);
    CreateChildrenNames(&existing);
    // The current children by name (ignoring case), each matched at most once and the first of
    // a name first: one look-up per stored child, however many children there are.
    std::unordered_map<std::string, std::deque<int>> byName;
    for (int i = 0; i < existing.Count(); ++i)
        byName[UpperCase(existing[i])].push_back(i);
    std::vector<bool> matched(static_cast<std::size_t>(existing.Count()), false);
    for (int i = 0; i < storedNames.Count(); ++i) {
        TObject* child = nullptr;
        std::string childName;
        auto found = byName.find(UpperCase(storedNames[i]));
        if (found != byName.end() && !found->second.empty()) {
            const int index = found->second.front();
            found->second.pop_front();
            matched[static_cast<std::size_t>(index)] = true;
            child = existing.GetObject(index);
            childName = existing[index];
        } else if (GetStorageModes().Contains(smChildrenCreating)) {
            std::string storedClass = i < storedClassNames.Count() ? storedClassNames[i] : std::string();
            child = CreateChild(storedNames[i], storedClass);
            childName = storedNames[i];
        }
        if (child)
            MakeChildStorage(path, child)->InternalRestoreFrom(reader, childName);
    }
    if (GetStorageModes().Contains(smChildrenDeleting))
        for (int i = existing.Count() - 1; i >= 0; --i)
            if (!matched[static_cast<std::size_t>(i)])
                DeleteChild(existing[i], existing.GetObject(i));
}

std::string TcxStorage::GetObjectName(TObject* object)
{
    if (!object)
        object = storedObject_;
    if (auto* stored = dynamic_cast<IcxStoredObject*>(object))
        return stored->GetObjectName();
    if (auto* component = dynamic_cast<TComponent*>(object))
        return component->Name();
    return "Object";
}

void TcxStorage::GetProperties(TStrings* list)
{
    if (auto* stored = dynamic_cast<IcxStoredObject*>(storedObject_)) {
        if (stored->GetProperties(list))
            return;
        TStringList published;
        GetAllPublishedProperties(&published);
        for (int i = 0; i < published.Count(); ++i)
            if (list->IndexOf(published[i]) < 0)
                list->Add(published[i]);
        return;
    }
    GetAllPublishedProperties(list);
}

void TcxStorage::GetAllPublishedProperties(TStrings* list)
{
    if (!storedObject_)
        return;
    for (const TPropInfo* p : GetPropList(storedObject_->ClassType()))
        if (p->Kind != tkMethod)
            list->Add(p->Name);
}

void TcxStorage::GetAllPublishedClassProperties(TStrings* list)
{
    if (!storedObject_)
        return;
    for (const TPropInfo* p : GetPropList(storedObject_->ClassType()))
        if (p->Kind == tkClass)
            list->Add(p->Name);
}

TObject* TcxStorage::GetClassProperty(const std::string& name)
{
    const TPropInfo* p = storedObject_ ? GetPropInfo(storedObject_->ClassType(), name) : nullptr;
    return p && p->Kind == tkClass && p->GetObject ? p->GetObject(storedObject_) : nullptr;
}

void TcxStorage::GetChildren(TStringList* list)
{
    auto* parent = dynamic_cast<IcxStoredParent*>(storedObject_);
    if (parent)
        parent->GetStoredChildren(list);
    if (!GetStorageModes().Contains(smSavePublishedClassProperties))
        return;
    if (auto* collection = dynamic_cast<TCollection*>(storedObject_); collection && !parent)
        for (int i = 0; i < collection->Count(); ++i)
            list->AddObject(IntToStr(i), collection->Items(i));
    TStringList names;
    GetAllPublishedClassProperties(&names);
    for (int i = 0; i < names.Count(); ++i) {
        TObject* object = GetClassProperty(names[i]);
        if (object && TestClassProperty(names[i], object))
            list->AddObject(names[i], object);
    }
}

void TcxStorage::CreateChildrenNames(TStringList* list)
{
    for (int i = 0; i < list->Count(); ++i)
        if (list->Get(i).empty())
            list->Put(i, GetObjectName(list->GetObject(i)));
}

TObject* TcxStorage::CreateChild(const std::string& name, const std::string& className)
{
    TObject* child = nullptr;
    if (auto* parent = dynamic_cast<IcxStoredParent*>(storedObject_))
        child = parent->CreateChild(name, className);
    if (!child)
        if (auto* collection = dynamic_cast<TCollection*>(storedObject_))
            child = collection->Add();
    return child;
}

void TcxStorage::DeleteChild(const std::string& name, TObject* object)
{
    if (auto* parent = dynamic_cast<IcxStoredParent*>(storedObject_))
        parent->DeleteChild(name, object);
    else if (dynamic_cast<TCollection*>(storedObject_))
        FreeObject(object);
}

namespace {
int Ordinal(const Variant& v) { return v.VType() == varBoolean ? (v.ToBoolean() ? 1 : 0) : v.ToInteger(); }
} // namespace

Variant TcxStorage::GetPublishedValue(const TPropInfo* prop)
{
    switch (prop->Kind) {
    case tkInteger: case tkChar: case tkWChar:
        return Variant(prop->Get(storedObject_).ToInteger());
    case tkEnumeration:
        return Variant(EnumerationToString(Ordinal(prop->Get(storedObject_)), prop->EnumNames));
    case tkFloat:
        return Variant(prop->Get(storedObject_).ToDouble());
    case tkString: case tkLString:
        return Variant(prop->Get(storedObject_).ToString());
    case tkSet: {
        auto bits = static_cast<std::uint32_t>(prop->Get(storedObject_).ToInt64());
        return Variant(SetToString(&bits, prop->SetSize, prop->EnumNames));
    }
    case tkWString:
        return Variant(std::u16string_view(VarToWideStr(prop->Get(storedObject_))));
    case tkVariant:
        return prop->Get(storedObject_);
    case tkInt64:
        return Variant(prop->Get(storedObject_).ToInt64());
    default:
        return {};
    }
}

Variant TcxStorage::GetPropertyValue(const std::string& name)
{
    Variant value;
    auto* stored = dynamic_cast<IcxStoredObject*>(storedObject_);
    const TPropInfo* prop = storedObject_ ? GetPropInfo(storedObject_->ClassType(), name) : nullptr;
    bool viaInterface = GetUseInterfaceOnly();
    if (!viaInterface && prop && prop->Kind == tkClass) {
        if (SaveComponentsByName) {
            TObject* held = prop->GetObject ? prop->GetObject(storedObject_) : nullptr;
            if (auto* component = dynamic_cast<TComponent*>(held))
                value = Variant(component->Name());
        } else
            viaInterface = true;
    } else if (!viaInterface && prop && prop->Get && prop->Kind != tkMethod && prop->Kind != tkUnknown
               && prop->Kind != tkArray && prop->Kind != tkRecord && prop->Kind != tkInterface)
        value = GetPublishedValue(prop);
    else
        viaInterface = true;
    if (viaInterface && stored)
        stored->GetPropertyValue(name, value);
    if (value.VType() == varBoolean)
        value = Variant(std::string(value.ToBoolean() ? "True" : "False"));
    return value;
}

void TcxStorage::SetPublishedValue(const TPropInfo* prop, const Variant& value)
{
    switch (prop->Kind) {
    case tkInteger: case tkChar: case tkWChar:
        prop->Set(storedObject_, Variant(value.ToInteger()));
        break;
    case tkEnumeration:
        prop->Set(storedObject_, Variant(StringToEnumeration(value.ToString(), prop->EnumNames)));
        break;
    case tkFloat:
        prop->Set(storedObject_, Variant(value.ToDouble()));
        break;
    case tkString: case tkLString:
        prop->Set(storedObject_, Variant(value.ToString()));
        break;
    case tkSet: {
        std::uint32_t bits = 0;
        StringToSet(value.ToString(), &bits, prop->SetSize, prop->EnumNames);
        prop->Set(storedObject_, Variant(static_cast<std::int64_t>(bits)));
        break;
    }
    case tkWString:
        prop->Set(storedObject_, Variant(std::u16string_view(VarToWideStr(value))));
        break;
    case tkVariant:
        prop->Set(storedObject_, value);
        break;
    case tkInt64:
        prop->Set(storedObject_, Variant(value.ToInt64()));
        break;
    default:
        break;
    }
}

void TcxStorage::SetPropertyValue(const std::string& name, const Variant& value)
{
    if (value.IsNull())
        return;
    auto* stored = dynamic_cast<IcxStoredObject*>(storedObject_);
    const TPropInfo* prop = storedObject_ ? GetPropInfo(storedObject_->ClassType(), name) : nullptr;
    if (GetUseInterfaceOnly() || !prop) {
        if (stored)
            stored->SetPropertyValue(name, value);
        return;
    }
    if (prop->Kind == tkClass) {
        if (SaveComponentsByName && VarIsStr(value) && prop->PropClass
            && prop->PropClass->InheritsFrom(TComponent::StaticClass())) {
            if (TComponent* component = GetComponentByName(value.ToString()); component && prop->SetObject)
                prop->SetObject(storedObject_, component);
        } else if (stored)
            stored->SetPropertyValue(name, value);
        return;
    }
    if (!prop->Set || prop->Kind == tkMethod || prop->Kind == tkUnknown || prop->Kind == tkArray
        || prop->Kind == tkRecord || prop->Kind == tkInterface) {
        if (stored)
            stored->SetPropertyValue(name, value);
        return;
    }
    SetPublishedValue(prop, value);
}

TcxStorageModes TcxStorage::GetStorageModes()
{
    return OnGetStorageModes.Assigned() ? OnGetStorageModes() : Modes;
}

bool TcxStorage::GetUseInterfaceOnly()
{
    return OnGetUseInterfaceOnly.Assigned() ? OnGetUseInterfaceOnly() : UseInterfaceOnly;
}

TComponent* TcxStorage::GetComponentByName(const std::string& name)
{
    return OnGetComponentByName.Assigned() ? OnGetComponentByName(name) : nullptr;
}

bool TcxStorage::TestClassProperty(const std::string& name, TObject* object)
{
    return OnTestClassProperty.Assigned() ? OnTestClassProperty(name, object) : true;
}

} // namespace cx
