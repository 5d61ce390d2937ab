#pragma once
// cxVGridConsts: the vertical grid's error class and its user texts, registered under the
// product key "VadorezEvizozodIvir" so that an application can replace them by name.
#include <string>
#include <vector>

#include "platform/rtl/ResString.h"
#include "toolkit/core/dxCore.h"

namespace cx {

RTL_EXCEPTION(EcxVerticalGridError, EdxException);
// A properties object made for a row of the wrong kind.
RTL_EXCEPTION(EcxInvalidCast, Exception);

inline constexpr const char* cxVGridProductKey = "VadorezEvizozodIvir";

// Read through LoadResString, never the repository: no translation changes it.
extern const TResStringRec cxSvgIndexError;
extern const TResStringRec cxSvgInvalidRowClass;
extern const TResStringRec cxSvgAssignRowsError;
extern const TResStringRec cxSvgDeletingFocusedConfirmationText;
extern const TResStringRec cxSvgDeletingConfirmationCaption;
extern const TResStringRec cxSvgOKCaption;
extern const TResStringRec cxSvgCancelCaption;
extern const TResStringRec cxSvgCustomizeCaption;
extern const TResStringRec cxSvgCustomizeCategoriesCaption;
extern const TResStringRec cxSvgCustomizeDeleteCategory;
extern const TResStringRec cxSvgCustomizeNewCategory;
extern const TResStringRec cxSvgCustomizeRowsCaption;
extern const TResStringRec cxSvgNewCategoryCaption;
extern const TResStringRec cxSvgNewCategoryLabelCaption;
// Registered so that the product's list is complete; tools outside this system read them.
extern const TResStringRec cxSvgLayoutEditorCaption;
extern const TResStringRec cxSvgLayoutEditorCustomize;
extern const TResStringRec cxSvgRTTIInspectorEmptyGlyph;
extern const TResStringRec cxSvgUnknown;
extern const TResStringRec cxSvgExportNotVisibleControl;
extern const TResStringRec cxSvgRTTICollectionEditCaption;
extern const TResStringRec cxSvgRTTICollectionAdd;
extern const TResStringRec cxSvgRTTICollectionAddHint;
extern const TResStringRec cxSvgRTTICollectionDelete;
extern const TResStringRec cxSvgRTTICollectionDeleteHint;
extern const TResStringRec cxSvgRTTICollectionSelectAll;
extern const TResStringRec cxSvgRTTICollectionToolbar;
extern const TResStringRec cxSvgRTTICollectionTextLabel;
extern const TResStringRec cxSvgRTTICollectionMoveUp;
extern const TResStringRec cxSvgRTTICollectionMoveUpHint;
extern const TResStringRec cxSvgRTTICollectionMoveDown;
extern const TResStringRec cxSvgRTTICollectionMoveDownHint;

struct TcxVGridResStringEntry {
    const char* name;
    const TResStringRec* resString;
};
// The 31 texts in registration order.
const std::vector<TcxVGridResStringEntry>& cxVGridResourceStringTable();

[[noreturn]] void cxVerticalGridError(const std::string& message);

namespace cxVGridConstsUnit {
void Initialize();   // once: registers the product with the resource-string repository
void Finalize();     // once: unregisters it
} // namespace cxVGridConstsUnit

// The grid's drag cursors (screen cursor indexes).
inline constexpr int crcxVGridInsert = -1228;
inline constexpr int crcxVGridAddChild = -1229;
inline constexpr int crcxVGridAdd = -1230;
inline constexpr int crcxVGridHide = -1241;
inline constexpr int crcxVGridNoDrag = -1242;

// Loads the five cursors into the screen's table; FreeCursors gives the slots back.
void cxVGridLoadCursors();
void cxVGridFreeCursors();

} // namespace cx
