#pragma once
// cxDateUtils: calendar tables (Gregorian and its regional variants, Japanese, Taiwan, Korean,
// Hijri, Thai, Hebrew) converting between TDateTime and calendar dates, and the date and time
// text of the toolkit: locale readers, formatters, parsers, smart input and week numbers.
// The value NullDate (-700000) means "no date" everywhere: producers give an empty text for it
// and parsers answer it for an empty or unreadable text.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Locale.h"
#include "platform/rtl/Set.h"
#include "toolkit/core/cxClasses.h"

namespace cx {

using rtl::TFormatSettings;

inline constexpr TDateTime NullDate = -700000;

enum TcxCalendarAlgorithmType { catUnknown, catSolarCalendar, catLunarCalendar, catLunarSolarCalendar };
enum TDay { dSunday, dMonday, dTuesday, dWednesday, dThursday, dFriday, dSaturday };
using TDays = Set<TDay>;
enum TcxFirstWeekOfYear { fwySystem, fwyJan1, fwyFirstFullWeek, fwyFirstFourDays };
enum TcxDateElement { deYear, deMonth, deDay };
using TcxCalendarID = Cardinal;

// Years are era-relative in calendars with eras; they are signed here because a date before the
// first era is expressed relative to the default era and can fall below 1.
struct TcxDate {
    int Era = -1;   // -1: the calendar's default era
    int Year = 0;
    int Month = 0;
    int Day = 0;
};

struct TcxDateTime {
    int Era = -1;
    int Year = 0;
    int Month = 0;
    int Day = 0;
    Byte Hours = 0;
    Byte Minutes = 0;
    Byte Seconds = 0;
    Word Milliseconds = 0;
};

class TcxEra : public TPersistent {
    RTL_CLASS(TcxEra, TPersistent)
    TcxEra(int era, TDateTime startDate, int yearOffset, int minEraYear, int maxEraYear);
    void Assign(TPersistent* source) override;

    int Era;
    int MaxEraYear;
    int MinEraYear;
    TDateTime StartDate;
    int YearOffset;   // Gregorian year = era year + YearOffset
};

// Owns its eras; setting an item copies the new era into the stored one.
class TcxEras : public TcxObjectList {
    RTL_CLASS(TcxEras, TcxObjectList)
    TcxEras() : TcxObjectList(true) {}
    TcxEra* Items(int index) const { return static_cast<TcxEra*>(GetItem(index)); }
    void SetItems(int index, TcxEra* era) { Items(index)->Assign(era); }
};

class TcxCustomCalendarTable : public TObject {
    RTL_CLASS(TcxCustomCalendarTable, TObject)
    TcxCustomCalendarTable();
    ~TcxCustomCalendarTable() override;
    TcxEras* Eras() const { return eras_; }

    virtual void AdjustYear(int& year, int& era, int month, int day);
    void AdjustYear(int& year, int& era) { AdjustYear(year, era, 1, 1); }
    virtual TcxCalendarAlgorithmType GetCalendarAlgorithmType() const = 0;
    virtual TcxCalendarID GetCalendarID() const = 0;
    virtual TcxEra* GetDefaultEra() const = 0;
    virtual TDateTime GetMaxSupportedDate() const = 0;
    virtual TDateTime GetMinSupportedDate() const = 0;
    virtual void CheckDateTime(TDateTime& value) const;
    virtual int GetMaxSupportedYear() const = 0;
    virtual int GetMinSupportedYear() const = 0;

    TDateTime AddDays(const TcxDateTime& date, int days) const;
    TDateTime AddMonths(TDateTime date, int months) const { return AddMonths(FromDateTime(date), months); }
    TDateTime AddMonths(const TcxDateTime& date, int months) const;
    TDateTime AddYears(TDateTime date, int years) const { return AddYears(FromDateTime(date), years); }
    TDateTime AddYears(const TcxDateTime& date, int years) const;
    TDateTime AddWeeks(TDateTime date, int weeks) const { return AddWeeks(FromDateTime(date), weeks); }
    TDateTime AddWeeks(const TcxDateTime& date, int weeks) const;

