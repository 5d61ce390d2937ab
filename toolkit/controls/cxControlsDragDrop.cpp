// The toolkit's drag-and-drop object, the platform drag of a toolkit control, and the drag
// feedback windows with the arrow geometry.
#include "toolkit/controls/cxControlsDragDrop.h"

#include "platform/gdi/Draw.h"
#include "platform/vcl/Desktop.h"
#include "platform/vcl/Peer.h"

#include <algorithm>

namespace cx {

namespace {
TObject* currentDragObject = nullptr;
std::weak_ptr<bool> currentDragObjectAlive; // the source control of the current drag object
} // namespace

// ---- TcxDragAndDropObject ----

TcxDragAndDropObject::TcxDragAndDropObject(TcxControl* control) : control_(control), canvas_(control->Canvas()) {}

void TcxDragAndDropObject::SetDirty(bool value)
{
    if (dirty_ == value)
        return;
    dirty_ = value;
    DirtyChanged();
}

void TcxDragAndDropObject::DragAndDrop(const TPoint&, bool& accepted)
{
    SetDirty(false);
    Screen->SetCursor(GetDragAndDropCursor(accepted));
}

void TcxDragAndDropObject::DoBeginDragAndDrop()
{
    CurMousePos = control_->ScreenToClient(GetMouseCursorPos());
    PrevMousePos = CurMousePos;
    BeginDragAndDrop();
}

void TcxDragAndDropObject::DoDragAndDrop(const TPoint& p, bool& accepted)
{
    PrevMousePos = CurMousePos;
    CurMousePos = p;
    DragAndDrop(p, accepted);
}

void TcxDragAndDropObject::DoEndDragAndDrop(bool accepted)
{
    EndDragAndDrop(accepted);
    AfterDragAndDrop(accepted);
}

// ---- the platform drag of a toolkit control ----

void TcxDragControlObject::Finished(TObject* target, int x, int y, bool accepted)
{
    TDragControlObject::Finished(target, x, y, accepted);
    if (currentDragObject == this)
        currentDragObject = nullptr;
    Free();
}

TCursor TcxDragControlObject::GetDragCursor(bool accepted, int x, int y)
{
    auto* control = dynamic_cast<TcxControl*>(Control);
    if (accepted && control && control->GetIsCopyDragDrop())
        return crcxDragCopy;
    return TDragControlObject::GetDragCursor(accepted, x, y);
}

TObject* GetDragObject() { return currentDragObjectAlive.expired() ? nullptr : currentDragObject; }

TObject* cxExtractDragObjectSource(TObject* object)
{
    if (auto* o = dynamic_cast<TcxDragControlObject*>(object))
        return o->Control;
    return object;
}

TcxDragObjectClass TcxControl::GetDragObjectClass() const { return TcxDragObjectClass::Of<TcxDragControlObject>(); }

bool TcxControl::GetIsCopyDragDrop() const { return IsCtrlPressed(); }

TcxDragImageListClass TcxControl::GetDragImagesClass() const { return TcxDragImageListClass::Of<TcxDragImageList>(); }

void TcxControl::DoStartDrag(TDragObject*& dragObject)
{
    Update();
    TCustomControl::DoStartDrag(dragObject);
    if (!dragObject)
        if (const TcxDragObjectClass cls = GetDragObjectClass())
            dragObject = cls.Create(this);
    if (!StartDrag(dragObject)) {
        if (dragObject)
            dragObject->Free();
        dragObject = nullptr;
        // A refused start ends here instead of leaving a half-started drag.
        throw EAbort();
    }
}

void TcxControl::DoEndDrag(TObject* target, int x, int y)
{
    TCustomControl::DoEndDrag(target, x, y);
    currentDragObject = nullptr;
    if (TDragImageList* images = std::exchange(dragImages_, nullptr))
        images->Free();
}

void TcxControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    if (auto* o = dynamic_cast<TDragObject*>(source)) {
        currentDragObject = state == dsDragLeave ? nullptr : o;
        currentDragObjectAlive = AliveToken();
    } else if (auto* c = dynamic_cast<TControl*>(source); c && state != dsDragLeave) {
        // The platform hands the dragged control to the drop side: keep its drag object's source.
        currentDragObject = c;
        currentDragObjectAlive = c->AliveToken();
    } else if (state == dsDragLeave) {
        currentDragObject = nullptr;
    }
    TCustomControl::DragOver(source, x, y, state, accept);
}

