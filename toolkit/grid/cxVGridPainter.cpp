#include "toolkit/grid/cxVGridPainter.h"
#include "toolkit/grid/cxVGridStyles.h"

#include <algorithm>

#include "platform/vcl/ImgList.h"
#include "toolkit/core/cxDrawTextUtils.h"
#include "toolkit/core/cxGeometry.h"

namespace cx {

// From cxVGridUtils, whose line list type the layout does not use yet.
TBrush* cxCreateHalftoneBrush(TColor color1, TColor color2);

namespace {

TRect Bar(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }

void FreeLineBrush(TBrush*& brush)
{
    if (!brush)
        return;
    delete brush->GetBitmap();
    delete brush;
    brush = nullptr;
}

TBrush* SolidBrush(TColor color)
{
    auto* brush = new TBrush;
    brush->SetColor(color);
    return brush;
}

TcxCaptionRowProperties* CaptionProperties(TcxCustomRow* row)
{
    return dynamic_cast<TcxCaptionRowProperties*>(row->PropertiesObject());
}

// A line filled with its brush when it has one, else with its colour.
TLineInfo LineOf(const TRect& r, TColor color, TBrush* brush = nullptr)
{
    return TLineInfo{r, brush != nullptr, brush, color};
}

} // namespace

// --- the grid's paint-style choices -----------------------------------------------------------
TcxvgCustomPaintStyleCalcHelperClass TcxCustomVerticalGrid::GetCalcHelperClass() const
{
    if (const_cast<TcxCustomVerticalGrid*>(this)->OptionsView()->PaintStyle() == psDelphi)
        return TcxvgCustomPaintStyleCalcHelperClass::Of<TcxvgStyle3DCalcHelper>();
    return TcxvgCustomPaintStyleCalcHelperClass::Of<TcxvgDotNetStyleCalcHelper>();
}

TcxvgPainterClass TcxCustomVerticalGrid::GetPainterClass() const
{
    if (const_cast<TcxCustomVerticalGrid*>(this)->OptionsView()->PaintStyle() == psDelphi)
        return TcxvgPainterClass::Of<TcxStyle3DPainter>();
    return TcxvgPainterClass::Of<TcxvgPainter>();
}

void TcxCustomVerticalGrid::Paint()
{
    // An editor placement left for the paint (after a scroll) happens before the cells are drawn;
    // a post waiting for the paint runs after it, as on every editing control.
    Controller()->BeforePaint();
    TcxControl::Paint();
    if (ViewInfo() && dynamic_cast<TcxvgDotNetStyleCalcHelper*>(ViewInfo()->CalcHelper())) {
        UniqueObject<TcxvgPainter> painter(GetPainterClass().Create(Canvas(), this));
        painter->DoPaint();
    }
    Controller()->AfterPaint();
}

// --- TcxvgDotNetStyleCalcHelper -------------------------------------------------------------------
TcxvgDotNetStyleCalcHelper::TcxvgDotNetStyleCalcHelper(TcxvgCustomViewInfo* viewInfo)
    : TcxvgCustomPaintStyleCalcHelper(viewInfo)
{
}

TcxvgDotNetStyleCalcHelper::~TcxvgDotNetStyleCalcHelper()
{
    FreeLineBrush(horzBrush_);
    FreeLineBrush(vertBrush_);
}

TcxCustomLookAndFeelPainterClass TcxvgDotNetStyleCalcHelper::Painter() const
{
    return ViewInfo()->Grid()->GetLookAndFeelPainter();
}

TcxvgOptionsView* TcxvgDotNetStyleCalcHelper::Options() const { return ViewInfo()->Grid()->OptionsView(); }

int TcxvgDotNetStyleCalcHelper::GetIndentWidth() { return Painter()->ExpandButtonSize() + 4; }

TColor TcxvgDotNetStyleCalcHelper::GetBandBorderColor() { return Options()->GridLineColor(); }

TBrush* TcxvgDotNetStyleCalcHelper::HorzLineBrush()
{
    if (!horzBrush_)
        horzBrush_ = CreateHorzLineBrush();
    return horzBrush_;
}

TBrush* TcxvgDotNetStyleCalcHelper::VertLineBrush()
{
    if (!vertBrush_)
        vertBrush_ = CreateVertLineBrush();
    return vertBrush_;
}

TBrush* TcxvgDotNetStyleCalcHelper::CreateHorzLineBrush() { return SolidBrush(Options()->GridLineColor()); }

TBrush* TcxvgDotNetStyleCalcHelper::CreateVertLineBrush() { return SolidBrush(Options()->GridLineColor()); }

void TcxvgDotNetStyleCalcHelper::AddDivider(std::vector<TLineInfo>& lines, const TRect& r, bool, TColor)
{
    if (ViewInfo()->DividerWidth() > 0)
        lines.push_back(LineOf(Bar(r.Right, r.Top, V(), r.Height() + H()), clNone, VertLineBrush()));
}

void TcxvgDotNetStyleCalcHelper::AddBoundHeaderLines(std::vector<TLineInfo>& lines, const TRect& headerRect,
                                                     int indentRight, const TRect& indentRect, bool)
{
    if (H() > 0 && headerRect.Right > indentRight)
        lines.push_back(LineOf(Bar(indentRight, indentRect.Bottom, headerRect.Right - indentRight, H()), clNone,
                         HorzLineBrush()));
}

void TcxvgDotNetStyleCalcHelper::AddHeaderIndentLines(std::vector<TLineInfo>& lines, const TRect& r, bool rightLine,
                                                      bool bottomLine, bool, const TcxViewParams& params)
{
    if (!ViewInfo()->ShowHeaders())
        return;
    if (rightLine && V() > 0)
        lines.push_back(LineOf(Bar(r.Right - V(), r.Top, V(), r.Height() + H()), clNone, VertLineBrush()));
    if (H() <= 0)
        return;
    const int w = r.Width() - (rightLine ? V() : 0);
    if (bottomLine)
        lines.push_back(LineOf(Bar(r.Left, r.Bottom, w, H()), clNone, HorzLineBrush()));
    else
        // No line under this indent: the gap takes the indent's own colour so the column runs on.
        lines.push_back(LineOf(Bar(r.Left, r.Bottom, w, H()), params.Color, nullptr));
}

TRect TcxvgDotNetStyleCalcHelper::GetCategoryFocusRect(TcxCustomRow* row, const TRect& textRect,
                                                       const TRect& headerRect, TFont* font)
{
    TcxCustomVerticalGrid* grid = ViewInfo()->Grid();
    TcxCaptionRowProperties* props = CaptionProperties(row);
    if (!props || !dynamic_cast<TcxCategoryRow*>(row) || grid->GetFocusedRow() != row || props->GetCaption().empty())
        return {};
    // Measured apart from any paint: the grid's own canvas has no device outside one.
    const TSize size = cxTextExtent(font, props->GetCaption());
    TRect r = textRect;
    switch (props->HeaderAlignmentHorz()) {
    case taLeftJustify: r.Right = std::min(r.Right, r.Left + size.cx); break;
    case taRightJustify: r.Left = std::max(r.Left, r.Right - size.cx); break;
    case taCenter:
        if (r.Width() > size.cx) {
            r.Left = (r.Left + r.Right - size.cx) / 2;
            r.Right = r.Left + size.cx;
        }
        break;
    }
    switch (props->HeaderAlignmentVert()) {
    case vaTop: r.Bottom = std::min(r.Bottom, r.Top + size.cy); break;
    case vaBottom: r.Top = std::max(r.Top, r.Bottom - size.cy); break;
    case vaCenter:
        if (r.Height() > size.cy) {
            r.Top = (r.Top + r.Bottom - size.cy) / 2;
            r.Bottom = r.Top + size.cy;
        }
        break;
    }
    TRect result;
    return cxRectIntersect(result, cxRectInflate(r, 1, 1), headerRect) ? result : TRect{};
}

// The layout's questions, answered with the same lines the painter asks for.
namespace {
void AppendLines(TLineInfoList& target, const std::vector<TLineInfo>& lines)
{
    for (const TLineInfo& line : lines) {
        if (line.IsBrush)
            target.Add(line.Rect, line.Brush);
        else
            target.Add(line.Rect, line.Color);
    }
}
} // namespace

void TcxvgDotNetStyleCalcHelper::AddBoundHeaderLines(TcxCustomRowHeaderInfo* headerInfo)
{
    std::vector<TLineInfo> lines;
    const TRect indent = headerInfo->IndentBounds;
    const int indentRight = cxRectIsEmpty(indent) ? headerInfo->HeaderRect.Left : indent.Right;
    AddBoundHeaderLines(lines, headerInfo->HeaderRect, indentRight, cxRectIsEmpty(indent) ? headerInfo->HeaderRect : indent,
                        dynamic_cast<TcxCategoryRow*>(headerInfo->Row()) != nullptr);
    AppendLines(headerInfo->LinesInfo, lines);
}

void TcxvgDotNetStyleCalcHelper::AddDivider(TLineInfoList* target, const TRect& rect, bool separator, TColor color)
{
    std::vector<TLineInfo> lines;
    AddDivider(lines, rect, separator, color);
    AppendLines(*target, lines);
}

void TcxvgDotNetStyleCalcHelper::AddHeaderIndentLines(TcxCustomRowHeaderInfo* headerInfo, const TRect& rect,
                                                      bool rightLine, bool bottomLine, bool isCategory,
                                                      const TcxViewParams& viewParams)
{
    std::vector<TLineInfo> lines;
    AddHeaderIndentLines(lines, rect, rightLine, bottomLine, isCategory, viewParams);
    AppendLines(headerInfo->LinesInfo, lines);
}

namespace {
void UniteInto(TRect& target, const TRect& r)
{
    target = cxRectIsEmpty(target) ? r : cxRectUnion(target, r);
}
} // namespace

TcxCustomRowViewInfo* TcxvgDotNetStyleCalcHelper::RecalcRow(TcxCustomRow* row, TcxCustomRow* nextRow,
                                                            TRect& updateRect)
{
    TcxCustomRowViewInfo* rowViewInfo = ViewInfo()->GetRowViewInfo(row);
    if (!rowViewInfo)
        return nullptr;
    UniteInto(updateRect, rowViewInfo->RowRect);
    rowViewInfo->Calc(rowViewInfo->RowRect, ViewInfo(), nextRow);
    return rowViewInfo;
}

void TcxvgDotNetStyleCalcHelper::ChangeFocusedRow(TcxCustomRow* newRow, TcxCustomRow* oldRow, TRect& updateRect)
{
    // Both rows are laid out again so their headers take the focus colours; a category whose
    // colour changed passes it on to the indents of its laid-out descendants.
    TcxCustomVerticalGrid* grid = ViewInfo()->Grid();
    bool previousChanged = false;
    for (TcxCustomRow* row : {newRow, oldRow}) {
        TcxCustomRowViewInfo* before = ViewInfo()->GetRowViewInfo(row);
        const TColor oldColor = before ? before->HeaderInfo()->IndentViewParams.Color : clNone;
        TcxCustomRowViewInfo* rowViewInfo = RecalcRow(row, grid->NextVisibleRow(row), updateRect);
        if (!rowViewInfo)
            continue;
        const bool changed = oldColor != rowViewInfo->HeaderInfo()->IndentViewParams.Color;
        if ((changed || previousChanged) && dynamic_cast<TcxCategoryRow*>(row))
            for (TcxCustomRow* next = grid->NextVisibleRow(row); next && row->IsParent(next);
                 next = grid->NextVisibleRow(next))
                if (TcxCustomRowViewInfo* child = ViewInfo()->GetRowViewInfo(next)) {
                    TcxCustomRowHeaderInfo* header = child->HeaderInfo();
                    header->Calc(header->HeaderRect, ViewInfo(), true, grid->NextVisibleRow(next));
                    UniteInto(updateRect, header->HeaderRect);
                }
        previousChanged = changed;
    }
}

TRect TcxvgDotNetStyleCalcHelper::GetCategoryFocusRect(TcxCustomRowHeaderInfo* headerInfo)
{
    if (headerInfo->CaptionCount() == 0)
        return {};
    return GetCategoryFocusRect(headerInfo->Row(), headerInfo->Captions(0)->CaptionTextRect, headerInfo->HeaderRect,
                                ViewInfo()->Grid()->CategoryFont());
}

TcxViewParams TcxvgDotNetStyleCalcHelper::GetIndentViewParams(TcxCustomRow* row, TcxCustomRow* parentRow)
{
    TcxCustomVerticalGrid* grid = ViewInfo()->Grid();
    return dynamic_cast<TcxCategoryRow*>(parentRow) ? grid->GetRowCategoryParams(parentRow)
                                                     : grid->GetRowHeaderParams(row);
}

// --- TcxvgStyle3DCalcHelper -----------------------------------------------------------------------
TColor TcxvgStyle3DCalcHelper::GetContentColor(bool focused)
{
    return focused ? Painter()->DefaultContentColor() : Painter()->DefaultHeaderColor();
}

TBrush* TcxvgStyle3DCalcHelper::CreateHorzLineBrush()
{
    return cxCreateHalftoneBrush(Options()->GridLineColor(), clBtnFace);
}

void TcxvgStyle3DCalcHelper::AddDivider(std::vector<TLineInfo>& lines, const TRect& r, bool separator, TColor color)
{
    if (ViewInfo()->DividerWidth() <= 0)
        return;
    int top = r.Top;
    int height = r.Height() + H();
    if (separator) {
        lines.push_back(LineOf(Bar(r.Right, r.Top, 2, 2), color));
        lines.push_back(LineOf(Bar(r.Right, r.Bottom - 2, 2, 2), color));
        top = r.Top + 2;
        height = r.Height() + H() - 5;
    }
    lines.push_back(LineOf(Bar(r.Right, top, 1, height), clBtnShadow));
    lines.push_back(LineOf(Bar(r.Right + 1, top, 1, height), clBtnHighlight));
}

void TcxvgStyle3DCalcHelper::AddBoundHeaderLines(std::vector<TLineInfo>& lines, const TRect& headerRect, int,
                                                 const TRect&, bool)
{
    if (H() > 0)
        lines.push_back(LineOf(Bar(headerRect.Left, headerRect.Bottom, headerRect.Width(), H()), clNone, HorzLineBrush()));
}

void TcxvgStyle3DCalcHelper::CalcPaintViewParamsLines(TcxCustomRowViewInfo* rowViewInfo, TcxCustomRow* nextRow)
{
    TcxCustomRow* focused = ViewInfo()->Grid()->GetFocusedRow();
    const TRect r = rowViewInfo->RowRect;
    const int w = r.Width();
    if (nextRow && nextRow == focused) {
        TcxCustomRowViewInfo* next = ViewInfo()->GetRowViewInfo(nextRow);
        if (next && next->BandIndex == rowViewInfo->BandIndex) {
            focusLines_.push_back(LineOf(Bar(r.Left, r.Bottom - 1, w, 1), cl3DDkShadow));
            focusLines_.push_back(LineOf(Bar(r.Left + 1, r.Bottom, w - 1, 1), clBtnShadow));
        }
    }
    if (rowViewInfo->Row() == focused) {
        focusLines_.push_back(LineOf(Bar(r.Left, r.Bottom - 1, w, 1), clBtnFace));
        focusLines_.push_back(LineOf(Bar(r.Left, r.Bottom, w, 1), clBtnHighlight));
        focusLines_.push_back(LineOf(Bar(r.Left, r.Top - 1, 1, r.Height() + 1), cl3DDkShadow));
        focusLines_.push_back(LineOf(Bar(r.Left + 1, r.Top, 1, r.Height() - 1), clBtnShadow));
    }
}

void TcxvgStyle3DCalcHelper::ChangeFocusedRow(TcxCustomRow* newRow, TcxCustomRow* oldRow, TRect& updateRect)
{
    // The row above each of the two carries part of the frame on its bottom: it is laid out too.
    TcxCustomVerticalGrid* grid = ViewInfo()->Grid();
    focusLines_.clear();
    for (TcxCustomRow* row : {newRow, oldRow}) {
        if (!RecalcRow(row, grid->NextVisibleRow(row), updateRect))
            continue;
        if (TcxCustomRow* above = grid->PrevVisibleRow(row))
            RecalcRow(above, row, updateRect);
    }
    if (H() == 0 && !cxRectIsEmpty(updateRect))
        ++updateRect.Bottom;
}

// --- TcxvgSkinCalcHelper --------------------------------------------------------------------------
TColor TcxvgSkinCalcHelper::GetCategoryTextColor()
{
    const TColor c = Painter()->DefaultVGridCategoryTextColor();
    return c == clDefault ? clGrayText : c;
}

TColor TcxvgSkinCalcHelper::GetHeaderColor()
{
    const TColor c = Painter()->DefaultVGridHeaderColor();
    return c == clDefault ? TcxvgDotNetStyleCalcHelper::GetHeaderColor() : c;
}

TColor TcxvgSkinCalcHelper::GetHeaderTextColor()
{
    const TColor c = Painter()->DefaultVGridHeaderTextColor();
    return c == clDefault ? TcxvgDotNetStyleCalcHelper::GetHeaderTextColor() : c;
}

TBrush* TcxvgSkinCalcHelper::CreateHorzLineBrush() { return SolidBrush(Painter()->DefaultVGridLineColor()); }

// --- TcxvgPainter ---------------------------------------------------------------------------------
TcxvgPainter::TcxvgPainter(TcxCanvas* canvas, TcxCustomVerticalGrid* grid) : canvas_(canvas), grid_(grid) {}

TcxvgCustomViewInfo* TcxvgPainter::ViewInfo() const { return grid_->ViewInfo(); }

TcxvgDotNetStyleCalcHelper* TcxvgPainter::Helper() const
{
    return static_cast<TcxvgDotNetStyleCalcHelper*>(ViewInfo()->CalcHelper());
}

void TcxvgPainter::DoPaint()
{
    DrawBackground();
    DrawRows();
    DrawLines(ViewInfo()->LinesInfo(), ViewInfo()->ClientRect());
    DrawStyleFeatures();
}

void TcxvgPainter::FillRect(const TRect& r, TBitmap* bitmap)
{
    if (bitmap && !bitmap->GetEmpty())
        canvas_->FillRect(r, bitmap);
    else
        canvas_->FillRect(r, canvas_->GetBrush()->GetColor());
}

TcxViewParams TcxvgPainter::GetBackgroundParams() const { return grid_->Styles()->GetBackgroundParams(); }

void TcxvgPainter::DrawBackground()
{
    const TcxViewParams params = GetBackgroundParams();
    for (const TRect& r : ViewInfo()->EmptyRects()) {
        bool done = false;
        if (grid_->OnDrawBackground)
            grid_->OnDrawBackground(grid_, canvas_, r, params, done);
        if (done)
            continue;
        canvas_->SetBrushColor(params.Color);
        FillRect(r, params.Bitmap);
    }
}

void TcxvgPainter::DrawRows()
{
    for (TcxCustomRowViewInfo* rowViewInfo : ViewInfo()->RowsViewInfo())
        if (canvas_->RectVisible(rowViewInfo->RowRect))
            DrawRow(rowViewInfo);
}

void TcxvgPainter::DrawRow(TcxCustomRowViewInfo* rowViewInfo)
{
    TcxCustomRowHeaderInfo* header = rowViewInfo->HeaderInfo();
    bool done = false;
    if (grid_->OnDrawRowHeader)
        grid_->OnDrawRowHeader(grid_, canvas_, this, rowViewInfo, done);
    if (dynamic_cast<TcxCategoryRow*>(rowViewInfo->Row())) {
        if (!done)
            DrawCategoryRowHeader(rowViewInfo);
        DrawLines(header->LinesInfo, rowViewInfo->RowRect);
        return;
    }
    if (!done)
        DrawRowHeader(rowViewInfo);
    for (int i = 0; i < rowViewInfo->ValueCount(); ++i)
        DrawValue(rowViewInfo, i);
    DrawLines(header->LinesInfo, rowViewInfo->RowRect);
}

void TcxvgPainter::DrawCategoryRowHeader(TcxCustomRowViewInfo* rowViewInfo)
{
    // No explorer-bar theme exists in this system: categories share the ordinary header.
    DrawRowHeader(rowViewInfo);
}

void TcxvgPainter::DrawRowHeader(TcxCustomRowViewInfo* rowViewInfo)
{
    TcxCustomRowHeaderInfo* header = rowViewInfo->HeaderInfo();
    DrawRowIndent(rowViewInfo);
    for (int i = 0; i < header->CaptionCount(); ++i)
        DrawRowHeaderCell(header->Captions(i), header->Transparent);
    if (!cxRectIsEmpty(header->FocusRect))
        canvas_->DrawFocusRect(header->FocusRect);
}

void TcxvgPainter::DrawRowIndent(TcxCustomRowViewInfo* rowViewInfo)
{
    TcxCustomRowHeaderInfo* header = rowViewInfo->HeaderInfo();
    if (header->Transparent)
        return;
    for (const TIndentInfoList* list : {&header->CategoryIndents, &header->RowIndents})
        for (int i = 0; i < list->Count(); ++i) {
            const TIndentInfo& indent = list->Items(i);
            canvas_->SetBrushColor(indent.ViewParams.Color);
            FillRect(indent.Rect, indent.ViewParams.Bitmap);
        }
    // Painted into the buffer, the button comes last, over its indent cell.
    DrawButton(rowViewInfo);
}

void TcxvgPainter::DrawButton(TcxCustomRowViewInfo* rowViewInfo)
{
    TcxCustomRowHeaderInfo* header = rowViewInfo->HeaderInfo();
    if (cxRectIsEmpty(header->ButtonRect))
        return;
    grid_->GetLookAndFeelPainter()->DrawExpandButton(canvas_, header->ButtonRect, rowViewInfo->Row()->Expanded(),
                                                     header->ButtonColor);
}

void TcxvgPainter::DrawRowHeaderCell(TcxRowCaptionInfo* caption, bool transparent)
{
    canvas_->SetParams(caption->ViewParams);
    if (!transparent)
        FillRect(caption->CaptionRect, caption->ViewParams.Bitmap);
    canvas_->GetBrush()->SetStyle(bsClear);
    TRect text = caption->CaptionTextRect;
    if (!caption->Caption.empty() && !cxRectIsEmpty(text))
        cxTextOut(canvas_->WrappedCanvas(), caption->Caption, text, caption->TextFlags | CXTO_SINGLELINE);
    canvas_->GetBrush()->SetStyle(bsSolid);
    DrawImage(caption);
}

void TcxvgPainter::DrawImage(TcxRowCaptionInfo* caption)
{
    if (caption->ImageIndex < 0 || !caption->Images)
        return;
    const TRect clip = cxvgRectAnd(caption->ImageRect, caption->CaptionRect);
    if (cxRectIsEmpty(clip))
        return;
    canvas_->SaveClipRegion();
    try {
        canvas_->IntersectClipRect(clip);
        caption->Images->Draw(canvas_->WrappedCanvas(), caption->ImageRect.Left, caption->ImageRect.Top,
                              caption->ImageIndex, true);
    } catch (...) {
        canvas_->RestoreClipRegion();
        throw;
    }
    canvas_->RestoreClipRegion();
}

void TcxvgPainter::DrawValue(TcxCustomRowViewInfo* rowViewInfo, int valueIndex)
{
    TcxRowValueInfo* cell = rowViewInfo->ValuesInfo(valueIndex);
    if (!cell->IsVisiblePart() || !canvas_->RectVisible(cell->VisibleBounds))
        return;
    cell->CheckVisibleInfo();
    canvas_->SaveState();
    TFont* savedFont = cell->CellEditViewInfo ? cell->CellEditViewInfo->Font : nullptr;
    const TcxViewParams saved = cell->ViewParams;
    auto restore = [&] {
        cell->ViewParams = saved;
        if (cell->CellEditViewInfo) {
            cell->CellEditViewInfo->Font = savedFont;
            cell->CellEditViewInfo->TextColor = saved.TextColor;
            cell->CellEditViewInfo->BackgroundColor = saved.Color;
        }
        canvas_->RestoreState();
    };
    try {
        canvas_->SetParams(cell->ViewParams);
        bool done = false;
        if (grid_->OnDrawValue)
            grid_->OnDrawValue(grid_, canvas_, this, rowViewInfo, valueIndex, done);
        if (!done) {
            // What a handler left on the canvas is the cell's look for this paint.
            cell->ViewParams.Color = canvas_->GetBrush()->GetColor();
            cell->ViewParams.TextColor = canvas_->GetFont()->GetColor();
            if (cell->CellEditViewInfo) {
                cell->CellEditViewInfo->Font = canvas_->GetFont();
                cell->CellEditViewInfo->TextColor = cell->ViewParams.TextColor;
                cell->CellEditViewInfo->BackgroundColor = cell->ViewParams.Color;
            }
            DrawRowValueCell(rowViewInfo, valueIndex);
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TcxvgPainter::DrawRowValueCell(TcxCustomRowViewInfo* rowViewInfo, int valueIndex)
{
    TcxRowValueInfo* cell = rowViewInfo->ValuesInfo(valueIndex);
    const TRect r = cell->Bounds;
    if (cxRectIsEmpty(r))
        return;
    if (cell->ViewParams.Bitmap && !cell->ViewParams.Bitmap->GetEmpty())
        canvas_->FillRect(r, cell->ViewParams.Bitmap);
    if (cell->CellEditViewInfo) {
        // The value is drawn on the device context: its font must be the selected one (a fresh
        // buffer bitmap still has the stock font).
        canvas_->WrappedCanvas()->RequiredState();
        cell->CellEditViewInfo->PaintEx(canvas_);
    } else if (!cell->GetTransparent())
        canvas_->FillRect(r, cell->ViewParams.Color);
    if (cell->GetFocused() && Helper()->IsDrawValueFocusRect() && !cxRectIsEmpty(cell->FocusRect))
        canvas_->DrawFocusRect(r);
}

void TcxvgPainter::DrawHeaderDragImage(TcxCustomRowViewInfo* rowViewInfo)
{
    TcxCustomRowHeaderInfo* header = rowViewInfo->HeaderInfo();
    for (int i = 0; i < header->CaptionCount(); ++i)
        DrawRowHeaderCell(header->Captions(i), false);
    if (dynamic_cast<TcxMultiEditorRowHeaderInfo*>(header))
        DrawLines(header->LinesInfo, header->HeaderRect);
    TRect r = header->HeaderRect;
    r.Left = header->IndentBounds.Right;
    canvas_->FrameRect(r, Helper()->GetBandBorderColor());
}

void TcxvgPainter::DrawLines(const std::vector<TLineInfo>& lines, const TRect&)
{
    for (const TLineInfo& line : lines) {
        if (line.IsBrush && line.Brush) {
            // The brush itself goes onto the canvas so a halftone pattern paints as a pattern.
            canvas_->SetBrush(line.Brush);
            canvas_->WrappedCanvas()->FillRect(line.Rect);
            canvas_->GetBrush()->SetBitmap(nullptr);
        } else
            canvas_->FillRect(line.Rect, line.Color);
    }
}

void TcxvgPainter::DrawLines(const TLineInfoList& lines, const TRect& clipRect)
{
    std::vector<TLineInfo> items;
    items.reserve(static_cast<std::size_t>(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i)
        items.push_back(lines.Items(i));
    DrawLines(items, clipRect);
}

// --- TcxStyle3DPainter ----------------------------------------------------------------------------
void TcxStyle3DPainter::DrawStyleFeatures()
{
    TcxvgDotNetStyleCalcHelper* helper = Helper();
    helper->ClearFocusLines();
    const auto& rows = ViewInfo()->RowsViewInfo();
    for (TcxCustomRowViewInfo* rowViewInfo : rows)
        helper->CalcPaintViewParamsLines(rowViewInfo, Grid()->NextVisibleRow(rowViewInfo->Row()));
    DrawLines(helper->FocusLines(), ViewInfo()->ClientRect());
}

} // namespace cx
