// TcxImageList: the system image list for drawing, and beside it the collection of the images
// as they were added.
#include "toolkit/core/cxGraphicsImages.h"

#include "platform/rtl/TypInfo.h"
#include "platform/vcl/BitmapStreams.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxGeometry.h"

#include <cstring>

using namespace rtl;
using namespace cx;

// ---- TcxImageInfo ----

TcxImageInfo::TcxImageInfo() : image_(std::make_unique<TcxBitmap>()), mask_(std::make_unique<TcxBitmap>()) {}
TcxImageInfo::~TcxImageInfo() = default;

void TcxImageInfo::Assign(TPersistent* source)
{
    if (auto* info = dynamic_cast<TcxImageInfo*>(source)) {
        SetImage(info->GetImage());
        SetMask(info->GetMask());
        MaskColor = info->MaskColor;
    } else {
        TPersistent::Assign(source);
    }
}

void TcxImageInfo::AssignBitmap(TBitmap* source, TBitmap* dest)
{
    if (!dest)
        return;
    if (source)
        dest->Assign(source);
    else
        dest->SetSize(0, 0);
}

// ---- TcxImageInfoItem ----

TcxImageInfoItem::TcxImageInfoItem(TCollection* collection)
    : TCollectionItem(collection), info_(std::make_unique<TcxImageInfo>())
{
    // An item made by the collection's Add has no collection yet: the collection gives it its
    // flag when the item is inserted (Notify).
    if (auto* images = dynamic_cast<TcxImageInfoCollection*>(collection))
        SetCompressData(images->CompressData);
}

TcxImageInfoItem::~TcxImageInfoItem() = default;

void TcxImageInfoItem::Assign(TPersistent* source)
{
    if (auto* item = dynamic_cast<TcxImageInfoItem*>(source))
        info_->Assign(item->info_.get());
    else
        TCollectionItem::Assign(source);
}

bool TcxImageInfoItem::GetCompressData() const
{
    return info_->GetImage()->CompressData && info_->GetMask()->CompressData;
}

void TcxImageInfoItem::SetCompressData(bool value)
{
    info_->GetImage()->CompressData = value;
    info_->GetMask()->CompressData = value;
}

namespace {
const bool itemPropsRegistered = [] {
    using I = TcxImageInfoItem;
    std::vector<TPropInfo> props;
    props.push_back(PublishedObjectProp<I, TBitmap>("Image", &I::GetImage, &I::SetImage));
    props.push_back(PublishedObjectProp<I, TBitmap>("Mask", &I::GetMask, &I::SetMask));
    props.push_back(PublishedProp<I, TColor>("MaskColor", tkInteger, &I::GetMaskColor, &I::SetMaskColor));
    RegisterPublishedProperties(I::StaticClass(), std::move(props));
    return true;
}();
} // namespace

// ---- TcxImageInfoCollection ----

TcxImageInfoCollection::TcxImageInfoCollection(TcxImageList* owner)
    : TCollection(TCollectionItemClass::Of<TcxImageInfoItem>()), owner_(owner)
{
}

TPersistent* TcxImageInfoCollection::GetOwner() { return owner_; }

void TcxImageInfoCollection::Notify(TCollectionItem* item, TCollectionNotification action)
{
    if (action == cnAdded)
        static_cast<TcxImageInfoItem*>(item)->SetCompressData(CompressData);
    TCollection::Notify(item, action);
}

TcxImageInfoItem* TcxImageInfoCollection::Add(TBitmap* image, TBitmap* mask, TColor maskColor)
{
    auto* item = static_cast<TcxImageInfoItem*>(TCollection::Add());
    item->SetImage(image);
    item->SetMask(mask);
    item->SetMaskColor(maskColor);
    return item;
}

void TcxImageInfoCollection::Move(int currentIndex, int newIndex)
{
    if (currentIndex >= 0 && currentIndex < Count())
        Items(currentIndex)->SetIndex(newIndex);
}

void TcxImageInfoCollection::Delete(int index)
{
    if (index == -1)
        Clear();
    else if (index >= 0 && index < Count())
        TCollection::Delete(index);
}

