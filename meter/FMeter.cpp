// Construction, accessors, the frame engine and reply building of the simulated meter.
#include "meter/FMeter.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

#include "meter/FFunct.h"
#include "meter/FRtc.h"

namespace {

const char* const kStatusTexts[] = {
    "通信成功 ", "帧首字节错", "帧尾字节错", "帧类型错", "帧校验错", "帧长度", "非编程使能",
    "密码错",    "数据错",     "无此数据标识", "非本地址", "命令不支持", "状态不正确,断电不执行",
};

// Default day schedule: tariffs 1, 2, 3, 4 in turn, every two hours from 00:00.
const std::uint8_t kDefaultSchedule[12][3] = {
    {1, 0x00, 0x00}, {2, 0x00, 0x02}, {3, 0x00, 0x04}, {4, 0x00, 0x06},
    {1, 0x00, 0x08}, {2, 0x00, 0x10}, {3, 0x00, 0x12}, {4, 0x00, 0x14},
    {1, 0x00, 0x16}, {2, 0x00, 0x18}, {3, 0x00, 0x20}, {4, 0x00, 0x22},
};

// The event-report frame sent when no operator frame is chosen.
const std::uint8_t kFixedReportFrame[17] = {0xFE, 0xFE, 0xFE, 0xFE, 0x68, 0xDE, 0xDE, 0xDE, 0xDE,
                                            0xDE, 0xDE, 0x68, 0x00, 0x01, 0xFF, 0x04, 0x16};


void SetAddressLabel(std::string& text, const std::uint8_t* a)
{
    text.clear();
    AppendFormat(text, "表号:%02x%02x%02x%02x%02x%02x ", a[5], a[4], a[3], a[2], a[1], a[0]);
}

}  // namespace

const char* MeterStatusText(int code)
{
    return code >= 0 && code <= 12 ? kStatusTexts[code] : "";
}

TMeterTime PcLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

// ---- Construction ---------------------------------------------------------------------------

TZbSxMeter::TZbSxMeter(TTimeSource timeSource)
    : TimeSource(timeSource ? std::move(timeSource) : TTimeSource(PcLocalTime))
{
    TxFrame = OwnTxBuffer;
    RxFrame = OwnRxBuffer;
    LongFrameSetId = OwnLongFrameIds[0];
    LongFrameReadId = OwnLongFrameIds[1];

    AcInput = std::make_unique<THdlAcInput>();
    DataIdLoadFailed = !LoadDataIdList();

    InitialiseClock(TimeSource());

    for (int i = 0; i < 12; ++i)
        CopyBytes(TariffSchedule[i], kDefaultSchedule[i], 3);
    UpdateTariff();

    for (EventRepFrame* f : {&DataEventRep, &ControlEventRep, &CancelEventRep, &FinishedEventRep}) {
        f->Len = 11;
        f->Data[0] = 0xAA;
    }
    BindDataPointers();
}

TZbSxMeter::~TZbSxMeter() = default;

void TZbSxMeter::InitialiseClock(const TMeterTime& now)
{
    auto bcd = [](int v) { return ByteToBcd(static_cast<std::uint8_t>(((v % 100) + 100) % 100)); };
    Clock[0] = bcd(now.Second);
    Clock[1] = bcd(now.Minute);
    Clock[2] = bcd(now.Hour);
    Clock[4] = bcd(now.Day);
    Clock[5] = bcd(now.Month);
    Clock[6] = bcd(now.Year - 2000);
    Clock[3] = WeekdayOf(Clock[4], Clock[5], Clock[6]);
}

void TZbSxMeter::BindDataPointers()
{
    TEnergy07Copy& copy = Energy07Store[0];
    for (int k = 0; k < 11; ++k)
        Energy07Index[k] = copy.Energy07[k][0];
    for (int p = 0; p < 3; ++p)
        for (int k = 0; k < 10; ++k)
            PhaseEnergy07Index[p][k] = copy.PhaseEnergy07[k][p];
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 7; ++k)
            ExtEnergy07Index[c][k] = copy.ExtEnergy07[k][c];
}

// ---- Accessors ------------------------------------------------------------------------------

void TZbSxMeter::SetTxBuffer(std::uint8_t* buffer)
{
    TxFrame = buffer ? buffer : OwnTxBuffer;
}

void TZbSxMeter::SetFrameBuffer(std::uint8_t* buffer)
{
    RxFrame = buffer ? buffer : OwnRxBuffer;
}

void TZbSxMeter::SetLongFrameIds(std::uint8_t* setId, std::uint8_t* readId)
{
    LongFrameSetId = setId ? setId : OwnLongFrameIds[0];
    LongFrameReadId = readId ? readId : OwnLongFrameIds[1];
}

