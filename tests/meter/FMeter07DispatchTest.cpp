// The DL/T 645-2007 command dispatch: hand-off by control code, L and DI3, broadcasts, the
// follow-up sequences, password, remote control and the clear commands.
#include "tests/meter/Meter07Fixture.h"

namespace {

using namespace meter07test;

class Dispatch07 : public Meter07 {};

struct TDispatchCase {
    const char* Name;
    std::uint8_t C;
    Bytes Data;
    std::uint8_t ReplyC;  // 0: no reply
    Bytes ReplyData;      // the whole reply data, or its first bytes for a successful read
    int Status = msOk;
};

TEST_F(Dispatch07, HandsEachRequestToItsHandlerOrAnswersTheError)
{
    const TDispatchCase cases[] = {
        {"energy", 0x11, Id(0x00, 0x01, 0x00, 0x00), 0x91, Id(0x00, 0x01, 0x00, 0x00)},
        {"energy, L 5", 0x11, Cat({Id(0x00, 0x01, 0x00, 0x00), {0x00}}), 0xD1, {0x01}},
        {"demand", 0x11, Id(0x01, 0x01, 0x00, 0x00), 0x91, Id(0x01, 0x01, 0x00, 0x00)},
        {"variables", 0x11, Id(0x02, 0x01, 0x01, 0x00), 0x91, Id(0x02, 0x01, 0x01, 0x00)},
        {"events", 0x11, Id(0x03, 0x30, 0x00, 0x00), 0x91, Id(0x03, 0x30, 0x00, 0x00)},
        {"parameters", 0x11, Id(0x04, 0x00, 0x01, 0x01), 0x91, Id(0x04, 0x00, 0x01, 0x01)},
        {"freeze", 0x11, Id(0x05, 0x06, 0x00, 0x01), 0x91, Id(0x05, 0x06, 0x00, 0x01)},
        {"DI3 06", 0x11, Id(0x06, 0x00, 0x00, 0x01), 0xD1, {0x02}},
        {"DI3 07", 0x11, Id(0x07, 0x00, 0x00, 0x01), 0xD1, {0x02}},
        {"phase break", 0x11, Id(0x13, 0x01, 0x00, 0x01), 0x91, Id(0x13, 0x01, 0x00, 0x01)},
        {"trip", 0x11, Id(0x1D, 0x00, 0x01, 0x01), 0x91, Id(0x1D, 0x00, 0x01, 0x01)},
        {"close", 0x11, Id(0x1E, 0x00, 0x01, 0x01), 0x91, Id(0x1E, 0x00, 0x01, 0x01)},
        {"sub-meters", 0x11, Id(0x20, 0x01, 0x99, 0x01), 0x91, Id(0x20, 0x01, 0x99, 0x01)},
        {"unserved identifier", 0x11, Id(0x04, 0x00, 0x01, 0x08), 0xD1, {0x02}},
        {"L 6 energy packet", 0x11, Cat({Id(0x00, 0xD0, 0xD1, 0x01), {0x12, 0x34}}), 0x91,
         Cat({Id(0x00, 0xD0, 0xD1, 0x01), {0x12, 0x34}})},
        {"L 6 box-open records", 0x11, Cat({Id(0x03, 0x40, 0x02, 0x01), {0x01, 0x02}}), 0x91,
         Id(0x03, 0x40, 0x02, 0x01)},
        {"L 6 other DI3", 0x11, Cat({Id(0x02, 0x01, 0x01, 0x00), {0x00, 0x00}}), 0xD1, {0x01}},
        {"L 10 load records", 0x11, Cat({Id(0x00, 0x00, 0x00, 0x00), {0x41, 1, 2, 3, 4, 5}}), 0x91,
         Cat({Id(0x00, 0x00, 0x00, 0x00), {0xA0, 0xA0}})},
        {"L 10 other DI3", 0x11, Cat({Id(0x02, 0x00, 0x00, 0x00), {0x41, 1, 2, 3, 4, 5}}), 0xD1, {0x02}},
        {"L 3", 0x11, {0x00, 0x00, 0x01}, 0, {}},
        {"L 7", 0x11, Cat({Id(0x00, 0x01, 0x00, 0x00), {1, 2, 3}}), 0, {}},
        {"L 0", 0x11, {}, 0, {}},
        {"follow-up without a sequence", 0x12, Cat({Id(0x03, 0x30, 0x02, 0x01), {0x01}}), 0xD2, {0x02}},
        {"read address", 0x13, {}, 0x93, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66}},
        {"freeze command", 0x16, Id(0x99, 0x99, 0x99, 0x99), 0, {}},
        {"change of baud rate", 0x17, {0x04}, 0, {}, msCommandUnsupported},
        {"0x1D", 0x1D, {}, 0, {}, msCommandUnsupported},
        {"0x1E", 0x1E, {}, 0, {}, msCommandUnsupported},
        {"addressed 0x1F", 0x1F, {0x00, 0x00}, 0, {}, msCommandUnsupported},
        {"0x1C short", 0x1C, {0x02, 0x11, 0x22, 0x33}, 0xDC, {0x01}},
        {"0x14 short", 0x14, Cat({Id(0x04, 0x00, 0x01, 0x01), {0x02, 0x11}}), 0xD4, {0x01}},
    };
    meter.AddrText = "665544332211";
    for (const TDispatchCase& t : cases) {
        SCOPED_TRACE(t.Name);
        const TReply r = Send(t.C, t.Data);
        EXPECT_EQ(meter.StatusCode, t.Status);
        EXPECT_EQ(r.C, t.ReplyC);
        if (t.ReplyC == 0x91)
            ASSERT_GE(r.Data.size(), t.ReplyData.size());
        else
            EXPECT_EQ(r.Data.size(), t.ReplyData.size());
        EXPECT_EQ(Bytes(r.Data.begin(), r.Data.begin() + static_cast<long>(std::min(r.Data.size(), t.ReplyData.size()))),
                  t.ReplyData);
    }
}

