// The energy registers, the protocol-0 integration, the power values and the AC-input model.
#include "meter/FMeter.h"

#include <gtest/gtest.h>

#include <vector>

#include "meter/FFunct.h"
#include "meter/FHdlAcInput.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// 2025-03-09 14:05:07: tariff 4 is in force for the whole next hour.
TMeterTime FixedTime()
{
    return {2025, 3, 9, 14, 5, 7};
}

Bytes Reg(const std::uint8_t* bytes, int n = 4)
{
    return Bytes(bytes, bytes + n);
}

// XXXXXX.XX as 0.01 kWh units.
long Units(const std::uint8_t* bcd)
{
    long v = 0;
    for (int i = 3; i >= 0; --i)
        v = v * 100 + BcdToByte(bcd[i]);
    return v;
}

// The console's grid input on all three phases: BCD values and binary mirrors, then the two
// calculations. volts whole, current in 0.01 A, factor x 1000.
void SetGrid(TZbSxMeter& meter, int volts, int centiamps, int factor)
{
    for (int k = 0; k < 3; ++k) {
        const int decivolts = volts * 10;
        meter.Voltage[k][0] = ByteToBcd(static_cast<std::uint8_t>(decivolts % 100));
        meter.Voltage[k][1] = ByteToBcd(static_cast<std::uint8_t>(decivolts / 100));
        meter.Current[k][0] = ByteToBcd(static_cast<std::uint8_t>(centiamps % 100));
        meter.Current[k][1] = ByteToBcd(static_cast<std::uint8_t>(centiamps / 100));
        meter.PowerFactor[1 + k][0] = ByteToBcd(static_cast<std::uint8_t>(factor % 100));
        meter.PowerFactor[1 + k][1] = ByteToBcd(static_cast<std::uint8_t>(factor / 100));
        meter.VoltageBin[k] = static_cast<std::uint16_t>(volts);
        meter.CurrentBin[k] = static_cast<std::uint16_t>(centiamps);
        meter.PowerFactorBin[k] = static_cast<std::uint16_t>(factor);
    }
    meter.CalcPowerIncrements();
    meter.CalcPowers();
}

// Ticks like the console's timer, which clears the pulse after each tick; returns the pulses.
int Tick(TZbSxMeter& meter, int seconds)
{
    int pulses = 0;
    for (int i = 0; i < seconds; ++i) {
        meter.TickSecond();
        pulses += meter.EnergyPulse ? 1 : 0;
        meter.EnergyPulse = false;
    }
    return pulses;
}

TEST(MeterEnergy, Protocol0OverAnHour)
{
    TZbSxMeter meter(FixedTime);
    SetGrid(meter, 220, 1000, 1000);
    EXPECT_EQ(meter.EnergyIncrement[0], 61);
    EXPECT_EQ(meter.EnergyIncrement[3], 183);

    EXPECT_EQ(Tick(meter, 5), 0);
    EXPECT_EQ(Units(meter.TotalEnergy), 0);
    EXPECT_EQ(Tick(meter, 1), 1);
    EXPECT_EQ(Units(meter.TotalEnergy), 1);

    EXPECT_EQ(Tick(meter, 3594), 657);
    EXPECT_EQ(Reg(meter.TotalEnergy), (Bytes{0x58, 0x06, 0x00, 0x00}));  // 6.58 kWh
    EXPECT_EQ(Reg(meter.TariffEnergy[0]), Reg(meter.TotalEnergy));
    EXPECT_EQ(Reg(meter.TariffEnergy[4]), Reg(meter.TotalEnergy));
    EXPECT_EQ(Units(meter.TariffEnergy[3]), 0);
    EXPECT_EQ(Reg(meter.GetEnergy07(0)), Reg(meter.TotalEnergy));
    EXPECT_EQ(Reg(meter.GetEnergy07(4)), Reg(meter.TotalEnergy));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(Reg(meter.PhaseEnergy[k]), (Bytes{0x19, 0x02, 0x00, 0x00}));  // 2.19 kWh
}

TEST(MeterEnergy, NoCurrentNoEnergyWithOrWithoutFixedRate)
{
    for (bool fixed : {false, true}) {
        SCOPED_TRACE(fixed);
        TZbSxMeter meter(FixedTime);
        meter.SetFixedRate("00000005");
        meter.FixedRateRunning = fixed;
        SetGrid(meter, 220, 0, 1000);
        EXPECT_EQ(Tick(meter, 600), 0);
        EXPECT_EQ(Units(meter.TotalEnergy), 0);
        EXPECT_EQ(Units(meter.PhaseEnergy[0]), 0);
    }
}

