#pragma once
// The container: the base of every editor control. A TcxContainer is a TcxControl that paints a
// border, an optional drop shadow and a background around one optional inner windowed control,
// and changes its look with its state (normal, focused, disabled, hot) through four container
// styles. A style keeps ten values, each with an assigned flag; an unassigned value is looked up
// in the style controller the style follows (a chain of controllers), then comes from the look
// and feel's defaults. The unit also holds the procedures that containers, editors and popups
// share: border widths, the shadow and its window region, frame invalidation and filling,
// window relations, the message-queue routines and the visible-popup bookkeeping.
#include "platform/gdi/Region.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/controls/cxControls.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rtl {
class TReader;
class TWriter;
} // namespace rtl

namespace cx {

class TcxContainer;
class TcxStyleController;

// ---- styles ----

enum TcxContainerStateItem { csNormal, csActive, csDisabled, csHotTrack };
using TcxContainerState = Set<TcxContainerStateItem>;
enum TcxContainerBorderStyle { cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat, cbsOffice11 };
enum TcxContainerHotState { chsNoHotTrack, chsNormal, chsSelected };
enum TcxMouseButton { cxmbNone, cxmbLeft, cxmbRight, cxmbMiddle };

// A style value is an index 0..31; a set of them is one bit per index.
using TcxContainerStyleValue = int;
using TcxContainerStyleValues = std::uint32_t;
constexpr TcxContainerStyleValues cxStyleValue(TcxContainerStyleValue v) { return 1u << v; }
enum : TcxContainerStyleValue {
    csvBorderColor, csvBorderStyle, csvColor, csvEdges, csvFont, csvHotTrack, csvShadow, csvTextColor,
    csvTextStyle, csvTransparentBorder
};
constexpr int cxContainerStyleValueCount = 10;
extern const char* const cxContainerStyleValueNameA[cxContainerStyleValueCount];

struct TcxContainerStyleData {
    TColor Color = clWindow;
    TFont* Font = nullptr;
    TColor FontColor = clWindowText;
};

class TcxContainerStyle;
using TcxContainerStyleClass =
    TClassRef<TcxContainerStyle, TPersistent*, bool, TcxContainerStyle*, TcxContainerStateItem>;

class TcxContainerStyle : public TcxInterfacedPersistent, public IdxSkinSupport {
    RTL_CLASS(TcxContainerStyle, TcxInterfacedPersistent)
    // A style in direct-access mode has no font of its own and sends no change notices: the
    // editors painted without a control (grid cells) fill its style data directly.
    TcxContainerStyle(TPersistent* owner, bool directAccessMode, TcxContainerStyle* parentStyle = nullptr,
                      TcxContainerStateItem state = csNormal);
    ~TcxContainerStyle() override;
    void Assign(TPersistent* source) override;

    // Resolved values.
    TColor GetBorderColor() const;
    TcxContainerBorderStyle GetBorderStyle() const;
    TcxBorders GetEdges() const;
    TFont* GetFont() const;
    bool GetHotTrack() const;
    bool GetShadow() const;
    bool GetTransparentBorder() const;
    virtual TColor GetColor() const;
    virtual TColor GetStyleColor() const;
    virtual TColor GetTextColor() const;
    virtual TFontStyles GetTextStyle() const;
    TcxContainerStyleValues GetAssignedValues() const;
    TFont* GetVisibleFont() const;
    TcxLookAndFeel* GetLookAndFeel() const;

    void SetBorderColor(TColor value);
    void SetBorderStyle(TcxContainerBorderStyle value);
    void SetColor(TColor value);
    void SetEdges(TcxBorders value);
    void SetFont(TFont* value);
    void SetHotTrack(bool value);
    void SetShadow(bool value);
    void SetTextColor(TColor value);
    void SetTextStyle(TFontStyles value);
    void SetTransparentBorder(bool value);
    void SetAssignedValues(TcxContainerStyleValues value);
    void SetLookAndFeel(TcxLookAndFeel* value);

