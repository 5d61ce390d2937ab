#pragma once
// Calendar functions on BCD dates (day, month, two-digit year standing for 2000..2099).
//
// Every function is total: a month outside 1..12 is taken as the nearest month of the range and a
// day outside the month as the nearest day of that month, so no input indexes outside a table and
// no result is day 00. The century wraps: the day after 2099-12-31 is 2000-01-01 and the day before
// 2000-01-01 is 2099-12-31.
#include <cstdint>

struct TBcdDate {
    std::uint8_t Day = 0x01;
    std::uint8_t Month = 0x01;
    std::uint8_t Year = 0x00;
    friend bool operator==(const TBcdDate&, const TBcdDate&) = default;
};

// Days of the month m (1..12) of the year 2000 + y; every year divisible by 4 is a leap year.
int DaysInMonth(int month, int year);

// Moves the date on by one day.
void AdvanceDate(std::uint8_t& day, std::uint8_t& month, std::uint8_t& year);
// The date n days before the given one.
TBcdDate DayBefore(std::uint8_t day, std::uint8_t month, std::uint8_t year, int n);
// The BCD hour n hours before the given hour of the given date; day, month and year become the
// date of that moment.
std::uint8_t HourBefore(std::uint8_t hour, std::uint8_t& day, std::uint8_t& month,
                        std::uint8_t& year, int n);
// 0 (Sunday) to 6 (Saturday).
std::uint8_t WeekdayOf(std::uint8_t day, std::uint8_t month, std::uint8_t year);
