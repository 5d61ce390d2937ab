#pragma once
// The AC-input model: energy of three phases from a fixed voltage, current and phase angle,
// integrated second by second in base-100 numbers (4 digits 0..99, least significant first, unit
// 0.000001 Wh). The meter owns one and uses it under every protocol but DL/T 645-1997.
#include <cstdint>

class THdlAcInput {
public:
    using TBase100 = std::uint8_t[4];

    // 220 V, 80 A and 0 degrees on every phase; accumulators and carries cleared; steps computed.
    THdlAcInput();
    ~THdlAcInput() = default;
    THdlAcInput(const THdlAcInput&) = delete;
    THdlAcInput& operator=(const THdlAcInput&) = delete;

    void SetVoltageA(float volts);
    void SetVoltageB(float volts);
    void SetVoltageC(float volts);
    void SetCurrentA(float amperes);
    void SetCurrentB(float amperes);
    void SetCurrentC(float amperes);
    void SetAngleA(float degrees);
    void SetAngleB(float degrees);
    void SetAngleC(float degrees);
    // The setters do not recompute the steps; call this after changing inputs.
    void Recalculate();
    void UpdatePowers();
    // Adds one second of every step and moves whole 0.01 kWh units to CarryOut.
    void AccumulateSecond();
    static void ToBase100(std::uint32_t value, std::uint8_t* out);
    // out = a + b, the carry out of the last digit dropped; out may be a or b.
    static void AddBase100(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out);
    static void SinCos(float degrees, float* cosSin);

    std::int32_t Voltage[3] = {};  // 0.01 V
    std::int32_t Current[3] = {};  // 0.0001 A
    std::int32_t Angle[3] = {};    // 0.01 degree
    std::uint8_t ApparentStep[4][4] = {};  // A, B, C, total
    std::uint8_t ActiveStep[4][4] = {};
    std::uint8_t ReactiveStep[4][4] = {};
    float CosSin[3][2] = {};
    // apparent A, B, C, total; active A, B, C, total; reactive A, B, C, total
    std::uint8_t Accumulator[12][4] = {};
    // whole 0.01 kWh units: active A, B, C, total; reactive A, B, C, total; apparent A, B, C, total
    std::uint8_t CarryOut[12] = {};
};
