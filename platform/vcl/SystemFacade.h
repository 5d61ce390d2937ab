#pragma once
// What the control layer asks of the system: metrics, colours, screens and work areas, the
// cursor, key state, time, double-click and drag settings, wheel lines and the beep. One object
// answers; tests install a fixed one so that nothing depends on the machine's desktop.
#include "platform/rtl/Types.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vcl {

struct TMonitorInfo {
    TRect Bounds;
    TRect WorkArea;
    bool Primary = false;
};

class SystemFacade {
public:
    virtual ~SystemFacade() = default;

    // GetSystemMetrics and GetSysColor of the platform profile (0 for unknown indexes).
    virtual int GetSystemMetrics(int index) const;
    virtual std::int32_t GetSysColor(int index) const;

    virtual std::vector<TMonitorInfo> Monitors() const = 0;
    virtual TPoint GetCursorPos() const = 0;
    virtual void SetCursorPos(const TPoint& p) = 0;
    virtual std::uint32_t GetTickCount() const = 0;
    virtual unsigned GetDoubleClickTime() const = 0;
    virtual int DragThreshold() const = 0;
    virtual int WheelScrollLines() const = 0;
    virtual void Beep() = 0;

    // Key state as the input pipeline saw it: bit 15 set while down, bit 0 toggled per press.
    virtual short GetKeyState(int vk) const;
    void SetKeyDown(int vk, bool down);
    void ClearKeys() { keys_.fill(0); }

    // The monitor nearest to a point (the primary one when no monitor is known).
    TMonitorInfo MonitorFromPoint(const TPoint& p) const;

private:
    std::array<std::uint8_t, 256> keys_{};
};

// The running system through Qt: screens, QCursor, a monotonic clock, Qt's style hints.
class QtSystemFacade : public SystemFacade {
public:
    QtSystemFacade();
    std::vector<TMonitorInfo> Monitors() const override;
    TPoint GetCursorPos() const override;
    void SetCursorPos(const TPoint& p) override;
    std::uint32_t GetTickCount() const override;
    unsigned GetDoubleClickTime() const override;
    int DragThreshold() const override;
    int WheelScrollLines() const override;
    void Beep() override;

private:
    std::int64_t start_;
};

// A fixed system for tests: one 1024 x 768 monitor with a task bar of 30 pixels at the bottom,
// a cursor and a clock that only move when told, 500 ms double clicks, drag threshold 4,
// three wheel lines; beeps are counted.
class FixedSystemFacade : public SystemFacade {
public:
    FixedSystemFacade();
    std::vector<TMonitorInfo> Monitors() const override { return monitors; }
    TPoint GetCursorPos() const override { return cursor; }
    void SetCursorPos(const TPoint& p) override { cursor = p; }
    std::uint32_t GetTickCount() const override { return ticks; }
    unsigned GetDoubleClickTime() const override { return doubleClickTime; }
    int DragThreshold() const override { return dragThreshold; }
    int WheelScrollLines() const override { return wheelLines; }
    void Beep() override { ++beeps; }

    std::vector<TMonitorInfo> monitors;
    TPoint cursor;
    std::uint32_t ticks = 1000;
    unsigned doubleClickTime = 500;
    int dragThreshold = 4;
    int wheelLines = 3;
    int beeps = 0;
};

// The installed facade (a QtSystemFacade until one is set). SetSystemFacade takes ownership and
// gives the previous one back, so a test can restore it.
SystemFacade& System();
std::unique_ptr<SystemFacade> SetSystemFacade(std::unique_ptr<SystemFacade> facade);

} // namespace vcl
