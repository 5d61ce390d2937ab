#include "meter/FMeter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "meter/FFunct.h"
#include "common/Frame645.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kAddr = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
const Bytes kBroadcast = {0x99, 0x99, 0x99, 0x99, 0x99, 0x99};

// 2025-03-09 14:05:07, a Sunday.
TMeterTime FixedTime()
{
    return {2025, 3, 9, 14, 5, 7};
}

using testsupport::MakeFrame;

class MeterEngine : public ::testing::Test {
protected:
    MeterEngine() : meter(FixedTime)
    {
        meter.SetTxBuffer(tx);
        meter.SetFrameBuffer(rx);
        std::fill(std::begin(rx), std::end(rx), 0xA5);
    }

    void AcceptAddresses()
    {
        meter.OnCheckAddress = [this] { ++checks; };
    }

    // Hands in the frame with the length the console would pass.
    void Handle(const Bytes& frame) { Handle(frame, static_cast<int>(frame.size())); }
    void Handle(const Bytes& frame, int length)
    {
        std::copy(frame.begin(), frame.end(), rx);
        meter.ProcessFrame(length);
    }

    Bytes Reply() const { return Bytes(tx, tx + meter.TxLength); }

    TZbSxMeter meter;
    std::uint8_t tx[TZbSxMeter::kFrameBufferSize] = {};
    std::uint8_t rx[TZbSxMeter::kFrameBufferSize] = {};
    int checks = 0;
};

TEST(MeterConstruction, TakesTheInjectedTime)
{
    TZbSxMeter meter(FixedTime);
    EXPECT_EQ(Bytes(meter.Clock, meter.Clock + 7), (Bytes{0x07, 0x05, 0x14, 0x00, 0x09, 0x03, 0x25}));
    EXPECT_EQ(meter.CurrentTariff, 4);  // 14:00 starts tariff 4 in the default schedule
    EXPECT_EQ(meter.Protocol, mpDlt645_1997);
    EXPECT_TRUE(meter.Running);
    EXPECT_TRUE(meter.AnswerBroadcastRead);
    EXPECT_EQ(meter.HourTableSelector, 1);
    for (const EventRepFrame* f : {&meter.DataEventRep, &meter.ControlEventRep, &meter.CancelEventRep,
                                   &meter.FinishedEventRep}) {
        EXPECT_EQ(f->Len, 11);
        EXPECT_EQ(f->Data[0], 0xAA);
    }
}

TEST(MeterConstruction, ClockOfOtherDates)
{
    struct Row {
        TMeterTime time;
        Bytes clock;
    };
    const Row rows[] = {
        {{2000, 1, 1, 0, 0, 0}, {0, 0, 0, 6, 0x01, 0x01, 0x00}},
        {{2024, 2, 29, 23, 59, 59}, {0x59, 0x59, 0x23, 4, 0x29, 0x02, 0x24}},
        {{2099, 12, 31, 12, 30, 1}, {0x01, 0x30, 0x12, 4, 0x31, 0x12, 0x99}},
    };
    for (const Row& r : rows) {
        TZbSxMeter meter([&] { return r.time; });
        EXPECT_EQ(Bytes(meter.Clock, meter.Clock + 7), r.clock);
    }
}

TEST(MeterConstruction, WorksOnItsOwnBuffersUntilTheConsoleLendsOthers)
{
    TZbSxMeter meter(FixedTime);
    const Bytes f = MakeFrame(kAddr, 0x81, {0x10, 0x90});
    std::copy(f.begin(), f.end(), meter.RxFrame);
    meter.ProcessFrame(static_cast<int>(f.size()));
    EXPECT_EQ(meter.StatusCode, msOk);
    EXPECT_EQ(meter.Texts.Answer, "正常应答");
}

