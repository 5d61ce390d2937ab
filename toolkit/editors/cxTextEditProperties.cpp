// The text editor's settings: value conversions (display value, display text, formats), echo and
// case, validation and bounds, the lookup items, thousand separators and the unit's start-up.
#include "toolkit/editors/cxTextEdit.h"

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/MessageQueue.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/data/cxCustomData.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

// ---- unit routines ----------------------------------------------------------------------------

void CheckCharsRegister(std::string& text, TEditCharCase charCase)
{
    if (charCase == ecUpperCase)
        text = AnsiUpperCase(text);
    else if (charCase == ecLowerCase)
        text = AnsiLowerCase(text);
}

void RemoveThousandSeparator(std::string& text)
{
    const char sep = rtl::FormatSettings().ThousandSeparator;
    std::erase(text, sep);
}

void RemoveExponentialPart(std::string& text, std::string& exponent)
{
    const std::string upper = UpperCase(text);
    const auto e = upper.find('E');
    if (e == std::string::npos) {
        exponent.clear();
        return;
    }
    exponent = text.substr(e);
    text.erase(e);
}

void InsertThousandSeparator(std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return;
    const auto last = text.find_last_not_of(' ');
    const std::string lead = text.substr(0, first), trail = text.substr(last + 1);
    std::string number = text.substr(first, last - first + 1), exponent;
    RemoveExponentialPart(number, exponent);
    RemoveThousandSeparator(number);
    const char sep = rtl::FormatSettings().ThousandSeparator;
    const auto point = number.find(rtl::FormatSettings().DecimalSeparator);
    int i = int(point == std::string::npos ? number.size() : point) - 1;
    int digits = 0;
    while (i >= 0 && number[std::size_t(i)] >= '0' && number[std::size_t(i)] <= '9') {
        ++digits;
        if (digits % 3 == 0 && i > 0 && number[std::size_t(i - 1)] >= '0' && number[std::size_t(i - 1)] <= '9')
            number.insert(std::size_t(i), 1, sep);
        --i;
    }
    text = lead + number + exponent + trail;
}

// ---- assigned values --------------------------------------------------------------------------

void TcxTextEditPropertiesValues::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxTextEditPropertiesValues*>(source);
    if (!s)
        return TcxCustomEditPropertiesValues::Assign(source);
    BeginUpdate();
    TcxCustomEditPropertiesValues::Assign(source);
    SetDisplayFormat(s->displayFormat_);
    SetEditFormat(s->editFormat_);
    SetMaxLength(s->maxLength_);
    EndUpdate();
}

void TcxTextEditPropertiesValues::RestoreDefaults()
{
    BeginUpdate();
    TcxCustomEditPropertiesValues::RestoreDefaults();
    SetDisplayFormat(false);
    SetEditFormat(false);
    SetMaxLength(false);
    EndUpdate();
}

void TcxTextEditPropertiesValues::SetDisplayFormat(bool value)
{
    if (value == displayFormat_)
        return;
    displayFormat_ = value;
    if (auto* p = dynamic_cast<TcxCustomEditProperties*>(GetOwner()))
        p->Changed();
}

void TcxTextEditPropertiesValues::SetEditFormat(bool value)
{
    if (value == editFormat_)
        return;
    editFormat_ = value;
    if (auto* p = dynamic_cast<TcxCustomEditProperties*>(GetOwner()))
        p->Changed();
}

void TcxTextEditPropertiesValues::SetMaxLength(bool value)
{
    if (value == maxLength_)
        return;
    maxLength_ = value;
    if (auto* p = dynamic_cast<TcxCustomTextEditProperties*>(GetOwner()))
        p->MaxLengthChanged();
}

// ---- properties: settings ---------------------------------------------------------------------

TcxCustomTextEditProperties::TcxCustomTextEditProperties(TPersistent* owner) : TcxCustomEditProperties(owner)
{
    if (TcxFormatController* fc = cxFormatController())
        fc->AddListener(this);
}

TcxCustomTextEditProperties::~TcxCustomTextEditProperties()
{
    if (TcxFormatController* fc = cxFormatController())
        fc->RemoveListener(this);
}

void TcxCustomTextEditProperties::FormatChanged()
{
    formatChanging_ = true;
    Changed();
    formatChanging_ = false;
}

