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

// Fills out[0..n) with source pixels for device row y from device column x; valid[i] = 0 marks a
// pixel with no source (it is left alone).
using SourceRowFn = std::function<void(int y, int x, int n, std::uint32_t* out, std::uint8_t* valid)>;

void RunRop(Dc& dc, const std::vector<TRect>& deviceRects, std::uint8_t rop, const Brush* brush,
            const SourceRowFn* source);

std::vector<TRect> Intersect(const Region& area, const Region& shape);

} // namespace gdi::detail
