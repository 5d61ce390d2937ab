// The date editor under a fixed zh-CN locale (the clock standing at 13 March 2024, 10:30).
#include "tests/toolkit/editors/TextEditorsTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxFormats.h"
#include "toolkit/controls/cxContainerPopup.h"
#include "toolkit/editors/cxDateEdit.h"
#include "toolkit/editors/cxFilterControlUtils.h"

using namespace cx;

namespace {
TDateTime D(int y, int m, int d) { return rtl::EncodeDate(y, m, d); }
TDateTime T(int h, int n) { return rtl::EncodeTime(h, n, 0, 0); }

class DateEditTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        auto service = std::make_unique<rtl::FixedLocaleService>(D(2024, 3, 13) + T(10, 30));
        fixed = service.get();
        previousLocale = rtl::SetLocaleService(std::move(service));
        cxFormatsUnit::Finalize();
        TextFamilyTest::SetUp();
        cxDropDownEditUnit::Initialize();
        cxDateEditUnit::Initialize();
        edit = Place(new TcxDateEdit(form), 10);
        edit->OnClosePopup = [this](TcxControl*, TcxEditCloseUpReason r) { reasons.push_back(r); };
    }
    void TearDown() override
    {
        if (edit->DroppedDown())
            edit->HidePopup(edit, crUnknown);
        TextFamilyTest::TearDown();
        EXPECT_EQ(cxPopupWindowCount(), 0);
        cxDateEditUnit::Finalize();
        cxDropDownEditUnit::Finalize();
        cxFormatsUnit::Finalize();
        rtl::SetLocaleService(std::move(previousLocale));
    }
    std::string Shown(const Variant& v, bool focused = false)
    {
        Variant d;
        edit->Properties()->PrepareDisplayValue(v, d, focused);
        return VarToStr(d);
    }
    TcxDateEdit* edit = nullptr;
    std::vector<TcxEditCloseUpReason> reasons;
    std::unique_ptr<rtl::ILocaleService> previousLocale;
    rtl::FixedLocaleService* fixed = nullptr;
};

TEST_F(DateEditTest, NeedShowTimeTable)
{
    struct Row {
        bool focused;
        TcxCalendarKind kind;
        TcxInputKind input;
        bool showTime;
        bool hasTime;
        bool expected;
    } rows[] = {
        {true, ckDateTime, ikMask, true, false, true},      // the standard mask always shows the time
        {true, ckDateTime, ikRegExpr, true, false, false},
        {true, ckDateTime, ikRegExpr, true, true, true},
        {true, ckDate, ikStandard, true, true, true},
        {true, ckDate, ikStandard, false, true, false},
        {true, ckDate, ikStandard, true, false, false},
        {true, ckDate, ikRegExpr, true, true, false},
        {true, ckDate, ikMask, true, true, false},
        {false, ckDate, ikRegExpr, false, true, false},
        {false, ckDate, ikRegExpr, true, true, true},
        {false, ckDateTime, ikMask, false, false, true},
    };
    TcxDateEditProperties* p = edit->Properties();
    for (const Row& r : rows) {
        p->SetKind(r.kind);
        p->SetInputKind(r.input);
        p->SetShowTime(r.showTime);
        const TDateTime d = D(2024, 3, 13) + (r.hasTime ? T(14, 30) : 0);
        EXPECT_EQ(p->NeedShowTime(r.focused, d), r.expected)
            << r.focused << " kind " << r.kind << " input " << r.input << " show " << r.showTime << " time " << r.hasTime;
    }
}

