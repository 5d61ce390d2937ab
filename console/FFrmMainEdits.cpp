// The meter parameter edits of "自定义数据" and the switches of the window: each edit writes its
// field when the focus leaves it; the display switches are one group with one state function.
#include "console/FFrmMain.h"

#include "console/FFrmMainConvert.h"
#include "console/CommandSequencer.h"
#include "console/ComposerModel.h"
#include "console/FDlgKwhInput.h"
#include "console/SerialLink.h"

#include <QCheckBox>
#include <QLayout>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Pads the edit's text to its width, shows it and returns it.
std::string PadEdit(QLineEdit* edit)
{
    const std::string text = panel::PadZeros(edit->text().toStdString(), edit->maxLength());
    edit->setText(QString::fromStdString(text));
    return text;
}

std::string NormaliseAmountEdit(QLineEdit* edit, std::uint8_t field[4])
{
    const std::string text = panel::NormaliseAmount(edit->text().toStdString());
    edit->setText(QString::fromStdString(text));
    panel::AmountBytes(text, field);
    return text;
}

} // namespace

void TFrmMain::EditTimeBeginExit(int entry)
{
    panel::ApplyTimeBegin(*Meter, entry, PadEdit(EditTimeBegin.at(static_cast<std::size_t>(entry))));
}

void TFrmMain::EditRroExit() { panel::ApplyWord(Meter->ProgramCount, PadEdit(EditRro)); }
void TFrmMain::EditMaxClearExit() { panel::ApplyWord(Meter->DemandClearCount, PadEdit(EditMaxClear)); }
void TFrmMain::EditAutoReadExit() { panel::ApplyWord(Meter->ReadingDay, PadEdit(EditAutoRead)); }
void TFrmMain::EdiMonthExit() { NormaliseAmountEdit(EdiMonth, Meter->HourFreezeValue); }
void TFrmMain::EditMoneyExit() { NormaliseAmountEdit(EditMoney, Meter->Money); }
void TFrmMain::EditMoney2Exit() { NormaliseAmountEdit(EditMoney2, Meter->OverdraftMoney); }

void TFrmMain::EditStaRun1Exit()
{
    panel::ApplyStatusRun1(*Meter, Rule97645->isChecked(), PadEdit(EditStaRun[0]));
}

void TFrmMain::EditStaRunExit(int word)
{
    if (word < 1 || word > 6)
        return;
    panel::ApplyWord(Meter->RunStatusWords[word], PadEdit(EditStaRun[static_cast<std::size_t>(word)]));
}

void TFrmMain::EditStaGridExit() { panel::ApplyByte(Meter->GridStatus, PadEdit(EditStaGrid)); }
void TFrmMain::EditStaWeekExit() { panel::ApplyByte(Meter->WeekRestStatus, PadEdit(EditStaWeek)); }
void TFrmMain::EditStaSelfExit() { panel::ApplyWord(Meter->SelfCheckStatus, PadEdit(EditStaSelf)); }
void TFrmMain::EditEventFlagExit() { panel::ApplyWord(Meter->EventFlags, PadEdit(EditEventFlag)); }

void TFrmMain::EditKaiNumExit()
{
    EditKaiNum->setText(QString::fromStdString(panel::ApplyBoxOpenCount(*Meter, PadEdit(EditKaiNum))));
}

void TFrmMain::CheckBox2Click()
{
    CustomDataShown = !CustomDataShown;
    CheckBox2->setChecked(CustomDataShown);
    GroupBox23->setVisible(CustomDataShown);
    Panel8->setFixedHeight(CustomDataShown ? 240 : 110);
    // The layouts take the new panel height first; otherwise the window's minimum still holds
    // the taller panel and the smaller height is refused.
    centralWidget()->layout()->activate();
    layout()->activate();
    resize(width(), CustomDataShown ? 817 : 687);
}

void TFrmMain::BtnPauseClick()
{
    if (Meter->Running) {
        BtnPause->setText(QString::fromUtf8("启动电表"));
        Meter->Running = false;
    } else {
        BtnPause->setText(QString::fromUtf8("暂停电表"));
        Meter->Running = true;
    }
}

std::optional<std::string> TFrmMain::AskEnergy(const std::string& caption, const std::string& text)
{
    if (AskKwhText)
        return AskKwhText(caption, text);
    TDlgKwhInput dialog(this, IniPath());
    dialog.setWindowTitle(QString::fromStdString(caption));
    dialog.edtIn->setText(QString::fromStdString(text));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.GetKwhText();
}

void TFrmMain::TmiSetSecClick()
{
    if (const auto digits = AskEnergy("每秒走字", "000000.01")) {
        Meter->SetFixedRate(*digits);
        Meter->FixedRateRunning = true;
    } else {
        Meter->FixedRateRunning = false;
    }
}

void TFrmMain::TmiSetDiduClick()
{
    if (const auto digits = AskEnergy("电表示数", "123456.78"))
        Meter->SetTotalEnergy(*digits);
    ShowEnergy();
}

void TFrmMain::Cbx3or1Click()
{
    Meter->SinglePhase = !Meter->SinglePhase;
    Cbx3or1->setChecked(Meter->SinglePhase);
    for (int p = 1; p < 3; ++p)
        for (QComboBox* box : {CbbxVolt[p], CbbxAmp[p], CbbxJdu[p]})
            box->setEnabled(!Meter->SinglePhase);
}

namespace {
std::uint8_t CheckedProtocol(const TFrmMain& w)
{
    if (w.Rule97645->isChecked())
        return 0;
    if (w.Rule07645->isChecked())
        return 1;
    if (w.RuleShanghai->isChecked())
        return 2;
    return 3;
}
} // namespace

