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

} // namespace cx
