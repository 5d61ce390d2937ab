#pragma once
// The toolkit's drawing type and its helpers: regions, the canvas wrapper with its state
// stacks, frames, edges, tiled fills, clipping in logical coordinates, bitmap pixel access and
// rotation, and the reference-counted brush cache with the unit's shared brushes.
#include "platform/rtl/Strings.h"
#include "platform/vcl/Graphics.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/dxCore.h"

#include <cstdint>
#include <string>
#include <vector>

class TCustomImageList;

// ---- regions ----

enum TcxRegionOperation { roSet, roAdd, roSubtract, roIntersect };

class TcxRegion {
public:
    explicit TcxRegion(HRGN handle); // takes ownership
    explicit TcxRegion(const TRect& r);
    TcxRegion();
    TcxRegion(int left, int top, int right, int bottom);
    TcxRegion(const TRect& r, int ellipseWidth, int ellipseHeight);
    TcxRegion(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    virtual ~TcxRegion();
    TcxRegion(const TcxRegion&) = delete;
    TcxRegion& operator=(const TcxRegion&) = delete;

    HRGN Handle = nullptr;

    void Combine(TcxRegion* region, TcxRegionOperation operation, bool destroyRegion = true);
    bool IsEqual(TcxRegion* region) const;
    bool IsEqual(HRGN region) const;
    void Offset(const TPoint& p) { Offset(p.X, p.Y); }
    void Offset(int dx, int dy);
    bool PtInRegion(const TPoint& p) const { return PtInRegion(p.X, p.Y); }
    bool PtInRegion(int x, int y) const;
    bool RectInRegion(const TRect& r) const;
    bool RectInRegion(int left, int top, int right, int bottom) const;
    TRect GetBoundsRect() const;
    bool GetIsEmpty() const;
    void DestroyHandle();
};

// ---- canvas ----

enum TcxBorder { bLeft, bTop, bRight, bBottom };
using TcxBorders = unsigned; // bit (1 << TcxBorder)
constexpr TcxBorders cxBordersAll = 0xF;
constexpr TcxBorders cxBorder(TcxBorder b) { return 1u << b; }

struct TcxViewParams {
    TBitmap* Bitmap = nullptr;
    TColor Color = clNone;
    TFont* Font = nullptr;
    TColor TextColor = clNone;
};
using PcxViewParams = TcxViewParams*;

struct TcxCanvasState {
    TFont* SavedFont = nullptr;
    TBrush* SavedBrush = nullptr;
    TPen* SavedPen = nullptr;
};
using TcxCanvasStates = std::vector<TcxCanvasState>;

enum TcxRotationAngle { ra0, raPlus90, raMinus90, ra180 };

// ---- text flags ----

// The toolkit's text flags of DrawTexT, TextExtent and GetTextStringsBounds.
constexpr int cxtfLeft = 0x0001, cxtfRight = 0x0002, cxtfHCenter = 0x0004, cxtfTop = 0x0008,
              cxtfBottom = 0x0010, cxtfVCenter = 0x0020, cxtfSingleLine = 0x0040, cxtfNoClip = 0x0080,
              cxtfExpandTabs = 0x0100, cxtfShowPrefix = 0x0200, cxtfWordBreak = 0x0400,
              cxtfEndEllipsis = 0x0800, cxtfCalcRect = 0x1000, cxtfPathEllipsis = 0x2000,
              cxtfNoCharBreak = 0x4000, cxtfNoFullWidthCharBreak = 0x8000;
// Indexed by TAlignment and by TcxAlignmentVert.
extern const int cxAlignmentsHorz[3];
extern const int cxAlignmentsVert[3];
extern const unsigned SystemAlignmentsHorz[3];
extern const unsigned SystemAlignmentsVert[3];
// The DrawText flags of toolkit text flags; DT_NOPREFIX unless cxtfShowPrefix.
unsigned cxFlagsToDTFlags(int flags);

using TRectArray = std::vector<TRect>;

class TcxCanvas {
public:
    explicit TcxCanvas(TCanvas* canvas);
    virtual ~TcxCanvas();
    TcxCanvas(const TcxCanvas&) = delete;
    TcxCanvas& operator=(const TcxCanvas&) = delete;

