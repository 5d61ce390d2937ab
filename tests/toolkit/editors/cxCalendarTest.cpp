// The month calendar: the dates of the grid for Sunday and Monday starts, points to dates, the
// keys on the selected date, mouse selection and commit, the arrows and their timer, the buttons,
// the month list with its scroll speeds, the wheel, the layout, and the painted selection.
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/gdi/Text.h"
#include "platform/rtl/Locale.h"
#include "toolkit/core/cxFormats.h"
#include "toolkit/editors/cxCalendar.h"
#include "toolkit/editors/cxEditConsts.h"

#include <QTest>

using namespace cx;

namespace {
TDateTime D(int y, int m, int d) { return rtl::EncodeDate(y, m, d); }
} // namespace

class CxCalendarTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        auto service = std::make_unique<rtl::FixedLocaleService>(D(2024, 3, 13) + rtl::EncodeTime(14, 30, 0, 0));
        previousLocale = rtl::SetLocaleService(std::move(service));
        cxFormatsUnit::Finalize();
        cxEditConstsUnit::Initialize();
        if (!realFont)
            gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        ASSERT_TRUE(Activate(form));
        form->SetBounds(100, 100, 500, 400);
        cal = new TcxPopupCalendar(form);
        cal->SetParent(form);
        cal->SetLeft(10);
        cal->SetTop(10);
        cal->LookAndFeel()->SetKind(lfStandard);
        cal->OnDateTimeChanged = [this](TObject*) { ++commits; };
        cal->OnHidePopup = [this](TcxCustomCalendar*, TcxEditCloseUpReason r) { hides.push_back(r); };
        cal->Calculate();
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        form = nullptr;
        cxEditConstsUnit::Finalize();
        cxFormatsUnit::Finalize();
        rtl::SetLocaleService(std::move(previousLocale));
        gdi::SetFontEngine(nullptr);
        ControlBaseTest::TearDown();
    }
    void Mouse(TWinControl* c, unsigned msg, TPoint p, unsigned keys)
    {
        const TPoint s = ScreenOf(c, p.X, p.Y);
        Fixed().SetCursorPos(s);
        vcl::input::InjectMouse(msg, s, keys);
        vcl::DrainPostedMessages();
    }
    void Click(TPoint p)
    {
        Mouse(cal, WM_MOUSEMOVE, p, 0);
        Mouse(cal, WM_LBUTTONDOWN, p, MK_LBUTTON);
        Mouse(cal, WM_LBUTTONUP, p, 0);
    }
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    void Key(Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(cal->Peer(), key, m);
        vcl::DrainPostedMessages();
    }

    bool realFont = false;
    TcxPopupCalendar* cal = nullptr;
    int commits = 0;
    std::vector<TcxEditCloseUpReason> hides;
    std::unique_ptr<rtl::ILocaleService> previousLocale;
};

TEST_F(CxCalendarTest, GridDatesForSundayAndMondayStarts)
{
    struct Row {
        TDay start;
        TDateTime month, topLeft;
    } rows[] = {
        {dSunday, D(2024, 3, 1), D(2024, 2, 25)},   // Friday start: five days before
        {dSunday, D(2024, 9, 1), D(2024, 8, 25)},   // starts on the week's first day: a whole week before
        {dMonday, D(2024, 4, 1), D(2024, 3, 25)},
        {dMonday, D(2024, 9, 1), D(2024, 8, 26)},   // a Sunday is the last day of a Monday week
    };
    for (const Row& r : rows) {
        cxFormatController()->SetStartOfWeek(r.start);
        cal->SetFirstDate(r.month + 17.5);   // any day of the month
        EXPECT_EQ(cal->FirstDate(), r.month);
        EXPECT_EQ(cal->GetDateFromCell(0, 0), r.topLeft) << r.start;
        EXPECT_EQ(cal->GetRealFirstDate(), r.topLeft);
        EXPECT_EQ(cal->GetDateFromCell(6, 5), r.topLeft + 41);
        EXPECT_EQ(cal->GetRealLastDate(), r.topLeft + 41);
    }
    EXPECT_EQ(cal->GetLastDate(), D(2024, 9, 30));
}

