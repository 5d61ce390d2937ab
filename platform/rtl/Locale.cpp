#include "platform/rtl/Locale.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/rtl/Profile.h"

namespace rtl {

TFormatSettings TFormatSettings::ProfileDefaults()
{
    TFormatSettings fs;
    static const char* const months[12] = {"一月", "二月", "三月", "四月", "五月", "六月",
                                           "七月", "八月", "九月", "十月", "十一月", "十二月"};
    static const char* const days[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    for (int i = 0; i < 12; ++i) {
        fs.ShortMonthNames[i] = std::to_string(i + 1) + "月";
        fs.LongMonthNames[i] = months[i];
    }
    for (int i = 0; i < 7; ++i) {
        fs.LongDayNames[i] = days[i];
        fs.ShortDayNames[i] = days[i];
    }
    return fs;
}

std::uint32_t ProfileLocaleService::ThreadLocale() const { return profile::LocaleId; }

std::string ProfileLocaleService::LocaleInfo(std::uint32_t locale, std::uint32_t key) const
{
    const TFormatSettings& fs = settings_;
    switch (key) {
    case LOCALE_SDECIMAL: return std::string(1, fs.DecimalSeparator);
    case LOCALE_STHOUSAND: return std::string(1, fs.ThousandSeparator);
    case LOCALE_SLIST: return std::string(1, fs.ListSeparator);
    case LOCALE_SCURRENCY: return fs.CurrencyString;
    case LOCALE_ICURRDIGITS: return std::to_string(fs.CurrencyDecimals);
    case LOCALE_ICURRENCY: return std::to_string(fs.CurrencyFormat);
    case LOCALE_INEGCURR: return std::to_string(fs.NegCurrFormat);
    case LOCALE_SDATE: return std::string(1, fs.DateSeparator);
    case LOCALE_STIME: return std::string(1, fs.TimeSeparator);
    case LOCALE_SSHORTDATE: return fs.ShortDateFormat;
    case LOCALE_SLONGDATE: return fs.LongDateFormat;
    case LOCALE_IDATE: return "2";   // year, month, day
    case LOCALE_S1159: return fs.TimeAMString;
    case LOCALE_S2359: return fs.TimePMString;
    case LOCALE_STIMEFORMAT: return fs.LongTimeFormat;
    case LOCALE_IFIRSTDAYOFWEEK: return "6";   // Sunday (0 is Monday)
    case LOCALE_ICALENDARTYPE: return "1";     // Gregorian
    default: return {};
    }
}

TDateTime ProfileLocaleService::Now() const
{
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, ms);
}

namespace {
std::unique_ptr<ILocaleService>& Slot()
{
    static std::unique_ptr<ILocaleService> service = std::make_unique<ProfileLocaleService>();
    return service;
}
} // namespace

const ILocaleService& LocaleService() { return *Slot(); }

std::unique_ptr<ILocaleService> SetLocaleService(std::unique_ptr<ILocaleService> service)
{
    if (!service)
        service = std::make_unique<ProfileLocaleService>();
    std::swap(Slot(), service);
    return service;
}

// ---------------------------------------------------------------------------------------------
std::string FloatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s = buf;
    // The platform writes exponents as E+NN without padding beyond two digits.
    std::size_t e = s.find('E');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        char sign = s[e + 1];
        std::string digits = s.substr(e + 2);
        while (digits.size() > 2 && digits[0] == '0')
            digits.erase(0, 1);
        s = mant + "E" + sign + digits;
    }
    for (char& c : s)
        if (c == '.')
            c = FormatSettings().DecimalSeparator;
    return s;
}

bool TryStrToFloat(std::string_view text, double& value)
{
    std::string t = Trim(text);
    if (t.empty())
        return false;
    const char dec = FormatSettings().DecimalSeparator;
    std::string c;
    for (char ch : t) {
        if (ch == dec)
            c += '.';
        else if (ch == '.' && dec != '.')
            return false;
        else
            c += ch;
    }
    for (char ch : c)
        if (!(std::isdigit(static_cast<unsigned char>(ch)) || ch == '.' || ch == '-' || ch == '+' || ch == 'e' || ch == 'E'))
            return false;
    char* end = nullptr;
    double v = std::strtod(c.c_str(), &end);
    if (end != c.c_str() + c.size())
        return false;
    value = v;
    return true;
}

double StrToFloat(std::string_view text)
{
    double v;
    if (!TryStrToFloat(text, v))
        throw EConvertError(Format("'%s' is not a valid floating point value", std::string(text)));
    return v;
}

