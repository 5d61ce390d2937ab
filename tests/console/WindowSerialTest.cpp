// The console as it runs: the main window with its core on the real serial link, the test playing
// the equipment at the master end of a pseudo-terminal.
#include "MainWindowHarness.h"
#include "PtyPair.h"
#include "console/FDlgComSet.h"
#include "console/FFrmOrd.h"
#include "console/SerialLink.h"
#include "platform/rtl/IniFiles.h"
#include "meter/FFunct.h"
#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTimer>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>
#include <fstream>

#include <poll.h>

using namespace std::chrono_literals;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

// A DL/T 645-1997 frame to meter 000000000001 (address bytes in frame order).
Bytes Frame97(std::uint8_t control, const Bytes& data, std::uint8_t lastAddressByte = 0x01)
{
    Bytes f = {0x68, lastAddressByte, 0x00, 0x00, 0x00, 0x00, 0x00, 0x68, control,
               static_cast<std::uint8_t>(data.size())};
    for (const std::uint8_t b : data)
        f.push_back(b);  // (not insert: GCC 12 warns falsely about its copy)
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    return f;
}

const Bytes ReadTotalEnergy = Frame97(0x01, {0x43, 0xC3});  // read 9010

std::size_t Count(const Lines& lines, const std::string& part)
{
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(part) != std::string::npos;
    }));
}

class WindowSerial : public ::testing::Test {
protected:
    // A window in the black-list test (or another `mode`) with no row checked (every address
    // answered), its port set to the pty's slave end; `more` adds lines to the section "系统".
    void Start(const std::string& device, const std::string& more = "", int mode = 3)
    {
        harness = std::make_unique<MainWindowHarness>(TMeterTime{}, false);
        std::ofstream(harness->iniPath, std::ios::binary) << rtl::Utf8ToGbk(
            "[系统]\r\n测试类型=" + std::to_string(mode) + "\r\n串口设备=" + device + "\r\n" + more);
        harness->Create();
    }
    void OpenThroughTheButton()
    {
        W().TbtnComOpenClick();
        ASSERT_TRUE(W().Link->Comm().PortOpen())
            << (harness->messages.empty() ? "" : harness->messages[0]);
    }
    TFrmMain& W() { return *harness->window; }
    Lines Op() { return TFrmMain::MemoLines(W().MemoRes); }
    Lines Raw() { return TFrmMain::MemoLines(W().MemoTx); }

    // One whole reply (an optional preamble, then 68 .. 16 of the length its L byte gives).
    Bytes ReadReply(std::chrono::milliseconds timeout = 2000ms)
    {
        Bytes got;
        SpinUntil(
            [&] {
                for (std::uint8_t b : pty.Read(SIZE_MAX, 1ms))
                    got.push_back(b);
                const auto start = std::find(got.begin(), got.end(), 0x68);
                const auto at = static_cast<std::size_t>(start - got.begin());
                return got.size() >= at + 10 && got.size() >= at + 12u + got[at + 9];
            },
            timeout);
        const auto start = std::find(got.begin(), got.end(), 0x68);
        return Bytes(start, got.end());
    }

    PtyPair pty;
    std::unique_ptr<MainWindowHarness> harness;
};

TEST_F(WindowSerial, OpenAndCloseNameTheDevice)
{
    Start(pty.SlavePath());
    const std::string dev = pty.SlavePath();
    EXPECT_EQ(W().PanelText(1), dev + "关闭9600,e,8,1");
    OpenThroughTheButton();
    EXPECT_EQ(W().TbtnComOpen->text().toStdString(), "关闭串口");
    EXPECT_EQ(W().PanelText(1), dev + "打开,9600,e,8,1");
    EXPECT_EQ(Op().back(), dev + "打开,9600,e,8,1");
    W().TbtnComOpenClick();
    EXPECT_FALSE(W().Link->Comm().PortOpen());
    EXPECT_EQ(W().TbtnComOpen->text().toStdString(), "打开串口");
    EXPECT_EQ(W().PanelText(1), dev + "关闭,9600,e,8,1");
    EXPECT_EQ(Op().back(), dev + "关闭");
}

