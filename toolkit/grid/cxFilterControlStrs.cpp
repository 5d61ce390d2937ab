#include "toolkit/grid/cxFilterControlStrs.h"

#include "toolkit/core/dxCore.h"

namespace cx {

const TResStringRec cxSFilterBoolOperatorAnd = {64800, "AND"};
const TResStringRec cxSFilterBoolOperatorOr = {64801, "OR"};
const TResStringRec cxSFilterBoolOperatorNotAnd = {64802, "NOT AND"};
const TResStringRec cxSFilterBoolOperatorNotOr = {64803, "NOT OR"};
const TResStringRec cxSFilterRootButtonCaption = {64804, "Filter"};
const TResStringRec cxSFilterAddCondition = {64805, "Add &Condition"};
const TResStringRec cxSFilterAddGroup = {64806, "Add &Group"};
const TResStringRec cxSFilterRemoveRow = {64807, "&Remove Row"};
const TResStringRec cxSFilterClearAll = {64808, "Clear &All"};
const TResStringRec cxSFilterFooterAddCondition = {64809, "press the button to add a new condition"};
const TResStringRec cxSFilterGroupCaption = {64810, "applies to the following conditions"};
const TResStringRec cxSFilterRootGroupCaption = {64811, "<root>"};
const TResStringRec cxSFilterControlNullString = {64812, "<empty>"};
const TResStringRec cxSFilterErrorBuilding = {64813, "Can't build filter from source"};
const TResStringRec cxSFilterDialogCaption = {64814, "Custom Filter"};
const TResStringRec cxSFilterDialogUse = {64815, "Use"};
const TResStringRec cxSFilterDialogSingleCharacter = {64816, "to represent any single character"};
const TResStringRec cxSFilterDialogCharactersSeries = {64817, "to represent any series of characters"};
const TResStringRec cxSFilterDialogOperationAnd = {64818, "AND"};
const TResStringRec cxSFilterDialogOperationOr = {64819, "OR"};
const TResStringRec cxSFilterDialogRows = {64820, "Show rows where:"};
const TResStringRec cxSFilterControlDialogCaption = {64821, "Filter builder"};
const TResStringRec cxSFilterControlDialogNewFile = {64822, "untitled.flt"};
const TResStringRec cxSFilterControlDialogOpenDialogCaption = {64823, "Open an existing filter"};
const TResStringRec cxSFilterControlDialogSaveDialogCaption = {64824, "Save the active filter to file"};
const TResStringRec cxSFilterControlDialogActionSaveCaption = {64825, "&Save As..."};
const TResStringRec cxSFilterControlDialogActionOpenCaption = {64826, "&Open..."};
const TResStringRec cxSFilterControlDialogActionApplyCaption = {64827, "&Apply"};
const TResStringRec cxSFilterControlDialogActionOkCaption = {64828, "OK"};
const TResStringRec cxSFilterControlDialogActionCancelCaption = {64829, "Cancel"};
const TResStringRec cxSFilterControlDialogFileExt = {64830, "flt"};
const TResStringRec cxSFilterControlDialogFileFilter = {64831, "Filters (*.flt)|*.flt"};

const std::vector<TcxFilterControlResStringEntry>& cxFilterControlResourceStringTable()
{
    static const std::vector<TcxFilterControlResStringEntry> table = {
        {"cxSFilterBoolOperatorAnd", &cxSFilterBoolOperatorAnd},
        {"cxSFilterBoolOperatorOr", &cxSFilterBoolOperatorOr},
        {"cxSFilterBoolOperatorNotAnd", &cxSFilterBoolOperatorNotAnd},
        {"cxSFilterBoolOperatorNotOr", &cxSFilterBoolOperatorNotOr},
        {"cxSFilterRootButtonCaption", &cxSFilterRootButtonCaption},
        {"cxSFilterAddCondition", &cxSFilterAddCondition},
        {"cxSFilterAddGroup", &cxSFilterAddGroup},
        {"cxSFilterRemoveRow", &cxSFilterRemoveRow},
        {"cxSFilterClearAll", &cxSFilterClearAll},
        {"cxSFilterFooterAddCondition", &cxSFilterFooterAddCondition},
        {"cxSFilterGroupCaption", &cxSFilterGroupCaption},
        {"cxSFilterRootGroupCaption", &cxSFilterRootGroupCaption},
        {"cxSFilterControlNullString", &cxSFilterControlNullString},
        {"cxSFilterErrorBuilding", &cxSFilterErrorBuilding},
        {"cxSFilterDialogCaption", &cxSFilterDialogCaption},
        {"cxSFilterDialogInvalidValue", &cxSFilterDialogInvalidValue},
        {"cxSFilterDialogUse", &cxSFilterDialogUse},
        {"cxSFilterDialogSingleCharacter", &cxSFilterDialogSingleCharacter},
        {"cxSFilterDialogCharactersSeries", &cxSFilterDialogCharactersSeries},
        {"cxSFilterDialogOperationAnd", &cxSFilterDialogOperationAnd},
        {"cxSFilterDialogOperationOr", &cxSFilterDialogOperationOr},
        {"cxSFilterDialogRows", &cxSFilterDialogRows},
        {"cxSFilterControlDialogCaption", &cxSFilterControlDialogCaption},
        {"cxSFilterControlDialogNewFile", &cxSFilterControlDialogNewFile},
        {"cxSFilterControlDialogOpenDialogCaption", &cxSFilterControlDialogOpenDialogCaption},
        {"cxSFilterControlDialogSaveDialogCaption", &cxSFilterControlDialogSaveDialogCaption},
        {"cxSFilterControlDialogActionSaveCaption", &cxSFilterControlDialogActionSaveCaption},
        {"cxSFilterControlDialogActionOpenCaption", &cxSFilterControlDialogActionOpenCaption},
        {"cxSFilterControlDialogActionApplyCaption", &cxSFilterControlDialogActionApplyCaption},
        {"cxSFilterControlDialogActionOkCaption", &cxSFilterControlDialogActionOkCaption},
        {"cxSFilterControlDialogActionCancelCaption", &cxSFilterControlDialogActionCancelCaption},
        {"cxSFilterControlDialogFileExt", &cxSFilterControlDialogFileExt},
        {"cxSFilterControlDialogFileFilter", &cxSFilterControlDialogFileFilter},
    };
    return table;
}

namespace {
void AddFilterControlResourceStringNames(TdxProductResourceStrings* product)
{
    for (const auto& e : cxFilterControlResourceStringTable())
        product->Add(e.name, e.resString);
}
} // namespace

namespace cxFilterControlStrsUnit {
namespace {
int counter = 0;
}

void Initialize()
{
    if (counter++ == 0)
        dxResourceStringsRepository()->RegisterProduct(cxFilterControlProductKey, &AddFilterControlResourceStringNames);
}

void Finalize()
{
    if (counter > 0 && --counter == 0)
        dxResourceStringsRepository()->UnRegisterProduct(cxFilterControlProductKey);
}
} // namespace cxFilterControlStrsUnit

} // namespace cx
