#include "toolkit/editors/cxEditConsts.h"

namespace cx {

const TResStringRec cxSEditButtonCancel = {65453, "Cancel"};
const TResStringRec cxSEditButtonOK = {65454, "OK"};
const TResStringRec cxSEditDateConvertError = {65455, "Could not convert to date"};
const TResStringRec cxSEditInvalidRepositoryItem = {65424, "The repository item is not acceptable"};
const TResStringRec cxSEditNumericValueConvertError = {65425, "Could not convert to numeric value"};
const TResStringRec cxSEditPopupCircularReferencingError = {65426, "Circular referencing is not allowed"};
const TResStringRec cxSEditPostError = {65427, "An error occured during posting edit value"};
const TResStringRec cxSEditTimeConvertError = {65428, "Could not convert to time"};
const TResStringRec cxSEditValidateErrorText = {65429, "Invalid input value. Use escape key to abandon changes"};
const TResStringRec cxSEditValueOutOfBounds = {65430, "Value out of bounds"};
const TResStringRec cxSEditCheckBoxChecked = {65431, "True"};
const TResStringRec cxSEditCheckBoxGrayed = {65432, ""};
const TResStringRec cxSEditCheckBoxUnchecked = {65433, "False"};
const TResStringRec cxSRadioGroupDefaultCaption = {65434, ""};
const TResStringRec cxSTextTrue = {65435, "True"};
const TResStringRec cxSTextFalse = {65436, "False"};
const TResStringRec cxSBlobButtonOK = {65437, "&OK"};
const TResStringRec cxSBlobButtonCancel = {65438, "&Cancel"};
const TResStringRec cxSBlobButtonClose = {65439, "&Close"};
const TResStringRec cxSBlobMemo = {65408, "(MEMO)"};
const TResStringRec cxSBlobMemoEmpty = {65409, "(memo)"};
const TResStringRec cxSBlobPicture = {65410, "(PICTURE)"};
const TResStringRec cxSBlobPictureEmpty = {65411, "(picture)"};
const TResStringRec cxSMenuItemCaptionCut = {65412, "Cu&t"};
const TResStringRec cxSMenuItemCaptionCopy = {65413, "&Copy"};
const TResStringRec cxSMenuItemCaptionPaste = {65414, "&Paste"};
const TResStringRec cxSMenuItemCaptionDelete = {65415, "&Delete"};
const TResStringRec cxSMenuItemCaptionLoad = {65416, "&Load..."};
const TResStringRec cxSMenuItemCaptionSave = {65417, "Save &As..."};
const TResStringRec cxSDatePopupClear = {65418, "Clear"};
const TResStringRec cxSDatePopupNow = {65419, "Now"};
const TResStringRec cxSDatePopupOK = {65420, "OK"};
const TResStringRec cxSDatePopupToday = {65421, "Today"};
const TResStringRec cxSDateError = {65422, "Invalid Date"};
const TResStringRec scxSCalcError = {65423, "Error"};
const TResStringRec scxSHyperLinkPrefix = {65392, "http://"};
const TResStringRec scxSHyperLinkDoubleSlash = {65393, "//"};
const TResStringRec cxNavigatorHint_First = {65394, "First record"};
const TResStringRec cxNavigatorHint_Prior = {65395, "Prior record"};
const TResStringRec cxNavigatorHint_PriorPage = {65396, "Prior page"};
const TResStringRec cxNavigatorHint_Next = {65397, "Next record"};
const TResStringRec cxNavigatorHint_NextPage = {65398, "Next page"};
const TResStringRec cxNavigatorHint_Last = {65399, "Last record"};
const TResStringRec cxNavigatorHint_Insert = {65400, "Insert record"};
const TResStringRec cxNavigatorHint_Append = {65401, "Append record"};
const TResStringRec cxNavigatorHint_Delete = {65402, "Delete record"};
const TResStringRec cxNavigatorHint_Edit = {65403, "Edit record"};
const TResStringRec cxNavigatorHint_Post = {65404, "Post edit"};
const TResStringRec cxNavigatorHint_Cancel = {65405, "Cancel edit"};
const TResStringRec cxNavigatorHint_Refresh = {65406, "Refresh data"};
const TResStringRec cxNavigatorHint_SaveBookmark = {65407, "Save Bookmark"};
const TResStringRec cxNavigatorHint_GotoBookmark = {65376, "Goto Bookmark"};
const TResStringRec cxNavigatorHint_Filter = {65377, "Filter data"};
const TResStringRec cxNavigator_DeleteRecordQuestion = {65378, "Delete record?"};
const TResStringRec scxSEditRepositoryBlobItem = {65379, "BlobEdit|Represents the BLOB editor"};
const TResStringRec scxSEditRepositoryButtonItem = {65380, "ButtonEdit|Represents an edit control with embedded buttons"};
const TResStringRec scxSEditRepositoryCalcItem = {65381, "CalcEdit|Represents an edit control with a dropdown calculator window"};
const TResStringRec scxSEditRepositoryCheckBoxItem = {65382, "CheckBox|Represents a check box control that allows selecting an option"};
const TResStringRec scxSEditRepositoryComboBoxItem = {65383, "ComboBox|Represents the combo box editor"};
const TResStringRec scxSEditRepositoryCurrencyItem = {65384, "CurrencyEdit|Represents an editor enabling editing currency data"};
const TResStringRec scxSEditRepositoryDateItem = {65385, "DateEdit|Represents an edit control with a dropdown calendar"};
const TResStringRec scxSEditRepositoryHyperLinkItem = {65386, "HyperLink|Represents a text editor with hyperlink functionality"};
const TResStringRec scxSEditRepositoryImageComboBoxItem = {65387, "ImageComboBox|Represents an editor displaying the list of images and text strings within the dropdown window"};
const TResStringRec scxSEditRepositoryImageItem = {65388, "Image|Represents an image editor"};
const TResStringRec scxSEditRepositoryLookupComboBoxItem = {65389, "LookupComboBox|Represents a lookup combo box control"};
const TResStringRec scxSEditRepositoryMaskItem = {65390, "MaskEdit|Represents a generic masked edit control."};
const TResStringRec scxSEditRepositoryMemoItem = {65391, "Memo|Represents an edit control that allows editing memo data"};
const TResStringRec scxSEditRepositoryMRUItem = {65360, "MRUEdit|Represents a text editor displaying the list of most recently used items (MRU) within a dropdown window"};
const TResStringRec scxSEditRepositoryPopupItem = {65361, "PopupEdit|Represents an edit control with a dropdown list"};
const TResStringRec scxSEditRepositorySpinItem = {65362, "SpinEdit|Represents a spin editor"};
const TResStringRec scxSEditRepositoryRadioGroupItem = {65363, "RadioGroup|Represents a group of radio buttons"};
const TResStringRec scxSEditRepositoryTextItem = {65364, "TextEdit|Represents a single line text editor"};
const TResStringRec scxSEditRepositoryTimeItem = {65365, "TimeEdit|Represents an editor displaying time values"};
const TResStringRec scxRegExprLine = {65366, "Line"};
const TResStringRec scxRegExprChar = {65367, "Char"};
const TResStringRec scxRegExprNotAssignedSourceStream = {65368, "The source stream is not assigned"};
const TResStringRec scxRegExprEmptySourceStream = {65369, "The source stream is empty"};
const TResStringRec scxRegExprCantUsePlusQuantifier = {65370, "The '+' quantifier cannot be applied here"};
const TResStringRec scxRegExprCantUseStarQuantifier = {65371, "The '*' quantifier cannot be applied here"};
const TResStringRec scxRegExprCantCreateEmptyAlt = {65372, "The alternative should not be empty"};
const TResStringRec scxRegExprCantCreateEmptyBlock = {65373, "The block should not be empty"};
const TResStringRec scxRegExprIllegalSymbol = {65374, "Illegal '%s'"};
const TResStringRec scxRegExprIllegalQuantifier = {65375, "Illegal quantifier '%s'"};
const TResStringRec scxRegExprNotSupportQuantifier = {65344, "The parameter quantifiers are not supported"};
const TResStringRec scxRegExprIllegalIntegerValue = {65345, "Illegal integer value"};
const TResStringRec scxRegExprTooBigReferenceNumber = {65346, "Too big reference number"};
const TResStringRec scxRegExprCantCreateEmptyEnum = {65347, "Can't create empty enumeration"};
const TResStringRec scxRegExprSubrangeOrder = {65348, "The starting character of the subrange must be less than the finishing one"};
const TResStringRec scxRegExprHexNumberExpected0 = {65349, "Hexadecimal number expected"};
const TResStringRec scxRegExprHexNumberExpected = {65350, "Hexadecimal number expected but '%s' found"};
const TResStringRec scxRegExprMissing = {65351, "Missing '%s'"};
const TResStringRec scxRegExprUnnecessary = {65352, "Unnecessary '%s'"};
const TResStringRec scxRegExprIncorrectSpace = {65353, "The space character is not allowed after '\\'"};
const TResStringRec scxRegExprNotCompiled = {65354, "Regular expression is not compiled"};
const TResStringRec scxRegExprIncorrectParameterQuantifier = {65355, "Incorrect parameter quantifier"};
const TResStringRec scxRegExprCantUseParameterQuantifier = {65356, "The parameter quantifier cannot be applied here"};
const TResStringRec scxMaskEditRegExprError = {65357, "Regular expression errors:"};
const TResStringRec scxMaskEditInvalidEditValue = {65358, "The edit value is invalid"};
const TResStringRec scxMaskEditNoMask = {65359, "None"};
const TResStringRec scxMaskEditIllegalFileFormat = {65328, "Illegal file format"};
const TResStringRec scxMaskEditEmptyMaskCollectionFile = {65329, "The mask collection file is empty"};
const TResStringRec scxMaskEditMaskCollectionFiles = {65330, "Mask collection files"};
const TResStringRec cxSSpinEditInvalidNumericValue = {65331, "Invalid numeric value"};
// Beyond the table above: a mask expression nested deeper than its tree may be walked.
const TResStringRec scxRegExprTooDeep = {65332, "The blocks are nested too deeply"};

const std::vector<TcxEditResStringEntry>& cxEditResourceStringTable()
{
    static const std::vector<TcxEditResStringEntry> table = {
        {"cxSEditButtonCancel", &cxSEditButtonCancel},
        {"cxSEditButtonOK", &cxSEditButtonOK},
        {"cxSEditDateConvertError", &cxSEditDateConvertError},
        {"cxSEditInvalidRepositoryItem", &cxSEditInvalidRepositoryItem},
        {"cxSEditNumericValueConvertError", &cxSEditNumericValueConvertError},
        {"cxSEditPopupCircularReferencingError", &cxSEditPopupCircularReferencingError},
        {"cxSEditPostError", &cxSEditPostError},
        {"cxSEditTimeConvertError", &cxSEditTimeConvertError},
        {"cxSEditValidateErrorText", &cxSEditValidateErrorText},
        {"cxSEditValueOutOfBounds", &cxSEditValueOutOfBounds},
        {"cxSEditCheckBoxChecked", &cxSEditCheckBoxChecked},
        {"cxSEditCheckBoxGrayed", &cxSEditCheckBoxGrayed},
        {"cxSEditCheckBoxUnchecked", &cxSEditCheckBoxUnchecked},
        {"cxSRadioGroupDefaultCaption", &cxSRadioGroupDefaultCaption},
        {"cxSTextTrue", &cxSTextTrue},
        {"cxSTextFalse", &cxSTextFalse},
        {"cxSBlobButtonOK", &cxSBlobButtonOK},
        {"cxSBlobButtonCancel", &cxSBlobButtonCancel},
        {"cxSBlobButtonClose", &cxSBlobButtonClose},
        {"cxSBlobMemo", &cxSBlobMemo},
        {"cxSBlobMemoEmpty", &cxSBlobMemoEmpty},
        {"cxSBlobPicture", &cxSBlobPicture},
        {"cxSBlobPictureEmpty", &cxSBlobPictureEmpty},
        {"cxSMenuItemCaptionCut", &cxSMenuItemCaptionCut},
        {"cxSMenuItemCaptionCopy", &cxSMenuItemCaptionCopy},
        {"cxSMenuItemCaptionPaste", &cxSMenuItemCaptionPaste},
        {"cxSMenuItemCaptionDelete", &cxSMenuItemCaptionDelete},
        {"cxSMenuItemCaptionLoad", &cxSMenuItemCaptionLoad},
        {"cxSMenuItemCaptionSave", &cxSMenuItemCaptionSave},
        {"cxSDatePopupClear", &cxSDatePopupClear},
        {"cxSDatePopupNow", &cxSDatePopupNow},
        {"cxSDatePopupOK", &cxSDatePopupOK},
        {"cxSDatePopupToday", &cxSDatePopupToday},
        {"cxSDateError", &cxSDateError},
        {"scxSCalcError", &scxSCalcError},
        {"scxSHyperLinkPrefix", &scxSHyperLinkPrefix},
        {"scxSHyperLinkDoubleSlash", &scxSHyperLinkDoubleSlash},
        {"cxNavigatorHint_First", &cxNavigatorHint_First},
        {"cxNavigatorHint_Prior", &cxNavigatorHint_Prior},
        {"cxNavigatorHint_PriorPage", &cxNavigatorHint_PriorPage},
        {"cxNavigatorHint_Next", &cxNavigatorHint_Next},
        {"cxNavigatorHint_NextPage", &cxNavigatorHint_NextPage},
        {"cxNavigatorHint_Last", &cxNavigatorHint_Last},
        {"cxNavigatorHint_Insert", &cxNavigatorHint_Insert},
        {"cxNavigatorHint_Append", &cxNavigatorHint_Append},
        {"cxNavigatorHint_Delete", &cxNavigatorHint_Delete},
        {"cxNavigatorHint_Edit", &cxNavigatorHint_Edit},
        {"cxNavigatorHint_Post", &cxNavigatorHint_Post},
        {"cxNavigatorHint_Cancel", &cxNavigatorHint_Cancel},
        {"cxNavigatorHint_Refresh", &cxNavigatorHint_Refresh},
        {"cxNavigatorHint_SaveBookmark", &cxNavigatorHint_SaveBookmark},
        {"cxNavigatorHint_GotoBookmark", &cxNavigatorHint_GotoBookmark},
        {"cxNavigatorHint_Filter", &cxNavigatorHint_Filter},
        {"cxNavigator_DeleteRecordQuestion", &cxNavigator_DeleteRecordQuestion},
        {"scxSEditRepositoryBlobItem", &scxSEditRepositoryBlobItem},
        {"scxSEditRepositoryButtonItem", &scxSEditRepositoryButtonItem},
        {"scxSEditRepositoryCalcItem", &scxSEditRepositoryCalcItem},
        {"scxSEditRepositoryCheckBoxItem", &scxSEditRepositoryCheckBoxItem},
        {"scxSEditRepositoryComboBoxItem", &scxSEditRepositoryComboBoxItem},
        {"scxSEditRepositoryCurrencyItem", &scxSEditRepositoryCurrencyItem},
        {"scxSEditRepositoryDateItem", &scxSEditRepositoryDateItem},
        {"scxSEditRepositoryHyperLinkItem", &scxSEditRepositoryHyperLinkItem},
        {"scxSEditRepositoryImageComboBoxItem", &scxSEditRepositoryImageComboBoxItem},
        {"scxSEditRepositoryImageItem", &scxSEditRepositoryImageItem},
        {"scxSEditRepositoryLookupComboBoxItem", &scxSEditRepositoryLookupComboBoxItem},
        {"scxSEditRepositoryMaskItem", &scxSEditRepositoryMaskItem},
        {"scxSEditRepositoryMemoItem", &scxSEditRepositoryMemoItem},
        {"scxSEditRepositoryMRUItem", &scxSEditRepositoryMRUItem},
        {"scxSEditRepositoryPopupItem", &scxSEditRepositoryPopupItem},
        {"scxSEditRepositorySpinItem", &scxSEditRepositorySpinItem},
        {"scxSEditRepositoryRadioGroupItem", &scxSEditRepositoryRadioGroupItem},
        {"scxSEditRepositoryTextItem", &scxSEditRepositoryTextItem},
        {"scxSEditRepositoryTimeItem", &scxSEditRepositoryTimeItem},
        {"scxRegExprLine", &scxRegExprLine},
        {"scxRegExprChar", &scxRegExprChar},
        {"scxRegExprNotAssignedSourceStream", &scxRegExprNotAssignedSourceStream},
        {"scxRegExprEmptySourceStream", &scxRegExprEmptySourceStream},
        {"scxRegExprCantUsePlusQuantifier", &scxRegExprCantUsePlusQuantifier},
        {"scxRegExprCantUseStarQuantifier", &scxRegExprCantUseStarQuantifier},
        {"scxRegExprCantCreateEmptyAlt", &scxRegExprCantCreateEmptyAlt},
        {"scxRegExprCantCreateEmptyBlock", &scxRegExprCantCreateEmptyBlock},
        {"scxRegExprIllegalSymbol", &scxRegExprIllegalSymbol},
        {"scxRegExprIllegalQuantifier", &scxRegExprIllegalQuantifier},
        {"scxRegExprNotSupportQuantifier", &scxRegExprNotSupportQuantifier},
        {"scxRegExprIllegalIntegerValue", &scxRegExprIllegalIntegerValue},
        {"scxRegExprTooBigReferenceNumber", &scxRegExprTooBigReferenceNumber},
        {"scxRegExprCantCreateEmptyEnum", &scxRegExprCantCreateEmptyEnum},
        {"scxRegExprSubrangeOrder", &scxRegExprSubrangeOrder},
        {"scxRegExprHexNumberExpected0", &scxRegExprHexNumberExpected0},
        {"scxRegExprHexNumberExpected", &scxRegExprHexNumberExpected},
        {"scxRegExprMissing", &scxRegExprMissing},
        {"scxRegExprUnnecessary", &scxRegExprUnnecessary},
        {"scxRegExprIncorrectSpace", &scxRegExprIncorrectSpace},
        {"scxRegExprNotCompiled", &scxRegExprNotCompiled},
        {"scxRegExprIncorrectParameterQuantifier", &scxRegExprIncorrectParameterQuantifier},
        {"scxRegExprCantUseParameterQuantifier", &scxRegExprCantUseParameterQuantifier},
        {"scxMaskEditRegExprError", &scxMaskEditRegExprError},
        {"scxMaskEditInvalidEditValue", &scxMaskEditInvalidEditValue},
        {"scxMaskEditNoMask", &scxMaskEditNoMask},
        {"scxMaskEditIllegalFileFormat", &scxMaskEditIllegalFileFormat},
        {"scxMaskEditEmptyMaskCollectionFile", &scxMaskEditEmptyMaskCollectionFile},
        {"scxMaskEditMaskCollectionFiles", &scxMaskEditMaskCollectionFiles},
        {"cxSSpinEditInvalidNumericValue", &cxSSpinEditInvalidNumericValue},
        {"scxRegExprTooDeep", &scxRegExprTooDeep},
    };
    return table;
}

void AddcxEditResourceStringNames(TdxProductResourceStrings* product)
{
    for (const auto& e : cxEditResourceStringTable())
        product->Add(e.name, e.resString);
}

namespace cxEditConstsUnit {
namespace {
int counter = 0;
}

void Initialize()
{
    if (counter++ == 0)
        dxResourceStringsRepository()->RegisterProduct(cxEditProductKey, &AddcxEditResourceStringNames);
}

void Finalize()
{
    if (counter > 0 && --counter == 0)
        dxResourceStringsRepository()->UnRegisterProduct(cxEditProductKey);
}
} // namespace cxEditConstsUnit

} // namespace cx
