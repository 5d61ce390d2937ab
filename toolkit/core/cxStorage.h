#pragma once
// cxStorage: saves an object tree (an object, its stored properties and its stored children,
// recursively) to an INI file, the registry or a stream, and restores it. TcxStorage walks the
// tree through the published properties (platform/rtl/TypInfo.h) or the stored-object
// interfaces; a reader or writer of the chosen medium does the actual reading and writing.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Filer.h"
#include "platform/rtl/MemIniFile.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/TypInfo.h"
#include "toolkit/core/dxCore.h"

namespace cx {

enum TcxStorageMode { smChildrenCreating, smChildrenDeleting, smSavePublishedClassProperties };
using TcxStorageModes = Set<TcxStorageMode>;
enum TcxStorageType { stIniFile, stRegistry, stStream };

using TcxGetStorageModesEvent = Event<TcxStorageModes()>;
using TcxTestClassPropertyEvent = Event<bool(const std::string& name, TObject* object)>;
using TcxGetComponentByNameEvent = Event<TComponent*(const std::string& name)>;
using TcxGetUseInterfaceOnlyEvent = Event<bool()>;
using TcxGetStoredPropertiesEvent = Event<void(TObject* sender, TStrings* properties)>;
using TcxGetStoredPropertyValueEvent = Event<void(TObject* sender, const std::string& name, Variant& value)>;
using TcxSetStoredPropertyValueEvent = Event<void(TObject* sender, const std::string& name, const Variant& value)>;
using TcxInitStoredObjectEvent = Event<void(TObject* sender, TObject* object)>;

// An object that lists and supplies its own stored properties.
class IcxStoredObject {
public:
    virtual ~IcxStoredObject() = default;
    virtual std::string GetObjectName() = 0;
    // True when the list is complete; false asks for the published properties as well.
    virtual bool GetProperties(TStrings* properties) = 0;
    virtual void GetPropertyValue(const std::string& name, Variant& value) = 0;
    virtual void SetPropertyValue(const std::string& name, const Variant& value) = 0;
};

// An object that lists its stored children and creates and deletes them on restore.
class IcxStoredParent {
public:
    virtual ~IcxStoredParent() = default;
    virtual TObject* CreateChild(const std::string& objectName, const std::string& className) = 0;
    virtual void DeleteChild(const std::string& objectName, TObject* object) = 0;
    // Names with the child objects attached.
    virtual void GetStoredChildren(TStringList* children) = 0;
};

RTL_EXCEPTION(EcxStorage, EdxException);
RTL_EXCEPTION(EcxHexStringConvertError, EdxException);

// --- text conversions ---------------------------------------------------------------------------
std::string StreamToString(TStream* stream);
void StringToStream(const std::string& text, TStream* stream);
std::string StringToHexString(const std::string& text);
std::string HexStringToString(const std::string& text);
bool StringToBoolean(const std::string& text);
std::string EnumerationToString(int value, const std::vector<std::string>& names);
int StringToEnumeration(const std::string& text, const std::vector<std::string>& names);
std::string SetToString(const void* set, int size, const std::vector<std::string>& names);
void StringToSet(const std::string& text, void* set, int size, const std::vector<std::string>& names);

// Helpers of the media.
std::string cxStorageMakeAbsoluteRegistryPath(const std::string& path);
// Every segment before a "/" goes to the list; the last segment is returned.
std::string cxStorageSplitFullName(const std::string& fullName, std::vector<std::string>& parents);
Variant cxStorageStringToVariant(const std::string& text);
bool cxStorageIsQuotedValue(const std::string& text);

// --- readers and writers ----------------------------------------------------------------------
class TcxCustomReader : public TObject {
    RTL_CLASS(TcxCustomReader, TObject)
    explicit TcxCustomReader(const std::string& storageName) : TcxCustomReader(storageName, nullptr) {}
    TcxCustomReader(const std::string& storageName, TStream* stream) : storageName_(storageName), stream_(stream) {}

