// Receive path, frame handling and counters of the console core. Test-mode handlers and reply
// variants are in FConsoleModes.cpp.
#include "console/FConsoleCore.h"

#include <algorithm>
#include <cstdio>

#include "meter/FFunct.h"

namespace {

const char* const kLogKinds[kLogCount] = {
    "通信记录",     "通信报文",     "完整侦听记录", "A相侦听记录", "B相侦听记录",
    "C相侦听记录", "完整侦听报文", "A相侦听报文",  "B相侦听报文", "C相侦听报文",
};

bool PhaseAgrees(const std::string& addressText, const std::string& relayTarget, bool crossPhase,
                 std::uint8_t phaseByte)
{
    if (addressText == "广播命令 " || crossPhase)
        return true;
    const std::string digits = relayTarget.substr(0, 12);
    // A target that is not a decimal number reads as 0, whose phase is 3.
    const std::uint8_t phase = PhaseOfAddressText(digits.empty() ? "0" : digits);
    return phase == phaseByte;
}

}  // namespace

const char* LogKindName(TLogId id)
{
    return kLogKinds[static_cast<int>(id)];
}

std::string ByteLine(const char* prefix, const std::uint8_t* bytes, int count)
{
    return prefix + BytesToHexSpaced(bytes, count);
}

TConsoleCore::TConsoleCore(const TConsolePorts& ports, TTimeSource meterTime, QObject* parent)
    : QObject(parent), Meter(std::make_unique<TZbSxMeter>(std::move(meterTime))), Ports(ports)
{
    const std::uint8_t meterConst[3] = {0x00, 0x32, 0x00};  // 3200 impulses per kWh
    CopyBytes(Meter->GetMeterConstant(), meterConst, 3);
    Meter->SetFrameBuffer(FrameBuffer);
    Meter->SetTxBuffer(TxBuffer);
    Meter->OnCheckAddress = [this] { FilterAddress(); };
    Meter->DetailTexts = false;  // the log shows the address, command, answer and status only
    Meter->SetLongFrameIds(LongFrameIds[0], LongFrameIds[1]);
    AddressRows.fill("888888888888");
}

TConsoleCore::~TConsoleCore() = default;

// ---- Logs -----------------------------------------------------------------------------------

void TConsoleCore::Log(TLogId id, const std::string& line)
{
    if (holdLog_)
        heldLog_.emplace_back(id, line);
    else
        Ports.Log->Append(id, line);
}

void TConsoleCore::ReleaseHeldLog()
{
    holdLog_ = false;
    for (const auto& [id, line] : heldLog_)
        Ports.Log->Append(id, line);
    heldLog_.clear();
}

void TConsoleCore::Op(const std::string& line)
{
    Log(TLogId::CommRecord, line);
}

void TConsoleCore::Raw(const std::string& line)
{
    Log(TLogId::CommFrames, line);
}

std::string TConsoleCore::TimeText() const
{
    const TWallTime t = Ports.Clock->Now();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.Year, t.Month, t.Day,
                  t.Hour, t.Minute, t.Second);
    return buffer;
}

std::string TConsoleCore::TimeTextMs() const
{
    const TWallTime t = Ports.Clock->Now();
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d:%03d", t.Year, t.Month,
                  t.Day, t.Hour, t.Minute, t.Second, t.Millisecond);
    return buffer;
}

void TConsoleCore::BurstLog(const std::uint8_t* bytes, int count)
{
    Op(LogSeparator);
    Op("<-收到一帧:");
    Op("<-" + TimeText());
    const std::string line = ByteLine("<-", bytes, count);
    Raw(line);
    Op(line);
}

// ---- Counters -------------------------------------------------------------------------------

void TConsoleCore::SetRxCount(int n)
{
    RxByteCount = n;
    Ports.Status->ShowPanel(2, "RX:" + std::to_string(n));
}

void TConsoleCore::SetTxCount(int n)
{
    TxByteCount = n;
    Ports.Status->ShowPanel(3, "TX:" + std::to_string(n));
}

void TConsoleCore::SetRxSuccessCount(int n)
{
    RxFrameCount = n;
    Ports.Status->ShowPanel(4, "RSuc:" + std::to_string(n));
}

void TConsoleCore::SetTxSuccessCount(int n)
{
    TxFrameCount = n;
    Ports.Status->ShowPanel(5, "TSuc:" + std::to_string(n));
}

