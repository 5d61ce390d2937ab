// The image half of cxGraphics: cxDrawImage and the small image procedures around it.
#include "toolkit/core/cxGraphicsImages.h"

#include "platform/gdi/SysParams.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/MessageQueue.h"
#include "toolkit/core/cxGeometry.h"

#include <cstring>

using namespace gdi;

TcxDrawImageProc CustomDrawImageProc = nullptr;

namespace {

// The three bitmaps cxDrawImage composes in: drawing target, image and mask. Created cleared on
// first use, later resized and cleared; they live as long as the program.
TcxAlphaBitmap& CachedBitmap(int slot, int width, int height)
{
    static std::unique_ptr<TcxAlphaBitmap> cache[3];
    auto& bitmap = cache[slot];
    if (!bitmap) {
        bitmap = std::make_unique<TcxAlphaBitmap>(width, height);
        bitmap->Clear();
    } else {
        bitmap->RefreshImage(width, height);
    }
    return *bitmap;
}

RGBQUAD QuadOf(TColor color, Byte alpha)
{
    const COLORREF c = ColorToRef(color);
    return {Byte(c >> 16), Byte(c >> 8), Byte(c), alpha};
}

// Each channel scaled to the percentage (the Office colour helper's darkening).
TColor DarkColor(TColor color, int percent)
{
    const COLORREF c = ColorToRef(color);
    auto ch = [&](int shift) { return ((c >> shift) & 0xFF) * unsigned(percent) / 100; };
    return TColor(ch(0) | (ch(8) << 8) | (ch(16) << 16));
}

// The list's mask of one image into a 32-bit bitmap: transparent pixels white, opaque black.
// False when the list keeps no mask there.
bool LoadListMask(TCustomImageList* images, int index, TcxAlphaBitmap& into)
{
    TBitmap mask;
    if (auto* cxImages = dynamic_cast<TcxImageList*>(images))
        cxImages->GetImageInfo(index, nullptr, &mask);
    else
        TcxImageList::GetImageInfo(images->GetHandle(), index, nullptr, &mask);
    if (mask.GetEmpty())
        return false;
    into.SetSize(mask.GetWidth(), mask.GetHeight());
    into.Canvas()->Brush()->SetColor(clWhite);
    into.Canvas()->Font()->SetColor(clBlack);
    into.CopyBitmap(&mask);
    return true;
}

} // namespace

bool IsImageAssigned(TCustomImageList* images, int index)
{
    return images && index >= 0 && index < images->Count();
}

