// The month calendar: state, the dates of the grid, metrics from the font, the layout of both
// kinds, the child buttons and clock, and the input (mouse, keys, wheel, arrows on a timer).
// Painting lives in cxCalendarPaint.cpp, the month list in cxCalendarMonthList.cpp.
#include "toolkit/editors/cxCalendar.h"

#include "toolkit/core/cxFormats.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/editors/cxEditConsts.h"

#include <algorithm>
#include <cmath>

namespace cx {

namespace {

bool IsOffice11(TcxCustomLookAndFeelPainterClass painter)
{
    return dynamic_cast<const TcxOffice11LookAndFeelPainter*>(painter) != nullptr;
}

double Sign(double v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

// Text measuring outside painting: a scratch bitmap canvas with the given font.
class Measure {
public:
    explicit Measure(TFont* font, int size = 0)
    {
        bitmap_.SetSize(1, 1);
        canvas_.SetFont(font);
        if (size > 0)
            canvas_.GetFont()->SetSize(size);
    }
    TSize Extent(const std::string& s) { return canvas_.TextExtent(s); }

private:
    TBitmap bitmap_;
    TcxCanvas canvas_{bitmap_.Canvas()};
};

} // namespace

// ---- construction -----------------------------------------------------------------------------

TcxCustomCalendar::TcxCustomCalendar(TComponent* owner) : TcxControl(owner), table_(cxGetLocalCalendar())
{
    ControlStyle = {csCaptureMouse, csOpaque};
    SetColor(clWindow);
    selectDate_ = DateOf(Date());
    {
        TcxDateTime d = table_->FromDateTime(selectDate_);
        d.Day = 1;
        firstDate_ = table_->ToDateTime(d);
    }
    TcxControl::SetBounds(Left(), Top(), 20, 20);
    scrollTimer_ = new TcxTimer(this);
    scrollTimer_->SetInterval(200);
    scrollTimer_->SetEnabled(false);
    scrollTimer_->SetOnTimer(TNotifyEvent(this, &TcxCustomCalendar::DoScrollArrow));
    monthList_ = new TcxMonthListBox(this);
    monthList_->SetCaptureFocus(false);
    monthList_->SetIsTopMost(true);
    monthList_->ModalMode = false;
    SetKeys({kAll, kArrows, kChars, kTab});
    todayButton_ = CreateButton(btnToday, 1, &cxSDatePopupToday);
    nowButton_ = CreateButton(btnNow, 2, &cxSDatePopupNow);
    clearButton_ = CreateButton(btnClear, 3, &cxSDatePopupClear);
    okButton_ = CreateButton(btnOk, 4, &cxSDatePopupOK);
    okButton_->Default = true;
    clock_ = new TcxClock(this);
    clock_->TabStop = false;
    clock_->LookAndFeel()->SetMasterLookAndFeel(LookAndFeel());
    SetCalendarButtons({btnClear, btnToday});
}

TcxButton* TcxCustomCalendar::CreateButton(TDateButton tag, int, const TResStringRec* caption)
{
    auto* b = new TcxButton(this);
    b->UseSystemPaint = false;
    b->OnClick = TNotifyEvent(this, &TcxCustomCalendar::ButtonClick);
    b->LookAndFeel()->SetMasterLookAndFeel(LookAndFeel());
    b->Tag = tag;
    b->SetCaption(cxGetResourceString(caption));
    return b;
}

TcxCustomCalendar::~TcxCustomCalendar()
{
    if (scrollTimer_)
        BeforeDestruction();
}

void TcxCustomCalendar::BeforeDestruction()
{
    if (scrollTimer_) {
        scrollTimer_->SetEnabled(false);
        scrollTimer_ = nullptr;   // freed as an owned component
        if (monthList_) {
            monthList_->Free();
            monthList_ = nullptr;
        }
    }
    TcxControl::BeforeDestruction();
}

void TcxCustomCalendar::InitControl()
{
    TcxControl::InitControl();
    for (TWinControl* c : {static_cast<TWinControl*>(todayButton_), static_cast<TWinControl*>(nowButton_),
                           static_cast<TWinControl*>(clearButton_), static_cast<TWinControl*>(okButton_),
                           static_cast<TWinControl*>(clock_)})
        c->SetParent(this);
}

void TcxCustomCalendar::CreateWnd()
{
    TcxControl::CreateWnd();
    Calculate();
}

void TcxCustomCalendar::ReadCaptions()
{
    todayButton_->SetCaption(cxGetResourceString(&cxSDatePopupToday));
    nowButton_->SetCaption(cxGetResourceString(&cxSDatePopupNow));
    clearButton_->SetCaption(cxGetResourceString(&cxSDatePopupClear));
    okButton_->SetCaption(cxGetResourceString(&cxSDatePopupOK));
}

void TcxCustomCalendar::TranslationChanged()
{
    ReadCaptions();
    Calculate();
}

void TcxCustomCalendar::FontChanged()
{
    TcxControl::FontChanged();
    Calculate();
}

// ---- state ------------------------------------------------------------------------------------

void TcxCustomCalendar::SetFirstDate(TDateTime value)
{
    if (!cxIsDateValid(value))
        return;
    TcxDateTime d = table_->FromDateTime(value);
    d.Day = 1;
    d.Hours = d.Minutes = d.Seconds = 0;
    d.Milliseconds = 0;
    const TDateTime first = table_->ToDateTime(d);
    if (first != firstDate_) {
        firstDate_ = first;
        Invalidate();
    }
}

void TcxCustomCalendar::InternalSetSelectDate(TDateTime value, bool moveMonth)
{
    if (value == selectDate_ || !cxIsDateValid(value))
        return;
    selectDate_ = value;
    if (moveMonth && value != NullDate)
        SetFirstDate(DateOf(value));
    if (moveMonth || kind_ == ckDateTime)
        Invalidate();
    else
        InvalidateDays();
}

void TcxCustomCalendar::InvalidateDays()
{
    TRect r = monthRect_;
    r.Top += daysOfWeekHeight_;
    InvalidateRect(r, false);
}

void TcxCustomCalendar::SetKind(TcxCalendarKind value)
{
    kind_ = value;
    if (value == ckDateTime) {
        ControlStyle.Include(csClickEvents);
        ControlStyle.Include(csDoubleClicks);
    } else {
        ControlStyle.Exclude(csClickEvents);
        ControlStyle.Exclude(csDoubleClicks);
    }
    Calculate();
}

void TcxCustomCalendar::SetArrowsForYear(bool value)
{
    if (arrowsForYear_ != value) {
        arrowsForYear_ = value;
        Calculate();
    }
}

void TcxCustomCalendar::SetFlat(bool value)
{
    if (flat_ != value) {
        flat_ = value;
        Calculate();
    }
}

void TcxCustomCalendar::SetWeekNumbers(bool value)
{
    if (weekNumbers_ != value) {
        weekNumbers_ = value;
        Calculate();
    }
}

void TcxCustomCalendar::SetCalendarButtons(TDateButtons value)
{
    buttons_ = value;
    clearButton_->SetVisible(value.Contains(btnClear));
    nowButton_->SetVisible(value.Contains(btnNow));
    todayButton_->SetVisible(value.Contains(btnToday));
    Calculate();
}

// ---- dates of the grid ------------------------------------------------------------------------

TDateTime TcxCustomCalendar::GetLastDate() const
{
    TcxDateTime d = table_->FromDateTime(firstDate_);
    d.Day = table_->GetDaysInMonth(d.Era, d.Year, d.Month);
    return table_->ToDateTime(d);
}

TDateTime TcxCustomCalendar::GetRealFirstDate() const
{
    const int offset = DayOfWeekOffset(firstDate_);
    return firstDate_ - (offset == 0 ? 7 : offset);
}

TDateTime TcxCustomCalendar::GetRealLastDate() const
{
    int y, m, d;
    DecodeDate(firstDate_, y, m, d);
    const int days = DaysPerMonth(y, m);
    const int offset = DayOfWeekOffset(EncodeDate(y, m, 1));
    TDateTime last = EncodeDate(y, m, days) + 42 - days - offset;
    if (offset == 0)
        last -= 7;
    return last;
}

TDateTime TcxCustomCalendar::GetDateFromCell(int col, int row) const
{
    const int offset = DayOfWeekOffset(firstDate_);
    TDateTime result = firstDate_ - offset + 7 * row + col;
    // A month starting on the week's first day shows the whole week before it in the first row.
    if (offset == 0 && firstDate_ > cxMinDateTime())
        result -= 7;
    return result;
}

TRect TcxCustomCalendar::DayCellRect(int col, int row) const
{
    const int left = monthRect_.Left + WeekNumbersRegionWidth() + sideWidth_ + colWidth_ * col;
    const int top = monthRect_.Top + daysOfWeekHeight_ + rowHeight_ * row;
    return {left, top, left + colWidth_, top + rowHeight_};
}

TDateTime TcxCustomCalendar::PosToDateTime(const TPoint& p) const
{
    if (!cxRectPtIn(GetClientRect(), p))
        return NullDate;
    TRect grid = monthRect_;
    grid.Top += daysOfWeekHeight_;
    grid.Left += WeekNumbersRegionWidth() + sideWidth_;
    grid.Right -= sideWidth_;
    grid.Bottom = grid.Top + 6 * rowHeight_;
    if (!cxRectPtIn(grid, p) || colWidth_ <= 0 || rowHeight_ <= 0)
        return NullDate;
    const int col = (p.X - grid.Left) / colWidth_, row = (p.Y - grid.Top) / rowHeight_;
    if (col > 6 || row > 5)
        return NullDate;
    return GetDateFromCell(col, row);
}

void TcxCustomCalendar::StepToFuture()
{
    int y, m, d;
    DecodeDate(firstDate_, y, m, d);
    Word year = Word(y), month = Word(m);
    IncMonth(year, month);
    SetFirstDate(EncodeDate(year, month, 1));
}

void TcxCustomCalendar::StepToPast()
{
    int y, m, d;
    DecodeDate(firstDate_, y, m, d);
    Word year = Word(y), month = Word(m);
    DecMonth(year, month);
    SetFirstDate(EncodeDate(year, month, 1));
}

void TcxCustomCalendar::DoStep(TcxCalendarArrow arrow)
{
    switch (arrow) {
    case caPrevMonth: SetFirstDate(table_->AddMonths(firstDate_, -1)); break;
    case caNextMonth: SetFirstDate(table_->AddMonths(firstDate_, 1)); break;
    case caPrevYear: SetFirstDate(table_->AddYears(firstDate_, -1)); break;
    case caNextYear: SetFirstDate(table_->AddYears(firstDate_, 1)); break;
    }
}

int TcxCustomCalendar::ArrowAt(const TPoint& p) const
{
    const int count = arrowsForYear_ ? 4 : 2;
    for (int i = 0; i < count; ++i)
        if (cxRectPtIn(arrowRects_[std::size_t(i)], p))
            return i;
    return -1;
}

void TcxCustomCalendar::DoScrollArrow(TObject*)
{
    const int arrow = ArrowAt(ScreenToClient(GetMouseCursorPos()));
    if (arrow >= 0)
        DoStep(TcxCalendarArrow(arrow));
}

void TcxCustomCalendar::HidePopup(TcxEditCloseUpReason)
{
    // Also safe while the control is being torn down (its timer and list go first).
    if (scrollTimer_)
        scrollTimer_->SetEnabled(false);
    if (!monthList_)
        return;
    monthList_->ListTimer()->SetEnabled(false);
    if (monthList_->IsVisible())
        monthList_->CloseUp();
}

void TcxCustomCalendar::ButtonClick(TObject* sender)
{
    const TDateTime clockTime = clock_->Time();
    TDateTime result = NullDate;
    switch (int(static_cast<TComponent*>(sender)->Tag)) {
    case btnClear: result = NullDate; break;
    case btnNow: result = Now(); break;
    case btnToday: {
        const TDateTime today = DateOf(Date());
        result = today + Sign(today) * clockTime;
        break;
    }
    case btnOk: result = selectDate_ + Sign(selectDate_) * clockTime; break;
    default: return;
    }
    clock_->SetTime(result == NullDate ? 0 : TimeOf(result));
    SetSelectDate(result);
    DoDateTimeChanged();
    HidePopup(crEnter);
}

// ---- metrics and layout -----------------------------------------------------------------------

int TcxCustomCalendar::GetButtonsRegionOffset() const { return Font()->GetSize() / 2; }

TPoint TcxCustomCalendar::GetMonthCalendarOffset() const
{
    const int v = MulDiv(Font()->GetSize(), 3, 4);
    return {v, v};
}

bool TcxCustomCalendar::HasButtonsRegion() const
{
    return kind_ == ckDateTime || buttons_.Contains(btnToday) || buttons_.Contains(btnClear);
}

void TcxCustomCalendar::Calculate()
{
    if (!HandleAllocated())
        return;
    const bool dateTime = kind_ == ckDateTime;
    for (TcxButton* b : {todayButton_, nowButton_, clearButton_, okButton_})
        b->TabStop = dateTime;
    TcxKeys keys = Keys();
    if (dateTime)
        keys.Exclude(kTab);
    else
        keys.Include(kTab);
    SetKeys(keys);

    const int size = Font()->GetSize();
    weekNumberWidth_ = Measure(Font(), MulDiv(size, 2, 3)).Extent("99").cx;
    Measure m(Font());
    const TSize zero = m.Extent("0");
    colWidth_ = 3 * zero.cx;
    sideWidth_ = 2 * zero.cx;
    rowHeight_ = zero.cy + 2;
    headerHeight_ = zero.cy + 5 - (!dateTime && IsOffice11(GetLookAndFeelPainter()) ? 1 : 0);
    daysOfWeekHeight_ = rowHeight_ + 1;

    int widest = 0;
    for (TcxButton* b : {todayButton_, nowButton_, clearButton_, okButton_})
        if (b->Visible() || (b == okButton_ && dateTime) || (b == nowButton_ && dateTime && buttons_.Contains(btnNow)))
            widest = std::max(widest, m.Extent(b->Caption()).cx);
    buttonWidth_ = widest + colWidth_;
    buttonsOffset_ = size / 2;
    const int h = MulDiv(m.Extent("Wg").cy, 20, 13);
    buttonHeight_ = h + 1;
    if (dateTime) {
        const int b = MulDiv(size, 5, 4);
        buttonsRegionHeight_ = b + 1 + (b % 2 ? 1 : 0) + buttonHeight_;
    } else {
        buttonsRegionHeight_ = MulDiv(size, 3, 4) + h + buttonsOffset_;
    }
    const TSize s = GetSize();
    sizing_ = true;
    TcxControl::SetBounds(Left(), Top(), s.cx, s.cy);
    sizing_ = false;
    AdjustCalendarControlsPosition();
    CalculateViewInfo();
    Invalidate();
}

TSize TcxCustomCalendar::GetSize()
{
    const bool dateTime = kind_ == ckDateTime;
    const TPoint offset = GetMonthCalendarOffset();
    const int headerOffsetTop = !dateTime && IsOffice11(GetLookAndFeelPainter()) ? 2 : 0;
    int height = daysOfWeekHeight_ + 6 * rowHeight_ + headerHeight_ + 1;
    if (HasButtonsRegion())
        height += buttonsRegionHeight_;
    height += dateTime ? offset.Y + headerHeight_ + GetButtonsRegionOffset() : 1;
    height += headerOffsetTop;
    monthWidth_ = WeekNumbersRegionWidth() + 2 * sideWidth_ + 7 * colWidth_;
    int width = monthWidth_;
    if (dateTime) {
        // The time panel: the clock above where the time editor goes (no time editor yet).
        const int m = (buttonsRegionHeight_ - buttonHeight_ - 1) / 2;
        clockSize_ = height - (headerHeight_ + offset.Y + buttonsRegionHeight_ + 3 * m);
        width += 2 * offset.X + colWidth_ + 2 * m + std::max(clockSize_, 0);
    }
    int visible = 0;
    for (TcxButton* b : {todayButton_, nowButton_, clearButton_, okButton_})
        visible += b->Visible() ? 1 : 0;
    const int buttonsWidth = colWidth_ + (buttonWidth_ + colWidth_) * visible;
    calendarShift_ = 0;
    if (width < buttonsWidth) {
        calendarShift_ = (buttonsWidth - width) / 2;
        if (dateTime)
            calendarShift_ /= 2;
        width = buttonsWidth;
    }
    return {width, height};
}

bool TcxCustomCalendar::CanResize(int& newWidth, int& newHeight)
{
    const TSize s = GetSize();
    newWidth = s.cx;
    newHeight = s.cy;
    return true;
}

void TcxCustomCalendar::SetBounds(int left, int top, int width, int height)
{
    // The calendar always takes its natural size once it can measure.
    if (!sizing_ && HandleAllocated() && colWidth_ > 0)
        CanResize(width, height);
    TcxControl::SetBounds(left, top, width, height);
}

void TcxCustomCalendar::CalculateViewInfo()
{
    const bool dateTime = kind_ == ckDateTime;
    const bool office11 = IsOffice11(GetLookAndFeelPainter());
    const TRect off = !dateTime && office11 ? TRect{2, 2, 2, 0} : TRect{0, 0, 0, 0};
    const int a = dateTime ? 1 : (flat_ ? 0 : 1);
    int headerWidth = Width();
    dateRegionRect_ = cxNullRect;
    if (dateTime) {
        dateRegionRect_ = {0, 0, Width(), headerHeight_};
        if (office11)
            dateRegionRect_ = {2, 2, Width() - 2, headerHeight_};
        headerWidth = monthWidth_;
    }
    const int arrowBottom = off.Top + headerHeight_ - 1;
    arrowRects_[caPrevMonth] = {a + off.Left, a + off.Top, a + off.Left + colWidth_ - 2, arrowBottom};
    const TRect rightArrow = {monthWidth_ - colWidth_ - a - off.Right + 2, a + off.Top, monthWidth_ - a - off.Right,
                              arrowBottom};
    yearRect_ = cxNullRect;
    if (!arrowsForYear_) {
        arrowRects_[caNextMonth] = rightArrow;
        arrowRects_[caPrevYear] = arrowRects_[caNextYear] = cxNullRect;
        monthNameRect_ = {arrowRects_[caPrevMonth].Right, off.Top, rightArrow.Left, off.Top + headerHeight_};
    } else {
        Measure m(Font());
        int widestMonth = 0, widestYear = 0;
        const TcxDateTime shown = table_->FromDateTime(firstDate_);
        const int months = table_->GetMonthsInYear(shown.Era, shown.Year);
        for (int month = 1; month <= months; ++month) {
            TcxDateTime d = shown;
            d.Month = month;
            d.Day = 1;
            const TDateTime date = table_->ToDateTime(d);
            widestMonth = std::max(widestMonth, m.Extent(cxGetLocalMonthName(date, table_.get())).cx);
            widestYear = std::max(widestYear, m.Extent(cxGetLocalYear(date, table_.get())).cx);
        }
        const int free = monthWidth_ - 2 * a - off.Left - off.Right - widestMonth - widestYear - 4 * colWidth_ + 8;
        arrowRects_[caNextYear] = rightArrow;
        const int x = arrowRects_[caPrevMonth].Right + widestMonth +
                      (widestMonth + widestYear > 0 ? free * widestMonth / (widestMonth + widestYear) : 0);
        arrowRects_[caNextMonth] = {x, a + off.Top, x + colWidth_ - 2, arrowBottom};
        arrowRects_[caPrevYear] = cxRectOffset(arrowRects_[caNextMonth], colWidth_ - 2, 0);
        monthNameRect_ = {arrowRects_[caPrevMonth].Right, off.Top, arrowRects_[caNextMonth].Left,
                          off.Top + headerHeight_};
        yearRect_ = {arrowRects_[caPrevYear].Right, off.Top, arrowRects_[caNextYear].Left, off.Top + headerHeight_};
    }
    headerRect_ = {0, monthNameRect_.Top, headerWidth, monthNameRect_.Bottom};
    monthRect_ = {0, monthNameRect_.Bottom + 1, monthWidth_,
                  monthNameRect_.Bottom + 1 + daysOfWeekHeight_ + 6 * rowHeight_ + 1};
    TPoint shift{calendarShift_, 0};
    if (dateTime) {
        const TPoint o = GetMonthCalendarOffset();
        shift = {shift.X + o.X, o.Y + dateRegionRect_.Bottom};
    }
    for (TRect& r : arrowRects_)
        if (!cxRectIsEmpty(r))
            r = cxRectOffset(r, shift.X, shift.Y);
    monthRect_ = cxRectOffset(monthRect_, shift.X, shift.Y);
    monthNameRect_ = cxRectOffset(monthNameRect_, shift.X, shift.Y);
    if (!cxRectIsEmpty(yearRect_))
        yearRect_ = cxRectOffset(yearRect_, shift.X, shift.Y);
    if (dateTime)
        headerRect_ = cxRectOffset(headerRect_, shift.X, shift.Y);
}

void TcxCustomCalendar::AdjustCalendarControlsPosition()
{
    if (!HandleAllocated())
        return;
    const bool dateTime = kind_ == ckDateTime;
    clearButton_->SetVisible(buttons_.Contains(btnClear));
    nowButton_->SetVisible(dateTime && buttons_.Contains(btnNow));
    okButton_->SetVisible(dateTime);
    todayButton_->SetVisible(buttons_.Contains(btnToday));
    clock_->SetVisible(okButton_->Visible());
    const int w = ClientWidth(), b = buttonWidth_;
    if (!dateTime) {
        const int top = ClientHeight() + buttonsOffset_ - buttonsRegionHeight_;
        const bool both = todayButton_->Visible() && clearButton_->Visible();
        const int gap = (w - 2 * b) / 3;
        if (todayButton_->Visible())
            todayButton_->SetBounds(both ? gap : (w - b) / 2, top, b + 1, buttonHeight_);
        if (clearButton_->Visible())
            clearButton_->SetBounds(both ? w - b - gap : (w - b) / 2, top, b + 1, buttonHeight_);
        return;
    }
    const int top = Height() + (buttonsRegionHeight_ - buttonHeight_ - 1) / 2 - buttonsRegionHeight_ + 1;
    const int g = MulDiv(Font()->GetSize(), 5, 4);
    std::vector<TcxButton*> shown;
    for (TcxButton* btn : {todayButton_, nowButton_, clearButton_, okButton_})
        if (btn->Visible())
            shown.push_back(btn);
    const int okLeft = w - g - b - 1;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        int left;
        if (i + 1 == shown.size())
            left = okLeft;
        else if (shown.size() == 2)
            left = okLeft - (g + b + 1);
        else
            left = g + int(i) * (g + b + 1);
        shown[i]->SetBounds(left, top, b + 1, buttonHeight_);
    }
    const TPoint offset = GetMonthCalendarOffset();
    const int m = (buttonsRegionHeight_ - buttonHeight_ - 1) / 2;
    const int size = std::max(clockSize_, 0);
    clock_->SetBounds(w - offset.X - m - size - calendarShift_, offset.Y + headerHeight_ + m, size, size);
}

// ---- input ------------------------------------------------------------------------------------

void TcxCustomCalendar::CheckHotTrack()
{
    TcxCalendarHotTrackRegion region = chrNone;
    if (monthList_ && !monthList_->IsVisible() && !GetCapture()) {
        const TPoint p = ScreenToClient(GetMouseCursorPos());
        if (cxRectPtIn(monthNameRect_, p))
            region = chrMonth;
        else if (cxRectPtIn(yearRect_, p))
            region = chrYear;
    }
    SetHotTrackRegion(region);
}

void TcxCustomCalendar::SetHotTrackRegion(TcxCalendarHotTrackRegion value)
{
    if (hotTrackRegion_ == value)
        return;
    auto rectOf = [this](TcxCalendarHotTrackRegion r) {
        return r == chrMonth ? monthNameRect_ : r == chrYear ? yearRect_ : cxNullRect;
    };
    InvalidateRect(rectOf(hotTrackRegion_), false);
    InvalidateRect(rectOf(value), false);
    // The control's own cursor is kept while a text is hot and given back when none is.
    if (hotTrackRegion_ == chrNone)
        savedCursor_ = Cursor();
    else if (value == chrNone)
        SetCursor(savedCursor_);
    hotTrackRegion_ = value;
}

TRect TcxCustomCalendar::CorrectHeaderTextRect(TRect r) const
{
    if (kind_ == ckDateTime || !flat_)
        ++r.Top;
    --r.Bottom;
    return r;
}

void TcxCustomCalendar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    CheckHotTrack();
    const TPoint p{x, y};
    const TDateTime date = PosToDateTime(p);
    if (date != NullDate) {
        InternalSetSelectDate(date, false);
        return;
    }
    const int arrow = ArrowAt(p);
    if (arrow >= 0) {
        DoStep(TcxCalendarArrow(arrow));
        if (scrollTimer_)
            scrollTimer_->SetEnabled(true);
        return;
    }
    if (monthList_ && cxRectPtIn(CorrectHeaderTextRect(monthNameRect_), p))
        monthList_->Popup();
}