TEST_F(DateEditTest, KindDecidesInputButtonsAndMask)
{
    TcxDateEditProperties* p = edit->Properties();
    EXPECT_EQ(p->InputKind(), ikRegExpr);
    EXPECT_EQ(p->MaskKind(), emkRegExprEx);
    EXPECT_EQ(p->DateButtons(), (TDateButtons{btnClear, btnToday}));
    p->SetKind(ckDateTime);
    EXPECT_EQ(p->InputKind(), ikMask);
    EXPECT_EQ(p->MaskKind(), emkStandard);
    EXPECT_EQ(p->EditMask(), cxFormatController()->StandardDateTimeEditMask());
    EXPECT_EQ(p->DateButtons(), (TDateButtons{btnClear, btnNow}));
    EXPECT_FALSE(p->AssignedValues()->InputKind());
    p->SetInputKind(ikStandard);
    EXPECT_TRUE(p->AssignedValues()->InputKind());
    EXPECT_FALSE(p->IsMasked());
    // Assign copies the input kind only where the source assigned it.
    TcxDateEditProperties copy(nullptr);
    copy.Assign(p);
    EXPECT_EQ(copy.InputKind(), ikStandard);
    EXPECT_EQ(copy.Kind(), ckDateTime);
    TcxDateEditProperties plain(nullptr);
    copy.Assign(&plain);
    EXPECT_FALSE(copy.AssignedValues()->InputKind());
    EXPECT_EQ(copy.InputKind(), ikRegExpr);
}

TEST_F(DateEditTest, AnEmptyDateTimeEditorShowsAZeroTimeInTheMask)
{
    edit->Properties()->SetKind(ckDateTime);
    edit->SetEditValue(Variant::MakeNull());
    Focus(edit);
    EXPECT_EQ(edit->InnerTextEdit()->GetEditValue().ToString(), "    -  -   00:00:00");
    EXPECT_EQ(edit->Properties()->GetEmptyDisplayValue(false), "    -  -     :  :  ");
}

TEST_F(DateEditTest, ADateOnlyEditorKeepsItsTimeWhenADateIsTyped)
{
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13) + T(14, 30)));
    EXPECT_NEAR(edit->SavedTime(), T(14, 30), 1e-8);
    Focus(edit);
    EXPECT_EQ(edit->Text(), "2024-3-13");
    edit->SelectAll();
    Type(edit, "2024-5-1");
    EXPECT_EQ(edit->Text(), "2024-5-1");
    Key(edit, Qt::Key_Return);
    EXPECT_EQ(edit->Text(), "2024-5-1");
    EXPECT_DOUBLE_EQ(edit->Date(), D(2024, 5, 1) + T(14, 30));
    // A typed time replaces the kept one.
    edit->Properties()->SetInputKind(ikStandard);
    edit->SelectAll();
    Type(edit, "2024-5-2 9:15");
    Key(edit, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(edit->Date(), D(2024, 5, 2) + T(9, 15));
    EXPECT_NEAR(edit->SavedTime(), T(9, 15), 1e-8);
}

TEST_F(DateEditTest, ClearingADateOnlyEditorGivesNullNotTheBareTime)
{
    // The kept 14:30 must not survive as a value of its own (30 December 1899, 14:30).
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13) + T(14, 30)));
    Focus(edit);
    edit->SelectAll();
    Key(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), "");
    Key(edit, Qt::Key_Return);
    EXPECT_TRUE(edit->EditValue().IsNull());
    EXPECT_EQ(edit->SavedTime(), 0);
    EXPECT_EQ(edit->Date(), NullDate);
    // Without a remembered time the value is Null as well; Clear does the same.
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13)));
    edit->Clear();
    EXPECT_TRUE(edit->EditValue().IsNull());
    // SetDate of a bare date takes the kept time back only while SaveTime holds.
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13) + T(8, 0)));
    edit->SetDate(D(2024, 4, 1));
    EXPECT_DOUBLE_EQ(edit->Date(), D(2024, 4, 1) + T(8, 0));
    edit->Properties()->SetSaveTime(false);
    edit->SetDate(D(2024, 4, 2));
    EXPECT_DOUBLE_EQ(edit->Date(), D(2024, 4, 2));
}

