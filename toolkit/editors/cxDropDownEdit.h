#pragma once
// The drop-down editors: the common base that opens a window below (or beside) the editor and
// hands its choice back when it closes, that window with its sizing grip and close button, the
// combo box (a list of strings) and the popup editor (which borrows any control of the
// application for the time it is open).
#include <memory>
#include <string>

#include "toolkit/controls/cxContainerPopup.h"
#include "toolkit/editors/cxMaskEdit.h"

class TBitmap;

namespace cx {

enum TcxEditCorner { ecoTopLeft, ecoTopRight, ecoBottomLeft, ecoBottomRight };
enum TcxEditMouseSizingDirection { mmdWE, mmdNS, mmdNWSE, mmdNESW, mmdNone };
enum TcxEditDropDownListStyle { lsEditFixedList, lsEditList, lsFixedList };

constexpr UINT CM_POPUPCONTROLKEY = 0x8096, CM_DROPDOWNBYPASTE = 0x8097;

class TcxCustomDropDownEdit;
class TcxCustomEditPopupWindow;
class TcxCustomEditPopupWindowViewInfo;
using TcxCustomEditPopupWindowClass = TClassRef<TcxCustomEditPopupWindow, TWinControl*>;
using TcxCloseQueryEvent = Event<void(TObject* sender, bool& canClose)>;
using TcxCustomDrawBorderEvent =
    Event<void(TcxCustomEditPopupWindowViewInfo* viewInfo, TcxCanvas* canvas, int& borderWidth, bool& handled,
               const TRect& r)>;

// ---- properties ----------------------------------------------------------------------------------

class TcxCustomDropDownEditProperties : public TcxCustomMaskEditProperties {
    RTL_CLASS(TcxCustomDropDownEditProperties, TcxCustomMaskEditProperties)
    explicit TcxCustomDropDownEditProperties(TPersistent* owner);
    ~TcxCustomDropDownEditProperties() override;
    void Assign(TPersistent* source) override;
    void Changed() override;

    // The glyph of the button that carries it (the drop-down button unless moved); created on
    // first read. A non-empty glyph makes that button bkGlyph, an empty one bkDown again.
    TBitmap* ButtonGlyph();
    void SetButtonGlyph(TBitmap* value);
    bool HasButtonGlyph() const;
    int GlyphButtonIndex() const { return glyphButtonIndex_; }
    void SetGlyphButtonIndex(int value);
    bool ImmediateDropDown() const { return immediateDropDown_; }
    void SetImmediateDropDown(bool value) { SetFlag(immediateDropDown_, value); }
    bool ImmediatePopup() const { return immediatePopup_; }
    void SetImmediatePopup(bool value) { SetFlag(immediatePopup_, value); }
    bool KeepArrowButtonPressedWhenDroppedDown() const { return keepArrowPressed_; }
    void SetKeepArrowButtonPressedWhenDroppedDown(bool value) { SetFlag(keepArrowPressed_, value); }
    TAlignment PopupAlignment() const { return popupAlignment_; }
    void SetPopupAlignment(TAlignment value);
    bool PopupAutoSize() const { return popupAutoSize_; }
    void SetPopupAutoSize(bool value) { SetFlag(popupAutoSize_, value); }
    bool PopupClientEdge() const { return popupClientEdge_; }
    void SetPopupClientEdge(bool value) { SetFlag(popupClientEdge_, value); }
    TcxPopupDirection PopupDirection() const { return popupDirection_; }
    void SetPopupDirection(TcxPopupDirection value) { popupDirection_ = value; }
    TcxPopupAlignHorz PopupHorzAlignment() const { return popupHorzAlignment_; }
    void SetPopupHorzAlignment(TcxPopupAlignHorz value) { popupHorzAlignment_ = value; }
    TcxPopupAlignVert PopupVertAlignment() const { return popupVertAlignment_; }
    void SetPopupVertAlignment(TcxPopupAlignVert value) { popupVertAlignment_ = value; }
    int PopupHeight() const { return popupHeight_; }
    void SetPopupHeight(int value);
    int PopupWidth() const { return popupWidth_; }
    void SetPopupWidth(int value);
    int PopupMinHeight() const { return popupMinHeight_; }
    void SetPopupMinHeight(int value);
    int PopupMinWidth() const { return popupMinWidth_; }
    void SetPopupMinWidth(int value);
    bool PopupSizeable() const { return popupSizeable_; }
    void SetPopupSizeable(bool value) { SetFlag(popupSizeable_, value); }
    bool PopupSysPanelStyle() const { return popupSysPanelStyle_; }
    void SetPopupSysPanelStyle(bool value) { SetFlag(popupSysPanelStyle_, value); }
    bool PostPopupValueOnTab() const { return postPopupValueOnTab_; }
    void SetPostPopupValueOnTab(bool value) { SetFlag(postPopupValueOnTab_, value); }

    TcxCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnCloseUp, OnInitPopup, OnPopup, OnPopupFinalized;

    // --- introduced
    virtual int DropDownButtonVisibleIndex() const { return 0; }
    virtual bool DropDownOnClick() const { return false; }
    virtual bool GetAlwaysPostEditValue() const { return false; }
    virtual TcxCustomEditPopupWindowClass GetPopupWindowClass() const;
    virtual bool PopupWindowAcceptsAnySize() const { return true; }
    virtual bool PopupWindowCapturesFocus() const { return false; }

    bool IsLookupDataVisual() const override { return true; }
    const TClassMeta* GetContainerClass() const override;
    TcxCustomEditViewDataClass GetViewDataClass() const override;

protected:
    void SetFlag(bool& field, bool value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    bool immediatePopup_ = false;
    bool popupAutoSize_ = true;
    int popupHeight_ = 0, popupWidth_ = 0, popupMinHeight_ = 0, popupMinWidth_ = 0;
    bool popupSizeable_ = false;

private:
    void CheckGlyphButtonKind();
    std::unique_ptr<TBitmap> glyph_;
    int glyphButtonIndex_ = 0;
    bool immediateDropDown_ = true;
    bool keepArrowPressed_ = false;
    TAlignment popupAlignment_ = taLeftJustify;
    bool popupClientEdge_ = false;
    TcxPopupDirection popupDirection_ = pdVertical;
    TcxPopupAlignHorz popupHorzAlignment_ = pahLeft;
    TcxPopupAlignVert popupVertAlignment_ = pavBottom;
    bool popupSysPanelStyle_ = false;
    bool postPopupValueOnTab_ = false;
    bool changing_ = false;
};

// ---- view data and edit data ---------------------------------------------------------------------

class TcxCustomDropDownEditViewData : public TcxCustomTextEditViewData {
    RTL_CLASS(TcxCustomDropDownEditViewData, TcxCustomTextEditViewData)
    using TcxCustomTextEditViewData::TcxCustomTextEditViewData;
    void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                   TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent) override;
    bool CanPressButton(TcxCustomEditViewInfo* viewInfo, int buttonVisibleIndex) override;
    bool IsButtonPressed(TcxCustomEditViewInfo* viewInfo, int buttonVisibleIndex) override;
    bool HasPopupWindow = false;
    bool IsHotAndPopup = false;

private:
    bool keepArrowPressed_ = false;
};

// What an in-place host keeps for the editor between activations: the size the user gave the popup.
class TcxCustomDropDownEditData : public TcxCustomEditData {
    RTL_CLASS(TcxCustomDropDownEditData, TcxCustomEditData)
    using TcxCustomEditData::TcxCustomEditData;
    bool PopupSizeStored = false;
    int PopupWidth = 0;
    int PopupHeight = 0;
};

// The look and feel of the controls inside the popup: the editor's kind by its buttons' style.
class TcxEditPopupControlLookAndFeel : public TcxLookAndFeel {
    RTL_CLASS(TcxEditPopupControlLookAndFeel, TcxLookAndFeel)
    explicit TcxEditPopupControlLookAndFeel(TcxCustomDropDownEdit* edit);
    // Tells the followers when the editor's style moved the kind or the native flag.
    void EditStyleChanged();

protected:
    TcxLookAndFeelKind InternalGetKind() const override;
    bool InternalGetNativeStyle() const override;

private:
    TcxCustomDropDownEdit* edit_;
    TcxLookAndFeelKind kind_ = lfStandard;
    bool nativeStyle_ = false;
};

// ---- the popup window ----------------------------------------------------------------------------

class TcxCustomEditPopupWindowViewInfo : public TcxContainerViewInfo {
    RTL_CLASS(TcxCustomEditPopupWindowViewInfo, TcxContainerViewInfo)
    TcxCustomEditPopupWindowViewInfo() = default;
    virtual void Calculate();
    // Draws the frame and moves `r` inside it.
    virtual void DrawPopupBorder(TcxCanvas* canvas, TRect& r);
    virtual TRect GetBorderExtent() const;
    virtual TRect GetClientExtent() const;
    virtual int GetSysPanelHeight() const;
    // Whether the point (window coordinates) sizes the window; sets the sizing directions.
    virtual bool IsSizingPlace(int x, int y, int& horz, int& vert) const;
    void InternalPaint(TcxCanvas* canvas) override;
    int GetPopupBorderWidth() const;
    int GetClientEdgeWidth() const;

