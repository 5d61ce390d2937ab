#include "platform/vcl/Graphics.h"
#include "platform/gdi/Text.h"


#include <algorithm>
#include <cmath>

COLORREF ColorToRef(TColor color)
{
    return COLORREF(ColorToRGB(color)) & 0x00FFFFFFu;
}

using rtl::MulDiv;

// ---- TFont ----

TFont::TFont() : color_(clWindowText)
{
    lf_.lfHeight = rtl::profile::DefaultFontHeight;
    lf_.lfCharSet = rtl::profile::DefaultCharset;
    lf_.lfFaceName = rtl::profile::DefaultFontName;
}

void TFont::Assign(rtl::TPersistent* source)
{
    auto* f = dynamic_cast<const TFont*>(source);
    if (!f) {
        TPersistent::Assign(source); // the source's AssignTo, or EConvertError
        return;
    }
    lf_ = f->lf_;
    color_ = f->color_;
    pitch_ = f->pitch_;
    PixelsPerInch = f->PixelsPerInch;
    Changed();
}

void TFont::SetColor(TColor c)
{
    if (c != color_) {
        color_ = c;
        Changed();
    }
}

void TFont::SetHeight(int h)
{
    if (h != lf_.lfHeight) {
        lf_.lfHeight = h;
        Changed();
    }
}

int TFont::GetSize() const { return -MulDiv(lf_.lfHeight, 72, PixelsPerInch); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch, 72)); }

void TFont::SetName(const std::string& name)
{
    if (!name.empty() && name != lf_.lfFaceName) {
        lf_.lfFaceName = name;
        Changed();
    }
}

TFontStyles TFont::GetStyle() const
{
    TFontStyles s = 0;
    if (lf_.lfWeight >= gdi::FW_BOLD) s |= FontStyle(fsBold);
    if (lf_.lfItalic) s |= FontStyle(fsItalic);
    if (lf_.lfUnderline) s |= FontStyle(fsUnderline);
    if (lf_.lfStrikeOut) s |= FontStyle(fsStrikeOut);
    return s;
}

void TFont::SetStyle(TFontStyles s)
{
    if (s == GetStyle())
        return;
    lf_.lfWeight = (s & FontStyle(fsBold)) ? gdi::FW_BOLD : gdi::FW_NORMAL;
    lf_.lfItalic = s & FontStyle(fsItalic);
    lf_.lfUnderline = s & FontStyle(fsUnderline);
    lf_.lfStrikeOut = s & FontStyle(fsStrikeOut);
    Changed();
}

void TFont::SetCharset(int charset)
{
    if (charset != lf_.lfCharSet) {
        lf_.lfCharSet = charset;
        Changed();
    }
}

void TFont::SetOrientation(int tenths)
{
    if (tenths != lf_.lfEscapement) {
        lf_.lfEscapement = tenths;
        lf_.lfOrientation = tenths;
        Changed();
    }
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch != pitch_) {
        pitch_ = pitch;
        Changed();
    }
}

void TFont::SetHandle(const gdi::Font& font)
{
    lf_ = font.lf;
    Changed();
}

// ---- TBrush ----

void TBrush::Assign(rtl::TPersistent* source)
{
    auto* b = dynamic_cast<const TBrush*>(source);
    if (!b) {
        TPersistent::Assign(source); // the source's AssignTo, or EConvertError
        return;
    }
    color_ = b->color_;
    style_ = b->style_;
    bitmap_ = b->bitmap_;
    pattern_ = b->pattern_;
    Changed();
}

void TBrush::SetColor(TColor c)
{
    if (c == color_ && style_ != bsClear)
        return;
    color_ = c;
    if (style_ == bsClear)
        style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle s)
{
    if (s != style_) {
        style_ = s;
        Changed();
    }
}

void TBrush::SetBitmap(TBitmap* bitmap)
{
    bitmap_ = bitmap;
    pattern_ = bitmap && !bitmap->GetEmpty() ? std::make_shared<const gdi::Surface>(bitmap->Surface()) : nullptr;
    Changed();
}

gdi::Brush TBrush::GetHandle() const
{
    if (pattern_)
        return gdi::Brush::Pattern(pattern_);
    const COLORREF c = ColorToRef(color_);
    switch (style_) {
    case bsSolid: return gdi::Brush::Solid(c);
    case bsClear: return gdi::Brush::Null();
    default: return gdi::Brush::Hatched(int(style_) - int(bsHorizontal), c);
    }
}

void TBrush::SetHandle(const gdi::Brush& brush)
{
    bitmap_ = nullptr;
    pattern_ = brush.style == BS_PATTERN ? brush.pattern : nullptr;
    color_ = TColor(brush.color);
    switch (brush.style) {
    case BS_NULL: style_ = bsClear; break;
    case BS_HATCHED: style_ = TBrushStyle(bsHorizontal + std::clamp(brush.hatch, 0, 5)); break;
    default: style_ = bsSolid; break;
    }
    Changed();
}