    // The controller the style follows (nil when that is the default one) and its binding.
    TcxStyleController* BaseGetStyleController() const;
    void BaseSetStyleController(TcxStyleController* value);
    TcxStyleController* GetStyleController() const { return BaseGetStyleController(); }
    void SetStyleController(TcxStyleController* value) { BaseSetStyleController(value); }
    TcxStyleController* GetActiveStyleController() const;
    TcxContainerStyle* GetBaseStyle() const { return IsBaseStyle() ? const_cast<TcxContainerStyle*>(this) : parentStyle_; }
    TcxContainer* GetContainer() const;
    TcxContainerStyle* ParentStyle() const { return parentStyle_; }
    TcxContainerStateItem State() const { return state_; }
    bool IsBaseStyle() const { return parentStyle_ == nullptr; }
    bool IsDestroying() const { return destroying_; }
    bool DirectAccessMode() const { return directAccessMode_; }
    TcxContainerStyleData& StyleData() { return styleData_; }

    // Batching: a change inside BeginUpdate/EndUpdate gives one notice at the outermost EndUpdate.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    virtual void Changed();

    bool GetStyleValue(const std::string& name, TcxContainerStyleValue& value) const;
    virtual int GetStyleValueCount() const { return cxContainerStyleValueCount; }
    virtual bool GetStyleValueName(TcxContainerStyleValue value, std::string& name) const;
    bool IsExtendedStylePropertyPublished(const std::string& name) const;
    virtual bool IsValueAssigned(TcxContainerStyleValue value) const;
    virtual void RestoreDefaults();
    virtual bool HasBorder() const { return GetBorderStyle() != cbsNone; }

    // Drops a value's own flag without a notice (the container mirrors its Font this way).
    void ExcludeAssignedValue(TcxContainerStyleValue value) { assignedValues_ &= ~cxStyleValue(value); }
    void LockFontAssignedValue(bool lock);
    bool IsFontAssignedValueLocked() const { return fontAssignedLockCount_ > 0; }
    void UpdateFont();
    void UpdateVisibleFont() const;
    void RestoreFont();

    // The stored rules of the published values and the stream-only "IsFontAssigned".
    bool IsBorderColorStored() const { return IsValueStored(csvBorderColor); }
    bool IsBorderStyleStored() const { return IsValueStored(csvBorderStyle); }
    bool IsColorStored() const { return IsValueStored(csvColor); }
    bool IsEdgesStored() const { return IsValueStored(csvEdges); }
    bool IsFontStored() const { return IsValueStored(csvFont); }
    bool IsHotTrackStored() const { return IsValueStored(csvHotTrack); }
    bool IsShadowStored() const { return IsValueStored(csvShadow); }
    bool IsTextColorStored() const { return IsValueStored(csvTextColor); }
    bool IsTextStyleStored() const { return IsValueStored(csvTextStyle); }
    bool IsTransparentBorderStored() const { return IsValueStored(csvTransparentBorder); }
    bool IsStyleControllerStored() const;
    bool IsFontAssignedWritten() const { return IsFontStored(); }
    void ReadIsFontAssigned(rtl::TReader* reader);
    void WriteIsFontAssigned(rtl::TWriter* writer);
    void DefineProperties(rtl::TFiler* filer) override;

    TNotifyEvent OnChanged;

    // The controller chain's answers (own flag first); false when no layer has the value.
    bool InternalGetBorderColor(TColor& v) const;
    bool InternalGetBorderStyle(TcxContainerBorderStyle& v) const;
    bool InternalGetColor(TColor& v) const;
    bool InternalGetEdges(TcxBorders& v) const;
    bool InternalGetFont(TFont*& v) const;
    bool InternalGetHotTrack(bool& v) const;
    bool InternalGetShadow(bool& v) const;
    bool InternalGetTextColor(TColor& v) const;
    bool InternalGetTextStyle(TFontStyles& v) const;
    bool InternalGetTransparentBorder(bool& v) const;

    virtual void ControllerChangedNotification(TcxStyleController* controller);
    virtual void ControllerFreeNotification(TcxStyleController* controller);

protected:
    virtual TColor DefaultBorderColor() const;
    virtual TcxContainerBorderStyle DefaultBorderStyle() const;
    virtual TColor DefaultColor() const;
    virtual TcxBorders DefaultEdges() const { return cxBordersAll; }
    virtual bool DefaultHotTrack() const { return true; }
    virtual bool DefaultShadow() const { return false; }
    virtual TColor DefaultTextColor() const;
    virtual TFontStyles DefaultTextStyle() const;
    virtual bool DefaultTransparentBorder() const { return true; }
    virtual void FontChanged(TObject* sender);
    virtual TcxStyleController* GetDefaultStyleController() const;
    virtual TcxContainerStyleValues InternalGetNotPublishedExtendedStyleValues() const;
    void CheckChanges();
    bool IsValueStored(TcxContainerStyleValue value) const;
    bool HasOwnValue(TcxContainerStyleValue v) const { return (assignedValues_ & cxStyleValue(v)) != 0; }
    // The same state's style of the active controller, or nil.
    TcxContainerStyle* ControllerStyle() const;
    bool IsParentColored() const;

private:
    void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues);
    template <class T>
    void SetOwnValue(TcxContainerStyleValue v, T& field, const T& value);
    template <class T>
    void SetSetValue(TcxContainerStyleValue v, T TcxContainerStyle::*field, const T& value);

