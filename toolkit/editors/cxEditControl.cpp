// The editor control's state: the base data binding, the edit data and the change-events catcher;
// TcxCustomEdit's construction, its binding to its own properties or to a repository item, the
// edit value, the change events and their locks, the modified-state stack, the editing request
// and posting.
#include "toolkit/editors/cxEditControl.h"

#include "platform/vcl/Forms.h"

namespace cx {

// ---- TcxEditDataBinding ---------------------------------------------------------------------------

TcxEditDataBinding::TcxEditDataBinding(TcxCustomEdit* edit) : edit_(edit) {}

TcxEditDataBinding::~TcxEditDataBinding() { FreeAndNil(provider_); }

TPersistent* TcxEditDataBinding::GetOwner() { return edit_; }

TcxCustomEditDefaultValuesProviderClass TcxEditDataBinding::GetDefaultValuesProviderClass() const
{
    return TcxCustomEditDefaultValuesProviderClass::Of<TcxCustomEditDefaultValuesProvider>();
}

TcxCustomEditDefaultValuesProvider* TcxEditDataBinding::DefaultValuesProvider()
{
    if (!provider_)
        provider_ = GetDefaultValuesProviderClass().Create(nullptr);
    return provider_;
}

void TcxEditDataBinding::DefaultValuesChanged()
{
    TcxCustomEditProperties* properties = edit_->ActiveProperties();
    if (!edit_->RepositoryItem()) {
        properties->DefaultValuesChanged(nullptr);
        return;
    }
    // The item's properties serve other editors too: only this editor hears of the change.
    properties->BeginUpdate();
    try {
        properties->DefaultValuesChanged(nullptr);
    } catch (...) {
        properties->EndUpdate(false);
        throw;
    }
    properties->EndUpdate(false);
    edit_->PropertiesChanged(properties);
}

Variant TcxEditDataBinding::GetDisplayValue() { return edit_->GetDisplayValue(); }

bool TcxEditDataBinding::GetEditing() { return edit_->ModifiedAfterEnter(); }

bool TcxEditDataBinding::GetModified() { return edit_->ModifiedAfterEnter(); }

Variant TcxEditDataBinding::GetStoredValue() { return edit_->GetEditValue(); }

bool TcxEditDataBinding::IsInnerControlHaveToBeReadOnly() { return !GetIsDataAvailable(); }

void TcxEditDataBinding::Reset() { edit_->ResetEditValue(); }

void TcxEditDataBinding::SetDisplayValue(const Variant& value) { SetInternalDisplayValue(value); }

void TcxEditDataBinding::SetInternalDisplayValue(const Variant& value) { edit_->SetInternalDisplayValue(value); }

bool TcxEditDataBinding::SetEditMode()
{
    edit_->SetModifiedAfterEnter(true);
    return true;
}

bool TcxEditDataBinding::CanCheckEditorValue() { return edit_->IsDesigning() || !edit_->ModifiedAfterEnter(); }

void TcxEditDataBinding::SetModified()
{
    if (edit_->IsEditFocused())
        edit_->SetModifiedAfterEnter(true);
}

void TcxEditDataBinding::UpdateDisplayValue() { edit_->SynchronizeDisplayValue(); }

// ---- TcxCustomEditData ----------------------------------------------------------------------------

TcxCustomEditData::TcxCustomEditData(TcxCustomEdit* edit) : edit_(edit)
{
    freeNotificator_ = new TcxFreeNotificator(nullptr);
    freeNotificator_->OnSenderFreed = TcxFreeNotificationEvent(this, &TcxCustomEditData::FreeNotification);
    if (edit_)
        freeNotificator_->AddSender(edit_);
    Clear();
}

TcxCustomEditData::~TcxCustomEditData() { FreeAndNil(freeNotificator_); }

void TcxCustomEditData::Clear()
{
    Cleared = true;
    if (edit_)
        edit_->DoClearEditData(this);
}

void TcxCustomEditData::FreeNotification(TComponent* component)
{
    if (component == edit_)
        edit_ = nullptr;
}

// ---- TcxEditChangeEventsCatcher ---------------------------------------------------------------------

void TcxEditChangeEventsCatcher::Lock(bool lock, bool invoke)
{
    if (lock) {
        if (lockCount_ == 0) {
            OnChangeEvent = false;
            OnEditValueChangedEvent = false;
        }
        ++lockCount_;
        return;
    }
    if (lockCount_ <= 0)
        return;
    --lockCount_;
    if (!invoke || lockCount_ != 0 || edit_->IsLoading() || edit_->IsDestroying())
        return;
    // The pending flags are taken before the handlers run: a handler may lock again.
    const bool change = OnChangeEvent, editValueChanged = OnEditValueChangedEvent;
    OnChangeEvent = OnEditValueChangedEvent = false;
    auto alive = edit_->AliveToken();
    if (change && edit_->IsOnChangeEventAssigned())
        edit_->DoOnChange();
    if (alive.expired())
        return;
    if (editValueChanged && edit_->IsOnEditValueChangedEventAssigned())
        edit_->DoOnEditValueChanged();
}

// ---- TcxCustomEdit: construction and destruction -------------------------------------------------

TcxCustomEdit::TcxCustomEdit(TComponent* owner, bool isInplace) : TcxCustomEdit(owner, isInplace, TcxEditClasses{})
{
}

TcxCustomEdit::TcxCustomEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxContainer(owner), classes_(classes), isInplace_(isInplace)
{
    Construct();
}

void TcxCustomEdit::Construct()
{
    anchorX_ = anchorY_ = cxEditAnchorNotSet;
    Initialize();
    if (HandleAllocated())
        ShortRefreshContainer(false);
}

void TcxCustomEdit::Initialize()
{
    changeEventsCatcher_ = new TcxEditChangeEventsCatcher(this);
    properties_ = GetPropertiesClass().Create(this);
    // The container made base styles and a base view info before the kind was known.
    RecreateStylesAndViewInfo();
    ControlStyle.Include(csCaptureMouse).Include(csSetCaption);
    TabStop = true;
    CreateInnerEdit();
    if (innerEdit_) {
        InitializeInnerEdit();
        SetInnerControl(innerEdit_->GetControl());
    }
    ControlStyle.Include(csReplicatable);
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->ControlStyle.Include(csReplicatable);
    dataBinding_ = GetDataBindingClass().Create(this);
    autoSize_ = !isInplace_;
    capturedButton_ = -1;
    editValue_ = Variant::MakeNull();
    validateLockCount_ = 0;
    properties_->OnPropertiesChanged = PropertiesChangedHandler();
    if (isInplace_) {
        TcxKeys keys = Keys();
        keys.Include(kAll).Include(kArrows);
        if (!GetInnerEditClass())
            keys.Include(kTab);
        SetKeys(keys);
    }
    dblClickTimer_ = new TcxTimer(nullptr);
    dblClickTimer_->SetEnabled(false);
    dblClickTimer_->SetInterval(GetDblClickInterval());
    dblClickTimer_->SetOnTimer(TNotifyEvent(this, &TcxCustomEdit::DblClickTimerHandler));
    if (!isInplace_)
        properties_->SetIDefaultValuesProvider(dataBinding_->GetIDefaultValuesProvider());
    if (auto* vi = EditViewInfo())
        vi->Edit = this;
    InitContentParams();
    firstParent_ = true;
}

void TcxCustomEdit::CreateInnerEdit()
{
    TcxInnerEditClass innerClass = GetInnerEditClass();
    if (!innerClass)
        return;
    TWinControl* control = innerClass.Create(this);
    if (auto* helper = dynamic_cast<IcxInnerEditHelper*>(control))
        innerEdit_ = helper->GetHelper();
    else
        innerEdit_ = dynamic_cast<IcxCustomInnerEdit*>(control);
}

void TcxCustomEdit::InitializeInnerEdit()
{
    innerEdit_->SetParent(this);
    if (ActiveProperties()->HasDisplayValue())
        innerEdit_->SetOnChange(TNotifyEvent(this, &TcxCustomEdit::ChangeHandler));
    innerEdit_->GetControl()->ShowHint = false;
}

TcxCustomEdit::~TcxCustomEdit()
{
    if (changeEventsCatcher_)
        BeforeDestruction();
}

void TcxCustomEdit::BeforeDestruction()
{
    if (!changeEventsCatcher_)
        return TcxContainer::BeforeDestruction();
    // The component teardown marks the editor destroying first, so nothing below fires events.
    Destroying();
    if (dxISpellChecker)
        dxISpellChecker->CheckFinish();
    FreeAndNil(dblClickTimer_);
    if (repositoryItem_) {
        repositoryItem_->RemoveListener(this);
        repositoryItem_ = nullptr;
    }
    innerEdit_ = nullptr;
    properties_->OnPropertiesChanged = {};
    if (!isInplace_)
        properties_->SetIDefaultValuesProvider(nullptr);
    if (auto* vi = EditViewInfo())
        vi->Edit = nullptr;
    TcxContainer::BeforeDestruction();
    FreeAndNil(dataBinding_);
    modifiedStack_.clear();
    FreeAndNil(properties_);
    FreeAndNil(changeEventsCatcher_);
}

// ---- properties and the repository item ------------------------------------------------------------

TcxCustomEditProperties* TcxCustomEdit::ActiveProperties() const
{
    if (!repositoryItem_)
        return properties_;
    TcxCustomEditProperties* p = repositoryItem_->Properties();
    // A shared properties object carries the provider of the editor that asked last.
    if (dataBinding_ && p->GetIDefaultValuesProvider() != dataBinding_->GetIDefaultValuesProvider())
        p->SetIDefaultValuesProvider(dataBinding_->GetIDefaultValuesProvider());
    return p;
}

bool TcxCustomEdit::IsRepositoryItemAcceptable(TcxEditRepositoryItem* value) const
{
    return !value || value->ArePropertiesCompatible(*GetPropertiesClass().Meta());
}

void TcxCustomEdit::SetRepositoryItem(TcxEditRepositoryItem* value)
{
    if (value == repositoryItem_)
        return;
    if (!IsRepositoryItemAcceptable(value))
        throw EcxEditError(cxGetResourceString(&cxSEditInvalidRepositoryItem));
    RepositoryItemAssigning();
    if (repositoryItem_) {
        repositoryItem_->RemoveListener(this);
        repositoryItem_->RemoveFreeNotification(this);
    }
    repositoryItem_ = value;
    if (repositoryItem_) {
        repositoryItem_->AddListener(this);
        repositoryItem_->FreeNotification(this);
        properties_->SetIDefaultValuesProvider(nullptr);
        PropertiesChanged(repositoryItem_);
        properties_->OnPropertiesChanged = {};
    } else {
        if (!IsLoading() && !IsDestroying())
            properties_->OnPropertiesChanged = PropertiesChangedHandler();
        // The own properties' provider notice refreshes the editor on them.
        properties_->SetIDefaultValuesProvider(dataBinding_->GetIDefaultValuesProvider());
        if (!properties_->OnPropertiesChanged.Assigned() && !IsDestroying())
            PropertiesChanged(properties_);
    }
    RepositoryItemAssigned();
}

void TcxCustomEdit::ItemRemoved(TcxEditRepositoryItem* sender)
{
    // The whole "without an item" path: the editor goes back to its own properties and provider
    // instead of keeping a stale item's settings.
    if (sender == repositoryItem_ && !IsDestroying())
        SetRepositoryItem(nullptr);
    else if (sender == repositoryItem_)
        repositoryItem_ = nullptr;
}

void TcxCustomEdit::PropertiesChanged(TcxEditRepositoryItem* sender)
{
    if (!IsLoading() && !IsDestroying())
        PropertiesChanged(static_cast<TObject*>(sender->Properties()));
}

void TcxCustomEdit::Notification(TComponent* component, TOperation operation)
{
    TcxContainer::Notification(component, operation);
    if (operation == opRemove && component == repositoryItem_)
        ItemRemoved(repositoryItem_);
}

TNotifyEvent TcxCustomEdit::PropertiesChangedHandler()
{
    return TNotifyEvent(this, static_cast<void (TcxCustomEdit::*)(TObject*)>(&TcxCustomEdit::PropertiesChanged));
}

bool TcxCustomEdit::PropertiesChangeLocked() const
{
    return IsDestroying() || (GetInnerEditClass() && !innerEdit_);
}

void TcxCustomEdit::PropertiesChanged(TObject*)
{
    if (!changeEventsCatcher_ || !properties_)
        return;
    editValidated_ = false;
    UpdateInnerEditReadOnly();
    if (modifiedAfterEnter_ && RealReadOnly())
        SetModifiedAfterEnterValue(false);
    if (ActiveProperties()->Transparent())
        SetTransparent(true);
    CalculateAnchors();
    ShortRefreshContainer(false);
}

void TcxCustomEdit::UpdateInnerEditReadOnly()
{
    if (!PropertiesChangeLocked() && innerEdit_)
        innerEdit_->SetReadOnly(RealReadOnly());
}

void TcxCustomEdit::SetInternalReadOnly(bool value)
{
    if (innerEdit_)
        innerEdit_->SetReadOnly(value);
}

bool TcxCustomEdit::RealReadOnly()
{
    return ActiveProperties()->GetReadOnly() || dataBinding_->IsInnerControlHaveToBeReadOnly();
}

bool TcxCustomEdit::InternalFocused() const
{
    return !ActiveProperties()->IsEditValueConversionDependOnFocused() ||
           const_cast<TcxCustomEdit*>(this)->IsEditFocused();
}

void TcxCustomEdit::PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused)
{
    ActiveProperties()->PrepareDisplayValue(editValue, displayValue, editFocused);
}

