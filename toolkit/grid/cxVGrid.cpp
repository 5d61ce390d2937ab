#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridStyles.h"

#include <algorithm>

#include "toolkit/core/cxGraphics.h"
#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

namespace {

// The index checks read the text straight from the table: an application's override of the
// string does not reach them.
[[noreturn]] void IndexError()
{
    cxVerticalGridError(LoadResString(&cxSvgIndexError));
}

bool SameTextCI(const std::string& a, const std::string& b)
{
    return SameText(a, b);
}

} // namespace

// --- TcxRowOptions ----------------------------------------------------------------------------
void TcxRowOptions::SetNotifying(bool& field, bool value)
{
    if (field != value) {
        field = value;
        Changed();
    }
}

void TcxRowOptions::Changed()
{
    if (row_)
        row_->Changed(false);
}

TPersistent* TcxRowOptions::GetOwner()
{
    return row_;
}

void TcxRowOptions::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxRowOptions*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    canAutoHeight_ = src->canAutoHeight_;
    CanMovedToCustomizationForm = src->CanMovedToCustomizationForm;
    CanResized = src->CanResized;
    focusing_ = src->focusing_;
    Moving = src->Moving;
    showExpandButton_ = src->showExpandButton_;
    showInCustomizationForm_ = src->showInCustomizationForm_;
    TabStop = src->TabStop;
    Changed();
}

void TcxRowOptions::RestoreDefaults()
{
    canAutoHeight_ = focusing_ = showExpandButton_ = showInCustomizationForm_ = true;
    CanMovedToCustomizationForm = CanResized = Moving = TabStop = true;
    Changed();
}

// --- row properties ---------------------------------------------------------------------------
TcxCustomRowProperties::TcxCustomRowProperties(TcxCustomRow* row) : TcxCustomRowProperties(nullptr, row) {}

TcxCustomRowProperties::TcxCustomRowProperties(TCollection* collection, TcxCustomRow* row)
    : TcxInterfacedCollectionItem(collection), row_(row)
{
}

TPersistent* TcxCustomRowProperties::GetOwner()
{
    return row_;
}

void TcxCustomRowProperties::Changed()
{
    if (Collection())
        TCollectionItem::Changed(true);
    else if (row_ && row_->Visible())
        row_->Changed(false);
}

void TcxCaptionRowProperties::SetCaption(const std::string& value)
{
    if (captionAssigned_ && value == caption_)
        return;
    caption_ = value;
    captionAssigned_ = true;
    Changed();
}

void TcxCaptionRowProperties::SetHeaderAlignmentHorz(TAlignment value)
{
    if (headerAlignmentHorz_ != value) {
        headerAlignmentHorz_ = value;
        Changed();
    }
}

void TcxCaptionRowProperties::SetHeaderAlignmentVert(TcxAlignmentVert value)
{
    if (headerAlignmentVert_ != value) {
        headerAlignmentVert_ = value;
        Changed();
    }
}

void TcxCaptionRowProperties::SetImageIndex(int value)
{
    if (imageIndex_ != value) {
        imageIndex_ = value;
        Changed();
    }
}

void TcxCaptionRowProperties::RestoreDefaults()
{
    captionAssigned_ = false;
    if (Row())
        Row()->Changed(false);
}

void TcxCaptionRowProperties::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxCaptionRowProperties*>(source);
    if (!src) {
        TcxCustomRowProperties::Assign(source);
        return;
    }
    TcxVerticalGridRows* rows = Row() ? Row()->GetOwnerRows() : nullptr;
    if (rows)
        rows->BeginUpdate();
    caption_ = src->caption_;
    captionAssigned_ = src->captionAssigned_;
    imageIndex_ = src->imageIndex_;
    headerAlignmentHorz_ = src->headerAlignmentHorz_;
    headerAlignmentVert_ = src->headerAlignmentVert_;
    Hint = src->Hint;
    if (rows)
        rows->EndUpdate();
}

unsigned GetTextAligmentFlags(TAlignment horz, TcxAlignmentVert vert)
{
    unsigned flags = 0;
    switch (horz) {
    case taLeftJustify: flags = 0; break;
    case taRightJustify: flags = 2; break;
    case taCenter: flags = 1; break;
    }
    switch (vert) {
    case vaTop: break;
    case vaBottom: flags |= 0x20; break;
    case vaCenter: flags |= 0x10; break;
    }
    return flags;
}

unsigned GetTextAligmentFlags(TcxCaptionRowProperties* properties)
{
    return GetTextAligmentFlags(properties->HeaderAlignmentHorz(), properties->HeaderAlignmentVert());
}

TcxMultiEditorRowProperties::TcxMultiEditorRowProperties(TcxCustomRow* row) : TcxCustomRowProperties(row)
{
    if (!dynamic_cast<TcxCustomMultiEditorRow*>(row))
        throw EcxInvalidCast("Invalid class typecast");
    editors_ = new TcxEditorPropertiesCollection(row);
}

TcxMultiEditorRowProperties::~TcxMultiEditorRowProperties()
{
    FreeAndNil(editors_);
}

void TcxMultiEditorRowProperties::SetFixed(bool value)
{
    if (fixed_ != value) {
        fixed_ = value;
        Changed();
    }
}

void TcxMultiEditorRowProperties::SetSeparatorAlignmentVert(TcxAlignmentVert value)
{
    if (separatorAlignmentVert_ != value) {
        separatorAlignmentVert_ = value;
        Changed();
    }
}

void TcxMultiEditorRowProperties::SetSeparatorKind(TSeparatorKind value)
{
    if (separatorKind_ != value) {
        separatorKind_ = value;
        Changed();
    }
}

void TcxMultiEditorRowProperties::SetSeparatorString(const std::string& value)
{
    if (separatorString_ != value) {
        separatorString_ = value;
        Changed();
    }
}

void TcxMultiEditorRowProperties::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxMultiEditorRowProperties*>(source);
    if (!src) {
        TcxCustomRowProperties::Assign(source);
        return;
    }
    SetSeparatorAlignmentVert(src->separatorAlignmentVert_);
    SetSeparatorKind(src->separatorKind_);
    SetSeparatorString(src->separatorString_);
    SetFixed(src->fixed_);
    editors_->Assign(src->editors_);
}

// --- TcxRowList -------------------------------------------------------------------------------
TcxCustomRow* TcxRowList::Get(int index) const
{
    if (index < 0 || index >= Count())
        TList::Error("List index out of bounds (%d)", index);
    return items_[index];
}

int TcxRowList::IndexOf(const TcxCustomRow* row) const
{
    // A row keeps its own position: no search while the list is numbered.
    if (row && row->index_ >= 0 && row->index_ < Count() && items_[row->index_] == row)
        return row->index_;
    auto it = std::find(items_.begin(), items_.end(), row);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TcxRowList::Insert(int index, TcxCustomRow* row)
{
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, row);
    Renumber(index, Count());
}

void TcxRowList::Delete(int index)
{
    items_.erase(items_.begin() + index);
    Renumber(index, Count());
}

void TcxRowList::Move(int curIndex, int newIndex)
{
    TcxCustomRow* row = items_[curIndex];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, row);
    Renumber(std::min(curIndex, newIndex), std::max(curIndex, newIndex) + 1);
}

void TcxRowList::Assign(std::vector<TcxCustomRow*> items)
{
    items_ = std::move(items);
    Renumber(0, Count());
}

// Only the positions that moved are numbered again: appending to a long list stays cheap.
void TcxRowList::Renumber(int from, int to)
{
    if (owner_ && owner_->ComponentState().Contains(csDestroying))
        return;
    for (int i = from; i < to; ++i)
        items_[i]->index_ = i;
}

// --- TcxCustomRow -----------------------------------------------------------------------------
TcxCustomRow::TcxCustomRow(TComponent* owner)
    : TComponent(owner), options_(std::make_unique<TcxRowOptions>(this))
{
}

