#include "platform/rtl/IniFiles.h"
#include "platform/rtl/MemIniFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

const fs::path FixtureDir = fs::path(AMMERLIN_TESTS_DIR) / "platform" / "fixtures";

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = fs::path(dir.path().toStdString()) / "ammerlin.INI";
        fs::copy_file(FixtureDir / "settings-before.INI", path);
    }
    QTemporaryDir dir;
    fs::path path;
};

TEST_F(IniFileTest, ReadsValuesWithPrivateProfileRules)
{
    const rtl::TIniFile ini(path.string());
    EXPECT_EQ(ini.ReadInteger("系统", "测试类型", 1), 3);
    EXPECT_EQ(ini.ReadInteger("系统", "串口号", 1), 2) << "blanks around '=' are not part of key or value";
    EXPECT_EQ(ini.ReadString("系统", "串口配置", ""), "9600,n,8,1") << "enclosing quotes are dropped";
    EXPECT_EQ(ini.ReadInteger("电网输入", "A 相电流选择", 8), 5) << "keys may hold blanks";
    EXPECT_EQ(ini.ReadInteger("电网输入", "A 相电压选择", 2), 1) << "ASCII case does not matter";
    EXPECT_EQ(ini.ReadString("extra", "KEY", ""), "Value");
    EXPECT_EQ(ini.ReadString("廬山", "山名", ""), "廬") << "a GBK trail byte 0x5D is not a ']'";
    EXPECT_TRUE(ini.SectionExists("用户注释"));
    EXPECT_EQ(ini.ReadSection("电网输入"), (std::vector<std::string>{"A 相电流选择", "a 相电压选择"}));
}

TEST_F(IniFileTest, MissingSectionsKeysAndFilesGiveDefaults)
{
    const rtl::TIniFile ini(path.string());
    EXPECT_EQ(ini.ReadInteger("电网输入", "B 相电流选择", 8), 8);
    EXPECT_EQ(ini.ReadString("电表", "密码", "271828"), "271828");
    EXPECT_FALSE(ini.ReadBool("电表", "编程使能", false));
    EXPECT_FALSE(ini.ValueExists("系统", "通道芯片"));

    const rtl::TIniFile none((path.parent_path() / "none.INI").string());
    EXPECT_EQ(none.ReadInteger("系统", "串口号", 1), 1);
    EXPECT_EQ(none.ReadString("系统", "串口配置", "9600,e,8,1"), "9600,e,8,1");
}

TEST_F(IniFileTest, UpdatesInPlaceAndKeepsEverythingElseByteForByte)
{
    rtl::TIniFile ini(path.string());
    ini.WriteInteger("系统", "串口号", 3);
    ini.WriteString("系统", "串口设备", "/dev/ttyUSB0");
    ini.WriteInteger("电网输入", "A 相电压选择", 4);
    ini.WriteString("串口对话框", "帧间延时", "100");
    EXPECT_EQ(ReadBytes(path), ReadBytes(FixtureDir / "settings-after.INI"));
    // Write-through: a second object sees every key at once.
    EXPECT_EQ(rtl::TIniFile(path.string()).ReadString("系统", "串口设备", ""), "/dev/ttyUSB0");
}

TEST_F(IniFileTest, IntegersAndBooleans)
{
    rtl::TIniFile ini(path.string());
    struct Case { const char* stored; int expected; };
    const Case cases[] = {
        {"12", 12}, {" -7 ", -7}, {"+5", 5}, {"0x1F", 31}, {"$10", 16},
        {"", 99}, {"abc", 99}, {"10a", 99}, {"99999999999", 99},
    };
    for (const Case& c : cases) {
        ini.WriteString("数", "值", c.stored);
        EXPECT_EQ(ini.ReadInteger("数", "值", 99), c.expected) << "stored '" << c.stored << "'";
    }
    ini.WriteBool("电表", "编程使能", true);
    EXPECT_EQ(ini.ReadString("电表", "编程使能", ""), "1");
    EXPECT_TRUE(ini.ReadBool("电表", "编程使能", false));
    ini.WriteString("电表", "编程使能", "2");
    EXPECT_TRUE(ini.ReadBool("电表", "编程使能", false)) << "any non-zero integer is true";
}

TEST_F(IniFileTest, CreatesANewFileInGbkWithCrLf)
{
    const fs::path fresh = path.parent_path() / "fresh.INI";
    rtl::TIniFile ini(fresh.string());
    ini.WriteInteger("系统", "串口号", 1);
    ini.WriteString("系统", "串口配置", "9600,e,8,1");
    EXPECT_EQ(ReadBytes(fresh), "[\xCF\xB5\xCD\xB3]\r\n\xB4\xAE\xBF\xDA\xBA\xC5=1\r\n"
                                "\xB4\xAE\xBF\xDA\xC5\xE4\xD6\xC3=9600,e,8,1\r\n");
}

