// The themed painter: each element through the visual-styles theme of its kind, or, when that
// theme cannot be opened, the standard painter's drawing.
#include "toolkit/core/cxLookAndFeelPainters.h"

#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsBitmaps.h"
#include "toolkit/core/cxGraphicsPixels.h"
#include "toolkit/core/cxLookAndFeelPaintersUnit.h"
#include "toolkit/core/dxOffice11.h"
#include "toolkit/core/dxThemeManager.h"

#include <algorithm>
#include <memory>

using namespace cx;

namespace {

// Published part, state and property numbers of the theme classes.
constexpr int BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4;
constexpr int EBP_NORMALGROUPCOLLAPSE = 6, EBP_NORMALGROUPEXPAND = 7, TKP_TRACK = 1, WP_SMALLCLOSEBUTTON = 19,
              PP_BAR = 1, PP_CHUNK = 3, HP_HEADERITEMLEFT = 2;
constexpr int TMT_COLOR = 204;
constexpr int SBP_ARROWBTN = 1, SBP_THUMBBTNHORZ = 2, SBP_THUMBBTNVERT = 3, SBP_LOWERTRACKHORZ = 4,
              SBP_UPPERTRACKHORZ = 5, SBP_LOWERTRACKVERT = 6, SBP_UPPERTRACKVERT = 7, SBP_GRIPPERHORZ = 8,
              SBP_GRIPPERVERT = 9, SBP_SIZEBOX = 10;
constexpr int TVP_GLYPH = 2, HP_HEADERITEM = 1, HP_HEADERITEMRIGHT = 3, LVP_EMPTYTEXT = 5, CP_DROPDOWNBUTTON = 1;
constexpr int TP_BUTTON = 1, TABP_TABITEM = 1, TABP_PANE = 9;
constexpr int TMT_BORDERCOLOR = 3801, TMT_TEXTCOLOR = 3803;
constexpr unsigned kBdrRaisedInner = 4, kBfRect = 15;
constexpr unsigned DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_BOTTOM = 8, DT_WORDBREAK = 0x10,
                   DT_SINGLELINE = 0x20, DT_NOPREFIX = 0x800, DT_EDITCONTROL = 0x2000, DT_END_ELLIPSIS = 0x8000;

const int arrowStates[4][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}, {9, 9, 10, 11, 12}, {13, 13, 14, 15, 16}};
const int checkStates[2][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}};
const int headerStates[5] = {1, 1, 2, 3, 1};
const int comboStates[5] = {1, 1, 2, 3, 4};
const int toolBarStates[5] = {2, 2, 5, 3, 4};
const int scrollStates[5] = {1, 1, 2, 3, 4};
const int tabStates[5] = {1, 1, 2, 3, 4};

const TcxStandardLookAndFeelPainter* Standard() { return TcxStandardLookAndFeelPainter::Class(); }

HTHEME Theme(TdxThemedObjectType type) { return OpenTheme(type); }

TRect Shrink(const TRect& r, int d) { return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d}; }

// The rectangle with its columns and rows exchanged (a mirror in the main diagonal).
TRect Transposed(const TRect& r) { return {r.Top, r.Left, r.Bottom, r.Right}; }

TRect ContentOf100(HTHEME theme, int part, int state)
{
    TRect content{0, 0, 100, 100};
    GetThemeBackgroundContentRect(theme, nullptr, part, state, {0, 0, 100, 100}, content);
    return content;
}

} // namespace

int BtnStateToXPBtnState(TcxButtonState state)
{
    static const int states[5] = {5, 1, 2, 3, 4};
    return states[state];
}

bool TcxWinXPLookAndFeelPainter::NeedRedrawOnResize() const
{
    return AreVisualStylesAvailable(TdxThemedObjectTypes{});
}

TColor TcxWinXPLookAndFeelPainter::DefaultSchedulerBorderColor() const
{
    COLORREF color = 0;
    if (HTHEME theme = Theme(totComboBox))
        GetThemeColor(theme, 1, 1, TMT_BORDERCOLOR, color);
    return TColor(color);
}

void TcxWinXPLookAndFeelPainter::DrawArrow(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                           TcxArrowDirection direction, bool drawBorder) const
{
    if (HTHEME theme = Theme(totScrollBar))
        DrawThemeBackground(theme, canvas->GetHandle(), SBP_ARROWBTN, arrowStates[direction][state], r);
    else
        TcxCustomLookAndFeelPainter::DrawArrow(canvas, r, state, direction, drawBorder);
}

