// The spin editor: its settings wired to the numeric rules, the step on the real control, the
// spin keys and typed characters, the repeat of a held button, the wheel and the buttons' layout.
#include "tests/platform/vcl/VclTestSupport.h"

#include "platform/gdi/Surface.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/EditBox.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/data/cxDataStorage.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxSpinEdit.h"

#include <QInputMethodEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace cx;

namespace {

class SpinEditTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        cxSpinEditUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 200);
        edit = new TcxSpinEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 24);
        other = new TcxSpinEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 50, 150, 24);
        ASSERT_TRUE(Activate(form));
        Focus(edit);
    }
    void TearDown() override
    {
        form->Free();
        cxSpinEditUnit::Finalize();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    void Focus(TcxCustomTextEdit* e)
    {
        e->InnerTextEditControl()->SetFocus();
        SpinUntil([&] { return e->InnerTextEditControl()->Focused(); }, 500);
    }
    QWidget* Field() { return edit->InnerTextEditControl()->Box()->Widget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, QTest::KeyAction action = QTest::Click)
    {
        QTest::sendKeyEvent(action, Field(), key, QString(), mods);
        vcl::DrainPostedMessages();
    }
    void Type(const QString& s)
    {
        for (QChar c : s)
            QTest::sendKeyEvent(QTest::Click, Field(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    void Commit(const QString& s)
    {
        QInputMethodEvent ev;
        ev.setCommitString(s);
        QCoreApplication::sendEvent(Field(), &ev);
        vcl::DrainPostedMessages();
    }
    void Bounds(double min, double max)
    {
        edit->Properties()->SetMinValue(min);
        edit->Properties()->SetMaxValue(max);
    }
    TcxSpinEditProperties* P() { return edit->Properties(); }
    TForm* form = nullptr;
    TcxSpinEdit* edit = nullptr;
    TcxSpinEdit* other = nullptr;
};

// ---- settings -------------------------------------------------------------------------------------

TEST_F(SpinEditTest, ButtonsFollowSpinButtonsAndTheValueTypeFollowsTheData)
{
    EXPECT_EQ(P()->Buttons()->Count(), 2);
    P()->SpinButtons()->SetShowFastButtons(true);
    EXPECT_EQ(P()->Buttons()->Count(), 4);
    P()->SpinButtons()->SetVisible(false);
    EXPECT_EQ(P()->Buttons()->Count(), 0);
    P()->SpinButtons()->SetVisible(true);
    P()->SpinButtons()->SetShowFastButtons(false);
    EXPECT_EQ(P()->Buttons()->Count(), 2);

    // A free-standing editor's data say integers; without any data the type is float.
    EXPECT_EQ(P()->GetValueType(), vtInt);
    struct Data : TcxCustomEditDefaultValuesProvider {
        Data() : TcxCustomEditDefaultValuesProvider(nullptr) {}
        bool DefaultIsFloatValue() override { return isFloat; }
        bool isFloat = false;
    } data;
    TcxSpinEditProperties loose(nullptr);
    EXPECT_EQ(loose.GetValueType(), vtFloat);
    loose.SetIDefaultValuesProvider(&data);
    EXPECT_EQ(loose.GetValueType(), vtInt);
    data.isFloat = true;
    EXPECT_EQ(loose.GetValueType(), vtFloat);
    loose.SetValueType(vtInt);   // an assigned type wins over the data's
    EXPECT_EQ(loose.GetValueType(), vtInt);
    loose.SetIDefaultValuesProvider(nullptr);

    TcxSpinEditProperties copy(nullptr);
    P()->SetLargeIncrement(3);
    P()->SetCircular(true);
    P()->SetValueType(vtInt);
    copy.Assign(P());
    EXPECT_TRUE(copy.AssignedValues()->ValueType());
    EXPECT_EQ(copy.GetValueType(), vtInt);
    EXPECT_EQ(copy.LargeIncrement(), 3);
    EXPECT_TRUE(copy.Circular());
    EXPECT_EQ(copy.Buttons()->Count(), 2);

    try {
        P()->GetIncrement(TcxSpinEditButton(7));
        FAIL() << "no error";
    } catch (const EdxException& e) {
        EXPECT_EQ(e.Message, "TcxCustomSpinEditProperties.GetIncrement fails");
    }
}

TEST_F(SpinEditTest, AZeroIncrementSurvivesASaveAndLoad)
{
    auto roundTrip = [](TcxSpinEditProperties& from, TcxSpinEditProperties& to) {
        TMemoryStream stream;
        {
            TWriter writer(&stream, 64);
            writer.WriteProperties(&from);
        }
        const std::int64_t size = stream.Size();
        stream.SetPosition(0);
        TReader reader(&stream, 64);
        reader.ReadProperties(&to);
        return size;
    };
    TcxSpinEditProperties source(nullptr), target(nullptr);
    EXPECT_EQ(roundTrip(source, target), 1);   // defaults write nothing but the list's end
    source.SetIncrement(0);
    source.SetLargeIncrement(0);
    roundTrip(source, target);
    EXPECT_EQ(target.Increment(), 0);
    EXPECT_EQ(target.LargeIncrement(), 0);
}

TEST_F(SpinEditTest, ValidationClampsOrRefusesAndAnUnparsableTextIsAlwaysAnError)
{
    P()->SetValueType(vtInt);
    Bounds(-10, 5000);  // below zero, so that a minus can be typed
    struct Case {
        bool exceptionOnInvalidInput;
        const char* typed;
        bool error;
        std::string shown, message;
    } cases[] = {
        {false, "7000", false, "5000", ""},
        {true, "7000", true, "7000", "Value out of bounds"},
        {false, "-30", false, "-10", ""},
        {false, "99999999999999999999", false, "5000", ""},
        {false, "5-", true, "5-", "Invalid numeric value"},
        {true, "5-", true, "5-", "Invalid numeric value"},
    };
    for (const Case& c : cases) {
        P()->SetExceptionOnInvalidInput(c.exceptionOnInvalidInput);
        edit->SetText("");
        Type(c.typed);
        Variant shown(std::string(c.typed));
        std::string message;
        bool error = false;
        P()->ValidateDisplayValue(shown, message, error, edit);
        EXPECT_EQ(error, c.error) << c.typed << " " << c.exceptionOnInvalidInput;
        EXPECT_EQ(VarToStr(shown), c.shown) << c.typed;
        if (c.error) {
            EXPECT_EQ(message, c.message) << c.typed;
        }
    }
    // Without the focus, an empty, Null or unparsable edit value reads as the zero in bounds.
    other->Properties()->SetValueType(vtInt);
    other->Properties()->SetMinValue(5);
    other->Properties()->SetMaxValue(10);
    for (const Variant& v : {Variant::MakeNull(), Variant(std::string()), Variant(std::string("abc"))}) {
        other->SetEditValue(v);
        EXPECT_EQ(other->GetValue().ToInt64(), 5) << VarToStr(v);
    }
    other->SetEditValue(Variant(std::string("7")));
    EXPECT_EQ(other->GetValue().ToInt64(), 7);

    // Reading the value of an unparsable text falls back on the last good value.
    P()->SetExceptionOnInvalidInput(false);
    edit->SetValue(Variant(42));
    edit->SetSelection(0, 2);
    Type("5-");
    EXPECT_EQ(edit->Text(), "5-");
    EXPECT_EQ(edit->GetValue().ToInt64(), 42);
}

TEST_F(SpinEditTest, AGetValueHandlerTurnsWordsIntoNumbersAndItsErrorsAreReported)
{
    P()->SetValueType(vtInt);
    Bounds(0, 5000);
    P()->OnGetValue = [](TObject*, const std::string& text, Variant& value, std::string& errorText, bool& error) {
        if (text == "max") {
            value = Variant(5000);
            error = false;
        } else if (text == "boom") {
            throw EcxEditError("handler failed");
        } else {
            errorText = "no such word";
        }
    };
    struct Case {
        const char* typed;
        bool ok;
        std::string value, message;
    } cases[] = {
        {"max", true, "5000", ""},
        {"min", false, "", "no such word"},
        {"boom", false, "", "handler failed"},
    };
    for (const Case& c : cases) {
        edit->SetText("");
        Type(c.typed);   // with a handler every character is accepted
        EXPECT_EQ(edit->Text(), c.typed);
        Variant value;
        std::string message;
        EXPECT_EQ(edit->InternalPrepareEditValue(edit->GetDisplayValue(), false, value, message), c.ok) << c.typed;
        if (c.ok)
            EXPECT_EQ(VarToStr(value), c.value);
        else
            EXPECT_EQ(message, c.message) << c.typed;
    }
    // Asked to raise, the handler's exception goes on.
    Variant value;
    std::string message;
    EXPECT_THROW(edit->InternalPrepareEditValue(edit->GetDisplayValue(), true, value, message), EcxEditError);
}

// ---- the step on the control ------------------------------------------------------------------------

TEST_F(SpinEditTest, StepsFromTheValueWithTheThreeBoundKinds)
{
    P()->SetValueType(vtInt);
    Bounds(0, 5000);
    P()->SetLargeIncrement(1);
    struct Case {
        bool circular;
        double increment;
        std::string start;
        TcxSpinEditButton button;
        std::string text;
        bool changed;
    } cases[] = {
        {false, 1, "5000", sebForward, "5000", false},
        {false, 1, "4999", sebFastForward, "5000", true},
        {false, 1, "0", sebBackward, "0", false},
        {true, 1, "5000", sebForward, "0", true},
        {true, 1, "0", sebBackward, "5000", true},
        {true, 3, "4999", sebForward, "1", true},
        {false, 1, "7000", sebBackward, "5000", true},   // typed above Max
        {false, 1, "7000", sebForward, "7000", false},
        {true, 1, "7000", sebForward, "0", true},
        {false, 0.5, "10", sebForward, "10", false},   // an integer step of 0.5 is 0
    };
    for (const Case& c : cases) {
        P()->SetCircular(c.circular);
        P()->SetIncrement(c.increment);
        edit->SetText("");
        Type(QString::fromStdString(c.start));
        EXPECT_EQ(edit->Increment(c.button), c.changed) << c.start << " " << c.button;
        EXPECT_EQ(edit->Text(), c.text) << c.start << " " << c.button << " circular " << c.circular;
    }
    // A circular step wraps once per range, however far it goes.
    Bounds(0, 10);
    P()->SetCircular(true);
    P()->SetIncrement(25);
    edit->SetValue(Variant(5));
    edit->Increment(sebForward);
    EXPECT_EQ(edit->Text(), "8");
}

TEST_F(SpinEditTest, SpinKeysStepAndOtherKeysTypeOrBeep)
{
    P()->SetValueType(vtInt);
    Bounds(0, 5000);
    P()->SetLargeIncrement(1);
    edit->SetValue(Variant(4999));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(edit->Text(), "5000");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(edit->Text(), "4998");
    EXPECT_TRUE(edit->ModifiedAfterEnter());

    // A held key repeats by key downs alone, showing the button pressed until its key up.
    Key(Qt::Key_Up, Qt::NoModifier, QTest::Press);
    EXPECT_EQ(edit->PressedState(), epsUp);
    Key(Qt::Key_Up, Qt::NoModifier, QTest::Press);
    EXPECT_EQ(edit->Text(), "5000");
    Key(Qt::Key_Up, Qt::NoModifier, QTest::Release);
    EXPECT_EQ(edit->PressedState(), epsNone);

    // With UseCtrlIncrement the arrows move the caret unless Ctrl is held.
    P()->SetUseCtrlIncrement(true);
    edit->SetSelection(2, 0);
    Key(Qt::Key_Down);
    EXPECT_EQ(edit->Text(), "5000");
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "4999");
    P()->SetUseCtrlIncrement(false);

    // Letters and a committed ideograph beep and change nothing; "," types the decimal separator.
    const int beeps = Fixed().beeps;
    edit->SetSelection(4, 0);
    Type("x");
    Commit(QString::fromUtf8("五"));
    EXPECT_EQ(edit->Text(), "4999");
    EXPECT_EQ(Fixed().beeps, beeps + 2);
    P()->SetValueType(vtFloat);
    Type(",5");
    EXPECT_EQ(edit->Text(), "4999.5");

    // A whole number takes no exponent, and a sign only where the minimum is below zero.
    struct CharCase {
        TcxSpinEditValueType type;
        double min;
        QString typed, shown;
    } charCases[] = {
        {vtInt, 0, "2-+eE0", "20"},
        {vtInt, -10, "-2e+", "-2+"},
        {vtFloat, 0, "-1e+2", "-1e+2"},
    };
    for (const CharCase& c : charCases) {
        P()->SetValueType(c.type);
        P()->SetMinValue(c.min);
        edit->SetText("");
        Type(c.typed);
        EXPECT_EQ(QString::fromStdString(edit->Text()), c.shown) << c.typed.toStdString();
    }

    // CanEdit off: typing is refused, the keys still step.
    P()->SetValueType(vtInt);
    P()->SetCanEdit(false);
    edit->SetValue(Variant(7));
    Type("1");
    EXPECT_EQ(edit->Text(), "7");
    Key(Qt::Key_Up);
    EXPECT_EQ(edit->Text(), "8");
}

TEST_F(SpinEditTest, AHeldButtonStepsAtOnceAfter400msThenEvery100ms)
{
    P()->SetValueType(vtInt);
    edit->SetValue(Variant(0));
    TcxCustomEditViewInfo* vi = edit->EditViewInfo();
    ASSERT_EQ(vi->ButtonCount(), 2);
    const TRect up = vi->ButtonsInfo[sebForward]->Bounds;
    const QPoint at(up.Left + up.Width() / 2, up.Top + up.Height() / 2);
    QTest::mousePress(edit->Peer(), Qt::LeftButton, Qt::NoModifier, at);
    vcl::DrainPostedMessages();
    EXPECT_EQ(edit->Text(), "1");
    ASSERT_NE(edit->RepeatTimer(), nullptr);
    EXPECT_EQ(edit->RepeatTimer()->Interval(), 400u);
    // The ticks come from the test, not the wall clock.
    edit->RepeatTimer()->SetEnabled(false);
    edit->RepeatTimer()->TimeOut();
    EXPECT_EQ(edit->Text(), "2");
    EXPECT_EQ(edit->RepeatTimer()->Interval(), 100u);
    edit->RepeatTimer()->TimeOut();
    edit->RepeatTimer()->TimeOut();
    EXPECT_EQ(edit->Text(), "4");
    QTest::mouseRelease(edit->Peer(), Qt::LeftButton, Qt::NoModifier, at);
    vcl::DrainPostedMessages();
    EXPECT_EQ(edit->RepeatTimer(), nullptr);
    EXPECT_EQ(edit->Text(), "4");

    // Another key and the focus leaving stop the repeat too.
    for (int stopper = 0; stopper < 2; ++stopper) {
        Focus(edit);
        QTest::mousePress(edit->Peer(), Qt::LeftButton, Qt::NoModifier, at);
        vcl::DrainPostedMessages();
        ASSERT_NE(edit->RepeatTimer(), nullptr) << stopper;
        if (stopper == 0)
            Key(Qt::Key_End);
        else
            Focus(other);
        EXPECT_EQ(edit->RepeatTimer(), nullptr) << stopper;
        QTest::mouseRelease(edit->Peer(), Qt::LeftButton, Qt::NoModifier, at);
        vcl::DrainPostedMessages();
    }
}

TEST_F(SpinEditTest, AWheelNotchStepsOnce)
{
    P()->SetValueType(vtInt);
    edit->SetValue(Variant(10));
    const QPoint at(5, 5);
    auto wheel = [&](int delta) {
        QWheelEvent ev(QPointF(at), QPointF(Field()->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        // A wheel sent by code does not climb from the line edit to its window; it goes to the
        // field's window, as the system delivers it.
        QCoreApplication::sendEvent(edit->InnerTextEditControl()->Peer(), &ev);
        vcl::DrainPostedMessages();
    };
    wheel(120);
    EXPECT_EQ(edit->Text(), "11");
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(edit->Text(), "9");
}

// ---- the buttons' layout ----------------------------------------------------------------------------

TEST(SpinButtonLayout, ThreePositionsWithAndWithoutFastButtons)
{
    // Right to left from the area's right edge; the backward ones on the left edge in
    // sbpHorzLeftRight. Widths: default 15, normal 9, fast 13; one pixel cut and one gap.
    TcxSpinButtonMetrics m;
    m.DefaultWidth = 15, m.Width = 9, m.FastWidth = 13, m.BottomCut = 1, m.Gap = 1;
    struct Case {
        TcxSpinEditButtonsPosition position;
        bool fast;
        TRect back, forward, fastBack, fastForward, rest;
    } cases[] = {
        {sbpVert, false, {85, 15, 100, 30}, {85, 0, 100, 14}, {}, {}, {0, 0, 85, 30}},
        {sbpVert, true, {72, 15, 87, 30}, {72, 0, 87, 14}, {59, 0, 72, 29}, {87, 0, 100, 29}, {0, 0, 59, 30}},
        {sbpHorzRight, false, {81, 0, 90, 30}, {91, 0, 100, 29}, {}, {}, {0, 0, 81, 30}},
        {sbpHorzRight, true, {68, 0, 77, 30}, {78, 0, 87, 29}, {55, 0, 68, 29}, {87, 0, 100, 29}, {0, 0, 55, 30}},
        {sbpHorzLeftRight, false, {0, 0, 9, 29}, {91, 0, 100, 29}, {}, {}, {9, 0, 90, 30}},
        {sbpHorzLeftRight, true, {13, 0, 22, 29}, {78, 0, 87, 29}, {0, 0, 13, 29}, {87, 0, 100, 29}, {22, 0, 77, 30}},
    };
    for (const Case& c : cases) {
        TRect r{0, 0, 100, 30};
        TRect b[4];
        LayoutSpinButtons(r, c.fast, c.position, m, b);
        const std::string name = std::to_string(c.position) + (c.fast ? " fast" : "");
        EXPECT_EQ(b[sebBackward], c.back) << name;
        EXPECT_EQ(b[sebForward], c.forward) << name;
        EXPECT_EQ(b[sebFastBackward], c.fastBack) << name;
        EXPECT_EQ(b[sebFastForward], c.fastForward) << name;
        EXPECT_EQ(r, c.rest) << name;
        // Left to right: fast back, back, forward, fast forward (forward over back when vertical).
        if (c.fast) {
            EXPECT_LT(b[sebFastBackward].Left, b[sebBackward].Left) << name;
        }
        if (c.position != sbpVert) {
            EXPECT_LT(b[sebBackward].Right, b[sebForward].Right) << name;
        }
    }
}

TEST_F(SpinEditTest, TheControlLaysItsButtonsOutAndPressesTheOneItsKeyHolds)
{
    TcxCustomEditViewInfo* vi = edit->EditViewInfo();
    ASSERT_EQ(vi->ButtonCount(), 2);
    const TRect back = vi->ButtonsInfo[sebBackward]->Bounds, fwd = vi->ButtonsInfo[sebForward]->Bounds;
    EXPECT_EQ(back.Left, fwd.Left);
    EXPECT_EQ(fwd.Top, vi->BorderRect.Top);
    EXPECT_LE(fwd.Bottom, back.Top);
    EXPECT_LE(edit->InnerTextEditControl()->BoundsRect().Right, back.Left);
    P()->SpinButtons()->SetPosition(sbpHorzLeftRight);
    P()->SpinButtons()->SetShowFastButtons(true);
    ASSERT_EQ(vi->ButtonCount(), 4);
    EXPECT_LT(vi->ButtonsInfo[sebBackward]->Bounds.Right, edit->InnerTextEditControl()->BoundsRect().Left + 1);
    Key(Qt::Key_PageDown, Qt::NoModifier, QTest::Press);
    EXPECT_EQ(vi->PressedButton, int(sebFastBackward));
    Key(Qt::Key_PageDown, Qt::NoModifier, QTest::Release);
    EXPECT_EQ(vi->PressedButton, -1);
}

TEST_F(SpinEditTest, HotFlatButtonsShareTheLineBetweenThem)
{
    edit->EditStyle()->SetButtonStyle(btsHotFlat);
    TcxCustomEditViewInfo* vi = edit->EditViewInfo();
    ASSERT_EQ(vi->ButtonCount(), 2);
    const TRect back = vi->ButtonsInfo[sebBackward]->Bounds, fwd = vi->ButtonsInfo[sebForward]->Bounds;
    auto pixel = [&](int x, int y) {
        edit->Update();
        return TColor(gdi::PixelToColor(edit->Surface().Pixel(x, y)));
    };
    const TColor shadow = TColor(ColorToRGB(clBtnShadow)), face = TColor(ColorToRGB(clBtnFace));
    const int mid = (back.Left + back.Right) / 2;
    // The upper button is framed all round; the lower one leaves its top to the upper's frame.
    EXPECT_EQ(pixel(fwd.Left, (fwd.Top + fwd.Bottom) / 2), shadow);
    EXPECT_EQ(pixel(mid, fwd.Bottom - 1), shadow);
    EXPECT_EQ(pixel(mid, back.Top), face);
    EXPECT_EQ(pixel(mid, back.Bottom - 1), shadow);
    EXPECT_EQ(pixel(back.Left, (back.Top + back.Bottom) / 2), shadow);
}

} // namespace