TEST(IniText, KeepsTheLineEndsOfTheFile)
{
    struct Case { const char* before; const char* after; };
    const Case cases[] = {
        {"[a]\nx=1\n", "[a]\nx=1\ny=2\n"},
        {"[a]\nx=1", "[a]\nx=1\ny=2"},
        {"[a]\r\nx=1\r\n\r\n[b]\r\n", "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\n"},
        {"[b]\nz=0", "[b]\nz=0\n[a]\ny=2\n"},
        {"[A]\ny = 1 \n", "[A]\ny=2\n"},
    };
    for (const Case& c : cases) {
        rtl::IniText text(c.before);
        text.Set("a", "y", "2");
        EXPECT_EQ(text.Bytes(), c.after) << "from: " << c.before;
    }
}

// Many keys in one write end as the same keys written one by one.
TEST(IniText, SetManyEndsAsSetOfEachPair)
{
    const char* befores[] = {
        "", "[a]\nx=1\n", "[a]\nx=1", "[a]\r\nx=1\r\n\r\n[b]\r\n", "[b]\nz=0", "[A]\nY = 1 \nx=0\nx=5\n[a]\nw=1\n",
        "[a]\n; note\nx=1\n\n\n",
    };
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"y", "2"}, {"x", "3"}, {"名", "值"}, {"y", "4"}, {"X", "5"}, {"z", ""},
    };
    for (const char* before : befores) {
        rtl::IniText one(before);
        for (const auto& [k, v] : pairs)
            one.Set("a", k, v);
        rtl::IniText many(before);
        many.SetMany("a", pairs);
        EXPECT_EQ(many.Bytes(), one.Bytes()) << "from: " << before;
        EXPECT_EQ(many.Values("a").size(), 4u) << "from: " << before;
    }
    rtl::IniText text("[s]\nk=1\nK=2\nj = \"x\" \n[t]\nm=0\n");
    EXPECT_EQ(text.Values("s"), (std::vector<std::pair<std::string, std::string>>{{"k", "1"}, {"j", "x"}}));
    EXPECT_TRUE(text.Values("none").empty());
}

TEST(IniText, FirstOfDuplicateSectionsAndKeysWins)
{
    rtl::IniText text("[s]\nk=1\nk=2\n[s]\nk=3\nj=4\n");
    std::string v;
    ASSERT_TRUE(text.Find("s", "k", v));
    EXPECT_EQ(v, "1");
    EXPECT_FALSE(text.Find("s", "j", v));
    text.Set("s", "k", "9");
    EXPECT_EQ(text.Bytes(), "[s]\nk=9\nk=2\n[s]\nk=3\nj=4\n");
}

TEST(IniFile, AWriteFailureIsReported)
{
    QTemporaryDir dir;
    // The path is a folder, so no file can be written there (also not by root).
    rtl::TIniFile ini(dir.path().toStdString());
    try {
        ini.WriteString("系统", "串口号", "1");
        FAIL() << "no exception";
    } catch (const rtl::EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir.path().toStdString());
    }
    EXPECT_THROW(ini.WriteString("系统", "串口号", "1\n[x]"), std::invalid_argument);
}

} // namespace

namespace {

// Sections are found by name whatever was done to the file before: read from text (a repeated
// section merges into the first), written, erased and written again, and with the case rule
// switched after the sections were found once.
TEST(MemIniFile, FindsSectionsByNameAfterEveryChange)
{
    rtl::TMemIniFile ini("");
    ini.SetText("[Rows]\r\nA=1\r\n[行]\r\nB=2\r\n[rows]\r\nC=3\r\n");
    EXPECT_EQ(ini.ReadString("ROWS", "A", "-"), "1");
    EXPECT_EQ(ini.ReadString("Rows", "C", "-"), "3");   // the repeated section joined the first
    EXPECT_EQ(ini.ReadString("行", "B", "-"), "2");
    ini.WriteString("New", "D", "4");
    EXPECT_EQ(ini.ReadString("new", "D", "-"), "4");
    ini.EraseSection("ROWS");
    EXPECT_FALSE(ini.SectionExists("Rows"));
    EXPECT_EQ(ini.ReadString("行", "B", "-"), "2");
    EXPECT_EQ(ini.ReadString("NEW", "D", "-"), "4");
    ini.WriteString("Rows", "E", "5");
    EXPECT_EQ(ini.ReadString("rows", "E", "-"), "5");
    ini.SetCaseSensitive(true);
    EXPECT_FALSE(ini.SectionExists("rows"));
    EXPECT_EQ(ini.ReadString("Rows", "E", "-"), "5");
    ini.Clear();
    EXPECT_FALSE(ini.SectionExists("Rows"));
}

} // namespace
