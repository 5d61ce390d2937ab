#include "console/LogSaver.h"

#include "platform/rtl/CodePage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

const char* const LogKinds[10] = {
    "通信记录", "通信报文", "完整侦听记录", "A相侦听记录", "B相侦听记录",
    "C相侦听记录", "完整侦听报文", "A相侦听报文", "B相侦听报文", "C相侦听报文",
};

std::string LogStamp(const std::tm& local)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

namespace {

// Writes (or appends) the lines as GBK with CR LF after each.
void WriteLines(const std::string& path, const std::vector<std::string>& lines, const char* mode)
{
    std::string bytes;
    for (const auto& line : lines) {
        bytes += rtl::Utf8ToGbk(line);
        bytes += "\r\n";
    }
    // The file name is GBK-free on Linux: paths stay UTF-8, only the contents are GBK.
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (!file)
        throw ELogSaveError("Cannot create file \"" + path + "\". " + std::strerror(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        throw ELogSaveError("Unable to write to " + path);
}

} // namespace

std::vector<std::string> SaveLogs(const std::vector<TLogPage>& pages, const std::string& folder,
                                  const std::string& stamp)
{
    std::vector<std::string> written;
    for (const auto& page : pages) {
        if (page.Lines.empty())
            continue;
        const std::string path = LogPath(folder, page.Kind, stamp);
        WriteLines(path, page.Lines, "wb");
        written.push_back(path);
    }
    return written;
}

std::string LogPath(const std::string& folder, const std::string& kind, const std::string& stamp)
{
    std::string path = kind + stamp + ".log";
    if (!folder.empty())
        path = folder + (folder.back() == '/' ? "" : "/") + path;
    return path;
}

void AppendLogLines(const std::string& path, const std::vector<std::string>& lines)
{
    WriteLines(path, lines, "ab");
}