TEST(MeterEnergy, FixedRate)
{
    TZbSxMeter meter(FixedTime);
    meter.SetFixedRate("00000005");
    EXPECT_EQ(Reg(meter.FixedRateStep), (Bytes{5, 0, 0, 0}));
    meter.FixedRateRunning = true;
    SetGrid(meter, 220, 1000, 1000);

    EXPECT_EQ(Tick(meter, 5), 0);
    EXPECT_EQ(Tick(meter, 1), 1);
    EXPECT_EQ(Units(meter.TotalEnergy), 5);
    EXPECT_EQ(meter.EnergyAccumulator[3], 0u);  // the remainder goes with the fixed step
    Tick(meter, 3594);
    EXPECT_EQ(Units(meter.TotalEnergy), 600 * 5);
    EXPECT_EQ(Units(meter.PhaseEnergy[2]), 219);  // the phases follow the power

    meter.SetFixedRate("000000.01");  // the dialog's default
    EXPECT_EQ(Reg(meter.FixedRateStep), (Bytes{1, 0, 0, 0}));
    meter.SetFixedRate("12");
    EXPECT_EQ(Reg(meter.FixedRateStep), (Bytes{12, 0, 0, 0}));
}

TEST(MeterPower, BcdPowersAndFactor)
{
    TZbSxMeter meter(FixedTime);
    SetGrid(meter, 220, 1000, 707);
    EXPECT_EQ(Reg(meter.ApparentPower[1], 3), (Bytes{0x00, 0x20, 0x02}));  // 02.2000 kVA
    EXPECT_EQ(Reg(meter.ActivePower[1], 3), (Bytes{0x50, 0x55, 0x01}));    // 01.5550 kW
    EXPECT_EQ(Reg(meter.ApparentPower[0], 3), (Bytes{0x00, 0x60, 0x06}));  // 06.6000 kVA
    EXPECT_EQ(Reg(meter.ActivePower[0], 3), (Bytes{0x50, 0x66, 0x04}));    // 04.6650 kW
    EXPECT_EQ(Reg(meter.PowerFactor[0], 2), (Bytes{0x06, 0x07}));          // 0.706
    EXPECT_EQ(meter.PowerFactorTotalBin, 707);
    EXPECT_EQ(meter.ApparentPowerBin[0], 220000u);
    EXPECT_EQ(meter.ActivePowerBin[3], 3u * 155540u);

    SetGrid(meter, 0, 1000, 1000);
    EXPECT_EQ(Reg(meter.ApparentPower[0], 3), Bytes(3, 0));
    EXPECT_EQ(Reg(meter.PowerFactor[0], 2), (Bytes{0x00, 0x10}));  // 1.000 with no power
}

TEST(MeterPower, LargestGridInputKeepsItsTotalFactor)
{
    // 260 V and 99.99 A on three phases: total active x 1000 passes 32 bits.
    TZbSxMeter meter(FixedTime);
    SetGrid(meter, 260, 9999, 1000);
    EXPECT_EQ(meter.PowerFactorTotalBin, 1000);
    EXPECT_EQ(meter.ActivePowerBin[3], 3u * 260u * 9999u);
    EXPECT_EQ(meter.EnergyIncrement[3], 3 * 260 * 9999 / 3600);
    EXPECT_EQ(Reg(meter.ActivePower[1], 3), (Bytes{0x70, 0x99, 0x25}));  // 25.9970 kW
}

TEST(MeterPower, PhasePowerOf100KwAndMoreReadsZeroInItsHighByte)
{
    TZbSxMeter meter(FixedTime);
    const std::uint8_t volts[2] = {0x99, 0x99};  // 999.9 V
    const std::uint8_t amps[2] = {0x99, 0x99};   // 99.99 A
    std::uint8_t out[3];
    meter.CalcPhasePower(volts, amps, 1000, out);  // 99 980 VA
    EXPECT_EQ(Reg(out, 3), (Bytes{0x00, 0x98, 0x99}));
    meter.CalcPhasePower(volts, amps, 2000, out);  // 199 960 W
    EXPECT_EQ(Reg(out, 3), (Bytes{0x00, 0x96, 0x00}));
}

