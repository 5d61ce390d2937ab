#pragma once
// The console as it runs, for the benchmarks of the whole program: a hidden main window on a
// settings file and log folder of its own, its port on the slave end of a pseudo-terminal whose
// master end the benchmark holds, as independent equipment would.
#include "console/FFrmMain.h"
#include "console/SerialLink.h"
#include "meter/FFunct.h"
#include "platform/rtl/CodePage.h"

#include <QApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace benchsupport {

using Bytes = std::vector<std::uint8_t>;

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "ammerlin_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A count from the environment (to shorten a run), else the default.
inline int CountFromEnv(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    const int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

// DL/T 645-1997 read of 9010 to meter 000000000001, as it stands on the line.
inline Bytes ReadRequest()
{
    Bytes f = {0x68, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x68, 0x01, 0x02, 0x43, 0xC3};
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    return f;
}

inline long RssKb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

class ConsoleOnPty {
public:
    ConsoleOnPty()
    {
        App();
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        termios t{};
        ::tcgetattr(slave_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
        // The black-list test with no row checked: every address is answered.
        ini_ = dir_.filePath("ammerlin.INI").toStdString();
        std::ofstream(ini_, std::ios::binary)
            << rtl::Utf8ToGbk(std::string("[系统]\r\n测试类型=3\r\n串口设备=") + name + "\r\n");
        TFrmMainOptions options;
        options.IniPath = ini_;
        options.LogFolder = dir_.path().toStdString();
        options.StartTimers = false;
        window_ = std::make_unique<TFrmMain>(options);
        window_->Notify = [](const std::string&) {};
        window_->FormCreate();  // never shown: the hidden window still lays out its logs
        window_->TbtnComOpenClick();
        if (!window_->Link->Comm().PortOpen())
            throw std::runtime_error("the console could not open " + std::string(name));
    }
    ~ConsoleOnPty()
    {
        window_->FormClose();
        window_.reset();
        ::close(master_);
        ::close(slave_);
    }
    TFrmMain& Window() { return *window_; }
    int Master() const { return master_; }
    std::string LogFolder() const { return dir_.path().toStdString(); }

private:
    QTemporaryDir dir_;
    std::string ini_;
    int master_ = -1, slave_ = -1;
    std::unique_ptr<TFrmMain> window_;
};

}  // namespace benchsupport
