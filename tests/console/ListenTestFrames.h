#pragma once
// Builders of the frames the listening tests overhear: Daltrex carrier frames with their
// CRC-16/X-25, compressed carrier addresses, DL/T 645 frames and QEL carrier tails.
#include "console/FListenView.h"
#include "meter/FFunct.h"

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace listen_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// An address whose first five values are 0 (a short one, or a special one from 100).
inline TCarrierAddress Last(std::uint8_t v)
{
    return {0, 0, 0, 0, 0, v};
}

// AA L body CRClo CRChi end, with L = body + 3 so that the CRC's high byte sits at offset L.
inline Bytes Daltrex(const Bytes& body, std::uint8_t end = 0x16)
{
    Bytes f{0xAA, static_cast<std::uint8_t>(body.size() + 3)};
    f.reserve(f.size() + body.size() + 3);
    f.insert(f.end(), body.begin(), body.end());
    const std::uint16_t crc = Crc16X25(f.data() + 1, static_cast<std::uint16_t>(f.size() - 1));
    f.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    f.push_back(static_cast<std::uint8_t>(crc >> 8));
    f.push_back(end);
    return f;
}

// The compressed form of a list of addresses (six values each, most significant first): each one
// as its difference to the one before, doubled, leading zero bytes dropped, bit 0 marking the last.
inline Bytes EncodeAddresses(const std::vector<TCarrierAddress>& addresses)
{
    Bytes out;
    TCarrierAddress previous{};
    for (const TCarrierAddress& a : addresses) {
        Bytes raw;
        for (int j = 0; j < 6; ++j)
            raw.push_back(static_cast<std::uint8_t>((a[j] ^ previous[j]) << 1));
        std::size_t first = 0;
        while (first < 5 && raw[first] == 0)
            ++first;
        raw.back() |= 0x01;
        out.insert(out.end(), raw.begin() + static_cast<long>(first), raw.end());
        previous = a;
    }
    return out;
}

// 68 address 68 C L data CS 16 (the data as given, no 0x33 offset).
inline Bytes Dlt645(const Bytes& data, std::uint8_t control = 0x11)
{
    Bytes f{0x68, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x68, control, static_cast<std::uint8_t>(data.size())};
    f.reserve(f.size() + data.size() + 2);
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    return f;
}

// AA L' x.. phase sum 16: L' - 1 bytes after L', the last of them the phase.
inline Bytes QelTail(std::uint8_t phase, const Bytes& middle = {0x12, 0x34})
{
    Bytes t{0xAA, static_cast<std::uint8_t>(middle.size() + 2)};
    t.reserve(t.size() + middle.size() + 3);
    t.insert(t.end(), middle.begin(), middle.end());
    t.push_back(phase);
    t.push_back(ByteSum(t.data(), static_cast<int>(t.size())));
    t.push_back(0x16);
    return t;
}

struct RecordingSink : TListenSink {
    std::vector<std::pair<TListenLog, std::string>> Lines;
    void AddLine(TListenLog log, const std::string& text) override { Lines.emplace_back(log, text); }
    std::vector<std::string> Of(TListenLog log) const
    {
        std::vector<std::string> out;
        for (const auto& [l, t] : Lines)
            if (l == log)
                out.push_back(t);
        return out;
    }
};

}  // namespace listen_test
