// Dragging inside an editing control: auto-scrolling, the control's drag object with its floating
// picture, the insertion arrows and the drag-image helper on the thread mouse hook.
#include "toolkit/grid/cxInplaceDragDrop.h"

#include "platform/vcl/MessageQueue.h"
#include "toolkit/controls/cxControlsTimers.h"

#include <algorithm>

namespace cx {

// ---- auto-scrolling ------------------------------------------------------------------------------

TcxAutoScrollingObject::TcxAutoScrollingObject(TObject* owner) : owner_(owner)
{
    scrollTimer_ = new TcxTimer(nullptr);
    scrollTimer_->SetEnabled(false);
    scrollTimer_->SetInterval(50);
    scrollTimer_->SetOnTimer([this](TObject* sender) { TimerHandler(sender); });
}

TcxAutoScrollingObject::~TcxAutoScrollingObject()
{
    scrollTimer_->SetEnabled(false);
    scrollTimer_->Free();
}

void TcxAutoScrollingObject::SetParams(const TRect& area, TScrollBarKind kind, int increment, TScrollCode code)
{
    ScrollArea = area;
    ScrollKind = kind;
    ScrollCode = code;
    ScrollIncrement = code == scLineUp ? -increment : increment;
}

bool TcxAutoScrollingObject::Check(const TPoint& p)
{
    const bool inside = cxRectPtIn(ScrollArea, p);
    scrollTimer_->SetEnabled(inside);
    return inside;
}

TcxControlScrollBar* TcxAutoScrollingObject::GetScrollBar(TScrollBarKind kind)
{
    TcxEditingControl* control = GetControl();
    if (!control)
        return nullptr;
    return kind == sbHorizontal ? control->HScrollBar() : control->VScrollBar();
}

void TcxAutoScrollingObject::ScrollBy(TScrollBarKind kind, TScrollCode code, int delta)
{
    TcxControlScrollBar* bar = GetScrollBar(kind);
    TcxEditingControl* control = GetControl();
    if (!bar || !control || !bar->Visible())
        return;
    int pos = bar->Position() + delta;
    pos = std::max(bar->Min(), std::min(pos, bar->Max() - bar->PageSize() + 1));
    if (pos != bar->Position())
        control->Scroll(kind, code, pos);
}

void TcxAutoScrollingObject::DoScrollInspectingControl() { ScrollBy(ScrollKind, ScrollCode, ScrollIncrement); }

TcxEditingControl* TcxDragDropObjectAutoScrollingObject::GetControl()
{
    auto* object = dynamic_cast<TcxDragAndDropObject*>(Owner());
    return object ? dynamic_cast<TcxEditingControl*>(object->Control()) : nullptr;
}

TcxEditingControl* TcxControllerAutoScrollingObject::GetControl()
{
    auto* controller = dynamic_cast<TcxCustomControlController*>(Owner());
    return controller ? controller->EditingControl() : nullptr;
}

void TcxControllerAutoScrollingObject::SetBoundsParams(const TRect& area, bool checkHorz, int increment,
                                                        bool checkVert)
{
    OutsideMode = true;
    ScrollArea = area;
    WatchHorz = checkHorz;
    WatchVert = checkVert;
    ScrollIncrement = increment;
    ActiveSides = {};
}

bool TcxControllerAutoScrollingObject::CheckBounds(const TPoint& p)
{
    TcxNeighbors sides;
    if (WatchHorz) {
        if (p.X <= ScrollArea.Left)
            sides = sides + TcxNeighbors{nLeft};
        else if (p.X >= ScrollArea.Right)
            sides = sides + TcxNeighbors{nRight};
    }
    if (WatchVert) {
        if (p.Y <= ScrollArea.Top)
            sides = sides + TcxNeighbors{nTop};
        else if (p.Y >= ScrollArea.Bottom)
            sides = sides + TcxNeighbors{nBottom};
    }
    ActiveSides = sides;
    ScrollTimer()->SetEnabled(!sides.Empty());
    return !sides.Empty();
}

void TcxControllerAutoScrollingObject::DoScrollInspectingControl()
{
    if (!OutsideMode) {
        TcxAutoScrollingObject::DoScrollInspectingControl();
        return;
    }
    if (ActiveSides.Contains(nLeft))
        ScrollBy(sbHorizontal, scLineUp, -ScrollIncrement);
    if (ActiveSides.Contains(nTop))
        ScrollBy(sbVertical, scLineUp, -ScrollIncrement);
    if (ActiveSides.Contains(nRight))
        ScrollBy(sbHorizontal, scLineDown, ScrollIncrement);
    if (ActiveSides.Contains(nBottom))
        ScrollBy(sbVertical, scLineDown, ScrollIncrement);
}

// ---- drag objects --------------------------------------------------------------------------------

TCursor TcxBaseDragAndDropObject::GetDragAndDropCursor(bool accepted)
{
    TcxEditingControl* control = GetEditingControl();
    return accepted ? (control ? control->DragCursor : crDrag) : crNoDrop;
}

TcxCustomControlDragAndDropObject::TcxCustomControlDragAndDropObject(TcxControl* control)
    : TcxBaseDragAndDropObject(control)
{
}

TcxCustomControlDragAndDropObject::~TcxCustomControlDragAndDropObject()
{
    for (auto& object : autoScrollObjects_)
        object->Stop();
}

TCursor TcxCustomControlDragAndDropObject::GetDragAndDropCursor(bool accepted)
{
    return accepted ? crDefault : TCursor(crcxNoDrop);
}

TcxAutoScrollingObjectClass TcxCustomControlDragAndDropObject::GetAutoScrollingObjectClass()
{
    return TcxAutoScrollingObjectClass::Of<TcxDragDropObjectAutoScrollingObject>();
}

void TcxCustomControlDragAndDropObject::AddAutoScrollingObject(const TRect& area, TScrollBarKind kind,
                                                               TScrollCode code)
{
    std::unique_ptr<TcxAutoScrollingObject> object(GetAutoScrollingObjectClass().Create(this));
    object->SetParams(area, kind, kind == sbVertical ? GetVertScrollInc() : GetHorzScrollInc(), code);
    autoScrollObjects_.push_back(std::move(object));
}

void TcxCustomControlDragAndDropObject::BeginDragAndDrop()
{
    TcxBaseDragAndDropObject::BeginDragAndDrop();
    DrawDragImage();
}

TPoint TcxCustomControlDragAndDropObject::ImagePosition() const
{
    return TPoint(ScreenOrigin.X + PictureOffset.X + CurMousePos.X, ScreenOrigin.Y + PictureOffset.Y + CurMousePos.Y);
}

void TcxCustomControlDragAndDropObject::DrawDragImage()
{
    TcxEditingControl* control = GetEditingControl();
    const TRect r = GetDisplayRect();
    PictureBounds = TRect{0, 0, r.Width(), r.Height()};
    floatingImage_ = std::make_unique<TcxDragImage>();
    floatingImage_->OwnerControl = control;
    floatingImage_->Init(PictureBounds, TPoint(0, 0));
    PictureOffset = TPoint(r.Left - CurMousePos.X, r.Top - CurMousePos.Y);
    ScreenOrigin = control->ClientToScreen(TPoint(0, 0));
    TcxCanvas* imageCanvas = floatingImage_->Canvas();
    TRect org = r;
    cxSetCanvasOrg(imageCanvas->WrappedCanvas(), org);
    TcxCustomControlPainter* painter = control->Painter();
    TcxCanvas* savedCanvas = painter->Canvas();
    painter->SetCanvas(imageCanvas);
    try {
        Paint();
    } catch (...) {
        painter->SetCanvas(savedCanvas);
        cxSetCanvasOrg(imageCanvas->WrappedCanvas(), org);
        throw;
    }
    painter->SetCanvas(savedCanvas);
    cxSetCanvasOrg(imageCanvas->WrappedCanvas(), org);
}

void TcxCustomControlDragAndDropObject::DragAndDrop(const TPoint& p, bool& accepted)
{
    TcxBaseDragAndDropObject::DragAndDrop(p, accepted);
    if (floatingImage_) {
        floatingImage_->MoveTo(ImagePosition());
        if (!floatingImage_->GetVisible())
            floatingImage_->Show();
    }
    CheckScrolling(p);
    LastAccepted = accepted;
}

void TcxCustomControlDragAndDropObject::CheckScrolling(const TPoint& p)
{
    for (auto& object : autoScrollObjects_)
        if (object->Check(p))
            break;
}

void TcxCustomControlDragAndDropObject::EndDragAndDrop(bool accepted)
{
    for (auto& object : autoScrollObjects_)
        object->Stop();
    if (floatingImage_)
        floatingImage_->Hide();
    TcxBaseDragAndDropObject::EndDragAndDrop(accepted);
}

void TcxCustomControlDragAndDropObject::OwnerImageChanged()
{
    if (floatingImage_ && floatingImage_->GetVisible()) {
        floatingImage_->MoveTo(ImagePosition());
        floatingImage_->Invalidate();
    }
}

// ---- insertion arrows ----------------------------------------------------------------------------

namespace {

const TPoint horzFirst[7] = {{0, 0}, {-5, -6}, {-2, -6}, {-2, -9}, {3, -9}, {3, -6}, {6, -6}};
const TPoint horzSecond[7] = {{0, -1}, {6, 6}, {3, 6}, {3, 9}, {-2, 9}, {-2, 6}, {-6, 6}};
const TPoint vertFirst[7] = {{0, 0}, {-6, -6}, {-6, -2}, {-9, -2}, {-9, 3}, {-6, 3}, {-6, 6}};
const TPoint vertSecond[7] = {{0, 0}, {6, 6}, {6, 3}, {9, 3}, {9, -2}, {6, -2}, {6, -6}};

gdi::Region ArrowAt(const TPoint (&shape)[7], const TPoint& anchor)
{
    TPoint points[7];
    for (int i = 0; i < 7; ++i)
        points[i] = TPoint(anchor.X + shape[i].X, anchor.Y + shape[i].Y);
    return gdi::Region::Polygon(points, 7, ALTERNATE);
}

} // namespace

TcxPlaceArrows::TcxPlaceArrows(TColor arrowColor, TColor arrowFrameColor, TComponent* owner)
    : TcxDragImage(owner), ArrowColor(arrowColor), ArrowFrameColor(arrowFrameColor)
{
    AlphaBlend = false;
}

gdi::Region TcxPlaceArrows::ArrowsRegion(const TRect& r, TcxBorder side)
{
    const bool horz = side == bLeft || side == bRight;
    // The two corners of the side: top and bottom of a vertical side, left and right of a
    // horizontal one.
    const int x1 = side == bRight ? r.Right : r.Left, y1 = side == bBottom ? r.Bottom : r.Top;
    const int x2 = side == bLeft ? r.Left : r.Right, y2 = side == bTop ? r.Top : r.Bottom;
    const TPoint first(x1, y1), second(x2, y2);
    gdi::Region a = ArrowAt(horz ? horzFirst : vertFirst, first);
    gdi::Region b = ArrowAt(horz ? horzSecond : vertSecond, second);
    gdi::Region result;
    result.Combine(a, &b, RGN_OR);
    return result;
}

bool TcxPlaceArrows::MoveTo(const TRect& r, TcxBorder side)
{
    HandleNeeded();
    if (r == LastRect && side == LastSide && GetVisible())
        return false;
    Hide();
    LastRect = r;
    LastSide = side;
    gdi::Region region = ArrowsRegion(r, side);
    const TRect box = region.Box();
    SetBounds(box.Left, box.Top, box.Width(), box.Height());
    region.Offset(-box.Left, -box.Top);
    const TRect local = cxRectOffset(r, -box.Left, -box.Top);
    Canvas()->FillRect(TRect{0, 0, box.Width(), box.Height()}, ArrowFrameColor);
    cxDrawArrows(Canvas()->WrappedCanvas(), local, side, ArrowColor, ArrowFrameColor);
    windowRegion_ = region;
    SetWindowRgn(new gdi::Region(region));
    Show();
    return true;
}

// ---- drag images of the platform drag ------------------------------------------------------------

namespace {

struct DragImagesSlot {
    TcxEditingControl* control = nullptr;
    TcxDragImageHelper* helper = nullptr;
    HHOOK hook = nullptr;
};

DragImagesSlot& Slot()
{
    static DragImagesSlot slot;
    return slot;
}

LRESULT DragImagesMouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = vcl::CallNextHookEx(Slot().hook, code, wParam, lParam);
    if (!Slot().control || code < 0)
        return result;
    const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    switch (wParam) {
    case WM_MOUSEMOVE:
        if (Slot().helper && Slot().control->Dragging())
            Slot().helper->DragAndDrop(TPoint(info->ptX, info->ptY));
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        cxFinishDragImages();
        break;
    default:
        break;
    }
    return result;
}

} // namespace

