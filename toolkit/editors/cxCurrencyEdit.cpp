// The currency editor: number parsing, display and edit values, typed decimals, the value within
// its bounds, the filter helper and the unit's start-up.
#include "toolkit/editors/cxCurrencyEdit.h"

#include <cmath>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

namespace {
// A zero parsed from a mantissa with a non-zero digit is a number below the smallest double.
bool IsUnderflow(const std::string& text, double d)
{
    if (d != 0)
        return false;
    for (char c : text) {
        if (c == 'e' || c == 'E')
            break;
        if (c >= '1' && c <= '9')
            return true;
    }
    return false;
}
} // namespace

bool StrToFloatEx(std::string text, double& value)
{
    RemoveThousandSeparator(text);
    double d = 0;
    if (rtl::TryStrToFloat(text, d) && std::isfinite(d) && !IsUnderflow(text, d) &&
        (d == 0 || (std::fabs(d) >= 5e-324 && std::fabs(d) <= 1.7e308))) {
        value = d;
        return true;
    }
    value = 0;
    return text.empty();
}

// ---- assigned values ------------------------------------------------------------------------------

void TcxCurrencyEditPropertiesValues::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCurrencyEditPropertiesValues*>(source);
    BeginUpdate();
    TcxTextEditPropertiesValues::Assign(source);
    if (s)
        SetDecimalPlaces(s->decimalPlaces_);
    EndUpdate();
}

void TcxCurrencyEditPropertiesValues::RestoreDefaults()
{
    BeginUpdate();
    TcxTextEditPropertiesValues::RestoreDefaults();
    SetDecimalPlaces(false);
    EndUpdate();
}

void TcxCurrencyEditPropertiesValues::SetDecimalPlaces(bool value) { SetAssigned(decimalPlaces_, value); }

// ---- properties -------------------------------------------------------------------------------------

TcxCustomCurrencyEditProperties::TcxCustomCurrencyEditProperties(TPersistent* owner)
    : TcxCustomTextEditProperties(owner)
{
    SetValidateOnEnter(true);
}

void TcxCustomCurrencyEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomCurrencyEditProperties*>(source);
    if (!s)
        return TcxCustomTextEditProperties::Assign(source);
    BeginUpdate();
    TcxCustomTextEditProperties::Assign(source);
    AssignedValues()->SetDecimalPlaces(false);
    if (s->AssignedValues()->DecimalPlaces())
        SetDecimalPlaces(s->DecimalPlaces());
    SetNullable(s->nullable_);
    SetNullString(s->nullString_);
    SetUseThousandSeparator(s->useThousandSeparator_);
    EndUpdate();
}

int TcxCustomCurrencyEditProperties::DecimalPlaces()
{
    return AssignedValues()->DecimalPlaces() ? decimalPlaces_ : int(rtl::FormatSettings().CurrencyDecimals);
}

void TcxCustomCurrencyEditProperties::SetDecimalPlaces(int value)
{
    if (AssignedValues()->DecimalPlaces() && value == decimalPlaces_)
        return;
    decimalPlaces_ = value;
    BeginUpdate();
    AssignedValues()->SetDecimalPlaces(true);
    Changed();
    EndUpdate();
}

void TcxCustomCurrencyEditProperties::SetNullable(bool value)
{
    if (value == nullable_)
        return;
    nullable_ = value;
    Changed();
}

void TcxCustomCurrencyEditProperties::SetNullString(const std::string& value)
{
    if (value == nullString_)
        return;
    nullString_ = value;
    Changed();
}

void TcxCustomCurrencyEditProperties::SetUseThousandSeparator(bool value)
{
    if (value == useThousandSeparator_)
        return;
    useThousandSeparator_ = value;
    Changed();
}

bool TcxCustomCurrencyEditProperties::HasEditFormat()
{
    bool isCurrency = false, textEvent = false;
    return !InternalGetEditFormat(isCurrency, textEvent, nullptr).empty() || textEvent;
}

void TcxCustomCurrencyEditProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue,
                                                          bool editFocused)
{
    if (editValue.IsNull() || (VarIsStr(editValue) && VarToStr(editValue).empty())) {
        if (editFocused)
            displayValue = Variant(std::string());
        else if (nullable_)
            displayValue = Variant(nullString_);
        else
            TcxCustomTextEditProperties::PrepareDisplayValue(Variant(0), displayValue, false);
        return;
    }
    try {
        TcxCustomTextEditProperties::PrepareDisplayValue(editValue, displayValue, editFocused);
    } catch (const EConvertError&) {
        displayValue = editFocused ? Variant(std::string()) : editValue;
    } catch (const EVariantError&) {
        displayValue = editFocused ? Variant(std::string()) : editValue;
    }
}

