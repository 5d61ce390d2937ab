// The calculator editor: the number rule, display texts, typing on the real field, and the
// dropped-down calculator driven by real keys working on the editor's text.
#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "toolkit/editors/cxCalcEdit.h"
#include "toolkit/controls/cxContainerPopup.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxFilterControlUtils.h"

using namespace cx;

namespace {

class CalcEditTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        TextFamilyTest::SetUp();
        cxDropDownEditUnit::Initialize();
        cxCalcEditUnit::Initialize();
        edit = Place(new TcxCalcEdit(form), 10);
        edit->OnClosePopup = [this](TcxControl*, TcxEditCloseUpReason r) { reasons.push_back(r); };
    }
    void TearDown() override
    {
        if (edit->DroppedDown())
            edit->HidePopup(edit, crUnknown);
        TextFamilyTest::TearDown();
        EXPECT_EQ(cxPopupWindowCount(), 0);
        cxCalcEditUnit::Finalize();
        cxDropDownEditUnit::Finalize();
    }
    std::string Shown(const Variant& v, bool focused = false)
    {
        Variant d;
        edit->Properties()->PrepareDisplayValue(v, d, focused);
        return VarToStr(d);
    }
    // Opens the calculator by a real key on the field; it returns at once (no popup loop).
    void Open(Qt::Key key = Qt::Key_F4, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Focus(edit);
        Key(edit, key, mods);
        SpinUntil([&] { return edit->DroppedDown() && edit->Calculator()->Focused(); }, 500);
        ASSERT_TRUE(edit->DroppedDown());
    }
    void CalcKeys(const char* text)
    {
        for (const char* p = text; *p; ++p)
            QTest::keyClick(edit->Calculator()->Peer(), *p);
        vcl::DrainPostedMessages();
    }
    void CalcKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(edit->Calculator()->Peer(), key, mods);
        vcl::DrainPostedMessages();
        SpinUntil([&] { return !edit->DroppedDown(); }, 300);
    }
    TcxCalcEdit* edit = nullptr;
    std::vector<TcxEditCloseUpReason> reasons;
};

