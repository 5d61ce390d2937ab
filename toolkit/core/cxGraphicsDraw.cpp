// Small drawing procedures of cxGraphics that painters share.
#include "toolkit/core/cxGraphics.h"

#include "platform/gdi/Text.h"

using namespace gdi;

void ExtendRect(TRect& r, const TRect& e)
{
    r.Left += e.Left;
    r.Top += e.Top;
    r.Right -= e.Right;
    r.Bottom -= e.Bottom;
}

bool IsGlyphAssigned(TBitmap* glyph) { return glyph && !glyph->GetEmpty(); }

void cxDrawBitmap(HDC dc, TBitmap* source, const TRect& d, const TPoint& sp, DWORD rop)
{
    if (!dc || !source)
        return;
    BitBlt(*dc, d.Left, d.Top, d.Width(), d.Height(), source->Canvas()->GetHandle(), sp.X, sp.Y, rop);
}

void cxFillHalfToneRect(TCanvas* canvas, const TRect& r, TColor background, TColor foreground)
{
    HDC dc = canvas->GetHandle();
    if (!dc)
        return;
    const COLORREF bk = SetBkColor(*dc, ColorToRef(background));
    const COLORREF text = SetTextColor(*dc, ColorToRef(foreground));
    FillRect(*dc, r, HalftoneBrush());
    SetBkColor(*dc, bk);
    SetTextColor(*dc, text);
}

void cxApplyViewParams(TcxCanvas* canvas, const TcxViewParams& params)
{
    canvas->SetFont(params.Font);
    canvas->GetFont()->SetColor(params.TextColor);
    canvas->GetBrush()->SetColor(params.Color);
}

void cxSetCanvasOrg(TCanvas* canvas, TRect& r)
{
    HDC dc = canvas->GetHandle();
    if (!dc)
        return;
    const TPoint old = SetWindowOrgEx(*dc, r.Left, r.Top);
    r.Left = old.X;
    r.Top = old.Y;
}

void cxDrawArrows(TCanvas* canvas, const TRect& r, TcxBorder side, TColor color, TColor penColor)
{
    static const TPoint vertical[2][7] = {{{0, -1}, {-5, -6}, {-2, -6}, {-2, -9}, {2, -9}, {2, -6}, {5, -6}},
                                          {{0, 0}, {5, 5}, {2, 5}, {2, 8}, {-2, 8}, {-2, 5}, {-5, 5}}};
    static const TPoint horizontal[2][7] = {{{-1, 0}, {-6, -5}, {-6, -2}, {-9, -2}, {-9, 2}, {-6, 2}, {-6, 5}},
                                            {{0, 0}, {5, 5}, {5, 2}, {8, 2}, {8, -2}, {5, -2}, {5, -5}}};
    TPoint anchors[2];
    switch (side) {
    case bLeft: anchors[0] = {r.Left, r.Top}; anchors[1] = {r.Left, r.Bottom}; break;
    case bTop: anchors[0] = {r.Left, r.Top}; anchors[1] = {r.Right, r.Top}; break;
    case bRight: anchors[0] = {r.Right, r.Top}; anchors[1] = {r.Right, r.Bottom}; break;
    case bBottom: anchors[0] = {r.Left, r.Bottom}; anchors[1] = {r.Right, r.Bottom}; break;
    }
    const auto& shapes = (side == bTop || side == bBottom) ? horizontal : vertical;
    canvas->Brush()->SetColor(color);
    canvas->Pen()->SetColor(penColor == clDefault ? TColor(ColorToRGB(color) ^ 0xFFFFFF) : penColor);
    for (int i = 0; i < 2; ++i) {
        TPoint points[7];
        for (int k = 0; k < 7; ++k)
            points[k] = {shapes[i][k].X + anchors[i].X, shapes[i][k].Y + anchors[i].Y};
        canvas->Polygon(points, 6);
    }
}