    virtual TcxDateTime FromDateTime(TDateTime value) const = 0;
    TcxDateTime FromDateTime(int year, int month, int day) const;
    TcxDateTime FromDateTime(int year, int month, int day, int hours, int minutes, int seconds, int msec) const;

    int GetDayOfYear(TDateTime date) const { return GetDayOfYear(FromDateTime(date)); }
    int GetDayOfYear(const TcxDateTime& date) const;
    int GetDaysInMonth(int year, int month) const { return GetDaysInMonth(-1, year, month); }
    virtual int GetDaysInMonth(int era, int year, int month) const = 0;
    int GetDaysInYear(int year) const { return GetDaysInYear(-1, year); }
    virtual int GetDaysInYear(int era, int year) const = 0;
    int GetEra(int year) const { return GetEra(year, 1, 1); }
    virtual int GetEra(int year, int month, int day) const;

    TDateTime GetFirstDayOfWeek(TDateTime date) const { return GetFirstDayOfWeek(date, TDay(GetFirstWeekDay())); }
    TDateTime GetFirstDayOfWeek(TDateTime date, TDay startDay) const;
    TcxDateTime GetFirstDayOfWeek(const TcxDateTime& date) const { return GetFirstDayOfWeek(date, TDay(GetFirstWeekDay())); }
    TcxDateTime GetFirstDayOfWeek(const TcxDateTime& date, TDay startDay) const;
    virtual Byte GetFirstWeekDay() const = 0;
    virtual int GetFullWeeksInYear(int year) const = 0;

    int GetMonthsInYear(int year) const { return GetMonthsInYear(-1, year); }
    virtual int GetMonthsInYear(int era, int year) const = 0;
    int GetYear(TDateTime date) const { return FromDateTime(date).Year; }
    int GetYear(const TcxDate& date) const { return date.Year; }
    int GetYear(const TcxDateTime& date) const { return date.Year; }
    int GetWeekDay(TDateTime date) const;
    int GetWeekDay(const TcxDateTime& date) const { return GetWeekDay(ToDateTime(date)); }
    int GetWeekNumber(TDateTime date, TDay startDay, TcxFirstWeekOfYear rule) const
    {
        return GetWeekNumber(FromDateTime(date), startDay, rule);
    }
    virtual int GetWeekNumber(const TcxDateTime& date, TDay startDay, TcxFirstWeekOfYear rule) const = 0;

    bool IsLeapDay(int year, int month, int day) const { return IsLeapDay(-1, year, month, day); }
    virtual bool IsLeapDay(int era, int year, int month, int day) const = 0;
    bool IsLeapMonth(int year, int month) const { return IsLeapMonth(-1, year, month); }
    virtual bool IsLeapMonth(int era, int year, int month) const = 0;
    bool IsLeapYear(int year) const { return IsLeapYear(-1, year); }
    virtual bool IsLeapYear(int era, int year) const = 0;

    bool IsValidYear(int year) const { return IsValidYear(-1, year); }
    virtual bool IsValidYear(int era, int year) const;
    bool IsValidMonth(int year, int month) const { return IsValidMonth(-1, year, month); }
    virtual bool IsValidMonth(int era, int year, int month) const;
    bool IsValidDay(int year, int month, int day) const { return IsValidDay(-1, year, month, day); }
    virtual bool IsValidDay(int era, int year, int month, int day) const;
    virtual bool IsValidDate(TDateTime date) const;

    TDateTime ToDateTime(const TcxDate& date) const;
    TDateTime ToDateTime(int year, int month, int day) const;
    TDateTime ToDateTime(int year, int month, int day, int hours, int minutes, int seconds, int msec) const;
    virtual TDateTime ToDateTime(const TcxDateTime& date) const = 0;

