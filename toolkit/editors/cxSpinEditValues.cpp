#include "toolkit/editors/cxSpinEditValues.h"

#include <cmath>
#include <limits>

#include "platform/rtl/Locale.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditControl.h"

namespace cx {

namespace {

constexpr double MaxFloatValue = 1.7e308;
constexpr std::int64_t MinInt = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t MaxInt = std::numeric_limits<std::int64_t>::max();
using Int128 = __int128;

bool IsForward(TcxSpinEditButton button)
{
    return button == sebForward || button == sebFastForward;
}

// A double in the 64-bit range, rounded half to even; beyond it, the nearer limit.
std::int64_t SaturatedInt(double d)
{
    const double r = std::nearbyint(d);
    if (std::isnan(r))
        return 0;
    if (r >= 9223372036854775807.0)
        return MaxInt;
    if (r <= -9223372036854775808.0)
        return MinInt;
    return static_cast<std::int64_t>(r);
}

} // namespace

TcxSpinEditValueType cxSpinResolveValueType(bool assigned, TcxSpinEditValueType stored, bool hasProvider,
                                            bool providerIsFloat)
{
    if (assigned)
        return stored;
    if (hasProvider)
        return providerIsFloat ? vtFloat : vtInt;
    return vtFloat;
}

bool TcxSpinEditValueRules::IsMinValueDefined() const
{
    if (MinValueAssigned != MaxValueAssigned)
        return MinValueAssigned;
    return MaxValue > MinValue;
}

bool TcxSpinEditValueRules::IsMaxValueDefined() const
{
    if (MinValueAssigned != MaxValueAssigned)
        return MaxValueAssigned;
    return MaxValue > MinValue;
}

TcxSpinBoundsCheckingKind TcxSpinEditValueRules::GetBoundsCheckingKind() const
{
    if (Circular)
        return bckCircular;
    return ExtendValueUpToBound ? bckExtendToBound : bckDoNotExceed;
}

double TcxSpinEditValueRules::GetIncrement(TcxSpinEditButton button) const
{
    switch (button) {
    case sebBackward: return -Increment;
    case sebForward: return Increment;
    case sebFastBackward: return -LargeIncrement;
    case sebFastForward: return LargeIncrement;
    }
    throw EdxException("TcxCustomSpinEditProperties.GetIncrement fails");
}

Variant TcxSpinEditValueRules::GetMaxMinValueForCurrentValueType(bool min) const
{
    if (ValueType == vtInt)
        return Variant(min ? MinInt : MaxInt);
    return Variant(min ? -MaxFloatValue : MaxFloatValue);
}

double TcxSpinEditValueRules::DoubleAsValueType(TcxSpinEditValueType type, double d)
{
    return type == vtInt ? std::nearbyint(d) : d;
}

bool TcxSpinEditValueRules::IsValueBoundsValid(long double value) const
{
    if (ValueType == vtInt)
        return value >= -9223372036854775808.0L && value <= 9223372036854775807.0L;
    return value >= -MaxFloatValue && value <= MaxFloatValue;
}

Variant TcxSpinEditValueRules::InternalMaxValue() const
{
    if (!IsMaxValueDefined())
        return GetMaxMinValueForCurrentValueType(false);
    if (ValueType == vtInt)
        return Variant(SaturatedInt(MaxValue));
    return Variant(MaxValue);
}

Variant TcxSpinEditValueRules::InternalMinValue() const
{
    if (!IsMinValueDefined())
        return GetMaxMinValueForCurrentValueType(true);
    if (ValueType == vtInt)
        return Variant(SaturatedInt(MinValue));
    return Variant(MinValue);
}

namespace {

// A sign and digits alone: a number whose only fault can be its size. Such a text beyond the
// value type's range reads as the range's end, so that it is clamped like any number past the
// bounds instead of being refused as no number.
int SignOfDigitRun(const std::string& text)
{
    std::size_t i = 0;
    int sign = 1;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        sign = text[0] == '-' ? -1 : 1;
        i = 1;
    }
    if (i == text.size())
        return 0;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return 0;
    return sign;
}

} // namespace

