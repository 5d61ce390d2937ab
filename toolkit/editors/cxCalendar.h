#pragma once
// cxCalendar: the month calendar a date editor drops down. A header with the month (and year)
// and scroll arrows, the week-day names, a 7 x 6 grid of day numbers with optional week numbers,
// and push buttons (Today, Now, Clear, OK); the date-and-time kind adds the date text and an
// analog clock. All date arithmetic goes through the locale's calendar table, so other calendars
// lay out the same way. The month list that opens on the month name and the clock are here too.
#include "toolkit/core/cxDateUtils.h"
#include "toolkit/editors/cxButtons.h"
#include "toolkit/controls/cxContainerPopup.h"
#include "toolkit/controls/cxControls.h"
#include "toolkit/controls/cxControlsTimers.h"
#include "toolkit/editors/cxEdit.h"

#include <array>
#include <memory>

namespace cx {

enum TcxCalendarKind { ckDate, ckDateTime };
enum TDateButton { btnClear, btnNow, btnToday, btnOk };
using TCalendarButton = TDateButton;
using TDateButtons = Set<TDateButton>;
enum TcxCalendarArrow { caPrevMonth, caNextMonth, caPrevYear, caNextYear };
enum TcxCalendarHotTrackRegion { chrNone, chrMonth, chrYear };

class TcxCustomCalendar;

// The analog clock of the date-and-time kind.
class TcxClock : public TcxControl {
    RTL_CLASS(TcxClock, TcxControl)
    explicit TcxClock(TComponent* owner);
    // Only the time of day counts.
    TDateTime Time() const { return time_; }
    void SetTime(TDateTime value);
    TColor MinuteDotColor() const { return minuteDotColor_; }
    void SetMinuteDotColor(TColor value);

protected:
    void Paint() override;

private:
    TDateTime time_ = 0;
    TColor minuteDotColor_ = clWindow;
};

// The list of months that opens over the month name: seven months around the shown one (with
// their years), or the months of the shown year. Dragging above or below it scrolls it.
class TcxMonthListBox : public TcxCustomPopupWindow {
    RTL_CLASS(TcxMonthListBox, TcxCustomPopupWindow)
    explicit TcxMonthListBox(TWinControl* ownerControl);
    ~TcxMonthListBox() override;
    void BeforeDestruction() override;

    TcxCustomCalendar* Calendar() const;
    bool ShowYears() const;
    void Popup(TWinControl* focusedControl) override;
    void Popup() override { Popup(nullptr); }
    void CloseUp() override;

    const TcxDateTime& TopDate() const { return topDate_; }
    int ItemCount() const { return itemCount_; }
    int ItemHeight() const { return itemHeight_; }
    int TopMonthDelta() const { return topMonthDelta_; }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    int ScrollDirection() const { return scrollDirection_; }
    TcxTimer* ListTimer() const { return timer_; }
    // The first day of the hot item's month; NullDate when none is hot.
    TDateTime GetDate() const;
    // The list's scroll timer tick (public for a manual clock).
    void DoTimer(TObject* sender = nullptr);
    // The item's text ("" for a year the table does not support).
    std::string ItemText(int index) const;

protected:
    void DoShowed() override;
    void Paint() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Click() override;

private:
    void InvalidateItem(int index);
    TcxDateTime topDate_;
    int itemCount_ = 0;
    int itemHeight_ = 1;
    int topMonthDelta_ = 0;
    int itemIndex_ = -1;
    int scrollDirection_ = 0;
    TcxTimer* timer_ = nullptr;
};

class TcxCustomCalendar : public TcxControl {
    RTL_CLASS(TcxCustomCalendar, TcxControl)
    explicit TcxCustomCalendar(TComponent* owner);
    ~TcxCustomCalendar() override;
    void BeforeDestruction() override;

