#include "toolkit/core/cxFormats.h"

#include <algorithm>
#include <cctype>

#include "platform/rtl/Unicode.h"

namespace cx {

namespace {
TcxFormatController* instance = nullptr;

const TFormatSettings& FS() { return rtl::FormatSettings(); }

// --- format description ---------------------------------------------------------------------------
struct Describer {
    TcxDateTimeFormatInfo& info;
    bool failed = false;

    void Append(TcxDateTimeFormatItemKind kind, const std::string& data)
    {
        if (kind == dtikString) {
            if (!info.Items.empty() && info.Items.back().Kind == dtikString)
                info.Items.back().Data += data;
            else
                info.Items.push_back({kind, data});
        } else if (kind == dtikDateSeparator || kind == dtikTimeSeparator || !info.DefinedKinds[kind]) {
            info.Items.push_back({kind, data});
        }
        info.DefinedKinds[kind] = true;
    }

    void Describe(const std::string& format, int level)
    {
        if (level > 2 || failed)
            return;
        const std::string f = format.empty() ? "C" : format;
        char previous = 0;
        for (std::size_t i = 0; i < f.size() && !failed;) {
            unsigned char raw = static_cast<unsigned char>(f[i]);
            if (raw >= 0x80) {
                int len = std::max(1, Utf8CharLength(f, i));
                Append(dtikString, f.substr(i, len));
                i += len;
                continue;
            }
            char c = static_cast<char>(std::toupper(raw));
            std::size_t run = 1;
            while (i + run < f.size() && std::toupper(static_cast<unsigned char>(f[i + run])) == c)
                ++run;
            if (c == 'M' && previous == 'H')
                c = 'N';
            std::size_t used = run;
            switch (c) {
            case 'D':
                if (run <= 4) Append(dtikDay, std::string(run, 'D'));
                else Describe(run == 5 ? FS().ShortDateFormat : FS().LongDateFormat, level + 1);
                break;
            case 'E': case 'Y': Append(dtikYear, run > 2 ? "YYYY" : "YY"); break;
            case 'M': Append(dtikMonth, std::string(std::min<std::size_t>(run, 4), 'M')); break;
            case 'H': Append(dtikHour, std::string(std::min<std::size_t>(run, 2), 'H')); break;
            case 'N': Append(dtikMin, std::string(std::min<std::size_t>(run, 2), 'N')); break;
            case 'S': Append(dtikSec, std::string(std::min<std::size_t>(run, 2), 'S')); break;
            case 'Z': Append(dtikMSec, std::string(std::min<std::size_t>(run, 3), 'Z')); break;
            case 'T': Describe(run == 1 ? FS().ShortTimeFormat : FS().LongTimeFormat, level + 1); break;
            case 'C':
                used = 1;
                Describe(FS().ShortDateFormat, level + 1);
                if (level + 1 <= 2)
                    Append(dtikString, " ");
                Describe(FS().LongTimeFormat, level + 1);
                break;
            case 'A': used = DescribeA(f, i); break;
            case 'G': failed = true; break;
            case '/': used = 1; Append(dtikDateSeparator, "/"); break;
            case ':': used = 1; Append(dtikTimeSeparator, ":"); break;
            case '"': case '\'': {
                std::size_t e = f.find(f[i], i + 1);
                if (e == std::string::npos)
                    e = f.size();
                if (e > i + 1)
                    Append(dtikString, f.substr(i + 1, e - i - 1));
                used = e + 1 - i;
                break;
            }
            default: used = 1; Append(dtikString, f.substr(i, 1)); break;
            }
            if (std::isalpha(static_cast<unsigned char>(c)))
                previous = c;
            i += std::min(used, f.size() - i);
        }
    }