void TcxWinXPLookAndFeelPainter::DrawArrowBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const
{
    if (HTHEME theme = Theme(totButton))
        DrawThemeBackground(theme, canvas->GetHandle(), BP_PUSHBUTTON, BtnStateToXPBtnState(state), r);
    else
        TcxCustomLookAndFeelPainter::DrawArrowBorder(canvas, r, state);
}

int TcxWinXPLookAndFeelPainter::BorderSize() const
{
    return Theme(totListView) ? 1 : Standard()->BorderSize();
}

void TcxWinXPLookAndFeelPainter::DrawBorder(TcxCanvas* canvas, const TRect& r) const
{
    HTHEME theme = Theme(totListView);
    if (!theme) {
        Standard()->DrawBorder(canvas, r);
        return;
    }
    canvas->SaveDC();
    canvas->ExcludeClipRect(Shrink(r, 1));
    DrawThemeBackground(theme, canvas->GetHandle(), LVP_EMPTYTEXT, 0, r);
    canvas->RestoreDC();
}

int TcxWinXPLookAndFeelPainter::ButtonBorderSize(TcxButtonState state) const
{
    HTHEME theme = Theme(totButton);
    if (!theme)
        return Standard()->ButtonBorderSize(cxbsNormal);
    return ContentOf100(theme, BP_PUSHBUTTON, BtnStateToXPBtnState(state)).Left;
}

TRect TcxWinXPLookAndFeelPainter::ButtonFocusRect(TcxCanvas* canvas, const TRect& r) const
{
    if (HTHEME theme = Theme(totButton)) {
        TRect content = r;
        if (GetThemeBackgroundContentRect(theme, canvas ? canvas->GetHandle() : nullptr, BP_PUSHBUTTON, 1, r,
                                          content) == cx::S_OK)
            return content;
    }
    return TcxCustomLookAndFeelPainter::ButtonFocusRect(canvas, r);
}

TColor TcxWinXPLookAndFeelPainter::ButtonSymbolColor(TcxButtonState state, TColor defaultColor) const
{
    HTHEME theme = Theme(totButton);
    if (!theme)
        return TcxCustomLookAndFeelPainter::ButtonSymbolColor(state, defaultColor);
    COLORREF color = 0;
    if (GetThemeColor(theme, BP_PUSHBUTTON, BtnStateToXPBtnState(state), TMT_TEXTCOLOR, color) != cx::S_OK)
        return TcxCustomLookAndFeelPainter::ButtonSymbolColor(state, defaultColor);
    return TColor(color);
}

void TcxWinXPLookAndFeelPainter::DrawButton(TcxCanvas* canvas, const TRect& r, const std::string& caption,
                                            TcxButtonState state, bool drawBorder, TColor color, TColor textColor,
                                            bool wordWrap, bool isToolButton) const
{
    HTHEME theme = Theme(isToolButton ? totToolBar : totButton);
    if (!theme) {
        TcxCustomLookAndFeelPainter::DrawButton(canvas, r, caption, state, drawBorder, color, textColor, wordWrap,
                                                isToolButton);
        return;
    }
    const int part = isToolButton ? TP_BUTTON : BP_PUSHBUTTON;
    const int themeState = BtnStateToXPBtnState(state);
    DrawThemeBackground(theme, canvas->GetHandle(), part, themeState, r);
    DrawThemeText(theme, canvas->GetHandle(), part, themeState, caption, -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                  0, r);
}

void TcxWinXPLookAndFeelPainter::DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                  TColor color) const
{
    HTHEME theme = Theme(totTreeview);
    if (!theme) {
        Standard()->DrawExpandButton(canvas, r, expanded, color);
        return;
    }
    DrawThemeBackground(theme, canvas->GetHandle(), TVP_GLYPH, expanded ? 2 : 1, r);
    canvas->ExcludeClipRect(r);
}

int TcxWinXPLookAndFeelPainter::ExpandButtonSize() const
{
    HTHEME theme = Theme(totTreeview);
    if (!theme)
        return Standard()->ExpandButtonSize();
    TSize size{};
    GetThemePartSize(theme, nullptr, TVP_GLYPH, 2, nullptr, TS_TRUE, size);
    return size.cx;
}

int TcxWinXPLookAndFeelPainter::CheckBorderSize() const
{
    return Theme(totButton) ? 0 : TcxCustomLookAndFeelPainter::CheckBorderSize();
}

TSize TcxWinXPLookAndFeelPainter::CheckButtonSize() const
{
    HTHEME theme = Theme(totButton);
    if (!theme)
        return TcxCustomLookAndFeelPainter::CheckButtonSize();
    TSize size{};
    GetThemePartSize(theme, nullptr, BP_CHECKBOX, 5, nullptr, TS_TRUE, size);
    return size;
}

