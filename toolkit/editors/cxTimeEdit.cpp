// The time editor's rules: format and mask table, zones, the typed-character rule, seconds and
// steps, and the conversions between a time text and an edit value.
#include "toolkit/editors/cxTimeEdit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cwctype>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

namespace {
constexpr int kSecondsPerDay = 86400;
constexpr int kHalfDay = 43200;

const char* const kDisplayFormats[3][2] = {
    {"hh:nn:ss ampm", "hh:nn:ss"}, {"hh:nn ampm", "hh:nn"}, {"hh ampm", "hh"}};

std::array<std::string, 3>& TwelveHourMasks()
{
    static std::array<std::string, 3> masks = {"00:00:00 LL;1;0", "00:00 LL;1;0", "00 LL;1;0"};
    return masks;
}

const char* const kTwentyFourHourMasks[3] = {"00:00:00;1;0", "00:00;1;0", "00;1;0"};

bool SameIgnoringCase(char16_t a, char16_t b) { return std::towupper(wint_t(a)) == std::towupper(wint_t(b)); }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The number of a run of digits; -1 when a character is not a digit or the run is empty.
int NumberAt(const std::u16string& text, std::size_t from, std::size_t count)
{
    if (from + count > text.size() || count == 0)
        return -1;
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (!IsDigit(text[i]))
            return -1;
        n = n * 10 + (text[i] - u'0');
    }
    return n;
}

std::u16string TwoDigits(int n) { return {char16_t(u'0' + n / 10 % 10), char16_t(u'0' + n % 10)}; }

std::u16string TrimRight(std::u16string s)
{
    while (!s.empty() && s.back() == u' ')
        s.pop_back();
    return s;
}

bool EndsWith(const std::u16string& s, const std::u16string& tail)
{
    return !tail.empty() && s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
} // namespace

// ---- table ---------------------------------------------------------------------------------------------

std::string cxTimeEditDisplayFormat(TcxTimeEditTimeFormat format, bool use24HourFormat)
{
    return kDisplayFormats[format][use24HourFormat ? 1 : 0];
}

std::string cxTimeEditMask(TcxTimeEditTimeFormat format, bool use24HourFormat)
{
    return use24HourFormat ? kTwentyFourHourMasks[format] : TwelveHourMasks()[std::size_t(format)];
}

void cxTimeEditBuild12HourMasks(const std::u16string& pmString)
{
    // Noon as "hh:mm:ss AMPM": everything after the eighth character is the suffix template.
    std::string suffix = " ";
    for (char16_t c : pmString)
        suffix += c == u' ' ? ' ' : 'c';
    while (!suffix.empty() && suffix.back() == ' ')
        suffix.pop_back();
    static const std::size_t digits[] = {8, 5, 2};
    for (std::size_t i = 0; i < 3; ++i) {
        std::string& mask = TwelveHourMasks()[i];
        mask = mask.substr(0, digits[i]) + suffix + ";1;0";
    }
}

void cxTimeEditBuild12HourMasks() { cxTimeEditBuild12HourMasks(Utf8ToUtf16(rtl::FormatSettings().TimePMString)); }

void cxTimeSuffixes(TcxTimeSuffixKind kind, std::u16string& am, std::u16string& pm)
{
    switch (kind) {
    case tskAP: am = u"A"; pm = u"P"; break;
    case tskAMPM: am = u"AM"; pm = u"PM"; break;
    default:
        am = Utf8ToUtf16(rtl::FormatSettings().TimeAMString);
        pm = Utf8ToUtf16(rtl::FormatSettings().TimePMString);
        break;
    }
}

// ---- layout --------------------------------------------------------------------------------------------

TcxTimeEditZoneKind TcxTimeEditLayout::GetEditingPlace(int pos) const
{
    if (MaxLength > 0 && pos > MaxLength)
        pos = MaxLength;
    if (!Use24HourFormat && pos > DigitsLength())
        return tzTimeSuffix;
    const std::string format = UpperCase(cxTimeEditDisplayFormat(TimeFormat, Use24HourFormat));
    const int length = int(format.size());
    pos = std::clamp(pos, 1, length);
    char c = format[std::size_t(pos - 1)];
    if (c != 'H' && c != 'N' && c != 'S')
        c = format[std::size_t(std::min(pos + 1, length) - 1)];
    return c == 'H' ? tzHour : c == 'N' ? tzMin : tzSec;
}