    TColor borderColor_ = clWindowFrame;
    TcxContainerBorderStyle borderStyle_ = cbsNone;
    TcxBorders edges_ = cxBordersAll;
    bool hotTrack_ = true;
    bool shadow_ = false;
    bool transparentBorder_ = true;
    bool directAccessMode_;
    int fontAssignedLockCount_ = 0;
    bool destroying_ = false;
    std::unique_ptr<TcxLookAndFeel> lookAndFeel_;
    bool modified_ = false;
    TPersistent* owner_;
    TcxContainerStyle* parentStyle_;
    TcxContainerStateItem state_;
    TFontStyles textStyle_ = 0;
    int updateCount_ = 0;
    std::unique_ptr<TFont> visibleFont_;
    TcxContainerStyleValues assignedValues_ = 0;
    TcxStyleController* styleController_ = nullptr;
    TcxContainerStyleData styleData_;
    std::unique_ptr<TFont> ownFont_;
};

// The four styles of a container or a controller: normal (the base style), focused, disabled, hot.
class TcxContainerStyles : public TObject {
    RTL_CLASS(TcxContainerStyles, TObject)
    TcxContainerStyles(TPersistent* owner, TcxContainerStyleClass styleClass);
    ~TcxContainerStyles() override;
    TcxContainerStyle* GetStyle(TcxContainerStateItem state) const { return styles_[state]; }
    void SetStyle(TcxContainerStateItem state, TcxContainerStyle* value) { styles_[state]->Assign(value); }
    TcxContainerStyle* GetStyleNormal() const { return styles_[csNormal]; }
    TcxContainerStyle* GetStyleFocused() const { return styles_[csActive]; }
    TcxContainerStyle* GetStyleDisabled() const { return styles_[csDisabled]; }
    TcxContainerStyle* GetStyleHot() const { return styles_[csHotTrack]; }
    void RestoreDefaults();
    void SetOnChanged(TNotifyEvent handler);

private:
    TcxContainerStyle* styles_[4] = {};
};
using TcxContainerStylesClass = TClassRef<TcxContainerStyles, TPersistent*, TcxContainerStyleClass>;

// A component whose four styles any number of containers follow.
class TcxStyleController : public TComponent {
    RTL_CLASS(TcxStyleController, TComponent)
    explicit TcxStyleController(TComponent* owner);
    ~TcxStyleController() override;
    void BeforeDestruction() override;
    void Loaded() override;

    virtual void AddListener(TcxContainerStyle* style);
    virtual void RemoveListener(TcxContainerStyle* style);
    virtual TcxContainerStyleClass GetStyleClass() const { return TcxContainerStyleClass::Of<TcxContainerStyle>(); }
    virtual TcxContainerStylesClass GetStylesClass() const { return TcxContainerStylesClass::Of<TcxContainerStyles>(); }
    void Changed();
    // Scales the controller's own font once; else passes the call up the chain.
    void ChangeFontScale(int m, int d);

    TcxContainerStyle* GetStyle() const { return styles_->GetStyleNormal(); }
    TcxContainerStyle* GetInternalStyle(TcxContainerStateItem state) const { return styles_->GetStyle(state); }
    void SetInternalStyle(TcxContainerStateItem state, TcxContainerStyle* value) { styles_->SetStyle(state, value); }
    void RestoreStyles() { styles_->RestoreDefaults(); }
    bool IsDestruction() const { return destruction_; }
    int ListenerCount() const { return int(listeners_.size()); }
    TcxContainerStyle* Listener(int index) const { return listeners_.at(std::size_t(index)); }
    // Published as never stored: reads the normal style's controller, ignores writes.
    TcxStyleController* GetFakeStyleController() const { return GetStyle()->BaseGetStyleController(); }
    void SetFakeStyleController(TcxStyleController*) {}

