#include "platform/gdi/Rop.h"

#include <array>
#include <cstring>
#include <utility>

namespace gdi {
namespace {

// The minterms of a fixed code, unrolled at compile time so that each row loop vectorises.
template <std::uint8_t R, int I>
inline std::uint32_t Term(std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    if constexpr (((R >> I) & 1) != 0)
        return ((I & 4) ? p : ~p) & ((I & 2) ? s : ~s) & ((I & 1) ? d : ~d);
    else
        return 0;
}

template <std::uint8_t R>
inline std::uint32_t Eval(std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    return Term<R, 0>(p, s, d) | Term<R, 1>(p, s, d) | Term<R, 2>(p, s, d) | Term<R, 3>(p, s, d) |
           Term<R, 4>(p, s, d) | Term<R, 5>(p, s, d) | Term<R, 6>(p, s, d) | Term<R, 7>(p, s, d);
}

// The three rows never overlap (a self-blit reads from a snapshot), which lets the compiler run
// the generic loop on several words at once.
template <std::uint8_t R>
void RowOp(std::uint32_t* __restrict d, const std::uint32_t* __restrict s,
           const std::uint32_t* __restrict p, int n)
{
    constexpr bool useS = RopUsesSource(R), useP = RopUsesPattern(R);
    if constexpr (R == kSrc) {
        std::memmove(d, s, size_t(n) * 4);
    } else if constexpr (R == kPat) {
        std::memcpy(d, p, size_t(n) * 4);
    } else {
        for (int i = 0; i < n; ++i)
            d[i] = Eval<R>(useP ? p[i] : 0, useS ? s[i] : 0, d[i]);
    }
}

template <std::size_t... I>
constexpr std::array<RopRowFn, 256> MakeTable(std::index_sequence<I...>)
{
    return {&RowOp<std::uint8_t(I)>...};
}

constexpr std::array<RopRowFn, 256> kRows = MakeTable(std::make_index_sequence<256>());

} // namespace

RopRowFn RopRow(std::uint8_t rop)
{
    return kRows[rop];
}

} // namespace gdi