void TcxWinXPLookAndFeelPainter::DrawCheck(TcxCanvas* canvas, const TRect& r, TcxButtonState state, bool checked,
                                           TColor color) const
{
    if (HTHEME theme = Theme(totButton))
        DrawThemeBackground(theme, canvas->GetHandle(), BP_CHECKBOX, checkStates[checked ? 1 : 0][state], r);
    else
        TcxCustomLookAndFeelPainter::DrawCheck(canvas, r, state, checked, color);
}

void TcxWinXPLookAndFeelPainter::DrawCheckBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const
{
    // A themed check box is one picture, border included.
    if (!Theme(totButton))
        Standard()->DrawCheckBorder(canvas, r, state);
}

void TcxWinXPLookAndFeelPainter::DrawHeader(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                            TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                                            TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                                            bool showEndEllipsis, const std::string& text, TFont* font,
                                            TColor textColor, TColor bkColor,
                                            const TcxDrawBackgroundEvent& onDrawBackground, bool isLast,
                                            bool isGroup) const
{
    HTHEME theme = Theme(totHeader);
    if (!theme) {
        TcxCustomLookAndFeelPainter::DrawHeader(canvas, bounds, textAreaBounds, neighbors, borders, state, alignHorz,
                                                alignVert, multiLine, showEndEllipsis, text, font, textColor,
                                                bkColor, onDrawBackground, isLast, isGroup);
        return;
    }
    const int themeState = headerStates[state];
    const TOffice11Scheme scheme = GetOffice11Scheme();
    const bool rightItem = isLast && themeState == 1 && (scheme == schNormalColor || scheme == schHomestead);
    const int part = rightItem ? HP_HEADERITEMRIGHT : HP_HEADERITEM;
    DrawThemeBackground(theme, canvas->GetHandle(), part, themeState, bounds);
    const TRect textArea = state == cxbsPressed ? cxRectOffset(textAreaBounds, 1, 1) : textAreaBounds;
    DrawContent(canvas, theme, part, themeState, bounds, textArea, alignHorz, alignVert, multiLine, showEndEllipsis,
                false, text, font, textColor, bkColor);
}

void TcxWinXPLookAndFeelPainter::DrawContent(TcxCanvas* canvas, void* theme, int partId, int stateId, const TRect&,
                                             const TRect& textArea, TAlignment alignHorz,
                                             cx::TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis,
                                             bool showPrefix, const std::string& text, TFont* font,
                                             TColor textColor, TColor) const
{
    if (text.empty())
        return;
    if (font)
        canvas->SetFont(font);
    canvas->GetFont()->SetColor(textColor);
    TRect r = textArea;
    if (multiLine)
        canvas->AlignMultiLineTextRectVertically(r, text, alignVert, true, showPrefix);
    unsigned flags = DT_EDITCONTROL;
    flags |= alignHorz == taRightJustify ? DT_RIGHT : alignHorz == taCenter ? DT_CENTER : 0;
    flags |= alignVert == vaBottom ? DT_BOTTOM : alignVert == vaCenter ? DT_VCENTER : 0;
    flags |= multiLine ? DT_WORDBREAK : DT_SINGLELINE;
    if (showEndEllipsis)
        flags |= DT_END_ELLIPSIS;
    if (!showPrefix)
        flags |= DT_NOPREFIX;
    DrawThemeText(theme, canvas->GetHandle(), partId, stateId, text, -1, flags, 0, r);
}

void TcxWinXPLookAndFeelPainter::DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const
{
    TcxUltraFlatLookAndFeelPainter::Class()->DrawSortingMark(canvas, r, ascending);
}

int TcxWinXPLookAndFeelPainter::HeaderBorderSize() const
{
    HTHEME theme = Theme(totHeader);
    if (!theme)
        return Standard()->HeaderBorderSize();
    const TRect content = ContentOf100(theme, HP_HEADERITEM, 1);
    return std::max((content.Left + content.Top) / 2, 1);
}

void TcxWinXPLookAndFeelPainter::DrawFooterBorder(TcxCanvas* canvas, const TRect& r) const
{
    if (HTHEME theme = Theme(totEdit))
        DrawThemeEdge(theme, canvas->GetHandle(), 0, 0, r, kBdrRaisedInner, kBfRect);
    else
        Standard()->DrawFooterBorder(canvas, r);
}

void TcxWinXPLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                                          bool isFilterActive) const
{
    if (HTHEME theme = Theme(totComboBox))
        DrawThemeBackground(theme, canvas->GetHandle(), CP_DROPDOWNBUTTON, comboStates[state], r);
    else
        Standard()->DrawFilterDropDownButton(canvas, r, state, isFilterActive);
}

