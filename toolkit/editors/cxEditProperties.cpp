#include "toolkit/editors/cxEdit.h"

#include "platform/rtl/TypInfo.h"

namespace cx {

const TAlignment cxEditDefaultHorzAlignment = taLeftJustify;
const TcxEditVertAlignment cxEditDefaultVertAlignment = taTopJustify;

namespace {
TList* propertiesList = nullptr;
}

TList* cxEditPropertiesList() { return propertiesList; }

namespace detail {
void CreateEditPropertiesList()
{
    if (!propertiesList)
        propertiesList = new TList;
}
void FreeEditPropertiesList() { FreeAndNil(propertiesList); }
} // namespace detail

// ---- TcxEditAlignment -----------------------------------------------------------------------------

TcxEditAlignment::TcxEditAlignment(TPersistent* owner)
    : horz_(cxEditDefaultHorzAlignment), owner_(owner), vert_(cxEditDefaultVertAlignment)
{
}

void TcxEditAlignment::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxEditAlignment*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    vert_ = src->vert_;
    horz_ = src->horz_;
    isHorzAssigned_ = src->isHorzAssigned_;
    DoChanged();
}

void TcxEditAlignment::SetHorz(TAlignment value)
{
    if (isHorzAssigned_ && horz_ == value)
        return;
    horz_ = value;
    isHorzAssigned_ = true;
    DoChanged();
}

void TcxEditAlignment::SetVert(TcxEditVertAlignment value)
{
    if (vert_ == value)
        return;
    vert_ = value;
    DoChanged();
}

void TcxEditAlignment::Reset()
{
    isHorzAssigned_ = false;
    DoChanged();
}

// ---- TcxCustomEditDefaultValuesProvider --------------------------------------------------------------

void TcxCustomEditDefaultValuesProvider::BeforeDestruction()
{
    ClearUsers();
    TcxInterfacedPersistent::BeforeDestruction();
}

TcxCustomEditDefaultValuesProvider::~TcxCustomEditDefaultValuesProvider()
{
    if (!usersCleared_)
        ClearUsers();
}

void TcxCustomEditDefaultValuesProvider::ClearUsers()
{
    usersCleared_ = true;
    if (!propertiesList)
        return;
    for (int i = propertiesList->Count() - 1; i >= 0; --i) {
        auto* p = static_cast<TcxCustomEditProperties*>(propertiesList->Get(i));
        if (IcxEditDefaultValuesProvider* provider = p->GetIDefaultValuesProvider())
            if (provider->GetInstance() == this)
                p->DefaultValuesProviderDestroyed();
    }
}

// ---- TcxCustomEditPropertiesValues ----------------------------------------------------------------

TcxCustomEditProperties* TcxCustomEditPropertiesValues::Properties()
{
    return dynamic_cast<TcxCustomEditProperties*>(owner_);
}

void TcxCustomEditPropertiesValues::Changed()
{
    if (TcxCustomEditProperties* p = Properties())
        p->Changed();
}

void TcxCustomEditPropertiesValues::BeginUpdate()
{
    if (TcxCustomEditProperties* p = Properties())
        p->BeginUpdate();
}

void TcxCustomEditPropertiesValues::EndUpdate()
{
    if (TcxCustomEditProperties* p = Properties())
        p->EndUpdate();
}

