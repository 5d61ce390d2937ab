#pragma once
// cxFilterControlStrs: the user texts of the filter builder and its dialog. They are read through
// the resource-string repository at each use, so a translation applies; the unit registers them
// under the product key "RudozadUvezarOrazava" so that an application can replace them by name.
#include <string>
#include <vector>

#include "platform/rtl/ResString.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/editors/cxFilterControlUtils.h"   // cxSFilterDialogInvalidValue

namespace cx {

extern const TResStringRec cxSFilterBoolOperatorAnd;
extern const TResStringRec cxSFilterBoolOperatorOr;
extern const TResStringRec cxSFilterBoolOperatorNotAnd;
extern const TResStringRec cxSFilterBoolOperatorNotOr;
extern const TResStringRec cxSFilterRootButtonCaption;
extern const TResStringRec cxSFilterAddCondition;
extern const TResStringRec cxSFilterAddGroup;
extern const TResStringRec cxSFilterRemoveRow;
extern const TResStringRec cxSFilterClearAll;
extern const TResStringRec cxSFilterFooterAddCondition;
extern const TResStringRec cxSFilterGroupCaption;
extern const TResStringRec cxSFilterRootGroupCaption;
extern const TResStringRec cxSFilterControlNullString;
extern const TResStringRec cxSFilterErrorBuilding;
// A row without a valid item or operator cannot be applied, saved or confirmed (%d: the row's number).
extern const TResStringRec cxSFilterErrorIncompleteRow;
extern const TResStringRec cxSFilterErrorMissingValue;    // the operator's value is missing
extern const TResStringRec cxSFilterErrorMissingValues;   // a between lacks one of its two values
extern const TResStringRec cxSFilterDialogCaption;
extern const TResStringRec cxSFilterDialogUse;
extern const TResStringRec cxSFilterDialogSingleCharacter;
extern const TResStringRec cxSFilterDialogCharactersSeries;
extern const TResStringRec cxSFilterDialogOperationAnd;
extern const TResStringRec cxSFilterDialogOperationOr;
extern const TResStringRec cxSFilterDialogRows;
extern const TResStringRec cxSFilterControlDialogCaption;
extern const TResStringRec cxSFilterControlDialogNewFile;
extern const TResStringRec cxSFilterControlDialogOpenDialogCaption;
extern const TResStringRec cxSFilterControlDialogSaveDialogCaption;
extern const TResStringRec cxSFilterControlDialogActionSaveCaption;
extern const TResStringRec cxSFilterControlDialogActionOpenCaption;
extern const TResStringRec cxSFilterControlDialogActionApplyCaption;
extern const TResStringRec cxSFilterControlDialogActionOkCaption;
extern const TResStringRec cxSFilterControlDialogActionCancelCaption;
extern const TResStringRec cxSFilterControlDialogFileExt;
extern const TResStringRec cxSFilterControlDialogFileFilter;

// The current (possibly translated) text of one of the builder's strings.
std::string cxFilterControlString(const TResStringRec* resString);

inline constexpr const char* cxFilterControlProductKey = "RudozadUvezarOrazava";

struct TcxFilterControlResStringEntry {
    const char* name;
    const TResStringRec* resString;
};
// The 33 registered texts in registration order (cxSFilterDialogCaption to cxSFilterDialogRows
// serve other filter dialogs; nothing in the builder reads them).
const std::vector<TcxFilterControlResStringEntry>& cxFilterControlResourceStringTable();

namespace cxFilterControlStrsUnit {
void Initialize();
void Finalize();
} // namespace cxFilterControlStrsUnit

} // namespace cx
