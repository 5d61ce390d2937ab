#pragma once
// The look-and-feel painter base: every standard element of the toolkit's controls, and the
// sizes and default colours of a look.
//
// A painter is never instantiated by its users. Each painter class has exactly one immutable,
// field-less instance that stands for the class itself; the class reference
// TcxCustomLookAndFeelPainterClass points at it, and every operation is a virtual const member
// function. A composite operation calls the others through `this`, i.e. virtually on the same
// class reference, so an override of a size, colour or border operation in a derived painter
// changes every drawing that uses it. Painters declare themselves with CX_PAINTER_CLASS.
#include "platform/rtl/Event.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/SysUtils.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxGraphics.h"

#include <memory>
#include <string>
#include <vector>

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
enum TcxArrowDirection { adUp, adDown, adLeft, adRight };
enum TcxScrollBarPart { sbpNone, sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown };
enum TcxCheckBoxState { cbsUnchecked, cbsChecked, cbsGrayed };
enum TcxNeighbor { nLeft, nTop, nRight, nBottom };
using TcxNeighbors = rtl::Set<TcxNeighbor>;
enum TcxHeaderArrows { haNone, haLeft, haRight, haBoth };
enum TcxIndicatorKind { ikNone, ikArrow, ikEdit, ikInsert, ikMultiDot, ikMultiArrow, ikFilter };
enum TcxEditBtnKind {
    cxbkCloseBtn, cxbkComboBtn, cxbkEditorBtn, cxbkEllipsisBtn, cxbkSpinUpBtn, cxbkSpinDownBtn,
    cxbkSpinLeftBtn, cxbkSpinRightBtn
};
enum TcxEditStateColorKind { esckNormal, esckDisabled, esckInactive, esckReadOnly };
enum TcxCalcEditButtonType { cebtButton, cebtDigit, cebtOperation, cebtFunction };
enum TcxGroupBoxCaptionPosition { cxgpTop, cxgpBottom, cxgpLeft, cxgpRight, cxgpCenter };
enum TcxPopupBorderStyle { pbsNone, pbsUltraFlat, pbsFlat, pbs3D };
enum TcxTrackBarTicksAlign { tbtaUp, tbtaDown, tbtaBoth };
enum TcxLookAndFeelStyle { lfsFlat, lfsStandard, lfsUltraFlat, lfsNative, lfsOffice11 };
// The kinds a look and feel chooses from; kept with the painters, which need it for the radio
// images.
enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };

// Paints the background itself and answers true, or answers false to let the painter fill it.
using TcxDrawBackgroundEvent = rtl::Event<bool(TcxCanvas* canvas, const TRect& bounds)>;

class TcxCustomLookAndFeelPainter;
using TcxCustomLookAndFeelPainterClass = const TcxCustomLookAndFeelPainter*;

#define CX_PAINTER_CLASS(Self)                                                                   \
public:                                                                                          \
    static const Self* Class()                                                                   \
    {                                                                                            \
        static const Self instance;                                                              \
        return &instance;                                                                        \
    }                                                                                            \
                                                                                                 \
protected:                                                                                       \
    Self() = default;                                                                            \
                                                                                                 \
public:

// An image list is not part of the toolkit yet; painters that would draw from one take it as
// this opaque type and draw nothing.
class TCustomImageList;

class TcxCustomLookAndFeelPainter {
    CX_PAINTER_CLASS(TcxCustomLookAndFeelPainter)
    virtual ~TcxCustomLookAndFeelPainter() = default;
    TcxCustomLookAndFeelPainter(const TcxCustomLookAndFeelPainter&) = delete;
    TcxCustomLookAndFeelPainter& operator=(const TcxCustomLookAndFeelPainter&) = delete;