TEST_F(Dispatch07, ReadTextNamesTheIdentifierAndTheData)
{
    Read(Id(0x00, 0x01, 0x00, 0x00));
    EXPECT_EQ(meter.Texts.Command, "读00010000 当前正向有功T00电能");
    Read(Id(0x06, 0x00, 0x00, 0x01));
    EXPECT_EQ(meter.Texts.Command, "读06000001 ");
}

// ---- Broadcast ------------------------------------------------------------------------------

TEST_F(Dispatch07, BroadcastTimeSetsTheClockOnlyWithARealTime)
{
    // 2024-02-29 23:59:58, a Thursday.
    Send(0x08, {0x58, 0x59, 0x23, 0x29, 0x02, 0x24}, kBroadcast);
    EXPECT_EQ(meter.StatusCode, msOk);
    EXPECT_EQ(meter.TxLength, 0);
    EXPECT_EQ(Bytes(meter.Clock, meter.Clock + 7), (Bytes{0x58, 0x59, 0x23, 0x04, 0x29, 0x02, 0x24}));
    EXPECT_EQ(meter.Texts.Address, "广播命令 ");
    EXPECT_EQ(meter.Texts.Command, "校时 ");

    const Bytes before(meter.Clock, meter.Clock + 7);
    for (const Bytes& bad : {Bytes{0x60, 0x00, 0x12, 0x01, 0x01, 0x25}, Bytes{0x00, 0x00, 0x24, 0x01, 0x01, 0x25},
                             Bytes{0x00, 0x00, 0x12, 0x29, 0x02, 0x25}, Bytes{0x00, 0x00, 0x12, 0x01, 0x13, 0x25},
                             Bytes{0x0A, 0x00, 0x12, 0x01, 0x01, 0x25}, Bytes{0x00, 0x00, 0x12, 0x00, 0x01, 0x25}}) {
        Send(0x08, bad, kBroadcast);
        EXPECT_EQ(meter.StatusCode, msDataError) << Hex(bad);
        EXPECT_EQ(Bytes(meter.Clock, meter.Clock + 7), before);
    }
    Send(0x08, {0x00, 0x00, 0x12, 0x01, 0x01}, kBroadcast);
    EXPECT_EQ(meter.StatusCode, msFrameLength);
}

