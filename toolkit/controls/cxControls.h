#pragma once
// The toolkit's control base: procedures that hide platform details (keys, drag detection,
// monitors and work areas, window relations, accelerator characters, popup menus), the hint
// window, the optional spell checker, TcxControl with its own scroll bars, size grip and
// middle-button panning, and the pop-up window base with its on-screen placement.
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxStyles.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/controls/cxControlsTimers.h"
#include "toolkit/controls/cxScrollBar.h"

#include <memory>
#include <string>
#include <vector>

namespace cx {

// ---- keys, characters, drag detection ----

enum TcxNumberType { ntInteger, ntFloat, ntExponent };
enum TcxDragDetect { ddNone, ddDrag, ddCancel };

bool IsCtrlPressed();
bool IsTextChar(char16_t ch);
bool IsEditStartChar(char16_t ch);
bool IsIncSearchStartChar(char16_t ch);
bool IsNumericChar(char16_t ch, TcxNumberType type);
bool IsSysKey(unsigned key);
// The character the key types with the keyboard's state now (the US layout; Shift and Caps
// Lock count, Ctrl with a letter gives its control character); 0 when it types none.
char16_t GetCharFromKeyCode(std::uint16_t key);
std::uint16_t ShiftStateToKeys(TShiftState shift);
std::uint16_t GetMouseKeys();
inline std::uint16_t TranslateKey(std::uint16_t key) { return key; }
inline int GET_APPCOMMAND_LPARAM(LPARAM l) { return HiWord(std::uintptr_t(l)) & 0x0FFF; }
unsigned GetDblClickInterval();
// Captures the mouse to the window and watches the messages until the pointer leaves the drag
// square around the cursor (ddDrag), a button is released (ddNone) or Escape is pressed (ddCancel).
TcxDragDetect DragDetect(HWND wnd);
bool IsPointInDragDetectArea(const TPoint& mouseDownPos, int x, int y);

// ---- monitors and geometry ----

TPoint GetMouseCursorPos();
TRect GetDesktopWorkArea(const TPoint& p);
void MakeVisibleOnDesktop(TRect& bounds, const TPoint& desktopPoint);
void MakeVisibleOnDesktop(TControl* control);
void MapWindowPoint(HWND from, HWND to, TPoint& p);
void MapWindowRect(HWND from, HWND to, TRect& r);
TRect cxGetClientRect(HWND wnd);
TRect cxGetClientRect(TWinControl* control);
TRect cxGetWindowRect(HWND wnd);
TRect cxGetWindowRect(TWinControl* control);
TcxPosition GetPointPosition(const TRect& r, const TPoint& p, bool horzSeparation, bool vertSeparation);

// ---- windows and controls ----

bool IsChildClassWindow(HWND wnd);
bool IsChildEx(HWND parentWnd, HWND wnd);
bool IsOwner(HWND ownerWnd, HWND wnd);
bool IsOwnerEx(HWND ownerWnd, HWND wnd);
bool IsWindowEnabledEx(HWND wnd);
bool IsMDIChild(TCustomForm* form);
bool IsMDIForm(TCustomForm* form);
bool CanAllocateHandle(TWinControl* control);
void RecreateControlWnd(TWinControl* control);
std::string RemoveAccelChars(const std::string& s, bool appendTerminatingUnderscore = true);
std::u16string RemoveAccelChars(const std::u16string& s, bool appendTerminatingUnderscore = true);
std::string cxGetFullComponentName(TComponent* component);
void SetDesignerModified(TComponent* component);

// A component that can serve as a control's popup menu without being a TPopupMenu.
class IcxPopupMenu {
public:
    virtual ~IcxPopupMenu() = default;
    virtual bool IsShortCutKey(TMessage& keyMessage) = 0;
    virtual void PopupAt(int x, int y) = 0;
};
bool IsPopupMenuShortCut(TComponent* popupMenu, TMessage& keyMessage);
// Points a control's popup-menu field at value (nil unless it is a TPopupMenu or an
// IcxPopupMenu), moving the control's free notification from the old menu to the new one.
void cxSetPopupMenu(TComponent* control, TComponent*& field, TComponent* value);
bool ShowPopupMenu(TComponent* caller, TComponent* popupMenu, int x, int y);
bool ShowPopupMenuFromCursorPos(TComponent* caller, TComponent* popupMenu);
// The height of the menu's visible items (the default font's "Qg" height plus 4 each), plus 4.
int GetPopupMenuHeight(TPopupMenu* popupMenu);

// ---- dialogs ----

// A message dialog with the caption (when not empty), centred on the screen, shown modally and
// freed; its modal result.
int cxMessageDlg(const std::string& message, const std::string& caption, TMsgDlgType type,
                 TMsgDlgButtons buttons, int helpContext);
// Gives the form the font and scales its controls and client size by the change of the text
// height of "Qq".
void DialogApplyFont(TCustomForm* form, TFont* font);

// ---- hints ----

enum TcxHintAnimationStyle {
    cxhaSlideFromLeft, cxhaSlideFromRight, cxhaSlideDownward, cxhaSlideUpward, cxhaSlideFromCenter,
    cxhaHide, cxhaActivate, cxhaFadeIn, cxhaAuto, cxhaNone
};

// Shows the hint only when a monitor is found for R's top-left corner.
void cxActivateHint(THintWindow* hintWindow, const TRect& r, const std::string& hint);
void cxActivateHintData(THintWindow* hintWindow, const TRect& r, const std::string& hint, void* data);
// Fills the hint information for a toolkit control's own hint and runs the application's
// OnShowHint: with a handler that lets it show, the hint window may be replaced by one of the
// class the handler asked for (owned by the application) and `r` becomes the hint's rectangle.
// The answer is whether the hint may show (True without a handler).
bool cxProcessControlHintInfo(THintInfo& hintInfo, THintWindow*& hintWindow, TControl* control,
                              const std::string& hint, TRect& r, void* data = nullptr);

class TcxBaseHintWindow : public THintWindow {
    RTL_CLASS(TcxBaseHintWindow, THintWindow)
    explicit TcxBaseHintWindow(TComponent* owner);

