#pragma once
// Small controls of the main window: the key-filtered line edit with its "exit" signal, and the
// round lamp.
#include "meter/FFunct.h"

#include <QColor>
#include <QLineEdit>
#include <QWidget>

#include <optional>

class TEditKeyFilter;

// A line edit whose typed and pasted characters go through one of the pure key filters (the
// console's one TEditKeyFilter), and which reports "exit" only when the focus moves to another
// control of the same window (not to a menu, a popup or a dialog).
class TFilterEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFilterEdit(QWidget* parent = nullptr);

    // No filter: every key as the line edit takes it.
    void SetFilter(std::optional<TKeyFilterKind> kind);
    std::optional<TKeyFilterKind> Filter() const;

    // Feeds characters as if typed one after the other (typing and pasting both end here).
    void TypeText(const QString& text);

signals:
    void exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    TEditKeyFilter* keys_;
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
