// The editor rows' values: the value container of a row and the properties that reach it.
#include "toolkit/grid/cxVGrid.h"

#include <algorithm>

#include "platform/rtl/Unicode.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

// --- TcxCellEdit ----------------------------------------------------------------------------------
TcxCellEdit::TcxCellEdit(TcxCustomRow* row) : TcxCustomInplaceEditContainer(nullptr), row_(row) {}

TcxCustomVerticalGrid* TcxCellEdit::Grid() const
{
    return dynamic_cast<TcxCustomVerticalGrid*>(EditingControl());
}

TcxCustomDataController* TcxCellEdit::Data() const
{
    return EditingControl() ? DataController() : nullptr;
}

int TcxCellEdit::RecordOf(int rowIndex) const
{
    TcxCustomDataController* dc = Data();
    if (!dc || DataItemIndex() < 0 || rowIndex < 0 || rowIndex >= dc->GetRowCount())
        return -1;
    return dc->GetFilteredRecordIndex(rowIndex);
}

bool TcxCellEdit::CanFocus()
{
    return row_ && row_->Options()->Focusing() && TcxCustomInplaceEditContainer::CanFocus();
}

bool TcxCellEdit::CanTabStop()
{
    return row_ && row_->Options()->TabStop && TcxCustomInplaceEditContainer::CanTabStop();
}

bool TcxCellEdit::CanEdit()
{
    return CanFocus() && TcxCustomInplaceEditContainer::CanEdit();
}

Variant TcxCellEdit::GetCurrentValue()
{
    TcxCustomDataController* dc = Data();
    return dc ? GetValue(dc->GetFocusedRowIndex()) : Variant(Null);
}

void TcxCellEdit::SetCurrentValue(const Variant& value)
{
    if (TcxCustomDataController* dc = Data())
        SetValue(dc->GetFocusedRowIndex(), value);
}

Variant TcxCellEdit::GetValue(int rowIndex)
{
    int record = RecordOf(rowIndex);
    return record < 0 ? Variant(Null) : DataController()->GetValue(record, DataItemIndex());
}

void TcxCellEdit::SetValue(int rowIndex, const Variant& value)
{
    int record = RecordOf(rowIndex);
    if (record >= 0)
        DataController()->SetValue(record, DataItemIndex(), value);
}

int TcxCellEdit::GetValueCount()
{
    TcxCustomDataController* dc = Data();
    return dc ? dc->GetRowCount() : 0;
}

Variant TcxCellEdit::GetDisplayValue(TcxCustomEditProperties* properties, int rowIndex)
{
    int record = RecordOf(rowIndex);
    if (record < 0)
        return Variant(std::string());
    if (properties && properties->GetEditValueSource(false) != evsValue)
        return Variant(DataController()->GetDisplayText(record, DataItemIndex()));
    return DataController()->GetValue(record, DataItemIndex());
}

Variant TcxCellEdit::GetEditValue()
{
    if (!GetEditing())
        return Unassigned;
    TcxCustomDataController* dc = Data();
    if (!dc || dc->GetRowCount() == 0)
        return Null;
    return dc->GetEditValue(DataItemIndex(), EditingValueSource);
}

TcxCustomEditContainerItemOptionsClass TcxCellEdit::GetOptionsClass() const
{
    if (dynamic_cast<TcxCustomMultiEditorRow*>(row_))
        return TcxCustomEditContainerItemOptionsClass::Of<TcxMultiEditorRowPropertiesOptions>();
    return TcxCustomEditContainerItemOptionsClass::Of<TcxEditorRowPropertiesOptions>();
}

bool TcxCellEdit::HasDataTextHandler()
{
    return rowProperties_ && rowProperties_->OnGetDisplayText;
}

void TcxCellEdit::DoGetDisplayText(void* recordData, std::string& text)
{
    if (rowProperties_)
        rowProperties_->DoGetDisplayTextEvent(static_cast<int>(reinterpret_cast<std::intptr_t>(recordData)), text);
}