    std::size_t DescribeA(const std::string& f, std::size_t i)
    {
        auto starts = [&](const char* word) {
            std::size_t n = std::char_traits<char>::length(word);
            return f.size() - i >= n && UpperCase(f.substr(i, n)) == word;
        };
        if (starts("AM/PM")) { Append(dtikTimeSuffix, f.substr(i, 5)); return 5; }
        if (starts("A/P")) { Append(dtikTimeSuffix, f.substr(i, 3)); return 3; }
        if (starts("AMPM")) { Append(dtikTimeSuffix, "AMPM"); return 4; }
        if (starts("AAAA")) { Append(dtikDay, "DDDD"); return 4; }
        if (starts("AAA")) { Append(dtikDay, "DDD"); return 3; }
        Append(dtikString, f.substr(i, 1));
        return 1;
    }
};

bool IsAP(const std::string& data) { return UpperCase(data) == "A/P"; }
bool IsAMPM(const std::string& data) { return UpperCase(data) == "AM/PM"; }

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string MonthNamesAlternatives(bool longNames)
{
    std::string r;
    for (int i = 0; i < 12; ++i) {
        if (i)
            r += '|';
        r += Quote(longNames ? FS().LongMonthNames[i] : FS().ShortMonthNames[i]);
    }
    return r;
}

int AmPmLength()
{
    return std::max(static_cast<int>(FS().TimeAMString.size()), static_cast<int>(FS().TimePMString.size()));
}
} // namespace

// --- description and masks ---------------------------------------------------------------------------
void TcxFormatController::DescribeFormat(const std::string& format, TcxDateTimeFormatInfo& info)
{
    info = TcxDateTimeFormatInfo{};
    Describer d{info};
    d.Describe(format, 1);
    if (d.failed) {
        info = TcxDateTimeFormatInfo{};
        return;
    }
    auto hour = std::find_if(info.Items.begin(), info.Items.end(), [](const auto& it) { return it.Kind == dtikHour; });
    auto suffix = std::find_if(info.Items.begin(), info.Items.end(), [](const auto& it) { return it.Kind == dtikTimeSuffix; });
    if (hour != info.Items.end())
        hour->Data = (suffix != info.Items.end() ? "12" : "24") + hour->Data;
    else if (suffix != info.Items.end()) {
        info.Items.erase(suffix);
        info.DefinedKinds[dtikTimeSuffix] = false;
    }
}

std::string TcxFormatController::InternalGetDateTimeEditRegExprMask(const TcxDateTimeFormatInfo& info,
                                                                    TcxDateTimeEditMaskKind kind)
{
    if (kind == dtmkDateTime || info.Items.empty())
        return "";
    const bool date = kind == dtmkDate;
    std::string r;
    for (const auto& item : info.Items) {
        switch (item.Kind) {
        case dtikString: r += Quote(item.Data); break;
        case dtikYear: if (date) r += item.Data.size() == 2 ? "\\d\\d" : "\\d\\d\\d\\d"; break;
        case dtikMonth:
            if (date)
                r += "((0?[1-9]|1[012])|(" + MonthNamesAlternatives(item.Data == "MMMM") + "))";
            break;
        case dtikDay: if (date) r += "([012]?[1-9]|[123]0|31)"; break;
        case dtikDateSeparator:
            if (date && FS().DateSeparator != '\0')
                r += FS().DateSeparator == ' ' ? "' '" : std::string("\\") + FS().DateSeparator;
            break;
        case dtikHour:
            if (!date)
                r += item.Data.rfind("12", 0) == 0 ? "(0?[1-9]|1[012])" : "([01]?\\d|2[0-3])";
            break;
        case dtikMin: case dtikSec: if (!date) r += "[0-5]?\\d"; break;
        case dtikTimeSuffix:
            if (date)
                break;
            if (IsAP(item.Data)) r += "(A|P)?";
            else if (IsAMPM(item.Data)) r += "(AM|PM)?";
            else {
                const std::string& am = FS().TimeAMString;
                const std::string& pm = FS().TimePMString;
                if (!am.empty() && !pm.empty()) r += "(" + Quote(am) + "|" + Quote(pm) + ")?";
                else if (!am.empty() || !pm.empty()) r += "(" + Quote(am.empty() ? pm : am) + ")?";
            }
            break;
        case dtikTimeSeparator:
            if (!date)
                r += FS().TimeSeparator == ' ' ? "' '" : std::string("\\") + FS().TimeSeparator;
            break;
        default: break;
        }
    }
    return r;
}

std::string TcxFormatController::InternalGetDateTimeEditStandardMask(const TcxDateTimeFormatInfo& info,
                                                                     TcxDateTimeEditMaskKind kind)
{
    if (info.Items.empty())
        return "";
    std::string r = kind == dtmkTime ? "" : "!";
    for (const auto& item : info.Items) {
        switch (item.Kind) {
        case dtikString: for (char c : item.Data) { r += '\\'; r += c; } break;
        case dtikYear: r += item.Data.size() == 2 ? "99" : "9999"; break;
        case dtikMonth: case dtikDay: r += item.Data.size() > 2 ? "lll" : "99"; break;
        case dtikHour: case dtikMin: case dtikSec: r += kind == dtmkTime ? "00" : "99"; break;
        case dtikTimeSuffix:
            r += IsAP(item.Data) ? "c" : IsAMPM(item.Data) ? "cc" : std::string(AmPmLength(), 'c');
            break;
        case dtikDateSeparator: r += '/'; break;
        case dtikTimeSeparator: r += ':'; break;
        default: break;
        }
    }
    return r + (kind == dtmkTime ? ";1;0" : ";1; ");
}

std::string TcxFormatController::InternalGetMaskedDateEditFormat(const TcxDateTimeFormatInfo& info)
{
    std::string r;
    for (const auto& item : info.Items) {
        switch (item.Kind) {
        case dtikString: r += Quote(item.Data); break;
        case dtikYear: r += LowerCase(item.Data); break;
        case dtikMonth: r += item.Data.size() > 2 ? "mmm" : "mm"; break;
        case dtikDay: r += item.Data.size() > 2 ? "ddd" : "dd"; break;
        case dtikHour: r += "hh"; break;
        case dtikMin: r += "nn"; break;
        case dtikSec: r += "ss"; break;
        case dtikTimeSuffix: r += LowerCase(item.Data); break;
        case dtikDateSeparator: r += '/'; break;
        case dtikTimeSeparator: r += ':'; break;
        default: break;
        }
    }
    return r;
}

int TcxFormatController::GetDateTimeFormatItemStandardMaskZoneLength(const TcxDateTimeFormatItem& item)
{
    switch (item.Kind) {
    case dtikString: return static_cast<int>(item.Data.size());
    case dtikYear: return item.Data.size() == 2 ? 2 : 4;
    case dtikMonth: case dtikDay: return item.Data.size() > 2 ? 3 : 2;
    case dtikHour: case dtikMin: case dtikSec: return 2;
    case dtikTimeSuffix: return IsAP(item.Data) ? 1 : IsAMPM(item.Data) ? 2 : AmPmLength();
    case dtikDateSeparator: case dtikTimeSeparator: return 1;
    default: return 0;
    }
}

int TcxFormatController::GetDateTimeStandardMaskStringLength(const TcxDateTimeFormatInfo& info)
{
    int n = 0;
    for (const auto& item : info.Items)
        n += GetDateTimeFormatItemStandardMaskZoneLength(item);
    return n;
}

bool TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(const TcxDateTimeFormatInfo& info, int position,
                                                                TcxDateTimeFormatItemInfo& itemInfo)
{
    if (position <= 0 || info.Items.empty())
        return false;
    int start = 1;
    for (const auto& item : info.Items) {
        int length = GetDateTimeFormatItemStandardMaskZoneLength(item);
        if (start + length > position) {
            itemInfo.Kind = item.Kind;
            itemInfo.ZoneStart = start;
            itemInfo.ZoneLength = length;
            if (item.Kind == dtikTimeSuffix)
                itemInfo.TimeSuffixKind = IsAP(item.Data) ? tskAP : IsAMPM(item.Data) ? tskAMPM : tskAMPMString;
            return true;
        }
        start += length;
    }
    return false;
}

std::string TcxFormatController::GetCurrencyFormat()
{
    const TFormatSettings& fs = FS();
    std::string number = ",0." + std::string(fs.CurrencyDecimals, '0');
    std::string symbol;
    for (char c : fs.CurrencyString)
        symbol += c == ',' || c == '.' ? std::string("'") + c + "'" : std::string(1, c);
    const std::string& s = symbol;
    const std::string& n = number;
    std::string positive;
    switch (fs.CurrencyFormat) {
    case 0: positive = s + n; break;
    case 1: positive = n + s; break;
    case 2: positive = s + " " + n; break;
    default: positive = n + " " + s; break;
    }
    std::string negative;
    switch (fs.NegCurrFormat) {
    case 0: negative = "(" + s + n + ")"; break;
    case 1: negative = "-" + s + n; break;
    case 2: negative = s + "-" + n; break;
    case 3: negative = s + n + "-"; break;
    case 4: negative = "(" + n + s + ")"; break;
    case 5: negative = "-" + n + s; break;
    case 6: negative = n + "-" + s; break;
    case 7: negative = n + s + "-"; break;
    case 8: negative = "-" + n + " " + s; break;
    case 9: negative = "-" + s + " " + n; break;
    case 10: negative = n + " " + s + "-"; break;
    case 11: negative = s + " " + n + "-"; break;
    case 12: negative = s + " " + "-" + n; break;
    case 13: negative = n + "-" + " " + s; break;
    case 14: negative = "(" + s + " " + n + ")"; break;
    case 15: negative = "(" + n + " " + s + ")"; break;
    default: break;
    }
    return positive + ";" + negative;
}

std::string TcxFormatController::GetDateEditFormat(bool masked)
{
    const std::string& f = FS().ShortDateFormat;
    std::string r;
    for (std::size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        bool lone = (i == 0 || f[i - 1] != c) && (i + 1 >= f.size() || f[i + 1] != c);
        r += c;
        if ((c == 'd' || c == 'M') && lone)
            r += c;
    }
    if (masked) {
        std::size_t p = r.find("MMMM");
        if (p != std::string::npos) {
            std::size_t e = r.find_first_not_of('M', p);
            r.erase(p + 3, (e == std::string::npos ? r.size() : e) - p - 3);
        }
    }
    return r;
}

std::string TcxFormatController::GetDateTimeDisplayFormat(TcxDateTimeEditMaskKind kind)
{
    switch (kind) {
    case dtmkDate: return FS().ShortDateFormat;
    case dtmkTime: return FS().LongTimeFormat;
    default: return FS().ShortDateFormat + " " + FS().LongTimeFormat;
    }
}

// --- the controller -----------------------------------------------------------------------------------
TcxFormatController::TcxFormatController()
{
    GetFormats();
    dxResourceStringsRepository()->AddListener(this);
}

TcxFormatController::~TcxFormatController()
{
    dxResourceStringsRepository()->RemoveListener(this);
    Follow(false);
    if (instance == this)
        instance = nullptr;
}

void TcxFormatController::Follow(bool on)
{
    if (on == following_)
        return;
    auto& b = rtl::SystemBroadcasts();
    Event<void(const std::string&)> setting(this, &TcxFormatController::SettingChange);
    Event<void()> time(this, &TcxFormatController::SystemTimeChanged);
    if (on) {
        b.SettingChange.Add(setting);
        b.TimeChange.Add(time);
    } else {
        b.SettingChange.Remove(setting);
        b.TimeChange.Remove(time);
    }
    following_ = on;
}

void TcxFormatController::AddListener(IcxFormatControllerListener* listener)
{
    if (!listener || listening_.count(listener) != 0)
        return;
    if (listeners_.empty())
        Follow(true);
    listeners_.push_back(listener);
    listening_.insert(listener);
}

// Thousands of editor properties may listen (a long filter's conditions); they mostly go last
// first, so the list is searched from its end.
void TcxFormatController::RemoveListener(IcxFormatControllerListener* listener)
{
    if (listening_.erase(listener) == 0)
        return;
    listeners_.erase(std::next(std::find(listeners_.rbegin(), listeners_.rend(), listener)).base());
    if (listeners_.empty())
        Follow(false);
}

void TcxFormatController::EndUpdate()
{
    if (lockCount_ > 0 && --lockCount_ == 0)
        NotifyListeners();
}

void TcxFormatController::FormatChanged()
{
    if (lockCount_ != 0)
        return;
    GetFormats();
    NotifyListeners();
}

void TcxFormatController::NotifyListeners()
{
    // A copy: a listener may remove itself while it is told.
    std::vector<IcxFormatControllerListener*> list = listeners_;
    for (auto* l : list)
        if (listening_.count(l) != 0)
            l->FormatChanged();
}

void TcxFormatController::TimeChanged()
{
    std::vector<IcxFormatControllerListener*> list = listeners_;
    for (auto* l : list)
        if (auto* l2 = dynamic_cast<IcxFormatControllerListener2*>(l))
            l2->TimeChanged();
}

void TcxFormatController::SettingChange(const std::string& section)
{
    if (section != "intl" || !rtl::SystemBroadcasts().UpdateFormatSettings)
        return;
    try {
        // The format settings are read live from the locale service: nothing to reread here.
        GetFormats();
        NotifyListeners();
    } catch (const Exception& e) {
        if (!OnBroadcastException.Assigned())
            throw;
        OnBroadcastException(e);
    }
}

void TcxFormatController::SystemTimeChanged()
{
    try {
        TimeChanged();
    } catch (const Exception& e) {
        if (!OnBroadcastException.Assigned())
            throw;
        OnBroadcastException(e);
    }
}

void TcxFormatController::GetFormats()
{
    if (!instance)
        instance = this;
    if (!assignedCurrencyFormat_)
        currencyFormat_ = GetCurrencyFormat();
    if (!assignedStartOfWeek_)
        startOfWeek_ = GetStartOfWeek();
    dateEditFormat_ = GetDateEditFormat(false);
    CalculateDateEditMasks(true);
}

void TcxFormatController::CalculateDateEditMasks(bool smartInput)
{
    DescribeFormat(GetDateTimeDisplayFormat(dtmkDate), dateFormatInfo_);
    DescribeFormat(GetDateTimeDisplayFormat(dtmkTime), timeFormatInfo_);
    DescribeFormat(GetDateTimeDisplayFormat(dtmkDateTime), dateTimeFormatInfo_);
    dateEditMask_ = InternalGetDateTimeEditStandardMask(dateFormatInfo_, dtmkDate);
    if (!assignedStandardDateEditMask_)
        standardDateEditMask_ = dateEditMask_;
    if (!assignedRegExprDateEditMask_) {
        regExprDateEditMask_ = InternalGetDateTimeEditRegExprMask(dateFormatInfo_, dtmkDate);
        if (smartInput)
            AddDateRegExprMaskSmartInput(regExprDateEditMask_, false);
    }
    if (!assignedRegExprDateTimeEditMask_) {
        regExprDateTimeEditMask_ = InternalGetDateTimeEditRegExprMask(dateFormatInfo_, dtmkDate) + "' '(" +
                                   InternalGetDateTimeEditRegExprMask(timeFormatInfo_, dtmkTime) + ")?";
        if (smartInput)
            AddDateRegExprMaskSmartInput(regExprDateTimeEditMask_, true);
    }
    if (!assignedStandardDateTimeEditMask_)
        standardDateTimeEditMask_ = InternalGetDateTimeEditStandardMask(dateTimeFormatInfo_, dtmkDateTime);
    maskedDateEditFormat_ = InternalGetMaskedDateEditFormat(dateFormatInfo_);
    maskedDateTimeEditFormat_ = InternalGetMaskedDateEditFormat(dateTimeFormatInfo_);
}

void TcxFormatController::SetFlag(bool& flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    FormatChanged();
}

void TcxFormatController::SetPinned(bool& flag, std::string& field, const std::string& value)
{
    flag = true;
    if (field == value)
        return;
    field = value;
    FormatChanged();
}

void TcxFormatController::SetCurrencyFormat(const std::string& v) { SetPinned(assignedCurrencyFormat_, currencyFormat_, v); }
void TcxFormatController::SetRegExprDateEditMask(const std::string& v) { SetPinned(assignedRegExprDateEditMask_, regExprDateEditMask_, v); }
void TcxFormatController::SetRegExprDateTimeEditMask(const std::string& v) { SetPinned(assignedRegExprDateTimeEditMask_, regExprDateTimeEditMask_, v); }
void TcxFormatController::SetStandardDateEditMask(const std::string& v) { SetPinned(assignedStandardDateEditMask_, standardDateEditMask_, v); }
void TcxFormatController::SetStandardDateTimeEditMask(const std::string& v) { SetPinned(assignedStandardDateTimeEditMask_, standardDateTimeEditMask_, v); }

void TcxFormatController::SetStartOfWeek(TDay value)
{
    assignedStartOfWeek_ = true;
    if (startOfWeek_ == value)
        return;
    startOfWeek_ = value;
    FormatChanged();
}

void TcxFormatController::SetFirstWeekOfYear(TcxFirstWeekOfYear value)
{
    if (firstWeekOfYear_ == value)
        return;
    firstWeekOfYear_ = value;
    FormatChanged();
}

void TcxFormatController::SetUseDelphiDateTimeFormats(bool value) { SetFlag(useDelphiDateTimeFormats_, value); }

TcxFormatController* cxFormatController()
{
    if (!instance)
        new TcxFormatController;   // GetFormats sets the instance while it is constructed
    return instance;
}

namespace cxFormatsUnit {
namespace {
int startCount = 0;
}
void Initialize() { ++startCount; }
void Finalize()
{
    if (startCount > 0 && --startCount > 0)
        return;
    if (instance) {
        TcxFormatController* c = instance;
        instance = nullptr;
        c->Free();
    }
}
} // namespace cxFormatsUnit

} // namespace cx
