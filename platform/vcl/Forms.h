#pragma once
// Forms, the application object, the screen and the mouse. Our code, not Qt, runs the modal
// loop and its veto rules: ShowModal spins a nested QEventLoop until ModalResult is set and the
// close query agrees (or the application terminates).
#include "platform/vcl/Controls.h"
#include "platform/vcl/SystemFacade.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTimer;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = rtl::Set<TFormStateFlag>;
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };

using TCloseEvent = rtl::Event<void(rtl::TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = rtl::Event<void(rtl::TObject* sender, bool& canClose)>;

class TCustomForm : public TWinControl {
    RTL_CLASS(TCustomForm, TWinControl)
    // A form without a resource (the design's CreateNew): hidden, button-face coloured.
    explicit TCustomForm(rtl::TComponent* owner);
    ~TCustomForm() override;
    void BeforeDestruction() override;

private:
    void ForgetForm();

public:
    void Show();
    void Close();
    // Frees the form once the messages now queued were handled.
    void Release();
    virtual bool CloseQuery();
    virtual TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult r) { modalResult_ = r; }

    TWinControl* ActiveControl() const { return activeControl_.Get(); }
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    // The window-level focus reached control: exit and enter notices along the way.
    bool SetFocusedControl(TWinControl* control);
    TWinControl* FocusedControl() const { return focusedControl_.Get(); }
    bool Active() const { return active_; }

    bool KeyPreview = false;
    TFormStyle FormStyle = fsNormal;
    TFormBorderStyle BorderStyle = bsSizeable;
    TPosition Position = poDesigned;
    TDefaultMonitor DefaultMonitor = dmActiveForm;
    TFormState FormState;

    TNotifyEvent OnShow, OnHide, OnActivate, OnDeactivate, OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void Dispatch(TMessage& msg) override;
    void CreateParams(TCreateParams& params) override;
    void VisibleChanging() override;
    virtual void Activate() { vcl::FireEvent(OnActivate, this); }
    virtual void Deactivate() { vcl::FireEvent(OnDeactivate, this); }
    virtual void DoShow() { vcl::FireEvent(OnShow, this); }
    virtual void DoHide() { vcl::FireEvent(OnHide, this); }
    virtual void DoClose(TCloseAction& action) { vcl::FireEvent(OnClose, this, action); }
    void SetWindowFocus();

private:
    struct WinRef {
        TWinControl* control = nullptr;
        std::weak_ptr<bool> alive;
        void Set(TWinControl* c);
        TWinControl* Get() const;
    };
    void CloseModal();
    void HandleActivate(TMessage& m);
    void HandleDialogKey(TMessage& m);

    TModalResult modalResult_ = mrNone;
    WinRef activeControl_;
    WinRef focusedControl_;
    bool active_ = false;
    int focusCount_ = 0;
};

class TForm : public TCustomForm {
    RTL_CLASS(TForm, TCustomForm)
    using TCustomForm::TCustomForm;
};

// A small borderless window that shows a hint text; it never takes the activation.
class THintWindow : public TCustomControl {
    RTL_CLASS(THintWindow, TCustomControl)
    explicit THintWindow(rtl::TComponent* owner);
    // The rectangle the text needs, word-wrapped at maxWidth, with the window's margins.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data = nullptr);
    virtual void ActivateHint(const TRect& rect, const std::string& hint);
    virtual void ActivateHintData(const TRect& rect, const std::string& hint, void* data) { ActivateHint(rect, hint); }
    void ReleaseHandle() { DestroyHandle(); }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

using THintWindowClass = rtl::TClassRef<THintWindow, rtl::TComponent*>;

// What the application is about to show as a hint; CM_HINTSHOW (lParam) and OnShowHint may
// change it (a non-zero CM_HINTSHOW answer or can-show False keeps the hint away).
struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass;
    TPoint HintPos;        // screen
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;      // client coordinates of the control: the hint stays while the pointer is in it
    TPoint CursorPos;      // client coordinates
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};
using TShowHintEvent = rtl::Event<void(std::string& hintStr, bool& canShow, THintInfo& hintInfo)>;

using TExceptionEvent = rtl::Event<void(rtl::TObject* sender, rtl::Exception& e)>;
using TIdleEvent = rtl::Event<void(rtl::TObject* sender, bool& done)>;
// Shows a message to the user: the text and the caption (the application's title).
using TMessageNotifier = std::function<void(const std::string& text, const std::string& caption)>;