bool TcxCustomCurrencyEditProperties::IsDisplayValueValid(Variant& displayValue, bool editFocused)
{
    if (!editFocused || HasEditFormat())
        return true;
    const std::string text = Trim(VarToStr(displayValue));
    double d = 0;
    if (!StrToFloatEx(text, d))
        return false;
    displayValue = Variant(text);
    return true;
}

void TcxCustomCurrencyEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                           IcxEditValidationTarget* edit)
{
    double d = 0;
    if (!StrToFloatEx(VarToStr(displayValue), d))
        error = true;
    TcxCustomTextEditProperties::ValidateDisplayValue(displayValue, errorText, error, edit);
}

TcxDataEditValueSource TcxCustomCurrencyEditProperties::GetEditValueSource(bool editFocused)
{
    if (editFocused)
        return evsValue;
    IcxEditDefaultValuesProvider* p = GetIDefaultValuesProvider();
    return p && p->IsOnGetTextAssigned() ? evsText : evsValue;
}

std::string TcxCustomCurrencyEditProperties::GetDefaultDisplayFormat()
{
    TcxFormatController* fc = cxFormatController();
    return fc ? fc->CurrencyFormat() : TcxFormatController::GetCurrencyFormat();
}

bool TcxCustomCurrencyEditProperties::HasDigitGrouping(bool isDisplayValueSynchronizing)
{
    return useThousandSeparator_ && !isDisplayValueSynchronizing;
}

TcxCustomEditPropertiesValuesClass TcxCustomCurrencyEditProperties::GetAssignedValuesClass() const
{
    return TcxCustomEditPropertiesValuesClass::Of<TcxCurrencyEditPropertiesValues>();
}

const TClassMeta* TcxCustomCurrencyEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxCurrencyEdit>().Meta();
}

// ---- control -----------------------------------------------------------------------------------------

namespace {
TcxEditClasses CurrencyEditClasses(bool published)
{
    TcxEditClasses c;
    c.Properties = published ? TcxCustomEditPropertiesClass::Of<TcxCurrencyEditProperties>()
                             : TcxCustomEditPropertiesClass::Of<TcxCustomCurrencyEditProperties>();
    c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerTextEdit>();
    return c;
}
} // namespace

TcxCustomCurrencyEdit::TcxCustomCurrencyEdit(TComponent* owner, bool isInplace)
    : TcxCustomTextEdit(owner, isInplace, CurrencyEditClasses(false))
{
}

TcxCustomCurrencyEdit::TcxCustomCurrencyEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomTextEdit(owner, isInplace, classes)
{
}

TcxCurrencyEdit::TcxCurrencyEdit(TComponent* owner, bool isInplace)
    : TcxCustomCurrencyEdit(owner, isInplace, CurrencyEditClasses(true))
{
}

void TcxCustomCurrencyEdit::Initialize()
{
    TcxCustomTextEdit::Initialize();
    ControlStyle.Exclude(csSetCaption);
}

void TcxCustomCurrencyEdit::PrepareEditValue(const Variant& displayValue, Variant& editValue, bool)
{
    const std::string text = VarToStr(displayValue);
    double d = 0;
    if (!text.empty() && text != ActiveProperties()->NullString() && StrToFloatEx(text, d))
        editValue = Variant(d);
    else
        editValue = ActiveProperties()->Nullable() ? Variant::MakeNull() : Variant(0.0);
}

Variant TcxCustomCurrencyEdit::InternalGetEditingValue()
{
    Variant v;
    PrepareEditValue(Variant(Text()), v, true);
    return v;
}

double TcxCustomCurrencyEdit::Value()
{
    if (IsEditFocused() && Modified() && !EditValidated()) {
        const Variant v = InternalGetEditingValue();
        return VarIsNumeric(v) ? v.ToDouble() : 0.0;
    }
    const Variant v = GetEditValue();
    if (v.IsNull() || v.IsEmpty())
        return 0;
    if (VarIsStr(v)) {
        // Read as a double: a valid number is never taken for 0 because it is tiny or large.
        double d = 0;
        return StrToFloatEx(VarToStr(v), d) ? d : 0.0;
    }
    return v.ToDouble();
}

void TcxCustomCurrencyEdit::SetValue(double value)
{
    TcxCustomCurrencyEditProperties* p = ActiveProperties();
    if (p->IsValueBoundDefined(evbMin) && value < p->GetMinValue())
        value = p->GetMinValue();
    else if (p->IsValueBoundDefined(evbMax) && value > p->GetMaxValue())
        value = p->GetMaxValue();
    SetInternalEditValue(Variant(value));
}

