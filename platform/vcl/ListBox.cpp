// TCustomListBox: items, selection, scrolling, painting, keys and mouse of the list box.
#include "platform/vcl/ListBox.h"

#include "platform/gdi/GdiConsts.h"
#include "platform/rtl/SysUtils.h"
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

TListBoxScrollBar TCustomListBox::ScrollBarState(TScrollBarKind kind) const
{
    const int barW = vcl::System().GetSystemMetrics(SM_CXVSCROLL);
    const int barH = vcl::System().GetSystemMetrics(SM_CYHSCROLL);
    const int w = Width(), h = Height();
    // The vertical bar shows when the rows do not fit; the horizontal one when the widest item
    // does not; each takes room from the other.
    bool vert = false, horz = false;
    for (int round = 0; round < 2; ++round) {
        const int areaW = w - (vert ? barW : 0), areaH = h - (horz ? barH : 0);
        vert = ItemCount() * itemHeight_ > areaH;
        horz = scrollWidth_ > areaW;
    }
    TListBoxScrollBar s;
    const TRect area{0, 0, w - (vert ? barW : 0), h - (horz ? barH : 0)};
    if (kind == sbVertical) {
        s.Shown = vert;
        s.Rect = vert ? TRect{w - barW, 0, w, area.Bottom} : TRect{};
        s.Max = std::max(0, ItemCount() - 1);
        s.Page = std::max(1, area.Height() / std::max(1, itemHeight_));
        s.Pos = topIndex_;
    } else {
        s.Shown = horz;
        s.Rect = horz ? TRect{0, h - barH, area.Right, h} : TRect{};
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
    return {0, 0, v.Shown ? v.Rect.Left : Width(), h.Shown ? h.Rect.Top : Height()};
}

int TCustomListBox::VisibleRows() const
{
    const int h = ItemsArea().Height();
    return (h + itemHeight_ - 1) / std::max(1, itemHeight_);
}

TRect TCustomListBox::ItemRect(int index) const
{
    const int y = (index - topIndex_) * itemHeight_;
    return {-horzPos_, y, ItemsArea().Right, y + itemHeight_};
}

int TCustomListBox::ItemAtPos(const TPoint& p, bool existing) const
{
    const TRect area = ItemsArea();
    int index = p.Y < 0 ? topIndex_ - 1 : topIndex_ + p.Y / std::max(1, itemHeight_);
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
    for (int i = topIndex_; i < ItemCount() && (i - topIndex_) * itemHeight_ < area.Bottom; ++i) {
        unsigned state = Selected(i) ? unsigned(ODS_SELECTED) : 0u;
        if (focused && i == itemIndex_)
            state |= ODS_FOCUS;
        DrawItemNotice(i, ItemRect(i), state);
    }
    const int below = (ItemCount() - topIndex_) * itemHeight_;
    c->Brush()->SetColor(Color());
    if (below < area.Bottom)
        c->FillRect({0, std::max(0, below), area.Right, area.Bottom});
    if (focused && ItemCount() == 0)
        DrawItemNotice(-1, {0, 0, area.Right, itemHeight_}, ODS_FOCUS);
    c->Brush()->SetColor(clBtnFace);
    for (TScrollBarKind k : {sbHorizontal, sbVertical})
        if (const TListBoxScrollBar s = ScrollBarState(k); s.Shown)
            c->FillRect(s.Rect);
    if (ScrollBarState(sbHorizontal).Shown && ScrollBarState(sbVertical).Shown)
        c->FillRect({area.Right, area.Bottom, Width(), Height()});
    TCustomControl::Paint();
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
