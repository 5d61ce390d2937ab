// Calendar tables: the common rules, Gregorian and the era calendars (Japanese, Taiwan, Korean,
// Thai), Hijri. The Hebrew table is in cxDateUtilsHebrew.cpp, the date text in cxDateUtilsText.cpp.
#include "toolkit/core/cxDateUtils.h"

#include <cmath>

namespace cx {

TDateTime cxComposeDateTime(TDateTime date, TDateTime time)
{
    return date < 0 ? date - time : date + time;
}

namespace {
TDateTime TimeOfFields(const TcxDateTime& d)
{
    return ((d.Hours * 60.0 + d.Minutes) * 60.0 + d.Seconds) * 1000.0 / MSecsPerDay + d.Milliseconds / MSecsPerDay;
}

void SetTimeFields(TcxDateTime& d, TDateTime value)
{
    int h, m, s, ms;
    DecodeTime(value, h, m, s, ms);
    d.Hours = Byte(h);
    d.Minutes = Byte(m);
    d.Seconds = Byte(s);
    d.Milliseconds = Word(ms);
}

TDateTime SafeEncodeDate(int year, int month, int day)
{
    TDateTime r;
    return TryEncodeDate(year, month, day, r) ? r : NullDate;
}
} // namespace

// --- TcxEra -------------------------------------------------------------------------------------
TcxEra::TcxEra(int era, TDateTime startDate, int yearOffset, int minEraYear, int maxEraYear)
    : Era(era), MaxEraYear(maxEraYear), MinEraYear(minEraYear), StartDate(startDate), YearOffset(yearOffset)
{
}

void TcxEra::Assign(TPersistent* source)
{
    // Copying an era is what Assign is for; only other kinds go to the inherited rule (which
    // raises), so setting an item of an era list works.
    if (auto* era = dynamic_cast<TcxEra*>(source)) {
        Era = era->Era;
        MaxEraYear = era->MaxEraYear;
        MinEraYear = era->MinEraYear;
        StartDate = era->StartDate;
        YearOffset = era->YearOffset;
        return;
    }
    TPersistent::Assign(source);
}

// --- TcxCustomCalendarTable ---------------------------------------------------------------------
TcxCustomCalendarTable::TcxCustomCalendarTable() : eras_(new TcxEras) {}

TcxCustomCalendarTable::~TcxCustomCalendarTable()
{
    eras_->Clear();
    eras_->Free();
}

void TcxCustomCalendarTable::YearToGregorianYear(int& year, int era) const
{
    if (era == -1) {
        if (TcxEra* def = GetDefaultEra())
            year += def->YearOffset;
    } else if (era >= 0 && era < eras_->Count()) {
        year += eras_->Items(era)->YearOffset;
    }
}

void TcxCustomCalendarTable::AdjustYear(int& year, int& era, int month, int day)
{
    int g = year;
    YearToGregorianYear(g, era);
    int found = GetEra(g, month, day);
    era = found;
    // Every era the date falls into re-expresses the year, the first of a list too (a Japanese
    // year moved into Meiji must count from Meiji); a date before every era counts from the
    // default era, as FromDateTime does.
    if (found >= 0)
        year = g - eras_->Items(found)->YearOffset;
    else if (eras_->Count() > 0 && GetDefaultEra())
        year = g - GetDefaultEra()->YearOffset;
}

int TcxCustomCalendarTable::GetEra(int year, int month, int day) const
{
    if (eras_->Count() == 0)
        return -1;
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date))
        return -1;
    int result = -1;
    for (int i = 0; i < eras_->Count(); ++i)
        if (eras_->Items(i)->StartDate <= date)
            result = i;
    return result;
}

void TcxCustomCalendarTable::CheckDateTime(TDateTime& value) const
{
    if (value < GetMinSupportedDate())
        value = GetMinSupportedDate();
    if (value > GetMaxSupportedDate())
        value = GetMaxSupportedDate();
}

