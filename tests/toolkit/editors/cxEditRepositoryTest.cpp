// Repository items and repositories, the registries of properties classes and of repository
// items, the editor texts, the unit routines, and start-up followed by shut-down.
#include "tests/toolkit/editors/EditSettingsTestSupport.h"
#include "toolkit/data/cxFilterConsts.h"
#include "toolkit/editors/cxEditDataRegisteredRepositoryItems.h"
#include "toolkit/editors/cxEditRepositoryItems.h"

namespace {

using CxEditRepository = EditSettingsTest;

// Records the order it is told in, and can act like an editor: drop the item when it goes.
struct Listener : IcxEditRepositoryItemListener {
    Listener(std::string name, std::vector<std::string>* log) : name(std::move(name)), log(log) {}
    void ItemRemoved(TcxEditRepositoryItem* sender) override
    {
        log->push_back(name + " removed");
        if (item == sender) {
            item->RemoveListener(this);
            item = nullptr;
        }
    }
    void PropertiesChanged(TcxEditRepositoryItem*) override { log->push_back(name + " changed"); }
    void Use(TcxEditRepositoryItem* value)
    {
        item = value;
        item->AddListener(this);
    }
    std::string name;
    std::vector<std::string>* log;
    TcxEditRepositoryItem* item = nullptr;
};

TEST_F(CxEditRepository, ListenersAreToldLastRegisteredFirstAndOnlyOnce)
{
    std::vector<std::string> log;
    Listener a("a", &log), b("b", &log);
    auto* item = new TcxEditRepositoryItem(nullptr);
    item->AddListener(&a);
    item->AddListener(&b);
    item->AddListener(&a);
    EXPECT_EQ(item->ListenerCount(), 2);
    item->Properties()->SetReadOnly(true);
    EXPECT_EQ(log, (std::vector<std::string>{"b changed", "a changed"}));
    item->RemoveListener(&a);
    EXPECT_EQ(item->ListenerCount(), 1);
    item->RemoveListener(&b);
    item->Free();
}

TEST_F(CxEditRepository, DestroyingAnItemDetachesEveryUser)
{
    std::vector<std::string> log;
    Listener first("first", &log), second("second", &log), watcher("watcher", &log);
    TcxEditRepository repository(nullptr);
    TcxEditRepositoryItem* item = repository.CreateItem(TcxEditRepositoryItemClass::Of<TcxEditRepositoryItem>());
    first.Use(item);
    second.Use(item);
    item->AddListener(&watcher);
    EXPECT_EQ(repository.Count(), 1);
    item->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"watcher removed", "second removed", "first removed"}));
    EXPECT_EQ(first.item, nullptr);
    EXPECT_EQ(second.item, nullptr);
    EXPECT_EQ(repository.Count(), 0);
}

TEST_F(CxEditRepository, ItemsKeepTheirPropertiesAndAcceptCompatibleClasses)
{
    TcxEditRepository repository(nullptr);
    TcxEditRepositoryItem* item = repository.CreateItem(TcxEditRepositoryItemClass::Of<TcxEditRepositorySpinItem>());
    EXPECT_EQ(item->Owner(), &repository);
    EXPECT_TRUE(item->HasParent());
    EXPECT_EQ(item->GetParentComponent(), &repository);
    EXPECT_TRUE(item->ArePropertiesCompatible(TcxCustomEditProperties::StaticClass()));
    EXPECT_FALSE(item->ArePropertiesCompatible(TcxTestEditProperties::StaticClass()));
    EXPECT_EQ(item->Properties()->Owner(), item);

    TcxCustomEditProperties source(nullptr);
    source.SetImmediatePost(true);
    item->SetProperties(&source);
    EXPECT_TRUE(item->Properties()->ImmediatePost());

    // An editor's properties take the item's place only when they fit.
    TcxCustomEditProperties own(nullptr);
    TcxCustomEditProperties* old = item->Properties();
    EXPECT_TRUE(NeedAssignRepositoryItem(&own, item, old));
    EXPECT_EQ(old, &own);
    TcxTestEditProperties other(nullptr);
    old = item->Properties();
    EXPECT_FALSE(NeedAssignRepositoryItem(&other, item, old));
    EXPECT_FALSE(NeedAssignRepositoryItem(&own, nullptr, old));
}

