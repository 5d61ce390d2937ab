// Date and time text: locale readers, formatters, parsers, smart input and the date utilities.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>

#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxDateUtils.h"
#include "toolkit/core/cxFormats.h"
#include "toolkit/core/cxLibraryStrs.h"

namespace cx {

TcxSmartTextToDateFunc SmartTextToDateFunc;
double ApproxDaysPerMonth = 30.4375;
double ApproxDaysPerYear = 365.25;
int MinYear = 100;
int MaxYear = 9999;
TDateTime cxMaxDateTime = 2958465.99999;
bool cxUseSingleCharWeekNames = true;

namespace {
using rtl::LocaleService;

std::string Info(Cardinal key, const std::string& def = "")
{
    return cxGetLocaleInfo(LocaleService().ThreadLocale(), key, def);
}

struct TableHolder {
    explicit TableHolder(const TcxCustomCalendarTable* table)
        : owned(table ? nullptr : cxGetLocalCalendar()), t(table ? table : owned) {}
    ~TableHolder() { if (owned) owned->Free(); }
    TcxCustomCalendarTable* owned;
    const TcxCustomCalendarTable* t;
};

bool LibraryFormats()
{
    return cxIsGregorianCalendar() && cxFormatController()->UseDelphiDateTimeFormats();
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Digits(int value, int width)
{
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, width - s.size(), '0');
    return s;
}

// The toolkit's own date formatter: elements in format order, joined by the fixed separator when
// one is given, else by the literal text read since the previous element.
std::string FormatDate(const std::string& format, char fixedSeparator, TDateTime date, const TFormatSettings& fs)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    if (y < 1)
        return "";   // the null date, or no date the platform can name
    int dow = DayOfWeek(date) - 1;
    std::string f = Lower(format), out, literal;
    std::size_t i = f.find_first_of("dmy");
    while (i != std::string::npos && i < f.size()) {
        char c = f[i];
        if (c == 'd' || c == 'm' || c == 'y') {
            std::size_t n = 1;
            while (i + n < f.size() && f[i + n] == c)
                ++n;
            std::string element;
            if (c == 'd')
                element = n == 3 ? fs.ShortDayNames[dow] : n == 4 ? fs.LongDayNames[dow] : n == 2 ? Digits(d, 2) : std::to_string(d);
            else if (c == 'm')
                element = n == 4 ? fs.LongMonthNames[m - 1] : Digits(m, 2);
            else {
                std::string year = Digits(y, 4);
                element = n == 4 ? year.substr(year.size() - 4) : year.substr(year.size() - 2);
            }
            if (!out.empty())
                out += fixedSeparator ? std::string(1, fixedSeparator) : literal;
            literal.clear();
            out += element;
            i += n;
        } else if (c == 'e') {
            i = f.find_first_of("dmy", i);
        } else {
            literal += format[i];
            ++i;
        }
    }
    return out;
}

// The run-time library's time formatting under given settings (h hh n nn s ss z zzz am/pm a/p
// ampm, ":" as the separator, quoted literals; "m" right after an hour means minutes).
std::string FormatTime(const std::string& format, TDateTime time, const TFormatSettings& fs)
{
    int h, mi, s, ms;
    DecodeTime(time, h, mi, s, ms);
    std::string lf = Lower(format), out;
    bool twelve = lf.find("am/pm") != std::string::npos || lf.find("a/p") != std::string::npos ||
                  lf.find("ampm") != std::string::npos;
    bool afterHour = false;
    for (std::size_t i = 0; i < format.size();) {
        char c = lf[i];
        if (c == '"' || c == '\'') {
            std::size_t e = format.find(format[i], i + 1);
            if (e == std::string::npos)
                e = format.size();
            out += format.substr(i + 1, e - i - 1);
            i = e + 1;
            continue;
        }
        if (lf.compare(i, 5, "am/pm") == 0) { out += h < 12 ? fs.TimeAMString : fs.TimePMString; i += 5; continue; }
        if (lf.compare(i, 4, "ampm") == 0) { out += h < 12 ? fs.TimeAMString : fs.TimePMString; i += 4; continue; }
        if (lf.compare(i, 3, "a/p") == 0) { out += h < 12 ? "a" : "p"; i += 3; continue; }
        std::size_t n = 1;
        while (i + n < lf.size() && lf[i + n] == c)
            ++n;
        switch (c) {
        case 'h': out += n > 1 ? Digits(twelve ? (h % 12 ? h % 12 : 12) : h, 2) : std::to_string(twelve ? (h % 12 ? h % 12 : 12) : h); break;
        case 'n': out += n > 1 ? Digits(mi, 2) : std::to_string(mi); break;
        case 'm':
            if (!afterHour) { out += format.substr(i, n); break; }
            out += n > 1 ? Digits(mi, 2) : std::to_string(mi);
            break;
        case 's': out += n > 1 ? Digits(s, 2) : std::to_string(s); break;
        case 'z': out += n >= 3 ? Digits(ms, 3) : std::to_string(ms); break;
        case ':': out += std::string(n, fs.TimeSeparator); break;
        default: out += format.substr(i, n); break;
        }
        if (std::isalpha(static_cast<unsigned char>(c)))
            afterHour = c == 'h';
        i += n;
    }
    return out;
}

std::string TrimUpper(const std::string& s) { return AnsiUpperCase(Trim(s)); }

// Replaces every occurrence of `what` (ignoring case) by as many spaces.
void BlankOut(std::string& text, const std::string& what)
{
    std::string up = AnsiUpperCase(text), key = AnsiUpperCase(what);
    if (key.empty() || up.size() != text.size())
        return;
    for (std::size_t p = up.find(key); p != std::string::npos; p = up.find(key, p + key.size()))
        text.replace(p, key.size(), std::string(key.size(), ' '));
}

// Drops literal text of the display formats that would stop the parser; the separators and the
// AM/PM strings stay.
std::string CleanInput(const std::string& text, bool locale)
{
    const TFormatSettings& fs = rtl::FormatSettings();
    std::vector<std::string> kept;
    if (locale)
        kept = {std::string(1, cxGetDateSeparator()), std::string(1, cxGetLocalTimeSeparator()),
                Info(rtl::LOCALE_S1159, "am"), Info(rtl::LOCALE_S2359, "pm")};
    else
        kept = {std::string(1, fs.DateSeparator), std::string(1, fs.TimeSeparator), fs.TimeAMString, fs.TimePMString};
    for (auto& k : kept)
        k = TrimUpper(k);
    std::string s = text;
    auto blank = [&](const TcxDateTimeFormatInfo& info) {
        for (const auto& item : info.Items) {
            std::string t = TrimUpper(item.Data);
            if (item.Kind == dtikString && !t.empty() && std::find(kept.begin(), kept.end(), t) == kept.end())
                BlankOut(s, Trim(item.Data));
        }
    };
    blank(cxFormatController()->DateFormatInfo());
    blank(cxFormatController()->TimeFormatInfo());
    s = Trim(s);
    std::string collapsed;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == ' ' && i + 1 < s.size() && std::isspace(static_cast<unsigned char>(s[i + 1])))
            continue;
        collapsed += s[i];
    }
    if (locale) {
        char sep = cxGetDateSeparator();
        std::replace(collapsed.begin(), collapsed.end(), sep, ' ');
    }
    return collapsed;
}

