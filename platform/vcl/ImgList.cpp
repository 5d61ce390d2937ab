#include "platform/vcl/ImgList.h"

#include "platform/gdi/Draw.h"
#include "platform/rtl/TypInfo.h"

#include <algorithm>
#include <cstring>

using namespace gdi;

namespace vcl {

// One image: cx × cy pixels, row by row from the top, and its mask (1 = transparent).
struct ListImage {
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> mask;
};

struct ImageListData {
    int cx = 0, cy = 0;
    unsigned flags = 0;
    COLORREF bk = CLR_NONE;
    std::vector<ListImage> images;
    // The strip bitmaps handed out by ImageList_GetImageInfo, rebuilt when the list changed.
    Surface stripImage, stripMask;
    bool stripValid = false;
};

} // namespace vcl

namespace {

using vcl::ListImage;

bool IsWhite(std::uint32_t pixel) { return (pixel & 0xFFFFFFu) == 0xFFFFFFu; }

bool HasAlpha(const ListImage& image)
{
    return std::any_of(image.pixels.begin(), image.pixels.end(), [](std::uint32_t p) { return (p >> 24) != 0; });
}

// Cuts the bitmap into images of the list's size; a pixel outside the bitmap is black and
// opaque, a mask pixel outside the mask opaque.
int AddCells(HIMAGELIST list, const Surface& image, const Surface* mask, const COLORREF* maskColor)
{
    if (!list || image.IsEmpty())
        return -1;
    if (ImageList_CellCount(list->cx, list->cy, image.Width(), image.Height()) == 0)
        return -1;
    const int cols = image.Width() / list->cx;
    const int rows = (image.Height() % list->cy == 0 && image.Height() > list->cy) ? image.Height() / list->cy : 1;
    const int first = int(list->images.size());
    const std::uint32_t keyed = maskColor ? ColorToPixel(*maskColor & 0xFFFFFF) : 0;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) {
            ListImage cell;
            cell.pixels.assign(size_t(list->cx * list->cy), 0);
            cell.mask.assign(size_t(list->cx * list->cy), 0);
            for (int y = 0; y < list->cy; ++y)
                for (int x = 0; x < list->cx; ++x) {
                    const int sx = col * list->cx + x, sy = row * list->cy + y;
                    if (sx >= image.Width() || sy >= image.Height())
                        continue;
                    const size_t i = size_t(y * list->cx + x);
                    std::uint32_t p = image.Pixel(sx, sy);
                    bool transparent = false;
                    if (maskColor)
                        transparent = (p & 0xFFFFFFu) == keyed;
                    else if (mask && sx < mask->Width() && sy < mask->Height())
                        transparent = IsWhite(mask->Pixel(sx, sy));
                    if (maskColor && transparent)
                        p = 0;
                    cell.pixels[i] = p;
                    cell.mask[i] = transparent ? 1 : 0;
                }
            list->images.push_back(std::move(cell));
        }
    list->stripValid = false;
    return first;
}

void BuildStrip(HIMAGELIST list)
{
    if (list->stripValid)
        return;
    const int n = int(list->images.size());
    list->stripImage = Surface(list->cx * n, list->cy, PixelFormat::Argb32);
    list->stripMask = Surface(list->cx * n, list->cy, PixelFormat::Mono1);
    for (int i = 0; i < n; ++i)
        for (int y = 0; y < list->cy; ++y)
            for (int x = 0; x < list->cx; ++x) {
                const size_t k = size_t(y * list->cx + x);
                list->stripImage.SetPixel(i * list->cx + x, y, list->images[size_t(i)].pixels[k]);
                list->stripMask.SetPixel(i * list->cx + x, y, list->images[size_t(i)].mask[k] ? 0xFFFFFFu : 0u);
            }
    list->stripValid = true;
}

std::uint8_t Blend(std::uint32_t s, std::uint32_t d, int shift, unsigned alpha)
{
    const unsigned sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
    return std::uint8_t(std::min(255u, sc + (dc * (255 - alpha) + 127) / 255));
}

} // namespace

