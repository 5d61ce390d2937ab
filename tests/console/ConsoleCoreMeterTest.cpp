// The console core with the real meter behind it: requests read from the fake line are answered
// byte for byte, in the plain receive path, the relay and routing tests and the 645 display mode.
#include "ConsoleCoreFakes.h"

namespace consoletest {
namespace {

const Bytes kAddr = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00};  // 000000000001: phase 1
const Bytes kRelay1 = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
const Bytes kDest = {0x04, 0x00, 0x00, 0x00, 0x00, 0x00};  // 040000000000: phase 1
const Bytes kEnergy = {0x45, 0x23, 0x01, 0x00};              // 000123.45 kWh

// Requests as they stand on the line and the data the meter answers them with (before 33H).
Bytes Read97(const Bytes& addr) { return MakeFrame(addr, 0x01, {0x10, 0x90}); }
Bytes Read07(const Bytes& addr) { return MakeFrame(addr, 0x11, {0x00, 0x00, 0x01, 0x00}); }
Bytes Data97(std::uint8_t phase) { return Concat(Concat({0x10, 0x90}, kEnergy), {phase}); }
Bytes Data07(std::uint8_t phase) { return Concat(Concat({0x00, 0x00, 0x01, 0x00}, kEnergy), {phase}); }

const std::string kCommand97 = "<-读9010 ";
const std::string kCommand07 = "<-读00010000 当前正向有功T00电能";
const std::string kOk = "<-通信成功 ";
const std::string kSentTime = "->2025-03-09 14:05:07";

Lines Received(const Bytes& request)
{
    return {LogSeparator, "<-收到一帧:", kTime, Hex(request)};
}

// What the operation log gets from the meter's texts on to the end of a sent reply.
Lines Answered(const std::string& command, const Bytes& reply)
{
    return {command, kOk, ReplySeparator, LogSeparator, "->响应:", kSentTime, Hex(reply, "->"),
            "->响应成功发送", LogSeparator};
}

Lines Joined(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines Tail(const Lines& lines, std::size_t n)
{
    return Lines(lines.end() - static_cast<std::ptrdiff_t>(std::min(n, lines.size())), lines.end());
}

class MeterCore : public CoreTest {
protected:
    MeterCore()
    {
        core.SetTestMode(3);  // black list with no row checked: every address is answered
        core.Meter->SetTotalEnergy("00012345");
        const std::uint8_t password[3] = {0xCD, 0xAB, 0x12};
        CopyBytes(core.Meter->GetPassword(), password, 3);
    }
};

// ---- Plain receive path ---------------------------------------------------------------------

struct ReadCase {
    const char* Name;
    Bytes Request;
    bool Preamble;  // "前导符FE"
    bool Chip;      // "通道芯片": no phase byte
    Bytes Reply;
    std::string Command;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.Name;
}

std::vector<ReadCase> ReadCases()
{
    const Bytes reply97 = MakeFrame(kAddr, 0x81, Data97(1));
    return {
        {"dlt1997_9010", Read97(kAddr), false, false, reply97, kCommand97},
        {"dlt2007_00010000", Read07(kAddr), false, false, MakeFrame(kAddr, 0x91, Data07(1)),
         kCommand07},
        {"preamble", Read97(kAddr), true, false, Concat({0xFE, 0xFE, 0xFE, 0xFE}, reply97),
         kCommand97},
        {"channel_chip_no_phase", Read97(kAddr), false, true,
         MakeFrame(kAddr, 0x81, Concat({0x10, 0x90}, kEnergy)), kCommand97},
    };
}

class MeterReads : public MeterCore, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(MeterReads, AnswersTheRequestOnTheLine)
{
    const ReadCase& c = GetParam();
    core.Options.FePreamble = c.Preamble;
    core.Options.ChipKind = c.Chip;
    // Split across two reads: the first leaves bytes pending.
    const Bytes head(c.Request.begin(), c.Request.begin() + 5);
    const Bytes rest(c.Request.begin() + 5, c.Request.end());
    Read(head, static_cast<int>(rest.size()));
    Read(rest);

    EXPECT_EQ(line.Sent, std::vector<Bytes>{c.Reply});
    EXPECT_EQ(log.Op(), Joined(Received(c.Request), Answered(c.Command, c.Reply)));
    EXPECT_EQ(log.Raw(), (Lines{Hex(c.Request), Hex(c.Reply, "->")}));
    EXPECT_EQ(status.Password, "12abcd");
    EXPECT_EQ(status.EnergyShown, 1);
    EXPECT_EQ(status.Panels[2], "RX:" + std::to_string(c.Request.size()));
    EXPECT_EQ(status.Panels[3], "TX:" + std::to_string(c.Reply.size()));
    EXPECT_EQ(status.Panels[4], "RSuc:1");
    EXPECT_EQ(status.Panels[5], "TSuc:1");
    EXPECT_TRUE(clock.Deferred.empty());
}

INSTANTIATE_TEST_SUITE_P(Requests, MeterReads, ::testing::ValuesIn(ReadCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Frames the meter does not answer -------------------------------------------------------

struct SilentCase {
    const char* Name;
    int Mode;
    bool Display;  // "645显示"
    Bytes Request;
    Lines Op;
    int Scheduled;  // continuous sending moves on after a refused request
};

void PrintTo(const SilentCase& c, std::ostream* os)
{
    *os << c.Name;
}

std::vector<SilentCase> SilentCases()
{
    const Bytes unsupported = MakeFrame(kAddr, 0x17, {});
    return {
        {"white_list_refusal", 2, false, Read97(kAddr),
         Joined(Received(Read97(kAddr)), {"接收到名单以外的电表"}), 1},
        {"unsupported_2007_command", 3, false, unsupported, Received(unsupported), 1},
        {"display_mode_refusal", 2, true, Read07(kAddr), {"接收到名单以外的电表"}, 0},
        {"display_mode_unsupported", 3, true, unsupported, {}, 0},
    };
}

class SilentFrames : public MeterCore, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentFrames, ANonZeroStatusIsNeverAnswered)
{
    const SilentCase& c = GetParam();
    core.SetTestMode(c.Mode);
    core.Options.Show645 = c.Display;
    core.Options.Continuous = true;
    Read(c.Request);
    EXPECT_NE(core.Meter->StatusCode, msOk);
    EXPECT_TRUE(line.Sent.empty());
    EXPECT_TRUE(line.PacedSends.empty());
    EXPECT_EQ(log.Op(), c.Op);
    EXPECT_EQ(status.EnergyShown, 0);
    EXPECT_EQ(status.Panels.count(5), 0u);
    EXPECT_EQ(commands.Scheduled, c.Scheduled);
}

INSTANTIATE_TEST_SUITE_P(Requests, SilentFrames, ::testing::ValuesIn(SilentCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Relay test: the deferred answer and its phase check ------------------------------------

class RelayAnswer : public MeterCore {
protected:
    RelayAnswer()
    {
        core.SetTestMode(1);
        core.SetAddressRow(0, "010203040506");
        core.SetAddressRow(1, "040000000000");
    }
    void ReadPair(const Bytes& request, std::uint8_t relayPhase)
    {
        Read(request);
        Read(MakeRelay({kRelay1, kDest}, relayPhase));
    }
};

TEST_F(RelayAnswer, AnswersTwentyMillisecondsLaterWhenThePhaseMatches)
{
    ReadPair(Read97(kDest), 1);
    ASSERT_EQ(clock.Deferred.size(), 1u);
    EXPECT_EQ(clock.Deferred.front().first, 20);
    EXPECT_TRUE(line.Sent.empty());
    EXPECT_EQ(log.Op().back(), Hex(Read97(kDest)));

    clock.RunDeferred();
    const Bytes reply = MakeFrame(kDest, 0x81, Data97(1));
    EXPECT_EQ(line.Sent, std::vector<Bytes>{reply});
    const Lines expected = Joined({"<-目的表A相"}, Answered(kCommand97, reply));
    EXPECT_EQ(Tail(log.Op(), expected.size()), expected);
    EXPECT_EQ(status.Password, "12abcd");
}

TEST_F(RelayAnswer, RefusesWhenTheDestinationPhaseDiffers)
{
    ReadPair(Read97(kDest), 2);
    clock.RunDeferred();
    EXPECT_TRUE(line.Sent.empty());
    EXPECT_EQ(Tail(log.Op(), 3), (Lines{Hex(Read97(kDest)), "<-目的表A相", "<-目的表相位不符"}));
    EXPECT_EQ(status.EnergyShown, 0);
}

TEST_F(RelayAnswer, CrossPhaseAnswersWithTheDestinationsPhase)
{
    core.Options.CrossPhase = true;
    ReadPair(Read07(kDest), 2);
    clock.RunDeferred();
    EXPECT_EQ(line.Sent, std::vector<Bytes>{MakeFrame(kDest, 0x91, Data07(1))});
    EXPECT_EQ(Tail(log.Op(), 10)[0], "<-目的表A相");
}

TEST_F(RelayAnswer, EachDeferredAnswerKeepsItsOwnReply)
{
    // The meter handles the second request before the first answer goes out.
    ReadPair(Read97(kDest), 1);
    ReadPair(Read07(kDest), 2);
    ASSERT_EQ(clock.Deferred.size(), 2u);
    clock.RunDeferred();
    EXPECT_EQ(line.Sent, std::vector<Bytes>{MakeFrame(kDest, 0x81, Data97(1))});
    EXPECT_EQ(log.Op().back(), "<-目的表相位不符");
}

// ---- Routing test: the route table decides -------------------------------------------------

TEST_F(MeterCore, RoutingAnswersAtOnceWhenTheRouteAgrees)
{
    core.SetTestMode(7);
    route.SetsPhase = 3;
    Read(Read97(kDest));
    Read(MakeRelay({kRelay1, kDest}, 2));
    // The reply carries the phase the route table gave the meter.
    const Bytes reply = MakeFrame(kDest, 0x81, Data97(3));
    EXPECT_EQ(line.Sent, std::vector<Bytes>{reply});
    EXPECT_TRUE(clock.Deferred.empty());
    EXPECT_EQ(Tail(log.Op(), 9), Answered(kCommand97, reply));
    EXPECT_EQ(status.Rows[0], "040000000000");
}

TEST_F(MeterCore, RoutingRefusalsSendNothing)
{
    core.SetTestMode(7);
    for (const auto& [result, text] : {std::pair{2, "<-目的表相位不符"}, std::pair{3, "<-路径有误"}}) {
        log.Pages.clear();
        route.Result = result;
        Read(Read97(kDest));
        Read(MakeRelay({kRelay1, kDest}, 1));
        const Lines tail = Tail(log.Op(), 7);
        EXPECT_EQ(tail, Joined(Joined({text}, Received(Read97(kDest))), {"<-错误,不响应", LogSeparator}));
    }
    EXPECT_TRUE(line.Sent.empty());
    EXPECT_TRUE(clock.Deferred.empty());
}

// The reply goes to the line before a single line of its frame is logged; the log then reads
// as it always did. Plain receive path and the cyclic reply mode alike.
TEST_F(MeterCore, TheReplyLeavesBeforeAnyLogLine)
{
    std::vector<std::size_t> loggedAtSend;
    line.OnSend = [&] { loggedAtSend.push_back(log.Op().size() + log.Raw().size()); };
    const Bytes request = Read97(kAddr);
    Read(request);
    ASSERT_EQ(line.Sent.size(), 1u);
    const Bytes reply = MakeFrame(kAddr, 0x81, Data97(1));
    EXPECT_EQ(line.Sent[0], reply);
    EXPECT_EQ(log.Op(), Joined(Received(request), Answered(kCommand97, reply)));
    EXPECT_EQ(log.Raw(), (Lines{Hex(request), Hex(reply, "->")}));

    core.Options.CycleReply = true;
    Read(request);
    ASSERT_EQ(line.Sent.size(), 2u);
    const std::size_t before = 13 + 2;  // the first frame's operation and frame lines
    EXPECT_EQ(loggedAtSend, (std::vector<std::size_t>{0, before}));
    EXPECT_EQ(Tail(log.Raw(), 2), (Lines{Hex(request), Hex(line.Sent[1], "->")}));
}

// ---- 645 display mode: the reply delays become one paced send ------------------------------

struct DisplayCase {
    const char* Name;
    bool PerByte;
    bool SelfReply;  // "自设回复" with 40 data bytes: past the 50 delay entries
};

void PrintTo(const DisplayCase& c, std::ostream* os)
{
    *os << c.Name;
}

class DisplayDelays : public MeterCore, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplayDelays, TheReplyGoesOutAsOnePacedSend)
{
    const DisplayCase& c = GetParam();
    core.Options.Show645 = true;
    core.DelayOn = true;
    core.PerByteDelays = c.PerByte;
    for (int k = 0; k < 50; ++k)
        core.Delays[static_cast<std::size_t>(k)] = 100 + k;
    Bytes reply = MakeFrame(kAddr, 0x81, Data97(1));
    if (c.SelfReply) {
        std::string text;
        Bytes data;
        for (int k = 0; k < 40; ++k) {
            text += (k ? " " : "") + std::string("0") + static_cast<char>('0' + k % 10);
            data.push_back(static_cast<std::uint8_t>(k % 10));
        }
        core.Replies.SetSelfReply("91", text, "", false, false);
        core.Options.SelfReply = true;
        reply = {0x68};
        reply.insert(reply.end(), kAddr.begin(), kAddr.end());
        reply.insert(reply.end(), {0x68, 0x91, 40});
        reply.insert(reply.end(), data.begin(), data.end());
        reply.push_back(ByteSum(reply.data(), static_cast<int>(reply.size())));
        reply.push_back(0x16);
    }
    clock.Mono = 7000;
    Read(Read97(kAddr), 4);  // the display mode does not wait for pending bytes

    ASSERT_EQ(line.PacedSends.size(), 1u);
    const FakeLine::Paced& sent = line.PacedSends[0];
    EXPECT_EQ(sent.BytesOut, reply);
    EXPECT_EQ(sent.StartMs, 7000);
    std::vector<int> waits;
    for (std::size_t k = 0; k < reply.size(); ++k)
        waits.push_back(k == 0 ? 100 : !c.PerByte ? 101 : 100 + static_cast<int>(std::min<std::size_t>(k, 49)));
    EXPECT_EQ(sent.Waits, waits);
    EXPECT_EQ(log.Op(), (Lines{"->响应:", kSentTime, Hex(reply, "->"), "->响应成功发送", LogSeparator}));
    EXPECT_TRUE(log.Raw().empty());
    EXPECT_EQ(status.Panels[3], "TX:" + std::to_string(reply.size()));
    EXPECT_EQ(status.Panels[4], "RSuc:1");
    EXPECT_EQ(status.Panels[5], "TSuc:1");
}

INSTANTIATE_TEST_SUITE_P(Replies, DisplayDelays,
                         ::testing::Values(DisplayCase{"per_byte", true, false},
                                           DisplayCase{"one_delay_between_bytes", false, false},
                                           DisplayCase{"self_reply_past_fifty_bytes", true, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(MeterCore, DisplayReplyWithoutDelaysIsSentAtOnce)
{
    core.Options.Show645 = true;
    Read(Read07(kAddr));
    const Bytes reply = MakeFrame(kAddr, 0x91, Data07(1));
    EXPECT_EQ(line.Sent, std::vector<Bytes>{reply});
    EXPECT_TRUE(line.PacedSends.empty());
    EXPECT_EQ(log.Raw(), Lines{Hex(reply, "->")});
    EXPECT_EQ(log.Op(), (Lines{"->响应:", kSentTime, Hex(reply, "->"), "->响应成功发送", LogSeparator}));
}

// ---- Protocol choice ------------------------------------------------------------------------

TEST_F(MeterCore, ChoosingAProtocolResetsTheTotalEnergy)
{
    for (int protocol : {mpDlt645_1997, mpDlt645_2007, mpShanghai, mpBnc}) {
        core.Meter->SetTotalEnergy("00012345");
        core.DoCheckRule(protocol);  // the tariff dialog is cancelled: still reset
        EXPECT_EQ(Bytes(core.Meter->TotalEnergy, core.Meter->TotalEnergy + 4), Bytes(4, 0)) << protocol;
        EXPECT_EQ(Bytes(core.Meter->GetEnergy07(0), core.Meter->GetEnergy07(0) + 4), Bytes(4, 0)) << protocol;
    }
    // And a read answers zero afterwards.
    core.DoCheckRule(mpDlt645_1997);
    Read(Read97(kAddr));
    ASSERT_EQ(line.Sent.size(), 1u);
    EXPECT_EQ(line.Sent[0], MakeFrame(kAddr, 0x81, {0x10, 0x90, 0, 0, 0, 0, 1}));
}

}  // namespace
}  // namespace consoletest
