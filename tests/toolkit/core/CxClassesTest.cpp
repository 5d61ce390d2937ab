#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/cxClasses.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/MessageQueue.h"

using namespace cx;

TEST(CxClasses, ObjectLinksClearWhenTheirObjectDies)
{
    auto* component = new TcxComponent(nullptr);
    TcxObjectLink* a = cxAddObjectLink(component);
    TcxObjectLink* b = cxAddObjectLink(component);
    EXPECT_EQ(cxAddObjectLink(nullptr), nullptr);
    EXPECT_EQ(cxObjectLinkCount(), 2);
    EXPECT_EQ(a->Target, component);
    component->Free();
    EXPECT_EQ(a->Target, nullptr);
    EXPECT_EQ(b->Target, nullptr);
    cxRemoveObjectLink(a);
    EXPECT_EQ(cxObjectLinkCount(), 1);
    cxRemoveObjectLink(b);
    EXPECT_EQ(cxObjectLinkCount(), 0);

    // A link to an owned component empties when the owner frees it.
    auto* owner = new TcxComponent(nullptr);
    TcxObjectLink* child = cxAddObjectLink(new TcxComponent(owner));
    owner->Free();
    EXPECT_EQ(child->Target, nullptr);
    cxRemoveObjectLink(child);
}

// --- component collection --------------------------------------------------------------------------
namespace {
class TTestComponentCollection;

class TTestParent : public TComponent {
    RTL_CLASS(TTestParent, TComponent)
    explicit TTestParent(TComponent* owner);
    ~TTestParent() override;
    TTestComponentCollection* Items;
};

class TTestCollectionItem : public TcxComponentCollectionItem {
    RTL_CLASS(TTestCollectionItem, TcxComponentCollectionItem)
    using TcxComponentCollectionItem::TcxComponentCollectionItem;

protected:
    TcxComponentCollection* GetCollectionFromParent(TComponent* parent) override;
};

class TTestComponentCollection : public TcxComponentCollection {
    RTL_CLASS(TTestComponentCollection, TcxComponentCollection)
    explicit TTestComponentCollection(TComponent* parent)
        : TcxComponentCollection(parent, TcxComponentCollectionItemClass::Of<TTestCollectionItem>()) {}
    std::vector<std::string> log;

protected:
    void Notify(TcxComponentCollectionItem* item, TcxComponentCollectionNotification action) override
    {
        static const char* names[] = {"added", "changed", "extracting", "extracted", "deleting"};
        log.push_back(std::string("notify ") + names[action]);
    }
    void Update(TcxComponentCollectionItem* item, TcxComponentCollectionNotification action) override
    {
        static const char* names[] = {"added", "changed", "extracting", "extracted", "deleting"};
        log.push_back(std::string("change ") + names[action] + (item ? "" : " (all)"));
    }
};

TTestParent::TTestParent(TComponent* owner) : TComponent(owner), Items(new TTestComponentCollection(this)) {}
TTestParent::~TTestParent() { Items->Free(); }

TcxComponentCollection* TTestCollectionItem::GetCollectionFromParent(TComponent* parent)
{
    auto* p = dynamic_cast<TTestParent*>(parent);
    return p ? p->Items : nullptr;
}
} // namespace

TEST(CxClasses, ComponentCollectionDeleteNotificationOrder)
{
    TcxComponent form(nullptr);
    auto* parent = new TTestParent(&form);
    TTestComponentCollection* items = parent->Items;
    TcxComponentCollectionItem* first = items->Add();
    items->Add();
    EXPECT_EQ(first->Owner(), &form);
    EXPECT_EQ(first->GetParentComponent(), parent);
    EXPECT_EQ(items->Items(1)->ID(), 1);
    EXPECT_EQ(items->FindItemByID(1), items->Items(1));

    items->log.clear();
    items->Delete(0);
    std::vector<std::string> expected = {"notify deleting", "notify extracting", "notify extracted", "change extracted"};
    EXPECT_EQ(items->log, expected);
    EXPECT_EQ(items->Count(), 1);
    EXPECT_EQ(form.ComponentCount(), 2);   // the parent and the remaining item

    items->log.clear();
    items->BeginUpdate();
    items->Add();
    items->EndUpdate(false);
    expected = {"notify added"};
    EXPECT_EQ(items->log, expected);
    items->Items(1)->SetIndex(0);
    EXPECT_EQ(items->Items(0)->ID(), 2);

    items->log.clear();
    items->Clear();
    EXPECT_EQ(items->Count(), 0);
    EXPECT_EQ(items->log.back(), "change changed (all)");
}

