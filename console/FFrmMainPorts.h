#pragma once
// How the main window plugs into the console core: the serial line over the serial link, and the
// window's side of the log, status, clock, notifier, dialog, listening, route and command ports.
#include "console/CommandSequencer.h"
#include "console/ConsolePorts.h"
#include "console/FListenView.h"

#include <functional>

class TFrmMain;
class TSerialLink;

class TWindowLine : public IConsoleLine {
public:
    explicit TWindowLine(TSerialLink& link);
    bool IsOpen() const override;
    // A port that cannot be opened throws with the reason (the caller shows it).
    void Open() override;
    void Close() override;
    int PortNumber() const override;
    // The device path the port opens.
    std::string PortName() const override;
    std::string Settings() const override;
    void SetSettings(const std::string& settings) override;
    void Reconfigure(const std::string& settings) override;
    bool Send(const std::vector<std::uint8_t>& bytes) override;
    void SendPaced(const std::vector<std::uint8_t>& bytes, const std::vector<int>& waits,
                   std::int64_t startMs, std::function<void()> done) override;

private:
    TSerialLink& link_;
    std::function<void()> linkDone_;
    std::function<void()> pacedDone_;
};

class TWindowPorts : public IConsoleLog,
                     public IConsoleStatus,
                     public IConsoleClock,
                     public IConsoleNotifier,
                     public IConsoleDialogs,
                     public IListenDisplay,
                     public IRouteCheck,
                     public ICommandFlow,
                     public ICommandLink,
                     public TListenSink {
public:
    explicit TWindowPorts(TFrmMain& window) : w_(window) {}

    // IConsoleLog
    void Append(TLogId id, const std::string& line) override;
    void Clear(TLogId id) override;
    // IConsoleStatus
    void ShowPanel(int panel, const std::string& text) override;
    void SetPortCaption(const std::string& caption) override;
    void ToggleTxLamp() override;
    void ShowAddressRow(int row, const std::string& text) override;
    void ShowPassword(const std::string& text) override;
    void ShowEnergy() override;
    // IConsoleClock
    TWallTime Now() const override;
    std::int64_t MonotonicMs() const override;
    void Defer(int ms, std::function<void()> call) override;
    // IConsoleNotifier and the composer's notifier
    void Message(const std::string& text) override;
    void Notify(const std::string& message) override { Message(message); }
    // IConsoleDialogs
    std::optional<TSelfReplyTexts> AskSelfReply(const std::string& controlText,
                                                const std::string& dataText) override;
    std::optional<std::pair<std::string, std::string>> AskCycleRange(const std::string& beginText,
                                                                     const std::string& endText) override;
    std::optional<std::string> AskRepliesPerStep(const std::string& text) override;
    std::optional<std::pair<std::string, std::string>> AskLongFrameIds(const std::string& setText,
                                                                       const std::string& readText) override;
    std::optional<std::pair<bool, bool>> AskAnsweredReads() override;
    std::optional<int> AskMaxTariff() override;
    void SyncComSettings(const std::string& settings, int rateItem) override;
    // IListenDisplay
    void ShowListenFrame(const std::uint8_t* burst, int lastIndex) override;
    void ShowCarrierFrame(const std::uint8_t* frame, int endIndex) override;
    // IRouteCheck
    bool IndexReady() const override;
    int CheckRoute(const std::uint8_t* path, int count, std::uint8_t phase, bool crossPhase,
                   TZbSxMeter& meter) override;
    // ICommandFlow
    void ScheduleNextCommand() override;
    void AnswerHandled() override;
    void CommandSent() override;
    // ICommandLink
    bool SendCommand(const std::uint8_t target[6], std::uint8_t control, std::uint8_t length,
                     const std::uint8_t* payload) override;
    void StartNextMeterTimer() override;
    void ShowComposer() override;
    void SetSendCaption(const std::string& caption) override;
    void EnableSendButton(bool enabled) override;
    bool ContinuousChecked() const override;
    // TListenSink
    void AddLine(TListenLog log, const std::string& text) override;

private:
    TFrmMain& w_;
};
