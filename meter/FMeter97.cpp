// The 1997-shaped command set: DL/T 645-1997 (protocol 0), "BNC规约" (3) and "上海规约" (2).
//
// The three share one dispatch. Requests of protocols 0 and 3 have bit 7 of the control code
// clear and reach the codes below 0x80; "上海规约" requests have it set and reach the codes from
// 0x80 up, so no handler needs to ask which of the three is in force. The read identifiers of
// the L = 2 reads are in FMeter97Read.cpp.
//
// Every command that takes data from the request checks first that the request carries them
// (L reaches the last position it reads; longer requests are taken as they are). A short or
// malformed request gets the command's error reply with error byte 1; a broadcast, which gets
// no error reply, ends with status 5.
#include <algorithm>
#include <cstdio>

#include "meter/FFunct.h"
#include "meter/FMeter.h"
#include "meter/FMeter97Reply.h"
#include "meter/FRtc.h"

namespace {


std::string IdText(std::uint8_t di1, std::uint8_t di0)
{
    return FormatText("%02X%02X ", di1, di0);
}

bool IsBcdIn(std::uint8_t b, int low, int high)
{
    if ((b & 0x0F) > 9 || (b >> 4) > 9)
        return false;
    const int v = BcdToByte(b);
    return v >= low && v <= high;
}

// Second, minute, hour (BCD).
bool ValidTime(const std::uint8_t* smh)
{
    return IsBcdIn(smh[0], 0, 59) && IsBcdIn(smh[1], 0, 59) && IsBcdIn(smh[2], 0, 23);
}

// Day, month, two-digit year (BCD).
bool ValidDate(std::uint8_t day, std::uint8_t month, std::uint8_t year)
{
    if (!IsBcdIn(month, 1, 12) || !IsBcdIn(year, 0, 99))
        return false;
    return IsBcdIn(day, 1, DaysInMonth(BcdToByte(month), BcdToByte(year)));
}

// The fixed part of the "前3个月电量" records, one and two and three months back.
const std::uint8_t kMonthRecordTails[3][12] = {
    {0x37, 0x10, 0x02, 0x00, 0x15, 0x02, 0x01, 0x00, 0x17, 0x88, 0x00, 0x00},
    {0x37, 0x21, 0x02, 0x00, 0x19, 0x09, 0x01, 0x00, 0x17, 0x94, 0x00, 0x00},
    {0x13, 0x01, 0x02, 0x00, 0x05, 0x01, 0x01, 0x00, 0x17, 0x78, 0x00, 0x00},
};

// Three 17-byte records of the three months before the clock's month.
void PutMonthRecords(const TZbSxMeter& m, TReply97& r)
{
    const int month = std::clamp<int>(BcdToByte(m.Clock[5]), 1, 12);
    const int year = BcdToByte(m.Clock[6]) % 100;
    for (int k = 1; k <= 3; ++k) {
        int back = month - k;
        int y = year;
        if (back < 1) {
            back += 12;
            y = (y + 99) % 100;
        }
        const std::uint8_t head[5] = {0x10, 0x01, 0x01, ByteToBcd(static_cast<std::uint8_t>(back)),
                                      ByteToBcd(static_cast<std::uint8_t>(y))};
        r.Hex(head, 5).Hex(kMonthRecordTails[k - 1], 12);
    }
}

// The new meter address of a set-address command: the reply is already built.
void AdoptAddress(TZbSxMeter& m, const std::uint8_t* address)
{
    CopyBytes(m.MeterAddr, address, 6);
    m.AddrText = TZbSxMeter::AddressToText(m.MeterAddr);
    m.AddrTextChanged = true;
}

// "上海规约" requests (control codes from 0x80 up); false for a code that is not one of them.
bool DispatchShanghai(TZbSxMeter& m)
{
    const int l = m.RequestL();
    const std::uint8_t* d = m.RequestData();
    TReply97 r(m, 0);
    switch (m.RequestC()) {
    case 0x93:
        m.Texts.Command = "读时钟";
        r.Hex(m.Clock, 3).Describe(FormatText("%02X时%02X分%02X秒", m.Clock[2], m.Clock[1], m.Clock[0]));
        m.Texts.Data = r.DataText();
        m.BuildReply(0x13, r.L());
        return true;
    case 0x97: {
        m.Texts.Command = "读日期";
        const std::uint8_t date[3] = {m.Clock[4], m.Clock[5], m.Clock[6]};
        r.Hex(m.Clock, 3).Hex(date, 3);
        m.Texts.Data = FormatText("%02X年%02X月%02X日%02X时%02X分%02X秒", m.Clock[6], m.Clock[5],
                              m.Clock[4], m.Clock[2], m.Clock[1], m.Clock[0]);
        m.BuildReply(0x17, r.L());
        return true;
    }
    case 0x99:
        m.Texts.Command = "读当前累计平谷电量";
        r.Energy(m.Registers97[1], 2);
        m.Texts.Data = r.DataText();
        m.BuildReply(0x19, r.L());
        return true;
    case 0x9C:
        m.Texts.Command = "读当前总平谷电量";
        r.Energy(m.Registers97[0], 3);
        m.Texts.Data = r.DataText();
        m.BuildReply(0x1C, r.L());
        return true;
    case 0xA4:
        m.Texts.Command = "读常数";
        r.Hex(m.MeterConst, 3).Hex({0x00});
        m.Texts.Data = r.DataText();
        m.BuildReply(0x24, r.L());
        return true;
    case 0xB7:
        m.Texts.Command = "前3个月电量";
        PutMonthRecords(m, r);
        m.Texts.Data = r.DataText();
        m.BuildReply(0x37, r.L());
        return true;
    case 0xD3:
        m.Texts.Command = "写时钟";
        if (l < 6) {
            m.BuildErrorReply(0xC4, 1);
        } else if (m.PasswordDiffers(d)) {
            // This error reply goes out: the status stays 0.
            m.Texts.Command += "密码不符";
            m.BuildErrorReply(0xC4, 4);
        } else if (!ValidTime(d + 3)) {
            m.BuildErrorReply(0xC4, 1);
        } else {
            CopyBytes(m.Clock, d + 3, 3);
            m.UpdateTariff();
            m.BuildReply(0x53, 0);
        }
        return true;
    case 0xD7:
        m.Texts.Command = "写日期";
        if (l < 9) {
            m.BuildErrorReply(0xC4, 1);
        } else if (m.PasswordDiffers(d)) {
            m.Texts.Command += "密码不符";
            m.SetStatus(msPasswordWrong);
            m.BuildErrorReply(0xC4, 4);
        } else if (!ValidTime(d + 3) || !ValidDate(d[6], d[7], d[8])) {
            m.BuildErrorReply(0xC4, 1);
        } else {
            // The weekday is left as it stands.
            CopyBytes(m.Clock, d + 3, 3);
            CopyBytes(m.Clock + 4, d + 6, 3);
            m.UpdateTariff();
            m.BuildReply(0x57, 0);
        }
        return true;
    default:
        return false;
    }
}

}  // namespace