TEST_F(DateEditTest, DateOnErrorWithoutAHandler)
{
    struct Row {
        TDateOnError onError;
        bool valid;
        bool isNull;
        TDateTime date;
    } rows[] = {
        {deNoChange, false, false, D(2024, 1, 2)},
        {deToday, true, false, D(2024, 3, 13)},
        {deNull, true, true, 0},
    };
    edit->Properties()->SetInputKind(ikStandard);
    edit->Properties()->SetSaveTime(false);
    for (const Row& r : rows) {
        edit->Properties()->SetDateOnError(r.onError);
        edit->SetEditValue(Variant::FromDate(D(2024, 1, 2)));
        Focus(edit);
        edit->SelectAll();
        Type(edit, "zz");
        EXPECT_EQ(edit->ValidateEdit(false), r.valid) << r.onError;
        if (r.valid)
            edit->PostEditValue();
        EXPECT_EQ(edit->EditValue().IsNull(), r.isNull) << r.onError;
        if (!r.isNull) {
            EXPECT_DOUBLE_EQ(edit->Date(), r.date) << r.onError;
        }
        if (!r.valid) {   // the text goes back to the last valid value
            EXPECT_EQ(edit->Text(), "2024-1-2") << r.onError;
        }
    }
}

TEST_F(DateEditTest, DateOnErrorGivesWayToAnOnValidateHandler)
{
    edit->Properties()->SetInputKind(ikStandard);
    edit->Properties()->SetSaveTime(false);
    edit->Properties()->SetDateOnError(deToday);
    std::vector<std::string> seen;
    edit->Properties()->OnValidate = [&](TObject*, Variant& value, std::string& errorText, bool& error) {
        seen.push_back(VarToStr(value));
        if (VarToStr(value) == "fix") {
            value = Variant(std::string("2024-6-1"));
            error = false;
        }
        errorText = "bad";
    };
    edit->SetEditValue(Variant::FromDate(D(2024, 1, 2)));
    Focus(edit);
    // A parsed text reaches the handler in its canonical form.
    edit->SelectAll();
    Type(edit, "2024-02-03");
    EXPECT_TRUE(edit->ValidateEdit(false));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "2024-2-3");
    // An unreadable text is the handler's to judge: no fallback to today.
    edit->SelectAll();
    Type(edit, "zz");
    EXPECT_FALSE(edit->ValidateEdit(false));
    EXPECT_DOUBLE_EQ(edit->Date(), D(2024, 2, 3));
    // The handler mends the text: its date is taken.
    edit->SelectAll();
    Type(edit, "fix");
    EXPECT_TRUE(edit->ValidateEdit(false));
    edit->PostEditValue();
    EXPECT_DOUBLE_EQ(edit->Date(), D(2024, 6, 1));
}

TEST_F(DateEditTest, BoundsTable)
{
    struct Row {
        TDateTime minDate, maxDate;
        bool minDefined, maxDefined;
    } rows[] = {
        {0, D(2024, 12, 31), false, true},      // bounded above only
        {D(2024, 1, 1), 0, true, false},
        {D(2024, 1, 1), D(2024, 12, 31), true, true},
        {D(2024, 12, 31), D(2024, 1, 1), false, false},   // MaxDate <= MinDate: no bound
        {D(2024, 1, 1), D(2024, 1, 1), false, false},
    };
    TcxDateEditProperties* p = edit->Properties();
    for (const Row& r : rows) {
        p->SetMinDate(r.minDate);
        p->SetMaxDate(r.maxDate);
        EXPECT_EQ(p->IsValueBoundDefined(evbMin), r.minDefined) << r.minDate << " " << r.maxDate;
        EXPECT_EQ(p->IsValueBoundDefined(evbMax), r.maxDefined) << r.minDate << " " << r.maxDate;
    }
    // Typing beyond the maximum is refused and the text returns.
    p->SetMinDate(0);
    p->SetMaxDate(D(2024, 12, 31));
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13)));
    Focus(edit);
    edit->SelectAll();
    Type(edit, "2025-1-1");
    EXPECT_FALSE(edit->ValidateEdit(false));
    EXPECT_EQ(edit->Text(), "2024-3-13");
    edit->SelectAll();
    Type(edit, "1990-1-1");
    EXPECT_TRUE(edit->ValidateEdit(false));
    // The editor's own clamp moves a value set from code into the range.
    edit->SetEditValue(Variant::FromDate(D(2030, 1, 1)));
    edit->CheckEditorValueBounds();
    EXPECT_DOUBLE_EQ(std::trunc(edit->Date()), D(2024, 12, 31));
}