    TNotifyEvent OnStyleChanged;

protected:
    void CreateStyles();

private:
    void StyleChanged(TObject* sender) { Changed(); }
    bool destruction_ = false;
    bool fontScaled_ = false;
    std::vector<TcxContainerStyle*> listeners_;
    TcxContainerStyles* styles_ = nullptr;
};

// The editors' default controller once the editor unit has started; nil before and after.
extern TcxStyleController* cxContainerDefaultStyleController;
inline TcxStyleController* DefaultContainerStyleController() { return cxContainerDefaultStyleController; }

// ---- view info and shared procedures ----

struct TcxContainerInnerControlBounds {
    bool IsEmpty = true; // no window region wanted
    TRect Rect;
};
struct TcxContainerSizeGripData {
    TRect Bounds;
    bool Visible = false;
};

class TcxContainerViewInfo : public TObject {
    RTL_CLASS(TcxContainerViewInfo, TObject)
    TcxContainerViewInfo() = default;

    TColor BackgroundColor = clDefault;
    TColor BorderColor = clDefault;
    TRect BorderRect;
    TcxContainerBorderStyle BorderStyle = cbsNone;
    int BorderWidth = 0;
    TRect Bounds;
    TRect ClientRect;
    TcxContainerState ContainerState{csNormal};
    TcxBorders Edges = 0;
    TcxContainerHotState HotState = chsNoHotTrack;
    int NativePart = 0;
    int NativeState = 0;
    bool NativeStyle = false;
    TcxCustomLookAndFeelPainterClass Painter = nullptr;
    bool Shadow = false;
    TdxThemedObjectType ThemedObjectType{};

    virtual void DrawBorder(TcxCanvas* canvas, TRect r);
    // Draws the shadow when there is one and answers the rectangle the frame is drawn in.
    TRect DrawShadow(TcxCanvas* canvas);
    virtual TcxContainerBorderStyle GetContainerBorderStyle() const { return BorderStyle; }
    virtual void InternalPaint(TcxCanvas* canvas);
    virtual void SetBackgroundColor(TColor value) { BackgroundColor = value; }
    virtual void Assign(TObject* source);
    virtual TcxRegion* GetUpdateRegion(TObject* viewInfo) { return new TcxRegion(); }
    virtual void Offset(int dx, int dy);
    virtual void Paint(TcxCanvas* canvas) { InternalPaint(canvas); }
};
using TcxContainerViewInfoClass = TClassRef<TcxContainerViewInfo>;

// A windowed control that lives inside a container and does its typing.
class IcxContainerInnerControl {
public:
    virtual ~IcxContainerInnerControl() = default;
    virtual TWinControl* GetControl() = 0;
    virtual TcxContainer* GetControlContainer() = 0;
};

// What the system tells of a window's native scroll bar: screen rectangle and state flags
// (STATE_SYSTEM_*), and its range, page and position.
constexpr unsigned STATE_SYSTEM_UNAVAILABLE = 0x1, STATE_SYSTEM_INVISIBLE = 0x8000,
                   STATE_SYSTEM_OFFSCREEN = 0x10000;
constexpr int OBJID_HSCROLL = -6, OBJID_VSCROLL = -5;
struct TcxScrollBarInfo {
    unsigned cbSize = 60;
    TRect rcScrollBar;
    unsigned rgstate = 0;
};
struct TcxScrollInfo {
    int nMin = 0, nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
};
// The platform has no native scroll bars of its own: an inner control that scrolls reports its
// bars through this interface (its own scroll bars stay hidden; the container's painted ones mirror them).
class IcxNativeScrollBars {
public:
    virtual ~IcxNativeScrollBars() = default;
    virtual bool GetScrollBarInfo(TScrollBarKind kind, TcxScrollBarInfo& info) = 0;
    virtual bool GetScrollInfo(TScrollBarKind kind, TcxScrollInfo& info) = 0;
};

extern TColor cxContainerShadowColor;
extern TRect cxContainerDefaultBorderExtent;
extern bool TopMostComboBoxes;

