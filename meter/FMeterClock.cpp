// The meter's one-second tick, tariff schedule, hourly table, box-open records, and the energy
// and power model.
//
// Energy has two sources. Under DL/T 645-1997 it is integrated from the grid input the console
// sets (binary mirrors, 0.01 Wh a second per phase); under the other protocols it comes from the
// AC-input model THdlAcInput, whose inputs are fixed when it is built. Either way whole units of
// 0.01 kWh reach the registers through AddEnergy.
#include "meter/FMeter.h"

#include <algorithm>

#include "meter/FFunct.h"
#include "meter/FRtc.h"

namespace {

// One register unit (0.01 kWh) in the accumulators' unit of 0.01 Wh.
constexpr std::uint32_t kUnitInAccumulator = 1000;

// The value of n packed BCD bytes, least significant first.
std::int64_t BcdValue(const std::uint8_t* bcd, int n)
{
    std::int64_t value = 0;
    for (int i = n - 1; i >= 0; --i)
        value = value * 100 + BcdToByte(bcd[i]);
    return value;
}

// A power factor x 1000 as two BCD bytes X.XXX, low byte first.
void StorePowerFactor(std::uint8_t* out, std::uint32_t value)
{
    out[1] = ByteToBcd(static_cast<std::uint8_t>(std::min<std::uint32_t>(value / 100, 255)));
    out[0] = ByteToBcd(static_cast<std::uint8_t>(value % 100));
}

}  // namespace

// ---- Clock and calendar ---------------------------------------------------------------------

void TZbSxMeter::TickSecond()
{
    // The clock always runs; a paused meter only stops counting energy.
    BcdIncByte(Clock[0]);
    if (Running) {
        if (Protocol == mpDlt645_1997) {
            AccumulateEnergy();
        } else {
            AcInput->AccumulateSecond();
            if (AcInput->CarryOut[3] != 0) {
                AddEnergy(ByteToBcd(AcInput->CarryOut[3]));
                AcInput->CarryOut[3] = 0;
                EnergyPulse = true;
            }
        }
    }
    if (Clock[0] <= 0x59)
        return;
    Clock[0] = 0;
    BcdIncByte(Clock[1]);
    if (Clock[1] > 0x59) {
        Clock[1] = 0;
        BcdIncByte(Clock[2]);
        if (Clock[2] > 0x23) {
            Clock[2] = 0;
            AdvanceDate(Clock[4], Clock[5], Clock[6]);
            Clock[3] = static_cast<std::uint8_t>((Clock[3] + 1) % 7);
        }
        StoreHourEnergy();
    }
    // After the hour and day roll-overs, so that the schedule sees the real time: an entry that
    // starts at hh:00 is in force from hh:00:00 on.
    MinuteTick();
}

void TZbSxMeter::UpdateTariff()
{
    // Clock and schedule are BCD, so hour x 256 + minute compares in time order. The walk stops
    // at the end mark (tariff 0) or at the first entry that starts later than now.
    CurrentTariff = 3;
    const int now = Clock[2] * 256 + Clock[1];
    for (const auto& entry : TariffSchedule) {
        if (entry[0] == 0 || entry[2] * 256 + entry[1] > now)
            break;
        CurrentTariff = entry[0];
    }
}

void TZbSxMeter::MinuteTick()
{
    UpdateTariff();
    if (BoxIsOpen)
        BoxOpenMinutes = static_cast<std::uint16_t>(BoxOpenMinutes + 1);
}

void TZbSxMeter::StoreHourEnergy()
{
    // A clock set to a non-BCD hour has no slot: nothing is written outside the table.
    const int hour = BcdToByte(Clock[2]);
    if (hour >= 24)
        return;
    CopyBytes(GetHourTable(false) + 4 * hour, TotalEnergy, 4);
}

