#pragma once
// The component library's canvas layer over the software GDI: colours, fonts, brushes, pens,
// the canvas and bitmaps, as far as the toolkit's drawing uses them.
#include "platform/gdi/Dc.h"
#include "platform/gdi/Draw.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/Types.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace rtl {
class TStream;
}

// Colours: 0x00BBGGRR; system colours are 0x80000000 or a system colour index.
constexpr TColor SysColor(int index) { return TColor(0x80000000u | unsigned(index)); }
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clActiveCaption = SysColor(COLOR_ACTIVECAPTION),
                 clInactiveCaption = SysColor(COLOR_INACTIVECAPTION), clMenu = SysColor(COLOR_MENU),
                 clWindow = SysColor(COLOR_WINDOW), clWindowFrame = SysColor(COLOR_WINDOWFRAME),
                 clMenuText = SysColor(COLOR_MENUTEXT), clWindowText = SysColor(COLOR_WINDOWTEXT),
                 clCaptionText = SysColor(COLOR_CAPTIONTEXT),
                 clActiveBorder = SysColor(COLOR_ACTIVEBORDER),
                 clInactiveBorder = SysColor(COLOR_INACTIVEBORDER),
                 clAppWorkSpace = SysColor(COLOR_APPWORKSPACE), clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SysColor(COLOR_BTNFACE),
                 clBtnShadow = SysColor(COLOR_BTNSHADOW), clGrayText = SysColor(COLOR_GRAYTEXT),
                 clBtnText = SysColor(COLOR_BTNTEXT),
                 clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SysColor(COLOR_3DDKSHADOW),
                 cl3DLight = SysColor(COLOR_3DLIGHT), clInfoText = SysColor(COLOR_INFOTEXT),
                 clInfoBk = SysColor(COLOR_INFOBK), clHotLight = SysColor(COLOR_HOTLIGHT),
                 clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION),
                 clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION),
                 clMenuHighlight = SysColor(COLOR_MENUHILIGHT), clMenuBar = SysColor(COLOR_MENUBAR);

// System colours resolve through the profile's table; other values come back unchanged.
using rtl::profile::ColorToRGB;
// The colour the drawing layer receives (the low three bytes of the resolved colour).
COLORREF ColorToRef(TColor color);

// A font, brush or pen: persistent, and it tells OnChange (sender: itself) of every change.
class TGraphicsObject : public rtl::TPersistent {
    RTL_CLASS(TGraphicsObject, rtl::TPersistent)
    rtl::Event<void(rtl::TObject* sender)> OnChange;

protected:
    void Changed() { rtl::CallEvent(OnChange, this); }
};

// Horizontal alignment of controls and text.

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned; // bit (1 << TFontStyle)
constexpr TFontStyles FontStyle(TFontStyle s) { return 1u << s; }
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
    RTL_CLASS(TFont, TGraphicsObject)
    TFont();
    void Assign(rtl::TPersistent* source) override;

    TColor GetColor() const { return color_; }
    void SetColor(TColor c);
    int GetHeight() const { return lf_.lfHeight; }
    void SetHeight(int h);
    int GetSize() const;
    void SetSize(int points);
    const std::string& GetName() const { return lf_.lfFaceName; }
    void SetName(const std::string& name);
    TFontStyles GetStyle() const;
    void SetStyle(TFontStyles styles);
    int GetCharset() const { return lf_.lfCharSet; }
    void SetCharset(int charset);
    int GetOrientation() const { return lf_.lfEscapement; }
    void SetOrientation(int tenthsOfDegree);
    TFontPitch GetPitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int PixelsPerInch = 96;

    // The logical font record; setting it takes every field over.
    gdi::Font GetHandle() const { return {lf_}; }
    void SetHandle(const gdi::Font& font);

private:
    gdi::LogFont lf_;
    TColor color_;
    TFontPitch pitch_ = fpDefault;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBitmap;

class TBrush : public TGraphicsObject {
    RTL_CLASS(TBrush, TGraphicsObject)
    void Assign(rtl::TPersistent* source) override;
    TColor GetColor() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle GetStyle() const { return style_; }
    void SetStyle(TBrushStyle s);
    // A pattern bitmap (not owned); the brush takes a copy of its pixels when it is set.
    TBitmap* GetBitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);

    gdi::Brush GetHandle() const;
    void SetHandle(const gdi::Brush& brush);

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    std::shared_ptr<const gdi::Surface> pattern_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// pmBlack..pmNotXor as pen raster modes, in the same order.
int PenModeToRop2(TPenMode mode);

class TPen : public TGraphicsObject {
    RTL_CLASS(TPen, TGraphicsObject)
    void Assign(rtl::TPersistent* source) override;
    TColor GetColor() const { return color_; }
    void SetColor(TColor c);
    int GetWidth() const { return width_; }
    void SetWidth(int w);
    TPenStyle GetStyle() const { return style_; }
    void SetStyle(TPenStyle s);
    TPenMode GetMode() const { return mode_; }
    void SetMode(TPenMode m);

