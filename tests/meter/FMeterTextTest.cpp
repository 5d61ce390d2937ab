// Display formatters and the identifier-name lookup.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "meter/FMeter.h"

namespace {

TEST(MeterText, Formatters)
{
    const std::uint8_t energy[4] = {0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(TZbSxMeter::FormatEnergy(energy), "123456.78 ");
    const std::uint8_t energies[20] = {0x01, 0, 0, 0, 0x02, 0, 0, 0, 0x03, 0, 0, 0,
                                       0x04, 0, 0, 0, 0x05, 0, 0, 0x99};
    EXPECT_EQ(TZbSxMeter::FormatEnergyBlock(energies),
              "000000.01 000000.02 000000.03 000000.04 990000.05 ");

    const std::uint8_t demand[3] = {0x56, 0x34, 0x12};
    EXPECT_EQ(TZbSxMeter::FormatDemand(demand), "12.3456 ");
    const std::uint8_t demands[15] = {1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0, 5, 0, 0x10};
    EXPECT_EQ(TZbSxMeter::FormatDemandBlock(demands),
              "00.0001 00.0002 00.0003 00.0004 10.0005 ");

    const std::uint8_t time[4] = {0x30, 0x12, 0x05, 0x03};
    EXPECT_EQ(TZbSxMeter::FormatDemandTime(time), "03月05日 12时30分 ");
    std::uint8_t times[20] = {};
    for (int i = 0; i < 5; ++i) {
        times[4 * i + 2] = static_cast<std::uint8_t>(i + 1);
        times[4 * i + 3] = 0x12;
    }
    EXPECT_EQ(TZbSxMeter::FormatDemandTimeBlock(times),
              "12月01日 00时00分 12月02日 00时00分 12月03日 00时00分 12月04日 00时00分 12月05日 00时00分 ");

    const std::uint8_t bytes[3] = {0xAB, 0x01, 0xCD};
    EXPECT_EQ(TZbSxMeter::FormatHexBytes(bytes, 3), "ab01cd ");
    EXPECT_EQ(TZbSxMeter::FormatHexBytes(bytes, 0), " ");
    EXPECT_EQ(TZbSxMeter::FormatHexWord(bytes), "01ab ");
    const std::uint8_t current[2] = {0x45, 0x12};
    EXPECT_EQ(TZbSxMeter::FormatDecimalWord(current), "12.45 ");
}

TEST(MeterText, FormatScaled)
{
    const std::uint8_t bytes[3] = {0x12, 0x34, 0x56};
    EXPECT_EQ(TZbSxMeter::FormatScaled(bytes, 3, 2), "1234.56 ");
    EXPECT_EQ(TZbSxMeter::FormatScaled(bytes, 1, 3), "0.12 ");
    EXPECT_EQ(TZbSxMeter::FormatScaled(bytes, 3, 0), "123456. ");
    EXPECT_EQ(TZbSxMeter::FormatScaled(bytes, 2, 2), "12.34 ");
    EXPECT_EQ(TZbSxMeter::FormatScaled(bytes, 1, 2), ".12 ");
    const std::uint8_t hex[2] = {0xAB, 0x0C};
    EXPECT_EQ(TZbSxMeter::FormatScaled(hex, 2, 2), "AB.0C ");  // upper case, unlike the others
}

TEST(MeterText, FindDataIdName)
{
    TZbSxMeter meter;
    meter.DataIdList = {{"9010", "(当前)正向有功总电能"}, {"C33F", "第1日时段表"}, {"c33f", "second"}};
    struct Case {
        const char* key;
        bool found;
        const char* name;
    };
    const Case cases[] = {
        {"9010", true, "(当前)正向有功总电能"},
        {"9010 ", true, "(当前)正向有功总电能"},  // as the read handlers pass it
        {" \t9010\r\n", true, "(当前)正向有功总电能"},
        {"c33f", true, "第1日时段表"},  // the first entry that matches, whatever the case
        {"C33F ", true, "第1日时段表"},
        {"9011", false, ""},
        {"901", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        meter.DataIdName = "left over";
        EXPECT_EQ(meter.FindDataIdName(c.key), c.found) << c.key;
        EXPECT_EQ(meter.DataIdName, c.name) << c.key;
    }
}

}  // namespace