void TcxCustomRow::CreateProperties()
{
    properties_.reset(GetPropertiesClass().Create(this));
}

TcxCustomRow::~TcxCustomRow() = default;

void TcxCustomRow::BeforeDestruction()
{
    if (grid_)
        grid_->RemoveRowFromVerticalGrid(this);
    else {
        if (parent_) {
            int i = parent_->IndexOf(this);
            if (i >= 0)
                parent_->children_->Delete(i);
            parent_ = nullptr;
        }
        RemoveAll();
    }
    if (viewInfo_) {
        viewInfo_->row_ = nullptr;
        FreeAndNil(viewInfo_);
    }
    TComponent::BeforeDestruction();
}

void TcxCustomRow::ResetOwnerCount()
{
    if (TcxVerticalGridRows* rows = GetOwnerRows())
        rows->UnprepareList();
}

void TcxCustomRow::Insert(int index, TcxCustomRow* row)
{
    // The row itself or one of its ancestors is refused as SetParent refuses them: the tree stays
    // free of cycles. A row that has a parent leaves it first, so it is in one child list only.
    if (!row || row == this || row->IsParent(this))
        return;
    if (index < 0 || index > GetCount())
        IndexError();
    if (TcxCustomRow* old = row->parent_) {
        if (const int i = old->IndexOf(row); i >= 0)
            old->Delete(i);
        row->parent_ = nullptr;
        if (old == this)
            index = std::min(index, GetCount());
    }
    if (!children_)
        children_ = std::make_unique<TcxRowList>(this);
    row->parent_ = this;
    row->SetVerticalGrid(grid_);
    children_->Insert(index, row);
    ResetOwnerCount();
}

void TcxCustomRow::Delete(int index)
{
    if (index < 0 || !children_ || index >= children_->Count())
        IndexError();
    TcxCustomRow* row = children_->Get(index);
    children_->Delete(index);
    row->parent_ = nullptr;
    ResetOwnerCount();
}

void TcxCustomRow::RemoveAll()
{
    while (GetCount() > 0)
        FreeObject(children_->Get(0));
    children_.reset();
    ResetOwnerCount();
}

void TcxCustomRow::RemoveChildren()
{
    if (parent_) {
        int i = parent_->IndexOf(this);
        if (i >= 0)
            parent_->children_->Delete(i);
        parent_ = nullptr;
    }
    RemoveAll();
}

TcxCustomRow* TcxCustomRow::GetRow(int index) const
{
    if (!children_)
        IndexError();
    return children_->Get(index);
}

bool TcxCustomRow::HasVisibleChildren() const
{
    return GetFirstVisibleChild() != nullptr;
}

TcxCustomRow* TcxCustomRow::GetFirstVisibleChild() const
{
    for (int i = 0; i < GetCount(); ++i)
        if (children_->Get(i)->visible_)
            return children_->Get(i);
    return nullptr;
}

TcxCustomRow* TcxCustomRow::GetLastVisibleChild() const
{
    for (int i = GetCount() - 1; i >= 0; --i) {
        TcxCustomRow* child = children_->Get(i);
        if (!child->visible_)
            continue;
        if (child->expanded_)
            if (TcxCustomRow* last = child->GetLastVisibleChild())
                return last;
        return child;
    }
    return nullptr;
}

bool TcxCustomRow::IsParent(const TcxCustomRow* row) const
{
    for (const TcxCustomRow* p = row ? row->parent_ : nullptr; p; p = p->parent_)
        if (p == this)
            return true;
    return false;
}

bool TcxCustomRow::IsChild(const TcxCustomRow* row) const
{
    return row && row->IsParent(this);
}

bool TcxCustomRow::IsLast() const
{
    return parent_ && index_ + 1 == parent_->GetCount();
}

bool TcxCustomRow::IsFirstVisible() const
{
    return parent_ && parent_->GetFirstVisibleChild() == this;
}

bool TcxCustomRow::IsLastVisible() const
{
    if (!parent_)
        return false;
    for (int i = parent_->GetCount() - 1; i >= 0; --i)
        if (parent_->children_->Get(i)->visible_)
            return parent_->children_->Get(i) == this;
    return false;
}

bool TcxCustomRow::IsRootLevel() const
{
    return grid_ && parent_ == grid_->Root();
}

int TcxCustomRow::GetLevel() const
{
    int level = 0;
    const TcxCustomRow* root = grid_ ? grid_->Root() : nullptr;
    for (const TcxCustomRow* p = parent_; p && p != root; p = p->parent_)
        ++level;
    return level;
}

TcxCustomRow* TcxCustomRow::GetParent() const
{
    if (grid_ && parent_ == grid_->Root())
        return nullptr;
    return parent_;
}

void TcxCustomRow::SetParent(TcxCustomRow* row)
{
    if (!row && grid_)
        row = grid_->Root();
    // A row never goes under itself or under one of its descendants: the tree stays free of
    // cycles.
    if (!row || row == this || row == parent_ || IsParent(row))
        return;
    if (parent_)
        parent_->Remove(this);
    row->Add(this);
    Changed(true);
}

void TcxCustomRow::SetChildrenOrder(std::vector<TcxCustomRow*> order)
{
    if (!children_ || static_cast<int>(order.size()) != children_->Count())
        return;
    children_->Assign(std::move(order));
    ResetOwnerCount();
    Changed(true);
}

void TcxCustomRow::SetIndex(int index)
{
    if (!parent_ || index < 0 || index >= parent_->GetCount() || index == index_)
        return;
    parent_->children_->Move(index_, index);
    ResetOwnerCount();
    Changed(true);
}

int TcxCustomRow::GetAbsoluteIndex() const
{
    TcxVerticalGridRows* rows = GetOwnerRows();
    return rows ? rows->IndexOf(this) : -1;
}

bool TcxCustomRow::GetFocused() const
{
    return grid_ && grid_->GetFocusedRow() == this;
}

void TcxCustomRow::SetFocused(bool value)
{
    if (!grid_)
        return;
    if (value)
        grid_->SetFocusedRow(this);
    else if (GetFocused())
        grid_->SetFocusedRow(nullptr);
}

namespace {

void SetExpandedDeep(TcxCustomRow* row, bool value, bool recurse)
{
    row->SetExpanded(value);
    if (recurse)
        for (int i = 0; i < row->GetCount(); ++i)
            SetExpandedDeep(row->GetRow(i), value, true);
}

void ExpandRow(TcxCustomRow* row, bool value, bool recurse)
{
    TcxVerticalGridRows* rows = row->GetOwnerRows();
    if (rows)
        rows->BeginUpdate();
    try {
        SetExpandedDeep(row, value, recurse);
    } catch (...) {
        if (rows)
            rows->EndUpdate();
        throw;
    }
    if (rows)
        rows->EndUpdate();
}

} // namespace

void TcxCustomRow::Expand(bool recurse)
{
    if (!HasChildren()) {
        expanded_ = true;
        return;
    }
    ExpandRow(this, true, recurse);
}

void TcxCustomRow::Collapse(bool recurse)
{
    if (!HasChildren()) {
        expanded_ = false;
        return;
    }
    ExpandRow(this, false, recurse);
}

void TcxCustomRow::MakeVisible()
{
    if (grid_ && grid_->Scroller())
        grid_->Scroller()->SetRowVisible(this);
}

void TcxCustomRow::RestoreDefaults()
{
    height_ = -1;
    options_->RestoreDefaults();
}

TcxCustomRowViewInfo* TcxCustomRow::GetViewInfo()
{
    if (!viewInfo_)
        viewInfo_ = CreateViewInfo();
    return viewInfo_;
}

TcxVerticalGridRows* TcxCustomRow::GetOwnerRows() const
{
    return grid_ ? grid_->Rows() : nullptr;
}

void TcxCustomRow::SetVisible(bool value)
{
    if (visible_ != value) {
        visible_ = value;
        Changed(true);
    }
}

