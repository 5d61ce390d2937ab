// The month calendar's painting (date region, header with arrows and texts, week-day names, day
// numbers, week numbers, buttons region) in the date-navigator colours of the look-and-feel
// painter, and the analog clock.
#include "toolkit/editors/cxCalendar.h"

#include "toolkit/core/cxFormats.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxLookAndFeelPainters.h"

#include <string>

namespace cx {

namespace {

bool IsOffice11(TcxCustomLookAndFeelPainterClass painter)
{
    return dynamic_cast<const TcxOffice11LookAndFeelPainter*>(painter) != nullptr;
}

void HLine(TcxCanvas* c, int x1, int x2, int y, TColor color) { c->FillRect({x1, y, x2, y + 1}, color); }
void VLine(TcxCanvas* c, int x, int y1, int y2, TColor color) { c->FillRect({x, y1, x + 1, y2}, color); }

// Text centred on one line in r, on a clear brush.
void CentredText(TcxCanvas* c, const std::string& text, const TRect& r, TColor color)
{
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetColor(color);
    c->DrawTexT(text, r, cxtfHCenter | cxtfVCenter | cxtfSingleLine);
    c->GetBrush()->SetStyle(bsSolid);
}

// Text right-aligned 3 pixels from the right of r, vertically centred, on a filled cell.
void RightText(TcxCanvas* c, const std::string& text, const TRect& r, TColor color, TColor fill)
{
    if (fill != clNone)
        c->FillRect(r, fill);
    const TSize s = c->TextExtent(text);
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetColor(color);
    TRect t{r.Right - s.cx - 3, r.Top + (r.Height() - s.cy) / 2, r.Right - 3, r.Top + (r.Height() - s.cy) / 2 + s.cy};
    c->DrawTexT(text, t, cxtfLeft | cxtfTop | cxtfSingleLine | cxtfNoClip);
    c->GetBrush()->SetStyle(bsSolid);
}

} // namespace

TColor TcxCustomCalendar::BackgroundColor() const
{
    const TColor content = GetLookAndFeelPainter()->DefaultDateNavigatorContentColor();
    return content == clDefault || Color() != clWindow ? Color() : content;
}

void TcxCustomCalendar::Paint()
{
    TcxCanvas* c = Canvas();
    c->FillRect(GetClientRect(), BackgroundColor());
    c->SetFont(Font());
    if (kind_ == ckDateTime)
        DrawDateRegion(c);
    DrawHeader(c);
    DrawMonths(c);
    if (kind_ == ckDateTime) {
        DrawButtonsRegion(c);
        const int x = monthRect_.Right + colWidth_ / 2 + calendarShift_;
        VLine(c, x, monthRect_.Top, monthRect_.Bottom, GetLookAndFeelPainter()->DefaultDateNavigatorSeparator1Color());
    }
}

void TcxCustomCalendar::DrawDateRegion(TcxCanvas* c)
{
    TcxCustomLookAndFeelPainterClass painter = GetLookAndFeelPainter();
    TRect r = dateRegionRect_;
    painter->DrawDateNavigatorDateHeader(c, r);
    const TDateTime d = selectDate_ == NullDate ? NullDate : selectDate_;
    const std::string text = d == NullDate ? std::string() : cxDateToLocalFormatStr(d);
    CentredText(c, text, dateRegionRect_, painter->DefaultDateNavigatorHeaderTextColor(false));
}

void TcxCustomCalendar::DrawHeader(TcxCanvas* c)
{
    TcxCustomLookAndFeelPainterClass painter = GetLookAndFeelPainter();
    const TColor header = painter->DefaultDateNavigatorHeaderColor();
    const TColor text = painter->DefaultDateNavigatorHeaderTextColor(false);
    const bool office11 = IsOffice11(painter);
    c->FillRect(headerRect_, header);
    const int count = arrowsForYear_ ? 4 : 2;
    static const TcxArrowDirection directions[] = {adLeft, adRight, adLeft, adRight};
    for (int i = 0; i < count; ++i) {
        TRect r = arrowRects_[std::size_t(i)];
        if (flat_ && kind_ == ckDate && !office11) {
            ++r.Top;
            --r.Bottom;
        }
        c->FillRect(r, header);
        TPoint p[3];
        painter->CalculateArrowPoints(r, p, directions[i], true);
        c->GetBrush()->SetColor(text);
        c->GetPen()->SetColor(text);
        c->Polygon(p, 2);
    }
    if (arrowsForYear_) {
        CentredText(c, cxGetLocalMonthName(firstDate_, table_.get()), CorrectHeaderTextRect(monthNameRect_),
                    painter->DefaultDateNavigatorHeaderTextColor(hotTrackRegion_ == chrMonth));
        CentredText(c, cxGetLocalYear(firstDate_, table_.get()), CorrectHeaderTextRect(yearRect_),
                    painter->DefaultDateNavigatorHeaderTextColor(hotTrackRegion_ == chrYear));
    } else {
        CentredText(c, cxGetLocalMonthYear(firstDate_, table_.get()), CorrectHeaderTextRect(monthNameRect_),
                    painter->DefaultDateNavigatorHeaderTextColor(hotTrackRegion_ == chrMonth));
    }
    if (!flat_)
        c->DrawEdge(headerRect_, false, false);
    else if (kind_ == ckDateTime)
        c->FrameRect(headerRect_, office11 ? Color() : clBtnShadow);
    else if (office11)
        c->FrameRect({headerRect_.Left, headerRect_.Top - 2, headerRect_.Right, headerRect_.Bottom + 1},
                     BackgroundColor(), 2);
    else
        HLine(c, headerRect_.Left, headerRect_.Right, headerRect_.Bottom - 1, clBtnText);
}

void TcxCustomCalendar::DrawMonths(TcxCanvas* c)
{
    TcxCustomLookAndFeelPainterClass painter = GetLookAndFeelPainter();
    const TColor back = BackgroundColor();
    TColor sep2 = painter->DefaultDateNavigatorSeparator2Color();
    if (sep2 == clNone || sep2 == clDefault)
        sep2 = back;
    const TColor sep1 = painter->DefaultDateNavigatorSeparator1Color();
    const int rowLeft = monthRect_.Left + WeekNumbersRegionWidth() + sideWidth_;
    const int rowRight = monthRect_.Right - sideWidth_;
    const int y0 = monthRect_.Top + daysOfWeekHeight_ - 2;
    c->FillRect({rowLeft, monthRect_.Top, rowRight, y0}, back);
    HLine(c, rowLeft, rowRight - 1, y0, sep1);
    HLine(c, rowLeft, rowRight - 1, y0 + 1, sep2);
    if (kind_ == ckDate && HasButtonsRegion())
        HLine(c, rowLeft, rowRight, ClientHeight() - buttonsRegionHeight_ - 1, clBtnShadow);
    if (weekNumbers_) {
        const int x = monthRect_.Left + sideWidth_ + weekNumberWidth_ + 3;
        VLine(c, x, y0, monthRect_.Bottom - 3, sep1);
    }
    // Week-day names from the format controller's first day of the week.
    const int start = cxFormatController()->StartOfWeek();
    const TColor textColor = painter->DefaultDateNavigatorTextColor();
    for (int i = 0; i < 7; ++i) {
        int index = start + i;
        if (index == 0)
            index = 7;
        else if (index > 7)
            index -= 7;
        const TRect cell{rowLeft + colWidth_ * i, monthRect_.Top, rowLeft + colWidth_ * (i + 1), y0};
        RightText(c, cxGetDayOfWeekName(index, 0), cell, textColor, clNone);
    }
    DrawDayNumbers(c);
    if (weekNumbers_)
        DrawWeekNumbers(c);
}

void TcxCustomCalendar::DrawDayNumbers(TcxCanvas* c)
{
    TcxCustomLookAndFeelPainterClass painter = GetLookAndFeelPainter();
    const TDateTime today = DateOf(Date());
    const TDateTime last = GetLastDate();
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 7; ++col) {
            TRect r = DayCellRect(col, row);
            const TDateTime date = GetDateFromCell(col, row);
            const bool selected = date == selectDate_ || (selectDate_ == NullDate && date == today);
            TColor fill = selected ? painter->DefaultDateNavigatorSelectionColor() : BackgroundColor();
            TColor text = painter->DefaultDateNavigatorTextColor();
            if (selected)
                text = painter->DefaultDateNavigatorSelectionTextColor();
            else if (date < firstDate_ || date > last)
                text = painter->DefaultDateNavigatorInactiveTextColor();
            else if (date == today)
                text = painter->DefaultDateNavigatorTodayTextColor();
            if (date == today) {
                c->FrameRect(r, painter->DefaultDateNavigatorTodayFrameColor());
                r = cxRectInflate(r, -1, -1);
            }
            const std::string number = table_->IsValidDate(date) ? cxDayNumberToLocalFormatStr(date) : std::string();
            RightText(c, number, r, text, fill);
        }
}

