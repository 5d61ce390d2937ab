#include "toolkit/core/dxOffice11.h"

#include "platform/gdi/Draw.h"
#include "platform/gdi/SysParams.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/SysUtils.h"
#include "toolkit/core/dxThemeManager.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

using rtl::MulDiv;

TColor dxOffice11ToolbarsColor1, dxOffice11ToolbarsColor2, dxOffice11DockColor1, dxOffice11DockColor2;
TColor dxOffice11BarMarkColors1[3], dxOffice11BarMarkColors2[3], dxOffice11BarBorderColors[2],
    dxOffice11BarBorderMarkColors[6];
TColor dxOffice11BarFingerColor1, dxOffice11BarFingerColor2, dxOffice11BarSeparatorColor1,
    dxOffice11BarSeparatorColor2, dxOffice11BarMarkArrowColor1, dxOffice11BarMarkArrowColor2;
TColor dxOffice11BarFloatingBorderColor1, dxOffice11BarFloatingBorderColor2, dxOffice11BarFloatingBorderColor3,
    dxOffice11BarFloatingCaptionColor, dxOffice11BarFloatingCaptionTextColor1,
    dxOffice11BarFloatingCaptionTextColor2, dxOffice11BarFloatingCaptionTextColor3;
TColor dxOffice11DropDownBorderColor1, dxOffice11DropDownBorderColor2, dxOffice11MenuColor,
    dxOffice11MenuDownedColor1, dxOffice11MenuDownedColor2, dxOffice11MenuIndentColor1, dxOffice11MenuIndentColor2,
    dxOffice11MenuNonRecentIndentColor1, dxOffice11MenuNonRecentIndentColor2;
TColor dxOffice11ToolbarSelectedColor, dxOffice11SelectedBorderColor, dxOffice11SelectedColor1,
    dxOffice11SelectedColor2, dxOffice11SelectedDownColor1, dxOffice11SelectedDownColor2,
    dxOffice11OwnerControlDownedColor, dxOffice11DownedColor, dxOffice11DownedSelectedColor,
    dxOffice11DetachableColor, dxOffice11DetachableSelectedColor;
TColor dxOffice11TextEnabledColor, dxOffice11TextDisabledColor, dxOffice11GroupColor, dxOffice11GroupIndentColor,
    dxOffice11DayNavigatorSelectedColor, dxOffice11OutlookControlColor, dxOffice11OutlookBorderColor,
    dxOffice11GroupRowTextColor, dxOffice11GroupRowSeparatorColor;
TColor dxOffice11NavPaneBorder, dxOffice11NavPaneGroupCaptionColor1, dxOffice11NavPaneGroupCaptionColor2,
    dxOffice11NavPaneGroupCaptionHotColor1, dxOffice11NavPaneGroupCaptionHotColor2,
    dxOffice11NavPaneGroupCaptionPressedColor1, dxOffice11NavPaneGroupCaptionPressedColor2,
    dxOffice11NavPaneGroupCaptionPressedHotColor1, dxOffice11NavPaneGroupCaptionPressedHotColor2,
    dxOffice11NavPaneHeaderColor1, dxOffice11NavPaneHeaderColor2, dxOffice11NavPaneHeaderFontColor,
    dxOffice11NavPaneSplitterColor1, dxOffice11NavPaneSplitterColor2;
TColor dxOffice11StaticBorderColor, dxOffice11ControlBorderColor, dxOffice11DateHeaderColor,
    dxOffice11InPlaceSubItemColor, dxOffice11InPlaceSubItemTextColor, dxOffice11ExpandButtonColor1,
    dxOffice11ExpandButtonColor2;
int dxOffice11TubeMidPercent = 75;

HBRUSH dxOffice11BarFingerBrush1, dxOffice11BarFingerBrush2, dxOffice11BarSeparatorBrush1,
    dxOffice11BarSeparatorBrush2, dxOffice11DropDownBorderBrush1, dxOffice11DropDownBorderBrush2,
    dxOffice11MenuBrush, dxOffice11SelectedBorderBrush, dxOffice11OwnerControlDownedBrush, dxOffice11DownedBrush,
    dxOffice11DownedSelectedBrush, dxOffice11DetachableBrush, dxOffice11DetachableSelectedBrush,
    dxOffice11ToolbarSelectedBrush, dxOffice11InPlaceSubItemBrush, dxOffice11StaticBorderBrush;
TBitmap* dxOffice11SubMenuExpandBitmap;
TBitmap* dxOffice11ExpandButtonBitmap1;
TBitmap* dxOffice11ExpandButtonBitmap2;

