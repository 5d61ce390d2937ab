// cxVGrid: the bands list, the scroll strategies and the scroller.
#include <algorithm>

#include "platform/gdi/GdiConsts.h"
#include "platform/vcl/Desktop.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

int TBandInfoList::Add(int bandIndex, int rowsCount, int height, int firstRow)
{
    if (items_.size() == items_.capacity())
        items_.reserve(items_.size() + 32);
    items_.push_back({bandIndex, rowsCount, height, firstRow});
    return Count() - 1;
}

// --- TcxvgCustomScrollStrategy ----------------------------------------------------------------
TcxvgCustomScrollStrategy::TcxvgCustomScrollStrategy(TcxvgScroller* scroller) : scroller_(scroller) {}

TcxvgCustomViewInfo* TcxvgCustomScrollStrategy::ViewInfo() const
{
    return scroller_->GetViewInfo();
}

TcxCustomVerticalGrid* TcxvgCustomScrollStrategy::Grid() const
{
    return scroller_->Grid();
}

TcxCustomDataController* TcxvgCustomScrollStrategy::DataController() const
{
    return Grid()->DataController();
}

int TcxvgCustomScrollStrategy::ClientHeight() const
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    return vi ? vi->ClientRect().Height() : 0;
}

bool TcxvgCustomScrollStrategy::CanContinueForward(int index)
{
    return ViewInfo() && index < ViewInfo()->GetVisibleRowCount();
}

int TcxvgCustomScrollStrategy::RowHeightAt(int visibleIndex)
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    TcxCustomRow* row = vi->GetVisibleRow(visibleIndex);
    TcxCustomRowViewInfo* rowViewInfo = row->GetViewInfo();
    if (vi->GetRowViewInfo(row))
        return rowViewInfo->Height;
    return vi->GetRowHeight(rowViewInfo);
}

int TcxvgCustomScrollStrategy::GetVisibleCount(int startIndex, int height, int step, bool forward)
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    if (!vi || vi->ViewBandWidth <= 0)
        return 0;
    int lineWidth = vi->HorzLineWidth();
    int result = 0;
    int rowsInBand = 0;
    int used = lineWidth;
    int bandLeft = vi->ClientRect().Left;
    int bandCount = 0;
    int index = startIndex;
    while (forward ? CanContinueForward(index) : CanContinueBackward(index)) {
        int rowHeight = RowHeightAt(index);
        if (used + rowHeight + lineWidth > height) {
            // A row taller than a band fills one band alone and is counted there only.
            bool aloneAndTooTall = rowsInBand == 0;
            result += rowsInBand > 0 ? rowsInBand : 1;
            rowsInBand = 0;
            used = lineWidth;
            bandLeft += vi->ViewBandWidth + GetBandInterval();
            ++bandCount;
            if (!CanCalcRowsOnTheNextBand(bandLeft, bandCount))
                break;
            if (aloneAndTooTall) {
                index += step;
                continue;
            }
        }
        used += rowHeight + lineWidth;
        ++rowsInBand;
        index += step;
    }
    return result + rowsInBand;
}

int TcxvgCustomScrollStrategy::GetVisibleRowCount()
{
    return GetVisibleCountFromTop(topVisibleRowIndex_, ClientHeight());
}

void TcxvgCustomScrollStrategy::SetTopVisibleRowIndex(int index)
{
    if (topVisibleRowIndex_ == index)
        return;
    topVisibleRowIndex_ = index;
    Grid()->LayoutChanged();
    Grid()->DoTopRowIndexChanged();
}

void TcxvgCustomScrollStrategy::CheckLeftVisibleRecord(int& index)
{
    if (checking_)
        return;
    checking_ = true;
    int rowCount = DataController()->GetRowCount();
    if (index > rowCount - 1)
        index = rowCount - 1;
    if (index > 0 && index > rowCount - GetVisibleValueCount())
        index = rowCount - GetVisibleValueCount();
    if (index < 0)
        index = 0;
    checking_ = false;
}

void TcxvgCustomScrollStrategy::SetLeftVisibleRecord(int index)
{
    CheckLeftVisibleRecord(index);
    if (index != leftVisibleRecord_) {
        leftVisibleRecord_ = index;
        Grid()->LayoutChanged();
    }
}

