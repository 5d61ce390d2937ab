#include "toolkit/controls/cxScrollBar.h"

#include "platform/gdi/GdiConsts.h"
#include "platform/gdi/SysParams.h"
#include "platform/vcl/SystemFacade.h"
#include "platform/rtl/SysUtils.h"
#include "toolkit/core/cxGeometry.h"

#include <algorithm>

namespace cx {

namespace {
int Metric(int index) { return vcl::System().GetSystemMetrics(index); }
constexpr unsigned FirstRepeat = 400, NextRepeat = 60;

// a * b / c rounded half away from zero, as MulDiv, but for ranges that span the whole of int
// (Min = INT_MIN, Max = INT_MAX): the operands are 64-bit and the product 128-bit.
std::int64_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c)
{
    if (c == 0)
        return 0;
    const __int128 p = __int128(a) * b;
    const __int128 q = p / c, r = p % c;
    const bool negative = (p < 0) != (c < 0);
    const __int128 twice = (r < 0 ? -r : r) * 2;
    const __int128 absC = c < 0 ? -__int128(c) : __int128(c);
    return std::int64_t(twice >= absC ? (negative ? q - 1 : q + 1) : q);
}
} // namespace

TSize GetScrollBarSize() { return {Metric(SM_CXVSCROLL), Metric(SM_CYHSCROLL)}; }

// ---- view info ----

void TcxScrollBarViewInfo::CalculateMinThumnailSize() { ThumbnailSize = scrollBar_->ScrollBarMinimalThumbSize(); }

int TcxScrollBarViewInfo::TrackStart() const
{
    return scrollBar_->Kind() == sbVertical ? TopLeftArrowRect.Bottom : TopLeftArrowRect.Right;
}

int TcxScrollBarViewInfo::TrackLength() const
{
    return scrollBar_->Kind() == sbVertical ? BottomRightArrowRect.Top - TopLeftArrowRect.Bottom
                                            : BottomRightArrowRect.Left - TopLeftArrowRect.Right;
}

void TcxScrollBarViewInfo::CalculateRects()
{
    const int w = scrollBar_->Width(), h = scrollBar_->Height();
    if (scrollBar_->Kind() == sbVertical) {
        const int a = std::min(Metric(SM_CXVSCROLL), h / 2);
        TopLeftArrowRect = {0, 0, w, a};
        BottomRightArrowRect = {0, h - a, w, h};
    } else {
        const int a = std::min(Metric(SM_CYHSCROLL), w / 2);
        TopLeftArrowRect = {0, 0, a, h};
        BottomRightArrowRect = {w - a, 0, w, h};
    }
    CalculateThumbnailRect();
}

void TcxScrollBarViewInfo::CalculateThumbnailRect()
{
    ThumbnailRect = PageUpRect = PageDownRect = cxNullRect;
    TcxScrollBar& sb = *scrollBar_;
    if (!sb.Enabled())
        return;
    const int l = TrackLength();
    const std::int64_t range = std::int64_t(sb.Max()) - sb.Min();
    const std::int64_t page = sb.PageSize(), fromMin = std::int64_t(sb.Position()) - sb.Min();
    int length, offset;
    if (page != 0) {
        length = int(std::min<std::int64_t>(l, MulDiv64(page, l, range + 1)));
        if (l < ThumbnailSize || range == 0)
            return;
        length = std::max(length, ThumbnailSize);
        const std::int64_t d = range - page + 1;
        offset = d > 0 ? int(MulDiv64(l - length, std::min(fromMin, d), d)) : 0;
    } else {
        length = Metric(sb.Kind() == sbVertical ? SM_CYVTHUMB : SM_CXHTHUMB);
        // An empty range has nothing to scroll: no thumb, whatever the page size.
        if (l < length || range == 0)
            return;
        offset = l - length <= 0 ? 0 : int(MulDiv64(l - length, fromMin, range));
    }
    offset = std::max(offset, 0);
    const int start = TrackStart() + offset;
    if (sb.Kind() == sbVertical)
        ThumbnailRect = {0, start, sb.Width(), start + length};
    else
        ThumbnailRect = {start, 0, start + length, sb.Height()};
    AdjustPageRects();
}