void cxStartDragImages(TcxEditingControl* control, TcxDragImageHelper* helper)
{
    cxFinishDragImages();
    Slot().control = control;
    Slot().helper = helper;
    Slot().hook = vcl::SetWindowsHookEx(WH_MOUSE, DragImagesMouseHook);
}

void cxRaiseDragImagesHook(TcxEditingControl* control)
{
    DragImagesSlot& slot = Slot();
    if (slot.control != control || !slot.hook)
        return;
    vcl::UnhookWindowsHookEx(slot.hook);
    slot.hook = vcl::SetWindowsHookEx(WH_MOUSE, DragImagesMouseHook);
}

void cxFinishDragImages()
{
    DragImagesSlot& slot = Slot();
    if (slot.hook)
        vcl::UnhookWindowsHookEx(slot.hook);
    // The slot is cleared even when unhooking fails.
    slot.hook = nullptr;
    slot.control = nullptr;
    if (TcxDragImageHelper* helper = std::exchange(slot.helper, nullptr))
        helper->Free();
}

TcxEditingControl* cxDragImagesControl() { return Slot().control; }
TcxDragImageHelper* cxDragImageHelper() { return Slot().helper; }
bool cxDragImagesHookInstalled() { return Slot().hook != nullptr; }

TcxDragImageHelper* TcxEditingControl::CreateDragImageHelper() { return new TcxDragImageHelper(this, DragStartPoint); }

