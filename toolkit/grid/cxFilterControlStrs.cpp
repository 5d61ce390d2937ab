#include "toolkit/grid/cxFilterControlStrs.h"

#include "toolkit/core/cxClasses.h"

namespace cx {

const TResStringRec cxSFilterBoolOperatorAnd = {65101, "AND"};
const TResStringRec cxSFilterBoolOperatorOr = {65102, "OR"};
const TResStringRec cxSFilterBoolOperatorNotAnd = {65103, "NOT AND"};
const TResStringRec cxSFilterBoolOperatorNotOr = {65104, "NOT OR"};
const TResStringRec cxSFilterRootButtonCaption = {65105, "Filter"};
const TResStringRec cxSFilterAddCondition = {65106, "Add &Condition"};
const TResStringRec cxSFilterAddGroup = {65107, "Add &Group"};
const TResStringRec cxSFilterRemoveRow = {65108, "&Remove Row"};
const TResStringRec cxSFilterClearAll = {65109, "Clear &All"};
const TResStringRec cxSFilterFooterAddCondition = {65110, "press the button to add a new condition"};
const TResStringRec cxSFilterGroupCaption = {65111, "applies to the following conditions"};
const TResStringRec cxSFilterRootGroupCaption = {65112, "<root>"};
const TResStringRec cxSFilterControlNullString = {65113, "<empty>"};
const TResStringRec cxSFilterErrorBuilding = {65114, "Can't build filter from source"};
const TResStringRec cxSFilterErrorIncompleteRow = {65133, "Row %d is incomplete: choose an item and an operator"};
const TResStringRec cxSFilterErrorMissingValue = {65134, "Row %d is incomplete: enter a value"};
const TResStringRec cxSFilterErrorMissingValues = {65135, "Row %d is incomplete: enter both values"};
const TResStringRec cxSFilterDialogCaption = {65115, "Custom Filter"};
const TResStringRec cxSFilterDialogUse = {65116, "Use"};
const TResStringRec cxSFilterDialogSingleCharacter = {65117, "to represent any single character"};
const TResStringRec cxSFilterDialogCharactersSeries = {65118, "to represent any series of characters"};
const TResStringRec cxSFilterDialogOperationAnd = {65119, "AND"};
const TResStringRec cxSFilterDialogOperationOr = {65120, "OR"};
const TResStringRec cxSFilterDialogRows = {65121, "Show rows where:"};
const TResStringRec cxSFilterControlDialogCaption = {65122, "Filter builder"};
const TResStringRec cxSFilterControlDialogNewFile = {65123, "untitled.flt"};
const TResStringRec cxSFilterControlDialogOpenDialogCaption = {65124, "Open an existing filter"};
const TResStringRec cxSFilterControlDialogSaveDialogCaption = {65125, "Save the active filter to file"};
const TResStringRec cxSFilterControlDialogActionSaveCaption = {65126, "&Save As..."};
const TResStringRec cxSFilterControlDialogActionOpenCaption = {65127, "&Open..."};
const TResStringRec cxSFilterControlDialogActionApplyCaption = {65128, "&Apply"};
const TResStringRec cxSFilterControlDialogActionOkCaption = {65129, "OK"};
const TResStringRec cxSFilterControlDialogActionCancelCaption = {65130, "Cancel"};
const TResStringRec cxSFilterControlDialogFileExt = {65131, "flt"};
const TResStringRec cxSFilterControlDialogFileFilter = {65132, "Filters (*.flt)|*.flt"};

std::string cxFilterControlString(const TResStringRec* resString) { return cxGetResourceString(resString); }

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
