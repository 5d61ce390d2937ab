// How late the console's reply leaves: the whole program (serial link, receive cycle, core,
// meter and a hidden main window with its logs) on the real event loop, read over a
// pseudo-terminal by an independent master in a thread of its own. Each read: the request in
// one write, then the time to the first reply byte, less the designed 30 + 30 ms waits.
// AMMERLIN_BENCH_READS sets the number of reads (default 2,000, about three minutes); ten reads
// before them warm the program up (first layout of the logs, fonts) and are not counted.
#include "ConsoleWindowBench.h"

#include <benchmark/benchmark.h>

#include <QTimer>

#include <poll.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace benchsupport;
using Clock = std::chrono::steady_clock;

// Reads one whole reply (68 .. 16) from the master end; false on a timeout.
bool ReadReply(int fd, Clock::time_point& first)
{
    Bytes got;
    bool started = false;
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5) != 1)
            continue;
        std::uint8_t buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        if (!started) {
            first = Clock::now();
            started = true;
        }
        got.insert(got.end(), buffer, buffer + n);
        const auto start = std::find(got.begin(), got.end(), std::uint8_t{0x68});
        const auto at = static_cast<std::size_t>(start - got.begin());
        if (got.size() >= at + 10 && got.size() >= at + 12u + got[at + 9])
            return true;
    }
    return false;
}

void BM_ReplyLatency(benchmark::State& state)
{
    const int reads = CountFromEnv("AMMERLIN_BENCH_READS", 2000);
    ConsoleOnPty console;
    const Bytes request = ReadRequest();
    for (auto _ : state) {
        std::vector<double> lateMs;
        std::atomic<bool> done = false;
        int lost = 0;
        std::thread master([&] {
            constexpr int kWarmUp = 10;
            for (int k = -kWarmUp; k < reads; ++k) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (::write(console.Master(), request.data(), request.size()) != ssize_t(request.size())) {
                    ++lost;
                    continue;
                }
                const auto sent = Clock::now();
                Clock::time_point first;
                if (!ReadReply(console.Master(), first)) {
                    ++lost;
                    continue;
                }
                if (k >= 0)
                    lateMs.push_back(std::chrono::duration<double, std::milli>(first - sent).count() - 60.0);
            }
            done = true;
        });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (done)
                App().quit();
        });
        poll.start(50);
        App().exec();
        master.join();
        std::sort(lateMs.begin(), lateMs.end());
        const auto at = [&](double q) {
            return lateMs.empty() ? -1.0 : lateMs[std::min(lateMs.size() - 1, std::size_t(q * double(lateMs.size())))];
        };
        state.counters["p50_late_ms"] = at(0.50);
        state.counters["p99_late_ms"] = at(0.99);
        state.counters["max_late_ms"] = lateMs.empty() ? -1.0 : lateMs.back();
        state.counters["reads"] = double(lateMs.size());
        state.counters["unanswered"] = lost;
    }
}
BENCHMARK(BM_ReplyLatency)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
