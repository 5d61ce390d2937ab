// The filter builder's model: criteria to rows and back, applying to the host, streams of every
// version, item resolution by name and ID, and loading and saving that never lose what was there.
#include "FilterControlTestSupport.h"

#include <filesystem>
#include <fstream>

#include "toolkit/data/cxCustomData.h"
#include "toolkit/grid/cxVirtualVGrid.h"

#include <gtest/gtest.h>

namespace {

using namespace fctest;
namespace fs = std::filesystem;

std::vector<char> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(FilterControlTest, RowsBecomeCriteriaItemsAndComeBack)
{
    host->Add("Meter", TcxIntegerValueType::Class());
    host->Add("Tariff");
    control->SetLinkComponent(host);
    struct Case {
        const char* name;
        TcxFilterControlOperator op;
        std::vector<Variant> values;
        TcxFilterOperatorKind kind;
        const char* display;
        std::vector<std::string> texts;   // the values' texts after building again
    };
    const Case cases[] = {
        {"between reversed", fcoBetween, {10, 5}, foBetween, "5;10", {"5", "10"}},
        {"between ordered", fcoNotBetween, {5, 10}, foNotBetween, "5;10", {"5", "10"}},
        {"in list", fcoInList, {1, 2, 3}, foInList, "1;2;3", {"1", "2", "3"}},
        {"blanks", fcoBlanks, {Null}, foEqual, "blank", {}},
        {"equal null", fcoEqual, {Null}, foEqual, "blank", {}},
        {"less", fcoLess, {7}, foLess, "7", {"7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        control->Clear();
        SetValues(NewCondition(), c.op, c.values);
        control->BuildFromRows();
        TcxFilterCriteriaItem* item = Condition(control->Criteria()->Root(), 0);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->OperatorKind(), c.kind);
        EXPECT_EQ(item->DisplayValue(), c.display);
        EXPECT_EQ(item->ItemLink(), host->GetFilterItemLink(0));
        if (c.op == fcoBetween || c.op == fcoNotBetween) {
            ASSERT_TRUE(item->Value().IsArray());
            EXPECT_EQ(VarToStr(item->Value()[item->Value().LowBound()]), "5");
            EXPECT_EQ(VarToStr(item->Value()[item->Value().HighBound()]), "10");
        }
        if (c.op == fcoInList) {
            EXPECT_EQ(item->Value().HighBound() - item->Value().LowBound() + 1, 3);
        }

        control->BuildFromCriteria();
        ASSERT_EQ(control->RowCount(), 2);
        TcxConditionViewInfo* row = ConditionRow(1);
        EXPECT_EQ(row->Operator(), c.op == fcoEqual ? fcoBlanks : c.op);
        EXPECT_EQ(row->ItemText(), "Meter");
        for (std::size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ(row->Values()->Items(int(i))->ValueText, c.texts[i]);
    }
}

TEST_F(FilterControlTest, GroupsKeepTheirOperatorsAndEmptyGroupsVanishThroughTheStream)
{
    host->Add("Meter");
    control->SetLinkComponent(host);
    control->Root()->SetBoolOperator(fboOr);
    NewCondition();
    auto* group = new TcxGroupViewInfo(control, control->Root(), nullptr);
    group->SetBoolOperator(fboNotAnd);
    NewCondition(group);
    new TcxGroupViewInfo(control, control->Root(), nullptr);   // no conditions
    control->RebuildRowList();
    ASSERT_EQ(control->RowCount(), 5);
    EXPECT_EQ(control->Rows(3), group->Children(0));

    std::vector<Byte> bytes = Save();
    EXPECT_EQ(control->Criteria()->Root()->Count(), 3);   // saved as an empty group
    control->Clear();
    Load(bytes);
    ASSERT_EQ(control->RowCount(), 4);
    EXPECT_EQ(control->Root()->BoolOperator(), fboOr);
    auto* loaded = dynamic_cast<TcxGroupViewInfo*>(control->Rows(2));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->BoolOperator(), fboNotAnd);
    EXPECT_EQ(loaded->ChildCount(), 1);
}

TEST_F(FilterControlTest, StreamsOfVersionsOneToThreeLoad)
{
    host->Add("Meter");
    host->Add("Tariff");
    host->criteria.AddItem(HostRoot(), host->GetFilterItemLink(1), foEqual, Variant("B"), "B");
    control->SetLinkComponent(host);
    for (Byte version : {Byte(1), Byte(2), Byte(3)}) {
        SCOPED_TRACE(int(version));
        std::vector<Byte> bytes = HostStream(version);
        control->Clear();
        Load(bytes);
        ASSERT_EQ(control->RowCount(), 2);
        EXPECT_EQ(ConditionRow(1)->ItemLink(), host->GetFilterItemLink(1));
        EXPECT_EQ(ConditionRow(1)->Values()->Items(0)->ValueText, "B");
        EXPECT_EQ(control->Criteria()->LoadedVersion(), 3);   // taken over from what was read
    }
    // What the builder writes is version 3, names included.
    std::vector<Byte> saved = Save();
    ASSERT_GE(saved.size(), 4u);
    EXPECT_EQ(saved[0], 0xFE);
}

TEST_F(FilterControlTest, AnEmptyBuilderSavesAnEmptyCriteriaThatNeedsItemsToLoad)
{
    host->Add("Meter");
    control->SetLinkComponent(host);
    // Version 3 marker, "and", no children.
    EXPECT_EQ(Save(), (std::vector<Byte>{0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0}));
    std::vector<Byte> bytes = Save();
    control->SetLinkComponent(nullptr);
    EXPECT_THROW(Load(bytes), EcxFilterControlError);
}

TEST_F(FilterControlTest, ItemsResolveByNameFirstAndByIdOnlyWithoutAName)
{
    const std::string empty;
    TObject* unnamed = host->Add("Unnamed", TcxStringValueType::Class(), 7, &empty);
    host->Add("Named", TcxStringValueType::Class(), 8);
    // Written by a host whose items had other names: the builder's host knows none of them.
    FakeFilterHost writer(nullptr);
    const std::string other1 = "Gone1", other2 = "Gone2", other3 = "Gone3";
    writer.Add("a", TcxStringValueType::Class(), 7, &other1);
    writer.Add("b", TcxStringValueType::Class(), 8, &other2);
    writer.Add("c", TcxStringValueType::Class(), 99, &other3);
    writer.criteria.AddItem(writer.criteria.Root(), writer.GetFilterItemLink(0), foEqual, Variant("x"), "x");
    writer.criteria.AddItem(writer.criteria.Root(), writer.GetFilterItemLink(1), foEqual, Variant("y"), "y");
    TcxFilterCriteriaItemList* group = writer.criteria.Root()->AddItemList(fboOr);
    writer.criteria.AddItem(group, writer.GetFilterItemLink(2), foEqual, Variant("z"), "z");
    TMemoryStream stream;
    writer.criteria.WriteData(&stream);

    control->SetLinkComponent(host);
    stream.Seek(0, soBeginning);
    control->LoadFromStream(&stream);
    // ID 7 has an empty name here: taken. ID 8 is named "Item8": dropped. The group of the
    // unknown item is dropped with it.
    ASSERT_EQ(control->RowCount(), 2);
    EXPECT_EQ(ConditionRow(1)->ItemLink(), unnamed);
}

TEST_F(FilterControlTest, AFailedLoadKeepsRowsAndCriteria)
{
    host->Add("Meter");
    host->Add("Tariff");
    host->criteria.AddItem(HostRoot(), host->GetFilterItemLink(0), foEqual, Variant("A"), "A");
    host->criteria.AddItem(HostRoot(), host->GetFilterItemLink(1), foLike, Variant("B%"), "B%");
    host->criteria.AddItem(HostRoot(), host->GetFilterItemLink(1), foEqual, Null, "blank");
    control->SetLinkComponent(host);
    ASSERT_EQ(control->RowCount(), 4);
    std::vector<Byte> good = HostStream(3);
    ASSERT_EQ(good.back(), 0);   // the last value: the Null tag

    struct Case {
        const char* name;
        std::vector<Byte> bytes;
    };
    std::vector<Byte> badTag = good;
    badTag.back() = 0x7F;   // an unknown value tag
    std::vector<Byte> cut(good.begin(), good.begin() + good.size() / 2);
    const Case cases[] = {{"empty", {}}, {"cut", cut}, {"bad tag", badTag}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_ANY_THROW(Load(c.bytes));
        ASSERT_EQ(control->RowCount(), 4);
        EXPECT_EQ(ConditionRow(1)->ItemText(), "Meter");
        EXPECT_EQ(ConditionRow(2)->Operator(), fcoLike);
        EXPECT_EQ(control->Criteria()->Root()->Count(), 3);
    }
    // Without host items nothing is read and nothing changes.
    control->SetLinkComponent(nullptr);
    NewCondition();
    try {
        Load(good);
        FAIL() << "loaded without items";
    } catch (const EcxFilterControlError& e) {
        EXPECT_STREQ(e.what(), "Can't build filter from source");
    }
    EXPECT_EQ(control->RowCount(), 2);
}

TEST_F(FilterControlTest, AnIncompleteRowIsReportedAndNothingIsApplied)
{
    host->Add("Meter");
    host->Add("Tariff");
    host->criteria.AddItem(HostRoot(), host->GetFilterItemLink(0), foEqual, Variant("A"), "A");
    control->SetLinkComponent(host);
    NewCondition();
    SetValues(NewCondition(), fcoEqual, {Variant("T")});
    ConditionRow(3)->SetItem(1);
    ASSERT_TRUE(control->IsValid());
    // The second item goes away: the row that named it can no longer be applied.
    FakeFilterHost::Item gone = std::move(host->items.back());
    host->items.pop_back();
    EXPECT_FALSE(control->IsValid());
    int applied = 0;
    control->OnApplyFilter = [&](TObject*) { ++applied; };
    for (auto action : {+[](TcxFilterControl* c) { c->ApplyFilter(); },
                        +[](TcxFilterControl* c) { TMemoryStream s; c->SaveToStream(&s); },
                        +[](TcxFilterControl* c) { c->GetFilterText(); }}) {
        try {
            action(control);
            FAIL() << "an incomplete row passed";
        } catch (const EcxFilterControlError& e) {
            EXPECT_STREQ(e.what(), "Row 3 is incomplete: choose an item and an operator");
        }
    }
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(HostRoot()->Count(), 1);
    EXPECT_EQ(control->RowCount(), 4);

    // A between condition missing its second value is incomplete too, not read past its end.
    host->items.push_back(std::move(gone));
    ASSERT_TRUE(control->IsValid());
    // The message says what such a row lacks.
    const std::pair<TcxFilterControlOperator, const char*> lacking[] = {
        {fcoBetween, "Row 2 is incomplete: enter both values"},
        {fcoInList, "Row 2 is incomplete: enter a value"},
    };
    for (auto [op, message] : lacking) {
        SetValues(ConditionRow(2), op, op == fcoBetween ? std::vector<Variant>{Variant(1)} : std::vector<Variant>{});
        EXPECT_FALSE(control->IsValid());
        try {
            control->ApplyFilter();
            ADD_FAILURE() << "an incomplete row passed";
        } catch (const EcxFilterControlError& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_EQ(HostRoot()->Count(), 1);
    }
}

TEST_F(FilterControlTest, ApplyFilterHandsTheRowsToTheHostAndShowsWhatItKept)
{
    host->Add("Meter", TcxIntegerValueType::Class());
    control->SetLinkComponent(host);
    SetValues(NewCondition(), fcoBetween, {9, 3});
    new TcxGroupViewInfo(control, control->Root(), nullptr);
    control->RebuildRowList();
    std::vector<int> lockDuringEvent;
    control->OnApplyFilter = [&](TObject* sender) {
        EXPECT_EQ(sender, control);
        lockDuringEvent.push_back(host->criteria.LockCount());
    };
    control->ApplyFilter();
    EXPECT_EQ(lockDuringEvent, std::vector<int>{1});
    // The empty group does not survive the copy into the host, so the builder loses it too.
    ASSERT_EQ(HostRoot()->Count(), 1);
    EXPECT_EQ(Condition(HostRoot(), 0)->DisplayValue(), "3;9");
    EXPECT_EQ(control->RowCount(), 2);

    // A raising handler still ends the host's update and rebuilds the rows, then propagates.
    control->OnApplyFilter = [](TObject*) { throw Exception("refused"); };
    EXPECT_THROW(control->ApplyFilter(), Exception);
    EXPECT_EQ(host->criteria.LockCount(), 0);
    EXPECT_EQ(control->RowCount(), 2);

    // Without a host criteria nothing happens.
    host->hasCriteria = false;
    int calls = 0;
    control->OnApplyFilter = [&](TObject*) { ++calls; };
    control->ApplyFilter();
    EXPECT_EQ(calls, 0);
}

TEST_F(FilterControlTest, NewConditionsTakeTheFirstItemAndItsFirstOperator)
{
    host->Add("Tariff", TcxIntegerValueType::Class());
    host->Add("Address");
    host->Add("Meter");
    control->SetLinkComponent(host);
    TcxConditionViewInfo* first = NewCondition();
    EXPECT_EQ(first->ItemText(), "Tariff");
    EXPECT_EQ(first->Operator(), fcoEqual);
    EXPECT_EQ(first->Values()->Count(), 1);
    control->SetSortItems(true);
    TcxConditionViewInfo* sorted = NewCondition();
    EXPECT_EQ(sorted->ItemText(), "Address");
    EXPECT_EQ(sorted->Operator(), fcoLike);
    // Like operators go when the criteria does not support them.
    control->Criteria()->SupportsLike = false;
    sorted->SetItem(2);
    EXPECT_EQ(sorted->Operator(), fcoEqual);
    EXPECT_FALSE(sorted->SupportedOperators().Contains(fcoNotLike));
}

TEST_F(FilterControlTest, FilteringSupportIsAskedOfAPropertiesInstance)
{
    EXPECT_FALSE(IsSupportFiltering({}));
    EXPECT_TRUE(IsSupportFiltering(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>()));
}

TEST_F(FilterControlTest, InitValuesKeepsWhatTheOperatorCanUse)
{
    host->Add("Meter", TcxIntegerValueType::Class());
    control->SetLinkComponent(host);
    TcxConditionViewInfo* row = NewCondition();
    struct Case {
        TcxFilterControlOperator op;
        int before;
        bool keep;
        int after;
    };
    for (const Case c : {Case{fcoBetween, 3, true, 2}, Case{fcoBetween, 1, true, 2}, Case{fcoBetween, 0, true, 2},
                         Case{fcoInList, 4, true, 4}, Case{fcoInList, 0, true, 1}, Case{fcoEqual, 3, true, 1},
                         Case{fcoEqual, 3, false, 1}, Case{fcoBetween, 1, false, 2}}) {
        SCOPED_TRACE(int(c.op) * 100 + c.before);
        SetValues(row, c.op, std::vector<Variant>(std::size_t(c.before), Variant(4)));
        row->InitValues(c.keep);
        EXPECT_EQ(row->Values()->Count(), c.after);
        if (c.keep && c.before > 0) {
            EXPECT_EQ(VarToStr(row->Values()->Items(0)->Value), "4");
        }
    }
}

TEST_F(FilterControlTest, SaveToFileReplacesTheFileOnlyWhenTheWriteCompletes)
{
    host->Add("Meter");
    control->SetLinkComponent(host);
    SetValues(NewCondition(), fcoEqual, {Variant("old")});
    fs::path folder = fs::temp_directory_path() / ("fbmodel-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::path file = folder / "meters.flt";
    control->SaveToFile(file.string());
    std::vector<char> before = FileBytes(file);
    ASSERT_FALSE(before.empty());

    SetValues(ConditionRow(1), fcoEqual, {Variant("new")});
    host->failNames = true;   // the write stops after the version marker and the root's header
    EXPECT_THROW(control->SaveToFile(file.string()), EWriteError);
    host->failNames = false;
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    control->SaveToFile(file.string());
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_ANY_THROW(control->SaveToFile((folder / "missing" / "x.flt").string()));
    control->SaveToFile(file.string());
    control->Clear();
    control->LoadFromFile(file.string());
    ASSERT_EQ(control->RowCount(), 2);
    EXPECT_EQ(ConditionRow(1)->Values()->Items(0)->ValueText, "new");
    fs::remove_all(folder);
}

TEST_F(FilterControlTest, LinkComponentMustBeAHostAndGoesWithIt)
{
    host->Add("Meter");
    host->criteria.AddItem(HostRoot(), host->GetFilterItemLink(0), foEqual, Variant("A"), "A");
    auto* plain = new TComponent(form);
    control->SetLinkComponent(plain);
    EXPECT_EQ(control->LinkComponent(), nullptr);
    control->SetLinkComponent(host);
    EXPECT_EQ(control->RowCount(), 2);
    EXPECT_TRUE(control->HasItems());
    host->Free();
    host = nullptr;
    EXPECT_EQ(control->LinkComponent(), nullptr);
    EXPECT_EQ(control->RowCount(), 1);
    EXPECT_FALSE(control->HasItems());
}

// The real vertical grid as host: a ".flt" with conditions on two editor rows reloads onto both.
TEST_F(FilterControlTest, AFileWithConditionsOnTwoGridRowsReloadsOntoBoth)
{
    auto* vgrid = new TcxVirtualVerticalGrid(form);
    for (const char* caption : {"Meter", "Tariff"}) {
        auto* row = vgrid->Add<TcxEditorRow>();
        row->Properties()->SetCaption(caption);
        row->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
    }
    ASSERT_EQ(vgrid->GetFilterCount(), 2);
    control->SetLinkComponent(vgrid);
    SetValues(NewCondition(), fcoEqual, {Variant("A")});
    TcxConditionViewInfo* second = NewCondition();
    second->SetItem(1);
    SetValues(second, fcoEqual, {Variant("B")});
    control->ApplyFilter();
    ASSERT_EQ(vgrid->DataController()->Filter()->Root()->Count(), 2);

    fs::path file = fs::temp_directory_path() / ("fbmodel-grid-" + std::to_string(::getpid()) + ".flt");
    control->SaveToFile(file.string());
    control->Clear();
    control->LoadFromFile(file.string());
    fs::remove(file);
    ASSERT_EQ(control->RowCount(), 3);
    EXPECT_EQ(ConditionRow(1)->ItemLink(), vgrid->GetFilterItemLink(0));
    EXPECT_EQ(ConditionRow(2)->ItemLink(), vgrid->GetFilterItemLink(1));
    EXPECT_EQ(ConditionRow(2)->ItemText(), "Tariff");
}

} // namespace
