// The toolkit's strings that the console can show are Chinese once its units have started.
#include "ToolkitUnitsEnvironment.h"
#include "console/ToolkitTexts.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/grid/cxVGridConsts.h"

#include <gtest/gtest.h>

namespace {

using namespace cx;

TEST(ToolkitTexts, EveryReplacedNameIsRegisteredAndReadsInChinese)
{
    InitializeToolkitUnits();
    TdxResourceStringsRepository* repository = dxResourceStringsRepository();
    for (const auto& [name, text] : ToolkitChineseTexts()) {
        const TResStringRec* record = nullptr;
        for (int p = 0; p < repository->GetProductsCount() && !record; ++p) {
            const int i = repository->GetProducts(p)->GetIndexByName(name);
            if (i >= 0)
                record = repository->GetProducts(p)->GetResString(i);
        }
        ASSERT_NE(record, nullptr) << name;  // a misspelt name would leave the English text
        EXPECT_EQ(cxGetResourceString(record), text) << name;
    }
    // What the delay rows and their grid can put in a message box.
    EXPECT_EQ(cxGetResourceString(&cxSSpinEditInvalidNumericValue), "数值无效");
    EXPECT_EQ(cxGetResourceString(&cxSEditValueOutOfBounds), "数值超出范围");
    EXPECT_EQ(cxGetResourceString(&cxSEditValidateErrorText), "输入值无效。按Esc键放弃修改");
    EXPECT_EQ(cxGetResourceString(&cxSvgDeletingFocusedConfirmationText), "删除记录?");
}

} // namespace