int TcxvgCustomScrollStrategy::GetScrollBarOffsetBegin()
{
    return 0;
}

int TcxvgCustomScrollStrategy::GetScrollBarOffsetEnd()
{
    return 0;
}

int TcxvgCustomScrollStrategy::GetScrollBarRecordCount()
{
    if (auto* db = dynamic_cast<IcxVerticalGridDBDataContoller*>(DataController()))
        return db->GetScrollBarRecordCount();
    return GetScrollBarOffsetBegin() + DataController()->GetRowCount() + GetScrollBarOffsetEnd();
}

int TcxvgCustomScrollStrategy::GetScrollBarPos()
{
    if (auto* db = dynamic_cast<IcxVerticalGridDBDataContoller*>(DataController()))
        return db->GetScrollBarPos();
    return GetScrollBarOffsetBegin() + leftVisibleRecord_;
}

void TcxvgCustomScrollStrategy::SetScrollBarPos(int pos)
{
    if (auto* db = dynamic_cast<IcxVerticalGridDBDataContoller*>(DataController()))
        if (db->SetScrollBarPos(pos))
            return;
    Scroller()->SetLeftVisibleRecord(pos - GetScrollBarOffsetBegin());
}

void TcxvgCustomScrollStrategy::ScrollRecords(bool forward, int delta)
{
    if (auto* db = dynamic_cast<IcxVerticalGridDBDataContoller*>(DataController()))
        if (delta == 1 ? db->DoScroll(forward) : db->DoScrollPage(forward))
            return;
    Scroller()->SetLeftVisibleRecord(leftVisibleRecord_ + (forward ? delta : -delta));
}

bool TcxvgCustomScrollStrategy::IsHideHScrollBar()
{
    int clientHeight = Grid()->ClientHeight();
    if (clientHeight - 2 < vcl::System().GetSystemMetrics(SM_CYHSCROLL))
        return true;
    // Without a controller that lets records change, a single record never scrolls sideways.
    return IsRecordsScrollMode() && DataController()->GetRowCount() <= 1;
}

bool TcxvgCustomScrollStrategy::IsHideVScrollBar()
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    int width = vi ? vi->ClientRect().Width() : 0;
    return width - 2 < vcl::System().GetSystemMetrics(SM_CXVSCROLL);
}

void TcxvgCustomScrollStrategy::ScrollV(TScrollCode code, int& pos)
{
    int top = topVisibleRowIndex_;
    switch (code) {
    case scLineUp: top -= 1; break;
    case scLineDown: top += 1; break;
    case scPageUp: top -= GetVisibleRowCount(); break;
    case scPageDown: top += GetVisibleRowCount(); break;
    case scTrack: top = pos; break;
    default: return;
    }
    Scroller()->SetTopVisibleRowIndex(top);
    pos = topVisibleRowIndex_;
}

void TcxvgCustomScrollStrategy::ScrollH(TScrollCode code, int& pos)
{
    bool gridMode = DataController()->IsGridMode();
    switch (code) {
    case scLineUp: ScrollRecords(false, 1); break;
    case scLineDown: ScrollRecords(true, 1); break;
    case scPageUp: Scroller()->SetLeftVisibleRecord(leftVisibleRecord_ - GetVisibleValueCount()); break;
    case scPageDown: Scroller()->SetLeftVisibleRecord(leftVisibleRecord_ + GetVisibleValueCount()); break;
    case scPosition:
        if (gridMode)
            SetScrollBarPos(pos);
        break;
    case scTrack:
        if (!gridMode)
            SetScrollBarPos(pos);
        break;
    default: return;
    }
    pos = GetScrollBarPos();
}

void TcxvgCustomScrollStrategy::CheckDecreaseTopIndex(int height)
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    int count = vi->GetVisibleRowCount();
    int n = GetVisibleCountFromBottom(count - 1, height);
    if (count - n < topVisibleRowIndex_)
        topVisibleRowIndex_ = std::max(0, count - n);
}

int TcxvgCustomScrollStrategy::CheckTopVisibleIndex(int index, int direction)
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    int count = vi ? vi->GetVisibleRowCount() : 0;
    int maxTop = count - GetVisibleCountFromBottom(count - 1, ClientHeight());
    return std::max(0, std::min(index, maxTop));
}

