// A control of ours inside a plain Qt dialog: Qt's focus and ours follow each other, keys the
// control leaves go back to Qt, and the dialog's activation is the host form's.
#include "VclTestSupport.h"
#include "platform/vcl/ControlHost.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class ControlHostTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        dialog = new QDialog;
        auto* layout = new QVBoxLayout(dialog);
        before = new QLineEdit(dialog);
        host = new vcl::TControlHost(dialog);
        after = new QCheckBox(QStringLiteral("after"), dialog);
        ok = new QPushButton(QStringLiteral("ok"), dialog);
        ok->setDefault(true);
        layout->addWidget(before);
        layout->addWidget(host, 1);
        layout->addWidget(after);
        layout->addWidget(ok);
        QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
        control = new ProbeControl(host->Form(), "control");
        // As the toolkit's controls do: a press focuses the control.
        control->OnMessage = [this](TMessage& m) {
            if (m.Msg == WM_LBUTTONDOWN)
                control->SetFocus();
        };
        host->SetControl(control);
        dialog->resize(200, 200);
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        ASSERT_TRUE(SpinUntil([this] { return dialog->isActiveWindow(); }));
        ASSERT_TRUE(SpinUntil([this] { return host->Form()->Active(); }));
        before->setFocus();
        SpinUntil([] { return false; }, 20);
        TheRecorder().Take();
    }
    void TearDown() override { delete dialog; }

    static void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), mods);
        SpinUntil([] { return false; }, 10);
    }
    bool LayerFocused() const { return ::GetFocus() == control->Handle(); }
    bool QtFocusInHost() const { return host->isAncestorOf(QApplication::focusWidget()); }

    QDialog* dialog = nullptr;
    QLineEdit* before = nullptr;
    vcl::TControlHost* host = nullptr;
    QCheckBox* after = nullptr;
    QPushButton* ok = nullptr;
    ProbeControl* control = nullptr;
};

std::vector<Recorded> FocusNotices(std::vector<Recorded> log)
{
    std::erase_if(log, [](const Recorded& r) {
        return r.msg != WM_SETFOCUS && r.msg != WM_KILLFOCUS && r.msg != CM_ENTER && r.msg != CM_EXIT;
    });
    return log;
}

TEST_F(ControlHostTest, TabEntersAndLeavesThroughQtsChain)
{
    EXPECT_FALSE(LayerFocused());
    Key(Qt::Key_Tab);
    EXPECT_TRUE(LayerFocused());
    EXPECT_TRUE(QtFocusInHost());
    EXPECT_EQ(FocusNotices(TheRecorder().Take()),
              (std::vector<Recorded>{{"control", WM_SETFOCUS}, {"control", CM_ENTER}}));

    // The control does not want Tab: Qt's chain goes on after the host.
    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    EXPECT_EQ(::GetFocus(), nullptr);
    EXPECT_EQ(FocusNotices(TheRecorder().Take()),
              (std::vector<Recorded>{{"control", WM_KILLFOCUS}, {"control", CM_EXIT}}));

    // Backwards: into the control, then past the host to the widget before it.
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(LayerFocused());
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
    EXPECT_FALSE(LayerFocused());
}

TEST_F(ControlHostTest, AClickFocusesTheControlAndAClickOutsideLeavesIt)
{
    QTest::mouseClick(control->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    SpinUntil([] { return false; }, 10);
    EXPECT_TRUE(LayerFocused());
    EXPECT_TRUE(QtFocusInHost());
    TheRecorder().Take();

    QTest::mouseClick(before, Qt::LeftButton);
    SpinUntil([] { return false; }, 10);
    EXPECT_EQ(QApplication::focusWidget(), before);
    EXPECT_EQ(FocusNotices(TheRecorder().Take()),
              (std::vector<Recorded>{{"control", WM_KILLFOCUS}, {"control", CM_EXIT}}));
}

TEST_F(ControlHostTest, EnterAndEscapeTheControlLeavesReachTheDialog)
{
    Key(Qt::Key_Tab);
    ASSERT_TRUE(LayerFocused());
    Key(Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    dialog->setResult(0);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(SpinUntil([this] { return host->Form()->Active(); }));
    control->SetFocus();
    Key(Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ControlHostTest, TheDialogsActivationIsTheForms)
{
    EXPECT_TRUE(host->Form()->Active());
    control->SetFocus();
    TheRecorder().Take();
    // Another window taking the focus deactivates the form: the focus goes, no exit notices.
    QLineEdit other;
    other.show();
    QApplication::setActiveWindow(&other);
    other.setFocus();
    ASSERT_TRUE(SpinUntil([this] { return !host->Form()->Active(); }));
    EXPECT_EQ(FocusNotices(TheRecorder().Take()), (std::vector<Recorded>{{"control", WM_KILLFOCUS}}));
    EXPECT_FALSE(LayerFocused());

    // Coming back with Qt's focus on a widget outside the host leaves it there.
    before->setFocus();
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(SpinUntil([this] { return host->Form()->Active(); }));
    EXPECT_EQ(QApplication::focusWidget(), before);
    EXPECT_FALSE(LayerFocused());
}

TEST_F(ControlHostTest, TheControlFillsTheHostAndDiesWithIt)
{
    EXPECT_EQ(control->Width(), host->width());
    EXPECT_EQ(control->Height(), host->height());
    host->resize(150, 90);
    EXPECT_EQ(control->Width(), 150);
    EXPECT_EQ(control->Height(), 90);

    const auto alive = control->AliveToken();
    control->SetFocus();
    delete host;
    host = nullptr;
    EXPECT_TRUE(alive.expired() || !*alive.lock());
    EXPECT_EQ(::GetFocus(), nullptr);
}

} // namespace
