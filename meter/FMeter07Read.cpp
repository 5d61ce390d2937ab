// DL/T 645-2007 reads of energy, demand and instantaneous values.
//
// Unfinished: the handlers serve no identifier yet, so the dispatch answers 0xD1 with error
// byte 2 ("no such data").
// Reply through ReplyData07, ReplyFilled and ReplyFilled32 (FMeter.cpp); GetEnergy07 takes
// registers 0..63.
#include "meter/FMeter.h"

bool TZbSxMeter::ReadEnergy07(const std::uint8_t* /*id*/, std::uint8_t* /*data*/) { return false; }
bool TZbSxMeter::ReadDemand07(const std::uint8_t* /*id*/) { return false; }
bool TZbSxMeter::ReadVariables07(const std::uint8_t* /*id*/) { return false; }
bool TZbSxMeter::ReplyFreezeBlock(std::uint16_t /*n*/) { return false; }