bool ValidParsedDate(TDateTime value)
{
    if (!(value > -2147483648.0 && value < 2147483648.0))
        return false;
    int y, m, d;
    DecodeDate(value, y, m, d);
    return d != 0 && y <= MaxYear;
}

// The system's text-to-date conversion of a string variant: like the run-time library's, but
// blanks, "/", "." and the locale's separator all separate the parts of the date.
TDateTime ParseVariantDate(const std::string& text)
{
    const char sep = rtl::FormatSettings().DateSeparator;
    std::string s = Trim(text), normal;
    std::size_t i = 0;
    int groups = 0;
    while (i < s.size() && groups < 3 && std::isdigit(static_cast<unsigned char>(s[i]))) {
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            normal += s[i++];
        ++groups;
        std::size_t j = i;
        while (j < s.size() && (s[j] == ' ' || s[j] == sep || s[j] == '/' || s[j] == '.'))
            ++j;
        if (groups < 3 && j > i && j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])) &&
            s.find_first_of(rtl::FormatSettings().TimeSeparator, i) != i) {
            normal += sep;
            i = j;
        } else {
            break;
        }
    }
    std::string candidate = groups == 3 ? normal + s.substr(i) : s;
    return Variant(candidate).ToDate();
}

int TruncDiv(int a, int b) { return a / b; }   // C++ division truncates toward zero
} // namespace

