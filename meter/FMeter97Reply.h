#pragma once
// The data of a 1997-shaped reply as the handlers put it together: bytes written into TxFrame
// behind the identifier, and the display text that describes them, piece by piece.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "meter/FMeter.h"

class TReply97 {
public:
    // Data start `offset` bytes into the reply's data (2: behind the identifier).
    explicit TReply97(TZbSxMeter& meter, int offset = 2)
        : Out(meter.TxFrame + 10 + offset), Offset(offset), WithText(meter.DetailTexts)
    {
    }

    // `count` 4-byte energy values standing in a row (XXXXXX.XX).
    TReply97& Energy(const std::uint8_t* values, int count = 1)
    {
        for (int i = 0; i < count; ++i)
            Put(values + 4 * i, 4, [&] { return TZbSxMeter::FormatEnergy(values + 4 * i); });
        return *this;
    }
    // `count` 3-byte demand values in a row (XX.XXXX).
    TReply97& Demand(const std::uint8_t* values, int count = 1)
    {
        for (int i = 0; i < count; ++i)
            Put(values + 3 * i, 3, [&] { return TZbSxMeter::FormatDemand(values + 3 * i); });
        return *this;
    }
    // `count` 4-byte times (minute, hour, day, month) in a row.
    TReply97& DemandTime(const std::uint8_t* values, int count = 1)
    {
        for (int i = 0; i < count; ++i)
            Put(values + 4 * i, 4, [&] { return TZbSxMeter::FormatDemandTime(values + 4 * i); });
        return *this;
    }
    TReply97& Hex(const std::uint8_t* bytes, int n)
    {
        return Put(bytes, n, [&] { return TZbSxMeter::FormatHexBytes(bytes, n); });
    }
    TReply97& Hex(std::initializer_list<std::uint8_t> bytes)
    {
        return Hex(bytes.begin(), static_cast<int>(bytes.size()));
    }
    TReply97& Zeros(int n)
    {
        const int count = Room(n);
        std::fill(Out + Size, Out + Size + count, std::uint8_t{0});
        Size += count;
        if (WithText)
            Text += TZbSxMeter::FormatHexBytes(Out + Size - count, count);
        return *this;
    }
    // Replaces the text built so far (the reads whose data have a fixed display form).
    TReply97& Describe(std::string text)
    {
        if (WithText)
            Text = std::move(text);
        return *this;
    }

    int L() const { return Offset + Size; }
    const std::string& DataText() const { return Text; }
    // The data written so far (for pieces that are computed from earlier ones).
    const std::uint8_t* Data() const { return Out; }

    // Control code of the reply: 0x81 unless a handler says otherwise.
    std::uint8_t C = 0x81;

private:
    int Room(int n) const { return std::clamp(n, 0, kCapacity - Offset - Size); }
    // `text` makes the piece's display text, only when the meter builds its data texts.
    template <typename F>
    TReply97& Put(const std::uint8_t* bytes, int n, F text)
    {
        const int count = Room(n);
        std::copy(bytes, bytes + count, Out + Size);
        Size += count;
        if (WithText)
            Text += text();
        return *this;
    }

    // Past 255 data bytes BuildReply answers with the read error anyway; nothing is written
    // beyond the transmit buffer.
    static constexpr int kCapacity = TZbSxMeter::kFrameBufferSize - 20;
    std::uint8_t* Out;
    int Offset;
    int Size = 0;
    bool WithText;
    std::string Text;
};
