#include "console/SettingsPath.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool Writable(const fs::path& dir, const fs::path& file)
{
    std::error_code ec;
    if (!fs::is_directory(dir, ec) || ::access(dir.c_str(), W_OK) != 0)
        return false;
    return !fs::exists(file, ec) || ::access(file.c_str(), W_OK) == 0;
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
    if (!fs::exists(inConfig, ec) && fs::exists(beside, ec))
        fs::copy_file(beside, inConfig, ec);  // the shipped settings as a start
    return inConfig.string();
}

std::string SettingsFilePath()
{
    const std::string configDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/Ammerlin";
    return SettingsFilePathFor(QCoreApplication::applicationFilePath().toStdString(), configDir);
}
