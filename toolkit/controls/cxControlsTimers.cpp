#include "toolkit/controls/cxControlsTimers.h"

#include "platform/vcl/Desktop.h"
#include "platform/vcl/Forms.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/controls/cxControls.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace cx {

namespace {

bool shuttingDown = false;
int trackersLeftAtShutDown = 0;
int initCount = 0;
UINT registeredMessages[2] = {0, 0};
cxControlsUnit::TSetLayeredWindowAttributes layeredProc = nullptr;

// The ids of the timers whose system timer runs; a tick whose id is missing is dropped.
std::vector<std::uintptr_t>& ActiveTimers()
{
    static std::vector<std::uintptr_t> list;
    return list;
}

HWND timerWindow = nullptr;

void TimerWndProc(TMessage& m)
{
    if (m.Msg != WM_TIMER) {
        m.Result = vcl::DefWindowProc(timerWindow, m.Msg, m.WParam, m.LParam);
        return;
    }
    auto& list = ActiveTimers();
    if (std::find(list.begin(), list.end(), m.WParam) != list.end())
        reinterpret_cast<TcxTimer*>(m.WParam)->TimeOut();
}

TcxMessageWindow* messageWindow = nullptr;
TcxDesignController* designController = nullptr;

class TMouseTrackingTimer;
std::vector<TMouseTrackingTimer*>* trackingList = nullptr;

class TMouseTrackingTimer : public TcxTimer {
public:
    TMouseTrackingTimer() : TcxTimer(nullptr) {}
    IcxMouseTrackingCaller* Caller = nullptr;
    TWinControl* Control = nullptr;
    std::weak_ptr<bool> ControlAlive;
    TRect Bounds;
    void Tick(TObject*);
};

TMouseTrackingTimer* FindTracker(IcxMouseTrackingCaller* caller)
{
    if (!trackingList)
        return nullptr;
    for (auto* t : *trackingList)
        if (t->Caller == caller)
            return t;
    return nullptr;
}

void TMouseTrackingTimer::Tick(TObject*)
{
    TWinControl* control = ControlAlive.expired() ? nullptr : Control;
    const TPoint cursor = vcl::System().GetCursorPos();
    bool inside;
    auto* caller2 = dynamic_cast<IcxMouseTrackingCaller2*>(Caller);
    if (caller2)
        inside = control && control->HandleAllocated() && caller2->ContainsPoint(control->ScreenToClient(cursor));
    else
        inside = cxRectPtIn(Bounds, cursor);
    const bool lost = !control || !control->HandleAllocated() || !IsWindowEnabledEx(control->Handle());
    if (inside && !lost)
        return;
    IcxMouseTrackingCaller* caller = Caller;
    if (control && control->HandleAllocated() &&
        (!cxRectPtIn(control->GetClientRect(), control->ScreenToClient(cursor)) || lost))
        vcl::SendMessage(control->Handle(), CM_MOUSELEAVE, 0, LPARAM(static_cast<TControl*>(control)));
    caller->MouseTrackingCallerMouseLeave();
    EndMouseTracking(caller);
}

int hourglassCount = 0;
TCursor savedCursor = crDefault;

} // namespace

// ---- TcxTimer ----

TcxTimer::TcxTimer(TComponent* owner) : TComponent(owner), eventId_(reinterpret_cast<std::uintptr_t>(this)) {}

TcxTimer::~TcxTimer() { KillTimer(); }

void TcxTimer::BeforeDestruction()
{
    KillTimer();
    TComponent::BeforeDestruction();
}

void TcxTimer::SetEnabled(bool value)
{
    if (enabled_ != value) {
        enabled_ = value;
        UpdateTimer();
    }
}

void TcxTimer::SetInterval(unsigned value)
{
    if (value != interval_ && value != 0) {
        interval_ = value;
        UpdateTimer();
    }
}

void TcxTimer::SetOnTimer(TNotifyEvent value)
{
    onTimer_ = value;
    UpdateTimer();
}

void TcxTimer::TimeOut() { vcl::FireEvent(onTimer_, this); }

bool TcxTimer::CanSetTimer() const { return enabled_ && !timerOn_ && onTimer_.Assigned(); }

void TcxTimer::SetTimer()
{
    if (!CanSetTimer())
        return;
    HWND wnd = cxTimerWindow();
    SetTimerOn(wnd && vcl::SetTimer(wnd, eventId_, interval_));
}

