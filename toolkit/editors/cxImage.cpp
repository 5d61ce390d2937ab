#include "toolkit/editors/cxImage.h"

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Jpeg.h"
#include "toolkit/core/dxGDIPlusClasses.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace cx {

namespace {

std::vector<TGraphicClass>& Registry()
{
    static std::vector<TGraphicClass> classes{
        TGraphicClass::Of<TBitmap>(),     TGraphicClass::Of<TIcon>(),      TGraphicClass::Of<TMetafile>(),
        TGraphicClass::Of<TdxPNGImage>(), TGraphicClass::Of<TJPEGImage>(),
    };
    return classes;
}

// The value's bytes, or false for a value that cannot hold a picture.
bool ValueBytes(const rtl::Variant& value, std::string& bytes)
{
    if (rtl::VarIsStr(value)) {
        bytes = value.ToString();
        return true;
    }
    if (!value.IsArray())
        return false;
    bytes.clear();
    for (int i = value.LowBound(); i <= value.HighBound(); ++i)
        bytes.push_back(char(std::uint8_t(value[i].ToInteger())));
    return true;
}

// The graphic header: count 1 (16 bits), type 0x0100 (16 bits), then the size of what follows.
std::size_t GraphicHeaderLength(const std::string& bytes)
{
    if (bytes.size() < 8)
        return 0;
    auto b = [&](std::size_t i) { return std::uint32_t(std::uint8_t(bytes[i])); };
    const std::uint32_t size = b(4) | b(5) << 8 | b(6) << 16 | b(7) << 24;
    const bool header = b(0) == 1 && b(1) == 0 && b(2) == 0 && b(3) == 1 && size == bytes.size() - 8;
    return header ? 8 : 0;
}

} // namespace

const std::vector<TGraphicClass>& GetRegisteredGraphicClasses() { return Registry(); }

void RegisterGraphicClass(TGraphicClass graphicClass)
{
    auto& list = Registry();
    if (graphicClass && std::find(list.begin(), list.end(), graphicClass) == list.end())
        list.push_back(graphicClass);
}

void UnRegisterGraphicClass(TGraphicClass graphicClass)
{
    auto& list = Registry();
    list.erase(std::remove(list.begin(), list.end(), graphicClass), list.end());
}

TGraphicClass GetGraphicClassByName(const std::string& className)
{
    for (const auto& c : Registry())
        if (rtl::SameText(c.ClassName(), className))
            return c;
    return {};
}

void LoadPicture(TPicture* picture, TGraphicClass graphicClass, const rtl::Variant& value)
{
    std::string bytes;
    if (!ValueBytes(value, bytes) || bytes.size() <= 7) {
        picture->Assign(nullptr);
        return;
    }
    const std::size_t skip = GraphicHeaderLength(bytes);
    rtl::TMemoryStream stream(std::vector<Byte>(bytes.begin() + std::ptrdiff_t(skip), bytes.end()));
    try {
        if (graphicClass) {
            std::unique_ptr<TGraphic> graphic(graphicClass.Create());
            graphic->LoadFromStream(&stream);
            picture->SetGraphic(graphic.release());
        } else {
            // Read into a separate bitmap so that a damaged value leaves nothing half-read.
            auto bitmap = std::make_unique<TBitmap>();
            bitmap->LoadFromStream(&stream);
            picture->SetGraphic(bitmap.release());
        }
    } catch (const std::exception&) {
        picture->Assign(nullptr);
    }
}

std::string SavePicture(TPicture* picture)
{
    if (!picture || picture->IsEmpty())
        return {};
    rtl::TMemoryStream stream;
    picture->GetGraphic()->SaveToStream(&stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
}

bool CanPasteFromClipboard(TGraphicClass pastingGraphicClass)
{
    const TClipboard* clipboard = Clipboard();
    if (pastingGraphicClass == TGraphicClass::Of<TBitmap>() || pastingGraphicClass == TGraphicClass::Of<TJPEGImage>())
        return clipboard->HasFormat(CF_BITMAP);
    if (pastingGraphicClass == TGraphicClass::Of<TIcon>() || pastingGraphicClass == TGraphicClass::Of<TMetafile>())
        return false;
    return clipboard->HasFormat(CF_PICTURE);
}

bool PastePictureFromClipboard(TPicture* picture, TGraphicClass pastingGraphicClass)
{
    TClipboard* clipboard = Clipboard();
    if (!clipboard->HasFormat(CF_BITMAP)) {
        if (!clipboard->HasFormat(CF_PICTURE))
            return false;
        picture->Assign(clipboard);
        return true;
    }
    auto bitmap = std::make_unique<TBitmap>();
    if (!clipboard->GetBitmap(bitmap.get()))
        return false;
    if (pastingGraphicClass == TGraphicClass::Of<TJPEGImage>()) {
        auto jpeg = std::make_unique<TJPEGImage>();
        jpeg->Assign(bitmap.get());
        jpeg->JPEGNeeded();
        picture->SetGraphic(jpeg.release());
    } else {
        picture->SetGraphic(bitmap.release());
    }
    return true;
}

bool cxImageGetRealStretch(const TSize& picture, const TSize& client, bool stretch, bool proportional)
{
    return stretch || (proportional && (picture.cx > client.cx || picture.cy > client.cy));
}

TRect cxImageDrawRect(const TSize& picture, const TRect& client, bool stretch, bool proportional, bool center,
                      const TPoint& scrollOffset)
{
    const int cw = client.Right - client.Left, ch = client.Bottom - client.Top;
    int w = picture.cx, h = picture.cy;
    if (cxImageGetRealStretch(picture, {cw, ch}, stretch, proportional)) {
        if (!proportional || picture.cx <= 0 || picture.cy <= 0) {
            w = cw;
            h = ch;
        } else if (std::int64_t(cw) * picture.cy >= std::int64_t(picture.cx) * ch) {
            // The client is relatively wider: the height limits.
            h = ch;
            w = int(std::int64_t(ch) * picture.cx / picture.cy);
        } else {
            w = cw;
            h = int(std::int64_t(cw) * picture.cy / picture.cx);
        }
    }
    TPoint origin{client.Left, client.Top};
    if (center)
        origin = {client.Left + (cw - w) / 2, client.Top + (ch - h) / 2};
    else
        origin = {client.Left - scrollOffset.X, client.Top - scrollOffset.Y};
    return {origin.X, origin.Y, origin.X + w, origin.Y + h};
}

int cxImageScaledSide(int pictureSide, int pictureOtherSide, int available)
{
    if (pictureOtherSide <= 0)
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    return int(std::nearbyint(double(available) * pictureSide / pictureOtherSide));
}

} // namespace cx