std::int64_t ImageList_CellCount(int cx, int cy, int width, int height)
{
    if (cx <= 0 || cy <= 0 || width <= 0 || height <= 0)
        return 0;
    const std::int64_t rows = (height % cy == 0 && height > cy) ? height / cy : 1;
    return std::int64_t(width / cx) * rows;
}

HIMAGELIST ImageList_Create(int cx, int cy, unsigned flags, int, int)
{
    if (cx <= 0 || cy <= 0 || cx > MaxImageSide || cy > MaxImageSide)
        return nullptr;
    auto* list = new vcl::ImageListData;
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    return list;
}

bool ImageList_Destroy(HIMAGELIST list)
{
    delete list;
    return list != nullptr;
}

int ImageList_GetImageCount(HIMAGELIST list) { return list ? int(list->images.size()) : 0; }

bool ImageList_GetIconSize(HIMAGELIST list, int& cx, int& cy)
{
    if (!list)
        return false;
    cx = list->cx;
    cy = list->cy;
    return true;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
    return image ? AddCells(list, *image, mask, nullptr) : -1;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor)
{
    return image ? AddCells(list, *image, nullptr, &maskColor) : -1;
}

bool ImageList_Remove(HIMAGELIST list, int index)
{
    if (!list)
        return false;
    if (index == -1)
        list->images.clear();
    else if (index >= 0 && index < int(list->images.size()))
        list->images.erase(list->images.begin() + index);
    else
        return false;
    list->stripValid = false;
    return true;
}

bool ImageList_Copy(HIMAGELIST dest, int destIndex, HIMAGELIST source, int sourceIndex, unsigned flags)
{
    if (!dest || dest != source)
        return false;
    const int n = int(dest->images.size());
    if (destIndex < 0 || destIndex >= n || sourceIndex < 0 || sourceIndex >= n)
        return false;
    if (flags & ILCF_SWAP)
        std::swap(dest->images[size_t(destIndex)], dest->images[size_t(sourceIndex)]);
    else
        dest->images[size_t(destIndex)] = dest->images[size_t(sourceIndex)];
    dest->stripValid = false;
    return true;
}

bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, unsigned style)
{
    if (!list || !dc || index < 0 || index >= int(list->images.size()))
        return false;
    const ListImage& image = list->images[size_t(index)];
    const int cx = list->cx, cy = list->cy;
    if (style & ILD_MASK) {
        Surface mask(cx, cy, PixelFormat::Mono1);
        for (int py = 0; py < cy; ++py)
            for (int px = 0; px < cx; ++px)
                mask.SetPixel(px, py, image.mask[size_t(py * cx + px)] ? 0xFFFFFFu : 0u);
        Dc maskDc(&mask);
        return BitBlt(*dc, x, y, cx, cy, &maskDc, 0, 0, SRCCOPY);
    }
    // Composed on a copy of what lies under the image, then copied back under the clip.
    Surface under(cx, cy, PixelFormat::Argb32);
    Dc underDc(&under);
    BitBlt(underDc, 0, 0, cx, cy, dc, x, y, SRCCOPY);
    const bool alpha = HasAlpha(image);
    const bool onBackground = !(style & ILD_TRANSPARENT) && list->bk != CLR_NONE;
    const std::uint32_t bk = ColorToPixel(list->bk & 0xFFFFFF);
    for (int py = 0; py < cy; ++py)
        for (int px = 0; px < cx; ++px) {
            const size_t k = size_t(py * cx + px);
            std::uint32_t& d = under.Row(py)[px];
            if (onBackground)
                d = bk;
            const std::uint32_t s = image.pixels[k];
            if (alpha) {
                const unsigned a = s >> 24;
                d = (std::uint32_t(Blend(s, d, 24, a)) << 24) | (std::uint32_t(Blend(s, d, 16, a)) << 16) |
                    (std::uint32_t(Blend(s, d, 8, a)) << 8) | Blend(s, d, 0, a);
            } else if (!image.mask[k]) {
                d = s & 0xFFFFFFu;
            }
        }
    return BitBlt(*dc, x, y, cx, cy, &underDc, 0, 0, SRCCOPY);
}

