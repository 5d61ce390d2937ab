#pragma once
// The editor's view: TcxCustomEditViewData lays an editor out (state, frame, colours, buttons,
// client and inner-edit rectangles) and measures it; TcxCustomEditViewInfo holds that layout and
// paints it (frame, background, buttons in every button style), answers hit tests and hints and
// decides what must be repainted when the layout changes. The same pair serves an editor control
// and a host that paints editor cells without one (PaintEx at an origin on the host's canvas).
#include <string>
#include <vector>

#include "platform/rtl/Variant.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/controls/cxContainer.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditLayout.h"
#include "toolkit/editors/cxEditUtils.h"

namespace cx {

class TcxCustomEditViewData;
class TcxCustomEditViewInfo;

// Limits a control puts on its size; 0 means no limit.
struct TcxEditSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

// What the view classes ask of the editor control they lay out and paint. The editor control
// implements it; a host that paints cells without a control passes none (the view data's and the
// view info's Edit stay null).
class IcxEditViewHost {
public:
    virtual ~IcxEditViewHost() = default;
    // The control itself (window to invalidate, visible bounds, styles, painter colours).
    virtual TcxContainer* GetEditContainer() = 0;
    // The style a calculation uses for the control's current state.
    virtual TcxCustomEditStyle* GetEditActiveStyle() = 0;
    // The control's answer to "focused" (its inner edit may hold the focus).
    virtual bool IsEditFocused() = 0;
    virtual bool HasBackground() = 0;
    virtual bool IsDBEditPaintCopyDrawing() { return false; }
    virtual bool IsContainerInnerControl() { return false; }
    // The visible index of the button holding the mouse capture, -1 when none.
    virtual int GetCaptureButtonVisibleIndex() { return -1; }
    virtual bool HasMouseCapture() = 0;
    // The inner edit control, or null.
    virtual TWinControl* GetInnerEditControl() { return nullptr; }
    virtual bool IsEditTransparent() { return false; }
    virtual bool IsEditNativeBackground() { return false; }
    // True when dc is the one the control paints its buttons into (they are drawn there apart).
    virtual bool IsButtonDC(HDC dc) { return false; }
    virtual TcxEditSizeConstraints GetSizeConstraints() { return {}; }
    // The content options of the control's view data (whether pressed button content moves).
    virtual TcxEditContentOptions GetEditContentOptions() = 0;
    // The look-and-feel kind of the controls in the editor's popup window.
    virtual TcxLookAndFeelKind GetPopupWindowControlsLookAndFeelKind() = 0;
};

enum TcxEditViewInfoState { evsPaintButtons };
using TcxEditViewInfoStates = Set<TcxEditViewInfoState>;
enum TcxDrawBackgroundStyle { dbsCustom, dbsCustomEdit, dbsNone, dbsSimpleFill, dbsSimpleParent, dbsThemeParent };
enum TcxEditBackgroundPaintingStyle { bpsSolid, bpsComboEdit, bpsComboListEdit };

using TcxEditDrawBackgroundEvent = Event<void(TcxCustomEditViewInfo* sender, TcxCanvas* canvas, bool& handled)>;
using TcxEditDrawButtonEvent =
    Event<void(TcxCustomEditViewInfo* sender, TcxCanvas* canvas, int buttonVisibleIndex, bool& handled)>;
using TcxEditDrawButtonBackgroundEvent = Event<void(TcxCustomEditViewInfo* sender, TcxCanvas* canvas,
                                                    const TRect& r, int buttonVisibleIndex, bool& handled)>;
using TcxEditDrawButtonBorderEvent =
    Event<void(TcxCustomEditViewInfo* sender, TcxCanvas* canvas, int buttonVisibleIndex, TRect& backgroundRect,
               TRect& contentRect, bool& handled)>;
using TcxEditGetButtonStateEvent =
    Event<void(TcxCustomEditViewInfo* sender, int buttonVisibleIndex, TcxEditButtonState& state)>;
using TcxEditPaintEvent = Event<void(TcxCustomEditViewInfo* sender, TcxCanvas* canvas)>;

// ---- view info --------------------------------------------------------------------------------

class TcxCustomEditViewInfo : public TcxContainerViewInfo {
    RTL_CLASS(TcxCustomEditViewInfo, TcxContainerViewInfo)
    TcxCustomEditViewInfo();
    ~TcxCustomEditViewInfo() override;
    TcxCustomEditViewInfo(const TcxCustomEditViewInfo&) = delete;
    TcxCustomEditViewInfo& operator=(const TcxCustomEditViewInfo&) = delete;

