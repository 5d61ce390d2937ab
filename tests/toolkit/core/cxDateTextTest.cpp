#include "cxDateLocaleFixture.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxLibraryStrs.h"

using namespace cx;

using DateTextTest = DateLocaleTest;

TEST_F(DateTextTest, DateFormatterTable)
{
    TFormatSettings fs = rtl::FormatSettings();
    struct Case { const char* format; char separator; const char* want; };
    const Case cases[] = {
        {"yyyy/m/d", '-', "2024-03-5"},
        {"[dd/mm/yy]", '/', "05/03/24"},
        {"yyyy-M-d", '-', "2024-03-5"},
        {"dddd dd mmmm yyyy", ' ', "星期二 05 三月 2024"},
        {"d/m/yyyyy", '/', "5/03/24"},
        {"eeyy.mm.dd", '.', "24.03.05"},
    };
    for (const auto& c : cases) {
        fs.ShortDateFormat = c.format;
        fs.DateSeparator = c.separator;
        EXPECT_EQ(cxDateToStr(D(2024, 3, 5), fs), c.want) << c.format;
    }
    fs.ShortDateFormat = "dddd mmmm yyyy";
    EXPECT_EQ(cxDateToStr(NullDate, fs), "");
    // Literal text between elements shows only when no fixed separator is given.
    cxFormatController()->SetUseDelphiDateTimeFormats(true);
    std::string text;
    ASSERT_TRUE(cxGetDateFormat(D(2024, 3, 5), text, 0, "[yyyy.mm.dd]"));
    EXPECT_EQ(text, "2024.03.05");
}

TEST_F(DateTextTest, LocaleTextsInTwoLocales)
{
    const TDateTime t = D(2024, 3, 5) + rtl::EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(cxDateTimeToText(t, false, false), "2024-3-5 14:07:09");
    EXPECT_EQ(cxDateTimeToText(D(2024, 3, 5), false, true), "2024-3-5");
    EXPECT_EQ(cxDateTimeToText(NullDate, true, false), "");
    EXPECT_EQ(DateTimeToTextEx(NullDate, true), "");
    EXPECT_EQ(DateToLongDateStr(t), "2024年3月5日");
    EXPECT_EQ(cxGetLocalMonthYear(t), "2024年3月");
    EXPECT_EQ(cxGetLocalMonthName(t, nullptr), "三月");
    // Chinese short names all begin with 周, so the one-character heading is the day's own.
    EXPECT_EQ(cxGetDayOfWeekName(1, 134), "一");
    EXPECT_EQ(cxGetDayOfWeekName(7, 134), "日");
    EXPECT_EQ(cxTimeToStr(t), "14:07:09");
    EXPECT_EQ(GetStartOfWeek(), dSunday);

    UseEnglishUS();
    EXPECT_EQ(cxDateTimeToText(t, false, false), "3/5/2024 2:07:09 PM");
    EXPECT_EQ(cxDateToLocalFormatStr(D(2024, 3, 5)), "3/5/2024");
    EXPECT_EQ(cxGetLocalMonthYear(t), "March 2024");
    EXPECT_EQ(cxGetDayOfWeekName(2, 0), "T");
    cxUseSingleCharWeekNames = false;
    EXPECT_EQ(cxGetDayOfWeekName(7, 0), "Sun");
    cxUseSingleCharWeekNames = true;
    EXPECT_EQ(cxGetDayOfWeekName(0, 0), "");
    EXPECT_EQ(cxTimeToStr(t, "hh:nn AM/PM"), "02:07 PM");
    // Before 1601 the system formatter refuses; the variant text stands in.
    EXPECT_EQ(cxDateTimeToText(D(1500, 1, 2), false, false), "1/2/1500");
}

TEST_F(DateTextTest, FourDigitYearWidensTwoDigitFormats)
{
    fixed->Settings().ShortDateFormat = "dd.MM.yy";
    EXPECT_EQ(cxDateTimeToText(D(2024, 3, 5), true, true), "05.03.2024");
    EXPECT_EQ(cxDateTimeToText(D(2024, 3, 5), false, true), "05.03.24");
    fixed->Settings().ShortDateFormat = "yyyy-MM-dd";
    EXPECT_EQ(cxDateTimeToText(D(2024, 3, 5), true, true), "2024-03-05");
}

