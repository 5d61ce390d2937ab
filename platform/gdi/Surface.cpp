#include "platform/gdi/Surface.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace gdi {

int BitsPerPixel(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Mono1: return 1;
    case PixelFormat::Pal4: return 4;
    case PixelFormat::Pal8: return 8;
    case PixelFormat::Rgb15: return 15;
    case PixelFormat::Rgb16: return 16;
    case PixelFormat::Rgb24: return 24;
    case PixelFormat::Argb32: return 32;
    }
    return 32;
}

std::uint32_t MonoOf(std::uint32_t pixel)
{
    unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    // Luminance with integer weights; mid-grey and above counts as white.
    return (r * 30 + g * 59 + b * 11) >= 128 * 100 ? 0x00FFFFFFu : 0u;
}

Surface::Surface(int width, int height, PixelFormat format) : format_(format)
{
    Resize(width, height);
    if (format_ == PixelFormat::Mono1)
        palette_ = {0xFF000000u, 0xFFFFFFFFu};
}

void Surface::Resize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    QImage next;
    if (width > 0 && height > 0) {
        // A size beyond any real bitmap would only be committed page by page as it is drawn (and
        // then exhaust memory), and a failed allocation leaves a null image: both refuse here,
        // before anything of this surface changes.
        if (std::int64_t(width) * height > kMaxSurfacePixels)
            throw rtl::EOutOfResources("Not enough storage is available to process this command");
        next = QImage(width, height, QImage::Format_ARGB32);
        if (next.isNull())
            throw rtl::EOutOfResources("Not enough storage is available to process this command");
        next.fill(format_ == PixelFormat::Mono1 ? 0x00FFFFFFu : 0u);
        int w = std::min(width, image_.width()), h = std::min(height, image_.height());
        for (int y = 0; y < h; ++y)
            std::memcpy(next.scanLine(y), image_.constScanLine(y), size_t(w) * 4);
    }
    image_ = std::move(next);
    width_ = width;
    height_ = height;
}

void Surface::SetFormat(PixelFormat format)
{
    if (format == format_)
        return;
    format_ = format;
    if (format_ == PixelFormat::Mono1) {
        palette_ = {0xFF000000u, 0xFFFFFFFFu};
        for (int y = 0; y < image_.height(); ++y)
            for (std::uint32_t* p = Row(y), *e = p + image_.width(); p != e; ++p)
                *p = MonoOf(*p);
    } else if (BitsPerPixel(format_) > 8) {
        palette_.clear();
    }
}

void Surface::Fill(std::uint32_t v)
{
    if (!image_.isNull())
        image_.fill(Normalise(v));
}

std::uint32_t Surface::Normalise(std::uint32_t pixel) const
{
    return IsMono() ? MonoOf(pixel) : pixel;
}

HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitCount, const void* bits)
{
    PixelFormat format;
    switch (bitCount) {
    case 1: format = PixelFormat::Mono1; break;
    case 4: format = PixelFormat::Pal4; break;
    case 8: format = PixelFormat::Pal8; break;
    case 16: format = PixelFormat::Rgb16; break;
    case 24: format = PixelFormat::Rgb24; break;
    case 32: format = PixelFormat::Argb32; break;
    default: return nullptr;
    }
    if (planes != 1 || width <= 0 || height <= 0 || std::int64_t(width) * height > kMaxSurfacePixels)
        return nullptr;
    if (bits)
        return nullptr;   // initial bits are not taken: every caller starts from a cleared bitmap
    return std::make_unique<Surface>(width, height, format).release();
}

bool DeleteObject(HBITMAP bitmap)
{
    if (!bitmap)
        return false;
    delete bitmap;
    return true;
}

int GetObject(HBITMAP bitmap, int size, void* out)
{
    if (!bitmap || !out || size < int(sizeof(BITMAP)))
        return 0;
    BITMAP info;
    info.bmWidth = bitmap->Width();
    info.bmHeight = bitmap->Height();
    info.bmBitsPixel = std::uint16_t(BitsPerPixel(bitmap->Format()) == 15 ? 16 : BitsPerPixel(bitmap->Format()));
    info.bmWidthBytes = ((info.bmWidth * info.bmBitsPixel + 15) / 16) * 2;
    info.bmPlanes = 1;
    std::memcpy(out, &info, sizeof info);
    return int(sizeof info);
}

} // namespace gdi