TEST_F(CxCalendarTest, PointsInsideAndOutsideTheGrid)
{
    cal->SetFirstDate(D(2024, 3, 1));
    EXPECT_EQ(cal->PosToDateTime(Centre(cal->DayCellRect(0, 0))), D(2024, 2, 25));
    EXPECT_EQ(cal->PosToDateTime(Centre(cal->DayCellRect(3, 2))), D(2024, 3, 13));
    EXPECT_EQ(cal->PosToDateTime(Centre(cal->DayCellRect(6, 5))), D(2024, 4, 6));
    EXPECT_EQ(cal->PosToDateTime(Centre(cal->MonthNameRect())), NullDate);   // header
    const TRect first = cal->DayCellRect(0, 0);
    EXPECT_EQ(cal->PosToDateTime({first.Left - 1, first.Top + 1}), NullDate);   // the side strip
    EXPECT_EQ(cal->PosToDateTime({-5, first.Top}), NullDate);                  // outside the client
}

TEST_F(CxCalendarTest, KeysMoveTheSelectedDate)
{
    cal->SetFocus();
    struct Row {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        TDateTime expected;
    } rows[] = {
        {Qt::Key_PageUp, Qt::NoModifier, D(2024, 2, 13)},  {Qt::Key_PageDown, Qt::NoModifier, D(2024, 4, 13)},
        {Qt::Key_End, Qt::NoModifier, D(2024, 3, 16)},     {Qt::Key_End, Qt::ControlModifier, D(2024, 3, 31)},
        {Qt::Key_Home, Qt::NoModifier, D(2024, 3, 10)},    {Qt::Key_Home, Qt::ControlModifier, D(2024, 3, 1)},
        {Qt::Key_Left, Qt::NoModifier, D(2024, 3, 12)},    {Qt::Key_Right, Qt::NoModifier, D(2024, 3, 14)},
        {Qt::Key_Up, Qt::NoModifier, D(2024, 3, 6)},       {Qt::Key_Down, Qt::NoModifier, D(2024, 3, 20)},
        {Qt::Key_Down, Qt::AltModifier, D(2024, 3, 13)},
    };
    for (const Row& r : rows) {
        cal->SetSelectDate(D(2024, 3, 13));
        Key(r.key, r.mods);
        EXPECT_EQ(cal->SelectDate(), r.expected) << r.key << " " << int(r.mods);
    }
    EXPECT_EQ(hides, (std::vector<TcxEditCloseUpReason>{crClose}));   // Alt+Down closes
    Key(Qt::Key_PageDown);
    EXPECT_EQ(cal->FirstDate(), D(2024, 4, 1));   // the keyboard moves the month
    Key(Qt::Key_Return);
    EXPECT_EQ(commits, 1);
    Key(Qt::Key_Escape);
    Key(Qt::Key_F4);
    EXPECT_EQ(hides, (std::vector<TcxEditCloseUpReason>{crClose, crEnter, crCancel, crClose}));
}

TEST_F(CxCalendarTest, MouseSelectsWithoutMovingTheMonthAndCommitsOnRelease)
{
    cal->SetFirstDate(D(2024, 3, 1));
    const TPoint april = Centre(cal->DayCellRect(6, 5));   // 6 April
    Mouse(cal, WM_MOUSEMOVE, april, 0);
    Mouse(cal, WM_LBUTTONDOWN, april, MK_LBUTTON);
    EXPECT_EQ(cal->SelectDate(), D(2024, 4, 6));
    EXPECT_EQ(cal->FirstDate(), D(2024, 3, 1));
    // Dragging moves the selection; leaving the calendar restores the editor's date.
    Mouse(cal, WM_MOUSEMOVE, Centre(cal->DayCellRect(2, 2)), MK_LBUTTON);
    EXPECT_EQ(cal->SelectDate(), D(2024, 3, 12));
    cal->RestoreDate = D(2024, 1, 5);
    Mouse(cal, WM_MOUSEMOVE, {cal->Width() + 20, 5}, MK_LBUTTON);
    EXPECT_EQ(cal->SelectDate(), D(2024, 1, 5));
    Mouse(cal, WM_MOUSEMOVE, Centre(cal->DayCellRect(2, 2)), MK_LBUTTON);
    Mouse(cal, WM_LBUTTONUP, Centre(cal->DayCellRect(2, 2)), 0);
    EXPECT_EQ(cal->SelectDate(), D(2024, 3, 12));
    EXPECT_EQ(cal->FirstDate(), D(2024, 3, 1));
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(hides, (std::vector<TcxEditCloseUpReason>{crEnter}));
}

