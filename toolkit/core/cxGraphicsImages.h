#pragma once
// The toolkit's image list (TcxImageList keeps, beside the system list, every image as it was
// added, so that alpha channels and masks survive copies, edits and streaming) and the one
// routine that draws glyphs and list images, cxDrawImage, with the small procedures around it.
#include "platform/vcl/ImgList.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxGraphicsBitmaps.h"

#include <memory>

// ---- image list ----

class TcxImageList;

class TcxImageInfo : public rtl::TPersistent {
    RTL_CLASS(TcxImageInfo, rtl::TPersistent)
    TcxImageInfo();
    ~TcxImageInfo() override;

    void Assign(rtl::TPersistent* source) override;
    TcxBitmap* GetImage() const { return image_.get(); }
    void SetImage(TBitmap* value) { AssignBitmap(value, image_.get()); }
    TcxBitmap* GetMask() const { return mask_.get(); }
    void SetMask(TBitmap* value) { AssignBitmap(value, mask_.get()); }
    TColor MaskColor = clNone;
    // The destination becomes a copy of the source (empty for no source).
    static void AssignBitmap(TBitmap* source, TBitmap* dest);

private:
    std::unique_ptr<TcxBitmap> image_;
    std::unique_ptr<TcxBitmap> mask_;
};

class TcxImageInfoItem : public rtl::TCollectionItem {
    RTL_CLASS(TcxImageInfoItem, rtl::TCollectionItem)
    explicit TcxImageInfoItem(rtl::TCollection* collection);
    ~TcxImageInfoItem() override;

    void Assign(rtl::TPersistent* source) override;
    TcxImageInfo* ImageInfo() const { return info_.get(); }
    TBitmap* GetImage() const { return info_->GetImage(); }
    void SetImage(TBitmap* value) { info_->SetImage(value); }
    TBitmap* GetMask() const { return info_->GetMask(); }
    void SetMask(TBitmap* value) { info_->SetMask(value); }
    TColor GetMaskColor() const { return info_->MaskColor; }
    void SetMaskColor(TColor value) { info_->MaskColor = value; }
    bool GetCompressData() const;
    void SetCompressData(bool value);

private:
    std::unique_ptr<TcxImageInfo> info_;
};

class TcxImageInfoCollection : public rtl::TCollection {
    RTL_CLASS(TcxImageInfoCollection, rtl::TCollection)
    explicit TcxImageInfoCollection(TcxImageList* owner);

    rtl::TPersistent* GetOwner() override;
    TcxImageInfoItem* Add(TBitmap* image, TBitmap* mask, TColor maskColor);
    TcxImageInfoItem* Item(int index) const { return static_cast<TcxImageInfoItem*>(Items(index)); }
    void Move(int currentIndex, int newIndex);
    // -1 removes every item.
    void Delete(int index);
    bool CompressData = false;

    // The collection's stream form: the item count, then each item's published properties (a
    // name and its value, an empty name at the end).
    void WriteItems(rtl::TWriter* writer);
    void ReadItems(rtl::TReader* reader);

protected:
    void Notify(rtl::TCollectionItem* item, rtl::TCollectionNotification action) override;

private:
    TcxImageList* owner_;
};

class TcxImageList : public TDragImageList {
    RTL_CLASS(TcxImageList, TDragImageList)
    explicit TcxImageList(rtl::TComponent* owner);
    ~TcxImageList() override;

    int Add(TBitmap* image, TBitmap* mask) override;
    int AddMasked(TBitmap* image, TColor maskColor) override;
    // -1 when the list is missing or has no such image; else the index the copy received.
    int AddImage(TCustomImageList* images, int index);
    void AddImages(TCustomImageList* images);
    // A negative last index means the source's last image.
    void CopyImages(TCustomImageList* images, int startIndex = 0, int endIndex = -1);
    void Insert(int index, TBitmap* image, TBitmap* mask);
    void InsertMasked(int index, TBitmap* image, TColor maskColor);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
    // The icon as one image; the collection receives it as read back from the system list
    // (a 32-bit image and a 1-bit mask of the list's size).
    int AddIcon(TIcon* icon) override;
    // The inherited loading, then the collection rebuilt from the system list.
    bool GetInstRes(HINSTANCE instance, TResType type, const std::string& name, int width, TLoadResources options,
                    TColor maskColor) override;
    // Adds the images of the module's bitmap resource (or file, lrFromFile) cut to the width;
    // false when it could not be loaded.
    bool LoadImage(HINSTANCE instance, const std::string& name, TColor maskColor = clDefault, int width = 16,
                   TLoadResources options = {});
    void InsertIcon(int index, TIcon* icon);
    void ReplaceIcon(int index, TIcon* icon);
    void Move(int currentIndex, int newIndex) override;
    void Delete(int index) override;

    void GetImageInfo(int index, TBitmap* image, TBitmap* mask);
    void GetImageInfo(int index, TcxImageInfo* info);
    // Image index of a system list (-1: the whole strip) into 32-bit image and 1-bit mask.
    static void GetImageInfo(HIMAGELIST handle, int index, TBitmap* image, TBitmap* mask);
    void GetImage(int index, TBitmap* image) { GetImageInfo(index, image, nullptr); }
    void GetMask(int index, TBitmap* mask) { GetImageInfo(index, nullptr, mask); }
    static int GetPixelFormat(HIMAGELIST handle);

