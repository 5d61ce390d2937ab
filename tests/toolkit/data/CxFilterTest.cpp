#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/rtl/Locale.h"
#include "tests/toolkit/data/FilterTestCriteria.h"
#include "toolkit/data/cxDataUtils.h"

using namespace cx;
using namespace cxtest;
namespace fs = std::filesystem;

namespace {

const fs::path FixtureDir = fs::path(AMMERLIN_TESTS_DIR) / "toolkit/data" / "fixtures";

std::vector<Byte> FileBytes(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Today is Friday 2024-03-15, weeks start on Monday.
struct FilterFixture : ::testing::Test {
    void SetUp() override
    {
        previous = SetLocaleService(std::make_unique<FixedLocaleService>(EncodeDate(2024, 3, 15) + 0.4));
        SetStartOfWeek(1);
    }
    void TearDown() override
    {
        SetStartOfWeek(10);
        cxFilterIncludeTodayInLastNextDaysList = true;
        SetLocaleService(std::move(previous));
    }
    std::unique_ptr<ILocaleService> previous;
    TcxDataStorage storage;
    TTestCriteria criteria{&storage};
};

Variant Between(const Variant& a, const Variant& b)
{
    Variant v;
    VarBetweenArrayCreate(v, a, b);
    return v;
}

Variant List(std::initializer_list<Variant> values)
{
    Variant v;
    for (const Variant& x : values) {
        if (v.IsEmpty())
            VarListArrayCreate(v, x);
        else
            VarListArrayAddValue(v, x);
    }
    return v;
}

} // namespace

TEST_F(FilterFixture, EveryOperatorOverOneValue)
{
    TTestField* f = criteria.AddField(1, "F", TcxVariantValueType::Class());
    int r = storage.AppendRecord();
    TDateTime today = EncodeDate(2024, 3, 15);
    struct Case {
        TcxFilterOperatorKind kind;
        Variant data, value;
        bool pass;
    } cases[] = {
        {foEqual, 5, 5, true},          {foEqual, 5, "5", true},        {foNotEqual, 5, 6, true},
        {foLess, 4, 5, true},           {foLess, 5, 5, false},          {foLessEqual, 5, 5, true},
        {foGreater, 6, 5, true},        {foGreaterEqual, 4, 5, false},  {foLike, "abc", "a%", true},
        {foLike, "abc", "A%", false},   {foNotLike, "abc", "%x%", true}, {foLike, Null, "%", true},
        {foLike, Null, "_%", false},    {foBetween, 1, Between(1, 5), true}, {foBetween, 5, Between(1, 5), true},
        {foBetween, 6, Between(1, 5), false}, {foNotBetween, 6, Between(1, 5), true},
        {foInList, 2, List({1, 2, 3}), true}, {foInList, 4, List({1, 2, 3}), false},
        {foNotInList, 4, List({1, 2, 3}), true}, {foEqual, Null, Null, true}, {foEqual, 1, Null, false},
        {foNotEqual, 1, Null, true},    {foNotEqual, Null, Null, false},
        {foToday, Variant::FromDate(today + 0.999), Null, true},
        {foToday, Variant::FromDate(today + 1), Null, false},
        {foYesterday, Variant::FromDate(today - 0.5), Null, true},
        {foTomorrow, Variant::FromDate(today + 1.5), Null, true},
        {foInPast, Variant::FromDate(today), Null, false}, {foInPast, Variant::FromDate(today - 0.1), Null, true},
        {foInFuture, Variant::FromDate(today + 0.9), Null, false}, {foInFuture, Variant::FromDate(today + 1), Null, true},
        {foThisWeek, Variant::FromDate(EncodeDate(2024, 3, 11)), Null, true},
        {foThisWeek, Variant::FromDate(EncodeDate(2024, 3, 18)), Null, false},
        {foLastWeek, Variant::FromDate(EncodeDate(2024, 3, 4)), Null, true},
        {foLastTwoWeeks, Variant::FromDate(EncodeDate(2024, 2, 26)), Null, true},
        {foNextWeek, Variant::FromDate(EncodeDate(2024, 3, 24)), Null, true},
        {foNextTwoWeeks, Variant::FromDate(EncodeDate(2024, 3, 31)), Null, true},
        {foLast7Days, Variant::FromDate(EncodeDate(2024, 3, 9)), Null, true},
        {foLast7Days, Variant::FromDate(EncodeDate(2024, 3, 8)), Null, false},
        {foLast14Days, Variant::FromDate(EncodeDate(2024, 3, 2)), Null, true},
        {foLast30Days, Variant::FromDate(EncodeDate(2024, 2, 15)), Null, true},
        {foNext7Days, Variant::FromDate(EncodeDate(2024, 3, 21)), Null, true},
        {foNext7Days, Variant::FromDate(EncodeDate(2024, 3, 22)), Null, false},
        {foNext14Days, Variant::FromDate(EncodeDate(2024, 3, 28)), Null, true},
        {foNext30Days, Variant::FromDate(EncodeDate(2024, 4, 13)), Null, true},
        {foLastMonth, Variant::FromDate(EncodeDate(2024, 2, 29)), Null, true},
        {foThisMonth, Variant::FromDate(EncodeDate(2024, 3, 31)), Null, true},
        {foNextMonth, Variant::FromDate(EncodeDate(2024, 4, 1)), Null, true},
        {foLastYear, Variant::FromDate(EncodeDate(2023, 12, 31)), Null, true},
        {foThisYear, Variant::FromDate(EncodeDate(2024, 1, 1)), Null, true},
        {foNextYear, Variant::FromDate(EncodeDate(2025, 6, 1)), Null, true},
        {foToday, Null, Null, false},
    };
    for (const Case& c : cases) {
        criteria.Clear();
        criteria.AddItem(nullptr, f, c.kind, c.value, "");
        storage.SetValue(r, f->Def, c.data);
        EXPECT_EQ(criteria.Filter(r), c.pass) << "kind " << c.kind << " data " << VarToStr(c.data) << " value " << VarToStr(c.value);
    }
}

TEST_F(FilterFixture, DateRangesAcrossYearEnds)
{
    TTestField* f = criteria.AddField(1, "D", TcxDateTimeValueType::Class());
    auto range = [&](TcxFilterOperatorKind kind) {
        criteria.Clear();
        auto* op = static_cast<TcxFilterDateOperator*>(criteria.AddItem(nullptr, f, kind, Null, "")->Operator());
        return std::make_pair(op->Start(), op->End());
    };
    EXPECT_EQ(range(foThisWeek), std::make_pair(EncodeDate(2024, 3, 11), EncodeDate(2024, 3, 18)));
    EXPECT_EQ(range(foLastTwoWeeks), std::make_pair(EncodeDate(2024, 2, 26), EncodeDate(2024, 3, 11)));
    EXPECT_EQ(range(foNextWeek), std::make_pair(EncodeDate(2024, 3, 18), EncodeDate(2024, 3, 25)));
    EXPECT_EQ(range(foLast7Days), std::make_pair(EncodeDate(2024, 3, 9), EncodeDate(2024, 3, 16)));
    cxFilterIncludeTodayInLastNextDaysList = false;
    EXPECT_EQ(range(foLast7Days), std::make_pair(EncodeDate(2024, 3, 8), EncodeDate(2024, 3, 15)));
    cxFilterIncludeTodayInLastNextDaysList = true;
    static_cast<FixedLocaleService&>(const_cast<ILocaleService&>(LocaleService())).SetNow(EncodeDate(2024, 11, 20));
    EXPECT_EQ(range(foNextMonth), std::make_pair(EncodeDate(2024, 12, 1), EncodeDate(2025, 1, 1)));
    static_cast<FixedLocaleService&>(const_cast<ILocaleService&>(LocaleService())).SetNow(EncodeDate(2024, 12, 20));
    EXPECT_EQ(range(foNextMonth), std::make_pair(EncodeDate(2025, 1, 1), EncodeDate(2025, 2, 1)));
    EXPECT_EQ(range(foThisMonth), std::make_pair(EncodeDate(2024, 12, 1), EncodeDate(2025, 1, 1)));
    static_cast<FixedLocaleService&>(const_cast<ILocaleService&>(LocaleService())).SetNow(EncodeDate(2024, 1, 5));
    EXPECT_EQ(range(foLastMonth), std::make_pair(EncodeDate(2023, 12, 1), EncodeDate(2024, 1, 1)));
}

TEST_F(FilterFixture, TreesWithAndOrNot)
{
    TTestField* a = criteria.AddField(1, "A", TcxIntegerValueType::Class());
    int r = storage.AppendRecord();
    storage.SetValue(r, a->Def, 1);
    auto leaf = [&](TcxFilterCriteriaItemList* list, bool pass) { criteria.AddItem(list, a, pass ? foEqual : foNotEqual, 1, ""); };
    struct Case {
        TcxFilterBoolOperatorKind kind;
        std::vector<bool> children;
        bool result;
    } cases[] = {
        {fboAnd, {}, true},          {fboNotAnd, {}, true},          {fboAnd, {true, false}, false},
        {fboOr, {false, true}, true}, {fboNotOr, {true, false}, false}, {fboNotOr, {false, false}, true},
        {fboNotAnd, {true, false}, true}, {fboNotAnd, {true, true}, false}, {fboOr, {false}, false},
    };
    for (const Case& c : cases) {
        criteria.Clear();
        TcxFilterCriteriaItemList* list = criteria.Root()->AddItemList(c.kind);
        for (bool pass : c.children)
            leaf(list, pass);
        EXPECT_EQ(criteria.Filter(r), c.result) << c.kind << " with " << c.children.size();
    }
    // (A = 1) AND ((A <> 1) OR NOT ((A <> 1)))
    criteria.Clear();
    leaf(nullptr, true);
    TcxFilterCriteriaItemList* orList = criteria.Root()->AddItemList(fboOr);
    leaf(orList, false);
    leaf(orList->AddItemList(fboNotAnd), false);
    EXPECT_TRUE(criteria.Filter(r));
}

TEST_F(FilterFixture, SoftCompareIgnoreNullAndCase)
{
    TTestField* f = criteria.AddField(1, "F", TcxVariantValueType::Class());
    int r = storage.AppendRecord();
    storage.SetValue(r, f->Def, "abc");
    criteria.AddItem(nullptr, f, foToday, Null, "");
    EXPECT_THROW(criteria.Filter(r), EVariantError);
    criteria.SetOptions({fcoSoftCompare});
    EXPECT_FALSE(criteria.Filter(r));

    criteria.Clear();
    criteria.AddItem(nullptr, f, foEqual, "ABC", "");
    EXPECT_FALSE(criteria.Filter(r));
    criteria.SetOptions({fcoCaseInsensitive});
    EXPECT_TRUE(criteria.Filter(r));

    criteria.Clear();
    storage.SetValue(r, f->Def, "");
    criteria.AddItem(nullptr, f, foLess, "z", "");
    EXPECT_TRUE(criteria.Filter(r));
    criteria.SetOptions({fcoIgnoreNull, fcoSoftNull});
    EXPECT_FALSE(criteria.Filter(r));
    criteria.Clear();
    criteria.AddItem(nullptr, f, foEqual, Null, "");   // a null operator still sees soft nulls
    EXPECT_TRUE(criteria.Filter(r));
}

TEST_F(FilterFixture, FilterTextAndCaption)
{
    TTestField* name = criteria.AddField(1, "Name", TcxStringValueType::Class(), "名称");
    TTestField* age = criteria.AddField(2, "Age", TcxIntegerValueType::Class());
    auto text = [&](TcxFilterOperatorKind kind, TTestField* f, const Variant& v, const std::string& display = {}) {
        criteria.Clear();
        criteria.AddItem(nullptr, f, kind, v, display);
        return std::make_pair(criteria.GetFilterText(), criteria.GetFilterCaption());
    };
    EXPECT_EQ(criteria.GetFilterCaption(), "");
    criteria.AddItem(nullptr, name, foEqual, "abc", "abc");
    criteria.AddItem(nullptr, age, foGreater, 3, "3");
    EXPECT_EQ(criteria.GetFilterText(), "(Name = 'abc') AND (Age > 3)");
    EXPECT_EQ(criteria.GetFilterCaption(), "(名称 = abc) and (Age > 3)");

    criteria.Clear();
    criteria.Root()->SetBoolOperatorKind(fboOr);
    criteria.AddItem(nullptr, age, foEqual, 1, "1");
    TcxFilterCriteriaItemList* notList = criteria.Root()->AddItemList(fboNotAnd);
    criteria.AddItem(notList, age, foEqual, 2, "2");
    criteria.AddItem(notList, name, foEqual, "x", "x");
    EXPECT_EQ(criteria.GetFilterText(), "(Age = 1) OR (NOT ((Age = 2) AND (Name = 'x')))");
    EXPECT_EQ(criteria.GetFilterCaption(), "(Age = 1) or (not ((Age = 2) and (名称 = x)))");

    EXPECT_EQ(text(foBetween, age, Between(1, 5), "1;5"), std::make_pair(std::string("(Age BETWEEN 1 AND 5)"), std::string("(Age between 1 and 5)")));
    EXPECT_EQ(text(foInList, age, List({1, 2, 3}), "1;2;3").first, "(Age IN (1, 2, 3))");
    EXPECT_EQ(criteria.GetFilterCaption(), "(Age in (1, 2, 3))");
    EXPECT_EQ(text(foEqual, name, "O'Brien").first, "(Name = 'O''Brien')");
    EXPECT_EQ(text(foEqual, name, Null), std::make_pair(std::string("(Name = NULL)"), std::string("(名称 = blank)")));
    EXPECT_EQ(text(foLike, name, "abc%", "abc%").second, "(名称 LIKE abc%)");
    criteria.SetOptions({fcoShowOperatorDescription});
    EXPECT_EQ(text(foEqual, name, Null).second, "(名称 is blank)");
    EXPECT_EQ(text(foLike, name, "abc%", "abc%").second, "(名称 begins with abc)");
    EXPECT_EQ(text(foNotLike, name, "%c", "%c").second, "(名称 does not end with c)");
    criteria.SetOptions({});
    criteria.NotLikeAsNegation = true;
    EXPECT_EQ(text(foNotLike, name, "x").first, "( NOT (Name LIKE 'x'))");
    criteria.BetweenAsComparisons = true;
    EXPECT_EQ(text(foBetween, age, Between(1, 5)).first, "((Age >= 1) AND (Age <= 5))");
    criteria.InListAsComparisons = true;
    EXPECT_EQ(text(foNotInList, age, List({1, 2, 3})).first, "(NOT ((Age = 1) OR (Age = 2) OR (Age = 3)))");
    criteria.SetDateTimeFormat("yyyy-mm-dd");
    auto today = text(foToday, age, Null);
    EXPECT_EQ(today.first, "((Age >= '2024-03-15') AND (Age < '2024-03-16'))");
    EXPECT_EQ(today.second, "(Age is today)");
    // A condition over two fields.
    TTestField both(9, "A;B", "A;B", nullptr);
    EXPECT_EQ(text(foEqual, &both, VarArrayOf({1, "x"})).first, "((A = 1) AND (B = 'x'))");
}

TEST_F(FilterFixture, StreamFixtureVersion3ReadAndWritten)
{
    criteria.AddField(1, "Name", TcxStringValueType::Class());
    criteria.AddField(2, "Age", TcxIntegerValueType::Class());
    std::vector<Byte> fixture = FileBytes(FixtureDir / "name_or_age_v3.flt");
    ASSERT_EQ(fixture.size(), 67u);

    TMemoryStream in(fixture);
    criteria.ReadData(&in);
    EXPECT_EQ(criteria.LoadedVersion(), 3);
    EXPECT_EQ(criteria.Root()->BoolOperatorKind(), fboOr);
    ASSERT_EQ(criteria.Root()->Count(), 2);
    EXPECT_EQ(criteria.GetFilterText(), "(Name = 'abc') OR (Age > 3)");

    criteria.SetVersion(3);
    TMemoryStream out;
    criteria.WriteData(&out);
    EXPECT_EQ(out.Bytes(), fixture);

    // Written with highest version 2: marker FF FF FF FF and no names; read back by IDs.
    TMemoryStream v2;
    criteria.WriteData(&v2, 2);
    EXPECT_EQ(criteria.SavedVersion(), 2);
    EXPECT_EQ(std::vector<Byte>(v2.Bytes().begin(), v2.Bytes().begin() + 4), (std::vector<Byte>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(v2.Size(), 67 - (4 + 4) - (4 + 3));
    TTestCriteria other(nullptr);
    other.AddField(1, "Name", TcxStringValueType::Class());
    other.AddField(2, "Age", TcxIntegerValueType::Class());
    v2.SetPosition(0);
    other.ReadData(&v2);
    EXPECT_EQ(other.GetFilterText(), criteria.GetFilterText());
    EXPECT_TRUE(other.EqualItems(&criteria, true));

    // A short stream raises; the criteria keeps what it held before, inside a closed update bracket.
    TMemoryStream cut(std::vector<Byte>(fixture.begin(), fixture.begin() + 50));   // inside the second leaf
    EXPECT_THROW(other.ReadData(&cut), EReadError);
    EXPECT_EQ(other.LockCount(), 0);
    EXPECT_EQ(other.GetFilterText(), criteria.GetFilterText());
}

TEST_F(FilterFixture, StreamVersion1AndLinkResolution)
{
    TTestField* name = criteria.AddField(1, "Name", TcxStringValueType::Class());
    TTestField* age = criteria.AddField(2, "Age", TcxIntegerValueType::Class());
    criteria.AddItem(nullptr, name, foEqual, "a", "a");
    criteria.AddItem(nullptr, age, foLess, 9, "9");
    criteria.AddItem(nullptr, age, foGreater, 1, "1");
    criteria.SetVersion(1);
    TMemoryStream v1;
    criteria.WriteData(&v1);
    EXPECT_EQ(std::vector<Byte>(v1.Bytes().begin(), v1.Bytes().begin() + 4), (std::vector<Byte>{3, 0, 0, 0}));
    TTestCriteria other(nullptr);
    other.AddField(1, "Name", TcxStringValueType::Class());
    other.AddField(2, "Age", TcxIntegerValueType::Class());
    v1.SetPosition(0);
    other.ReadData(&v1);
    EXPECT_EQ(other.LoadedVersion(), 1);
    EXPECT_EQ(other.Root()->BoolOperatorKind(), fboAnd);
    EXPECT_EQ(other.Root()->Count(), 3);

    // Version 3: a stored name wins over the ID; a name no field bears is not matched by an ID
    // of a named field, so that condition is dropped.
    criteria.SetVersion(3);
    TMemoryStream v3;
    criteria.WriteData(&v3);
    TTestCriteria renamed(nullptr);
    renamed.AddField(2, "Name", TcxStringValueType::Class());
    renamed.AddField(1, "Other", TcxIntegerValueType::Class());
    v3.SetPosition(0);
    renamed.ReadData(&v3);
    ASSERT_EQ(renamed.Root()->Count(), 1);
    EXPECT_EQ(static_cast<TTestCriteriaItem*>(renamed.Root()->Items(0))->Field()->ID, 2);
    EXPECT_FALSE(renamed.EqualItems(&criteria, false));
}

TEST_F(FilterFixture, RemovingALinkTidiesTheTree)
{
    TTestField* a = criteria.AddField(1, "A", TcxIntegerValueType::Class());
    TTestField* b = criteria.AddField(2, "B", TcxIntegerValueType::Class());
    TTestField* c = criteria.AddField(3, "C", TcxIntegerValueType::Class());
    int changes = 0;
    criteria.OnChanged = [&](TObject*) { ++changes; };
    criteria.AddItem(nullptr, a, foEqual, 1, "1");
    TcxFilterCriteriaItemList* orList = criteria.Root()->AddItemList(fboOr);
    criteria.AddItem(orList, b, foEqual, 2, "2");
    criteria.AddItem(orList, c, foEqual, 3, "3");
    changes = 0;
    criteria.RemoveItemByItemLink(b);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(criteria.GetFilterText(), "(A = 1) AND (C = 3)");
    EXPECT_EQ(criteria.FindItemByItemLink(b), nullptr);
    criteria.RemoveItemByItemLink(b);
    EXPECT_EQ(changes, 1);

    // Assign copies settings and items; the copy equals the source.
    TTestCriteria copy(&storage);
    copy.Fields = {};
    for (TTestField* f : criteria.Fields)
        copy.Fields.push_back(new TTestField(f->ID, f->Name, f->Caption, f->Def));
    criteria.SetOptions({fcoCaseInsensitive});
    copy.Assign(&criteria);
    EXPECT_TRUE(copy.Options().Contains(fcoCaseInsensitive));
    EXPECT_EQ(copy.GetFilterText(), "(A = 1) AND (C = 3)");
    EXPECT_TRUE(copy.EqualItems(&criteria, false));
}

TEST_F(FilterFixture, ValueListOrderAndLookup)
{
    TcxFilterValueList list(&criteria);
    list.Add(fviAll, Null, "(All)");
    for (int v : {3, 1, 2, 2})
        list.Add(fviValue, v, std::to_string(v));
    list.Add(fviCustom, Null, "(Custom...)");
    list.Add(fviBlanks, Null, "(Blanks)");
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.GetStartValueIndex(), 3);
    EXPECT_EQ(list.Items(3)->Value.ToInteger(), 1);
    EXPECT_EQ(list.Items(5)->Value.ToInteger(), 3);
    EXPECT_EQ(list.FindItemByValue(2), 4);
    list.Add(fviMRU, 3, "3");
    EXPECT_EQ(list.Items(0)->Kind, fviMRU);
    EXPECT_EQ(list.Items(1)->Kind, fviMRUSeparator);
    EXPECT_EQ(list.GetMRUSeparatorIndex(), 1);
    EXPECT_EQ(list.FindItemByValue(3), 0);   // the MRU entry is found first

    TTestField* f = criteria.AddField(1, "F", TcxVariantValueType::Class());
    EXPECT_EQ(list.GetIndexByCriteriaItem(nullptr), list.FindItemByKind(fviAll));
    EXPECT_EQ(list.GetIndexByCriteriaItem(criteria.AddItem(nullptr, f, foGreater, 1, "1")), list.FindItemByKind(fviCustom));
    EXPECT_EQ(list.GetIndexByCriteriaItem(criteria.AddItem(nullptr, f, foEqual, Null, "")), list.FindItemByKind(fviBlanks));
    EXPECT_EQ(list.GetIndexByCriteriaItem(criteria.AddItem(nullptr, f, foNotEqual, Null, "")), -1);
    EXPECT_EQ(list.GetIndexByCriteriaItem(criteria.AddItem(nullptr, f, foEqual, 2, "2")), list.FindItemByValue(2));

    TcxFilterValueList full(&criteria);
    criteria.SetMaxValueListCount(2);
    full.Add(fviAll, Null, "(All)");
    full.Add(fviCustom, Null, "(Custom...)");
    full.Add(fviValue, 1, "1");
    EXPECT_EQ(full.Count(), 2);
    criteria.SetMaxValueListCount(0);

    TcxFilterValueList byText(&criteria);
    byText.SortByDisplayText = true;
    byText.Add(fviValue, 1, "b");
    byText.Add(fviValue, 2, "a");
    byText.Add(fviValue, 0, "a");
    EXPECT_EQ(byText.Items(0)->Value.ToInteger(), 0);
    EXPECT_EQ(byText.Items(1)->Value.ToInteger(), 2);
    EXPECT_EQ(byText.Items(2)->DisplayText, "b");

    TcxFilterValueList caseless(&criteria);
    criteria.SetOptions({fcoCaseInsensitive});
    caseless.Add(fviValue, "abc", "abc");
    caseless.Add(fviValue, "ABC", "ABC");
    EXPECT_EQ(caseless.Count(), 1);
}
