// Row header layout: indents, expand button, captions, the header's lines and focus rectangle.
#include "toolkit/grid/cxVGridHeaders.h"

#include <algorithm>

#include "platform/vcl/ImgList.h"

#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

namespace {
// A caption's text sits where an in-place text editor would draw it in the same cell.
TRect CaptionTextOffsets(TAlignment alignment) { return GetTextEditDrawTextOffset(alignment, true); }

TcxCaptionRowProperties* CaptionPropertiesOf(TcxCustomRow* row)
{
    return dynamic_cast<TcxCaptionRowProperties*>(row->PropertiesObject());
}
} // namespace

// --- TcxRowCaptionInfo --------------------------------------------------------------------------
TcxRowCaptionInfo::~TcxRowCaptionInfo() = default;

bool TcxRowCaptionInfo::IsNeedHint(TcxCanvas* canvas, const TPoint& point, bool& isHintAtMousePos, TRect& hintRect,
                                   bool& isMultiLine, std::string& text)
{
    // A multi-editor row's caption shows its own editor's hint.
    TcxCaptionRowProperties* properties = CaptionPropertiesOf(Row);
    if (auto* multi = dynamic_cast<TcxMultiEditorRowProperties*>(Row->PropertiesObject());
        multi && RowCellIndex < multi->Editors()->Count())
        properties = multi->Editors()->GetItem(RowCellIndex);
    std::string hint = properties ? properties->Hint : std::string();
    TFont* font = ViewParams.Font ? ViewParams.Font : (Row->VerticalGrid() ? Row->VerticalGrid()->Font() : nullptr);
    if (canvas && font)
        canvas->SetFont(font);
    isMultiLine = false;
    if (!hint.empty()) {
        text = hint;
        TSize extent = font ? cxTextExtent(font, hint) : TSize{0, 0};
        hintRect = TRect{CaptionRect.Left, CaptionRect.Top, CaptionRect.Left + extent.cx, CaptionRect.Top + extent.cy};
        isHintAtMousePos = true;
        return true;
    }
    text = Caption;
    hintRect = CaptionTextRect;
    if (HeaderInfo)
        hintRect = cxvgRectAnd(hintRect, HeaderInfo->HeaderRect);
    if (Row->VerticalGrid())
        hintRect = cxvgRectAnd(hintRect, Row->VerticalGrid()->GetClientBounds());
    isHintAtMousePos = false;
    TSize extent = font ? cxTextExtent(font, text) : TSize{0, 0};
    return hintRect.Width() < extent.cx - 1 || hintRect.Height() < extent.cy - 1;
}

// --- TcxCustomRowHeaderInfo -----------------------------------------------------------------------
TcxCustomRowHeaderInfo::~TcxCustomRowHeaderInfo() = default;

void TcxCustomRowHeaderInfo::AddCaption(TcxRowCaptionInfo* caption)
{
    caption->HeaderInfo = this;
    captions_.emplace_back(caption);
}

void TcxCustomRowHeaderInfo::Clear()
{
    captions_.clear();
    LinesInfo.Clear();
    CategoryIndents.Clear();
    RowIndents.Clear();
    ButtonRect = TRect{};
    FocusRect = TRect{};
}

TcxvgPaintStyle TcxCustomRowHeaderInfo::GetPaintStyle() const
{
    return row_->VerticalGrid()->OptionsView()->PaintStyle();
}

void TcxCustomRowHeaderInfo::Calc(const TRect& headerRect, TcxvgCustomViewInfo* viewInfo, bool calculate,
                                  TcxCustomRow* nextRow)
{
    viewInfo_ = viewInfo;
    Clear();
    Transparent = false;
    HeaderRect = headerRect;
    Focused = viewInfo->Grid()->GetFocusedRow() == row_;
    CalcViewParams(calculate);
    CalcIndentBounds(nextRow, calculate);
    CalcExpandButton();
    AddBoundHeaderLines();
    HeaderCellsRect = TRect{IndentBounds.Right, headerRect.Top, headerRect.Right, headerRect.Bottom};
    if (cxRectIsEmpty(HeaderCellsRect)) {
        HeaderCellsRect = TRect{};
        return;
    }
    AddRightVertLine(headerRect);
    CalcRowCaptionsInfo();
    FocusRect = GetFocusRect();
}

bool TcxCustomRowHeaderInfo::GetShowButton() const
{
    TcxvgOptionsView* options = row_->VerticalGrid()->OptionsView();
    return options->ShowButtons() && options->ShowHeaders() && row_->Options()->ShowExpandButton() &&
           row_->HasVisibleChildren();
}