TEST_F(DateTextTest, ParsingTableInTwoLocales)
{
    struct Case { const char* text; TDateTime want; };
    const Case zh[] = {
        {"2024-3-5", D(2024, 3, 5)},
        {" 2024-03-05 14:07 ", D(2024, 3, 5) + rtl::EncodeTime(14, 7, 0, 0)},
        {"2024-2-29", D(2024, 2, 29)},
        {"2023-2-29", NullDate},
        {"2024-13-1", NullDate},
        {"", NullDate},
        {"abc", NullDate},
        {"today", D(2024, 3, 13)},
    };
    for (const auto& c : zh)
        EXPECT_DOUBLE_EQ(cxTextToDateTime(c.text), c.want) << c.text;

    UseEnglishUS();
    const Case us[] = {
        {"3/5/2024", D(2024, 3, 5)},
        {"12/31/1999", D(1999, 12, 31)},
        {"31/12/1999", NullDate},
    };
    for (const auto& c : us)
        EXPECT_DOUBLE_EQ(cxTextToDateTime(c.text, true), c.want) << c.text;
    TDateTime date = 0;
    EXPECT_FALSE(cxStrToDateTime("99/99/2024", false, date));
    EXPECT_EQ(date, NullDate);
    EXPECT_TRUE(cxStrToDateTime("3/5/2024", false, date));
    EXPECT_DOUBLE_EQ(date, D(2024, 3, 5));
    EXPECT_DOUBLE_EQ(StrToDateDef("nonsense", 7), 7);
}

TEST_F(DateTextTest, StrToDateReadsTheCalendarsTokens)
{
    TFormatSettings fs = rtl::FormatSettings();
    fs.ShortDateFormat = "d/M/yyyy";
    fs.DateSeparator = '/';
    TcxGregorianCalendarTable g;
    TcxDateTime d = cxStrToDate("5/3/24 10:20:30", fs, &g);
    EXPECT_EQ(d.Year, 2024);
    EXPECT_EQ(d.Month, 3);
    EXPECT_EQ(d.Day, 5);
    EXPECT_EQ(d.Hours, 10);
    EXPECT_EQ(d.Seconds, 30);
    fs.ShortDateFormat = "yyyy/M/d";
    EXPECT_DOUBLE_EQ(cxStrToDate("4333/1/1", fs, 5), D(2000, 1, 1));       // Korean
    EXPECT_DOUBLE_EQ(cxStrToDate("2543/2/30", fs, 7), NullDate);           // Thai, no 30 February
    EXPECT_THROW(cxStrToDate("x/1/1", fs, &g), EConvertError);
    // A Japanese locale reads era years through its table.
    fixed->SetLocaleInfo(rtl::LOCALE_ICALENDARTYPE, "3");
    fixed->Settings().ShortDateFormat = "yy/MM/dd";
    fixed->Settings().DateSeparator = '/';
    EXPECT_DOUBLE_EQ(cxTextToDateTime("36/03/05"), D(2024, 3, 5));        // Heisei 36
    EXPECT_DOUBLE_EQ(cxTextToDateTime("36/02/30"), NullDate);
}

TEST_F(DateTextTest, SmartInput)
{
    // 13 March 2024 is a Wednesday.
    struct Case { const char* text; TDateTime want; };
    const Case cases[] = {
        {"today+3", D(2024, 3, 16)},
        {"Tomorrow -1", D(2024, 3, 13)},
        {"  today+3", D(2024, 3, 16)},
        {"bom", D(2024, 3, 1)},
        {"eom", D(2024, 3, 31)},
        {"today+", D(2024, 3, 13)},
        {"yesterday-x", D(2024, 3, 12)},
        {"sunday", D(2024, 3, 17)},
        {"wednesday", D(2024, 3, 13)},
        {"first", D(2024, 3, 10)},
        {"seventh+7", D(2024, 3, 23)},
    };
    for (const auto& c : cases) {
        TDateTime date = 0;
        ASSERT_TRUE(SmartTextToDate(c.text, date)) << c.text;
        EXPECT_DOUBLE_EQ(date, c.want) << c.text;
    }
    TDateTime date = 0;
    EXPECT_TRUE(SmartTextToDate("now", date));
    EXPECT_DOUBLE_EQ(date, D(2024, 3, 13) + rtl::EncodeTime(10, 30, 0, 0));
    EXPECT_FALSE(SmartTextToDate("fortnight", date));
    SmartTextToDateFunc = [](const std::string& text, TDateTime& d) { d = 1; return text == "fortnight"; };
    EXPECT_TRUE(SmartTextToDate("fortnight", date));
    EXPECT_DOUBLE_EQ(date, 1);
    SmartTextToDateFunc = nullptr;
    // A translated word takes over.
    cxSetResourceString(&cxSDateToday, "jintian");
    EXPECT_TRUE(SmartTextToDate("JINTIAN", date));
    cxSetResourceString(&cxSDateToday, "today");
}

