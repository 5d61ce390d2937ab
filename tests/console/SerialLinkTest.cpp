#include "console/PtyPair.h"
#include "console/SerialLink.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class SerialLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.Comm().SetDevice(pty.SlavePath());
        link.OnEvent = [this] { trace.push_back("event"); };
        link.OnBurst = [this](const TBytes& bytes, int pending) {
            trace.push_back("burst");
            bursts.push_back(bytes);
            lastPending = pending;
        };
        link.OnFrameGap = [this] { trace.push_back("gap"); };
    }
    void Open()
    {
        const TPortState s = link.OpenPort(true);
        ASSERT_TRUE(s.Open) << (s.LogLines.empty() ? "" : s.LogLines.front());
    }

    PtyPair pty;
    TSerialLink link;
    std::vector<std::string> trace;
    std::vector<TBytes> bursts;
    int lastPending = -1;
};

TEST_F(SerialLinkTest, OpenAndCloseTexts)
{
    const std::string dev = pty.SlavePath();
    EXPECT_EQ(link.ShowPortState().PanelText, dev + "关闭9600,e,8,1");
    EXPECT_EQ(link.ShowPortState().ButtonCaption, "打开串口");

    const TPortState open = link.OpenPort(true);
    EXPECT_TRUE(open.Open);
    EXPECT_EQ(open.ButtonCaption, "关闭串口");
    EXPECT_EQ(open.PanelText, dev + "打开,9600,e,8,1");
    EXPECT_EQ(open.LogLines, std::vector<std::string>{dev + "打开,9600,e,8,1"});
    EXPECT_FALSE(link.TimerTxOver().isActive());
    EXPECT_EQ(link.ShowPortState().PanelText, dev + "打开9600,e,8,1");

    const TPortState closed = link.OpenPort(false);
    EXPECT_FALSE(closed.Open);
    EXPECT_FALSE(link.Comm().PortOpen());
    EXPECT_EQ(closed.ButtonCaption, "打开串口");
    EXPECT_EQ(closed.PanelText, dev + "关闭,9600,e,8,1");
    EXPECT_EQ(closed.LogLines, std::vector<std::string>{dev + "关闭"});
}

TEST_F(SerialLinkTest, AFailedOpenLeavesThePortClosedAndSaysWhy)
{
    struct Case { std::string device; std::string settings; std::string reason; };
    const Case cases[] = {
        {"/dev/ammerlin-no-such-port", "9600,e,8,1", "设备不存在"},
        {pty.SlavePath(), "9600,e,9,1", "数据位须为5到8"},
        {pty.SlavePath(), ",e,8,1", "速率须为正整数"},
    };
    for (const Case& c : cases) {
        link.Comm().SetDevice(c.device);
        ASSERT_TRUE(link.Comm().SetSettings(c.settings)) << "a closed port checks at open";
        const TPortState s = link.OpenPort(true);
        EXPECT_FALSE(s.Open) << c.device << " " << c.settings;
        EXPECT_FALSE(link.Comm().PortOpen());
        EXPECT_EQ(s.ButtonCaption, "打开串口");
        EXPECT_EQ(s.PanelText, c.device + "关闭," + c.settings);
        ASSERT_EQ(s.LogLines.size(), 2u);
        EXPECT_NE(s.LogLines[0].find(c.reason), std::string::npos) << s.LogLines[0];
        EXPECT_EQ(s.LogLines[1], c.device + "关闭");
    }
}

TEST(OpenErrorText, NamesTheDialoutGroupForAPermissionProblem)
{
    EXPECT_NE(OpenErrorText("/dev/ttyUSB0", QSerialPort::PermissionError, true, "").find("dialout"),
              std::string::npos);
    EXPECT_EQ(OpenErrorText("/dev/ttyUSB0", QSerialPort::PermissionError, false, ""),
              "串口/dev/ttyUSB0打开失败:设备正被其他程序使用");
    EXPECT_EQ(OpenErrorText("/dev/ttyS9", QSerialPort::DeviceNotFoundError, false, ""),
              "串口/dev/ttyS9打开失败:设备不存在");
}

