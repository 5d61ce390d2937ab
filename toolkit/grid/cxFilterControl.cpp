// The filter builder's model: its criteria, the row tree, building between the two, applying to
// the host, streams and files.
#include "toolkit/grid/cxFilterControl.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxTextEdit.h"

namespace cx {

// --- the operator texts ------------------------------------------------------------------------------
namespace {
std::vector<std::string>& ConditionTexts()
{
    static std::vector<std::string> texts;
    return texts;
}
std::vector<std::string>& BoolOperatorTexts()
{
    static std::vector<std::string> texts;
    return texts;
}
} // namespace

void cxFilterControlFillTexts()
{
    auto& conditions = ConditionTexts();
    conditions.clear();
    for (int op = fcoNone; op <= fcoInFuture; ++op)
        conditions.push_back(GetFilterControlOperatorText(static_cast<TcxFilterControlOperator>(op)));
    BoolOperatorTexts() = {cxFilterControlString(&cxSFilterBoolOperatorAnd), cxFilterControlString(&cxSFilterBoolOperatorOr),
                           cxFilterControlString(&cxSFilterBoolOperatorNotAnd),
                           cxFilterControlString(&cxSFilterBoolOperatorNotOr)};
}

std::string cxGetConditionText(TcxFilterControlOperator op)
{
    if (ConditionTexts().empty())
        cxFilterControlFillTexts();
    return ConditionTexts().at(static_cast<std::size_t>(op));
}

std::string cxGetBoolOperatorText(TcxFilterBoolOperatorKind kind)
{
    if (BoolOperatorTexts().empty())
        cxFilterControlFillTexts();
    return BoolOperatorTexts().at(static_cast<std::size_t>(kind));
}

bool IsSupportFiltering(TcxCustomEditPropertiesClass propertiesClass)
{
    if (!propertiesClass)
        return false;
    std::unique_ptr<TcxCustomEditProperties> properties(propertiesClass.Create(nullptr));
    return properties->GetSupportedOperations().Contains(esoFiltering);
}

// --- criteria ----------------------------------------------------------------------------------------
TcxFilterControlCriteria::TcxFilterControlCriteria(TcxCustomFilterControl* control) : control_(control)
{
    SetVersion(cxDataFilterVersion);
}

TcxFilterCriteriaItemClass TcxFilterControlCriteria::GetItemClass()
{
    return TcxFilterCriteriaItemClass::Of<TcxFilterControlCriteriaItem>();
}

IcxFilterControl* TcxFilterControlCriteria::Link() { return control_ ? control_->GetFilterLink() : nullptr; }

int TcxFilterControlCriteria::IndexOfItemLink(TObject* itemLink)
{
    IcxFilterControl* link = Link();
    if (!link)
        return -1;
    for (int i = 0, n = link->GetFilterCount(); i < n; ++i)
        if (link->GetFilterItemLink(i) == itemLink)
            return i;
    return -1;
}

int TcxFilterControlCriteria::GetIDByItemLink(TObject* itemLink)
{
    int index = IndexOfItemLink(itemLink);
    return index < 0 ? -1 : Link()->GetFilterItemLinkID(index);
}

std::string TcxFilterControlCriteria::GetNameByItemLink(TObject* itemLink)
{
    int index = IndexOfItemLink(itemLink);
    return index < 0 ? std::string() : Link()->GetItemLinkName(index);
}

TObject* TcxFilterControlCriteria::GetItemLinkByID(int id)
{
    IcxFilterControl* link = Link();
    if (!link)
        return nullptr;
    for (int i = 0, n = link->GetFilterCount(); i < n; ++i)
        if (link->GetFilterItemLinkID(i) == id)
            return link->GetFilterItemLink(i);
    return nullptr;
}

TObject* TcxFilterControlCriteria::GetItemLinkByName(const std::string& name)
{
    IcxFilterControl* link = Link();
    if (!link)
        return nullptr;
    for (int i = 0, n = link->GetFilterCount(); i < n; ++i)
        if (SameText(link->GetItemLinkName(i), name))
            return link->GetFilterItemLink(i);
    return nullptr;
}

TcxCustomFilterControl* TcxFilterControlCriteriaItem::Control()
{
    auto* criteria = dynamic_cast<TcxFilterControlCriteria*>(GetCriteria());
    return criteria ? criteria->Control() : nullptr;
}

IcxFilterControl* TcxFilterControlCriteriaItem::Link()
{
    TcxCustomFilterControl* control = Control();
    return control ? control->GetFilterLink() : nullptr;
}

int TcxFilterControlCriteriaItem::ItemIndex()
{
    auto* criteria = dynamic_cast<TcxFilterControlCriteria*>(GetCriteria());
    return criteria ? criteria->IndexOfItemLink(ItemLink()) : -1;
}

bool TcxFilterControlCriteriaItem::IsValid()
{
    IcxFilterControl* link = Link();
    int index = ItemIndex();
    return link && index >= 0 && index < link->GetFilterCount();
}

Variant TcxFilterControlCriteriaItem::GetDataValue(void*) { return Null; }

std::string TcxFilterControlCriteriaItem::GetFieldCaption()
{
    return IsValid() ? Link()->GetFilterCaption(ItemIndex()) : std::string();
}

std::string TcxFilterControlCriteriaItem::GetFieldName()
{
    return IsValid() ? Link()->GetFilterFieldName(ItemIndex()) : std::string();
}

TcxFilterOperatorClass TcxFilterControlCriteriaItem::GetFilterOperatorClass()
{
    TcxFilterOperatorClass result = TcxFilterCriteriaItem::GetFilterOperatorClass();
    if (TcxCustomFilterControl* control = Control())
        control->CorrectOperatorClass(result);
    return result;
}

// --- rows --------------------------------------------------------------------------------------------
cxFilterControl::TcxCustomRowViewInfo::TcxCustomRowViewInfo(TcxCustomFilterControl* control, TcxGroupViewInfo* parent,
                                           TcxCustomFilterCriteriaItem*)
    : control_(control), parent_(parent)
{
    buttonText_ = parent ? std::string("...") : cxFilterControlString(&cxSFilterRootButtonCaption);
    if (parent_)
        parent_->children_.push_back(this);
}

cxFilterControl::TcxCustomRowViewInfo::~TcxCustomRowViewInfo()
{
    if (parent_) {
        // Searched from the end: a group clears its children last first, and a long group would
        // otherwise be scanned once per child.
        auto& siblings = parent_->children_;
        if (auto it = std::find(siblings.rbegin(), siblings.rend(), this); it != siblings.rend())
            siblings.erase(std::next(it).base());
    }
}

int cxFilterControl::TcxCustomRowViewInfo::Level() const
{
    int level = 0;
    for (TcxGroupViewInfo* p = parent_; p; p = p->Parent())
        ++level;
    return level;
}

bool cxFilterControl::TcxCustomRowViewInfo::IsLast() const
{
    return !parent_ || parent_->Children(parent_->ChildCount() - 1) == this;
}

TcxFilterControlViewInfo* cxFilterControl::TcxCustomRowViewInfo::ViewInfo() const { return control_->ViewInfo(); }

TcxGroupViewInfo::TcxGroupViewInfo(TcxCustomFilterControl* control, TcxGroupViewInfo* parent,
                                   TcxCustomFilterCriteriaItem* criteriaItem)
    : TcxCustomRowViewInfo(control, parent, criteriaItem)
{
    if (auto* list = dynamic_cast<TcxFilterCriteriaItemList*>(criteriaItem))
        boolOperator_ = list->BoolOperatorKind();
    caption_ = cxFilterControlString(&cxSFilterGroupCaption);
}

TcxGroupViewInfo::~TcxGroupViewInfo() { ClearChildren(); }

void TcxGroupViewInfo::ClearChildren()
{
    while (!children_.empty())
        delete children_.back();   // a row leaves its parent's list when destroyed
}

int TcxGroupViewInfo::IndexOf(const TcxCustomRowViewInfo* row) const
{
    auto it = std::find(children_.begin(), children_.end(), row);
    return it == children_.end() ? -1 : static_cast<int>(it - children_.begin());
}

TcxValueInfo::TcxValueInfo() : Value(Null) {}
TcxValueInfo::~TcxValueInfo() { delete valueViewInfo_; }

void TcxValueInfo::SetValueViewInfo(TcxCustomEditViewInfo* value)
{
    if (value == valueViewInfo_)
        return;
    delete valueViewInfo_;
    valueViewInfo_ = value;
}

TcxValuesViewInfo::TcxValuesViewInfo(TcxConditionViewInfo* condition) : condition_(condition) {}
TcxValuesViewInfo::~TcxValuesViewInfo() { Clear(); }

TcxValueInfo* TcxValuesViewInfo::AddValue()
{
    auto* value = new TcxValueInfo;
    items_.push_back(value);
    return value;
}

void TcxValuesViewInfo::RemoveValue(int index)
{
    if (index < 0 || index >= Count())
        return;
    delete items_[static_cast<std::size_t>(index)];
    items_.erase(items_.begin() + index);
}

void TcxValuesViewInfo::Clear()
{
    for (TcxValueInfo* value : items_)
        delete value;
    items_.clear();
}

// --- conditions ---------------------------------------------------------------------------------------
namespace {
bool IsBetween(TcxFilterControlOperator op) { return op == fcoBetween || op == fcoNotBetween; }
bool IsList(TcxFilterControlOperator op) { return op == fcoInList || op == fcoNotInList; }

std::string BlankText() { return cxSFilterString(&cxSFilterBlankCaption); }

std::string ValueTextOf(const TcxValueInfo* value, bool emptyIsBlank)
{
    if (value->Value.IsNull())
        return BlankText();
    if (emptyIsBlank && VarIsStr(value->Value) && VarToStr(value->Value).empty())
        return BlankText();
    return value->ValueText;
}
} // namespace

TcxConditionViewInfo::TcxConditionViewInfo(TcxCustomFilterControl* control, TcxGroupViewInfo* parent,
                                           TcxCustomFilterCriteriaItem* criteriaItem)
    : TcxCustomRowViewInfo(control, parent, criteriaItem), values_(std::make_unique<TcxValuesViewInfo>(this))
{
    auto* item = dynamic_cast<TcxFilterCriteriaItem*>(criteriaItem);
    if (!item) {
        SetItem(-1);
        return;
    }
    itemLink_ = item->ItemLink();
    itemIndex_ = control->Criteria()->IndexOfItemLink(itemLink_);
    IcxFilterControl* link = control->GetFilterLink();
    if (!control->HasItems() || itemIndex_ < 0 || itemIndex_ >= link->GetFilterCount())
        FilterControlError(cxFilterControlString(&cxSFilterErrorBuilding));
    itemText_ = link->GetFilterCaption(itemIndex_);
    operator_ = GetFilterControlOperator(item->OperatorKind(), item->ValueIsNull(item->Value()));
    const Variant& value = item->Value();
    if ((IsBetween(operator_) || IsList(operator_)) && value.IsArray()) {
        std::size_t position = 0;
        for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
            TcxValueInfo* v = values_->AddValue();
            v->Value = value[i];
            v->ValueText = ExtractFilterDisplayValue(item->DisplayValue(), position);
        }
    } else {
        TcxValueInfo* v = values_->AddValue();
        v->Value = value;
        v->ValueText = item->DisplayValue();
    }
    InternalInit();
}

