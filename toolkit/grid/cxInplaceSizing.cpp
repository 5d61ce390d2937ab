#include "toolkit/grid/cxInplaceSizing.h"

#include "platform/vcl/Peer.h"
#include "platform/vcl/SystemFacade.h"

#include <cmath>

namespace cx {

namespace {
// Inverts the colour of every pixel of r on the control's surface and shows the surface there.
void InvertOnSurface(TWinControl* control, const TRect& r)
{
    gdi::Surface& s = control->Surface();
    if (s.IsEmpty())
        return;
    TRect area;
    if (!cxRectIntersect(area, r, TRect{0, 0, s.Width(), s.Height()}))
        return;
    for (int y = area.Top; y < area.Bottom; ++y) {
        std::uint32_t* row = s.Row(y);
        for (int x = area.Left; x < area.Right; ++x)
            row[x] ^= 0x00FFFFFFu;
    }
    if (vcl::TWidgetPeer* peer = control->Peer())
        peer->ShowSurface(QRect(area.Left, area.Top, area.Width(), area.Height()));
}
} // namespace

double TcxSizingDragAndDropObject::Quotient(const TPoint& p) const
{
    return static_cast<double>(Coord(p) - Coord(MeasureOrigin)) / SizingStep;
}

void TcxSizingDragAndDropObject::BeginDragAndDrop()
{
    TcxCustomControlController* controller = control_->Controller();
    sizing_ = dynamic_cast<IcxDragSizing*>(controller->DragItem);
    if (!sizing_)
        throw EAbort("");
    SizingDirection = controller->GetResizeDirection() == 0 ? dsdHorz : dsdVert;
    SizingBounds = sizing_->GetSizingBoundsRect(SizingDirection);
    // A step below one pixel would divide by zero or snap nowhere: it counts as one.
    SizingStep = std::max(1, sizing_->GetSizingIncrement(SizingDirection));
    MeasureOrigin = control_->ScreenToClient(vcl::System().GetCursorPos());
    DragPos = GetDragPos(MeasureOrigin);
    DynamicUpdate = sizing_->IsDynamicUpdate();
    DirtyChanged();
}

TPoint TcxSizingDragAndDropObject::GetDragPos(const TPoint& p) const
{
    TPoint result = MeasureOrigin;
    const int moved = static_cast<int>(std::lrint(Quotient(p))) * SizingStep;
    (SizingDirection == dsdHorz ? result.X : result.Y) += moved;
    return result;
}

void TcxSizingDragAndDropObject::DragAndDrop(const TPoint& p, bool& accepted)
{
    accepted = true;
    const int c = Coord(p);
    const int low = SizingDirection == dsdHorz ? SizingBounds.Left : SizingBounds.Top;
    const int high = SizingDirection == dsdHorz ? SizingBounds.Right : SizingBounds.Bottom;
    if (c < low || c > high)
        return;
    const double q = Quotient(p);
    StepsMoved = DynamicUpdate ? static_cast<int>(std::trunc(q)) : static_cast<int>(std::lrint(q));
    const TPoint snapped = GetDragPos(p);
    if (StepsMoved == 0 && snapped == DragPos)
        return;
    SetDirty(true);
    DragPos = snapped;
    if (DynamicUpdate && StepsMoved != 0) {   // a line that only snapped changes no size
        sizing_->SetSizeDelta(SizingDirection, StepsMoved);
        MeasureOrigin = p;
    }
    SetDirty(false);
}

void TcxSizingDragAndDropObject::EndDragAndDrop(bool accepted)
{
    SetDirty(true);
    if (accepted && !DynamicUpdate && StepsMoved != 0 && !control_->Controller()->EscapePressed)
        sizing_->SetSizeDelta(SizingDirection, StepsMoved);
}

TCursor TcxSizingDragAndDropObject::GetDragAndDropCursor(bool) const
{
    return SizingDirection == dsdHorz ? crHSplit : crVSplit;
}

TRect TcxSizingDragAndDropObject::GetSizingMarkBounds() const
{
    if (SizingDirection == dsdHorz)
        return TRect{DragPos.X - 1, SizingBounds.Top, DragPos.X, SizingBounds.Bottom};
    return TRect{SizingBounds.Left, DragPos.Y - 1, SizingBounds.Right, DragPos.Y};
}

void TcxSizingDragAndDropObject::SetDirty(bool value)
{
    if (dirty_ == value)
        return;
    dirty_ = value;
    DirtyChanged();
}

void TcxSizingDragAndDropObject::DirtyChanged()
{
    if (DynamicUpdate)
        return;
    const TRect mark = GetSizingMarkBounds();
    TRect visible;
    if (cxRectIntersect(visible, mark, control_->GetClientRect()))
        InvertOnSurface(control_, visible);
}

} // namespace cx
