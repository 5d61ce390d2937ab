#include "console/EditKeyFilter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

TEditKeyFilter::TEditKeyFilter(QLineEdit* edit) : QObject(edit), edit_(edit)
{
    edit->installEventFilter(this);
}

TEditKeyFilter* TEditKeyFilter::Attach(QLineEdit* edit)
{
    return new TEditKeyFilter(edit);
}

TEditKeyFilter* TEditKeyFilter::Attach(QLineEdit* edit, TKeyFilterKind kind)
{
    auto* filter = new TEditKeyFilter(edit);
    filter->SetKind(kind);
    return filter;
}

TEditKeyFilter* TEditKeyFilter::Attach(QLineEdit* edit, Rule rule)
{
    auto* filter = new TEditKeyFilter(edit);
    filter->SetRule(std::move(rule));
    return filter;
}

void TEditKeyFilter::SetKind(std::optional<TKeyFilterKind> kind)
{
    kind_ = kind;
    rule_ = nullptr;
    Changed();
}

void TEditKeyFilter::SetRule(Rule rule)
{
    rule_ = std::move(rule);
    kind_.reset();
    Changed();
}

void TEditKeyFilter::Changed()
{
    // A drop would put its text in unfiltered.
    edit_->setAcceptDrops(!Filtered());
}

bool TEditKeyFilter::Type(QChar c)
{
    if (c.unicode() < 32)
        return false;
    if (!Filtered()) {
        const auto lengthBefore = edit_->text().size();
        edit_->insert(QString(c));
        return edit_->text().size() != lengthBefore;
    }
    // The filtered edits take ASCII only; pieces of other characters are dropped.
    if (c.unicode() > 126)
        return false;
    const char key = static_cast<char>(c.unicode());
    const std::string before = edit_->text().toStdString();
    if (rule_) {
        if (!rule_(before, key))
            return false;
        const auto lengthBefore = edit_->text().size();
        const bool replaces = edit_->hasSelectedText();
        edit_->insert(QString(c));
        return edit_->text().size() != lengthBefore || replaces;
    }
    TEditState state;
    state.Text = before;
    state.Cursor = edit_->cursorPosition();
    if (edit_->hasSelectedText()) {
        state.SelStart = edit_->selectionStart();
        state.SelLength = static_cast<int>(edit_->selectedText().size());
    }
    const TKeyResult result = FilterKey(*kind_, state, key);
    if (!result.Accepted || static_cast<int>(result.Text.size()) > edit_->maxLength())
        return false;  // the maximum length refuses the key, as typing would
    edit_->setText(QString::fromStdString(result.Text));
    edit_->setCursorPosition(result.Cursor);
    return true;
}

void TEditKeyFilter::Paste(const QString& text)
{
    for (const QChar c : text)
        Type(c);
}

void TEditKeyFilter::ShowContextMenu(const QPoint& globalPos)
{
    QMenu* menu = edit_->createStandardContextMenu();
    // Pasting through the menu goes through the filter as well.
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] {
                if (!edit_->isReadOnly())
                    Paste(QApplication::clipboard()->text());
            });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

bool TEditKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_ || !Filtered())
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
        // Text that comes with Alt is filtered too: the edit would insert it otherwise.
        const bool printable = !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
        if (!printable || edit_->isReadOnly())
            return false;  // editing keys, Enter, shortcuts: the edit's own handling
        Paste(text);
        return true;
    }
    case QEvent::InputMethod: {
        // A composition shows in the edit as it is; what the input method commits is typed
        // through the filter like keys. The rest of the event (the composition's end) goes on
        // without the committed text.
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (im->commitString().isEmpty())
            return false;
        QInputMethodEvent rest(im->preeditString(), im->attributes());
        QCoreApplication::sendEvent(edit_, &rest);
        if (!edit_->isReadOnly())
            Paste(im->commitString());
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
    case QEvent::ContextMenu:
        ShowContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default:
        return false;
    }
}
