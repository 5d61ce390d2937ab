// The Hebrew calendar table for the Gregorian years 1583 to 2239. The per-year table (the Hebrew
// date of 1 January and the type of the Hebrew year) is computed once from the calendar's rules:
// the molad of Tishri and the postponements give each year's first day.
#include <array>
#include <cmath>

#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxDateUtils.h"

namespace cx {

namespace {
constexpr int FirstGregorianYear = 1583;
constexpr int LastGregorianYear = 2239;
constexpr int HebrewYearDelta = 3760;

// Month lengths by row (the year type, 4..6 in a leap year); months 1 (Tishri) to 13.
constexpr int MonthDays[7][14] = {
    {0},
    {0, 30, 29, 29, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 30, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 29, 29, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
    {0, 30, 29, 30, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
    {0, 30, 30, 30, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
};

long long ElapsedDays(long long year)
{
    long long months = (235 * year - 234) / 19;
    long long parts = 12084 + 13753 * months;
    long long day = 29 * months + parts / 25920;
    if ((3 * (day + 1)) % 7 < 3)
        ++day;
    return day;
}

// Fixed day number (1 = 0001-01-01 of the proleptic Gregorian calendar) of 1 Tishri.
long long NewYear(long long year)
{
    long long ny0 = ElapsedDays(year - 1), ny1 = ElapsedDays(year), ny2 = ElapsedDays(year + 1);
    long long correction = ny2 - ny1 == 356 ? 2 : ny1 - ny0 == 382 ? 1 : 0;
    return -1373427 + ny1 + correction;
}

struct YearRow {
    int janFirst;   // coded Hebrew date of 1 January
    int type;       // 1..3, 4..6 in a leap year
};

std::array<YearRow, LastGregorianYear - FirstGregorianYear + 1> BuildTable()
{
    std::array<YearRow, LastGregorianYear - FirstGregorianYear + 1> table{};
    for (int g = FirstGregorianYear; g <= LastGregorianYear; ++g) {
        long long h = g + HebrewYearDelta;
        long long start = NewYear(h);
        int length = static_cast<int>(NewYear(h + 1) - start);
        int type = length % 10 - 2;   // 353..355 -> 1..3, 383..385 -> 1..3
        if (length > 380)
            type += 3;
        long long jan1 = static_cast<long long>(EncodeDate(g, 1, 1) + DateDelta);
        int offset = static_cast<int>(jan1 - start);
        int month = 1;
        while (offset >= MonthDays[type][month])
            offset -= MonthDays[type][month++];
        int day = offset + 1;
        int coded = day;
        if (month == 5)
            coded = day == 1 ? 0 : day == 2 ? 31 : 32;
        else if (month == 3)
            coded = day == 29 ? 33 : 30;
        table[g - FirstGregorianYear] = {coded, type};
    }
    return table;
}

const YearRow& Row(int gregorianYear)
{
    static const auto table = BuildTable();
    return table[gregorianYear - FirstGregorianYear];
}

bool InTable(int hebrewYear) { return hebrewYear >= 5343 && hebrewYear <= 5999; }

int DayOfYear(int row, int month, int day)
{
    int result = day;
    for (int m = 1; m < month; ++m)
        result += MonthDays[row][m];
    return result;
}
} // namespace

TDateTime TcxHebrewCalendarTable::GetMinSupportedDate() const { return EncodeDate(1583, 1, 1); }
TDateTime TcxHebrewCalendarTable::GetMaxSupportedDate() const
{
    return EncodeDate(2239, 9, 29) + EncodeTime(23, 59, 59, 999);
}

int TcxHebrewCalendarTable::GetYearType(int year) const
{
    if (!InTable(year))
        return 0;
    int type = Row(year - HebrewYearDelta).type;
    return type > 3 ? type - 3 : type;
}

bool TcxHebrewCalendarTable::IsLeapYear(int, int year) const
{
    return InTable(year) && Row(year - HebrewYearDelta).type > 3;
}

int TcxHebrewCalendarTable::GetDaysInYear(int era, int year) const
{
    if (!IsValidYear(era, year))
        return 0;
    return 352 + GetYearType(year) + (IsLeapYear(era, year) ? 30 : 0);
}

int TcxHebrewCalendarTable::GetDaysInMonth(int era, int year, int month) const
{
    if (!IsValidMonth(era, year, month))
        return 0;
    return MonthDays[Row(year - HebrewYearDelta).type][month];
}

bool TcxHebrewCalendarTable::IsLeapMonth(int era, int year, int month) const
{
    return IsValidMonth(era, year, month) && IsLeapYear(era, year) && month == 7;
}

bool TcxHebrewCalendarTable::IsLeapDay(int era, int year, int month, int day) const
{
    return IsValidDay(era, year, month, day) && IsLeapMonth(era, year, month);
}

void TcxHebrewCalendarTable::GetLunarMonthDay(int gregorianYear, TcxDate& date)
{
    int v = Row(gregorianYear).janFirst;
    switch (v) {
    case 0: date.Month = 5; date.Day = 1; break;
    case 31: date.Month = 5; date.Day = 2; break;
    case 32: date.Month = 5; date.Day = 3; break;
    case 33: date.Month = 3; date.Day = 29; break;
    case 30: date.Month = 3; date.Day = 30; break;
    default: date.Month = 4; date.Day = v; break;
    }
}

int TcxHebrewCalendarTable::GetDayDifference(int row, int month, int day, int month0, int day0)
{
    return DayOfYear(row, month, day) - DayOfYear(row, month0, day0);
}

TDateTime TcxHebrewCalendarTable::ToDateTime(const TcxDateTime& date) const
{
    TDateTime result;
    if (IsNotValid(date, result))
        return result;
    int g = date.Year - HebrewYearDelta;
    TcxDate jan1;
    GetLunarMonthDay(g, jan1);
    TDateTime day = EncodeDate(g, 1, 1) +
                    GetDayDifference(Row(g).type, date.Month, date.Day, jan1.Month, jan1.Day);
    TDateTime time = ((date.Hours * 60.0 + date.Minutes) * 60.0 + date.Seconds) * 1000.0 / MSecsPerDay +
                     date.Milliseconds / MSecsPerDay;
    return cxComposeDateTime(day, time);
}

TcxDateTime TcxHebrewCalendarTable::FromDateTime(TDateTime value) const
{
    TDateTime x = value;
    CheckDateTime(x);
    // Whole days throughout: a moment late on the day before 1 Tishri still belongs to that day.
    const long long day = static_cast<long long>(std::floor(x < 0 ? std::trunc(x) : x));
    TcxDateTime r;
    int h, mi, s, ms;
    DecodeTime(x, h, mi, s, ms);
    r.Hours = Byte(h);
    r.Minutes = Byte(mi);
    r.Seconds = Byte(s);
    r.Milliseconds = Word(ms);
    int gy, gm, gd;
    DecodeDate(x, gy, gm, gd);
    int year = gy + HebrewYearDelta;
    int month = 1;
    auto firstOf = [&](int y, int m) { return static_cast<long long>(ToDateTime(y, m, 1)); };
    long long d = day - firstOf(year, month) + 1;
    while (d < 1) {
        if (--month < 1) {
            --year;
            month = GetMonthsInYear(year);
        }
        d = day - firstOf(year, month) + 1;
    }
    while (d > GetDaysInMonth(year, month)) {
        if (++month > GetMonthsInYear(year)) {
            month = 1;
            ++year;
        }
        d = day - firstOf(year, month) + 1;
    }
    r.Year = year;
    r.Month = month;
    r.Day = static_cast<int>(d);
    return r;
}

int TcxHebrewCalendarTable::HebrewNumber(const std::string& text)
{
    // Values of the letters from alef (U+05D0) to tav (U+05EA); the final forms count like their
    // letters, final kaf and final pe included.
    static const int values[27] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 20, 30, 40, 40, 50, 50, 60, 70, 80, 80,
                                   90, 90, 100, 200, 300, 400};
    int sum = 0;
    std::u16string wide = Utf8ToUtf16(text);
    for (char16_t c : wide)
        if (c >= 0x05D0 && c <= 0x05EA)
            sum += values[c - 0x05D0];
    return sum;
}

int TcxHebrewCalendarTable::GetYearNumber(const std::string& text) const
{
    int n = HebrewNumber(text);
    return n != 0 ? n + 5000 : TcxCustomCalendarTable::GetYearNumber(text);
}

int TcxHebrewCalendarTable::GetDayNumber(const std::string& text) const
{
    int n = HebrewNumber(text);
    return n != 0 ? n : TcxCustomCalendarTable::GetDayNumber(text);
}

int TcxHebrewCalendarTable::GetMonthNumber(int year, const std::string& text) const
{
    int n = HebrewNumber(text);
    if (n != 0 && IsValidMonth(year, n))
        return n;
    for (int m = 1; m <= 13; ++m)
        if (AnsiCompareText(cxGetLocalMonthName(year, m, this), text) == 0 ||
            AnsiCompareText(cxDayNumberToLocalFormatStr(m, this), text) == 0)
            return m;
    return TcxCustomCalendarTable::GetMonthNumber(year, text);
}

} // namespace cx
