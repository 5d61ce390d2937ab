// The painter base: cell content, headers and header-control sections, sorting marks, footers,
// the filter panel and its buttons, indicators and the calendar's month header.
#include "toolkit/core/cxLookAndFeelPainters.h"

#include "toolkit/core/cxGeometry.h"

using namespace cx;

namespace {

int TextFlags(TAlignment alignHorz, TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis)
{
    return cxAlignmentsHorz[alignHorz] | cxAlignmentsVert[alignVert] | (multiLine ? cxtfWordBreak : cxtfSingleLine) |
           (showEndEllipsis ? cxtfEndEllipsis : 0);
}

void SetFontAndColor(TcxCanvas* canvas, TFont* font, TColor color)
{
    if (font)
        canvas->SetFont(font);
    canvas->GetFont()->SetColor(color);
}

// The six indicator pictures, 10 x 9 each, one row a string ('#' ink): arrow, edit (a pencil
// stroke), insert (a star), multi-dot, multi-arrow and filter (a funnel). They stand for the
// indicator bitmaps; drawn in the window-text colour.
const char* const indicatorPictures[6][9] = {
    {"..........", "...#......", "...##.....", "...###....", "...####...", "...###....", "...##.....", "...#......",
     ".........."},
    {"..........", "......##..", ".....#.#..", "....#.#...", "...#.#....", "..#.#.....", "..##......", "..#.......",
     ".........."},
    {"..........", "....#.....", ".#..#..#..", "..#.#.#...", "...###....", "..#.#.#...", ".#..#..#..", "....#.....",
     ".........."},
    {"..........", "..........", "..##..##..", "..##..##..", "..........", "..##..##..", "..##..##..", "..........",
     ".........."},
    {"..........", "#.........", "##........", "###.##.##.", "####.#.##.", "###.##.##.", "##........", "#.........",
     ".........."},
    {"..........", ".#######..", "..#####...", "...###....", "...###....", "...###....", "...##.....", "...#......",
     ".........."},
};
constexpr int indicatorWidth = 10, indicatorHeight = 9;

} // namespace

void TcxCustomLookAndFeelPainter::DrawBackground(TcxCanvas* canvas, const TRect& r, bool bitmap, TColor color,
                                                 TBitmap* image) const
{
    if (!bitmap)
        canvas->FillRect(r, color);
    else if (image)
        canvas->FillRect(r, image);
}

void TcxCustomLookAndFeelPainter::DrawGroupByBox(TcxCanvas* canvas, const TRect& r, bool bitmap, TColor color,
                                                 TBitmap* image) const
{
    DrawBackground(canvas, r, bitmap, color, image);
}

void TcxCustomLookAndFeelPainter::DrawFilterPanel(TcxCanvas* canvas, const TRect& r, bool bitmap, TColor color,
                                                  TBitmap* image) const
{
    DrawBackground(canvas, r, bitmap, color, image);
}

void TcxCustomLookAndFeelPainter::DrawContent(TcxCanvas* canvas, const TRect& bounds, const TRect& textArea, int,
                                              TAlignment alignHorz, TcxAlignmentVert alignVert, bool multiLine,
                                              bool showEndEllipsis, const std::string& text, TFont* font,
                                              TColor textColor, TColor bkColor,
                                              const TcxDrawBackgroundEvent& onDrawBackground, bool) const
{
    if (!onDrawBackground.Assigned() || !onDrawBackground(canvas, bounds))
        canvas->FillRect(bounds, bkColor);
    if (text.empty())
        return;
    canvas->GetBrush()->SetStyle(bsClear);
    SetFontAndColor(canvas, font, textColor);
    canvas->DrawTexT(text, textArea, TextFlags(alignHorz, alignVert, multiLine, showEndEllipsis), true);
    canvas->GetBrush()->SetStyle(bsSolid);
}

// ---- headers ----

