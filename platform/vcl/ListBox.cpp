// TCustomListBox: items, selection, scrolling, painting, keys and mouse of the list box.
#include "platform/vcl/ListBox.h"

#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiConsts.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/SystemFacade.h"

#include <algorithm>

TCustomListBox::TCustomListBox(rtl::TComponent* owner) : TCustomControl(owner)
{
    items_ = std::make_unique<rtl::TStringList>();
    items_->OnChange = rtl::Event<void(rtl::TObject*)>(this, &TCustomListBox::ItemsChanged);
    // Clicks come from the selection (a press on an item, a key), not from the button's release.
    ControlStyle.Exclude(csClickEvents);
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Include(csDoubleClicks);
    ControlStyle.Include(csOpaque);
    TabStop = true;
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

rtl::TStrings* TCustomListBox::Items() const { return items_.get(); }

int TCustomListBox::ItemCount() const
{
    return style_ == lbVirtual || style_ == lbVirtualOwnerDraw ? count_ : items_->Count();
}

void TCustomListBox::SetCount(int count)
{
    count_ = std::max(0, count);
    ItemsChanged(nullptr);
}

void TCustomListBox::SetStyle(TListBoxStyle value)
{
    style_ = value;
    ItemsChanged(nullptr);
}

void TCustomListBox::ItemsChanged(rtl::TObject*)
{
    const int n = ItemCount();
    selected_.resize(std::size_t(n), false);
    if (itemIndex_ >= n)
        itemIndex_ = n - 1;
    if (anchor_ >= n)
        anchor_ = -1;
    ClampTop();
    Invalidate();
    ListChanged();
}

void TCustomListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= ItemCount())
        index = -1;
    if (!multiSelect_) {
        std::fill(selected_.begin(), selected_.end(), false);
        if (index >= 0)
            selected_[std::size_t(index)] = true;
    }
    itemIndex_ = index;
    anchor_ = index;
    if (index >= 0) {
        const int rows = std::max(1, ItemsArea().Height() / std::max(1, itemHeight_));
        if (index < topIndex_)
            topIndex_ = index;
        else if (index >= topIndex_ + rows)
            topIndex_ = index - rows + 1;
        ClampTop();
    }
    Invalidate();
    ListChanged();
}

void TCustomListBox::SetTopIndex(int index)
{
    const int old = topIndex_;
    topIndex_ = index;
    ClampTop();
    if (old != topIndex_) {
        Invalidate();
        vcl::FireEvent(OnScrolled, this);
    }
    ListChanged();
}

void TCustomListBox::ClampTop()
{
    const int rows = std::max(1, ItemsArea().Height() / std::max(1, itemHeight_));
    topIndex_ = std::clamp(topIndex_, 0, std::max(0, ItemCount() - rows));
    horzPos_ = std::clamp(horzPos_, 0, std::max(0, scrollWidth_ - ItemsArea().Width()));
}

void TCustomListBox::SetItemHeight(int value)
{
    itemHeight_ = std::max(1, value);
    ItemsChanged(nullptr);
}

void TCustomListBox::SetMultiSelect(bool value)
{
    multiSelect_ = value;
    ItemsChanged(nullptr);
}

bool TCustomListBox::Selected(int index) const
{
    return index >= 0 && index < int(selected_.size()) && selected_[std::size_t(index)];
}

void TCustomListBox::SetSelected(int index, bool value)
{
    if (index < 0 || index >= int(selected_.size()))
        return;
    if (!multiSelect_) {
        SetItemIndex(value ? index : (itemIndex_ == index ? -1 : itemIndex_));
        return;
    }
    selected_[std::size_t(index)] = value;
    Invalidate();
}

int TCustomListBox::SelCount() const
{
    return multiSelect_ ? int(std::count(selected_.begin(), selected_.end(), true)) : -1;
}

void TCustomListBox::ClearSelection()
{
    std::fill(selected_.begin(), selected_.end(), false);
    if (!multiSelect_)
        itemIndex_ = -1;
    Invalidate();
}