namespace {

TOffice11Scheme currentScheme = schUnknown;
bool standardScheme = false;
int colorsCount = 0;

constexpr int paletteSize = 49;
// Per standard scheme (blue, olive, silver), the 49 stored colours in palette order.
constexpr std::array<std::array<TColor, paletteSize>, 3> schemePalettes = {{
    {0xFEECDD, 0xE2A981, 0xF5BE9E, 0xF9DAC3, 0x913500, 0xF1A675, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE,
     0x9C613B, 0xE0A47B, 0x764127, 0xFFFFFF, 0xCB8C6A, 0xFFF9F1, 0xC9662A, 0xF9DBC4, 0x962D00, 0xF6F6F6,
     0xC2EEFF, 0x800000, 0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xFCE1CB, 0x6FC0FF, 0x3E80FE, 0xF0C7A9,
     0x000000, 0x8D8D8D, 0xFBDABE, 0x94E6FB, 0xFADAC4, 0x962D00, 0xB96837, 0x962D00, 0xFBE5D3, 0xE4AE88,
     0xDCFFFF, 0x5BC0F7, 0x94E6FB, 0x1595EE, 0x087FE8, 0x7CDAF7, 0xD68759, 0x933803, 0xFFFFFF},
    {0xDEF7F4, 0x91C6B7, 0xA7D9D9, 0xE4F0F2, 0x6B7760, 0x8CC2B0, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE,
     0x588060, 0x8FC4B5, 0x335E51, 0xFFFFFF, 0x588060, 0xDEF7F4, 0x5E8674, 0xADDEE1, 0x5E8D75, 0xEEF4F4,
     0xC2EEFF, 0x385D3F, 0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xB6E3D8, 0x6FC0FF, 0x3E80FE, 0x9FD4C5,
     0x000000, 0x8D8D8D, 0x91BAAF, 0x94E6FB, 0xE4F1F2, 0x588060, 0x548973, 0x5E8D75, 0xDBF5F2, 0x97C9BC,
     0xDCFFFF, 0x5BC0F7, 0x94E6FB, 0x1595EE, 0x087FE8, 0x7CDAF7, 0x82C0AF, 0x447A63, 0xFFFFFF},
    {0xFAF4F3, 0xB59799, 0xE5D7D7, 0xF7F3F3, 0x927476, 0xC8B2B3, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE,
     0x947C7C, 0xB09193, 0x755454, 0xFFFFFF, 0x8F6D6E, 0xFFFFFF, 0x99797A, 0xE4DADB, 0x947C7C, 0xFFFAFD,
     0xC2EEFF, 0x6F4B4B, 0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xE7D3D6, 0x6FC0FF, 0x3E80FE, 0xD3C0C0,
     0x000000, 0x8D8D8D, 0xEBE5E5, 0x94E6FB, 0xF7F3F3, 0x947C7C, 0x916F70, 0x947C7C, 0xF8F1F0, 0xBA9EA0,
     0xDCFFFF, 0x5BC0F7, 0x94E6FB, 0x1595EE, 0x087FE8, 0x7CDAF7, 0xBFA7A8, 0x916F70, 0xFFFFFF},
}};
constexpr std::array<int, 3> schemeTubeMidPercents = {41, 125, 40};

// Where each stored palette value goes.
const std::array<TColor*, paletteSize> paletteTargets = {
    &dxOffice11ToolbarsColor1, &dxOffice11ToolbarsColor2, &dxOffice11DockColor1, &dxOffice11DockColor2,
    &dxOffice11BarMarkColors2[0], &dxOffice11BarMarkColors1[0], &dxOffice11BarMarkColors2[1],
    &dxOffice11BarMarkColors1[1], &dxOffice11BarMarkColors2[2], &dxOffice11BarMarkColors1[2],
    &dxOffice11BarBorderColors[0], &dxOffice11BarBorderColors[1], &dxOffice11BarFingerColor1,
    &dxOffice11BarFingerColor2, &dxOffice11BarSeparatorColor1, &dxOffice11BarSeparatorColor2,
    &dxOffice11BarFloatingBorderColor1, &dxOffice11BarFloatingBorderColor2, &dxOffice11DropDownBorderColor1,
    &dxOffice11MenuColor, &dxOffice11ToolbarSelectedColor, &dxOffice11SelectedBorderColor,
    &dxOffice11SelectedColor1, &dxOffice11SelectedColor2, &dxOffice11SelectedDownColor1,
    &dxOffice11SelectedDownColor2, &dxOffice11OwnerControlDownedColor, &dxOffice11DownedColor,
    &dxOffice11DownedSelectedColor, &dxOffice11DetachableColor, &dxOffice11TextEnabledColor,
    &dxOffice11TextDisabledColor, &dxOffice11GroupColor, &dxOffice11DayNavigatorSelectedColor,
    &dxOffice11OutlookControlColor, &dxOffice11OutlookBorderColor, &dxOffice11GroupRowTextColor,
    &dxOffice11NavPaneBorder, &dxOffice11NavPaneGroupCaptionColor1, &dxOffice11NavPaneGroupCaptionColor2,
    &dxOffice11NavPaneGroupCaptionHotColor1, &dxOffice11NavPaneGroupCaptionHotColor2,
    &dxOffice11NavPaneGroupCaptionPressedColor1, &dxOffice11NavPaneGroupCaptionPressedColor2,
    &dxOffice11NavPaneGroupCaptionPressedHotColor1, &dxOffice11NavPaneGroupCaptionPressedHotColor2,
    &dxOffice11NavPaneHeaderColor1, &dxOffice11NavPaneHeaderColor2, &dxOffice11NavPaneHeaderFontColor};

int R(TColor c) { return int(c & 0xFF); }
int G(TColor c) { return int((c >> 8) & 0xFF); }
int B(TColor c) { return int((c >> 16) & 0xFF); }
TColor RGB(int r, int g, int b) { return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }
TColor Sys(TColor c) { return ColorToRGB(c); }

std::u16string Upper(std::u16string s)
{
    for (char16_t& c : s)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return s;
}

TOffice11Scheme DetectOffice11Scheme()
{
    if (!cx::AreVisualStylesAvailable())
        return schUnknown;
    std::u16string fileName, colorName, sizeName;
    if (cx::GetCurrentThemeName(fileName, &colorName, &sizeName) != cx::S_OK)
        return schUnknown;
    const size_t slash = fileName.find_last_of(u"\\/");
    const std::u16string file = Upper(slash == std::u16string::npos ? fileName : fileName.substr(slash + 1));
    if (file != u"LUNA.MSSTYLES" && rtl::profile::Win32MajorVersion <= 5)
        return schUnknown;
    const std::u16string color = Upper(colorName);
    if (color == u"NORMALCOLOR")
        return schNormalColor;
    if (color == u"HOMESTEAD")
        return schHomestead;
    if (color == u"METALLIC")
        return schMetallic;
    return schUnknown;
}

// The navigation-pane caption colours from the button face.
TColor NavPaneCaptionColor(bool light)
{
    const TColor face = Sys(clBtnFace);
    auto ch = [light](int v) { return light ? (v * 127) / 255 + 128 : (v + 4 - (v * 4) / 255) & 0xFF; };
    return GetRealColor(RGB(ch(R(face)), ch(G(face)), ch(B(face))));
}

void BuildStandardColors(TOffice11Scheme scheme)
{
    const auto& palette = schemePalettes[size_t(scheme - schNormalColor)];
    for (int i = 0; i < paletteSize; ++i)
        *paletteTargets[size_t(i)] = palette[size_t(i)];
    for (int i = 0; i < 3; ++i) {
        dxOffice11BarBorderMarkColors[i] = GetMiddleRGB(dxOffice11BarMarkColors1[i], dxOffice11ToolbarsColor1, 90);
        dxOffice11BarBorderMarkColors[i + 3] =
            GetMiddleRGB(dxOffice11BarMarkColors2[i], dxOffice11BarBorderColors[1], 50);
    }
    dxOffice11BarMarkArrowColor1 = clBlack;
    dxOffice11BarMarkArrowColor2 = clWhite;
    dxOffice11BarFloatingCaptionTextColor1 = clWhite;
    dxOffice11BarFloatingCaptionTextColor2 = clBlack;
    dxOffice11BarFloatingCaptionTextColor3 = clBlack;
    dxOffice11GroupIndentColor = 0xC9EEFD;
    dxOffice11GroupRowSeparatorColor = dxOffice11BarBorderColors[1];
    dxOffice11NavPaneSplitterColor1 = dxOffice11NavPaneHeaderColor1;
    dxOffice11NavPaneSplitterColor2 = dxOffice11NavPaneHeaderColor2;
    dxOffice11TubeMidPercent = schemeTubeMidPercents[size_t(scheme - schNormalColor)];
}

void BuildSystemColors()
{
    const TColor face = Sys(clBtnFace), window = Sys(clWindow), shadow = Sys(clBtnShadow);
    dxOffice11DockColor1 = face;
    dxOffice11DockColor2 = GetMiddleRGB(face, window, 20);
    dxOffice11ToolbarsColor1 = GetMiddleRGB(face, window, 22);
    dxOffice11ToolbarsColor2 = GetMiddleRGB(face, window, 96);
    dxOffice11BarMarkColors2[0] = shadow;
    dxOffice11BarMarkColors1[0] = GetMiddleRGB(shadow, window, 74);
    dxOffice11BarMarkColors1[1] = dxOffice11BarMarkColors2[1] = GetRealColor(GetLightColor(-15, 29, 86));
    dxOffice11BarMarkColors1[2] = dxOffice11BarMarkColors2[2] = GetRealColor(GetLightColor(42, 11, 47));
    dxOffice11BarBorderColors[0] = GetMiddleRGB(face, window, 85);
    dxOffice11BarBorderColors[1] = face;
    for (int i = 0; i < 3; ++i) {
        dxOffice11BarBorderMarkColors[i] = GetMiddleRGB(dxOffice11BarMarkColors2[i], window, 50);
        dxOffice11BarBorderMarkColors[i + 3] =
            GetMiddleRGB(dxOffice11BarMarkColors2[i], dxOffice11BarBorderColors[1], 50);
    }
    dxOffice11BarFingerColor1 = GetMiddleRGB(shadow, window, 76);
    dxOffice11BarFingerColor2 = window;
    dxOffice11BarSeparatorColor1 = GetMiddleRGB(shadow, window, 70);
    dxOffice11BarSeparatorColor2 = clWhite;
    dxOffice11BarMarkArrowColor1 = Sys(clBtnText);
    dxOffice11BarMarkArrowColor2 = window;
    dxOffice11BarFloatingBorderColor1 = shadow;
    dxOffice11BarFloatingBorderColor2 = dxOffice11ToolbarsColor2;
    dxOffice11BarFloatingCaptionTextColor1 = Sys(clBtnHighlight);
    dxOffice11BarFloatingCaptionTextColor2 = dxOffice11BarFloatingCaptionTextColor3 = Sys(clBtnText);
    dxOffice11DropDownBorderColor1 = shadow;
    dxOffice11MenuColor = window;
    dxOffice11ToolbarSelectedColor = GetRealColor(GetLightColor(-2, 30, 72));
    dxOffice11SelectedBorderColor = Sys(clHighlight);
    dxOffice11SelectedColor1 = dxOffice11SelectedColor2 = dxOffice11ToolbarSelectedColor;
    dxOffice11OwnerControlDownedColor = dxOffice11ToolbarsColor2;
    dxOffice11DownedColor = GetLightColor(41, 11, 48);
    dxOffice11DownedSelectedColor = GetRealColor(GetLightColor(14, 44, 40));
    dxOffice11SelectedDownColor1 = dxOffice11SelectedDownColor2 = dxOffice11DownedSelectedColor;
    dxOffice11DetachableColor = dxOffice11OwnerControlDownedColor;
    dxOffice11TextEnabledColor = Sys(clBtnText);
    dxOffice11TextDisabledColor = Sys(clGrayText);
    dxOffice11GroupColor = dxOffice11GroupIndentColor = face;
    dxOffice11DayNavigatorSelectedColor = dxOffice11DownedColor;
    dxOffice11OutlookControlColor = dxOffice11DockColor1;
    dxOffice11OutlookBorderColor = dxOffice11DropDownBorderColor1;
    dxOffice11GroupRowTextColor = dxOffice11GroupRowSeparatorColor = shadow;
    dxOffice11NavPaneBorder = GetRealColor(shadow);
    dxOffice11NavPaneGroupCaptionColor1 = NavPaneCaptionColor(true);
    dxOffice11NavPaneGroupCaptionColor2 = NavPaneCaptionColor(false);
    dxOffice11NavPaneGroupCaptionHotColor1 = dxOffice11SelectedColor1;
    dxOffice11NavPaneGroupCaptionHotColor2 = dxOffice11SelectedColor2;
    dxOffice11NavPaneGroupCaptionPressedColor1 = dxOffice11NavPaneGroupCaptionPressedColor2 = dxOffice11DownedColor;
    dxOffice11NavPaneGroupCaptionPressedHotColor1 = dxOffice11NavPaneGroupCaptionPressedHotColor2 =
        dxOffice11DownedSelectedColor;
    dxOffice11NavPaneHeaderColor1 = dxOffice11NavPaneHeaderColor2 = dxOffice11NavPaneBorder;
    dxOffice11NavPaneHeaderFontColor = Sys(clHighlightText);
    dxOffice11NavPaneSplitterColor1 = GetRealColor(face);
    dxOffice11NavPaneSplitterColor2 = dxOffice11NavPaneBorder;
    dxOffice11TubeMidPercent = 75;
}

void BuildCommonColors()
{
    dxOffice11BarFloatingBorderColor3 = dxOffice11ToolbarsColor1;
    dxOffice11BarFloatingCaptionColor = dxOffice11BarFloatingBorderColor1;
    dxOffice11DropDownBorderColor2 = dxOffice11MenuColor;
    dxOffice11MenuDownedColor1 = dxOffice11MenuIndentColor1 = dxOffice11ToolbarsColor1;
    dxOffice11MenuDownedColor2 = dxOffice11MenuIndentColor2 = dxOffice11ToolbarsColor2;
    dxOffice11MenuNonRecentIndentColor1 = GetMiddleRGB(dxOffice11MenuIndentColor1, clBlack, 92);
    dxOffice11MenuNonRecentIndentColor2 = GetMiddleRGB(dxOffice11MenuIndentColor2, clBlack, 92);
    dxOffice11DetachableSelectedColor = dxOffice11ToolbarSelectedColor;
    dxOffice11StaticBorderColor = dxOffice11ControlBorderColor = dxOffice11DropDownBorderColor1;
    dxOffice11DateHeaderColor = dxOffice11DockColor1;
    dxOffice11InPlaceSubItemColor = dxOffice11BarBorderMarkColors[3];
    dxOffice11InPlaceSubItemTextColor = dxOffice11BarFloatingCaptionTextColor1;
}

void BuildOffice11Palette()
{
    currentScheme = DetectOffice11Scheme();
    standardScheme = cx::AreVisualStylesAvailable() && currentScheme != schUnknown;
    if (standardScheme)
        BuildStandardColors(currentScheme);
    else
        BuildSystemColors();
    BuildCommonColors();
}

// ---- brushes and bitmaps ----

std::vector<std::unique_ptr<gdi::Brush>> ownedBrushes;

HBRUSH NewBrush(TColor color)
{
    ownedBrushes.push_back(std::make_unique<gdi::Brush>(gdi::Brush::Solid(ColorToRef(color))));
    return ownedBrushes.back().get();
}

// The pictures of the three bitmaps are drawn here instead of loaded from resources: a
// right-pointing expand mark in grey steps (recoloured below), and a minus and a plus sign in
// 11 x 11 boxes, black marks on a white face with a grey frame.
TBitmap* MakeSubMenuExpandBitmap()
{
    auto* b = new TBitmap;
    b->SetPixelFormat(pf8bit);
    b->SetSize(16, 16);
    const TColor back = 0xFF00FF;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            b->ScanLine(y)[x] = gdi::ColorToPixel(ColorToRef(back));
    for (int i = 0; i < 4; ++i)
        for (int y = 4 + i; y < 12 - i; ++y) {
            const int grey = 0x40 + 0x30 * i;
            b->ScanLine(y)[6 + i] = gdi::ColorToPixel(ColorToRef(RGB(grey, grey, grey)));
        }
    return b;
}

TBitmap* MakeExpandButtonBitmap(bool plus)
{
    auto* b = new TBitmap;
    b->SetPixelFormat(pf8bit);
    b->SetSize(11, 11);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x) {
            const bool frame = x == 0 || y == 0 || x == 10 || y == 10;
            const bool mark = (y == 5 && x >= 2 && x <= 8) || (plus && x == 5 && y >= 2 && y <= 8);
            b->ScanLine(y)[x] = gdi::ColorToPixel(frame ? 0x808080 : mark ? 0x000000 : 0xFFFFFF);
        }
    return b;
}

