// TcxInplaceEditList: a host's cache of in-place editors, and the unit's list of live caches that
// a properties object being destroyed walks.
#include "toolkit/editors/cxEditControl.h"

#include <algorithm>

namespace cx {

namespace {
std::vector<TcxInplaceEditList*>* inplaceEditLists = nullptr;
} // namespace

const std::vector<TcxInplaceEditList*>* cxInplaceEditLists() { return inplaceEditLists; }

void cxDisconnectPropertiesFromInplaceEditLists(TcxCustomEditProperties* properties)
{
    if (!inplaceEditLists)
        return;
    for (TcxInplaceEditList* list : *inplaceEditLists)
        list->DisconnectProperties(properties);
}

const TClassMeta* TcxCustomEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxCustomEdit>().Meta();
}

TcxInplaceEditList::TcxInplaceEditList(TComponent* editorOwner) : editorOwner_(editorOwner)
{
    if (!inplaceEditLists)
        inplaceEditLists = new std::vector<TcxInplaceEditList*>;
    inplaceEditLists->push_back(this);
}

TcxInplaceEditList::~TcxInplaceEditList()
{
    if (inplaceEditLists) {
        std::erase(*inplaceEditLists, this);
        if (inplaceEditLists->empty()) {
            delete inplaceEditLists;
            inplaceEditLists = nullptr;
        }
    }
    DestroyItems();
}

int TcxInplaceEditList::FindItem(TcxCustomEditProperties* properties, bool useFreeEdit)
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Properties == properties)
            return int(i);
    if (!useFreeEdit || !properties)
        return -1;
    const int index = FindFreeItem(properties->GetContainerClass());
    if (index != -1)
        items_[std::size_t(index)].Properties = properties;
    return index;
}

int TcxInplaceEditList::FindItem(const TcxCustomEditPropertiesClass& propertiesClass)
{
    return propertiesClass ? FindFreeItem(ContainerClassOf(propertiesClass)) : -1;
}

int TcxInplaceEditList::FindFreeItem(const TClassMeta* editClass) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (!items_[i].Properties && &items_[i].Edit->ClassType() == editClass)
            return int(i);
    return -1;
}

const TClassMeta* TcxInplaceEditList::ContainerClassOf(const TcxCustomEditPropertiesClass& propertiesClass)
{
    // A probe answers which editor class the properties class names.
    TcxCustomEditProperties* probe = propertiesClass.Create(nullptr);
    const TClassMeta* editClass = probe->GetContainerClass();
    probe->Free();
    return editClass;
}

TcxCustomEdit* TcxInplaceEditList::GetEdit(int index) const
{
    return index < 0 || index >= Count() ? nullptr : items_[std::size_t(index)].Edit;
}

TcxCustomEdit* TcxInplaceEditList::FindEdit(TcxCustomEditProperties* properties)
{
    return GetEdit(FindItem(properties, true));
}

TcxCustomEdit* TcxInplaceEditList::FindEdit(TcxCustomEditPropertiesClass propertiesClass)
{
    return GetEdit(FindItem(propertiesClass));
}

TcxCustomEdit* TcxInplaceEditList::CreateEdit(const TClassMeta* editMeta)
{
    TcxCustomEditClass editClass = TcxCustomEditClass::FromMeta(editMeta);
    if (!editClass)
        throw EcxEditError("No editor control for " + (editMeta ? editMeta->ClassName() : std::string("nil")));
    TcxCustomEdit* edit = editClass.Create(editorOwner_, true);
    edit->SetVisible(false);
    return edit;
}

void TcxInplaceEditList::InitEdit(TcxCustomEdit* edit, TcxCustomEditProperties* properties)
{
    edit->LockChangeEvents(true);
    try {
        edit->SetProperties(properties);
    } catch (...) {
        edit->LockChangeEvents(false, false);
        throw;
    }
    edit->LockChangeEvents(false, false);
}

TcxCustomEdit* TcxInplaceEditList::GetEdit(TcxCustomEditProperties* properties)
{
    TcxCustomEdit* edit = FindEdit(properties);
    if (!edit) {
        // The object itself names its editor class: its class need not be known by reference.
        edit = CreateEdit(properties->GetContainerClass());
        items_.push_back({edit, properties});
    }
    InitEdit(edit, properties);
    return edit;
}

TcxCustomEdit* TcxInplaceEditList::GetEdit(TcxCustomEditPropertiesClass propertiesClass)
{
    if (!propertiesClass)
        throw EcxEditError("No properties class");
    TcxCustomEdit* edit = FindEdit(propertiesClass);
    if (!edit) {
        edit = CreateEdit(ContainerClassOf(propertiesClass));
        items_.push_back({edit, nullptr});
    }
    return edit;
}

void TcxInplaceEditList::DisconnectProperties(TcxCustomEditProperties* properties)
{
    const int index = FindItem(properties, false);
    if (index != -1)
        items_[std::size_t(index)].Properties = nullptr;
}

void TcxInplaceEditList::ForgetEdit(TcxCustomEdit* edit)
{
    std::erase_if(items_, [edit](const Item& item) { return item.Edit == edit; });
}

void TcxInplaceEditList::RemoveItem(int index)
{
    if (index < 0 || index >= Count())
        return;
    TcxCustomEdit* edit = items_[std::size_t(index)].Edit;
    items_.erase(items_.begin() + index);
    edit->SetParent(nullptr);
    edit->Free();
}

void TcxInplaceEditList::RemoveItem(TcxCustomEditProperties* properties) { RemoveItem(FindItem(properties, false)); }

void TcxInplaceEditList::RemoveItem(TcxCustomEditPropertiesClass propertiesClass)
{
    for (int index = FindItem(propertiesClass); index != -1; index = FindItem(propertiesClass))
        RemoveItem(index);
}

void TcxInplaceEditList::DestroyItems()
{
    while (Count() > 0)
        RemoveItem(0);
}

} // namespace cx
