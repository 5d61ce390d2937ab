#include "cxDateLocaleFixture.h"

using namespace cx;

namespace {
class Listener : public IcxFormatControllerListener {
public:
    void FormatChanged() override { ++formatChanges; }
    int formatChanges = 0;
};

class Listener2 : public Listener, public IcxFormatControllerListener2 {
public:
    void TimeChanged() override { ++timeChanges; }
    int timeChanges = 0;
};

std::string Kinds(const TcxDateTimeFormatInfo& info)
{
    std::string s;
    for (const auto& item : info.Items)
        s += std::to_string(item.Kind) + ":" + item.Data + " ";
    return s;
}
} // namespace

using FormatControllerTest = DateLocaleTest;

TEST_F(FormatControllerTest, ProfileFormats)
{
    TcxFormatController* c = cxFormatController();
    EXPECT_EQ(c->DateEditFormat(), "yyyy-MM-dd");
    EXPECT_EQ(c->StandardDateEditMask(), "!9999\\-99\\-99;1; ");
    EXPECT_EQ(c->StandardDateTimeEditMask(), "!9999\\-99\\-99\\ 99:99:99;1; ");
    EXPECT_EQ(c->MaskedDateEditFormat(), "yyyy'-'mm'-'dd");
    EXPECT_EQ(c->MaskedDateTimeEditFormat(), "yyyy'-'mm'-'dd' 'hh:nn:ss");
    EXPECT_EQ(c->CurrencyFormat(), "\xEF\xBF\xA5,0.00;\xEF\xBF\xA5-,0.00");
    EXPECT_EQ(c->StartOfWeek(), dSunday);
    EXPECT_EQ(Kinds(c->TimeFormatInfo()), "4:24H 10:: 5:NN 10:: 6:SS ");
    EXPECT_EQ(c->RegExprDateEditMask().rfind("(\\d\\d\\d\\d'-'((0?[1-9]|1[012])|('1月'|", 0), 0u) << c->RegExprDateEditMask();
}

TEST_F(FormatControllerTest, DescriptionsAndMasksTable)
{
    struct Case { const char* shortDate; char sep; const char* editFormat; const char* standardMask; const char* regExpr; };
    const Case cases[] = {
        {"d/M/yyyy", '/', "dd/MM/yyyy", "!99/99/9999;1; ", "([012]?[1-9]|[123]0|31)\\/((0?[1-9]|1[012])|('Jan'|'Feb'|'Mar'|'Apr'|'May'|'Jun'|'Jul'|'Aug'|'Sep'|'Oct'|'Nov'|'Dec'))\\/\\d\\d\\d\\d"},
        {"yyyy/MM/dd", '-', "yyyy/MM/dd", "!9999/99/99;1; ", "\\d\\d\\d\\d\\-((0?[1-9]|1[012])|('Jan'|'Feb'|'Mar'|'Apr'|'May'|'Jun'|'Jul'|'Aug'|'Sep'|'Oct'|'Nov'|'Dec'))\\-([012]?[1-9]|[123]0|31)"},
        {"yyyy-MM-dd", '-', "yyyy-MM-dd", "!9999\\-99\\-99;1; ", "\\d\\d\\d\\d'-'((0?[1-9]|1[012])|('Jan'|'Feb'|'Mar'|'Apr'|'May'|'Jun'|'Jul'|'Aug'|'Sep'|'Oct'|'Nov'|'Dec'))'-'([012]?[1-9]|[123]0|31)"},
        {"dd MMMM yy", ' ', "dd MMMM yy", "!99\\ lll\\ 99;1; ", "([012]?[1-9]|[123]0|31)' '((0?[1-9]|1[012])|('January'|'February'|'March'|'April'|'May'|'June'|'July'|'August'|'September'|'October'|'November'|'December'))' '\\d\\d"},
        {"gg yy/MM/dd", '/', "gg yy/MM/dd", "", ""},
    };
    UseEnglishUS();
    for (const auto& c : cases) {
        fixed->Settings().ShortDateFormat = c.shortDate;
        fixed->Settings().DateSeparator = c.sep;
        cxFormatsUnit::Finalize();
        TcxFormatController* fc = cxFormatController();
        EXPECT_EQ(fc->DateEditFormat(), c.editFormat) << c.shortDate;
        EXPECT_EQ(fc->StandardDateEditMask(), c.standardMask) << c.shortDate;
        TcxDateTimeFormatInfo info;
        TcxFormatController::DescribeFormat(c.shortDate, info);
        EXPECT_EQ(TcxFormatController::InternalGetDateTimeEditRegExprMask(info, dtmkDate), c.regExpr) << c.shortDate;
    }
    EXPECT_EQ(TcxFormatController::GetDateEditFormat(true), "gg yy/MM/dd");
    fixed->Settings().ShortDateFormat = "d MMMMM yyyy";
    EXPECT_EQ(TcxFormatController::GetDateEditFormat(true), "dd MMM yyyy");
}

