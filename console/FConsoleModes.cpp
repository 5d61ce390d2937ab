// Test modes, address filtering, reply variants, variable rate and protocol choice of the
// console core.
#include <cstdlib>

#include "console/FConsoleCore.h"
#include "meter/FFunct.h"

// ---- Test modes -----------------------------------------------------------------------------

void TConsoleCore::SetTestMode(int mode)
{
    Assembler.Reset();  // nothing of a burst or frame under the old mode carries over
    TestModeFlags &= static_cast<std::uint8_t>(~kTestModeBits);
    // The listening mode sets no bit; it is kept apart so that it is stored and restored too.
    Listening = mode == kListeningMode;
    if (const TTestModeInfo* info = FindTestMode(mode))
        TestModeFlags |= info->Bit;
}

void TConsoleCore::ChooseTestMode(int mode)
{
    Options.ChipKind = false;
    Options.LongFrameTest = false;
    SetTestMode(mode);
    if (Listening) {
        Ports.Log->Clear(TLogId::CommRecord);
        Ports.Log->Clear(TLogId::CommFrames);
    } else {
        for (int k = static_cast<int>(TLogId::ListenRecord); k < kLogCount; ++k)
            Ports.Log->Clear(static_cast<TLogId>(k));
    }
}

const std::string& TConsoleCore::SetAddressRow(int row, const std::string& text)
{
    std::string& stored = AddressRows.at(static_cast<std::size_t>(row));
    stored = NormaliseAddressRow(text);
    return stored;
}

// ---- Address filtering ----------------------------------------------------------------------

void TConsoleCore::FilterAddress()
{
    if (!Meter->GetRequestFlag())
        return;
    const std::string refusal = ListRefusal(Meter->GetMeterAddress(), FrameBuffer + 1, false);
    if (refusal.empty())
        return;
    Meter->SetStatus(msNotThisAddress);
    Op(refusal);
}

std::string TConsoleCore::ListRefusal(const std::uint8_t* address, std::uint8_t* frameAddress,
                                      bool bothLists)
{
    if (RelayOrRouting())
        return {};
    CheckedAddress = BytesToHexReversed(address, 6);
    if (TestModeFlags & tmUnrecognised) {
        InAnyList(frameAddress);  // only for its address substitution
        if (bothLists)
            InCheckedList(frameAddress);
        return {};
    }
    if (TestModeFlags & tmInterval)
        return InIntervalList() ? "接收到黑名单区间内的电表" : "";
    if (InCheckedList(frameAddress))
        return TestModeFlags & tmBlackList ? "接收到黑名单上的电表" : "";
    return TestModeFlags & tmWhiteList ? "接收到名单以外的电表" : "";
}

bool TConsoleCore::InIntervalList() const
{
    return AddressInIntervals(CheckedAddress, AddressRows);
}

bool TConsoleCore::InCheckedList(std::uint8_t* frameAddress)
{
    return AddressInRows(CheckedAddress, AddressRows, AddressChecks, true, frameAddress);
}

bool TConsoleCore::InAnyList(std::uint8_t* frameAddress)
{
    return AddressInRows(CheckedAddress, AddressRows, AddressChecks, false, frameAddress);
}

// ---- Reply variants -------------------------------------------------------------------------

bool TConsoleCore::TmiCheckSelf()
{
    if (!Ports.Dialogs)
        return Options.SelfReply;
    const auto texts = Ports.Dialogs->AskSelfReply(Replies.SelfControlText, Replies.SelfDataText);
    Options.SelfReply = texts.has_value();
    Assembler.Reset();
    if (texts) {
        Replies.SetSelfReply(texts->ControlText, texts->DataText, texts->TailText, texts->Reverse,
                             texts->Add33);
        Options.CycleReply = false;
    }
    return Options.SelfReply;
}

bool TConsoleCore::TmiCheckCircle()
{
    if (!Ports.Dialogs)
        return Options.CycleReply;
    const auto range = Ports.Dialogs->AskCycleRange(Replies.CycleBeginText, Replies.CycleEndText);
    Options.CycleReply = range.has_value();
    Assembler.Reset();
    if (range) {
        Replies.SetCycleRange(range->first, range->second);
        Options.SelfReply = false;
    }
    return Options.CycleReply;
}

bool TConsoleCore::TmiCheckAuto()
{
    if (!Ports.Dialogs)
        return Options.LongFrameTest;
    const auto ids = Ports.Dialogs->AskLongFrameIds(LongFrameSetText, LongFrameReadText);
    Options.LongFrameTest = ids.has_value();
    if (ids) {
        HexToBytes(ids->first, LongFrameIds[0], 2);
        HexToBytes(ids->second, LongFrameIds[1], 2);
        LongFrameSetText = ids->first;
        LongFrameReadText = ids->second;
    }
    return Options.LongFrameTest;
}

void TConsoleCore::ToolButtonBhClick()
{
    if (!Ports.Dialogs)
        return;
    if (const auto reads = Ports.Dialogs->AskAnsweredReads()) {
        Meter->AnswerBroadcastRead = reads->first;
        Meter->AnswerAddressRead = reads->second;
    }
}

void TConsoleCore::FastChange(char key)
{
    if (key == 'A' || key == 'a') {
        if (Options.CycleReply) {
            Options.CycleReply = false;
        } else {
            Options.CycleReply = true;
            Options.SelfReply = false;
            Replies.CycleLength = Replies.CycleBegin;
        }
    } else if (key == 'S' || key == 's') {
        ApplyRate(Rate.StepRound());
    }
}

// ---- Variable rate --------------------------------------------------------------------------

bool TConsoleCore::ChooseNum(bool checked)
{
    Options.ChangeBaud = checked;
    if (!checked || !Ports.Dialogs)
        return Options.ChangeBaud;
    const auto text = Ports.Dialogs->AskRepliesPerStep(Rate.RepliesPerStepText);
    Options.ChangeBaud = text.has_value();
    if (text) {
        Rate.RepliesPerStep =
            static_cast<std::uint8_t>(std::strtol(text->substr(0, 2).c_str(), nullptr, 10));
        Rate.RepliesPerStepText = *text;
    }
    return Options.ChangeBaud;
}

void TConsoleCore::NextBaudSetting(int currentRate, std::string& settings)
{
    settings = Rate.NextBaudSetting(currentRate);
}

void TConsoleCore::VariableRateStep()
{
    if (!Rate.CountFrame(Options.ChangeBaud))
        return;
    std::string settings;
    NextBaudSetting(RateOfSettings(Ports.Line->Settings()), settings);
    ApplyRate(settings);
}

void TConsoleCore::ApplyRate(const std::string& settings)
{
    IConsoleLine& line = *Ports.Line;
    line.Reconfigure(settings);
    Ports.Status->ShowPanel(1, line.PortName() + "打开," + settings);
    if (Ports.Dialogs)
        Ports.Dialogs->SyncComSettings(settings, Rate.BaudStep + 3);
}

// ---- Protocol -------------------------------------------------------------------------------

void TConsoleCore::DoCheckRule(int protocol)
{
    Meter->SetProtocol(static_cast<std::uint8_t>(protocol));
    if (protocol == mpDlt645_2007 && Ports.Dialogs) {
        if (const auto tariffs = Ports.Dialogs->AskMaxTariff())
            Meter->MaxTariff = static_cast<std::uint8_t>(*tariffs);
    }
    Meter->SetTotalEnergy("000000.00");
}
