#include "toolkit/data/cxDataStorage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "toolkit/data/cxDataConsts.h"

namespace cx {

namespace {
// Internal records always keep room for an ID, so that their layout does not move when the
// storage starts or stops using record IDs while rows are being edited.
constexpr int kInternalRecordOffset = 5;
constexpr Byte kInternalRecordInUse = 1;

Byte* Bytes(void* p) { return static_cast<Byte*>(p); }
} // namespace

// --- TcxValueDef -------------------------------------------------------------------------------------
TcxValueDef::TcxValueDef(TcxValueDefs* owner, TcxValueTypeClass valueTypeClass)
    : owner_(owner), valueTypeClass_(valueTypeClass)
{
}

void TcxValueDef::BeforeDestruction()
{
    if (owner_)
        owner_->Remove(this);
}

bool TcxValueDef::GetStored() const { return stored_ || !owner_->DataStorage()->StoredValuesOnly(); }

void TcxValueDef::Assign(TcxValueDef* source)
{
    SetStored(source->Stored());
    SetTextStored(source->TextStored());
}

// Each of these changes the definition's bytes in every record: the storage lays the records out
// again, keeping their values where the new form can hold them.
void TcxValueDef::SetStored(bool value)
{
    if (stored_ != value) {
        owner_->DataStorage()->ReshapeValueDef(this, valueTypeClass_, value, textStored_);
        Changed(false);
    }
}

void TcxValueDef::SetTextStored(bool value)
{
    if (textStored_ != value) {
        owner_->DataStorage()->ReshapeValueDef(this, valueTypeClass_, stored_, value);
        Changed(true);
    }
}

void TcxValueDef::SetValueTypeClass(TcxValueTypeClass value)
{
    if (valueTypeClass_ != value) {
        owner_->DataStorage()->ReshapeValueDef(this, value, stored_, textStored_);
        Changed(true);
    }
}

void TcxValueDef::Changed(bool resyncNeeded) { owner_->Changed(this, resyncNeeded); }

bool TcxValueDef::IsNullValueEx(void* buffer, int offset) const { return !buffer || Bytes(buffer)[offset] == 0; }

void TcxValueDef::SetNull(void* p, bool isNull)
{
    Byte* flag = Bytes(p);
    if (isNull) {
        if (*flag != 0) {
            valueTypeClass_->FreeBuffer(flag + 1);
            std::memset(flag + 1, 0, static_cast<std::size_t>(dataSize_));
        }
        *flag = 0;
    } else {
        *flag = 1;
    }
}

Variant TcxValueDef::GetDataValue(void* buffer)
{
    if (IsNullValueEx(buffer, offset_))
        return Null;
    Variant v;
    valueTypeClass_->GetDataValue(Slot(buffer), v);
    return v;
}

void TcxValueDef::SetDataValue(void* buffer, const Variant& value)
{
    if (value.IsNull()) {
        SetNull(Bytes(buffer) + offset_, true);
        return;
    }
    // The flag follows a successful conversion only: a value that does not convert leaves the
    // record as it was, a null one included.
    valueTypeClass_->SetDataValue(Slot(buffer), value);
    SetNull(Bytes(buffer) + offset_, false);
}

std::string TcxValueDef::GetDisplayText(void* buffer)
{
    if (TextStored())
        return buffer ? valueTypeClass_->GetDisplayText(TextSlot(buffer)) : std::string();
    if (IsNullValueEx(buffer, offset_))
        return {};
    return valueTypeClass_->GetDefaultDisplayText(Slot(buffer));
}

void TcxValueDef::SetDisplayText(void* buffer, const std::string& text)
{
    if (TextStored())
        valueTypeClass_->SetDisplayText(TextSlot(buffer), text);
}

int TcxValueDef::Compare(void* buffer1, void* buffer2)
{
    bool n1 = IsNullValueEx(buffer1, offset_), n2 = IsNullValueEx(buffer2, offset_);
    if (n1 || n2)
        return n1 == n2 ? 0 : (n1 ? -1 : 1);
    return valueTypeClass_->Compare(Slot(buffer1), Slot(buffer2));
}

int TcxValueDef::CompareValues(bool isNull1, bool isNull2, void* p1, void* p2)
{
    if (isNull1 || isNull2)
        return isNull1 == isNull2 ? 0 : (isNull1 ? -1 : 1);
    return valueTypeClass_->CompareValues(p1, p2);
}

void TcxValueDef::FreeBuffer(void* buffer)
{
    if (!Stored())
        return;
    if (!IsNullValue(Bytes(buffer) + offset_))
        valueTypeClass_->FreeBuffer(Slot(buffer));
    if (TextStored())
        valueTypeClass_->FreeTextBuffer(TextSlot(buffer));
}

void TcxValueDef::ReadDataValue(void* buffer, TStream* stream)
{
    if (ReadBooleanFunc(stream)) {
        SetNull(Bytes(buffer) + offset_, true);
        return;
    }
    valueTypeClass_->ReadDataValue(Slot(buffer), stream);
    SetNull(Bytes(buffer) + offset_, false);
}

void TcxValueDef::WriteDataValue(void* buffer, TStream* stream)
{
    bool isNull = IsNullValueEx(buffer, offset_);
    WriteBooleanProc(stream, isNull);
    if (!isNull)
        valueTypeClass_->WriteDataValue(Slot(buffer), stream);
}

void TcxValueDef::ReadDisplayText(void* buffer, TStream* stream)
{
    if (TextStored())
        valueTypeClass_->ReadDisplayText(TextSlot(buffer), stream);
}

void TcxValueDef::WriteDisplayText(void* buffer, TStream* stream)
{
    if (TextStored())
        valueTypeClass_->WriteDisplayText(TextSlot(buffer), stream);
}

void TcxValueDef::Init(int& offset)
{
    dataSize_ = valueTypeClass_->GetDataSize();
    offset_ = offset;
    if (Stored()) {
        bufferSize_ = 1 + dataSize_ + (textStored_ ? static_cast<int>(sizeof(void*)) : 0);
        offset += bufferSize_;
    } else {
        bufferSize_ = 0;
    }
}

TObject* TcxInternalValueDef::GetLinkObject() const
{
    TcxValueDef* def = GetValueDef();
    return def ? def->LinkObject() : nullptr;
}

TcxValueDef* TcxInternalValueDef::GetValueDef() const { return dynamic_cast<TcxValueDef*>(LinkObjectField()); }

// --- TcxValueDefs ------------------------------------------------------------------------------------
TcxValueDefs::TcxValueDefs(TcxDataStorage* storage) : storage_(storage) { storage_->InitStructure(this); }

TcxValueDef* TcxValueDefs::Add(TcxValueTypeClass valueTypeClass, bool stored, bool textStored, TObject* linkObject)
{
    TcxValueDef* def = GetValueDefClass().Create(this, valueTypeClass);
    def->SetLinkObject(linkObject);
    def->stored_ = stored;
    def->textStored_ = textStored;
    int offset = 0;
    def->Init(offset);
    storage_->InsertValueDef(Count(), def);
    items_.push_back(def);
    storage_->InitStructure(this);
    return def;
}

void TcxValueDefs::Remove(TcxValueDef* def)
{
    auto it = std::find(items_.begin(), items_.end(), def);
    if (it == items_.end())
        return;
    storage_->RemoveValueDef(def);
    items_.erase(std::find(items_.begin(), items_.end(), def));
    storage_->InitStructure(this);
}

void TcxValueDefs::Clear()
{
    while (!items_.empty())
        items_.back()->Free();
}

void TcxValueDefs::Prepare(int recordOffset)
{
    recordOffset_ = recordOffset;
    int offset = recordOffset;
    for (TcxValueDef* def : items_)
        def->Init(offset);
    recordSize_ = offset;
}

TcxValueDef* TcxValueDefs::Items(int index) const
{
    if (storage_->IsStreaming() && this == storage_->ValueDefs())
        return storage_->StreamingOrder().at(index);
    return items_.at(index);
}

int TcxValueDefs::IndexOf(const TcxValueDef* def) const
{
    auto it = std::find(items_.begin(), items_.end(), def);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TcxValueDefs::GetStoredCount() const
{
    return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](TcxValueDef* d) { return d->Stored(); }));
}