TEST_F(CxCalendarTest, ArrowsStepAndRepeatOnTheTimer)
{
    cal->SetFirstDate(D(2024, 3, 1));
    const TPoint next = Centre(cal->ArrowRect(caNextMonth));
    Mouse(cal, WM_MOUSEMOVE, next, 0);
    Mouse(cal, WM_LBUTTONDOWN, next, MK_LBUTTON);
    EXPECT_EQ(cal->FirstDate(), D(2024, 4, 1));
    ASSERT_TRUE(cal->ScrollTimer()->Enabled());
    EXPECT_EQ(cal->ScrollTimer()->Interval(), 200u);
    cal->ScrollTimer()->TimeOut();   // the cursor is still on the arrow
    EXPECT_EQ(cal->FirstDate(), D(2024, 5, 1));
    Mouse(cal, WM_LBUTTONUP, next, 0);
    EXPECT_FALSE(cal->ScrollTimer()->Enabled());
    EXPECT_EQ(commits, 0);   // releasing an arrow commits nothing
    EXPECT_TRUE(hides.empty());

    Click(Centre(cal->ArrowRect(caPrevYear)));
    EXPECT_EQ(cal->FirstDate(), D(2023, 5, 1));
    Click(Centre(cal->ArrowRect(caNextYear)));
    Click(Centre(cal->ArrowRect(caNextYear)));
    EXPECT_EQ(cal->FirstDate(), D(2025, 5, 1));
    Click(Centre(cal->ArrowRect(caPrevMonth)));
    EXPECT_EQ(cal->FirstDate(), D(2025, 4, 1));

    // The wheel over the month text steps months, over the year text years.
    const TPoint month = ScreenOf(cal, Centre(cal->MonthNameRect()).X, Centre(cal->MonthNameRect()).Y);
    cal->Perform(WM_MOUSEWHEEL, WPARAM(std::uint32_t(WHEEL_DELTA) << 16), LPARAM(month.Y << 16 | month.X));
    EXPECT_EQ(cal->FirstDate(), D(2025, 3, 1));
    const TPoint year = ScreenOf(cal, Centre(cal->YearRect()).X, Centre(cal->YearRect()).Y);
    cal->Perform(WM_MOUSEWHEEL, WPARAM(std::uint32_t(-WHEEL_DELTA) << 16), LPARAM(year.Y << 16 | year.X));
    EXPECT_EQ(cal->FirstDate(), D(2026, 3, 1));
}

TEST_F(CxCalendarTest, ButtonsClearAndToday)
{
    cal->SetSelectDate(D(2024, 5, 20));
    ASSERT_TRUE(cal->TodayButton()->Visible());
    ASSERT_TRUE(cal->ClearButton()->Visible());
    EXPECT_FALSE(cal->NowButton()->Visible());
    EXPECT_FALSE(cal->OKButton()->Visible());
    cal->ClearButton()->Click();
    EXPECT_EQ(cal->SelectDate(), NullDate);
    cal->TodayButton()->Click();
    EXPECT_EQ(cal->SelectDate(), D(2024, 3, 13));   // the clock's time: none in the date kind
    EXPECT_EQ(commits, 2);
    EXPECT_EQ(hides, (std::vector<TcxEditCloseUpReason>{crEnter, crEnter}));

    // With no date selected today's cell is painted as the selection.
    cal->SetFirstDate(D(2024, 3, 1));
    cal->ClearButton()->Click();
    const TRect today = cal->DayCellRect(3, 2);
    const TRect other = cal->DayCellRect(4, 2);
    EXPECT_EQ(PixelOf(cal, today.Left + 2, today.Top + 2), Sys(clHighlight));
    EXPECT_EQ(PixelOf(cal, other.Left + 1, other.Top + 1), Sys(clWindow));
}

