#include "toolkit/core/dxGDIPlusAPI.h"

#include "toolkit/core/cxGraphicsPixels.h"
#include "platform/vcl/BitmapStreams.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include "platform/gdi/Dc.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cx {

TGUIDValue PNGCodec;

namespace {
// The encoder's class id as the library publishes it.
constexpr TGUIDValue kPngEncoder{0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
} // namespace

namespace gp {

QImage ImageFromBitmap(TBitmap* bitmap, bool hasAlpha)
{
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto* dst = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        const std::uint32_t* src = bitmap->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            std::uint32_t p = hasAlpha ? src[x] : (src[x] | 0xFF000000u);
            // Premultiplied colour bytes cannot exceed their alpha.
            const std::uint32_t a = p >> 24;
            auto ch = [&](int shift) { return std::min((p >> shift) & 0xFF, a) << shift; };
            dst[x] = (a << 24) | ch(16) | ch(8) | ch(0);
        }
    }
    return image;
}

void ImageToBitmap(const QImage& image, TBitmap* bitmap)
{
    const QImage pre = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(pre.width(), pre.height());
    for (int y = 0; y < pre.height(); ++y)
        std::memcpy(bitmap->ScanLine(y), pre.constScanLine(y), size_t(pre.width()) * 4);
}

QImage DecodeStream(rtl::TStream* stream)
{
    const std::int64_t size = stream->Size() - stream->Position();
    QByteArray bytes(qsizetype(std::max<std::int64_t>(size, 0)), Qt::Uninitialized);
    if (size > 0)
        stream->ReadBuffer(bytes.data(), size);
    QImage image;
    image.loadFromData(bytes);
    return image;
}

void SaveAsPng(const QImage& image, rtl::TStream* stream)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    GdipCheck(image.save(&buffer, "PNG"));
    stream->WriteBuffer(bytes.constData(), bytes.size());
}

} // namespace gp

bool CheckGdiPlus() { return true; }

void GdipCheck(Status status) { GdipCheck(status == Ok); }

void GdipCheck(bool ok)
{
    if (!ok)
        throw rtl::EAssertionFailed("Invalid operation in GDI+ (dxGDIPlusAPI, line 1075)");
}

Status GetCodecID(const std::string& mimeType, TGUIDValue& clsid)
{
    if (!CheckGdiPlus() || !rtl::SameText(mimeType, "image/png"))
        return GenericError;
    clsid = kPngEncoder;
    return Ok;
}

void CheckPngCodec()
{
    if (PNGCodec.D1 == 0 && PNGCodec.D2 == 0 && PNGCodec.D3 == 0)
        GetCodecID("image/png", PNGCodec);
}

void Bitmap2PNG(TBitmap* bitmap, rtl::TStream* stream)
{
    CheckPngCodec();
    GdipCheck(bitmap && !bitmap->GetEmpty());
    const QImage image = gp::ImageFromBitmap(bitmap, bitmap->GetPixelFormat() == pf32bit);
    gp::SaveAsPng(image, stream);
}

void Bitmap2PNG(TBitmap* bitmap, const std::string& fileName)
{
    rtl::TFileStream file(fileName, rtl::fmCreate);
    Bitmap2PNG(bitmap, &file);
}

TBitmap* DifferentImage2Bitmap(rtl::TStream* stream)
{
    auto* bitmap = new TBitmap;
    try {
        if (stream->Size() > 14) {
            Byte header[14];
            stream->ReadBuffer(header, 14);
            if (header[0] == 'B' && header[1] == 'M') {
                stream->SetPosition(0);
                LoadBitmapFromStream(bitmap, stream);
                bitmap->SetPixelFormat(pf32bit);
                return bitmap;
            }
        }
        if (CheckGdiPlus()) {
            stream->SetPosition(0);
            const QImage image = gp::DecodeStream(stream);
            GdipCheck(!image.isNull());
            gp::ImageToBitmap(image, bitmap);
        }
    } catch (...) {
        delete bitmap;
        throw;
    }
    return bitmap;
}

