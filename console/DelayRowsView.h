#pragma once
// The rows of the delay dialog: 50 rows, each a caption and one whole number of milliseconds.
// The dialog sees only this interface, so the toolkit's vertical grid can take the place of the
// plain Qt rows below without a change to the dialog.
#include <QPointer>
#include <QWidget>

#include <array>
#include <string>

class QLabel;
class QSpinBox;
class QScrollArea;

class TDelayRowsView {
public:
    static constexpr int RowCount = 50;
    static constexpr int MaxValue = 5000;

    virtual ~TDelayRowsView() = default;
    // The widget the dialog lays out above its buttons.
    virtual QWidget* Widget() = 0;
    virtual void SetCaption(int row, const std::string& caption) = 0;
    // A hidden row takes no space.
    virtual void SetVisible(int row, bool visible) = 0;
    // The row's value; while the row is being edited, the value being typed.
    virtual int GetValue(int row) const = 0;
    // Values outside 0..MaxValue are brought into it, as the row's editor would.
    virtual void SetValue(int row, int value) = 0;
};

// Plain Qt rows: a label (the header column, 114 pixels) and a spin box of 0..5000 per row, in
// a vertically scrolled area.
class TPlainDelayRowsView : public TDelayRowsView {
public:
    TPlainDelayRowsView();
    ~TPlainDelayRowsView() override;

    QWidget* Widget() override;
    void SetCaption(int row, const std::string& caption) override;
    void SetVisible(int row, bool visible) override;
    int GetValue(int row) const override;
    void SetValue(int row, int value) override;

    // For those who look at the rows from outside (tests, the dialog's layout).
    std::string Caption(int row) const;
    bool IsRowVisible(int row) const;
    QSpinBox* Editor(int row) const;
    QLabel* CaptionLabel(int row) const;

private:
    struct Row {
        QWidget* Line = nullptr;
        QLabel* Caption = nullptr;
        QSpinBox* Editor = nullptr;
    };
    QPointer<QScrollArea> Area;
    std::array<Row, RowCount> Rows;
    // The caption column is as wide as the widest caption given so far, so that the spin boxes
    // keep the rest of the narrow dialog beside the scroll bar.
    int CaptionWidth = 0;
};
