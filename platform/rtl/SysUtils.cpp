#include "platform/rtl/SysUtils.h"

#include <QString>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/rtl/Locale.h"

namespace rtl {

void Abort() { throw EAbort(); }

// ---------------------------------------------------------------------------------------------
namespace {

struct Spec {
    bool left = false;
    int width = -1;
    int precision = -1;
    char kind = 0;
};

std::string Pad(std::string s, const Spec& spec)
{
    if (spec.width > 0 && static_cast<int>(s.size()) < spec.width) {
        std::string fill(spec.width - s.size(), ' ');
        s = spec.left ? s + fill : fill + s;
    }
    return s;
}

std::string WithThousands(const std::string& digits)
{
    std::string out;
    std::size_t start = (!digits.empty() && digits[0] == '-') ? 1 : 0;
    std::size_t dot = digits.find('.');
    std::size_t intEnd = dot == std::string::npos ? digits.size() : dot;
    out = digits.substr(0, start);
    for (std::size_t i = start; i < intEnd; ++i) {
        out += digits[i];
        std::size_t left = intEnd - i - 1;
        if (left > 0 && left % 3 == 0)
            out += FormatSettings().ThousandSeparator;
    }
    out += digits.substr(intEnd);
    return out;
}

std::string FloatText(double v, char kind, int precision)
{
    char buf[512];
    const char decimal = FormatSettings().DecimalSeparator;
    std::string s;
    switch (kind) {
    case 'f': case 'n': case 'm':
        std::snprintf(buf, sizeof buf, "%.*f", precision < 0 ? 2 : precision, v);
        s = buf;
        if (kind != 'f')
            s = WithThousands(s);
        break;
    case 'e':
        std::snprintf(buf, sizeof buf, "%.*E", precision < 0 ? 14 : std::max(precision - 1, 0), v);
        s = buf;
        break;
    default:   // 'g'
        s = FloatToStr(v);
        return s;
    }
    for (char& c : s)
        if (c == '.')
            c = decimal;
    if (kind == 'm') {
        const auto& fs = FormatSettings();
        s = v < 0 ? "-" + fs.CurrencyString + s.substr(1) : fs.CurrencyString + s;
    }
    return s;
}

[[noreturn]] void FormatError(std::string_view format)
{
    throw EConvertError(Format("Format '%s' invalid or incompatible with argument", std::string(format)));
}

} // namespace

std::string FormatV(std::string_view format, const std::vector<FormatArg>& args)
{
    std::string out;
    std::size_t next = 0;
    auto takeInt = [&]() -> std::int64_t {
        if (next >= args.size() || !std::holds_alternative<std::int64_t>(args[next]))
            FormatError(format);
        return std::get<std::int64_t>(args[next++]);
    };
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (++i >= format.size())
            FormatError(format);
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        Spec spec;
        if (format[i] == '-') {
            spec.left = true;
            ++i;
        }
        auto number = [&](int& target) {
            if (i < format.size() && format[i] == '*') {
                target = static_cast<int>(takeInt());
                ++i;
                return;
            }
            if (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) {
                target = 0;
                while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
                    target = target * 10 + (format[i++] - '0');
            }
        };
        number(spec.width);
        if (i < format.size() && format[i] == '.') {
            ++i;
            spec.precision = 0;
            number(spec.precision);
        }
        if (i >= format.size() || next >= args.size())
            FormatError(format);
        spec.kind = format[i];
        const FormatArg& arg = args[next++];
        std::string text;
        switch (spec.kind) {
        case 'd': case 'D': case 'u': case 'U': {
            if (!std::holds_alternative<std::int64_t>(arg))
                FormatError(format);
            std::int64_t v = std::get<std::int64_t>(arg);
            text = (spec.kind == 'u' || spec.kind == 'U') ? std::to_string(static_cast<std::uint32_t>(v))
                                                          : std::to_string(v);
            if (spec.precision > 0) {
                bool neg = !text.empty() && text[0] == '-';
                std::string digits = neg ? text.substr(1) : text;
                if (static_cast<int>(digits.size()) < spec.precision)
                    digits.insert(0, spec.precision - digits.size(), '0');
                text = (neg ? "-" : "") + digits;
            }
            break;
        }
        case 'x': case 'X': {
            if (!std::holds_alternative<std::int64_t>(arg))
                FormatError(format);
            std::int64_t v = std::get<std::int64_t>(arg);
            std::uint64_t u = (v < 0 && v >= INT32_MIN) ? static_cast<std::uint32_t>(v) : static_cast<std::uint64_t>(v);
            text = IntToHex(u, spec.precision > 0 ? spec.precision : 1);
            break;
        }
        case 's': case 'S':
            if (!std::holds_alternative<std::string>(arg))
                FormatError(format);
            text = std::get<std::string>(arg);
            if (spec.precision >= 0 && static_cast<int>(text.size()) > spec.precision)
                text.resize(spec.precision);
            break;
        case 'f': case 'g': case 'e': case 'n': case 'm':
        case 'F': case 'G': case 'E': case 'N': case 'M': {
            double v;
            if (std::holds_alternative<double>(arg))
                v = std::get<double>(arg);
            else if (std::holds_alternative<std::int64_t>(arg))
                FormatError(format);
            else
                FormatError(format);
            text = FloatText(v, static_cast<char>(std::tolower(spec.kind)), spec.precision);
            break;
        }
        case 'p': case 'P': {
            if (!std::holds_alternative<const void*>(arg))
                FormatError(format);
            text = IntToHex(reinterpret_cast<std::uintptr_t>(std::get<const void*>(arg)), sizeof(void*) * 2);
            break;
        }
        default:
            FormatError(format);
        }
        out += Pad(std::move(text), spec);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::string IntToHex(std::uint64_t value, int digits)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), hex[value & 15]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(s.size()) < digits)
        s.insert(0, digits - s.size(), '0');
    return s;
}

