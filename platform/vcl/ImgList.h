#pragma once
// Image lists: the common-controls image list (a handle with the ImageList_ functions) and the
// component library's TCustomImageList / TDragImageList over it, as far as the toolkit's image
// list builds on them.
//
// A system image list keeps each image as a 32-bit picture with a 1-bit mask (white =
// transparent). A bitmap added to it is cut into images of the list's size: left to right,
// and, when its height is a whole multiple (above one) of the image height, row by row from the
// top. 32-bit images whose alpha bytes are not all zero draw alpha-blended (premultiplied, as
// the toolkit's 32-bit bitmaps hold them); other images draw through their masks.
#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Messages.h"

#include <memory>
#include <string>
#include <vector>

namespace vcl {
struct ImageListData;
}
using HIMAGELIST = vcl::ImageListData*;

constexpr unsigned ILC_MASK = 0x0001, ILC_COLOR32 = 0x0020;
constexpr unsigned ILD_NORMAL = 0x0000, ILD_TRANSPARENT = 0x0001, ILD_FOCUS = 0x0002, ILD_SELECTED = 0x0004,
                   ILD_MASK = 0x0010;
constexpr unsigned ILCF_MOVE = 0, ILCF_SWAP = 1;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF, CLR_DEFAULT = 0xFF000000;

// The list's bitmaps (owned by the list; valid until the list next changes) and the image's
// rectangle in them.
struct IMAGEINFO {
    HBITMAP hbmImage = nullptr;
    HBITMAP hbmMask = nullptr;
    TRect rcImage;
};

HIMAGELIST ImageList_Create(int cx, int cy, unsigned flags, int initial, int grow);
bool ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
bool ImageList_GetIconSize(HIMAGELIST list, int& cx, int& cy);
// The index of the first image added, -1 when nothing could be added (no image, or a bitmap
// narrower than one image). Without a mask every pixel is opaque.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// How many images a bitmap of width x height is cut into for a list of cx x cy images: whole
// columns, and whole rows only when the height holds a whole number of them.
std::int64_t ImageList_CellCount(int cx, int cy, int width, int height);
// Pixels of the mask colour become transparent (and black in the stored image).
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// The icon's picture and mask, stretched to the list's size when it has another; -1 for no icon.
int ImageList_AddIcon(HIMAGELIST list, TIcon* icon);
// -1 removes every image.
bool ImageList_Remove(HIMAGELIST list, int index);
// Within one list: ILCF_SWAP exchanges the two images, ILCF_MOVE copies source over dest.
bool ImageList_Copy(HIMAGELIST dest, int destIndex, HIMAGELIST source, int sourceIndex, unsigned flags);
// ILD_MASK draws the mask (black and white through the DC's text and background colours);
// otherwise the image over the destination, on the background colour unless transparent.
bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, unsigned style);
// Index -1 describes the whole strip (all images side by side).
bool ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
// The list's own stream form; Read gives null (and reads no further) for data it cannot use.
bool ImageList_Write(HIMAGELIST list, rtl::TStream* stream);
HIMAGELIST ImageList_Read(rtl::TStream* stream);

// ---- module resources ----
// A module's identity; the program's own is HInstance. The platform has no resource section:
// a module registers its bitmap resources (bitmap file bytes by name) at start-up.
using HINSTANCE = const void*;
extern const HINSTANCE HInstance;
enum TResType { rtBitmap, rtCursor, rtIcon };
enum TLoadResource { lrDefaultColor, lrDefaultSize, lrFromFile, lrMap3DColors, lrTransparent, lrMonoChrome };
using TLoadResources = rtl::Set<TLoadResource>;
constexpr unsigned IMAGE_BITMAP = 0, IMAGE_ICON = 1, IMAGE_CURSOR = 2;
constexpr unsigned LR_DEFAULTCOLOR = 0, LR_MONOCHROME = 0x1, LR_LOADFROMFILE = 0x10, LR_LOADTRANSPARENT = 0x20,
                   LR_DEFAULTSIZE = 0x40, LR_LOADMAP3DCOLORS = 0x1000, LR_CREATEDIBSECTION = 0x2000;
// A later registration of the name (case ignored) replaces the earlier one.
void RegisterBitmapResource(HINSTANCE instance, const std::string& name, std::vector<Byte> file);
void UnregisterBitmapResource(HINSTANCE instance, const std::string& name);
// A list of the bitmap (the file of that name with LR_LOADFROMFILE, else the module's bitmap
// resource) cut into images cx wide and as high as the bitmap; pixels of the mask colour are
// transparent (CLR_NONE: none; CLR_DEFAULT: the colour of the top-left pixel). Null for another
// type, a missing or invalid bitmap, or a width that does not fit.
// The load options as load flags (LR_CREATEDIBSECTION and one flag per option), and a mask
// colour as the list's (clNone: CLR_NONE, clDefault: CLR_DEFAULT).
unsigned LoadResourceFlags(TLoadResources options);
COLORREF LoadResourceMask(TColor maskColor);
HIMAGELIST ImageList_LoadImage(HINSTANCE instance, const std::string& name, int cx, int grow, COLORREF mask,
                               unsigned type, unsigned flags);

// The largest side of an image in a list; larger sizes are refused (ImageList_Create gives no
// list, the size setters raise, a stream raises EReadError).
inline constexpr int MaxImageSide = 4096;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList;
class TWinControl;