// --- owned interfaced collection --------------------------------------------------------------------
namespace {
class TValueItem : public TcxInterfacedCollectionItem {
    RTL_CLASS(TValueItem, TcxInterfacedCollectionItem)
    using TcxInterfacedCollectionItem::TcxInterfacedCollectionItem;
    int Value = 0;
    void Assign(TPersistent* source) override
    {
        if (auto* s = dynamic_cast<TValueItem*>(source))
            Value = s->Value;
        else
            TcxInterfacedCollectionItem::Assign(source);
    }
};

std::vector<int> Values(TCollection& c)
{
    std::vector<int> v;
    for (int i = 0; i < c.Count(); ++i)
        v.push_back(static_cast<TValueItem*>(c.Items(i))->Value);
    return v;
}
} // namespace

TEST(CxClasses, OwnedInterfacedCollectionSortingAndChangeNotices)
{
    TcxOwnedInterfacedCollection c(nullptr, TCollectionItemClass::Of<TValueItem>());
    for (int v : {3, 1, 2})
        static_cast<TValueItem*>(c.Add())->Value = v;
    EXPECT_EQ(static_cast<TValueItem*>(c.Items(0))->_AddRef(), -1);

    c.SetSorted(true);   // no compare handler: the order stays
    EXPECT_EQ(Values(c), (std::vector<int>{3, 1, 2}));

    c.SetSorted(false);
    c.OnCompareItems = [](TObject*, TCollectionItem* a, TCollectionItem* b) {
        return static_cast<TValueItem*>(a)->Value - static_cast<TValueItem*>(b)->Value;
    };
    c.BeginUpdate();
    c.SetSorted(true);   // while updating: not yet
    EXPECT_EQ(Values(c), (std::vector<int>{3, 1, 2}));
    c.EndUpdate();       // the nil-item update sorts
    EXPECT_EQ(Values(c), (std::vector<int>{1, 2, 3}));

    int notices = 0;
    c.OnItemsChanged = [&](TObject*, TCollectionItem*) {
        ++notices;
        static_cast<TValueItem*>(c.Items(0))->Value = 0;
        c.Add();   // a change made by the handler is not reported again
    };
    c.Add();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(c.Count(), 5);
}

TEST(CxClasses, CollectionAssignReusesItems)
{
    TcxCollection a(TCollectionItemClass::Of<TValueItem>()), b(TCollectionItemClass::Of<TValueItem>());
    static_cast<TValueItem*>(a.Add())->Value = 1;
    for (int i = 0; i < 3; ++i)
        b.Add();
    TCollectionItem* kept = b.Items(0);
    b.Assign(&a);
    EXPECT_EQ(b.Count(), 1);
    EXPECT_EQ(b.Items(0), kept);
    EXPECT_EQ(static_cast<TValueItem*>(kept)->Value, 1);
}

// --- lists and events ----------------------------------------------------------------------------------
TEST(CxClasses, ListsIgnoreWhatDoesNotBelong)
{
    TcxComponentList list;
    std::vector<int> changes;
    list.OnListChanged = [&](TObject*, TComponent*, TcxComponentCollectionNotification a) { changes.push_back(a); };
    TObjectList plainObjects(false);
    TObject notAComponent;
    list.TList::Add(&notAComponent);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(changes.empty());
    auto* c = new TcxComponent(nullptr);
    list.Add(c);
    c->Free();   // the freed component leaves the list
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(changes, (std::vector<int>{ccnAdded, ccnExtracted}));

    TcxOpenList open;
    open.SetItem(5, &notAComponent);
    EXPECT_EQ(open.Count(), 6);
    EXPECT_EQ(open.GetItem(4), nullptr);

    TcxObjectList owning(true);
    owning.Add(new TcxComponent(nullptr));
    owning.Clear();
    EXPECT_EQ(owning.Count(), 0);
}

namespace {
struct EventTarget {
    std::vector<std::string> calls;
    TcxEventHandlerCollection* collection = nullptr;
    void First(TObject*, void*) { calls.push_back("first"); }
    void Leave(TObject*, void*)
    {
        calls.push_back("leave");
        collection->Remove(TcxEventHandler(this, &EventTarget::Leave));
    }
    void Last(TObject*, void*) { calls.push_back("last"); }
};
} // namespace

