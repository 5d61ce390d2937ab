#pragma once
// Plain value types shared by every layer of the platform and the toolkit.
#include <cstdint>
#include <vector>

using Byte = std::uint8_t;
using Word = std::uint16_t;
using LongWord = std::uint32_t;
using Cardinal = std::uint32_t;
using Int64 = std::int64_t;
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;
using TBytes = std::vector<Byte>;

// 0x00BBGGRR as the component library stores colours; negative values name system colours,
// and the toolkit's sentinels sit above the RGB range.
using TColor = std::int32_t;

// Horizontal alignment of text, shared by the canvas and the toolkit's settings objects.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Half-open: Right and Bottom are outside the rectangle.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