// --- locale readers ----------------------------------------------------------------------------------
char cxGetDateSeparator() { std::string s = Info(rtl::LOCALE_SDATE); return s.empty() ? '\0' : s[0]; }
char cxGetLocalTimeSeparator() { std::string s = Info(rtl::LOCALE_STIME); return s.empty() ? '\0' : s[0]; }
std::string cxGetLocalShortDateFormat() { return Info(rtl::LOCALE_SSHORTDATE); }
std::string cxGetLocalLongDateFormat() { return Info(rtl::LOCALE_SLONGDATE); }
std::string cxGetLocalLongTimeFormat() { return Info(rtl::LOCALE_STIMEFORMAT); }
std::string cxGetLocalTimeAMString() { return Info(rtl::LOCALE_S1159); }
std::string cxGetLocalTimePMString() { return Info(rtl::LOCALE_S2359); }

void cxGetLocalFormatSettings(TFormatSettings& settings)
{
    settings.DateSeparator = cxGetDateSeparator();
    settings.ShortDateFormat = cxGetLocalShortDateFormat();
    settings.LongDateFormat = cxGetLocalLongDateFormat();
    settings.TimeSeparator = cxGetLocalTimeSeparator();
    settings.LongTimeFormat = cxGetLocalLongTimeFormat();
    settings.TimeAMString = cxGetLocalTimeAMString();
    settings.TimePMString = cxGetLocalTimePMString();
    settings.ListSeparator = rtl::FormatSettings().ListSeparator;
}

namespace {
int pinnedStartOfWeek = 10;  // 10: the locale decides
}

void SetStartOfWeek(int value)
{
    if ((value >= 0 && value <= 6) || value == 10)
        pinnedStartOfWeek = value;
}

TDay GetStartOfWeek()
{
    if (pinnedStartOfWeek != 10)
        return TDay(pinnedStartOfWeek);
    int day = 0;
    if (!TryStrToInt(Info(rtl::LOCALE_IFIRSTDAYOFWEEK, "0"), day))
        day = 0;
    ++day;
    return TDay(day > 6 || day < 0 ? 0 : day);
}

// --- text from dates ------------------------------------------------------------------------------------
std::string cxDateToStr(TDateTime date) { return cxDateToStr(date, rtl::FormatSettings()); }

std::string cxDateToStr(TDateTime date, const TFormatSettings& settings)
{
    return FormatDate(settings.ShortDateFormat, settings.DateSeparator, date, settings);
}

bool cxGetDateFormat(TDateTime date, std::string& text, Cardinal flags, const std::string& format)
{
    if (LibraryFormats()) {
        const TFormatSettings& fs = rtl::FormatSettings();
        text = FormatDate(format.empty() ? fs.LongDateFormat : format, '\0', date, fs);
        return true;
    }
    text.clear();
    return LocaleService().GetDateFormat(LocaleService().ThreadLocale(), flags, date, format, text);
}

std::string cxDateToLocalFormatStr(TDateTime date)
{
    std::string text;
    cxGetDateFormat(date, text, 0, cxGetLocalShortDateFormat());
    if (TimeOf(date) > 0)
        text += " " + rtl::TimeToStr(date);
    return text;
}

std::string DateToLongDateStr(TDateTime date)
{
    std::string text;
    if (!cxGetDateFormat(date, text, rtl::DATE_LONGDATE, ""))
        text = rtl::FormatDateTime("dddddd", date);
    return text;
}

std::string cxDayNumberToLocalFormatStr(TDateTime date)
{
    std::string text;
    if (!cxGetDateFormat(date, text, 0, "d"))
        text = rtl::FormatDateTime("d", date);
    return text;
}