TDragImageList* TcxControl::GetDragImages()
{
    if (!HasDragImages())
        return nullptr;
    if (!dragImages_) {
        dragImages_ = GetDragImagesClass().Create(nullptr);
        InitDragImages(dragImages_);
    }
    return dragImages_->Count() > 0 ? dragImages_ : nullptr;
}

void TcxControl::InitDragImages(TDragImageList* list)
{
    const TSize size = GetDragImagesSize();
    if (size.cx == 0 || size.cy == 0)
        return;
    list->SetWidth(size.cx);
    list->SetHeight(size.cy);
    TBitmap bitmap;
    bitmap.SetSize(size.cx, size.cy);
    TcxCanvas canvas(bitmap.Canvas());
    DrawDragImage(&canvas, {0, 0, size.cx, size.cy});
    list->AddMasked(&bitmap, bitmap.GetTransparentColor());
}

// ---- drag images ----

TcxCustomDragImage::TcxCustomDragImage(TComponent* owner) : TcxPopupWindow(owner)
{
    TControl::SetVisible(false);
    SetBounds(0, 0, 0, 0);
}

bool TcxCustomDragImage::GetAlphaBlended() const { return AlphaBlend; }

void TcxCustomDragImage::CreateParams(TCreateParams& params)
{
    TcxPopupWindow::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;
    TWinControl* parent = OwnerControl ? static_cast<TWinControl*>(OwnerControl) : Screen->ActiveForm();
    params.WndParent = parent && parent != this ? parent->Handle() : nullptr;
}

void TcxCustomDragImage::CreateWnd()
{
    TcxPopupWindow::CreateWnd();
    // The mouse goes to the windows below, as for a window that answers HTTRANSPARENT.
    Peer()->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (AlphaBlend)
        SetLayeredWindowAttributes(Handle(), 0, AlphaBlendValue, LWA_ALPHA);
}

void TcxCustomDragImage::Dispatch(TMessage& msg)
{
    if (msg.Msg == WM_ERASEBKGND) {
        msg.Result = 1;
        return;
    }
    TcxPopupWindow::Dispatch(msg);
}

void TcxCustomDragImage::Init(const TRect& sourceBounds, const TPoint& hotSpot)
{
    SetBounds(Left(), Top(), sourceBounds.Width(), sourceBounds.Height());
    hotSpot_ = {hotSpot.X - sourceBounds.Left, hotSpot.Y - sourceBounds.Top};
}

void TcxCustomDragImage::MoveTo(const TPoint& p)
{
    HandleNeeded();
    SetBounds(p.X - hotSpot_.X, p.Y - hotSpot_.Y, Width(), Height());
}

void TcxCustomDragImage::Show()
{
    HandleNeeded();
    TControl::SetVisible(true);
    Update();
}

void TcxCustomDragImage::Hide()
{
    if (HandleAllocated())
        TControl::SetVisible(false);
}

bool TcxCustomDragImage::GetVisible() const { return HandleAllocated() && Visible(); }

void TcxCustomDragImage::SetVisible(bool value)
{
    if (value == GetVisible())
        return;
    if (value)
        Show();
    else
        Hide();
}

TcxDragImage::TcxDragImage(TComponent* owner) : TcxCustomDragImage(owner)
{
    image_ = std::make_unique<TBitmap>();
    imageCanvas_ = std::make_unique<TcxCanvas>(image_->Canvas());
}

TcxDragImage::~TcxDragImage() = default;

