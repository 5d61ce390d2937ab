#pragma once
// The image library binding. On this platform the library is always present and backed by
// QImage: PNG (and the other formats Qt reads) are decoded and PNG is encoded; the drawing
// entry points of the library are not provided.
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"

#include <QImage>

#include <cstdint>
#include <string>

namespace cx {

using ARGB = std::uint32_t;

enum Status : int { Ok = 0, GenericError = 1, InvalidParameter = 2, OutOfMemory = 3, NotImplemented = 6 };

struct TdxGPRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
};
struct TdxGPPoint {
    int X = 0, Y = 0;
};
struct TdxGPSize {
    int Width = 0, Height = 0;
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
