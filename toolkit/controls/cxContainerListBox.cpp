// TcxCustomInnerListBox: input forwarding to the container, toolkit scroll bars over the list
// box's own strips, the size grip, owner drawing through the toolkit canvas and auto-complete.
#include "toolkit/controls/cxContainerListBox.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/SystemFacade.h"

namespace cx {

namespace {
// The container's own handlers are protected; the list box stands in for the system, which
// would deliver these to the container directly.
struct ContainerAccess : TcxContainer {
    using TcxContainer::DoMouseWheel;
    using TcxContainer::GetPopupMenu;
    using TcxContainer::KeyDown;
    using TcxContainer::KeyPress;
    using TcxContainer::KeyUp;
};

// Drops the last character of a UTF-8 text, a multi-byte one whole.
void PopLastChar(std::string& s)
{
    while (!s.empty() && (static_cast<unsigned char>(s.back()) & 0xC0) == 0x80)
        s.pop_back();
    if (!s.empty())
        s.pop_back();
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
} // namespace

TcxCustomInnerListBox::TcxCustomInnerListBox(TComponent* owner) : TcxInnerControlMouseForwarder(owner)
{
    canvas_ = std::make_unique<TcxCanvas>(Canvas());
    CreateScrollBars();
    lookAndFeel_ = std::make_unique<TcxLookAndFeel>(this);
    lookAndFeel_->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxCustomInnerListBox::LookAndFeelChanged);
    hScrollBar_->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel_.get());
    vScrollBar_->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel_.get());
    // The container draws the border.
    SetBorderStyle(bsNone);
    ControlStyle.Exclude(csOpaque);
    ControlStyle.Include(csDoubleClicks);
}

TcxCustomInnerListBox::~TcxCustomInnerListBox() = default;

void TcxCustomInnerListBox::BeforeDestruction()
{
    // The bars are owned by the list box; a bar placed in the parent leaves it first.
    for (TcxScrollBar* bar : {hScrollBar_, vScrollBar_})
        if (bar) {
            bar->LookAndFeel()->SetMasterLookAndFeel(nullptr);
            bar->SetParent(nullptr);
        }
    TCustomListBox::BeforeDestruction();
}

void TcxCustomInnerListBox::CreateScrollBars()
{
    hScrollBar_ = new TcxScrollBar(this);
    hScrollBar_->FreeNotification(this);
    hScrollBar_->SetKind(sbHorizontal);
    hScrollBar_->OnScroll = TScrollEvent(this, &TcxCustomInnerListBox::HScrollHandler);
    vScrollBar_ = new TcxScrollBar(this);
    vScrollBar_->FreeNotification(this);
    vScrollBar_->SetKind(sbVertical);
    vScrollBar_->OnScroll = TScrollEvent(this, &TcxCustomInnerListBox::VScrollHandler);
    for (TcxScrollBar* bar : {hScrollBar_, vScrollBar_}) {
        bar->SmallChange = 1;
        bar->SetVisible(false);
    }
}

void TcxCustomInnerListBox::Notification(TComponent* component, TOperation operation)
{
    TCustomListBox::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == hScrollBar_)
        hScrollBar_ = nullptr;
    if (component == vScrollBar_)
        vScrollBar_ = nullptr;
}

TcxContainer* TcxCustomInnerListBox::Container() const { return containerAlive_.expired() ? nullptr : container_; }

void TcxCustomInnerListBox::SetContainer(TcxContainer* value)
{
    container_ = value;
    containerAlive_ = value ? value->AliveToken() : std::weak_ptr<bool>();
}

bool TcxCustomInnerListBox::ContainerForwardsInput() const
{
    TcxContainer* c = Container();
    return c && c->InnerControl() == this;
}

void TcxCustomInnerListBox::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues)
{
    if (HandleAllocated())
        Invalidate();
}

// ---- message routing ----

void TcxCustomInnerListBox::WndProc(TMessage& msg)
{
    TcxContainer* c = Container();
    if (c && c->InnerControlMenuHandler(msg))
        return;
    const auto alive = AliveToken();
    // Before the control layer sees the press: it would start the list box's own drag.
    if (msg.Msg == WM_LBUTTONDOWN && c && DragMode == dmAutomatic && !c->IsDesigning())
        HandleLButtonDown(msg);
    else
        TCustomListBox::WndProc(msg);
    if (alive.expired() || ComponentState().Contains(csDestroying))
        return;
    if (msg.Msg == WM_WINDOWPOSCHANGED) {
        SetExternalScrollBarsParameters();
        const TRect grip = GetSizeGripRect();
        if (!cxRectIsEmpty(grip))
            InvalidateRect(grip, false);
    }
}

