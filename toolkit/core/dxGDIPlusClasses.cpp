#include "toolkit/core/dxGDIPlusClasses.h"

#include "platform/vcl/BitmapStreams.h"
#include "platform/vcl/Picture.h"

#include <cstring>
#include <optional>

namespace cx {

// ---- wrappers ----

Status TdxGPBase::SetStatus(Status status)
{
    if (status != Ok)
        lastResult_ = status;
    return status;
}

Status TdxGPBase::GetLastStatus()
{
    const Status status = lastResult_;
    lastResult_ = Ok;
    return status;
}

// ---- brushes ----

TdxGPBrush::TdxGPBrush() : TdxGPBase(NotImplemented) {}

TdxGPBrush::TdxGPBrush(GpBrush* nativeBrush, Status status) : TdxGPBase(status), nativeBrush_(nativeBrush) {}

TdxGPBrush::~TdxGPBrush()
{
    if (nativeBrush_)
        GdipDeleteBrush(nativeBrush_);
}

void TdxGPBrush::SetNativeBrush(GpBrush* nativeBrush)
{
    if (nativeBrush_ && nativeBrush_ != nativeBrush)
        GdipDeleteBrush(nativeBrush_);
    nativeBrush_ = nativeBrush;
}

TdxGPBrush* TdxGPBrush::Clone()
{
    GpBrush* clone = nullptr;
    SetStatus(GdipCloneBrush(nativeBrush_, &clone));
    try {
        return new TdxGPBrush(clone, lastResult_);
    } catch (...) {
        if (clone)
            GdipDeleteBrush(clone);
        throw;
    }
}

BrushType TdxGPBrush::GetType()
{
    BrushType type = BrushType(-1);
    SetStatus(GdipGetBrushType(nativeBrush_, &type));
    return type;
}

TdxGPSolidBrush::TdxGPSolidBrush(ARGB color)
{
    lastResult_ = GdipCreateSolidFill(color, &nativeBrush_);
}

ARGB TdxGPSolidBrush::GetColor()
{
    ARGB color = 0;
    SetStatus(GdipGetSolidFillColor(nativeBrush_, &color));
    return color;
}

Status TdxGPSolidBrush::SetColor(ARGB color) { return SetStatus(GdipSetSolidFillColor(nativeBrush_, color)); }

TdxGPLinearGradientBrush::TdxGPLinearGradientBrush(const TdxGPRect& rect, ARGB color1, ARGB color2,
                                                   LinearGradientMode mode)
{
    lastResult_ = GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, WrapModeTile, &nativeBrush_);
}

Status TdxGPLinearGradientBrush::GetLinearColors(ARGB& color1, ARGB& color2)
{
    ARGB colors[2] = {};
    const Status status = SetStatus(GdipGetLineColors(nativeBrush_, colors));
    if (status == Ok) {
        color1 = colors[0];
        color2 = colors[1];
    }
    return status;
}

Status TdxGPLinearGradientBrush::SetLinearColors(ARGB color1, ARGB color2)
{
    return SetStatus(GdipSetLineColors(nativeBrush_, color1, color2));
}

TdxGPRect TdxGPLinearGradientBrush::GetRectangle()
{
    TdxGPRect rect;
    SetStatus(GdipGetLineRectI(nativeBrush_, &rect));
    return rect;
}

WrapMode TdxGPLinearGradientBrush::GetWrapMode()
{
    WrapMode mode = WrapModeTile;
    SetStatus(GdipGetLineWrapMode(nativeBrush_, &mode));
    return mode;
}

Status TdxGPLinearGradientBrush::SetWrapMode(WrapMode wrapMode)
{
    return SetStatus(GdipSetLineWrapMode(nativeBrush_, wrapMode));
}

TdxGPHatchBrush::TdxGPHatchBrush(HatchStyle style, ARGB foreColor, ARGB backColor)
{
    lastResult_ = GdipCreateHatchBrush(style, foreColor, backColor, &nativeBrush_);
}

HatchStyle TdxGPHatchBrush::GetHatchStyle()
{
    HatchStyle style = HatchStyleHorizontal;
    SetStatus(GdipGetHatchStyle(nativeBrush_, &style));
    return style;
}