int GetContainerBorderWidth(TcxContainerBorderStyle borderStyle);
int GetContainerBorderWidth(TcxLookAndFeelKind kind);
void DrawContainerShadow(TcxCanvas* canvas, const TRect& r);
void ExtendRectByBorders(TRect& r, int width, TcxBorders borders);
void InflateRectByBorders(TRect& r, int width, TcxBorders borders);
TRect GetControlRect(TControl* control);
TcxContainer* GetcxContainer(TControl* control);
TWinControl* GetInnerControlContainer(TWinControl* control);
bool HasOpenedPopupWindow(TControl* control);
bool HasNativeHandle(TWinControl* control, HWND wnd, bool deep = false);
inline bool HasHandle(TWinControl* control, HWND wnd) { return HasNativeHandle(control, wnd, false); }
inline HWND NativeHandle(HWND wnd) { return wnd; }
bool IsChildWindow(TWinControl* control, HWND wnd);
bool CheckParentsNativeHandle(TWinControl* control, HWND wnd);
HWND GetPopupOwnerControl(HWND wnd);
HWND FindFirstNonChildParentWindow(HWND wnd);
bool IsFormActive(TCustomForm* form);
bool CanShowHint(TControl* control);
bool IsMessageInQueue(HWND wnd, UINT message);
bool KillMessages(HWND wnd, UINT msgFilterMin, UINT msgFilterMax, bool removeAll = true);
void LockCMActivateMessages(bool lock);
bool IsCMActivateMessagesLocked();
TShiftStateFlag MouseButtonToShift(TMouseButton button);
TcxMouseButton ButtonTocxButton(TMouseButton button);
bool InternalCompareString(const std::string& s1, const std::string& s2, bool caseSensitive);
TPoint InternalGetCursorPos();
TShiftState InternalGetShiftState();
bool InternalIsWindowVisible(TWinControl* control);
void InternalInvalidateRect(TWinControl* control, const TRect& r, bool erase);
void InternalInvalidate(HWND wnd, const TRect& outerRect, const TRect& innerRect, bool erase = false);
void InternalFillRect(TcxCanvas* canvas, const TRect& outerRect, const TRect& innerRect, TColor color);
// The strips between an outer and an inner rectangle (the whole outer one when the inner is empty).
std::vector<TRect> FrameStrips(const TRect& outerRect, const TRect& innerRect);
void SetWindowRegion(TWinControl* control, const TcxContainerInnerControlBounds& bounds);
// An inner control stands in for the system, which would deliver the control's mouse input to
// its container as well: these hand it on, moved into the container's coordinates. A press is
// marked (InnerControlMouseDown) for the call, so the container does not take the focus away.
void ForwardInnerMouseDown(TcxContainer* container, TControl* inner, TMouseButton button, TShiftState shift, int x, int y);
void ForwardInnerMouseMove(TcxContainer* container, TControl* inner, TShiftState shift, int x, int y);
void ForwardInnerMouseUp(TcxContainer* container, TControl* inner, TMouseButton button, TShiftState shift, int x, int y);
void ForwardInnerClick(TcxContainer* container);
void ForwardInnerDblClick(TcxContainer* container);

// The one place an inner control's mouse overrides hand the input on: its own handling runs
// first, then the container's (unless the control died on the way). TSelf is the control itself,
// whose Container() names where the input goes (none: nowhere).
template <class TBase, class TSelf>
class TcxInnerControlMouseForwarder : public TBase {
public:
    using TBase::TBase;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        const auto alive = this->AliveToken();
        TBase::MouseDown(button, shift, x, y);
        if (!alive.expired())
            ForwardInnerMouseDown(Self()->Container(), this, button, shift, x, y);
    }
    void MouseMove(TShiftState shift, int x, int y) override
    {
        const auto alive = this->AliveToken();
        TBase::MouseMove(shift, x, y);
        if (!alive.expired())
            ForwardInnerMouseMove(Self()->Container(), this, shift, x, y);
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override
    {
        const auto alive = this->AliveToken();
        TBase::MouseUp(button, shift, x, y);
        if (!alive.expired())
            ForwardInnerMouseUp(Self()->Container(), this, button, shift, x, y);
    }
    void Click() override
    {
        const auto alive = this->AliveToken();
        TBase::Click();
        if (!alive.expired())
            ForwardInnerClick(Self()->Container());
    }
    void DblClick() override
    {
        const auto alive = this->AliveToken();
        TBase::DblClick();
        if (!alive.expired())
            ForwardInnerDblClick(Self()->Container());
    }

private:
    TSelf* Self() { return static_cast<TSelf*>(this); }
};
// The region a shadowed window needs; none when noRegion or when the window's client rectangle
// is the shadow bounds.
std::optional<gdi::Region> GetWindowShadowRegion(HWND wnd, const TRect& shadowBounds, const TRect& shadowExtent,
                                                 bool noRegion, bool shadow, const TRect& excludeRect);
void SetWindowShadowRegion(HWND wnd, const TRect& shadowBounds, const TRect& shadowExtent, bool noRegion,
                           bool shadow, const TRect& excludeRect);
