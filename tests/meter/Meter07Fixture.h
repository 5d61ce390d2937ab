#pragma once
// A DL/T 645-2007 meter at a fixed time, with helpers that send a request as it stands on the
// line and take the reply apart again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "meter/FFunct.h"
#include "meter/FMeter.h"
#include "common/Frame645.h"

namespace meter07test {

using Bytes = std::vector<std::uint8_t>;

inline const Bytes kAddr = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
inline const Bytes kBroadcast = {0x99, 0x99, 0x99, 0x99, 0x99, 0x99};

// The identifier DI3 DI2 DI1 DI0 in line order (DI0 first).
inline Bytes Id(std::uint8_t di3, std::uint8_t di2, std::uint8_t di1, std::uint8_t di0)
{
    return {di0, di1, di2, di3};
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

using testsupport::MakeFrame;

// 2025-03-09 14:05:07, a Sunday.
inline TMeterTime FixedTime()
{
    return {2025, 3, 9, 14, 5, 7};
}

struct TReply {
    std::uint8_t C = 0;
    Bytes Data;  // without the 0x33, the identifier included
    // The data after the four identifier bytes.
    Bytes Body() const { return Data.size() >= 4 ? Bytes(Data.begin() + 4, Data.end()) : Bytes{}; }
};

class Meter07 : public ::testing::Test {
protected:
    Meter07() : meter(FixedTime)
    {
        meter.SetTxBuffer(tx);
        meter.SetFrameBuffer(rx);
        meter.OnCheckAddress = [] {};
        meter.Protocol = mpDlt645_2007;
        CopyBytes(meter.Password, password, 3);
    }

    // Sends the request and returns the reply taken apart (C 0 when nothing was built).
    TReply Send(std::uint8_t c, const Bytes& data, const Bytes& addr = kAddr)
    {
        const Bytes f = MakeFrame(addr, c, data);
        std::copy(f.begin(), f.end(), rx);
        meter.ProcessFrame(static_cast<int>(f.size()));
        return Parse();
    }

    TReply Read(const Bytes& id, const Bytes& extra = {}) { return Send(0x11, Cat({id, extra})); }

    // Data after the identifier of a successful read; fails the test on any other reply.
    Bytes ReadBody(const Bytes& id, const Bytes& extra = {})
    {
        const TReply r = Read(id, extra);
        EXPECT_EQ(r.C, 0x91) << "identifier " << Hex(id);
        if (r.Data.size() >= 4) {
            EXPECT_EQ(Bytes(r.Data.begin(), r.Data.begin() + 4), id);
        }
        return r.Body();
    }

    // Write request: identifier, privilege 02, password, operator code, parameter data.
    TReply Write(const Bytes& id, const Bytes& value, const Bytes& pw = {0x11, 0x22, 0x33})
    {
        return Send(0x14, Cat({id, {0x02}, pw, {0x78, 0x56, 0x34, 0x12}, value}));
    }

    TReply Parse()
    {
        TReply r;
        if (meter.TxLength == 0)
            return r;
        const std::uint8_t* f = tx;
        EXPECT_EQ(f[0], 0x68);
        EXPECT_EQ(f[7], 0x68);
        const int l = f[9];
        EXPECT_EQ(meter.TxLength, l + 12);
        EXPECT_EQ(f[10 + l], ByteSum(f, 10 + l));
        EXPECT_EQ(f[11 + l], 0x16);
        r.C = f[8];
        for (int i = 0; i < l; ++i)
            r.Data.push_back(static_cast<std::uint8_t>(f[10 + i] - 0x33));
        return r;
    }

    static std::string Hex(const Bytes& b) { return BytesToHexSpaced(b.data(), static_cast<int>(b.size())); }

    // Sets the clock: second, minute, hour, day, month, year (BCD); the weekday is left.
    void SetClock(std::uint8_t s, std::uint8_t mi, std::uint8_t h, std::uint8_t d, std::uint8_t mo,
                  std::uint8_t y)
    {
        const std::uint8_t c[7] = {s, mi, h, meter.Clock[3], d, mo, y};
        std::copy(c, c + 7, meter.Clock);
    }

    TZbSxMeter meter;
    std::uint8_t tx[TZbSxMeter::kFrameBufferSize] = {};
    std::uint8_t rx[TZbSxMeter::kFrameBufferSize] = {};
    const std::uint8_t password[3] = {0x11, 0x22, 0x33};
};

}  // namespace meter07test