int TcxTimeEditLayout::GetTimePartPos(TcxTimeEditZoneKind kind) const
{
    return kind == tzTimeSuffix ? 10 - 3 * int(TimeFormat) : 3 * int(kind) + 1;
}

TcxTimeEditZoneInfo TcxTimeEditLayout::GetTimeZoneInfo(int pos) const
{
    TcxTimeEditZoneInfo info;
    info.Kind = GetEditingPlace(pos);
    info.Start = GetTimePartPos(info.Kind);
    info.Length = GetTimePartLength(info.Kind);
    info.SuffixKind = tskAMPMString;
    info.Use24HourFormat = Use24HourFormat;
    return info;
}

int TcxTimeEditLayout::GetValue(const std::u16string& text) const
{
    auto part = [&](std::size_t from) { return std::max(NumberAt(text, from, 2), 0); };
    int hours = part(0);
    if (!Use24HourFormat)
        hours %= 12;
    int value = hours * 3600;
    if (TimeFormat != tfHour)
        value += part(3) * 60;
    if (TimeFormat == tfHourMinSec)
        value += part(6);
    if (!Use24HourFormat && EndsWith(text, Utf8ToUtf16(rtl::FormatSettings().TimePMString)))
        value += kHalfDay;
    return value;
}

double TcxTimeEditLayout::GetZoneIncrement(TcxTimeEditZoneKind zone, double increment, bool forward,
                                           int currentValue) const
{
    switch (zone) {
    case tzHour: return increment * 3600;
    case tzMin: return increment * 60;
    case tzSec: return increment;
    default:
        // The suffix toggles AM and PM whichever way the step goes.
        if (forward)
            return currentValue >= kHalfDay ? -kHalfDay : kHalfDay;
        return currentValue < kHalfDay ? kHalfDay : -kHalfDay;
    }
}

std::u16string TcxTimeEditLayout::FormatTime(TDateTime time) const
{
    // hh:nn:ss shows the seconds begun, as a clock does: a fraction of a second never rounds up
    // (23:59:59.6 is 23:59:59, not midnight).
    int h = 0, m = 0, s = 0, ms = 0;
    rtl::DecodeTime(std::fabs(time - std::trunc(time)), h, m, s, ms);
    const char16_t sep = char16_t(static_cast<unsigned char>(rtl::FormatSettings().TimeSeparator));
    std::u16string text = TwoDigits(Use24HourFormat ? h : (h % 12 == 0 ? 12 : h % 12));
    if (TimeFormat != tfHour)
        text += sep + TwoDigits(m);
    if (TimeFormat == tfHourMinSec)
        text += sep + TwoDigits(s);
    if (!Use24HourFormat) {
        std::u16string am, pm;
        cxTimeSuffixes(tskAMPMString, am, pm);
        text += u" " + (h < 12 ? am : pm);
    }
    return TrimRight(text);
}

bool TcxTimeEditLayout::TryTextToTime(const std::u16string& text, TDateTime& time) const
{
    std::u16string digits = Use24HourFormat ? TrimRight(text) : text.substr(0, std::size_t(DigitsLength()));
    if (digits.size() == 2)
        digits += u":00";
    const char16_t sep = char16_t(static_cast<unsigned char>(rtl::FormatSettings().TimeSeparator));
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t from = 0;
    while (true) {
        std::size_t end = from;
        while (end < digits.size() && digits[end] != sep && digits[end] != u':')
            ++end;
        const int n = end - from <= 2 ? NumberAt(digits, from, end - from) : -1;
        if (n < 0 || count == 3)
            return false;
        parts[count++] = n;
        if (end >= digits.size())
            break;
        from = end + 1;
    }
    int h = parts[0];
    if (!Use24HourFormat) {
        if (h < 1 || h > 12)
            return false;
        std::u16string am, pm;
        cxTimeSuffixes(tskAMPMString, am, pm);
        const std::size_t from = std::size_t(9 - 3 * int(TimeFormat) - 1);
        const bool isAm = !am.empty() && from <= text.size() && text.find(am, from) != std::u16string::npos;
        h = h % 12 + (isAm ? 0 : 12);
    }
    if (h > 23 || parts[1] > 59 || parts[2] > 59)
        return false;
    time = (h * 3600 + parts[1] * 60 + parts[2]) / double(kSecondsPerDay);
    return true;
}