TEST_F(CalcEditTest, TheNumberRule)
{
    struct Case {
        std::string text;
        bool ok;
        double value;
    } cases[] = {
        {"1,234.5", true, 1234.5}, {"-2.5e3", true, -2500}, {"0", true, 0},
        {"", false, 0},            {"-", false, 0},         {"1.2.3", false, 0},
        {"1e400", false, 0},       // beyond the double range
        {"1e-400", false, 0},      // below the smallest double
        {"2e1e1", false, 0},       {"1x", false, 0},
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(edit->Properties()->StrToFloatEx(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST_F(CalcEditTest, DisplayTexts)
{
    EXPECT_EQ(Shown(Variant::MakeNull()), "");
    EXPECT_EQ(Shown(Variant(std::string())), "");
    EXPECT_EQ(Shown(Variant(std::string("junk"))), "");   // no failure while painting
    EXPECT_EQ(Shown(Variant(0.1 + 0.2)), "0.3");            // 15 significant digits
    edit->Properties()->SetPrecision(3);
    EXPECT_EQ(Shown(Variant(2.0 / 3)), "0.667");
    edit->Properties()->SetPrecision(40);
    EXPECT_EQ(edit->Properties()->GetPrecision(), 15);

    edit->Properties()->SetScientificFormat(true);
    EXPECT_EQ(Shown(Variant(1500.0)), "1.5E+3");
    EXPECT_EQ(Shown(Variant(-0.00025)), "-2.5E-4");
    EXPECT_EQ(Shown(Variant(7.0)), "7E+0");

    edit->Properties()->SetScientificFormat(false);
    edit->Properties()->SetUseThousandSeparator(true);
    EXPECT_EQ(Shown(Variant(1234567.5)), "1,234,567.5");
    Variant back;
    edit->PrepareEditValue(Variant(std::string("1,234,567.5")), back, true);
    ASSERT_TRUE(VarIsNumeric(back));
    EXPECT_EQ(back.ToDouble(), 1234567.5);

    edit->Properties()->SetDisplayFormat("0.00 kWh");
    EXPECT_EQ(Shown(Variant(3.14159)), "3.14 kWh");
    EXPECT_EQ(Shown(Variant(3.5), true), "3.5");   // editing shows the plain number
}

TEST_F(CalcEditTest, PrecisionIsCopiedOnlyWhenAssigned)
{
    TcxCalcEditProperties source(nullptr), target(nullptr);
    target.SetPrecision(4);
    target.Assign(&source);
    EXPECT_FALSE(target.AssignedValues()->Precision());
    EXPECT_EQ(target.GetPrecision(), 15);
    source.SetPrecision(6);
    target.Assign(&source);
    EXPECT_TRUE(target.AssignedValues()->Precision());
    EXPECT_EQ(target.GetPrecision(), 6);
}

TEST_F(CalcEditTest, ValueReadsZeroForEmptyAndStartsAtZero)
{
    EXPECT_EQ(edit->Value(), 0.0);
    edit->SetValue(2.5);
    EXPECT_EQ(edit->Value(), 2.5);
    edit->SetEditValue(Variant::MakeNull());
    EXPECT_EQ(edit->Value(), 0.0);
    edit->SetEditValue(Variant(std::string()));
    EXPECT_EQ(edit->Value(), 0.0);
}

TEST_F(CalcEditTest, TypingKeepsANumber)
{
    edit->SetEditValue(Variant::MakeNull());
    Focus(edit);
    Fixed().beeps = 0;
    Type(edit, "-");
    EXPECT_EQ(edit->Text(), "-");   // a lone minus in an empty editor is accepted
    Type(edit, "12,5");             // "," becomes the decimal separator
    EXPECT_EQ(edit->Text(), "-12.5");
    EXPECT_EQ(Fixed().beeps, 0);
    for (const char* bad : {".", "x", "e", "+"}) {   // a second separator, a letter, no exponent digits
        const int before = Fixed().beeps;
        Type(edit, bad);
        EXPECT_EQ(edit->Text(), "-12.5") << bad;
        EXPECT_EQ(Fixed().beeps, before + 1) << bad;
    }
    edit->Properties()->SetBeepOnError(false);
    Type(edit, "q");
    EXPECT_EQ(edit->Text(), "-12.5");
    EXPECT_EQ(Fixed().beeps, 4);
}

TEST_F(CalcEditTest, TheCalculatorWorksOnTheEditorsTextAndClosesByKey)
{
    struct Row {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        TcxEditCloseUpReason reason;
    } rows[] = {
        {"Enter", Qt::Key_Return, Qt::NoModifier, crEnter},
        {"Esc", Qt::Key_Escape, Qt::NoModifier, crCancel},
        {"F4", Qt::Key_F4, Qt::NoModifier, crClose},
        {"Alt+Up", Qt::Key_Up, Qt::AltModifier, crClose},
        {"Alt+Down", Qt::Key_Down, Qt::AltModifier, crClose},
    };
    for (const Row& row : rows) {
        edit->SetValue(12);
        reasons.clear();
        Open();
        EXPECT_EQ(cxPopupWindowCount(), 1) << row.name;
        CalcKeys("7+3");
        EXPECT_EQ(edit->Text(), "3") << row.name;   // the first digit replaced the editor's text
        CalcKey(row.key, row.mods);
        EXPECT_FALSE(edit->DroppedDown()) << row.name;
        ASSERT_EQ(reasons.size(), 1u) << row.name;
        EXPECT_EQ(reasons[0], row.reason) << row.name;
    }
}

TEST_F(CalcEditTest, EnterEvaluatesBeforeItCloses)
{
    // With or without "=" typed first, Enter computes and the result stays in the editor.
    for (const char* keys : {"7*6=", "7*6", "50-8"}) {
        edit->SetValue(0);
        reasons.clear();
        Open();
        CalcKeys(keys);
        CalcKey(Qt::Key_Return);
        EXPECT_FALSE(edit->DroppedDown()) << keys;
        EXPECT_EQ(edit->Text(), "42") << keys;
        ASSERT_EQ(reasons.size(), 1u) << keys;
        EXPECT_EQ(reasons[0], crEnter) << keys;
        edit->PostEditValue();
        EXPECT_EQ(edit->Value(), 42.0) << keys;
    }
}

TEST_F(CalcEditTest, QuickCloseOnEquals)
{
    Open();
    CalcKeys("2+2=");
    EXPECT_TRUE(edit->DroppedDown());   // "=" alone only computes
    EXPECT_EQ(edit->Text(), "4");
    CalcKey(Qt::Key_Escape);
    edit->Properties()->SetQuickClose(true);
    Open();
    CalcKeys("5*5=");
    SpinUntil([&] { return !edit->DroppedDown(); }, 300);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(edit->Text(), "25");
}

TEST_F(CalcEditTest, ClosingOnAnErrorLeavesZero)
{
    edit->SetValue(5);
    Open();
    CalcKeys("1/0=");
    EXPECT_EQ(edit->Text(), cxGetResourceString(&scxSCalcError));
    CalcKey(Qt::Key_Return);
    EXPECT_EQ(edit->Value(), 0.0);
    EXPECT_EQ(edit->Text(), "0");
}

TEST_F(CalcEditTest, AReadOnlyEditorDoesNotDropDown)
{
    edit->Properties()->SetReadOnly(true);
    Focus(edit);
    Key(edit, Qt::Key_F4);
    SpinUntil([] { return false; }, 50);
    EXPECT_FALSE(edit->DroppedDown());
}

TEST_F(CalcEditTest, RegistrationAndFilterHelper)
{
    EXPECT_EQ(GetRegisteredEditProperties()->GetDescriptionByClass(&TcxCalcEditProperties::StaticClass()), "CalcEdit");
    TcxCustomFilterEditHelperClass helper =
        FilterEditsController()->FindHelper(&TcxCalcEditProperties::StaticClass());
    ASSERT_TRUE(helper);
    EXPECT_FALSE(helper->GetSupportedFilterOperators(nullptr, nullptr, false).Contains(fcoBetween));
    EXPECT_TRUE(helper->GetSupportedFilterOperators(nullptr, nullptr, true).Contains(fcoNotInList));
    TcxCalcEditProperties filterProps(nullptr), source(nullptr);
    helper->InitializeProperties(&filterProps, &source, true);
    EXPECT_TRUE(filterProps.QuickClose());
}

} // namespace

namespace {

// The dropped calculator is sized to the editor's font: its 27 buttons are drawn with their
// captions and take clicks; a bigger font gives bigger buttons.
TEST_F(CalcEditTest, TheDroppedCalculatorIsDrawnAtTheEditorsFontAndTakesClicks)
{
    Open();
    TcxPopupCalculator* calc = edit->Calculator();
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(edit->Style()->GetVisibleFont());
    const int textHeight = measure.Canvas()->TextHeight("0");
    ASSERT_GT(textHeight, 8);
    EXPECT_EQ(calc->ButtonHeight(), 2 * textHeight);
    // Every button lies whole inside the calculator, which the drop-down shows whole.
    const TRect client = calc->GetClientRect();
    for (const TcxButtonInfo& b : calc->Buttons()) {
        EXPECT_GT(b.BtnRect.Width(), 0) << b.Text;
        EXPECT_TRUE(cxRectContain(client, b.BtnRect)) << b.Text;
    }
    EXPECT_GE(edit->PopupWindow()->ClientWidth(), calc->Width());
    EXPECT_GE(edit->PopupWindow()->ClientHeight(), calc->Height());
    // Each caption leaves ink in its button.
    calc->Update();
    const gdi::Surface& s = calc->Surface();
    for (const TcxButtonInfo& b : calc->Buttons()) {
        int ink = 0;
        for (int y = b.BtnRect.Top + 2; y < b.BtnRect.Bottom - 2; ++y)
            for (int x = b.BtnRect.Left + 2; x < b.BtnRect.Right - 2; ++x)
                ink += (s.Pixel(x, y) & 0xFFFFFF) != (s.Pixel(b.BtnRect.Left + 3, b.BtnRect.Top + 3) & 0xFFFFFF);
        EXPECT_GT(ink, 0) << b.Text;
    }
    SaveSurface(calc, "calculator-dropped.png", 2);

    // Clicks: 7, +, 8, = give 15 in the editor.
    auto click = [&](TcxCalcButtonKind kind) {
        const TRect r = calc->Buttons()[kind].BtnRect;
        QTest::mouseClick(calc->Peer(), Qt::LeftButton, {}, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        vcl::DrainPostedMessages();
        Fixed().ticks += 1000;
    };
    click(cbNum7);
    EXPECT_EQ(edit->Text(), "7");
    click(cbAdd);
    click(cbNum8);
    click(cbEqual);
    EXPECT_EQ(edit->Text(), "15");
    edit->HidePopup(edit, crUnknown);
    SpinUntil([&] { return !edit->DroppedDown(); }, 300);

    // A font twice as high: the buttons grow with it.
    const int before = calc->ButtonHeight();
    TFont large;
    large.Assign(edit->Style()->GetFont());
    large.SetHeight(-24);
    edit->Style()->SetFont(&large);
    Open();
    EXPECT_GT(calc->ButtonHeight(), before + 10);
    SaveSurface(calc, "calculator-dropped-large.png", 1);
}

} // namespace