ARGB TdxGPHatchBrush::GetForegroundColor()
{
    ARGB color = 0;
    SetStatus(GdipGetHatchForegroundColor(nativeBrush_, &color));
    return color;
}

ARGB TdxGPHatchBrush::GetBackgroundColor()
{
    ARGB color = 0;
    SetStatus(GdipGetHatchBackgroundColor(nativeBrush_, &color));
    return color;
}

// ---- pen ----

TdxGPPen::TdxGPPen(TdxGPBrush* brush, float width)
{
    lastResult_ = GdipCreatePen2(brush ? brush->GetNativeBrush() : nullptr, width, UnitWorld, &nativePen_);
}

TdxGPPen::TdxGPPen(ARGB color, float width)
{
    lastResult_ = GdipCreatePen1(color, width, UnitWorld, &nativePen_);
}

TdxGPPen::~TdxGPPen()
{
    if (nativePen_)
        GdipDeletePen(nativePen_);
}

void TdxGPPen::SetNativePen(GpPen* nativePen)
{
    if (nativePen_ && nativePen_ != nativePen)
        GdipDeletePen(nativePen_);
    nativePen_ = nativePen;
}

PenAlignment TdxGPPen::GetAlignment()
{
    PenAlignment alignment = PenAlignmentCenter;
    SetStatus(GdipGetPenMode(nativePen_, &alignment));
    return alignment;
}

Status TdxGPPen::SetAlignment(PenAlignment alignment) { return SetStatus(GdipSetPenMode(nativePen_, alignment)); }

float TdxGPPen::GetWidth()
{
    float width = 0;
    SetStatus(GdipGetPenWidth(nativePen_, &width));
    return width;
}

Status TdxGPPen::SetWidth(float width) { return SetStatus(GdipSetPenWidth(nativePen_, width)); }

ARGB TdxGPPen::GetColor()
{
    if (GetPenType() != PenTypeSolidColor)
        return 0;
    ARGB color = 0;
    if (SetStatus(GdipGetPenColor(nativePen_, &color)) != Ok)
        return 0;
    return color;
}

Status TdxGPPen::SetColor(ARGB color) { return SetStatus(GdipSetPenColor(nativePen_, color)); }

Status TdxGPPen::SetBrush(TdxGPBrush* brush)
{
    return SetStatus(GdipSetPenBrushFill(nativePen_, brush ? brush->GetNativeBrush() : nullptr));
}

PenType TdxGPPen::GetPenType()
{
    PenType type = PenTypeUnknown;
    SetStatus(GdipGetPenFillType(nativePen_, &type));
    return type;
}

TdxGPBrush* TdxGPPen::GetBrush()
{
    std::unique_ptr<TdxGPBrush> brush;
    switch (GetPenType()) {
    case PenTypeSolidColor: brush = std::make_unique<TdxGPSolidBrush>(); break;
    case PenTypeHatchFill: brush = std::make_unique<TdxGPHatchBrush>(); break;
    case PenTypeTextureFill: brush = std::make_unique<TdxGPTextureBrush>(); break;
    case PenTypePathGradient: brush = std::make_unique<TdxGPBrush>(); break;
    case PenTypeLinearGradient: brush = std::make_unique<TdxGPLinearGradientBrush>(); break;
    default: return nullptr;
    }
    GpBrush* fill = nullptr;
    SetStatus(GdipGetPenBrushFill(nativePen_, &fill));
    brush->SetNativeBrush(fill);
    return brush.release();
}

// ---- graphics ----

TdxGPGraphics::TdxGPGraphics(HDC dc) { lastResult_ = GdipCreateFromHDC(dc, &nativeGraphics_); }

TdxGPGraphics::~TdxGPGraphics()
{
    if (nativeGraphics_)
        GdipDeleteGraphics(nativeGraphics_);
}

namespace {
GpBrush* NativeBrush(TdxGPBrush* brush) { return brush ? brush->GetNativeBrush() : nullptr; }
} // namespace