TEST_F(CxEditRepository, NamesAndBaseNames)
{
    TComponent form(nullptr);
    auto* repository = new TcxEditRepository(&form);
    repository->SetName("Repo");
    TcxEditRepositoryItem* spin = repository->CreateItemEx(TcxEditRepositoryItemClass::Of<TcxEditRepositorySpinItem>(), &form);
    TcxEditRepositoryItem* plain = repository->CreateItem(TcxEditRepositoryItemClass::Of<TcxEditRepositoryItem>());
    spin->SetName("SpinOne");
    EXPECT_EQ(repository->ItemByName("spinone"), spin);
    EXPECT_EQ(repository->ItemByName("none"), nullptr);
    EXPECT_EQ(spin->GetBaseName(), "RepoSpinItem");
    EXPECT_EQ(plain->GetBaseName(), "RepoItem");

    class TcxOddItem : public TcxEditRepositoryItem {
        RTL_CLASS(TcxOddItem, TcxEditRepositoryItem)
        using TcxEditRepositoryItem::TcxEditRepositoryItem;
    };
    TcxOddItem odd(nullptr);
    odd.SetRepository(repository);
    EXPECT_EQ(odd.GetBaseName(), "Repo");

    std::vector<TComponent*> children;
    repository->GetChildren([&](TComponent* c) { children.push_back(c); }, &form);
    EXPECT_EQ(children, (std::vector<TComponent*>{spin}));
    odd.SetRepository(nullptr);
    EXPECT_EQ(repository->Count(), 2);

    // The repository frees its items, also those another component owns.
    repository->Free();
    EXPECT_EQ(form.FindComponent("SpinOne"), nullptr);
}

// ---- registered repository items -----------------------------------------------------------------

struct RegistryFixture {
    RegistryFixture()
    {
        for (auto*& item : items)
            item = repository.CreateItem(TcxEditRepositoryItemClass::Of<TcxEditRepositoryItem>());
    }
    TcxEditRepository repository{nullptr};
    TcxEditRegisteredRepositoryItems registry{nullptr};
    TcxEditRepositoryItem* items[4] = {};
};

TEST_F(CxEditRepository, RegisteredItemsByDataTypeAndVersion)
{
    RegistryFixture f;
    auto& r = f.registry;
    EXPECT_EQ(r.GetItem(5), nullptr);   // no entry, no default

    r.RegisterItem(5, 1, f.items[0]);
    r.RegisterItem(5, 3, f.items[1]);
    r.RegisterItem(2, 7, f.items[2]);
    r.RegisterItem(9, 0, f.items[3]);
    EXPECT_EQ(r.GetItem(5), f.items[1]);
    EXPECT_EQ(r.GetItem(2), f.items[2]);
    EXPECT_EQ(r.GetItem(4), nullptr);

    // Sorted by data type, then version.
    std::vector<std::pair<NativeInt, int>> keys;
    for (const auto& e : r.Items())
        keys.emplace_back(e.DataType, e.Version);
    EXPECT_EQ(keys, (std::vector<std::pair<NativeInt, int>>{{2, 7}, {5, 1}, {5, 3}, {9, 0}}));

    // A second item under an existing key changes nothing.
    int index = -1;
    EXPECT_TRUE(TcxEditRegisteredRepositoryItems::Find(r.Items(), 5, 3, false, index));
    EXPECT_EQ(index, 2);
    r.RegisterItem(5, 3, f.items[3]);
    EXPECT_EQ(r.Count(), 4);
    EXPECT_EQ(r.GetItem(5), f.items[1]);

    EXPECT_EQ(TcxEditRegisteredRepositoryItems::FindItemWithMaxVersion(r.Items(), 5), 2);
    EXPECT_EQ(TcxEditRegisteredRepositoryItems::FindItemWithMaxVersion(r.Items(), 6), -1);
    EXPECT_FALSE(TcxEditRegisteredRepositoryItems::FindIndexForInsertion(r.Items(), 5, 2, index));
    EXPECT_EQ(index, 2);

    r.UnregisterItem(5, 3);
    EXPECT_EQ(r.GetItem(5), f.items[0]);
    r.UnregisterItem(5, 8);   // not registered: ignored
    EXPECT_EQ(r.Count(), 3);

    // Defaults: the lowest version answers for every data type without an entry.
    r.RegisterDefaultItem(4, f.items[3]);
    r.RegisterDefaultItem(-1, f.items[2]);
    EXPECT_EQ(r.GetItem(6), f.items[2]);
    EXPECT_EQ(r.GetItem(5), f.items[0]);
    r.UnregisterDefaultItem(-1);
    EXPECT_EQ(r.GetDefaultItem(), f.items[3]);
}