void TZbSxMeter::RecordBoxOpen(bool open)
{
    std::uint8_t* record = BoxOpenRecords[BoxOpenRecordNo % 50];
    if (open) {
        BoxOpenMinutes = 0;
        record[0] = BoxOpenRecordNo;
        CopyBytes(record + 1, Clock + 1, 2);  // minute, hour
        CopyBytes(record + 3, Clock + 4, 3);  // day, month, year
        record[6] = 0;
        record[7] = 0;
    } else if (BoxIsOpen) {
        // A close without an opening has no record of its own: it would write a duration into
        // an older record and skip a record number.
        record[6] = static_cast<std::uint8_t>(BoxOpenMinutes & 0xFF);
        record[7] = static_cast<std::uint8_t>(BoxOpenMinutes >> 8);
        BoxOpenRecordNo = static_cast<std::uint8_t>(BoxOpenRecordNo + 1);
    }
    BoxIsOpen = open;
}

// ---- Powers ---------------------------------------------------------------------------------

void TZbSxMeter::CalcPowerIncrements()
{
    // Products in 64 bits: voltage x current x power factor x 1000 passes 32 bits well inside
    // the console's range (three phases of 220 V and 10 A already do).
    std::uint64_t apparentTotal = 0;
    std::uint64_t activeTotal = 0;
    std::uint64_t active[3];
    for (int k = 0; k < 3; ++k) {
        const std::uint64_t apparent = std::uint64_t{VoltageBin[k]} * CurrentBin[k];
        active[k] = std::uint64_t{PowerFactorBin[k]} * apparent / 1000;
        ApparentPowerBin[k] = static_cast<std::uint32_t>(apparent);
        ActivePowerBin[k] = static_cast<std::uint32_t>(active[k]);
        apparentTotal += apparent;
        activeTotal += active[k];
    }
    ApparentPowerBin[3] = static_cast<std::uint32_t>(apparentTotal);
    ActivePowerBin[3] = static_cast<std::uint32_t>(activeTotal);

    const std::uint64_t factor = apparentTotal == 0 ? 0 : activeTotal * 1000 / apparentTotal;
    PowerFactorTotalBin = static_cast<std::uint16_t>(std::min<std::uint64_t>(factor, 0xFFFF));
    StorePowerFactor(PowerFactor[0], PowerFactorTotalBin);

    auto increment = [](std::uint64_t power) {
        return static_cast<std::uint16_t>(std::min<std::uint64_t>(power / 3600, 0xFFFF));
    };
    for (int k = 0; k < 3; ++k)
        EnergyIncrement[k] = increment(active[k]);
    EnergyIncrement[3] = increment(activeTotal);
}

void TZbSxMeter::CalcPhasePower(const std::uint8_t* voltage, const std::uint8_t* current,
                                std::uint16_t factor, std::uint8_t* out)
{
    const std::int64_t v = BcdValue(voltage, 2);  // 0.1 V
    const std::int64_t i = BcdValue(current, 2);  // 0.01 A
    const std::int64_t wholeVa = v * i / 1000;
    const std::int64_t e = wholeVa * factor / 1000 * 10;  // 0.1 W, last digit always 0
    out[0] = ByteToBcd(static_cast<std::uint8_t>(e % 100));
    out[1] = ByteToBcd(static_cast<std::uint8_t>(e / 100 % 100));
    // XX.XXXX kW cannot hold 100 kW or more: the high byte then reads 00.
    const std::int64_t high = e / 10000;
    out[2] = high < 100 ? ByteToBcd(static_cast<std::uint8_t>(high)) : 0x00;
}

void TZbSxMeter::CalcPowers()
{
    FillBytes(ApparentPower[0], 0, 3);
    FillBytes(ActivePower[0], 0, 3);
    for (int k = 0; k < 3; ++k) {
        CalcPhasePower(Voltage[k], Current[k], 1000, ApparentPower[1 + k]);
        const auto factor = static_cast<std::uint16_t>(BcdValue(PowerFactor[1 + k], 2));
        CalcPhasePower(Voltage[k], Current[k], factor, ActivePower[1 + k]);
        BcdAdd(ApparentPower[0], ApparentPower[1 + k], 3, ApparentPower[0]);
        BcdAdd(ActivePower[0], ActivePower[1 + k], 3, ActivePower[0]);
    }
    const std::int64_t p = BcdValue(ActivePower[0], 3);
    const std::int64_t s = BcdValue(ApparentPower[0], 3);
    const auto factor = s == 0 ? 1000u
                               : static_cast<std::uint32_t>(static_cast<double>(p) /
                                                            static_cast<double>(s) * 1000.0);
    StorePowerFactor(PowerFactor[0], factor);
}

