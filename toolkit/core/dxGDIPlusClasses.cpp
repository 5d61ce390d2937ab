#include "toolkit/core/dxGDIPlusClasses.h"

#include "platform/vcl/BitmapStreams.h"

#include <cstring>

namespace cx {

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
        return new TdxGPImage(Width(), Height(), pixels_, true);
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
    return new TdxGPImage(Width(), Height(), mixed, true);
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
    SetImage(std::make_unique<TdxGPImage>(stream));
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
    TRect used;
    if (image_ && DrawSourceRect(dest, source, used))
        image_->DrawRect(dc, dest, used);
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
    SetImage(std::make_unique<TdxGPImage>(bitmap));
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

} // namespace cx
