#pragma once
// cxVGridPainter: what the vertical grid's paint style decides (colours, widths, line brushes,
// header and focus lines) and the painters that draw the layout's rectangles and lines.
#include <memory>
#include <vector>

#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

// --- paint-style helpers ------------------------------------------------------------------------
// The flat style: one-pixel divider, solid lines, the focused value framed by a focus rectangle.
class TcxvgDotNetStyleCalcHelper : public TcxvgCustomPaintStyleCalcHelper {
    RTL_CLASS(TcxvgDotNetStyleCalcHelper, TcxvgCustomPaintStyleCalcHelper)
    explicit TcxvgDotNetStyleCalcHelper(TcxvgCustomViewInfo* viewInfo);
    ~TcxvgDotNetStyleCalcHelper() override;

    int GetDividerWidth() override { return 1; }
    int GetIndentWidth() override;
    TColor GetBandBorderColor() override;
    TColor GetBackgroundColor() override { return Painter()->DefaultContentColor(); }
    TColor GetCategoryColor() override { return Painter()->DefaultHeaderColor(); }
    TColor GetCategoryTextColor() override { return clGrayText; }
    TColor GetContentColor(bool focused) override { return Painter()->DefaultContentColor(); }
    TColor GetContentTextColor() override { return Painter()->DefaultContentTextColor(); }
    TColor GetHeaderColor() override { return Painter()->DefaultContentColor(); }
    TColor GetHeaderTextColor() override { return Painter()->DefaultContentTextColor(); }
    bool IsDrawValueFocusRect() override { return true; }

    // Line brushes, made once per helper and owned by it.
    TBrush* HorzLineBrush();
    TBrush* VertLineBrush();
    TBrush* CreateHorzLineBrush() override;
    TBrush* CreateVertLineBrush() override;

    // Lines (rectangles are left, top, right, bottom).
    virtual void AddDivider(std::vector<TLineInfo>& lines, const TRect& r, bool separator, TColor color);
    // The line under a header's caption part (from the indents' right edge to the header's right).
    virtual void AddBoundHeaderLines(std::vector<TLineInfo>& lines, const TRect& headerRect, int indentRight,
                                     const TRect& indentRect, bool isCategory);
    // The lines right of and under one indent cell; the gap under an indent without a bottom line
    // is filled in the indent's own colour.
    virtual void AddHeaderIndentLines(std::vector<TLineInfo>& lines, const TRect& r, bool rightLine,
                                      bool bottomLine, bool isCategory, const TcxViewParams& params);
    void CalcPaintViewParamsLines(TcxCustomRowViewInfo* rowViewInfo, TcxCustomRow* nextRow) override {}
    // The frame around a focused category's caption text; empty for other rows.
    virtual TRect GetCategoryFocusRect(TcxCustomRow* row, const TRect& textRect, const TRect& headerRect,
                                       TFont* font);
    // The layout's questions about header and divider lines, focus moves and indent colours.
    void AddBoundHeaderLines(TcxCustomRowHeaderInfo* headerInfo) override;
    void AddDivider(TLineInfoList* lines, const TRect& rect, bool separator, TColor color) override;
    void AddHeaderIndentLines(TcxCustomRowHeaderInfo* headerInfo, const TRect& rect, bool rightLine, bool bottomLine,
                              bool isCategory, const TcxViewParams& viewParams) override;
    void ChangeFocusedRow(TcxCustomRow* newRow, TcxCustomRow* oldRow, TRect& updateRect) override;
    TRect GetCategoryFocusRect(TcxCustomRowHeaderInfo* headerInfo) override;
    TcxViewParams GetIndentViewParams(TcxCustomRow* row, TcxCustomRow* parentRow) override;
    // The lines of the focused row's 3D frame; empty in the flat styles.
    const std::vector<TLineInfo>& FocusLines() const { return focusLines_; }
    void ClearFocusLines() { focusLines_.clear(); }

protected:
    TcxCustomLookAndFeelPainterClass Painter() const;
    TcxvgOptionsView* Options() const;
    int H() const { return ViewInfo()->HorzLineWidth(); }
    int V() const { return ViewInfo()->VertLineWidth(); }
    // Lays a row out again on its rectangle when it has a place in this pass; adds the
    // rectangle to the update.
    TcxCustomRowViewInfo* RecalcRow(TcxCustomRow* row, TcxCustomRow* nextRow, TRect& updateRect);
    std::vector<TLineInfo> focusLines_;

private:
    TBrush* horzBrush_ = nullptr;
    TBrush* vertBrush_ = nullptr;
};

// The 3D style: etched two-pixel divider, halftone lines, values in navy on the button face, the
// focused row framed by 3D lines.
class TcxvgStyle3DCalcHelper : public TcxvgDotNetStyleCalcHelper {
    RTL_CLASS(TcxvgStyle3DCalcHelper, TcxvgDotNetStyleCalcHelper)
    using TcxvgDotNetStyleCalcHelper::TcxvgDotNetStyleCalcHelper;

