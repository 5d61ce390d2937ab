#pragma once
// The component library's controls on Qt. A TControl owns its state and behaviour; a windowed
// control (TWinControl) gets a window handle and one QWidget peer when it first needs them
// (HandleNeeded) and loses both in DestroyWnd. Controls never see a QEvent: the peer hands Qt's
// events to the input translator (Input.h), which turns them into window messages.
//
// Every message reaches a control through its WindowProc (replaceable; WndProc by default),
// which dispatches by message number (Dispatch, overridden per class with a switch; calling the
// parent class's Dispatch is the "inherited" handler) and ends in DefaultHandler.
#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Set.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Messages.h"

#include <memory>
#include <string>
#include <vector>

namespace vcl {
class TWidgetPeer;

// Calls an event on a copy: a handler may free the object that holds the event (and with it
// the closure that is running) while it runs.
template <class E, class... Args>
void FireEvent(const E& event, Args&&... args)
{
    if (event.Assigned()) {
        const E copy = event;
        copy(std::forward<Args>(args)...);
    }
}
} // namespace vcl

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = rtl::Set<TShiftStateFlag>;

enum TControlStyleFlag {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
    csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
    csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
using TControlStyle = rtl::Set<TControlStyleFlag>;
enum TControlStateFlag {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
    csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = rtl::Set<TControlStateFlag>;

enum TDragMode { dmManual, dmAutomatic };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

// The state of a control's own scroll bar as the system would report it (range, page and
// position as in SCROLLINFO: the last position is Max - Page + 1).
struct TScrollBarState {
    bool Shown = false;   // the strip is reserved
    bool Enabled = false; // there is something to scroll
    TRect Rect;           // client coordinates
    int Min = 0, Max = 0, Page = 0, Pos = 0;
};

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

// Window styles the creation parameters carry (the peer maps them onto Qt window flags).
enum : std::uint32_t {
    WS_OVERLAPPED = 0, WS_POPUP = 0x80000000u, WS_CHILD = 0x40000000u, WS_VISIBLE = 0x10000000u,
    WS_DISABLED = 0x08000000u, WS_CLIPSIBLINGS = 0x04000000u, WS_CLIPCHILDREN = 0x02000000u,
    WS_CAPTION = 0x00C00000u, WS_BORDER = 0x00800000u, WS_SYSMENU = 0x00080000u,
    WS_THICKFRAME = 0x00040000u, WS_TABSTOP = 0x00010000u, WS_HSCROLL = 0x00100000u,
    WS_VSCROLL = 0x00200000u, WS_DLGFRAME = 0x00400000u, WS_EX_CLIENTEDGE = 0x200u,
    WS_EX_TOPMOST = 0x8u, WS_EX_TOOLWINDOW = 0x80u, WS_EX_NOACTIVATE = 0x08000000u,
};

struct TCreateParams {
    std::string Caption;
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::string WinClassName;
};

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TDragImageList;
class TControl;

// Drag and drop inside the program (no platform drag session): the object that travels with the
// pointer, and the record CM_DRAG carries (lParam) with a TDragMessage in wParam.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

class TDragObject : public rtl::TObject {
    RTL_CLASS(TDragObject, rtl::TObject)
    TPoint DragPos;            // screen
    TControl* DragTarget = nullptr;
    TPoint DragTargetPos;      // client coordinates of the target
    bool Cancelling = false;
    bool Dropped = false;
    virtual TCursor GetDragCursor(bool accepted, int x, int y);
    virtual TDragImageList* GetDragImages() { return nullptr; }
    // The drag ended: dropped on `target` (accepted) or not.
    virtual void Finished(rtl::TObject* target, int x, int y, bool accepted) {}
};

// A drag object that stands for a control: the drop sides see the control as the source.
class TBaseDragControlObject : public TDragObject {
    RTL_CLASS(TBaseDragControlObject, TDragObject)
    explicit TBaseDragControlObject(TControl* control) : Control(control) {}
    TControl* Control;
};

class TDragControlObject : public TBaseDragControlObject {
    RTL_CLASS(TDragControlObject, TBaseDragControlObject)
    using TBaseDragControlObject::TBaseDragControlObject;
    TCursor GetDragCursor(bool accepted, int x, int y) override;
    TDragImageList* GetDragImages() override;
};

struct TDragRec {
    TPoint Pos;                // screen
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;
    bool Docking = false;
};

using TNotifyEvent = rtl::Event<void(rtl::TObject* sender)>;
using TMouseEvent = rtl::Event<void(rtl::TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = rtl::Event<void(rtl::TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = rtl::Event<void(rtl::TObject* sender, std::uint16_t& key, TShiftState shift)>;
// Characters arrive as UTF-16 code units (WM_CHAR carries one unit).
using TKeyPressEvent = rtl::Event<void(rtl::TObject* sender, char16_t& key)>;
using TContextPopupEvent = rtl::Event<void(rtl::TObject* sender, TPoint mousePos, bool& handled)>;
using TMouseWheelEvent = rtl::Event<void(rtl::TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;
using TDragOverEvent = rtl::Event<void(rtl::TObject* sender, rtl::TObject* source, int x, int y, TDragState state, bool& accept)>;
using TDragDropEvent = rtl::Event<void(rtl::TObject* sender, rtl::TObject* source, int x, int y)>;
using TStartDragEvent = rtl::Event<void(rtl::TObject* sender, TDragObject*& dragObject)>;
using TEndDragEvent = rtl::Event<void(rtl::TObject* sender, rtl::TObject* target, int x, int y)>;

// The shift state of a mouse message's key flags, and of the keyboard now.
TShiftState KeysToShiftState(unsigned keys);
TShiftState KeyboardStateToShiftState();
TShiftState KeyDataToShiftState(LPARAM keyData);

class TControl : public rtl::TComponent {
    RTL_CLASS(TControl, rtl::TComponent)
    explicit TControl(rtl::TComponent* owner);
    ~TControl() override;
    void BeforeDestruction() override;

    // Messages.
    rtl::Event<void(TMessage&)> WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& msg);
    virtual void Dispatch(TMessage& msg);
    virtual void DefaultHandler(TMessage& msg);

    // Containment (visual) is apart from ownership (lifetime).
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    TCustomForm* GetParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect GetClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return GetClientRect().Width(); }
    int ClientHeight() const { return GetClientRect().Height(); }
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& p) const;
    TPoint ScreenToClient(const TPoint& p) const;

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font) { font_->Assign(font); }
    const std::string& Caption() const { return text_; }
    void SetCaption(const std::string& s) { SetText(s); }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& s);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    std::string Hint;
    bool ShowHint = false;
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    TDragMode DragMode = dmManual;
    TAlign Align = alNone;
    TControlStyle ControlStyle;
    TControlState ControlState;
    bool MouseCapture() const;
    void SetMouseCapture(bool v);
    // A windowed control with a handle, or a graphic control whose parent chain is showing.
    virtual bool Showing() const;

    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();