TEST(MeterEnergy, Protocol1OverAnHourFromTheAcInput)
{
    TZbSxMeter meter(FixedTime);
    meter.Protocol = mpDlt645_2007;
    SetGrid(meter, 0, 0, 0);  // the console's grid input plays no part
    const int pulses = Tick(meter, 3600);
    const long total = Units(meter.TotalEnergy);
    EXPECT_TRUE(total == 5279 || total == 5280) << total;
    EXPECT_EQ(pulses, 3600);  // 14.67 Wh a second: a unit or two every second
    EXPECT_EQ(Units(meter.TariffEnergy[4]), total);
    EXPECT_EQ(Units(meter.GetEnergy07(0)), total);
    EXPECT_EQ(Units(meter.GetEnergy07(4)), total);
    EXPECT_EQ(Units(meter.PhaseEnergy[0]), 0);
    EXPECT_EQ(meter.AcInput->CarryOut[3], 0);
}

TEST(MeterEnergy, AddEnergyKeepsTotalsAndTariffsTogether)
{
    TZbSxMeter meter(FixedTime);
    meter.TotalEnergy[0] = 0x99;
    meter.TotalEnergy[1] = 0x99;
    meter.TotalEnergy[2] = 0x99;
    meter.TotalEnergy[3] = 0x99;
    meter.AddEnergy(0x02);  // the register rolls over like a real one
    EXPECT_EQ(Reg(meter.TotalEnergy), (Bytes{0x01, 0, 0, 0}));
    EXPECT_EQ(Reg(meter.TariffEnergy[0]), (Bytes{0x01, 0, 0, 0}));

    // A tariff number outside 1..4 counts as tariff 3, and never twice into the 2007 total.
    meter.CurrentTariff = 200;
    meter.AddEnergy(0x10);
    EXPECT_EQ(meter.TariffEnergy[3][0], 0x10);
    EXPECT_EQ(meter.GetEnergy07(0)[0], 0x12);
    EXPECT_EQ(meter.GetEnergy07(3)[0], 0x10);

    meter.AddPhaseEnergy(2, 0x07);
    meter.AddPhaseEnergy(4, 0x07);
    meter.AddPhaseEnergy(0, 0x07);
    EXPECT_EQ(meter.PhaseEnergy[1][0], 0x07);
    EXPECT_EQ(meter.PhaseEnergy[0][0], 0x00);
    EXPECT_EQ(meter.PhaseEnergy[2][0], 0x00);
}

TEST(MeterEnergy, LoadEnergy)
{
    TZbSxMeter meter(FixedTime);
    for (std::uint8_t t : {1, 2, 3, 4, 9}) {
        meter.CurrentTariff = t;
        meter.AddEnergy(0x11);
        meter.AddPhaseEnergy(t % 3 + 1, 0x11);
    }
    meter.SetTotalEnergy("12345678");
    const Bytes e = {0x78, 0x56, 0x34, 0x12};  // 123456.78 kWh
    EXPECT_EQ(Reg(meter.TotalEnergy), e);
    EXPECT_EQ(Reg(meter.TariffEnergy[0]), e);
    EXPECT_EQ(Reg(meter.TariffEnergy[3]), e);
    for (int t : {1, 2, 4})
        EXPECT_EQ(Units(meter.TariffEnergy[t]), 0) << t;
    for (const auto& table : meter.HourEnergy)
        for (const auto& slot : table)
            EXPECT_EQ(Reg(slot), e);
    for (const auto& phase : meter.PhaseEnergy)
        EXPECT_EQ(Units(phase), 0);
    // The 2007 registers by the same rule: their tariffs add up to their total.
    EXPECT_EQ(Reg(meter.GetEnergy07(0)), e);
    EXPECT_EQ(Reg(meter.GetEnergy07(3)), e);
    for (int r = 1; r < 64; ++r) {
        if (r == 3)
            continue;
        EXPECT_EQ(Units(meter.GetEnergy07(r)), 0) << r;
    }

    meter.LoadEnergy(meter.TotalEnergy);  // a register of its own as the source
    EXPECT_EQ(Reg(meter.TariffEnergy[3]), e);
}

TEST(MeterEnergy, SetTotalEnergyTexts)
{
    struct Row {
        const char* text;
        long units;
    };
    const Row rows[] = {
        {"12345678", 12345678},
        {"000000.00", 0},  // the protocol change: cut to "000000.0", zero
        {"0", 0},          // the 2007 meter clear
        {"1234", 1234},
        {"1234567890", 12345678},  // only the first eight digits count
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        TZbSxMeter meter(FixedTime);
        meter.TotalEnergy[3] = 0x55;
        meter.SetTotalEnergy(r.text);
        EXPECT_EQ(Units(meter.TotalEnergy), r.units);
        EXPECT_EQ(Units(meter.GetEnergy07(0)), r.units);
    }
    // Text that is not decimal would leave registers that are not BCD: it changes nothing.
    TZbSxMeter meter(FixedTime);
    meter.SetTotalEnergy("00000042");
    meter.SetTotalEnergy("12ab5678");
    EXPECT_EQ(Units(meter.TotalEnergy), 42);
}