void TCustomListBox::SetScrollWidth(int value)
{
    scrollWidth_ = std::max(0, value);
    ItemsChanged(nullptr);
}

// ---- geometry ----

void TCustomListBox::SetBorderStyle(TFormBorderStyle value)
{
    if (value != bsSingle)
        value = bsNone;
    if (borderStyle_ == value)
        return;
    borderStyle_ = value;
    ItemsChanged(nullptr);
}

TListBoxScrollBar TCustomListBox::ScrollBarState(TScrollBarKind kind) const
{
    const int barW = vcl::System().GetSystemMetrics(SM_CXVSCROLL);
    const int barH = vcl::System().GetSystemMetrics(SM_CYHSCROLL);
    // Inside the frame.
    const int b = FrameWidth();
    const int w = std::max(0, Width() - 2 * b), h = std::max(0, Height() - 2 * b);
    // The vertical bar shows when the rows do not fit; the horizontal one when the widest item
    // does not; each takes room from the other.
    bool vert = false, horz = false;
    for (int round = 0; round < 2; ++round) {
        const int areaW = w - (vert ? barW : 0), areaH = h - (horz ? barH : 0);
        vert = ItemCount() * itemHeight_ > areaH;
        horz = scrollWidth_ > areaW;
    }
    TListBoxScrollBar s;
    const TRect area{b, b, b + w - (vert ? barW : 0), b + h - (horz ? barH : 0)};
    if (kind == sbVertical) {
        s.Shown = vert;
        s.Rect = vert ? TRect{b + w - barW, b, b + w, area.Bottom} : TRect{};
        s.Max = std::max(0, ItemCount() - 1);
        s.Page = std::max(1, area.Height() / std::max(1, itemHeight_));
        s.Pos = topIndex_;
    } else {
        s.Shown = horz;
        s.Rect = horz ? TRect{b, b + h - barH, area.Right, b + h} : TRect{};
        s.Max = std::max(0, scrollWidth_ - 1);
        s.Page = std::max(0, area.Width());
        s.Pos = horzPos_;
    }
    s.Enabled = s.Shown && s.Max + 1 > s.Page;
    return s;
}

TRect TCustomListBox::ItemsArea() const
{
    const TListBoxScrollBar v = ScrollBarState(sbVertical), h = ScrollBarState(sbHorizontal);
    const int b = FrameWidth();
    return {b, b, v.Shown ? v.Rect.Left : std::max(b, Width() - b), h.Shown ? h.Rect.Top : std::max(b, Height() - b)};
}

TCustomListBox::BarParts TCustomListBox::ScrollBarParts(TScrollBarKind kind) const
{
    BarParts parts;
    const TListBoxScrollBar s = ScrollBarState(kind);
    if (!s.Shown)
        return parts;
    const bool vert = kind == sbVertical;
    const TRect r = s.Rect;
    const int length = vert ? r.Height() : r.Width();
    const int arrow = std::min(vert ? r.Width() : r.Height(), length / 2);
    // A rectangle of the bar from one distance along it to another.
    auto span = [&](int from, int to) {
        return vert ? TRect{r.Left, r.Top + from, r.Right, r.Top + to} : TRect{r.Left + from, r.Top, r.Left + to, r.Bottom};
    };
    parts.LineUp = span(0, arrow);
    parts.LineDown = span(length - arrow, length);
    const int track = length - 2 * arrow;
    constexpr int minThumb = 8;
    const int range = s.Max - s.Min + 1;
    if (!s.Enabled || track < minThumb || range <= s.Page) {
        parts.PageUp = span(arrow, length - arrow);
        return parts;
    }
    const int thumb = std::clamp(rtl::MulDiv(track, s.Page, range), minThumb, track);
    const int start = arrow + rtl::MulDiv(track - thumb, std::clamp(s.Pos - s.Min, 0, range - s.Page), range - s.Page);
    parts.PageUp = span(arrow, start);
    parts.Thumb = span(start, start + thumb);
    parts.PageDown = span(start + thumb, length - arrow);
    return parts;
}