    // --- owner-draw events (a handler asked with a null canvas only answers whether it draws)
    TcxEditDrawBackgroundEvent OnDrawBackground;
    TcxEditDrawButtonEvent OnDrawButton;
    TcxEditDrawButtonBackgroundEvent OnDrawButtonBackground;
    TcxEditDrawButtonBorderEvent OnDrawButtonBorder;
    TcxEditGetButtonStateEvent OnGetButtonState;
    TcxEditPaintEvent OnPaint;

    // --- what the view data fills
    IcxEditViewHost* Edit = nullptr;   // null for cells painted without a control
    TcxEditViewInfoStates State;
    TRect BorderExtent;
    TcxEditBorderStyle EditBorderStyle = ebsNone;
    std::vector<TcxEditButtonViewInfo*> ButtonsInfo;   // owned
    TcxCustomEditProperties* EditProperties = nullptr;
    bool Enabled = true;
    bool Focused = false;
    TFont* Font = nullptr;   // borrowed from the style
    bool HasBackground = false;
    bool HasContentOffsets = false;
    bool HasInnerEdit = false;
    TRect InnerEditRect;
    bool IsButtonReallyPressed = false;
    bool IsContainerInnerControl = false;
    bool IsDBEditPaintCopyDrawing = false;
    bool IsDesigning = false;
    bool IsInplace = false;
    bool IsSelected = false;
    int Left = 0;   // the editor's origin on the host canvas (with Top)
    TcxEditPaintOptions PaintOptions;
    TcxEditPopupBorderStyle PopupBorderStyle = epbsDefault;
    int PressedButton = -1;
    int SelectedButton = -1;
    TRect ShadowRect;
    TColor TextColor = clDefault;
    int Top = 0;
    bool Transparent = false;
    Variant Data;   // a host value the view data copies unchanged

    // --- buttons
    int ButtonCount() const { return int(ButtonsInfo.size()); }
    void SetButtonCount(int count);
    virtual TcxEditButtonViewInfoClass GetButtonViewInfoClass() const;

    // --- overrides of the container view info
    void Assign(TObject* source) override;
    TcxRegion* GetUpdateRegion(TObject* viewInfo) override;
    void Offset(int dx, int dy) override;
    void Paint(TcxCanvas* canvas) override;
    void InternalPaint(TcxCanvas* canvas) override;
    TcxContainerBorderStyle GetContainerBorderStyle() const override { return TcxContainerBorderStyle(EditBorderStyle); }

    // Paints on a host canvas with the view info's (0, 0) at (Left, Top).
    void PaintEx(TcxCanvas* canvas);

    // --- background
    bool DrawBackground(TcxCanvas* canvas);
    bool DrawBackground(TcxCanvas* canvas, const TPoint& p);
    TcxDrawBackgroundStyle GetDrawBackgroundStyle() const;
    void DrawEditBackground(TcxCanvas* canvas, const TRect& r, const TRect& excludedRect, bool keepExcluded);
    // Frame, shadow and fill of the editor, then its buttons.
    void DrawCustomEdit(TcxCanvas* canvas, bool fillAll, TcxEditBackgroundPaintingStyle paintingStyle);
    virtual void DrawNativeStyleEditBackground(TcxCanvas* canvas, bool fillAll,
                                               TcxEditBackgroundPaintingStyle paintingStyle,
                                               const gdi::Brush* brush);
    bool IsBackgroundTransparent() const;
    bool IsCustomBackground();
    bool IsNativeBackground() const;
    bool IsTransparent() const;
    virtual void SetOnDrawBackground(TcxEditDrawBackgroundEvent value) { OnDrawBackground = value; }

