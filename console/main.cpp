// The program: one main window on the Qt event loop. An exception that escapes an event handler
// is shown in a message box and the loop goes on.
#include "console/FFrmMain.h"

#include <QApplication>
#include "console/MessageBox.h"
#include "console/ToolkitUnits.h"


#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

// Qt without a display aborts with a text that suggests reinstalling; say what is missing instead.
bool HasDisplay()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

class TApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ShowError(e.what());
        } catch (...) {
            ShowError("");
        }
        return false;
    }

    static void ShowError(const char* text)
    {
        ShowMessageBox(activeWindow(), TMessageKind::Error, AppTitle, text);
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (!HasDisplay()) {
        std::fputs("Ammerlin需要图形显示,但DISPLAY和WAYLAND_DISPLAY都未设置。\n"
                   "请在桌面会话中运行,或在虚拟显示上运行: xvfb-run -a ammerlin\n"
                   "Ammerlin needs a display: run it in a desktop session, or under xvfb-run -a.\n",
                   stderr);
        return 2;
    }
    TApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(AppTitle));
    LoadQtTranslations(app);  // without them the standard dialogs speak English
    UseChineseLocale();
    // The delay dialog's grid needs the toolkit's registries and strings before any window.
    InitializeToolkitUnits();
    try {
        TFrmMain window;
        window.FormCreate();
        window.show();
        app.exec();
    } catch (const std::exception& e) {
        TApplication::ShowError(e.what());
    } catch (...) {
        TApplication::ShowError("");
    }
    FinalizeToolkitUnits();
    return 0;
}
