#include "meter/FHdlAcInput.h"

#include <cmath>

// Unfinished: the power model and the integration are still to come. The constructor already
// sets the designed inputs so that readers of the fields see them.

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
    // Unfinished: the steps stay zero until the power model is written.
}

void THdlAcInput::AccumulateSecond()
{
    // Unfinished: nothing is integrated yet.
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
