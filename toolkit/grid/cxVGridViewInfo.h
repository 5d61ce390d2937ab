#pragma once
// cxVGridViewInfo: the vertical grid's layout: visible rows, widths, bands and empty rectangles,
// row and value rectangles, grid lines. Nothing is painted here.
#include <unordered_map>
#include <vector>

#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridHeaders.h"
#include "toolkit/grid/cxVGridUtils.h"

namespace cx {

class TcxvgCustomViewInfo;

// What the paint style decides for the layout: line widths and brushes, colours, the lines of
// headers and indents. The painting unit supplies the real helpers; a grid names its helper
// through GetCalcHelperClass.
class TcxvgCustomPaintStyleCalcHelper : public TObject {
    RTL_CLASS(TcxvgCustomPaintStyleCalcHelper, TObject)
    explicit TcxvgCustomPaintStyleCalcHelper(TcxvgCustomViewInfo* viewInfo) : viewInfo_(viewInfo) {}
    // The caller owns the brushes.
    virtual TBrush* CreateHorzLineBrush() = 0;
    virtual TBrush* CreateVertLineBrush() = 0;
    virtual TColor GetBandBorderColor();
    virtual int GetDividerWidth() = 0;
    virtual int GetIndentWidth() = 0;
    virtual void AddBoundHeaderLines(TcxCustomRowHeaderInfo* headerInfo) = 0;
    virtual void AddDivider(TLineInfoList* lines, const TRect& rect, bool separator, TColor color) = 0;
    virtual void AddHeaderIndentLines(TcxCustomRowHeaderInfo* headerInfo, const TRect& rect, bool rightLine,
                                      bool bottomLine, bool isCategory, const TcxViewParams& viewParams) = 0;
    virtual void CalcPaintViewParamsLines(TcxCustomRowViewInfo* rowViewInfo, TcxCustomRow* nextRow) = 0;
    // Recomputes the two rows; the rectangle they cover.
    virtual void ChangeFocusedRow(TcxCustomRow* newRow, TcxCustomRow* oldRow, TRect& updateRect) = 0;
    virtual TColor GetBackgroundColor() { return GetHeaderColor(); }
    virtual TColor GetCategoryColor() = 0;
    virtual TRect GetCategoryFocusRect(TcxCustomRowHeaderInfo* headerInfo) = 0;
    virtual TColor GetCategoryTextColor() = 0;
    virtual TColor GetContentColor(bool focused) = 0;
    virtual TColor GetContentTextColor() = 0;
    virtual TColor GetHeaderColor() = 0;
    virtual TColor GetHeaderTextColor() = 0;
    virtual TcxViewParams GetIndentViewParams(TcxCustomRow* row, TcxCustomRow* parentRow) = 0;
    virtual bool IsDrawValueFocusRect() = 0;
    TcxvgCustomViewInfo* ViewInfo() const { return viewInfo_; }
    TcxCustomVerticalGrid* Grid() const;
    TcxvgScroller* Scroller() const;

private:
    TcxvgCustomViewInfo* viewInfo_;
};

// One value cell: a record's value of one editor of a row.
class TcxRowValueInfo : public TcxEditCellViewInfo {
    RTL_CLASS(TcxRowValueInfo, TcxEditCellViewInfo)
    TcxRowValueInfo(TcxCustomControlViewInfo* owner, TcxCustomInplaceEditContainer* item, int recordIndex)
        : TcxEditCellViewInfo(owner, item, recordIndex)
    {
    }
    // Places the cell: its bounds, the part inside the clip rectangle, the focus rectangle.
    void SetBounds(const TRect& rect, const TRect& clipRect);
    bool GetFocused() const override;
    Variant GetDisplayValue() const override;
    // The editor's view info for this cell, then the focus rectangle.
    void DoCalculate() override;
    // The grid's content style of the row, focused or not.
    TcxViewParams GetEditViewParams() override;
    TcxCustomRow* Row = nullptr;
    int RowCellIndex = 0;
    TRect FocusRect{};
};

class TcxCustomRowViewInfo : public TObject {
    RTL_CLASS(TcxCustomRowViewInfo, TObject)
    explicit TcxCustomRowViewInfo(TcxCustomRow* row);
    ~TcxCustomRowViewInfo() override;

