#pragma once
// cxDataStorage: value types (what a field's slot holds, how slots compare, convert and stream),
// the value-type registry, value definitions and the in-memory record storage with null flags,
// display texts, record IDs and internal records, and a small sorted lookup list.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Event.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variant.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/data/cxVariants.h"

namespace cx {

// A value type is used through its class only: every operation is class-level and receives the
// slot address. In C++ a value-type class is its one immutable instance.
class TcxValueType;
using TcxValueTypeClass = const TcxValueType*;

class TcxValueType : public TObject {
    RTL_CLASS(TcxValueType, TObject)
    virtual int Compare(void* p1, void* p2) const;
    virtual void FreeBuffer(void* buffer) const {}
    virtual void FreeTextBuffer(void* textSlot) const;
    virtual int GetDataSize() const { return 0; }
    virtual void GetDataValue(void* buffer, Variant& value) const { value = Null; }
    virtual std::string GetDefaultDisplayText(void* buffer) const;
    virtual std::string GetDisplayText(void* textSlot) const;
    virtual void ReadDataValue(void* buffer, TStream* stream) const;
    virtual void ReadDisplayText(void* textSlot, TStream* stream) const;
    virtual void SetDataValue(void* buffer, const Variant& value) const {}
    virtual void SetDisplayText(void* textSlot, const std::string& text) const;
    virtual void WriteDataValue(void* buffer, TStream* stream) const;
    virtual void WriteDisplayText(void* textSlot, TStream* stream) const;
    std::string Caption() const;
    virtual int CompareValues(void* p1, void* p2) const;
    // The value of a slot already passed through PrepareValueBuffer.
    virtual Variant GetValue(void* p) const;
    virtual Word GetVarType() const { return varVariant; }
    virtual bool IsValueValid(Variant& value) const;
    virtual bool IsString() const { return false; }
    virtual void PrepareValueBuffer(void*& buffer) const {}

    // The class of T (its one instance).
    template <class T>
    static TcxValueTypeClass Of()
    {
        static const T instance;
        return &instance;
    }
    static TcxValueTypeClass Class() { return Of<TcxValueType>(); }
};

#define CX_VALUE_TYPE(Name, Parent)                                                               \
    RTL_CLASS(Name, Parent)                                                                       \
    static TcxValueTypeClass Class() { return TcxValueType::Of<Name>(); }

class TcxStringValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxStringValueType, TcxValueType)
    int Compare(void* p1, void* p2) const override;
    void FreeBuffer(void* buffer) const override;
    int GetDataSize() const override { return sizeof(void*); }
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varString; }
    bool IsString() const override { return true; }
    void PrepareValueBuffer(void*& buffer) const override;
    Variant GetValue(void* p) const override;
};

class TcxWideStringValueType : public TcxStringValueType {
    CX_VALUE_TYPE(TcxWideStringValueType, TcxStringValueType)
    void FreeBuffer(void* buffer) const override;
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varOleStr; }
};

class TcxSmallintValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxSmallintValueType, TcxValueType)
    int GetDataSize() const override { return 2; }
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varSmallint; }
};

class TcxIntegerValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxIntegerValueType, TcxValueType)
    int GetDataSize() const override { return 4; }
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varInteger; }
};

class TcxWordValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxWordValueType, TcxValueType)
    int GetDataSize() const override { return 2; }
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varWord; }
};

class TcxBooleanValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxBooleanValueType, TcxValueType)
    int GetDataSize() const override { return 1; }
    void GetDataValue(void* buffer, Variant& value) const override;
    std::string GetDefaultDisplayText(void* buffer) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varBoolean; }
};

class TcxFloatValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxFloatValueType, TcxValueType)
    int GetDataSize() const override { return 8; }
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varDouble; }
};

class TcxCurrencyValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxCurrencyValueType, TcxValueType)
    int GetDataSize() const override { return 8; }
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varCurrency; }
};

class TcxDateTimeValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxDateTimeValueType, TcxValueType)
    int GetDataSize() const override { return 8; }
    void GetDataValue(void* buffer, Variant& value) const override;
    std::string GetDefaultDisplayText(void* buffer) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varDate; }
};

class TcxLargeIntValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxLargeIntValueType, TcxValueType)
    int GetDataSize() const override { return 8; }
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return varInt64; }
};

// The BCD record: precision, sign (bit 7) and decimal places, 32 bytes of packed digits. The
// run-time Variant has no BCD kind, so the value comes out as a Double (its exact digits stay in
// the slot, in the comparison and in the display text).
class TcxFMTBcdValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxFMTBcdValueType, TcxValueType)
    int GetDataSize() const override { return 34; }
    void GetDataValue(void* buffer, Variant& value) const override;
    std::string GetDefaultDisplayText(void* buffer) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return VarFMTBcd(); }
    bool IsValueValid(Variant& value) const override;
};

// Year (signed 16), month, day, hour, minute, second (unsigned 16), fractions (milliseconds,
// unsigned 32); the value comes out as a Date.
class TcxSQLTimeStampValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxSQLTimeStampValueType, TcxValueType)
    int GetDataSize() const override { return 16; }
    void GetDataValue(void* buffer, Variant& value) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    int CompareValues(void* p1, void* p2) const override;
    Word GetVarType() const override { return VarSQLTimeStamp(); }
    bool IsValueValid(Variant& value) const override;
};

class TcxVariantValueType : public TcxValueType {
    CX_VALUE_TYPE(TcxVariantValueType, TcxValueType)
    int Compare(void* p1, void* p2) const override;
    void FreeBuffer(void* buffer) const override;
    int GetDataSize() const override { return sizeof(void*); }
    void GetDataValue(void* buffer, Variant& value) const override;
    void SetDataValue(void* buffer, const Variant& value) const override;
    int CompareValues(void* p1, void* p2) const override;
    void PrepareValueBuffer(void*& buffer) const override;
    Variant GetValue(void* p) const override;
};

// An object owned by the record; pointer-sized, carried in variants as an Int64 address. It has
// no stream form.
class TcxObjectValueType : public TcxIntegerValueType {
    CX_VALUE_TYPE(TcxObjectValueType, TcxIntegerValueType)
    void FreeBuffer(void* buffer) const override;
    int GetDataSize() const override { return sizeof(void*); }
    void GetDataValue(void* buffer, Variant& value) const override;
    void ReadDataValue(void* buffer, TStream* stream) const override {}
    void SetDataValue(void* buffer, const Variant& value) const override;
    void WriteDataValue(void* buffer, TStream* stream) const override {}
    int CompareValues(void* p1, void* p2) const override;
};
#undef CX_VALUE_TYPE

class TcxValueTypeClassList : public TObject {
    RTL_CLASS(TcxValueTypeClassList, TObject)
    void RegisterItem(TcxValueTypeClass valueType);
    void UnregisterItem(TcxValueTypeClass valueType);
    int Count() const { return static_cast<int>(items_.size()); }
    TcxValueTypeClass Items(int index) const { return items_.at(index); }
    TcxValueTypeClass ItemByCaption(const std::string& caption) const;

private:
    std::vector<TcxValueTypeClass> items_;
};

TcxValueTypeClassList* cxValueTypeClassList();
bool IsDateTimeValueTypeClass(TcxValueTypeClass valueType);

// ---------------------------------------------------------------------------------------------
class TcxDataStorage;
class TcxValueDefs;

class TcxValueDef : public TObject {
    RTL_CLASS(TcxValueDef, TObject)
    TcxValueDef(TcxValueDefs* owner, TcxValueTypeClass valueTypeClass);
    void BeforeDestruction() override;