TEST_F(Dispatch07, BroadcastSetAddressNeedsProgrammingAndSixBytes)
{
    const Bytes address = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    Send(0x15, address, kBroadcast);
    EXPECT_EQ(meter.StatusCode, msNotProgramEnabled);
    EXPECT_EQ(meter.TxLength, 0);

    meter.ProgramEnable = true;
    Send(0x15, {0x01, 0x02, 0x03}, kBroadcast);
    EXPECT_EQ(meter.StatusCode, msFrameLength);

    const TReply r = Send(0x15, address, kBroadcast);
    EXPECT_EQ(r.C, 0x95);
    EXPECT_TRUE(r.Data.empty());
    EXPECT_EQ(Bytes(tx + 1, tx + 7), address);
    EXPECT_EQ(meter.AddrText, "060504030201");
    EXPECT_TRUE(meter.AddrTextChanged);
}

TEST_F(Dispatch07, BroadcastFreezeIsNeverAnswered)
{
    for (const Bytes& data : {Bytes{}, Bytes{0x99, 0x99, 0x99, 0x99}, Bytes{1, 2, 3, 4, 5, 6, 7}}) {
        Send(0x16, data, kBroadcast);
        EXPECT_EQ(meter.StatusCode, msOk);
        EXPECT_EQ(meter.TxLength, 0);
    }
}

TEST_F(Dispatch07, BroadcastReadAddressEchoesTwoBytesAndNeedsThem)
{
    meter.AddrText = "000012345678";
    const TReply r = Send(0x1F, {0xAB, 0xCD}, kBroadcast);
    EXPECT_EQ(r.C, 0x9F);
    EXPECT_EQ(r.Data, (Bytes{0xAB, 0xCD, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00}));

    Send(0x1F, {0xAB}, kBroadcast);
    EXPECT_EQ(meter.StatusCode, msFrameLength);
    EXPECT_EQ(meter.TxLength, 0);
}

TEST_F(Dispatch07, OtherBroadcastsAreAddressedRequests)
{
    const TReply r = Send(0x11, Id(0x00, 0x01, 0x00, 0x00), kBroadcast);
    EXPECT_EQ(r.C, 0x91);
    EXPECT_EQ(Bytes(tx + 1, tx + 7), kBroadcast);
}

// ---- Follow-up sequences --------------------------------------------------------------------

class FollowUp07 : public Meter07 {
protected:
    TReply Next(const Bytes& id, std::uint8_t seq) { return Send(0x12, Cat({id, {seq}})); }
};

TEST_F(FollowUp07, DemandClearRecordHasOneFurtherFrame)
{
    // On the 2nd of March, the record of N = 3 lies two days back: 28 February.
    SetClock(0x07, 0x05, 0x14, 0x02, 0x03, 0x25);
    const Bytes e = {0x78, 0x56, 0x34, 0x12};
    std::copy(e.begin(), e.end(), meter.TariffEnergy[0]);
    const Bytes id = Id(0x03, 0x30, 0x02, 0x03);
    const TReply first = Read(id);
    EXPECT_EQ(first.C, 0xB1);
    EXPECT_EQ(first.Data.size(), 110u);
    EXPECT_TRUE(meter.FollowUpActive);

    const TReply r = Next(id, 1);
    EXPECT_EQ(r.C, 0x92);
    ASSERT_EQ(r.Data.size(), 97u);
    const Bytes record = {0x78, 0x56, 0x34, 0x02, 0x14, 0x28, 0x02, 0x25};
    for (std::size_t i = 0; i < 93; ++i)
        EXPECT_EQ(r.Body()[i], record[i % 8]) << i;
    EXPECT_EQ(meter.Texts.Command, "读后续03300203 ");

    // The announced frame was the last one.
    EXPECT_EQ(Next(id, 2).C, 0xD2);
    EXPECT_EQ(meter.Texts.Command, "无后续03300203 ");
}

