// Frame handling in the relay and routing tests, sending, the phase check and the port.
#include "ConsoleCoreFakes.h"

namespace consoletest {
namespace {

const Bytes kRelay1 = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
const Bytes kDest = {0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
const Bytes kFrame = MakeFrame(kDest, 0x01, {0x10, 0x90});
constexpr std::uint8_t kNotRun = 0xEE;

bool StartsWith(const Lines& lines, const Lines& head)
{
    return lines.size() >= head.size() && std::equal(head.begin(), head.end(), lines.begin());
}

const Lines kPathLines = {RelaySeparator, "中继路径如下:", "第00级中继:010203040506",
                          "目  的  表:040000000000"};
const Lines kFrameLines = {LogSeparator, "<-收到一帧:", kTime, Hex(kFrame)};

class Relay : public CoreTest {
protected:
    Relay()
    {
        core.Meter->StatusCode = kNotRun;
        core.SetAddressRow(0, "010203040506");
        core.SetAddressRow(1, "040000000000");
    }
    bool MeterRan() const { return core.Meter->StatusCode != kNotRun; }
    Lines Joined(Lines a, const Lines& b)
    {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

TEST_F(Relay, A645FrameAloneWaitsForItsRelayFrame)
{
    core.SetTestMode(1);
    Read(kFrame);
    EXPECT_TRUE(log.Op().empty());
    EXPECT_EQ(core.FrameLength, static_cast<int>(kFrame.size()));
    EXPECT_FALSE(MeterRan());

    const Bytes relay = MakeRelay({kRelay1, kDest}, 1);
    Read(relay);
    EXPECT_TRUE(StartsWith(log.Op(), Joined(kPathLines, kFrameLines)));
    EXPECT_TRUE(StartsWith(log.Raw(), {Hex(relay), Hex(kFrame)}));
    EXPECT_TRUE(MeterRan());
    EXPECT_EQ(core.RelayTarget, "040000000000");
    EXPECT_EQ(core.FrameLength, 0);
    EXPECT_EQ(status.Panels[4], "RSuc:1");
}

struct RelayCase {
    const char* Name;
    int Mode;
    std::string Row0;       // stored through SetAddressRow
    Bytes RelayFrame;
    bool RouteReady;
    int RouteResult;
    Lines PathLines;        // what the path check logs before the frame
    bool Answered;          // the meter handles the frame
};

void PrintTo(const RelayCase& c, std::ostream* os)
{
    *os << c.Name;
}

Bytes LongRelay(int l)
{
    Bytes f = {0xAA, static_cast<std::uint8_t>(l)};
    f.insert(f.end(), static_cast<std::size_t>(l), 0x11);
    f.push_back(0x16);
    return f;
}

std::vector<RelayCase> RelayCases()
{
    const Bytes good = MakeRelay({kRelay1, kDest}, 1);
    std::vector<Bytes> nine(9, kRelay1);
    return {
        {"relay path matches", 1, "010203040506", good, true, 1, kPathLines, true},
        {"relay row typed lower case", 1, "0a0203040506",
         MakeRelay({{0x0A, 0x02, 0x03, 0x04, 0x05, 0x06}, kDest}, 1), true, 1,
         {RelaySeparator, "中继路径如下:", "第00级中继:0A0203040506", "目  的  表:040000000000"}, true},
        {"relay row differs", 1, "010203040507", good, true, 1, kPathLines, false},
        {"L not a whole number of addresses", 1, "010203040506", LongRelay(10), true, 1,
         {"<-路径有误"}, false},
        {"L of 255 fits the relay buffer", 1, "010203040506", LongRelay(255), true, 1,
         {"<-路径有误"}, false},
        {"nine addresses", 1, "010203040506", MakeRelay(nine, 1), true, 1,
         {RelaySeparator, "中继路径如下:", "第00级中继:010203040506", "第01级中继:010203040506",
          "第02级中继:010203040506", "第03级中继:010203040506", "第04级中继:010203040506",
          "第05级中继:010203040506", "第06级中继:010203040506", "第07级中继:010203040506"},
         false},
        {"route agrees", 7, "010203040506", good, true, 1, kPathLines, true},
        {"route phase differs", 7, "010203040506", good, true, 2,
         {RelaySeparator, "中继路径如下:", "第00级中继:010203040506", "目  的  表:040000000000",
          "<-目的表相位不符"}, false},
        {"route wrong", 7, "010203040506", good, true, 3,
         {RelaySeparator, "中继路径如下:", "第00级中继:010203040506", "目  的  表:040000000000",
          "<-路径有误"}, false},
    };
}

class RelayTable : public Relay, public ::testing::WithParamInterface<RelayCase> {};

TEST_P(RelayTable, ChecksThePathBeforeTheMeterRuns)
{
    const RelayCase& c = GetParam();
    core.SetTestMode(c.Mode);
    core.SetAddressRow(0, c.Row0);
    route.Ready = c.RouteReady;
    route.Result = c.RouteResult;
    Read(Concat(kFrame, c.RelayFrame));

    Lines expected = Joined(c.PathLines, kFrameLines);
    if (!c.Answered)
        expected = Joined(expected, {"<-错误,不响应", LogSeparator});
    EXPECT_TRUE(StartsWith(log.Op(), expected)) << ::testing::PrintToString(log.Op());
    if (!c.Answered) {
        EXPECT_EQ(log.Op(), expected);
    }
    EXPECT_TRUE(StartsWith(log.Raw(), {Hex(c.RelayFrame), Hex(kFrame)}));
    EXPECT_EQ(MeterRan(), c.Answered);
    EXPECT_EQ(core.FrameLength, 0);
    EXPECT_TRUE(line.Sent.empty() || c.Answered);
    EXPECT_EQ(core.Assembler.RelayFrame[c.RelayFrame.size() - 1], 0x16);
}

INSTANTIATE_TEST_SUITE_P(Paths, RelayTable, ::testing::ValuesIn(RelayCases()),
                         [](const auto& info) {
                             std::string n = info.param.Name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

TEST_F(Relay, RoutingHandsThePathToTheRouteCheckAndShowsTheDestination)
{
    core.SetTestMode(7);
    Read(Concat(kFrame, MakeRelay({kRelay1, kDest}, 2)));
    ASSERT_EQ(route.Paths.size(), 1u);
    EXPECT_EQ(route.Paths[0], Concat(kRelay1, kDest));
    EXPECT_EQ(route.Phases[0], 2);
    EXPECT_EQ(status.Rows[0], "040000000000");
    EXPECT_EQ(core.AddressRows[0], "040000000000");
}

TEST_F(Relay, RoutingWithoutIndexLeavesTheFramesWaiting)
{
    core.SetTestMode(7);
    route.Ready = false;
    Read(Concat(kFrame, MakeRelay({kRelay1, kDest}, 1)));
    EXPECT_EQ(log.Op(), Joined(kPathLines, {"<-路由测试表地址未设置"}));
    EXPECT_TRUE(log.Raw().empty());
    EXPECT_FALSE(MeterRan());
    EXPECT_EQ(core.FrameLength, static_cast<int>(kFrame.size()));
}

TEST_F(Relay, RoutingDoesNotAnswerAFrameWithoutAValidRelayFrame)
{
    core.SetTestMode(7);
    Bytes broken = MakeRelay({kRelay1, kDest}, 1);
    broken.back() = 0x17;  // no end byte at L + 2
    Read(Concat(kFrame, broken));
    EXPECT_FALSE(MeterRan());
    EXPECT_TRUE(log.Op().empty());
    EXPECT_EQ(status.Panels[4], "RSuc:1");
}

TEST_F(Relay, OutsideTheRelayTestsAFrameIsHandledAtOnce)
{
    core.SetTestMode(3);  // black list, nothing checked: accepted
    Read(kFrame);
    EXPECT_TRUE(StartsWith(log.Op(), kFrameLines));
    EXPECT_TRUE(MeterRan());
    EXPECT_EQ(core.Meter->PhaseByte, 1);  // 040000000000 read as decimal, modulo 3
}

TEST_F(CoreTest, AnAnswerToTheConsolesCommandIsLoggedOnOneLine)
{
    core.SetTestMode(2);
    core.Options.Continuous = true;
    Read(MakeFrame({0x01, 0x00, 0x00, 0x00, 0x00, 0x00}, 0x81, {0x10, 0x90, 0x00, 0x00, 0x00, 0x00}));
    const Lines op = log.Op();
    ASSERT_EQ(op.size(), 5u);
    EXPECT_EQ(op[4].rfind("<-表号:000000000001 ", 0), 0u) << op[4];
    EXPECT_EQ(commands.Answers, 1);
    EXPECT_EQ(commands.Scheduled, 1);
    EXPECT_TRUE(line.Sent.empty());
}

TEST_F(CoreTest, ErrorBurstsMoveContinuousSendingOn)
{
    core.ContinuousSending = true;
    core.Options.Continuous = true;
    Read({0x68, 0x11});
    Read({0x01});
    EXPECT_EQ(commands.Scheduled, 2);
}

struct PhaseCase {
    std::string Address;
    std::string Target;
    bool Cross;
    std::uint8_t PhaseByte;
    bool Matches;
};

TEST_F(CoreTest, PhaseMatchesTable)
{
    const PhaseCase cases[] = {
        {"广播命令 ", "000000000005", false, 1, true},
        {"表号:1 ", "000000000005", true, 1, true},
        {"表号:1 ", "000000000004", false, 1, true},
        {"表号:1 ", "000000000004", false, 2, false},
        {"表号:1 ", "000000000003", false, 3, true},
        {"表号:1 ", "0000000000AB", false, 3, true},  // not decimal: reads 0, phase 3
        {"表号:1 ", "0000000000AB", false, 1, false},
    };
    for (const PhaseCase& c : cases) {
        core.Meter->Texts.Address = c.Address;
        core.RelayTarget = c.Target;
        core.Options.CrossPhase = c.Cross;
        core.Meter->PhaseByte = c.PhaseByte;
        EXPECT_EQ(core.PhaseMatches(), c.Matches) << c.Address << c.Target << int(c.PhaseByte);
    }
}

TEST_F(CoreTest, SendFrameWithNothingBuiltOnlyTogglesTheLamp)
{
    core.Meter->TxLength = 0;
    core.SendFrame(false);
    EXPECT_EQ(status.LampToggles, 1);
    EXPECT_TRUE(log.Op().empty());
    EXPECT_TRUE(line.Sent.empty());
}

TEST_F(CoreTest, SendFrameSendsACommandAndCountsIt)
{
    const Bytes frame = {0x68, 0x01, 0x02, 0x16, 0x00};
    std::copy(frame.begin(), frame.end(), core.TxBuffer);
    core.Meter->TxLength = 5;
    core.SendFrame(true);
    const std::string bytes = Hex(frame, "->");
    EXPECT_EQ(log.Op(), (Lines{LogSeparator, "->命令:", "->2025-03-09 14:05:07", bytes,
                               "->命令成功发送"}));
    EXPECT_EQ(log.Raw(), Lines{bytes});
    EXPECT_EQ(line.Sent, std::vector<Bytes>{frame});
    EXPECT_EQ(commands.Commands, 1);
    EXPECT_EQ(status.Panels[3], "TX:5");
    EXPECT_EQ(status.Panels[5], "TSuc:1");
}

TEST_F(CoreTest, OpenPortShowsTheStateAndResetsTheReceiver)
{
    core.Assembler.RxIndex = 17;
    core.OpenPort(true);
    EXPECT_TRUE(line.Opened);
    EXPECT_EQ(status.PortCaption, "关闭串口");
    EXPECT_EQ(status.Panels[1], "COM1打开,9600,e,8,1");
    EXPECT_EQ(log.Op(), Lines{"COM1打开,9600,e,8,1"});
    EXPECT_EQ(core.Assembler.RxIndex, 0);
    core.OpenPort(false);
    EXPECT_EQ(status.PortCaption, "打开串口");
    EXPECT_EQ(status.Panels[1], "COM1关闭,9600,e,8,1");
    EXPECT_EQ(log.Op().back(), "COM1关闭");
}

TEST_F(CoreTest, CounterResetEmptiesEveryLog)
{
    Read({0x01});
    log.Append(TLogId::ListenRecordB, "x");
    core.BtnTxCntClrClick();
    for (auto& [id, lines] : log.Pages)
        EXPECT_TRUE(lines.empty()) << LogKindName(id);
    EXPECT_EQ(status.Panels[2], "RX:0");
    EXPECT_EQ(status.Panels[4], "RSuc:0");
}

}  // namespace
}  // namespace consoletest
