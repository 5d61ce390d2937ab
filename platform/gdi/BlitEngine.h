#pragma once
// Internal: the one loop every blit and fill goes through. It walks device rectangles (already
// clipped), fetches a pattern row and a source row as the operation needs them and hands the
// three rows to the ternary operation's row function.
#include "platform/gdi/Dc.h"
#include "platform/gdi/Rop.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace gdi::detail {

// The source pixels for device row y from device column x: either fills out[0..n) (valid[i] = 0
// marks a pixel with no source, which is left alone, and sets `masked` when there is one) and
// returns out, or returns a pointer to n source pixels that are all valid as they stand (a plain
// row copy, no conversion), which the loop reads directly.
using SourceRowFn = std::function<const std::uint32_t*(int y, int x, int n, std::uint32_t* out,
                                                      std::uint8_t* valid, bool& masked)>;

void RunRop(Dc& dc, const std::vector<TRect>& deviceRects, std::uint8_t rop, const Brush* brush,
            const SourceRowFn* source);

std::vector<TRect> Intersect(const Region& area, const Region& shape);

} // namespace gdi::detail