void TcxValueDefs::Changed(TcxValueDef* def, bool resyncNeeded) { storage_->ValueDefsChanged(def, resyncNeeded); }

TcxValueDef* TcxInternalValueDefs::FindByLinkObject(TObject* linkObject) const
{
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if ((*it)->LinkObjectField() == linkObject)
            return *it;
    return nullptr;
}

void TcxInternalValueDefs::RemoveByLinkObject(TObject* linkObject)
{
    if (TcxValueDef* def = FindByLinkObject(linkObject))
        def->Free();
}

// --- TcxDataStorage ----------------------------------------------------------------------------------
TcxDataStorage::TcxDataStorage()
{
    internalValueDefs_ = new TcxInternalValueDefs(this);
    valueDefs_ = new TcxValueDefs(this);
}

void TcxDataStorage::BeforeDestruction()
{
    destroying_ = true;
    Clear(false);
}

TcxDataStorage::~TcxDataStorage()
{
    if (!destroying_) {
        destroying_ = true;
        Clear(false);
    }
    // Each definition removes itself (and its internal mirror) while the lists are still known.
    valueDefs_->Free();
    valueDefs_ = nullptr;
    internalValueDefs_->Free();
    internalValueDefs_ = nullptr;
}

void TcxDataStorage::InitStructure(TcxValueDefs* valueDefs)
{
    if (dynamic_cast<TcxInternalValueDefs*>(valueDefs))
        valueDefs->Prepare(kInternalRecordOffset);
    else
        valueDefs->Prepare(useRecordID_ ? 5 : 1);
}

