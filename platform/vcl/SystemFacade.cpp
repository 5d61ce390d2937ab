#include "platform/vcl/SystemFacade.h"

#include "platform/gdi/SysParams.h"
#include "platform/rtl/Profile.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>

#include <chrono>
#include <cstdlib>

namespace vcl {

int SystemFacade::GetSystemMetrics(int index) const { return gdi::GetSystemMetrics(index); }

std::int32_t SystemFacade::GetSysColor(int index) const { return rtl::profile::SysColor(index); }

short SystemFacade::GetKeyState(int vk) const
{
    if (vk < 0 || vk > 255)
        return 0;
    const std::uint8_t k = keys_[std::size_t(vk)];
    return short(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

void SystemFacade::SetKeyDown(int vk, bool down)
{
    if (vk < 0 || vk > 255)
        return;
    std::uint8_t& k = keys_[std::size_t(vk)];
    if (down && !(k & 0x80))
        k ^= 1;
    k = std::uint8_t(down ? (k | 0x80) : (k & ~0x80));
}

TMonitorInfo SystemFacade::MonitorFromPoint(const TPoint& p) const
{
    const auto all = Monitors();
    if (all.empty())
        return {{0, 0, 1024, 768}, {0, 0, 1024, 768}, true};
    const TMonitorInfo* best = &all.front();
    long bestDistance = -1;
    for (const auto& m : all) {
        const int dx = p.X < m.Bounds.Left ? m.Bounds.Left - p.X : p.X >= m.Bounds.Right ? p.X - m.Bounds.Right + 1 : 0;
        const int dy = p.Y < m.Bounds.Top ? m.Bounds.Top - p.Y : p.Y >= m.Bounds.Bottom ? p.Y - m.Bounds.Bottom + 1 : 0;
        const long d = long(dx) * dx + long(dy) * dy;
        if (bestDistance < 0 || d < bestDistance) {
            best = &m;
            bestDistance = d;
        }
    }
    return *best;
}

// ---------------------------------------------------------------------------------------------
namespace {
std::int64_t SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TRect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
} // namespace

QtSystemFacade::QtSystemFacade() : start_(SteadyMs()) {}

std::vector<TMonitorInfo> QtSystemFacade::Monitors() const
{
    std::vector<TMonitorInfo> result;
    if (!qGuiApp)
        return result;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (QScreen* s : QGuiApplication::screens())
        result.push_back({ToRect(s->geometry()), ToRect(s->availableGeometry()), s == primary});
    return result;
}

TPoint QtSystemFacade::GetCursorPos() const
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtSystemFacade::SetCursorPos(const TPoint& p) { QCursor::setPos(p.X, p.Y); }

std::uint32_t QtSystemFacade::GetTickCount() const { return std::uint32_t(SteadyMs() - start_ + 1); }

unsigned QtSystemFacade::GetDoubleClickTime() const
{
    return qGuiApp ? unsigned(QGuiApplication::styleHints()->mouseDoubleClickInterval()) : 500;
}

int QtSystemFacade::DragThreshold() const
{
    return qGuiApp ? QGuiApplication::styleHints()->startDragDistance() : 4;
}

int QtSystemFacade::WheelScrollLines() const
{
    return qGuiApp ? QGuiApplication::styleHints()->wheelScrollLines() : 3;
}

void QtSystemFacade::Beep()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

FixedSystemFacade::FixedSystemFacade()
{
    monitors.push_back({{0, 0, 1024, 768}, {0, 0, 1024, 738}, true});
}

// ---------------------------------------------------------------------------------------------
namespace {
std::unique_ptr<SystemFacade>& Slot()
{
    static std::unique_ptr<SystemFacade> facade;
    return facade;
}
} // namespace

SystemFacade& System()
{
    auto& slot = Slot();
    if (!slot)
        slot = std::make_unique<QtSystemFacade>();
    return *slot;
}

std::unique_ptr<SystemFacade> SetSystemFacade(std::unique_ptr<SystemFacade> facade)
{
    auto old = std::move(Slot());
    Slot() = std::move(facade);
    return old;
}

} // namespace vcl