void TcxCustomTextEditProperties::SetCharCase(TEditCharCase value) { SetValue(charCase_, value); }
void TcxCustomTextEditProperties::SetEchoMode(TcxEditEchoMode value) { SetValue(echoMode_, value); }
void TcxCustomTextEditProperties::SetHideCursor(bool value) { SetValue(hideCursor_, value); }
void TcxCustomTextEditProperties::SetHideSelection(bool value) { SetValue(hideSelection_, value); }
void TcxCustomTextEditProperties::SetImeMode(TImeMode value) { SetValue(imeMode_, value); }
void TcxCustomTextEditProperties::SetImeName(const std::string& value) { SetValue(imeName_, value); }
void TcxCustomTextEditProperties::SetIncrementalSearch(bool value) { SetValue(incrementalSearch_, value); }
void TcxCustomTextEditProperties::SetMRUMode(bool value) { SetValue(mruMode_, value); }
void TcxCustomTextEditProperties::SetOEMConvert(bool value) { SetValue(oemConvert_, value); }
void TcxCustomTextEditProperties::SetPasswordChar(char16_t value) { SetValue(passwordChar_, value); }
void TcxCustomTextEditProperties::SetUseDisplayFormatWhenEditing(bool value)
{
    SetValue(useDisplayFormatWhenEditing_, value);
}
void TcxCustomTextEditProperties::SetValidChars(const std::u16string& value) { SetValue(validChars_, value); }

void TcxCustomTextEditProperties::SetFixedListSelection(bool value)
{
    if (value == fixedListSelection_)
        return;
    fixedListSelection_ = value;
    if (GetEditingStyle() == esFixedList)
        Changed();
}

void TcxCustomTextEditProperties::SetDisplayFormat(const std::string& value)
{
    if (AssignedValues()->DisplayFormat() && value == displayFormat_)
        return;
    displayFormat_ = value;
    BeginUpdate();
    AssignedValues()->SetDisplayFormat(true);
    Changed();
    EndUpdate();
}

void TcxCustomTextEditProperties::SetEditFormat(const std::string& value)
{
    if (AssignedValues()->EditFormat() && value == editFormat_)
        return;
    editFormat_ = value;
    BeginUpdate();
    AssignedValues()->SetEditFormat(true);
    Changed();
    EndUpdate();
}

