#pragma once
// A bitmap the drawing layer renders into. Every format is stored as 32-bit 0xAARRGGBB words;
// the top byte is data like the others (ordinary drawing writes 0 there), and the format tag
// tells copies how to convert. Monochrome surfaces hold only 0x00000000 and 0x00FFFFFF.
#include "platform/gdi/GdiConsts.h"
#include "platform/rtl/Types.h"

#include <QImage>
#include <cstdint>
#include <vector>

namespace gdi {

enum class PixelFormat { Mono1, Pal4, Pal8, Rgb15, Rgb16, Rgb24, Argb32 };

int BitsPerPixel(PixelFormat format);

// 0x00BBGGRR colour to a stored pixel (top byte 0) and back.
constexpr std::uint32_t ColorToPixel(COLORREF c)
{
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF PixelToColor(std::uint32_t p)
{
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

// The largest surface, in pixels (1 GiB of storage): well above any screen or picture the
// program handles, well below what would exhaust the machine.
inline constexpr std::int64_t kMaxSurfacePixels = std::int64_t(1) << 28;

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, PixelFormat format = PixelFormat::Argb32);

    // The size is kept even when one side is 0 (then no pixels are stored).
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return width_ == 0 || height_ == 0; }
    PixelFormat Format() const { return format_; }
    bool IsMono() const { return format_ == PixelFormat::Mono1; }
    TRect Bounds() const { return {0, 0, Width(), Height()}; }

    // Keeps the overlapping top-left content; new pixels are 0 (white for monochrome). A size
    // that cannot be stored raises EOutOfResources and leaves the surface as it was.
    void Resize(int width, int height);
    // Converting to monochrome maps each pixel to its nearer of black and white.
    void SetFormat(PixelFormat format);

    std::uint32_t* Row(int y) { return reinterpret_cast<std::uint32_t*>(image_.scanLine(y)); }
    const std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(image_.constScanLine(y));
    }
    std::uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, std::uint32_t v) { Row(y)[x] = v; }
    void Fill(std::uint32_t v);

    // The storage as a non-premultiplied ARGB32 image (shared, not copied).
    const QImage& Image() const { return image_; }
    // Palette of the formats below 32 bits (informational; pixels are stored resolved).
    const std::vector<std::uint32_t>& Palette() const { return palette_; }
    void SetPalette(std::vector<std::uint32_t> palette) { palette_ = std::move(palette); }

    // A pixel value as it would be stored in this surface's format.
    std::uint32_t Normalise(std::uint32_t pixel) const;

private:
    QImage image_;
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Argb32;
    std::vector<std::uint32_t> palette_;
};

// Nearest of black and white, as monochrome targets store colours.
std::uint32_t MonoOf(std::uint32_t pixel);

// Bitmap handles made outside a TBitmap: a caller that creates one frees it with DeleteObject.
// What GetObject tells of one (a device bitmap: no address of its bits is given out).
struct BITMAP {
    int bmType = 0;
    int bmWidth = 0;
    int bmHeight = 0;
    int bmWidthBytes = 0;
    std::uint16_t bmPlanes = 0;
    std::uint16_t bmBitsPixel = 0;
    void* bmBits = nullptr;
};
// A cleared bitmap of one plane at 1, 4, 8, 16, 24 or 32 bits a pixel; null for any other
// request, for initial bits, or for a size that cannot be stored.
HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitCount, const void* bits);
bool DeleteObject(HBITMAP bitmap);
// Fills `out` with the bitmap's BITMAP when `size` holds one; the bytes written, 0 on failure.
int GetObject(HBITMAP bitmap, int size, void* out);

} // namespace gdi
