#pragma once
// Exceptions, text formatting, integer arithmetic with Windows rounding, Currency and TDateTime.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/rtl/Types.h"

namespace rtl {

// ---------------------------------------------------------------------------------------------
// Exceptions. Every run-time error is an Exception; catch sites catch by class.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

#define RTL_EXCEPTION(Name, Parent)                                                              \
    class Name : public Parent {                                                                 \
    public:                                                                                      \
        using Parent::Parent;                                                                    \
    }

// The silent exception: unwinds without a message to the user.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
    using Exception::Exception;
};
RTL_EXCEPTION(EConvertError, Exception);
RTL_EXCEPTION(EVariantError, Exception);
RTL_EXCEPTION(EVariantTypeCastError, EVariantError);
RTL_EXCEPTION(EVariantBadIndexError, EVariantError);
RTL_EXCEPTION(EStreamError, Exception);
RTL_EXCEPTION(EFilerError, EStreamError);
RTL_EXCEPTION(EReadError, EFilerError);
RTL_EXCEPTION(EWriteError, EFilerError);
RTL_EXCEPTION(EFCreateError, EStreamError);
RTL_EXCEPTION(EFOpenError, EStreamError);
RTL_EXCEPTION(EInvalidOperation, Exception);
RTL_EXCEPTION(EListError, Exception);
RTL_EXCEPTION(EStringListError, Exception);
RTL_EXCEPTION(EComponentError, Exception);
RTL_EXCEPTION(EAssertionFailed, Exception);
RTL_EXCEPTION(EIntError, Exception);
RTL_EXCEPTION(EDivByZero, EIntError);
RTL_EXCEPTION(ERangeError, EIntError);
RTL_EXCEPTION(EIntOverflow, EIntError);
RTL_EXCEPTION(EMathError, Exception);
RTL_EXCEPTION(EInvalidPointer, Exception);
RTL_EXCEPTION(EOutOfResources, Exception);
// A virtual operation that a descendant was meant to provide and did not.
RTL_EXCEPTION(EAbstractError, Exception);

[[noreturn]] void Abort();

// ---------------------------------------------------------------------------------------------
// Format: the printf-like formatter of the run-time library. Supports %d %u %x %X %s %f %g %e %n
// %m %p with optional "-", width and ".precision", "*" from the arguments, and "%%".
using FormatArg = std::variant<std::int64_t, double, std::string, const void*>;

std::string FormatV(std::string_view format, const std::vector<FormatArg>& args);

namespace detail {
inline FormatArg ToFormatArg(const std::string& s) { return s; }
inline FormatArg ToFormatArg(std::string_view s) { return std::string(s); }
inline FormatArg ToFormatArg(const char* s) { return std::string(s ? s : ""); }
inline FormatArg ToFormatArg(double d) { return d; }
inline FormatArg ToFormatArg(float d) { return static_cast<double>(d); }
inline FormatArg ToFormatArg(const void* p) { return p; }
template <class T>
    requires std::is_integral_v<T>
FormatArg ToFormatArg(T v) { return static_cast<std::int64_t>(v); }
} // namespace detail

template <class... Args>
std::string Format(std::string_view format, const Args&... args)
{
    return FormatV(format, {detail::ToFormatArg(args)...});
}

// ---------------------------------------------------------------------------------------------
// Text helpers. Strings are UTF-8. The "Ansi" comparisons follow the user's locale rules as the
// platform models them: letters compare without regard to case first, and a lower-case letter
// sorts before the same letter in upper case; the plain ones are ordinal on bytes.
std::string IntToStr(std::int64_t value);
std::string IntToHex(std::uint64_t value, int digits);
int StrToInt(std::string_view text);                         // EConvertError when not an integer
std::int64_t StrToInt64(std::string_view text);
bool TryStrToInt(std::string_view text, int& value);
bool TryStrToInt64(std::string_view text, std::int64_t& value);
std::string Trim(std::string_view text);
std::string UpperCase(std::string_view text);                // ASCII letters only
std::string LowerCase(std::string_view text);
std::string AnsiUpperCase(std::string_view text);            // every letter (Unicode)
std::string AnsiLowerCase(std::string_view text);
int CompareStr(std::string_view a, std::string_view b);      // ordinal, case-sensitive
int CompareText(std::string_view a, std::string_view b);     // ordinal, ASCII case folded
bool SameText(std::string_view a, std::string_view b);
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);
bool AnsiStartsText(std::string_view prefix, std::string_view text);

// ---------------------------------------------------------------------------------------------
// Integer arithmetic.

// a * b / c with a 64-bit intermediate, rounded half away from zero as Windows does; -1 when c
// is 0 or the result does not fit 32 bits.
int MulDiv(int a, int b, int c);

// ---------------------------------------------------------------------------------------------
// Currency: a fixed-point number, Int64 scaled by 10,000.
struct Currency {
    std::int64_t Value = 0;   // units of 1/10,000

    static Currency FromScaled(std::int64_t scaled) { return Currency{scaled}; }
    static Currency FromDouble(double d);    // rounded half to even, ERangeError when too large
    double ToDouble() const { return static_cast<double>(Value) / 10000.0; }
    friend auto operator<=>(const Currency&, const Currency&) = default;
};
std::string CurrToStr(Currency c);

// ---------------------------------------------------------------------------------------------
// TDateTime: days since 1899-12-30 as a double, the time of day as the fraction.
using TDateTime = double;
inline constexpr TDateTime DateDelta = 693594;   // days from 0001-01-01 to 1899-12-30
inline constexpr double MSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);               // EConvertError when invalid
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime value);                                   // 1 = Sunday .. 7 = Saturday
TDateTime Now();                                                  // from the locale service
TDateTime Date();

} // namespace rtl
