// DL/T 645-2007 events, freeze data, load records and the other record reads.
//
// Unfinished: no identifier is served yet; the dispatch answers 0xD1 with error byte 2.
// DayBefore and HourBefore give whole dates: records dated back from the clock take their month
// and year from them rather than stepping the month by hand.
#include "meter/FMeter.h"

bool TZbSxMeter::ReadEvents07(const std::uint8_t* /*id*/, const std::uint8_t* /*request*/) { return false; }
bool TZbSxMeter::ReadFreeze07(const std::uint8_t* /*id*/) { return false; }
bool TZbSxMeter::ReadPhaseBreak07(const std::uint8_t* /*id*/) { return false; }
bool TZbSxMeter::ReadSwitchRecords07(const std::uint8_t* /*id*/) { return false; }
bool TZbSxMeter::ReadSubMeters07(const std::uint8_t* /*id*/) { return false; }
bool TZbSxMeter::ReadLoadRecords07(const std::uint8_t* /*id*/, const std::uint8_t* /*request*/) { return false; }
