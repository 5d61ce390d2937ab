// The mask editor's settings: the effective mask, what counts as unmasked, compiling before
// storing, the rules tied to CharCase and MaxLength, display formatting without a control,
// registration and the filter helper.
#include "tests/toolkit/editors/EditSettingsTestSupport.h"

#include "platform/rtl/Unicode.h"
#include "toolkit/data/cxDataStorage.h"
#include "toolkit/editors/cxMaskEdit.h"

namespace {

class MaskProvider : public TestProvider {
    RTL_CLASS(MaskProvider, TestProvider)
    std::string DefaultEditMask() override { return mask; }
    std::string mask = "999;0;_";
};

class MaskPropertiesTest : public EditSettingsTest {
protected:
    void SetUp() override
    {
        EditSettingsTest::SetUp();
        cxMaskEditUnit::Initialize();
        p = std::make_unique<TcxMaskEditProperties>(nullptr);
    }
    void TearDown() override
    {
        p.reset();
        cxMaskEditUnit::Finalize();
        EditSettingsTest::TearDown();
    }
    std::string Display(const std::string& value, bool focused)
    {
        Variant shown;
        p->PrepareDisplayValue(Variant(value), shown, focused);
        return VarToStr(shown);
    }
    std::unique_ptr<TcxMaskEditProperties> p;
};

TEST_F(MaskPropertiesTest, BlankMasksAreUnmaskedAndTheDataSuppliesAStandardMask)
{
    EXPECT_TRUE(p->ValidateOnEnter());
    for (const char* blank : {"", " ", "\t \r\n\f"}) {
        p->SetEditMask(blank);
        EXPECT_FALSE(p->IsMasked()) << "[" << blank << "]";
        EXPECT_FALSE(p->CreateMode()) << "[" << blank << "]";
    }
    std::string withNul("  ");
    withNul[0] = '\0';
    p->SetEditMask(withNul);
    EXPECT_FALSE(p->IsMasked());

    MaskProvider provider;
    p->SetEditMask("");
    p->SetIDefaultValuesProvider(&provider);
    EXPECT_EQ(p->EditMask(), "999;0;_");
    EXPECT_TRUE(p->IsMasked());
    // An expression kind keeps its own (blank) mask: the data's positional mask does not apply.
    p->SetMaskKind(emkRegExpr);
    p->SetEditMask("  ");
    EXPECT_EQ(p->EditMask(), "  ");
    EXPECT_FALSE(p->IsMasked());
    p->SetIDefaultValuesProvider(nullptr);
}

TEST_F(MaskPropertiesTest, ABadExpressionRaisesAndKeepsTheOldMask)
{
    p->SetMaskKind(emkRegExpr);
    p->SetEditMask("\\d+");
    ChangeCounter changes(p.get());
    try {
        p->SetEditMask("a)(");
        FAIL() << "no error";
    } catch (const EcxMaskEditError& e) {
        const std::string text = e.Message;
        EXPECT_EQ(text.rfind("Regular expression errors:", 0), 0u) << text;
        EXPECT_NE(text.find("\r\n"), std::string::npos) << text;
    }
    EXPECT_EQ(p->EditMask(), "\\d+");
    EXPECT_EQ(changes.count, 0);
    // The same mask again is stored without a change notice.
    p->SetEditMask("\\d+");
    EXPECT_EQ(changes.count, 0);
    p->SetEditMask("\\d*");
    EXPECT_EQ(changes.count, 1);
}

TEST_F(MaskPropertiesTest, CharCaseAndMaxLengthRules)
{
    p->SetCharCase(ecUpperCase);
    p->SetCaseInsensitive(false);
    EXPECT_TRUE(p->CaseInsensitive());
    p->SetCharCase(ecNormal);
    p->SetCaseInsensitive(false);
    EXPECT_FALSE(p->CaseInsensitive());

    // Unmasked, MaxLength is the text editor's; masked, it goes back to 0.
    p->SetMaxLength(5);
    EXPECT_EQ(p->MaxLength(), 5);
    p->SetEditMask("00-00");
    p->SetMaxLength(7);
    EXPECT_EQ(p->MaxLength(), 0);
    // Display formats and lookup completion do not apply to a masked editor.
    p->SetLookupItems({"12-34"});
    EXPECT_FALSE(p->UseLookupData());
    EXPECT_TRUE(p->GetDisplayFormatOptions().Empty());
    p->SetEditMask("");
    EXPECT_TRUE(p->UseLookupData());
}

TEST_F(MaskPropertiesTest, DisplayValuesWithoutAControl)
{
    p->SetEditMask("00-00;0;_");
    EXPECT_EQ(Display("12", true), "12-__");
    // Unfocused, the blanks are not shown unless asked for.
    EXPECT_EQ(Display("12", false).find('_'), std::string::npos) << Display("12", false);
    p->SetAlwaysShowBlanksAndLiterals(true);
    EXPECT_EQ(Display("12", false), "12-__");
    // Changing the mask remakes the formatting mode.
    p->SetEditMask("000;0;*");
    EXPECT_EQ(Display("12", false), "12*");
    p->SetEditMask("");
    EXPECT_EQ(Display("12", false), "12");
}

TEST_F(MaskPropertiesTest, AssignCopiesTheEffectiveMask)
{
    TcxMaskEditProperties source(nullptr);
    MaskProvider provider;
    source.SetIDefaultValuesProvider(&provider);
    source.SetIgnoreMaskBlank(true);
    source.SetAlwaysShowBlanksAndLiterals(true);
    source.SetCaseInsensitive(false);
    p->Assign(&source);
    EXPECT_EQ(p->StoredEditMask(), "999;0;_");
    EXPECT_TRUE(p->IgnoreMaskBlank());
    EXPECT_TRUE(p->AlwaysShowBlanksAndLiterals());
    EXPECT_FALSE(p->CaseInsensitive());
    source.SetIDefaultValuesProvider(nullptr);
}

TEST_F(MaskPropertiesTest, RegisteredWithAFilterHelperThatOffersLikeOnlyUnmasked)
{
    EXPECT_TRUE(bool(FindRegisteredEditPropertiesClass("TcxMaskEditProperties")));
    EXPECT_EQ(std::string(p->GetContainerClass()->ClassName()), "TcxMaskEdit");
    TcxCustomFilterEditHelperClass helper =
        FilterEditsController()->FindHelper(TcxCustomEditPropertiesClass::Of<TcxMaskEditProperties>().Meta());
    ASSERT_EQ(helper, TcxCustomFilterEditHelper::Of<TcxFilterMaskEditHelper>());
    TcxValueTypeClass text = TcxStringValueType::Class();
    TcxFilterControlOperators ops = helper->GetSupportedFilterOperators(p.get(), text);
    EXPECT_TRUE(ops.Contains(fcoLike));
    EXPECT_FALSE(ops.Contains(fcoBetween));
    EXPECT_TRUE(helper->GetSupportedFilterOperators(p.get(), text, true).Contains(fcoInList));
    p->SetEditMask("000");
    EXPECT_FALSE(helper->GetSupportedFilterOperators(p.get(), text).Contains(fcoLike));

    // The filter editor completes expressions and selects on entry only when unmasked.
    p->SetMaskKind(emkRegExpr);
    p->SetEditMask("[0-9]+");
    TcxMaskEditProperties filter(nullptr);
    helper->InitializeProperties(&filter, p.get(), false);
    EXPECT_EQ(filter.MaskKind(), emkRegExprEx);
    EXPECT_FALSE(filter.AutoSelect());
    p->SetEditMask("");
    helper->InitializeProperties(&filter, p.get(), false);
    EXPECT_TRUE(filter.AutoSelect());
}

} // namespace