void TcxCustomRowHeaderInfo::CalcExpandButton()
{
    if (!GetShowButton())
        return;
    DoCalcExpandButton();
    ButtonColor = GetButtonColor();
}

void TcxCustomRowHeaderInfo::CalcViewParams(bool allowFocus)
{
    TcxCustomVerticalGrid* grid = row_->VerticalGrid();
    IndentViewParams = grid->GetRowHeaderParams(row_);
    ViewParams = allowFocus && Focused && GetPaintStyle() == psdotNet ? grid->GetRowSelectedHeaderParams(row_)
                                                                      : IndentViewParams;
}

TIndentRectInfoList* TcxCustomRowHeaderInfo::CalcIndentsInfo(int levelCount, TcxCustomRow* nextRow)
{
    auto* list = new TIndentRectInfoList;
    TcxvgCustomPaintStyleCalcHelper* helper = viewInfo_->CalcHelper();
    int rowLevel = row_->GetLevel();
    TcxCustomRow* r = row_;
    for (int j = 0; j <= levelCount && r; ++j, r = r->GetParent()) {
        bool isCategory = dynamic_cast<TcxCategoryRow*>(r) != nullptr;
        bool bottomLine = isCategory ? !(nextRow && r->GetLevel() < nextRow->GetLevel()) : r->GetLevel() == rowLevel;
        TcxViewParams params = helper ? helper->GetIndentViewParams(row_, r) : IndentViewParams;
        list->Add(TSize{viewInfo_->RowIndentWidth(), HeaderRect.Height()}, isCategory, params, bottomLine);
    }
    return list;
}

void TcxCustomRowHeaderInfo::CalcIndentBounds(TcxCustomRow* nextRow, bool calculate)
{
    const int h = HeaderRect.Height();
    TRect pending{HeaderRect.Left, HeaderRect.Top, HeaderRect.Left, HeaderRect.Top + h};
    if (!calculate) {
        IndentBounds = pending;
        return;
    }
    const int v = viewInfo_->VertLineWidth();
    const int n = row_->VerticalGrid()->OptionsView()->ShowHeaders() ? row_->GetLevel() : -1;
    std::unique_ptr<TIndentRectInfoList> list(CalcIndentsInfo(n, nextRow));
    const int nextLevel = nextRow ? nextRow->GetLevel() : -1;
    int x = 0;
    int lastPlain = 0;
    for (int i = 0; i <= n; ++i) {
        const TIndentRectInfo& item = list->Items(n - i);
        if (item.IsCategory) {
            if (pending.Width() > 0) {
                pending.Right += v;
                TRect clipped = cxvgRectAnd(pending, HeaderRect);
                if (!cxRectIsEmpty(clipped))
                    AddNextIndentInfo(clipped, list->Items(n - lastPlain).ViewParams, true, nextLevel - i <= 0, false);
                x += v;
            }
            TRect cell{HeaderRect.Left + x, HeaderRect.Top, HeaderRect.Left + x + item.Width + v,
                       HeaderRect.Top + item.Height};
            if (!cxRectIsEmpty(cxvgRectAnd(cell, HeaderRect)))
                AddNextIndentInfo(cell, item.ViewParams, i < n, item.BottomLine, true);
            if (i < n || IncreaseBoundsByLastVertLine())
                x += v;
            pending = TRect{HeaderRect.Left + x + item.Width, HeaderRect.Top, HeaderRect.Left + x + item.Width,
                            HeaderRect.Top + h};
        } else {
            pending.Right += item.Width;
            lastPlain = i;
        }
        x += item.Width;
    }
    TRect clipped = cxvgRectAnd(pending, HeaderRect);
    if (!cxRectIsEmpty(clipped) && n >= 0)
        AddNextIndentInfo(clipped, list->Items(n - lastPlain).ViewParams, false, true, false);
    IndentBounds = TRect{HeaderRect.Left, HeaderRect.Top, HeaderRect.Left + x, HeaderRect.Top + h};
}

void TcxCustomRowHeaderInfo::AddNextIndentInfo(const TRect& rect, const TcxViewParams& viewParams, bool rightLine,
                                               bool bottomLine, bool isCategory)
{
    (isCategory ? CategoryIndents : RowIndents).Add(rect, viewParams);
    if (TcxvgCustomPaintStyleCalcHelper* helper = viewInfo_->CalcHelper())
        helper->AddHeaderIndentLines(this, rect, rightLine, bottomLine, isCategory, viewParams);
}

int TcxCustomRowHeaderInfo::GetButtonPlaceBackgroundWidth() const
{
    return viewInfo_->RowIndentWidth();
}

