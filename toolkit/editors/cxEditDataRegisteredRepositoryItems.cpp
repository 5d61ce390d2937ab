#include "toolkit/editors/cxEditDataRegisteredRepositoryItems.h"

#include "toolkit/editors/cxEditRepositoryItems.h"

namespace cx {

namespace {
TcxEditDataRegisteredRepositoryItems* defaultItems = nullptr;
constexpr int defaultVersion = -1;

struct DefaultEntry {
    TcxValueTypeClass (*valueType)();
    TcxEditRepositoryItemClass (*itemClass)();
};
// Value types whose editor is not the text editor.
const DefaultEntry defaultEntries[] = {
    {&TcxBooleanValueType::Class, &TcxEditRepositoryItemClass::Of<TcxEditRepositoryCheckBoxItem>},
    {&TcxCurrencyValueType::Class, &TcxEditRepositoryItemClass::Of<TcxEditRepositoryCurrencyItem>},
    {&TcxDateTimeValueType::Class, &TcxEditRepositoryItemClass::Of<TcxEditRepositoryDateItem>},
    {&TcxFMTBcdValueType::Class, &TcxEditRepositoryItemClass::Of<TcxEditRepositoryCurrencyItem>},
    {&TcxSQLTimeStampValueType::Class, &TcxEditRepositoryItemClass::Of<TcxEditRepositoryDateItem>},
};
} // namespace

TcxEditDataRegisteredRepositoryItems* GetDefaultEditDataRepositoryItems()
{
    if (!defaultItems)
        defaultItems = new TcxEditDataRegisteredRepositoryItems(nullptr);
    return defaultItems;
}

namespace cxEditDataRegisteredRepositoryItemsUnit {
namespace {
int counter = 0;
}

void Initialize()
{
    if (counter++ != 0)
        return;
    TcxEditRepository* repository = GetDefaultEditRepository();
    TcxEditDataRegisteredRepositoryItems* items = GetDefaultEditDataRepositoryItems();
    items->RegisterDefaultItem(defaultVersion,
                               repository->CreateItem(TcxEditRepositoryItemClass::Of<TcxEditRepositoryTextItem>()));
    for (const DefaultEntry& e : defaultEntries)
        items->RegisterItem(e.valueType(), defaultVersion, repository->CreateItem(e.itemClass()));
}

void Finalize()
{
    if (counter == 0 || --counter != 0)
        return;
    if (defaultItems) {
        defaultItems->UnregisterDefaultItem(defaultVersion);
        for (const DefaultEntry& e : defaultEntries)
            defaultItems->UnregisterItem(e.valueType(), defaultVersion);
    }
    FreeAndNil(defaultItems);
}
} // namespace cxEditDataRegisteredRepositoryItemsUnit

} // namespace cx
