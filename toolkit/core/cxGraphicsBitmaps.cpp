#include "toolkit/core/cxGraphicsBitmaps.h"

#include "platform/vcl/BitmapStreams.h"
#include "platform/vcl/ImgList.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using rtl::ReadLE;
using rtl::TMemoryStream;
using rtl::TStream;
using rtl::WriteLE;

constexpr std::uint32_t kSignature = 0x4D424458; // "XDBM"
constexpr int kHeaderSize = 10;
constexpr int kMaxRun = 125;
constexpr Byte kLiteralBit = 0x80;
// The compressed form is what the toolkit writes for glyphs and image-list images, whose sides
// an image list bounds: a larger picture was never written by it. Runs of a 1-bit picture stand
// for 32 times their bytes once the picture is a surface, so the bound is on pixels, not bytes.
constexpr std::int64_t kMaxCompressedPixels = std::int64_t(MaxImageSide) * MaxImageSide;
// The most the runs may expand to: the property data (length and file) of such a picture.
constexpr std::int64_t kMaxPlainSize = 4 + 14 + 40 + 256 * 4 + 4 * kMaxCompressedPixels;
// Where the expanded property data holds the picture's width and height.
constexpr std::int64_t kPlainWidthAt = 4 + 14 + 4;

inline std::uint32_t AsWord(const RGBQUAD& q)
{
    std::uint32_t v;
    std::memcpy(&v, &q, 4);
    return v;
}
inline RGBQUAD AsQuad(std::uint32_t v)
{
    RGBQUAD q;
    std::memcpy(&q, &v, 4);
    return q;
}
inline Byte Clamp255(int v) { return Byte(std::clamp(v, 0, 255)); }

// Reads a block when it lies wholly before the end.
bool ReadBlock(TStream* s, std::int64_t end, std::vector<Byte>& block)
{
    if (s->Position() + std::int64_t(block.size()) > end)
        return false;
    return s->Read(block.data(), std::int64_t(block.size())) == std::int64_t(block.size());
}

} // namespace

// ---- TcxBitmap ----

TcxBitmap::TcxBitmap() : TcxBitmap(0, 0) {}
TcxBitmap::TcxBitmap(const TRect& r) : TcxBitmap(r.Width(), r.Height()) {}
TcxBitmap::TcxBitmap(int width, int height) : TcxBitmap(width, height, pf24bit) {}
TcxBitmap::TcxBitmap(const TRect& r, TPixelFormat format) : TcxBitmap(r.Width(), r.Height(), format) {}
TcxBitmap::TcxBitmap(int width, int height, TPixelFormat format) { Initialize(width, height, format); }
TcxBitmap::~TcxBitmap() = default;

void TcxBitmap::Initialize(int width, int height, TPixelFormat format)
{
    toolkitCanvas_ = std::make_unique<TcxCanvas>(Canvas());
    BeginUpdate();
    SetPixelFormat(format);
    SetSize(width, height);
    EndUpdate(true);
}

void TcxBitmap::EndUpdate(bool forceUpdate)
{
    if (--updateLockCount_ == 0 && (forceUpdate || changedWhileLocked_))
        Changed(this);
}

void TcxBitmap::Changed(rtl::TObject*)
{
    if (ChangeLocked()) {
        changedWhileLocked_ = true;
        return;
    }
    rtl::CallEvent(OnChange, this);
    Update();
    changedWhileLocked_ = false;
}

void TcxBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == GetWidth() && height == GetHeight())
        return;
    // Both sides at once: a size that cannot be stored raises with the bitmap as it was (one
    // side at a time would leave it half resized).
    TBitmap::SetSize(width, height);
    BeginUpdate();
    Changed(this);
    EndUpdate(false);
}

void TcxBitmap::SetFormatLocked(TPixelFormat format)
{
    BeginUpdate();
    SetPixelFormat(format);
    Changed(this);
    EndUpdate(false);
}