void TConsoleCore::BtnTxCntClrClick()
{
    SetRxCount(0);
    SetTxCount(0);
    SetRxSuccessCount(0);
    SetTxSuccessCount(0);
    for (int k = 0; k < kLogCount; ++k)
        Ports.Log->Clear(static_cast<TLogId>(k));
}

// ---- Port -----------------------------------------------------------------------------------

void TConsoleCore::OpenPort(bool open)
{
    IConsoleLine& line = *Ports.Line;
    if (line.IsOpen())
        line.Close();
    if (open)
        line.Open();  // a missing or busy port throws to the caller's handler
    ResetReceiver(-1);
    const std::string port = line.PortName();
    const std::string settings = line.Settings();
    if (line.IsOpen()) {
        Ports.Status->SetPortCaption("关闭串口");
        const std::string text = port + "打开," + settings;
        Ports.Status->ShowPanel(1, text);
        Op(text);
    } else {
        Ports.Status->SetPortCaption("打开串口");
        Ports.Status->ShowPanel(1, port + "关闭," + settings);
        Op(port + "关闭");
    }
    PortSettings = settings;
}

void TConsoleCore::ShowPortState()
{
    const bool open = Ports.Line->IsOpen();
    Ports.Status->SetPortCaption(open ? "关闭串口" : "打开串口");
    Ports.Status->ShowPanel(1, Ports.Line->PortName() + (open ? "打开" : "关闭") +
                                   Ports.Line->Settings());
}

// ---- Receive path ---------------------------------------------------------------------------

TAssemblerMode TConsoleCore::ReceiveMode() const
{
    if (Options.ShowCarrier)
        return TAssemblerMode::Carrier;
    if (Options.Show645)
        return TAssemblerMode::Display645;
    if (Listening)
        return TAssemblerMode::Listen;
    if (Options.CycleReply || Options.SelfReply)
        return TAssemblerMode::Request;
    return TAssemblerMode::Normal;
}

void TConsoleCore::MSComm1Comm(const std::uint8_t* bytes, int count, int pending)
{
    if (count <= 0)
        return;
    SetRxCount(RxByteCount + count);
    Assembler.Feed(ReceiveMode(), bytes, count, ReadsAtOnce() ? 0 : pending, *this);
}

void TConsoleCore::TimerTxOverTimer()
{
    Assembler.FrameGap(Options.ShowCarrier);
}

void TConsoleCore::ContinueCommands()
{
    if (ContinuousSending && Options.Continuous && Ports.Commands)
        Ports.Commands->ScheduleNextCommand();
}

void TConsoleCore::FrameAssembled(const std::uint8_t* frame, int length)
{
    std::copy(frame, frame + length, FrameBuffer);
    FrameLength = length;
    if (RelayOrRouting())
        return;  // the frame waits for its relay frame
    SetRxSuccessCount(RxFrameCount + 1);
    HandleFrame();
    if (Meter->AddrTextChanged) {
        AddressRows[0] = Meter->GetAddressText();
        Ports.Status->ShowAddressRow(0, AddressRows[0]);
        Meter->AddrTextChanged = false;
    }
    VariableRateStep();
}

void TConsoleCore::RelayAssembled(bool)
{
    SetRxSuccessCount(RxFrameCount + 1);
    HandleFrame();
}

void TConsoleCore::BurstDropped(const std::uint8_t* bytes, int count, const char* text,
                                bool counted)
{
    if (counted)
        SetRxSuccessCount(RxFrameCount + 1);
    BurstLog(bytes, count);
    if (text)
        Op(text);
    if (counted)
        ContinueCommands();
}

void TConsoleCore::CarrierFrameAssembled(const std::uint8_t* frame, int length)
{
    if (Options.CarrierRaw)
        Ports.Log->Append(TLogId::ListenFrames,
                          "<-" + TimeTextMs() + "  " + BytesToHexSpaced(frame, length));
    else if (Ports.Listen)
        Ports.Listen->ShowCarrierFrame(frame, length - 1);
    SetRxSuccessCount(RxFrameCount + 1);
}

void TConsoleCore::ListenBurst(const std::uint8_t* burst, int lastIndex)
{
    SetRxSuccessCount(RxFrameCount + 1);
    if (Ports.Listen)
        Ports.Listen->ShowListenFrame(burst, lastIndex);
}

