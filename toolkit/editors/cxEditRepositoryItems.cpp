#include "toolkit/editors/cxEditRepositoryItems.h"

namespace cx {

TcxCustomEditPropertiesClass GetRepositoryItemPropertiesClass(const std::string& propertiesClassName)
{
    TcxCustomEditPropertiesClass cls = FindRegisteredEditPropertiesClass(propertiesClassName);
    return cls ? cls : TcxCustomEditPropertiesClass::Of<TcxCustomEditProperties>();
}

std::vector<TcxEditRepositoryItemClass> cxEditRepositoryItemClasses()
{
    return {
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryTextItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryButtonItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryImageItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryComboBoxItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryMaskItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryPopupItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryCalcItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryDateItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryCurrencyItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositorySpinItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryMemoItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryImageComboBoxItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryBlobItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryCheckBoxItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryTimeItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryMRUItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryHyperLinkItem>(),
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryRadioGroupItem>()};
}

namespace cxEditRepositoryItemsUnit {
namespace {
int counter = 0;
}

void Initialize()
{
    if (counter++ != 0)
        return;
    for (const TcxEditRepositoryItemClass& cls : cxEditRepositoryItemClasses())
        RegisterClassMeta(*cls.Meta());
}

void Finalize()
{
    if (counter == 0 || --counter != 0)
        return;
    for (const TcxEditRepositoryItemClass& cls : cxEditRepositoryItemClasses())
        UnRegisterClassMeta(*cls.Meta());
}
} // namespace cxEditRepositoryItemsUnit

} // namespace cx
