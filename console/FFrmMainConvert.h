#pragma once
// What the main window's meter panel and parameter edits write into the meter, and the texts it
// shows, as plain functions of text and meter (no widgets), so every conversion is testable.
#include "meter/FMeter.h"

#include <cstdint>
#include <string>

namespace panel {

// Items of the grid-input boxes, in list order.
extern const char* const VoltageItems[4];   // "断电(0V)", "160V", "220V", "260V"
extern const char* const CurrentItems[11];  // "关", "10A" .. "100A"
extern const char* const AngleItems[8];     // "0", "45" .. "315"
extern const char* const PulseItems[4];     // "3200", "1600", "800", "400"

// Box choices into the meter for phase 0..2. An index outside the list writes nothing.
void ApplyVoltage(TZbSxMeter& meter, int phase, int index);
void ApplyCurrent(TZbSxMeter& meter, int phase, int index);
void ApplyAngle(TZbSxMeter& meter, int phase, int index);
void ApplyPulseConstant(TZbSxMeter& meter, int index);

// Face of the meter.
const char* TariffText(std::uint8_t tariff);   // 1 "尖", 2 "峰", 3 "平", 4 "谷", other "平"
const char* WeekdayText(std::uint8_t weekday); // modulo 7, 0 "日" .. 6 "六"
// "电表时间:20yy-mm-dd hh:nn:ss" of the meter clock.
std::string MeterTimeText(const std::uint8_t clock[7]);

// Left-pads with '0' to `width`; a longer text stays as it is.
std::string PadZeros(const std::string& text, int width);
// The meter's own address as the meter reads it from a text (padded to 12, the last six digit
// pairs), written back as the 12 digits it answers with.
std::string MeterAddressText(const std::string& text);
// The password text (padded to 6) into the meter's 3 bytes, last pair first.
void ApplyPassword(TZbSxMeter& meter, const std::string& padded);

// "N 相电流": the text normalised to d.ddd, and the two BCD bytes it stands for (low first).
std::string NormaliseNeutralCurrent(const std::string& text);
void NeutralCurrentBytes(const std::string& normalised, std::uint8_t out[2]);

// Amount edits (XXXXXX.XX): the text shown after leaving the edit, and its 4 BCD bytes.
std::string NormaliseAmount(const std::string& text);
void AmountBytes(const std::string& normalised, std::uint8_t out[4]);

// Parameter edits: the padded text is read into the field (see each).
// hhmm into the start hour and minute of tariff-schedule entry 0..3.
void ApplyTimeBegin(TZbSxMeter& meter, int entry, const std::string& padded);
// Four characters into a two-byte field, the last pair into the first byte.
void ApplyWord(std::uint8_t field[2], const std::string& padded);
// The first two characters as one hexadecimal byte.
void ApplyByte(std::uint8_t& field, const std::string& padded);
// "运行1": the 1997 status byte, or word 0 of the run-status words under the other protocols.
void ApplyStatusRun1(TZbSxMeter& meter, bool dlt1997, const std::string& padded);
// "开箱次数": decimal, stored binary, at most 50; returns the text to show.
std::string ApplyBoxOpenCount(TZbSxMeter& meter, const std::string& padded);

} // namespace panel
