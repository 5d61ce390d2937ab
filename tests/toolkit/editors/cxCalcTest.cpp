// The calculator: left-to-right arithmetic, percent, memory, the error state, the size rule,
// the key and character tables through real key events, the mouse and the clipboard.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/vcl/Clipbrd.h"
#include "toolkit/editors/cxCalc.h"

#include <QTest>

using namespace cx;

namespace {

// Keeps the display as its own text, as the calculator editor keeps it in the editor.
class TextCalculator : public TcxCustomCalculator {
public:
    using TcxCustomCalculator::TcxCustomCalculator;
    std::string text = "0";
    int unlocksWithChange = 0;

protected:
    void GetEditorValue(std::string& value) const override { value = text; }
    void SetEditorValue(const std::string& value) override { text = value; }
    void LockChanges(bool lock, bool invoke) override { unlocksWithChange += !lock && invoke; }
};

class CalcTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        calc = new TextCalculator(form);
        calc->SetParent(form);
    }
    // Clicks a sequence of buttons written as characters: digits, operators, "=", "%", "s"
    // (sqrt), "r" (1/x), "n" (sign), "c" (C), "e" (CE), "b" (Back), "." and memory "L R M P".
    void Press(const std::string& keys)
    {
        for (char k : keys)
            calc->ButtonClick(KindOf(k));
    }
    static TcxCalcButtonKind KindOf(char k)
    {
        if (k >= '0' && k <= '9')
            return TcxCalcButtonKind(cbNum0 + (k - '0'));
        switch (k) {
        case '+': return cbAdd;
        case '-': return cbSub;
        case '*': return cbMul;
        case '/': return cbDiv;
        case '=': return cbEqual;
        case '%': return cbPercent;
        case 's': return cbSqrt;
        case 'r': return cbRev;
        case 'n': return cbSign;
        case 'c': return cbClear;
        case 'e': return cbCancel;
        case 'b': return cbBack;
        case '.': return cbDecimal;
        case 'L': return cbMC;
        case 'R': return cbMR;
        case 'M': return cbMS;
        case 'P': return cbMP;
        default: return cbNone;
        }
    }
    TextCalculator* calc = nullptr;
};

} // namespace

TEST_F(CalcTest, ButtonSequencesGiveTheDisplay)
{
    struct Case {
        const char* keys;
        const char* display;
    } cases[] = {
        {"2+3*4=", "20"},       // no precedence: "*" applies the pending "+"
        {"50+10%", "55"},       // percent of the first operand
        {"50*10%", "5"},
        {"50-10%", "45"},
        {"7/2=", "3.5"},
        {"9s", "3"},
        {"4r", "0.25"},
        {"2+9s=", "5"},         // the root becomes the pending second operand
        {"12n", "-12"},
        {"123bb", "1"},
        {"7nb", "0"},           // Back on "-7"
        {"1.5.2", "1.52"},      // one decimal separator only
        {"6+=", "6"},           // "=" without a second operand computes nothing
        {"5+3==", "8"},         // the second "=" finds nothing entered
        {"0004", "4"},
        {"12c", "0"},
    };
    for (const auto& c : cases) {
        Press("c");
        Press(c.keys);
        EXPECT_EQ(calc->text, c.display) << c.keys;
        EXPECT_NE(calc->Status(), csError) << c.keys;
    }
}

TEST_F(CalcTest, ErrorStateAcceptsOnlyTheClearButtons)
{
    for (const char* keys : {"5/0=", "4ns", "0r"}) {
        Press("c");
        Fixed().beeps = 0;
        Press(keys);
        EXPECT_EQ(calc->text, "Error") << keys;
        EXPECT_EQ(calc->Status(), csError);
        EXPECT_EQ(calc->Display(), 0);
        EXPECT_EQ(Fixed().beeps, 1);
        Press("7+b");
        EXPECT_EQ(calc->text, "Error");
        EXPECT_EQ(Fixed().beeps, 4);
        Press("e");
        EXPECT_EQ(calc->text, "0");
        Press("3");
        EXPECT_EQ(calc->text, "3");
    }
}

TEST_F(CalcTest, ResultsBeyondTheNumberRangeShowError)
{
    Clipboard()->SetAsText("1E300");
    calc->PasteFromClipboard();
    Press("*");
    calc->PasteFromClipboard();
    Press("=");
    EXPECT_EQ(calc->text, "Error");
    EXPECT_EQ(calc->Status(), csError);
}

