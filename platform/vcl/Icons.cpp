// Icons: a picture and its mask, the icon file through Qt's reader and writer, and drawing
// through a one-image system image list.
#include "platform/vcl/BitmapStreams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ImgList.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;

// The icon file's largest picture side.
constexpr int kMaxIconSide = 256;

} // namespace

TIcon::TIcon() : image_(std::make_unique<TBitmap>()), mask_(std::make_unique<TBitmap>())
{
    image_->SetPixelFormat(pf32bit);
    mask_->SetPixelFormat(pf1bit);
}

TIcon::~TIcon() = default;

int TIcon::GetWidth() const { return image_->GetWidth(); }
int TIcon::GetHeight() const { return image_->GetHeight(); }
bool TIcon::GetEmpty() const { return image_->GetEmpty(); }

void TIcon::SetImages(TBitmap* image, TBitmap* mask)
{
    auto newImage = std::make_unique<TBitmap>();
    auto newMask = std::make_unique<TBitmap>();
    newImage->SetPixelFormat(pf32bit);
    newMask->SetPixelFormat(pf1bit);
    const int w = image ? image->GetWidth() : 0, h = image ? image->GetHeight() : 0;
    newImage->SetSize(w, h);
    newMask->SetSize(w, h);
    if (w > 0 && h > 0) {
        TBitmap copy;
        copy.Assign(image);
        copy.SetPixelFormat(pf32bit);
        bool alpha = false;
        for (int y = 0; y < h; ++y) {
            std::memcpy(newImage->ScanLine(y), copy.ScanLine(y), size_t(w) * 4);
            for (int x = 0; x < w && !alpha; ++x)
                alpha = (copy.ScanLine(y)[x] >> 24) != 0;
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool transparent = false;
                if (mask && x < mask->GetWidth() && y < mask->GetHeight())
                    transparent = (mask->Surface().Pixel(x, y) & kWhite) != 0;
                else if (!mask)
                    transparent = alpha && (copy.ScanLine(y)[x] >> 24) == 0;
                newMask->ScanLine(y)[x] = transparent ? kWhite : 0;
            }
    }
    image_ = std::move(newImage);
    mask_ = std::move(newMask);
}

void TIcon::Assign(rtl::TPersistent* source)
{
    if (auto* icon = dynamic_cast<TIcon*>(source)) {
        if (icon != this)
            SetImages(icon->image_.get(), icon->mask_.get());
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::LoadFromStream(rtl::TStream* stream)
{
    const std::int64_t size = stream->Size() - stream->Position();
    // The icon directory (6 bytes) and one entry (16) at least; no sane icon file is larger
    // than its 256-pixel pictures at 32 bits with their masks, many times over.
    if (size < 22 || size > std::int64_t(64) << 20)
        throw EInvalidGraphic("Icon image is not valid");
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    stream->ReadBuffer(bytes.data(), size);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (b[0] != 0 || b[1] != 0 || b[2] != 1 || b[3] != 0 || (b[4] | b[5]) == 0)
        throw EInvalidGraphic("Icon image is not valid");
    QImage image;
    if (!image.loadFromData(bytes, "ICO") || image.isNull() || image.width() > kMaxIconSide ||
        image.height() > kMaxIconSide)
        throw EInvalidGraphic("Icon image is not valid");
    const QImage pre = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(pre.width(), pre.height());
    for (int y = 0; y < pre.height(); ++y)
        std::memcpy(picture.ScanLine(y), pre.constScanLine(y), size_t(pre.width()) * 4);
    SetImages(&picture, nullptr);
}

void TIcon::SaveToStream(rtl::TStream* stream)
{
    if (GetEmpty())
        throw EInvalidGraphic("Icon image is not valid");
    const int w = GetWidth(), h = GetHeight();
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    bool alpha = false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            alpha = alpha || (image_->ScanLine(y)[x] >> 24) != 0;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = image_->ScanLine(y)[x];
            if (mask_->Surface().Pixel(x, y) & kWhite)
                row[x] = 0;
            else
                row[x] = alpha ? p : (p | 0xFF000000u);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "ICO"))
        throw EInvalidGraphic("Icon image is not valid");
    stream->WriteBuffer(bytes.constData(), bytes.size());
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect)
{
    if (GetEmpty() || !canvas)
        return;
    HIMAGELIST list = ImageList_Create(GetWidth(), GetHeight(), ILC_COLOR32 | ILC_MASK, 1, 1);
    if (!list)
        return;
    if (ImageList_Add(list, image_->GetHandle(), mask_->GetHandle()) >= 0)
        ImageList_Draw(list, 0, canvas->GetHandle(), rect.Left, rect.Top, ILD_TRANSPARENT);
    ImageList_Destroy(list);
}

// ---- icons in system image lists ----

