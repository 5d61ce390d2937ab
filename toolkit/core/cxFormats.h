#pragma once
// cxFormats: TcxFormatController, the one keeper of the locale-dependent formats of the toolkit's
// editors (currency display format, first day of the week, date edit format, the edit masks of
// date and date-time editors in the standard and the regular-expression mask languages). It
// derives them from the format settings, recomputes them when the system announces changed
// international settings, and tells its listeners. An application can pin any value.
//
// The system's broadcasts reach it without a window: while it has listeners it follows
// rtl::SystemBroadcasts(), and SettingChange / SystemTimeChanged are the plain entry points a
// platform calls for WM_WININICHANGE and WM_TIMECHANGE.
#include <array>
#include <string>
#include <unordered_set>
#include <vector>

#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxDateUtils.h"
#include "toolkit/core/dxCore.h"

namespace cx {

enum TcxDateTimeEditMaskKind { dtmkDate, dtmkTime, dtmkDateTime };
enum TcxDateTimeFormatItemKind {
    dtikString, dtikYear, dtikMonth, dtikDay, dtikHour, dtikMin, dtikSec, dtikMSec, dtikTimeSuffix,
    dtikDateSeparator, dtikTimeSeparator
};
enum TcxTimeSuffixKind { tskAP, tskAMPM, tskAMPMString };

struct TcxDateTimeFormatItem {
    TcxDateTimeFormatItemKind Kind = dtikString;
    std::string Data;   // the element's pattern ("YY", "MMMM", "24HH", "AM/PM") or the literal text
};

struct TcxDateTimeFormatInfo {
    std::array<bool, 11> DefinedKinds{};
    std::vector<TcxDateTimeFormatItem> Items;
};

struct TcxDateTimeFormatItemInfo {
    TcxDateTimeFormatItemKind Kind = dtikString;
    int ZoneStart = 0;   // 1-based position in the standard mask text
    int ZoneLength = 0;
    TcxTimeSuffixKind TimeSuffixKind = tskAP;
};

// {A7F2F6D3-1A7D-4295-A6E6-9297BD83D0DE}
inline constexpr TGUID IID_IcxFormatControllerListener = {0xA7F2F6D3, 0x1A7D, 0x4295, {0xA6, 0xE6, 0x92, 0x97, 0xBD, 0x83, 0xD0, 0xDE}};
class IcxFormatControllerListener {
public:
    virtual ~IcxFormatControllerListener() = default;
    virtual void FormatChanged() = 0;
};

// {5E33A2A7-0C77-415F-A359-112103E54937}
inline constexpr TGUID IID_IcxFormatControllerListener2 = {0x5E33A2A7, 0x0C77, 0x415F, {0xA3, 0x59, 0x11, 0x21, 0x03, 0xE5, 0x49, 0x37}};
class IcxFormatControllerListener2 {
public:
    virtual ~IcxFormatControllerListener2() = default;
    virtual void TimeChanged() = 0;
};

class TcxFormatController : public TcxIUnknownObject, public IdxLocalizerListener {
    RTL_CLASS(TcxFormatController, TcxIUnknownObject)
    TcxFormatController();
    ~TcxFormatController() override;

    virtual void AddListener(IcxFormatControllerListener* listener);
    virtual void RemoveListener(IcxFormatControllerListener* listener);
    int ListenerCount() const { return static_cast<int>(listeners_.size()); }

    void BeginUpdate() { ++lockCount_; }
    void EndUpdate();
    void FormatChanged();
    void TranslationChanged() override { FormatChanged(); }
    void NotifyListeners();
    void TimeChanged();
    void GetFormats();

    // What the hidden window of the design did: a changed system setting (the section name,
    // "intl" for the international settings) and a changed system clock. Exceptions go to
    // OnBroadcastException when one is set, else on to the caller.
    void SettingChange(const std::string& section);
    void SystemTimeChanged();
    // True exactly while the controller has listeners (where the design had its window).
    bool FollowsSystemBroadcasts() const { return following_; }
    Event<void(const Exception& e)> OnBroadcastException;

    static std::string GetDateTimeDisplayFormat(TcxDateTimeEditMaskKind kind);
    static TDay GetStartOfWeek() { return cx::GetStartOfWeek(); }
    static int GetDateTimeFormatItemStandardMaskZoneLength(const TcxDateTimeFormatItem& item);
    static int GetDateTimeStandardMaskStringLength(const TcxDateTimeFormatInfo& info);
    static bool GetDateTimeFormatItemStandardMaskInfo(const TcxDateTimeFormatInfo& info, int position,
                                                      TcxDateTimeFormatItemInfo& itemInfo);
    // The pieces of the mask computation, open for the editors and the tests.
    static void DescribeFormat(const std::string& format, TcxDateTimeFormatInfo& info);
    static std::string GetCurrencyFormat();
    static std::string GetDateEditFormat(bool masked);
    static std::string InternalGetDateTimeEditRegExprMask(const TcxDateTimeFormatInfo& info, TcxDateTimeEditMaskKind kind);
    static std::string InternalGetDateTimeEditStandardMask(const TcxDateTimeFormatInfo& info, TcxDateTimeEditMaskKind kind);
    static std::string InternalGetMaskedDateEditFormat(const TcxDateTimeFormatInfo& info);

