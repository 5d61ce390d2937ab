#include "console/FFrmMainWidgets.h"

#include "console/EditKeyFilter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>

TFilterEdit::TFilterEdit(QWidget* parent) : QLineEdit(parent), keys_(TEditKeyFilter::Attach(this)) {}

void TFilterEdit::SetFilter(std::optional<TKeyFilterKind> kind) { keys_->SetKind(kind); }
std::optional<TKeyFilterKind> TFilterEdit::Filter() const { return keys_->Kind(); }
void TFilterEdit::TypeText(const QString& text) { keys_->Paste(text); }

void TFilterEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // By now the application's focus widget is the control that took the focus.
    QWidget* next = QApplication::focusWidget();
    if (event->reason() == Qt::PopupFocusReason || !next || next == this)
        return;
    if (next->window() != window())
        return;
    emit exited();
}

TLamp::TLamp(QWidget* parent, QColor color) : QWidget(parent), color_(color)
{
    setFixedSize(16, 16);
}

void TLamp::SetColor(QColor color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

void TLamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::gray);
    p.setBrush(color_);
    p.drawEllipse(rect().adjusted(1, 1, -2, -2));
}