    virtual TObject* GetLinkObject() const { return linkObject_; }
    virtual bool GetStored() const;
    virtual void SetLinkObject(TObject* value) { linkObject_ = value; }
    virtual void Assign(TcxValueDef* source);

    bool Stored() const { return GetStored(); }
    void SetStored(bool value);
    bool TextStored() const { return Stored() && textStored_; }
    void SetTextStored(bool value);
    TcxValueTypeClass ValueTypeClass() const { return valueTypeClass_; }
    void SetValueTypeClass(TcxValueTypeClass value);
    TObject* LinkObject() const { return GetLinkObject(); }
    bool IsNeedConversion() const { return valueTypeClass_->IsString(); }
    TcxValueDefs* Owner() const { return owner_; }
    // The link object as stored (an internal definition stores the main definition it mirrors).
    TObject* LinkObjectField() const { return linkObject_; }
    int BufferSize() const { return bufferSize_; }
    int DataSize() const { return dataSize_; }
    int Offset() const { return offset_; }
    bool StreamStored = true;

    // Operations on a record buffer (ABuffer) or a slot (P: the null flag's address).
    static bool IsNullValue(const void* p) { return *static_cast<const Byte*>(p) == 0; }
    bool IsNullValueEx(void* buffer, int offset) const;
    void SetNull(void* p, bool isNull);
    Variant GetDataValue(void* buffer);
    void SetDataValue(void* buffer, const Variant& value);
    std::string GetDisplayText(void* buffer);
    void SetDisplayText(void* buffer, const std::string& text);
    int Compare(void* buffer1, void* buffer2);
    int CompareValues(bool isNull1, bool isNull2, void* p1, void* p2);
    void FreeBuffer(void* buffer);
    void ReadDataValue(void* buffer, TStream* stream);
    void WriteDataValue(void* buffer, TStream* stream);
    void ReadDisplayText(void* buffer, TStream* stream);
    void WriteDisplayText(void* buffer, TStream* stream);
    void Init(int& offset);

protected:
    void Changed(bool resyncNeeded);
    Byte* Slot(void* buffer) const { return static_cast<Byte*>(buffer) + offset_ + 1; }
    Byte* TextSlot(void* buffer) const { return static_cast<Byte*>(buffer) + offset_ + 1 + dataSize_; }

private:
    friend class TcxDataStorage;
    friend class TcxDataStorageHelper;
    friend class TcxValueDefs;
    int bufferSize_ = 0;
    int dataSize_ = 0;
    bool stored_ = true;
    TObject* linkObject_ = nullptr;
    int offset_ = 0;
    bool textStored_ = false;
    TcxValueDefs* owner_;
    TcxValueTypeClass valueTypeClass_;
};

class TcxInternalValueDef : public TcxValueDef {
    RTL_CLASS(TcxInternalValueDef, TcxValueDef)
    using TcxValueDef::TcxValueDef;
    TObject* GetLinkObject() const override;
    bool GetStored() const override { return true; }
    TcxValueDef* GetValueDef() const;
};

using TcxValueDefClass = TClassRef<TcxValueDef, TcxValueDefs*, TcxValueTypeClass>;

class TcxValueDefs : public TObject {
    RTL_CLASS(TcxValueDefs, TObject)
    explicit TcxValueDefs(TcxDataStorage* storage);
    void BeforeDestruction() override { Clear(); }

    TcxValueDef* Add(TcxValueTypeClass valueTypeClass, bool stored, bool textStored, TObject* linkObject);
    void Remove(TcxValueDef* def);   // does not free it
    void Clear();
    virtual void Prepare(int recordOffset);
    int Count() const { return static_cast<int>(items_.size()); }
    TcxValueDef* Items(int index) const;
    int IndexOf(const TcxValueDef* def) const;
    int GetStoredCount() const;
    int RecordOffset() const { return recordOffset_; }
    int RecordSize() const { return recordSize_; }
    TcxDataStorage* DataStorage() const { return storage_; }

