#pragma once
// cxInplaceContainer: the items of an editing control (one editable value slot each: a grid row, a
// table column), their data binding and options, the control's data controller, the value-type
// registry, the editing control with its options, and the controllers that open the one in-place
// editor.
#include "toolkit/data/cxData.h"
#include "toolkit/controls/cxControls.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxEditDataRegisteredRepositoryItems.h"
#include "toolkit/editors/cxEditViewInfo.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace cx {

class TcxCustomInplaceEditContainer;
class TcxEditingControl;
class TcxCustomControlController;
class TcxEditingController;
class TcxCustomControlViewInfo;
class TcxEditCellViewInfo;

// ---- small shared functions ----------------------------------------------------------------------

inline bool cxInRange(int v, int min, int max) { return min <= v && v <= max; }
// Clamps v into [min, max]; true when it was inside already.
bool cxRange(int& v, int min, int max);
template <class T>
T cxSetValue(bool condition, T ifTrue, T ifFalse) { return condition ? ifTrue : ifFalse; }
// The abstract-method stop of these classes (an operation a descendant must supply).
[[noreturn]] void cxAbstractError();

// ---- value-type registry -------------------------------------------------------------------------

// The value types by the names form streams use ("Integer", "String" ...). Descriptions compare
// without regard to case; a class is registered once, under its first description.
class TcxValueTypeClassRepository : public TObject {
    RTL_CLASS(TcxValueTypeClassRepository, TObject)
    void RegisterValueTypeClass(const std::string& description, TcxValueTypeClass cls);
    void UnRegisterValueTypeClass(TcxValueTypeClass cls);
    // Empty when the class is not registered.
    std::string FindByClassType(TcxValueTypeClass cls) const;
    // Null when no class has that description.
    TcxValueTypeClass FindByDescription(const std::string& description) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TcxValueTypeClass Items(int index) const { return items_.at(static_cast<std::size_t>(index)).second; }
    std::string Descriptions(int index) const { return items_.at(static_cast<std::size_t>(index)).first; }

private:
    std::vector<std::pair<std::string, TcxValueTypeClass>> items_;
};

// Exists between the unit's start-up and shut-down (null outside).
TcxValueTypeClassRepository* cxieValueTypeClassRepository();
void cxieRegisterValueTypeClass(const std::string& description, TcxValueTypeClass cls);
void cxieUnRegisterValueTypeClass(TcxValueTypeClass cls);

// ---- item options, styles and binding ---------------------------------------------------------

enum TcxEditItemShowEditButtons { eisbDefault, eisbNever, eisbAlways };

class TcxCustomEditContainerItemOptions : public TcxOwnedPersistent {
    RTL_CLASS(TcxCustomEditContainerItemOptions, TcxOwnedPersistent)
    explicit TcxCustomEditContainerItemOptions(TPersistent* owner) : TcxOwnedPersistent(owner) {}
    void Assign(TPersistent* source) override;
    virtual void Changed();
    TcxCustomInplaceEditContainer* Item() const;

    bool Editing() const { return editing_; }
    void SetEditing(bool value);
    bool Filtering() const { return filtering_; }
    void SetFiltering(bool value);
    bool Focusing() const { return focusing_; }
    void SetFocusing(bool value);
    bool IncSearch() const { return incSearch_; }
    void SetIncSearch(bool value);
    TcxEditItemShowEditButtons ShowEditButtons() const { return showEditButtons_; }
    void SetShowEditButtons(TcxEditItemShowEditButtons value);
    bool TabStop = true;
    // Kept for descendants that publish them; read by nothing here.
    bool Grouping = true;
    bool Moving = true;
    bool Sorting = true;

private:
    bool editing_ = true;
    bool filtering_ = true;
    bool focusing_ = true;
    bool incSearch_ = true;
    TcxEditItemShowEditButtons showEditButtons_ = eisbDefault;
};
using TcxCustomEditContainerItemOptionsClass = TClassRef<TcxCustomEditContainerItemOptions, TPersistent*>;