TEST_F(SerialLinkTest, ABurstSplitWithinTheWaitIsOneRead)
{
    Open();
    pty.Write({0x68, 0x11, 0x22});
    ASSERT_TRUE(SpinUntil([&] { return !trace.empty(); }, 1000ms));
    pty.Write({0x33, 0x16});  // while the cycle waits
    ASSERT_TRUE(SpinUntil([&] { return !bursts.empty(); }, 1000ms));
    SpinFor(100ms);
    ASSERT_EQ(bursts.size(), 1u);
    EXPECT_EQ(bursts[0], (TBytes{0x68, 0x11, 0x22, 0x33, 0x16}));
    EXPECT_EQ(lastPending, 0);
    EXPECT_TRUE(link.TimerTxOver().isActive()) << "the receive event starts the frame gap";
}

TEST_F(SerialLinkTest, TheFrameGapNeverCutsARead)
{
    link.SetFrameGap(5);
    Open();
    pty.Write({0x68});
    ASSERT_TRUE(SpinUntil([&] { return std::count(trace.begin(), trace.end(), "gap") >= 1; }, 1000ms));
    ASSERT_GE(trace.size(), 3u);
    EXPECT_EQ(trace[0], "event");
    EXPECT_EQ(trace[1], "burst");
    EXPECT_EQ(trace[2], "gap");
}

TEST_F(SerialLinkTest, RepliesAreNeverPurgedAndKeepTheirOrder)
{
    Open();
    link.SendBytes({0x68, 0x01, 0x02}, {0, 20, 20}, TByteSender::Clock::now());
    link.Send({0xA0, 0xA1});  // queued behind the byte-by-byte reply
    link.SendBytes({0x16}, {0}, TByteSender::Clock::now());
    EXPECT_EQ(pty.Read(6, 2000ms), (TBytes{0x68, 0x01, 0x02, 0xA0, 0xA1, 0x16}));
}

TEST_F(SerialLinkTest, ClosingTheOtherEndClosesThePortAndReportsIt)
{
    Open();
    std::optional<TPortState> lost;
    link.OnPortLost = [&](const TPortState& s) { lost = s; };
    pty.CloseMaster();
    ASSERT_TRUE(SpinUntil([&] { return lost.has_value(); }, 2000ms));
    EXPECT_FALSE(lost->Open);
    EXPECT_FALSE(link.Comm().PortOpen());
    EXPECT_EQ(lost->ButtonCaption, "打开串口");
    EXPECT_EQ(lost->PanelText, pty.SlavePath() + "关闭,9600,e,8,1");
    ASSERT_EQ(lost->LogLines.size(), 2u);
    EXPECT_EQ(lost->LogLines[1], pty.SlavePath() + "关闭");
    EXPECT_FALSE(link.TimerTxOver().isActive());
}

TEST_F(SerialLinkTest, ARateChangeWaitsForTheReplyInFlight)
{
    Open();
    // More than the pseudo-terminal holds, so most of it waits in the port's queue.
    const TBytes reply(300000, 0x55);
    ASSERT_TRUE(link.Send(reply));
    SpinFor(20ms);
    ASSERT_GT(link.Comm().OutBufferCount(), 0);
    ASSERT_TRUE(link.ChangeSettings("1200,e,8,1"));
    EXPECT_EQ(link.Settings(), "1200,e,8,1");
    link.Send({0x16});  // asked for after the change: leaves at the new rate
    SpinFor(50ms);
    EXPECT_EQ(pty.Baud(), 9600) << "changed while the reply was still queued";

    const TBytes got = pty.Read(reply.size() + 1, 5000ms);
    ASSERT_EQ(got.size(), reply.size() + 1);
    EXPECT_EQ(got.back(), 0x16);
    EXPECT_TRUE(SpinUntil([&] { return pty.Baud() == 1200; }, 1000ms));
    EXPECT_EQ(link.Comm().Settings(), "1200,e,8,1");

    std::string error;
    EXPECT_FALSE(link.ChangeSettings("1200,x,8,1", &error));
    EXPECT_NE(error.find("校验"), std::string::npos) << error;
}

TEST(ReplyByteDelays, TakesTheDesignedEntries)
{
    std::vector<int> table(50);
    for (int k = 0; k < 50; ++k)
        table[k] = 100 + k;
    EXPECT_EQ(ReplyByteDelays(table, false, 4), (std::vector<int>{100, 101, 101, 101}));
    const auto perByte = ReplyByteDelays(table, true, 52);
    EXPECT_EQ(perByte[0], 100);
    EXPECT_EQ(perByte[3], 103);
    EXPECT_EQ(perByte[49], 149);
    EXPECT_EQ(perByte[51], 149);
}

} // namespace