void TcxCellEdit::PropertiesChanged()
{
    TcxCustomVerticalGrid* grid = Grid();
    TcxCustomRowViewInfo* rowViewInfo = row_ ? row_->viewInfo_ : nullptr;
    if (!grid || !rowViewInfo || grid->IsCalculating()) {
        TcxCustomInplaceEditContainer::PropertiesChanged();
        return;
    }
    rowViewInfo->ClearValues();
    TcxCustomInplaceEditContainer::PropertiesChanged();
}

// --- TcxCustomEditorRowProperties -----------------------------------------------------------------
TcxCustomEditorRowProperties::TcxCustomEditorRowProperties(TcxCustomRow* row) : TcxCaptionRowProperties(row)
{
    CreateContainer();
}

TcxCustomEditorRowProperties::TcxCustomEditorRowProperties(TCollection* collection, TcxCustomRow* row)
    : TcxCaptionRowProperties(collection, row)
{
    CreateContainer();
}

void TcxCustomEditorRowProperties::CreateContainer()
{
    editContainer_ = new TcxCellEdit(Row());
    editContainer_->rowProperties_ = this;
}

TcxCustomEditorRowProperties::~TcxCustomEditorRowProperties()
{
    FreeAndNil(editContainer_);
}

TcxItemDataBinding* TcxCustomEditorRowProperties::DataBinding() const
{
    return static_cast<TcxItemDataBinding*>(editContainer_->DataBinding());
}

void TcxCustomEditorRowProperties::SetValue(const Variant& value)
{
    TcxCustomDataController* dc = editContainer_->Data();
    if (!dc || dc->GetRowCount() == 0 || dc->GetFocusedRowIndex() < 0 || editContainer_->DataItemIndex() < 0)
        return;
    if (auto* data = dynamic_cast<TcxDataController*>(dc); data && data->GetEditState().Contains(dceEdit))
        data->SetEditValue(editContainer_->DataItemIndex(), value, evsValue);
    else
        editContainer_->SetCurrentValue(value);
}

void TcxCustomEditorRowProperties::GetDisplayText(int recordIndex, std::string& text)
{
    TcxCustomEditProperties* properties =
        editContainer_->DoGetEditProperties(reinterpret_cast<void*>(static_cast<std::intptr_t>(recordIndex)));
    Variant value = editContainer_->GetDisplayValue(properties, recordIndex);
    text = properties ? Utf16ToUtf8(properties->GetDisplayText(value)) : VarToStr(value);
    DoGetDisplayTextEvent(recordIndex, text);
}

void TcxCustomEditorRowProperties::DoGetDisplayTextEvent(int recordIndex, std::string& text)
{
    if (OnGetDisplayText)
        OnGetDisplayText(this, recordIndex, text);
}

void TcxCustomEditorRowProperties::Assign(TPersistent* source)
{
    if (auto* src = dynamic_cast<TcxCustomEditorRowProperties*>(source))
        editContainer_->Assign(src->editContainer_);
    TcxCaptionRowProperties::Assign(source);
}

void TcxEditorRowProperties::Assign(TPersistent* source)
{
    TcxCustomEditorRowProperties::Assign(source);
    if (auto* src = dynamic_cast<TcxEditorRowProperties*>(source))
        SetValue(src->GetValue());
}

void TcxEditorRowProperties::WriteStreamValues(TWriter* writer)
{
    if (IsCaptionStored()) {
        writer->WriteString("Caption");
        writer->WriteString(GetCaption());
    }
    if (!EditPropertiesClassName().empty()) {
        writer->WriteString("EditPropertiesClassName");
        writer->WriteString(EditPropertiesClassName());
    }
    writer->WriteString("DataBinding.ValueType");
    writer->WriteString(DataBinding()->ValueType());
    Variant value = GetValue();
    if (value.IsNull() || value.IsEmpty())
        return;
    writer->WriteString("Value");
    if (VarType(value) == varInteger)
        writer->WriteInteger(value.ToInteger());
    else
        writer->WriteString(VarToStr(value));
}