inline constexpr int ecs_Content = 0;

class TcxEditContainerStyles : public TcxStyles {
    RTL_CLASS(TcxEditContainerStyles, TcxStyles)
    explicit TcxEditContainerStyles(TPersistent* owner) : TcxStyles(owner) {}
    void Assign(TPersistent* source) override;
    TcxStyle* Content() { return GetValue(ecs_Content); }
    void SetContent(TcxStyle* value) { SetValue(ecs_Content, value); }
    TcxCustomInplaceEditContainer* Item();

protected:
    void Changed(int index) override;
};
using TcxEditContainerStylesClass = TClassRef<TcxEditContainerStyles, TPersistent*>;

class TcxCustomItemDataBinding;

class TcxContainerItemDefaultValuesProvider : public TcxCustomEditDefaultValuesProvider {
    RTL_CLASS(TcxContainerItemDefaultValuesProvider, TcxCustomEditDefaultValuesProvider)
    using TcxCustomEditDefaultValuesProvider::TcxCustomEditDefaultValuesProvider;
    bool IsDisplayFormatDefined(bool) override { return false; }
};
using TcxContainerItemDefaultValuesProviderClass = TClassRef<TcxCustomEditDefaultValuesProvider, TPersistent*>;

// Which value type the item's field has, and the defaults its editor takes.
class TcxCustomItemDataBinding : public TcxOwnedPersistent {
    RTL_CLASS(TcxCustomItemDataBinding, TcxOwnedPersistent)
    explicit TcxCustomItemDataBinding(TPersistent* owner) : TcxOwnedPersistent(owner) {}
    ~TcxCustomItemDataBinding() override;

    virtual TcxEditRepositoryItem* DefaultRepositoryItem();
    virtual std::string GetDefaultCaption() { return {}; }
    // The provider (made on first use, of GetDefaultValuesProviderClass).
    virtual IcxEditDefaultValuesProvider* GetDefaultValuesProvider();
    virtual TcxContainerItemDefaultValuesProviderClass GetDefaultValuesProviderClass() const;
    virtual TcxValueTypeClass GetValueTypeClass() { return TcxStringValueType::Class(); }
    virtual void Init() {}
    virtual void ValueTypeClassChanged();
    bool IsDisplayFormatDefined(bool isCurrencyValueAccepted);
    TcxCustomDataController* GetDataController();
    TcxCustomInplaceEditContainer* GetEditContainer() const;
    TcxCustomEditDefaultValuesProvider* DefaultValuesProvider();

private:
    TcxCustomEditDefaultValuesProvider* provider_ = nullptr;
};
using TcxItemDataBindingClass = TClassRef<TcxCustomItemDataBinding, TPersistent*>;

class TcxItemDataBinding : public TcxCustomItemDataBinding {
    RTL_CLASS(TcxItemDataBinding, TcxCustomItemDataBinding)
    using TcxCustomItemDataBinding::TcxCustomItemDataBinding;
    void Assign(TPersistent* source) override;
    TcxValueTypeClass GetValueTypeClass() override;
    // The stored class; null when never set.
    TcxValueTypeClass ValueTypeClass() const { return valueTypeClass_; }
    void SetValueTypeClass(TcxValueTypeClass value);
    // The published "ValueType": the registered description of the class in use.
    std::string ValueType();
    void SetValueType(const std::string& value);
    virtual bool IsValueTypeStored() const;

private:
    TcxValueTypeClass valueTypeClass_ = nullptr;
};

// ---- the item -------------------------------------------------------------------------------

// {9F0CD5D9-A3D1-44B7-82DC-CAEAC1367C5D}
class IcxEditorPropertiesContainer {
public:
    virtual ~IcxEditorPropertiesContainer() = default;
    virtual TcxCustomEditProperties* GetProperties() = 0;
    virtual TcxCustomEditPropertiesClass GetPropertiesClass() = 0;
    virtual void SetPropertiesClass(TcxCustomEditPropertiesClass value) = 0;
};

