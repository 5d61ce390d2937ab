#include "toolkit/grid/cxInplaceContainer.h"

#include "platform/rtl/SysUtils.h"
#include "toolkit/core/cxGraphicsShared.h"

#include <cstdlib>

namespace cx {

bool cxRange(int& v, int min, int max)
{
    const bool inside = cxInRange(v, min, max);
    if (v < min)
        v = min;
    else if (v > max)
        v = max;
    return inside;
}

void cxAbstractError() { throw EAbstractError("Abstract error"); }

// ---- value-type registry -------------------------------------------------------------------------

namespace {
TcxValueTypeClassRepository* valueTypeRepository = nullptr;
} // namespace

void TcxValueTypeClassRepository::RegisterValueTypeClass(const std::string& description, TcxValueTypeClass cls)
{
    if (!cls || !FindByClassType(cls).empty())
        return;
    items_.emplace_back(description, cls);
}

void TcxValueTypeClassRepository::UnRegisterValueTypeClass(TcxValueTypeClass cls)
{
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if (it->second == cls) {
            items_.erase(it);
            return;
        }
}

std::string TcxValueTypeClassRepository::FindByClassType(TcxValueTypeClass cls) const
{
    for (const auto& [description, c] : items_)
        if (c == cls)
            return description;
    return {};
}

TcxValueTypeClass TcxValueTypeClassRepository::FindByDescription(const std::string& description) const
{
    for (const auto& [d, c] : items_)
        if (SameText(d, description))
            return c;
    return nullptr;
}

TcxValueTypeClassRepository* cxieValueTypeClassRepository() { return valueTypeRepository; }

void cxieRegisterValueTypeClass(const std::string& description, TcxValueTypeClass cls)
{
    if (valueTypeRepository)
        valueTypeRepository->RegisterValueTypeClass(description, cls);
}

void cxieUnRegisterValueTypeClass(TcxValueTypeClass cls)
{
    if (valueTypeRepository)
        valueTypeRepository->UnRegisterValueTypeClass(cls);
}

// ---- item options -----------------------------------------------------------------------------

TcxCustomInplaceEditContainer* TcxCustomEditContainerItemOptions::Item() const
{
    return dynamic_cast<TcxCustomInplaceEditContainer*>(const_cast<TcxCustomEditContainerItemOptions*>(this)->GetOwner());
}

void TcxCustomEditContainerItemOptions::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxCustomEditContainerItemOptions*>(source)) {
        SetEditing(s->Editing());
        SetFiltering(s->Filtering());
        SetFocusing(s->Focusing());
        SetIncSearch(s->IncSearch());
        SetShowEditButtons(s->ShowEditButtons());
        TabStop = s->TabStop;
        Grouping = s->Grouping;
        Moving = s->Moving;
        Sorting = s->Sorting;
    } else
        TcxOwnedPersistent::Assign(source);
}

void TcxCustomEditContainerItemOptions::Changed()
{
    if (TcxCustomInplaceEditContainer* item = Item())
        item->Changed();
}

void TcxCustomEditContainerItemOptions::SetEditing(bool value)
{
    if (editing_ == value)
        return;
    editing_ = value;
    if (!value)
        if (TcxCustomInplaceEditContainer* item = Item())
            item->SetEditing(false);
}

void TcxCustomEditContainerItemOptions::SetFiltering(bool value)
{
    if (filtering_ == value)
        return;
    filtering_ = value;
    Changed();
}

void TcxCustomEditContainerItemOptions::SetFocusing(bool value)
{
    if (focusing_ == value)
        return;
    focusing_ = value;
    if (!value)
        if (TcxCustomInplaceEditContainer* item = Item())
            item->SetFocused(false);
}

void TcxCustomEditContainerItemOptions::SetIncSearch(bool value)
{
    if (incSearch_ == value)
        return;
    TcxCustomInplaceEditContainer* item = Item();
    if (!value && item && item->IncSearching())
        item->GetController()->CancelIncSearching();
    incSearch_ = value;
}

void TcxCustomEditContainerItemOptions::SetShowEditButtons(TcxEditItemShowEditButtons value)
{
    if (showEditButtons_ == value)
        return;
    showEditButtons_ = value;
    Changed();
}

// ---- styles -------------------------------------------------------------------------------------

