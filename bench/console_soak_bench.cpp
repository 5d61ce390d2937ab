// Memory over a long run: the whole window answers one read after another (each frame handed to
// the receive path as the serial cycle would, the reply written to a pseudo-terminal whose other
// end a thread empties, the event loop turned after each read so the logs show their lines).
// Reports the RSS growth after the first 1,000 reads (both readings after the allocator has
// given its free pages back, so the figure is memory in use, not the allocator's slack) and checks that the log panes and their
// automatic log files together hold every line. AMMERLIN_BENCH_READS sets the number of reads
// (default 100,000).
#include "ConsoleWindowBench.h"

#include <benchmark/benchmark.h>

#include <QDir>

#include <malloc.h>
#include <poll.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace {

using namespace benchsupport;

long FileLines(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    long lines = 0;
    for (std::string line; std::getline(file, line);)
        ++lines;
    return lines;
}

void BM_SoakAnsweredReads(benchmark::State& state)
{
    const int reads = CountFromEnv("AMMERLIN_BENCH_READS", 100000);
    ConsoleOnPty console;
    TFrmMain& w = console.Window();
    const Bytes request = ReadRequest();
    std::atomic<bool> stop = false;
    std::atomic<long> replyBytes = 0;
    std::thread drain([&] {
        std::uint8_t buffer[4096];
        while (!stop) {
            pollfd p{console.Master(), POLLIN, 0};
            if (::poll(&p, 1, 10) == 1) {
                const ssize_t n = ::read(console.Master(), buffer, sizeof buffer);
                if (n > 0)
                    replyBytes += n;
            }
        }
    });
    const auto memos = w.LogMemos();
    std::vector<long> startLines;
    for (TLogMemo* memo : memos)
        startLines.push_back(memo->LineCount());
    std::vector<long> perRead(memos.size(), 0);

    for (auto _ : state) {
        long rssAfterFirst = 0;
        for (int k = 0; k < reads; ++k) {
            w.Core->MSComm1Comm(request.data(), static_cast<int>(request.size()), 0);
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (k == 0)
                for (std::size_t i = 0; i < memos.size(); ++i)
                    perRead[i] = memos[i]->LineCount() - startLines[i];
            if (k == 999 || (k == reads - 1 && reads < 1000)) {
                ::malloc_trim(0);
                rssAfterFirst = RssKb();
            }
        }
        for (TLogMemo* memo : memos)
            memo->Flush();
        ::malloc_trim(0);
        const long rssEnd = RssKb();
        long missing = 0;
        for (std::size_t i = 0; i < memos.size(); ++i) {
            const long expected = startLines[i] + perRead[i] * reads;
            const std::string& file = memos[i]->OverflowFile();
            const long held = memos[i]->LineCount() + (file.empty() ? 0 : FileLines(file));
            missing += expected - held;
        }
        state.counters["rss_growth_MB"] = double(rssEnd - rssAfterFirst) / 1024.0;
        state.counters["rss_end_MB"] = double(rssEnd) / 1024.0;
        state.counters["lines_missing"] = double(missing);
        state.counters["reads/s"] = benchmark::Counter(double(reads), benchmark::Counter::kIsRate);
    }
    stop = true;
    drain.join();
    state.counters["reply_bytes"] = double(replyBytes.load());
}
BENCHMARK(BM_SoakAnsweredReads)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