// ---- Broadcast ------------------------------------------------------------------------------

bool TZbSxMeter::Dispatch97Broadcast()
{
    const int l = RequestL();
    const std::uint8_t* d = RequestData();
    switch (RequestC()) {
    case 0x01:
        // Only the meter-number read C032 is answered; other broadcast reads are dropped.
        Texts.Command = "读表号 ";
        if (l != 2 || d[0] != 0x32 || d[1] != 0xC0)
            return true;
        if (!AnswerBroadcastRead) {
            Texts.Command += "自定义不响应 ";
            return true;
        }
        AddressFromText();
        CopyBytes(TxFrame + 12, MeterAddr, 6);
        Texts.Data = FormatHexBytes(MeterAddr, 6);
        BuildReply(0x81, 8);
        return true;
    case 0x08:
        Texts.Command = "校时 ";
        if (l != 6 || !ValidTime(d) || !ValidDate(d[3], d[4], d[5])) {
            SetStatus(msFrameLength);
            return true;
        }
        SetClockFromFrame(d);
        UpdateTariff();
        return true;
    case 0x0A:
        Texts.Command = "设表号 ";
        if (l != 6) {
            SetStatus(msFrameLength);
        } else if (!ProgramEnable) {
            SetStatus(msNotProgramEnabled);
        } else {
            CopyBytes(MeterAddr, d, 6);
            BuildReply(0x8A, 0);  // from the new address
            AdoptAddress(*this, d);
        }
        return true;
    case 0x1D:
        PowerLimit97(true);
        return true;
    case 0x94:
        Texts.Command = "读通信地址";
        AddressFromText();
        BuildReply(0x14, 0);
        return true;
    case 0xD4:
        Texts.Command = "写通信地址";
        if (l < 9) {
            SetStatus(msFrameLength);
        } else if (PasswordDiffers(d)) {
            Texts.Command += "密码不符";
            SetStatus(msPasswordWrong);
            BuildErrorReply(0xC4, 4);
        } else {
            CopyBytes(MeterAddr, d + 3, 6);
            BuildReply(0x54, 0);
            AdoptAddress(*this, d + 3);
        }
        return true;
    default:
        return false;
    }
}