// ---- the typed-character rule ------------------------------------------------------------------------------

namespace {
bool IsSuffixCharValid(IcxTimeEditTextHost& host, char16_t& ch, int pos, const TcxTimeEditZoneInfo& zone)
{
    std::u16string am, pm;
    cxTimeSuffixes(zone.SuffixKind, am, pm);
    const std::size_t shorter = std::min(am.size(), pm.size());
    int d = -1;
    for (std::size_t i = 0; i < shorter; ++i)
        if (!SameIgnoringCase(am[i], pm[i])) {
            d = int(i) + 1;
            break;
        }
    if (d < 0 && am.size() != pm.size())
        d = int(shorter) + 1;
    const int k = zone.Start + d - 1;
    const std::u16string text = host.GetText();
    if (d < 0 || pos > k) {
        if (pos < 1 || pos > int(text.size()) || !SameIgnoringCase(ch, text[std::size_t(pos - 1)]))
            return false;
        ch = text[std::size_t(pos - 1)];
        return true;
    }
    if (pos < k) {
        const std::size_t index = std::size_t(pos - zone.Start);
        if (pos < zone.Start || index >= am.size() || !SameIgnoringCase(ch, am[index]))
            return false;
        ch = am[index];
        return true;
    }
    const std::size_t index = std::size_t(d - 1);
    const std::u16string* chosen = nullptr;
    if (index < am.size() && SameIgnoringCase(ch, am[index]))
        chosen = &am;
    else if (index < pm.size() && SameIgnoringCase(ch, pm[index]))
        chosen = &pm;
    if (!chosen)
        return false;
    ch = 0;
    host.ReplaceText(zone.Start - 1, *chosen);
    host.SetCaret(std::min(zone.Start + zone.Length, int(host.GetText().size())));
    return true;
}
} // namespace

bool IsCharValidForTimeEdit(IcxTimeEditTextHost& host, char16_t& ch, int pos, const TcxTimeEditZoneInfo& zone)
{
    if (zone.Kind == tzTimeSuffix)
        return IsSuffixCharValid(host, ch, pos, zone);
    if (!IsDigit(ch))
        return false;
    const int low = zone.Kind == tzHour && !zone.Use24HourFormat ? 1 : 0;
    const int high = zone.Kind != tzHour ? 59 : zone.Use24HourFormat ? 23 : 12;
    std::u16string text = host.GetText();
    const std::size_t start = std::size_t(zone.Start - 1);
    if (text.size() < start + 2)
        text.resize(start + 2, u'0');
    std::u16string digits = text.substr(start, 2);
    const bool first = pos == zone.Start;
    digits[first ? 0 : 1] = ch;
    const int n = NumberAt(digits, 0, 2);
    if (n >= low && n <= high)
        return true;
    if (first) {
        const char16_t current = text[start];
        const char16_t highFirst = char16_t(u'0' + high / 10);
        if (ch == u'0') {
            host.ReplaceText(int(start), std::u16string{u'0', current});
            ch = 0;
        } else if (ch > highFirst) {
            host.ReplaceText(int(start), u"0");   // the mask writes the digit second
        } else {
            host.ReplaceText(int(start), std::u16string{ch, u'0'});
            ch = 0;
        }
        host.SetCaret(host.GetCaret() + 1);
        return true;
    }
    if (ch == u'0')
        return false;
    host.ReplaceText(int(start), u"0");
    return true;
}

// ---- conversions --------------------------------------------------------------------------------------------