    virtual bool CanRead() { return true; }
    virtual void BeginRead() {}
    virtual void EndRead() {}
    virtual void ReadProperties(const std::string& objectFullName, const std::string& className, TStrings* properties) {}
    virtual Variant ReadProperty(const std::string& objectFullName, const std::string& className,
                                 const std::string& propertyName) { return {}; }
    virtual void ReadChildren(const std::string& objectFullName, const std::string& className,
                              TStrings* childrenNames, TStrings* childrenClassNames) {}

    void SetStream(TStream* stream);
    TStream* Stream() const { return stream_; }
    const std::string& StorageName() const { return storageName_; }
    int StorageVersion() const { return version_; }

protected:
    virtual void DoSetStream(TStream* stream) { stream_ = stream; }
    int version_ = 0;
    std::string storageName_;
    TStream* stream_;
};
using TcxCustomReaderClass = TClassRef<TcxCustomReader, const std::string&, TStream*>;

class TcxCustomWriter : public TObject {
    RTL_CLASS(TcxCustomWriter, TObject)
    TcxCustomWriter(const std::string& storageName, bool reCreate) : TcxCustomWriter(storageName, nullptr, reCreate) {}
    TcxCustomWriter(const std::string& storageName, TStream* stream, bool reCreate)
        : reCreate_(reCreate), storageName_(storageName), stream_(stream) {}

    virtual bool CanWrite() { return true; }
    virtual void BeginWrite() {}
    virtual void EndWrite() {}
    virtual void BeginWriteObject(const std::string& objectFullName, const std::string& className) {}
    virtual void EndWriteObject(const std::string& objectFullName, const std::string& className) {}
    virtual void WriteProperty(const std::string& objectFullName, const std::string& className,
                               const std::string& propertyName, const Variant& value) {}

    void SetStream(TStream* stream);
    TStream* Stream() const { return stream_; }
    const std::string& StorageName() const { return storageName_; }
    bool ReCreate() const { return reCreate_; }

protected:
    virtual void DoSetStream(TStream* stream) { stream_ = stream; }
    bool reCreate_;
    std::string storageName_;
    TStream* stream_;
};
using TcxCustomWriterClass = TClassRef<TcxCustomWriter, const std::string&, TStream*, bool>;

class TcxRegistryReader : public TcxCustomReader {
    RTL_CLASS(TcxRegistryReader, TcxCustomReader)
    TcxRegistryReader(const std::string& storageName, TStream* stream);
    void ReadProperties(const std::string& objectFullName, const std::string& className, TStrings* properties) override;
    Variant ReadProperty(const std::string& objectFullName, const std::string& className,
                         const std::string& propertyName) override;
    void ReadChildren(const std::string& objectFullName, const std::string& className,
                      TStrings* childrenNames, TStrings* childrenClassNames) override;

private:
    std::string ObjectKey(const std::string& objectFullName) const;
    std::unique_ptr<TRegistry> registry_;
    std::string objectKey_;
    bool objectOpen_ = false;
};

class TcxRegistryWriter : public TcxCustomWriter {
    RTL_CLASS(TcxRegistryWriter, TcxCustomWriter)
    TcxRegistryWriter(const std::string& storageName, TStream* stream, bool reCreate);
    void EndWrite() override;
    void BeginWriteObject(const std::string& objectFullName, const std::string& className) override;
    void EndWriteObject(const std::string& objectFullName, const std::string& className) override;
    void WriteProperty(const std::string& objectFullName, const std::string& className,
                       const std::string& propertyName, const Variant& value) override;

private:
    void CheckRootKey();
    std::string StorageKey() const;
    std::unique_ptr<TRegistry> registry_;
    bool rootKeyCreated_ = false;
    bool rootKeyOpened_ = false;
};

class TcxIniFileReader : public TcxCustomReader {
    RTL_CLASS(TcxIniFileReader, TcxCustomReader)
    TcxIniFileReader(const std::string& storageName, TStream* stream);
    bool CanRead() override;
    void BeginRead() override;
    void ReadProperties(const std::string& objectFullName, const std::string& className, TStrings* properties) override;
    Variant ReadProperty(const std::string& objectFullName, const std::string& className,
                         const std::string& propertyName) override;
    void ReadChildren(const std::string& objectFullName, const std::string& className,
                      TStrings* childrenNames, TStrings* childrenClassNames) override;

private:
    void BuildSections();
    std::unique_ptr<TMemIniFile> iniFile_;
    bool sectionsBuilt_ = false;
    std::vector<std::string> paths_, objectNames_, classNames_;
    // The sections under each path, in file order.
    std::unordered_map<std::string, std::vector<std::size_t>> childrenOf_;
};

class TcxIniFileWriter : public TcxCustomWriter {
    RTL_CLASS(TcxIniFileWriter, TcxCustomWriter)
    TcxIniFileWriter(const std::string& storageName, TStream* stream, bool reCreate);
    void BeginWrite() override;
    void EndWrite() override;
    void BeginWriteObject(const std::string& objectFullName, const std::string& className) override;
    void WriteProperty(const std::string& objectFullName, const std::string& className,
                       const std::string& propertyName, const Variant& value) override;

private:
    std::unique_ptr<TMemIniFile> iniFile_;
};

// The INI file's text coding of strings.
std::string cxIniEncodeString(const std::string& text);
std::string cxIniDecodeString(const std::string& text);

class TcxStreamPropertyData : public TObject {
    RTL_CLASS(TcxStreamPropertyData, TObject)
    TcxStreamPropertyData(const std::string& name, const Variant& value) : Name(name), Value(value) {}
    // A value of a kind the stream cannot carry raises EWriteError (nothing is written then).
    void Read(TReader* reader);
    void Write(TWriter* writer);
    static bool CanWriteValue(const Variant& value);
    std::string Name;
    Variant Value;
};

class TcxStreamObjectData : public TObject {
    RTL_CLASS(TcxStreamObjectData, TObject)
    TcxStreamObjectData(const std::string& name, const std::string& className) : Name(name), ClassName_(className) {}
    ~TcxStreamObjectData() override { Clear(); }

