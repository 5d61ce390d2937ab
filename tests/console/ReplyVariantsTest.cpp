// Cyclic and self-defined replies, the variable rate and the protocol choice.
#include "ConsoleCoreFakes.h"

namespace consoletest {
namespace {

const Bytes kAddr = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
const Bytes kRequest = MakeFrame(kAddr, 0x01, {0x10, 0x90});

// FE FE FE FE 68 A 68 C L data CS 16 tail.
Bytes Reply(const Bytes& addr, std::uint8_t c, const Bytes& data, bool preamble = true,
            const Bytes& tail = {})
{
    Bytes f = {0x68};
    f.insert(f.end(), addr.begin(), addr.end());
    f.push_back(0x68);
    f.push_back(c);
    f.push_back(static_cast<std::uint8_t>(data.size()));
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    f.insert(f.end(), tail.begin(), tail.end());
    return preamble ? Concat({0xFE, 0xFE, 0xFE, 0xFE}, f) : f;
}

TEST_F(CoreTest, ReplyCyclicLengthsRunFromBeginToEnd)
{
    dialogs.CycleRange = {{"2", "4"}};
    ASSERT_TRUE(core.TmiCheckCircle());
    for (int k = 0; k < 4; ++k)
        Read(kRequest);
    ASSERT_EQ(line.Sent.size(), 4u);
    EXPECT_EQ(line.Sent[0], Reply(kAddr, 0x81, {0x33, 0x34}));
    EXPECT_EQ(line.Sent[1], Reply(kAddr, 0x81, {0x33, 0x34, 0x35}));
    EXPECT_EQ(line.Sent[2], Reply(kAddr, 0x81, {0x33, 0x34, 0x35, 0x36}));
    EXPECT_EQ(line.Sent[3], Reply(kAddr, 0x81, {0x33, 0x34}));
    EXPECT_EQ(status.Panels[4], "RSuc:4");
    EXPECT_EQ(status.Panels[5], "TSuc:4");

    const std::string sent = Hex(line.Sent[0], "->");
    const Lines first(log.Op().begin(), log.Op().begin() + 8);
    EXPECT_EQ(first, (Lines{LogSeparator, "<-收到一帧:", kTime, Hex(kRequest), "->响应:",
                            "->2025-03-09 14:05:07", sent, "->响应成功发送"}));
    EXPECT_EQ(log.Raw()[0], Hex(kRequest));
    EXPECT_EQ(log.Raw()[1], sent);
}

TEST_F(CoreTest, ReplyCyclicOfLengthZeroIsSixteenBytes)
{
    dialogs.CycleRange = {{"000", "000"}};
    core.TmiCheckCircle();
    Read(Concat({0xFE, 0xFE}, kRequest));
    ASSERT_EQ(line.Sent.size(), 1u);
    EXPECT_EQ(line.Sent[0].size(), 16u);
    EXPECT_EQ(line.Sent[0], Reply(kAddr, 0x81, {}));
    EXPECT_EQ(log.Op()[3], Hex(Concat({0xFE, 0xFE}, kRequest)));  // the whole burst is logged
}

TEST(ReplyCycleRange, SwapsAndCuts)
{
    TReplyVariants r;
    r.SetCycleRange("9", "3");
    EXPECT_EQ(r.CycleBegin, 3);
    EXPECT_EQ(r.CycleEnd, 9);
    EXPECT_EQ(r.CycleBeginText, "3");
    EXPECT_EQ(r.CycleEndText, "9");
    EXPECT_EQ(r.CycleLength, 3);
    r.SetCycleRange("100", "300");
    EXPECT_EQ(r.CycleEnd, 255);
    EXPECT_EQ(r.CycleEndText, "255");
}

TEST_F(CoreTest, ReplySelfDefinedWithReverseAdd33AndTail)
{
    dialogs.SelfReply = IConsoleDialogs::TSelfReplyTexts{"91", "01 02", "AA BB", true, true};
    ASSERT_TRUE(core.TmiCheckSelf());
    Read(kRequest);
    ASSERT_EQ(line.Sent.size(), 1u);
    EXPECT_EQ(line.Sent[0], Reply(kAddr, 0x91, {0x35, 0x34}, true, {0xAA, 0xBB}));
    EXPECT_EQ(line.Sent[0].size(), 2u + 2u + 16u);
    EXPECT_EQ(status.Panels[3], "TX:20");

    dialogs.SelfReply.reset();
    EXPECT_FALSE(core.TmiCheckSelf());  // cancelled: back to the normal mode
}

TEST_F(CoreTest, ReplySelfDefinedInThe645DisplayModeHasNoPreamble)
{
    dialogs.SelfReply = IConsoleDialogs::TSelfReplyTexts{"91", "01 02", "", false, false};
    core.TmiCheckSelf();
    core.Options.Show645 = true;
    Read(kRequest);
    ASSERT_EQ(line.Sent.size(), 1u);
    EXPECT_EQ(line.Sent[0], Reply(kAddr, 0x91, {0x01, 0x02}, false));
    const std::string sent = Hex(line.Sent[0], "->");
    EXPECT_EQ(log.Op(), (Lines{"->响应:", "->2025-03-09 14:05:07", sent, "->响应成功发送",
                               LogSeparator}));
    EXPECT_EQ(log.Raw(), Lines{sent});
}

TEST_F(CoreTest, ReplyDisplayModeDelaysEveryByte)
{
    dialogs.SelfReply = IConsoleDialogs::TSelfReplyTexts{"91", "", "", false, false};
    core.TmiCheckSelf();
    core.Options.Show645 = true;
    core.DelayOn = true;
    core.Delays[0] = 500;
    core.Delays[1] = 20;
    for (int k = 2; k < 50; ++k)
        core.Delays[static_cast<std::size_t>(k)] = k;
    Read(kRequest);
    ASSERT_EQ(line.PacedSends.size(), 1u);
    EXPECT_EQ(line.PacedSends[0].StartMs, clock.Mono);
    std::vector<int> compact(12, 20);  // the 12 bytes of a reply without data
    compact[0] = 500;
    EXPECT_EQ(line.PacedSends[0].Waits, compact);
    EXPECT_TRUE(log.Raw().empty());

    core.PerByteDelays = true;
    std::string text;
    for (int k = 0; k < 60; ++k)
        text += "01 ";
    dialogs.SelfReply = IConsoleDialogs::TSelfReplyTexts{"91", text, "", false, false};
    core.TmiCheckSelf();
    Read(kRequest);
    const std::vector<int>& waits = line.PacedSends[1].Waits;
    ASSERT_EQ(waits.size(), 72u);
    EXPECT_EQ(waits[0], 500);
    EXPECT_EQ(waits[1], 20);
    EXPECT_EQ(waits[2], 2);
    EXPECT_EQ(waits[49], 49);
    EXPECT_EQ(waits[71], 49);
}

TEST_F(CoreTest, ReplyRefusedRequestGetsNoReply)
{
    dialogs.CycleRange = {{"2", "4"}};
    core.TmiCheckCircle();
    core.SetTestMode(2);  // nothing checked
    Read(kRequest);
    EXPECT_TRUE(line.Sent.empty());
    EXPECT_EQ(log.Op().back(), "接收到名单以外的电表");
    EXPECT_EQ(status.Panels[4], "RSuc:1");
    EXPECT_EQ(core.Replies.CycleLength, 2);
}

TEST_F(CoreTest, ReplyTakesTheRowAtWildcardPositions)
{
    dialogs.CycleRange = {{"0", "0"}};
    core.TmiCheckCircle();
    core.SetTestMode(4);
    core.SetAddressRow(0, "000000000001");
    Read(MakeFrame({0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, 0x01, {0x10, 0x90}));
    ASSERT_EQ(line.Sent.size(), 1u);
    EXPECT_EQ(line.Sent[0], Reply({0x01, 0, 0, 0, 0, 0}, 0x81, {}));
}

TEST_F(CoreTest, ReplyIncompleteRequestCountsTheBurst)
{
    dialogs.CycleRange = {{"0", "0"}};
    core.TmiCheckCircle();
    Read({0x68, 0x01, 0x02});
    EXPECT_TRUE(line.Sent.empty());
    EXPECT_EQ(status.Panels[4], "RSuc:1");
    Read(kRequest);
    EXPECT_EQ(line.Sent.size(), 1u);
}

// ---- Variable rate --------------------------------------------------------------------------

TEST(ReplyVariableRate, CountsAndWraps)
{
    TVariableRate r;
    r.RepliesPerStep = 2;
    EXPECT_FALSE(r.CountFrame(true));
    EXPECT_TRUE(r.CountFrame(true));
    EXPECT_FALSE(r.CountFrame(true));
    EXPECT_FALSE(r.CountFrame(false));  // unchecked: the count starts over
    EXPECT_FALSE(r.CountFrame(true));
    EXPECT_TRUE(r.CountFrame(true));

    r.RepliesPerStep = 0;  // the 8-bit count meets 0 again after 256 frames
    int due = 0;
    for (int k = 1; k <= 512; ++k)
        if (r.CountFrame(true)) {
            ++due;
            EXPECT_EQ(k % 256, 0) << k;
        }
    EXPECT_EQ(due, 2);
}

TEST(ReplyVariableRate, NextBaudSettingLadder)
{
    const std::pair<int, const char*> cases[] = {
        {300, "1200,e,8,1"}, {1200, "2400,e,8,1"}, {2400, "4800,e,8,1"},
        {4800, "9600,e,8,1"}, {9600, "9600,e,8,1"}, {19200, "9600,e,8,1"},
    };
    const int steps[] = {0, 1, 2, 3, 3, 3};
    TVariableRate r;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        EXPECT_EQ(r.NextBaudSetting(cases[k].first), cases[k].second);
        EXPECT_EQ(r.BaudStep, steps[k]);
    }
    EXPECT_EQ(RateOfSettings("1200,e,8,1"), 1200);
    EXPECT_EQ(RateOfSettings(""), 0);
}

TEST_F(CoreTest, ReplyVariableRateReopensThePortAfterTheSetCount)
{
    dialogs.RepliesPerStep = "02";
    ASSERT_TRUE(core.ChooseNum(true));
    core.SetTestMode(2);
    line.Text = "1200,e,8,1";
    const Bytes frame = MakeFrame(kAddr, 0x01, {0x10, 0x90});
    Read(frame);
    EXPECT_TRUE(line.Reopened.empty());
    Read(frame);
    EXPECT_EQ(line.Reopened, std::vector<std::string>{"2400,e,8,1"});
    EXPECT_EQ(status.Panels[1], "COM1打开,2400,e,8,1");
    EXPECT_EQ(dialogs.Synced, (std::vector<std::pair<std::string, int>>{{"2400,e,8,1", 4}}));

    line.Text = "9600,e,8,1";
    Read(frame);
    Read(frame);
    EXPECT_EQ(line.Reopened.back(), "9600,e,8,1");  // the ladder stops at 9600

    dialogs.RepliesPerStep.reset();
    EXPECT_FALSE(core.ChooseNum(true));
}

TEST_F(CoreTest, ReplyAltSStepsRoundTheLadder)
{
    core.Rate.BaudStep = 3;
    for (int k = 0; k < 4; ++k)
        core.FastChange('S');
    EXPECT_EQ(line.Reopened, (std::vector<std::string>{"1200,e,8,1", "2400,e,8,1", "4800,e,8,1",
                                                       "9600,e,8,1"}));
    EXPECT_TRUE(line.Opened);
}

TEST_F(CoreTest, ReplyAltATogglesTheCyclicReply)
{
    core.Replies.CycleBegin = 7;
    core.Options.SelfReply = true;
    core.FastChange('A');
    EXPECT_TRUE(core.Options.CycleReply);
    EXPECT_FALSE(core.Options.SelfReply);
    EXPECT_EQ(core.Replies.CycleLength, 7);
    core.FastChange('A');
    EXPECT_FALSE(core.Options.CycleReply);
}

// ---- Long frame, answered reads, protocol ---------------------------------------------------

TEST_F(CoreTest, ReplyLongFrameIdsAreSharedWithTheMeter)
{
    dialogs.LongFrameIds = {{"C032", "0102"}};
    ASSERT_TRUE(core.TmiCheckAuto());
    EXPECT_EQ(core.Meter->LongFrameSetId[0], 0xC0);
    EXPECT_EQ(core.Meter->LongFrameSetId[1], 0x32);
    EXPECT_EQ(core.Meter->LongFrameReadId[1], 0x02);
    EXPECT_EQ(core.LongFrameSetText, "C032");
}

TEST_F(CoreTest, ReplyProtocolChoiceKeepsTheTariffCountOnCancel)
{
    core.Meter->MaxTariff = 4;
    core.DoCheckRule(mpDlt645_2007);
    EXPECT_EQ(core.Meter->Protocol, mpDlt645_2007);
    EXPECT_EQ(core.Meter->MaxTariff, 4);
    dialogs.MaxTariff = 8;
    core.DoCheckRule(mpDlt645_2007);
    EXPECT_EQ(core.Meter->MaxTariff, 8);

    dialogs.AnsweredReads = {{false, true}};
    core.ToolButtonBhClick();
    EXPECT_FALSE(core.Meter->AnswerBroadcastRead);
    EXPECT_TRUE(core.Meter->AnswerAddressRead);
}

}  // namespace
}  // namespace consoletest