bool TZbSxMeter::PasswordDiffers(const std::uint8_t* password) const
{
    return !std::equal(Password, Password + 3, password);
}

std::uint8_t* TZbSxMeter::GetVoltage(int phase)
{
    return Voltage[phase >= 0 && phase < 3 ? phase : 0];
}

std::uint8_t* TZbSxMeter::GetCurrent(int phase)
{
    return Current[phase >= 0 && phase < 3 ? phase : 0];
}

std::uint8_t* TZbSxMeter::GetPowerFactor(int index)
{
    return PowerFactor[index >= 0 && index < 4 ? index : 0];
}

std::uint8_t* TZbSxMeter::GetPhaseAngle(int phase)
{
    return PhaseAngle[phase >= 0 && phase < 3 ? phase : 0];
}

std::uint8_t TZbSxMeter::SumPhaseLossCounts() const
{
    return static_cast<std::uint8_t>(PhaseLossCounts[0] + PhaseLossCounts[1] + PhaseLossCounts[2]);
}

std::uint8_t* TZbSxMeter::GetTimeRecordA(int n)
{
    return TimeRecordsA[((n + TimeRecordsAPos - 1) & 0xFF) % 9];
}

std::uint8_t* TZbSxMeter::GetTimeRecordB(int n)
{
    return TimeRecordsB[((n + TimeRecordsBPos - 1) & 0xFF) % 9];
}

std::uint8_t* TZbSxMeter::GetBoxOpenRecord(int n)
{
    return BoxOpenRecords[((n % 50) + 50) % 50];
}

std::uint8_t* TZbSxMeter::GetHourTableAt(bool second)
{
    return HourEnergy[second ? 1 : 0][0];
}

std::uint8_t* TZbSxMeter::GetHourTable(bool readTable)
{
    const int table = readTable ? HourTableSelector % 2 : (HourTableSelector + 1) % 2;
    return HourEnergy[table][0];
}

std::uint8_t* TZbSxMeter::GetEnergy07(int r)
{
    // 64 registers per kind: the total and tariffs 1..63.
    if (r < 0 || r > 63)
        r = 0;
    return Energy07Index[1] + 4 * r;
}

std::uint8_t* TZbSxMeter::GetTariffEnergy07()
{
    return GetEnergy07(CurrentTariff);
}

void TZbSxMeter::NotifyOwner(int event)
{
    if (OnNotify)
        OnNotify(event);
}

void TZbSxMeter::AddressFromText()
{
    std::uint8_t address[6] = {};
    ParseHexText(PadLeftZeros(AddrText, 12), address, 6);
    CopyBytes(MeterAddr, address, 6);
}

std::string TZbSxMeter::AddressToText(const std::uint8_t* address)
{
    return BytesToHexReversed(address, 6);
}

std::string TZbSxMeter::ClockText() const
{
    return FormatText("%02X-%02X-%02X %02X:%02X:%02X", Clock[6], Clock[5], Clock[4], Clock[2], Clock[1],
                  Clock[0]);
}

void TZbSxMeter::SetClockFromFrame(const std::uint8_t* smhdmy)
{
    Clock[0] = smhdmy[0];
    Clock[1] = smhdmy[1];
    Clock[2] = smhdmy[2];
    Clock[4] = smhdmy[3];
    Clock[5] = smhdmy[4];
    Clock[6] = smhdmy[5];
    Clock[3] = WeekdayOf(Clock[4], Clock[5], Clock[6]);
}

// ---- Status ---------------------------------------------------------------------------------

void TZbSxMeter::SetStatus(int code)
{
    StatusCode = static_cast<std::uint8_t>(code);
    if (code >= 0 && code <= 12)
        Texts.Status = kStatusTexts[code];
}

// ---- Frame engine ---------------------------------------------------------------------------

bool TZbSxMeter::IsBroadcastAddress() const
{
    return std::all_of(RxFrame + 1, RxFrame + 7, [](std::uint8_t b) { return b == 0x99; });
}

// Start bytes, length and checksum. Sets RequestFlag once the start bytes are good.
bool TZbSxMeter::CheckFrame(int length)
{
    if (length < 12 || length > kFrameBufferSize) {
        SetStatus(msFrameLength);
        return false;
    }
    if (RxFrame[0] != 0x68 || RxFrame[7] != 0x68) {
        SetStatus(msFrameStart);
        return false;
    }
    const bool bit7 = (RxFrame[8] & 0x80) != 0;
    RequestFlag = Protocol == mpShanghai ? bit7 : !bit7;
    // The data length byte must describe exactly the frame handed in: nothing past it is read.
    if (RxFrame[9] + 12 != length) {
        SetStatus(msFrameLength);
        return false;
    }
    if (ByteSum(RxFrame, length - 2) != RxFrame[length - 2]) {
        SetStatus(msChecksum);
        return false;
    }
    return true;
}