std::string cxDayNumberToLocalFormatStr(int day, const TcxCustomCalendarTable* table)
{
    TableHolder h(table);
    return cxDayNumberToLocalFormatStr(h.t->ToDateTime(h.t->GetMinSupportedYear(), 1, day));
}

std::string cxGetLocalMonthName(TDateTime date, const TcxCustomCalendarTable* table)
{
    const TFormatSettings& fs = rtl::FormatSettings();
    TableHolder h(table);
    if (cxIsGregorianCalendar(h.t) && cxFormatController()->UseDelphiDateTimeFormats()) {
        int y, m, d;
        DecodeDate(date, y, m, d);
        return m >= 1 && m <= 12 ? fs.LongMonthNames[m - 1] : "";
    }
    TcxDateTime d = h.t->FromDateTime(date);
    d.Day = 1;
    std::string text;
    if (cxGetDateFormat(h.t->ToDateTime(d), text, 0, "MMMM"))
        return text;
    return d.Month >= 1 && d.Month <= 12 ? fs.LongMonthNames[d.Month - 1] : "";
}

std::string cxGetLocalMonthName(int year, int month, const TcxCustomCalendarTable* table)
{
    TableHolder h(table);
    if (cxIsGregorianCalendar(h.t) && cxFormatController()->UseDelphiDateTimeFormats())
        return month >= 1 && month <= 12 ? rtl::FormatSettings().LongMonthNames[month - 1] : "";
    if (!h.t->IsValidMonth(year, month))
        return "";
    return cxGetLocalMonthName(h.t->ToDateTime(year, month, 1), h.t);
}

std::string cxGetLocalYear(TDateTime date, const TcxCustomCalendarTable* table)
{
    TableHolder h(table);
    TcxDateTime d = h.t->FromDateTime(date);
    d.Day = 1;
    std::string text;
    if (cxGetDateFormat(h.t->ToDateTime(d), text, 0, "yyyy"))
        return text;
    return std::to_string(d.Year);
}

std::string cxGetLocalMonthYear(TDateTime date, const TcxCustomCalendarTable* table)
{
    TableHolder h(table);
    if (cxIsGregorianCalendar(h.t) && cxFormatController()->UseDelphiDateTimeFormats())
        return FormatDate("mmmm yyyy", ' ', date, rtl::FormatSettings());
    TcxDateTime d = h.t->FromDateTime(date);
    d.Day = 1;
    std::string pattern, text;
    if (cxGetCalendarInfo(LocaleService().ThreadLocale(), h.t->GetCalendarID(), rtl::CAL_SYEARMONTH, nullptr, 256,
                          &pattern) > 0 &&
        !pattern.empty() && cxGetDateFormat(h.t->ToDateTime(d), text, 0, pattern))
        return text;
    return cxGetLocalMonthName(date, h.t) + " " + cxGetLocalYear(date, h.t);
}

namespace {

std::string DayOfWeekFullName(int day)
{
    if (LibraryFormats())
        return rtl::FormatSettings().ShortDayNames[day % 7];
    return Info((IsWinVista ? rtl::LOCALE_SSHORTESTDAYNAME1 : rtl::LOCALE_SABBREVDAYNAME1) + day - 1);
}

// Chinese short names ("周一" .. "周日", "星期一" ..) share their first character, so the
// usual one-character cut would head every column with the same glyph; there the last
// character is the one that tells the days apart.
bool WeekNamesShareFirstChar()
{
    std::u16string first;
    for (int d = 1; d <= 7; ++d) {
        const std::u16string wide = Utf8ToUtf16(DayOfWeekFullName(d));
        if (wide.empty() || wide.size() < 2)
            return false;
        if (first.empty())
            first = wide.substr(0, 1);
        else if (wide.front() != first.front())
            return false;
    }
    return true;
}

} // namespace

