#pragma once
// Raster operations as data. A ternary operation is its truth byte: bit (P<<2 | S<<1 | D) of the
// byte is the result for that combination of pattern, source and destination bits, so one
// evaluator serves every code and works on all 32 bits of a pixel at once.
#include "platform/gdi/GdiConsts.h"

#include <cstdint>

namespace gdi {

constexpr std::uint8_t RopByte(DWORD rop) { return std::uint8_t(rop >> 16); }

constexpr std::uint32_t EvalRop3(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if ((rop >> i) & 1)
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

// The truth byte of a function of (P, S, D) is the function applied to 0xF0, 0xCC, 0xAA.
constexpr std::uint8_t kPat = 0xF0, kSrc = 0xCC, kDst = 0xAA;
static_assert(RopByte(SRCCOPY) == kSrc);
static_assert(RopByte(PATCOPY) == kPat);
static_assert(RopByte(SRCINVERT) == (kSrc ^ kDst));
static_assert(RopByte(DSTINVERT) == std::uint8_t(~kDst));
static_assert(RopByte(PATINVERT) == (kPat ^ kDst));
static_assert(RopByte(SRCAND) == (kSrc & kDst));
static_assert(RopByte(SRCPAINT) == (kSrc | kDst));
static_assert(RopByte(MERGECOPY) == (kPat & kSrc));
static_assert(RopByte(NOTSRCCOPY) == std::uint8_t(~kSrc));
static_assert(EvalRop3(RopByte(SRCCOPY), 0x11, 0x12345678, 0x99) == 0x12345678);
static_assert(EvalRop3(RopByte(PATCOPY), 0xCAFEBABE, 0x12, 0x99) == 0xCAFEBABE);
static_assert(EvalRop3(RopByte(DSTINVERT), 0, 0, 0xFF00FF00) == 0x00FF00FF);
static_assert(EvalRop3(RopByte(SRCINVERT), 0, 0x0F0F0F0F, 0xFFFF0000) == 0xF0F00F0F);
static_assert(EvalRop3(RopByte(BLACKNESS), 1, 2, 3) == 0 && EvalRop3(RopByte(WHITENESS), 1, 2, 3) == ~0u);

// Which operands an operation reads.
constexpr bool RopUsesSource(std::uint8_t rop) { return ((rop >> 2) & 0x33) != (rop & 0x33); }
constexpr bool RopUsesPattern(std::uint8_t rop) { return ((rop >> 4) & 0x0F) != (rop & 0x0F); }
constexpr bool RopUsesDest(std::uint8_t rop) { return ((rop >> 1) & 0x55) != (rop & 0x55); }
static_assert(!RopUsesSource(RopByte(PATCOPY)) && RopUsesSource(RopByte(SRCCOPY)));
static_assert(!RopUsesDest(RopByte(SRCCOPY)) && RopUsesDest(RopByte(DSTINVERT)));

// A pen raster mode as the ternary operation of pattern (the pen) and destination.
constexpr std::uint8_t Rop2ToRop3(int rop2)
{
    unsigned bits = unsigned(rop2 - 1) & 0xF; // bit (P<<1 | D)
    std::uint8_t out = 0;
    for (int i = 0; i < 8; ++i) {
        unsigned pd = (unsigned((i >> 2) & 1) << 1) | unsigned(i & 1);
        if ((bits >> pd) & 1)
            out |= std::uint8_t(1u << i);
    }
    return out;
}
static_assert(Rop2ToRop3(R2_COPYPEN) == kPat && Rop2ToRop3(R2_XORPEN) == (kPat ^ kDst));
static_assert(Rop2ToRop3(R2_NOP) == kDst && Rop2ToRop3(R2_NOT) == std::uint8_t(~kDst));

// A pen raster mode and a pen pixel as one AND and one XOR mask: *d = (*d & and) ^ xor.
struct Rop2Masks {
    std::uint32_t andMask;
    std::uint32_t xorMask;
};
constexpr Rop2Masks MakeRop2Masks(int rop2, std::uint32_t pen)
{
    std::uint8_t r = Rop2ToRop3(rop2);
    std::uint32_t whenD0 = EvalRop3(r, pen, 0, 0);
    std::uint32_t whenD1 = EvalRop3(r, pen, 0, ~0u);
    return {whenD0 ^ whenD1, whenD0};
}
static_assert(MakeRop2Masks(R2_COPYPEN, 0x123456).andMask == 0);
static_assert(MakeRop2Masks(R2_XORPEN, 0x123456).andMask == ~0u);

// One row of a ternary operation: d[i] = rop(p[i], s[i], d[i]). s or p may be null when the
// operation does not read them. The table holds one specialised loop per code.
using RopRowFn = void (*)(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* p, int n);
RopRowFn RopRow(std::uint8_t rop);

} // namespace gdi