void TcxCustomCalendar::DrawWeekNumbers(TcxCanvas* c)
{
    c->GetFont()->SetSize(MulDiv(Font()->GetSize(), 2, 3));
    TcxFormatController* fc = cxFormatController();
    for (int row = 0; row < 6; ++row) {
        const TDateTime date = GetDateFromCell(0, row);
        if (!table_->IsValidDate(date))
            continue;
        const int week = table_->GetWeekNumber(date, TDay(fc->StartOfWeek()), fc->FirstWeekOfYear());
        const TRect cell = DayCellRect(0, row);
        const TRect r{monthRect_.Left + sideWidth_, cell.Top, monthRect_.Left + sideWidth_ + weekNumberWidth_,
                      cell.Bottom};
        RightText(c, std::to_string(week), cxRectOffset(r, 3, 0), GetLookAndFeelPainter()->DefaultDateNavigatorTextColor(),
                  clNone);
    }
    c->SetFont(Font());
}

void TcxCustomCalendar::DrawButtonsRegion(TcxCanvas* c)
{
    TColor top = GetLookAndFeelPainter()->GetContainerBorderColor(false);
    if (top == clDefault)
        top = clBtnText;
    const TRect r{0, ClientHeight() - buttonsRegionHeight_, ClientWidth(), ClientHeight()};
    HLine(c, r.Left, r.Right, r.Top, top);
    TRect rest{r.Left, r.Top + 1, r.Right, r.Bottom};
    if (!flat_) {
        c->DrawEdge(rest, false, false);
        rest = cxRectInflate(rest, -1, -1);
    }
    c->FillRect(rest, BackgroundColor());
}

// ---- the clock --------------------------------------------------------------------------------

TcxClock::TcxClock(TComponent* owner) : TcxControl(owner) { TcxControl::SetBounds(0, 0, 60, 60); }

void TcxClock::SetTime(TDateTime value)
{
    const TDateTime t = TimeOf(value);
    if (t != time_) {
        time_ = t;
        Invalidate();
    }
}

void TcxClock::SetMinuteDotColor(TColor value)
{
    minuteDotColor_ = value;
    Invalidate();
}

void TcxClock::Paint()
{
    TcxCustomLookAndFeelPainterClass painter = GetLookAndFeelPainter();
    TColor background = painter->DefaultEditorBackgroundColor(!Enabled());
    if (background == clDefault)
        background = Color();
    painter->DrawClock(Canvas(), GetClientRect(), time_, background);
}

} // namespace cx
