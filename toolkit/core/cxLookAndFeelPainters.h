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

// The platform's image list (platform/vcl/ImgList.h): the navigator glyphs are drawn from one.
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
// The system's check-box bitmap, drawn by our code: row 0 the check boxes (clear, checked,
// pushed, pushed and checked), row 1 the radio buttons in the same states, row 2 the
// three-state boxes (grayed, pushed and grayed) and the radio mask.
void cxDrawSystemCheckBoxes(TBitmap& bitmap);
// The system's check mark inside a check box's square (inner: the square less its 2-pixel edge).
void cxDrawSystemCheckMark(TCanvas* canvas, const TRect& inner, TColor color);
// One cell of that picture, measured once (at the painter unit's start-up).
TSize cxSystemCheckBoxSize();

namespace cxLookAndFeelPaintersUnit {
void Initialize();
void Finalize();
} // namespace cxLookAndFeelPaintersUnit

// ---- the painters of the look-and-feel kinds ----
// Each overrides only what makes its look; everything else is the base's (or its parent's).

// The classic raised and sunken 3-D look (lfStandard).
class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
    CX_PAINTER_CLASS(TcxStandardLookAndFeelPainter)
    TcxLookAndFeelStyle LookAndFeelStyle() const override { return lfsStandard; }
    TColor DefaultSchedulerViewContentColor() const override { return clWindow; }
    int BorderSize() const override { return 2; }
    void DrawBorder(TcxCanvas* canvas, const TRect& r) const override;
    int ButtonBorderSize(TcxButtonState state = cxbsNormal) const override { return state == cxbsDefault ? 3 : 2; }
    int ButtonTextOffset() const override { return 1; }
    int ButtonTextShift() const override { return 1; }
    void DrawButtonBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor color = clDefault) const override;
    void DrawGroupExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TcxButtonState state) const override;
    int ExpandButtonSize() const override { return 12; }
    bool IsButtonHotTrack() const override { return false; }
    void DrawCheckBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors neighbors, TcxBorders borders) const override;
    void DrawHeaderControlSectionBorder(TcxCanvas* canvas, const TRect& r, TcxBorders borders,
                                        TcxButtonState state) const override;
    int HeaderControlSectionBorderSize(TcxButtonState state = cxbsNormal) const override
    {
        return state == cxbsPressed ? 1 : 2;
    }
    void DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const override;
    TSize SortingMarkSize() const override { return {8, 7}; }
    int HeaderBorderSize() const override { return 1; }
    int FooterBorderSize() const override { return 1; }
    int FooterCellBorderSize() const override { return 1; }
    int FooterCellOffset() const override { return 1; }
    void DrawFooterBorder(TcxCanvas* canvas, const TRect& r) const override;
    void DrawFooterCellBorder(TcxCanvas* canvas, const TRect& r) const override;
    void DrawFilterDropDownButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                  bool isFilterActive) const override;
    void DrawTabBorder(TcxCanvas* canvas, const TRect& r, TcxBorder border, TcxBorders borders,
                       bool vertical) const override;
    void DrawTabsRoot(TcxCanvas* canvas, const TRect& r, TcxBorders borders, bool vertical) const override;
    int TabBorderSize(bool) const override { return 1; }
    void DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r, TcxScrollBarPart part,
                           TcxButtonState state) const override;
    void DrawMonthHeader(TcxCanvas* canvas, const TRect& bounds, const std::string& text, TcxNeighbors neighbors,
                         const TcxViewParams& viewParams, TcxHeaderArrows arrows, int sideWidth,
                         const TcxDrawBackgroundEvent& onDrawBackground = {}) const override;
    void DrawSchedulerSplitterBorder(TcxCanvas* canvas, const TRect& r, const TcxViewParams& viewParams,
                                     bool horizontal) const override;
    void DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool enabled, TcxGroupBoxCaptionPosition position,
                           TcxBorders borders) const override;
};