TcxCustomInplaceEditContainer* TcxEditContainerStyles::Item()
{
    return dynamic_cast<TcxCustomInplaceEditContainer*>(GetOwner());
}

void TcxEditContainerStyles::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxEditContainerStyles*>(source))
        SetContent(s->Content());
    TcxStyles::Assign(source);
}

void TcxEditContainerStyles::Changed(int index)
{
    TcxStyles::Changed(index);
    TcxCustomInplaceEditContainer* item = Item();
    if (item && item->EditingControl())
        item->EditingControl()->UpdateViewStyles();
}

// ---- data binding -------------------------------------------------------------------------------

TcxCustomItemDataBinding::~TcxCustomItemDataBinding() { FreeAndNil(provider_); }

TcxCustomInplaceEditContainer* TcxCustomItemDataBinding::GetEditContainer() const
{
    return dynamic_cast<TcxCustomInplaceEditContainer*>(const_cast<TcxCustomItemDataBinding*>(this)->GetOwner());
}

TcxCustomDataController* TcxCustomItemDataBinding::GetDataController()
{
    TcxCustomInplaceEditContainer* item = GetEditContainer();
    return item ? item->DataController() : nullptr;
}

TcxContainerItemDefaultValuesProviderClass TcxCustomItemDataBinding::GetDefaultValuesProviderClass() const
{
    return TcxContainerItemDefaultValuesProviderClass::Of<TcxContainerItemDefaultValuesProvider>();
}

TcxCustomEditDefaultValuesProvider* TcxCustomItemDataBinding::DefaultValuesProvider()
{
    if (!provider_)
        provider_ = GetDefaultValuesProviderClass().Create(this);
    return provider_;
}

IcxEditDefaultValuesProvider* TcxCustomItemDataBinding::GetDefaultValuesProvider() { return DefaultValuesProvider(); }

TcxEditRepositoryItem* TcxCustomItemDataBinding::DefaultRepositoryItem()
{
    return GetDefaultEditDataRepositoryItems()->GetItem(GetValueTypeClass());
}

void TcxCustomItemDataBinding::ValueTypeClassChanged()
{
    TcxCustomInplaceEditContainer* item = GetEditContainer();
    if (TcxCustomDataController* dc = GetDataController())
        dc->ChangeValueTypeClass(item->DataItemIndex(), GetValueTypeClass());
    if (item)
        item->InternalPropertiesChanged();
}

bool TcxCustomItemDataBinding::IsDisplayFormatDefined(bool isCurrencyValueAccepted)
{
    TcxCustomInplaceEditContainer* item = GetEditContainer();
    TcxCustomDataController* dc = GetDataController();
    return (dc && dc->IsDisplayFormatDefined(item->DataItemIndex(), !isCurrencyValueAccepted)) ||
           (item && item->HasDataTextHandler());
}

TcxValueTypeClass TcxItemDataBinding::GetValueTypeClass()
{
    return valueTypeClass_ ? valueTypeClass_ : TcxStringValueType::Class();
}

void TcxItemDataBinding::SetValueTypeClass(TcxValueTypeClass value)
{
    if (value == GetValueTypeClass())
        return;
    valueTypeClass_ = value;
    ValueTypeClassChanged();
}

std::string TcxItemDataBinding::ValueType()
{
    TcxValueTypeClassRepository* repository = cxieValueTypeClassRepository();
    return repository ? repository->FindByClassType(GetValueTypeClass()) : std::string();
}

void TcxItemDataBinding::SetValueType(const std::string& value)
{
    TcxValueTypeClassRepository* repository = cxieValueTypeClassRepository();
    if (TcxValueTypeClass cls = repository ? repository->FindByDescription(value) : nullptr)
        SetValueTypeClass(cls);
}

bool TcxItemDataBinding::IsValueTypeStored() const { return valueTypeClass_ != TcxStringValueType::Class(); }

void TcxItemDataBinding::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxItemDataBinding*>(source)) {
        SetValueType(s->ValueType());
        SetValueTypeClass(s->GetValueTypeClass());
    } else
        TcxCustomItemDataBinding::Assign(source);
}

// ---- the item -------------------------------------------------------------------------------

TcxCustomInplaceEditContainer::TcxCustomInplaceEditContainer(TComponent* owner) : TComponent(owner) {}

