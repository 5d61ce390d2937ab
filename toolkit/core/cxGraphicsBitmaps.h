#pragma once
// The toolkit's bitmaps: TcxBitmap (update locking, a toolkit canvas, rotation, the compressed
// "XDBM" stream form), TcxBitmap32 (always 32 bits, pixel arrays, alpha channel) and
// TcxAlphaBitmap (transparent colours and the per-pixel transformations of the draw modes).
#include "platform/rtl/Streams.h"
#include "toolkit/core/cxGraphicsPixels.h"

#include <memory>

class TcxBitmap : public TBitmap {
    RTL_CLASS(TcxBitmap, TBitmap)
    TcxBitmap();
    explicit TcxBitmap(const TRect& r);
    TcxBitmap(int width, int height);
    TcxBitmap(const TRect& r, TPixelFormat format);
    TcxBitmap(int width, int height, TPixelFormat format);
    ~TcxBitmap() override;

    bool CompressData = false;
    TcxCanvas* ToolkitCanvas() const { return toolkitCanvas_.get(); }
    // The graphic's change notification (sender: this bitmap), once per outermost unlock.
    rtl::Event<void(rtl::TObject* sender)> OnChange;

    void BeginUpdate() { ++updateLockCount_; }
    void CancelUpdate() { --updateLockCount_; }
    void EndUpdate(bool forceUpdate = true);
    bool ChangeLocked() const { return updateLockCount_ > 0; }
    virtual void Changed(rtl::TObject* sender);

    // Negative sizes become 0; an unchanged size sends no notification.
    virtual void SetSize(int width, int height);
    void SetSize(const TRect& r) { SetSize(r.Width(), r.Height()); }
    TRect GetClientRect() const { return {0, 0, GetWidth(), GetHeight()}; }

    void CopyBitmap(TBitmap* source, DWORD rop = SRCCOPY);
    void CopyBitmap(TBitmap* source, const TRect& destRect, const TPoint& sourceTopLeft, DWORD rop = SRCCOPY);
    void Rotate(TcxRotationAngle angle, bool flipVertically = false);

    // The property form: plain bitmap data, or the "XDBM" form when CompressData is set.
    virtual void ReadData(rtl::TStream* stream);
    virtual void WriteData(rtl::TStream* stream);

    // Codec steps of the compressed form.
    void Compress(rtl::TStream* source, rtl::TStream* dest, int size);
    static void CompressByBlock(rtl::TStream* source, rtl::TStream* dest, int blockSize, int size);
    // The decompressors answer the number of bytes the runs expand to; with no destination they
    // only count (and skip the source), so a size can be judged before anything is allocated.
    static std::int64_t Decompress1(rtl::TStream* source, rtl::TStream* dest, int size);
    static std::int64_t Decompress2(rtl::TStream* source, rtl::TStream* dest, int size);
    static std::int64_t DecompressByBlock(rtl::TStream* source, rtl::TStream* dest, int blockSize, int size);

protected:
    virtual void Update() {}
    // Width, height and format inside one update lock.
    void Initialize(int width, int height, TPixelFormat format);
    // Changes the format inside a lock so that observers see only the final state.
    void SetFormatLocked(TPixelFormat format);

private:
    std::unique_ptr<TcxCanvas> toolkitCanvas_;
    int updateLockCount_ = 0;
    bool changedWhileLocked_ = false;
};

class TcxBitmap32 : public TcxBitmap {
    RTL_CLASS(TcxBitmap32, TcxBitmap)
    TcxBitmap32() : TcxBitmap32(0, 0) {}
    TcxBitmap32(int width, int height);
    TcxBitmap32(int width, int height, bool clear);
    TcxBitmap32(const TRect& r, bool clear) : TcxBitmap32(r.Width(), r.Height(), clear) {}

    bool GetBitmapColors(TRGBColors& colors);
    void SetBitmapColors(TRGBColors colors);
    virtual void Clear();
    void AlphaBlend(TcxBitmap32* dest, const TRect& r, bool smooth, unsigned char constantAlpha = 255);
    void Filter(TcxBitmap32* mask);
    void Invert();
    // A bitmap file; the result is 32-bit whatever the file held. Raises for invalid data.
    void LoadFromStream(rtl::TStream* stream) override;
    void MakeOpaque() { SetAlphaChannel(255); }
    void SetAlphaChannel(unsigned char alpha);
    void RecoverTransparency(TColor transparentColor);
    bool GetIsAlphaUsed();

protected:
    // Raises EdxException "Wrong PixelFormat" when the format is not 32-bit.
    void Update() override;
};

