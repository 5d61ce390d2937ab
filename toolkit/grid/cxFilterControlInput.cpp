// The filter builder's behaviour: internal controls, texts, focus movement, keys, mouse,
// drop-down lists, the row menu and the value editors.
#include "toolkit/grid/cxFilterControl.h"

#include <algorithm>
#include <utility>

#include "platform/vcl/Forms.h"
#include "platform/gdi/Text.h"
#include "platform/vcl/Menus.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxTextEdit.h"

namespace cx {

namespace {
bool IsListOperator(TcxFilterControlOperator op) { return op == fcoInList || op == fcoNotInList; }

// Parts drawn with a hot or pressed state.
bool HasButtonState(TcxFilterControlHitTest part)
{
    return part == fhtButton || part == fhtValue || part == fhtAddCondition || part == fhtAddValue;
}

TcxGroupViewInfo* OwningGroup(TcxFilterRowViewInfo* row)
{
    while (row && !row->IsGroup())
        row = row->Parent();
    return static_cast<TcxGroupViewInfo*>(row);
}

enum TRowMenuItem { rmiAddCondition, rmiAddGroup, rmiSeparator, rmiRemove };

// The drop-down list shows the part's font without its underline.
void DrawListEntry(TcxCustomComboBox* combo, TcxCanvas* canvas, int index, const TRect& rect, TOwnerDrawState)
{
    TFont* font = canvas->GetFont();
    font->SetStyle(font->GetStyle() & ~FontStyle(fsUnderline));
    canvas->FillRect(rect);
    const std::vector<std::string>& items = combo->ActiveProperties()->Items();
    if (index < 0 || index >= static_cast<int>(items.size()))
        return;
    TRect r = rect;
    r.Left += 2;
    cxDrawText(canvas->GetHandle(), items[static_cast<std::size_t>(index)], r,
               gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX | gdi::DT_LEFT);
}
} // namespace

// --- internal controls and texts ---------------------------------------------------------------------
void TcxCustomFilterControl::CreateInternalControls()
{
    comboBox_ = new TcxComboBox(nullptr);
    comboBox_->Style()->GetLookAndFeel()->SetMasterLookAndFeel(LookAndFeel());
    comboBox_->SetVisible(false);
    comboBox_->SetParentColor(true);
    comboBox_->SetEditAutoSize(false);   // exactly over the part's text
    comboBox_->OnExit = [this](TObject* s) { ComboBoxExit(s); };
    comboBox_->OnKeyPress = [this](TObject* s, char16_t& k) { ComboBoxKeyPress(s, k); };
    comboBox_->OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { ComboBoxKeyDown(s, k, sh); };
    TcxComboBoxProperties* properties = comboBox_->Properties();
    properties->Buttons()->Items(0)->SetVisible(false);
    properties->SetDropDownListStyle(lsFixedList);
    properties->OnPopup = [this](TObject* s) { ComboBoxPopup(s); };
    properties->OnCloseUp = [this](TObject* s) { ComboBoxCloseUp(s); };
    properties->OnDrawItem = &DrawListEntry;

    valueEditStyle_ = new TcxCustomEditStyle(this, true);
    valueEditStyle_->SetFont(FontValue());
    valueEditStyle_->GetLookAndFeel()->SetMasterLookAndFeel(LookAndFeel());
    valueEditStyle_->SetButtonTransparency(ebtHideUnselected);

    // The menu and the editors belong to the control but are freed here, not with its owned
    // components, which go before the control's own teardown. No images in the menu.
    rowMenu_ = new TPopupMenu(nullptr);
    for (int i = rmiAddCondition; i <= rmiRemove; ++i) {
        auto* item = new TMenuItem(rowMenu_);
        item->Tag = i;
        item->OnClick = [this](TObject* s) { RowMenuClick(s); };
        rowMenu_->Items()->Add(item);
    }
    editList_ = new TcxInplaceEditList(nullptr);
    defaultProperties_ = new TcxTextEditProperties(nullptr);
}

void TcxCustomFilterControl::DestroyInternalControls()
{
    valueEditor_ = nullptr;
    delete editList_;
    editList_ = nullptr;
    delete valueEditStyle_;
    valueEditStyle_ = nullptr;
    delete defaultProperties_;
    defaultProperties_ = nullptr;
    if (rowMenu_)
        rowMenu_->Free();
    rowMenu_ = nullptr;
    // Forgotten before it goes, so its exit notice finds nothing to hide.
    if (TcxComboBox* combo = std::exchange(comboBox_, nullptr)) {
        combo->OnExit = nullptr;
        combo->Free();
    }
}

void TcxCustomFilterControl::CheckInplaceControlsColor()
{
    if (comboBox_)
        comboBox_->Style()->SetColor(ViewInfo()->Painter()->GetContentColor());
}

void TcxCustomFilterControl::InitControl()
{
    TcxControl::InitControl();
    comboBox_->SetParent(this);
    Localize();
}

void TcxCustomFilterControl::Localize()
{
    TMenuItem* items = rowMenu_->Items();
    items->Items(rmiAddCondition)->Caption = cxFilterControlString(&cxSFilterAddCondition);
    items->Items(rmiAddGroup)->Caption = cxFilterControlString(&cxSFilterAddGroup);
    items->Items(rmiSeparator)->Caption = "-";
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
    if (lockCount_ > 0 || IsDestroying() || IsLoading() || !HandleAllocated() ||
        (comboBox_ && comboBox_->DroppedDown()))
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
    TcxFilterControlViewInfo* vi = ViewInfo();
    vi->Calc();
    const int rowHeight = vi->RowHeight();
    // Rows scrolled away above while there is room below: bring them back, all in one step (each
    // row brought back moves the add-condition button one row height down).
    const int room = ClientHeight() - vi->AddConditionRect.Bottom;
    if (topVisibleRow_ > 0 && rowHeight > 0 && room >= rowHeight + 2) {
        topVisibleRow_ = std::max(topVisibleRow_ - ((room - (rowHeight + 2)) / rowHeight + 1), 0);
        vi->Calc();
    }
    const int excess = ClientWidth() + leftOffset_ - (vi->MaxRowWidth() + 2);
    if (leftOffset_ > 0 && excess > 0) {
        leftOffset_ = std::max(leftOffset_ - excess, 0);
        vi->Calc();
    }
    UpdateScrollBars();
    Invalidate();
}

void TcxCustomFilterControl::InitScrollBarsParameters()
{
    const int rowHeight = ViewInfo()->RowHeight();
    if (rowHeight == 0)
        return;
    SetScrollBarInfo(sbVertical, 0, RowCount() - 1, 1, ClientHeight() / rowHeight - 1, topVisibleRow_, true, true);
    SetScrollBarInfo(sbHorizontal, 0, ViewInfo()->MaxRowWidth(), 1, ClientWidth(), leftOffset_, true, true);
}

void TcxCustomFilterControl::Scroll(TScrollBarKind kind, TScrollCode code, int& pos)
{
    if (kind == sbVertical) {
        const int page = VScrollBar() ? VScrollBar()->PageSize() : 1;
        switch (code) {
        case scLineUp: SetTopVisibleRow(topVisibleRow_ - 1); break;
        case scLineDown: SetTopVisibleRow(topVisibleRow_ + 1); break;
        case scPageUp: SetTopVisibleRow(topVisibleRow_ - page); break;
        case scPageDown: SetTopVisibleRow(topVisibleRow_ + page); break;
        case scTrack: SetTopVisibleRow(pos); break;
        default: break;
        }
        pos = topVisibleRow_;
        return;
    }
    const int page = HScrollBar() ? HScrollBar()->PageSize() : ClientWidth();
    switch (code) {
    case scLineUp: SetLeftOffset(leftOffset_ - 8); break;
    case scLineDown: SetLeftOffset(leftOffset_ + 8); break;
    case scPageUp: SetLeftOffset(leftOffset_ - page); break;
    case scPageDown: SetLeftOffset(leftOffset_ + page); break;
    case scTrack: SetLeftOffset(pos); break;
    default: break;
    }
    pos = leftOffset_;
}

void TcxCustomFilterControl::SetTopVisibleRow(int value)
{
    const int rowHeight = ViewInfo()->RowHeight();
    if (rowHeight > 0)
        value = std::min(value, RowCount() - ClientHeight() / rowHeight + 1);
    value = std::max(value, 0);
    if (value == topVisibleRow_)
        return;
    topVisibleRow_ = value;
    LayoutChanged();
}

void TcxCustomFilterControl::SetLeftOffset(int value)
{
    value = std::max(std::min(value, ViewInfo()->MaxRowWidth() - ClientWidth() + 1), 0);
    if (value == leftOffset_)
        return;
    leftOffset_ = value;
    LayoutChanged();
}

// --- properties --------------------------------------------------------------------------------------
void TcxCustomFilterControl::SetFont(TcxFilterControlFont index, TFont* value) { fonts_[index]->Assign(value); }

bool TcxCustomFilterControl::IsFontStored(TcxFilterControlFont index) const
{
    static const TColor colors[] = {clRed, clGreen, clMaroon, clBlue};
    const TFont* font = fonts_[index];
    const TFontStyles style = index != fcfValue ? FontStyle(fsUnderline) : 0u;
    return !SameText(font->GetName(), Font()->GetName()) || font->GetHeight() != Font()->GetHeight() ||
           font->GetColor() != colors[index] || font->GetCharset() != Font()->GetCharset() ||
           font->GetStyle() != style;
}

void TcxCustomFilterControl::SetNullString(const std::string& value)
{
    if (nullString_ == value)
        return;
    nullString_ = value;
    LayoutChanged();
}

bool TcxCustomFilterControl::IsNullStringStored() const
{
    return nullString_ != cxFilterControlString(&cxSFilterControlNullString);
}

void TcxCustomFilterControl::SetShowLevelLines(bool value)
{
    if (showLevelLines_ == value)
        return;
    showLevelLines_ = value;
    Invalidate();
}

void TcxCustomFilterControl::SetWantTabs(bool value)
{
    wantTabs_ = value;
    TcxKeys keys{kAll, kArrows, kChars};
    if (value)
        keys.Include(kTab);
    SetKeys(keys);
}

bool TcxCustomFilterControl::HasHotTrack()
{
    const bool focused = IsFocused() || (valueEditor_ && valueEditor_->IsFocused());
    return Enabled() && (hotTrackOnUnfocused_ || focused) && HasItems();
}

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
    CheckInplaceControlsColor();
}