TEST_F(FormatControllerTest, TimeDescriptions)
{
    UseEnglishUS();
    struct Case { const char* format; const char* kinds; const char* regExpr; const char* standard; };
    const Case cases[] = {
        {"h:mm:ss AM/PM", "4:12H 10:: 5:NN 10:: 6:SS 0:  8:AM/PM ", "(0?[1-9]|1[012])\\:[0-5]?\\d\\:[0-5]?\\d' '(AM|PM)?", "00:00:00\\ cc;1;0"},
        {"HH:mm:ss", "4:24HH 10:: 5:NN 10:: 6:SS ", "([01]?\\d|2[0-3])\\:[0-5]?\\d\\:[0-5]?\\d", "00:00:00;1;0"},
        {"hh:nn ampm", "4:12HH 10:: 5:NN 0:  8:AMPM ", "(0?[1-9]|1[012])\\:[0-5]?\\d' '('AM'|'PM')?", "00:00\\ cc;1;0"},
        {"nn a/p zzz", "5:NN 0:  0:  7:ZZZ ", "[0-5]?\\d' '' '", "00\\ \\ ;1;0"},   // no hour: the suffix goes
        {"t", "4:12H 10:: 5:NN 0:  8:AM/PM ", "(0?[1-9]|1[012])\\:[0-5]?\\d' '(AM|PM)?", "00:00\\ cc;1;0"},
    };
    for (const auto& c : cases) {
        TcxDateTimeFormatInfo info;
        TcxFormatController::DescribeFormat(c.format, info);
        EXPECT_EQ(Kinds(info), c.kinds) << c.format;
        EXPECT_EQ(TcxFormatController::InternalGetDateTimeEditRegExprMask(info, dtmkTime), c.regExpr) << c.format;
        EXPECT_EQ(TcxFormatController::InternalGetDateTimeEditStandardMask(info, dtmkTime), c.standard) << c.format;
    }
    // Zones of the standard mask "00:00\ cc": the suffix zone starts at 7.
    TcxDateTimeFormatInfo info;
    TcxFormatController::DescribeFormat("hh:nn AM/PM", info);
    TcxDateTimeFormatItemInfo item;
    ASSERT_TRUE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info, 7, item));
    EXPECT_EQ(item.Kind, dtikTimeSuffix);
    EXPECT_EQ(item.ZoneStart, 7);
    EXPECT_EQ(item.ZoneLength, 2);
    EXPECT_EQ(item.TimeSuffixKind, tskAMPM);
    EXPECT_EQ(TcxFormatController::GetDateTimeStandardMaskStringLength(info), 8);
    EXPECT_FALSE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info, 9, item));
    EXPECT_FALSE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info, 0, item));
}

TEST_F(FormatControllerTest, CurrencyFormats)
{
    struct Case { Byte pos, neg; const char* symbol; const char* want; };
    const Case cases[] = {
        {0, 2, "\xEF\xBF\xA5", "\xEF\xBF\xA5,0.00;\xEF\xBF\xA5-,0.00"},
        {3, 8, "kr.", ",0.00 kr'.';-,0.00 kr'.'"},
        {1, 15, "$", ",0.00$;(,0.00 $)"},
        {2, 16, "$", "$ ,0.00;"},
    };
    for (const auto& c : cases) {
        fixed->Settings().CurrencyFormat = c.pos;
        fixed->Settings().NegCurrFormat = c.neg;
        fixed->Settings().CurrencyString = c.symbol;
        EXPECT_EQ(TcxFormatController::GetCurrencyFormat(), c.want);
    }
}