Variant cxTimeEditTextToEditValue(const TcxTimeEditLayout& layout, const std::u16string& text, double datePart)
{
    TDateTime time = 0;
    if (!layout.TryTextToTime(text, time))
        time = 0;
    const double value = (datePart >= 0 ? 1 : -1) * time + datePart;
    return value != 0 ? Variant::FromDate(value) : Variant(0.0);
}

namespace {
// A text value as a date and time: the locale's date-time forms first, then the editor's own time
// text, whose suffix ("下午", say) the locale's parser does not read.
bool TryTimeTextToDateTime(const TcxTimeEditLayout& layout, const std::string& text, TDateTime& value)
{
    return rtl::TryStrToDateTime(text, value) || layout.TryTextToTime(Utf8ToUtf16(text), value);
}
} // namespace

std::u16string cxTimeEditDisplayText(const TcxTimeEditLayout& layout, const Variant& editValue, bool focused,
                                     bool showDate, bool useTimeFormatWhenUnfocused)
{
    // What a value shows that is not there or cannot be read: never the clock's time.
    const std::u16string fallback = focused ? layout.FormatTime(0) : std::u16string();
    if (editValue.IsNull() || editValue.IsEmpty())
        return fallback;
    if (!VarIsDate(editValue) && !VarIsNumericEx(editValue) && !VarIsStr(editValue))
        throw EConvertError(cxGetResourceString(&cxSEditTimeConvertError));
    TDateTime value = 0;
    try {
        if (VarIsStr(editValue)) {
            if (!TryTimeTextToDateTime(layout, VarToStr(editValue), value))
                return fallback;
        } else {
            value = editValue.ToDouble();
        }
    } catch (const EConvertError&) {
        return fallback;
    } catch (const EVariantError&) {
        return fallback;
    }
    if (!std::isfinite(value) || std::fabs(value) > 2958466.0)   // beyond 31 December 9999
        return fallback;
    if (!focused && showDate && value != 0 && std::trunc(value) != 0)
        return TrimRight(Utf8ToUtf16(rtl::DateTimeToStr(value)));
    if (!focused && !useTimeFormatWhenUnfocused)
        return TrimRight(Utf8ToUtf16(rtl::TimeToStr(value)));
    return layout.FormatTime(value);
}

// ---- mask mode --------------------------------------------------------------------------------------------

void TcxTimeEditMaskMode::Compile(const std::u16string& mask)
{
    TcxMaskEditStandardMode::Compile(mask);
    const TcxStandardMask& m = StandardMask();
    int digits = 0;
    while (digits < m.Count() &&
           !(m.IsLiteral(digits) && static_cast<TcxStandardMaskLiteralItem*>(m.Items(digits))->Literal() == u' '))
        ++digits;
    layout_.Use24HourFormat = digits >= m.Count();
    layout_.TimeFormat = digits >= 8 ? tfHourMinSec : digits >= 5 ? tfHourMin : tfHour;
}

char16_t TcxTimeEditMaskMode::GetBlank(int index) const
{
    return layout_.GetEditingPlace(index + 1) == tzTimeSuffix ? 0 : u'0';
}

// ---- properties -------------------------------------------------------------------------------------------

TcxCustomTimeEditProperties::TcxCustomTimeEditProperties(TPersistent* owner) : TcxCustomSpinEditProperties(owner)
{
    SetValueType(vtFloat);
    UpdateEditMask();
    SetIgnoreMaskBlank(true);
    SetIncrement(1.0);
    SetMinValue(0);
    SetMaxValue(86399);
    SetAlwaysShowBlanksAndLiterals(true);
}

void TcxCustomTimeEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomTimeEditProperties*>(source);
    if (!s)
        return TcxCustomSpinEditProperties::Assign(source);
    BeginUpdate();
    TcxCustomSpinEditProperties::Assign(source);
    SetAutoCorrectHours(s->autoCorrectHours_);
    SetShowDate(s->showDate_);
    SetTimeFormat(s->timeFormat_);
    SetUse24HourFormat(s->use24HourFormat_);
    SetUseTimeFormatWhenUnfocused(s->useTimeFormatWhenUnfocused_);
    EndUpdate();
}

