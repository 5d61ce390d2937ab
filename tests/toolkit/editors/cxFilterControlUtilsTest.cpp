// The filter builder's operators, the helper base, the helper registry and the value check.
#include "tests/toolkit/editors/EditSettingsTestSupport.h"
#include "toolkit/data/cxFilterConsts.h"
#include "toolkit/editors/cxCalcEdit.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxCurrencyEdit.h"
#include "toolkit/editors/cxFilterControlUtils.h"
#include "toolkit/editors/cxImageComboBox.h"
#include "toolkit/editors/cxRadioGroup.h"
#include "toolkit/editors/cxSpinEdit.h"

namespace {

// A properties family shaped like the spin and time editors': each published class derives from
// a custom class, and the time family derives from the spin one.
class TcxTestCustomSpinProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxTestCustomSpinProperties, TcxCustomEditProperties)
    using TcxCustomEditProperties::TcxCustomEditProperties;
};
class TcxTestSpinProperties : public TcxTestCustomSpinProperties {
    RTL_CLASS(TcxTestSpinProperties, TcxTestCustomSpinProperties)
    using TcxTestCustomSpinProperties::TcxTestCustomSpinProperties;
};
class TcxTestSpinDescendantProperties : public TcxTestSpinProperties {
    RTL_CLASS(TcxTestSpinDescendantProperties, TcxTestSpinProperties)
    using TcxTestSpinProperties::TcxTestSpinProperties;
};
class TcxTestCustomTimeProperties : public TcxTestSpinProperties {
    RTL_CLASS(TcxTestCustomTimeProperties, TcxTestSpinProperties)
    using TcxTestSpinProperties::TcxTestSpinProperties;
};
class TcxTestTimeProperties : public TcxTestCustomTimeProperties {
    RTL_CLASS(TcxTestTimeProperties, TcxTestCustomTimeProperties)
    using TcxTestCustomTimeProperties::TcxTestCustomTimeProperties;
};

class TcxTestSpinHelper : public TcxCustomFilterEditHelper {
    RTL_CLASS(TcxTestSpinHelper, TcxCustomFilterEditHelper)
};
class TcxTestTimeHelper : public TcxTestSpinHelper {
    RTL_CLASS(TcxTestTimeHelper, TcxTestSpinHelper)
};
class TcxRaisingHelper : public TcxCustomFilterEditHelper {
    RTL_CLASS(TcxRaisingHelper, TcxCustomFilterEditHelper)
    bool IsValueValid(TcxValueTypeClass, Variant&) const override { throw EConvertError("not a number"); }
};
class TcxNoProviderHelper : public TcxCustomFilterEditHelper {
    RTL_CLASS(TcxNoProviderHelper, TcxCustomFilterEditHelper)
    bool IsIDefaultValuesProviderNeeded(TcxCustomEditProperties*) const override { return false; }
};

const TClassMeta* MetaOf(const TClassMeta& m) { return &m; }

class FilterControlUtilsTest : public EditSettingsTest {
protected:
    void SetUp() override
    {
        EditSettingsTest::SetUp();
        cxFilterConstsUnit::Initialize();
    }
    void TearDown() override
    {
        cxFilterConstsUnit::Finalize();
        EditSettingsTest::TearDown();
    }
};