int TcxvgCustomScrollStrategy::GetFirstRowByBandIndex(int bandIndex)
{
    if (bandIndex < 0 || bandIndex >= bandsInfo_.Count())
        return -1;
    return bandsInfo_.GetItem(bandIndex).FirstRow;
}

void TcxvgCustomScrollStrategy::InitHScrollBarParameters()
{
    Grid()->SetScrollBarInfo(sbHorizontal, 0, GetScrollBarRecordCount() - 1, 1, GetVisibleValueCount(),
                             GetScrollBarPos(), !IsHideHScrollBar(), true);
}

void TcxvgCustomScrollStrategy::InitVScrollBarParameters()
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    Grid()->SetScrollBarInfo(sbVertical, 0, vi->GetVisibleRowCount() - 1, 1, GetVisibleRowCount(),
                             topVisibleRowIndex_, !IsHideVScrollBar(), true);
}

void TcxvgCustomScrollStrategy::RecalcBandsInfo()
{
    bandsInfo_.Clear();
    bandsInfo_.Add(0, ViewInfo()->GetVisibleRowCount(), -1, 0);
}

void TcxvgCustomScrollStrategy::SetRowMaxVisible(TcxCustomRow* row)
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    int lineWidth = vi->HorzLineWidth();
    int visibleIndex = vi->GetVisibleRowCount();
    for (int i = 0; i < vi->GetVisibleRowCount(); ++i)
        if (vi->GetVisibleRow(i) == row)
            visibleIndex = i;
    int fullHeight = RowHeightAt(visibleIndex) + lineWidth;
    int descendants = 0;
    for (int i = visibleIndex + 1; i < vi->GetVisibleRowCount() && row->IsParent(vi->GetVisibleRow(i)); ++i) {
        fullHeight += RowHeightAt(i) + lineWidth;
        ++descendants;
    }
    if (ClientHeight() * std::max(1, bandsInfo_.Count()) <= fullHeight) {
        SetTopVisibleRowIndex(visibleIndex);
        return;
    }
    int k = visibleIndex + descendants - GetVisibleCountFromTop(topVisibleRowIndex_, ClientHeight()) + 1;
    if (k > topVisibleRowIndex_)
        SetTopVisibleRowIndex(k);
}

int TcxvgCustomScrollStrategy::FindNextRecord(int recordIndex, bool goForward)
{
    int n = DataController()->GetRowCount();
    if (n == 0)
        return -1;
    int candidate;
    if (recordIndex == -1)
        candidate = goForward ? 0 : -1;
    else
        candidate = goForward ? recordIndex + 1 : recordIndex - 1;
    if (goForward ? candidate <= n - 1 : candidate >= 0)
        return candidate;
    return -1;
}

bool TcxvgCustomScrollStrategy::FocusNextRecord(int recordIndex, bool goForward)
{
    TcxCustomDataController* dc = DataController();
    TcxDataControllerEditState state = dc->GetEditState();
    if (state.Contains(dceModified)) {
        dc->Post();
        recordIndex = dc->GetFocusedRowIndex();
    } else if (state == TcxDataControllerEditState{dceInsert} && dc->IsEOF() != goForward) {
        dc->Cancel();
        return true;
    }
    int next = FindNextRecord(recordIndex, goForward);
    if (next == -1)
        return false;
    dc->SetFocusedRowIndex(next);
    return true;
}

// --- multi-record and bands strategies --------------------------------------------------------
int TcxvgMultiRecordsScrollStrategy::GetVisibleValueCount()
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    if (!vi)
        return 1;
    int v = vi->VertLineWidth();
    int interval = Grid()->GetRecordsInterval();
    int separator = interval == 0 ? v : interval + 2 * v;
    int clientWidth = vi->ClientRect().Width();
    int valueWidth = std::max(1, vi->ViewValueWidth);
    int count = std::max(1, (separator + clientWidth - vi->FullHeaderWidth() - 2 * v) / (separator + valueWidth));
    return std::min(DataController()->GetRowCount(), count);
}

void TcxvgMultiRecordsScrollStrategy::CheckDecreaseLeftIndex()
{
    int recordCount = DataController()->GetRowCount();
    if (recordCount < leftVisibleRecord_ + GetVisibleValueCount())
        leftVisibleRecord_ = std::max(0, recordCount - GetVisibleValueCount());
}

