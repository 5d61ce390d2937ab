// Times on a pseudo-terminal: run alone (label "timing"), so that lower bounds are tight and
// upper bounds only need to allow for scheduling.
#include "console/PtyPair.h"
#include "console/SerialLink.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

long long MsBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count();
}

class SerialTiming : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.Comm().SetDevice(pty.SlavePath());
        ASSERT_TRUE(link.OpenPort(true).Open);
    }
    PtyPair pty;
    TSerialLink link;
};

TEST_F(SerialTiming, ByteByByteReplyKeepsItsDelays)
{
    const auto start = Clock::now();
    link.SendBytes({0xAA, 0xBB}, {200, 100}, start);
    const auto got = pty.ReadTimed(2, 2000ms);
    ASSERT_EQ(got.size(), 2u);
    const long long first = MsBetween(start, got[0].Time);
    const long long second = MsBetween(start, got[1].Time);
    EXPECT_GE(first, 200);
    EXPECT_LE(first, 350);
    EXPECT_GE(second, 300);
    EXPECT_LE(second, 450);
    // Reading late only moves a byte later: the gap says something only when the first byte was
    // read on time.
    if (first <= 220) {
        EXPECT_GE(MsBetween(got[0].Time, got[1].Time), 75);
    }
    EXPECT_FALSE(link.Sender().Busy());
}

TEST_F(SerialTiming, TheReadWaitsTwiceThirtyMilliseconds)
{
    Clock::time_point event, burst;
    link.OnEvent = [&] { event = Clock::now(); };
    link.OnBurst = [&](const TBytes&, int) { burst = Clock::now(); };
    pty.Write({0x68});
    ASSERT_TRUE(SpinUntil([&] { return burst != Clock::time_point{}; }, 1000ms));
    EXPECT_GE(MsBetween(event, burst), 60);
    EXPECT_LE(MsBetween(event, burst), 200);
}

TEST_F(SerialTiming, BytesArrivingDuringTheSecondWaitAreReportedPending)
{
    std::vector<std::pair<TBytes, int>> bursts;
    link.OnBurst = [&](const TBytes& bytes, int pending) { bursts.emplace_back(bytes, pending); };
    pty.Write({0x01});
    ASSERT_TRUE(SpinUntil([&] { return link.Receiver().Busy(); }, 1000ms));
    SpinFor(45ms);  // after the read at 30 ms, before the look at 60 ms
    pty.Write({0x02});
    ASSERT_TRUE(SpinUntil([&] { return bursts.size() == 2; }, 1000ms));
    EXPECT_EQ(bursts[0], std::make_pair(TBytes{0x01}, 1));
    EXPECT_EQ(bursts[1], std::make_pair(TBytes{0x02}, 0));
}

TEST_F(SerialTiming, ARateChangeWaitsForTheByteByByteReply)
{
    link.SendBytes({0x01, 0x02}, {0, 150}, Clock::now());
    ASSERT_TRUE(link.ChangeSettings("2400,e,8,1"));
    const auto first = pty.ReadTimed(1, 1000ms);
    ASSERT_EQ(first.size(), 1u);
    SpinFor(50ms);
    EXPECT_EQ(pty.Baud(), 9600) << "the reply is still being sent";
    const auto second = pty.ReadTimed(1, 1000ms);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].Byte, 0x02);
    EXPECT_TRUE(SpinUntil([&] { return pty.Baud() == 2400; }, 1000ms));
}

} // namespace
