// The control's own scroll bars and size grip, wheel scrolling and middle-button panning.
#include "toolkit/controls/cxControls.h"

#include "platform/gdi/GdiConsts.h"
#include "platform/vcl/Desktop.h"
#include "platform/vcl/Peer.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>

namespace cx {

namespace {
TcxSettingsController* settingsController = nullptr;
int Metric(int index) { return vcl::System().GetSystemMetrics(index); }
} // namespace

// ---- TcxControlScrollBar and TcxSizeGrip ----

TcxControlScrollBar::TcxControlScrollBar(TComponent* owner) : TcxScrollBar(owner)
{
    SetColor(clBtnFace);
    ControlStyle.Exclude(csFramed);
    ControlStyle.Include(csNoDesignVisible);
    TabStop = false;
    SetVisible(false);
}

void TcxControlScrollBar::BeforeDestruction()
{
    cxClearObjectLinks(this);
    TcxScrollBar::BeforeDestruction();
}

void TcxControlScrollBar::ApplyData()
{
    if (Data.Visible) {
        SetScrollParams(Data.Min, Data.Max, Data.Position, Data.PageSize, true);
        SmallChange = Data.SmallChange;
        LargeChange = Data.LargeChange;
    }
    SetEnabled(Data.Enabled);
    if (Visible() != Data.Visible)
        SetVisible(Data.Visible);
}

void TcxControlScrollBar::FocusParent()
{
    if (auto* p = dynamic_cast<TcxControl*>(Parent())) {
        if (p->FocusWhenChildIsClicked(this))
            p->SetFocus();
    } else if (Parent() && Parent()->CanFocus()) {
        Parent()->SetFocus();
    }
}

void TcxControlScrollBar::WndProc(TMessage& msg)
{
    if (msg.Msg == WM_LBUTTONDOWN) {
        TcxObjectLink* link = cxAddObjectLink(this);
        FocusParent();
        const bool alive = link->Target != nullptr;
        cxRemoveObjectLink(link);
        if (!alive)
            return;
    }
    if (msg.Msg == CM_DESIGNHITTEST) {
        msg.Result = 1;
        return;
    }
    TcxScrollBar::WndProc(msg);
}

TcxSizeGrip::TcxSizeGrip(TComponent* owner) : TCustomControl(owner)
{
    SetColor(clBtnFace);
    ControlStyle.Include(csNoDesignVisible);
    lookAndFeel_ = std::make_unique<TcxLookAndFeel>(this);
    lookAndFeel_->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxSizeGrip::LookAndFeelChanged);
}

TcxSizeGrip::~TcxSizeGrip() = default;

void TcxSizeGrip::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Invalidate(); }

void TcxSizeGrip::Dispatch(TMessage& msg)
{
    if (msg.Msg == WM_ERASEBKGND) {
        msg.Result = 1;
        return;
    }
    TCustomControl::Dispatch(msg);
}

void TcxSizeGrip::Paint()
{
    TcxCanvas c(Canvas());
    c.FillRect(GetClientRect(), lookAndFeel_->GetPainter()->DefaultSizeGripAreaColor());
}

// ---- creating the children ----

void TcxControl::CreateScrollBars()
{
    if (!NeedsScrollBars() || sizeGrip_)
        return;
    hScrollBar_ = new TcxControlScrollBar(nullptr);
    hScrollBar_->SetKind(sbHorizontal);
    hScrollBar_->OnScroll = TScrollEvent(this, &TcxControl::ScrollEvent);
    vScrollBar_ = new TcxControlScrollBar(nullptr);
    vScrollBar_->SetKind(sbVertical);
    vScrollBar_->OnScroll = TScrollEvent(this, &TcxControl::ScrollEvent);
    sizeGrip_ = new TcxSizeGrip(nullptr);
    sizeGrip_->SetVisible(false);
    for (TControl* c : std::initializer_list<TControl*>{hScrollBar_, vScrollBar_, sizeGrip_})
        c->ControlStyle.Include(csReplicatable);
    hScrollBar_->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel_.get());
    vScrollBar_->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel_.get());
    sizeGrip_->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel_.get());
    if (TcxSettingsController* s = cxSettingsController())
        s->Add(this);
}

