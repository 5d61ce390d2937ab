// Whatever arrives on the line, the meter must neither crash nor write outside its buffers, and
// every reply it leaves must be a well-formed frame. Random requests with valid framing reach the
// command handlers; identifiers are drawn mostly from the known families so that the handlers'
// own length and range checks are exercised, not just the frame checks.
#include "meter/FMeter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "meter/FFunct.h"
#include "common/Frame645.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TMeterTime FixedTime() { return {2025, 3, 9, 14, 5, 7}; }

using testsupport::MakeFrame;

// Checks the frame the meter left in its transmit buffer: optional FE preamble, 68 A 68 C L
// data CS 16, optionally one phase byte after the end byte.
void ExpectWellFormedReply(const std::uint8_t* tx, int length, const Bytes& request)
{
    ASSERT_GE(length, 12) << "request " << ::testing::PrintToString(request);
    ASSERT_LE(length, TZbSxMeter::kFrameBufferSize);
    int start = 0;
    while (start < length && tx[start] == 0xFE)
        ++start;
    ASSERT_LE(start, 4);
    ASSERT_EQ(tx[start], 0x68);
    ASSERT_EQ(tx[start + 7], 0x68);
    const int l = tx[start + 9];
    const int end = start + 10 + l + 1;
    ASSERT_LT(end, length + 1);
    ASSERT_LE(end + 1, length) << "reply shorter than its L";
    EXPECT_EQ(tx[end - 1], ByteSum(tx + start, 10 + l)) << "checksum";
    EXPECT_EQ(tx[end], 0x16);
    EXPECT_LE(length - (end + 1), 1) << "at most the phase byte after the end";
}

const std::uint8_t kControls[] = {0x01, 0x02, 0x03, 0x04, 0x08, 0x0A, 0x0C, 0x0F, 0x10, 0x11, 0x12, 0x13,
                                  0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F,
                                  0xA1, 0xA2, 0xC1, 0xD1, 0xD3, 0xD4, 0xD7, 0xE1, 0xF1, 0x81, 0x91, 0x00};
const std::uint8_t kDi3[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x10, 0x19, 0x1D, 0x1E, 0x20};
const std::uint8_t kDi97Hi[] = {0x90, 0x91, 0x94, 0x95, 0xA0, 0xA1, 0xB0, 0xB2, 0xB3, 0xB6, 0xC0, 0xC1,
                                0xC3, 0xC5, 0xD0, 0xE0, 0xEE, 0xF0};

TEST(MeterRobustness, RandomRequestsNeverBreakTheFrameRules)
{
    std::mt19937 rng(20261210);
    auto pick = [&](const auto& table) { return table[rng() % std::size(table)]; };
    const Bytes addr = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    const Bytes broadcast(6, 0x99);

    for (int protocol = 0; protocol < 4; ++protocol) {
        for (int locked = 0; locked < 2; ++locked) {
            std::vector<std::uint8_t> tx(TZbSxMeter::kFrameBufferSize, 0), rx(TZbSxMeter::kFrameBufferSize, 0);
            TZbSxMeter meter(FixedTime);
            meter.SetTxBuffer(tx.data());
            meter.SetFrameBuffer(rx.data());
            meter.SetProtocol(static_cast<std::uint8_t>(protocol));
            meter.ProtocolLocked = locked != 0;
            meter.OnCheckAddress = [] {};
            for (int i = 0; i < 6000; ++i) {
                const std::uint8_t c = (rng() % 8 == 0) ? static_cast<std::uint8_t>(rng()) : pick(kControls);
                int l = static_cast<int>(rng() % 24);
                if (rng() % 10 == 0)
                    l = static_cast<int>(rng() % 256);
                Bytes data(l);
                for (auto& b : data)
                    b = static_cast<std::uint8_t>(rng());
                if (l >= 2 && rng() % 2) {
                    data[1] = pick(kDi97Hi);
                    data[0] = static_cast<std::uint8_t>(rng() % 0x40);
                }
                if (l >= 4 && rng() % 2) {
                    data[3] = pick(kDi3);
                    data[2] = static_cast<std::uint8_t>(rng() % 0x10);
                    data[1] = static_cast<std::uint8_t>(rng() % 0x10);
                    data[0] = (rng() % 3 == 0) ? 0xFF : static_cast<std::uint8_t>(rng() % 0x0D);
                }
                const Bytes frame = MakeFrame(rng() % 5 == 0 ? broadcast : addr, c, data);
                std::fill(tx.begin(), tx.end(), 0);
                std::copy(frame.begin(), frame.end(), rx.begin());
                meter.ProcessFrame(static_cast<int>(frame.size()));
                if (rng() % 50 == 0)
                    meter.TickSecond();
                ASSERT_LE(meter.TxLength, TZbSxMeter::kFrameBufferSize);
                if (meter.StatusCode == 0 && meter.SendLength > 0)
                    ExpectWellFormedReply(tx.data(), meter.SendLength, frame);
                if (HasFailure())
                    return;
            }
        }
    }
}

} // namespace