// Window regions (the part of a window that is shown). The toolkit keeps them and masks the
// window's widget; a window that dies loses its entry.
void cxSetWindowRgn(HWND wnd, std::optional<gdi::Region> region, bool redraw = true);
std::optional<gdi::Region> cxGetWindowRgn(HWND wnd);
bool UsecxScrollBars();
// A control's own bar state as the system reports it: the strip in screen coordinates (none and
// invisible when the bar is not shown; unavailable when there is nothing to scroll), and the range.
void cxScrollBarStateToInfo(TWinControl* control, const TScrollBarState& state, TcxScrollBarInfo& info);
void cxScrollBarStateToScrollInfo(const TScrollBarState& state, TcxScrollInfo& info);
bool cxGetScrollBarInfo(HWND wnd, int objectId, TcxScrollBarInfo& info);
bool cxGetScrollInfo(HWND wnd, TScrollBarKind kind, TcxScrollInfo& info);
bool AreVisualStylesMustBeUsed(bool nativeStyle, TdxThemedObjectType themedObjectType);
TRect GetSizeGripRect(TcxContainer* container);
void cxFillSizeGrip(TcxContainer* container);
void cxFillSizeGrip(TcxContainer* container, const TRect& r);
void DisableWindow(std::vector<HWND>& list, HWND wnd);
void EnableWindows(std::vector<HWND>& list);
void DisableAppWindows(bool needDisable = true);
void EnableAppWindows();
bool IsInternalWindowsDisabled();
bool IsInternalWindowsDisabling();
void AssignFonts(TFont* dest, TFont* source);

// Visible popup windows. With the hooks-setting mode on, the popup hooks live only while a popup
// is listed; the hook owner installs them through the two procedures given to SetPopupHooks.
void AddVisiblePopupWindow(TWinControl* popup);
void RemoveVisiblePopupWindow(TWinControl* popup);
int VisiblePopupWindowCount();
TWinControl* VisiblePopupWindow(int index);
void SetHooksSettingMode(bool mode);
bool HooksSettingMode();
void SetPopupHooks(std::function<void()> install, std::function<void()> release);
// The popup window of a listed popup's owner control (set by the popup unit); nil otherwise.
using TcxPopupOwnerQuery = TWinControl* (*)(TWinControl* popup);
void SetPopupOwnerQuery(TcxPopupOwnerQuery query);

// ---- the container control ----

class TcxContainer : public TcxControl, public IcxMouseTrackingCaller {
    RTL_CLASS(TcxContainer, TcxControl)
    explicit TcxContainer(TComponent* owner);
    ~TcxContainer() override;
    void BeforeDestruction() override;
    void WndProc(TMessage& msg) override;
    void SetParent(TWinControl* parent) override;
    void Invalidate() override;
    void Update() override;

    // Styles.
    TcxContainerStyle* Style() const { return styles_->GetStyleNormal(); }
    TcxContainerStyle* StyleDisabled() const { return styles_->GetStyleDisabled(); }
    TcxContainerStyle* StyleFocused() const { return styles_->GetStyleFocused(); }
    TcxContainerStyle* StyleHot() const { return styles_->GetStyleHot(); }
    void SetStyle(TcxContainerStyle* v) { Style()->Assign(v); }
    void SetStyleDisabled(TcxContainerStyle* v) { StyleDisabled()->Assign(v); }
    void SetStyleFocused(TcxContainerStyle* v) { StyleFocused()->Assign(v); }
    void SetStyleHot(TcxContainerStyle* v) { StyleHot()->Assign(v); }
    TcxContainerStyle* GetInternalStyle(TcxContainerStateItem state) const { return styles_->GetStyle(state); }
    void SetInternalStyle(TcxContainerStateItem state, TcxContainerStyle* v) { styles_->SetStyle(state, v); }
    void RestoreStyles() { styles_->RestoreDefaults(); }
    TcxStyleController* GetFakeStyleController() const { return Style()->BaseGetStyleController(); }
    void SetFakeStyleController(TcxStyleController*) {}
    TcxContainerViewInfo* ViewInfo() const { return viewInfo_; }
    bool GetIsDestroying() const { return IsDestroying(); }

