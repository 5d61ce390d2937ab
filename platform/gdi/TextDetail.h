#pragma once
// Internal: the pieces that the text calls and DrawText share.
#include "platform/gdi/Text.h"

#include <string_view>
#include <vector>

namespace gdi::detail {

// The code point that starts at unit i (a surrogate pair read as one) and its length in units.
char32_t CodePointAt(std::u16string_view s, std::size_t i, int& units);

struct TabSpec {
    bool expand = false;
    std::vector<int> stops; // as GetTabbedTextExtent takes them
    int origin = 0;         // offset of the text's start from the tab origin
};

// Advance of every UTF-16 unit (the low half of a pair advances 0), with the DC's text
// justification applied to break characters and tabs expanded as asked.
std::vector<int> UnitAdvances(const Dc& dc, const FontMetrics& fm, std::u16string_view text,
                              const TabSpec& tabs, bool justify = true);
int Sum(const std::vector<int>& v, std::size_t from = 0, std::size_t to = std::size_t(-1));

struct PaintSpec {
    const TRect* clip = nullptr; // logical; null = no clipping beyond the DC's
    bool opaqueCells = false;    // fill the text's cells with the background colour
    int underlineFrom = -1;      // unit range [from, to) underlined (the prefix character)
    int underlineTo = -1;
    bool underlineOnly = false;  // draw the underline and no glyphs
};

// Paints text whose cell starts at logical (left, top), unrotated, one advance per unit.
void PaintText(Dc& dc, int left, int top, std::u16string_view text, const std::vector<int>& adv,
               const PaintSpec& spec);

// UTF-8 <-> UTF-16 position bookkeeping of the "ANSI" forms: for every UTF-16 unit, the byte
// offset where its character starts.
std::vector<int> UnitToByteOffsets(std::string_view utf8, const std::u16string& utf16);

} // namespace gdi::detail
