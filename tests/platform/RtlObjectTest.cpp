#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Contnrs.h"
#include "platform/rtl/Event.h"

using namespace rtl;

namespace {

std::vector<std::string> journal;

class TRecorder : public TComponent {
    RTL_CLASS(TRecorder, TComponent)
    explicit TRecorder(TComponent* owner, std::string tag = {}) : TComponent(owner), tag_(std::move(tag)) {}
    ~TRecorder() override { journal.push_back("destroy " + tag_); }

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        if (op == opRemove)
            journal.push_back(tag_ + " told " + static_cast<TRecorder*>(c)->tag_ + " died");
        TComponent::Notification(c, op);
    }

public:
    std::string tag_;
};

class TDerivedRecorder : public TRecorder {
    RTL_CLASS(TDerivedRecorder, TRecorder)
    using TRecorder::TRecorder;
};

} // namespace

TEST(RtlObject, ClassMetaAndVirtualConstructor)
{
    TComponentClass ref = TComponentClass::Of<TDerivedRecorder>();
    EXPECT_EQ(ref.ClassName(), "TDerivedRecorder");
    EXPECT_TRUE(ref.InheritsFrom(TComponent::StaticClass()));
    UniqueObject<TComponent> obj(ref.Create(nullptr));
    EXPECT_EQ(obj->ClassName(), "TDerivedRecorder");
    EXPECT_TRUE(IsExactly<TDerivedRecorder>(obj.get()));
    EXPECT_FALSE(IsExactly<TRecorder>(obj.get()));
    EXPECT_TRUE(obj->InheritsFrom(TRecorder::StaticClass()));

    // A meta found by name gives back the same virtual constructor.
    RegisterClassMeta(TDerivedRecorder::StaticClass());
    auto byName = TComponentClass::FromMeta(GetClass("tderivedrecorder"));
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName, ref);
    EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
    EXPECT_THROW(FindClass("TNoSuchClass"), EFilerError);
    UnRegisterClassMeta(TDerivedRecorder::StaticClass());
}

TEST(RtlObject, ComponentTeardownFollowsTheDesignedOrder)
{
    journal.clear();
    auto* watcher = new TRecorder(nullptr, "watcher");
    auto* form = new TRecorder(nullptr, "form");
    auto* a = new TRecorder(form, "a");
    new TRecorder(form, "b");
    form->FreeNotification(watcher);
    EXPECT_EQ(form->FindComponent("") , nullptr);
    a->SetName("Edit1");
    EXPECT_EQ(form->FindComponent("EDIT1"), a);
    // Freed through Free(), so the owner is told while the recorder is still whole.
    auto* c = new TRecorder(form, "c");
    EXPECT_THROW(c->SetName("edit1"), EComponentError);
    c->Free();
    journal.clear();

    form->Free();
    // Partners are told while the form is whole, then the owned components go, last first.
    std::vector<std::string> expected = {"watcher told form died", "destroy b", "destroy a", "destroy form"};
    EXPECT_EQ(journal, expected);
    watcher->Free();
}

// The owner finds what it owns by the current name: a rename drops the old name, a freed
// component is no longer found, and a name freed up can be given again.
TEST(RtlObject, FindComponentFollowsRenamesAndFrees)
{
    auto* form = new TRecorder(nullptr, "form");
    auto* a = new TRecorder(form, "a");
    a->SetName("Row1");
    a->SetName("Row2");
    EXPECT_EQ(form->FindComponent("Row1"), nullptr);
    EXPECT_EQ(form->FindComponent("row2"), a);
    auto* b = new TRecorder(form, "b");
    b->SetName("Row1");
    EXPECT_EQ(form->FindComponent("ROW1"), b);
    a->Free();
    EXPECT_EQ(form->FindComponent("Row2"), nullptr);
    auto* c = new TRecorder(form, "c");
    c->SetName("Row2");
    EXPECT_EQ(form->FindComponent("Row2"), c);
    form->Free();
    journal.clear();
}

TEST(RtlObject, FreeingAComponentTellsItsOwnerAndPartners)
{
    journal.clear();
    auto* owner = new TRecorder(nullptr, "owner");
    auto* child = new TRecorder(owner, "child");
    auto* other = new TRecorder(nullptr, "other");
    child->FreeNotification(other);
    child->Free();
    EXPECT_EQ(owner->ComponentCount(), 0);
    // The owner passes the notice to everything it owns, the dying child included.
    std::vector<std::string> expected = {"other told child died", "owner told child died", "child told child died",
                                         "destroy child"};
    EXPECT_EQ(journal, expected);
    owner->Free();
    other->Free();
}

TEST(RtlObject, ComponentListForgetsFreedComponents)
{
    TComponentList list(false);
    auto* c = new TRecorder(nullptr, "x");
    list.Add(c);
    EXPECT_EQ(list.Count(), 1);
    c->Free();
    EXPECT_EQ(list.Count(), 0);
}

