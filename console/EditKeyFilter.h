#pragma once
// Wires the key filters of meter/FFunct.h into a QLineEdit. Typed characters go through the
// filter; pasted and dropped text goes through it character by character, as if typed, so a
// hex edit with blanks keeps its "12 34 56" form whichever way text arrives. Backspace, Delete,
// the arrows and the other editing keys work as the edit itself handles them.
#include "meter/FFunct.h"

#include <QObject>

#include <functional>
#include <string>

class QLineEdit;

class TEditKeyFilter : public QObject {
    Q_OBJECT
public:
    // Decides a printable key on the text before it; a key that passes is inserted as typed.
    using Rule = std::function<bool(const std::string& textBefore, char key)>;

    // The filter is owned by the edit.
    static TEditKeyFilter* Attach(QLineEdit* edit, TKeyFilterKind kind);
    static TEditKeyFilter* Attach(QLineEdit* edit, Rule rule);

    // One character as if typed; false when the filter or the edit's maximum length drops it.
    bool Type(QChar c);
    // A text as if its characters were typed one after another.
    void Paste(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TEditKeyFilter(QLineEdit* edit, bool hasKind, TKeyFilterKind kind, Rule rule);

    QLineEdit* edit_;
    bool hasKind_;
    TKeyFilterKind kind_;
    Rule rule_;
};