TEST_F(WindowSerial, AFailedOpenLeavesThePortClosedAndSaysWhy)
{
    const std::string missing = "/dev/ammerlin-no-such-tty";
    Start(missing);
    W().TbtnComOpenClick();
    EXPECT_FALSE(W().Link->Comm().PortOpen());
    ASSERT_EQ(harness->messages.size(), 1u);
    EXPECT_EQ(harness->messages[0], "串口" + missing + "打开失败:设备不存在");
    EXPECT_EQ(W().TbtnComOpen->text().toStdString(), "打开串口");
    EXPECT_EQ(W().PanelText(1), missing + "关闭9600,e,8,1");
    const Lines op = Op();
    ASSERT_GE(op.size(), 2u);
    EXPECT_EQ(op[op.size() - 2], harness->messages[0]);
    EXPECT_EQ(op.back(), missing + "关闭");
}

TEST_F(WindowSerial, AReadIsAnsweredByteForByte)
{
    Start(pty.SlavePath());
    OpenThroughTheButton();
    W().Meter->SetTotalEnergy("00123456");
    pty.Write(ReadTotalEnergy);
    // 81H, L = 7: the identifier, four energy bytes and the phase byte (address 1: phase 1).
    const Bytes expected = Frame97(0x81, {0x43, 0xC3, 0x89, 0x67, 0x45, 0x33, 0x34});
    EXPECT_EQ(ReadReply(), expected);
    EXPECT_TRUE(pty.Drain(150ms).empty());
    ASSERT_TRUE(SpinUntil([&] { return W().PanelText(5) == "TSuc:1"; }, 1s));
    EXPECT_EQ(W().PanelText(2), "RX:14");
    EXPECT_EQ(W().PanelText(3), "TX:" + std::to_string(expected.size()));
    EXPECT_EQ(Count(Raw(), ByteLine("->", expected.data(), static_cast<int>(expected.size()))), 1u);
}

// The reply is on the line before the first of its log lines reaches the view: when the view
// changes, the reply is already waiting at the equipment's end.
TEST_F(WindowSerial, TheReplyArrivesBeforeItsLogLinesAreShown)
{
    Start(pty.SlavePath());
    OpenThroughTheButton();
    bool shown = false;
    bool replyWaiting = false;
    QObject::connect(W().MemoTx->document(), &QTextDocument::contentsChanged, [&] {
        if (shown)
            return;
        shown = true;
        pollfd p{pty.MasterFd(), POLLIN, 0};
        replyWaiting = ::poll(&p, 1, 300) == 1;  // a reply not yet written never comes meanwhile
    });
    pty.Write(ReadTotalEnergy);
    ASSERT_TRUE(SpinUntil([&] { return shown; }, 1s));  // the reply is not read meanwhile
    EXPECT_TRUE(replyWaiting);
    EXPECT_EQ(ReadReply(), Frame97(0x81, {0x43, 0xC3, 0x33, 0x33, 0x33, 0x33, 0x34}));
    EXPECT_EQ(Count(Raw(), "->68"), 1u);
}

TEST_F(WindowSerial, AFrameSplitWithinTheWaitGetsOneReply)
{
    Start(pty.SlavePath());
    OpenThroughTheButton();
    pty.Write(Bytes(ReadTotalEnergy.begin(), ReadTotalEnergy.begin() + 5));
    SpinFor(10ms);
    pty.Write(Bytes(ReadTotalEnergy.begin() + 5, ReadTotalEnergy.end()));
    const Bytes reply = ReadReply();
    ASSERT_GE(reply.size(), 12u);
    EXPECT_EQ(reply[8], 0x81);
    EXPECT_TRUE(pty.Drain(200ms).empty());
    EXPECT_EQ(Count(Op(), "<-收到一帧:"), 1u);
    EXPECT_EQ(W().PanelText(4), "RSuc:1");
    EXPECT_EQ(W().PanelText(5), "TSuc:1");
}

