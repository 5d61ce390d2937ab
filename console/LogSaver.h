#pragma once
// Saving the ten log pages of the main window at once: one file per non-empty log in a folder
// (the working directory in the program), named by the log's kind and the time of the save,
// GBK text with CR LF line ends.
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

// One log page as the window holds it.
struct TLogPage {
    std::string Kind;                // "通信记录", "通信报文", ... (the start of the file name)
    std::vector<std::string> Lines;  // UTF-8, without line ends
};

// The kind words of the ten logs, in the order they are saved.
extern const char* const LogKinds[10];

// A log file that could not be created or written; the message names the file.
class ELogSaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "yyyymmddhhnnss" of a local time.
std::string LogStamp(const std::tm& local);

// Writes every page that holds at least one line to "<folder>/<Kind><stamp>.log", replacing a
// file of that name. A page that cannot be written stops the save there (the files written
// before it stay) and throws ELogSaveError. Returns the paths written, in order.
std::vector<std::string> SaveLogs(const std::vector<TLogPage>& pages, const std::string& folder,
                                  const std::string& stamp);

// "<folder>/<kind><stamp>.log" (the bare name for an empty folder).
std::string LogPath(const std::string& folder, const std::string& kind, const std::string& stamp);

// Appends the lines to a log file (created when missing), GBK with CR LF; throws ELogSaveError
// when the file cannot be opened or written.
void AppendLogLines(const std::string& path, const std::vector<std::string>& lines);