// Grey steps of the expand mark become steps between the two toolbar colours.
void RecolorSubMenuExpandBitmap(TBitmap* b)
{
    TColor c1 = dxOffice11ToolbarsColor1, c2 = dxOffice11ToolbarsColor2;
    if (c1 == c2)
        c2 = c1 == clBlack ? clWhite : clBlack;
    const std::uint32_t back = b->ScanLine(0)[0], black = gdi::ColorToPixel(0);
    int smallest = 255, largest = 1;
    auto red = [](std::uint32_t px) { return int((px >> 16) & 0xFF); };
    for (int y = 0; y < b->GetHeight(); ++y)
        for (int x = 0; x < b->GetWidth(); ++x) {
            const std::uint32_t px = b->ScanLine(y)[x] & 0xFFFFFF;
            if (px != (back & 0xFFFFFF) && px != black) {
                smallest = std::min(smallest, red(px));
                largest = std::max(largest, red(px));
            }
        }
    for (int y = 0; y < b->GetHeight(); ++y)
        for (int x = 0; x < b->GetWidth(); ++x) {
            std::uint32_t& px = b->ScanLine(y)[x];
            if ((px & 0xFFFFFF) == (back & 0xFFFFFF) || (px & 0xFFFFFF) == black)
                continue;
            // A single grey step (largest = smallest) takes colour 2 instead of dividing by 0.
            const int p = largest > smallest ? MulDiv(red(px) - smallest, 100, largest - smallest) : 0;
            px = gdi::ColorToPixel(ColorToRef(GetMiddleRGB(c1, c2, p)));
        }
}