    TcxHintAnimationStyle AnimationStyle = cxhaAuto;
    unsigned AnimationDelay = 100;
    bool BorderFlag = false;
    bool NeedEraseBackground = true;
    bool StandardHint = false;

    // The style after the system's tool-tip settings (this system animates no windows).
    TcxHintAnimationStyle GetAnimationStyle() const;
    // Whether the last ActivateHint would have animated (a hint of 100 characters or more never does).
    bool LastShowAnimated() const { return lastAnimated_; }
    void ActivateHint(const TRect& rect, const std::string& hint) override;
    void SetBounds(int left, int top, int width, int height) override;
    virtual void DisableRegion() {}
    virtual void EnableRegion() {}
    virtual void Show();

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& msg) override;

private:
    bool lastAnimated_ = false;
};

// ---- the spell checker ----

class IdxSpellChecker {
public:
    virtual ~IdxSpellChecker() = default;
    virtual void CheckFinish() = 0;
    virtual void CheckStart(TWinControl* innerControl) = 0;
    virtual void DrawMisspellings(TWinControl* innerControl) = 0;
    virtual bool IsSpellCheckerDialogControl(HWND wnd) = 0;
    virtual void KeyPress(char16_t& key) = 0;
    virtual void LayoutChanged(TWinControl* innerControl) = 0;
    virtual bool QueryPopup(TComponent* popupMenu, const TPoint& screenPoint) = 0;
    virtual void SelectionChanged(TWinControl* innerControl) = 0;
    virtual void TextChanged(TWinControl* innerControl) = 0;
    virtual void Undo() = 0;
};
class IdxSpellCheckerControl {
public:
    virtual ~IdxSpellCheckerControl() = default;
    virtual bool SupportsSpelling() = 0;
    virtual void SpellCheckerSetSelText(const std::string& text) = 0;
    virtual void SpellCheckerSetIsBarControl(bool value) = 0;
    virtual void SpellCheckerSetValue(const Variant& value) = 0;
};
// Set by a spell checker that installs itself; empty otherwise, cleared at shut-down.
extern IdxSpellChecker* dxISpellChecker;

