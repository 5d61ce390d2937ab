#pragma once
// Dragging inside an editing control: timer-driven auto-scrolling near (or beyond) the control's
// edges, the control's drag object that shows a floating picture of what is dragged, the window
// with the two insertion arrows, and the drag-image helper that follows the platform drag of a
// control through a thread mouse hook.
#include "platform/gdi/Region.h"
#include "toolkit/controls/cxControlsDragDrop.h"
#include "toolkit/grid/cxInplaceContainer.h"

#include <memory>
#include <vector>

namespace cx {

// Scrolls a control by a signed increment every 50 ms while the mouse is in its area.
class TcxAutoScrollingObject : public TObject {
    RTL_CLASS(TcxAutoScrollingObject, TObject)
    explicit TcxAutoScrollingObject(TObject* owner);
    ~TcxAutoScrollingObject() override;
    TObject* Owner() const { return owner_; }
    TcxTimer* ScrollTimer() const { return scrollTimer_; }
    // The increment is negated for scLineUp.
    void SetParams(const TRect& area, TScrollBarKind kind, int increment, TScrollCode code);
    // Runs the timer while p lies in the scroll area; answers whether it does.
    bool Check(const TPoint& p);
    void Stop() { scrollTimer_->SetEnabled(false); }
    virtual TcxEditingControl* GetControl() { return nullptr; }
    virtual TcxControlScrollBar* GetScrollBar(TScrollBarKind kind);
    virtual void DoScrollInspectingControl();
    TRect ScrollArea;
    TScrollBarKind ScrollKind = sbVertical;
    TScrollCode ScrollCode = scLineDown;
    int ScrollIncrement = 0;

protected:
    // Moves the bar by delta inside [Min, Max - PageSize + 1] through the control's Scroll, when
    // the bar is visible and the position changes.
    void ScrollBy(TScrollBarKind kind, TScrollCode code, int delta);
    void TimerHandler(TObject*) { DoScrollInspectingControl(); }

private:
    TObject* owner_;
    TcxTimer* scrollTimer_;
};
using TcxAutoScrollingObjectClass = TClassRef<TcxAutoScrollingObject, TObject*>;

// Owned by a drag-and-drop object; scrolls that object's control.
class TcxDragDropObjectAutoScrollingObject : public TcxAutoScrollingObject {
    RTL_CLASS(TcxDragDropObjectAutoScrollingObject, TcxAutoScrollingObject)
    using TcxAutoScrollingObject::TcxAutoScrollingObject;
    TcxEditingControl* GetControl() override;
};

// Owned by a control controller. Besides the inherited mode it has a bounds mode: scrolling runs
// while the mouse is outside the area, toward each side it has passed.
class TcxControllerAutoScrollingObject : public TcxAutoScrollingObject {
    RTL_CLASS(TcxControllerAutoScrollingObject, TcxAutoScrollingObject)
    using TcxAutoScrollingObject::TcxAutoScrollingObject;
    TcxEditingControl* GetControl() override;
    void SetBoundsParams(const TRect& area, bool checkHorz, int increment, bool checkVert);
    // The sides p has passed (empty inside the area); the timer runs while there are some.
    bool CheckBounds(const TPoint& p);
    void DoScrollInspectingControl() override;
    bool OutsideMode = false;
    bool WatchHorz = false;
    bool WatchVert = false;
    TcxNeighbors ActiveSides;
};

// The control's own drag objects: the control's drag cursor while accepted, else no-drop.
class TcxBaseDragAndDropObject : public TcxDragAndDropObject {
    RTL_CLASS(TcxBaseDragAndDropObject, TcxDragAndDropObject)
    using TcxDragAndDropObject::TcxDragAndDropObject;
    TCursor GetDragAndDropCursor(bool accepted) override;
    TcxEditingControl* GetEditingControl() const { return dynamic_cast<TcxEditingControl*>(Control()); }
};

// Drags a picture of the dragged thing in a floating window and scrolls the control through its
// auto-scrolling objects. A descendant says what is dragged (GetDisplayRect) and paints it.
class TcxCustomControlDragAndDropObject : public TcxBaseDragAndDropObject {
    RTL_CLASS(TcxCustomControlDragAndDropObject, TcxBaseDragAndDropObject)
    explicit TcxCustomControlDragAndDropObject(TcxControl* control);
    ~TcxCustomControlDragAndDropObject() override;
    TCursor GetDragAndDropCursor(bool accepted) override;
    void BeginDragAndDrop() override;
    void DragAndDrop(const TPoint& p, bool& accepted) override;
    void EndDragAndDrop(bool accepted) override;

