#include "MainWindowHarness.h"
#include "PtyPair.h"
#include "console/FDlgComSet.h"
#include "console/FFrmMainConvert.h"
#include "console/SerialLink.h"
#include "meter/FFunct.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/IniFiles.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

std::string Text(const QLineEdit* e) { return e->text().toStdString(); }
std::string Title(const TFrmMain& w) { return w.windowTitle().toStdString(); }

void WriteGbk(const std::string& path, const std::string& utf8)
{
    std::ofstream(path, std::ios::binary) << rtl::Utf8ToGbk(utf8);
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string RelayTitle = "Ammerlin(中继测试)V2.7.1 2011-05-05 13:50:56";
const std::string ChipTitle = "Ammerlin(芯片测试)V2.7.1 2011-05-05 13:50:56";

} // namespace

TEST(MainWindow, FirstStartWithoutSettingsGivesTheDefaults)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    TZbSxMeter& m = *w.Meter;
    EXPECT_EQ(Title(w), RelayTitle);
    EXPECT_EQ(w.GetTestMode(), 1);
    EXPECT_TRUE(w.TmiModes[0]->isChecked());
    EXPECT_EQ(w.Link->Comm().CommPort(), 1);
    EXPECT_EQ(w.Link->Comm().Settings(), "9600,e,8,1");
    EXPECT_FALSE(w.Link->Comm().PortOpen());
    EXPECT_EQ(w.TbtnComOpen->text().toStdString(), "打开串口");
    EXPECT_EQ(w.PanelText(1), "/dev/ttyS0关闭9600,e,8,1");  // port 1 is the first serial device
    EXPECT_EQ(Text(w.EditPw), "271828");
    EXPECT_EQ(m.Password[0], 0x28);
    EXPECT_EQ(m.Password[2], 0x27);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(Text(w.AddressEdits[r]), "888888888888");
        EXPECT_FALSE(w.AddressChecks[r]->isChecked());
        EXPECT_TRUE(w.AddressChecks[r]->isHidden());  // relay test
    }
    EXPECT_EQ(m.AddrText, "888888888888");
    EXPECT_EQ(w.LblBh[0]->text().toStdString(), "直抄    节点");
    EXPECT_EQ(w.LblBh[7]->text().toStdString(), "7 级中继节点");
    EXPECT_EQ(w.CbbxPulCnt->currentText().toStdString(), "3200");
    EXPECT_EQ(m.MeterConst[1], 0x32);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(w.CbbxVolt[p]->currentText().toStdString(), "220V");
        EXPECT_EQ(w.CbbxAmp[p]->currentText().toStdString(), "80A");
        EXPECT_EQ(w.CbbxJdu[p]->currentText().toStdString(), "0");
        EXPECT_EQ(m.VoltageBin[p], 220);
        EXPECT_EQ(m.CurrentBin[p], 8000);
        EXPECT_EQ(m.PowerFactorBin[p], 1000);
    }
    EXPECT_EQ(m.MeterKind, 0);
    EXPECT_TRUE(w.TmiKinds[0]->isChecked());
    EXPECT_TRUE(w.GbxKx->isHidden());
    EXPECT_FALSE(w.TmiOpSetEnable->isChecked());
    EXPECT_FALSE(m.ProgramEnable);
    std::vector<std::string> hints = TFrmMain::MemoLines(w.MemoRes);
    hints.resize(4);  // a line about DIData.mdb may follow (see the next test)
    EXPECT_EQ(hints, (std::vector<std::string>{"提示：", "1.编程开关未选择", "2.通道芯片未选择", "3.支持跨相未选择"}));
    EXPECT_TRUE(w.IsTabShown(w.TabSheet1));
    EXPECT_TRUE(w.IsTabShown(w.TabSheet2));
    for (QWidget* page : {w.TabSheet3, w.TabSheet4, w.TabSheet5, w.TabSheet6})
        EXPECT_FALSE(w.IsTabShown(page));
    EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet1);
    EXPECT_TRUE(w.GroupBox23->isHidden());
    EXPECT_EQ(w.Panel8->height(), 110);
    EXPECT_EQ(w.PanelText(2), "RX:0");
    EXPECT_EQ(w.PanelText(5), "TSuc:0");
    EXPECT_TRUE(h.messages.empty());
}

// DIData.mdb of the working directory that cannot be read is reported once in the operation log.
TEST(MainWindow, AnUnreadableIdentifierDatabaseIsReportedOnce)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    for (const bool good : {false, true}) {
        MainWindowHarness h({}, false);
        std::filesystem::current_path(h.dir.path().toStdString());
        if (good)
            std::filesystem::copy_file(std::filesystem::path(AMMERLIN_FIXTURES_DIR) / "DIData.mdb", "DIData.mdb");
        else
            std::ofstream("DIData.mdb") << "not a database";
        h.Create();
        std::filesystem::current_path(previous);
        const auto lines = TFrmMain::MemoLines(h.window->MemoRes);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "DIData.mdb打开失败:不是Access数据库文件"), good ? 0 : 1);
        EXPECT_EQ(lines.size(), good ? 4u : 5u);
        h.Close();
    }
}