    TCanvas* WrappedCanvas() const { return canvas_; }
    HDC GetHandle() const { return canvas_->GetHandle(); }
    TBrush* GetBrush() const { return canvas_->Brush(); }
    void SetBrush(TBrush* b) { canvas_->Brush()->Assign(b); }
    TFont* GetFont() const { return canvas_->Font(); }
    void SetFont(TFont* f) { canvas_->Font()->Assign(f); }
    TPen* GetPen() const { return canvas_->Pen(); }
    void SetPen(TPen* p) { canvas_->Pen()->Assign(p); }
    DWORD GetCopyMode() const { return canvas_->CopyMode; }
    void SetCopyMode(DWORD mode) { canvas_->CopyMode = mode; }

    // Forwarding to the wrapped canvas and the device context.
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
    void Draw(int x, int y, TGraphic* graphic);
    // One image of the list at (x, y), enabled or disabled; nothing for an index outside the list.
    void DrawImage(TCustomImageList* images, int x, int y, int index, bool enabled = true);
    // The glyph at (x, y) with its transparent colour left out. Enabled, the brush shows there
    // (in the background colour unless clNone, which draws nothing there); disabled, the glyph
    // is embossed, on the background colour unless clNone.
    void DrawGlyph(int x, int y, TBitmap* glyph, bool enabled = true, TColor background = clNone);
    void LineTo(int x, int y);
    void MoveTo(int x, int y);
    void Polygon(const TPoint* points, int lastIndex);
    void Polyline(const TPoint* points, int lastIndex);
    void SetPixel(int x, int y, TColor color);
    TPoint GetViewportOrg() const;
    void SetViewportOrg(const TPoint& p);
    TPoint GetWindowOrg() const;
    void SetWindowOrg(const TPoint& p);
    TPoint GetDCOrigin() const;
    // Paths: shapes drawn between BeginPath and EndPath are recorded instead of painted.
    // WidenPath widens the closed path by the canvas's pen; PathToRegion returns a new region of
    // the path (the caller frees it; empty when there is no closed path) and uses the path up.
    void BeginPath();
    void EndPath();
    void WidenPath();
    TcxRegion* PathToRegion();
    void ExcludeClipRect(const TRect& r);
    void IntersectClipRect(const TRect& r);
    bool RectVisible(const TRect& r) const;

    // State stacks; restores on an empty stack do nothing.
    void SaveDC();
    void RestoreDC();
    void SaveClipRegion();
    void RestoreClipRegion();
    void SaveState();
    void RestoreState();
    void SynchronizeObjects(HDC dc);

    // Colours and parameters.
    void SetBrushColor(TColor color);
    void GetParams(TcxViewParams& params) const;
    void SetParams(const TcxViewParams& params);
    void SetFontAngle(int degrees);

    // Fills, frames and edges.
    void FillRect(const TRect& r, TColor color);
    void FillRect(const TRect& r, TBitmap* bitmap = nullptr, bool excludeRect = false);
    void FillRect(const TRect& r, const TcxViewParams& params, TcxBorders borders = 0,
                  TColor borderColor = clDefault, int lineWidth = 1, bool excludeRect = false);
    void FrameRect(const TRect& r, TColor color = clDefault, int lineWidth = 1,
                   TcxBorders borders = cxBordersAll, bool excludeFrame = false);
    void DrawComplexFrame(const TRect& r, TColor leftTopColor, TColor rightBottomColor,
                          TcxBorders borders = cxBordersAll, int borderWidth = 1);
    void DrawEdge(const TRect& r, bool sunken, bool outer, TcxBorders borders = cxBordersAll);
    void DrawFocusRect(const TRect& r);
    void DrawDesignSelection(const TRect& r, int width);
    void InvertRect(const TRect& r);
    void InvertFrame(const TRect& r, int width);
    void FillRegion(TcxRegion* region, TColor color);
    void FillRegion(HRGN region, TColor color);
    void FrameRegion(TcxRegion* region, TColor color, int width = 1, int height = 1);
    void FrameRegion(HRGN region, TColor color, int width = 1, int height = 1);
    void DrawRegion(TcxRegion* region, TColor contentColor, TColor borderColor, int borderWidth = 1,
                    int borderHeight = 1);
    void DrawRegion(HRGN region, TColor contentColor, TColor borderColor, int borderWidth = 1,
                    int borderHeight = 1);
    void Pie(const TRect& r, const TPoint& radial1, const TPoint& radial2);
    void Pie(const TRect& r, int startAngle, int sweepAngle);

