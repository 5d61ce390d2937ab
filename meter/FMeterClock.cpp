// The meter's one-second tick, tariff schedule, hourly table, box-open records, and the energy
// and power model.
//
// Partly unfinished: the tick advances the clock and the tariff is taken from the schedule; the
// energy model, the power values and the box-open records are placeholders that change nothing.
#include "meter/FMeter.h"

#include "meter/FFunct.h"
#include "meter/FRtc.h"

void TZbSxMeter::TickSecond()
{
    BcdIncByte(Clock[0]);
    if (Running) {
        if (Protocol == mpDlt645_1997) {
            AccumulateEnergy();
        } else {
            AcInput->AccumulateSecond();
            if (AcInput->CarryOut[3] != 0) {
                AddEnergy(AcInput->CarryOut[3]);
                AcInput->CarryOut[3] = 0;
                EnergyPulse = true;
            }
        }
    }
    if (Clock[0] <= 0x59)
        return;
    Clock[0] = 0;
    BcdIncByte(Clock[1]);
    // At a full hour the minute still reads 0x60 here: a schedule entry starting at minute 00
    // takes effect one minute into its hour.
    MinuteTick();
    if (Clock[1] <= 0x59)
        return;
    Clock[1] = 0;
    BcdIncByte(Clock[2]);
    if (Clock[2] > 0x23) {
        Clock[2] = 0;
        AdvanceDate(Clock[4], Clock[5], Clock[6]);
        Clock[3] = static_cast<std::uint8_t>((Clock[3] + 1) % 7);
    }
    StoreHourEnergy();
}

void TZbSxMeter::UpdateTariff()
{
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
        ++BoxOpenMinutes;
}

void TZbSxMeter::StoreHourEnergy()
{
    // Unfinished.
}

void TZbSxMeter::RecordBoxOpen(bool open)
{
    // Unfinished: only the state is kept.
    BoxIsOpen = open;
}

void TZbSxMeter::CalcPowerIncrements() {}
void TZbSxMeter::CalcPowers() {}

void TZbSxMeter::CalcPhasePower(const std::uint8_t* /*voltage*/, const std::uint8_t* /*current*/,
                                std::uint16_t /*factor*/, std::uint8_t* out)
{
    FillBytes(out, 0, 3);
}

void TZbSxMeter::AccumulateEnergy() {}
void TZbSxMeter::AddEnergy(std::uint8_t /*amount*/) {}
void TZbSxMeter::AddPhaseEnergy(int /*phase*/, std::uint8_t /*amount*/) {}
void TZbSxMeter::LoadEnergy(const std::uint8_t* /*energy*/) {}
void TZbSxMeter::SetTotalEnergy(const std::string& /*digits*/) {}
void TZbSxMeter::SetFixedRate(const std::string& /*digits*/) {}

void TZbSxMeter::SetNeutralCurrent(const std::uint8_t* current)
{
    CopyBytes(Current[3], current, 2);
}
