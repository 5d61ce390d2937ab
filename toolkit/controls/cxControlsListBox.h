#pragma once
// TcxCustomizeListBox: the list box of customization forms. An item that carries an object can be
// pressed and dragged out of the list: once the pointer leaves the drag square (or reaches
// another item) BeginDragAndDrop runs, and descendants start the actual drag there.
#include "platform/vcl/ListBox.h"
#include "toolkit/controls/cxControls.h"

namespace cx {

class TcxCustomizeListBox : public TListBox {
    RTL_CLASS(TcxCustomizeListBox, TListBox)
    using TListBox::TListBox;

    // The object of the pressed item (none while no item is pressed).
    TObject* DragAndDropItemObject() const;
    int DragItemIndex() const { return dragItemIndex_; }
    // The object of the selected item; setting selects the item that carries it and clicks.
    TObject* ItemObject() const;
    void SetItemObject(TObject* value);

    void Dispatch(TMessage& msg) override;

protected:
    virtual void BeginDragAndDrop();
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    int dragItemIndex_ = -1;
    TPoint mouseDownPos_;
};

} // namespace cx
