#pragma once
// The console core: the operator console's state and logic without widgets. It owns the meter
// and the buffers lent to it, takes each read from the serial line (MSComm1Comm), frames it,
// applies the test mode and the address lists, lets the meter answer and sends the replies. It
// reaches the window, the serial line, the clock and the dialogs only through the ports of
// ConsolePorts.h, so tests drive it with fakes.
#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "console/ConsolePorts.h"
#include "console/FReplyVariants.h"
#include "console/FTestModes.h"
#include "console/FrameAssembler.h"
#include "meter/FMeter.h"

inline const std::string LogSeparator(41, '-');
inline const std::string ListenSeparator(82, '-');
inline const std::string ReplySeparator(41, '=');
inline const std::string RelaySeparator = "/*-------------------------------------*/";

// Switches of the window's menus and check boxes that the receive path reads.
struct TConsoleOptions {
    bool ShowCarrier = false;    // "Daltrex显示"
    bool CarrierRaw = false;     // "Daltrex不解析"
    bool Show645 = false;        // "645显示"
    bool CycleReply = false;     // "循环回复"
    bool SelfReply = false;      // "自设回复"
    bool ChipKind = false;       // "通道芯片"
    bool FePreamble = false;     // "前导符FE"
    bool CrossPhase = false;     // "支持跨相"
    bool Continuous = false;     // "连续"
    bool ChangeBaud = false;     // "可变速率"
    bool LongFrameTest = false;  // "长帧测试"
};

class TConsoleCore : public QObject, private TAssemblerSink {
    Q_OBJECT
public:
    static constexpr int kBufferSize = TZbSxMeter::kFrameBufferSize;

    explicit TConsoleCore(const TConsolePorts& ports, TTimeSource meterTime = {},
                          QObject* parent = nullptr);
    ~TConsoleCore() override;

    // ---- Receive path -----------------------------------------------------------------------
    // One read from the line: count bytes, and how many were still waiting after it (the
    // display modes read at once and pass 0).
    void MSComm1Comm(const std::uint8_t* bytes, int count, int pending);
    // The display modes read without the 30 ms waits.
    bool ReadsAtOnce() const { return Options.ShowCarrier || Options.Show645; }
    // The frame gap ended a burst.
    void TimerTxOverTimer();
    void ResetReceiver(int start) { Assembler.ResetReceiver(start); }
    void OpenPort(bool open);
    void ShowPortState();

    // ---- Counters ---------------------------------------------------------------------------
    void SetRxCount(int n);
    void SetTxCount(int n);
    void SetRxSuccessCount(int n);
    void SetTxSuccessCount(int n);
    // "计数复位": counters to 0, logs emptied.
    void BtnTxCntClrClick();

    // ---- Frame handling ---------------------------------------------------------------------
    void HandleFrame();
    // Sends the meter's TxLength bytes of TxBuffer as a command or a response; false when they
    // could not leave (the log says why).
    bool SendFrame(bool command);
    bool PhaseMatches() const;
    int CheckRoute(const std::uint8_t* path, int count, std::uint8_t phase);

    // ---- Test modes and address lists -------------------------------------------------------
    void SetTestMode(int mode);
    int GetTestMode() const { return TestModeFromFlags(TestModeFlags, Listening); }
    // A mode chosen from the menu: as SetTestMode, also unchecking "通道芯片" and "长帧测试" and
    // emptying the logs the mode hides.
    void ChooseTestMode(int mode);
    void FilterAddress();
    bool InIntervalList() const;
    bool InCheckedList(std::uint8_t* frameAddress);
    bool InAnyList(std::uint8_t* frameAddress);
    // Stores an address row as its edit is left and returns the text the edit shows.
    const std::string& SetAddressRow(int row, const std::string& text);

    // ---- Reply variants, variable rate, protocol --------------------------------------------
    bool TmiCheckSelf();    // "自设回复": true when it ends checked
    bool TmiCheckCircle();  // "循环回复"
    bool TmiCheckAuto();    // "长帧测试"
    void ToolButtonBhClick();
    // "可变速率" was clicked; returns whether the box stays checked.
    bool ChooseNum(bool checked);
    // Alt+A and Alt+S.
    void FastChange(char key);
    // The next rate of the ladder after currentRate; sets BaudStep.
    void NextBaudSetting(int currentRate, std::string& settings);
    // The protocol buttons (the window sets its own edits).
    void DoCheckRule(int protocol);