const std::string SettingsFixture =
        "[系统]\r\n测试类型=3\r\n串口号=4\r\n串口配置=2400,n,8,1\r\n通道芯片=1\r\n前导符FE=1\r\n"
        "[电表]\r\n编程使能=1\r\n密码=123456\r\n表号=000000000001\r\n"
        "表号0=000000000001\r\n表号1=000000000002\r\n表号2=000000000123\r\n表号3=AAAAAAAAAAAA\r\n"
        "表号4=888888888888\r\n表号5=888888888888\r\n表号6=888888888888\r\n表号7=999999999999\r\n"
        "表号使能1=0\r\n表号使能2=0\r\n表号使能3=1\r\n表号使能4=0\r\n表号使能5=0\r\n表号使能6=0\r\n"
        "表号使能7=0\r\n表号使能8=1\r\n电表脉冲常数=2\r\n电表类型=2\r\n"
        "[电网输入]\r\nA 相电流选择=10\r\nA 相电压选择=0\r\nA 相角度选择=4\r\n"
        "B 相电流选择=1\r\nB 相电压选择=3\r\nB 相角度选择=2\r\n"
        "C 相电流选择=0\r\nC 相电压选择=1\r\nC 相角度选择=7\r\n";

TEST(MainWindow, SettingsFileIsLoadedAndWrittenBackUnchanged)
{
    MainWindowHarness h({}, false);
    WriteGbk(h.iniPath, SettingsFixture);
    const std::string before = ReadAll(h.iniPath);
    h.Create();
    TFrmMain& w = *h.window;
    TZbSxMeter& m = *w.Meter;

    EXPECT_EQ(w.GetTestMode(), 3);
    EXPECT_EQ(Title(w), ChipTitle);
    EXPECT_EQ(w.LblBh[0]->text().toStdString(), "表号黑名单1");
    EXPECT_FALSE(w.AddressChecks[0]->isHidden());
    EXPECT_EQ(w.Link->Comm().CommPort(), 4);
    EXPECT_EQ(w.Link->Comm().Settings(), "2400,n,8,1");
    EXPECT_TRUE(w.TmiChipKind->isChecked());
    EXPECT_TRUE(w.TmiOpSetEnable->isChecked());
    EXPECT_TRUE(m.ProgramEnable);
    EXPECT_EQ(m.Password[0], 0x56);
    EXPECT_EQ(m.AddrText, "000000000001");
    EXPECT_EQ(Text(w.AddressEdits[2]), "000000000123");
    EXPECT_TRUE(w.AddressChecks[2]->isChecked());
    EXPECT_TRUE(w.AddressChecks[7]->isChecked());
    EXPECT_EQ(m.MeterConst[1], 0x08);
    EXPECT_EQ(m.CurrentBin[0], 9999);
    EXPECT_EQ(m.VoltageBin[0], 0);
    EXPECT_EQ(m.PhaseLossCounts[0], 1);  // applying "断电(0V)" at start counts a loss
    EXPECT_EQ(m.PowerFactorBin[0], 1000);
    EXPECT_EQ(m.VoltageBin[1], 260);
    EXPECT_EQ(m.PowerFactorBin[1], 0);
    EXPECT_EQ(m.CurrentBin[2], 0);
    EXPECT_EQ(m.PowerFactorBin[2], 707);
    EXPECT_EQ(m.MeterKind, 2);
    EXPECT_TRUE(w.TmiKinds[2]->isChecked());
    EXPECT_FALSE(w.GbxKx->isHidden());
    EXPECT_FALSE(w.CbxKx->isHidden());
    EXPECT_EQ(TFrmMain::MemoLines(w.MemoRes)[1], "1.编程开关已选择");
    EXPECT_EQ(TFrmMain::MemoLines(w.MemoRes)[2], "2.通道芯片已选择");

    h.Close();
    EXPECT_EQ(ReadAll(h.iniPath), before);
    EXPECT_TRUE(h.messages.empty());
}

// An editor on Linux may save the file as UTF-8 with LF line ends (with or without a byte order
// mark): it is read all the same, the log says once that it was converted, and the file is GBK
// with CR LF from then on, with one set of sections.
TEST(MainWindow, ASettingsFileSavedAsUtf8IsReadAndConvertedOnce)
{
    std::string lf = SettingsFixture;
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    for (const std::string& saved : {lf, "\xEF\xBB\xBF" + SettingsFixture}) {
        MainWindowHarness h({}, false);
        std::ofstream(h.iniPath, std::ios::binary) << saved;
        h.Create();
        TFrmMain& w = *h.window;
        EXPECT_EQ(w.GetTestMode(), 3);
        EXPECT_EQ(w.Link->Comm().Settings(), "2400,n,8,1");
        EXPECT_EQ(Text(w.EditPw), "123456");
        EXPECT_EQ(Text(w.AddressEdits[2]), "000000000123");
        const std::string note = "设置文件" + h.iniPath + "是UTF-8编码,已转换为GBK编码(CR LF换行)保存";
        auto lines = TFrmMain::MemoLines(w.MemoRes);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), note), 1);
        h.Close();
        EXPECT_EQ(ReadAll(h.iniPath), rtl::Utf8ToGbk(SettingsFixture));
        EXPECT_TRUE(h.messages.empty());

        h.Create();
        lines = TFrmMain::MemoLines(h.window->MemoRes);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), note), 0);
        EXPECT_EQ(Text(h.window->EditPw), "123456");
        h.Close();
    }
}