int TcxvgBandsScrollStrategy::GetBandInterval()
{
    return ViewInfo() ? ViewInfo()->BandsInterval() : 0;
}

int TcxvgBandsScrollStrategy::GetBandIndexByRowIndex(int rowIndex)
{
    for (int i = 0; i < bandsInfo_.Count(); ++i) {
        TBandInfo band = bandsInfo_.GetItem(i);
        if (rowIndex >= band.FirstRow && rowIndex < band.FirstRow + band.RowsCount)
            return i;
    }
    return -1;
}

int TcxvgBandsScrollStrategy::GetVisibleBandCount()
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    int bands = bandsInfo_.Count();
    int clientWidth = vi ? vi->ClientRect().Width() : 0;
    int bandWidth = vi ? std::max(1, vi->ViewBandWidth) : 1;
    return std::min(bands, std::max(1, (clientWidth + GetBandInterval() - bands) / bandWidth));
}

bool TcxvgBandsScrollStrategy::CanCalcRowsOnTheNextBand(int left, int bandCount)
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    int right = vi->ClientRect().Right - vi->VertLineWidth();
    if (left + vi->ViewBandWidth + GetBandInterval() + 1 <= right)
        return true;
    return Grid()->OptionsView()->AutoScaleBands() && bandCount >= left + vi->ViewBandWidth - vi->ClientRect().Right;
}

void TcxvgBandsScrollStrategy::LimitLeftVisibleBand(int index, bool notify)
{
    index = std::max(0, std::min(index, bandsInfo_.Count() - GetVisibleBandCount()));
    if (index != leftVisibleBand_) {
        leftVisibleBand_ = index;
        if (notify)
            Grid()->DoLeftVisibleBandIndexChanged();
    }
}

void TcxvgBandsScrollStrategy::SetLeftVisibleBand(int index)
{
    index = std::max(0, std::min(index, bandsInfo_.Count() - GetVisibleBandCount()));
    if (index == leftVisibleBand_)
        return;
    leftVisibleBand_ = index;
    topVisibleRowIndex_ = std::max(0, GetFirstRowByBandIndex(index));
    Grid()->LayoutChanged();
}

void TcxvgBandsScrollStrategy::CheckDecreaseTopIndex(int height)
{
    LimitLeftVisibleBand(leftVisibleBand_, true);
    topVisibleRowIndex_ = std::max(0, GetFirstRowByBandIndex(leftVisibleBand_));
}

int TcxvgBandsScrollStrategy::CheckTopVisibleIndex(int index, int direction)
{
    int band = GetBandIndexByRowIndex(index);
    if (band < 0)
        return index;
    if (GetFirstRowByBandIndex(band) != index) {
        band += direction;
        if (band >= bandsInfo_.Count())
            return index;
    }
    int result = GetFirstRowByBandIndex(band);
    if (band != leftVisibleBand_) {
        leftVisibleBand_ = band;
        Grid()->DoLeftVisibleBandIndexChanged();
    }
    return result;
}

bool TcxvgBandsScrollStrategy::IsRecordsScrollMode()
{
    // The grid's controller decides whether records change; an unbound grid never does.
    return DataController()->GetRowCount() > 1;
}

void TcxvgBandsScrollStrategy::InitHScrollBarParameters()
{
    if (IsRecordsScrollMode()) {
        TcxvgCustomScrollStrategy::InitHScrollBarParameters();
        return;
    }
    Grid()->SetScrollBarInfo(sbHorizontal, 0, bandsInfo_.Count() - 1, 1, GetVisibleBandCount(), leftVisibleBand_,
                             !IsHideHScrollBar(), true);
}

void TcxvgBandsScrollStrategy::ScrollH(TScrollCode code, int& pos)
{
    if (IsRecordsScrollMode()) {
        TcxvgCustomScrollStrategy::ScrollH(code, pos);
        return;
    }
    int band = leftVisibleBand_;
    switch (code) {
    case scLineUp: band -= 1; break;
    case scLineDown: band += 1; break;
    case scPageUp: band -= GetVisibleBandCount(); break;
    case scPageDown: band += GetVisibleBandCount(); break;
    case scTrack: band = pos; break;
    default: return;
    }
    Scroller()->SetLeftVisibleBand(band);
    pos = leftVisibleBand_;
}