// ---- Addressed requests ---------------------------------------------------------------------

void TZbSxMeter::Dispatch97()
{
    switch (RequestC()) {
    case 0x00: PassThroughRead97(); return;
    case 0x01: Read97(); return;
    case 0x02: ReadFollowUp97(); return;
    case 0x04: Write97(); return;
    case 0x08: DeviceTypeQuery97(); return;
    case 0x0F: ChangePassword97(); return;
    case 0x1D: PowerLimit97(false); return;
    default:
        if (!DispatchShanghai(*this))
            BuildErrorReply(0xC4, 2);
        return;
    }
}

void TZbSxMeter::HandleEventReport97(std::uint8_t c)
{
    if (c == 0xE1) {
        Texts.Command = "读取上报事件";
        if (!EventReportEnabled) {
            SetStatus(msDataError);
            BuildErrorReply(0xE2, 1);
            return;
        }
        RequestFlag = true;
        CopyBytes(MeterAddr, RxFrame + 1, 6);
        CopyBytes(TxFrame + 10, DataEventRep.Data, DataEventRep.Len);
        Texts.Data = FormatHexBytes(DataEventRep.Data, DataEventRep.Len);
        BuildReply(0xE1, DataEventRep.Len);
        return;
    }
    Texts.Command = "事件显示";
    RequestFlag = true;
    CopyBytes(MeterAddr, RxFrame + 1, 6);
    // The reply repeats the request's two data bytes; a request without them has no answer.
    if (RequestL() < 2) {
        SetStatus(msFrameLength);
        return;
    }
    CopyBytes(TxFrame + 10, RequestData(), 2);
    BuildReply(0xF1, 2);
}

// ---- Reads ----------------------------------------------------------------------------------