void TConsoleCore::BurstOverflow(TAssemblerMode mode, const std::uint8_t* bytes, int count)
{
    // What the buffer held is shown like any burst; the end of the burst says how much of the
    // rest was dropped.
    if (mode == TAssemblerMode::Listen)
        ListenBurst(bytes, count - 1);
    else
        BurstLog(bytes, count);
}

void TConsoleCore::BurstOverflowEnded(TAssemblerMode mode, int dropped)
{
    const std::string mark = "<-长度超,丢弃" + std::to_string(dropped) + "字节";
    if (mode == TAssemblerMode::Listen) {
        const std::string line = "<-" + TimeTextMs() + "  " + mark;
        Ports.Log->Append(TLogId::ListenRecord, line);
        Ports.Log->Append(TLogId::ListenFrames, line);
        return;
    }
    Op(mark);
}

// ---- The 645 display mode -------------------------------------------------------------------

bool TConsoleCore::DisplayFrameAssembled(const std::uint8_t* frame, int length)
{
    if (DelayOn)
        LastByteTime = Ports.Clock->MonotonicMs();
    SetRxSuccessCount(RxFrameCount + 1);
    FrameLength = length;
    std::copy(frame, frame + length, FrameBuffer);
    Meter->AppendPhase = !Options.ChipKind;
    Meter->FePreamble = Options.FePreamble;
    if (!Options.ChipKind)
        Meter->PhaseByte = PhaseOfAddressText(BytesToHex(FrameBuffer + 1, 6));

    std::vector<std::uint8_t> reply;
    if (Options.SelfReply) {
        const std::string refusal = ListRefusal(FrameBuffer + 1, FrameBuffer + 1, true);
        if (!refusal.empty()) {
            Op(refusal);
            return false;
        }
        const int n = Replies.BuildSelfReply(FrameBuffer + 1, TxBuffer, false);
        Meter->SendLength = static_cast<std::uint16_t>(n);
        reply.assign(TxBuffer, TxBuffer + n);
    } else {
        Meter->ProcessFrame(FrameLength);
        if (Meter->StatusCode != msOk)
            return false;
        if (Meter->GetTxLength() != 0)
            reply.assign(TxBuffer, TxBuffer + Meter->SendLength);
    }
    FrameLength = 0;
    if (reply.empty())
        Op(LogSeparator);
    else
        SendDisplayReply(reply);
    return true;
}

// Sends the reply of the 645 display mode, at once or byte by byte with the delays.
void TConsoleCore::SendDisplayReply(const std::vector<std::uint8_t>& reply)
{
    auto finish = [this, n = static_cast<int>(reply.size())] {
        SetTxCount(TxByteCount + n);
        Op("->响应成功发送");
        SetTxSuccessCount(TxFrameCount + 1);
        Op(LogSeparator);
    };
    const std::string line = ByteLine("->", reply.data(), static_cast<int>(reply.size()));
    if (!DelayOn) {
        Ports.Line->Send(reply);
        Raw(line);
        Op("->响应:");
        Op("->" + TimeText());
        Op(line);
        finish();
        return;
    }
    std::vector<int> waits(reply.size());
    for (std::size_t k = 0; k < reply.size(); ++k) {
        if (k == 0)
            waits[k] = Delays[0];
        else
            waits[k] = PerByteDelays ? Delays[std::min<std::size_t>(k, 49)] : Delays[1];
    }
    Ports.Line->SendPaced(reply, waits, LastByteTime, [this, line, finish] {
        Op("->响应:");
        Op("->" + TimeText());
        Op(line);
        finish();
    });
}

// ---- The cyclic and self-defined reply modes ------------------------------------------------

