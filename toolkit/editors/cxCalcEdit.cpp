// The calculator editor: precision, number parsing, the display text, typing, the popup
// calculator bound to the editor's text, the filter helper and the unit's start-up.
#include "toolkit/editors/cxCalcEdit.h"

#include <cmath>
#include <cstdio>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxCurrencyEdit.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

namespace {
// The exponent format: `digits` significant digits, the locale's decimal separator, an exponent
// without leading zeros ("1.50000000000000E+3").
std::string ExponentText(double value, int digits)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", std::max(digits, 1) - 1, value);
    std::string s = buf;
    const auto e = s.find('E');
    if (e == std::string::npos)
        return s;   // inf or nan: not reached for the values accepted here
    std::string mantissa = s.substr(0, e);
    const int exponent = std::atoi(s.c_str() + e + 1);
    if (const auto dot = mantissa.find('.'); dot != std::string::npos)
        mantissa[dot] = rtl::FormatSettings().DecimalSeparator;
    return mantissa + "E" + (exponent < 0 ? "-" : "+") + std::to_string(std::abs(exponent));
}

// Trailing zeros of the mantissa and then a bare decimal separator go; the exponent stays.
void TrimMantissa(std::string& text)
{
    const char dec = rtl::FormatSettings().DecimalSeparator;
    const auto e = text.find('E');
    std::string mantissa = text.substr(0, e), exponent = e == std::string::npos ? "" : text.substr(e);
    if (mantissa.find(dec) == std::string::npos)
        return;
    while (!mantissa.empty() && mantissa.back() == '0')
        mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == dec)
        mantissa.pop_back();
    text = mantissa + exponent;
}

bool IsEmptyValue(const Variant& v) { return v.IsNull() || (VarIsStr(v) && VarToStr(v).empty()); }
} // namespace

// ---- assigned values ------------------------------------------------------------------------------

void TcxCalcEditPropertiesValues::Assign(TPersistent* source)
{
    BeginUpdate();
    TcxTextEditPropertiesValues::Assign(source);
    if (auto* s = dynamic_cast<TcxCalcEditPropertiesValues*>(source))
        SetPrecision(s->precision_);
    EndUpdate();
}

void TcxCalcEditPropertiesValues::RestoreDefaults()
{
    BeginUpdate();
    TcxTextEditPropertiesValues::RestoreDefaults();
    SetPrecision(false);
    EndUpdate();
}

void TcxCalcEditPropertiesValues::SetPrecision(bool value) { SetAssigned(precision_, value); }

// ---- properties -----------------------------------------------------------------------------------

TcxCustomCalcEditProperties::TcxCustomCalcEditProperties(TPersistent* owner) : TcxCustomPopupEditProperties(owner)
{
    SetBeepOnError(true);
    popupSizeable_ = false;
    SetImmediateDropDown(false);
}

void TcxCustomCalcEditProperties::Assign(TPersistent* source)
{
    BeginUpdate();
    TcxCustomPopupEditProperties::Assign(source);
    if (auto* s = dynamic_cast<TcxCustomCalcEditProperties*>(source)) {
        SetQuickClose(s->quickClose_);
        SetScientificFormat(s->scientificFormat_);
        SetUseThousandSeparator(s->useThousandSeparator_);
        AssignedValues()->SetPrecision(false);
        if (s->AssignedValues()->Precision())
            SetPrecision(s->precision_);
    }
    EndUpdate();
}

int TcxCustomCalcEditProperties::GetPrecision()
{
    int result = 15;
    if (AssignedValues()->Precision())
        result = precision_;
    else if (IcxEditDefaultValuesProvider* p = GetIDefaultValuesProvider())
        result = p->DefaultPrecision();
    return result >= 16 ? 15 : result;
}

void TcxCustomCalcEditProperties::SetPrecision(int value)
{
    value = std::clamp(value, 0, 255);
    if (AssignedValues()->Precision() && value == precision_)
        return;
    precision_ = value;
    AssignedValues()->SetPrecision(true);
    Changed();
}

bool TcxCustomCalcEditProperties::StrToFloatEx(const std::string& text, double& value) const
{
    std::string rest = rtl::Trim(text);
    RemoveThousandSeparator(rest);
    if (rest.empty()) {
        value = 0;
        return false;
    }
    return cx::StrToFloatEx(rest, value);
}