TEST_F(FormatControllerTest, ListenersAndBroadcasts)
{
    TcxFormatController* c = cxFormatController();
    Listener a;
    Listener2 b;
    EXPECT_FALSE(c->FollowsSystemBroadcasts());
    c->AddListener(&a);
    c->AddListener(&a);
    c->AddListener(&b);
    EXPECT_EQ(c->ListenerCount(), 2);
    EXPECT_TRUE(c->FollowsSystemBroadcasts());

    fixed->Settings().ShortDateFormat = "d/M/yyyy";
    fixed->Settings().DateSeparator = '/';
    rtl::BroadcastSettingChange("intl");
    EXPECT_EQ(a.formatChanges, 1);
    EXPECT_EQ(c->DateEditFormat(), "dd/MM/yyyy");
    rtl::BroadcastSettingChange("windows");
    EXPECT_EQ(a.formatChanges, 1);
    rtl::SystemBroadcasts().UpdateFormatSettings = false;
    rtl::BroadcastSettingChange("intl");
    rtl::SystemBroadcasts().UpdateFormatSettings = true;
    EXPECT_EQ(a.formatChanges, 1);
    rtl::BroadcastTimeChange();
    EXPECT_EQ(b.timeChanges, 1);

    // Updates: only the outermost EndUpdate notifies, and it does not recompute.
    c->BeginUpdate();
    c->BeginUpdate();
    c->SetStartOfWeek(dMonday);
    c->EndUpdate();
    EXPECT_EQ(a.formatChanges, 1);
    fixed->Settings().ShortDateFormat = "yyyy/M/d";
    c->EndUpdate();
    EXPECT_EQ(a.formatChanges, 2);
    EXPECT_EQ(c->DateEditFormat(), "dd/MM/yyyy");

    c->RemoveListener(&a);
    c->RemoveListener(&b);
    EXPECT_FALSE(c->FollowsSystemBroadcasts());
    rtl::BroadcastSettingChange("intl");
    EXPECT_EQ(a.formatChanges, 2);
    EXPECT_EQ(rtl::SystemBroadcasts().SettingChange.Count(), 0);
    c->AddListener(&a);
    EXPECT_TRUE(c->FollowsSystemBroadcasts());
    c->RemoveListener(&a);
}

TEST_F(FormatControllerTest, PinnedValuesSurviveRecomputation)
{
    TcxFormatController* c = cxFormatController();
    Listener a;
    c->AddListener(&a);
    c->SetStandardDateEditMask("!99.99.9999;1;_");
    EXPECT_TRUE(c->AssignedStandardDateEditMask());
    EXPECT_EQ(a.formatChanges, 1);
    c->SetStartOfWeek(dMonday);
    EXPECT_EQ(DayOfWeekOffset(D(2024, 3, 11)), 0);   // Monday
    fixed->Settings().ShortDateFormat = "d/M/yyyy";
    fixed->Settings().DateSeparator = '/';
    c->SettingChange("intl");
    EXPECT_EQ(c->StandardDateEditMask(), "!99.99.9999;1;_");
    EXPECT_EQ(c->DateEditMask(), "!99/99/9999;1; ");
    EXPECT_EQ(c->StartOfWeek(), dMonday);
    c->SetAssignedStandardDateEditMask(false);
    c->SetAssignedStartOfWeek(false);
    EXPECT_EQ(c->StandardDateEditMask(), "!99/99/9999;1; ");
    EXPECT_EQ(c->StartOfWeek(), dSunday);
    // Setting the same value again pins without a notice.
    int before = a.formatChanges;
    c->SetCurrencyFormat(c->CurrencyFormat());
    EXPECT_TRUE(c->AssignedCurrencyFormat());
    EXPECT_EQ(a.formatChanges, before);
    c->RemoveListener(&a);
}

TEST_F(FormatControllerTest, LibraryFormatsSwitch)
{
    TcxFormatController* c = cxFormatController();
    const TDateTime t = D(2024, 3, 5);
    EXPECT_EQ(cxGetLocalMonthYear(t), "2024年3月");
    c->SetUseDelphiDateTimeFormats(true);
    EXPECT_EQ(cxGetLocalMonthYear(t), "三月 2024");
    EXPECT_EQ(cxGetDayOfWeekName(7, 134), "日");
    EXPECT_EQ(DateTimeToText(t + 0.5), "2024-3-5 12:00:00");
    EXPECT_EQ(DateTimeToTextEx(t + 0.5, true, true), "2024-03-05 12:00:00");
    EXPECT_EQ(DateTimeToTextEx(t + 0.5, true, false), "2024-03-05");
}
