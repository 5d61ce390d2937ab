#pragma once
// The port side of the main window: the serial control, the receive cycle, the byte-by-byte
// sender, the frame-gap and command timers, opening and closing with the texts of the port
// button, status panel and operation log. The console core binds the callbacks and keeps the
// frame assembly, counters and logs to itself.
#include "console/MSComm.h"
#include "console/ReceiveCycle.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the window shows after the port was opened, closed or lost.
struct TPortState {
    bool Open = false;
    std::string ButtonCaption;          // "关闭串口" while open, else "打开串口"
    std::string PanelText;              // status panel 1
    std::vector<std::string> LogLines;  // for the operation log, in order
};

class TSerialLink : public QObject {
    Q_OBJECT
public:
    explicit TSerialLink(QObject* parent = nullptr);
    ~TSerialLink() override;

    TMSComm& Comm() { return comm_; }
    TReceiveCycle& Receiver() { return receiver_; }
    TByteSender& Sender() { return sender_; }
    QTimer& TimerTxOver() { return timerTxOver_; }        // the frame gap
    QTimer& TimerTxCmdOver() { return timerTxCmdOver_; }  // the response delay of commands

    void SetFrameGap(int ms) { frameGap_ = ms; }
    void SetResponseDelay(int ms) { responseDelay_ = ms; }

    // Closes the port and, when asked, opens it again with the current port and settings. A
    // failed open leaves the port closed and says why. Both timers end stopped.
    TPortState OpenPort(bool open);
    // The texts at start-up: panel "<device>打开<settings>" or "<device>关闭<settings>".
    TPortState ShowPortState() const;

    // A whole reply at once, behind a reply still being sent byte by byte.
    bool Send(const TBytes& bytes);
    // A reply byte by byte (delays as TByteSender); no receive cycle starts until it has left.
    void SendBytes(const TBytes& bytes, const std::vector<int>& delays, TByteSender::Clock::time_point since);
    // Every command sent starts the command timer; when it fires it only stops itself.
    void StartCommandTimer() { timerTxCmdOver_.start(); }

    // A new rate or other line settings on the open port (instead of closing and reopening it):
    // the reply in flight, also one still being sent byte by byte, leaves under the old settings
    // first. A text that is no settings string is refused with `error` set.
    bool ChangeSettings(const std::string& settings, std::string* error = nullptr);
    // The settings string in force or waiting for the reply in flight.
    std::string Settings() const;

    // Every receive event (the frame-gap timer has just been restarted).
    std::function<void()> OnEvent;
    // Bytes of one read and the count still pending.
    std::function<void(const TBytes& bytes, int pending)> OnBurst;
    // The frame gap ended a burst (TimerTxOverTimer); never while a read is in progress.
    std::function<void()> OnFrameGap;
    // The port closed by itself (device gone); the state is the closed one with the reason.
    std::function<void(const TPortState&)> OnPortLost;

private:
    TPortState ClosedState() const;
    void FrameGapElapsed();
    void SenderDone();
    void PortLost(const std::string& why);
    void DropPendingWork();

    TMSComm comm_;
    TReceiveCycle receiver_;
    TByteSender sender_;
    QTimer timerTxOver_;
    QTimer timerTxCmdOver_;
    int frameGap_ = 100;
    int responseDelay_ = 10000;
    bool gapPending_ = false;
    std::optional<std::string> settingsAfterReply_;
};
