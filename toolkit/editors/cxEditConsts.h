#pragma once
// cxEditConsts: every user-visible text of the editor framework and the editor kinds, registered
// by name under the product key "DazadezIzuderi Vezuzod" so that an application can replace any
// of them; code reads them through cxGetResourceString.
#include <string>
#include <vector>

#include "platform/rtl/ResString.h"
#include "toolkit/core/dxCore.h"

namespace cx {

extern const TResStringRec cxSEditButtonCancel;
extern const TResStringRec cxSEditButtonOK;
extern const TResStringRec cxSEditDateConvertError;
extern const TResStringRec cxSEditInvalidRepositoryItem;
extern const TResStringRec cxSEditNumericValueConvertError;
extern const TResStringRec cxSEditPopupCircularReferencingError;
extern const TResStringRec cxSEditPostError;
extern const TResStringRec cxSEditTimeConvertError;
extern const TResStringRec cxSEditValidateErrorText;
extern const TResStringRec cxSEditValueOutOfBounds;
extern const TResStringRec cxSEditCheckBoxChecked;
extern const TResStringRec cxSEditCheckBoxGrayed;
extern const TResStringRec cxSEditCheckBoxUnchecked;
extern const TResStringRec cxSRadioGroupDefaultCaption;
extern const TResStringRec cxSTextTrue;
extern const TResStringRec cxSTextFalse;
extern const TResStringRec cxSBlobButtonOK;
extern const TResStringRec cxSBlobButtonCancel;
extern const TResStringRec cxSBlobButtonClose;
extern const TResStringRec cxSBlobMemo;
extern const TResStringRec cxSBlobMemoEmpty;
extern const TResStringRec cxSBlobPicture;
extern const TResStringRec cxSBlobPictureEmpty;
extern const TResStringRec cxSMenuItemCaptionCut;
extern const TResStringRec cxSMenuItemCaptionCopy;
extern const TResStringRec cxSMenuItemCaptionPaste;
extern const TResStringRec cxSMenuItemCaptionDelete;
extern const TResStringRec cxSMenuItemCaptionLoad;
extern const TResStringRec cxSMenuItemCaptionSave;
extern const TResStringRec cxSDatePopupClear;
extern const TResStringRec cxSDatePopupNow;
extern const TResStringRec cxSDatePopupOK;
extern const TResStringRec cxSDatePopupToday;
extern const TResStringRec cxSDateError;
extern const TResStringRec scxSCalcError;
extern const TResStringRec scxSHyperLinkPrefix;
extern const TResStringRec scxSHyperLinkDoubleSlash;
extern const TResStringRec cxNavigatorHint_First;
extern const TResStringRec cxNavigatorHint_Prior;
extern const TResStringRec cxNavigatorHint_PriorPage;
extern const TResStringRec cxNavigatorHint_Next;
extern const TResStringRec cxNavigatorHint_NextPage;
extern const TResStringRec cxNavigatorHint_Last;
extern const TResStringRec cxNavigatorHint_Insert;
extern const TResStringRec cxNavigatorHint_Append;
extern const TResStringRec cxNavigatorHint_Delete;
extern const TResStringRec cxNavigatorHint_Edit;
extern const TResStringRec cxNavigatorHint_Post;
extern const TResStringRec cxNavigatorHint_Cancel;
extern const TResStringRec cxNavigatorHint_Refresh;
extern const TResStringRec cxNavigatorHint_SaveBookmark;
extern const TResStringRec cxNavigatorHint_GotoBookmark;
extern const TResStringRec cxNavigatorHint_Filter;
extern const TResStringRec cxNavigator_DeleteRecordQuestion;
extern const TResStringRec scxSEditRepositoryBlobItem;
extern const TResStringRec scxSEditRepositoryButtonItem;
extern const TResStringRec scxSEditRepositoryCalcItem;
extern const TResStringRec scxSEditRepositoryCheckBoxItem;
extern const TResStringRec scxSEditRepositoryComboBoxItem;
extern const TResStringRec scxSEditRepositoryCurrencyItem;
extern const TResStringRec scxSEditRepositoryDateItem;
extern const TResStringRec scxSEditRepositoryHyperLinkItem;
extern const TResStringRec scxSEditRepositoryImageComboBoxItem;
extern const TResStringRec scxSEditRepositoryImageItem;
extern const TResStringRec scxSEditRepositoryLookupComboBoxItem;
extern const TResStringRec scxSEditRepositoryMaskItem;
extern const TResStringRec scxSEditRepositoryMemoItem;
extern const TResStringRec scxSEditRepositoryMRUItem;
extern const TResStringRec scxSEditRepositoryPopupItem;
extern const TResStringRec scxSEditRepositorySpinItem;
extern const TResStringRec scxSEditRepositoryRadioGroupItem;
extern const TResStringRec scxSEditRepositoryTextItem;
extern const TResStringRec scxSEditRepositoryTimeItem;
extern const TResStringRec scxRegExprLine;
extern const TResStringRec scxRegExprChar;
extern const TResStringRec scxRegExprNotAssignedSourceStream;
extern const TResStringRec scxRegExprEmptySourceStream;
extern const TResStringRec scxRegExprCantUsePlusQuantifier;
extern const TResStringRec scxRegExprCantUseStarQuantifier;
extern const TResStringRec scxRegExprCantCreateEmptyAlt;
extern const TResStringRec scxRegExprCantCreateEmptyBlock;
extern const TResStringRec scxRegExprIllegalSymbol;
extern const TResStringRec scxRegExprIllegalQuantifier;
extern const TResStringRec scxRegExprNotSupportQuantifier;
extern const TResStringRec scxRegExprIllegalIntegerValue;
extern const TResStringRec scxRegExprTooBigReferenceNumber;
extern const TResStringRec scxRegExprCantCreateEmptyEnum;
extern const TResStringRec scxRegExprSubrangeOrder;
extern const TResStringRec scxRegExprHexNumberExpected0;
extern const TResStringRec scxRegExprHexNumberExpected;
extern const TResStringRec scxRegExprMissing;
extern const TResStringRec scxRegExprUnnecessary;
extern const TResStringRec scxRegExprIncorrectSpace;
extern const TResStringRec scxRegExprNotCompiled;
extern const TResStringRec scxRegExprIncorrectParameterQuantifier;
extern const TResStringRec scxRegExprCantUseParameterQuantifier;
extern const TResStringRec scxRegExprTooDeep;
extern const TResStringRec scxMaskEditRegExprError;
extern const TResStringRec scxMaskEditInvalidEditValue;
extern const TResStringRec scxMaskEditNoMask;
extern const TResStringRec scxMaskEditIllegalFileFormat;
extern const TResStringRec scxMaskEditEmptyMaskCollectionFile;
extern const TResStringRec scxMaskEditMaskCollectionFiles;
extern const TResStringRec cxSSpinEditInvalidNumericValue;

inline constexpr const char* cxEditProductKey = "DazadezIzuderi Vezuzod";

struct TcxEditResStringEntry {
    const char* name;
    const TResStringRec* resString;
};
// The 103 texts in registration order.
const std::vector<TcxEditResStringEntry>& cxEditResourceStringTable();
void AddcxEditResourceStringNames(TdxProductResourceStrings* product);

namespace cxEditConstsUnit {
void Initialize();   // registers the product (once)
void Finalize();     // unregisters it (once)
} // namespace cxEditConstsUnit

} // namespace cx