void CreateBrushesAndBitmaps()
{
    dxOffice11BarFingerBrush1 = NewBrush(dxOffice11BarFingerColor1);
    dxOffice11BarFingerBrush2 = NewBrush(dxOffice11BarFingerColor2);
    dxOffice11BarSeparatorBrush1 = NewBrush(dxOffice11BarSeparatorColor1);
    dxOffice11BarSeparatorBrush2 = NewBrush(dxOffice11BarSeparatorColor2);
    dxOffice11DropDownBorderBrush1 = NewBrush(dxOffice11DropDownBorderColor1);
    dxOffice11MenuBrush = NewBrush(dxOffice11MenuColor);
    dxOffice11SelectedBorderBrush = NewBrush(dxOffice11SelectedBorderColor);
    dxOffice11OwnerControlDownedBrush = NewBrush(dxOffice11OwnerControlDownedColor);
    dxOffice11DownedBrush = NewBrush(dxOffice11DownedColor);
    dxOffice11DownedSelectedBrush = NewBrush(dxOffice11DownedSelectedColor);
    dxOffice11DetachableBrush = NewBrush(dxOffice11DetachableColor);
    dxOffice11ToolbarSelectedBrush = NewBrush(dxOffice11ToolbarSelectedColor);
    dxOffice11InPlaceSubItemBrush = NewBrush(dxOffice11InPlaceSubItemColor);
    dxOffice11DropDownBorderBrush2 = dxOffice11MenuBrush;
    dxOffice11DetachableSelectedBrush = dxOffice11ToolbarSelectedBrush;
    dxOffice11StaticBorderBrush = dxOffice11DropDownBorderBrush1;

    dxOffice11SubMenuExpandBitmap = MakeSubMenuExpandBitmap();
    RecolorSubMenuExpandBitmap(dxOffice11SubMenuExpandBitmap);
    dxOffice11ExpandButtonBitmap1 = MakeExpandButtonBitmap(false);
    dxOffice11ExpandButtonBitmap2 = MakeExpandButtonBitmap(true);
    dxOffice11ExpandButtonColor1 = RGB(158, 174, 191);
    dxOffice11ExpandButtonColor2 = RGB(46, 70, 95);
}