std::string cxGetDayOfWeekName(int day, int fontCharset)
{
    if (day < 1 || day > 7)
        return "";
    std::string name = DayOfWeekFullName(day);
    if (cxUseSingleCharWeekNames && !name.empty()) {
        std::u16string wide = Utf8ToUtf16(name);
        bool rightToLeft = (fontCharset == 177 || fontCharset == 178) && !wide.empty();
        bool fromEnd = rightToLeft || WeekNamesShareFirstChar();
        name = Utf16ToUtf8(std::u16string(1, fromEnd ? wide.back() : wide.front()));
    }
    return name;
}

std::string cxTimeToStr(TDateTime time)
{
    TFormatSettings fs = rtl::FormatSettings();
    cxGetLocalFormatSettings(fs);
    return cxTimeToStr(time, fs);
}

std::string cxTimeToStr(TDateTime time, const std::string& format)
{
    TFormatSettings fs = rtl::FormatSettings();
    cxGetLocalFormatSettings(fs);
    fs.LongTimeFormat = format;
    fs.TimeSeparator = rtl::FormatSettings().TimeSeparator;
    return cxTimeToStr(time, fs);
}

std::string cxTimeToStr(TDateTime time, const TFormatSettings& settings)
{
    return FormatTime(settings.LongTimeFormat, TimeOf(time), settings);
}

std::string cxDateTimeToText(TDateTime date, bool fourDigitYear, bool libraryFormats)
{
    if (date == NullDate)
        return "";
    auto widenYear = [&](std::string format) {
        std::string lf = Lower(format);
        std::size_t p = lf.find("yy");
        if (fourDigitYear && p != std::string::npos && lf.find("yyy") == std::string::npos)
            format.insert(p + 2, std::string(2, format[p]));
        return format;
    };
    if (libraryFormats) {
        const TFormatSettings& fs = rtl::FormatSettings();
        std::string format = widenYear(fs.ShortDateFormat);
        if (TimeOf(date) != 0)
            format += " " + fs.LongTimeFormat;
        return rtl::FormatDateTime(format, date);
    }
    const auto& service = LocaleService();
    std::string text;
    if (service.GetDateFormat(service.ThreadLocale(), 0, date, widenYear(cxGetLocalShortDateFormat()), text)) {
        std::string time;
        if (TimeOf(date) != 0 && service.GetTimeFormat(service.ThreadLocale(), 0, date, "", time))
            text += " " + time;
        return text;
    }
    try {
        return Variant::FromDate(date).ToString();
    } catch (const EVariantError&) {
        return "";
    }
}

std::string DateTimeToText(TDateTime date, bool fourDigitYear)
{
    return cxDateTimeToText(date, fourDigitYear, cxFormatController()->UseDelphiDateTimeFormats());
}

std::string DateTimeToTextEx(TDateTime date, bool masked, bool dateTimeEdit, bool fourDigitYear)
{
    if (date == NullDate)
        return "";
    if (!cxIsGregorianCalendar())
        return cxDateToLocalFormatStr(date);
    if (masked)
        return dateTimeEdit ? rtl::FormatDateTime(cxFormatController()->MaskedDateTimeEditFormat(), date)
                            : rtl::FormatDateTime(cxFormatController()->MaskedDateEditFormat(), DateOf(date));
    return DateTimeToText(date, fourDigitYear);
}