TEST(MeterAccessors, IndexesOutOfRangeFallBack)
{
    TZbSxMeter meter(FixedTime);
    EXPECT_EQ(meter.GetVoltage(5), meter.Voltage[0]);
    EXPECT_EQ(meter.GetVoltage(2), meter.Voltage[2]);
    EXPECT_EQ(meter.GetCurrent(3), meter.Current[0]);
    EXPECT_EQ(meter.GetPowerFactor(3), meter.PowerFactor[3]);
    EXPECT_EQ(meter.GetPowerFactor(4), meter.PowerFactor[0]);
    EXPECT_EQ(meter.GetPhaseAngle(-1), meter.PhaseAngle[0]);
    EXPECT_EQ(meter.GetBoxOpenRecord(57), meter.BoxOpenRecords[7]);
    EXPECT_EQ(meter.GetHourTable(false), meter.HourEnergy[0][0]);
    EXPECT_EQ(meter.GetHourTable(true), meter.HourEnergy[1][0]);
    // 64 registers per kind: the last tariff is 63; anything else reads the total.
    EXPECT_EQ(meter.GetEnergy07(63), meter.Energy07Store[0].Energy07[1][63]);
    EXPECT_EQ(meter.GetEnergy07(64), meter.Energy07Store[0].Energy07[1][0]);
    EXPECT_EQ(meter.GetEnergy07(-1), meter.Energy07Store[0].Energy07[1][0]);
    EXPECT_EQ(meter.PhaseEnergy07Index[2][4], meter.Energy07Store[0].PhaseEnergy07[4][2]);
    EXPECT_EQ(meter.ExtEnergy07Index[3][6], meter.Energy07Store[0].ExtEnergy07[6][3]);

    // The named views have the sizes of what they name.
    EXPECT_EQ(sizeof meter.TotalEnergy, 4u);
    EXPECT_EQ(meter.TotalEnergy, meter.GetEnergyBlock());
    EXPECT_EQ(meter.FixedRateStep, meter.GetEnergyBlock() + 4);
    EXPECT_EQ(sizeof meter.TariffEnergy, 20u);
    EXPECT_EQ(meter.FreezeWork[0], meter.Registers97[30]);
    EXPECT_EQ(meter.PhaseEnergy[2], meter.Registers97[56]);

    meter.Password[0] = 0x12;
    const std::uint8_t same[3] = {0x12, 0, 0};
    const std::uint8_t other[3] = {0x12, 0, 1};
    EXPECT_FALSE(meter.PasswordDiffers(same));
    EXPECT_TRUE(meter.PasswordDiffers(other));

    meter.NotifyOwner(2);  // unbound: nothing happens
    int seen = 0;
    meter.OnNotify = [&](int e) { seen = e; };
    meter.NotifyOwner(2);
    EXPECT_EQ(seen, 2);
}

TEST(MeterClock, TickSecondRollsOverTheDay)
{
    TZbSxMeter meter([] { return TMeterTime{2024, 12, 31, 23, 59, 58}; });
    ASSERT_EQ(meter.Clock[3], 2);  // Tuesday
    meter.TickSecond();
    EXPECT_EQ(Bytes(meter.Clock, meter.Clock + 7), (Bytes{0x59, 0x59, 0x23, 2, 0x31, 0x12, 0x24}));
    meter.TickSecond();
    EXPECT_EQ(Bytes(meter.Clock, meter.Clock + 7), (Bytes{0x00, 0x00, 0x00, 3, 0x01, 0x01, 0x25}));
    EXPECT_EQ(meter.CurrentTariff, 1);  // the 00:00 entry is in force from 00:00:00
}

TEST(MeterClock, PausedMeterKeepsItsClockRunning)
{
    TZbSxMeter meter(FixedTime);
    meter.Running = false;
    for (int i = 0; i < 53; ++i)
        meter.TickSecond();
    EXPECT_EQ(Bytes(meter.Clock, meter.Clock + 3), (Bytes{0x00, 0x06, 0x14}));
}

// ---- Checks and statuses --------------------------------------------------------------------

TEST_F(MeterEngine, WrongStartBytesGiveStatus1)
{
    Bytes f = MakeFrame(kAddr, 0x01, {0x10, 0x90});
    f[7] = 0x67;
    Handle(f);
    EXPECT_EQ(meter.StatusCode, msFrameStart);
    EXPECT_EQ(meter.Texts.Status, "帧首字节错");
    EXPECT_EQ(meter.TxLength, 0);
    f = MakeFrame(kAddr, 0x01, {0x10, 0x90});
    f[0] = 0xFE;
    Handle(f);
    EXPECT_EQ(meter.StatusCode, msFrameStart);
}

TEST_F(MeterEngine, WrongChecksumGivesStatus4AndKeepsTheProtocol)
{
    Bytes f = {0x68, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x68, 0x11, 0x04, 0x33, 0x33, 0x34, 0x33, 0x00, 0x16};
    Handle(f);
    EXPECT_EQ(meter.StatusCode, msChecksum);
    EXPECT_EQ(meter.Texts.Status, "帧校验错");
    EXPECT_EQ(meter.Protocol, mpDlt645_1997);
    EXPECT_EQ(meter.TxLength, 0);
    EXPECT_TRUE(meter.RequestFlag);
    EXPECT_EQ(rx[10], 0x33);  // nothing unmasked
}

