#include "console/ToolkitTexts.h"

#include "toolkit/core/cxClasses.h"
#include "toolkit/core/dxCore.h"

#include <algorithm>

const std::vector<std::pair<std::string, std::string>>& ToolkitChineseTexts()
{
    static const std::vector<std::pair<std::string, std::string>> texts = {
        // Editor errors and buttons.
        {"cxSEditButtonCancel", "取消"},
        {"cxSEditButtonOK", "确定"},
        {"cxSEditDateConvertError", "无法转换为日期"},
        {"cxSEditInvalidRepositoryItem", "不能使用此编辑器项"},
        {"cxSEditNumericValueConvertError", "无法转换为数值"},
        {"cxSEditPopupCircularReferencingError", "不允许循环引用"},
        {"cxSEditPostError", "保存编辑值时出错"},
        {"cxSEditTimeConvertError", "无法转换为时间"},
        {"cxSEditValidateErrorText", "输入值无效。按Esc键放弃修改"},
        {"cxSEditValueOutOfBounds", "数值超出范围"},
        // Check box, radio group and Boolean texts.
        {"cxSEditCheckBoxChecked", "是"},
        {"cxSEditCheckBoxUnchecked", "否"},
        {"cxSTextTrue", "是"},
        {"cxSTextFalse", "否"},
        // BLOB editor.
        {"cxSBlobButtonOK", "确定(&O)"},
        {"cxSBlobButtonCancel", "取消(&C)"},
        {"cxSBlobButtonClose", "关闭(&C)"},
        {"cxSBlobMemo", "(备注)"},
        {"cxSBlobMemoEmpty", "(备注)"},
        {"cxSBlobPicture", "(图片)"},
        {"cxSBlobPictureEmpty", "(图片)"},
        // Context menu.
        {"cxSMenuItemCaptionCut", "剪切(&T)"},
        {"cxSMenuItemCaptionCopy", "复制(&C)"},
        {"cxSMenuItemCaptionPaste", "粘贴(&P)"},
        {"cxSMenuItemCaptionDelete", "删除(&D)"},
        {"cxSMenuItemCaptionLoad", "载入(&L)..."},
        {"cxSMenuItemCaptionSave", "另存为(&A)..."},
        // Date popup and calculator.
        {"cxSDatePopupClear", "清除"},
        {"cxSDatePopupNow", "现在"},
        {"cxSDatePopupOK", "确定"},
        {"cxSDatePopupToday", "今天"},
        {"cxSDateError", "日期无效"},
        {"scxSCalcError", "错误"},
        // Mask and spin editors.
        {"scxMaskEditRegExprError", "正则表达式错误:"},
        {"scxMaskEditInvalidEditValue", "编辑值无效"},
        {"scxMaskEditNoMask", "无"},
        {"scxMaskEditIllegalFileFormat", "文件格式无效"},
        {"scxMaskEditEmptyMaskCollectionFile", "掩码集合文件是空的"},
        {"scxMaskEditMaskCollectionFiles", "掩码集合文件"},
        {"cxSSpinEditInvalidNumericValue", "数值无效"},
        // The vertical grid.
        {"cxSvgDeletingFocusedConfirmationText", "删除记录?"},
        {"cxSvgDeletingConfirmationCaption", "确认"},
        {"cxSvgOKCaption", "确定"},
        {"cxSvgCancelCaption", "取消"},
        {"cxSvgCustomizeCaption", "自定义"},
        {"cxSvgCustomizeCategoriesCaption", "分类"},
        {"cxSvgCustomizeDeleteCategory", "删除(&D)"},
        {"cxSvgCustomizeNewCategory", "新建(&N)..."},
        {"cxSvgCustomizeRowsCaption", "行"},
        {"cxSvgNewCategoryCaption", "新建分类"},
        {"cxSvgNewCategoryLabelCaption", "分类(&C):"},
        {"cxSvgUnknown", "(未知)"},
    };
    return texts;
}

void TranslateToolkitTexts()
{
    using namespace cx;
    TdxResourceStringsRepository* repository = dxResourceStringsRepository();
    const auto& texts = ToolkitChineseTexts();
    repository->OnTranslateString = [&texts](const std::string& name, const TResStringRec* resString) {
        const auto it = std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return t.first == name; });
        if (it != texts.end())
            cxSetResourceString(resString, it->second);
    };
    repository->Translate();
    repository->OnTranslateString = nullptr;
}
