#include "console/EditKeyFilter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

TEditKeyFilter::TEditKeyFilter(QLineEdit* edit, bool hasKind, TKeyFilterKind kind, Rule rule)
    : QObject(edit), edit_(edit), hasKind_(hasKind), kind_(kind), rule_(std::move(rule))
{
    edit->setAcceptDrops(false);
    edit->installEventFilter(this);
}

TEditKeyFilter* TEditKeyFilter::Attach(QLineEdit* edit, TKeyFilterKind kind)
{
    return new TEditKeyFilter(edit, true, kind, {});
}

TEditKeyFilter* TEditKeyFilter::Attach(QLineEdit* edit, Rule rule)
{
    return new TEditKeyFilter(edit, false, TKeyFilterKind::Digit, std::move(rule));
}

bool TEditKeyFilter::Type(QChar c)
{
    // The edits filtered here take ASCII only; pieces of other characters are dropped.
    if (c.unicode() < 32 || c.unicode() > 126)
        return false;
    const char key = static_cast<char>(c.unicode());
    const std::string before = edit_->text().toStdString();
    if (!hasKind_) {
        if (!rule_ || !rule_(before, key))
            return false;
        const int lengthBefore = static_cast<int>(edit_->text().size());
        edit_->insert(QString(c));
        return edit_->text().size() != lengthBefore || edit_->hasSelectedText();
    }
    TEditState state;
    state.Text = before;
    state.Cursor = edit_->cursorPosition();
    if (edit_->hasSelectedText()) {
        state.SelStart = edit_->selectionStart();
        state.SelLength = static_cast<int>(edit_->selectedText().size());
    }
    const TKeyResult result = FilterKey(kind_, state, key);
    if (!result.Accepted || static_cast<int>(result.Text.size()) > edit_->maxLength())
        return false;
    edit_->setText(QString::fromStdString(result.Text));
    edit_->setCursorPosition(result.Cursor);
    return true;
}

void TEditKeyFilter::Paste(const QString& text)
{
    for (const QChar c : text)
        Type(c);
}

bool TEditKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            if (!edit_->isReadOnly())
                Paste(QApplication::clipboard()->text());
            return true;
        }
        const QString text = key->text();
        if (text.isEmpty() || text.at(0).unicode() < 32 || edit_->isReadOnly())
            return false;  // editing keys, Enter, shortcuts: the edit's own handling
        for (const QChar c : text)
            Type(c);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton)
            return false;
        if (event->type() == QEvent::MouseButtonRelease && !edit_->isReadOnly())
            Paste(QApplication::clipboard()->text(QClipboard::Selection));
        return true;
    }
    case QEvent::ContextMenu: {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        QMenu* menu = edit_->createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-paste")) {
                action->disconnect();
                connect(action, &QAction::triggered, this,
                        [this] { Paste(QApplication::clipboard()->text()); });
            }
        }
        menu->exec(menuEvent->globalPos());
        delete menu;
        return true;
    }
    default:
        return false;
    }
}