TcxConditionViewInfo::~TcxConditionViewInfo() { FreeEditData(); }

void TcxConditionViewInfo::FreeEditData()
{
    delete editData_;
    editData_ = nullptr;
}

bool TcxConditionViewInfo::HasItemAndOperator()
{
    IcxFilterControl* link = control_->GetFilterLink();
    return link && control_->HasItems() && itemIndex_ >= 0 && itemIndex_ < link->GetFilterCount() &&
           link->GetFilterItemLink(itemIndex_) == itemLink_ && operator_ != fcoNone;
}

int TcxConditionViewInfo::NeededValueCount() const { return !HasDisplayValues() ? 0 : IsBetween(operator_) ? 2 : 1; }

bool TcxConditionViewInfo::Ready() { return HasItemAndOperator() && values_->Count() >= NeededValueCount(); }

bool TcxConditionViewInfo::HasDisplayValues() const
{
    return operator_ != fcoBlanks && operator_ != fcoNonBlanks && (operator_ < fcoYesterday || operator_ > fcoInFuture);
}

void TcxConditionViewInfo::InternalInit()
{
    FreeEditData();
    properties_.reset();
    IcxFilterControl* link = control_->GetFilterLink();
    bool validIndex = control_->HasItems() && itemIndex_ >= 0 && itemIndex_ < link->GetFilterCount();
    hostProperties_ = validIndex ? link->GetFilterProperties(itemIndex_) : nullptr;
    if (!hostProperties_)
        hostProperties_ = control_->GetDefaultProperties();
    helper_ = FilterEditsController()->FindHelper(&hostProperties_->ClassType());
    if (!helper_)
        helper_ = TcxCustomFilterEditHelper::Of<TcxFilterTextEditHelper>();
    TcxCustomEditPropertiesClass propertiesClass = helper_->GetFilterEditPropertiesClass();
    if (!propertiesClass)
        propertiesClass = TcxCustomEditPropertiesClass::FromMeta(&hostProperties_->ClassType());
    if (propertiesClass) {
        properties_.reset(propertiesClass.Create(nullptr));
        helper_->InitializeProperties(properties_.get(), hostProperties_, true);
    }
    valueTypeClass_ = validIndex ? link->GetFilterValueType(itemIndex_) : nullptr;
    supportedOperators_ = helper_->GetSupportedFilterOperators(hostProperties_, valueTypeClass_, true);
    control_->ValidateConditions(supportedOperators_);
}