// ---- the base control ----

enum TcxControlBorderStyle { cxcbsNone, cxcbsDefault };
enum TcxKey { kAll, kArrows, kChars, kTab };
using TcxKeys = Set<TcxKey>;
enum TcxDragAndDropState { ddsNone, ddsStarting, ddsInProcess };
enum TcxMouseWheelScrollingKind { mwskNone, mwskHorizontal, mwskVertical };

class IcxMouseCaptureObject {
public:
    virtual ~IcxMouseCaptureObject() = default;
    virtual void CancelMouseCapture() = 0;
};

constexpr UINT CM_NCSIZECHANGED = 0x8065;

class TcxControl;

// One toolkit drag inside a control (a row, a column, a splitter), made by the control when a
// drag begins and freed when it finishes. Positions are the control's client coordinates.
class TcxDragAndDropObject : public TObject {
    RTL_CLASS(TcxDragAndDropObject, TObject)
    explicit TcxDragAndDropObject(TcxControl* control);
    TcxControl* Control() const { return control_; }
    TcxCanvas* Canvas() const { return canvas_; }
    TPoint CurMousePos = cxInvalidPoint;
    TPoint PrevMousePos = cxInvalidPoint;
    bool Dirty() const { return dirty_; }
    void SetDirty(bool value);

    virtual void DirtyChanged() {}
    virtual TCursor GetDragAndDropCursor(bool accepted) { return accepted ? crDrag : crNoDrop; }
    // False: the drag begins only once the pointer left the drag-detect square.
    virtual bool GetImmediateStart() { return false; }
    virtual void AfterDragAndDrop(bool accepted) {}
    virtual void BeginDragAndDrop() { DirtyChanged(); }
    virtual void DragAndDrop(const TPoint& p, bool& accepted);
    virtual void EndDragAndDrop(bool accepted) { SetDirty(true); }

    // The steps the control calls.
    void DoBeginDragAndDrop();
    void DoDragAndDrop(const TPoint& p, bool& accepted);
    void DoEndDragAndDrop(bool accepted);

private:
    TcxControl* control_;
    TcxCanvas* canvas_;
    bool dirty_ = false;
};
using TcxDragAndDropObjectClass = TClassRef<TcxDragAndDropObject, TcxControl*>;
// The platform drag object a control makes for itself (none: the platform's own).
using TcxDragObjectClass = TClassRef<TDragObject, TControl*>;
using TcxDragImageListClass = TClassRef<TDragImageList, TComponent*>;

// A non-visual component that belongs to a toolkit control (its parent component in streams).
// The second constructor takes the control's owner as its owner when asked and joins the
// control; Initialize runs at the end of the first (a descendant's own set-up goes in its
// constructor, which C++ runs after the base's).
class TcxControlChildComponent : public TcxComponent {
    RTL_CLASS(TcxControlChildComponent, TcxComponent)
    explicit TcxControlChildComponent(TComponent* owner);
    TcxControlChildComponent(TcxControl* control, bool assignOwner);
    void BeforeDestruction() override;
    TcxControl* Control() const { return control_; }
    virtual void SetControl(TcxControl* value) { control_ = value; }
    virtual void Initialize() {}
    bool GetIsLoading() const { return ComponentState().Contains(csLoading); }
    TComponent* GetParentComponent() override;
    bool HasParent() override { return control_ != nullptr; }
    void SetParentComponent(TComponent* value) override;

private:
    TcxControl* control_ = nullptr;
};

struct TcxScrollBarData {
    int Min = 0, Max = 0, Position = 0, PageSize = 0;
    std::int16_t SmallChange = 1, LargeChange = 1;
    bool Enabled = true, Visible = false, AllowShow = true, AllowHide = true;
};

class TcxControlScrollBar : public TcxScrollBar {
    RTL_CLASS(TcxControlScrollBar, TcxScrollBar)
    explicit TcxControlScrollBar(TComponent* owner);
    void BeforeDestruction() override;
    TcxScrollBarData Data;
    void ApplyData();
    virtual void FocusParent();

protected:
    void WndProc(TMessage& msg) override;
};