// ---- values ---------------------------------------------------------------------------------------

void TcxCustomEdit::SetEditValue(const Variant& value)
{
    if (editValueChangingLockCount_ > 0)
        return;
    LockClick(true);
    try {
        if (!isUserChange_ || DoEditing())
            InternalSetEditValue(value, true);
    } catch (...) {
        LockClick(false);
        throw;
    }
    LockClick(false);
}

void TcxCustomEdit::SetInternalEditValue(const Variant& value)
{
    if (!isUserChange_ || DoEditing())
        InternalSetEditValue(value, true);
}

void TcxCustomEdit::InternalSetEditValue(const Variant& value, bool)
{
    if (isUserChange_ && !DoEditing())
        return;
    TcxCustomEditProperties* properties = ActiveProperties();
    const bool changed = properties->CanCompareEditValue() && !cxEditVarEquals(value, editValue_);
    editValue_ = value;
    SynchronizeDisplayValue();
    if (isUserChange_)
        SetModifiedAfterEnter(true);
    else
        SetModified(false);
    if (changed) {
        const auto alive = AliveToken();
        DoEditValueChanged();
        if (!alive.expired() && !ActiveProperties()->HasDisplayValue())
            DoChange();
    }
}

Variant TcxCustomEdit::GetEditingValue()
{
    if (IsEditFocused() && !editValidated_ && modifiedAfterEnter_)
        return InternalGetEditingValue();
    return GetEditValue();
}