TcxValueDefs* TcxDataStorage::ValueDefsByRecordIndex(int recordIndex) const
{
    return recordIndex < 0 ? static_cast<TcxValueDefs*>(internalValueDefs_) : valueDefs_;
}

void* TcxDataStorage::RecordBuffer(int recordIndex) const
{
    return recordIndex < 0 ? internalRecords_.Get(-recordIndex - 1) : records_.Get(recordIndex);
}

void* TcxDataStorage::AllocRecordBuffer(int recordIndex)
{
    void* buffer = RecordBuffer(recordIndex);
    if (!buffer) {
        int size = ValueDefsByRecordIndex(recordIndex)->RecordSize();
        buffer = std::calloc(static_cast<std::size_t>(std::max(size, 1)), 1);
        if (!buffer)
            throw std::bad_alloc();
        ListOf(recordIndex).Put(recordIndex < 0 ? -recordIndex - 1 : recordIndex, buffer);
    }
    return buffer;
}

void TcxDataStorage::FreeAndNilRecordBuffer(int recordIndex)
{
    void* buffer = RecordBuffer(recordIndex);
    if (!buffer)
        return;
    ListOf(recordIndex).Put(recordIndex < 0 ? -recordIndex - 1 : recordIndex, nullptr);
    TcxValueDefs* defs = ValueDefsByRecordIndex(recordIndex);
    for (TcxValueDef* def : defs->items_)
        def->FreeBuffer(buffer);
    std::free(buffer);
}

void TcxDataStorage::AssignID(int recordIndex)
{
    if (useRecordID_ && GetRecordID(recordIndex) == 0 && recordIDCounter_ < std::numeric_limits<int>::max())
        SetRecordID(recordIndex, recordIDCounter_++);
}

// IDs are never reused while records exist: past the greatest one there is none left to give,
// and the records are refused before any is added.
void TcxDataStorage::CheckIDsLeft(int count) const
{
    if (useRecordID_ && count > std::numeric_limits<int>::max() - recordIDCounter_)
        throw ERangeError("Record ID out of range");
}

int TcxDataStorage::AppendRecord()
{
    CheckIDsLeft(1);
    records_.Add(nullptr);
    int index = records_.Count() - 1;
    AssignID(index);
    return index;
}

void TcxDataStorage::InsertRecord(int recordIndex)
{
    CheckIDsLeft(1);
    records_.Insert(recordIndex, nullptr);
    AssignID(recordIndex);
}

void TcxDataStorage::DeleteRecord(int recordIndex)
{
    if (recordIndex < 0) {
        DeleteInternalRecord(recordIndex);
        return;
    }
    FreeAndNilRecordBuffer(recordIndex);
    records_.Delete(recordIndex);
    if (records_.Count() == 0)
        recordIDCounter_ = 1;
}

