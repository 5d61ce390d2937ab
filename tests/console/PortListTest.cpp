#include "console/CommSettings.h"
#include "console/FCommSerialPortInfo.h"
#include "console/SettingsPath.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>

namespace {

class FixedPorts : public TCommSerialPortInfo {
public:
    explicit FixedPorts(std::vector<std::string> ports) : ports_(std::move(ports)) {}

protected:
    std::vector<std::string> Enumerate() const override { return ports_; }

private:
    std::vector<std::string> ports_;
};

TEST(PortList, SortsByKindThenByTheNumberInTheName)
{
    FixedPorts ports({"/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyS1", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB2"});
    ports.Refresh();
    EXPECT_EQ(ports.PortNames, (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1",
                                                         "/dev/ttyUSB2", "/dev/ttyUSB10"}));
    FixedPorts none({});
    none.Refresh();
    EXPECT_EQ(none.PortNames, (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"}));
}

TEST(PortList, ParsePortNumber)
{
    const std::pair<const char*, int> cases[] = {
        {"COM3", 3}, {"com3", 3}, {"COM03", 3}, {"COM10a", 10}, {"COM123", 123}, {"COM 7", 7},
        {"COM+2", 2}, {"COMx", 0}, {"COM0", 0}, {"COM-5", 0}, {"CO", 0}, {"/dev/ttyS0", 0},
        {"COM99999999999", 0},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(ParsePortNumber(text), number) << text;
    EXPECT_EQ(FormatPortName(12), "COM12");
}

TEST(PortList, PortNumbersAndDevices)
{
    const TPortMap map{{3, "/dev/ttyUSB0"}};
    EXPECT_EQ(DeviceForPort(1, map), "/dev/ttyS0");
    EXPECT_EQ(DeviceForPort(3, map), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForPort(0, map), "");
    EXPECT_EQ(PortForDevice("/dev/ttyUSB0", map), 3);
    EXPECT_EQ(PortForDevice("/dev/ttyS1", map), 2);
    EXPECT_EQ(PortForDevice("/dev/ttyS2", map), 0) << "port 3 is mapped elsewhere";
    EXPECT_EQ(PortForDevice("/dev/pts/4", map), 0);
    EXPECT_EQ(DeviceForText(" COM3 ", map), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForText("COM123", map), "/dev/ttyS122");
    EXPECT_EQ(DeviceForText("/dev/pts/4", map), "/dev/pts/4");
    EXPECT_EQ(DeviceForText("  ", map), "");
}

TEST(CommSettings, ParseAndFormat)
{
    struct Case { const char* text; std::optional<TCommSettings> parsed; const char* error; };
    const Case cases[] = {
        {"9600,e,8,1", TCommSettings{9600, 'e', 8, 1}, ""},
        {"115200,N,8,2", TCommSettings{115200, 'n', 8, 2}, ""},
        {" 1200 , o , 7 , 1 ", TCommSettings{1200, 'o', 7, 1}, ""},
        {"300,m,5,1", TCommSettings{300, 'm', 5, 1}, ""},
        {"300,s,6,2", TCommSettings{300, 's', 6, 2}, ""},
        {"9600,e,9,1", std::nullopt, "数据位须为5到8"},
        {"9600,e,8,1.5", std::nullopt, "停止位须为1或2"},
        {"9600,x,8,1", std::nullopt, "校验"},
        {",e,8,1", std::nullopt, "速率须为正整数"},
        {"0,e,8,1", std::nullopt, "速率须为正整数"},
        {"9600,e,8", std::nullopt, "速率,校验,数据位,停止位"},
        {"", std::nullopt, "速率,校验,数据位,停止位"},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto parsed = ParseCommSettings(c.text, &error);
        EXPECT_EQ(parsed, c.parsed) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << ": " << error;
    }
    EXPECT_EQ(FormatCommSettings({115200, 'n', 8, 2}), "115200,n,8,2");
    EXPECT_EQ(FormatCommSettings({}), "9600,e,8,1");
}

TEST(SettingsPath, BesideTheExecutableOrInTheConfigFolder)
{
    namespace fs = std::filesystem;
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    fs::create_directories(root / "bin");
    EXPECT_EQ(SettingsFilePathFor((root / "bin/ammerlin").string(), (root / "cfg").string()),
              (root / "bin/ammerlin.INI").string());
    EXPECT_EQ(SettingsFilePathFor((root / "bin/ammerlin.exe").string(), (root / "cfg").string()),
              (root / "bin/ammerlin.INI").string());
    // A folder that cannot be written (here: one that does not exist; root may write anywhere).
    const std::string moved = SettingsFilePathFor((root / "gone/ammerlin").string(), (root / "cfg").string());
    EXPECT_EQ(moved, (root / "cfg/ammerlin.INI").string());
    EXPECT_TRUE(fs::is_directory(root / "cfg"));
    // A settings path that is a folder is no file to write: the config folder is taken, and the
    // folder is not copied there.
    fs::create_directories(root / "odd/ammerlin.INI");
    EXPECT_EQ(SettingsFilePathFor((root / "odd/ammerlin").string(), (root / "cfg2").string()),
              (root / "cfg2/ammerlin.INI").string());
    EXPECT_FALSE(fs::exists(root / "cfg2/ammerlin.INI"));
}

} // namespace