TEST_F(CalcTest, DigitsStopAtThePrecision)
{
    Fixed().beeps = 0;
    Press(std::string(17, '9'));
    EXPECT_EQ(calc->text, std::string(15, '9'));
    EXPECT_EQ(Fixed().beeps, 2);
    Press("c5n");
    Press(std::string(15, '1'));
    EXPECT_EQ(calc->text, "-5" + std::string(14, '1')); // the leading "-" is not counted
}

TEST_F(CalcTest, MemoryAndItsButtons)
{
    EXPECT_TRUE(calc->Buttons()[cbMC].Grayed);
    EXPECT_TRUE(calc->Buttons()[cbMR].Grayed);
    Press("12M");
    EXPECT_EQ(calc->Memory(), 12);
    EXPECT_FALSE(calc->Buttons()[cbMR].Grayed);
    Press("3P");
    EXPECT_EQ(calc->Memory(), 15);
    Press("cR4");
    EXPECT_EQ(calc->text, "154"); // digits after MR are appended to the recalled value
    Press("L");
    EXPECT_EQ(calc->Memory(), 0);
    EXPECT_TRUE(calc->Buttons()[cbMC].Grayed);
}

TEST_F(CalcTest, EventsAroundAClick)
{
    int results = 0, displays = 0;
    calc->OnResult = [&](rtl::TObject*) { ++results; };
    calc->OnDisplayChange = [&](rtl::TObject*) { ++displays; };
    calc->OnButtonClick = [](rtl::TObject*, TcxCalcButtonKind& kind) {
        if (kind == cbNum9)
            kind = cbNum1; // a handler may change the button
    };
    Press("9+9==");
    EXPECT_EQ(calc->text, "2");
    EXPECT_EQ(results, 2); // "=" twice fires twice
    EXPECT_EQ(displays, 4); // "1", "0" and "1" again for the second number, "2"
    EXPECT_EQ(calc->unlocksWithChange, 2); // the second "1" ends where it began
}

TEST_F(CalcTest, CalcSizeForThreeSizes)
{
    EXPECT_EQ(calc->Width(), 198);
    EXPECT_EQ(calc->Height(), 131);
    calc->SetBounds(0, 0, 396, 262); // a resize takes the rule's size
    EXPECT_EQ(calc->Width(), 394);
    EXPECT_EQ(calc->Height(), 261);
    struct Case {
        int w, h, outW, outH, bh, fontSize;
    } cases[] = {
        {198, 131, 202, 133, 23, 8},  // 133 is nearer to 131 than 128
        {100, 50, 196, 128, 22, 8},   // never below the base button height
        {396, 262, 394, 261, 45, 16},
    };
    for (const auto& c : cases) {
        int w = c.w, h = c.h;
        calc->CalcSize(w, h);
        EXPECT_EQ(w, c.outW) << c.w;
        EXPECT_EQ(h, c.outH) << c.w;
        EXPECT_EQ(calc->ButtonHeight(), c.bh);
        EXPECT_EQ(calc->FontSize(), c.fontSize);
    }
}

TEST_F(CalcTest, LayoutAtTheBaseSize)
{
    int w = 100, h = 50; // the base button height, 22
    calc->CalcSize(w, h);
    const auto& b = calc->Buttons();
    EXPECT_EQ(b[cbMC].BtnRect, (TRect{3, 28, 31, 50}));
    EXPECT_EQ(b[cbMP].BtnRect, (TRect{3, 103, 31, 125}));
    EXPECT_EQ(b[cbNum7].BtnRect, (TRect{41, 28, 69, 50}));
    EXPECT_EQ(b[cbEqual].BtnRect, (TRect{165, 103, 193, 125}));
    // The big buttons are 28 x 1.7 = 47.6, rounded to 48, wide.
    EXPECT_EQ(b[cbClear].BtnRect, (TRect{145, 3, 193, 25}));
    EXPECT_EQ(b[cbCancel].BtnRect, (TRect{94, 3, 142, 25}));
    EXPECT_EQ(b[cbBack].BtnRect, (TRect{43, 3, 91, 25}));
    EXPECT_EQ(calc->GetButtonKindAt(170, 110), cbEqual);
    EXPECT_EQ(calc->GetButtonKindAt(35, 30), cbNone);
}