TEST_F(FollowUp07, TimeTableRecordHasThreeFurtherFrames)
{
    const Bytes id = Id(0x03, 0x30, 0x05, 0x01);
    EXPECT_EQ(Read(id).C, 0xB1);

    // Data 4..15 the table head, 16..45 FF, then three copies of data 14..55 made in ascending
    // order: the first overlaps its source.
    Bytes expected(173);
    const Bytes head = {0x01, 0x00, 0x00, 0x02, 0x00, 0x07, 0x03, 0x00, 0x13, 0x04, 0x00, 0x18};
    std::copy(id.begin(), id.end(), expected.begin());
    std::copy(head.begin(), head.end(), expected.begin() + 4);
    std::fill(expected.begin() + 16, expected.begin() + 46, 0xFF);
    for (int i = 46; i < 88; ++i)
        expected[i] = expected[i - 32];
    for (int i = 88; i < 172; ++i)
        expected[i] = expected[14 + (i - 88) % 42];
    EXPECT_EQ(Bytes(expected.begin() + 78, expected.begin() + 88),
              Bytes(expected.begin() + 14, expected.begin() + 24));

    for (std::uint8_t seq = 1; seq <= 3; ++seq) {
        SCOPED_TRACE(seq);
        const TReply r = Next(id, seq);
        EXPECT_EQ(r.C, seq < 3 ? 0xB2 : 0x92);
        expected[172] = seq;
        EXPECT_EQ(r.Data, expected);
    }
    EXPECT_EQ(Next(id, 4).C, 0xD2);
    EXPECT_FALSE(meter.FollowUpActive);
}

TEST_F(FollowUp07, DayFreezeBlockHasOneFurtherFrame)
{
    const Bytes power = {0x00, 0x10, 0x02, 0x00, 0x20, 0x01, 0x00, 0x30, 0x00, 0x00, 0x40, 0x00};
    std::copy(power.begin(), power.end(), meter.ActivePower[0]);
    const Bytes id = Id(0x05, 0x06, 0xFF, 0x01);
    const TReply first = Read(id);
    EXPECT_EQ(first.C, 0xB1);
    EXPECT_EQ(first.Data.size(), 0xA9u);

    const TReply r = Next(id, 1);
    EXPECT_EQ(r.C, 0x92);
    EXPECT_EQ(r.Data, Cat({id, Bytes(80, 0x00), power, power, {0x01}}));
    EXPECT_EQ(Next(id, 2).C, 0xD2);
}

TEST_F(FollowUp07, WrongIdentifierWrongSequenceOrANewReadEndTheService)
{
    const Bytes id = Id(0x03, 0x30, 0x05, 0x02);
    Read(id);
    EXPECT_EQ(Next(Id(0x03, 0x30, 0x05, 0x03), 1).C, 0xD2);
    EXPECT_EQ(meter.Texts.Command, "03300503 不符");
    EXPECT_EQ(Next(id, 2).C, 0xD2);  // the first frame is number 1
    EXPECT_EQ(meter.Texts.Command, "无后续03300502 ");
    EXPECT_EQ(Send(0x12, id).C, 0xD2);  // no sequence number
    EXPECT_EQ(tx[10] - 0x33, 0x01);
    EXPECT_EQ(Next(id, 1).C, 0xB2);  // still in progress

    Read(Id(0x00, 0x01, 0x00, 0x00));
    EXPECT_FALSE(meter.FollowUpActive);
    EXPECT_EQ(Next(id, 2).C, 0xD2);
}

// ---- Password, writes, remote control, clears -----------------------------------------------