void TcxWinXPLookAndFeelPainter::DrawTabBorder(TcxCanvas* canvas, const TRect& r, TcxBorder border,
                                               TcxBorders borders, bool vertical) const
{
    if (!Theme(totTab))
        Standard()->DrawTabBorder(canvas, r, border, borders, vertical);
}

void TcxWinXPLookAndFeelPainter::DrawIndicatorItem(TcxCanvas* canvas, const TRect& r, TcxIndicatorKind kind,
                                                   TColor color, const TcxDrawBackgroundEvent& onDrawBackground) const
{
    TcxFlatLookAndFeelPainter::Class()->TcxCustomLookAndFeelPainter::DrawIndicatorItem(canvas, r, kind, color,
                                                                                       onDrawBackground);
}

int TcxWinXPLookAndFeelPainter::ScrollBarMinimalThumbSize(bool horizontal) const
{
    HTHEME theme = Theme(totScrollBar);
    const int gripper = horizontal ? SBP_GRIPPERHORZ : SBP_GRIPPERVERT;
    TSize minSize{};
    if (!theme || GetThemePartSize(theme, nullptr, gripper, 1, nullptr, TS_MIN, minSize) != cx::S_OK)
        return 8;
    const int minimum = horizontal ? minSize.cy : minSize.cx;
    TSize trueSize{};
    if (GetThemePartSize(theme, nullptr, gripper, 1, nullptr, TS_TRUE, trueSize) == cx::S_OK)
        return std::max(std::max(minimum, (horizontal ? trueSize.cy : trueSize.cx) + 4), 8);
    return std::max(minimum, 8);
}

void TcxWinXPLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r,
                                                   TcxScrollBarPart part, TcxButtonState state) const
{
    if (cxRectIsEmpty(r) || part == sbpNone)
        return;
    HTHEME theme = Theme(totScrollBar);
    if (!theme) {
        Standard()->DrawScrollBarPart(canvas, horizontal, r, part, state);
        return;
    }
    const HDC dc = canvas->GetHandle();
    switch (part) {
    case sbpLineUp:
    case sbpLineDown:
        DrawArrow(canvas, r, state, GetArrowDirection(horizontal, part), true);
        break;
    case sbpThumbnail:
        DrawThemeBackground(theme, dc, horizontal ? SBP_THUMBBTNHORZ : SBP_THUMBBTNVERT, scrollStates[state], r);
        DrawThemeBackground(theme, dc, horizontal ? SBP_GRIPPERHORZ : SBP_GRIPPERVERT, 0, r);
        break;
    case sbpPageUp:
        DrawThemeBackground(theme, dc, horizontal ? SBP_LOWERTRACKHORZ : SBP_LOWERTRACKVERT, scrollStates[state], r);
        break;
    case sbpPageDown:
        DrawThemeBackground(theme, dc, horizontal ? SBP_UPPERTRACKHORZ : SBP_UPPERTRACKVERT, scrollStates[state], r);
        break;
    default:
        break;
    }
}

void TcxWinXPLookAndFeelPainter::DrawSchedulerNavigatorButton(TcxCanvas* canvas, const TRect& r,
                                                              TcxButtonState state) const
{
    if (HTHEME theme = Theme(totToolBar))
        DrawThemeBackground(theme, canvas->GetHandle(), TP_BUTTON, toolBarStates[state], r);
    else
        TcxCustomLookAndFeelPainter::DrawSchedulerNavigatorButton(canvas, r, state);
}

void TcxWinXPLookAndFeelPainter::DrawSizeGrip(TcxCanvas* canvas, const TRect& r, TColor backgroundColor) const
{
    canvas->FillRect(r, backgroundColor);
    if (HTHEME theme = Theme(totScrollBar))
        DrawThemeBackground(theme, canvas->GetHandle(), SBP_SIZEBOX, 1, r);
    else
        TcxCustomLookAndFeelPainter::DrawSizeGrip(canvas, r, clDefault);
}

void TcxWinXPLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool enabled,
                                                   TcxGroupBoxCaptionPosition position, TcxBorders borders) const
{
    if (HTHEME theme = Theme(totButton))
        DrawThemeBackground(theme, canvas->GetHandle(), BP_GROUPBOX, enabled ? 1 : 2, r);
    else
        Standard()->DrawGroupBoxFrame(canvas, r, enabled, position, borders);
}