void TcxTimer::KillTimer()
{
    if (timerOn_) {
        vcl::KillTimer(timerWindow, eventId_);
        SetTimerOn(false);
    }
}

void TcxTimer::SetTimerOn(bool value)
{
    if (timerOn_ == value)
        return;
    auto& list = ActiveTimers();
    if (value)
        list.push_back(eventId_);
    else
        list.erase(std::remove(list.begin(), list.end(), eventId_), list.end());
    timerOn_ = value;
}

void TcxTimer::UpdateTimer()
{
    KillTimer();
    SetTimer();
}

HWND cxTimerWindow()
{
    if (!timerWindow && !shuttingDown)
        timerWindow = vcl::AllocateHWnd(TimerWndProc);
    return timerWindow;
}

// ---- message windows ----

TcxMessageWindow::TcxMessageWindow()
{
    handle_ = vcl::AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TcxMessageWindow::~TcxMessageWindow() { vcl::DeallocateHWnd(handle_); }

void TcxMessageWindow::WndProc(TMessage& m) { m.Result = vcl::DefWindowProc(handle_, m.Msg, m.WParam, m.LParam); }

TcxMessageWindow* cxMessageWindow()
{
    if (!messageWindow && !shuttingDown)
        messageWindow = new TcxMessageWindow;
    return messageWindow;
}

// ---- mouse tracking ----

void BeginMouseTracking(TWinControl* control, const TRect& bounds, IcxMouseTrackingCaller* caller)
{
    if (shuttingDown || !caller || FindTracker(caller))
        return;
    if (!trackingList)
        trackingList = new std::vector<TMouseTrackingTimer*>;
    auto* t = new TMouseTrackingTimer;
    t->SetInterval(10);
    t->Control = control;
    if (control)
        t->ControlAlive = control->AliveToken();
    t->Bounds = bounds;
    if (control) {
        const TPoint tl = control->ClientToScreen({bounds.Left, bounds.Top});
        t->Bounds = {tl.X, tl.Y, tl.X + bounds.Width(), tl.Y + bounds.Height()};
    }
    t->Caller = caller;
    trackingList->push_back(t);
    t->SetOnTimer(TNotifyEvent(t, &TMouseTrackingTimer::Tick));
}

void EndMouseTracking(IcxMouseTrackingCaller* caller)
{
    TMouseTrackingTimer* t = FindTracker(caller);
    if (!t)
        return;
    trackingList->erase(std::find(trackingList->begin(), trackingList->end(), t));
    t->Free();
}

bool IsMouseTracking(IcxMouseTrackingCaller* caller) { return !shuttingDown && FindTracker(caller) != nullptr; }

// ---- hourglass and design controller ----

void ShowHourglassCursor()
{
    if (hourglassCount++ == 0) {
        savedCursor = Screen->Cursor();
        Screen->SetCursor(crHourGlass);
    }
}

void HideHourglassCursor()
{
    if (hourglassCount == 0)
        return;
    if (--hourglassCount == 0)
        Screen->SetCursor(savedCursor);
}

void TcxDesignController::DesignerModified(TCustomForm* form)
{
    if (lockCount_ > 0 || modifying_)
        return;
    modifying_ = true;
    try {
        if (form && OnDesignerModified)
            OnDesignerModified(form);
    } catch (...) {
        modifying_ = false;
        throw;
    }
    modifying_ = false;
}

void TcxDesignController::UnLockDesignerModified()
{
    if (lockCount_ > 0)
        --lockCount_;
}

TcxDesignController* DesignController()
{
    if (!designController && !shuttingDown)
        designController = new TcxDesignController;
    return designController;
}

// ---- unit start-up and shut-down ----

namespace cxControlsUnit {

// The panning cursors: a dot where the middle button went down and an arrow head towards each
// way the content can move (the neutral cursors) or moves now (one head).
std::vector<std::string> PanningCursorPicture(bool up, bool down, bool left, bool right)
{
    constexpr int size = 25, c = size / 2;
    std::vector<std::string> p(size, std::string(size, ' '));
    auto put = [&](int x, int y, char ch) {
        if (x >= 0 && x < size && y >= 0 && y < size)
            p[std::size_t(y)][std::size_t(x)] = ch;
    };
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            put(c + dx, c + dy, std::abs(dx) == 2 || std::abs(dy) == 2 ? '.' : 'X');
    // A black head with a white rim, its tip `along` = 0 at the edge, drawn for one direction:
    // (across, along) turned into the picture.
    auto head = [&](int direction) {
        auto at = [&](int across, int along, char ch) {
            switch (direction) {
            case 0: put(c + across, 1 + along, ch); break;
            case 1: put(c + across, size - 2 - along, ch); break;
            case 2: put(1 + along, c + across, ch); break;
            default: put(size - 2 - along, c + across, ch); break;
            }
        };
        constexpr int rows = 4;
        for (int along = 0; along < rows; ++along) {
            for (int across = -along; across <= along; ++across)
                at(across, along, 'X');
            at(-along - 1, along, '.');
            at(along + 1, along, '.');
        }
        at(0, -1, '.');
        for (int across = -rows; across <= rows; ++across)
            at(across, rows, '.');
    };
    if (up)
        head(0);
    if (down)
        head(1);
    if (left)
        head(2);
    if (right)
        head(3);
    return p;
}

void RegisterScreenCursors()
{
    // Shapes the system has stand for the rest of the toolkit's cursors.
    const std::pair<TCursor, TCursor> cursors[] = {
        {crcxRemove, crNo},           {crcxVertSize, crVSplit}, {crcxHorzSize, crHSplit},
        {crcxMultiDrag, crMultiDrag}, {crcxNoDrop, crNoDrop},   {crcxDrag, crDrag},
        {crcxHandPoint, crHandPoint}, {crcxColorPicker, crCross}};
    for (auto [id, shape] : cursors)
        Screen->SetCursors(id, Screen->Cursors(shape));
    // Drawn: a copy's box carries a plus; the panning cursors show the ways the content goes.
    Screen->SetCursors(crcxDragCopy, vcl::DragCursor(false, true));
    Screen->SetCursors(crcxMultiDragCopy, vcl::DragCursor(true, true));
    struct Panning {
        TCursor id;
        bool up, down, left, right;
    };
    const Panning panning[] = {{crcxFullScroll, true, true, true, true}, {crcxHorScroll, false, false, true, true},
                               {crcxVerScroll, true, true, false, false}, {crcxUpScroll, true, false, false, false},
                               {crcxRightScroll, false, false, false, true}, {crcxDownScroll, false, true, false, false},
                               {crcxLeftScroll, false, false, true, false}};
    for (const Panning& c : panning)
        Screen->SetCursors(c.id, vcl::CursorHandleOfPicture(PanningCursorPicture(c.up, c.down, c.left, c.right), {12, 12}));
}

void Initialize()
{
    if (initCount++ != 0)
        return;
    shuttingDown = false;
    RegisterScreenCursors();
    registeredMessages[0] = vcl::RegisterWindowMessage("{B2CE3777-44D8-4998-9701-47BBBC10B656}");
    registeredMessages[1] = vcl::RegisterWindowMessage("{B2CE3777-44D8-1321-4656-12C54AA613BB}");
    layeredProc = &::SetLayeredWindowAttributes;
}

UINT RegisteredMessage(int index) { return index == 0 || index == 1 ? registeredMessages[index] : 0; }

TSetLayeredWindowAttributes LayeredWindowAttributesProc() { return layeredProc; }

bool ShuttingDown() { return shuttingDown; }

void Finalize()
{
    if (initCount == 0 || --initCount != 0)
        return;
    shuttingDown = true;
    delete designController;
    designController = nullptr;
    trackersLeftAtShutDown = trackingList ? int(trackingList->size()) : 0;
    if (trackingList) {
        for (auto* t : *trackingList)
            t->Free();
        delete trackingList;
        trackingList = nullptr;
    }
    cxFreeSettingsController();
    if (timerWindow) {
        vcl::DeallocateHWnd(timerWindow);
        timerWindow = nullptr;
    }
    ActiveTimers().clear();
    delete messageWindow;
    messageWindow = nullptr;
    dxISpellChecker = nullptr;
    if (trackersLeftAtShutDown > 0)
        std::fprintf(stderr, "MouseTrackingTimerList.Count <> 0 (%d freed)\n", trackersLeftAtShutDown);
}

int TrackersLeftAtShutDown() { return trackersLeftAtShutDown; }

} // namespace cxControlsUnit

} // namespace cx
