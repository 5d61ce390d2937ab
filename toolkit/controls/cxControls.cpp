// Control utilities and the hint window.
#include "toolkit/controls/cxControls.h"

#include "platform/gdi/GdiConsts.h"
#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/Keys.h"

#include <QEventLoop>
#include <QTimer>

#include <cstdlib>

namespace cx {

IdxSpellChecker* dxISpellChecker = nullptr;

// ---- keys and characters ----

bool IsCtrlPressed() { return vcl::System().GetKeyState(VK_CONTROL) < 0; }
bool IsTextChar(char16_t ch) { return ch >= 32; }

char16_t GetCharFromKeyCode(std::uint16_t key)
{
    const auto& sys = vcl::System();
    const bool ctrl = sys.GetKeyState(VK_CONTROL) < 0 && sys.GetKeyState(VK_MENU) >= 0;
    if (ctrl)
        return key >= 'A' && key <= 'Z' ? char16_t(key - 'A' + 1) : 0;
    bool shift = sys.GetKeyState(VK_SHIFT) < 0;
    if (key >= 'A' && key <= 'Z' && (sys.GetKeyState(VK_CAPITAL) & 1))
        shift = !shift;
    return vcl::keys::UsCharOf(key, shift);
}
bool IsEditStartChar(char16_t ch) { return IsTextChar(ch) || ch == 8 || ch == 22 || ch == 24; }
bool IsIncSearchStartChar(char16_t ch) { return IsTextChar(ch) || ch == 8; }

bool IsNumericChar(char16_t ch, TcxNumberType type)
{
    if (ch == '+' || ch == '-' || (ch >= '0' && ch <= '9'))
        return true;
    if (type == ntInteger)
        return false;
    if (ch == char16_t(static_cast<unsigned char>(LocaleService().FormatSettings().DecimalSeparator)))
        return true;
    return type == ntExponent && (ch == 'e' || ch == 'E');
}

bool IsSysKey(unsigned key)
{
    if (key > 255)
        return false;
    return key == 3 || key == 8 || key == 9 || key == 12 || key == 13 || (key >= 16 && key <= 20) || key == 27 ||
           (key >= 33 && key <= 47) || (key >= 91 && key <= 145) || (key >= 160 && key <= 165) || key == 229 ||
           (key >= 246 && key <= 254);
}

std::uint16_t ShiftStateToKeys(TShiftState shift)
{
    std::uint16_t r = 0;
    if (shift.Contains(ssShift))
        r |= MK_SHIFT;
    if (shift.Contains(ssCtrl))
        r |= MK_CONTROL;
    if (shift.Contains(ssLeft))
        r |= MK_LBUTTON;
    if (shift.Contains(ssRight))
        r |= MK_RBUTTON;
    if (shift.Contains(ssMiddle))
        r |= MK_MBUTTON;
    return r;
}

std::uint16_t GetMouseKeys()
{
    auto down = [](int vk) { return vcl::System().GetKeyState(vk) < 0; };
    std::uint16_t r = 0;
    if (down(VK_LBUTTON))
        r |= MK_LBUTTON;
    if (down(VK_RBUTTON))
        r |= MK_RBUTTON;
    if (down(VK_MBUTTON))
        r |= MK_MBUTTON;
    if (down(VK_SHIFT))
        r |= MK_SHIFT;
    if (down(VK_CONTROL))
        r |= MK_CONTROL;
    return r;
}

unsigned GetDblClickInterval() { return vcl::System().GetDoubleClickTime(); }

bool IsPointInDragDetectArea(const TPoint& mouseDownPos, int x, int y)
{
    const int t = vcl::System().DragThreshold();
    return std::abs(x - mouseDownPos.X) < t && std::abs(y - mouseDownPos.Y) < t;
}

namespace detail {

namespace {
std::vector<const std::function<TcxLoopAction(const MSG&)>*> lookers;
std::vector<bool*> endFlags;
HHOOK loopHook = nullptr;

LRESULT LoopHookProc(int code, WPARAM, LPARAM lParam)
{
    if (code != HC_ACTION || lookers.empty())
        return 0;
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    // Only the innermost loop retrieves messages.
    const TcxLoopAction a = (*lookers.back())(msg);
    if (a.End)
        *endFlags.back() = true;
    if (a.Drop)
        msg.message = WM_NULL;
    return 0;
}
} // namespace

void RunInspectingLoop(HWND captureWnd, const std::function<TcxLoopAction(const MSG&)>& look)
{
    bool ended = false;
    lookers.push_back(&look);
    endFlags.push_back(&ended);
    if (!loopHook)
        SetHook(loopHook, WH_GETMESSAGE, LoopHookProc);
    QEventLoop loop;
    QTimer watch;
    watch.setInterval(2);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (ended || ::GetCapture() != captureWnd || Application->Terminated())
            loop.quit();
    });
    watch.start();
    try {
        while (!ended && ::GetCapture() == captureWnd && !Application->Terminated()) {
            loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
            vcl::DrainPostedMessages();
        }
    } catch (...) {
        lookers.pop_back();
        endFlags.pop_back();
        if (lookers.empty())
            ReleaseHook(loopHook);
        throw;
    }
    lookers.pop_back();
    endFlags.pop_back();
    if (lookers.empty())
        ReleaseHook(loopHook);
}

} // namespace detail