    gdi::Pen GetHandle() const;
    void SetHandle(const gdi::Pen& pen);

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

class TCanvas;

class TGraphic : public rtl::TPersistent {
    RTL_CLASS(TGraphic, rtl::TPersistent)
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual bool GetEmpty() const = 0;
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    // The graphic's file form (BitmapStreams.cpp); a kind of graphic without one raises
    // EInvalidGraphic.
    virtual void LoadFromStream(rtl::TStream* stream);
    virtual void SaveToStream(rtl::TStream* stream);
};

// Drawing on a device context with the canvas's own font, brush and pen. Before each drawing
// call the three objects are selected, the text colour takes the font colour and the
// background colour the brush colour (transparent background for a clear brush).
class TCanvas : public rtl::TPersistent {
    RTL_CLASS(TCanvas, rtl::TPersistent)
    TCanvas();
    ~TCanvas() override;

    // The device context; a canvas without one asks CreateHandle (bitmap canvases make theirs).
    // Where none comes (a control's canvas outside painting), a private one-pixel context
    // stands in, so the canvas measures text with its font at any time; drawing calls draw
    // only through a context set or created for the canvas.
    HDC GetHandle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* Font() { return font_.get(); }
    TBrush* Brush() { return brush_.get(); }
    TPen* Pen() { return pen_.get(); }
    DWORD CopyMode = SRCCOPY;
    TPoint GetPenPos() const;
    void SetPenPos(const TPoint& p);

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(const TRect& r);
    void Rectangle(int l, int t, int r, int b);
    void Ellipse(const TRect& r);
    void Ellipse(int l, int t, int r, int b);
    void RoundRect(int l, int t, int r, int b, int w, int h);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Points 0 to lastIndex.
    void Polygon(const TPoint* points, int lastIndex);
    void Polyline(const TPoint* points, int lastIndex);
    void DrawFocusRect(const TRect& r);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    TColor GetPixel(int x, int y);
    void SetPixel(int x, int y, TColor c);

    // Text in the canvas's font (UTF-8); the background is filled unless the brush is clear.
    void TextOut(int x, int y, const std::string& text);
    // Drawn clipped to r, with its reference point at (x, y).
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    // Selects font, brush and pen and the colours that go with them.
    void RequiredState();

    // The canvas's lock: held by one thread at a time, taken again by its holder (each Lock
    // has its Unlock).
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return lockCount_; }

protected:
    virtual void CreateHandle() {}

private:
    std::recursive_mutex lock_;
    int lockCount_ = 0;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    HDC dc_ = nullptr;
    std::unique_ptr<gdi::Surface> measureSurface_;
    std::unique_ptr<gdi::Dc> measureDc_;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
    RTL_CLASS(TBitmap, TGraphic)
    TBitmap();
    ~TBitmap() override;
    void Assign(rtl::TPersistent* source) override;

    int GetWidth() const override { return surface_.Width(); }
    int GetHeight() const override { return surface_.Height(); }
    bool GetEmpty() const override { return surface_.IsEmpty(); }
    void SetWidth(int w);
    void SetHeight(int h);
    void SetSize(int w, int h);
    TPixelFormat GetPixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat f);
    bool GetMonochrome() const { return surface_.IsMono(); }
    void SetMonochrome(bool mono);

    // Bottom-left pixel's colour in automatic mode, the set colour in fixed mode.
    TColor GetTransparentColor() const;
    void SetTransparentColor(TColor c);
    TTransparentMode TransparentMode = tmAuto;
    bool Transparent = false;

    TCanvas* Canvas();
    HBITMAP GetHandle() { return &surface_; }
    const gdi::Surface& Surface() const { return surface_; }
    // Row y, top-down, 32 bits a pixel.
    std::uint32_t* ScanLine(int y) { return surface_.Row(y); }

    void Draw(TCanvas* canvas, const TRect& rect) override;
    // The bitmap file (LoadBitmapFromStream, SaveBitmapToStream).
    void LoadFromStream(rtl::TStream* stream) override;
    void SaveToStream(rtl::TStream* stream) override;

private:
    gdi::Surface surface_;
    TPixelFormat format_ = pfDevice;
    TColor transparentColor_ = clDefault;
    std::unique_ptr<TCanvas> canvas_;
    std::unique_ptr<gdi::Dc> dc_;
};

// An icon: a 32-bit picture (premultiplied alpha when any alpha byte is not 0) and a 1-bit
// mask (white = transparent). Its file form is the icon file; the first picture of a file is
// read, and a picture is written as a one-picture file.
class TIcon : public TGraphic {
    RTL_CLASS(TIcon, TGraphic)
    TIcon();
    ~TIcon() override;

    int GetWidth() const override;
    int GetHeight() const override;
    bool GetEmpty() const override;
    // The picture through its mask (blended by its alpha when it has one) at the rectangle's
    // top-left corner.
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Raises EInvalidGraphic "Icon image is not valid" for anything else; the icon is then
    // unchanged.
    void LoadFromStream(rtl::TStream* stream) override;
    void SaveToStream(rtl::TStream* stream) override;
    void Assign(rtl::TPersistent* source) override;

    TBitmap* Image() const { return image_.get(); }
    TBitmap* Mask() const { return mask_.get(); }
    // Copies of the two; without a mask the pixels whose alpha is 0 are the transparent ones
    // (all opaque for a picture without alpha).
    void SetImages(TBitmap* image, TBitmap* mask);

private:
    std::unique_ptr<TBitmap> image_, mask_;
};

