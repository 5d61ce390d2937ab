#pragma once
// A pseudo-terminal pair for serial tests. The program under test opens the slave end by its
// path, as it would a serial device; the test holds the master end and plays the equipment on
// the other side of the line: it writes requests and reads what the program sends, with time
// stamps and bounded waits. The Qt event loop runs while the test waits, so the program's
// timers and notifiers keep working.
#include "QtApp.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class PtyPair {
public:
    using Clock = std::chrono::steady_clock;
    struct TimedByte {
        std::uint8_t Byte;
        Clock::time_point Time;
    };

    PtyPair()
    {
        EnsureQtApp();
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        slavePath_ = name;
        // Raw from the start, so nothing written before the program opens the port is echoed.
        termios t{};
        ::tcgetattr(slave_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair()
    {
        CloseMaster();
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }

    // Writes every byte to the line (the program receives them); bounded by one second.
    void Write(const std::vector<std::uint8_t>& bytes)
    {
        std::size_t done = 0;
        const auto deadline = Clock::now() + std::chrono::seconds(1);
        while (done < bytes.size() && Clock::now() < deadline) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else
                Pump(std::chrono::milliseconds(1));
        }
        if (done < bytes.size())
            throw std::runtime_error("pty write timed out");
    }

    // What the program sent, up to `count` bytes, waiting at most `timeout`.
    std::vector<std::uint8_t> Read(std::size_t count, std::chrono::milliseconds timeout)
    {
        std::vector<std::uint8_t> out;
        for (const TimedByte& b : ReadTimed(count, timeout))
            out.push_back(b.Byte);
        return out;
    }

    std::vector<TimedByte> ReadTimed(std::size_t count, std::chrono::milliseconds timeout)
    {
        std::vector<TimedByte> out;
        const auto deadline = Clock::now() + timeout;
        while (out.size() < count && Clock::now() < deadline) {
            std::uint8_t buf[4096];
            const std::size_t want = std::min(sizeof buf, count - out.size());
            const ssize_t n = master_ >= 0 ? ::read(master_, buf, want) : -1;
            const auto now = Clock::now();
            for (ssize_t i = 0; i < n; ++i)
                out.push_back({buf[i], now});
            if (n <= 0)
                Pump(std::chrono::milliseconds(1));
        }
        return out;
    }

    // Whatever arrives within `time`.
    std::vector<std::uint8_t> Drain(std::chrono::milliseconds time)
    {
        return Read(SIZE_MAX, time);
    }

    // The equipment goes away: the program's side of the line hangs up.
    void CloseMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    // The line rate the program has set on its end.
    int Baud() const
    {
        termios t{};
        if (::tcgetattr(slave_, &t) != 0)
            return -1;
        switch (::cfgetospeed(&t)) {
        case B1200: return 1200;
        case B2400: return 2400;
        case B4800: return 4800;
        case B9600: return 9600;
        case B19200: return 19200;
        case B38400: return 38400;
        case B115200: return 115200;
        default: return 0;
        }
    }

private:
    // Lets the program run: Qt events, then a short sleep on the master end.
    void Pump(std::chrono::milliseconds wait)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (master_ >= 0) {
            pollfd p{master_, POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(wait.count()));
        } else {
            ::usleep(static_cast<useconds_t>(wait.count() * 1000));
        }
    }

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};