int TCustomListBox::VisibleRows() const
{
    const int h = ItemsArea().Height();
    return (h + itemHeight_ - 1) / std::max(1, itemHeight_);
}

TRect TCustomListBox::ItemRect(int index) const
{
    const TRect area = ItemsArea();
    const int y = area.Top + (index - topIndex_) * itemHeight_;
    return {area.Left - horzPos_, y, area.Right, y + itemHeight_};
}

int TCustomListBox::ItemAtPos(const TPoint& p, bool existing) const
{
    const TRect area = ItemsArea();
    int index = p.Y < area.Top ? topIndex_ - 1 : topIndex_ + (p.Y - area.Top) / std::max(1, itemHeight_);
    if (existing) {
        if (p.X < area.Left || p.X >= area.Right || p.Y < area.Top || p.Y >= area.Bottom || index < 0 || index >= ItemCount())
            return -1;
        return index;
    }
    return std::clamp(index, 0, std::max(0, ItemCount() - 1));
}

int TCustomListBox::DoFindData(const std::string& prefix)
{
    return OnDataFind.Assigned() ? OnDataFind(this, prefix) : -1;
}

int TCustomListBox::FindString(const std::string& prefix, int start) const
{
    const int n = items_->Count();
    for (int i = 0; i < n; ++i) {
        const int k = (start + 1 + i) % n;
        if (rtl::AnsiStartsText(prefix, items_->Get(k)))
            return k;
    }
    return -1;
}

// ---- messages ----

void TCustomListBox::Dispatch(TMessage& msg)
{
    // The bars are the window's own: a press on them is no press on the items.
    if ((msg.Msg == WM_LBUTTONDOWN || msg.Msg == WM_LBUTTONDBLCLK || msg.Msg == WM_MOUSEMOVE || msg.Msg == WM_LBUTTONUP ||
         msg.Msg == WM_TIMER) &&
        BarMouse(msg))
        return;
    if (msg.Msg == WM_CANCELMODE)
        BarMouse(msg);
    switch (msg.Msg) {
    case WM_GETDLGCODE: msg.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case LB_GETCOUNT: msg.Result = ItemCount(); return;
    case LB_GETCURSEL: msg.Result = itemIndex_; return;
    case LB_SETCURSEL: SetItemIndex(int(msg.WParam)); msg.Result = itemIndex_; return;
    case LB_GETTOPINDEX: msg.Result = topIndex_; return;
    case LB_SETTOPINDEX: SetTopIndex(int(msg.WParam)); return;
    case LB_SETHORIZONTALEXTENT: SetScrollWidth(int(msg.WParam)); return;
    case LB_GETSEL: msg.Result = Selected(int(msg.WParam)) ? 1 : 0; return;
    case LB_FINDSTRING: {
        const char* text = reinterpret_cast<const char*>(msg.LParam);
        const int r = text ? FindString(text, int(std::intptr_t(msg.WParam))) : -1;
        msg.Result = r < 0 ? LB_ERR : r;
        return;
    }
    case LB_SELITEMRANGE: {
        // wParam: select or not; lParam: first item in the low word, last in the high word.
        if (!multiSelect_) {
            msg.Result = LB_ERR;
            return;
        }
        const int a = LoWord(msg.LParam), b = HiWord(msg.LParam);
        for (int i = std::min(a, b); i <= std::max(a, b) && i < int(selected_.size()); ++i)
            selected_[std::size_t(i)] = msg.WParam != 0;
        Invalidate();
        return;
    }
    case WM_VSCROLL: ScrollVert(LoWord(msg.WParam), HiWord(msg.WParam)); return;
    case WM_HSCROLL: ScrollHorz(LoWord(msg.WParam), HiWord(msg.WParam)); return;
    default: TCustomControl::Dispatch(msg);
    }
}