void TcxDragImage::SetBounds(int left, int top, int width, int height)
{
    TcxCustomDragImage::SetBounds(left, top, width, height);
    if (image_ && (image_->GetWidth() != Width() || image_->GetHeight() != Height()))
        image_->SetSize(Width(), Height());
}

void TcxDragImage::Paint()
{
    PopupCanvas()->WrappedCanvas()->Draw(0, 0, image_.get());
}

TcxDragDestinationImage::TcxDragDestinationImage(TComponent* owner) : TcxDragImage(owner) { FormStyle = fsNormal; }

void TcxDragDestinationImage::SetParentControl(TWinControl* value)
{
    if (parentControl_ == value)
        return;
    parentControl_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TcxDragDestinationImage::CreateParams(TCreateParams& params)
{
    TcxDragImage::CreateParams(params);
    if (parentControl_)
        params.WndParent = parentControl_->Handle();
}

void TcxDragDestinationImage::Show() { TcxDragImage::Show(); }

// ---- the size frame ----

TcxSizeFrame::TcxSizeFrame(int frameWidth, TComponent* owner)
    : TcxCustomDragImage(owner), frameWidth_(frameWidth), frameRegion_(std::make_unique<TcxRegion>())
{
    AlphaBlend = false;
}

TcxSizeFrame::~TcxSizeFrame() = default;

void TcxSizeFrame::Paint()
{
    // Black and white pixels in turn, as the system's halftone pattern.
    auto bits = std::make_shared<gdi::Surface>(2, 2);
    bits->SetPixel(0, 0, gdi::ColorToPixel(0));
    bits->SetPixel(1, 1, gdi::ColorToPixel(0));
    bits->SetPixel(1, 0, gdi::ColorToPixel(0xFFFFFF));
    bits->SetPixel(0, 1, gdi::ColorToPixel(0xFFFFFF));
    if (HDC dc = PopupCanvas()->GetHandle())
        gdi::FillRect(*dc, GetClientRect(), gdi::Brush::Pattern(bits));
}

void TcxSizeFrame::DrawSizeFrame(const TRect& r)
{
    frameRegion_ = std::make_unique<TcxRegion>(TRect{0, 0, r.Width(), r.Height()});
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TcxSizeFrame::DrawSizeFrame(const TRect& r, TcxRegion* region)
{
    frameRegion_ = std::make_unique<TcxRegion>();
    if (region && region->Handle)
        frameRegion_->Handle->Q() = region->Handle->Q();
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TcxSizeFrame::SetBounds(int left, int top, int width, int height)
{
    TcxCustomDragImage::SetBounds(left, top, width, height);
    if (HandleAllocated() && 2 * frameWidth_ < width && 2 * frameWidth_ < height) {
        InitializeFrameRegion();
        SetWindowRegion();
    }
}

void TcxSizeFrame::InitializeFrameRegion()
{
    // The region shrunk by the frame width on every side, taken out of the region: a band
    // along its outline.
    QRegion& frame = frameRegion_->Handle->Q();
    QRegion inner = frame;
    const int w = frameWidth_;
    for (const QPoint d : {QPoint(w, 0), QPoint(0, w), QPoint(-w, 0), QPoint(0, -w)})
        inner &= inner.translated(d);
    frame -= inner;
}

void TcxSizeFrame::SetWindowRegion()
{
    gdi::Region current;
    if (GetWindowRgn(current) != RGN_ERROR && current.Equals(*frameRegion_->Handle))
        return;
    SetWindowRgn(new gdi::Region(frameRegion_->Handle->Q()));
}

// ---- the insertion arrow ----

TRect GetDragAndDropArrowBounds(const TRect& lineBounds, const TRect& clientRect, TcxArrowPlace place)
{
    TRect r = lineBounds;
    if (!cxRectIsEmpty(clientRect)) {
        r.Left = std::clamp(r.Left, clientRect.Left, clientRect.Right - 1);
        r.Right = std::clamp(r.Right, clientRect.Left, clientRect.Right - 1);
        r.Top = std::clamp(r.Top, clientRect.Top, clientRect.Bottom - 1);
        r.Bottom = std::clamp(r.Bottom, clientRect.Top, clientRect.Bottom - 1);
    }
    switch (place) {
    case apLeft: return {r.Left - 9, r.Top - 5, r.Left, r.Top + 6};
    case apRight: return {r.Right, r.Top - 5, r.Right + 9, r.Top + 6};
    case apTop: return {r.Left - 5, r.Top - 9, r.Left + 6, r.Top};
    default: return {r.Left - 5, r.Bottom, r.Left + 6, r.Bottom + 9};
    }
}

void GetDragAndDropArrowPoints(const TRect& a, TcxArrowPlace place, TcxArrowPoints& p, bool forRegion)
{
    const int k = forRegion ? 1 : 0;
    const int L = a.Left, T = a.Top, R = a.Right, B = a.Bottom;
    switch (place) {
    case apLeft: // points right
        p = {{{L + 3, T - k}, {L + 3, T + 3}, {L, T + 3}, {L, B - 4 + k}, {L + 3, B - 4 + k}, {L + 3, B - 1 + k},
              {R - 1 + k, T + 5}}};
        break;
    case apTop: // points down
        p = {{{L + 3, T}, {R - 4 + k, T}, {R - 4 + k, T + 3}, {R - 1 + k, T + 3}, {L + 5, B - 1 + k}, {L, T + 3},
              {L + 3, T + 3}}};
        break;
    case apRight: // points left
        p = {{{R - 4 + k, T - k}, {R - 4 + k, T + 3}, {R - 1 + k, T + 3}, {R - 1 + k, B - 4 + k}, {R - 4 + k, B - 4 + k},
              {R - 4 + k, B - 1 + k}, {L, T + 5}}};
        break;
    case apBottom: // points up
        p = {{{L + 3, B - 1 + k}, {R - 4 + k, B - 1 + k}, {R - 4 + k, B - 4 + k}, {R - 1 + k, B - 4 + k}, {L + 5, T - k},
              {L - k, B - 4 + k}, {L + 3, B - 4}}};
        break;
    }
}

void DrawDragAndDropArrow(TcxCanvas* canvas, const TRect& arrowBounds, TcxArrowPlace place)
{
    TcxArrowPoints p;
    GetDragAndDropArrowPoints(arrowBounds, place, p, false);
    canvas->GetBrush()->SetColor(clLime);
    canvas->WrappedCanvas()->Pen()->SetColor(clBlack);
    canvas->Polygon(p.data(), int(p.size()) - 1);
}

TcxDragAndDropArrow::TcxDragAndDropArrow(bool transparent, TComponent* owner)
    : TcxDragImage(owner), transparent_(transparent)
{
    AlphaBlend = false;
}

bool TcxDragAndDropArrow::Transparent() const
{
    // The platform's layered windows take an opacity, not a colour key.
    constexpr bool colorKeyedWindows = false;
    return transparent_ && colorKeyedWindows;
}

void TcxDragAndDropArrow::Init(TControl* owner, const TRect& lineBounds, const TRect& clientRect, TcxArrowPlace place)
{
    TRect r = GetDragAndDropArrowBounds(lineBounds, clientRect, place);
    if (owner) {
        const TPoint a = owner->ClientToScreen({r.Left, r.Top});
        const TPoint b = owner->ClientToScreen({r.Right, r.Bottom});
        r = {a.X, a.Y, b.X, b.Y};
    }
    HandleNeeded();
    SetBoundsRect(r);
    const TRect client{0, 0, r.Width(), r.Height()};
    Canvas()->FillRect(client, GetImageBackColor());
    DrawDragAndDropArrow(Canvas(), client, place);
    if (!Transparent()) {
        TcxArrowPoints p;
        GetDragAndDropArrowPoints(client, place, p, true);
        SetWindowRgn(new gdi::Region(gdi::Region::Polygon(p.data(), int(p.size()), WINDING)));
    }
}

} // namespace cx