// The same elements with single-pixel edges (lfFlat).
class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
    CX_PAINTER_CLASS(TcxFlatLookAndFeelPainter)
    TcxLookAndFeelStyle LookAndFeelStyle() const override { return lfsFlat; }
    int BorderSize() const override { return 1; }
    void DrawBorder(TcxCanvas* canvas, const TRect& r) const override;
    int ButtonBorderSize(TcxButtonState state = cxbsNormal) const override { return state == cxbsDefault ? 2 : 1; }
    int ButtonTextOffset() const override { return 1; }
    int ButtonTextShift() const override { return 1; }
    void DrawButtonBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor color = clDefault) const override;
    int ExpandButtonSize() const override { return 11; }
    bool IsButtonHotTrack() const override { return false; }
    void DrawCheckBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors neighbors, TcxBorders borders) const override;
    void DrawHeaderControlSectionBorder(TcxCanvas* canvas, const TRect& r, TcxBorders borders,
                                        TcxButtonState state) const override;
    void DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const override;
    int HeaderBorderSize() const override { return 1; }
    TSize SortingMarkSize() const override { return {8, 7}; }
    int FooterBorderSize() const override { return 1; }
    int FooterCellBorderSize() const override { return 1; }
    int FooterCellOffset() const override { return 1; }
    void DrawFooterBorder(TcxCanvas* canvas, const TRect& r) const override;
    void DrawFooterCellBorder(TcxCanvas* canvas, const TRect& r) const override;
    void DrawFilterDropDownButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                  bool isFilterActive) const override;
    void DrawTabBorder(TcxCanvas* canvas, const TRect& r, TcxBorder border, TcxBorders borders,
                       bool vertical) const override;
    void DrawTabsRoot(TcxCanvas* canvas, const TRect& r, TcxBorders borders, bool vertical) const override;
    int TabBorderSize(bool) const override { return 1; }
    void DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r, TcxScrollBarPart part,
                           TcxButtonState state) const override;
    void DrawSchedulerSplitterBorder(TcxCanvas* canvas, const TRect& r, const TcxViewParams& viewParams,
                                     bool horizontal) const override;
    void DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool enabled, TcxGroupBoxCaptionPosition position,
                           TcxBorders borders) const override;
    void DrawDateNavigatorDateHeader(TcxCanvas* canvas, TRect& r) const override;
};

