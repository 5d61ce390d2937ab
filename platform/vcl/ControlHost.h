#pragma once
// A plain Qt widget that holds windowed controls of our layer, so that a Qt window (a QDialog of
// the console) can show one of them among its own widgets.
//
// The controls live on a borderless form whose peer is a child of the host and fills it. The
// seam between the two focus worlds:
// - Qt focus entering the host (Tab, a click on its frame, the window's first focus) gives the
//   layer's focus to the hosted control; a click on the control takes it the layer's way.
// - Qt focus leaving for a widget outside the host sends WM_KILLFOCUS to the focused window and
//   the exit notices (CM_EXIT) up to the form, as a focus move inside a form would.
// - Tab, Enter and Esc that the control leaves to its form go back to Qt: Tab and Shift+Tab move
//   along Qt's focus chain, Enter and Esc reach the host's parents (a dialog's default button,
//   its reject).
// - The activation of the host's window is the form's (WM_ACTIVATE, CM_ACTIVATE).
#include "platform/vcl/Forms.h"

#include <QPointer>
#include <QWidget>

namespace vcl {

class TControlHost : public QWidget {
public:
    explicit TControlHost(QWidget* parent = nullptr);
    // Frees the form and every control it owns.
    ~TControlHost() override;

    // The form the hosted controls are parented to; owner of what should die with the host.
    TCustomForm* Form() const { return form_; }
    // Puts the control on the form, filling it; it takes the layer's focus when Qt's enters.
    void SetControl(TWinControl* control);
    TWinControl* Control() const { return control_; }

    // Moves Qt's focus to the next (or previous) widget of the window's chain outside the host;
    // false when there is none.
    bool FocusNextQtWidget(bool forward);
    // Hands a key the layer left alone to the host's parents, as Qt would have.
    void PassKeyToQt(int qtKey, Qt::KeyboardModifiers mods);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void QtFocusChanged(QWidget* old, QWidget* now);
    void FocusControl();
    void Activation(bool active);
    void WatchWindow();
    bool Holds(const QWidget* w) const;
    bool LayerFocusInside() const;

    TCustomForm* form_ = nullptr;
    TWinControl* control_ = nullptr;
    std::weak_ptr<bool> controlAlive_;
    QPointer<QWidget> watchedWindow_;
};

} // namespace vcl
