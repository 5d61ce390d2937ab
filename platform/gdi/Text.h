#pragma once
// Text in the software GDI: fonts measured through a replaceable font engine (Qt's font metrics
// in production, a deterministic fake font in tests), our own DrawText layout, and glyphs drawn
// as a coverage mask composed in the text colour under the clip.
//
// Every call has a UTF-16 form (the "wide" functions) and a UTF-8 form (the "ANSI" functions of
// this build, whose ANSI code page is UTF-8). Counts and character positions of the UTF-8 forms
// are in bytes; a multi-byte character is never split.
#include "platform/gdi/Dc.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QImage;

namespace gdi {

struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = FW_NORMAL;
    int tmOverhang = 0;
    int tmDigitizedAspectX = 96;
    int tmDigitizedAspectY = 96;
    char16_t tmFirstChar = 0x20;
    char16_t tmLastChar = 0xFFFC;
    char16_t tmDefaultChar = 0x3F;
    char16_t tmBreakChar = 0x20;
    bool tmItalic = false;
    bool tmUnderlined = false;
    bool tmStruckOut = false;
    int tmPitchAndFamily = 0;
    int tmCharSet = DEFAULT_CHARSET;
};

// The measures and pictures of one font.
class FontMetrics {
public:
    virtual ~FontMetrics() = default;
    virtual TEXTMETRIC Metrics() const = 0;
    // Advance width of one character (a code point).
    virtual int CharWidth(char32_t c) const = 0;
    // Paints the glyph of c into an 8-bit coverage mask (Format_Alpha8), its cell's top-left at
    // (x, y); coverage of 128 and above counts as ink.
    virtual void DrawGlyph(QImage& mask, int x, int y, char32_t c) const = 0;
    // Whether the glyphs are smoothed (a font asking for ANTIALIASED_QUALITY or
    // CLEARTYPE_QUALITY): their coverage is then blended into the surface, every level of it.
    virtual bool Smooth() const { return false; }
};

// Makes the metrics of a logical font.
class FontEngine {
public:
    virtual ~FontEngine() = default;
    virtual std::shared_ptr<const FontMetrics> Create(const LogFont& font) = 0;
};

// The fake font: cell height H = |lfHeight| (16 when 0), ascent H - H/4, descent H/4, external
// leading H/8, no internal leading. Unit width W = max(1, H/2): characters from U+2E80 on are
// 2W wide, 'i' and '.' are W/2 (at least 1), every other character W. A glyph is a solid
// box from the cell's column 1 to its last column but one and from row 1 to the baseline;
// space, tab, carriage return and line feed leave no ink.
std::shared_ptr<FontEngine> MakeFakeFontEngine();
// Qt's QFontMetrics and QPainter, unantialiased unless the font asks for smoothing. Needs a QGuiApplication; without one the fake
// font answers instead.
std::shared_ptr<FontEngine> MakeQtFontEngine();
// The Qt font that draws a logical font as the Qt engine does: its face, weight and slant, the
// pixel size whose cell is the asked height (a positive lfHeight) or whose em is (a negative one),
// and no anti-aliasing. Qt widgets that draw text of their own (the edit fields) take it, so that
// their text looks as the text drawn through a device context.
QFont QtFontOf(const LogFont& font);
// The engine every device context measures with; null restores the default (Qt's).
void SetFontEngine(std::shared_ptr<FontEngine> engine);
// The metrics of the font selected in the device context (cached per logical font).
std::shared_ptr<const FontMetrics> FontMetricsOf(const Dc& dc);

// ---- state ----

enum : unsigned {
    TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
    TA_BOTTOM = 8, TA_BASELINE = 24
};
unsigned SetTextAlign(Dc& dc, unsigned align);
unsigned GetTextAlign(const Dc& dc);
// Spreads extra pixels over the break characters (spaces) of the text calls that follow; the
// first (extra mod count) breaks take one pixel more. (0, 0) switches it off.
bool SetTextJustification(Dc& dc, int breakExtra, int breakCount);
COLORREF GetTextColor(const Dc& dc);
COLORREF GetBkColor(const Dc& dc);
int GetBkMode(const Dc& dc);

// ---- measuring ----

bool GetTextMetrics(const Dc& dc, TEXTMETRIC& tm);
bool GetTextExtentPoint32(const Dc& dc, std::u16string_view text, TSize& size);
bool GetTextExtentPoint32(const Dc& dc, std::string_view text, TSize& size);
// fit: how many characters fit in maxExtent (not asked when fit is null); widths receives the
// extent after each character (every character, not only those that fit).
bool GetTextExtentExPoint(const Dc& dc, std::u16string_view text, int maxExtent, int* fit,
                          std::vector<int>* widths, TSize& size);
bool GetTextExtentExPoint(const Dc& dc, std::string_view text, int maxExtent, int* fit,
                          std::vector<int>* widths, TSize& size);
// Tabs advance to the next stop: no stops means every 8 average character widths; one stop is
// the distance between stops; several are positions (and then the default distance past them).
// Stops count from the start of the text. Returns (width, height).
TSize GetTabbedTextExtent(const Dc& dc, std::u16string_view text, const std::vector<int>& tabStops = {});
TSize GetTabbedTextExtent(const Dc& dc, std::string_view text, const std::vector<int>& tabStops = {});

// ---- output ----

enum : unsigned { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4 };

// The reference point (x, y) is placed by the text alignment. In opaque background mode the
// text's cells are filled with the background colour first; ETO_OPAQUE fills the rectangle,
// ETO_CLIPPED clips to it. dx, when given, holds one advance per character (per UTF-16 unit,
// or per byte in the UTF-8 form). The font's escapement turns the text in steps of 90 degrees.
bool ExtTextOut(Dc& dc, int x, int y, unsigned options, const TRect* rect, std::u16string_view text,
                const int* dx = nullptr);
bool ExtTextOut(Dc& dc, int x, int y, unsigned options, const TRect* rect, std::string_view text,
                const int* dx = nullptr);
bool TextOut(Dc& dc, int x, int y, std::u16string_view text);
bool TextOut(Dc& dc, int x, int y, std::string_view text);
// Tab stops as in GetTabbedTextExtent, counted from tabOrigin. Returns (width, height).
TSize TabbedTextOut(Dc& dc, int x, int y, std::u16string_view text,
                    const std::vector<int>& tabStops = {}, int tabOrigin = 0);
TSize TabbedTextOut(Dc& dc, int x, int y, std::string_view text,
                    const std::vector<int>& tabStops = {}, int tabOrigin = 0);

// ---- DrawText ----

enum : unsigned {
    DT_TOP = 0, DT_LEFT = 0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
    DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000,
    DT_PREFIXONLY = 0x200000
};

// Formats text in the rectangle (see docs/architecture.md, "Software GDI", for the rules).
// Returns the height of the text (for a vertically placed single line: from the rectangle's top
// to the text's bottom); 0 for an empty text. With DT_CALCRECT nothing is drawn and the
// rectangle's Right and Bottom take the text's extent. With DT_MODIFYSTRING and an ellipsis,
// *modified (when given) receives the text as it was laid out.
int DrawText(Dc& dc, std::u16string_view text, TRect& rect, unsigned format,
             std::u16string* modified = nullptr);
int DrawText(Dc& dc, std::string_view text, TRect& rect, unsigned format,
             std::string* modified = nullptr);

} // namespace gdi