    void Calc(const TRect& rect, TcxvgCustomViewInfo* viewInfo, TcxCustomRow* nextRow);
    virtual void CalcValuesInfo() {}
    virtual void CalcRowHeaderInfo(TcxCustomRow* nextRow);
    virtual void CalcPaintViewParamsLines(TcxCustomRow* nextRow);
    virtual int GetValueHeight(int recordIndex, int width, TcxvgCustomViewInfo* viewInfo) { return -1; }
    // Recomputes this row in place (focus or data changed).
    void Update();
    void UpdateRecord(int recordIndex);
    // The cell of a record and editor made or found for this pass.
    TcxRowValueInfo* CalcRowValueInfo(int cellIndex, int recordIndex);
    TcxRowValueInfo* GetRowValueInfo(int recordIndex, int cellIndex) const;
    // Adds the lines right of and below a value rectangle.
    void AddRectValueLines(const TRect& rect, bool last, bool hasNextRow);
    // Frees the cells from index count on.
    void TruncValues(int count);
    // Forgets the cells without freeing them (the control view info freed them with its pass).
    void ClearValues() { valuesInfo_.clear(); }
    int ValueCount() const { return static_cast<int>(valuesInfo_.size()); }
    TcxRowValueInfo* ValuesInfo(int index) const { return valuesInfo_.at(static_cast<std::size_t>(index)); }

    TcxCustomRow* Row() const { return row_; }
    TcxCustomRowHeaderInfo* HeaderInfo() const { return headerInfo_.get(); }
    TcxvgCustomViewInfo* OwnerViewInfo = nullptr;
    int BandIndex = -1;
    int IndexInBand = -1;
    int Height = 0;
    TRect RowRect{};
    TRect ValuesRect{};

protected:
    std::vector<TcxRowValueInfo*> valuesInfo_;

private:
    friend class TcxCustomRow;
    friend class TcxvgCustomViewInfo;
    TcxCustomRow* row_;
    UniqueObject<TcxCustomRowHeaderInfo> headerInfo_;
};

class TcxCategoryRowViewInfo : public TcxCustomRowViewInfo {
    RTL_CLASS(TcxCategoryRowViewInfo, TcxCustomRowViewInfo)
    using TcxCustomRowViewInfo::TcxCustomRowViewInfo;
    void CalcRowHeaderInfo(TcxCustomRow* nextRow) override;
};

class TcxEditorRowViewInfo : public TcxCustomRowViewInfo {
    RTL_CLASS(TcxEditorRowViewInfo, TcxCustomRowViewInfo)
    using TcxCustomRowViewInfo::TcxCustomRowViewInfo;
    void CalcValuesInfo() override;
    int GetValueHeight(int recordIndex, int width, TcxvgCustomViewInfo* viewInfo) override;
};

// Without editors the value area takes the header's colour.
class TcxMultiEditorRowViewInfo : public TcxCustomRowViewInfo {
    RTL_CLASS(TcxMultiEditorRowViewInfo, TcxCustomRowViewInfo)
    using TcxCustomRowViewInfo::TcxCustomRowViewInfo;
    void CalcValuesInfo() override;
    int GetValueHeight(int recordIndex, int width, TcxvgCustomViewInfo* viewInfo) override;
    virtual void CheckEmptyValuesInfo();
    // The editors' cells in a rectangle, by their widths (kept for a fixed row, else scaled to
    // the rectangle); null without any. The caller frees the list.
    static TcxRectList* GetCellRects(TcxCustomRow* row, const TRect& rect, int separatorWidth);
    void AddSeparatorRects(bool isHeader, TcxRectList& list, const TRect& rect, const TcxRectList& cells,
                           TSeparatorKind kind);
    TcxRectList ValueSeparatorRects;
};

class TcxvgCustomViewInfo : public TcxCustomControlViewInfo {
    RTL_CLASS(TcxvgCustomViewInfo, TcxCustomControlViewInfo)
    explicit TcxvgCustomViewInfo(TcxEditingControl* grid);
    ~TcxvgCustomViewInfo() override;
    // Frees every row's view info (the rows make new ones on demand); rows that outlive this
    // layout keep no pointer into it.
    void ReleaseRowViewInfos();
    // The grid is going without its usual teardown: this layout outlives it a moment and must
    // not reach back into it.
    void DetachFromGrid();
    // Construction work that asks virtual operations; the grid runs it on first use.
    void Initialize();
    bool IsInitialized() const { return initialized_; }