    void AddChild(TcxStreamObjectData* child)
    {
        children_.push_back(UniqueObject<TcxStreamObjectData>(child));
        childIndex_.emplace(child->Name, children_.size() - 1);   // the first of a name is found
    }
    // The first child of that name (exactly), or null.
    TcxStreamObjectData* FindChild(const std::string& name) const
    {
        auto it = childIndex_.find(name);
        return it == childIndex_.end() ? nullptr : children_[it->second].get();
    }
    void AddProperty(TcxStreamPropertyData* property) { properties_.push_back(UniqueObject<TcxStreamPropertyData>(property)); }
    int GetChildCount() const { return static_cast<int>(children_.size()); }
    TcxStreamObjectData* GetChildren(int index) const { return children_.at(index).get(); }
    int GetPropertyCount() const { return static_cast<int>(properties_.size()); }
    TcxStreamPropertyData* GetProperties(int index) const { return properties_.at(index).get(); }
    void Clear();
    void Read(TReader* reader);
    void Write(TWriter* writer);

    std::string Name;
    std::string ClassName_;

private:
    std::vector<UniqueObject<TcxStreamObjectData>> children_;
    std::unordered_map<std::string, std::size_t> childIndex_;
    std::vector<UniqueObject<TcxStreamPropertyData>> properties_;
};

class TcxStreamReader : public TcxCustomReader {
    RTL_CLASS(TcxStreamReader, TcxCustomReader)
    TcxStreamReader(const std::string& storageName, TStream* stream);
    bool CanRead() override;
    void BeginRead() override;
    void ReadProperties(const std::string& objectFullName, const std::string& className, TStrings* properties) override;
    Variant ReadProperty(const std::string& objectFullName, const std::string& className,
                         const std::string& propertyName) override;
    void ReadChildren(const std::string& objectFullName, const std::string& className,
                      TStrings* childrenNames, TStrings* childrenClassNames) override;

protected:
    void DoSetStream(TStream* stream) override;

private:
    TcxStreamObjectData* FindObject(const std::string& fullName);
    TcxStreamObjectData* lastObject_ = nullptr;
    std::string lastFullName_;
    UniqueObject<TcxStreamObjectData> root_;
    UniqueObject<TReader> reader_;
};

class TcxStreamWriter : public TcxCustomWriter {
    RTL_CLASS(TcxStreamWriter, TcxCustomWriter)
    TcxStreamWriter(const std::string& storageName, TStream* stream, bool reCreate);
    bool CanWrite() override { return stream_ != nullptr; }
    void BeginWriteObject(const std::string& objectFullName, const std::string& className) override;
    void WriteProperty(const std::string& objectFullName, const std::string& className,
                       const std::string& propertyName, const Variant& value) override;
    void EndWrite() override;

protected:
    void DoSetStream(TStream* stream) override;

private:
    TcxStreamObjectData* current_ = nullptr;
    UniqueObject<TcxStreamObjectData> root_;
    UniqueObject<TWriter> writer_;
};

inline constexpr int cxStreamFilerBufferSize = 500000;

// --- the storage ------------------------------------------------------------------------------
class TcxStorage : public TObject {
    RTL_CLASS(TcxStorage, TObject)
    TcxStorage(const std::string& storageName, TStream* stream);
    explicit TcxStorage(const std::string& storageName) : TcxStorage(storageName, nullptr) {}
    explicit TcxStorage(TStream* stream) : TcxStorage(std::string(), stream) {}

