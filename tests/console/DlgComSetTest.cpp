#include "console/FDlgComSet.h"
#include "console/QtApp.h"
#include "console/SettingsKeys.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/IniFiles.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <fstream>

namespace {

class FixedPorts : public TCommSerialPortInfo {
public:
    explicit FixedPorts(std::vector<std::string> ports) : ports_(std::move(ports)) {}
    std::vector<std::string> ports_;

    mutable int Enumerations = 0;

protected:
    std::vector<std::string> Enumerate() const override
    {
        ++Enumerations;
        return ports_;
    }
};

class DlgComSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQtApp();
        ASSERT_TRUE(dir.isValid());
        iniPath = dir.filePath("ammerlin.INI").toStdString();
    }
    std::string Read(const char* key) const
    {
        return rtl::TIniFile(iniPath).ReadString(settings::ComDialogSection, key, "<none>");
    }

    QTemporaryDir dir;
    std::string iniPath;
    FixedPorts ports{{"/dev/ttyS1", "/dev/ttyS0", "/dev/ttyUSB0"}};
};

TEST_F(DlgComSetTest, DefaultsWithoutASettingsFile)
{
    TDlgComSet dlg(nullptr, iniPath, &ports);
    EXPECT_EQ(ports.Enumerations, 1) << "the port list is built once at start";
    EXPECT_EQ(dlg.windowTitle(), "串口配置");
    EXPECT_EQ(dlg.CbbxBps->currentText(), "9600");
    EXPECT_EQ(dlg.CbbxChk->currentIndex(), -1) << "the stored default 3 is beyond the items";
    EXPECT_EQ(dlg.CbbxDataBit->currentText(), "8");
    EXPECT_EQ(dlg.CbbxStopBit->currentText(), "1");
    EXPECT_EQ(dlg.edtDelayInter->text(), "100");
    EXPECT_EQ(dlg.edtDelayCmd->text(), "10000");
    EXPECT_EQ(dlg.GetFrameGap(), 100);
    EXPECT_EQ(dlg.GetResponseDelay(), 10000);
    EXPECT_EQ(dlg.CbbxNo->currentText(), "/dev/ttyS0");
    EXPECT_EQ(dlg.GetPortNumber(), 1);
    EXPECT_EQ(dlg.GetPortDevice(), "/dev/ttyS0");
    EXPECT_EQ(dlg.CommSettings, "9600,e,8,1");
    EXPECT_EQ(dlg.CbbxNo->count(), 3);
    EXPECT_TRUE(dlg.CbbxNo->isEditable());
}

TEST_F(DlgComSetTest, BoxesMakeTheSettingsString)
{
    TDlgComSet dlg(nullptr, iniPath, &ports);
    dlg.CbbxBps->setCurrentText("115200");
    dlg.CbbxChk->setCurrentText("无");
    dlg.CbbxStopBit->setCurrentText("2");
    EXPECT_EQ(dlg.CommSettings, "115200,n,8,2");
    dlg.CbbxChk->setCurrentText("奇");
    dlg.CbbxDataBit->setCurrentText("9");
    EXPECT_EQ(dlg.CommSettings, "115200,o,9,2") << "refused later, when the port opens";

    dlg.SetCommSettings("2400,e,8,1");
    EXPECT_EQ(dlg.CbbxBps->currentIndex(), 4);
    EXPECT_EQ(dlg.CommSettings, "2400,e,8,1");
}

TEST_F(DlgComSetTest, CancelWritesEveryKey)
{
    {
        TDlgComSet dlg(nullptr, iniPath, &ports);
        dlg.CbbxBps->setCurrentIndex(12);
        dlg.CbbxChk->setCurrentIndex(0);
        dlg.reject();
    }
    EXPECT_EQ(Read("串口号"), "1");
    EXPECT_EQ(Read("串口设备"), "/dev/ttyS0");
    EXPECT_EQ(Read("速率选择"), "12");
    EXPECT_EQ(Read("奇偶校验"), "0");
    EXPECT_EQ(Read("数据位"), "0");
    EXPECT_EQ(Read("停止位"), "0");
    EXPECT_EQ(Read("帧间延时"), "100");
    EXPECT_EQ(Read("响应延时"), "10000");

    TDlgComSet again(nullptr, iniPath, &ports);
    EXPECT_EQ(again.CommSettings, "115200,n,8,1");
}

