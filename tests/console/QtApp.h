#pragma once
// One QApplication per test program, created on first use: serial notifiers and timers need its
// event dispatcher, dialogs need the widget application. Kept until the process ends.
#include <QApplication>

#include <chrono>
#include <functional>
#include <thread>

inline void EnsureQtApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "console_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// Runs the event loop until `done` holds or `timeout` has passed; true when it held.
inline bool SpinUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    EnsureQtApp();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

inline void SpinFor(std::chrono::milliseconds time)
{
    SpinUntil([] { return false; }, time);
}