    // Text (UTF-8) in the canvas's font. Disabled text is drawn embossed: in the button
    // highlight colour one pixel down-right, then in the button shadow colour.
    void DrawTexT(const std::string& text, const TRect& r, int flags, bool enabled = true);
    void DrawTexT(const std::string& text, const TRect& r, TAlignment alignHorz,
                  cx::TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // Lays the text out in r and places the result inside the rectangle r was.
    void TextExtent(const std::string& text, TRect& r, int flags);
    // Moves r's Top so that the laid-out lines sit at the bottom or in the middle of r.
    void AlignMultiLineTextRectVertically(TRect& r, const std::string& text, cx::TcxAlignmentVert alignVert,
                                          bool wordWrap, bool showPrefix, bool enabled = true,
                                          bool noCharBreak = false);
    // Appends one rectangle per output line (bounds is not cleared).
    void GetTextStringsBounds(std::string text, const TRect& r, int flags, bool enabled, TRectArray& bounds);
    // Assigns the font to the canvas (it stays) and returns the height of "Qq".
    int FontHeight(TFont* font);

    // Bitmaps.
    void TransparentDraw(int x, int y, TBitmap* bitmap, unsigned char alpha, TBitmap* background = nullptr);
    void RotateBitmap(TBitmap* bitmap, TcxRotationAngle angle, bool flipVertically = false);
    void FlipHorizontally(TBitmap* bitmap);

    // Clipping in logical coordinates (with ConsiderOrigin).
    TcxRegion* GetClipRegion(bool considerOrigin = true);
    void SetClipRegion(TcxRegion* region, TcxRegionOperation operation, bool considerOrigin = true,
                       bool destroyRegion = true);
    bool RectFullyVisible(const TRect& r);

protected:
    // Points the wrapper at another canvas (the shared canvases swap theirs per paint).
    void SetCanvas(TCanvas* canvas) { canvas_ = canvas; }

private:
    TCanvas* canvas_;
    std::vector<int> savedDCs_;
    std::vector<TcxRegion*> savedClipRegions_;
    TcxCanvasStates savedStates_;
};

// ---- pixels ----

struct RGBQUAD {
    std::uint8_t rgbBlue, rgbGreen, rgbRed, rgbReserved;
    friend bool operator==(const RGBQUAD&, const RGBQUAD&) = default;
};
static_assert(sizeof(RGBQUAD) == 4);
using TRGBColors = std::vector<RGBQUAD>;

// The bitmap's pixels as 32-bit quads, row 0 at the top (topDown) or at the bottom; false, with
// nothing read, for a bitmap of zero width or height.
bool GetBitmapBits(TBitmap* bitmap, bool topDown, TRGBColors& colors);
// Writes the quads back and empties the array.
void SetBitmapBits(TBitmap* bitmap, TRGBColors& colors, bool topDown);

// ---- brush cache ----

// The cache's error; a toolkit exception like every other.
class EBrushCache : public cx::EdxException {
public:
    using EdxException::EdxException;
};

struct TcxBrushData {
    TBrush* Brush = nullptr;
    TColor Color = 0;
    int RefCount = 0;
};
using TcxBrushesData = std::vector<TcxBrushData>;

class TcxBrushCache {
public:
    TcxBrushCache() = default;
    virtual ~TcxBrushCache();
    TcxBrushCache(const TcxBrushCache&) = delete;
    TcxBrushCache& operator=(const TcxBrushCache&) = delete;

    TBrush* Add(TColor color);
    void ReleaseBrush(TBrush*& brush);
    void SetBrushColor(TBrush*& brush, TColor color);
    void BeginUpdate();
    void EndUpdate();
    void Recreate();

