// The painter base: scheduler navigation buttons and event progress, the date navigator's date
// header, the clock face, progress-bar text, group boxes, panels, the layout background, print
// preview pages and the calculator's button colours.
#include "toolkit/core/cxLookAndFeelPainters.h"

#include "platform/gdi/Text.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsBitmaps.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace cx;

namespace {

// A clip-region save that is undone on every way out.
class ClipRegionSaver {
public:
    explicit ClipRegionSaver(TcxCanvas* canvas) : canvas_(canvas) { canvas_->SaveClipRegion(); }
    ~ClipRegionSaver() { canvas_->RestoreClipRegion(); }
    ClipRegionSaver(const ClipRegionSaver&) = delete;
    ClipRegionSaver& operator=(const ClipRegionSaver&) = delete;

private:
    TcxCanvas* canvas_;
};

int RoundEven(double v) { return int(std::nearbyint(v)); }

} // namespace

// ---- scheduler ----

void TcxCustomLookAndFeelPainter::DrawSchedulerNavigatorButton(TcxCanvas* canvas, const TRect& r,
                                                               TcxButtonState state) const
{
    DrawButton(canvas, r, "", state, true, clDefault, clDefault, false, false);
}

void TcxCustomLookAndFeelPainter::SchedulerNavigationButtonSizes(bool isNextButton, TRect& borders,
                                                                 TSize& arrowSize, bool& hasTextArea) const
{
    borders = isNextButton ? TRect{2, 6, 0, 6} : TRect{0, 6, 2, 6};
    arrowSize = {7, 7};
    hasTextArea = true;
}

void TcxCustomLookAndFeelPainter::CalculateSchedulerNavigationButtonRects(bool isNextButton, bool isCollapsed,
                                                                          const TSize& size1, const TSize& size2,
                                                                          TRect& bounds, TRect& textRect,
                                                                          TRect& arrowRect) const
{
    TRect borders;
    TSize arrow;
    bool hasText = false;
    SchedulerNavigationButtonSizes(isNextButton, borders, arrow, hasText);
    const int a3 = 3 * arrow.cy;
    if (isCollapsed || !hasText) {
        textRect = cxNullRect;
        bounds.Top = (bounds.Top + bounds.Bottom - borders.Top - borders.Bottom - a3) / 2;
        bounds.Bottom = bounds.Top + a3 + borders.Bottom + borders.Top;
        arrowRect = cxRectCenter(bounds, arrow.cx, arrow.cy);
        return;
    }
    const TRect content = cxRectContent(bounds, borders);
    arrowRect = cxRectCenter({content.Left, content.Top, content.Right, content.Top + a3}, arrow.cx, arrow.cy);
    textRect = {content.Left, content.Top + a3 + 5, content.Right, content.Bottom - 2 * arrow.cy};
    const int need = std::max(size1.cx, size2.cx) - (textRect.Bottom - textRect.Top);
    if (need > 0) {
        arrowRect = cxRectOffset(arrowRect, 0, -need);
        textRect = cxRectInflate(textRect, 0, need);
        bounds = cxRectInflate(bounds, 0, need);
    }
}