void ReleaseBrushesAndBitmaps()
{
    for (TBitmap** b : {&dxOffice11SubMenuExpandBitmap, &dxOffice11ExpandButtonBitmap1, &dxOffice11ExpandButtonBitmap2}) {
        delete *b;
        *b = nullptr;
    }
    for (HBRUSH* b : {&dxOffice11BarFingerBrush1, &dxOffice11BarFingerBrush2, &dxOffice11BarSeparatorBrush1,
                      &dxOffice11BarSeparatorBrush2, &dxOffice11DropDownBorderBrush1, &dxOffice11DropDownBorderBrush2,
                      &dxOffice11MenuBrush, &dxOffice11SelectedBorderBrush, &dxOffice11OwnerControlDownedBrush,
                      &dxOffice11DownedBrush, &dxOffice11DownedSelectedBrush, &dxOffice11DetachableBrush,
                      &dxOffice11DetachableSelectedBrush, &dxOffice11ToolbarSelectedBrush,
                      &dxOffice11InPlaceSubItemBrush, &dxOffice11StaticBorderBrush})
        *b = nullptr;
    ownedBrushes.clear(); // each distinct brush once
}

} // namespace

void CreateOffice11Colors()
{
    if (colorsCount++ == 0) {
        BuildOffice11Palette();
        CreateBrushesAndBitmaps();
    }
}