void TcxDataStorage::SetRecordCount(int count)
{
    count = std::max(count, 0);
    const int old = RecordCount();
    if (count > old) {
        CheckIDsLeft(count - old);
        records_.SetCount(count);   // one allocation; a record gets its block when first written
        for (int i = old; i < count; ++i)
            AssignID(i);
    }
    while (RecordCount() > count)
        DeleteRecord(RecordCount() - 1);
}

int TcxDataStorage::AddInternalRecord()
{
    int position = -1;
    for (int i = 0; i < internalRecords_.Count(); ++i) {
        void* b = internalRecords_.Get(i);
        if (!b || !(Bytes(b)[0] & kInternalRecordInUse)) {
            position = i;
            break;
        }
    }
    if (position < 0)
        position = internalRecords_.Add(nullptr);
    int index = -position - 1;
    Bytes(AllocRecordBuffer(index))[0] |= kInternalRecordInUse;
    return index;
}

void TcxDataStorage::DeleteInternalRecord(int recordIndex) { FreeAndNilRecordBuffer(recordIndex); }

void TcxDataStorage::Clear(bool keepInternalRecords)
{
    if (!keepInternalRecords)
        ClearInternalRecords();
    ClearRecords(true);
}

void TcxDataStorage::ClearInternalRecords()
{
    for (int i = 0; i < internalRecords_.Count(); ++i)
        FreeAndNilRecordBuffer(-i - 1);
    internalRecords_.Clear();
    CallEvent(OnClearInternalRecords, this);
}

void TcxDataStorage::ClearRecords(bool clearList)
{
    for (int i = 0; i < records_.Count(); ++i)
        FreeAndNilRecordBuffer(i);
    if (clearList)
        records_.Clear();
    if (records_.Count() == 0)
        recordIDCounter_ = 1;
    for (int i = 0; i < records_.Count(); ++i)
        AssignID(i);
}

bool TcxDataStorage::CheckValueDef(int recordIndex, TcxValueDef*& def) const
{
    if (def->Owner() == internalValueDefs_)
        return true;
    if (recordIndex < 0)
        def = internalValueDefs_->FindByLinkObject(def);
    return def != nullptr && def->Stored();   // an unstored value has no bytes to read or write
}

Variant TcxDataStorage::GetValue(int recordIndex, TcxValueDef* def)
{
    if (!CheckValueDef(recordIndex, def))
        return Null;
    void* buffer = RecordBuffer(recordIndex);
    return buffer ? def->GetDataValue(buffer) : Null;
}

void TcxDataStorage::SetValue(int recordIndex, TcxValueDef* def, const Variant& value)
{
    if (CheckValueDef(recordIndex, def))
        def->SetDataValue(AllocRecordBuffer(recordIndex), value);
}

std::string TcxDataStorage::GetDisplayText(int recordIndex, TcxValueDef* def)
{
    if (!CheckValueDef(recordIndex, def))
        return {};
    void* buffer = RecordBuffer(recordIndex);
    return buffer ? def->GetDisplayText(buffer) : std::string();
}

void TcxDataStorage::SetDisplayText(int recordIndex, TcxValueDef* def, const std::string& text)
{
    if (CheckValueDef(recordIndex, def))
        def->SetDisplayText(AllocRecordBuffer(recordIndex), text);
}

// A main and an internal record are laid out by different definitions (internal records keep a
// fixed layout), so each side is read through the definition of its own list.
TcxValueDef* TcxDataStorage::LayoutDef(int recordIndex, TcxValueDef* def) const
{
    const bool internal = def->Owner() == internalValueDefs_;
    if (recordIndex < 0)
        return internal ? def : internalValueDefs_->FindByLinkObject(def);
    TcxValueDef* main = internal ? static_cast<TcxInternalValueDef*>(def)->GetValueDef() : def;
    return main && main->Stored() ? main : nullptr;
}