    virtual int GetDayNumber(const std::string& text) const;
    virtual int GetMonthNumber(int year, const std::string& text) const;
    virtual int GetYearNumber(const std::string& text) const;

protected:
    void YearToGregorianYear(int& year, int era) const;
    bool IsNotValid(const TcxDateTime& date, TDateTime& result) const;
    // The week number of calendars without a Gregorian year (Hijri, Hebrew).
    int LunarWeekNumber(const TcxDateTime& date, TDay startDay, TcxFirstWeekOfYear rule) const;

private:
    TcxEras* eras_;
};

// The convenience overloads of the base stay visible beside a kind's overrides.
#define CX_CALENDAR_OVERLOADS                                                                    \
    using TcxCustomCalendarTable::FromDateTime;                                                  \
    using TcxCustomCalendarTable::GetDaysInMonth;                                                \
    using TcxCustomCalendarTable::GetDaysInYear;                                                 \
    using TcxCustomCalendarTable::GetMonthsInYear;                                               \
    using TcxCustomCalendarTable::GetWeekNumber;                                                 \
    using TcxCustomCalendarTable::IsLeapDay;                                                     \
    using TcxCustomCalendarTable::IsLeapMonth;                                                   \
    using TcxCustomCalendarTable::IsLeapYear;                                                    \
    using TcxCustomCalendarTable::ToDateTime;

class TcxGregorianCalendarTable : public TcxCustomCalendarTable {
    RTL_CLASS(TcxGregorianCalendarTable, TcxCustomCalendarTable)
    TcxGregorianCalendarTable();
    ~TcxGregorianCalendarTable() override;
    CX_CALENDAR_OVERLOADS

    TcxCalendarAlgorithmType GetCalendarAlgorithmType() const override { return catSolarCalendar; }
    TcxCalendarID GetCalendarID() const override { return calendarType_; }
    TcxEra* GetDefaultEra() const override { return defaultEra_; }
    TDateTime GetMaxSupportedDate() const override;
    TDateTime GetMinSupportedDate() const override;
    int GetMaxSupportedYear() const override;
    int GetMinSupportedYear() const override;
    TcxDateTime FromDateTime(TDateTime value) const override;
    int GetDaysInMonth(int era, int year, int month) const override;
    int GetDaysInYear(int era, int year) const override;
    Byte GetFirstWeekDay() const override;
    int GetFullWeeksInYear(int year) const override;
    int GetMonthsInYear(int era, int year) const override { return 12; }
    int GetWeekNumber(const TcxDateTime& date, TDay startDay, TcxFirstWeekOfYear rule) const override;
    bool IsLeapDay(int era, int year, int month, int day) const override;
    bool IsLeapMonth(int era, int year, int month) const override;
    bool IsLeapYear(int era, int year) const override;
    TDateTime ToDateTime(const TcxDateTime& date) const override;

