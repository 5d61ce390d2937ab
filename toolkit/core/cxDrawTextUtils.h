#pragma once
// The toolkit's own multi-line text layout and output: text is measured once, cut into rows
// that fit a rectangle (line ends, word wrap with East Asian line-breaking rules, breaks inside
// over-long words, end ellipsis, a maximal row count), the rows are placed, and the row painter
// draws them with justification, clipping, an ellipsis and a highlighted selection. Layout
// works on UTF-16 text; the UTF-8 forms convert first.
#include "platform/vcl/Graphics.h"

#include <string>
#include <vector>

enum TcxTextAlignX { taLeft, taCenterX, taRight, taJustifyX, taDistributeX };
enum TcxTextAlignY { taTop, taCenterY, taBottom, taDistributeY };

// Format flags of cxTextOut; bits 0-2 and 4-5 hold the alignments (cxMakeFormat).
constexpr unsigned CXTO_WORDBREAK = 0x100, CXTO_SINGLELINE = 0x200, CXTO_EXPANDTABS = 0x400,
                   CXTO_END_ELLIPSIS = 0x800, CXTO_PATTERNEDTEXT = 0x1000, CXTO_EXTERNALLEADING = 0x2000,
                   CXTO_EDITCONTROL = 0x4000, CXTO_NOCLIP = 0x8000, CXTO_AUTOINDENTS = 0x10000,
                   CXTO_CHARBREAK = 0x20000, CXTO_PREVENT_LEFT_EXCEED = 0x40000,
                   CXTO_PREVENT_TOP_EXCEED = 0x80000, CXTO_CALCRECT = 0x100000,
                   CXTO_CALCROWCOUNT = 0x200000, CXTO_HIDEPREFIX = 0x1000000,
                   CXTO_SKIPALLSPACESAFTERBREAK = 0x2000000;

constexpr unsigned cxMakeFormat(TcxTextAlignX alignX, TcxTextAlignY alignY)
{
    return unsigned(alignX) + unsigned(alignY) * 16;
}

struct TcxTextParams {
    int TextHeight = 0;
    int ExternalLeading = 0;
    int RowHeight = 0;
    int EllipsisWidth = 0;
    bool IsBold = false;
    char16_t BreakChar = 0;
    TcxTextAlignX AlignX = taLeft;
    TcxTextAlignY AlignY = taTop;
    bool WordBreak = false;
    bool SingleLine = false;
    bool ExpandTabs = false;
    bool EndEllipsis = false;
    bool UseExternalLeading = false;
    bool EditControl = false;
    bool SkipAllSpacesAfterBreak = false;
    bool NoClip = false;
    bool WithMargins = false;
    bool DrawAsBars = false;
    bool PreventLeftExceed = false;
    bool PreventTopExceed = false;
    bool CharBreak = false;
    bool CalcRowCount = false;
    bool CalcRect = false;
    int MaxCharWidth = 0;
    Byte CharSet = 0;
    int OnePixel = 1;
    bool HidePrefix = false;
};
using PcxTextParams = TcxTextParams*;

struct TcxTextRow {
    const char16_t* Text = nullptr; // into the laid-out text
    int TextLength = 0;
    TSize TextExtents;
    int SpaceCount = 0;
    int TextOriginX = 0;
    int TextOriginY = 0;
    int TextStartOffset = 0;
};
using PcxTextRow = TcxTextRow*;
using TcxDynamicTextRows = std::vector<TcxTextRow>;

struct TcxTextRows {
    int Count = 0;
    std::u16string Text; // owns the converted text when a UTF-8 form made the rows
    TcxTextRow FixedRows[32];
    TcxDynamicTextRows DynamicRows; // rows 33 and beyond
};

// Measures count characters of text into size; data is the caller's.
using TcxCalcTextExtentsProc = void (*)(HDC dc, const char16_t* text, int count, TSize& size, void* data,
                                        bool expandTabs);

void cxResetTextRows(TcxTextRows& rows);
PcxTextRow cxGetTextRow(TcxTextRows& rows, int index);
int cxGetTextRowCount(const TcxTextRows& rows);
int cxGetLongestTextRowWidth(TcxTextRows& rows, int count);

TcxTextParams cxCalcTextParams(HDC dc, unsigned format, double lineSpacingFactor = 1.0);
TcxTextParams cxCalcTextParams(TCanvas* canvas, unsigned format, double lineSpacingFactor = 1.0);

TSize cxCalcTextExtents(HDC dc, const char16_t* text, int count, bool expandTabs);
TSize cxCalcTextExtents(HDC dc, const std::string& text, int count, bool expandTabs);
void cxCalcTextExtentsEx(HDC dc, const char16_t* text, int count, TSize& size, void* data, bool expandTabs);
void cxCalcTextRowExtents(HDC dc, PcxTextRow row, const TcxTextParams& params, void* data = nullptr,
                          TcxCalcTextExtentsProc measure = nullptr);

bool cxGetIsWordDelimeter(int codePage, char16_t c);
// The end of the word that starts at start (see docs/architecture.md).
const char16_t* cxGetNextWordBreak(int codePage, const char16_t* start, const char16_t* end);

