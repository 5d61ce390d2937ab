#include "toolkit/grid/cxFilterControlDialog.h"

#include <QFileInfo>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/PictureDialogs.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/grid/cxVirtualVGrid.h"

namespace cx {

TcxFilterDialogPosition cxFilterDialogPosition;

// --- file dialogs -------------------------------------------------------------------------------------
namespace {

TcxFilterFileChoosers& FileChoosers()
{
    static TcxFilterFileChoosers choosers;
    return choosers;
}

bool SystemFileDialog(TcxFilterFileDialog& dialog, bool save)
{
    // The replacement question is ours, so a scripted chooser meets it too.
    return ExecuteFileDialog(save, dialog.Title, dialog.InitialDir, dialog.Filter, false, dialog.FileName);
}

bool ConfirmReplace(const std::string& fileName)
{
    const std::string text = fileName + " already exists.\nDo you want to replace it?";
    return MessageDlg(text, mtWarning, TMsgDlgButtons{mbYes, mbNo}, 0) == mrYes;
}

} // namespace

TcxFilterFileChoosers cxSetFilterFileChoosers(TcxFilterFileChoosers choosers)
{
    std::swap(FileChoosers(), choosers);
    return choosers;
}

bool TcxFilterFileDialog::Execute(bool save)
{
    const TcxFilterFileChooser& chooser = save ? FileChoosers().Save : FileChoosers().Open;
    if (!(chooser ? chooser(*this) : SystemFileDialog(*this, save)) || FileName.empty())
        return false;
    // A name without an extension gets the default one, except on opening a file that exists
    // under the bare name, or when no file has the extended name either.
    if (!DefaultExt.empty() && QFileInfo(QString::fromStdString(FileName)).suffix().isEmpty()) {
        const std::string extended = FileName + "." + DefaultExt;
        if (save || (!QFileInfo::exists(QString::fromStdString(FileName)) &&
                     QFileInfo::exists(QString::fromStdString(extended))))
            FileName = extended;
    }
    return !(save && OverwritePrompt && QFileInfo::exists(QString::fromStdString(FileName)) &&
             !ConfirmReplace(FileName));
}

// --- the form ---------------------------------------------------------------------------------------------
namespace {
// The design's minimum counts the window frame (a 4-pixel sizing border and a 19-pixel caption);
// our form's bounds are its client area.
constexpr int FrameWidth = 2 * 4;
constexpr int FrameHeight = 19 + 2 * 4;
constexpr int BottomPanelHeight = 38;
constexpr int BottomRightPanelWidth = 318;
constexpr int ButtonWidth = 100;
constexpr int ButtonHeight = 23;
constexpr int ButtonTop = 8;

TPanel* NewPanel(TWinControl* parent)
{
    auto* panel = new TPanel(parent);
    panel->BevelOuter = bvNone;
    panel->SetParent(parent);
    return panel;
}
} // namespace

TfmFilterControlDialog::TfmFilterControlDialog(TComponent* owner) : TForm(owner)
{
    SetName("fmFilterControlDialog");
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);
    SetColor(clBtnFace);
    KeyPreview = true;
    Position = poDefaultPosOnly;
    pnlBottom = NewPanel(this);
    btOpen = AddButton(pnlBottom, 6, [this](TObject* s) { acOpenExecute(s); });
    btOpen->Hint = "Open|Opens an existing filter";
    btSave = AddButton(pnlBottom, 112, [this](TObject* s) { acSaveExecute(s); });
    btSave->Hint = "Save As|Saves the active filter with a new name";
    pnlBottomRight = NewPanel(pnlBottom);
    // OK closes only once the filter was applied: an incomplete row keeps the dialog open.
    btOk = AddButton(pnlBottomRight, 0, [this](TObject* s) { acOkExecute(s); });
    btCancel = AddButton(pnlBottomRight, 106, {});
    btCancel->Cancel = true;
    btCancel->ModalResult = mrCancel;
    btApply = AddButton(pnlBottomRight, 212, [this](TObject* s) { acApplyExecute(s); });
    SaveDialog.OverwritePrompt = true;
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };
    OnKeyPress = [this](TObject* s, char16_t& k) { FormKeyPress(s, k); };
    SetBounds(Left(), Top(), 552, 316);
}

TcxButton* TfmFilterControlDialog::AddButton(TWinControl* parent, int left, const TNotifyEvent& onClick)
{
    auto* button = new TcxButton(this);
    button->SetBounds(left, ButtonTop, ButtonWidth, ButtonHeight);
    button->OnClick = onClick;
    button->SetParent(parent);
    return button;
}

