#include "toolkit/data/cxFilter.h"

#include <algorithm>
#include <utility>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/data/cxDataConsts.h"

namespace cx {

// --- TcxCustomFilterCriteriaItem ---------------------------------------------------------------------
void TcxCustomFilterCriteriaItem::BeforeDestruction()
{
    if (parent_)
        parent_->RemoveItem(this);
}

void TcxCustomFilterCriteriaItem::Changed()
{
    if (TcxFilterCriteria* c = GetCriteria())
        c->Changed();
}

// Walks up to the root iteratively: a criteria tree may be deep, and every change asks for it.
TcxFilterCriteria* TcxCustomFilterCriteriaItem::GetCriteria() const
{
    for (const TcxFilterCriteriaItemList* list = parent_; list; list = list->parent_)
        if (list->criteria_)
            return list->criteria_;
    return nullptr;
}

// --- TcxFilterCriteriaItemList ---------------------------------------------------------------------------
TcxFilterCriteriaItemList::TcxFilterCriteriaItemList(TcxFilterCriteriaItemList* parent, TcxFilterBoolOperatorKind kind)
    : TcxCustomFilterCriteriaItem(parent), boolOperatorKind_(kind)
{
}

void TcxFilterCriteriaItemList::BeforeDestruction()
{
    while (!items_.empty())
        items_.back()->Free();
    TcxCustomFilterCriteriaItem::BeforeDestruction();
}

TcxFilterCriteria* TcxFilterCriteriaItemList::GetCriteria() const
{
    return criteria_ ? criteria_ : TcxCustomFilterCriteriaItem::GetCriteria();
}

void TcxFilterCriteriaItemList::RemoveItem(TcxCustomFilterCriteriaItem* item)
{
    // From the end: a list frees its items last first.
    auto it = std::find(items_.rbegin(), items_.rend(), item);
    if (it == items_.rend())
        return;
    items_.erase(std::next(it).base());
    item->parent_ = nullptr;
    Changed();
}

TcxFilterCriteriaItem* TcxFilterCriteriaItemList::AddItem(TObject* itemLink, TcxFilterOperatorKind kind,
                                                          const Variant& value, const std::string& displayValue)
{
    TcxFilterCriteriaItem* item = GetCriteria()->GetItemClass().Create(this, itemLink, kind, value, displayValue);
    item->AfterConstruction();
    items_.push_back(item);
    Changed();
    return item;
}

TcxFilterCriteriaItemList* TcxFilterCriteriaItemList::AddItemList(TcxFilterBoolOperatorKind kind)
{
    TcxFilterCriteriaItemList* list = GetCriteria()->GetItemListClass().Create(this, kind);
    items_.push_back(list);
    Changed();
    return list;
}

void TcxFilterCriteriaItemList::Clear()
{
    TcxFilterCriteria* criteria = GetCriteria();
    if (criteria)
        criteria->BeginUpdate();
    try {
        while (!items_.empty())
            items_.back()->Free();
    } catch (...) {
        if (criteria)
            criteria->EndUpdate();
        throw;
    }
    if (criteria)
        criteria->EndUpdate();
}

TcxCustomFilterCriteriaItem* TcxFilterCriteriaItemList::Items(int index) const
{
    return index >= 0 && index < Count() ? items_[index] : nullptr;
}

void TcxFilterCriteriaItemList::SetBoolOperatorKind(TcxFilterBoolOperatorKind value)
{
    if (boolOperatorKind_ != value) {
        boolOperatorKind_ = value;
        Changed();
    }
}

bool TcxFilterCriteriaItemList::DoFilterData(void* data)
{
    bool result = true;
    bool negated = boolOperatorKind_ == fboNotAnd || boolOperatorKind_ == fboNotOr;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        TcxCustomFilterCriteriaItem* child = items_[i];
        bool c;
        if (child->GetIsItemList()) {
            c = static_cast<TcxFilterCriteriaItemList*>(child)->DoFilterData(data);
        } else {
            auto* leaf = static_cast<TcxFilterCriteriaItem*>(child);
            TcxFilterCriteria* criteria = GetCriteria();
            try {
                Variant d = criteria->PrepareValue(leaf->GetDataValue(data));
                Variant v = criteria->PrepareValue(leaf->Value());
                if (criteria->Options().Contains(fcoIgnoreNull) && !leaf->Operator()->IsNullOperator() && leaf->ValueIsNull(d))
                    c = false;
                else
                    c = leaf->Operator()->CompareValues(d, v);
            } catch (const EVariantError&) {
                if (!criteria->Options().Contains(fcoSoftCompare))
                    throw;
                c = false;
            }
        }
        if (i == 0)
            result = negated ? !c : c;
        else {
            switch (boolOperatorKind_) {
            case fboAnd: result = result && c; break;
            case fboOr: result = result || c; break;
            case fboNotAnd: result = result || !c; break;
            case fboNotOr: result = result && !c; break;
            }
        }
    }
    return result;
}