void TcxControl::DestroyScrollBars()
{
    if (!sizeGrip_)
        return;
    if (settingsController)
        settingsController->Remove(this);
    // The platform frees children with their parent only when it owns them; ours are not owned,
    // so they are freed here in either case.
    sizeGrip_->Free();
    vScrollBar_->Free();
    hScrollBar_->Free();
    sizeGrip_ = nullptr;
    vScrollBar_ = hScrollBar_ = nullptr;
}

void TcxControl::CheckNeedsScrollBars()
{
    if (NeedsScrollBars()) {
        CreateScrollBars();
        if (HandleAllocated())
            InitScrollBars();
    } else {
        DestroyScrollBars();
    }
}

void TcxControl::InitScrollBars()
{
    if (!sizeGrip_)
        return;
    hScrollBar_->SetParent(this);
    vScrollBar_->SetParent(this);
    sizeGrip_->SetParent(this);
}

void TcxControl::ScrollEvent(TObject* sender, TScrollCode code, int& pos)
{
    Scroll(static_cast<TcxScrollBar*>(sender)->Kind(), code, pos);
}

bool TcxControl::GetScrollBarVisible(TcxControlScrollBar* bar) const
{
    if (!NeedsScrollBars() || !bar)
        return false;
    return calculatingScrollBarsParams_ ? bar->Data.Visible : bar->Visible();
}

// ---- placement ----

TRect TcxControl::GetHScrollBarBounds() const
{
    TRect r = GetClientBounds();
    r.Top = r.Bottom;
    r.Bottom = r.Top + hScrollBar_->Height();
    return r;
}

TRect TcxControl::GetVScrollBarBounds() const
{
    TRect r = GetClientBounds();
    r.Left = r.Right;
    r.Right = r.Left + vScrollBar_->Width();
    return r;
}

TRect TcxControl::GetSizeGripBounds() const
{
    const TRect h = GetHScrollBarBounds(), v = GetVScrollBarBounds();
    return {v.Left, h.Top, v.Right, h.Bottom};
}

void TcxControl::SetInternalControlsBounds()
{
    if (!sizeGrip_)
        return;
    if (hScrollBar_->Visible())
        hScrollBar_->SetBoundsRect(GetHScrollBarBounds());
    if (vScrollBar_->Visible())
        vScrollBar_->SetBoundsRect(GetVScrollBarBounds());
    if (sizeGrip_->Visible())
        sizeGrip_->SetBoundsRect(GetSizeGripBounds());
}

void TcxControl::UpdateInternalControlsState()
{
    if (!NeedsScrollBars() || !sizeGrip_)
        return;
    for (TControl* c : std::initializer_list<TControl*>{hScrollBar_, vScrollBar_, sizeGrip_})
        if (c->Visible())
            c->Update();
}

// ---- parameters ----

void TcxControl::SetScrollBarInfo(TScrollBarKind kind, int min, int max, int step, int page, int pos, bool allowShow,
                                  bool allowHide)
{
    TcxControlScrollBar* bar = kind == sbHorizontal ? hScrollBar_ : vScrollBar_;
    if (!bar)
        return;
    TcxScrollBarData d = bar->Data;
    const bool permitted = scrollBars_ == ssBoth || (kind == sbHorizontal ? scrollBars_ == ssHorizontal
                                                                          : scrollBars_ == ssVertical);
    d.AllowShow = allowShow && permitted;
    d.AllowHide = allowHide;
    // A page of at least the range means nothing to scroll (64-bit, so that no range overflows).
    const bool nothing = min > max || std::int64_t(page) >= std::int64_t(max) - min + 1 || pos < min;
    if (!d.AllowShow) {
        d.Visible = false;
    } else if (nothing) {
        if (d.AllowHide) {
            d.Visible = false;
        } else {
            d.Enabled = false;
            d.Visible = true;
        }
    } else {
        d.Min = min, d.Max = max, d.Position = pos, d.PageSize = page;
        d.SmallChange = std::int16_t(step), d.LargeChange = std::int16_t(page);
        d.Enabled = true, d.Visible = true;
    }
    bar->Data = d;
}

