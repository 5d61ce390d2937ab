#pragma once
// Fakes of the console core's ports and a fixture that wires a core to them.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "console/FConsoleCore.h"
#include "meter/FFunct.h"
#include "common/Frame645.h"

namespace consoletest {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

struct FakeLine : IConsoleLine {
    bool Opened = false;
    int Port = 1;
    std::string Text = "9600,e,8,1";
    std::vector<Bytes> Sent;
    struct Paced {
        Bytes BytesOut;
        std::vector<int> Waits;
        std::int64_t StartMs;
    };
    std::vector<Paced> PacedSends;
    std::vector<std::string> Reopened;  // settings at each Open

    bool IsOpen() const override { return Opened; }
    void Open() override
    {
        Opened = true;
        Reopened.push_back(Text);
    }
    void Close() override { Opened = false; }
    int PortNumber() const override { return Port; }
    std::string Settings() const override { return Text; }
    void SetSettings(const std::string& s) override { Text = s; }
    std::function<void()> OnSend;  // called as each whole send is made (tests look at the log then)
    bool Refuses = false;  // every whole send fails, as on a closed port
    bool Send(const Bytes& b) override
    {
        if (Refuses)
            return false;
        Sent.push_back(b);
        if (OnSend)
            OnSend();
        return true;
    }
    void SendPaced(const Bytes& b, const std::vector<int>& waits, std::int64_t startMs,
                   std::function<void()> done) override
    {
        PacedSends.push_back({b, waits, startMs});
        Sent.push_back(b);
        done();
    }
};

struct FakeLog : IConsoleLog {
    std::map<TLogId, Lines> Pages;
    void Append(TLogId id, const std::string& line) override { Pages[id].push_back(line); }
    void Clear(TLogId id) override { Pages[id].clear(); }
    const Lines& Op() { return Pages[TLogId::CommRecord]; }
    const Lines& Raw() { return Pages[TLogId::CommFrames]; }
};

struct FakeStatus : IConsoleStatus {
    std::map<int, std::string> Panels;
    std::string PortCaption;
    int LampToggles = 0;
    std::map<int, std::string> Rows;
    std::string Password;
    int EnergyShown = 0;
    void ShowPanel(int panel, const std::string& text) override { Panels[panel] = text; }
    void SetPortCaption(const std::string& caption) override { PortCaption = caption; }
    void ToggleTxLamp() override { ++LampToggles; }
    void ShowAddressRow(int row, const std::string& text) override { Rows[row] = text; }
    void ShowPassword(const std::string& text) override { Password = text; }
    void ShowEnergy() override { ++EnergyShown; }
};

struct FakeClock : IConsoleClock {
    TWallTime Time{2025, 3, 9, 14, 5, 7, 42};
    std::int64_t Mono = 5000;
    std::deque<std::pair<int, std::function<void()>>> Deferred;
    TWallTime Now() const override { return Time; }
    std::int64_t MonotonicMs() const override { return Mono; }
    void Defer(int ms, std::function<void()> call) override { Deferred.emplace_back(ms, std::move(call)); }
    void RunDeferred()
    {
        while (!Deferred.empty()) {
            auto call = std::move(Deferred.front().second);
            Deferred.pop_front();
            call();
        }
    }
};

struct FakeDialogs : IConsoleDialogs {
    std::optional<TSelfReplyTexts> SelfReply;
    std::optional<std::pair<std::string, std::string>> CycleRange;
    std::optional<std::string> RepliesPerStep;
    std::optional<std::pair<std::string, std::string>> LongFrameIds;
    std::optional<std::pair<bool, bool>> AnsweredReads;
    std::optional<int> MaxTariff;
    std::vector<std::pair<std::string, int>> Synced;
    std::optional<TSelfReplyTexts> AskSelfReply(const std::string&, const std::string&) override { return SelfReply; }
    std::optional<std::pair<std::string, std::string>> AskCycleRange(const std::string&,
                                                                     const std::string&) override
    {
        return CycleRange;
    }
    std::optional<std::string> AskRepliesPerStep(const std::string&) override { return RepliesPerStep; }
    std::optional<std::pair<std::string, std::string>> AskLongFrameIds(const std::string&,
                                                                       const std::string&) override
    {
        return LongFrameIds;
    }
    std::optional<std::pair<bool, bool>> AskAnsweredReads() override { return AnsweredReads; }
    std::optional<int> AskMaxTariff() override { return MaxTariff; }
    void SyncComSettings(const std::string& s, int item) override { Synced.emplace_back(s, item); }
};

struct FakeRoute : IRouteCheck {
    bool Ready = true;
    int Result = 1;
    std::uint8_t SetsPhase = 0;  // the phase byte the route table gives the meter, 0 = none
    std::vector<Bytes> Paths;
    std::vector<int> Phases;
    bool IndexReady() const override { return Ready; }
    int CheckRoute(const std::uint8_t* path, int count, std::uint8_t phase, bool,
                   TZbSxMeter& meter) override
    {
        Paths.emplace_back(path, path + 6 * count);
        Phases.push_back(phase);
        if (SetsPhase != 0)
            meter.PhaseByte = SetsPhase;
        return Result;
    }
};

struct FakeListen : IListenDisplay {
    std::vector<Bytes> Bursts;    // the bytes handed on, up to lastIndex
    std::vector<Bytes> Carriers;  // up to endIndex
    std::vector<int> BurstTails;  // the byte after the burst (must read 0)
    void ShowListenFrame(const std::uint8_t* burst, int lastIndex) override
    {
        Bursts.emplace_back(burst, burst + lastIndex + 1);
        BurstTails.push_back(lastIndex + 1 < TFrameAssembler::kRxBufferSize ? burst[lastIndex + 1] : 0);
    }
    void ShowCarrierFrame(const std::uint8_t* frame, int endIndex) override
    {
        Carriers.emplace_back(frame, frame + endIndex + 1);
    }
};

struct FakeCommands : ICommandFlow {
    int Scheduled = 0, Answers = 0, Commands = 0;
    void ScheduleNextCommand() override { ++Scheduled; }
    void AnswerHandled() override { ++Answers; }
    void CommandSent() override { ++Commands; }
};

// 2025-03-09 14:05:07.
inline TMeterTime MeterTime()
{
    return {2025, 3, 9, 14, 5, 7};
}

using testsupport::MakeFrame;

// A relay frame: AA L addresses phase 00 16.
inline Bytes MakeRelay(const std::vector<Bytes>& addresses, std::uint8_t phase)
{
    Bytes f = {0xAA, static_cast<std::uint8_t>(6 * addresses.size() + 2)};
    for (const Bytes& a : addresses)
        f.insert(f.end(), a.begin(), a.end());
    f.push_back(phase);
    f.push_back(0x00);
    f.push_back(0x16);
    return f;
}

inline Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline std::string Hex(const Bytes& b, const char* prefix = "<-")
{
    return prefix + BytesToHexSpaced(b.data(), static_cast<int>(b.size()));
}

inline const std::string kTime = "<-2025-03-09 14:05:07";

// The burst log the receive path writes for bytes that form no frame.
inline Lines BurstLines(const Bytes& b)
{
    return {LogSeparator, "<-收到一帧:", kTime, Hex(b)};
}

class CoreTest : public ::testing::Test {
protected:
    CoreTest() : core(Ports(), MeterTime) {}

    TConsolePorts Ports()
    {
        TConsolePorts p;
        p.Line = &line;
        p.Log = &log;
        p.Status = &status;
        p.Clock = &clock;
        p.Dialogs = &dialogs;
        p.Route = &route;
        p.Listen = &listen;
        p.Commands = &commands;
        return p;
    }

    // One read that ends the burst.
    void Read(const Bytes& b, int pending = 0)
    {
        core.MSComm1Comm(b.data(), static_cast<int>(b.size()), pending);
    }

    FakeLine line;
    FakeLog log;
    FakeStatus status;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeRoute route;
    FakeListen listen;
    FakeCommands commands;
    TConsoleCore core;
};

}  // namespace consoletest
