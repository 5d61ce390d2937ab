#pragma once
// A QApplication for the widget tests of the composer, the route dialog and the small dialogs;
// made once, on first need, unless another test already made one.
#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

inline void EnsureDialogsApp()
{
    if (QApplication::instance())
        return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "console_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

// A settings file path in a fresh temporary folder.
inline std::string FreshIniPath(const std::string& name)
{
    const auto dir = std::filesystem::temp_directory_path()
        / ("ammerlin-dialogs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / name;
    std::filesystem::remove(path);
    return path.string();
}
