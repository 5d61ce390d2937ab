// The calendar's month list: seven months around the shown one, or the months of its year; the
// hot item follows the mouse, dragging beyond the list scrolls it at a speed that grows with the
// distance, and releasing (or clicking) moves the calendar to the chosen month.
#include "toolkit/editors/cxCalendar.h"

#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsImages.h"

#include <algorithm>
#include <cstdlib>

namespace cx {

TcxMonthListBox::TcxMonthListBox(TWinControl* ownerControl) : TcxCustomPopupWindow(ownerControl)
{
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Include(csOpaque);
    Adjustable = false;
    SetPopupBorderStyle(pbsFlat);
    timer_ = new TcxTimer(this);
    timer_->SetInterval(200);
    timer_->SetEnabled(false);
    timer_->SetOnTimer(TNotifyEvent(this, &TcxMonthListBox::DoTimer));
}

TcxMonthListBox::~TcxMonthListBox()
{
    if (timer_)
        BeforeDestruction();
}

void TcxMonthListBox::BeforeDestruction()
{
    if (timer_) {
        timer_->SetEnabled(false);
        timer_ = nullptr;   // an owned component
    }
    TcxCustomPopupWindow::BeforeDestruction();
}

TcxCustomCalendar* TcxMonthListBox::Calendar() const { return static_cast<TcxCustomCalendar*>(OwnerControl()); }

bool TcxMonthListBox::ShowYears() const
{
    TcxCustomCalendar* c = Calendar();
    return !c->ArrowsForYear() || c->YearsInMonthList;
}

void TcxMonthListBox::Popup(TWinControl* focusedControl)
{
    TcxCustomCalendar* c = Calendar();
    TcxCustomCalendarTable* table = c->CalendarTable();
    if (ShowYears())
        ControlStyle.Exclude(csClickEvents);
    else
        ControlStyle.Include(csClickEvents);
    topDate_ = table->FromDateTime(c->FirstDate());
    itemCount_ = ShowYears() ? 7 : table->GetMonthsInYear(topDate_.Era, topDate_.Year);
    Font()->Assign(c->Font());
    itemHeight_ = std::max(1, c->HeaderHeight() - 2);
    SetWidth(6 * c->ColWidth() + 2);
    SetHeight(itemCount_ * itemHeight_ + 2);
    topMonthDelta_ = ShowYears() ? -3 : 1 - topDate_.Month;
    // At the table's earliest month the list starts there instead of before it.
    if (topMonthDelta_ < 0) {
        const TDateTime first = table->ToDateTime(topDate_);
        int delta = topMonthDelta_;
        TDateTime previous = first;
        for (int step = -1; step >= topMonthDelta_; --step) {
            const TDateTime d = table->AddMonths(topDate_, step);
            if (d == previous)
                ++delta;
            previous = d;
        }
        topMonthDelta_ = delta;
    }
    itemIndex_ = -1;
    scrollDirection_ = 0;
    const TRect name = c->MonthNameRect();
    const TPoint centre = c->ClientToScreen({(name.Left + name.Right) / 2, (name.Top + name.Bottom) / 2});
    OwnerBounds = {centre.X - Width() / 2, centre.Y - Height() / 2, centre.X - Width() / 2 + Width(),
                   centre.Y - Height() / 2 + Height()};
    TcxCustomPopupWindow::Popup(focusedControl);
    SetBounds(OwnerBounds.Left, OwnerBounds.Top, Width(), Height());
}

void TcxMonthListBox::DoShowed()
{
    TcxCustomPopupWindow::DoShowed();
    if (ShowYears())
        SetCaptureControl(this);
}

void TcxMonthListBox::CloseUp()
{
    if (GetCaptureControl() == this)
        SetCaptureControl(nullptr);
    if (timer_)
        timer_->SetEnabled(false);
    const TDateTime date = GetDate();
    TcxCustomPopupWindow::CloseUp();
    if (date != NullDate)
        Calendar()->SetFirstDate(date);
}

TDateTime TcxMonthListBox::GetDate() const
{
    if (itemIndex_ < 0)
        return NullDate;
    TcxCustomCalendarTable* table = Calendar()->CalendarTable();
    TcxDateTime d = table->FromDateTime(table->AddMonths(topDate_, topMonthDelta_ + itemIndex_));
    d.Day = 1;
    return table->ToDateTime(d);
}

std::string TcxMonthListBox::ItemText(int index) const
{
    TcxCustomCalendarTable* table = Calendar()->CalendarTable();
    const TDateTime date = table->AddMonths(topDate_, topMonthDelta_ + index);
    const TcxDateTime d = table->FromDateTime(date);
    if (!table->IsValidYear(d.Era, d.Year))
        return {};
    return ShowYears() ? cxGetLocalMonthYear(date, table) : cxGetLocalMonthName(date, table);
}

void TcxMonthListBox::SetItemIndex(int value)
{
    if (itemIndex_ == value)
        return;
    InvalidateItem(itemIndex_);
    itemIndex_ = value;
    InvalidateItem(itemIndex_);
}

void TcxMonthListBox::InvalidateItem(int index)
{
    if (index < 0 || !HandleAllocated())
        return;
    const TRect r{1, 1 + index * itemHeight_, Width() - 1, 1 + (index + 1) * itemHeight_};
    cxInvalidateRect(Handle(), r, false);
}

void TcxMonthListBox::DoTimer(TObject*)
{
    if (scrollDirection_ == 0)
        return;
    topMonthDelta_ += scrollDirection_;
    Invalidate();
}

void TcxMonthListBox::MouseMove(TShiftState shift, int x, int y)
{
    TcxCustomPopupWindow::MouseMove(shift, x, y);
    const TRect client = GetClientRect();
    if (cxRectPtIn(client, TPoint{x, y})) {
        timer_->SetEnabled(false);
        SetItemIndex(std::min(itemCount_ - 1, std::max(0, (y - 1) / itemHeight_)));
        return;
    }
    SetItemIndex(-1);
    if (y >= 0 && y < client.Height()) {
        timer_->SetEnabled(false);
        return;
    }
    const int distanceFromEdge = y < 0 ? y : y - client.Height() + 1;
    scrollDirection_ = distanceFromEdge < 0 ? -1 : 1;
    const int distance = std::min(3, std::abs(distanceFromEdge) / itemHeight_);
    static const unsigned intervals[] = {500, 250, 100, 50};
    const unsigned interval = intervals[distance];
    if (!(timer_->Enabled() && timer_->Interval() == interval)) {
        timer_->SetInterval(interval);
        timer_->SetEnabled(true);
    }
}

void TcxMonthListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxCustomPopupWindow::MouseUp(button, shift, x, y);
    if (ShowYears())
        CloseUp();
}

void TcxMonthListBox::Click()
{
    TcxCustomPopupWindow::Click();
    if (ShowYears())
        return;
    // The months of the shown year: January plus the hot item's index.
    CloseUp();
}

void TcxMonthListBox::Paint()
{
    TcxCanvas* c = PopupCanvas();
    TcxCustomCalendar* cal = Calendar();
    c->FrameRect({0, 0, Width(), Height()}, clBlack);
    c->SetFont(Font());
    for (int i = 0; i < itemCount_; ++i) {
        const TRect r{1, 1 + i * itemHeight_, Width() - 1, 1 + (i + 1) * itemHeight_};
        const bool hot = i == itemIndex_;
        c->FillRect(r, hot ? clWindowText : cal->Color());
        c->GetBrush()->SetStyle(bsClear);
        c->GetFont()->SetColor(hot ? cal->Color() : clWindowText);
        c->DrawTexT(ItemText(i), r, cxtfHCenter | cxtfVCenter | cxtfSingleLine);
        c->GetBrush()->SetStyle(bsSolid);
    }
}

} // namespace cx