void TcxEditorRowProperties::ReadStreamValue(const std::string& name, TReader* reader)
{
    if (name == "Caption")
        SetCaption(reader->ReadString());
    else if (name == "EditPropertiesClassName")
        SetEditPropertiesClassName(reader->ReadString());
    else if (name == "DataBinding.ValueType")
        DataBinding()->SetValueType(reader->ReadString());
    else if (name == "Value") {
        if (reader->NextValue() == vaInteger)
            SetValue(Variant(static_cast<int>(reader->ReadInteger())));
        else
            SetValue(Variant(reader->ReadString()));
    } else
        throw EReadError("Error reading " + name + ": Property does not exist");
}

// --- editor rows ----------------------------------------------------------------------------------
bool TcxCustomEditorRow::CanFocus() const
{
    TcxCustomEditorRowProperties* properties = Properties();
    return Options()->Focusing() && (!properties || properties->Options()->Focusing());
}

TcxCellEdit* TcxCustomEditorRow::GetEditContainer(int) const
{
    TcxCustomEditorRowProperties* properties = Properties();
    return properties ? properties->EditContainer() : nullptr;
}

void TcxCustomEditorRow::SetVerticalGrid(TcxCustomVerticalGrid* grid)
{
    TcxCustomRow::SetVerticalGrid(grid);
    if (TcxCellEdit* container = GetEditContainer(0))
        container->SetEditingControl(grid);
}

void TcxCustomEditorRow::SetParentComponent(TComponent* parent)
{
    TcxCustomRow::SetParentComponent(parent);
    TcxCustomVerticalGrid* grid = dynamic_cast<TcxCustomVerticalGrid*>(parent);
    if (!grid)
        if (auto* row = dynamic_cast<TcxCustomRow*>(parent))
            grid = row->VerticalGrid();
    if (TcxCellEdit* container = GetEditContainer(0))
        container->SetEditingControl(grid);
}

int TcxCustomEditorRow::GetDefaultHeight() const
{
    int height = TcxCustomRow::GetDefaultHeight();
    TcxCustomVerticalGrid* grid = VerticalGrid();
    TcxCellEdit* container = GetEditContainer(0);
    if (!grid || !container || !grid->ViewInfo())
        return height;
    TcxCustomEditProperties* properties = container->GetPropertiesValue();
    if (!properties)
        return height;
    return std::max(height, grid->ViewInfo()->GetDefaultEditHeight(container, properties) + 2);
}

// --- multi-editor rows ----------------------------------------------------------------------------
namespace {
TcxCustomRow* RowOfCollection(TCollection* collection)
{
    auto* editors = dynamic_cast<TcxEditorPropertiesCollection*>(collection);
    return editors ? editors->Row() : nullptr;
}

TcxMultiEditorRowProperties* MultiPropertiesOf(TcxCustomRow* row)
{
    return row ? dynamic_cast<TcxMultiEditorRowProperties*>(row->PropertiesObject()) : nullptr;
}
} // namespace

TcxCollectionItemEditorRowProperties::TcxCollectionItemEditorRowProperties(TCollection* collection)
    : TcxCustomEditorRowProperties(collection, RowOfCollection(collection))
{
    if (Row())
        EditContainer()->SetEditingControl(Row()->VerticalGrid());
}

void TcxCollectionItemEditorRowProperties::SetCollection(TCollection* value)
{
    TcxCustomRow* row = RowOfCollection(value);
    if (row) {
        SetRow(row);
        EditContainer()->SetRow(row);
    }
    TcxMultiEditorRowProperties* owner = MultiPropertiesOf(row);
    const bool locked = owner && owner->EditorsLocked;
    if (owner)
        owner->EditorsLocked = true;
    try {
        TcxCustomEditorRowProperties::SetCollection(value);
        EditContainer()->SetEditingControl(row ? row->VerticalGrid() : nullptr);
    } catch (...) {
        if (owner)
            owner->EditorsLocked = locked;
        throw;
    }
    if (owner)
        owner->EditorsLocked = locked;
    if (row)
        Changed();
}

