// TcxCustomizeListBox: pressing an item with an object and dragging it out.
#include "toolkit/controls/cxControlsListBox.h"

namespace cx {

TObject* TcxCustomizeListBox::DragAndDropItemObject() const
{
    return dragItemIndex_ >= 0 && dragItemIndex_ < Items()->Count() ? Items()->GetObject(dragItemIndex_) : nullptr;
}

TObject* TcxCustomizeListBox::ItemObject() const
{
    return ItemIndex() >= 0 && ItemIndex() < Items()->Count() ? Items()->GetObject(ItemIndex()) : nullptr;
}

void TcxCustomizeListBox::SetItemObject(TObject* value)
{
    if (ItemObject() == value)
        return;
    SetItemIndex(Items()->IndexOfObject(value));
    Click();
}

void TcxCustomizeListBox::Dispatch(TMessage& msg)
{
    if (msg.Msg == WM_CANCELMODE)
        dragItemIndex_ = -1;
    TListBox::Dispatch(msg);
}

void TcxCustomizeListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TListBox::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft)
        return;
    if (ItemAtPos({x, y}, true) >= 0 && ItemObject() != nullptr) {
        dragItemIndex_ = ItemIndex();
        mouseDownPos_ = {x, y};
        // The pressed item waits for the drag; the list box's own selection tracking stops.
        CancelTracking();
    }
}

void TcxCustomizeListBox::MouseMove(TShiftState shift, int x, int y)
{
    TListBox::MouseMove(shift, x, y);
    if (dragItemIndex_ < 0)
        return;
    if (IsPointInDragDetectArea(mouseDownPos_, x, y) && ItemAtPos({x, y}, true) == dragItemIndex_)
        return;
    SetItemIndex(dragItemIndex_);
    const auto alive = AliveToken();
    BeginDragAndDrop();
    if (!alive.expired())
        dragItemIndex_ = -1;
}

void TcxCustomizeListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    dragItemIndex_ = -1;
    TListBox::MouseUp(button, shift, x, y);
}

void TcxCustomizeListBox::BeginDragAndDrop()
{
    if (!MultiSelect())
        return;
    Items()->BeginUpdate();
    for (int i = 0; i < ItemCount(); ++i)
        SetSelected(i, i == ItemIndex());
    Items()->EndUpdate();
}

} // namespace cx