    TcxEditPopupBorderStyle PopupBorderStyle = epbsDefault;
    bool ClientEdge = false;
    bool CloseButton = false;
    TRect CloseButtonRect;
    int CloseButtonState = 1;   // 1 normal, 2 hot, 3 pressed
    int MinSysPanelHeight = 0;
    bool Sizeable = false;
    TcxEditCorner SizeGripCorner = ecoBottomRight;
    TRect SizeGripRect;
    TRect SizeGripSizingRect;
    TRect InnerRect;
    int SizingBorderWidth = 0;
    int SysPanelHeight = 0;
    bool SysPanelStyle = false;
    TcxCustomDrawBorderEvent OnCustomDrawBorder;

private:
    int PanelBaseHeight() const;
};

class TcxCustomEditPopupWindow : public TcxCustomPopupWindow {
    RTL_CLASS(TcxCustomEditPopupWindow, TcxCustomPopupWindow)
    explicit TcxCustomEditPopupWindow(TWinControl* ownerControl);
    ~TcxCustomEditPopupWindow() override;

    TcxCustomDropDownEdit* Edit() const;
    TcxCustomEditPopupWindowViewInfo* EditViewInfo();
    TcxEditPopupBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TcxEditPopupBorderStyle value);
    bool ClientEdge() const { return clientEdge_; }
    void SetClientEdge(bool value);
    bool CloseButton() const { return closeButton_; }
    void SetCloseButton(bool value);
    int MinHeight() const { return minHeight_; }
    void SetMinHeight(int value) { minHeight_ = value; }
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int value) { minWidth_ = value; }
    bool NativeStyle() const { return nativeStyle_; }
    void SetNativeStyle(bool value);
    int PopupHeight() const { return popupHeight_; }
    void SetPopupHeight(int value) { popupHeight_ = value; }
    int PopupWidth() const { return popupWidth_; }
    void SetPopupWidth(int value) { popupWidth_ = value; }
    bool PopupAutoSize() const { return popupAutoSize_; }
    void SetPopupAutoSize(bool value) { popupAutoSize_ = value; }
    bool Shadow() const { return shadow_; }
    void SetShadow(bool value);
    bool Sizeable() const { return sizeable_; }
    void SetSizeable(bool value);
    bool SysPanelStyle() const { return sysPanelStyle_; }
    void SetSysPanelStyle(bool value);
    int MinSysPanelHeight() const { return minSysPanelHeight_; }
    void SetMinSysPanelHeight(int value);
    // Resizing follows the pointer at once instead of moving a size frame.
    bool LiveSizing = false;
    bool Calculating = false;
    bool CloseQuery() override;

    void CalculateViewInfo();
    TSize GetMinSize();
    // The client rectangle of the view info (window coordinates).
    TRect ViewClientRect();
    void CalculateSize() override;
    TPoint CalculatePosition() override;
    bool AcceptsAnySize() const override;
    void ModalCloseUp() override;
    void Popup(TWinControl* focusedControl) override;
    using TcxCustomPopupWindow::Popup;
    bool NeedIgnoreMouseMessageAfterCloseUp(HWND wnd, UINT msg, TShiftState shift, const TPoint& pos) override;
    // Adjusts a size the user asks for; false refuses it.
    virtual bool CanResizeTo(int& width, int& height);
    // The size frame (or the window itself) follows a sizing drag; public for tests and hosts.
    void ResizePopupWindow(const TRect& screenBounds);
    TcxContainerViewInfoClass GetViewInfoClass() const override
    {
        return TcxContainerViewInfoClass::Of<TcxCustomEditPopupWindowViewInfo>();
    }
    bool IsSizingNow() const;

