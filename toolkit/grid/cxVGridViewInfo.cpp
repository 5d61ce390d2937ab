#include "toolkit/grid/cxVGridViewInfo.h"

#include <algorithm>
#include <cmath>

#include "platform/vcl/ImgList.h"

#include "toolkit/core/cxGraphics.h"
#include "toolkit/grid/cxVGridStyles.h"

namespace cx {

// --- paint-style helper base ---------------------------------------------------------------------
TColor TcxvgCustomPaintStyleCalcHelper::GetBandBorderColor()
{
    return Grid()->OptionsView()->GridLineColor();
}

TcxCustomVerticalGrid* TcxvgCustomPaintStyleCalcHelper::Grid() const
{
    return viewInfo_->Grid();
}

TcxvgScroller* TcxvgCustomPaintStyleCalcHelper::Scroller() const
{
    return Grid()->Scroller();
}

// --- value cells ----------------------------------------------------------------------------------
void TcxRowValueInfo::SetBounds(const TRect& rect, const TRect& clipRect)
{
    // Clipped, then calculated through the row's editor, which paints the value later.
    TcxEditCellViewInfo::SetBounds(rect, clipRect);
}

void TcxRowValueInfo::DoCalculate()
{
    TcxEditCellViewInfo::DoCalculate();
    FocusRect = GetFocused() ? Bounds : TRect{};
}

TcxViewParams TcxRowValueInfo::GetEditViewParams()
{
    auto* grid = static_cast<TcxCustomVerticalGrid*>(Owner()->Control());
    auto* container = dynamic_cast<TcxCellEdit*>(Item);
    return grid->Styles()->GetContentParams(container ? container->EditRowProperties() : nullptr, GetFocused(),
                                            RecordIndex);
}

bool TcxRowValueInfo::GetFocused() const
{
    auto* grid = dynamic_cast<TcxCustomVerticalGrid*>(Owner()->Control());
    if (!grid || grid->GetFocusedRow() != Row || !grid->Controller())
        return false;
    TcxCustomControlController* controller = grid->Controller();
    return controller->FocusedItem() == Item && grid->DataController()->GetFocusedRowIndex() == RecordIndex;
}

Variant TcxRowValueInfo::GetDisplayValue() const
{
    auto* grid = static_cast<TcxCustomVerticalGrid*>(Owner()->Control());
    if (RecordIndex < 0 || RecordIndex >= grid->GetRecordCount())
        return Null;
    return Item->GetDisplayValue(Item->GetPropertiesValue(), RecordIndex);
}

// --- row view infos ---------------------------------------------------------------------------
TcxCustomRowViewInfo::TcxCustomRowViewInfo(TcxCustomRow* row) : row_(row)
{
    headerInfo_.reset(row->CreateHeaderInfo());
}

TcxCustomRowViewInfo::~TcxCustomRowViewInfo()
{
    TruncValues(0);
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
    CalcPaintViewParamsLines(nextRow);
}

void TcxCustomRowViewInfo::CalcRowHeaderInfo(TcxCustomRow* nextRow)
{
    headerInfo_->Calc(headerInfo_->HeaderRect, OwnerViewInfo, true, nextRow);
}

void TcxCustomRowViewInfo::CalcPaintViewParamsLines(TcxCustomRow* nextRow)
{
    if (TcxvgCustomPaintStyleCalcHelper* helper = OwnerViewInfo->CalcHelper())
        helper->CalcPaintViewParamsLines(this, nextRow);
}

void TcxCustomRowViewInfo::TruncValues(int count)
{
    while (static_cast<int>(valuesInfo_.size()) > count) {
        TcxRowValueInfo* cell = valuesInfo_.back();
        valuesInfo_.pop_back();
        if (OwnerViewInfo)
            OwnerViewInfo->RemoveCell(cell);
    }
}

TcxRowValueInfo* TcxCustomRowViewInfo::GetRowValueInfo(int recordIndex, int cellIndex) const
{
    for (TcxRowValueInfo* cell : valuesInfo_)
        if (cell->RecordIndex == recordIndex && cell->RowCellIndex == cellIndex)
            return cell;
    return nullptr;
}

TcxRowValueInfo* TcxCustomRowViewInfo::CalcRowValueInfo(int cellIndex, int recordIndex)
{
    TcxCellEdit* container = row_->GetEditContainer(cellIndex);
    if (!container)
        return nullptr;
    // A used cell moves to the front, so a truncation afterwards frees the unused ones.
    if (TcxRowValueInfo* cell = GetRowValueInfo(recordIndex, cellIndex)) {
        std::erase(valuesInfo_, cell);
        valuesInfo_.insert(valuesInfo_.begin(), cell);
        return cell;
    }
    auto* cell = new TcxRowValueInfo(OwnerViewInfo, container, recordIndex);
    cell->Row = row_;
    cell->RowCellIndex = cellIndex;
    OwnerViewInfo->AddCell(cell);
    valuesInfo_.insert(valuesInfo_.begin(), cell);
    return cell;
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

void TcxCustomRowViewInfo::Update()
{
    TcxvgCustomViewInfo* vi = OwnerViewInfo;
    if (!vi)
        return;
    TruncValues(0);
    TcxCustomVerticalGrid* grid = vi->Grid();
    if (grid->GetFocusedRow() == row_) {
        vi->ChangeFocusedRow(row_, grid->PrevVisibleRow(row_));
        return;
    }
    vi->LinesInfo().Locked = true;
    vi->FocusLinesInfo.Locked = true;
    try {
        Calc(RowRect, vi, grid->NextVisibleRow(row_));
    } catch (...) {
        vi->LinesInfo().Locked = false;
        vi->FocusLinesInfo.Locked = false;
        grid->InvalidateRect(RowRect, false);
        throw;
    }
    vi->LinesInfo().Locked = false;
    vi->FocusLinesInfo.Locked = false;
    grid->InvalidateRect(RowRect, false);
}

void TcxCustomRowViewInfo::UpdateRecord(int recordIndex)
{
    if (!OwnerViewInfo)
        return;
    OwnerViewInfo->LinesInfo().Locked = true;
    CalcValuesInfo();
    OwnerViewInfo->LinesInfo().Locked = false;
    for (TcxRowValueInfo* cell : valuesInfo_)
        if (cell->RecordIndex == recordIndex)
            OwnerViewInfo->Grid()->InvalidateRect(cell->Bounds, false);
}

void TcxCategoryRowViewInfo::CalcRowHeaderInfo(TcxCustomRow* nextRow)
{
    HeaderInfo()->HeaderRect = RowRect;
    ValuesRect = TRect{};
    TcxCustomRowViewInfo::CalcRowHeaderInfo(nextRow);
}

void TcxEditorRowViewInfo::CalcValuesInfo()
{
    TcxvgCustomViewInfo* vi = OwnerViewInfo;
    int n = vi->GetVisibleValueCount();
    bool hasNextRow = vi->Grid()->NextVisibleRow(Row()) != nullptr;
    for (int i = 0; i < n; ++i) {
        TRect r = vi->GetValueRect(i, this);
        bool last = i == n - 1 || r.Right >= vi->ClipRect().Right;
        AddRectValueLines(r, last, hasNextRow);
        vi->CalcEditCell(r, CalcRowValueInfo(0, vi->GetFirstVisibleRecordIndex() + i));
    }
    TruncValues(n);
}

int TcxEditorRowViewInfo::GetValueHeight(int recordIndex, int width, TcxvgCustomViewInfo* viewInfo)
{
    TcxCellEdit* container = Row()->GetEditContainer(0);
    TcxCustomEditProperties* properties = container ? container->GetPropertiesValue() : nullptr;
    if (!properties)
        return -1;
    return viewInfo->GetDefaultEditHeight(container, properties);
}

TcxRectList* TcxMultiEditorRowViewInfo::GetCellRects(TcxCustomRow* row, const TRect& rect, int separatorWidth)
{
    auto* properties = dynamic_cast<TcxMultiEditorRowProperties*>(row->PropertiesObject());
    const int count = row->GetEditContainerCount();
    if (!properties || count == 0)
        return nullptr;
    TRectScaler scaler;
    const int minWidth = row->VerticalGrid()->OptionsView()->RowHeaderMinWidth();
    for (int i = 0; i < count; ++i)
        scaler.Add(properties->Editors()->GetItem(i)->Width(), minWidth, i + 1 < count ? separatorWidth : 0);
    if (properties->Fixed())
        scaler.CalcRect(rect);
    else
        scaler.ScaleRect(rect);
    if (scaler.ScaledRects().Count() == 0)
        return nullptr;
    auto* list = new TcxRectList;
    list->Assign(scaler.ScaledRects());
    return list;
}

void TcxMultiEditorRowViewInfo::AddSeparatorRects(bool isHeader, TcxRectList& list, const TRect& rect,
                                                  const TcxRectList& cells, TSeparatorKind kind)
{
    TcxvgCustomViewInfo* vi = OwnerViewInfo;
    TcxCustomRowHeaderInfo* header = HeaderInfo();
    const int d = vi->DividerWidth();
    const bool lastRow = vi->Grid()->NextVisibleRow(Row()) == nullptr;
    for (int i = 0; i + 1 < cells.Count(); ++i) {
        const TRect left = cells[i];
        const TRect right = cells[i + 1];
        if (kind == skString) {
            TRect gap = cxvgRectAnd(TRect{left.Right, left.Top, right.Left, left.Bottom}, rect);
            if (!cxRectIsEmpty(gap))
                list.Add(gap);
            continue;
        }
        TRect line = cxvgRectAnd(TRect{left.Right - d, left.Top, left.Right, left.Bottom}, rect);
        if (cxRectIsEmpty(line) || !vi->CalcHelper())
            continue;
        if (!isHeader && lastRow)
            --line.Bottom;
        vi->CalcHelper()->AddDivider(isHeader ? &header->LinesInfo : &vi->LinesInfo(), line, true, header->ViewParams.Color);
    }
}

void TcxMultiEditorRowViewInfo::CalcValuesInfo()
{
    ValueSeparatorRects.Clear();
    TcxvgCustomViewInfo* vi = OwnerViewInfo;
    auto* header = static_cast<TcxMultiEditorRowHeaderInfo*>(HeaderInfo());
    const int n = vi->GetVisibleValueCount();
    const bool hasNextRow = vi->Grid()->NextVisibleRow(Row()) != nullptr;
    int cellsPerValue = 0;
    for (int i = 0; i < n; ++i) {
        TRect r = vi->GetValueRect(i, this);
        std::unique_ptr<TcxRectList> cells(GetCellRects(Row(), r, header->SeparatorWidth));
        if (cells) {
            cellsPerValue = std::min(cells->Count(), Row()->GetEditContainerCount());
            for (int j = 0; j < cellsPerValue; ++j)
                if (!cxRectIsEmpty((*cells)[j]))
                    vi->CalcEditCell((*cells)[j], CalcRowValueInfo(j, vi->GetFirstVisibleRecordIndex() + i));
            AddSeparatorRects(false, ValueSeparatorRects, r, *cells, header->SeparatorKind);
        }
        AddRectValueLines(r, i == n - 1, hasNextRow);
    }
    TruncValues(n * cellsPerValue);
    CheckEmptyValuesInfo();
}

int TcxMultiEditorRowViewInfo::GetValueHeight(int recordIndex, int width, TcxvgCustomViewInfo* viewInfo)
{
    int height = -1;
    for (int j = 0; j < Row()->GetEditContainerCount(); ++j) {
        TcxCellEdit* container = Row()->GetEditContainer(j);
        if (TcxCustomEditProperties* properties = container->GetPropertiesValue())
            height = std::max(height, viewInfo->GetDefaultEditHeight(container, properties));
    }
    return height;
}

void TcxMultiEditorRowViewInfo::CheckEmptyValuesInfo()
{
    if (Row()->GetEditContainerCount() > 0 || ValuesRect.Width() <= 0)
        return;
    HeaderInfo()->LinesInfo.Add(RowRect, HeaderInfo()->ViewParams.Color);
    AddRectValueLines(ValuesRect, true, true);
}

// --- TcxvgCustomViewInfo ----------------------------------------------------------------------
TcxvgCustomViewInfo::TcxvgCustomViewInfo(TcxEditingControl* grid)
    : TcxCustomControlViewInfo(grid), grid_(static_cast<TcxCustomVerticalGrid*>(grid))
{
    rowsViewInfo_.reserve(1024);
}

TcxvgCustomViewInfo::~TcxvgCustomViewInfo()
{
    if (!detached_)
        ReleaseRowViewInfos();
    ClearCells();
    DestroyBrushes();
}

void TcxvgCustomViewInfo::DetachFromGrid()
{
    ReleaseRowViewInfos();
    detached_ = true;
}

void TcxvgCustomViewInfo::ReleaseRowViewInfos()
{
    // Row view infos belong to the rows; they are made again on demand for the next layout.
    // Their cells are this object's and go with it.
    rowsViewInfo_.clear();
    if (!grid_->Rows() || !grid_->Root())
        return;
    for (int i = 0; i < grid_->Rows()->GetCount(); ++i) {
        TcxCustomRow* row = grid_->Rows()->GetRow(i);
        if (row->viewInfo_) {
            row->viewInfo_->ClearValues();
            row->viewInfo_->row_ = nullptr;
            FreeAndNil(row->viewInfo_);
        }
    }
}

void TcxvgCustomViewInfo::Initialize()
{
    initialized_ = true;
    calcHelper_.reset(CreateCalcHelper());
    LockDividerPos = true;
    CalcLayoutGeneral();
    UpdateVisibleRows();
    UpdateScroller();
}

void TcxvgCustomViewInfo::CreateBrushes()
{
    DestroyBrushes();
    if (!calcHelper_)
        return;
    horzLineBrush_ = calcHelper_->CreateHorzLineBrush();
    vertLineBrush_ = calcHelper_->CreateVertLineBrush();
}

void TcxvgCustomViewInfo::DestroyBrushes()
{
    // A brush made from a bitmap takes its bitmap with it.
    for (TBrush** brush : {&horzLineBrush_, &vertLineBrush_}) {
        if (!*brush)
            continue;
        TBitmap* bitmap = (*brush)->GetBitmap();
        delete *brush;
        delete bitmap;
        *brush = nullptr;
    }
}

void TcxvgCustomViewInfo::CalcEditCell(const TRect& rect, TcxRowValueInfo* valueInfo)
{
    if (valueInfo)
        valueInfo->SetBounds(rect, clipRect_);
}

void TcxvgCustomViewInfo::ChangeFocusedRow(TcxCustomRow* newRow, TcxCustomRow* oldRow)
{
    if (grid_->IsLocked() || !calcHelper_)
        return;
    TRect updateRect{};
    linesInfo_.Locked = true;
    try {
        calcHelper_->ChangeFocusedRow(newRow, oldRow, updateRect);
    } catch (...) {
        linesInfo_.Locked = false;
        throw;
    }
    linesInfo_.Locked = false;
    updateRect.Bottom += horzLineWidth_;
    grid_->InvalidateRect(updateRect, false);
}

void TcxvgCustomViewInfo::UpdateRecord(int recordIndex)
{
    if (recordIndex < 0 || grid_->IsLocked())
        return;
    for (TcxCustomRowViewInfo* rowViewInfo : rowsViewInfo_) {
        if (!rowViewInfo->OwnerViewInfo)
            rowViewInfo->OwnerViewInfo = this;
        rowViewInfo->UpdateRecord(recordIndex);
    }
}

void TcxvgCustomViewInfo::UpdateSelection()
{
    TcxCustomControlViewInfo::UpdateSelection();
    grid_->Controller()->RefreshFocusedRecord();
    // The focused header shows the selection or the inactive look as the grid gains or loses
    // the focus: it is laid out again.
    if (TcxCustomRow* focused = grid_->GetFocusedRow(); focused && GetRowViewInfo(focused))
        ChangeFocusedRow(focused, nullptr);
}

int TcxvgCustomViewInfo::GetDefaultEditHeight(TcxCustomInplaceEditContainer* container,
                                              TcxCustomEditProperties* properties)
{
    TcxCanvas* canvas = container->GetControlCanvas();
    canvas->SetFont(grid_->Font());
    return properties->GetEditSize(canvas, container->GetEditStyle(), true, Variant(Null), DefaultcxEditSizeProperties).cy;
}

void TcxvgCustomViewInfo::Reset()
{
    TcxEditingController* editing = grid_->EditingController();
    if (!editing || !editing->IsEditing())
        return;
    if (TcxEditCellViewInfo* cell = grid_->Controller()->GetFocusedCellViewInfo(editing->EditingItem())) {
        cell->Visible = false;
        cell->VisibleBounds = TRect{};
    }
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
    TcxCustomControlViewInfo::Calculate();
}

void TcxvgCustomViewInfo::DoCalculate()
{
    if (!initialized_)
        Initialize();
    clientRect_ = grid_->GetClientBounds();
    // The control's pass freed every cell: the rows forget theirs before anything reads them.
    for (int i = 0; i < grid_->Rows()->GetCount(); ++i)
        if (TcxCustomRowViewInfo* rowViewInfo = grid_->Rows()->GetRow(i)->viewInfo_)
            rowViewInfo->ClearValues();
    Reset();
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
    TCustomImageList* images = grid_->Images();
    imageSize_ = images ? TSize{images->GetWidth(), images->GetHeight()} : TSize{0, 0};
    dividerWidth_ = vertLineWidth_ > 0 && showHeaders_ && calcHelper_ ? calcHelper_->GetDividerWidth() : 0;
    bandBorderColor_ = calcHelper_ ? calcHelper_->GetBandBorderColor() : options->GridLineColor();
    rowIndentWidth_ = calcHelper_ ? calcHelper_->GetIndentWidth() : 0;
    bandMinWidth_ = options->ValueMinWidth() + rowHeaderMinWidth_ + dividerWidth_;
    minRowHeight_ = GetMinRowHeight();
    fullHeaderWidth_ = showHeaders_ ? GetViewHeaderWidth() + dividerWidth_ : 0;
    CreateBrushes();
    // No themes here: the explorer-bar category style is never available, so the category
    // button keeps the plain expand button's size.
    useCategoryExplorerStyle_ = false;
    explorerButtonSize_ = TSize{buttonSize_, buttonSize_};
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
    TcxVerticalGridRows* rows = grid_->Rows();
    if (VisibleRowsCurrent())
        return;
    maxVisibleLevel_ = 0;
    visibleRows_.clear();
    visibleIndex_.clear();
    for (int i = 0; i < rows->GetCount(); ++i) {
        TcxCustomRow* row = rows->GetRow(i);
        if (grid_->IsRowVisible(row)) {
            visibleIndex_.emplace(row, static_cast<int>(visibleRows_.size()));
            visibleRows_.push_back(row);
            maxVisibleLevel_ = std::max(maxVisibleLevel_, row->GetLevel());
        }
    }
    // Taken after the walk: building the flat list on the way moves the stamp once more.
    visibleRowsStamp_ = rows->StructureStamp();
}

bool TcxvgCustomViewInfo::VisibleRowsCurrent() const
{
    return grid_->Rows() && visibleRowsStamp_ == grid_->Rows()->StructureStamp();
}

int TcxvgCustomViewInfo::VisibleIndexOf(const TcxCustomRow* row) const
{
    auto it = visibleIndex_.find(row);
    return it == visibleIndex_.end() ? -1 : it->second;
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
    linesInfo_.Clear();
    FocusLinesInfo.Clear();
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
    // Only the rows that reach into the band are measured: the band is no taller than the
    // client area, so rows below it change nothing here (a long grid scrolls in steady time).
    int total = horzLineWidth_;
    const int limit = clientRect_.Height();
    for (int i = grid_->Scroller()->GetTopVisibleRowIndex(); i < GetVisibleRowCount() && total < limit; ++i) {
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
    if (horzLineWidth_ <= 0)
        return;
    TRect line{rect.Left, rect.Bottom, rect.Right, rect.Bottom + horzLineWidth_};
    if (horzLineBrush_)
        AddLine(line, horzLineBrush_);
    else
        AddLine(line, grid_->OptionsView()->GridLineColor());
}

void TcxvgCustomViewInfo::AddRightValueSide(const TRect& rect, bool last)
{
    if (vertLineWidth_ <= 0)
        return;
    TRect line{rect.Right, rect.Top, rect.Right + vertLineWidth_, rect.Bottom + horzLineWidth_};
    if (last || !vertLineBrush_)
        AddLine(line, last ? bandBorderColor_ : grid_->OptionsView()->GridLineColor());
    else
        AddLine(line, vertLineBrush_);
}

void TcxvgCustomViewInfo::CalcEmpty()
{
    // The divider of an imaginary header keeps the empty grid's two halves apart.
    if (showHeaders_ && calcHelper_)
        calcHelper_->AddDivider(&linesInfo_,
                                TRect{clientRect_.Left, clientRect_.Top, clientRect_.Left + ViewHeaderWidth, clientRect_.Bottom},
                                false, clNone);
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

TRectScaler* TcxvgCustomViewInfo::ScaleRowRects(TcxCustomRowViewInfo* rowViewInfo)
{
    auto* scaler = new TRectScaler;
    scaler->Add(ViewHeaderWidth, rowHeaderMinWidth_, dividerWidth_);
    scaler->Add(ViewBandWidth - ViewHeaderWidth, bandMinWidth_);
    scaler->ScaleRect(rowViewInfo->RowRect);
    return scaler;
}

int TcxvgCustomViewInfo::CalcRowHeight(TcxCustomRow* row) { return GetRowHeight(row->GetViewInfo()); }

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

TRect TcxvgCustomViewInfo::GetBandSizeableRect(const TRect& bandRect)
{
    return TRect{bandRect.Right - 1, bandRect.Top, bandRect.Right + 2, clientRect_.Bottom};
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
    TcxvgOptionsView* options = Grid()->OptionsView();
    ViewHeaderWidth = GetViewHeaderWidth();
    if (!options->AutoScaleBands()) {
        ViewValueWidth = GetViewValueWidth();
        ViewBandWidth = GetViewBandWidth();
        return;
    }
    if (LockDividerPos)
        return;
    const int old = GetViewBandWidth();
    double ratio = 1;
    if (ShowHeaders() && old > 0)
        ratio = static_cast<double>(std::max(old, options->ValueMinWidth())) / std::max(ViewHeaderWidth, 1);
    int n = Grid()->Scroller()->GetBandsInfo().Count();
    int gaps = n > 1 ? (n - 1) * BandsInterval() : 0;
    int w = (clientRect_.Width() - gaps) / std::max(n, 1);
    ViewBandWidth = std::max({GetMinViewBandWidth(), w, BandMinWidth()});
    // The header keeps its share of a band whose width changed.
    if (ShowHeaders() && !movingDivider_ && ViewHeaderWidth < old && old != ViewBandWidth)
        SetDividerPos(static_cast<int>(std::lround(ViewBandWidth / ratio)));
    ViewHeaderWidth = GetViewHeaderWidth();
}

TRect TcxBandsViewInfo::GetBandSizeableRect(const TRect& bandRect)
{
    if (Grid()->OptionsView()->AutoScaleBands())
        return TRect{};
    return TcxvgCustomViewInfo::GetBandSizeableRect(bandRect);
}

void TcxBandsViewInfo::LayoutStyleChanged()
{
    if (Grid()->OptionsView()->AutoScaleBands()) {
        ViewHeaderWidth = std::max(Grid()->OptionsView()->RowHeaderWidth(), GetViewMinHeaderWidth());
        SetDividerPos(ViewHeaderWidth);
        ViewBandWidth = GetMinViewBandWidth();
    }
    TcxvgCustomViewInfo::LayoutStyleChanged();
}

void TcxBandsViewInfo::SetDividerPos(int pos)
{
    const bool moving = movingDivider_;
    movingDivider_ = true;
    try {
        if (Grid()->OptionsView()->AutoScaleBands())
            TcxvgCustomViewInfo::SetDividerPos(pos);
        else
            Grid()->OptionsView()->SetRowHeaderWidth(std::min(pos, ClipRect().Right - 4));
    } catch (...) {
        movingDivider_ = moving;
        throw;
    }
    movingDivider_ = moving;
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

// --- TcxMultiRecordViewInfo --------------------------------------------------------------------
int TcxMultiRecordViewInfo::Separator() const
{
    return recordsInterval_ == 0 ? VertLineWidth() : recordsInterval_ + 2 * VertLineWidth();
}

void TcxMultiRecordViewInfo::CalcLayoutGeneral()
{
    recordsInterval_ = Grid()->GetRecordsInterval();
    TcxvgCustomViewInfo::CalcLayoutGeneral();
}

void TcxMultiRecordViewInfo::Reset()
{
    visibleValueCount_ = -1;
    TcxvgCustomViewInfo::Reset();
}

void TcxMultiRecordViewInfo::CalcBandWidth()
{
    const int v = VertLineWidth();
    ViewHeaderWidth = GetViewHeaderWidth();
    ViewValueWidth = Grid()->OptionsView()->ValueWidth();
    firstBlockWidth_ = ViewValueWidth + 2 * v + ViewHeaderWidth + DividerWidth();
    int w = firstBlockWidth_;
    const int records = GetRecordCount();
    if (records > 1)
        w += (Separator() + ViewValueWidth) * (records - Grid()->Scroller()->GetLeftVisibleRecord() - 1);
    ViewBandWidth = std::min(w, clientRect_.Width());
}

TRect TcxMultiRecordViewInfo::GetValueRect(int valueIndex, TcxCustomRowViewInfo* rowViewInfo)
{
    const TRect& row = rowViewInfo->RowRect;
    int left = row.Left + ViewHeaderWidth + DividerWidth() + valueIndex * (Separator() + ViewValueWidth);
    return TRect{left, row.Top, left + ViewValueWidth, row.Bottom};
}

int TcxMultiRecordViewInfo::GetDefaultGridModeBufferCount()
{
    int w = clientRect_.Width() - (ViewHeaderWidth + DividerWidth() + VertLineWidth());
    if (w <= 0)
        return 1;
    int step = std::max(1, ViewValueWidth + recordsInterval_);
    return (w + step - 1) / step;
}

int TcxMultiRecordViewInfo::GetVisibleValueCount()
{
    if (visibleValueCount_ < 0)
        visibleValueCount_ =
            cxRectIsEmpty(clientRect_)
                ? 0
                : std::max(1, std::min(GetDefaultGridModeBufferCount(),
                                       GetRecordCount() - Grid()->Scroller()->GetLeftVisibleRecord()));
    return visibleValueCount_;
}

int TcxMultiRecordViewInfo::GetRowHeight(TcxCustomRowViewInfo* rowViewInfo)
{
    TcxCustomRow* row = rowViewInfo->Row();
    int h = row->GetRealHeight();
    if (GetRowAutoHeight(row) && !row->IsHeightAssigned())
        for (int k = 0; k < GetVisibleValueCount(); ++k)
            h = std::max(h, rowViewInfo->GetValueHeight(GetFirstVisibleRecordIndex() + k, ViewValueWidth, this));
    return h;
}

void TcxMultiRecordViewInfo::AddRightValueSide(const TRect& rect, bool last)
{
    TcxvgCustomViewInfo::AddRightValueSide(rect, last || recordsInterval_ > 0);
}

void TcxMultiRecordViewInfo::UpdateRecord(int recordIndex)
{
    if (recordIndex < 0)
        return;
    for (TcxCustomRowViewInfo* rowViewInfo : rowsViewInfo_) {
        if (!rowViewInfo->OwnerViewInfo)
            rowViewInfo->OwnerViewInfo = this;
        rowViewInfo->UpdateRecord(recordIndex);
    }
}

void TcxMultiRecordViewInfo::SetDividerPos(int pos)
{
    Grid()->OptionsView()->SetRowHeaderWidth(std::min(pos, ClipRect().Right - 4));
}

TRect TcxMultiRecordViewInfo::GetBandSizeableRect(const TRect& bandRect)
{
    // Sizing at the first record column's right edge changes the value width.
    const int x = bandRect.Left + ViewHeaderWidth + DividerWidth() + ViewValueWidth + VertLineWidth();
    return TRect{x - 1, clientRect_.Top, x + 2, clientRect_.Bottom};
}

void TcxMultiRecordViewInfo::AddEmptyRects()
{
    if (!bandRects_.empty() && bandRects_.back().Right < clientRect_.Right)
        emptyRects_.push_back(
            TRect{bandRects_.back().Right, clientRect_.Top, clientRect_.Right, clientRect_.Bottom});
}

void TcxMultiRecordViewInfo::AddRecordGaps()
{
    // Runs of consecutive value rows; category rows span the gaps between the record columns.
    const int h = HorzLineWidth();
    const int v = VertLineWidth();
    std::vector<std::pair<int, int>> runs;   // top, height
    int top = clientRect_.Top;
    int height = 0;
    for (TcxCustomRowViewInfo* row : rowsViewInfo_) {
        if (dynamic_cast<TcxCategoryRow*>(row->Row())) {
            if (height > 0)
                runs.emplace_back(top, height);
            top = row->RowRect.Bottom;
            height = 0;
        } else
            height += row->Height + h;
    }
    if (height > 0)
        runs.emplace_back(top, height);
    const int gaps = GetVisibleValueCount() - 1;
    const TRect band = bandRects_.empty() ? clientRect_ : bandRects_.back();
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const bool lastRun = r + 1 == runs.size();
        auto [runTop, runHeight] = runs[r];
        int gapLeft = band.Left + firstBlockWidth_;
        for (int g = 0; g < gaps; ++g, gapLeft += recordsInterval_ + ViewValueWidth + 2 * v) {
            if (!lastRun && h > 0)
                AddLine(TRect{gapLeft, runTop + runHeight, gapLeft + recordsInterval_, runTop + runHeight + h},
                        BandBorderColor());
            emptyRects_.push_back(
                TRect{gapLeft, runTop, gapLeft + recordsInterval_, runTop + runHeight + (lastRun ? h : 0)});
            // The next record column's box starts right after the gap; its left line is the box's
            // first pixel column, the cell begins one pixel further on.
            if (v > 0)
                AddLine(TRect{gapLeft + recordsInterval_, runTop, gapLeft + recordsInterval_ + v, runTop + runHeight + h},
                        BandBorderColor());
        }
    }
}

void TcxMultiRecordViewInfo::AddBandRowsLines(const TRect& bandRect)
{
    if (recordsInterval_ == 0) {
        TcxvgCustomViewInfo::AddBandRowsLines(bandRect);
        return;
    }
    const int h = HorzLineWidth();
    const int v = VertLineWidth();
    AddRecordGaps();
    if (v > 0)
        AddLine(TRect{bandRect.Left, bandRect.Top - h, bandRect.Left + v, bandRect.Top - h + bandRect.Height()},
                BandBorderColor());
    // Each record column is a box of its own with a top and a bottom border.
    int x = bandRect.Left;
    int width = firstBlockWidth_;
    while (x < bandRect.Right && h > 0) {
        const int right = std::min(x + width, bandRect.Right);
        AddLine(TRect{x, bandRect.Top, right, bandRect.Top + h}, BandBorderColor());
        AddLine(TRect{x, bandRect.Bottom - h, right, bandRect.Bottom}, BandBorderColor());
        x += width + recordsInterval_;
        width = ViewValueWidth + 2 * v;
    }
}

} // namespace cx
