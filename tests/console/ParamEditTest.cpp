// Conversions of the meter panel and the parameter edits: text in, meter bytes and shown text out.
#include "console/FFrmMainConvert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace panel;

namespace {

TMeterTime Fixed() { return {2023, 1, 1, 0, 0, 0}; }

} // namespace

TEST(ParamEditGrid, BoxesWriteTheMeterFields)
{
    TZbSxMeter m(Fixed);
    ApplyVoltage(m, 1, 2);
    EXPECT_EQ(m.Voltage[1][0], 0x00);
    EXPECT_EQ(m.Voltage[1][1], 0x22);  // 220.0 V
    EXPECT_EQ(m.VoltageBin[1], 220);
    ApplyCurrent(m, 0, 10);  // "100A" is written as 99.99 A
    EXPECT_EQ(m.Current[0][0], 0x99);
    EXPECT_EQ(m.Current[0][1], 0x99);
    EXPECT_EQ(m.CurrentBin[0], 9999);
    ApplyCurrent(m, 2, 8);
    EXPECT_EQ(m.Current[2][1], 0x80);
    EXPECT_EQ(m.CurrentBin[2], 8000);

    struct Angle { int index; std::uint8_t angleHigh, angleLow; int factor; };
    const Angle angles[] = {{0, 0x00, 0x00, 1000}, {1, 0x04, 0x50, 707}, {2, 0x09, 0x00, 0},
                            {3, 0x13, 0x50, 707},  {4, 0x18, 0x00, 1000}, {6, 0x27, 0x00, 0}};
    for (const Angle& a : angles) {
        ApplyAngle(m, 2, a.index);
        EXPECT_EQ(m.PhaseAngle[2][1], a.angleHigh) << a.index;
        EXPECT_EQ(m.PhaseAngle[2][0], a.angleLow) << a.index;
        EXPECT_EQ(m.PowerFactorBin[2], a.factor) << a.index;
        EXPECT_EQ(m.PowerFactor[3][1] >> 4, a.factor / 1000) << a.index;
    }

    const std::uint8_t middles[4] = {0x32, 0x16, 0x08, 0x04};
    for (int i = 0; i < 4; ++i) {
        ApplyPulseConstant(m, i);
        EXPECT_EQ(m.MeterConst[0], 0x00);
        EXPECT_EQ(m.MeterConst[1], middles[i]);
        EXPECT_EQ(m.MeterConst[2], 0x00);
    }
    ApplyPulseConstant(m, -1);  // no selection leaves the value
    EXPECT_EQ(m.MeterConst[1], 0x04);
}

TEST(ParamEditGrid, VoltageLossCounts)
{
    TZbSxMeter m(Fixed);
    m.PhaseLossCounts[0] = 0;
    ApplyVoltage(m, 0, 0);
    ApplyVoltage(m, 0, 0);
    EXPECT_EQ(m.PhaseLossCounts[0], 2);
    ApplyVoltage(m, 0, 1);
    EXPECT_EQ(m.PhaseLossCounts[0], 2);
    ApplyVoltage(m, 0, 3);
    EXPECT_EQ(m.PhaseLossCounts[0], 0);
    ApplyVoltage(m, 0, 7);  // outside the list: nothing
    EXPECT_EQ(m.VoltageBin[0], 260);
}

TEST(ParamEditFace, TariffWeekdayAndTimeTexts)
{
    const std::pair<int, const char*> tariffs[] = {{0, "平"}, {1, "尖"}, {2, "峰"}, {3, "平"}, {4, "谷"}, {9, "平"}};
    for (const auto& [code, text] : tariffs)
        EXPECT_STREQ(TariffText(static_cast<std::uint8_t>(code)), text);
    EXPECT_STREQ(WeekdayText(0), "日");
    EXPECT_STREQ(WeekdayText(6), "六");
    EXPECT_STREQ(WeekdayText(9), "二");
    const std::uint8_t clock[7] = {0x05, 0x04, 0x23, 0x06, 0x31, 0x12, 0x26};
    EXPECT_EQ(MeterTimeText(clock), "电表时间:2026-12-31 23:04:05");
}