TEST_F(DateEditTest, AnUnusableValueRaisesAndPaintsEmpty)
{
    EXPECT_THROW(Shown(Variant(std::string("not a date"))), EConvertError);
    EXPECT_EQ(Shown(Variant::MakeNull()), "");
    EXPECT_EQ(Shown(Variant(NullDate)), "");
    EXPECT_EQ(Shown(Variant(std::string("2024-3-13"))), "2024-3-13");
    // The cell text and the editor's own text are empty instead of failing the paint.
    EXPECT_EQ(edit->Properties()->GetDisplayText(Variant(std::string("not a date"))), u"");
    edit->SetEditValue(Variant(std::string("not a date")));
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(edit->Date(), NullDate);
}

TEST_F(DateEditTest, AShortYearIsReplacedByTheLongFormWhenADayIsPicked)
{
    fixed->Settings().ShortDateFormat = "yy-M-d";
    cxFormatsUnit::Finalize();
    edit->Properties()->SetInputKind(ikStandard);
    // 1924 in two digits reads back as 2024: the picked day shows its full year.
    EXPECT_EQ(edit->GetRecognizableDisplayValue(D(1924, 5, 1)).rfind("1924", 0), 0u)
        << edit->GetRecognizableDisplayValue(D(1924, 5, 1));
    EXPECT_EQ(edit->GetRecognizableDisplayValue(D(2024, 5, 1)), "24-5-1");
}

TEST_F(DateEditTest, RegistrationAndFilterHelper)
{
    EXPECT_EQ(GetRegisteredEditProperties()->GetDescriptionByClass(&TcxDateEditProperties::StaticClass()), "DateEdit");
    TcxCustomFilterEditHelperClass helper = FilterEditsController()->FindHelper(&TcxDateEditProperties::StaticClass());
    ASSERT_TRUE(helper);
    EXPECT_FALSE(helper->GetSupportedFilterOperators(nullptr, nullptr, false).Contains(fcoBetween));
    const TcxFilterControlOperators extended = helper->GetSupportedFilterOperators(nullptr, nullptr, true);
    EXPECT_TRUE(extended.Contains(fcoNotInList));
    EXPECT_TRUE(extended.Contains(fcoYesterday));
    EXPECT_TRUE(extended.Contains(fcoInFuture));
    EXPECT_FALSE(extended.Contains(fcoLike));
    TcxDateEditProperties filterProps(nullptr), source(nullptr);
    helper->InitializeProperties(&filterProps, &source, true);
    EXPECT_EQ(filterProps.DateOnError(), deNull);
    EXPECT_TRUE(filterProps.AssignedValues()->InputKind());
    EXPECT_EQ(filterProps.InputKind(), ikRegExpr);
    EXPECT_EQ(filterProps.DateButtons(), (TDateButtons{btnClear, btnToday}));
}

