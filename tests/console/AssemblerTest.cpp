// Line framing: bursts in, frames or error texts out, with the log lines they leave.
#include "ConsoleCoreFakes.h"

#include <functional>

namespace consoletest {
namespace {

const Bytes kAddr = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
// A read of 9010 to a meter that the white list (nothing checked) refuses, so the handled frame
// leaves the same lines whatever the command handlers answer.
const Bytes kFrame = MakeFrame(kAddr, 0x01, {0x10, 0x90});

Bytes Slice(const Bytes& b, std::size_t from, std::size_t to)
{
    return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(to));
}

Lines Joined(std::initializer_list<Lines> parts)
{
    Lines out;
    for (const Lines& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Lines kHandled = {LogSeparator, "<-收到一帧:", kTime, Hex(kFrame), "接收到名单以外的电表"};

struct BurstCase {
    const char* Name;
    std::vector<std::pair<Bytes, int>> Reads;  // bytes, pending after the read
    Lines Op;
    Lines Raw;
    int Frames;  // RSuc
};

void PrintTo(const BurstCase& c, std::ostream* os)
{
    *os << c.Name;
}

Bytes BadSum()
{
    Bytes b = kFrame;
    b[12] ^= 0x01;
    return b;
}

Bytes NoEnd()
{
    Bytes b = kFrame;
    b.back() = 0x00;
    b.push_back(0x00);
    return b;
}

std::vector<BurstCase> BurstCases()
{
    const Bytes fe = {0xFE, 0xFE, 0xFE, 0xFE};
    const Bytes head = Slice(kFrame, 0, 5);
    const Bytes early = {0x68, 0x11, 0x22, 0x16};
    const Bytes stray = {0x01, 0x02, 0x03};
    const Bytes unfinishedRelay = {0xAA, 0x0E, 0x01, 0x02};
    return {
        {"FE prefix is skipped", {{Concat(fe, kFrame), 0}}, kHandled, {Hex(kFrame)}, 1},
        {"frame split over two reads",
         {{head, 9}, {Slice(kFrame, 5, kFrame.size()), 0}}, kHandled, {Hex(kFrame)}, 1},
        {"first part with nothing pending", {{head, 0}},
         Joined({BurstLines(head), {"<-没有结束符"}}), {Hex(head)}, 1},
        {"16H before the end", {{early, 0}},
         Joined({BurstLines(early), {"<-长度不符"}}), {Hex(early)}, 1},
        {"checksum wrong", {{BadSum(), 0}},
         Joined({BurstLines(BadSum()), {"<-校验和错误"}}), {Hex(BadSum())}, 1},
        {"ends after 68 11 22", {{{0x68, 0x11, 0x22}, 0}},
         Joined({BurstLines({0x68, 0x11, 0x22}), {"<-没有结束符"}}),
         {Hex({0x68, 0x11, 0x22})}, 1},
        {"too long, then a frame from idle", {{Concat(NoEnd(), kFrame), 0}},
         Joined({BurstLines(NoEnd()), {"<-长度超"}, kHandled}),
         {Hex(NoEnd()), Hex(kFrame)}, 1},
        {"stray bytes", {{stray, 0}}, BurstLines(stray), {Hex(stray)}, 1},
        {"stray bytes still pending", {{{0x01, 0x02}, 2}, {{0x03, 0x04}, 0}},
         BurstLines({0x01, 0x02, 0x03, 0x04}), {Hex({0x01, 0x02, 0x03, 0x04})}, 1},
        {"index wraps at 1024", {{Bytes(1100, 0x00), 0}}, BurstLines(Bytes(76, 0x00)),
         {Hex(Bytes(76, 0x00))}, 1},
        {"two frames in one read", {{Concat(kFrame, kFrame), 0}}, Joined({kHandled, kHandled}),
         {Hex(kFrame), Hex(kFrame)}, 2},
        {"unfinished relay frame", {{unfinishedRelay, 0}}, BurstLines(unfinishedRelay),
         {Hex(unfinishedRelay)}, 1},
    };
}

class AssemblerBursts : public CoreTest, public ::testing::WithParamInterface<BurstCase> {};

TEST_P(AssemblerBursts, LeaveTheirLogLines)
{
    core.SetTestMode(2);  // white list, no row checked: every addressed request is refused
    int bytes = 0;
    for (const auto& [b, pending] : GetParam().Reads) {
        Read(b, pending);
        bytes += static_cast<int>(b.size());
    }
    EXPECT_EQ(log.Op(), GetParam().Op);
    EXPECT_EQ(log.Raw(), GetParam().Raw);
    EXPECT_EQ(status.Panels[4], "RSuc:" + std::to_string(GetParam().Frames));
    EXPECT_EQ(status.Panels[2], "RX:" + std::to_string(bytes));
    EXPECT_TRUE(line.Sent.empty());
    EXPECT_EQ(core.Assembler.RxIndex, 0);
}

INSTANTIATE_TEST_SUITE_P(Normal, AssemblerBursts, ::testing::ValuesIn(BurstCases()),
                         [](const auto& info) {
                             std::string n = info.param.Name;
                             for (char& c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });

TEST_F(CoreTest, AssemblerFrameGapDropsAnUnfinishedFrame)
{
    core.SetTestMode(2);
    Read(Slice(kFrame, 0, 6), 3);
    core.TimerTxOverTimer();
    Read(Slice(kFrame, 6, kFrame.size()));
    // The tail alone: its second 68H starts a frame whose 16H comes too early.
    EXPECT_EQ(log.Op().back(), "<-长度不符");
    EXPECT_EQ(std::count(log.Op().begin(), log.Op().end(), "接收到名单以外的电表"), 0);
}

// ---- Display modes --------------------------------------------------------------------------

TEST_F(CoreTest, AssemblerCarrierFrameStartsAtTheLastAAHAfterABrokenOne)
{
    // AA AA 00: a frame of L 0 whose end byte never comes; the next run of AAH starts over.
    core.Options.ShowCarrier = true;
    const Bytes frame = {0xAA, 0x05, 0x01, 0x02, 0x03, 0x04, 0x16};
    Read(Concat({0xAA, 0xAA, 0x00}, Concat({0xAA, 0xAA}, frame)));
    ASSERT_EQ(listen.Carriers.size(), 1u);
    EXPECT_EQ(listen.Carriers[0], frame);
    EXPECT_EQ(status.Panels[4], "RSuc:1");

    core.Options.CarrierRaw = true;
    Read(frame);
    EXPECT_EQ(log.Pages[TLogId::ListenFrames],
              Lines{"<-2025-03-09 14:05:07:042  AA 05 01 02 03 04 16 "});
}

TEST_F(CoreTest, AssemblerCarrierFrameOfL255KeepsItsFullEndIndex)
{
    core.Options.ShowCarrier = true;
    Bytes frame = {0xAA, 0xFF};
    frame.insert(frame.end(), 254, 0x00);  // the end byte stands at L + 1
    frame.push_back(0x96);
    Read(frame);
    ASSERT_EQ(listen.Carriers.size(), 1u);
    EXPECT_EQ(listen.Carriers[0].size(), 257u);
}

TEST_F(CoreTest, AssemblerDisplayModeLogsNothingOfARefusedFrameAndGoesOn)
{
    core.SetTestMode(2);
    core.Options.Show645 = true;
    Read(kFrame);
    Read(Concat({0xFE, 0xFE}, kFrame));
    EXPECT_EQ(log.Op(), (Lines{"接收到名单以外的电表", "接收到名单以外的电表"}));
    EXPECT_TRUE(log.Raw().empty());
    EXPECT_EQ(status.Panels[4], "RSuc:2");
    EXPECT_TRUE(line.Sent.empty());
}

// ---- Listening ------------------------------------------------------------------------------

TEST_F(CoreTest, AssemblerListeningHandsOnWholeBursts)
{
    core.SetTestMode(kListeningMode);
    Read({0x01, 0x02, 0x03}, 2);
    Read({0x04, 0x05});
    Read({0x09});
    ASSERT_EQ(listen.Bursts.size(), 2u);
    EXPECT_EQ(listen.Bursts[0], (Bytes{0x01, 0x02, 0x03, 0x04, 0x05}));
    EXPECT_EQ(listen.Bursts[1], (Bytes{0x09}));
    EXPECT_EQ(listen.BurstTails, (std::vector<int>{0, 0}));
    EXPECT_EQ(status.Panels[4], "RSuc:2");
}

TEST_F(CoreTest, AssemblerListeningBurstFillsTheBufferExactly)
{
    core.SetTestMode(kListeningMode);
    Read(Bytes(4000, 0x11), 96);
    Read(Bytes(96, 0x22));
    ASSERT_EQ(listen.Bursts.size(), 1u);
    EXPECT_EQ(listen.Bursts[0].size(), 4096u);
    EXPECT_TRUE(log.Pages[TLogId::ListenRecord].empty());
}

TEST_F(CoreTest, AssemblerListeningOversizeBurstShowsTheBufferThenLengthExceeded)
{
    core.SetTestMode(kListeningMode);
    Bytes burst(5000);
    for (std::size_t i = 0; i < burst.size(); ++i)
        burst[i] = static_cast<std::uint8_t>(i * 7);
    Read(Slice(burst, 0, 3000), 2000);
    Read(Slice(burst, 3000, 5000));
    ASSERT_EQ(listen.Bursts.size(), 1u);
    EXPECT_EQ(listen.Bursts[0], Slice(burst, 0, 4096));
    const Lines mark = {"<-2025-03-09 14:05:07:042  <-长度超,丢弃904字节"};
    EXPECT_EQ(log.Pages[TLogId::ListenRecord], mark);
    EXPECT_EQ(log.Pages[TLogId::ListenFrames], mark);
    EXPECT_EQ(status.Panels[4], "RSuc:1");

    Read({0x07, 0x08});
    ASSERT_EQ(listen.Bursts.size(), 2u);
    EXPECT_EQ(listen.Bursts[1], (Bytes{0x07, 0x08}));
    EXPECT_EQ(listen.BurstTails[1], 0);
}

// A full listening or request burst still pending leaves the index at the buffer's end; whatever
// mode comes next starts from a clean receiver. Fed byte by byte, as a slow line delivers it.
TEST_F(CoreTest, AssemblerModeSwitchAfterAFullPendingBurstStartsClean)
{
    struct Switch {
        const char* Name;
        std::function<void()> To;
        int Frames;  // frames the next 645 frame counts in the new mode
    };
    const std::vector<Switch> switches = {
        {"white list", [&] { core.SetTestMode(2); }, 1},
        {"black list", [&] { core.SetTestMode(3); }, 1},
        {"unrecognised number", [&] { core.SetTestMode(4); }, 1},
        {"interval list", [&] { core.SetTestMode(6); }, 1},
        {"cyclic reply", [&] { dialogs.CycleRange = {{"1", "1"}}; core.TmiCheckCircle(); }, 1},
        {"self-defined reply", [&] { dialogs.SelfReply = IConsoleDialogs::TSelfReplyTexts{"81", "01", "", false, false}; core.TmiCheckSelf(); }, 1},
        {"645 display", [&] { core.Options.Show645 = true; }, 1},
        {"Daltrex display", [&] { core.Options.ShowCarrier = true; }, 0},
    };
    for (const Switch& to : switches) {
        SCOPED_TRACE(to.Name);
        for (const bool request : {false, true}) {
            core.Options = {};
            if (request) {
                dialogs.CycleRange = {{"1", "1"}};
                ASSERT_TRUE(core.TmiCheckCircle());
            } else {
                core.SetTestMode(kListeningMode);
            }
            Read(Bytes(4096, 0x11), 5);  // the burst goes on
            to.To();
            log.Pages.clear();
            const int before = core.RxFrameCount;
            for (std::size_t i = 0; i < kFrame.size(); ++i)
                Read({kFrame[i]}, static_cast<int>(kFrame.size() - 1 - i));
            EXPECT_EQ(core.RxFrameCount - before, to.Frames);
            EXPECT_LT(core.Assembler.RxIndex, TFrameAssembler::kIndexLimit);
            for (const auto& [id, lines] : log.Pages)
                for (const std::string& l : lines)
                    EXPECT_EQ(l.find("长度超"), std::string::npos) << l;
            core.Options = {};
            core.SetTestMode(2);
        }
    }
}

// The display state of one assembler must not be read by the other: a carrier frame begun, the
// 645 display mid-frame, then the carrier display again must not take the 645 bytes for a frame.
TEST_F(CoreTest, AssemblerDisplaySwitchMidFrameForgetsTheOtherDisplaysState)
{
    core.Options.ShowCarrier = true;
    Read({0xAA, 0x0C, 0x01, 0x02});
    core.Options.ShowCarrier = false;
    core.Options.Show645 = true;
    Read(Slice(kFrame, 0, 10));
    core.Options.Show645 = false;
    core.Options.ShowCarrier = true;
    Read(Slice(kFrame, 10, kFrame.size()));
    EXPECT_TRUE(listen.Carriers.empty());
    EXPECT_EQ(core.RxFrameCount, 0);

    const Bytes carrier = {0xAA, 0x02, 0x05, 0x16};
    Read(carrier);
    ASSERT_EQ(listen.Carriers.size(), 1u);
    EXPECT_EQ(listen.Carriers[0], carrier);
}

TEST_F(CoreTest, AssemblerRequestModeOversizeBurstIsDroppedWhole)
{
    dialogs.CycleRange = {{"1", "1"}};
    ASSERT_TRUE(core.TmiCheckCircle());
    Read(Bytes(5000, 0x00), 10);
    Read(kFrame);  // the tail of the oversize burst: dropped
    Lines expected = BurstLines(Bytes(4096, 0x00));
    expected.push_back("<-长度超,丢弃" + std::to_string(5000 - 4096 + kFrame.size()) + "字节");
    EXPECT_EQ(log.Op(), expected);
    EXPECT_TRUE(line.Sent.empty());

    Read(kFrame);
    ASSERT_EQ(line.Sent.size(), 1u);
}

}  // namespace
}  // namespace consoletest