class TApplication : public rtl::TComponent {
    RTL_CLASS(TApplication, rtl::TComponent)
    explicit TApplication(rtl::TComponent* owner);
    ~TApplication() override;

    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles what is waiting, Qt's events and our posted messages, without waiting.
    void ProcessMessages();
    // Waits for something to happen and handles it.
    void HandleMessage();
    // Call inside a catch block: EAbort is silent; others go to OnException or ShowException.
    void HandleException(rtl::TObject* sender);
    void ShowException(const rtl::Exception& e);
    void Idle();

    TCustomForm* MainForm = nullptr;
    std::string Title = "Ammerlin";
    bool ShowHint = true;
    int HintPause = 500;
    int HintHidePause = 2500;
    TColor HintColor = clInfoBk;
    int HintShortPause = 50;
    THintWindowClass HintWindowClass;
    TShowHintEvent OnShowHint;
    // Hides the hint and forgets the control it belonged to.
    void CancelHint();
    // The hint window shown now (null before the first hint).
    THintWindow* HintWindow() const { return hintWindow_; }
    // The hint engine's view of a retrieved message: a move restarts the pause, a press or a key
    // cancels the hint.
    void HintMessage(const MSG& msg);
    int ModalLevel() const { return modalLevel_; }
    bool Active() const;

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate, OnDeactivate;

    // The notifier behind ShowException; a message box by default. Gives the previous one.
    TMessageNotifier SetMessageNotifier(TMessageNotifier notifier);

private:
    friend class TCustomForm;
    void HintTimerExpired();
    void ShowHintFor(TControl* control);
    bool terminated_ = false;
    int modalLevel_ = 0;
    TMessageNotifier notifier_;
    THintWindow* hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    std::weak_ptr<bool> hintControlAlive_;
    TPoint hintCursor_;
    TRect hintCursorRect_;
    bool hintShowing_ = false;
    bool hintHiding_ = false; // the timer runs for the hide pause
    QTimer* hintTimer_ = nullptr;
};

struct TMonitor {
    int MonitorNum = 0;
    TRect BoundsRect;
    TRect WorkareaRect;
    bool Primary = false;
};

using HCURSOR = void*;

class TScreen : public rtl::TComponent {
    RTL_CLASS(TScreen, rtl::TComponent)
    explicit TScreen(rtl::TComponent* owner);
    ~TScreen() override;

    int Width() const;
    int Height() const;
    TRect DesktopRect() const;
    TRect WorkAreaRect() const;
    int MonitorCount() const;
    TMonitor Monitors(int index) const;
    TMonitor MonitorFromPoint(const TPoint& p) const;
    int PixelsPerInch = 96;

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    // Cursors by id; the built-in ones are Qt's shapes, others are registered by SetCursors.
    HCURSOR Cursors(TCursor id) const;
    void SetCursors(TCursor id, HCURSOR cursor);

    TCustomForm* ActiveCustomForm() const;
    TCustomForm* ActiveForm() const { return ActiveCustomForm(); }
    TWinControl* ActiveControl() const;
    int CustomFormCount() const { return int(forms_.size()); }
    TCustomForm* CustomForms(int index) const { return forms_.at(std::size_t(index)); }
    int FormCount() const { return CustomFormCount(); }
    TCustomForm* Forms(int index) const { return CustomForms(index); }

private:
    friend class TCustomForm;
    TCursor cursor_ = crDefault;
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    std::vector<std::pair<TCursor, HCURSOR>> cursors_;
};

class TMouse {
public:
    TPoint CursorPos() const { return vcl::System().GetCursorPos(); }
    void SetCursorPos(const TPoint& p) { vcl::System().SetCursorPos(p); }
    HWND Capture() const { return GetCapture(); }
    void SetCapture(HWND wnd);
    int WheelScrollLines() const { return vcl::System().WheelScrollLines(); }
    int DragThreshold() const { return vcl::System().DragThreshold(); }
    bool IsDragging() const { return false; }
};

// The process-wide objects, made on first use of this unit.
extern TApplication* Application;
extern TScreen* Screen;
extern TMouse* Mouse;

// A window of a top-level form that is not a child window (the form's handle), or null.
TCustomForm* GetParentForm(TControl* control);