void TConsoleCore::RequestAssembled(const std::uint8_t* burst, int lastIndex, int requestStart)
{
    std::uint8_t address[6];
    CopyBytes(address, burst + requestStart + 1, 6);
    const std::string refusal = ListRefusal(address, address, true);
    if (!refusal.empty()) {
        BurstLog(burst, lastIndex + 1);
        Op(refusal);
        SetRxSuccessCount(RxFrameCount + 1);
        return;
    }
    const int n = Options.CycleReply ? Replies.BuildCycleReply(address, TxBuffer)
                                     : Replies.BuildSelfReply(address, TxBuffer, true);
    Ports.Line->Send(std::vector<std::uint8_t>(TxBuffer, TxBuffer + n));
    BurstLog(burst, lastIndex + 1);
    const std::string sent = ByteLine("->", TxBuffer, n);
    Raw(sent);
    Op("->响应:");
    Op("->" + TimeText());
    Op(sent);
    SetTxCount(TxByteCount + n);
    Op("->响应成功发送");
    SetTxSuccessCount(TxFrameCount + 1);
    SetRxSuccessCount(RxFrameCount + 1);
    if (Options.CycleReply)
        Replies.AdvanceCycle();
}

void TConsoleCore::RequestBurstEnded()
{
    SetRxSuccessCount(RxFrameCount + 1);
}

// ---- Frame handling -------------------------------------------------------------------------

void TConsoleCore::HandleFrame()
{
    Meter->AppendPhase = !Options.ChipKind;
    Meter->FePreamble = Options.FePreamble;
    bool pathGood = true;
    if (Assembler.RelayLength > 0 && RelayOrRouting()) {
        const std::optional<bool> checked = CheckRelayPath();
        if (!checked)
            return;
        pathGood = *checked;
    }
    // In the relay and routing tests a 645 frame is answered only together with its relay frame.
    if (FrameLength == 0 || (RelayOrRouting() && Assembler.RelayLength == 0))
        return;
    Assembler.RelayLength = 0;
    // The frame as it came (the meter takes the 0x33 off in place); its lines are logged after
    // the reply has left.
    const std::vector<std::uint8_t> received(FrameBuffer, FrameBuffer + FrameLength);
    const auto logReceived = [this, &received] {
        BurstLog(received.data(), static_cast<int>(received.size()));
        ReleaseHeldLog();
    };
    if (!pathGood) {
        FrameLength = 0;  // a refused frame must not come back with the next relay frame
        logReceived();
        Op("<-错误,不响应");
        Op(LogSeparator);
        return;
    }

    CheckedAddress.clear();
    if (!RelayOrRouting())
        Meter->PhaseByte = PhaseOfAddressText(BytesToHex(FrameBuffer + 1, 6));
    holdLog_ = true;
    Meter->ProcessFrame(FrameLength);
    holdLog_ = false;
    FrameLength = 0;
    const bool request = Meter->GetRequestFlag();
    if (Meter->StatusCode == msOk && request) {
        AnswerRequest(logReceived);
    } else {
        logReceived();
        if (Meter->StatusCode == msOk) {
            const TZbSxMeter::_RdId& t = Meter->Texts;
            Op("<-" + t.Address + t.Command + t.Answer + t.Status);
            if (Ports.Commands)
                Ports.Commands->AnswerHandled();
            if (Options.Continuous && Ports.Commands)
                Ports.Commands->ScheduleNextCommand();
        } else if (request && Options.Continuous && Ports.Commands) {
            Ports.Commands->ScheduleNextCommand();
        }
    }
    Meter->AppendPhase = false;
}

std::optional<bool> TConsoleCore::CheckRelayPath()
{
    Meter->AppendPhase = true;
    RelayTarget.clear();
    const int l = Assembler.RelayLength;
    const std::uint8_t* relay = Assembler.RelayFrame;
    bool good = true;
    if (l < 8 || (l - 2) % 6 != 0) {
        // L must count whole addresses: 6 x n + 2.
        Op("<-路径有误");
        good = false;
    } else {
        const int n = (l - 2) / 6;
        Op(RelaySeparator);
        Op("中继路径如下:");
        const bool relayTest = (TestModeFlags & tmRelay) != 0;
        char label[32];
        for (int k = 0; k < n; ++k) {
            if (relayTest && k > 7) {
                good = false;
                break;
            }
            const std::string text = BytesToHex(relay + 2 + 6 * k, 6);
            if (relayTest && !SameAddressText(text, AddressRows[static_cast<std::size_t>(k)]))
                good = false;
            if (k < n - 1) {
                std::snprintf(label, sizeof label, "第%02d级中继:", k);
                Op(label + text);
            } else {
                Op("目  的  表:" + text);
                RelayTarget = text;
            }
        }
        if (relayTest) {
            Meter->PhaseByte = Options.CrossPhase ? PhaseOfAddressText(RelayTarget) : relay[l];
        } else {
            if (!Ports.Route || !Ports.Route->IndexReady()) {
                Op("<-路由测试表地址未设置");
                return std::nullopt;
            }
            switch (CheckRoute(relay + 2, n, relay[l])) {
            case 1:
                AddressRows[0] = RelayTarget;
                Ports.Status->ShowAddressRow(0, RelayTarget);
                break;
            case 2:
                good = false;
                Op("<-目的表相位不符");
                break;
            default:
                good = false;
                Op("<-路径有误");
                break;
            }
        }
    }
    Raw(ByteLine("<-", relay, l + 3));
    return good;
}

