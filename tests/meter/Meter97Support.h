#pragma once
// Frames and a meter fixture for the tests of the 1997-shaped command set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "meter/FFunct.h"
#include "meter/FMeter.h"
#include "common/Frame645.h"

namespace meter97 {

using Bytes = std::vector<std::uint8_t>;

inline const Bytes kAddr = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
inline const Bytes kBroadcast = {0x99, 0x99, 0x99, 0x99, 0x99, 0x99};

// 2025-03-09 14:05:07, a Sunday.
inline TMeterTime FixedTime()
{
    return {2025, 3, 9, 14, 5, 7};
}

using testsupport::MakeFrame;

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        for (std::uint8_t b : p)
            out.push_back(b);
    return out;
}

inline Bytes Of(const std::uint8_t* p, int n)
{
    return Bytes(p, p + n);
}

// A 1997 identifier as frames carry it (DI0 first) from its usual writing (0x9010).
inline Bytes Id(std::uint16_t id)
{
    return {static_cast<std::uint8_t>(id & 0xFF), static_cast<std::uint8_t>(id >> 8)};
}

// A meter on buffers of its own that accepts every address.
class MeterRig {
public:
    MeterRig() : meter(FixedTime)
    {
        meter.SetTxBuffer(tx);
        meter.SetFrameBuffer(rx);
        meter.SetLongFrameIds(longIds[0], longIds[1]);
        meter.OnCheckAddress = [] {};
        meter.AddrText = "112233445566";
    }

    void Handle(const Bytes& frame)
    {
        std::fill(std::begin(rx), std::end(rx), 0xA5);
        std::copy(frame.begin(), frame.end(), rx);
        meter.ProcessFrame(static_cast<int>(frame.size()));
    }
    // A request to the meter's address.
    void Request(std::uint8_t c, const Bytes& data) { Handle(MakeFrame(kAddr, c, data)); }

    // The reply built, empty when none.
    Bytes Reply() const { return Bytes(tx, tx + meter.TxLength); }
    // The data of the reply, 0x33 taken off.
    Bytes ReplyData() const
    {
        if (meter.TxLength < 12)
            return {};
        Bytes d(tx + 10, tx + 10 + tx[9]);
        for (std::uint8_t& b : d)
            b = static_cast<std::uint8_t>(b - 0x33);
        return d;
    }

    TZbSxMeter meter;
    std::uint8_t tx[TZbSxMeter::kFrameBufferSize] = {};
    std::uint8_t rx[TZbSxMeter::kFrameBufferSize] = {};
    std::uint8_t longIds[2][2] = {{0x00, 0x00}, {0x00, 0x01}};
};

class Meter97Test : public ::testing::Test, public MeterRig {};

}  // namespace meter97