// One-pixel frames and fills, hot-tracked buttons in the selection colours (lfUltraFlat).
class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
    CX_PAINTER_CLASS(TcxUltraFlatLookAndFeelPainter)
    void DrawFooterBorderEx(TcxCanvas* canvas, const TRect& r, TcxBorders borders) const override;
    void DrawSchedulerNavigationButtonContent(TcxCanvas* canvas, const TRect& r, const TRect& arrowRect,
                                              bool isNextButton, TcxButtonState state) const override;
    TcxLookAndFeelStyle LookAndFeelStyle() const override { return lfsUltraFlat; }
    TColor DefaultSchedulerBorderColor() const override { return clBtnShadow; }
    int BorderSize() const override { return 1; }
    void DrawBorder(TcxCanvas* canvas, const TRect& r) const override;
    int ButtonBorderSize(TcxButtonState state = cxbsNormal) const override { return state == cxbsDefault ? 2 : 1; }
    TColor ButtonColor(TcxButtonState state) const override;
    TRect ButtonFocusRect(TcxCanvas* canvas, const TRect& r) const override;
    TRect ButtonGroupBorderSizes(int buttonCount, int buttonIndex) const override;
    TColor ButtonSymbolColor(TcxButtonState state, TColor defaultColor = clDefault) const override;
    TcxButtonState ButtonSymbolState(TcxButtonState) const override { return cxbsNormal; }
    int ButtonTextOffset() const override { return 2; }
    int ButtonTextShift() const override { return 0; }
    void DrawButtonBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawButtonInGroup(TcxCanvas* canvas, const TRect& r, TcxButtonState state, int buttonCount,
                           int buttonIndex, TColor backgroundColor) const override;
    void DrawButtonGroupBorder(TcxCanvas* canvas, const TRect& r, bool inplace, bool selected) const override;
    void DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor color = clDefault) const override;
    void DrawHeaderControlSectionBorder(TcxCanvas* canvas, const TRect& r, TcxBorders borders,
                                        TcxButtonState state) const override;
    void DrawHeaderControlSectionContent(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                         TcxButtonState state, TAlignment alignHorz, cx::TcxAlignmentVert alignVert,
                                         bool multiLine, bool showEndEllipsis, const std::string& text, TFont* font,
                                         TColor textColor, TColor bkColor) const override;
    int ExpandButtonSize() const override { return 11; }
    bool IsButtonHotTrack() const override { return true; }
    void DrawCheckBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawHeaderEx(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, TcxNeighbors neighbors,
                      TcxBorders borders, TcxButtonState state, TAlignment alignHorz, cx::TcxAlignmentVert alignVert,
                      bool multiLine, bool showEndEllipsis, const std::string& text, TFont* font, TColor textColor,
                      TColor bkColor, const TcxDrawBackgroundEvent& onDrawBackground = {}) const override;
    void DrawHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors neighbors, TcxBorders borders) const override;
    void DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const override;
    TcxBorders HeaderBorders(TcxNeighbors neighbors) const override;
    int HeaderBorderSize() const override { return 1; }
    TSize SortingMarkSize() const override { return {7, 8}; }
    TcxBorders FooterBorders() const override { return cxBorder(bRight) | cxBorder(bBottom); }
    int FooterBorderSize() const override { return 1; }
    int FooterCellBorderSize() const override { return 1; }
    int FooterCellOffset() const override { return 2; }
    void DrawFooterBorder(TcxCanvas* canvas, const TRect& r) const override;
    void DrawFooterCellBorder(TcxCanvas* canvas, const TRect& r) const override;
    void DrawFilterDropDownButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                  bool isFilterActive) const override;
    TSize FilterCloseButtonSize() const override;
    void DrawTabBorder(TcxCanvas* canvas, const TRect& r, TcxBorder border, TcxBorders borders,
                       bool vertical) const override;
    void DrawTabsRoot(TcxCanvas* canvas, const TRect& r, TcxBorders borders, bool vertical) const override;
    int TabBorderSize(bool) const override { return 1; }
    void DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r, TcxScrollBarPart part,
                           TcxButtonState state) const override;
    void DrawSchedulerNavigatorButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawSchedulerSplitterBorder(TcxCanvas* canvas, const TRect& r, const TcxViewParams& viewParams,
                                     bool horizontal) const override;
    void DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool enabled, TcxGroupBoxCaptionPosition position,
                           TcxBorders borders) const override;
    void DrawPrintPreviewBackground(TcxCanvas* canvas, const TRect& r) const override;

    // Colours the ultra-flat drawing rules are made of.
    virtual TColor FilterDropDownButtonBorderColor(TcxButtonState state) const;
    virtual TColor TabBorderHighlightColor() const { return clBtnShadow; }
    virtual TColor TabBorderDarkColor() const { return clBtnText; }
    virtual TColor BorderHighlightColor() const { return clHighlight; }
};