void TcxCustomEdit::InternalValidateDisplayValue(const Variant& displayValue)
{
    SaveModified();
    try {
        InternalSetDisplayValue(displayValue);
    } catch (...) {
        RestoreModified();
        throw;
    }
    RestoreModified();
}

void TcxCustomEdit::Clear() { SetEditValue(GetClearValue()); }

// ---- modified state -------------------------------------------------------------------------------

void TcxCustomEdit::SetModified(bool value)
{
    modified_ = value;
    if (!value)
        modifiedAfterEnter_ = false;
}

void TcxCustomEdit::SetModifiedAfterEnter(bool value)
{
    modifiedAfterEnter_ = value;
    if (value) {
        editValidated_ = false;
        modified_ = true;
    }
}

void TcxCustomEdit::SaveModified() { modifiedStack_.push_back({modified_, modifiedAfterEnter_}); }

void TcxCustomEdit::RestoreModified()
{
    if (modifiedStack_.empty())
        return;
    const TcxEditModifiedState s = modifiedStack_.back();
    modifiedStack_.pop_back();
    modified_ = s.Modified;
    SetModifiedAfterEnterValue(s.ModifiedAfterEnter);
}

void TcxCustomEdit::ChangeHandler(TObject*)
{
    if (IsEditFocused())
        SetModifiedAfterEnter(true);
    else if (!ActiveProperties()->IsChanging())
        dataBinding_->SetModified();
    DoChange();
}