void TcxvgBandsScrollStrategy::RecalcBandsInfo()
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    bandsInfo_.Clear();
    vi->ViewValueWidth = vi->GetViewValueWidth();
    int lineWidth = vi->HorzLineWidth();
    int clientHeight = ClientHeight();
    int used = lineWidth;
    int rowsInBand = 0;
    int bandIndex = 0;
    int firstRow = 0;
    int i = 0;
    while (i < vi->GetVisibleRowCount()) {
        TcxCustomRowViewInfo* rowViewInfo = vi->GetVisibleRow(i)->GetViewInfo();
        int height = vi->GetRowHeight(rowViewInfo);
        rowViewInfo->Height = height;
        if (used + height + lineWidth <= clientHeight) {
            if (rowsInBand == 0)
                firstRow = i;
            used += height + lineWidth;
            ++rowsInBand;
            ++i;
        } else if (rowsInBand > 0) {
            bandsInfo_.Add(bandIndex++, rowsInBand, used, firstRow);
            rowsInBand = 0;
            used = lineWidth;
        } else {
            bandsInfo_.Add(bandIndex++, 1, height + lineWidth, i);
            used = lineWidth;
            ++i;
        }
    }
    if (rowsInBand > 0)
        bandsInfo_.Add(bandIndex, rowsInBand, used, firstRow);
}

void TcxvgBandsScrollStrategy::SetRowMaxVisible(TcxCustomRow* row)
{
    TcxvgCustomViewInfo* vi = ViewInfo();
    int visibleIndex = -1;
    for (int i = 0; i < vi->GetVisibleRowCount(); ++i)
        if (vi->GetVisibleRow(i) == row)
            visibleIndex = i;
    int top = visibleIndex;
    TcxCustomRow* lastChild = row->Expanded() ? row->GetLastVisibleChild() : nullptr;
    int lastIndex = -1;
    for (int i = 0; lastChild && i < vi->GetVisibleRowCount(); ++i)
        if (vi->GetVisibleRow(i) == lastChild)
            lastIndex = i;
    if (lastIndex >= 0) {
        int b = GetBandIndexByRowIndex(visibleIndex);
        int l = GetBandIndexByRowIndex(lastIndex);
        int k = GetVisibleBandCount();
        if (k >= l - b && l < b + k)
            top = GetFirstRowByBandIndex(std::max(0, l - k + 1));
    }
    SetTopVisibleRowIndex(std::max(0, top));
}

// --- TcxvgScroller ----------------------------------------------------------------------------
TcxvgScroller::TcxvgScroller(TcxCustomVerticalGrid* grid) : grid_(grid) {}

TcxvgScroller::~TcxvgScroller() = default;

TcxvgCustomScrollStrategy* TcxvgScroller::CreateScrollStrategy()
{
    return grid_->GetScrollStrategyClass().Create(this);
}

void TcxvgScroller::RecreateScrollStrategy()
{
    strategy_.reset();
    strategy_.reset(CreateScrollStrategy());
}

TcxvgCustomViewInfo* TcxvgScroller::GetViewInfo() const
{
    return grid_->ViewInfo();
}

void TcxvgScroller::InitScrollBarsParameters()
{
    strategy_->InitHScrollBarParameters();
    strategy_->InitVScrollBarParameters();
}

void TcxvgScroller::RecalcBandsInfo()
{
    strategy_->RecalcBandsInfo();
    CheckDecreaseLeftIndex();
    CheckDecreaseTopIndex();
}

void TcxvgScroller::CheckDecreaseLeftIndex()
{
    if (checkDecreaseLeft_)
        strategy_->CheckDecreaseLeftIndex();
    checkDecreaseLeft_ = false;
}

void TcxvgScroller::CheckDecreaseTopIndex()
{
    if (checkDecreaseTop_ && strategy_->TopVisibleRowIndex() != 0 && GetViewInfo())
        strategy_->CheckDecreaseTopIndex(GetViewInfo()->ClientRect().Height());
    checkDecreaseTop_ = false;
}

