#include "meter/FRtc.h"

#include <gtest/gtest.h>

#include <chrono>

#include "meter/FFunct.h"

namespace {

using namespace std::chrono;

TBcdDate Bcd(const year_month_day& d)
{
    const int y = ((static_cast<int>(d.year()) - 2000) % 100 + 100) % 100;
    return {ByteToBcd(static_cast<std::uint8_t>(static_cast<unsigned>(d.day()))),
            ByteToBcd(static_cast<std::uint8_t>(static_cast<unsigned>(d.month()))),
            ByteToBcd(static_cast<std::uint8_t>(y))};
}

// Every date of 2000..2099 in order, with the reference calendar's idea of it.
template <typename F>
void ForEveryDate(F f)
{
    for (sys_days day = sys_days{2000y / January / 1}; day <= sys_days{2099y / December / 31}; day += days{1})
        f(day, Bcd(year_month_day{day}));
}

TEST(FRtcCalendar, WeekdayOfEveryDate)
{
    ForEveryDate([](sys_days day, TBcdDate d) {
        ASSERT_EQ(WeekdayOf(d.Day, d.Month, d.Year), weekday{day}.c_encoding())
            << std::hex << int(d.Year) << "-" << int(d.Month) << "-" << int(d.Day);
    });
    EXPECT_EQ(WeekdayOf(0x01, 0x01, 0x00), 6);
    EXPECT_EQ(WeekdayOf(0x29, 0x02, 0x24), 4);
    EXPECT_EQ(WeekdayOf(0x09, 0x12, 0x26), 3);
}

TEST(FRtcCalendar, AdvanceDateOverEveryDate)
{
    ForEveryDate([](sys_days day, TBcdDate d) {
        const TBcdDate expected = Bcd(year_month_day{day + days{1}});  // 2100-01-01 wraps to 00
        AdvanceDate(d.Day, d.Month, d.Year);
        ASSERT_EQ(d, expected) << std::hex << int(d.Year) << "-" << int(d.Month) << "-" << int(d.Day);
    });
    TBcdDate d{0x31, 0x12, 0x99};
    AdvanceDate(d.Day, d.Month, d.Year);
    EXPECT_EQ(d, (TBcdDate{0x01, 0x01, 0x00}));
}

TEST(FRtcCalendar, DayBeforeMatchesTheReferenceCalendar)
{
    const int steps[] = {0, 1, 2, 9, 28, 31, 45, 60, 61, 62, 200, 255, 366};
    ForEveryDate([&](sys_days day, TBcdDate d) {
        for (int n : steps) {
            const TBcdDate got = DayBefore(d.Day, d.Month, d.Year, n);
            ASSERT_EQ(got, Bcd(year_month_day{day - days{n}}))
                << std::hex << int(d.Year) << "-" << int(d.Month) << "-" << int(d.Day) << std::dec << " - " << n;
        }
    });
}

TEST(FRtcCalendar, DayBeforeExamples)
{
    EXPECT_EQ(DayBefore(0x01, 0x03, 0x24, 1), (TBcdDate{0x29, 0x02, 0x24}));
    EXPECT_EQ(DayBefore(0x01, 0x03, 0x23, 1), (TBcdDate{0x28, 0x02, 0x23}));
    EXPECT_EQ(DayBefore(0x10, 0x02, 0x26, 45), (TBcdDate{0x27, 0x12, 0x25}));
    EXPECT_EQ(DayBefore(0x01, 0x01, 0x00, 1), (TBcdDate{0x31, 0x12, 0x99}));
    // More than two months back still lands on a real day.
    EXPECT_EQ(DayBefore(0x05, 0x05, 0x25, 100), (TBcdDate{0x25, 0x01, 0x25}));
}

TEST(FRtcCalendar, HourBefore)
{
    struct Row {
        std::uint8_t hour;
        TBcdDate date;
        int n;
        std::uint8_t hourAfter;
        TBcdDate dateAfter;
    };
    const Row rows[] = {
        {0x01, {0x01, 0x01, 0x26}, 3, 0x22, {0x31, 0x12, 0x25}},
        {0x10, {0x15, 0x06, 0x25}, 5, 0x05, {0x15, 0x06, 0x25}},
        {0x10, {0x15, 0x06, 0x25}, 0, 0x10, {0x15, 0x06, 0x25}},
        {0x10, {0x01, 0x03, 0x24}, 48, 0x10, {0x28, 0x02, 0x24}},
        {0x00, {0x01, 0x03, 0x24}, 255, 0x09, {0x19, 0x02, 0x24}},
    };
    for (const Row& r : rows) {
        TBcdDate d = r.date;
        EXPECT_EQ(HourBefore(r.hour, d.Day, d.Month, d.Year, r.n), r.hourAfter) << r.n;
        EXPECT_EQ(d, r.dateAfter) << r.n;
    }
}

bool IsRealDate(const TBcdDate& d)
{
    const int m = BcdToByte(d.Month);
    const int y = BcdToByte(d.Year);
    const int day = BcdToByte(d.Day);
    return m >= 1 && m <= 12 && y <= 99 && day >= 1 && day <= DaysInMonth(m, y) &&
           ByteToBcd(static_cast<std::uint8_t>(day)) == d.Day;
}

// Months and days outside their range never index outside a table and never give day 00.
TEST(FRtcCalendar, OutOfRangeInputsGiveRealDates)
{
    const std::uint8_t bytes[] = {0x00, 0x01, 0x12, 0x13, 0x1A, 0x32, 0x99, 0xFF};
    for (std::uint8_t day : bytes) {
        for (std::uint8_t month : bytes) {
            for (std::uint8_t year : {std::uint8_t{0x00}, std::uint8_t{0x99}, std::uint8_t{0xFF}}) {
                TBcdDate d{day, month, year};
                AdvanceDate(d.Day, d.Month, d.Year);
                EXPECT_TRUE(IsRealDate(d));
                EXPECT_TRUE(IsRealDate(DayBefore(day, month, year, 1)));
                EXPECT_TRUE(IsRealDate(DayBefore(day, month, year, 70)));
                EXPECT_LT(WeekdayOf(day, month, year), 7);
                TBcdDate h{day, month, year};
                EXPECT_LE(HourBefore(0x99, h.Day, h.Month, h.Year, 30), 0x23);
                EXPECT_TRUE(IsRealDate(h));
            }
        }
    }
}

}  // namespace