class TcxSizeGrip : public TCustomControl {
    RTL_CLASS(TcxSizeGrip, TCustomControl)
    explicit TcxSizeGrip(TComponent* owner);
    ~TcxSizeGrip() override;
    TcxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }

protected:
    void Dispatch(TMessage& msg) override;
    void Paint() override;

private:
    void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues);
    std::unique_ptr<TcxLookAndFeel> lookAndFeel_;
};

class TcxControl : public TCustomControl, public IdxLocalizerListener, public IcxLookAndFeelContainer {
    RTL_CLASS(TcxControl, TCustomControl)
    explicit TcxControl(TComponent* owner);
    ~TcxControl() override;
    void BeforeDestruction() override;
    void WndProc(TMessage& msg) override;

    // Properties.
    TcxControlBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TcxControlBorderStyle value);
    TcxKeys Keys() const { return keys_; }
    void SetKeys(TcxKeys value) { keys_ = value; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool ParentBackground() const { return parentBackground_; }
    void SetParentBackground(bool value);
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* value);
    TObject* MouseCaptureObject() const { return mouseCaptureObject_; }
    void SetMouseCaptureObject(TObject* value);
    TcxDragAndDropState DragAndDropState() const { return dragAndDropState_; }
    void SetDragAndDropState(TcxDragAndDropState value);
    // Own look and feel; the scroll bars and the size grip follow it as their master.
    TcxLookAndFeel* LookAndFeel() const { return lookAndFeel_.get(); }
    void SetLookAndFeel(TcxLookAndFeel* value) { lookAndFeel_->Assign(value); }
    TcxLookAndFeel* GetLookAndFeel() override { return GetLookAndFeelValue(); }
    TcxCanvas* Canvas() const { return canvas_.get(); }
    // The control's canvas once it has a window; before, a screen canvas (made once, freed when
    // the window exists).
    TcxCanvas* GetActiveCanvas();
    virtual void AddChildComponent(TcxControlChildComponent* component) { component->SetControl(this); }
    virtual void RemoveChildComponent(TcxControlChildComponent* component) { component->SetControl(nullptr); }
    bool IsDesigning() const { return GetIsDesigning(); }
    bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
    bool IsLoading() const { return ComponentState().Contains(csLoading); }
    bool IsFocused() const { return GetIsFocused(); }
    bool MouseButtonPressed() const { return mouseButtonPressed_; }
    TPoint MouseDownPos() const { return mouseDownPos_; }
    bool FocusOnClick = true;
    TNotifyEvent OnFocusChanged;

    // Invalidation.
    static void InvalidateControl(TWinControl* control, bool needInvalidateSelf, bool needInvalidateChildren);
    void InvalidateRect(const TRect& r, bool eraseBackground);
    void InvalidateWithChildren();
    void UpdateWithChildren();
    bool IsMouseInPressedArea(int x, int y) const { return IsPointInDragDetectArea(mouseDownPos_, x, y); }
    void PostMouseMove();
    void PostMouseMove(const TPoint& p);
    void AddFontListener(IcxFontListener* listener);
    void RemoveFontListener(IcxFontListener* listener);
    bool IsMenuKey(TMessage& keyMessage);

    // Scroll bars.
    TcxControlScrollBar* HScrollBar() const { return hScrollBar_; }
    TcxControlScrollBar* VScrollBar() const { return vScrollBar_; }
    TcxSizeGrip* SizeGrip() const { return sizeGrip_; }
    bool HScrollBarVisible() const { return GetScrollBarVisible(hScrollBar_); }
    bool VScrollBarVisible() const { return GetScrollBarVisible(vScrollBar_); }
    void SetScrollBarInfo(TScrollBarKind kind, int min, int max, int step, int page, int pos, bool allowShow,
                          bool allowHide);
    void LockScrollBars();
    void UnlockScrollBars();
    void ScrollContent(TcxDirection direction);
    // Moves the window's pixels inside the rectangle; the uncovered part is invalidated and erased.
    void ScrollWindow(int dx, int dy, const TRect& scrollRect);
    void DoScrolling();
    bool ScrollingContent() const { return scrollingContent_; }
    // The round window that marks where panning began (only while panning).
    TWinControl* PanningAnchorWindow() const { return panningAnchor_; }

    // Drag and drop of the toolkit: the object is made on first use and freed when the drag
    // finishes.
    void FinishDragAndDrop(bool accepted);
    TcxDragAndDropObject* GetDragAndDropObject();
    virtual TcxDragAndDropObjectClass GetDragAndDropObjectClass() const
    {
        return TcxDragAndDropObjectClass::Of<TcxDragAndDropObject>();
    }

    // IdxLocalizerListener
    void TranslationChanged() override {}

    // Virtual operations.
    virtual bool DoShowPopupMenu(TComponent* menu, int x, int y);
    virtual void Modified();
    virtual void AfterMouseDown(TMouseButton button, int x, int y);
    virtual void BeforeMouseDown(TMouseButton button, TShiftState shift, int x, int y) {}
    virtual void BringInternalControlsToFront();
    virtual void CancelMouseOperations();
    virtual int GetBorderSize() const;
    virtual TRect GetBounds() const;
    virtual TRect GetClientBounds() const;
    virtual TCursor GetCursor(int x, int y) { return defaultCursor_; }
    virtual bool GetIsDesigning() const { return ComponentState().Contains(csDesigning); }
    virtual bool GetIsFocused() const { return Focused(); }
    virtual TcxMouseWheelScrollingKind GetMouseWheelScrollingKind();
    virtual void InitControl();
    virtual bool CanFocusOnClick();
    virtual bool CanFocusOnClick(int x, int y) { return CanFocusOnClick(); }
    virtual bool FocusWhenChildIsClicked(TControl* child) { return CanFocusOnClick(); }
    virtual bool HasBackground() const { return false; }
    virtual bool IsInternalControl(TControl* control) const;
    virtual bool NeedRedrawOnResize() const { return false; }
    virtual bool UpdateMousePositionIfControlMoved() const { return true; }
    virtual void ParentBackgroundChanged() {}
    virtual TcxLookAndFeel* GetLookAndFeelValue() { return lookAndFeel_.get(); }
    virtual TcxCustomLookAndFeelPainterClass GetLookAndFeelPainter() const { return lookAndFeel_->GetPainter(); }
    virtual void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues);
    virtual bool CanScrollLineWithoutScrollBars(TcxDirection direction) { return false; }
    virtual TRect GetHScrollBarBounds() const;
    virtual TRect GetSizeGripBounds() const;
    virtual TRect GetVScrollBarBounds() const;
    virtual void InitScrollBarsParameters() {}
    virtual bool IsPixelScrollBar(TScrollBarKind kind) const { return false; }
    virtual bool NeedsScrollBars() const { return true; }
    virtual bool NeedsToBringInternalControlsToFront() const { return true; }
    virtual void Scroll(TScrollBarKind kind, TScrollCode code, int& pos) {}
    virtual void SetInternalControlsBounds();
    virtual void UpdateInternalControlsState();
    virtual void UpdateScrollBars();
    virtual bool CanFocusEx() const;
    virtual bool AcceptMousePosForClick(int x, int y) const { return DragMode == dmManual || IsMouseInPressedArea(x, y); }
    virtual void MouseEnter(TControl* control) { vcl::FireEvent(OnMouseEnter, this); }
    virtual void MouseLeave(TControl* control) { vcl::FireEvent(OnMouseLeave, this); }
    virtual bool MayFocus() const { return true; }
    virtual void BoundsChanged();
    virtual void ColorChanged() {}
    virtual void CursorChanged() { defaultCursor_ = Cursor(); }
    virtual void FocusChanged() { vcl::FireEvent(OnFocusChanged, this); }
    virtual void FontChanged();
    virtual void TextChanged() {}
    virtual void VisibleChanged() {}
    virtual bool AllowDragAndDropWithoutFocus() const { return false; }
    virtual void DragAndDrop(const TPoint& p, bool& accepted);
    virtual void EndDragAndDrop(bool accepted);
    virtual bool StartDragAndDrop(const TPoint& p) { return false; }
    virtual bool CanDrag(int x, int y) const { return dragAndDropState_ == ddsNone; }
    virtual void BeginDragAndDrop();
    virtual bool DragAndDropImmediateStart() const
    {
        return const_cast<TcxControl*>(this)->GetDragAndDropObject()->GetImmediateStart();
    }
    virtual void DoCancelMode() {}
    // The platform's drag and drop from the control: its drag object (copy cursor with Ctrl),
    // the veto of StartDrag, and optional drag images painted by DrawDragImage.
    virtual bool StartDrag(TDragObject*& dragObject) { return true; }
    virtual TcxDragObjectClass GetDragObjectClass() const;
    virtual bool GetIsCopyDragDrop() const;
    virtual bool HasDragImages() const { return false; }
    virtual TcxDragImageListClass GetDragImagesClass() const;
    virtual TSize GetDragImagesSize() const { return {0, 0}; }
    virtual void DrawDragImage(TcxCanvas* canvas, const TRect& r) {}
    virtual void InitDragImages(TDragImageList* list);
    TDragImageList* GetDragImages() override;
    void DoStartDrag(TDragObject*& dragObject) override;
    void DoEndDrag(TObject* target, int x, int y) override;
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    // The platform drag of dmAutomatic, begun once DragDetect saw the pointer leave its square.
    virtual void BeginPlatformDrag() { BeginDrag(true, -1); }
    virtual bool GetDesignHitTest(int x, int y, TShiftState shift) const
    {
        return dragAndDropState_ != ddsNone || mouseButtonPressed_;
    }

