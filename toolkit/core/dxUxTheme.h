#pragma once
// Run-time binding of the visual-styles library. The library is looked up by name at start-up
// and each entry point bound by name; a missing library or entry point switches themed drawing
// off. On this platform no such library exists, so nothing binds and the unthemed paths run.
// Tests may bind a fake library through dxUxThemeBindForTesting.
#include "platform/gdi/GdiConsts.h"
#include "platform/rtl/Types.h"

#include <cstdint>
#include <functional>
#include <string>

namespace cx {

using HTHEME = void*;
// Window handles are the platform's window ids; 0 is no window.
using TdxWindowHandle = std::intptr_t;
using HRESULT = long;
constexpr HRESULT S_OK = 0, S_FALSE = 1;
constexpr HRESULT E_FAIL = HRESULT(0x80004005L);

// The library's records, in the roles of the SDK types of the same purpose.
struct TdxMargins { int cxLeftWidth = 0, cxRightWidth = 0, cyTopHeight = 0, cyBottomHeight = 0; };
struct TdxIntList { int iValueCount = 0; int iValues[402] = {}; };
struct TdxDTTOpts {
    unsigned dwSize = 0, dwFlags = 0;
    COLORREF crText = 0, crBorder = 0, crShadow = 0;
    int iTextShadowType = 0;
    TPoint ptShadowOffset{};
    int iBorderSize = 0, iFontPropId = 0, iColorPropId = 0, iStateId = 0;
    bool fApplyOverlay = false;
    int iGlowSize = 0;
};
struct TdxBPPaintParams { unsigned cbSize = 0, dwFlags = 0; const TRect* prcExclude = nullptr; const void* pBlendFunction = nullptr; };
enum TdxPropertyOrigin { PO_STATE, PO_PART, PO_CLASS, PO_GLOBAL, PO_NOTFOUND };

// The entry points, in binding order.
constexpr int dxUxThemeProcCount = 52;
extern const char* const dxUxThemeProcNames[dxUxThemeProcCount];

// The bound entry points the toolkit calls. A slot is empty when the library lacks the name.
struct TdxUxThemeProcs {
    std::function<HTHEME(TdxWindowHandle, const std::u16string&)> OpenThemeData;
    std::function<HRESULT(HTHEME)> CloseThemeData;
    std::function<bool()> IsThemeActive;
    std::function<HRESULT(std::u16string& fileName, std::u16string* colorName, std::u16string* sizeName)>
        GetCurrentThemeName;
    std::function<HRESULT(TdxWindowHandle, HDC, const TRect*)> DrawThemeParentBackground;
    // The drawing and metric entry points the themed painter calls.
    std::function<HRESULT(HTHEME, HDC, int part, int state, const TRect& r, const TRect* clip)> DrawThemeBackground;
    std::function<HRESULT(HTHEME, HDC, int part, int state, const std::string& text, int length, unsigned flags,
                          unsigned flags2, const TRect& r)>
        DrawThemeText;
    std::function<HRESULT(HTHEME, HDC, int part, int state, const TRect& r, unsigned edge, unsigned flags,
                          TRect* content)>
        DrawThemeEdge;
    std::function<HRESULT(HTHEME, int part, int state, int propId, COLORREF& color)> GetThemeColor;
    std::function<HRESULT(HTHEME, HDC, int part, int state, const TRect* r, int sizeKind, TSize& size)>
        GetThemePartSize;
    std::function<HRESULT(HTHEME, HDC, int part, int state, const TRect& bounds, TRect& content)>
        GetThemeBackgroundContentRect;
    std::function<bool(HTHEME, int part, int state)> IsThemeBackgroundPartiallyTransparent;
    // The region the part covers over the rectangle; the caller owns (deletes) it.
    std::function<HRESULT(HTHEME, HDC, int part, int state, const TRect& r, HRGN& region)> GetThemeBackgroundRegion;
};

// Whether an entry point of that name was bound.
bool dxUxThemeProcBound(const std::string& name);
bool IsThemeLibraryLoaded();

// Wrappers: they forward to the bound entry point without checking it (callers ask
// IsThemeLibraryLoaded or hold a handle from OpenTheme first), except IsThemeActive, which
// answers false when its entry point is absent.
HTHEME OpenThemeData(TdxWindowHandle wnd, const std::u16string& classList);
HRESULT CloseThemeData(HTHEME theme);
bool IsThemeActive();
HRESULT GetCurrentThemeName(std::u16string& fileName, std::u16string* colorName, std::u16string* sizeName);
// The device context's selected font is selected again after the call.
HRESULT DrawThemeParentBackground(TdxWindowHandle wnd, HDC dc, const TRect& r);

// The drawing and metric wrappers; like the others they forward without checking.
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const TRect& r, const TRect* clip = nullptr);
HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, const std::string& text, int length,
                      unsigned flags, unsigned flags2, const TRect& r);
HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const TRect& r, unsigned edge, unsigned flags,
                      TRect* content = nullptr);
HRESULT GetThemeColor(HTHEME theme, int part, int state, int propId, COLORREF& color);
// Size kinds of GetThemePartSize.
constexpr int TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2;
HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const TRect* r, int sizeKind, TSize& size);
HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const TRect& bounds,
                                      TRect& content);
bool IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
// On success the region is the caller's; on failure it is null.
HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const TRect& r, HRGN& region);

// Binds a fake library (the "loaded" flag set, the given slots filled); an empty argument
// unloads it again. For tests of the theme manager's caching only.
void dxUxThemeBindForTesting(const TdxUxThemeProcs* procs);

namespace dxUxThemeUnit {
// Start-up: looks the library up (never present here) and binds its names.
void Initialize();
void Finalize();
} // namespace dxUxThemeUnit

} // namespace cx
