// Receive-path throughput: frames per second through the line framing and HandleFrame.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "console/FConsoleCore.h"
#include "meter/FFunct.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct NullLine : IConsoleLine {
    bool IsOpen() const override { return true; }
    void Open() override {}
    void Close() override {}
    int PortNumber() const override { return 1; }
    std::string Settings() const override { return "9600,e,8,1"; }
    void SetSettings(const std::string&) override {}
    bool Send(const Bytes&) override { return true; }
    void SendPaced(const Bytes&, const std::vector<int>&, std::int64_t,
                   std::function<void()> done) override
    {
        done();
    }
};

// Keeps the lines the way a window would (the text is built), without widgets.
struct CountingLog : IConsoleLog {
    std::size_t Chars = 0;
    void Append(TLogId, const std::string& line) override { Chars += line.size(); }
    void Clear(TLogId) override {}
};

struct NullStatus : IConsoleStatus {
    void ShowPanel(int, const std::string&) override {}
    void SetPortCaption(const std::string&) override {}
    void ToggleTxLamp() override {}
    void ShowAddressRow(int, const std::string&) override {}
    void ShowPassword(const std::string&) override {}
    void ShowEnergy() override {}
};

struct FixedClock : IConsoleClock {
    TWallTime Now() const override { return {2025, 3, 9, 14, 5, 7, 0}; }
    std::int64_t MonotonicMs() const override { return 0; }
    void Defer(int, std::function<void()> call) override { call(); }
};

Bytes MakeFrame(std::uint8_t lastAddressByte)
{
    Bytes f = {0xFE, 0xFE, 0xFE, 0xFE, 0x68, 0x01, 0x00, 0x00, 0x00, 0x00, lastAddressByte, 0x68,
               0x01, 0x02, 0x43, 0xC3};
    f.push_back(ByteSum(f.data() + 4, static_cast<int>(f.size()) - 4));
    f.push_back(0x16);
    return f;
}

// 10,000 frames per iteration, each its own read, as the serial cycle hands them in; the test
// mode decides whether the meter answers or the list refuses.
void FramesThroughTheCore(benchmark::State& state, int mode)
{
    NullLine line;
    CountingLog log;
    NullStatus status;
    FixedClock clock;
    TConsolePorts ports;
    ports.Line = &line;
    ports.Log = &log;
    ports.Status = &status;
    ports.Clock = &clock;
    TConsoleCore core(ports);
    core.SetTestMode(mode);
    std::vector<Bytes> frames;
    for (int k = 0; k < 64; ++k)
        frames.push_back(MakeFrame(static_cast<std::uint8_t>(k)));

    constexpr int kFrames = 10000;
    for (auto _ : state) {
        for (int k = 0; k < kFrames; ++k) {
            const Bytes& f = frames[static_cast<std::size_t>(k % 64)];
            core.MSComm1Comm(f.data(), static_cast<int>(f.size()), 0);
        }
    }
    benchmark::DoNotOptimize(log.Chars);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                           benchmark::Counter::kIsRate);
}

void BM_BlackListAccepts(benchmark::State& state) { FramesThroughTheCore(state, 3); }
void BM_WhiteListRefuses(benchmark::State& state) { FramesThroughTheCore(state, 2); }

// The assembler alone, with a sink that does nothing.
struct NullSink : TAssemblerSink {
    int Frames = 0;
    void FrameAssembled(const std::uint8_t*, int) override { ++Frames; }
    void RelayAssembled(bool) override {}
    void BurstDropped(const std::uint8_t*, int, const char*, bool) override {}
    bool DisplayFrameAssembled(const std::uint8_t*, int) override { return true; }
    void CarrierFrameAssembled(const std::uint8_t*, int) override {}
    void ListenBurst(const std::uint8_t*, int) override {}
    void RequestAssembled(const std::uint8_t*, int, int) override {}
    void RequestBurstEnded() override {}
    void BurstOverflow(TAssemblerMode, const std::uint8_t*, int) override {}
    void BurstOverflowEnded(TAssemblerMode, int) override {}
};

void BM_AssemblerAlone(benchmark::State& state)
{
    TFrameAssembler assembler;
    NullSink sink;
    const Bytes frame = MakeFrame(1);
    constexpr int kFrames = 10000;
    for (auto _ : state)
        for (int k = 0; k < kFrames; ++k)
            assembler.Feed(TAssemblerMode::Normal, frame.data(), static_cast<int>(frame.size()), 0,
                           sink);
    benchmark::DoNotOptimize(sink.Frames);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                           benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_BlackListAccepts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WhiteListRefuses)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssemblerAlone)->Unit(benchmark::kMillisecond);