// ---- TPen ----

int PenModeToRop2(TPenMode mode)
{
    static constexpr int kRop2[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                                    R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                                    R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN,
                                    R2_XORPEN, R2_NOTXORPEN};
    return kRop2[std::clamp(int(mode), 0, 15)];
}

void TPen::Assign(rtl::TPersistent* source)
{
    auto* p = dynamic_cast<const TPen*>(source);
    if (!p) {
        TPersistent::Assign(source); // the source's AssignTo, or EConvertError
        return;
    }
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    mode_ = p->mode_;
    Changed();
}

void TPen::SetColor(TColor c)
{
    if (c != color_) {
        color_ = c;
        Changed();
    }
}

void TPen::SetWidth(int w)
{
    if (w >= 0 && w != width_) {
        width_ = w;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle s)
{
    if (s != style_) {
        style_ = s;
        Changed();
    }
}

void TPen::SetMode(TPenMode m)
{
    if (m != mode_) {
        mode_ = m;
        Changed();
    }
}

gdi::Pen TPen::GetHandle() const
{
    static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL,
                                      PS_INSIDEFRAME};
    return {kStyles[style_], width_, ColorToRef(color_)};
}

void TPen::SetHandle(const gdi::Pen& pen)
{
    color_ = TColor(pen.color);
    width_ = pen.width;
    const int s = pen.style & PS_STYLE_MASK;
    style_ = s <= PS_INSIDEFRAME ? TPenStyle(s) : psSolid;
    Changed();
}

// ---- TCanvas ----

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>())
{
}

TCanvas::~TCanvas() = default;

HDC TCanvas::GetHandle()
{
    if (!dc_)
        CreateHandle();
    if (dc_)
        return dc_;
    if (!measureDc_) {
        measureSurface_ = std::make_unique<gdi::Surface>(1, 1);
        measureDc_ = std::make_unique<gdi::Dc>(measureSurface_.get());
    }
    return measureDc_.get();
}

void TCanvas::SetHandle(HDC dc) { dc_ = dc; }

void TCanvas::RequiredState()
{
    HDC dc = GetHandle();
    if (!dc)
        return;
    gdi::SelectFont(*dc, font_->GetHandle());
    gdi::SelectPen(*dc, pen_->GetHandle());
    gdi::SelectBrush(*dc, brush_->GetHandle());
    gdi::SetROP2(*dc, PenModeToRop2(pen_->GetMode()));
    gdi::SetTextColor(*dc, ColorToRef(font_->GetColor()));
    gdi::SetBkColor(*dc, ColorToRef(brush_->GetColor()));
    gdi::SetBkMode(*dc, brush_->GetStyle() == bsClear ? TRANSPARENT : OPAQUE);
}

TPoint TCanvas::GetPenPos() const { return dc_ ? dc_->S().pos : TPoint{}; }
void TCanvas::SetPenPos(const TPoint& p) { MoveTo(p.X, p.Y); }

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    RequiredState();
    if (dc_)
        gdi::ExtTextOut(*dc_, x, y, 0, nullptr, std::string_view(text));
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    RequiredState();
    const unsigned fill = brush_->GetStyle() == bsClear ? 0u : unsigned(gdi::ETO_OPAQUE);
    if (dc_)
        gdi::ExtTextOut(*dc_, x, y, unsigned(gdi::ETO_CLIPPED) | fill, &r, std::string_view(text));
}

TSize TCanvas::TextExtent(const std::string& text)
{
    TSize size;
    RequiredState();
    gdi::GetTextExtentPoint32(*GetHandle(), std::string_view(text), size);
    return size;
}

void TCanvas::FillRect(const TRect& r)
{
    RequiredState();
    if (dc_)
        gdi::FillRect(*dc_, r, brush_->GetHandle());
}

void TCanvas::FrameRect(const TRect& r)
{
    RequiredState();
    if (dc_)
        gdi::FrameRect(*dc_, r, brush_->GetHandle());
}

void TCanvas::Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
void TCanvas::Rectangle(int l, int t, int r, int b)
{
    RequiredState();
    if (dc_)
        gdi::Rectangle(*dc_, l, t, r, b);
}

void TCanvas::Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
void TCanvas::Ellipse(int l, int t, int r, int b)
{
    RequiredState();
    if (dc_)
        gdi::Ellipse(*dc_, l, t, r, b);
}

