#pragma once
// The editor control: TcxCustomEdit (the base of every editor kind) with its data binding, the
// edit data a host keeps between activations, the change-events catcher, the inner-edit seam and
// the in-place editor list through which hosts get one editor per properties object.
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant.h"
#include "toolkit/controls/cxContainer.h"
#include "toolkit/controls/cxControls.h"
#include "toolkit/controls/cxControlsTimers.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditViewInfo.h"

namespace cx {

class TcxCustomEdit;

RTL_EXCEPTION(EcxEditError, EdxException);
// An anchor coordinate that was never calculated.
constexpr int cxEditAnchorNotSet = 2147483647;
RTL_EXCEPTION(EcxEditValidationError, EcxEditError);

// ---- data binding -----------------------------------------------------------------------------

using TcxCustomEditDefaultValuesProviderClass = TClassRef<TcxCustomEditDefaultValuesProvider, TPersistent*>;

// Stands between an editor and the place its value comes from and goes to. This base keeps the
// value in the editor itself; data-aware editors name another class through GetDataBindingClass.
class TcxEditDataBinding : public TPersistent {
    RTL_CLASS(TcxEditDataBinding, TPersistent)
    explicit TcxEditDataBinding(TcxCustomEdit* edit);
    ~TcxEditDataBinding() override;
    TPersistent* GetOwner() override;

    virtual void DefaultValuesChanged();
    virtual Variant GetDisplayValue();
    virtual bool GetEditing();
    virtual bool GetModified();
    virtual Variant GetStoredValue();
    virtual bool IsInnerControlHaveToBeReadOnly();
    virtual bool IsNull() { return false; }
    virtual void Reset();
    virtual void SetDisplayValue(const Variant& value);
    virtual bool SetEditMode();
    virtual void SetStoredValue(const Variant&) {}
    virtual bool CanCheckEditorValue();
    virtual bool CanModify() { return GetIsDataAvailable(); }
    virtual bool CanPostEditorValue() { return GetModified(); }
    virtual bool ExecuteAction(TObject*) { return false; }
    // The class of the provider made on first use (a C++ constructor cannot ask a descendant).
    virtual TcxCustomEditDefaultValuesProviderClass GetDefaultValuesProviderClass() const;
    virtual void SetModified();
    virtual bool UpdateAction(TObject*) { return false; }
    virtual void UpdateDisplayValue();
    virtual void UpdateNotConnectedDBEditDisplayValue() {}