TEST(ParamEditPanel, PasswordAndNeutralCurrent)
{
    TZbSxMeter m(Fixed);
    const std::string padded = PadZeros("1234", 6);
    EXPECT_EQ(padded, "001234");
    ApplyPassword(m, padded);
    EXPECT_EQ(m.Password[0], 0x34);
    EXPECT_EQ(m.Password[1], 0x12);
    EXPECT_EQ(m.Password[2], 0x00);
    EXPECT_EQ(PadZeros("1234567890123", 12), "1234567890123");  // longer stays

    const std::pair<const char*, const char*> cases[] = {
        {"1.5", "1.500"}, {"12", "1.200"}, {".5", "0.500"}, {"", "0.000"}, {"12.5", "0.000"},
        {" 3.14159 ", "3.141"}, {"a.bc", "0.000"}, {"123456", "1.234"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(NormaliseNeutralCurrent(in), out) << in;
    std::uint8_t bytes[2];
    NeutralCurrentBytes("1.234", bytes);
    EXPECT_EQ(bytes[0], 0x34);
    EXPECT_EQ(bytes[1], 0x12);
}

TEST(ParamEditAmount, NormalisedTextAndBytes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12", "000012.00"},     {"123.4", "000123.40"}, {"1.234", "000001.23"},
        {"1234567", "234567.00"}, {"", "000000.00"},      {"1234567.8", "000000.00"},
        {"123456.78", "123456.78"}, {" 5 ", "000005.00"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(NormaliseAmount(in), out) << in;
    std::uint8_t b[4];
    AmountBytes("123456.78", b);
    EXPECT_EQ(std::vector<int>(b, b + 4), (std::vector<int>{0x78, 0x56, 0x34, 0x12}));
    AmountBytes("234567.00", b);
    EXPECT_EQ(std::vector<int>(b, b + 4), (std::vector<int>{0x00, 0x67, 0x45, 0x23}));
}

TEST(ParamEditFields, TimeWordByteStatusAndCount)
{
    TZbSxMeter m(Fixed);
    m.TariffSchedule[1][0] = 2;
    ApplyTimeBegin(m, 1, "0830");
    EXPECT_EQ(m.TariffSchedule[1][2], 0x08);
    EXPECT_EQ(m.TariffSchedule[1][1], 0x30);
    EXPECT_EQ(m.TariffSchedule[1][0], 2);  // tariff number untouched
    ApplyTimeBegin(m, 2, PadZeros("5", 4));
    EXPECT_EQ(m.TariffSchedule[2][2], 0x00);
    EXPECT_EQ(m.TariffSchedule[2][1], 0x05);
    ApplyTimeBegin(m, 3, "2575");  // no range check
    EXPECT_EQ(m.TariffSchedule[3][2], 0x25);
    EXPECT_EQ(m.TariffSchedule[3][1], 0x75);

    m.DemandClearCount[0] = 0x77;
    ApplyWord(m.ProgramCount, PadZeros("12", 4));
    EXPECT_EQ(m.ProgramCount[0], 0x12);
    EXPECT_EQ(m.ProgramCount[1], 0x00);
    EXPECT_EQ(m.DemandClearCount[0], 0x77);
    ApplyWord(m.EventFlags, "FFFF");
    EXPECT_EQ(m.EventFlags[1], 0xFF);

    ApplyByte(m.GridStatus, "A5");
    EXPECT_EQ(m.GridStatus, 0xA5);

    ApplyStatusRun1(m, true, PadZeros("4", 2));
    EXPECT_EQ(m.Status97, 0x04);
    ApplyStatusRun1(m, false, PadZeros("1", 4));
    EXPECT_EQ(m.RunStatusWords[0][0], 0x01);
    EXPECT_EQ(m.RunStatusWords[0][1], 0x00);
    EXPECT_EQ(m.Status97, 0x04);

    const std::tuple<const char*, int, const char*> counts[] = {
        {"49", 49, "49"}, {"51", 50, "50"}, {"99", 50, "50"}, {"07", 7, "07"}, {"50", 50, "50"}};
    for (const auto& [text, value, shown] : counts) {
        EXPECT_EQ(ApplyBoxOpenCount(m, text), shown) << text;
        EXPECT_EQ(m.BoxOpenCount, value) << text;
    }
}