std::string TcxCustomCalcEditProperties::FormatValue(double value)
{
    int digits = GetPrecision();
    if (digits == 0)
        digits = 15;
    std::string text;
    if (scientificFormat_) {
        text = ExponentText(value, digits);
        TrimMantissa(text);
    } else {
        text = rtl::FloatToStrG(value, digits);
        if (useThousandSeparator_)
            InsertThousandSeparator(text);
    }
    return text;
}

void TcxCustomCalcEditProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue,
                                                      bool editFocused)
{
    if (IsEmptyValue(editValue)) {
        displayValue = Variant(std::string());
        return;
    }
    // A value that does not convert shows as an empty text rather than failing the paint.
    try {
        if (editFocused || DisplayFormat().empty()) {
            double d = 0;
            if (VarIsStr(editValue)) {
                if (!rtl::TryStrToFloat(rtl::Trim(VarToStr(editValue)), d)) {
                    displayValue = Variant(std::string());
                    return;
                }
            } else {
                d = editValue.ToDouble();
            }
            displayValue = Variant(FormatValue(d));
        } else {
            TcxCustomPopupEditProperties::PrepareDisplayValue(editValue, displayValue, editFocused);
        }
    } catch (const EConvertError&) {
        displayValue = Variant(std::string());
    } catch (const EVariantError&) {
        displayValue = Variant(std::string());
    }
}

bool TcxCustomCalcEditProperties::IsEditValueValid(Variant& editValue, bool)
{
    if (IsEmptyValue(editValue) || VarIsNumeric(editValue))
        return true;
    double d = 0;
    return VarIsStr(editValue) && rtl::TryStrToFloat(rtl::Trim(VarToStr(editValue)), d);
}

void TcxCustomCalcEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                       IcxEditValidationTarget* edit)
{
    error = false;
    TcxCustomPopupEditProperties::ValidateDisplayValue(displayValue, errorText, error, edit);
}

TcxDataEditValueSource TcxCustomCalcEditProperties::GetEditValueSource(bool editFocused)
{
    IcxEditDefaultValuesProvider* p = GetIDefaultValuesProvider();
    if (!editFocused && DisplayFormat().empty() && p && p->IsDisplayFormatDefined(true))
        return evsText;
    return evsValue;
}

TcxCustomEditPropertiesValuesClass TcxCustomCalcEditProperties::GetAssignedValuesClass() const
{
    return TcxCustomEditPropertiesValuesClass::Of<TcxCalcEditPropertiesValues>();
}

const TClassMeta* TcxCustomCalcEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxCalcEdit>().Meta();
}

// ---- the popup calculator -------------------------------------------------------------------------

TcxPopupCalculator::TcxPopupCalculator(TComponent* owner, TcxCustomCalcEdit* edit)
    : TcxCustomCalculator(owner), edit_(edit)
{
    isPopup_ = true;
}

TcxPopupCalculator::~TcxPopupCalculator()
{
    if (edit_ && edit_->calculator_ == this)
        edit_->calculator_ = nullptr;
}

void TcxPopupCalculator::Init() { ResetInput(); }

TcxCustomLookAndFeelPainterClass TcxPopupCalculator::GetPainter() const
{
    return edit_->PopupControlsLookAndFeel()->GetPainter();
}

void TcxPopupCalculator::GetEditorValue(std::string& value) const { value = edit_->Text(); }

void TcxPopupCalculator::SetEditorValue(const std::string& value)
{
    if (!edit_->DoEditing())
        return;
    edit_->InnerEdit()->SetEditValue(Variant(value));
    edit_->SetModifiedAfterEnter(true);
}

void TcxPopupCalculator::LockChanges(bool lock, bool invokeChanged) { edit_->LockChangeEvents(lock, invokeChanged); }

void TcxPopupCalculator::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxCustomCalculator::KeyDown(key, shift);
    const bool alt = shift.Contains(ssAlt);
    switch (key) {
    case VK_TAB: edit_->HandlePopupKey(key, shift); break;
    case VK_RETURN: HidePopup(this, crEnter); break;
    case VK_ESCAPE: HidePopup(this, crCancel); break;
    case VK_UP:
    case VK_DOWN:
        if (alt)
            HidePopup(this, crClose);
        break;
    case VK_F4:
        if (!alt)
            HidePopup(this, crClose);
        break;
    case VK_INSERT:
        if (shift.Contains(ssShift))
            PasteFromClipboard();
        else if (shift.Contains(ssCtrl))
            CopyToClipboard();
        break;
    default: break;
    }
}

void TcxPopupCalculator::KeyPress(char16_t& key)
{
    const char16_t typed = key;
    TcxCustomCalculator::KeyPress(key);
    if (typed == u'=' && edit_->ActiveProperties()->QuickClose())
        HidePopup(this, crEnter);
}