void TcxCustomTimeEditProperties::SetTimeFormat(TcxTimeEditTimeFormat value)
{
    if (value == timeFormat_)
        return;
    timeFormat_ = value;
    UpdateEditMask();
    Changed();
}

void TcxCustomTimeEditProperties::SetUse24HourFormat(bool value)
{
    if (value == use24HourFormat_)
        return;
    use24HourFormat_ = value;
    UpdateEditMask();
    Changed();
}

void TcxCustomTimeEditProperties::SetShowDate(bool value)
{
    if (value == showDate_)
        return;
    showDate_ = value;
    Changed();
}

void TcxCustomTimeEditProperties::SetUseTimeFormatWhenUnfocused(bool value)
{
    if (value == useTimeFormatWhenUnfocused_)
        return;
    useTimeFormatWhenUnfocused_ = value;
    Changed();
}

TcxTimeEditLayout TcxCustomTimeEditProperties::Layout() const
{
    TcxTimeEditLayout l;
    l.TimeFormat = timeFormat_;
    l.Use24HourFormat = use24HourFormat_;
    l.MaxLength = const_cast<TcxCustomTimeEditProperties*>(this)->MaxLength();
    return l;
}

void TcxCustomTimeEditProperties::UpdateEditMask() { SetEditMask(cxTimeEditMask(timeFormat_, use24HourFormat_)); }

void TcxCustomTimeEditProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue,
                                                      bool editFocused)
{
    displayValue = Variant(
        Utf16ToUtf8(cxTimeEditDisplayText(Layout(), editValue, editFocused, showDate_, useTimeFormatWhenUnfocused_)));
}

bool TcxCustomTimeEditProperties::IsDisplayValueValid(Variant& displayValue, bool)
{
    TDateTime value = 0;
    if (!TryTimeTextToDateTime(Layout(), VarToStr(displayValue), value))
        return false;
    displayValue = Variant(Utf16ToUtf8(Layout().FormatTime(value)));
    return true;
}

bool TcxCustomTimeEditProperties::IsEditValueValid(Variant& editValue, bool editFocused)
{
    if (VarIsStr(editValue))
        return IsDisplayValueValid(editValue, editFocused);
    return editValue.IsNull() || VarIsDate(editValue) || VarIsNumericEx(editValue);
}

void TcxCustomTimeEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                       IcxEditValidationTarget* edit)
{
    if (errorText.empty())
        errorText = cxGetResourceString(&cxSEditTimeConvertError);
    bool changed = false;
    DoValidate(displayValue, errorText, error, edit, changed);
}

std::string TcxCustomTimeEditProperties::DefaultFocusedDisplayValue() { return Utf16ToUtf8(Layout().FormatTime(0)); }

void TcxCustomTimeEditProperties::FormatChanged()
{
    BeginUpdate();
    UpdateEditMask();
    EndUpdate();
}

const TClassMeta* TcxCustomTimeEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxTimeEdit>().Meta();
}

// ---- the inner edit as the typed-character rule's text host ----------------------------------

std::u16string TcxTextEditTimeHost::GetText() { return Utf8ToUtf16(edit_->Text()); }

void TcxTextEditTimeHost::ReplaceText(int index, const std::u16string& chars)
{
    std::u16string text = GetText();
    if (std::size_t(index) + chars.size() > text.size())
        text.resize(std::size_t(index) + chars.size(), u' ');
    text.replace(std::size_t(index), chars.size(), chars);
    const int caret = edit_->SelStart();
    edit_->InnerTextEdit()->SetEditValue(Variant(Utf16ToUtf8(text)));
    edit_->SetSelection(caret, 0);
}

int TcxTextEditTimeHost::GetCaret() { return edit_->SelStart(); }

void TcxTextEditTimeHost::SetCaret(int index) { edit_->SetSelection(index, 0); }

bool TcxTextEditTimeHost::TypeChar(char16_t& ch, int position, const TcxTimeEditZoneInfo& zone)
{
    // The mask mode writes the character where the rule left the caret, so a digit moved on to
    // the zone's second digit lands there.
    return IsCharValidForTimeEdit(*this, ch, position, zone);
}

