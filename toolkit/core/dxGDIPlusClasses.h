#pragma once
// The image wrapper of the image library and the PNG picture class. The library's brushes,
// pens and graphics objects are not wrapped here: on this platform the library only reads and
// writes images (see dxGDIPlusAPI.h).
#include "toolkit/core/cxGraphicsPixels.h"
#include "toolkit/core/dxGDIPlusAPI.h"

#include <memory>

namespace cx {

class TdxGPImage : public TObject {
    RTL_CLASS(TdxGPImage, TObject)
    // From a bitmap's pixels; 32-bit bitmaps keep their alpha.
    explicit TdxGPImage(TBitmap* bitmap);
    // From premultiplied pixels, rows top-down; without alpha every pixel is made opaque.
    TdxGPImage(int width, int height, const TRGBColors& pixels, bool hasAlpha);
    // A Windows bitmap (14 bytes starting "BM" are enough) or any decodable image; without
    // 14 bytes the image has no handle. Undecodable data raises as GdipCheck does.
    explicit TdxGPImage(rtl::TStream* stream);

    bool HasHandle() const { return !image_.isNull(); }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    const TRGBColors& Pixels() const { return pixels_; }
    const QImage& Image() const { return image_; }

    TdxGPImage* Clone() const;
    void SaveToStream(rtl::TStream* stream) const; // always PNG
    // Mixes this image's pixels with the other's: null without a pixel array here, or when the
    // other image has fewer pixels.
    TdxGPImage* MakeComposition(TdxGPImage* other, Byte alpha) const;
    void Draw(HDC dc, const TRect& r) const;
    // Draws the source part (image pixels) into the destination, source-over.
    void DrawRect(HDC dc, const TRect& dest, const TRect& source) const;

private:
    TdxGPImage() = default;
    void LoadFromDataStream(rtl::TStream* stream);
    void FromPixels(int width, int height, const TRGBColors& pixels, bool hasAlpha);

    QImage image_;
    TRGBColors pixels_;
};

class TdxPNGImage : public TGraphic {
    RTL_CLASS(TdxPNGImage, TGraphic)
    TdxPNGImage() = default;
    ~TdxPNGImage() override;

    int GetWidth() const override { return image_ ? image_->Width() : 0; }
    int GetHeight() const override { return image_ ? image_->Height() : 0; }
    bool GetEmpty() const override { return GetWidth() < 1 || GetHeight() < 1; }
    bool GetTransparent() const { return true; }
    void SetWidth(int) {}
    void SetHeight(int) {}
    TdxGPImage* Image() const { return image_.get(); }

    void Assign(TPersistent* source) override;
    void AssignTo(TPersistent* dest) override;
    void LoadFromStream(rtl::TStream* stream);
    void SaveToStream(rtl::TStream* stream);
    void Draw(TCanvas* canvas, const TRect& r) override;
    void StretchDraw(HDC dc, const TRect& dest);
    void StretchDraw(HDC dc, const TRect& dest, const TRect& source);
    // The part of the source an enlarged picture takes: one pixel less in each enlarged
    // direction (of a source wider or taller than 1); empty when a size is below 1.
    static bool DrawSourceRect(const TRect& dest, const TRect& source, TRect& used);

    bool Compare(TdxPNGImage* other);
    // A new 32-bit bitmap of the picture (premultiplied over black); null without an image.
    TBitmap* GetAsBitmap() const;
    void SetBitmap(TBitmap* bitmap);
    bool GetIsAlphaUsed();
    void Changed();

private:
    void SetImage(std::unique_ptr<TdxGPImage> image);

    std::unique_ptr<TdxGPImage> image_;
    bool alphaUsed_ = false;
    bool alphaUsedKnown_ = false;
};

} // namespace cx