void TcxCustomRowHeaderInfo::DoCalcExpandButton()
{
    const int w = GetButtonPlaceBackgroundWidth();
    const int size = viewInfo_->ButtonSize();
    ButtonRect = cxRectCenter(TRect{IndentBounds.Right - w, IndentBounds.Top, IndentBounds.Right, IndentBounds.Bottom},
                              size, size);
}

void TcxCustomRowHeaderInfo::AddBoundHeaderLines()
{
    if (TcxvgCustomPaintStyleCalcHelper* helper = viewInfo_->CalcHelper())
        helper->AddBoundHeaderLines(this);
}

void TcxCustomRowHeaderInfo::AddBottomHorzLine(const TRect& rect)
{
    const int hw = viewInfo_->HorzLineWidth();
    if (hw <= 0)
        return;
    TRect line{rect.Left, rect.Bottom, rect.Right, rect.Bottom + hw};
    if (TBrush* brush = viewInfo_->HorzLineBrush())
        LinesInfo.Add(line, brush);
    else
        LinesInfo.Add(line, viewInfo_->BandBorderColor());
}

void TcxCustomRowHeaderInfo::AddRightVertLine(const TRect& rect)
{
    if (viewInfo_->ShowHeaders())
        if (TcxvgCustomPaintStyleCalcHelper* helper = viewInfo_->CalcHelper())
            helper->AddDivider(&LinesInfo, rect, false, clNone);
}

void TcxCustomRowHeaderInfo::CalcRowCaptionsInfo()
{
    if (TcxCaptionRowProperties* properties = CaptionPropertiesOf(row_))
        AddCaption(CalcCaptionInfo(properties, HeaderCellsRect));
}

TcxRowCaptionInfo* TcxCustomRowHeaderInfo::CalcCaptionInfo(TcxCaptionRowProperties* properties, const TRect& rect)
{
    TcxCustomVerticalGrid* grid = row_->VerticalGrid();
    auto* caption = new TcxRowCaptionInfo(row_);
    caption->CaptionRect = rect;
    caption->Images = grid->Images();
    int imageWidth = 0;
    int imageHeight = 0;
    if (TCustomImageList* images = caption->Images) {
        imageHeight = images->GetHeight();
        int index = properties->ImageIndex();
        if (index >= 0 && index < images->Count()) {
            caption->ImageIndex = index;
            imageWidth = images->GetWidth();
        } else {
            caption->ImageIndex = -1;
            imageWidth = grid->OptionsView()->ShowEmptyRowImage() ? images->GetWidth() : 0;
        }
    }
    int imageTop = GetTopCentralPoint(imageHeight, rect);
    caption->ImageRect = TRect{rect.Left, imageTop, rect.Left + imageWidth, imageTop + imageHeight};
    const int imageRight = caption->ImageRect.Right;
    TRect text{imageRight + 1, rect.Top, imageRight + 1 + std::max(0, rect.Right - imageRight - 2), rect.Bottom};
    TRect offsets = CaptionTextOffsets(properties->HeaderAlignmentHorz());
    text.Left += offsets.Left + 1;
    text.Top += offsets.Top + 1;
    text.Right -= offsets.Right + 1;
    text.Bottom -= offsets.Bottom + 1;
    caption->CaptionTextRect = text;
    caption->TextFlags = GetTextAligmentFlags(properties);
    if (grid->OptionsView()->CellEndEllipsis())
        caption->TextFlags |= cxvgEndEllipsisFlag;
    caption->ViewParams = GetCaptionViewParams();
    caption->Caption = properties->GetCaption();
    caption->Focused = grid->GetFocusedRow() == row_;
    return caption;
}

int TcxCustomRowHeaderInfo::LeftViewPoint() const
{
    if (GetPaintStyle() == psDelphi || RowIndents.Count() == 0)
        return HeaderRect.Left;
    return RowIndents.Items(RowIndents.Count() - 1).Rect.Left;
}

// --- category headers ------------------------------------------------------------------------------
void TcxCategoryRowHeaderInfo::CalcViewParams(bool)
{
    IndentViewParams = Row()->VerticalGrid()->GetRowCategoryParams(Row());
    ViewParams = IndentViewParams;
}

void TcxCategoryRowHeaderInfo::DoCalcExpandButton()
{
    if (!Row()->HasVisibleChildren())
        return;
    TcxvgCustomViewInfo* vi = ViewInfo();
    if (!vi->UseCategoryExplorerStyle()) {
        TcxCustomRowHeaderInfo::DoCalcExpandButton();
        return;
    }
    TSize size = vi->ExplorerButtonSize();
    ButtonRect = cxRectCenter(TRect{HeaderRect.Right - size.cx - 2, HeaderRect.Top, HeaderRect.Right, HeaderRect.Bottom},
                              size);
}