int TConsoleCore::CheckRoute(const std::uint8_t* path, int count, std::uint8_t phase)
{
    if (!Ports.Route)
        return 3;
    return Ports.Route->CheckRoute(path, count, phase, Options.CrossPhase, *Meter);
}

bool TConsoleCore::PhaseMatches() const
{
    return PhaseAgrees(Meter->Texts.Address, RelayTarget, Options.CrossPhase, Meter->PhaseByte);
}

// Answers a request the meter accepted. In the relay test the answer follows 20 ms later: what
// it needs is taken now, since the meter may handle another frame meanwhile.
void TConsoleCore::AnswerRequest(const std::function<void()>& logBefore)
{
    const std::uint8_t* pw = Meter->GetPassword();
    char password[8];
    std::snprintf(password, sizeof password, "%02x%02x%02x", pw[2], pw[1], pw[0]);
    const bool relayTest = (TestModeFlags & tmRelay) != 0;
    const bool phaseGood = PhaseMatches();
    const std::uint8_t phase =
        Options.CrossPhase ? Meter->PhaseByte : PhaseOfAddressText(RelayTarget);
    auto answer = [this, relayTest, phaseGood, phase, command = Meter->Texts.Command,
                   status = Meter->Texts.Status, pwText = std::string(password),
                   reply = std::vector<std::uint8_t>(TxBuffer, TxBuffer + Meter->GetTxLength())](
                      const std::function<void()>& before) {
        const auto logAnswer = [&] {
            if (before)
                before();
            if (relayTest)
                Op(std::string("<-") + PhaseText(phase));
        };
        if (relayTest && !phaseGood) {
            logAnswer();
            Op("<-目的表相位不符");
            return;
        }
        SendBytes(reply, false, [&] {
            logAnswer();
            Op("<-" + command);
            Op("<-" + status);
            Ports.Status->ShowPassword(pwText);
            Ports.Status->ShowEnergy();
            Op(ReplySeparator);
        });
        Op(LogSeparator);
    };
    if (relayTest) {
        logBefore();
        Ports.Clock->Defer(20, [answer] { answer({}); });
    } else {
        answer(logBefore);
    }
}

bool TConsoleCore::SendFrame(bool command)
{
    return SendBytes(std::vector<std::uint8_t>(TxBuffer, TxBuffer + Meter->GetTxLength()), command);
}

bool TConsoleCore::SendBytes(const std::vector<std::uint8_t>& bytes, bool command,
                             const std::function<void()>& logBefore)
{
    const bool sent = bytes.empty() || Ports.Line->Send(bytes);
    const char* kind = command ? "命令" : "响应";
    if (sent)
        Ports.Status->ToggleTxLamp();
    if (logBefore)
        logBefore();
    if (bytes.empty())
        return true;
    if (!sent) {
        Op(LogSeparator);
        Op(std::string("->") + kind + "发送失败:" +
           (Ports.Line->IsOpen() ? "串口" + Ports.Line->PortName() + "写入失败"
                                 : "串口" + Ports.Line->PortName() + "未打开"));
        return false;
    }
    const int n = static_cast<int>(bytes.size());
    const std::string line = ByteLine("->", bytes.data(), n);
    Op(LogSeparator);
    Raw(line);
    Op(std::string("->") + kind + ":");
    Op("->" + TimeText());
    Op(line);
    SetTxCount(TxByteCount + n);
    if (command && Ports.Commands)
        Ports.Commands->CommandSent();
    Op(std::string("->") + kind + "成功发送");
    SetTxSuccessCount(TxFrameCount + 1);
    return true;
}
