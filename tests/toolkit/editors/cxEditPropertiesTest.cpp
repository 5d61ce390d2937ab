// Editor properties: batching of change notices, provider defaults against assigned values, the
// alignment object, Assign, validation and the formatting source.
#include "tests/toolkit/editors/EditSettingsTestSupport.h"

namespace {

using CxEditProperties = EditSettingsTest;

TEST_F(CxEditProperties, OneNoticePerOutermostUpdate)
{
    struct Case {
        const char* what;
        void (*run)(TcxCustomEditProperties&);
        int notices;
    } cases[] = {
        {"no update", [](TcxCustomEditProperties& p) { p.SetAutoSelect(false); p.SetBeepOnError(true); }, 2},
        {"one update",
         [](TcxCustomEditProperties& p) {
             p.BeginUpdate();
             p.SetAutoSelect(false);
             p.SetBeepOnError(true);
             p.EndUpdate();
         },
         1},
        {"nested",
         [](TcxCustomEditProperties& p) {
             p.BeginUpdate();
             p.BeginUpdate();
             p.SetImmediatePost(true);
             p.EndUpdate();
             p.SetClearKey(46);
             p.EndUpdate();
         },
         1},
        {"nothing changed",
         [](TcxCustomEditProperties& p) {
             p.BeginUpdate();
             p.SetAutoSelect(true);
             p.EndUpdate();
         },
         0},
        {"end without notice",
         [](TcxCustomEditProperties& p) {
             p.BeginUpdate();
             p.SetAutoSelect(false);
             p.EndUpdate(false);
         },
         0},
        {"locked, unlocking replays nothing",
         [](TcxCustomEditProperties& p) {
             p.LockUpdate(true);
             p.SetAutoSelect(false);
             p.LockUpdate(false);
         },
         0},
        {"unbalanced end",
         [](TcxCustomEditProperties& p) {
             p.EndUpdate();
             p.SetAutoSelect(false);
         },
         1},
        {"buttons and alignment always notify",
         [](TcxCustomEditProperties& p) {
             p.Buttons()->Add();
             p.Alignment()->SetVert(taVCenter);
         },
         2},
    };
    for (const Case& c : cases) {
        TcxCustomEditProperties p(nullptr);
        ChangeCounter counter(&p);
        c.run(p);
        EXPECT_EQ(counter.count, c.notices) << c.what;
    }
}

TEST_F(CxEditProperties, NoticeRunsWithIsChangingAndNotWhileTheOwnerDies)
{
    TcxCustomEditProperties p(nullptr);
    bool changing = false;
    p.OnPropertiesChanged = [&](TObject*) { changing = p.IsChanging(); };
    p.SetReadOnly(true);
    EXPECT_TRUE(changing);
    EXPECT_FALSE(p.IsChanging());

    TComponent owner(nullptr);
    TcxCustomEditProperties owned(&owner);
    ChangeCounter counter(&owned);
    owner.Destroying();
    owned.SetAutoSelect(false);
    EXPECT_EQ(counter.count, 0);
    EXPECT_TRUE(owned.IsChangePending());
}

TEST_F(CxEditProperties, ProviderDefaultsUnlessAssigned)
{
    TestProvider provider;
    TcxCustomEditProperties p(nullptr);
    EXPECT_EQ(p.GetMaxValue(), 0);
    EXPECT_FALSE(p.GetReadOnly());
    EXPECT_TRUE(p.CanModify());

    p.SetIDefaultValuesProvider(&provider);
    EXPECT_EQ(p.GetMaxValue(), 100);
    EXPECT_EQ(p.GetMinValue(), -5);
    provider.readOnly = true;
    EXPECT_TRUE(p.GetReadOnly());
    EXPECT_FALSE(p.CanModify());

    ChangeCounter counter(&p);
    p.SetMaxValue(100);   // equal to the provider's default, but not yet assigned
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(p.AssignedValues()->MaxValue());
    p.SetMaxValue(100);
    EXPECT_EQ(counter.count, 1);
    provider.maxValue = 7;
    EXPECT_EQ(p.GetMaxValue(), 100);

    p.FillMinMaxValues(100, 0);
    EXPECT_EQ(counter.count, 2);
    p.FillMinMaxValues(100, 0);
    EXPECT_EQ(counter.count, 2);
    EXPECT_EQ(p.GetMinValue(), 0);

    // ReadOnly assigned False wins over a provider that forbids modifying.
    provider.canModify = false;
    p.SetReadOnly(false);
    EXPECT_TRUE(p.CanModify());
    EXPECT_EQ(counter.count, 3);

    p.RestoreDefaults();
    EXPECT_EQ(counter.count, 4);   // three flags cleared, one notice
    EXPECT_FALSE(p.AssignedValues()->MaxValue() || p.AssignedValues()->MinValue() || p.AssignedValues()->ReadOnly());
    EXPECT_FALSE(p.CanModify());
    EXPECT_EQ(p.GetMaxValue(), 7);
}

TEST_F(CxEditProperties, AFreedProviderLeavesItsUsers)
{
    auto* provider = new TestProvider;
    TcxCustomEditProperties a(nullptr), b(nullptr);
    a.SetIDefaultValuesProvider(provider);
    b.SetIDefaultValuesProvider(provider);
    provider->Free();
    EXPECT_EQ(a.GetIDefaultValuesProvider(), nullptr);
    EXPECT_EQ(b.GetIDefaultValuesProvider(), nullptr);
    EXPECT_EQ(a.GetMaxValue(), 0);
}

TEST_F(CxEditProperties, SupportedOperationsFollowTheButtons)
{
    TcxCustomEditProperties p(nullptr);
    EXPECT_TRUE(p.GetSupportedOperations() == TcxEditSupportedOperations{});
    p.Buttons()->Add()->SetVisible(false);
    EXPECT_TRUE(p.GetSupportedOperations() == TcxEditSupportedOperations{esoHotTrack});
}

TEST_F(CxEditProperties, AlignmentShowsTheProviderDefaultUntilAssigned)
{
    TestProvider provider;
    TcxCustomEditProperties p(nullptr);
    p.SetIDefaultValuesProvider(&provider);
    EXPECT_EQ(p.Alignment()->Horz(), taRightJustify);
    EXPECT_FALSE(p.IsAlignmentStored());
    EXPECT_FALSE(p.Alignment()->IsHorzAssigned());

    ChangeCounter counter(&p);
    p.Alignment()->SetHorz(taCenter);
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(p.IsAlignmentStored());
    provider.alignment = taLeftJustify;
    EXPECT_EQ(p.Alignment()->Horz(), taCenter);

    // Setting the shown default explicitly still assigns it.
    TcxCustomEditProperties q(nullptr);
    q.SetIDefaultValuesProvider(&provider);
    q.Alignment()->SetHorz(taLeftJustify);
    EXPECT_TRUE(q.IsAlignmentStored());

    p.RestoreDefaults();
    EXPECT_FALSE(p.IsAlignmentStored());
    EXPECT_EQ(p.Alignment()->Horz(), taLeftJustify);
}

TEST_F(CxEditProperties, AssignCopiesSettingsAndEventsButNotTheOwnersHandlers)
{
    TcxCustomEditProperties source(nullptr), target(nullptr);
    int validated = 0;
    source.OnValidate = [&](TObject*, Variant&, std::string&, bool&) { ++validated; };
    source.OnPopupClosed = [](TcxControl*, TcxEditCloseUpReason) {};
    source.SetAutoSelect(false);
    source.SetClickKey(0);
    source.SetMinValue(0);
    source.Buttons()->Add()->SetCaption("x");
    source.Alignment()->SetHorz(taRightJustify);
    source.SetUseLeftAlignmentOnEditing(false);
    source.SetUseMouseWheel(false);

    target.SetMaxValue(5);   // assigned on the target only: the copy clears it
    ChangeCounter counter(&target);
    target.Assign(&source);
    EXPECT_EQ(counter.count, 1);
    EXPECT_FALSE(target.AutoSelect());
    EXPECT_EQ(target.ClickKey(), 0);
    EXPECT_TRUE(target.AssignedValues()->MinValue());
    EXPECT_FALSE(target.AssignedValues()->MaxValue());
    EXPECT_EQ(target.Buttons()->Count(), 1);
    EXPECT_EQ(target.Alignment()->Horz(), taRightJustify);
    EXPECT_TRUE(target.IsAlignmentStored());
    EXPECT_FALSE(target.UseLeftAlignmentOnEditing());
    EXPECT_FALSE(target.UseMouseWheel());
    EXPECT_TRUE(target.OnValidate.Assigned());
    EXPECT_FALSE(target.OnPopupClosed.Assigned());
    EXPECT_TRUE(target.OnPropertiesChanged.Assigned());   // still the counter's
}

TEST_F(CxEditProperties, PreviewPropertiesAreOfTheSameClassWithoutOwner)
{
    UniqueObject<TcxCustomEditProperties> p(TcxCustomEditPropertiesClass::Of<TcxTestEditProperties>().Create(nullptr));
    UniqueObject<TcxCustomEditProperties> preview(p->CreatePreviewProperties());
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(IsExactly<TcxTestEditProperties>(preview.get()));
    EXPECT_EQ(preview->Owner(), nullptr);
}

struct FakeEdit : IcxEditValidationTarget {
    bool IsOnValidateEventAssigned() override { return handler != nullptr; }
    void DoOnValidate(Variant& displayValue, std::string& errorText, bool& error) override
    {
        handler(displayValue, errorText, error);
    }
    Variant GetDisplayValue() override { return Variant(std::string("shown")); }
    std::function<void(Variant&, std::string&, bool&)> handler;
};

TEST_F(CxEditProperties, ValidationDefaultTextAndTheEditorsHandler)
{
    FakeEdit edit;
    TcxCustomEditProperties base(nullptr);
    Variant value(std::string("abc"));
    std::string text;
    bool error = true;
    base.ValidateDisplayValue(value, text, error, &edit);
    EXPECT_EQ(text, "");   // the base kind does not validate
    EXPECT_TRUE(error);

    TcxTestEditProperties p(nullptr);
    error = false;
    p.ValidateDisplayValue(value, text, error, &edit);
    EXPECT_EQ(text, "Invalid input value. Use escape key to abandon changes");

    // A replacement set by name reaches the next validation.
    TdxResourceStringsRepository* repository = dxResourceStringsRepository();
    TdxProductResourceStrings* product = repository->GetProducts(repository->GetProductIndexByName(cxEditProductKey));
    cxSetResourceString(product->GetResString(product->GetIndexByName("cxSEditValidateErrorText")), "Bad value");
    text.clear();
    p.ValidateDisplayValue(value, text, error, &edit);
    EXPECT_EQ(text, "Bad value");

    // An error without a corrected text brings back the editor's text; a corrected text stays.
    edit.handler = [](Variant&, std::string&, bool& e) { e = true; };
    value = Variant(std::string("typed"));
    p.ValidateDisplayValue(value, text, error, &edit);
    EXPECT_EQ(VarToStr(value), "shown");
    edit.handler = [](Variant& v, std::string&, bool& e) {
        v = Variant(std::string("Fixed"));
        e = true;
    };
    value = Variant(std::string("fixed"));
    p.ValidateDisplayValue(value, text, error, &edit);
    EXPECT_EQ(VarToStr(value), "Fixed");
    edit.handler = [](Variant&, std::string&, bool& e) { e = false; };
    value = Variant(std::string("typed"));
    error = false;
    p.ValidateDisplayValue(value, text, error, &edit);
    EXPECT_EQ(VarToStr(value), "typed");
}

class TcxFormattingTestProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxFormattingTestProperties, TcxCustomEditProperties)
    using TcxCustomEditProperties::TcxCustomEditProperties;
    TcxEditDisplayFormatOptions GetDisplayFormatOptions() const override { return options; }
    TcxDataEditValueSource GetEditValueSource(bool editFocused) override
    {
        return GetValueEditorEditValueSource(editFocused);
    }
    TcxEditDisplayFormatOptions options{dfoSupports};
};