// ---- change events --------------------------------------------------------------------------------

namespace {
// Runs a handler of an in-place editor with Modified and ModifiedAfterEnter set, and puts both
// back afterwards, also when the handler raises.
template <class F>
void WithInplaceModified(TcxCustomEdit* edit, F&& handler)
{
    if (!edit->IsInplace())
        return handler();
    edit->SaveModified();
    edit->SetModified(true);
    edit->SetModifiedAfterEnterValue(true);
    auto alive = edit->AliveToken();
    try {
        handler();
    } catch (...) {
        if (!alive.expired())
            edit->RestoreModified();
        throw;
    }
    if (!alive.expired())
        edit->RestoreModified();
}
} // namespace

void TcxCustomEdit::DoChange()
{
    if (IsLoading() || IsDestroying())
        return;
    if (IsOnChangeEventAssigned()) {
        if (AreChangeEventsLocked())
            changeEventsCatcher_->OnChangeEvent = true;
        else {
            const auto alive = AliveToken();
            WithInplaceModified(this, [this] { DoOnChange(); });
            if (alive.expired())
                return;   // the handler freed the editor
        }
    }
    TcxCustomEditProperties* properties = ActiveProperties();
    if (!properties->HasDisplayValue() && !properties->CanCompareEditValue())
        DoEditValueChanged();
}