TEST_F(WindowSerial, RefusedBurstsAreLoggedAndNotAnswered)
{
    Start(pty.SlavePath());
    OpenThroughTheButton();

    // The rest of a frame coming after the frame gap: the first part has no end byte, the rest
    // is a stray burst; neither is answered.
    pty.Write(Bytes(ReadTotalEnergy.begin(), ReadTotalEnergy.begin() + 6));
    SpinFor(250ms);
    pty.Write(Bytes(ReadTotalEnergy.begin() + 6, ReadTotalEnergy.end()));
    EXPECT_TRUE(pty.Drain(300ms).empty());
    EXPECT_EQ(Count(Op(), "<-没有结束符"), 1u);
    EXPECT_EQ(Count(Op(), "<-收到一帧:"), 2u);

    Bytes badSum = ReadTotalEnergy;
    badSum[badSum.size() - 2] ^= 0x01;
    pty.Write(badSum);
    EXPECT_TRUE(pty.Drain(300ms).empty());
    EXPECT_EQ(Count(Op(), "<-校验和错误"), 1u);
    EXPECT_EQ(W().PanelText(4), "RSuc:3");
    EXPECT_EQ(W().PanelText(5), "TSuc:0");
}

TEST_F(WindowSerial, ClosingTheOtherEndShowsThePortClosed)
{
    Start(pty.SlavePath());
    OpenThroughTheButton();
    pty.CloseMaster();
    ASSERT_TRUE(SpinUntil([&] { return !W().Link->Comm().PortOpen(); }, 2s));
    ASSERT_TRUE(SpinUntil([&] { return W().TbtnComOpen->text() == QString::fromUtf8("打开串口"); }, 1s));
    // Panel 1 as after a close by hand; the log says in words that the port went away.
    EXPECT_EQ(W().PanelText(1), pty.SlavePath() + "关闭,9600,e,8,1");
    EXPECT_EQ(Op().back(), pty.SlavePath() + "关闭");
    // The reason in the operator's words, the system's text only after them.
    const std::string lost = "串口" + pty.SlavePath() + "已断开:";
    ASSERT_EQ(Count(Op(), lost), 1u);
    const std::string reason = Op()[Op().size() - 2].substr(lost.size());
    EXPECT_TRUE(!reason.empty() && static_cast<unsigned char>(reason[0]) >= 0x80) << reason;
}

// Closing the window while bytes are on their way in (half a frame under the frame gap, or a
// whole request whose reply is being sent) ends the program cleanly, every time.
TEST_F(WindowSerial, ClosingTheWindowWithTrafficInFlightNeverCrashes)
{
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        Start(pty.SlavePath());
        W().show();
        QTest::mouseClick(W().TbtnComOpen, Qt::LeftButton);
        ASSERT_TRUE(W().Link->Comm().PortOpen());
        pty.Write(ReadTotalEnergy);
        ASSERT_FALSE(ReadReply().empty());
        const int received = W().Core->RxByteCount;
        pty.Write(round % 2 ? ReadTotalEnergy : Bytes(ReadTotalEnergy.begin(), ReadTotalEnergy.begin() + 5));
        ASSERT_TRUE(SpinUntil([&] { return W().Core->RxByteCount > received; }, 1s));
        W().close();
        SpinFor(250ms);  // the frame gap, a read or a paced reply would reach the core now
        harness.reset();
        pty.Drain(5ms);
    }
}