void TcxCustomTextEditProperties::SetLookupItems(const std::vector<std::string>& items)
{
    lookupItems_ = items;
    if (lookupItemsSorted_)
        std::stable_sort(lookupItems_.begin(), lookupItems_.end(),
                         [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    LookupDataChanged(this);
}

void TcxCustomTextEditProperties::SetLookupItemsSorted(bool value)
{
    if (value == lookupItemsSorted_)
        return;
    lookupItemsSorted_ = value;
    SetLookupItems(lookupItems_);
}

int TcxCustomTextEditProperties::MaxLength() const
{
    if (const_cast<TcxCustomTextEditProperties*>(this)->AssignedValues()->MaxLength())
        return maxLength_;
    return const_cast<TcxCustomTextEditProperties*>(this)->GetDefaultMaxLength();
}

void TcxCustomTextEditProperties::SetMaxLength(int value)
{
    value = std::max(0, value);
    const bool wasAssigned = AssignedValues()->MaxLength();
    if (wasAssigned && value == maxLength_)
        return;
    maxLength_ = value;
    if (wasAssigned)
        MaxLengthChanged();
    else
        AssignedValues()->SetMaxLength(true);   // tells MaxLengthChanged
}

int TcxCustomTextEditProperties::GetDefaultMaxLength()
{
    IcxEditDefaultValuesProvider* p = GetIDefaultValuesProvider();
    return p ? p->DefaultMaxLength() : 0;
}

TcxTextEditViewStyle TcxCustomTextEditProperties::ViewStyle() const
{
    if (ButtonsViewStyle() == bvsButtonsOnly)
        return vsButtonsOnly;
    if (ButtonsViewStyle() == bvsButtonsAutoWidth)
        return vsButtonsAutoWidth;
    return hideCursor_ ? vsHideCursor : vsNormal;
}

void TcxCustomTextEditProperties::SetViewStyle(TcxTextEditViewStyle value)
{
    if (value == ViewStyle())
        return;
    static const TcxEditButtonsViewStyle buttons[] = {bvsNormal, bvsNormal, bvsButtonsOnly, bvsButtonsAutoWidth};
    BeginUpdate();
    SetButtonsViewStyle(buttons[value]);
    SetHideCursor(value != vsNormal);
    EndUpdate();
}

void TcxCustomTextEditProperties::SetMinMaxValues(double minValue, double maxValue)
{
    TcxCustomEditPropertiesValues* v = AssignedValues();
    if (v->MinValue() && v->MaxValue() && GetMinValue() == minValue && GetMaxValue() == maxValue)
        return;
    BeginUpdate();
    SetMaxValue(maxValue);
    SetMinValue(minValue);
    Changed();
    EndUpdate();
}

void TcxCustomTextEditProperties::AlignmentChangedHandler(TObject* sender)
{
    BeginUpdate();
    TcxCustomEditProperties::AlignmentChangedHandler(sender);
    EndUpdate();
}

void TcxCustomTextEditProperties::BaseSetAlignment(TcxEditAlignment* value)
{
    BeginUpdate();
    TcxCustomEditProperties::BaseSetAlignment(value);
    EndUpdate();
}

void TcxCustomTextEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomTextEditProperties*>(source);
    if (!s)
        return TcxCustomEditProperties::Assign(source);
    BeginUpdate();
    TcxCustomEditProperties::Assign(source);
    SetCharCase(s->charCase_);
    SetEchoMode(s->echoMode_);
    SetFixedListSelection(s->fixedListSelection_);
    SetHideCursor(s->hideCursor_);
    SetHideSelection(s->hideSelection_);
    immediateUpdateText_ = s->immediateUpdateText_;
    SetIncrementalSearch(s->incrementalSearch_);
    SetMRUMode(s->mruMode_);
    SetValidChars(s->validChars_);
    lookupItemsSorted_ = false;
    SetLookupItems(s->lookupItems_);
    SetLookupItemsSorted(s->lookupItemsSorted_);
    AssignedValues()->SetDisplayFormat(false);
    AssignedValues()->SetEditFormat(false);
    AssignedValues()->SetMaxLength(false);
    if (s->AssignedValues()->DisplayFormat())
        SetDisplayFormat(s->displayFormat_);
    if (s->AssignedValues()->EditFormat())
        SetEditFormat(s->editFormat_);
    if (s->AssignedValues()->MaxLength())
        SetMaxLength(s->maxLength_);
    SetOEMConvert(s->oemConvert_);
    SetImeMode(s->imeMode_);
    SetImeName(s->imeName_);
    SetPasswordChar(s->passwordChar_);
    SetUseDisplayFormatWhenEditing(s->useDisplayFormatWhenEditing_);
    OnNewLookupDisplayText = s->OnNewLookupDisplayText;
    EndUpdate();
}

// ---- conversions ------------------------------------------------------------------------------

std::string TcxCustomTextEditProperties::FormatNumeric(const Variant& value, bool editFocused)
{
    if (!editFocused) {
        const std::string format = GetDisplayFormat();
        return format.empty() ? VarToStr(value) : cxFormatFloat(format, value.ToDouble());
    }
    bool isCurrency = false, textEvent = false;
    const std::string format = InternalGetEditFormat(isCurrency, textEvent, nullptr);
    IcxEditDefaultValuesProvider* provider = GetIDefaultValuesProvider();
    const int precision = provider ? provider->DefaultPrecision() : 15;
    std::string text = VarToStr(value);
    double d = 0;
    if (isCurrency) {
        if (rtl::TryStrToFloat(text, d)) {
            const std::string f = "0." + std::string(rtl::FormatSettings().CurrencyDecimals, '0');
            text = cxFormatFloat(rtl::FormatSettings().CurrencyDecimals ? f : "0", d);
        }
        return text;
    }
    if (!format.empty())
        return cxFormatFloat(format, value.ToDouble());
    if (rtl::TryStrToFloat(text, d) && precision >= 15)
        text = rtl::FloatToStr(d);
    if (HasDigitGrouping(false))
        InsertThousandSeparator(text);
    return text;
}

void TcxCustomTextEditProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue,
                                                      bool editFocused)
{
    if (IsEditValueNumeric()) {
        if (VarIsSoftNull(editValue)) {
            displayValue = Variant(std::string());
            return;
        }
        if (!VarIsNumeric(editValue) && !VarIsStr(editValue))
            throw EConvertError(cxGetResourceString(&cxSEditNumericValueConvertError));
        displayValue = Variant(FormatNumeric(editValue, editFocused));
        return;
    }
    if (editValue.IsArray() && editValue.DimCount() != 1) {
        displayValue = Variant(std::string());
        return;
    }
    displayValue = Variant(dxVariantToString(editValue));
}

void TcxCustomTextEditProperties::GetDefaultDisplayValue(const Variant& editValue, bool editFocused,
                                                         Variant& displayValue)
{
    Variant copy = editValue;
    if (IsEditValueValid(copy, editFocused))
        PrepareDisplayValue(copy, displayValue, editFocused);
    else if (VarType(editValue) == varDate)
        displayValue = Variant(rtl::DateTimeToStr(editValue.ToDate()));
    else
        displayValue = Variant(VarToStr(editValue));
}

