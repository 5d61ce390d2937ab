// The stand-alone navigator control and its link to an IcxNavigator control.
#include "toolkit/editors/cxNavigator.h"

namespace cx {

// ---- TcxCustomNavigator ----

TcxCustomNavigator::TcxCustomNavigator(TComponent* owner) : TcxControl(owner)
{
    ControlStyle.Exclude(csAcceptsControls);
    ControlStyle.Exclude(csSetCaption);
    ControlStyle.Include(csOpaque);
    TabStop = false;
    SetHeight(25);
}

TcxCustomNavigator::~TcxCustomNavigator() = default;

void TcxCustomNavigator::BeforeDestruction()
{
    EndMouseTracking(this);
    viewInfo_.reset();
    buttons_.reset();
    TcxControl::BeforeDestruction();
}

TcxCustomNavigatorButtons* TcxCustomNavigator::CustomButtons()
{
    if (!buttons_)
        buttons_.reset(CreateButtons());
    return buttons_.get();
}

TcxNavigatorViewInfo* TcxCustomNavigator::ViewInfo()
{
    if (!viewInfo_)
        viewInfo_.reset(GetViewInfoClass().Create(this, false));
    return viewInfo_.get();
}

TcxCustomNavigatorButtons* TcxCustomNavigator::CreateButtons() { return new TcxCustomNavigatorButtons(this); }

TcxNavigatorViewInfoClass TcxCustomNavigator::GetViewInfoClass() const
{
    return TcxNavigatorViewInfoClass::Of<TcxNavigatorViewInfo>();
}

void TcxCustomNavigator::InitButtons()
{
    for (int i = 0; i < CustomButtons()->ButtonCount(); ++i)
        CustomButtons()->Buttons(i)->RestoreDefaultVisible(true);
}

void TcxCustomNavigator::RestoreButtons()
{
    for (int i = 0; i < CustomButtons()->ButtonCount(); ++i)
        CustomButtons()->Buttons(i)->ForgetExplicitVisible();
    InitButtons();
}

void TcxCustomNavigator::NavigatorButtonsStateChanged() { ViewInfo()->UpdateButtonsEnabled(); }

void TcxCustomNavigator::RefreshNavigator()
{
    if (!HandleAllocated()) {
        ViewInfo()->MakeIsDirty();
        return;
    }
    int w = Width(), h = Height();
    ViewInfo()->CheckSize(w, h);
    if (w == Width() && h == Height())
        Invalidate();
    else
        SetBounds(Left(), Top(), w, h);
}

// Every size the control takes is one the layout accepts.
void TcxCustomNavigator::SetBounds(int left, int top, int width, int height)
{
    if (HandleAllocated() && !IsDestroying())
        ViewInfo()->CheckSize(width, height);
    TcxControl::SetBounds(left, top, width, height);
}

bool TcxCustomNavigator::CanFocusOnClick() { return TcxControl::CanFocusOnClick() && TabStop; }

void TcxCustomNavigator::CreateWnd()
{
    TcxControl::CreateWnd();
    RefreshNavigator();
}

void TcxCustomNavigator::Paint() { ViewInfo()->Paint(); }

void TcxCustomNavigator::LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues)
{
    TcxControl::LookAndFeelChanged(sender, changedValues);
    if (HandleAllocated())
        RecreateWnd();
    else
        ViewInfo()->MakeIsDirty();
}

void TcxCustomNavigator::Notification(TComponent* component, TOperation operation)
{
    TcxControl::Notification(component, operation);
    if (operation == opRemove && buttons_ && component == buttons_->Images())
        buttons_->ImageListFreed();
}

namespace {
bool HidesButtonHint(UINT msg)
{
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || msg == CM_ACTIVATE || msg == CM_DEACTIVATE ||
           msg == CM_APPKEYDOWN || msg == CM_APPSYSCOMMAND || msg == WM_COMMAND ||
           (msg >= WM_LBUTTONDOWN && msg <= WM_MOUSEWHEEL) || msg == WM_NCMOUSEMOVE;
}
} // namespace

void TcxCustomNavigator::WndProc(TMessage& msg)
{
    if (viewInfo_ && viewInfo_->HintShowing() && HidesButtonHint(msg.Msg))
        viewInfo_->HintActivate(false);
    TcxControl::WndProc(msg);
}

