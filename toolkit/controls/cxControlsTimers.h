#pragma once
// Process-wide services of the control base: TcxTimer (every tick through one hidden window,
// the timer object as the timer id), hidden message windows, mouse tracking (a 10 ms poll that
// tells a caller the pointer has left), the counted hourglass cursor, the design controller and
// the unit's start-up and shut-down.
#include "platform/vcl/Controls.h"
#include "platform/vcl/MessageQueue.h"
#include "toolkit/core/dxCore.h"

#include <functional>

namespace cx {

class TcxTimer : public TComponent {
    RTL_CLASS(TcxTimer, TComponent)
    explicit TcxTimer(TComponent* owner);
    ~TcxTimer() override;
    void BeforeDestruction() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);
    TNotifyEvent OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent value);
    // Whether a system timer runs for this object now.
    bool TimerOn() const { return timerOn_; }
    std::uintptr_t EventID() const { return eventId_; }

    virtual void TimeOut();

protected:
    bool CanSetTimer() const;
    void SetTimer();
    void KillTimer();
    void SetTimerOn(bool value);
    void UpdateTimer();

private:
    bool enabled_ = true;
    std::uintptr_t eventId_;
    unsigned interval_ = 1000;
    bool timerOn_ = false;
    TNotifyEvent onTimer_;
};

// A hidden window for a non-visual object.
class TcxMessageWindow : public TObject {
    RTL_CLASS(TcxMessageWindow, TObject)
    TcxMessageWindow();
    ~TcxMessageWindow() override;
    HWND Handle() const { return handle_; }

protected:
    virtual void WndProc(TMessage& message);

private:
    HWND handle_ = nullptr;
};
TcxMessageWindow* cxMessageWindow();

// The window that receives the ticks of every TcxTimer.
HWND cxTimerWindow();

class IcxMouseTrackingCaller {
public:
    virtual ~IcxMouseTrackingCaller() = default;
    virtual void MouseTrackingCallerMouseLeave() = 0;
};
class IcxMouseTrackingCaller2 : public IcxMouseTrackingCaller {
public:
    // P in the tracked control's client coordinates.
    virtual bool ContainsPoint(const TPoint& p) = 0;
};

void BeginMouseTracking(TWinControl* control, const TRect& bounds, IcxMouseTrackingCaller* caller);
void EndMouseTracking(IcxMouseTrackingCaller* caller);
bool IsMouseTracking(IcxMouseTrackingCaller* caller);

void ShowHourglassCursor();
void HideHourglassCursor();

enum TcxDesignState { dsDesignerModifying };
class TcxDesignController : public TObject {
    RTL_CLASS(TcxDesignController, TObject)
    // The form designer is not part of this system: a hook lets a design environment hear of
    // modifications.
    std::function<void(TCustomForm*)> OnDesignerModified;
    void DesignerModified(TCustomForm* form);
    bool IsDesignerModifiedLocked() const { return lockCount_ > 0; }
    void LockDesignerModified() { ++lockCount_; }
    void UnLockDesignerModified();

private:
    int lockCount_ = 0;
    bool modifying_ = false;
};
TcxDesignController* DesignController();

// Screen cursor ids the toolkit registers at start-up.
constexpr TCursor crcxDragCopy = 2100, crcxFullScroll = 2101, crcxHorScroll = 2102, crcxVerScroll = 2103,
                  crcxUpScroll = 2104, crcxRightScroll = 2105, crcxDownScroll = 2106, crcxLeftScroll = 2107,
                  crcxRemove = 2108, crcxVertSize = 2109, crcxHorzSize = 2110, crcxMultiDrag = 2111,
                  crcxNoDrop = 2112, crcxDrag = 2113, crcxHandPoint = -2099, crcxColorPicker = 2114,
                  crcxMultiDragCopy = 2115;

namespace cxControlsUnit {
void Initialize();
// Start-up's registration of the toolkit's screen cursors (the ids above); registering again
// changes nothing.
void RegisterScreenCursors();
// The two messages registered at start-up (nothing in this system sends or handles them); 0
// before start-up.
UINT RegisteredMessage(int index);
// The layered-window entry found at start-up: the window opacity of the window system.
using TSetLayeredWindowAttributes = bool (*)(HWND, std::uint32_t, std::uint8_t, std::uint32_t);
TSetLayeredWindowAttributes LayeredWindowAttributesProc();
// Trackers still alive at shut-down are a programming error: they are freed, reported on the
// error output ("MouseTrackingTimerList.Count <> 0") and counted, never raised (an exception at
// exit would end the program in the middle of its teardown).
void Finalize();
bool ShuttingDown();
// How many trackers the last shut-down found alive.
int TrackersLeftAtShutDown();
} // namespace cxControlsUnit

} // namespace cx