// A settings path that is a folder cannot be read: the window starts on its defaults and says
// why, and at close says in Chinese that the settings could not be kept.
TEST(MainWindow, ASettingsPathThatIsAFolderIsToldAtStartAndClose)
{
    MainWindowHarness h({}, false);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(h.iniPath)));
    h.Create();
    const auto lines = TFrmMain::MemoLines(h.window->MemoRes);
    EXPECT_EQ(lines.back(), "设置文件" + h.iniPath + "无法读取:这是一个文件夹(Is a directory),使用默认设置");
    h.Close();
    ASSERT_EQ(h.errors.size(), 1u);
    EXPECT_EQ(h.errors[0], "设置文件" + h.iniPath + "无法写入:这是一个文件夹(Is a directory)");
}

// Absurd values in the settings file: what the window uses, and what it writes back at close.
TEST(MainWindow, StoredValuesOutsideTheirRanges)
{
    struct Case {
        const char* Section;
        const char* Key;
        const char* Stored;
        std::function<void(TFrmMain&)> Used;
        const char* Written;
    };
    const std::vector<Case> cases = {
        {"系统", "测试类型", "9", [](TFrmMain& w) {
             EXPECT_EQ(w.GetTestMode(), 1);
             EXPECT_EQ(Title(w), RelayTitle);
         }, "1"},
        {"系统", "测试类型", "-2", [](TFrmMain& w) { EXPECT_EQ(w.GetTestMode(), 1); }, "1"},
        {"电表", "电表类型", "-3", [](TFrmMain& w) {
             EXPECT_EQ(w.Meter->MeterKind, 0);
             EXPECT_TRUE(w.TmiKinds[0]->isChecked());
         }, "0"},
        {"电表", "电表类型", "7", [](TFrmMain& w) { EXPECT_EQ(w.Meter->MeterKind, 0); }, "0"},
        {"串口对话框", "帧间延时", "-5", [](TFrmMain& w) {
             EXPECT_EQ(w.FrameGap, 100);
             EXPECT_EQ(w.Link->TimerTxOver().interval(), 100);
             w.ComSetDialog->FormClose();  // the dialog writes its section when it closes
         }, "100"},
        {"串口对话框", "响应延时", "-1", [](TFrmMain& w) {
             EXPECT_EQ(w.ResponseDelay, 10000);
             w.ComSetDialog->FormClose();
         }, "10000"},
        // The meter reads the last six digit pairs of a long text: the row shows what it answers.
        {"电表", "表号0", "1234567890ABCD", [](TFrmMain& w) {
             EXPECT_EQ(Text(w.AddressEdits[0]), "34567890ABCD");
             EXPECT_EQ(w.Meter->GetAddressText(), "34567890ABCD");
         }, "34567890ABCD"},
        {"电表", "表号0", "12", [](TFrmMain& w) { EXPECT_EQ(Text(w.AddressEdits[0]), "000000000012"); }, "000000000012"},
        // The list rows as the list checks read them: the first six pairs.
        {"电表", "表号1", "1234567890ABCD", [](TFrmMain& w) { EXPECT_EQ(Text(w.AddressEdits[1]), "1234567890AB"); }, "1234567890AB"},
        {"电表", "表号2", "ab34", [](TFrmMain& w) { EXPECT_EQ(Text(w.AddressEdits[2]), "00000000AB34"); }, "00000000AB34"},
        {"电表", "密码", "ZZZZZZ", [](TFrmMain& w) { EXPECT_EQ(Text(w.EditPw), "271828"); }, "271828"},
        {"电表", "密码", "12ab", [](TFrmMain& w) { EXPECT_EQ(Text(w.EditPw), "0012AB"); }, "0012AB"},
        {"电表", "密码", "1234567", [](TFrmMain& w) { EXPECT_EQ(Text(w.EditPw), "271828"); }, "271828"},
        // No selection, as the box shows it.
        {"电网输入", "A 相电流选择", "20", [](TFrmMain& w) { EXPECT_EQ(w.CbbxAmp[0]->currentIndex(), -1); }, "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + "=" + c.Stored);
        MainWindowHarness h({}, false);
        WriteGbk(h.iniPath, std::string("[") + c.Section + "]\n" + c.Key + "=" + c.Stored + "\n");
        h.Create();
        c.Used(*h.window);
        h.Close();
        EXPECT_EQ(rtl::TIniFile(h.iniPath).ReadString(c.Section, c.Key, "(none)"), c.Written);
    }
}

TEST(MainWindow, ModeSwitchesSetCaptionsVisibilityAndTitle)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    struct Row {
        int tag;
        const char* label0;
        const char* label1;
        bool checks;
        bool editable;
        bool composer;
        const std::string& title;
    };
    const Row rows[] = {
        {2, "表号名单1", "表号名单2", true, true, true, ChipTitle},
        {1, "直抄    节点", "1 级中继节点", false, true, false, RelayTitle},
        {3, "表号黑名单1", "表号黑名单2", true, true, false, ChipTitle},
        {4, "表号名单1", "表号名单2", false, false, true, ChipTitle},
        {6, "黑名单区间1", "    至    ", false, true, false, ChipTitle},
        {7, "表号名单1", "表号名单2", false, false, true, ChipTitle},  // composer as mode 2 left it
    };
    for (const Row& r : rows) {
        if (r.tag == 7)
            w.TmiTstHmdClick(2);  // the routing test leaves the composer buttons as they were
        w.TmiTstHmdClick(r.tag);
        SCOPED_TRACE(r.tag);
        EXPECT_EQ(w.GetTestMode(), r.tag);
        EXPECT_TRUE(w.TmiModes[r.tag - 1]->isChecked());
        EXPECT_EQ(w.LblBh[0]->text().toStdString(), r.label0);
        EXPECT_EQ(w.LblBh[1]->text().toStdString(), r.label1);
        EXPECT_EQ(w.AddressChecks[3]->isHidden(), !r.checks);
        EXPECT_EQ(w.AddressEdits[5]->isEnabled(), r.editable);
        EXPECT_TRUE(w.AddressEdits[0]->isEnabled());
        EXPECT_EQ(w.IsToolVisible(w.TbtnCmdRd9010), r.composer);
        EXPECT_EQ(w.IsToolVisible(w.TBtCancel), r.composer);
        EXPECT_EQ(Title(w), r.title);
    }
    EXPECT_EQ(w.LblBh[6]->text().toStdString(), "表号名单7");

    // A mode change unchecks "通道芯片" and "长帧测试".
    w.TmiChipKind->setChecked(true);
    w.TmiCheckAuto->setChecked(true);
    w.TmiTstHmdClick(2);
    EXPECT_FALSE(w.TmiChipKind->isChecked());
    EXPECT_FALSE(w.TmiCheckAuto->isChecked());
    // "通道芯片" cannot stay checked in the relay test.
    w.TmiTstHmdClick(1);
    w.TmiChipKind->setChecked(true);
    w.TmiChip();
    EXPECT_FALSE(w.TmiChipKind->isChecked());
}