void cxDrawImage(HDC dc, const TRect& glyphRect, const TRect& backgroundRect, TBitmap* glyph,
                 TCustomImageList* images, int index, TcxImageDrawMode mode, bool smooth, const gdi::Brush* brush,
                 TColor transparentColor, bool useLeftBottomPixel)
{
    if (!dc || !(IsGlyphAssigned(glyph) || IsImageAssigned(images, index)))
        return;
    TcxAlphaBitmap& target = CachedBitmap(0, backgroundRect.Width(), backgroundRect.Height());
    if (!brush)
        BitBlt(*target.Canvas()->GetHandle(), 0, 0, target.GetWidth(), target.GetHeight(), dc, backgroundRect.Left,
               backgroundRect.Top, SRCCOPY);
    else
        FillRect(*target.Canvas()->GetHandle(), target.GetClientRect(), *brush);
    TRect r = cx::cxRectOffset(glyphRect, backgroundRect.Left, backgroundRect.Top, false);

    if (!(CustomDrawImageProc && CustomDrawImageProc(target.Canvas(), images, index, glyph, r, mode))) {
        const bool useGlyph = IsGlyphAssigned(glyph);
        const int w = useGlyph ? glyph->GetWidth() : images->GetWidth();
        const int h = useGlyph ? glyph->GetHeight() : images->GetHeight();
        TcxAlphaBitmap& image = CachedBitmap(1, w, h);
        TcxAlphaBitmap& mask = CachedBitmap(2, w, h);

        bool isAlpha;
        if (useGlyph) {
            image.CopyBitmap(glyph, SRCCOPY);
            isAlpha = cxGetBitmapPixelFormat(glyph) > 31;
        } else {
            TcxBitmap32 loaded(w, h, true);
            if (auto* cxImages = dynamic_cast<TcxImageList*>(images))
                cxImages->GetImageInfo(index, &loaded, nullptr);
            else
                TcxImageList::GetImageInfo(images->GetHandle(), index, &loaded, nullptr);
            image.CopyBitmap(&loaded, SRCCOPY);
            isAlpha = TcxImageList::GetPixelFormat(images->GetHandle()) > 31;
        }
        isAlpha = isAlpha && image.GetIsAlphaUsed();
        if (!isAlpha)
            image.TransformBitmap(btmSetOpaque);

        mask.CopyBitmap(&image, SRCCOPY);
        if (!isAlpha) {
            if (!useGlyph) {
                TcxAlphaBitmap listMask(w, h);
                if (LoadListMask(images, index, listMask)) {
                    listMask.TransformBitmap(btmCorrectBlend);
                    mask.Filter(&listMask);
                }
            }
            if (transparentColor != clNone)
                mask.TransparentColors.Add(transparentColor);
            if (useGlyph && useLeftBottomPixel)
                mask.TransparentColors.Add(mask.GetTransparentColor());
        }
        mask.TransformBitmap(btmMakeMask);
        image.Filter(&mask);

        Byte constantAlpha = 255;
        switch (mode) {
        case idmNormal: break;
        case idmDisabled:
            if (isAlpha) {
                image.TransformBitmap(btmDisable);
                constantAlpha = DisableMap.ConstantAlpha;
            } else {
                image.TransformBitmap(btmDirty);
                image.DrawShadow(&mask, 1, clBtnHighlight, false);
            }
            break;
        case idmFaded:
            image.TransformBitmap(btmFade);
            constantAlpha = FadeMap.ConstantAlpha;
            break;
        case idmGrayScale: image.TransformBitmap(btmGrayScale); break;
        case idmDingy: image.TransformBitmap(btmDingy); break;
        case idmShadowed:
            image.DrawShadow(&mask, 2, clBtnShadow, true);
            r.Right += 2;
            r.Bottom += 2;
            r = cx::cxRectOffset(r, -1, -1, true);
            break;
        }
        image.AlphaBlend(&target, r, smooth, constantAlpha);
    }
    cxDrawBitmap(dc, &target, backgroundRect, {0, 0}, SRCCOPY);
}

void cxDrawImageList(HIMAGELIST handle, int index, HDC dc, const TPoint& p, TDrawingStyle style, TImageType type)
{
    static const unsigned styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    ImageList_Draw(handle, index, dc, p.X, p.Y, type == itMask ? ILD_MASK : styles[style]);
}

void cxTransformImages(TcxImageList* images, TColor backgroundColor, bool enabled)
{
    if (!images)
        return;
    TcxImageList copy(nullptr);
    copy.SetWidth(images->GetWidth());
    copy.SetHeight(images->GetHeight());
    copy.CopyImages(images, 0, -1);
    cxTransformImages(&copy, images, backgroundColor, enabled);
}

void cxTransformImages(TcxImageList* source, TcxImageList* dest, TColor backgroundColor, bool enabled)
{
    if (!source || !dest)
        return;
    dest->Clear();
    const int w = source->GetWidth(), h = source->GetHeight();
    TcxAlphaBitmap drawn(w, h, QuadOf(backgroundColor, 255));
    TcxBitmap plain(w, h, pf24bit);
    for (int i = 0; i < source->Count(); ++i) {
        drawn.Clear();
        source->Draw(drawn.Canvas(), drawn.GetClientRect(), i, true, false, enabled);
        plain.CopyBitmap(&drawn);
        dest->AddMasked(&plain, backgroundColor);
    }
}