TcxCustomInplaceEditContainer::~TcxCustomInplaceEditContainer()
{
    destroying_ = true;
    HookProperties(nullptr);
    SetRepositoryItem(nullptr);
    SetEditingControl(nullptr);
    FreeAndNil(options_);
    FreeAndNil(dataBinding_);
    FreeAndNil(styles_);
    DestroyProperties();
}

void TcxCustomInplaceEditContainer::BeforeDestruction()
{
    destroying_ = true;
    TComponent::BeforeDestruction();
}

TcxItemDataBindingClass TcxCustomInplaceEditContainer::GetDataBindingClass() const
{
    return TcxItemDataBindingClass::Of<TcxItemDataBinding>();
}

TcxCustomEditContainerItemOptionsClass TcxCustomInplaceEditContainer::GetOptionsClass() const
{
    return TcxCustomEditContainerItemOptionsClass::Of<TcxCustomEditContainerItemOptions>();
}

TcxEditContainerStylesClass TcxCustomInplaceEditContainer::GetStylesClass() const
{
    return TcxEditContainerStylesClass::Of<TcxEditContainerStyles>();
}

TcxCustomItemDataBinding* TcxCustomInplaceEditContainer::DataBinding()
{
    if (!dataBinding_)
        dataBinding_ = GetDataBindingClass().Create(this);
    return dataBinding_;
}

TcxCustomEditContainerItemOptions* TcxCustomInplaceEditContainer::Options()
{
    if (!options_)
        options_ = GetOptionsClass().Create(this);
    return options_;
}

TcxEditContainerStyles* TcxCustomInplaceEditContainer::Styles()
{
    if (!styles_)
        styles_ = GetStylesClass().Create(this);
    return styles_;
}

void TcxCustomInplaceEditContainer::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomInplaceEditContainer*>(source);
    if (!s) {
        TComponent::Assign(source);
        return;
    }
    DataBinding()->Assign(s->DataBinding());
    SetPropertiesClassName(s->PropertiesClassName());
    SetProperties(s->Properties());
    SetRepositoryItem(s->RepositoryItem());
    Styles()->Assign(s->Styles());
    OnGetEditProperties = s->OnGetEditProperties;
}

// --- attachment

TcxCustomDataController* TcxCustomInplaceEditContainer::DataController() const
{
    return editingControl_ ? editingControl_->DataController() : nullptr;
}

TcxCustomControlController* TcxCustomInplaceEditContainer::GetController() const
{
    return editingControl_ ? editingControl_->Controller() : nullptr;
}

TcxEditStyle* TcxCustomInplaceEditContainer::GetEditStyle() const
{
    return editingControl_ ? editingControl_->EditStyle() : nullptr;
}

TcxCanvas* TcxCustomInplaceEditContainer::GetControlCanvas() const
{
    if (editingControl_ && editingControl_->HandleAllocated())
        return editingControl_->Canvas();
    return cxScreenCanvas();
}

void TcxCustomInplaceEditContainer::SetEditingControl(TcxEditingControl* value)
{
    if (editingControl_ == value)
        return;
    if (value)
        value->ViewInfo()->StylesDirty = true;
    if (editingControl_)
        editingControl_->DoInplaceEditContainerItemRemoved(this);
    editingControl_ = value;
    if (!value)
        return;
    value->BeginUpdate();
    try {
        value->DoInplaceEditContainerItemAdded(this);
        DataBinding()->ValueTypeClassChanged();
    } catch (...) {
        value->CancelUpdate();
        InternalPropertiesChanged();
        throw;
    }
    value->CancelUpdate();
    InternalPropertiesChanged();
}

// --- properties

void TcxCustomInplaceEditContainer::SetProperties(TcxCustomEditProperties* value)
{
    if (properties_ && value)
        properties_->Assign(value);
}

std::string TcxCustomInplaceEditContainer::PropertiesClassName() const
{
    return properties_ ? properties_->ClassType().ClassName() : std::string();
}

void TcxCustomInplaceEditContainer::SetPropertiesClassName(const std::string& value)
{
    if (value == PropertiesClassName())
        return;
    SetPropertiesClass(FindRegisteredEditPropertiesClass(value));
}

