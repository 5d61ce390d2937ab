#pragma once
// Wires the key filters of meter/FFunct.h into a QLineEdit: the one place where the console's
// edits filter their keys (the composer's and dialogs' plain edits, and the main window's
// TFilterEdit). Typed characters go through the filter; pasted, dropped and input-method
// committed text goes through it character by character, as if typed, so a hex edit with blanks keeps its "12 34 56" form
// whichever way text arrives. Backspace, Delete, the arrows, the other editing keys and the
// Ctrl shortcuts work as the edit itself handles them. Without a filter the edit takes
// everything as usual.
#include "meter/FFunct.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

class QLineEdit;

class TEditKeyFilter : public QObject {
    Q_OBJECT
public:
    // Decides a printable key on the text before it; a key that passes is inserted as typed.
    using Rule = std::function<bool(const std::string& textBefore, char key)>;

    // The filter is owned by the edit.
    static TEditKeyFilter* Attach(QLineEdit* edit);  // no filter until one is set
    static TEditKeyFilter* Attach(QLineEdit* edit, TKeyFilterKind kind);
    static TEditKeyFilter* Attach(QLineEdit* edit, Rule rule);

    // A pure filter, or none (std::nullopt); replaces a rule.
    void SetKind(std::optional<TKeyFilterKind> kind);
    std::optional<TKeyFilterKind> Kind() const { return kind_; }
    void SetRule(Rule rule);
    bool Filtered() const { return kind_.has_value() || static_cast<bool>(rule_); }

    // One character as if typed; false when the filter or the edit's maximum length drops it.
    bool Type(QChar c);
    // A text as if its characters were typed one after another.
    void Paste(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TEditKeyFilter(QLineEdit* edit);
    void Changed();
    void ShowContextMenu(const QPoint& globalPos);

    QLineEdit* edit_;
    std::optional<TKeyFilterKind> kind_;
    Rule rule_;
};
