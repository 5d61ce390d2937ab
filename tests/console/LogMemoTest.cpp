// The log panes: lines shown once per turn of the event loop, at most a cap of them, the oldest
// moved to the automatic log file first, so the pane and the file together hold every line.
#include "console/LogMemo.h"
#include "console/QtApp.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string ReadFile(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll().toStdString();
}

// Lines as the file holds them: GBK of "行<n>" and CR LF each.
std::string GbkLines(int from, int to)
{
    std::string bytes;
    for (int n = from; n < to; ++n)
        bytes += "\xD0\xD0" + std::to_string(n) + "\r\n";  // 行 in GBK
    return bytes;
}

Lines Numbered(int from, int to)
{
    Lines lines;
    for (int n = from; n < to; ++n)
        lines.push_back("行" + std::to_string(n));
    return lines;
}

struct QtAppFirst {
    QtAppFirst() { EnsureQtApp(); }
};

class LogMemoTest : public ::testing::Test, private QtAppFirst {
protected:
    LogMemoTest()
    {
        path = dir.filePath(QString::fromUtf8("通信记录20250309140507.log")).toStdString();
        memo.OverflowPath = [this] {
            ++pathAsked;
            return path;
        };
        memo.OnOverflowError = [this](const std::string& why) { errors.push_back(why); };
    }
    void Add(int from, int to)
    {
        for (int n = from; n < to; ++n)
            memo.Add("行" + std::to_string(n));
    }

    QTemporaryDir dir;
    std::string path;
    int pathAsked = 0;
    Lines errors;
    TLogMemo memo;
};

TEST_F(LogMemoTest, LinesAreShownOnTheNextTurnOfTheLoopAllAtOnce)
{
    int changes = 0;
    QObject::connect(memo.document(), &QTextDocument::blockCountChanged, [&] { ++changes; });
    Add(0, 5);
    EXPECT_TRUE(memo.toPlainText().isEmpty());
    EXPECT_EQ(memo.Lines(), Numbered(0, 5));  // queued lines count for the save
    SpinFor(std::chrono::milliseconds(1));
    EXPECT_EQ(memo.toPlainText().toStdString(), "行0\n行1\n行2\n行3\n行4");
    EXPECT_EQ(memo.Lines(), Numbered(0, 5));
    EXPECT_LE(changes, 1);

    memo.ClearLines();
    memo.Add("x");
    memo.ClearLines();
    SpinFor(std::chrono::milliseconds(1));
    EXPECT_TRUE(memo.Lines().empty());
    EXPECT_TRUE(memo.toPlainText().isEmpty());
    EXPECT_EQ(pathAsked, 0);
}

// Over the cap the oldest lines go to the file, in order, GBK with CR LF; the pane keeps the
// newest; nothing is lost or doubled across many flushes, shown and queued lines alike.
TEST_F(LogMemoTest, TheCapMovesTheOldestLinesToTheFileInOrder)
{
    memo.SetCap(40);
    int next = 0;
    for (int turn = 0; turn < 25; ++turn) {
        const int count = 1 + turn % 7;  // 1 to 7 lines a turn, a burst of 100 once
        Add(next, next + (turn == 12 ? 100 : count));
        next += turn == 12 ? 100 : count;
        memo.Flush();
        EXPECT_LE(memo.LineCount(), 40);
    }
    const Lines kept = memo.Lines();
    const std::string file = ReadFile(path);
    const int moved = next - static_cast<int>(kept.size());
    EXPECT_EQ(file, GbkLines(0, moved));
    EXPECT_EQ(kept, Numbered(moved, next));
    std::string shown;
    for (const std::string& line : kept)
        shown += (shown.empty() ? "" : "\n") + line;
    EXPECT_EQ(memo.toPlainText().toStdString(), shown);
    EXPECT_EQ(pathAsked, 1);  // one file for the run
    EXPECT_EQ(memo.OverflowFile(), path);
    EXPECT_TRUE(errors.empty());
}

// A file that cannot be written keeps the lines in the pane (past the cap) and says so once;
// once it can be written, the lines go there and nothing is missing.
TEST_F(LogMemoTest, AFileThatCannotBeWrittenKeepsTheLines)
{
    path = dir.filePath("no-such-folder/log.log").toStdString();
    memo.SetCap(10);
    Add(0, 15);
    memo.Flush();
    Add(15, 20);
    memo.Flush();
    EXPECT_EQ(memo.Lines(), Numbered(0, 20));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("no-such-folder"), std::string::npos);

    ASSERT_TRUE(QDir(dir.path()).mkpath("no-such-folder"));
    Add(20, 21);
    memo.Flush();
    EXPECT_EQ(ReadFile(path), GbkLines(0, 21 - memo.LineCount()));
    EXPECT_EQ(memo.Lines(), Numbered(21 - memo.LineCount(), 21));
    EXPECT_LE(memo.LineCount(), 10);
}

} // namespace