void TcxScrollBarViewInfo::AdjustPageRects()
{
    if (cxRectIsEmpty(ThumbnailRect)) {
        PageUpRect = PageDownRect = cxNullRect;
        return;
    }
    const int w = scrollBar_->Width(), h = scrollBar_->Height();
    if (scrollBar_->Kind() == sbVertical) {
        PageUpRect = {0, TopLeftArrowRect.Bottom, w, ThumbnailRect.Top};
        PageDownRect = {0, ThumbnailRect.Bottom, w, BottomRightArrowRect.Top};
    } else {
        PageUpRect = {TopLeftArrowRect.Right, 0, ThumbnailRect.Left, h};
        PageDownRect = {ThumbnailRect.Right, 0, BottomRightArrowRect.Left, h};
    }
}

void TcxScrollBarViewInfo::SetThumbnailPos(int pos)
{
    if (scrollBar_->Kind() == sbVertical)
        ThumbnailRect = cxRectOffset(ThumbnailRect, 0, pos - ThumbnailRect.Top);
    else
        ThumbnailRect = cxRectOffset(ThumbnailRect, pos - ThumbnailRect.Left, 0);
    AdjustPageRects();
}

// ---- the scroll bar ----

TcxScrollBar::TcxScrollBar(TComponent* owner) : TCustomControl(owner)
{
    bitmap_ = std::make_unique<TBitmap>();
    canvas_ = std::make_unique<TcxCanvas>(bitmap_->Canvas());
    lookAndFeel_ = std::make_unique<TcxLookAndFeel>(this);
    lookAndFeel_->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxScrollBar::LookAndFeelChanged);
    viewInfo_ = std::make_unique<TcxScrollBarViewInfo>(this);
    ControlStyle = TControlStyle{csCaptureMouse, csFramed, csOpaque};
    TCustomControl::SetBounds(Left(), Top(), 121, Metric(SM_CYHSCROLL));
    bitmap_->SetSize(121, Metric(SM_CYHSCROLL));
    timer_ = new TcxTimer(nullptr);
    timer_->SetEnabled(false);
    timer_->SetInterval(FirstRepeat);
    timer_->SetOnTimer(TNotifyEvent(this, &TcxScrollBar::OnTimerTick));
    viewInfo_->CalculateMinThumnailSize();
    Layout();
}

TcxScrollBar::~TcxScrollBar() = default;

void TcxScrollBar::BeforeDestruction()
{
    if (timer_) {
        timer_->Free();
        timer_ = nullptr;
    }
    TCustomControl::BeforeDestruction();
}

void TcxScrollBar::Layout() { viewInfo_->Calculate(); }

void TcxScrollBar::SetLookAndFeel(TcxLookAndFeel* value) { lookAndFeel_->Assign(value); }

TcxCustomLookAndFeelPainterClass TcxScrollBar::GetPainter() const
{
    return lookAndFeel_->GetAvailablePainter(totScrollBar);
}

// A new painter may want another minimal thumb and draws everything differently.
void TcxScrollBar::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues)
{
    viewInfo_->CalculateMinThumnailSize();
    Layout();
    Invalidate();
}

void TcxScrollBar::SetScrollParams(int min, int max, int position, int pageSize, bool redraw)
{
    if (max < min || max < pageSize)
        throw EInvalidOperation("Scrollbar property out of range");
    redraw = redraw && HandleAllocated();
    position = std::clamp(position, min, max);
    if (min == min_ && max == max_ && pageSize == pageSize_ && position == position_)
        return;
    min_ = min, max_ = max, pageSize_ = pageSize;
    if (position == position_) {
        viewInfo_->CalculateThumbnailRect();
        if (redraw)
            Invalidate();
        return;
    }
    SetEnabled(true);
    position_ = position;
    viewInfo_->CalculateThumbnailRect();
    if (redraw)
        Invalidate();
    Change();
}