    // --- state
    TDateTime FirstDate() const { return firstDate_; }
    virtual void SetFirstDate(TDateTime value);
    TDateTime SelectDate() const { return selectDate_; }
    virtual void SetSelectDate(TDateTime value) { InternalSetSelectDate(value, true); }
    void InternalSetSelectDate(TDateTime value, bool moveMonth);
    TcxCalendarKind Kind() const { return kind_; }
    void SetKind(TcxCalendarKind value);
    bool ArrowsForYear() const { return arrowsForYear_; }
    void SetArrowsForYear(bool value);
    TDateButtons CalendarButtons() const { return buttons_; }
    void SetCalendarButtons(TDateButtons value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool WeekNumbers() const { return weekNumbers_; }
    void SetWeekNumbers(bool value);
    bool YearsInMonthList = true;
    TcxCalendarHotTrackRegion HotTrackRegion() const { return hotTrackRegion_; }
    TNotifyEvent OnDateTimeChanged;

    // --- children
    TcxButton* TodayButton() const { return todayButton_; }
    TcxButton* NowButton() const { return nowButton_; }
    TcxButton* ClearButton() const { return clearButton_; }
    TcxButton* OKButton() const { return okButton_; }
    TcxClock* Clock() const { return clock_; }
    TcxMonthListBox* MonthListBox() const { return monthList_; }
    TcxTimer* ScrollTimer() const { return scrollTimer_; }
    TcxCustomCalendarTable* CalendarTable() const { return table_.get(); }

    // --- dates of the grid
    virtual TDateTime GetLastDate() const;
    virtual TDateTime GetRealFirstDate() const;
    virtual TDateTime GetRealLastDate() const;
    TDateTime GetDateFromCell(int col, int row) const;
    // The date of the day cell under a client point; NullDate elsewhere.
    virtual TDateTime PosToDateTime(const TPoint& p) const;
    void StepToFuture();
    void StepToPast();
    void DoStep(TcxCalendarArrow arrow);
    // The scroll timer's tick: steps by the arrow under the cursor.
    void DoScrollArrow(TObject* sender = nullptr);
    virtual void HidePopup(TcxEditCloseUpReason reason);
    void DoDateTimeChanged() { vcl::FireEvent(OnDateTimeChanged, this); }
    void ButtonClick(TObject* sender);

    // --- layout
    virtual void Calculate();
    virtual TSize GetSize();
    virtual int GetButtonsRegionOffset() const;
    virtual TPoint GetMonthCalendarOffset() const;
    bool HasButtonsRegion() const;
    int WeekNumbersRegionWidth() const { return weekNumbers_ ? weekNumberWidth_ + 3 + 1 + 1 : 0; }
    int ColWidth() const { return colWidth_; }
    int SideWidth() const { return sideWidth_; }
    int RowHeight() const { return rowHeight_; }
    int HeaderHeight() const { return headerHeight_; }
    int DaysOfWeekHeight() const { return daysOfWeekHeight_; }
    int WeekNumberWidth() const { return weekNumberWidth_; }
    int ButtonWidth() const { return buttonWidth_; }
    int ButtonHeight() const { return buttonHeight_; }
    int ButtonsRegionHeight() const { return buttonsRegionHeight_; }
    int ClockSize() const { return clockSize_; }
    int MonthWidth() const { return monthWidth_; }
    int CalendarShift() const { return calendarShift_; }
    const TRect& ArrowRect(TcxCalendarArrow arrow) const { return arrowRects_[arrow]; }
    const TRect& HeaderRect() const { return headerRect_; }
    const TRect& MonthNameRect() const { return monthNameRect_; }
    const TRect& YearRect() const { return yearRect_; }
    const TRect& MonthRect() const { return monthRect_; }
    const TRect& DateRegionRect() const { return dateRegionRect_; }
    // The day cell's rectangle (col 0..6, row 0..5).
    TRect DayCellRect(int col, int row) const;
    bool CanResize(int& newWidth, int& newHeight);
    void SetBounds(int left, int top, int width, int height) override;

    // --- colours
    TColor BackgroundColor() const;
    void TranslationChanged() override;

protected:
    void Paint() override;
    void InitControl() override;
    void CreateWnd() override;
    void FontChanged() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave(TControl* control) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    bool HasBackground() const override { return false; }
    virtual void CheckHotTrack();
    void SetHotTrackRegion(TcxCalendarHotTrackRegion value);
    TRect CorrectHeaderTextRect(TRect r) const;
    int ArrowAt(const TPoint& p) const;

private:
    TcxButton* CreateButton(TDateButton tag, int tabOrder, const TResStringRec* caption);
    void ReadCaptions();
    void CalculateViewInfo();
    void AdjustCalendarControlsPosition();
    void DrawHeader(TcxCanvas* canvas);
    void DrawDateRegion(TcxCanvas* canvas);
    void DrawMonths(TcxCanvas* canvas);
    void DrawDayNumbers(TcxCanvas* canvas);
    void DrawWeekNumbers(TcxCanvas* canvas);
    void DrawButtonsRegion(TcxCanvas* canvas);
    void InvalidateDays();
    TDateTime firstDate_ = 0;
    TDateTime selectDate_ = 0;
    TcxCalendarKind kind_ = ckDate;
    bool arrowsForYear_ = true;
    TDateButtons buttons_;
    bool flat_ = true;
    bool weekNumbers_ = false;
    TcxCalendarHotTrackRegion hotTrackRegion_ = chrNone;
    TCursor savedCursor_ = crDefault;
    TcxButton* todayButton_ = nullptr;
    TcxButton* nowButton_ = nullptr;
    TcxButton* clearButton_ = nullptr;
    TcxButton* okButton_ = nullptr;
    TcxClock* clock_ = nullptr;
    TcxMonthListBox* monthList_ = nullptr;
    TcxTimer* scrollTimer_ = nullptr;
    std::unique_ptr<TcxCustomCalendarTable> table_;
    int colWidth_ = 0, sideWidth_ = 0, rowHeight_ = 0, headerHeight_ = 0, daysOfWeekHeight_ = 0;
    int weekNumberWidth_ = 0, buttonWidth_ = 0, buttonHeight_ = 0, buttonsOffset_ = 0;
    int buttonsRegionHeight_ = 0, clockSize_ = 0, monthWidth_ = 0, calendarShift_ = 0;
    std::array<TRect, 4> arrowRects_{};
    TRect headerRect_, monthNameRect_, yearRect_, monthRect_, dateRegionRect_;
    bool sizing_ = false;
};

using TcxCalendarHidePopupEvent = Event<void(TcxCustomCalendar* sender, TcxEditCloseUpReason reason)>;

// The calendar as a drop-down: Enter commits, Esc cancels (or closes the month list), F4 and
// Alt+Up/Down close; leaving the control with the button held restores the date of RestoreDate.
class TcxPopupCalendar : public TcxCustomCalendar {
    RTL_CLASS(TcxPopupCalendar, TcxCustomCalendar)
    using TcxCustomCalendar::TcxCustomCalendar;
    void HidePopup(TcxEditCloseUpReason reason) override;
    TcxCalendarHidePopupEvent OnHidePopup;
    // The editor's date, restored while a drag leaves the calendar.
    TDateTime RestoreDate = NullDate;

protected:
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseMove(TShiftState shift, int x, int y) override;
};

} // namespace cx
