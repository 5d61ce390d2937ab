#pragma once
// The replaceable locale service: format settings, locale information and the clock. Production
// code reads them here and nowhere else, so a test can install a fixed service and get the same
// texts and the same "now" on every machine.
#include <array>
#include <map>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/Event.h"
#include "platform/rtl/SysUtils.h"

namespace rtl {

struct TFormatSettings {
    std::string CurrencyString = "\xEF\xBF\xA5";   // fullwidth yen sign, as zh-CN writes yuan
    Byte CurrencyFormat = 0;
    Byte NegCurrFormat = 2;
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
    Byte CurrencyDecimals = 2;
    char DateSeparator = '-';
    char TimeSeparator = ':';
    char ListSeparator = ',';
    std::string ShortDateFormat = "yyyy-M-d";
    std::string LongDateFormat = "yyyy'\xE5\xB9\xB4'M'\xE6\x9C\x88'd'\xE6\x97\xA5'";
    std::string TimeAMString = "\xE4\xB8\x8A\xE5\x8D\x88";   // 上午
    std::string TimePMString = "\xE4\xB8\x8B\xE5\x8D\x88";   // 下午
    std::string ShortTimeFormat = "H:mm";
    std::string LongTimeFormat = "H:mm:ss";
    std::array<std::string, 12> ShortMonthNames;
    std::array<std::string, 12> LongMonthNames;
    std::array<std::string, 7> ShortDayNames;   // Sunday first
    std::array<std::string, 7> LongDayNames;
    Word TwoDigitYearCenturyWindow = 50;