TBitmap* DifferentImage2Bitmap(const std::string& fileName)
{
    rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyNone);
    return DifferentImage2Bitmap(&file);
}

ARGB dxGpColorToARGB(TColor color, Byte alpha)
{
    return color == clNone ? 0 : dxColorToRGBQuad(color, alpha);
}

ARGB dxGpMakeARGBColor(Byte a, Byte r, Byte g, Byte b)
{
    return ARGB(a) << 24 | ARGB(r) << 16 | ARGB(g) << 8 | ARGB(b);
}

TdxGPPoint MakePoint(int x, int y) { return {x, y}; }
TdxGPSize MakeSize(int width, int height) { return {width, height}; }
TdxGPRect MakeRect(int x, int y, int width, int height) { return {x, y, width, height}; }
TdxGPRect MakeRect(const TRect& r) { return {r.Left, r.Top, r.Width(), r.Height()}; }
TdxGPPointF MakePoint(float x, float y) { return {x, y}; }
TdxGPSizeF MakeSize(float width, float height) { return {width, height}; }
TdxGPRectF MakeRect(float x, float y, float width, float height) { return {x, y, width, height}; }

namespace {

// A graphics on the device context for one call; deleted (checked) afterwards.
template <class Fill>
void WithGraphics(HDC dc, Fill fill)
{
    GpGraphics* graphics = nullptr;
    GdipCheck(GdipCreateFromHDC(dc, &graphics));
    try {
        fill(graphics);
    } catch (...) {
        GdipDeleteGraphics(graphics);
        throw;
    }
    GdipCheck(GdipDeleteGraphics(graphics));
}

} // namespace

void dxGpFillRect(HDC dc, const TRect& r, ARGB color)
{
    WithGraphics(dc, [&](GpGraphics* graphics) { dxGpFillRect(graphics, r, color); });
}

void dxGpFillRect(HDC dc, const TRect& r, TColor color, Byte alpha)
{
    dxGpFillRect(dc, r, dxGpColorToARGB(color, alpha));
}

void dxGpFillRectByGradient(HDC dc, const TRect& r, ARGB color1, ARGB color2, LinearGradientMode mode)
{
    WithGraphics(dc, [&](GpGraphics* graphics) { dxGpFillRectByGradient(graphics, r, color1, color2, mode); });
}

void dxGpFillRectByGradient(HDC dc, const TRect& r, TColor color1, TColor color2, LinearGradientMode mode,
                            Byte alpha1, Byte alpha2)
{
    dxGpFillRectByGradient(dc, r, dxGpColorToARGB(color1, alpha1), dxGpColorToARGB(color2, alpha2), mode);
}

// ---- units loader ----

void TdxUnitsLoader::AddUnit(TdxUnitProc start, TdxUnitProc end)
{
    if (start) {
        if (deferStart_) {
            starts_.push_back(start);
        } else {
            started_ = true;
            start();
        }
    }
    if (end)
        ends_.push_back(end);
}

void TdxUnitsLoader::RemoveUnit(TdxUnitProc end)
{
    auto it = std::find(ends_.begin(), ends_.end(), end);
    if (it == ends_.end())
        return;
    ends_.erase(it);
    end();
}

void TdxUnitsLoader::Initialize()
{
    const auto starts = std::move(starts_);
    starts_.clear();
    for (TdxUnitProc start : starts)
        start();
    started_ = true;
}

void TdxUnitsLoader::Finalize()
{
    if (started_)
        for (auto it = ends_.rbegin(); it != ends_.rend(); ++it)
            (*it)();
    started_ = false;
    ends_.clear();
}

TdxUnitsLoader* dxUnitsLoader()
{
    // Never destroyed: a program that exits with the units still started must not run their end
    // procedures from a static destructor, after the class records they touch are gone.
    static TdxUnitsLoader* const loader = new TdxUnitsLoader();
    return loader;
}

void dxInitializeGDIPlus() { dxUnitsLoader()->Initialize(); }
void dxFinalizeGDIPlus() { dxUnitsLoader()->Finalize(); }

} // namespace cx