TEST(CxClasses, EventHandlerCollection)
{
    TcxEventHandlerCollection handlers;
    EventTarget t;
    t.collection = &handlers;
    handlers.CallEvents(nullptr, nullptr);
    handlers.Add(TcxEventHandler(&t, &EventTarget::First));
    handlers.Add(TcxEventHandler(&t, &EventTarget::First));
    handlers.Add(TcxEventHandler(&t, &EventTarget::Leave));
    handlers.Add(TcxEventHandler(&t, &EventTarget::Last));
    EXPECT_EQ(handlers.Count(), 3);
    handlers.Delete(7);
    handlers.CallEvents(nullptr, nullptr);
    handlers.CallEvents(nullptr, nullptr);
    EXPECT_EQ(t.calls, (std::vector<std::string>{"first", "leave", "last", "first", "last"}));
}

TEST(CxClasses, FreeNotificatorReportsFreedSenders)
{
    TcxFreeNotificator notificator;
    TComponent* freed = nullptr;
    notificator.OnSenderFreed = [&](TComponent* c) { freed = c; };
    auto* sender = new TcxComponent(nullptr);
    notificator.AddSender(sender);
    sender->Free();
    EXPECT_EQ(freed, sender);
}

// --- registries --------------------------------------------------------------------------------------
namespace {
class TcxCustomEditProperties : public TPersistent { RTL_CLASS(TcxCustomEditProperties, TPersistent) };
class TcxCustomTextEditProperties : public TcxCustomEditProperties { RTL_CLASS(TcxCustomTextEditProperties, TcxCustomEditProperties) };
class TcxSpinEditProperties : public TcxCustomTextEditProperties { RTL_CLASS(TcxSpinEditProperties, TcxCustomTextEditProperties) };
class THelperA : public TObject { RTL_CLASS(THelperA, TObject) };
class THelperB : public TObject { RTL_CLASS(THelperB, TObject) };
} // namespace

TEST(CxClasses, RegisteredClassListFindsTheMostDerivedAncestor)
{
    for (bool textFirst : {false, true}) {
        TcxRegisteredClassList list;
        if (textFirst)
            list.Register(&TcxCustomTextEditProperties::StaticClass(), &THelperB::StaticClass());
        list.Register(&TcxCustomEditProperties::StaticClass(), &THelperA::StaticClass());
        if (!textFirst)
            list.Register(&TcxCustomTextEditProperties::StaticClass(), &THelperB::StaticClass());
        EXPECT_EQ(list.FindClass(&TcxSpinEditProperties::StaticClass()), &THelperB::StaticClass());
        EXPECT_EQ(list.FindClass(&TcxCustomEditProperties::StaticClass()), &THelperA::StaticClass());
        EXPECT_EQ(list.FindClass(&TPersistent::StaticClass()), nullptr);
        list.Unregister(&TcxCustomTextEditProperties::StaticClass(), &THelperB::StaticClass());
        EXPECT_EQ(list.FindClass(&TcxSpinEditProperties::StaticClass()), &THelperA::StaticClass());
    }
}

TEST(CxClasses, RegisteredClassesSortedByDescription)
{
    TcxRegisteredClasses classes;
    classes.SetSorted(true);
    classes.Register(&TcxSpinEditProperties::StaticClass(), "b|x");
    classes.Register(&TcxCustomTextEditProperties::StaticClass(), "A|y");
    classes.Register(&TcxCustomEditProperties::StaticClass(), "Memo");
    classes.Register(&TcxSpinEditProperties::StaticClass(), "again|ignored");
    ASSERT_EQ(classes.Count(), 3);
    EXPECT_EQ(classes.Descriptions(0), "A");
    EXPECT_EQ(classes.Descriptions(1), "b");
    EXPECT_EQ(classes.GetHintByClass(&TcxCustomEditProperties::StaticClass()), "Memo");
    EXPECT_EQ(classes.FindByClassName("TcxSpinEditProperties"), &TcxSpinEditProperties::StaticClass());
    EXPECT_EQ(classes.FindByClassName("tcxspineditproperties"), nullptr);
    EXPECT_EQ(classes.FindByDescription("A"), &TcxCustomTextEditProperties::StaticClass());
    EXPECT_EQ(classes.GetDescriptionByClass(&THelperA::StaticClass()), "");
}