// ---- Energy ---------------------------------------------------------------------------------

void TZbSxMeter::AccumulateEnergy()
{
    for (int k = 0; k < 4; ++k)
        EnergyAccumulator[k] += EnergyIncrement[k];

    std::uint32_t& total = EnergyAccumulator[3];
    if (total >= kUnitInAccumulator) {
        std::uint8_t units;
        if (FixedRateRunning) {
            // The fixed rate replaces whatever the power made; the remainder goes with it.
            units = FixedRateStep[0];
            total = 0;
        } else {
            units = static_cast<std::uint8_t>(total / kUnitInAccumulator);
            total %= kUnitInAccumulator;
        }
        AddEnergy(ByteToBcd(units));
        EnergyPulse = true;
    }

    for (int k = 0; k < 3; ++k) {
        std::uint32_t& phase = EnergyAccumulator[k];
        if (phase >= kUnitInAccumulator) {
            const auto units = static_cast<std::uint8_t>(phase / kUnitInAccumulator);
            phase %= kUnitInAccumulator;
            AddPhaseEnergy(k + 1, ByteToBcd(units));
        }
    }
}

void TZbSxMeter::AddEnergy(std::uint8_t amount)
{
    const std::uint8_t add[4] = {amount, 0, 0, 0};
    BcdAdd(TotalEnergy, add, 4, TotalEnergy);
    CopyBytes(TariffEnergy[0], TotalEnergy, 4);
    BcdAdd(GetEnergy07(0), add, 4, GetEnergy07(0));

    const int tariff = CurrentTariff >= 1 && CurrentTariff <= 4 ? CurrentTariff : 3;
    BcdAdd(TariffEnergy[tariff], add, 4, TariffEnergy[tariff]);
    // A tariff number the 2007 store has no register for goes to tariff 3, as in the 1997
    // registers, and never a second time into the total.
    const int tariff07 = CurrentTariff >= 1 && CurrentTariff <= 63 ? CurrentTariff : 3;
    BcdAdd(GetEnergy07(tariff07), add, 4, GetEnergy07(tariff07));
}

void TZbSxMeter::AddPhaseEnergy(int phase, std::uint8_t amount)
{
    if (phase < 1 || phase > 3)
        return;
    const std::uint8_t add[4] = {amount, 0, 0, 0};
    BcdAdd(PhaseEnergy[phase - 1], add, 4, PhaseEnergy[phase - 1]);
}

void TZbSxMeter::LoadEnergy(const std::uint8_t* energy)
{
    std::uint8_t e[4];
    CopyBytes(e, energy, 4);  // energy may be one of the registers written below

    CopyBytes(TotalEnergy, e, 4);
    for (int t = 0; t < 5; ++t)
        FillBytes(TariffEnergy[t], 0, 4);
    CopyBytes(TariffEnergy[0], e, 4);
    CopyBytes(TariffEnergy[3], e, 4);

    for (auto& table : HourEnergy)
        for (auto& slot : table)
            CopyBytes(slot, e, 4);
    for (auto& phase : PhaseEnergy)
        FillBytes(phase, 0, 4);

    // The 2007 registers follow the same rule, so that their tariffs add up to their total.
    FillBytes(GetEnergy07(0), 0, 4 * 64);
    CopyBytes(GetEnergy07(0), e, 4);
    CopyBytes(GetEnergy07(3), e, 4);
}

void TZbSxMeter::SetTotalEnergy(const std::string& digits)
{
    // Eight digits XXXXXXXX (0.01 kWh); "000000.00" is cut to "000000.0" and reads as zero.
    const std::string text = digits.substr(0, 8);
    // Anything but digits would leave bytes that are not BCD in the registers.
    if (!std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
        return;
    std::uint8_t e[4] = {};
    HexToBytesReversed(text, e, sizeof e, 16);
    LoadEnergy(e);
}

void TZbSxMeter::SetFixedRate(const std::string& digits)
{
    // The last two digits are the step in 0.01 kWh, as a binary number 0..99.
    FillBytes(FixedRateStep, 0, 4);
    HexToBytesReversed(digits, FixedRateStep, 4, 10);
}

void TZbSxMeter::SetNeutralCurrent(const std::uint8_t* current)
{
    CopyBytes(Current[3], current, 2);
}