    // Colour and font inheritance from the parent (a set Color or Font clears the flag).
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    // The inner control.
    TWinControl* InnerControl() const { return innerControl_; }
    void SetInnerControl(TWinControl* value);
    bool InnerControlDefaultHandler(TMessage& message);
    void UpdateScrollBarsParameters();
    TWinControl* GetActiveControl() { return innerControl_ ? innerControl_ : this; }
    bool InnerControlMouseDown = false;
    TcxContainerSizeGripData SizeGripData() const { return sizeGripData_; }
    TcxContainerInnerControlBounds SavedInnerControlBounds() const { return innerControlBounds_; }
    // The window procedure a descendant keeps for its inner control.
    std::function<void(TMessage&)> InnerControlWindowMethod;
    bool PaintOnGlass = false;

    // Refreshing.
    void RefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent);
    void ShortRefreshContainer(bool isMouseEvent);
    void CheckIsViewInfoCalculated();
    bool IsViewInfoCalculated() const { return viewInfoCalculated_; }
    void LockAlignControls(bool lock);
    bool IsAlignControlsLocked() const { return alignControlsLockCount_ > 0; }
    void LockPopupMenu(bool lock);
    bool IsPopupMenuLocked() const { return popupMenuLockCount_ > 0; }
    bool IsStylePropertyPublished(const std::string& name, bool extended) const;
    TFont* GetVisibleFont();
    int RefreshLockCount() const { return refreshLockCount_; }

    // Virtual operations.
    virtual void AdjustInnerControl();
    virtual void AdjustScrollBarPosition(TcxControlScrollBar* scrollBar);
    virtual void CalculateViewInfo(const TPoint& p, bool mayBeHot);
    virtual bool CanContainerHandleTabs() { return true; }
    virtual bool CanHaveTransparentBorder() const;
    virtual bool CanRefreshContainer() const;
    virtual bool CanShowPopupMenu(const TPoint& p) { return true; }
    virtual void ContainerStyleChanged(TObject* sender);
    virtual void DataChange() {}
    virtual void DataSetChange() { ShortRefreshContainer(false); }
    virtual bool DefaultParentColor() const { return false; }
    // Takes the parent's colour unless a colour was given: the base constructor only sees the
    // base's DefaultParentColor, so a kind whose answer is true calls this from its own.
    void InitParentColor();
    virtual bool DoInnerControlDefaultHandler(TMessage& message);
    virtual bool DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent);
    virtual void EndMouseTracking();
    virtual TcxContainerStyle* GetActiveStyle() const;
    virtual TColor GetBackgroundColor() const;
    virtual TColor GetBorderColor() const;
    virtual TRect GetBorderExtent() const;
    virtual void GetColorSettingsByPainter(TColor& background, TColor& textColor) const;
    virtual TcxEditStateColorKind GetEditStateColorKind() const;
    virtual void GetInnerControlBounds(const TRect& r, TControl* control, TcxContainerInnerControlBounds& bounds) const;
    virtual TRect GetShadowBounds() const;
    virtual TRect GetShadowBoundsExtent() const { return {}; }
    virtual TcxContainerStyleClass GetStyleClass() const { return TcxContainerStyleClass::Of<TcxContainerStyle>(); }
    virtual TcxContainerStylesClass GetStylesClass() const { return TcxContainerStylesClass::Of<TcxContainerStyles>(); }
    virtual TcxContainerViewInfoClass GetViewInfoClass() const { return TcxContainerViewInfoClass::Of<TcxContainerViewInfo>(); }
    virtual bool HasShadow() const;
    virtual void InnerControlWndProc(TMessage& message);
    virtual TcxContainerStyle* InternalGetActiveStyle() const;
    virtual TcxContainerStyleValues InternalGetNotPublishedStyleValues() const { return 0; }
    virtual bool IsAdjustingScrollBarPositionNeeded(const TcxScrollBarInfo& info) const;
    virtual bool IsContainerFocused() const { return GetIsFocused(); }
    virtual bool IsContainerClass() const { return false; }
    virtual bool IsMouseTracking();
    virtual bool IsNativeStyle() const;
    virtual bool IsReadOnly() const { return false; }
    virtual bool IsTransparentBackground() const { return false; }
    virtual void SetShadowRegion();
    virtual void SetSize();
    virtual void SetVisibleBoundsClipRect();
    virtual void UpdateData() {}
    virtual TdxThemedObjectType GetBackgroundThemedObjectType() const { return totEdit; }
    virtual int GetBackgroundNativePart() const;
    virtual int GetBackgroundNativeState() const;
    virtual TRect GetScrollBarBounds(const TRect& scrollBarRect) const;
    virtual bool GetScrollBarEnabled(TcxControlScrollBar* scrollBar, const TcxScrollBarInfo& info) const;
    virtual bool GetScrollBarInfo(TcxScrollBarInfo& info, TScrollBarKind kind) const;
    virtual void SafeSelectionFocusInnerControl();
    virtual void SetScrollBarVisible(TcxControlScrollBar* scrollBar, bool visible);
    virtual void ClearSavedChildControlRegions() { innerControlBounds_.IsEmpty = true; }
    virtual TRect GetVisibleBounds() const;
    virtual bool HasPopupWindow() const { return false; }
    virtual bool InnerControlMenuHandler(TMessage& message);
    virtual bool IsInplace() const { return false; }
    virtual void SetScrollBarsParameters(bool skipPlacement = false);
    virtual void EnabledChanged();
    virtual void Loaded() override;

    // The overrides of the control base.
    TRect GetClientBounds() const override;
    bool CanFocusOnClick() override;
    bool FocusWhenChildIsClicked(TControl*) override { return false; }
    TcxLookAndFeel* GetLookAndFeelValue() override { return Style()->GetLookAndFeel(); }
    bool NeedsScrollBars() const override { return false; }
    bool MayFocus() const override;
    bool GetIsFocused() const override;
    void ColorChanged() override;
    void CursorChanged() override;
    void FocusChanged() override;
    void MouseEnter(TControl* control) override;
    void MouseLeave(TControl* control) override;
    void TranslationChanged() override { ShortRefreshContainer(false); }
    void SetFocus() override;
    TCursor GetCursor(int x, int y) override;
    void GetTabOrderList(std::vector<TWinControl*>& list) const override;
    // Scales by m/d; the font scales only when it comes from the styles.
    void ChangeScale(int m, int d);
    void AlignControls(TControl* control, TRect& rect);

    // IcxMouseTrackingCaller
    void MouseTrackingCallerMouseLeave() override { EndMouseTracking(); }