// True when the whole text fitted.
bool cxMakeTextRows(HDC dc, const char16_t* text, int length, const TRect& r, const TcxTextParams& params,
                    TcxTextRows& rows, int& rowCount, int maxRowCount = 0, void* data = nullptr,
                    TcxCalcTextExtentsProc measure = nullptr);
bool cxMakeTextRows(HDC dc, const std::string& text, const TRect& r, const TcxTextParams& params,
                    TcxTextRows& rows, int& rowCount, int maxRowCount = 0, void* data = nullptr,
                    TcxCalcTextExtentsProc measure = nullptr);
bool cxMakeTextRows(TCanvas* canvas, const std::u16string& text, const TRect& r, const TcxTextParams& params,
                    TcxTextRows& rows, int& rowCount, int maxRowCount = 0);
void cxPlaceTextRows(HDC dc, const TRect& r, TcxTextParams& params, TcxTextRows& rows, int rowCount);
TRect cxPrepareRect(const TRect& r, const TcxTextParams& params, int leftIndent, int rightIndent);

// ---- output ----

enum TcxVerticalTextOutDirection { vtdTopToBottom, vtdBottomToTop };

// Lays text out in r and draws it, or with CXTO_CALCRECT sets r to the text's rectangle, or with
// CXTO_CALCROWCOUNT counts rows. Returns the row count (CXTO_CALCROWCOUNT) or the height used.
// The selection (characters from selStart) is painted in its own colours; clNone and clDefault
// mean no colour.
int cxTextOut(HDC dc, const std::u16string& text, TRect& r, unsigned format, int selStart, int selLength,
              TFont* font, TColor selBkColor, TColor selTextColor, int maxLineCount = 0, int leftIndent = 0,
              int rightIndent = 0, TColor textColor = clDefault, double lineSpacingFactor = 1.0);
int cxTextOut(HDC dc, const std::u16string& text, TRect& r, unsigned format = cxMakeFormat(taLeft, taTop),
              TFont* font = nullptr, int maxLineCount = 0, int leftIndent = 0, int rightIndent = 0,
              TColor textColor = clDefault, double lineSpacingFactor = 1.0);
int cxTextOut(HDC dc, const std::string& text, TRect& r, unsigned format, int selStart, int selLength,
              TFont* font, TColor selBkColor, TColor selTextColor, int maxLineCount = 0, int leftIndent = 0,
              int rightIndent = 0, TColor textColor = clDefault, double lineSpacingFactor = 1.0);
int cxTextOut(HDC dc, const std::string& text, TRect& r, unsigned format = cxMakeFormat(taLeft, taTop),
              TFont* font = nullptr, int maxLineCount = 0, int leftIndent = 0, int rightIndent = 0,
              TColor textColor = clDefault, double lineSpacingFactor = 1.0);
int cxTextOut(TCanvas* canvas, const std::u16string& text, TRect& r, unsigned format, int selStart,
              int selLength, TFont* font, TColor selBkColor, TColor selTextColor, int maxLineCount = 0,
              int leftIndent = 0, int rightIndent = 0, TColor textColor = clDefault,
              double lineSpacingFactor = 1.0);
int cxTextOut(TCanvas* canvas, const std::u16string& text, TRect& r,
              unsigned format = cxMakeFormat(taLeft, taTop), TFont* font = nullptr, int maxLineCount = 0,
              int leftIndent = 0, int rightIndent = 0, TColor textColor = clDefault,
              double lineSpacingFactor = 1.0);
int cxTextOut(TCanvas* canvas, const std::string& text, TRect& r, unsigned format, int selStart, int selLength,
              TFont* font, TColor selBkColor, TColor selTextColor, int maxLineCount = 0, int leftIndent = 0,
              int rightIndent = 0, TColor textColor = clDefault, double lineSpacingFactor = 1.0);
int cxTextOut(TCanvas* canvas, const std::string& text, TRect& r, unsigned format = cxMakeFormat(taLeft, taTop),
              TFont* font = nullptr, int maxLineCount = 0, int leftIndent = 0, int rightIndent = 0,
              TColor textColor = clDefault, double lineSpacingFactor = 1.0);

// Draws placed rows.
void cxTextRowsOutHighlight(HDC dc, const TRect& r, const TcxTextParams& params, TcxTextRows& rows,
                            int rowCount, int selStart, int selLength, TColor selBkColor, TColor selTextColor,
                            bool forceEndEllipsis);

// Text turned by 90 degrees. keepStartVisible and keepEndVisible decide where a line longer than
// the rectangle goes: its end at the far edge, else its start at the near edge.
void cxRotatedTextOut(HDC dc, const TRect& r, const std::u16string& text, TFont* font,
                      TcxTextAlignX alignX = taLeft, TcxTextAlignY alignY = taCenterY, bool wordBreak = true,
                      bool keepStartVisible = false, bool keepEndVisible = false,
                      TcxVerticalTextOutDirection direction = vtdBottomToTop, int fontSize = 0);
void cxRotatedTextOut(HDC dc, const TRect& r, const std::string& text, TFont* font,
                      TcxTextAlignX alignX = taLeft, TcxTextAlignY alignY = taCenterY, bool wordBreak = true,
                      bool keepStartVisible = false, bool keepEndVisible = false,
                      TcxVerticalTextOutDirection direction = vtdBottomToTop, int fontSize = 0);
