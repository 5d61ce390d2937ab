#pragma once
// The calculator editor: a popup editor that accepts only text forming a number, shows it in the
// general or exponent format (optionally with digit grouping, or through a display format) and
// drops down the calculator, which works on the editor's own text.
#include "toolkit/editors/cxCalc.h"
#include "toolkit/editors/cxDropDownEdit.h"

namespace cx {

class TcxCustomCalcEdit;

class TcxCalcEditPropertiesValues : public TcxTextEditPropertiesValues {
    RTL_CLASS(TcxCalcEditPropertiesValues, TcxTextEditPropertiesValues)
    using TcxTextEditPropertiesValues::TcxTextEditPropertiesValues;
    void Assign(TPersistent* source) override;
    void RestoreDefaults() override;
    bool Precision() const { return precision_; }
    void SetPrecision(bool value);

private:
    bool precision_ = false;
};

class TcxCustomCalcEditProperties : public TcxCustomPopupEditProperties {
    RTL_CLASS(TcxCustomCalcEditProperties, TcxCustomPopupEditProperties)
    explicit TcxCustomCalcEditProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;
    TcxCalcEditPropertiesValues* AssignedValues()
    {
        return static_cast<TcxCalcEditPropertiesValues*>(TcxCustomEditProperties::AssignedValues());
    }

    // The assigned precision, else the data's default (15 without one); never above 15.
    int GetPrecision();
    int Precision() { return GetPrecision(); }
    void SetPrecision(int value);
    bool QuickClose() const { return quickClose_; }
    void SetQuickClose(bool value) { SetFlag(quickClose_, value); }
    bool ScientificFormat() const { return scientificFormat_; }
    void SetScientificFormat(bool value) { SetFlag(scientificFormat_, value); }
    bool UseThousandSeparator() const { return useThousandSeparator_; }
    void SetUseThousandSeparator(bool value) { SetFlag(useThousandSeparator_, value); }

    // Thousand separators dropped, then a number within the double range (or 0); an empty text is
    // not a number here. On failure the value is 0.
    bool StrToFloatEx(const std::string& text, double& value) const;
    // The value's text while editing or without a display format.
    std::string FormatValue(double value);

    void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused) override;
    bool IsEditValueValid(Variant& editValue, bool editFocused) override;
    bool IsDisplayValueValid(Variant&, bool) override { return true; }
    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    TcxDataEditValueSource GetEditValueSource(bool editFocused) override;
    bool HasDigitGrouping(bool) override { return useThousandSeparator_ && !scientificFormat_; }
    bool IsEditValueNumeric() override { return true; }
    TcxEditDisplayFormatOptions GetDisplayFormatOptions() const override { return {dfoSupports}; }
    bool GetAlwaysPostEditValue() const override { return true; }
    bool PopupWindowAcceptsAnySize() const override { return false; }
    TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() const override;
    const TClassMeta* GetContainerClass() const override;

private:
    int precision_ = 15;
    bool quickClose_ = false;
    bool scientificFormat_ = false;
    bool useThousandSeparator_ = false;
};

class TcxCalcEditProperties : public TcxCustomCalcEditProperties {
    RTL_CLASS(TcxCalcEditProperties, TcxCustomCalcEditProperties)
    using TcxCustomCalcEditProperties::TcxCustomCalcEditProperties;
};

// The calculator inside the editor's popup: its display is the editor's text.
class TcxPopupCalculator : public TcxCustomCalculator {
    RTL_CLASS(TcxPopupCalculator, TcxCustomCalculator)
    TcxPopupCalculator(TComponent* owner, TcxCustomCalcEdit* edit);
    // Whoever frees it (the editor, or the popup window as its parent), the editor forgets it.
    ~TcxPopupCalculator() override;
    // A fresh start each time the popup shows: the first digit replaces the editor's text.
    void Init();

protected:
    TcxCustomLookAndFeelPainterClass GetPainter() const override;
    void GetEditorValue(std::string& value) const override;
    void SetEditorValue(const std::string& value) override;
    void LockChanges(bool lock, bool invokeChanged) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;

private:
    friend class TcxCustomCalcEdit;
    TcxCustomCalcEdit* edit_;
};

class TcxCustomCalcEdit : public TcxCustomPopupEdit {
    RTL_CLASS(TcxCustomCalcEdit, TcxCustomPopupEdit)
    explicit TcxCustomCalcEdit(TComponent* owner, bool isInplace = false);
    ~TcxCustomCalcEdit() override;
    TcxCustomCalcEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomCalcEditProperties*>(TcxCustomPopupEdit::ActiveProperties());
    }
    TcxCustomCalcEditProperties* Properties() const
    {
        return static_cast<TcxCustomCalcEditProperties*>(TcxCustomPopupEdit::Properties());
    }
    TcxPopupCalculator* Calculator();

    double Value();
    void SetValue(double value);

    void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) override;
    Variant InternalGetEditingValue() override;
    bool IsValidChar(char16_t key) override;
    void PropertiesChanged(TObject* sender) override;
    void PasteFromClipboard() override;
    void PopupWindowShowed(TObject* sender) override;
    void PopupWindowClosed(TObject* sender) override;
    // Enter reaches the calculator first: it evaluates ("=") and then closes with the result.
    bool PopupControlClosesOnKey(std::uint16_t key, TShiftState shift) override;

protected:
    TcxCustomCalcEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    bool CanDropDown() override;
    void DoInitPopup() override;
    void CreatePopupWindow() override;
    void InitializePopupWindow() override;
    void KeyPress(char16_t& key) override;

private:
    friend class TcxPopupCalculator;
    void BindPopupControl();
    TcxPopupCalculator* calculator_ = nullptr;
    bool bindingPopup_ = false;
};

class TcxCalcEdit : public TcxCustomCalcEdit {
    RTL_CLASS(TcxCalcEdit, TcxCustomCalcEdit)
    explicit TcxCalcEdit(TComponent* owner, bool isInplace = false);
    TcxCalcEditProperties* Properties() const
    {
        return static_cast<TcxCalcEditProperties*>(TcxCustomCalcEdit::Properties());
    }
};

class TcxFilterCalcEditHelper : public TcxFilterDropDownEditHelper {
    RTL_CLASS(TcxFilterCalcEditHelper, TcxFilterDropDownEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;
};

namespace cxCalcEditUnit {
void Initialize();   // once: "CalcEdit|..." in the editor registry and the filter helper
void Finalize();
} // namespace cxCalcEditUnit

} // namespace cx