TEST(MainWindow, ListeningAndBackRestoresTheWindow)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.TmiTstHmdClick(2);
    w.AddLog(w.MemoTx, "68 ...");
    w.TmiTstHmdClick(5);
    EXPECT_EQ(Title(w), "Ammerlin(侦听测试)V2.7.1 2011-05-05 13:50:56");
    EXPECT_TRUE(w.Panel8->isHidden());
    EXPECT_TRUE(w.Panel1->isHidden());
    EXPECT_FALSE(w.IsTabShown(w.TabSheet1));
    EXPECT_FALSE(w.IsTabShown(w.TabSheet2));
    EXPECT_TRUE(w.IsTabShown(w.TabSheet3));
    EXPECT_TRUE(w.IsTabShown(w.TabSheet5));
    EXPECT_FALSE(w.IsTabShown(w.TabSheet4));
    EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet3);
    EXPECT_TRUE(w.IsToolVisible(w.TBt1or3));
    EXPECT_FALSE(w.IsToolVisible(w.TbtnCmdRd9010));
    EXPECT_FALSE(w.IsToolVisible(w.ToolButtonBh));
    EXPECT_FALSE(w.TmiSetDidu->isEnabled());
    EXPECT_FALSE(w.TmiKinds[1]->isEnabled());
    EXPECT_TRUE(TFrmMain::MemoLines(w.MemoTx).empty());
    EXPECT_TRUE(TFrmMain::MemoLines(w.MemoRes).empty());
    EXPECT_EQ(w.GetTestMode(), 5);

    // Per-phase layout and back.
    w.TBt1or3Click();
    EXPECT_TRUE(w.IsTabShown(w.TabSheet4));
    EXPECT_TRUE(w.IsTabShown(w.TabSheet6));
    EXPECT_FALSE(w.IsTabShown(w.TabSheet3));
    EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet4);
    w.TBt1or3Click();
    EXPECT_TRUE(w.IsTabShown(w.TabSheet3));
    EXPECT_FALSE(w.IsTabShown(w.TabSheet4));

    w.AddLog(w.MemoLT, "x");
    w.TmiTstHmdClick(2);
    EXPECT_EQ(Title(w), ChipTitle);
    EXPECT_FALSE(w.Panel8->isHidden());
    EXPECT_FALSE(w.Panel1->isHidden());
    EXPECT_TRUE(w.IsTabShown(w.TabSheet1));
    EXPECT_TRUE(w.IsTabShown(w.TabSheet2));
    for (QWidget* page : {w.TabSheet3, w.TabSheet4, w.TabSheet5, w.TabSheet6})
        EXPECT_FALSE(w.IsTabShown(page));
    EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet1);
    EXPECT_FALSE(w.IsToolVisible(w.TBt1or3));
    EXPECT_TRUE(w.IsToolVisible(w.TbtnCmdRd9010));
    EXPECT_TRUE(w.IsToolVisible(w.ToolButtonBh));
    EXPECT_TRUE(w.TmiSetDidu->isEnabled());
    EXPECT_TRUE(TFrmMain::MemoLines(w.MemoLT).empty());

    // A run ended in the listening mode starts in it again (not in the routing test).
    w.TmiTstHmdClick(5);
    h.Close();
    EXPECT_EQ(rtl::TIniFile(h.iniPath).ReadInteger("系统", "测试类型", 0), 5);
    h.Create();
    EXPECT_TRUE(h.window->ListenMode());
    EXPECT_TRUE(h.window->TmiModes[4]->isChecked());
    EXPECT_TRUE(h.window->Panel8->isHidden());
    EXPECT_TRUE(h.window->IsTabShown(h.window->TabSheet3));
    EXPECT_FALSE(h.window->IsTabShown(h.window->TabSheet1));
    EXPECT_EQ(Title(*h.window), "Ammerlin(侦听测试)V2.7.1 2011-05-05 13:50:56");
}