void TcxFilterCriteriaItemList::WriteData(TStream* stream)
{
    WriteByteProc(stream, static_cast<Byte>(boolOperatorKind_));
    WriteIntegerProc(stream, Count());
    for (TcxCustomFilterCriteriaItem* child : items_) {
        WriteBooleanProc(stream, child->GetIsItemList());
        child->WriteData(stream);
    }
}

namespace {
// No filter a user builds nests lists this deep; a stream that does is damaged, and reading,
// evaluating or rendering it would exhaust the stack.
constexpr int kMaxFilterNesting = 64;

int ListDepth(const TcxFilterCriteriaItemList* list)
{
    int depth = 0;
    for (const TcxFilterCriteriaItemList* p = list->Parent(); p && depth <= kMaxFilterNesting; p = p->Parent())
        ++depth;
    return depth;
}
} // namespace

void TcxFilterCriteriaItemList::ReadChildren(TStream* stream, int count)
{
    for (int i = 0; i < count; ++i) {
        TcxCustomFilterCriteriaItem* child;
        if (ReadBooleanFunc(stream)) {
            if (ListDepth(this) >= kMaxFilterNesting)
                throw EReadError(LoadResString(&cxSDataReadError));
            child = AddItemList(fboAnd);
        } else {
            child = AddItem(nullptr, foEqual, Null, "");
        }
        try {
            child->ReadData(stream);
        } catch (...) {
            // A child cut short keeps nothing half-read.
            child->Free();
            throw;
        }
        if (child->IsEmpty())
            child->Free();
    }
}

void TcxFilterCriteriaItemList::ReadData(TStream* stream)
{
    Byte kind = ReadByteFunc(stream);
    if (kind > fboNotOr)
        throw EReadError("Invalid filter operator");
    SetBoolOperatorKind(static_cast<TcxFilterBoolOperatorKind>(kind));
    ReadChildren(stream, ReadIntegerFunc(stream));
}

// --- TcxFilterCriteriaItem ------------------------------------------------------------------------------------
TcxFilterCriteriaItem::TcxFilterCriteriaItem(TcxFilterCriteriaItemList* parent, TObject* itemLink,
                                             TcxFilterOperatorKind kind, const Variant& value,
                                             const std::string& displayValue)
    : TcxCustomFilterCriteriaItem(parent), displayValue_(displayValue), itemLink_(itemLink), operatorKind_(kind), value_(value)
{
}

TcxFilterCriteriaItem::~TcxFilterCriteriaItem() { FreeObject(operator_); }

void TcxFilterCriteriaItem::AfterConstruction()
{
    SetItemLink(itemLink_);
    RecreateOperator();
    CheckDisplayValue();
}

Variant TcxFilterCriteriaItem::GetDataValue(void*) { throw EAbstractError("Abstract Error"); }
std::string TcxFilterCriteriaItem::GetFieldCaption() { throw EAbstractError("Abstract Error"); }
std::string TcxFilterCriteriaItem::GetFieldName() { throw EAbstractError("Abstract Error"); }

std::string TcxFilterCriteriaItem::GetDisplayValue()
{
    std::string text = displayValue_;
    operator_->PrepareDisplayValue(text);
    return text;
}

std::string TcxFilterCriteriaItem::GetExpressionValue(bool displayForm)
{
    return displayForm ? GetDisplayValue() : operator_->GetExpressionValue(value_);
}