TColor TcxWinXPLookAndFeelPainter::GroupBoxTextColor(bool enabled, TcxGroupBoxCaptionPosition position) const
{
    HTHEME theme = Theme(totButton);
    COLORREF color = 0;
    if (!theme || GetThemeColor(theme, BP_GROUPBOX, enabled ? 1 : 2, TMT_TEXTCOLOR, color) != cx::S_OK)
        return TcxCustomLookAndFeelPainter::GroupBoxTextColor(enabled, position);
    return TColor(color);
}

void TcxWinXPLookAndFeelPainter::DrawPanelBackground(TcxCanvas* canvas, rtl::TObject* control, const TRect& r,
                                                     TColor colorFrom, TColor colorTo) const
{
    if (colorFrom == clDefault)
        TcxCustomLookAndFeelPainter::DrawPanelBackground(canvas, control, r, colorFrom, colorTo);
    else
        canvas->FillRect(r, colorFrom);
}

// ---- group buttons, expand buttons, radio buttons ----

TRect TcxWinXPLookAndFeelPainter::AdjustGroupButtonDisplayRect(const TRect& r, int buttonCount, int buttonIndex) const
{
    TRect result = TcxStandardLookAndFeelPainter::AdjustGroupButtonDisplayRect(r, buttonCount, buttonIndex);
    HTHEME theme = Theme(totButton);
    if (theme && IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, 1))
        result = cxRectInflate(result, 1, 1);
    return result;
}

// The theme's colour of the push button in that state (the colour-type property); the plain
// button face when the theme has none.
TColor TcxWinXPLookAndFeelPainter::ButtonColor(TcxButtonState state) const
{
    COLORREF color = 0;
    if (HTHEME theme = Theme(totButton);
        theme && GetThemeColor(theme, BP_PUSHBUTTON, BtnStateToXPBtnState(state), TMT_COLOR, color) == cx::S_OK)
        return TColor(color);
    return TcxStandardLookAndFeelPainter::ButtonColor(state);
}

TRect TcxWinXPLookAndFeelPainter::ButtonGroupBorderSizes(int buttonCount, int buttonIndex) const
{
    HTHEME theme = Theme(totButton);
    if (!theme)
        return TcxStandardLookAndFeelPainter::ButtonGroupBorderSizes(buttonCount, buttonIndex);
    const TRect c = ContentOf100(theme, BP_PUSHBUTTON, 1);
    TRect sizes{c.Left, c.Top, 100 - c.Right, 100 - c.Bottom};
    if (IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, 1))
        sizes = {sizes.Left - 1, sizes.Top - 1, sizes.Right - 1, sizes.Bottom - 1};
    return sizes;
}

void TcxWinXPLookAndFeelPainter::DrawGroupExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                       TcxButtonState state) const
{
    HTHEME theme = Theme(totExplorerBar);
    if (!theme) {
        Standard()->DrawGroupExpandButton(canvas, r, expanded, state);
        return;
    }
    // Normal, hot and pressed have their own states; the default and disabled looks take the normal one.
    const int explorerState = state == cxbsHot ? 2 : state == cxbsPressed ? 3 : 1;
    DrawThemeBackground(theme, canvas->GetHandle(), expanded ? EBP_NORMALGROUPCOLLAPSE : EBP_NORMALGROUPEXPAND,
                        explorerState, r);
}

void TcxWinXPLookAndFeelPainter::DrawSmallExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                       TColor borderColor, TColor color) const
{
    (void)borderColor;
    if (Theme(totTreeview))
        DrawExpandButton(canvas, r, expanded, clDefault);
    else
        TcxCustomLookAndFeelPainter::DrawSmallExpandButton(canvas, r, expanded, color, clDefault);
}

int TcxWinXPLookAndFeelPainter::GroupExpandButtonSize() const
{
    TSize size{0, 0};
    if (HTHEME theme = Theme(totExplorerBar);
        theme && GetThemePartSize(theme, nullptr, EBP_NORMALGROUPEXPAND, 1, nullptr, TS_TRUE, size) == cx::S_OK)
        return size.cx;
    return TcxStandardLookAndFeelPainter::GroupExpandButtonSize();
}

int TcxWinXPLookAndFeelPainter::SmallExpandButtonSize() const
{
    return Theme(totTreeview) ? ExpandButtonSize() : TcxStandardLookAndFeelPainter::SmallExpandButtonSize();
}

void TcxWinXPLookAndFeelPainter::DrawRadioButton(TcxCanvas* canvas, int x, int y, TcxButtonState state,
                                                 bool checked, bool focused, TColor brushColor,
                                                 bool isDesigning) const
{
    HTHEME theme = Theme(totButton);
    if (!theme) {
        TcxStandardLookAndFeelPainter::DrawRadioButton(canvas, x, y, state, checked, focused, brushColor,
                                                       isDesigning);
        return;
    }
    const TSize size = RadioButtonSize();
    DrawThemeBackground(theme, canvas->GetHandle(), BP_RADIOBUTTON, checkStates[checked ? 1 : 0][state],
                        cxRectBounds(x, y, size.cx, size.cy));
}