bool TcxSpinEditValueRules::TryTextToValue(const std::string& text, Variant& value) const
{
    value = Variant::MakeNull();
    const int digitRun = SignOfDigitRun(text);
    if (ValueType == vtInt) {
        std::int64_t i = 0;
        if (!TryStrToInt64(text, i)) {
            if (digitRun == 0)
                return false;
            i = digitRun < 0 ? MinInt : MaxInt;
        }
        value = Variant(i);
        return true;
    }
    double d = 0;
    const bool parsed = TryStrToFloat(text, d);
    if (digitRun != 0 && (!parsed || !IsValueBoundsValid(d))) {
        value = Variant(digitRun < 0 ? -MaxFloatValue : MaxFloatValue);
        return true;
    }
    if (!parsed || !IsValueBoundsValid(d))
        return false;
    value = Variant(d);
    return true;
}

Variant TcxSpinEditValueRules::CheckValueBounds(const Variant& value) const
{
    if (!VarIsNumeric(value))
        return value;
    const double v = value.ToDouble();
    if (IsMinValueDefined() && v < MinValue)
        return Variant(MinValue);
    if (IsMaxValueDefined() && v > MaxValue)
        return Variant(MaxValue);
    return value;
}

Variant TcxSpinEditValueRules::VarToCurrentValueType(const Variant& value) const
{
    if (ValueType == vtInt) {
        if (VarIsFloat(value))
            return Variant(SaturatedInt(value.ToDouble()));
        return Variant(value.ToInt64());
    }
    return Variant(value.ToDouble());
}

Variant TcxSpinEditValueRules::SetVariantType(const Variant& value) const
{
    return VarIsNumeric(value) ? VarToCurrentValueType(value) : value;
}

Variant TcxSpinEditValueRules::PrepareValue(const Variant& value) const
{
    if (value.IsNull() || value.IsEmpty())
        return VarToCurrentValueType(Variant(0));
    return VarToCurrentValueType(value);
}

bool TcxSpinEditValueRules::IsEditValueValid(Variant& editValue) const
{
    bool valid = false;
    Variant parsed;
    if ((VarIsStr(editValue) || (VarIsNumeric(editValue) && VarType(editValue) != varDate)) &&
        TryTextToValue(Trim(editValue.ToString()), parsed)) {
        editValue = parsed;
        valid = true;
    } else
        valid = !VarIsStr(editValue) &&
                (editValue.IsNull() || editValue.IsEmpty() || VarType(editValue) == varDate);
    if (!valid)
        return false;
    try {
        editValue = SetVariantType(PrepareValue(editValue));
    } catch (const Exception&) {
        return false;
    }
    return true;
}

namespace {
enum class OutsideStep { Inside, Stepped, Refused };

// A value outside the bounds steps onto the bound it heads for, or wraps in a circular range;
// Inside (also for NaN) leaves the ordinary step to the caller.
template <class T>
OutsideStep StepFromOutside(T v, T min, T max, bool forward, TcxSpinBoundsCheckingKind kind, T& result)
{
    if (!(v < min || v > max))
        return OutsideStep::Inside;
    const bool below = v < min;
    if (forward == below)
        result = below ? min : max;
    else if (kind == bckCircular)
        result = below ? max : min;
    else
        return OutsideStep::Refused;
    return OutsideStep::Stepped;
}
} // namespace

bool TcxSpinEditValueRules::StepInt(std::int64_t v, TcxSpinEditButton button, std::int64_t& result) const
{
    const std::int64_t min = InternalMinValue().ToInt64();
    const std::int64_t max = InternalMaxValue().ToInt64();
    const TcxSpinBoundsCheckingKind kind = GetBoundsCheckingKind();
    const bool forward = IsForward(button);
    if (const OutsideStep o = StepFromOutside(v, min, max, forward, kind, result); o != OutsideStep::Inside)
        return o == OutsideStep::Stepped;
    // 128 bits hold every sum and every range of 64-bit values exactly.
    const Int128 sum = Int128(v) + SaturatedInt(GetIncrement(button));
    if (sum >= min && sum <= max) {
        result = static_cast<std::int64_t>(sum);
        return true;
    }
    if (kind == bckDoNotExceed)
        return false;
    if (kind == bckExtendToBound) {
        result = sum < min ? min : max;
        return true;
    }
    const Int128 period = Int128(max) - min + 1;
    Int128 offset = (sum - min) % period;
    if (offset < 0)
        offset += period;
    result = static_cast<std::int64_t>(min + offset);
    return true;
}