protected:
    void Dispatch(TMessage& msg) override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWindowHandle() override;
    void Paint() override;
    void Resize() override;
    void DoContextPopup(TPoint mousePos, bool& handled) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    TPopupMenu* GetPopupMenu() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

    void CreateScrollBars();
    void DestroyScrollBars();
    void CheckNeedsScrollBars();
    void InitScrollBars();
    void ScrollEvent(TObject* sender, TScrollCode code, int& pos);

private:
    friend class TcxSettingsController;
    bool GetScrollBarVisible(TcxControlScrollBar* bar) const;
    void HandleContextMenu(TMessage& m);
    void HandleNcSizeChanged();
    void LookAndFeelChangeHandler(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues);
    void ComputeScrollBarsParameters();

    TcxControlBorderStyle borderStyle_ = cxcbsNone;
    bool calculatingScrollBarsParams_ = false;
    std::unique_ptr<TcxCanvas> canvas_;
    std::unique_ptr<TcxCanvas> screenCanvas_;
    bool creatingWindow_ = false;
    TCursor defaultCursor_ = crDefault;
    TcxDragAndDropState dragAndDropState_ = ddsNone;
    TcxDragAndDropObject* dragAndDropObject_ = nullptr;
    TDragImageList* dragImages_ = nullptr;
    TCursor dragAndDropPrevCursor_ = crDefault;
    bool finishingDragAndDrop_ = false;
    std::vector<IcxFontListener*> fontListeners_;
    TcxControlScrollBar* hScrollBar_ = nullptr;
    bool initialHScrollBarVisible_ = false, initialVScrollBarVisible_ = false, initialScrollBarsParams_ = false;
    TcxKeys keys_;
    std::unique_ptr<TcxLookAndFeel> lookAndFeel_;
    bool mouseButtonPressed_ = false;
    TObject* mouseCaptureObject_ = nullptr;
    TPoint mouseDownPos_;
    TComponent* popupMenu_ = nullptr;
    TScrollStyle scrollBars_ = ssBoth;
    int scrollBarsLockCount_ = 0;
    bool scrollBarsUpdateNeeded_ = false;
    TcxSizeGrip* sizeGrip_ = nullptr;
    bool updatingScrollBars_ = false;
    TcxControlScrollBar* vScrollBar_ = nullptr;
    bool scrollingContent_ = false;
    TWinControl* panningAnchor_ = nullptr;
    bool lastParentBackground_ = true;
    bool parentBackground_ = true;
};

