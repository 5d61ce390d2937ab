#pragma once
// cxFilterControlStrs: the filter builder's and its dialog's user texts, registered under the
// product key "RudozadUvezarOrazava" so that an application can replace them by name. The
// builder and the dialog read them through the repository, so a translation applies.
#include <vector>

#include "platform/rtl/ResString.h"
#include "toolkit/editors/cxFilterControlUtils.h"   // cxSFilterDialogInvalidValue lives with the value check

namespace cx {

inline constexpr const char* cxFilterControlProductKey = "RudozadUvezarOrazava";

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
// Registered for other filter dialogs; nothing in the builder reads them.
extern const TResStringRec cxSFilterDialogCaption;
extern const TResStringRec cxSFilterDialogUse;
extern const TResStringRec cxSFilterDialogSingleCharacter;
extern const TResStringRec cxSFilterDialogCharactersSeries;
extern const TResStringRec cxSFilterDialogOperationAnd;
extern const TResStringRec cxSFilterDialogOperationOr;
extern const TResStringRec cxSFilterDialogRows;
// The builder's dialog.
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
// "Description|pattern".
extern const TResStringRec cxSFilterControlDialogFileFilter;

struct TcxFilterControlResStringEntry {
    const char* name;
    const TResStringRec* resString;
};
// The 33 texts in registration order.
const std::vector<TcxFilterControlResStringEntry>& cxFilterControlResourceStringTable();

namespace cxFilterControlStrsUnit {
void Initialize();
void Finalize();
} // namespace cxFilterControlStrsUnit

} // namespace cx