void TcxvgScroller::Scroll(bool vertical, TScrollCode code, int& pos)
{
    if (vertical)
        strategy_->ScrollV(code, pos);
    else
        strategy_->ScrollH(code, pos);
}

void TcxvgScroller::SetTopVisibleRowIndex(int index)
{
    if (!strategy_ || !GetViewInfo())
        return;
    strategy_->SetTopVisibleRowIndex(strategy_->CheckTopVisibleIndex(index, 0));
}

void TcxvgScroller::SetLeftVisibleBand(int index)
{
    int old = strategy_->GetLeftVisibleBand();
    strategy_->SetLeftVisibleBand(index);
    if (strategy_->GetLeftVisibleBand() != old)
        grid_->DoLeftVisibleBandIndexChanged();
}

void TcxvgScroller::SetLeftVisibleRecord(int index)
{
    int old = strategy_->LeftVisibleRecord();
    strategy_->SetLeftVisibleRecord(index);
    if (strategy_->LeftVisibleRecord() != old) {
        if (GetViewInfo() && grid_->HandleAllocated())
            GetViewInfo()->Calculate();
        grid_->DoLeftVisibleRecordIndexChanged();
    }
}

bool TcxvgScroller::SetRecordVisible(int recordIndex)
{
    if (recordIndex < 0 || recordIndex >= grid_->GetRecordCount())
        return false;
    int left = strategy_->LeftVisibleRecord();
    int count = strategy_->GetVisibleValueCount();
    if (recordIndex < left)
        SetLeftVisibleRecord(recordIndex);
    else if (recordIndex >= left + count)
        SetLeftVisibleRecord(recordIndex - count + 1);
    return strategy_->LeftVisibleRecord() != left;
}

int TcxvgScroller::GetVisibleCountFromBottom(int index)
{
    return strategy_->GetVisibleCountFromBottom(index, GetViewInfo() ? GetViewInfo()->ClientRect().Height() : 0);
}

void TcxvgScroller::SetRowVisible(TcxCustomRow* row)
{
    TcxvgCustomViewInfo* vi = GetViewInfo();
    if (!strategy_ || !vi || !row)
        return;
    int v = -1;
    for (int i = 0; i < vi->GetVisibleRowCount(); ++i)
        if (vi->GetVisibleRow(i) == row)
            v = i;
    if (v < 0)
        return;
    int top = strategy_->TopVisibleRowIndex();
    int newTop = top;
    int direction = 0;
    if (v < top)
        newTop = v;
    else if (v > top + strategy_->GetVisibleRowCount() - 1) {
        int n = GetVisibleCountFromBottom(v);
        if (top < v - n + 1)
            newTop = std::max(0, v - n + 1);
        direction = 1;
    }
    strategy_->SetTopVisibleRowIndex(strategy_->CheckTopVisibleIndex(newTop, direction));
}

void TcxvgScroller::SetRowMaxVisible(TcxCustomRow* row)
{
    TcxvgCustomViewInfo* vi = GetViewInfo();
    if (!row || !vi)
        return;
    bool visible = false;
    for (int i = 0; i < vi->GetVisibleRowCount(); ++i)
        visible = visible || vi->GetVisibleRow(i) == row;
    if (!visible)
        return;
    if (!row->Expanded())
        SetRowVisible(row);
    else
        strategy_->SetRowMaxVisible(row);
}

bool TcxvgScroller::GoToLast()
{
    // The last record gets the focus (a backward search from no record finds none).
    int n = grid_->GetRecordCount();
    if (n == 0)
        return false;
    return strategy_->FocusNextRecord(n - 2, true);
}

int TcxvgScroller::GetFocusedRecordIndex()
{
    return grid_->DataController()->GetFocusedRowIndex();
}

void TcxvgScroller::LayoutStyleChanged()
{
    grid_->BeginUpdate();
    grid_->DoLayoutChanged();
    SetLeftVisibleBand(0);
    strategy_->SetTopVisibleRowIndex(0);
    if (grid_->GetFocusedRow())
        SetRowVisible(grid_->GetFocusedRow());
    grid_->EndUpdate();
    if (grid_->HandleAllocated() && GetViewInfo())
        GetViewInfo()->LockDividerPos = false;
}

} // namespace cx