Status TdxGPGraphics::Clear(ARGB color) { return SetStatus(GdipGraphicsClear(nativeGraphics_, color)); }

Status TdxGPGraphics::DrawLine(TdxGPPen* pen, int x1, int y1, int x2, int y2)
{
    return SetStatus(GdipDrawLineI(nativeGraphics_, GetNativePen(pen), x1, y1, x2, y2));
}

Status TdxGPGraphics::DrawLine(TdxGPPen* pen, const TdxGPPoint& p1, const TdxGPPoint& p2)
{
    return DrawLine(pen, p1.X, p1.Y, p2.X, p2.Y);
}

Status TdxGPGraphics::DrawArc(TdxGPPen* pen, const TdxGPRect& r, float startAngle, float sweepAngle)
{
    return SetStatus(
        GdipDrawArcI(nativeGraphics_, GetNativePen(pen), r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle));
}

Status TdxGPGraphics::DrawPie(TdxGPPen* pen, const TdxGPRect& r, float startAngle, float sweepAngle)
{
    return SetStatus(
        GdipDrawPieI(nativeGraphics_, GetNativePen(pen), r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle));
}

Status TdxGPGraphics::FillPie(TdxGPBrush* brush, const TdxGPRect& r, float startAngle, float sweepAngle)
{
    return SetStatus(
        GdipFillPieI(nativeGraphics_, NativeBrush(brush), r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle));
}

Status TdxGPGraphics::DrawBezier(TdxGPPen* pen, const TdxGPPoint& p1, const TdxGPPoint& p2, const TdxGPPoint& p3,
                                 const TdxGPPoint& p4)
{
    return DrawBezier(pen, p1.X, p1.Y, p2.X, p2.Y, p3.X, p3.Y, p4.X, p4.Y);
}