namespace {

void WriteBitmapValue(TWriter* writer, const std::string& name, TBitmap* bitmap)
{
    auto* cxBitmap = dynamic_cast<TcxBitmap*>(bitmap);
    if (!cxBitmap || cxBitmap->GetEmpty())
        return; // an empty bitmap writes no data
    TMemoryStream data;
    cxBitmap->WriteData(&data);
    writer->WriteString(name);
    writer->WriteString(std::string(reinterpret_cast<const char*>(data.Memory()), size_t(data.Size())));
}

void ReadBitmapValue(TReader* reader, TBitmap* bitmap)
{
    const std::string bytes = reader->ReadString();
    TMemoryStream data(std::vector<Byte>(bytes.begin(), bytes.end()));
    if (auto* cxBitmap = dynamic_cast<TcxBitmap*>(bitmap))
        cxBitmap->ReadData(&data);
    else
        ReadBitmapData(bitmap, &data);
}

} // namespace

void TcxImageInfoCollection::WriteItems(TWriter* writer)
{
    writer->WriteInteger(Count());
    for (int i = 0; i < Count(); ++i) {
        TcxImageInfoItem* item = Item(i);
        for (const TPropInfo* prop : GetPropList(item->ClassType())) {
            if (prop->Kind == tkClass) {
                WriteBitmapValue(writer, prop->Name, static_cast<TBitmap*>(prop->GetObject(item)));
            } else if (prop->Get) {
                const Variant value = prop->Get(item);
                if (prop->Name == "MaskColor" && TColor(value.ToInteger()) == clNone)
                    continue;
                writer->WriteString(prop->Name);
                writer->WriteInteger(std::int32_t(value.ToInteger()));
            }
        }
        writer->WriteString("");
    }
}