TEST_F(CxEditRepository, ADestroyedItemLeavesEveryEntry)
{
    RegistryFixture f;
    auto& r = f.registry;
    r.RegisterItem(1, 0, f.items[0]);
    r.RegisterItem(2, 0, f.items[0]);
    r.RegisterItem(3, 0, f.items[1]);
    r.RegisterDefaultItem(0, f.items[0]);
    // Dropping one entry of an item keeps the registry listening for the others.
    r.UnregisterItem(2, 0);
    EXPECT_EQ(f.items[0]->ListenerCount(), 1);

    f.items[0]->Free();
    EXPECT_EQ(r.Count(), 1);
    EXPECT_EQ(r.DefaultCount(), 0);
    EXPECT_EQ(r.GetItem(1), nullptr);
    EXPECT_EQ(r.GetItem(3), f.items[1]);

    r.UnregisterItem(3, 0);
    EXPECT_EQ(f.items[1]->ListenerCount(), 0);
}

// ---- properties registry ------------------------------------------------------------------------

TEST_F(CxEditRepository, PropertiesClassesAreFoundByClassName)
{
    TcxRegisteredClasses* registered = GetRegisteredEditProperties();
    EXPECT_EQ(registered, GetRegisteredEditProperties());
    EXPECT_TRUE(registered->Sorted());
    EXPECT_FALSE(FindRegisteredEditPropertiesClass("TcxTestEditProperties"));

    registered->Register(TcxCustomEditPropertiesClass::Of<TcxTestEditProperties>().Meta(), "TestEdit|A stand-in editor");
    TcxCustomEditPropertiesClass cls = FindRegisteredEditPropertiesClass("TcxTestEditProperties");
    ASSERT_TRUE(cls);
    UniqueObject<TcxCustomEditProperties> p(cls.Create(nullptr));
    EXPECT_TRUE(IsExactly<TcxTestEditProperties>(p.get()));
    EXPECT_EQ(registered->GetDescriptionByClass(cls.Meta()), "TestEdit");

    // An item kind holds the registered class of its name, or base properties before that.
    EXPECT_EQ(GetRepositoryItemPropertiesClass("TcxTestEditProperties"), cls);
    EXPECT_EQ(GetRepositoryItemPropertiesClass("TcxSpinEditProperties").Meta(), &TcxCustomEditProperties::StaticClass());
    registered->Unregister(cls.Meta());
    EXPECT_FALSE(FindRegisteredEditPropertiesClass("TcxTestEditProperties"));
}

// ---- editor texts ---------------------------------------------------------------------------------

