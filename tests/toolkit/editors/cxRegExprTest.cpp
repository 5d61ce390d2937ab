#include "tests/toolkit/editors/MaskTestSupport.h"
#include "toolkit/editors/cxRegExpr.h"

#include <vector>

using namespace cx;

namespace {

class RegExpr : public MaskLocaleTest {
protected:
    // The full messages of the errors compiling expr raises, or "" when it compiles.
    std::vector<std::string> Errors(const char* expr)
    {
        std::vector<std::string> result;
        TcxRegExpr e;
        try {
            e.Compile(U(expr));
        } catch (const EcxRegExprError& error) {
            for (int i = 0; i < error.Errors.Count(); ++i)
                result.push_back(error.Errors.Items(i).GetFullMessage());
        }
        return result;
    }
    std::string FirstError(const char* expr)
    {
        auto errors = Errors(expr);
        return errors.empty() ? "" : errors[0];
    }
};

TEST_F(RegExpr, MatchesWholeTexts)
{
    struct Case { const char* expr; const char* text; bool valid; bool full; };
    const Case cases[] = {
        {"a b", "ab", true, true},                // spaces between lexems are ignored
        {"'a b'", "a b", true, true},
        {"'it''s'", "it's", true, true},          // a doubled quote inside quotes
        {"\\x20a", " a", true, true},
        {"\\0", "0", true, true},
        {"[a-]+", "a-a", true, true},
        {"[-a]+", "-a-", true, true},             // a leading "-" is a symbol too
        {"[--0]", "/", true, true},               // ... and may start a range
        {"[^0-9]", "x", true, true},
        {"[^0-9]", "5", false, false},
        {"a{2,4}", "a", true, false},
        {"a{2,4}", "aa", true, true},
        {"a{2,4}", "aaaa", true, true},
        {"a{2,4}", "aaaaa", false, false},
        {"a{2,}", "aaaaaa", true, true},
        {"a{0}b", "b", true, true},
        {"(ab)\\1", "abab", true, true},          // a reference clones the block
        {"x(a?)", "x", true, true},               // a trailing block that can match nothing
        {"a*?b", "aab", true, true},              // (a*)?
        {"a+*", "aaa", true, true},               // (a+)*
        {"\\d\\d/\\d\\d", "12.34", true, true},   // "/" is the locale's date separator
        {"\\w+\\s\\W", "a_1 !", true, true},
        {"\\p", ",", true, true},                 // the locale's decimal separator
        {"A", "a", true, true},                   // case-insensitive by default
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cxRegExpr::IsTextValid(U(c.text), U(c.expr)), c.valid) << c.expr << " / " << c.text;
        EXPECT_EQ(cxRegExpr::IsTextFullValid(U(c.text), U(c.expr)), c.full) << c.expr << " / " << c.text;
    }
}