TcxMaskEditModeClass TcxCustomTimeEditProperties::GetModeClass(TcxEditMaskKind) const
{
    return TcxMaskEditModeClass::Of<TcxTimeEditMaskMode>();
}

// ---- control -------------------------------------------------------------------------------------------------

namespace {
TcxEditClasses TimeEditClasses(bool published)
{
    TcxEditClasses c;
    c.Properties = published ? TcxCustomEditPropertiesClass::Of<TcxTimeEditProperties>()
                             : TcxCustomEditPropertiesClass::Of<TcxCustomTimeEditProperties>();
    c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerTextEdit>();
    return c;
}

} // namespace

TcxCustomTimeEdit::TcxCustomTimeEdit(TComponent* owner, bool isInplace)
    : TcxCustomSpinEdit(owner, isInplace, TimeEditClasses(false))
{
}

TcxCustomTimeEdit::TcxCustomTimeEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomSpinEdit(owner, isInplace, classes)
{
}

TcxTimeEdit::TcxTimeEdit(TComponent* owner, bool isInplace) : TcxCustomTimeEdit(owner, isInplace, TimeEditClasses(true)) {}

TcxTimeEditZoneKind TcxCustomTimeEdit::EditingPlace()
{
    return ActiveProperties()->Layout().GetEditingPlace(SelStart() + 1);
}

bool TcxCustomTimeEdit::IsCharValidForPos(char16_t& ch, int position)
{
    TcxTextEditTimeHost host(this);
    return host.TypeChar(ch, position, ActiveProperties()->Layout().GetTimeZoneInfo(position));
}

void TcxCustomTimeEdit::SynchronizeDisplayValue()
{
    TcxCustomSpinEdit::SynchronizeDisplayValue();
    // A value that does not read shows an empty text unfocused (the text editor would show it raw).
    Variant v = EditValue();
    if (!IsEditFocused() && !v.IsNull() && !ActiveProperties()->IsEditValueValid(v, false) && InnerTextEdit())
        InnerTextEdit()->SetEditValue(Variant(std::string()));
}

void TcxCustomTimeEdit::PrepareEditValue(const Variant& displayValue, Variant& editValue, bool)
{
    editValue = cxTimeEditTextToEditValue(ActiveProperties()->Layout(), Utf8ToUtf16(VarToStr(displayValue)), datePart_);
}

Variant TcxCustomTimeEdit::InternalGetEditingValue()
{
    Variant v;
    PrepareEditValue(Variant(Text()), v, true);
    return v;
}

void TcxCustomTimeEdit::InternalSetEditValue(const Variant& value, bool validateEditValue)
{
    Variant copy = value;
    const bool valid = !validateEditValue || ActiveProperties()->IsEditValueValid(copy, InternalFocused());
    double date = 0;
    if (valid && !value.IsNull()) {
        TDateTime t = 0;
        if (VarIsStr(value))
            date = TryTimeTextToDateTime(ActiveProperties()->Layout(), VarToStr(value), t) ? std::trunc(t) : 0;
        else if (VarIsDate(value) || VarIsNumericEx(value))
            date = std::trunc(value.ToDouble());
    }
    datePart_ = date;
    TcxCustomSpinEdit::InternalSetEditValue(value, validateEditValue);
}

TDateTime TcxCustomTimeEdit::Time()
{
    double value = 0;
    if (InternalFocused()) {
        value = InternalGetEditingValue().ToDouble();
    } else {
        const Variant ev = EditValue();
        TDateTime t = 0;
        if (VarIsStr(ev))
            value = TryTimeTextToDateTime(ActiveProperties()->Layout(), VarToStr(ev), t) ? t : 0;
        else if (VarIsDate(ev) || VarIsNumericEx(ev))
            value = ev.ToDouble();
    }
    return std::fabs(value - std::trunc(value));
}

void TcxCustomTimeEdit::SetTime(TDateTime value)
{
    const double time = std::fabs(value - std::trunc(value));
    SetInternalEditValue(Variant::FromDate((datePart_ >= 0 ? 1 : -1) * time + datePart_));
}