int TcxDataStorage::CompareRecords(int recordIndex1, int recordIndex2, TcxValueDef* def)
{
    TcxValueDef* d1 = LayoutDef(recordIndex1, def);
    TcxValueDef* d2 = LayoutDef(recordIndex2, def);
    if (!d1 || !d2)
        return 0;
    if (d1 == d2)
        return d1->Compare(RecordBuffer(recordIndex1), RecordBuffer(recordIndex2));
    void *p1, *p2;
    bool n1 = GetCompareInfo(recordIndex1, d1, p1), n2 = GetCompareInfo(recordIndex2, d2, p2);
    return d1->CompareValues(n1, n2, p1, p2);
}

bool TcxDataStorage::GetCompareInfo(int recordIndex, TcxValueDef* def, void*& p)
{
    def = LayoutDef(recordIndex, def);
    void* buffer = RecordBuffer(recordIndex);
    if (!buffer || !def) {   // a record without a block reads as null
        p = nullptr;
        return true;
    }
    p = Bytes(buffer) + def->Offset();
    if (Bytes(p)[0] == 0)
        return true;
    p = Bytes(p) + 1;
    def->ValueTypeClass()->PrepareValueBuffer(p);
    return false;
}

// Only records laid out with an ID have one; without IDs the bytes belong to the first value.
int TcxDataStorage::GetRecordID(int recordIndex)
{
    if (recordIndex >= 0 && !useRecordID_)
        return 0;
    return ReadInteger(AllocRecordBuffer(recordIndex), 1);
}

void TcxDataStorage::SetRecordID(int recordIndex, int id)
{
    if (recordIndex >= 0 && !useRecordID_)
        return;
    WriteInteger(AllocRecordBuffer(recordIndex), id, 1);
}

void TcxDataStorage::ReadRecord(int recordIndex, TcxValueDefReader* reader)
{
    void* buffer = AllocRecordBuffer(recordIndex);
    for (TcxValueDef* def : ValueDefsByRecordIndex(recordIndex)->items_) {
        if (reader->IsInternal(def) || !def->Stored())
            continue;
        def->SetDataValue(buffer, reader->GetValue(def));
        if (def->TextStored())
            def->SetDisplayText(buffer, reader->GetDisplayText(def));
    }
}

void TcxDataStorage::ReadRecordFrom(int fromIndex, int toIndex, TcxValueDefReader* reader, const TcxValueDefReadProc& proc)
{
    for (TcxValueDef* def : ValueDefsByRecordIndex(fromIndex)->items_)
        proc(def, fromIndex, toIndex, reader);
}

void TcxDataStorage::BeginStreaming(const TcxValueDefCompareFunc& compare)
{
    streamingOrder_ = valueDefs_->items_;
    std::stable_sort(streamingOrder_.begin(), streamingOrder_.end(),
                     [&](TcxValueDef* a, TcxValueDef* b) { return compare(a, b) < 0; });
    streaming_ = true;
}

void TcxDataStorage::EndStreaming()
{
    streaming_ = false;
    streamingOrder_.clear();
}

void TcxDataStorage::WriteData(int recordIndex, TStream* stream)
{
    TdxStream dx(stream);
    void* buffer = RecordBuffer(recordIndex);
    WriteBooleanProc(&dx, buffer == nullptr);
    if (!buffer)
        return;
    if (useRecordID_)
        WriteIntegerProc(&dx, GetRecordID(recordIndex));
    for (int i = 0; i < valueDefs_->Count(); ++i) {
        TcxValueDef* def = valueDefs_->Items(i);
        if (!def->StreamStored || !def->Stored())
            continue;
        def->WriteDataValue(buffer, &dx);
        def->WriteDisplayText(buffer, &dx);
    }
}

void TcxDataStorage::ReadData(int recordIndex, TStream* stream)
{
    TdxStream dx(stream);
    if (ReadBooleanFunc(&dx)) {
        FreeAndNilRecordBuffer(recordIndex);
        return;
    }
    void* buffer = AllocRecordBuffer(recordIndex);
    if (useRecordID_) {
        int id = ReadIntegerFunc(&dx);
        if (id == std::numeric_limits<int>::max())   // would leave no ID for the next record
            throw EReadError(LoadResString(&cxSDataReadError));
        SetRecordID(recordIndex, id);
        if (id >= recordIDCounter_)
            recordIDCounter_ = id + 1;
    }
    for (int i = 0; i < valueDefs_->Count(); ++i) {
        TcxValueDef* def = valueDefs_->Items(i);
        if (!def->StreamStored || !def->Stored())
            continue;
        def->ReadDataValue(buffer, &dx);
        def->ReadDisplayText(buffer, &dx);
    }
}