TColor TcxCategoryRowHeaderInfo::GetButtonColor() const
{
    return GetPaintStyle() == psDelphi ? clWindow : ViewParams.Color;
}

TRect TcxCategoryRowHeaderInfo::GetFocusRect()
{
    TcxvgCustomPaintStyleCalcHelper* helper = ViewInfo()->CalcHelper();
    return helper ? helper->GetCategoryFocusRect(this) : TRect{};
}

void TcxCategoryRowHeaderInfo::AddBottomHorzLine(const TRect& rect)
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    const int v = vi->VertLineWidth();
    TcxCustomRowHeaderInfo::AddBottomHorzLine(TRect{rect.Left - v, rect.Top, rect.Right + v, rect.Bottom});
}

void TcxCategoryRowHeaderInfo::AddRightVertLine(const TRect&)
{
    // A category row has no divider, only the band's right border.
    TcxvgCustomViewInfo* vi = ViewInfo();
    const int v = vi->VertLineWidth();
    if (v <= 0)
        return;
    TcxCustomRowViewInfo* rowViewInfo = Row()->GetViewInfo();
    const TRect& r = rowViewInfo->RowRect;
    LinesInfo.Add(r.Right, r.Top, v, r.Height() + vi->HorzLineWidth(), vi->BandBorderColor());
}

void TcxCategoryRowHeaderInfo::CalcRowCaptionsInfo()
{
    if (ViewInfo()->UseCategoryExplorerStyle() && !cxRectIsEmpty(ButtonRect))
        HeaderCellsRect.Right = ButtonRect.Left;
    TcxCustomRowHeaderInfo::CalcRowCaptionsInfo();
}

int TcxCategoryRowHeaderInfo::LeftViewPoint() const
{
    return GetPaintStyle() == psdotNet ? IndentBounds.Right : TcxCustomRowHeaderInfo::LeftViewPoint();
}

void TcxMultiEditorRowHeaderInfo::Clear()
{
    TcxCustomRowHeaderInfo::Clear();
    SeparatorRects.Clear();
}

void TcxMultiEditorRowHeaderInfo::CalcSeparatorWidth(int dividerWidth)
{
    auto* properties = static_cast<TcxMultiEditorRowProperties*>(Row()->PropertiesObject());
    SeparatorKind = properties->SeparatorKind();
    SeparatorCaption = properties->SeparatorString();
    if (SeparatorKind == skString) {
        TFont* font = ViewParams.Font ? ViewParams.Font : Row()->VerticalGrid()->Font();
        SeparatorWidth = cxTextWidth(font, SeparatorCaption + "0");
    } else
        SeparatorWidth = dividerWidth;
}

void TcxMultiEditorRowHeaderInfo::CalcSeparatorStyle()
{
    auto* properties = static_cast<TcxMultiEditorRowProperties*>(Row()->PropertiesObject());
    SeparatorViewParams = ViewParams;
    SeparatorTextFlags = GetTextAligmentFlags(taCenter, properties->SeparatorAlignmentVert());
}

void TcxMultiEditorRowHeaderInfo::CalcSeparatorRects(const TcxRectList& cellRects)
{
    if (auto* rowViewInfo = dynamic_cast<TcxMultiEditorRowViewInfo*>(Row()->GetViewInfo()))
        rowViewInfo->AddSeparatorRects(true, SeparatorRects, HeaderCellsRect, cellRects, SeparatorKind);
}

void TcxMultiEditorRowHeaderInfo::CalcRowCaptionsInfo()
{
    auto* properties = static_cast<TcxMultiEditorRowProperties*>(Row()->PropertiesObject());
    CalcSeparatorWidth(ViewInfo()->DividerWidth());
    CalcSeparatorStyle();
    std::unique_ptr<TcxRectList> cells(TcxMultiEditorRowViewInfo::GetCellRects(Row(), HeaderCellsRect, SeparatorWidth));
    if (!cells)
        return;
    const int count = std::min(cells->Count(), Row()->GetEditContainerCount());
    for (int j = 0; j < count; ++j) {
        if ((*cells)[j].Left >= HeaderCellsRect.Right)
            continue;
        TcxRowCaptionInfo* caption = CalcCaptionInfo(properties->Editors()->GetItem(j), (*cells)[j]);
        caption->RowCellIndex = j;
        AddCaption(caption);
    }
    CalcSeparatorRects(*cells);
}

} // namespace cx