void TcxBitmap::CopyBitmap(TBitmap* source, DWORD rop) { CopyBitmap(source, GetClientRect(), {0, 0}, rop); }

void TcxBitmap::CopyBitmap(TBitmap* source, const TRect& destRect, const TPoint& sourceTopLeft, DWORD rop)
{
    cxBitBlt(Canvas()->GetHandle(), source->Canvas()->GetHandle(), destRect, sourceTopLeft, rop);
}

void TcxBitmap::Rotate(TcxRotationAngle angle, bool flipVertically)
{
    BeginUpdate();
    toolkitCanvas_->RotateBitmap(this, angle, flipVertically);
    EndUpdate(true);
}

void TcxBitmap::WriteData(TStream* stream)
{
    if (!CompressData) {
        WriteBitmapData(this, stream);
        return;
    }
    TMemoryStream plain;
    WriteBitmapData(this, &plain);
    plain.SetPosition(0);
    const std::int64_t header = stream->Position();
    const Byte zeros[kHeaderSize] = {};
    stream->WriteBuffer(zeros, kHeaderSize);
    Compress(&plain, stream, int(plain.Size()));
    const std::int64_t end = stream->Position();
    stream->SetPosition(header);
    WriteLE<std::uint32_t>(stream, std::uint32_t(end - header - kHeaderSize));
    WriteLE<std::uint32_t>(stream, kSignature);
    WriteLE<Word>(stream, 2);
    stream->SetPosition(end);
}

