#pragma once
// TTimer: a component whose ticks arrive as WM_TIMER on a hidden window of its own.
#include "platform/vcl/Controls.h"

class TTimer : public rtl::TComponent {
    RTL_CLASS(TTimer, rtl::TComponent)
    explicit TTimer(rtl::TComponent* owner);
    ~TTimer() override;
    void BeforeDestruction() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    TNotifyEvent OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

protected:
    virtual void Timer() { vcl::FireEvent(onTimer_, this); }

private:
    void UpdateTimer();
    HWND window_ = nullptr;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
};

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// A container with bevels and a centred caption.
class TCustomPanel : public TCustomControl {
    RTL_CLASS(TCustomPanel, TCustomControl)
    explicit TCustomPanel(rtl::TComponent* owner);
    TPanelBevel BevelInner = bvNone;
    TPanelBevel BevelOuter = bvRaised;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TAlignment Alignment = taCenter;

protected:
    void Dispatch(TMessage& msg) override;
    void Paint() override;
};

class TPanel : public TCustomPanel {
    RTL_CLASS(TPanel, TCustomPanel)
    using TCustomPanel::TCustomPanel;
};