    void AddAutoScrollingObject(const TRect& area, TScrollBarKind kind, TScrollCode code);
    int AutoScrollObjectCount() const { return static_cast<int>(autoScrollObjects_.size()); }
    TcxAutoScrollingObject* AutoScrollObjects(int index) const { return autoScrollObjects_.at(index).get(); }
    // Redraws the picture at the mouse after the control painted during the drag.
    virtual void OwnerImageChanged();
    virtual void OwnerImageChanging() {}
    TcxDragImage* FloatingImage() const { return floatingImage_.get(); }
    TRect PictureBounds;
    TPoint PictureOffset;
    TPoint ScreenOrigin;
    bool LastAccepted = false;

protected:
    virtual void DrawDragImage();
    virtual TRect GetAcceptedRect() { return cxNullRect; }
    virtual TcxAutoScrollingObjectClass GetAutoScrollingObjectClass();
    // What is dragged, in client coordinates.
    virtual TRect GetDisplayRect() { cxAbstractError(); }
    virtual int GetHorzScrollInc() { return 1; }
    virtual int GetVertScrollInc() { return 1; }
    // Paints the dragged thing onto the painter's canvas, exactly as on the control.
    virtual void Paint() { cxAbstractError(); }
    void CheckScrolling(const TPoint& p);
    // The picture's place on the screen for the current mouse position.
    TPoint ImagePosition() const;

private:
    std::vector<std::unique_ptr<TcxAutoScrollingObject>> autoScrollObjects_;
    std::unique_ptr<TcxDragImage> floatingImage_;
};

// Two arrows that mark an insertion place at one side of a rectangle, in a window shaped to them.
class TcxPlaceArrows : public TcxDragImage {
    RTL_CLASS(TcxPlaceArrows, TcxDragImage)
    TcxPlaceArrows(TColor arrowColor, TColor arrowFrameColor, TComponent* owner = nullptr);
    // Shows the arrows at the side of r (screen); false when they already show there.
    bool MoveTo(const TRect& r, TcxBorder side);
    TColor ArrowColor;
    TColor ArrowFrameColor;
    TRect LastRect;
    TcxBorder LastSide = bLeft;
    // The union of the two arrow polygons at the side's corners of r.
    static gdi::Region ArrowsRegion(const TRect& r, TcxBorder side);
    // The window's shape in its own coordinates (the arrows' region moved to (0, 0)).
    const gdi::Region& WindowRegion() const { return windowRegion_; }

private:
    gdi::Region windowRegion_;
};

// The floating picture of a platform drag of an editing control; the thread mouse hook moves it
// and ends it on button up.
class TcxDragImageHelper : public TObject {
    RTL_CLASS(TcxDragImageHelper, TObject)
    TcxDragImageHelper(TcxEditingControl* control, const TPoint& dragPos);
    ~TcxDragImageHelper() override;
    virtual void DragAndDrop(const TPoint& p);
    void Show();
    void Hide();
    void SetDragImageVisible(bool value) { value ? Show() : Hide(); }
    TcxEditingControl* SourceControl() const { return sourceControl_; }
    TcxDragImage* FloatingImage() const { return floatingImage_.get(); }
    TPoint StartPoint;
    TRect ImageBounds;
    TPoint PictureOffset;
    TPoint ImagePos;
    bool DragImageVisible = false;

protected:
    virtual TRect GetDisplayRect();
    virtual void InitDragImage();
    virtual void DrawImage(const TPoint& p);

private:
    TcxEditingControl* sourceControl_;
    std::unique_ptr<TcxDragImage> floatingImage_;
};

// The one drag whose image the thread mouse hook moves: the hook is installed for the control
// (replacing any earlier one) and removed, with the helper freed, on button up.
void cxStartDragImages(TcxEditingControl* control, TcxDragImageHelper* helper);
// Puts the hook of the control's drag images on top of the hooks installed since (the platform's
// drag installs its own after the drag start and takes every move).
void cxRaiseDragImagesHook(TcxEditingControl* control);
// Posted to the control by its drag start: the hook is raised once the start is over.
inline constexpr UINT cxWM_RAISEDRAGIMAGESHOOK = WM_APP + 0x1F0;
void cxFinishDragImages();
TcxEditingControl* cxDragImagesControl();
TcxDragImageHelper* cxDragImageHelper();
bool cxDragImagesHookInstalled();

} // namespace cx
