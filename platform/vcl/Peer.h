#pragma once
// The Qt side of a windowed control: a QWidget that shows the control's surface and hands Qt's
// events to the input translator. The control owns its peer; the peer keeps a non-owning
// pointer back, cleared by Detach when the control's window is destroyed (possibly from inside
// one of the peer's own events, which is why the peer is deleted later, never at once).
#include "platform/vcl/Controls.h"

#include <QWidget>

namespace vcl {

class TWidgetPeer : public QWidget {
public:
    TWidgetPeer(TWinControl* control, QWidget* parent, Qt::WindowFlags flags);
    ~TWidgetPeer() override;

    TWinControl* Control() const { return control_; }
    void Detach();

    // Moves or resizes the widget for our own code; the echo Qt sends back is dropped.
    void SetGeometryQuietly(const QRect& r);
    void SetVisibleQuietly(bool visible);
    // Shows pixels of the surface that are up to date (moved by a scroll) without asking the
    // control to paint them again; an invalidation of the same pixels wins.
    void ShowSurface(const QRect& r);
    void InvalidateArea(const QRect& r);
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    TWinControl* control_;
    bool quiet_ = false;
    QRegion presentOnly_;
};

// Gives a window the region it shows, as a window region does: an empty region shows nothing and
// takes no pointer input. A Qt mask cannot say that (an empty mask is no mask at all), so the
// empty region becomes one pixel outside the window.
void SetPeerRegion(QWidget* peer, const QRegion& region);

// The peer of a window, or null.
TWidgetPeer* PeerOf(HWND wnd);
// The peer under a screen point whose control is alive, or null.
TWidgetPeer* PeerAt(const TPoint& screen);

} // namespace vcl