void TcxConditionViewInfo::InitValues(bool keep)
{
    // A between condition always ends with two values and every other one with at least one, so
    // that building criteria never reads a value that is not there.
    if (keep && HasDisplayValues()) {
        if (IsBetween(operator_))
            while (values_->Count() > 2)
                values_->RemoveValue(values_->Count() - 1);
        else if (!IsList(operator_))
            while (values_->Count() > 1)
                values_->RemoveValue(values_->Count() - 1);
    } else
        values_->Clear();
    int needed = IsBetween(operator_) ? 2 : 1;
    while (values_->Count() < needed)
        values_->AddValue();
}

void TcxConditionViewInfo::SetItem(int index)
{
    if (index >= 0 && index == itemIndex_)
        return;
    IcxFilterControl* link = control_->GetFilterLink();
    int count = control_->HasItems() ? link->GetFilterCount() : 0;
    if (index < 0) {
        index = 0;
        if (control_->SortItems() && count > 0) {
            std::string first = link->GetFilterCaption(0);
            for (int i = 1; i < count; ++i) {
                std::string caption = link->GetFilterCaption(i);
                if (AnsiCompareText(caption, first) < 0) {
                    first = caption;
                    index = i;
                }
            }
        }
    }
    itemIndex_ = index;
    itemLink_ = index < count ? link->GetFilterItemLink(index) : nullptr;
    itemText_ = index < count ? link->GetFilterCaption(index) : std::string();
    InternalInit();
    operator_ = fcoNone;
    if (supportedOperators_.Contains(fcoLike))
        operator_ = fcoLike;
    else
        for (int op = fcoEqual; op <= fcoInFuture; ++op)
            if (supportedOperators_.Contains(static_cast<TcxFilterControlOperator>(op))) {
                operator_ = static_cast<TcxFilterControlOperator>(op);
                break;
            }
    InitValues(false);
    if (ViewInfo() && ViewInfo()->RowHeight() > 0)
        values_->Calc();
    if (TcxCustomEdit* editor = control_->ValueEditor())
        if (editor->Properties() && control_->InplaceEditList())
            control_->InplaceEditList()->RemoveItem(
                TcxCustomEditPropertiesClass::FromMeta(&editor->Properties()->ClassType()));
}

