// Buttons, check boxes, radio buttons, labels and panels under real Qt mouse and key events.
#include "VclTestSupport.h"

#include "platform/vcl/EditBox.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

class VclButtonsTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 220);
        edit = new TEdit(form);
        edit->SetBounds(10, 10, 100, 24);
        edit->SetParent(form);
        ok = new TButton(form);
        ok->SetBounds(10, 150, 75, 25);
        ok->SetCaption("&OK");
        ok->Default = true;
        ok->ModalResult = mrOk;
        ok->SetParent(form);
        cancel = new TButton(form);
        cancel->SetBounds(100, 150, 75, 25);
        cancel->SetCaption("Cancel");
        cancel->Cancel = true;
        cancel->ModalResult = mrCancel;
        cancel->SetParent(form);
        ASSERT_TRUE(Activate(form));
        edit->SetFocus();
    }
    void TearDown() override { form->Free(); }
    void Click(TWinControl* c, int x = 5, int y = 5)
    {
        QTest::mouseClick(c->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
        Fixed().ticks += 1000; // never a double click
    }
    void Key(QWidget* w, Qt::Key key, const QString& text)
    {
        QTest::sendKeyEvent(QTest::Click, w, key, text, Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TButton* ok = nullptr;
    TButton* cancel = nullptr;
};

TEST_F(VclButtonsTest, EnterAndEscClickTheDefaultAndCancelButtons)
{
    int okClicks = 0;
    ok->OnClick = [&](rtl::TObject*) { ++okClicks; };
    Key(edit->Box()->Widget(), Qt::Key_Return, "\r");
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    form->SetModalResult(mrNone);
    Key(edit->Box()->Widget(), Qt::Key_Escape, "\x1b");
    EXPECT_EQ(form->ModalResult(), mrCancel);
    EXPECT_EQ(okClicks, 1);
    // A focused button is the one Enter clicks.
    form->SetModalResult(mrNone);
    cancel->SetFocus();
    Key(cancel->Peer(), Qt::Key_Return, "\r");
    EXPECT_EQ(form->ModalResult(), mrCancel);
    EXPECT_EQ(okClicks, 1);
}

TEST_F(VclButtonsTest, MouseAndSpaceClickAndFocus)
{
    int clicks = 0;
    cancel->OnClick = [&](rtl::TObject*) { ++clicks; };
    Click(cancel);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(cancel->Focused());
    Key(cancel->Peer(), Qt::Key_Space, " ");
    EXPECT_EQ(clicks, 2);
    // Released outside the button: no click.
    QTest::mousePress(cancel->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(cancel->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 5));
    EXPECT_EQ(clicks, 2);
}

TEST_F(VclButtonsTest, CheckBoxesCycleAndRadioButtonsExcludeEachOther)
{
    auto* check = new TCheckBox(form);
    check->SetBounds(10, 40, 100, 17);
    check->SetParent(form);
    int changes = 0;
    check->OnClick = [&](rtl::TObject*) { ++changes; };
    Click(check);
    EXPECT_TRUE(check->Checked());
    check->AllowGrayed = true;
    Click(check);
    EXPECT_EQ(check->State(), cbGrayed);
    Key(check->Peer(), Qt::Key_Space, " ");
    EXPECT_EQ(check->State(), cbUnchecked);
    check->SetChecked(true); // by code: still a click
    EXPECT_EQ(changes, 4);

    auto* r1 = new TRadioButton(form);
    r1->SetBounds(10, 70, 100, 17);
    r1->SetParent(form);
    auto* r2 = new TRadioButton(form);
    r2->SetBounds(10, 90, 100, 17);
    r2->SetParent(form);
    Click(r1);
    EXPECT_TRUE(r1->Checked());
    Click(r2);
    EXPECT_TRUE(r2->Checked());
    EXPECT_FALSE(r1->Checked());
}

TEST_F(VclButtonsTest, LabelSizesToItsCaptionAndPanelPaintsItsBevel)
{
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption("Name");
    const int w = label->Width();
    EXPECT_GT(w, 0);
    label->SetCaption("A longer name");
    EXPECT_GT(label->Width(), w);

    auto* panel = new TPanel(form);
    panel->SetBounds(150, 40, 100, 50);
    panel->SetParent(form);
    panel->Update();
    SpinUntil([] { return false; }, 20);
    const QImage& img = panel->Surface().Image();
    auto rgb = [&](int x, int y) { return img.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(0, 0), QColor(Qt::white).rgb() & 0xFFFFFF);         // highlight at the top left
    EXPECT_NE(rgb(99, 49), rgb(50, 25));                               // shadow at the bottom right
}

} // namespace
