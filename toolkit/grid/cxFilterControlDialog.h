#pragma once
// cxFilterControlDialog: the filter builder in a modal dialog with Open, Save As, OK, Cancel and
// Apply. The vertical grid opens it from DoFilterDialog once this unit is initialised.
#include <functional>
#include <string>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxButtons.h"
#include "toolkit/grid/cxFilterControl.h"

namespace cx {

// What an open or save file dialog is asked with and answers (FileName).
struct TcxFilterFileDialog {
    std::string Title;
    std::string InitialDir;
    std::string DefaultExt;
    std::string Filter;   // "Description|pattern"
    std::string FileName;
    bool OverwritePrompt = false;
    // Lets the user pick a file: FileName gets the choice, with DefaultExt added when it has no
    // extension (on opening only when no file has the bare name and one has the extended name);
    // an existing file is confirmed first when OverwritePrompt. False when cancelled.
    bool Execute(bool save);
};

// Replaceable file choosers (tests script them); empty members: the system's file dialogs. A
// chooser sets the dialog's FileName and answers false when the user cancels.
using TcxFilterFileChooser = std::function<bool(TcxFilterFileDialog& dialog)>;
struct TcxFilterFileChoosers {
    TcxFilterFileChooser Open;
    TcxFilterFileChooser Save;
};
// Installs choosers and gives the previous ones.
TcxFilterFileChoosers cxSetFilterFileChoosers(TcxFilterFileChoosers choosers);

// The bounds the last dialog had when it closed (-1: none yet), shared by every dialog.
struct TcxFilterDialogPosition {
    int Left = -1;
    int Top = -1;
    int Width = -1;
    int Height = -1;
};
extern TcxFilterDialogPosition cxFilterDialogPosition;

class TfmFilterControlDialog : public TForm {
    RTL_CLASS(TfmFilterControlDialog, TForm)
    explicit TfmFilterControlDialog(TComponent* owner);

    // The smallest size the user may give the dialog.
    static constexpr int MinWidth = 560;
    static constexpr int MinHeight = 165;

    void Initialize(const std::string& initialDir);
    // Nil: the buttons and the builder keep their own look and feel.
    void SetLookAndFeel(TcxLookAndFeel* lookAndFeel);
    void SetPanelsColor(TColor color);
    void SetTitle(const std::string& fileName);

    void acOpenExecute(TObject* sender);
    void acSaveExecute(TObject* sender);
    void acOkExecute(TObject* sender);
    void acApplyExecute(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
    void FormKeyPress(TObject* sender, char16_t& key);

    void SetBounds(int left, int top, int width, int height) override;

    TPanel* pnlBottom = nullptr;
    TPanel* pnlBottomRight = nullptr;
    TcxButton* btOpen = nullptr;
    TcxButton* btSave = nullptr;
    TcxButton* btOk = nullptr;
    TcxButton* btCancel = nullptr;
    TcxButton* btApply = nullptr;
    TcxFilterFileDialog OpenDialog;
    TcxFilterFileDialog SaveDialog;
    // Created by the caller; the dialog only shows it.
    TcxCustomFilterControl* FilterControl = nullptr;
    // Whether the active control had an open popup when the last key went down.
    bool PopupWasOpen = false;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& msg) override;
    void Resize() override;

private:
    bool ActiveControlHasPopup() const;
    TcxButton* AddButton(TWinControl* parent, int left, const TNotifyEvent& onClick);
    void ArrangeControls();
};

using TcxCustomFilterControlClass = TClassRef<TcxCustomFilterControl, TComponent*>;

// Shows the builder for the link component; true when the dialog was closed with OK. Filters
// applied with Apply stay applied after Cancel.
bool cxInternalExecuteFilterControlDialog(TcxCustomFilterControlClass filterControlClass, TComponent* linkComponent,
                                          TcxLookAndFeel* lookAndFeel, const TNotifyEvent& onApplyFilter,
                                          const TNotifyEvent& onShow, TColor color = clDefault,
                                          const std::string& initialDir = std::string(), TFont* font = nullptr);
bool ExecuteFilterControlDialog(TComponent* linkComponent, TcxLookAndFeel* lookAndFeel,
                                const TNotifyEvent& onApplyFilter, const TNotifyEvent& onShow,
                                TColor color = clDefault, const std::string& initialDir = std::string(),
                                TFont* font = nullptr);

// Registers the dialog with the vertical grid's filter dialog hook (and the builder's texts).
namespace cxFilterControlDialogUnit {
void Initialize();
void Finalize();
} // namespace cxFilterControlDialogUnit

} // namespace cx