TEST(CxClasses, ComponentNaming)
{
    TComponent owner(nullptr);
    (new TComponent(&owner))->SetName("Row");
    (new TComponent(&owner))->SetName("Row1");
    auto* c = new TComponent(&owner);
    EXPECT_EQ(GetValidName(c, "Row"), "Row2");
    EXPECT_EQ(GetValidName(c, "Cell", true), "Cell1");
    TComponent lonely(nullptr);
    EXPECT_EQ(GetValidName(&lonely, "Row"), "Row");

    EXPECT_EQ(cxGenerateComponentName(nullptr, "TcxEditorRow", "Tcx", "", 3), "EditorRow3");
    EXPECT_EQ(cxGenerateComponentName(nullptr, "TcxEditorRow", "", "", 3), "cxEditorRow3");
    EXPECT_EQ(cxGenerateComponentName(nullptr, "TcxEditorRow", "Tcx", "My Row-非", 0), "MyRow");
    EXPECT_EQ(cxGenerateComponentName(nullptr, "TcxEditorRow", "Tcx", "1st", 0), "EditorRow1st");
    owner.SetName("Grid");
    EXPECT_EQ(cxGenerateComponentName(&owner, "TcxEditorRow", "Tcx", "Row", 2), "GridRow2");

    TComponent form(nullptr);
    (new TComponent(&form))->SetName("GridRuntimeCreatedRow");
    auto* row = new TComponent(&form);
    EXPECT_EQ(CreateUniqueName(&form, &owner, row, "Tcx", "RuntimeCreatedRow"), "GridRuntimeCreatedRow1");

    EXPECT_TRUE(ClassInheritsFrom(&TcxSpinEditProperties::StaticClass(), "TcxCustomEditProperties"));
    EXPECT_FALSE(ClassInheritsFrom(&TcxSpinEditProperties::StaticClass(), "tcxcustomeditproperties"));
}

TEST(CxClasses, ResourceStringOverrides)
{
    static const TResStringRec sHello = {1, "Hello"};
    static const TResStringRec sBye = {2, "Bye"};
    struct Reset { ~Reset() { cxClassesUnit::Finalize(); } } reset;
    cxClassesUnit::Finalize();

    EXPECT_EQ(cxGetResourceString(&sHello), "Hello");
    cxSetResourceString(&sHello, "Hi");
    cxSetResourceString(&sHello, "Hi there");
    EXPECT_EQ(cxGetResourceString(&sHello), "Hi there");
    EXPECT_EQ(cxGetResourceString(&sBye), "Bye");
    EXPECT_EQ(cxGetResourceString(std::string("Hello")), "Hi there");
    EXPECT_THROW(cxSetResourceStringNet("Bye", "Ciao"), EdxException);
    EXPECT_EQ(cxGetResourceString(&sBye), "Bye");
    cxClearResourceStrings();
    EXPECT_EQ(cxGetResourceString(&sHello), "Hello");
    EXPECT_THROW(cxSetResourceStringNet("Bye", "Ciao"), EdxException);   // the mode stays

    cxClassesUnit::Finalize();
    cxSetResourceStringNet("Bye", "Ciao");
    EXPECT_EQ(cxGetResourceString(&sBye), "Ciao");
    EXPECT_EQ(cxGetResourceStringNet("bye"), "bye");   // texts match with case
    try {
        cxSetResourceString(&sHello, "Hi");
        FAIL();
    } catch (const EdxException& e) {
        EXPECT_STREQ(e.what(), "You cannot mix cxSetResourceString and cxSetResourceStringNet calls");
    }
}