// --- dates from text ----------------------------------------------------------------------------------
TcxDateTime cxStrToDate(const std::string& text, const TFormatSettings& settings, const TcxCustomCalendarTable* table)
{
    TableHolder h(table);
    // The platform's run-time library names no eras, so an era name in the text offsets nothing.
    const int yearOffset = 0;
    const char sep = settings.DateSeparator;
    std::size_t pos = 0;
    auto readTo = [&](char stop) {
        std::size_t e = text.find(stop, pos);
        if (e == std::string::npos)
            e = text.size();
        std::string token = text.substr(pos, e - pos);
        pos = e < text.size() && stop != ' ' ? e + 1 : e;
        return token;
    };
    std::string tokens[3];
    tokens[0] = readTo(sep);
    tokens[1] = readTo(sep);
    std::size_t thirdStart = pos;
    tokens[2] = readTo(' ');
    std::string f = Lower(settings.ShortDateFormat);
    std::size_t pd = f.find('d'), py = f.find_first_of("ye"), pm = f.find('m');
    enum { MDY, DMY, YMD } order = MDY;
    std::size_t first = std::min({pd, py, pm});
    if (first != std::string::npos && first == pd)
        order = DMY;
    else if (first != std::string::npos && first == py)
        order = YMD;
    if (sep == ' ') {
        std::size_t p = pos;
        while (p < text.size() && text[p] == ' ')
            ++p;
        if (p < text.size() && !std::isdigit(static_cast<unsigned char>(text[p]))) {
            // A month name of two words.
            if (order == MDY) {
                tokens[0] += " " + tokens[1];
                tokens[1] = tokens[2];
            } else {
                tokens[1] += " " + tokens[2];
            }
            pos = p;
            tokens[2] = readTo(' ');
        }
    }
    (void)thirdStart;
    const std::string& yearText = order == YMD ? tokens[0] : tokens[2];
    const std::string& monthText = order == MDY ? tokens[0] : tokens[1];
    const std::string& dayText = order == DMY ? tokens[0] : order == MDY ? tokens[1] : tokens[2];
    TcxDateTime r;
    r.Year = h.t->GetYearNumber(Trim(yearText));
    r.Month = h.t->GetMonthNumber(r.Year, Trim(monthText));
    r.Day = h.t->GetDayNumber(Trim(dayText));
    r.Era = h.t->GetEra(yearOffset + 1);
    std::string rest = pos < text.size() ? Trim(text.substr(pos)) : "";
    if (!rest.empty()) {
        TDateTime t = rtl::StrToDateTime(rest);
        int hh, mi, ss, ms;
        DecodeTime(t, hh, mi, ss, ms);
        r.Hours = Byte(hh);
        r.Minutes = Byte(mi);
        r.Seconds = Byte(ss);
        r.Milliseconds = Word(ms);
    }
    return r;
}

TcxDateTime cxStrToDate(const std::string& text, const TcxCustomCalendarTable* table)
{
    TFormatSettings fs = rtl::FormatSettings();
    cxGetLocalFormatSettings(fs);
    return cxStrToDate(text, fs, table);
}

namespace {
TDateTime ValidToDateTime(const TcxCustomCalendarTable* t, const TcxDateTime& d)
{
    // An impossible date (30 February) is no date, not the calendar's first supported day.
    return t->IsValidDay(d.Era, d.Year, d.Month, d.Day) ? t->ToDateTime(d) : NullDate;
}
} // namespace

TDateTime cxStrToDate(const std::string& text, const TFormatSettings& settings, TcxCalendarID calendar)
{
    std::unique_ptr<TcxCustomCalendarTable, void (*)(TcxCustomCalendarTable*)> t(cxGetCalendar(calendar),
                                                                                 [](TcxCustomCalendarTable* p) { p->Free(); });
    return ValidToDateTime(t.get(), cxStrToDate(text, settings, t.get()));
}

TDateTime cxLocalFormatStrToDate(const std::string& text)
{
    TcxCalendarID id = cxGetLocalCalendarID();
    if (id >= 3 && id <= 8) {
        TableHolder h(nullptr);
        return ValidToDateTime(h.t, cxStrToDate(text, h.t));
    }
    TDateTime date = NullDate;
    TextToDateEx(text, date);
    return date;
}

namespace {
std::vector<std::string> SmartWords()
{
    static const TResStringRec* const recs[20] = {
        &cxSDateToday, &cxSDateYesterday, &cxSDateTomorrow, &cxSDateSunday, &cxSDateMonday, &cxSDateTuesday,
        &cxSDateWednesday, &cxSDateThursday, &cxSDateFriday, &cxSDateSaturday, &cxSDateFirst, &cxSDateSecond,
        &cxSDateThird, &cxSDateFourth, &cxSDateFifth, &cxSDateSixth, &cxSDateSeventh, &cxSDateBOM, &cxSDateEOM,
        &cxSDateNow};
    std::vector<std::string> words;
    for (const auto* r : recs)
        words.push_back(cxGetResourceString(r));
    return words;
}
} // namespace

