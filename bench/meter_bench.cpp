// Frames per second through the meter's frame engine over a mixed set of read requests, the 1997
// reads on their own, and the loading of the identifier names.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "meter/FFunct.h"
#include "meter/FMeter.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(std::uint8_t c, const Bytes& data)
{
    Bytes f = {0x68, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x68, c, static_cast<std::uint8_t>(data.size())};
    for (std::uint8_t b : data)
        f.push_back(static_cast<std::uint8_t>(b + 0x33));
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    return f;
}

std::vector<Bytes> MixedRequests()
{
    return {
        Frame(0x01, {0x10, 0x90}),                          // 1997 total energy
        Frame(0x01, {0x1F, 0x90}),                          // 1997 energy block
        Frame(0x01, {0x11, 0xB6}),                          // 1997 voltage A
        Frame(0x01, {0x10, 0xC0}),                          // 1997 date
        Frame(0x11, {0x00, 0x00, 0x01, 0x00}),              // 2007 forward active total
        Frame(0x11, {0x00, 0xFF, 0x01, 0x00}),              // 2007 forward active block
        Frame(0x11, {0x00, 0x01, 0x01, 0x02}),              // 2007 voltage A
        Frame(0x11, {0x01, 0x01, 0x00, 0x04}),              // 2007 date
        Frame(0x81, {0x10, 0x90, 0x78, 0x56, 0x34, 0x12}),  // an answer of another meter
    };
}

// Hands the requests to the meter in turn, counting frames per second.
void RunRequests(benchmark::State& state, TZbSxMeter& meter, std::uint8_t* rx, const std::vector<Bytes>& requests)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const Bytes& f = requests[i];
        i = (i + 1) % requests.size();
        std::copy(f.begin(), f.end(), rx);
        meter.ProcessFrame(static_cast<int>(f.size()));
        benchmark::DoNotOptimize(meter.TxLength);
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

// A meter at a fixed time that accepts every address, on buffers of its caller's; a fresh one
// for each benchmark.
TZbSxMeter& FixedMeter(std::uint8_t* rx)
{
    static std::unique_ptr<TZbSxMeter> meter;
    static std::uint8_t tx[TZbSxMeter::kFrameBufferSize];
    meter = std::make_unique<TZbSxMeter>([] { return TMeterTime{2025, 3, 9, 14, 5, 7}; });
    meter->SetFrameBuffer(rx);
    meter->SetTxBuffer(tx);
    meter->OnCheckAddress = [] {};
    return *meter;
}

void BM_ProcessFrame(benchmark::State& state)
{
    static std::uint8_t rx[TZbSxMeter::kFrameBufferSize];
    TZbSxMeter& meter = FixedMeter(rx);
    RunRequests(state, meter, rx, MixedRequests());
}
BENCHMARK(BM_ProcessFrame);

// The DL/T 645-2007 read of the forward active energy (00 01 00 00), the console's most common
// request, with the texts the console logs for it.
void BM_Energy07Read(benchmark::State& state)
{
    static std::uint8_t rx[TZbSxMeter::kFrameBufferSize];
    TZbSxMeter& meter = FixedMeter(rx);
    meter.DetailTexts = false;  // as the console has it
    meter.Protocol = mpDlt645_2007;
    RunRequests(state, meter, rx, {Frame(0x11, {0x00, 0x00, 0x01, 0x00})});
}
BENCHMARK(BM_Energy07Read);