TEST(MeterEnergy, NeutralCurrentLeavesThePhases)
{
    TZbSxMeter meter(FixedTime);
    SetGrid(meter, 220, 1000, 1000);
    const std::uint8_t neutral[2] = {0x34, 0x12};
    meter.SetNeutralCurrent(neutral);
    EXPECT_EQ(Reg(meter.Current[3], 2), (Bytes{0x34, 0x12}));
    EXPECT_EQ(Reg(meter.Current[0], 2), (Bytes{0x00, 0x10}));
    EXPECT_EQ(Reg(meter.GetCurrent(0), 2), (Bytes{0x00, 0x10}));
}

// ---- The AC-input model ---------------------------------------------------------------------

TEST(AcInput, StepsOfTheBuiltInInput)
{
    THdlAcInput ac;
    EXPECT_EQ(ac.Voltage[1], 22000);
    EXPECT_EQ(ac.Current[2], 800000);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(Reg(ac.ActiveStep[k]), (Bytes{88, 88, 88, 4})) << k;  // 4 888 888
        EXPECT_EQ(Reg(ac.ApparentStep[k]), (Bytes{88, 88, 88, 4})) << k;
        EXPECT_EQ(Reg(ac.ReactiveStep[k]), Bytes(4, 0)) << k;
    }
    EXPECT_EQ(Reg(ac.ActiveStep[3]), (Bytes{64, 66, 66, 14}));  // 14 666 664
    EXPECT_EQ(Reg(ac.ApparentStep[3]), (Bytes{64, 66, 66, 14}));

    ac.SetAngleA(90.0f);
    ac.SetAngleB(60.0f);
    ac.SetAngleC(180.0f);
    ac.Recalculate();
    EXPECT_EQ(Reg(ac.ActiveStep[0]), Bytes(4, 0));
    EXPECT_EQ(Reg(ac.ReactiveStep[0]), (Bytes{88, 88, 88, 4}));
    EXPECT_EQ(Reg(ac.ActiveStep[1]), (Bytes{44, 44, 44, 2}));  // 2 444 444
    EXPECT_EQ(Reg(ac.ActiveStep[2]), Bytes(4, 0));  // reverse flow adds no forward energy
    EXPECT_EQ(ac.Angle[1], 6000);
}

TEST(AcInput, AccumulateSecondMovesWholeUnitsToTheCarries)
{
    THdlAcInput ac;
    ac.AccumulateSecond();
    // 14.67 Wh of total active energy: one unit out, 4.67 Wh stay.
    EXPECT_EQ(ac.CarryOut[3], 1);        // active total
    EXPECT_EQ(ac.CarryOut[11], 1);       // apparent total
    EXPECT_EQ(ac.CarryOut[7], 0);        // reactive total
    EXPECT_EQ(Reg(ac.Accumulator[7]), (Bytes{64, 66, 66, 4}));
    EXPECT_EQ(ac.CarryOut[0], 0);        // 4.89 Wh of phase A: no unit yet
    ac.AccumulateSecond();
    ac.AccumulateSecond();               // 14.67 Wh of phase A
    EXPECT_EQ(ac.CarryOut[0], 1);
    EXPECT_EQ(ac.CarryOut[8], 1);        // apparent A
    EXPECT_EQ(ac.CarryOut[4], 0);
}

TEST(AcInput, Base100Numbers)
{
    const std::uint8_t all99[4] = {99, 99, 99, 99};
    const std::uint8_t one[4] = {1, 0, 0, 0};
    std::uint8_t out[4];
    THdlAcInput::AddBase100(all99, one, out);
    EXPECT_EQ(Reg(out), Bytes(4, 0));  // the carry out of the last digit is dropped
    const std::uint8_t a[4] = {50, 99, 0, 7};
    const std::uint8_t b[4] = {50, 0, 99, 2};
    THdlAcInput::AddBase100(a, b, out);
    EXPECT_EQ(Reg(out), (Bytes{0, 0, 0, 10}));
    THdlAcInput::ToBase100(123456789u, out);
    EXPECT_EQ(Reg(out), (Bytes{89, 67, 45, 23}));  // modulo 100 000 000
}

}  // namespace