using TcxGetEditPropertiesEvent =
    Event<void(TcxCustomInplaceEditContainer* sender, void* recordData, TcxCustomEditProperties*& properties)>;

// One editable value slot of an editing control: field DataItemIndex of the control's data
// controller. The item keeps no values; it chooses the editor properties and reads and writes
// through the data controller.
class TcxCustomInplaceEditContainer : public TComponent,
                                      public IcxEditorPropertiesContainer,
                                      public IcxEditRepositoryItemListener {
    RTL_CLASS(TcxCustomInplaceEditContainer, TComponent)
    explicit TcxCustomInplaceEditContainer(TComponent* owner);
    ~TcxCustomInplaceEditContainer() override;
    void BeforeDestruction() override;
    void Assign(TPersistent* source) override;

    // --- sub-objects (made on first use, of the classes the class operations name)
    TcxCustomItemDataBinding* DataBinding();
    TcxCustomEditContainerItemOptions* Options();
    TcxEditContainerStyles* Styles();
    void SetStyles(TcxEditContainerStyles* value) { Styles()->Assign(value); }
    virtual TcxItemDataBindingClass GetDataBindingClass() const;
    virtual TcxCustomEditContainerItemOptionsClass GetOptionsClass() const;
    virtual TcxEditContainerStylesClass GetStylesClass() const;

    // --- attachment
    TcxEditingControl* EditingControl() const { return editingControl_; }
    virtual void SetEditingControl(TcxEditingControl* value);
    int DataItemIndex() const { return dataItemIndex_; }
    void SetDataItemIndex(int value) { dataItemIndex_ = value; }
    TcxCustomDataController* DataController() const;
    virtual TcxCustomControlController* GetController() const;
    virtual TcxEditStyle* GetEditStyle() const;
    virtual TcxCanvas* GetControlCanvas() const;

    // --- properties
    TcxCustomEditProperties* GetProperties() override { return properties_; }
    TcxCustomEditProperties* Properties() const { return properties_; }
    void SetProperties(TcxCustomEditProperties* value);
    TcxCustomEditPropertiesClass GetPropertiesClass() override { return propertiesClass_; }
    void SetPropertiesClass(TcxCustomEditPropertiesClass value) override;
    std::string PropertiesClassName() const;
    void SetPropertiesClassName(const std::string& value);
    TcxEditRepositoryItem* RepositoryItem() const { return repositoryItem_; }
    void SetRepositoryItem(TcxEditRepositoryItem* value);
    // The properties in effect, with the binding's provider set on them.
    TcxCustomEditProperties* GetPropertiesValue();
    TcxCustomEditProperties* PropertiesValue() const { return propertiesValue_; }
    TcxCustomEditViewData* SharedViewData() const { return sharedViewData_; }
    TcxCustomEditData*& SavedEditData() { return savedEditData_; }
    TcxDataEditValueSource EditingValueSource = evsValue;
    virtual TcxCustomEditProperties* GetDefaultEditProperties();
    virtual void InitProperties(TcxCustomEditProperties* properties);
    TcxCustomEditProperties* DoGetPropertiesFromEvent(void* recordData, TcxCustomEditProperties* properties,
                                                      const TcxGetEditPropertiesEvent& event);
    virtual TcxCustomEditProperties* DoGetEditProperties(void* recordData);
    virtual void DoGetEditingProperties(void* recordData, TcxCustomEditProperties*& properties);
    virtual TcxCustomEditViewData* CreateEditViewData(TcxCustomEditProperties* properties, void* recordData);
    void InternalPropertiesChanged();
    virtual void PropertiesChanged() { Changed(); }
    virtual void Changed();
    virtual void DataChanged();
    virtual void DoOnPropertiesChanged(TObject* sender) { InternalPropertiesChanged(); }

    // --- values
    virtual Variant GetValue(int recordIndex);
    virtual void SetValue(int recordIndex, const Variant& value);
    virtual Variant GetCurrentValue();
    virtual void SetCurrentValue(const Variant& value);
    virtual Variant GetDisplayValue(TcxCustomEditProperties* properties, int recordIndex);
    virtual Variant GetEditValue();
    virtual void SetEditValue(const Variant& value);
    virtual int GetValueCount();
    virtual TcxValueTypeClass GetEditDataValueTypeClass() { return DataBinding()->GetValueTypeClass(); }
    virtual std::string GetDefaultCaption() { return DataBinding()->GetDefaultCaption(); }

    // --- state
    virtual bool CanEdit();
    virtual bool CanFocus() { return Options()->Focusing(); }
    virtual bool CanInitEditing();
    virtual bool CanIncSearch();
    virtual bool CanTabStop() { return Options()->TabStop; }
    virtual bool GetEditing();
    virtual void SetEditing(bool value);
    bool Focused();
    void SetFocused(bool value);
    bool IncSearching();
    TcxEditCellViewInfo* FocusedCellViewInfo();
    bool IsEditPartVisible();
    virtual bool HasDataTextHandler() { return false; }
    virtual void DoGetDisplayText(void* recordData, std::string& text) {}
    void EditViewDataGetDisplayTextHandler(TcxCustomEditViewData* viewData, std::string& text);

    // IcxEditRepositoryItemListener
    void ItemRemoved(TcxEditRepositoryItem* sender) override { SetRepositoryItem(nullptr); }
    void PropertiesChanged(TcxEditRepositoryItem* sender) override { DoOnPropertiesChanged(sender); }

    TcxGetEditPropertiesEvent OnGetEditProperties;
    TcxGetEditPropertiesEvent OnGetEditingProperties;
    // Published placeholder; nothing calls it.
    TNotifyEvent PropertiesEvents;

protected:
    void CreateProperties();
    void DestroyProperties();
    bool Destroying() const { return destroying_; }
    // The data controller that holds the item's values; raises when no control holds the item.
    TcxCustomDataController* ValuesController() const;

private:
    Event<void(TObject*)> PropertiesHook();
    void HookProperties(TcxCustomEditProperties* properties);
    TcxCustomEditProperties* hookedProperties_ = nullptr;
    TcxCustomItemDataBinding* dataBinding_ = nullptr;
    int dataItemIndex_ = -1;
    bool destroying_ = false;
    TcxEditingControl* editingControl_ = nullptr;
    TcxCustomEditContainerItemOptions* options_ = nullptr;
    TcxCustomEditProperties* properties_ = nullptr;
    TcxCustomEditPropertiesClass propertiesClass_;
    TcxCustomEditProperties* propertiesValue_ = nullptr;
    TcxEditRepositoryItem* repositoryItem_ = nullptr;
    TcxCustomEditData* savedEditData_ = nullptr;
    TcxCustomEditViewData* sharedViewData_ = nullptr;
    TcxEditContainerStyles* styles_ = nullptr;
};
using TcxCustomInplaceEditContainerClass = TClassRef<TcxCustomInplaceEditContainer, TComponent*>;

// ---- the control's data controller --------------------------------------------------------------

class TcxControlDataController : public TcxDataController {
    RTL_CLASS(TcxControlDataController, TcxDataController)
    explicit TcxControlDataController(TComponent* owner) : TcxDataController(owner) {}
    TcxEditingControl* EditingControl() const;
    TObject* GetItem(int index) const override;
    int GetItemID(TObject* item) const override;
    TcxDataEditValueSource GetItemValueSource(int itemIndex) override;
    void UpdateControl(TcxUpdateControlInfo* info) override;
    void UpdateData() override;
    void UpdateItemIndexes() override;
};
using TcxControlDataControllerClass = TClassRef<TcxControlDataController, TComponent*>;

} // namespace cx

#include "toolkit/grid/cxInplaceControl.h"