void TcxImageInfoCollection::ReadItems(TReader* reader)
{
    const int count = reader->ReadInteger();
    if (count < 0)
        throw EReadError("Invalid property value");
    BeginUpdate();
    try {
        for (int i = 0; i < count; ++i) {
            auto* item = static_cast<TcxImageInfoItem*>(TCollection::Add());
            for (std::string name = reader->ReadString(); !name.empty(); name = reader->ReadString()) {
                const TPropInfo* prop = GetPropInfo(item->ClassType(), name);
                if (!prop)
                    throw EReadError("Error reading " + item->ClassName() + "." + name + ": Property " + name +
                                     " does not exist");
                if (prop->Kind == tkClass)
                    ReadBitmapValue(reader, static_cast<TBitmap*>(prop->GetObject(item)));
                else
                    prop->Set(item, Variant(reader->ReadInteger()));
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- TcxImageList ----

TcxImageList::TcxImageList(TComponent* owner) : TDragImageList(owner)
{
    info_ = std::make_unique<TcxImageInfoCollection>(this);
    alphaBlending_ = true;
    CreateImageList();
}

TcxImageList::~TcxImageList() = default;

void TcxImageList::SetCompressData(bool value)
{
    info_->CompressData = value;
    for (int i = 0; i < info_->Count(); ++i)
        info_->Item(i)->SetCompressData(value);
}

void TcxImageList::EndUpdate(bool forceUpdate)
{
    if (lockCount_ <= 0)
        return;
    --lockCount_;
    if (forceUpdate)
        Change();
}

void TcxImageList::Change()
{
    if (!ChangeLocked())
        TDragImageList::Change();
}

// A new image size empties the system list; the collection follows.
void TcxImageList::HandleChanged()
{
    if (info_ && !synchronizing_)
        SynchronizeImageInfo();
}

void TcxImageList::AddToInternalCollection(TBitmap* image, TBitmap* mask, TColor maskColor)
{
    const int w = GetWidth(), h = GetHeight();
    const int iw = image->GetWidth(), ih = image->GetHeight();
    const bool grid = iw % w == 0 && ih % h == 0 && iw > 0 && ih > 0 && !(iw == w && ih == h);
    if (!grid) {
        info_->Add(image, mask, maskColor);
        return;
    }
    TcxBitmap cell(w, h, image->GetPixelFormat());
    TcxBitmap maskCell(w, h, mask ? mask->GetPixelFormat() : pf1bit);
    for (int y = 0; y < ih / h; ++y)
        for (int x = 0; x < iw / w; ++x) {
            const TPoint from{x * w, y * h};
            cell.CopyBitmap(image, cell.GetClientRect(), from, SRCCOPY);
            if (mask)
                maskCell.CopyBitmap(mask, maskCell.GetClientRect(), from, SRCCOPY);
            info_->Add(&cell, mask ? &maskCell : nullptr, maskColor);
        }
}

int TcxImageList::Add(TBitmap* image, TBitmap* mask)
{
    if (!image)
        return -1;
    std::unique_ptr<TBitmap> opaque;
    TBitmap* systemMask = mask;
    if (!mask) {
        opaque = std::make_unique<TBitmap>();
        opaque->SetMonochrome(true);
        opaque->SetSize(GetWidth(), GetHeight());
        opaque->Canvas()->Brush()->SetColor(clBlack);
        opaque->Canvas()->FillRect({0, 0, GetWidth(), GetHeight()});
        systemMask = opaque.get();
    }
    const int index = ImageList_Add(GetHandle(), image->GetHandle(), systemMask->GetHandle());
    if (index >= 0 && !synchronizing_)
        AddToInternalCollection(image, mask, clNone);
    Change();
    return index;
}

int TcxImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (maskColor == clNone)
        return Add(image, nullptr);
    if (!image)
        return -1;
    BeginUpdate();
    TBitmap copy;
    copy.Assign(image);
    const int index = ImageList_AddMasked(GetHandle(), copy.GetHandle(), ColorToRef(maskColor));
    if (index >= 0 && !synchronizing_)
        AddToInternalCollection(image, nullptr, maskColor);
    EndUpdate();
    return index;
}

int TcxImageList::AddIcon(TIcon* icon)
{
    BeginUpdate();
    const int index = TDragImageList::AddIcon(icon);
    if (index >= 0 && !synchronizing_) {
        TBitmap image, mask;
        GetImageInfo(GetHandle(), index, &image, &mask);
        AddToInternalCollection(&image, &mask, clNone);
    }
    EndUpdate();
    return index;
}

bool TcxImageList::GetInstRes(HINSTANCE instance, TResType type, const std::string& name, int width,
                              TLoadResources options, TColor maskColor)
{
    const bool loaded = TDragImageList::GetInstRes(instance, type, name, width, options, maskColor);
    if (loaded)
        SynchronizeImageInfo();
    return loaded;
}

bool TcxImageList::LoadImage(HINSTANCE instance, const std::string& name, TColor maskColor, int width,
                             TLoadResources options)
{
    HIMAGELIST handle = ImageList_LoadImage(instance, name, width, AllocBy, LoadResourceMask(maskColor), IMAGE_BITMAP,
                                            LoadResourceFlags(options));
    if (!handle)
        return false;
    TcxImageList temp(nullptr);
    temp.SetHandle(handle);
    CopyImages(&temp, 0, -1);
    return true;
}

void TcxImageList::InsertIcon(int index, TIcon* icon)
{
    if (index < 0 || index > Count())
        return;
    BeginUpdate();
    const int added = AddIcon(icon);
    if (added >= 0)
        Move(added, index);
    EndUpdate();
}

void TcxImageList::ReplaceIcon(int index, TIcon* icon)
{
    BeginUpdate();
    Delete(index);
    InsertIcon(index, icon);
    EndUpdate();
}

int TcxImageList::AddImage(TCustomImageList* images, int index)
{
    if (!images || index < 0 || index >= images->Count())
        return -1;
    const int result = Count();
    CopyImages(images, index, index);
    return result;
}

void TcxImageList::AddImages(TCustomImageList* images)
{
    if (!images)
        return;
    BeginUpdate();
    CopyImages(images, 0, -1);
    EndUpdate();
}

void TcxImageList::CopyImages(TCustomImageList* images, int startIndex, int endIndex)
{
    if (!images)
        return;
    BeginUpdate();
    try {
        TcxImageList source(nullptr);
        source.Assign(images);
        const int last = source.Count() - 1;
        endIndex = endIndex < 0 ? last : std::min(endIndex, last);
        TcxImageInfo info;
        for (int i = std::max(startIndex, 0); i <= endIndex; ++i) {
            source.GetImageInfo(i, &info);
            if (IsGlyphAssigned(info.GetMask()))
                Add(info.GetImage(), info.GetMask());
            else
                AddMasked(info.GetImage(), info.MaskColor);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// A strip or grid of whole images inserts all of them; any other bitmap counts as one.
int TcxImageList::InsertCount(TBitmap* image) const
{
    const int w = GetWidth(), h = GetHeight();
    if (image && image->GetWidth() % w == 0 && image->GetHeight() % h == 0 && image->GetWidth() > 0 &&
        image->GetHeight() > 0)
        return (image->GetWidth() / w) * (image->GetHeight() / h);
    return 1;
}

void TcxImageList::Insert(int index, TBitmap* image, TBitmap* mask)
{
    if (index < 0 || index > Count())
        return;
    BeginUpdate();
    const int first = Add(image, mask);
    if (first >= 0)
        for (int i = 0; i < InsertCount(image) && first + i < Count(); ++i)
            Move(first + i, index + i);
    EndUpdate();
}

void TcxImageList::InsertMasked(int index, TBitmap* image, TColor maskColor)
{
    if (index < 0 || index > Count())
        return;
    BeginUpdate();
    const int first = AddMasked(image, maskColor);
    if (first >= 0)
        for (int i = 0; i < InsertCount(image) && first + i < Count(); ++i)
            Move(first + i, index + i);
    EndUpdate();
}

void TcxImageList::Replace(int index, TBitmap* image, TBitmap* mask)
{
    BeginUpdate();
    Delete(index);
    Insert(index, image, mask);
    EndUpdate();
}

void TcxImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor)
{
    BeginUpdate();
    Delete(index);
    InsertMasked(index, image, maskColor);
    EndUpdate();
}

void TcxImageList::Move(int currentIndex, int newIndex)
{
    const int n = Count();
    if (currentIndex == newIndex || currentIndex < 0 || currentIndex >= n || newIndex < 0 || newIndex >= n)
        return;
    BeginUpdate();
    const int step = cx::cxSign(double(newIndex - currentIndex));
    for (int i = currentIndex; i != newIndex; i += step)
        ImageList_Copy(GetHandle(), i + step, GetHandle(), i, ILCF_SWAP);
    if (!synchronizing_)
        info_->Move(currentIndex, newIndex);
    EndUpdate();
}

// An index beyond the list is ignored rather than raised, so the two lists stay paired.
void TcxImageList::Delete(int index)
{
    if (index < -1 || index >= Count())
        return;
    BeginUpdate();
    ImageList_Remove(GetHandle(), index);
    if (!synchronizing_)
        info_->Delete(index);
    EndUpdate();
}

void TcxImageList::GetImageInfo(int index, TBitmap* image, TBitmap* mask)
{
    if (index < 0 || index >= Count() || index >= info_->Count())
        return;
    TcxImageInfo* info = info_->Item(index)->ImageInfo();
    if (cxGetBitmapPixelFormat(info->GetImage()) == 32 || cx::IsWin9X) {
        if (image)
            image->Assign(info->GetImage());
        // An image added with a mask colour keeps no mask of its own; the system list's mask
        // holds the keyed pixels, so a keyed 32-bit image without alpha stays transparent there.
        if (mask && IsGlyphAssigned(info->GetMask()))
            mask->Assign(info->GetMask());
        else if (mask)
            GetImageInfo(GetHandle(), index, nullptr, mask);
    } else {
        GetImageInfo(GetHandle(), index, image, mask);
    }
}

void TcxImageList::GetImageInfo(int index, TcxImageInfo* info)
{
    if (!info)
        return;
    if (index >= 0 && index < info_->Count()) {
        info->Assign(info_->Item(index)->ImageInfo());
    } else {
        info->SetImage(nullptr);
        info->SetMask(nullptr);
        info->MaskColor = clNone;
    }
}

void TcxImageList::GetImageInfo(HIMAGELIST handle, int index, TBitmap* image, TBitmap* mask)
{
    // Index -1 stands for the strip of image 0, so an empty list has nothing to give.
    IMAGEINFO info;
    if (!ImageList_GetImageInfo(handle, index == -1 ? 0 : index, &info) || !ImageList_GetImageInfo(handle, index, &info))
        return;
    auto copyOut = [&](HBITMAP from, TBitmap* to, TPixelFormat format) {
        if (!to)
            return;
        to->SetPixelFormat(format);
        to->SetSize(info.rcImage.Width(), info.rcImage.Height());
        for (int y = 0; y < info.rcImage.Height(); ++y)
            std::memcpy(to->ScanLine(y), from->Row(y) + info.rcImage.Left, size_t(info.rcImage.Width()) * 4);
    };
    copyOut(info.hbmImage, image, pf32bit);
    copyOut(info.hbmMask, mask, pf1bit);
}

int TcxImageList::GetPixelFormat(HIMAGELIST handle)
{
    IMAGEINFO info;
    if (ImageList_GetImageCount(handle) == 0 || !ImageList_GetImageInfo(handle, 0, &info))
        return 0;
    return gdi::BitsPerPixel(info.hbmImage->Format());
}

void TcxImageList::Draw(TCanvas* canvas, const TRect& r, int index, bool stretch, bool smooth, bool enabled)
{
    DoDrawEx(index, canvas, r, DrawStyleFlags(GetDrawingStyle(), GetImageType()), stretch, smooth, enabled);
}

void TcxImageList::DoDraw(int index, TCanvas* canvas, int x, int y, unsigned style, bool enabled)
{
    DoDrawEx(index, canvas, cxRectBounds(x, y, GetWidth(), GetHeight()), style, false, false, enabled);
}

void TcxImageList::DoDrawEx(int index, TCanvas* canvas, const TRect& r, unsigned style, bool stretch, bool smooth,
                            bool enabled)
{
    if (!canvas)
        return;
    if (r.Width() == GetWidth() && r.Height() == GetHeight())
        stretch = false;
    const TRect target = stretch ? r : cxRectCenter(r, GetWidth(), GetHeight());
    const TcxImageDrawMode mode = enabled ? idmNormal : idmDisabled;
    if (alphaBlending_) {
        cxDrawImage(canvas->GetHandle(), target, r, nullptr, this, index, mode, smooth, nullptr, clNone, true);
    } else if (stretch) {
        TBitmap bitmap;
        bitmap.SetSize(GetWidth(), GetHeight());
        TDragImageList::DoDraw(index, bitmap.Canvas(), 0, 0, style, enabled);
        cxDrawImage(canvas->GetHandle(), target, r, &bitmap, nullptr, -1, mode, smooth, nullptr, clNone, true);
    } else {
        TDragImageList::DoDraw(index, canvas, target.Left, target.Top, style, enabled);
    }
}

void TcxImageList::SynchronizeImageInfo()
{
    info_->BeginUpdate();
    info_->Clear();
    TcxBitmap32 image(GetWidth(), GetHeight());
    TBitmap mask;
    for (int i = 0; i < Count(); ++i) {
        GetImageInfo(GetHandle(), i, &image, &mask);
        info_->Add(&image, &mask, clNone);
    }
    info_->EndUpdate();
}

// Every image the list is rebuilt with costs its item some bytes of the stream: an item the
// list wrote itself holds one image, or a handful when a bitmap that is no whole strip was added.
// A tiny picture over a list of 1 x 1 images would otherwise become millions of images.
void TcxImageList::CheckImageCount(std::int64_t streamBytes) const
{
    constexpr std::int64_t kImagesPerByte = 16;
    std::int64_t images = 0;
    for (int i = 0; i < info_->Count(); ++i) {
        TBitmap* image = info_->Item(i)->ImageInfo()->GetImage();
        images += ImageList_CellCount(GetWidth(), GetHeight(), image->GetWidth(), image->GetHeight());
    }
    if (images > kImagesPerByte * std::max<std::int64_t>(streamBytes, 1))
        throw EReadError("Error reading " + ClassName() + ".ImageInfo: Invalid property value");
}

void TcxImageList::SynchronizeHanle()
{
    BeginUpdate();
    synchronizing_ = true;
    try {
        ImageList_Remove(GetHandle(), -1);
        for (int i = 0; i < info_->Count(); ++i) {
            TcxImageInfo* info = info_->Item(i)->ImageInfo();
            if (IsGlyphAssigned(info->GetMask()))
                Add(info->GetImage(), info->GetMask());
            else
                AddMasked(info->GetImage(), info->MaskColor);
        }
    } catch (...) {
        synchronizing_ = false;
        EndUpdate();
        throw;
    }
    synchronizing_ = false;
    EndUpdate();
}

void TcxImageList::SetHandle(HIMAGELIST value)
{
    TcxImageList temp(nullptr);
    temp.TCustomImageList::SetHandle(value); // the temporary list owns it and frees it once
    // The images are copied from the temporary list's collection, which must show the handle's.
    temp.SynchronizeImageInfo();
    Assign(&temp);
}

void TcxImageList::Assign(TPersistent* source)
{
    auto* list = dynamic_cast<TCustomImageList*>(source);
    if (!list || list == this)
        return;
    BeginUpdate();
    try {
        synchronizing_ = true; // the inherited assignment copies settings; images come below
        TDragImageList::Assign(list);
        synchronizing_ = false;
        Clear();
        info_->Clear();
        if (auto* cxList = dynamic_cast<TcxImageList*>(list)) {
            for (int i = 0; i < cxList->info_->Count(); ++i) {
                TcxImageInfo* info = cxList->info_->Item(i)->ImageInfo();
                if (IsGlyphAssigned(info->GetMask()))
                    Add(info->GetImage(), info->GetMask());
                else
                    AddMasked(info->GetImage(), info->MaskColor);
            }
        } else {
            TcxBitmap32 image(GetWidth(), GetHeight());
            TBitmap mask;
            for (int i = 0; i < list->Count(); ++i) {
                GetImageInfo(list->GetHandle(), i, &image, &mask);
                Add(&image, &mask);
            }
        }
    } catch (...) {
        synchronizing_ = false;
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- stream form ----

bool TcxImageList::Equal(TCustomImageList* a, TCustomImageList* b)
{
    if (!a || !b || a->Count() != b->Count())
        return false;
    if (a->Count() == 0)
        return true;
    TMemoryStream sa, sb;
    ImageList_Write(a->GetHandle(), &sa);
    ImageList_Write(b->GetHandle(), &sb);
    return sa.Size() == sb.Size() && std::memcmp(sa.Memory(), sb.Memory(), size_t(sa.Size())) == 0;
}

void TcxImageList::WriteData(TWriter* writer, TCustomImageList* ancestor)
{
    formatVersion_ = 1;
    writer->WriteString("FormatVersion");
    writer->WriteInteger(formatVersion_);
    if (!ancestor || ancestor->DesignInfo != DesignInfo) {
        writer->WriteString("DesignInfo");
        writer->WriteInteger(DesignInfo);
    }
    if (ancestor ? !Equal(this, ancestor) : Count() > 0) {
        writer->WriteString("ImageInfo");
        info_->WriteItems(writer);
    }
}

bool TcxImageList::ReadData(const std::string& name, TReader* reader)
{
    if (name == "FormatVersion") {
        formatVersion_ = reader->ReadInteger();
    } else if (name == "DesignInfo") {
        DesignInfo = reader->ReadInteger();
    } else if (name == "ImageInfo") {
        info_->Clear();
        const std::int64_t start = reader->Position();
        info_->ReadItems(reader);
        CheckImageCount(reader->Position() - start);
        SynchronizeHanle();
    } else if (TDragImageList::ReadData(name, reader)) {
        SynchronizeImageInfo(); // an older stream carries the system list's own data
    } else {
        return false;
    }
    return true;
}