void TcxConditionViewInfo::AddToCriteria(TcxFilterCriteriaItemList* list)
{
    TcxValuesViewInfo& values = *values_;
    Variant value = values.Count() > 0 ? values[0]->Value : Null;
    std::string displayValue;
    switch (operator_) {
    case fcoEqual:
    case fcoNotEqual:
        displayValue = ValueTextOf(values[0], false);
        break;
    case fcoBlanks:
    case fcoNonBlanks:
        displayValue = BlankText();
        break;
    case fcoBetween:
    case fcoNotBetween: {
        TcxValueInfo* low = values[0];
        TcxValueInfo* high = values[1];
        if (VarCompare(low->Value, high->Value) >= 0)
            std::swap(low, high);
        VarBetweenArrayCreate(value, low->Value, high->Value);
        displayValue = ValueTextOf(low, false) + ";" + ValueTextOf(high, false);
        break;
    }
    case fcoInList:
    case fcoNotInList:
        VarListArrayCreate(value, values[0]->Value);
        displayValue = ValueTextOf(values[0], false);
        for (int i = 1; i < values.Count(); ++i) {
            VarListArrayAddValue(value, values[i]->Value);
            displayValue += ";" + ValueTextOf(values[i], false);
        }
        break;
    default:
        displayValue = values.Count() > 0 ? ValueTextOf(values[0], true) : BlankText();
        break;
    }
    list->AddItem(itemLink_, GetFilterOperatorKind(operator_), value, displayValue);
}

