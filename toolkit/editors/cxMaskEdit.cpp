// The mask editor's properties, its filter helper and start-up. The control lives in
// cxMaskEditControl.cpp.
#include "toolkit/editors/cxMaskEdit.h"

#include "platform/rtl/Unicode.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

// ---- properties -------------------------------------------------------------------------------

TcxCustomMaskEditProperties::TcxCustomMaskEditProperties(TPersistent* owner) : TcxCustomTextEditProperties(owner)
{
    SetValidateOnEnter(true);
}

TcxCustomMaskEditProperties::~TcxCustomMaskEditProperties() = default;

void TcxCustomMaskEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomMaskEditProperties*>(source);
    if (!s)
        return TcxCustomTextEditProperties::Assign(source);
    BeginUpdate();
    try {
        TcxCustomTextEditProperties::Assign(source);
        SetMaskKind(s->maskKind_);
        SetEditMask(s->GetEditMask());
        SetCaseInsensitive(s->caseInsensitive_);
        SetIgnoreMaskBlank(s->ignoreMaskBlank_);
        SetAlwaysShowBlanksAndLiterals(s->alwaysShowBlanksAndLiterals_);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomMaskEditProperties::SetMaskKind(TcxEditMaskKind value)
{
    if (maskKind_ == value)
        return;
    maskKind_ = value;
    Changed();
}

bool TcxCustomMaskEditProperties::EmptyMask(const TcxEditMask& mask)
{
    for (char c : mask)
        if (c != 0 && c != '\t' && c != '\n' && c != '\f' && c != '\r' && c != ' ')
            return false;
    return true;
}

TcxEditMask TcxCustomMaskEditProperties::GetEditMask() const
{
    if (maskKind_ == emkStandard && EmptyMask(editMask_)) {
        if (IcxEditDefaultValuesProvider* provider = GetIDefaultValuesProvider())
            return provider->DefaultEditMask();
        return {};
    }
    return editMask_;
}

void TcxCustomMaskEditProperties::SetEditMask(const TcxEditMask& value)
{
    if (value == GetEditMask()) {
        editMask_ = value;
        return;
    }
    if (!EmptyMask(value)) {
        // Compiled first: a mask that does not compile raises and the old one stays.
        std::unique_ptr<TcxMaskEditCustomMode> probe(GetModeClass(maskKind_).Create(nullptr, ModeSettings()));
        probe->Compile(Utf8ToUtf16(value));
    }
    editMask_ = value;
    Changed();
}

void TcxCustomMaskEditProperties::SetCaseInsensitive(bool value)
{
    caseInsensitive_ = CharCase() != ecNormal ? true : value;
    Changed();
}

void TcxCustomMaskEditProperties::SetCharCase(TEditCharCase value)
{
    if (value != ecNormal)
        caseInsensitive_ = true;
    TcxCustomTextEditProperties::SetCharCase(value);
}

void TcxCustomMaskEditProperties::SetAlwaysShowBlanksAndLiterals(bool value)
{
    if (alwaysShowBlanksAndLiterals_ == value)
        return;
    alwaysShowBlanksAndLiterals_ = value;
    Changed();
}

TcxMaskEditModeClass TcxCustomMaskEditProperties::GetModeClass(TcxEditMaskKind kind) const
{
    switch (kind) {
    case emkRegExpr: return TcxMaskEditModeClass::Of<TcxMaskEditRegExprMode>();
    case emkRegExprEx: return TcxMaskEditModeClass::Of<TcxMaskEditRegExprExMode>();
    default: return TcxMaskEditModeClass::Of<TcxMaskEditStandardMode>();
    }
}

TcxMaskModeSettings TcxCustomMaskEditProperties::ModeSettings() const
{
    TcxMaskModeSettings s;
    s.BeepOnError = BeepOnError();
    s.IgnoreMaskBlank = ignoreMaskBlank_;
    s.CaseInsensitive = caseInsensitive_;
    s.CharCaseNormal = CharCase() == ecNormal;
    return s;
}

std::unique_ptr<TcxMaskEditCustomMode> TcxCustomMaskEditProperties::CreateMode(IcxMaskEditHost* host)
{
    if (!IsMasked())
        return nullptr;
    std::unique_ptr<TcxMaskEditCustomMode> mode(GetModeClass(maskKind_).Create(host, ModeSettings()));
    mode->Compile(Utf8ToUtf16(GetEditMask()));
    return mode;
}

void TcxCustomMaskEditProperties::Changed()
{
    temporaryMode_.reset();
    TcxCustomTextEditProperties::Changed();
}

TcxEditDisplayFormatOptions TcxCustomMaskEditProperties::GetDisplayFormatOptions() const
{
    if (IsMasked())
        return {};
    return TcxCustomTextEditProperties::GetDisplayFormatOptions();
}

bool TcxCustomMaskEditProperties::IsEditValueValid(Variant& editValue, bool editFocused)
{
    return IsMasked() || TcxCustomTextEditProperties::IsEditValueValid(editValue, editFocused);
}

bool TcxCustomMaskEditProperties::UseLookupData() const
{
    return !IsMasked() && TcxCustomTextEditProperties::UseLookupData();
}

void TcxCustomMaskEditProperties::MaxLengthChanged()
{
    if (!IsMasked()) {
        TcxCustomTextEditProperties::MaxLengthChanged();
        return;
    }
    // A masked editor's length is the mask's: the limit goes back to 0.
    if (maxLengthResetting_)
        return;
    maxLengthResetting_ = true;
    BeginUpdate();
    try {
        SetMaxLength(0);
    } catch (...) {
        maxLengthResetting_ = false;
        EndUpdate();
        throw;
    }
    maxLengthResetting_ = false;
    EndUpdate();
}

bool TcxCustomMaskEditProperties::TemporaryModeFits() const
{
    return temporaryMode_ && temporaryMode_->GetMaskKind() == maskKind_ &&
           temporaryMode_->Mask() == Utf8ToUtf16(GetEditMask());
}

void TcxCustomMaskEditProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue,
                                                      bool editFocused)
{
    IcxEditDefaultValuesProvider* provider = GetIDefaultValuesProvider();
    if (!IsMasked() || (!editFocused && provider && provider->IsDisplayFormatDefined(true))) {
        TcxCustomTextEditProperties::PrepareDisplayValue(editValue, displayValue, editFocused);
        return;
    }
    if (!TemporaryModeFits())
        temporaryMode_ = CreateMode(nullptr);
    temporaryMode_->SetSettings(ModeSettings());
    const std::u16string text = Utf8ToUtf16(VarToStr(editValue));
    std::u16string shown;
    if (editFocused || maskKind_ != emkStandard || alwaysShowBlanksAndLiterals_)
        shown = temporaryMode_->GetFormattedText(text);
    else
        shown = temporaryMode_->GetUpdatedText(text);
    displayValue = Variant(Utf16ToUtf8(shown));
}

void TcxCustomMaskEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                       IcxEditValidationTarget* edit)
{
    if (!error && IsMasked()) {
        auto* control = dynamic_cast<TcxCustomMaskEdit*>(edit);
        if (control && control->Mode() &&
            !control->Mode()->IsFullValidText(Utf8ToUtf16(VarToStr(displayValue)))) {
            error = true;
            errorText = cxGetResourceString(&scxMaskEditInvalidEditValue);
        }
    }
    TcxCustomTextEditProperties::ValidateDisplayValue(displayValue, errorText, error, edit);
}

const TClassMeta* TcxCustomMaskEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxMaskEdit>().Meta();
}

// ---- filter helper and start-up -----------------------------------------------------------------

TcxCustomEditClass TcxFilterMaskEditHelper::GetFilterEditClass() const { return TcxCustomEditClass::Of<TcxMaskEdit>(); }

TcxCustomEditPropertiesClass TcxFilterMaskEditHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxMaskEditProperties>();
}

TcxFilterControlOperators TcxFilterMaskEditHelper::GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                                               TcxValueTypeClass valueTypeClass,
                                                                               bool extendedSet) const
{
    TcxFilterControlOperators result;
    for (TcxFilterControlOperator op : {fcoEqual, fcoNotEqual, fcoLess, fcoLessEqual, fcoGreater, fcoGreaterEqual,
                                        fcoBlanks, fcoNonBlanks})
        result.Include(op);
    auto* mask = dynamic_cast<TcxCustomMaskEditProperties*>(properties);
    if ((!mask || !mask->IsMasked()) && valueTypeClass && valueTypeClass->IsString()) {
        result.Include(fcoLike);
        result.Include(fcoNotLike);
    }
    if (extendedSet)
        for (TcxFilterControlOperator op : {fcoBetween, fcoNotBetween, fcoInList, fcoNotInList})
            result.Include(op);
    return result;
}

void TcxFilterMaskEditHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                   TcxCustomEditProperties* editProperties, bool hasButtons) const
{
    TcxFilterTextEditHelper::InitializeProperties(properties, editProperties, hasButtons);
    auto* mask = dynamic_cast<TcxCustomMaskEditProperties*>(properties);
    if (!mask)
        return;
    // The filter editor completes what an expression forces.
    if (mask->MaskKind() == emkRegExpr)
        mask->SetMaskKind(emkRegExprEx);
    mask->SetAutoSelect(!mask->IsMasked());
}

namespace cxMaskEditUnit {
namespace {
TcxEditKindUnit<TcxMaskEditProperties, TcxFilterMaskEditHelper, TcxMaskEdit> unit;
}

void Initialize() { unit.Initialize(&scxSEditRepositoryMaskItem, [] { cxTextEditUnit::Initialize(); }); }
void Finalize() { unit.Finalize([] { cxTextEditUnit::Finalize(); }); }
} // namespace cxMaskEditUnit

} // namespace cx
