// The one-second tick, the tariff schedule, the hourly table and the box-open records.
#include "meter/FMeter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TTimeSource At(int year, int month, int day, int hour, int minute, int second)
{
    return [=] { return TMeterTime{year, month, day, hour, minute, second}; };
}

Bytes ClockOf(const TZbSxMeter& meter)
{
    return Bytes(meter.Clock, meter.Clock + 7);
}

TEST(MeterTick, RollOvers)
{
    struct Row {
        const char* what;
        TMeterTime start;
        Bytes after;  // second, minute, hour, weekday, day, month, year
    };
    const Row rows[] = {
        {"second", {2025, 3, 9, 10, 20, 30}, {0x31, 0x20, 0x10, 0, 0x09, 0x03, 0x25}},
        {"minute", {2025, 3, 9, 10, 20, 59}, {0x00, 0x21, 0x10, 0, 0x09, 0x03, 0x25}},
        {"hour", {2025, 3, 9, 10, 59, 59}, {0x00, 0x00, 0x11, 0, 0x09, 0x03, 0x25}},
        {"Saturday to Sunday", {2024, 12, 28, 23, 59, 59}, {0, 0, 0, 0, 0x29, 0x12, 0x24}},
        {"leap February", {2024, 2, 28, 23, 59, 59}, {0, 0, 0, 4, 0x29, 0x02, 0x24}},
        {"end of leap February", {2024, 2, 29, 23, 59, 59}, {0, 0, 0, 5, 0x01, 0x03, 0x24}},
        {"end of February", {2023, 2, 28, 23, 59, 59}, {0, 0, 0, 3, 0x01, 0x03, 0x23}},
        {"end of the century", {2099, 12, 31, 23, 59, 59}, {0, 0, 0, 5, 0x01, 0x01, 0x00}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        TZbSxMeter meter([&] { return r.start; });
        meter.TotalEnergy[0] = 0x42;
        meter.TickSecond();
        EXPECT_EQ(ClockOf(meter), r.after);
        // The total energy goes into the slot of the new hour, and only at a new hour.
        const bool newHour = r.after[0] == 0 && r.after[1] == 0;
        const int hour = (r.after[2] >> 4) * 10 + (r.after[2] & 0x0F);
        for (int h = 0; h < 24; ++h)
            EXPECT_EQ(meter.GetHourTable(false)[4 * h], newHour && h == hour ? 0x42 : 0) << h;
        EXPECT_EQ(meter.GetHourTable(true)[4 * hour], 0);  // the read table is not the tick's
    }
}

TEST(MeterTick, PausedMeterKeepsTheClockButCountsNoEnergy)
{
    for (std::uint8_t protocol : {mpDlt645_1997, mpDlt645_2007}) {
        SCOPED_TRACE(protocol);
        TZbSxMeter meter(At(2025, 3, 9, 14, 5, 7));
        meter.Protocol = protocol;
        meter.EnergyIncrement[3] = 183;
        meter.EnergyIncrement[0] = 61;
        meter.Running = false;
        for (int i = 0; i < 3600; ++i)
            meter.TickSecond();
        EXPECT_EQ(ClockOf(meter), (Bytes{0x07, 0x05, 0x15, 0, 0x09, 0x03, 0x25}));
        EXPECT_EQ(Bytes(meter.TotalEnergy, meter.TotalEnergy + 4), Bytes(4, 0));
        EXPECT_EQ(meter.EnergyAccumulator[3], 0u);
        EXPECT_FALSE(meter.EnergyPulse);
        meter.Running = true;
        for (int i = 0; i < 6; ++i)
            meter.TickSecond();
        EXPECT_TRUE(meter.EnergyPulse);
    }
}

// The tariff at the start of every minute of a day, the day run by the tick from 00:00:00.
std::vector<int> TariffsOverADay(TZbSxMeter& meter)
{
    std::vector<int> tariffs;
    for (int minute = 0; minute < 24 * 60; ++minute) {
        for (int s = 0; s < 60; ++s)
            meter.TickSecond();
        tariffs.push_back(meter.CurrentTariff);
    }
    return tariffs;
}

int DefaultTariff(int minuteOfDay)
{
    static const int kCycle[4] = {1, 2, 3, 4};
    return kCycle[(minuteOfDay / 120) % 4];
}

TEST(MeterTariff, ScheduleOverAWholeDay)
{
    struct Row {
        const char* what;
        int entry;       // entry changed, or -1
        Bytes change;    // tariff, minute, hour
        int (*expected)(int minuteOfDay);
    };
    const Row rows[] = {
        {"default schedule", -1, {}, DefaultTariff},
        // A later start in front hides the entries after it until its own start.
        {"unsorted", 0, {1, 0x00, 0x12}, [](int m) { return m < 12 * 60 ? 3 : DefaultTariff(m); }},
        {"tariff 0 ends the list", 0, {0, 0x00, 0x00}, [](int) { return 3; }},
        {"start at 02:30", 1, {2, 0x30, 0x02},
         [](int m) { return m >= 150 && m < 240 ? 2 : m < 150 ? 1 : DefaultTariff(m); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        TZbSxMeter meter(At(2025, 3, 8, 23, 59, 0));
        if (r.entry >= 0)
            std::copy(r.change.begin(), r.change.end(), meter.TariffSchedule[r.entry]);
        const std::vector<int> tariffs = TariffsOverADay(meter);
        for (int m = 0; m < 24 * 60; ++m)
            ASSERT_EQ(tariffs[static_cast<std::size_t>(m)], r.expected(m))
                << "at " << m / 60 << ":" << m % 60;
    }
}

TEST(MeterTariff, EnergyOfTheFirstMinuteGoesToTheNewTariff)
{
    TZbSxMeter meter(At(2025, 3, 9, 1, 59, 59));
    ASSERT_EQ(meter.CurrentTariff, 1);
    meter.TickSecond();  // 02:00:00
    EXPECT_EQ(meter.CurrentTariff, 2);
    meter.AddEnergy(0x01);
    EXPECT_EQ(meter.TariffEnergy[2][0], 0x01);
    EXPECT_EQ(meter.TariffEnergy[1][0], 0x00);
}

TEST(MeterTariff, UpdateTariffTakesTheClockAsItIs)
{
    TZbSxMeter meter(At(2025, 3, 9, 1, 30, 0));
    meter.Clock[2] = 0x02;  // a time-setting command to 02:00
    meter.Clock[1] = 0x00;
    meter.UpdateTariff();
    EXPECT_EQ(meter.CurrentTariff, 2);
    meter.TariffSchedule[1][0] = 7;  // a number outside 1..4 is taken over
    meter.UpdateTariff();
    EXPECT_EQ(meter.CurrentTariff, 7);
}

TEST(MeterBoxOpen, Lifecycle)
{
    TZbSxMeter meter(At(2025, 3, 9, 10, 20, 30));
    meter.RecordBoxOpen(true);
    EXPECT_TRUE(meter.BoxIsOpen);
    for (int i = 0; i < 5 * 60; ++i)
        meter.TickSecond();
    EXPECT_EQ(meter.BoxOpenMinutes, 5);
    EXPECT_EQ(Bytes(meter.BoxOpenRecords[0], meter.BoxOpenRecords[0] + 8),
              (Bytes{0x00, 0x20, 0x10, 0x09, 0x03, 0x25, 0, 0}));

    meter.RecordBoxOpen(false);
    EXPECT_FALSE(meter.BoxIsOpen);
    EXPECT_EQ(Bytes(meter.BoxOpenRecords[0], meter.BoxOpenRecords[0] + 8),
              (Bytes{0x00, 0x20, 0x10, 0x09, 0x03, 0x25, 5, 0}));
    EXPECT_EQ(meter.BoxOpenRecordNo, 1);
    for (int i = 0; i < 120; ++i)
        meter.TickSecond();
    EXPECT_EQ(meter.BoxOpenMinutes, 5);  // a closed box counts nothing

    // A second close has no opening to finish: no record is touched, no number used.
    meter.BoxOpenRecords[1][6] = 0xEE;
    meter.RecordBoxOpen(false);
    EXPECT_EQ(meter.BoxOpenRecordNo, 1);
    EXPECT_EQ(meter.BoxOpenRecords[1][6], 0xEE);

    // Opening twice rewrites the same record and restarts the count.
    meter.RecordBoxOpen(true);
    meter.BoxOpenMinutes = 9;
    meter.RecordBoxOpen(true);
    EXPECT_EQ(meter.BoxOpenMinutes, 0);
    EXPECT_EQ(meter.BoxOpenRecords[1][0], 1);
    EXPECT_EQ(meter.BoxOpenRecords[1][6], 0);
    meter.RecordBoxOpen(false);
    EXPECT_EQ(meter.BoxOpenRecordNo, 2);
}

TEST(MeterBoxOpen, RingOf50AndCounterWrap)
{
    TZbSxMeter meter(At(2025, 3, 9, 10, 20, 30));
    for (int n = 0; n < 51; ++n) {
        meter.RecordBoxOpen(true);
        meter.RecordBoxOpen(false);
    }
    EXPECT_EQ(meter.BoxOpenRecordNo, 51);
    EXPECT_EQ(meter.BoxOpenRecords[0][0], 50);  // the 51st record overwrote slot 0
    EXPECT_EQ(meter.GetBoxOpenRecord(49)[0], 49);

    meter.RecordBoxOpen(true);
    meter.BoxOpenMinutes = 0xFFFF;
    meter.MinuteTick();
    EXPECT_EQ(meter.BoxOpenMinutes, 0);
}

TEST(MeterHourTable, NonBcdHourWritesNothing)
{
    TZbSxMeter meter(At(2025, 3, 9, 10, 20, 30));
    meter.TotalEnergy[0] = 0x42;
    meter.Clock[2] = 0x3F;  // as a bad time-setting command may leave it
    meter.StoreHourEnergy();
    for (const auto& table : meter.HourEnergy)
        for (const auto& slot : table)
            EXPECT_EQ(slot[0], 0);
}

}  // namespace
