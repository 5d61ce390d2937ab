#pragma once
// Pixel-level procedures of the graphics unit: derived system colours, colour keywords, bitmap
// creation and copying, regions from opaque pixels, alpha blending (always in software here:
// the system AlphaBlend is never bound) and the Lanczos-3 smooth resize.
// Pixel arithmetic rounds halves to the even neighbour and clamps channels to 0..255.
#include "toolkit/core/cxGraphics.h"

#include <string>
#include <vector>

// ---- colours ----

using TcxColorPart = int; // -100..100, a percentage weight of one system colour

struct TcxColorInfo {
    const char* ColorName; // lower-case keyword
    TColor ColorValue;
};
// The 140 colour keywords in alphabetical order, then the 28 system-colour keywords.
extern const std::vector<TcxColorInfo> cxColorsByName;

TColor GetRealColor(TColor color);
TColor GetLightColor(TcxColorPart btnFace, TcxColorPart highlight, TcxColorPart window);
TColor GetLightBtnFaceColor();
TColor GetLightDownedColor();
TColor GetLightDownedSelColor();
TColor GetLightSelColor();
// First row whose keyword equals the text without regard to case.
bool cxColorByName(const std::string& text, TColor& color);
// First row with exactly that value; the text is left alone when there is none.
bool cxNameByColor(TColor color, std::string& text);
bool cxColorIsEqual(const RGBQUAD& a, const RGBQUAD& b);

// ---- bitmaps ----

// New bitmaps, owned by the caller: pixel format first, then width, then height.
TBitmap* cxCreateBitmap(const TSize& size, TPixelFormat format = pf24bit);
TBitmap* cxCreateBitmap(const TRect& r, TPixelFormat format = pf24bit);
TBitmap* cxCreateBitmap(int width, int height, TPixelFormat format = pf24bit);
TBitmap* cxCreateTrueColorBitmap(const TSize& size);
TBitmap* cxCreateTrueColorBitmap(int width, int height);
// A bitmap handle of its own (freed with gdi::DeleteObject); null when it cannot be made.
HBITMAP cxCreateTrueColorBitmapHandle(int width, int height, int bitCount = 32);
// The handle's size and depth; false for no handle.
bool cxGetBitmapData(HBITMAP bitmap, gdi::BITMAP& data);
// Bits per pixel of the bitmap's format; pfDevice and pfCustom answer the device's 32.
int cxGetBitmapPixelFormat(TBitmap* bitmap);
bool cxCompareBitmaps(TBitmap* a, TBitmap* b);
// Copies rect + p2 of the source into rect + p1 of the destination.
void cxCopyImage(TBitmap* source, TBitmap* dest, const TPoint& p1, const TPoint& p2, const TRect& r);
// Copies rect + p1 of the source into rect + p2 of the destination (the canvas form).
void cxCopyImage(TCanvas* source, TCanvas* dest, const TPoint& p1, const TPoint& p2, const TRect& r);
void cxBitBlt(HDC dest, HDC source, const TRect& destRect, const TPoint& sourceTopLeft, DWORD rop);
// The pixels whose colour differs from the transparent one; null when there are none. The
// caller owns the region.
HRGN cxCreateRegionFromBitmap(TBitmap* bitmap, TColor transparent);
void cxSmoothResizeBitmap(TBitmap* source, TBitmap* dest, bool forceLanczos = false);

// ---- blending ----

// One pixel of premultiplied source-over blending, in single precision.
void cxBlendFunction(const RGBQUAD& source, RGBQUAD& dest, unsigned char constantAlpha);
// The system blend: never bound on this platform, so it always answers false.
bool SystemAlphaBlend(HDC dest, HDC source, const TRect& destRect, const TRect& sourceRect,
                      unsigned char constantAlpha = 255);
void cxAlphaBlend(TBitmap* dest, TBitmap* source, const TRect& destRect, const TRect& sourceRect,
                  bool smooth = false, unsigned char constantAlpha = 255);
void cxAlphaBlend(HDC dest, TBitmap* source, const TRect& destRect, const TRect& sourceRect,
                  bool smooth = false, unsigned char constantAlpha = 255);
void cxAlphaBlend(HDC dest, HDC source, const TRect& destRect, const TRect& sourceRect,
                  bool smooth = false, unsigned char constantAlpha = 255);
// A veil of one colour over a rectangle of a 32-bit bitmap (logical coordinates of its canvas).
void cxAlphaBlend(TBitmap* bitmap, const TRect& r, TColor color, unsigned char alpha = 255);
// Constant-alpha mix of two bitmaps of the destination's size into the destination.
void cxAlphaBlend(TBitmap* dest, TBitmap* background, TBitmap* source, unsigned char alpha);

// ---- Lanczos-3 contributors (exposed for tests) ----

struct TContributor {
    int SourceIndex;
    int Weight; // 1/256 units
};
struct TContributors {
    int TapCount = 0;
    std::vector<TContributor> Taps;
};
using TContributorList = std::vector<TContributors>;

float LanczosKernel3(float x);
// Taps for each destination index; indexes are kept inside 0 .. sourceSize - 1.
TContributorList cxBuildContributors(int sourceSize, int destSize, float scale);
