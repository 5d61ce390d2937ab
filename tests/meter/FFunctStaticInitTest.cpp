// A checksum taken while another file's statics are initialised must already be right: the
// table it reads is built at compile time, not by a start-up routine that may run later.
#include "meter/FFunct.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

const std::uint8_t kCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
const std::uint16_t kEarlyCrc = Crc16X25(kCheck, sizeof kCheck);

} // namespace

TEST(FFunctCrc, RightDuringStaticInitialisation)
{
    EXPECT_EQ(kEarlyCrc, 0x906E);
}
