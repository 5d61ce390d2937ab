#pragma once
// What the delay-dialog tests need around the dialog: one application object, and a fake rows
// view that records what the dialog did to its rows.
#include "console/DelayRowsView.h"
#include "console/ToolkitUnitsEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <array>
#include <string>

namespace delay_test {

inline void EnsureApplication()
{
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "console_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

class FakeDelayRows : public TDelayRowsView {
public:
    FakeDelayRows() { Visible.fill(true); }
    ~FakeDelayRows() override
    {
        if (Host && !Host->parent())
            delete Host.data();
    }
    QWidget* Widget() override { return Host.data(); }
    void SetCaption(int row, const std::string& caption) override { Captions.at(row) = caption; }
    void SetVisible(int row, bool visible) override { Visible.at(row) = visible; }
    int GetValue(int row) const override { return Values.at(row); }
    void SetValue(int row, int value) override { Values.at(row) = value; }

    std::string Caption(int row) const { return Captions.at(row); }
    bool IsRowVisible(int row) const { return Visible.at(row); }

    std::array<std::string, RowCount> Captions;
    std::array<bool, RowCount> Visible;
    std::array<int, RowCount> Values{};

private:
    QPointer<QWidget> Host = new QWidget;
};

}  // namespace delay_test