TSize TcxWinXPLookAndFeelPainter::RadioButtonSize() const
{
    TSize size{0, 0};
    if (HTHEME theme = Theme(totButton);
        theme && GetThemePartSize(theme, nullptr, BP_RADIOBUTTON, 1, nullptr, TS_TRUE, size) == cx::S_OK)
        return size;
    return TcxStandardLookAndFeelPainter::RadioButtonSize();
}

TRect TcxWinXPLookAndFeelPainter::HeaderControlSectionContentBounds(const TRect& bounds, TcxButtonState state) const
{
    if (Theme(totHeader))
        return Shrink(bounds, HeaderBorderSize());
    return TcxStandardLookAndFeelPainter::HeaderControlSectionContentBounds(bounds, state);
}

// ---- footer ----

int TcxWinXPLookAndFeelPainter::FooterBorderSize() const
{
    return Theme(totEdit) ? 1 : Standard()->FooterBorderSize();
}

int TcxWinXPLookAndFeelPainter::FooterCellBorderSize() const
{
    if (HTHEME theme = Theme(totTrackBar))
        return ContentOf100(theme, TKP_TRACK, 1).Left;
    return Standard()->FooterCellBorderSize();
}

int TcxWinXPLookAndFeelPainter::FooterCellOffset() const
{
    return Theme(totTrackBar) ? 1 : Standard()->FooterCellOffset();
}

void TcxWinXPLookAndFeelPainter::DrawFooterCell(TcxCanvas* canvas, const TRect& bounds, TAlignment alignHorz,
                                                cx::TcxAlignmentVert alignVert, bool multiLine,
                                                const std::string& text, TFont* font, TColor textColor,
                                                TColor bkColor, const TcxDrawBackgroundEvent& onDrawBackground) const
{
    HTHEME theme = Theme(totTrackBar);
    if (!theme) {
        TcxStandardLookAndFeelPainter::DrawFooterCell(canvas, bounds, alignHorz, alignVert, multiLine, text, font,
                                                      textColor, bkColor, onDrawBackground);
        return;
    }
    DrawThemeBackground(theme, canvas->GetHandle(), TKP_TRACK, 1, bounds);
    DrawContent(canvas, theme, TKP_TRACK, 1, bounds, FooterCellTextAreaBounds(bounds), alignHorz, alignVert,
                multiLine, false, false, text, font, textColor, bkColor);
}

// ---- filter buttons ----

void TcxWinXPLookAndFeelPainter::DrawFilterCloseButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const
{
    if (HTHEME theme = Theme(totWindow))
        DrawThemeBackground(theme, canvas->GetHandle(), WP_SMALLCLOSEBUTTON, comboStates[state], r);
    else
        TcxStandardLookAndFeelPainter::DrawFilterCloseButton(canvas, r, state);
}

TSize TcxWinXPLookAndFeelPainter::FilterActivateButtonSize() const
{
    TSize size{0, 0};
    if (HTHEME theme = Theme(totButton);
        theme && GetThemePartSize(theme, nullptr, BP_CHECKBOX, 5, nullptr, TS_TRUE, size) == cx::S_OK)
        return size;
    return TcxStandardLookAndFeelPainter::FilterActivateButtonSize();
}

TSize TcxWinXPLookAndFeelPainter::FilterCloseButtonSize() const
{
    TSize size{0, 0};
    if (HTHEME theme = Theme(totWindow);
        theme && GetThemePartSize(theme, nullptr, WP_SMALLCLOSEBUTTON, 1, nullptr, TS_TRUE, size) == cx::S_OK)
        return {size.cx + 4, size.cy + 4};
    return TcxStandardLookAndFeelPainter::FilterCloseButtonSize();
}

// ---- tabs ----

bool TcxWinXPLookAndFeelPainter::IsDrawTabImplemented(bool vertical) const
{
    return Theme(totTab) ? true : TcxStandardLookAndFeelPainter::IsDrawTabImplemented(vertical);
}

bool TcxWinXPLookAndFeelPainter::IsTabHotTrack(bool vertical) const
{
    return Theme(totTab) ? true : TcxStandardLookAndFeelPainter::IsTabHotTrack(vertical);
}

int TcxWinXPLookAndFeelPainter::TabBorderSize(bool vertical) const
{
    return Theme(totTab) ? 1 : Standard()->TabBorderSize(vertical);
}