// A subset of the platform's date-time format language: d dd ddd dddd m mm mmm mmmm yy yyyy
// h hh n nn s ss z zzz am/pm, "/" and ":" as the separators, quoted literals.
std::string FormatDateTime(std::string_view format, TDateTime value)
{
    const TFormatSettings& fs = FormatSettings();
    int y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    bool ampm = format.find("am/pm") != std::string_view::npos || format.find("AM/PM") != std::string_view::npos;
    std::string out;
    auto two = [](int v) { char b[8]; std::snprintf(b, sizeof b, "%02d", v); return std::string(b); };
    auto run = [&](std::size_t i, char c) {
        std::size_t n = 0;
        while (i + n < format.size() && std::tolower(static_cast<unsigned char>(format[i + n])) == c)
            ++n;
        return n;
    };
    bool lastWasHour = false;
    for (std::size_t i = 0; i < format.size();) {
        char c = format[i];
        char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '\'' || c == '"') {
            std::size_t end = format.find(c, i + 1);
            if (end == std::string_view::npos)
                end = format.size();
            out += format.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (format.substr(i, 5) == "am/pm" || format.substr(i, 5) == "AM/PM") {
            out += h < 12 ? fs.TimeAMString : fs.TimePMString;
            i += 5;
            continue;
        }
        std::size_t n = run(i, lc);
        switch (lc) {
        case 'y':
            out += n <= 2 ? two(y % 100) : std::to_string(y);
            break;
        case 'd':
            if (n == 1) out += std::to_string(d);
            else if (n == 2) out += two(d);
            else if (n == 3) out += fs.ShortDayNames[DayOfWeek(value) - 1];
            else if (n == 4) out += fs.LongDayNames[DayOfWeek(value) - 1];
            else out += FormatDateTime(n == 5 ? fs.ShortDateFormat : fs.LongDateFormat, value);
            break;
        case 'm':
            if (lastWasHour && n <= 2) {
                out += n == 1 ? std::to_string(mi) : two(mi);
            } else if (n == 1) out += std::to_string(mo);
            else if (n == 2) out += two(mo);
            else if (n == 3) out += fs.ShortMonthNames[mo - 1];
            else out += fs.LongMonthNames[mo - 1];
            break;
        case 'h': {
            int hh = ampm ? (h % 12 == 0 ? 12 : h % 12) : h;
            out += n == 1 ? std::to_string(hh) : two(hh);
            break;
        }
        case 'n': out += n == 1 ? std::to_string(mi) : two(mi); break;
        case 's': out += n == 1 ? std::to_string(s) : two(s); break;
        case 'z': {
            char b[8];
            std::snprintf(b, sizeof b, n >= 3 ? "%03d" : "%d", ms);
            out += b;
            break;
        }
        case 't':
            out += FormatDateTime(n == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, value);
            break;
        case 'c':
            out += DateTimeToStr(value);
            break;
        case '/': out += fs.DateSeparator; break;
        case ':': out += fs.TimeSeparator; break;
        default: out += c; n = 1; break;
        }
        if (lc == 'h')
            lastWasHour = true;
        else if (std::isalpha(static_cast<unsigned char>(lc)))
            lastWasHour = false;
        i += n == 0 ? 1 : n;
    }
    return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime(FormatSettings().ShortDateFormat, value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime(FormatSettings().LongTimeFormat, value); }

std::string DateTimeToStr(TDateTime value)
{
    std::string s = DateToStr(value);
    double frac = std::fabs(value - std::trunc(value));
    if (frac > 0)
        s += " " + TimeToStr(value);
    return s;
}

bool TryStrToDateTime(std::string_view text, TDateTime& value)
{
    // Date part in the order of the short date format (year, month, day for this locale),
    // separated by the date separator; optional time part H:MM[:SS].
    const TFormatSettings& fs = FormatSettings();
    std::string t = Trim(text);
    int parts[3] = {0, 0, 0}, np = 0;
    std::size_t i = 0;
    TDateTime date = 0;
    bool haveDate = false;
    auto readNum = [&](int& v) {
        std::size_t b = i;
        v = 0;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && i - b < 9)
            v = v * 10 + (t[i++] - '0');
        return i > b;
    };
    std::size_t save = i;
    while (np < 3 && readNum(parts[np])) {
        ++np;
        if (i < t.size() && (t[i] == fs.DateSeparator || t[i] == '/'))
            ++i;
        else
            break;
    }
    if (np == 3) {
        int y = parts[0], m = parts[1], d = parts[2];
        std::string order = fs.ShortDateFormat;
        std::size_t py = order.find_first_of("yY"), pm = order.find_first_of("mM"), pd = order.find_first_of("dD");
        if (pd < pm && pm < py) { d = parts[0]; m = parts[1]; y = parts[2]; }
        else if (pm < pd && pd < py) { m = parts[0]; d = parts[1]; y = parts[2]; }
        if (y < 100)
            y += y < fs.TwoDigitYearCenturyWindow ? 2000 : 1900;
        if (!TryEncodeDate(y, m, d, date))
            return false;
        haveDate = true;
        while (i < t.size() && t[i] == ' ')
            ++i;
    } else {
        i = save;
    }
    TDateTime time = 0;
    bool haveTime = false;
    if (i < t.size()) {
        int h = 0, mi = 0, s = 0;
        if (!readNum(h) || i >= t.size() || t[i] != fs.TimeSeparator)
            return false;
        ++i;
        if (!readNum(mi))
            return false;
        if (i < t.size() && t[i] == fs.TimeSeparator) {
            ++i;
            if (!readNum(s))
                return false;
        }
        if (i != t.size() || !TryEncodeTime(h, mi, s, 0, time))
            return false;
        haveTime = true;
    }
    if (!haveDate && !haveTime)
        return false;
    value = date < 0 ? date - time : date + time;
    return true;
}

TDateTime StrToDateTime(std::string_view text)
{
    TDateTime v;
    if (!TryStrToDateTime(text, v))
        throw EConvertError(Format("'%s' is not a valid date and time", std::string(text)));
    return v;
}

} // namespace rtl