TEST(MainWindow, MeterKindMenu)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.TmiMeterMultiClick(3);
    EXPECT_EQ(w.Meter->MeterKind, 2);
    EXPECT_FALSE(w.GbxKx->isHidden());
    w.TmiMeterMultiClick(2);
    EXPECT_EQ(w.Meter->MeterKind, 1);
    EXPECT_TRUE(w.TmiKinds[1]->isChecked());
    EXPECT_FALSE(w.TmiKinds[2]->isChecked());
    EXPECT_TRUE(w.GbxKx->isHidden());
    EXPECT_TRUE(w.CbxKx->isHidden());
}

TEST(MainWindow, SecondTickUpdatesTheFace)
{
    MainWindowHarness h({2022, 12, 31, 23, 59, 59});  // a Saturday
    TFrmMain& w = *h.window;
    TZbSxMeter& m = *w.Meter;
    w.TimerSecTimer();
    EXPECT_EQ(w.PanelText(0), "电表时间:2023-01-01 00:00:00");
    for (TDigitView* d : {w.ImgHourH, w.ImgHourL, w.ImgMinH, w.ImgMinL, w.ImgSecH, w.ImgSecL})
        EXPECT_EQ(d->Digit(), 0);
    EXPECT_EQ(w.EdtWeek->text().toStdString(), "日");
    EXPECT_EQ(w.EdtShd->text().toStdString(), panel::TariffText(m.CurrentTariff));
    EXPECT_EQ(w.Label12->text(), w.EdtShd->text());
    w.TimerSecTimer();
    EXPECT_EQ(w.ImgSecL->Digit(), 1);

    // Energy digits follow the registers; the pulse lamp toggles when the meter counted.
    int toggles = 0;
    for (int i = 0; i < 40; ++i) {
        const QColor before = w.ShpKwh->Color();
        w.TimerSecTimer();
        EXPECT_FALSE(m.EnergyPulse);
        toggles += w.ShpKwh->Color() != before;
    }
    EXPECT_GT(toggles, 0);
    const std::uint8_t* total = m.GetEnergyBlock();
    EXPECT_EQ(w.ImgKwh[0]->Digit(), total[0] & 0x0F);
    EXPECT_EQ(w.ImgKwh[3]->Digit(), total[1] >> 4);
    const std::uint8_t* tariff = m.GetTariffEnergy07();
    EXPECT_EQ(w.ImageKwhF[1]->Digit(), tariff[0] >> 4);
    EXPECT_TRUE(w.ImageKwhF[1]->IsRed());

    // Relay lamp: tripped red, armed blinking, else black.
    m.TripState = 1;
    w.TimerSecTimer();
    EXPECT_EQ(w.ShpJdq->Color(), QColor(Qt::red));
    m.TripState = 0;
    m.TripPending = 1;
    w.TimerSecTimer();
    const QColor first = w.ShpJdq->Color();
    w.TimerSecTimer();
    EXPECT_NE(w.ShpJdq->Color(), first);
    m.TripPending = 0;
    w.TimerSecTimer();
    EXPECT_EQ(w.ShpJdq->Color(), QColor(Qt::black));
}

TEST(MainWindow, GridBoxesActOnTheOperatorsChoice)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    TZbSxMeter& m = *w.Meter;
    m.PhaseLossCounts[0] = 0;
    // Choosing "断电(0V)" twice counts two losses: the handler runs on every choice.
    w.CbbxVolt[0]->setCurrentIndex(0);
    emit w.CbbxVolt[0]->activated(0);
    emit w.CbbxVolt[0]->activated(0);
    EXPECT_EQ(m.PhaseLossCounts[0], 2);
    EXPECT_EQ(m.VoltageBin[0], 0);
    w.CbbxJdu[1]->setCurrentIndex(3);  // a change in code alone runs nothing
    EXPECT_EQ(m.PowerFactorBin[1], 1000);
    emit w.CbbxJdu[1]->activated(3);
    EXPECT_EQ(m.PowerFactorBin[1], 707);
    w.Cbx3or1->click();
    EXPECT_TRUE(m.SinglePhase);
    EXPECT_FALSE(w.CbbxAmp[2]->isEnabled());
    EXPECT_TRUE(w.CbbxAmp[0]->isEnabled());
    w.Cbx3or1->click();
    EXPECT_FALSE(m.SinglePhase);
    EXPECT_TRUE(w.CbbxAmp[2]->isEnabled());
}