TcxDragDetect DragDetect(HWND wnd)
{
    TcxDragDetect result = ddCancel;
    const int t = vcl::System().DragThreshold();
    const TPoint c = vcl::System().GetCursorPos();
    const TRect area{c.X - t, c.Y - t, c.X + t, c.Y + t};
    ::SetCapture(wnd);
    auto release = [&] {
        if (::GetCapture() == wnd)
            ::ReleaseCapture();
    };
    try {
        detail::RunInspectingLoop(wnd, [&](const MSG& m) {
            detail::TcxLoopAction a;
            switch (m.message) {
            case WM_KEYDOWN:
            case WM_KEYUP:
                if (m.wParam == VK_ESCAPE)
                    result = ddCancel, a.End = true;
                break;
            case WM_MOUSEMOVE:
                if (m.hwnd == wnd) {
                    TPoint p{XFromLParam(m.lParam), YFromLParam(m.lParam)};
                    if (TWinControl* c = ::FindControl(wnd))
                        p = c->ClientToScreen(p);
                    if (!cxRectPtIn(area, p))
                        result = ddDrag, a.End = true;
                }
                break;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
            case WM_MBUTTONUP:
                result = ddNone, a.End = true;
                break;
            }
            return a;
        });
    } catch (...) {
        release();
        throw;
    }
    release();
    return result;
}

// ---- monitors and geometry ----

TPoint GetMouseCursorPos() { return vcl::System().GetCursorPos(); }

TRect GetDesktopWorkArea(const TPoint& p) { return vcl::System().MonitorFromPoint(p).WorkArea; }

void MakeVisibleOnDesktop(TRect& bounds, const TPoint& desktopPoint)
{
    const TRect a = GetDesktopWorkArea(desktopPoint);
    auto moveBy = [&](int dx, int dy) { bounds = cxRectOffset(bounds, dx, dy); };
    if (bounds.Right > a.Right)
        moveBy(a.Right - bounds.Right, 0);
    if (bounds.Bottom > a.Bottom)
        moveBy(0, a.Bottom - bounds.Bottom);
    if (bounds.Left < a.Left)
        moveBy(a.Left - bounds.Left, 0);
    if (bounds.Top < a.Top)
        moveBy(0, a.Top - bounds.Top);
}

void MakeVisibleOnDesktop(TControl* control)
{
    TRect r = control->BoundsRect();
    MakeVisibleOnDesktop(r, {r.Left, r.Top});
    control->SetBoundsRect(r);
}

void MapWindowPoint(HWND from, HWND to, TPoint& p)
{
    if (TWinControl* f = ::FindControl(from))
        p = f->ClientToScreen(p);
    if (TWinControl* t = ::FindControl(to))
        p = t->ScreenToClient(p);
}

void MapWindowRect(HWND from, HWND to, TRect& r)
{
    TPoint a{r.Left, r.Top}, b{r.Right, r.Bottom};
    MapWindowPoint(from, to, a);
    MapWindowPoint(from, to, b);
    r = {a.X, a.Y, b.X, b.Y};
}

TRect cxGetClientRect(HWND wnd)
{
    TWinControl* c = ::FindControl(wnd);
    return c ? c->GetClientRect() : cxNullRect;
}

TRect cxGetClientRect(TWinControl* control)
{
    return control && control->HandleAllocated() ? cxGetClientRect(control->Handle()) : cxNullRect;
}

