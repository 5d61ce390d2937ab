#include <gtest/gtest.h>

#include <string>

#include "toolkit/data/cxFilterConsts.h"
#include "toolkit/data/cxLike.h"

using namespace cx;

TEST(CxLike, MatchTable)
{
    struct Case {
        const char* text;
        const char* pattern;
        char percent, underscore;
        bool match;
    } cases[] = {
        {"abc", "a%c", '%', '_', true},
        {"abc", "a_c", '%', '_', true},
        {"abc", "%", '%', '_', true},
        {"abc", "abc%", '%', '_', true},
        {"abc", "%abc", '%', '_', true},
        {"abc", "A%C", '%', '_', false},
        {"ab", "ab_", '%', '_', false},
        {"", "%", '%', '_', true},
        {"", "", '%', '_', true},
        {"a", "", '%', '_', false},
        {"a", "a%%", '%', '_', true},
        {"abbbc", "a*c", '*', '?', true},
        {"abc", "a%c", '*', '?', false},
        {"a%c", "a%c", '*', '?', true},
        {"abc", "a?c", '*', '?', true},
        {"mississippi", "%iss%ppi", '%', '_', true},
        {"mississippi", "%iss%ppx", '%', '_', false},
        {"电表地址", "电_地址", '%', '_', true},     // underscore takes a whole character
        {"电表地址", "电__地址", '%', '_', false},
        {"电表地址", "%地%", '%', '_', true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LikeStr(c.text, c.pattern, c.percent, c.underscore), c.match) << c.text << " / " << c.pattern;
}

TEST(CxLike, EscapedWildcardsAreOrdinary)
{
    EXPECT_TRUE(LikeMatch("50%", "50!%", '!', '_', '%'));
    EXPECT_FALSE(LikeMatch("500", "50!%", '!', '_', '%'));
    EXPECT_TRUE(LikeMatch("a_b", "a!_b", '!', '_', '%'));
    EXPECT_FALSE(LikeMatch("axb", "a!_b", '!', '_', '%'));
    EXPECT_TRUE(LikeMatch("a!b", "a!!b", '!', '_', '%'));
    EXPECT_TRUE(LikeMatch("ab", "ab!", '!', '_', '%'));   // an escape at the end is ignored
}

TEST(CxLike, ManyPercentsStayFast)
{
    // Back-tracking over every percent would take ages here.
    std::string text(5000, 'a');
    EXPECT_FALSE(LikeStr(text, "%a%a%a%a%a%a%a%a%a%a%a%a%b"));
    EXPECT_TRUE(LikeStr(text + "b", "%a%a%a%a%a%a%a%a%a%a%a%a%b"));
}

TEST(CxLike, OperatorByPattern)
{
    struct Case {
        const char* pattern;
        cxLike::TcxFilterLikeOperator kind;
        const char* rest;
    } cases[] = {
        {"%x%", floContains, "x"},   {"x%", floBeginsWith, "x"}, {"%x", floEndsWith, "x"},
        {"%", floLike, "%"},         {"%%ab%%%", floContains, "ab"}, {"a%b", floLike, "a%b"},
        {"%%", floLike, "%"},        {"", floLike, ""},
    };
    for (const Case& c : cases) {
        std::string p = c.pattern;
        EXPECT_EQ(LikeOperatorByPattern(p, '%'), c.kind) << c.pattern;
        EXPECT_EQ(p, c.rest) << c.pattern;
    }
}

TEST(CxFilterConsts, CaptionsAndRegistration)
{
    ASSERT_EQ(cxFilterResourceStringTable().size(), 50u);
    EXPECT_EQ(cxSFilterString(&cxSFilterOperatorEqual), "equals");
    EXPECT_EQ(cxSFilterOperatorLessEqual.Identifier, 65535);
    EXPECT_STREQ(cxSFilterBoxNonBlanksCaption.Text, "(NonBlanks)");
    cxFilterGetResourceStringFunc = [](const TResStringRec* r) { return std::string("[") + r->Text + "]"; };
    EXPECT_EQ(cxSFilterString(&cxSFilterAndCaption), "[and]");
    cxFilterGetResourceStringFunc = nullptr;

    cxFilterConstsUnit::Initialize();
    cxFilterConstsUnit::Initialize();
    int index = dxResourceStringsRepository()->GetProductIndexByName(cxFilterProductKey);
    ASSERT_GE(index, 0);
    EXPECT_EQ(dxResourceStringsRepository()->GetProducts(index)->GetResStringsCount(), 50);
    cxFilterConstsUnit::Finalize();
    EXPECT_GE(dxResourceStringsRepository()->GetProductIndexByName(cxFilterProductKey), 0);
    cxFilterConstsUnit::Finalize();
    EXPECT_LT(dxResourceStringsRepository()->GetProductIndexByName(cxFilterProductKey), 0);
}