void TcxCustomLookAndFeelPainter::DrawSchedulerNavigationButton(TcxCanvas* canvas, const TRect& r,
                                                                bool isNextButton, TcxButtonState state,
                                                                const std::string& text, const TRect& textRect,
                                                                const TRect& arrowRect) const
{
    if (cxRectIsEmpty(textRect)) {
        DrawSchedulerNavigationButtonContent(canvas, r, arrowRect, isNextButton, state);
        return;
    }
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    TcxBitmap bitmap(w, h, pf32bit);
    bitmap.Canvas()->CopyRect({0, 0, w, h}, canvas->WrappedCanvas(), r);
    DrawSchedulerNavigationButtonContent(bitmap.ToolkitCanvas(), {0, 0, w, h},
                                         cxRectOffset(arrowRect, -r.Left, -r.Top), isNextButton, state);
    bitmap.Rotate(raMinus90);
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(canvas->GetFont());
    c->Font()->SetColor(SchedulerNavigationButtonTextColor(isNextButton, state, canvas->GetFont()->GetColor()));
    TRect t = cxRectBounds(r.Bottom - textRect.Bottom, textRect.Left - r.Left, textRect.Bottom - textRect.Top,
                           textRect.Right - textRect.Left);
    c->RequiredState();
    cxDrawText(c->GetHandle(), text, t, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    bitmap.Rotate(raPlus90);
    canvas->WrappedCanvas()->CopyRect(r, bitmap.Canvas(), {0, 0, w, h});
}

void TcxCustomLookAndFeelPainter::DrawSchedulerNavigationButtonContent(TcxCanvas* canvas, const TRect& bounds,
                                                                       const TRect& arrowRect, bool isNextButton,
                                                                       TcxButtonState state) const
{
    canvas->FillRect(bounds, clBtnFace);
    const TcxBorders sides = isNextButton ? cxBorder(bLeft) | cxBorder(bTop) | cxBorder(bBottom)
                                          : cxBorder(bTop) | cxBorder(bRight) | cxBorder(bBottom);
    canvas->DrawComplexFrame(bounds, clBtnShadow, clBtnShadow, sides, 1);
    TRect r = cxRectInflate(bounds, 0, -1);
    if (isNextButton)
        ++r.Left;
    else
        --r.Right;
    const bool pressed = state == cxbsPressed;
    canvas->DrawComplexFrame(r, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnFace, sides, 1);
    DrawSchedulerNavigationButtonArrow(canvas, arrowRect, isNextButton, ButtonSymbolColor(state, clDefault));
}

void TcxCustomLookAndFeelPainter::DrawSchedulerNavigationButtonArrow(TcxCanvas* canvas, const TRect& r,
                                                                     bool isNextButton, TColor color) const
{
    const int height = r.Bottom - r.Top, n = height / 2 + height % 2, step = isNextButton ? 1 : -1;
    const int x0 = isNextButton ? r.Left : r.Right - 2;
    TRect top{x0, r.Top, x0 + 2, r.Top + 1}, bottom{x0, r.Bottom - 1, x0 + 2, r.Bottom};
    for (int i = 0; i < n; ++i) {
        canvas->FillRect(top, color);
        canvas->FillRect(bottom, color);
        top = cxRectOffset(top, step, 1);
        bottom = cxRectOffset(bottom, step, -1);
    }
    const int x = isNextButton ? r.Right - 1 : r.Left;
    canvas->FillRect({x, r.Top, x + 1, r.Bottom}, color);
}

TColor TcxCustomLookAndFeelPainter::SchedulerNavigationButtonTextColor(bool, TcxButtonState state,
                                                                       TColor defaultColor) const
{
    return ButtonSymbolColor(state, defaultColor);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerEventProgress(TcxCanvas* canvas, const TRect& bounds,
                                                             const TRect& progress, const TcxViewParams& viewParams,
                                                             bool transparent) const
{
    if (transparent)
        canvas->FrameRect(bounds, clGray, 1, cxBordersAll);
    else
        canvas->FillRect(bounds, viewParams, cxBordersAll, clGray, 1);
    canvas->FillRect(progress, clNavy);
}

// ---- date navigator ----

void TcxCustomLookAndFeelPainter::DrawDateNavigatorDateHeader(TcxCanvas* canvas, TRect& r) const
{
    canvas->FillRect(r, DefaultDateNavigatorHeaderColor());
    canvas->DrawEdge(r, false, false, cxBordersAll);
    r = cxRectInflate(r, -1, -1);
}

// ---- clock ----

void TcxCustomLookAndFeelPainter::DrawClock(TcxCanvas* canvas, const TRect& r, double time,
                                            TColor backgroundColor) const
{
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const double rx = (r.Right - r.Left) / 2.0 - 2, ry = (r.Bottom - r.Top) / 2.0 - 2;
    const double pi = std::numbers::pi;
    for (int i = 0; i < 60; i += 5) {
        const int x = RoundEven(std::cos(2 * pi * i / 60) * rx + cx), y = RoundEven(std::sin(2 * pi * i / 60) * ry + cy);
        canvas->SetPixel(x, y, clTeal);
        canvas->GetPen()->SetColor(clAqua);
        const TPoint light[3] = {{x - 1, y + 1}, {x - 1, y - 1}, {x, y - 1}};
        canvas->Polyline(light, 2);
        canvas->GetPen()->SetColor(clBtnText);
        const TPoint dark[3] = {{x, y + 1}, {x + 1, y + 1}, {x + 1, y - 1}};
        canvas->Polyline(dark, 2);
        canvas->ExcludeClipRect({x - 1, y - 1, x + 2, y + 2});
    }
    canvas->FillRect(r, backgroundColor);

    int hour = 0, minute = 0, second = 0, msec = 0;
    rtl::DecodeTime(time, hour, minute, second, msec);
    auto hand = [&](double a, int width, double head, double tail) {
        const double hw = width / 2.0;
        const TPoint p[4] = {
            {RoundEven(std::cos(a) * head * rx + cx), RoundEven(std::sin(a) * head * ry + cy)},
            {RoundEven(std::cos(a + pi / 2) * hw + cx), RoundEven(std::sin(a + pi / 2) * hw + cy)},
            {RoundEven(std::cos(a + pi) * tail * rx + cx), RoundEven(std::sin(a + pi) * tail * ry + cy)},
            {RoundEven(std::cos(a + 3 * pi / 2) * hw + cx), RoundEven(std::sin(a + 3 * pi / 2) * hw + cy)}};
        canvas->SetPixel(p[0].X, p[0].Y, clTeal);
        canvas->GetPen()->SetColor(clTeal);
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(clTeal);
        canvas->Polygon(p, 3);
    };
    hand(((hour % 12) * 3600 + minute * 60 + second - 10800) * 2 * pi / 43200, 9, 0.75, 0.15);
    hand((minute * 60 + second - 900) * 2 * pi / 3600, 7, 0.85, 0.2);
    const double a = (second - 15) * 2 * pi / 60;
    canvas->GetPen()->SetColor(clRed);
    canvas->MoveTo(cx, cy);
    canvas->LineTo(RoundEven(std::cos(a) * 0.9 * rx + cx), RoundEven(std::sin(a) * 0.9 * ry + cy));
}

// ---- progress bar ----

void TcxCustomLookAndFeelPainter::DrawProgressBarText(TcxCanvas* canvas, bool vertical, bool solid,
                                                      const std::string& text, const TRect& textRect,
                                                      const TRect& progressBarRect, const TRect&,
                                                      TColor textColor) const
{
    canvas->SaveState();
    struct Restore {
        TcxCanvas* c;
        ~Restore() { c->RestoreState(); }
    } restore{canvas};
    if (vertical)
        canvas->SetFontAngle(270);
    const TColor color = solid && textColor != clDefault ? textColor : ProgressBarTextColor();
    const TPoint origin = vertical ? TPoint{textRect.Right, textRect.Top} : TPoint{textRect.Left, textRect.Top};
    TCanvas* c = canvas->WrappedCanvas();
    auto out = [&](TCanvas* target, const TPoint& at, TColor fontColor) {
        target->Brush()->SetStyle(bsClear);
        target->Font()->SetColor(fontColor);
        target->TextOut(at.X, at.Y, text);
    };
    if (solid) {
        out(c, origin, color);
        return;
    }
    if (ProgressBarTextColorEx(true) == clDefault) {
        // The characters invert whatever lies beneath them, so they stay readable over the
        // filled and the empty part alike.
        const int w = textRect.Right - textRect.Left, h = textRect.Bottom - textRect.Top;
        TBitmap mask;
        mask.SetPixelFormat(pf32bit);
        mask.SetSize(w, h);
        // The inverted picture of black text on white is white text on black; drawn so
        // directly, the pixels' top byte stays 0 and the exclusive-or leaves it alone.
        mask.Canvas()->Brush()->SetColor(clBlack);
        mask.Canvas()->FillRect({0, 0, w, h});
        mask.Canvas()->Font()->Assign(canvas->GetFont());
        out(mask.Canvas(), {origin.X - textRect.Left, origin.Y - textRect.Top}, clWhite);
        const DWORD mode = c->CopyMode;
        c->CopyMode = SRCINVERT;
        c->CopyRect(textRect, mask.Canvas(), {0, 0, w, h});
        c->CopyMode = mode;
        return;
    }
    // Two colours: the empty-part colour everywhere, then the filled part (progressBarRect)
    // restored and drawn again in the filled-part colour under a clip.
    const int w = progressBarRect.Right - progressBarRect.Left, h = progressBarRect.Bottom - progressBarRect.Top;
    TBitmap saved;
    saved.SetPixelFormat(pf32bit);
    saved.SetSize(std::max(w, 0), std::max(h, 0));
    saved.Canvas()->CopyRect({0, 0, w, h}, c, progressBarRect);
    out(c, origin, ProgressBarTextColorEx(false));
    c->CopyRect(progressBarRect, saved.Canvas(), {0, 0, w, h});
    canvas->IntersectClipRect(progressBarRect);
    out(c, origin, ProgressBarTextColorEx(true));
}

// ---- group boxes, panels, layout, print preview, calculator ----

TColor TcxCustomLookAndFeelPainter::GroupBoxTextColor(bool enabled, TcxGroupBoxCaptionPosition) const
{
    return enabled ? clWindowText : clBtnShadow;
}

void TcxCustomLookAndFeelPainter::DrawPanelBackground(TcxCanvas* canvas, rtl::TObject*, const TRect& r, TColor,
                                                      TColor) const
{
    DrawGroupBoxBackground(canvas, r, r);
}

void TcxCustomLookAndFeelPainter::DrawPanelCaption(TcxCanvas* canvas, const TRect& r,
                                                   TcxGroupBoxCaptionPosition position) const
{
    DrawGroupBoxCaption(canvas, r, position);
}

void TcxCustomLookAndFeelPainter::DrawPanelContent(TcxCanvas* canvas, const TRect& r, bool) const
{
    canvas->FillRect(r, clBtnFace);
}

void TcxCustomLookAndFeelPainter::DrawLayoutControlBackground(TcxCanvas* canvas, const TRect& r) const
{
    canvas->FillRect(r, LayoutControlEmptyAreaColor());
}

void TcxCustomLookAndFeelPainter::DrawPrintPreviewBackground(TcxCanvas* canvas, const TRect& r) const
{
    canvas->FillRect(r, clBtnShadow);
}

void TcxCustomLookAndFeelPainter::DrawPrintPreviewPageBackground(TcxCanvas* canvas, const TRect& borderRect,
                                                                 const TRect& contentRect, bool selected,
                                                                 bool drawContent) const
{
    ClipRegionSaver saver(canvas);
    TRect frame{borderRect.Left, borderRect.Top, borderRect.Right - 2, borderRect.Bottom - 2};
    if (drawContent)
        canvas->FillRect(contentRect, clWindow);
    if (!selected)
        frame = cxRectInflate(frame, -1, -1);
    canvas->ExcludeClipRect(contentRect);
    canvas->FillRect(frame, selected ? clHighlight : clWindowText);
    canvas->ExcludeClipRect(frame);
    canvas->FillRect(cxRectOffset(frame, 2, 2), clWindowText);
}

TColor TcxCustomLookAndFeelPainter::CalcEditButtonTextColor(TcxCalcEditButtonType type) const
{
    switch (type) {
    case cebtButton:
        return clMaroon;
    case cebtDigit:
        return clBlue;
    case cebtOperation:
        return clRed;
    case cebtFunction:
        return clNavy;
    }
    return clDefault;
}