void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h)
{
    RequiredState();
    if (dc_)
        gdi::RoundRect(*dc_, l, t, r, b, w, h);
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    RequiredState();
    if (dc_)
        gdi::Pie(*dc_, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::MoveTo(int x, int y)
{
    GetHandle();
    if (dc_)
        gdi::MoveToEx(*dc_, x, y);
}

void TCanvas::LineTo(int x, int y)
{
    RequiredState();
    if (dc_)
        gdi::LineTo(*dc_, x, y);
}

void TCanvas::Polygon(const TPoint* points, int lastIndex)
{
    RequiredState();
    if (dc_)
        gdi::Polygon(*dc_, points, lastIndex + 1);
}

void TCanvas::Polyline(const TPoint* points, int lastIndex)
{
    RequiredState();
    if (dc_)
        gdi::Polyline(*dc_, points, lastIndex + 1);
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    RequiredState();
    if (dc_)
        gdi::DrawFocusRect(*dc_, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& s)
{
    RequiredState();
    if (!dc_ || !source)
        return;
    HDC from = source->GetHandle();
    if (!source->HandleAllocated())
        return;
    gdi::StretchBlt(*dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), from, s.Left, s.Top,
                    s.Width(), s.Height(), CopyMode);
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (graphic && !graphic->GetEmpty())
        graphic->Draw(this, {x, y, x + graphic->GetWidth(), y + graphic->GetHeight()});
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic)
{
    if (graphic && !graphic->GetEmpty())
        graphic->Draw(this, r);
}

TColor TCanvas::GetPixel(int x, int y)
{
    GetHandle();
    if (!dc_)
        return clNone;
    COLORREF c = gdi::GetPixel(*dc_, x, y);
    return c == gdi::CLR_INVALID ? TColor(-1) : TColor(c);
}

void TCanvas::SetPixel(int x, int y, TColor c)
{
    GetHandle();
    if (dc_)
        gdi::SetPixel(*dc_, x, y, ColorToRef(c));
}

// ---- TBitmap ----

namespace {

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(gdi::Dc* dc) : dc_(dc) {}

protected:
    void CreateHandle() override { SetHandle(dc_); }

private:
    gdi::Dc* dc_;
};

gdi::PixelFormat SurfaceFormat(TPixelFormat f)
{
    switch (f) {
    case pf1bit: return gdi::PixelFormat::Mono1;
    case pf4bit: return gdi::PixelFormat::Pal4;
    case pf8bit: return gdi::PixelFormat::Pal8;
    case pf15bit: return gdi::PixelFormat::Rgb15;
    case pf16bit: return gdi::PixelFormat::Rgb16;
    case pf24bit: return gdi::PixelFormat::Rgb24;
    default: return gdi::PixelFormat::Argb32;
    }
}

} // namespace

TBitmap::TBitmap() : dc_(std::make_unique<gdi::Dc>(&surface_)) {}
TBitmap::~TBitmap() = default;

void TBitmap::Assign(rtl::TPersistent* source)
{
    auto* b = dynamic_cast<const TBitmap*>(source);
    if (!b) {
        TPersistent::Assign(source); // the source's AssignTo, or EConvertError
        return;
    }
    if (b == this)
        return;
    surface_ = b->surface_;
    format_ = b->format_;
    transparentColor_ = b->transparentColor_;
    TransparentMode = b->TransparentMode;
    Transparent = b->Transparent;
}

void TBitmap::SetWidth(int w) { surface_.Resize(w, surface_.Height()); }
void TBitmap::SetHeight(int h) { surface_.Resize(surface_.Width(), h); }
void TBitmap::SetSize(int w, int h) { surface_.Resize(w, h); }

void TBitmap::SetPixelFormat(TPixelFormat f)
{
    format_ = f;
    surface_.SetFormat(SurfaceFormat(f));
}

void TBitmap::SetMonochrome(bool mono)
{
    if (mono != surface_.IsMono())
        SetPixelFormat(mono ? pf1bit : pfDevice);
}

TColor TBitmap::GetTransparentColor() const
{
    if (TransparentMode == tmFixed && transparentColor_ != clDefault)
        return transparentColor_;
    if (surface_.IsEmpty())
        return clDefault;
    return TColor(gdi::PixelToColor(surface_.Pixel(0, surface_.Height() - 1)));
}

void TBitmap::SetTransparentColor(TColor c)
{
    transparentColor_ = c;
    TransparentMode = c == clDefault ? tmAuto : tmFixed;
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(dc_.get());
    return canvas_.get();
}

void TBitmap::Draw(TCanvas* canvas, const TRect& r)
{
    canvas->RequiredState();
    HDC dc = canvas->GetHandle();
    if (!canvas->HandleAllocated() || surface_.IsEmpty())
        return;
    gdi::StretchBlt(*dc, r.Left, r.Top, r.Width(), r.Height(), dc_.get(), 0, 0, GetWidth(),
                    GetHeight(), canvas->CopyMode);
}

// ---- canvas lock ----

void TCanvas::Lock()
{
    lock_.lock();
    ++lockCount_;
}

void TCanvas::Unlock()
{
    --lockCount_;
    lock_.unlock();
}

bool TCanvas::TryLock()
{
    if (!lock_.try_lock())
        return false;
    ++lockCount_;
    return true;
}
