#include "console/ToolkitUnits.h"

#include "console/ToolkitTexts.h"

#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxDWMApi.h"
#include "toolkit/core/cxFormats.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsShared.h"
#include "toolkit/core/cxLibraryStrs.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/core/cxStyles.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/core/dxGDIPlusClasses.h"
#include "toolkit/core/dxThemeManager.h"
#include "toolkit/core/dxUxTheme.h"
#include "toolkit/data/cxDataConsts.h"
#include "toolkit/data/cxDataStorage.h"
#include "toolkit/data/cxFilterConsts.h"
#include "toolkit/editors/cxBlobEdit.h"
#include "toolkit/editors/cxButtonEdit.h"
#include "toolkit/editors/cxCalcEdit.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/controls/cxControlsTimers.h"
#include "toolkit/editors/cxCurrencyEdit.h"
#include "toolkit/editors/cxDateEdit.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditDataRegisteredRepositoryItems.h"
#include "toolkit/editors/cxEditRepositoryItems.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxHyperLinkEdit.h"
#include "toolkit/editors/cxImage.h"
#include "toolkit/editors/cxImageComboBox.h"
#include "toolkit/editors/cxMRUEdit.h"
#include "toolkit/editors/cxMaskEdit.h"
#include "toolkit/editors/cxMemo.h"
#include "toolkit/editors/cxNavigator.h"
#include "toolkit/editors/cxRadioGroup.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/editors/cxTimeEdit.h"
#include "toolkit/grid/cxFilterControlDialog.h"
#include "toolkit/grid/cxInplaceControl.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridConsts.h"

#include <iterator>

namespace {

using namespace cx;

struct Unit {
    void (*Initialize)();
    void (*Finalize)();
};

// Foundation first, then data, editors, the container and the grid.
const Unit Units[] = {
    {dxCoreUnit::Initialize, dxCoreUnit::Finalize},
    {cxClassesUnit::Initialize, cxClassesUnit::Finalize},
    {cxGeometryUnit::Initialize, cxGeometryUnit::Finalize},
    {cxFormatsUnit::Initialize, cxFormatsUnit::Finalize},
    {cxLibraryStrsUnit::Initialize, cxLibraryStrsUnit::Finalize},
    {dxUxThemeUnit::Initialize, dxUxThemeUnit::Finalize},
    {dxThemeManagerUnit::Initialize, dxThemeManagerUnit::Finalize},
    {cxDWMApiUnit::Initialize, cxDWMApiUnit::Finalize},
    {dxGDIPlusClassesUnit::Initialize, dxGDIPlusClassesUnit::Finalize},
    {cxGraphicsSharedUnit::Initialize, cxGraphicsSharedUnit::Finalize},
    {cxLookAndFeelPaintersUnit::Initialize, cxLookAndFeelPaintersUnit::Finalize},
    {cxLookAndFeelsUnit::Initialize, cxLookAndFeelsUnit::Finalize},
    {cxStylesUnit::Initialize, cxStylesUnit::Finalize},
    {cxDataConstsUnit::Initialize, cxDataConstsUnit::Finalize},
    {cxFilterConstsUnit::Initialize, cxFilterConstsUnit::Finalize},
    {cxDataStorageUnit::Initialize, cxDataStorageUnit::Finalize},
    {cxControlsUnit::Initialize, cxControlsUnit::Finalize},
    {cxEditConstsUnit::Initialize, cxEditConstsUnit::Finalize},
    {cxEditUnit::Initialize, cxEditUnit::Finalize},
    {cxEditPaintUtilsUnit::Initialize, cxEditPaintUtilsUnit::Finalize},
    {cxEditRepositoryItemsUnit::Initialize, cxEditRepositoryItemsUnit::Finalize},
    {cxEditDataRegisteredRepositoryItemsUnit::Initialize, cxEditDataRegisteredRepositoryItemsUnit::Finalize},
    {cxTextEditUnit::Initialize, cxTextEditUnit::Finalize},
    {cxMemoUnit::Initialize, cxMemoUnit::Finalize},
    {cxMRUEditUnit::Initialize, cxMRUEditUnit::Finalize},
    {cxCurrencyEditUnit::Initialize, cxCurrencyEditUnit::Finalize},
    {cxHyperLinkEditUnit::Initialize, cxHyperLinkEditUnit::Finalize},
    {cxMaskEditUnit::Initialize, cxMaskEditUnit::Finalize},
    {cxButtonEditUnit::Initialize, cxButtonEditUnit::Finalize},
    {cxSpinEditUnit::Initialize, cxSpinEditUnit::Finalize},
    {cxTimeEditUnit::Initialize, cxTimeEditUnit::Finalize},
    {cxDropDownEditUnit::Initialize, cxDropDownEditUnit::Finalize},
    {cxImageComboBoxUnit::Initialize, cxImageComboBoxUnit::Finalize},
    {cxImageUnit::Initialize, cxImageUnit::Finalize},
    {cxCalcEditUnit::Initialize, cxCalcEditUnit::Finalize},
    {cxDateEditUnit::Initialize, cxDateEditUnit::Finalize},
    {cxBlobEditUnit::Initialize, cxBlobEditUnit::Finalize},
    {cxCheckBoxUnit::Initialize, cxCheckBoxUnit::Finalize},
    {cxRadioGroupUnit::Initialize, cxRadioGroupUnit::Finalize},
    {cxNavigatorUnit::Initialize, cxNavigatorUnit::Finalize},
    {cxInplaceContainerUnit::Initialize, cxInplaceContainerUnit::Finalize},
    {cxVGridConstsUnit::Initialize, cxVGridConstsUnit::Finalize},
    {cxVGridUnit::Initialize, cxVGridUnit::Finalize},
    {cxFilterControlDialogUnit::Initialize, cxFilterControlDialogUnit::Finalize},
};

bool started = false;

} // namespace

void InitializeToolkitUnits()
{
    if (started)
        return;
    started = true;
    for (const Unit& unit : Units)
        unit.Initialize();
    // The program speaks Chinese: so do the toolkit's messages and captions.
    TranslateToolkitTexts();
}

void FinalizeToolkitUnits()
{
    if (!started)
        return;
    started = false;
    for (auto unit = std::rbegin(Units); unit != std::rend(Units); ++unit)
        unit->Finalize();
}