void ReleaseOffice11Colors()
{
    if (colorsCount == 0)
        return; // an unmatched release would free what others still use
    if (--colorsCount == 0)
        ReleaseBrushesAndBitmaps();
}

void RefreshOffice11Colors()
{
    BuildOffice11Palette();
    if (colorsCount > 0) {
        ReleaseBrushesAndBitmaps();
        CreateBrushesAndBitmaps();
    }
}

TOffice11Scheme GetOffice11Scheme() { return currentScheme; }
bool IsXPStandardScheme() { return standardScheme; }
bool IsHighContrastBlack() { return gdi::GetSysColor(COLOR_BTNFACE) == 0; }
bool IsHighContrastWhite() { return gdi::GetSysColor(COLOR_BTNFACE) == 0xFFFFFF; }
bool IsHighContrast2() { return IsHighContrastBlack() && gdi::GetSysColor(COLOR_BTNTEXT) != 0xFFFFFF; }

TColor Dark(TColor color, unsigned char percent)
{
    const TColor c = Sys(color);
    auto ch = [percent](int v) { return int(v * percent / 100.0); };
    return RGB(ch(R(c)), ch(G(c)), ch(B(c)));
}

TColor Light(TColor color, unsigned char percent)
{
    const TColor c = Sys(color);
    auto ch = [percent](int v) { return int(255 - percent / 100.0 * (255 - v)); };
    return RGB(ch(R(c)), ch(G(c)), ch(B(c)));
}

TColor GetMiddleRGB(TColor a, TColor b, int percent)
{
    const TColor ca = Sys(a), cb = Sys(b);
    auto ch = [percent](int va, int vb) {
        return std::min(255, MulDiv(vb, 100 - percent, 100) + MulDiv(va, percent, 100));
    };
    return GetRealColor(RGB(ch(R(ca), R(cb)), ch(G(ca), G(cb)), ch(B(ca), B(cb))));
}