void TZbSxMeter::Read97()
{
    FollowUpActive = false;
    const std::uint8_t di0 = TxFrame[10];
    const std::uint8_t di1 = TxFrame[11];
    const std::string id = IdText(di1, di0);
    Texts.Command = "读" + id;
    if (DetailTexts) {
        FindDataIdName(id);
        Texts.IdName = DataIdName;
        Texts.Time = ClockText();
    }

    const int l = RequestL();
    const std::uint8_t* d = RequestData();
    if (l < 2) {
        BuildErrorReply(0xC1, 1);  // not even an identifier
        return;
    }
    if (l == 2) {
        if (!ReadIdentifier97(di1, di0))
            LongFrameTest97();
        return;
    }
    TReply97 r(*this);
    if (l == 3 && di1 == 0xC0) {
        // Two box-open records from the number the request gives, then relay bytes.
        if (di0 < 0x37 || di0 > 0x39) {
            BuildErrorReply(0xC1, 1);
            return;
        }
        r.Hex(GetBoxOpenRecord(d[2]), 8).Hex(GetBoxOpenRecord(d[2] + 1), 8);
        if (di0 != 0x37)
            r.Hex(&RelayStatus, 1);
        if (di0 == 0x38)
            r.Hex(&RelayStatus2, 1);
    } else if (l == 4 && di1 == 0xE8) {
        if (di0 != 0x30 && di0 != 0x31 && di0 != 0x35 && di0 != 0x36) {
            BuildErrorReply(0xC1, 1);
            return;
        }
        r.Hex(d + 2, 2).Zeros(di0 == 0x30 ? 15 : 6);
        if (di0 == 0x30 || di0 == 0x35 || di0 == 0x36)
            r.Hex(&RelayStatus, 1);
        if (di0 == 0x30 || di0 == 0x35)
            r.Hex(&RelayStatus2, 1);
    } else {
        LongFrameTest97();
        return;
    }
    Texts.Data = r.DataText();
    BuildReply(0x81, r.L());
}

void TZbSxMeter::LongFrameTest97()
{
    const int l = RequestL();
    const std::uint8_t* d = RequestData();
    const std::uint8_t di0 = TxFrame[10];
    const std::uint8_t di1 = TxFrame[11];
    // The identifiers stand as the operator typed them: DI1 first.
    auto is = [&](const std::uint8_t* id) { return id && id[0] == di1 && id[1] == di0; };

    if (is(LongFrameSetId)) {
        LongFrameLen = std::max(l - 2, 0);
        LongFrameStored = LongFrameLen > 0;
        CopyBytes(LongFrameData, d + 2, LongFrameLen);
        Texts.Data = FormatHexBytes(LongFrameData, LongFrameLen);
        BuildReply(0x81, 2);
        return;
    }
    if (is(LongFrameReadId)) {
        // The last byte of the request asks for that many of the stored bytes, the last ones.
        const int stored = std::clamp<int>(LongFrameLen, 0, static_cast<int>(sizeof LongFrameData));
        const int n = LongFrameStored && l > 2 ? std::min<int>(d[l - 1], stored) : 0;
        CopyBytes(TxFrame + 12, LongFrameData + stored - n, n);
        Texts.Data = FormatHexBytes(TxFrame + 12, n);
        BuildReply(0x81, n + 2);
        return;
    }
    BuildErrorReply(0xC1, l == 3 && di1 != 0xC0 ? 2 : 1);
}

void TZbSxMeter::ReadFollowUp97()
{
    if (!FollowUpActive)
        return;
    const std::uint8_t di0 = TxFrame[10];
    const std::uint8_t di1 = TxFrame[11];
    const std::string id = IdText(di1, di0);
    Texts.Command = "读后续" + id;
    FindDataIdName(id);
    Texts.IdName = DataIdName;
    Texts.Time = ClockText();

    // Two schedule entries a frame: entries 2 to 7 after the two of the first reply.
    const int last = std::min<int>(FollowUpLast, 5);
    const bool same = RequestL() >= 2 && di0 == FollowUpId[0] && di1 == FollowUpId[1];
    if (!same || FollowUpSeq >= last) {
        BuildErrorReply(0xC2, 2);
        return;
    }
    ++FollowUpSeq;
    TReply97 r(*this);
    r.Hex(TariffSchedule[2 * FollowUpSeq], 6);
    Texts.Data = r.DataText();
    BuildReply(FollowUpSeq < last ? 0xA2 : 0x82, r.L());
}

