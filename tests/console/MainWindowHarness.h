#pragma once
// A main window on a settings file and log folder of its own, with a fixed meter clock, message
// boxes recorded instead of shown, and the one-second timer left to the test.
#include "console/FFrmMain.h"
#include "console/QtApp.h"

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

struct MainWindowHarness {
    explicit MainWindowHarness(TMeterTime start = {2022, 12, 31, 23, 59, 59}, bool create = true)
    {
        EnsureQtApp();
        iniPath = dir.filePath("ammerlin.INI").toStdString();
        time = start;
        if (create)
            Create();
    }
    void Create()
    {
        TFrmMainOptions options;
        options.IniPath = iniPath;
        options.Clock = [this] { return time; };
        options.LogFolder = dir.path().toStdString();
        options.StartTimers = false;
        window = std::make_unique<TFrmMain>(options);
        window->Notify = [this](const std::string& text) { messages.push_back(text); };
        window->NotifyError = [this](const std::string& text) {
            messages.push_back(text);
            errors.push_back(text);
        };
        window->FormCreate();
    }
    void Close() { window->FormClose(); }
    // The window on the (offscreen) screen, laid out.
    TFrmMain& Shown()
    {
        window->show();
        SpinFor(std::chrono::milliseconds(50));
        return *window;
    }

    QTemporaryDir dir;
    std::string iniPath;
    TMeterTime time;
    std::vector<std::string> messages;  // every message box, errors included
    std::vector<std::string> errors;    // the boxes with the error icon
    std::unique_ptr<TFrmMain> window;
};