void TCustomListBox::ScrollVert(int code, int pos)
{
    const TListBoxScrollBar s = ScrollBarState(sbVertical);
    switch (code) {
    case SB_LINEUP: SetTopIndex(topIndex_ - 1); break;
    case SB_LINEDOWN: SetTopIndex(topIndex_ + 1); break;
    case SB_PAGEUP: SetTopIndex(topIndex_ - s.Page); break;
    case SB_PAGEDOWN: SetTopIndex(topIndex_ + s.Page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetTopIndex(pos); break;
    case SB_TOP: SetTopIndex(0); break;
    case SB_BOTTOM: SetTopIndex(ItemCount()); break;
    default: break;
    }
}

void TCustomListBox::ScrollHorz(int code, int pos)
{
    const TListBoxScrollBar s = ScrollBarState(sbHorizontal);
    const int old = horzPos_;
    switch (code) {
    case SB_LINEUP: horzPos_ -= 8; break;
    case SB_LINEDOWN: horzPos_ += 8; break;
    case SB_PAGEUP: horzPos_ -= s.Page; break;
    case SB_PAGEDOWN: horzPos_ += s.Page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: horzPos_ = pos; break;
    case SB_TOP: horzPos_ = 0; break;
    case SB_BOTTOM: horzPos_ = scrollWidth_; break;
    default: break;
    }
    ClampTop();
    if (old != horzPos_) {
        Invalidate();
        vcl::FireEvent(OnScrolled, this);
    }
    ListChanged();
}

// ---- painting ----

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    if ((style_ == lbOwnerDrawFixed || style_ == lbOwnerDrawVariable || style_ == lbVirtualOwnerDraw) &&
        OnDrawItem.Assigned()) {
        vcl::FireEvent(OnDrawItem, static_cast<TWinControl*>(this), index, rect, state);
        return;
    }
    Canvas()->FillRect(rect);
    if (index < items_->Count())
        Canvas()->TextOut(rect.Left + 2, rect.Top + 1, items_->Get(index));
}

void TCustomListBox::DrawItemNotice(int index, const TRect& rect, unsigned odsState)
{
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    c->Brush()->SetColor(Color());
    if ((odsState & ODS_SELECTED) && index >= 0) {
        c->Brush()->SetColor(clHighlight);
        c->Font()->SetColor(clHighlightText);
    }
    if (index < 0) {
        c->FillRect(rect);
    } else {
        TOwnerDrawState state;
        if (odsState & ODS_SELECTED)
            state.Include(odSelected);
        if (odsState & ODS_FOCUS)
            state.Include(odFocused);
        DrawItem(index, rect, state);
    }
    if (odsState & ODS_FOCUS)
        c->DrawFocusRect(rect);
}

void TCustomListBox::Paint()
{
    TCanvas* c = Canvas();
    const TRect area = ItemsArea();
    const bool focused = Focused();
    HDC dc = c->GetHandle();
    // Items stay inside their area: a partly shown last row or a long text never covers the
    // bars or the frame.
    const int saved = gdi::SaveDC(*dc);
    gdi::IntersectClipRect(*dc, area);
    for (int i = topIndex_; i < ItemCount() && area.Top + (i - topIndex_) * itemHeight_ < area.Bottom; ++i) {
        unsigned state = Selected(i) ? unsigned(ODS_SELECTED) : 0u;
        if (focused && i == itemIndex_)
            state |= ODS_FOCUS;
        DrawItemNotice(i, ItemRect(i), state);
    }
    const int below = area.Top + (ItemCount() - topIndex_) * itemHeight_;
    c->Brush()->SetColor(Color());
    if (below < area.Bottom)
        c->FillRect({area.Left, std::max(area.Top, below), area.Right, area.Bottom});
    if (focused && ItemCount() == 0)
        DrawItemNotice(-1, {area.Left, area.Top, area.Right, area.Top + itemHeight_}, ODS_FOCUS);
    gdi::RestoreDC(*dc, saved);
    for (TScrollBarKind k : {sbHorizontal, sbVertical})
        PaintBar(c, k);
    if (ScrollBarState(sbHorizontal).Shown && ScrollBarState(sbVertical).Shown) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect({area.Right, area.Bottom, Width() - FrameWidth(), Height() - FrameWidth()});
    }
    if (borderStyle_ == bsSingle) {
        TRect frame = GetClientRect();
        gdi::DrawEdge(*c->GetHandle(), frame, EDGE_SUNKEN, BF_RECT);
    }
    TCustomControl::Paint();
}