void TFrmMain::PmiCheckNoClick()
{
    Meter->ProtocolLocked = !Meter->ProtocolLocked;
    PmiCheckNo->setChecked(Meter->ProtocolLocked);
    Meter->SetProtocol(CheckedProtocol(*this));
}

void TFrmMain::DoCheckRule()
{
    const std::uint8_t protocol = CheckedProtocol(*this);
    Core->DoCheckRule(protocol);  // protocol, highest tariff (2007), total energy 0
    if (protocol <= 1) {
        SetToolVisible(ToolButtonBh, true);
        EdiMonth->setEnabled(true);
        const bool is2007 = protocol == 1;
        EditStaRun[0]->setMaxLength(is2007 ? 4 : 2);
        EditStaRun[0]->setText(QString::fromUtf8(is2007 ? "0000" : "00"));
        EditStaGrid->setEnabled(!is2007);
        for (int i = 1; i < 7; ++i)
            EditStaRun[static_cast<std::size_t>(i)]->setEnabled(is2007);
        EditStaSelf->setEnabled(is2007);
    } else {
        SetToolVisible(ToolButtonBh, false);
        EdiMonth->setEnabled(false);
    }
    ShowEnergy();
}

// One state function for "645显示", "Daltrex显示", "Daltrex不解析" and "延时设置": the click of one
// box and the clicks it causes on the others end in these states.
void TFrmMain::DisplaySwitchClick(TDisplaySwitch which)
{
    TConsoleOptions& o = Core->Options;
    switch (which) {
    case TDisplaySwitch::Show645:
        if (!o.ShowCarrier) {
            o.Show645 = !o.Show645;
            CheckDelay->setEnabled(o.Show645);
            if (!o.Show645 && CheckDelay->isChecked()) {
                CheckDelay->setChecked(false);
                Core->DelayOn = false;  // what unchecking "延时设置" does
            }
            ResetReceiverForDisplay();
        }
        break;
    case TDisplaySwitch::Carrier:
        if (!o.Show645) {
            o.ShowCarrier = !o.ShowCarrier;
            o.CarrierRaw = o.ShowCarrier;  // the carrier display starts raw
            ResetReceiverForDisplay();
        }
        break;
    case TDisplaySwitch::CarrierRaw:
        if (o.ShowCarrier && !o.Show645) {
            o.CarrierRaw = !o.CarrierRaw;
            ResetReceiverForDisplay();
        }
        break;
    }
    ShowDisplaySwitches();
    ShowCarrierPages(true);
}

// What the carrier display captures goes to the listening pages: while it is on, they stand
// beside the operation log, or the switch would seem to do nothing.
void TFrmMain::ShowCarrierPages(bool activate)
{
    if (ListenMode())
        return;
    const bool carrier = Core->Options.ShowCarrier;
    const bool wasShown = IsTabShown(TabSheet5);
    ShowTab(TabSheet3, carrier);
    ShowTab(TabSheet5, carrier);
    if (activate && carrier && !wasShown)
        PageControl1->setCurrentWidget(TabSheet5);
}

void TFrmMain::ShowDisplaySwitches()
{
    const TConsoleOptions& o = Core->Options;
    Check645Show->setChecked(o.Show645);
    CheckAbandon->setChecked(o.ShowCarrier);
    CheckTopFast->setChecked(o.ShowCarrier && o.CarrierRaw);
}

void TFrmMain::ResetReceiverForDisplay()
{
    Core->Assembler.Reset();
    Link->Comm().SetInputLen(0);
    Link->Comm().ClearInBuffer();
    Link->Receiver().SetImmediate(Core->ReadsAtOnce());
}

void TFrmMain::LayoutListenPages()
{
    const int width = PageControl1->width();
    const int third = PageControl1->height() / 3;
    for (int page = 0; page < 2; ++page) {
        auto& memos = page == 0 ? MemoL : MemoB;
        auto& labels = page == 0 ? LabelL : LabelB;
        int top = 2;
        for (int i = 0; i < 3; ++i) {
            labels[i]->move(0, top);
            const int height = i < 2 ? third - 15 : third;
            memos[i]->setGeometry(0, top + 15, width, height);
            top += 15 + height + 2;
        }
    }
}

void TFrmMain::TBt1or3Click()
{
    if (!ListenWholeView) {
        ListenWholeView = true;
        ShowTab(TabSheet4, false);
        ShowTab(TabSheet6, false);
        ShowTab(TabSheet5, true);
        ShowTab(TabSheet3, true);
        PageControl1->setCurrentWidget(TabSheet3);
    } else {
        ListenWholeView = false;
        ShowTab(TabSheet4, true);
        ShowTab(TabSheet6, true);
        ShowTab(TabSheet5, false);
        ShowTab(TabSheet3, false);
        PageControl1->setCurrentWidget(TabSheet4);
        LayoutListenPages();
    }
}

void TFrmMain::TBtCancelClick()
{
    if (Sequencer)
        Sequencer->ForceCancel();
    TbtnCmdRd9010->setEnabled(true);
}

void TFrmMain::EventEditChange(int which)
{
    EventRepFrame* records[4] = {&Meter->ControlEventRep, &Meter->DataEventRep, &Meter->CancelEventRep,
                                 &Meter->FinishedEventRep};
    if (which < 0 || which > 3 || !Meter)
        return;
    std::string error;  // more than a record holds: the record stays as it was
    SetEventRepFromText(EventEdits[static_cast<std::size_t>(which)]->text().toStdString(), *records[which], error);
}