void TcxScrollBar::Change()
{
    const auto alive = AliveToken();
    Perform(CM_CHANGED);
    if (!alive.expired())
        vcl::FireEvent(OnChange, this);
}

void TcxScrollBar::Scroll(TScrollCode code, int& position) { vcl::FireEvent(OnScroll, this, code, position); }

void TcxScrollBar::SetKind(TScrollBarKind kind)
{
    if (kind == kind_)
        return;
    kind_ = kind;
    if (ComponentState().Contains(csLoading))
        Layout();
    else
        SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TcxScrollBar::SetBounds(int left, int top, int width, int height)
{
    const TRect old = BoundsRect();
    TCustomControl::SetBounds(left, top, width, height);
    if (BoundsRect() != old && Width() > 0 && Height() > 0) {
        bitmap_->SetSize(Width(), Height());
        Layout();
    } else if (viewInfo_) {
        Layout();
    }
}

void TcxScrollBar::SetEnabled(bool v)
{
    const bool changed = v != Enabled();
    TCustomControl::SetEnabled(v);
    if (!changed)
        return;
    Layout();
    if (!v && !CancelScroll())
        return;
    Invalidate();
}

bool TcxScrollBar::IsButtonHotTrack() const { return GetPainter()->IsButtonHotTrack(); }
int TcxScrollBar::ScrollBarMinimalThumbSize() const { return GetPainter()->ScrollBarMinimalThumbSize(kind_ == sbVertical); }

void TcxScrollBar::DrawScrollBarBackground(TcxCanvas* canvas, const TRect& r)
{
    GetPainter()->DrawScrollBarBackground(canvas, r, kind_ == sbHorizontal);
}

void TcxScrollBar::DrawScrollBarPart(TcxCanvas* canvas, const TRect& r, TcxScrollBarPart part, TcxButtonState state)
{
    GetPainter()->DrawScrollBarPart(canvas, kind_ == sbHorizontal, r, part, state);
}

TcxScrollBarPart TcxScrollBar::GetScrollBarPart(const TPoint& p) const
{
    if (!cxRectPtIn(GetClientRect(), p))
        return sbpNone;
    const auto& vi = *viewInfo_;
    if (cxRectPtIn(vi.TopLeftArrowRect, p))
        return sbpLineUp;
    if (cxRectPtIn(vi.BottomRightArrowRect, p))
        return sbpLineDown;
    if (cxRectIsEmpty(vi.ThumbnailRect))
        return sbpNone;
    if (cxRectPtIn(vi.ThumbnailRect, p))
        return sbpThumbnail;
    if (cxRectPtIn(vi.PageUpRect, p))
        return sbpPageUp;
    if (cxRectPtIn(vi.PageDownRect, p))
        return sbpPageDown;
    return sbpNone;
}

int TcxScrollBar::GetPositionFromThumbnail() const
{
    const auto& vi = *viewInfo_;
    const std::int64_t span = std::int64_t(max_) - min_;
    const std::int64_t range = pageSize_ <= 0 ? span : span + 1 - pageSize_;
    const bool vert = kind_ == sbVertical;
    const int offset = (vert ? vi.ThumbnailRect.Top : vi.ThumbnailRect.Left) - vi.TrackStart();
    const int free = vi.TrackLength() - (vert ? vi.ThumbnailRect.Height() : vi.ThumbnailRect.Width());
    if (free <= 0)
        return min_;
    return int(std::clamp<std::int64_t>(min_ + MulDiv64(range, offset, free), min_, max_));
}

TcxButtonState TcxScrollBar::GetPartState(TcxScrollBarPart part) const
{
    if (!Enabled())
        return cxbsDisabled;
    if (part != hotPart_ || (part == sbpThumbnail && !IsButtonHotTrack()))
        return cxbsNormal;
    if (state_ == sbpNone)
        return ComponentState().Contains(csDesigning) ? cxbsNormal : cxbsHot;
    return state_ == part ? cxbsPressed : cxbsNormal;
}

bool TcxScrollBar::InternalScroll(TScrollCode code)
{
    std::int64_t next = position_;
    switch (code) {
    case scLineUp: next -= SmallChange; break;
    case scLineDown: next += SmallChange; break;
    case scPageUp: next -= LargeChange; break;
    case scPageDown: next += LargeChange; break;
    case scTop: next = min_; break;
    case scBottom: next = max_; break;
    default: break;
    }
    int pos = int(std::clamp<std::int64_t>(next, min_, max_));
    const auto alive = AliveToken();
    Scroll(code, pos);
    if (alive.expired())
        return false;
    pos = std::clamp(pos, min_, max_);
    if (pos == position_)
        return true;
    if (code == scTrack) {
        position_ = pos;
        Invalidate();
        return true;
    }
    SetPosition(pos);
    return !alive.expired();
}

bool TcxScrollBar::DoScroll(TcxScrollBarPart part)
{
    switch (part) {
    case sbpLineUp: return InternalScroll(scLineUp);
    case sbpLineDown: return InternalScroll(scLineDown);
    case sbpThumbnail: return InternalScroll(scTrack);
    case sbpPageUp: return InternalScroll(scPageUp);
    case sbpPageDown: return InternalScroll(scPageDown);
    default: return true;
    }
}

void TcxScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TCustomControl::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft)
        return;
    const TcxScrollBarPart part = GetScrollBarPart({x, y});
    if (part == sbpNone)
        return;
    if (part == sbpThumbnail) {
        downMousePos_ = {x, y};
        savePosition_ = position_;
        saveThumbnailPos_ = {viewInfo_->ThumbnailRect.Left, viewInfo_->ThumbnailRect.Top};
        if (!InternalScroll(scTrack))
            return;
    }
    state_ = hotPart_ = part;
    if (part != sbpThumbnail) {
        if (!DoScroll(part))
            return;
        timer_->SetInterval(FirstRepeat);
        timer_->SetEnabled(true);
    }
    Invalidate();
}