std::u16string TcxCustomTextEditProperties::GetDisplayText(const Variant& editValue, bool, bool isInplace)
{
    std::string text;
    // A value that cannot be converted is painted as an empty text; the paint goes on.
    try {
        if (IsValueEditorWithValueFormatting()) {
            text = VarToStr(editValue);
        } else {
            Variant dv;
            GetDefaultDisplayValue(editValue, !isInplace && !IsEditValueConversionDependOnFocused(), dv);
            text = VarToStr(dv);
        }
    } catch (const Exception&) {
        text.clear();
    }
    DisplayValueToDisplayText(text);
    return Utf8ToUtf16(text);
}

void TcxCustomTextEditProperties::DisplayValueToDisplayText(std::string& text)
{
    if (echoMode_ == eemPassword) {
        const std::size_t n = Utf8ToUtf16(text).size();
        text = Utf16ToUtf8(std::u16string(n, passwordChar_ ? passwordChar_ : u'*'));
        return;
    }
    if (charCase_ != ecNormal)
        CheckCharsRegister(text, charCase_);
}

std::string TcxCustomTextEditProperties::GetDisplayFormat()
{
    if (AssignedValues()->DisplayFormat())
        return displayFormat_;
    IcxEditDefaultValuesProvider* p = GetIDefaultValuesProvider();
    if (p && !p->DefaultDisplayFormat().empty())
        return p->DefaultDisplayFormat();
    return GetDefaultDisplayFormat();
}

std::string TcxCustomTextEditProperties::GetEditFormat()
{
    bool c = false, t = false;
    return InternalGetEditFormat(c, t, nullptr);
}

std::string TcxCustomTextEditProperties::InternalGetEditFormat(bool& isCurrency, bool& isOnGetTextAssigned,
                                                               TcxCustomEdit* edit)
{
    isCurrency = false;
    isOnGetTextAssigned = false;
    if (AssignedValues()->EditFormat())
        return editFormat_;
    IcxEditDefaultValuesProvider* p = GetIDefaultValuesProvider();
    if ((!edit || !edit->IsInplace()) && p && p->IsOnGetTextAssigned()) {
        isOnGetTextAssigned = true;
        return {};
    }
    if (p && !p->DefaultEditFormat().empty())
        return p->DefaultEditFormat();
    std::string candidate;
    if (AssignedValues()->DisplayFormat())
        candidate = displayFormat_;
    else if (p && !p->DefaultDisplayFormat().empty())
        candidate = p->DefaultDisplayFormat();
    else if (!GetDefaultDisplayFormat().empty())
        candidate = GetDefaultDisplayFormat();
    else if (p)
        isCurrency = !GetDisplayFormatOptions().Contains(dfoNoCurrencyValue) && p->IsCurrency();
    return useDisplayFormatWhenEditing_ ? candidate : std::string();
}

// ---- validation -------------------------------------------------------------------------------

bool TcxCustomTextEditProperties::IsEditValueValid(Variant& editValue, bool editFocused)
{
    if (editValue.IsNull() || !VarIsStr(editValue))
        return true;
    return IsDisplayValueValid(editValue, editFocused);
}

bool TcxCustomTextEditProperties::IsDisplayValueValid(Variant& displayValue, bool)
{
    std::string s = VarToStr(displayValue);
    const TcxEditEditingStyle style = GetEditingStyle();
    if (!s.empty() && (style == esEditList || style == esFixedList) && UseLookupData() && !FindLookupText(s))
        return false;
    CheckCharsRegister(s, charCase_);
    displayValue = Variant(s);
    return true;
}

void TcxCustomTextEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                       IcxEditValidationTarget* edit)
{
    if (IsEditValueNumeric() && IsValueBoundsDefined())
        CheckEditorValueBounds(displayValue, errorText, error, dynamic_cast<TcxCustomEdit*>(edit));
    TcxCustomEditProperties::ValidateDisplayValue(displayValue, errorText, error, edit);
}

void TcxCustomTextEditProperties::CheckEditorValueBounds(Variant& displayValue, std::string& errorText, bool& error,
                                                         TcxCustomEdit* edit)
{
    Variant v = displayValue;
    if (edit)
        edit->PrepareEditValue(displayValue, v, edit->InternalFocused());
    if (!VarIsNumeric(v) && VarType(v) != varDate)
        return;
    const double d = v.ToDouble();
    if ((IsValueBoundDefined(evbMin) && d < GetMinValue()) || (IsValueBoundDefined(evbMax) && d > GetMaxValue())) {
        error = true;
        errorText = GetValidateErrorText(1);
    }
}