// Frames per second of DL/T 645-2007 reads alone, over every read family the meter serves.
void BM_Mixed07Reads(benchmark::State& state)
{
    static std::uint8_t rx[TZbSxMeter::kFrameBufferSize];
    TZbSxMeter& meter = FixedMeter(rx);
    meter.Protocol = mpDlt645_2007;
    meter.MaxTariff = 4;
    // Identifiers in line order, DI0 first.
    const std::vector<Bytes> requests = {
        Frame(0x11, {0x00, 0x00, 0x01, 0x00}),                          // energy
        Frame(0x11, {0x03, 0xFF, 0x01, 0x00}),                          // energy block, settlement 3
        Frame(0x11, {0x0C, 0x01, 0x90, 0x00}),                          // settlement packet
        Frame(0x11, {0x00, 0xFF, 0x01, 0x01}),                          // demand block
        Frame(0x11, {0x00, 0xFF, 0x03, 0x02}),                          // active powers
        Frame(0x11, {0x05, 0x01, 0x80, 0x02}),                          // energy, money and events
        Frame(0x11, {0xFF, 0x05, 0x00, 0x04}),                          // status words
        Frame(0x11, {0x01, 0x02, 0x30, 0x03}),                          // demand-clear record
        Frame(0x12, {0x01, 0x02, 0x30, 0x03, 0x01}),                    // its follow-up frame
        Frame(0x11, {0x01, 0xFF, 0x06, 0x05}),                          // day-freeze block
        Frame(0x11, {0x01, 0xFF, 0x01, 0x05}),                          // instant-freeze block
        Frame(0x11, {0x00, 0x00, 0x00, 0x00, 0x43, 0x00, 0x10, 0x09, 0x03, 0x25}),  // load records
        Frame(0x11, {0x01, 0x99, 0x01, 0x20}),                          // sub-meters
    };
    RunRequests(state, meter, rx, requests);
}
BENCHMARK(BM_Mixed07Reads);

// 1997 reads over the identifier families, short and long replies, with the identifier names of
// the shipped database looked up for every frame as the console's log needs them.
std::vector<Bytes> Reads97()
{
    std::vector<Bytes> frames;
    for (std::uint16_t id : {0x9010, 0x901F, 0x9091, 0x90AF, 0x911F, 0x941F, 0x951F, 0xA01F, 0xB01F,
                             0xB21F, 0xB33F, 0xB61F, 0xB63F, 0xC010, 0xC011, 0xC032, 0xC34F, 0xE121,
                             0xE720, 0xE852, 0xE861, 0xEB25, 0xEC10, 0x9015}) {
        frames.push_back(Frame(0x01, {static_cast<std::uint8_t>(id & 0xFF), static_cast<std::uint8_t>(id >> 8)}));
    }
    return frames;
}

void BM_Read97(benchmark::State& state)
{
    static std::uint8_t rx[TZbSxMeter::kFrameBufferSize];
    TZbSxMeter& meter = FixedMeter(rx);
    meter.AddrText = "000000123456";
    TDmId645 names(AMMERLIN_FIXTURES_DIR "/DIData.mdb");
    names.LoadDataCodes(meter.DataIdList);
    meter.DetailTexts = state.range(0) != 0;
    RunRequests(state, meter, rx, Reads97());
}
// 1: every text, as the meter builds them by default; 0: the console's texts only.
BENCHMARK(BM_Read97)->Arg(1)->Arg(0);

// Reading the identifier names once, as the meter does when it is built.
void BM_LoadDataIdNames(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<_StIdRdHlj97> list;
        TDmId645 names(AMMERLIN_FIXTURES_DIR "/DIData.mdb");
        names.LoadDataCodes(list);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_LoadDataIdNames)->Unit(benchmark::kMillisecond);

void BM_TickSecond(benchmark::State& state)
{
    TZbSxMeter meter([] { return TMeterTime{2025, 3, 9, 14, 5, 7}; });
    for (auto _ : state) {
        meter.TickSecond();
        benchmark::DoNotOptimize(meter.Clock);
    }
}
BENCHMARK(BM_TickSecond);

// A whole day of one-second ticks (86 400), once under DL/T 645-1997 with a grid input and once
// under DL/T 645-2007 with the AC-input model: every minute, hour and day step included.
void BM_TickDay(benchmark::State& state)
{
    TZbSxMeter meter([] { return TMeterTime{2025, 3, 9, 0, 0, 0}; });
    meter.Protocol = static_cast<std::uint8_t>(state.range(0));
    for (int k = 0; k < 3; ++k) {
        meter.VoltageBin[k] = 220;
        meter.CurrentBin[k] = 1000;
        meter.PowerFactorBin[k] = 1000;
    }
    meter.CalcPowerIncrements();
    for (auto _ : state) {
        for (int i = 0; i < 24 * 60 * 60; ++i)
            meter.TickSecond();
        benchmark::DoNotOptimize(meter.TotalEnergy);
    }
    state.counters["ticks/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * 86400,
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TickDay)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
