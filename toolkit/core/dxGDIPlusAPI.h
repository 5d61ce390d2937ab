#pragma once
// The image library binding. On this platform the library is always present and backed by
// QImage: PNG (and the other formats Qt reads) are decoded and PNG is encoded. Its brushes,
// pens and graphics (dxGDIPlusFlat.cpp) draw in software into the device context's surface.
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace cx {

using ARGB = std::uint32_t;

enum Status : int { Ok = 0, GenericError = 1, InvalidParameter = 2, OutOfMemory = 3, NotImplemented = 6 };

enum LinearGradientMode : int {
    LinearGradientModeHorizontal = 0,
    LinearGradientModeVertical = 1,
    LinearGradientModeForwardDiagonal = 2,
    LinearGradientModeBackwardDiagonal = 3,
};
enum WrapMode : int { WrapModeTile = 0, WrapModeTileFlipX = 1, WrapModeTileFlipY = 2, WrapModeTileFlipXY = 3, WrapModeClamp = 4 };
enum PenAlignment : int { PenAlignmentCenter = 0, PenAlignmentInset = 1 };
enum HatchStyle : int {
    HatchStyleHorizontal = 0,
    HatchStyleVertical = 1,
    HatchStyleForwardDiagonal = 2,
    HatchStyleBackwardDiagonal = 3,
    HatchStyleCross = 4,
    HatchStyleDiagonalCross = 5,
};

struct TdxGPRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
};
struct TdxGPRectF {
    float X = 0, Y = 0, Width = 0, Height = 0;
};
struct TdxGPPoint {
    int X = 0, Y = 0;
};
struct TdxGPPointF {
    float X = 0, Y = 0;
};
struct TdxGPSize {
    int Width = 0, Height = 0;
};
struct TdxGPSizeF {
    float Width = 0, Height = 0;
};

// The class id of the PNG encoder: all zero until looked up.
struct TGUIDValue {
    std::uint32_t D1 = 0;
    std::uint16_t D2 = 0, D3 = 0;
    std::uint8_t D4[8] = {};
};
extern TGUIDValue PNGCodec;

bool CheckGdiPlus();
// Raises EAssertionFailed "Invalid operation in GDI+" when the status is not Ok (or false).
void GdipCheck(Status status);
void GdipCheck(bool ok);
Status GetCodecID(const std::string& mimeType, TGUIDValue& clsid);
void CheckPngCodec();

// A PNG image of the bitmap; 32-bit bitmaps keep their fourth byte as premultiplied alpha.
void Bitmap2PNG(TBitmap* bitmap, rtl::TStream* stream);
void Bitmap2PNG(TBitmap* bitmap, const std::string& fileName);
// A new 32-bit bitmap from a Windows bitmap (more than 14 bytes starting "BM") or any image
// the library decodes; undecodable data raises as GdipCheck does. The caller owns the result.
TBitmap* DifferentImage2Bitmap(rtl::TStream* stream);
TBitmap* DifferentImage2Bitmap(const std::string& fileName);

ARGB dxGpColorToARGB(TColor color, Byte alpha = 255);
ARGB dxGpMakeARGBColor(Byte a, Byte r, Byte g, Byte b);
TdxGPPoint MakePoint(int x, int y);
TdxGPSize MakeSize(int width, int height);
TdxGPRect MakeRect(int x, int y, int width, int height);
TdxGPRect MakeRect(const TRect& r);
TdxGPPointF MakePoint(float x, float y);
TdxGPSizeF MakeSize(float width, float height);
TdxGPRectF MakeRect(float x, float y, float width, float height);

// A rectangle filled in the colour at that opacity (clNone: nothing shows), composed over what
// the device context shows, under its clip; the pixels' top byte is left 0, as drawing leaves it.
void dxGpFillRect(HDC dc, const TRect& r, TColor color, Byte alpha = 255);
void dxGpFillRect(HDC dc, const TRect& r, ARGB color);
// A linear gradient from the first to the second colour across the rectangle (left to right,
// top to bottom, or corner to corner for the diagonal modes), each colour at its own opacity.
void dxGpFillRectByGradient(HDC dc, const TRect& r, TColor color1, TColor color2, LinearGradientMode mode,
                            Byte alpha1 = 255, Byte alpha2 = 255);
void dxGpFillRectByGradient(HDC dc, const TRect& r, ARGB color1, ARGB color2, LinearGradientMode mode);

// ---- the library's drawing objects ----
// Brushes, pens and graphics are handed out by handle, as the library's flat functions do;
// each function answers a Status and never raises. A graphics draws on a device context:
// shapes are rasterised without smoothing and their colour composed source-over onto the
// pixels' opaque colour under the device context's clip (the top byte is left 0).
struct GpBrush;
struct GpPen;
struct GpGraphics;
enum BrushType : int {
    BrushTypeSolidColor = 0,
    BrushTypeHatchFill = 1,
    BrushTypeTextureFill = 2,
    BrushTypePathGradient = 3,
    BrushTypeLinearGradient = 4,
};
enum PenType : int {
    PenTypeSolidColor = 0,
    PenTypeHatchFill = 1,
    PenTypeTextureFill = 2,
    PenTypePathGradient = 3,
    PenTypeLinearGradient = 4,
    PenTypeUnknown = -1,
};
enum GpUnit : int { UnitWorld = 0, UnitDisplay = 1, UnitPixel = 2 };
enum GpFillMode : int { FillModeAlternate = 0, FillModeWinding = 1 };