void TcxCustomInnerListBox::DefaultHandler(TMessage& msg)
{
    if (TcxContainer* c = Container(); c && c->InnerControlDefaultHandler(msg))
        return;
    TCustomListBox::DefaultHandler(msg);
}

void TcxCustomInnerListBox::Dispatch(TMessage& msg)
{
    TcxContainer* c = Container();
    switch (msg.Msg) {
    case WM_GETDLGCODE:
        TCustomListBox::Dispatch(msg);
        if (c) {
            msg.Result |= DLGC_WANTCHARS;
            if (vcl::System().GetKeyState(VK_CONTROL) >= 0)
                msg.Result |= DLGC_WANTTAB;
        }
        return;
    case WM_SETFOCUS:
        TCustomListBox::Dispatch(msg);
        if ((c = Container()) && !ContainerForwardsInput() && !c->IsDestroying() && !ComponentState().Contains(csDestroying) &&
            !(c->HandleAllocated() && reinterpret_cast<HWND>(msg.WParam) == c->Handle()))
            c->FocusChanged();
        return;
    case WM_KILLFOCUS:
        TCustomListBox::Dispatch(msg);
        if ((c = Container()) && !ContainerForwardsInput() && !c->IsDestroying())
            c->FocusChanged();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TCustomListBox::Dispatch(msg);
        TControl* who = msg.LParam ? reinterpret_cast<TControl*>(msg.LParam) : this;
        if (msg.Msg == CM_MOUSEENTER)
            MouseEnter(who);
        else
            MouseLeave(who);
        return;
    }
    default: break;
    }
    TCustomListBox::Dispatch(msg);
}

// A press in a list box whose container drags automatically: the list box itself must not start
// the platform's drag (it would eat the press); the container starts it instead.
void TcxCustomInnerListBox::HandleLButtonDown(TMessage& msg)
{
    TcxContainer* c = Container();
    const TShiftState shift = KeysToShiftState(unsigned(msg.WParam));
    const TPoint p{XFromLParam(msg.LParam), YFromLParam(msg.LParam)};
    DragMode = dmManual;
    const auto alive = AliveToken();
    struct Restore {
        TcxCustomInnerListBox* self;
        std::weak_ptr<bool> alive;
        ~Restore()
        {
            if (!alive.expired())
                self->DragMode = dmAutomatic;
        }
    } restore{this, alive};
    const bool modifierSelect = shift.Contains(ssShift) || shift.Contains(ssCtrl);
    if (MultiSelect() && (!shift.Contains(ssShift) || shift.Contains(ssCtrl))) {
        const int index = ItemAtPos(p, true);
        if (index >= 0 && Selected(index)) {
            c->BeginDrag(false, -1);
            return;
        }
    }
    TCustomListBox::WndProc(msg);
    if (alive.expired() || !(c = Container()))
        return;
    if (!(MultiSelect() && modifierSelect))
        c->BeginDrag(false, -1);
}

// ---- keys ----

void TcxCustomInnerListBox::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (TcxContainer* c = Container(); c && !ContainerForwardsInput()) {
        // The container's key handler may free the container, and the list box with it.
        const auto alive = AliveToken();
        (c->*(&ContainerAccess::KeyDown))(key, shift);
        if (alive.expired() || key == 0)
            return;
    }
    TCustomListBox::KeyDown(key, shift);
}

void TcxCustomInnerListBox::KeyUp(std::uint16_t& key, TShiftState shift)
{
    TcxContainer* c = Container();
    if (c && key == VK_TAB)
        key = 0;
    if (c && key != 0 && !ContainerForwardsInput()) {
        const auto alive = AliveToken();
        (c->*(&ContainerAccess::KeyUp))(key, shift);
        if (alive.expired() || key == 0)
            return;
    }
    if (key != 0)
        TCustomListBox::KeyUp(key, shift);
}

void TcxCustomInnerListBox::KeyPress(char16_t& key)
{
    if (TcxContainer* c = Container()) {
        if (key == u'\t')
            key = 0;
        if (key != 0 && !ContainerForwardsInput()) {
            const auto alive = AliveToken();
            (c->*(&ContainerAccess::KeyPress))(key);
            if (alive.expired())
                return;
        }
        if (key == u'\r')
            key = 0;
    }
    if (key == 0)
        return;
    TCustomListBox::KeyPress(key);
    if (key != 0)
        DoAutoComplete(key);
}

int TcxCustomInnerListBox::FindAutoCompleteString(const std::string& s)
{
    if (Style() == lbVirtual || Style() == lbVirtualOwnerDraw)
        return DoFindData(s);
    return int(Perform(LB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(s.c_str())));
}

