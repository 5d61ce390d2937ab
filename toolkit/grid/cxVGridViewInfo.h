#pragma once
// cxVGridViewInfo: the vertical grid's layout: visible rows, widths, bands and empty rectangles,
// row and value rectangles, grid lines. Nothing is painted here.
#include <vector>

#include "toolkit/grid/cxVGrid.h"

namespace cx {

class TcxvgCustomViewInfo;

// What the paint style decides for the layout; the painting unit supplies the real helpers, a
// grid names its helper through GetCalcHelperClass.
class TcxvgCustomPaintStyleCalcHelper : public TObject {
    RTL_CLASS(TcxvgCustomPaintStyleCalcHelper, TObject)
    explicit TcxvgCustomPaintStyleCalcHelper(TcxvgCustomViewInfo* viewInfo) : viewInfo_(viewInfo) {}
    virtual int GetDividerWidth() = 0;
    virtual int GetIndentWidth() = 0;
    virtual TColor GetBandBorderColor() = 0;
    // Colours of the parts; the painting unit's helpers answer them by paint style.
    virtual TColor GetBackgroundColor() { return GetHeaderColor(); }
    virtual TColor GetCategoryColor() { return clBtnFace; }
    virtual TColor GetCategoryTextColor() { return clGrayText; }
    virtual TColor GetContentColor(bool focused) { return clWindow; }
    virtual TColor GetContentTextColor() { return clWindowText; }
    virtual TColor GetHeaderColor() { return clWindow; }
    virtual TColor GetHeaderTextColor() { return clWindowText; }
    virtual bool IsDrawValueFocusRect() { return true; }
    TcxvgCustomViewInfo* ViewInfo() const { return viewInfo_; }

private:
    TcxvgCustomViewInfo* viewInfo_;
};


// A line is filled with its brush when it has one (a halftone pattern), else with its colour.
struct TLineInfo {
    TRect Rect;
    TColor Color;
    TBrush* Brush = nullptr;
};

class TcxCustomRowHeaderInfo : public TObject {
    RTL_CLASS(TcxCustomRowHeaderInfo, TObject)
    explicit TcxCustomRowHeaderInfo(TcxCustomRow* row) : row_(row) {}
    TcxCustomRow* Row() const { return row_; }
    TRect HeaderRect;

private:
    TcxCustomRow* row_;
};

class TcxCustomRowViewInfo : public TObject {
    RTL_CLASS(TcxCustomRowViewInfo, TObject)
    explicit TcxCustomRowViewInfo(TcxCustomRow* row);
    ~TcxCustomRowViewInfo() override;

    void Calc(const TRect& rect, TcxvgCustomViewInfo* viewInfo, TcxCustomRow* nextRow);
    virtual void CalcValuesInfo() {}
    virtual void CalcRowHeaderInfo(TcxCustomRow* nextRow) {}
    virtual int GetValueHeight(int recordIndex, int width, TcxvgCustomViewInfo* viewInfo) { return -1; }
    // Adds the lines right of and below a value rectangle.
    void AddRectValueLines(const TRect& rect, bool last, bool hasNextRow);

    TcxCustomRow* Row() const { return row_; }
    TcxCustomRowHeaderInfo* HeaderInfo() const { return headerInfo_.get(); }
    TcxvgCustomViewInfo* OwnerViewInfo = nullptr;
    int BandIndex = -1;
    int IndexInBand = -1;
    int Height = 0;
    TRect RowRect{};
    TRect ValuesRect{};
    // The value cells of the current pass.
    std::vector<TRect> ValueRects;

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
};

class TcxMultiEditorRowViewInfo : public TcxCustomRowViewInfo {
    RTL_CLASS(TcxMultiEditorRowViewInfo, TcxCustomRowViewInfo)
    using TcxCustomRowViewInfo::TcxCustomRowViewInfo;
};

class TcxvgCustomViewInfo : public TObject {
    RTL_CLASS(TcxvgCustomViewInfo, TObject)
    explicit TcxvgCustomViewInfo(TcxCustomVerticalGrid* grid);
    ~TcxvgCustomViewInfo() override;
    // Construction work that asks virtual operations; the grid calls it once made.
    void Initialize();

    void Calculate();
    virtual void DoCalculate();
    virtual void CalcLayoutGeneral();
    void UpdateVisibleRows();
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
    virtual TRect GetValueRect(int valueIndex, TcxCustomRowViewInfo* rowViewInfo);
    TRect GetValuesRect(TcxCustomRowViewInfo* rowViewInfo);
    virtual TcxvgCustomPaintStyleCalcHelper* CreateCalcHelper();

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
    int ViewBandWidth = 0;
    int ViewHeaderWidth = 0;
    int ViewValueWidth = 0;
    bool LockDividerPos = true;
    const std::vector<TcxCustomRowViewInfo*>& RowsViewInfo() const { return rowsViewInfo_; }
    const std::vector<TLineInfo>& LinesInfo() const { return linesInfo_; }
    const std::vector<TRect>& BandRects() const { return bandRects_; }
    const std::vector<TRect>& EmptyRects() const { return emptyRects_; }
    TcxvgCustomPaintStyleCalcHelper* CalcHelper() const { return calcHelper_.get(); }
    void AddLine(const TRect& rect, TColor color) { linesInfo_.push_back({rect, color}); }

protected:
    std::vector<TcxCustomRowViewInfo*> rowsViewInfo_;
    std::vector<TRect> bandRects_;
    std::vector<TRect> emptyRects_;
    TRect clientRect_{};

private:
    TcxCustomVerticalGrid* grid_;
    std::vector<TcxCustomRow*> visibleRows_;
    std::vector<TLineInfo> linesInfo_;
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

private:
    // Band index of each empty rectangle under a band, until the bands get their widths.
    std::vector<int> emptyBands_;
};

} // namespace cx
