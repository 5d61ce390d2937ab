// Forms that end by a plain delete (a smart pointer, a container, an owner written in Qt style)
// instead of Free: shown, active, holding the focus, with children owned or only parented.
#include "VclTestSupport.h"

#include "platform/vcl/StdCtrls.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class VclFormLifetimeTest : public ::testing::Test, public VclFixture {
protected:
    ~VclFormLifetimeTest() override
    {
        if (other)
            other->Free();
    }
    // The form that stays: shown with an edit of its own.
    void ShowOther()
    {
        other = new TForm(nullptr);
        other->SetBounds(10, 10, 200, 120);
        otherEdit = new TEdit(other);
        otherEdit->SetParent(other);
        otherEdit->SetBounds(10, 10, 100, 24);
        ASSERT_TRUE(Activate(other));
        otherEdit->SetFocus();
        ASSERT_EQ(GetFocus(), otherEdit->Handle());
    }
    // A shown, active form whose owned edit has the focus, with a control it only parents.
    TForm* ShowDoomed()
    {
        auto* form = new TForm(nullptr);
        form->SetBounds(250, 10, 200, 120);
        auto* edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 100, 24);
        loose = std::make_unique<ProbeControl>(nullptr, "loose");
        loose->SetParent(form);
        loose->SetBounds(10, 50, 40, 20);
        EXPECT_TRUE(Activate(form));
        edit->SetFocus();
        EXPECT_EQ(GetFocus(), edit->Handle());
        QTest::keyClicks(edit->Peer(), "ab");
        EXPECT_EQ(edit->Text(), "ab");
        return form;
    }
    TForm* other = nullptr;
    TEdit* otherEdit = nullptr;
    std::unique_ptr<ProbeControl> loose;
};

// The deleted form hides and leaves the screen before its window goes; the activation and the
// focus move to the form that stays, which goes on taking keys. Free hands them on alike.
TEST_F(VclFormLifetimeTest, EndingTheActiveFormMovesActivationAndFocusOn)
{
    ShowOther();
    for (const bool plainDelete : {true, false}) {
        SCOPED_TRACE(plainDelete ? "delete" : "Free");
        TForm* doomed = ShowDoomed();
        ASSERT_EQ(Screen->ActiveForm(), doomed);
        const HWND handle = doomed->Handle();
        QPointer<QWidget> peer = doomed->Peer();
        const int forms = Screen->FormCount();
        if (plainDelete)
            delete doomed;
        else
            doomed->Free();
        EXPECT_EQ(Screen->FormCount(), forms - 1);
        EXPECT_FALSE(vcl::IsWindow(handle));
        EXPECT_FALSE(vcl::PostMessage(handle, WM_USER));
        EXPECT_EQ(loose->Parent(), nullptr);
        EXPECT_FALSE(loose->HandleAllocated());
        ASSERT_TRUE(SpinUntil([&] { return peer.isNull(); }));
        EXPECT_TRUE(SpinUntil([&] { return Screen->ActiveForm() == other && other->Active(); }));
        EXPECT_EQ(GetFocus(), otherEdit->Handle());
        otherEdit->SetText("");
        QTest::keyClicks(otherEdit->Peer(), "xy");
        EXPECT_EQ(otherEdit->Text(), "xy");
    }
}

// Deleted while its window is still to be shown, while hidden again, or as the only window: the
// screen keeps no pointer to it and nothing is left to activate.
TEST_F(VclFormLifetimeTest, DeletingAShownFormAloneOrHiddenAgainIsSafe)
{
    for (const bool hideFirst : {false, true}) {
        TForm* doomed = ShowDoomed();
        if (hideFirst)
            doomed->Hide();
        delete doomed;
        EXPECT_EQ(Screen->ActiveForm(), nullptr) << hideFirst;
        for (int i = 0; i < Screen->FormCount(); ++i)
            EXPECT_NE(Screen->Forms(i), doomed);
        EXPECT_EQ(GetFocus(), nullptr) << hideFirst;
        SpinUntil([] { return false; }, 20);
    }
}

// A form deleted while it is not the active one leaves the active form and its focus alone.
TEST_F(VclFormLifetimeTest, DeletingAnInactiveShownFormKeepsTheActiveOne)
{
    TForm* doomed = ShowDoomed();
    ShowOther();
    ASSERT_EQ(Screen->ActiveForm(), other);
    delete doomed;
    EXPECT_EQ(Screen->ActiveForm(), other);
    EXPECT_EQ(GetFocus(), otherEdit->Handle());
    SpinUntil([] { return false; }, 20);
    EXPECT_TRUE(other->Active());
    QTest::keyClicks(otherEdit->Peer(), "q");
    EXPECT_EQ(otherEdit->Text(), "q");
}

// A shown form owned by another component goes with its owner's Free, and a form deleted inside
// its own handler (a button's click) is gone once the handler returns.
TEST_F(VclFormLifetimeTest, DeletingAFormFromItsOwnClickIsSafe)
{
    ShowOther();
    auto* form = new TForm(nullptr);
    form->SetBounds(250, 10, 200, 120);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 24);
    button->OnClick = [form](rtl::TObject*) { delete form; };
    ASSERT_TRUE(Activate(form));
    QPointer<QWidget> peer = button->Peer();
    QTest::mouseClick(peer, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(SpinUntil([&] { return peer.isNull(); }));
    for (int i = 0; i < Screen->FormCount(); ++i)
        EXPECT_NE(Screen->Forms(i), form);
    EXPECT_TRUE(SpinUntil([&] { return Screen->ActiveForm() == other; }));
}

} // namespace

namespace {

// A modal form deleted from its own button: ShowModal ends with mrCancel, the forms it disabled
// take input again and the activation goes back to the form that stays.
TEST_F(VclFormLifetimeTest, DeletingAModalFormEndsItsModalLoop)
{
    ShowOther();
    auto* form = new TForm(nullptr);
    form->SetBounds(250, 10, 200, 120);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 24);
    button->OnClick = [form](rtl::TObject*) { delete form; };
    QTimer::singleShot(0, [&] {
        SpinUntil([&] { return !other->Enabled(); });
        QTest::mouseClick(button->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    });
    QTimer::singleShot(3000, [&] {
        if (Application->ModalLevel() > 0)
            form->SetModalResult(mrAbort);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(other->Enabled());
    EXPECT_TRUE(SpinUntil([&] { return Screen->ActiveForm() == other && other->Active(); }));
    QTest::keyClicks(otherEdit->Peer(), "m");
    EXPECT_EQ(otherEdit->Text(), "m");
}

} // namespace
