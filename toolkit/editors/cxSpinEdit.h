#pragma once
// The spin editor: a numeric mask editor (without a mask) with buttons that step its value. The
// properties hold the numeric settings and answer through a TcxSpinEditValueRules filled from
// them; the control keeps an internal value beside its text, steps it by keys, wheel and held
// buttons (a repeat timer: 400 ms, then every 100 ms) and lays out and paints its buttons.
#include <string>

#include "toolkit/controls/cxControlsTimers.h"
#include "toolkit/editors/cxMaskEdit.h"
#include "toolkit/editors/cxSpinEditValues.h"

namespace cx {

enum TcxSpinEditButtonsPosition { sbpHorzLeftRight, sbpHorzRight, sbpVert };
enum TcxSpinEditPressedState { epsNone, epsDown, epsUp, epsFastDown, epsFastUp };

using TcxSpinEditGetValueEvent =
    Event<void(TObject* sender, const std::string& text, Variant& value, std::string& errorText, bool& error)>;

class TcxCustomSpinEdit;

// ---- properties -------------------------------------------------------------------------------

class TcxSpinEditPropertiesValues : public TcxTextEditPropertiesValues {
    RTL_CLASS(TcxSpinEditPropertiesValues, TcxTextEditPropertiesValues)
    using TcxTextEditPropertiesValues::TcxTextEditPropertiesValues;
    void Assign(TPersistent* source) override;
    void RestoreDefaults() override;
    bool ValueType() const { return valueType_; }
    void SetValueType(bool value);

private:
    bool valueType_ = false;
};

class TcxCustomSpinEditProperties;

class TcxSpinEditButtons : public TPersistent {
    RTL_CLASS(TcxSpinEditButtons, TPersistent)
    explicit TcxSpinEditButtons(TcxCustomSpinEditProperties* owner) : owner_(owner) {}
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override;
    TcxSpinEditButtonsPosition Position() const { return position_; }
    void SetPosition(TcxSpinEditButtonsPosition value);
    bool ShowFastButtons() const { return showFastButtons_; }
    void SetShowFastButtons(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

private:
    template <class T>
    void Set(T& field, T value);
    TcxCustomSpinEditProperties* owner_;
    TcxSpinEditButtonsPosition position_ = sbpVert;
    bool showFastButtons_ = false;
    bool visible_ = true;
};

class TcxCustomSpinEditProperties : public TcxCustomMaskEditProperties {
    RTL_CLASS(TcxCustomSpinEditProperties, TcxCustomMaskEditProperties)
    explicit TcxCustomSpinEditProperties(TPersistent* owner);
    ~TcxCustomSpinEditProperties() override;
    void Assign(TPersistent* source) override;

    // --- settings
    bool CanEdit() const { return canEdit_; }
    void SetCanEdit(bool value);
    bool Circular() const { return circular_; }
    void SetCircular(bool value);
    bool ExceptionOnInvalidInput() const { return exceptionOnInvalidInput_; }
    void SetExceptionOnInvalidInput(bool value);
    double Increment() const { return increment_; }
    void SetIncrement(double value);
    double LargeIncrement() const { return largeIncrement_; }
    void SetLargeIncrement(double value);
    TcxSpinEditButtons* SpinButtons() const { return spinButtons_; }
    void SetSpinButtons(TcxSpinEditButtons* value) { spinButtons_->Assign(value); }
    bool UseCtrlIncrement() const { return useCtrlIncrement_; }
    void SetUseCtrlIncrement(bool value);
    // The stored type when assigned, else the data's (float or not), else vtFloat.
    TcxSpinEditValueType GetValueType() const;
    TcxSpinEditValueType ValueType() const { return GetValueType(); }
    void SetValueType(TcxSpinEditValueType value);
    TcxSpinEditPropertiesValues* AssignedValues()
    {
        return static_cast<TcxSpinEditPropertiesValues*>(TcxCustomTextEditProperties::AssignedValues());
    }
    TcxSpinEditGetValueEvent OnGetValue;

    // --- rules
    // The numeric rules of the current settings.
    TcxSpinEditValueRules Rules() const;
    double GetIncrement(TcxSpinEditButton button) const { return Rules().GetIncrement(button); }
    virtual bool ExtendValueUpToBound() const { return true; }
    virtual TcxSpinBoundsCheckingKind GetBoundsCheckingKind() const;
    virtual Variant InternalMaxValue() const { return Rules().InternalMaxValue(); }
    virtual Variant InternalMinValue() const { return Rules().InternalMinValue(); }
    virtual bool IsDisplayValueNumeric() const { return true; }
    virtual Variant PrepareValue(const Variant& value) const { return Rules().PrepareValue(value); }
    virtual bool PreserveSelection() const { return false; }
    Variant CheckValueBounds(const Variant& value) const { return Rules().CheckValueBounds(value); }
    bool TryTextToValue(const std::string& text, Variant& value) const { return Rules().TryTextToValue(text, value); }
    Variant VarToCurrentValueType(const Variant& value) const { return Rules().VarToCurrentValueType(value); }
    Variant SetVariantType(const Variant& value) const { return Rules().SetVariantType(value); }
    Variant ZeroInBounds() const { return Rules().ZeroInBounds(); }