    // --- buttons' painting
    void DrawButtons(TcxCanvas* canvas);
    virtual void DrawButton(TcxCanvas* canvas, int visibleIndex);
    virtual void DrawEditButton(TcxCanvas* canvas, int visibleIndex);
    virtual void DrawButtonBorder(TcxCanvas* canvas, int visibleIndex, TRect& backgroundRect, TRect& contentRect,
                                  TColor& textColor, TColor& backgroundColor);
    virtual void Draw3DButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button, TRect& backgroundRect,
                                    TRect& contentRect, TColor& textColor, TColor& backgroundColor);
    virtual void DrawFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button, TRect& backgroundRect,
                                      TRect& contentRect, TColor& textColor, TColor& backgroundColor);
    virtual void DrawHotFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button, TRect& backgroundRect,
                                         TRect& contentRect, TColor& textColor, TColor& backgroundColor);
    virtual void DrawNativeButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button, TRect& backgroundRect,
                                        TRect& contentRect, TColor& textColor, TColor& backgroundColor);
    virtual void DrawSimpleButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button, TRect& backgroundRect,
                                        TRect& contentRect, TColor& textColor, TColor& backgroundColor);
    virtual void DrawUltraFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button, bool isOffice11,
                                           TRect& backgroundRect, TRect& contentRect, TColor& textColor,
                                           TColor& backgroundColor);
    void DrawButtonBorderByPainter(TcxCanvas* canvas, TcxEditButtonViewInfo* button, TRect& backgroundRect,
                                   TRect& contentRect, TColor& textColor, TColor& backgroundColor);
    void DrawButtonBackground(TcxCanvas* canvas, int visibleIndex, const TRect& r, TColor color);
    virtual void DrawNativeButtonBackground(TcxCanvas* canvas, TcxEditButtonViewInfo* button, const TRect& r);
    virtual void DrawUsualButtonBackground(TcxCanvas* canvas, TcxEditButtonViewInfo* button, const TRect& r,
                                           TColor color);
    virtual void DrawButtonContent(TcxCanvas* canvas, int visibleIndex, const TRect& contentRect, TColor textColor,
                                   TColor backgroundColor, bool pressedOffset);
    bool IsCustomButton(int visibleIndex);
    bool IsCustomButtonBackground(int visibleIndex);
    bool IsCustomButtonBorder(int visibleIndex);
    bool IsCustomDrawButton(int visibleIndex);

    // --- hit tests and hints
    // A button's collection index while it is hot, -1 in the border rectangle, else -2.
    virtual int GetPart(const TPoint& p) const;
    // -1: the border rectangle up to the first button; a visible index: that button's bounds.
    virtual TRect GetPartRect(int part) const;
    virtual bool IsHotTrack() const;
    virtual bool IsHotTrack(const TPoint& p) const;
    virtual bool NeedShowHint(TcxCanvas* canvas, const TPoint& p, std::string& text, bool& isMultiLine,
                              TRect& textRect);
    virtual bool NeedShowHint(TcxCanvas* canvas, const TPoint& p, const TRect& visibleBounds, std::string& text,
                              bool& isMultiLine, TRect& textRect);
    TRect GetHintTextRect(const TPoint& p, int part, const std::string& text) const;

    // --- repainting
    virtual bool IsRepaintOnStateChangingNeeded() const { return true; }
    virtual bool Repaint(TWinControl* control, TcxCustomEditViewInfo* oldViewInfo);
    // Invalidates what changed since oldViewInfo (the frame around innerRect, the buttons);
    // answers whether a button was invalidated.
    virtual bool Repaint(TWinControl* control, const TRect& innerRect, TcxCustomEditViewInfo* oldViewInfo);

    // --- colours and fonts
    virtual void GetColorSettingsByPainter(TColor& background, TColor& textColor) const;
    virtual void PrepareCanvasFont(TCanvas* canvas) {}
};