namespace {
// A solid rectangle in a system colour.
void Fill(HDC dc, const TRect& r, TColor color)
{
    gdi::FillRect(*dc, r, gdi::Brush::Solid(COLORREF(ColorToRGB(color))));
}

// The classic arrow: a triangle of 1, 3, 5 ... pixels, pointing `dir` (0 up, 1 down, 2 left,
// 3 right), centred in r.
void Arrow(HDC dc, const TRect& r, int dir, TColor color, int shift)
{
    const int size = std::min(r.Width(), r.Height());
    const int rows = std::max(2, (size + 1) / 4);
    const int cx = (r.Left + r.Right) / 2 + shift - (dir >= 2 ? rows / 2 : 0);
    const int cy = (r.Top + r.Bottom) / 2 + shift - (dir < 2 ? rows / 2 : 0);
    for (int i = 0; i < rows; ++i) {
        const int k = dir == 0 || dir == 2 ? i : rows - 1 - i;
        if (dir < 2)
            Fill(dc, {cx - k, cy + i, cx + k + 1, cy + i + 1}, color);
        else
            Fill(dc, {cx + i, cy - k, cx + i + 1, cy + k + 1}, color);
    }
}

void ArrowButton(HDC dc, TRect r, int dir, bool enabled, bool pressed)
{
    Fill(dc, r, clBtnFace);
    if (pressed) {
        gdi::FrameRect(*dc, r, gdi::Brush::Solid(COLORREF(ColorToRGB(clBtnShadow))));
    } else {
        TRect edge = r;
        gdi::DrawEdge(*dc, edge, EDGE_RAISED, BF_RECT);
    }
    if (enabled) {
        Arrow(dc, r, dir, clBtnText, pressed ? 1 : 0);
    } else {
        // Embossed: a highlight below right of the shadow.
        Arrow(dc, r, dir, clBtnHighlight, 1);
        Arrow(dc, r, dir, clBtnShadow, 0);
    }
}

// The track's checker of button face and highlight (darker where a held press pages).
void Track(HDC dc, const TRect& r, bool pressed)
{
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    auto bits = std::make_shared<gdi::Surface>(2, 2);
    const auto a = gdi::ColorToPixel(COLORREF(ColorToRGB(pressed ? cl3DDkShadow : clBtnHighlight)));
    const auto b = gdi::ColorToPixel(COLORREF(ColorToRGB(pressed ? clBtnShadow : clBtnFace)));
    bits->SetPixel(0, 0, a);
    bits->SetPixel(1, 1, a);
    bits->SetPixel(1, 0, b);
    bits->SetPixel(0, 1, b);
    gdi::FillRect(*dc, r, gdi::Brush::Pattern(bits));
}
} // namespace

void TCustomListBox::PaintBar(TCanvas* canvas, TScrollBarKind kind)
{
    const TListBoxScrollBar s = ScrollBarState(kind);
    if (!s.Shown)
        return;
    HDC dc = canvas->GetHandle();
    const BarParts p = ScrollBarParts(kind);
    const bool vert = kind == sbVertical;
    const bool held = barPress_.part != bpNone && barPress_.kind == kind;
    auto pressed = [&](BarPart part) { return held && barPress_.part == part && BarPartAt(kind, barPress_.pointer) == part; };
    ArrowButton(dc, p.LineUp, vert ? 0 : 2, s.Enabled, pressed(bpLineUp));
    ArrowButton(dc, p.LineDown, vert ? 1 : 3, s.Enabled, pressed(bpLineDown));
    Track(dc, p.PageUp, pressed(bpPageUp));
    Track(dc, p.PageDown, pressed(bpPageDown));
    if (p.Thumb.Width() > 0 && p.Thumb.Height() > 0) {
        Fill(dc, p.Thumb, clBtnFace);
        TRect edge = p.Thumb;
        gdi::DrawEdge(*dc, edge, EDGE_RAISED, BF_RECT);
    }
}