TEST_F(CxCalendarTest, LayoutFollowsTheFontAndTheButtons)
{
    TBitmap probe;
    probe.SetSize(1, 1);
    TcxCanvas pc(probe.Canvas());
    pc.SetFont(cal->Font());
    const TSize zero = pc.TextExtent("0");
    EXPECT_EQ(cal->ColWidth(), 3 * zero.cx);
    EXPECT_EQ(cal->SideWidth(), 2 * zero.cx);
    EXPECT_EQ(cal->RowHeight(), zero.cy + 2);
    EXPECT_EQ(cal->HeaderHeight(), zero.cy + 5);
    EXPECT_EQ(cal->MonthWidth(), 2 * cal->SideWidth() + 7 * cal->ColWidth());
    EXPECT_EQ(cal->Height(), cal->DaysOfWeekHeight() + 6 * cal->RowHeight() + cal->HeaderHeight() + 1 +
                                 cal->ButtonsRegionHeight() + 1);
    // Two buttons share the row in thirds; one alone is centred.
    const int w = cal->ClientWidth(), b = cal->ButtonWidth();
    EXPECT_EQ(cal->TodayButton()->Left(), (w - 2 * b) / 3);
    EXPECT_EQ(cal->ClearButton()->Left(), w - b - (w - 2 * b) / 3);
    cal->SetCalendarButtons({btnToday});
    EXPECT_FALSE(cal->ClearButton()->Visible());
    EXPECT_EQ(cal->TodayButton()->Left(), (cal->ClientWidth() - cal->ButtonWidth()) / 2);
    // Without buttons the region goes; the size is always the natural one.
    cal->SetCalendarButtons({});
    EXPECT_EQ(cal->Height(), cal->DaysOfWeekHeight() + 6 * cal->RowHeight() + cal->HeaderHeight() + 2);
    cal->SetBounds(0, 0, 500, 500);
    EXPECT_EQ(cal->Width(), cal->MonthWidth());
    const int before = cal->MonthWidth();
    cal->SetWeekNumbers(true);
    EXPECT_EQ(cal->MonthWidth(), before + cal->WeekNumberWidth() + 5);
    // Two arrows: the month name with its year spans between them.
    cal->SetArrowsForYear(false);
    EXPECT_EQ(cal->MonthNameRect().Left, cal->ArrowRect(caPrevMonth).Right);
    EXPECT_EQ(cal->MonthNameRect().Right, cal->ArrowRect(caNextMonth).Left);
}

TEST_F(CxCalendarTest, MonthListPicksAMonthAndScrollsFasterFurtherAway)
{
    cal->SetFirstDate(D(2024, 3, 1));
    Mouse(cal, WM_MOUSEMOVE, Centre(cal->MonthNameRect()), 0);
    Mouse(cal, WM_LBUTTONDOWN, Centre(cal->MonthNameRect()), MK_LBUTTON);
    TcxMonthListBox* list = cal->MonthListBox();
    ASSERT_TRUE(list->IsVisible());
    EXPECT_TRUE(list->ShowYears());
    EXPECT_EQ(list->ItemCount(), 7);
    EXPECT_EQ(list->TopMonthDelta(), -3);
    EXPECT_EQ(list->ItemHeight(), cal->HeaderHeight() - 2);
    const int h = list->ItemHeight();
    // Beside the list nothing scrolls; above and below, the further the faster.
    struct Row {
        int y;
        bool running;
        unsigned interval;
        int direction;
    } rows[] = {
        {1 + 2 * h, false, 0, 0},   {-1, true, 500, -1},        {-h - 1, true, 250, -1},
        {-2 * h - 1, true, 100, -1}, {-10 * h, true, 50, -1},   {list->Height() + h, true, 250, 1},
    };
    for (const Row& r : rows) {
        Mouse(list, WM_MOUSEMOVE, {5, r.y}, MK_LBUTTON);
        EXPECT_EQ(list->ListTimer()->Enabled(), r.running) << r.y;
        if (r.running) {
            EXPECT_EQ(list->ListTimer()->Interval(), r.interval) << r.y;
            EXPECT_EQ(list->ScrollDirection(), r.direction) << r.y;
        }
    }
    list->DoTimer();
    EXPECT_EQ(list->TopMonthDelta(), -2);
    Mouse(list, WM_MOUSEMOVE, {5, 1 + h / 2}, MK_LBUTTON);   // the first item: January
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_FALSE(list->ListTimer()->Enabled());
    Mouse(list, WM_LBUTTONUP, {5, 1 + h / 2}, 0);
    EXPECT_FALSE(list->IsVisible());
    EXPECT_EQ(cal->FirstDate(), D(2024, 1, 1));
}

