#include "tests/toolkit/editors/MaskTestSupport.h"
#include "toolkit/editors/cxStandardMask.h"

using namespace cx;

namespace {

class StandardMask : public MaskLocaleTest {};

TEST_F(StandardMask, EmptyStringsFollowSaveLiteralsAndBlank)
{
    struct Case { const char* mask; const char* empty; const char* fullEmpty; bool save; char blank; };
    const Case cases[] = {
        {"000-0000;1;_", "   -    ", "___-____", true, '_'},
        {"000-0000;0;_", "       ", "___-____", false, '_'},
        {"99;1", "  ", "__", true, '_'},           // one flag after ";"
        {"9;x9", " ;x ", "_;x_", true, '_'},       // ";" in the middle is a literal
        {"99/99;1;*", "  .  ", "**.**", true, '*'}, // "/" is the locale's date separator
        {"\\", "", "", true, '_'},                  // a lone escape adds nothing
        {"\\L\\0", "L0", "L0", true, '_'},
    };
    for (const auto& c : cases) {
        TcxStandardMask mask;
        mask.Compile(U(c.mask));
        EXPECT_EQ(S(mask.GetEmptyString()), c.empty) << c.mask;
        EXPECT_EQ(S(mask.GetFullEmptyString()), c.fullEmpty) << c.mask;
        EXPECT_EQ(mask.SaveLiteralCharacters(), c.save) << c.mask;
        EXPECT_EQ(mask.Blank(), char16_t(c.blank)) << c.mask;
    }
}

TEST_F(StandardMask, FormatFitsFreeTextIntoPositions)
{
    struct Case { const char* mask; const char* text; const char* formatted; };
    const Case cases[] = {
        {"000-0000;1;_", "5551234", "555-1234"},
        {"000-0000;1;_", "55", "55_-____"},
        {"!999", "7", "__7"},                 // leading alignment fills from the right
        {">LL", "ab", "AB"},                  // case control applies to checked characters
        {"<LL", "AB", "ab"},
        {"L0L", "a1", "a1_"},
        {"L0L", "1a2b", "_1a"},               // "1" skips the letter; what no item takes is dropped
        {"99 99", "1 2", "1_ 2_"},            // a space at a mask position leaves it blank
    };
    for (const auto& c : cases) {
        EXPECT_EQ(S(FormatText(U(c.text), U(c.mask))), c.formatted) << c.mask << " / " << c.text;
    }
}

TEST_F(StandardMask, FormatWithoutSavedLiteralsSkipsThemUnlessIgnored)
{
    TcxStandardMask mask;
    mask.Compile(u"00-00;0;_");
    std::u16string text = u"12-34";
    mask.Format(text, true, false);
    EXPECT_EQ(S(text), "12-34");   // the hyphen is a literal position and is not consumed
    std::u16string reduced = u"1_-34";
    mask.Format2(reduced);
    EXPECT_EQ(S(reduced), "1 34");
}

TEST_F(StandardMask, ValidityChecks)
{
    struct Case { const char* mask; const char* text; bool valid; bool fullValid; };
    const Case cases[] = {
        {"0009", "123", true, false},    // one short of the mask
        {"0009", "123_", true, true},    // blank at an optional 9
        {"0009", "12_4", true, false},   // blank at a required 0
        {"0009", "12345", false, false},
        {"LL", "a1", false, false},
        {"##", "+_", true, true},        // a sign position is optional
        {"99-99", "12-34", true, true},
        {"99-99", "12+34", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsTextValid(U(c.text), U(c.mask)), c.valid) << c.mask << " / " << c.text;
        EXPECT_EQ(IsTextFullValid(U(c.text), U(c.mask)), c.fullValid) << c.mask << " / " << c.text;
    }
}

TEST_F(StandardMask, CheckAppliesCaseControlInPlace)
{
    TcxStandardMask mask;
    mask.Compile(u">L<L");
    std::u16string text = u"aB";
    EXPECT_TRUE(mask.IsFullValid(text));
    EXPECT_EQ(S(text), "Ab");
    EXPECT_EQ(MaskBlank(u"0;1;#"), u'#');
    EXPECT_FALSE(SaveLiteralChars(u"0;0"));
    EXPECT_EQ(S(EmptyString(u"00:00;1;_", u'*')), "  :  ");
}

} // namespace