bool SmartTextToDate(const std::string& text, TDateTime& date)
{
    std::vector<std::string> words = SmartWords();
    std::vector<int> order(words.size());
    for (int i = 0; i < static_cast<int>(order.size()); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (words[a].size() != words[b].size())
            return words[a].size() > words[b].size();
        return AnsiCompareText(words[a], words[b]) > 0;
    });
    const std::string s = Trim(text);
    int index = -1;
    for (int i : order)
        if (!words[i].empty() && AnsiStartsText(words[i], s)) {
            index = i;
            break;
        }
    if (index < 0)
        return SmartTextToDateFunc ? SmartTextToDateFunc(text, date) : false;
    const TDateTime today = rtl::Date();
    TDateTime result;
    if (index == 0) result = today;
    else if (index == 1) result = today - 1;
    else if (index == 2) result = today + 1;
    else if (index <= 9) {
        int shift = index - 2 - DayOfWeek(today);
        result = today + (shift < 0 ? shift + 7 : shift);
    } else if (index <= 16) result = today - DayOfWeekOffset(today) + index - 10;
    else if (index == 17) result = GetStartDateOfMonth(today);
    else if (index == 18) result = GetEndDateOfMonth(today, true);
    else result = rtl::Now();
    // The count after the word is read from the trimmed text, so leading blanks do not shift it.
    std::string rest = Trim(s.substr(words[index].size()));
    if (rest.size() >= 2 && (rest[0] == '+' || rest[0] == '-')) {
        int n = 0;
        if (TryStrToInt(Trim(rest.substr(1)), n))
            result += rest[0] == '+' ? n : -n;
    }
    date = result;
    return true;
}

bool TextToDateEx(const std::string& text, TDateTime& date)
{
    date = cxTextToDateTime(text, cxFormatController()->UseDelphiDateTimeFormats());
    return date != NullDate;
}

TDateTime cxTextToDateTime(const std::string& text, bool libraryFormats)
{
    std::string s = Trim(text);
    if (s.empty())
        return NullDate;
    try {
        if (!cxIsGregorianCalendar())
            return cxLocalFormatStrToDate(s);
        TDateTime result;
        if (SmartTextToDate(s, result))
            return result;
        std::string cleaned = CleanInput(s, !libraryFormats);
        result = libraryFormats ? rtl::StrToDateTime(cleaned) : ParseVariantDate(cleaned);
        return ValidParsedDate(result) ? result : NullDate;
    } catch (...) {
        return NullDate;
    }
}

bool cxStrToDateTime(const std::string& text, bool oleConversion, TDateTime& date)
{
    date = NullDate;
    try {
        if (cxIsGregorianCalendar()) {
            std::string cleaned = CleanInput(text, oleConversion);
            date = oleConversion ? ParseVariantDate(cleaned) : rtl::StrToDateTime(cleaned);
        } else {
            date = cxLocalFormatStrToDate(text);
        }
        return true;
    } catch (const Exception&) {
        date = NullDate;
        return false;
    }
}

TDateTime StrToDateDef(const std::string& text, TDateTime defaultValue)
{
    TDateTime v;
    return rtl::TryStrToDateTime(text, v) ? v : defaultValue;
}

void AddDateRegExprMaskSmartInput(std::string& mask, bool timeAllowed)
{
    std::vector<std::string> words = SmartWords();
    std::string alternatives;
    for (int i = 0; i < static_cast<int>(words.size()); ++i) {
        if (i == 19 && !timeAllowed)
            continue;
        std::string quoted;
        bool open = false;
        for (char c : words[i]) {
            if (c == '\'') {
                if (open) { quoted += '\''; open = false; }
                quoted += "\\'";
            } else {
                if (!open) { quoted += '\''; open = true; }
                quoted += c;
            }
        }
        if (open)
            quoted += '\'';
        if (!alternatives.empty())
            alternatives += '|';
        alternatives += quoted;
    }
    mask = "(" + mask + ")|(" + alternatives + ")((\\+|-)\\d(\\d(\\d\\d?)?)?)?";
}

// --- date utilities ------------------------------------------------------------------------------------
int DaysPerMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int CheckDay(int year, int month, int day)
{
    if (day <= 0)
        return 1;
    return std::min(day, DaysPerMonth(year, month));
}