void TcxCustomCalendar::MouseMove(TShiftState shift, int x, int y)
{
    TcxControl::MouseMove(shift, x, y);
    CheckHotTrack();
    if (!scrollTimer_ || scrollTimer_->Enabled())
        return;
    if (shift.Contains(ssLeft)) {
        const TDateTime date = PosToDateTime({x, y});
        if (date != NullDate)
            InternalSetSelectDate(date, false);
    }
}

void TcxCustomCalendar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxControl::MouseUp(button, shift, x, y);
    CheckHotTrack();
    if (scrollTimer_ && scrollTimer_->Enabled()) {
        scrollTimer_->SetEnabled(false);
        return;
    }
    const TPoint p{x, y};
    if (kind_ == ckDate) {
        if (cxRectPtIn(GetClientRect(), p) && !cxRectPtIn(monthNameRect_, p) && !cxRectPtIn(yearRect_, p)) {
            auto alive = AliveToken();
            if (PosToDateTime(p) != NullDate)
                DoDateTimeChanged();
            if (!alive.expired())
                HidePopup(crEnter);
        }
    } else if (selectDate_ != NullDate) {
        SetFirstDate(DateOf(selectDate_));
    }
}

void TcxCustomCalendar::MouseLeave(TControl* control)
{
    TcxControl::MouseLeave(control);
    SetHotTrackRegion(chrNone);
}