void FillRectByColor(HDC dc, const TRect& r, TColor color)
{
    gdi::FillRect(*dc, r, gdi::Brush::Solid(ColorToRef(color)));
}

void FrameRectByColor(HDC dc, const TRect& r, TColor color)
{
    gdi::FrameRect(*dc, r, gdi::Brush::Solid(ColorToRef(color)));
}

namespace {

struct GradientAxis {
    int start, length;
};

GradientAxis Axis(const TRect& r, bool horizontal)
{
    return horizontal ? GradientAxis{r.Left, r.Right - r.Left} : GradientAxis{r.Top, r.Bottom - r.Top};
}

TRect Band(const TRect& r, bool horizontal, int from, int to)
{
    return horizontal ? TRect{from, r.Top, to, r.Bottom} : TRect{r.Left, from, r.Right, to};
}

TColor Step(TColor c1, TColor c2, int i, int n)
{
    if (n <= 1)
        return c1;
    auto ch = [&](int a, int b) { return (a + MulDiv(i, b - a, n - 1)) & 0xFF; };
    return RGB(ch(R(c1), R(c2)), ch(G(c1), G(c2)), ch(B(c1), B(c2)));
}

} // namespace

void FillGradientRect(HDC dc, const TRect& r, TColor color1, TColor color2, bool horizontal)
{
    const TColor c1 = Sys(color1), c2 = Sys(color2);
    if (c1 == c2) {
        FillRectByColor(dc, r, c1);
        return;
    }
    // The system gradient function is not bound here: always in bands.
    const GradientAxis axis = Axis(r, horizontal);
    const int n = std::min(axis.length, 256);
    for (int i = 0; i < n; ++i) {
        const int from = axis.start + MulDiv(i, axis.length, n), to = axis.start + MulDiv(i + 1, axis.length, n);
        if (to > from)
            FillRectByColor(dc, Band(r, horizontal, from, to), Step(c1, c2, i, n));
        if (to >= axis.start + axis.length)
            break;
    }
}

TColor GetGradientColorRect(const TRect& r, int x, TColor color1, TColor color2, bool horizontal)
{
    const TColor c1 = Sys(color1), c2 = Sys(color2);
    const GradientAxis axis = Axis(r, horizontal);
    const int n = std::min(axis.length, 256);
    if (n <= 0)
        return c1;
    // The band that holds x, as FillGradientRect lays the bands out. (Estimating it as
    // MulDiv(x + 1, N, W) - 1 alone is off by one band wherever the rounding of the two
    // formulas disagrees, e.g. at x = 500 of a 1000-pixel gradient.)
    const int offset = std::clamp(x - axis.start, 0, axis.length - 1);
    int i = std::clamp(MulDiv(offset + 1, n, axis.length) - 1, 0, n - 1);
    while (i > 0 && MulDiv(i, axis.length, n) > offset)
        --i;
    while (i + 1 < n && MulDiv(i + 1, axis.length, n) <= offset)
        ++i;
    return Step(c1, c2, i, n);
}

void FillTubeGradientRect(HDC dc, const TRect& r, TColor color1, TColor color2, bool horizontal)
{
    const TColor c1 = Sys(color1), c2 = Sys(color2);
    if (c1 == c2) {
        FillRectByColor(dc, r, c1);
        return;
    }
    const GradientAxis axis = Axis(r, horizontal);
    const int w = axis.length, h = w / 2;
    if (w <= 0)
        return;
    int c1c[3] = {R(c1), G(c1), B(c1)}, c2c[3] = {R(c2), G(c2), B(c2)};
    int m[3], s[3], e[3];
    for (int k = 0; k < 3; ++k) {
        m[k] = c1c[k] - MulDiv(c1c[k] - c2c[k], dxOffice11TubeMidPercent, 200);
        s[k] = c1c[k];
        // For a 1-pixel tube h is 0; the single band takes colour 1 (no division by 0).
        e[k] = h > 0 ? s[k] - MulDiv(s[k] - m[k], w, h) : s[k];
    }
    for (int i = 0; i < w; ++i) {
        int c[3];
        for (int k = 0; k < 3; ++k) {
            if (i < h)
                c[k] = s[k] + (w > 1 ? MulDiv(i, e[k] - s[k], w - 1) : 0);
            else if (i == h) {
                c[k] = m[k];
                s[k] = h > 0 ? c2c[k] + MulDiv(m[k] - c2c[k], w, h) : c2c[k];
            } else
                c[k] = s[k] + MulDiv(i, c2c[k] - s[k], w - 1);
        }
        FillRectByColor(dc, Band(r, horizontal, axis.start + i, axis.start + i + 1),
                        RGB(c[0] & 0xFF, c[1] & 0xFF, c[2] & 0xFF));
    }
}

