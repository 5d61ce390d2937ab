// The gallery: every control kind of the toolkit's editors, grid and filter builder rendered
// offscreen with the real fonts into PNG sheets, for people to look at after a change to what is
// drawn. scripts/gallery builds and runs it.
//
//   gallery FOLDER [SHEET...]   writes the sheets (all, or those named) into FOLDER
//   gallery --check [SHEET...]  renders the sheets and writes nothing (a test that they still run)
//   gallery --list              names the sheets
#include "GalleryStage.h"

#include "console/ToolkitUnits.h"
#include "platform/vcl/SystemFacade.h"

#include <QApplication>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Part {
    const char* name;
    void (*run)(gallery::Output&);
};

const Part Parts[] = {
    {"editors", gallery::EditorSheets}, {"styles", gallery::StyleSheets}, {"popups", gallery::PopupSheets},
    {"grid", gallery::GridSheets},      {"choice", gallery::ChoiceSheets}, {"base", gallery::BaseSheets},
    {"filter", gallery::FilterSheets},
};

// The offscreen platform's notes on what it cannot do (raise a window, grab the mouse) are noise here.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

int Usage()
{
    std::fprintf(stderr, "usage: gallery FOLDER [SHEET...] | gallery --check [SHEET...] | gallery --list\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    if (std::strcmp(argv[1], "--list") == 0) {
        for (const Part& p : Parts)
            std::printf("%s\n", p.name);
        return 0;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQt);
    QApplication app(argc, argv);
    const bool check = std::strcmp(argv[1], "--check") == 0;
    const QString dir = check ? QString() : QString::fromLocal8Bit(argv[1]);
    if (!check && !QDir().mkpath(dir)) {
        std::fprintf(stderr, "gallery: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> wanted(argv + 2, argv + argc);
    for (const std::string& w : wanted) {
        bool known = false;
        for (const Part& p : Parts)
            known = known || w == p.name;
        if (!known) {
            std::fprintf(stderr, "gallery: no sheet \"%s\" (gallery --list names them)\n", w.c_str());
            return 2;
        }
    }
    // A fixed system: the pointer goes only where a sheet moves it.
    vcl::SetSystemFacade(std::make_unique<vcl::FixedSystemFacade>());
    InitializeToolkitUnits();
    gallery::Output out{dir, {}};
    int status = 0;
    for (const Part& p : Parts) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), p.name) == wanted.end())
            continue;
        try {
            p.run(out);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "gallery: %s failed: %s\n", p.name, e.what());
            status = 1;
        }
    }
    for (const QString& f : out.written)
        std::printf("%s\n", f.toLocal8Bit().constData());
    FinalizeToolkitUnits();
    return status;
}
