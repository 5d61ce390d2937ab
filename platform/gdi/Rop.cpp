#include "platform/gdi/Rop.h"

#include <array>
#include <cstring>
#include <utility>

namespace gdi {
namespace {

template <std::uint8_t R>
void RowOp(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* p, int n)
{
    constexpr bool useS = RopUsesSource(R), useP = RopUsesPattern(R);
    if constexpr (R == kSrc) {
        std::memmove(d, s, size_t(n) * 4);
    } else if constexpr (R == kPat) {
        std::memcpy(d, p, size_t(n) * 4);
    } else {
        for (int i = 0; i < n; ++i)
            d[i] = EvalRop3(R, useP ? p[i] : 0, useS ? s[i] : 0, d[i]);
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