int ImageList_AddIcon(HIMAGELIST list, TIcon* icon)
{
    int cx = 0, cy = 0;
    if (!icon || icon->GetEmpty() || !ImageList_GetIconSize(list, cx, cy))
        return -1;
    if (icon->GetWidth() == cx && icon->GetHeight() == cy)
        return ImageList_Add(list, icon->Image()->GetHandle(), icon->Mask()->GetHandle());
    // Another size is stretched to the list's.
    TBitmap image, mask;
    image.SetPixelFormat(pf32bit);
    image.SetSize(cx, cy);
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(cx, cy);
    gdi::StretchBlt(*image.Canvas()->GetHandle(), 0, 0, cx, cy, icon->Image()->Canvas()->GetHandle(), 0, 0,
                    icon->GetWidth(), icon->GetHeight(), SRCCOPY);
    gdi::StretchBlt(*mask.Canvas()->GetHandle(), 0, 0, cx, cy, icon->Mask()->Canvas()->GetHandle(), 0, 0,
                    icon->GetWidth(), icon->GetHeight(), SRCCOPY);
    return ImageList_Add(list, image.GetHandle(), mask.GetHandle());
}

int TCustomImageList::AddIcon(TIcon* icon)
{
    const int index = ImageList_AddIcon(GetHandle(), icon);
    Change();
    return index;
}

// ---- module resources ----

namespace {

struct BitmapResource {
    HINSTANCE instance;
    std::string name;
    std::vector<Byte> file;
};

std::vector<BitmapResource>& Resources()
{
    static std::vector<BitmapResource> resources;
    return resources;
}

std::vector<BitmapResource>::iterator FindResource(HINSTANCE instance, const std::string& name)
{
    auto& all = Resources();
    return std::find_if(all.begin(), all.end(), [&](const BitmapResource& r) {
        return r.instance == instance && rtl::SameText(r.name, name);
    });
}

const int programModule = 0;

} // namespace

unsigned LoadResourceFlags(TLoadResources options)
{
    unsigned flags = LR_CREATEDIBSECTION;
    const unsigned bits[] = {0, LR_DEFAULTSIZE, LR_LOADFROMFILE, LR_LOADMAP3DCOLORS, LR_LOADTRANSPARENT, LR_MONOCHROME};
    for (int i = lrDefaultColor; i <= lrMonoChrome; ++i)
        if (options.Contains(TLoadResource(i)))
            flags |= bits[i];
    return flags;
}

COLORREF LoadResourceMask(TColor maskColor)
{
    return maskColor == clNone ? CLR_NONE : maskColor == clDefault ? CLR_DEFAULT : ColorToRef(maskColor);
}

const HINSTANCE HInstance = &programModule;

void RegisterBitmapResource(HINSTANCE instance, const std::string& name, std::vector<Byte> file)
{
    auto it = FindResource(instance, name);
    if (it != Resources().end())
        it->file = std::move(file);
    else
        Resources().push_back({instance, name, std::move(file)});
}

void UnregisterBitmapResource(HINSTANCE instance, const std::string& name)
{
    auto it = FindResource(instance, name);
    if (it != Resources().end())
        Resources().erase(it);
}

HIMAGELIST ImageList_LoadImage(HINSTANCE instance, const std::string& name, int cx, int grow, COLORREF mask,
                               unsigned type, unsigned flags)
{
    if (type != IMAGE_BITMAP)
        return nullptr;
    TBitmap bitmap;
    try {
        if (flags & LR_LOADFROMFILE) {
            rtl::TFileStream file(name, rtl::fmOpenRead | rtl::fmShareDenyWrite);
            LoadBitmapFromStream(&bitmap, &file);
        } else {
            auto it = FindResource(instance, name);
            if (it == Resources().end())
                return nullptr;
            rtl::TMemoryStream file(it->file);
            LoadBitmapFromStream(&bitmap, &file);
        }
    } catch (const rtl::Exception&) {
        return nullptr;
    }
    const int cy = bitmap.GetHeight();
    if (cx <= 0 || bitmap.GetWidth() < cx || cy <= 0 || cy > MaxImageSide)
        return nullptr;
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, bitmap.GetWidth() / cx, grow);
    if (!list)
        return nullptr;
    if (mask == CLR_DEFAULT)
        mask = gdi::PixelToColor(bitmap.Surface().Pixel(0, 0));
    const int index = mask == CLR_NONE ? ImageList_Add(list, bitmap.GetHandle(), nullptr)
                                       : ImageList_AddMasked(list, bitmap.GetHandle(), mask);
    if (index < 0) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}

bool TCustomImageList::GetInstRes(HINSTANCE instance, TResType type, const std::string& name, int width,
                                  TLoadResources options, TColor maskColor)
{
    const unsigned imageType = type == rtBitmap ? IMAGE_BITMAP : type == rtIcon ? IMAGE_ICON : IMAGE_CURSOR;
    HIMAGELIST list = ImageList_LoadImage(instance, name, width, AllocBy, LoadResourceMask(maskColor), imageType,
                                          LoadResourceFlags(options));
    if (!list)
        return false;
    SetHandle(list);
    return true;
}