// With the port closed a command cannot leave: the log says so, nothing is counted as sent, and
// "组命令帧" is free again for the next try.
TEST_F(WindowSerial, ACommandWithThePortClosedIsToldAsAFailure)
{
    Start(pty.SlavePath(), "", 2);  // the white-list test has "组命令帧"
    W().show();
    QTest::mouseClick(W().TbtnCmdRd9010, Qt::LeftButton);  // opens the composer
    TFrmSend& composer = *W().Composer;
    ASSERT_TRUE(composer.isVisible());
    composer.EditBh->setFocus();
    QTest::keyClicks(composer.EditBh, "000000000001");
    QTest::mouseClick(composer.BitBtnMeterAdd, Qt::LeftButton);
    QTest::mouseClick(composer.BitBtn2, Qt::LeftButton);  // "确认"

    const std::string failed = "->命令发送失败:串口" + pty.SlavePath() + "未打开";
    QTest::mouseClick(W().TbtnCmdRd9010, Qt::LeftButton);
    EXPECT_EQ(Count(Op(), failed), 1u);
    EXPECT_TRUE(W().TbtnCmdRd9010->isEnabled());
    QTest::mouseClick(W().BbtnEventEn, Qt::LeftButton);  // "事件使能"
    EXPECT_EQ(Count(Op(), failed), 2u);
    EXPECT_EQ(Count(Op(), "成功发送"), 0u);
    EXPECT_EQ(W().PanelText(3), "TX:0");
    EXPECT_EQ(W().PanelText(5), "TSuc:0");
    EXPECT_TRUE(pty.Drain(50ms).empty());

    // Once the port is open the same click sends to the same meter and waits for its answer.
    QTest::mouseClick(W().TbtnComOpen, Qt::LeftButton);
    QTest::mouseClick(W().TbtnCmdRd9010, Qt::LeftButton);
    const Bytes command = ReadReply();
    ASSERT_GE(command.size(), 12u);
    EXPECT_EQ(command[1], 0x01);
    EXPECT_EQ(Count(Op(), "->命令成功发送"), 1u);
    EXPECT_EQ(W().PanelText(5), "TSuc:1");
    EXPECT_FALSE(W().TbtnCmdRd9010->isEnabled());
}

// "Daltrex显示" shows what it captures: the listening pages come beside the operation log while the
// switch is on, with the carrier frame in them, and go when it is off.
TEST_F(WindowSerial, TheCarrierDisplayShowsWhatItCaptures)
{
    Start(pty.SlavePath());
    W().show();
    QTest::mouseClick(W().TbtnComOpen, Qt::LeftButton);
    QTest::mouseClick(W().CheckAbandon, Qt::LeftButton);
    ASSERT_TRUE(W().CheckAbandon->isChecked());
    EXPECT_TRUE(W().IsTabShown(W().TabSheet3));
    EXPECT_TRUE(W().IsTabShown(W().TabSheet5));
    EXPECT_EQ(W().PageControl1->currentWidget(), W().TabSheet5);
    EXPECT_TRUE(W().IsTabShown(W().TabSheet1));
    pty.Write({0xAA, 0xAA, 0xAA, 0x05, 0x01, 0x02, 0x03, 0x04, 0x16});
    ASSERT_TRUE(SpinUntil([&] { return Count(TFrmMain::MemoLines(W().MemoBw), "  AA 05 01 02 03 04 16") == 1; }, 1s));
    EXPECT_TRUE(W().MemoBw->isVisible());

    QTest::mouseClick(W().CheckAbandon, Qt::LeftButton);
    EXPECT_FALSE(W().IsTabShown(W().TabSheet3));
    EXPECT_FALSE(W().IsTabShown(W().TabSheet5));
}