    virtual void DrawBackground(TcxCanvas* canvas, const TRect& r, bool bitmap, TColor color, TBitmap* image) const;
    virtual void DrawButtonArrow(TcxCanvas* canvas, const TRect& r, TColor color) const;
    virtual void DrawContent(TcxCanvas* canvas, const TRect& bounds, const TRect& textArea, int state,
                             TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                             bool showEndEllipsis, const std::string& text, TFont* font, TColor textColor,
                             TColor bkColor, const TcxDrawBackgroundEvent& onDrawBackground,
                             bool isFooter = false) const;
    virtual void DrawFooterBorderEx(TcxCanvas* canvas, const TRect& r, TcxBorders borders) const;
    virtual void DrawSchedulerNavigationButtonContent(TcxCanvas* canvas, const TRect& r, const TRect& arrowRect,
                                                      bool isNextButton, TcxButtonState state) const;
    virtual TRect FooterCellContentBounds(const TRect& r) const;
    virtual TRect FooterCellTextAreaBounds(const TRect& r) const;
    virtual TcxLookAndFeelStyle LookAndFeelStyle() const { return lfsStandard; }
    virtual bool NeedRedrawOnResize() const { return false; }

    // ---- default colours ----
    virtual TColor DefaultContentColor() const { return clWindow; }
    virtual TColor DefaultContentEvenColor() const { return DefaultContentColor(); }
    virtual TColor DefaultContentOddColor() const { return DefaultContentColor(); }
    virtual TColor DefaultContentTextColor() const { return clWindowText; }
    virtual TColor DefaultEditorBackgroundColor(bool isDisabled) const;
    virtual TColor DefaultEditorBackgroundColorEx(TcxEditStateColorKind) const { return clDefault; }
    virtual TColor DefaultEditorTextColor(bool isDisabled) const;
    virtual TColor DefaultEditorTextColorEx(TcxEditStateColorKind) const { return clDefault; }
    virtual TColor DefaultFilterBoxColor() const { return clBtnShadow; }
    virtual TColor DefaultFilterBoxTextColor() const { return clBtnHighlight; }
    virtual TColor DefaultFixedSeparatorColor() const { return clBtnText; }
    virtual TColor DefaultFooterColor() const { return clBtnFace; }
    virtual TColor DefaultFooterTextColor() const { return clBtnText; }
    virtual TColor DefaultGridDetailsSiteColor() const { return clBtnFace; }
    virtual TColor DefaultGridLineColor() const { return clBtnShadow; }
    virtual TColor DefaultGroupByBoxColor() const { return clBtnShadow; }
    virtual TColor DefaultGroupByBoxTextColor() const { return clBtnFace; }
    virtual TColor DefaultGroupColor() const { return clBtnFace; }
    virtual TColor DefaultGroupTextColor() const { return clBtnText; }
    virtual TColor DefaultHeaderBackgroundColor() const { return clBtnShadow; }
    virtual TColor DefaultHeaderBackgroundTextColor() const { return clBtnFace; }
    virtual TColor DefaultHeaderColor() const { return clBtnFace; }
    virtual TColor DefaultHeaderTextColor() const { return clBtnText; }
    virtual TColor DefaultHyperlinkTextColor() const { return clBlue; }
    virtual TColor DefaultInactiveColor() const { return clBtnFace; }
    virtual TColor DefaultInactiveTextColor() const { return clBtnText; }
    virtual TColor DefaultPreviewTextColor() const { return clBlue; }
    virtual TColor DefaultRecordSeparatorColor() const { return DefaultGridLineColor(); }
    virtual TColor DefaultSizeGripAreaColor() const { return clBtnFace; }
    virtual TColor DefaultVGridBandLineColor() const { return DefaultVGridLineColor(); }
    virtual TColor DefaultVGridCategoryColor() const { return DefaultHeaderColor(); }
    virtual TColor DefaultVGridCategoryTextColor() const { return clDefault; }
    virtual TColor DefaultVGridHeaderColor() const { return DefaultHeaderColor(); }
    virtual TColor DefaultVGridHeaderTextColor() const { return DefaultHeaderTextColor(); }
    virtual TColor DefaultVGridLineColor() const { return clBlack; }
    virtual TColor DefaultDateNavigatorContentColor() const;
    virtual TColor DefaultDateNavigatorHeaderColor() const { return clBtnFace; }
    virtual TColor DefaultDateNavigatorHeaderTextColor(bool isHighlight) const;
    virtual TColor DefaultDateNavigatorHolydayTextColor() const { return clRed; }
    virtual TColor DefaultDateNavigatorInactiveTextColor() const { return clGrayText; }
    virtual TColor DefaultDateNavigatorSelectionColor() const { return clHighlight; }
    virtual TColor DefaultDateNavigatorSelectionTextColor() const { return clHighlightText; }
    virtual TColor DefaultDateNavigatorSeparator1Color() const { return clBtnShadow; }
    virtual TColor DefaultDateNavigatorSeparator2Color() const { return clWindow; }
    virtual TColor DefaultDateNavigatorTextColor() const { return clWindowText; }
    virtual TColor DefaultDateNavigatorTodayFrameColor() const { return clMaroon; }
    virtual TColor DefaultDateNavigatorTodayTextColor() const { return clNavy; }
    virtual TColor DefaultSchedulerBackgroundColor() const { return clWindow; }
    virtual TColor DefaultSchedulerTextColor() const { return clWindowText; }
    virtual TColor DefaultSchedulerBorderColor() const { return 0x009D9DA1; }
    virtual TColor DefaultSchedulerControlColor() const { return clBtnFace; }
    virtual TColor DefaultSchedulerNavigatorColor() const { return clBtnFace; }
    virtual TColor DefaultSchedulerViewContentColor() const { return 0x00D5FFFF; }
    virtual TColor DefaultSchedulerViewSelectedTextColor() const { return DefaultSelectionTextColor(); }
    virtual TColor DefaultSchedulerViewTextColor() const { return clWindowText; }
    virtual TColor DefaultSelectionColor() const { return clHighlight; }
    virtual TColor DefaultSelectionTextColor() const { return clHighlightText; }
    virtual TColor DefaultSeparatorColor() const { return clBtnFace; }
    virtual TColor DefaultTabColor() const { return clBtnFace; }
    virtual TColor DefaultTabTextColor() const { return clBtnText; }
    virtual TColor DefaultTabsBackgroundColor() const { return clBtnFace; }
    virtual TColor DefaultTimeGridMajorScaleColor() const { return clWhite; }
    virtual TColor DefaultTimeGridMajorScaleTextColor() const { return clBlack; }
    virtual TColor DefaultTimeGridMinorScaleColor() const { return clBtnFace; }
    virtual TColor DefaultTimeGridMinorScaleTextColor() const { return clBtnText; }
    virtual TColor DefaultTimeGridSelectionBarColor() const { return clWhite; }
    virtual TColor DefaultChartDiagramValueBorderColor() const { return clBlack; }
    virtual TColor DefaultChartDiagramValueCaptionTextColor() const { return clBlack; }
    virtual TColor DefaultChartHistogramAxisColor() const { return clBlack; }
    virtual TColor DefaultChartHistogramGridLineColor() const { return 0x00CFCFCF; }
    virtual TColor DefaultChartHistogramPlotColor() const { return clWhite; }
    virtual TColor DefaultChartPieDiagramSeriesSiteBorderColor() const { return clBtnShadow; }
    virtual TColor DefaultChartPieDiagramSeriesSiteCaptionColor() const { return 0x00F0CAA6; }
    virtual TColor DefaultChartPieDiagramSeriesSiteCaptionTextColor() const { return clNavy; }
    virtual TColor DefaultChartToolBoxDataLevelInfoBorderColor() const { return clBtnShadow; }
    virtual TColor DefaultChartToolBoxItemSeparatorColor() const { return clBtnShadow; }