TEST_F(MeterEngine, LengthsThatDoNotDescribeTheFrameGiveStatus5)
{
    AcceptAddresses();
    const Bytes f = MakeFrame(kAddr, 0x81, {0x10, 0x90, 0x00, 0x00, 0x00, 0x00});
    struct Row {
        int length;
        const char* why;
    };
    const Row rows[] = {
        {0, "empty"},
        {11, "shorter than any frame"},
        {static_cast<int>(f.size()) - 1, "L says one byte more"},
        {static_cast<int>(f.size()) + 1, "L says one byte less"},
        {static_cast<int>(f.size()) + 256, "the length modulo 256 would match"},
        {TZbSxMeter::kFrameBufferSize + 1, "longer than the buffer"},
    };
    for (const Row& r : rows) {
        std::fill(std::begin(rx), std::end(rx), 0xA5);
        Handle(f, r.length);
        EXPECT_EQ(meter.StatusCode, msFrameLength) << r.why;
        EXPECT_EQ(meter.Texts.Status, "帧长度") << r.why;
        EXPECT_EQ(meter.TxLength, 0) << r.why;
        EXPECT_EQ(rx[10], 0x10 + 0x33) << r.why << ": data unmasked";
        EXPECT_EQ(rx[f.size()], 0xA5) << r.why;
    }
    EXPECT_EQ(checks, 0);
}

TEST_F(MeterEngine, NoAddressCheckBoundGivesStatus10)
{
    Handle(MakeFrame(kAddr, 0x01, {0x10, 0x90}));
    EXPECT_EQ(meter.StatusCode, msNotThisAddress);
    EXPECT_EQ(meter.Texts.Status, "非本地址");
    EXPECT_EQ(meter.TxLength, 0);
    EXPECT_EQ(Bytes(meter.MeterAddr, meter.MeterAddr + 6), kAddr);
}

TEST_F(MeterEngine, BroadcastOfAnotherCommandIsAnAddressedRequest)
{
    Handle(MakeFrame(kBroadcast, 0x03, {}));
    EXPECT_EQ(meter.StatusCode, msNotThisAddress);
    EXPECT_EQ(meter.Texts.Address, "广播命令 ");
}

TEST_F(MeterEngine, AddressCheckCanRefuseOrRewrite)
{
    meter.OnCheckAddress = [this] {
        EXPECT_TRUE(meter.GetRequestFlag());
        EXPECT_EQ(Bytes(meter.GetMeterAddress(), meter.GetMeterAddress() + 6), kAddr);
        meter.SetStatus(msNotThisAddress);
    };
    Handle(MakeFrame(kAddr, 0x01, {0x10, 0x90}));
    EXPECT_EQ(meter.StatusCode, msNotThisAddress);
    EXPECT_EQ(meter.TxLength, 0);

    // The unrecognised-number mode writes the configured address into the frame.
    meter.OnCheckAddress = [this] { std::fill(rx + 1, rx + 7, 0x01); };
    Handle(MakeFrame(kAddr, 0x01, {0x10, 0x90}));
    EXPECT_NE(meter.StatusCode, msNotThisAddress);
    EXPECT_EQ(Bytes(meter.MeterAddr, meter.MeterAddr + 6), Bytes(6, 0x01));
    EXPECT_EQ(meter.Texts.Address, "表号:010101010101 ");
}

TEST_F(MeterEngine, RequestDataIsUnmaskedInPlaceAndNothingPastTheFrame)
{
    AcceptAddresses();
    const Bytes f = MakeFrame(kAddr, 0x01, {0x10, 0x90});
    Handle(f);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(rx[10], 0x10);
    EXPECT_EQ(rx[11], 0x90);
    EXPECT_EQ(rx[12], f[12]);  // the checksum stays as it came
    EXPECT_EQ(rx[f.size()], 0xA5);
}