void TcxCustomCalendar::DblClick()
{
    TcxControl::DblClick();
    if (kind_ != ckDateTime)
        return;
    const TDateTime date = PosToDateTime(ScreenToClient(GetMouseCursorPos()));
    if (date == NullDate)
        return;
    InternalSetSelectDate(date, false);
    DoDateTimeChanged();
    HidePopup(crEnter);
}

bool TcxCustomCalendar::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TcxControl::DoMouseWheel(shift, wheelDelta, mousePos))
        return true;
    if (monthList_ && monthList_->IsVisible())
        monthList_->CloseUp();
    const TPoint p = mousePos;   // client coordinates on this platform
    const bool back = wheelDelta > 0;
    if (cxRectPtIn(monthNameRect_, p))
        DoStep(back ? caPrevMonth : caNextMonth);
    else if (cxRectPtIn(yearRect_, p))
        DoStep(back ? caPrevYear : caNextYear);
    return true;
}

void TcxCustomCalendar::KeyDown(std::uint16_t& key, TShiftState shift)
{
    const bool ctrlOnly = shift == TShiftState{ssCtrl};
    const bool altOnly = shift == TShiftState{ssAlt};
    const TDateTime d = selectDate_ == NullDate ? DateOf(Date()) : selectDate_;
    switch (key) {
    case VK_PRIOR: SetSelectDate(table_->AddMonths(d, -1)); break;
    case VK_NEXT: SetSelectDate(table_->AddMonths(d, 1)); break;
    case VK_END:
        if (ctrlOnly) {
            TcxDateTime t = table_->FromDateTime(d);
            t.Day = table_->GetDaysInMonth(t.Era, t.Year, t.Month);
            SetSelectDate(table_->ToDateTime(t) + (d - DateOf(d)));
        } else {
            SetSelectDate(d + 6 - DayOfWeekOffset(d));
        }
        break;
    case VK_HOME:
        if (ctrlOnly) {
            TcxDateTime t = table_->FromDateTime(d);
            t.Day = 1;
            SetSelectDate(table_->ToDateTime(t) + (d - DateOf(d)));
        } else {
            SetSelectDate(d - DayOfWeekOffset(d));
        }
        break;
    case VK_LEFT: SetSelectDate(d - 1); break;
    case VK_RIGHT: SetSelectDate(d + 1); break;
    case VK_UP:
        if (!altOnly)
            SetSelectDate(d - 7);
        break;
    case VK_DOWN:
        if (!altOnly)
            SetSelectDate(d + 7);
        break;
    default: break;
    }
    TcxControl::KeyDown(key, shift);
}