// The controls that own scroll bars; on a change of the system's non-client metrics each gets
// CM_NCSIZECHANGED.
class TcxSettingsController : public TcxMessageWindow {
    RTL_CLASS(TcxSettingsController, TcxMessageWindow)
    void Add(TcxControl* control);
    void Remove(TcxControl* control);
    int Count() const { return int(list_.size()); }

protected:
    void WndProc(TMessage& message) override;

private:
    std::vector<TcxControl*> list_;
};
// Created on first use; null after shut-down.
TcxSettingsController* cxSettingsController();
void cxFreeSettingsController();

// Panning: direction and speed for a screen point, with the anchor and its width.
struct TcxPanningState {
    TcxDirection Direction = dirNone;
    int Speed = 0;
    bool MovedOut = false;
};
void cxCalcPanning(const TPoint& p, const TPoint& anchor, int anchorWidth, bool hVisible, bool vVisible,
                   TcxPanningState& state);
// The anchor bitmap's width (the toolkit ships no bitmap resources: a drawn 28-pixel anchor).
constexpr int cxPanningAnchorWidth = 28;

// ---- pop-up windows ----

enum TcxPopupAlignHorz { pahLeft, pahCenter, pahRight };
enum TcxPopupAlignVert { pavTop, pavCenter, pavBottom };
enum TcxPopupDirection { pdHorizontal, pdVertical };