// Links a control to an image list: the list calls OnChange when its images change.
class TChangeLink : public rtl::TObject {
    RTL_CLASS(TChangeLink, rtl::TObject)
    ~TChangeLink() override;
    TCustomImageList* Sender = nullptr;
    rtl::Event<void(rtl::TObject* sender)> OnChange;
    virtual void Change();
};

class TCustomImageList : public rtl::TComponent {
    RTL_CLASS(TCustomImageList, rtl::TComponent)
    explicit TCustomImageList(rtl::TComponent* owner);
    ~TCustomImageList() override;

    int GetWidth() const { return width_; }
    void SetWidth(int value);
    int GetHeight() const { return height_; }
    void SetHeight(int value);
    int AllocBy = 4;
    TColor GetBkColor() const { return bkColor_; }
    void SetBkColor(TColor value);
    TColor BlendColor = clNone;
    TDrawingStyle GetDrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle value);
    TImageType GetImageType() const { return imageType_; }
    void SetImageType(TImageType value);
    bool GetShareImages() const { return shareImages_; }
    void SetShareImages(bool value) { shareImages_ = value; }
    // The designer's bookkeeping value, streamed by descendants that ask for it.
    int DesignInfo = 0;
    rtl::Event<void(rtl::TObject* sender)> OnChange;

    int Count() const;
    HIMAGELIST GetHandle();
    // Takes the handle over (the list frees it unless ShareImages).
    virtual void SetHandle(HIMAGELIST value);
    bool HandleAllocated() const { return handle_ != nullptr; }

    virtual int Add(TBitmap* image, TBitmap* mask);
    virtual int AddMasked(TBitmap* image, TColor maskColor);
    // The icon as one image (stretched to the list's size); -1 when there is none.
    virtual int AddIcon(TIcon* icon);
    // The module's resource (or file) loaded as the list's images and size; false when it could
    // not be loaded (the list is then unchanged).
    virtual bool GetInstRes(HINSTANCE instance, TResType type, const std::string& name, int width,
                            TLoadResources options, TColor maskColor);
    bool GetResource(TResType type, const std::string& name, int width, TLoadResources options, TColor maskColor)
    {
        return GetInstRes(HInstance, type, name, width, options, maskColor);
    }
    bool ResInstLoad(HINSTANCE instance, TResType type, const std::string& name, TColor maskColor)
    {
        return GetInstRes(instance, type, name, GetWidth(), {}, maskColor);
    }
    bool ResourceLoad(TResType type, const std::string& name, TColor maskColor)
    {
        return ResInstLoad(HInstance, type, name, maskColor);
    }
    virtual void Delete(int index);
    virtual void Clear() { Delete(-1); }
    virtual void Move(int currentIndex, int newIndex);
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type, bool enabled = true);
    // The image (on the background colour) and the mask of one index into the given bitmaps.
    bool GetBitmap(int index, TBitmap* image);
    void Assign(rtl::TPersistent* source) override;

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);

    // The stream form: the published properties, then the list's own data properties, each a
    // name followed by its value, and an empty name at the end. The ancestor (may be null) is
    // what a designer compares against to leave out unchanged data.
    void WriteState(rtl::TWriter* writer, TCustomImageList* ancestor = nullptr);
    void ReadState(rtl::TReader* reader);

protected:
    virtual void Change();
    virtual void DoDraw(int index, TCanvas* canvas, int x, int y, unsigned style, bool enabled);
    // The list's data properties; the base writes its images as "Bitmap".
    virtual void WriteData(rtl::TWriter* writer, TCustomImageList* ancestor);
    // Reads the value of one data property; false for a name it does not know.
    virtual bool ReadData(const std::string& name, rtl::TReader* reader);
    virtual void HandleChanged() {}
    void CreateImageList();
    void FreeHandle();
    // Reads name/value pairs up to the empty name (ReadState's work, without the safety net).
    void ReadValues(rtl::TReader* reader);
    unsigned DrawStyleFlags(TDrawingStyle style, TImageType type) const;

private:
    int width_ = 16;
    int height_ = 16;
    TColor bkColor_ = clNone;
    TDrawingStyle drawingStyle_ = dsNormal;
    TImageType imageType_ = itImage;
    bool shareImages_ = false;
    HIMAGELIST handle_ = nullptr;
    // True for a handle the list made or read itself, false for one handed in by SetHandle.
    bool ownHandle_ = false;
    std::vector<TChangeLink*> links_;

    void Restore(rtl::TMemoryStream& saved);
};

// An image list that can show one of its images under the pointer while a drag runs: a small
// window that never takes the activation, moved with DragMove (screen points less the hot spot).
class TDragImageList : public TCustomImageList {
    RTL_CLASS(TDragImageList, TCustomImageList)
    explicit TDragImageList(rtl::TComponent* owner);
    ~TDragImageList() override;
    bool SetDragImage(int index, int hotSpotX, int hotSpotY);
    TPoint DragHotspot() const { return hotSpot_; }
    bool BeginDrag(HWND window, int x, int y);
    bool DragMove(int x, int y);
    bool EndDrag();
    void ShowDragImage();
    void HideDragImage();
    bool Dragging() const { return dragging_; }
    // The window that shows the image while dragging (null otherwise).
    TWinControl* DragWindow() const;

private:
    int dragIndex_ = 0;
    TPoint hotSpot_;
    bool dragging_ = false;
    TWinControl* window_ = nullptr;
};

class TImageList : public TDragImageList {
    RTL_CLASS(TImageList, TDragImageList)
    using TDragImageList::TDragImageList;
};