TcxFilterOperatorClass TcxFilterCriteriaItem::GetFilterOperatorClass()
{
    if (ValueIsNull(value_)) {
        if (operatorKind_ == foEqual || operatorKind_ == foLike)
            return TcxFilterOperatorClass::Of<TcxFilterNullOperator>();
        if (operatorKind_ == foNotEqual || operatorKind_ == foNotLike)
            return TcxFilterOperatorClass::Of<TcxFilterNotNullOperator>();
    }
    return cxFilterOperatorClassByKind(operatorKind_);
}

void TcxFilterCriteriaItem::SetItemLink(TObject* value) { itemLink_ = value; }

void TcxFilterCriteriaItem::RecreateOperator()
{
    bool existed = operator_ != nullptr;
    FreeAndNil(operator_);
    operator_ = GetFilterOperatorClass().Create(this);
    if (existed)
        Changed();
}

bool TcxFilterCriteriaItem::ValueIsNull(const Variant& value)
{
    TcxFilterCriteria* c = GetCriteria();
    return c ? c->ValueIsNull(value) : value.IsNull();
}

void TcxFilterCriteriaItem::CheckDisplayValue()
{
    if (dynamic_cast<TcxFilterNullOperator*>(operator_) && displayValue_.empty())
        displayValue_ = cxSFilterString(&cxSFilterBlankCaption);
}

void TcxFilterCriteriaItem::SetDisplayValue(const std::string& value)
{
    if (displayValue_ != value) {
        displayValue_ = value;
        Changed();
    }
}

void TcxFilterCriteriaItem::SetOperatorKind(TcxFilterOperatorKind value)
{
    if (operatorKind_ != value) {
        operatorKind_ = value;
        RecreateOperator();
    }
}

void TcxFilterCriteriaItem::SetValue(const Variant& value)
{
    if (VarCompare(value_, value) == 0)
        return;
    value_ = value;
    RecreateOperator();
}

void TcxFilterCriteriaItem::WriteData(TStream* stream)
{
    TcxFilterCriteria* criteria = GetCriteria();
    dxWriteStreamType(stream);
    WriteByteProc(stream, static_cast<Byte>(operatorKind_));
    WriteAnsiStringProc(stream, criteria->TextToStream(dxStringToAnsiString(displayValue_, 0)));
    WriteIntegerProc(stream, criteria->GetIDByItemLink(ItemLink()));
    if (criteria->SavedVersion() >= 3)
        WriteAnsiStringProc(stream, criteria->TextToStream(criteria->GetNameByItemLink(ItemLink())));
    WriteVariantProc(stream, criteria->ValueToStream(value_));
}

void TcxFilterCriteriaItem::ReadData(TStream* stream)
{
    TcxFilterCriteria* criteria = GetCriteria();
    TdxStream dx(stream);
    auto readText = [&]() {
        return dx.IsUnicode() ? Utf16ToUtf8(ReadWideStringFunc(stream))
                              : criteria->TextFromStream(dxAnsiStringToString(ReadAnsiStringFunc(stream), 0));
    };
    Byte kind = ReadByteFunc(stream);
    if (kind > foInFuture)
        throw EReadError("Invalid filter operator");
    SetOperatorKind(static_cast<TcxFilterOperatorKind>(kind));
    SetDisplayValue(readText());
    int id = ReadIntegerFunc(stream);
    std::string name = criteria->LoadedVersion() >= 3 ? readText() : std::string();
    Variant value = criteria->ValueFromStream(ReadVariantFunc(stream));
    // Between and list conditions evaluate and render their value as a one-dimensional array
    // (two bounds for between): anything else would fail at every refresh.
    if (const TcxFilterOperatorKind k = static_cast<TcxFilterOperatorKind>(kind);
        k == foBetween || k == foNotBetween || k == foInList || k == foNotInList) {
        const bool between = k == foBetween || k == foNotBetween;
        if (!VarIsArray(value) || value.DimCount() != 1 ||
            (between && static_cast<std::int64_t>(value.HighBound()) - value.LowBound() != 1))
            throw EReadError(LoadResString(&cxSDataReadError));
    }
    SetValue(value);
    TObject* link = nullptr;
    if (!name.empty()) {
        link = criteria->GetItemLinkByName(name);
        if (!link) {
            link = criteria->GetItemLinkByID(id);
            if (link && !criteria->GetNameByItemLink(link).empty())
                link = nullptr;
        }
    } else {
        link = criteria->GetItemLinkByID(id);
    }
    SetItemLink(link);
    CheckDisplayValue();
}