TCustomListBox::BarPart TCustomListBox::BarPartAt(TScrollBarKind kind, const TPoint& pt) const
{
    const BarParts p = ScrollBarParts(kind);
    auto in = [&](const TRect& r) { return pt.X >= r.Left && pt.X < r.Right && pt.Y >= r.Top && pt.Y < r.Bottom; };
    if (in(p.LineUp))
        return bpLineUp;
    if (in(p.LineDown))
        return bpLineDown;
    if (in(p.Thumb))
        return bpThumb;
    if (in(p.PageUp))
        return bpPageUp;
    if (in(p.PageDown))
        return bpPageDown;
    return bpNone;
}

namespace {
constexpr std::uintptr_t BarRepeatTimer = 0xB0A1;
} // namespace

void TCustomListBox::BarAct()
{
    const bool vert = barPress_.kind == sbVertical;
    // A held part acts while the pointer is over it (a page press until the thumb reaches it).
    if (BarPartAt(barPress_.kind, barPress_.pointer) != barPress_.part)
        return;
    int code = -1;
    switch (barPress_.part) {
    case bpLineUp: code = SB_LINEUP; break;
    case bpLineDown: code = SB_LINEDOWN; break;
    case bpPageUp: code = SB_PAGEUP; break;
    case bpPageDown: code = SB_PAGEDOWN; break;
    default: return;
    }
    Perform(vert ? WM_VSCROLL : WM_HSCROLL, WPARAM(code), 0);
}

bool TCustomListBox::BarMouse(TMessage& msg)
{
    const TPoint pt{XFromLParam(msg.LParam), YFromLParam(msg.LParam)};
    switch (msg.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        for (TScrollBarKind kind : {sbVertical, sbHorizontal}) {
            const TListBoxScrollBar s = ScrollBarState(kind);
            if (!s.Shown || pt.X < s.Rect.Left || pt.X >= s.Rect.Right || pt.Y < s.Rect.Top || pt.Y >= s.Rect.Bottom)
                continue;
            const BarPart part = BarPartAt(kind, pt);
            if (!s.Enabled || part == bpNone)
                return true;
            barPress_ = {part, kind, pt, 0};
            if (part == bpThumb) {
                const TRect thumb = ScrollBarParts(kind).Thumb;
                barPress_.grab = kind == sbVertical ? pt.Y - thumb.Top : pt.X - thumb.Left;
            }
            SetCapture(Handle());
            const auto alive = AliveToken();
            BarAct();
            if (alive.expired() || !*alive.lock())
                return true;
            Invalidate();
            if (part != bpThumb)
                vcl::SetTimer(Handle(), BarRepeatTimer, 400);
            return true;
        }
        return false;
    }
    case WM_MOUSEMOVE: {
        if (barPress_.part == bpNone)
            return false;
        barPress_.pointer = pt;
        if (barPress_.part == bpThumb) {
            const bool vert = barPress_.kind == sbVertical;
            const TListBoxScrollBar s = ScrollBarState(barPress_.kind);
            const BarParts p = ScrollBarParts(barPress_.kind);
            const int arrow = vert ? p.LineUp.Height() : p.LineUp.Width();
            const int thumb = vert ? p.Thumb.Height() : p.Thumb.Width();
            const int track = (vert ? s.Rect.Height() : s.Rect.Width()) - 2 * arrow;
            const int along = (vert ? pt.Y - s.Rect.Top : pt.X - s.Rect.Left) - arrow - barPress_.grab;
            const int scrollable = s.Max - s.Min + 1 - s.Page;
            const int pos = s.Min + (track > thumb ? rtl::MulDiv(std::clamp(along, 0, track - thumb), scrollable, track - thumb) : 0);
            if (pos != s.Pos)
                Perform(vert ? WM_VSCROLL : WM_HSCROLL, WPARAM(SB_THUMBTRACK) | (WPARAM(std::uint16_t(pos)) << 16), 0);
        }
        Invalidate();
        return true;
    }
    case WM_LBUTTONUP:
    case WM_CANCELMODE: {
        if (barPress_.part == bpNone)
            return false;
        const bool vert = barPress_.kind == sbVertical;
        const bool thumb = barPress_.part == bpThumb;
        barPress_ = {};
        vcl::KillTimer(Handle(), BarRepeatTimer);
        if (GetCapture() == Handle())
            ReleaseCapture();
        const auto alive = AliveToken();
        if (thumb)
            Perform(vert ? WM_VSCROLL : WM_HSCROLL,
                    WPARAM(SB_THUMBPOSITION) | (WPARAM(std::uint16_t(ScrollBarState(vert ? sbVertical : sbHorizontal).Pos)) << 16), 0);
        if (!alive.expired() && *alive.lock()) {
            Perform(vert ? WM_VSCROLL : WM_HSCROLL, SB_ENDSCROLL, 0);
            if (!alive.expired() && *alive.lock())
                Invalidate();
        }
        return msg.Msg == WM_LBUTTONUP;
    }
    case WM_TIMER:
        if (msg.WParam != BarRepeatTimer)
            return false;
        if (barPress_.part == bpNone) {
            vcl::KillTimer(Handle(), BarRepeatTimer);
            return true;
        }
        vcl::SetTimer(Handle(), BarRepeatTimer, 50);
        BarAct();
        return true;
    default: return false;
    }
}