TEST_F(DateTextTest, SmartInputMask)
{
    std::string mask = "\\d";
    AddDateRegExprMaskSmartInput(mask, false);
    EXPECT_EQ(mask.rfind("(\\d)|('today'|'yesterday'|", 0), 0u) << mask;
    EXPECT_EQ(mask.find("'now'"), std::string::npos);
    EXPECT_NE(mask.find("'eom')((\\+|-)\\d(\\d(\\d\\d?)?)?)?"), std::string::npos) << mask;
    cxSetResourceString(&cxSDateBOM, "it's");
    mask = "x";
    AddDateRegExprMaskSmartInput(mask, true);
    EXPECT_NE(mask.find("|'it'\\''s'|'eom'|'now')"), std::string::npos) << mask;
    cxSetResourceString(&cxSDateBOM, "bom");
}

TEST_F(DateTextTest, UtilitiesAndWeekNumbers)
{
    EXPECT_TRUE(cxIsDateValid(NullDate));
    EXPECT_FALSE(cxIsDateValid(D(99, 1, 1)));
    EXPECT_TRUE(cxIsDateValid(D(100, 1, 1)));
    EXPECT_EQ(DaysPerMonth(2024, 2), 29);
    EXPECT_EQ(DaysPerMonth(1900, 2), 28);
    EXPECT_EQ(CheckDay(2023, 2, 31), 28);
    EXPECT_EQ(CheckDay(2023, 2, -4), 1);
    Word y = 2024, m = 1;
    ChangeMonth(y, m, -1);
    EXPECT_EQ(y, 2023);
    EXPECT_EQ(m, 12);
    ChangeMonth(y, m, 25);
    EXPECT_EQ(y, 2026);
    EXPECT_EQ(m, 1);
    DecMonth(y, m);
    EXPECT_EQ(m, 12);
    IncMonth(y, m);
    EXPECT_EQ(y, 2026);
    EXPECT_EQ(GetMonthNumber(D(2024, 3, 1)), 2024 * 12 - 9);
    EXPECT_DOUBLE_EQ(GetEndDateOfMonth(D(2024, 2, 10), false), D(2024, 2, 29) + rtl::EncodeTime(23, 59, 59, 999));
    EXPECT_DOUBLE_EQ(TimeOf(D(2024, 1, 1) + 0.25), 0.25);
    EXPECT_EQ(DayOfWeekOffset(D(2024, 3, 10)), 0);   // a Sunday, the first day of the week here

    struct Case { TDateTime date; TDay start; TcxFirstWeekOfYear rule; int week; };
    const Case cases[] = {
        {D(2024, 12, 31), dMonday, fwyFirstFourDays, 1},
        {D(2024, 1, 1), dMonday, fwyFirstFourDays, 1},
        // Days before the first week divide to 0 and count as week 1 of their own year.
        {D(2021, 1, 1), dMonday, fwyFirstFourDays, 1},
        {D(2021, 1, 4), dMonday, fwyFirstFourDays, 1},
        {D(2022, 1, 1), dSunday, fwyFirstFullWeek, 1},
        {D(2021, 1, 11), dMonday, fwyFirstFourDays, 2},
        {D(2022, 1, 2), dSunday, fwyFirstFullWeek, 1},
        {D(2023, 12, 31), dSunday, fwyJan1, 1},
        {D(2024, 3, 13), dSunday, fwySystem, 11},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetWeekNumber(c.date, c.start, c.rule), c.week) << c.date;
}