void TcxCustomLookAndFeelPainter::DrawHeader(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                             TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                                             TAlignment alignHorz, TcxAlignmentVert alignVert, bool multiLine,
                                             bool showEndEllipsis, const std::string& text, TFont* font,
                                             TColor textColor, TColor bkColor,
                                             const TcxDrawBackgroundEvent& onDrawBackground, bool, bool) const
{
    DrawHeaderBorder(canvas, bounds, neighbors, borders);
    DrawContent(canvas, HeaderContentBounds(bounds, borders), textAreaBounds, state, alignHorz, alignVert, multiLine,
                showEndEllipsis, text, font, textColor, bkColor, onDrawBackground, false);
}

void TcxCustomLookAndFeelPainter::DrawHeaderEx(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                               TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                                               TAlignment alignHorz, TcxAlignmentVert alignVert, bool multiLine,
                                               bool showEndEllipsis, const std::string& text, TFont* font,
                                               TColor textColor, TColor bkColor,
                                               const TcxDrawBackgroundEvent& onDrawBackground) const
{
    DrawHeader(canvas, bounds, textAreaBounds, neighbors, borders, state, alignHorz, alignVert, multiLine,
               showEndEllipsis, text, font, textColor, bkColor, onDrawBackground, false, false);
}

void TcxCustomLookAndFeelPainter::DrawHeaderPressed(TcxCanvas* canvas, const TRect& r) const { canvas->InvertRect(r); }

TRect TcxCustomLookAndFeelPainter::HeaderBounds(const TRect& bounds, TcxNeighbors neighbors,
                                                TcxBorders borders) const
{
    const TcxBorders outer = borders & ~HeaderBorders(neighbors);
    const int size = HeaderBorderSize();
    TRect r = bounds;
    if (outer & cxBorder(bLeft))
        r.Left -= size;
    if (outer & cxBorder(bTop))
        r.Top -= size;
    if (outer & cxBorder(bRight))
        r.Right += size;
    if (outer & cxBorder(bBottom))
        r.Bottom += size;
    return r;
}

TRect TcxCustomLookAndFeelPainter::HeaderContentBounds(const TRect& bounds, TcxBorders borders) const
{
    const int size = HeaderBorderSize();
    TRect r = bounds;
    if (borders & cxBorder(bLeft))
        r.Left += size;
    if (borders & cxBorder(bTop))
        r.Top += size;
    if (borders & cxBorder(bRight))
        r.Right -= size;
    if (borders & cxBorder(bBottom))
        r.Bottom -= size;
    return r;
}

int TcxCustomLookAndFeelPainter::HeaderHeight(int fontHeight) const { return fontHeight + 2 * HeaderBorderSize() + 4; }

int TcxCustomLookAndFeelPainter::HeaderWidth(TcxCanvas* canvas, TcxBorders borders, const std::string& text,
                                             TFont* font) const
{
    if (font)
        canvas->SetFont(font);
    // A right border counts like a left one: both take room from the text.
    int width = canvas->TextWidth(text) + 4;
    if (borders & cxBorder(bLeft))
        width += HeaderBorderSize();
    if (borders & cxBorder(bRight))
        width += HeaderBorderSize();
    return width;
}

TSize TcxCustomLookAndFeelPainter::SortingMarkAreaSize() const { return {16, SortingMarkSize().cy}; }

void TcxCustomLookAndFeelPainter::DrawHeaderControlSection(
    TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, TcxNeighbors, TcxBorders borders,
    TcxButtonState state, TAlignment alignHorz, TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis,
    const std::string& text, TFont* font, TColor textColor, TColor bkColor) const
{
    DrawHeaderControlSectionBorder(canvas, bounds, borders, state);
    DrawHeaderControlSectionContent(canvas, HeaderControlSectionContentBounds(bounds, state), textAreaBounds, state,
                                    alignHorz, alignVert, multiLine, showEndEllipsis, text, font, textColor, bkColor);
}