void TcxScrollBar::OnTimerTick(TObject*)
{
    const bool repeating = state_ == sbpLineUp || state_ == sbpLineDown || state_ == sbpPageUp || state_ == sbpPageDown;
    if (!repeating || !MouseCapture()) {
        CancelScroll();
        return;
    }
    if (timer_->Interval() == FirstRepeat)
        timer_->SetInterval(NextRepeat);
    if (!DoScroll(state_))
        return;
    const TPoint p = ScreenToClient(vcl::System().GetCursorPos());
    timer_->SetEnabled(GetScrollBarPart(p) == state_);
}

bool TcxScrollBar::DragThumb(const TPoint& p)
{
    TRect area = BoundsRect();
    area = {0, 0, area.Width(), area.Height()};
    const bool vert = kind_ == sbVertical;
    if (vert)
        area = {area.Left - 136, area.Top - 34, area.Right + 136, area.Bottom + 34};
    else
        area = {area.Left - 34, area.Top - 136, area.Right + 34, area.Bottom + 136};
    if (UnlimitedTracking || cxRectPtIn(area, p)) {
        auto& vi = *viewInfo_;
        int offset = vert ? p.Y - downMousePos_.Y : p.X - downMousePos_.X;
        const int saved = vert ? saveThumbnailPos_.Y : saveThumbnailPos_.X;
        const int length = vert ? vi.ThumbnailRect.Height() : vi.ThumbnailRect.Width();
        const int lo = vi.TrackStart(), hi = vi.TrackStart() + vi.TrackLength() - length;
        const int pos = std::clamp(saved + offset, lo, std::max(lo, hi));
        vi.SetThumbnailPos(pos);
        Invalidate();
        const int newPos = GetPositionFromThumbnail();
        if (newPos != position_)
            position_ = newPos;
    } else if (position_ != savePosition_) {
        const auto alive = AliveToken();
        SetPosition(savePosition_);
        if (alive.expired())
            return false;
    }
    return InternalScroll(scTrack);
}