    // --- overrides
    void Changed() override;
    bool IsEditValueNumeric() override { return true; }
    bool IsEditValueValid(Variant& editValue, bool editFocused) override;
    bool IsDisplayValueValid(Variant& displayValue, bool editFocused) override;
    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    TcxDataEditValueSource GetEditValueSource(bool editFocused) override;
    std::string DefaultFocusedDisplayValue() override;
    TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() const override;
    TcxCustomEditViewDataClass GetViewDataClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;
    const TClassMeta* GetContainerClass() const override;

protected:
    void DefineProperties(TFiler* filer) override;

private:
    template <class T>
    void SetValue(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void SyncButtons();
    bool canEdit_ = true;
    bool circular_ = false;
    bool exceptionOnInvalidInput_ = false;
    double increment_ = 1.0;
    double largeIncrement_ = 10.0;
    TcxSpinEditButtons* spinButtons_ = nullptr;
    bool useCtrlIncrement_ = false;
    TcxSpinEditValueType valueType_ = vtFloat;
    bool buttonsSyncing_ = false;
};

class TcxSpinEditProperties : public TcxCustomSpinEditProperties {
    RTL_CLASS(TcxSpinEditProperties, TcxCustomSpinEditProperties)
    using TcxCustomSpinEditProperties::TcxCustomSpinEditProperties;
};

// ---- view data and view info -------------------------------------------------------------------

class TcxSpinEditViewInfo : public TcxCustomTextEditViewInfo {
    RTL_CLASS(TcxSpinEditViewInfo, TcxCustomTextEditViewInfo)
    TcxSpinEditViewInfo() = default;
    void Assign(TObject* source) override;
    void InternalPaint(TcxCanvas* canvas) override;
    TRect GetPartRect(int part) const override;
    void DrawButtonContent(TcxCanvas* canvas, int visibleIndex, const TRect& contentRect, TColor textColor,
                           TColor backgroundColor, bool pressedOffset) override;
    // The flat looks join neighbouring spin buttons: each button draws only the sides its
    // position in the group leaves open.
    void DrawHotFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button, TRect& backgroundRect,
                                 TRect& contentRect, TColor& textColor, TColor& backgroundColor) override;
    void DrawUltraFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button, bool isOffice11,
                                   TRect& backgroundRect, TRect& contentRect, TColor& textColor,
                                   TColor& backgroundColor) override;

    int ArrowSize = 0;
    TcxSpinEditButtonsPosition ButtonsPosition = sbpVert;
    TPoint DelimiterLine[2] = {};
};

// What the buttons' layout needs to know: the default button width (vertical pair), the width of
// a horizontal button and of a fast one, the pixels cut off at the bottom and the delimiter gap.
struct TcxSpinButtonMetrics {
    int DefaultWidth = 0;
    int Width = 0;
    int FastWidth = 0;
    int BottomCut = 0;
    int Gap = 0;
};
// Places the buttons (indexes as TcxSpinEditButton) in r, from its right edge leftwards (the
// backward buttons on the left edge in sbpHorzLeftRight); r becomes what is left for the text.
void LayoutSpinButtons(TRect& r, bool fast, TcxSpinEditButtonsPosition position, const TcxSpinButtonMetrics& m,
                       TRect (&buttons)[4]);

class TcxSpinEditViewData : public TcxCustomTextEditViewData {
    RTL_CLASS(TcxSpinEditViewData, TcxCustomTextEditViewData)
    using TcxCustomTextEditViewData::TcxCustomTextEditViewData;
    void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                   TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent) override;
    void CalculateButtonBounds(TcxCanvas* canvas, TcxCustomEditViewInfo* viewInfo, int visibleIndex,
                               TRect& r) override;
    void CalculateButtonViewInfo(TcxCanvas* canvas, TcxCustomEditViewInfo* viewInfo, int visibleIndex,
                                 TRect& r) override;
    void CalculateButtonNativeInfo(TcxEditButtonViewInfo* button) override;
    void CheckButtonsOnly(TcxCustomEditViewInfo* viewInfo, int previousWidth, int remainingWidth) override;
    bool CanPressButton(TcxCustomEditViewInfo* viewInfo, int visibleIndex) override;
    bool IsButtonPressed(TcxCustomEditViewInfo* viewInfo, int visibleIndex) override;
    bool IgnoreButtonWhileStretching(int visibleIndex) override;
    TcxCustomSpinEditProperties* SpinProperties() const
    {
        return static_cast<TcxCustomSpinEditProperties*>(Properties());
    }
    // The editing control's pressed state (epsNone for a cell painted without a control).
    TcxSpinEditPressedState PressedState() const;
};

