// Items of an editing control: value-type registry, properties in effect, values through the data
// controller, attachment and renumbering, the update lock and the options.
#include "tests/toolkit/grid/InplaceTestSupport.h"

namespace {

TEST_F(InplaceTest, ValueTypeRegistryNamesTheSevenTypesOnceEach)
{
    TcxValueTypeClassRepository* r = cxieValueTypeClassRepository();
    ASSERT_NE(r, nullptr);
    const std::pair<const char*, TcxValueTypeClass> expected[] = {
        {"Boolean", TcxBooleanValueType::Class()},   {"String", TcxStringValueType::Class()},
        {"Integer", TcxIntegerValueType::Class()},   {"Currency", TcxCurrencyValueType::Class()},
        {"Float", TcxFloatValueType::Class()},       {"DateTime", TcxDateTimeValueType::Class()},
        {"Variant", TcxVariantValueType::Class()},
    };
    ASSERT_EQ(r->Count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(r->Descriptions(i), expected[i].first);
        EXPECT_EQ(r->Items(i), expected[i].second);
    }
    EXPECT_EQ(r->FindByDescription("integer"), TcxIntegerValueType::Class());
    EXPECT_EQ(r->FindByDescription("Nothing"), nullptr);
    // A second registration under another name keeps the first.
    cxieRegisterValueTypeClass("Whole", TcxIntegerValueType::Class());
    EXPECT_EQ(r->FindByClassType(TcxIntegerValueType::Class()), "Integer");
    EXPECT_EQ(r->FindByDescription("Whole"), nullptr);
    cxieUnRegisterValueTypeClass(TcxVariantValueType::Class());
    EXPECT_EQ(r->FindByClassType(TcxVariantValueType::Class()), "");
    // A nested start-up does not build a second registry; shut-down frees it once.
    cxInplaceContainerUnit::Initialize();
    EXPECT_EQ(cxieValueTypeClassRepository(), r);
    cxInplaceContainerUnit::Finalize();
    EXPECT_EQ(cxieValueTypeClassRepository(), r);
}

TEST_F(InplaceTest, RemovingTheMiddleItemRenumbersTheRestAndTheDataFields)
{
    TcxTestItem* a = control->AddItem("Integer");
    TcxTestItem* b = control->AddItem("String");
    TcxTestItem* c = control->AddItem("Boolean");
    EXPECT_EQ(a->DataItemIndex(), 0);
    EXPECT_EQ(b->DataItemIndex(), 1);
    EXPECT_EQ(c->DataItemIndex(), 2);
    b->Free();
    ASSERT_EQ(control->ItemCount(), 2);
    EXPECT_EQ(a->DataItemIndex(), 0);
    EXPECT_EQ(c->DataItemIndex(), 1);
    TcxControlDataController* dc = control->DataController();
    ASSERT_EQ(dc->GetItemCount(), 2);
    EXPECT_EQ(dc->GetItem(0), a);
    EXPECT_EQ(dc->GetItem(1), c);
    EXPECT_EQ(dc->GetItemValueTypeClass(0), TcxIntegerValueType::Class());
    EXPECT_EQ(dc->GetItemValueTypeClass(1), TcxBooleanValueType::Class());
    EXPECT_EQ(dc->GetItemID(c), 1);
    EXPECT_EQ(dc->GetItemID(form), -1);
}

TEST_F(InplaceTest, ValuesGoThroughTheDataControllerByRecordAndField)
{
    TcxTestItem* a = control->AddItem("Integer");
    TcxTestItem* b = control->AddItem("String");
    TcxControlDataController* dc = control->DataController();
    dc->SetRecordCount(2);
    a->SetValue(1, 42);
    b->SetValue(0, Variant(std::string("电表")));
    EXPECT_EQ(dc->GetValue(1, 0), Variant(42));
    EXPECT_EQ(b->GetValue(0), Variant(std::string("电表")));
    EXPECT_EQ(a->GetValueCount(), 2);
    dc->ChangeFocusedRecordIndex(1);
    EXPECT_EQ(a->GetCurrentValue(), Variant(42));
    a->SetCurrentValue(7);
    EXPECT_EQ(dc->GetValue(1, 0), Variant(7));
    // Display value: the value itself for properties that edit values.
    EXPECT_EQ(a->GetDisplayValue(a->GetPropertiesValue(), 1), Variant(7));
    // Not being edited: no edit value, and writing one does nothing.
    EXPECT_TRUE(a->GetEditValue().IsEmpty());
    a->SetEditValue(99);
    EXPECT_EQ(dc->GetValue(1, 0), Variant(7));
    // A detached item has no values: reading or writing one raises the toolkit's error (it
    // dereferenced a missing data controller), and it can not start editing.
    TcxTestItem loose(nullptr);
    EXPECT_EQ(loose.GetValueCount(), 0);
    EXPECT_THROW(loose.GetValue(0), EcxInvalidDataControllerOperation);
    EXPECT_THROW(loose.SetValue(0, 1), EcxInvalidDataControllerOperation);
    EXPECT_THROW(loose.GetCurrentValue(), EcxInvalidDataControllerOperation);
    EXPECT_THROW(loose.SetCurrentValue(1), EcxInvalidDataControllerOperation);
    EXPECT_THROW(loose.GetDisplayValue(nullptr, 0), EcxInvalidDataControllerOperation);
    EXPECT_TRUE(loose.GetEditValue().IsEmpty());
    loose.SetEditValue(1);
    EXPECT_FALSE(loose.CanInitEditing());
}

// Properties in effect that no one listened to take the item's hook; when they are shared (a value
// type's default) the hook leaves them with the item or when the item moves on to other
// properties, so their next notice calls no freed item and no item that stopped using them.
TEST_F(InplaceTest, AnItemUnhooksSharedPropertiesWhenItGoesOrMovesOn)
{
    TcxEditDataRegisteredRepositoryItems* defaults = GetDefaultEditDataRepositoryItems();
    TcxCustomEditProperties* intDefault = defaults->GetItem(TcxIntegerValueType::Class())->Properties();
    TcxCustomEditProperties* boolDefault = defaults->GetItem(TcxBooleanValueType::Class())->Properties();
    const auto repositoryHook = intDefault->OnPropertiesChanged;
    intDefault->OnPropertiesChanged = nullptr;   // nobody listens: the first item that shows them hooks them
    TcxTestItem* a = control->AddItem("Integer");
    ASSERT_EQ(a->PropertiesValue(), intDefault);
    EXPECT_TRUE(intDefault->OnPropertiesChanged.Assigned());
    a->Free();
    EXPECT_FALSE(intDefault->OnPropertiesChanged.Assigned());
    intDefault->Changed();   // once called the freed item

    TcxTestItem* b = control->AddItem("Integer");
    EXPECT_TRUE(intDefault->OnPropertiesChanged.Assigned());
    static_cast<TcxItemDataBinding*>(b->DataBinding())->SetValueType("Boolean");
    EXPECT_EQ(b->PropertiesValue(), boolDefault);
    EXPECT_FALSE(intDefault->OnPropertiesChanged.Assigned());
    // A handler someone else set stays.
    int heard = 0;
    intDefault->OnPropertiesChanged = [&](TObject*) { ++heard; };
    static_cast<TcxItemDataBinding*>(b->DataBinding())->SetValueType("Integer");
    static_cast<TcxItemDataBinding*>(b->DataBinding())->SetValueType("Boolean");
    intDefault->Changed();
    EXPECT_EQ(heard, 1);
    intDefault->OnPropertiesChanged = repositoryHook;
}

TEST_F(InplaceTest, PropertiesInEffectFollowRepositoryItemOwnPropertiesThenValueTypeDefault)
{
    TcxTestItem* item = control->AddItem("Boolean");
    TcxEditDataRegisteredRepositoryItems* defaults = GetDefaultEditDataRepositoryItems();
    TcxCustomEditProperties* boolDefault = defaults->GetItem(TcxBooleanValueType::Class())->Properties();
    TcxCustomEditProperties* textDefault = defaults->GetItem(TcxStringValueType::Class())->Properties();
    ASSERT_NE(boolDefault, textDefault);
    EXPECT_EQ(item->PropertiesValue(), boolDefault);
    // The binding's provider is set on the properties in effect.
    EXPECT_EQ(item->GetPropertiesValue()->GetIDefaultValuesProvider(), item->DataBinding()->GetDefaultValuesProvider());

    ASSERT_NE(item->SharedViewData(), nullptr);
    EXPECT_EQ(item->SharedViewData()->Properties(), boolDefault);
    EXPECT_TRUE(item->SharedViewData()->IsInplace());
    static_cast<TcxItemDataBinding*>(item->DataBinding())->SetValueType("String");
    EXPECT_EQ(item->PropertiesValue(), textDefault);
    ASSERT_NE(item->SharedViewData(), nullptr);
    EXPECT_EQ(item->SharedViewData()->Properties(), textDefault);
    EXPECT_EQ(control->DataController()->GetItemValueTypeClass(0), TcxStringValueType::Class());

    item->SetPropertiesClassName("TcxTestInplaceProperties");
    TcxCustomEditProperties* own = item->Properties();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(item->PropertiesValue(), own);
    EXPECT_EQ(item->PropertiesClassName(), "TcxTestInplaceProperties");
    own->SetReadOnly(true);
    item->SetPropertiesClassName("TcxTestInplaceProperties");   // the same name keeps the object
    EXPECT_EQ(item->Properties(), own);
    EXPECT_TRUE(own->GetReadOnly());

    auto* repoItem = GetDefaultEditRepository()->CreateItem(
        TcxEditRepositoryItemClass::Of<TcxEditRepositoryTextItem>());
    item->SetRepositoryItem(repoItem);
    EXPECT_EQ(item->PropertiesValue(), repoItem->Properties());
    EXPECT_EQ(repoItem->ListenerCount(), 1);
    repoItem->Free();   // the item hears of it and falls back to its own properties
    EXPECT_EQ(item->RepositoryItem(), nullptr);
    EXPECT_EQ(item->PropertiesValue(), own);

    // An unregistered name leaves no own properties: the value type's default applies again.
    item->SetPropertiesClassName("TcxNoSuchProperties");
    EXPECT_EQ(item->Properties(), nullptr);
    EXPECT_EQ(item->PropertiesClassName(), "");
    EXPECT_EQ(item->PropertiesValue(), textDefault);
}

TEST_F(InplaceTest, ValueTypeStreamsAsItsDescriptionExceptAnExplicitString)
{
    TcxTestItem* item = control->AddItem();
    auto* binding = static_cast<TcxItemDataBinding*>(item->DataBinding());
    EXPECT_EQ(binding->ValueType(), "String");
    EXPECT_TRUE(binding->IsValueTypeStored());   // never set: written as "String"
    binding->SetValueTypeClass(TcxIntegerValueType::Class());
    EXPECT_EQ(binding->ValueType(), "Integer");
    binding->SetValueType("NoSuchType");   // unknown: unchanged
    EXPECT_EQ(binding->ValueType(), "Integer");
    binding->SetValueType("string");
    EXPECT_EQ(binding->ValueTypeClass(), TcxStringValueType::Class());
    EXPECT_FALSE(binding->IsValueTypeStored());

    TcxTestItem* copy = control->AddItem();
    binding->SetValueType("Float");
    item->SetPropertiesClassName("TcxTestInplaceProperties");
    item->Properties()->SetReadOnly(true);
    copy->Assign(item);
    EXPECT_EQ(static_cast<TcxItemDataBinding*>(copy->DataBinding())->ValueType(), "Float");
    ASSERT_NE(copy->Properties(), nullptr);
    EXPECT_NE(copy->Properties(), item->Properties());
    EXPECT_TRUE(copy->Properties()->GetReadOnly());
}

TEST_F(InplaceTest, EditingNeedsRecordsAndEveryEditingSwitch)
{
    TcxTestItem* item = control->AddItem("Integer");
    control->OptionsData()->SetEditing(true);
    EXPECT_FALSE(item->CanEdit());   // no records
    control->DataController()->SetRecordCount(1);
    EXPECT_TRUE(item->CanEdit());
    item->Options()->SetFocusing(false);
    EXPECT_FALSE(item->CanEdit());
    item->Options()->SetFocusing(true);
    item->Options()->SetEditing(false);
    EXPECT_FALSE(item->CanEdit());
    item->Options()->SetEditing(true);
    control->OptionsData()->SetEditing(false);
    EXPECT_FALSE(item->CanEdit());
}

TEST_F(InplaceTest, EditingDoesNotStartWhereNoCellShowsTheItem)
{
    TcxTestItem* a = control->AddItem("Integer");
    control->DataController()->SetRecordCount(1);
    std::vector<TcxCustomInplaceEditContainer*> asked;
    control->OnItemEditing = [&](TObject*, TcxCustomInplaceEditContainer* item, bool&) { asked.push_back(item); };
    a->SetEditing(true);   // the base control lays out no cells: no editor, no editing
    EXPECT_EQ(asked, (std::vector<TcxCustomInplaceEditContainer*>{a}));
    EXPECT_FALSE(a->GetEditing());
    EXPECT_TRUE(a->Focused());
    EXPECT_TRUE(a->GetEditValue().IsEmpty());
}

TEST_F(InplaceTest, UpdateLockGivesOneLayoutAndCancelGivesNone)
{
    form->Show();
    ASSERT_TRUE(control->HandleAllocated());
    control->LayoutChanged();
    const int before = control->Layouts();
    control->BeginUpdate();
    control->AddItem("Integer");
    control->AddItem("String");
    control->OptionsView()->SetCellEndEllipsis(true);
    EXPECT_EQ(control->Layouts(), before);
    control->EndUpdate();
    EXPECT_EQ(control->Layouts(), before + 1);
    control->BeginUpdate();
    control->AddItem("Float");
    control->CancelUpdate();
    EXPECT_EQ(control->Layouts(), before + 1);
    EXPECT_TRUE(control->ViewInfo()->IsDirty);
}

TEST_F(InplaceTest, OptionDefaultsAndTheTabKey)
{
    TcxControlOptionsBehavior* behavior = control->OptionsBehavior();
    EXPECT_TRUE(behavior->ImmediateEditor());
    EXPECT_FALSE(behavior->AlwaysShowEditor());
    EXPECT_TRUE(control->OptionsData()->CancelOnExit);
    EXPECT_EQ(control->OptionsView()->ShowEditButtons(), ecsbNever);
    EXPECT_EQ(control->Keys(), (TcxKeys{kArrows, kChars}));
    behavior->SetGoToNextCellOnTab(true);
    EXPECT_TRUE(control->Keys().Contains(kTab));
    behavior->SetGoToNextCellOnTab(false);
    EXPECT_FALSE(control->Keys().Contains(kTab));
    control->OptionsView()->SetScrollBars(ssVertical);
    EXPECT_EQ(control->ScrollBars(), ssVertical);

    TcxTestItem* item = control->AddItem();
    TcxCustomEditContainerItemOptions* o = item->Options();
    EXPECT_TRUE(o->Editing() && o->Filtering() && o->Focusing() && o->IncSearch() && o->TabStop);
    EXPECT_EQ(o->ShowEditButtons(), eisbDefault);
    TcxCustomEditContainerItemOptions copy(nullptr);
    o->TabStop = false;
    o->SetShowEditButtons(eisbAlways);
    o->Moving = false;
    copy.Assign(o);
    EXPECT_FALSE(copy.TabStop);
    EXPECT_FALSE(copy.Moving);
    EXPECT_EQ(copy.ShowEditButtons(), eisbAlways);
}

} // namespace
