#include "console/SettingsPath.h"

#include "console/ErrorTexts.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/IniFiles.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A folder's access() says nothing of a file: a settings path that is itself a folder (or any
// other non-file) is not writable.
bool Writable(const fs::path& dir, const fs::path& file)
{
    std::error_code ec;
    if (!fs::is_directory(dir, ec) || ::access(dir.c_str(), W_OK) != 0)
        return false;
    if (!fs::exists(file, ec))
        return true;
    return fs::is_regular_file(file, ec) && ::access(file.c_str(), W_OK) == 0;
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace

std::string SettingsFilePathFor(const std::string& exePath, const std::string& configDir)
{
    fs::path beside(exePath);
    beside.replace_extension(".INI");
    if (Writable(beside.parent_path(), beside))
        return beside.string();

    const fs::path inConfig = fs::path(configDir) / beside.filename();
    std::error_code ec;
    fs::create_directories(configDir, ec);
    if (!fs::exists(inConfig, ec) && fs::is_regular_file(beside, ec))
        fs::copy_file(beside, inConfig, ec);  // the shipped settings as a start
    return inConfig.string();
}

std::string SettingsFilePath()
{
    const std::string configDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/Ammerlin";
    return SettingsFilePathFor(QCoreApplication::applicationFilePath().toStdString(), configDir);
}

std::string PrepareSettingsFile(const std::string& path)
{
    std::error_code ec;
    if (!fs::exists(path, ec))
        return {};
    const std::string head = "设置文件" + path;
    if (fs::is_directory(path, ec))
        return head + "无法读取:" + SystemErrorText(EISDIR) + ",使用默认设置";
    QFile in(QString::fromStdString(path));
    if (!in.open(QIODevice::ReadOnly))
        return head + "无法读取:" + SystemErrorText(EACCES) + ",使用默认设置";
    const QByteArray bytes = in.readAll();
    in.close();
    static const char bom[] = "\xEF\xBB\xBF";
    const bool hasBom = bytes.startsWith(bom);
    const QByteArray body = hasBom ? bytes.mid(3) : bytes;
    const bool wide = std::any_of(body.begin(), body.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
    if (!(hasBom || wide) || !QByteArrayView(body).isValidUtf8())
        return {};
    const std::string gbk = WithCrLf(rtl::Utf8ToGbk(std::string_view(body.constData(), static_cast<std::size_t>(body.size()))));
    try {
        rtl::SaveIniFile(path, gbk);
    } catch (const rtl::EIniFileException& e) {
        return head + "是UTF-8编码,无法转换为GBK:" + SystemErrorText(e.Error());
    }
    return head + "是UTF-8编码,已转换为GBK编码(CR LF换行)保存";
}
