#pragma once
// The rows of the delay dialog: 50 rows, each a caption and one whole number of milliseconds.
// The dialog sees only this interface; tests put a fake in the grid's place.
#include "platform/vcl/ControlHost.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <string>

namespace cx {
class TcxEditorRow;
class TcxVerticalGrid;
}

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
    // The row's stored value; text typed into an open editor counts once it is posted.
    virtual int GetValue(int row) const = 0;
    // Values outside 0..MaxValue are brought into it, as the row's editor would.
    virtual void SetValue(int row, int value) = 0;
    // Ends an edit still open in the rows, keeping what was typed; false when the typed text is
    // refused (the edit stays open and the operator was told why).
    virtual bool PostEdit() { return true; }
};

// The rows on the toolkit's vertical grid, as the dialog declares them: one grid
// `cxVerticalGridNow` with a vertical scroll bar only and a header column of 114 pixels, holding
// 50 top-level editor rows `cxVerticalGridNowEditorRow1` .. `50`, each an integer of 0..5000
// edited by the spin editor (steps of 1), 0 at the start. The grid sits in a Qt host widget.
class TGridDelayRowsView : public TDelayRowsView {
public:
    static constexpr int RowHeaderWidth = 114;

    TGridDelayRowsView();
    ~TGridDelayRowsView() override;

    QWidget* Widget() override;
    void SetCaption(int row, const std::string& caption) override;
    void SetVisible(int row, bool visible) override;
    int GetValue(int row) const override;
    void SetValue(int row, int value) override;
    bool PostEdit() override;

    // For those who look at the rows from outside (tests, the dialog's layout).
    std::string Caption(int row) const;
    bool IsRowVisible(int row) const;
    cx::TcxVerticalGrid* Grid() const { return grid_; }
    cx::TcxEditorRow* Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    vcl::TControlHost* Host() const { return host_.data(); }

private:
    QPointer<vcl::TControlHost> host_;
    cx::TcxVerticalGrid* grid_ = nullptr;
    std::array<cx::TcxEditorRow*, RowCount> rows_{};
};