void TcxCustomRow::SetExpanded(bool value)
{
    if (expanded_ != value) {
        expanded_ = value;
        Changed(HasChildren());
    }
}

void TcxCustomRow::SetHeight(int value)
{
    value = std::max(value, -1);
    if (height_ != value) {
        height_ = value;
        Changed(false);
    }
}

void TcxCustomRow::Changed(bool rebuild)
{
    if (grid_ && grid_->Rows())
        grid_->Rows()->Changed(rebuild);
}

TcxCustomRowHeaderInfo* TcxCustomRow::CreateHeaderInfo()
{
    throw EAbstractError("Abstract error");
}

TcxCustomRowViewInfo* TcxCustomRow::CreateViewInfo()
{
    throw EAbstractError("Abstract error");
}

int TcxCustomRow::HeaderDefaultHeight(TFont* font, int extra) const
{
    int rowHeight = grid_ ? grid_->OptionsView()->RowHeight() : -1;
    int textHeight = font ? cxTextHeight(font, "Wg") + extra : extra;
    return std::max(rowHeight, textHeight);
}

int TcxCustomRow::GetDefaultHeight() const
{
    return HeaderDefaultHeight(grid_ ? grid_->Font() : nullptr, 2);
}

TcxRowPropertiesClass TcxCustomRow::GetPropertiesClass() const
{
    return TcxRowPropertiesClass::Of<TcxCaptionRowProperties>();
}

void TcxCustomRow::SetVerticalGrid(TcxCustomVerticalGrid* grid)
{
    if (grid_ == grid)
        return;
    grid_ = grid;
    if (grid)
        id_ = grid->Rows()->GetNextID();
    for (int i = 0; i < GetCount(); ++i)
        children_->Get(i)->SetVerticalGrid(grid);
}

void TcxCustomRow::SetName(const std::string& name)
{
    TComponent::SetName(name);
    if (!ComponentState().Contains(csLoading))
        Changed(false);
}

void TcxCustomRow::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxCustomRow*>(source);
    if (!src) {
        TComponent::Assign(source);
        return;
    }
    height_ = src->height_;
    visible_ = src->visible_;
    expanded_ = src->expanded_;
    if (TcxVerticalGridRows* rows = GetOwnerRows())
        rows->StructureChanged();
    if (properties_ && src->properties_)
        properties_->Assign(src->properties_.get());
}

std::string TcxCustomRow::GetObjectName()
{
    if (grid_ && grid_->NameMode && !Name().empty())
        return Name();
    return std::to_string(id_);
}

bool TcxCustomRow::GetProperties(TStrings* properties)
{
    for (const char* name : {"AParentID", "Index", "Visible", "Height", "Expanded"})
        properties->Add(name);
    return true;
}

void TcxCustomRow::GetPropertyValue(const std::string& name, Variant& value)
{
    if (name == "Visible")
        value = visible_;
    else if (name == "Height")
        value = height_;
    else if (name == "Expanded")
        value = expanded_;
    else if (name == "AParentID") {
        if (grid_ && grid_->NameMode)
            value = parent_ ? parent_->GetObjectName() : std::string("-1");
        else
            value = parent_ ? parent_->id_ : -1;
    } else if (name == "Index")
        value = index_;
    else
        value = Null;
}

void TcxCustomRow::SetPropertyValue(const std::string& name, const Variant& value)
{
    if (name == "Visible")
        SetVisible(value.ToBoolean());
    else if (name == "Height")
        SetHeight(value.ToInteger());
    else if (name == "Expanded")
        SetExpanded(value.ToBoolean());
    else if (name == "AParentID") {
        if (grid_ && grid_->NameMode)
            loadingParentName_ = value.ToString();
        else if (grid_) {
            TcxCustomRow* parent = grid_->Rows()->FindRowByID(value.ToInteger());
            SetParent(parent ? parent : grid_->Root());
        }
    } else if (name == "Index") {
        if (grid_ && grid_->NameMode)
            loadingIndex_ = value.ToInteger();
        else
            SetIndex(value.ToInteger());
    }
}

TComponent* TcxCustomRow::GetParentComponent()
{
    if (!parent_ || (ComponentState().Contains(csReading) && Version > 0))
        return grid_;
    return parent_;
}

void TcxCustomRow::SetParentComponent(TComponent* parent)
{
    if (parent_) {
        int i = parent_->IndexOf(this);
        if (i >= 0)
            parent_->Delete(i);
    }
    if (auto* grid = dynamic_cast<TcxCustomVerticalGrid*>(parent))
        grid->Root()->Add(this);
    else if (auto* row = dynamic_cast<TcxCustomRow*>(parent))
        row->Add(this);
}

void TcxCustomRow::WriteDefinedProperties(TWriter* writer)
{
    writer->WriteString("ID");
    writer->WriteInteger(id_);
    writer->WriteString("ParentID");
    writer->WriteInteger(GetParent() ? parent_->id_ : -1);
    writer->WriteString("Index");
    writer->WriteInteger(index_);
    writer->WriteString("Version");
    writer->WriteInteger(1);
}

void TcxCustomRow::ReadDefinedProperty(const std::string& name, TReader* reader)
{
    int value = reader->ReadInteger();
    if (name == "ID")
        loadedID_ = value;
    else if (name == "ParentID")
        loadedParentID_ = value;
    else if (name == "Index")
        loadedIndex_ = value;
    else if (name == "Version")
        Version = value;
}

// --- row kinds --------------------------------------------------------------------------------
TcxCategoryRow::TcxCategoryRow(TComponent* owner) : TcxCustomRow(owner)
{
    CreateProperties();
}

TcxCaptionRowProperties* TcxCategoryRow::Properties() const
{
    return static_cast<TcxCaptionRowProperties*>(PropertiesObject());
}

int TcxCategoryRow::GetDefaultHeight() const
{
    TcxCustomVerticalGrid* grid = VerticalGrid();
    return HeaderDefaultHeight(grid ? grid->CategoryFont() : nullptr, 4);
}

bool TcxCategoryRow::GetProperties(TStrings* properties)
{
    properties->Add("Caption");
    return TcxCustomRow::GetProperties(properties);
}

void TcxCategoryRow::GetPropertyValue(const std::string& name, Variant& value)
{
    if (name == "Caption")
        value = Properties()->GetCaption();
    else
        TcxCustomRow::GetPropertyValue(name, value);
}

void TcxCategoryRow::SetPropertyValue(const std::string& name, const Variant& value)
{
    if (name == "Caption" && !value.IsEmpty())
        Properties()->SetCaption(value.ToString());
    else if (name != "Caption")
        TcxCustomRow::SetPropertyValue(name, value);
}

TcxCustomEditorRow::TcxCustomEditorRow(TComponent* owner) : TcxCustomRow(owner)
{
    CreateProperties();
}

TcxRowPropertiesClass TcxCustomEditorRow::GetPropertiesClass() const
{
    return TcxRowPropertiesClass::Of<TcxCustomEditorRowProperties>();
}

TcxCustomEditorRowProperties* TcxCustomEditorRow::Properties() const
{
    return static_cast<TcxCustomEditorRowProperties*>(PropertiesObject());
}

TcxEditorRow::TcxEditorRow(TComponent* owner) : TcxCustomEditorRow(owner)
{
    CreateProperties();
}

TcxRowPropertiesClass TcxEditorRow::GetPropertiesClass() const
{
    return TcxRowPropertiesClass::Of<TcxEditorRowProperties>();
}

TcxEditorRowProperties* TcxEditorRow::Properties() const
{
    return static_cast<TcxEditorRowProperties*>(PropertiesObject());
}

TcxCustomMultiEditorRow::TcxCustomMultiEditorRow(TComponent* owner) : TcxCustomRow(owner)
{
    CreateProperties();
}

TcxRowPropertiesClass TcxCustomMultiEditorRow::GetPropertiesClass() const
{
    return TcxRowPropertiesClass::Of<TcxMultiEditorRowProperties>();
}