bool TcxSpinEditValueRules::StepFloat(long double v, TcxSpinEditButton button, long double& result) const
{
    const long double min = InternalMinValue().ToDouble();
    const long double max = InternalMaxValue().ToDouble();
    const TcxSpinBoundsCheckingKind kind = GetBoundsCheckingKind();
    const bool forward = IsForward(button);
    if (const OutsideStep o = StepFromOutside(v, min, max, forward, kind, result); o != OutsideStep::Inside)
        return o == OutsideStep::Stepped;
    const long double d = GetIncrement(button);
    if (std::isnan(d))
        return false;
    const long double sum = v + d;
    if (sum >= min && sum <= max) {
        result = sum;
        return true;
    }
    if (kind == bckDoNotExceed)
        return false;
    if (kind == bckExtendToBound) {
        result = sum < min ? min : max;
        return true;
    }
    // One past an end is the other end; a landing between Max and Max + 1 takes the end the
    // step was heading for.
    const long double period = max - min + 1;
    long double offset = std::fmod(sum - min, period);
    if (offset < 0)
        offset += period;
    result = min + offset;
    if (result > max)
        result = forward ? min : max;
    return true;
}

bool TcxSpinEditValueRules::StepValue(const Variant& value, TcxSpinEditButton button, Variant& result) const
{
    const Variant v = SetVariantType(VarIsNumeric(value) ? value : ZeroInBounds());
    if (ValueType == vtInt) {
        std::int64_t r = 0;
        if (!StepInt(v.ToInt64(), button, r))
            return false;
        result = Variant(r);
        return true;
    }
    long double r = 0;
    if (!StepFloat(v.ToDouble(), button, r))
        return false;
    result = Variant(static_cast<double>(r));
    return true;
}

bool TcxSpinEditValueRules::ValidateValue(Variant& value, bool exceptionOnInvalidInput, std::string& errorText) const
{
    if (value.IsNull() || value.IsEmpty())
        value = ZeroInBounds();
    value = SetVariantType(value);
    const double v = value.ToDouble();
    const Variant min = InternalMinValue(), max = InternalMaxValue();
    const bool below = ValueType == vtInt ? value.ToInt64() < min.ToInt64() : v < min.ToDouble();
    const bool above = ValueType == vtInt ? value.ToInt64() > max.ToInt64() : v > max.ToDouble();
    if (!exceptionOnInvalidInput) {
        if (below)
            value = min;
        else if (above)
            value = max;
        return false;
    }
    if (below || above) {
        errorText = cxGetResourceString(&cxSEditValueOutOfBounds);
        return true;
    }
    return false;
}

bool TcxSpinEditValueRules::PrepareTextValue(const std::string& text, const Variant& internalValue, bool raise,
                                             bool exceptionOnInvalidInput, bool defaultRequired,
                                             const TcxSpinTextValueHook& hook, Variant& value,
                                             std::string& errorText) const
{
    errorText.clear();
    if (text.empty()) {
        value = defaultRequired ? ZeroInBounds() : Variant::MakeNull();
        value = SetVariantType(value);
        return true;
    }
    if (TryTextToValue(text, value)) {
        value = SetVariantType(value);
        return true;
    }
    bool error = true;
    if (hook) {
        Variant supplied;
        try {
            hook(text, supplied, errorText, error);
        } catch (const Exception& e) {
            if (raise)
                throw;
            errorText = e.Message;
            return false;
        }
        if (!error) {
            value = SetVariantType(supplied);
            return true;
        }
    }
    if (errorText.empty())
        errorText = cxGetResourceString(&cxSSpinEditInvalidNumericValue);
    if (raise && exceptionOnInvalidInput)
        throw EcxEditError(errorText);
    value = SetVariantType(internalValue);
    return false;
}

} // namespace cx