void TcxScrollBar::MouseMove(TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TCustomControl::MouseMove(shift, x, y);
    if (alive.expired())
        return;
    if (state_ == sbpThumbnail) {
        DragThumb({x, y});
        return;
    }
    const TcxScrollBarPart part = GetScrollBarPart({x, y});
    if (state_ != sbpNone)
        timer_->SetEnabled(part == state_);
    if (part != hotPart_) {
        hotPart_ = part;
        if (IsButtonHotTrack())
            Invalidate();
    }
}

void TcxScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!CancelScroll())
        return;
    hotPart_ = GetScrollBarPart({x, y});
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TcxScrollBar::CancelScroll()
{
    if (state_ == sbpNone)
        return true;
    if (state_ == sbpThumbnail) {
        position_ = std::clamp(GetPositionFromThumbnail(), min_, max_);
        if (!InternalScroll(scPosition))
            return false;
    }
    if (timer_)
        timer_->SetEnabled(false);
    state_ = hotPart_ = sbpNone;
    if (!InternalScroll(scEndScroll))
        return false;
    viewInfo_->CalculateThumbnailRect();
    Invalidate();
    return true;
}

void TcxScrollBar::MouseEnter(TControl*)
{
    if (IsButtonHotTrack() || (state_ != sbpNone && state_ != sbpThumbnail))
        Invalidate();
}

void TcxScrollBar::MouseLeave(TControl*)
{
    if (state_ != sbpThumbnail)
        hotPart_ = sbpNone;
    if (IsButtonHotTrack() || (state_ != sbpNone && state_ != sbpThumbnail))
        Invalidate();
}

void TcxScrollBar::DoPaint(TcxCanvas* canvas)
{
    const auto& vi = *viewInfo_;
    DrawScrollBarBackground(canvas, GetClientRect());
    DrawScrollBarPart(canvas, vi.TopLeftArrowRect, sbpLineUp, GetPartState(sbpLineUp));
    DrawScrollBarPart(canvas, vi.BottomRightArrowRect, sbpLineDown, GetPartState(sbpLineDown));
    if (!cxRectIsEmpty(vi.ThumbnailRect))
        DrawScrollBarPart(canvas, vi.ThumbnailRect, sbpThumbnail, GetPartState(sbpThumbnail));
    if (!cxRectIsEmpty(vi.PageUpRect))
        DrawScrollBarPart(canvas, vi.PageUpRect, sbpPageUp, GetPartState(sbpPageUp));
    if (!cxRectIsEmpty(vi.PageDownRect))
        DrawScrollBarPart(canvas, vi.PageDownRect, sbpPageDown, GetPartState(sbpPageDown));
}

void TcxScrollBar::Paint()
{
    if (bitmap_->GetWidth() != Width() || bitmap_->GetHeight() != Height())
        bitmap_->SetSize(Width(), Height());
    DoPaint(canvas_.get());
    TCustomControl::Canvas()->CopyRect(GetClientRect(), bitmap_->Canvas(), GetClientRect());
}

void TcxScrollBar::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_ERASEBKGND: msg.Result = 1; return;
    case WM_CANCELMODE:
        if (!CancelScroll())
            return;
        break;
    case CM_MOUSEENTER:
        TCustomControl::Dispatch(msg);
        MouseEnter(msg.LParam ? reinterpret_cast<TControl*>(msg.LParam) : this);
        return;
    case CM_MOUSELEAVE:
        TCustomControl::Dispatch(msg);
        MouseLeave(msg.LParam ? reinterpret_cast<TControl*>(msg.LParam) : this);
        return;
    case CM_VISIBLECHANGED:
        if (!Visible() && !CancelScroll())
            return;
        break;
    case CN_HSCROLL:
    case CN_VSCROLL: InternalScroll(TScrollCode(LoWord(msg.WParam))); return;
    default: break;
    }
    TCustomControl::Dispatch(msg);
}

} // namespace cx
