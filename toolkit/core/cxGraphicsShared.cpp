// The shared screen and paint canvases and the painting of control trees into a canvas.
#include "toolkit/core/cxGraphicsShared.h"

#include "platform/gdi/Draw.h"
#include "platform/gdi/SysParams.h"
#include "platform/vcl/Messages.h"
#include "toolkit/core/cxGeometry.h"

using namespace gdi;

// ---- screen canvas ----

TScreenCanvas::~TScreenCanvas() { FreeDeviceContext(); }

// The screen's device context draws into a surface of the screen's size.
void TScreenCanvas::CreateHandle()
{
    if (!screen_)
        screen_ = std::make_unique<Surface>(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    DeviceContext = new Dc(screen_.get());
    SetHandle(DeviceContext);
}

void TScreenCanvas::FreeDeviceContext()
{
    if (!DeviceContext)
        return;
    SetHandle(nullptr);
    delete DeviceContext;
    DeviceContext = nullptr;
    DesktopWindow = nullptr;
}

TcxScreenCanvas::TcxScreenCanvas() : TcxCanvas(new TScreenCanvas)
{
    screen_ = static_cast<TScreenCanvas*>(WrappedCanvas());
}

TcxScreenCanvas::~TcxScreenCanvas()
{
    screen_->FreeDeviceContext();
    delete screen_;
}

void TcxScreenCanvas::Dormant() { screen_->FreeDeviceContext(); }

// ---- paint canvas ----

TcxPaintCanvas::TcxPaintCanvas() : TcxCanvas(new TCanvas) { internal_.reset(WrappedCanvas()); }

TcxPaintCanvas::~TcxPaintCanvas()
{
    while (paintDepth_ > 0)
        EndPaint();
}

void TcxPaintCanvas::BeginPaint(HDC dc)
{
    TcxPaintCanvasState state;
    TCanvas* canvas = WrappedCanvas();
    if (canvas->HandleAllocated()) {
        SaveState();
        state.PreviousHandle = canvas->GetHandle();
    }
    state.PaintDC = dc;
    state.PaintDCSaveIndex = dc ? gdi::SaveDC(*dc) : 0;
    paintStates_.push_back(state);
    SynchronizeObjects(dc);
    canvas->SetHandle(dc);
    ++paintDepth_;
}

void TcxPaintCanvas::BeginPaint(TCanvas* canvas)
{
    TcxPaintCanvasState state;
    state.PreviousCanvas = WrappedCanvas();
    paintStates_.push_back(state);
    SetCanvas(canvas);
    SaveClipRegion();
    SaveState();
    ++paintDepth_;
}

void TcxPaintCanvas::EndPaint()
{
    if (paintDepth_ <= 0)
        return;
    --paintDepth_;
    const TcxPaintCanvasState state = paintStates_[size_t(paintDepth_)];
    if (state.PreviousCanvas) {
        RestoreState();
        RestoreClipRegion();
        SetCanvas(state.PreviousCanvas);
    } else {
        WrappedCanvas()->SetHandle(state.PreviousHandle);
        if (state.PaintDC)
            gdi::RestoreDC(*state.PaintDC, state.PaintDCSaveIndex);
        if (WrappedCanvas()->HandleAllocated())
            RestoreState();
    }
    paintStates_.resize(size_t(paintDepth_));
}

// ---- shared instances ----

namespace {
std::unique_ptr<TcxScreenCanvas> screenCanvasSingleton;
std::unique_ptr<TcxPaintCanvas> paintCanvasSingleton;
bool unitFinalized = false;
} // namespace

TcxScreenCanvas* cxScreenCanvas()
{
    if (!screenCanvasSingleton && !unitFinalized)
        screenCanvasSingleton = std::make_unique<TcxScreenCanvas>();
    return screenCanvasSingleton.get();
}

TcxPaintCanvas* cxPaintCanvas()
{
    if (!paintCanvasSingleton && !unitFinalized)
        paintCanvasSingleton = std::make_unique<TcxPaintCanvas>();
    return paintCanvasSingleton.get();
}

void cxGraphicsSharedUnit::Initialize() { unitFinalized = false; }

void cxGraphicsSharedUnit::Finalize()
{
    unitFinalized = true;
    screenCanvasSingleton.reset();
    paintCanvasSingleton.reset();
}

// ---- painting control trees ----

namespace {

// The window edge of a control painted with its non-client part: sunken for a client edge, a
// mono line for a border; drawn unless the control's helper refuses. The edge's inside then
// clips what follows and becomes the origin.
void PaintWindowEdge(TWinControl* control, TcxCanvas* canvas, int dx, int dy)
{
    if (auto* helper = dynamic_cast<IcxPaintControlsHelper*>(control); helper && !helper->AllowDrawEdgesAndBorders())
        return;
    unsigned edge = 0, flags = 0;
    if (control->WindowExStyle() & WS_EX_CLIENTEDGE) {
        edge = EDGE_SUNKEN;
        flags = BF_RECT | BF_ADJUST;
    } else if (control->WindowStyle() & WS_BORDER) {
        edge = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
        flags = BF_RECT | BF_ADJUST | BF_MONO;
    } else {
        return;
    }
    const TRect bounds = control->BoundsRect();
    TRect r = cx::cxRectOffset({0, 0, bounds.Width(), bounds.Height()}, bounds.Left - dx, bounds.Top - dy);
    gdi::DrawEdge(*canvas->GetHandle(), r, edge, flags);
    canvas->SetClipRegion(new TcxRegion(r), roIntersect);
    const TPoint org = canvas->GetWindowOrg();
    canvas->SetWindowOrg({org.X - r.Left, org.Y - r.Top});
}

void PaintTree(TWinControl* control, TcxCanvas* canvas, int dx, int dy, const TRect& r, bool drawNonClient,
               rtl::TList* exclusions)
{
    HDC dc = canvas->GetHandle();
    if (!RectVisible(*dc, r))
        return;
    control->ControlState.Include(csPaintCopy);
    if (drawNonClient)
        PaintWindowEdge(control, canvas, dx, dy);
    TCanvas* wrapped = canvas->WrappedCanvas();
    wrapped->Lock();
    try {
        canvas->SaveClipRegion();
        if (control->HandleAllocated()) {
            gdi::Region windowRegion;
            const int kind = control->GetWindowRgn(windowRegion);
            if (kind == SIMPLEREGION || kind == COMPLEXREGION)
                canvas->SetClipRegion(new TcxRegion(new gdi::Region(windowRegion)), roIntersect);
        }
        canvas->SetClipRegion(new TcxRegion(r), roIntersect);
        control->Perform(WM_ERASEBKGND, WPARAM(dc), LPARAM(dc));
        control->Perform(WM_PAINT, WPARAM(dc), 0);
        canvas->RestoreClipRegion();
    } catch (...) {
        wrapped->Unlock();
        throw;
    }
    wrapped->Unlock();
    for (int i = 0; i < control->ControlCount(); ++i) {
        TControl* child = control->Controls(i);
        if (exclusions && exclusions->IndexOf(child) >= 0)
            break;
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (!windowed || !windowed->Visible())
            continue;
        const TPoint p = control->ScreenToClient(windowed->ClientToScreen({0, 0}));
        cxPaintControlTo(windowed, canvas, p.X, p.Y, cx::cxRectOffset(windowed->BoundsRect(), p, false), true,
                         exclusions);
    }
}

} // namespace

void cxPaintControlTo(TWinControl* control, TcxCanvas* canvas, int dx, int dy, const TRect& r, bool drawNonClient,
                      rtl::TList* exclusions)
{
    if (!control || !canvas || control->ComponentState().Contains(rtl::csDestroying))
        return;
    HDC dc = canvas->GetHandle();
    if (!dc)
        return;
    const int saved = SaveDC(*dc);
    const TPoint org = canvas->GetWindowOrg();
    canvas->SetWindowOrg({org.X - dx, org.Y - dy});
    try {
        PaintTree(control, canvas, dx, dy, r, drawNonClient, exclusions);
    } catch (...) {
        control->ControlState.Exclude(csPaintCopy);
        RestoreDC(*dc, saved);
        throw;
    }
    control->ControlState.Exclude(csPaintCopy);
    RestoreDC(*dc, saved);
}

void cxDrawTransparentControlBackground(TWinControl* control, TcxCanvas* canvas, const TRect& r, bool)
{
    if (!control || !canvas || !control->Parent())
        return;
    TWinControl* parent = control->Parent();
    const TPoint p = control->HandleAllocated() ? parent->ScreenToClient(control->ClientToScreen({0, 0}))
                                                : TPoint{control->BoundsRect().Left, control->BoundsRect().Top};
    const TRect shifted = cx::cxRectOffset(r, p, true);
    rtl::TList exclusions;
    exclusions.Add(control);
    cxPaintControlTo(parent, canvas, -shifted.Left, -shifted.Top, shifted, false, &exclusions);
}

void cxDrawTransparentControlBackground(TWinControl* control, TCanvas* canvas, const TRect& r, bool paintParent)
{
    TcxCanvas wrapper(canvas);
    cxDrawTransparentControlBackground(control, &wrapper, r, paintParent);
}

void cxDrawThemeParentBackground(TWinControl* control, TcxCanvas* canvas, const TRect& r)
{
    cxDrawTransparentControlBackground(control, canvas, r, false);
}

void cxDrawThemeParentBackground(TWinControl* control, TCanvas* canvas, const TRect& r)
{
    TcxCanvas wrapper(canvas);
    cxDrawThemeParentBackground(control, &wrapper, r);
}
