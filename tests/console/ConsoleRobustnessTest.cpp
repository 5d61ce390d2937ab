// The receive path takes whatever the line brings, in every mode: random bursts, stray relay
// frames, frames split at random places, with and without the frame gap in between. Nothing may
// crash or write outside the buffers (the sanitizer build runs this too), and whatever goes out on
// the line must be a bounded frame.
#include "ConsoleCoreFakes.h"

#include <random>

namespace consoletest {
namespace {

class ConsoleRobustness : public CoreTest {};

TEST_F(ConsoleRobustness, RandomTrafficInEveryMode)
{
    std::mt19937 rng(77);
    const Bytes addr = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    auto randomBytes = [&](int n) {
        Bytes b(static_cast<std::size_t>(n));
        for (auto& x : b)
            x = static_cast<std::uint8_t>(rng() % 4 == 0 ? 0x68 : rng());
        return b;
    };
    auto someFrame = [&]() -> Bytes {
        switch (rng() % 5) {
        case 0:
            return MakeFrame(addr, 0x01, {0x10, 0x90});
        case 1:
            return MakeFrame(addr, 0x11, {0x00, 0x00, 0x01, 0x00});
        case 2:
            return Concat(MakeFrame(addr, 0x01, {0x10, 0x90}), MakeRelay({addr, addr}, static_cast<std::uint8_t>(rng() % 4)));
        case 3: {
            Bytes r = MakeRelay({addr}, 1);
            r[1] = static_cast<std::uint8_t>(rng());  // a length that does not fit
            return r;
        }
        default:
            return randomBytes(static_cast<int>(rng() % 600));
        }
    };

    std::size_t replies = 0;
    for (int round = 0; round < 48; ++round) {
        core.SetTestMode(1 + round % 7);
        core.Options.ShowCarrier = round % 5 == 1;
        core.Options.Show645 = round % 5 == 2;
        core.Options.CycleReply = round % 5 == 3;
        core.Options.SelfReply = round % 5 == 4;
        core.Options.CrossPhase = round % 2 == 0;
        core.Options.FePreamble = round % 3 == 0;
        core.DelayOn = round % 4 == 0;
        for (int burst = 0; burst < 60; ++burst) {
            Bytes b = someFrame();
            // Split the burst into reads at random places, some with bytes still pending.
            std::size_t at = 0;
            while (at < b.size()) {
                const std::size_t n = std::min<std::size_t>(b.size() - at, 1 + rng() % 300);
                const int pending = at + n < b.size() ? static_cast<int>(b.size() - at - n) : 0;
                core.MSComm1Comm(b.data() + at, static_cast<int>(n), rng() % 3 == 0 ? 0 : pending);
                at += n;
            }
            if (rng() % 2)
                core.TimerTxOverTimer();
            clock.RunDeferred();
            ASSERT_FALSE(HasFailure());
        }
        for (const Bytes& sent : line.Sent)
            ASSERT_LE(sent.size(), static_cast<std::size_t>(TConsoleCore::kBufferSize));
        replies += line.Sent.size();
        line.Sent.clear();
    }
    // The traffic held real requests: some were answered.
    EXPECT_GT(replies, 0u);
}

}  // namespace
}  // namespace consoletest