// --- events ----------------------------------------------------------------------------------------
namespace {
struct Handlers {
    std::vector<std::string> calls;
    MulticastEvent<void(int)>* list = nullptr;
    void A(int) { calls.push_back("A"); }
    void B(int) { calls.push_back("B"); }
    void C(int) { calls.push_back("C"); }
    void RemoveSelf(int) { calls.push_back("R"); list->Remove(Event<void(int)>(this, &Handlers::RemoveSelf)); }
    void RemoveC(int) { calls.push_back("-C"); list->Remove(Event<void(int)>(this, &Handlers::C)); }
    void AddB(int) { calls.push_back("+B"); list->Add(Event<void(int)>(this, &Handlers::B)); }
};
} // namespace

TEST(RtlEvent, MethodBindingsCompareByObjectAndMethod)
{
    Handlers h1, h2;
    Event<void(int)> e1(&h1, &Handlers::A), e2(&h1, &Handlers::A), e3(&h1, &Handlers::B), e4(&h2, &Handlers::A);
    EXPECT_TRUE(e1 == e2);
    EXPECT_FALSE(e1 == e3);
    EXPECT_FALSE(e1 == e4);
    Event<void(int)> none;
    EXPECT_FALSE(none.Assigned());
    EXPECT_TRUE(none == nullptr);
    auto lambda = [](int) {};
    Event<void(int)> l1(lambda), l2(lambda);
    EXPECT_TRUE(l1 == Event<void(int)>(l1));
    EXPECT_FALSE(l1 == l2);
}

TEST(RtlEvent, HandlersThatChangeTheListWhileCalledAreSafe)
{
    struct Case {
        const char* name;
        std::vector<void (Handlers::*)(int)> handlers;
        std::vector<std::string> first, second;
    };
    const std::vector<Case> cases = {
        {"removes itself", {&Handlers::A, &Handlers::RemoveSelf, &Handlers::B}, {"A", "R", "B"}, {"A", "B"}},
        {"removes a later one", {&Handlers::A, &Handlers::RemoveC, &Handlers::C, &Handlers::B}, {"A", "-C", "B"}, {"A", "-C", "B"}},
        {"adds one", {&Handlers::AddB, &Handlers::A}, {"+B", "A"}, {"+B", "A", "B"}},
    };
    for (const Case& c : cases) {
        Handlers h;
        MulticastEvent<void(int)> list;
        h.list = &list;
        for (auto m : c.handlers)
            list.Add(Event<void(int)>(&h, m));
        list.Call(0);
        EXPECT_EQ(h.calls, c.first) << c.name;
        h.calls.clear();
        list.Call(0);
        EXPECT_EQ(h.calls, c.second) << c.name;
    }
}

// --- collections ------------------------------------------------------------------------------------
namespace {
class TTestItem : public TCollectionItem {
    RTL_CLASS(TTestItem, TCollectionItem)
    using TCollectionItem::TCollectionItem;
    int Value = 0;
    void Assign(TPersistent* source) override
    {
        if (auto* s = dynamic_cast<TTestItem*>(source))
            Value = s->Value;
        else
            TCollectionItem::Assign(source);
    }
};

class TTestCollection : public TCollection {
    RTL_CLASS(TTestCollection, TCollection)
    TTestCollection() : TCollection(TCollectionItemClass::Of<TTestItem>()) {}
    std::vector<std::string> log;

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override
    {
        static const char* names[] = {"added", "extracting", "deleting"};
        log.push_back(std::string(names[action]) + " " + std::to_string(item->ID()));
    }
    void Update(TCollectionItem* item) override { log.push_back(item ? "update " + std::to_string(item->ID()) : "update all"); }
};
} // namespace

TEST(RtlCollection, NotificationsAndUpdateBrackets)
{
    TTestCollection c;
    c.Add();
    c.Add();
    c.BeginUpdate();
    c.Add();
    c.EndUpdate();
    std::vector<std::string> expected = {"added 0", "update all", "added 1", "update all", "added 2", "update all"};
    EXPECT_EQ(c.log, expected);

    c.log.clear();
    c.Delete(0);
    expected = {"deleting 0", "extracting 0", "update all"};
    EXPECT_EQ(c.log, expected);
    EXPECT_EQ(c.Items(0)->ID(), 1);
    EXPECT_EQ(c.FindItemID(2), c.Items(1));
    EXPECT_EQ(c.Items(1)->GetNamePath(), "TTestCollection[1]");

    TTestCollection copy;
    static_cast<TTestItem*>(c.Items(1))->Value = 7;
    copy.Assign(&c);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(copy.Items(1))->Value, 7);
    TPersistent unrelated;
    EXPECT_THROW(copy.Assign(&unrelated), EConvertError);
}