void TcxCustomEditPropertiesValues::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxCustomEditPropertiesValues*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        SetMaxValue(src->maxValue_);
        SetMinValue(src->minValue_);
        SetReadOnly(src->readOnly_);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomEditPropertiesValues::RestoreDefaults()
{
    BeginUpdate();
    try {
        SetMaxValue(false);
        SetMinValue(false);
        SetReadOnly(false);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomEditPropertiesValues::SetMaxValue(bool value)
{
    if (maxValue_ != value) {
        maxValue_ = value;
        Changed();
    }
}

void TcxCustomEditPropertiesValues::SetMinValue(bool value)
{
    if (minValue_ != value) {
        minValue_ = value;
        Changed();
    }
}

void TcxCustomEditPropertiesValues::SetReadOnly(bool value)
{
    if (readOnly_ != value) {
        readOnly_ = value;
        Changed();
    }
}

bool TcxCustomEditPropertiesValues::IsMaxValueStored()
{
    TcxCustomEditProperties* p = Properties();
    return maxValue_ && p && p->GetMaxValue() == 0 && GetPropInfo(p->ClassType(), "MaxValue");
}

bool TcxCustomEditPropertiesValues::IsMinValueStored()
{
    TcxCustomEditProperties* p = Properties();
    return minValue_ && p && p->GetMinValue() == 0 && GetPropInfo(p->ClassType(), "MinValue");
}

// ---- TcxCustomEditProperties: construction ----------------------------------------------------------

TcxCustomEditProperties::TcxCustomEditProperties(TPersistent* owner) : TcxInterfacedPersistent(owner), owner_(owner)
{
    if (propertiesList)
        propertiesList->Add(this);
    freeNotificator_ = new TcxFreeNotificator(nullptr);
    freeNotificator_->OnSenderFreed = TcxFreeNotificationEvent(this, &TcxCustomEditProperties::FreeNotification);
    alignment_ = new TcxEditAlignment(this);
    alignment_->OnChanged = Event<void(TObject*)>(this, &TcxCustomEditProperties::AlignmentChangedHandler);
    innerAlignment_ = new TcxEditAlignment(this);
}

void TcxCustomEditProperties::BeforeDestruction()
{
    // Nobody is told of changes made while the parts go.
    OnPropertiesChanged = {};
    TcxInterfacedPersistent::BeforeDestruction();
}

TcxCustomEditProperties::~TcxCustomEditProperties()
{
    cxDisconnectPropertiesFromInplaceEditLists(this);
    provider_ = nullptr;
    OnPropertiesChanged = {};
    FreeAndNil(buttons_);
    FreeAndNil(innerAlignment_);
    FreeAndNil(assignedValues_);
    FreeAndNil(alignment_);
    FreeAndNil(freeNotificator_);
    // Searched from the end: properties made together (a filter's conditions) mostly go last
    // first, and a front-to-back search would scan the whole list for each of them.
    if (propertiesList)
        for (int i = propertiesList->Count() - 1; i >= 0; --i)
            if (propertiesList->Get(i) == this) {
                propertiesList->Delete(i);
                break;
            }
}

TcxCustomEditPropertiesValues* TcxCustomEditProperties::AssignedValues()
{
    if (!assignedValues_)
        assignedValues_ = GetAssignedValuesClass().Create(this);
    return assignedValues_;
}

TcxEditButtons* TcxCustomEditProperties::Buttons()
{
    if (!buttons_) {
        TcxEditButtonsClass buttonsClass = GetButtonsClass();
        // The collection names the class of its buttons; a probe with the base button class
        // asks it.
        TcxEditButtons* probe = buttonsClass.Create(this, TCollectionItemClass::Of<TcxEditButton>());
        TCollectionItemClass buttonClass = probe->GetButtonClass();
        probe->Free();
        buttons_ = buttonsClass.Create(this, buttonClass);
        buttons_->OnChange = Event<void(TObject*)>(this, &TcxCustomEditProperties::ButtonsChanged);
    }
    return buttons_;
}

TcxCustomEditPropertiesValuesClass TcxCustomEditProperties::GetAssignedValuesClass() const
{
    return TcxCustomEditPropertiesValuesClass::Of<TcxCustomEditPropertiesValues>();
}

TcxEditButtonsClass TcxCustomEditProperties::GetButtonsClass() const { return TcxEditButtonsClass::Of<TcxEditButtons>(); }

TcxContainerStyleClass TcxCustomEditProperties::GetStyleClass() const { return TcxContainerStyleClass::Of<TcxEditStyle>(); }

void TcxCustomEditProperties::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxCustomEditProperties*>(source);
    if (!src) {
        TcxInterfacedPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        SetAutoSelect(src->AutoSelect());
        Buttons()->Assign(src->Buttons());
        SetButtonsViewStyle(src->ButtonsViewStyle());
        SetBeepOnError(src->BeepOnError());
        SetClearKey(src->ClearKey());
        SetClickKey(src->ClickKey());
        SetUseLeftAlignmentOnEditing(src->UseLeftAlignmentOnEditing());
        provider_ = src->provider_;
        BaseSetAlignment(src->Alignment());

        TcxCustomEditPropertiesValues* values = AssignedValues();
        TcxCustomEditPropertiesValues* srcValues = src->AssignedValues();
        values->maxValue_ = false;
        if (srcValues->MaxValue())
            SetMaxValue(src->maxValue_);
        values->minValue_ = false;
        if (srcValues->MinValue())
            SetMinValue(src->minValue_);
        values->readOnly_ = false;
        if (srcValues->ReadOnly())
            SetReadOnly(src->readOnly_);

        SetImmediatePost(src->ImmediatePost());
        SetTransparent(src->Transparent());
        useMouseWheel_ = src->useMouseWheel_;
        SetValidateOnEnter(src->ValidateOnEnter());
        OnButtonClick = src->OnButtonClick;
        OnChange = src->OnChange;
        OnEditValueChanged = src->OnEditValueChanged;
        OnValidate = src->OnValidate;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- change batching -----------------------------------------------------------------------------------

void TcxCustomEditProperties::BeginUpdate()
{
    if (updateCount_ == 0)
        changePending_ = false;
    ++updateCount_;
}

void TcxCustomEditProperties::EndUpdate(bool invokeChanged)
{
    if (updateCount_ <= 0)
        return;
    --updateCount_;
    if (updateCount_ == 0 && invokeChanged && changePending_)
        Changed();
}

bool TcxCustomEditProperties::GetOwnerDestroying()
{
    auto* owner = dynamic_cast<TComponent*>(GetOwner());
    return owner && owner->ComponentState().Contains(csDestroying);
}

void TcxCustomEditProperties::Changed()
{
    if (ChangedLocked() || GetOwnerDestroying()) {
        changePending_ = true;
        return;
    }
    if (!OnPropertiesChanged.Assigned())
        return;
    ++changingCount_;
    try {
        OnPropertiesChanged(this);
    } catch (...) {
        --changingCount_;
        throw;
    }
    --changingCount_;
}

// ---- plain settings -------------------------------------------------------------------------------------

namespace {
template <class T>
bool Store(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
} // namespace

void TcxCustomEditProperties::SetAutoSelect(bool value) { if (Store(autoSelect_, value)) Changed(); }
void TcxCustomEditProperties::SetBeepOnError(bool value) { if (Store(beepOnError_, value)) Changed(); }
void TcxCustomEditProperties::SetButtonsViewStyle(TcxEditButtonsViewStyle value) { if (Store(buttonsViewStyle_, value)) Changed(); }
void TcxCustomEditProperties::SetClearKey(TShortCut value) { if (Store(clearKey_, value)) Changed(); }
void TcxCustomEditProperties::SetClickKey(TShortCut value) { if (Store(clickKey_, value)) Changed(); }
void TcxCustomEditProperties::SetImmediatePost(bool value) { if (Store(immediatePost_, value)) Changed(); }
void TcxCustomEditProperties::SetTransparent(bool value) { if (Store(transparent_, value)) Changed(); }
void TcxCustomEditProperties::SetUseMouseWheel(bool value) { if (Store(useMouseWheel_, value)) Changed(); }
void TcxCustomEditProperties::SetValidateOnEnter(bool value) { if (Store(validateOnEnter_, value)) Changed(); }

bool TcxCustomEditProperties::UseLeftAlignmentOnEditing() const
{
    return useLeftAlignmentOnEditing_.value_or(DefaultUseLeftAlignmentOnEditing());
}

void TcxCustomEditProperties::SetUseLeftAlignmentOnEditing(bool value)
{
    if (UseLeftAlignmentOnEditing() == value && useLeftAlignmentOnEditing_)
        return;
    bool changed = UseLeftAlignmentOnEditing() != value;
    useLeftAlignmentOnEditing_ = value;
    if (changed)
        Changed();
}

// ---- alignment -------------------------------------------------------------------------------------------

// The handed-out object shows the stored alignment with the data source's default in place of
// an unassigned horizontal value; changes made through it come back to AlignmentChangedHandler.
TcxEditAlignment* TcxCustomEditProperties::BaseGetAlignment()
{
    alignment_->OnChanged = {};
    alignment_->horz_ = innerAlignment_->horz_;
    alignment_->vert_ = innerAlignment_->vert_;
    alignment_->isHorzAssigned_ = innerAlignment_->isHorzAssigned_;
    if (IsAlignmentStored())
        if (TComponent* owner = GetOwnerComponent(this))
            if (owner->ComponentState().Contains(csWriting))
                return alignment_;   // only assigned values are written; the next read hooks it again
    if (!innerAlignment_->isHorzAssigned_)
        alignment_->horz_ = GetDefaultHorzAlignment();
    alignment_->OnChanged = Event<void(TObject*)>(this, &TcxCustomEditProperties::AlignmentChangedHandler);
    return alignment_;
}

bool TcxCustomEditProperties::IsAlignmentStored() const
{
    return innerAlignment_->IsHorzAssigned() || innerAlignment_->Vert() != cxEditDefaultVertAlignment;
}

void TcxCustomEditProperties::AlignmentChangedHandler(TObject*)
{
    innerAlignment_->Assign(alignment_);
    Changed();
}

void TcxCustomEditProperties::BaseSetAlignment(TcxEditAlignment* value)
{
    innerAlignment_->Assign(value);
    Changed();
}

TAlignment TcxCustomEditProperties::GetDefaultHorzAlignment()
{
    return provider_ ? provider_->DefaultAlignment() : alignment_->Horz();
}

// ---- values with provider defaults ---------------------------------------------------------------------

double TcxCustomEditProperties::GetMaxValue() const
{
    if (assignedValues_ && assignedValues_->MaxValue())
        return maxValue_;
    return provider_ ? provider_->DefaultMaxValue() : 0.0;
}

double TcxCustomEditProperties::GetMinValue() const
{
    if (assignedValues_ && assignedValues_->MinValue())
        return minValue_;
    return provider_ ? provider_->DefaultMinValue() : 0.0;
}

bool TcxCustomEditProperties::GetReadOnly() const
{
    if (assignedValues_ && assignedValues_->ReadOnly())
        return readOnly_;
    return provider_ ? provider_->DefaultReadOnly() : false;
}

// An assigned value notifies when it is set for the first time, even to the provider's default.
template <class T>
void TcxCustomEditProperties::SetAssignedValue(bool& assigned, T& field, T value)
{
    if (assigned && field == value)
        return;
    assigned = true;
    field = value;
    Changed();
}

void TcxCustomEditProperties::SetMaxValue(double value) { SetAssignedValue(AssignedValues()->maxValue_, maxValue_, value); }
void TcxCustomEditProperties::SetMinValue(double value) { SetAssignedValue(AssignedValues()->minValue_, minValue_, value); }
void TcxCustomEditProperties::SetReadOnly(bool value) { SetAssignedValue(AssignedValues()->readOnly_, readOnly_, value); }

void TcxCustomEditProperties::FillMinMaxValues(double maxValue, double minValue)
{
    TcxCustomEditPropertiesValues* values = AssignedValues();
    if (values->maxValue_ && values->minValue_ && maxValue_ == maxValue && minValue_ == minValue)
        return;
    values->maxValue_ = true;
    values->minValue_ = true;
    maxValue_ = maxValue;
    minValue_ = minValue;
    Changed();
}

bool TcxCustomEditProperties::CanModify() const
{
    if (assignedValues_ && assignedValues_->ReadOnly() && !readOnly_)
        return true;
    if (GetReadOnly())
        return false;
    if (!provider_)
        return true;
    return provider_->DefaultCanModify() && provider_->CanSetEditMode();
}

void TcxCustomEditProperties::SetIDefaultValuesProvider(IcxEditDefaultValuesProvider* value)
{
    provider_ = value;
    if (owner_ && ClassInheritsFrom(&owner_->ClassType(), "TcxCustomEdit"))
        DefaultValuesChanged(this);
}

void TcxCustomEditProperties::RestoreDefaults()
{
    innerAlignment_->Reset();
    BeginUpdate();
    try {
        AssignedValues()->RestoreDefaults();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- answers about the kind ------------------------------------------------------------------------------

std::string TcxCustomEditProperties::GetValidateErrorText(int) { return cxGetResourceString(&cxSEditValidateErrorText); }

std::u16string TcxCustomEditProperties::GetDisplayText(const Variant&, bool, bool) { return {}; }

TcxEditSupportedOperations TcxCustomEditProperties::GetSupportedOperations()
{
    return Buttons()->Count() > 0 ? TcxEditSupportedOperations{esoHotTrack} : TcxEditSupportedOperations{};
}

void TcxCustomEditProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool)
{
    displayValue = editValue;
}

bool TcxCustomEditProperties::CompareDisplayValues(const Variant& v1, const Variant& v2)
{
    Variant d1, d2;
    PrepareDisplayValue(v1, d1, false);
    PrepareDisplayValue(v2, d2, false);
    // Values the variant operators cannot relate (a number and a non-numeric text) differ.
    try {
        return d1 == d2;
    } catch (const EVariantError&) {
        return false;
    }
}

TcxCustomEditProperties* TcxCustomEditProperties::CreatePreviewProperties()
{
    TcxCustomEditPropertiesClass cls = TcxCustomEditPropertiesClass::FromMeta(&ClassType());
    return cls ? cls.Create(nullptr) : nullptr;
}

// ---- formatting source -----------------------------------------------------------------------------------

namespace {
bool DisplayFormatDefined(IcxEditDefaultValuesProvider* provider, TcxEditDisplayFormatOptions options)
{
    return options.Contains(dfoSupports) && provider &&
           provider->IsDisplayFormatDefined(!options.Contains(dfoNoCurrencyValue));
}
} // namespace

TcxDataEditValueSource TcxCustomEditProperties::GetValueEditorEditValueSource(bool editFocused)
{
    if (!editFocused && DisplayFormatDefined(provider_, GetDisplayFormatOptions()))
        return evsText;
    return evsValue;
}

bool TcxCustomEditProperties::IsValueEditorWithValueFormatting()
{
    return GetDisplayFormatOptions().Contains(dfoSupports) && GetEditValueSource(true) == evsValue &&
           GetEditValueSource(false) == evsText && DisplayFormatDefined(provider_, GetDisplayFormatOptions());
}

// ---- validation ------------------------------------------------------------------------------------------

void TcxCustomEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                   IcxEditValidationTarget* edit)
{
    if (!CanValidate())
        return;
    if (errorText.empty())
        errorText = GetValidateErrorText(0);
    bool displayValueChanged = false;
    DoValidate(displayValue, errorText, error, edit, displayValueChanged);
}

// A handler that reports an error without correcting the text gets the editor's current text
// back; a corrected text stays.
void TcxCustomEditProperties::DoValidate(Variant& displayValue, std::string& errorText, bool& error,
                                         IcxEditValidationTarget* edit, bool& displayValueChanged)
{
    displayValueChanged = false;
    if (!edit || !edit->IsOnValidateEventAssigned())
        return;
    Variant previous = displayValue;
    edit->DoOnValidate(displayValue, errorText, error);
    if (error) {
        displayValueChanged = VarToStr(previous) != VarToStr(displayValue);
        if (!displayValueChanged)
            displayValue = edit->GetDisplayValue();
    }
}

} // namespace cx
