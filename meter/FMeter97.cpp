// The 1997-shaped command set (DL/T 645-1997, "上海规约", "BNC规约") and the 1997 read
// identifiers.
//
// Unfinished: every entry point below is a placeholder. Addressed requests end with status 11
// "命令不支持" and no reply; broadcasts are not recognised yet and so continue as addressed
// requests.
// Engine rules these handlers rely on: replies go through BuildReply, which always puts MeterAddr
// in the reply and refuses data past 255 bytes; a frame built by hand (the pass-through read)
// sets TxLength and SendLength itself. DayBefore and HourBefore give whole dates: use their month
// and year where a record needs them.
#include "meter/FMeter.h"

bool TZbSxMeter::Dispatch97Broadcast()
{
    return false;
}

void TZbSxMeter::Dispatch97()
{
    SetStatus(msCommandUnsupported);
}

void TZbSxMeter::HandleEventReport97(std::uint8_t /*c*/)
{
    SetStatus(msCommandUnsupported);
}

void TZbSxMeter::Read97() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::ReadFollowUp97() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::Write97() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::PassThroughRead97() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::DeviceTypeQuery97() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::ChangePassword97() { SetStatus(msCommandUnsupported); }
void TZbSxMeter::PowerLimit97(bool /*broadcast*/) { SetStatus(msCommandUnsupported); }
void TZbSxMeter::LongFrameTest97() { SetStatus(msCommandUnsupported); }

bool TZbSxMeter::ReadIdentifier97(std::uint8_t /*di1*/, std::uint8_t /*di0*/)
{
    return false;
}