TEST(CxClasses, SmallProcedures)
{
    struct V { int a, b, r; };
    for (V v : {V{7, 2, 4}, V{-7, 2, -2}, V{6, 2, 3}, V{0, 5, 0}, V{7, -2, -2}})
        EXPECT_EQ(RoundDiv(v.a, v.b), v.r) << v.a << "/" << v.b;
    EXPECT_THROW(RoundDiv(1, 0), EDivByZero);
    EXPECT_EQ(GetRangeCenter(-1, 0), -1);
    EXPECT_EQ(GetRangeCenter(2, 5), 3);
    EXPECT_EQ(GetRangeCenter(2147483647, 2147483647), 2147483647);
    EXPECT_EQ(cxSign(0.0), 1);
    EXPECT_EQ(cxSign(-0.5), -1);
    EXPECT_EQ(HexToByte("aF"), 0xAF);
    EXPECT_THROW(HexToByte("G1"), EConvertError);
    EXPECT_THROW(HexToByte("1"), EConvertError);
    EXPECT_EQ(GetCorrectPath("a/b/c"), "a\\b\\c");
    EXPECT_EQ(cxStrCharLength("a非", 2), 3);
    EXPECT_EQ(cxNextCharPos("a非b", 2), 5);
    EXPECT_EQ(cxPrevCharPos("a非b", 5), 2);

    TcxHashedStringList hashed;
    hashed.Add("Width");
    hashed.Add("Height");
    EXPECT_EQ(hashed.IndexOf("HEIGHT"), 1);
    EXPECT_EQ(hashed.IndexOf("Depth"), -1);
    hashed.Put(1, "Depth");
    EXPECT_EQ(hashed.IndexOf("depth"), 1);
}

// --- hooks and window class names over the control layer ---------------------------------------

namespace {
int gCxHookCalls = 0;
LRESULT CountingHook(int, WPARAM, LPARAM)
{
    ++gCxHookCalls;
    return 0;
}
} // namespace

TEST(CxClassesHooks, SetHookWantsAnEmptySlotAndReleaseHookEmptiesIt)
{
    HHOOK hook = nullptr;
    cx::SetHook(hook, WH_CALLWNDPROC, CountingHook);
    ASSERT_NE(hook, nullptr);
    HHOOK copy = hook;
    EXPECT_THROW(cx::SetHook(copy, WH_CALLWNDPROC, CountingHook), rtl::EAssertionFailed);
    HWND wnd = vcl::AllocateHWnd([](TMessage&) {});
    gCxHookCalls = 0;
    vcl::SendMessage(wnd, WM_USER);
    EXPECT_EQ(gCxHookCalls, 1);
    cx::ReleaseHook(hook);
    EXPECT_EQ(hook, nullptr);
    cx::ReleaseHook(hook); // an empty slot is ignored
    vcl::SendMessage(wnd, WM_USER);
    EXPECT_EQ(gCxHookCalls, 1);
    EXPECT_EQ(cx::cxGetClassName(wnd), "TPUtilWindow");
    vcl::DeallocateHWnd(wnd);
    EXPECT_EQ(cx::cxGetClassName(wnd), "");
}

namespace {

class TSubobjectPart : public TPersistent {
    RTL_CLASS(TSubobjectPart, TPersistent)
};
class TSubobjectPartEx : public TSubobjectPart {
    RTL_CLASS(TSubobjectPartEx, TSubobjectPart)
};
class TSubobjectOther : public TPersistent {
    RTL_CLASS(TSubobjectOther, TPersistent)
};

// Object properties registered out of name order; one declares the derived class.
class TSubobjectHolder : public TPersistent {
    RTL_CLASS(TSubobjectHolder, TPersistent)
    TSubobjectHolder()
    {
        static const bool registered = [] {
            using H = TSubobjectHolder;
            std::vector<TPropInfo> props;
            props.push_back(PublishedObjectProp<H, TSubobjectPart>("zeta", &H::Part));
            props.push_back(PublishedObjectProp<H, TSubobjectPartEx>("Alpha", &H::PartEx));
            props.push_back(PublishedObjectProp<H, TSubobjectPart>("Beta", &H::Part));
            RegisterPublishedProperties(StaticClass(), std::move(props));
            return true;
        }();
        (void)registered;
    }
    TSubobjectPart* Part() const { return nullptr; }
    TSubobjectPartEx* PartEx() const { return nullptr; }
};

} // namespace

TEST(CxClasses, SubobjectNameIsTheFirstPropertyByNameOfExactlyThatClass)
{
    TSubobjectHolder holder;
    TSubobjectPart part;
    TSubobjectPartEx partEx;
    TSubobjectOther other;
    EXPECT_EQ(GetSubobjectName(&holder, &part), "Beta");
    EXPECT_EQ(GetSubobjectName(&holder, &partEx), "Alpha");
    EXPECT_EQ(GetSubobjectName(&holder, &other), "");
    EXPECT_EQ(GetSubobjectName(&part, &holder), "");
}
