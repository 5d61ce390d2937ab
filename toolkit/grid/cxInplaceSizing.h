#pragma once
// Sizing inside an editing control: an object (a row height, a header width) that implements
// IcxDragSizing is sized by whole increments while the mouse drags a sizing line.
#include "toolkit/grid/cxInplaceContainer.h"

namespace cx {

enum TcxDragSizingDirection { dsdHorz, dsdVert };

// {5EA02F4E-E367-4E4D-A26D-000B5E5CD434}
class IcxDragSizing {
public:
    virtual ~IcxDragSizing() = default;
    virtual bool CanSizing(TcxDragSizingDirection direction) = 0;
    virtual TRect GetSizingBoundsRect(TcxDragSizingDirection direction) = 0;
    virtual int GetSizingIncrement(TcxDragSizingDirection direction) = 0;
    virtual bool IsDynamicUpdate() = 0;
    virtual void SetSizeDelta(TcxDragSizingDirection direction, int delta) = 0;
};

// One sizing operation, started by the control's drag-and-drop on its controller's DragItem. The
// line snaps to whole increments inside the sizing bounds; without dynamic update the change is
// applied on release (not after Escape) and a one-pixel mark is inverted on the control's
// surface (drawing it twice restores the pixels).
class TcxSizingDragAndDropObject : public TObject {
    RTL_CLASS(TcxSizingDragAndDropObject, TObject)
    explicit TcxSizingDragAndDropObject(TcxEditingControl* control) : control_(control) {}
    TcxEditingControl* Control() const { return control_; }
    virtual void BeginDragAndDrop();
    virtual void DragAndDrop(const TPoint& p, bool& accepted);
    virtual void EndDragAndDrop(bool accepted);
    virtual TCursor GetDragAndDropCursor(bool accepted) const;
    virtual bool GetImmediateStart() const { return true; }
    virtual TPoint GetDragPos(const TPoint& p) const;
    virtual TRect GetSizingMarkBounds() const;
    bool Dirty() const { return dirty_; }

    TcxDragSizingDirection SizingDirection = dsdHorz;
    TRect SizingBounds;
    int SizingStep = 1;
    TPoint MeasureOrigin;
    TPoint DragPos;
    bool DynamicUpdate = false;
    int StepsMoved = 0;

protected:
    virtual void DirtyChanged();
    void SetDirty(bool value);

private:
    int Coord(const TPoint& p) const { return SizingDirection == dsdHorz ? p.X : p.Y; }
    double Quotient(const TPoint& p) const;
    IcxDragSizing* sizing_ = nullptr;
    TcxEditingControl* control_;
    bool dirty_ = false;
};

} // namespace cx