TEST_F(DateEditTest, TheTimeZonesOfTheMaskTypeAsTheTimeEditorDoes)
{
    TcxDateEditProperties* p = edit->Properties();
    p->SetKind(ckDateTime);
    TcxTimeEditZoneInfo zone;
    EXPECT_FALSE(p->GetTimeZoneInfo(1, zone));   // the year
    ASSERT_TRUE(p->GetTimeZoneInfo(12, zone));   // "2024-03-13 |09:45:00"
    EXPECT_EQ(zone.Kind, tzHour);
    ASSERT_TRUE(p->GetTimeZoneInfo(15, zone));
    EXPECT_EQ(zone.Kind, tzMin);
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13) + T(9, 45)));
    Focus(edit);
    EXPECT_EQ(edit->Text(), "2024-03-13 09:45:00");
    // A 7 typed as the hour's first digit is the hour 07, not 79.
    edit->SetSelection(11, 1);
    Type(edit, "7");
    EXPECT_EQ(edit->Text(), "2024-03-13 07:45:00");
    Key(edit, Qt::Key_Return);
    EXPECT_NEAR(edit->Date(), D(2024, 3, 13) + T(7, 45), 1e-8);
    // A user's own date-time mask has no time zones.
    cxFormatController()->SetAssignedStandardDateTimeEditMask(true);
    EXPECT_FALSE(p->GetTimeZoneInfo(12, zone));
    cxFormatController()->SetAssignedStandardDateTimeEditMask(false);
}

// The calendar dropped down and driven by real keys and a real click.
class DateEditDropDownTest : public DateEditTest {
protected:
    void Open()
    {
        Focus(edit);
        Key(edit, Qt::Key_F4);
        SpinUntil([&] { return edit->DroppedDown() && edit->Calendar() && edit->Calendar()->Showing(); }, 500);
        ASSERT_TRUE(edit->DroppedDown());
    }
    void CalendarKey(Qt::Key key)
    {
        QTest::keyClick(edit->Calendar()->Peer(), key);
        vcl::DrainPostedMessages();
    }
    void ClickDay(int col, int row)
    {
        const TRect r = edit->Calendar()->DayCellRect(col, row);
        const QPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        QTest::mouseMove(edit->Calendar()->Peer(), at);
        QTest::mouseClick(edit->Calendar()->Peer(), Qt::LeftButton, Qt::NoModifier, at);
        vcl::DrainPostedMessages();
        SpinUntil([&] { return !edit->DroppedDown(); }, 500);
    }
};

TEST_F(DateEditDropDownTest, PickingADayCommitsItAndKeepsTheTime)
{
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13) + T(14, 30)));
    Open();
    EXPECT_EQ(cxPopupWindowCount(), 1);
    EXPECT_DOUBLE_EQ(edit->DropDownDate(), D(2024, 3, 13) + T(14, 30));
    EXPECT_DOUBLE_EQ(edit->Calendar()->SelectDate(), D(2024, 3, 13));
    CalendarKey(Qt::Key_PageDown);
    EXPECT_DOUBLE_EQ(edit->Calendar()->SelectDate(), D(2024, 4, 13));
    const TDateTime picked = edit->Calendar()->GetDateFromCell(3, 3);
    ClickDay(3, 3);
    EXPECT_FALSE(edit->DroppedDown());
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_EQ(reasons[0], crEnter);
    EXPECT_NEAR(edit->Date(), picked + T(14, 30), 1e-8);
    EXPECT_EQ(edit->Text(), VarToStr(Variant(DateTimeToTextEx(picked, false))));
    EXPECT_EQ(cxPopupWindowCount(), 0);
}

TEST_F(DateEditDropDownTest, EnterCommitsTheCalendarsDateAndEscKeepsTheValue)
{
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13) + T(14, 30)));
    Open();
    CalendarKey(Qt::Key_Right);
    CalendarKey(Qt::Key_Return);
    SpinUntil([&] { return !edit->DroppedDown(); }, 500);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_NEAR(edit->Date(), D(2024, 3, 14) + T(14, 30), 1e-8);
    reasons.clear();
    Open();
    CalendarKey(Qt::Key_Right);
    CalendarKey(Qt::Key_Escape);
    SpinUntil([&] { return !edit->DroppedDown(); }, 500);
    EXPECT_FALSE(edit->DroppedDown());
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_EQ(reasons[0], crCancel);
    EXPECT_NEAR(edit->Date(), D(2024, 3, 14) + T(14, 30), 1e-8);
    // An empty editor opens on today.
    edit->SetEditValue(Variant::MakeNull());
    Open();
    EXPECT_EQ(edit->DropDownDate(), NullDate);
    EXPECT_DOUBLE_EQ(edit->Calendar()->SelectDate(), D(2024, 3, 13));
    CalendarKey(Qt::Key_Escape);
}