TEST(CxEditConsts, TheTableOfTexts)
{
    const auto& table = cxEditResourceStringTable();
    ASSERT_EQ(table.size(), 104u);
    // Identifiers follow the string-table layout: three, six blocks of sixteen taken from the
    // top down, then five.
    std::vector<int> ids = {65453, 65454, 65455};
    for (int top : {65424, 65408, 65392, 65376, 65360, 65344})
        for (int i = 0; i < 16; ++i)
            ids.push_back(top + i);
    for (int i = 0; i < 5; ++i)
        ids.push_back(65328 + i);
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table[i].resString->Identifier, ids[i]) << table[i].name;

    struct Case {
        std::size_t index;
        const char* name;
        const char* text;
    } cases[] = {
        {0, "cxSEditButtonCancel", "Cancel"},
        {8, "cxSEditValidateErrorText", "Invalid input value. Use escape key to abandon changes"},
        {11, "cxSEditCheckBoxGrayed", ""},
        {13, "cxSRadioGroupDefaultCaption", ""},
        {23, "cxSMenuItemCaptionCut", "Cu&t"},
        {35, "scxSHyperLinkPrefix", "http://"},
        {53, "cxNavigator_DeleteRecordQuestion", "Delete record?"},
        {69, "scxSEditRepositorySpinItem", "SpinEdit|Represents a spin editor"},
        {92, "scxRegExprIncorrectSpace", "The space character is not allowed after '\\'"},
        {102, "cxSSpinEditInvalidNumericValue", "Invalid numeric value"},
        {103, "scxRegExprTooDeep", "The blocks are nested too deeply"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(table[c.index].name, c.name);
        EXPECT_EQ(LoadResString(table[c.index].resString), c.text) << c.name;
    }
    int empty = 0;
    for (const auto& e : table)
        empty += std::string(e.resString->Text).empty() ? 1 : 0;
    EXPECT_EQ(empty, 2);
}

TEST_F(CxEditRepository, TextsAreReplacedByNameAndEmptyOnesStayEmpty)
{
    TdxResourceStringsRepository* repository = dxResourceStringsRepository();
    int index = repository->GetProductIndexByName(cxEditProductKey);
    ASSERT_GE(index, 0);
    TdxProductResourceStrings* product = repository->GetProducts(index);
    EXPECT_EQ(product->GetResStringsCount(), 104);
    EXPECT_EQ(cxGetResourceString(&cxSRadioGroupDefaultCaption), "");
    EXPECT_EQ(product->GetValues(product->GetIndexByName("cxSRadioGroupDefaultCaption")), "");
    cxSetResourceString(product->GetResString(product->GetIndexByName("cxSEditButtonOK")), "确定");
    EXPECT_EQ(cxGetResourceString(&cxSEditButtonOK), "确定");
    EXPECT_EQ(LoadResString(&cxSEditButtonOK), "OK");
}

// ---- unit routines ---------------------------------------------------------------------------------

TEST(CxEditRoutines, SpaceCharsVariantEqualityAndSizes)
{
    for (int ch = 0; ch < 40; ++ch) {
        bool space = ch == 0 || ch == 9 || ch == 10 || ch == 12 || ch == 13 || ch == 32;
        EXPECT_EQ(IsSpaceChar(static_cast<char>(ch)), space) << ch;
        EXPECT_EQ(IsSpaceChar(static_cast<char16_t>(ch)), space) << ch;
    }
    EXPECT_FALSE(IsSpaceChar(u'\u3000'));

    struct Case {
        Variant a, b;
        bool editEquals, exactEquals;
    } cases[] = {
        {Variant(1), Variant(1.0), true, false},
        {Variant(1), Variant(2), false, false},
        {Variant(std::string("1")), Variant(1), false, false},
        {Variant(std::string("a")), Variant(std::string("a")), true, true},
        {Variant::MakeNull(), Variant::MakeNull(), true, true},
        {Variant(), Variant::MakeNull(), false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cxEditVarEquals(c.a, c.b), c.editEquals) << VarToStr(c.a) << " / " << VarToStr(c.b);
        EXPECT_EQ(InternalVarEqualsExact(c.a, c.b), c.exactEquals) << VarToStr(c.a) << " / " << VarToStr(c.b);
    }

    TSize size{10, 50};
    CheckSize(size, TSize{20, 5});
    EXPECT_EQ(size.cx, 20);
    EXPECT_EQ(size.cy, 50);
    EXPECT_TRUE(ButtonToShift(mbMiddle) == TShiftState{ssMiddle});

    TComponent owner(nullptr);
    TcxCustomEditProperties p(&owner);
    TcxEditButtons buttons(&p, TCollectionItemClass::Of<TcxEditButton>());
    EXPECT_EQ(GetOwnerComponent(&buttons), &owner);
    EXPECT_EQ(GetOwnerComponent(&owner), &owner);
    TcxCustomEditProperties loose(nullptr);
    EXPECT_EQ(GetOwnerComponent(&loose), nullptr);
}

