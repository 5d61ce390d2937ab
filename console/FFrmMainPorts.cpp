// The main window's side of the console core's ports, and the serial port buttons.
#include "console/FFrmMainPorts.h"

#include "console/ErrorTexts.h"
#include "console/FDlgAutoBack.h"
#include "console/FDlgCircleNum.h"
#include "console/FDlgComSet.h"
#include "console/FDlgDelayTime.h"
#include "console/FDlgKwhInput.h"
#include "console/FDlgMaxFeiLvNum.h"
#include "console/FDlgSelfBack.h"
#include "console/FDlgSuccesNum.h"
#include "console/FFrmMain.h"
#include "console/FFrmOrd.h"
#include "console/FSelectBw.h"
#include "console/SerialLink.h"
#include "console/SettingsKeys.h"
#include "platform/rtl/IniFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <chrono>
#include <stdexcept>

// ---- Line -----------------------------------------------------------------------------------

TWindowLine::TWindowLine(TSerialLink& link) : link_(link)
{
    // The link finishes a byte-by-byte reply itself; the core's completion call follows it.
    linkDone_ = link_.Sender().OnDone;
    link_.Sender().OnDone = [this] {
        if (linkDone_)
            linkDone_();
        if (auto done = std::exchange(pacedDone_, nullptr))
            done();
    };
}

bool TWindowLine::IsOpen() const { return link_.Comm().PortOpen(); }

void TWindowLine::Open()
{
    if (!link_.OpenPort(true).Open) {
        const std::string& why = link_.Comm().LastError();
        throw std::runtime_error(why.empty() ? "串口" + PortName() + "打开失败" : why);
    }
}

void TWindowLine::Close() { link_.OpenPort(false); }
int TWindowLine::PortNumber() const { return link_.Comm().CommPort(); }
std::string TWindowLine::PortName() const { return link_.Comm().Device(); }
std::string TWindowLine::Settings() const { return link_.Settings(); }

void TWindowLine::SetSettings(const std::string& settings)
{
    if (link_.Comm().PortOpen())
        link_.ChangeSettings(settings);
    else
        link_.Comm().SetSettings(settings);
}

void TWindowLine::Reconfigure(const std::string& settings)
{
    // Closing the port would drop the reply still queued for the line; the open port takes the
    // new settings once it has left.
    if (link_.Comm().PortOpen()) {
        std::string error;
        if (!link_.ChangeSettings(settings, &error))
            throw std::runtime_error(error);
        return;
    }
    link_.Comm().SetSettings(settings);
    Open();
}

bool TWindowLine::Send(const std::vector<std::uint8_t>& bytes) { return link_.Send(bytes); }

void TWindowLine::SendPaced(const std::vector<std::uint8_t>& bytes, const std::vector<int>& waits,
                            std::int64_t startMs, std::function<void()> done)
{
    using namespace std::chrono;
    pacedDone_ = std::move(done);
    const auto since = TByteSender::Clock::time_point(duration_cast<TByteSender::Clock::duration>(milliseconds(startMs)));
    link_.SendBytes(bytes, waits, since);
}

// ---- Logs and status ------------------------------------------------------------------------

void TWindowPorts::Append(TLogId id, const std::string& line) { w_.AddLog(w_.LogMemo(id), line); }
void TWindowPorts::Clear(TLogId id) { w_.LogMemo(id)->ClearLines(); }
void TWindowPorts::AddLine(TListenLog log, const std::string& text)
{
    Append(static_cast<TLogId>(static_cast<int>(log)), text);
}

void TWindowPorts::ShowPanel(int panel, const std::string& text) { w_.SetPanelText(panel, text); }
void TWindowPorts::SetPortCaption(const std::string& caption)
{
    w_.TbtnComOpen->setText(QString::fromStdString(caption));
}
void TWindowPorts::ToggleTxLamp() { w_.ToggleLamp(w_.ShpTx); }
void TWindowPorts::ShowAddressRow(int row, const std::string& text)
{
    if (row >= 0 && row < 8)
        w_.AddressEdits[static_cast<std::size_t>(row)]->setText(QString::fromStdString(text));
}
void TWindowPorts::ShowPassword(const std::string& text) { w_.EditPw->setText(QString::fromStdString(text)); }
void TWindowPorts::ShowEnergy() { w_.ShowEnergy(); }

// ---- Clock and messages ---------------------------------------------------------------------

