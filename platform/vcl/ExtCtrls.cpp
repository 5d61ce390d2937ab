#include "platform/vcl/ExtCtrls.h"

#include "platform/gdi/Draw.h"
#include "platform/gdi/Text.h"
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

// ---------------------------------------------------------------------------------------------
TCustomPanel::TCustomPanel(rtl::TComponent* owner) : TCustomControl(owner)
{
    ControlStyle.Include(csAcceptsControls);
    ControlStyle.Include(csSetCaption);
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED)
        Invalidate();
    TCustomControl::Dispatch(m);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = GetClientRect();
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    gdi::Dc& dc = *c->GetHandle();
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone)
            return;
        for (int i = 0; i < BevelWidth; ++i) {
            if (b == bvSpace) {
                r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
                continue;
            }
            gdi::DrawEdge(dc, r, b == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        }
    };
    bevel(BevelOuter);
    r = {r.Left + BorderWidth, r.Top + BorderWidth, r.Right - BorderWidth, r.Bottom - BorderWidth};
    bevel(BevelInner);
    if (Caption().empty())
        return;
    const unsigned align = Alignment == taRightJustify ? gdi::DT_RIGHT : Alignment == taCenter ? gdi::DT_CENTER : gdi::DT_LEFT;
    c->Brush()->SetStyle(bsClear);
    c->RequiredState();
    gdi::DrawText(dc, Caption(), r, align | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    c->Brush()->SetStyle(bsSolid);
}