    // One whole layout pass over the control's client bounds.
    void Calculate();
    void DoCalculate() override;
    virtual void Reset();
    virtual void CalcLayoutGeneral();
    // The visible rows in tree order, rebuilt only when the rows' structure stamp moved (a row
    // added, removed, moved, shown, hidden, expanded or collapsed); scrolling reuses the list.
    void UpdateVisibleRows();
    // True when the list answers for the rows as they are now.
    bool VisibleRowsCurrent() const;
    // The row's place in the visible list, -1 when it is not visible (valid while current).
    int VisibleIndexOf(const TcxCustomRow* row) const;
    void UpdateScroller();
    virtual void CalcBandWidth();
    void ClearLinesAndRows();
    virtual void CalcViewRects();
    virtual void CalcBandRects();
    virtual void CreateBand(int height, int width);
    virtual void CalcRowsViewInfo();
    virtual void CalcBandRowsViewInfo(int& rowIndex, const TRect& bandRect, int rowsCount, int bandIndex);
    virtual bool CanAddRowToBand(const TRect& rowRect, const TRect& bandRect, int indexInBand);
    virtual void AddBandRowsLines(const TRect& bandRect);
    virtual void AddRightValueSide(const TRect& rect, bool last);
    void AddBottomValueSide(const TRect& rect);
    virtual void AddEmptyRects() = 0;
    virtual void CalcEmpty();
    virtual void CalcRowRects(TcxCustomRowViewInfo* rowViewInfo);
    virtual void CheckMaxRowHeaderWidth(int& width, int valueMinWidth) {}
    virtual bool GetRowAutoHeight(const TcxCustomRow* row);
    virtual int GetRowHeight(TcxCustomRowViewInfo* rowViewInfo);
    virtual int GetViewBandWidth();
    virtual int GetViewHeaderWidth();
    virtual int GetViewMinHeaderWidth();
    virtual int GetViewValueWidth();
    virtual int GetVisibleValueCount() = 0;
    virtual void LayoutStyleChanged();
    virtual void SetDividerPos(int pos);
    virtual void SetValueWidth(int width);
    // Where a band's right edge can be dragged; empty when bands cannot be sized.
    virtual TRect GetBandSizeableRect(const TRect& bandRect);
    virtual TRect GetValueRect(int valueIndex, TcxCustomRowViewInfo* rowViewInfo);
    // The row's rectangle split into header (with the divider after it) and values, scaled to
    // the row's width with each part's minimum; for layouts that size a row's parts themselves.
    // The caller frees the scaler.
    virtual TRectScaler* ScaleRowRects(TcxCustomRowViewInfo* rowViewInfo);
    // The height the row takes in this layout (its own or the default height, at least the
    // minimum row height; the values' height for an auto-height row).
    int CalcRowHeight(TcxCustomRow* row);
    TRect GetValuesRect(TcxCustomRowViewInfo* rowViewInfo);
    virtual TcxvgCustomPaintStyleCalcHelper* CreateCalcHelper();
    virtual void CreateBrushes();
    virtual void DestroyBrushes();
    void CalcEditCell(const TRect& rect, TcxRowValueInfo* valueInfo);
    void ChangeFocusedRow(TcxCustomRow* newRow, TcxCustomRow* oldRow);
    virtual void UpdateRecord(int recordIndex);
    virtual int GetDefaultGridModeBufferCount() { return GetVisibleValueCount(); }
    // The default height of an editor's in-place control in the grid's font.
    int GetDefaultEditHeight(TcxCustomInplaceEditContainer* container, TcxCustomEditProperties* properties);
    void UpdateSelection() override;

