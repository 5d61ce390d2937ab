#pragma once
// Small helpers shared by the DL/T 645-2007 command files (FMeter07*.cpp): the identifier text and a
// writer for the data of a reply. Internal to the meter unit.
#include <cstdint>
#include <string>

#include "meter/FFunct.h"

namespace meter07 {


// A 2007 identifier (DI0 first, as on the line) in reading order: "DI3DI2DI1DI0 ".
inline void AppendIdText(std::string& text, const std::uint8_t* id)
{
    AppendFormat(text, "%02X%02X%02X%02X ", id[3], id[2], id[1], id[0]);
}

inline std::string IdText(const std::uint8_t* id)
{
    std::string text;
    AppendIdText(text, id);
    return text;
}

// The request's identifier, copied before the reply overwrites the bytes it was read from.
struct TId07 {
    std::uint8_t Di0, Di1, Di2, Di3;
    explicit TId07(const std::uint8_t* id) : Di0(id[0]), Di1(id[1]), Di2(id[2]), Di3(id[3]) {}
};

// Appends bytes to the data of a reply. The callers keep every reply within what one frame can
// carry before they write it.
class TReplyWriter {
public:
    explicit TReplyWriter(std::uint8_t* data) : Data(data) {}
    void Put(std::uint8_t b) { Data[Count++] = b; }
    void Put(const std::uint8_t* bytes, int n)
    {
        for (int i = 0; i < n; ++i)
            Data[Count++] = bytes[i];
    }
    void Fill(std::uint8_t value, int n)
    {
        for (int i = 0; i < n; ++i)
            Data[Count++] = value;
    }
    int Size() const { return Count; }
    std::uint8_t* Begin() const { return Data; }

private:
    std::uint8_t* Data;
    int Count = 0;
};

// True for a packed BCD byte holding a value from lo to hi.
inline bool BcdInRange(std::uint8_t b, int lo, int hi)
{
    if ((b & 0x0F) > 9 || (b >> 4) > 9)
        return false;
    const int v = (b >> 4) * 10 + (b & 0x0F);
    return v >= lo && v <= hi;
}

}  // namespace meter07
