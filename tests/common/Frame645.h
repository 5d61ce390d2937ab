#pragma once
// Builds DL/T 645 frames as they stand on the line, for the tests of every subsystem.
#include <cstdint>
#include <vector>

#include "meter/FFunct.h"

namespace testsupport {

// 68 A0..A5 68 C L DATA+33H CS 16.
inline std::vector<std::uint8_t> MakeFrame(const std::vector<std::uint8_t>& addr, std::uint8_t c,
                                           const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> f = {0x68};
    f.reserve(addr.size() + data.size() + 6);
    f.insert(f.end(), addr.begin(), addr.end());
    f.push_back(0x68);
    f.push_back(c);
    f.push_back(static_cast<std::uint8_t>(data.size()));
    for (std::uint8_t b : data)
        f.push_back(static_cast<std::uint8_t>(b + 0x33));
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    return f;
}

} // namespace testsupport