TcxMultiEditorRowProperties* TcxCustomMultiEditorRow::Properties() const
{
    return static_cast<TcxMultiEditorRowProperties*>(PropertiesObject());
}

TcxCustomRowHeaderInfo* TcxCategoryRow::CreateHeaderInfo() { return new TcxCategoryRowHeaderInfo(this); }
TcxCustomRowViewInfo* TcxCategoryRow::CreateViewInfo() { return new TcxCategoryRowViewInfo(this); }
TcxCustomRowHeaderInfo* TcxCustomEditorRow::CreateHeaderInfo() { return new TcxEditorRowHeaderInfo(this); }
TcxCustomRowViewInfo* TcxCustomEditorRow::CreateViewInfo() { return new TcxEditorRowViewInfo(this); }
TcxCustomRowHeaderInfo* TcxCustomMultiEditorRow::CreateHeaderInfo() { return new TcxMultiEditorRowHeaderInfo(this); }
TcxCustomRowViewInfo* TcxCustomMultiEditorRow::CreateViewInfo() { return new TcxMultiEditorRowViewInfo(this); }

// --- TcxVerticalGridRows ----------------------------------------------------------------------
TcxCustomRow* TcxVerticalGridRows::GetRoot() const
{
    return owner_->Root();
}

void TcxVerticalGridRows::Build(TcxCustomRow* row)
{
    for (int i = 0; i < row->GetCount(); ++i) {
        TcxCustomRow* child = row->GetRow(i);
        list_.push_back(child);
        Build(child);
    }
}

void TcxVerticalGridRows::PrepareList()
{
    ++structureStamp_;
    list_.clear();
    if (GetRoot())
        Build(GetRoot());
    count_ = static_cast<int>(list_.size());
}

void TcxVerticalGridRows::CheckList()
{
    if (count_ < 0)
        PrepareList();
}

int TcxVerticalGridRows::GetCount()
{
    CheckList();
    return count_;
}

TcxCustomRow* TcxVerticalGridRows::GetRow(int index)
{
    CheckList();
    if (index < 0 || index >= count_)
        IndexError();
    return list_[index];
}

void TcxVerticalGridRows::SetRow(int index, TcxCustomRow* row)
{
    CheckList();
    if (index < 0 || index >= count_)
        IndexError();
    list_[index] = row;
}

int TcxVerticalGridRows::IndexOf(const TcxCustomRow* row)
{
    CheckList();
    auto it = std::find(list_.begin(), list_.end(), row);
    return it == list_.end() ? -1 : static_cast<int>(it - list_.begin());
}

void TcxVerticalGridRows::Add(TcxCustomRow* row)
{
    if (row) {
        GetRoot()->Add(row);
        UnprepareList();
    }
}

void TcxVerticalGridRows::AddChild(TcxCustomRow* parent, TcxCustomRow* row)
{
    if (parent && row) {
        parent->Add(row);
        UnprepareList();
    }
}

void TcxVerticalGridRows::Remove(TcxCustomRow* row)
{
    auto it = std::find(list_.begin(), list_.end(), row);
    if (it != list_.end())
        list_.erase(it);
    UnprepareList();
}

