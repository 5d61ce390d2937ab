// The visible list of a drop-down editor: the edit list box and the lookup data's side of it
// (making the list, keeping its highlight, the choice of a closing list).
#include "toolkit/editors/cxTextEdit.h"

#include "toolkit/controls/cxContainerPopup.h"

#include "platform/gdi/Text.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/SystemFacade.h"

namespace cx {

// ---- the lookup data's list ----------------------------------------------------------------------

bool TcxCustomTextEditLookupData::ListVisible() const
{
    return list_ && !listAlive_.expired() && list_->IsVisible();
}

TWinControl* TcxCustomTextEditLookupData::GetActiveControl() const
{
    return list_ && !listAlive_.expired() ? list_ : nullptr;
}

void TcxCustomTextEditLookupData::HandleSelectItem(TObject*)
{
    if (list_ && !listAlive_.expired())
        listItemIndex_ = list_->ItemIndex();
}

void TcxCustomTextEditLookupData::ListChanged()
{
    if (list_ && !listAlive_.expired())
        list_->SetItemCount(GetItemCount());
}

void TcxCustomTextEditLookupData::InternalSetItemIndex(int index)
{
    if (index < -1 || index >= GetItemCount() || (index == listItemIndex_ && index != -1))
        return;
    if (list_ && !listAlive_.expired() && GetItemCount() > 0) {
        // The list box has no "none" of its own: pass through the first item, then clear.
        if (index == -1)
            list_->TCustomListBox::SetItemIndex(0);
        list_->TCustomListBox::SetItemIndex(index);
        list_->SetExternalScrollBarsParameters();
    }
    listItemIndex_ = index;
}

void TcxCustomTextEditLookupData::SetItemIndex(int index)
{
    if (ListVisible() && !ActiveProperties()->ImmediateUpdateText())
        InternalSetItemIndex(index);
    else
        SetCurrentKey(Variant(index));
}

void TcxCustomTextEditLookupData::SelectItem()
{
    if (listItemIndex_ == -1)
        return;
    const int old = currentKey_;
    if (listItemIndex_ == currentKey_ || owner_->DoEditing())
        SetCurrentKey(Variant(listItemIndex_));
    if (currentKey_ == old)
        DoSelectItem();
}

void TcxCustomTextEditLookupData::CloseUp()
{
    if (owner_->IsDestroying())
        return;
    InternalSetItemIndex(currentKey_);
}

namespace {
// The editor's background colour, which the list takes.
struct ContainerColour : TcxContainer {
    using TcxContainer::GetBackgroundColor;
};
} // namespace

void TcxCustomTextEditLookupData::Initialize(TWinControl* parent)
{
    if (!GetListBoxClass())
        return;
    if (!list_ || listAlive_.expired()) {
        list_ = GetListBoxClass().Create(parent);
        listAlive_ = list_->AliveToken();
        list_->SetEdit(owner_);
    }
    list_->SetColor((owner_->*(&ContainerColour::GetBackgroundColor))());
    list_->Font()->Assign(owner_->GetVisibleFont());
    list_->Canvas()->Font()->Assign(owner_->GetVisibleFont());
    list_->SetParent(parent);
    list_->OnSelectItem = TNotifyEvent(this, &TcxCustomTextEditLookupData::HandleSelectItem);
    list_->SetItemCount(GetItemCount());
    if (listItemIndex_ >= 0 && listItemIndex_ < GetItemCount())
        list_->TCustomListBox::SetItemIndex(listItemIndex_);
    list_->RecreateWindow();
    TextChanged();
}

void TcxCustomTextEditLookupData::PositionVisualArea(const TRect& clientRect)
{
    if (!list_ || listAlive_.expired())
        return;
    list_->SetBoundsRect(clientRect);
    list_->SetScrollWidth(list_->ScrollWidth());
}

bool TcxCustomTextEditLookupData::IsMouseOverList(const TPoint& screenPos) const
{
    if (!list_ || listAlive_.expired() || !list_->HandleAllocated())
        return false;
    const TPoint p = list_->ScreenToClient(screenPos);
    return p.X >= 0 && p.Y >= 0 && p.X < list_->Width() && p.Y < list_->Height();
}

// ---- the edit list box ---------------------------------------------------------------------------

TcxCustomEditListBox::TcxCustomEditListBox(TComponent* owner) : TcxCustomInnerListBox(owner)
{
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(GetItemHeight());
    AutoComplete = false;
}

void TcxCustomEditListBox::GetItem(int index, std::string& text)
{
    if (edit_ && edit_->LookupData())
        edit_->LookupData()->GetItem(index, text);
    else
        text = index >= 0 && index < Items()->Count() ? Items()->Get(index) : std::string();
}

int TcxCustomEditListBox::GetHeight(int rowCount, int) { return rowCount * GetItemHeight(); }

int TcxCustomEditListBox::GetItemHeight(int)
{
    // Measured on a screen canvas: the list's own canvas has no device before its first paint.
    return cxTextHeight(Font(), "Wg");
}

int TcxCustomEditListBox::GetItemWidth(int index)
{
    std::string text;
    GetItem(index, text);
    return cxTextWidth(Font(), text);
}

bool TcxCustomEditListBox::NeedDrawFocusRect() const
{
    if (!edit_)
        return false;
    const TcxEditEditingStyle style = edit_->ActiveProperties()->GetEditingStyle();
    return style == esFixedList || style == esNoEdit;
}

bool TcxCustomEditListBox::CanFocus() const
{
    if (auto* popup = dynamic_cast<TcxCustomPopupWindow*>(Parent()); popup && !popup->CaptureFocus())
        return false;
    return TcxCustomInnerListBox::CanFocus();
}

void TcxCustomEditListBox::SetItemCount(int count)
{
    TStrings* items = Items();
    if (items->Count() == count)
        return;
    items->BeginUpdate();
    while (items->Count() < count)
        items->Add(std::string());
    while (items->Count() > count)
        items->Delete(items->Count() - 1);
    items->EndUpdate();
}

void TcxCustomEditListBox::SetScrollWidth(int value)
{
    TCustomListBox::SetScrollWidth(0);
    TCustomListBox::SetScrollWidth(value);
}

void TcxCustomEditListBox::SetItemIndex(int index)
{
    TCustomListBox::SetItemIndex(index);
    SetExternalScrollBarsParameters();
    DoSelectItem();
}

void TcxCustomEditListBox::DoSelectItem() { vcl::FireEvent(OnSelectItem, this); }

void TcxCustomEditListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    if (DoDrawItem(index, rect, state))
        return;
    Canvas()->FillRect(rect);
    if (index < 0 || index >= ItemCount())
        return;
    std::string text;
    GetItem(index, text);
    TRect r = rect;
    r.Left += 2;
    cxDrawText(Canvas()->GetHandle(), text, r, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX | gdi::DT_LEFT);
}

void TcxCustomEditListBox::Click()
{
    const auto alive = AliveToken();
    TcxCustomInnerListBox::Click();
    if (!alive.expired()) {
        SetExternalScrollBarsParameters();
        DoSelectItem();
    }
}

void TcxCustomEditListBox::MouseMove(TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TcxCustomInnerListBox::MouseMove(shift, x, y);
    if (alive.expired() || MouseCapture())
        return;
    // Hot tracking: the item under the pointer becomes the highlighted one.
    const int index = ItemAtPos({x, y}, true);
    if (index != -1 && index != ItemIndex())
        SetItemIndex(index);
}

bool TcxCustomEditListBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TcxCustomInnerListBox::DoMouseWheel(shift, wheelDelta, mousePos))
        return true;
    const int lines = std::max(1, vcl::System().WheelScrollLines());
    for (int i = 0; i < lines; ++i)
        Perform(WM_VSCROLL, wheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return true;
}

} // namespace cx