void TcxCustomFilterControl::BoundsChanged()
{
    TcxControl::BoundsChanged();
    if (HandleAllocated())
        LayoutChanged();
}

void TcxCustomFilterControl::FocusChanged()
{
    TcxControl::FocusChanged();
    if (HandleAllocated())
        ViewInfo()->GetHitTestInfo(TShiftState(), ScreenToClient(Mouse->CursorPos()), hotTrackInfo_);
    LayoutChanged();
}

// The four fonts follow the control's name, height and character set.
void TcxCustomFilterControl::FontChanged()
{
    TcxControl::FontChanged();
    if (IsLoading() && !IsDesigning())
        return;
    BeginUpdate();
    for (TFont* font : fonts_) {
        if (!font)
            continue;
        font->SetName(Font()->GetName());
        font->SetHeight(Font()->GetHeight());
        font->SetCharset(Font()->GetCharset());
    }
    EndUpdate();
}

void TcxCustomFilterControl::FormatChanged() { LayoutChanged(); }

void TcxCustomFilterControl::MouseEnter(TControl* control)
{
    TcxControl::MouseEnter(control);
    BeginMouseTracking(this, GetBounds(), this);
}

void TcxCustomFilterControl::MouseLeave(TControl* control)
{
    TcxControl::MouseLeave(control);
    MouseTrackingCallerMouseLeave();
}

