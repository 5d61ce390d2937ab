#pragma once
// TcxCustomPopupWindow: the drop-down window of an editor (a list, a calendar, a calculator). It
// belongs to an owner control, opens beside it, may take the keyboard focus (a real top-level
// window) or leave it in the editor (a window that never takes the activation), may run a modal
// loop while open, and closes when the user clicks or switches elsewhere. The closing on outside
// activity is done by three thread hooks (call-window-procedure, get-message, mouse) that act while
// any such window is open; the container unit keeps the list of open popups in opening order.
#include "toolkit/controls/cxContainer.h"

#include <memory>

namespace cx {

constexpr UINT CM_CLOSEPOPUPWINDOW = 0x807D, CM_SHOWPOPUPWINDOW = 0x807E;

class TcxCustomPopupWindow;
using TcxCustomPopupWindowClass = TClassRef<TcxCustomPopupWindow, TWinControl*>;

class TcxCustomPopupWindow : public TcxPopupWindow {
    RTL_CLASS(TcxCustomPopupWindow, TcxPopupWindow)
    explicit TcxCustomPopupWindow(TWinControl* ownerControl);
    ~TcxCustomPopupWindow() override;
    void BeforeDestruction() override;

    bool CaptureFocus() const { return captureFocus_; }
    void SetCaptureFocus(bool value);
    bool IsTopMost() const { return isTopMost_; }
    void SetIsTopMost(bool value);
    bool ModalMode = true;
    TWinControl* OwnerControl() const { return ownerControl_; }
    // The control that got the focus at the last Popup.
    TWinControl* FocusedControl() const { return focusedControl_; }
    // The control the show-popup message (CM_SHOWPOPUPWINDOW) gives the focus to.
    void SetFocusedControl(TWinControl* value)
    {
        focusedControl_ = value;
        focusedAlive_ = value ? value->AliveToken() : std::weak_ptr<bool>();
    }
    TNotifyEvent OnClosed, OnClosing, OnShowed, OnShowing;
    // Created on first use, so that a descendant's classes are asked for.
    TcxContainerStyle* Style();
    TcxContainerViewInfo* ViewInfo();

    // Open: in the open-popups list.
    bool IsVisible() const;
    bool HasCapture() const;
    bool IsOwnerControlVisible() const;
    void LockDeactivate(bool lock) { deactivateLockCount_ += lock ? 1 : -1; }
    bool IsDeactivateLocked() const { return deactivateLockCount_ != 0; }
    TWinControl* GetFirstFocusControl(TWinControl* control);
    // True once after a click on the owner closed the window and the window asked to swallow it.
    bool GetJustClosed();
    // Posts CM_CLOSEPOPUPWINDOW to itself.
    void ClosePopup();
    void RecreateWindow();
    bool CanFocus() const override { return Visible(); }

    void CloseUp() override;
    void Popup() override { Popup(nullptr); }
    virtual void Popup(TWinControl* focusedControl);
    virtual bool AcceptsAnySize() const { return false; }
    virtual void CorrectBoundsWithDesktopWorkArea(TPoint& position);
    virtual bool HasBackground() const { return false; }
    virtual bool IsSysKeyAccepted(std::uint16_t key) const;
    virtual void ModalCloseUp() { CloseUp(); }
    virtual bool NeedIgnoreMouseMessageAfterCloseUp(HWND wnd, UINT msg, TShiftState shift, const TPoint& pos)
    {
        return false;
    }
    virtual void PopupWindowStyleChanged(TObject* sender) {}
    virtual TcxContainerStyleClass GetStyleClass() const { return TcxContainerStyleClass::Of<TcxContainerStyle>(); }
    virtual TcxContainerViewInfoClass GetViewInfoClass() const
    {
        return TcxContainerViewInfoClass::Of<TcxContainerViewInfo>();
    }
    virtual void MouseEnter(TControl* control) {}
    virtual void MouseLeave(TControl* control) {}

    // The hook procedures' entry for the mouse: whether the press goes on (false swallows it).
    static bool HandleOutsidePress(UINT msg, HWND wnd, const TPoint& screenPos);
    // While a window is being shown by Popup, or closed by the mouse hook.
    static bool InPopupTransition();

protected:
    void Dispatch(TMessage& msg) override;
    void CreateParams(TCreateParams& params) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void Deactivate() override;
    void VisibleChanged() override;
    void Paint() override;
    virtual void DoClosed() { vcl::FireEvent(OnClosed, this); }
    virtual void DoClosing() { vcl::FireEvent(OnClosing, this); }
    virtual void DoShowed() { vcl::FireEvent(OnShowed, this); }
    virtual void DoShowing() { vcl::FireEvent(OnShowing, this); }

private:
    friend struct PopupHooks;
    void RunModalLoop();
    void ReopenAfterChange();

    bool captureFocus_ = true;
    int deactivateLockCount_ = 0;
    TWinControl* focusedControl_ = nullptr;
    std::weak_ptr<bool> focusedAlive_;
    bool isTopMost_ = false;
    bool justClosed_ = false;
    TWinControl* ownerControl_ = nullptr;
    std::weak_ptr<bool> ownerAlive_;
    TcxContainerStyle* style_ = nullptr;
    TcxContainerViewInfo* viewInfo_ = nullptr;
};

// The open popup windows of the toolkit, in opening order (the last one is the top one).
int cxPopupWindowCount();
TcxCustomPopupWindow* cxPopupWindow(int index);
// Installs the three hooks now (or, in the hooks-on-demand mode, when the first window opens);
// runs once, also from the first popup window's construction.
void cxContainerPopupInitialize();
void cxContainerPopupFinalize();

} // namespace cx