void TcxCustomCurrencyEdit::CheckEditValue()
{
    TcxCustomCurrencyEditProperties* p = ActiveProperties();
    if (!DataBinding()->CanCheckEditorValue() || PropertiesChangeLocked() || !p->IsValueBoundsDefined())
        return;
    TcxUserChangeScope userChange(this, Modified());
    const double v = Value();
    if (p->IsValueBoundDefined(evbMin) && v < p->GetMinValue())
        SetValue(p->GetMinValue());
    else if (p->IsValueBoundDefined(evbMax) && v > p->GetMaxValue())
        SetValue(p->GetMaxValue());
}

void TcxCustomCurrencyEdit::PropertiesChanged(TObject* sender)
{
    if (Properties() && !IsEditFocused())
        DataBinding()->UpdateDisplayValue();
    TcxCustomTextEdit::PropertiesChanged(sender);
}

void TcxCustomCurrencyEdit::PasteFromClipboard()
{
    if (CanModify())
        TcxCustomTextEdit::PasteFromClipboard();
}

void TcxCustomCurrencyEdit::KeyPress(char16_t& key)
{
    const rtl::TFormatSettings& fs = rtl::FormatSettings();
    const bool separator = ActiveProperties()->UseThousandSeparator() && key == char16_t(fs.ThousandSeparator);
    if (!separator && (key == u'.' || key == u','))
        key = char16_t(fs.DecimalSeparator);
    TcxCustomTextEdit::KeyPress(key);
}

bool TcxCustomCurrencyEdit::IsTypedTextValid(const std::string& text)
{
    const char dec = rtl::FormatSettings().DecimalSeparator;
    if (const auto point = text.find(dec); point != std::string::npos) {
        const std::string upper = UpperCase(text);
        auto end = upper.find('E', point + 1);
        if (end == std::string::npos)
            end = text.size();
        if (int(end - point - 1) > ActiveProperties()->DecimalPlaces())
            return false;
    }
    double d = 0;
    return StrToFloatEx(text, d);
}

bool TcxCustomCurrencyEdit::IsValidChar(char16_t key)
{
    TcxCustomCurrencyEditProperties* p = ActiveProperties();
    const bool separator = p->UseThousandSeparator() && key == char16_t(rtl::FormatSettings().ThousandSeparator);
    if (!IsNumericChar(key, ntExponent) && !separator)
        return false;
    const std::u16string text = Utf8ToUtf16(Text());
    if (p->HasEditFormat())
        return !IsTypedTextValid(Utf16ToUtf8(text));
    const std::size_t start = std::min<std::size_t>(std::size_t(std::max(SelStart(), 0)), text.size());
    const std::size_t length = std::min<std::size_t>(std::size_t(std::max(SelLength(), 0)), text.size() - start);
    std::u16string rest = text;
    rest.erase(start, length);
    if (key == u'-' && rest.empty())
        return true;
    rest.insert(start, 1, key);
    return IsTypedTextValid(Utf16ToUtf8(rest));
}

// ---- filter helper and start-up -------------------------------------------------------------------

TcxCustomEditClass TcxFilterCurrencyEditHelper::GetFilterEditClass() const
{
    return TcxCustomEditClass::Of<TcxCurrencyEdit>();
}

TcxCustomEditPropertiesClass TcxFilterCurrencyEditHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxCurrencyEditProperties>();
}

TcxFilterControlOperators TcxFilterCurrencyEditHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                                   TcxValueTypeClass,
                                                                                   bool extendedSet) const
{
    return GetNumericFilterOperators(extendedSet);
}

void TcxFilterCurrencyEditHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                       TcxCustomEditProperties* editProperties,
                                                       bool hasButtons) const
{
    TcxFilterTextEditHelper::InitializeProperties(properties, editProperties, hasButtons);
    if (auto* p = dynamic_cast<TcxCustomCurrencyEditProperties*>(properties)) {
        p->SetMinValue(0);
        p->SetMaxValue(0);
        p->SetNullable(true);
        p->SetNullString({});
    }
}

namespace cxCurrencyEditUnit {
namespace {
TcxEditKindUnit<TcxCurrencyEditProperties, TcxFilterCurrencyEditHelper, TcxCurrencyEdit> unit;
} // namespace

void Initialize() { unit.Initialize(&scxSEditRepositoryCurrencyItem); }
void Finalize() { unit.Finalize(); }
} // namespace cxCurrencyEditUnit

} // namespace cx