    virtual void Changed(TcxValueDef* def, bool resyncNeeded);
    virtual TcxValueDefClass GetValueDefClass() const { return TcxValueDefClass::Of<TcxValueDef>(); }

protected:
    friend class TcxDataStorage;
    friend class TcxDataStorageHelper;
    TcxDataStorage* storage_;
    std::vector<TcxValueDef*> items_;
    int recordOffset_ = 0;
    int recordSize_ = 0;
};

class TcxInternalValueDefs : public TcxValueDefs {
    RTL_CLASS(TcxInternalValueDefs, TcxValueDefs)
    using TcxValueDefs::TcxValueDefs;
    TcxValueDefClass GetValueDefClass() const override { return TcxValueDefClass::Of<TcxInternalValueDef>(); }
    TcxValueDef* FindByLinkObject(TObject* linkObject) const;
    void RemoveByLinkObject(TObject* linkObject);
};

// The source of one record's values for TcxDataStorage::ReadRecord.
class TcxValueDefReader : public TObject {
    RTL_CLASS(TcxValueDefReader, TObject)
    virtual std::string GetDisplayText(TcxValueDef* def) { return {}; }
    virtual Variant GetValue(TcxValueDef* def) { return Null; }
    virtual bool IsInternal(TcxValueDef* def) { return false; }
};

using TcxValueDefCompareFunc = std::function<int(TcxValueDef*, TcxValueDef*)>;
using TcxValueDefReadProc = std::function<void(TcxValueDef*, int fromIndex, int toIndex, TcxValueDefReader*)>;

class TcxDataStorage : public TObject {
    RTL_CLASS(TcxDataStorage, TObject)
    TcxDataStorage();
    ~TcxDataStorage() override;
    void BeforeDestruction() override;

    TcxValueDefs* ValueDefs() const { return valueDefs_; }
    TcxInternalValueDefs* InternalValueDefs() const { return internalValueDefs_; }

    int AppendRecord();
    void InsertRecord(int recordIndex);
    void DeleteRecord(int recordIndex);
    int RecordCount() const { return records_.Count(); }
    void SetRecordCount(int count);
    int InternalRecordCount() const { return internalRecords_.Count(); }
    int AddInternalRecord();
    void DeleteInternalRecord(int recordIndex);
    void Clear(bool keepInternalRecords);
    void ClearInternalRecords();
    void ClearRecords(bool clearList);

    Variant GetValue(int recordIndex, TcxValueDef* def);
    void SetValue(int recordIndex, TcxValueDef* def, const Variant& value);
    std::string GetDisplayText(int recordIndex, TcxValueDef* def);
    void SetDisplayText(int recordIndex, TcxValueDef* def, const std::string& text);
    int CompareRecords(int recordIndex1, int recordIndex2, TcxValueDef* def);
    bool GetCompareInfo(int recordIndex, TcxValueDef* def, void*& p);
    int GetRecordID(int recordIndex);
    void SetRecordID(int recordIndex, int id);
    void* AllocRecordBuffer(int recordIndex);
    void FreeAndNilRecordBuffer(int recordIndex);
    void* RecordBuffer(int recordIndex) const;
    void ReadRecord(int recordIndex, TcxValueDefReader* reader);
    void ReadRecordFrom(int fromIndex, int toIndex, TcxValueDefReader* reader, const TcxValueDefReadProc& proc);
    void BeginStreaming(const TcxValueDefCompareFunc& compare);
    void EndStreaming();
    bool IsStreaming() const { return streaming_; }
    const std::vector<TcxValueDef*>& StreamingOrder() const { return streamingOrder_; }
    void ReadData(int recordIndex, TStream* stream);
    void WriteData(int recordIndex, TStream* stream);
    virtual void BeginLoad() {}
    virtual void EndLoad() {}
    virtual void CheckStructure() {}

