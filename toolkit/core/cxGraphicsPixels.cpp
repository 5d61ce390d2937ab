#include "toolkit/core/cxGraphicsPixels.h"

#include "platform/gdi/SysParams.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsBitmaps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

namespace {

using rtl::MulDiv;

// Halves go to the even neighbour (the default floating-point rounding mode).
inline int RoundEven(double v) { return int(std::nearbyint(v)); }
inline int Clamp255(int v) { return std::clamp(v, 0, 255); }
inline Byte ClampByte(int v) { return Byte(Clamp255(v)); }

// The keyword table is written as the familiar 0xRRGGBB and stored as TColor (red low).
constexpr TColor Rgb(unsigned rrggbb)
{
    return TColor(((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16));
}

inline int R(TColor c) { return c & 0xFF; }
inline int G(TColor c) { return (c >> 8) & 0xFF; }
inline int B(TColor c) { return (c >> 16) & 0xFF; }
inline TColor MakeColor(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

} // namespace

const std::vector<TcxColorInfo> cxColorsByName = {
    {"aliceblue", Rgb(0xF0F8FF)},
    {"antiquewhite", Rgb(0xFAEBD7)},
    {"aqua", Rgb(0x00FFFF)},
    {"aquamarine", Rgb(0x7FFFD4)},
    {"azure", Rgb(0xF0FFFF)},
    {"beige", Rgb(0xF5F5DC)},
    {"bisque", Rgb(0xFFE4C4)},
    {"black", Rgb(0x000000)},
    {"blanchedalmond", Rgb(0xFFEBCD)},
    {"blue", Rgb(0x0000FF)},
    {"blueviolet", Rgb(0x8A2BE2)},
    {"brown", Rgb(0xA52A2A)},
    {"burlywood", Rgb(0xDEB887)},
    {"cadetblue", Rgb(0x5F9EA0)},
    {"chartreuse", Rgb(0x7FFF00)},
    {"chocolate", Rgb(0xD2691E)},
    {"coral", Rgb(0xFF7F50)},
    {"cornflowerblue", Rgb(0x6495ED)},
    {"cornsilk", Rgb(0xFFF8DC)},
    {"crimson", Rgb(0xDC143C)},
    {"cyan", Rgb(0x00FFFF)},
    {"darkblue", Rgb(0x00008B)},
    {"darkcyan", Rgb(0x008B8B)},
    {"darkgoldenrod", Rgb(0xB8860B)},
    {"darkgray", Rgb(0xA9A9A9)},
    {"darkgreen", Rgb(0x006400)},
    {"darkkhaki", Rgb(0xBDB76B)},
    {"darkmagenta", Rgb(0x8B008B)},
    {"darkolivegreen", Rgb(0x556B2F)},
    {"darkorange", Rgb(0xFF8C00)},
    {"darkorchid", Rgb(0x9932CC)},
    {"darkred", Rgb(0x8B0000)},
    {"darksalmon", Rgb(0xE9967A)},
    {"darkseagreen", Rgb(0x8FBC8F)},
    {"darkslateblue", Rgb(0x483D8B)},
    {"darkslategray", Rgb(0x2F4F4F)},
    {"darkturquoise", Rgb(0x00CED1)},
    {"darkviolet", Rgb(0x9400D3)},
    {"deeppink", Rgb(0xFF1493)},
    {"deepskyblue", Rgb(0x00BFFF)},
    {"dimgray", Rgb(0x696969)},
    {"dodgerblue", Rgb(0x1E90FF)},
    {"firebrick", Rgb(0xB22222)},
    {"floralwhite", Rgb(0xFFFAF0)},
    {"forestgreen", Rgb(0x228B22)},
    {"fuchsia", Rgb(0xFF00FF)},
    {"gainsboro", Rgb(0xDCDCDC)},
    {"ghostwhite", Rgb(0xF8F8FF)},
    {"gold", Rgb(0xFFD700)},
    {"goldenrod", Rgb(0xDAA520)},
    {"gray", Rgb(0x808080)},
    {"green", Rgb(0x008000)},
    {"greenyellow", Rgb(0xADFF2F)},
    {"honeydew", Rgb(0xF0FFF0)},
    {"hotpink", Rgb(0xFF69B4)},
    {"indianred", Rgb(0xCD5C5C)},
    {"indigo", Rgb(0x4B0082)},
    {"ivory", Rgb(0xFFFFF0)},
    {"khaki", Rgb(0xF0E68C)},
    {"lavender", Rgb(0xE6E6FA)},
    {"lavenderblush", Rgb(0xFFF0F5)},
    {"lawngreen", Rgb(0x7CFC00)},
    {"lemonchiffon", Rgb(0xFFFACD)},
    {"lightblue", Rgb(0xADD8E6)},
    {"lightcoral", Rgb(0xF08080)},
    {"lightcyan", Rgb(0xE0FFFF)},
    {"lightgoldenrodyellow", Rgb(0xFAFAD2)},
    {"lightgreen", Rgb(0x90EE90)},
    {"lightgrey", Rgb(0xD3D3D3)},
    {"lightpink", Rgb(0xFFB6C1)},
    {"lightsalmon", Rgb(0xFFA07A)},
    {"lightseagreen", Rgb(0x20B2AA)},
    {"lightskyblue", Rgb(0x87CEFA)},
    {"lightslategray", Rgb(0x778899)},
    {"lightsteelblue", Rgb(0xB0C4DE)},
    {"lightyellow", Rgb(0xFFFFE0)},
    {"lime", Rgb(0x00FF00)},
    {"limegreen", Rgb(0x32CD32)},
    {"linen", Rgb(0xFAF0E6)},
    {"magenta", Rgb(0xFF00FF)},
    {"maroon", Rgb(0x800000)},
    {"mediumaquamarine", Rgb(0x66CDAA)},
    {"mediumblue", Rgb(0x0000CD)},
    {"mediumorchid", Rgb(0xBA55D3)},
    {"mediumpurple", Rgb(0x9370DB)},
    {"mediumseagreen", Rgb(0x3CB371)},
    {"mediumslateblue", Rgb(0x7B68EE)},
    {"mediumspringgreen", Rgb(0x00FA9A)},
    {"mediumturquoise", Rgb(0x48D1CC)},
    {"mediumvioletred", Rgb(0xC71585)},
    {"midnightblue", Rgb(0x191970)},
    {"mintcream", Rgb(0xF5FFFA)},
    {"mistyrose", Rgb(0xFFE4E1)},
    {"moccasin", Rgb(0xFFE4B5)},
    {"navajowhite", Rgb(0xFFDEAD)},
    {"navy", Rgb(0x000080)},
    {"oldlace", Rgb(0xFDF5E6)},
    {"olive", Rgb(0x808000)},
    {"olivedrab", Rgb(0x6B8E23)},
    {"orange", Rgb(0xFFA500)},
    {"orangered", Rgb(0xFF4500)},
    {"orchid", Rgb(0xDA70D6)},
    {"palegoldenrod", Rgb(0xEEE8AA)},
    {"palegreen", Rgb(0x98FB98)},
    {"paleturquoise", Rgb(0xAFEEEE)},
    {"palevioletred", Rgb(0xDB7093)},
    {"papayawhip", Rgb(0xFFEFD5)},
    {"peachpuff", Rgb(0xFFDAB9)},
    {"peru", Rgb(0xCD853F)},
    {"pink", Rgb(0xFFC0CB)},
    {"plum", Rgb(0xDDA0DD)},
    {"powderblue", Rgb(0xB0E0E6)},
    {"purple", Rgb(0x800080)},
    {"red", Rgb(0xFF0000)},
    {"rosybrown", Rgb(0xBC8F8F)},
    {"royalblue", Rgb(0x4169E1)},
    {"saddlebrown", Rgb(0x8B4513)},
    {"salmon", Rgb(0xFA8072)},
    {"sandybrown", Rgb(0xF4A460)},
    {"seagreen", Rgb(0x2E8B57)},
    {"seashell", Rgb(0xFFF5EE)},
    {"sienna", Rgb(0xA0522D)},
    {"silver", Rgb(0xC0C0C0)},
    {"skyblue", Rgb(0x87CEEB)},
    {"slateblue", Rgb(0x6A5ACD)},
    {"slategray", Rgb(0x708090)},
    {"snow", Rgb(0xFFFAFA)},
    {"springgreen", Rgb(0x00FF7F)},
    {"steelblue", Rgb(0x4682B4)},
    {"tan", Rgb(0xD2B48C)},
    {"teal", Rgb(0x008080)},
    {"thistle", Rgb(0xD8BFD8)},
    {"tomato", Rgb(0xFF6347)},
    {"turquoise", Rgb(0x40E0D0)},
    {"violet", Rgb(0xEE82EE)},
    {"wheat", Rgb(0xF5DEB3)},
    {"white", Rgb(0xFFFFFF)},
    {"whitesmoke", Rgb(0xF5F5F5)},
    {"yellow", Rgb(0xFFFF00)},
    {"yellowgreen", Rgb(0x9ACD32)},
    {"activeborder", SysColor(COLOR_ACTIVEBORDER)},
    {"activecaption", SysColor(COLOR_ACTIVECAPTION)},
    {"appworkspace", SysColor(COLOR_APPWORKSPACE)},
    {"background", SysColor(COLOR_BACKGROUND)},
    {"buttonface", SysColor(COLOR_BTNFACE)},
    {"buttonhighlight", SysColor(COLOR_BTNHIGHLIGHT)},
    {"buttonshadow", SysColor(COLOR_BTNSHADOW)},
    {"buttontext", SysColor(COLOR_BTNTEXT)},
    {"captiontext", SysColor(COLOR_CAPTIONTEXT)},
    {"graytext", SysColor(COLOR_GRAYTEXT)},
    {"highlight", SysColor(COLOR_HIGHLIGHT)},
    {"highlighttext", SysColor(COLOR_HIGHLIGHTTEXT)},
    {"inactiveborder", SysColor(COLOR_INACTIVEBORDER)},
    {"inactivecaption", SysColor(COLOR_INACTIVECAPTION)},
    {"inactivecaptiontext", SysColor(COLOR_INACTIVECAPTIONTEXT)},
    {"infobackground", SysColor(COLOR_INFOBK)},
    {"infotext", SysColor(COLOR_INFOTEXT)},
    {"menu", SysColor(COLOR_MENU)},
    {"menutext", SysColor(COLOR_MENUTEXT)},
    {"scrollbar", SysColor(COLOR_SCROLLBAR)},
    {"threeddarkshadow", SysColor(COLOR_3DDKSHADOW)},
    {"threedface", SysColor(COLOR_3DFACE)},
    {"threedhighlight", SysColor(COLOR_3DHIGHLIGHT)},
    {"threedlightshadow", SysColor(COLOR_3DLIGHT)},
    {"threedshadow", SysColor(COLOR_3DSHADOW)},
    {"window", SysColor(COLOR_WINDOW)},
    {"windowframe", SysColor(COLOR_WINDOWFRAME)},
    {"windowtext", SysColor(COLOR_WINDOWTEXT)},
};

// ---- colours ----

TColor GetRealColor(TColor color)
{
    // The screen has 32 bits a pixel: the nearest colour is the colour itself.
    return ColorToRGB(color);
}

TColor GetLightColor(TcxColorPart btnFace, TcxColorPart highlight, TcxColorPart window)
{
    const TColor face = ColorToRGB(clBtnFace), hl = ColorToRGB(clHighlight), win = ColorToRGB(clWindow);
    if (face == 0 || face == 0xFFFFFF)
        return hl;
    auto mix = [&](int (*ch)(TColor)) {
        return Clamp255(MulDiv(ch(face), btnFace, 100) + MulDiv(ch(hl), highlight, 100) +
                        MulDiv(ch(win), window, 100));
    };
    return MakeColor(mix(R), mix(G), mix(B));
}

TColor GetLightBtnFaceColor()
{
    const TColor face = ColorToRGB(clBtnFace);
    auto light = [](int v) { return Clamp255(v + MulDiv(255 - v, 16, 100)); };
    return GetRealColor(MakeColor(light(R(face)), light(G(face)), light(B(face))));
}

TColor GetLightDownedColor() { return GetRealColor(GetLightColor(11, 9, 73)); }
TColor GetLightDownedSelColor() { return GetRealColor(GetLightColor(14, 44, 40)); }
TColor GetLightSelColor() { return GetRealColor(GetLightColor(-2, 30, 72)); }

bool cxColorByName(const std::string& text, TColor& color)
{
    for (const TcxColorInfo& info : cxColorsByName)
        if (rtl::SameText(text, info.ColorName)) {
            color = info.ColorValue;
            return true;
        }
    return false;
}

bool cxNameByColor(TColor color, std::string& text)
{
    for (const TcxColorInfo& info : cxColorsByName)
        if (info.ColorValue == color) {
            text = info.ColorName;
            return true;
        }
    return false;
}

bool cxColorIsEqual(const RGBQUAD& a, const RGBQUAD& b) { return a == b; }

// ---- bitmaps ----

TBitmap* cxCreateBitmap(const TSize& size, TPixelFormat format) { return cxCreateBitmap(size.cx, size.cy, format); }
TBitmap* cxCreateBitmap(const TRect& r, TPixelFormat format) { return cxCreateBitmap(r.Width(), r.Height(), format); }

TBitmap* cxCreateBitmap(int width, int height, TPixelFormat format)
{
    auto* b = new TBitmap;
    b->SetPixelFormat(format);
    b->SetWidth(std::max(width, 0));
    b->SetHeight(std::max(height, 0));
    return b;
}

TBitmap* cxCreateTrueColorBitmap(const TSize& size) { return cxCreateTrueColorBitmap(size.cx, size.cy); }
TBitmap* cxCreateTrueColorBitmap(int width, int height) { return cxCreateBitmap(width, height, pf32bit); }

HBITMAP cxCreateTrueColorBitmapHandle(int width, int height, int bitCount)
{
    return gdi::CreateBitmap(width, height, 1, unsigned(std::max(bitCount, 0)), nullptr);
}

bool cxGetBitmapData(HBITMAP bitmap, gdi::BITMAP& data)
{
    return gdi::GetObject(bitmap, int(sizeof data), &data) != 0;
}

int cxGetBitmapPixelFormat(TBitmap* bitmap)
{
    switch (bitmap->GetPixelFormat()) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit: return 16;   // stored in 16 bits like pf16bit
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return gdi::GetDeviceCaps(BITSPIXEL);
    }
}

bool cxCompareBitmaps(TBitmap* a, TBitmap* b)
{
    if (!a || !b || a->GetWidth() != b->GetWidth() || a->GetHeight() != b->GetHeight() ||
        cxGetBitmapPixelFormat(a) != cxGetBitmapPixelFormat(b))
        return false;
    TRGBColors ca, cb;
    GetBitmapBits(a, false, ca);
    GetBitmapBits(b, false, cb);
    return ca == cb;
}

void cxCopyImage(TBitmap* source, TBitmap* dest, const TPoint& p1, const TPoint& p2, const TRect& r)
{
    dest->Canvas()->CopyRect(cx::cxRectOffset(r, p1), source->Canvas(), cx::cxRectOffset(r, p2));
}

void cxCopyImage(TCanvas* source, TCanvas* dest, const TPoint& p1, const TPoint& p2, const TRect& r)
{
    dest->CopyRect(cx::cxRectOffset(r, p2), source, cx::cxRectOffset(r, p1));
}

void cxBitBlt(HDC dest, HDC source, const TRect& destRect, const TPoint& sourceTopLeft, DWORD rop)
{
    if (dest)
        gdi::BitBlt(*dest, destRect.Left, destRect.Top, destRect.Width(), destRect.Height(), source,
                    sourceTopLeft.X, sourceTopLeft.Y, rop);
}

HRGN cxCreateRegionFromBitmap(TBitmap* bitmap, TColor transparent)
{
    TRGBColors colors;
    if (!GetBitmapBits(bitmap, true, colors))
        return nullptr;
    const std::uint32_t t = cx::dxColorToRGBQuad(transparent, 0) & 0xFFFFFFu;
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    std::vector<QRect> runs;
    for (int y = 0; y < h; ++y) {
        int start = -1;
        for (int x = 0; x <= w; ++x) {
            bool opaque = false;
            if (x < w) {
                std::uint32_t v;
                std::memcpy(&v, &colors[size_t(y) * w + x], 4);
                opaque = (v & 0xFFFFFFu) != t;
            }
            if (opaque && start < 0)
                start = x;
            else if (!opaque && start >= 0) {
                runs.emplace_back(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    if (runs.empty())
        return nullptr;
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return new gdi::Region(region);
}

// ---- blending ----

void cxBlendFunction(const RGBQUAD& source, RGBQUAD& dest, unsigned char constantAlpha)
{
    const float k = float(constantAlpha) / 255.0f;
    const float inv = 1.0f - float(source.rgbReserved) * k / 255.0f;
    auto mix = [&](Byte s, Byte d) { return ClampByte(RoundEven(float(float(s) * k + float(d) * inv))); };
    dest.rgbRed = mix(source.rgbRed, dest.rgbRed);
    dest.rgbGreen = mix(source.rgbGreen, dest.rgbGreen);
    dest.rgbBlue = mix(source.rgbBlue, dest.rgbBlue);
    dest.rgbReserved = mix(source.rgbReserved, dest.rgbReserved);
}

bool SystemAlphaBlend(HDC, HDC, const TRect&, const TRect&, unsigned char)
{
    // msimg32 does not exist here: callers take their software path.
    return false;
}

void cxAlphaBlend(TBitmap* dest, TBitmap* source, const TRect& destRect, const TRect& sourceRect,
                  bool smooth, unsigned char constantAlpha)
{
    cxAlphaBlend(dest->Canvas()->GetHandle(), source->Canvas()->GetHandle(), destRect, sourceRect,
                 smooth, constantAlpha);
}

void cxAlphaBlend(HDC dest, TBitmap* source, const TRect& destRect, const TRect& sourceRect,
                  bool smooth, unsigned char constantAlpha)
{
    cxAlphaBlend(dest, source->Canvas()->GetHandle(), destRect, sourceRect, smooth, constantAlpha);
}

void cxAlphaBlend(HDC dest, HDC source, const TRect& destRect, const TRect& sourceRect, bool smooth,
                  unsigned char constantAlpha)
{
    const int dw = destRect.Width(), dh = destRect.Height();
    const int sw = sourceRect.Width(), sh = sourceRect.Height();
    if (!dest || !source || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    const bool resize = smooth && (dw != sw || dh != sh);
    if (!cx::IsWin9X && !resize && SystemAlphaBlend(dest, source, destRect, sourceRect, constantAlpha))
        return;
    std::unique_ptr<TBitmap> src(cxCreateTrueColorBitmap(sw, sh));
    std::unique_ptr<TBitmap> dst(cxCreateTrueColorBitmap(dw, dh));
    std::unique_ptr<TBitmap> scaled(cxCreateTrueColorBitmap(dw, dh));
    gdi::BitBlt(*src->Canvas()->GetHandle(), 0, 0, sw, sh, source, sourceRect.Left, sourceRect.Top, SRCCOPY);
    gdi::BitBlt(*dst->Canvas()->GetHandle(), 0, 0, dw, dh, dest, destRect.Left, destRect.Top, SRCCOPY);
    if (smooth)
        cxSmoothResizeBitmap(src.get(), scaled.get(), true);
    else
        gdi::StretchBlt(*scaled->Canvas()->GetHandle(), 0, 0, dw, dh, src->Canvas()->GetHandle(), 0, 0,
                        sw, sh, SRCCOPY);
    if (!SystemAlphaBlend(dst->Canvas()->GetHandle(), scaled->Canvas()->GetHandle(), {0, 0, dw, dh},
                          {0, 0, dw, dh}, constantAlpha)) {
        TRGBColors s, d;
        GetBitmapBits(scaled.get(), false, s);
        GetBitmapBits(dst.get(), false, d);
        for (size_t i = 0; i < d.size(); ++i)
            cxBlendFunction(s[i], d[i], constantAlpha);
        SetBitmapBits(dst.get(), d, false);
    }
    gdi::BitBlt(*dest, destRect.Left, destRect.Top, dw, dh, dst->Canvas()->GetHandle(), 0, 0, SRCCOPY);
}

void cxAlphaBlend(TBitmap* bitmap, const TRect& rect, TColor color, unsigned char alpha)
{
    if (!bitmap || bitmap->GetEmpty())
        return;
    const double k = alpha / 255.0, inv = 1.0 - k;
    // System colours are not resolved: the value's own bytes are laid over.
    const int pre[4] = {RoundEven(B(color) * k), RoundEven(G(color) * k), RoundEven(R(color) * k), 0};
    const TPoint org = bitmap->Canvas()->GetHandle()->S().windowOrg;
    TRect r = cx::cxRectOffset(rect, org, false);
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, bitmap->GetWidth());
    r.Bottom = std::min(r.Bottom, bitmap->GetHeight());
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint32_t* row = bitmap->ScanLine(y);
        for (int x = r.Left; x < r.Right; ++x) {
            Byte quad[4];
            std::memcpy(quad, &row[x], 4);
            // Both halves can round up: the sum is clamped instead of wrapping past 255.
            for (int i = 0; i < 4; ++i)
                quad[i] = ClampByte(RoundEven(quad[i] * inv) + pre[i]);
            std::memcpy(&row[x], quad, 4);
        }
    }
}

void cxAlphaBlend(TBitmap* dest, TBitmap* background, TBitmap* source, unsigned char alpha)
{
    if (!dest || !background || !source)
        return;
    const int w = dest->GetWidth(), h = dest->GetHeight();
    if (gdi::GetDeviceCaps(BITSPIXEL) < 16) {
        dest->Canvas()->Draw(0, 0, source);
        return;
    }
    const double x = alpha / 255.0;
    const int rw = std::min({w, background->GetWidth(), source->GetWidth()});
    const int rh = std::min({h, background->GetHeight(), source->GetHeight()});
    const std::uint32_t keep = dest->GetPixelFormat() == pf32bit ? 0xFFFFFFFFu : 0x00FFFFFFu;
    for (int row = 0; row < rh; ++row) {
        const std::uint32_t* s = source->ScanLine(row);
        const std::uint32_t* b = background->ScanLine(row);
        std::uint32_t* d = dest->ScanLine(row);
        for (int col = 0; col < rw; ++col) {
            std::uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int sv = int((s[col] >> shift) & 0xFF), bv = int((b[col] >> shift) & 0xFF);
                out |= std::uint32_t(Clamp255(RoundEven(x * sv) + RoundEven(bv * (1.0 - x)))) << shift;
            }
            d[col] = out & keep;
        }
    }
}

// ---- Lanczos-3 resize ----

namespace {

float NormalizedSinc(float x)
{
    if (x == 0.0f)
        return 1.0f;
    const float px = float(std::numbers::pi * double(x));
    return float(std::sin(double(px)) / double(px));
}

RGBQUAD FilterPixel(const TContributors& taps, const RGBQUAD* line, std::ptrdiff_t stride)
{
    int sum[4] = {0, 0, 0, 0};
    for (int t = 0; t < taps.TapCount; ++t) {
        const TContributor& tap = taps.Taps[size_t(t)];
        const RGBQUAD& p = line[tap.SourceIndex * stride];
        sum[0] += tap.Weight * p.rgbBlue;
        sum[1] += tap.Weight * p.rgbGreen;
        sum[2] += tap.Weight * p.rgbRed;
        sum[3] += tap.Weight * p.rgbReserved;
    }
    auto ch = [](int s) { return Byte(s < 0 ? 0 : std::min(255, s >> 8)); };
    return {ch(sum[0]), ch(sum[1]), ch(sum[2]), ch(sum[3])};
}

float AxisScale(int s, int d)
{
    return (s == 1 || d == 1) ? float(d) / float(s) : float(d - 1) / float(s - 1);
}

} // namespace

float LanczosKernel3(float x)
{
    x = std::fabs(x);
    if (x >= 3.0f)
        return 0.0f;
    return NormalizedSinc(x) * NormalizedSinc(x / 3.0f);
}

TContributorList cxBuildContributors(int sourceSize, int destSize, float scale)
{
    const float f = scale < 1.0f ? 1.0f / scale : 1.0f;
    const float support = 3.0f * f;
    TContributorList list(size_t(std::max(destSize, 0)));
    for (int i = 0; i < destSize; ++i) {
        TContributors& c = list[size_t(i)];
        c.Taps.reserve(size_t(support * 2 + 1));
        const float centre = float(i) / scale;
        const int lo = int(std::floor(centre - support)), hi = int(std::ceil(centre + support));
        for (int j = lo; j <= hi; ++j) {
            const int weight = RoundEven(LanczosKernel3((centre - float(j)) / f) / f * 256.0f);
            if (weight == 0)
                continue;
            int index = j < 0 ? -j : j >= sourceSize ? 2 * sourceSize - j - 1 : j;
            // A source narrower than the filter would mirror past its other edge.
            index = std::clamp(index, 0, sourceSize - 1);
            c.Taps.push_back({index, weight});
        }
        c.TapCount = int(c.Taps.size());
    }
    return list;
}

void cxSmoothResizeBitmap(TBitmap* source, TBitmap* dest, bool forceLanczos)
{
    if (!source || !dest)
        return;
    const int sw = source->GetWidth(), sh = source->GetHeight();
    const int dw = dest->GetWidth(), dh = dest->GetHeight();
    if (sw == 0 || sh == 0 || dw == 0 || dh == 0)
        return;
    if (cx::IsWinNT && !forceLanczos) {
        HDC dc = dest->Canvas()->GetHandle();
        const int old = gdi::SetStretchBltMode(*dc, HALFTONE);
        gdi::StretchBlt(*dc, 0, 0, dw, dh, source->Canvas()->GetHandle(), 0, 0, sw, sh, SRCCOPY);
        gdi::SetStretchBltMode(*dc, old);
        return;
    }
    TRGBColors src, dst;
    GetBitmapBits(source, false, src);
    GetBitmapBits(dest, false, dst);
    const TContributorList horizontal = cxBuildContributors(sw, dw, AxisScale(sw, dw));
    std::vector<RGBQUAD> temp(size_t(dw) * size_t(sh));
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < dw; ++x)
            temp[size_t(y) * dw + x] = FilterPixel(horizontal[size_t(x)], &src[size_t(y) * sw], 1);
    const TContributorList vertical = cxBuildContributors(sh, dh, AxisScale(sh, dh));
    for (int x = 0; x < dw; ++x)
        for (int y = 0; y < dh; ++y)
            dst[size_t(y) * dw + x] = FilterPixel(vertical[size_t(y)], &temp[size_t(x)], dw);
    SetBitmapBits(dest, dst, false);
}