TEST_F(CalcTest, KeysAndCharactersPressButtons)
{
    calc->SetBounds(10, 10, 198, 131);
    ASSERT_TRUE(Activate(form));
    calc->SetFocus();
    QWidget* w = calc->Peer();
    auto type = [&](const char* text) {
        for (const char* p = text; *p; ++p)
            QTest::keyClick(w, *p);
        vcl::DrainPostedMessages();
    };
    type("12+3");
    EXPECT_EQ(calc->text, "3");
    QTest::keyClick(w, Qt::Key_Return);
    EXPECT_EQ(calc->text, "15");
    QTest::keyClick(w, Qt::Key_F9);
    EXPECT_EQ(calc->text, "-15");
    QTest::keyClick(w, Qt::Key_M, Qt::ControlModifier); // memory store
    EXPECT_EQ(calc->Memory(), -15);
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(calc->text, "0");
    QTest::keyClick(w, Qt::Key_R, Qt::ControlModifier); // memory recall
    EXPECT_EQ(calc->text, "-15");
    type("4@"); // "@" is the square root
    EXPECT_EQ(calc->text, "Error");
    QTest::keyClick(w, Qt::Key_Delete);
    EXPECT_EQ(calc->text, "0");
    type("4,5");
    EXPECT_EQ(calc->text, "4.5");
    QTest::keyClick(w, Qt::Key_Backspace);
    EXPECT_EQ(calc->text, "4.");
    QTest::keyClick(w, Qt::Key_R); // reciprocal
    EXPECT_EQ(calc->text, "0.25");
    QTest::keyClick(w, Qt::Key_C);
    EXPECT_EQ(calc->text, "0");
    QTest::keyClick(w, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(calc->Memory(), 0);
}

TEST_F(CalcTest, MouseClicksOnlyWhenReleasedOverTheButton)
{
    calc->SetBounds(10, 10, 198, 131);
    ASSERT_TRUE(Activate(form));
    QWidget* w = calc->Peer();
    auto centre = [&](TcxCalcButtonKind kind) {
        const TRect& r = calc->Buttons()[kind].BtnRect;
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    QTest::mouseClick(w, Qt::LeftButton, {}, centre(cbNum8));
    vcl::DrainPostedMessages();
    EXPECT_EQ(calc->text, "8");
    QTest::mousePress(w, Qt::LeftButton, {}, centre(cbNum8));
    vcl::DrainPostedMessages();
    EXPECT_TRUE(calc->Buttons()[cbNum8].Down);
    QTest::mouseMove(w, centre(cbAdd));
    QTest::mouseRelease(w, Qt::LeftButton, {}, centre(cbAdd));
    vcl::DrainPostedMessages();
    EXPECT_FALSE(calc->Buttons()[cbNum8].Down);
    EXPECT_EQ(calc->text, "8"); // released away from it: no click on either button
    QTest::mouseClick(w, Qt::LeftButton, {}, centre(cbMR)); // greyed while the memory is 0
    vcl::DrainPostedMessages();
    EXPECT_EQ(calc->text, "8");
}

TEST_F(CalcTest, ClipboardCopiesAndPastesTheDisplay)
{
    Press("42.5");
    calc->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "42.5");
    Clipboard()->SetAsText(" " + rtl::FormatSettings().CurrencyString + "1,5 ");
    calc->PasteFromClipboard(); // "1,5" is not a number here
    EXPECT_EQ(calc->text, "0");
    Clipboard()->SetAsText(rtl::FormatSettings().CurrencyString + "17.25");
    calc->PasteFromClipboard();
    EXPECT_EQ(calc->text, "17.25");
    EXPECT_EQ(calc->Status(), csValid);
    Press("+1=");
    EXPECT_EQ(calc->text, "18.25");
}

TEST_F(CalcTest, CaptionsArePaintedInTheirGroupColours)
{
    calc->SetBounds(10, 10, 198, 131);
    ASSERT_TRUE(Activate(form));
    calc->Update();
    const gdi::Surface& surface = calc->Surface();
    auto hasColour = [&](TcxCalcButtonKind kind, TColor colour) {
        const TRect& r = calc->Buttons()[kind].BtnRect;
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
            for (int x = r.Left + 2; x < r.Right - 2; ++x)
                if (TColor(gdi::PixelToColor(surface.Pixel(x, y))) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasColour(cbNum7, clBlue));
    EXPECT_TRUE(hasColour(cbAdd, clRed));
    EXPECT_TRUE(hasColour(cbBack, clMaroon));
    EXPECT_TRUE(hasColour(cbSqrt, clNavy));
    EXPECT_FALSE(hasColour(cbMC, clRed)); // greyed while the memory is 0
    Press("5M");
    calc->Update();
    EXPECT_TRUE(hasColour(cbMC, clRed));
}
