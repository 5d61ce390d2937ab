#include "platform/vcl/Dialogs.h"

#include "platform/vcl/StdCtrls.h"

#include <algorithm>
#include <memory>

namespace {

struct ButtonInfo {
    const char* caption;
    TModalResult result;
};

ButtonInfo InfoOf(TMsgDlgBtn b)
{
    switch (b) {
    case mbYes: return {"&Yes", mrYes};
    case mbNo: return {"&No", mrNo};
    case mbOK: return {"OK", mrOk};
    case mbCancel: return {"Cancel", mrCancel};
    case mbAbort: return {"&Abort", mrAbort};
    case mbRetry: return {"&Retry", mrRetry};
    case mbIgnore: return {"&Ignore", mrIgnore};
    case mbAll: return {"&All", mrAll};
    case mbNoToAll: return {"N&o to All", mrNoToAll};
    case mbYesToAll: return {"Yes to &All", mrYesToAll};
    case mbHelp: return {"&Help", mrNone};
    }
    return {"", mrNone};
}

const char* TitleOf(TMsgDlgType t)
{
    switch (t) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirmation";
    case mtCustom: break;
    }
    return nullptr;
}

} // namespace

void CenterOnScreen(TCustomForm* form)
{
    const TRect a = Screen->WorkAreaRect();
    form->SetBounds(a.Left + (a.Width() - form->Width()) / 2, a.Top + (a.Height() - form->Height()) / 2, form->Width(),
                    form->Height());
}

TForm* CreateMessageDialog(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons)
{
    auto* form = new TForm(nullptr);
    form->BorderStyle = bsDialog;
    const char* title = TitleOf(type);
    form->SetCaption(title ? title : Application->Title);
    auto* text = new TLabel(form);
    text->SetName("Message");
    text->SetParent(form);
    text->SetCaption(msg);
    text->SetLeft(16);
    text->SetTop(16);
    constexpr int buttonWidth = 75, buttonHeight = 25, gap = 8;
    std::vector<TMsgDlgBtn> list;
    for (int b = mbYes; b <= mbHelp; ++b)
        if (buttons.Contains(TMsgDlgBtn(b)))
            list.push_back(TMsgDlgBtn(b));
    const int rowWidth = int(list.size()) * buttonWidth + std::max(0, int(list.size()) - 1) * gap;
    const int width = std::max(text->Width() + 32, rowWidth + 32);
    const int top = text->Top() + text->Height() + 16;
    const TMsgDlgBtn cancel = buttons.Contains(mbCancel) ? mbCancel : buttons.Contains(mbNo) ? mbNo : mbOK;
    bool haveDefault = false;
    int x = (width - rowWidth) / 2;
    for (TMsgDlgBtn b : list) {
        const ButtonInfo info = InfoOf(b);
        auto* button = new TButton(form);
        button->SetParent(form);
        button->SetCaption(info.caption);
        button->ModalResult = info.result;
        button->SetBounds(x, top, buttonWidth, buttonHeight);
        if (!haveDefault && (b == mbOK || b == mbYes)) {
            button->Default = true;
            haveDefault = true;
            form->SetActiveControl(button);
        }
        button->Cancel = b == cancel;
        x += buttonWidth + gap;
    }
    form->SetBounds(0, 0, width, top + buttonHeight + 16);
    return form;
}

int ShowMessageDialog(TForm* dialog)
{
    dialog->Position = poScreenCenter;
    CenterOnScreen(dialog);
    int result = mrNone;
    try {
        result = dialog->ShowModal();
    } catch (...) {
        dialog->Free();
        throw;
    }
    dialog->Free();
    return result;
}

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int)
{
    return ShowMessageDialog(CreateMessageDialog(msg, type, buttons));
}