void TcxCustomInnerListBox::DoAutoComplete(char16_t& key)
{
    if (!AutoComplete)
        return;
    const std::uint32_t now = vcl::System().GetTickCount();
    if (now - lastKeyTime_ >= AutoCompleteDelay) {
        searchText_.clear();
        pendingHighSurrogate_ = 0;
    }
    lastKeyTime_ = now;
    if (key == 8) {
        PopLastChar(searchText_);
    } else if (IsHighSurrogate(key)) {
        // A character outside the basic plane comes as two units: the second is taken from the
        // queue now, or waited for, so that the search never holds half a character.
        MSG next{};
        if (HandleAllocated() && vcl::PeekMessage(next, Handle(), WM_CHAR, WM_CHAR, PM_REMOVE) &&
            IsLowSurrogate(char16_t(next.wParam)))
            searchText_ += Utf16ToUtf8(std::u16string{key, char16_t(next.wParam)});
        else {
            pendingHighSurrogate_ = key;
            key = 0;
            return;
        }
        key = 0;
    } else if (IsLowSurrogate(key)) {
        if (pendingHighSurrogate_)
            searchText_ += Utf16ToUtf8(std::u16string{pendingHighSurrogate_, key});
        pendingHighSurrogate_ = 0;
    } else {
        searchText_ += Utf16ToUtf8(std::u16string(1, key));
    }
    const auto alive = AliveToken();
    if (searchText_.empty()) {
        SetItemIndex(0);
        Click();
        return;
    }
    const int index = FindAutoCompleteString(searchText_);
    if (index >= 0) {
        if (MultiSelect()) {
            ClearSelection();
            Perform(LB_SELITEMRANGE, 1, MakeLParam(index, index));
        }
        SetItemIndex(index);
        Click();
        if (alive.expired())
            return;
    }
    if (key != 8 && key != u'\r' && key != 27)
        key = 0;
}

// ---- mouse, clicks, drag, wheel ----

void TcxCustomInnerListBox::Click()
{
    const auto alive = AliveToken();
    TCustomListBox::Click();
    if (alive.expired())
        return;
    if (vScrollBar_)
        vScrollBar_->SetPosition(TopIndex());
    ForwardInnerClick(Container());
}

void TcxCustomInnerListBox::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    if (TcxContainer* c = Container())
        c->DragOver(source, x + Left(), y + Top(), state, accept);
    else
        TCustomListBox::DragOver(source, x, y, state, accept);
}

void TcxCustomInnerListBox::DragDrop(TObject* source, int x, int y)
{
    if (TcxContainer* c = Container())
        c->DragDrop(source, x + Left(), y + Top());
    else
        TCustomListBox::DragDrop(source, x, y);
}

bool TcxCustomInnerListBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TcxContainer* c = Container(); c && (c->*(&ContainerAccess::DoMouseWheel))(shift, wheelDelta, mousePos))
        return true;
    return TCustomListBox::DoMouseWheel(shift, wheelDelta, mousePos);
}

TPopupMenu* TcxCustomInnerListBox::GetPopupMenu()
{
    if (TcxContainer* c = Container())
        return (c->*(&ContainerAccess::GetPopupMenu))();
    return TCustomListBox::GetPopupMenu();
}

void TcxCustomInnerListBox::MouseLeave(TControl*)
{
    if (TcxContainer* c = Container())
        c->ShortRefreshContainer(true);
}

// ---- owner drawing ----

void TcxCustomInnerListBox::DrawItemNotice(int index, const TRect& rect, unsigned odsState)
{
    TCustomListBox::DrawItemNotice(index, rect, odsState & ~unsigned(ODS_FOCUS));
    if ((odsState & ODS_FOCUS) && NeedDrawFocusRect())
        Canvas()->DrawFocusRect(rect);
}

void TcxCustomInnerListBox::Paint()
{
    TCustomListBox::Paint();
    // The grip square sits over the corner between the two toolkit bars.
    const TRect grip = GetSizeGripRect();
    TcxContainer* c = Container();
    if (c && !cxRectIsEmpty(grip) && UsecxScrollBars()) {
        Canvas()->Brush()->SetColor(c->GetLookAndFeelPainter()->DefaultSizeGripAreaColor());
        Canvas()->FillRect(grip);
    }
}

void TcxCustomInnerListBox::SaveCanvasParametersForFocusRect()
{
    savedBrushColor_ = canvas_->GetBrush()->GetColor();
    savedFontColor_ = canvas_->GetFont()->GetColor();
}

void TcxCustomInnerListBox::RestoreCanvasParametersForFocusRect()
{
    canvas_->GetBrush()->SetColor(savedBrushColor_);
    canvas_->GetFont()->SetColor(savedFontColor_);
}