bool ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info)
{
    if (!list || !info || index < -1 || index >= int(list->images.size()))
        return false;
    BuildStrip(list);
    info->hbmImage = &list->stripImage;
    info->hbmMask = &list->stripMask;
    info->rcImage = index < 0 ? TRect{0, 0, list->stripImage.Width(), list->cy}
                              : TRect{index * list->cx, 0, (index + 1) * list->cx, list->cy};
    return true;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color)
{
    if (!list)
        return CLR_NONE;
    const COLORREF old = list->bk;
    list->bk = color;
    return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) { return list ? list->bk : CLR_NONE; }

namespace {
constexpr std::uint32_t ImageListSignature = 0x314C4D49; // "IML1"
} // namespace

bool ImageList_Write(HIMAGELIST list, rtl::TStream* stream)
{
    if (!list || !stream)
        return false;
    rtl::WriteLE<std::uint32_t>(stream, ImageListSignature);
    rtl::WriteLE<std::int32_t>(stream, list->cx);
    rtl::WriteLE<std::int32_t>(stream, list->cy);
    rtl::WriteLE<std::uint32_t>(stream, list->flags);
    rtl::WriteLE<std::uint32_t>(stream, list->bk);
    rtl::WriteLE<std::int32_t>(stream, int(list->images.size()));
    for (const ListImage& image : list->images) {
        for (std::uint32_t p : image.pixels)
            rtl::WriteLE<std::uint32_t>(stream, p);
        stream->WriteBuffer(image.mask.data(), std::int64_t(image.mask.size()));
    }
    return true;
}

HIMAGELIST ImageList_Read(rtl::TStream* stream)
{
    if (!stream || stream->Size() - stream->Position() < 24)
        return nullptr;
    if (rtl::ReadLE<std::uint32_t>(stream) != ImageListSignature)
        return nullptr;
    const int cx = rtl::ReadLE<std::int32_t>(stream), cy = rtl::ReadLE<std::int32_t>(stream);
    const unsigned flags = rtl::ReadLE<std::uint32_t>(stream);
    const COLORREF bk = rtl::ReadLE<std::uint32_t>(stream);
    const int count = rtl::ReadLE<std::int32_t>(stream);
    if (cx <= 0 || cy <= 0 || cx > MaxImageSide || cy > MaxImageSide || count < 0)
        return nullptr;
    const std::int64_t cell = std::int64_t(cx) * cy * 5;
    if (std::int64_t(count) * cell > stream->Size() - stream->Position())
        return nullptr;
    // The strip handed out by ImageList_GetImageInfo must be storable too.
    if (std::int64_t(count) * cx * cy > gdi::kMaxSurfacePixels)
        return nullptr;
    HIMAGELIST list = ImageList_Create(cx, cy, flags, count, 4);
    list->bk = bk;
    list->images.resize(size_t(count));
    for (ListImage& image : list->images) {
        image.pixels.resize(size_t(cx * cy));
        for (std::uint32_t& p : image.pixels)
            p = rtl::ReadLE<std::uint32_t>(stream);
        image.mask.resize(size_t(cx * cy));
        stream->ReadBuffer(image.mask.data(), std::int64_t(image.mask.size()));
        for (auto& m : image.mask)
            m = m ? 1 : 0;
    }
    return list;
}

// ---- TChangeLink ----

TChangeLink::~TChangeLink()
{
    if (Sender)
        Sender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    if (Sender)
        rtl::CallEvent(OnChange, Sender);
}

// ---- TCustomImageList ----

TCustomImageList::TCustomImageList(rtl::TComponent* owner) : TComponent(owner) { CreateImageList(); }

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : links_)
        link->Sender = nullptr;
    FreeHandle();
}

void TCustomImageList::CreateImageList()
{
    FreeHandle();
    handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, AllocBy, AllocBy);
    ownHandle_ = true;
    ImageList_SetBkColor(handle_, bkColor_ == clNone ? CLR_NONE : ColorToRef(bkColor_));
}