void TcxCustomInplaceEditContainer::SetPropertiesClass(TcxCustomEditPropertiesClass value)
{
    if (value == propertiesClass_)
        return;
    propertiesClass_ = value;
    DestroyProperties();
    CreateProperties();
}

void TcxCustomInplaceEditContainer::CreateProperties()
{
    if (propertiesClass_)
        properties_ = propertiesClass_.Create(this);
    InternalPropertiesChanged();
}

void TcxCustomInplaceEditContainer::DestroyProperties()
{
    FreeAndNil(savedEditData_);
    FreeAndNil(sharedViewData_);
    if (propertiesValue_ == properties_)
        propertiesValue_ = nullptr;
    if (hookedProperties_ == properties_)
        hookedProperties_ = nullptr;   // the hook goes with them
    FreeAndNil(properties_);
}

Event<void(TObject*)> TcxCustomInplaceEditContainer::PropertiesHook()
{
    return Event<void(TObject*)>(this, &TcxCustomInplaceEditContainer::DoOnPropertiesChanged);
}

// Properties in effect that nobody listened to are hooked to this item; they may be shared (a
// value type's default), so the hook leaves them when they stop being in effect and when the
// item goes, or their next notice would call an item that no longer uses them or no longer exists.
void TcxCustomInplaceEditContainer::HookProperties(TcxCustomEditProperties* properties)
{
    if (hookedProperties_ && hookedProperties_ != properties) {
        if (hookedProperties_->OnPropertiesChanged == PropertiesHook())
            hookedProperties_->OnPropertiesChanged = nullptr;
        hookedProperties_ = nullptr;
    }
    if (properties && !properties->OnPropertiesChanged) {
        properties->OnPropertiesChanged = PropertiesHook();
        hookedProperties_ = properties;
    }
}

void TcxCustomInplaceEditContainer::SetRepositoryItem(TcxEditRepositoryItem* value)
{
    if (repositoryItem_ == value)
        return;
    if (repositoryItem_) {
        TcxEditRepositoryItem* old = repositoryItem_;
        old->RemoveListener(this);
        if (TcxCustomControlController* controller = GetController())
            controller->EditingController()->RemoveEdit(old->Properties());
    }
    repositoryItem_ = value;
    if (value)
        value->AddListener(this);
    InternalPropertiesChanged();
}

TcxCustomEditProperties* TcxCustomInplaceEditContainer::GetDefaultEditProperties()
{
    if (repositoryItem_)
        return repositoryItem_->Properties();
    if (properties_)
        return properties_;
    TcxEditRepositoryItem* item = DataBinding()->DefaultRepositoryItem();
    return item ? item->Properties() : nullptr;
}

void TcxCustomInplaceEditContainer::InitProperties(TcxCustomEditProperties* properties)
{
    if (!properties)
        return;
    properties->LockUpdate(true);
    try {
        properties->SetIDefaultValuesProvider(DataBinding()->GetDefaultValuesProvider());
    } catch (...) {
        properties->LockUpdate(false);
        throw;
    }
    properties->LockUpdate(false);
}

TcxCustomEditProperties* TcxCustomInplaceEditContainer::GetPropertiesValue()
{
    InitProperties(propertiesValue_);
    return propertiesValue_;
}

TcxCustomEditProperties* TcxCustomInplaceEditContainer::DoGetPropertiesFromEvent(void* recordData,
                                                                                 TcxCustomEditProperties* properties,
                                                                                 const TcxGetEditPropertiesEvent& event)
{
    TcxCustomEditProperties* result = properties;
    if (event) {
        event(this, recordData, result);
        if (!result)
            result = properties;
    }
    InitProperties(result);
    return result;
}

TcxCustomEditProperties* TcxCustomInplaceEditContainer::DoGetEditProperties(void* recordData)
{
    return DoGetPropertiesFromEvent(recordData, propertiesValue_, OnGetEditProperties);
}

void TcxCustomInplaceEditContainer::DoGetEditingProperties(void* recordData, TcxCustomEditProperties*& properties)
{
    properties = DoGetPropertiesFromEvent(recordData, properties, OnGetEditingProperties);
}

