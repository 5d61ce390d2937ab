#pragma once
// cxEditPaintUtils and cxEditUtils: what every editor's painting shares. A cache of solid brushes
// by colour (the many small fills of frames, buttons and arrows reuse their brushes), the button
// drawing primitives (arrows, one-pixel borders, glyphs), the default button width, the
// conversion between the toolkit's and the system's text flags, and small colour and font helpers.
#include <cstdint>
#include <vector>

#include "platform/gdi/GdiObjects.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEdit.h"

namespace cx {

// ---- cxEditPaintUtils -------------------------------------------------------------------------

// Solid brushes by colour, at most MaxDepth alive. Colours are kept sorted (unsigned) for a
// halving search; when full, the entry hit least often goes (the lowest among equals). A new entry
// starts with no hits. System colours never enter: they answer the system's own brushes.
class TcxSolidBrushCache : public TObject {
    RTL_CLASS(TcxSolidBrushCache, TObject)
    explicit TcxSolidBrushCache(int maxDepth = 128);
    ~TcxSolidBrushCache() override;
    TcxSolidBrushCache(const TcxSolidBrushCache&) = delete;
    TcxSolidBrushCache& operator=(const TcxSolidBrushCache&) = delete;

    const gdi::Brush* GetBrush(TColor color);
    void Clear();
    virtual void SystemPaletteChanged() { Clear(); }

    int Depth() const { return int(colors_.size()); }
    int MaxDepth() const { return maxDepth_; }
    // The colour of entry i (in sorted order) and how often it was hit.
    TColor Color(int i) const { return colors_[i]; }
    unsigned UseCount(int i) const { return useCounts_[i]; }

private:
    int maxDepth_;
    std::vector<TColor> colors_;
    std::vector<gdi::Brush*> brushes_;
    std::vector<unsigned> useCounts_;
    TcxSystemPaletteChangedNotifier* notifier_ = nullptr;
};

// The unit's cache; every editor fill takes its brush here. The canvas forms ignore the canvas.
const gdi::Brush* GetSolidBrush(TColor color);
inline const gdi::Brush* GetSolidBrush(TCanvas*, TColor color) { return GetSolidBrush(color); }
inline const gdi::Brush* GetSolidBrush(TcxCanvas*, TColor color) { return GetSolidBrush(color); }
void ResetSolidBrushCache();
// The unit's cache itself (null outside start-up and shut-down).
TcxSolidBrushCache* SolidBrushCache();

namespace cxEditPaintUtilsUnit {
void Initialize();
void Finalize();
} // namespace cxEditPaintUtilsUnit

// ---- cxEditUtils ------------------------------------------------------------------------------

// The toolkit's text output flags (CXTO_...) and the system's DrawText flags (DT_...) share bit
// positions with other meanings (0x10 and 0x20 swap), so each family has its own type and only
// the two conversions below cross between them.
struct TcxTextOutFlags {
    unsigned value = 0;
    friend bool operator==(TcxTextOutFlags, TcxTextOutFlags) = default;
};
struct TcxDrawTextFlags {
    unsigned value = 0;
    friend bool operator==(TcxDrawTextFlags, TcxDrawTextFlags) = default;
};
TcxDrawTextFlags cxTextOutFlagsToDrawTextFlags(TcxTextOutFlags flags);
TcxTextOutFlags DrawTextFlagsTocxTextOutFlags(TcxDrawTextFlags flags);

// An arrow of S lines (doubled: two arrows touching along the axis), centred in r.
void DrawArrow(TcxCanvas* canvas, int size, const TRect& r, TcxArrowDirection direction, bool isDouble,
               bool pressedOffset, TColor color);
// One-pixel lines on the listed sides (left, right, top, bottom); r shrinks by each line drawn.
void DrawButtonBorder(TcxCanvas* canvas, TRect& r, TcxBorders borders, TColor color);
// A polyline including its last point; fill mode (horizontal and vertical segments only) paints
// with the cached brush instead of the pen.
void InternalPolyLine(TcxCanvas* canvas, const std::vector<TPoint>& points, TColor color, bool fillWithBrush);
// A glyph at (x, y): enabled through its transparent colour, disabled in the image-list form.
// Background clNone leaves the canvas showing around the glyph.
void DrawGlyph(TcxCanvas* canvas, int x, int y, TBitmap* glyph, bool enabled, TColor backgroundColor = clNone);
// A list's image as a glyph in the rectangle: on an opaque background of the colour, greyed when
// not enabled.
void DrawGlyph(TcxCanvas* canvas, TCustomImageList* images, int index, const TRect& r, TColor backgroundColor,
               bool enabled);

TcxCustomLookAndFeelPainterClass GetPainterClass(bool nativeStyle, TcxLookAndFeelKind kind);
bool VerifyBitmap(TBitmap* bitmap);
int CalculateEditDefaultButtonWidth(TcxCanvas* canvas, const TcxEditButtonViewInfo* viewInfo);
int cxEditGetBorderWidthBySkinPainter(TcxEditBorderStyle borderStyle, TcxCustomLookAndFeelPainterClass painter);
void cxEditFillRect(TcxCanvas* canvas, const TRect& r, TColor color);
void cxEditFillRect(HDC dc, const TRect& r, const gdi::Brush* brush);
// The outer rectangle less the inner one, filled in four strips.
void InternalFillRect(TcxCanvas* canvas, const TRect& outerRect, const TRect& innerRect, const gdi::Brush* brush);
inline bool cxIsDigitChar(char c) { return c >= '0' && c <= '9'; }
inline void cxOffsetRect(TRect& r, const TPoint& p) { r = cxRectOffset(r, p); }

// The arrow size that fits a button content of the given size (swapped for left and right).
TSize GetArrowSize(const TSize& size, TcxArrowDirection direction);
int GetEditButtonsContentVerticalOffset(TcxCanvas* canvas, TcxEditButtonStyle buttonStyle, bool nativeStyle);
TColor GetHotTrackColor();
int GetNativeInnerTextEditContentHeightCorrection(TcxCustomEditProperties* properties, bool isInplace);
TcxRegion* GetEditButtonRegion(TcxCanvas* canvas, const TcxEditButtonViewInfo* viewInfo);
TColor GetEditBorderHighlightColor(bool isOffice11Style);
TColor GetEditButtonHighlightColor(bool pressed, bool isOffice11Style);
void SaveCanvasFont(TcxCanvas* canvas, gdi::LogFont& logFont);
void RestoreCanvasFont(TcxCanvas* canvas, const gdi::LogFont& logFont);

} // namespace cx

namespace cx {

// The three dots of an ellipsis button in r: 2-pixel dots when r is wider than 11, else 1-pixel,
// the block (3 dots, 2 pixels apart) centred; pressed moves it by one pixel where it still fits.
// A disabled button gets the embossed form (highlight at (1, 1), then shadow).
void DrawEllipsisButtonContent(TcxCanvas* canvas, const TRect& r, TColor textColor, bool enabled, bool pressedOffset);
// Where the dots go: the block rectangle and the dot size.
TRect GetEllipsisDotsBlock(const TRect& r, bool pressedOffset, int& dotSize);

} // namespace cx