// ShareImages protects a handle given to the list from outside; the list's own handles (made
// here or read from a stream) are always its to free, whatever a stream set ShareImages to.
void TCustomImageList::FreeHandle()
{
    if (handle_ && (ownHandle_ || !shareImages_))
        ImageList_Destroy(handle_);
    handle_ = nullptr;
    ownHandle_ = false;
}

// A new image size empties the list, as the system list cannot resize its images. A size the
// system list cannot hold is refused before anything changes.
void TCustomImageList::SetWidth(int value)
{
    if (value == width_ || value <= 0)
        return;
    if (value > MaxImageSide)
        throw rtl::EInvalidOperation("Invalid image size");
    width_ = value;
    CreateImageList();
    HandleChanged();
    Change();
}

void TCustomImageList::SetHeight(int value)
{
    if (value == height_ || value <= 0)
        return;
    if (value > MaxImageSide)
        throw rtl::EInvalidOperation("Invalid image size");
    height_ = value;
    CreateImageList();
    HandleChanged();
    Change();
}

void TCustomImageList::SetBkColor(TColor value)
{
    bkColor_ = value;
    ImageList_SetBkColor(handle_, value == clNone ? CLR_NONE : ColorToRef(value));
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle value)
{
    if (value != drawingStyle_) {
        drawingStyle_ = value;
        Change();
    }
}

void TCustomImageList::SetImageType(TImageType value)
{
    if (value != imageType_) {
        imageType_ = value;
        Change();
    }
}

int TCustomImageList::Count() const { return ImageList_GetImageCount(handle_); }

HIMAGELIST TCustomImageList::GetHandle() { return handle_; }

void TCustomImageList::SetHandle(HIMAGELIST value)
{
    if (value == handle_)
        return;
    FreeHandle();
    handle_ = value;
    ownHandle_ = false;
    if (handle_) {
        ImageList_GetIconSize(handle_, width_, height_);
        const COLORREF bk = ImageList_GetBkColor(handle_);
        bkColor_ = bk == CLR_NONE ? clNone : TColor(bk);
    }
    Change();
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    const int index = ImageList_Add(handle_, image ? image->GetHandle() : nullptr, mask ? mask->GetHandle() : nullptr);
    Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    const int index = ImageList_AddMasked(handle_, image ? image->GetHandle() : nullptr, ColorToRef(maskColor));
    Change();
    return index;
}

void TCustomImageList::Delete(int index)
{
    if (index >= Count())
        throw rtl::EInvalidOperation("Invalid ImageList Index");
    ImageList_Remove(handle_, index);
    Change();
}

void TCustomImageList::Move(int currentIndex, int newIndex)
{
    if (currentIndex == newIndex)
        return;
    const int step = newIndex > currentIndex ? 1 : -1;
    for (int i = currentIndex; i != newIndex; i += step)
        ImageList_Copy(handle_, i + step, handle_, i, ILCF_SWAP);
    Change();
}

unsigned TCustomImageList::DrawStyleFlags(TDrawingStyle style, TImageType type) const
{
    static const unsigned styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    const unsigned base = unsigned(style) < std::size(styles) ? styles[style] : ILD_NORMAL;
    return base | (type == itMask ? ILD_MASK : 0u);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    Draw(canvas, x, y, index, drawingStyle_, imageType_, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type,
                            bool enabled)
{
    if (handle_ && canvas)
        DoDraw(index, canvas, x, y, DrawStyleFlags(style, type), enabled);
}

// Disabled images are embossed: the opaque shape in the button highlight colour one pixel
// down-right, then in the button shadow colour.
void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, unsigned style, bool enabled)
{
    HDC dc = canvas->GetHandle();
    if (enabled) {
        ImageList_Draw(handle_, index, dc, x, y, style);
        return;
    }
    if (index < 0 || index >= Count())
        return;
    const ListImage& image = handle_->images[size_t(index)];
    const int cx = width_, cy = height_;
    const std::uint32_t colors[2] = {ColorToPixel(ColorToRef(clBtnHighlight)), ColorToPixel(ColorToRef(clBtnShadow))};
    for (int pass = 0; pass < 2; ++pass) {
        Surface under(cx, cy, PixelFormat::Argb32);
        Dc underDc(&under);
        const int ox = x + 1 - pass, oy = y + 1 - pass;
        BitBlt(underDc, 0, 0, cx, cy, dc, ox, oy, SRCCOPY);
        for (int py = 0; py < cy; ++py)
            for (int px = 0; px < cx; ++px) {
                const size_t k = size_t(py * cx + px);
                const bool opaque = HasAlpha(image) ? (image.pixels[k] >> 24) != 0 : !image.mask[k];
                if (opaque)
                    under.Row(py)[px] = colors[pass];
            }
        BitBlt(*dc, ox, oy, cx, cy, &underDc, 0, 0, SRCCOPY);
    }
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image)
{
    if (!image || index < 0 || index >= Count())
        return false;
    image->SetPixelFormat(pf32bit);
    image->SetSize(width_, height_);
    image->Canvas()->Brush()->SetColor(bkColor_ == clNone ? clBlack : bkColor_);
    image->Canvas()->FillRect({0, 0, width_, height_});
    ImageList_Draw(handle_, index, image->Canvas()->GetHandle(), 0, 0, ILD_NORMAL);
    return true;
}

