// Editors driven the way a person drives them: real keys on the focused field, real focus moves
// between editors, and what the refused value, the accelerators and the hints do then.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "platform/rtl/Variant.h"

using namespace cx;

namespace {

class EditorsInHandTest : public TextFamilyTest {
protected:
    static bool HasFocus(TcxCustomTextEdit* e) { return e->InnerEdit()->GetControl()->Focused(); }
};

// A refused value keeps the focus on every try, not only on the first: each Tab validates
// again, and once the text is mended the focus leaves with the value stored.
TEST_F(EditorsInHandTest, EveryTabOutOfARefusedValueValidatesAgain)
{
    auto* edit = Place(new TcxTextEdit(form), 10);
    int validations = 0;
    edit->Properties()->OnValidate = [&](TObject*, Variant& value, std::string& errorText, bool& error) {
        ++validations;
        if (VarToStr(value) == "bad") {
            error = true;
            errorText = "数值无效";
        }
    };
    Focus(edit);
    Type(edit, "bad");
    for (int attempt = 1; attempt <= 3; ++attempt) {
        Key(edit, Qt::Key_Tab);
        SpinUntil([] { return false; }, 20);
        EXPECT_EQ(validations, attempt);
        EXPECT_TRUE(HasFocus(edit)) << "attempt " << attempt;
        EXPECT_FALSE(HasFocus(other));
        EXPECT_TRUE(edit->EditValue().IsNull());
    }
    EXPECT_EQ(shown.size(), 3u);

    Key(edit, Qt::Key_End);
    Key(edit, Qt::Key_Backspace);
    Key(edit, Qt::Key_Backspace);
    Key(edit, Qt::Key_Backspace);
    Type(edit, "ok");
    Key(edit, Qt::Key_Tab);
    EXPECT_TRUE(HasFocus(other));
    EXPECT_EQ(VarToStr(edit->EditValue()), "ok");
    EXPECT_EQ(validations, 4);
}

} // namespace