Status GdipCloneBrush(GpBrush* brush, GpBrush** clone);
Status GdipDeleteBrush(GpBrush* brush);
Status GdipGetBrushType(GpBrush* brush, BrushType* type);
Status GdipCreateSolidFill(ARGB color, GpBrush** brush);
Status GdipSetSolidFillColor(GpBrush* brush, ARGB color);
Status GdipGetSolidFillColor(GpBrush* brush, ARGB* color);
Status GdipCreateLineBrushFromRectI(const TdxGPRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                    WrapMode wrapMode, GpBrush** brush);
Status GdipGetLineRectI(GpBrush* brush, TdxGPRect* rect);
Status GdipSetLineColors(GpBrush* brush, ARGB color1, ARGB color2);
Status GdipGetLineColors(GpBrush* brush, ARGB* colors); // two colours
Status GdipSetLineWrapMode(GpBrush* brush, WrapMode wrapMode);
Status GdipGetLineWrapMode(GpBrush* brush, WrapMode* wrapMode);
Status GdipCreateHatchBrush(HatchStyle style, ARGB foreColor, ARGB backColor, GpBrush** brush);
Status GdipGetHatchStyle(GpBrush* brush, HatchStyle* style);
Status GdipGetHatchForegroundColor(GpBrush* brush, ARGB* color);
Status GdipGetHatchBackgroundColor(GpBrush* brush, ARGB* color);
// A brush that tiles the image from the world origin.
Status GdipCreateTexture(const QImage& image, WrapMode wrapMode, GpBrush** brush);

Status GdipCreatePen1(ARGB color, float width, GpUnit unit, GpPen** pen);
Status GdipCreatePen2(GpBrush* brush, float width, GpUnit unit, GpPen** pen);
Status GdipClonePen(GpPen* pen, GpPen** clone);
Status GdipDeletePen(GpPen* pen);
Status GdipGetPenFillType(GpPen* pen, PenType* type);
Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush); // the pen keeps a copy
Status GdipGetPenBrushFill(GpPen* pen, GpBrush** brush); // a copy the caller deletes
Status GdipSetPenColor(GpPen* pen, ARGB color);
Status GdipGetPenColor(GpPen* pen, ARGB* color);
Status GdipSetPenMode(GpPen* pen, PenAlignment alignment);
Status GdipGetPenMode(GpPen* pen, PenAlignment* alignment);
Status GdipSetPenWidth(GpPen* pen, float width);
Status GdipGetPenWidth(GpPen* pen, float* width);

Status GdipCreateFromHDC(HDC dc, GpGraphics** graphics);
Status GdipDeleteGraphics(GpGraphics* graphics);
Status GdipGetDC(GpGraphics* graphics, HDC* dc);
Status GdipReleaseDC(GpGraphics* graphics, HDC dc);
// Every pixel under the clip becomes the colour (premultiplied over black: the device context
// keeps no alpha).
Status GdipGraphicsClear(GpGraphics* graphics, ARGB color);
Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, int x1, int y1, int x2, int y2);
Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height);
// Angles in degrees, clockwise from the x axis.
Status GdipDrawArcI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height, float startAngle,
                    float sweepAngle);
Status GdipDrawBezierI(GpGraphics* graphics, GpPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                       int y4);
Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height);
Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height);
Status GdipDrawPieI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height, float startAngle,
                    float sweepAngle);
Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const TdxGPPoint* points, int count);
Status GdipDrawCurve2I(GpGraphics* graphics, GpPen* pen, const TdxGPPoint* points, int count, float tension);
Status GdipDrawClosedCurve2I(GpGraphics* graphics, GpPen* pen, const TdxGPPoint* points, int count, float tension);
Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const TdxGPPoint* points, int count,
                        GpFillMode fillMode);
Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height);
Status GdipFillPieI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height, float startAngle,
                    float sweepAngle);
Status GdipFillClosedCurveI(GpGraphics* graphics, GpBrush* brush, const TdxGPPoint* points, int count);

// The fills on a graphics: a solid brush, or a linear gradient (wrap mode tile) over the
// rectangle; each call checked with GdipCheck.
void dxGpFillRect(GpGraphics* graphics, const TRect& r, ARGB color);
void dxGpFillRectByGradient(GpGraphics* graphics, const TRect& r, ARGB color1, ARGB color2, LinearGradientMode mode);

// Start-up and shut-down of the image-library units. In a program the start procedures run as
// they are added; a loader that defers them (a library loaded by a host) runs them at Initialize.
using TdxUnitProc = void (*)();
class TdxUnitsLoader : public rtl::TObject {
    RTL_CLASS(TdxUnitsLoader, rtl::TObject)
    explicit TdxUnitsLoader(bool deferStart = false) : deferStart_(deferStart) {}
    ~TdxUnitsLoader() override { Finalize(); }
    void AddUnit(TdxUnitProc start, TdxUnitProc end);
    // Removes the end procedure and, when it was listed, runs it.
    void RemoveUnit(TdxUnitProc end);
    void Initialize();   // the deferred start procedures, in the order added
    void Finalize();     // once started: the end procedures, last added first
    bool Started() const { return started_; }

private:
    bool deferStart_;
    bool started_ = false;
    std::vector<TdxUnitProc> starts_, ends_;
};
TdxUnitsLoader* dxUnitsLoader();
void dxInitializeGDIPlus();
void dxFinalizeGDIPlus();

// The QImage bridge behind the binding (used by the wrapper classes too).
namespace gp {
// Pixels as stored in a 32-bit bitmap: premultiplied alpha when hasAlpha, else opaque.
QImage ImageFromBitmap(TBitmap* bitmap, bool hasAlpha);
// A 32-bit bitmap holding premultiplied pixels over a black background.
void ImageToBitmap(const QImage& image, TBitmap* bitmap);
// The remaining bytes of the stream decoded; a null image when they are not an image.
QImage DecodeStream(rtl::TStream* stream);
void SaveAsPng(const QImage& image, rtl::TStream* stream);
} // namespace gp

} // namespace cx
