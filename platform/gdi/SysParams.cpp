#include "platform/gdi/SysParams.h"

#include "platform/rtl/Profile.h"

#include <utility>

namespace gdi {
namespace {

constexpr std::pair<int, int> kMetrics[] = {
    {SM_CXSCREEN, 1024}, {SM_CYSCREEN, 768}, {SM_CXVSCROLL, rtl::profile::ScrollBarWidth},
    {SM_CYHSCROLL, rtl::profile::ScrollBarWidth},
    {SM_CYCAPTION, 19}, {SM_CXBORDER, 1}, {SM_CYBORDER, 1}, {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3}, {SM_CYVTHUMB, 16}, {SM_CXHTHUMB, 16}, {SM_CXICON, 32}, {SM_CYICON, 32},
    {SM_CXCURSOR, 32}, {SM_CYCURSOR, 32}, {SM_CYMENU, 19}, {SM_CXFULLSCREEN, 1024},
    {SM_CYFULLSCREEN, 749}, {SM_CYVSCROLL, 16}, {SM_CXHSCROLL, 16}, {SM_SWAPBUTTON, 0},
    {SM_CXMIN, 112}, {SM_CYMIN, 27}, {SM_CXSIZE, 18}, {SM_CYSIZE, 18}, {SM_CXFRAME, 4},
    {SM_CYFRAME, 4}, {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4}, {SM_CMOUSEBUTTONS, 3},
    {SM_CXEDGE, 2}, {SM_CYEDGE, 2}, {SM_CXSMICON, 16}, {SM_CYSMICON, 16}, {SM_CYSMCAPTION, 16},
    {SM_CXDRAG, 4}, {SM_CYDRAG, 4}, {SM_CXMENUCHECK, rtl::profile::CheckBoxCellSize},
    {SM_CYMENUCHECK, rtl::profile::CheckBoxCellSize},
    {SM_MOUSEWHEELPRESENT, 1}, {SM_CXVIRTUALSCREEN, 1024}, {SM_CYVIRTUALSCREEN, 768},
    {SM_CXFOCUSBORDER, 1}, {SM_CYFOCUSBORDER, 1},
};

} // namespace

COLORREF GetSysColor(int index)
{
    return COLORREF(rtl::profile::SysColor(index)); // 0 outside the table
}

Brush GetSysColorBrush(int index)
{
    if (index < 0 || index >= SYS_COLOR_COUNT)
        return Brush::Null();
    return Brush::Solid(GetSysColor(index));
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
    case BITSPIXEL: return rtl::profile::BitsPerPixel;
    case LOGPIXELSX:
    case LOGPIXELSY: return rtl::profile::PixelsPerInch;
    default: return 0;
    }
}

} // namespace gdi