void TZbSxMeter::DetectProtocol()
{
    if (ProtocolLocked || (Protocol != mpDlt645_1997 && Protocol != mpDlt645_2007))
        return;
    const std::uint8_t c = RxFrame[8];
    if (c & 0x10) {
        // 0x1D (power limit) and 0x10 exist in the 1997 set as well.
        if ((c & 0x0F) != 0 && c != 0x1D && c != 0x10)
            Protocol = mpDlt645_2007;
    } else if (!(c == 0x08 && RxFrame[9] != 4)) {
        // The broadcast time command is the same in both editions; only the device-type query
        // (0x08 with four data bytes) is 1997 alone.
        Protocol = mpDlt645_1997;
    }
}

void TZbSxMeter::ProcessFrame(int length)
{
    TxLength = 0;
    SendLength = 0;
    Texts.Clear();
    SetStatus(msOk);
    if (!CheckFrame(length))
        return;

    const int l = RxFrame[9];
    AddToBytes(RxFrame + 10, 0xCD, l);
    DetectProtocol();

    // The identifier stands in front of every reply's data; a frame with fewer data bytes than
    // an identifier leaves the missing bytes zero.
    const int idLength = Protocol == mpDlt645_2007 ? 4 : 2;
    FillBytes(TxFrame + 10, 0, 4);
    CopyBytes(TxFrame + 10, RxFrame + 10, std::min(l, idLength));

    const std::uint8_t c = RxFrame[8];
    bool request;
    if (Protocol == mpDlt645_2007) {
        request = (c & 0x80) == 0;
        if (request)
            RxFrame[8] = c & 0x3F;
    } else {
        request = Protocol == mpShanghai ? (c & 0x80) != 0 : (c & 0x80) == 0;
    }
    if (!request) {
        ListenBranch();
        return;
    }

    if (IsBroadcastAddress()) {
        Texts.Address = "广播命令 ";
        const bool handled = Protocol == mpDlt645_2007 ? Dispatch07Broadcast() : Dispatch97Broadcast();
        if (handled)
            return;
    }

    CopyBytes(MeterAddr, RxFrame + 1, 6);
    if (!OnCheckAddress) {
        SetStatus(msNotThisAddress);
        return;
    }
    OnCheckAddress();
    if (StatusCode == msNotThisAddress)
        return;
    // The address filter may have rewritten the frame's address.
    CopyBytes(MeterAddr, RxFrame + 1, 6);
    SetAddressLabel(Texts.Address, MeterAddr);

    if (Protocol == mpDlt645_2007)
        Dispatch07();
    else
        Dispatch97();
}

void TZbSxMeter::ListenBranch()
{
    if (ListenTargetOnly && !std::equal(RxFrame + 1, RxFrame + 7, TargetAddr)) {
        SetStatus(msNotThisAddress);
        return;
    }
    SetAddressLabel(Texts.Address, RxFrame + 1);
    if (Protocol == mpDlt645_2007)
        ListenTexts07();
    else
        ListenTexts97();
}

void TZbSxMeter::ListenTexts97()
{
    const std::uint8_t c = RxFrame[8];
    const int l = RxFrame[9];
    const std::uint8_t* d = RxFrame + 10;
    const std::uint8_t* id = TxFrame + 10;  // DI0, DI1, zero where the frame had none
    const std::string idText = FormatText("%02X%02X ", id[1], id[0]);
    switch (c) {
    case 0x81: {
        Texts.Command = "读" + idText;
        const bool energy = id[1] == 0x90 && (id[0] == 0x10 || id[0] == 0x1F) && l >= 6;
        Texts.Answer = energy ? FormatText("%02X%02X%02X.%02X kWh;", d[5], d[4], d[3], d[2]) : "正常应答";
        break;
    }
    case 0x84: Texts.Command = "写" + idText; Texts.Answer = "正常应答"; break;
    case 0x8F: Texts.Command = "写密码"; Texts.Answer = "正常应答"; break;
    case 0xC1: Texts.Command = "读" + idText; Texts.Answer = "异常应答"; break;
    case 0xC4: Texts.Command = "写" + idText; Texts.Answer = "异常应答"; break;
    case 0xE1:
    case 0xF1: HandleEventReport97(c); break;
    default: Texts.Answer = "响应成功"; break;
    }
}