void TcxCustomLookAndFeelPainter::DrawHeaderControlSectionContent(
    TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, TcxButtonState state, TAlignment alignHorz,
    TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis, const std::string& text, TFont* font,
    TColor textColor, TColor bkColor) const
{
    canvas->FillRect(bounds, bkColor);
    DrawHeaderControlSectionText(canvas, HeaderControlSectionTextAreaBounds(textAreaBounds, state), state, alignHorz,
                                 alignVert, multiLine, showEndEllipsis, text, font, textColor);
}

void TcxCustomLookAndFeelPainter::DrawHeaderControlSectionText(TcxCanvas* canvas, const TRect& r,
                                                               TcxButtonState state, TAlignment alignHorz,
                                                               TcxAlignmentVert alignVert, bool multiLine,
                                                               bool showEndEllipsis, const std::string& text,
                                                               TFont* font, TColor textColor) const
{
    const int flags = TextFlags(alignHorz, alignVert, multiLine, showEndEllipsis);
    auto draw = [&](const TRect& where, TColor color) {
        if (text.empty())
            return;
        SetFontAndColor(canvas, font, color);
        canvas->DrawTexT(text, where, flags, true);
    };
    canvas->GetBrush()->SetStyle(bsClear);
    if (state == cxbsDisabled) {
        draw(cxRectOffset(r, 1, 1), clBtnHighlight);
        draw(r, clBtnShadow);
    } else
        draw(r, textColor);
    canvas->GetBrush()->SetStyle(bsSolid);
}

TRect TcxCustomLookAndFeelPainter::HeaderControlSectionTextAreaBounds(const TRect& bounds, TcxButtonState state) const
{
    return state == cxbsPressed ? cxRectOffset(bounds, 1, 1) : bounds;
}

TRect TcxCustomLookAndFeelPainter::HeaderControlSectionContentBounds(const TRect& bounds, TcxButtonState state) const
{
    return cxRectInflate(bounds, -HeaderControlSectionBorderSize(state), -HeaderControlSectionBorderSize(state));
}

void TcxCustomLookAndFeelPainter::DrawHeaderSeparator(TcxCanvas* canvas, const TRect& bounds, int indent,
                                                      TColor color, const TcxViewParams& viewParams) const
{
    canvas->FillRect({bounds.Left, bounds.Top, bounds.Left + indent, bounds.Bottom}, viewParams);
    canvas->FillRect({bounds.Right - indent, bounds.Top, bounds.Right, bounds.Bottom}, viewParams);
    canvas->FillRect({bounds.Left + indent, bounds.Top, bounds.Right - indent, bounds.Bottom}, color);
}

void TcxCustomLookAndFeelPainter::DrawSortingArrow(TcxCanvas* canvas, const TRect& r, TColor color1, TColor color2,
                                                   bool ascending) const
{
    const TSize size = SortingMarkSize();
    const int w = size.cx, h = size.cy, d = ascending ? 1 : -1;
    int x = (r.Left + r.Right) / 2;
    if (w % 2 == 0)
        --x;
    const int y = ascending ? (r.Top + r.Bottom - h) / 2 : (r.Top + r.Bottom + h) / 2 - 1;
    const int half = w / 2, hl = w % 2 == 0 ? half - 1 : half;
    TPen* pen = canvas->GetPen();
    pen->SetStyle(psSolid);
    pen->SetColor(color2);
    canvas->MoveTo(x + half, y + (h - 2) * d);
    canvas->LineTo(x + half - hl, y);
    canvas->LineTo(x + half, y + (h - 1) * d);
    if (!ascending)
        pen->SetColor(color1);
    canvas->LineTo(x - hl, y + (h - 1) * d);
    if (ascending)
        pen->SetColor(color1);
    canvas->LineTo(x, y);
    canvas->LineTo(x - hl, y + (h - (w % 2)) * d);
}