TEST_F(DateEditDropDownTest, ADateTimeEditorTakesTheClocksTime)
{
    edit->Properties()->SetKind(ckDateTime);
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13) + T(9, 45)));
    Open();
    ASSERT_TRUE(edit->Calendar()->Clock());
    EXPECT_NEAR(edit->Calendar()->Clock()->Time(), T(9, 45), 1e-8);
    EXPECT_EQ(edit->Calendar()->CalendarButtons(), (TDateButtons{btnClear, btnNow}));
    CalendarKey(Qt::Key_Down);
    CalendarKey(Qt::Key_Return);
    SpinUntil([&] { return !edit->DroppedDown(); }, 500);
    EXPECT_NEAR(edit->Date(), D(2024, 3, 20) + T(9, 45), 1e-8);
    EXPECT_EQ(edit->Text(), "2024-03-20 09:45:00");
}

TEST_F(DateEditDropDownTest, TheCalendarOpensOnTheTypedDate)
{
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13) + T(14, 30)));
    Focus(edit);
    edit->SelectAll();
    Type(edit, "2024-5-1");
    Key(edit, Qt::Key_F4);
    SpinUntil([&] { return edit->DroppedDown(); }, 500);
    ASSERT_TRUE(edit->DroppedDown());
    EXPECT_DOUBLE_EQ(edit->Calendar()->SelectDate(), D(2024, 5, 1));
    EXPECT_NEAR(edit->DropDownDate(), D(2024, 5, 1) + T(14, 30), 1e-8);
    CalendarKey(Qt::Key_Escape);
}

TEST_F(DateEditDropDownTest, TheDroppedDownCalendarRendersInChinese)
{
    cxSetResourceString(&cxSDatePopupToday, "今天");
    cxSetResourceString(&cxSDatePopupClear, "清除");
    edit->Font()->SetName("WenQuanYi Micro Hei");
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 20) + T(14, 30)));
    Open();
    TcxCustomEditPopupWindow* w = edit->PopupWindow();
    w->Update();
    const QImage shot = w->Peer()->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    SaveTestPicture(shot.scaled(shot.width() * 2, shot.height() * 2), "date_edit_dropdown.png");
    EXPECT_EQ(edit->Calendar()->TodayButton()->Caption(), "今天");
    CalendarKey(Qt::Key_Escape);
    cxSetResourceString(&cxSDatePopupToday, "Today");
    cxSetResourceString(&cxSDatePopupClear, "Clear");
}

} // namespace

namespace {

// After the calendar closes by any key the editor's field has the focus again, so the next
// typed keys go into the editor and not into the hidden calendar.
TEST_F(DateEditDropDownTest, TheFieldHasTheFocusAgainAfterTheCalendarCloses)
{
    edit->SetEditValue(Variant::FromDate(D(2024, 3, 13)));
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers m;
    } closers[] = {{"F4", Qt::Key_F4, Qt::NoModifier},
                   {"Alt+Up", Qt::Key_Up, Qt::AltModifier},
                   {"Esc", Qt::Key_Escape, Qt::NoModifier},
                   {"Enter", Qt::Key_Return, Qt::NoModifier}};
    for (const auto& c : closers) {
        SCOPED_TRACE(c.name);
        Open();
        QTest::keyClick(edit->Calendar()->Peer(), c.key, c.m);
        vcl::DrainPostedMessages();
        SpinUntil([&] { return !edit->DroppedDown(); }, 500);
        ASSERT_FALSE(edit->DroppedDown());
        EXPECT_TRUE(edit->InnerEdit()->GetControl()->Focused());
        EXPECT_FALSE(edit->Calendar()->Focused());
    }
    edit->SelectAll();
    Type(edit, "2024-6-2");
    EXPECT_EQ(edit->Text(), "2024-6-2");
}

} // namespace