bool TcxCustomCalendarTable::IsNotValid(const TcxDateTime& date, TDateTime& result) const
{
    if (IsValidDay(date.Era, date.Year, date.Month, date.Day))
        return false;
    result = GetMinSupportedDate();
    return true;
}

bool TcxCustomCalendarTable::IsValidYear(int, int year) const
{
    return year >= GetMinSupportedYear() && year <= GetMaxSupportedYear();
}

bool TcxCustomCalendarTable::IsValidMonth(int era, int year, int month) const
{
    return IsValidYear(era, year) && month >= 1 && month <= GetMonthsInYear(era, year);
}

bool TcxCustomCalendarTable::IsValidDay(int era, int year, int month, int day) const
{
    return IsValidMonth(era, year, month) && day >= 1 && day <= GetDaysInMonth(era, year, month);
}

bool TcxCustomCalendarTable::IsValidDate(TDateTime date) const
{
    TcxDateTime d = FromDateTime(date);
    return IsValidDay(-1, d.Year, d.Month, d.Day);
}

TDateTime TcxCustomCalendarTable::AddDays(const TcxDateTime& date, int days) const
{
    TDateTime r = ToDateTime(date);
    r = cxComposeDateTime(std::trunc(r) + days, std::fabs(r - std::trunc(r)));
    CheckDateTime(r);
    return r;
}

TDateTime TcxCustomCalendarTable::AddWeeks(const TcxDateTime& date, int weeks) const
{
    TDateTime r = AddDays(date, 7 * weeks);
    CheckDateTime(r);
    return r;
}

TDateTime TcxCustomCalendarTable::AddMonths(const TcxDateTime& date, int months) const
{
    TDateTime result;
    if (IsNotValid(date, result))
        return result;
    TcxDateTime d = date;
    int m = d.Month + months;
    while (m > GetMonthsInYear(d.Era, d.Year) || m <= 0) {
        if (m > 0) {
            m -= GetMonthsInYear(d.Era, d.Year);
            ++d.Year;
        } else {
            --d.Year;
            m += GetMonthsInYear(d.Era, d.Year);
        }
        if (!IsValidYear(d.Era, d.Year))
            return GetMinSupportedDate();
    }
    d.Month = m;
    if (d.Day > GetDaysInMonth(d.Era, d.Year, d.Month))
        d.Day = GetDaysInMonth(d.Era, d.Year, d.Month);
    const_cast<TcxCustomCalendarTable*>(this)->AdjustYear(d.Year, d.Era, d.Month, d.Day);
    if (!IsValidDay(d.Era, d.Year, d.Month, d.Day))
        return GetMinSupportedDate();
    result = ToDateTime(d);
    CheckDateTime(result);
    return result;
}

TDateTime TcxCustomCalendarTable::AddYears(const TcxDateTime& date, int years) const
{
    TDateTime result;
    if (IsNotValid(date, result))
        return result;
    TcxDateTime d = date;
    d.Year += years;
    auto* self = const_cast<TcxCustomCalendarTable*>(this);
    self->AdjustYear(d.Year, d.Era);
    if (!IsValidYear(d.Era, d.Year))
        return GetMinSupportedDate();
    if (d.Month > GetMonthsInYear(d.Era, d.Year))
        d.Month = GetMonthsInYear(d.Era, d.Year);
    if (d.Day > GetDaysInMonth(d.Era, d.Year, d.Month))
        d.Day = GetDaysInMonth(d.Era, d.Year, d.Month);
    self->AdjustYear(d.Year, d.Era, d.Month, d.Day);
    result = ToDateTime(d);
    CheckDateTime(result);
    return result;
}

TcxDateTime TcxCustomCalendarTable::FromDateTime(int year, int month, int day) const
{
    return FromDateTime(SafeEncodeDate(year, month, day));
}