void cxDrawDesignRect(TcxCanvas* canvas, const TRect& r, bool selected)
{
    if (!canvas || r.Width() <= 0 || r.Height() <= 0)
        return;
    const TColor color = selected ? TColor(0x9090FF) : TColor(0xA0FFA0);
    canvas->SaveState();
    canvas->SetClipRegion(new TcxRegion(r), roSet);
    canvas->FillRect(r, color);
    canvas->GetPen()->SetColor(DarkColor(color, 75));
    for (int i = 1; i <= rtl::MulDiv(r.Right, 3, 2); ++i) {
        canvas->MoveTo(r.Right - 3 * i, r.Top);
        canvas->LineTo(r.Right, r.Top + 3 * i);
    }
    canvas->FrameRect(r, DarkColor(color, 50), 1, cxBordersAll);
    canvas->RestoreState();
    canvas->ExcludeClipRect(r);
    const TRect shadow = cx::cxRectOffset(r, 1, 1, true);
    canvas->FillRect(shadow, clBtnShadow);
    canvas->ExcludeClipRect(shadow);
}

void cxSetImageList(TCustomImageList* value, TCustomImageList*& field, TChangeLink* changeLink,
                    rtl::TComponent* notified)
{
    if (value == field)
        return;
    if (field) {
        if (notified)
            field->RemoveFreeNotification(notified);
        if (changeLink)
            field->UnRegisterChanges(changeLink);
    }
    field = value;
    if (value) {
        if (changeLink)
            value->RegisterChanges(changeLink);
        if (notified)
            value->FreeNotification(notified);
    }
    if (changeLink)
        changeLink->Change();
}

// The platform's controls draw with the themed (version 6) common controls throughout.
bool IsXPManifestEnabled() { return true; }

void cxInvalidateRect(HWND wnd, const TRect& r, bool erase)
{
    if (TWinControl* control = FindControl(wnd))
        control->InvalidateRect(r, erase);
}

void cxInvalidateRect(HWND wnd, bool erase)
{
    if (TWinControl* control = FindControl(wnd))
        control->InvalidateRect(control->GetClientRect(), erase);
}

TSize cxCursorSizeOfMask(TBitmap* andMask, const TPoint& hotSpot)
{
    TSize size{GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR)};
    if (!andMask || andMask->GetEmpty() || !andMask->GetMonochrome())
        return size;
    const int w = andMask->GetWidth(), h = andMask->GetHeight();
    size.cx = w;
    // The mask's rows from the bottom up, as the system's bitmap bits hold them: the last
    // opaque row counted from the top gives the height. A mask of double height keeps the
    // colour picture below the AND part, and a cursor with an empty AND part is measured by
    // the picture's last non-black row instead.
    auto lastRow = [&](int top, int rows, bool opaqueIsBlack) {
        for (int y = top + rows - 1; y >= top; --y)
            for (int x = 0; x < w; ++x) {
                const bool white = (andMask->Surface().Pixel(x, y) & 0xFFFFFFu) != 0;
                if (opaqueIsBlack ? !white : white)
                    return y - top + 1;
            }
        return 0;
    };
    const int andRows = h >= 2 * w ? w : h;
    int height = lastRow(0, andRows, true);
    if (height == 0 && h >= 2 * w)
        height = lastRow(w, w, false);
    size.cy = height - hotSpot.Y;
    return size;
}

// The platform gives no access to the system cursor's bitmaps: the metrics stand.
TSize cxGetCursorSize() { return {GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR)}; }

void cxGetBrushData(const gdi::Brush& brush, LOGBRUSH& data)
{
    data.lbStyle = unsigned(brush.style);
    data.lbColor = brush.color;
    data.lbHatch = brush.hatch;
}

LOGBRUSH cxGetBrushData(const gdi::Brush& brush)
{
    LOGBRUSH data;
    cxGetBrushData(brush, data);
    return data;
}

void cxGetFontData(const gdi::Font& font, gdi::LogFont& data) { data = font.lf; }

void cxGetPenData(const gdi::Pen& pen, LOGPEN& data)
{
    data.lopnStyle = unsigned(pen.style);
    data.lopnWidth = {pen.width, 0};
    data.lopnColor = pen.color;
}

void cxResetFont(TFont* font)
{
    if (!font)
        return;
    font->SetCharset(rtl::profile::DefaultCharset);
    font->SetName(rtl::profile::DefaultFontName);
    font->SetHeight(rtl::profile::DefaultFontHeight);
    font->SetPitch(fpDefault);
    font->SetStyle(0);
}