    Byte CalendarType() const { return calendarType_; }
    void SetCalendarType(Byte type) { calendarType_ = type; }

protected:
    // For the Japanese family: their default era is an entry of the era list.
    struct NoDefaultEra {};
    explicit TcxGregorianCalendarTable(NoDefaultEra) : defaultEra_(nullptr) {}

private:
    TcxEra* defaultEra_;
    Byte calendarType_ = 1;
};

class TcxJapaneseCalendarTable : public TcxGregorianCalendarTable {
    RTL_CLASS(TcxJapaneseCalendarTable, TcxGregorianCalendarTable)
    TcxJapaneseCalendarTable();
    CX_CALENDAR_OVERLOADS
    TcxCalendarID GetCalendarID() const override { return 3; }
    TcxEra* GetDefaultEra() const override { return Eras()->Items(3); }
    TDateTime GetMaxSupportedDate() const override;
    TDateTime GetMinSupportedDate() const override;
    int GetMaxSupportedYear() const override { return 8011; }
    int GetMinSupportedYear() const override { return 1; }
    Byte GetFirstWeekDay() const override { return dSunday; }
    TcxDateTime FromDateTime(TDateTime value) const override;
    TDateTime ToDateTime(const TcxDateTime& date) const override;

protected:
    struct EraList {};
    explicit TcxJapaneseCalendarTable(EraList) : TcxGregorianCalendarTable(NoDefaultEra{}) {}
};

// One era each; their supported range is that era's.
class TcxSingleEraCalendarTable : public TcxJapaneseCalendarTable {
    RTL_CLASS(TcxSingleEraCalendarTable, TcxJapaneseCalendarTable)
    TcxSingleEraCalendarTable(int era, TDateTime start, int offset, int minYear, int maxYear);
    TcxEra* GetDefaultEra() const override { return Eras()->Items(0); }
    TDateTime GetMinSupportedDate() const override { return Eras()->Items(0)->StartDate; }
    int GetMaxSupportedYear() const override { return Eras()->Items(0)->MaxEraYear; }
    int GetMinSupportedYear() const override { return Eras()->Items(0)->MinEraYear; }
};

class TcxTaiwanCalendarTable : public TcxSingleEraCalendarTable {
    RTL_CLASS(TcxTaiwanCalendarTable, TcxSingleEraCalendarTable)
    TcxTaiwanCalendarTable();
    TcxCalendarID GetCalendarID() const override { return 4; }
};

class TcxKoreanCalendarTable : public TcxSingleEraCalendarTable {
    RTL_CLASS(TcxKoreanCalendarTable, TcxSingleEraCalendarTable)
    TcxKoreanCalendarTable();
    TcxCalendarID GetCalendarID() const override { return 5; }
};

class TcxThaiCalendarTable : public TcxSingleEraCalendarTable {
    RTL_CLASS(TcxThaiCalendarTable, TcxSingleEraCalendarTable)
    TcxThaiCalendarTable();
    TcxCalendarID GetCalendarID() const override { return 7; }
};

// The lunar calendars have a default era of their own and no era list.
class TcxLunarCalendarTableBase : public TcxCustomCalendarTable {
    RTL_CLASS(TcxLunarCalendarTableBase, TcxCustomCalendarTable)
    TcxLunarCalendarTableBase();
    ~TcxLunarCalendarTableBase() override;
    CX_CALENDAR_OVERLOADS
    TcxEra* GetDefaultEra() const override { return defaultEra_; }
    int GetWeekNumber(const TcxDateTime& date, TDay startDay, TcxFirstWeekOfYear rule) const override
    {
        return LunarWeekNumber(date, startDay, rule);
    }

private:
    TcxEra* defaultEra_;
};

class TcxHijriCalendarTable : public TcxLunarCalendarTableBase {
    RTL_CLASS(TcxHijriCalendarTable, TcxLunarCalendarTableBase)
    CX_CALENDAR_OVERLOADS
    TcxCalendarAlgorithmType GetCalendarAlgorithmType() const override { return catLunarCalendar; }
    TcxCalendarID GetCalendarID() const override { return 6; }
    TDateTime GetMaxSupportedDate() const override;
    TDateTime GetMinSupportedDate() const override;
    int GetMaxSupportedYear() const override { return 9666; }
    int GetMinSupportedYear() const override { return 1; }
    TcxDateTime FromDateTime(TDateTime value) const override;
    int GetDaysInMonth(int era, int year, int month) const override;
    int GetDaysInYear(int era, int year) const override { return IsLeapYear(era, year) ? 355 : 354; }
    Byte GetFirstWeekDay() const override { return dSaturday; }
    int GetFullWeeksInYear(int year) const override { return 50; }
    int GetMonthsInYear(int era, int year) const override { return 12; }
    bool IsLeapDay(int era, int year, int month, int day) const override;
    bool IsLeapMonth(int era, int year, int month) const override;
    bool IsLeapYear(int era, int year) const override;
    TDateTime ToDateTime(const TcxDateTime& date) const override;
    int GetMonthNumber(int year, const std::string& text) const override;
};

class TcxHebrewCalendarTable : public TcxLunarCalendarTableBase {
    RTL_CLASS(TcxHebrewCalendarTable, TcxLunarCalendarTableBase)
    CX_CALENDAR_OVERLOADS
    TcxCalendarAlgorithmType GetCalendarAlgorithmType() const override { return catLunarSolarCalendar; }
    TcxCalendarID GetCalendarID() const override { return 8; }
    TDateTime GetMaxSupportedDate() const override;
    TDateTime GetMinSupportedDate() const override;
    int GetMaxSupportedYear() const override { return 5999; }
    int GetMinSupportedYear() const override { return 5343; }
    TcxDateTime FromDateTime(TDateTime value) const override;
    int GetDaysInMonth(int era, int year, int month) const override;
    int GetDaysInYear(int era, int year) const override;
    Byte GetFirstWeekDay() const override { return dSunday; }
    int GetFullWeeksInYear(int year) const override { return GetDaysInYear(year) / 7; }
    int GetMonthsInYear(int era, int year) const override { return IsLeapYear(era, year) ? 13 : 12; }
    bool IsLeapDay(int era, int year, int month, int day) const override;
    bool IsLeapMonth(int era, int year, int month) const override;
    bool IsLeapYear(int era, int year) const override;
    TDateTime ToDateTime(const TcxDateTime& date) const override;
    int GetDayNumber(const std::string& text) const override;
    int GetMonthNumber(int year, const std::string& text) const override;
    int GetYearNumber(const std::string& text) const override;