void TcxCustomFilterControl::MouseTrackingCallerMouseLeave()
{
    EndMouseTracking(this);
    hotTrackInfo_ = TcxFilterControlHitTestInfo();
    LayoutChanged();
}

// --- keys --------------------------------------------------------------------------------------------
void TcxCustomFilterControl::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxControl::KeyDown(key, shift);
    const bool ctrl = shift.Contains(ssCtrl);
    switch (key) {
    case VK_TAB:
        if (ctrl) {
            if (Parent())
                Parent()->SelectNext(this, !shift.Contains(ssShift), true);
        } else if (shift == TShiftState())
            FocusNext(true);
        else if (shift == TShiftState{ssShift})
            FocusPrev(true);
        key = 0;
        break;
    case VK_LEFT: FocusPrev(false); break;
    case VK_RIGHT: FocusNext(false); break;
    case VK_UP: FocusUp(false); break;
    case VK_DOWN: FocusDown(false); break;
    case VK_INSERT:
        if (shift == TShiftState())
            AddCondition(FocusedRow());
        break;
    case VK_DELETE:
        if (ctrl)
            Remove();
        break;
    default: break;
    }
}

void TcxCustomFilterControl::KeyPress(char16_t& key)
{
    TcxControl::KeyPress(key);
    // An input method's word arrives as characters queued for the builder: the first opens the
    // value's editor, the rest belong to that editor (opening it again would drop what came first).
    if (key != 0 && key != 27 && valueEditor_ && state_ == fcsSelectingValue) {
        HWND focus = ::GetFocus();
        if (focus && focus != Handle())
            vcl::SendMessage(focus, WM_CHAR, key, 0);
        key = 0;
        return;
    }
    if (key == 13 || key == ' ')
        ProcessHitTest(FocusedPart(), false);
    else if (key != 0 && key != 27 && FocusedPart() == fhtValue)
        SelectValue(aveKey, key);
}

// --- focus movement ----------------------------------------------------------------------------------
namespace {
TcxConditionViewInfo* AsCondition(TcxFilterRowViewInfo* row) { return dynamic_cast<TcxConditionViewInfo*>(row); }
} // namespace

void TcxCustomFilterControl::FocusNext(bool toNextRow)
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    switch (FocusedPart()) {
    case fhtButton: RowNavigate(condition ? fhtItem : fhtBoolOperator); break;
    case fhtItem: RowNavigate(fhtOperator); break;
    case fhtOperator:
        if (condition && condition->HasDisplayValues())
            RowNavigate(fhtValue, 0);
        else if (toNextRow)
            FocusDown(true);
        break;
    case fhtValue:
        if (condition && FocusedValueIndex() < condition->Values()->Count() - 1)
            RowNavigate(fhtValue, FocusedValueIndex() + 1);
        else if (condition && IsListOperator(condition->Operator()))
            RowNavigate(fhtAddValue);
        else if (toNextRow)
            FocusDown(true);
        break;
    case fhtBoolOperator:
    case fhtAddValue:
        if (toNextRow)
            FocusDown(true);
        break;
    case fhtAddCondition:
        if (!toNextRow)
            SetFocusedRow(Rows(RowCount() - 1));
        break;
    default: break;
    }
}

