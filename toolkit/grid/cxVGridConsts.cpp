#include "toolkit/grid/cxVGridConsts.h"

#include "platform/vcl/Desktop.h"
#include "platform/vcl/Forms.h"
#include "toolkit/core/cxClasses.h"

namespace cx {

const TResStringRec cxSvgIndexError = {65486, "Index error"};
const TResStringRec cxSvgInvalidRowClass = {65487, "Can't create row"};
const TResStringRec cxSvgAssignRowsError = {65456, "Can't assign rows"};
const TResStringRec cxSvgDeletingFocusedConfirmationText = {65457, "Delete record?"};
const TResStringRec cxSvgDeletingConfirmationCaption = {65458, "Confirm"};
const TResStringRec cxSvgOKCaption = {65459, "OK"};
const TResStringRec cxSvgCancelCaption = {65460, "Cancel"};
const TResStringRec cxSvgCustomizeCaption = {65461, "Customize"};
const TResStringRec cxSvgCustomizeCategoriesCaption = {65462, "Categories"};
const TResStringRec cxSvgCustomizeDeleteCategory = {65463, "&Delete"};
const TResStringRec cxSvgCustomizeNewCategory = {65464, "&New..."};
const TResStringRec cxSvgCustomizeRowsCaption = {65465, "Rows"};
const TResStringRec cxSvgNewCategoryCaption = {65466, "New Category"};
const TResStringRec cxSvgNewCategoryLabelCaption = {65467, "&Category:"};
const TResStringRec cxSvgLayoutEditorCaption = {65468, "Layout editor"};
const TResStringRec cxSvgLayoutEditorCustomize = {65469, "&Customize"};
const TResStringRec cxSvgRTTIInspectorEmptyGlyph = {65470, "(None)"};
const TResStringRec cxSvgUnknown = {65471, "(Unknown)"};
const TResStringRec cxSvgExportNotVisibleControl = {65440, "Can't export invisible control"};
const TResStringRec cxSvgRTTICollectionEditCaption = {65441, "Editing %s%s%s"};
const TResStringRec cxSvgRTTICollectionAdd = {65442, "&Add"};
const TResStringRec cxSvgRTTICollectionAddHint = {65443, "Add New"};
const TResStringRec cxSvgRTTICollectionDelete = {65444, "&Delete"};
const TResStringRec cxSvgRTTICollectionDeleteHint = {65445, "Delete Selected"};
const TResStringRec cxSvgRTTICollectionSelectAll = {65446, "&Select All"};
const TResStringRec cxSvgRTTICollectionToolbar = {65447, "&Toolbar"};
const TResStringRec cxSvgRTTICollectionTextLabel = {65448, "Text &Labels"};
const TResStringRec cxSvgRTTICollectionMoveUp = {65449, "Move &Up"};
const TResStringRec cxSvgRTTICollectionMoveUpHint = {65450, "Move Selected Up"};
const TResStringRec cxSvgRTTICollectionMoveDown = {65451, "Move Dow&n"};
const TResStringRec cxSvgRTTICollectionMoveDownHint = {65452, "Move Selected Down"};

const std::vector<TcxVGridResStringEntry>& cxVGridResourceStringTable()
{
    static const std::vector<TcxVGridResStringEntry> table = {
        {"cxSvgIndexError", &cxSvgIndexError},
        {"cxSvgInvalidRowClass", &cxSvgInvalidRowClass},
        {"cxSvgAssignRowsError", &cxSvgAssignRowsError},
        {"cxSvgDeletingFocusedConfirmationText", &cxSvgDeletingFocusedConfirmationText},
        {"cxSvgDeletingConfirmationCaption", &cxSvgDeletingConfirmationCaption},
        {"cxSvgOKCaption", &cxSvgOKCaption},
        {"cxSvgCancelCaption", &cxSvgCancelCaption},
        {"cxSvgCustomizeCaption", &cxSvgCustomizeCaption},
        {"cxSvgCustomizeCategoriesCaption", &cxSvgCustomizeCategoriesCaption},
        {"cxSvgCustomizeDeleteCategory", &cxSvgCustomizeDeleteCategory},
        {"cxSvgCustomizeNewCategory", &cxSvgCustomizeNewCategory},
        {"cxSvgCustomizeRowsCaption", &cxSvgCustomizeRowsCaption},
        {"cxSvgNewCategoryCaption", &cxSvgNewCategoryCaption},
        {"cxSvgNewCategoryLabelCaption", &cxSvgNewCategoryLabelCaption},
        {"cxSvgLayoutEditorCaption", &cxSvgLayoutEditorCaption},
        {"cxSvgLayoutEditorCustomize", &cxSvgLayoutEditorCustomize},
        {"cxSvgRTTIInspectorEmptyGlyph", &cxSvgRTTIInspectorEmptyGlyph},
        {"cxSvgUnknown", &cxSvgUnknown},
        {"cxSvgExportNotVisibleControl", &cxSvgExportNotVisibleControl},
        {"cxSvgRTTICollectionEditCaption", &cxSvgRTTICollectionEditCaption},
        {"cxSvgRTTICollectionAdd", &cxSvgRTTICollectionAdd},
        {"cxSvgRTTICollectionAddHint", &cxSvgRTTICollectionAddHint},
        {"cxSvgRTTICollectionDelete", &cxSvgRTTICollectionDelete},
        {"cxSvgRTTICollectionDeleteHint", &cxSvgRTTICollectionDeleteHint},
        {"cxSvgRTTICollectionSelectAll", &cxSvgRTTICollectionSelectAll},
        {"cxSvgRTTICollectionToolbar", &cxSvgRTTICollectionToolbar},
        {"cxSvgRTTICollectionTextLabel", &cxSvgRTTICollectionTextLabel},
        {"cxSvgRTTICollectionMoveUp", &cxSvgRTTICollectionMoveUp},
        {"cxSvgRTTICollectionMoveUpHint", &cxSvgRTTICollectionMoveUpHint},
        {"cxSvgRTTICollectionMoveDown", &cxSvgRTTICollectionMoveDown},
        {"cxSvgRTTICollectionMoveDownHint", &cxSvgRTTICollectionMoveDownHint},
    };
    return table;
}

void cxVerticalGridError(const std::string& message)
{
    throw EcxVerticalGridError(message);
}

namespace {
void AddcxVGridResourceStringNames(TdxProductResourceStrings* product)
{
    for (const auto& e : cxVGridResourceStringTable())
        product->Add(e.name, e.resString);
}
} // namespace

namespace cxVGridConstsUnit {
namespace {
int counter = 0;
}

void Initialize()
{
    if (counter++ == 0)
        dxResourceStringsRepository()->RegisterProduct(cxVGridProductKey, &AddcxVGridResourceStringNames);
}

void Finalize()
{
    if (counter > 0 && --counter == 0)
        dxResourceStringsRepository()->UnRegisterProduct(cxVGridProductKey);
}
} // namespace cxVGridConstsUnit

// ---- cursors ------------------------------------------------------------------------------------

namespace {
// Built-in shapes stand for the insertion mark, hiding and refusing.
struct CursorEntry {
    int index;
    TCursor shape;
};
const CursorEntry vgridCursors[] = {
    {crcxVGridInsert, crUpArrow},   // "CXVG_INSERT"
    {crcxVGridHide, crNo},          // "CXVG_HIDE"
    {crcxVGridNoDrag, crNoDrop},    // "CXVG_NODRAG"
};

// Adding a row is drawn: the arrow over the row it lands at, with the new row below it as a
// sibling (appended) or indented under it as a child.
std::vector<std::string> AddRowCursorPicture(bool asChild)
{
    static const std::vector<std::string> sibling = {
        "XXXXXXXXXXXX", "X..........X", "X..........X", "XXXXXXXXXXXX",
        "X.X.X.X.X.X.", ".          X", "X          .", ".X.X.X.X.X.X"};
    static const std::vector<std::string> child = {
        "XXXXXXXXXXXX", "X..........X", "X..........X", "XXXXXXXXXXXX",
        " X          ", " X  X.X.X.X.", " X  .      X", " XXXX      .",
        "    X.X.X.X."};
    std::vector<std::string> p = vcl::ArrowCursorPicture();
    vcl::OverlayPicture(p, asChild ? child : sibling, 8, 20);
    return p;
}
} // namespace

void cxVGridLoadCursors()
{
    for (const CursorEntry& e : vgridCursors)
        Screen->SetCursors(e.index, Screen->Cursors(e.shape));
    Screen->SetCursors(crcxVGridAdd, vcl::CursorHandleOfPicture(AddRowCursorPicture(false), {0, 0}));
    Screen->SetCursors(crcxVGridAddChild, vcl::CursorHandleOfPicture(AddRowCursorPicture(true), {0, 0}));
}

void cxVGridFreeCursors()
{
    for (const CursorEntry& e : vgridCursors)
        Screen->SetCursors(e.index, Screen->Cursors(crDefault));
    for (int index : {crcxVGridAdd, crcxVGridAddChild})
        Screen->SetCursors(index, Screen->Cursors(crDefault));
}

} // namespace cx