TRect cxGetWindowRect(HWND wnd)
{
    TWinControl* c = ::FindControl(wnd);
    if (!c)
        return cxNullRect;
    const TPoint o = c->Parent() ? c->Parent()->ClientToScreen({c->Left(), c->Top()}) : TPoint{c->Left(), c->Top()};
    return {o.X, o.Y, o.X + c->Width(), o.Y + c->Height()};
}

TRect cxGetWindowRect(TWinControl* control)
{
    return control && control->HandleAllocated() ? cxGetWindowRect(control->Handle()) : cxNullRect;
}

TcxPosition GetPointPosition(const TRect& r, const TPoint& p, bool horz, bool vert)
{
    if (horz && vert) {
        auto side = [&](TPoint a, TPoint b) {
            return std::int64_t(p.X - a.X) * (b.Y - a.Y) - std::int64_t(p.Y - a.Y) * (b.X - a.X);
        };
        const auto s1 = side({r.Left, r.Bottom}, {r.Right, r.Top});
        const auto s2 = side({r.Left, r.Top}, {r.Right, r.Bottom});
        if (s1 < 0)
            return s2 < 0 ? posBottom : posRight;
        return s2 < 0 ? posLeft : posTop;
    }
    if (horz)
        return p.X < GetRangeCenter(r.Left, r.Right) ? posLeft : posRight;
    if (vert)
        return p.Y < GetRangeCenter(r.Top, r.Bottom) ? posTop : posBottom;
    return posNone;
}

// ---- windows and controls ----

namespace {
TWinControl* ParentOf(HWND wnd)
{
    TWinControl* c = ::FindControl(wnd);
    return c ? c->Parent() : nullptr;
}
} // namespace

bool IsChildClassWindow(HWND wnd) { return ParentOf(wnd) != nullptr; }

bool IsOwner(HWND ownerWnd, HWND wnd)
{
    if (!ownerWnd)
        return false;
    for (TWinControl* p = ParentOf(wnd); p; p = p->Parent())
        if (p->HandleAllocated() && p->Handle() == ownerWnd)
            return true;
    return false;
}

bool IsChildEx(HWND parentWnd, HWND wnd) { return parentWnd && (parentWnd == wnd || IsOwner(parentWnd, wnd)); }
bool IsOwnerEx(HWND ownerWnd, HWND wnd) { return ownerWnd && (ownerWnd == wnd || IsOwner(ownerWnd, wnd)); }

bool IsWindowEnabledEx(HWND wnd)
{
    TWinControl* c = ::FindControl(wnd);
    if (!c || !::IsWindowEnabled(wnd))
        return false;
    for (TWinControl* p = c->Parent(); p; p = p->Parent())
        if (!p->Enabled())
            return false;
    return true;
}

bool IsMDIChild(TCustomForm* form)
{
    return form && !form->ComponentState().Contains(csDesigning) && form->FormStyle == fsMDIChild;
}

bool IsMDIForm(TCustomForm* form)
{
    return form && !form->ComponentState().Contains(csDesigning) && form->FormStyle == fsMDIForm;
}

bool CanAllocateHandle(TWinControl* control)
{
    if (!control || control->ComponentState().Contains(csDestroying))
        return false;
    if (control->HandleAllocated())
        return true;
    if (control->Parent())
        return CanAllocateHandle(control->Parent());
    return dynamic_cast<TCustomForm*>(control) != nullptr && Application != nullptr;
}

void RecreateControlWnd(TWinControl* control)
{
    if (control && control->HandleAllocated())
        vcl::SendMessage(control->Handle(), CM_RECREATEWND);
}

template <class S>
static S RemoveAccel(const S& s, bool appendUnderscore)
{
    S r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            r += s[i];
            continue;
        }
        if (i + 1 < s.size())
            r += s[++i];
        else if (appendUnderscore)
            r += typename S::value_type('_');
    }
    return r;
}

std::string RemoveAccelChars(const std::string& s, bool append) { return RemoveAccel(s, append); }
std::u16string RemoveAccelChars(const std::u16string& s, bool append) { return RemoveAccel(s, append); }

std::string cxGetFullComponentName(TComponent* component)
{
    std::string r;
    for (TComponent* c = component; c; c = c->Owner())
        r = r.empty() ? c->Name() : c->Name() + "." + r;
    return r;
}