TEST_F(DlgComSetTest, PortsFromTheSettingsFile)
{
    struct Case { std::string ini; std::string text; int number; std::string device; };
    const Case cases[] = {
        {"[串口映射]\nCOM3=/dev/ttyUSB0\n[串口对话框]\n串口号=3\n", "/dev/ttyUSB0", 3, "/dev/ttyUSB0"},
        {"[串口对话框]\n串口号=2\n串口设备=/dev/pts/77\n", "/dev/pts/77", 0, "/dev/pts/77"},
        {"[串口对话框]\n串口号=9\n", "", 0, ""},
        {"[串口对话框]\n串口号=2\n帧间延时=abc\n响应延时=250\n", "/dev/ttyS1", 2, "/dev/ttyS1"},
    };
    for (const Case& c : cases) {
        std::ofstream(iniPath, std::ios::binary | std::ios::trunc) << rtl::Utf8ToGbk(c.ini);
        TDlgComSet dlg(nullptr, iniPath, &ports);
        EXPECT_EQ(dlg.CbbxNo->currentText().toStdString(), c.text) << c.ini;
        EXPECT_EQ(dlg.GetPortNumber(), c.number) << c.ini;
        EXPECT_EQ(dlg.GetPortDevice(), c.device) << c.ini;
    }
    TDlgComSet last(nullptr, iniPath, &ports);
    EXPECT_EQ(last.GetFrameGap(), 100);
    EXPECT_EQ(last.GetResponseDelay(), 250);
}

TEST_F(DlgComSetTest, TypedPortsAndRefreshedLists)
{
    TDlgComSet dlg(nullptr, iniPath, &ports);
    dlg.CbbxNo->setEditText("COM123");
    dlg.CbbxNoExit();
    EXPECT_EQ(dlg.GetPortNumber(), 123) << "the whole number counts";
    EXPECT_EQ(dlg.GetPortDevice(), "/dev/ttyS122");

    dlg.CbbxNo->setEditText("/dev/pts/5");
    dlg.OKBtnClick();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GetPortDevice(), "/dev/pts/5");
    EXPECT_EQ(Read("串口设备"), "/dev/pts/5");

    // A new port appears in front of the chosen one: the choice stays on the same port.
    dlg.CbbxNo->setCurrentText("/dev/ttyS1");
    ports.ports_.push_back("/dev/ttyACM0");
    dlg.CbbxNoEnter();
    EXPECT_EQ(dlg.CbbxNo->currentText(), "/dev/ttyS1");
    EXPECT_EQ(dlg.CbbxNo->itemText(0), "/dev/ttyACM0");
}

TEST_F(DlgComSetTest, AWriteFailureIsReported)
{
    std::string reported;
    TDlgComSet dlg(nullptr, dir.path().toStdString(), &ports);  // a folder: cannot be written
    dlg.OnWriteError = [&](const std::string& text) { reported = text; };
    dlg.reject();
    EXPECT_EQ(reported, "设置文件" + dir.path().toStdString() + "无法写入:这是一个文件夹(Is a directory)");
}

TEST(DlgComSet, DelayEditsTakeDigitsAndControlKeys)
{
    const std::pair<const char*, bool> cases[] = {
        {"5", true}, {"0", true}, {"\b", true}, {" ", true}, {"中", true}, {"", true},
        {"a", false}, {"-", false}, {".", false},
    };
    for (const auto& [text, accepted] : cases)
        EXPECT_EQ(TDlgComSet::edtDelayCmdKeyPress(QString::fromUtf8(text)), accepted) << text;
}

} // namespace