class Commands07 : public Meter07 {
protected:
    // Change password: identifier 04 00 0C level, old level, old password, new level, new password.
    TReply ChangePassword(std::uint8_t level, const Bytes& oldPw, const Bytes& newPw)
    {
        return Send(0x18, Cat({Id(0x04, 0x00, 0x0C, level), {0x02}, oldPw, {level}, newPw}));
    }
};

TEST_F(Commands07, ChangePasswordStoresTheNewPasswordForLaterWrites)
{
    int notified = 0;
    meter.OnNotify = [&](int event) { notified = event; };
    const TReply r = ChangePassword(0x04, {0x11, 0x22, 0x33}, {0xAA, 0xBB, 0xCC});
    EXPECT_EQ(r.C, 0x98);
    EXPECT_EQ(r.Data, (Bytes{0x04, 0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(notified, 2);
    EXPECT_EQ(Bytes(meter.Password, meter.Password + 3), (Bytes{0xAA, 0xBB, 0xCC}));

    EXPECT_EQ(Write(Id(0x04, 0x00, 0x01, 0x03), {0x01}).C, 0xD4);
    EXPECT_EQ(meter.Texts.Command, "密码错误");
    EXPECT_EQ(Write(Id(0x04, 0x00, 0x01, 0x03), {0x01}, {0xAA, 0xBB, 0xCC}).C, 0x94);
}

TEST_F(Commands07, ChangePasswordRefusals)
{
    // Not a password identifier or level: no answer at all.
    for (std::uint8_t level : {0x00, 0x0B}) {
        ChangePassword(level, {0x11, 0x22, 0x33}, {0x01, 0x02, 0x03});
        EXPECT_EQ(meter.TxLength, 0);
        EXPECT_EQ(meter.StatusCode, msOk);
    }
    const TReply shortRequest = Send(0x18, Cat({Id(0x04, 0x00, 0x0C, 0x02), {0x02, 0x11, 0x22, 0x33}}));
    EXPECT_EQ(shortRequest.C, 0xD8);
    EXPECT_EQ(shortRequest.Data, Bytes{0x01});

    const TReply wrong = ChangePassword(0x02, {0x11, 0x22, 0x34}, {0x01, 0x02, 0x03});
    EXPECT_EQ(wrong.C, 0xD8);
    EXPECT_EQ(wrong.Data, Bytes{0x04});
    EXPECT_EQ(Bytes(meter.Password, meter.Password + 3), (Bytes{0x11, 0x22, 0x33}));

    // The programming switch stands in for the old password.
    meter.ProgramEnable = true;
    EXPECT_EQ(ChangePassword(0x02, {0x00, 0x00, 0x00}, {0x01, 0x02, 0x03}).C, 0x98);
    EXPECT_EQ(Bytes(meter.Password, meter.Password + 3), (Bytes{0x01, 0x02, 0x03}));
}

TEST_F(Commands07, WriteChecksLengthPasswordAndIdentifier)
{
    // Password incomplete: nothing past L is taken for it.
    const TReply shortPw = Send(0x14, Cat({Id(0x04, 0x00, 0x01, 0x03), {0x02, 0x11, 0x22}}));
    EXPECT_EQ(shortPw.C, 0xD4);
    EXPECT_EQ(shortPw.Data, Bytes{0x01});
    EXPECT_EQ(Write(Id(0x04, 0x00, 0x01, 0x03), {}, {0x11, 0x22, 0x30}).Data, Bytes{0x04});
    EXPECT_EQ(Write(Id(0x02, 0x01, 0x01, 0x00), {0x00}).Data, Bytes{0x02});
    EXPECT_EQ(Write(Id(0x04, 0x00, 0x05, 0x01), {0x00}).Data, Bytes{0x02});
    const TReply ok = Write(Id(0x04, 0x00, 0x01, 0x03), {0x01});
    EXPECT_EQ(ok.C, 0x94);
    EXPECT_TRUE(ok.Data.empty());
    EXPECT_EQ(meter.Texts.Command, "写04000103 ");
}

TEST_F(Commands07, RemoteControlWithRightAndWrongPassword)
{
    auto control = [&](std::uint8_t word, const Bytes& pw) {
        return Send(0x1C, Cat({{0x02}, pw, {0x78, 0x56, 0x34, 0x12}, {word}}));
    };
    const Bytes right = {0x11, 0x22, 0x33};
    TReply r = control(0x1A, {0x11, 0x22, 0x00});
    EXPECT_EQ(r.C, 0xDC);
    EXPECT_EQ(r.Data, Bytes{0x04});
    EXPECT_EQ(meter.Texts.Command, "密码错误");
    EXPECT_EQ(meter.RelayStatus, 0);

    r = control(0x1A, right);
    EXPECT_EQ(r.C, 0x9C);
    EXPECT_TRUE(r.Data.empty());
    EXPECT_EQ(meter.Texts.Command, "跳闸");
    EXPECT_EQ(meter.RelayStatus, 0x01);
    EXPECT_EQ(meter.Status97, 0x08);

    r = control(0x2A, right);
    EXPECT_EQ(r.C, 0x9C);
    EXPECT_EQ(meter.Texts.Command, "报警");
    EXPECT_EQ(meter.RelayStatus, 0x01);

    meter.Status97 |= 0x40;
    r = control(0x1B, right);
    EXPECT_EQ(r.C, 0x9C);
    EXPECT_EQ(meter.Texts.Command, "合闸允许");
    EXPECT_EQ(meter.RelayStatus, 0x00);
    EXPECT_EQ(meter.Status97, 0x40);

    r = control(0x4A, right);
    EXPECT_EQ(r.C, 0xDC);
    EXPECT_EQ(r.Data, Bytes{0x01});
    EXPECT_EQ(meter.Texts.Command, "命令错误");
}

TEST_F(Commands07, ClearCommands)
{
    const Bytes pw = {0x11, 0x22, 0x33};
    const Bytes clearDemand = Cat({{0x02}, pw, {0x78, 0x56, 0x34, 0x12}});
    Send(0x19, clearDemand);
    EXPECT_EQ(meter.StatusCode, msNotProgramEnabled);
    EXPECT_EQ(meter.TxLength, 0);

    TReply r = Send(0x19, Cat({{0x02}, {0x11, 0x22, 0x00}, {0x78, 0x56, 0x34, 0x12}}));
    EXPECT_EQ(r.C, 0xD9);
    EXPECT_EQ(r.Data, Bytes{0x04});
    r = Send(0x1B, clearDemand);  // the event clear takes four more bytes
    EXPECT_EQ(r.C, 0xDB);
    EXPECT_EQ(r.Data, Bytes{0x01});

    meter.ProgramEnable = true;
    EXPECT_EQ(Send(0x19, clearDemand).C, 0x99);
    EXPECT_EQ(Send(0x1B, Cat({clearDemand, {0xFF, 0xFF, 0xFF, 0xFF}})).C, 0x9B);

    // The meter clear zeroes the whole 2007 store: totals, tariffs, phases, settlement days.
    for (TEnergy07Copy& copy : meter.Energy07Store) {
        copy.Energy07[1][0][0] = 0x55;
        copy.Energy07[1][3][1] = 0x66;
        copy.Energy07[9][63][3] = 0x77;
        copy.PhaseEnergy07[2][1][0] = 0x88;
        copy.ExtEnergy07[6][3][2] = 0x99;
    }
    EXPECT_EQ(Send(0x1A, clearDemand).C, 0x9A);
    EXPECT_EQ(meter.Texts.Command, "电表清零 ");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(meter.Energy07Store);
    EXPECT_TRUE(std::all_of(bytes, bytes + sizeof meter.Energy07Store, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(ReadBody(Id(0x00, 0x01, 0x03, 0x00)), Bytes(4, 0x00));
}

}  // namespace