TcxDateTime TcxCustomCalendarTable::FromDateTime(int year, int month, int day, int hours, int minutes,
                                                 int seconds, int msec) const
{
    TDateTime t = 0;
    TryEncodeTime(hours, minutes, seconds, msec, t);
    return FromDateTime(cxComposeDateTime(SafeEncodeDate(year, month, day), t));
}

int TcxCustomCalendarTable::GetDayOfYear(const TcxDateTime& date) const
{
    int result = date.Day;
    for (int m = 1; m < date.Month; ++m)
        result += GetDaysInMonth(date.Era, date.Year, m);
    return result;
}

int TcxCustomCalendarTable::GetWeekDay(TDateTime date) const { return DayOfWeek(date) - 1; }

TDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(TDateTime date, TDay startDay) const
{
    int w = GetWeekDay(date);
    int d = startDay;
    int shift = w >= d ? d - w : d - w - 7;
    return cxComposeDateTime(std::trunc(date) + shift, std::fabs(date - std::trunc(date)));
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(const TcxDateTime& date, TDay startDay) const
{
    int w = GetWeekDay(date);
    int d = startDay;
    return FromDateTime(AddDays(date, w >= d ? d - w : d - w - 7));
}

TDateTime TcxCustomCalendarTable::ToDateTime(const TcxDate& date) const
{
    TcxDateTime d;
    d.Era = date.Era;
    d.Year = date.Year;
    d.Month = date.Month;
    d.Day = date.Day;
    return ToDateTime(d);
}

TDateTime TcxCustomCalendarTable::ToDateTime(int year, int month, int day) const
{
    return ToDateTime(TcxDate{-1, year, month, day});
}

TDateTime TcxCustomCalendarTable::ToDateTime(int year, int month, int day, int hours, int minutes, int seconds,
                                             int msec) const
{
    TcxDateTime d{-1, year, month, day, Byte(hours), Byte(minutes), Byte(seconds), Word(msec)};
    return ToDateTime(d);
}

int TcxCustomCalendarTable::GetDayNumber(const std::string& text) const { return StrToInt(text); }

int TcxCustomCalendarTable::GetMonthNumber(int, const std::string& text) const
{
    const TFormatSettings& fs = rtl::FormatSettings();
    for (int i = 0; i < 12; ++i)
        if (AnsiCompareText(fs.LongMonthNames[i], text) == 0 || AnsiCompareText(fs.ShortMonthNames[i], text) == 0)
            return i + 1;
    return StrToInt(text);
}

int TcxCustomCalendarTable::GetYearNumber(const std::string& text) const
{
    int n = StrToInt(text);
    if (text.size() > 2)
        return n;
    Cardinal limit = 0;
    cxGetCalendarInfo(LocaleService().ThreadLocale(), GetCalendarID(), CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER,
                      &limit, 0, nullptr);
    int l = static_cast<int>(limit);
    int result = n + (l / 100) * 100;
    if (l % 100 < n)
        result -= 100;
    return result;
}

int TcxCustomCalendarTable::LunarWeekNumber(const TcxDateTime& date, TDay startDay, TcxFirstWeekOfYear rule) const
{
    if (rule == fwySystem)
        rule = TcxFirstWeekOfYear(StrToInt(cxGetLocaleInfo(LocaleService().ThreadLocale(), rtl::LOCALE_IFIRSTWEEKOFYEAR, "0")) + 1);
    TDateTime s = GetFirstDayOfWeek(ToDateTime(date.Year, 1, 1), startDay);
    if (rule == fwyFirstFullWeek && FromDateTime(s).Year < date.Year)
        s += 7;
    if (rule == fwyFirstFourDays && FromDateTime(s + 3).Year < date.Year)
        s += 7;
    int week = static_cast<int>(std::trunc(std::trunc(ToDateTime(date)) - s)) / 7 + 1;
    if (date.Month == GetMonthsInYear(date.Era, date.Year)) {
        TDateTime r = ToDateTime(GetFirstDayOfWeek(date, startDay));
        if (rule == fwyJan1 && FromDateTime(r + 6).Month == 1)
            week = 1;
        if (rule == fwyFirstFourDays && FromDateTime(r + 3).Month == 1)
            week = 1;
    }
    return week;
}

// --- Gregorian ------------------------------------------------------------------------------------
TcxGregorianCalendarTable::TcxGregorianCalendarTable() : defaultEra_(new TcxEra(-1, NullDate, 0, 1, 9999)) {}

TcxGregorianCalendarTable::~TcxGregorianCalendarTable()
{
    if (defaultEra_)
        defaultEra_->Free();
}

TDateTime TcxGregorianCalendarTable::GetMaxSupportedDate() const { return cxMaxDateTime; }
TDateTime TcxGregorianCalendarTable::GetMinSupportedDate() const { return -657434.0; }
int TcxGregorianCalendarTable::GetMaxSupportedYear() const { return MaxYear; }
int TcxGregorianCalendarTable::GetMinSupportedYear() const { return MinYear; }

TcxDateTime TcxGregorianCalendarTable::FromDateTime(TDateTime value) const
{
    TcxDateTime d;
    int y, m, day;
    DecodeDate(value, y, m, day);
    d.Year = y;
    d.Month = m;
    d.Day = day;
    SetTimeFields(d, value);
    return d;
}

TDateTime TcxGregorianCalendarTable::ToDateTime(const TcxDateTime& date) const
{
    TDateTime result;
    if (IsNotValid(date, result))
        return result;
    int g = date.Year;
    YearToGregorianYear(g, date.Era);
    return cxComposeDateTime(EncodeDate(g, date.Month, date.Day), TimeOfFields(date));
}

bool TcxGregorianCalendarTable::IsLeapYear(int era, int year) const
{
    YearToGregorianYear(year, era);
    return rtl::IsLeapYear(year);
}

bool TcxGregorianCalendarTable::IsLeapMonth(int era, int year, int month) const
{
    return IsLeapYear(era, year) && month == 2;
}

bool TcxGregorianCalendarTable::IsLeapDay(int era, int year, int month, int day) const
{
    return IsLeapMonth(era, year, month) && day == 29;
}

int TcxGregorianCalendarTable::GetDaysInMonth(int era, int year, int month) const
{
    if (month == 2)
        return IsLeapYear(era, year) ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

int TcxGregorianCalendarTable::GetDaysInYear(int era, int year) const { return IsLeapYear(era, year) ? 366 : 365; }

Byte TcxGregorianCalendarTable::GetFirstWeekDay() const
{
    switch (calendarType_) {
    case 9: case 11: case 12: return dMonday;
    case 10: return dSaturday;
    default: return dSunday;
    }
}

int TcxGregorianCalendarTable::GetFullWeeksInYear(int year) const
{
    int w = GetWeekDay(ToDateTime(year, 1, 1)) - GetFirstWeekDay();
    if (w < 0)
        w += 7;
    return (IsLeapYear(year) && w > 4) || w > 5 ? 53 : 52;
}

int TcxGregorianCalendarTable::GetWeekNumber(const TcxDateTime& date, TDay startDay, TcxFirstWeekOfYear rule) const
{
    return cx::GetWeekNumber(ToDateTime(date), startDay, rule);
}

// --- Japanese family --------------------------------------------------------------------------------
TcxJapaneseCalendarTable::TcxJapaneseCalendarTable() : TcxGregorianCalendarTable(NoDefaultEra{})
{
    Eras()->Add(new TcxEra(1, EncodeDate(1868, 9, 8), 1867, 1, 45));
    Eras()->Add(new TcxEra(2, EncodeDate(1912, 7, 30), 1911, 1, 15));
    Eras()->Add(new TcxEra(3, EncodeDate(1926, 12, 25), 1925, 1, 64));
    Eras()->Add(new TcxEra(4, EncodeDate(1989, 1, 8), 1988, 1, 8011));
}

TDateTime TcxJapaneseCalendarTable::GetMaxSupportedDate() const { return EncodeDate(9999, 12, 31); }
TDateTime TcxJapaneseCalendarTable::GetMinSupportedDate() const { return EncodeDate(1868, 9, 8); }

TcxDateTime TcxJapaneseCalendarTable::FromDateTime(TDateTime value) const
{
    TcxDateTime d = TcxGregorianCalendarTable::FromDateTime(value);
    d.Era = GetEra(d.Year, d.Month, d.Day);
    TcxEra* era = d.Era >= 0 ? Eras()->Items(d.Era) : GetDefaultEra();
    d.Year -= era->YearOffset;
    return d;
}

TDateTime TcxJapaneseCalendarTable::ToDateTime(const TcxDateTime& date) const
{
    TDateTime result;
    if (IsNotValid(date, result))
        return result;
    int g = date.Year;
    YearToGregorianYear(g, date.Era);
    if (!TryEncodeDate(g, date.Month, date.Day, result))
        return GetMinSupportedDate();
    return cxComposeDateTime(result, TimeOfFields(date));
}

TcxSingleEraCalendarTable::TcxSingleEraCalendarTable(int era, TDateTime start, int offset, int minYear, int maxYear)
    : TcxJapaneseCalendarTable(EraList{})
{
    Eras()->Add(new TcxEra(era, start, offset, minYear, maxYear));
}

TcxTaiwanCalendarTable::TcxTaiwanCalendarTable()
    : TcxSingleEraCalendarTable(1, EncodeDate(1912, 1, 1), 1911, 1, 8088) {}
TcxKoreanCalendarTable::TcxKoreanCalendarTable()
    : TcxSingleEraCalendarTable(0, EncodeDate(1, 1, 1), -2333, 2334, 12332) {}
TcxThaiCalendarTable::TcxThaiCalendarTable()
    : TcxSingleEraCalendarTable(0, EncodeDate(1, 1, 1), -543, 544, 10542) {}

// --- Hijri ------------------------------------------------------------------------------------------
TcxLunarCalendarTableBase::TcxLunarCalendarTableBase() : defaultEra_(new TcxEra(-1, NullDate, 0, 1, 9999)) {}
TcxLunarCalendarTableBase::~TcxLunarCalendarTableBase() { defaultEra_->Free(); }

TDateTime TcxHijriCalendarTable::GetMinSupportedDate() const { return EncodeDate(622, 7, 16); }
TDateTime TcxHijriCalendarTable::GetMaxSupportedDate() const { return EncodeDate(9666, 4, 3); }

bool TcxHijriCalendarTable::IsLeapYear(int, int year) const
{
    switch (((year % 30) + 30) % 30) {
    case 2: case 5: case 7: case 10: case 13: case 15: case 18: case 21: case 24: case 26: case 29: return true;
    default: return false;
    }
}

bool TcxHijriCalendarTable::IsLeapMonth(int era, int year, int month) const { return IsLeapYear(era, year) && month == 12; }

bool TcxHijriCalendarTable::IsLeapDay(int era, int year, int month, int day) const
{
    return IsLeapMonth(era, year, month) && day == 30;
}

int TcxHijriCalendarTable::GetDaysInMonth(int era, int year, int month) const
{
    if (IsLeapMonth(era, year, month))
        return 30;
    return month % 2 == 0 ? 29 : 30;
}

namespace {
// Days of the Hijri years before year n + 1.
long long HijriDaysBefore(const TcxHijriCalendarTable& t, long long n)
{
    long long days = n * 354 + (n / 30) * 11;
    for (long long k = 1; k <= n % 30; ++k)
        if (t.IsLeapYear(static_cast<int>(k)))
            ++days;
    return days;
}
} // namespace

TcxDateTime TcxHijriCalendarTable::FromDateTime(TDateTime value) const
{
    TDateTime x = value;
    CheckDateTime(x);
    TcxDateTime r;
    SetTimeFields(r, x);
    long long d = static_cast<long long>(std::trunc(x - EncodeDate(1, 1, 1) + 1)) - 227013;
    long long n = d * 30 / 10631;
    int year = static_cast<int>(n + 1);
    d -= HijriDaysBefore(*this, n);
    // The estimate of the year can be one too far; a day count of 0 or less is in a year before.
    while (d <= 0) {
        --year;
        d += GetDaysInYear(year);
    }
    int month = 1;
    while (d > GetDaysInMonth(year, month)) {
        d -= GetDaysInMonth(year, month);
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    r.Year = year;
    r.Month = month;
    r.Day = static_cast<int>(d);
    return r;
}

TDateTime TcxHijriCalendarTable::ToDateTime(const TcxDateTime& date) const
{
    TDateTime result;
    if (IsNotValid(date, result))
        return result;
    long long t = HijriDaysBefore(*this, date.Year - 1) + 227013 + GetDayOfYear(date);
    return cxComposeDateTime(EncodeDate(1, 1, 1) + static_cast<double>(t) - 1, TimeOfFields(date));
}

int TcxHijriCalendarTable::GetMonthNumber(int year, const std::string& text) const
{
    for (int m = 1; m <= 12; ++m)
        if (AnsiCompareText(cxGetLocalMonthName(year, m, this), text) == 0)
            return m;
    return TcxCustomCalendarTable::GetMonthNumber(year, text);
}

// --- calendar functions -------------------------------------------------------------------------
TcxCustomCalendarTable* cxGetCalendar(TcxCalendarID id)
{
    switch (id) {
    case 3: return new TcxJapaneseCalendarTable;
    case 4: return new TcxTaiwanCalendarTable;
    case 5: return new TcxKoreanCalendarTable;
    case 6: return new TcxHijriCalendarTable;
    case 7: return new TcxThaiCalendarTable;
    case 8: return new TcxHebrewCalendarTable;
    default: {
        auto* t = new TcxGregorianCalendarTable;
        if (id == 1 || id == 2 || (id >= 9 && id <= 12))
            t->SetCalendarType(Byte(id));
        return t;
    }
    }
}

TcxCalendarID cxGetLocalCalendarID()
{
    int id = 0;
    std::string s = LocaleService().LocaleInfo(LocaleService().ThreadLocale(),
                                               rtl::LOCALE_ICALENDARTYPE | rtl::LOCALE_RETURN_NUMBER);
    return TryStrToInt(s, id) ? static_cast<TcxCalendarID>(id) : 0;
}

TcxCustomCalendarTable* cxGetLocalCalendar() { return cxGetCalendar(cxGetLocalCalendarID()); }

bool cxIsGregorianCalendar(const TcxCustomCalendarTable* table)
{
    TcxCalendarID id;
    if (table) {
        id = table->GetCalendarID();
    } else {
        TcxCustomCalendarTable* local = cxGetLocalCalendar();
        id = local->GetCalendarID();
        local->Free();
    }
    return id == 1 || id == 2 || (id >= 9 && id <= 12);
}

int cxGetCalendarInfo(Cardinal locale, TcxCalendarID calendar, Cardinal calType, Cardinal* value, int bufferLength,
                      std::string* buffer)
{
    std::string info = LocaleService().CalendarInfo(locale, calendar, calType);
    if (info.empty())
        return 0;
    if (calType & rtl::CAL_RETURN_NUMBER) {
        int n = 0;
        if (!TryStrToInt(info, n))
            return 0;
        if (value)
            *value = static_cast<Cardinal>(n);
        return 4;
    }
    if (buffer) {
        if (bufferLength > 0 && static_cast<int>(info.size()) >= bufferLength)
            return 0;   // the buffer is too small, as the system answers
        *buffer = info;
    }
    return static_cast<int>(info.size()) + 1;
}

} // namespace cx