TcxCustomEditViewData* TcxCustomInplaceEditContainer::CreateEditViewData(TcxCustomEditProperties* properties, void*)
{
    if (!properties)
        return nullptr;
    TcxCustomEditViewData* viewData = properties->CreateViewData(GetEditStyle(), true, false);
    viewData->OnGetDisplayText = [this](TcxCustomEditViewData* sender, std::string& text) {
        EditViewDataGetDisplayTextHandler(sender, text);
    };
    return viewData;
}

void TcxCustomInplaceEditContainer::EditViewDataGetDisplayTextHandler(TcxCustomEditViewData* viewData,
                                                                      std::string& text)
{
    if (viewData)
        DoGetDisplayText(viewData->Data, text);
}

void TcxCustomInplaceEditContainer::InternalPropertiesChanged()
{
    if (destroying_)
        return;
    if (TcxCustomControlController* controller = GetController())
        controller->ViewInfoChanged();
    TcxEditingController* editing = GetController() ? GetController()->EditingController() : nullptr;
    if (!editing || !(editing->IsEditing() || editing->EditHiding()))
        FreeAndNil(savedEditData_);
    FreeAndNil(sharedViewData_);
    propertiesValue_ = GetDefaultEditProperties();
    InitProperties(propertiesValue_);
    if (editingControl_)
        sharedViewData_ = CreateEditViewData(propertiesValue_, nullptr);
    HookProperties(propertiesValue_);
    PropertiesChanged();
}

void TcxCustomInplaceEditContainer::Changed()
{
    if (editingControl_)
        editingControl_->UpdateViewStyles();
}

void TcxCustomInplaceEditContainer::DataChanged()
{
    DataBinding()->Init();
    InternalPropertiesChanged();
}

// --- values

// An item holds no values of its own: reading or writing one of an item that no control holds is
// the caller's mistake and raises the data controller's error for an item it does not have.
TcxCustomDataController* TcxCustomInplaceEditContainer::ValuesController() const
{
    TcxCustomDataController* dc = DataController();
    if (!dc)
        InvalidOperation(&cxSDataItemIndexError);
    return dc;
}

Variant TcxCustomInplaceEditContainer::GetValue(int recordIndex)
{
    return ValuesController()->GetValue(recordIndex, dataItemIndex_);
}

void TcxCustomInplaceEditContainer::SetValue(int recordIndex, const Variant& value)
{
    ValuesController()->SetValue(recordIndex, dataItemIndex_, value);
}

Variant TcxCustomInplaceEditContainer::GetCurrentValue()
{
    return GetValue(ValuesController()->GetFocusedRecordIndex());
}

void TcxCustomInplaceEditContainer::SetCurrentValue(const Variant& value)
{
    SetValue(ValuesController()->GetFocusedRecordIndex(), value);
}

Variant TcxCustomInplaceEditContainer::GetDisplayValue(TcxCustomEditProperties* properties, int recordIndex)
{
    if (properties && properties->GetEditValueSource(false) != evsValue)
        return Variant(ValuesController()->GetDisplayText(recordIndex, dataItemIndex_));
    return GetValue(recordIndex);
}

Variant TcxCustomInplaceEditContainer::GetEditValue()
{
    if (!GetEditing())
        return Unassigned;
    TcxCustomDataController* dc = DataController();
    if (dc->GetRecordCount() == 0)
        return Null;
    return dc->GetEditValue(dataItemIndex_, EditingValueSource);
}

void TcxCustomInplaceEditContainer::SetEditValue(const Variant& value)
{
    if (GetEditing())
        DataController()->SetEditValue(dataItemIndex_, value, EditingValueSource);
}

int TcxCustomInplaceEditContainer::GetValueCount()
{
    TcxCustomDataController* dc = DataController();
    return dc ? dc->GetRecordCount() : 0;
}

// --- state

bool TcxCustomInplaceEditContainer::CanEdit()
{
    if (!editingControl_ || !CanFocus())
        return false;
    IcxEditingControlOptions* options = editingControl_->GetOptions();
    TcxCustomDataController* dc = DataController();
    return options->GetOptionsData()->Editing() && Options()->Editing() &&
           dc->GetEditOperations().Contains(dceoShowEdit) && dc->GetRecordCount() > 0;
}

bool TcxCustomInplaceEditContainer::CanInitEditing()
{
    TcxCustomDataController* dc = DataController();
    return dc && dc->CanInitEditing(dataItemIndex_);
}