// ---- scheduler and date navigator ----

void TcxWinXPLookAndFeelPainter::DrawSchedulerEventProgress(TcxCanvas* canvas, const TRect& bounds,
                                                            const TRect& progress, const TcxViewParams& viewParams,
                                                            bool transparent) const
{
    HTHEME theme = Theme(totProgress);
    if (!theme) {
        TcxStandardLookAndFeelPainter::DrawSchedulerEventProgress(canvas, bounds, progress, viewParams, transparent);
        return;
    }
    DrawThemeBackground(theme, canvas->GetHandle(), PP_BAR, 0, bounds);
    DrawThemeBackground(theme, canvas->GetHandle(), PP_CHUNK, 0, progress);
}

void TcxWinXPLookAndFeelPainter::DrawDateNavigatorDateHeader(TcxCanvas* canvas, TRect& r) const
{
    if (HTHEME theme = Theme(totHeader))
        DrawThemeBackground(theme, canvas->GetHandle(), HP_HEADERITEMLEFT, 1, r);
    else
        TcxStandardLookAndFeelPainter::DrawDateNavigatorDateHeader(canvas, r);
}

// ---- tabs, month headers, header sections, scheduler parts ----

// A tab item turned sideways behind the arrow: the canvas under the button is copied aside,
// turned a quarter, the tab drawn over it, and turned back.
void TcxWinXPLookAndFeelPainter::DrawSchedulerNavigationButtonContent(TcxCanvas* canvas, const TRect& r,
                                                                      const TRect& arrowRect, bool isNextButton,
                                                                      TcxButtonState state) const
{
    HTHEME theme = Theme(totTab);
    if (!theme) {
        TcxCustomLookAndFeelPainter::DrawSchedulerNavigationButtonContent(canvas, r, arrowRect, isNextButton, state);
        return;
    }
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (w > 0 && h > 0) {
        TcxBitmap bitmap(w, h, pf32bit);
        cxBitBlt(bitmap.Canvas()->GetHandle(), canvas->GetHandle(), {0, 0, w, h}, {r.Left, r.Top}, SRCCOPY);
        bitmap.Rotate(isNextButton ? raMinus90 : raPlus90);
        DrawThemeBackground(theme, bitmap.Canvas()->GetHandle(), TABP_TABITEM, tabStates[state],
                            {0, 0, bitmap.GetWidth(), bitmap.GetHeight()});
        bitmap.Rotate(isNextButton ? raPlus90 : raMinus90);
        cxBitBlt(canvas->GetHandle(), bitmap.Canvas()->GetHandle(), r, {0, 0}, SRCCOPY);
    }
    DrawSchedulerNavigationButtonArrow(canvas, arrowRect, isNextButton, ButtonSymbolColor(state, clDefault));
}

bool TcxWinXPLookAndFeelPainter::IsPointOverGroupExpandButton(const TRect& r, const TPoint& p) const
{
    HTHEME theme = Theme(totExplorerBar);
    HRGN handle = nullptr;
    // Without the theme, or when it cannot tell the part's shape, the rectangle answers.
    if (!theme || GetThemeBackgroundRegion(theme, nullptr, EBP_NORMALGROUPEXPAND, 1, r, handle) != cx::S_OK ||
        !handle)
        return TcxCustomLookAndFeelPainter::IsPointOverGroupExpandButton(r, p);
    TcxRegion region(handle);
    return region.PtInRegion(p);
}

void TcxWinXPLookAndFeelPainter::DrawHeaderControlSection(
    TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, TcxNeighbors neighbors, TcxBorders borders,
    TcxButtonState state, TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis,
    const std::string& text, TFont* font, TColor textColor, TColor bkColor) const
{
    canvas->FillRect(bounds, clBtnFace);
    DrawHeader(canvas, bounds, textAreaBounds, neighbors, borders, state, alignHorz, alignVert, multiLine,
               showEndEllipsis, text, font, textColor, bkColor, {}, false, false);
}

void TcxWinXPLookAndFeelPainter::DrawMonthHeader(TcxCanvas* canvas, const TRect& bounds, const std::string& text,
                                                 TcxNeighbors neighbors, const TcxViewParams& viewParams,
                                                 TcxHeaderArrows arrows, int sideWidth,
                                                 const TcxDrawBackgroundEvent& onDrawBackground) const
{
    DrawHeader(canvas, bounds, bounds, neighbors, cxBordersAll, cxbsNormal, taCenter, vaCenter, false, false, text,
               viewParams.Font, viewParams.TextColor, viewParams.Color, onDrawBackground,
               !neighbors.Contains(nRight), false);
    DrawMonthHeaderArrows(canvas, bounds, arrows, sideWidth, clWindowText);
}