// An 8 KB burst in the listening test: what the buffer held is shown, and the line after it says
// how many bytes were dropped, so that shown and dropped make the whole burst.
TEST_F(WindowSerial, AListeningBurstPastTheBufferSaysHowMuchWasDropped)
{
    Start(pty.SlavePath(), "", 5);
    W().show();
    QTest::mouseClick(W().TbtnComOpen, Qt::LeftButton);
    Bytes burst(8192);
    for (std::size_t i = 0; i < burst.size(); ++i)
        burst[i] = static_cast<std::uint8_t>(i % 251);
    pty.Write(burst);
    ASSERT_TRUE(SpinUntil([&] { return W().Core->RxByteCount == 8192; }, 2s));
    SpinFor(300ms);
    std::size_t shown = 0, dropped = 0;
    for (const std::string& l : TFrmMain::MemoLines(W().MemoBw)) {
        const auto mark = l.find("<-长度超,丢弃");
        if (mark != std::string::npos)
            dropped += std::stoul(l.substr(mark + std::string("<-长度超,丢弃").size()));
        else if (l.rfind("<-", 0) == 0)
            shown += (l.size() - l.find("  ") - 2 + 1) / 3;  // "XX " per byte after the stamp
    }
    EXPECT_GT(dropped, 0u);
    EXPECT_EQ(shown + dropped, burst.size());
}

// "可变速率" with one reply per step from 1200 baud: each handled read moves the port one step up
// the ladder, and the reply to that read still leaves whole before the new rate applies.
TEST_F(WindowSerial, TheVariableRateStepsUpTheLadder)
{
    Start(pty.SlavePath());
    W().Link->Comm().SetSettings("1200,e,8,1");
    OpenThroughTheButton();
    ASSERT_EQ(pty.Baud(), 1200);
    W().Core->Rate.RepliesPerStep = 1;
    W().Core->Options.ChangeBaud = true;
    W().CheckChangeBaud->setChecked(true);

    for (const int rate : {2400, 4800, 9600, 9600}) {
        pty.Write(ReadTotalEnergy);
        const Bytes reply = ReadReply();
        ASSERT_EQ(reply.size(), 19u) << rate;
        EXPECT_EQ(reply.back(), 0x16);
        EXPECT_EQ(reply[18 - 1], ByteSum(reply.data(), 17));
        ASSERT_TRUE(SpinUntil([&] { return pty.Baud() == rate; }, 1s)) << rate << " " << pty.Baud();
        const std::string settings = std::to_string(rate) + ",e,8,1";
        EXPECT_EQ(W().Link->Comm().Settings(), settings);
        EXPECT_EQ(W().PanelText(1), pty.SlavePath() + "打开," + settings);
        EXPECT_TRUE(W().Link->Comm().PortOpen());
    }
    EXPECT_EQ(Count(Op(), pty.SlavePath() + "关闭"), 0u);  // changed on the open port
    EXPECT_EQ(W().PanelText(5), "TSuc:4");
}

} // namespace

// A port chosen in "串口设置" by its device path (a pseudo-terminal, a USB adapter) is written to
// the settings at once and opened again after a restart.
TEST(WindowPortMemory, TheChosenDeviceSurvivesARestart)
{
    PtyPair pty;
    for (const std::string& device : {pty.SlavePath(), std::string("/dev/ttyUSB0")}) {
        SCOPED_TRACE(device);
        MainWindowHarness h;
        TFrmMain* w = h.window.get();
        QTimer::singleShot(0, w, [w, device] {
            w->ComSetDialog->CbbxNo->setEditText(QString::fromStdString(device));
            w->ComSetDialog->CbbxNoExit();
            w->ComSetDialog->OKBtnClick();
        });
        w->ToolButton1Click();
        EXPECT_EQ(rtl::TIniFile(h.iniPath).ReadString("系统", "串口设备", ""), device);
        h.Close();
        h.window.reset();

        h.Create();
        TFrmMain& again = *h.window;
        EXPECT_EQ(again.Link->Comm().Device(), device);
        EXPECT_EQ(again.PanelText(1), device + "关闭9600,e,8,1");
        if (device == pty.SlavePath()) {
            again.TbtnComOpenClick();
            EXPECT_TRUE(again.Link->Comm().PortOpen());
            again.TbtnComOpenClick();
        }
        h.Close();
    }
}