void TcxCollectionItemEditorRowProperties::SetWidth(int value)
{
    value = std::max(value, 20);
    if (width_ != value) {
        width_ = value;
        Changed();
    }
}

void TcxCollectionItemEditorRowProperties::Assign(TPersistent* source)
{
    TcxCustomEditorRowProperties::Assign(source);
    if (auto* src = dynamic_cast<TcxCollectionItemEditorRowProperties*>(source))
        SetWidth(src->Width());
}

void TcxEditorRowItemProperties::Assign(TPersistent* source)
{
    TcxCollectionItemEditorRowProperties::Assign(source);
    if (auto* src = dynamic_cast<TcxEditorRowItemProperties*>(source)) {
        SetValue(src->GetValue());
        Options()->Assign(src->Options());
        DataBinding()->Assign(src->DataBinding());
    }
}

TcxEditorPropertiesCollection::TcxEditorPropertiesCollection(TcxCustomRow* row)
    : TCollection(TCollectionItemClass::Of<TcxEditorRowItemProperties>()), row_(row)
{
}

TcxEditorRowItemProperties* TcxEditorPropertiesCollection::Add()
{
    return static_cast<TcxEditorRowItemProperties*>(TCollection::Add());
}

TcxEditorRowItemProperties* TcxEditorPropertiesCollection::GetItem(int index) const
{
    return static_cast<TcxEditorRowItemProperties*>(Items(index));
}

TPersistent* TcxEditorPropertiesCollection::GetOwner()
{
    return row_ ? row_->PropertiesObject() : nullptr;
}

std::string TcxEditorPropertiesCollection::GetNamePath()
{
    std::string owner = row_ ? (row_->Name().empty() ? row_->GetNamePath() : row_->Name()) : std::string();
    return owner + ".Editors";
}

void TcxEditorPropertiesCollection::Update(TCollectionItem*)
{
    for (int i = 0; i < Count(); ++i)
        GetItem(i)->EditContainer()->CellIndex = i;
    TcxCustomVerticalGrid* grid = row_ ? row_->VerticalGrid() : nullptr;
    if (!grid || grid->IsLoading())
        return;
    grid->HideEdit();
    TcxMultiEditorRowProperties* owner = MultiPropertiesOf(row_);
    if (owner && owner->EditorsLocked)
        return;
    if (grid->GetFocusedRow() == row_)
        grid->SetFocusedRow(nullptr);
    row_->Changed(false);
}

bool TcxCustomMultiEditorRow::CanFocus() const
{
    if (!Options()->Focusing())
        return false;
    for (int i = 0; i < GetEditContainerCount(); ++i)
        if (GetEditContainer(i)->Options()->Focusing())
            return true;
    return false;
}

int TcxCustomMultiEditorRow::GetEditContainerCount() const
{
    TcxMultiEditorRowProperties* properties = Properties();
    return properties && properties->Editors() ? properties->Editors()->Count() : 0;
}

TcxCellEdit* TcxCustomMultiEditorRow::GetEditContainer(int index) const
{
    if (index < 0 || index >= GetEditContainerCount())
        return nullptr;
    return Properties()->Editors()->GetItem(index)->EditContainer();
}

void TcxCustomMultiEditorRow::SetVerticalGrid(TcxCustomVerticalGrid* grid)
{
    TcxCustomRow::SetVerticalGrid(grid);
    for (int i = 0; i < GetEditContainerCount(); ++i)
        GetEditContainer(i)->SetEditingControl(grid);
}

int TcxCustomMultiEditorRow::GetDefaultHeight() const
{
    int height = TcxCustomRow::GetDefaultHeight();
    TcxCustomVerticalGrid* grid = VerticalGrid();
    if (!grid || !grid->ViewInfo())
        return height;
    for (int i = 0; i < GetEditContainerCount(); ++i) {
        TcxCellEdit* container = GetEditContainer(i);
        if (TcxCustomEditProperties* properties = container->GetPropertiesValue())
            height = std::max(height, grid->ViewInfo()->GetDefaultEditHeight(container, properties) + 2);
    }
    return height;
}

} // namespace cx