TEST_F(CxEditRepository, KeysAndMouseEventsReachTheControl)
{
    auto* form = new TForm(nullptr);
    std::vector<std::string> got;
    form->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) { got.push_back("down " + std::to_string(key)); };
    form->OnKeyUp = [&](TObject*, std::uint16_t& key, TShiftState) { got.push_back("up " + std::to_string(key)); };
    form->OnKeyPress = [&](TObject*, char16_t& ch) { got.push_back(std::string("press ") + char(ch)); };
    form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int x, int y) {
        got.push_back("mouse " + std::to_string(x) + "," + std::to_string(y) + (shift.Contains(ssCtrl) ? " ctrl" : ""));
    };
    SendKeyDown(form, 65, {});
    SendKeyUp(form, 65, {});
    SendKeyPress(form, u'x');
    SendMouseEvent(form, WM_LBUTTONDOWN, TShiftState{ssLeft, ssCtrl}, TPoint{12, 7});
    EXPECT_EQ(got, (std::vector<std::string>{"down 65", "up 65", "press x", "mouse 12,7 ctrl"}));
    form->Free();
}

// ---- start-up and shut-down ---------------------------------------------------------------------

TEST(CxEditStartup, ShutDownLeavesNothingBehindAndStartsAgain)
{
    EnsureVclApp();
    TdxResourceStringsRepository* strings = dxResourceStringsRepository();
    for (int round = 0; round < 2; ++round) {
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditRepositoryItemsUnit::Initialize();
        cxEditDataRegisteredRepositoryItemsUnit::Initialize();

        EXPECT_GE(strings->GetProductIndexByName(cxEditProductKey), 0);
        ASSERT_NE(cxEditPropertiesList(), nullptr);
        ASSERT_NE(cxFilterGetResourceStringFunc, nullptr);
        cxSetResourceString(&cxSFilterAndCaption, "und");
        EXPECT_EQ(cxSFilterString(&cxSFilterAndCaption), "und");
        cxClearResourceStrings();
        EXPECT_EQ(GetClass("TcxEditRepositorySpinItem"), &TcxEditRepositorySpinItem::StaticClass());

        TcxEditDataRegisteredRepositoryItems* items = GetDefaultEditDataRepositoryItems();
        EXPECT_EQ(GetDefaultEditRepository()->Count(), 6);
        EXPECT_TRUE(IsExactly<TcxEditRepositoryCheckBoxItem>(items->GetItem(TcxBooleanValueType::Class())));
        EXPECT_TRUE(IsExactly<TcxEditRepositoryCurrencyItem>(items->GetItem(TcxFMTBcdValueType::Class())));
        EXPECT_TRUE(IsExactly<TcxEditRepositoryDateItem>(items->GetItem(TcxSQLTimeStampValueType::Class())));
        EXPECT_NE(items->GetItem(TcxDateTimeValueType::Class()), items->GetItem(TcxSQLTimeStampValueType::Class()));
        EXPECT_TRUE(IsExactly<TcxEditRepositoryTextItem>(items->GetItem(TcxIntegerValueType::Class())));

        // Start-up runs once however often it is asked.
        cxEditUnit::Initialize();
        cxEditDataRegisteredRepositoryItemsUnit::Initialize();
        EXPECT_EQ(GetDefaultEditRepository()->Count(), 6);
        cxEditDataRegisteredRepositoryItemsUnit::Finalize();
        cxEditUnit::Finalize();
        EXPECT_NE(cxEditPropertiesList(), nullptr);

        cxEditDataRegisteredRepositoryItemsUnit::Finalize();
        cxEditRepositoryItemsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();

        EXPECT_LT(strings->GetProductIndexByName(cxEditProductKey), 0);
        EXPECT_EQ(cxEditPropertiesList(), nullptr);
        EXPECT_EQ(cxFilterGetResourceStringFunc, nullptr);
        EXPECT_EQ(GetClass("TcxEditRepositorySpinItem"), nullptr);
    }
}

} // namespace