void TZbSxMeter::ListenTexts07()
{
    const std::uint8_t c = RxFrame[8];
    const int l = RxFrame[9];
    const std::uint8_t* d = RxFrame + 10;
    const std::uint8_t* id = TxFrame + 10;  // DI0..DI3, zero where the frame had none
    const std::string idText = FormatText("%02X%02X%02X%02X ", id[3], id[2], id[1], id[0]);
    switch (c) {
    case 0x91: {
        Texts.Command = "读" + idText;
        const bool energy = id[3] == 0x00 && id[2] == 0x01 && id[1] == 0x00 && id[0] == 0x00 && l >= 8;
        Texts.Answer = energy ? FormatText("%02X%02X%02X.%02X kWh;", d[7], d[6], d[5], d[4]) : "正常应答";
        break;
    }
    case 0x94: Texts.Command = "写" + idText; Texts.Answer = "正常应答"; break;
    case 0x98: Texts.Command = "写密码"; Texts.Answer = "正常应答"; break;
    case 0xD1: Texts.Command = "读" + idText; Texts.Answer = "异常应答"; break;
    case 0xD4: Texts.Command = "写" + idText; Texts.Answer = "异常应答"; break;
    default: Texts.Answer = "响应成功"; break;
    }
}

// ---- Building frames ------------------------------------------------------------------------

int TZbSxMeter::BuildReply(std::uint8_t c, int l)
{
    l = std::max(l, 0);
    if (l + (AppendPhase ? 1 : 0) > kMaxFrameData) {
        // L is one byte on the line: answer with the read error rather than a cut frame.
        const std::uint8_t readError = Protocol == mpDlt645_2007 ? 0xD1 : 0xC1;
        return BuildErrorReply(readError, 1);
    }
    if (AppendPhase)
        TxFrame[10 + l++] = PhaseByte;
    AddToBytes(TxFrame + 10, 0x33, l);
    TxFrame[0] = 0x68;
    // A reply always carries the address of the meter answering.
    CopyBytes(TxFrame + 1, MeterAddr, 6);
    TxFrame[7] = 0x68;
    TxFrame[8] = c;
    TxFrame[9] = static_cast<std::uint8_t>(l);
    TxFrame[10 + l] = ByteSum(TxFrame, 10 + l);
    TxFrame[11 + l] = 0x16;
    int length = l + 12;
    if (FePreamble) {
        std::copy_backward(TxFrame, TxFrame + length, TxFrame + length + 4);
        FillBytes(TxFrame, 0xFE, 4);
        length += 4;
    }
    TxLength = static_cast<std::uint16_t>(length);
    SendLength = TxLength;
    return TxLength;
}

int TZbSxMeter::BuildErrorReply(std::uint8_t c, std::uint8_t errorByte)
{
    TxFrame[10] = errorByte;
    return BuildReply(c, 1);
}

bool TZbSxMeter::ReplyData07(int n)
{
    BuildReply(static_cast<std::uint8_t>(RequestC() + 0x80), n + 4);
    return true;
}

bool TZbSxMeter::ReplyFilled(std::uint16_t n, std::uint8_t value, bool appendAA)
{
    // More data than a frame can carry is answered by BuildReply's read error; nothing is
    // written past the data a frame can hold.
    const int count = std::min<int>(n, kMaxFrameData);
    std::uint8_t* data = ReplyData07Ptr();
    FillBytes(data, value, count);
    int total = n;
    if (appendAA) {
        if (count < kMaxFrameData)
            data[count] = 0xAA;
        ++total;
    }
    return ReplyData07(total);
}

bool TZbSxMeter::ReplyFilled32(int n)
{
    return ReplyFilled(static_cast<std::uint16_t>(std::clamp(n, 0, 0xFFFF)), 0x32, false);
}

int TZbSxMeter::BuildRawFrame(std::uint8_t c, std::uint8_t l, const std::uint8_t* data)
{
    TxFrame[0] = 0x68;
    CopyBytes(TxFrame + 1, TargetAddr, 6);
    TxFrame[7] = 0x68;
    TxFrame[8] = c;
    TxFrame[9] = l;
    CopyBytes(TxFrame + 10, data, l);
    TxFrame[10 + l] = ByteSum(TxFrame, 10 + l);
    TxFrame[11 + l] = 0x16;
    TxLength = static_cast<std::uint16_t>(l + 12);
    SendLength = TxLength;
    return TxLength;
}

int TZbSxMeter::BuildReportFrame()
{
    if (EventRepMode == 0) {
        CopyBytes(TxFrame, kFixedReportFrame, sizeof kFixedReportFrame);
        TxLength = sizeof kFixedReportFrame;
    } else {
        const EventRepFrame& frame = EventRepMode == 1 ? DataEventRep : FinishedEventRep;
        CopyBytes(TxFrame, frame.Data, frame.Len);
        TxLength = frame.Len;
    }
    SendLength = TxLength;
    return TxLength;
}