    TcxCustomEditDefaultValuesProvider* DefaultValuesProvider();
    IcxEditDefaultValuesProvider* GetIDefaultValuesProvider() { return DefaultValuesProvider(); }
    bool GetIsDataAvailable() { return DefaultValuesProvider()->IsDataAvailable(); }
    TcxEditDataBinding* GetEditDataBindingInstance() { return this; }
    TcxCustomEdit* Edit() const { return edit_; }

protected:
    void SetInternalDisplayValue(const Variant& value);

private:
    TcxCustomEdit* edit_;
    TcxCustomEditDefaultValuesProvider* provider_ = nullptr;
};
using TcxEditDataBindingClass = TClassRef<TcxEditDataBinding, TcxCustomEdit*>;

// What a host keeps for an in-place editor between activations. It forgets its editor when the
// editor is freed.
class TcxCustomEditData : public TObject {
    RTL_CLASS(TcxCustomEditData, TObject)
    explicit TcxCustomEditData(TcxCustomEdit* edit);
    ~TcxCustomEditData() override;
    void Clear();
    bool Cleared = false;
    TcxCustomEdit* Edit() const { return edit_; }

private:
    void FreeNotification(TComponent* component);
    TcxCustomEdit* edit_;
    TcxFreeNotificator* freeNotificator_ = nullptr;
};
using TcxCustomEditDataClass = TClassRef<TcxCustomEditData, TcxCustomEdit*>;

// Holds back an editor's OnChange and OnEditValueChanged while locked and replays each once when
// the outermost lock is released with the invoke flag.
class TcxEditChangeEventsCatcher : public TObject {
    RTL_CLASS(TcxEditChangeEventsCatcher, TObject)
    explicit TcxEditChangeEventsCatcher(TcxCustomEdit* edit) : edit_(edit) {}
    bool IsLocked() const { return lockCount_ > 0; }
    void Lock(bool lock, bool invoke = true);
    bool OnChangeEvent = false;
    bool OnEditValueChangedEvent = false;

private:
    TcxCustomEdit* edit_;
    int lockCount_ = 0;
};

// ---- the inner edit ---------------------------------------------------------------------------

// The windowed control inside an editor that does the typing (the text editor's edit box).
class IcxCustomInnerEdit : public IcxContainerInnerControl {
public:
    virtual void CallDefWndProc(TMessage& message) = 0;
    virtual Variant GetEditValue() = 0;
    virtual void SetEditValue(const Variant& value) = 0;
    virtual TNotifyEvent GetOnChange() = 0;
    virtual void SetOnChange(TNotifyEvent value) = 0;
    virtual bool GetReadOnly() = 0;
    virtual void SetReadOnly(bool value) = 0;
    virtual void LockBounds(bool lock) = 0;
    virtual void SafelySetFocus() = 0;
    virtual void SetParent(TWinControl* value) = 0;
};

// Answers the inner edit of a control that does not implement the interface itself.
class IcxInnerEditHelper {
public:
    virtual ~IcxInnerEditHelper() = default;
    virtual IcxCustomInnerEdit* GetHelper() = 0;
};

// ---- the editor control -----------------------------------------------------------------------

struct TcxEditModifiedState {
    bool Modified = false;
    bool ModifiedAfterEnter = false;
};

using TcxEditEditingEvent = Event<void(TObject* sender, bool& canEdit)>;

// The cell an in-place editor edits; the host writes it.
struct TcxInplaceEditPosition {
    TObject* Item = nullptr;
    int RecordIndex = -1;
};

using TcxInnerEditClass = TClassRef<TWinControl, TComponent*>;
using TcxCustomEditClass = TClassRef<TcxCustomEdit, TComponent*, bool>;

// The classes an editor kind is made of. C++ constructors do not dispatch virtually, so a kind
// hands them to the base constructor; the Get...Class operations answer them afterwards.
struct TcxEditClasses {
    TcxCustomEditPropertiesClass Properties = TcxCustomEditPropertiesClass::Of<TcxCustomEditProperties>();
    TcxEditDataBindingClass DataBinding = TcxEditDataBindingClass::Of<TcxEditDataBinding>();
    TcxInnerEditClass InnerEdit;          // none: the editor paints everything itself
    TcxCustomEditDataClass EditData;      // none: the kind keeps no edit data
};

class TcxCustomEdit : public TcxContainer,
                      public IdxSpellCheckerControl,
                      public IcxEditRepositoryItemListener,
                      public IcxEditValidationTarget,
                      public IcxEditViewHost {
    RTL_CLASS(TcxCustomEdit, TcxContainer)
    explicit TcxCustomEdit(TComponent* owner, bool isInplace = false);
    ~TcxCustomEdit() override;
    void BeforeDestruction() override;

    // --- kind
    virtual TcxCustomEditPropertiesClass GetPropertiesClass() const { return classes_.Properties; }
    virtual TcxEditDataBindingClass GetDataBindingClass() const { return classes_.DataBinding; }
    virtual TcxInnerEditClass GetInnerEditClass() const { return classes_.InnerEdit; }
    virtual TcxCustomEditDataClass GetEditDataClass() const { return classes_.EditData; }
    bool IsInplace() const override { return isInplace_; }
    virtual bool IsEditClass() const { return false; }

    // --- properties and repository item
    TcxCustomEditProperties* Properties() const { return properties_; }
    void SetProperties(TcxCustomEditProperties* value) { properties_->Assign(value); }
    TcxCustomEditProperties* ActiveProperties() const;
    TcxEditRepositoryItem* RepositoryItem() const { return repositoryItem_; }
    void SetRepositoryItem(TcxEditRepositoryItem* value);
    virtual bool IsRepositoryItemAcceptable(TcxEditRepositoryItem* value) const;
    virtual void RepositoryItemAssigning() {}
    virtual void RepositoryItemAssigned() {}
    virtual void PropertiesChanged(TObject* sender);
    bool PropertiesChangeLocked() const;
    TcxEditDataBinding* DataBinding() const { return dataBinding_; }
    void SetDataBinding(TcxEditDataBinding* value) { dataBinding_->Assign(value); }

    // --- values
    Variant EditValue() const { return GetEditValue(); }
    virtual Variant GetEditValue() const { return editValue_; }
    virtual void SetEditValue(const Variant& value);
    virtual void SetInternalEditValue(const Variant& value);
    virtual void InternalSetEditValue(const Variant& value, bool validateEditValue);
    virtual Variant GetEditingValue();
    virtual Variant InternalGetEditingValue() { return GetEditValue(); }
    virtual Variant GetClearValue() { return Variant::MakeNull(); }
    virtual void Clear();
    virtual void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) {}
    virtual bool IsEditValueStored() const { return !editValue_.IsNull(); }
    Variant GetDisplayValue() override { return Variant(std::string()); }
    virtual void SetInternalDisplayValue(const Variant& value) {}
    virtual void InternalSetDisplayValue(const Variant& value) {}
    virtual void InternalValidateDisplayValue(const Variant& displayValue);
    virtual void SynchronizeDisplayValue() {}
    virtual void SynchronizeEditValue() {}
    virtual void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused);
    virtual bool SetDisplayText(const std::string&) { return false; }
    virtual void UpdateDrawValue() {}
    bool InternalFocused() const;

    // --- change events
    virtual void ChangeHandler(TObject* sender);
    virtual void DoChange();
    virtual void DoEditValueChanged();
    virtual void DoOnChange();
    virtual void DoOnEditValueChanged();
    void DoOnValidate(Variant& displayValue, std::string& errorText, bool& error) override;
    void DoButtonClickEvents(int buttonIndex);
    bool IsOnChangeEventAssigned() const;
    bool IsOnEditValueChangedEventAssigned() const;
    bool IsOnValidateEventAssigned() override;
    void LockChangeEvents(bool lock, bool invoke = true);
    bool AreChangeEventsLocked() const { return changeEventsCatcher_->IsLocked(); }
    void LockEditValueChanging(bool lock);
    void LockClick(bool lock);
    TcxEditChangeEventsCatcher* ChangeEventsCatcher() const { return changeEventsCatcher_; }

    // --- modified state
    bool Modified() const { return modified_; }
    bool ModifiedAfterEnter() const { return modifiedAfterEnter_; }
    void SetModified(bool value);
    void SetModifiedAfterEnter(bool value);
    void SetModifiedAfterEnterValue(bool value) { modifiedAfterEnter_ = value; }
    void SaveModified();
    void RestoreModified();
    int ModifiedStackDepth() const { return int(modifiedStack_.size()); }
    bool EditValidated() const { return editValidated_; }

    // --- editing and posting
    bool DoEditing();
    virtual bool InternalDoEditing() { return true; }
    virtual bool CanModify();
    virtual bool RealReadOnly();
    bool CanPostEditValue();
    void PostEditValue();
    void InternalPostEditValue(bool validateEdit = false);
    void InternalPostValue();
    void DoPostEditValue();
    virtual void BeforePosting() { isPosting_ = true; }
    virtual void AfterPosting() { isPosting_ = false; }
    bool IsPosting() const { return isPosting_; }
    void Reset();
    virtual void ResetEditValue();
    bool IsResetEditClass();
    bool IsDBEdit();
    // The user-change flag: set around changes the user makes (typing, pasting, clearing).
    bool IsUserChange() const { return isUserChange_; }
    void SetUserChange(bool value) { isUserChange_ = value; }
    // Stores the edit value without showing it again (a kind whose screen is the source).
    void SetEditValueSilently(const Variant& value) { editValue_ = value; }
    // Whether ReadOnly was set on the editor (stand-alone rule of CanModify); unset follows the data.
    void SetReadOnlyAssigned(bool assigned, bool value = false) { readOnlyAssigned_ = assigned; readOnly_ = value; }

    // --- validation
    bool ValidateEdit(bool raiseException);
    virtual void HandleValidationError(const std::string& errorText, bool canAbortExecution);
    void DisableValidate() { ++validateLockCount_; }
    void EnableValidate() { --validateLockCount_; }

    // --- in-place activation
    virtual void Activate(TcxCustomEditData*& editData);
    virtual void ActivateByKey(char16_t key, TcxCustomEditData*& editData);
    virtual void ActivateByMouse(TShiftState shift, int x, int y, TcxCustomEditData*& editData);
    virtual bool Deactivate();
    virtual bool SendActivationKey(char16_t) { return true; }
    void DoClearEditData(TcxCustomEditData* editData);
    virtual void InitializeEditData() {}
    TcxCustomEditData* EditData() const { return editData_; }
    bool Activated() const { return activated_; }
    TcxInplaceEditPosition InplaceEditPosition;
    TcxTimer* DblClickTimer() const { return dblClickTimer_; }

    // --- keys and mouse
    virtual bool IsEditorKey(std::uint16_t key, TShiftState shift);
    bool IsSpecialKey(std::uint16_t key, TShiftState shift);
    virtual bool ValidateKeyDown(std::uint16_t& key, TShiftState shift);
    virtual bool ValidateKeyPress(char16_t& key);
    virtual bool CanKeyDownModifyEdit(std::uint16_t, TShiftState) { return false; }
    virtual bool CanKeyPressModifyEdit(char16_t) { return false; }
    virtual bool IsValidChar(char16_t key);
    virtual bool NeedsInvokeAfterKeyDown(std::uint16_t, TShiftState) { return false; }
    virtual bool WantNavigationKeys() const { return false; }
    virtual bool TabsNeeded() const { return isInplace_; }
    bool CanContainerHandleTabs() override { return false; }
    void DoAfterKeyDown(std::uint16_t& key, TShiftState shift);
    virtual void DoEditProcessTab(TShiftState) {}
    bool HandleMouseWheel(TShiftState shift);
    int ButtonVisibleIndexAt(const TPoint& p);
    int GetDefaultButtonVisibleIndex();
    virtual void DefaultButtonClick();
    virtual void DoButtonClick(int buttonVisibleIndex);
    virtual void DoButtonDown(int) {}
    virtual void DoButtonUp(int) {}
    void DoClick();
    virtual bool IsClickEnabledDuringLoading() const { return false; }
    bool CheckButtonShortCuts(char16_t key);
    int CapturedButton() const { return capturedButton_; }

    // --- clipboard (the kinds with text do the work)
    virtual void CopyToClipboard() {}
    virtual void CutToClipboard() {}
    virtual void PasteFromClipboard() {}
    virtual void SelectAll() {}

    // --- hints
    virtual std::string GetHintText(int part);

    // --- sizing and painting
    bool AutoSize() const { return autoSize_; }
    virtual void SetEditAutoSize(bool value);
    virtual bool CanAutoSize() const;
    virtual bool CanAutoWidth();
    bool IsAutoWidth();
    virtual void DoAutoSizeChanged() {}
    int AnchorX() const { return anchorX_; }
    int AnchorY() const { return anchorY_; }
    void SetAnchors(int x, int y) { anchorX_ = x; anchorY_ = y; }
    virtual void CalculateAnchors();
    bool UseAnchors() const { return UseAnchorX() || UseAnchorY(); }
    virtual bool UseAnchorX() const { return false; }
    virtual bool UseAnchorY() const { return false; }
    // The stream-only sizes: "Height" unless the editor sizes itself, "Width" unless it sizes
    // its width too, and the anchors its kind uses.
    void DefineProperties(TFiler* filer) override;
    // Adjusts a proposed size to the content (auto size).
    bool CanResize(int& newWidth, int& newHeight);
    // Every new size passes CanResize first, so an auto-size editor never takes a size its
    // content does not have.
    void SetBounds(int left, int top, int width, int height) override;
    virtual void InternalCanResize(int& newWidth, int& newHeight);
    void SetSize() override;
    virtual void FillSizeProperties(TcxEditSizeProperties& sizeProperties);
    int GetHeight();
    void CheckHandle();
    virtual void AdjustInnerEditPosition();
    virtual TcxCustomEditViewData* CreateViewData();
    virtual void InitializeViewData(TcxCustomEditViewData* viewData);
    void CalculateViewInfo(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent);
    void CalculateViewInfo();
    bool DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent) override;
    virtual void ProcessViewInfoChanges(TcxCustomEditViewInfo* prevViewInfo, bool isMouseEvent);
    TRect GetBorderExtent() const override;
    TcxCustomEditViewInfo* EditViewInfo() const;
    virtual bool IsNativeBackground() const { return false; }
    virtual bool IsTransparent() const { return transparent_ && !isInplace_; }
    bool IsTransparentBackground() const override { return IsNativeBackground() || IsTransparent(); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    const TcxEditContentParams& ContentParams() const { return contentParams_; }
    bool IsDBEditPaintCopyDrawing() override;

    // --- inner edit
    IcxCustomInnerEdit* InnerEdit() const { return innerEdit_; }
    bool HasInnerEdit() const { return innerEdit_ != nullptr; }
    void UpdateInnerEditReadOnly();
    void SetInternalReadOnly(bool value);
    virtual void EditingChanged() { UpdateInnerEditReadOnly(); }
    // Holds back the inner edit's painting (a flag on its window's peer); counted.
    virtual void LockInnerEditRepainting();
    virtual void UnlockInnerEditRepainting();
    bool InnerEditRepaintingLocked() const { return innerEditRepaintLock_ > 0; }
    void SafeSelectionFocusInnerControl() override;

    // --- container overrides
    TcxContainerStyleClass GetStyleClass() const override;
    TcxContainerViewInfoClass GetViewInfoClass() const override;
    TcxEditStateColorKind GetEditStateColorKind() const override;
    TcxContainerStyleValues InternalGetNotPublishedStyleValues() const override { return 0xFC00; }
    bool IsNativeStyle() const override;
    void SetParent(TWinControl* parent) override;
    void Loaded() override;
    void FocusChanged() override;
    void GetTabOrderList(std::vector<TWinControl*>& list) const override;
    bool IsActiveControl();
    virtual bool UpdateContentOnFocusChanging() { return true; }
    bool HasFocus() const { return hasFocus_; }

    // --- styles
    TcxCustomEditStyle* EditStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
    TcxCustomEditStyle* EditStyleDisabled() const { return static_cast<TcxCustomEditStyle*>(StyleDisabled()); }
    TcxCustomEditStyle* EditStyleFocused() const { return static_cast<TcxCustomEditStyle*>(StyleFocused()); }
    TcxCustomEditStyle* EditStyleHot() const { return static_cast<TcxCustomEditStyle*>(StyleHot()); }

    // --- spell checking (absent: the interface answers "none")
    bool SupportsSpelling() override { return false; }
    void SpellCheckerSetSelText(const std::string&) override {}
    void SpellCheckerSetIsBarControl(bool value) override { spellCheckerBarControl_ = value; }
    void SpellCheckerSetValue(const Variant& value) override { InternalSetEditValue(value, false); }

    // --- IcxEditRepositoryItemListener
    void ItemRemoved(TcxEditRepositoryItem* sender) override;
    void PropertiesChanged(TcxEditRepositoryItem* sender) override;

    // --- IcxEditViewHost
    TcxContainer* GetEditContainer() override { return this; }
    TcxCustomEditStyle* GetEditActiveStyle() override { return static_cast<TcxCustomEditStyle*>(GetActiveStyle()); }
    bool IsEditFocused() override { return Focused() || (innerEdit_ && innerEdit_->GetControl()->Focused()); }
    bool HasBackground() override { return false; }
    int GetCaptureButtonVisibleIndex() override { return capturedButton_; }
    bool HasMouseCapture() override { return MouseCapture(); }
    TWinControl* GetInnerEditControl() override { return innerEdit_ ? innerEdit_->GetControl() : nullptr; }
    bool IsEditTransparent() override { return IsTransparent(); }
    bool IsEditNativeBackground() override { return IsNativeBackground(); }
    TcxEditContentOptions GetEditContentOptions() override { return {}; }
    TcxLookAndFeelKind GetPopupWindowControlsLookAndFeelKind() override;

    // --- events of the host
    TKeyEvent OnAfterKeyDown;
    TcxEditEditingEvent OnEditing;
    TNotifyEvent OnPostEditValue;
    // A design-time placeholder; never called.
    TNotifyEvent PropertiesEvents;

protected:
    // For the editor kinds: the classes the kind is made of.
    TcxCustomEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    virtual void Initialize();
    virtual void CreateInnerEdit();
    virtual void InitializeInnerEdit();
    void InitContentParams();

    void Dispatch(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;
    void CreateHandle() override;
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    virtual void DoEditKeyDown(std::uint16_t& key, TShiftState shift);
    virtual void DoEditKeyPress(char16_t& key) { ValidateKeyPress(key); }
    virtual void DoEditKeyUp(std::uint16_t&, TShiftState) {}
    void DoEnter() override;
    void DoExit() override;
    virtual void DoShowEdit();
    virtual void DoHideEdit(bool exit);
    virtual void DoFocusChanged();
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Click() override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Construct();
    void DblClickTimerHandler(TObject* sender);
    void HandleClipboardMessage(TMessage& msg);
    void HandleHintShow(TMessage& msg);
    void HandleDialogChar(TMessage& msg);
    // Runs an operation with change events locked, released with or without replay afterwards
    // (also when the operation raises).
    template <class F>
    void WithChangeEventsLocked(bool invoke, F&& f)
    {
        LockChangeEvents(true);
        try {
            f();
        } catch (...) {
            LockChangeEvents(false, invoke);
            throw;
        }
        LockChangeEvents(false, invoke);
    }
    TNotifyEvent PropertiesChangedHandler();

    TcxEditClasses classes_;
    bool isInplace_;
    int anchorX_ = cxEditAnchorNotSet, anchorY_ = cxEditAnchorNotSet;
    bool autoSize_ = true;
    int capturedButton_ = -1;
    TcxEditChangeEventsCatcher* changeEventsCatcher_ = nullptr;
    int clickLockCount_ = 0;
    TcxTimer* dblClickTimer_ = nullptr;
    TcxCustomEditData* editData_ = nullptr;
    bool isInEditing_ = false;
    int editValueChangingLockCount_ = 0;
    bool hasFocus_ = false;
    bool handleCreating_ = false;
    IcxCustomInnerEdit* innerEdit_ = nullptr;
    int innerEditRepaintLock_ = 0;
    bool innerEditUpdatesWereEnabled_ = true;
    bool spellCheckerBarControl_ = false;
    bool contentParamsValid_ = false;
    bool editValidated_ = false;
    bool validating_ = false;
    bool escapeHandled_ = false;
    bool sizeOnLoad_ = false;
    bool firstParent_ = true;
    bool isPosting_ = false;
    bool isUserChange_ = false;
    int validateLockCount_ = 0;
    bool modified_ = false;
    bool modifiedAfterEnter_ = false;
    Variant prevEditValue_;
    std::vector<TcxEditModifiedState> modifiedStack_;
    TcxEditRepositoryItem* repositoryItem_ = nullptr;
    bool transparent_ = false;
    bool focusingAfterError_ = false;
    bool revertedAfterError_ = false;
    TcxEditDataBinding* dataBinding_ = nullptr;
    Variant editValue_;
    TcxCustomEditProperties* properties_ = nullptr;
    TcxEditContentParams contentParams_;
    bool activated_ = false;
    bool readOnlyAssigned_ = false;
    bool readOnly_ = false;
};

// ---- the in-place editor list -----------------------------------------------------------------

// A host's cache of in-place editors: at most one per properties object, reused for every cell
// edited with those properties; an editor whose properties went away serves the next properties
// object of the same class.
class TcxInplaceEditList : public TObject {
    RTL_CLASS(TcxInplaceEditList, TObject)
    explicit TcxInplaceEditList(TComponent* editorOwner);
    ~TcxInplaceEditList() override;

    TcxCustomEdit* GetEdit(TcxCustomEditProperties* properties);
    TcxCustomEdit* GetEdit(TcxCustomEditPropertiesClass propertiesClass);
    TcxCustomEdit* GetEdit(int index) const;
    TcxCustomEdit* FindEdit(TcxCustomEditProperties* properties);
    TcxCustomEdit* FindEdit(TcxCustomEditPropertiesClass propertiesClass);
    void RemoveItem(TcxCustomEditProperties* properties);
    void RemoveItem(TcxCustomEditPropertiesClass propertiesClass);
    void RemoveItem(int index);
    void DisconnectProperties(TcxCustomEditProperties* properties);
    // An editor freed by someone else leaves the cache (it is not freed again).
    void ForgetEdit(TcxCustomEdit* edit);
    void DestroyItems();
    int Count() const { return int(items_.size()); }
    TComponent* EditorOwner() const { return editorOwner_; }

private:
    struct Item {
        TcxCustomEdit* Edit;
        TcxCustomEditProperties* Properties;
    };
    int FindItem(TcxCustomEditProperties* properties, bool useFreeEdit);
    int FindItem(const TcxCustomEditPropertiesClass& propertiesClass);
    int FindFreeItem(const TClassMeta* editClass) const;
    static const TClassMeta* ContainerClassOf(const TcxCustomEditPropertiesClass& propertiesClass);
    TcxCustomEdit* CreateEdit(const TClassMeta* editMeta);
    void InitEdit(TcxCustomEdit* edit, TcxCustomEditProperties* properties);
    TComponent* editorOwner_;
    std::vector<Item> items_;
};

// The live in-place editor lists (null when none exists).
const std::vector<TcxInplaceEditList*>* cxInplaceEditLists();

} // namespace cx
