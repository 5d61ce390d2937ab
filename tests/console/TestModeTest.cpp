// Test modes and the address filter.
#include "ConsoleCoreFakes.h"

namespace consoletest {
namespace {

TEST_F(CoreTest, TestModeRoundTripOverEveryMode)
{
    const std::uint8_t bits[] = {tmRelay, tmWhiteList, tmBlackList, tmUnrecognised, 0, tmInterval,
                                 tmRouting};
    for (int mode = 1; mode <= 7; ++mode) {
        core.SetTestMode(mode);
        EXPECT_EQ(core.TestModeFlags, bits[mode - 1]) << mode;
        EXPECT_EQ(core.GetTestMode(), mode);  // the listening mode comes back as 5, not 7
        EXPECT_EQ(FindTestMode(mode)->Bit, bits[mode - 1]);
    }
    for (int outside : {0, 8, -1}) {
        core.SetTestMode(outside);
        EXPECT_EQ(core.TestModeFlags, 0) << outside;
        EXPECT_EQ(core.GetTestMode(), 7);
        EXPECT_EQ(FindTestMode(outside), nullptr);
    }
}

TEST(TestModeTable, CarriesWhatTheWindowShows)
{
    EXPECT_EQ(TestModeTitle("Ammerlin", 1), "Ammerlin(中继测试)V2.7.1 2011-05-05 13:50:56");
    EXPECT_EQ(TestModeTitle("Ammerlin", 9), "Ammerlin(芯片测试)V2.7.1 2011-05-05 13:50:56");
    EXPECT_EQ(TestModeTitle("Ammerlin", 5), "Ammerlin(侦听测试)V2.7.1 2011-05-05 13:50:56");
    EXPECT_EQ(NodeLabelTexts(TNodeLabels::Relay)[0], "直抄    节点");
    EXPECT_EQ(NodeLabelTexts(TNodeLabels::Relay)[7], "7 级中继节点");
    EXPECT_EQ(NodeLabelTexts(TNodeLabels::BlackList)[2], "表号黑名单3");
    EXPECT_EQ(NodeLabelTexts(TNodeLabels::Interval)[2], "黑名单区间2");
    EXPECT_EQ(NodeLabelTexts(TNodeLabels::Interval)[3], "    至    ");
    EXPECT_EQ(FindTestMode(4)->RowsEditable, TModeShow::Hidden);
    EXPECT_EQ(FindTestMode(2)->CommandButtons, TModeShow::Shown);
    EXPECT_FALSE(FindTestMode(5)->SetsLabels);
    // Relay first, then unrecognised, interval, black, white; nothing reads as routing.
    EXPECT_EQ(TestModeFromFlags(tmRelay | tmWhiteList, false), 1);
    EXPECT_EQ(TestModeFromFlags(tmInterval | tmBlackList, false), 6);
    EXPECT_EQ(TestModeFromFlags(0, false), 7);
}

TEST_F(CoreTest, ChoosingTheListeningModeEmptiesTheCommunicationLogs)
{
    core.Options.ChipKind = true;
    log.Append(TLogId::CommRecord, "x");
    log.Append(TLogId::ListenRecordA, "y");
    core.ChooseTestMode(kListeningMode);
    EXPECT_TRUE(log.Op().empty());
    EXPECT_EQ(log.Pages[TLogId::ListenRecordA].size(), 1u);
    EXPECT_FALSE(core.Options.ChipKind);
    core.ChooseTestMode(2);
    EXPECT_TRUE(log.Pages[TLogId::ListenRecordA].empty());
    EXPECT_EQ(core.GetTestMode(), 2);
}

TEST_F(CoreTest, AddressRowsArePaddedCutAndUpperCased)
{
    EXPECT_EQ(core.SetAddressRow(2, "abc"), "000000000ABC");
    EXPECT_EQ(core.SetAddressRow(3, "1234567890abcdef"), "1234567890AB");
    EXPECT_EQ(core.AddressRows[3], "1234567890AB");
}

struct FilterCase {
    const char* Name;
    int Mode;
    std::vector<std::pair<int, std::string>> Rows;  // row, text (stored as typed)
    std::vector<int> Checked;
    Bytes Address;        // frame order
    const char* Refusal;  // "" when accepted
    Bytes Answered;       // the address the meter takes, frame order (accepted only)
};

void PrintTo(const FilterCase& c, std::ostream* os)
{
    *os << c.Name;
}

Bytes A(std::initializer_list<std::uint8_t> b)
{
    return Bytes(b);
}

std::vector<FilterCase> FilterCases()
{
    const Bytes a123 = A({0x23, 0x01, 0, 0, 0, 0});
    const Bytes a124 = A({0x24, 0x01, 0, 0, 0, 0});
    const Bytes wild = A({0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA});
    return {
        {"white list answers a checked row", 2, {{2, "000000000123"}}, {2}, a123, "", a123},
        {"white list refuses others", 2, {{2, "000000000123"}}, {2}, a124, "接收到名单以外的电表", {}},
        {"white list ignores unchecked rows", 2, {{2, "000000000123"}}, {}, a123,
         "接收到名单以外的电表", {}},
        {"black list refuses a checked row", 3, {{2, "000000000123"}}, {2}, a123,
         "接收到黑名单上的电表", {}},
        {"black list answers others", 3, {{2, "000000000123"}}, {2}, a124, "", a124},
        {"interval refuses inside", 6, {{0, "000000000200"}, {1, "000000000100"}}, {},
         A({0x50, 0x01, 0, 0, 0, 0}), "接收到黑名单区间内的电表", {}},
        {"interval includes its ends", 6, {{0, "000000000200"}, {1, "000000000100"}}, {},
         A({0x00, 0x01, 0, 0, 0, 0}), "接收到黑名单区间内的电表", {}},
        {"interval answers outside", 6, {{0, "000000000200"}, {1, "000000000100"}}, {},
         A({0x01, 0x02, 0, 0, 0, 0}), "", A({0x01, 0x02, 0, 0, 0, 0})},
        {"interval rows in lower case", 6, {{0, "00000000000a"}, {1, "00000000000f"}}, {},
         A({0x0B, 0, 0, 0, 0, 0}), "接收到黑名单区间内的电表", {}},
        {"AA wildcards take the row", 2, {{0, "000000000001"}}, {0}, wild, "",
         A({0x01, 0, 0, 0, 0, 0})},
        {"FF wildcard takes one byte", 2, {{0, "000000000201"}}, {0},
         A({0x01, 0xFF, 0, 0, 0, 0}), "", A({0x01, 0x02, 0, 0, 0, 0})},
        {"all 99H takes the whole row", 2, {{1, "000000000002"}}, {1},
         A({0x99, 0x99, 0x99, 0x99, 0x99, 0x99}), "", A({0x02, 0, 0, 0, 0, 0})},
        {"lower-case row matches", 2, {{0, "00000000abcd"}}, {0}, A({0xCD, 0xAB, 0, 0, 0, 0}), "",
         A({0xCD, 0xAB, 0, 0, 0, 0})},
        {"unrecognised number never refuses", 4, {{0, "000000000005"}}, {}, a124, "", a124},
        {"unrecognised number fills wildcards from any row", 4,
         {{0, "000000000199"}, {1, "000000000007"}}, {}, A({0xAA, 0, 0, 0, 0, 0}), "",
         A({0x07, 0, 0, 0, 0, 0})},
    };
}

class FilterTable : public CoreTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterTable, RefusesOrAnswers)
{
    const FilterCase& c = GetParam();
    core.SetTestMode(c.Mode);
    core.AddressRows.fill("000000000000");
    for (const auto& [row, text] : c.Rows)
        core.AddressRows[static_cast<std::size_t>(row)] = text;
    for (int row : c.Checked)
        core.AddressChecks[static_cast<std::size_t>(row)] = true;
    // A 1997 read to the broadcast address is a broadcast command the meter settles itself; a
    // 2007 read to it reaches the address filter.
    const bool broadcast = std::all_of(c.Address.begin(), c.Address.end(), [](auto b) { return b == 0x99; });
    if (broadcast)
        Read(MakeFrame(c.Address, 0x11, {0x00, 0x00, 0x01, 0x00}));
    else
        Read(MakeFrame(c.Address, 0x01, {0x10, 0x90}));