protected:
    void Dispatch(TMessage& msg) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    void Resize() override;
    void DoClosed() override;
    virtual void DoPopupControlKey(char16_t key);

private:
    void SetCloseButtonState(int state);
    TRect SizedBounds(const TPoint& screenPos) const;
    TcxEditPopupBorderStyle borderStyle_ = epbsDefault;
    bool clientEdge_ = false;
    bool closeButton_ = false;
    int minHeight_ = 0, minWidth_ = 0;
    bool nativeStyle_ = false;
    int popupHeight_ = 0, popupWidth_ = 0;
    bool popupAutoSize_ = true;
    bool shadow_ = false;
    bool sizeable_ = false;
    bool sysPanelStyle_ = false;
    int minSysPanelHeight_ = 0;
    bool closeButtonPressed_ = false;
    std::unique_ptr<class TcxSizeFrame> sizeFrame_;
};

// ---- the drop-down editor ------------------------------------------------------------------------

// The field of a drop-down editor. Its presses and double clicks reach the editor through the
// text field's own mouse forwarding (the editor's MouseDown and DblClick), nowhere else.
class TcxCustomDropDownInnerEdit : public TcxCustomInnerTextEdit {
    RTL_CLASS(TcxCustomDropDownInnerEdit, TcxCustomInnerTextEdit)
    using TcxCustomInnerTextEdit::TcxCustomInnerTextEdit;
};

class TcxCustomDropDownEdit : public TcxCustomMaskEdit {
    RTL_CLASS(TcxCustomDropDownEdit, TcxCustomMaskEdit)
    ~TcxCustomDropDownEdit() override;
    void BeforeDestruction() override;

    TcxCustomDropDownEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomDropDownEditProperties*>(TcxCustomMaskEdit::ActiveProperties());
    }
    TcxCustomDropDownEditProperties* Properties() const
    {
        return static_cast<TcxCustomDropDownEditProperties*>(TcxCustomMaskEdit::Properties());
    }
    // Made on first use and kept as long as the editor.
    TcxCustomEditPopupWindow* PopupWindow();
    bool HasPopupWindowObject() const { return popupWindow_ != nullptr; }
    TcxEditPopupControlLookAndFeel* PopupControlsLookAndFeel();

    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    virtual void CloseUp(TcxEditCloseUpReason reason);
    TcxEditCloseUpReason CloseUpReason() const { return closeUpReason_; }
    void SetCloseUpReason(TcxEditCloseUpReason value) { closeUpReason_ = value; }
    bool PopupInitialized() const { return popupInitialized_; }
    bool PopupSizeChanged() const { return popupSizeChanged_; }
    void SetPopupSizeChanged(bool value) { popupSizeChanged_ = value; }
    bool PopupResizedNow() const { return popupResizedNow_; }
    // The user sized the popup (during this activation and this showing).
    void MarkPopupResized() { popupSizeChanged_ = popupResizedNow_ = true; }
    bool IsHotAndPopup() const { return isHotAndPopup_; }
    // Why the popup closed, told after it closed.
    TcxEditClosePopupEvent OnClosePopup;
    bool HasPopupWindow() const override;
    TcxCustomDropDownEditData* DropDownEditData() const;

    // --- the window's events
    virtual void PopupWindowShowed(TObject* sender);
    virtual void PopupWindowClosed(TObject* sender);
    virtual void PopupWindowCloseQuery(TObject* sender, bool& canClose);
    // A queued show found the editor gone from the screen: the popup is finalized instead.
    void PopupShowCancelled() { DoFinalizePopup(); }
    // The owner rectangle the popup hangs from (the editor's parent's client coordinates).
    virtual TRect GetPopupWindowOwnerControlBounds();
    // The popup's largest list area: room below or above (right or left) less the extents.
    TSize GetMaxVisualAreaSize();
    virtual TSize GetPopupWindowClientPreferredSize() = 0;
    virtual void PositionPopupWindowChilds(const TRect& clientRect);

    // --- in-place activation
    void Activate(TcxCustomEditData*& editData) override;
    void ActivateByKey(char16_t key, TcxCustomEditData*& editData) override;
    void ActivateByMouse(TShiftState shift, int x, int y, TcxCustomEditData*& editData) override;
    bool Deactivate() override;
    bool SendActivationKey(char16_t key) override;
    void InitializeEditData() override;
    bool TabsNeeded() const override;
    bool IsEditorKey(std::uint16_t key, TShiftState shift) override;
    bool GetScrollLookupDataList(TcxEditScrollCause cause) override;
    void PropertiesChanged(TObject* sender) override;
    void PasteFromClipboard() override;
    // The keys the popup window passes on (Esc, Enter, F4, Alt+arrows, Tab).
    bool HandlePopupKey(std::uint16_t key, TShiftState shift);
    // True for a key the popup control acts on before it closes the popup itself (a calculator
    // evaluates on Enter, a calendar commits its date): the popup window's closing rule leaves
    // such a key to the control.
    virtual bool PopupControlClosesOnKey(std::uint16_t, TShiftState) { return false; }

    // The classes of a drop-down kind with the given properties class (its field and edit data).
    static TcxEditClasses DropDownClassesWith(TcxCustomEditPropertiesClass properties);

protected:
    TcxCustomDropDownEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    // The popup window is the editor's own component: one freed by someone else is forgotten.
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanDropDown() { return false; }
    virtual void CreatePopupWindow();
    virtual void DoCloseUp();
    virtual void DoFinalizePopup();
    virtual void DoInitPopup();
    virtual void DoPopup();
    virtual void DropDown();
    virtual void EditButtonClick() {}
    virtual TWinControl* GetPopupFocusedControl() { return nullptr; }
    virtual void InitializeLookupData();
    virtual void InitializePopupWindow();
    virtual void PopupControlsLookAndFeelChanged(TObject*) {}
    virtual void SetupPopupWindow();
    virtual bool CanHide() { return true; }
    virtual void DoCloseQuery(bool& canClose);

    void Dispatch(TMessage& msg) override;
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;
    void DoEditKeyPress(char16_t& key) override;
    void DoEditProcessTab(TShiftState shift) override;
    void DoButtonDown(int buttonVisibleIndex) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    bool DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent) override;
    void FocusChanged() override;
    void DoExit() override;
    void DestroyWnd() override;
    void InitializeViewData(TcxCustomEditViewData* viewData) override;
    bool IsShowPopupQueued() const;
    bool ActivatingByMouse() const { return activatingByMouse_; }

private:
    void Construct();
    void RefreshPopupWindow();
    void HandleDropDownByPaste();
    void FireOwnAndRepository(TNotifyEvent TcxCustomDropDownEditProperties::*event);
    // The window may be torn down by others (its owner form): read it only while it is whole.
    bool PopupWhole() const
    {
        const auto a = popupAlive_.lock();
        return popupWindow_ && a && *a;
    }
    TcxCustomEditPopupWindow* popupWindow_ = nullptr;
    std::weak_ptr<bool> popupAlive_;
    std::unique_ptr<TcxEditPopupControlLookAndFeel> popupLookAndFeel_;
    TcxEditCloseUpReason closeUpReason_ = crUnknown;
    bool closeUpReasonSet_ = false;
    bool popupInitialized_ = false;
    bool isHotAndPopup_ = false;
    bool activatingByMouse_ = false;
    bool popupSizeChanged_ = false;
    bool popupResizedNow_ = false;
    bool closingUp_ = false;
};