void Office11FrameSelectedRect(HDC dc, const TRect& r)
{
    if (IsHighContrastBlack())
        FrameRectByColor(dc, r, clHighlightText);
    else if (dxOffice11SelectedBorderBrush)
        gdi::FrameRect(*dc, r, *dxOffice11SelectedBorderBrush);
    else
        FrameRectByColor(dc, r, dxOffice11SelectedBorderColor);
}

void Office11DrawFingerElements(HDC dc, const TRect& r, bool vertical, HBRUSH dotBrush, HBRUSH shadowBrush)
{
    const gdi::Brush dot = dotBrush ? *dotBrush
                           : dxOffice11BarFingerBrush1 ? *dxOffice11BarFingerBrush1
                                                       : gdi::Brush::Solid(ColorToRef(dxOffice11BarFingerColor1));
    const gdi::Brush shadow = shadowBrush ? *shadowBrush
                              : dxOffice11BarFingerBrush2 ? *dxOffice11BarFingerBrush2
                                                          : gdi::Brush::Solid(ColorToRef(dxOffice11BarFingerColor2));
    const int length = vertical ? r.Bottom - r.Top : r.Right - r.Left;
    int d = length % 4;
    if (d > 1)
        d /= 2;
    TRect cell{r.Left, r.Top, r.Left + 4, r.Top + 4};
    cell = vertical ? TRect{cell.Left, cell.Top + d, cell.Right, cell.Bottom + d}
                    : TRect{cell.Left + d, cell.Top, cell.Right + d, cell.Bottom};
    do {
        const TRect inner{cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1};
        gdi::FillRect(*dc, inner, shadow);
        gdi::FillRect(*dc, {inner.Left - 1, inner.Top - 1, inner.Right - 1, inner.Bottom - 1}, dot);
        cell = vertical ? TRect{cell.Left, cell.Top + 4, cell.Right, cell.Bottom + 4}
                        : TRect{cell.Left + 4, cell.Top, cell.Right + 4, cell.Bottom};
    } while (vertical ? cell.Bottom <= r.Bottom : cell.Right <= r.Right);
}

void Office11DrawSizeGrip(HDC dc, const TRect& r, TColor dotColor, TColor shadowColor)
{
    std::unique_ptr<gdi::Brush> dot, shadow;
    if (dotColor != clDefault)
        dot = std::make_unique<gdi::Brush>(gdi::Brush::Solid(ColorToRef(dotColor)));
    if (shadowColor != clDefault)
        shadow = std::make_unique<gdi::Brush>(gdi::Brush::Solid(ColorToRef(shadowColor)));
    TRect strip{r.Right - 12, r.Bottom - 3, r.Right, r.Bottom};
    for (int i = 0; i < 3; ++i) {
        Office11DrawFingerElements(dc, strip, false, dot.get(), shadow.get());
        strip = {strip.Left + 4, strip.Top - 4, strip.Right, strip.Bottom - 4};
    }
}

void Office11DrawLargeItemArrow(HDC dc, const TRect& r, bool down, int size, bool selected, bool enabled, bool)
{
    TColor color = dxOffice11TextDisabledColor;
    if (enabled)
        color = selected && IsHighContrastWhite() ? clWhite : dxOffice11TextEnabledColor;
    const int s = size;
    TPoint p[3];
    if (down) {
        const int x0 = (r.Left + r.Right - (2 * s - 1)) / 2, y0 = (r.Top + r.Bottom - s) / 2;
        p[0] = {x0, y0};
        p[1] = {x0 + 2 * s - 2, y0};
        p[2] = {x0 + s - 1, y0 + s - 1};
    } else {
        const int x0 = (r.Left + r.Right - s) / 2, y0 = (r.Top + r.Bottom - (2 * s - 1)) / 2;
        p[0] = {x0, y0};
        p[1] = {x0, y0 + 2 * s - 2};
        p[2] = {x0 + s - 1, y0 + s - 1};
    }
    const gdi::Pen oldPen = gdi::SelectPen(*dc, gdi::Pen{PS_SOLID, 1, ColorToRef(color)});
    const gdi::Brush oldBrush = gdi::SelectBrush(*dc, gdi::Brush::Solid(ColorToRef(color)));
    gdi::Polygon(*dc, p, 3);
    gdi::SelectPen(*dc, oldPen);
    gdi::SelectBrush(*dc, oldBrush);
}

void Office11DrawItemArrow(HDC dc, const TRect& r, bool down, bool enabled, bool selected, bool flat)
{
    const int n = down ? r.Right - r.Left - 8 : r.Bottom - r.Top - 6;
    int s = (n - 1) / 2 + (n % 2 != 0 ? 1 : 0);
    s = std::max(s, 3);
    Office11DrawLargeItemArrow(dc, r, down, s, selected, enabled, flat);
}