void TfmFilterControlDialog::CreateParams(TCreateParams& params)
{
    TForm::CreateParams(params);
    params.Style |= WS_POPUP;
}

// The focus may sit in an editor's inner control: its container is asked too.
bool TfmFilterControlDialog::ActiveControlHasPopup() const
{
    for (TControl* c = ActiveControl(); c && c != this; c = c->Parent())
        if (HasOpenedPopupWindow(c))
            return true;
    return false;
}

// Esc with a drop-down open goes to the drop-down, not to the Cancel button.
void TfmFilterControlDialog::Dispatch(TMessage& msg)
{
    if (msg.Msg == CM_DIALOGKEY && msg.WParam == VK_ESCAPE && ActiveControlHasPopup()) {
        msg.Result = 0;
        return;
    }
    TForm::Dispatch(msg);
}

void TfmFilterControlDialog::SetBounds(int left, int top, int width, int height)
{
    TForm::SetBounds(left, top, std::max(width, MinWidth - FrameWidth), std::max(height, MinHeight - FrameHeight));
}

void TfmFilterControlDialog::Resize()
{
    ArrangeControls();
    TForm::Resize();
}

// The bottom panel along the bottom edge with its right part at its right end; the builder
// fills the rest.
void TfmFilterControlDialog::ArrangeControls()
{
    if (!pnlBottom)
        return;
    const int width = ClientWidth();
    const int height = ClientHeight();
    pnlBottom->SetBounds(0, height - BottomPanelHeight, width, BottomPanelHeight);
    pnlBottomRight->SetBounds(width - BottomRightPanelWidth, 0, BottomRightPanelWidth, BottomPanelHeight);
    if (FilterControl)
        FilterControl->SetBounds(0, 0, width, std::max(height - BottomPanelHeight, 0));
}

void TfmFilterControlDialog::Initialize(const std::string& initialDir)
{
    SetTitle(cxGetResourceString(&cxSFilterControlDialogNewFile));
    OpenDialog.InitialDir = initialDir;
    OpenDialog.Title = cxGetResourceString(&cxSFilterControlDialogOpenDialogCaption);
    OpenDialog.DefaultExt = cxGetResourceString(&cxSFilterControlDialogFileExt);
    OpenDialog.Filter = cxGetResourceString(&cxSFilterControlDialogFileFilter);
    SaveDialog.InitialDir = initialDir;
    SaveDialog.Title = cxGetResourceString(&cxSFilterControlDialogSaveDialogCaption);
    SaveDialog.DefaultExt = OpenDialog.DefaultExt;
    SaveDialog.Filter = OpenDialog.Filter;
    btSave->SetCaption(cxGetResourceString(&cxSFilterControlDialogActionSaveCaption));
    btOpen->SetCaption(cxGetResourceString(&cxSFilterControlDialogActionOpenCaption));
    btApply->SetCaption(cxGetResourceString(&cxSFilterControlDialogActionApplyCaption));
    btOk->SetCaption(cxGetResourceString(&cxSFilterControlDialogActionOkCaption));
    btCancel->SetCaption(cxGetResourceString(&cxSFilterControlDialogActionCancelCaption));
    if (FilterControl) {
        FilterControl->Align = alClient;
        FilterControl->SetParent(this);
        ArrangeControls();
        // The builder, not the first button, takes the keys when the dialog opens.
        SetActiveControl(FilterControl);
    }
    const TcxFilterDialogPosition& p = cxFilterDialogPosition;
    if (p.Width > 0 && p.Height > 0)
        SetBounds(Left(), Top(), p.Width, p.Height);
    if (p.Left == -1 || p.Top == -1) {
        Position = poScreenCenter;
        CenterOnScreen(this);
    } else
        SetBounds(p.Left, p.Top, Width(), Height());
}

void TfmFilterControlDialog::SetLookAndFeel(TcxLookAndFeel* lookAndFeel)
{
    // A missing look and feel leaves the buttons and the builder on their own.
    if (!lookAndFeel)
        return;
    for (TcxButton* button : {btOpen, btSave, btOk, btCancel, btApply})
        button->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel);
    if (FilterControl)
        FilterControl->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel);
}

void TfmFilterControlDialog::SetPanelsColor(TColor color)
{
    pnlBottom->SetColor(color);
    pnlBottomRight->SetColor(color);
}

