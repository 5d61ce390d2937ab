// The program: one main window on the Qt event loop. An exception that escapes an event handler
// is shown in a message box and the loop goes on.
#include "console/FFrmMain.h"

#include <QApplication>
#include "console/MessageBox.h"
#include "console/ToolkitUnits.h"


#include <exception>

namespace {

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