class TcxFilterDropDownEditHelper : public TcxFilterMaskEditHelper {
    RTL_CLASS(TcxFilterDropDownEditHelper, TcxFilterMaskEditHelper)
    bool EditPropertiesHasButtons() const override { return true; }
};

// ---- combo box -----------------------------------------------------------------------------------

class TcxCustomComboBox;
using TcxEditDrawItemEvent =
    Event<void(TcxCustomComboBox* control, TcxCanvas* canvas, int index, const TRect& r, TOwnerDrawState state)>;
using TcxEditMeasureItemEvent = Event<void(TcxCustomComboBox* control, int index, TcxCanvas* canvas, int& height)>;

class TcxCustomComboBoxProperties : public TcxCustomDropDownEditProperties {
    RTL_CLASS(TcxCustomComboBoxProperties, TcxCustomDropDownEditProperties)
    explicit TcxCustomComboBoxProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;

    bool DropDownAutoWidth() const { return PopupAutoSize(); }
    void SetDropDownAutoWidth(bool value) { SetPopupAutoSize(value); }
    TcxEditDropDownListStyle DropDownListStyle() const { return listStyle_; }
    void SetDropDownListStyle(TcxEditDropDownListStyle value);
    int DropDownRows() const { return dropDownRows_; }
    void SetDropDownRows(int value);
    bool DropDownSizeable() const { return PopupSizeable(); }
    void SetDropDownSizeable(bool value) { SetPopupSizeable(value); }
    int DropDownWidth() const { return PopupWidth(); }
    void SetDropDownWidth(int value) { SetPopupWidth(value); }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    const std::vector<std::string>& Items() const { return LookupItems(); }
    void SetItems(const std::vector<std::string>& items) { SetLookupItems(items); }
    bool Revertable() const { return revertable_; }
    void SetRevertable(bool value) { revertable_ = value; }
    bool Sorted() const { return LookupItemsSorted(); }
    void SetSorted(bool value) { SetLookupItemsSorted(value); }
    TcxEditDrawItemEvent OnDrawItem;
    TcxEditMeasureItemEvent OnMeasureItem;

    bool DropDownOnClick() const override { return listStyle_ == lsFixedList; }
    int GetDropDownPageRowCount() override { return dropDownRows_; }
    TcxEditEditingStyle GetEditingStyle() const override;
    TcxCustomTextEditLookupDataClass GetLookupDataClass() const override;
    TcxCustomEditPopupWindowClass GetPopupWindowClass() const override;
    const TClassMeta* GetContainerClass() const override;

private:
    TcxEditDropDownListStyle listStyle_ = lsEditList;
    int dropDownRows_ = 8;
    int itemHeight_ = 0;
    bool revertable_ = false;
};

class TcxComboBoxProperties : public TcxCustomComboBoxProperties {
    RTL_CLASS(TcxComboBoxProperties, TcxCustomComboBoxProperties)
    using TcxCustomComboBoxProperties::TcxCustomComboBoxProperties;
};

class TcxComboBoxPopupWindow : public TcxCustomEditPopupWindow {
    RTL_CLASS(TcxComboBoxPopupWindow, TcxCustomEditPopupWindow)
    using TcxCustomEditPopupWindow::TcxCustomEditPopupWindow;
    void CalculateSize() override;
};

class TcxCustomComboBoxListBox : public TcxCustomEditListBox {
    RTL_CLASS(TcxCustomComboBoxListBox, TcxCustomEditListBox)
    explicit TcxCustomComboBoxListBox(TComponent* owner);
    TcxCustomComboBox* ComboBox() const;
    int GetHeight(int rowCount, int maxHeight) override;
    int GetItemHeight(int index = -1) override;
    bool DoDrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void RecreateWindow() override;

protected:
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
};

class TcxComboBoxListBox : public TcxCustomComboBoxListBox {
    RTL_CLASS(TcxComboBoxListBox, TcxCustomComboBoxListBox)
    using TcxCustomComboBoxListBox::TcxCustomComboBoxListBox;
};