    using TCustomImageList::Draw;
    void Draw(TCanvas* canvas, const TRect& r, int index, bool stretch = true, bool smooth = false,
              bool enabled = true);

    void BeginUpdate() { ++lockCount_; }
    void EndUpdate(bool forceUpdate = true);
    bool ChangeLocked() const { return lockCount_ > 0; }

    void SetHandle(HIMAGELIST value) override;
    void Assign(rtl::TPersistent* source) override;
    // Releases the resources of every stored image (nothing is held on this platform).
    void Dormant() {}
    bool GetCompressData() const { return info_->CompressData; }
    void SetCompressData(bool value);
    TcxImageInfoCollection* ImageInfoCollection() const { return info_.get(); }
    int FormatVersion() const { return formatVersion_; }
    bool AlphaBlending() const { return alphaBlending_; }

    // Whether two lists hold the same images (same count and identical system-list data).
    static bool Equal(TCustomImageList* a, TCustomImageList* b);

protected:
    void Change() override;
    void DoDraw(int index, TCanvas* canvas, int x, int y, unsigned style, bool enabled) override;
    void DoDrawEx(int index, TCanvas* canvas, const TRect& r, unsigned style, bool stretch, bool smooth,
                  bool enabled);
    void WriteData(rtl::TWriter* writer, TCustomImageList* ancestor) override;
    bool ReadData(const std::string& name, rtl::TReader* reader) override;
    void HandleChanged() override;
    void SynchronizeImageInfo();
    void SynchronizeHanle();
    void CheckImageCount(std::int64_t streamBytes) const;
    void AddToInternalCollection(TBitmap* image, TBitmap* mask, TColor maskColor);

private:
    int InsertCount(TBitmap* image) const;
    bool alphaBlending_ = false;
    int formatVersion_ = 0;
    std::unique_ptr<TcxImageInfoCollection> info_;
    int lockCount_ = 0;
    bool synchronizing_ = false;
};

// ---- image drawing ----

enum TcxImageDrawMode { idmNormal, idmDisabled, idmFaded, idmGrayScale, idmDingy, idmShadowed };

using TcxDrawImageProc = bool (*)(TCanvas* canvas, TCustomImageList* images, int index, TBitmap* glyph,
                                  const TRect& r, TcxImageDrawMode mode);
// A hook that may draw the image itself (answering true).
extern TcxDrawImageProc CustomDrawImageProc;

bool IsImageAssigned(TCustomImageList* images, int index);
// Composes the glyph (or the list's image) off-screen over the background rectangle (taken from
// the DC, or filled with the brush when one is given), masks it, applies the draw mode and
// copies the result to the background rectangle.
void cxDrawImage(HDC dc, const TRect& glyphRect, const TRect& backgroundRect, TBitmap* glyph,
                 TCustomImageList* images, int index, TcxImageDrawMode mode, bool smooth = false,
                 const gdi::Brush* brush = nullptr, TColor transparentColor = clNone,
                 bool useLeftBottomPixel = true);
void cxDrawImageList(HIMAGELIST handle, int index, HDC dc, const TPoint& p, TDrawingStyle style,
                     TImageType type);
// The list's images drawn on the background colour (disabled ones greyed), added back masked.
void cxTransformImages(TcxImageList* images, TColor backgroundColor, bool enabled = true);
void cxTransformImages(TcxImageList* source, TcxImageList* dest, TColor backgroundColor, bool enabled = true);
void cxDrawDesignRect(TcxCanvas* canvas, const TRect& r, bool selected);
// Points field at value, moving the change link and the free notification over.
void cxSetImageList(TCustomImageList* value, TCustomImageList*& field, TChangeLink* changeLink,
                    rtl::TComponent* notified);
bool IsXPManifestEnabled();
void cxInvalidateRect(HWND wnd, const TRect& r, bool erase = true);
void cxInvalidateRect(HWND wnd, bool erase = true);

// The visible size of the mouse cursor: the system cursor size, the height cut to the mask's
// rows above the last opaque one, less the hot spot.
TSize cxGetCursorSize();
// The same measure for a given cursor: AND mask (1-bit; a mask twice the width high carries
// the XOR picture in its lower half) and hot spot.
TSize cxCursorSizeOfMask(TBitmap* andMask, const TPoint& hotSpot);

// ---- GDI object data ----

struct LOGBRUSH {
    unsigned lbStyle = 0;
    COLORREF lbColor = 0;
    int lbHatch = 0;
};
struct LOGPEN {
    unsigned lopnStyle = 0;
    TPoint lopnWidth;
    COLORREF lopnColor = 0;
};
void cxGetBrushData(const gdi::Brush& brush, LOGBRUSH& data);
LOGBRUSH cxGetBrushData(const gdi::Brush& brush);
void cxGetFontData(const gdi::Font& font, gdi::LogFont& data);
void cxGetPenData(const gdi::Pen& pen, LOGPEN& data);
// Charset, name, height, pitch and style of the platform's default font.
void cxResetFont(TFont* font);