TEST(MainWindow, EditsActWhenTheFocusMovesOn)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.CheckBox2->click();
    EXPECT_FALSE(w.GroupBox23->isHidden());
    EXPECT_EQ(w.Panel8->height(), 240);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(SpinUntil([&] { return w.isActiveWindow(); }, std::chrono::seconds(2)));

    w.EditRro->setFocus();
    ASSERT_TRUE(SpinUntil([&] { return w.EditRro->hasFocus(); }, std::chrono::seconds(2)));
    w.EditRro->selectAll();
    w.EditRro->TypeText("1x2");
    EXPECT_EQ(Text(w.EditRro), "12");
    EXPECT_EQ(w.Meter->ProgramCount[0], 0x00);  // nothing while typing
    w.EditMaxClear->setFocus();
    ASSERT_TRUE(SpinUntil([&] { return w.EditMaxClear->hasFocus(); }, std::chrono::seconds(2)));
    EXPECT_EQ(Text(w.EditRro), "0012");
    EXPECT_EQ(w.Meter->ProgramCount[0], 0x12);

    // Password: pasted text goes through the hex filter; padded on exit.
    QApplication::clipboard()->setText("12xy34");
    w.EditPw->setFocus();
    ASSERT_TRUE(SpinUntil([&] { return w.EditPw->hasFocus(); }, std::chrono::seconds(2)));
    w.EditPw->clear();
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(w.EditPw, &paste);
    EXPECT_EQ(Text(w.EditPw), "1234");
    w.AddressEdits[1]->setFocus();
    ASSERT_TRUE(SpinUntil([&] { return w.AddressEdits[1]->hasFocus(); }, std::chrono::seconds(2)));
    EXPECT_EQ(Text(w.EditPw), "001234");
    EXPECT_EQ(w.Meter->Password[2], 0x00);
    EXPECT_EQ(w.Meter->Password[0], 0x34);

    // Address row: hex only, padded when left.
    w.AddressEdits[1]->clear();
    w.AddressEdits[1]->TypeText("abz");
    w.AddressEdits[0]->setFocus();
    ASSERT_TRUE(SpinUntil([&] { return w.AddressEdits[0]->hasFocus(); }, std::chrono::seconds(2)));
    EXPECT_EQ(Text(w.AddressEdits[1]), "0000000000AB");
    EXPECT_EQ(w.Core->AddressRows[1], "0000000000AB");
    w.hide();
}

TEST(MainWindow, ParameterEditHandlers)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    TZbSxMeter& m = *w.Meter;
    w.EditTimeBegin[1]->setText("0830");
    w.EditTimeBeginExit(1);
    EXPECT_EQ(m.TariffSchedule[1][2], 0x08);
    EXPECT_EQ(m.TariffSchedule[1][1], 0x30);
    w.EditMoney->setText("1234567");
    w.EditMoneyExit();
    EXPECT_EQ(Text(w.EditMoney), "234567.00");
    EXPECT_EQ(m.Money[0], 0x00);
    EXPECT_EQ(m.Money[3], 0x23);
    w.EditKaiNum->setText("99");
    w.EditKaiNumExit();
    EXPECT_EQ(Text(w.EditKaiNum), "50");
    EXPECT_EQ(m.BoxOpenCount, 50);
    w.EditStaRun[0]->setText("4");
    w.EditStaRun1Exit();
    EXPECT_EQ(Text(w.EditStaRun[0]), "04");
    EXPECT_EQ(m.Status97, 0x04);

    // Amount key filter: 123456 takes only ".", 12 refuses ".".
    w.EdiMonth->setText("123456");
    w.EdiMonth->setCursorPosition(6);
    w.EdiMonth->TypeText("7");
    EXPECT_EQ(Text(w.EdiMonth), "123456");
    w.EdiMonth->TypeText(".");
    EXPECT_EQ(Text(w.EdiMonth), "123456.");
    w.EdiMonth->setText("12");
    w.EdiMonth->setCursorPosition(2);
    w.EdiMonth->TypeText(".");
    EXPECT_EQ(Text(w.EdiMonth), "12");

    // DL/T645-2007: "运行1" takes four characters and reaches word 0.
    std::optional<int> answer;  // the tariff dialog cancelled
    w.AskMaxTariff = [&] { return answer; };
    m.MaxTariff = 4;
    w.Rule07645->click();
    EXPECT_EQ(m.Protocol, 1);
    EXPECT_EQ(m.MaxTariff, 4);
    EXPECT_EQ(w.EditStaRun[0]->maxLength(), 4);
    EXPECT_EQ(Text(w.EditStaRun[0]), "0000");
    EXPECT_FALSE(w.EditStaGrid->isEnabled());
    EXPECT_TRUE(w.EditStaRun[6]->isEnabled());
    EXPECT_TRUE(w.EditStaSelf->isEnabled());
    w.EditStaRun[0]->setText("1");
    w.EditStaRun1Exit();
    EXPECT_EQ(Text(w.EditStaRun[0]), "0001");
    EXPECT_EQ(m.RunStatusWords[0][0], 0x01);
    EXPECT_EQ(m.RunStatusWords[0][1], 0x00);
    w.RuleShanghai->click();
    EXPECT_EQ(m.Protocol, 2);
    EXPECT_FALSE(w.IsToolVisible(w.ToolButtonBh));
    EXPECT_FALSE(w.EdiMonth->isEnabled());
    EXPECT_TRUE(w.EditStaSelf->isEnabled());  // left as it was
    w.Rule97645->click();
    EXPECT_EQ(w.EditStaRun[0]->maxLength(), 2);
    EXPECT_TRUE(w.EditStaGrid->isEnabled());
    EXPECT_FALSE(w.EditStaSelf->isEnabled());
    EXPECT_EQ(m.TotalEnergy[0], 0);

    w.BtnPause->click();
    EXPECT_FALSE(m.Running);
    EXPECT_EQ(w.BtnPause->text().toStdString(), "启动电表");
    w.BtnPause->click();
    EXPECT_TRUE(m.Running);
    EXPECT_EQ(w.BtnPause->text().toStdString(), "暂停电表");

    w.PmiCheckNo->trigger();
    EXPECT_TRUE(m.ProtocolLocked);
    EXPECT_TRUE(w.PmiCheckNo->isChecked());
    w.PmiCheckNo->trigger();
    EXPECT_FALSE(m.ProtocolLocked);
    EXPECT_FALSE(w.PmiCheckNo->isChecked());
}

