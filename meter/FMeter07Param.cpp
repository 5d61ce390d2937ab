// DL/T 645-2007 parameters (identifiers 04 xx xx xx): reads and writes.
//
// Unfinished: no identifier is served yet; reads get 0xD1 and writes 0xD4 with error byte 2.
// The meter has one clock: the date and time parameters 04 00 01 01 and 04 00 01 02 read and set
// Clock, the same clock every other command uses (then UpdateTariff).
#include "meter/FMeter.h"

bool TZbSxMeter::ReadParameter07(const std::uint8_t* /*id*/, std::uint8_t* /*data*/) { return false; }
bool TZbSxMeter::WriteParameter07(const std::uint8_t* /*id*/, const std::uint8_t* /*data*/) { return false; }