Variant TcxCustomTimeEdit::GetValue() { return Variant(ActiveProperties()->Layout().GetValue(Utf8ToUtf16(Text()))); }

void TcxCustomTimeEdit::SetValue(const Variant& value) { SetTime(value.ToDouble() / kSecondsPerDay); }

std::string TcxCustomTimeEdit::IncrementValueToStr(const Variant& value)
{
    return Utf16ToUtf8(ActiveProperties()->Layout().FormatTime(value.ToDouble() / kSecondsPerDay));
}

double TcxCustomTimeEdit::GetIncrement(TcxSpinEditButton button)
{
    const double step = ActiveProperties()->GetIncrement(button);
    const bool forward = button == sebForward || button == sebFastForward;
    return ActiveProperties()->Layout().GetZoneIncrement(EditingPlace(), step, forward, int(GetValue().ToInt64()));
}

bool TcxCustomTimeEdit::Increment(TcxSpinEditButton button)
{
    const TcxTimeEditLayout layout = ActiveProperties()->Layout();
    const int current = int(GetValue().ToInt64());
    int start = 0, length = 0;
    if (HandleAllocated()) {
        if (EditingPlace() == tzTimeSuffix) {
            // The suffix the step will show.
            const std::u16string text = Utf8ToUtf16(Text());
            std::size_t i = std::size_t(9 - 3 * int(layout.TimeFormat) - 1);
            while (i < text.size() && text[i] == u' ')
                ++i;
            std::u16string am, pm;
            cxTimeSuffixes(tskAMPMString, am, pm);
            start = int(i);
            length = int(current >= kHalfDay ? am.size() : pm.size());
        } else {
            // The second digit of the zone.
            const int s = SelStart();
            start = s < 2 ? 1 : s <= 4 ? 4 : 7;
            length = 1;
        }
    }
    bool result = false;
    double value = current + GetIncrement(button);
    if (value < 0 || value > kSecondsPerDay - 1) {
        // A step out of the day is refused, or wraps when circular.
        if (ActiveProperties()->Circular())
            value = std::fmod(std::fmod(value, kSecondsPerDay) + kSecondsPerDay, kSecondsPerDay);
        else
            value = -1;
    }
    // The step fires the change handlers, which may free the editor.
    const auto alive = AliveToken();
    if (value >= 0 && DoEditing()) {
        const std::string before = Text();
        // The user-change flag is put back only on a live editor.
        const bool userChange = IsUserChange();
        SetUserChange(true);
        try {
            SetInternalDisplayValue(Variant(IncrementValueToStr(Variant(value))));
        } catch (...) {
            if (!alive.expired())
                SetUserChange(userChange);
            throw;
        }
        if (alive.expired())
            return true;
        SetUserChange(userChange);
        result = Text() != before;
        SetModifiedAfterEnter(true);
        if (ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateEdit(true)) {
            InternalPostEditValue();
            if (alive.expired())
                return result;
            SynchronizeDisplayValue();
        }
    }
    if (HandleAllocated())
        SetSelection(start, length);
    return result;
}

TcxCustomEditClass TcxFilterTimeEditHelper::GetFilterEditClass() const { return TcxCustomEditClass::Of<TcxTimeEdit>(); }

TcxCustomEditPropertiesClass TcxFilterTimeEditHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxTimeEditProperties>();
}

void TcxFilterTimeEditHelper::InitializeEdit(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties) const
{
    TcxFilterSpinEditHelper::InitializeEdit(edit, editProperties);
    if (auto* time = dynamic_cast<TcxCustomTimeEdit*>(edit))
        time->SetTime(0);
}

namespace cxTimeEditUnit {
namespace {
TcxEditKindUnit<TcxTimeEditProperties, TcxFilterTimeEditHelper, TcxTimeEdit> unit;
} // namespace

void Initialize() { unit.Initialize(&scxSEditRepositoryTimeItem, [] { cxTimeEditBuild12HourMasks(); }); }
void Finalize() { unit.Finalize(); }
} // namespace cxTimeEditUnit

} // namespace cx
