#pragma once
// A QApplication for the widget tests of the composer, the route dialog and the small dialogs;
// made once, on first need, unless another test already made one.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

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
    // Never destroyed: tearing Qt down among the other static objects at exit crashes.
    new QApplication(argc, argv);
}

// A settings file path in this run's temporary folder, which is removed when the test program
// ends (tests must leave nothing behind in the temporary directory).
inline std::string FreshIniPath(const std::string& name)
{
    struct TFolder {
        std::filesystem::path Path;
        TFolder()
        {
            std::string pattern = (std::filesystem::temp_directory_path() / "ammerlin-dialogs-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr)
                std::abort();
            Path = pattern;
        }
        ~TFolder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(Path, ignored);
        }
    };
    static TFolder folder;
    const auto path = folder.Path / name;
    std::filesystem::remove(path);
    return path.string();
}

// Key presses as the window system delivers them (press and release), without Qt's test module.
inline void PressKey(QWidget* widget, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

inline void TypeKeys(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const int key = c.isLetter() ? c.toUpper().unicode() : c.unicode();
        PressKey(widget, key, QString(c));
    }
}
