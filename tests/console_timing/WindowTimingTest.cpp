// The window's timed paths on a pseudo-terminal: continuous sending from the composer (one second
// between a handled answer and the next command) and the byte-by-byte replies of the 645 display
// mode. Lower bounds are tight; upper bounds leave room for a loaded machine.
#include "console/MainWindowHarness.h"
#include "console/PtyPair.h"
#include "console/ToolkitUnitsEnvironment.h"
#include "console/FDlgDelayTime.h"
#include "console/FFrmOrd.h"
#include "console/SerialLink.h"
#include "meter/FFunct.h"
#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <fstream>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

using Bytes = std::vector<std::uint8_t>;

long long MsBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count();
}

Bytes Frame97(std::uint8_t address, std::uint8_t control, const Bytes& data)
{
    Bytes f = {0x68, address, 0x00, 0x00, 0x00, 0x00, 0x00, 0x68, control,
               static_cast<std::uint8_t>(data.size())};
    for (const std::uint8_t b : data)
        f.push_back(b);  // (not insert: GCC 12 warns falsely about its copy)
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    return f;
}

class WindowTiming : public ::testing::Test {
protected:
    // The black-list test with no row checked answers every address; the white-list test shows
    // the command buttons.
    void Start(int testMode)
    {
        harness = std::make_unique<MainWindowHarness>(TMeterTime{}, false);
        std::ofstream(harness->iniPath, std::ios::binary) << rtl::Utf8ToGbk(
            "[系统]\r\n测试类型=" + std::to_string(testMode) + "\r\n串口设备=" + pty.SlavePath() + "\r\n");
        harness->Create();
        W().TbtnComOpenClick();
        ASSERT_TRUE(W().Link->Comm().PortOpen());
    }
    TFrmMain& W() { return *harness->window; }

    // The next frame the console sends (68 .. 16), with the time its first byte arrived.
    std::pair<Bytes, Clock::time_point> NextFrame(std::chrono::milliseconds timeout)
    {
        std::vector<PtyPair::TimedByte> got;
        SpinUntil(
            [&] {
                for (const auto& b : pty.ReadTimed(SIZE_MAX, 1ms))
                    got.push_back(b);
                while (!got.empty() && got.front().Byte != 0x68)
                    got.erase(got.begin());
                return got.size() >= 10 && got.size() >= 12u + got[9].Byte;
            },
            timeout);
        if (got.empty())
            return {};
        Bytes bytes;
        for (const auto& b : got)
            bytes.push_back(b.Byte);
        return {bytes, got.front().Time};
    }

    PtyPair pty;
    std::unique_ptr<MainWindowHarness> harness;
};

TEST_F(WindowTiming, ContinuousSendingWorksThroughTheList)
{
    Start(2);
    TFrmMain& w = W();
    ASSERT_TRUE(w.IsToolVisible(w.TbtnCmdRd9010));
    w.TbtnCmdRd9010->click();  // shows the composer
    TFrmSend& composer = *w.Composer;
    for (const char* address : {"000000000001", "000000000002"}) {
        composer.EditBh->setText(address);
        composer.BitBtnMeterAddClick();
    }
    composer.Edit6->setText("01");
    composer.BitBtn2Click();
    ASSERT_EQ(composer.PairCount, 2);
    w.TmiContinuous->setChecked(true);

    w.TbtnCmdRd9010->click();
    EXPECT_EQ(w.TbtnCmdRd9010->text().toStdString(), "取消发送");
    auto [first, firstAt] = NextFrame(1s);
    ASSERT_GE(first.size(), 12u);
    EXPECT_EQ(first[1], 0x01);
    EXPECT_EQ(first[8], 0x01);

    // An answer from another meter is not the answer to this command.
    pty.Write(Frame97(0x05, 0x81, {0x43, 0xC3, 0x33, 0x33, 0x33, 0x33}));
    SpinFor(200ms);
    EXPECT_FALSE(w.TbtnCmdRd9010->isEnabled());
    EXPECT_FALSE(w.TimerRd9010.isActive());

    // The first answer is damaged (an error burst): the list moves on all the same.
    for (const std::uint8_t address : {0x01, 0x02}) {
        Bytes answer = Frame97(address, 0x81, {0x43, 0xC3, 0x33, 0x33, 0x33, 0x33});
        if (address == 0x01)
            answer[answer.size() - 2] ^= 0x01;
        pty.Write(answer);
        const auto answered = Clock::now();
        if (address == 0x01) {
            auto [next, nextAt] = NextFrame(3s);
            ASSERT_GE(next.size(), 12u);
            EXPECT_EQ(next[1], 0x02);
            EXPECT_GE(MsBetween(answered, nextAt), 1000);
            EXPECT_LE(MsBetween(answered, nextAt), 1800);
        } else {
            ASSERT_TRUE(SpinUntil([&] { return !harness->messages.empty(); }, 3s));
            EXPECT_GE(MsBetween(answered, Clock::now()), 1000);
        }
    }
    EXPECT_EQ(harness->messages, std::vector<std::string>{"所选电表都已抄读"});
    EXPECT_EQ(w.TbtnCmdRd9010->text().toStdString(), "准备发送");
    EXPECT_TRUE(w.TbtnCmdRd9010->isEnabled());
    EXPECT_TRUE(pty.Drain(1300ms).empty());  // nothing more goes out
}

// The delays come from the dialog opened by the window's "延时设置" box.
TEST_F(WindowTiming, DisplayRepliesKeepTheDelaysOfTheDialog)
{
    Start(3);
    TFrmMain& w = W();
    w.Check645Show->click();
    ASSERT_TRUE(w.CheckDelay->isEnabled());
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TDlgDelay*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->Rows->SetValue(0, 200);
        dialog->Rows->SetValue(1, 100);
        dialog->Button1->click();
    });
    w.CheckDelay->click();
    ASSERT_TRUE(w.CheckDelay->isChecked());
    ASSERT_TRUE(w.Core->DelayOn);

    const Bytes request = Frame97(0x01, 0x01, {0x43, 0xC3});
    pty.Write(request);
    const auto sent = Clock::now();
    const auto got = pty.ReadTimed(19, 5s);
    ASSERT_EQ(got.size(), 19u);
    EXPECT_EQ(got[0].Byte, 0x68);
    EXPECT_EQ(got[8].Byte, 0x81);
    EXPECT_EQ(got[18].Byte, 0x16);
    const long long first = MsBetween(sent, got[0].Time);
    EXPECT_GE(first, 199);
    EXPECT_LE(first, 500);
    // A byte is read at or after the moment it left; reading late only moves it later. So the
    // lower bounds count from the request, and the gap to the byte before is checked only where
    // that byte was read on time.
    for (std::size_t k = 1; k < got.size(); ++k) {
        const long long at = MsBetween(sent, got[k].Time);
        EXPECT_GE(at, 200 + 100 * static_cast<long long>(k) - 5) << k;
        const long long before = MsBetween(sent, got[k - 1].Time);
        if (before <= 200 + 100 * static_cast<long long>(k - 1) + 20) {
            EXPECT_GE(MsBetween(got[k - 1].Time, got[k].Time), 75) << k;
        }
    }
    EXPECT_LE(MsBetween(sent, got[18].Time), 200 + 18 * 100 + 900);
    ASSERT_TRUE(SpinUntil([&] { return w.PanelText(5) == "TSuc:1"; }, 1s));
}

} // namespace