TEST_F(MeterEngine, Request2007IsReducedToSixBits)
{
    AcceptAddresses();
    Handle(MakeFrame(kAddr, 0x51, {0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(meter.Protocol, mpDlt645_2007);
    EXPECT_EQ(rx[8], 0x11);
}

// ---- Protocol detection -----------------------------------------------------------------------

TEST_F(MeterEngine, ProtocolDetection)
{
    AcceptAddresses();
    struct Row {
        std::uint8_t c;
        int l;
        std::uint8_t before;
        bool locked;
        std::uint8_t after;
    };
    const Row rows[] = {
        {0x11, 4, 0, false, 1},  {0x11, 4, 0, true, 0},   {0x11, 4, 1, false, 1},
        {0x01, 2, 1, false, 0},  {0x01, 2, 1, true, 1},   {0x14, 12, 0, false, 1},
        {0x1D, 8, 0, false, 0},  {0x1D, 8, 1, false, 1},  {0x10, 0, 1, false, 1},
        {0x10, 0, 0, false, 0},  {0x08, 6, 1, false, 1},  {0x08, 6, 0, false, 0},
        {0x08, 4, 1, false, 0},  {0x08, 4, 1, true, 1},   {0x91, 8, 0, false, 1},
        {0x81, 6, 1, false, 0},  {0x11, 4, 2, false, 2},  {0x11, 4, 3, false, 3},
        {0x01, 2, 3, false, 3},  {0x0F, 8, 1, false, 0},  {0x1C, 16, 0, false, 1},
    };
    for (const Row& r : rows) {
        meter.Protocol = r.before;
        meter.ProtocolLocked = r.locked;
        Handle(MakeFrame(kAddr, r.c, Bytes(static_cast<std::size_t>(r.l), 0x00)));
        EXPECT_EQ(meter.Protocol, r.after) << std::hex << "C " << int(r.c) << std::dec << " L " << r.l
                                           << " from " << int(r.before) << (r.locked ? " locked" : "");
        EXPECT_NE(meter.StatusCode, msFrameLength);
    }
}

// ---- Answers of other devices -------------------------------------------------------------------

TEST_F(MeterEngine, AnswersOfOtherDevicesAreDescribedNotAnswered)
{
    struct Row {
        std::uint8_t protocol;
        std::uint8_t c;
        Bytes data;
        const char* command;
        const char* answer;
    };
    const Row rows[] = {
        {0, 0x81, {0x10, 0x90, 0x78, 0x56, 0x34, 0x12}, "读9010 ", "123456.78 kWh;"},
        {0, 0x81, {0x1F, 0x90, 0x01, 0x00, 0x00, 0x00}, "读901F ", "000000.01 kWh;"},
        {0, 0x81, {0x10, 0x90}, "读9010 ", "正常应答"},  // too short to carry energy
        {0, 0x81, {0x20, 0x90, 0, 0, 0, 0}, "读9020 ", "正常应答"},
        {0, 0x84, {0x10, 0xC0}, "写C010 ", "正常应答"},
        {0, 0x8F, {}, "写密码", "正常应答"},
        {0, 0xC1, {0x02}, "读0002 ", "异常应答"},
        {0, 0xC4, {0x01}, "写0001 ", "异常应答"},
        {0, 0x88, {}, "", "响应成功"},
        {1, 0x91, {0x00, 0x00, 0x01, 0x00, 0x78, 0x56, 0x34, 0x12}, "读00010000 ", "123456.78 kWh;"},
        {1, 0x91, {0x00, 0x00, 0x01, 0x00}, "读00010000 ", "正常应答"},
        {1, 0x94, {0x01, 0x01, 0x00, 0x04}, "写04000101 ", "正常应答"},
        {1, 0x98, {}, "写密码", "正常应答"},
        {1, 0xD1, {0x02}, "读00000002 ", "异常应答"},
        {1, 0xD4, {0x04}, "写00000004 ", "异常应答"},
        {1, 0x93, {1, 2, 3, 4, 5, 6}, "", "响应成功"},
        {2, 0x01, {0x10, 0x90}, "", "响应成功"},  // not a request in "上海规约"
    };
    AcceptAddresses();
    for (const Row& r : rows) {
        meter.Protocol = r.protocol;
        meter.ProtocolLocked = true;
        Handle(MakeFrame(kAddr, r.c, r.data));
        EXPECT_EQ(meter.StatusCode, msOk) << std::hex << int(r.c);
        EXPECT_FALSE(meter.RequestFlag) << std::hex << int(r.c);
        EXPECT_EQ(meter.TxLength, 0) << std::hex << int(r.c);
        EXPECT_EQ(meter.Texts.Command, r.command) << std::hex << int(r.c);
        EXPECT_EQ(meter.Texts.Answer, r.answer) << std::hex << int(r.c);
        EXPECT_EQ(meter.Texts.Address, "表号:665544332211 ");
    }
    EXPECT_EQ(checks, 0);
}

TEST_F(MeterEngine, ListenTargetOnlyRefusesOtherMeters)
{
    meter.ListenTargetOnly = true;
    std::copy(kAddr.begin(), kAddr.end(), meter.TargetAddr);
    Handle(MakeFrame(kAddr, 0x81, {0x10, 0x90}));
    EXPECT_EQ(meter.StatusCode, msOk);
    Handle(MakeFrame(kBroadcast, 0x81, {0x10, 0x90}));
    EXPECT_EQ(meter.StatusCode, msNotThisAddress);
}

TEST_F(MeterEngine, FramesOfEveryLengthUpTo255DataBytesAreTaken)
{
    for (int l = 243; l <= 255; ++l) {
        Bytes data(static_cast<std::size_t>(l), 0x42);
        data[0] = 0x10;
        data[1] = 0x90;
        const Bytes f = MakeFrame(kAddr, 0x81, data);
        ASSERT_EQ(static_cast<int>(f.size()), l + 12);
        Handle(f);
        EXPECT_EQ(meter.StatusCode, msOk) << l;
        EXPECT_EQ(rx[9 + l], 0x42) << l;  // the last data byte is unmasked
        EXPECT_EQ(rx[10 + l], f[10 + l]) << l;
    }
}

// ---- Building replies ---------------------------------------------------------------------------

class MeterReply : public MeterEngine {
protected:
    MeterReply()
    {
        std::copy(kAddr.begin(), kAddr.end(), meter.MeterAddr);
        std::fill(std::begin(meter.TargetAddr), std::end(meter.TargetAddr), 0x77);
    }

    int Build(std::uint8_t c, const Bytes& data)
    {
        std::copy(data.begin(), data.end(), tx + 10);
        return meter.BuildReply(c, static_cast<int>(data.size()));
    }

    // Checks the frame layout of a reply starting at `at` and returns its raw data.
    Bytes CheckFrame(int at, std::uint8_t c)
    {
        const std::uint8_t* f = tx + at;
        EXPECT_EQ(f[0], 0x68);
        EXPECT_EQ(Bytes(f + 1, f + 7), kAddr);
        EXPECT_EQ(f[7], 0x68);
        EXPECT_EQ(f[8], c);
        const int l = f[9];
        EXPECT_EQ(meter.TxLength, at + l + 12);
        EXPECT_EQ(meter.SendLength, meter.TxLength);
        EXPECT_EQ(f[10 + l], ByteSum(f, 10 + l));
        EXPECT_EQ(f[11 + l], 0x16);
        Bytes data(f + 10, f + 10 + l);
        for (auto& b : data)
            b = static_cast<std::uint8_t>(b - 0x33);
        return data;
    }
};

TEST_F(MeterReply, PlainReply)
{
    EXPECT_EQ(Build(0x81, {0x10, 0x90, 0x78, 0x56, 0x34, 0x12}), 18);
    EXPECT_EQ(CheckFrame(0, 0x81), (Bytes{0x10, 0x90, 0x78, 0x56, 0x34, 0x12}));
}

TEST_F(MeterReply, AlwaysCarriesTheMetersOwnAddress)
{
    for (std::uint8_t protocol : {0, 1, 2, 3}) {
        meter.Protocol = protocol;
        for (std::uint8_t c : {0x13, 0x81, 0xC4, 0x54}) {
            Build(c, {0x01});
            CheckFrame(0, c);
        }
    }
}

TEST_F(MeterReply, PhaseByteIsPartOfTheData)
{
    meter.AppendPhase = true;
    meter.PhaseByte = 2;
    Build(0x81, {0x10, 0x90, 0, 0, 0, 0});
    EXPECT_EQ(tx[9], 7);
    EXPECT_EQ(tx[16], 0x35);
    EXPECT_EQ(CheckFrame(0, 0x81).back(), 2);
}

TEST_F(MeterReply, FePreamble)
{
    meter.FePreamble = true;
    EXPECT_EQ(Build(0x81, {0x10, 0x90, 0, 0, 0, 0}), 22);
    EXPECT_EQ(Bytes(tx, tx + 5), (Bytes{0xFE, 0xFE, 0xFE, 0xFE, 0x68}));
    CheckFrame(4, 0x81);
}

TEST_F(MeterReply, LongRepliesUpTo255DataBytes)
{
    for (bool phase : {false, true}) {
        for (bool preamble : {false, true}) {
            meter.AppendPhase = phase;
            meter.PhaseByte = 1;
            meter.FePreamble = preamble;
            for (int l = 243; l <= 256; ++l) {
                Build(0x81, Bytes(static_cast<std::size_t>(l), 0x11));
                const int at = preamble ? 4 : 0;
                const Bytes data = CheckFrame(at, l + phase <= 255 ? 0x81 : 0xC1);
                if (l + phase <= 255)
                    EXPECT_EQ(static_cast<int>(data.size()), l + phase) << l;
                else  // never a cut frame: the read error with error byte 1
                    EXPECT_EQ(data, phase ? (Bytes{0x01, 0x01}) : (Bytes{0x01})) << l;
            }
        }
    }
}

TEST_F(MeterReply, TooLongReplyIn2007IsTheReadErrorD1)
{
    meter.Protocol = mpDlt645_2007;
    Build(0x91, Bytes(260, 0x11));
    EXPECT_EQ(CheckFrame(0, 0xD1), Bytes{0x01});
}

TEST_F(MeterReply, ErrorReplyAndFilledReplies)
{
    meter.BuildErrorReply(0xC4, 2);
    EXPECT_EQ(CheckFrame(0, 0xC4), Bytes{0x02});

    // A 2007 request 0x11 with its identifier already copied to the reply.
    meter.Protocol = mpDlt645_2007;
    rx[8] = 0x11;
    const Bytes id = {0x00, 0x00, 0x01, 0x00};
    std::copy(id.begin(), id.end(), tx + 10);
    meter.ReplyFilled(3, 0x00, true);
    EXPECT_EQ(CheckFrame(0, 0x91), (Bytes{0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0xAA}));
    std::copy(id.begin(), id.end(), tx + 10);
    meter.ReplyFilled32(2);
    EXPECT_EQ(CheckFrame(0, 0x91), (Bytes{0x00, 0x00, 0x01, 0x00, 0x32, 0x32}));
    meter.ReplyFilled(600, 0x00, false);
    EXPECT_EQ(CheckFrame(0, 0xD1), Bytes{0x01});
}

TEST_F(MeterReply, RawFrameGoesToTheTargetAsItIs)
{
    meter.AppendPhase = true;
    meter.FePreamble = true;
    const std::uint8_t data[] = {0x43, 0xC3};
    EXPECT_EQ(meter.BuildRawFrame(0x01, 2, data), 14);
    const Bytes expected = [] {
        Bytes f = {0x68, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x68, 0x01, 0x02, 0x43, 0xC3};
        f.push_back(ByteSum(f.data(), 12));
        f.push_back(0x16);
        return f;
    }();
    EXPECT_EQ(Reply(), expected);
    EXPECT_EQ(meter.SendLength, 14);
}

TEST_F(MeterReply, ReportFrames)
{
    meter.EventRepMode = 0;
    EXPECT_EQ(meter.BuildReportFrame(), 17);
    EXPECT_EQ(Reply(), (Bytes{0xFE, 0xFE, 0xFE, 0xFE, 0x68, 0xDE, 0xDE, 0xDE, 0xDE, 0xDE, 0xDE, 0x68, 0x00,
                              0x01, 0xFF, 0x04, 0x16}));

    meter.DataEventRep.Len = 3;
    std::copy_n("\x68\x01\x16", 3, meter.DataEventRep.Data);
    meter.EventRepMode = 1;
    EXPECT_EQ(meter.BuildReportFrame(), 3);
    EXPECT_EQ(Reply(), (Bytes{0x68, 0x01, 0x16}));

    meter.FinishedEventRep.Len = 2;
    meter.FinishedEventRep.Data[0] = 0xAB;
    meter.FinishedEventRep.Data[1] = 0xCD;
    meter.EventRepMode = 7;
    EXPECT_EQ(meter.BuildReportFrame(), 2);
    EXPECT_EQ(Reply(), (Bytes{0xAB, 0xCD}));
    EXPECT_EQ(meter.SendLength, 2);
}

TEST_F(MeterReply, StatusTexts)
{
    meter.SetStatus(msOk);
    EXPECT_EQ(meter.Texts.Status, "通信成功 ");
    meter.SetStatus(msCommandUnsupported);
    EXPECT_EQ(meter.Texts.Status, "命令不支持");
    meter.SetStatus(13);  // keeps the text
    EXPECT_EQ(meter.StatusCode, 13);
    EXPECT_EQ(meter.Texts.Status, "命令不支持");
}

}  // namespace
