// The delay dialog's spin rows in a vertical grid, offscreen: the grid makes the spin editor from
// the properties' class name and the keys, wheel and typed text go through its real field.
#include "tests/toolkit/grid/VGridTestSupport.h"

#include "platform/vcl/EditBox.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxSpinEdit.h"

#include <QInputMethodEvent>
#include <QTest>
#include <QWheelEvent>

namespace {

using namespace vgtest;

class SpinRowTest : public VGridTest {
protected:
    void SetUp() override
    {
        VGridTest::SetUp();
        cxSpinEditUnit::Initialize();
    }
    void TearDown() override
    {
        // Only the registrations go; the grid frees its editors with the form.
        cxSpinEditUnit::Finalize();
        VGridTest::TearDown();
    }
    TcxEditorRow* SpinRow(const std::string& valueType)
    {
        TcxEditorRow* row = AddEditor("Delay", valueType);
        row->Properties()->SetEditPropertiesClassName("TcxSpinEditProperties");
        auto* p = dynamic_cast<TcxSpinEditProperties*>(row->Properties()->EditProperties());
        EXPECT_NE(p, nullptr);
        if (p) {
            p->SetMinValue(0);
            p->SetMaxValue(5000);
            p->SetLargeIncrement(1);
        }
        return row;
    }
    // Opens the row's editor and answers it.
    TcxSpinEdit* Open(TcxEditorRow* row)
    {
        grid->SetFocus();
        grid->SetFocusedRow(row);
        grid->ShowEdit();
        vcl::DrainPostedMessages();
        return dynamic_cast<TcxSpinEdit*>(grid->Controller()->EditingController()->InplaceEditor());
    }
    QWidget* Field(TcxSpinEdit* e) { return e->InnerTextEditControl()->Box()->Widget(); }
    void Key(TcxSpinEdit* e, Qt::Key key, const QString& text = {})
    {
        QTest::sendKeyEvent(QTest::Click, Field(e), key, text, Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    void Type(TcxSpinEdit* e, const QString& s)
    {
        for (QChar c : s)
            Key(e, Qt::Key(c.toUpper().unicode()), QString(c));
    }
    std::string Value(TcxEditorRow* row) { return VarToStr(row->Properties()->Value()); }
};

TEST_F(SpinRowTest, TheDelayRowStepsClampsAndRefusesLikeTheDialog)
{
    TcxEditorRow* row = SpinRow("Integer");
    row->Properties()->SetValue(Variant(4999));
    Show(300, 200);
    ASSERT_TRUE(Activate(form));

    TcxSpinEdit* e = Open(row);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->ActiveProperties()->GetValueType(), vtInt);
    Key(e, Qt::Key_PageUp);
    EXPECT_EQ(e->Text(), "5000");
    Key(e, Qt::Key_Return, "\r");
    EXPECT_EQ(Value(row), "5000");

    // At 0, PgDn stays; a wheel notch adds 1.
    row->Properties()->SetValue(Variant(0));
    e = Open(row);
    ASSERT_NE(e, nullptr);
    Key(e, Qt::Key_PageDown);
    EXPECT_EQ(e->Text(), "0");
    QWheelEvent wheel(QPointF(3, 3), QPointF(Field(e)->mapToGlobal(QPoint(3, 3))), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // A wheel sent by code does not climb from the line edit to its window; it goes to the
    // field's window, as the system delivers it.
    QCoreApplication::sendEvent(e->InnerTextEditControl()->Peer(), &wheel);
    vcl::DrainPostedMessages();
    EXPECT_EQ(e->Text(), "1");

    // A letter and a committed ideograph beep and change nothing.
    const int beeps = Fixed().beeps;
    Type(e, "x");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("五"));
    QCoreApplication::sendEvent(Field(e), &commit);
    vcl::DrainPostedMessages();
    EXPECT_EQ(e->Text(), "1");
    EXPECT_EQ(Fixed().beeps, beeps + 2);

    Key(e, Qt::Key_Escape);

    // What Enter stores of a typed text: above the maximum, the maximum; signs and exponents
    // make no number of this row and are refused as typed, so no text is left that could fail;
    // digits past the 64-bit range are clamped like 7000.
    const std::pair<const char*, const char*> typedCases[] = {
        {"7000", "5000"}, {"5-+eE", "5"}, {"99999999999999999999", "5000"}};
    for (const auto& [typed, stored] : typedCases) {
        e = Open(row);
        ASSERT_NE(e, nullptr);
        e->SelectAll();
        Type(e, typed);
        shown.clear();
        Key(e, Qt::Key_Return, "\r");
        EXPECT_TRUE(shown.empty()) << typed;
        EXPECT_EQ(Value(row), stored) << typed;
    }
}

TEST_F(SpinRowTest, AStringRowHoldingANumberStepsFromIt)
{
    TcxEditorRow* row = SpinRow("String");
    row->Properties()->SetValue(Variant(std::string("300")));
    Show(300, 200);
    ASSERT_TRUE(Activate(form));
    TcxSpinEdit* e = Open(row);
    ASSERT_NE(e, nullptr);
    Key(e, Qt::Key_Up);
    EXPECT_EQ(e->Text(), "301");
    Key(e, Qt::Key_Return, "\r");
    EXPECT_EQ(Value(row), "301");
}

} // namespace