TWallTime TWindowPorts::Now() const
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

std::int64_t TWindowPorts::MonotonicMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(TByteSender::Clock::now().time_since_epoch()).count();
}

void TWindowPorts::Defer(int ms, std::function<void()> call)
{
    // Calls die with the core.
    QTimer::singleShot(ms, w_.Core.get(), std::move(call));
}

void TWindowPorts::Message(const std::string& text) { w_.Notify(text); }

// ---- Dialogs --------------------------------------------------------------------------------

std::optional<IConsoleDialogs::TSelfReplyTexts> TWindowPorts::AskSelfReply(const std::string& controlText,
                                                                           const std::string& dataText)
{
    if (w_.DialogsOverride)
        return w_.DialogsOverride->AskSelfReply(controlText, dataText);
    TDlgSelfBack dialog(&w_);
    dialog.EdtControl->setText(QString::fromStdString(controlText));
    dialog.EdtData->setText(QString::fromStdString(dataText));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return TSelfReplyTexts{dialog.ControlText(), dialog.DataText(), dialog.TailText(), dialog.Reverse, dialog.Add33};
}

std::optional<std::pair<std::string, std::string>> TWindowPorts::AskCycleRange(const std::string& beginText,
                                                                               const std::string& endText)
{
    if (w_.DialogsOverride)
        return w_.DialogsOverride->AskCycleRange(beginText, endText);
    TDlgCircleNum dialog(&w_);
    dialog.SetTexts(beginText, endText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(dialog.BeginText(), dialog.EndText());
}

std::optional<std::string> TWindowPorts::AskRepliesPerStep(const std::string& text)
{
    if (w_.DialogsOverride)
        return w_.DialogsOverride->AskRepliesPerStep(text);
    TDlgSucNum dialog(&w_);
    dialog.SetText(text);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Text();
}

std::optional<std::pair<std::string, std::string>> TWindowPorts::AskLongFrameIds(const std::string& setText,
                                                                                 const std::string& readText)
{
    if (w_.DialogsOverride)
        return w_.DialogsOverride->AskLongFrameIds(setText, readText);
    TDlgBackNum dialog(&w_);
    dialog.SetTexts(setText, readText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(dialog.SetIdText(), dialog.ReadIdText());
}

std::optional<std::pair<bool, bool>> TWindowPorts::AskAnsweredReads()
{
    if (w_.DialogsOverride)
        return w_.DialogsOverride->AskAnsweredReads();
    TSelectBw dialog(&w_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(dialog.AnswerBroadcast, dialog.AnswerWildcard);
}

std::optional<int> TWindowPorts::AskMaxTariff()
{
    if (w_.AskMaxTariff)
        return w_.AskMaxTariff();
    if (w_.DialogsOverride)
        return w_.DialogsOverride->AskMaxTariff();
    TDlgMaxFeiLvNum dialog(&w_, w_.IniPath());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.GetMaxTariff();
}

void TWindowPorts::SyncComSettings(const std::string& settings, int rateItem)
{
    if (!w_.ComSetDialog)
        return;
    w_.ComSetDialog->SetCommSettings(settings);
    if (rateItem >= 0 && rateItem < w_.ComSetDialog->CbbxBps->count())
        w_.ComSetDialog->CbbxBps->setCurrentIndex(rateItem);
}

// ---- Listening, route, commands -------------------------------------------------------------

void TWindowPorts::ShowListenFrame(const std::uint8_t* burst, int lastIndex)
{
    ::ShowListenFrame(std::span<const std::uint8_t>(burst, static_cast<std::size_t>(lastIndex + 1)),
                      QDateTime::currentDateTime(), *this);
}

void TWindowPorts::ShowCarrierFrame(const std::uint8_t* frame, int endIndex)
{
    ::ShowCarrierFrame(std::span<const std::uint8_t>(frame, static_cast<std::size_t>(endIndex + 1)),
                       QDateTime::currentDateTime(), *this);
}

bool TWindowPorts::IndexReady() const { return w_.Routes.IndexReady; }

int TWindowPorts::CheckRoute(const std::uint8_t* path, int count, std::uint8_t phase, bool crossPhase,
                             TZbSxMeter& meter)
{
    std::uint8_t phaseByte = meter.PhaseByte;
    const int result = w_.Routes.CheckRoute(path, count, phase, crossPhase, phaseByte);
    meter.PhaseByte = phaseByte;
    return result;
}

void TWindowPorts::ScheduleNextCommand()
{
    if (w_.Sequencer)
        w_.Sequencer->ScheduleNextCommand();
}

void TWindowPorts::AnswerHandled()
{
    if (w_.Sequencer)
        w_.Sequencer->AnswerHandled();
}

void TWindowPorts::CommandSent() { w_.Link->StartCommandTimer(); }

bool TWindowPorts::SendCommand(const std::uint8_t target[6], std::uint8_t control, std::uint8_t length,
                               const std::uint8_t* payload)
{
    TZbSxMeter& meter = *w_.Meter;
    for (int i = 0; i < 6; ++i)
        meter.TargetAddr[i] = target[i];
    // Only the meter the command went to may answer it.
    meter.ListenTargetOnly = true;
    meter.BuildRawFrame(control, length, payload);
    return w_.Core->SendFrame(true);
}

void TWindowPorts::StartNextMeterTimer() { w_.TimerRd9010.start(); }
void TWindowPorts::ShowComposer()
{
    if (w_.Composer)
        w_.Composer->show();
}
void TWindowPorts::SetSendCaption(const std::string& caption)
{
    w_.TbtnCmdRd9010->setText(QString::fromStdString(caption));
}
void TWindowPorts::EnableSendButton(bool enabled) { w_.TbtnCmdRd9010->setEnabled(enabled); }
bool TWindowPorts::ContinuousChecked() const { return w_.TmiContinuous->isChecked(); }

// ---- The window's port buttons --------------------------------------------------------------

void TFrmMain::OpenPort(bool open)
{
    try {
        Core->OpenPort(open);
    } catch (const std::exception& e) {
        // The port stays closed: the log keeps the reason and the closed state as well.
        AddLog(MemoRes, e.what());
        AddLog(MemoRes, Line->PortName() + "关闭");
        Core->ShowPortState();
        NotifyError(e.what());
    }
}

void TFrmMain::TbtnComOpenClick()
{
    Link->TimerTxOver().stop();
    OpenPort(TbtnComOpen->text() == QString::fromUtf8("打开串口"));
}

void TFrmMain::ToolButton1Click()
{
    Link->TimerTxOver().stop();
    if (ComSetDialog->exec() == QDialog::Accepted) {
        FrameGap = ComSetDialog->GetFrameGap();
        ResponseDelay = ComSetDialog->GetResponseDelay();
        Link->SetFrameGap(FrameGap);
        Link->SetResponseDelay(ResponseDelay);
        if (Link->Comm().PortOpen())
            Link->OpenPort(false);
        Link->Comm().SetCommPort(ComSetDialog->GetPortNumber());
        Link->Comm().SetDevice(ComSetDialog->GetPortDevice());
        Link->Comm().SetSettings(ComSetDialog->CommSettings);
        Core->Rate.RepliesAtStep = 0;
        // The chosen port is remembered at once, not only when the window closes.
        try {
            rtl::TIniFile ini(IniPath());
            ini.WriteInteger(settings::SystemSection, settings::PortNumber, Link->Comm().CommPort());
            ini.WriteString(settings::SystemSection, settings::PortDevice, Link->Comm().ChosenDevice());
        } catch (const rtl::EIniFileException& e) {
            NotifyError(SettingsWriteErrorText(e));
        }
        OpenPort(true);
    } else {
        OpenPort(false);
    }
}

void TFrmMain::BbtnEventEnClick()
{
    Meter->EventRepMode = 0;
    if (CheckIO->isChecked()) {
        ShpStaEvent->SetColor(Qt::red);
        Meter->EventReportEnabled = true;
    } else {
        Meter->BuildReportFrame();
        Core->SendFrame(true);
        ShpStaEvent->SetColor(QColor(0x80, 0x80, 0x80));
        Meter->EventReportEnabled = false;
    }
}

void TFrmMain::CheckDelayClick()
{
    TDelaySettings settings;
    settings.Delays = Core->Delays;
    settings.PerByteDelays = Core->PerByteDelays;
    settings.DelayOn = Core->DelayOn;
    const bool checked = ::CheckDelayClick(CheckDelay->isChecked(), settings, this);
    CheckDelay->setChecked(checked);
    Core->Delays = settings.Delays;
    Core->PerByteDelays = settings.PerByteDelays;
    Core->DelayOn = settings.DelayOn;
}
