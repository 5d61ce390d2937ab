// The currency editor: the number rule, null and empty texts, typed decimals and separators on
// the real field, and the value read from strings of any magnitude.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "toolkit/editors/cxCurrencyEdit.h"

using namespace cx;

namespace {

class CurrencyEditTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        TextFamilyTest::SetUp();
        cxCurrencyEditUnit::Initialize();
        edit = Place(new TcxCurrencyEdit(form), 10);
    }
    void TearDown() override
    {
        TextFamilyTest::TearDown();
        cxCurrencyEditUnit::Finalize();
    }
    TcxCurrencyEdit* edit = nullptr;
};

TEST(CurrencyNumberRule, AcceptsDoublesAndSeparatorsOnly)
{
    struct Case {
        std::string text;
        bool ok;
        double value;
    } cases[] = {
        {"1,234.5", true, 1234.5}, {"-2.5e3", true, -2500}, {"0", true, 0},  {",,,", true, 0},
        {"", true, 0},             {"abc", false, 0},       {"1.2.3", false, 0},
        {"1" + std::string(400, '0'), false, 0},   // beyond 1.7e308
        {"1e-400", false, 0},                       // below the smallest double
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(StrToFloatEx(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST_F(CurrencyEditTest, EmptyTextsAndNull)
{
    Variant v;
    edit->PrepareEditValue(Variant(std::string()), v, true);
    EXPECT_TRUE(v.IsNull());
    edit->Properties()->SetNullString("none");
    edit->PrepareEditValue(Variant(std::string("none")), v, true);
    EXPECT_TRUE(v.IsNull());
    edit->Properties()->SetNullable(false);
    edit->PrepareEditValue(Variant(std::string()), v, true);
    ASSERT_TRUE(VarIsNumeric(v));
    EXPECT_EQ(v.ToDouble(), 0.0);

    edit->Properties()->SetNullable(true);
    Variant shown;
    edit->Properties()->PrepareDisplayValue(Variant::MakeNull(), shown, false);
    EXPECT_EQ(VarToStr(shown), "none");
    edit->Properties()->PrepareDisplayValue(Variant::MakeNull(), shown, true);
    EXPECT_EQ(VarToStr(shown), "");
}

TEST_F(CurrencyEditTest, TheValueReadsStringsOfAnyMagnitude)
{
    // Strings too small or too large for a currency amount are still numbers.
    for (const char* text : {"0.00001", "1e15", "-3.25"}) {
        edit->SetEditValue(Variant(std::string(text)));
        EXPECT_DOUBLE_EQ(edit->Value(), std::stod(text)) << text;
    }
    edit->SetEditValue(Variant(std::string("junk")));
    EXPECT_EQ(edit->Value(), 0.0);

    // Writing keeps the value within defined bounds.
    edit->Properties()->SetMinValue(10);
    edit->Properties()->SetMaxValue(20);
    edit->SetValue(5);
    EXPECT_EQ(edit->Value(), 10.0);
    edit->SetValue(25);
    EXPECT_EQ(edit->Value(), 20.0);
}

TEST_F(CurrencyEditTest, TypingLimitsDecimalsAndMapsSeparators)
{
    edit->Properties()->SetDecimalPlaces(2);
    Focus(edit);
    struct Case {
        const char* before;
        const char* typed;
        bool grouping;
        const char* after;
    } cases[] = {
        {"1.25", "5", false, "1.25"},   // a third decimal is refused
        {"1.2", "5", false, "1.25"},
        {"1", ",", false, "1."},        // a comma types the decimal separator
        {"1234", ",", true, "1,234"},   // unless it is the thousand separator in use (regrouped)
        {"", "-", false, "-"},          // a minus sign starts a number
        {"12", "x", false, "12"},
    };
    for (const Case& c : cases) {
        edit->Properties()->SetUseThousandSeparator(c.grouping);
        edit->SetText(c.before);
        edit->SetSelection(int(std::string(c.before).size()), 0);
        Type(edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->Text(), c.after) << c.before << " + " << c.typed;
    }
}

TEST_F(CurrencyEditTest, AnInvalidTextFailsValidation)
{
    for (const char* text : {"12abc", "1e999"}) {
        Variant v{std::string(text)};
        std::string errorText;
        bool error = false;
        edit->Properties()->ValidateDisplayValue(v, errorText, error, edit);
        EXPECT_TRUE(error) << text;
    }
    Focus(edit);
    Type(edit, "12.5");
    EXPECT_TRUE(edit->ValidateEdit(false));
    EXPECT_EQ(edit->Value(), 12.5);
}

} // namespace