TEST_F(RegExpr, ReportsErrorsWithTheirPosition)
{
    struct Case { const char* expr; const char* message; };
    const Case cases[] = {
        {"a)(", "Line1, Char2: Illegal ')'"},
        {"ab)", "Unnecessary ')'"},
        {"(ab", "Missing ')'"},
        {"'ab", "Line1, Char4: Missing '''"},
        {"\\1", "Line1, Char1: Too big reference number"},
        {"[a-a]", "Line1, Char4: The starting character of the subrange must be less than the finishing one"},
        {"[]", "Line1, Char2: Can't create empty enumeration"},
        {"[ab", "Line1, Char4: Missing ']'"},
        {"(a|)", "Line1, Char4: The block should not be empty"},
        {"()", "Line1, Char2: The block should not be empty"},
        {"(|a)", "Line1, Char2: The alternative should not be empty"},
        {"|a", "Line1, Char1: The alternative should not be empty"},
        {"a|", "The alternative should not be empty"},
        {"a**", "Line1, Char3: The '*' quantifier cannot be applied here"},
        {"a?*", "Line1, Char3: The '*' quantifier cannot be applied here"},
        {"a?+", "Line1, Char3: The '+' quantifier cannot be applied here"},
        {"*a", "Line1, Char1: Illegal quantifier '*'"},
        {"a{3,1}", "Line1, Char2: Incorrect parameter quantifier"},
        {"a{2", "Line1, Char4: Missing '}'"},
        {"a{x}", "Line1, Char3: Illegal 'x'"},
        {"a?{2}", "Line1, Char3: The parameter quantifier cannot be applied here"},
        {"a{1001}", "Line1, Char2: Incorrect parameter quantifier"},
        {"a{99999999999999999999999}", "Line1, Char2: Incorrect parameter quantifier"},
        {"\\xg0", "Line1, Char3: Hexadecimal number expected but 'g' found"},
        {"\\x4", "Line1, Char4: Hexadecimal number expected"},
        {"\\ ", "Line1, Char2: The space character is not allowed after '\\'"},
        {"ab\r\n)", "Unnecessary ')'"},
        {"ab\r\n)(", "Line2, Char1: Illegal ')'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstError(c.expr), c.message) << c.expr;
}

TEST_F(RegExpr, CollectsSeveralErrorsInOneException)
{
    TcxRegExpr e;
    try {
        e.Compile(u"[b-a]\\1[]");
        FAIL() << "compiled";
    } catch (const EcxRegExprError& error) {
        ASSERT_EQ(error.Errors.Count(), 3);
        EXPECT_EQ(error.Message, error.Errors.Items(0).GetFullMessage() + "\r\n" + error.Errors.Items(1).GetFullMessage() +
                                     "\r\n" + error.Errors.Items(2).GetFullMessage());
    }
    EXPECT_FALSE(e.IsCompiled());
    EXPECT_THROW(e.Reset(), EcxEditError);
    EXPECT_EQ(FirstError("   "), "The source stream is empty");
    EXPECT_THROW(e.Compile(static_cast<TStream*>(nullptr)), EcxRegExprError);
}

TEST_F(RegExpr, HugeCountsAreRefusedBeforeAnythingIsBuilt)
{
    EXPECT_EQ(FirstError("a{100000000}"), "Line1, Char2: Incorrect parameter quantifier");
    // Each count is allowed alone; their product would be a million states.
    EXPECT_EQ(FirstError("((a{1000}){1000}){1000}"), "Line1, Char11: Incorrect parameter quantifier");
    TcxRegExpr e;
    e.Compile(u"a{1000}");
    EXPECT_LT(e.StateCount(), 1010);
}

// Masks come from code, but no expression may exhaust the machine: deep nesting is refused with
// the parser's error instead of running the stack out, and what compiles is linear in its length.
TEST_F(RegExpr, DeepNestingIsRefusedAndLongExpressionsStayLinear)
{
    auto nested = [](int depth, const std::string& inner) {
        return std::string(depth, '(') + inner + std::string(depth, ')');
    };
    EXPECT_EQ(Errors(nested(20000, "a").c_str()),
              std::vector<std::string>{"Line1, Char1025: The blocks are nested too deeply"});
    EXPECT_EQ(FirstError(("a" + std::string(2000, '?')).c_str()), "Line1, Char1026: The blocks are nested too deeply");
    // Optional copies nest as well: within the bound they compile, beyond it they are refused.
    EXPECT_EQ(FirstError(nested(30, "a{0,1000}").c_str()), "Line1, Char32: The blocks are nested too deeply");
    EXPECT_TRUE(cxRegExpr::IsTextFullValid(U(std::string(1000, 'a')), U(nested(3, "a{0,1000}"))));
    EXPECT_TRUE(cxRegExpr::IsTextFullValid(u"a", U(nested(1024, "a"))));

    // A run of optional items: one junction each, not a link from each to every later one.
    TcxRegExpr optional;
    std::string expr;
    for (int i = 0; i < 16000; ++i)
        expr += "a?";
    optional.Compile(U(expr));
    EXPECT_EQ(optional.StateCount(), 1 + 16000 + 15999);
    EXPECT_TRUE(optional.IsFinal());
    for (int i = 0; i < 3; ++i) {
        char16_t a = u'a';
        ASSERT_TRUE(optional.Next(a)) << i;
    }
    char16_t b = u'b';
    EXPECT_FALSE(optional.Next(b));
    EXPECT_TRUE(optional.IsFinal());
    EXPECT_TRUE(cxRegExpr::IsTextFullValid(u"aaaa", u"a?a?a?a?"));
    EXPECT_FALSE(cxRegExpr::IsTextValid(u"aaaaa", u"a?a?a?a?"));
    // A reference copies its block; blocks that nothing names keep no copy of themselves.
    EXPECT_TRUE(cxRegExpr::IsTextFullValid(u"abab", U(nested(500, "ab") + "\\1")));
}

TEST_F(RegExpr, StateSetsHoldEachStateOnce)
{
    TcxRegExpr e;
    e.Compile(u"((a|a)|(a|a))*");
    for (int i = 0; i < 50; ++i) {
        char16_t ch = u'a';
        ASSERT_TRUE(e.Next(ch));
    }
    EXPECT_TRUE(e.IsFinal());
    // Four "a" states in all: a set can never hold more.
    EXPECT_EQ(e.StateCount(), 1 + 4 + 2 * 3);
}

TEST_F(RegExpr, AutomatonStepsAndStepsBack)
{
    TcxRegExpr e;
    e.Compile(u"ab*");
    EXPECT_TRUE(e.IsStart());
    EXPECT_FALSE(e.Prev());   // nothing to step back from
    char16_t a = u'a', b = u'b', x = u'x';
    ASSERT_TRUE(e.Next(a));
    EXPECT_TRUE(e.IsFinal());
    for (int i = 0; i < 3; ++i) {
        char16_t c = b;
        ASSERT_TRUE(e.Next(c));
    }
    EXPECT_TRUE(e.IsFinal());
    EXPECT_FALSE(e.Next(x));
    EXPECT_TRUE(e.IsFinal());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(e.Prev());
    EXPECT_TRUE(e.IsStart());

    TcxRegExpr alt;
    alt.Compile(u"(ab|ax)");
    char16_t c = u'a';
    ASSERT_TRUE(alt.Next(c));
    EXPECT_FALSE(alt.IsFinal());
    c = u'x';
    EXPECT_TRUE(alt.Next(c));
    EXPECT_TRUE(alt.IsFinal());

    TcxRegExpr upper;
    upper.Compile(u"A");
    char16_t lower = u'a';
    EXPECT_TRUE(upper.Next(lower));
    EXPECT_EQ(lower, u'A');
    upper.Reset();
    upper.CaseInsensitive = false;
    lower = u'a';
    EXPECT_FALSE(upper.Next(lower));
}

TEST_F(RegExpr, CompletionInsertsAndTakesBackForcedCharacters)
{
    TcxRegExpr e;
    std::string log;
    e.OnSymbolUpdate = [&](char16_t ch) { log += S(std::u16string(1, ch)); };
    e.OnSymbolDelete = [&] { log += "<"; };
    e.Compile(u"\\d\\d':'\\d\\d");
    e.SetUpdateOn(true);
    char16_t one = u'1', two = u'2';
    ASSERT_TRUE(e.Next(one));
    ASSERT_TRUE(e.Next(two));
    EXPECT_EQ(log, ":");
    EXPECT_TRUE(e.Prev());     // gives back the colon, then steps over the 2
    EXPECT_EQ(log, ":<");
    char16_t again = u'2';
    ASSERT_TRUE(e.Next(again));
    EXPECT_EQ(log, ":<:");

    TcxRegExpr id;
    std::string forced;
    id.OnSymbolUpdate = [&](char16_t ch) { forced += S(std::u16string(1, ch)); };
    id.Compile(u"'ID-'\\d+");
    id.SetUpdateOn(true);
    EXPECT_EQ(forced, "ID-");
}

TEST_F(RegExpr, PrintShowsTheTree)
{
    TcxRegExpr e;
    e.Compile(u"a(b)?");
    EXPECT_EQ(e.Print(),
              "<Start_Alt>\r\nitem --> \r\n<Start_Block>\r\n<Start_Alt>\r\nitem --> \r\n<Finish_Alt>\r\n"
              "<Finish_Block> --> ?\r\n<Finish_Alt>\r\n");
}

} // namespace
