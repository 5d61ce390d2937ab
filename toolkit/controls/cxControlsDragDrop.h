#pragma once
// Drag and drop of the toolkit's controls: the platform drag object of a toolkit control (copy
// cursor with Ctrl), and the small windows that show drag feedback: a translucent drag image
// that lets the mouse through, the destination image, the hatched size frame and the green
// insertion arrow with its geometry.
#include "platform/vcl/ImgList.h"
#include "toolkit/controls/cxControls.h"

#include <array>
#include <memory>

namespace cx {



class TcxDragControlObject : public TDragControlObject {
    RTL_CLASS(TcxDragControlObject, TDragControlObject)
    using TDragControlObject::TDragControlObject;
    // The drag is over: the object frees itself.
    void Finished(TObject* target, int x, int y, bool accepted) override;
    TCursor GetDragCursor(bool accepted, int x, int y) override;
};

class TcxDragImageList : public TDragImageList {
    RTL_CLASS(TcxDragImageList, TDragImageList)
    using TDragImageList::TDragImageList;
};

// The platform drag object last seen by a toolkit control's DragOver (none after a drag leave).
TObject* GetDragObject();
// The control inside a toolkit drag object, else the object itself.
TObject* cxExtractDragObjectSource(TObject* object);

// ---- drag feedback windows ----

class TcxCustomDragImage : public TcxPopupWindow {
    RTL_CLASS(TcxCustomDragImage, TcxPopupWindow)
    explicit TcxCustomDragImage(TComponent* owner = nullptr);

    // The window whose top-level window the image belongs to (none: the active form's).
    TWinControl* OwnerControl = nullptr;
    TPoint HotSpot() const { return hotSpot_; }
    bool AlphaBlend = true;
    std::uint8_t AlphaBlendValue = 180;
    bool GetAlphaBlended() const;

    // Sized as the source rectangle; the hot spot is relative to its top-left corner.
    void Init(const TRect& sourceBounds, const TPoint& hotSpot);
    // Places the hot spot at p (screen).
    void MoveTo(const TPoint& p);
    // Shown without taking the activation, painted at once.
    virtual void Show();
    void Hide();
    bool GetVisible() const;
    void SetVisible(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& msg) override;

private:
    TPoint hotSpot_;
};

class TcxDragImage : public TcxCustomDragImage {
    RTL_CLASS(TcxDragImage, TcxCustomDragImage)
    explicit TcxDragImage(TComponent* owner = nullptr);
    ~TcxDragImage() override;
    // A bitmap the size of the window, and a toolkit canvas over it.
    TBitmap* Image() const { return image_.get(); }
    TcxCanvas* Canvas() const { return imageCanvas_.get(); }
    TcxCanvas* GetWindowCanvas() const { return PopupCanvas(); }
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;

private:
    std::unique_ptr<TBitmap> image_;
    std::unique_ptr<TcxCanvas> imageCanvas_;
};

class TcxDragDestinationImage : public TcxDragImage {
    RTL_CLASS(TcxDragDestinationImage, TcxDragImage)
    explicit TcxDragDestinationImage(TComponent* owner = nullptr);
    TWinControl* ParentControl() const { return parentControl_; }
    // A change re-creates the window under the new control's window.
    void SetParentControl(TWinControl* value);
    void Show() override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TWinControl* parentControl_ = nullptr;
};

// A hatched frame that follows a rectangle or a region while something is being sized.
class TcxSizeFrame : public TcxCustomDragImage {
    RTL_CLASS(TcxSizeFrame, TcxCustomDragImage)
    explicit TcxSizeFrame(int frameWidth, TComponent* owner = nullptr);
    ~TcxSizeFrame() override;
    int FrameWidth() const { return frameWidth_; }
    TcxRegion* FrameRegion() const { return frameRegion_.get(); }
    void DrawSizeFrame(const TRect& r);
    // The region is copied, not consumed.
    void DrawSizeFrame(const TRect& r, TcxRegion* region);
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    void InitializeFrameRegion();
    void SetWindowRegion();

private:
    int frameWidth_;
    std::unique_ptr<TcxRegion> frameRegion_;
};

enum TcxArrowPlace { apLeft, apTop, apRight, apBottom };
using TcxArrowPoints = std::array<TPoint, 7>;

TRect GetDragAndDropArrowBounds(const TRect& lineBounds, const TRect& clientRect, TcxArrowPlace place);
// The seven corners of the arrow polygon; for a region the right and bottom edges lie one
// pixel further out (a region leaves them out).
void GetDragAndDropArrowPoints(const TRect& arrowBounds, TcxArrowPlace place, TcxArrowPoints& points, bool forRegion);
void DrawDragAndDropArrow(TcxCanvas* canvas, const TRect& arrowBounds, TcxArrowPlace place);

// The green arrow that marks an insertion place. Colour-keyed windows are not offered here, so
// the arrow is always cut out by the region of its polygon.
class TcxDragAndDropArrow : public TcxDragImage {
    RTL_CLASS(TcxDragAndDropArrow, TcxDragImage)
    explicit TcxDragAndDropArrow(bool transparent, TComponent* owner = nullptr);
    bool Transparent() const;
    virtual TColor GetImageBackColor() const { return clFuchsia; }
    // lineBounds and clientRect are in owner's client coordinates (screen without an owner).
    void Init(TControl* owner, const TRect& lineBounds, const TRect& clientRect, TcxArrowPlace place);

private:
    bool transparent_;
};

} // namespace cx
