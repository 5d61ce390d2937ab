#include <memory>

#include "cxDateLocaleFixture.h"

using namespace cx;

namespace {
struct TableDeleter {
    void operator()(TcxCustomCalendarTable* t) const { t->Free(); }
};
using Table = std::unique_ptr<TcxCustomCalendarTable, TableDeleter>;
Table Calendar(TcxCalendarID id) { return Table(cxGetCalendar(id)); }
} // namespace

using CalendarTest = DateLocaleTest;

TEST_F(CalendarTest, KindsByIdentifier)
{
    EXPECT_EQ(Calendar(99)->GetCalendarID(), 1u);
    EXPECT_EQ(Calendar(10)->GetFirstWeekDay(), dSaturday);
    EXPECT_EQ(Calendar(11)->GetFirstWeekDay(), dMonday);
    EXPECT_EQ(Calendar(3)->GetCalendarAlgorithmType(), catSolarCalendar);
    EXPECT_EQ(Calendar(6)->GetCalendarAlgorithmType(), catLunarCalendar);
    EXPECT_EQ(Calendar(8)->GetCalendarAlgorithmType(), catLunarSolarCalendar);
    EXPECT_TRUE(cxIsGregorianCalendar());
    EXPECT_FALSE(cxIsGregorianCalendar(Calendar(7).get()));
    fixed->SetLocaleInfo(rtl::LOCALE_ICALENDARTYPE, "3");
    EXPECT_EQ(cxGetLocalCalendarID(), 3u);
    EXPECT_FALSE(cxIsGregorianCalendar());
}

// Gregorian dates into each calendar: era index, year, month, day; and back.
TEST_F(CalendarTest, DatesAcrossCalendarsAndEras)
{
    struct Case { TcxCalendarID id; TDateTime date; int era, year, month, day; };
    const Case cases[] = {
        {1, D(2024, 2, 29), -1, 2024, 2, 29},
        {3, D(1989, 1, 7), 2, 64, 1, 7},      // last day of Showa
        {3, D(1989, 1, 8), 3, 1, 1, 8},       // first day of Heisei
        {3, D(1912, 7, 30), 1, 1, 7, 30},
        {3, D(1868, 9, 8), 0, 1, 9, 8},
        {4, D(2000, 5, 1), 0, 89, 5, 1},
        {5, D(2000, 1, 1), 0, 4333, 1, 1},
        {7, D(2000, 1, 1), 0, 2543, 1, 1},
        {6, D(2000, 4, 5), -1, 1421, 1, 1},   // day 1 of the era is 18 July 622
        {8, D(2000, 1, 1), -1, 5760, 4, 23},
        {8, D(1999, 9, 11), -1, 5760, 1, 1},  // Rosh Hashana 5760
        {8, D(2024, 1, 1), -1, 5784, 4, 20},
        {8, D(1585, 1, 1), -1, 5345, 5, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "calendar " << c.id << " date " << c.date);
        Table t = Calendar(c.id);
        const TDateTime moment = cxComposeDateTime(c.date, 0.75);
        TcxDateTime d = t->FromDateTime(moment);
        EXPECT_EQ(d.Era, c.era);
        EXPECT_EQ(d.Year, c.year);
        EXPECT_EQ(d.Month, c.month);
        EXPECT_EQ(d.Day, c.day);
        EXPECT_EQ(d.Hours, 18);
        EXPECT_DOUBLE_EQ(t->ToDateTime(d), moment);
    }
}

TEST_F(CalendarTest, JapaneseBeforeFirstEraCountsFromDefaultEra)
{
    Table t = Calendar(3);
    TcxDateTime d = t->FromDateTime(D(1800, 6, 1));
    EXPECT_EQ(d.Era, -1);
    EXPECT_EQ(d.Year, 1800 - 1988);
    // A Meiji date moved back into Meiji by months keeps a Meiji year.
    EXPECT_DOUBLE_EQ(t->AddMonths(D(1912, 8, 15), -1), D(1912, 7, 15));
}

TEST_F(CalendarTest, LeapRulesAndLengths)
{
    Table g = Calendar(1), h = Calendar(6), he = Calendar(8);
    EXPECT_TRUE(g->IsLeapYear(2000));
    EXPECT_FALSE(g->IsLeapYear(1900));
    EXPECT_TRUE(g->IsLeapDay(2024, 2, 29));
    EXPECT_EQ(g->GetDaysInYear(2023), 365);
    EXPECT_TRUE(h->IsLeapYear(15));
    EXPECT_FALSE(h->IsLeapYear(16));
    EXPECT_EQ(h->GetDaysInMonth(15, 12), 30);
    EXPECT_EQ(h->GetDaysInMonth(16, 12), 29);
    EXPECT_EQ(he->GetDaysInYear(5760), 385);
    EXPECT_EQ(he->GetMonthsInYear(5784), 13);
    EXPECT_EQ(he->GetDaysInYear(5761), 353);
    EXPECT_FALSE(he->IsLeapYear(6000));
    EXPECT_EQ(he->GetDaysInYear(5342), 0);
    EXPECT_EQ(he->GetDaysInMonth(6000, 1), 0);
    EXPECT_TRUE(he->IsLeapMonth(5784, 7));
    // Every Hebrew year of the table: its months add up to its length, and 1 Tishri of the next
    // year follows the last day of this one.
    for (int y = 5343; y < 5999; ++y) {
        int sum = 0;
        for (int m = 1; m <= he->GetMonthsInYear(y); ++m)
            sum += he->GetDaysInMonth(y, m);
        ASSERT_EQ(sum, he->GetDaysInYear(y)) << y;
        ASSERT_DOUBLE_EQ(he->ToDateTime(y + 1, 1, 1) - he->ToDateTime(y, 1, 1), sum) << y;
    }
}

