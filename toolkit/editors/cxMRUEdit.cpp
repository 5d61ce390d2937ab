// The most-recently-used editor: confirmed values to the top of the list, the length limit with its
// notice, the ellipsis button, and the unit's start-up.
#include "toolkit/editors/cxMRUEdit.h"

#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditRepositoryItems.h"

#include <algorithm>

namespace cx {

// ---- properties ----------------------------------------------------------------------------------

TcxCustomMRUEditProperties::TcxCustomMRUEditProperties(TPersistent* owner) : TcxCustomComboBoxProperties(owner)
{
    BeginUpdate();
    TcxEditButton* ellipsis = Buttons()->Add();
    ellipsis->SetKind(bkEllipsis);
    ellipsis->SetDefault(true);
    SetGlyphButtonIndex(1);
    SetDropDownListStyle(lsEditList);
    SetMRUMode(true);
    EndUpdate(false);
}

void TcxCustomMRUEditProperties::Changed()
{
    TcxCustomComboBoxProperties::Changed();
    if (HasButtonGlyph() || Buttons()->Count() < 2)
        return;
    // Without a glyph the buttons show their own kinds again.
    if (Buttons()->Items(0)->Kind() != bkDown)
        Buttons()->Items(0)->SetKind(bkDown);
    if (Buttons()->Items(1)->Kind() != bkEllipsis)
        Buttons()->Items(1)->SetKind(bkEllipsis);
}

void TcxCustomMRUEditProperties::SetShowEllipsis(bool value)
{
    if (value == showEllipsis_)
        return;
    showEllipsis_ = value;
    BeginUpdate();
    Buttons()->Items(1)->SetVisible(value);
    SetGlyphButtonIndex(value ? 1 : 0);
    EndUpdate();
}

void TcxCustomMRUEditProperties::SetMaxItemCount(int value)
{
    value = std::max(0, value);
    if (value == maxItemCount_)
        return;
    maxItemCount_ = value;
    CheckItemCount();
    Changed();
}

void TcxCustomMRUEditProperties::CheckItemCount()
{
    if (maxItemCount_ <= 0)
        return;
    while (int(LookupItems().size()) > maxItemCount_) {
        const int last = int(LookupItems().size()) - 1;
        if (OnDeleteLookupItem.Assigned())
            OnDeleteLookupItem(this, last);
        std::vector<std::string> items = LookupItems();
        if (int(items.size()) <= maxItemCount_)
            break;
        items.pop_back();
        SetLookupItems(items);
    }
}

void TcxCustomMRUEditProperties::DoOnNewLookupDisplayText(const std::string& text)
{
    if (OnNewLookupDisplayText.Assigned())
        OnNewLookupDisplayText(this, text);
}

void TcxCustomMRUEditProperties::InternalAddItem(const std::string& text, bool fireEvent)
{
    if (text.empty())
        return;
    std::vector<std::string> items = LookupItems();
    const auto found = std::find_if(items.begin(), items.end(), [&](const std::string& s) { return AnsiSameText(s, text); });
    if (found == items.begin())
        return;
    if (found != items.end()) {
        // The known item moves up with its own spelling.
        std::rotate(items.begin(), found, found + 1);
        SetLookupItems(items);
        return;
    }
    if (fireEvent)
        DoOnNewLookupDisplayText(text);
    items.insert(items.begin(), text);
    SetLookupItems(items);
    CheckItemCount();
}

void TcxCustomMRUEditProperties::Update(TcxCustomEditProperties* properties)
{
    if (auto* p = dynamic_cast<TcxCustomMRUEditProperties*>(properties); p && p != this)
        p->SetLookupItems(LookupItems());
}

void TcxCustomMRUEditProperties::Assign(TPersistent* source)
{
    BeginUpdate();
    try {
        TcxCustomComboBoxProperties::Assign(source);
        if (auto* s = dynamic_cast<TcxCustomMRUEditProperties*>(source)) {
            maxItemCount_ = s->maxItemCount_;
            SetShowEllipsis(s->showEllipsis_);
            OnButtonClick = s->OnButtonClick;
            OnDeleteLookupItem = s->OnDeleteLookupItem;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

const TClassMeta* TcxCustomMRUEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxMRUEdit>().Meta();
}

// ---- the editor ----------------------------------------------------------------------------------

TcxCustomMRUEdit::TcxCustomMRUEdit(TComponent* owner, bool isInplace)
    : TcxCustomComboBox(owner, isInplace, DropDownClassesWith(TcxCustomEditPropertiesClass::Of<TcxCustomMRUEditProperties>()))
{
}

TcxCustomMRUEdit::TcxCustomMRUEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomComboBox(owner, isInplace, classes)
{
}

TcxMRUEdit::TcxMRUEdit(TComponent* owner, bool isInplace)
    : TcxCustomMRUEdit(owner, isInplace, DropDownClassesWith(TcxCustomEditPropertiesClass::Of<TcxMRUEditProperties>()))
{
}

void TcxCustomMRUEdit::AddItem(const std::string& text)
{
    if (text.empty())
        return;
    const auto& items = ActiveProperties()->LookupItems();
    const bool known = std::any_of(items.begin(), items.end(), [&](const std::string& s) { return AnsiSameText(s, text); });
    if (!known)
        DoOnNewLookupDisplayText(text);
    ActiveProperties()->InternalAddItem(text, false);
}

void TcxCustomMRUEdit::DoButtonClick(int buttonVisibleIndex)
{
    if (buttonVisibleIndex != 1) {
        TcxCustomComboBox::DoButtonClick(buttonVisibleIndex);
        return;
    }
    vcl::FireEvent(Properties()->OnButtonClick, this);
    if (RepositoryItem() && ActiveProperties() != Properties())
        vcl::FireEvent(ActiveProperties()->OnButtonClick, this);
}

void TcxCustomMRUEdit::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    if (key == VK_RETURN && !shift.Contains(ssAlt) && (!DroppedDown() || SelectedItem() == -1))
        AddItem(Text());
    TcxCustomComboBox::DoEditKeyDown(key, shift);
}

void TcxCustomMRUEdit::HandleSelectItem(TObject* sender)
{
    TcxCustomComboBox::HandleSelectItem(sender);
    if (!IsDblClickStepping() && DoEditing())
        AddItem(Text());
}

void TcxCustomMRUEdit::InternalValidateDisplayValue(const Variant& displayValue)
{
    AddItem(VarToStr(displayValue));
    TcxCustomComboBox::InternalValidateDisplayValue(displayValue);
}

// ---- unit start-up -------------------------------------------------------------------------------

namespace cxMRUEditUnit {
namespace {
TcxEditKindUnit<TcxMRUEditProperties, TcxFilterTextEditHelper, TcxMRUEdit> unit;
} // namespace

void Initialize() { unit.Initialize(&scxSEditRepositoryMRUItem); }
void Finalize() { unit.Finalize(); }
} // namespace cxMRUEditUnit

} // namespace cx
