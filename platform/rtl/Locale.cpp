#include "platform/rtl/Locale.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/rtl/Profile.h"
#include "platform/rtl/Unicode.h"

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
    case LOCALE_IFIRSTWEEKOFYEAR: return "0";  // the week of 1 January
    case LOCALE_ICALENDARTYPE: return "1";     // Gregorian
    case LOCALE_SYEARMONTH: return "yyyy'\xE5\xB9\xB4'M'\xE6\x9C\x88'";
    default: break;
    }
    // Day names of Windows count from Monday; the format settings' from Sunday.
    static const char* const shortest[7] = {"一", "二", "三", "四", "五", "六", "日"};
    if (key >= LOCALE_SDAYNAME1 && key < LOCALE_SDAYNAME1 + 7)
        return fs.LongDayNames[(key - LOCALE_SDAYNAME1 + 1) % 7];
    if (key >= LOCALE_SABBREVDAYNAME1 && key < LOCALE_SABBREVDAYNAME1 + 7)
        return std::string("周") + shortest[key - LOCALE_SABBREVDAYNAME1];
    if (key >= LOCALE_SSHORTESTDAYNAME1 && key < LOCALE_SSHORTESTDAYNAME1 + 7)
        return shortest[key - LOCALE_SSHORTESTDAYNAME1];
    if (key >= LOCALE_SMONTHNAME1 && key < LOCALE_SMONTHNAME1 + 12)
        return fs.LongMonthNames[key - LOCALE_SMONTHNAME1];
    if (key >= LOCALE_SABBREVMONTHNAME1 && key < LOCALE_SABBREVMONTHNAME1 + 12)
        return fs.ShortMonthNames[key - LOCALE_SABBREVMONTHNAME1];
    return {};
}

std::string ILocaleService::CalendarInfo(std::uint32_t, std::uint32_t, std::uint32_t) const { return {}; }

std::string ProfileLocaleService::CalendarInfo(std::uint32_t locale, std::uint32_t calendar, std::uint32_t key) const
{
    key &= ~CAL_RETURN_NUMBER;
    if (key == CAL_ITWODIGITYEARMAX) {
        switch (calendar) {
        case 3: case 4: return "99";   // Japanese and Taiwan eras are short
        case 5: return "4362";
        case 6: return "1451";
        case 7: return "2572";
        case 8: return "5790";
        default: return calendar >= 1 && calendar <= 12 ? "2029" : "";
        }
    }
    if (key == CAL_SYEARMONTH)
        return LocaleInfo(locale, LOCALE_SYEARMONTH);
    if (key == CAL_SSHORTDATE)
        return LocaleInfo(locale, LOCALE_SSHORTDATE);
    if (key == CAL_SLONGDATE)
        return LocaleInfo(locale, LOCALE_SLONGDATE);
    return {};
}

std::string FixedLocaleService::LocaleInfo(std::uint32_t locale, std::uint32_t key) const
{
    auto it = localeInfo_.find(key & ~LOCALE_RETURN_NUMBER);
    return it != localeInfo_.end() ? it->second : ProfileLocaleService::LocaleInfo(locale, key & ~LOCALE_RETURN_NUMBER);
}

std::string FixedLocaleService::CalendarInfo(std::uint32_t locale, std::uint32_t calendar, std::uint32_t key) const
{
    auto it = calendarInfo_.find({calendar, key & ~CAL_RETURN_NUMBER});
    return it != calendarInfo_.end() ? it->second : ProfileLocaleService::CalendarInfo(locale, calendar, key);
}

namespace {
// Reads a run of one letter of a Windows picture; quoted text ('' is a quote) is copied.
template <class Element>
bool ApplyPicture(std::string_view picture, std::string_view letters, std::string& out, Element element)
{
    for (std::size_t i = 0; i < picture.size();) {
        char c = picture[i];
        if (c == '\'') {
            std::size_t j = i + 1;
            for (; j < picture.size(); ++j) {
                if (picture[j] == '\'') {
                    if (j + 1 < picture.size() && picture[j + 1] == '\'') {
                        out += '\'';
                        ++j;
                        continue;
                    }
                    break;
                }
                out += picture[j];
            }
            i = j + 1;
            continue;
        }
        if (letters.find(c) == std::string_view::npos) {
            out += c;
            ++i;
            continue;
        }
        std::size_t n = 1;
        while (i + n < picture.size() && picture[i + n] == c)
            ++n;
        if (!element(c, static_cast<int>(n), out))
            return false;
        i += n;
    }
    return true;
}

std::string Pad2(int v) { char b[8]; std::snprintf(b, sizeof b, "%02d", v); return b; }
} // namespace