void TZbSxMeter::PassThroughRead97()
{
    const int l = RequestL();
    const std::uint8_t* d = RequestData();
    Texts.Command = "透传命令";
    if (l < 2) {
        BuildErrorReply(0xC4, 1);
        return;
    }
    // Data 1 (where a read has DI1) names the kind of meter behind this one.
    const std::uint8_t type = d[1];
    Texts.Command += type == 0xDD ? "抄读水表" : type == 0xED ? "抄读热水表"
                   : type == 0xFD ? "抄读燃气表" : "抄读热量表";

    // The answer of the meter behind, as it stands on its own line, wrapped in a frame of ours.
    std::uint8_t inner[22] = {0x68, static_cast<std::uint8_t>(type + 0x33)};
    CopyBytes(inner + 2, MeterAddr, 6);
    const std::uint8_t middle[6] = {0x00, 0x81, 0x09, 0x90, 0x1F, 0x00};
    CopyBytes(inner + 8, middle, 6);
    CopyBytes(inner + 14, Registers97[0], 4);
    inner[18] = 0x00;
    inner[19] = 0xFF;
    inner[20] = ByteSum(inner, 20);
    inner[21] = 0x16;

    TxFrame[0] = 0x68;
    CopyBytes(TxFrame + 1, MeterAddr, 6);
    TxFrame[7] = 0x68;
    TxFrame[8] = 0x80;
    TxFrame[9] = sizeof inner;
    CopyBytes(TxFrame + 10, inner, sizeof inner);
    TxFrame[32] = ByteSum(TxFrame, 32);
    TxFrame[33] = 0x16;
    TxLength = 34;
    SendLength = TxLength;
    Texts.Data = FormatHexBytes(inner, sizeof inner);
}

// ---- Writes ---------------------------------------------------------------------------------

namespace {

// The writes of C0xx: date, time, relay, addresses and the trip sequence.
void WriteC0(TZbSxMeter& m, std::uint8_t di0)
{
    const int l = m.RequestL();
    const std::uint8_t* d = m.RequestData();
    auto relay = [&m](bool open) {
        m.Status97 = static_cast<std::uint8_t>(open ? m.Status97 | 0x40 : m.Status97 & ~0x40);
        m.RelayStatus = static_cast<std::uint8_t>(open ? m.RelayStatus | 0x01 : m.RelayStatus & ~0x01);
    };
    switch (di0) {
    case 0x10:
        if (l < 6 || !ValidDate(d[2], d[3], d[4]) || d[5] > 6) {
            m.BuildErrorReply(0xC4, 1);
            return;
        }
        m.Clock[4] = d[2];
        m.Clock[5] = d[3];
        m.Clock[6] = d[4];
        m.Clock[3] = d[5];
        m.UpdateTariff();
        break;
    case 0x11:
        if (l < 5 || !ValidTime(d + 2)) {
            m.BuildErrorReply(0xC4, 1);
            return;
        }
        CopyBytes(m.Clock, d + 2, 3);
        m.UpdateTariff();
        break;
    case 0x28:
        if (l < 8) {
            m.BuildErrorReply(0xC4, 1);
            return;
        }
        if (d[6] == 0x55 && d[7] == 0x33) {
            m.Texts.Command += "拉闸成功";
            relay(true);
        } else if (d[6] == 0x66 && d[7] == 0x99) {
            m.Texts.Command += "合闸成功";
            relay(false);
        } else {
            m.Texts.Command += "无符合操作";
            m.BuildErrorReply(0xC4, 2);
            return;
        }
        break;
    case 0x32:
    case 0x33:
        if (l < 8) {
            m.BuildErrorReply(0xC4, 1);
            return;
        }
        m.BuildReply(0x84, 0);  // from the old address
        AdoptAddress(m, d + 2);
        return;
    case 0x39: break;
    case 0x3A: m.TripPending = 1; break;
    case 0x3B: m.TripPending = 0; break;
    case 0x3C:
        if (m.TripPending != 1) {
            m.BuildErrorReply(0xC4, 1);
            return;
        }
        m.TripPending = 0;
        m.TripState = 1;
        relay(true);
        break;
    case 0x3D:
        m.TripPending = 0;
        m.TripState = 0;
        relay(false);
        break;
    default:
        m.BuildErrorReply(0xC4, 2);
        return;
    }
    m.BuildReply(0x84, 0);
}

// Identifiers whose write is taken without changing anything.
bool AcceptedWithoutEffect(std::uint8_t di1, std::uint8_t di0)
{
    switch (di1) {
    case 0xB6: return di0 == 0x34;
    case 0xC1: return di0 == 0x13 || di0 == 0x17;
    case 0xC2: return di0 == 0x10;
    case 0xC3: return di0 == 0x15 || di0 == 0x3F || di0 == 0x4F || di0 == 0x5F;
    case 0xC7: return di0 == 0x11 || di0 == 0x13;
    default: return false;
    }
}

}  // namespace

