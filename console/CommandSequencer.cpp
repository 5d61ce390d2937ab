#include "console/CommandSequencer.h"

namespace {
const char* const kReady = "准备发送";
const char* const kCancelSending = "取消发送";
} // namespace

void TCommandSequencer::SendButtonClick()
{
    if (!composer_.WindowOpen) {
        link_.ShowComposer();
        composer_.WindowOpen = true;
        link_.SetSendCaption(kReady);
        NextTarget = 0;
        return;
    }
    if (ContinuousSending) {
        StopContinuous();
        NextTarget = 0;
        return;
    }
    if (!composer_.Confirmed) {
        link_.Notify("命令帧未组好");
        return;
    }
    if (composer_.PairCount == 0) {
        link_.Notify("没有选择目的表");
        return;
    }
    if (composer_.NewConfirmation) {
        composer_.NewConfirmation = false;
        NextTarget = 0;
    }
    if (NextTarget >= composer_.PairCount) {
        AllSent();
        return;
    }
    CommandArmed = false;
    link_.EnableSendButton(false);
    if (!SendNextRow()) {
        link_.EnableSendButton(true);
        return;
    }
    CommandArmed = true;
    if (link_.ContinuousChecked()) {
        ContinuousSending = true;
        link_.SetSendCaption(kCancelSending);
    }
}

void TCommandSequencer::AnswerHandled()
{
    // The list is not restarted here: with the position reset on the last answer, continuous
    // sending would go round the list forever. The end of the list is reported (and the
    // position reset) by the next click or the next-meter timer.
    link_.EnableSendButton(true);
    if (link_.ContinuousChecked())
        ScheduleNextCommand();
}

void TCommandSequencer::RefusedRequest()
{
    if (link_.ContinuousChecked())
        ScheduleNextCommand();
}

void TCommandSequencer::StrayBurst()
{
    if (ContinuousSending && link_.ContinuousChecked())
        ScheduleNextCommand();
}

void TCommandSequencer::ScheduleNextCommand()
{
    if (CommandArmed)
        link_.StartNextMeterTimer();
}

void TCommandSequencer::NextMeterTimer()
{
    if (NextTarget == composer_.PairCount) {
        AllSent();
        return;
    }
    if (!ContinuousSending)
        return;
    // The composer was cancelled or changed under a running list: stop rather than send rows
    // that are no longer there.
    if (!composer_.Confirmed || NextTarget > composer_.PairCount) {
        StopContinuous();
        NextTarget = 0;
        return;
    }
    if (!SendNextRow()) {
        StopContinuous();
        link_.EnableSendButton(true);
    }
}

void TCommandSequencer::ForceCancel()
{
    link_.EnableSendButton(true);
    NextTarget = 0;
}

bool TCommandSequencer::SendNextRow()
{
    std::uint8_t target[6];
    if (!composer_.TargetAddress(NextTarget, target)) {
        link_.Notify("没有选择目的表");
        return false;
    }
    if (!composer_.BuildFrameFor(NextTarget))
        return false;
    // A command that did not leave waits for no answer: the same meter is next again.
    if (!link_.SendCommand(target, composer_.ControlCode, composer_.PayloadLength, composer_.Payload))
        return false;
    ++NextTarget;
    return true;
}

void TCommandSequencer::StopContinuous()
{
    ContinuousSending = false;
    link_.SetSendCaption(kReady);
}

void TCommandSequencer::AllSent()
{
    link_.Notify("所选电表都已抄读");
    NextTarget = 0;
    if (ContinuousSending)
        StopContinuous();
}