// Office 2003 colours, gradient headers and bitmap expand buttons (lfOffice11).
class TcxOffice11LookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {
    CX_PAINTER_CLASS(TcxOffice11LookAndFeelPainter)
    void DrawContent(TcxCanvas* canvas, const TRect& bounds, const TRect& textArea, int state, TAlignment alignHorz,
                     cx::TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis, const std::string& text,
                     TFont* font, TColor textColor, TColor bkColor, const TcxDrawBackgroundEvent& onDrawBackground,
                     bool isFooter = false) const override;
    void DrawSchedulerNavigationButtonContent(TcxCanvas* canvas, const TRect& r, const TRect& arrowRect,
                                              bool isNextButton, TcxButtonState state) const override;
    TcxLookAndFeelStyle LookAndFeelStyle() const override { return lfsOffice11; }
    bool NeedRedrawOnResize() const override { return true; }
    TColor DefaultDateNavigatorHeaderColor() const override;
    TColor DefaultDateNavigatorSelectionColor() const override;
    TColor DefaultDateNavigatorSelectionTextColor() const override { return clWindowText; }
    TColor DefaultFilterBoxColor() const override;
    TColor DefaultFilterBoxTextColor() const override;
    TColor DefaultFooterColor() const override;
    TColor DefaultFooterTextColor() const override { return DefaultHeaderTextColor(); }
    TColor DefaultGroupColor() const override;
    TColor DefaultGroupByBoxColor() const override;
    TColor DefaultGroupByBoxTextColor() const override;
    TColor DefaultHeaderBackgroundColor() const override { return DefaultGroupByBoxColor(); }
    TColor DefaultHeaderColor() const override { return HeaderTopColor(); }
    TColor DefaultSchedulerBorderColor() const override;
    TColor DefaultSchedulerControlColor() const override;
    TColor DefaultTabColor() const override;
    TColor DefaultTabsBackgroundColor() const override { return DefaultTabColor(); }
    TColor DefaultTimeGridMinorScaleColor() const override;
    TColor DefaultTimeGridSelectionBarColor() const override { return DefaultSchedulerControlColor(); }
    void DrawBorder(TcxCanvas* canvas, const TRect& r) const override;
    TColor ButtonColor(TcxButtonState state) const override;
    TColor ButtonSymbolColor(TcxButtonState state, TColor defaultColor = clDefault) const override;
    void DrawButtonBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor color = clDefault) const override;
    bool DrawExpandButtonFirst() const override { return false; }
    void DrawSmallExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor borderColor,
                               TColor color = clDefault) const override;
    int ExpandButtonSize() const override { return 11; }
    int SmallExpandButtonSize() const override { return ExpandButtonSize(); }
    TColor CheckButtonColor(TcxButtonState state) const override;
    void DrawHeader(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, TcxNeighbors neighbors,
                    TcxBorders borders, TcxButtonState state, TAlignment alignHorz, cx::TcxAlignmentVert alignVert,
                    bool multiLine, bool showEndEllipsis, const std::string& text, TFont* font, TColor textColor,
                    TColor bkColor, const TcxDrawBackgroundEvent& onDrawBackground = {}, bool isLast = false,
                    bool isGroup = false) const override;
    void DrawHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors neighbors, TcxBorders borders) const override;
    void DrawHeaderControlSection(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                  TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                                  TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                                  bool showEndEllipsis, const std::string& text, TFont* font, TColor textColor,
                                  TColor bkColor) const override;
    void DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const override;
    TcxBorders HeaderBorders(TcxNeighbors) const override { return cxBordersAll; }
    bool IsHeaderHotTrack() const override { return true; }
    TColor FooterSeparatorColor() const override { return HeaderDarkEdgeColor(); }
    void DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r, TcxScrollBarPart part,
                           TcxButtonState state) const override;
    void DrawSizeGrip(TcxCanvas* canvas, const TRect& r, TColor backgroundColor) const override;
    void DrawMonthHeader(TcxCanvas* canvas, const TRect& bounds, const std::string& text, TcxNeighbors neighbors,
                         const TcxViewParams& viewParams, TcxHeaderArrows arrows, int sideWidth,
                         const TcxDrawBackgroundEvent& onDrawBackground = {}) const override;
    void DrawSchedulerNavigatorButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawSchedulerBorder(TcxCanvas* canvas, const TRect& r) const override;
    void DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool enabled, TcxGroupBoxCaptionPosition position,
                           TcxBorders borders) const override;
    TColor GroupBoxTextColor(bool enabled, TcxGroupBoxCaptionPosition position) const override;
    void DrawPanelBackground(TcxCanvas* canvas, rtl::TObject* control, const TRect& r, TColor colorFrom,
                             TColor colorTo) const override;
    void DrawLayoutControlBackground(TcxCanvas* canvas, const TRect& r) const override;
    void DrawDateNavigatorDateHeader(TcxCanvas* canvas, TRect& r) const override;

    TColor FilterDropDownButtonBorderColor(TcxButtonState state) const override;
    TColor TabBorderHighlightColor() const override { return HeaderDarkEdgeColor(); }
    TColor BorderHighlightColor() const override;

    // The header gradient and its edges.
    virtual TColor HeaderBottomColor() const;
    virtual TColor HeaderDarkEdgeColor() const;
    virtual TColor HeaderHighlightEdgeColor() const;
    virtual TColor HeaderTopColor() const;
};

