// Classification of overheard bursts and the lines of the listening pages.
#include "ListenTestFrames.h"

#include <gtest/gtest.h>

namespace {

using namespace listen_test;

const std::string Sep(82, '-');
const QDateTime When(QDate(2011, 5, 5), QTime(13, 50, 56, 7));
const std::string T = "2011-05-05 13:50:56:007";

std::string Dump(const Bytes& b)
{
    return BytesToHexSpaced(b.data(), static_cast<int>(b.size()));
}

Bytes WithByte(Bytes b, std::size_t i, std::uint8_t v)
{
    b.at(i) = v;
    return b;
}

// The frames are built inside the tests, not at static initialisation, where the CRC helper's
// table may not be filled yet.
struct ListenFrames : ::testing::Test {
    // A response of phase B (offset 2 bits 5..4) and a command of phase A.
    const Bytes ResponseB = Daltrex(Cat({{0x25, 0x12}, EncodeAddresses({Last(7), Last(8)}), {0x31}}), 0x96);
    const Bytes CommandA = Daltrex(Cat({{0x92, 0x80}, EncodeAddresses({Last(1), Last(2)})}));
    const Bytes NoPhase = Daltrex(Cat({{0x80, 0x00}, EncodeAddresses({Last(1), Last(2)})}));
    const Bytes Frame645 = Dlt645({0x43, 0xC3});
};

struct ClassCase {
    const char* name;
    Bytes burst;
    TListenClass cls;
    std::string text;
};

TEST_F(ListenFrames, EveryClass)
{
    Bytes swapped = CommandA;
    std::swap(swapped[swapped.size() - 3], swapped[swapped.size() - 2]);
    Bytes longer = CommandA;
    longer[1] += 1;  // the end byte is looked for one place too far
    Bytes badTail = Cat({Frame645, QelTail(1)});
    badTail[badTail.size() - 2] ^= 0xFF;
    const Bytes noSecond68{0x68, 1, 2, 3, 4, 5, 6, 0x67, 0x11, 0x00, 0xD7, 0x16};
    Bytes shortTail = QelTail(1);
    shortTail.pop_back();
    const std::string noPhaseText = "Daltrex规约帧格式,不分相," + DescribeCarrierFrame(NoPhase, true, NoPhase[1]);

    const ClassCase cases[] = {
        {"empty", {}, TListenClass::Other, "其他规约帧格式"},
        {"noise", {0x01, 0x02, 0xFE, 0x16}, TListenClass::Other, "其他规约帧格式"},
        {"68 without second 68", noSecond68, TListenClass::Other, "其他规约帧格式"},
        {"645 cut short", Bytes(Frame645.begin(), Frame645.end() - 1), TListenClass::Dlt645Length, "645约帧格式,长度不符"},
        {"645 sum", WithByte(Frame645, Frame645.size() - 2, 0x00), TListenClass::Dlt645Sum, "645规约帧格式,校验和错误"},
        {"645 alone", Frame645, TListenClass::Dlt645, "645规约帧格式"},
        {"645 after preamble", Cat({{0xFE, 0xFE, 0xFE, 0xFE}, Frame645}), TListenClass::Dlt645, "645规约帧格式"},
        {"QEL A", Cat({Frame645, QelTail(1)}), TListenClass::Qel, "QEL约帧格式,命令帧A相"},
        {"QEL B", Cat({Frame645, QelTail(2)}), TListenClass::Qel, "QEL约帧格式,命令帧B相"},
        {"QEL other phase is C", Cat({Frame645, QelTail(7)}), TListenClass::Qel, "QEL约帧格式,命令帧C相"},
        {"QEL cut short", Cat({Frame645, shortTail}), TListenClass::QelLength,
         "QEL规约帧格式,长度不符"},
        {"QEL sum", badTail, TListenClass::QelSum, "QEL约帧格式,校验和错误"},
        {"Daltrex end byte", Cat({CommandA, {0x00}}), TListenClass::DaltrexEnd, "Daltrex规约帧格式,本帧结束符错误"},
        {"Daltrex length", longer, TListenClass::DaltrexLength, "Daltrex规约帧格式,长度不符"},
        {"Daltrex CRC bytes swapped", swapped, TListenClass::DaltrexCrc, "Daltrex规约帧格式,校验和错误"},
        {"Daltrex without phase", NoPhase, TListenClass::Daltrex, noPhaseText},
        {"Daltrex after noise", Cat({{0x00, 0x33}, NoPhase}), TListenClass::Daltrex, noPhaseText},
        {"Daltrex phase A", CommandA, TListenClass::Daltrex,
         "Daltrex规约帧格式,A相," + DescribeCarrierFrame(CommandA, true, CommandA[1])},
    };
    for (const ClassCase& c : cases) {
        const TListenResult r = ClassifyListenBurst(c.burst);
        EXPECT_EQ(r.Class, c.cls) << c.name;
        EXPECT_EQ(r.Text, c.text) << c.name;

        RecordingSink sink;
        ShowListenFrame(c.burst, When, sink);
        EXPECT_EQ(sink.Of(TListenLog::WholeRecord), (std::vector<std::string>{Sep, "<-" + T + "  " + c.text})) << c.name;
        EXPECT_EQ(sink.Of(TListenLog::WholeFrames), (std::vector<std::string>{Sep, "<-" + T + "  " + Dump(c.burst)})) << c.name;
    }
}

using Lines = std::vector<std::pair<TListenLog, std::string>>;

TEST_F(ListenFrames, DaltrexResponseOfPhaseBWithEvent)
{
    const std::string d = DescribeCarrierFrame(ResponseB, false, ResponseB[1]);
    ASSERT_TRUE(d.ends_with(",目的节点发生事件")) << d;
    RecordingSink sink;
    ShowListenFrame(ResponseB, When, sink);
    const std::string h = Dump(ResponseB);
    EXPECT_EQ(sink.Lines, (Lines{
                              {TListenLog::WholeRecord, Sep},
                              {TListenLog::WholeFrames, Sep},
                              {TListenLog::WholeFrames, "<-" + T + "  " + h},
                              {TListenLog::FramesB, Sep},
                              {TListenLog::FramesB, "<-" + T + "  " + h},
                              {TListenLog::RecordB, Sep},
                              {TListenLog::RecordB, "<-" + T + "  " + d},
                              {TListenLog::WholeRecord, "<-" + T + "  Daltrex规约帧格式,B相," + d},
                          }));
}

TEST_F(ListenFrames, QelTailWritesTwoLinesToItsPhaseRecord)
{
    const Bytes burst = Cat({Frame645, QelTail(1)});
    RecordingSink sink;
    ShowListenFrame(burst, When, sink);
    EXPECT_EQ(sink.Of(TListenLog::RecordA), (std::vector<std::string>{"<-" + T, "<-" + Dump(burst)}));
    EXPECT_TRUE(sink.Of(TListenLog::FramesA).empty());
    EXPECT_EQ(sink.Lines.back(), (std::pair<TListenLog, std::string>{TListenLog::WholeRecord, "<-" + T + "  QEL约帧格式,命令帧A相"}));
}

TEST_F(ListenFrames, FaultyOrUnphasedFramesStayOnTheWholePages)
{
    for (const Bytes& burst : {NoPhase, Frame645, WithByte(CommandA, 4, 0x00)}) {
        RecordingSink sink;
        ShowListenFrame(burst, When, sink);
        EXPECT_EQ(sink.Lines.size(), 4u);
        for (const auto& [log, text] : sink.Lines)
            EXPECT_TRUE(log == TListenLog::WholeRecord || log == TListenLog::WholeFrames) << LogName(log);
    }
}

// A burst longer than 256 bytes is classified and dumped as a whole, not just its first bytes.
TEST_F(ListenFrames, LongBurstIsDescribedWhole)
{
    Bytes burst(300 - ResponseB.size(), 0x11);
    burst = Cat({burst, ResponseB});
    ASSERT_EQ(burst.size(), 300u);
    RecordingSink sink;
    ShowListenFrame(burst, When, sink);
    const auto whole = sink.Of(TListenLog::WholeFrames);
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_EQ(whole[1].size(), std::string("<-" + T + "  ").size() + 3 * 300);
    EXPECT_TRUE(whole[1].ends_with(Dump(ResponseB)));
    EXPECT_EQ(sink.Of(TListenLog::WholeRecord).back(),
              "<-" + T + "  Daltrex规约帧格式,B相," + DescribeCarrierFrame(ResponseB, false, ResponseB[1]));
    EXPECT_EQ(sink.Of(TListenLog::FramesB).size(), 2u);
}

TEST_F(ListenFrames, CarrierFrameOfTheDisplayMode)
{
    RecordingSink sink;
    ShowCarrierFrame(CommandA, When, sink);
    const std::string d = DescribeCarrierFrame(CommandA, true, CommandA[1]);
    EXPECT_EQ(sink.Of(TListenLog::RecordA), (std::vector<std::string>{Sep, "<-" + T + "  " + d}));
    EXPECT_EQ(sink.Of(TListenLog::FramesA), (std::vector<std::string>{Sep, "<-" + T + "  " + Dump(CommandA)}));
    EXPECT_EQ(sink.Of(TListenLog::WholeRecord).back(), "<-" + T + "  Daltrex规约帧格式,A相," + d);

    Bytes swapped = CommandA;
    std::swap(swapped[swapped.size() - 3], swapped[swapped.size() - 2]);
    RecordingSink bad;
    ShowCarrierFrame(swapped, When, bad);
    EXPECT_EQ(bad.Lines.size(), 4u);
    EXPECT_EQ(bad.Lines.back().second, "<-" + T + "  Daltrex规约帧格式,校验和错误");
}

TEST(ListenPages, LogNames)
{
    const char* expected[] = {"通信记录",     "通信报文",     "完整侦听记录", "A相侦听记录", "B相侦听记录",
                              "C相侦听记录", "完整侦听报文", "A相侦听报文", "B相侦听报文", "C相侦听报文"};
    for (int i = 0; i < ListenLogCount; ++i)
        EXPECT_STREQ(LogName(static_cast<TListenLog>(i)), expected[i]);
}

}  // namespace