    // ---- arrows, buttons, expand buttons, check boxes, radio buttons, label lines ----
    virtual void DrawArrow(TcxCanvas* canvas, const TRect& r, TcxArrowDirection direction, TColor color) const;
    virtual void DrawArrow(TcxCanvas* canvas, const TRect& r, TcxButtonState state, TcxArrowDirection direction,
                           bool drawBorder = true) const;
    virtual void DrawArrowBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const;
    virtual void DrawScrollBarArrow(TcxCanvas* canvas, TRect r, TcxButtonState state,
                                    TcxArrowDirection direction) const;
    virtual int BorderSize() const { return 0; }
    virtual void DrawBorder(TcxCanvas*, const TRect&) const {}
    virtual TRect AdjustGroupButtonDisplayRect(const TRect& r, int, int) const { return r; }
    virtual int ButtonBorderSize(TcxButtonState = cxbsNormal) const { return 0; }
    virtual TColor ButtonColor(TcxButtonState) const { return clBtnFace; }
    virtual TRect ButtonFocusRect(TcxCanvas* canvas, const TRect& r) const;
    virtual TRect ButtonGroupBorderSizes(int buttonCount, int buttonIndex) const;
    virtual int ButtonTextOffset() const { return 0; }
    virtual int ButtonTextShift() const { return 0; }
    virtual TColor ButtonSymbolColor(TcxButtonState state, TColor defaultColor = clDefault) const;
    virtual TcxButtonState ButtonSymbolState(TcxButtonState state) const { return state; }
    virtual void DrawButton(TcxCanvas* canvas, const TRect& r, const std::string& caption, TcxButtonState state,
                            bool drawBorder = true, TColor color = clDefault, TColor textColor = clDefault,
                            bool wordWrap = false, bool isToolButton = false) const;
    virtual void DrawButtonInGroup(TcxCanvas* canvas, const TRect& r, TcxButtonState state, int buttonCount,
                                   int buttonIndex, TColor backgroundColor) const;
    virtual void DrawButtonBorder(TcxCanvas*, const TRect&, TcxButtonState) const {}
    virtual void DrawButtonGroupBorder(TcxCanvas*, const TRect&, bool, bool) const {}
    virtual void DrawExpandButton(TcxCanvas*, const TRect&, bool, TColor = clDefault) const {}
    virtual bool DrawExpandButtonFirst() const { return true; }
    virtual void DrawGroupExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TcxButtonState state) const;
    virtual void DrawSmallExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor borderColor,
                                       TColor color = clDefault) const;
    virtual int ExpandButtonSize() const { return 0; }
    virtual int GroupExpandButtonSize() const { return 15; }
    virtual bool IsButtonHotTrack() const { return false; }
    virtual bool IsPointOverGroupExpandButton(const TRect& r, const TPoint& p) const;
    virtual int SmallExpandButtonSize() const { return 9; }
    virtual int CheckBorderSize() const { return 2; }
    virtual TColor CheckButtonColor(TcxButtonState state) const;
    virtual TSize CheckButtonSize() const;
    virtual void DrawCheck(TcxCanvas* canvas, const TRect& r, TcxButtonState state, bool checked, TColor color) const;
    virtual void DrawCheckBorder(TcxCanvas*, const TRect&, TcxButtonState) const {}
    virtual void DrawCheckButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state, bool checked) const;
    virtual void DrawCheckButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                 TcxCheckBoxState checkState) const;
    virtual void DrawRadioButton(TcxCanvas* canvas, int x, int y, TcxButtonState state, bool checked, bool focused,
                                 TColor brushColor, bool isDesigning = false) const;
    virtual TSize RadioButtonSize() const;
    virtual void DrawLabelLine(TcxCanvas* canvas, const TRect& r, TColor outerColor, TColor innerColor,
                               bool isVertical) const;
    virtual int LabelLineHeight() const { return 2; }

    // ---- headers, sorting marks, footers, filter parts ----
    virtual void DrawHeader(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                            TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                            TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                            bool showEndEllipsis, const std::string& text, TFont* font, TColor textColor,
                            TColor bkColor, const TcxDrawBackgroundEvent& onDrawBackground = {},
                            bool isLast = false, bool isGroup = false) const;
    virtual void DrawHeaderEx(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                              TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                              TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                              bool showEndEllipsis, const std::string& text, TFont* font, TColor textColor,
                              TColor bkColor, const TcxDrawBackgroundEvent& onDrawBackground = {}) const;
    virtual void DrawHeaderBorder(TcxCanvas*, const TRect&, TcxNeighbors, TcxBorders) const {}
    virtual void DrawHeaderPressed(TcxCanvas* canvas, const TRect& r) const;
    virtual void DrawHeaderControlSection(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                          TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                                          TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                                          bool showEndEllipsis, const std::string& text, TFont* font,
                                          TColor textColor, TColor bkColor) const;
    virtual void DrawHeaderControlSectionBorder(TcxCanvas*, const TRect&, TcxBorders, TcxButtonState) const {}
    virtual void DrawHeaderControlSectionContent(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                                 TcxButtonState state, TAlignment alignHorz,
                                                 cx::TcxAlignmentVert alignVert, bool multiLine,
                                                 bool showEndEllipsis, const std::string& text, TFont* font,
                                                 TColor textColor, TColor bkColor) const;
    virtual void DrawHeaderControlSectionText(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                              TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                                              bool showEndEllipsis, const std::string& text, TFont* font,
                                              TColor textColor) const;
    virtual void DrawHeaderSeparator(TcxCanvas* canvas, const TRect& bounds, int indent, TColor color,
                                     const TcxViewParams& viewParams) const;
    virtual void DrawSortingMark(TcxCanvas*, const TRect&, bool) const {}
    virtual TcxBorders HeaderBorders(TcxNeighbors) const { return cxBordersAll; }
    virtual int HeaderBorderSize() const { return 0; }
    virtual TRect HeaderBounds(const TRect& bounds, TcxNeighbors neighbors, TcxBorders borders = cxBordersAll) const;
    virtual TRect HeaderContentBounds(const TRect& bounds, TcxBorders borders) const;
    virtual bool HeaderDrawCellsFirst() const { return true; }
    virtual int HeaderHeight(int fontHeight) const;
    virtual int HeaderControlSectionBorderSize(TcxButtonState = cxbsNormal) const { return 1; }
    virtual TRect HeaderControlSectionTextAreaBounds(const TRect& bounds, TcxButtonState state) const;
    virtual TRect HeaderControlSectionContentBounds(const TRect& bounds, TcxButtonState state) const;
    virtual int HeaderWidth(TcxCanvas* canvas, TcxBorders borders, const std::string& text, TFont* font) const;
    virtual bool IsHeaderHotTrack() const { return false; }
    virtual TSize SortingMarkAreaSize() const;
    virtual TSize SortingMarkSize() const { return {0, 0}; }
    virtual void DrawGroupByBox(TcxCanvas* canvas, const TRect& r, bool bitmap, TColor color, TBitmap* image) const;
    virtual bool GridDrawHeaderCellsFirst() const { return HeaderDrawCellsFirst(); }
    virtual TColor PivotGridHeadersAreaColor() const { return DefaultHeaderBackgroundColor(); }
    virtual TColor PivotGridHeadersAreaTextColor() const { return DefaultHeaderBackgroundTextColor(); }
    virtual TcxBorders FooterBorders() const { return cxBordersAll; }
    virtual int FooterBorderSize() const { return 0; }
    virtual int FooterCellBorderSize() const { return 0; }
    virtual int FooterCellOffset() const { return 0; }
    virtual bool FooterDrawCellsFirst() const { return true; }
    virtual TColor FooterSeparatorColor() const { return clBtnShadow; }
    virtual int FooterSeparatorSize() const { return 1; }
    virtual void DrawFooterCell(TcxCanvas* canvas, const TRect& bounds, TAlignment alignHorz,
                                cx::TcxAlignmentVert alignVert, bool multiLine, const std::string& text, TFont* font,
                                TColor textColor, TColor bkColor,
                                const TcxDrawBackgroundEvent& onDrawBackground = {}) const;
    virtual void DrawFooterCellContent(TcxCanvas* canvas, const TRect& bounds, TAlignment alignHorz,
                                       cx::TcxAlignmentVert alignVert, bool multiLine, const std::string& text,
                                       TFont* font, TColor textColor, TColor bkColor,
                                       const TcxDrawBackgroundEvent& onDrawBackground = {}) const;
    virtual void DrawFooterBorder(TcxCanvas*, const TRect&) const {}
    virtual void DrawFooterCellBorder(TcxCanvas*, const TRect&) const {}
    virtual void DrawFooterContent(TcxCanvas* canvas, const TRect& r, const TcxViewParams& viewParams) const;
    virtual void DrawFooterSeparator(TcxCanvas* canvas, const TRect& r) const;
    virtual void DrawFilterActivateButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state, bool checked) const;
    virtual void DrawFilterCloseButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const;
    virtual void DrawFilterDropDownButton(TcxCanvas*, const TRect&, TcxButtonState, bool) const {}
    virtual void DrawFilterPanel(TcxCanvas* canvas, const TRect& r, bool bitmap, TColor color, TBitmap* image) const;
    virtual TSize FilterActivateButtonSize() const { return {13, 13}; }
    virtual TSize FilterCloseButtonSize() const { return {16, 14}; }
    virtual TSize FilterDropDownButtonSize() const { return {15, 0}; }

    // ---- windows, tabs, indicators, scroll bars, size grips ----
    virtual void DrawWindowContent(TcxCanvas* canvas, const TRect& r) const;
    virtual TcxPopupBorderStyle PopupBorderStyle() const { return pbsUltraFlat; }
    virtual void DrawTab(TcxCanvas*, const TRect&, TcxBorders, const std::string&, TcxButtonState, bool, TFont*,
                         TColor, TColor, bool = false) const {}
    virtual void DrawTabBorder(TcxCanvas*, const TRect&, TcxBorder, TcxBorders, bool) const {}
    virtual void DrawTabsRoot(TcxCanvas*, const TRect&, TcxBorders, bool) const {}
    virtual bool IsDrawTabImplemented(bool) const { return false; }
    virtual bool IsTabHotTrack(bool) const { return false; }
    virtual int TabBorderSize(bool) const { return 0; }
    virtual void DrawIndicatorCustomizationMark(TcxCanvas* canvas, const TRect& r, TColor color) const;
    virtual void DrawIndicatorImage(TcxCanvas* canvas, const TRect& r, TcxIndicatorKind kind) const;
    virtual void DrawIndicatorItem(TcxCanvas* canvas, const TRect& r, TcxIndicatorKind kind, TColor color,
                                   const TcxDrawBackgroundEvent& onDrawBackground = {}) const;
    virtual void DrawIndicatorItemEx(TcxCanvas* canvas, const TRect& r, TcxIndicatorKind kind, TColor color,
                                     const TcxDrawBackgroundEvent& onDrawBackground = {}) const;
    virtual bool IndicatorDrawItemsFirst() const { return true; }
    virtual int ScrollBarMinimalThumbSize(bool) const { return 8; }
    virtual void DrawScrollBarBackground(TcxCanvas* canvas, const TRect& r, bool horizontal) const;
    virtual void DrawScrollBarPart(TcxCanvas*, bool, const TRect&, TcxScrollBarPart, TcxButtonState) const {}
    virtual TSize SizeGripSize() const;
    virtual void DrawSizeGrip(TcxCanvas* canvas, const TRect& r, TColor backgroundColor) const;

    // ---- scheduler, clock, editor buttons, date navigator, navigator ----
    virtual void CalculateSchedulerNavigationButtonRects(bool isNextButton, bool isCollapsed, const TSize& size1,
                                                         const TSize& size2, TRect& bounds, TRect& textRect,
                                                         TRect& arrowRect) const;
    virtual void DrawMonthHeader(TcxCanvas* canvas, const TRect& bounds, const std::string& text,
                                 TcxNeighbors neighbors, const TcxViewParams& viewParams, TcxHeaderArrows arrows,
                                 int sideWidth, const TcxDrawBackgroundEvent& onDrawBackground = {}) const;
    virtual void DrawSchedulerBorder(TcxCanvas* canvas, const TRect& r) const { DrawBorder(canvas, r); }
    virtual void DrawSchedulerEventProgress(TcxCanvas* canvas, const TRect& bounds, const TRect& progress,
                                            const TcxViewParams& viewParams, bool transparent) const;
    virtual void DrawSchedulerNavigationButton(TcxCanvas* canvas, const TRect& r, bool isNextButton,
                                               TcxButtonState state, const std::string& text, const TRect& textRect,
                                               const TRect& arrowRect) const;
    virtual void DrawSchedulerNavigationButtonArrow(TcxCanvas* canvas, const TRect& r, bool isNextButton,
                                                    TColor color) const;
    virtual void DrawSchedulerNavigatorButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const;
    virtual void DrawSchedulerSplitterBorder(TcxCanvas*, const TRect&, const TcxViewParams&, bool) const {}
    virtual TRect SchedulerEventProgressOffsets() const { return {2, 2, 2, 2}; }
    virtual TColor SchedulerNavigationButtonTextColor(bool, TcxButtonState state, TColor defaultColor) const;
    virtual void SchedulerNavigationButtonSizes(bool isNextButton, TRect& borders, TSize& arrowSize,
                                                bool& hasTextArea) const;
    virtual int ChartToolBoxDataLevelInfoBorderSize() const { return 1; }
    virtual void DrawClock(TcxCanvas* canvas, const TRect& r, double time, TColor backgroundColor) const;
    virtual void DrawEditorButton(TcxCanvas*, const TRect&, TcxEditBtnKind, TcxButtonState) const {}
    virtual int EditButtonTextOffset() const { return 0; }
    virtual TSize EditButtonSize() const { return {0, 0}; }
    virtual TColor EditButtonTextColor() const { return clDefault; }
    virtual TColor GetContainerBorderColor(bool) const { return clDefault; }
    virtual void DrawDateNavigatorDateHeader(TcxCanvas* canvas, TRect& r) const;
    virtual void DrawNavigatorGlyph(TcxCanvas* canvas, TCustomImageList* images, int imageIndex, int buttonIndex,
                                    const TRect& buttonRect, bool enabled, bool userGlyphs) const;
    virtual TSize NavigatorGlyphSize() const { return {0, 0}; }

    // ---- progress bar, group box, panel ----
    virtual void DrawProgressBarBorder(TcxCanvas*, const TRect&, bool) const {}
    virtual void DrawProgressBarChunk(TcxCanvas*, const TRect&, bool) const {}
    virtual void DrawProgressBarText(TcxCanvas* canvas, bool vertical, bool solid, const std::string& text,
                                     const TRect& textRect, const TRect& progressBarRect, const TRect& barRect,
                                     TColor textColor = clDefault) const;
    virtual TRect ProgressBarBorderSize(bool) const { return {0, 0, 0, 0}; }
    virtual TColor ProgressBarTextColor() const { return ProgressBarTextColorEx(false); }
    virtual TColor ProgressBarTextColorEx(bool isFilledArea) const { return isFilledArea ? clDefault : clWindowText; }
    virtual void DrawGroupBoxBackground(TcxCanvas*, const TRect&, const TRect&) const {}
    virtual void DrawGroupBoxCaption(TcxCanvas*, const TRect&, TcxGroupBoxCaptionPosition) const {}
    virtual void DrawGroupBoxContent(TcxCanvas*, const TRect&, TcxGroupBoxCaptionPosition, TcxBorders) const {}
    virtual void DrawGroupBoxFrame(TcxCanvas*, const TRect&, bool, TcxGroupBoxCaptionPosition, TcxBorders) const {}
    virtual TRect GroupBoxBorderSize(bool, TcxGroupBoxCaptionPosition) const { return {0, 0, 0, 0}; }
    virtual TColor GroupBoxTextColor(bool enabled, TcxGroupBoxCaptionPosition) const;
    virtual bool IsGroupBoxTransparent(bool, TcxGroupBoxCaptionPosition) const { return false; }
    virtual void DrawPanelBackground(TcxCanvas* canvas, rtl::TObject* control, const TRect& r, TColor, TColor) const;
    virtual void DrawPanelBorders(TcxCanvas*, const TRect&) const {}
    virtual void DrawPanelCaption(TcxCanvas* canvas, const TRect& r, TcxGroupBoxCaptionPosition position) const;
    virtual void DrawPanelContent(TcxCanvas* canvas, const TRect& r, bool) const;
    virtual TRect PanelBorderSize() const { return {0, 0, 0, 0}; }
    virtual TColor PanelTextColor() const { return clDefault; }

    // ---- track bars, splitters, layout, print preview, calculator ----
    virtual void DrawTrackBar(TcxCanvas*, const TRect&, const TRect&, bool, bool, bool) const {}
    virtual void DrawTrackBarThumb(TcxCanvas*, const TRect&, TcxButtonState, bool, TcxTrackBarTicksAlign) const {}
    virtual TSize TrackBarThumbSize(bool) const { return {0, 0}; }
    virtual TColor TrackBarTicksColor(bool) const { return clDefault; }
    virtual int TrackBarTrackSize() const { return 0; }
    virtual void DrawSplitter(TcxCanvas*, const TRect&, bool, bool, bool) const {}
    virtual TSize GetSplitterSize(bool) const { return {0, 0}; }
    virtual TColor LayoutControlEmptyAreaColor() const { return clBtnFace; }
    virtual void DrawLayoutControlBackground(TcxCanvas* canvas, const TRect& r) const;
    virtual TRect PrintPreviewPageBordersWidth() const { return {2, 2, 4, 4}; }
    virtual void DrawPrintPreviewBackground(TcxCanvas* canvas, const TRect& r) const;
    virtual void DrawPrintPreviewPageBackground(TcxCanvas* canvas, const TRect& borderRect, const TRect& contentRect,
                                                bool selected, bool drawContent) const;
    virtual TColor CalcEditButtonTextColor(TcxCalcEditButtonType type) const;

    // ---- class operations that are not virtual ----
    void CalculateArrowPoints(TRect r, TPoint (&p)[3], TcxArrowDirection direction, bool proportional,
                              int arrowSize = 0) const;
    void DrawButtonCross(TcxCanvas* canvas, const TRect& r, TColor color, TcxButtonState state) const;
    void DrawExpandButtonCross(TcxCanvas* canvas, const TRect& r, bool expanded, TColor color) const;
    void DrawGroupExpandButtonMark(TcxCanvas* canvas, const TRect& r, bool expanded, TcxButtonState state) const;
    void DrawMonthHeaderArrows(TcxCanvas* canvas, const TRect& bounds, TcxHeaderArrows arrows, int sideWidth,
                               TColor color) const;
    void DrawSortingArrow(TcxCanvas* canvas, const TRect& r, TColor color1, TColor color2, bool ascending) const;
    TcxArrowDirection GetArrowDirection(bool horizontal, TcxScrollBarPart part) const;
    void DrawFooterPanel(TcxCanvas* canvas, const TRect& bounds, const TcxViewParams& viewParams,
                         TcxBorders borders) const;
};

