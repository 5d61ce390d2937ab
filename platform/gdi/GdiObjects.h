#pragma once
// Pens, brushes and fonts as value objects holding their logical records. Selecting one into a
// device context copies it; nothing is shared or reference-counted.
#include "platform/gdi/GdiConsts.h"
#include "platform/gdi/Surface.h"

#include <memory>
#include <string>

namespace gdi {

struct Pen {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    int style = BS_SOLID;
    COLORREF color = 0xFFFFFF;
    int hatch = HS_HORIZONTAL;
    // BS_PATTERN: the pattern bitmap, aligned to the device origin (plus the brush origin).
    std::shared_ptr<const Surface> pattern;

    static Brush Solid(COLORREF c) { return {BS_SOLID, c, 0, nullptr}; }
    static Brush Null() { return {BS_NULL, 0, 0, nullptr}; }
    static Brush Hatched(int hatch, COLORREF c) { return {BS_HATCHED, c, hatch, nullptr}; }
    static Brush Pattern(std::shared_ptr<const Surface> bits) { return {BS_PATTERN, 0, 0, std::move(bits)}; }
    friend bool operator==(const Brush&, const Brush&) = default;
};

enum : int { FW_NORMAL = 400, FW_BOLD = 700 };
enum : int { OUT_DEFAULT_PRECIS = 0, OUT_TT_ONLY_PRECIS = 7 };
enum : int { DEFAULT_QUALITY = 0, NONANTIALIASED_QUALITY = 3, ANTIALIASED_QUALITY = 4, CLEARTYPE_QUALITY = 5 };
enum : int { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, GB2312_CHARSET = 134 };

struct LogFont {
    int lfHeight = -12;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    int lfCharSet = DEFAULT_CHARSET;
    int lfOutPrecision = OUT_DEFAULT_PRECIS;
    int lfClipPrecision = 0;
    int lfQuality = 0;
    int lfPitchAndFamily = 0;
    std::string lfFaceName;
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

struct Font {
    LogFont lf;
    friend bool operator==(const Font&, const Font&) = default;
};

} // namespace gdi