    TcxCustomRow* GetVisibleRow(int index) const;
    int GetVisibleRowCount() const { return static_cast<int>(visibleRows_.size()); }
    TcxCustomRowViewInfo* GetRowViewInfo(const TcxCustomRow* row) const;
    int GetFirstVisibleRecordIndex();
    int GetMinRowHeight();

    TcxCustomVerticalGrid* Grid() const { return grid_; }
    const TRect& ClientRect() const { return clientRect_; }
    const TRect& ClipRect() const { return clipRect_; }
    int HorzLineWidth() const { return horzLineWidth_; }
    int VertLineWidth() const { return vertLineWidth_; }
    int DividerWidth() const { return dividerWidth_; }
    int RowIndentWidth() const { return rowIndentWidth_; }
    int BandsInterval() const { return bandsInterval_; }
    int MaxVisibleLevel() const { return maxVisibleLevel_; }
    int FullHeaderWidth() const { return fullHeaderWidth_; }
    bool ShowHeaders() const { return showHeaders_; }
    int ButtonSize() const { return buttonSize_; }
    TSize ExplorerButtonSize() const { return explorerButtonSize_; }
    bool UseCategoryExplorerStyle() const { return useCategoryExplorerStyle_; }
    TSize ImageSize() const { return imageSize_; }
    TColor BandBorderColor() const { return bandBorderColor_; }
    int BandMinWidth() const { return bandMinWidth_; }
    int MinRowHeight() const { return minRowHeight_; }
    int RowHeaderMinWidth() const { return rowHeaderMinWidth_; }
    TBrush* HorzLineBrush() const { return horzLineBrush_; }
    TBrush* VertLineBrush() const { return vertLineBrush_; }
    TLineInfoList FocusLinesInfo;
    int ViewBandWidth = 0;
    int ViewHeaderWidth = 0;
    int ViewValueWidth = 0;
    bool LockDividerPos = true;
    const std::vector<TcxCustomRowViewInfo*>& RowsViewInfo() const { return rowsViewInfo_; }
    TLineInfoList& LinesInfo() { return linesInfo_; }
    const std::vector<TRect>& BandRects() const { return bandRects_; }
    const std::vector<TRect>& EmptyRects() const { return emptyRects_; }
    TcxvgCustomPaintStyleCalcHelper* CalcHelper() const { return calcHelper_.get(); }
    void AddLine(const TRect& rect, TColor color) { linesInfo_.Add(rect, color); }
    void AddLine(const TRect& rect, TBrush* brush) { linesInfo_.Add(rect, brush); }

protected:
    std::vector<TcxCustomRowViewInfo*> rowsViewInfo_;
    std::vector<TRect> bandRects_;
    std::vector<TRect> emptyRects_;
    TRect clientRect_{};

private:
    TcxCustomVerticalGrid* grid_;
    bool initialized_ = false;
    bool detached_ = false;
    std::vector<TcxCustomRow*> visibleRows_;
    std::unordered_map<const TcxCustomRow*, int> visibleIndex_;
    int visibleRowsStamp_ = -1;
    TLineInfoList linesInfo_;
    TBrush* horzLineBrush_ = nullptr;
    TBrush* vertLineBrush_ = nullptr;
    TSize explorerButtonSize_{};
    bool useCategoryExplorerStyle_ = false;
    UniqueObject<TcxvgCustomPaintStyleCalcHelper> calcHelper_;
    TRect clipRect_{};
    int maxVisibleLevel_ = 0;
    int horzLineWidth_ = 1;
    int vertLineWidth_ = 1;
    int dividerWidth_ = 0;
    int rowIndentWidth_ = 0;
    int buttonSize_ = 0;
    int bandsInterval_ = 2;
    int rowHeaderMinWidth_ = 24;
    bool showHeaders_ = true;
    TColor bandBorderColor_ = clBtnShadow;
    int bandMinWidth_ = 0;
    int minRowHeight_ = 0;
    int fullHeaderWidth_ = 0;
    TSize imageSize_{};
};

class TcxInspectorViewInfo : public TcxvgCustomViewInfo {
    RTL_CLASS(TcxInspectorViewInfo, TcxvgCustomViewInfo)
    using TcxvgCustomViewInfo::TcxvgCustomViewInfo;
    void AddEmptyRects() override {}
    void CheckMaxRowHeaderWidth(int& width, int valueMinWidth) override;
    int GetViewValueWidth() override;
    int GetVisibleValueCount() override { return 1; }
};

// The bands layout: each band holds as many rows as fit in the client height.
class TcxBandsViewInfo : public TcxvgCustomViewInfo {
    RTL_CLASS(TcxBandsViewInfo, TcxvgCustomViewInfo)
    using TcxvgCustomViewInfo::TcxvgCustomViewInfo;
    void AddEmptyRects() override;
    void CalcBandRects() override;
    void CalcBandWidth() override;
    bool CanAddRowToBand(const TRect& rowRect, const TRect& bandRect, int indexInBand) override;
    void CreateBand(int height, int width) override;
    bool GetRowAutoHeight(const TcxCustomRow* row) override;
    int GetViewBandWidth() override;
    int GetViewValueWidth() override;
    int GetVisibleValueCount() override { return 1; }
    int GetMinViewBandWidth();
    void UpdateBandsWidth();
    TRect GetBandSizeableRect(const TRect& bandRect) override;
    void LayoutStyleChanged() override;
    void SetDividerPos(int pos) override;

private:
    // Band index of each empty rectangle under a band, until the bands get their widths.
    std::vector<int> emptyBands_;
    // Held while the divider moves, so the band widths do not move it again.
    bool movingDivider_ = false;
};

// The multi-record layout: one header column and a value column per visible record, the columns
// RecordsInterval apart (boxes with their own borders when the interval is positive).
class TcxMultiRecordViewInfo : public TcxvgCustomViewInfo {
    RTL_CLASS(TcxMultiRecordViewInfo, TcxvgCustomViewInfo)
    using TcxvgCustomViewInfo::TcxvgCustomViewInfo;
    void AddBandRowsLines(const TRect& bandRect) override;
    void AddEmptyRects() override;
    void AddRightValueSide(const TRect& rect, bool last) override;
    void CalcBandWidth() override;
    void CalcLayoutGeneral() override;
    int GetDefaultGridModeBufferCount() override;
    int GetRowHeight(TcxCustomRowViewInfo* rowViewInfo) override;
    TRect GetValueRect(int valueIndex, TcxCustomRowViewInfo* rowViewInfo) override;
    int GetVisibleValueCount() override;
    void Reset() override;
    void SetDividerPos(int pos) override;
    void UpdateRecord(int recordIndex) override;
    TRect GetBandSizeableRect(const TRect& bandRect) override;
    int GetRecordCount() { return Grid()->GetRecordCount(); }
    int RecordsInterval() const { return recordsInterval_; }
    int FirstBlockWidth() const { return firstBlockWidth_; }

private:
    // The step from one record column to the next.
    int Separator() const;
    void AddRecordGaps();
    int recordsInterval_ = 0;
    int firstBlockWidth_ = 0;
    int visibleValueCount_ = -1;
};

} // namespace cx
