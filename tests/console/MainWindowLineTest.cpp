// The whole program path on a pseudo-terminal: the window opens the port, a read request comes
// in, the meter's reply goes out, and the logs show both.
#include "MainWindowHarness.h"
#include "PtyPair.h"
#include "console/SerialLink.h"
#include "meter/FFunct.h"
#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QToolButton>

#include <fstream>

TEST(MainWindowLine, ReadRequestIsAnsweredOnTheLine)
{
    PtyPair pty;
    MainWindowHarness h({}, false);
    // Black-list test with no row checked: every address is answered.
    std::ofstream(h.iniPath, std::ios::binary)
        << rtl::Utf8ToGbk("[系统]\r\n测试类型=3\r\n串口设备=" + pty.SlavePath() + "\r\n");
    h.Create();
    TFrmMain& w = *h.window;
    w.TbtnComOpenClick();
    ASSERT_TRUE(w.Link->Comm().PortOpen()) << (h.messages.empty() ? "" : h.messages[0]);
    EXPECT_EQ(w.TbtnComOpen->text().toStdString(), "关闭串口");

    // DL/T 645-1997 read of 9010 (total energy) for meter 000000000001.
    std::vector<std::uint8_t> request = {0x68, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x68, 0x01, 0x02, 0x43, 0xC3};
    request.push_back(ByteSum(request.data(), static_cast<int>(request.size())));
    request.push_back(0x16);
    pty.Write(request);

    std::vector<std::uint8_t> reply;
    ASSERT_TRUE(SpinUntil(
        [&] {
            for (std::uint8_t b : pty.Read(SIZE_MAX, std::chrono::milliseconds(1)))
                reply.push_back(b);
            return !reply.empty() && reply.back() == 0x16 && reply.size() >= 18;
        },
        std::chrono::seconds(3)));
    // Skip a preamble; then 68, the address, 68, 81H (read reply), L.
    std::size_t start = 0;
    while (start < reply.size() && reply[start] == 0xFE)
        ++start;
    ASSERT_GE(reply.size() - start, 12u);
    EXPECT_EQ(reply[start], 0x68);
    EXPECT_EQ(reply[start + 1], 0x01);
    EXPECT_EQ(reply[start + 8], 0x81);
    EXPECT_GE(reply[start + 9], 0x06);  // identifier and 4 energy bytes (and the phase byte)
    EXPECT_EQ(reply.size() - start, reply[start + 9] + 12u);

    ASSERT_TRUE(SpinUntil([&] { return w.PanelText(5) == "TSuc:1"; }, std::chrono::seconds(2)));
    const auto op = TFrmMain::MemoLines(w.MemoRes);
    const auto raw = TFrmMain::MemoLines(w.MemoTx);
    const auto has = [](const std::vector<std::string>& lines, const std::string& part) {
        for (const auto& l : lines)
            if (l.find(part) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(has(op, "<-收到一帧:"));
    EXPECT_TRUE(has(raw, "<-68 01 00 00 00 00 00 68 01 02 43 C3"));
    EXPECT_TRUE(has(raw, "->"));
    EXPECT_EQ(w.PanelText(4), "RSuc:1");

    w.TbtnComOpenClick();
    EXPECT_FALSE(w.Link->Comm().PortOpen());
    EXPECT_EQ(w.TbtnComOpen->text().toStdString(), "打开串口");
}