class TcxComboBoxLookupData : public TcxCustomTextEditLookupData {
    RTL_CLASS(TcxComboBoxLookupData, TcxCustomTextEditLookupData)
    using TcxCustomTextEditLookupData::TcxCustomTextEditLookupData;
    TcxCustomEditListBoxClass GetListBoxClass() const override
    {
        return TcxCustomEditListBoxClass::Of<TcxComboBoxListBox>();
    }
    bool CanResizeVisualArea(TSize& size, int maxHeight, int maxWidth) override;
    TSize GetVisualAreaPreferredSize(int maxHeight, int width) override;
    void Initialize(TWinControl* parent) override;
};

class TcxCustomComboBox : public TcxCustomDropDownEdit {
    RTL_CLASS(TcxCustomComboBox, TcxCustomDropDownEdit)
    explicit TcxCustomComboBox(TComponent* owner, bool isInplace = false);
    TcxCustomComboBoxProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomComboBoxProperties*>(TcxCustomDropDownEdit::ActiveProperties());
    }
    TcxCustomComboBoxProperties* Properties() const
    {
        return static_cast<TcxCustomComboBoxProperties*>(TcxCustomDropDownEdit::Properties());
    }
    int SelectedItem() const;
    void SetSelectedItem(int value);
    void ResetPopupHeight();
    bool IsOnDrawItemEventAssigned() const;
    bool IsOnMeasureItemEventAssigned() const;
    void DoOnDrawItem(TcxCanvas* canvas, int index, const TRect& r, TOwnerDrawState state);
    void DoOnMeasureItem(int index, TcxCanvas* canvas, int& height);
    TSize GetPopupWindowClientPreferredSize() override;
    void PositionPopupWindowChilds(const TRect& clientRect) override;
    void Activate(TcxCustomEditData*& editData) override;
    void ChangeHandler(TObject* sender) override;
    void PopupWindowShowed(TObject* sender) override;
    // Set when the list opened under the pointer: its first mouse move only clears it.
    bool IgnoreListMouseMove = false;
    // While a double click steps to the next item (the choice is not the user's pick).
    bool IsDblClickStepping() const { return dblClickStepping_; }

protected:
    TcxCustomComboBox(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    bool CanDropDown() override;
    void SetupPopupWindow() override;
    void InitializePopupWindow() override;
    void DblClick() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    virtual bool CanSynchronizeLookupData();

private:
    bool dblClickStepping_ = false;
};

class TcxComboBox : public TcxCustomComboBox {
    RTL_CLASS(TcxComboBox, TcxCustomComboBox)
    explicit TcxComboBox(TComponent* owner, bool isInplace = false);
    TcxComboBoxProperties* Properties() const
    {
        return static_cast<TcxComboBoxProperties*>(TcxCustomComboBox::Properties());
    }
};