TEST_F(CxCalendarTest, DateTimeKindShowsTheClockAndOK)
{
    cal->SetKind(ckDateTime);
    cal->SetCalendarButtons({btnToday, btnNow, btnClear});
    EXPECT_TRUE(cal->OKButton()->Visible());
    EXPECT_TRUE(cal->NowButton()->Visible());
    EXPECT_TRUE(cal->Clock()->Visible());
    EXPECT_GT(cal->ClockSize(), 0);
    EXPECT_GT(cal->Width(), cal->MonthWidth());
    // The buttons in one row, OK last at the right edge.
    EXPECT_EQ(cal->OKButton()->Left(), cal->ClientWidth() - MulDiv(cal->Font()->GetSize(), 5, 4) -
                                            cal->ButtonWidth() - 1);
    EXPECT_LT(cal->TodayButton()->Left(), cal->NowButton()->Left());
    cal->Clock()->SetTime(rtl::EncodeTime(9, 15, 0, 0));
    cal->SetSelectDate(D(2024, 3, 20));
    cal->OKButton()->Click();
    EXPECT_DOUBLE_EQ(cal->SelectDate(), D(2024, 3, 20) + rtl::EncodeTime(9, 15, 0, 0));
    cal->TodayButton()->Click();
    EXPECT_DOUBLE_EQ(cal->SelectDate(), D(2024, 3, 13) + rtl::EncodeTime(9, 15, 0, 0));
}

class CxCalendarRenderTest : public CxCalendarTest {
protected:
    void SetUp() override
    {
        realFont = true;
        CxCalendarTest::SetUp();
    }
};

TEST_F(CxCalendarRenderTest, ChineseCalendarsRenderToPictures)
{
    cxSetResourceString(&cxSDatePopupToday, "今天");
    cxSetResourceString(&cxSDatePopupClear, "清除");
    cxSetResourceString(&cxSDatePopupNow, "现在");
    cxSetResourceString(&cxSDatePopupOK, "确定");
    cal->TranslationChanged();
    cal->Font()->SetName("WenQuanYi Micro Hei");
    cal->SetSelectDate(D(2024, 3, 20));
    auto shoot = [&](const char* name) {
        form->Update();
        QImage shot = form->Peer()->grab().toImage();
        const QRect r(cal->Left(), cal->Top(), cal->Width(), cal->Height());
        SaveTestPicture(shot.copy(r).scaled(cal->Width() * 2, cal->Height() * 2), name);
    };
    shoot("calendar_date.png");
    EXPECT_TRUE(cal->TodayButton()->Visible());
    EXPECT_EQ(cal->TodayButton()->Caption(), "今天");
    cal->SetKind(ckDateTime);
    cal->SetWeekNumbers(true);
    cal->SetCalendarButtons({btnToday, btnNow, btnClear});
    shoot("calendar_datetime.png");
    cal->TodayButton()->SetCaption("Today");
    cxSetResourceString(&cxSDatePopupToday, "Today");
    cxSetResourceString(&cxSDatePopupClear, "Clear");
    cxSetResourceString(&cxSDatePopupNow, "Now");
    cxSetResourceString(&cxSDatePopupOK, "OK");
}

TEST_F(CxCalendarTest, FreedWhileTheListIsOpenAndTheArrowsRepeat)
{
    const TPoint next = Centre(cal->ArrowRect(caNextMonth));
    Mouse(cal, WM_MOUSEMOVE, next, 0);
    Mouse(cal, WM_LBUTTONDOWN, next, MK_LBUTTON);
    ASSERT_TRUE(cal->ScrollTimer()->Enabled());
    cal->MonthListBox()->Popup();
    ASSERT_TRUE(cal->MonthListBox()->IsVisible());
    cal->Free();
    cal = nullptr;
    vcl::DrainPostedMessages();
    EXPECT_EQ(cxPopupWindowCount(), 0);   // no window left behind
}