TEST_F(CxEditProperties, FormattingSourceNeedsADisplayFormat)
{
    TestProvider provider;
    TcxFormattingTestProperties p(nullptr);
    EXPECT_EQ(p.GetValueEditorEditValueSource(false), evsValue);   // no provider
    p.SetIDefaultValuesProvider(&provider);
    EXPECT_EQ(p.GetValueEditorEditValueSource(false), evsValue);   // no format
    provider.displayFormat = true;
    EXPECT_EQ(p.GetValueEditorEditValueSource(false), evsText);
    EXPECT_EQ(p.GetValueEditorEditValueSource(true), evsValue);
    EXPECT_TRUE(p.IsValueEditorWithValueFormatting());
    provider.currencyOnly = true;   // a format only for currency values
    p.options = {dfoSupports, dfoNoCurrencyValue};
    EXPECT_EQ(p.GetValueEditorEditValueSource(false), evsValue);
    EXPECT_FALSE(p.IsValueEditorWithValueFormatting());
}

TEST_F(CxEditProperties, DisplayValuesCompareAfterPreparing)
{
    TcxCustomEditProperties p(nullptr);
    EXPECT_TRUE(p.CompareDisplayValues(Variant(std::string("a")), Variant(std::string("a"))));
    EXPECT_FALSE(p.CompareDisplayValues(Variant(std::string("a")), Variant(std::string("b"))));
    EXPECT_TRUE(p.CompareDisplayValues(Variant(3), Variant(3.0)));
    EXPECT_FALSE(p.CompareDisplayValues(Variant(3), Variant(std::string("three"))));   // no exception
}

TEST_F(CxEditProperties, LivePropertiesAreListed)
{
    TList* list = cxEditPropertiesList();
    ASSERT_NE(list, nullptr);
    int before = list->Count();
    auto* p = new TcxCustomEditProperties(nullptr);
    EXPECT_EQ(list->Count(), before + 1);
    p->Free();
    EXPECT_EQ(list->Count(), before);
}

} // namespace