bool TcxCustomInplaceEditContainer::CanIncSearch()
{
    TcxCustomEditProperties* properties = GetPropertiesValue();
    return editingControl_ && properties && properties->GetSupportedOperations().Contains(esoIncSearch) &&
           editingControl_->GetOptions()->GetOptionsBehavior()->IncSearch() && Options()->IncSearch();
}

bool TcxCustomInplaceEditContainer::GetEditing()
{
    TcxCustomControlController* controller = GetController();
    return controller && controller->EditingController()->EditingItem() == this;
}

void TcxCustomInplaceEditContainer::SetEditing(bool value)
{
    TcxCustomControlController* controller = GetController();
    if (!controller)
        return;
    if (value)
        controller->EditingController()->SetEditingItem(this);
    else if (GetEditing())
        controller->EditingController()->SetEditingItem(nullptr);
}

bool TcxCustomInplaceEditContainer::Focused()
{
    TcxCustomControlController* controller = GetController();
    return controller && controller->FocusedItem() == this;
}

void TcxCustomInplaceEditContainer::SetFocused(bool value)
{
    // Clearing the focus leaves it where it is: where it should go instead is the host's choice.
    if (value)
        if (TcxCustomControlController* controller = GetController())
            controller->SetFocusedItem(this);
}

bool TcxCustomInplaceEditContainer::IncSearching()
{
    TcxCustomControlController* controller = GetController();
    return controller && controller->IncSearchingItem() == this;
}

TcxEditCellViewInfo* TcxCustomInplaceEditContainer::FocusedCellViewInfo()
{
    TcxCustomControlController* controller = GetController();
    return controller ? controller->GetFocusedCellViewInfo(this) : nullptr;
}

bool TcxCustomInplaceEditContainer::IsEditPartVisible()
{
    TcxEditCellViewInfo* cell = FocusedCellViewInfo();
    return cell && cell->IsVisiblePart();
}

// ---- control data controller ----------------------------------------------------------------

TcxEditingControl* TcxControlDataController::EditingControl() const
{
    return dynamic_cast<TcxEditingControl*>(const_cast<TcxControlDataController*>(this)->GetOwner());
}

TObject* TcxControlDataController::GetItem(int index) const { return EditingControl()->Items(index); }

int TcxControlDataController::GetItemID(TObject* item) const
{
    auto* container = dynamic_cast<TcxCustomInplaceEditContainer*>(item);
    return container ? container->DataItemIndex() : -1;
}

TcxDataEditValueSource TcxControlDataController::GetItemValueSource(int itemIndex)
{
    TcxCustomEditProperties* properties = EditingControl()->Items(itemIndex)->GetPropertiesValue();
    return properties ? properties->GetEditValueSource(true) : evsValue;
}

void TcxControlDataController::UpdateControl(TcxUpdateControlInfo* info) { EditingControl()->ControlUpdateData(info); }

void TcxControlDataController::UpdateData() { EditingControl()->UpdateData(); }

void TcxControlDataController::UpdateItemIndexes()
{
    EditingControl()->UpdateIndexes();
    TcxDataController::UpdateItemIndexes();
}

// ---- unit ---------------------------------------------------------------------------------------

namespace cxInplaceContainerUnit {
namespace {
int counter = 0;
}

void Initialize()
{
    if (counter++ != 0)
        return;
    valueTypeRepository = new TcxValueTypeClassRepository;
    cxieRegisterValueTypeClass("Boolean", TcxBooleanValueType::Class());
    cxieRegisterValueTypeClass("String", TcxStringValueType::Class());
    cxieRegisterValueTypeClass("Integer", TcxIntegerValueType::Class());
    cxieRegisterValueTypeClass("Currency", TcxCurrencyValueType::Class());
    cxieRegisterValueTypeClass("Float", TcxFloatValueType::Class());
    cxieRegisterValueTypeClass("DateTime", TcxDateTimeValueType::Class());
    cxieRegisterValueTypeClass("Variant", TcxVariantValueType::Class());
}

void Finalize()
{
    if (counter == 0 || --counter != 0)
        return;
    FreeAndNil(valueTypeRepository);
}
} // namespace cxInplaceContainerUnit

} // namespace cx