void TcxCustomFilterControl::FocusPrev(bool toPrevRow)
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    switch (FocusedPart()) {
    case fhtButton:
        if (toPrevRow)
            FocusUp(true);
        break;
    case fhtBoolOperator:
    case fhtItem: RowNavigate(fhtButton); break;
    case fhtOperator: RowNavigate(fhtItem); break;
    case fhtValue:
        if (FocusedValueIndex() > 0)
            RowNavigate(fhtValue, FocusedValueIndex() - 1);
        else
            RowNavigate(fhtOperator);
        break;
    case fhtAddValue:
        if (condition)
            RowNavigate(fhtValue, condition->Values()->Count() - 1);
        break;
    case fhtAddCondition: FocusUp(toPrevRow); break;
    default: break;
    }
}

void TcxCustomFilterControl::FocusUp(bool toLastPart)
{
    TcxCustomRowViewInfo* target;
    if (FocusedPart() == fhtAddCondition)
        target = Rows(RowCount() - 1);
    else if (FocusedRow() == Root())
        return;
    else
        target = Rows(IndexOfRow(FocusedRow()) - 1);
    if (!toLastPart) {
        SetFocusedRow(target);
        return;
    }
    focusedInfo_.Row = target;
    focusedInfo_.ValueIndex = -1;
    TcxConditionViewInfo* condition = AsCondition(target);
    if (!condition)
        RowNavigate(fhtBoolOperator);
    else if (!condition->HasDisplayValues())
        RowNavigate(fhtOperator);
    else if (IsListOperator(condition->Operator()))
        RowNavigate(fhtAddValue, condition->Values()->Count() - 1);
    else
        RowNavigate(fhtValue, condition->Values()->Count() - 1);
}

void TcxCustomFilterControl::FocusDown(bool toButton)
{
    const int index = IndexOfRow(FocusedRow());
    if (index >= RowCount() - 1) {
        RowNavigate(fhtAddCondition);
        return;
    }
    if (!toButton) {
        SetFocusedRow(Rows(index + 1));
        return;
    }
    focusedInfo_.Row = Rows(index + 1);
    focusedInfo_.ValueIndex = -1;
    RowNavigate(fhtButton);
}

void TcxCustomFilterControl::RowNavigate(TcxFilterControlHitTest part, int valueIndex)
{
    focusedInfo_.HitTest = part;
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (condition && valueIndex >= 0 && valueIndex < condition->Values()->Count())
        focusedInfo_.ValueIndex = valueIndex;
    if (HandleAllocated())
        ViewInfo()->Calc();
    EnsureRowVisible();
}

void TcxCustomFilterControl::SetFocusedRow(TcxCustomRowViewInfo* row)
{
    focusedInfo_.Row = row;
    focusedInfo_.ValueIndex = -1;
    RowNavigate(row && row->IsGroup() ? fhtBoolOperator : fhtItem);
}

TRect TcxCustomFilterControl::FocusedPartRect()
{
    TcxCustomRowViewInfo* row = FocusedRow();
    TcxConditionViewInfo* condition = AsCondition(row);
    switch (FocusedPart()) {
    case fhtButton: {
        TRect r = row->ButtonRect;
        if (row == Root())
            r.Left -= 4;
        return r;
    }
    case fhtBoolOperator: return row->IsGroup() ? static_cast<TcxGroupViewInfo*>(row)->BoolOperatorRect : TRect();
    case fhtItem: return condition ? condition->ItemRect : TRect();
    case fhtOperator: return condition ? condition->OperatorRect : TRect();
    case fhtValue:
        if (condition && FocusedValueIndex() >= 0 && FocusedValueIndex() < condition->Values()->Count())
            return condition->Values()->Items(FocusedValueIndex())->ValueRect;
        return {};
    case fhtAddCondition: return ViewInfo()->AddConditionRect;
    case fhtAddValue: return condition ? condition->Values()->AddButtonRect : TRect();
    default: return {};
    }
}