void TfmFilterControlDialog::SetTitle(const std::string& fileName)
{
    SaveDialog.FileName = fileName;
    SetCaption(cxGetResourceString(&cxSFilterControlDialogCaption) + " - [" + fileName + "]");
}

// A file that cannot be read leaves the builder and the title as they were; the error reaches
// the application's message.
void TfmFilterControlDialog::acOpenExecute(TObject*)
{
    OpenDialog.FileName.clear();
    if (!OpenDialog.Execute(false))
        return;
    FilterControl->LoadFromFile(OpenDialog.FileName);
    SetTitle(OpenDialog.FileName);
}

void TfmFilterControlDialog::acSaveExecute(TObject*)
{
    if (!SaveDialog.Execute(true))
        return;
    FilterControl->SaveToFile(SaveDialog.FileName);
    SetTitle(SaveDialog.FileName);
}

void TfmFilterControlDialog::acOkExecute(TObject*)
{
    FilterControl->ApplyFilter();
    SetModalResult(mrOk);
}

void TfmFilterControlDialog::acApplyExecute(TObject*) { FilterControl->ApplyFilter(); }

void TfmFilterControlDialog::FormClose(TObject*, TCloseAction&)
{
    cxFilterDialogPosition = {Left(), Top(), Width(), Height()};
}

void TfmFilterControlDialog::FormKeyDown(TObject*, std::uint16_t&, TShiftState)
{
    PopupWasOpen = ActiveControlHasPopup();
}

// Esc first closes an open drop-down of the builder; only the next one closes the dialog.
void TfmFilterControlDialog::FormKeyPress(TObject*, char16_t& key)
{
    if (key == 27 && !PopupWasOpen)
        SetModalResult(mrCancel);
}

// --- running it -------------------------------------------------------------------------------------------
bool cxInternalExecuteFilterControlDialog(TcxCustomFilterControlClass filterControlClass, TComponent* linkComponent,
                                          TcxLookAndFeel* lookAndFeel, const TNotifyEvent& onApplyFilter,
                                          const TNotifyEvent& onShow, TColor color, const std::string& initialDir,
                                          TFont* font)
{
    // Declared in this order so that the builder goes first, then the dialog.
    UniqueObject<TfmFilterControlDialog> dialog(new TfmFilterControlDialog(Application));
    UniqueObject<TcxCustomFilterControl> filterControl(filterControlClass.Create(nullptr));
    dialog->FilterControl = filterControl.get();
    dialog->SetLookAndFeel(lookAndFeel);
    if (font)
        DialogApplyFont(dialog.get(), font);
    if (auto* linked = dynamic_cast<IcxFilterControlDialog*>(filterControl.get()))
        linked->SetDialogLinkComponent(linkComponent);
    if (color != clDefault)
        filterControl->SetColor(color);
    const bool skinned = lookAndFeel && lookAndFeel->SkinPainter();
    dialog->SetPanelsColor(skinned ? lookAndFeel->SkinPainter()->DefaultContentColor() : filterControl->Color());
    filterControl->OnApplyFilter = onApplyFilter;
    dialog->Initialize(initialDir);
    dialog->OnShow = onShow;
    return dialog->ShowModal() == mrOk;
}

bool ExecuteFilterControlDialog(TComponent* linkComponent, TcxLookAndFeel* lookAndFeel,
                                const TNotifyEvent& onApplyFilter, const TNotifyEvent& onShow, TColor color,
                                const std::string& initialDir, TFont* font)
{
    return cxInternalExecuteFilterControlDialog(TcxCustomFilterControlClass::Of<TcxFilterControl>(), linkComponent,
                                                lookAndFeel, onApplyFilter, onShow, color, initialDir, font);
}

namespace cxFilterControlDialogUnit {
namespace {
int counter = 0;

bool ShowForGrid(TcxVirtualVerticalGrid* grid, const TNotifyEvent& onShow, const std::function<void()>& apply)
{
    return ExecuteFilterControlDialog(grid, grid->LookAndFeel(), [apply](TObject*) { apply(); }, onShow);
}
} // namespace

void Initialize()
{
    cxFilterControlStrsUnit::Initialize();
    if (counter++ == 0)
        cxVGridFilterDialogHook() = &ShowForGrid;
}

void Finalize()
{
    if (counter > 0 && --counter == 0)
        cxVGridFilterDialogHook() = nullptr;
    cxFilterControlStrsUnit::Finalize();
}
} // namespace cxFilterControlDialogUnit

} // namespace cx