void IncMonth(Word& year, Word& month)
{
    if (++month > 12) { month = 1; ++year; }
}

void DecMonth(Word& year, Word& month)
{
    if (month <= 1) { month = 12; --year; } else --month;
}

void ChangeMonth(Word& year, Word& month, int delta)
{
    int y = year + TruncDiv(delta, 12);
    int m = month + delta % 12;
    if (m < 1) { --y; m += 12; }
    if (m > 12) { ++y; m -= 12; }
    year = Word(y);
    month = Word(m);
}

int GetMonthNumber(TDateTime date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return y * 12 + m - 12;
}

int GetDateElement(TDateTime date, TcxDateElement element, const TcxCustomCalendarTable* table)
{
    int y, m, d;
    if (table) {
        TcxDateTime t = table->FromDateTime(date);
        y = t.Year; m = t.Month; d = t.Day;
    } else {
        DecodeDate(date, y, m, d);
    }
    return element == deYear ? y : element == deMonth ? m : d;
}

TDateTime TimeOf(TDateTime date)
{
    return static_cast<double>(std::llround(std::fabs(date - std::trunc(date)) * MSecsPerDay) % 86400000) / MSecsPerDay;
}

TDateTime DateOf(TDateTime date) { return std::trunc(date); }

int DayOfWeekOffset(TDateTime date)
{
    int r = DayOfWeek(date) - cxFormatController()->StartOfWeek() - 1;
    return r < 0 ? r + 7 : r;
}

TDateTime GetStartDateOfMonth(TDateTime date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return EncodeDate(y, m, 1);
}

TDateTime GetStartDateOfYear(TDateTime date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return EncodeDate(y, 1, 1);
}

TDateTime GetEndDateOfMonth(TDateTime date, bool dateOnly)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    TDateTime r = EncodeDate(y, m, DaysPerMonth(y, m));
    return dateOnly ? r : cxComposeDateTime(r, EncodeTime(23, 59, 59, 999));
}

TDateTime GetEndDateOfYear(TDateTime date, bool dateOnly)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    TDateTime r = EncodeDate(y, 12, 31);
    return dateOnly ? r : cxComposeDateTime(r, EncodeTime(23, 59, 59, 999));
}

TDateTime cxMinDateTime() { return EncodeDate(MinYear, 1, 1); }

bool cxIsDateValid(TDateTime value)
{
    return value == NullDate || (value >= cxMinDateTime() && value <= cxMaxDateTime);
}

namespace {
int WeekStart(int date, int startDay)
{
    int shift = ((DayOfWeek(date) - 1 - startDay) % 7 + 7) % 7;
    return date - shift;
}
} // namespace

int GetWeekNumber(TDateTime date, TDay startDay, TcxFirstWeekOfYear rule)
{
    if (rule == fwySystem) {
        int n = 0;
        TryStrToInt(Info(rtl::LOCALE_IFIRSTWEEKOFYEAR, "0"), n);
        rule = TcxFirstWeekOfYear(std::clamp(n + 1, 1, 3));
    }
    int day = static_cast<int>(std::trunc(date));
    int y, m, d;
    DecodeDate(day, y, m, d);
    int jan1 = static_cast<int>(EncodeDate(y, 1, 1));
    int s = WeekStart(jan1, startDay);
    if (rule == fwyFirstFullWeek && s < jan1)
        s += 7;
    if (rule == fwyFirstFourDays && s + 3 < jan1)
        s += 7;
    // Days before the first week divide to 0 (the division truncates toward zero), so they count
    // as week 1 of their own year.
    int week = (day - s) / 7 + 1;
    if (m == 12) {
        int w = WeekStart(day, startDay);
        int y2, m2, d2;
        DecodeDate(w + 6, y2, m2, d2);
        if (rule == fwyJan1 && m2 == 1)
            week = 1;
        DecodeDate(w + 3, y2, m2, d2);
        if (rule == fwyFirstFourDays && m2 == 1)
            week = 1;
    }
    return week;
}

} // namespace cx
