#pragma once
// A log pane of the main window: a read-only text view that collects its lines and shows them
// once per turn of the event loop (one layout for a whole frame's lines, after the reply has
// left), and that holds at most `Cap` lines. Lines pushed out by the cap are first appended to an
// overflow file (GBK, CR LF), so the pane and the file together keep every line.
#include <QPlainTextEdit>

#include <functional>
#include <string>
#include <vector>

class TLogMemo : public QPlainTextEdit {
public:
    static constexpr int DefaultCap = 20000;

    explicit TLogMemo(QWidget* parent = nullptr);

    // Queues a line (UTF-8, no line end); it is shown on the next turn of the event loop.
    void Add(const std::string& line);
    // Shows the queued lines now, moving the oldest lines to the overflow file when the cap is
    // passed. A file that cannot be written keeps them in the pane (and reports it once).
    void Flush();
    // Drops every line, shown and queued (the operator's "clear"; nothing is written).
    void ClearLines();
    // Every line the pane holds, shown and queued, oldest first.
    std::vector<std::string> Lines() const;
    int LineCount() const { return shown_ + static_cast<int>(pending_.size()); }

    // At most this many lines (at least 1). A lower cap takes effect at the next flush.
    void SetCap(int cap);
    int Cap() const { return cap_; }

    // The file the lines leaving the pane go to: asked once, when the first lines leave.
    std::function<std::string()> OverflowPath;
    // Called when the overflow file cannot be written (once until a write succeeds again).
    std::function<void(const std::string& why)> OnOverflowError;
    // The path in use, empty before the first overflow.
    const std::string& OverflowFile() const { return overflowFile_; }
    // The next lines that leave go to a newly asked file (after a save took over the old one).
    void StartNewOverflowFile() { overflowFile_.clear(); }

private:
    void ScheduleFlush();
    bool MoveToFile(int count);

    std::vector<std::string> pending_;
    int shown_ = 0;
    int cap_ = DefaultCap;
    bool flushQueued_ = false;
    bool reportedError_ = false;
    bool atEnd_ = true;  // the view is at the last line: new lines keep it there
    std::string overflowFile_;
};