    void RestoreFromIni(TObject* object);
    void RestoreFromRegistry(TObject* object);
    void RestoreFromStream(TObject* object);
    virtual void RestoreFrom(TObject* object, TcxCustomReaderClass readerClass);
    virtual void RestoreWithExistingReader(TObject* object, TcxCustomReader* reader);
    void StoreToIni(TObject* object);
    void StoreToRegistry(TObject* object);
    void StoreToStream(TObject* object);
    virtual void StoreTo(TObject* object, TcxCustomWriterClass writerClass);
    virtual void StoreWithExistingWriter(TObject* object, TcxCustomWriter* writer);

    std::string NamePrefix;
    TcxStorageModes Modes;
    bool ReCreate = true;
    std::string StorageName;
    TStream* StorageStream = nullptr;
    bool SaveComponentsByName = false;
    bool UseInterfaceOnly = false;
    TcxGetStorageModesEvent OnGetStorageModes;
    TcxGetComponentByNameEvent OnGetComponentByName;
    TcxTestClassPropertyEvent OnTestClassProperty;
    TcxGetUseInterfaceOnlyEvent OnGetUseInterfaceOnly;

    TObject* StoredObject() const { return storedObject_; }
    void SetStoredObject(TObject* object) { storedObject_ = object; }
    const std::string& ObjectPathPrefix() const { return objectPathPrefix_; }

    std::string GetObjectName(TObject* object = nullptr);
    void GetProperties(TStrings* list);
    void GetAllPublishedProperties(TStrings* list);
    void GetAllPublishedClassProperties(TStrings* list);
    TObject* GetClassProperty(const std::string& name);
    void GetChildren(TStringList* list);
    void CreateChildrenNames(TStringList* list);
    TObject* CreateChild(const std::string& name, const std::string& className);
    void DeleteChild(const std::string& name, TObject* object);
    Variant GetPropertyValue(const std::string& name);
    void SetPropertyValue(const std::string& name, const Variant& value);
    TcxStorageModes GetStorageModes();
    bool GetUseInterfaceOnly();
    TComponent* GetComponentByName(const std::string& name);
    bool TestClassProperty(const std::string& name, TObject* object);

protected:
    virtual void InternalRestoreFrom(TcxCustomReader* reader, const std::string& name);
    virtual void InternalStoreTo(TcxCustomWriter* writer, const std::string& name);

private:
    std::string ObjectPath(const std::string& name);
    std::unique_ptr<TcxStorage> MakeChildStorage(const std::string& path, TObject* child);
    Variant GetPublishedValue(const TPropInfo* prop);
    void SetPublishedValue(const TPropInfo* prop, const Variant& value);
    std::string objectPathPrefix_;
    TObject* storedObject_ = nullptr;
};

} // namespace cx