    // The value of Hebrew letters (U+05D0..U+05EA, code page 1255 224..250); other characters 0.
    static int HebrewNumber(const std::string& text);
    // 1 deficient, 2 regular, 3 complete; 0 outside 5343..5999.
    int GetYearType(int year) const;
    // The Hebrew date (month, day) of 1 January of a Gregorian year 1583..2239.
    static void GetLunarMonthDay(int gregorianYear, TcxDate& date);
    // Signed days from (month0, day0) to (month, day) inside one year by the month lengths of a row.
    static int GetDayDifference(int row, int month, int day, int month0, int day0);
};

// --- calendar functions -------------------------------------------------------------------------
TcxCustomCalendarTable* cxGetCalendar(TcxCalendarID id);   // the caller frees it
TcxCalendarID cxGetLocalCalendarID();
TcxCustomCalendarTable* cxGetLocalCalendar();
bool cxIsGregorianCalendar(const TcxCustomCalendarTable* table = nullptr);
// GetCalendarInfoA: 0 when the locale has no such information; otherwise the number of characters
// written (with the terminating zero), or with CAL_RETURN_NUMBER the number in `value`.
int cxGetCalendarInfo(Cardinal locale, TcxCalendarID calendar, Cardinal calType, Cardinal* value,
                      int bufferLength, std::string* buffer);

// --- unit variables -------------------------------------------------------------------------------
using TcxSmartTextToDateFunc = std::function<bool(const std::string& text, TDateTime& date)>;
extern TcxSmartTextToDateFunc SmartTextToDateFunc;
extern double ApproxDaysPerMonth;
extern double ApproxDaysPerYear;
extern int MinYear;
extern int MaxYear;
extern TDateTime cxMaxDateTime;
extern bool cxUseSingleCharWeekNames;

// --- locale readers -------------------------------------------------------------------------------
char cxGetDateSeparator();
char cxGetLocalTimeSeparator();
std::string cxGetLocalShortDateFormat();
std::string cxGetLocalLongDateFormat();
std::string cxGetLocalLongTimeFormat();
std::string cxGetLocalTimeAMString();
std::string cxGetLocalTimePMString();
void cxGetLocalFormatSettings(TFormatSettings& settings);
TDay GetStartOfWeek();
// Pins the first day of the week (0 = Sunday .. 6 = Saturday) for the data layer's date filters;
// 10 gives the choice back to the locale. Anything else is ignored.
void SetStartOfWeek(int value);

// --- text from dates ------------------------------------------------------------------------------
std::string cxDateToStr(TDateTime date);
std::string cxDateToStr(TDateTime date, const TFormatSettings& settings);
bool cxGetDateFormat(TDateTime date, std::string& text, Cardinal flags, const std::string& format);
std::string cxDateToLocalFormatStr(TDateTime date);
std::string DateToLongDateStr(TDateTime date);
std::string cxDayNumberToLocalFormatStr(TDateTime date);
std::string cxDayNumberToLocalFormatStr(int day, const TcxCustomCalendarTable* table);
std::string cxGetLocalMonthName(TDateTime date, const TcxCustomCalendarTable* table);
std::string cxGetLocalMonthName(int year, int month, const TcxCustomCalendarTable* table);
std::string cxGetLocalYear(TDateTime date, const TcxCustomCalendarTable* table = nullptr);
std::string cxGetLocalMonthYear(TDateTime date, const TcxCustomCalendarTable* table = nullptr);
std::string cxGetDayOfWeekName(int day, int fontCharset);   // day 1 Monday .. 7 Sunday
std::string cxTimeToStr(TDateTime time);
std::string cxTimeToStr(TDateTime time, const std::string& format);
std::string cxTimeToStr(TDateTime time, const TFormatSettings& settings);
std::string cxDateTimeToText(TDateTime date, bool fourDigitYear, bool libraryFormats);
std::string DateTimeToText(TDateTime date, bool fourDigitYear = false);
std::string DateTimeToTextEx(TDateTime date, bool masked, bool dateTimeEdit = false, bool fourDigitYear = false);

// --- dates from text ------------------------------------------------------------------------------
TcxDateTime cxStrToDate(const std::string& text, const TFormatSettings& settings, const TcxCustomCalendarTable* table);
TcxDateTime cxStrToDate(const std::string& text, const TcxCustomCalendarTable* table);
// NullDate when the text names no valid date of that calendar.
TDateTime cxStrToDate(const std::string& text, const TFormatSettings& settings, TcxCalendarID calendar);
TDateTime cxLocalFormatStrToDate(const std::string& text);
bool SmartTextToDate(const std::string& text, TDateTime& date);
bool TextToDateEx(const std::string& text, TDateTime& date);
TDateTime cxTextToDateTime(const std::string& text, bool libraryFormats = false);
bool cxStrToDateTime(const std::string& text, bool oleConversion, TDateTime& date);
TDateTime StrToDateDef(const std::string& text, TDateTime defaultValue);
void AddDateRegExprMaskSmartInput(std::string& mask, bool timeAllowed);

// --- date utilities -------------------------------------------------------------------------------
using rtl::IsLeapYear;
int DaysPerMonth(int year, int month);
int CheckDay(int year, int month, int day);
void IncMonth(Word& year, Word& month);
void DecMonth(Word& year, Word& month);
void ChangeMonth(Word& year, Word& month, int delta);
int GetMonthNumber(TDateTime date);
int GetDateElement(TDateTime date, TcxDateElement element, const TcxCustomCalendarTable* table = nullptr);
TDateTime TimeOf(TDateTime date);
TDateTime DateOf(TDateTime date);
int DayOfWeekOffset(TDateTime date);
TDateTime GetStartDateOfMonth(TDateTime date);
TDateTime GetStartDateOfYear(TDateTime date);
TDateTime GetEndDateOfMonth(TDateTime date, bool dateOnly);
TDateTime GetEndDateOfYear(TDateTime date, bool dateOnly);
TDateTime cxMinDateTime();
bool cxIsDateValid(TDateTime value);
int GetWeekNumber(TDateTime date, TDay startDay, TcxFirstWeekOfYear rule);

// A date and a time of day as one TDateTime (before 1899-12-30 the time counts away from zero).
TDateTime cxComposeDateTime(TDateTime date, TDateTime time);

} // namespace cx
