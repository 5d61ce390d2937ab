#include "tests/toolkit/editors/MaskTestSupport.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxSpinEditValues.h"

#include <limits>

using namespace cx;

namespace {

class SpinValues : public MaskLocaleTest {
protected:
    // The delay dialog's rows: integers, both bounds assigned, 0..5000.
    static TcxSpinEditValueRules DelayRow()
    {
        TcxSpinEditValueRules r;
        r.ValueType = vtInt;
        r.MinValue = 0;
        r.MaxValue = 5000;
        r.MinValueAssigned = r.MaxValueAssigned = true;
        r.LargeIncrement = 1;
        return r;
    }
    static std::string Step(const TcxSpinEditValueRules& r, const Variant& v, TcxSpinEditButton b)
    {
        Variant result;
        return r.StepValue(v, b, result) ? result.ToString() : "refused";
    }
};

constexpr std::int64_t MinInt = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t MaxInt = std::numeric_limits<std::int64_t>::max();

TEST_F(SpinValues, BoundDefinitionAndEffectiveBounds)
{
    struct Case { double min, max; bool minSet, maxSet; std::string lo, hi; };
    const Case cases[] = {
        {0, 0, false, false, "-9223372036854775808", "9223372036854775807"},   // no bounds
        {0, 5000, false, true, "-9223372036854775808", "5000"},                // only the maximum
        {0, 5000, true, true, "0", "5000"},
        {7, 5, true, true, "-9223372036854775808", "9223372036854775807"},     // Max <= Min: none
        {0, 10.5, true, true, "0", "10"},                                       // halves to even
        {-2.5, 11.5, true, true, "-2", "12"},
        {0, 1e30, true, true, "0", "9223372036854775807"},                      // kept in the type
    };
    for (const auto& c : cases) {
        TcxSpinEditValueRules r;
        r.ValueType = vtInt;
        r.MinValue = c.min;
        r.MaxValue = c.max;
        r.MinValueAssigned = c.minSet;
        r.MaxValueAssigned = c.maxSet;
        EXPECT_EQ(r.InternalMinValue().ToString(), c.lo) << c.min << ".." << c.max;
        EXPECT_EQ(r.InternalMaxValue().ToString(), c.hi) << c.min << ".." << c.max;
    }
    TcxSpinEditValueRules f;
    EXPECT_DOUBLE_EQ(f.InternalMaxValue().ToDouble(), 1.7e308);
    EXPECT_EQ(cxSpinResolveValueType(false, vtInt, false, false), vtFloat);
    EXPECT_EQ(cxSpinResolveValueType(false, vtFloat, true, false), vtInt);
    EXPECT_EQ(cxSpinResolveValueType(true, vtInt, true, true), vtInt);
}

TEST_F(SpinValues, TextToValueAndEditValueValidity)
{
    TcxSpinEditValueRules r = DelayRow();
    Variant v;
    EXPECT_TRUE(r.TryTextToValue("7000", v));
    EXPECT_EQ(VarType(v), varInt64);
    EXPECT_FALSE(r.TryTextToValue("5-", v));
    EXPECT_TRUE(v.IsNull());
    EXPECT_FALSE(r.TryTextToValue("1,5", v));
    r.ValueType = vtFloat;
    EXPECT_TRUE(r.TryTextToValue("1,5", v));   // the locale's decimal separator
    EXPECT_DOUBLE_EQ(v.ToDouble(), 1.5);
    EXPECT_FALSE(r.TryTextToValue("1e400", v));

    // A run of digits too long for the type reads as the type's end, to be clamped like 7000.
    const std::string huge(400, '9');
    EXPECT_TRUE(r.TryTextToValue(huge, v));
    EXPECT_DOUBLE_EQ(v.ToDouble(), 1.7e308);
    r.ValueType = vtInt;
    for (const auto& [text, expected] : std::vector<std::pair<std::string, std::int64_t>>{
             {"99999999999999999999", INT64_MAX}, {"+" + huge, INT64_MAX}, {"-9223372036854775809", INT64_MIN}}) {
        EXPECT_TRUE(r.TryTextToValue(text, v)) << text;
        EXPECT_EQ(v.ToInt64(), expected) << text;
    }
    EXPECT_FALSE(r.TryTextToValue("99999999999999999999x", v));
    EXPECT_FALSE(r.TryTextToValue("-", v));
    ASSERT_TRUE(r.TryTextToValue("99999999999999999999", v));
    std::string error;
    EXPECT_FALSE(r.ValidateValue(v, false, error));  // no error: clamped to the row's maximum
    EXPECT_EQ(v.ToInt64(), 5000);

    r.ValueType = vtInt;
    Variant s("12"), null = Variant::MakeNull(), date = Variant::FromDate(45000), letters("abc");
    EXPECT_TRUE(r.IsEditValueValid(s));
    EXPECT_EQ(s.ToInt64(), 12);
    EXPECT_TRUE(r.IsEditValueValid(null));
    EXPECT_EQ(VarType(null), varInt64);
    EXPECT_TRUE(r.IsEditValueValid(date));
    EXPECT_FALSE(r.IsEditValueValid(letters));
}

TEST_F(SpinValues, ValidationClampsOrReportsOutOfBounds)
{
    const TcxSpinEditValueRules r = DelayRow();
    std::string error;
    Variant v(std::int64_t(7000));
    EXPECT_FALSE(r.ValidateValue(v, false, error));
    EXPECT_EQ(v.ToString(), "5000");
    v = Variant(std::int64_t(7000));
    EXPECT_TRUE(r.ValidateValue(v, true, error));
    EXPECT_EQ(error, "Value out of bounds");
    v = Variant::MakeNull();
    EXPECT_FALSE(r.ValidateValue(v, true, error));
    EXPECT_EQ(v.ToString(), "0");
}

TEST_F(SpinValues, StepsWithTheThreeBoundKinds)
{
    TcxSpinEditValueRules r = DelayRow();
    TcxSpinEditValueRules circular = DelayRow();
    circular.Circular = true;
    TcxSpinEditValueRules exact = DelayRow();
    exact.ExtendValueUpToBound = false;
    TcxSpinEditValueRules small = circular;
    small.MaxValue = 10;
    small.Increment = 25;
    TcxSpinEditValueRules half = DelayRow();
    half.Increment = 0.5;
    TcxSpinEditValueRules three = circular;
    three.Increment = 3;
    struct Case { const TcxSpinEditValueRules* rules; std::int64_t v; TcxSpinEditButton b; const char* result; };
    const Case cases[] = {
        {&r, 5000, sebForward, "5000"},
        {&r, 4999, sebFastForward, "5000"},
        {&r, 0, sebBackward, "0"},
        {&r, 7000, sebBackward, "5000"},      // a typed value above Max
        {&r, 7000, sebForward, "refused"},
        {&r, -3, sebBackward, "refused"},
        {&exact, 5000, sebForward, "refused"},
        {&circular, 5000, sebForward, "0"},
        {&circular, 0, sebBackward, "5000"},
        {&circular, 7000, sebForward, "0"},
        {&three, 4999, sebForward, "1"},
        {&small, 5, sebForward, "8"},         // wraps as often as needed: 30 mod 11
        {&small, 5, sebBackward, "2"},        // -20 mod 11
        {&half, 40, sebForward, "40"},        // 0.5 rounds to an even 0
    };
    for (const auto& c : cases)
        EXPECT_EQ(Step(*c.rules, Variant(c.v), c.b), c.result) << c.v << " button " << c.b;

    TcxSpinEditValueRules open;   // no bounds: the 64-bit limits
    open.ValueType = vtInt;
    open.Increment = 10;
    EXPECT_EQ(Step(open, Variant(MaxInt - 1), sebForward), std::to_string(MaxInt));
    EXPECT_EQ(Step(open, Variant(MinInt + 3), sebBackward), std::to_string(MinInt));
    open.Circular = true;
    EXPECT_EQ(Step(open, Variant(MaxInt - 1), sebForward), std::to_string(MinInt + 8));
    open.Increment = 1e300;   // beyond the type: as far as it goes
    open.Circular = false;
    EXPECT_EQ(Step(open, Variant(std::int64_t(0)), sebForward), std::to_string(MaxInt));
}

TEST_F(SpinValues, FloatStepsStayInsideTheirBounds)
{
    TcxSpinEditValueRules r;
    r.MinValue = 0;
    r.MaxValue = 10;
    r.Circular = true;
    EXPECT_EQ(Step(r, Variant(9.5), sebForward), "0");    // between Max and Max + 1
    EXPECT_EQ(Step(r, Variant(0.5), sebBackward), "10");
    EXPECT_EQ(Step(r, Variant(4.5), sebFastForward), "3,5");
}

TEST_F(SpinValues, IncrementsAndUnparsableText)
{
    TcxSpinEditValueRules r = DelayRow();
    EXPECT_EQ(r.GetIncrement(sebFastBackward), -1);
    try {
        r.GetIncrement(static_cast<TcxSpinEditButton>(7));
        FAIL();
    } catch (const EdxException& e) {
        EXPECT_EQ(e.Message, "TcxCustomSpinEditProperties.GetIncrement fails");
    }

    Variant value;
    std::string error;
    const Variant internal(std::int64_t(42));
    EXPECT_FALSE(r.PrepareTextValue("5-", internal, false, false, false, nullptr, value, error));
    EXPECT_EQ(error, "Invalid numeric value");   // reported whatever the exception flag
    EXPECT_EQ(value.ToInt64(), 42);
    EXPECT_NO_THROW(r.PrepareTextValue("5-", internal, true, false, false, nullptr, value, error));
    EXPECT_THROW(r.PrepareTextValue("5-", internal, true, true, false, nullptr, value, error), EcxEditError);

    EXPECT_TRUE(r.PrepareTextValue("", internal, false, false, false, nullptr, value, error));
    EXPECT_TRUE(value.IsNull());
    EXPECT_TRUE(r.PrepareTextValue("", internal, false, false, true, nullptr, value, error));
    EXPECT_EQ(value.ToInt64(), 0);

    const TcxSpinTextValueHook words = [](const std::string& text, Variant& v, std::string&, bool& failed) {
        if (text == "ten") {
            v = Variant(10);
            failed = false;
        }
    };
    EXPECT_TRUE(r.PrepareTextValue("ten", internal, true, true, false, words, value, error));
    EXPECT_EQ(VarType(value), varInt64);
    EXPECT_FALSE(r.PrepareTextValue("eleven", internal, false, false, false, words, value, error));
    const TcxSpinTextValueHook throws = [](const std::string&, Variant&, std::string&, bool&) {
        throw EConvertError("no such number");
    };
    EXPECT_FALSE(r.PrepareTextValue("x", internal, false, false, false, throws, value, error));
    EXPECT_EQ(error, "no such number");
    EXPECT_THROW(r.PrepareTextValue("x", internal, true, false, false, throws, value, error), EConvertError);
}

} // namespace