// ---- the pop-up calendar ----------------------------------------------------------------------

void TcxPopupCalendar::HidePopup(TcxEditCloseUpReason reason)
{
    TcxCustomCalendar::HidePopup(reason);
    CallEvent(OnHidePopup, this, reason);
}

void TcxPopupCalendar::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxCustomCalendar::KeyDown(key, shift);
    const bool altOnly = shift == TShiftState{ssAlt};
    switch (key) {
    case VK_RETURN:
        if (!MonthListBox() || !MonthListBox()->IsVisible()) {
            auto alive = AliveToken();
            DoDateTimeChanged();
            if (!alive.expired())
                HidePopup(crEnter);
        }
        break;
    case VK_ESCAPE:
        if (MonthListBox() && MonthListBox()->IsVisible() && !MonthListBox()->ShowYears())
            MonthListBox()->CloseUp();
        else
            HidePopup(crCancel);
        break;
    case VK_UP:
    case VK_DOWN:
        if (altOnly)
            HidePopup(crClose);
        break;
    case VK_F4:
        if (!shift.Contains(ssAlt))
            HidePopup(crClose);
        break;
    default: break;
    }
}

void TcxPopupCalendar::MouseMove(TShiftState shift, int x, int y)
{
    TcxCustomCalendar::MouseMove(shift, x, y);
    if (shift.Contains(ssLeft) && ScrollTimer() && !ScrollTimer()->Enabled() && !cxRectPtIn(GetClientRect(), TPoint{x, y}) &&
        RestoreDate != NullDate) {
        InternalSetSelectDate(RestoreDate, false);
        Invalidate();
    }
}

} // namespace cx