void TcxControl::ComputeScrollBarsParameters()
{
    calculatingScrollBarsParams_ = true;
    try {
        hScrollBar_->Data.Visible = false;
        vScrollBar_->Data.Visible = false;
        // Each bar's presence may change the other's need: repeat until both settle (two bars
        // can flip at most a few times; the bound keeps a descendant that never settles finite).
        for (int round = 0; round < 8; ++round) {
            const bool h = hScrollBar_->Data.Visible, v = vScrollBar_->Data.Visible;
            InitScrollBarsParameters();
            if (h == hScrollBar_->Data.Visible && v == vScrollBar_->Data.Visible)
                break;
        }
        const auto& hd = hScrollBar_->Data;
        const auto& vd = vScrollBar_->Data;
        auto fits = [](const TcxScrollBarData& d, int other) {
            return std::int64_t(other) + d.PageSize >= std::int64_t(d.Max) - d.Min + 1;
        };
        if (hd.Visible && vd.Visible && hd.Enabled && vd.Enabled && hd.AllowHide && vd.AllowHide &&
            IsPixelScrollBar(sbHorizontal) && IsPixelScrollBar(sbVertical) && fits(hd, vScrollBar_->Width()) &&
            fits(vd, hScrollBar_->Height())) {
            const TcxScrollBarData h0 = hd, v0 = vd;
            SetScrollBarInfo(sbHorizontal, h0.Min, h0.Max, h0.SmallChange, h0.PageSize + vScrollBar_->Width(),
                             h0.Position, h0.AllowShow, true);
            SetScrollBarInfo(sbVertical, v0.Min, v0.Max, v0.SmallChange, v0.PageSize + hScrollBar_->Height(),
                             v0.Position, v0.AllowShow, true);
        }
    } catch (...) {
        calculatingScrollBarsParams_ = false;
        throw;
    }
    calculatingScrollBarsParams_ = false;
}

