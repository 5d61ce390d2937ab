#pragma once
// Small controls of the main window: the key-filtered line edit with its "exit" signal, and the
// round lamp.
#include "meter/FFunct.h"

#include <QColor>
#include <QLineEdit>
#include <QWidget>

#include <functional>
#include <optional>

// A line edit whose typed and pasted characters go through one of the pure key filters, and
// which reports "exit" only when the focus moves to another control of the same window (not to a
// menu, a popup or a dialog).
class TFilterEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFilterEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

    // No filter: every key as the line edit takes it.
    void SetFilter(std::optional<TKeyFilterKind> kind) { filter_ = kind; }
    std::optional<TKeyFilterKind> Filter() const { return filter_; }
    // A filter of the window's own instead of a pure one (text before, key) -> passes.
    void SetKeyCheck(std::function<bool(const QString&, char)> check) { check_ = std::move(check); }

    // Feeds characters as if typed one after the other (typing and pasting both end here).
    void TypeText(const QString& text);

signals:
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool TypeKey(char key);
    void PasteClipboard();

    std::optional<TKeyFilterKind> filter_;
    std::function<bool(const QString&, char)> check_;
};

// A circle shape filled with one colour.
class TLamp : public QWidget {
public:
    explicit TLamp(QWidget* parent = nullptr, QColor color = Qt::black);
    void SetColor(QColor color);
    QColor Color() const { return color_; }
    // Alternates between red and black.
    void Toggle() { SetColor(color_ == QColor(Qt::red) ? QColor(Qt::black) : QColor(Qt::red)); }
    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};