    const std::string refusal = c.Refusal;
    if (refusal.empty()) {
        EXPECT_NE(core.Meter->StatusCode, msNotThisAddress);
        EXPECT_EQ(Bytes(core.Meter->GetMeterAddress(), core.Meter->GetMeterAddress() + 6), c.Answered);
        EXPECT_EQ(std::count(log.Op().begin(), log.Op().end(), "接收到名单以外的电表"), 0);
    } else {
        EXPECT_EQ(core.Meter->StatusCode, msNotThisAddress);
        EXPECT_EQ(log.Op().back(), refusal);
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, FilterTable, ::testing::ValuesIn(FilterCases()),
                         [](const auto& info) {
                             std::string n = info.param.Name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

TEST_F(CoreTest, RelayAndRoutingTestsSkipTheLists)
{
    for (int mode : {1, 7}) {
        core.SetTestMode(mode);
        core.Meter->SetRequestFlag(true);
        core.Meter->SetStatus(msOk);
        core.FilterAddress();
        EXPECT_EQ(core.Meter->StatusCode, msOk);
    }
}

TEST(TestModePhase, OfAddressTexts)
{
    EXPECT_EQ(PhaseOfAddressText("000000000004"), 1);
    EXPECT_EQ(PhaseOfAddressText("000000000005"), 2);
    EXPECT_EQ(PhaseOfAddressText("000000000006"), 3);
    EXPECT_EQ(PhaseOfAddressText("999999999999"), 3);
    EXPECT_EQ(PhaseOfAddressText("00000000000A"), 3);
    EXPECT_STREQ(PhaseText(2), "目的表B相");
    EXPECT_STREQ(PhaseText(0), "目的表未知");
}

}  // namespace
}  // namespace consoletest