bool ILocaleService::GetDateFormat(std::uint32_t locale, std::uint32_t flags, TDateTime date,
                                   std::string_view format, std::string& text) const
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    if (y < 1601)
        return false;
    std::string picture(format);
    if (picture.empty())
        picture = LocaleInfo(locale, (flags & DATE_LONGDATE) ? LOCALE_SLONGDATE : LOCALE_SSHORTDATE);
    int dow = (DayOfWeek(date) + 5) % 7;   // 0 = Monday, as Windows counts day names
    std::string out;
    bool ok = ApplyPicture(picture, "dMyg", out, [&](char c, int n, std::string& o) {
        switch (c) {
        case 'd':
            if (n == 1) o += std::to_string(d);
            else if (n == 2) o += Pad2(d);
            else o += LocaleInfo(locale, (n == 3 ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1) + dow);
            break;
        case 'M':
            if (n == 1) o += std::to_string(m);
            else if (n == 2) o += Pad2(m);
            else o += LocaleInfo(locale, (n == 3 ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1) + m - 1);
            break;
        case 'y':
            if (n == 1) o += std::to_string(y % 100);
            else if (n == 2) o += Pad2(y % 100);
            else o += std::to_string(y);
            break;
        default: o += "\xE5\x85\xAC\xE5\x85\x83"; break;   // the era: 公元
        }
        return true;
    });
    if (!ok)
        return false;
    text = out;
    return true;
}

bool ILocaleService::GetTimeFormat(std::uint32_t locale, std::uint32_t, TDateTime time,
                                   std::string_view format, std::string& text) const
{
    int h, mi, s, ms;
    DecodeTime(time, h, mi, s, ms);
    std::string picture(format);
    if (picture.empty())
        picture = LocaleInfo(locale, LOCALE_STIMEFORMAT);
    std::string am = LocaleInfo(locale, LOCALE_S1159), pm = LocaleInfo(locale, LOCALE_S2359);
    std::string out;
    ApplyPicture(picture, "hHmst", out, [&](char c, int n, std::string& o) {
        int v = c == 'h' ? (h % 12 == 0 ? 12 : h % 12) : c == 'H' ? h : c == 'm' ? mi : s;
        if (c == 't') {
            const std::string& suffix = h < 12 ? am : pm;
            o += n == 1 ? suffix.substr(0, Utf8CharLength(suffix, 0)) : suffix;
        } else {
            o += n == 1 ? std::to_string(v) : Pad2(v);
        }
        return true;
    });
    text = out;
    return true;
}

TSystemBroadcasts& SystemBroadcasts()
{
    static TSystemBroadcasts broadcasts;
    return broadcasts;
}

void BroadcastSettingChange(const std::string& section) { SystemBroadcasts().SettingChange.Call(section); }
void BroadcastTimeChange() { SystemBroadcasts().TimeChange.Call(); }

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
std::string FloatToStr(double value) { return FloatToStrG(value, 15); }

std::string FloatToStrG(long double value, int digits)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    char buf[80];
    std::snprintf(buf, sizeof buf, "%.*LG", digits, value);
    std::string s = buf;
    // The platform writes exponents as E+NN without padding beyond two digits.
    std::size_t e = s.find('E');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        char sign = s[e + 1];
        std::string digitsText = s.substr(e + 2);
        while (digitsText.size() > 2 && digitsText[0] == '0')
            digitsText.erase(0, 1);
        s = mant + "E" + sign + digitsText;
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
namespace {

// The specifiers that stand for a whole format of the settings ("c", "ddddd", "dddddd", "t",
// "tt"). A settings format may name itself or another one that leads back; each is expanded at
// most once along a chain and gives nothing when met again, so such settings cannot recurse.
enum : unsigned {
    kExpandDateTime = 1u << 0,
    kExpandShortDate = 1u << 1,
    kExpandLongDate = 1u << 2,
    kExpandShortTime = 1u << 3,
    kExpandLongTime = 1u << 4,
};

std::string FormatDateTimeNested(std::string_view format, TDateTime value, unsigned active);

std::string ExpandOnce(std::string_view format, TDateTime value, unsigned active, unsigned which)
{
    if (active & which)
        return {};
    return FormatDateTimeNested(format, value, active | which);
}

std::string FormatDateTimeNested(std::string_view format, TDateTime value, unsigned active)
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
            else if (n == 5) out += ExpandOnce(fs.ShortDateFormat, value, active, kExpandShortDate);
            else out += ExpandOnce(fs.LongDateFormat, value, active, kExpandLongDate);
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
            if (n == 1) out += ExpandOnce(fs.ShortTimeFormat, value, active, kExpandShortTime);
            else out += ExpandOnce(fs.LongTimeFormat, value, active, kExpandLongTime);
            break;
        case 'c':
            if (!(active & kExpandDateTime)) {
                // As DateTimeToStr: the short date, then the long time unless it is midnight.
                unsigned inner = active | kExpandDateTime;
                out += ExpandOnce(fs.ShortDateFormat, value, inner, kExpandShortDate);
                if (std::fabs(value - std::trunc(value)) > 0) {
                    out += " ";
                    out += ExpandOnce(fs.LongTimeFormat, value, inner, kExpandLongTime);
                }
            }
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

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime value)
{
    return FormatDateTimeNested(format, value, 0);
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
