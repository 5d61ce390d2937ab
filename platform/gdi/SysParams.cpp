#include "platform/gdi/SysParams.h"

#include <array>
#include <utility>

namespace gdi {
namespace {

constexpr COLORREF Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

constexpr std::array<COLORREF, SYS_COLOR_COUNT> kSysColors = {
    Rgb(0xD4, 0xD0, 0xC8), // COLOR_SCROLLBAR
    Rgb(0x3A, 0x6E, 0xA5), // COLOR_BACKGROUND
    Rgb(0x0A, 0x24, 0x6A), // COLOR_ACTIVECAPTION
    Rgb(0x80, 0x80, 0x80), // COLOR_INACTIVECAPTION
    Rgb(0xD4, 0xD0, 0xC8), // COLOR_MENU
    Rgb(0xFF, 0xFF, 0xFF), // COLOR_WINDOW
    Rgb(0x00, 0x00, 0x00), // COLOR_WINDOWFRAME
    Rgb(0x00, 0x00, 0x00), // COLOR_MENUTEXT
    Rgb(0x00, 0x00, 0x00), // COLOR_WINDOWTEXT
    Rgb(0xFF, 0xFF, 0xFF), // COLOR_CAPTIONTEXT
    Rgb(0xD4, 0xD0, 0xC8), // COLOR_ACTIVEBORDER
    Rgb(0xD4, 0xD0, 0xC8), // COLOR_INACTIVEBORDER
    Rgb(0x80, 0x80, 0x80), // COLOR_APPWORKSPACE
    Rgb(0x0A, 0x24, 0x6A), // COLOR_HIGHLIGHT
    Rgb(0xFF, 0xFF, 0xFF), // COLOR_HIGHLIGHTTEXT
    Rgb(0xD4, 0xD0, 0xC8), // COLOR_BTNFACE
    Rgb(0x80, 0x80, 0x80), // COLOR_BTNSHADOW
    Rgb(0x80, 0x80, 0x80), // COLOR_GRAYTEXT
    Rgb(0x00, 0x00, 0x00), // COLOR_BTNTEXT
    Rgb(0xD4, 0xD0, 0xC8), // COLOR_INACTIVECAPTIONTEXT
    Rgb(0xFF, 0xFF, 0xFF), // COLOR_BTNHIGHLIGHT
    Rgb(0x40, 0x40, 0x40), // COLOR_3DDKSHADOW
    Rgb(0xD4, 0xD0, 0xC8), // COLOR_3DLIGHT
    Rgb(0x00, 0x00, 0x00), // COLOR_INFOTEXT
    Rgb(0xFF, 0xFF, 0xE1), // COLOR_INFOBK
    Rgb(0xB5, 0xB5, 0xB5), // 25, unnamed
    Rgb(0x00, 0x00, 0x80), // COLOR_HOTLIGHT
    Rgb(0xA6, 0xCA, 0xF0), // COLOR_GRADIENTACTIVECAPTION
    Rgb(0xC0, 0xC0, 0xC0), // COLOR_GRADIENTINACTIVECAPTION
    Rgb(0x0A, 0x24, 0x6A), // COLOR_MENUHILIGHT
    Rgb(0xD4, 0xD0, 0xC8), // COLOR_MENUBAR
};

constexpr std::pair<int, int> kMetrics[] = {
    {SM_CXSCREEN, 1024}, {SM_CYSCREEN, 768}, {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16},
    {SM_CYCAPTION, 19}, {SM_CXBORDER, 1}, {SM_CYBORDER, 1}, {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3}, {SM_CYVTHUMB, 16}, {SM_CXHTHUMB, 16}, {SM_CXICON, 32}, {SM_CYICON, 32},
    {SM_CXCURSOR, 32}, {SM_CYCURSOR, 32}, {SM_CYMENU, 19}, {SM_CXFULLSCREEN, 1024},
    {SM_CYFULLSCREEN, 749}, {SM_CYVSCROLL, 16}, {SM_CXHSCROLL, 16}, {SM_SWAPBUTTON, 0},
    {SM_CXMIN, 112}, {SM_CYMIN, 27}, {SM_CXSIZE, 18}, {SM_CYSIZE, 18}, {SM_CXFRAME, 4},
    {SM_CYFRAME, 4}, {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4}, {SM_CMOUSEBUTTONS, 3},
    {SM_CXEDGE, 2}, {SM_CYEDGE, 2}, {SM_CXSMICON, 16}, {SM_CYSMICON, 16}, {SM_CYSMCAPTION, 16},
    {SM_CXDRAG, 4}, {SM_CYDRAG, 4}, {SM_CXMENUCHECK, 13}, {SM_CYMENUCHECK, 13},
    {SM_MOUSEWHEELPRESENT, 1}, {SM_CXVIRTUALSCREEN, 1024}, {SM_CYVIRTUALSCREEN, 768},
    {SM_CXFOCUSBORDER, 1}, {SM_CYFOCUSBORDER, 1},
};

} // namespace

COLORREF GetSysColor(int index)
{
    return index >= 0 && index < SYS_COLOR_COUNT ? kSysColors[size_t(index)] : 0;
}

Brush GetSysColorBrush(int index)
{
    if (index < 0 || index >= SYS_COLOR_COUNT)
        return Brush::Null();
    return Brush::Solid(kSysColors[size_t(index)]);
}

int GetSystemMetrics(int index)
{
    for (auto [key, value] : kMetrics)
        if (key == index)
            return value;
    return 0;
}

int GetDeviceCaps(int index)
{
    switch (index) {
    case BITSPIXEL: return 32;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
    }
}

} // namespace gdi