void TCustomImageList::Assign(rtl::TPersistent* source)
{
    auto* list = dynamic_cast<TCustomImageList*>(source);
    if (!list) {
        TComponent::Assign(source);
        return;
    }
    width_ = list->width_;
    height_ = list->height_;
    AllocBy = list->AllocBy;
    bkColor_ = list->bkColor_;
    BlendColor = list->BlendColor;
    drawingStyle_ = list->drawingStyle_;
    imageType_ = list->imageType_;
    CreateImageList();
    if (list->handle_)
        handle_->images = list->handle_->images;
    HandleChanged();
    Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link)
        return;
    link->Sender = this;
    if (std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    auto it = std::find(links_.begin(), links_.end(), link);
    if (it == links_.end())
        return;
    links_.erase(it);
    link->Sender = nullptr;
}

void TCustomImageList::Change()
{
    const auto links = links_; // a handler may unregister its link
    for (TChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->Change();
    rtl::CallEvent(OnChange, this);
}

// ---- stream form ----

namespace {

void WriteValue(rtl::TWriter* writer, const rtl::TPropInfo& prop, const rtl::Variant& value)
{
    writer->WriteString(prop.Name);
    if (prop.Kind == rtl::tkEnumeration && prop.EnumNames.size() == 2 && prop.EnumNames[0] == "False")
        writer->WriteBoolean(value.ToBoolean());
    else
        writer->WriteInteger(std::int32_t(value.ToInteger()));
}

} // namespace

void TCustomImageList::WriteState(rtl::TWriter* writer, TCustomImageList* ancestor)
{
    for (const rtl::TPropInfo* prop : rtl::GetPropList(ClassType()))
        if (prop->Get && prop->Kind != rtl::tkClass && prop->Kind != rtl::tkMethod)
            WriteValue(writer, *prop, prop->Get(this));
    WriteData(writer, ancestor);
    writer->WriteString("");
}

// A damaged stream raises EReadError and leaves the list as it was: the list's own state is
// written aside first and read back over whatever the damaged stream had set.
void TCustomImageList::ReadState(rtl::TReader* reader)
{
    rtl::TMemoryStream saved;
    {
        rtl::TWriter writer(&saved, 4096);
        WriteState(&writer);
        writer.FlushBuffer();
    }
    try {
        ReadValues(reader);
    } catch (const rtl::Exception& e) {
        const std::string message = e.Message;
        const bool readError = dynamic_cast<const rtl::EReadError*>(&e) != nullptr;
        Restore(saved);
        if (readError)
            throw;
        throw rtl::EReadError("Error reading " + ClassName() + ": " + message);
    } catch (...) {
        Restore(saved);
        throw;
    }
}

void TCustomImageList::Restore(rtl::TMemoryStream& saved)
{
    try {
        Clear();
        saved.SetPosition(0);
        rtl::TReader reader(&saved, 4096);
        ReadValues(&reader);
    } catch (...) {
        // What the list wrote itself reads back; should it not, the list stays empty and valid.
    }
}

void TCustomImageList::ReadValues(rtl::TReader* reader)
{
    for (std::string name = reader->ReadString(); !name.empty(); name = reader->ReadString()) {
        if (ReadData(name, reader))
            continue;
        const rtl::TPropInfo* prop = rtl::GetPropInfo(ClassType(), name);
        if (!prop || !prop->Set)
            throw rtl::EReadError("Error reading " + ClassName() + "." + name + ": Property " + name +
                                  " does not exist");
        const bool isBoolean = prop->Kind == rtl::tkEnumeration && prop->EnumNames.size() == 2 &&
                               prop->EnumNames[0] == "False";
        if (reader->NextValue() == rtl::vaBoolean) {
            // Only a Boolean property takes a Boolean: an enumeration would be set to an
            // ordinal it lacks, and the list would write a stream it cannot read back.
            if (!isBoolean)
                throw rtl::EReadError("Error reading " + ClassName() + "." + name + ": Invalid property value");
            prop->Set(this, rtl::Variant(reader->ReadBoolean()));
            continue;
        }
        const std::int32_t value = reader->ReadInteger();
        // An enumeration takes only its own ordinals, an image side only what the list can hold.
        const bool outOfRange =
            (prop->Kind == rtl::tkEnumeration && (value < 0 || value >= std::int32_t(prop->EnumNames.size()))) ||
            ((name == "Width" || name == "Height") && (value <= 0 || value > MaxImageSide));
        if (outOfRange)
            throw rtl::EReadError("Error reading " + ClassName() + "." + name + ": Invalid property value");
        prop->Set(this, rtl::Variant(value));
    }
}

void TCustomImageList::WriteData(rtl::TWriter* writer, TCustomImageList*)
{
    rtl::TMemoryStream data;
    ImageList_Write(handle_, &data);
    writer->WriteString("Bitmap");
    writer->WriteString(std::string(reinterpret_cast<const char*>(data.Memory()), size_t(data.Size())));
}

bool TCustomImageList::ReadData(const std::string& name, rtl::TReader* reader)
{
    if (name != "Bitmap")
        return false;
    const std::string bytes = reader->ReadString();
    rtl::TMemoryStream data(std::vector<Byte>(bytes.begin(), bytes.end()));
    HIMAGELIST list = ImageList_Read(&data);
    if (!list)
        throw rtl::EReadError("Failed to read ImageList data from stream");
    FreeHandle();
    handle_ = list;
    ownHandle_ = true;
    ImageList_GetIconSize(handle_, width_, height_);
    HandleChanged();
    Change();
    return true;
}

namespace {
const bool imageListPropsRegistered = [] {
    using L = TCustomImageList;
    std::vector<rtl::TPropInfo> props;
    props.push_back(rtl::PublishedProp<L, TColor>("BkColor", rtl::tkInteger, &L::GetBkColor, &L::SetBkColor));
    auto drawing = rtl::PublishedProp<L, TDrawingStyle>("DrawingStyle", rtl::tkEnumeration, &L::GetDrawingStyle,
                                                        &L::SetDrawingStyle);
    drawing.EnumNames = {"dsFocus", "dsSelected", "dsNormal", "dsTransparent"};
    props.push_back(drawing);
    props.push_back(rtl::PublishedProp<L, int>("Height", rtl::tkInteger, &L::GetHeight, &L::SetHeight));
    auto type = rtl::PublishedProp<L, TImageType>("ImageType", rtl::tkEnumeration, &L::GetImageType, &L::SetImageType);
    type.EnumNames = {"itImage", "itMask"};
    props.push_back(type);
    auto share = rtl::PublishedProp<L, bool>("ShareImages", rtl::tkEnumeration, &L::GetShareImages, &L::SetShareImages);
    share.EnumNames = {"False", "True"};
    props.push_back(share);
    props.push_back(rtl::PublishedProp<L, int>("Width", rtl::tkInteger, &L::GetWidth, &L::SetWidth));
    rtl::RegisterPublishedProperties(L::StaticClass(), std::move(props));
    return true;
}();
} // namespace