    // Properties.
    const std::string& CurrencyFormat() const { return currencyFormat_; }
    void SetCurrencyFormat(const std::string& value);
    TcxFirstWeekOfYear FirstWeekOfYear() const { return firstWeekOfYear_; }
    void SetFirstWeekOfYear(TcxFirstWeekOfYear value);
    const std::string& RegExprDateEditMask() const { return regExprDateEditMask_; }
    void SetRegExprDateEditMask(const std::string& value);
    const std::string& RegExprDateTimeEditMask() const { return regExprDateTimeEditMask_; }
    void SetRegExprDateTimeEditMask(const std::string& value);
    const std::string& StandardDateEditMask() const { return standardDateEditMask_; }
    void SetStandardDateEditMask(const std::string& value);
    const std::string& StandardDateTimeEditMask() const { return standardDateTimeEditMask_; }
    void SetStandardDateTimeEditMask(const std::string& value);
    TDay StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TDay value);
    bool UseDelphiDateTimeFormats() const { return useDelphiDateTimeFormats_; }
    void SetUseDelphiDateTimeFormats(bool value);

    bool AssignedCurrencyFormat() const { return assignedCurrencyFormat_; }
    void SetAssignedCurrencyFormat(bool value) { SetFlag(assignedCurrencyFormat_, value); }
    bool AssignedRegExprDateEditMask() const { return assignedRegExprDateEditMask_; }
    void SetAssignedRegExprDateEditMask(bool value) { SetFlag(assignedRegExprDateEditMask_, value); }
    bool AssignedRegExprDateTimeEditMask() const { return assignedRegExprDateTimeEditMask_; }
    void SetAssignedRegExprDateTimeEditMask(bool value) { SetFlag(assignedRegExprDateTimeEditMask_, value); }
    bool AssignedStandardDateEditMask() const { return assignedStandardDateEditMask_; }
    void SetAssignedStandardDateEditMask(bool value) { SetFlag(assignedStandardDateEditMask_, value); }
    bool AssignedStandardDateTimeEditMask() const { return assignedStandardDateTimeEditMask_; }
    void SetAssignedStandardDateTimeEditMask(bool value) { SetFlag(assignedStandardDateTimeEditMask_, value); }
    bool AssignedStartOfWeek() const { return assignedStartOfWeek_; }
    void SetAssignedStartOfWeek(bool value) { SetFlag(assignedStartOfWeek_, value); }

    const std::string& DateEditFormat() const { return dateEditFormat_; }
    const std::string& DateEditMask() const { return dateEditMask_; }
    const std::string& MaskedDateEditFormat() const { return maskedDateEditFormat_; }
    const std::string& MaskedDateTimeEditFormat() const { return maskedDateTimeEditFormat_; }
    const TcxDateTimeFormatInfo& DateFormatInfo() const { return dateFormatInfo_; }
    const TcxDateTimeFormatInfo& TimeFormatInfo() const { return timeFormatInfo_; }
    const TcxDateTimeFormatInfo& DateTimeFormatInfo() const { return dateTimeFormatInfo_; }

private:
    void SetFlag(bool& flag, bool value);
    void SetPinned(bool& flag, std::string& field, const std::string& value);
    void CalculateDateEditMasks(bool smartInput);
    void Follow(bool on);

    bool assignedCurrencyFormat_ = false;
    bool assignedRegExprDateEditMask_ = false;
    bool assignedRegExprDateTimeEditMask_ = false;
    bool assignedStandardDateEditMask_ = false;
    bool assignedStandardDateTimeEditMask_ = false;
    bool assignedStartOfWeek_ = false;
    std::string currencyFormat_;
    std::string dateEditFormat_;
    std::string dateEditMask_;
    TcxDateTimeFormatInfo dateFormatInfo_;
    TcxDateTimeFormatInfo dateTimeFormatInfo_;
    TcxFirstWeekOfYear firstWeekOfYear_ = fwySystem;
    std::vector<IcxFormatControllerListener*> listeners_;   // in the order they came
    std::unordered_set<IcxFormatControllerListener*> listening_;   // the same, to find them at once
    int lockCount_ = 0;
    std::string maskedDateEditFormat_;
    std::string maskedDateTimeEditFormat_;
    std::string regExprDateEditMask_;
    std::string regExprDateTimeEditMask_;
    std::string standardDateEditMask_;
    std::string standardDateTimeEditMask_;
    TDay startOfWeek_ = dSunday;
    TcxDateTimeFormatInfo timeFormatInfo_;
    bool useDelphiDateTimeFormats_ = false;
    bool following_ = false;
};

// The one controller of the process, created at the first call.
TcxFormatController* cxFormatController();

namespace cxFormatsUnit {
void Initialize();
void Finalize();   // frees the controller (once)
} // namespace cxFormatsUnit

} // namespace cx