// ---- radio-button images ----

// The 128 ready radio images (look x state x checked x focused x design time) over one circle
// mask, built from the system radio picture's size.
class TcxRadioButtonImageList {
public:
    TcxRadioButtonImageList();
    ~TcxRadioButtonImageList();
    TcxRadioButtonImageList(const TcxRadioButtonImageList&) = delete;
    TcxRadioButtonImageList& operator=(const TcxRadioButtonImageList&) = delete;

    // cxbsDefault draws as cxbsNormal.
    void DrawImage(TcxCanvas* canvas, int x, int y, TColor brushColor, TcxLookAndFeelKind kind,
                   TcxButtonState state, bool checked, bool focused, bool isDesigning);
    TSize ImageSize() const;
    void Rebuild();
    int ImageCount() const { return int(images_.size()); }
    // Inspection for tests: the pattern's colour index (0..6) of a pixel, and the rectangles.
    int PatternAt(int row, int column) const { return pattern_[size_t(row)][size_t(column)]; }
    TRect CheckRect() const { return checkRect_; }
    TRect RadioRect() const { return radioRect_; }

private:
    void MeasureRadio();
    void BuildMask();
    void BuildPattern();
    void FillImages();
    void MarkInnerRing(int row, int column);
    std::vector<std::uint32_t> ColorMap(TcxLookAndFeelKind kind, TcxButtonState state, bool checked, bool focused,
                                        bool isDesigning) const;

    std::unique_ptr<TBitmap> buttonMask_; // black inside the circle, white outside
    std::vector<std::unique_ptr<TBitmap>> images_;
    TRect checkRect_{};
    std::vector<std::vector<int>> pattern_;
    TRect radioRect_{};
};

TcxRadioButtonImageList* PrepareRadioButtonImageList();
// The radio picture's size, shared by all instances.
TSize cxRadioButtonSize();
// What the palette-change notifier does: rebuilds the images of the instance, if one exists.
void cxRadioButtonImagesPaletteChanged();

// The fixed pictures of the system-drawn check-box and radio elements on this platform.
// The check-box bitmap has 4 x 3 cells of this size.
constexpr int cxSystemCheckBoxCellSize = 13;

namespace cxLookAndFeelPaintersUnit {
void Initialize();
void Finalize();
} // namespace cxLookAndFeelPaintersUnit