class TcxPopupWindow : public TForm {
    RTL_CLASS(TcxPopupWindow, TForm)
    explicit TcxPopupWindow(TComponent* owner);
    ~TcxPopupWindow() override;

    bool Adjustable = true;
    TcxPopupAlignHorz AlignHorz = pahLeft;
    TcxPopupAlignVert AlignVert = pavBottom;
    int BorderSpace() const { return borderSpace_; }
    void SetBorderSpace(int value);
    TcxPopupBorderStyle PopupBorderStyle() const { return borderStyle_; }
    void SetPopupBorderStyle(TcxPopupBorderStyle value);
    TcxPopupDirection Direction = pdVertical;
    TColor FrameColor = clWindowText;
    TRect OwnerBounds;
    TControl* OwnerParent = nullptr;
    TcxCanvas* PopupCanvas() const { return canvas_.get(); }

    virtual TPoint CalculatePosition();
    virtual void CalculateSize();
    virtual int GetBorderWidth(TcxBorder border) const { return GetFrameWidth(border) + borderSpace_; }
    virtual TRect GetClientBounds() const;
    virtual int GetFrameWidth(TcxBorder border) const;
    virtual TRect GetOwnerScreenBounds() const;
    virtual void InitPopup();
    virtual void DrawFrame();
    virtual void CloseUp() { Hide(); }
    virtual void Popup();
    virtual void VisibleChanged() {}
    int GetNCWidth() const { return GetBorderWidth(bLeft) + GetBorderWidth(bRight); }
    int GetNCHeight() const { return GetBorderWidth(bTop) + GetBorderWidth(bBottom); }
    void RestoreControlsBounds();

protected:
    void Dispatch(TMessage& msg) override;
    void PaintWindow(HDC dc) override;
    void Deactivate() override;

private:
    std::unique_ptr<TCanvas> formCanvas_;
    std::unique_ptr<TcxCanvas> canvas_;
    int borderSpace_ = 0;
    TcxPopupBorderStyle borderStyle_ = pbsNone;
    HWND prevActiveWindow_ = nullptr;
};

} // namespace cx

namespace cx::detail {
// A nested message loop that shows every retrieved message to `look` before it goes on (the
// get-message hook); `look` answers whether the message is dropped and may end the loop. The loop
// also ends when `captureWnd` no longer holds the mouse capture or the application terminates.
struct TcxLoopAction {
    bool Drop = false;
    bool End = false;
};
void RunInspectingLoop(HWND captureWnd, const std::function<TcxLoopAction(const MSG&)>& look);
} // namespace cx::detail
