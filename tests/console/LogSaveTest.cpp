#include "console/LogSaver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

std::string ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll().toStdString();
}

std::vector<TLogPage> EmptyPages()
{
    std::vector<TLogPage> pages;
    for (const char* kind : LogKinds)
        pages.push_back({kind, {}});
    return pages;
}

} // namespace

TEST(LogSave, StampFormat)
{
    std::tm t{};
    t.tm_year = 111;
    t.tm_mon = 4;
    t.tm_mday = 5;
    t.tm_hour = 3;
    t.tm_min = 50;
    t.tm_sec = 6;
    EXPECT_EQ(LogStamp(t), "20110505035006");
}

TEST(LogSave, NamesGbkCrlfAndEmptyLogsSkipped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString();

    auto pages = EmptyPages();
    EXPECT_TRUE(SaveLogs(pages, folder, "20110505135056").empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    pages[0].Lines = {"提示：", "<-收到一帧:"};
    pages[9].Lines = {"C"};
    const auto written = SaveLogs(pages, folder, "20110505135056");
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    const std::string first = ReadFile(dir.filePath(QString::fromUtf8("通信记录20110505135056.log")));
    // GBK bytes of "提示：" and CR LF after every line, no byte-order mark.
    EXPECT_EQ(first, "\xCC\xE1\xCA\xBE\xA3\xBA\r\n<-\xCA\xD5\xB5\xBD\xD2\xBB\xD6\xA1:\r\n");
    EXPECT_EQ(ReadFile(dir.filePath(QString::fromUtf8("C相侦听报文20110505135056.log"))), "C\r\n");

    // A second save with the same stamp replaces the files.
    pages[0].Lines = {"x"};
    SaveLogs(pages, folder, "20110505135056");
    EXPECT_EQ(ReadFile(dir.filePath(QString::fromUtf8("通信记录20110505135056.log"))), "x\r\n");
}

TEST(LogSave, UnwritableFileStopsTheSaveThere)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto pages = EmptyPages();
    pages[0].Lines = {"a"};
    pages[1].Lines = {"b"};
    pages[2].Lines = {"c"};
    // A folder in the place of the second file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromUtf8("通信报文1.log")));
    EXPECT_THROW(SaveLogs(pages, dir.path().toStdString(), "1"), ELogSaveError);
    EXPECT_EQ(ReadFile(dir.filePath(QString::fromUtf8("通信记录1.log"))), "a\r\n");
    EXPECT_EQ(ReadFile(dir.filePath(QString::fromUtf8("完整侦听记录1.log"))), "<missing>");
}
