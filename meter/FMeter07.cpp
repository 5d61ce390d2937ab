// The DL/T 645-2007 command dispatch: broadcast, time, address, password, freeze, clear and
// remote-control commands, and the hand-off of reads and writes to the identifier handlers.
//
// ProcessFrame has removed the 0x33, reduced the control code to six bits and copied the four
// identifier bytes to the reply's data 0..3. No command reads a request byte at or past L: a
// request too short for what a command reads gets that command's error reply with error byte 1
// (status 5 for a broadcast, which has no error reply).
#include "meter/FMeter.h"

#include <algorithm>

#include "meter/FFunct.h"
#include "meter/FMeter07Util.h"
#include "meter/FRtc.h"

using meter07::IdText;

namespace {

// The day table at the head of the follow-up frames of 03 30 05 N (time-table programming).
const std::uint8_t kTimeTableHead[12] = {0x01, 0x00, 0x00, 0x02, 0x00, 0x07,
                                         0x03, 0x00, 0x13, 0x04, 0x00, 0x18};

// Set address (0x15), broadcast or addressed.
void SetAddress07(TZbSxMeter& m)
{
    m.Texts.Command = "设表号 ";
    if (m.RequestL() != 6) {
        m.SetStatus(msFrameLength);
        return;
    }
    if (!m.ProgramEnable) {
        m.SetStatus(msNotProgramEnabled);
        return;
    }
    CopyBytes(m.MeterAddr, m.RequestData(), 6);
    m.BuildReply(0x95, 0);
    m.AddrText = TZbSxMeter::AddressToText(m.MeterAddr);
    m.AddrTextChanged = true;
}

// The next frame of a follow-up sequence; false when the identifier has none.
bool BuildFollowUpFrame07(TZbSxMeter& m, const std::uint8_t* id, bool last)
{
    std::uint8_t* reply = m.TxFrame + 10;  // "data n" of the reply, the identifier at 0..3
    if (id[3] == 0x05 && (id[2] == 0x00 || id[2] == 0x06)) {
        meter07::TReplyWriter w(reply + 4);
        w.Fill(0x00, 80);
        w.Put(m.ActivePower[0], 12);
        w.Put(m.ActivePower[0], 12);
        w.Put(0x01);
        m.BuildReply(0x92, 4 + w.Size());
        return true;
    }
    if (id[3] == 0x03 && id[2] == 0x30 && id[1] == 0x02 && id[0] != 0) {
        const TBcdDate date = DayBefore(m.Clock[4], m.Clock[5], m.Clock[6], id[0] - 1);
        const std::uint8_t* e = m.Registers97[0];
        const std::uint8_t record[8] = {e[0], e[1], e[2], 0x02, m.Clock[2], date.Day, date.Month, date.Year};
        // Eleven whole records and the first five bytes of the twelfth fill the frame.
        for (int i = 0; i < 93; ++i)
            reply[4 + i] = record[i % 8];
        m.BuildReply(0x92, 97);
        return true;
    }
    if (id[3] == 0x03 && id[2] == 0x30 && id[1] == 0x05 && id[0] != 0) {
        CopyBytes(reply + 4, kTimeTableHead, 12);
        FillBytes(reply + 16, 0xFF, 30);
        // Three copies of data 14..55, each made byte by byte in ascending order: the first copy
        // overlaps its own source, so data 46..87 repeat data 14..45 and then data 14..23.
        for (int start : {46, 88, 130})
            for (int i = 0; i < 42; ++i)
                reply[start + i] = reply[14 + i];
        reply[172] = m.FollowUpSeq;
        m.BuildReply(last ? 0x92 : 0xB2, 173);
        return true;
    }
    return false;
}

}  // namespace

// ---- Broadcast ------------------------------------------------------------------------------