TEST(MainWindow, DisplaySwitchesEndStates)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    EXPECT_FALSE(w.CheckDelay->isEnabled());
    w.Check645Show->click();
    EXPECT_TRUE(w.Core->Options.Show645);
    EXPECT_TRUE(w.CheckDelay->isEnabled());
    w.CheckAbandon->click();  // refused while "645显示" is on
    EXPECT_FALSE(w.CheckAbandon->isChecked());
    EXPECT_FALSE(w.Core->Options.ShowCarrier);
    w.CheckTopFast->click();
    EXPECT_FALSE(w.CheckTopFast->isChecked());
    w.CheckDelay->setChecked(true);
    w.Core->DelayOn = true;
    w.Check645Show->click();
    EXPECT_FALSE(w.Core->Options.Show645);
    EXPECT_FALSE(w.CheckDelay->isEnabled());
    EXPECT_FALSE(w.CheckDelay->isChecked());
    EXPECT_FALSE(w.Core->DelayOn);

    w.CheckAbandon->click();
    EXPECT_TRUE(w.Core->Options.ShowCarrier);
    EXPECT_TRUE(w.CheckTopFast->isChecked());
    EXPECT_TRUE(w.Core->Options.CarrierRaw);
    w.Check645Show->click();
    EXPECT_FALSE(w.Check645Show->isChecked());
    EXPECT_FALSE(w.Core->Options.Show645);
    w.CheckTopFast->click();
    EXPECT_FALSE(w.Core->Options.CarrierRaw);
    EXPECT_FALSE(w.CheckTopFast->isChecked());
    w.CheckAbandon->click();
    EXPECT_FALSE(w.Core->Options.ShowCarrier);
    EXPECT_FALSE(w.CheckTopFast->isChecked());
    EXPECT_FALSE(w.Core->Options.CarrierRaw);
    EXPECT_FALSE(w.Core->ReadsAtOnce());
}

TEST(MainWindow, SavesTheLogsAndReportsFailures)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.AddLog(w.MemoTx, "<-68 01");
    w.AddLog(w.MemoB[1], "B");
    w.BtnSaveMemoClick();
    const QStringList files = QDir(h.dir.path()).entryList({"*.log"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 3);  // operation log (the hints), frame log, phase B frames
    EXPECT_TRUE(files[0].startsWith(QString::fromUtf8("B相侦听报文")));
    EXPECT_TRUE(files[1].startsWith(QString::fromUtf8("通信报文")));
    EXPECT_TRUE(files[2].startsWith(QString::fromUtf8("通信记录")));
    EXPECT_EQ(files[1].size(), QString::fromUtf8("通信报文").size() + 14 + 4);

    w.BtnTxCntClrClick();
    EXPECT_TRUE(TFrmMain::MemoLines(w.MemoRes).empty());
    EXPECT_TRUE(TFrmMain::MemoLines(w.MemoB[1]).empty());

    // A settings file that cannot be written is reported, and the window still closes.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(h.iniPath)));
    h.Close();
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0], "设置文件" + h.iniPath + "无法写入:这是一个文件夹(Is a directory)");
    EXPECT_FALSE(w.Meter);
}

TEST(MainWindow, AltKeysReachTheWindowFirst)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(SpinUntil([&] { return w.isActiveWindow(); }, std::chrono::seconds(2)));
    w.EditPw->setFocus();
    ASSERT_TRUE(SpinUntil([&] { return w.EditPw->hasFocus(); }, std::chrono::seconds(2)));
    w.TmiBySelf->setChecked(true);
    w.Core->Options.SelfReply = true;
    QKeyEvent altA(QEvent::ShortcutOverride, Qt::Key_A, Qt::AltModifier, "a");
    QKeyEvent altAPress(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, "a");
    // Deliver as the platform would: through the shortcut map first.
    QApplication::sendEvent(w.EditPw, &altA);
    if (!altA.isAccepted())
        QApplication::sendEvent(w.EditPw, &altAPress);
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_TRUE(w.TmiCircleBack->isChecked());
    EXPECT_TRUE(w.Core->Options.CycleReply);
    EXPECT_FALSE(w.TmiBySelf->isChecked());
    EXPECT_EQ(Text(w.EditPw), "271828");
    w.FastChange(Qt::Key_A);
    EXPECT_FALSE(w.TmiCircleBack->isChecked());
    EXPECT_FALSE(w.Core->Options.CycleReply);
    w.hide();
}

namespace {

// A window whose panes hold five lines, after twelve lines went to "通信报文".
void OverflowTheTxPane(MainWindowHarness& h)
{
    WriteGbk(h.iniPath, "[系统]\r\n日志行数=5\r\n");
    h.Create();
    for (int n = 0; n < 12; ++n)
        h.window->AddLog(h.window->MemoTx, "报文" + std::to_string(n));
    SpinFor(std::chrono::milliseconds(1));
}

// "报文<from>" .. "报文<to - 1>" as a log file holds them.
std::string TxLinesInGbk(std::size_t from, std::size_t to)
{
    std::string text;
    for (std::size_t n = from; n < to; ++n)
        text += rtl::Utf8ToGbk("报文" + std::to_string(n)) + "\r\n";
    return text;
}

} // namespace

