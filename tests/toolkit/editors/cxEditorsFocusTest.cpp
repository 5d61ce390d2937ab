// Tab and Shift+Tab move the focus between the drop-down and memo editors on a form,
// through real keys on the focused field.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "toolkit/editors/cxCalcEdit.h"
#include "toolkit/controls/cxContainerPopup.h"
#include "toolkit/editors/cxDateEdit.h"
#include "toolkit/editors/cxMemo.h"

using namespace cx;

namespace {

class EditorsFocusTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        TextFamilyTest::SetUp();
        cxMemoUnit::Initialize();
        cxDropDownEditUnit::Initialize();
        cxCalcEditUnit::Initialize();
        cxDateEditUnit::Initialize();
    }
    void TearDown() override
    {
        TextFamilyTest::TearDown();
        EXPECT_EQ(cxPopupWindowCount(), 0);
        cxDateEditUnit::Finalize();
        cxCalcEditUnit::Finalize();
        cxDropDownEditUnit::Finalize();
        cxMemoUnit::Finalize();
    }
    static bool HasFocus(TcxCustomTextEdit* e) { return e->InnerEdit()->GetControl()->Focused(); }
};

TEST_F(EditorsFocusTest, TabWalksTheEditorsAlsoAfterACalendarClosed)
{
    auto* date = Place(new TcxDateEdit(form), 10);
    auto* calc = Place(new TcxCalcEdit(form), 40);
    auto* memo = Place(new TcxMemo(form), 70, 60);
    Focus(date);
    Key(date, Qt::Key_Tab);
    EXPECT_TRUE(HasFocus(calc));
    Key(calc, Qt::Key_Tab);
    EXPECT_TRUE(HasFocus(memo));
    Key(memo, Qt::Key_Tab);
    EXPECT_EQ(memo->Text(), "");   // the memo does not want tabs
    Focus(calc);
    Key(calc, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(HasFocus(date));

    // Esc closes an open calendar and the focus is back in the date field, not on the calendar.
    Key(date, Qt::Key_F4);
    SpinUntil([&] { return date->DroppedDown(); }, 500);
    ASSERT_TRUE(date->DroppedDown());
    QTest::keyClick(date->Calendar()->Peer(), Qt::Key_Escape);
    vcl::DrainPostedMessages();
    SpinUntil([&] { return !date->DroppedDown(); }, 500);
    EXPECT_FALSE(date->DroppedDown());
    EXPECT_TRUE(HasFocus(date));
    Key(date, Qt::Key_Tab);
    EXPECT_TRUE(HasFocus(calc));
}

} // namespace