bool TZbSxMeter::Dispatch07Broadcast()
{
    const int l = RequestL();
    const std::uint8_t* d = RequestData();
    switch (RequestC()) {
    case 0x08: {
        Texts.Command = "校时 ";
        if (l != 6) {
            SetStatus(msFrameLength);
            return true;
        }
        // The clock only ever takes a real time of day and date.
        const bool valid = meter07::BcdInRange(d[0], 0, 59) && meter07::BcdInRange(d[1], 0, 59) &&
                           meter07::BcdInRange(d[2], 0, 23) && meter07::BcdInRange(d[4], 1, 12) &&
                           meter07::BcdInRange(d[5], 0, 99) &&
                           meter07::BcdInRange(d[3], 1, DaysInMonth(BcdToByte(d[4]), BcdToByte(d[5])));
        if (!valid) {
            SetStatus(msDataError);
            return true;
        }
        SetClockFromFrame(d);
        UpdateTariff();
        return true;
    }
    case 0x15:
        SetAddress07(*this);
        return true;
    case 0x16:
        Texts.Command = "冻结电能表数据 ";
        return true;
    case 0x1F:
        Texts.Command = "读表号 ";
        if (l < 2) {
            SetStatus(msFrameLength);
            return true;
        }
        AddressFromText();
        TxFrame[10] = d[0];
        TxFrame[11] = d[1];
        CopyBytes(TxFrame + 12, MeterAddr, 6);
        BuildReply(0x9F, 8);
        return true;
    default:
        return false;
    }
}

// ---- Addressed commands ---------------------------------------------------------------------