class TcxFilterComboBoxHelper : public TcxFilterDropDownEditHelper {
    RTL_CLASS(TcxFilterComboBoxHelper, TcxFilterDropDownEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;

protected:
    // For kinds whose values are offered as a fixed list: the combo's properties start afresh
    // (a reused filter editor keeps nothing of an earlier host, such as sorting, that would
    // move the items away from their indexes), take these items in order and the fixed-list
    // style, lose the default-values provider and their events.
    void InitializeFixedList(TcxCustomEditProperties* properties, const std::vector<std::string>& items) const;
    // The filter combo's item index, -1 for none (or for an editor that is no combo box).
    static int GetFixedListIndex(TcxCustomEdit* edit);
    static void SetFixedListIndex(TcxCustomEdit* edit, int index);
};

// ---- popup edit ----------------------------------------------------------------------------------

class TcxPopupEditPopupWindowViewInfo : public TcxCustomEditPopupWindowViewInfo {
    RTL_CLASS(TcxPopupEditPopupWindowViewInfo, TcxCustomEditPopupWindowViewInfo)
    using TcxCustomEditPopupWindowViewInfo::TcxCustomEditPopupWindowViewInfo;
    void DrawPopupBorder(TcxCanvas* canvas, TRect& r) override;
};

class TcxPopupEditPopupWindow : public TcxCustomEditPopupWindow {
    RTL_CLASS(TcxPopupEditPopupWindow, TcxCustomEditPopupWindow)
    using TcxCustomEditPopupWindow::TcxCustomEditPopupWindow;
    TcxContainerViewInfoClass GetViewInfoClass() const override
    {
        return TcxContainerViewInfoClass::Of<TcxPopupEditPopupWindowViewInfo>();
    }
};

class TcxCustomPopupEditProperties : public TcxCustomDropDownEditProperties {
    RTL_CLASS(TcxCustomPopupEditProperties, TcxCustomDropDownEditProperties)
    explicit TcxCustomPopupEditProperties(TPersistent* owner);
    ~TcxCustomPopupEditProperties() override;
    void Assign(TPersistent* source) override;
    // Not owned; forgotten when it is destroyed.
    TControl* PopupControl() const { return popupControl_; }
    void SetPopupControl(TControl* value);
    // The same without a change notice: an editor binding (or unbinding) its own popup control.
    void SetPopupControlSilently(TControl* value)
    {
        LockUpdate(true);
        SetPopupControl(value);
        LockUpdate(false);
    }
    const TClassMeta* GetContainerClass() const override;
    TcxCustomEditPopupWindowClass GetPopupWindowClass() const override;
    bool IsLookupDataVisual() const override { return false; }
    bool PopupWindowCapturesFocus() const override { return true; }

private:
    void ControlFreed(TComponent* component);
    TControl* popupControl_ = nullptr;
    TcxFreeNotificator* notificator_ = nullptr;
};

class TcxPopupEditProperties : public TcxCustomPopupEditProperties {
    RTL_CLASS(TcxPopupEditProperties, TcxCustomPopupEditProperties)
    explicit TcxPopupEditProperties(TPersistent* owner);
};

class TcxCustomPopupEdit : public TcxCustomDropDownEdit {
    RTL_CLASS(TcxCustomPopupEdit, TcxCustomDropDownEdit)
    explicit TcxCustomPopupEdit(TComponent* owner, bool isInplace = false);
    ~TcxCustomPopupEdit() override;
    TcxCustomPopupEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomPopupEditProperties*>(TcxCustomDropDownEdit::ActiveProperties());
    }
    TcxCustomPopupEditProperties* Properties() const
    {
        return static_cast<TcxCustomPopupEditProperties*>(TcxCustomDropDownEdit::Properties());
    }
    // Closes the popup with a reason (controls inside the popup call it).
    void HidePopup(TObject* sender, TcxEditCloseUpReason reason);
    TSize GetPopupWindowClientPreferredSize() override;
    void PositionPopupWindowChilds(const TRect& clientRect) override;
    void PopupWindowClosed(TObject* sender) override;

protected:
    TcxCustomPopupEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    bool CanDropDown() override;
    void DoInitPopup() override;
    TWinControl* GetPopupFocusedControl() override;
    void SetupPopupWindow() override;
    void SavePopupControlData();
    void RestorePopupControlData();

private:
    struct Saved {
        bool Valid = false;
        TControl* Control = nullptr;
        TAlign Align = alNone;
        TRect Bounds;
        TWinControl* Parent = nullptr;
        std::weak_ptr<bool> ParentAlive;
        bool Visible = false;
        bool IsForm = false;
        TFormBorderStyle BorderStyle = bsSizeable;
    } saved_;
};

class TcxPopupEdit : public TcxCustomPopupEdit {
    RTL_CLASS(TcxPopupEdit, TcxCustomPopupEdit)
    explicit TcxPopupEdit(TComponent* owner, bool isInplace = false);
    TcxPopupEditProperties* Properties() const
    {
        return static_cast<TcxPopupEditProperties*>(TcxCustomPopupEdit::Properties());
    }
};

namespace cxDropDownEditUnit {
void Initialize();   // once: "ComboBox|...", "PopupEdit|..." and the combo box's filter helper
void Finalize();
} // namespace cxDropDownEditUnit

} // namespace cx
