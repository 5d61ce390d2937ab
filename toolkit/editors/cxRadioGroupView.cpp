// The radio group painted without child controls: cells laid out in columns like the control's
// buttons, the painter's radio glyphs (the checked item, or the first in preview mode) and the
// captions beside them.
#include "toolkit/editors/cxRadioGroup.h"

#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxLookAndFeels.h"

#include <algorithm>

namespace cx {

namespace {
// The in-place cell metrics of the radio group (no visual styles here).
constexpr int kButtonLeftOffset = 1, kColumnWidthCorrection = -2, kColumnOffset = 0, kGlyphTextGap = 7;
} // namespace

void TcxCustomRadioGroupViewInfo::Offset(int dx, int dy)
{
    TcxCustomEditViewInfo::Offset(dx, dy);
    for (TRect& r : Cells)
        r = cxRectOffset(r, dx, dy);
}

TRect TcxCustomRadioGroupViewInfo::GetGlyphRect(int index) const
{
    const TRect& cell = Cells[std::size_t(index)];
    const int top = cell.Top + (cell.Height() - GlyphSize.cy) / 2;
    return cxRectBounds(cell.Left + 1, top, GlyphSize.cx, GlyphSize.cy);
}

void TcxCustomRadioGroupViewInfo::InternalPaint(TcxCanvas* canvas)
{
    DrawCustomEdit(canvas, true, bpsSolid);
    TcxCustomLookAndFeelPainterClass painter = Painter;
    if (!painter && EditProperties)
        painter = TcxCustomLookAndFeelPainter::Class();
    const bool transparent = IsTransparent();
    for (int i = 0; i < int(Cells.size()); ++i) {
        const TRect& cell = Cells[std::size_t(i)];
        canvas->SaveClipRegion();
        canvas->IntersectClipRect(cell);
        const TRect glyph = GetGlyphRect(i);
        const TcxButtonState state = Enabled ? cxbsNormal : cxbsDisabled;
        painter->DrawRadioButton(canvas, glyph.Left, glyph.Top, state, i == ItemIndex, false,
                                 transparent ? clDefault : BackgroundColor, IsDesigning);
        TRect text{glyph.Right + GlyphTextGap - 2, cell.Top, cell.Right, cell.Bottom};
        text = cxRectInflate(text, -5, 0, -1, 0);
        canvas->SetFont(Font);
        canvas->GetFont()->SetColor(TextColor);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->DrawTexT(Captions[std::size_t(i)], text, DrawTextFlags, Enabled);
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->RestoreClipRegion();
    }
}

void TcxCustomRadioGroupViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                            TcxMouseButton button, TShiftState shift,
                                            TcxCustomEditViewInfo* viewInfo, bool isMouseEvent)
{
    TcxCustomEditViewData::Calculate(canvas, bounds, p, button, shift, viewInfo, isMouseEvent);
    auto* vi = dynamic_cast<TcxCustomRadioGroupViewInfo*>(viewInfo);
    auto* props = dynamic_cast<TcxCustomRadioGroupProperties*>(Properties());
    if (!vi || !props)
        return;
    TcxCustomLookAndFeelPainterClass painter = vi->Painter ? vi->Painter : GetStyle()->GetLookAndFeel()->GetPainter();
    vi->Painter = painter;
    vi->GlyphSize = painter->RadioButtonSize();
    vi->GlyphTextGap = kGlyphTextGap;
    vi->DrawTextFlags = cxtfLeft | cxtfVCenter | (props->WordWrap() ? cxtfWordBreak : cxtfSingleLine);
    const int n = props->Items()->Count();
    vi->Cells.clear();
    vi->Captions.clear();
    if (n == 0)
        return;
    const int columns = std::max(1, props->GetColumnCount());
    const int per = std::max(1, (n + columns - 1) / columns);
    const TRect client = vi->ClientRect;
    const int w = (client.Width() + kColumnWidthCorrection - (columns - 1) * kColumnOffset) / columns;
    const int rowHeight = client.Height() / per;
    const int top = client.Top + (client.Height() % per) / 2;
    for (int i = 0; i < n; ++i) {
        const int column = i / per, row = i % per;
        const int left = client.Left + (w + kColumnOffset) * column + kButtonLeftOffset;
        vi->Cells.push_back(cxRectBounds(left, top + rowHeight * row, w, rowHeight));
        vi->Captions.push_back(props->Items()->Items(i)->Caption());
    }
}