// --- the control: construction -------------------------------------------------------------------------
TcxCustomFilterControl::TcxCustomFilterControl(TComponent* owner) : TcxControl(owner)
{
    SetWantTabs(false);
    criteria_ = GetFilterControlCriteriaClass().Create(this);
    root_ = new TcxGroupViewInfo(this, nullptr, criteria_->Root());
    rows_.push_back(root_);
    viewInfo_ = GetViewInfoClass().Create(this);
    const TColor colors[4] = {clRed, clGreen, clMaroon, clBlue};
    for (int i = 0; i < 4; ++i) {
        fonts_[i] = new TFont;
        fonts_[i]->Assign(Font());
        fonts_[i]->SetColor(colors[i]);
        if (i != fcfValue)
            fonts_[i]->SetStyle(FontStyle(fsUnderline));
        fonts_[i]->OnChange = [this](TObject* sender) { FontChangedHandler(sender); };
    }
    CreateInternalControls();
    CheckInplaceControlsColor();
    SetBounds(0, 0, 300, 200);
    focusedInfo_.Row = root_;
    focusedInfo_.HitTest = fhtBoolOperator;
    hotTrackOnUnfocused_ = true;
    nullString_ = cxFilterControlString(&cxSFilterControlNullString);
    showLevelLines_ = true;
    cxFormatController()->AddListener(this);
    SetColor(clBtnFace);
}

TcxCustomFilterControl::~TcxCustomFilterControl()
{
    cxFormatController()->RemoveListener(this);
    EndMouseTracking(this);
    DestroyInternalControls();
    delete criteria_;
    criteria_ = nullptr;
    delete viewInfo_;
    viewInfo_ = nullptr;
    rows_.clear();
    delete root_;
    root_ = nullptr;
    for (TFont*& font : fonts_) {
        delete font;
        font = nullptr;
    }
}

void TcxCustomFilterControl::BeforeDestruction()
{
    cxFormatController()->RemoveListener(this);
    EndMouseTracking(this);
    TcxControl::BeforeDestruction();
}

TcxFilterControlCriteriaClass TcxCustomFilterControl::GetFilterControlCriteriaClass()
{
    return TcxFilterControlCriteriaClass::Of<TcxFilterControlCriteria>();
}

TcxFilterControlViewInfoClass TcxCustomFilterControl::GetViewInfoClass()
{
    return TcxFilterControlViewInfoClass::Of<TcxFilterControlViewInfo>();
}

