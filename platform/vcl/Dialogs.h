#pragma once
// Message dialogs made of our own controls: a form with the message and a row of buttons whose
// modal results answer the dialog.
#include "platform/rtl/Set.h"
#include "platform/vcl/Forms.h"

#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = rtl::Set<TMsgDlgBtn>;

// A hidden dialog (the caller shows and frees it): caption by type (the application's title for
// mtCustom), the message, and the buttons in their order; OK or Yes is the default button, Cancel
// (else No, else OK) the cancel button.
TForm* CreateMessageDialog(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows a dialog centred on the screen, modally, then frees it; its modal result.
int ShowMessageDialog(TForm* dialog);
// Shows the dialog centred on the screen and gives its modal result.
int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
// Places a form in the middle of the screen's work area.
void CenterOnScreen(TCustomForm* form);
