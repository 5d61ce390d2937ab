// Seams of the main window that the receive path relies on: the route table of the routing test
// and the delay dialog behind the "延时设置" box.
#include "MainWindowHarness.h"
#include "PtyPair.h"
#include "console/FDlgDelayTime.h"
#include "console/SerialLink.h"
#include "meter/FFunct.h"
#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <fstream>

using namespace std::chrono_literals;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<MainWindowHarness> WindowOn(const std::string& device, int testMode)
{
    auto h = std::make_unique<MainWindowHarness>(TMeterTime{}, false);
    std::ofstream(h->iniPath, std::ios::binary) << rtl::Utf8ToGbk(
        "[系统]\r\n测试类型=" + std::to_string(testMode) + "\r\n串口设备=" + device + "\r\n");
    h->Create();
    return h;
}

// A 1997 read of 9010 for the meter whose address text is `text12`.
Bytes ReadFor(const std::string& text12)
{
    std::uint8_t address[6];
    HexToBytesReversed(text12, address, 6);
    Bytes f = {0x68};
    f.insert(f.end(), address, address + 6);
    f.insert(f.end(), {0x68, 0x01, 0x02, 0x43, 0xC3});
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    return f;
}

// A relay frame along `path` (address texts, first relay first, the destination last).
Bytes Relay(std::initializer_list<const char*> path, std::uint8_t phase)
{
    Bytes f = {0xAA, static_cast<std::uint8_t>(6 * path.size() + 2)};
    for (const char* text : path) {
        std::uint8_t a[6];
        HexToBytes(text, a, 6);
        f.insert(f.end(), a, a + 6);
    }
    f.insert(f.end(), {phase, 0x00, 0x16});
    return f;
}

std::size_t Count(const std::vector<std::string>& lines, const std::string& part)
{
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(part) != std::string::npos;
    }));
}

} // namespace

// The routing test answers a 645 frame only with a relay frame whose path and phase agree with
// the route sheet.
TEST(WindowWiring, TheRoutingTestAnswersAsTheRouteSheetSays)
{
    PtyPair pty;
    auto h = WindowOn(pty.SlavePath(), 7);
    TFrmMain& w = *h->window;
    w.Routes.ReadSheet(std::string(AMMERLIN_FIXTURES_DIR) + "/route-basic.xls");
    w.Routes.BuildIndex();
    ASSERT_TRUE(w.Routes.IndexReady);
    w.TbtnComOpenClick();
    ASSERT_TRUE(w.Link->Comm().PortOpen());

    struct Case {
        const char* name;
        Bytes relay;
        bool answered;
        const char* text;
    };
    const Case cases[] = {
        {"path and phase agree", Relay({"010000000000", "020000000000"}, 2), true, nullptr},
        {"phase differs", Relay({"010000000000", "020000000000"}, 3), false, "<-目的表相位不符"},
        {"wrong parent", Relay({"030000000000", "020000000000"}, 2), false, "<-路径有误"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = ReadFor("020000000000");
        bytes.insert(bytes.end(), c.relay.begin(), c.relay.end());
        pty.Write(bytes);
        Bytes reply;
        SpinUntil(
            [&] {
                for (std::uint8_t b : pty.Read(SIZE_MAX, 1ms))
                    reply.push_back(b);
                return !reply.empty() && reply.back() == 0x16 && reply.size() >= 12;
            },
            c.answered ? 2000ms : 400ms);
        const auto start = std::find(reply.begin(), reply.end(), 0x68);
        if (c.answered) {
            ASSERT_GE(reply.end() - start, 12);
            EXPECT_EQ(Bytes(start + 1, start + 7), Bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x02}));
            EXPECT_EQ(start[8], 0x81);
            EXPECT_EQ(w.AddressEdits[0]->text().toStdString(), "020000000000");
        } else {
            EXPECT_TRUE(reply.empty());
            EXPECT_EQ(Count(TFrmMain::MemoLines(w.MemoRes), c.text), 1u);
        }
        SpinFor(150ms);  // past the frame gap
    }
}

// The box opens the dialog; its delays go to the core while the box stays checked.
TEST(WindowWiring, TheDelayBoxTakesTheDialogsDelays)
{
    auto h = WindowOn("", 3);
    TFrmMain& w = *h->window;
    w.Check645Show->click();
    ASSERT_TRUE(w.CheckDelay->isEnabled());

    bool shown = false;
    const auto answer = [&](bool confirm) {
        QTimer::singleShot(0, [&shown, confirm] {
            auto* dialog = qobject_cast<TDlgDelay*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = true;
            dialog->Rows->SetValue(0, 200);
            dialog->Rows->SetValue(1, 100);
            (confirm ? dialog->Button1 : dialog->Button2)->click();
        });
    };
    answer(true);
    w.CheckDelay->click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(w.CheckDelay->isChecked());
    EXPECT_TRUE(w.Core->DelayOn);
    EXPECT_EQ(w.Core->Delays[0], 200);
    EXPECT_EQ(w.Core->Delays[1], 100);
    EXPECT_FALSE(w.Core->PerByteDelays);

    w.CheckDelay->click();  // unchecked: the delays stop, no dialog
    EXPECT_FALSE(w.CheckDelay->isChecked());
    EXPECT_FALSE(w.Core->DelayOn);

    shown = false;
    answer(false);
    w.CheckDelay->click();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(w.CheckDelay->isChecked());
    EXPECT_FALSE(w.Core->DelayOn);
    EXPECT_EQ(w.Core->Delays[0], 200);  // a cancel keeps the delays for the next time
}
