#pragma once
// cxVGridHeaders: the left part of a laid-out row: indent cells per tree level, the expand
// button, the caption cells with their image and text rectangles, the header's own lines and the
// focus rectangle. Computed here, painted and hit-tested elsewhere.
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridUtils.h"

#include <memory>
#include <vector>

namespace cx {

class TcxvgCustomViewInfo;
class TcxCustomRowViewInfo;

// The common part of two rectangles (empty when they do not meet).
inline TRect cxvgRectAnd(const TRect& a, const TRect& b)
{
    TRect r{};
    cxRectIntersect(r, a, b);
    return r;
}

// Text output flags of a caption.
inline constexpr unsigned cxvgEndEllipsisFlag = 2048;

class TcxRowCaptionInfo : public TPersistent {
    RTL_CLASS(TcxRowCaptionInfo, TPersistent)
    explicit TcxRowCaptionInfo(TcxCustomRow* row) : Row(row) {}
    ~TcxRowCaptionInfo() override;
    virtual TPoint GetOrigin() const { return TPoint{CaptionRect.Left, CaptionRect.Top}; }
    // Whether the caption needs a hint at the point: the row's hint text, or the caption when it
    // is cut by its text rectangle.
    virtual bool IsNeedHint(TcxCanvas* canvas, const TPoint& point, bool& isHintAtMousePos, TRect& hintRect,
                            bool& isMultiLine, std::string& text);

    TcxCustomRow* Row;
    std::string Caption;
    TRect CaptionRect{};
    TRect CaptionTextRect{};
    TRect ImageRect{};
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    unsigned TextFlags = 0;
    TcxViewParams ViewParams;
    bool Focused = false;
    int RowCellIndex = 0;
    // The header this caption belongs to (set by the header that made it).
    class TcxCustomRowHeaderInfo* HeaderInfo = nullptr;
};

class TcxCustomRowHeaderInfo : public TObject {
    RTL_CLASS(TcxCustomRowHeaderInfo, TObject)
    explicit TcxCustomRowHeaderInfo(TcxCustomRow* row) : row_(row) {}
    ~TcxCustomRowHeaderInfo() override;

    // One layout pass of the header; nextRow is the next visible row (null for the last one).
    void Calc(const TRect& headerRect, TcxvgCustomViewInfo* viewInfo, bool calculate, TcxCustomRow* nextRow);
    TcxRowCaptionInfo* CalcCaptionInfo(TcxCaptionRowProperties* properties, const TRect& rect);
    void CalcExpandButton();
    void AddNextIndentInfo(const TRect& rect, const TcxViewParams& viewParams, bool rightLine, bool bottomLine,
                           bool isCategory);
    bool GetShowButton() const;
    bool GetSelected() const { return false; }
    TcxvgPaintStyle GetPaintStyle() const;
    static int GetTopCentralPoint(int height, const TRect& rect) { return rect.Top + (rect.Height() - height) / 2; }

    virtual void AddBottomHorzLine(const TRect& rect);
    virtual void AddBoundHeaderLines();
    virtual void AddRightVertLine(const TRect& rect);
    virtual void CalcIndentBounds(TcxCustomRow* nextRow, bool calculate);
    // A new list of levelCount + 1 items, from the row's own level (0) up to its top-level
    // ancestor (levelCount); the caller frees it.
    virtual TIndentRectInfoList* CalcIndentsInfo(int levelCount, TcxCustomRow* nextRow);
    virtual void CalcRowCaptionsInfo();
    virtual void CalcViewParams(bool allowFocus);
    virtual void Clear();
    virtual void DoCalcExpandButton();
    virtual int GetButtonPlaceBackgroundWidth() const;
    virtual TcxViewParams GetCaptionViewParams() const { return ViewParams; }
    virtual TColor GetButtonColor() const { return clWindow; }
    virtual TRect GetFocusRect() { return TRect{}; }
    virtual bool IncreaseBoundsByLastVertLine() const { return false; }
    virtual int LeftViewPoint() const;

    TcxCustomRow* Row() const { return row_; }
    TcxvgCustomViewInfo* ViewInfo() const { return viewInfo_; }
    int CaptionCount() const { return static_cast<int>(captions_.size()); }
    TcxRowCaptionInfo* Captions(int index) const { return captions_.at(static_cast<std::size_t>(index)).get(); }
    TIndentInfoList CategoryIndents;
    TIndentInfoList RowIndents;
    TLineInfoList LinesInfo;
    TRect HeaderRect{};
    TRect HeaderCellsRect{};
    TRect IndentBounds{};
    TRect ButtonRect{};
    TColor ButtonColor = clWindow;
    TRect FocusRect{};
    bool Focused = false;
    bool Transparent = false;
    TcxViewParams ViewParams;
    TcxViewParams IndentViewParams;

protected:
    void AddCaption(TcxRowCaptionInfo* caption);

private:
    TcxCustomRow* row_;
    TcxvgCustomViewInfo* viewInfo_ = nullptr;
    std::vector<std::unique_ptr<TcxRowCaptionInfo>> captions_;
};

class TcxEditorRowHeaderInfo : public TcxCustomRowHeaderInfo {
    RTL_CLASS(TcxEditorRowHeaderInfo, TcxCustomRowHeaderInfo)
    using TcxCustomRowHeaderInfo::TcxCustomRowHeaderInfo;
};

class TcxCategoryRowHeaderInfo : public TcxCustomRowHeaderInfo {
    RTL_CLASS(TcxCategoryRowHeaderInfo, TcxCustomRowHeaderInfo)
    using TcxCustomRowHeaderInfo::TcxCustomRowHeaderInfo;
    void AddBottomHorzLine(const TRect& rect) override;
    void AddRightVertLine(const TRect& rect) override;
    void CalcRowCaptionsInfo() override;
    void CalcViewParams(bool allowFocus) override;
    void DoCalcExpandButton() override;
    TColor GetButtonColor() const override;
    TRect GetFocusRect() override;
    bool IncreaseBoundsByLastVertLine() const override { return true; }
    int LeftViewPoint() const override;
};

// One caption per editor, side by side, with separators (lines or a separator text) between.
class TcxMultiEditorRowHeaderInfo : public TcxCustomRowHeaderInfo {
    RTL_CLASS(TcxMultiEditorRowHeaderInfo, TcxCustomRowHeaderInfo)
    using TcxCustomRowHeaderInfo::TcxCustomRowHeaderInfo;
    virtual void CalcSeparatorRects(const TcxRectList& cellRects);
    virtual void CalcSeparatorWidth(int dividerWidth);
    virtual void CalcSeparatorStyle();
    void CalcRowCaptionsInfo() override;
    void Clear() override;
    TcxRectList SeparatorRects;
    int SeparatorWidth = 0;
    TSeparatorKind SeparatorKind = skVertLine;
    std::string SeparatorCaption;
    unsigned SeparatorTextFlags = 0;
    TcxViewParams SeparatorViewParams;
};

} // namespace cx