// --- TcxFilterCriteria ------------------------------------------------------------------------------------------
TcxFilterCriteria::TcxFilterCriteria()
{
    root_ = new TcxFilterCriteriaItemList(nullptr, fboAnd);
    root_->criteria_ = this;
}

TcxFilterCriteria::~TcxFilterCriteria()
{
    ++lockCount_;   // tearing down notifies nobody
    root_->Free();
}

void TcxFilterCriteria::EndUpdate()
{
    --lockCount_;
    CheckChanges();
}

void TcxFilterCriteria::Changed()
{
    changed_ = true;
    CheckChanges();
}

void TcxFilterCriteria::CheckChanges()
{
    if (changed_ && lockCount_ == 0) {
        changed_ = false;
        Prepare();
        Update();
    }
}

namespace {
void PrepareList(TcxFilterCriteriaItemList* list)
{
    for (int i = 0; i < list->Count(); ++i) {
        TcxCustomFilterCriteriaItem* child = list->Items(i);
        if (child->GetIsItemList())
            PrepareList(static_cast<TcxFilterCriteriaItemList*>(child));
        else if (TcxFilterOperator* op = static_cast<TcxFilterCriteriaItem*>(child)->Operator())
            op->Prepare();
    }
}
} // namespace

void TcxFilterCriteria::Prepare() { PrepareList(root_); }

std::string TcxFilterCriteria::ConvertBoolToStr(const Variant& value) { return VarToStr(value); }

std::string TcxFilterCriteria::ConvertDateToStr(const Variant& value)
{
    if (!dateTimeFormat_.empty())
        return FormatDateTime(dateTimeFormat_, value.ToDate());
    return VarToStr(value);
}

int TcxFilterCriteria::GetIDByItemLink(TObject*) { throw EAbstractError("Abstract Error"); }
std::string TcxFilterCriteria::GetNameByItemLink(TObject*) { throw EAbstractError("Abstract Error"); }
TObject* TcxFilterCriteria::GetItemLinkByID(int) { throw EAbstractError("Abstract Error"); }
TObject* TcxFilterCriteria::GetItemLinkByName(const std::string&) { throw EAbstractError("Abstract Error"); }

TcxFilterCriteriaItemClass TcxFilterCriteria::GetItemClass() { return TcxFilterCriteriaItemClass::Of<TcxFilterCriteriaItem>(); }
TcxFilterCriteriaItemListClass TcxFilterCriteria::GetItemListClass() { return TcxFilterCriteriaItemListClass::Of<TcxFilterCriteriaItemList>(); }
TcxFilterValueListClass TcxFilterCriteria::GetValueListClass() { return TcxFilterValueListClass::Of<TcxFilterValueList>(); }

Variant TcxFilterCriteria::PrepareValue(const Variant& value)
{
    if (value.VType() == varCurrency)
        return Variant(value.ToDouble());
    if (VarIsStr(value) && options_.Contains(fcoCaseInsensitive))
        return Variant(AnsiUpperCase(value.ToString()));
    if (value.IsArray()) {
        Variant r = VarArrayCreate(value.LowBound(), value.HighBound(), varVariant);
        for (int i = value.LowBound(); i <= value.HighBound(); ++i)
            r[i] = PrepareValue(value[i]);
        return r;
    }
    return value;
}

bool TcxFilterCriteria::ValueIsNull(const Variant& value)
{
    return options_.Contains(fcoSoftNull) ? VarIsSoftNull(value) : value.IsNull();
}

TcxFilterCriteriaItem* TcxFilterCriteria::AddItem(TcxFilterCriteriaItemList* parent, TObject* itemLink,
                                                  TcxFilterOperatorKind kind, const Variant& value,
                                                  const std::string& displayValue)
{
    return (parent ? parent : root_)->AddItem(itemLink, kind, value, displayValue);
}