// "日志行数" caps every pane; the lines leaving one go to "<kind><stamp>.log" in the log folder.
TEST(MainWindow, TheLogCapComesFromTheSettingsAndFillsTheAutomaticFile)
{
    MainWindowHarness h({}, false);
    OverflowTheTxPane(h);
    TFrmMain& w = *h.window;
    const auto kept = TFrmMain::MemoLines(w.MemoTx);
    ASSERT_FALSE(kept.empty());
    EXPECT_LE(kept.size(), 5u);
    EXPECT_EQ(kept.back(), "报文11");
    const QStringList files =
        QDir(h.dir.path()).entryList({QString::fromUtf8("通信报文*.log")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].size(), QString::fromUtf8("通信报文").size() + 14 + 4);
    std::ifstream file(h.dir.filePath(files[0]).toStdString(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, TxLinesInGbk(0, 12 - kept.size()));
}

// A save in the same second as the pane's first overflow writes to the overflow file's name: the
// lines already moved there must stay, and none of the pane's lines may go missing.
TEST(MainWindow, SavingInTheSecondOfAnOverflowKeepsEveryLine)
{
    MainWindowHarness h({}, false);
    OverflowTheTxPane(h);
    TFrmMain& w = *h.window;
    w.N11Click();
    QStringList files =
        QDir(h.dir.path()).entryList({QString::fromUtf8("通信报文*.log")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    std::string all;
    for (const QString& f : files) {
        std::ifstream file(h.dir.filePath(f).toStdString(), std::ios::binary);
        all += std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }
    EXPECT_EQ(all, TxLinesInGbk(0, 12));
}

// "前导符FE" sits beside "通道芯片", is kept in the settings and puts FE FE FE FE before replies.
TEST(MainWindow, FePreambleItem)
{
    PtyPair pty;  // replies are logged as sent only when they leave an open port
    MainWindowHarness h({}, false);
    // Black list, nothing checked: every address answered.
    WriteGbk(h.iniPath, "[系统]\n测试类型=3\n串口设备=" + pty.SlavePath() + "\n");
    h.Create();
    TFrmMain& w = *h.window;
    w.TbtnComOpenClick();
    const QList<QAction*> items = w.PmPara->actions();
    ASSERT_EQ(items.indexOf(w.TmiFePreamble), items.indexOf(w.TmiChipKind) + 1);
    EXPECT_EQ(w.TmiFePreamble->text().toStdString(), "前导符FE");
    EXPECT_FALSE(w.TmiFePreamble->isChecked());

    const auto replyLine = [&w] {
        const std::vector<std::uint8_t> read = {0x68, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x68,
                                                0x01, 0x02, 0x43, 0xC3, 0x00, 0x16};
        std::vector<std::uint8_t> frame = read;
        frame[12] = ByteSum(frame.data(), 12);
        w.BtnTxCntClrClick();
        w.Core->MSComm1Comm(frame.data(), static_cast<int>(frame.size()), 0);
        const auto raw = TFrmMain::MemoLines(w.MemoTx);
        return raw.empty() ? std::string() : raw.back();
    };
    EXPECT_EQ(replyLine().rfind("->68 ", 0), 0u);
    w.TmiFePreamble->trigger();
    EXPECT_TRUE(w.Core->Options.FePreamble);
    EXPECT_EQ(replyLine().rfind("->FE FE FE FE 68 ", 0), 0u);

    w.TmiTstHmdClick(5);  // listening: disabled like "通道芯片"
    EXPECT_FALSE(w.TmiFePreamble->isEnabled());
    EXPECT_FALSE(w.TmiChipKind->isEnabled());
    h.Close();
    EXPECT_TRUE(rtl::TIniFile(h.iniPath).ReadBool("系统", "前导符FE", false));

    h.Create();
    EXPECT_TRUE(h.window->TmiFePreamble->isChecked());
    EXPECT_TRUE(h.window->Core->Options.FePreamble);
    h.Close();
}

// A 5000-byte listening burst: 侦听报文 shows what the buffer held (4096 bytes), then how many
// bytes were dropped.
TEST(MainWindow, OversizeListeningBurstShowsItsBytes)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.TmiTstHmdClick(5);
    std::vector<std::uint8_t> burst(5000);
    for (std::size_t i = 0; i < burst.size(); ++i)
        burst[i] = static_cast<std::uint8_t>(i % 251);
    w.Core->MSComm1Comm(burst.data(), 3000, 2000);
    w.Core->MSComm1Comm(burst.data() + 3000, 2000, 0);
    const auto lines = TFrmMain::MemoLines(w.MemoBw);
    ASSERT_GE(lines.size(), 2u);
    const std::string dump = BytesToHexSpaced(burst.data(), 4096);
    const std::string& shown = lines[lines.size() - 2];
    ASSERT_GE(shown.size(), dump.size());
    EXPECT_EQ(shown.substr(shown.size() - dump.size()), dump);
    EXPECT_NE(lines.back().find("<-长度超,丢弃904字节"), std::string::npos);
    h.Close();
}