// ---- named extra painters ----

// Told when a named painter is registered or removed.
class IcxLookAndFeelPainterListener {
public:
    virtual ~IcxLookAndFeelPainterListener() = default;
    virtual void PainterChanged(TcxCustomLookAndFeelPainterClass painter) = 0;
};

// One registered painter; owns its data object.
class TcxExtendedStylePainterInfo : public rtl::TObject {
    RTL_CLASS(TcxExtendedStylePainterInfo, rtl::TObject)
    TcxExtendedStylePainterInfo(const std::string& name, TcxCustomLookAndFeelPainterClass painter,
                                rtl::TObject* data);
    ~TcxExtendedStylePainterInfo() override;
    rtl::TObject* Data = nullptr;
    std::string Name;
    TcxCustomLookAndFeelPainterClass Painter = nullptr;
};

// The process-wide list of named painters, sorted by name, with its listeners.
class TcxExtendedStylePainters : public rtl::TObject {
    RTL_CLASS(TcxExtendedStylePainters, rtl::TObject)
    TcxExtendedStylePainters() = default;
    ~TcxExtendedStylePainters() override;

    // False, leaving the data with the caller, when the name (in any letter case) is taken.
    bool Register(const std::string& name, TcxCustomLookAndFeelPainterClass painter, rtl::TObject* data);
    bool Unregister(const std::string& name);
    bool GetPainterByName(const std::string& name, TcxCustomLookAndFeelPainterClass& painter) const;
    bool GetNameByPainter(TcxCustomLookAndFeelPainterClass painter, std::string& name) const;
    bool GetPainterData(TcxCustomLookAndFeelPainterClass painter, rtl::TObject*& data) const;
    int FindInfoByName(const std::string& name, TcxExtendedStylePainterInfo*& info) const;
    void SortPainters();
    void Changed(TcxCustomLookAndFeelPainterClass painter);
    void AddListener(IcxLookAndFeelPainterListener* listener);
    void RemoveListener(IcxLookAndFeelPainterListener* listener);
    bool HasListener(IcxLookAndFeelPainterListener* listener) const;

    int Count() const { return int(items_.size()); }
    TcxExtendedStylePainterInfo* GetItem(int index) const;
    const std::string& GetName(int index) const { return GetItem(index)->Name; }
    TcxCustomLookAndFeelPainterClass GetPainter(int index) const { return GetItem(index)->Painter; }
    rtl::TObject* GetData(int index) const { return GetItem(index)->Data; }

private:
    std::vector<TcxExtendedStylePainterInfo*> items_;
    std::vector<IcxLookAndFeelPainterListener*> listeners_;
};

// None before the painter unit starts and after it ends.
TcxExtendedStylePainters* GetExtendedStylePainters();
TcxCustomLookAndFeelPainterClass GetCurrentPainterClass();
// Renews the two scroll-bar page checkerboards from the current system colours.
void UpdateScrollBarBitmaps();
TRect cxTextRect(const TRect& r);