void TcxCustomFilterControl::EnsureRowVisible()
{
    TcxFilterControlViewInfo* vi = ViewInfo();
    if (!HandleAllocated() || vi->RowHeight() == 0 || !FocusedRow())
        return;
    const int index = IndexOfRow(FocusedRow());
    if (index < topVisibleRow_) {
        topVisibleRow_ = index;
        vi->Calc();
    } else {
        auto bottom = [&] {
            return FocusedPart() == fhtAddCondition ? vi->AddConditionRect.Bottom : FocusedRow()->RowRect.Bottom;
        };
        // Every row is one row height high, so the rows needed to bring the bottom into view are
        // counted at once: one layout, however far the focus went (a step at a time cost a layout
        // of all rows per row scrolled).
        const int below = bottom() - ClientHeight();
        if (below > 0 && topVisibleRow_ < RowCount() - 1) {
            const int rowHeight = vi->RowHeight();
            topVisibleRow_ = std::min(topVisibleRow_ + (below + rowHeight - 1) / rowHeight, RowCount() - 1);
            vi->Calc();
        }
    }
    const TRect r = FocusedPartRect();
    int shift = 0;
    if (r.Right > ClientWidth())
        shift = r.Right - (ClientWidth() - 2);
    if (r.Left - shift < 0)
        shift = r.Left;
    if (shift != 0) {
        leftOffset_ = std::max(leftOffset_ + shift, 0);
        vi->Calc();
    }
    UpdateScrollBars();
    Invalidate();
}

// --- mouse -------------------------------------------------------------------------------------------
void TcxCustomFilterControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxControl::MouseDown(button, shift, x, y);
    // A value the editor refused keeps its editor: clicks wait until it closes.
    if (valueRejected_ || !HasItems())
        return;
    ViewInfo()->GetHitTestInfo(shift, TPoint{x, y}, hotTrackInfo_);
    if (hotTrackInfo_.HitTest == fhtNone || state_ != fcsNormal || button != mbLeft)
        return;
    // The focused part is laid out anew (a focused value is wider) before an editor takes its
    // place, as the press may come without a move over the part first.
    focusedInfo_ = hotTrackInfo_;
    ViewInfo()->Calc();
    EnsureRowVisible();
    ProcessHitTest(focusedInfo_.HitTest, true);
}

void TcxCustomFilterControl::MouseMove(TShiftState shift, int x, int y)
{
    TcxControl::MouseMove(shift, x, y);
    BeginMouseTracking(this, GetBounds(), this);
    const TcxFilterControlHitTestInfo old = hotTrackInfo_;
    ViewInfo()->GetHitTestInfo(shift, TPoint{x, y}, hotTrackInfo_);
    const bool hot = HasHotTrack() && hotTrackInfo_.HitTest != fhtNone;
    SetCursor(hot ? crHandPoint : crDefault);
    const TcxFilterControlHitTestInfo& now = hotTrackInfo_;
    if (old.Row == now.Row && old.HitTest == now.HitTest && old.ValueIndex == now.ValueIndex)
        return;
    if (!HasButtonState(old.HitTest) && !HasButtonState(now.HitTest))
        return;
    if (old.Row && old.Row != now.Row && HasButtonState(old.HitTest) && IndexOfRow(old.Row) >= 0)
        ViewInfo()->InvalidateRow(old.Row);
    if (now.Row && HasButtonState(now.HitTest))
        ViewInfo()->InvalidateRow(now.Row);
    ViewInfo()->Update();
}

void TcxCustomFilterControl::ProcessHitTest(TcxFilterControlHitTest part, bool byMouse)
{
    switch (part) {
    case fhtButton: SelectAction(); break;
    case fhtBoolOperator: SelectBoolOperator(); break;
    case fhtItem: SelectItem(); break;
    case fhtOperator: SelectCondition(); break;
    case fhtValue: SelectValue(byMouse ? aveMouse : aveEnter, 0); break;
    case fhtAddCondition: AddCondition(nullptr); break;
    case fhtAddValue: AddValue(); break;
    default: break;
    }
}

// --- adding and removing -----------------------------------------------------------------------------
void TcxCustomFilterControl::AddCondition(TcxCustomRowViewInfo* row)
{
    if (!HasItems())
        return;
    TcxGroupViewInfo* group = OwningGroup(row ? row : Rows(RowCount() - 1));
    auto* condition = new TcxConditionViewInfo(this, group, nullptr);
    focusedInfo_.Row = condition;
    focusedInfo_.ValueIndex = -1;
    RebuildRowList();
    RowNavigate(fhtAddCondition);   // the add-condition button comes into view too
    RowNavigate(fhtItem);
    Invalidate();
}

void TcxCustomFilterControl::AddGroup()
{
    if (!HasItems())
        return;
    auto* group = new TcxGroupViewInfo(this, OwningGroup(FocusedRow()), nullptr);
    RebuildRowList();
    AddCondition(group);
}

void TcxCustomFilterControl::AddValue()
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (!HasItems() || !condition)
        return;
    condition->Values()->AddValue();
    RowNavigate(fhtValue, condition->Values()->Count() - 1);
    leftOffset_ = std::max(ViewInfo()->MaxRowWidth() - ClientWidth() + 2, 0);
    LayoutChanged();
}

void TcxCustomFilterControl::Remove()
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (condition && FocusedPart() == fhtValue && IsListOperator(condition->Operator()) &&
        condition->Values()->Count() > 1)
        RemoveValue();
    else
        RemoveRow();
}