    // Drag and drop: BeginDrag starts at once or once the pointer moved `threshold` pixels (-1:
    // the system's); the drag follows the pointer until a button is released (a drop when the
    // control under it accepted) or Escape is pressed.
    void BeginDrag(bool immediate, int threshold = -1);
    void EndDrag(bool drop);
    bool Dragging() const;
    TCursor DragCursor = crDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;
    virtual void DragOver(rtl::TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(rtl::TObject* source, int x, int y) { vcl::FireEvent(OnDragDrop, this, source, x, y); }
    virtual TDragImageList* GetDragImages() { return nullptr; }
    virtual void DoStartDrag(TDragObject*& dragObject) { vcl::FireEvent(OnStartDrag, this, dragObject); }
    virtual void DoEndDrag(rtl::TObject* target, int x, int y) { vcl::FireEvent(OnEndDrag, this, target, x, y); }

    TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TContextPopupEvent OnContextPopup;
    TMouseWheelEvent OnMouseWheel;

    // A token that expires when the control is destroyed: a handler that calls out keeps one and
    // stops when it expired.
    std::weak_ptr<bool> AliveToken() const { return alive_; }

protected:
    virtual void Click() { vcl::FireEvent(OnClick, this); }
    virtual void DblClick() { vcl::FireEvent(OnDblClick, this); }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Resize() { vcl::FireEvent(OnResize, this); }
    virtual void DoContextPopup(TPoint mousePos, bool& handled);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual TPopupMenu* GetPopupMenu() { return popupMenu_; }
    virtual void VisibleChanging() {}
    virtual void Paint() {}
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

    // The text as the window holds it, stored without a change notice (edit controls).
    void StoreText(const std::string& s) { text_ = s; }
    // Bounds stored without touching a window (the window reports its own moves this way).
    void UpdateBoundsRect(const TRect& r);
    void SendSizeMessages(bool moved, bool sized);

    TWinControl* parent_ = nullptr;

private:
    friend class TWinControl;
    void MouseButtonDown(TMessage& m, TMouseButton button, bool doubleClick);
    void MouseButtonUp(TMessage& m, TMouseButton button);
    void HandleMouseEnterLeave(TMessage& m, bool enter);
    void HandleContextMenu(TMessage& m);
    void HandleDrag(TMessage& m);

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    std::unique_ptr<TFont> font_;
    std::string text_;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A control without a window of its own: its parent paints it and forwards mouse messages.
class TGraphicControl : public TControl {
    RTL_CLASS(TGraphicControl, TControl)
    explicit TGraphicControl(rtl::TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return canvas_.get(); }

protected:
    void Dispatch(TMessage& msg) override;

private:
    std::unique_ptr<TCanvas> canvas_;
};

class TWinControl : public TControl {
    RTL_CLASS(TWinControl, TControl)
    explicit TWinControl(rtl::TComponent* owner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    void WndProc(TMessage& msg) override;
    void Dispatch(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;

    // The window: created on first use, never reused once destroyed.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    void RecreateWnd();
    void DestroyHandle();
    vcl::TWidgetPeer* Peer() const { return peer_; }
    // The pixels the control paints into; presented by the peer.
    gdi::Surface& Surface() { return surface_; }
    // The styles of the creation parameters the window was last made with (0 before).
    std::uint32_t WindowStyle() const { return style_; }
    std::uint32_t WindowExStyle() const { return exStyle_; }
    // The window's region (window coordinates): the window shows and takes input only there.
    // The window owns the region it is given (null: the whole window again).
    void SetWindowRgn(gdi::Region* region);
    // A copy of the region and its kind (SIMPLEREGION, COMPLEXREGION or NULLREGION); RGN_ERROR
    // and no copy when the window has none.
    int GetWindowRgn(gdi::Region& region) const;

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(std::size_t(index)); }
    bool ContainsControl(const TControl* control) const;
    TControl* ControlAtPos(const TPoint& p, bool allowDisabled, bool allowWinControls = false) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Moves a child to the top of the z order, keeping its window.
    void MoveChildToFront(TControl* control);

    bool TabStop = false;
    TBrush* Brush() const { return brush_.get(); }
    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    virtual void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // Tells every child (CM_PARENTCOLORCHANGED, CM_PARENTFONTCHANGED) that this control changed.
    void NotifyControls(UINT msg);
    bool Showing() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetEnabled(bool v) override;
    void Invalidate() override;
    void Update() override;
    // Invalidates a part of the client area; erase asks for WM_ERASEBKGND first.
    void InvalidateRect(const TRect& r, bool erase);

    TNotifyEvent OnEnter, OnExit;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Called by the peer with the region Qt wants painted (client coordinates).
    void PaintFromPeer(const TRect& area);
    TPoint ClientOrigin() const override;

    // Key messages through the form's key preview and then the control's events; true when
    // the key was used up (set to 0).
    bool DoKeyDown(TMessage& msg);
    bool DoKeyUp(TMessage& msg);
    bool DoKeyPress(TMessage& msg);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateHandle();
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    virtual void PaintWindow(HDC dc);
    void PaintHandler(HDC dc);
    void PaintControls(HDC dc);
    bool IsControlMouseMsg(TMessage& msg);
    void UpdateShowing();

    virtual void KeyDown(std::uint16_t& key, TShiftState shift) { vcl::FireEvent(OnKeyDown, this, key, shift); }
    virtual void KeyUp(std::uint16_t& key, TShiftState shift) { vcl::FireEvent(OnKeyUp, this, key, shift); }
    virtual void KeyPress(char16_t& key) { vcl::FireEvent(OnKeyPress, this, key); }
    virtual void DoEnter() { vcl::FireEvent(OnEnter, this); }
    virtual void DoExit() { vcl::FireEvent(OnExit, this); }

private:
    friend class TControl;
    void HandleCnKeyDown(TMessage& m);
    void HandleDialogKey(TMessage& m);
    void HandleSetFocus(TMessage& m);
    void HandleEraseBackground(TMessage& m);
    void HandlePaint(TMessage& m);

    HWND handle_ = nullptr;
    vcl::TWidgetPeer* peer_ = nullptr;
    std::uint32_t style_ = 0, exStyle_ = 0;
    std::unique_ptr<gdi::Region> windowRegion_;
    gdi::Surface surface_;
    std::vector<TControl*> controls_; // children in z order, bottom first
    std::unique_ptr<TBrush> brush_;
    bool eraseNeeded_ = true;
};

// A windowed control that paints itself on its canvas (Paint, OnPaint).
class TCustomControl : public TWinControl {
    RTL_CLASS(TCustomControl, TWinControl)
    explicit TCustomControl(rtl::TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return canvas_.get(); }
    TNotifyEvent OnPaint;

protected:
    void PaintWindow(HDC dc) override;
    void Paint() override { vcl::FireEvent(OnPaint, this); }

private:
    std::unique_ptr<TCanvas> canvas_;
};

// The toolkit names windows of a handle: the control behind a window, or null.
TWinControl* FindControl(HWND wnd);
// The control that holds the mouse capture (the windowed one, or a graphic child of it).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// Window-level focus and capture (Input.h keeps the state).
HWND GetFocus();
HWND SetFocus(HWND wnd);
HWND GetCapture();
HWND SetCapture(HWND wnd);
bool ReleaseCapture();
bool IsWindowVisible(HWND wnd);
bool IsWindowEnabled(HWND wnd);
bool EnableWindow(HWND wnd, bool enable);
std::string GetClassName(HWND wnd);

// Moves the pixels of a window's client area (or of `scroll`, cut to `clip`) by (dx, dy); with
// SW_INVALIDATE the uncovered part is invalidated (erased with SW_ERASE), the moved pixels are
// not painted again; SW_SCROLLCHILDREN moves the child controls too. `update` (when given)
// receives the uncovered rectangle. ScrollWindow: invalidate and erase, children moved when the
// whole client area scrolls.
enum : unsigned { SW_SCROLLCHILDREN = 1, SW_INVALIDATE = 2, SW_ERASE = 4 };
bool ScrollWindowEx(HWND wnd, int dx, int dy, const TRect* scroll, const TRect* clip, TRect* update, unsigned flags);
bool ScrollWindow(HWND wnd, int dx, int dy, const TRect* rect, const TRect* clip);