bool TcxCustomTextEditProperties::IsValueBoundDefined(TcxEditValueBound bound)
{
    const bool minFlag = AssignedValues()->MinValue(), maxFlag = AssignedValues()->MaxValue();
    if (minFlag != maxFlag)
        return bound == evbMin ? minFlag : maxFlag;
    return GetMaxValue() > GetMinValue();
}

bool TcxCustomTextEditProperties::IsValueBoundsDefined()
{
    return IsValueBoundDefined(evbMin) || IsValueBoundDefined(evbMax);
}

std::string TcxCustomTextEditProperties::GetValidateErrorText(int errorKind)
{
    if (errorKind == 1)
        return cxGetResourceString(&cxSEditValueOutOfBounds);
    return TcxCustomEditProperties::GetValidateErrorText(errorKind);
}

bool TcxCustomTextEditProperties::FindLookupText(const std::string& text)
{
    for (const std::string& item : lookupItems_)
        if (AnsiSameText(item, text))
            return true;
    return false;
}

bool TcxCustomTextEditProperties::CanIncrementalSearch()
{
    const TcxEditEditingStyle style = GetEditingStyle();
    return style == esEditList || style == esFixedList || (style == esEdit && incrementalSearch_);
}

bool TcxCustomTextEditProperties::CompareDisplayValues(const Variant& v1, const Variant& v2)
{
    return GetDisplayText(v1, true, false) == GetDisplayText(v2, true, false);
}

// ---- kind -------------------------------------------------------------------------------------

TcxEditDisplayFormatOptions TcxCustomTextEditProperties::GetDisplayFormatOptions() const
{
    return TcxEditDisplayFormatOptions{dfoSupports};
}

TcxEditSupportedOperations TcxCustomTextEditProperties::GetSupportedOperations()
{
    return TcxCustomEditProperties::GetSupportedOperations() +
           TcxEditSupportedOperations{esoAutoHeight, esoEditing, esoFiltering, esoHorzAlignment, esoIncSearch,
                                      esoSorting};
}

TcxCustomEditPropertiesValuesClass TcxCustomTextEditProperties::GetAssignedValuesClass() const
{
    return TcxCustomEditPropertiesValuesClass::Of<TcxTextEditPropertiesValues>();
}

TcxCustomTextEditLookupDataClass TcxCustomTextEditProperties::GetLookupDataClass() const
{
    return TcxCustomTextEditLookupDataClass::Of<TcxCustomTextEditLookupData>();
}

const TClassMeta* TcxCustomTextEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxTextEdit>().Meta();
}

// ---- filter helper and start-up -----------------------------------------------------------------

TcxCustomEditClass TcxFilterTextEditHelper::GetFilterEditClass() const { return TcxCustomEditClass::Of<TcxTextEdit>(); }

TcxCustomEditPropertiesClass TcxFilterTextEditHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>();
}

void TcxFilterTextEditHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                   TcxCustomEditProperties* editProperties, bool hasButtons) const
{
    TcxCustomFilterEditHelper::InitializeProperties(properties, editProperties, hasButtons);
    properties->SetAutoSelect(true);
    if (auto* p = dynamic_cast<TcxCustomTextEditProperties*>(properties)) {
        p->SetHideSelection(true);
        p->SetViewStyle(vsNormal);
    }
}

// The value becomes the editor's edit value, not just its text: activating the editor shows its
// edit value again, and a value left untouched is read back from it.
void TcxFilterTextEditHelper::SetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties*,
                                             const Variant& value) const
{
    edit->SetEditValue(value);
}

namespace cxTextEditUnit {
namespace {
int counter = 0;
UINT redrawMessage = 0, autoCorrectMessage = 0;
} // namespace

void Initialize()
{
    if (counter++ > 0)
        return;
    redrawMessage = vcl::RegisterWindowMessage("WM_REDRAWMISSPELLINGS");
    autoCorrectMessage = vcl::RegisterWindowMessage("WM_SPELLCHECKERAUTOCORRECT");
    RegisterEditKind(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>(),
                     cxGetResourceString(&scxSEditRepositoryTextItem),
                     TcxCustomFilterEditHelper::Of<TcxFilterTextEditHelper>());
    TcxCustomEditClass::Of<TcxTextEdit>();
}

void Finalize()
{
    if (counter == 0 || --counter > 0)
        return;
    UnregisterEditKind(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>().Meta(),
                       TcxCustomFilterEditHelper::Of<TcxFilterTextEditHelper>());
}

UINT RedrawMisspellingsMessage() { return redrawMessage; }
UINT SpellCheckerAutoCorrectMessage() { return autoCorrectMessage; }
} // namespace cxTextEditUnit

} // namespace cx
