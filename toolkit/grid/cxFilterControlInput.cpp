// The filter builder's behaviour: internal controls, texts, focus movement, keys, mouse,
// drop-down lists, the row menu and the value editors.
#include "toolkit/grid/cxFilterControl.h"

#include "platform/vcl/Menus.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxTextEdit.h"

namespace cx {

// --- internal controls and texts ---------------------------------------------------------------------
void TcxCustomFilterControl::CreateInternalControls()
{
    valueEditStyle_ = new TcxCustomEditStyle(this, true);
    valueEditStyle_->SetFont(FontValue());
    valueEditStyle_->GetLookAndFeel()->SetMasterLookAndFeel(LookAndFeel());
    editList_ = new TcxInplaceEditList(this);
    defaultProperties_ = new TcxTextEditProperties(nullptr);
}

void TcxCustomFilterControl::DestroyInternalControls()
{
    delete editList_;
    editList_ = nullptr;
    delete valueEditStyle_;
    valueEditStyle_ = nullptr;
    delete defaultProperties_;
    defaultProperties_ = nullptr;
}

void TcxCustomFilterControl::CheckInplaceControlsColor() {}
void TcxCustomFilterControl::InitControl()
{
    TcxControl::InitControl();
    Localize();
}

void TcxCustomFilterControl::Localize()
{
    cxFilterControlFillTexts();
    Root()->SetCaption(cxFilterControlString(&cxSFilterRootGroupCaption));
    ViewInfo()->SetAddConditionCaption(cxFilterControlString(&cxSFilterFooterAddCondition));
    nullString_ = cxFilterControlString(&cxSFilterControlNullString);
    LayoutChanged();
}

void TcxCustomFilterControl::TranslationChanged() { Localize(); }

// --- layout requests and scrolling --------------------------------------------------------------------
void TcxCustomFilterControl::LayoutChanged()
{
    if (lockCount_ > 0 || IsDestroying() || IsLoading() || !HandleAllocated())
        return;
    BeginUpdate();
    try {
        DoLayoutChange();
    } catch (...) {
        --lockCount_;
        throw;
    }
    --lockCount_;
}

void TcxCustomFilterControl::DoLayoutChange()
{
    ViewInfo()->Calc();
    Invalidate();
}

void TcxCustomFilterControl::InitScrollBarsParameters() {}
void TcxCustomFilterControl::Scroll(TScrollBarKind, TScrollCode, int&) {}
void TcxCustomFilterControl::SetTopVisibleRow(int value) { topVisibleRow_ = std::max(value, 0); }
void TcxCustomFilterControl::SetLeftOffset(int value) { leftOffset_ = std::max(value, 0); }

// --- properties --------------------------------------------------------------------------------------
void TcxCustomFilterControl::SetFont(TcxFilterControlFont index, TFont* value) { fonts_[index]->Assign(value); }
bool TcxCustomFilterControl::IsFontStored(TcxFilterControlFont) const { return false; }
void TcxCustomFilterControl::SetNullString(const std::string& value) { nullString_ = value; }
bool TcxCustomFilterControl::IsNullStringStored() const { return false; }
void TcxCustomFilterControl::SetShowLevelLines(bool value) { showLevelLines_ = value; }
void TcxCustomFilterControl::SetWantTabs(bool value) { wantTabs_ = value; }
bool TcxCustomFilterControl::HasHotTrack() { return false; }
void TcxCustomFilterControl::FontChangedHandler(TObject*) { LayoutChanged(); }

// --- control notices ---------------------------------------------------------------------------------
void TcxCustomFilterControl::Loaded()
{
    TcxControl::Loaded();
    LayoutChanged();
}
void TcxCustomFilterControl::SetEnabled(bool value)
{
    TcxControl::SetEnabled(value);
    LayoutChanged();
}
void TcxCustomFilterControl::SetParent(TWinControl* parent)
{
    TcxControl::SetParent(parent);
    LayoutChanged();
}
void TcxCustomFilterControl::LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues)
{
    TcxControl::LookAndFeelChanged(sender, changedValues);
    LayoutChanged();
}
void TcxCustomFilterControl::BoundsChanged()
{
    TcxControl::BoundsChanged();
    LayoutChanged();
}
void TcxCustomFilterControl::FocusChanged()
{
    TcxControl::FocusChanged();
    LayoutChanged();
}
void TcxCustomFilterControl::FontChanged() { TcxControl::FontChanged(); }
void TcxCustomFilterControl::FormatChanged() { LayoutChanged(); }
void TcxCustomFilterControl::MouseEnter(TControl* control) { TcxControl::MouseEnter(control); }
void TcxCustomFilterControl::MouseLeave(TControl* control) { TcxControl::MouseLeave(control); }
void TcxCustomFilterControl::MouseTrackingCallerMouseLeave() {}
void TcxCustomFilterControl::KeyDown(std::uint16_t& key, TShiftState shift) { TcxControl::KeyDown(key, shift); }
void TcxCustomFilterControl::KeyPress(char16_t& key) { TcxControl::KeyPress(key); }
void TcxCustomFilterControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxControl::MouseDown(button, shift, x, y);
}
void TcxCustomFilterControl::MouseMove(TShiftState shift, int x, int y) { TcxControl::MouseMove(shift, x, y); }

