#pragma once
// cxSpinEditValues: the numeric rules of the spin editor that need no control: which bounds are
// defined, the effective bounds in the value type, text to number, clamping, the value type
// conversions and the arithmetic of one spin step with its three bound kinds. The spin editor's
// properties hold a TcxSpinEditValueRules filled from their settings and ask it.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/rtl/Variant.h"

namespace cx {
using namespace rtl;

enum TcxSpinEditValueType { vtInt, vtFloat };
enum TcxSpinBoundsCheckingKind { bckDoNotExceed, bckExtendToBound, bckCircular };
enum TcxSpinEditButton { sebBackward, sebForward, sebFastBackward, sebFastForward };

// The value type: the stored one when assigned, else the data's (a default values provider
// saying whether its values are floats), else float.
TcxSpinEditValueType cxSpinResolveValueType(bool assigned, TcxSpinEditValueType stored, bool hasProvider,
                                            bool providerIsFloat);

// Supplies a value for a text that does not parse (the OnGetValue event); it clears error when
// it did, and may set an error text. An exception from it is an error too.
using TcxSpinTextValueHook = std::function<void(const std::string& text, Variant& value, std::string& errorText, bool& error)>;

class TcxSpinEditValueRules {
public:
    TcxSpinEditValueType ValueType = vtFloat;
    double MinValue = 0;
    double MaxValue = 0;
    bool MinValueAssigned = false;
    bool MaxValueAssigned = false;
    bool Circular = false;
    bool ExtendValueUpToBound = true;
    double Increment = 1.0;
    double LargeIncrement = 10.0;

    // One assigned bound alone is defined; otherwise both are, when Max > Min.
    bool IsMinValueDefined() const;
    bool IsMaxValueDefined() const;
    TcxSpinBoundsCheckingKind GetBoundsCheckingKind() const;
    // EdxException for a value outside the enumeration.
    double GetIncrement(TcxSpinEditButton button) const;

    Variant GetMaxMinValueForCurrentValueType(bool min) const;
    static double DoubleAsValueType(TcxSpinEditValueType type, double d);
    bool IsValueBoundsValid(long double value) const;
    // The defined bound in the value type (integers rounded half to even), else the type's limit.
    Variant InternalMaxValue() const;
    Variant InternalMinValue() const;

    bool TryTextToValue(const std::string& text, Variant& value) const;
    Variant CheckValueBounds(const Variant& value) const;
    Variant ZeroInBounds() const { return VarToCurrentValueType(CheckValueBounds(Variant(0))); }
    Variant VarToCurrentValueType(const Variant& value) const;
    Variant SetVariantType(const Variant& value) const;
    Variant PrepareValue(const Variant& value) const;
    bool IsEditValueValid(Variant& editValue) const;

    // The value one step of the button gives from value (already in the value type); false when
    // the step is refused. Circular steps wrap modulo the range, however far they go.
    bool StepValue(const Variant& value, TcxSpinEditButton button, Variant& result) const;

    // The bounds part of validating a display value: a Null value becomes the zero-in-bounds
    // value; then it is clamped, or, with exceptionOnInvalidInput, an out-of-bounds value is an
    // error ("Value out of bounds"). Answers whether there was an error.
    bool ValidateValue(Variant& value, bool exceptionOnInvalidInput, std::string& errorText) const;

    // Text to edit value: empty gives Null (or the zero-in-bounds value when the data require a
    // value); a text that does not parse asks the hook, and failing that keeps internalValue and
    // reports "Invalid numeric value" (raised as EcxEditError only when raise and
    // exceptionOnInvalidInput). Answers whether the text gave a value.
    bool PrepareTextValue(const std::string& text, const Variant& internalValue, bool raise,
                          bool exceptionOnInvalidInput, bool defaultRequired, const TcxSpinTextValueHook& hook,
                          Variant& value, std::string& errorText) const;

private:
    bool StepInt(std::int64_t v, TcxSpinEditButton button, std::int64_t& result) const;
    bool StepFloat(long double v, TcxSpinEditButton button, long double& result) const;
};

} // namespace cx