void TcxCustomFilterControl::RemoveRow()
{
    TcxCustomRowViewInfo* row = FocusedRow();
    if (!HasItems() || !row || row == Root())
        return;
    // A group left without conditions goes with its last one (never the root).
    while (row->Parent() != Root() && row->Parent()->ChildCount() == 1)
        row = row->Parent();
    TcxCustomRowViewInfo* above = Rows(IndexOfRow(row) - 1);
    delete row;
    hotTrackInfo_ = TcxFilterControlHitTestInfo();
    RebuildRowList();
    SetFocusedRow(above);
    LayoutChanged();
    EnsureRowVisible();
}

void TcxCustomFilterControl::RemoveValue()
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (!HasItems() || !condition)
        return;
    const int index = FocusedValueIndex();
    condition->Values()->RemoveValue(index);
    if (index > 0)
        focusedInfo_.ValueIndex = index - 1;
    LayoutChanged();
    EnsureRowVisible();
}

void TcxCustomFilterControl::RefreshProperties()
{
    if (RowCount() <= 1)
        return;
    for (int i = 0; i < RowCount(); ++i)
        if (TcxConditionViewInfo* condition = AsCondition(Rows(i)))
            condition->InternalInit();
    LayoutChanged();
}

// --- the row menu ------------------------------------------------------------------------------------
void TcxCustomFilterControl::SelectAction()
{
    TcxCustomRowViewInfo* row = FocusedRow();
    if (!HasItems() || !row)
        return;
    TMenuItem* items = rowMenu_->Items();
    const bool root = row == Root();
    const bool removable = !root || Root()->ChildCount() > 0;
    items->Items(rmiSeparator)->Visible = removable;
    items->Items(rmiRemove)->Visible = removable;
    items->Items(rmiRemove)->Caption =
        cxFilterControlString(root ? &cxSFilterClearAll : &cxSFilterRemoveRow);
    const TPoint at = ClientToScreen(TPoint{row->ButtonRect.Left, row->ButtonRect.Bottom});
    state_ = fcsSelectingAction;
    try {
        rowMenu_->Popup(at.X, at.Y);
    } catch (...) {
        state_ = fcsNormal;
        throw;
    }
    state_ = fcsNormal;
}

void TcxCustomFilterControl::RowMenuClick(TObject* sender)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    state_ = fcsNormal;
    switch (item->Tag) {
    case rmiAddCondition: AddCondition(FocusedRow()); break;
    case rmiAddGroup: AddGroup(); break;
    case rmiRemove:
        if (FocusedRow() == Root())
            Clear();
        else
            RemoveRow();
        break;
    default: break;
    }
}

// --- drop-down lists ---------------------------------------------------------------------------------
void TcxCustomFilterControl::FillFilterItemList(TStrings* strings)
{
    IcxFilterControl* link = GetFilterLink();
    if (!link)
        return;
    for (int i = 0; i < link->GetFilterCount(); ++i) {
        TcxCustomEditProperties* properties = link->GetFilterProperties(i);
        if (properties && properties->GetSupportedOperations().Contains(esoFiltering))
            strings->AddObject(link->GetFilterCaption(i), reinterpret_cast<TObject*>(static_cast<NativeInt>(i)));
    }
}

void TcxCustomFilterControl::FillConditionList(TStrings* strings)
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (!condition)
        return;
    TcxFilterControlOperators operators = condition->SupportedOperators();
    ValidateConditions(operators);
    for (int op = fcoEqual; op <= fcoInFuture; ++op)
        if (operators.Contains(static_cast<TcxFilterControlOperator>(op)))
            strings->AddObject(cxGetConditionText(static_cast<TcxFilterControlOperator>(op)),
                               reinterpret_cast<TObject*>(static_cast<NativeInt>(op)));
}

// Like patterns only where the criteria can evaluate them.
void TcxCustomFilterControl::ValidateConditions(TcxFilterControlOperators& operators)
{
    if (!Criteria()->SupportsLike) {
        operators.Exclude(fcoLike);
        operators.Exclude(fcoNotLike);
    }
}

namespace {
// Texts with their values as the objects of a string list.
void FillBoolOperators(TStrings* strings)
{
    for (int kind = fboAnd; kind <= fboNotOr; ++kind)
        strings->AddObject(cxGetBoolOperatorText(static_cast<TcxFilterBoolOperatorKind>(kind)),
                           reinterpret_cast<TObject*>(static_cast<NativeInt>(kind)));
}

// The combo box takes the part's font and the list's texts; values take the list's objects.
void SetComboBoxItems(TcxComboBox* comboBox, TFont* font, const TStringList& list, std::vector<int>& values)
{
    comboBox->Style()->SetFont(font);
    values.clear();
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i) {
        texts.push_back(list[i]);
        values.push_back(static_cast<int>(reinterpret_cast<NativeInt>(list.GetObject(i))));
    }
    comboBox->Properties()->SetItems(texts);
}
} // namespace