TEST_F(CalendarTest, RoundTripsOverEveryDayOfLunarCalendars)
{
    Table h = Calendar(6), he = Calendar(8);
    for (TDateTime x = D(1583, 1, 1); x < D(2239, 9, 29); x += 1) {
        ASSERT_DOUBLE_EQ(he->ToDateTime(he->FromDateTime(x)), x) << x;
        ASSERT_DOUBLE_EQ(h->ToDateTime(h->FromDateTime(x)), x) << x;
    }
}

TEST_F(CalendarTest, InvalidDatesGiveFirstSupportedDate)
{
    Table g = Calendar(1), j = Calendar(3), he = Calendar(8);
    EXPECT_DOUBLE_EQ(g->ToDateTime(2023, 2, 29), g->GetMinSupportedDate());
    EXPECT_DOUBLE_EQ(j->ToDateTime(0, 1, 1), D(1868, 9, 8));
    EXPECT_DOUBLE_EQ(he->ToDateTime(5760, 14, 1), D(1583, 1, 1));
    EXPECT_DOUBLE_EQ(g->AddMonths(TcxDateTime{-1, 2023, 13, 1}, 1), g->GetMinSupportedDate());
    EXPECT_FALSE(g->IsValidDate(NullDate));
    // Out-of-range values are clamped.
    TcxDateTime far = he->FromDateTime(D(2500, 1, 1));
    EXPECT_EQ(far.Year, 5999);
}

TEST_F(CalendarTest, AddingMonthsYearsAndDays)
{
    Table g = Calendar(1), he = Calendar(8);
    EXPECT_DOUBLE_EQ(g->AddMonths(D(2024, 1, 31), 1), D(2024, 2, 29));
    EXPECT_DOUBLE_EQ(g->AddMonths(D(2023, 1, 31), 13), D(2024, 2, 29));
    EXPECT_DOUBLE_EQ(g->AddMonths(D(2024, 3, 15), -15), D(2022, 12, 15));
    EXPECT_DOUBLE_EQ(g->AddYears(D(2024, 2, 29), 1), D(2025, 2, 28));
    EXPECT_DOUBLE_EQ(g->AddWeeks(D(2024, 2, 26), 1), D(2024, 3, 4));
    EXPECT_DOUBLE_EQ(g->AddDays(g->FromDateTime(9999, 12, 31), 5), g->GetMaxSupportedDate());
    // 13 months in a Hebrew leap year: Elul 5783 + 13 months is Elul 5784.
    TcxDateTime elul = he->FromDateTime(he->AddMonths(he->ToDateTime(5783, 12, 10), 13));
    EXPECT_EQ(elul.Year, 5784);
    EXPECT_EQ(elul.Month, 13);
}

TEST_F(CalendarTest, EraListAssignAndNumberReading)
{
    Table j = Calendar(3);
    TcxEra era(9, D(2019, 5, 1), 2018, 1, 100);
    j->Eras()->SetItems(3, &era);
    EXPECT_EQ(j->Eras()->Items(3)->YearOffset, 2018);
    EXPECT_NE(j->Eras()->Items(3), &era);

    Table g = Calendar(1);
    EXPECT_EQ(g->GetYearNumber("29"), 2029);
    EXPECT_EQ(g->GetYearNumber("30"), 1930);
    EXPECT_EQ(g->GetYearNumber("123"), 123);
    EXPECT_EQ(g->GetMonthNumber(2024, "三月"), 3);
    EXPECT_EQ(g->GetMonthNumber(2024, "3月"), 3);
    EXPECT_THROW(g->GetDayNumber("x"), EConvertError);
    // Without a two-digit limit every two-digit year falls a century back.
    fixed->SetCalendarInfo(1, rtl::CAL_ITWODIGITYEARMAX, "");
    EXPECT_EQ(g->GetYearNumber("5"), -95);

    Table he = Calendar(8);
    EXPECT_EQ(TcxHebrewCalendarTable::HebrewNumber("\xD7\xAA\xD7\xA9\xD7\xA1"), 760);   // tav shin samekh
    EXPECT_EQ(he->GetYearNumber("\xD7\xAA\xD7\xA9\xD7\xA1"), 5760);
    EXPECT_EQ(TcxHebrewCalendarTable::HebrewNumber("\xD7\x9A\xD7\xA3\xD7\xA5"), 190);   // final kaf, pe, tsadi
}

TEST_F(CalendarTest, WeeksOfTheCalendars)
{
    Table g = Calendar(1), h = Calendar(6);
    EXPECT_EQ(g->GetFullWeeksInYear(2016), 53);   // leap year starting on a Friday
    EXPECT_EQ(g->GetFullWeeksInYear(2022), 53);   // starting on a Saturday
    EXPECT_EQ(g->GetFullWeeksInYear(2020), 52);
    EXPECT_EQ(g->GetWeekNumber(D(2024, 12, 31), dMonday, fwyFirstFourDays), 1);
    EXPECT_DOUBLE_EQ(g->GetFirstDayOfWeek(D(2024, 3, 13) + 0.5, dMonday), D(2024, 3, 11) + 0.5);
    EXPECT_DOUBLE_EQ(g->GetFirstDayOfWeek(D(2024, 3, 10), dMonday), D(2024, 3, 4));
    EXPECT_EQ(h->GetWeekNumber(h->ToDateTime(1421, 1, 1), dSaturday, fwyJan1), 1);
    EXPECT_EQ(h->GetWeekNumber(h->ToDateTime(1421, 1, 20), dSaturday, fwyJan1), 4);
}