// ---- the editor -----------------------------------------------------------------------------------

namespace {
TcxEditClasses CalcEditClasses(bool published)
{
    return TcxCustomDropDownEdit::DropDownClassesWith(
        published ? TcxCustomEditPropertiesClass::Of<TcxCalcEditProperties>()
                  : TcxCustomEditPropertiesClass::Of<TcxCustomCalcEditProperties>());
}
} // namespace

TcxCustomCalcEdit::TcxCustomCalcEdit(TComponent* owner, bool isInplace)
    : TcxCustomPopupEdit(owner, isInplace, CalcEditClasses(false))
{
    SetEditValueSilently(Variant(0.0));
}

TcxCustomCalcEdit::TcxCustomCalcEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomPopupEdit(owner, isInplace, classes)
{
    SetEditValueSilently(Variant(0.0));
}

TcxCalcEdit::TcxCalcEdit(TComponent* owner, bool isInplace) : TcxCustomCalcEdit(owner, isInplace, CalcEditClasses(true))
{
}

TcxCustomCalcEdit::~TcxCustomCalcEdit()
{
    // The calculator goes first, while the editor and its popup window are whole.
    if (HasPopupWindowObject() && DroppedDown())
        CloseUp(crUnknown);
    if (calculator_) {
        bindingPopup_ = true;
        if (Properties() && Properties()->PopupControl() == calculator_)
            Properties()->SetPopupControl(nullptr);
        TcxPopupCalculator* c = calculator_;
        calculator_ = nullptr;
        c->edit_ = nullptr;
        c->Free();
    }
}

// Made on first need: the base constructor's initialization cannot reach this class.
TcxPopupCalculator* TcxCustomCalcEdit::Calculator()
{
    if (calculator_)
        return calculator_;
    calculator_ = new TcxPopupCalculator(this, this);
    calculator_->AutoFontSize = false;
    calculator_->OnHidePopup = [this](TObject* sender, TcxEditCloseUpReason reason) { HidePopup(sender, reason); };
    calculator_->BeepOnError = ActiveProperties()->BeepOnError();
    calculator_->Precision = ActiveProperties()->GetPrecision();
    BindPopupControl();
    return calculator_;
}

void TcxCustomCalcEdit::BindPopupControl()
{
    if (!calculator_ || !Properties())
        return;
    bindingPopup_ = true;
    Properties()->SetPopupControlSilently(calculator_);
    bindingPopup_ = false;
}

double TcxCustomCalcEdit::Value()
{
    const Variant v = EditValue();
    if (IsEmptyValue(v))
        return 0;
    if (VarIsStr(v)) {
        double d = 0;
        return rtl::TryStrToFloat(rtl::Trim(VarToStr(v)), d) ? d : 0;
    }
    return v.ToDouble();
}

void TcxCustomCalcEdit::SetValue(double value) { SetInternalEditValue(Variant(value)); }

void TcxCustomCalcEdit::PrepareEditValue(const Variant& displayValue, Variant& editValue, bool)
{
    TcxCustomCalcEditProperties* p = ActiveProperties();
    std::string text = VarToStr(displayValue);
    if (!p->ScientificFormat() && p->UseThousandSeparator())
        RemoveThousandSeparator(text);
    text = rtl::Trim(text);
    double d = 0;
    if (!text.empty() && rtl::TryStrToFloat(text, d))
        editValue = Variant(d);
    else
        editValue = Variant::MakeNull();
}

Variant TcxCustomCalcEdit::InternalGetEditingValue()
{
    Variant v;
    PrepareEditValue(Variant(Text()), v, true);
    return v;
}

bool TcxCustomCalcEdit::IsValidChar(char16_t key)
{
    if (!IsNumericChar(key, ntExponent))
        return false;
    const std::u16string text = Utf8ToUtf16(Text());
    const std::size_t start = std::min<std::size_t>(std::size_t(std::max(SelStart(), 0)), text.size());
    const std::size_t length = std::min<std::size_t>(std::size_t(std::max(SelLength(), 0)), text.size() - start);
    std::u16string rest = text;
    rest.erase(start, length);
    if (key == u'-' && rest.empty())
        return true;
    rest.insert(start, 1, key);
    double d = 0;
    return ActiveProperties()->StrToFloatEx(Utf16ToUtf8(rest), d);
}