void TcxEditingControl::DoStartDrag(TDragObject*& dragObject)
{
    TcxControl::DoStartDrag(dragObject);
    if (HasDragDropImages()) {
        cxStartDragImages(this, CreateDragImageHelper());
        if (HandleAllocated())
            vcl::PostMessage(Handle(), cxWM_RAISEDRAGIMAGESHOOK);
    }
}

void TcxEditingControl::DoEndDrag(TObject* target, int x, int y)
{
    if (Slot().control == this)
        cxFinishDragImages();
    TcxControl::DoEndDrag(target, x, y);
    if (!IsDestroying())
        Controller()->EndDrag(target, x, y);
}

void TcxEditingControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    TcxControl::DragOver(source, x, y, state, accept);
    Controller()->DragOver(source, x, y, state, accept);
}

void TcxEditingControl::BeginDragAndDrop()
{
    Controller()->BeginDragAndDrop();
    TcxControl::BeginDragAndDrop();
}

void TcxEditingControl::EndDragAndDrop(bool accepted)
{
    TcxControl::EndDragAndDrop(accepted);
    Controller()->EndDragAndDrop(accepted);
}

// --- the controller's drag hooks ---

void TcxCustomControlController::DragOver(TObject*, int, int, TDragState state, bool&)
{
    // Once, as the drag comes in: an editor that refuses its value stays open (and says so once).
    if (state == dsDragEnter)
        HideEditForDrag();
}