// A vertical tab is drawn as a horizontal one in a transposed bitmap and transposed back, so
// that it looks like a horizontal tab turned a quarter while its text stays horizontal.
void TcxWinXPLookAndFeelPainter::DrawTab(TcxCanvas* canvas, const TRect& r, TcxBorders borders,
                                         const std::string& text, TcxButtonState state, bool vertical, TFont* font,
                                         TColor textColor, TColor bkColor, bool showPrefix) const
{
    HTHEME theme = Theme(totTab);
    if (!theme) {
        TcxCustomLookAndFeelPainter::DrawTab(canvas, r, borders, text, state, vertical, font, textColor, bkColor,
                                             showPrefix);
        return;
    }
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (w <= 0 || h <= 0)
        return;
    const bool selected = state == cxbsPressed;
    std::unique_ptr<TBitmap> bitmap;
    HDC dc = canvas->GetHandle();
    TRect clip = r;
    if (vertical) {
        // The bitmap starts as what the canvas shows there, so that the corners the tab leaves
        // open keep the background instead of the bitmap's black.
        bitmap = std::make_unique<TBitmap>();
        bitmap->SetPixelFormat(pf32bit);
        bitmap->SetSize(w, h);
        cxBitBlt(bitmap->Canvas()->GetHandle(), dc, {0, 0, w, h}, {r.Left, r.Top}, SRCCOPY);
        canvas->RotateBitmap(bitmap.get(), raPlus90, true);
        dc = bitmap->Canvas()->GetHandle();
        clip = {0, 0, h, w};
    }
    TRect tab = clip;
    if (!(borders & cxBorder(vertical ? bTop : bLeft)))
        tab.Left -= 2;
    if (!(borders & cxBorder(vertical ? bBottom : bRight)))
        tab.Right += 2;
    if (selected)
        ++tab.Bottom;
    else
        --clip.Bottom;
    DrawThemeBackground(theme, dc, TABP_TABITEM, tabStates[state], tab, &clip);
    if (vertical) {
        canvas->RotateBitmap(bitmap.get(), raPlus90, true);
        cxBitBlt(canvas->GetHandle(), bitmap->Canvas()->GetHandle(), r, {0, 0}, SRCCOPY);
        bitmap.reset();
        tab = cxRectOffset(Transposed(tab), r.Left, r.Top);
        clip = cxRectOffset(Transposed(clip), r.Left, r.Top);
    }
    if (selected) {
        if (vertical)
            tab.Right -= 2;
        else
            tab.Bottom -= 2;
    }
    DrawContent(canvas, theme, TABP_TABITEM, tabStates[state], clip, tab, taCenter, vaCenter, false, false,
                showPrefix, text, font, textColor, bkColor);
}

// The pane is drawn beyond the rectangle on the sides away from the tabs and clipped to it, so
// that only its edge toward the tabs and its inner face show.
void TcxWinXPLookAndFeelPainter::DrawTabsRoot(TcxCanvas* canvas, const TRect& r, TcxBorders borders,
                                              bool vertical) const
{
    HTHEME theme = Theme(totTab);
    if (!theme) {
        Standard()->DrawTabsRoot(canvas, r, borders, vertical);
        return;
    }
    TRect content = r;
    GetThemeBackgroundContentRect(theme, canvas->GetHandle(), TABP_PANE, 0, r, content);
    const int left = content.Left - r.Left, top = content.Top - r.Top, right = r.Right - content.Right,
              bottom = r.Bottom - content.Bottom;
    TRect pane = r;
    if (vertical) {
        pane.Bottom += bottom - top;
        pane.Right += 10;
    } else {
        pane.Right += right - left;
        pane.Bottom += 10;
    }
    DrawThemeBackground(theme, canvas->GetHandle(), TABP_PANE, 0, pane, &r);
}

void TcxWinXPLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* canvas, const TRect& r,
                                                             const TcxViewParams& viewParams, bool horizontal) const
{
    HTHEME combo = Theme(totComboBox);
    if (!combo || !Theme(totListView)) {
        Standard()->DrawSchedulerSplitterBorder(canvas, r, viewParams, horizontal);
        return;
    }
    COLORREF color = 0;
    if (GetThemeColor(combo, 1, 1, TMT_BORDERCOLOR, color) != cx::S_OK)
        color = ColorToRGB(clBtnShadow);
    cxFlatSplitterRest(canvas, r, viewParams, horizontal, TColor(color), TColor(color));
}