void TcxCustomEdit::DoEditValueChanged()
{
    if (IsLoading() || IsDestroying() || !IsOnEditValueChangedEventAssigned())
        return;
    if (AreChangeEventsLocked())
        changeEventsCatcher_->OnEditValueChangedEvent = true;
    else
        WithInplaceModified(this, [this] { DoOnEditValueChanged(); });
}

namespace {
// The own properties' handler first, then the repository item's.
template <class Call>
void CallPropertiesHandlers(TcxCustomEdit* edit, Call&& call)
{
    auto alive = edit->AliveToken();
    call(edit->Properties());
    if (!alive.expired() && edit->RepositoryItem())
        call(edit->ActiveProperties());
}
} // namespace

void TcxCustomEdit::DoOnChange()
{
    CallPropertiesHandlers(this, [this](TcxCustomEditProperties* p) { CallEvent(p->OnChange, this); });
}

void TcxCustomEdit::DoOnEditValueChanged()
{
    CallPropertiesHandlers(this, [this](TcxCustomEditProperties* p) { CallEvent(p->OnEditValueChanged, this); });
}

void TcxCustomEdit::DoOnValidate(Variant& displayValue, std::string& errorText, bool& error)
{
    CallPropertiesHandlers(this, [&](TcxCustomEditProperties* p) {
        if (p->OnValidate.Assigned())
            p->OnValidate(this, displayValue, errorText, error);
    });
}

void TcxCustomEdit::DoButtonClickEvents(int buttonIndex)
{
    CallPropertiesHandlers(this, [&](TcxCustomEditProperties* p) {
        if (p->OnButtonClick.Assigned())
            p->OnButtonClick(this, buttonIndex);
    });
}

bool TcxCustomEdit::IsOnChangeEventAssigned() const
{
    return properties_->OnChange.Assigned() || ActiveProperties()->OnChange.Assigned();
}