void TcxDataStorage::ResetLayout()
{
    for (int i = 0; i < records_.Count(); ++i)
        FreeAndNilRecordBuffer(i);
    InitStructure(valueDefs_);
    for (int i = 0; i < records_.Count(); ++i)
        AssignID(i);
}

void TcxDataStorage::SetStoredValuesOnly(bool value)
{
    if (storedValuesOnly_ != value) {
        storedValuesOnly_ = value;
        ResetLayout();
    }
}

void TcxDataStorage::SetUseRecordID(bool value)
{
    if (useRecordID_ != value) {
        useRecordID_ = value;
        ResetLayout();
    }
}

void TcxDataStorage::InsertValueDef(int position, TcxValueDef* def)
{
    bool isMain = def->Owner() == valueDefs_;
    if (isMain)
        internalValueDefs_->Add(def->ValueTypeClass(), true, def->TextStored(), def);
    int size = def->BufferSize();
    if (size == 0)
        return;
    TcxValueDefs* defs = def->Owner();
    TList& list = isMain ? records_ : internalRecords_;
    int oldSize = defs->RecordSize();
    int at = position < defs->Count() ? defs->items_[position]->Offset() : oldSize;
    for (int i = 0; i < list.Count(); ++i) {
        void* b = list.Get(i);
        if (!b)
            continue;
        void* nb = std::realloc(b, static_cast<std::size_t>(oldSize + size));
        if (!nb)
            throw std::bad_alloc();
        std::memmove(Bytes(nb) + at + size, Bytes(nb) + at, static_cast<std::size_t>(oldSize - at));
        std::memset(Bytes(nb) + at, 0, static_cast<std::size_t>(size));
        list.Put(i, nb);
    }
}

void TcxDataStorage::RemoveValueDef(TcxValueDef* def)
{
    bool isMain = def->Owner() == valueDefs_;
    if (isMain)
        internalValueDefs_->RemoveByLinkObject(def);
    if (!def->Stored() || def->BufferSize() == 0)
        return;
    TcxValueDefs* defs = def->Owner();
    TList& list = isMain ? records_ : internalRecords_;
    // Records that hold nothing else lose their block; those that carry an ID or the in-use mark
    // of an internal record keep it, narrowed.
    if (isMain && !useRecordID_ && defs->GetStoredCount() == 1) {
        for (int i = 0; i < list.Count(); ++i)
            FreeAndNilRecordBuffer(i);
        return;
    }
    int oldSize = defs->RecordSize(), at = def->Offset(), size = def->BufferSize();
    for (int i = 0; i < list.Count(); ++i) {
        void* b = list.Get(i);
        if (!b)
            continue;
        def->FreeBuffer(b);
        std::memmove(Bytes(b) + at, Bytes(b) + at + size, static_cast<std::size_t>(oldSize - at - size));
        void* nb = std::realloc(b, static_cast<std::size_t>(std::max(oldSize - size, 1)));
        list.Put(i, nb ? nb : b);
    }
}