// ---- view data --------------------------------------------------------------------------------

using TcxEditGetDefaultButtonWidthEvent =
    Event<void(TcxCustomEditViewData* sender, int index, int& defaultWidth)>;
using TcxEditViewDataGetDisplayTextEvent = Event<void(TcxCustomEditViewData* sender, std::string& text)>;

class TcxCustomEditViewData : public TPersistent {
    RTL_CLASS(TcxCustomEditViewData, TPersistent)
    TcxCustomEditViewData(TcxCustomEditProperties* properties, TcxCustomEditStyle* style, bool isInplace);
    ~TcxCustomEditViewData() override;

    // --- layout
    virtual void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                           TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent);
    // Calculates at (0, 0) and keeps the bounds' top-left as the view info's Left and Top.
    void CalculateEx(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                     TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent);
    virtual void CalculateButtonsViewInfo(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                          TcxMouseButton button, TShiftState shift,
                                          TcxCustomEditViewInfo* viewInfo, bool isMouseEvent);
    virtual void CalculateButtonViewInfo(TcxCanvas* canvas, TcxCustomEditViewInfo* viewInfo, int visibleIndex,
                                         TRect& r);
    virtual void CalculateButtonBounds(TcxCanvas* canvas, TcxCustomEditViewInfo* viewInfo, int visibleIndex,
                                       TRect& r);
    virtual void CalculateButtonNativeInfo(TcxEditButtonViewInfo* button);
    virtual void CheckButtonsOnly(TcxCustomEditViewInfo* viewInfo, int previousWidth, int remainingWidth);
    virtual bool CanPressButton(TcxCustomEditViewInfo* viewInfo, int visibleIndex) { return true; }
    virtual bool IsButtonPressed(TcxCustomEditViewInfo* viewInfo, int visibleIndex) { return false; }
    virtual bool IgnoreButtonWhileStretching(int visibleIndex) { return false; }
    virtual TcxContainerState GetContainerState(const TRect& bounds, const TPoint& p, TcxMouseButton button,
                                                TShiftState shift, bool isMouseEvent);
    virtual int GetEditNativeState(TcxCustomEditViewInfo* viewInfo);

    // --- frame
    virtual TcxEditBorderStyle GetBorderStyle();
    virtual TColor GetBorderColor();
    virtual TRect GetBorderExtent();
    virtual TRect GetBorderExtentByEdges(int width);
    virtual TRect GetBorderExtentByPainter();
    virtual TRect GetButtonsExtent(TcxCanvas* canvas);
    virtual TRect GetClientExtent(TcxCanvas* canvas, TcxCustomEditViewInfo* viewInfo);
    virtual bool HasShadow();
    virtual bool HasThickBorders();
    static bool IsNativeStyle(TcxLookAndFeel* lookAndFeel);
    TcxEditButtonStyle GetButtonsStyle();
    void GetColorSettings(TcxCustomEditViewInfo* viewInfo, TColor& background, TColor& textColor);

    // --- measuring
    TSize GetEditSize(TcxCanvas* canvas, const Variant& value, const TcxEditSizeProperties& sizeProperties,
                      TcxCustomEditViewInfo* viewInfo = nullptr);
    virtual TSize GetEditConstantPartSize(TcxCanvas* canvas, const TcxEditSizeProperties& sizeProperties,
                                          TSize& minContentSize, TcxCustomEditViewInfo* viewInfo = nullptr);
    virtual TSize GetEditContentSize(TcxCanvas* canvas, const Variant& value,
                                     const TcxEditSizeProperties& sizeProperties);
    virtual TSize GetEditContentSizeCorrection();
    virtual TRect GetEditContentDefaultOffsets();
    virtual void InitEditContentParams(TcxEditContentParams& params);

    // --- display text
    std::string EditValueToDisplayText(const Variant& value);
    virtual void EditValueToDrawValue(TcxCanvas* canvas, const Variant& value, TcxCustomEditViewInfo* viewInfo) {}

    // --- settings
    TcxCustomEditStyle* GetStyle() const { return style_; }
    void SetStyle(TcxCustomEditStyle* value) { style_ = value; }
    TcxCustomEditProperties* Properties() const { return properties_; }
    bool IsInplace() const { return isInplace_; }
    TcxEditPaintOptions GetPaintOptions() const;
    int GetCaptureButtonVisibleIndex();
    bool InternalFocused();
    const TcxEditContentParams& EditContentParams() const { return editContentParams_; }
    // An in-place editor hands in the parameters it computed once instead of computing them again.
    void SetEditContentParams(const TcxEditContentParams& value) { editContentParams_ = value; }

    TObject* Data = nullptr;   // the host's, unused here
    IcxEditViewHost* Edit = nullptr;
    bool Enabled = true;
    bool Focused = false;
    bool IsDesigning = false;
    bool IsSelected = false;
    bool PreviewMode = false;
    TRect ContentOffset;   // an in-place host's border extent
    TcxEditPaintOptions PaintOptionsBase;
    TControl* HScrollBar = nullptr;   // its height is part of the client extent
    TControl* VScrollBar = nullptr;   // its width is part of the client extent
    TColor ExtraColor1 = clDefault, ExtraColor2 = clDefault;   // for descendants
    Variant HostValue;   // copied into the view info by every calculation
    TcxEditGetDefaultButtonWidthEvent OnGetDefaultButtonWidth;
    TcxEditViewDataGetDisplayTextEvent OnGetDisplayText;

    // Results of the last calculation.
    TRect EditBounds() const { return editBounds_; }
    bool IsButtonsOnly() const { return buttonsOnly_; }
    TcxContainerState ContainerState() const { return containerState_; }
    const TcxEditButtonMarks& ButtonMarks() const { return marks_; }

    // Cached from the properties and the style (CreateViewData runs InitCacheData again on the
    // whole object, so a descendant's override takes part).
    virtual void Initialize();
    virtual void InitCacheData();

