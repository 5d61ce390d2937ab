#pragma once
// The platform profile: the one place that says which Windows the ported code believes it runs
// on. The XP-era paths of the design run; nothing here is asked of the real system.
#include <cstdint>

namespace rtl::profile {

// Operating system (read by the toolkit's version flags).
inline constexpr int Win32Platform = 2;   // VER_PLATFORM_WIN32_NT
inline constexpr int Win32MajorVersion = 5;
inline constexpr int Win32MinorVersion = 1;
inline constexpr bool IsWow64Process = false;

// Text and locale.
inline constexpr int AnsiCodePage = 65001;              // the "ANSI" code page of this build is UTF-8
inline constexpr int ExchangeCodePage = 936;            // files exchanged with other tools (GBK)
inline constexpr std::uint32_t LocaleId = 0x0804;       // zh-CN
inline constexpr const char* LocaleName = "zh-CN";
// Chinese, Japanese and Korean locales (the system's "Far East" flag), by their primary language.
constexpr bool IsFarEastLocale(std::uint32_t localeId)
{
    const std::uint32_t primary = localeId & 0x3FF;
    return primary == 0x04 || primary == 0x11 || primary == 0x12;
}
inline constexpr bool FarEastLocale = IsFarEastLocale(LocaleId);

// Screen.
inline constexpr int PixelsPerInch = 96;
inline constexpr int BitsPerPixel = 32;
inline constexpr int CheckBoxCellSize = 13;
inline constexpr int ScrollBarWidth = 16;

// Default font: a CJK sans font at 9 pt, GB2312 character set, written left to right.
inline constexpr const char* DefaultFontName = "WenQuanYi Micro Hei"; // installed by scripts/deps
inline constexpr int DefaultFontHeight = -12;
inline constexpr int DefaultFontSize = 9;
inline constexpr int DefaultCharset = 134;              // GB2312_CHARSET

// Classic system colours, 0x00BBGGRR.
inline constexpr std::int32_t ColorBtnFace = 0xC8D0D4;
inline constexpr std::int32_t ColorBtnShadow = 0x808080;
inline constexpr std::int32_t ColorBtnHighlight = 0xFFFFFF;
inline constexpr std::int32_t Color3DDkShadow = 0x404040;
inline constexpr std::int32_t Color3DLight = 0xC8D0D4;
inline constexpr std::int32_t ColorHighlight = 0x6A240A;
inline constexpr std::int32_t ColorHighlightText = 0xFFFFFF;
inline constexpr std::int32_t ColorWindow = 0xFFFFFF;
inline constexpr std::int32_t ColorWindowText = 0x000000;
inline constexpr std::int32_t ColorWindowFrame = 0x000000;
inline constexpr std::int32_t ColorBtnText = 0x000000;
inline constexpr std::int32_t ColorGrayText = 0x808080;
inline constexpr std::int32_t ColorInfoBk = 0xE1FFFF;
inline constexpr std::int32_t ColorInfoText = 0x000000;
inline constexpr std::int32_t ColorScrollBar = 0xC8D0D4;
inline constexpr std::int32_t ColorMenu = 0xC8D0D4;
inline constexpr std::int32_t ColorMenuText = 0x000000;
inline constexpr std::int32_t ColorActiveCaption = 0x6A240A;
inline constexpr std::int32_t ColorInactiveCaption = 0x808080;
inline constexpr std::int32_t ColorAppWorkSpace = 0x808080;
inline constexpr std::int32_t ColorBackground = 0xA56E3A;   // the classic desktop blue 3A6EA5

} // namespace rtl::profile

namespace rtl::profile {

// The classic colour of a system colour index (COLOR_SCROLLBAR = 0 .. COLOR_MENUBAR = 30).
inline constexpr std::int32_t SysColor(int index)
{
    constexpr std::int32_t table[31] = {
        ColorScrollBar, ColorBackground, ColorActiveCaption, ColorInactiveCaption, ColorMenu,
        ColorWindow, ColorWindowFrame, ColorMenuText, ColorWindowText, 0xFFFFFF /*caption text*/,
        0xC8D0D4 /*active border*/, 0xC8D0D4 /*inactive border*/, ColorAppWorkSpace, ColorHighlight,
        ColorHighlightText, ColorBtnFace, ColorBtnShadow, ColorGrayText, ColorBtnText,
        0xC8D0D4 /*inactive caption text*/, ColorBtnHighlight, Color3DDkShadow, Color3DLight,
        ColorInfoText, ColorInfoBk, 0xB5B5B5 /*unused*/, 0x800000 /*hot light*/,
        0xF0CAA6 /*gradient active*/, 0xC0C0C0 /*gradient inactive*/, 0x6A240A /*menu highlight*/,
        0xC8D0D4 /*menu bar*/};
    return index >= 0 && index < 31 ? table[index] : 0;
}

// A colour value as RGB: system colours (0x80000000 | index) resolve through the table above.
inline constexpr std::int32_t ColorToRGB(std::int32_t color)
{
    return color < 0 ? SysColor(color & 0xFF) : color;
}

} // namespace rtl::profile