void TcxFilterCriteria::Clear()
{
    BeginUpdate();
    try {
        root_->Clear();
        root_->SetBoolOperatorKind(fboAnd);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TcxFilterCriteria::DoFilterData(void* data) { return root_->DoFilterData(data); }

namespace {
TcxFilterCriteriaItem* FindLeaf(TcxFilterCriteriaItemList* list, const std::function<bool(TcxFilterCriteriaItem*)>& match)
{
    for (int i = 0; i < list->Count(); ++i) {
        TcxCustomFilterCriteriaItem* child = list->Items(i);
        if (child->GetIsItemList()) {
            if (TcxFilterCriteriaItem* r = FindLeaf(static_cast<TcxFilterCriteriaItemList*>(child), match))
                return r;
        } else if (match(static_cast<TcxFilterCriteriaItem*>(child))) {
            return static_cast<TcxFilterCriteriaItem*>(child);
        }
    }
    return nullptr;
}

void RecreateOperators(TcxFilterCriteriaItemList* list)
{
    for (int i = 0; i < list->Count(); ++i) {
        TcxCustomFilterCriteriaItem* child = list->Items(i);
        if (child->GetIsItemList())
            RecreateOperators(static_cast<TcxFilterCriteriaItemList*>(child));
        else
            static_cast<TcxFilterCriteriaItem*>(child)->RecreateOperator();
    }
}
} // namespace

TcxFilterCriteriaItem* TcxFilterCriteria::FindItem(const std::function<bool(TcxFilterCriteriaItem*)>& match)
{
    return FindLeaf(root_, match);
}

TcxFilterCriteriaItem* TcxFilterCriteria::FindItemByItemLink(TObject* itemLink)
{
    return FindItem([itemLink](TcxFilterCriteriaItem* item) { return item->ItemLink() == itemLink; });
}

void TcxFilterCriteria::RemoveItemByItemLink(TObject* itemLink)
{
    BeginUpdate();
    bool removed = false;
    try {
        while (TcxFilterCriteriaItem* leaf = FindItemByItemLink(itemLink)) {
            removed = true;
            TcxFilterCriteriaItemList* list = leaf->Parent();
            leaf->Free();
            // Tidy up: empty lists vanish, a list of one child hands it to its parent.
            while (list && list != root_) {
                TcxFilterCriteriaItemList* parent = list->Parent();
                if (list->Count() == 0) {
                    list->Free();
                    list = parent;
                    continue;
                }
                if (list->Count() == 1) {
                    TcxCustomFilterCriteriaItem* child = list->Items(0);
                    list->items_.clear();
                    child->parent_ = parent;
                    parent->items_.push_back(child);
                    list->Free();
                }
                break;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    if (removed) {
        changed_ = true;
        EndUpdate();
    } else {
        CancelUpdate();
    }
}

void TcxFilterCriteria::Refresh()
{
    BeginUpdate();
    try {
        RecreateOperators(root_);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxFilterCriteria::SetDateTimeFormat(const std::string& value)
{
    if (dateTimeFormat_ != value) {
        dateTimeFormat_ = value;
        Changed();
    }
}

void TcxFilterCriteria::SetOptions(TcxFilterCriteriaOptions value)
{
    if (!(options_ == value)) {
        options_ = value;
        Changed();
    }
}

void TcxFilterCriteria::SetPercentWildcard(char value)
{
    if (percentWildcard_ != value) {
        percentWildcard_ = value;
        Changed();
    }
}

void TcxFilterCriteria::SetUnderscoreWildcard(char value)
{
    if (underscoreWildcard_ != value) {
        underscoreWildcard_ = value;
        Changed();
    }
}

void TcxFilterCriteria::RestoreDefaults()
{
    BeginUpdate();
    SetOptions({});
    SetPercentWildcard('%');
    BetweenAsComparisons = InListAsComparisons = NotLikeAsNegation = false;
    SetUnderscoreWildcard('_');
    changed_ = true;
    EndUpdate();
}

// --- copying ------------------------------------------------------------------------------------------------------
void TcxFilterCriteria::Assign(TPersistent* source, bool limitToVersion2)
{
    auto* src = dynamic_cast<TcxFilterCriteria*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        SetDateTimeFormat(src->dateTimeFormat_);
        maxValueListCount_ = src->maxValueListCount_;
        SetOptions(src->options_);
        SetPercentWildcard(src->percentWildcard_);
        BetweenAsComparisons = src->BetweenAsComparisons;
        InListAsComparisons = src->InListAsComparisons;
        NotLikeAsNegation = src->NotLikeAsNegation;
        SetUnderscoreWildcard(src->underscoreWildcard_);
        SupportsLike = src->SupportsLike;
        AssignItems(src, limitToVersion2);
        AssignEvents(src);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxFilterCriteria::AssignEvents(TPersistent* source)
{
    if (auto* src = dynamic_cast<TcxFilterCriteria*>(source))
        OnChanged = src->OnChanged;
}

void TcxFilterCriteria::AssignItems(TcxFilterCriteria* source, bool limitToVersion2)
{
    if (EqualItems(source, limitToVersion2))
        return;
    BeginUpdate();
    try {
        Clear();
        TMemoryStream stream;
        Byte sourceVersion = source->version_;
        if (limitToVersion2)
            source->version_ = std::min<Byte>(sourceVersion, 2);
        try {
            source->WriteData(&stream, version_);
        } catch (...) {
            source->version_ = sourceVersion;
            throw;
        }
        source->version_ = sourceVersion;
        stream.SetPosition(0);
        ReadData(&stream);
    } catch (...) {
        EndUpdate();
        throw;
    }
    changed_ = true;
    EndUpdate();
}

bool TcxFilterCriteria::EqualItems(TcxFilterCriteria* other, bool limitToVersion2)
{
    Byte limit = limitToVersion2 ? 2 : 3;
    TMemoryStream a, b;
    WriteData(&a, std::min(other->version_, limit));
    other->WriteData(&b, std::min(version_, limit));
    return a.Bytes() == b.Bytes();
}

// --- the criteria stream ------------------------------------------------------------------------------------------
void TcxFilterCriteria::WriteData(TStream* stream, Byte highestVersion)
{
    savedVersion_ = version_;
    if (highestVersion != 0 && highestVersion < savedVersion_)
        savedVersion_ = highestVersion;
    WriteIntegerProc(stream, savedVersion_ == 2 ? -1 : savedVersion_ == 3 ? -2 : 0);
    if (savedVersion_ == 2 || savedVersion_ == 3) {
        root_->WriteData(stream);
        return;
    }
    // Version 1 has no header of its own: its first integer is the root's child count, so a
    // marker of 0 followed by the list would read back as an empty filter.
    stream->Seek(-4, soCurrent);
    WriteIntegerProc(stream, root_->Count());
    for (TcxCustomFilterCriteriaItem* child : root_->items_) {
        WriteBooleanProc(stream, child->GetIsItemList());
        child->WriteData(stream);
    }
}

void TcxFilterCriteria::ReadData(TStream* stream)
{
    // A damaged stream leaves the filter as it was: what it held is written aside first, in the
    // program's own texts, whatever the stream's encoding.
    TMemoryStream backup;
    const Byte loadedVersion = loadedVersion_, savedVersion = savedVersion_;
    const TStreamTextEncoding encoding = StreamTextEncoding;
    std::vector<std::string>* texts = std::exchange(StreamTexts, nullptr);
    StreamTextEncoding = steUtf8;
    WriteData(&backup, 0);
    StreamTextEncoding = encoding;
    StreamTexts = texts;
    savedVersion_ = savedVersion;
    BeginUpdate();
    try {
        ReadTree(stream);
    } catch (...) {
        backup.SetPosition(0);
        StreamTextEncoding = steUtf8;
        StreamTexts = nullptr;
        try {
            ReadTree(&backup);
        } catch (...) {
            Clear();
        }
        StreamTextEncoding = encoding;
        StreamTexts = texts;
        loadedVersion_ = loadedVersion;
        EndUpdate();
        throw;
    }
    changed_ = true;
    EndUpdate();
}

std::string TcxFilterCriteria::TextFromStream(const std::string& bytes)
{
    if (StreamTexts)
        StreamTexts->push_back(bytes);
    return StreamTextEncoding == steGbk ? GbkToUtf8(bytes) : bytes;
}

std::string TcxFilterCriteria::TextToStream(const std::string& text)
{
    if (StreamTexts)
        StreamTexts->push_back(text);
    return StreamTextEncoding == steGbk ? Utf8ToGbk(text) : text;
}

namespace {
// The value with each of its strings (an array's too) passed through the conversion.
Variant MapStrings(const Variant& value, const std::function<std::string(const std::string&)>& convert)
{
    if (value.IsArray()) {
        Variant copy = value;
        for (int i = value.LowBound(); i <= value.HighBound(); ++i)
            copy[i] = MapStrings(value[i], convert);
        return copy;
    }
    return value.VType() == varString ? Variant(convert(value.ToString())) : value;
}
} // namespace

Variant TcxFilterCriteria::ValueFromStream(const Variant& value)
{
    if (StreamTextEncoding == steUtf8 && !StreamTexts)
        return value;
    return MapStrings(value, [this](const std::string& s) { return TextFromStream(s); });
}

Variant TcxFilterCriteria::ValueToStream(const Variant& value)
{
    if (StreamTextEncoding == steUtf8 && !StreamTexts)
        return value;
    return MapStrings(value, [this](const std::string& s) { return TextToStream(s); });
}

void TcxFilterCriteria::ReadTree(TStream* stream)
{
    Clear();
    int id = ReadIntegerFunc(stream);
    loadedVersion_ = id == -2 ? 3 : id == -1 ? 2 : 1;
    if (loadedVersion_ == 1)
        root_->ReadChildren(stream, id);
    else
        root_->ReadData(stream);
}

// --- filter text and caption --------------------------------------------------------------------------------------
std::string TcxFilterCriteria::GetFilterExpression(bool displayForm) { return GetListExpression(root_, displayForm); }

std::string TcxFilterCriteria::GetListExpression(TcxFilterCriteriaItemList* list, bool displayForm)
{
    bool isOr = list->BoolOperatorKind() == fboOr || list->BoolOperatorKind() == fboNotOr;
    std::string word = displayForm ? cxSFilterString(isOr ? &cxSFilterOrCaption : &cxSFilterAndCaption) : (isOr ? "OR" : "AND");
    std::string text;
    for (int i = 0; i < list->Count(); ++i) {
        if (i > 0)
            text += " " + word + " ";
        TcxCustomFilterCriteriaItem* child = list->Items(i);
        text += "(";
        text += child->GetIsItemList() ? GetListExpression(static_cast<TcxFilterCriteriaItemList*>(child), displayForm)
                                       : GetItemExpression(static_cast<TcxFilterCriteriaItem*>(child), displayForm);
        text += ")";
    }
    if (list->BoolOperatorKind() == fboNotAnd || list->BoolOperatorKind() == fboNotOr)
        text = (displayForm ? cxSFilterString(&cxSFilterNotCaption) : std::string("NOT")) + " (" + text + ")";
    return text;
}

std::string TcxFilterCriteria::GetItemExpression(TcxFilterCriteriaItem* item, bool displayForm)
{
    if (!displayForm && item->Operator()->IsExpression())
        return item->Operator()->GetExpressionFilterText(item->Value());
    std::string text = GetItemExpressionFieldName(item, displayForm) + " " + GetItemExpressionOperator(item, displayForm);
    std::string value = GetItemExpressionValue(item, displayForm);
    if (!value.empty())
        text += " " + value;
    return text;
}

std::string TcxFilterCriteria::GetItemExpressionFieldName(TcxFilterCriteriaItem* item, bool displayForm)
{
    return displayForm ? item->GetFieldCaption() : item->GetFieldName();
}

std::string TcxFilterCriteria::GetItemExpressionOperator(TcxFilterCriteriaItem* item, bool displayForm)
{
    TcxFilterOperator* op = item->Operator();
    if (displayForm && (op->IsDescription() || options_.Contains(fcoShowOperatorDescription)))
        return op->DisplayText();
    return op->FilterText();
}

std::string TcxFilterCriteria::GetItemExpressionValue(TcxFilterCriteriaItem* item, bool displayForm)
{
    return item->GetExpressionValue(displayForm);
}

// --- value list ---------------------------------------------------------------------------------------------------
void TcxFilterValueList::Clear()
{
    for (PcxFilterValueItem p : items_)
        delete p;
    items_.clear();
}

void TcxFilterValueList::Delete(int index)
{
    delete items_.at(index);
    items_.erase(items_.begin() + index);
}

int TcxFilterValueList::CompareItem(int index, const Variant& value, const std::string& displayText)
{
    PcxFilterValueItem item = items_.at(index);
    bool caseInsensitive = criteria_ && criteria_->Options().Contains(fcoCaseInsensitive);
    if (SortByDisplayText) {
        std::string a = item->DisplayText, b = displayText;
        if (caseInsensitive) {
            a = AnsiUpperCase(a);
            b = AnsiUpperCase(b);
        }
        if (int c = AnsiCompareStr(a, b))
            return c;
    }
    if (!criteria_)
        return VarCompare(item->Value, value);
    return VarCompare(criteria_->PrepareValue(item->Value), criteria_->PrepareValue(value));
}

int TcxFilterValueList::GetMRUSeparatorIndex() const
{
    for (int i = 0; i < Count(); ++i) {
        if (items_[i]->Kind == fviMRUSeparator)
            return i;
        if (items_[i]->Kind != fviMRU)
            return -1;
    }
    return -1;
}

int TcxFilterValueList::GetStartValueIndex() const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i]->Kind == fviValue)
            return i;
    return Count();
}

bool TcxFilterValueList::Find(const Variant& value, const std::string& displayText, int& index)
{
    int separator = GetMRUSeparatorIndex();
    for (int i = 0; i < separator; ++i) {
        if (CompareItem(i, value, displayText) == 0) {
            index = i;
            return true;
        }
    }
    int lo = GetStartValueIndex(), hi = Count() - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareItem(mid, value, displayText);
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

void TcxFilterValueList::Add(TcxFilterValueItemKind kind, const Variant& value, const std::string& displayText, bool unsorted)
{
    auto make = [&](TcxFilterValueItemKind k, const Variant& v, const std::string& t) { return new TcxFilterValueItem{k, v, t}; };
    switch (kind) {
    case fviMRU: {
        int separator = GetMRUSeparatorIndex();
        if (separator < 0) {
            items_.insert(items_.begin(), make(fviMRUSeparator, Null, ""));
            separator = 0;
        }
        items_.insert(items_.begin() + separator, make(kind, value, displayText));
        return;
    }
    case fviValue: {
        if (unsorted) {
            items_.push_back(make(kind, value, displayText));
            return;
        }
        if (MaxCount() != 0 && Count() >= MaxCount())
            return;
        int index;
        if (Find(value, displayText, index))
            return;
        items_.insert(items_.begin() + index, make(kind, value, displayText));
        return;
    }
    default:
        items_.insert(items_.begin() + GetStartValueIndex(), make(kind, value, displayText));
    }
}

int TcxFilterValueList::FindItemByKind(TcxFilterValueItemKind kind) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i]->Kind == kind)
            return i;
    return -1;
}

int TcxFilterValueList::FindItemByKind(TcxFilterValueItemKind kind, const Variant& value) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i]->Kind == kind && (value.IsNull() || VarEquals(items_[i]->Value, value)))
            return i;
    return -1;
}

int TcxFilterValueList::FindItemByValue(const Variant& value)
{
    int index;
    return Find(value, VarToStr(value), index) ? index : -1;
}

int TcxFilterValueList::GetIndexByCriteriaItem(TcxFilterCriteriaItem* item)
{
    if (!item)
        return FindItemByKind(fviAll);
    if (item->ValueIsNull(item->Value())) {
        if (item->OperatorKind() == foEqual)
            return FindItemByKind(fviBlanks);
        if (item->OperatorKind() == foNotEqual)
            return FindItemByKind(fviNonBlanks);
    }
    if (item->OperatorKind() == foEqual) {
        int index;
        if (Find(item->Value(), item->DisplayValue(), index))
            return index;
    }
    return FindItemByKind(fviCustom);
}

} // namespace cx
