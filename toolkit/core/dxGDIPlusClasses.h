#pragma once
// The wrappers of the image library's objects (brushes, pens, graphics, images) and the PNG
// picture class. A brush, pen or graphics wrapper never raises: each call's status other than
// Ok is kept as the last status (GetLastStatus reads and resets it). Images raise through
// GdipCheck.
#include "toolkit/core/cxGraphicsPixels.h"
#include "toolkit/core/dxGDIPlusAPI.h"

#include "platform/vcl/Clipbrd.h"

#include <memory>

namespace cx {

// The last status other than Ok of a wrapper's calls.
class TdxGPBase : public TObject {
    RTL_CLASS(TdxGPBase, TObject)
    // Reads the last status and resets it to Ok.
    Status GetLastStatus();

protected:
    TdxGPBase() = default;
    explicit TdxGPBase(Status status) : lastResult_(status) {}
    // Keeps a status other than Ok; answers the status.
    Status SetStatus(Status status);
    Status lastResult_ = Ok;
};

class TdxGPBrush : public TdxGPBase {
    RTL_CLASS(TdxGPBrush, TdxGPBase)
    // No native brush; the last status is NotImplemented.
    TdxGPBrush();
    // Adopts the native brush (deleted with the wrapper) and the status.
    TdxGPBrush(GpBrush* nativeBrush, Status status);
    ~TdxGPBrush() override;

    virtual TdxGPBrush* Clone();
    BrushType GetType();
    GpBrush* GetNativeBrush() const { return nativeBrush_; }
    // Adopts the native brush in place of the present one (which is deleted).
    void SetNativeBrush(GpBrush* nativeBrush);

protected:
    GpBrush* nativeBrush_ = nullptr;
};

class TdxGPSolidBrush : public TdxGPBrush {
    RTL_CLASS(TdxGPSolidBrush, TdxGPBrush)
    TdxGPSolidBrush() = default;
    // The colour as an ARGB value (dxGpColorToARGB converts colours).
    explicit TdxGPSolidBrush(ARGB color);
    ARGB GetColor();
    Status SetColor(ARGB color);
};

class TdxGPTextureBrush : public TdxGPBrush {
    RTL_CLASS(TdxGPTextureBrush, TdxGPBrush)
};

class TdxGPLinearGradientBrush : public TdxGPBrush {
    RTL_CLASS(TdxGPLinearGradientBrush, TdxGPBrush)
    TdxGPLinearGradientBrush() = default;
    // The gradient over the rectangle, repeated beyond it (wrap mode tile).
    TdxGPLinearGradientBrush(const TdxGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
    // The two colours are delivered only when the call succeeds.
    Status GetLinearColors(ARGB& color1, ARGB& color2);
    Status SetLinearColors(ARGB color1, ARGB color2);
    TdxGPRect GetRectangle();
    WrapMode GetWrapMode();
    Status SetWrapMode(WrapMode wrapMode);
};

class TdxGPHatchBrush : public TdxGPBrush {
    RTL_CLASS(TdxGPHatchBrush, TdxGPBrush)
    TdxGPHatchBrush() = default;
    TdxGPHatchBrush(HatchStyle style, ARGB foreColor, ARGB backColor);
    HatchStyle GetHatchStyle();
    ARGB GetForegroundColor();
    ARGB GetBackgroundColor();
};

class TdxGPPen : public TdxGPBase {
    RTL_CLASS(TdxGPPen, TdxGPBase)
    // The pen fills its strokes with a copy of the brush.
    explicit TdxGPPen(TdxGPBrush* brush, float width = 1.0f);
    explicit TdxGPPen(ARGB color, float width = 1.0f);
    ~TdxGPPen() override;

    PenAlignment GetAlignment();
    Status SetAlignment(PenAlignment alignment);
    float GetWidth();
    Status SetWidth(float width);
    // 0 unless the pen is of one colour.
    ARGB GetColor();
    Status SetColor(ARGB color);
    Status SetBrush(TdxGPBrush* brush);
    PenType GetPenType();
    // A new wrapper of the kind the pen's fill is, holding a copy of it (the caller frees it);
    // null for an unknown kind.
    TdxGPBrush* GetBrush();
    GpPen* GetNativePen() const { return nativePen_; }
    void SetNativePen(GpPen* nativePen);

protected:
    GpPen* nativePen_ = nullptr;
};

class TdxGPGraphics : public TdxGPBase {
    RTL_CLASS(TdxGPGraphics, TdxGPBase)
    explicit TdxGPGraphics(HDC dc);
    ~TdxGPGraphics() override;

