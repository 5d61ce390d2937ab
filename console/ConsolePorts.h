#pragma once
// The small interfaces through which the console core reaches the outside world. The main window
// implements them with widgets, the serial cycle with the serial control, tests with fakes.
// Nothing here blocks: where the console has to wait (the relay test's pause before it answers,
// the per-byte reply delays) it asks for a deferred call or a paced send instead of sleeping.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TZbSxMeter;

// The ten log pages, in the order of their kinds; the kind is the file name stem of a saved log.
enum class TLogId {
    CommRecord,     // "通信记录": the operation log (MemoRes)
    CommFrames,     // "通信报文": the raw frame log (MemoTx)
    ListenRecord,   // "完整侦听记录" (MemoLT)
    ListenRecordA,  // "A相侦听记录" (MemoL1)
    ListenRecordB,  // "B相侦听记录" (MemoL2)
    ListenRecordC,  // "C相侦听记录" (MemoL3)
    ListenFrames,   // "完整侦听报文" (MemoBw)
    ListenFramesA,  // "A相侦听报文" (MemoB1)
    ListenFramesB,  // "B相侦听报文" (MemoB2)
    ListenFramesC,  // "C相侦听报文" (MemoB3)
};
inline constexpr int kLogCount = 10;
const char* LogKindName(TLogId id);

// The serial line as the console uses it. Opening a missing or busy port throws; the caller's
// top-level handler shows the message.
class IConsoleLine {
public:
    virtual ~IConsoleLine() = default;
    virtual bool IsOpen() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual int PortNumber() const = 0;
    // The port as the port texts name it ("COM1", or the device path that is opened).
    virtual std::string PortName() const { return "COM" + std::to_string(PortNumber()); }
    virtual std::string Settings() const = 0;  // "9600,e,8,1"
    virtual void SetSettings(const std::string& settings) = 0;
    // New settings for the variable rate and Alt+S: the port ends open with them. A line that can
    // change them while open lets the reply in flight leave under the old ones first.
    virtual void Reconfigure(const std::string& settings)
    {
        Close();
        SetSettings(settings);
        Open();
    }
    // Queues the bytes at once, behind anything still being sent; false when they cannot leave
    // (the port is closed or refused the write).
    virtual bool Send(const std::vector<std::uint8_t>& bytes) = 0;
    // Writes the bytes one at a time: byte 0 once waits[0] ms have passed since the monotonic
    // time startMs, byte k once waits[k] ms have passed since byte k - 1 was written; done runs
    // after the last byte.
    virtual void SendPaced(const std::vector<std::uint8_t>& bytes, const std::vector<int>& waits,
                           std::int64_t startMs, std::function<void()> done) = 0;
};

class IConsoleLog {
public:
    virtual ~IConsoleLog() = default;
    virtual void Append(TLogId id, const std::string& line) = 0;
    virtual void Clear(TLogId id) = 0;
};

// Status bar, lamps and the few edits the receive path writes to.
class IConsoleStatus {
public:
    virtual ~IConsoleStatus() = default;
    // Panels: 1 port state, 2 "RX:", 3 "TX:", 4 "RSuc:", 5 "TSuc:".
    virtual void ShowPanel(int panel, const std::string& text) = 0;
    virtual void SetPortCaption(const std::string& caption) = 0;  // "打开串口" / "关闭串口"
    virtual void ToggleTxLamp() = 0;                               // "通信"
    // Address row (0 = EditBh) now shows text; the core already holds it.
    virtual void ShowAddressRow(int row, const std::string& text) = 0;
    virtual void ShowPassword(const std::string& text) = 0;       // EditPw
    virtual void ShowEnergy() = 0;
};

struct TWallTime {
    int Year = 2000, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

class IConsoleClock {
public:
    virtual ~IConsoleClock() = default;
    virtual TWallTime Now() const = 0;             // local time, for log texts
    virtual std::int64_t MonotonicMs() const = 0;  // for delays
    // Runs call once ms milliseconds have passed, on the same thread, after the caller returned.
    virtual void Defer(int ms, std::function<void()> call) = 0;
};

class IConsoleNotifier {
public:
    virtual ~IConsoleNotifier() = default;
    virtual void Message(const std::string& text) = 0;
};

// The small parameter dialogs, shown modally; an empty result is a cancel.
class IConsoleDialogs {
public:
    struct TSelfReplyTexts {
        std::string ControlText;  // two hexadecimal digits
        std::string DataText;     // "01 02 .."
        std::string TailText;     // bytes appended after the 16H
        bool Reverse = false;     // "翻转"
        bool Add33 = false;       // "加33H"
    };
    virtual ~IConsoleDialogs() = default;
    virtual std::optional<TSelfReplyTexts> AskSelfReply(const std::string& controlText,
                                                        const std::string& dataText) = 0;
    // Begin and end of the cyclic reply lengths.
    virtual std::optional<std::pair<std::string, std::string>> AskCycleRange(
        const std::string& beginText, const std::string& endText) = 0;
    virtual std::optional<std::string> AskRepliesPerStep(const std::string& text) = 0;
    // Set and read identifiers of the long-frame test (4 hexadecimal digits each).
    virtual std::optional<std::pair<std::string, std::string>> AskLongFrameIds(
        const std::string& setText, const std::string& readText) = 0;
    // Answer the broadcast read of the meter number, answer the addressed read.
    virtual std::optional<std::pair<bool, bool>> AskAnsweredReads() = 0;
    virtual std::optional<int> AskMaxTariff() = 0;
    // The serial settings dialog takes a settings text and selects its rate item.
    virtual void SyncComSettings(const std::string& settings, int rateItem) = 0;
};

// The route table of the routing test. CheckRoute gives 1 (path and phase agree), 2 (path agrees,
// phase differs) or 3 (path wrong or destination unknown) and sets the meter's phase byte.
class IRouteCheck {
public:
    virtual ~IRouteCheck() = default;
    virtual bool IndexReady() const = 0;
    virtual int CheckRoute(const std::uint8_t* path, int count, std::uint8_t phase,
                           bool crossPhase, TZbSxMeter& meter) = 0;
};

// The listening display: a whole burst (lastIndex = length - 1, bytes beyond it are 0) and a
// Daltrex carrier frame from its AAH (endIndex = L + 1, the end byte already checked).
class IListenDisplay {
public:
    virtual ~IListenDisplay() = default;
    virtual void ShowListenFrame(const std::uint8_t* burst, int lastIndex) = 0;
    virtual void ShowCarrierFrame(const std::uint8_t* frame, int endIndex) = 0;
};

// The composer's side of continuous sending.
class ICommandFlow {
public:
    virtual ~ICommandFlow() = default;
    // Starts the one-shot timer that sends the next row, when a command is armed.
    virtual void ScheduleNextCommand() = 0;
    // An answer to the console's own command was handled: enable "组命令帧", restart the rows
    // when all were sent.
    virtual void AnswerHandled() = 0;
    // A command went out: start the command timer.
    virtual void CommandSent() = 0;
};

// Line, Log, Status and Clock are required; the others may be left empty.
struct TConsolePorts {
    IConsoleLine* Line = nullptr;
    IConsoleLog* Log = nullptr;
    IConsoleStatus* Status = nullptr;
    IConsoleClock* Clock = nullptr;
    IConsoleNotifier* Notifier = nullptr;
    IConsoleDialogs* Dialogs = nullptr;
    IRouteCheck* Route = nullptr;
    IListenDisplay* Listen = nullptr;
    ICommandFlow* Commands = nullptr;
};