    bool StoredValuesOnly() const { return storedValuesOnly_; }
    void SetStoredValuesOnly(bool value);
    bool UseRecordID() const { return useRecordID_; }
    void SetUseRecordID(bool value);
    bool Destroying() const { return destroying_; }

    Event<void(TObject*)> OnClearInternalRecords;

    virtual void InitStructure(TcxValueDefs* valueDefs);
    virtual void ValueDefsChanged(TcxValueDef* def, bool resyncNeeded) {}
    virtual TcxValueDefs* ValueDefsByRecordIndex(int recordIndex) const;

protected:
    friend class TcxValueDefs;
    friend class TcxValueDef;
    friend class TcxDataStorageHelper;
    void InsertValueDef(int position, TcxValueDef* def);
    void RemoveValueDef(TcxValueDef* def);
    bool CheckValueDef(int recordIndex, TcxValueDef*& def) const;
    TcxValueDef* LayoutDef(int recordIndex, TcxValueDef* def) const;
    void ReshapeValueDef(TcxValueDef* def, TcxValueTypeClass valueType, bool stored, bool textStored);
    TList& ListOf(int recordIndex) { return recordIndex < 0 ? internalRecords_ : records_; }
    void AssignID(int recordIndex);
    void CheckIDsLeft(int count) const;
    void ResetLayout();

private:
    bool destroying_ = false;
    TList internalRecords_;
    TcxInternalValueDefs* internalValueDefs_ = nullptr;
    bool storedValuesOnly_ = false;
    TList records_;
    int recordIDCounter_ = 1;
    bool useRecordID_ = false;
    TcxValueDefs* valueDefs_ = nullptr;
    bool streaming_ = false;
    std::vector<TcxValueDef*> streamingOrder_;
};

// Direct access for the data controller.
class TcxDataStorageHelper {
public:
    static void* AllocateRecord(TcxDataStorage* storage);
    static int GetRecordSize(TcxDataStorage* storage) { return storage->ValueDefs()->RecordSize(); }
    static int GetStoredCount(TcxDataStorage* storage) { return storage->ValueDefs()->GetStoredCount(); }
    static void AppendRecord(TcxDataStorage* storage, void* buffer);
    static void* RemoveRecord(TcxDataStorage* storage, int recordIndex);
    static void FreeRecord(TcxDataStorage* storage, void*& buffer);
    static void SetRecordsCapacity(TcxDataStorage* storage, int capacity);
    static int Compare(TcxValueDef* def, void* buffer1, void* buffer2) { return def->Compare(buffer1, buffer2); }
    static void FreeBuffer(TcxValueDef* def, void* buffer) { def->FreeBuffer(buffer); }
    static std::string GetDisplayText(TcxValueDef* def, void* buffer) { return def->GetDisplayText(buffer); }
    static Variant GetValue(TcxValueDef* def, void* buffer) { return def->GetDataValue(buffer); }
    static void SetDisplayText(TcxValueDef* def, void* buffer, const std::string& text) { def->SetDisplayText(buffer, text); }
    static void SetValue(TcxValueDef* def, void* buffer, const Variant& value) { def->SetDataValue(buffer, value); }
    static void SetTextStored(TcxValueDef* def, bool value);
};

// A key/text list kept sorted by key with VarCompare.
struct TcxLookupListItem {
    Variant Key;
    std::string DisplayText;
};

class TcxLookupList : public TObject {
    RTL_CLASS(TcxLookupList, TObject)
    // On a hit the item's index; else the insertion point (the first item greater than the key).
    bool Find(const Variant& key, int& index) const;
    void Insert(int index, const Variant& key, const std::string& displayText);
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    const TcxLookupListItem& Items(int index) const { return items_.at(index); }

private:
    std::vector<TcxLookupListItem> items_;
};

namespace cxDataStorageUnit {
void Initialize();   // registers the fourteen value types (once)
void Finalize();
} // namespace cxDataStorageUnit

} // namespace cx