    Status Clear(ARGB color);
    Status DrawLine(TdxGPPen* pen, int x1, int y1, int x2, int y2);
    Status DrawLine(TdxGPPen* pen, const TdxGPPoint& p1, const TdxGPPoint& p2);
    // Angles in degrees, clockwise from the x axis.
    Status DrawArc(TdxGPPen* pen, const TdxGPRect& r, float startAngle, float sweepAngle);
    Status DrawPie(TdxGPPen* pen, const TdxGPRect& r, float startAngle, float sweepAngle);
    Status FillPie(TdxGPBrush* brush, const TdxGPRect& r, float startAngle, float sweepAngle);
    Status DrawBezier(TdxGPPen* pen, const TdxGPPoint& p1, const TdxGPPoint& p2, const TdxGPPoint& p3,
                      const TdxGPPoint& p4);
    Status DrawBezier(TdxGPPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    Status DrawRectangle(TdxGPPen* pen, const TdxGPRect& r);
    Status DrawEllipse(TdxGPPen* pen, const TdxGPRect& r);
    Status FillEllipse(TdxGPBrush* brush, const TdxGPRect& r);
    Status FillRectangle(TdxGPBrush* brush, const TdxGPRect& r);
    Status DrawPolygon(TdxGPPen* pen, const TdxGPPoint* points, int count);
    Status DrawCurve(TdxGPPen* pen, const TdxGPPoint* points, int count, float tension = 0.5f);
    Status DrawClosedCurve(TdxGPPen* pen, const TdxGPPoint* points, int count, float tension = 0.5f);
    // Alternate fill mode.
    Status FillPolygon(TdxGPBrush* brush, const TdxGPPoint* points, int count);
    Status FillClosedCurve(TdxGPBrush* brush, const TdxGPPoint* points, int count);
    HDC GetHDC();
    void ReleaseHDC(HDC dc);
    GpGraphics* GetNativeGraphics() const { return nativeGraphics_; }
    static GpPen* GetNativePen(TdxGPPen* pen) { return pen ? pen->GetNativePen() : nullptr; }

private:
    GpGraphics* nativeGraphics_ = nullptr;
};

class TdxGPImage;

// The image class in use and its three constructors: TdxGPNullImage until the unit starts,
// then TdxGPImage (the library is always present here).
class TdxGPImageClass {
public:
    template <class T>
    static TdxGPImageClass Of()
    {
        return {&T::StaticClass(), [](TBitmap* b) -> TdxGPImage* { return new T(b); },
                [](int w, int h, const TRGBColors& p, bool a) -> TdxGPImage* { return new T(w, h, p, a); },
                [](rtl::TStream* s) -> TdxGPImage* { return new T(s); }};
    }
    const rtl::TClassMeta* Meta() const { return meta_; }
    TdxGPImage* CreateFromBitmap(TBitmap* bitmap) const { return fromBitmap_(bitmap); }
    TdxGPImage* CreateFromPixels(int width, int height, const TRGBColors& pixels, bool hasAlpha) const
    {
        return fromPixels_(width, height, pixels, hasAlpha);
    }
    TdxGPImage* CreateFromStream(rtl::TStream* stream) const { return fromStream_(stream); }

private:
    TdxGPImageClass(const rtl::TClassMeta* meta, TdxGPImage* (*fromBitmap)(TBitmap*),
                    TdxGPImage* (*fromPixels)(int, int, const TRGBColors&, bool),
                    TdxGPImage* (*fromStream)(rtl::TStream*))
        : meta_(meta), fromBitmap_(fromBitmap), fromPixels_(fromPixels), fromStream_(fromStream)
    {
    }
    const rtl::TClassMeta* meta_;
    TdxGPImage* (*fromBitmap_)(TBitmap*);
    TdxGPImage* (*fromPixels_)(int, int, const TRGBColors&, bool);
    TdxGPImage* (*fromStream_)(rtl::TStream*);
};
TdxGPImageClass dxGPImageClass();

class TdxGPImage : public TdxGPBase {
    RTL_CLASS(TdxGPImage, TdxGPBase)
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

    // Made by the image class in use.
    TdxGPImage* Clone() const;
    void SaveToStream(rtl::TStream* stream) const; // always PNG
    // Mixes this image's pixels with the other's: null without a pixel array here, or when the
    // other image has fewer pixels.
    TdxGPImage* MakeComposition(TdxGPImage* other, Byte alpha) const;
    void Draw(HDC dc, const TRect& r) const;
    // Draws the source part (image pixels) into the destination, source-over.
    void DrawRect(HDC dc, const TRect& dest, const TRect& source) const;

protected:
    virtual void LoadFromDataStream(rtl::TStream* stream);

private:
    TdxGPImage() = default;
    void FromPixels(int width, int height, const TRGBColors& pixels, bool hasAlpha);

    QImage image_;
    TRGBColors pixels_;
};

// The image class before the library is known to be present.
class TdxGPNullImage : public TdxGPImage {
    RTL_CLASS(TdxGPNullImage, TdxGPImage)
    using TdxGPImage::TdxGPImage;
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
    void LoadFromStream(rtl::TStream* stream) override;
    void SaveToStream(rtl::TStream* stream) override;
    // The clipboard holds pictures as bitmaps (CF_BITMAP). Loading takes the clipboard's
    // picture as a 32-bit bitmap (false when the format is not CF_BITMAP or it holds none);
    // saving gives the picture drawn over white in a bitmap of its size.
    bool LoadFromClipboardFormat(unsigned format, const TClipboard* clipboard);
    void SaveToClipboardFormat(unsigned& format, TBitmap* data);
    void Draw(TCanvas* canvas, const TRect& r) override;
    void StretchDraw(HDC dc, const TRect& dest);
    void StretchDraw(HDC dc, const TRect& dest, const TRect& source);
    void StretchDrawEx(TdxGPGraphics* graphics, const TRect& dest, const TRect& source);
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

namespace dxGDIPlusClassesUnit {
// Registers the unit with the image-library loader: its start sets the image class and
// registers TdxPNGImage for streaming and for the picture extension "PNG"; its end takes both
// registrations back.
void Initialize();
void Finalize();
} // namespace dxGDIPlusClassesUnit

} // namespace cx
