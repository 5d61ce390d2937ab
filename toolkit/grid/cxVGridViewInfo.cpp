#include "toolkit/grid/cxVGridViewInfo.h"

#include <algorithm>

#include "toolkit/core/cxGraphics.h"

namespace cx {

// --- row view infos ---------------------------------------------------------------------------
TcxCustomRowViewInfo::TcxCustomRowViewInfo(TcxCustomRow* row) : row_(row)
{
    headerInfo_.reset(row->CreateHeaderInfo());
}

TcxCustomRowViewInfo::~TcxCustomRowViewInfo()
{
    if (row_ && row_->viewInfo_ == this)
        row_->viewInfo_ = nullptr;
}

void TcxCustomRowViewInfo::Calc(const TRect& rect, TcxvgCustomViewInfo* viewInfo, TcxCustomRow* nextRow)
{
    OwnerViewInfo = viewInfo;
    RowRect = rect;
    viewInfo->CalcRowRects(this);
    CalcRowHeaderInfo(nextRow);
    CalcValuesInfo();
}

void TcxCustomRowViewInfo::AddRectValueLines(const TRect& rect, bool last, bool hasNextRow)
{
    TcxvgCustomViewInfo* vi = OwnerViewInfo;
    TRect r = rect;
    if (last) {
        if (vi->ClipRect().Right < r.Left)
            return;
        r.Right = std::min(r.Right, vi->ClipRect().Right);
    }
    if (hasNextRow)
        vi->AddBottomValueSide(r);
    vi->AddRightValueSide(r, last);
}

void TcxCategoryRowViewInfo::CalcRowHeaderInfo(TcxCustomRow* nextRow)
{
    HeaderInfo()->HeaderRect = RowRect;
    ValuesRect = TRect{};
}

void TcxEditorRowViewInfo::CalcValuesInfo()
{
    TcxvgCustomViewInfo* vi = OwnerViewInfo;
    int n = vi->GetVisibleValueCount();
    ValueRects.clear();
    bool hasNextRow = vi->Grid()->NextVisibleRow(Row()) != nullptr;
    for (int i = 0; i < n; ++i) {
        TRect r = vi->GetValueRect(i, this);
        bool last = i == n - 1 || r.Right >= vi->ClipRect().Right;
        AddRectValueLines(r, last, hasNextRow);
        ValueRects.push_back(r);
    }
}

// --- TcxvgCustomViewInfo ----------------------------------------------------------------------
TcxvgCustomViewInfo::TcxvgCustomViewInfo(TcxCustomVerticalGrid* grid) : grid_(grid)
{
    rowsViewInfo_.reserve(1024);
}

TcxvgCustomViewInfo::~TcxvgCustomViewInfo()
{
    // Row view infos belong to the rows; they are made again on demand for the next layout.
    if (!grid_->ComponentState().Contains(csDestroying))
        for (int i = 0; i < grid_->Rows()->GetCount(); ++i) {
            TcxCustomRow* row = grid_->Rows()->GetRow(i);
            if (row->viewInfo_) {
                row->viewInfo_->row_ = nullptr;
                FreeAndNil(row->viewInfo_);
            }
        }
}

void TcxvgCustomViewInfo::Initialize()
{
    calcHelper_.reset(CreateCalcHelper());
    LockDividerPos = true;
    CalcLayoutGeneral();
    UpdateVisibleRows();
    UpdateScroller();
}

TcxvgCustomPaintStyleCalcHelper* TcxvgCustomViewInfo::CreateCalcHelper()
{
    TcxvgCustomPaintStyleCalcHelperClass cls = grid_->GetCalcHelperClass();
    return cls ? cls.Create(this) : nullptr;
}

void TcxvgCustomViewInfo::UpdateScroller()
{
    grid_->Scroller()->RecreateScrollStrategy();
}

void TcxvgCustomViewInfo::Calculate()
{
    clientRect_ = grid_->GetClientBounds();
    DoCalculate();
}

void TcxvgCustomViewInfo::DoCalculate()
{
    CalcLayoutGeneral();
    UpdateVisibleRows();
    grid_->Scroller()->RecalcBandsInfo();
    CalcBandWidth();
    ClearLinesAndRows();
    CalcViewRects();
    CalcRowsViewInfo();
    AddEmptyRects();
}

void TcxvgCustomViewInfo::CalcLayoutGeneral()
{
    TcxvgOptionsView* options = grid_->OptionsView();
    clipRect_ = TRect{clientRect_.Left + vertLineWidth_, clientRect_.Top + horzLineWidth_,
                      clientRect_.Right - vertLineWidth_, clientRect_.Bottom - horzLineWidth_};
    bandsInterval_ = options->BandsInterval();
    rowHeaderMinWidth_ = options->RowHeaderMinWidth();
    showHeaders_ = options->ShowHeaders();
    buttonSize_ = grid_->GetLookAndFeelPainter()->ExpandButtonSize();
    TcxvgGridLines lines = options->GridLines();
    horzLineWidth_ = lines == vglHorizontal || lines == vglBoth ? 1 : 0;
    vertLineWidth_ = lines == vglVertical || lines == vglBoth ? 1 : 0;
    imageSize_ = TSize{0, 0};
    dividerWidth_ = vertLineWidth_ > 0 && showHeaders_ && calcHelper_ ? calcHelper_->GetDividerWidth() : 0;
    bandBorderColor_ = calcHelper_ ? calcHelper_->GetBandBorderColor() : options->GridLineColor();
    rowIndentWidth_ = calcHelper_ ? calcHelper_->GetIndentWidth() : 0;
    bandMinWidth_ = options->ValueMinWidth() + rowHeaderMinWidth_ + dividerWidth_;
    minRowHeight_ = GetMinRowHeight();
    fullHeaderWidth_ = showHeaders_ ? GetViewHeaderWidth() + dividerWidth_ : 0;
}

int TcxvgCustomViewInfo::GetMinRowHeight()
{
    int h = cxTextHeight(grid_->Font(), "Wg") + 2;
    int rowHeight = grid_->OptionsView()->RowHeight();
    if (rowHeight >= 0 && h < rowHeight)
        h = rowHeight;
    return std::max(h, static_cast<int>(imageSize_.cy) + 2);
}

void TcxvgCustomViewInfo::UpdateVisibleRows()
{
    maxVisibleLevel_ = 0;
    visibleRows_.clear();
    TcxVerticalGridRows* rows = grid_->Rows();
    for (int i = 0; i < rows->GetCount(); ++i) {
        TcxCustomRow* row = rows->GetRow(i);
        TcxCustomRowViewInfo* rowViewInfo = row->GetViewInfo();
        if (grid_->IsRowVisible(row)) {
            visibleRows_.push_back(row);
            maxVisibleLevel_ = std::max(maxVisibleLevel_, row->GetLevel());
        }
        (void)rowViewInfo;
    }
}

TcxCustomRow* TcxvgCustomViewInfo::GetVisibleRow(int index) const
{
    return index >= 0 && index < GetVisibleRowCount() ? visibleRows_[index] : nullptr;
}

TcxCustomRowViewInfo* TcxvgCustomViewInfo::GetRowViewInfo(const TcxCustomRow* row) const
{
    if (!row)
        return nullptr;
    for (TcxCustomRowViewInfo* rowViewInfo : rowsViewInfo_)
        if (rowViewInfo->Row() == row)
            return rowViewInfo;
    return nullptr;
}

int TcxvgCustomViewInfo::GetFirstVisibleRecordIndex()
{
    return grid_->GetRecordCount() == 0 ? -1 : grid_->Scroller()->GetLeftVisibleRecord();
}

void TcxvgCustomViewInfo::CalcBandWidth()
{
    ViewBandWidth = GetViewBandWidth();
    ViewHeaderWidth = GetViewHeaderWidth();
    ViewValueWidth = GetViewValueWidth();
}

void TcxvgCustomViewInfo::ClearLinesAndRows()
{
    linesInfo_.clear();
    rowsViewInfo_.clear();
}

void TcxvgCustomViewInfo::CalcViewRects()
{
    bandRects_.clear();
    emptyRects_.clear();
    if (GetVisibleRowCount() > 0)
        CalcBandRects();
    else {
        bandRects_.push_back(TRect{clientRect_.Left, clientRect_.Top, clientRect_.Right, clientRect_.Top});
        emptyRects_.push_back(clientRect_);
    }
}

void TcxvgCustomViewInfo::CalcBandRects()
{
    int total = horzLineWidth_;
    for (int i = grid_->Scroller()->GetTopVisibleRowIndex(); i < GetVisibleRowCount(); ++i) {
        TcxCustomRowViewInfo* rowViewInfo = visibleRows_[i]->GetViewInfo();
        rowViewInfo->Height = GetRowHeight(rowViewInfo);
        total += rowViewInfo->Height + horzLineWidth_;
    }
    CreateBand(total, ViewBandWidth);
}

void TcxvgCustomViewInfo::CreateBand(int height, int width)
{
    int left = bandRects_.empty() ? clientRect_.Left : bandRects_.back().Right;
    int bandHeight = std::min(height, clientRect_.Height());
    TRect band{left, clientRect_.Top, left + width, clientRect_.Top + bandHeight};
    bandRects_.push_back(band);
    if (bandHeight < clientRect_.Height())
        emptyRects_.push_back(TRect{left, band.Bottom, left + width, band.Bottom + clientRect_.Height() - bandHeight});
}

void TcxvgCustomViewInfo::CalcRowsViewInfo()
{
    TcxvgScroller* scroller = grid_->Scroller();
    int rowIndex = scroller->GetTopVisibleRowIndex();
    TBandInfoList& bands = scroller->GetBandsInfo();
    int left = scroller->GetLeftVisibleBand();
    for (int b = left; b < bands.Count(); ++b) {
        if (b - left >= static_cast<int>(bandRects_.size()) || bandRects_[b - left].Left > clientRect_.Right)
            break;
        CalcBandRowsViewInfo(rowIndex, bandRects_[b - left], bands.GetItem(b).RowsCount, b);
    }
    if (GetVisibleRowCount() == 0)
        CalcEmpty();
}

void TcxvgCustomViewInfo::CalcBandRowsViewInfo(int& rowIndex, const TRect& bandRect, int rowsCount, int bandIndex)
{
    int y = bandRect.Top + horzLineWidth_;
    int innerWidth = bandRect.Width() - 2 * vertLineWidth_;
    if (innerWidth <= 0)
        return;
    int k = 0;
    TcxCustomRow* row = GetVisibleRow(rowIndex);
    while (rowIndex < GetVisibleRowCount() && row) {
        TcxCustomRow* next = GetVisibleRow(rowIndex + 1);
        TcxCustomRowViewInfo* rowViewInfo = row->GetViewInfo();
        TRect r{bandRect.Left + vertLineWidth_, y, bandRect.Left + vertLineWidth_ + innerWidth, y + rowViewInfo->Height};
        if (!CanAddRowToBand(r, bandRect, k))
            break;
        rowViewInfo->BandIndex = bandIndex;
        rowViewInfo->IndexInBand = k;
        rowViewInfo->Calc(r, this, next);
        rowsViewInfo_.push_back(rowViewInfo);
        y += rowViewInfo->Height + horzLineWidth_;
        row = next;
        ++rowIndex;
        ++k;
    }
    if (k > 0)
        AddBandRowsLines(bandRect);
}

bool TcxvgCustomViewInfo::CanAddRowToBand(const TRect& rowRect, const TRect& bandRect, int indexInBand)
{
    return rowRect.Top < bandRect.Bottom;
}

void TcxvgCustomViewInfo::AddBandRowsLines(const TRect& bandRect)
{
    if (horzLineWidth_ > 0) {
        AddLine(TRect{bandRect.Left, bandRect.Top, bandRect.Right, bandRect.Top + horzLineWidth_}, bandBorderColor_);
        AddLine(TRect{bandRect.Left + vertLineWidth_, bandRect.Bottom - horzLineWidth_, bandRect.Right - vertLineWidth_,
                      bandRect.Bottom},
                bandBorderColor_);
    }
    if (vertLineWidth_ > 0)
        AddLine(TRect{bandRect.Left, bandRect.Top + horzLineWidth_, bandRect.Left + vertLineWidth_, bandRect.Bottom},
                bandBorderColor_);
}

void TcxvgCustomViewInfo::AddBottomValueSide(const TRect& rect)
{
    if (horzLineWidth_ > 0)
        AddLine(TRect{rect.Left, rect.Bottom, rect.Right, rect.Bottom + horzLineWidth_}, grid_->OptionsView()->GridLineColor());
}

void TcxvgCustomViewInfo::AddRightValueSide(const TRect& rect, bool last)
{
    if (vertLineWidth_ > 0)
        AddLine(TRect{rect.Right, rect.Top, rect.Right + vertLineWidth_, rect.Bottom + horzLineWidth_},
                last ? bandBorderColor_ : grid_->OptionsView()->GridLineColor());
}

void TcxvgCustomViewInfo::CalcEmpty()
{
    // The divider of an imaginary header keeps the empty grid's two halves apart.
    if (showHeaders_ && dividerWidth_ > 0)
        AddLine(TRect{clientRect_.Left + ViewHeaderWidth, clientRect_.Top, clientRect_.Left + ViewHeaderWidth + dividerWidth_,
                      clientRect_.Bottom},
                clNone);
}

void TcxvgCustomViewInfo::CalcRowRects(TcxCustomRowViewInfo* rowViewInfo)
{
    const TRect& r = rowViewInfo->RowRect;
    if (!showHeaders_) {
        rowViewInfo->HeaderInfo()->HeaderRect = TRect{r.Left, r.Top, r.Left, r.Bottom};
        rowViewInfo->ValuesRect = r;
    } else {
        rowViewInfo->HeaderInfo()->HeaderRect = TRect{r.Left, r.Top, r.Left + ViewHeaderWidth, r.Bottom};
        rowViewInfo->ValuesRect = GetValuesRect(rowViewInfo);
    }
}

TRect TcxvgCustomViewInfo::GetValuesRect(TcxCustomRowViewInfo* rowViewInfo)
{
    const TRect& r = rowViewInfo->RowRect;
    return TRect{r.Left + ViewHeaderWidth + dividerWidth_, r.Top, r.Right, r.Bottom};
}

TRect TcxvgCustomViewInfo::GetValueRect(int valueIndex, TcxCustomRowViewInfo* rowViewInfo)
{
    return TRect{rowViewInfo->ValuesRect.Left, rowViewInfo->RowRect.Top, rowViewInfo->RowRect.Right,
                 rowViewInfo->RowRect.Bottom};
}

bool TcxvgCustomViewInfo::GetRowAutoHeight(const TcxCustomRow* row)
{
    bool cellAutoHeight = grid_->OptionsView()->CellAutoHeight();
    if (!row)
        return cellAutoHeight;
    return cellAutoHeight && row->Options()->CanAutoHeight() && !row->IsHeightAssigned();
}

int TcxvgCustomViewInfo::GetRowHeight(TcxCustomRowViewInfo* rowViewInfo)
{
    TcxCustomRow* row = rowViewInfo->Row();
    int h = std::max(row->GetRealHeight(), minRowHeight_ > 0 ? minRowHeight_ : GetMinRowHeight());
    if (GetRowAutoHeight(row))
        h = std::max(rowViewInfo->GetValueHeight(GetFirstVisibleRecordIndex(), ViewValueWidth, this), h);
    return h;
}

int TcxvgCustomViewInfo::GetViewBandWidth()
{
    return clientRect_.Width();
}

int TcxvgCustomViewInfo::GetViewMinHeaderWidth()
{
    return (rowIndentWidth_ + vertLineWidth_) * (maxVisibleLevel_ + 1) + 1;
}

int TcxvgCustomViewInfo::GetViewHeaderWidth()
{
    if (!showHeaders_)
        return 0;
    return std::max(GetViewMinHeaderWidth(), grid_->OptionsView()->RowHeaderWidth());
}

int TcxvgCustomViewInfo::GetViewValueWidth()
{
    return grid_->OptionsView()->ValueWidth();
}

void TcxvgCustomViewInfo::LayoutStyleChanged()
{
    grid_->Scroller()->LayoutStyleChanged();
}

void TcxvgCustomViewInfo::SetDividerPos(int pos)
{
    TcxvgOptionsView* options = grid_->OptionsView();
    if (pos == options->RowHeaderWidth())
        return;
    if (ViewBandWidth - pos - dividerWidth_ < options->ValueMinWidth())
        options->SetRowHeaderWidth(ViewBandWidth - options->ValueMinWidth());
    else
        options->SetRowHeaderWidth(pos);
}

void TcxvgCustomViewInfo::SetValueWidth(int width)
{
    grid_->OptionsView()->SetValueWidth(width);
}

void TcxInspectorViewInfo::CheckMaxRowHeaderWidth(int& width, int valueMinWidth)
{
    if (ViewBandWidth > 0)
        width = std::min(width, ViewBandWidth - std::max(valueMinWidth, 4));
}

int TcxInspectorViewInfo::GetViewValueWidth()
{
    return ViewBandWidth - ViewHeaderWidth - DividerWidth() - 2 * VertLineWidth();
}

// --- TcxBandsViewInfo -------------------------------------------------------------------------
int TcxBandsViewInfo::GetMinViewBandWidth()
{
    return GetViewMinHeaderWidth() + Grid()->OptionsView()->ValueMinWidth();
}

int TcxBandsViewInfo::GetViewValueWidth()
{
    return Grid()->OptionsView()->ValueWidth();
}

int TcxBandsViewInfo::GetViewBandWidth()
{
    if (!Grid()->OptionsView()->AutoScaleBands())
        return ViewHeaderWidth + DividerWidth() + ViewValueWidth + 2;
    return std::max(ViewBandWidth, GetMinViewBandWidth());
}

void TcxBandsViewInfo::CalcBandWidth()
{
    ViewHeaderWidth = GetViewHeaderWidth();
    if (!Grid()->OptionsView()->AutoScaleBands()) {
        ViewValueWidth = GetViewValueWidth();
        ViewBandWidth = GetViewBandWidth();
        return;
    }
    int n = Grid()->Scroller()->GetBandsInfo().Count();
    int gaps = n > 1 ? (n - 1) * BandsInterval() : 0;
    int w = (clientRect_.Width() - gaps) / std::max(n, 1);
    int bandMinWidth = Grid()->OptionsView()->ValueMinWidth() + Grid()->OptionsView()->RowHeaderMinWidth() + DividerWidth();
    ViewBandWidth = std::max({GetMinViewBandWidth(), w, bandMinWidth});
    ViewHeaderWidth = GetViewHeaderWidth();
}

void TcxBandsViewInfo::CalcBandRects()
{
    TcxvgScroller* scroller = Grid()->Scroller();
    TBandInfoList& bands = scroller->GetBandsInfo();
    emptyBands_.clear();
    for (int b = scroller->GetLeftVisibleBand(); b < bands.Count(); ++b)
        CreateBand(bands.GetItem(b).BandHeight, 40);
    UpdateBandsWidth();
}

void TcxBandsViewInfo::CreateBand(int height, int width)
{
    int index = static_cast<int>(bandRects_.size());
    int bandHeight = std::min(height, clientRect_.Height());
    bandRects_.push_back(TRect{clientRect_.Left, clientRect_.Top, clientRect_.Left + width, clientRect_.Top + bandHeight});
    if (bandHeight < clientRect_.Height()) {
        emptyRects_.push_back(TRect{0, clientRect_.Top + bandHeight, 0, clientRect_.Bottom});
        emptyBands_.push_back(index);
    }
}

void TcxBandsViewInfo::UpdateBandsWidth()
{
    int x = clientRect_.Left;
    for (TRect& band : bandRects_) {
        band.Left = x;
        band.Right = x + ViewBandWidth;
        x = band.Right + BandsInterval();
    }
    if (Grid()->OptionsView()->AutoScaleBands() && !bandRects_.empty())
        bandRects_.back().Right = clientRect_.Right;
    for (std::size_t i = 0; i < emptyBands_.size(); ++i) {
        emptyRects_[i].Left = bandRects_[emptyBands_[i]].Left;
        emptyRects_[i].Right = bandRects_[emptyBands_[i]].Right;
    }
}

void TcxBandsViewInfo::AddEmptyRects()
{
    for (std::size_t i = 0; i + 1 < bandRects_.size() && BandsInterval() > 0; ++i)
        emptyRects_.push_back(TRect{bandRects_[i].Right, bandRects_[i].Top, bandRects_[i].Right + BandsInterval(),
                                    bandRects_[i].Top + clientRect_.Height()});
    if (!bandRects_.empty() && bandRects_.back().Right < clientRect_.Right)
        emptyRects_.push_back(TRect{bandRects_.back().Right, clientRect_.Top, clientRect_.Right, clientRect_.Bottom});
}

bool TcxBandsViewInfo::CanAddRowToBand(const TRect& rowRect, const TRect& bandRect, int indexInBand)
{
    return !(rowRect.Bottom > bandRect.Bottom && indexInBand > 0);
}

bool TcxBandsViewInfo::GetRowAutoHeight(const TcxCustomRow* row)
{
    TcxvgOptionsView* options = Grid()->OptionsView();
    return options->CellAutoHeight() && !options->AutoScaleBands() && (!row || row->Options()->CanAutoHeight());
}

} // namespace cx