// --- rows ----------------------------------------------------------------------------------------------
int TcxCustomFilterControl::IndexOfRow(const TcxCustomRowViewInfo* row) const
{
    auto it = std::find(rows_.begin(), rows_.end(), row);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

void TcxCustomFilterControl::RebuildRowList()
{
    rows_.clear();
    std::vector<TcxCustomRowViewInfo*> stack{root_};
    while (!stack.empty()) {
        TcxCustomRowViewInfo* row = stack.back();
        stack.pop_back();
        rows_.push_back(row);
        if (auto* group = dynamic_cast<TcxGroupViewInfo*>(row))
            for (int i = group->ChildCount() - 1; i >= 0; --i)
                stack.push_back(group->Children(i));
    }
}

void TcxCustomFilterControl::ClearRows()
{
    root_->ClearChildren();
    root_->SetBoolOperator(fboAnd);
    rows_.assign(1, root_);
    focusedInfo_.Row = root_;
    focusedInfo_.HitTest = fhtBoolOperator;
    focusedInfo_.ValueIndex = -1;
    hotTrackInfo_ = {};
    topVisibleRow_ = 0;
    leftOffset_ = 0;
}

void TcxCustomFilterControl::EndUpdate()
{
    if (lockCount_ > 0)
        --lockCount_;
    LayoutChanged();
}

bool TcxCustomFilterControl::HasItems()
{
    IcxFilterControl* link = GetFilterLink();
    return link && link->GetFilterCount() > 0;
}

bool TcxCustomFilterControl::IsValid()
{
    return std::all_of(rows_.begin(), rows_.end(), [](TcxCustomRowViewInfo* row) { return row->Ready(); });
}

// --- criteria to rows and back ----------------------------------------------------------------------
namespace {
void BuildGroup(TcxCustomFilterControl* control, TcxGroupViewInfo* group, TcxFilterCriteriaItemList* list)
{
    group->SetBoolOperator(list->BoolOperatorKind());
    for (int i = 0; i < list->Count(); ++i) {
        TcxCustomFilterCriteriaItem* item = list->Items(i);
        if (auto* childList = dynamic_cast<TcxFilterCriteriaItemList*>(item))
            BuildGroup(control, new TcxGroupViewInfo(control, group, childList), childList);
        else
            new TcxConditionViewInfo(control, group, item);
    }
}

void BuildList(TcxGroupViewInfo* group, TcxFilterCriteriaItemList* list)
{
    list->SetBoolOperatorKind(group->BoolOperator());
    for (int i = 0; i < group->ChildCount(); ++i) {
        TcxFilterRowViewInfo* row = group->Children(i);
        if (auto* childGroup = dynamic_cast<TcxGroupViewInfo*>(row))
            BuildList(childGroup, list->AddItemList(fboAnd));
        else
            static_cast<TcxConditionViewInfo*>(row)->AddToCriteria(list);
    }
}
} // namespace

void TcxCustomFilterControl::BuildFromCriteria()
{
    BeginUpdate();
    try {
        ClearRows();
        try {
            BuildGroup(this, root_, criteria_->Root());
        } catch (...) {
            RebuildRowList();
            throw;
        }
        RebuildRowList();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// The message names what the first incomplete row lacks.
void TcxCustomFilterControl::CheckRowsReady()
{
    for (int i = 0; i < RowCount(); ++i) {
        TcxCustomRowViewInfo* row = rows_[static_cast<std::size_t>(i)];
        if (row->Ready())
            continue;
        const TResStringRec* text = &cxSFilterErrorIncompleteRow;
        if (auto* condition = dynamic_cast<TcxConditionViewInfo*>(row); condition && condition->HasItemAndOperator())
            text = condition->NeededValueCount() > 1 ? &cxSFilterErrorMissingValues : &cxSFilterErrorMissingValue;
        FilterControlError(Format(cxFilterControlString(text), i));
    }
}

void TcxCustomFilterControl::BuildFromRows()
{
    ValueEditorHide(true);
    CheckRowsReady();
    criteria_->BeginUpdate();
    try {
        criteria_->Clear();
        BuildList(root_, criteria_->Root());
        criteria_->Prepare();
    } catch (...) {
        criteria_->EndUpdate();
        throw;
    }
    criteria_->EndUpdate();
}

void TcxCustomFilterControl::Clear()
{
    ValueEditorHide(false);
    BeginUpdate();
    ClearRows();
    criteria_->Clear();
    EndUpdate();
}

void TcxCustomFilterControl::ApplyFilter() { DoApplyFilter(); }

void TcxCustomFilterControl::DoApplyFilter()
{
    IcxFilterControl* link = GetFilterLink();
    TcxFilterCriteria* hostCriteria = link ? link->GetFilterCriteria() : nullptr;
    if (!hostCriteria)
        return;
    BuildFromRows();
    bool other = hostCriteria != criteria_;
    std::exception_ptr error;
    hostCriteria->BeginUpdate();
    try {
        if (other)
            hostCriteria->Assign(criteria_, false);
        vcl::FireEvent(OnApplyFilter, this);
    } catch (...) {
        error = std::current_exception();
    }
    hostCriteria->EndUpdate();
    if (other)
        criteria_->Assign(hostCriteria, false);
    BuildFromCriteria();
    if (error)
        std::rethrow_exception(error);
}

std::string TcxCustomFilterControl::GetFilterCaption()
{
    BuildFromRows();
    return criteria_->GetFilterCaption();
}

std::string TcxCustomFilterControl::GetFilterText()
{
    BuildFromRows();
    return criteria_->GetFilterText();
}

// --- streams and files ---------------------------------------------------------------------------------
namespace {
// A filter stream keeps its texts in code page 936, as the program's other stored files do, so
// that files move between it and other tools. Streams of earlier builds hold UTF-8; nothing in
// the stream says which, so the texts read decide (a second read takes them as GBK).
void ReadFilterStream(TcxFilterCriteria* criteria, TStream* stream)
{
    const std::int64_t start = stream->Position();
    std::vector<std::string> texts;
    auto reset = [criteria] {
        criteria->StreamTexts = nullptr;
        criteria->StreamTextEncoding = TcxFilterCriteria::steUtf8;
    };
    try {
        criteria->StreamTexts = &texts;
        criteria->ReadData(stream);
        criteria->StreamTexts = nullptr;
        std::string all;
        for (const std::string& text : texts)
            all += text + '\n';
        if (IsGbkStoredText(all)) {
            stream->SetPosition(start);
            criteria->StreamTextEncoding = TcxFilterCriteria::steGbk;
            criteria->ReadData(stream);
        }
    } catch (...) {
        reset();
        throw;
    }
    reset();
}

// Texts GBK cannot hold, or would not give back as they were, are written as UTF-8 instead:
// nothing is lost, and the program reads them back.
void WriteFilterStream(TcxFilterCriteria* criteria, TStream* stream)
{
    std::vector<std::string> texts;
    auto reset = [criteria] {
        criteria->StreamTexts = nullptr;
        criteria->StreamTextEncoding = TcxFilterCriteria::steUtf8;
    };
    try {
        TMemoryStream probe;
        criteria->StreamTexts = &texts;
        criteria->WriteData(&probe);
        criteria->StreamTexts = nullptr;
        criteria->StreamTextEncoding = GbkKeepsStoredTexts(texts) ? TcxFilterCriteria::steGbk
                                                                 : TcxFilterCriteria::steUtf8;
        criteria->WriteData(stream);
    } catch (...) {
        reset();
        throw;
    }
    reset();
}
} // namespace

void TcxCustomFilterControl::ReadData(TStream* stream) { ReadFilterStream(criteria_, stream); }
void TcxCustomFilterControl::WriteData(TStream* stream) { WriteFilterStream(criteria_, stream); }

void TcxCustomFilterControl::SaveToStream(TStream* stream)
{
    BuildFromRows();
    WriteData(stream);
}

void TcxCustomFilterControl::LoadFromStream(TStream* stream)
{
    if (!HasItems())
        FilterControlError(cxFilterControlString(&cxSFilterErrorBuilding));
    // Read and build aside, so that a malformed stream leaves the rows and the criteria as they were.
    std::unique_ptr<TcxFilterControlCriteria> loaded(GetFilterControlCriteriaClass().Create(this));
    ReadFilterStream(loaded.get(), stream);
    std::unique_ptr<TcxGroupViewInfo> probe(new TcxGroupViewInfo(this, nullptr, loaded->Root()));
    BuildGroup(this, probe.get(), loaded->Root());
    probe.reset();
    ValueEditorHide(false);
    BeginUpdate();
    try {
        ClearRows();
        criteria_->Assign(loaded.get(), false);
        BuildFromCriteria();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomFilterControl::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

namespace {
// The file a name stands for: a symbolic link is followed (links to links too) to the file it
// names, existing or not, so that saving writes there and leaves the link in place.
std::string FollowLinks(std::string fileName)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(fileName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return fileName;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(fileName.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size())
            return fileName;
        std::string next(target.data(), static_cast<std::size_t>(n));
        if (next.empty())
            return fileName;
        if (next[0] != '/') {
            const std::size_t slash = fileName.rfind('/');
            if (slash != std::string::npos)
                next = fileName.substr(0, slash + 1) + next;
        }
        fileName = next;
    }
    throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName, std::string(std::strerror(ELOOP))));
}

// Writes the bytes to a new file beside the target and renames it over the target, so that the
// old file stays whole until the new one is complete. A target nobody may write (no write
// permission at all, or none for this user) is refused: replacing it would defeat its protection.
void ReplaceFileContents(const std::string& chosenName, const std::vector<Byte>& bytes)
{
    const std::string fileName = FollowLinks(chosenName);
    struct stat current {};
    if (::stat(fileName.c_str(), &current) == 0 &&
        ((current.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(fileName.c_str(), W_OK) != 0))
        throw EFCreateError(Format("Cannot write file \"%s\". The file is read-only", chosenName));
    std::size_t slash = fileName.rfind('/');
    std::string folder = slash == std::string::npos ? std::string("./") : fileName.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    std::string pattern = folder + "." + name + ".XXXXXX";
    std::vector<char> tempName(pattern.begin(), pattern.end());
    tempName.push_back('\0');
    int fd = mkstemp(tempName.data());
    if (fd < 0)
        throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName, std::string(std::strerror(errno))));
    // The replacement keeps the old file's permissions; a new file gets the usual ones.
    struct stat old {};
    if (::stat(fileName.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    auto fail = [&](int code) {
        ::close(fd);
        std::remove(tempName.data());
        throw EWriteError(Format("Cannot write file \"%s\". %s", fileName, std::string(std::strerror(code))));
    };
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0) {
        int code = errno;
        std::remove(tempName.data());
        throw EWriteError(Format("Cannot write file \"%s\". %s", fileName, std::string(std::strerror(code))));
    }
    if (std::rename(tempName.data(), fileName.c_str()) != 0) {
        int code = errno;
        std::remove(tempName.data());
        throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName, std::string(std::strerror(code))));
    }
}
} // namespace

