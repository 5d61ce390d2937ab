#include "toolkit/core/dxUxTheme.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Region.h"

namespace cx {

const char* const dxUxThemeProcNames[dxUxThemeProcCount] = {
    "CloseThemeData", "DrawThemeBackground", "DrawThemeEdge", "DrawThemeIcon",
    "DrawThemeParentBackground", "DrawThemeText", "DrawThemeTextEx", "EnableThemeDialogTexture",
    "GetCurrentThemeName", "GetThemeAppProperties", "GetThemeBackgroundContentRect",
    "GetThemeBackgroundRegion", "GetThemeBackgroundExtent", "GetThemeBool", "GetThemeColor",
    "GetThemeDocumentationProperty", "GetThemeEnumValue", "GetThemeFilename", "GetThemeFont",
    "GetThemeInt", "GetThemeIntList", "GetThemeMargins", "GetThemeMetric", "GetThemePartSize",
    "GetThemePosition", "GetThemePropertyOrigin", "GetThemeRect", "GetThemeString", "GetThemeSysBool",
    "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysFont", "GetThemeSysInt", "GetThemeSysSize",
    "GetThemeSysString", "GetThemeTextExtent", "GetThemeTextMetrics", "GetWindowTheme",
    "HitTestThemeBackground", "IsAppThemed", "IsThemeActive", "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent", "IsThemeDialogTextureEnabled", "OpenThemeData",
    "SetThemeAppProperties", "SetWindowTheme", "BufferedPaintInit", "BufferedPaintUnInit",
    "BeginBufferedPaint", "EndBufferedPaint", "BufferedPaintSetAlpha"};

namespace {

bool libraryLoaded = false;
TdxUxThemeProcs procs;
int initCount = 0;

} // namespace

bool dxUxThemeProcBound(const std::string& name)
{
    if (!libraryLoaded)
        return false;
    if (name == "OpenThemeData")
        return bool(procs.OpenThemeData);
    if (name == "CloseThemeData")
        return bool(procs.CloseThemeData);
    if (name == "IsThemeActive")
        return bool(procs.IsThemeActive);
    if (name == "GetCurrentThemeName")
        return bool(procs.GetCurrentThemeName);
    if (name == "DrawThemeParentBackground")
        return bool(procs.DrawThemeParentBackground);
    return false;
}

bool IsThemeLibraryLoaded() { return libraryLoaded; }

HTHEME OpenThemeData(TdxWindowHandle wnd, const std::u16string& classList) { return procs.OpenThemeData(wnd, classList); }

HRESULT CloseThemeData(HTHEME theme) { return procs.CloseThemeData(theme); }

bool IsThemeActive() { return procs.IsThemeActive ? procs.IsThemeActive() : false; }

HRESULT GetCurrentThemeName(std::u16string& fileName, std::u16string* colorName, std::u16string* sizeName)
{
    return procs.GetCurrentThemeName(fileName, colorName, sizeName);
}

HRESULT DrawThemeParentBackground(TdxWindowHandle wnd, HDC dc, const TRect& r)
{
    const gdi::Font font = dc->S().font;
    const HRESULT result = procs.DrawThemeParentBackground(wnd, dc, &r);
    gdi::SelectFont(*dc, font);
    return result;
}

HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const TRect& r, const TRect* clip)
{
    return procs.DrawThemeBackground(theme, dc, part, state, r, clip);
}

HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, const std::string& text, int length,
                      unsigned flags, unsigned flags2, const TRect& r)
{
    return procs.DrawThemeText(theme, dc, part, state, text, length, flags, flags2, r);
}

HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const TRect& r, unsigned edge, unsigned flags,
                      TRect* content)
{
    return procs.DrawThemeEdge(theme, dc, part, state, r, edge, flags, content);
}

HRESULT GetThemeColor(HTHEME theme, int part, int state, int propId, COLORREF& color)
{
    return procs.GetThemeColor(theme, part, state, propId, color);
}

HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const TRect* r, int sizeKind, TSize& size)
{
    return procs.GetThemePartSize(theme, dc, part, state, r, sizeKind, size);
}

HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const TRect& bounds,
                                      TRect& content)
{
    return procs.GetThemeBackgroundContentRect(theme, dc, part, state, bounds, content);
}

bool IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state)
{
    return procs.IsThemeBackgroundPartiallyTransparent(theme, part, state);
}

HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const TRect& r, HRGN& region)
{
    region = nullptr;
    const HRESULT result = procs.GetThemeBackgroundRegion(theme, dc, part, state, r, region);
    if (result != S_OK) {
        delete region;
        region = nullptr;
    }
    return result;
}

void dxUxThemeBindForTesting(const TdxUxThemeProcs* fake)
{
    libraryLoaded = fake != nullptr;
    procs = fake ? *fake : TdxUxThemeProcs{};
}

namespace dxUxThemeUnit {

void Initialize()
{
    if (initCount++ > 0)
        return;
    // The library is looked up by name; this platform has none, so every slot stays empty
    // and the toolkit draws its unthemed looks.
    libraryLoaded = false;
    procs = {};
}

void Finalize()
{
    if (initCount == 0 || --initCount > 0)
        return;
    libraryLoaded = false;
    procs = {};
}

} // namespace dxUxThemeUnit

} // namespace cx