protected:
    void Dispatch(TMessage& msg) override;
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void Paint() override;
    void Resize() override;
    void DoContextPopup(TPoint mousePos, bool& handled) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void Notification(TComponent* component, TOperation operation) override;

    // A descendant whose style and view info classes are known only after the base constructor
    // (editors take them from their properties) makes them again.
    void RecreateStylesAndViewInfo();
    bool IsInnerControlBoundsChanged(TControl* control, const TcxContainerInnerControlBounds& bounds) const;
    void SaveInnerControlBounds(TControl* control, const TcxContainerInnerControlBounds& bounds);
    bool OwnChangeGuard() const { return ownChange_; }
    // Clips the inner control to the client bounds (its window region, GetInnerControlBounds).
    void RealignInnerControl();

private:
    void InnerControlHook(TWinControl* inner, const rtl::Event<void(TMessage&)>& innerProc, TMessage& msg);
    void CalculateContainerState(const TPoint& p, bool mayBeHot);
    void ApplyParentColor();
    void ApplyParentFont();
    void HandleFontChanged(TMessage& msg);
    void HandleParentColorChanged(TMessage& msg);
    void HandleParentFontChanged(TMessage& msg);
    void HandleSetFocus(TMessage& msg);
    void HandleKillFocus(TMessage& msg);

    mutable TcxContainerState containerState_{csNormal};
    mutable TcxContainerStyle* activeStyle_ = nullptr;
    TWinControl* innerControl_ = nullptr;
    TcxContainerInnerControlBounds innerControlBounds_;
    bool innerControlRepaintPosted_ = false;
    bool viewInfoCalculated_ = false;
    int alignControlsLockCount_ = 0;
    bool glassRepaintPosted_ = false;
    int popupMenuLockCount_ = 0;
    bool scrollBarsUpdating_ = false;
    TcxContainerSizeGripData sizeGripData_;
    int refreshLockCount_ = 0;
    bool ownChange_ = false;
    bool creating_ = true;
    bool parentColor_ = false;
    bool parentFont_ = true;
    bool applyingParentValue_ = false;
    rtl::Event<void(TMessage&)> innerOldWindowProc_;
    TcxContainerStyles* styles_ = nullptr;
    TcxContainerViewInfo* viewInfo_ = nullptr;
};

// Private messages of the container.
constexpr UINT CM_SHORTREFRESHCONTAINER = 0x807F, CM_UPDATESCROLLBARS = 0x8080, CM_DELAYEDREPAINT = 0x8081;

} // namespace cx