void TCustomListBox::Resize()
{
    ClampTop();
    TCustomControl::Resize();
    ListChanged();
}

// ---- keys and mouse ----

void TCustomListBox::MoveIndex(int index, TShiftState shift)
{
    if (ItemCount() == 0)
        return;
    index = std::clamp(index, 0, ItemCount() - 1);
    if (multiSelect_ && shift.Contains(ssShift) && anchor_ >= 0) {
        const int keep = anchor_;
        std::fill(selected_.begin(), selected_.end(), false);
        for (int i = std::min(keep, index); i <= std::max(keep, index); ++i)
            selected_[std::size_t(i)] = true;
        SetItemIndex(index);
        anchor_ = keep;
    } else {
        if (multiSelect_ && !shift.Contains(ssCtrl)) {
            std::fill(selected_.begin(), selected_.end(), false);
            selected_[std::size_t(index)] = true;
        }
        SetItemIndex(index);
    }
    Click();
}

void TCustomListBox::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    const int page = std::max(1, ItemsArea().Height() / std::max(1, itemHeight_));
    const int cur = std::max(itemIndex_, 0);
    switch (key) {
    case VK_UP: MoveIndex(itemIndex_ < 0 ? 0 : cur - 1, shift); break;
    case VK_DOWN: MoveIndex(itemIndex_ < 0 ? 0 : cur + 1, shift); break;
    case VK_PRIOR: MoveIndex(cur - page + 1, shift); break;
    case VK_NEXT: MoveIndex(cur + page - 1, shift); break;
    case VK_HOME: MoveIndex(0, shift); break;
    case VK_END: MoveIndex(ItemCount() - 1, shift); break;
    default: break;
    }
}

void TCustomListBox::SelectAtPoint(TShiftState shift, int x, int y)
{
    const int index = ItemAtPos({x, y}, true);
    if (index < 0)
        return;
    if (multiSelect_ && shift.Contains(ssCtrl) && !shift.Contains(ssShift)) {
        selected_[std::size_t(index)] = !selected_[std::size_t(index)];
        itemIndex_ = index;
        anchor_ = index;
        Invalidate();
        ListChanged();
        Click();
        return;
    }
    MoveIndex(index, shift);
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        if (CanFocus() && !Focused())
            SetFocus();
        SelectAtPoint(shift, x, y);
        tracking_ = !multiSelect_;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y)
{
    if (tracking_ && shift.Contains(ssLeft)) {
        const int index = ItemAtPos({x, y}, false);
        if (index != itemIndex_ && index >= 0)
            MoveIndex(index, {});
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft)
        tracking_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TCustomListBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos))
        return true;
    const int lines = std::max(1, vcl::System().WheelScrollLines());
    SetTopIndex(topIndex_ - wheelDelta / 120 * lines);
    return true;
}