    // The settings of the platform profile's locale (zh-CN).
    static TFormatSettings ProfileDefaults();
};

// Locale information keys (the numbering of the Windows LCTYPE values the code asks for).
enum : std::uint32_t {
    LOCALE_SDECIMAL = 0x0E,
    LOCALE_STHOUSAND = 0x0F,
    LOCALE_SCURRENCY = 0x14,
    LOCALE_ICURRDIGITS = 0x19,
    LOCALE_ICURRENCY = 0x1B,
    LOCALE_INEGCURR = 0x1C,
    LOCALE_SDATE = 0x1D,
    LOCALE_STIME = 0x1E,
    LOCALE_SSHORTDATE = 0x1F,
    LOCALE_SLONGDATE = 0x20,
    LOCALE_IDATE = 0x21,
    LOCALE_S1159 = 0x28,
    LOCALE_S2359 = 0x29,
    LOCALE_SLIST = 0x0C,
    LOCALE_SDAYNAME1 = 0x2A,            // .. 0x30; 1 is Monday
    LOCALE_SABBREVDAYNAME1 = 0x31,      // .. 0x37
    LOCALE_SMONTHNAME1 = 0x38,          // .. 0x43
    LOCALE_SABBREVMONTHNAME1 = 0x44,    // .. 0x4F
    LOCALE_SSHORTESTDAYNAME1 = 0x60,    // .. 0x66
    LOCALE_STIMEFORMAT = 0x1003,
    LOCALE_SYEARMONTH = 0x1006,
    LOCALE_ICALENDARTYPE = 0x1009,
    LOCALE_IFIRSTDAYOFWEEK = 0x100C,
    LOCALE_IFIRSTWEEKOFYEAR = 0x100D,
    LOCALE_RETURN_NUMBER = 0x20000000,   // ignored: answers are texts, numbers in decimal
};

// Calendar information keys (CALTYPE) and the flags of the date formatter.
enum : std::uint32_t {
    CAL_SSHORTDATE = 0x05,
    CAL_SLONGDATE = 0x06,
    CAL_SYEARMONTH = 0x2F,
    CAL_ITWODIGITYEARMAX = 0x30,
    CAL_RETURN_NUMBER = 0x20000000,      // ignored, as above
    DATE_SHORTDATE = 0x01,
    DATE_LONGDATE = 0x02,
};

class ILocaleService {
public:
    virtual ~ILocaleService() = default;
    virtual const TFormatSettings& FormatSettings() const = 0;
    virtual std::uint32_t ThreadLocale() const = 0;
    // The text Windows would give for the key, or empty when the locale has none.
    virtual std::string LocaleInfo(std::uint32_t locale, std::uint32_t key) const = 0;
    virtual TDateTime Now() const = 0;
    // What GetCalendarInfoA gives for a calendar identifier (1 Gregorian .. 12), or empty.
    virtual std::string CalendarInfo(std::uint32_t locale, std::uint32_t calendar, std::uint32_t key) const;
    // GetDateFormatA / GetTimeFormatA: a Windows picture ("yyyy'年'M'月'd'日'", "H:mm:ss") applied
    // to a date or time; an empty format takes the locale's one (DATE_LONGDATE: the long date).
    // False, and nothing written, for a date outside 1601..9999 or a format it cannot apply.
    virtual bool GetDateFormat(std::uint32_t locale, std::uint32_t flags, TDateTime date,
                               std::string_view format, std::string& text) const;
    virtual bool GetTimeFormat(std::uint32_t locale, std::uint32_t flags, TDateTime time,
                               std::string_view format, std::string& text) const;
};

// The production service: the profile's zh-CN settings and the system clock (local time).
class ProfileLocaleService : public ILocaleService {
public:
    const TFormatSettings& FormatSettings() const override { return settings_; }
    std::uint32_t ThreadLocale() const override;
    std::string LocaleInfo(std::uint32_t locale, std::uint32_t key) const override;
    std::string CalendarInfo(std::uint32_t locale, std::uint32_t calendar, std::uint32_t key) const override;
    TDateTime Now() const override;

protected:
    TFormatSettings settings_ = TFormatSettings::ProfileDefaults();
};

// For tests: the profile's settings (adjustable) and a clock that stands still until set.
class FixedLocaleService : public ProfileLocaleService {
public:
    explicit FixedLocaleService(TDateTime now = 0) : now_(now) {}
    TFormatSettings& Settings() { return settings_; }
    void SetNow(TDateTime now) { now_ = now; }
    TDateTime Now() const override { return now_; }
    // Answers that differ from the profile's: another locale, another calendar.
    void SetLocaleInfo(std::uint32_t key, std::string value) { localeInfo_[key] = std::move(value); }
    void SetCalendarInfo(std::uint32_t calendar, std::uint32_t key, std::string value)
    {
        calendarInfo_[{calendar, key}] = std::move(value);
    }
    std::string LocaleInfo(std::uint32_t locale, std::uint32_t key) const override;
    std::string CalendarInfo(std::uint32_t locale, std::uint32_t calendar, std::uint32_t key) const override;

private:
    TDateTime now_;
    std::map<std::uint32_t, std::string> localeInfo_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> calendarInfo_;
};

// The system's broadcasts of a changed setting (WM_WININICHANGE with its section, "intl" for the
// international settings) and of a changed clock (WM_TIMECHANGE). The platform, or a test, calls
// Broadcast...; parts that care subscribe to the events instead of keeping a hidden window.
struct TSystemBroadcasts {
    MulticastEvent<void(const std::string& section)> SettingChange;
    MulticastEvent<void()> TimeChange;
    // The application's UpdateFormatSettings switch: whether "intl" changes are followed.
    bool UpdateFormatSettings = true;
};
TSystemBroadcasts& SystemBroadcasts();
void BroadcastSettingChange(const std::string& section);
void BroadcastTimeChange();

const ILocaleService& LocaleService();
// Installs a service and returns the one it replaces (null restores the production service).
std::unique_ptr<ILocaleService> SetLocaleService(std::unique_ptr<ILocaleService> service);
inline const TFormatSettings& FormatSettings() { return LocaleService().FormatSettings(); }

// Floating point and date-time text under the current format settings.
std::string FloatToStr(double value);   // general format, 15 significant digits
std::string FloatToStrG(long double value, int digits);   // general format, that many digits
bool TryStrToFloat(std::string_view text, double& value);
double StrToFloat(std::string_view text);   // EConvertError when not a number
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);
bool TryStrToDateTime(std::string_view text, TDateTime& value);
TDateTime StrToDateTime(std::string_view text);   // EConvertError when not a date-time

} // namespace rtl