void TcxCustomFilterControl::SelectBoolOperator()
{
    auto* group = dynamic_cast<TcxGroupViewInfo*>(FocusedRow());
    if (!HasItems() || !group)
        return;
    state_ = fcsSelectingBoolOperator;
    TStringList list;
    FillBoolOperators(&list);
    SetComboBoxItems(comboBox_, FontBoolOperator(), list, comboValues_);
    DropDownComboBox(group->BoolOperatorRect, group->BoolOperatorText());
}

void TcxCustomFilterControl::SelectItem()
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (!HasItems() || !condition)
        return;
    state_ = fcsSelectingItem;
    TStringList list;
    FillFilterItemList(&list);
    if (sortItems_)
        list.Sort();
    SetComboBoxItems(comboBox_, FontItem(), list, comboValues_);
    DropDownComboBox(condition->ItemRect, condition->ItemText());
}

void TcxCustomFilterControl::SelectCondition()
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (!HasItems() || !condition)
        return;
    state_ = fcsSelectingCondition;
    TStringList list;
    FillConditionList(&list);
    SetComboBoxItems(comboBox_, FontCondition(), list, comboValues_);
    DropDownComboBox(condition->OperatorRect, condition->OperatorText());
}

void TcxCustomFilterControl::DropDownComboBox(const TRect& r, const std::string& text)
{
    comboBox_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    comboBox_->Properties()->SetDropDownRows(std::min(12, static_cast<int>(comboValues_.size())));
    comboBox_->SetVisible(true);
    comboBox_->SetEditValue(Variant(text));
    // The part's text is drawn one pixel into its rectangle. The combo box's frame and margins go
    // around that place, so its text lands where the part's was and is not squeezed into the
    // rectangle, which would cut its first character.
    if (const auto* vi = dynamic_cast<const TcxCustomTextEditViewInfo*>(comboBox_->ViewInfo())) {
        const TRect t = vi->TextRect;
        const int right = comboBox_->Width() - t.Right, bottom = comboBox_->Height() - t.Bottom;
        comboBox_->SetBounds(r.Left + 1 - t.Left, r.Top + 1 - t.Top, t.Left + r.Width() - 2 + right,
                             t.Top + r.Height() - 2 + bottom);
    }
    comboBox_->SetFocus();
    comboBox_->SetModifiedAfterEnter(false);
    comboBox_->SetDroppedDown(true);
}

void TcxCustomFilterControl::ComboBoxCloseUp(TObject*)
{
    if (!comboBox_->ModifiedAfterEnter())
        return;
    const int index = comboBox_->SelectedItem();
    if (index < 0 || index >= static_cast<int>(comboValues_.size()))
        return;
    const int value = comboValues_[static_cast<std::size_t>(index)];
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    switch (state_) {
    case fcsSelectingItem:
        if (condition) {
            condition->SetItem(value);
            focusedInfo_.HitTest = fhtOperator;
            TcxValueTypeClass type = condition->ValueTypeClass();
            if (condition->SupportedOperators().Contains(fcoLike) && type && type->IsString())
                condition->SetOperator(fcoLike);
        }
        break;
    case fcsSelectingBoolOperator:
        if (auto* group = dynamic_cast<TcxGroupViewInfo*>(FocusedRow()))
            group->SetBoolOperator(static_cast<TcxFilterBoolOperatorKind>(value));
        break;
    case fcsSelectingCondition:
        if (condition) {
            condition->SetOperator(static_cast<TcxFilterControlOperator>(value));
            condition->InitValues(true);
            if (condition->HasDisplayValues()) {
                focusedInfo_.HitTest = fhtValue;
                focusedInfo_.ValueIndex = 0;
            }
        }
        break;
    default: break;
    }
    HideComboBox();
    ViewInfo()->Calc();
    EnsureRowVisible();
    SetFocus();
}

void TcxCustomFilterControl::HideComboBox()
{
    if (comboBox_)
        comboBox_->SetVisible(false);
    state_ = fcsNormal;
}

void TcxCustomFilterControl::ComboBoxExit(TObject*) { HideComboBox(); }

// Space picks the entry as Enter does; it is never typed.
void TcxCustomFilterControl::ComboBoxKeyDown(TObject*, std::uint16_t& key, TShiftState)
{
    if (key == VK_SPACE && comboBox_->DroppedDown())
        key = VK_RETURN;
}

void TcxCustomFilterControl::ComboBoxKeyPress(TObject*, char16_t& key)
{
    if (key == ' ')
        key = 0;
}

void TcxCustomFilterControl::ComboBoxPopup(TObject*) {}

// --- value editors -----------------------------------------------------------------------------------
void TcxCustomFilterControl::SelectValue(TcxActivateValueEditKind kind, char16_t key)
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (!HasItems() || !condition || FocusedValueIndex() < 0)
        return;
    EnsureRowVisible();
    ValueEditorInit();
    if (!valueEditor_)
        return;
    TcxCustomEditData*& editData = condition->EditDataRef();
    switch (kind) {
    case aveKey: valueEditor_->ActivateByKey(key, editData); break;
    case aveMouse:
        valueEditor_->ActivateByMouse(focusedInfo_.Shift, focusedInfo_.Mouse.X, focusedInfo_.Mouse.Y, editData);
        break;
    default: valueEditor_->Activate(editData); break;
    }
}