    int GetDividerWidth() override { return 2; }
    TColor GetBackgroundColor() override { return Painter()->DefaultHeaderColor(); }
    TColor GetCategoryColor() override { return Painter()->DefaultHeaderColor(); }
    TColor GetCategoryTextColor() override { return Painter()->DefaultHeaderTextColor(); }
    TColor GetContentColor(bool focused) override;
    TColor GetContentTextColor() override { return clNavy; }
    TColor GetHeaderColor() override { return Painter()->DefaultHeaderColor(); }
    TColor GetHeaderTextColor() override { return Painter()->DefaultHeaderTextColor(); }
    bool IsDrawValueFocusRect() override { return false; }
    TBrush* CreateHorzLineBrush() override;
    TBrush* CreateVertLineBrush() override { return CreateHorzLineBrush(); }

    void AddDivider(std::vector<TLineInfo>& lines, const TRect& r, bool separator, TColor color) override;
    void AddBoundHeaderLines(std::vector<TLineInfo>& lines, const TRect& headerRect, int indentRight,
                             const TRect& indentRect, bool isCategory) override;
    void AddHeaderIndentLines(std::vector<TLineInfo>& lines, const TRect& r, bool rightLine, bool bottomLine,
                              bool isCategory, const TcxViewParams& params) override {}
    void CalcPaintViewParamsLines(TcxCustomRowViewInfo* rowViewInfo, TcxCustomRow* nextRow) override;
    TRect GetCategoryFocusRect(TcxCustomRow*, const TRect&, const TRect&, TFont*) override { return {}; }
    void ChangeFocusedRow(TcxCustomRow* newRow, TcxCustomRow* oldRow, TRect& updateRect) override;
};

// The skinned variant of the flat style. No skin painter is registered, so the grid never picks
// it; it answers the painter's grid colours for a look and feel that would.
class TcxvgSkinCalcHelper : public TcxvgDotNetStyleCalcHelper {
    RTL_CLASS(TcxvgSkinCalcHelper, TcxvgDotNetStyleCalcHelper)
    using TcxvgDotNetStyleCalcHelper::TcxvgDotNetStyleCalcHelper;
    TColor GetBandBorderColor() override { return Painter()->DefaultVGridBandLineColor(); }
    TColor GetCategoryColor() override { return Painter()->DefaultVGridCategoryColor(); }
    TColor GetCategoryTextColor() override;
    TColor GetHeaderColor() override;
    TColor GetHeaderTextColor() override;
    TBrush* CreateHorzLineBrush() override;
    TBrush* CreateVertLineBrush() override { return CreateHorzLineBrush(); }
};

// --- painters -----------------------------------------------------------------------------------
class TcxvgPainter : public TObject {
    RTL_CLASS(TcxvgPainter, TObject)
    TcxvgPainter(TcxCanvas* canvas, TcxCustomVerticalGrid* grid);

    void DoPaint();
    virtual void DrawStyleFeatures() {}
    virtual void DrawBackground();
    virtual void DrawButton(TcxCustomRowViewInfo* rowViewInfo);
    virtual void DrawCategoryRowHeader(TcxCustomRowViewInfo* rowViewInfo);
    virtual void DrawHeaderDragImage(TcxCustomRowViewInfo* rowViewInfo);
    virtual void DrawLines(const std::vector<TLineInfo>& lines, const TRect& clipRect);
    void DrawLines(const TLineInfoList& lines, const TRect& clipRect);
    virtual void DrawRow(TcxCustomRowViewInfo* rowViewInfo);
    virtual void DrawRowHeader(TcxCustomRowViewInfo* rowViewInfo);
    virtual void DrawRowHeaderCell(TcxRowCaptionInfo* caption, bool transparent);
    // The caption's image, clipped to its caption cell.
    virtual void DrawImage(TcxRowCaptionInfo* caption);
    virtual void DrawRowIndent(TcxCustomRowViewInfo* rowViewInfo);
    // One value cell: its look on the canvas, the grid's OnDrawValue, then DrawRowValueCell.
    void DrawValue(TcxCustomRowViewInfo* rowViewInfo, int valueIndex);
    // The value as its editor draws it unfocused, with the focus frame on the focused cell.
    virtual void DrawRowValueCell(TcxCustomRowViewInfo* rowViewInfo, int valueIndex);
    void DrawRows();
    // Fills with the canvas brush; the bitmap only when it is assigned and not empty.
    void FillRect(const TRect& r, TBitmap* bitmap);

    TcxViewParams GetBackgroundParams() const;

    TcxCanvas* Canvas() const { return canvas_; }
    TcxCustomVerticalGrid* Grid() const { return grid_; }
    TcxvgCustomViewInfo* ViewInfo() const;
    TcxvgDotNetStyleCalcHelper* Helper() const;

private:
    TcxCanvas* canvas_;
    TcxCustomVerticalGrid* grid_;
};

// Adds the focused row's 3D frame after the rows.
class TcxStyle3DPainter : public TcxvgPainter {
    RTL_CLASS(TcxStyle3DPainter, TcxvgPainter)
    using TcxvgPainter::TcxvgPainter;
    void DrawStyleFeatures() override;
};

using TcxvgPainterClass = TClassRef<TcxvgPainter, TcxCanvas*, TcxCustomVerticalGrid*>;

} // namespace cx