    int Capacity() const { return capacity_; }
    int Count() const { return count_; }
    int DeletedCount() const { return deletedCount_; }
    const TcxBrushData& Item(int index) const { return data_[size_t(index)]; }

protected:
    void Release(int index);
    bool IsSystemBrush(TBrush* brush) const;
    bool IndexOf(TColor color, int& index) const;
    int FindNearestItem(TColor color) const;
    TBrush* AddItemAt(int index, TColor color);
    void InitItem(TcxBrushData& data, TColor color);
    void Delete(int index);
    void Move(int source, int dest, int count);
    void Pack();
    void CacheCheck(bool condition, const std::string& message) const;

private:
    int capacity_ = 0;
    int count_ = 0;
    TcxBrushesData data_;
    int deletedCount_ = 0;
    int lockCount_ = 0;
};

// Shared brushes of the unit, alive between start-up and shut-down.
extern TBrush* cxHalfToneBrush;
// The system-brush list entry of a system colour index; null outside the table or when the
// unit is not started.
TBrush* cxSystemBrush(int index);

// Unit start-up and shut-down; each runs once however often it is called in pairs.
void cxGraphicsInitialize();
void cxGraphicsFinalize();
// Whether the system alpha-blending function is bound (never on this platform).
bool cxAlphaBlendBound();

// ---- small drawing procedures ----

// Left and Top grow inwards by extension.Left/Top, Right and Bottom by extension.Right/Bottom.
void ExtendRect(TRect& r, const TRect& extension);
bool IsGlyphAssigned(TBitmap* glyph);
// BitBlt of the bitmap's pixels from sourcePoint into destRect.
void cxDrawBitmap(HDC dc, TBitmap* source, const TRect& destRect, const TPoint& sourcePoint, DWORD rop = SRCCOPY);
// Fills with the halftone checker in the two colours; the DC's colours come back afterwards.
void cxFillHalfToneRect(TCanvas* canvas, const TRect& r, TColor background, TColor foreground);
void cxApplyViewParams(TcxCanvas* canvas, const TcxViewParams& params);
// The window origin moves to r's top-left; r's Left and Top receive the previous origin.
void cxSetCanvasOrg(TCanvas* canvas, TRect& r);
// The two drop-position arrows at the given side of r.
void cxDrawArrows(TCanvas* canvas, const TRect& r, TcxBorder side, TColor color, TColor penColor = clDefault);

// ---- text measurement (UTF-8 text; counts in bytes, -1 for the whole text) ----

enum TcxModifyStringType { mstEndEllipsis, mstPathEllipsis };

int cxDrawText(HDC dc, const std::string& text, TRect& r, unsigned format, int count = -1);
bool cxExtTextOut(HDC dc, const std::string& text, const TPoint& p, const TRect& r, unsigned options,
                  int count = -1);
bool cxExtTextOut(HDC dc, const std::string& text, const TPoint& p, unsigned options, int count = -1);
bool cxGetTextExtentPoint32(HDC dc, const std::string& text, TSize& size, int count = -1);
// Measured on the unit's measuring canvas in the font (its Size set when fontSize is not 0).
TSize cxTextExtent(TFont* font, const std::string& text, int fontSize = 0);
int cxTextWidth(TFont* font, const std::string& text, int fontSize = 0);
int cxTextHeight(TFont* font, const std::string& text, int fontSize = 0);
TSize cxTextSize(HDC dc, const std::string& text);
// The narrowest rectangle that holds the text in rowCount rows (any number when 0).
TRect cxGetTextRect(HDC dc, const std::string& text, int rowCount, bool forceHeight = false);
TRect cxGetTextRect(TFont* font, const std::string& text, int rowCount);
int cxGetScreenPixelsPerInch(bool horizontal);
// The text shortened with an ellipsis to fit width; the font, when given, stays selected.
std::string cxGetStringAdjustedToWidth(HDC dc, const gdi::Font* font, const std::string& text, int width,
                                       TcxModifyStringType type);
std::string cxGetStringAdjustedToWidth(TFont* font, const std::string& text, int width,
                                       TcxModifyStringType type);
// Greedy word wrap into lines no wider than r.
void cxGetTextLines(const std::string& text, TcxCanvas* canvas, const TRect& r, rtl::TStrings* lines);
// Whether text in that character set starting with that text runs right to left first.
bool cxGetWritingDirection(int charset, const std::string& text);
