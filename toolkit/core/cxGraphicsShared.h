#pragma once
// The two process-wide canvases of the graphics unit and the painting of a control tree into a
// toolkit canvas. The screen canvas measures on a device context of its own that it gives back
// after each use (Dormant); the paint canvas is pointed at a device context or a canvas for one
// paint and restores everything when that paint ends, levels nesting in LIFO order.
#include "platform/rtl/Lists.h"
#include "platform/vcl/Controls.h"
#include "toolkit/core/cxGraphics.h"

#include <memory>
#include <vector>

// The canvas of the screen: its device context is taken when the canvas first needs one.
class TScreenCanvas : public TCanvas {
    RTL_CLASS(TScreenCanvas, TCanvas)
    ~TScreenCanvas() override;
    HDC DeviceContext = nullptr;
    HWND DesktopWindow = nullptr;
    // Gives the device context back; the next drawing call takes a new one.
    void FreeDeviceContext();

protected:
    void CreateHandle() override;

private:
    std::unique_ptr<gdi::Surface> screen_;
};

class TcxScreenCanvas : public TcxCanvas {
public:
    TcxScreenCanvas();
    ~TcxScreenCanvas() override;
    void Dormant();

private:
    TScreenCanvas* screen_;
};

struct TcxPaintCanvasState {
    TCanvas* PreviousCanvas = nullptr;
    HDC PreviousHandle = nullptr;
    HDC PaintDC = nullptr;
    int PaintDCSaveIndex = 0;
};
using TcxPaintCanvasStates = std::vector<TcxPaintCanvasState>;

class TcxPaintCanvas : public TcxCanvas {
public:
    TcxPaintCanvas();
    ~TcxPaintCanvas() override;

    // Paints on the device context: the wrapped canvas's previous handle and state are kept
    // and the context's own state is saved, all given back by the matching EndPaint.
    void BeginPaint(HDC dc);
    // Paints on the canvas: the wrapper switches to it, its clip and state saved.
    void BeginPaint(TCanvas* canvas);
    // Closes the innermost level; nothing when none is open.
    void EndPaint();
    bool HandleValid() const { return WrappedCanvas()->HandleAllocated(); }
    int PaintDepth() const { return paintDepth_; }

private:
    std::unique_ptr<TCanvas> internal_;
    int paintDepth_ = 0;
    TcxPaintCanvasStates paintStates_;
};

// The shared instances, created on first use; null once the unit has shut down.
TcxScreenCanvas* cxScreenCanvas();
TcxPaintCanvas* cxPaintCanvas();

namespace cxGraphicsSharedUnit {
// Start-up allows the shared canvases again; shut-down frees them and allows none.
void Initialize();
void Finalize();
} // namespace cxGraphicsSharedUnit

// A control that decides whether cxPaintControlTo draws its window edge.
class IcxPaintControlsHelper {
public:
    virtual ~IcxPaintControlsHelper() = default;
    virtual bool AllowDrawEdgesAndBorders() = 0;
};

// Paints the control and its windowed children (z-order upward, stopping at the first child in
// exclusions) into the canvas, the control's client origin at (dx, dy) in canvas coordinates
// moved back, clipped to r. The device context is restored also when a paint raises.
void cxPaintControlTo(TWinControl* control, TcxCanvas* canvas, int dx, int dy, const TRect& r, bool drawNonClient,
                      rtl::TList* exclusions);
// Paints what lies under the control: its parent and the siblings below it.
void cxDrawTransparentControlBackground(TWinControl* control, TcxCanvas* canvas, const TRect& r,
                                        bool paintParentWithChildren = true);
void cxDrawTransparentControlBackground(TWinControl* control, TCanvas* canvas, const TRect& r,
                                        bool paintParentWithChildren = true);
// Without a theme library (always here) the same as the transparent background.
void cxDrawThemeParentBackground(TWinControl* control, TcxCanvas* canvas, const TRect& r);
void cxDrawThemeParentBackground(TWinControl* control, TCanvas* canvas, const TRect& r);
