// The identifier names of DIData.mdb, and a meter that starts whatever the database looks like.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Meter97Support.h"
#include "meter/FDbId645.h"

namespace {

namespace fs = std::filesystem;
using meter97::Bytes;

const fs::path kFixtures = AMMERLIN_FIXTURES_DIR;

std::vector<_StIdRdHlj97> Load(const fs::path& path, bool* result = nullptr)
{
    std::vector<_StIdRdHlj97> list;
    TDmId645 module(path.string());
    const bool ok = module.LoadDataCodes(list);
    if (result)
        *result = ok;
    return list;
}

// A working directory of its own for the test, removed afterwards.
class InTempDirectory {
public:
    InTempDirectory()
    {
        char pattern[] = "/tmp/ammerlin-didata-XXXXXX";
        Dir = mkdtemp(pattern);
        Previous = fs::current_path();
        fs::current_path(Dir);
    }
    ~InTempDirectory()
    {
        std::error_code ignored;
        fs::current_path(Previous, ignored);
        fs::remove_all(Dir, ignored);
    }
    const fs::path& Path() const { return Dir; }

private:
    fs::path Dir;
    fs::path Previous;
};

TEST(DataIdDatabase, ReadsEveryRowInOrder)
{
    bool ok = false;
    const auto list = Load(kFixtures / "DIData.mdb", &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(list.size(), 102u);
    EXPECT_EQ(list.front().Di_Name, "9010");
    EXPECT_EQ(list.front().Di_Meanings, "(当前)正向有功总电能");
    EXPECT_EQ(list[1].Di_Meanings, "(当前)正向有功费率1电能");
    EXPECT_EQ(list.back().Di_Name, "C41E");
    EXPECT_EQ(list.back().Di_Meanings, "周休日采用的日时段表号");

    // Every row as the CSV copy of the table has it.
    std::ifstream csv(kFixtures / "T_DataCode645.csv");
    std::string line;
    std::getline(csv, line);  // header
    for (const _StIdRdHlj97& entry : list) {
        ASSERT_TRUE(std::getline(csv, line));
        const std::string expected = entry.Di_Name + "," + entry.Di_Meanings + ",";
        EXPECT_EQ(line.substr(0, expected.size()), expected);
    }
}

TEST(DataIdDatabase, NamesAreUtf8WhateverTheEnvironmentAsks)
{
    const char* before = std::getenv("MDBICONV");
    const std::string saved = before ? before : "";
    setenv("MDBICONV", "GB18030", 1);
    const auto list = Load(kFixtures / "DIData.mdb");
    if (before)
        setenv("MDBICONV", saved.c_str(), 1);
    else
        unsetenv("MDBICONV");
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front().Di_Meanings, "(当前)正向有功总电能");
}

TEST(DataIdDatabase, FilesWithoutNamesGiveAnEmptyList)
{
    InTempDirectory dir;
    std::ofstream(dir.Path() / "text.mdb") << "this is not a database\n";
    std::ofstream(dir.Path() / "empty.mdb");
    fs::copy_file(kFixtures / "DIData.mdb", dir.Path() / "cut.mdb");
    fs::resize_file(dir.Path() / "cut.mdb", 8192);
    const fs::path cases[] = {
        kFixtures / "DIData-empty.mdb", kFixtures / "DIData-othertable.mdb", dir.Path() / "missing.mdb",
        dir.Path() / "text.mdb",        dir.Path() / "empty.mdb",            dir.Path() / "cut.mdb",
        dir.Path(),  // a directory
    };
    for (const fs::path& path : cases) {
        bool ok = true;
        EXPECT_TRUE(Load(path, &ok).empty()) << path;
        EXPECT_FALSE(ok) << path;
    }
}

// The meter reads DIData.mdb of the working directory when it is built; whatever it finds there,
// it starts and answers.
TEST(DataIdDatabase, MeterStartsAndAnswersWithAnyDatabase)
{
    struct Case {
        const char* fixture;  // copied in as DIData.mdb; nullptr: none, "": a text file
        std::size_t rows;
        const char* idName;
        const char* error;  // what the operation log is told
    };
    const Case cases[] = {
        {"DIData.mdb", 102, "(当前)正向有功总电能", ""},
        {"DIData-empty.mdb", 0, "", ""},
        {"DIData-othertable.mdb", 0, "", "DIData.mdb打开失败:没有可读的表T_DataCode645"},
        {nullptr, 0, "", "DIData.mdb打开失败:文件不存在"},
        {"", 0, "", "DIData.mdb打开失败:不是Access数据库文件"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture ? c.fixture : "no file");
        InTempDirectory dir;
        if (c.fixture && *c.fixture)
            fs::copy_file(kFixtures / c.fixture, dir.Path() / "DIData.mdb");
        else if (c.fixture)
            std::ofstream(dir.Path() / "DIData.mdb") << "not a database";

        meter97::MeterRig rig;
        EXPECT_EQ(rig.meter.DataIdList.size(), c.rows);
        EXPECT_FALSE(rig.meter.DataIdLoadFailed);
        EXPECT_EQ(rig.meter.DataIdError, c.error);
        rig.Request(0x01, meter97::Id(0x9010));
        EXPECT_EQ(rig.meter.StatusCode, msOk);
        EXPECT_EQ(rig.Reply(), meter97::MakeFrame(meter97::kAddr, 0x81, {0x10, 0x90, 0, 0, 0, 0}));
        EXPECT_EQ(rig.meter.Texts.IdName, c.idName);
    }
}

}  // namespace
