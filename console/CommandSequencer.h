#pragma once
// The main window's side of the composer: "组命令帧" sends the composed command to one meter per
// click, or, with "连续" checked, to every selected meter in turn, one second after each handled
// answer. The window plugs in through ICommandLink; this class keeps the sending position.
#include "console/ComposerModel.h"

#include <cstdint>
#include <string>

class ICommandLink : public IComposerNotifier {
public:
    // Sends one command: the meter's target address, BuildRawFrame and SendFrame as a command
    // (which starts the response-delay timer). False when it could not leave the port.
    virtual bool SendCommand(const std::uint8_t target[6], std::uint8_t control,
                             std::uint8_t length, const std::uint8_t* payload) = 0;
    // Starts (or restarts) the one-shot next-meter timer of 1000 ms; it calls NextMeterTimer.
    virtual void StartNextMeterTimer() = 0;
    // Shows the composer window, not modally.
    virtual void ShowComposer() = 0;
    // The tool button "组命令帧": its caption ("准备发送", "取消发送") and whether it is enabled.
    virtual void SetSendCaption(const std::string& caption) = 0;
    virtual void EnableSendButton(bool enabled) = 0;
    // The check item "连续" of the button's menu.
    virtual bool ContinuousChecked() const = 0;
};

class TCommandSequencer {
public:
    TCommandSequencer(TComposerModel& composer, ICommandLink& link)
        : composer_(composer), link_(link) {}

    // "组命令帧" clicked.
    void SendButtonClick();
    // After a handled answer to a command (status 0, request flag clear): the button is enabled
    // again and, with "连续" checked, the next meter is scheduled.
    void AnswerHandled();
    // A request the meter refused (status not 0, request flag set) with "连續" checked, or an
    // error or stray burst while continuous sending is on: the list moves on without an answer.
    void RefusedRequest();
    void StrayBurst();
    // Starts the next-meter timer when a command has been sent.
    void ScheduleNextCommand();
    // The next-meter timer fired.
    void NextMeterTimer();
    // "强制取消": the button is enabled again and the list starts over.
    void ForceCancel();

    bool CommandArmed = false;
    bool ContinuousSending = false;
    int NextTarget = 0;

private:
    bool SendNextRow();
    void StopContinuous();
    void AllSent();

    TComposerModel& composer_;
    ICommandLink& link_;
};