// Transparent colours: blue, green and red in the low three bytes, 0 in the fourth.
class TcxColorList {
public:
    void Add(TColor color);
    void Clear() { items_.clear(); }
    int Count() const { return int(items_.size()); }
    std::uint32_t Item(int index) const { return items_[size_t(index)]; }
    bool Contains(std::uint32_t rgb) const;

private:
    std::vector<std::uint32_t> items_;
};

#pragma pack(push, 1)
struct TcxHatchData {
    RGBQUAD FirstColor;
    Byte FirstAlpha;
    RGBQUAD SecondColor;
    Byte SecondAlpha;
    Byte CellSize;
};
#pragma pack(pop)
static_assert(sizeof(TcxHatchData) == 11);

struct TcxColorTransitionMap {
    float RedWeight, GreenWeight, BlueWeight;
    Byte PixelAlpha;
    Byte ConstantAlpha;
};
extern const TcxColorTransitionMap DisableMap, FadeMap, GrayMap;

enum TcxBitmapTransformationMode {
    btmDingy, btmDirty, btmGrayScale, btmSetOpaque, btmMakeMask, btmFade, btmDisable,
    btmCorrectBlend, btmHatch, btmClear, btmResetAlpha
};

class TcxAlphaBitmap : public TcxBitmap32 {
    RTL_CLASS(TcxAlphaBitmap, TcxBitmap32)
    TcxAlphaBitmap() : TcxAlphaBitmap(0, 0) {}
    TcxAlphaBitmap(int width, int height) : TcxBitmap32(width, height) {}
    TcxAlphaBitmap(int width, int height, RGBQUAD transparentBackground);
    explicit TcxAlphaBitmap(const TRect& r) : TcxAlphaBitmap(r.Width(), r.Height()) {}

    RGBQUAD TransparentBackground{0, 0, 0, 0};
    TcxColorList TransparentColors;
    TPoint PixelPosition; // rows count from the bottom
    TcxHatchData HatchParams{};

    void Clear() override;
    void RefreshImage(int width, int height);
    void RefreshImage(const TRect& r) { RefreshImage(r.Width(), r.Height()); }
    void TransformBitmap(TcxBitmapTransformationMode mode);
    bool IsColorTransparent(const RGBQUAD& pixel) const;
    void RecoverAlphaChannel(TColor transparentColor);
    void DrawHatch(const TcxHatchData& data);
    void DrawHatch(TColor color1, TColor color2, unsigned char cellSize, unsigned char alpha1,
                   unsigned char alpha2);
    void DrawShadow(TcxAlphaBitmap* mask, int size, TColor shadowColor, bool grow);
    void Shade(TcxAlphaBitmap* mask);

    // The per-pixel operations.
    void CorrectBlend(RGBQUAD& p);
    void ClearColor(RGBQUAD& p) { p = TransparentBackground; }
    void Dingy(RGBQUAD& p);
    void Dirty(RGBQUAD& p);
    void Disable(RGBQUAD& p);
    void Fade(RGBQUAD& p);
    void GrayScale(RGBQUAD& p);
    void Hatch(RGBQUAD& p);
    void MakeMask(RGBQUAD& p);
    void SetOpaque(RGBQUAD& p) { p.rgbReserved = 255; }
    void ResetAlpha(RGBQUAD& p) { p.rgbReserved = 0; }
    static void Scale(RGBQUAD& p, const TcxColorTransitionMap& map);
};

// Procedures of the graphics unit built on the alpha bitmap.
void cxMakeTrueColorBitmap(TBitmap* source, TBitmap* dest);
void cxMakeMaskBitmap(TBitmap* source, TBitmap* mask);
void cxDrawHatch(HDC dc, const TRect& r, TColor color1, TColor color2, unsigned char step,
                 unsigned char alpha1 = 255, unsigned char alpha2 = 255);