void TcxVerticalGridRows::Clear()
{
    BeginUpdate();
    try {
        owner_->SetFocusedRow(nullptr);
        TcxCustomRow* root = GetRoot();
        while (root->GetCount() > 0)
            FreeObject(root->GetRow(0));
        UnprepareList();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxVerticalGridRows::EndUpdate()
{
    if (lockCount_ > 0 && --lockCount_ == 0)
        Changed(true);
}

void TcxVerticalGridRows::Changed(bool rebuild)
{
    // While locked the list is only marked stale: its first reader rebuilds it, so a batch of
    // tree changes costs one rebuild instead of one per change.
    if (rebuild && !IsLocked())
        PrepareList();
    else {
        if (rebuild)
            count_ = -1;
        ++structureStamp_;
    }
    if (!IsLocked()) {
        owner_->RowsChanged();
        owner_->OptionsView()->CheckRowHeaderWidth();
    }
}

TcxCustomRow* TcxVerticalGridRows::FindRowByID(int id)
{
    if (id == -1)
        return GetRoot();
    for (int i = 0; i < GetCount(); ++i)
        if (list_[i]->RowID() == id)
            return list_[i];
    return nullptr;
}

TcxCustomRow* TcxVerticalGridRows::FindLoadedParent(int id)
{
    if (id == -1)
        return GetRoot();
    for (int i = 0; i < GetCount(); ++i)
        if (list_[i]->LoadedID() == id)
            return list_[i];
    return nullptr;
}

TcxCustomRow* TcxVerticalGridRows::FindRowByStoredName(const std::string& name)
{
    for (int i = 0; i < GetCount(); ++i)
        if (list_[i]->GetObjectName() == name)
            return list_[i];
    return GetRoot();
}

void TcxVerticalGridRows::RestoreDefaults()
{
    for (int i = 0; i < GetCount(); ++i)
        list_[i]->RestoreDefaults();
}

void TcxVerticalGridRows::AssignRows(TcxVerticalGridRows* rows)
{
    if (!rows)
        cxVerticalGridError(cxGetResourceString(&cxSvgAssignRowsError));
    BeginUpdate();
    try {
        Clear();
        std::vector<std::pair<TcxCustomRow*, TcxCustomRow*>> copies;   // source, copy
        for (int i = 0; i < rows->GetCount(); ++i) {
            TcxCustomRow* src = rows->GetRow(i);
            TcxCustomRow* parent = nullptr;
            if (TcxCustomRow* srcParent = src->GetParent())
                for (auto& [s, c] : copies)
                    if (s == srcParent)
                        parent = c;
            TcxCustomRowClass cls = TcxCustomRowClass::FromMeta(&src->ClassType());
            TcxCustomRow* copy = owner_->AddChild(parent, cls);
            copy->id_ = src->RowID();
            copy->Assign(src);
            copies.emplace_back(src, copy);
        }
        // The copies carry their sources' IDs: new rows continue above them.
        for (auto& [s, c] : copies)
            nextID_ = std::max(nextID_, c->RowID() + 1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// --- options ----------------------------------------------------------------------------------
TcxCustomVerticalGrid* TcxvgOptionsView::Grid() const
{
    return dynamic_cast<TcxCustomVerticalGrid*>(EditingControl());
}

void TcxvgOptionsView::Changed()
{
    TcxControlOptionsView::Changed();
}

void TcxvgOptionsView::SetAutoScaleBands(bool value)
{
    if (autoScaleBands_ == value)
        return;
    autoScaleBands_ = value;
    TcxCustomVerticalGrid* grid = Grid();
    if (value && grid && grid->Scroller())
        grid->Scroller()->Strategy()->SetTopVisibleRowIndex(0);
    Changed();
}

void TcxvgOptionsView::SetPaintStyle(TcxvgPaintStyle value)
{
    if (paintStyle_ == value)
        return;
    paintStyle_ = value;
    if (TcxCustomVerticalGrid* grid = Grid()) {
        grid->OptionsBehavior()->SyncAlwaysShowEditor();
        if (grid->ViewInfo())
            grid->RecreateViewInfo();
    }
    CheckRowHeaderWidth();
    Changed();
}

TColor TcxvgOptionsView::GridLineColor() const
{
    if (gridLineColorAssigned_)
        return gridLineColor_;
    return paintStyle_ == psDelphi ? clBtnShadow : clBtnFace;
}

void TcxvgOptionsView::SetGridLineColor(TColor value)
{
    gridLineColorAssigned_ = true;
    gridLineColor_ = value;
    Changed();
}

void TcxvgOptionsView::SetRowHeaderMinWidth(int value)
{
    value = std::max(value, 0);
    if (rowHeaderMinWidth_ != value) {
        rowHeaderMinWidth_ = value;
        CheckRowHeaderWidth();
        Changed();
    }
}

void TcxvgOptionsView::SetRowHeaderWidth(int value)
{
    TcxCustomVerticalGrid* grid = Grid();
    if (TcxvgCustomViewInfo* viewInfo = grid ? grid->ViewInfo() : nullptr) {
        value = std::max(value, viewInfo->GetViewMinHeaderWidth());
        if (!grid->IsLoading())
            viewInfo->CheckMaxRowHeaderWidth(value, std::max(valueMinWidth_, 4));
    }
    value = std::max(value, rowHeaderMinWidth_);
    if (rowHeaderWidth_ != value) {
        rowHeaderWidth_ = value;
        Changed();
    }
}

void TcxvgOptionsView::SetValueMinWidth(int value)
{
    value = std::max(value, 20);
    if (valueMinWidth_ != value) {
        valueMinWidth_ = value;
        SetValueWidth(valueWidth_);
        Changed();
    }
}

void TcxvgOptionsView::RestoreDefaults()
{
    gridLineColorAssigned_ = false;
    rowHeight_ = -1;
    bandsInterval_ = 2;
    Changed();
}

void TcxvgOptionsView::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxvgOptionsView*>(source);
    if (!src) {
        TcxControlOptionsView::Assign(source);
        return;
    }
    TcxCustomVerticalGrid* grid = Grid();
    if (grid)
        grid->BeginUpdate();
    try {
        TcxControlOptionsView::Assign(source);
        SetPaintStyle(src->paintStyle_);
        gridLineColor_ = src->gridLineColor_;
        gridLineColorAssigned_ = src->gridLineColorAssigned_;
        rowHeaderMinWidth_ = src->rowHeaderMinWidth_;
        rowHeight_ = src->rowHeight_;
        valueMinWidth_ = src->valueMinWidth_;
        valueWidth_ = src->valueWidth_;
        rowHeaderWidth_ = src->rowHeaderWidth_;
        SetBandsInterval(src->bandsInterval_);
        SetCategoryExplorerStyle(src->categoryExplorerStyle_);
        SetShowButtons(src->showButtons_);
        SetShowEmptyRowImage(src->showEmptyRowImage_);
        SetShowHeaders(src->showHeaders_);
        SetGridLines(src->gridLines_);
        SetAutoScaleBands(src->autoScaleBands_);
        if (TcxvgCustomViewInfo* viewInfo = grid ? grid->ViewInfo() : nullptr) {
            viewInfo->ViewBandWidth = 0;
            viewInfo->ViewHeaderWidth = 0;
            viewInfo->ViewValueWidth = 0;
        }
    } catch (...) {
        if (grid)
            grid->EndUpdate();
        throw;
    }
    if (grid)
        grid->EndUpdate();
}

TcxCustomVerticalGrid* TcxvgOptionsBehavior::Grid() const
{
    return dynamic_cast<TcxCustomVerticalGrid*>(EditingControl());
}

bool TcxvgOptionsBehavior::AlwaysShowEditor() const
{
    if (alwaysShowEditorAssigned_)
        return TcxControlOptionsBehavior::AlwaysShowEditor();
    TcxCustomVerticalGrid* grid = Grid();
    return grid && grid->OptionsView()->PaintStyle() == psDelphi;
}

void TcxvgOptionsBehavior::SetAlwaysShowEditor(bool value)
{
    alwaysShowEditorAssigned_ = true;
    TcxControlOptionsBehavior::SetAlwaysShowEditor(value);
}

void TcxvgOptionsBehavior::SyncAlwaysShowEditor()
{
    if (!alwaysShowEditorAssigned_)
        TcxControlOptionsBehavior::SetAlwaysShowEditor(AlwaysShowEditor());
}

void TcxvgOptionsBehavior::RestoreDefaults()
{
    alwaysShowEditorAssigned_ = false;
    SyncAlwaysShowEditor();
}

void TcxvgOptionsBehavior::Assign(TPersistent* source)
{
    TcxControlOptionsBehavior::Assign(source);
    auto* src = dynamic_cast<TcxvgOptionsBehavior*>(source);
    if (!src)
        return;
    alwaysShowEditorAssigned_ = src->alwaysShowEditorAssigned_;
    BandSizing = src->BandSizing;
    HeaderSizing = src->HeaderSizing;
    RowSizing = src->RowSizing;
    RowTracking = src->RowTracking;
}

// --- TcxCustomVerticalGrid --------------------------------------------------------------------
TcxCustomVerticalGrid::TcxCustomVerticalGrid(TComponent* owner) : TcxExtEditingControl(owner)
{
    // The arrows move between rows; typed characters belong to the grid, not the dialog.
    SetKeys(TcxKeys{kArrows, kChars});
    rows_ = std::make_unique<TcxVerticalGridRows>(this);
    root_ = new TcxCategoryRow(nullptr);
    root_->grid_ = this;
    root_->id_ = -1;
    categoryFont_.reset(new TFont());
    categoryFont_->Assign(Font());
    categoryFont_->SetStyle(Font()->GetStyle() | FontStyle(fsBold));
    scroller_.reset(new TcxvgScroller(this));
    SetBounds(Left(), Top(), 150, 200);
}

void TcxCustomVerticalGrid::CreateLayout()
{
    InitDataController();
    layoutReady_ = true;
    ViewInfo();
    OptionsBehavior()->SyncAlwaysShowEditor();
}

TcxvgCustomViewInfo* TcxCustomVerticalGrid::ViewInfo()
{
    if (!layoutReady_)
        return nullptr;
    auto* viewInfo = static_cast<TcxvgCustomViewInfo*>(TcxExtEditingControl::ViewInfo());
    if (viewInfo && !viewInfo->IsInitialized())
        viewInfo->Initialize();
    return viewInfo;
}

TcxControlOptionsBehaviorClass TcxCustomVerticalGrid::GetOptionsBehaviorClass() const
{
    return TcxControlOptionsBehaviorClass::Of<TcxvgOptionsBehavior>();
}

TcxControlOptionsViewClass TcxCustomVerticalGrid::GetOptionsViewClass() const
{
    return TcxControlOptionsViewClass::Of<TcxvgOptionsView>();
}

void TcxCustomVerticalGrid::InitDataController()
{
    DataController()->AppendRecord();
    DataController()->SetFocusedRowIndex(0);
}

TcxCustomVerticalGrid::~TcxCustomVerticalGrid()
{
    // A grid destroyed without Free's teardown still owns its layout here.
    if (TcxvgCustomViewInfo* viewInfo = ViewInfo())
        viewInfo->DetachFromGrid();
}

void TcxCustomVerticalGrid::BeforeDestruction()
{
    // Marked destroying before the rows go: the data notices their values' removal raises must not
    // lay out a tree that is half taken apart.
    Destroying();
    destroying_ = true;
    // The customization form goes first: its lists hold the rows' header infos.
    customizing_.reset();
    focusedRow_ = nullptr;
    if (TcxvgCustomViewInfo* viewInfo = ViewInfo())
        viewInfo->ReleaseRowViewInfos();
    // Rows owned by the form may outlive the grid: they leave it first.
    while (root_ && root_->GetCount() > 0) {
        TcxCustomRow* row = root_->GetRow(0);
        root_->Delete(0);
        row->RemoveAll();
        row->SetVerticalGrid(nullptr);
    }
    FreeAndNil(root_);
    layoutReady_ = false;
    TcxExtEditingControl::BeforeDestruction();
}

void TcxCustomVerticalGrid::CheckRowClass(TcxCustomRowClass rowClass)
{
    if (rowClass && (rowClass.InheritsFrom(*GetEditorRowClass().Meta()) ||
                     rowClass.InheritsFrom(TcxCategoryRow::StaticClass()) ||
                     rowClass.InheritsFrom(*GetMultiEditorRowClass().Meta())))
        return;
    cxVerticalGridError(cxGetResourceString(&cxSvgInvalidRowClass));
}

TcxCustomRowClass TcxCustomVerticalGrid::GetEditorRowClass() const
{
    return TcxCustomRowClass::Of<TcxEditorRow>();
}

TcxCustomRowClass TcxCustomVerticalGrid::GetMultiEditorRowClass() const
{
    return TcxCustomRowClass::Of<TcxMultiEditorRow>();
}

TcxCustomRow* TcxCustomVerticalGrid::Add(TcxCustomRowClass rowClass)
{
    return AddChild(nullptr, rowClass);
}

TcxCustomRow* TcxCustomVerticalGrid::AddChild(TcxCustomRow* parent, TcxCustomRowClass rowClass)
{
    CheckRowClass(rowClass);
    TcxCustomRow* row = rowClass.Create(Owner());
    row->SetVerticalGrid(this);
    if (parent)
        rows_->AddChild(parent, row);
    else
        rows_->Add(row);
    LayoutChanged();
    return row;
}

void TcxCustomVerticalGrid::ClearRows()
{
    BeginUpdate();
    DataController()->BeginUpdateFields();
    try {
        Controller()->Clear();
        SetFocusedRow(nullptr);
        rows_->Clear();
    } catch (...) {
        DataController()->EndUpdateFields();
        EndUpdate();
        throw;
    }
    DataController()->EndUpdateFields();
    EndUpdate();
}

void TcxCustomVerticalGrid::AssignRows(TcxCustomVerticalGrid* grid)
{
    if (grid)
        rows_->AssignRows(grid->Rows());
}

TcxCustomRow* TcxCustomVerticalGrid::RowByName(const std::string& name)
{
    for (int i = 0; i < rows_->GetCount(); ++i)
        if (SameTextCI(rows_->GetRow(i)->Name(), name))
            return rows_->GetRow(i);
    return nullptr;
}

TcxCustomRow* TcxCustomVerticalGrid::RowByCaption(const std::string& caption)
{
    for (int i = 0; i < rows_->GetCount(); ++i) {
        TcxCustomRow* row = rows_->GetRow(i);
        if (auto* props = dynamic_cast<TcxCaptionRowProperties*>(row->PropertiesObject()))
            if (SameTextCI(props->GetCaption(), caption))
                return row;
    }
    return nullptr;
}

bool TcxCustomVerticalGrid::HasRows() const
{
    return root_ && root_->HasChildren();
}

TcxCustomRow* TcxCustomVerticalGrid::FirstRow() const
{
    return HasRows() ? root_->GetRow(0) : nullptr;
}

TcxCustomRow* TcxCustomVerticalGrid::LastRow()
{
    int n = rows_->GetCount();
    return n > 0 ? rows_->GetRow(n - 1) : nullptr;
}

TcxCustomRow* TcxCustomVerticalGrid::NextRow(TcxCustomRow* row)
{
    if (!row)
        return FirstRow();
    int i = rows_->IndexOf(row);
    return i >= 0 && i + 1 < rows_->GetCount() ? rows_->GetRow(i + 1) : nullptr;
}

TcxCustomRow* TcxCustomVerticalGrid::PrevRow(TcxCustomRow* row)
{
    if (!row)
        return LastRow();
    int i = rows_->IndexOf(row);
    return i > 0 ? rows_->GetRow(i - 1) : nullptr;
}

bool TcxCustomVerticalGrid::IsRowVisible(const TcxCustomRow* row) const
{
    if (!row || !row->Visible())
        return false;
    for (const TcxCustomRow* p = row->ParentRow(); p && p != root_; p = p->ParentRow())
        if (!p->Visible() || !p->Expanded())
            return false;
    return true;
}

TcxCustomRow* TcxCustomVerticalGrid::FirstVisibleRow() const
{
    return root_ ? root_->GetFirstVisibleChild() : nullptr;
}

// The layout's list of visible rows while it answers for the rows as they are; null otherwise,
// and the lookups walk the rows themselves.
TcxvgCustomViewInfo* TcxCustomVerticalGrid::CurrentVisibleRows() const
{
    TcxvgCustomViewInfo* vi = layoutReady_ && !destroying_ ? const_cast<TcxCustomVerticalGrid*>(this)->ViewInfo() : nullptr;
    return vi && vi->VisibleRowsCurrent() ? vi : nullptr;
}

TcxCustomRow* TcxCustomVerticalGrid::LastVisibleRow()
{
    if (TcxvgCustomViewInfo* vi = CurrentVisibleRows())
        return vi->GetVisibleRow(vi->GetVisibleRowCount() - 1);
    for (int i = rows_->GetCount() - 1; i >= 0; --i)
        if (IsRowVisible(rows_->GetRow(i)))
            return rows_->GetRow(i);
    return nullptr;
}

TcxCustomRow* TcxCustomVerticalGrid::NextVisibleRow(TcxCustomRow* row)
{
    if (!row)
        return FirstVisibleRow();
    if (TcxvgCustomViewInfo* vi = CurrentVisibleRows(); vi && vi->VisibleIndexOf(row) >= 0)
        return vi->GetVisibleRow(vi->VisibleIndexOf(row) + 1);
    int i = rows_->IndexOf(row);
    if (i < 0)
        return nullptr;
    for (++i; i < rows_->GetCount(); ++i)
        if (IsRowVisible(rows_->GetRow(i)))
            return rows_->GetRow(i);
    return nullptr;
}

TcxCustomRow* TcxCustomVerticalGrid::PrevVisibleRow(TcxCustomRow* row)
{
    if (!row)
        return LastVisibleRow();
    if (TcxvgCustomViewInfo* vi = CurrentVisibleRows(); vi && vi->VisibleIndexOf(row) >= 0)
        return vi->GetVisibleRow(vi->VisibleIndexOf(row) - 1);
    int i = rows_->IndexOf(row);
    if (i < 0)
        return nullptr;
    for (--i; i >= 0; --i)
        if (IsRowVisible(rows_->GetRow(i)))
            return rows_->GetRow(i);
    return nullptr;
}

void TcxCustomVerticalGrid::FullExpand()
{
    if (!HasRows())
        return;
    BeginUpdate();
    root_->Expand(true);
    EndUpdate();
}

void TcxCustomVerticalGrid::FullCollapse()
{
    if (!HasRows())
        return;
    BeginUpdate();
    for (int i = 0; i < root_->GetCount(); ++i)
        root_->GetRow(i)->Collapse(true);
    EndUpdate();
}

void TcxCustomVerticalGrid::SetFocusedRow(TcxCustomRow* row)
{
    if (focusedRow_ == row)
        return;
    TcxCustomRow* old = focusedRow_;
    focusedRow_ = row;
    // The editing road works on the focused item: it follows the row's first value.
    if (!destroying_ && layoutReady_)
        Controller()->SetFocusedItem(row ? row->GetEditContainer(0) : nullptr);
    if (row)
        scroller_->SetRowVisible(row);
    if (TcxvgCustomViewInfo* viewInfo = ViewInfo(); viewInfo && !IsLocked())
        viewInfo->ChangeFocusedRow(row, old);
    DoItemChanged(old, 0);
}

void TcxCustomVerticalGrid::FocusRow(TcxCustomRow* row, int cellIndex)
{
    GridController()->SetFocusedRowAndCell(row, cellIndex);
    GridController()->MakeFocusedItemVisible();
}

void TcxCustomVerticalGrid::FocusedCellChanged(TcxCustomRow* row, int cellIndex)
{
    if (destroying_ || !layoutReady_ || !row)
        return;
    TcxCustomInplaceEditContainer* item = row->GetEditContainer(cellIndex);
    if (item && Controller()->FocusedItem() != item)
        Controller()->SetFocusedItem(item);
}

bool TcxCustomVerticalGrid::CanBandSizing()
{
    return OptionsBehavior()->BandSizing && !OptionsView()->AutoScaleBands();
}

void TcxCustomVerticalGrid::DoItemChanged(TcxCustomRow* oldRow, int oldCellIndex)
{
    if (OnItemChanged)
        OnItemChanged(this, oldRow, oldCellIndex);
}

int TcxCustomVerticalGrid::GetTopVisibleRowIndex() { return scroller_->GetTopVisibleRowIndex(); }
int TcxCustomVerticalGrid::GetLeftVisibleBand() { return scroller_->GetLeftVisibleBand(); }
int TcxCustomVerticalGrid::GetLeftVisibleRecord() { return scroller_->GetLeftVisibleRecord(); }

void TcxCustomVerticalGrid::SetTopVisibleRowIndex(int index)
{
    if (ViewInfo() && HandleAllocated())
        ViewInfo()->Calculate();
    scroller_->SetTopVisibleRowIndex(index);
}

void TcxCustomVerticalGrid::SetLeftVisibleBand(int index)
{
    if (ViewInfo() && HandleAllocated())
        ViewInfo()->Calculate();
    scroller_->SetLeftVisibleBand(index);
}

void TcxCustomVerticalGrid::SetLeftVisibleRecord(int index)
{
    if (ViewInfo() && HandleAllocated())
        ViewInfo()->Calculate();
    scroller_->SetLeftVisibleRecord(index);
}

void TcxCustomVerticalGrid::RestoreDefaults()
{
    BeginUpdate();
    OptionsBehavior()->RestoreDefaults();
    OptionsView()->RestoreDefaults();
    rows_->RestoreDefaults();
    EndUpdate();
    Modified();
}

void TcxCustomVerticalGrid::DoLayoutChanged()
{
    if (destroying_ || !ViewInfo())
        return;
    ++calcLock_;
    try {
        ViewInfo()->Calculate();
    } catch (...) {
        --calcLock_;
        throw;
    }
    --calcLock_;
    scroller_->SetCheckDecrease(true);
    scroller_->CheckDecreaseLeftIndex();
    scroller_->CheckDecreaseTopIndex();
    if (customizing_)
        CustomizingLayoutChanged();
    vcl::FireEvent(OnLayoutChanged, this);
}

void TcxCustomVerticalGrid::RowsChanged()
{
    if (!IsLocked())
        LayoutChanged();
    else if (ViewInfo())
        ViewInfo()->UpdateVisibleRows();
}

void TcxCustomVerticalGrid::RecreateViewInfo()
{
    if (!layoutReady_) {
        TcxExtEditingControl::RecreateViewInfo();
        return;
    }
    HideEdit();
    int top = scroller_->GetTopVisibleRowIndex();
    ++calcLock_;
    try {
        if (TcxvgCustomViewInfo* old = ViewInfo())
            old->ClearLinesAndRows();
        TcxExtEditingControl::RecreateViewInfo();
        ViewInfo();
    } catch (...) {
        --calcLock_;
        throw;
    }
    --calcLock_;
    scroller_->SetTopVisibleRowIndex(top);
}

TcxViewParams TcxCustomVerticalGrid::GetRowHeaderParams(TcxCustomRow* row) { return Styles()->GetHeaderParams(row); }

TcxViewParams TcxCustomVerticalGrid::GetRowCategoryParams(TcxCustomRow* row) { return Styles()->GetCategoryParams(row); }

TcxViewParams TcxCustomVerticalGrid::GetRowSelectedHeaderParams(TcxCustomRow* row)
{
    return Styles()->GetSelectedHeaderParams(row);
}

namespace {
// Whether a content look is asked for the focused value.
bool ContentFocused(TObject* data)
{
    if (auto* request = dynamic_cast<TcxvgContentRequest*>(data))
        return request->Focused;
    auto* cell = dynamic_cast<TcxEditCellViewInfo*>(data);
    return cell && cell->GetFocused();
}
} // namespace

void TcxCustomVerticalGrid::GetDefaultViewParams(int index, TObject* data, TcxViewParams& params)
{
    params.Font = Font();
    params.TextColor = Font()->GetColor();
    params.Bitmap = nullptr;
    TcxCustomLookAndFeelPainterClass painter = GetLookAndFeelPainter();
    switch (index) {
    case vgs_Inactive:
        params.Color = painter->DefaultInactiveColor();
        params.TextColor = painter->DefaultInactiveTextColor();
        return;
    case vgs_Selection:
        params.Color = painter->DefaultSelectionColor();
        params.TextColor = painter->DefaultSelectionTextColor();
        return;
    default:
        break;
    }
    TcxvgCustomPaintStyleCalcHelper* helper = ViewInfo() ? ViewInfo()->CalcHelper() : nullptr;
    if (!helper)
        return;
    switch (index) {
    case vgs_Content:
        params.Color = helper->GetContentColor(ContentFocused(data));
        params.TextColor = helper->GetContentTextColor();
        break;
    case vgs_Background:
        params.Color = helper->GetBackgroundColor();
        params.Bitmap = Styles()->GetBitmap(vgs_Background);
        break;
    case vgs_Category:
        params.Font = CategoryFont();
        params.Color = helper->GetCategoryColor();
        params.TextColor = helper->GetCategoryTextColor();
        break;
    case vgs_Header:
        params.Color = helper->GetHeaderColor();
        params.TextColor = helper->GetHeaderTextColor();
        break;
    case vgs_IncSearch:
        params.Color = clDefault;
        params.TextColor = clDefault;
        break;
    default:
        break;
    }
}

void TcxCustomVerticalGrid::SetImages(TCustomImageList* value)
{
    if (images_ == value)
        return;
    images_ = value;
    LayoutChanged();
}

bool TcxCustomVerticalGrid::GetIsEditing()
{
    return EditingController()->IsEditing();
}

TcxCustomEdit* TcxCustomVerticalGrid::GetInplaceEditor()
{
    return GetIsEditing() ? EditingController()->InplaceEditor() : nullptr;
}

void TcxCustomVerticalGrid::CancelEdit()
{
    EditingController()->HideEdit(false);
}

void TcxCustomVerticalGrid::HideEdit()
{
    EditingController()->HideEdit(true);
}

// The focused row scrolled out of sight (by the scroll bar or the wheel) comes back before its
// editor opens by key or F2: an editor opens only on a laid-out cell, and the typed character
// would be lost.
void TcxCustomVerticalGrid::ShowEdit()
{
    if (!OptionsData()->Editing())
        return;
    DataController()->Edit();
    if (CanFocus())
        SetFocus();
    GridController()->MakeFocusedItemVisible();
    EditingController()->ShowEdit();
}

void TcxCustomVerticalGrid::ShowEditByKey(char16_t key)
{
    if (!OptionsData()->Editing())
        return;
    DataController()->Edit();
    if (CanFocus())
        SetFocus();
    GridController()->MakeFocusedItemVisible();
    EditingController()->ShowEdit(nullptr, key);
}

void TcxCustomVerticalGrid::ShowEditByMouse(int x, int y, TShiftState shift)
{
    if (!OptionsData()->Editing())
        return;
    DataController()->Edit();
    if (CanFocus())
        SetFocus();
    EditingController()->ShowEdit(nullptr, shift, x, y);
}

namespace {
TcxCustomEditorRowProperties* RowPropertiesOf(TcxCustomInplaceEditContainer* item)
{
    auto* cell = dynamic_cast<TcxCellEdit*>(item);
    return cell ? cell->EditRowProperties() : nullptr;
}
} // namespace

bool TcxCustomVerticalGrid::DoEditing(TcxCustomInplaceEditContainer* item)
{
    bool allow = TcxExtEditingControl::DoEditing(item);
    if (allow && OnEditing)
        OnEditing(this, RowPropertiesOf(item), allow);
    return allow;
}

void TcxCustomVerticalGrid::DoEdited(TcxCustomInplaceEditContainer* item)
{
    TcxExtEditingControl::DoEdited(item);
    if (OnEdited)
        OnEdited(this, RowPropertiesOf(item));
}

void TcxCustomVerticalGrid::DoEditValueChanged(TcxCustomInplaceEditContainer* item)
{
    TcxExtEditingControl::DoEditValueChanged(item);
    if (OnEditValueChanged)
        OnEditValueChanged(this, RowPropertiesOf(item));
}

void TcxCustomVerticalGrid::DoInplaceEditContainerItemRemoved(TcxCustomInplaceEditContainer* item)
{
    TcxExtEditingControl::DoInplaceEditContainerItemRemoved(item);
}

void TcxCustomVerticalGrid::DataChanged()
{
    if (calcLock_ > 0 || destroying_)
        return;
    ++calcLock_;
    try {
        TcxExtEditingControl::DataChanged();
    } catch (...) {
        --calcLock_;
        throw;
    }
    --calcLock_;
    LayoutChanged();
    Controller()->MakeFocusedRecordVisible();
}

void TcxCustomVerticalGrid::RemoveRowFromVerticalGrid(TcxCustomRow* row)
{
    if (customizing_)
        CustomizingRowRemoved(row);
    ++calcLock_;
    if (!destroying_ && row == focusedRow_)
        focusedRow_ = nullptr;
    rows_->Remove(row);
    if (row->parent_) {
        int i = row->parent_->IndexOf(row);
        if (i >= 0)
            row->parent_->children_->Delete(i);
        row->parent_ = nullptr;
    }
    row->RemoveAll();
    --calcLock_;
    if (!destroying_) {
        if (ViewInfo())
            ViewInfo()->ClearLinesAndRows();
        LayoutChanged();
    }
}

void TcxCustomVerticalGrid::Loaded()
{
    TcxvgCustomViewInfo* viewInfo = ViewInfo();
    bool lock = viewInfo ? viewInfo->LockDividerPos : true;
    if (viewInfo)
        viewInfo->LockDividerPos = true;
    TcxExtEditingControl::Loaded();
    OptionsBehavior()->SyncAlwaysShowEditor();
    if (viewInfo)
        viewInfo->LockDividerPos = lock;
    RestoreLayout();
    LayoutChanged();
}

void TcxCustomVerticalGrid::RestoreLayout()
{
    if (loadedVersion_ <= 0) {
        Modified();
        return;
    }
    BeginUpdate();
    rows_->BeginUpdate();
    try {
        std::vector<TcxCustomRow*> copy;
        for (int i = 0; i < rows_->GetCount(); ++i)
            copy.push_back(rows_->GetRow(i));
        for (TcxCustomRow* row : copy) {
            TcxCustomRow* parent = rows_->FindLoadedParent(row->LoadedParentID());
            // A parent that would close a cycle leaves the row where it is (SetParent refuses).
            row->SetParent(parent ? parent : root_);
        }
        if (copy.size() > 1)
            std::stable_sort(copy.begin(), copy.end(),
                             [](TcxCustomRow* a, TcxCustomRow* b) { return a->LoadedIndex() < b->LoadedIndex(); });
        for (TcxCustomRow* row : copy)
            row->SetIndex(row->LoadedIndex());
    } catch (...) {
        rows_->CancelUpdate();
        CancelUpdate();
        throw;
    }
    // The restore sends no notice of its own: Loaded lays out afterwards.
    rows_->CancelUpdate();
    rows_->PrepareList();
    CancelUpdate();
}

void TcxCustomVerticalGrid::SetName(const std::string& name)
{
    std::string oldName = Name();
    TcxExtEditingControl::SetName(name);
    if (name == oldName || name.empty())
        return;
    std::vector<TcxCustomRow*> rows;
    for (int i = 0; i < rows_->GetCount(); ++i)
        rows.push_back(rows_->GetRow(i));
    for (TcxCustomRow* row : rows) {
        const std::string& rowName = row->Name();
        if (row->Owner() != Owner() || oldName.empty() || rowName.size() <= oldName.size() ||
            !SameTextCI(rowName.substr(0, oldName.size()), oldName))
            continue;
        try {
            row->SetName(name + rowName.substr(oldName.size()));
        } catch (const Exception&) {
            // A clash of one row's new name leaves that row as it was.
        }
    }
    if (!IsLoading() && HasRows())
        LayoutChanged();
}

void TcxCustomVerticalGrid::FontChanged()
{
    ++calcLock_;
    TcxExtEditingControl::FontChanged();
    if (categoryFont_) {
        categoryFont_->Assign(Font());
        categoryFont_->SetStyle(Font()->GetStyle() | FontStyle(fsBold));
    }
    --calcLock_;
    LayoutChanged();
}

void TcxCustomVerticalGrid::InitControl()
{
    if (ViewInfo())
        ViewInfo()->LockDividerPos = false;
    TcxExtEditingControl::InitControl();
}

void TcxCustomVerticalGrid::InitScrollBarsParameters()
{
    if (scroller_ && scroller_->Strategy() && ViewInfo())
        scroller_->InitScrollBarsParameters();
}

void TcxCustomVerticalGrid::Scroll(TScrollBarKind kind, TScrollCode code, int& pos)
{
    scroller_->Scroll(kind == sbVertical, code, pos);
}

void TcxCustomVerticalGrid::GetChildren(const std::function<void(TComponent*)>& proc)
{
    for (int i = 0; i < rows_->GetCount(); ++i)
        proc(rows_->GetRow(i));
}

TcxUnboundVerticalGrid::TcxUnboundVerticalGrid(TComponent* owner) : TcxCustomVerticalGrid(owner)
{
    CreateLayout();
}

bool TcxUnboundVerticalGrid::CanBandSizing()
{
    return TcxCustomVerticalGrid::CanBandSizing() && layoutStyle_ != ulsSingleRecordView;
}

TcxvgCustomScrollStrategyClass TcxUnboundVerticalGrid::GetScrollStrategyClass() const
{
    if (layoutStyle_ == ulsBandsView)
        return TcxvgCustomScrollStrategyClass::Of<TcxvgBandsScrollStrategy>();
    return TcxvgCustomScrollStrategyClass::Of<TcxvgSingleRecordScrollStrategy>();
}

TcxCustomControlViewInfoClass TcxUnboundVerticalGrid::GetViewInfoClass() const
{
    if (layoutStyle_ == ulsBandsView)
        return TcxCustomControlViewInfoClass::Of<TcxBandsViewInfo>();
    return TcxCustomControlViewInfoClass::Of<TcxInspectorViewInfo>();
}

void TcxUnboundVerticalGrid::SetLayoutStyle(TcxvgUnboundLayoutStyle value)
{
    if (layoutStyle_ == value)
        return;
    layoutStyle_ = value;
    RecreateViewInfo();
    ViewInfo()->LayoutStyleChanged();
}

TcxVerticalGrid::TcxVerticalGrid(TComponent* owner) : TcxUnboundVerticalGrid(owner) {}

namespace cxVGridUnit {

namespace {
int initCount = 0;

const std::vector<const TClassMeta*>& StreamedClasses()
{
    static const std::vector<const TClassMeta*> classes = {
        &TcxCategoryRow::StaticClass(), &TcxEditorRow::StaticClass(), &TcxMultiEditorRow::StaticClass(),
        &TcxCaptionRowProperties::StaticClass(), &TcxEditorRowProperties::StaticClass(),
        &TcxMultiEditorRowProperties::StaticClass()};
    return classes;
}
} // namespace

void Initialize()
{
    if (initCount++ > 0)
        return;
    // The row kinds are made by name when a form is read: their factories come with the metas.
    TcxCustomRowClass::Of<TcxCategoryRow>();
    TcxCustomRowClass::Of<TcxEditorRow>();
    TcxCustomRowClass::Of<TcxMultiEditorRow>();
    for (const TClassMeta* meta : StreamedClasses())
        RegisterClassMeta(*meta);
    cxVGridLoadCursors();
}

void Finalize()
{
    if (initCount == 0 || --initCount > 0)
        return;
    cxVGridFreeCursors();
    for (auto it = StreamedClasses().rbegin(); it != StreamedClasses().rend(); ++it)
        UnRegisterClassMeta(**it);
}

} // namespace cxVGridUnit

} // namespace cx