TEST_F(FilterControlUtilsTest, OperatorsBecomeFilterKindsAndBack)
{
    const struct {
        TcxFilterControlOperator op;
        TcxFilterOperatorKind kind;
        const char* text;
    } table[] = {
        {fcoNone, foEqual, ""},
        {fcoEqual, foEqual, "equals"},
        {fcoNotLike, foNotLike, "not like"},
        {fcoBlanks, foEqual, "is blank"},
        {fcoNonBlanks, foNotEqual, "is not blank"},
        {fcoBetween, foBetween, "between"},
        {fcoNotInList, foNotInList, "not in"},
        {fcoYesterday, foYesterday, "is yesterday"},
        {fcoInPast, foInPast, "is past"},
        {fcoThisWeek, foThisWeek, "is this week"},
        {fcoInFuture, foInFuture, "is future"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(GetFilterOperatorKind(row.op), row.kind);
        EXPECT_EQ(GetFilterControlOperatorText(row.op), row.text);
    }
    // Every kind comes back to its own operator; Null turns equality into the blank tests.
    for (int k = foEqual; k <= foInFuture; ++k) {
        TcxFilterControlOperator op = GetFilterControlOperator(TcxFilterOperatorKind(k), false);
        EXPECT_NE(op, fcoNone);
        EXPECT_EQ(GetFilterOperatorKind(op), k);
    }
    EXPECT_EQ(GetFilterControlOperator(foEqual, true), fcoBlanks);
    EXPECT_EQ(GetFilterControlOperator(foNotEqual, true), fcoNonBlanks);
    EXPECT_EQ(GetFilterControlOperator(foLess, true), fcoLess);
    // A translation applies at the next call.
    cxSetResourceString(&cxSFilterOperatorBetween, "介于");
    EXPECT_EQ(GetFilterControlOperatorText(fcoBetween), "介于");
}

TEST_F(FilterControlUtilsTest, SupportedOperatorsOfTheBaseHelper)
{
    auto range = [](std::initializer_list<std::pair<int, int>> spans) {
        TcxFilterControlOperators s;
        for (auto [from, to] : spans)
            for (int i = from; i <= to; ++i)
                s.Include(TcxFilterControlOperator(i));
        return s;
    };
    TcxCustomFilterEditHelperClass h = TcxCustomFilterEditHelper::Class();
    EXPECT_EQ(h->GetSupportedFilterOperators(nullptr, TcxStringValueType::Class(), true), range({{1, 14}}));
    EXPECT_EQ(h->GetSupportedFilterOperators(nullptr, TcxIntegerValueType::Class(), true), range({{1, 6}, {9, 14}}));
    EXPECT_EQ(h->GetSupportedFilterOperators(nullptr, nullptr, true), range({{1, 6}, {9, 14}}));
    EXPECT_EQ(h->GetSupportedFilterOperators(nullptr, TcxStringValueType::Class(), false), range({{1, 10}}));
}

// The editor kinds' helpers answer the same set whatever value type and properties they are given.
TEST_F(FilterControlUtilsTest, EditorKindHelpersOfferTheirOperatorSets)
{
    const TcxFilterControlOperators numeric{fcoEqual,   fcoNotEqual,     fcoLess,   fcoLessEqual,
                                            fcoGreater, fcoGreaterEqual, fcoBlanks, fcoNonBlanks};
    const TcxFilterControlOperators ranges{fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};
    const TcxFilterControlOperators list{fcoEqual, fcoNotEqual, fcoBlanks, fcoNonBlanks};
    const TcxFilterControlOperators lists{fcoInList, fcoNotInList};
    struct Row {
        const char* kind;
        TcxCustomFilterEditHelperClass helper;
        TcxFilterControlOperators plain, extended;
    };
    const Row rows[] = {
        {"spin", TcxCustomFilterEditHelper::Of<TcxFilterSpinEditHelper>(), numeric, numeric + ranges},
        {"currency", TcxCustomFilterEditHelper::Of<TcxFilterCurrencyEditHelper>(), numeric, numeric + ranges},
        {"calculator", TcxCustomFilterEditHelper::Of<TcxFilterCalcEditHelper>(), numeric, numeric + ranges},
        {"image combo", TcxCustomFilterEditHelper::Of<TcxFilterImageComboBoxHelper>(), list, list + lists},
        {"radio group", TcxCustomFilterEditHelper::Of<TcxFilterRadioGroupHelper>(), list, list + lists},
        {"check box", TcxCustomFilterEditHelper::Of<TcxFilterCheckBoxHelper>(), list, list},
    };
    for (const Row& row : rows)
        for (TcxValueTypeClass type : {TcxValueTypeClass(nullptr), TcxStringValueType::Class(),
                                       TcxIntegerValueType::Class()}) {
            SCOPED_TRACE(row.kind);
            EXPECT_EQ(row.helper->GetSupportedFilterOperators(nullptr, type, false), row.plain);
            EXPECT_EQ(row.helper->GetSupportedFilterOperators(nullptr, type, true), row.extended);
        }
}

TEST_F(FilterControlUtilsTest, HelpersAreFoundForTheNearestRegisteredAncestor)
{
    TcxCustomFilterEditHelperClass spin = TcxCustomFilterEditHelper::Of<TcxTestSpinHelper>();
    TcxCustomFilterEditHelperClass time = TcxCustomFilterEditHelper::Of<TcxTestTimeHelper>();
    TcxFilterEditsController* registry = FilterEditsController();
    registry->Register(MetaOf(TcxTestSpinProperties::StaticClass()), spin);
    registry->Register(MetaOf(TcxTestTimeProperties::StaticClass()), time);
    EXPECT_EQ(registry->FindHelper(MetaOf(TcxTestSpinProperties::StaticClass())), spin);
    EXPECT_EQ(registry->FindHelper(MetaOf(TcxTestSpinDescendantProperties::StaticClass())), spin);
    EXPECT_EQ(registry->FindHelper(MetaOf(TcxTestTimeProperties::StaticClass())), time);
    EXPECT_EQ(registry->FindHelper(MetaOf(TcxCustomEditProperties::StaticClass())), nullptr);
    EXPECT_EQ(registry->FindHelper(nullptr), nullptr);

    registry->Unregister(MetaOf(TcxTestTimeProperties::StaticClass()), time);
    EXPECT_EQ(FilterEditsController(), registry);
    EXPECT_EQ(registry->FindHelper(MetaOf(TcxTestTimeProperties::StaticClass())), spin);
    registry->Unregister(MetaOf(TcxTestSpinProperties::StaticClass()), spin);   // the last pair: freed
    TcxFilterEditsController* fresh = FilterEditsController();
    EXPECT_EQ(fresh->Count(), 0);
    EXPECT_EQ(fresh->FindHelper(MetaOf(TcxTestSpinProperties::StaticClass())), nullptr);
}

TEST_F(FilterControlUtilsTest, ValueCheckNullsEmptyTextsAndReportsInvalidValues)
{
    TcxCustomFilterEditHelperClass h = TcxCustomFilterEditHelper::Class();
    Variant v{std::string()};
    FilterControlValidateValue(nullptr, v, fcoEqual, TcxIntegerValueType::Class(), h);
    EXPECT_TRUE(v.IsNull());
    v = Variant(std::string());
    FilterControlValidateValue(nullptr, v, fcoEqual, TcxStringValueType::Class(), h);
    EXPECT_TRUE(VarIsStr(v));
    v = Variant(std::string("12"));
    FilterControlValidateValue(nullptr, v, fcoGreater, TcxIntegerValueType::Class(), h);

    v = Variant(std::string("abc"));
    try {
        FilterControlValidateValue(nullptr, v, fcoEqual, TcxIntegerValueType::Class(), h);
        FAIL() << "letters passed as an integer";
    } catch (const EcxFilterControlError& e) {
        EXPECT_EQ(e.Message, "Invalid value");
    }
    // Like patterns and a missing value type are never checked.
    v = Variant(std::string("%5"));
    FilterControlValidateValue(nullptr, v, fcoLike, TcxIntegerValueType::Class(), h);
    v = Variant(std::string("abc"));
    FilterControlValidateValue(nullptr, v, fcoEqual, nullptr, h);
    // A check that raises is reported as the invalid value, not as its own error.
    v = Variant(std::string("1"));
    EXPECT_THROW(FilterControlValidateValue(nullptr, v, fcoEqual, TcxIntegerValueType::Class(),
                                            TcxCustomFilterEditHelper::Of<TcxRaisingHelper>()),
                 EcxFilterControlError);
}

TEST_F(FilterControlUtilsTest, ValueEditorPropertiesAreACleanedCopyOfTheHosts)
{
    TcxTestEditProperties host(nullptr);
    host.Alignment()->SetHorz(taRightJustify);
    host.Alignment()->SetVert(taBottomJustify);
    host.SetBeepOnError(true);
    host.SetReadOnly(true);
    host.SetMaxValue(50);
    host.Buttons()->Add();
    host.OnChange = [](TObject*) {};
    host.OnValidate = [](TObject*, Variant&, std::string&, bool&) {};
    TestProvider provider;
    host.SetIDefaultValuesProvider(&provider);

    for (bool hasButtons : {false, true}) {
        TcxTestEditProperties p(nullptr);
        TcxCustomFilterEditHelper::Class()->InitializeProperties(&p, &host, hasButtons);
        EXPECT_EQ(p.GetMaxValue(), 50);
        EXPECT_EQ(p.Alignment()->Horz(), taLeftJustify);
        EXPECT_EQ(p.Alignment()->Vert(), taTopJustify);
        EXPECT_FALSE(p.BeepOnError());
        EXPECT_FALSE(p.GetReadOnly());
        EXPECT_TRUE(p.ValidateOnEnter());
        EXPECT_EQ(p.Buttons()->Count(), hasButtons ? 1 : 0);
        EXPECT_FALSE(p.OnChange);
        EXPECT_FALSE(p.OnValidate);
    }
    TcxTestEditProperties p(nullptr);
    p.SetIDefaultValuesProvider(&provider);
    TcxCustomFilterEditHelper::Of<TcxNoProviderHelper>()->InitializeProperties(&p, &host, false);
    EXPECT_EQ(p.GetIDefaultValuesProvider(), nullptr);
}

TEST_F(FilterControlUtilsTest, DialogsTakeTheActiveFormAsParentUnlessAFormStaysOnTop)
{
    TForm* form = new TForm(nullptr);
    form->Show();
    form->SetFocus();
    SpinUntil([] { return Screen->ActiveForm() != nullptr; }, 500);
    TCustomForm* active = Screen->ActiveForm();
    ASSERT_EQ(active, form);
    TCreateParams params;
    CorrectDlgParams(params);
    EXPECT_EQ(params.WndParent, form->Handle());
    TForm* topmost = new TForm(nullptr);
    topmost->FormStyle = fsStayOnTop;
    TCreateParams untouched;
    CorrectDlgParams(untouched);
    EXPECT_EQ(untouched.WndParent, nullptr);
    topmost->Free();
    form->Free();
}

} // namespace