// ---- footers ----

void TcxCustomLookAndFeelPainter::DrawFooterCell(TcxCanvas* canvas, const TRect& bounds, TAlignment alignHorz,
                                                 TcxAlignmentVert alignVert, bool multiLine, const std::string& text,
                                                 TFont* font, TColor textColor, TColor bkColor,
                                                 const TcxDrawBackgroundEvent& onDrawBackground) const
{
    DrawFooterCellBorder(canvas, bounds);
    DrawFooterCellContent(canvas, bounds, alignHorz, alignVert, multiLine, text, font, textColor, bkColor,
                          onDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawFooterCellContent(TcxCanvas* canvas, const TRect& bounds, TAlignment alignHorz,
                                                        TcxAlignmentVert alignVert, bool multiLine,
                                                        const std::string& text, TFont* font, TColor textColor,
                                                        TColor bkColor,
                                                        const TcxDrawBackgroundEvent& onDrawBackground) const
{
    DrawContent(canvas, FooterCellContentBounds(bounds), FooterCellTextAreaBounds(bounds), 0, alignHorz, alignVert,
                multiLine, false, text, font, textColor, bkColor, onDrawBackground, true);
}

TRect TcxCustomLookAndFeelPainter::FooterCellContentBounds(const TRect& r) const
{
    return cxRectInflate(r, -FooterCellBorderSize(), -FooterCellBorderSize());
}

TRect TcxCustomLookAndFeelPainter::FooterCellTextAreaBounds(const TRect& r) const
{
    return cxRectInflate(FooterCellContentBounds(r), -2, -2);
}

void TcxCustomLookAndFeelPainter::DrawFooterBorderEx(TcxCanvas* canvas, const TRect& r, TcxBorders) const
{
    const int size = FooterSeparatorSize();
    DrawFooterSeparator(canvas, {r.Left, r.Top, r.Right, r.Top + size});
    DrawFooterBorder(canvas, {r.Left, r.Top + size, r.Right, r.Bottom});
}

void TcxCustomLookAndFeelPainter::DrawFooterSeparator(TcxCanvas* canvas, const TRect& r) const
{
    canvas->FillRect(r, FooterSeparatorColor());
}

void TcxCustomLookAndFeelPainter::DrawFooterContent(TcxCanvas* canvas, const TRect& r,
                                                    const TcxViewParams& viewParams) const
{
    if (!cxRectIsEmpty(r))
        canvas->FillRect(r, viewParams);
}

void TcxCustomLookAndFeelPainter::DrawFooterPanel(TcxCanvas* canvas, const TRect& bounds,
                                                  const TcxViewParams& viewParams, TcxBorders borders) const
{
    canvas->SaveClipRegion();
    try {
        canvas->IntersectClipRect(bounds);
        DrawFooterContent(canvas, bounds, viewParams);
        DrawFooterBorderEx(canvas, bounds, borders);
    } catch (...) {
        canvas->RestoreClipRegion();
        throw;
    }
    canvas->RestoreClipRegion();
}

// ---- filter parts ----

void TcxCustomLookAndFeelPainter::DrawFilterActivateButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                                           bool checked) const
{
    DrawCheckButton(canvas, r, state, checked);
}

void TcxCustomLookAndFeelPainter::DrawFilterCloseButton(TcxCanvas* canvas, const TRect& bounds,
                                                        TcxButtonState state) const
{
    DrawButtonBorder(canvas, bounds, state);
    const TRect r = cxRectInflate(bounds, -ButtonBorderSize(cxbsNormal), -ButtonBorderSize(cxbsNormal));
    canvas->FillRect(r, ButtonColor(state));
    DrawButtonCross(canvas, r, ButtonSymbolColor(state, clDefault), ButtonSymbolState(state));
}

// ---- indicators ----

void TcxCustomLookAndFeelPainter::DrawIndicatorItem(TcxCanvas* canvas, const TRect& r, TcxIndicatorKind kind,
                                                    TColor color, const TcxDrawBackgroundEvent& onDrawBackground) const
{
    DrawHeader(canvas, r, r, {}, HeaderBorders({nTop, nBottom}), cxbsNormal, taLeftJustify, vaTop, false, false, "",
               nullptr, clNone, color, onDrawBackground, false, false);
    DrawIndicatorImage(canvas, r, kind);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorItemEx(TcxCanvas* canvas, const TRect& r, TcxIndicatorKind kind,
                                                      TColor color,
                                                      const TcxDrawBackgroundEvent& onDrawBackground) const
{
    DrawHeaderEx(canvas, r, r, {}, cxBordersAll, cxbsNormal, taLeftJustify, vaTop, false, false, "", nullptr, clNone,
                 color, onDrawBackground);
    DrawIndicatorImage(canvas, r, kind);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorImage(TcxCanvas* canvas, const TRect& r, TcxIndicatorKind kind) const
{
    if (kind == ikNone)
        return;
    const int x = (r.Left + r.Right - indicatorWidth) / 2, y = (r.Top + r.Bottom - indicatorHeight) / 2;
    const char* const* picture = indicatorPictures[kind - 1];
    for (int row = 0; row < indicatorHeight; ++row)
        for (int col = 0; col < indicatorWidth; ++col)
            if (picture[row][col] == '#')
                canvas->SetPixel(x + col, y + row, clWindowText);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorCustomizationMark(TcxCanvas* canvas, const TRect& r,
                                                                 TColor color) const
{
    const int x = r.Left + 3, length = r.Right - r.Left - 6, y0 = (r.Top + r.Bottom - 9) / 2;
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(color);
    for (int i = 0; i < 5; ++i) {
        const int y = y0 + 2 * i;
        if (i % 2 == 0)
            canvas->SetPixel(x, y, color);
        canvas->MoveTo(x + 2, y);
        canvas->LineTo(x + length, y);
    }
}

// ---- month header ----

void TcxCustomLookAndFeelPainter::DrawMonthHeader(TcxCanvas* canvas, const TRect& bounds, const std::string& text,
                                                  TcxNeighbors neighbors, const TcxViewParams& viewParams,
                                                  TcxHeaderArrows arrows, int sideWidth,
                                                  const TcxDrawBackgroundEvent& onDrawBackground) const
{
    DrawHeader(canvas, bounds, bounds, neighbors, HeaderBorders(neighbors), cxbsNormal, taCenter, vaCenter, false,
               false, text, viewParams.Font, viewParams.TextColor, viewParams.Color, onDrawBackground, false, false);
    DrawMonthHeaderArrows(canvas, bounds, arrows, sideWidth, clWindowText);
}

void TcxCustomLookAndFeelPainter::DrawMonthHeaderArrows(TcxCanvas* canvas, const TRect& bounds,
                                                        TcxHeaderArrows arrows, int sideWidth, TColor color) const
{
    if (arrows == haNone)
        return;
    TRect r = bounds;
    r.Top += BorderSize();
    r = cxRectInflate(r, 0, -1);
    int h = (r.Bottom - r.Top) / 2;
    if (h % 2 == 0)
        ++h;
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(color);
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(color);
    auto arrow = [&](int x0, int d) {
        TPoint p[3];
        p[0] = {x0 + (sideWidth - 1) * d, (r.Top + r.Bottom - h) / 2 - 1};
        p[1] = {p[0].X, p[0].Y + h + 1};
        p[2] = {p[0].X - d * (h / 2 + 1), p[0].Y + h / 2 + 1};
        canvas->Polygon(p, 2);
    };
    if (arrows == haLeft || arrows == haBoth)
        arrow(r.Left, 1);
    if (arrows == haRight || arrows == haBoth)
        arrow(r.Right, -1);
}