// Draws through the visual styles; every element whose theme cannot be opened falls back to the
// standard painter's (or the base's) drawing.
class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
    CX_PAINTER_CLASS(TcxWinXPLookAndFeelPainter)
    TcxLookAndFeelStyle LookAndFeelStyle() const override { return lfsNative; }
    bool NeedRedrawOnResize() const override;
    TColor DefaultSchedulerBorderColor() const override;
    using TcxStandardLookAndFeelPainter::DrawArrow;
    void DrawArrow(TcxCanvas* canvas, const TRect& r, TcxButtonState state, TcxArrowDirection direction,
                   bool drawBorder = true) const override;
    void DrawArrowBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    int BorderSize() const override;
    void DrawBorder(TcxCanvas* canvas, const TRect& r) const override;
    int ButtonBorderSize(TcxButtonState state = cxbsNormal) const override;
    TRect ButtonFocusRect(TcxCanvas* canvas, const TRect& r) const override;
    TColor ButtonSymbolColor(TcxButtonState state, TColor defaultColor = clDefault) const override;
    int ButtonTextOffset() const override { return 2; }
    int ButtonTextShift() const override { return 0; }
    void DrawButton(TcxCanvas* canvas, const TRect& r, const std::string& caption, TcxButtonState state,
                    bool drawBorder = true, TColor color = clDefault, TColor textColor = clDefault,
                    bool wordWrap = false, bool isToolButton = false) const override;
    void DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor color = clDefault) const override;
    bool DrawExpandButtonFirst() const override { return false; }
    int ExpandButtonSize() const override;
    bool IsButtonHotTrack() const override { return true; }
    int CheckBorderSize() const override;
    TSize CheckButtonSize() const override;
    void DrawCheck(TcxCanvas* canvas, const TRect& r, TcxButtonState state, bool checked, TColor color) const override;
    void DrawCheckBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawHeader(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, TcxNeighbors neighbors,
                    TcxBorders borders, TcxButtonState state, TAlignment alignHorz, cx::TcxAlignmentVert alignVert,
                    bool multiLine, bool showEndEllipsis, const std::string& text, TFont* font, TColor textColor,
                    TColor bkColor, const TcxDrawBackgroundEvent& onDrawBackground = {}, bool isLast = false,
                    bool isGroup = false) const override;
    void DrawHeaderPressed(TcxCanvas*, const TRect&) const override {}
    void DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const override;
    int HeaderBorderSize() const override;
    int HeaderControlSectionBorderSize(TcxButtonState = cxbsNormal) const override { return HeaderBorderSize(); }
    bool IsHeaderHotTrack() const override { return true; }
    TSize SortingMarkSize() const override { return {7, 8}; }
    void DrawFooterBorder(TcxCanvas* canvas, const TRect& r) const override;
    bool FooterDrawCellsFirst() const override { return false; }
    void DrawFilterDropDownButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                  bool isFilterActive) const override;
    void DrawTabBorder(TcxCanvas* canvas, const TRect& r, TcxBorder border, TcxBorders borders,
                       bool vertical) const override;
    void DrawIndicatorItem(TcxCanvas* canvas, const TRect& r, TcxIndicatorKind kind, TColor color,
                           const TcxDrawBackgroundEvent& onDrawBackground = {}) const override;
    int ScrollBarMinimalThumbSize(bool horizontal) const override;
    void DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r, TcxScrollBarPart part,
                           TcxButtonState state) const override;
    TColor DefaultSchedulerViewContentColor() const override { return 0x00D5FFFF; }
    TRect SchedulerEventProgressOffsets() const override { return {3, 3, 3, 3}; }
    void DrawSchedulerNavigatorButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    void DrawSizeGrip(TcxCanvas* canvas, const TRect& r, TColor backgroundColor) const override;
    void DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool enabled, TcxGroupBoxCaptionPosition position,
                           TcxBorders borders) const override;
    TColor GroupBoxTextColor(bool enabled, TcxGroupBoxCaptionPosition position) const override;
    void DrawPanelBackground(TcxCanvas* canvas, rtl::TObject* control, const TRect& r, TColor colorFrom,
                             TColor colorTo) const override;

    // Draws only the text, through the theme.
    virtual void DrawContent(TcxCanvas* canvas, void* theme, int partId, int stateId, const TRect& bounds,
                             const TRect& textArea, TAlignment alignHorz, cx::TcxAlignmentVert alignVert,
                             bool multiLine, bool showEndEllipsis, bool showPrefix, const std::string& text,
                             TFont* font, TColor textColor, TColor bkColor) const;
    TRect AdjustGroupButtonDisplayRect(const TRect& r, int buttonCount, int buttonIndex) const override;
    TColor ButtonColor(TcxButtonState state) const override;
    TRect ButtonGroupBorderSizes(int buttonCount, int buttonIndex) const override;
    void DrawGroupExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TcxButtonState state) const override;
    void DrawSmallExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor borderColor,
                               TColor color = clDefault) const override;
    int GroupExpandButtonSize() const override;
    int SmallExpandButtonSize() const override;
    void DrawRadioButton(TcxCanvas* canvas, int x, int y, TcxButtonState state, bool checked, bool focused,
                         TColor brushColor, bool isDesigning = false) const override;
    TSize RadioButtonSize() const override;
    TRect HeaderControlSectionContentBounds(const TRect& bounds, TcxButtonState state) const override;
    int FooterBorderSize() const override;
    int FooterCellBorderSize() const override;
    int FooterCellOffset() const override;
    void DrawFooterCell(TcxCanvas* canvas, const TRect& bounds, TAlignment alignHorz, cx::TcxAlignmentVert alignVert,
                        bool multiLine, const std::string& text, TFont* font, TColor textColor, TColor bkColor,
                        const TcxDrawBackgroundEvent& onDrawBackground = {}) const override;
    void DrawFilterCloseButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const override;
    TSize FilterActivateButtonSize() const override;
    TSize FilterCloseButtonSize() const override;
    bool IsDrawTabImplemented(bool vertical) const override;
    bool IsTabHotTrack(bool vertical) const override;
    int TabBorderSize(bool vertical) const override;
    void DrawSchedulerEventProgress(TcxCanvas* canvas, const TRect& bounds, const TRect& progress,
                                    const TcxViewParams& viewParams, bool transparent) const override;
    void DrawDateNavigatorDateHeader(TcxCanvas* canvas, TRect& r) const override;
    void DrawSchedulerNavigationButtonContent(TcxCanvas* canvas, const TRect& r, const TRect& arrowRect,
                                              bool isNextButton, TcxButtonState state) const override;
    bool IsPointOverGroupExpandButton(const TRect& r, const TPoint& p) const override;
    void DrawHeaderControlSection(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                  TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                                  TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                                  bool showEndEllipsis, const std::string& text, TFont* font, TColor textColor,
                                  TColor bkColor) const override;
    void DrawTab(TcxCanvas* canvas, const TRect& r, TcxBorders borders, const std::string& text,
                 TcxButtonState state, bool vertical, TFont* font, TColor textColor, TColor bkColor,
                 bool showPrefix = false) const override;
    void DrawTabsRoot(TcxCanvas* canvas, const TRect& r, TcxBorders borders, bool vertical) const override;
    void DrawMonthHeader(TcxCanvas* canvas, const TRect& bounds, const std::string& text, TcxNeighbors neighbors,
                         const TcxViewParams& viewParams, TcxHeaderArrows arrows, int sideWidth,
                         const TcxDrawBackgroundEvent& onDrawBackground = {}) const override;
    void DrawSchedulerSplitterBorder(TcxCanvas* canvas, const TRect& r, const TcxViewParams& viewParams,
                                     bool horizontal) const override;
    using TcxStandardLookAndFeelPainter::DrawContent;
};

// The push-button theme state of a button state.
int BtnStateToXPBtnState(TcxButtonState state);
