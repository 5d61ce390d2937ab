// The combo box: list styles, its list box (owner drawing, item heights, a release on an item
// choosing it), the preferred and snapped list sizes, the list following the text, the double
// click that steps to the next item, the press on the button that goes on in the list, and its
// filter helper.
#include "toolkit/editors/cxDropDownEdit.h"

#include "platform/gdi/SysParams.h"
#include "platform/rtl/Unicode.h"

#include <algorithm>

namespace cx {

namespace {
int VScrollWidth() { return gdi::GetSystemMetrics(SM_CXVSCROLL); }
int HScrollHeight() { return gdi::GetSystemMetrics(SM_CYHSCROLL); }
} // namespace

// ---- properties ----------------------------------------------------------------------------------

TcxCustomComboBoxProperties::TcxCustomComboBoxProperties(TPersistent* owner)
    : TcxCustomDropDownEditProperties(owner)
{
}

void TcxCustomComboBoxProperties::Assign(TPersistent* source)
{
    BeginUpdate();
    try {
        TcxCustomDropDownEditProperties::Assign(source);
        if (auto* s = dynamic_cast<TcxCustomComboBoxProperties*>(source)) {
            listStyle_ = s->listStyle_;
            dropDownRows_ = s->dropDownRows_;
            itemHeight_ = s->itemHeight_;
            revertable_ = s->revertable_;
            OnDrawItem = s->OnDrawItem;
            OnMeasureItem = s->OnMeasureItem;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomComboBoxProperties::SetDropDownListStyle(TcxEditDropDownListStyle value)
{
    if (listStyle_ == value)
        return;
    listStyle_ = value;
    Changed();
}

void TcxCustomComboBoxProperties::SetDropDownRows(int value)
{
    if (value <= 0 || value == dropDownRows_)
        return;
    dropDownRows_ = value;
    Changed();
}

void TcxCustomComboBoxProperties::SetItemHeight(int value)
{
    if (value == itemHeight_)
        return;
    itemHeight_ = value;
    Changed();
}

TcxEditEditingStyle TcxCustomComboBoxProperties::GetEditingStyle() const
{
    switch (listStyle_) {
    case lsEditFixedList: return esEditList;
    case lsFixedList: return esFixedList;
    default: return TcxCustomDropDownEditProperties::GetEditingStyle();
    }
}

TcxCustomTextEditLookupDataClass TcxCustomComboBoxProperties::GetLookupDataClass() const
{
    return TcxCustomTextEditLookupDataClass::Of<TcxComboBoxLookupData>();
}

TcxCustomEditPopupWindowClass TcxCustomComboBoxProperties::GetPopupWindowClass() const
{
    return TcxCustomEditPopupWindowClass::Of<TcxComboBoxPopupWindow>();
}

const TClassMeta* TcxCustomComboBoxProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxComboBox>().Meta();
}

// ---- popup window --------------------------------------------------------------------------------

void TcxComboBoxPopupWindow::CalculateSize()
{
    TcxCustomDropDownEdit* edit = Edit();
    TcxCustomEditPopupWindowViewInfo* vi = EditViewInfo();
    vi->SizeGripCorner = ecoBottomRight;
    if (edit)
        OwnerBounds = edit->GetPopupWindowOwnerControlBounds();
    const TRect e = vi->GetClientExtent();
    const TSize m = GetMinSize();
    const TSize p = edit ? edit->GetPopupWindowClientPreferredSize() : TSize{0, 0};
    const bool sized = edit && edit->PopupSizeChanged() && Sizeable();
    int w;
    if (sized || (!PopupAutoSize() && PopupWidth() > 0))
        w = PopupWidth();
    else if (PopupAutoSize())
        w = std::max(int(p.cx) + e.Left + e.Right, OwnerBounds.Width());
    else
        w = OwnerBounds.Width();
    int h;
    if ((sized || PopupHeight() != 0) && (Sizeable() || !PopupAutoSize()))
        h = PopupHeight();
    else
        h = p.cy + e.Top + e.Bottom;
    if (Sizeable()) {
        w = std::max(w, MinWidth());
        h = std::max(h, MinHeight());
    }
    SetBounds(Left(), Top(), std::max(w, int(m.cx)), std::max(h, int(m.cy)));
}

// ---- list box ------------------------------------------------------------------------------------

TcxCustomComboBoxListBox::TcxCustomComboBoxListBox(TComponent* owner) : TcxCustomEditListBox(owner) {}

TcxCustomComboBox* TcxCustomComboBoxListBox::ComboBox() const { return dynamic_cast<TcxCustomComboBox*>(Edit()); }

int TcxCustomComboBoxListBox::GetItemHeight(int index)
{
    TcxCustomComboBox* combo = ComboBox();
    int h = combo && combo->ActiveProperties()->ItemHeight() > 0 ? combo->ActiveProperties()->ItemHeight()
                                                                   : TcxCustomEditListBox::GetItemHeight(index);
    if (combo && index >= 0 && combo->IsOnMeasureItemEventAssigned())
        combo->DoOnMeasureItem(index, cxCanvas(), h);
    return h;
}

int TcxCustomComboBoxListBox::GetHeight(int rowCount, int)
{
    int h = 0;
    for (int i = 0; i < rowCount; ++i)
        h += GetItemHeight(i);
    return h;
}

bool TcxCustomComboBoxListBox::DoDrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TcxCustomComboBox* combo = ComboBox();
    if (!combo || !combo->IsOnDrawItemEventAssigned())
        return false;
    combo->DoOnDrawItem(cxCanvas(), index, rect, state);
    return true;
}

void TcxCustomComboBoxListBox::RecreateWindow()
{
    TcxCustomComboBox* combo = ComboBox();
    SetItemHeight(GetItemHeight(-1));
    SetStyle(combo && combo->IsOnMeasureItemEventAssigned() ? lbOwnerDrawVariable : lbOwnerDrawFixed);
}

void TcxCustomComboBoxListBox::MouseMove(TShiftState shift, int x, int y)
{
    if (TcxCustomComboBox* combo = ComboBox(); combo && combo->IgnoreListMouseMove) {
        combo->IgnoreListMouseMove = false;
        return;
    }
    TcxCustomEditListBox::MouseMove(shift, x, y);
}

void TcxCustomComboBoxListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TcxCustomEditListBox::MouseUp(button, shift, x, y);
    if (alive.expired() || button != mbLeft)
        return;
    const int index = ItemAtPos({x, y}, true);
    TcxCustomComboBox* combo = ComboBox();
    if (index == -1 || !combo)
        return;
    SetMouseCapture(false);
    SetItemIndex(index);
    combo->CloseUp(crEnter);
}

// ---- lookup data ---------------------------------------------------------------------------------

TSize TcxComboBoxLookupData::GetVisualAreaPreferredSize(int maxHeight, int width)
{
    TcxCustomEditListBox* list = List();
    auto* combo = static_cast<TcxCustomComboBox*>(Edit());
    if (!list)
        return {0, 0};
    const int count = GetItemCount();
    const int rowsWanted = combo->ActiveProperties()->DropDownRows();
    const int rows = std::min(count, rowsWanted);
    int h = list->GetHeight(rows, maxHeight);
    int w = 0;
    for (int i = 0; i < count; ++i)
        w = std::max(w, list->GetItemWidth(i));
    w += 4;
    list->SetScrollWidth(w);
    if (rowsWanted < count || (maxHeight > 0 && maxHeight < h))
        w += VScrollWidth();
    if (width > 0 && width < w)
        h += HScrollHeight();
    return {w, h};
}

bool TcxComboBoxLookupData::CanResizeVisualArea(TSize& size, int maxHeight, int maxWidth)
{
    TcxCustomEditListBox* list = List();
    if (!list || (size.cx == list->Width() && size.cy == list->Height()))
        return true;
    const int n = GetItemCount();
    const bool growing = size.cy >= list->Height();
    auto hbar = [&](int taken) {
        const int avail = size.cx - (taken < n ? VScrollWidth() : 0);
        return avail < list->ScrollWidth() || (maxWidth > 0 && avail > maxWidth) ? HScrollHeight() : 0;
    };
    int sum = 0, taken = 0, total = 0;
    for (int i = 0; i < n; ++i) {
        const int next = sum + list->GetItemHeight(i);
        const int t = next + hbar(i + 1);
        const bool overMax = maxHeight > 0 && t > maxHeight;
        if (t == size.cy && !overMax) {
            sum = next, taken = i + 1, total = t;
            break;
        }
        if (t > size.cy || overMax) {
            if (overMax || growing) {
                // A further row shows only when all of it fits.
                if (taken == 0)
                    sum = next, taken = 1;
                total = sum + hbar(taken);
            } else {
                sum = next, taken = i + 1, total = t;
            }
            break;
        }
        sum = next, taken = i + 1, total = t;
    }
    const bool scrolling = taken < n;
    const bool horz = hbar(taken) > 0;
    size.cy = total;
    size.cx = std::max(int(size.cx), (scrolling ? VScrollWidth() : 0) + (horz ? VScrollWidth() : 0));
    return true;
}

void TcxComboBoxLookupData::Initialize(TWinControl* parent)
{
    TcxCustomTextEditLookupData::Initialize(parent);
    auto* combo = dynamic_cast<TcxCustomDropDownEdit*>(Edit());
    if (List() && combo)
        List()->LookAndFeel()->SetMasterLookAndFeel(combo->PopupControlsLookAndFeel());
}

// ---- the combo box -------------------------------------------------------------------------------

TcxCustomComboBox::TcxCustomComboBox(TComponent* owner, bool isInplace)
    : TcxCustomDropDownEdit(owner, isInplace,
                            DropDownClassesWith(TcxCustomEditPropertiesClass::Of<TcxCustomComboBoxProperties>()))
{
}

TcxCustomComboBox::TcxCustomComboBox(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomDropDownEdit(owner, isInplace, classes)
{
}

TcxComboBox::TcxComboBox(TComponent* owner, bool isInplace)
    : TcxCustomComboBox(owner, isInplace, DropDownClassesWith(TcxCustomEditPropertiesClass::Of<TcxComboBoxProperties>()))
{
}

bool TcxCustomComboBox::CanDropDown() { return !LookupData() || !LookupData()->IsEmpty(); }

int TcxCustomComboBox::SelectedItem() const
{
    TcxCustomEditListBox* list = LookupData() ? LookupData()->List() : nullptr;
    return list ? list->ItemIndex() : -1;
}

void TcxCustomComboBox::SetSelectedItem(int value)
{
    if (TcxCustomEditListBox* list = LookupData() ? LookupData()->List() : nullptr)
        list->SetItemIndex(value);
}

void TcxCustomComboBox::ResetPopupHeight()
{
    if (IsInplace() && ActiveProperties()->PopupSizeable()) {
        if (TcxCustomDropDownEditData* data = DropDownEditData())
            data->PopupHeight = 0;
    } else {
        ActiveProperties()->SetPopupHeight(0);
    }
}

bool TcxCustomComboBox::IsOnDrawItemEventAssigned() const
{
    return Properties()->OnDrawItem.Assigned() || ActiveProperties()->OnDrawItem.Assigned();
}

bool TcxCustomComboBox::IsOnMeasureItemEventAssigned() const
{
    return Properties()->OnMeasureItem.Assigned() || ActiveProperties()->OnMeasureItem.Assigned();
}

void TcxCustomComboBox::DoOnDrawItem(TcxCanvas* canvas, int index, const TRect& r, TOwnerDrawState state)
{
    if (Properties()->OnDrawItem.Assigned())
        Properties()->OnDrawItem(this, canvas, index, r, state);
    if (RepositoryItem() && ActiveProperties() != Properties() && ActiveProperties()->OnDrawItem.Assigned())
        ActiveProperties()->OnDrawItem(this, canvas, index, r, state);
}

void TcxCustomComboBox::DoOnMeasureItem(int index, TcxCanvas* canvas, int& height)
{
    if (Properties()->OnMeasureItem.Assigned())
        Properties()->OnMeasureItem(this, index, canvas, height);
    if (RepositoryItem() && ActiveProperties() != Properties() && ActiveProperties()->OnMeasureItem.Assigned())
        ActiveProperties()->OnMeasureItem(this, index, canvas, height);
}

TSize TcxCustomComboBox::GetPopupWindowClientPreferredSize()
{
    TcxCustomEditPopupWindow* w = PopupWindow();
    const TSize max = GetMaxVisualAreaSize();
    const TRect e = w->EditViewInfo()->GetClientExtent();
    TcxCustomComboBoxProperties* p = ActiveProperties();
    int limit = max.cx;
    if (!p->PopupSizeable() && !p->PopupAutoSize()) {
        const int width = p->PopupWidth() < 1 ? GetPopupWindowOwnerControlBounds().Width() : p->PopupWidth();
        limit = std::min(width - e.Left - e.Right, int(max.cx));
    }
    return LookupData()->GetVisualAreaPreferredSize(max.cy, limit);
}

void TcxCustomComboBox::PositionPopupWindowChilds(const TRect& clientRect)
{
    TcxCustomDropDownEdit::PositionPopupWindowChilds(clientRect);
}

void TcxCustomComboBox::InitializePopupWindow()
{
    TcxCustomDropDownEdit::InitializePopupWindow();
    PopupWindow()->SetSysPanelStyle(ActiveProperties()->PopupSizeable());
}

void TcxCustomComboBox::SetupPopupWindow()
{
    TcxCustomDropDownEdit::SetupPopupWindow();
    if (TcxCustomEditListBox* list = LookupData()->List())
        list->Invalidate();
}

void TcxCustomComboBox::PopupWindowShowed(TObject* sender)
{
    TcxCustomDropDownEdit::PopupWindowShowed(sender);
    // A list that appears under a resting pointer must not take the item under it.
    if (HasPopupWindowObject())
        IgnoreListMouseMove = cxRectPtIn(PopupWindow()->BoundsRect(), InternalGetCursorPos());
}

void TcxCustomComboBox::Activate(TcxCustomEditData*& editData)
{
    TcxCustomDropDownEdit::Activate(editData);
    if (LookupData())
        LookupData()->TextChanged();
}

bool TcxCustomComboBox::CanSynchronizeLookupData()
{
    if (LookupDataTextChangedLocked())
        return false;
    if (DroppedDown())
        return true;
    if (!ActiveProperties()->CanIncrementalSearch() && IsShowPopupQueued())
        return true;
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    if (style != esEdit)
        return true;
    if (!IsEditFocused())
        return false;
    std::string display;
    LookupData()->GetDisplayText(LookupData()->GetCurrentKey(), display);
    return !AnsiSameText(display, Text());
}

void TcxCustomComboBox::ChangeHandler(TObject* sender)
{
    TcxCustomTextEditLookupData* lookup = LookupData();
    const int old = lookup ? lookup->CurrentKey() : -1;
    // Unlocking fires the change events held back, whose handlers may free the editor.
    const auto alive = AliveToken();
    LockChangeEvents(true);
    LockClick(true);
    try {
        TcxCustomDropDownEdit::ChangeHandler(sender);
        if (!alive.expired() && lookup && CanSynchronizeLookupData())
            lookup->TextChanged();
    } catch (...) {
        if (!alive.expired()) {
            LockClick(false);
            LockChangeEvents(false);
        }
        throw;
    }
    if (alive.expired())
        return;
    LockClick(false);
    LockChangeEvents(false);
    if (alive.expired())
        return;
    if (lookup && lookup->CurrentKey() != old && ActiveProperties()->IncrementalSearch())
        DoClick();
}

void TcxCustomComboBox::DblClick()
{
    TcxCustomTextEditLookupData* lookup = LookupData();
    if (!DroppedDown() && ActiveProperties()->Revertable() && lookup && !lookup->IsEmpty()) {
        const int old = lookup->CurrentKey();
        LockChangeEvents(true);
        dblClickStepping_ = true;
        try {
            lookup->Go(egdNext, true);
            dblClickStepping_ = false;
            if (lookup->CurrentKey() != old && CanPostEditValue() && ActiveProperties()->ImmediatePost() &&
                ValidateEdit(true))
                InternalPostEditValue(false);
        } catch (...) {
            dblClickStepping_ = false;
            LockChangeEvents(false);
            throw;
        }
        LockChangeEvents(false);
    }
    TcxCustomDropDownEdit::DblClick();
}

void TcxCustomComboBox::MouseMove(TShiftState shift, int x, int y)
{
    TcxCustomDropDownEdit::MouseMove(shift, x, y);
    TcxCustomTextEditLookupData* lookup = LookupData();
    if (!MouseCapture() || !DroppedDown() || !lookup || !lookup->List())
        return;
    // The press that opened the list goes on as a press in the list.
    const TPoint screen = ClientToScreen({x, y});
    TcxCustomEditListBox* list = lookup->List();
    TcxCustomEditPopupWindow* w = PopupWindow();
    const TPoint inPopup = w->ScreenToClient(screen);
    if (!lookup->IsMouseOverList(screen) || !cxRectPtIn(w->EditViewInfo()->ClientRect, inPopup))
        return;
    SetMouseCapture(false);
    const TPoint p = list->ScreenToClient(screen);
    vcl::SendMessage(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(p.X, p.Y));
}

// ---- filter helper -------------------------------------------------------------------------------

TcxCustomEditClass TcxFilterComboBoxHelper::GetFilterEditClass() const { return TcxCustomEditClass::Of<TcxComboBox>(); }

TcxCustomEditPropertiesClass TcxFilterComboBoxHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxComboBoxProperties>();
}

void TcxFilterComboBoxHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                   TcxCustomEditProperties* editProperties, bool hasButtons) const
{
    TcxFilterDropDownEditHelper::InitializeProperties(properties, editProperties, hasButtons);
    auto* p = dynamic_cast<TcxCustomComboBoxProperties*>(properties);
    if (!p)
        return;
    p->SetButtonGlyph(nullptr);
    p->SetDropDownRows(8);
    p->SetDropDownListStyle(lsEditList);
    p->SetImmediateDropDown(false);
    p->SetPopupAlignment(taLeftJustify);
    p->SetRevertable(false);
}

void TcxFilterComboBoxHelper::InitializeFixedList(TcxCustomEditProperties* properties,
                                                  const std::vector<std::string>& items) const
{
    auto* p = dynamic_cast<TcxCustomComboBoxProperties*>(properties);
    if (!p)
        return;
    p->BeginUpdate();
    try {
        TcxComboBoxProperties defaults(nullptr);
        p->Assign(&defaults);
        p->SetItems(items);
        p->SetDropDownListStyle(lsFixedList);
        p->SetIDefaultValuesProvider(nullptr);
        ClearPropertiesEvents(p);
    } catch (...) {
        p->EndUpdate();
        throw;
    }
    p->EndUpdate();
}

int TcxFilterComboBoxHelper::GetFixedListIndex(TcxCustomEdit* edit)
{
    auto* combo = dynamic_cast<TcxCustomComboBox*>(edit);
    return combo ? combo->ItemIndex() : -1;
}

void TcxFilterComboBoxHelper::SetFixedListIndex(TcxCustomEdit* edit, int index)
{
    if (auto* combo = dynamic_cast<TcxCustomComboBox*>(edit))
        combo->SetItemIndex(index);
}

} // namespace cx