void TcxCustomControlController::BeginDragAndDrop() { HideEditForDrag(); }

void TcxCustomControlController::HideEditForDrag()
{
    try {
        EditingController()->HideEdit(true);
    } catch (const EAbort&) {
        // The editor refused its value silently: it stays open.
    }
}

void TcxCustomControlController::EndDrag(TObject*, int x, int y)
{
    HitTestController()->ReCalculate(TPoint{x, y});
    if (EditorOpenBeforePress || GetAlwaysShowEditor())
        EditingController()->ShowEdit(nullptr);
}

void TcxCustomControlController::EndDragAndDrop(bool)
{
    if (EditingControl()->DragAndDropState() == ddsNone)
        CheckEdit();
}

TcxDragImageHelper::TcxDragImageHelper(TcxEditingControl* control, const TPoint& dragPos)
    : StartPoint(dragPos), sourceControl_(control)
{
    InitDragImage();
}

TcxDragImageHelper::~TcxDragImageHelper()
{
    if (DragImageVisible)
        Hide();
    if (Slot().helper == this)
        Slot().helper = nullptr;
}

TRect TcxDragImageHelper::GetDisplayRect() { return sourceControl_->DragDropImageDisplayRect(); }

void TcxDragImageHelper::InitDragImage()
{
    const TRect r = GetDisplayRect();
    ImageBounds = TRect{0, 0, r.Width(), r.Height()};
    PictureOffset = TPoint(r.Left - StartPoint.X, r.Top - StartPoint.Y);
    floatingImage_ = std::make_unique<TcxDragImage>();
    floatingImage_->OwnerControl = sourceControl_;
    floatingImage_->Init(ImageBounds, TPoint(0, 0));
    sourceControl_->DrawDragDropImage(floatingImage_->Image(), floatingImage_->Canvas());
}

void TcxDragImageHelper::DragAndDrop(const TPoint& p)
{
    ImagePos = TPoint(p.X + PictureOffset.X, p.Y + PictureOffset.Y);
    DrawImage(ImagePos);
}

void TcxDragImageHelper::DrawImage(const TPoint& p)
{
    floatingImage_->MoveTo(p);
    if (!DragImageVisible)
        Show();
}

void TcxDragImageHelper::Show()
{
    floatingImage_->MoveTo(ImagePos);
    floatingImage_->Show();
    DragImageVisible = true;
}

void TcxDragImageHelper::Hide()
{
    floatingImage_->Hide();
    DragImageVisible = false;
}

} // namespace cx