void TcxControl::UpdateScrollBars()
{
    if (!NeedsScrollBars() || !sizeGrip_)
        return;
    if (scrollBarsLockCount_ > 0) {
        scrollBarsUpdateNeeded_ = true;
        return;
    }
    const bool outermost = !updatingScrollBars_;
    if (outermost) {
        initialHScrollBarVisible_ = hScrollBar_->Visible();
        initialVScrollBarVisible_ = vScrollBar_->Visible();
    }
    const bool savedUpdating = updatingScrollBars_;
    updatingScrollBars_ = true;
    auto restore = [&] {
        if (outermost)
            initialScrollBarsParams_ = false;
        updatingScrollBars_ = savedUpdating;
    };
    try {
        const bool hBefore = hScrollBar_->Visible(), vBefore = vScrollBar_->Visible();
        if (!initialScrollBarsParams_) {
            if (!calculatingScrollBarsParams_)
                ComputeScrollBarsParameters();
            if (!outermost && hScrollBar_->Data.Visible == initialHScrollBarVisible_ &&
                vScrollBar_->Data.Visible == initialVScrollBarVisible_) {
                // A bar whose need flips with its own presence stays, disabled, instead of flickering.
                initialScrollBarsParams_ = true;
                for (auto [bar, initial] : {std::pair{hScrollBar_, initialHScrollBarVisible_},
                                            std::pair{vScrollBar_, initialVScrollBarVisible_}})
                    if (bar->Visible() != initial) {
                        bar->SetEnabled(false);
                        bar->SetVisible(true);
                    }
            } else {
                hScrollBar_->ApplyData();
                vScrollBar_->ApplyData();
            }
        }
        if (hScrollBar_->Visible() != hBefore || vScrollBar_->Visible() != vBefore) {
            BoundsChanged();
        } else {
            sizeGrip_->SetVisible(hScrollBar_->Visible() && vScrollBar_->Visible());
            SetInternalControlsBounds();
            if (NeedsToBringInternalControlsToFront())
                BringInternalControlsToFront();
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TcxControl::LockScrollBars()
{
    if (scrollBarsLockCount_++ == 0)
        scrollBarsUpdateNeeded_ = false;
}

void TcxControl::UnlockScrollBars()
{
    if (scrollBarsLockCount_ == 0)
        return;
    if (--scrollBarsLockCount_ == 0 && scrollBarsUpdateNeeded_)
        UpdateScrollBars();
}

void TcxControl::HandleNcSizeChanged()
{
    if (!NeedsScrollBars() || !sizeGrip_)
        return;
    const int h = Metric(SM_CYHSCROLL), w = Metric(SM_CXVSCROLL);
    if (h != hScrollBar_->Height() || w != vScrollBar_->Width()) {
        hScrollBar_->SetHeight(h);
        vScrollBar_->SetWidth(w);
        BoundsChanged();
    }
}

// ---- scrolling ----

void TcxControl::ScrollContent(TcxDirection direction)
{
    if (direction == dirNone)
        return;
    if (!NeedsScrollBars() && !CanScrollLineWithoutScrollBars(direction))
        return;
    const TScrollBarKind kind = direction == dirUp || direction == dirDown ? sbVertical : sbHorizontal;
    const TScrollCode code = direction == dirLeft || direction == dirUp ? scLineUp : scLineDown;
    TcxControlScrollBar* bar = kind == sbVertical ? vScrollBar_ : hScrollBar_;
    int pos = bar ? bar->Position() : 0;
    Scroll(kind, code, pos);
    Update();
}

void TcxControl::ScrollWindow(int dx, int dy, const TRect& scrollRect)
{
    // The drag image (the drag-and-drop unit's) would be moved with the pixels; none is shown yet.
    if (HandleAllocated())
        ::ScrollWindowEx(Handle(), dx, dy, &scrollRect, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

bool TcxControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos))
        return true;
    const TcxMouseWheelScrollingKind kind = GetMouseWheelScrollingKind();
    if (kind == mwskNone)
        return false;
    const TcxDirection dir = kind == mwskHorizontal ? (wheelDelta >= 0 ? dirLeft : dirRight)
                                                    : (wheelDelta >= 0 ? dirUp : dirDown);
    for (int i = 0; i < Mouse->WheelScrollLines(); ++i)
        ScrollContent(dir);
    return true;
}

// ---- panning ----

void cxCalcPanning(const TPoint& p, const TPoint& a, int w, bool hVisible, bool vVisible, TcxPanningState& state)
{
    TRect neutral{a.X - w / 2, a.Y - w / 2, a.X - w / 2 + w, a.Y - w / 2 + w};
    if (!hVisible)
        neutral.Left = INT32_MIN / 2, neutral.Right = INT32_MAX / 2;
    if (!vVisible)
        neutral.Top = INT32_MIN / 2, neutral.Bottom = INT32_MAX / 2;
    if (cxRectPtIn(neutral, p)) {
        state.Direction = dirNone;
        state.Speed = 0;
        return;
    }
    state.MovedOut = true;
    const int dx = p.X - a.X, dy = p.Y - a.Y;
    int distance;
    if (hVisible && (!vVisible || std::abs(dx) > std::abs(dy))) {
        state.Direction = dx < 0 ? dirLeft : dirRight;
        distance = std::abs(dx);
    } else {
        state.Direction = dy < 0 ? dirUp : dirDown;
        distance = std::abs(dy);
    }
    state.Speed = std::min((distance - w / 2) / 5 + 1, 12);
}

namespace {
TCursor PanningCursor(TcxDirection d, bool h, bool v)
{
    switch (d) {
    case dirUp: return crcxUpScroll;
    case dirRight: return crcxRightScroll;
    case dirDown: return crcxDownScroll;
    case dirLeft: return crcxLeftScroll;
    default: return h && v ? crcxFullScroll : (h ? crcxHorScroll : crcxVerScroll);
    }
}
constexpr std::uintptr_t PanningTimerId = 0x5041;

// The anchor: a round window on top of everything, centred where panning began, never active and
// never in the pointer's way. Its picture is drawn (no bitmap resources are shipped): a disc
// framed in the window-text colour with an arrow for each way the content can move.
class TcxPanningAnchorWindow : public TOverlayWindow {
public:
    TcxPanningAnchorWindow(bool h, bool v) : TOverlayWindow(nullptr), h_(h), v_(v) { SetColor(clBtnFace); }

protected:
    void CreateWnd() override
    {
        TOverlayWindow::CreateWnd();
        Peer()->setMask(QRegion(0, 0, Width() + 1, Height() + 1, QRegion::Ellipse));
    }
    void Paint() override
    {
        TCanvas* c = Canvas();
        const int w = Width(), m = w / 2;
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(GetClientRect());
        c->Pen()->SetColor(clWindowText);
        c->Ellipse(0, 0, w, Height());
        c->Brush()->SetColor(clWindowText);
        c->FillRect({m - 1, m - 1, m + 2, m + 2});
        auto arrow = [&](TPoint a, TPoint b, TPoint tip) {
            const TPoint pts[] = {a, b, tip};
            c->Polygon(pts, 2);
        };
        if (v_) {
            arrow({m - 4, 8}, {m + 4, 8}, {m, 4});
            arrow({m - 4, w - 9}, {m + 4, w - 9}, {m, w - 5});
        }
        if (h_) {
            arrow({8, m - 4}, {8, m + 4}, {4, m});
            arrow({w - 9, m - 4}, {w - 9, m + 4}, {w - 5, m});
        }
    }

private:
    bool h_, v_;
};
} // namespace

// The design's window-less 20 ms thread timer inside a GetMessage loop is a window timer of the
// control inside a nested loop here: each tick is seen (and swallowed) by the loop's look-out.
void TcxControl::DoScrolling()
{
    const bool h = HScrollBarVisible(), v = VScrollBarVisible();
    if (!h && !v)
        return;
    scrollingContent_ = true;
    const TPoint anchor = vcl::System().GetCursorPos();
    panningAnchor_ = new TcxPanningAnchorWindow(h, v);
    const int aw = cxPanningAnchorWidth;
    panningAnchor_->SetBounds(anchor.X - aw / 2, anchor.Y - aw / 2, aw, aw);
    panningAnchor_->SetVisible(true);
    TcxPanningState st;
    st.Speed = 1;
    int ticks = 0;
    TPoint last = anchor;
    HWND wnd = Handle();
    const TCursor savedCursor = Screen->Cursor();
    Screen->SetCursor(PanningCursor(dirNone, h, v));
    vcl::SetTimer(wnd, PanningTimerId, 20);
    ::SetCapture(wnd);
    const auto alive = AliveToken();
    auto cleanup = [&] {
        if (alive.expired())
            return;
        if (::GetCapture() == wnd)
            ::ReleaseCapture();
        vcl::KillTimer(wnd, PanningTimerId);
        if (panningAnchor_) {
            panningAnchor_->Free();
            panningAnchor_ = nullptr;
        }
        Screen->SetCursor(savedCursor);
        scrollingContent_ = false;
    };
    try {
        detail::RunInspectingLoop(wnd, [&](const MSG& m) {
            detail::TcxLoopAction a;
            if (m.message >= WM_LBUTTONDOWN && m.message <= WM_MOUSEWHEEL && m.message != WM_MBUTTONUP) {
                a.Drop = a.End = true;
            } else if (m.message == WM_MBUTTONUP) {
                a.End = st.MovedOut;
            } else if ((m.message == WM_KEYDOWN || m.message == WM_KEYUP) && m.wParam == VK_ESCAPE) {
                a.End = true;
            } else if (m.message == WM_TIMER && m.hwnd == wnd && m.wParam == PanningTimerId) {
                ++ticks;
                if (st.Speed > 0 && ticks % (13 - st.Speed) == 0 && !alive.expired())
                    ScrollContent(st.Direction);
                a.Drop = true;
            } else if (m.message == WM_MOUSEMOVE) {
                TPoint p{XFromLParam(m.lParam), YFromLParam(m.lParam)};
                if (TWinControl* c = ::FindControl(m.hwnd))
                    p = c->ClientToScreen(p);
                if (p != last) {
                    cxCalcPanning(p, anchor, cxPanningAnchorWidth, h, v, st);
                    Screen->SetCursor(PanningCursor(st.Direction, h, v));
                    last = p;
                }
            }
            return a;
        });
    } catch (...) {
        cleanup();
        throw;
    }
    cleanup();
}

// ---- the settings controller ----

void TcxSettingsController::Add(TcxControl* control)
{
    if (std::find(list_.begin(), list_.end(), control) == list_.end())
        list_.push_back(control);
}

void TcxSettingsController::Remove(TcxControl* control)
{
    list_.erase(std::remove(list_.begin(), list_.end(), control), list_.end());
}

void TcxSettingsController::WndProc(TMessage& m)
{
    if (m.Msg == WM_SETTINGCHANGE && m.WParam == 42) {
        try {
            const auto list = list_;
            for (TcxControl* c : list)
                if (std::find(list_.begin(), list_.end(), c) != list_.end() && c->HandleAllocated())
                    vcl::PostMessage(c->Handle(), CM_NCSIZECHANGED);
        } catch (...) {
            vcl::HandleCurrentException(this);
        }
        m.Result = 0;
        return;
    }
    TcxMessageWindow::WndProc(m);
}

TcxSettingsController* cxSettingsController()
{
    if (!settingsController && !cxControlsUnit::ShuttingDown())
        settingsController = new TcxSettingsController;
    return settingsController;
}

void cxFreeSettingsController()
{
    delete settingsController;
    settingsController = nullptr;
}

} // namespace cx