void TcxCustomRadioGroupViewData::EditValueToDrawValue(TcxCanvas*, const Variant& value,
                                                       TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = dynamic_cast<TcxCustomRadioGroupViewInfo*>(viewInfo);
    auto* props = dynamic_cast<TcxCustomRadioGroupProperties*>(Properties());
    if (!vi || !props)
        return;
    vi->ItemIndex = PreviewMode ? 0 : props->GetRadioGroupItemIndex(value);
    if (GetPaintOptions().Contains(epoAutoHeight))
        vi->PaintOptions.Include(epoAutoHeight);
}

TcxEditMetrics TcxCustomRadioGroupViewData::GetEditMetrics() const
{
    const bool inplace = IsInplace();
    TcxEditMetrics m;
    m.TextLeftOffset = 3;
    m.WidthCorrection = inplace ? -5 : -6;
    m.GlyphTextGap = kGlyphTextGap;
    m.AutoWidthCorrection = inplace ? 1 : 6;
    m.ButtonLeftOffset = inplace ? kButtonLeftOffset : 6;
    m.ColumnWidthCorrection = inplace ? kColumnWidthCorrection : -6;
    m.ColumnOffset = kColumnOffset;
    const TSize glyph = GetStyle()->GetLookAndFeel()->GetPainter()->RadioButtonSize();
    m.GlyphWidth = glyph.cx;
    m.GlyphHeight = glyph.cy;
    return m;
}

int TcxCustomRadioGroupViewData::GetTextRowHeight(TcxCanvas* canvas)
{
    canvas->SetFont(GetStyle()->GetVisibleFont());
    return canvas->TextHeight("Zg") + GetEditContentDefaultOffsets().Top;
}

int TcxCustomRadioGroupViewData::GetButtonRowsHeight(TcxCanvas* canvas, int width)
{
    const int textRow = GetTextRowHeight(canvas);
    auto* props = dynamic_cast<TcxCustomRadioGroupProperties*>(Properties());
    const int n = props ? props->Items()->Count() : 0;
    if (n == 0)
        return textRow;
    const TcxEditMetrics m = GetEditMetrics();
    const TRect offsets = GetEditContentDefaultOffsets();
    const int columns = std::max(1, props->GetColumnCount());
    const int per = std::max(1, (n + columns - 1) / columns);
    const int t = std::max(1, (width + m.WidthCorrection - offsets.Left - offsets.Right -
                               (columns - 1) * m.ColumnOffset) / columns - m.GlyphWidth - m.TextLeftOffset);
    int rowHeight = textRow;
    if (props->WordWrap())
        for (int i = 0; i < n; ++i) {
            const std::string& caption = props->Items()->Items(i)->Caption();
            if (caption.empty())
                continue;
            TRect r{0, 0, t, 0};
            canvas->TextExtent(caption, r, cxtfLeft | cxtfTop | cxtfWordBreak | cxtfShowPrefix | cxtfCalcRect);
            rowHeight = std::max(rowHeight, r.Height() + offsets.Top);
        }
    return rowHeight * per;
}

TSize TcxCustomRadioGroupViewData::InternalGetEditConstantPartSize(TcxCanvas* canvas, bool isInplace,
                                                                   const TcxEditSizeProperties& sizeProperties,
                                                                   TSize& minContentSize,
                                                                   TcxCustomEditViewInfo* viewInfo)
{
    TSize frame = TcxCustomEditViewData::InternalGetEditConstantPartSize(canvas, isInplace, sizeProperties,
                                                                        minContentSize, viewInfo);
    auto* props = dynamic_cast<TcxCustomRadioGroupProperties*>(Properties());
    if (!props || !canvas)
        return frame;
    const int n = props->Items()->Count();
    if (sizeProperties.Width >= 0)
        return {sizeProperties.Width, frame.cy + GetButtonRowsHeight(canvas, sizeProperties.Width)};
    const int textRow = GetTextRowHeight(canvas);
    if (n == 0)
        return {frame.cx, frame.cy + textRow};
    const TcxEditMetrics m = GetEditMetrics();
    const int columns = std::max(1, props->GetColumnCount());
    const int per = std::max(1, (n + columns - 1) / columns);
    int widest = 0;
    for (int i = 0; i < n; ++i)
        widest = std::max(widest, canvas->TextWidth(props->Items()->Items(i)->Caption()));
    const int width =
        (widest + m.GlyphTextGap + m.GlyphWidth) * columns + (columns - 1) * m.ColumnOffset + m.AutoWidthCorrection;
    return {frame.cx + width, frame.cy + std::max(m.GlyphHeight, textRow) * per};
}

TcxCustomEditViewDataClass TcxCustomRadioGroupProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxCustomRadioGroupViewData>();
}

TcxCustomEditViewInfoClass TcxCustomRadioGroupProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxCustomRadioGroupViewInfo>();
}

} // namespace cx