void TcxCustomFilterControl::SaveToFile(const std::string& fileName)
{
    TMemoryStream stream;
    SaveToStream(&stream);
    ReplaceFileContents(fileName, stream.Bytes());
}

// --- the published control -------------------------------------------------------------------------------
TcxFilterControl::TcxFilterControl(TComponent* owner) : TcxCustomFilterControl(owner) {}

TcxFilterControl::~TcxFilterControl()
{
    if (linkComponent_)
        linkComponent_->RemoveFreeNotification(this);
}

IcxFilterControl* TcxFilterControl::GetFilterLink() { return dynamic_cast<IcxFilterControl*>(linkComponent_); }

void TcxFilterControl::SetLinkComponent(TComponent* value)
{
    if (value && !dynamic_cast<IcxFilterControl*>(value))
        value = nullptr;
    if (value == linkComponent_)
        return;
    if (linkComponent_)
        linkComponent_->RemoveFreeNotification(this);
    linkComponent_ = value;
    if (linkComponent_)
        linkComponent_->FreeNotification(this);
    UpdateFilter();
}

void TcxFilterControl::UpdateFilter()
{
    IcxFilterControl* link = GetFilterLink();
    TcxFilterCriteria* hostCriteria = link ? link->GetFilterCriteria() : nullptr;
    if (!hostCriteria) {
        Clear();
        return;
    }
    if (hostCriteria != Criteria())
        Criteria()->Assign(hostCriteria, false);
    BuildFromCriteria();
}

void TcxFilterControl::Notification(TComponent* component, TOperation operation)
{
    TcxCustomFilterControl::Notification(component, operation);
    if (operation == opRemove && component == linkComponent_) {
        linkComponent_ = nullptr;
        UpdateFilter();
    }
}

} // namespace cx
