#pragma once
// The currency editor: a text editor whose edit value is a floating-point number, shown with the
// locale's currency format (or a display format), parsed from what is typed, with the typed
// decimals limited, digits grouped while typing when asked, and the value held within its bounds.
#include "toolkit/editors/cxTextEdit.h"

namespace cx {

// Parses a number after dropping the thousand separators. A number is accepted when it is 0 or
// its magnitude lies between 5e-324 and 1.7e308; a text of separators alone is an empty number
// (true, value 0). Anything else answers false with value 0.
bool StrToFloatEx(std::string text, double& value);

class TcxCurrencyEditPropertiesValues : public TcxTextEditPropertiesValues {
    RTL_CLASS(TcxCurrencyEditPropertiesValues, TcxTextEditPropertiesValues)
    using TcxTextEditPropertiesValues::TcxTextEditPropertiesValues;
    void Assign(TPersistent* source) override;
    void RestoreDefaults() override;
    bool DecimalPlaces() const { return decimalPlaces_; }
    void SetDecimalPlaces(bool value);

private:
    bool decimalPlaces_ = false;
};

class TcxCustomCurrencyEditProperties : public TcxCustomTextEditProperties {
    RTL_CLASS(TcxCustomCurrencyEditProperties, TcxCustomTextEditProperties)
    explicit TcxCustomCurrencyEditProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;
    TcxCurrencyEditPropertiesValues* AssignedValues()
    {
        return static_cast<TcxCurrencyEditPropertiesValues*>(TcxCustomEditProperties::AssignedValues());
    }

    // The assigned number of decimals, else the locale's currency decimals.
    int DecimalPlaces();
    void SetDecimalPlaces(int value);
    bool Nullable() const { return nullable_; }
    void SetNullable(bool value);
    std::string NullString() const { return nullString_; }
    void SetNullString(const std::string& value);
    bool UseThousandSeparator() const { return useThousandSeparator_; }
    void SetUseThousandSeparator(bool value);

    void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused) override;
    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    bool IsDisplayValueValid(Variant& displayValue, bool editFocused) override;
    TcxDataEditValueSource GetEditValueSource(bool editFocused) override;
    std::string GetDefaultDisplayFormat() override;
    bool HasDigitGrouping(bool isDisplayValueSynchronizing) override;
    bool IsEditValueNumeric() override { return true; }
    TcxEditDisplayFormatOptions GetDisplayFormatOptions() const override { return {dfoSupports, dfoNoCurrencyValue}; }
    TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() const override;
    const TClassMeta* GetContainerClass() const override;
    // Whether an edit format (or the data's text event) decides the text while focused.
    bool HasEditFormat();

private:
    int decimalPlaces_ = 2;
    bool nullable_ = true;
    std::string nullString_;
    bool useThousandSeparator_ = false;
};

class TcxCurrencyEditProperties : public TcxCustomCurrencyEditProperties {
    RTL_CLASS(TcxCurrencyEditProperties, TcxCustomCurrencyEditProperties)
    using TcxCustomCurrencyEditProperties::TcxCustomCurrencyEditProperties;
};

class TcxCustomCurrencyEdit : public TcxCustomTextEdit {
    RTL_CLASS(TcxCustomCurrencyEdit, TcxCustomTextEdit)
    explicit TcxCustomCurrencyEdit(TComponent* owner, bool isInplace = false);
    TcxCustomCurrencyEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomCurrencyEditProperties*>(TcxCustomEdit::ActiveProperties());
    }
    TcxCustomCurrencyEditProperties* Properties() const
    {
        return static_cast<TcxCustomCurrencyEditProperties*>(TcxCustomEdit::Properties());
    }

    double Value();
    void SetValue(double value);

    void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) override;
    Variant InternalGetEditingValue() override;
    bool IsValidChar(char16_t key) override;
    void PropertiesChanged(TObject* sender) override;
    void PasteFromClipboard() override;
    void CheckEditValue() override;

protected:
    TcxCustomCurrencyEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    void Initialize() override;
    void KeyPress(char16_t& key) override;

private:
    bool IsTypedTextValid(const std::string& text);
};

class TcxCurrencyEdit : public TcxCustomCurrencyEdit {
    RTL_CLASS(TcxCurrencyEdit, TcxCustomCurrencyEdit)
    explicit TcxCurrencyEdit(TComponent* owner, bool isInplace = false);
    TcxCurrencyEditProperties* Properties() const
    {
        return static_cast<TcxCurrencyEditProperties*>(TcxCustomCurrencyEdit::Properties());
    }
};

class TcxFilterCurrencyEditHelper : public TcxFilterTextEditHelper {
    RTL_CLASS(TcxFilterCurrencyEditHelper, TcxFilterTextEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;
};

namespace cxCurrencyEditUnit {
void Initialize();   // the properties class in the editor registry and the filter helper pair
void Finalize();
} // namespace cxCurrencyEditUnit

} // namespace cx
