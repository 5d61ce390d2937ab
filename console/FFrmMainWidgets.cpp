#include "console/FFrmMainWidgets.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

void TFilterEdit::TypeText(const QString& text)
{
    const QByteArray latin = text.toUtf8();
    for (char c : latin) {
        if (c == '\r' || c == '\n')
            continue;
        TypeKey(c);
    }
}

bool TFilterEdit::TypeKey(char key)
{
    if (!filter_ && !check_) {
        insert(QString::fromUtf8(&key, 1));
        return true;
    }
    if (check_) {
        if (!check_(text(), key))
            return false;
        if (static_cast<unsigned char>(key) >= 32)
            insert(QString(QChar::fromLatin1(key)));
        return true;
    }
    TEditState state;
    state.Text = text().toStdString();
    state.Cursor = cursorPosition();
    if (hasSelectedText()) {
        state.SelStart = selectionStart();
        state.SelLength = static_cast<int>(selectedText().size());
    }
    const TKeyResult result = FilterKey(*filter_, state, key);
    if (!result.Accepted)
        return false;
    if (static_cast<int>(result.Text.size()) > maxLength())
        return false;  // the edit's maximum length refuses the key, as typing would
    setText(QString::fromStdString(result.Text));
    setCursorPosition(result.Cursor);
    return true;
}

void TFilterEdit::PasteClipboard()
{
    if (isReadOnly())
        return;
    TypeText(QApplication::clipboard()->text());
}

void TFilterEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        return;
    }
    if (isReadOnly() || (!filter_ && !check_)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed[0].unicode() >= 32 && typed[0].unicode() != 127
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable) {
        // Characters beyond ASCII are dropped by every filter, as are their pieces.
        for (QChar ch : typed)
            TypeKey(ch.unicode() < 128 ? static_cast<char>(ch.unicode()) : static_cast<char>(0x80));
        return;
    }
    if (event->key() == Qt::Key_Backspace && filter_ == TKeyFilterKind::HexSpaced && !check_) {
        TypeKey('\b');
        return;
    }
    QLineEdit::keyPressEvent(event);  // arrows, delete, backspace, selection, copy
}

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

void TFilterEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    // Pasting through the menu goes through the filter as well.
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { PasteClipboard(); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
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
