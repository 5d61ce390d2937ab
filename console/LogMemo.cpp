#include "console/LogMemo.h"

#include "console/LogSaver.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <chrono>

#include <malloc.h>

TLogMemo::TLogMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // A log is never edited: an undo history would only keep a copy of every line.
    setUndoRedoEnabled(false);
    // A log follows its new lines unless the operator has scrolled up. The view's own check
    // fails once a line wider than the pane brings the horizontal scroll bar (the pane grows
    // shorter after the check), so the log keeps its own "at the end" state.
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) { atEnd_ = value >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (atEnd_)
            bar->setValue(maximum);
    });
}

void TLogMemo::Add(const std::string& line)
{
    pending_.push_back(line);
    ScheduleFlush();
}

void TLogMemo::ScheduleFlush()
{
    if (flushQueued_)
        return;
    flushQueued_ = true;
    QMetaObject::invokeMethod(this, [this] { Flush(); }, Qt::QueuedConnection);
}

void TLogMemo::SetCap(int cap)
{
    cap_ = std::max(cap, 1);
}

void TLogMemo::Flush()
{
    flushQueued_ = false;
    const int total = LineCount();
    if (total > cap_) {
        // A thousandth of the cap goes with the excess, so the file is not opened on every
        // turn; larger pieces would stall the loop (removing a thousand lines takes ~12 ms).
        const int move = std::min(total, total - cap_ + cap_ / 1000);
        MoveToFile(move);
    }
    if (pending_.empty())
        return;
    QString text;
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += QString::fromStdString(pending_[i]);
    }
    pending_.clear();
    appendPlainText(text);
    shown_ = document()->blockCount();
}

bool TLogMemo::MoveToFile(int count)
{
    const int fromShown = std::min(count, shown_);
    const int fromPending = count - fromShown;
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    QTextBlock block = document()->firstBlock();
    for (int i = 0; i < fromShown; ++i, block = block.next())
        lines.push_back(block.text().toStdString());
    lines.insert(lines.end(), pending_.begin(), pending_.begin() + fromPending);

    if (overflowFile_.empty() && OverflowPath)
        overflowFile_ = OverflowPath();
    if (!overflowFile_.empty()) {
        try {
            AppendLogLines(overflowFile_, lines);
            reportedError_ = false;
        } catch (const ELogSaveError& e) {
            if (!reportedError_ && OnOverflowError)
                OnOverflowError(e.what());
            reportedError_ = true;
            return false;  // kept in the pane until the file can be written
        }
    }

    if (fromShown == shown_) {
        clear();
        shown_ = 0;
    } else if (fromShown > 0) {
        QTextCursor cursor(document());
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, fromShown);
        cursor.removeSelectedText();
        shown_ = document()->blockCount();
    }
    pending_.erase(pending_.begin(), pending_.begin() + fromPending);
    // The removed lines leave holes all over the heap: now and then give the free pages back,
    // so that panes at their cap keep the process at a steady size. (A trim walks the whole
    // heap, a few milliseconds: not on every turn.)
    static auto lastTrim = std::chrono::steady_clock::now();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastTrim >= std::chrono::seconds(10)) {
        lastTrim = now;
        ::malloc_trim(0);
    }
    return true;
}

void TLogMemo::ClearLines()
{
    pending_.clear();
    clear();
    shown_ = 0;
}

std::vector<std::string> TLogMemo::Lines() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(LineCount()));
    QTextBlock block = document()->firstBlock();
    for (int i = 0; i < shown_ && block.isValid(); ++i, block = block.next())
        lines.push_back(block.text().toStdString());
    lines.insert(lines.end(), pending_.begin(), pending_.end());
    return lines;
}