bool TcxCustomInnerListBox::ItemVisible(int index) const
{
    const TRect r = ItemRect(index);
    const TRect c = GetControlRect(const_cast<TcxCustomInnerListBox*>(this));
    auto in = [&](int x, int y) { return x >= c.Left && x < c.Right && y >= c.Top && y < c.Bottom; };
    return in(r.Left, r.Top) || in(r.Right - 1, r.Top) || in(r.Left, r.Bottom - 1) || in(r.Right - 1, r.Bottom - 1);
}

// ---- the toolkit scroll bars ----

bool TcxCustomInnerListBox::GetScrollBarInfo(TScrollBarKind kind, TcxScrollBarInfo& info)
{
    cxScrollBarStateToInfo(this, ScrollBarState(kind), info);
    return true;
}

bool TcxCustomInnerListBox::GetScrollInfo(TScrollBarKind kind, TcxScrollInfo& info)
{
    cxScrollBarStateToScrollInfo(ScrollBarState(kind), info);
    return true;
}

void TcxCustomInnerListBox::ListChanged()
{
    if (!calculating_)
        SetExternalScrollBarsParameters();
}

void TcxCustomInnerListBox::PlaceBar(TcxScrollBar* bar, TScrollBarKind kind)
{
    if (!bar)
        return;
    TcxScrollBarInfo info;
    bool show = false, enabled = false;
    TRect r;
    TWinControl* parent = Parent();
    if (parent && HandleAllocated() && cxGetScrollBarInfo(Handle(), kind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, info) &&
        !(info.rgstate & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN))) {
        show = true;
        enabled = !(info.rgstate & STATE_SYSTEM_UNAVAILABLE) && (!bar->Parent() || bar->Parent()->Enabled());
        const TPoint a = parent->ScreenToClient({info.rcScrollBar.Left, info.rcScrollBar.Top});
        r = {a.X, a.Y, a.X + info.rcScrollBar.Width(), a.Y + info.rcScrollBar.Height()};
        if (r.Left < 0 || r.Top < 0 || r.Width() > Width() || r.Height() > Height())
            show = false;
    }
    if (show) {
        if (bar->Parent() != parent) {
            ++barsLockCount_;
            bar->SetParent(parent);
            --barsLockCount_;
        }
        bar->SetEnabled(enabled);
        bar->SetBoundsRect(r);
        parent->MoveChildToFront(bar);
    } else {
        bar->SetBounds(0, 0, 0, 0);
    }
    bar->SetVisible(show);
    if (show) {
        TcxScrollInfo si;
        GetScrollInfo(kind, si);
        const int page = std::min<int>(int(si.nPage), si.nMax + 1);
        bar->SetScrollParams(si.nMin, si.nMax, si.nPos, page, true);
    }
}

void TcxCustomInnerListBox::SetExternalScrollBarsParameters()
{
    if (ComponentState().Contains(csDestroying) || barsLockCount_ > 0 || !UsecxScrollBars() || calculating_)
        return;
    calculating_ = true;
    try {
        PlaceBar(hScrollBar_, sbHorizontal);
        PlaceBar(vScrollBar_, sbVertical);
    } catch (...) {
        calculating_ = false;
        throw;
    }
    calculating_ = false;
}

void TcxCustomInnerListBox::HScrollHandler(TObject*, TScrollCode code, int& pos)
{
    if (!hScrollBar_ || !hScrollBar_->HandleAllocated())
        return;
    TMessage m{WM_HSCROLL, WPARAM(MakeLParam(int(code), pos)), 0, 0};
    TCustomListBox::Dispatch(m);
    pos = HorzPosition();
}

void TcxCustomInnerListBox::VScrollHandler(TObject*, TScrollCode code, int& pos)
{
    switch (code) {
    case scLineUp:
    case scLineDown: SetTopIndex(pos); break;
    case scPosition:
    case scTrack:
        SetTopIndex(pos);
        pos = TopIndex();
        break;
    default: {
        TMessage m{WM_VSCROLL, WPARAM(MakeLParam(int(code), pos)), 0, 0};
        TCustomListBox::Dispatch(m);
        pos = TopIndex();
    }
    }
}

TRect TcxCustomInnerListBox::GetSizeGripRect() const
{
    if (!hScrollBar_ || !vScrollBar_ || !hScrollBar_->Visible() || !vScrollBar_->Visible())
        return {};
    const TRect r{vScrollBar_->Left(), hScrollBar_->Top(), vScrollBar_->Left() + vScrollBar_->Width(),
                  hScrollBar_->Top() + hScrollBar_->Height()};
    return cxRectOffset(r, -Left(), -Top());
}

void TcxCustomInnerListBox::DrawSizeGrip()
{
    TcxContainer* c = Container();
    if (c && UsecxScrollBars() && !cxRectIsEmpty(GetSizeGripRect()))
        InvalidateRect(GetSizeGripRect(), false);
}

} // namespace cx