// --- editing and navigation --------------------------------------------------------------------------
void TcxCustomFilterControl::AddCondition(TcxCustomRowViewInfo*) {}
void TcxCustomFilterControl::AddGroup() {}
void TcxCustomFilterControl::AddValue() {}
void TcxCustomFilterControl::Remove() {}
void TcxCustomFilterControl::RemoveRow() {}
void TcxCustomFilterControl::RemoveValue() {}
void TcxCustomFilterControl::FocusNext(bool) {}
void TcxCustomFilterControl::FocusPrev(bool) {}
void TcxCustomFilterControl::FocusUp(bool) {}
void TcxCustomFilterControl::FocusDown(bool) {}
void TcxCustomFilterControl::RowNavigate(TcxFilterControlHitTest part, int)
{
    focusedInfo_.HitTest = part;
}
void TcxCustomFilterControl::SetFocusedRow(TcxCustomRowViewInfo* row)
{
    focusedInfo_.Row = row;
    RowNavigate(row && row->IsGroup() ? fhtBoolOperator : fhtItem);
}
void TcxCustomFilterControl::EnsureRowVisible() {}
void TcxCustomFilterControl::ProcessHitTest(TcxFilterControlHitTest, bool) {}
void TcxCustomFilterControl::RefreshProperties() {}
TRect TcxCustomFilterControl::FocusedPartRect() { return {}; }

// --- drop-downs, menu and value editors --------------------------------------------------------------
void TcxCustomFilterControl::FillFilterItemList(TStrings*) {}
void TcxCustomFilterControl::FillConditionList(TStrings*) {}
void TcxCustomFilterControl::ValidateConditions(TcxFilterControlOperators& operators)
{
    if (!Criteria()->SupportsLike) {
        operators.Exclude(fcoLike);
        operators.Exclude(fcoNotLike);
    }
}
void TcxCustomFilterControl::SelectAction() {}
void TcxCustomFilterControl::SelectBoolOperator() {}
void TcxCustomFilterControl::SelectCondition() {}
void TcxCustomFilterControl::SelectItem() {}
void TcxCustomFilterControl::SelectValue(TcxActivateValueEditKind, char16_t) {}
void TcxCustomFilterControl::DropDownComboBox(const TRect&, const std::string&) {}
void TcxCustomFilterControl::ValueEditorInit() {}
void TcxCustomFilterControl::ValueEditorHide(bool)
{
    valueRejected_ = false;
    state_ = fcsNormal;
}
void TcxCustomFilterControl::CommitValueEditor() {}
void TcxCustomFilterControl::ComboBoxCloseUp(TObject*) {}
void TcxCustomFilterControl::ComboBoxExit(TObject*) {}
void TcxCustomFilterControl::ComboBoxKeyDown(TObject*, std::uint16_t&, TShiftState) {}
void TcxCustomFilterControl::ComboBoxKeyPress(TObject*, char16_t&) {}
void TcxCustomFilterControl::ComboBoxPopup(TObject*) {}
void TcxCustomFilterControl::RowMenuClick(TObject*) {}
void TcxCustomFilterControl::ValueEditorAfterKeyDown(TObject*, std::uint16_t&, TShiftState) {}
void TcxCustomFilterControl::ValueEditorExit(TObject*) {}
void TcxCustomFilterControl::ValueEditorKeyDown(TObject*, std::uint16_t&, TShiftState) {}

} // namespace cx
