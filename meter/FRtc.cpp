#include "meter/FRtc.h"

#include <algorithm>

#include "meter/FFunct.h"

namespace {

constexpr int kDaysOfMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// 2000..2099: 75 years of 365 days and 25 of 366.
constexpr long kDaysPerCentury = 36525;

struct TDate {
    int Day;
    int Month;
    int Year;  // 0..99
};

TDate FromBcd(std::uint8_t day, std::uint8_t month, std::uint8_t year)
{
    TDate d{};
    d.Year = BcdToByte(year) % 100;
    d.Month = std::clamp<int>(BcdToByte(month), 1, 12);
    d.Day = std::clamp<int>(BcdToByte(day), 1, DaysInMonth(d.Month, d.Year));
    return d;
}

// Days since 2000-01-01.
long Serial(const TDate& d)
{
    const long y = d.Year;
    long days = 365 * y + (y + 3) / 4;  // leap days of the years before y (2000 is one)
    for (int m = 1; m < d.Month; ++m)
        days += DaysInMonth(m, d.Year);
    return days + d.Day - 1;
}

TDate FromSerial(long serial)
{
    serial %= kDaysPerCentury;
    if (serial < 0)
        serial += kDaysPerCentury;
    TDate d{1, 1, 0};
    while (serial >= (d.Year % 4 == 0 ? 366 : 365)) {
        serial -= d.Year % 4 == 0 ? 366 : 365;
        ++d.Year;
    }
    while (serial >= DaysInMonth(d.Month, d.Year)) {
        serial -= DaysInMonth(d.Month, d.Year);
        ++d.Month;
    }
    d.Day = static_cast<int>(serial) + 1;
    return d;
}

TBcdDate ToBcd(const TDate& d)
{
    return {ByteToBcd(static_cast<std::uint8_t>(d.Day)), ByteToBcd(static_cast<std::uint8_t>(d.Month)),
            ByteToBcd(static_cast<std::uint8_t>(d.Year))};
}

}  // namespace

int DaysInMonth(int month, int year)
{
    month = std::clamp(month, 1, 12);
    return kDaysOfMonth[month] + (month == 2 && year % 4 == 0 ? 1 : 0);
}

void AdvanceDate(std::uint8_t& day, std::uint8_t& month, std::uint8_t& year)
{
    const TBcdDate next = ToBcd(FromSerial(Serial(FromBcd(day, month, year)) + 1));
    day = next.Day;
    month = next.Month;
    year = next.Year;
}

TBcdDate DayBefore(std::uint8_t day, std::uint8_t month, std::uint8_t year, int n)
{
    return ToBcd(FromSerial(Serial(FromBcd(day, month, year)) - n));
}

std::uint8_t HourBefore(std::uint8_t hour, std::uint8_t& day, std::uint8_t& month,
                        std::uint8_t& year, int n)
{
    const long hours = Serial(FromBcd(day, month, year)) * 24 + BcdToByte(hour) % 24 - n;
    long days = hours / 24;
    long h = hours % 24;
    if (h < 0) {
        h += 24;
        --days;
    }
    const TBcdDate date = ToBcd(FromSerial(days));
    day = date.Day;
    month = date.Month;
    year = date.Year;
    return ByteToBcd(static_cast<std::uint8_t>(h));
}

std::uint8_t WeekdayOf(std::uint8_t day, std::uint8_t month, std::uint8_t year)
{
    // 2000-01-01 was a Saturday.
    return static_cast<std::uint8_t>((Serial(FromBcd(day, month, year)) + 6) % 7);
}