void TcxCustomFilterControl::ValueEditorInit()
{
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (!condition)
        return;
    state_ = fcsSelectingValue;
    TcxCustomFilterEditHelperClass helper = condition->FilterEditsHelper();
    TcxCustomEditProperties* properties = condition->HostProperties();
    TcxValueInfo* value = condition->Values()->Items(FocusedValueIndex());
    valueEditor_ = helper->GetFilterEdit(properties, editList_);
    if (!valueEditor_) {
        state_ = fcsNormal;
        return;
    }
    helper->SetFilterValue(valueEditor_, properties, value->Value);
    const TcxFilterControlOperator op = condition->Operator();
    auto* textProperties = dynamic_cast<TcxCustomTextEditProperties*>(valueEditor_->ActiveProperties());
    if (textProperties && (op == fcoLike || op == fcoNotLike) && !textProperties->ValidChars().empty()) {
        // The wildcards must be typable in a pattern.
        std::u16string chars = textProperties->ValidChars();
        chars += static_cast<char16_t>(Criteria()->PercentWildcard());
        chars += static_cast<char16_t>(Criteria()->UnderscoreWildcard());
        textProperties->SetValidChars(chars);
    }
    valueEditor_->SetParent(this);
    valueEditStyle_->SetColor(clWindow);
    valueEditor_->SetStyle(valueEditStyle_);
    const TRect& r = value->ValueRect;
    valueEditor_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    valueEditor_->OnAfterKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { ValueEditorAfterKeyDown(s, k, sh); };
    valueEditor_->OnExit = [this](TObject* s) { ValueEditorExit(s); };
    valueEditor_->OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { ValueEditorKeyDown(s, k, sh); };
}

void TcxCustomFilterControl::ValueEditorHide(bool commit)
{
    valueRejected_ = false;
    state_ = fcsNormal;
    TcxCustomEdit* editor = valueEditor_;
    TcxConditionViewInfo* condition = AsCondition(FocusedRow());
    if (!editor)
        return;
    if (commit && condition && FocusedValueIndex() >= 0) {
        if (!editor->Deactivate())
            throw EAbort("");
        TcxCustomFilterEditHelperClass helper = condition->FilterEditsHelper();
        Variant value;
        std::string text;
        helper->GetFilterValue(editor, condition->HostProperties(), value, text);
        try {
            FilterControlValidateValue(editor, value, condition->Operator(), condition->ValueTypeClass(), helper);
        } catch (...) {
            valueRejected_ = true;
            state_ = fcsSelectingValue;
            throw;
        }
        TcxValueInfo* info = condition->Values()->Items(FocusedValueIndex());
        info->Value = value;
        info->ValueText = text;
    }
    if (editor->IsFocused())
        editor->SetModifiedAfterEnter(false);
    // Forgotten before it leaves, so its exit notice finds no editor to commit.
    valueEditor_ = nullptr;
    editor->OnExit = nullptr;
    editor->SetParent(nullptr);
    EnsureRowVisible();
}

void TcxCustomFilterControl::CommitValueEditor()
{
    TcxCustomEdit* editor = valueEditor_;
    try {
        ValueEditorHide(true);
    } catch (...) {
        if (editor && valueEditor_ == editor && editor->CanFocus())
            editor->SetFocus();
        throw;
    }
}

void TcxCustomFilterControl::ValueEditorKeyDown(TObject*, std::uint16_t& key, TShiftState shift)
{
    switch (key) {
    case VK_TAB:
        if (!wantTabs_)
            return;
        CommitValueEditor();
        SetFocus();
        if (shift.Contains(ssShift))
            FocusPrev(true);
        else
            FocusNext(true);
        key = 0;
        break;
    case VK_RETURN:
        CommitValueEditor();
        SetFocus();
        key = 0;
        break;
    case VK_ESCAPE:
        if (valueEditor_)
            key = 0;
        ValueEditorHide(false);
        SetFocus();
        break;
    case VK_DELETE:
        if (shift == TShiftState{ssCtrl}) {
            ValueEditorHide(false);
            SetFocus();
            Remove();
            key = 0;
        }
        break;
    default: break;
    }
}

void TcxCustomFilterControl::ValueEditorAfterKeyDown(TObject*, std::uint16_t& key, TShiftState shift)
{
    if (key != VK_UP && key != VK_DOWN)
        return;
    CommitValueEditor();
    SetFocus();
    KeyDown(key, shift);
    key = 0;
}

void TcxCustomFilterControl::ValueEditorExit(TObject* sender)
{
    if (sender == valueEditor_)
        CommitValueEditor();
}

} // namespace cx