void TcxCustomNavigator::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_GETDLGCODE: msg.Result = DLGC_WANTARROWS; return;
    // The view info shows the button hints itself: the application's control hint stays away.
    case CM_HINTSHOW: msg.Result = 1; return;
    case CM_ENABLEDCHANGED:
        TcxControl::Dispatch(msg);
        RefreshNavigator();
        return;
    default: TcxControl::Dispatch(msg);
    }
}

void TcxCustomNavigator::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxControl::KeyDown(key, shift);
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT: ViewInfo()->PressArrowKey(key == VK_LEFT); break;
    case VK_SPACE:
        if (TcxNavigatorButtonViewInfo* vi = ViewInfo()->GetFocusedButton())
            if (vi->NavButton->GetInternalEnabled())
                vi->NavButton->DoClick();
        break;
    default: break;
    }
}

void TcxCustomNavigator::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxControl::MouseDown(button, shift, x, y);
    if (button == mbLeft)
        ViewInfo()->MouseDown(x, y);
}

void TcxCustomNavigator::MouseMove(TShiftState shift, int x, int y)
{
    TcxControl::MouseMove(shift, x, y);
    ViewInfo()->MouseMove(x, y);
    BeginMouseTracking(this, GetNavigatorBounds(), this);
}

void TcxCustomNavigator::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxControl::MouseUp(button, shift, x, y);
    ViewInfo()->MouseUp(x, y);
}

void TcxCustomNavigator::MouseEnter(TControl* control)
{
    TcxControl::MouseEnter(control);
    BeginMouseTracking(this, GetNavigatorBounds(), this);
}

void TcxCustomNavigator::MouseLeave(TControl* control)
{
    TcxControl::MouseLeave(control);
    EndMouseTracking(this);
    NavigatorMouseLeave();
}

void TcxCustomNavigator::NavigatorMouseLeave()
{
    if (viewInfo_)
        viewInfo_->MouseMove(-1, -1);
}

void TcxCustomNavigator::DoEnter()
{
    TcxControl::DoEnter();
    ViewInfo()->DoEnter();
}

void TcxCustomNavigator::DoExit()
{
    TcxControl::DoExit();
    ViewInfo()->DoExit();
}

// ---- TcxCustomNavigatorControl ----

void TcxCustomNavigatorControl::BeforeDestruction()
{
    Unlink();
    TcxCustomNavigator::BeforeDestruction();
}

void TcxCustomNavigatorControl::Unlink()
{
    if (!control_)
        return;
    control_->RemoveFreeNotification(this);
    if (TcxNavigatorControlNotifier* notifier = GetControl()->NavigatorGetNotifier())
        notifier->RemoveNavigator(this);
    control_ = nullptr;
}

TcxCustomNavigatorButtons* TcxCustomNavigatorControl::CreateButtons()
{
    auto* buttons = new TcxNavigatorControlButtons(this);
    buttons->GetControlCallback = [this] { return GetControl(); };
    return buttons;
}

void TcxCustomNavigatorControl::SetControl(TComponent* value)
{
    if (value == control_ || (value && !dynamic_cast<IcxNavigator*>(value)))
        return;
    Unlink();
    control_ = value;
    if (control_) {
        control_->FreeNotification(this);
        if (TcxNavigatorControlNotifier* notifier = GetControl()->NavigatorGetNotifier())
            notifier->AddNavigator(this);
    }
    InitButtons();
    RefreshNavigator();
}

void TcxCustomNavigatorControl::InitButtons()
{
    IcxNavigator* nav = GetControl();
    for (int i = 0; i < Buttons()->ButtonCount(); ++i) {
        TcxNavigatorButton* b = Buttons()->Buttons(i);
        b->RestoreDefaultVisible(!nav || nav->NavigatorIsActionSupported(b->ButtonIndex()));
    }
}

void TcxCustomNavigatorControl::Notification(TComponent* component, TOperation operation)
{
    TcxCustomNavigator::Notification(component, operation);
    // The control is going: nothing of it is asked any more (its notifier goes with it).
    if (operation == opRemove && component == control_) {
        control_ = nullptr;
        InitButtons();
        RefreshNavigator();
    }
}

} // namespace cx