void TZbSxMeter::Write97()
{
    const int l = RequestL();
    const std::uint8_t di0 = TxFrame[10];
    const std::uint8_t di1 = TxFrame[11];
    Texts.Command = "写" + IdText(di1, di0);
    if (l < 2) {
        BuildErrorReply(0xC4, 1);
        return;
    }
    if (di1 == 0xC0) {
        WriteC0(*this, di0);
    } else if (di1 == 0xC1 && di0 == 0x19) {
        // Initial energy: every register that derives from the total follows it.
        if (l != 10) {
            BuildErrorReply(0xC4, 1);
            return;
        }
        LoadEnergy(RequestData() + 6);
        BuildReply(0x84, 0);
    } else if (AcceptedWithoutEffect(di1, di0)) {
        BuildReply(0x84, 0);
    } else {
        BuildErrorReply(0xC4, 2);
    }
}

// ---- Other commands -------------------------------------------------------------------------

void TZbSxMeter::DeviceTypeQuery97()
{
    AddressFromText();
    Texts.Command = "读取设备类型：";
    const std::uint8_t* d = RequestData();
    if (RequestL() != 4 || !std::all_of(d, d + 4, [](std::uint8_t b) { return b == 0xBB; })) {
        BuildErrorReply(0xC8, 1);
        return;
    }
    switch (MeterKind) {
    case mkCarrierMeter: Texts.Command += "载波表"; break;
    case mkCollector: Texts.Command += "采集器"; break;
    case mkBoxMonitor: Texts.Command += "开箱监视器"; break;
    default: Texts.Command += "无响应"; return;
    }
    FillBytes(TxFrame + 10, 0xBB, 4);
    TxFrame[14] = static_cast<std::uint8_t>(MeterKind * 2);
    BuildReply(0x88, 5);
}

void TZbSxMeter::ChangePassword97()
{
    Texts.Command = "修改密码";
    const std::uint8_t* d = RequestData();
    if (RequestL() != 8) {
        BuildErrorReply(0xC4, 1);
        return;
    }
    // Old privilege byte and password in data 0 to 3, the new ones in data 4 to 7.
    if (!ProgramEnable && PasswordDiffers(d + 1)) {
        SetStatus(msPasswordWrong);
        BuildErrorReply(0xC4, 4);
        return;
    }
    CopyBytes(Password, d + 5, 3);
    CopyBytes(TxFrame + 10, d + 4, 4);
    BuildReply(0x8F, 4);
}

void TZbSxMeter::PowerLimit97(bool broadcast)
{
    Texts.Command = "限电";
    const std::uint8_t* d = RequestData();
    if (RequestL() < 8) {
        if (broadcast)
            SetStatus(msFrameLength);
        else
            BuildErrorReply(0xCD, 1);
        return;
    }
    const int value = d[7] * 256 + d[6];
    if (value > 0x3FFF) {
        Texts.Command += broadcast ? "失败，未超出限制" : "失败，用电未超出限制";
        if (!broadcast)
            BuildErrorReply(0xCD, 1);
        return;
    }
    Texts.Command += "成功";
    if (!broadcast)
        BuildReply(0x9D, 0);
}
