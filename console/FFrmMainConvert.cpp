#include "console/FFrmMainConvert.h"

#include "meter/FFunct.h"
#include "platform/rtl/SysUtils.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace panel {

const char* const VoltageItems[4] = {"断电(0V)", "160V", "220V", "260V"};
const char* const CurrentItems[11] = {"关",   "10A", "20A", "30A", "40A", "50A",
                                      "60A", "70A", "80A", "90A", "100A"};
const char* const AngleItems[8] = {"0", "45", "90", "135", "180", "225", "270", "315"};
const char* const PulseItems[4] = {"3200", "1600", "800", "400"};

namespace {

// value (0..9999) as two BCD bytes, low byte first.
void ToBcd2(int value, std::uint8_t out[2])
{
    out[0] = ByteToBcd(static_cast<std::uint8_t>(value % 100));
    out[1] = ByteToBcd(static_cast<std::uint8_t>(value / 100 % 100));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

void ApplyVoltage(TZbSxMeter& meter, int phase, int index)
{
    static const int volts[4] = {0, 160, 220, 260};
    if (phase < 0 || phase > 2 || index < 0 || index > 3)
        return;
    ToBcd2(volts[index] * 10, meter.Voltage[phase]);  // XXX.X
    meter.VoltageBin[phase] = static_cast<std::uint16_t>(volts[index]);
    if (index == 0)
        ++meter.PhaseLossCounts[phase];
    else if (index == 3)
        meter.PhaseLossCounts[phase] = 0;
}

void ApplyCurrent(TZbSxMeter& meter, int phase, int index)
{
    if (phase < 0 || phase > 2 || index < 0 || index > 10)
        return;
    const int hundredths = index == 10 ? 9999 : index * 1000;  // XX.XX
    ToBcd2(hundredths, meter.Current[phase]);
    meter.CurrentBin[phase] = static_cast<std::uint16_t>(hundredths);
}

void ApplyAngle(TZbSxMeter& meter, int phase, int index)
{
    if (phase < 0 || phase > 2 || index < 0 || index > 7)
        return;
    const int degrees = index * 45;
    ToBcd2(degrees * 10, meter.PhaseAngle[phase]);  // XXX.X
    // |cos| x 1000 truncated; the small bias keeps 1000 from becoming 999 through rounding.
    const double c = std::fabs(std::cos(degrees * std::numbers::pi / 180.0)) * 1000.0 + 1e-9;
    const int factor = static_cast<int>(c);
    ToBcd2(factor, meter.PowerFactor[phase + 1]);  // X.XXX
    meter.PowerFactorBin[phase] = static_cast<std::uint16_t>(factor);
}

void ApplyPulseConstant(TZbSxMeter& meter, int index)
{
    static const std::uint8_t middle[4] = {0x32, 0x16, 0x08, 0x04};
    if (index < 0 || index > 3)
        return;
    meter.MeterConst[0] = 0x00;
    meter.MeterConst[1] = middle[index];
    meter.MeterConst[2] = 0x00;
}

const char* TariffText(std::uint8_t tariff)
{
    switch (tariff) {
    case 1: return "尖";
    case 2: return "峰";
    case 4: return "谷";
    default: return "平";
    }
}

const char* WeekdayText(std::uint8_t weekday)
{
    static const char* const names[7] = {"日", "一", "二", "三", "四", "五", "六"};
    return names[weekday % 7];
}

std::string MeterTimeText(const std::uint8_t clock[7])
{
    char text[64];
    std::snprintf(text, sizeof text, "电表时间:20%02X-%02X-%02X %02X:%02X:%02X", clock[6], clock[5],
                  clock[4], clock[2], clock[1], clock[0]);
    return text;
}

std::string PadZeros(const std::string& text, int width)
{
    if (static_cast<int>(text.size()) >= width)
        return text;
    return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

std::string MeterAddressText(const std::string& text)
{
    std::uint8_t address[6] = {};
    ParseHexText(PadZeros(text, 12), address, 6);
    return TZbSxMeter::AddressToText(address);
}

void ApplyPassword(TZbSxMeter& meter, const std::string& padded)
{
    HexToBytesReversed(padded, meter.Password, 3);
}

std::string NormaliseNeutralCurrent(const std::string& text)
{
    std::string s = rtl::Trim(text);
    const std::size_t point = s.find('.');
    if (point != std::string::npos && point >= 2)  // a point in the third place or later
        return "0.000";
    if (point == std::string::npos)
        s = s.empty() ? std::string(".") : s.substr(0, 1) + "." + s.substr(1);
    if (s[0] == '.')
        s = "0" + s;
    s = (s + "000").substr(0, 5);
    if (!(IsDigit(s[0]) && s[1] == '.' && IsDigit(s[2]) && IsDigit(s[3]) && IsDigit(s[4])))
        return "0.000";
    return s;
}

void NeutralCurrentBytes(const std::string& normalised, std::uint8_t out[2])
{
    const auto d = [&](int i) { return static_cast<std::uint8_t>(normalised[i] - '0'); };
    out[0] = static_cast<std::uint8_t>(d(3) << 4 | d(4));
    out[1] = static_cast<std::uint8_t>(d(0) << 4 | d(2));
}

std::string NormaliseAmount(const std::string& text)
{
    std::string s = rtl::Trim(text);
    std::size_t p = s.find('.') == std::string::npos ? 0 : s.find('.') + 1;
    if (p > 7)
        return "000000.00";
    if (p == 0) {
        if (s.size() > 6)
            s = s.substr(s.size() - 6);
        s += ".";
        p = s.size();
    }
    return (std::string(7 - p, '0') + s + "00").substr(0, 9);
}

void AmountBytes(const std::string& normalised, std::uint8_t out[4])
{
    std::string digits = normalised;
    if (digits.size() >= 7)
        digits.erase(6, 1);
    HexToBytesReversed(digits, out, 4);
}

void ApplyTimeBegin(TZbSxMeter& meter, int entry, const std::string& padded)
{
    if (entry < 0 || entry > 3)
        return;
    std::uint8_t pair[2] = {};
    ParseHexText(padded, pair, 2);
    meter.TariffSchedule[entry][2] = pair[1];  // hour: the first pair
    meter.TariffSchedule[entry][1] = pair[0];  // minute: the second pair
}

void ApplyWord(std::uint8_t field[2], const std::string& padded)
{
    std::uint8_t pair[2] = {field[0], field[1]};
    const int n = ParseHexText(padded, pair, 2);
    for (int i = 0; i < n; ++i)
        field[i] = pair[i];
}

void ApplyByte(std::uint8_t& field, const std::string& padded)
{
    field = static_cast<std::uint8_t>(HexByte(padded));
}

void ApplyStatusRun1(TZbSxMeter& meter, bool dlt1997, const std::string& padded)
{
    if (dlt1997)
        ApplyByte(meter.Status97, padded);
    else
        ApplyWord(meter.RunStatusWords[0], padded);
}

std::string ApplyBoxOpenCount(TZbSxMeter& meter, const std::string& padded)
{
    int value = 0;
    for (char c : padded.substr(0, 2))
        value = IsDigit(c) ? value * 10 + (c - '0') : value;
    if (value > 50) {
        meter.BoxOpenCount = 50;
        return "50";
    }
    meter.BoxOpenCount = static_cast<std::uint8_t>(value);
    return padded;
}

} // namespace panel