void TcxBitmap::ReadData(TStream* stream)
{
    BeginUpdate();
    try {
        const std::int64_t start = stream->Position();
        bool compressed = false;
        std::uint32_t size = 0;
        Word method = 0;
        if (stream->Size() - start >= kHeaderSize) {
            size = ReadLE<std::uint32_t>(stream);
            compressed = ReadLE<std::uint32_t>(stream) == kSignature;
            method = ReadLE<Word>(stream);
        }
        if (!compressed) {
            stream->SetPosition(start);
            ReadBitmapData(this, stream);
        } else {
            // A few bytes of runs can stand for gigabytes: count what they expand to first and
            // refuse more than any bitmap can be, before anything is allocated.
            auto decompress = [&](TStream* dest) -> std::int64_t {
                if (method == 1)
                    return Decompress1(stream, dest, int(size));
                if (method == 2)
                    return Decompress2(stream, dest, int(size));
                return 0;
            };
            const std::int64_t runs = stream->Position();
            if (decompress(nullptr) > kMaxPlainSize)
                throw EInvalidGraphic("Bitmap image is not valid");
            stream->SetPosition(runs);
            TMemoryStream plain;
            decompress(&plain);
            if (plain.Size() >= kPlainWidthAt + 8) {
                plain.SetPosition(kPlainWidthAt);
                const std::int64_t w = ReadLE<std::int32_t>(&plain);
                const std::int64_t h = ReadLE<std::int32_t>(&plain);
                if (std::abs(w) * std::abs(h) > kMaxCompressedPixels)
                    throw EInvalidGraphic("Bitmap image is not valid");
            }
            plain.SetPosition(0);
            ReadBitmapData(this, &plain);
        }
        Changed(this);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

void TcxBitmap::Compress(TStream* source, TStream* dest, int size)
{
    const int n = std::max(cxGetBitmapPixelFormat(this) / 8, 1);
    const int r = size % n;
    WriteLE<Byte>(dest, Byte(n));
    WriteLE<Byte>(dest, Byte(r));
    if (r > 0)
        dest->CopyFrom(source, r);
    CompressByBlock(source, dest, n, size - r);
}

void TcxBitmap::CompressByBlock(TStream* source, TStream* dest, int blockSize, int size)
{
    const std::int64_t end = source->Position() + size;
    const auto bytes = static_cast<size_t>(blockSize);
    std::vector<Byte> a(bytes), b(bytes), prev(bytes);
    while (true) {
        const std::int64_t start = source->Position();
        if (!ReadBlock(source, end, a))
            break;
        int count = 1;
        bool repeat = false;
        if (ReadBlock(source, end, b)) {
            repeat = a == b;
            source->SetPosition(start + blockSize);
            prev = a;
            while (count < kMaxRun && ReadBlock(source, end, b)) {
                const bool same = b == prev;
                if (repeat && !same)
                    break;
                if (!repeat && same) {
                    --count; // the predecessor starts the next run, a repeat run
                    break;
                }
                ++count;
                prev = b;
            }
        }
        if (repeat) {
            WriteLE<Byte>(dest, Byte(count));
            dest->WriteBuffer(a.data(), blockSize);
        } else {
            WriteLE<Byte>(dest, Byte(count | kLiteralBit));
            source->SetPosition(start);
            dest->CopyFrom(source, std::int64_t(count) * blockSize);
        }
        source->SetPosition(start + std::int64_t(count) * blockSize);
    }
    source->SetPosition(end);
}

std::int64_t TcxBitmap::DecompressByBlock(TStream* source, TStream* dest, int blockSize, int size)
{
    if (blockSize <= 0)
        return 0;
    // A size that claims more than the stream holds stops at the stream's end.
    const std::int64_t end = std::min(source->Position() + std::int64_t(std::max(size, 0)), source->Size());
    std::vector<Byte> block(static_cast<size_t>(blockSize));
    std::int64_t produced = 0;
    while (source->Position() < end) {
        const Byte k = ReadLE<Byte>(source);
        const int count = k & 0x7F;
        if (k & kLiteralBit) {
            const std::int64_t bytes = std::min<std::int64_t>(std::int64_t(count) * blockSize, end - source->Position());
            if (dest)
                dest->CopyFrom(source, bytes);
            else
                source->Seek(bytes, rtl::soCurrent);
            produced += bytes;
        } else {
            if (!ReadBlock(source, end, block))
                break;
            if (dest)
                for (int i = 0; i < count; ++i)
                    dest->WriteBuffer(block.data(), blockSize);
            produced += std::int64_t(count) * blockSize;
        }
    }
    return produced;
}

std::int64_t TcxBitmap::Decompress1(TStream* source, TStream* dest, int size)
{
    return DecompressByBlock(source, dest, 1, size);
}

std::int64_t TcxBitmap::Decompress2(TStream* source, TStream* dest, int size)
{
    if (size < 2 || source->Size() - source->Position() < 2)
        return 0;
    const int n = ReadLE<Byte>(source);
    const int r = ReadLE<Byte>(source);
    const int copied = int(std::min<std::int64_t>(r, source->Size() - source->Position()));
    if (copied > 0) {
        if (dest)
            dest->CopyFrom(source, copied);
        else
            source->Seek(copied, rtl::soCurrent);
    }
    return std::max(copied, 0) + DecompressByBlock(source, dest, n, size - r - 2);
}

// ---- TcxBitmap32 ----

TcxBitmap32::TcxBitmap32(int width, int height) : TcxBitmap(width, height, pf32bit) {}

TcxBitmap32::TcxBitmap32(int width, int height, bool clear) : TcxBitmap32(width, height)
{
    if (clear)
        Clear();
}

bool TcxBitmap32::GetBitmapColors(TRGBColors& colors) { return GetBitmapBits(this, false, colors); }
void TcxBitmap32::SetBitmapColors(TRGBColors colors) { SetBitmapBits(this, colors, false); }

void TcxBitmap32::Clear()
{
    for (int y = 0; y < GetHeight(); ++y)
        std::fill_n(ScanLine(y), GetWidth(), 0u);
}

void TcxBitmap32::AlphaBlend(TcxBitmap32* dest, const TRect& r, bool smooth, unsigned char constantAlpha)
{
    cxAlphaBlend(dest, this, r, GetClientRect(), smooth, constantAlpha);
}

void TcxBitmap32::Filter(TcxBitmap32* mask) { CopyBitmap(mask, 0x00220326); }
void TcxBitmap32::Invert() { CopyBitmap(this, NOTSRCCOPY); }

void TcxBitmap32::LoadFromStream(TStream* stream)
{
    BeginUpdate();
    try {
        LoadBitmapFromStream(this, stream);
    } catch (...) {
        SetPixelFormat(pf32bit);
        EndUpdate(true);
        throw;
    }
    SetPixelFormat(pf32bit);
    EndUpdate(true);
}

void TcxBitmap32::SetAlphaChannel(unsigned char alpha)
{
    TRGBColors colors;
    if (!GetBitmapColors(colors))
        return;
    for (RGBQUAD& p : colors)
        p.rgbReserved = alpha;
    SetBitmapColors(std::move(colors));
}

void TcxBitmap32::RecoverTransparency(TColor transparentColor)
{
    TRGBColors colors;
    if (!GetBitmapColors(colors))
        return;
    const std::uint32_t t = cx::dxColorToRGBQuad(transparentColor, 0);
    for (RGBQUAD& p : colors) {
        if ((AsWord(p) & 0xFFFFFFu) == t)
            p = AsQuad(0);
        else if (p.rgbReserved == 0)
            p.rgbReserved = 255;
    }
    SetBitmapColors(std::move(colors));
}

bool TcxBitmap32::GetIsAlphaUsed()
{
    TRGBColors colors;
    GetBitmapColors(colors);
    return std::any_of(colors.begin(), colors.end(), [](const RGBQUAD& p) { return p.rgbReserved != 0; });
}

void TcxBitmap32::Update()
{
    if (GetPixelFormat() != pf32bit)
        throw cx::EdxException("Wrong PixelFormat");
}

// ---- TcxColorList ----

void TcxColorList::Add(TColor color) { items_.push_back(cx::dxColorToRGBQuad(color, 0) & 0xFFFFFFu); }

bool TcxColorList::Contains(std::uint32_t rgb) const
{
    return std::find(items_.begin(), items_.end(), rgb & 0xFFFFFFu) != items_.end();
}

// ---- TcxAlphaBitmap ----

const TcxColorTransitionMap DisableMap{0.0729f, 0.7146f, 0.2125f, 105, 151};
const TcxColorTransitionMap FadeMap{0.299f, 0.587f, 0.114f, 192, 64};
const TcxColorTransitionMap GrayMap{0.299f, 0.587f, 0.114f, 255, 255};

TcxAlphaBitmap::TcxAlphaBitmap(int width, int height, RGBQUAD transparentBackground)
    : TcxBitmap32(width, height)
{
    TransparentBackground = transparentBackground;
}

void TcxAlphaBitmap::Clear()
{
    if (TransparentBackground.rgbReserved != 0)
        TransformBitmap(btmClear);
    else
        TcxBitmap32::Clear();
}

void TcxAlphaBitmap::RefreshImage(int width, int height)
{
    SetSize(width, height);
    TransparentColors.Clear();
    Clear();
}

void TcxAlphaBitmap::TransformBitmap(TcxBitmapTransformationMode mode)
{
    using Op = void (TcxAlphaBitmap::*)(RGBQUAD&);
    static constexpr Op kOps[] = {
        &TcxAlphaBitmap::Dingy, &TcxAlphaBitmap::Dirty, &TcxAlphaBitmap::GrayScale,
        &TcxAlphaBitmap::SetOpaque, &TcxAlphaBitmap::MakeMask, &TcxAlphaBitmap::Fade,
        &TcxAlphaBitmap::Disable, &TcxAlphaBitmap::CorrectBlend, &TcxAlphaBitmap::Hatch,
        &TcxAlphaBitmap::ClearColor, &TcxAlphaBitmap::ResetAlpha};
    TRGBColors colors;
    if (!GetBitmapColors(colors))
        return;
    const Op op = kOps[mode];
    const int w = GetWidth(), h = GetHeight();
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            PixelPosition = {x, y};
            (this->*op)(colors[size_t(y) * w + x]);
        }
    SetBitmapColors(std::move(colors));
    Changed(this);
}

bool TcxAlphaBitmap::IsColorTransparent(const RGBQUAD& p) const
{
    return p == TransparentBackground || TransparentColors.Contains(AsWord(p));
}

void TcxAlphaBitmap::RecoverAlphaChannel(TColor transparentColor)
{
    TransparentColors.Clear();
    TransparentColors.Add(transparentColor);
    TransparentBackground = AsQuad(cx::dxColorToRGBQuad(transparentColor, 0));
    TransformBitmap(btmCorrectBlend);
}

void TcxAlphaBitmap::DrawHatch(const TcxHatchData& data)
{
    HatchParams = data;
    TransformBitmap(btmHatch);
}

void TcxAlphaBitmap::DrawHatch(TColor color1, TColor color2, unsigned char cellSize,
                               unsigned char alpha1, unsigned char alpha2)
{
    TcxHatchData data{};
    data.FirstColor = AsQuad(cx::dxColorToRGBQuad(color1, 255));
    data.FirstAlpha = alpha1;
    data.SecondColor = AsQuad(cx::dxColorToRGBQuad(color2, 255));
    data.SecondAlpha = alpha2;
    data.CellSize = cellSize;
    DrawHatch(data);
}

void TcxAlphaBitmap::CorrectBlend(RGBQUAD& p)
{
    if (!IsColorTransparent(p) && p.rgbReserved == 0)
        p.rgbReserved = 255;
}

void TcxAlphaBitmap::MakeMask(RGBQUAD& p) { p = AsQuad(IsColorTransparent(p) ? 0xFFFFFFFFu : 0u); }

void TcxAlphaBitmap::GrayScale(RGBQUAD& p)
{
    if (IsColorTransparent(p))
        return;
    const Byte v = Byte((p.rgbRed + p.rgbGreen + p.rgbBlue) / 3);
    p.rgbRed = p.rgbGreen = p.rgbBlue = v;
}

void TcxAlphaBitmap::Scale(RGBQUAD& p, const TcxColorTransitionMap& map)
{
    const long double v = p.rgbRed * (long double)map.RedWeight + p.rgbGreen * (long double)map.GreenWeight +
                          p.rgbBlue * (long double)map.BlueWeight;
    const Byte c = Clamp255(int(std::nearbyintl(v)));
    p.rgbRed = p.rgbGreen = p.rgbBlue = c;
}

void TcxAlphaBitmap::Disable(RGBQUAD& p)
{
    if (!IsColorTransparent(p))
        Scale(p, DisableMap);
}

void TcxAlphaBitmap::Fade(RGBQUAD& p)
{
    if (!IsColorTransparent(p))
        Scale(p, FadeMap);
}

void TcxAlphaBitmap::Dingy(RGBQUAD& p)
{
    if (IsColorTransparent(p))
        return;
    auto lighten = [](Byte& v) { v = Clamp255(v + rtl::MulDiv(255 - v, 3, 10)); };
    auto darken = [](Byte& v) { v = Clamp255(rtl::MulDiv(v, 200, 255)); };
    if (p.rgbReserved == 255) {
        lighten(p.rgbRed);
        lighten(p.rgbGreen);
        lighten(p.rgbBlue);
    } else {
        darken(p.rgbRed);
        darken(p.rgbGreen);
        darken(p.rgbBlue);
        darken(p.rgbReserved);
    }
}

void TcxAlphaBitmap::Dirty(RGBQUAD& p)
{
    if (IsColorTransparent(p))
        return;
    Scale(p, GrayMap);
    cxBlendFunction(AsQuad(cx::dxColorToRGBQuad(clBtnShadow, 0xC0)), p, 238);
}

void TcxAlphaBitmap::Hatch(RGBQUAD& p)
{
    // A cell size of 0 would divide by zero: it is taken as 1.
    const int s = std::max<int>(HatchParams.CellSize, 1);
    if ((PixelPosition.X / s + PixelPosition.Y / s) % 2 != 0)
        cxBlendFunction(HatchParams.SecondColor, p, HatchParams.SecondAlpha);
    else
        cxBlendFunction(HatchParams.FirstColor, p, HatchParams.FirstAlpha);
}

void TcxAlphaBitmap::DrawShadow(TcxAlphaBitmap* mask, int size, TColor shadowColor, bool grow)
{
    const int w = GetWidth(), h = GetHeight(), s = size;
    TcxAlphaBitmap shadow(w + 2 * s, h + 2 * s, AsQuad(0xFFFFFFFFu));
    shadow.Clear();
    shadow.CopyBitmap(mask, {s, s, s + mask->GetWidth(), s + mask->GetHeight()}, {0, 0}, SRCCOPY);
    shadow.Canvas()->Brush()->SetColor(shadowColor);
    shadow.Canvas()->CopyMode = 0x00200F09;
    shadow.Canvas()->Draw(s, s, &shadow);
    shadow.TransparentBackground = AsQuad(0);
    shadow.TransformBitmap(btmCorrectBlend);

    TcxAlphaBitmap temp(w + s, h + s);
    temp.Clear();
    temp.CopyBitmap(this, {0, 0, w, h}, {0, 0}, SRCCOPY);
    temp.CopyBitmap(&shadow, temp.GetClientRect(), {s, s}, SRCPAINT);
    if (grow)
        SetSize(w + s, h + s);
    CopyBitmap(&temp, SRCCOPY);
    Changed(this);
}

void TcxAlphaBitmap::Shade(TcxAlphaBitmap* mask)
{
    mask->Canvas()->CopyMode = PATINVERT;
    mask->Canvas()->Draw(0, 0, mask);
    Canvas()->CopyMode = SRCCOPY;
    Canvas()->Draw(1, 1, mask);
    Canvas()->CopyMode = 0x00E20746;
    Canvas()->Brush()->SetColor(clBtnShadow);
    Canvas()->Draw(0, 0, mask);
    Canvas()->CopyMode = SRCCOPY;
    TransformBitmap(btmCorrectBlend);
}

// ---- procedures on alpha bitmaps ----

void cxMakeTrueColorBitmap(TBitmap* source, TBitmap* dest)
{
    const int w = source->GetWidth(), h = source->GetHeight();
    TcxAlphaBitmap image(w, h);
    image.CopyBitmap(source);
    image.TransformBitmap(btmSetOpaque);
    TcxAlphaBitmap mask(w, h);
    mask.CopyBitmap(source);
    mask.TransparentColors.Add(source->GetTransparentColor());
    mask.TransformBitmap(btmMakeMask);
    image.Filter(&mask);
    dest->Assign(&image);
}

void cxMakeMaskBitmap(TBitmap* source, TBitmap* mask)
{
    const int w = source->GetWidth(), h = source->GetHeight();
    TcxAlphaBitmap copy(w, h);
    copy.CopyBitmap(source);
    if (!copy.GetIsAlphaUsed())
        copy.RecoverAlphaChannel(source->GetTransparentColor());
    copy.TransformBitmap(btmMakeMask);
    cxBitBlt(mask->Canvas()->GetHandle(), copy.Canvas()->GetHandle(), copy.GetClientRect(), {0, 0}, SRCCOPY);
}

void cxDrawHatch(HDC dc, const TRect& r, TColor color1, TColor color2, unsigned char step,
                 unsigned char alpha1, unsigned char alpha2)
{
    if (!dc || r.Width() <= 0 || r.Height() <= 0)
        return;
    TcxAlphaBitmap temp(r.Width(), r.Height());
    cxBitBlt(temp.Canvas()->GetHandle(), dc, temp.GetClientRect(), {r.Left, r.Top}, SRCCOPY);
    temp.DrawHatch(color1, color2, step, alpha1, alpha2);
    cxBitBlt(dc, temp.Canvas()->GetHandle(), r, {0, 0}, SRCCOPY);
}