Status TdxGPGraphics::DrawBezier(TdxGPPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return SetStatus(GdipDrawBezierI(nativeGraphics_, GetNativePen(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}

Status TdxGPGraphics::DrawRectangle(TdxGPPen* pen, const TdxGPRect& r)
{
    return SetStatus(GdipDrawRectangleI(nativeGraphics_, GetNativePen(pen), r.X, r.Y, r.Width, r.Height));
}

Status TdxGPGraphics::DrawEllipse(TdxGPPen* pen, const TdxGPRect& r)
{
    return SetStatus(GdipDrawEllipseI(nativeGraphics_, GetNativePen(pen), r.X, r.Y, r.Width, r.Height));
}

Status TdxGPGraphics::FillEllipse(TdxGPBrush* brush, const TdxGPRect& r)
{
    return SetStatus(GdipFillEllipseI(nativeGraphics_, NativeBrush(brush), r.X, r.Y, r.Width, r.Height));
}

Status TdxGPGraphics::FillRectangle(TdxGPBrush* brush, const TdxGPRect& r)
{
    return SetStatus(GdipFillRectangleI(nativeGraphics_, NativeBrush(brush), r.X, r.Y, r.Width, r.Height));
}

Status TdxGPGraphics::DrawPolygon(TdxGPPen* pen, const TdxGPPoint* points, int count)
{
    return SetStatus(GdipDrawPolygonI(nativeGraphics_, GetNativePen(pen), points, count));
}

Status TdxGPGraphics::DrawCurve(TdxGPPen* pen, const TdxGPPoint* points, int count, float tension)
{
    return SetStatus(GdipDrawCurve2I(nativeGraphics_, GetNativePen(pen), points, count, tension));
}

Status TdxGPGraphics::DrawClosedCurve(TdxGPPen* pen, const TdxGPPoint* points, int count, float tension)
{
    return SetStatus(GdipDrawClosedCurve2I(nativeGraphics_, GetNativePen(pen), points, count, tension));
}

Status TdxGPGraphics::FillPolygon(TdxGPBrush* brush, const TdxGPPoint* points, int count)
{
    return SetStatus(GdipFillPolygonI(nativeGraphics_, NativeBrush(brush), points, count, FillModeAlternate));
}

Status TdxGPGraphics::FillClosedCurve(TdxGPBrush* brush, const TdxGPPoint* points, int count)
{
    return SetStatus(GdipFillClosedCurveI(nativeGraphics_, NativeBrush(brush), points, count));
}

HDC TdxGPGraphics::GetHDC()
{
    HDC dc = nullptr;
    SetStatus(GdipGetDC(nativeGraphics_, &dc));
    return dc;
}

void TdxGPGraphics::ReleaseHDC(HDC dc) { SetStatus(GdipReleaseDC(nativeGraphics_, dc)); }

// ---- the image class ----

namespace {
std::optional<TdxGPImageClass> imageClass;
} // namespace

TdxGPImageClass dxGPImageClass()
{
    return imageClass ? *imageClass : TdxGPImageClass::Of<TdxGPNullImage>();
}

// ---- TdxGPImage ----

TdxGPImage::TdxGPImage(TBitmap* bitmap)
{
    CheckPngCodec();
    TRGBColors pixels;
    GetBitmapBits(bitmap, true, pixels);
    FromPixels(bitmap->GetWidth(), bitmap->GetHeight(), pixels, bitmap->GetPixelFormat() == pf32bit);
}

TdxGPImage::TdxGPImage(int width, int height, const TRGBColors& pixels, bool hasAlpha)
{
    FromPixels(width, height, pixels, hasAlpha);
}

TdxGPImage::TdxGPImage(rtl::TStream* stream)
{
    if (!CheckGdiPlus() || stream->Size() - stream->Position() < 14)
        return;
    Byte header[14];
    stream->ReadBuffer(header, 14);
    stream->Seek(-14, rtl::soCurrent);
    if (header[0] == 'B' && header[1] == 'M') {
        TBitmap bitmap;
        LoadBitmapFromStream(&bitmap, stream);
        TRGBColors pixels;
        GetBitmapBits(&bitmap, true, pixels);
        FromPixels(bitmap.GetWidth(), bitmap.GetHeight(), pixels, bitmap.GetPixelFormat() == pf32bit);
    } else {
        LoadFromDataStream(stream);
    }
}

void TdxGPImage::FromPixels(int width, int height, const TRGBColors& pixels, bool hasAlpha)
{
    pixels_ = pixels;
    pixels_.resize(size_t(std::max(width, 0)) * size_t(std::max(height, 0)));
    if (!hasAlpha)
        for (RGBQUAD& p : pixels_)
            p.rgbReserved = 255;
    TBitmap temp;
    temp.SetPixelFormat(pf32bit);
    temp.SetSize(width, height);
    TRGBColors copy = pixels_;
    SetBitmapBits(&temp, copy, true);
    GdipCheck(width > 0 && height > 0);
    image_ = gp::ImageFromBitmap(&temp, true);
}

void TdxGPImage::LoadFromDataStream(rtl::TStream* stream)
{
    image_ = gp::DecodeStream(stream);
    GdipCheck(!image_.isNull());
    image_ = image_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TdxGPImage* TdxGPImage::Clone() const
{
    if (!pixels_.empty())
        return dxGPImageClass().CreateFromPixels(Width(), Height(), pixels_, true);
    auto* clone = new TdxGPImage();
    clone->image_ = image_;
    return clone;
}

void TdxGPImage::SaveToStream(rtl::TStream* stream) const
{
    GdipCheck(HasHandle());
    gp::SaveAsPng(image_, stream);
}

TdxGPImage* TdxGPImage::MakeComposition(TdxGPImage* other, Byte alpha) const
{
    if (pixels_.empty() || !other || other->pixels_.size() < pixels_.size())
        return nullptr;
    const double k = alpha / 255.0;
    TRGBColors mixed(pixels_.size());
    for (size_t i = 0; i < pixels_.size(); ++i) {
        Byte own[4], theirs[4], out[4];
        std::memcpy(own, &pixels_[i], 4);
        std::memcpy(theirs, &other->pixels_[i], 4);
        for (int c = 0; c < 4; ++c)
            out[c] = Byte(std::clamp(int(std::nearbyint((1 - k) * own[c] + k * theirs[c])), 0, 255));
        std::memcpy(&mixed[i], out, 4);
    }
    return dxGPImageClass().CreateFromPixels(Width(), Height(), mixed, true);
}

void TdxGPImage::Draw(HDC dc, const TRect& r) const { DrawRect(dc, r, {0, 0, Width(), Height()}); }

void TdxGPImage::DrawRect(HDC dc, const TRect& dest, const TRect& source) const
{
    if (!dc || !HasHandle() || dest.Width() <= 0 || dest.Height() <= 0 || source.Width() <= 0 ||
        source.Height() <= 0)
        return;
    const QImage part = image_.copy(source.Left, source.Top, source.Width(), source.Height())
                            .scaled(dest.Width(), dest.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    TBitmap temp;
    gp::ImageToBitmap(part, &temp);
    cxAlphaBlend(dc, &temp, dest, {0, 0, part.width(), part.height()});
}

// ---- TdxPNGImage ----

TdxPNGImage::~TdxPNGImage() = default;

void TdxPNGImage::SetImage(std::unique_ptr<TdxGPImage> image)
{
    image_ = std::move(image);
    Changed();
}

void TdxPNGImage::Changed() { alphaUsedKnown_ = false; }

void TdxPNGImage::Assign(TPersistent* source)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        SetBitmap(bitmap);
    } else if (auto* png = dynamic_cast<TdxPNGImage*>(source)) {
        // A picture without image gives a picture without image (no assignment cycle).
        SetImage(png->image_ ? std::unique_ptr<TdxGPImage>(png->image_->Clone()) : nullptr);
    } else {
        TGraphic::Assign(source);
    }
}

void TdxPNGImage::AssignTo(TPersistent* dest)
{
    if (auto* png = dynamic_cast<TdxPNGImage*>(dest)) {
        png->Assign(this);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        std::unique_ptr<TBitmap> temp(GetAsBitmap());
        if (temp)
            bitmap->Assign(temp.get());
        else
            bitmap->SetSize(0, 0);
    } else {
        TGraphic::AssignTo(dest);
    }
}

void TdxPNGImage::LoadFromStream(rtl::TStream* stream)
{
    if (stream->Size() == 0) {
        SetImage(nullptr);
        return;
    }
    SetImage(std::unique_ptr<TdxGPImage>(dxGPImageClass().CreateFromStream(stream)));
}

void TdxPNGImage::SaveToStream(rtl::TStream* stream)
{
    if (!image_)
        return;
    rtl::TMemoryStream memory;
    image_->SaveToStream(&memory);
    stream->WriteBuffer(memory.Memory(), memory.Size());
}

void TdxPNGImage::Draw(TCanvas* canvas, const TRect& r)
{
    StretchDraw(canvas->GetHandle(), r, {0, 0, GetWidth(), GetHeight()});
}

void TdxPNGImage::StretchDraw(HDC dc, const TRect& dest) { StretchDraw(dc, dest, {0, 0, GetWidth(), GetHeight()}); }

void TdxPNGImage::StretchDraw(HDC dc, const TRect& dest, const TRect& source)
{
    if (!image_)
        return;
    TdxGPGraphics graphics(dc);
    GdipCheck(graphics.GetLastStatus());
    StretchDrawEx(&graphics, dest, source);
}

void TdxPNGImage::StretchDrawEx(TdxGPGraphics* graphics, const TRect& dest, const TRect& source)
{
    TRect used;
    if (image_ && graphics && DrawSourceRect(dest, source, used))
        image_->DrawRect(graphics->GetHDC(), dest, used);
}

bool TdxPNGImage::LoadFromClipboardFormat(unsigned format, const TClipboard* clipboard)
{
    TBitmap bitmap;
    if (format != CF_BITMAP || !clipboard || !clipboard->GetBitmap(&bitmap))
        return false;
    bitmap.SetPixelFormat(pf32bit);
    // A clipboard bitmap carries no alpha (its fourth bytes are 0): taken as alpha it would
    // paste an invisible picture, so such a bitmap is opaque.
    bool alpha = false;
    for (int y = 0; y < bitmap.GetHeight() && !alpha; ++y)
        for (int x = 0; x < bitmap.GetWidth() && !alpha; ++x)
            alpha = (bitmap.ScanLine(y)[x] >> 24) != 0;
    if (!alpha)
        for (int y = 0; y < bitmap.GetHeight(); ++y)
            for (int x = 0; x < bitmap.GetWidth(); ++x)
                bitmap.ScanLine(y)[x] |= 0xFF000000u;
    SetBitmap(&bitmap);
    return true;
}

void TdxPNGImage::SaveToClipboardFormat(unsigned& format, TBitmap* data)
{
    data->SetPixelFormat(pf32bit);
    data->SetSize(GetWidth(), GetHeight());
    data->Canvas()->Brush()->SetColor(TColor(0xFFFFFF));
    data->Canvas()->FillRect({0, 0, GetWidth(), GetHeight()});
    Draw(data->Canvas(), {0, 0, GetWidth(), GetHeight()});
    format = CF_BITMAP;
}

bool TdxPNGImage::DrawSourceRect(const TRect& dest, const TRect& source, TRect& used)
{
    if (dest.Width() < 1 || dest.Height() < 1 || source.Width() < 1 || source.Height() < 1)
        return false;
    used = source;
    if (dest.Width() > source.Width() && source.Width() > 1)
        --used.Right;
    if (dest.Height() > source.Height() && source.Height() > 1)
        --used.Bottom;
    return true;
}

TBitmap* TdxPNGImage::GetAsBitmap() const
{
    if (!image_)
        return nullptr;
    auto* bitmap = new TBitmap;
    gp::ImageToBitmap(image_->Image(), bitmap);
    return bitmap;
}

void TdxPNGImage::SetBitmap(TBitmap* bitmap)
{
    CheckGdiPlus();
    SetImage(std::unique_ptr<TdxGPImage>(dxGPImageClass().CreateFromBitmap(bitmap)));
}

bool TdxPNGImage::Compare(TdxPNGImage* other)
{
    if (!other || GetWidth() != other->GetWidth() || GetHeight() != other->GetHeight())
        return false;
    if (GetEmpty() || other->GetEmpty())
        return true;
    std::unique_ptr<TBitmap> a(GetAsBitmap()), b(other->GetAsBitmap());
    TRGBColors ca, cb;
    GetBitmapBits(a.get(), true, ca);
    GetBitmapBits(b.get(), true, cb);
    return ca == cb;
}

bool TdxPNGImage::GetIsAlphaUsed()
{
    if (!alphaUsedKnown_) {
        alphaUsed_ = false;
        if (std::unique_ptr<TBitmap> b{GetAsBitmap()}) {
            TRGBColors colors;
            GetBitmapBits(b.get(), true, colors);
            for (const RGBQUAD& p : colors)
                alphaUsed_ = alphaUsed_ || p.rgbReserved != 255;
        }
        alphaUsedKnown_ = true;
    }
    return alphaUsed_;
}

// ---- unit ----

namespace {

int unitCount = 0;

void StartUnit()
{
    imageClass = TdxGPImageClass::Of<TdxGPNullImage>();
    if (!CheckGdiPlus())
        return;
    CheckPngCodec();
    imageClass = TdxGPImageClass::Of<TdxGPImage>();
    rtl::RegisterClassMeta(TdxPNGImage::StaticClass());
    TPicture::RegisterFileFormat("PNG", "PNG graphics from Corvalent", TGraphicClass::Of<TdxPNGImage>());
}

void EndUnit()
{
    TPicture::UnregisterGraphicClass(TGraphicClass::Of<TdxPNGImage>());
    rtl::UnRegisterClassMeta(TdxPNGImage::StaticClass());
    imageClass.reset();
}

} // namespace

namespace dxGDIPlusClassesUnit {

void Initialize()
{
    if (unitCount++ == 0)
        dxUnitsLoader()->AddUnit(StartUnit, EndUnit);
}

void Finalize()
{
    if (unitCount > 0 && --unitCount == 0)
        dxUnitsLoader()->RemoveUnit(EndUnit);
}

} // namespace dxGDIPlusClassesUnit

} // namespace cx
