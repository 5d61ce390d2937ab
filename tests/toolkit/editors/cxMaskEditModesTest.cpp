#include "tests/toolkit/editors/MaskHostTestSupport.h"
#include "tests/toolkit/editors/MaskTestSupport.h"

using namespace cx;

namespace {

class MaskModes : public MaskLocaleTest {
protected:
    // A mode of the kind over the fake host, compiled, with the host showing its formatted empty
    // text and the caret at the start.
    template <class Mode>
    std::unique_ptr<Mode> Start(const char* mask)
    {
        auto mode = std::make_unique<Mode>(&host, host.settings);
        mode->Compile(U(mask));
        host.text = mode->GetFormattedText(u"");
        host.SetSelection(0, 0);
        mode->SetText(host.text);
        return mode;
    }
    FakeMaskHost host;
};

TEST_F(MaskModes, StandardTypingFillsPositionsAndSkipsLiterals)
{
    auto mode = Start<TcxMaskEditStandardMode>("99/99;1;_");
    EXPECT_EQ(S(host.text), "__.__");
    EXPECT_EQ(host.GetSelLength(), 1);   // the caret is a one-character selection
    host.Type(*mode, u"123");
    EXPECT_EQ(S(host.text), "12.3_");
    EXPECT_EQ(host.GetSelStart(), 4);
    host.Key(*mode, VK_BACK);
    EXPECT_EQ(S(host.text), "12.__");
    EXPECT_EQ(host.GetSelStart(), 3);
    host.Type(*mode, u"x");   // rejected by the digit position, silently
    EXPECT_EQ(S(host.text), "12.__");
    EXPECT_EQ(host.beeps, 0);
    EXPECT_EQ(S(mode->GetUpdatedText(host.text)), "12.  ");
}

TEST_F(MaskModes, StandardCaretOnALiteralMovesPastIt)
{
    auto mode = Start<TcxMaskEditStandardMode>("00-00");
    host.SetSelection(2, 1);
    host.Type(*mode, u"5");
    EXPECT_EQ(S(host.text), "__-5_");
    EXPECT_EQ(host.GetSelStart(), 4);
    host.Key(*mode, VK_HOME);
    EXPECT_EQ(host.GetSelStart(), 0);
    host.Key(*mode, VK_RIGHT);
    host.Key(*mode, VK_RIGHT);
    EXPECT_EQ(host.GetSelStart(), 3);   // the hyphen is skipped
    host.Key(*mode, VK_LEFT);
    EXPECT_EQ(host.GetSelStart(), 1);
    EXPECT_TRUE(mode->IsFullValidText(u"12-34"));
    EXPECT_FALSE(mode->IsFullValidText(u"12-3_"));
}

TEST_F(MaskModes, StandardPasteOverwritesFromTheCaret)
{
    auto mode = Start<TcxMaskEditStandardMode>("00-00");
    host.SetSelection(0, 1);
    mode->SetPasteLength(2);
    mode->PrePasteFromClipboard();
    EXPECT_EQ(host.GetSelLength(), 2);
    host.text.replace(0, 2, u"12");   // the text editor's insertion
    mode->AfterPasteFromClipboard();
    EXPECT_EQ(host.GetSelStart(), 3);   // landed on the hyphen, moved past it
}

TEST_F(MaskModes, RegExprKeepsOnlyAcceptedPrefixes)
{
    auto mode = Start<TcxMaskEditRegExprMode>("\\d\\d:\\d\\d");
    host.Type(*mode, u"12:");
    EXPECT_EQ(S(host.text), "12:");
    host.Type(*mode, u"a");
    EXPECT_EQ(S(host.text), "12:");
    EXPECT_EQ(host.beeps, 1);
    host.Type(*mode, u"3");
    host.Key(*mode, VK_BACK);
    host.Key(*mode, VK_BACK);
    EXPECT_EQ(S(host.text), "12");
    EXPECT_FALSE(mode->IsFullValidText(u"12"));
    host.settings.IgnoreMaskBlank = true;
    EXPECT_TRUE(mode->IsFullValidText(u"12"));
    EXPECT_EQ(S(mode->GetFormattedText(u"1x2:3")), "12:3");
}

TEST_F(MaskModes, RegExprCutsATailThatNoLongerFits)
{
    auto mode = Start<TcxMaskEditRegExprMode>("(ab|cd)e?");
    host.Type(*mode, u"ab");
    host.Key(*mode, VK_LEFT);
    EXPECT_EQ(S(mode->Head()), "a");
    host.Key(*mode, VK_HOME);
    host.Key(*mode, VK_DELETE);
    EXPECT_EQ(S(host.text), "");   // "b" alone does not fit, so it goes too
    host.Type(*mode, u"abe");
    host.Key(*mode, VK_HOME);
    host.Type(*mode, u"c");
    EXPECT_EQ(S(host.text), "c");   // "abe" cannot follow "c"
    host.Type(*mode, u"d");
    EXPECT_EQ(S(host.text), "cd");
    // A selection typed over: the new character replaces it when the rest still fits.
    host.SetSelection(0, 2);
    host.caret = 2;
    host.anchor = 0;
    host.Type(*mode, u"a");
    EXPECT_EQ(S(host.text), "a");
}

TEST_F(MaskModes, RegExprCompileErrorsCarryEveryMessage)
{
    TcxMaskEditRegExprMode mode(&host, host.settings);
    try {
        mode.Compile(u"a)([]");
        FAIL() << "compiled";
    } catch (const EcxMaskEditError& error) {
        EXPECT_EQ(error.Message, "Regular expression errors:\r\nLine1, Char2: Illegal ')'\r\n"
                                 "Line1, Char5: Can't create empty enumeration");
    }
}

TEST_F(MaskModes, ExtendedInsertsAndTakesBackForcedCharacters)
{
    auto mode = Start<TcxMaskEditRegExprExMode>("\\d\\d:\\d\\d");
    host.Type(*mode, u"12");
    EXPECT_EQ(S(host.text), "12:");
    host.Key(*mode, VK_BACK);
    EXPECT_EQ(S(host.text), "1");
    host.Type(*mode, u"2");
    host.Type(*mode, u"34");
    EXPECT_EQ(S(host.text), "12:34");
    EXPECT_TRUE(mode->IsFullValidText(host.text));

    auto id = Start<TcxMaskEditRegExprExMode>("'ID-'\\d+");
    EXPECT_EQ(S(host.text), "ID-");
    EXPECT_EQ(S(id->GetEmptyString()), "ID-");
    EXPECT_TRUE(id->IsFullValidText(u"ID-"));
    host.SetSelection(3, 0);
    host.Type(*id, u"7");
    EXPECT_EQ(S(host.text), "ID-7");
    host.SetSelection(0, 4);   // everything, the forced "ID-" included
    host.Type(*id, u"8");
    EXPECT_EQ(S(host.text), "ID-8");
    host.Key(*id, VK_BACK);
    const int beeps = host.beeps;
    host.Key(*id, VK_BACK);   // only forced characters before the caret
    EXPECT_EQ(S(host.text), "ID-");
    EXPECT_EQ(host.beeps, beeps + 1);
}

TEST_F(MaskModes, ModesFormatWithoutAControl)
{
    const TcxMaskModeSettings settings;
    TcxMaskEditStandardMode standard(nullptr, settings);
    standard.Compile(u"!999;0;_");
    EXPECT_EQ(S(standard.GetFormattedText(u"7")), "__7");
    EXPECT_EQ(S(standard.GetUpdatedText(u"7")), "  7");
    TcxMaskEditRegExprMode regExpr(nullptr, settings);
    EXPECT_EQ(S(regExpr.GetFormattedText(u"12")), "");   // nothing compiled yet
    regExpr.Compile(u"\\d+");
    EXPECT_EQ(S(regExpr.GetFormattedText(u"1a2")), "12");
    TcxMaskEditRegExprExMode extended(nullptr, settings);
    extended.Compile(u"\\d\\d:\\d\\d");
    EXPECT_EQ(S(extended.GetFormattedText(u"12")), "12:");
    EXPECT_EQ(S(extended.GetFormattedText(u"1")), "1");
}

} // namespace