bool TcxCustomEdit::IsOnEditValueChangedEventAssigned() const
{
    return properties_->OnEditValueChanged.Assigned() || ActiveProperties()->OnEditValueChanged.Assigned();
}

bool TcxCustomEdit::IsOnValidateEventAssigned()
{
    return properties_->OnValidate.Assigned() || ActiveProperties()->OnValidate.Assigned();
}

void TcxCustomEdit::LockChangeEvents(bool lock, bool invoke) { changeEventsCatcher_->Lock(lock, invoke); }

void TcxCustomEdit::LockEditValueChanging(bool lock)
{
    if (lock)
        ++editValueChangingLockCount_;
    else if (editValueChangingLockCount_ > 0)
        --editValueChangingLockCount_;
}

void TcxCustomEdit::LockClick(bool lock)
{
    if (lock)
        ++clickLockCount_;
    else if (clickLockCount_ > 0)
        --clickLockCount_;
}

// ---- the editing request ----------------------------------------------------------------------------

bool TcxCustomEdit::DoEditing()
{
    bool result = InternalDoEditing();
    if (!result)
        return false;
    if (dataBinding_->GetModified())
        return true;
    result = CanModify();
    if (!result)
        return false;
    const bool oldInEditing = isInEditing_;
    isInEditing_ = true;
    try {
        if (isInplace_) {
            LockEditValueChanging(true);
            try {
                if (OnEditing.Assigned())
                    OnEditing(this, result);
            } catch (...) {
                LockEditValueChanging(false);
                throw;
            }
            LockEditValueChanging(false);
        } else {
            const bool editing = dataBinding_->GetEditing();
            if (OnEditing.Assigned())
                OnEditing(this, result);
            if (result) {
                if (!editing) {
                    LockEditValueChanging(true);
                    try {
                        result = dataBinding_->SetEditMode();
                    } catch (...) {
                        LockEditValueChanging(false);
                        throw;
                    }
                    LockEditValueChanging(false);
                } else {
                    dataBinding_->SetModified();
                }
            }
        }
    } catch (...) {
        isInEditing_ = oldInEditing;
        throw;
    }
    isInEditing_ = oldInEditing;
    return result;
}

bool TcxCustomEdit::CanModify()
{
    // In place the properties decide; stand-alone the properties' assigned ReadOnly wins and an
    // unassigned one follows the data (the properties carry the binding's provider).
    return ActiveProperties()->CanModify();
}

// ---- posting --------------------------------------------------------------------------------------

bool TcxCustomEdit::CanPostEditValue() { return !IsDesigning() && dataBinding_->CanPostEditorValue(); }

void TcxCustomEdit::PostEditValue()
{
    if (CanPostEditValue())
        InternalPostEditValue(true);
    else if (IsEditFocused())
        InternalPostValue();
}

void TcxCustomEdit::InternalPostValue()
{
    if (!DoEditing())
        return;
    SetModifiedAfterEnter(true);
    editValidated_ = true;
    try {
        InternalPostEditValue(false);
    } catch (...) {
        SetModifiedAfterEnterValue(false);
        throw;
    }
    SetModifiedAfterEnterValue(false);
}

void TcxCustomEdit::InternalPostEditValue(bool validateEdit)
{
    auto alive = AliveToken();
    try {
        if (validateEdit) {
            const bool userChange = isUserChange_;
            isUserChange_ = false;
            bool valid;
            try {
                valid = ValidateEdit(true);
            } catch (...) {
                isUserChange_ = userChange;
                throw;
            }
            isUserChange_ = userChange;
            if (!valid)
                return;
        }
        BeforePosting();
        try {
            if (isInplace_) {
                DoPostEditValue();
                if (!alive.expired())
                    SetModified(false);
            } else if (dataBinding_->GetModified()) {
                dataBinding_->SetStoredValue(GetEditValue());
            }
        } catch (...) {
            if (!alive.expired())
                AfterPosting();
            throw;
        }
        AfterPosting();
    } catch (...) {
        // A stand-alone editor shows where the failure is; an in-place one lets the host hear of
        // it and stays as it is, value and modified state included.
        if (!alive.expired() && !isInplace_)
            HandleValidationError("", false);
        throw;
    }
}