bool TryStrToInt64(std::string_view text, std::int64_t& value)
{
    std::string t = Trim(text);
    if (t.empty())
        return false;
    bool neg = false;
    std::size_t i = 0;
    if (t[0] == '-' || t[0] == '+') {
        neg = t[0] == '-';
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    std::uint64_t u = 0;
    auto [p, ec] = std::from_chars(t.data() + i, t.data() + t.size(), u, base);
    if (ec != std::errc() || p != t.data() + t.size())
        return false;
    if (base == 10 && u > (neg ? 9223372036854775808ULL : 9223372036854775807ULL))
        return false;
    value = neg ? static_cast<std::int64_t>(0 - u) : static_cast<std::int64_t>(u);
    return true;
}

bool TryStrToInt(std::string_view text, int& value)
{
    std::int64_t v;
    if (!TryStrToInt64(text, v))
        return false;
    if (v < INT32_MIN || v > UINT32_MAX)
        return false;
    if (v > INT32_MAX) {
        // Hexadecimal literals fill all 32 bits, as the platform reads them.
        std::string t = Trim(text);
        if (t.find_first_of("$xX") == std::string::npos)
            return false;
    }
    value = static_cast<int>(static_cast<std::uint32_t>(v));
    return true;
}

int StrToInt(std::string_view text)
{
    int v;
    if (!TryStrToInt(text, v))
        throw EConvertError(Format("'%s' is not a valid integer value", std::string(text)));
    return v;
}

std::int64_t StrToInt64(std::string_view text)
{
    std::int64_t v;
    if (!TryStrToInt64(text, v))
        throw EConvertError(Format("'%s' is not a valid integer value", std::string(text)));
    return v;
}

std::string Trim(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return std::string(text.substr(b, e - b));
}

std::string UpperCase(std::string_view text)
{
    std::string s(text);
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return s;
}

std::string LowerCase(std::string_view text)
{
    std::string s(text);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return s;
}

std::string AnsiUpperCase(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUpper().toStdString();
}

std::string AnsiLowerCase(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLower().toStdString();
}

int CompareStr(std::string_view a, std::string_view b)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareText(std::string_view a, std::string_view b) { return CompareStr(UpperCase(a), UpperCase(b)); }

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

namespace {
int Sign(int v) { return (v > 0) - (v < 0); }
} // namespace

int AnsiCompareText(std::string_view a, std::string_view b)
{
    QString qa = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    QString qb = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    return Sign(QString::compare(qa, qb, Qt::CaseInsensitive));
}

int AnsiCompareStr(std::string_view a, std::string_view b)
{
    int r = AnsiCompareText(a, b);
    if (r != 0)
        return r;
    // Same letters: lower case first, then code point order.
    QString qa = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    QString qb = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    for (qsizetype i = 0; i < std::min(qa.size(), qb.size()); ++i) {
        if (qa[i] == qb[i])
            continue;
        if (qa[i].isLower() && qb[i].isUpper())
            return -1;
        if (qa[i].isUpper() && qb[i].isLower())
            return 1;
        return qa[i] < qb[i] ? -1 : 1;
    }
    return Sign(static_cast<int>(qa.size() - qb.size()));
}

bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }

bool AnsiStartsText(std::string_view prefix, std::string_view text)
{
    if (prefix.size() > text.size())
        return false;
    return AnsiSameText(prefix, text.substr(0, prefix.size()));
}

// ---------------------------------------------------------------------------------------------
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t p = static_cast<std::int64_t>(a) * b;
    std::int64_t q = p / c;
    std::int64_t r = p % c;
    // Round half away from zero: compare twice the remainder with the divisor.
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<std::int64_t>(c) : c))
        q += ((p < 0) != (c < 0)) ? -1 : 1;
    if (q > INT32_MAX || q < -static_cast<std::int64_t>(INT32_MAX))
        return -1;
    return static_cast<int>(q);
}

// ---------------------------------------------------------------------------------------------
Currency Currency::FromDouble(double d)
{
    double scaled = std::nearbyint(d * 10000.0);   // default rounding mode: half to even
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
        throw ERangeError("Currency value out of range");
    return Currency{static_cast<std::int64_t>(scaled)};
}

std::string CurrToStr(Currency c)
{
    std::int64_t v = c.Value;
    bool neg = v < 0;
    std::uint64_t u = neg ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    std::string s = std::to_string(u / 10000);
    std::uint64_t frac = u % 10000;
    if (frac != 0) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (f.back() == '0')
            f.pop_back();
        s += FormatSettings().DecimalSeparator + f;
    }
    return neg ? "-" + s : s;
}

// ---------------------------------------------------------------------------------------------
bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    int days = day;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    int y = year - 1;
    days += y * 365 + y / 4 - y / 100 + y / 400;
    result = days - DateDelta;
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result)
{
    if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
        return false;
    result = (((hour * 60.0 + min) * 60.0 + sec) * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r))
        throw EConvertError("Invalid argument to date encode");
    return r;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime r;
    if (!TryEncodeTime(hour, min, sec, msec, r))
        throw EConvertError("Invalid argument to time encode");
    return r;
}

namespace {
// Whole milliseconds of a date-time, split into a day number (since 0001-01-01 = 1) and the
// milliseconds of that day; the time of a negative value is its absolute fraction.
void Split(TDateTime value, std::int64_t& day, std::int64_t& ms)
{
    std::int64_t total = std::llround(std::fabs(value) * MSecsPerDay);
    std::int64_t wholeDays = total / 86400000;
    ms = total % 86400000;
    day = static_cast<std::int64_t>(DateDelta) + (value < 0 ? -wholeDays : wholeDays);
}
} // namespace

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    std::int64_t d, ms;
    Split(value, d, ms);
    if (d <= 0) {
        year = month = day = 0;
        return;
    }
    --d;   // days since 0001-01-01
    int y = 1;
    static const int D400 = 146097, D100 = 36524, D4 = 1461;
    y += static_cast<int>(d / D400) * 400;
    d %= D400;
    int c = static_cast<int>(d / D100);
    if (c == 4)
        c = 3;
    y += c * 100;
    d -= c * D100;
    y += static_cast<int>(d / D4) * 4;
    d %= D4;
    int i = static_cast<int>(d / 365);
    if (i == 4)
        i = 3;
    y += i;
    d -= i * 365;
    int m = 1;
    while (d >= DaysInMonth(y, m)) {
        d -= DaysInMonth(y, m);
        ++m;
    }
    year = y;
    month = m;
    day = static_cast<int>(d) + 1;
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec)
{
    std::int64_t d, ms;
    Split(value, d, ms);
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime value)
{
    std::int64_t d, ms;
    Split(value, d, ms);
    return static_cast<int>(d % 7) + 1;
}

TDateTime Now() { return LocaleService().Now(); }

TDateTime Date() { return std::trunc(Now()); }

} // namespace rtl
