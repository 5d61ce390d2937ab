#include "toolkit/editors/cxControlsPainterSeam.h"

namespace cx {
namespace seam {

int TcxControlPainter::BorderSize() const { return 2; }

void TcxControlPainter::DrawBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->DrawEdge(r, true, true);
    TRect inner = r;
    inner.Left += 1, inner.Top += 1, inner.Right -= 1, inner.Bottom -= 1;
    canvas->DrawEdge(inner, true, false);
}

TColor TcxControlPainter::DefaultSizeGripAreaColor() const { return clBtnFace; }

void TcxControlPainter::DrawScrollBarBackground(TcxCanvas* canvas, const TRect& r, bool) const
{
    canvas->FillRect(r, clScrollBar);
}

void TcxControlPainter::DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r, TcxScrollBarPart part,
                                          TcxButtonState state) const
{
    if (part == sbpPageUp || part == sbpPageDown) {
        canvas->FillRect(r, state == cxbsPressed ? clBtnShadow : clScrollBar);
        return;
    }
    canvas->FillRect(r, clBtnFace);
    canvas->DrawEdge(r, state == cxbsPressed, true);
    if (part == sbpThumbnail)
        return;
    // A small filled triangle pointing away from the track's middle.
    const TColor color = state == cxbsDisabled ? clGrayText : clBtnText;
    const TPoint c{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    TPoint pts[3];
    const bool first = part == sbpLineUp;
    if (horizontal) {
        const int d = first ? -1 : 1;
        pts[0] = {c.X + 2 * d, c.Y};
        pts[1] = {c.X - 2 * d, c.Y - 4};
        pts[2] = {c.X - 2 * d, c.Y + 4};
    } else {
        const int d = first ? -1 : 1;
        pts[0] = {c.X, c.Y + 2 * d};
        pts[1] = {c.X - 4, c.Y - 2 * d};
        pts[2] = {c.X + 4, c.Y - 2 * d};
    }
    canvas->GetBrush()->SetColor(color);
    canvas->GetPen()->SetColor(color);
    canvas->Polygon(pts, 2);
}

TcxControlPainter* ClassicControlPainter()
{
    static TcxControlPainter painter;
    return &painter;
}

} // namespace seam
} // namespace cx