void TcxCustomEdit::DoPostEditValue()
{
    if (OnPostEditValue.Assigned())
        OnPostEditValue(this);
}

void TcxCustomEdit::Reset() { dataBinding_->Reset(); }

void TcxCustomEdit::ResetEditValue()
{
    if (!modifiedAfterEnter_ || !ActiveProperties()->IsResetEditClass())
        return;
    WithChangeEventsLocked(true, [this] {
        SetModifiedAfterEnterValue(false);
        const Variant value = IsDBEdit() ? dataBinding_->GetStoredValue() : prevEditValue_;
        SetInternalEditValue(value);
        SetModified(true);
        SelectAll();
        if (ActiveProperties()->ImmediatePost() && CanPostEditValue())
            InternalPostEditValue(false);
    });
}

bool TcxCustomEdit::IsResetEditClass() { return IsDBEdit() || ActiveProperties()->IsResetEditClass(); }

bool TcxCustomEdit::IsDBEdit() { return dataBinding_->DefaultValuesProvider()->IsDataStorage(); }

// ---- loading and parenting --------------------------------------------------------------------------

void TcxCustomEdit::Loaded()
{
    sizeOnLoad_ = true;
    TcxContainer::Loaded();
    LockChangeEvents(true);
    LockClick(true);
    try {
        dataBinding_->UpdateNotConnectedDBEditDisplayValue();
        ShortRefreshContainer(false);
        if (!repositoryItem_)
            properties_->OnPropertiesChanged = PropertiesChangedHandler();
        PropertiesChanged(ActiveProperties());
        ViewInfo()->Shadow = false;
        ContainerStyleChanged(Style());
    } catch (...) {
        LockClick(false);
        LockChangeEvents(false, false);
        throw;
    }
    LockClick(false);
    LockChangeEvents(false, false);
}

void TcxCustomEdit::SetParent(TWinControl* parent)
{
    if (parent && firstParent_ && properties_) {
        firstParent_ = false;
        dataBinding_->UpdateNotConnectedDBEditDisplayValue();
        PropertiesChanged(properties_);
        dataBinding_->UpdateDisplayValue();
    }
    TcxContainer::SetParent(parent);
}

void TcxCustomEdit::SetTransparent(bool value)
{
    if (transparent_ == value)
        return;
    transparent_ = value;
    if (value)
        ControlStyle.Exclude(csOpaque);
    else
        ControlStyle.Include(csOpaque);
    ShortRefreshContainer(false);
}

void TcxCustomEdit::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    TcxContainer::GetTabOrderList(list);
    if (isInplace_ && Visible())
        std::erase(list, Parent());
}

TcxEditStateColorKind TcxCustomEdit::GetEditStateColorKind() const
{
    const TcxEditStateColorKind kind = TcxContainer::GetEditStateColorKind();
    if (kind != esckDisabled && properties_ && properties_->GetReadOnly())
        return esckReadOnly;
    return kind;
}

TcxContainerStyleClass TcxCustomEdit::GetStyleClass() const
{
    return properties_ ? properties_->GetStyleClass() : TcxContainer::GetStyleClass();
}

TcxLookAndFeelKind TcxCustomEdit::GetPopupWindowControlsLookAndFeelKind()
{
    if (isInplace_)
        return EditStyle()->GetLookAndFeel()->GetKind();
    TcxEditButtons* buttons = ActiveProperties()->Buttons();
    if (buttons->Count() == 0)
        return lfStandard;
    switch (EditStyle()->GetButtonStyle()) {
    case btsFlat:
    case btsSimple:
    case btsHotFlat:
        return lfFlat;
    case btsUltraFlat:
        return lfUltraFlat;
    case btsOffice11:
        return lfOffice11;
    default:
        return lfStandard;
    }
}

} // namespace cx