    // ---- State ------------------------------------------------------------------------------
    std::unique_ptr<TZbSxMeter> Meter;
    std::uint8_t TestModeFlags = 0;
    bool Listening = false;  // "侦听测试" is the chosen mode
    TConsoleOptions Options;
    TFrameAssembler Assembler;
    std::uint8_t FrameBuffer[kBufferSize] = {};
    std::uint8_t TxBuffer[kBufferSize] = {};
    std::uint8_t LongFrameIds[2][2] = {{0x00, 0x00}, {0x00, 0x01}};
    std::string LongFrameSetText = "0000";
    std::string LongFrameReadText = "0001";
    int FrameLength = 0;
    int RxByteCount = 0, TxByteCount = 0, RxFrameCount = 0, TxFrameCount = 0;
    std::string RelayTarget, CheckedAddress, PortSettings;
    TAddressRows AddressRows;
    TAddressChecks AddressChecks = {};
    bool ContinuousSending = false;
    TReplyVariants Replies;
    TVariableRate Rate;
    // Reply delays of the 645 display mode (entry 0 before the first byte).
    std::array<int, 50> Delays = {};
    bool PerByteDelays = false;
    bool DelayOn = false;
    std::int64_t LastByteTime = 0;

private:
    // TAssemblerSink
    void FrameAssembled(const std::uint8_t* frame, int length) override;
    void RelayAssembled(bool ended) override;
    void BurstDropped(const std::uint8_t* bytes, int count, const char* text, bool counted) override;
    bool DisplayFrameAssembled(const std::uint8_t* frame, int length) override;
    void CarrierFrameAssembled(const std::uint8_t* frame, int length) override;
    void ListenBurst(const std::uint8_t* burst, int lastIndex) override;
    void RequestAssembled(const std::uint8_t* burst, int lastIndex, int requestStart) override;
    void RequestBurstEnded() override;
    void BurstOverflow(TAssemblerMode mode, const std::uint8_t* bytes, int count) override;
    void BurstOverflowEnded(TAssemblerMode mode, int dropped) override;

    TAssemblerMode ReceiveMode() const;
    bool RelayOrRouting() const { return (TestModeFlags & (tmRelay | tmRouting)) != 0; }
    // The list check of a request's address (frame order, rewritten at wildcard positions);
    // the refusal text, or empty when accepted. Both list tests run in the unrecognised-number
    // mode when bothLists.
    std::string ListRefusal(const std::uint8_t* address, std::uint8_t* frameAddress, bool bothLists);
    // Relay path check; false when the path is wrong, nullopt when handling ends here.
    std::optional<bool> CheckRelayPath();
    void LogRelayAddresses(int n);
    // Answers an accepted request; `logBefore` writes the lines the log shows ahead of the
    // answer's own (the received frame), after the reply has gone to the line.
    void AnswerRequest(const std::function<void()>& logBefore);
    // The reply leaves first: the bytes go to the line, then `logBefore` and the send block are
    // logged, so no log line is built or shown while a reply waits.
    // Bytes that cannot leave are logged as a failure and counted nowhere; false then.
    bool SendBytes(const std::vector<std::uint8_t>& bytes, bool command,
                   const std::function<void()>& logBefore = {});
    void SendDisplayReply(const std::vector<std::uint8_t>& reply);
    void ContinueCommands();
    void VariableRateStep();
    void ApplyRate(const std::string& settings);

    void Op(const std::string& line);
    void Raw(const std::string& line);
    void Log(TLogId id, const std::string& line);  // held while holdLog_
    void ReleaseHeldLog();
    void BurstLog(const std::uint8_t* bytes, int count);
    std::string TimeText() const;
    std::string TimeTextMs() const;

    TConsolePorts Ports;
    // Lines logged while the meter handles a frame (the address filter's refusal) wait until
    // the received frame has been logged.
    bool holdLog_ = false;
    std::vector<std::pair<TLogId, std::string>> heldLog_;
};

// "<-" / "->" followed by "%02X " per byte.
std::string ByteLine(const char* prefix, const std::uint8_t* bytes, int count);