void SetDesignerModified(TComponent* component)
{
    if (!component || !component->ComponentState().Contains(csDesigning))
        return;
    TComponent* root = component;
    while (root->Owner())
        root = root->Owner();
    if (auto* form = dynamic_cast<TCustomForm*>(root))
        DesignController()->DesignerModified(form);
}

void cxSetPopupMenu(TComponent* control, TComponent*& field, TComponent* value)
{
    if (value && !dynamic_cast<TPopupMenu*>(value) && !dynamic_cast<IcxPopupMenu*>(value))
        value = nullptr;
    if (field == value)
        return;
    if (field)
        field->RemoveFreeNotification(control);
    field = value;
    if (value)
        value->FreeNotification(control);
}

bool IsPopupMenuShortCut(TComponent* popupMenu, TMessage& keyMessage)
{
    if (!popupMenu)
        return false;
    if (auto* m = dynamic_cast<IcxPopupMenu*>(popupMenu))
        return m->IsShortCutKey(keyMessage);
    if (auto* m = dynamic_cast<TPopupMenu*>(popupMenu))
        return m->IsShortCut(keyMessage);
    return false;
}

bool ShowPopupMenu(TComponent* caller, TComponent* popupMenu, int x, int y)
{
    if (!popupMenu)
        return false;
    if (auto* m = dynamic_cast<IcxPopupMenu*>(popupMenu)) {
        m->PopupAt(x, y);
        return true;
    }
    auto* m = dynamic_cast<TPopupMenu*>(popupMenu);
    if (m && m->AutoPopup) {
        m->PopupComponent = caller;
        m->Popup(x, y);
        return true;
    }
    return false;
}

bool ShowPopupMenuFromCursorPos(TComponent* caller, TComponent* popupMenu)
{
    const TPoint p = GetMouseCursorPos();
    return ShowPopupMenu(caller, popupMenu, p.X, p.Y);
}

namespace {
int TextHeightIn(TFont* font, const std::string& text)
{
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(font);
    return measure.Canvas()->TextHeight(text);
}

void ScaleChildren(TWinControl* parent, int m, int d)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        c->SetBounds(MulDiv(c->Left(), m, d), MulDiv(c->Top(), m, d), MulDiv(c->Width(), m, d),
                     MulDiv(c->Height(), m, d));
        if (auto* w = dynamic_cast<TWinControl*>(c))
            ScaleChildren(w, m, d);
    }
}
} // namespace

int GetPopupMenuHeight(TPopupMenu* popupMenu)
{
    // The menu that will open, measured as the window system lays it out.
    if (const int measured = PopupMenuHeight(popupMenu); measured >= 0)
        return measured;
    TFont menuFont;
    const int itemHeight = TextHeightIn(&menuFont, "Qg") + 4;
    int height = 4;
    if (popupMenu)
        for (int i = 0; i < popupMenu->Items()->Count(); ++i)
            if (popupMenu->Items()->Items(i)->Visible)
                height += itemHeight;
    return height;
}

// ---- dialogs ----

int cxMessageDlg(const std::string& message, const std::string& caption, TMsgDlgType type, TMsgDlgButtons buttons,
                 int)
{
    TForm* dialog = CreateMessageDialog(message, type, buttons);
    if (!caption.empty())
        dialog->SetCaption(caption);
    return ShowMessageDialog(dialog);
}

void DialogApplyFont(TCustomForm* form, TFont* font)
{
    const int oldHeight = TextHeightIn(form->Font(), "Qq");
    form->SetFont(font);
    const int newHeight = TextHeightIn(form->Font(), "Qq");
    // A font that measures nothing would scale every control to nothing.
    if (oldHeight <= 0 || newHeight <= 0 || oldHeight == newHeight)
        return;
    ScaleChildren(form, newHeight, oldHeight);
    form->SetBounds(form->Left(), form->Top(), MulDiv(form->ClientWidth(), newHeight, oldHeight),
                    MulDiv(form->ClientHeight(), newHeight, oldHeight));
}

// ---- hints ----

namespace {
// Whether some monitor serves the point: the nearest one, else the monitor of the form under
// it or of the main form.
bool MonitorFound(const TPoint& p) { return !vcl::System().Monitors().empty() || (Application && Application->MainForm); }
} // namespace