void TcxCustomCalcEdit::KeyPress(char16_t& key)
{
    if (key == u'.' || key == u',')
        key = char16_t(rtl::FormatSettings().DecimalSeparator);
    // Dropped here so that the beep follows BeepOnError.
    if (IsTextChar(key) && !IsValidChar(key)) {
        key = 0;
        if (ActiveProperties()->BeepOnError())
            vcl::System().Beep();
        return;
    }
    TcxCustomPopupEdit::KeyPress(key);
}

bool TcxCustomCalcEdit::PopupControlClosesOnKey(std::uint16_t key, TShiftState shift)
{
    // Only keys inside the popup window come here, and the calculator is its only control.
    return key == VK_RETURN && !shift.Contains(ssAlt) && calculator_;
}

void TcxCustomCalcEdit::PropertiesChanged(TObject* sender)
{
    if (bindingPopup_)
        return;
    if (calculator_ && ActiveProperties()) {
        calculator_->BeepOnError = ActiveProperties()->BeepOnError();
        calculator_->Precision = ActiveProperties()->GetPrecision();
    }
    BindPopupControl();
    TcxCustomPopupEdit::PropertiesChanged(sender);
}

void TcxCustomCalcEdit::PasteFromClipboard()
{
    if (DroppedDown() && calculator_) {
        if (DoEditing())
            calculator_->PasteFromClipboard();
        return;
    }
    TcxCustomPopupEdit::PasteFromClipboard();
}

bool TcxCustomCalcEdit::CanDropDown()
{
    Calculator();
    return !ActiveProperties()->GetReadOnly() && DataBinding()->GetIsDataAvailable();
}

void TcxCustomCalcEdit::DoInitPopup()
{
    Calculator();
    BindPopupControl();
    TcxCustomPopupEdit::DoInitPopup();
}

void TcxCustomCalcEdit::CreatePopupWindow()
{
    TcxCustomPopupEdit::CreatePopupWindow();
    // The calculator works on the editor's text while the editor keeps running: no modal loop.
    PopupWindow()->ModalMode = false;
}

void TcxCustomCalcEdit::InitializePopupWindow()
{
    TcxCustomPopupEdit::InitializePopupWindow();
    Calculator()->HandleNeeded();
    Calculator()->Font()->Assign(GetVisibleFont());
    // The calculator takes the size its buttons need at the editor's font; the drop-down
    // window takes the calculator's.
    int w = 0, h = 0;
    TcxPopupCalculator* calc = Calculator();
    calc->CalcSize(w, h);
    calc->SetBounds(calc->Left(), calc->Top(), calc->Width() - calc->ClientWidth() + w,
                    calc->Height() - calc->ClientHeight() + h);
}

void TcxCustomCalcEdit::PopupWindowShowed(TObject* sender)
{
    TcxCustomPopupEdit::PopupWindowShowed(sender);
    Calculator()->Init();
}

void TcxCustomCalcEdit::PopupWindowClosed(TObject* sender)
{
    if (Text() == cxGetResourceString(&scxSCalcError))
        InternalSetEditValue(Variant(0.0), false);
    if (ActiveProperties()->AutoSelect())
        SelectAll();
    else
        SetSelStart(int(Utf8ToUtf16(Text()).size()));
    TcxCustomPopupEdit::PopupWindowClosed(sender);
}

// ---- filter helper and start-up -------------------------------------------------------------------

TcxCustomEditClass TcxFilterCalcEditHelper::GetFilterEditClass() const { return TcxCustomEditClass::Of<TcxCalcEdit>(); }

TcxCustomEditPropertiesClass TcxFilterCalcEditHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxCalcEditProperties>();
}

TcxFilterControlOperators TcxFilterCalcEditHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                               TcxValueTypeClass,
                                                                               bool extendedSet) const
{
    return GetNumericFilterOperators(extendedSet);
}

void TcxFilterCalcEditHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                   TcxCustomEditProperties* editProperties, bool hasButtons) const
{
    TcxFilterDropDownEditHelper::InitializeProperties(properties, editProperties, hasButtons);
    if (auto* p = dynamic_cast<TcxCustomCalcEditProperties*>(properties))
        p->SetQuickClose(true);
}

namespace cxCalcEditUnit {
namespace {
TcxEditKindUnit<TcxCalcEditProperties, TcxFilterCalcEditHelper, TcxCalcEdit> unit;
} // namespace

void Initialize() { unit.Initialize(&scxSEditRepositoryCalcItem); }
void Finalize() { unit.Finalize(); }
} // namespace cxCalcEditUnit

} // namespace cx