protected:
    virtual std::string InternalEditValueToDisplayText(const Variant& value) { return {}; }
    virtual TSize InternalGetEditConstantPartSize(TcxCanvas* canvas, bool isInplace,
                                                  const TcxEditSizeProperties& sizeProperties,
                                                  TSize& minContentSize, TcxCustomEditViewInfo* viewInfo);
    virtual TSize InternalGetEditContentSize(TcxCanvas* canvas, const Variant& value,
                                             const TcxEditSizeProperties& sizeProperties)
    {
        return {0, 0};
    }
    void CalculateViewInfo(TcxCustomEditViewInfo* viewInfo);
    void CheckSizeConstraints(TSize& size);
    void DoGetButtonState(TcxCustomEditViewInfo* viewInfo, int visibleIndex, TcxEditButtonState& state);
    int DoGetDefaultButtonWidth(int index);
    void DoOnGetDisplayText(std::string& text);

    TAlignment HorzAlignment = taLeftJustify;
    TcxEditVertAlignment VertAlignment = taTopJustify;
    bool NativeStyle = false;
    int VisibleButtonCount = 0;

private:
    TcxCustomEditStyle* BaseStyle() const;
    bool isInplace_;
    TcxCustomEditProperties* properties_;
    TcxCustomEditStyle* style_;
    TcxCustomEditStyle* baseStyle_;   // the style given; style_ may be the control's active style meanwhile
    TRect editBounds_;
    bool buttonsOnly_ = false;
    TcxContainerState containerState_{csNormal};
    TcxEditContentParams editContentParams_;
    bool isActiveOrHot_ = false;
    TcxEditButtonMarks marks_;
};

} // namespace cx