void TZbSxMeter::Dispatch07()
{
    switch (RequestC()) {
    case 0x11: Read07(); break;
    case 0x12: ReadFollowUp07(); break;
    case 0x13:
        Texts.Command = "读表号 ";
        AddressFromText();
        CopyBytes(TxFrame + 10, MeterAddr, 6);
        BuildReply(0x93, 6);
        break;
    case 0x14: Write07(); break;
    case 0x15: SetAddress07(*this); break;
    case 0x16: Texts.Command = "冻结电能表数据 "; break;
    case 0x18: ChangePassword07(); break;
    case 0x19:
    case 0x1A:
    case 0x1B: ClearCommand07(RequestC()); break;
    case 0x1C: RemoteControl07(); break;
    default: SetStatus(msCommandUnsupported); break;
    }
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

void TZbSxMeter::Read07()
{
    FollowUpActive = false;
    const std::uint8_t id[4] = {TxFrame[10], TxFrame[11], TxFrame[12], TxFrame[13]};
    Texts.Command = "读";
    meter07::AppendIdText(Texts.Command, id);
    const std::uint8_t* request = RequestData() + 4;
    bool served = false;
    switch (RequestL()) {
    case 4:
        switch (id[3]) {
        case 0x00: served = ReadEnergy07(id, ReplyData07Ptr()); break;
        case 0x01: served = ReadDemand07(id); break;
        case 0x02: served = ReadVariables07(id); break;
        case 0x03: served = ReadEvents07(id, request); break;
        case 0x04: served = ReadParameter07(id, ReplyData07Ptr()); break;
        case 0x05: served = ReadFreeze07(id); break;
        case 0x13: served = ReadPhaseBreak07(id); break;
        case 0x1D:
        case 0x1E: served = ReadSwitchRecords07(id); break;
        case 0x20: served = ReadSubMeters07(id); break;
        default: break;
        }
        break;
    case 5:
        BuildErrorReply(0xD1, 1);
        return;
    case 6:
        if (id[3] == 0x00)
            served = ReadEnergy07(id, ReplyData07Ptr());
        else if (id[3] == 0x03)
            served = ReadEvents07(id, request);
        else {
            BuildErrorReply(0xD1, 1);
            return;
        }
        break;
    case 10:
        if (id[3] == 0x00)
            served = ReadLoadRecords07(id, request);
        break;
    default:
        // Reads of other lengths are not answered at all.
        return;
    }
    if (!served)
        BuildErrorReply(0xD1, 2);
}

void TZbSxMeter::ReadFollowUp07()
{
    const std::uint8_t id[4] = {TxFrame[10], TxFrame[11], TxFrame[12], TxFrame[13]};
    Texts.Command = "读后续" + IdText(id);
    if (!FollowUpActive) {
        Texts.Command = "无后续" + IdText(id);
        BuildErrorReply(0xD2, 2);
        return;
    }
    if (!std::equal(id, id + 4, FollowUpId)) {
        Texts.Command = IdText(id) + "不符";
        BuildErrorReply(0xD2, 2);
        return;
    }
    // The frame sequence number follows the identifier: without it there is nothing to match.
    if (RequestL() < 5) {
        BuildErrorReply(0xD2, 1);
        return;
    }
    if (RequestData()[RequestL() - 1] != static_cast<std::uint8_t>(FollowUpSeq + 1)) {
        Texts.Command = "无后续" + IdText(id);
        BuildErrorReply(0xD2, 2);
        return;
    }
    ++FollowUpSeq;
    const bool last = FollowUpSeq >= FollowUpLast;
    if (!BuildFollowUpFrame07(*this, id, last)) {
        BuildErrorReply(0xD2, 2);
        return;
    }
    // The sequence ends once the announced frames are served.
    if (last)
        FollowUpActive = false;
}

void TZbSxMeter::Write07()
{
    const std::uint8_t id[4] = {TxFrame[10], TxFrame[11], TxFrame[12], TxFrame[13]};
    Texts.Command = "写" + IdText(id);
    // Identifier, privilege byte, password at data 5..7.
    if (RequestL() < 8) {
        BuildErrorReply(0xD4, 1);
        return;
    }
    if (PasswordDiffers(RequestData() + 5)) {
        Texts.Command = "密码错误";
        BuildErrorReply(0xD4, 4);
        return;
    }
    // The parameter data follows the 4-byte operator code (data 12 onward).
    if (id[3] != 0x04 || !WriteParameter07(id, RequestData() + 12))
        BuildErrorReply(0xD4, 2);
}

void TZbSxMeter::ChangePassword07()
{
    Texts.Command = "修改密码";
    const std::uint8_t* id = TxFrame + 10;
    const bool passwordId = id[3] == 0x04 && id[2] == 0x00 && id[1] == 0x0C && id[0] >= 1 && id[0] <= 10;
    if (!passwordId)
        return;  // not a password identifier: no answer at all
    if (RequestL() != 12) {
        BuildErrorReply(0xD8, 1);
        return;
    }
    const std::uint8_t* d = RequestData();
    if (!ProgramEnable && PasswordDiffers(d + 5)) {
        BuildErrorReply(0xD8, 4);
        return;
    }
    // Data 8 is the new privilege byte, data 9..11 the new password.
    CopyBytes(Password, d + 9, 3);
    CopyBytes(TxFrame + 10, d + 8, 4);
    BuildReply(0x98, 4);
    NotifyOwner(2);
}

void TZbSxMeter::ClearCommand07(std::uint8_t c)
{
    const char* text = c == 0x19 ? "最大需量清零 " : c == 0x1A ? "电表清零 " : "事件清零 ";
    Texts.Command = text;
    if (!CheckRequest07(c == 0x1B ? 12 : 8, RequestData() + 1, true))
        return;
    if (!ProgramEnable) {
        SetStatus(msNotProgramEnabled);
        return;
    }
    if (c == 0x1A) {
        SetTotalEnergy("0");
        // Every 2007 energy register goes back to zero, the tariffs and the settlement days too.
        for (TEnergy07Copy& copy : Energy07Store)
            copy = TEnergy07Copy{};
    }
    BuildReply(static_cast<std::uint8_t>(c + 0x80), 0);
}

void TZbSxMeter::RemoteControl07()
{
    // Privilege byte, password at data 1..3, operator code, control word at data 8.
    if (RequestL() < 9) {
        Texts.Command = "命令错误";
        BuildErrorReply(0xDC, 1);
        return;
    }
    const std::uint8_t* d = RequestData();
    if (PasswordDiffers(d + 1)) {
        Texts.Command = "密码错误";
        BuildErrorReply(0xDC, 4);
        return;
    }
    const char* text = nullptr;
    switch (d[8]) {
    case 0x1A:
        text = "跳闸";
        Status97 |= 0x08;
        RelayStatus |= 0x01;
        break;
    case 0x1B:
        text = "合闸允许";
        Status97 &= static_cast<std::uint8_t>(~0x08);
        RelayStatus &= static_cast<std::uint8_t>(~0x01);
        break;
    case 0x2A: text = "报警"; break;
    case 0x2B: text = "报警解除"; break;
    case 0x3A: text = "保电"; break;
    case 0x3B: text = "保电解除"; break;
    default:
        Texts.Command = "命令错误";
        BuildErrorReply(0xDC, 1);
        return;
    }
    Texts.Command = text;
    BuildReply(0x9C, 0);
}
