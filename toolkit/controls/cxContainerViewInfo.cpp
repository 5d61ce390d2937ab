// The container's view info and the procedures shared by containers, editors and popups:
// border widths, the drop shadow and its window region, frame invalidation and fills, window
// relations, the message-queue routines, the size grip, the disabling of the application's
// windows and the list of visible popups.
#include "toolkit/controls/cxContainer.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Draw.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/dxThemeManager.h"

#include <QRegion>

#include <algorithm>
#include <cassert>
#include <map>

namespace cx {

TColor cxContainerShadowColor = clBtnShadow;
TRect cxContainerDefaultBorderExtent{2, 2, 2, 2};
bool TopMostComboBoxes = true;

namespace {
constexpr int kShadowWidth = 3;

struct UnitState {
    std::vector<TWinControl*> visiblePopups;
    bool hooksSettingMode = false;
    bool hooksInstalled = false;
    std::function<void()> installHooks, releaseHooks;
    TcxPopupOwnerQuery popupOwner = nullptr;
    int disableCounter = 0;
    std::vector<HWND> disabledWindows;
    bool disabling = false;
    int activateLock = 0;
    std::map<HWND, gdi::Region> windowRegions;
};
UnitState& U()
{
    static UnitState s;
    return s;
}

TWinControl* PopupOwner(TWinControl* popup) { return U().popupOwner ? U().popupOwner(popup) : nullptr; }

TWinControl* ParentControlOf(HWND wnd)
{
    TWinControl* c = ::FindControl(wnd);
    return c ? c->Parent() : nullptr;
}

bool IsWindowsChild(HWND parent, HWND wnd)
{
    for (TWinControl* p = ParentControlOf(wnd); p; p = p->Parent())
        if (p->HandleAllocated() && p->Handle() == parent)
            return true;
    return false;
}

HWND ActiveWindow()
{
    if (!Screen)
        return nullptr;
    for (int i = 0; i < Screen->CustomFormCount(); ++i) {
        TCustomForm* f = Screen->CustomForms(i);
        if (f->Active() && f->HandleAllocated())
            return f->Handle();
    }
    return nullptr;
}
} // namespace

// ---- border widths and rectangles ----

int GetContainerBorderWidth(TcxContainerBorderStyle borderStyle)
{
    static constexpr int widths[] = {0, 1, 2, 2, 2, 1, 1};
    return widths[borderStyle];
}

int GetContainerBorderWidth(TcxLookAndFeelKind kind)
{
    switch (kind) {
    case lfFlat:
    case lfStandard: return 2;
    case lfUltraFlat:
    case lfOffice11: return 1;
    }
    return 2;
}

void DrawContainerShadow(TcxCanvas* canvas, const TRect& r)
{
    canvas->SetBrushColor(cxContainerShadowColor);
    const TRect bottom{r.Left + kShadowWidth, r.Bottom, r.Right, r.Bottom + kShadowWidth};
    canvas->FillRect(bottom);
    canvas->ExcludeClipRect(bottom);
    const TRect right{r.Right, r.Top + kShadowWidth, r.Right + kShadowWidth, r.Bottom + kShadowWidth};
    canvas->FillRect(right);
    canvas->ExcludeClipRect(right);
}

void ExtendRectByBorders(TRect& r, int width, TcxBorders borders)
{
    if (borders & cxBorder(bLeft))
        r.Left -= width;
    if (borders & cxBorder(bTop))
        r.Top -= width;
    if (borders & cxBorder(bRight))
        r.Right += width;
    if (borders & cxBorder(bBottom))
        r.Bottom += width;
}

void InflateRectByBorders(TRect& r, int width, TcxBorders borders)
{
    if (!(borders & cxBorder(bLeft)))
        r.Left += width;
    if (!(borders & cxBorder(bTop)))
        r.Top += width;
    if (!(borders & cxBorder(bRight)))
        r.Right -= width;
    if (!(borders & cxBorder(bBottom)))
        r.Bottom -= width;
}

TRect GetControlRect(TControl* control) { return {0, 0, control->Width(), control->Height()}; }

// ---- containers and window relations ----

TcxContainer* GetcxContainer(TControl* control)
{
    if (auto* c = dynamic_cast<TcxContainer*>(control))
        return c;
    if (auto* inner = dynamic_cast<IcxContainerInnerControl*>(control))
        return inner->GetControlContainer();
    return nullptr;
}

TWinControl* GetInnerControlContainer(TWinControl* control)
{
    if (auto* inner = dynamic_cast<IcxContainerInnerControl*>(control))
        return inner->GetControlContainer();
    return control;
}

bool HasOpenedPopupWindow(TControl* control)
{
    TcxContainer* c = GetcxContainer(control);
    return c && c->HasPopupWindow();
}

bool HasNativeHandle(TWinControl* control, HWND wnd, bool deep)
{
    if (!control)
        return false;
    if (control->HandleAllocated() && control->Handle() == wnd)
        return true;
    return deep && IsChildWindow(control, wnd);
}

bool IsChildWindow(TWinControl* control, HWND wnd)
{
    if (!control || !wnd || !control->HandleAllocated() || control->Handle() == wnd)
        return false;
    if (IsWindowsChild(control->Handle(), wnd))
        return true;
    for (int i = 0; i < control->ControlCount(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(control->Controls(i));
        if (!w || !w->HandleAllocated())
            continue;
        if (w->Handle() == wnd || IsChildWindow(w, wnd) || IsWindowsChild(w->Handle(), wnd))
            return true;
    }
    const auto popups = U().visiblePopups;
    if (PopupOwner(control) || std::find(popups.begin(), popups.end(), control) != popups.end()) {
        for (TWinControl* p : popups) {
            TWinControl* owner = PopupOwner(p);
            if (p != control && owner && owner->GetParentForm() == control && p->HandleAllocated() &&
                (p->Handle() == wnd || IsChildWindow(p, wnd)))
                return true;
        }
    }
    for (TWinControl* p : popups) {
        if (PopupOwner(p) == control && p->HandleAllocated() && (p->Handle() == wnd || IsChildWindow(p, wnd)))
            return true;
    }
    return false;
}

bool CheckParentsNativeHandle(TWinControl* control, HWND wnd)
{
    if (!control)
        return false;
    TCustomForm* form = control->GetParentForm();
    if (!form)
        return false;
    const bool r = HasNativeHandle(form, wnd, true);
    if (r || form->Parent())
        return r;
    HWND top = form->Handle();
    for (TWinControl* p = ParentControlOf(top); p && p->HandleAllocated(); p = p->Parent())
        top = p->Handle();
    if (top == form->Handle())
        return r;
    return wnd == top || IsWindowsChild(top, wnd);
}

HWND GetPopupOwnerControl(HWND wnd)
{
    for (TWinControl* c = ::FindControl(wnd); c; c = c->Parent()) {
        if (!PopupOwner(c))
            continue;
        TWinControl* owner = PopupOwner(c);
        return owner->HandleAllocated() ? owner->Handle() : wnd;
    }
    return wnd;
}

HWND FindFirstNonChildParentWindow(HWND wnd)
{
    for (TWinControl* c = ::FindControl(wnd); c; c = c->Parent())
        if (!c->Parent())
            return c->HandleAllocated() ? c->Handle() : nullptr;
    return nullptr;
}

bool IsFormActive(TCustomForm* form)
{
    if (!form || !form->HandleAllocated())
        return false;
    const HWND active = ActiveWindow();
    if (!active)
        return false;
    return form->Handle() == active || FindFirstNonChildParentWindow(form->Handle()) == active;
}

bool CanShowHint(TControl* control)
{
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!Application || !Application->Active() || !w || !w->HandleAllocated() || !IsWindowVisible(w->Handle()))
        return false;
    vcl::TWidgetPeer* under = vcl::PeerAt(vcl::System().GetCursorPos());
    if (!under || under->Control() != w)
        return false;
    TWinControl* top = w;
    while (top->Parent() && IsChildClassWindow(top->Handle())) {
        auto* f = dynamic_cast<TCustomForm*>(top);
        if (f && f->FormStyle == fsMDIChild)
            break;
        top = top->Parent();
    }
    auto* form = dynamic_cast<TCustomForm*>(top);
    if (form && !IsFormActive(form) && form->FormStyle != fsMDIForm) {
        const auto& popups = U().visiblePopups;
        if (popups.empty())
            return false;
        TWinControl* owner = PopupOwner(popups.front());
        return owner && owner->HandleAllocated() && form->HandleAllocated() &&
               IsWindowsChild(form->Handle(), owner->Handle());
    }
    return true;
}

// ---- messages ----

bool IsMessageInQueue(HWND wnd, UINT message)
{
    MSG m;
    return vcl::PeekMessage(m, wnd, message, message, PM_NOREMOVE) && m.hwnd == wnd;
}

bool KillMessages(HWND wnd, UINT msgFilterMin, UINT msgFilterMax, bool removeAll)
{
    bool removed = false;
    MSG m;
    while (vcl::PeekMessage(m, wnd, msgFilterMin, msgFilterMax, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            vcl::PostMessage(nullptr, WM_QUIT, m.wParam);
            break;
        }
        removed = true;
        if (!removeAll)
            break;
    }
    return removed;
}

void LockCMActivateMessages(bool lock) { U().activateLock += lock ? 1 : -1; }
bool IsCMActivateMessagesLocked() { return U().activateLock != 0; }

TShiftStateFlag MouseButtonToShift(TMouseButton button)
{
    switch (button) {
    case mbRight: return ssRight;
    case mbMiddle: return ssMiddle;
    default: return ssLeft;
    }
}

TcxMouseButton ButtonTocxButton(TMouseButton button)
{
    switch (button) {
    case mbRight: return cxmbRight;
    case mbMiddle: return cxmbMiddle;
    default: return cxmbLeft;
    }
}

bool InternalCompareString(const std::string& s1, const std::string& s2, bool caseSensitive)
{
    if (caseSensitive)
        return AnsiCompareStr(s1, s2) == 0;
    return AnsiUpperCase(s1) == AnsiUpperCase(s2);
}

TPoint InternalGetCursorPos() { return vcl::System().GetCursorPos(); }
TShiftState InternalGetShiftState() { return KeyboardStateToShiftState(); }

bool InternalIsWindowVisible(TWinControl* control)
{
    return control && control->HandleAllocated() && IsWindowVisible(control->Handle());
}

void InternalInvalidateRect(TWinControl* control, const TRect& r, bool erase)
{
    if (control && control->HandleAllocated())
        control->InvalidateRect(r, erase);
}

std::vector<TRect> FrameStrips(const TRect& outerRect, const TRect& innerRect)
{
    if (cxRectIsEmpty(outerRect) || cxRectIsEqual(outerRect, innerRect))
        return {};
    if (cxRectIsEmpty(innerRect))
        return {outerRect};
    const TRect& o = outerRect;
    const TRect& i = innerRect;
    return {{o.Left, o.Top, i.Left, o.Bottom},
            {i.Left, o.Top, i.Right, i.Top},
            {i.Right, o.Top, o.Right, o.Bottom},
            {i.Left, i.Bottom, i.Right, o.Bottom}};
}

void InternalInvalidate(HWND wnd, const TRect& outerRect, const TRect& innerRect, bool erase)
{
    TWinControl* c = ::FindControl(wnd);
    if (!c)
        return;
    for (const TRect& r : FrameStrips(outerRect, innerRect))
        c->InvalidateRect(r, erase);
}

void InternalFillRect(TcxCanvas* canvas, const TRect& outerRect, const TRect& innerRect, TColor color)
{
    const auto strips = FrameStrips(outerRect, innerRect);
    if (strips.empty())
        return;
    canvas->SetBrushColor(color);
    for (const TRect& r : strips)
        canvas->FillRect(r);
}

// ---- window regions ----

void cxSetWindowRgn(HWND wnd, std::optional<gdi::Region> region, bool redraw)
{
    auto& regions = U().windowRegions;
    for (auto it = regions.begin(); it != regions.end();)
        it = vcl::IsWindow(it->first) ? std::next(it) : regions.erase(it);
    if (!vcl::IsWindow(wnd))
        return;
    vcl::TWidgetPeer* peer = vcl::PeerOf(wnd);
    if (region) {
        vcl::SetPeerRegion(peer, region->Q());
        regions[wnd] = std::move(*region);
    } else {
        regions.erase(wnd);
        if (peer)
            peer->clearMask();
    }
    if (redraw && peer)
        peer->update();
}

std::optional<gdi::Region> cxGetWindowRgn(HWND wnd)
{
    auto& regions = U().windowRegions;
    auto it = regions.find(wnd);
    if (it == regions.end() || !vcl::IsWindow(wnd))
        return std::nullopt;
    return it->second;
}

void SetWindowRegion(TWinControl* control, const TcxContainerInnerControlBounds& bounds)
{
    if (!control || !control->HandleAllocated())
        return;
    if (bounds.IsEmpty)
        cxSetWindowRgn(control->Handle(), std::nullopt, true);
    else
        cxSetWindowRgn(control->Handle(), gdi::Region(bounds.Rect), true);
}

std::optional<gdi::Region> GetWindowShadowRegion(HWND wnd, const TRect& shadowBounds, const TRect& shadowExtent,
                                                 bool noRegion, bool shadow, const TRect& excludeRect)
{
    if (noRegion || cxRectIsEqual(cxGetClientRect(wnd), shadowBounds))
        return std::nullopt;
    gdi::Region region(shadowBounds);
    if (shadow) {
        TRect r = cxRectOffset(shadowBounds, kShadowWidth, kShadowWidth);
        r.Left += shadowExtent.Left;
        r.Top += shadowExtent.Top;
        r.Right -= shadowExtent.Right;
        r.Bottom -= shadowExtent.Bottom;
        region.Q() += QRect(r.Left, r.Top, r.Width(), r.Height());
    }
    if (!cxRectIsEmpty(excludeRect))
        region.Q() -= QRect(excludeRect.Left, excludeRect.Top, excludeRect.Width(), excludeRect.Height());
    return region;
}

void SetWindowShadowRegion(HWND wnd, const TRect& shadowBounds, const TRect& shadowExtent, bool noRegion, bool shadow,
                           const TRect& excludeRect)
{
    auto region = GetWindowShadowRegion(wnd, shadowBounds, shadowExtent, noRegion, shadow, excludeRect);
    const auto current = cxGetWindowRgn(wnd);
    if (!region && !current)
        return;
    if (region && current && region->Equals(*current))
        return;
    cxSetWindowRgn(wnd, std::move(region), true);
}

// ---- scroll bars of inner controls ----

bool UsecxScrollBars() { return true; }

void cxScrollBarStateToInfo(TWinControl* control, const TScrollBarState& state, TcxScrollBarInfo& info)
{
    if (!state.Shown) {
        info.rcScrollBar = {};
        info.rgstate = STATE_SYSTEM_INVISIBLE;
        return;
    }
    const TPoint a = control->ClientToScreen({state.Rect.Left, state.Rect.Top});
    info.rcScrollBar = {a.X, a.Y, a.X + state.Rect.Width(), a.Y + state.Rect.Height()};
    info.rgstate = state.Enabled ? 0 : STATE_SYSTEM_UNAVAILABLE;
}

void cxScrollBarStateToScrollInfo(const TScrollBarState& state, TcxScrollInfo& info)
{
    info.nMin = state.Min;
    info.nMax = state.Max;
    info.nPage = unsigned(state.Page);
    info.nPos = state.Pos;
}

bool cxGetScrollBarInfo(HWND wnd, int objectId, TcxScrollBarInfo& info)
{
    auto* bars = dynamic_cast<IcxNativeScrollBars*>(::FindControl(wnd));
    if (!bars || (objectId != OBJID_HSCROLL && objectId != OBJID_VSCROLL))
        return false;
    info.cbSize = 60;
    return bars->GetScrollBarInfo(objectId == OBJID_HSCROLL ? sbHorizontal : sbVertical, info);
}

bool cxGetScrollInfo(HWND wnd, TScrollBarKind kind, TcxScrollInfo& info)
{
    auto* bars = dynamic_cast<IcxNativeScrollBars*>(::FindControl(wnd));
    return bars && bars->GetScrollInfo(kind, info);
}

bool AreVisualStylesMustBeUsed(bool nativeStyle, TdxThemedObjectType themedObjectType)
{
    return nativeStyle && OpenTheme(themedObjectType) != 0;
}

TRect GetSizeGripRect(TcxContainer* container)
{
    if (!container || !container->HScrollBarVisible() || !container->VScrollBarVisible())
        return {};
    TcxControlScrollBar* v = container->VScrollBar();
    TcxControlScrollBar* h = container->HScrollBar();
    TRect r{v->Left(), h->Top(), v->Left() + v->Width(), h->Top() + h->Height()};
    if (TWinControl* inner = container->InnerControl()) {
        r = cxRectOffset(r, -inner->Left(), -inner->Top());
    }
    return r;
}

void cxFillSizeGrip(TcxContainer* container) { cxFillSizeGrip(container, GetSizeGripRect(container)); }

void cxFillSizeGrip(TcxContainer* container, const TRect& r)
{
    TWinControl* inner = container ? container->InnerControl() : nullptr;
    if (cxRectIsEmpty(r) || !inner || !inner->HandleAllocated())
        return;
    gdi::Dc dc(&inner->Surface());
    const gdi::Brush brush = gdi::Brush::Solid(COLORREF(ColorToRGB(container->GetLookAndFeelPainter()->DefaultSizeGripAreaColor())));
    gdi::FillRect(dc, r, brush);
    if (vcl::TWidgetPeer* peer = inner->Peer())
        peer->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

// ---- disabling the application's windows ----

void DisableWindow(std::vector<HWND>& list, HWND wnd)
{
    if (IsWindowEnabled(wnd)) {
        EnableWindow(wnd, false);
        list.push_back(wnd);
    }
}

void EnableWindows(std::vector<HWND>& list)
{
    for (HWND wnd : list)
        if (vcl::IsWindow(wnd))
            EnableWindow(wnd, true);
    list.clear();
}

void DisableAppWindows(bool needDisable)
{
    auto& u = U();
    u.disabling = true;
    if (++u.disableCounter == 1 && needDisable && Screen) {
        u.disabledWindows.clear();
        for (int i = 0; i < Screen->CustomFormCount(); ++i) {
            TCustomForm* f = Screen->CustomForms(i);
            if (f->HandleAllocated())
                DisableWindow(u.disabledWindows, f->Handle());
        }
    }
    u.disabling = false;
}

void EnableAppWindows()
{
    auto& u = U();
    if (u.disableCounter <= 0)
        return;
    u.disabling = true;
    if (--u.disableCounter == 0)
        EnableWindows(u.disabledWindows);
    u.disabling = false;
}

bool IsInternalWindowsDisabled() { return U().disableCounter > 0; }
bool IsInternalWindowsDisabling() { return U().disabling; }

void AssignFonts(TFont* dest, TFont* source) { dest->Assign(source); }

// ---- visible popups and the hooks mode ----

namespace {
void InstallHooks()
{
    auto& u = U();
    if (!u.hooksInstalled && u.installHooks) {
        u.installHooks();
        u.hooksInstalled = true;
    }
}
void ReleaseHooks()
{
    auto& u = U();
    if (u.hooksInstalled && u.releaseHooks) {
        u.releaseHooks();
        u.hooksInstalled = false;
    }
}
} // namespace

void AddVisiblePopupWindow(TWinControl* popup)
{
    auto& list = U().visiblePopups;
    assert(popup && std::find(list.begin(), list.end(), popup) == list.end());
    if (!popup || std::find(list.begin(), list.end(), popup) != list.end())
        return;
    list.push_back(popup);
    if (list.size() == 1 && U().hooksSettingMode)
        InstallHooks();
}

void RemoveVisiblePopupWindow(TWinControl* popup)
{
    auto& list = U().visiblePopups;
    auto it = std::find(list.begin(), list.end(), popup);
    assert(it != list.end());
    if (it == list.end())
        return;
    list.erase(it);
    if (list.empty() && U().hooksSettingMode)
        ReleaseHooks();
}

int VisiblePopupWindowCount() { return int(U().visiblePopups.size()); }
TWinControl* VisiblePopupWindow(int index) { return U().visiblePopups.at(std::size_t(index)); }

void SetHooksSettingMode(bool mode)
{
    auto& u = U();
    if (u.hooksSettingMode == mode)
        return;
    u.hooksSettingMode = mode;
    if (u.visiblePopups.empty()) {
        if (mode)
            ReleaseHooks();
        else
            InstallHooks();
    }
}

bool HooksSettingMode() { return U().hooksSettingMode; }

void SetPopupHooks(std::function<void()> install, std::function<void()> release)
{
    auto& u = U();
    u.installHooks = std::move(install);
    u.releaseHooks = std::move(release);
    if (!u.hooksSettingMode || !u.visiblePopups.empty())
        InstallHooks();
}

void SetPopupOwnerQuery(TcxPopupOwnerQuery query) { U().popupOwner = query; }

// ---- TcxContainerViewInfo ----

void TcxContainerViewInfo::DrawBorder(TcxCanvas* canvas, TRect r)
{
    if (Painter || BorderStyle == cbsSingle || BorderStyle == cbsThick) {
        canvas->FrameRect(r, BorderColor, BorderWidth);
        return;
    }
    switch (BorderStyle) {
    case cbsFlat:
        canvas->DrawEdge(r, true, true, Edges);
        r = cxRectInflate(r, -1, -1);
        canvas->FrameRect(r, clBtnFace);
        break;
    case cbs3D:
        canvas->DrawEdge(r, true, true, Edges);
        r = cxRectInflate(r, -1, -1);
        canvas->DrawComplexFrame(r, cl3DDkShadow, cl3DLight, Edges, 1);
        break;
    default: break;
    }
}

void TcxContainerViewInfo::InternalPaint(TcxCanvas* canvas)
{
    if (NativeStyle) {
        // Visual styles are never available on this platform; the plain fill stands in.
        canvas->FillRect(Bounds, BackgroundColor);
        return;
    }
    DrawBorder(canvas, DrawShadow(canvas));
    canvas->FillRect(BorderRect, BackgroundColor);
}

TRect TcxContainerViewInfo::DrawShadow(TcxCanvas* canvas)
{
    // The shadow hugs the frame on the sides that have one; the frame itself spans the whole
    // width and height.
    TRect r = BorderRect;
    r.Left -= BorderWidth;
    r.Top -= BorderWidth;
    if (Edges & cxBorder(bRight))
        r.Right += BorderWidth;
    if (Edges & cxBorder(bBottom))
        r.Bottom += BorderWidth;
    if (Shadow)
        DrawContainerShadow(canvas, r);
    if (!(Edges & cxBorder(bRight)))
        r.Right += BorderWidth;
    if (!(Edges & cxBorder(bBottom)))
        r.Bottom += BorderWidth;
    return r;
}

void TcxContainerViewInfo::Assign(TObject* source)
{
    if (auto* s = dynamic_cast<TcxContainerViewInfo*>(source))
        ClientRect = s->ClientRect;
}

void TcxContainerViewInfo::Offset(int dx, int dy)
{
    BorderRect = cxRectOffset(BorderRect, dx, dy);
    Bounds = cxRectOffset(Bounds, dx, dy);
    ClientRect = cxRectOffset(ClientRect, dx, dy);
}

} // namespace cx