void TcxDataStorage::ReshapeValueDef(TcxValueDef* def, TcxValueTypeClass valueType, bool stored, bool textStored)
{
    // The mirror of a main definition lays out the internal records (rows being edited) alike.
    if (def->Owner() == valueDefs_)
        if (TcxValueDef* mirror = internalValueDefs_->FindByLinkObject(def))
            ReshapeValueDef(mirror, valueType, true, textStored);
    TcxValueDefs* defs = def->Owner();
    TList& list = defs == valueDefs_ ? records_ : internalRecords_;
    const int at = def->Offset(), oldSize = def->BufferSize(), oldRecordSize = defs->RecordSize();
    const bool hadText = oldSize > 0 && def->TextStored();
    struct Kept {
        Variant Value;
        std::string Text;
    };
    // A slot of the Object kind owns its object. The object moves when the new form owns objects
    // too; no other kind converts into or out of an owned object, so the value is dropped there
    // (and the object freed).
    const auto ownsObjects = [](TcxValueTypeClass type) { return dynamic_cast<const TcxObjectValueType*>(type) != nullptr; };
    const bool wasObject = ownsObjects(def->valueTypeClass_), isObject = ownsObjects(valueType);
    const bool moveObjects = wasObject && isObject && stored;
    const bool keepValues = wasObject == isObject;
    std::vector<Kept> kept(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        if (void* b = list.Get(i); b && oldSize > 0) {
            if (keepValues)
                kept[i].Value = def->GetDataValue(b);
            if (hadText)
                kept[i].Text = def->GetDisplayText(b);
            if (!moveObjects)
                def->FreeBuffer(b);
            else if (hadText)
                def->valueTypeClass_->FreeTextBuffer(def->TextSlot(b));
        }
    def->valueTypeClass_ = valueType;
    def->stored_ = stored;
    def->textStored_ = textStored;
    InitStructure(defs);
    const int newSize = def->BufferSize(), newRecordSize = defs->RecordSize();
    const auto tail = static_cast<std::size_t>(oldRecordSize - at - oldSize);
    for (int i = 0; i < list.Count(); ++i) {
        void* b = list.Get(i);
        if (!b)
            continue;
        if (newSize > oldSize) {
            void* nb = std::realloc(b, static_cast<std::size_t>(newRecordSize));
            if (!nb)
                throw std::bad_alloc();
            b = nb;
            std::memmove(Bytes(b) + at + newSize, Bytes(b) + at + oldSize, tail);
        } else {
            std::memmove(Bytes(b) + at + newSize, Bytes(b) + at + oldSize, tail);
            if (void* nb = std::realloc(b, static_cast<std::size_t>(std::max(newRecordSize, 1))))
                b = nb;
        }
        std::memset(Bytes(b) + at, 0, static_cast<std::size_t>(newSize));
        list.Put(i, b);
        if (newSize == 0)
            continue;
        try {   // a value the new type cannot hold becomes null
            if (!kept[i].Value.IsEmpty())
                def->SetDataValue(b, kept[i].Value);
        } catch (const EVariantError&) {
        } catch (const EConvertError&) {
        }
        if (hadText && def->TextStored())
            def->SetDisplayText(b, kept[i].Text);
    }
}

// --- helper ---------------------------------------------------------------------------------------------
void* TcxDataStorageHelper::AllocateRecord(TcxDataStorage* storage)
{
    void* b = std::calloc(static_cast<std::size_t>(std::max(GetRecordSize(storage), 1)), 1);
    if (!b)
        throw std::bad_alloc();
    return b;
}

void TcxDataStorageHelper::AppendRecord(TcxDataStorage* storage, void* buffer) { storage->records_.Add(buffer); }

void* TcxDataStorageHelper::RemoveRecord(TcxDataStorage* storage, int recordIndex)
{
    void* b = storage->records_.Get(recordIndex);
    storage->records_.Delete(recordIndex);
    return b;
}

void TcxDataStorageHelper::FreeRecord(TcxDataStorage* storage, void*& buffer)
{
    if (!buffer)
        return;
    for (TcxValueDef* def : storage->ValueDefs()->items_)
        def->FreeBuffer(buffer);
    std::free(buffer);
    buffer = nullptr;
}

void TcxDataStorageHelper::SetRecordsCapacity(TcxDataStorage* storage, int capacity) { storage->records_.SetCapacity(capacity); }

void TcxDataStorageHelper::SetTextStored(TcxValueDef* def, bool value)
{
    if (def->textStored_ != value)
        def->Owner()->DataStorage()->ReshapeValueDef(def, def->valueTypeClass_, def->stored_, value);
}

// --- TcxLookupList ---------------------------------------------------------------------------------------
bool TcxLookupList::Find(const Variant& key, int& index) const
{
    int lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = VarCompare(items_[mid].Key, key);
        if (c == 0) {
            index = mid;
            return true;
        }
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    index = lo;
    return false;
}

void TcxLookupList::Insert(int index, const Variant& key, const std::string& displayText)
{
    items_.insert(items_.begin() + std::clamp(index, 0, Count()), TcxLookupListItem{key, displayText});
}

} // namespace cx