void cxActivateHint(THintWindow* hintWindow, const TRect& r, const std::string& hint)
{
    if (hintWindow && MonitorFound({r.Left, r.Top}))
        hintWindow->ActivateHint(r, hint);
}

void cxActivateHintData(THintWindow* hintWindow, const TRect& r, const std::string& hint, void* data)
{
    if (hintWindow && MonitorFound({r.Left, r.Top}))
        hintWindow->ActivateHintData(r, hint, data);
}

bool cxProcessControlHintInfo(THintInfo& info, THintWindow*& hintWindow, TControl* control, const std::string& hint,
                              TRect& r, void* data)
{
    const THintWindowClass standard = THintWindowClass::Of<THintWindow>();
    THintWindowClass cls = hintWindow ? THintWindowClass::FromMeta(&hintWindow->ClassType()) : standard;
    info.HintControl = control;
    info.HintWindowClass = cls ? cls : standard;
    info.HintPos = {r.Left, r.Top};
    info.HintMaxWidth = Screen->Width();
    info.HintColor = Application->HintColor;
    info.CursorPos = control->ScreenToClient(GetMouseCursorPos());
    info.ReshowTimeout = 0;
    info.HideTimeout = Application->HintHidePause;
    info.HintStr = hint;
    info.HintData = data;
    // The control's bounds in its own client coordinates.
    const TRect b = control->BoundsRect();
    TPoint origin{0, 0};
    if (control->Parent())
        origin = control->Parent()->ClientOrigin();
    const TPoint own = control->ClientOrigin();
    info.CursorRect = cxRectOffset(b, origin.X - own.X, origin.Y - own.Y);
    if (!Application->OnShowHint.Assigned())
        return true;
    std::string text = hint;
    bool canShow = true;
    vcl::FireEvent(Application->OnShowHint, text, canShow, info);
    if (canShow && !text.empty()) {
        const THintWindowClass wanted = info.HintWindowClass ? info.HintWindowClass : standard;
        if (!hintWindow || &hintWindow->ClassType() != wanted.Meta()) {
            hintWindow = wanted.Create(Application);
            hintWindow->SetColor(info.HintColor);
        }
        r = hintWindow->CalcHintRect(info.HintMaxWidth, text, info.HintData);
        r = cxRectOffset(r, info.HintPos.X, info.HintPos.Y);
    }
    return canShow;
}

TcxBaseHintWindow::TcxBaseHintWindow(TComponent* owner) : THintWindow(owner) {}

TcxHintAnimationStyle TcxBaseHintWindow::GetAnimationStyle() const
{
    // The platform profile has tool-tip animation on and fading on.
    if (AnimationStyle == cxhaAuto)
        return cxhaFadeIn;
    return AnimationStyle;
}

void TcxBaseHintWindow::ActivateHint(const TRect& rect, const std::string& hint)
{
    if (!MonitorFound({rect.Left, rect.Top}))
        return;
    if (StandardHint) {
        THintWindow::ActivateHint(rect, hint);
        return;
    }
    SetCaption(hint);
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    // Window animation is not offered by this window system: the decision is kept for callers,
    // the window shows at once. The length rule counts characters, not the bytes of the UTF-8.
    lastAnimated_ = rtl::Utf8ToUtf16(hint).size() < 100 && GetAnimationStyle() != cxhaNone;
    EnableRegion();
    Show();
    Invalidate();
}

void TcxBaseHintWindow::SetBounds(int left, int top, int width, int height)
{
    const TRect a = GetDesktopWorkArea({left, top});
    left = std::max(std::min(left, a.Right - width), a.Left);
    top = std::max(std::min(top, a.Bottom - height), a.Top);
    THintWindow::SetBounds(left, top, width, height);
}

void TcxBaseHintWindow::Show()
{
    HandleNeeded();
    SetVisible(true);
}

void TcxBaseHintWindow::CreateParams(TCreateParams& params)
{
    THintWindow::CreateParams(params);
    if (StandardHint)
        return;
    if (!BorderFlag)
        params.Style &= ~WS_BORDER;
    params.ExStyle |= WS_EX_TOPMOST;
}

void TcxBaseHintWindow::Dispatch(TMessage& msg)
{
    if (msg.Msg == WM_ERASEBKGND && !NeedEraseBackground && !StandardHint) {
        msg.Result = 1;
        return;
    }
    THintWindow::Dispatch(msg);
}

} // namespace cx
