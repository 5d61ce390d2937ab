#include "meter/FHdlAcInput.h"

#include <algorithm>
#include <cmath>

namespace {

// A non-negative energy step as a base-100 number (modulo 100000000, as the digits hold it).
// A negative active or reactive part (an angle past 90 degrees) counts as no forward energy.
void StepToBase100(double value, std::uint8_t* out)
{
    const auto whole = static_cast<std::uint64_t>(std::max(0.0, std::trunc(value)));
    THdlAcInput::ToBase100(static_cast<std::uint32_t>(whole % 100000000u), out);
}

}  // namespace

THdlAcInput::THdlAcInput()
{
    SetVoltageA(220.0f);
    SetVoltageB(220.0f);
    SetVoltageC(220.0f);
    SetCurrentA(80.0f);
    SetCurrentB(80.0f);
    SetCurrentC(80.0f);
    SetAngleA(0.0f);
    SetAngleB(0.0f);
    SetAngleC(0.0f);
    Recalculate();
}

void THdlAcInput::SetVoltageA(float volts) { Voltage[0] = static_cast<std::int32_t>(volts * 100); }
void THdlAcInput::SetVoltageB(float volts) { Voltage[1] = static_cast<std::int32_t>(volts * 100); }
void THdlAcInput::SetVoltageC(float volts) { Voltage[2] = static_cast<std::int32_t>(volts * 100); }
void THdlAcInput::SetCurrentA(float amperes) { Current[0] = static_cast<std::int32_t>(amperes * 10000); }
void THdlAcInput::SetCurrentB(float amperes) { Current[1] = static_cast<std::int32_t>(amperes * 10000); }
void THdlAcInput::SetCurrentC(float amperes) { Current[2] = static_cast<std::int32_t>(amperes * 10000); }

void THdlAcInput::SetAngleA(float degrees)
{
    Angle[0] = static_cast<std::int32_t>(degrees * 100);
    SinCos(degrees, CosSin[0]);
}

void THdlAcInput::SetAngleB(float degrees)
{
    Angle[1] = static_cast<std::int32_t>(degrees * 100);
    SinCos(degrees, CosSin[1]);
}

void THdlAcInput::SetAngleC(float degrees)
{
    Angle[2] = static_cast<std::int32_t>(degrees * 100);
    SinCos(degrees, CosSin[2]);
}

void THdlAcInput::Recalculate()
{
    UpdatePowers();
}

void THdlAcInput::UpdatePowers()
{
    std::uint64_t energy[3];  // 0.000001 Wh in one second
    for (int k = 0; k < 3; ++k) {
        const std::int64_t product = std::int64_t{Voltage[k]} * Current[k];
        energy[k] = static_cast<std::uint64_t>(std::max<std::int64_t>(product, 0)) / 3600;
        StepToBase100(static_cast<double>(energy[k]) * CosSin[k][0], ActiveStep[k]);
        StepToBase100(static_cast<double>(energy[k]) * CosSin[k][1], ReactiveStep[k]);
        ToBase100(static_cast<std::uint32_t>(energy[k] % 100000000u), ApparentStep[k]);
    }
    ToBase100(static_cast<std::uint32_t>((energy[0] + energy[1] + energy[2]) % 100000000u),
              ApparentStep[3]);
    AddBase100(ActiveStep[0], ActiveStep[1], ActiveStep[3]);
    AddBase100(ActiveStep[3], ActiveStep[2], ActiveStep[3]);
    AddBase100(ReactiveStep[0], ReactiveStep[1], ReactiveStep[3]);
    AddBase100(ReactiveStep[3], ReactiveStep[2], ReactiveStep[3]);
}

void THdlAcInput::AccumulateSecond()
{
    // Accumulators run apparent, active, reactive; the carry bytes active, reactive, apparent.
    static constexpr int kCarryBase[3] = {8, 0, 4};
    const TBase100* steps[3] = {ApparentStep, ActiveStep, ReactiveStep};
    for (int i = 0; i < 12; ++i) {
        std::uint8_t* acc = Accumulator[i];
        AddBase100(acc, steps[i / 4][i % 4], acc);
        // d3 counts watt-hours: every ten of them are one unit of 0.01 kWh.
        if (acc[3] >= 10) {
            CarryOut[kCarryBase[i / 4] + i % 4] = static_cast<std::uint8_t>(acc[3] / 10);
            acc[3] = static_cast<std::uint8_t>(acc[3] % 10);
        }
    }
}

void THdlAcInput::ToBase100(std::uint32_t value, std::uint8_t* out)
{
    value %= 100000000u;
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(value % 100);
        value /= 100;
    }
}

void THdlAcInput::AddBase100(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out)
{
    int carry = 0;
    for (int i = 0; i < 4; ++i) {
        const int s = a[i] + b[i] + carry;
        out[i] = static_cast<std::uint8_t>(s % 100);
        carry = s / 100;
    }
}

void THdlAcInput::SinCos(float degrees, float* cosSin)
{
    const double radians = static_cast<double>(degrees) * 3.14159265358979323846 / 180.0;
    cosSin[0] = static_cast<float>(std::cos(radians));
    cosSin[1] = static_cast<float>(std::sin(radians));
}
