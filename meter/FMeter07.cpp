// The DL/T 645-2007 command dispatch: broadcast, time, address, password, freeze, clear and
// remote-control commands, and the hand-off of reads and writes to the identifier handlers.
//
// Unfinished: addressed requests end with status 11 "命令不支持" and no reply; broadcasts are not
// recognised yet and so continue as addressed requests.
#include "meter/FMeter.h"

bool TZbSxMeter::Dispatch07Broadcast()
{
    return false;
}

void TZbSxMeter::Dispatch07()
{
    SetStatus(msCommandUnsupported);
}

bool TZbSxMeter::CheckRequest07(int expectedL, const std::uint8_t* password, bool reply)
{
    std::uint8_t error = 0;
    if (RequestL() != expectedL)
        error = 1;
    else if (password != nullptr && PasswordDiffers(password))
        error = 4;
    if (error == 0)
        return true;
    TxFrame[10] = error;
    if (reply)
        BuildErrorReply(static_cast<std::uint8_t>(RequestC() + 0xC0), error);
    return false;
}

void TZbSxMeter::Read07() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::ReadFollowUp07() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::Write07() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::ChangePassword07() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::ClearCommand07(std::uint8_t /*c*/) { SetStatus(msCommandUnsupported); }
void TZbSxMeter::RemoteControl07() { SetStatus(msCommandUnsupported); }
