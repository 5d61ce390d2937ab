#include "platform/vcl/ExtCtrls.h"

#include "platform/vcl/MessageQueue.h"

TTimer::TTimer(rtl::TComponent* owner) : rtl::TComponent(owner)
{
    window_ = vcl::AllocateHWnd([this](TMessage& m) {
        if (m.Msg == WM_TIMER)
            Timer();
        else
            m.Result = vcl::DefWindowProc(window_, m.Msg, m.WParam, m.LParam);
    });
}

TTimer::~TTimer() = default;

void TTimer::BeforeDestruction()
{
    // No tick reaches a timer that is going away, even one already on its way.
    enabled_ = false;
    vcl::DeallocateHWnd(window_);
    window_ = nullptr;
    rtl::TComponent::BeforeDestruction();
}

void TTimer::UpdateTimer()
{
    if (!window_)
        return;
    vcl::KillTimer(window_, 1);
    if (enabled_ && interval_ != 0 && onTimer_.Assigned())
        vcl::SetTimer(window_, 1, interval_);
}

void TTimer::SetEnabled(bool v)
{
    if (v == enabled_)
        return;
    enabled_ = v;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned ms)
{
    if (ms == interval_)
        return;
    interval_ = ms;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    UpdateTimer();
}