// ---- the control --------------------------------------------------------------------------------

class TcxCustomSpinEdit : public TcxCustomMaskEdit {
    RTL_CLASS(TcxCustomSpinEdit, TcxCustomMaskEdit)
    explicit TcxCustomSpinEdit(TComponent* owner, bool isInplace = false);
    ~TcxCustomSpinEdit() override;
    void BeforeDestruction() override;

    TcxCustomSpinEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomSpinEditProperties*>(TcxCustomMaskEdit::ActiveProperties());
    }
    TcxCustomSpinEditProperties* Properties() const
    {
        return static_cast<TcxCustomSpinEditProperties*>(TcxCustomMaskEdit::Properties());
    }

    // --- the value
    Variant Value() { return GetValue(); }
    void SetValueProperty(const Variant& value) { SetValue(value); }
    virtual double GetIncrement(TcxSpinEditButton button);
    virtual Variant GetValue();
    virtual std::string IncrementValueToStr(const Variant& value);
    virtual void SetValue(const Variant& value);
    // One spin step; true when the text changed.
    virtual bool Increment(TcxSpinEditButton button);
    bool InternalPrepareEditValue(const Variant& displayValue, bool raiseException, Variant& editValue,
                                  std::string& errorText);
    void DoOnGetValue(const std::string& text, Variant& value, std::string& errorText, bool& error);
    bool IsOnGetValueEventAssigned();
    const Variant& InternalValue() const { return internalValue_; }
    bool TextTyped() const { return typedText_; }

    // --- pressed state and repeat
    TcxSpinEditPressedState PressedState() const { return pressedState_; }
    void SetPressedState(TcxSpinEditPressedState value);
    // The repeat timer while a spin button is held with the mouse; null otherwise.
    TcxTimer* RepeatTimer() const { return timer_; }
    void StopTracking();

    // --- overrides
    Variant InternalGetEditingValue() override { return GetValue(); }
    bool IsValidChar(char16_t key) override;
    void PropertiesChanged(TObject* sender) override;
    void SynchronizeDisplayValue() override;
    void SynchronizeEditValue() override;
    void ChangeHandler(TObject* sender) override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    void ClearSelection() override;
    void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) override;
    bool DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent) override;
    TcxContainerStyleValues InternalGetNotPublishedStyleValues() const override;
    void FocusChanged() override;
    // The spin view info (arrow size, buttons position, the delimiter and the flat borders).
    TcxContainerViewInfoClass GetViewInfoClass() const override;

protected:
    TcxCustomSpinEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;
    void DoEditKeyPress(char16_t& key) override;
    void DoEditKeyUp(std::uint16_t& key, TShiftState shift) override;
    void DoButtonDown(int buttonVisibleIndex) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;

private:
    void InitializeSpin();
    bool NewStepValue(TcxSpinEditButton button, Variant& value);
    void HandleTimer(TObject* sender);
    void StepPressedButton();
    bool IsSpinKey(std::uint16_t key, TShiftState shift) const;
    template <class F>
    void WithKeyTyping(F&& f);
    Variant internalValue_;
    bool typedText_ = false;
    bool keyTyping_ = false;
    TcxSpinEditPressedState pressedState_ = epsNone;
    TcxTimer* timer_ = nullptr;
};

class TcxSpinEdit : public TcxCustomSpinEdit {
    RTL_CLASS(TcxSpinEdit, TcxCustomSpinEdit)
    explicit TcxSpinEdit(TComponent* owner, bool isInplace = false);
    TcxSpinEditProperties* Properties() const
    {
        return static_cast<TcxSpinEditProperties*>(TcxCustomSpinEdit::Properties());
    }
};

// ---- filter helper and unit start-up -------------------------------------------------------------

class TcxFilterSpinEditHelper : public TcxFilterMaskEditHelper {
    RTL_CLASS(TcxFilterSpinEditHelper, TcxFilterMaskEditHelper)
    bool EditPropertiesHasButtons() const override { return true; }
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;
};

namespace cxSpinEditUnit {
void Initialize();   // once: the properties class in the editor registry and its filter helper
void Finalize();
} // namespace cxSpinEditUnit

} // namespace cx
