// The date editor: properties (masks from the format controller, the display and validation
// rules), the editor (kept time part, bounds, the calendar dropped down without a popup loop), its
// filter helper and the unit's start-up.
#include "toolkit/editors/cxDateEdit.h"

#include <cmath>

#include "platform/rtl/Unicode.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxFilterControlUtils.h"

namespace cx {

namespace {
double Sign(double v) { return v < 0 ? -1.0 : 1.0; }
TDateTime DatePart(TDateTime d) { return std::trunc(d); }
TDateTime TimePart(TDateTime d) { return std::fabs(d - std::trunc(d)); }
// The date part with a time added away from zero, as negative dates count their time.
TDateTime WithTime(TDateTime date, TDateTime time) { return DatePart(date) + Sign(date) * time; }

std::string TrimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

bool ParseWithController(const std::string& text, TDateTime& date)
{
    return cxStrToDateTime(text, !cxFormatController()->UseDelphiDateTimeFormats(), date);
}

[[noreturn]] void RaiseConvertError() { throw EConvertError(cxGetResourceString(&cxSEditDateConvertError)); }
} // namespace

bool VarIsNullDate(const Variant& v)
{
    return (VarIsDate(v) || VarIsNumericEx(v)) && v.ToDouble() == NullDate;
}

// ---- assigned values ------------------------------------------------------------------------------

void TcxDateEditPropertiesValues::Assign(TPersistent* source)
{
    BeginUpdate();
    TcxTextEditPropertiesValues::Assign(source);
    if (auto* s = dynamic_cast<TcxDateEditPropertiesValues*>(source)) {
        SetDateButtons(s->dateButtons_);
        SetInputKind(s->inputKind_);
    }
    EndUpdate();
}

void TcxDateEditPropertiesValues::RestoreDefaults()
{
    BeginUpdate();
    TcxTextEditPropertiesValues::RestoreDefaults();
    SetDateButtons(false);
    SetInputKind(false);
    EndUpdate();
}

void TcxDateEditPropertiesValues::SetDateButtons(bool value) { SetAssigned(dateButtons_, value); }
void TcxDateEditPropertiesValues::SetInputKind(bool value) { SetAssigned(inputKind_, value); }

// ---- properties -----------------------------------------------------------------------------------

TcxCustomDateEditProperties::TcxCustomDateEditProperties(TPersistent* owner) : TcxCustomPopupEditProperties(owner)
{
    SetCaseInsensitive(true);
    SetImmediateDropDown(false);
    popupSizeable_ = false;
    BuildEditMask();
}

void TcxCustomDateEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomDateEditProperties*>(source);
    if (!s) {
        TcxCustomPopupEditProperties::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        TcxCustomPopupEditProperties::Assign(source);
        AssignedValues()->SetDateButtons(false);
        AssignedValues()->SetInputKind(false);
        arrowsForYear_ = s->arrowsForYear_;
        if (s->AssignedValues()->DateButtons())
            SetDateButtons(s->dateButtons_);
        if (s->AssignedValues()->InputKind())
            SetInputKind(s->inputKind_);
        dateOnError_ = s->dateOnError_;
        kind_ = s->kind_;
        saveTime_ = s->saveTime_;
        showTime_ = s->showTime_;
        weekNumbers_ = s->weekNumbers_;
        yearsInMonthList_ = s->yearsInMonthList_;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TDateButtons TcxCustomDateEditProperties::DateButtons()
{
    if (AssignedValues()->DateButtons())
        return dateButtons_;
    return kind_ == ckDate ? TDateButtons{btnClear, btnToday} : TDateButtons{btnClear, btnNow};
}

void TcxCustomDateEditProperties::SetDateButtons(TDateButtons value)
{
    if (AssignedValues()->DateButtons() && value == dateButtons_)
        return;
    dateButtons_ = value;
    AssignedValues()->SetDateButtons(true);
    Changed();
}

TcxInputKind TcxCustomDateEditProperties::InputKind()
{
    if (!cxIsGregorianCalendar())
        return ikStandard;
    if (AssignedValues()->InputKind())
        return inputKind_;
    return kind_ == ckDate ? ikRegExpr : ikMask;
}

void TcxCustomDateEditProperties::SetInputKind(TcxInputKind value)
{
    if (AssignedValues()->InputKind() && value == inputKind_)
        return;
    inputKind_ = value;
    AssignedValues()->SetInputKind(true);
    Changed();
}

void TcxCustomDateEditProperties::BuildEditMask()
{
    if (buildingMask_)
        return;
    buildingMask_ = true;
    LockUpdate(true);
    try {
        if (InputKind() != ikStandard)
            SetMaskKind(InputKind() == ikMask ? emkStandard : emkRegExprEx);
        SetEditMask(ExpectedEditMask());
    } catch (...) {
        LockUpdate(false);
        buildingMask_ = false;
        throw;
    }
    LockUpdate(false);
    buildingMask_ = false;
}

std::string TcxCustomDateEditProperties::ExpectedEditMask()
{
    TcxFormatController* fc = cxFormatController();
    switch (InputKind()) {
    case ikMask: return kind_ == ckDateTime ? fc->StandardDateTimeEditMask() : fc->StandardDateEditMask();
    case ikRegExpr: return kind_ == ckDateTime ? fc->RegExprDateTimeEditMask() : fc->RegExprDateEditMask();
    case ikStandard: break;
    }
    return {};
}

void TcxCustomDateEditProperties::Changed()
{
    if (!ChangedLocked())
        BuildEditMask();
    TcxCustomPopupEditProperties::Changed();
}

void TcxCustomDateEditProperties::FormatChanged()
{
    BeginUpdate();
    BuildEditMask();
    EndUpdate();
}

bool TcxCustomDateEditProperties::GetTimeZoneInfo(int pos, TcxTimeEditZoneInfo& zone)
{
    if (kind_ != ckDateTime || InputKind() != ikMask || cxFormatController()->AssignedStandardDateTimeEditMask())
        return false;
    const TcxDateTimeFormatInfo& info = cxFormatController()->DateTimeFormatInfo();
    TcxDateTimeFormatItemInfo item;
    if (!TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info, pos, item))
        return false;
    switch (item.Kind) {
    case dtikHour: zone.Kind = tzHour; break;
    case dtikMin: zone.Kind = tzMin; break;
    case dtikSec: zone.Kind = tzSec; break;
    case dtikTimeSuffix: zone.Kind = tzTimeSuffix; break;
    default: return false;
    }
    zone.Start = item.ZoneStart;
    zone.Length = item.ZoneLength;
    zone.SuffixKind = item.TimeSuffixKind;
    zone.Use24HourFormat = true;
    for (const TcxDateTimeFormatItem& i : info.Items)
        if (i.Kind == dtikHour)
            zone.Use24HourFormat = i.Data.rfind("24", 0) == 0;
    return true;
}

bool TcxCustomDateEditProperties::NeedShowTime(bool focused, TDateTime date)
{
    const bool hasTime = TimePart(date) != 0;
    if (focused) {
        if (kind_ == ckDateTime)
            return hasTime || InputKind() == ikMask;
        return showTime_ && hasTime && InputKind() == ikStandard;
    }
    return !(kind_ == ckDate && !showTime_);
}

std::string TcxCustomDateEditProperties::GetEmptyDisplayValue(bool focused)
{
    std::unique_ptr<TcxMaskEditCustomMode> mode = IsMasked() ? CreateMode() : nullptr;
    std::u16string empty = mode ? mode->GetEmptyString() : std::u16string();
    if (focused && mode && kind_ == ckDateTime && InputKind() == ikMask &&
        !cxFormatController()->AssignedStandardDateTimeEditMask()) {
        const int timeLength =
            TcxFormatController::GetDateTimeStandardMaskStringLength(cxFormatController()->TimeFormatInfo());
        const std::u16string zero = mode->GetFormattedText(Utf8ToUtf16(DateTimeToTextEx(0, true, true)));
        if (int(empty.size()) >= timeLength && int(zero.size()) >= timeLength)
            empty = empty.substr(0, empty.size() - std::size_t(timeLength)) +
                    zero.substr(zero.size() - std::size_t(timeLength));
    }
    return Utf16ToUtf8(empty);
}

void TcxCustomDateEditProperties::InternalPrepareEditValue(const std::string& text, Variant& value)
{
    value = Variant::MakeNull();
    if (IsMasked()) {
        std::unique_ptr<TcxMaskEditCustomMode> mode = CreateMode();
        if (Utf8ToUtf16(text) == mode->GetEmptyString())
            return;
    }
    if (text == GetEmptyDisplayValue(true) || text == GetEmptyDisplayValue(false))
        return;
    TDateTime d = 0;
    if (ParseWithController(text, d))
        value = Variant::FromDate(d);
    else if (dateOnError_ == deToday)
        value = Variant::FromDate(kind_ == ckDateTime ? rtl::Now() : rtl::Date());
}

std::string TcxCustomDateEditProperties::CanonicalText(TDateTime date)
{
    return TrimRight(DateTimeToTextEx(date, InputKind() == ikMask, kind_ == ckDateTime));
}

void TcxCustomDateEditProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool focused)
{
    if (VarIsSoftNull(editValue) || VarIsNullDate(editValue)) {
        displayValue = Variant(GetEmptyDisplayValue(focused));
        return;
    }
    TDateTime d = 0;
    if (VarIsStr(editValue)) {
        Variant v;
        InternalPrepareEditValue(VarToStr(editValue), v);
        if (v.IsNull() || VarIsNullDate(v))
            RaiseConvertError();
        d = v.ToDouble();
    } else if (VarIsDate(editValue) || VarIsNumericEx(editValue)) {
        d = editValue.ToDouble();
    } else {
        RaiseConvertError();
    }
    if (!NeedShowTime(focused, d))
        d = DatePart(d);
    std::string text = focused ? DateTimeToTextEx(d, InputKind() == ikMask, kind_ == ckDateTime)
                               : DateTimeToText(d);
    text = TrimRight(text);
    if (focused && IsMasked()) {
        std::unique_ptr<TcxMaskEditCustomMode> mode = CreateMode();
        text = Utf16ToUtf8(mode->GetFormattedText(Utf8ToUtf16(text)));
    }
    displayValue = Variant(text);
}

bool TcxCustomDateEditProperties::IsDisplayValueValid(Variant& displayValue, bool editFocused)
{
    if (IsMasked())
        return TcxCustomPopupEditProperties::IsDisplayValueValid(displayValue, editFocused);
    TDateTime d = 0;
    return ParseWithController(VarToStr(displayValue), d);
}

bool TcxCustomDateEditProperties::IsEditValueValid(Variant& editValue, bool)
{
    if (VarIsStr(editValue)) {
        try {
            Variant v;
            InternalPrepareEditValue(VarToStr(editValue), v);
            return !v.IsNull() && !VarIsNullDate(v);
        } catch (const Exception&) {
            return false;
        }
    }
    return VarIsSoftNull(editValue) || VarIsDate(editValue) || VarIsNumericEx(editValue);
}

bool TcxCustomDateEditProperties::IsValueBoundDefined(TcxEditValueBound bound)
{
    const double minValue = GetMinValue(), maxValue = GetMaxValue();
    if (minValue != 0 && maxValue != 0)
        return maxValue > minValue;
    return (bound == evbMin ? minValue : maxValue) != 0;
}

bool TcxCustomDateEditProperties::IsValueBoundsDefined()
{
    return IsValueBoundDefined(evbMin) || IsValueBoundDefined(evbMax);
}

void TcxCustomDateEditProperties::ParseValidated(Variant& displayValue, std::string& errorText, bool& error,
                                                 IcxEditValidationTarget* edit, TDateTime& date, bool& handlerTextOwn)
{
    const std::string empty = GetEmptyDisplayValue(true);
    auto isEmpty = [&] { return VarToStr(displayValue) == empty || VarToStr(displayValue).empty(); };
    if (!isEmpty())
        error = !TextToDateEx(VarToStr(displayValue), date);
    if (edit && edit->IsOnValidateEventAssigned()) {
        if (!error && !isEmpty())
            displayValue = Variant(CanonicalText(date));
        const std::string given = VarToStr(displayValue);
        bool changed = false;
        DoValidate(displayValue, errorText, error, edit, changed);
        handlerTextOwn = error && VarToStr(displayValue) != given;
        if (!error && !isEmpty())
            error = !TextToDateEx(VarToStr(displayValue), date);
    } else if (error) {
        switch (dateOnError_) {
        case deNoChange: break;
        case deToday:
            date = kind_ == ckDateTime ? rtl::Now() : rtl::Date();
            error = false;
            break;
        case deNull:
            date = NullDate;
            error = false;
            break;
        }
    }
}

void TcxCustomDateEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                       IcxEditValidationTarget* edit)
{
    errorText = cxGetResourceString(&cxSDateError);
    auto* dateEdit = dynamic_cast<TcxCustomDateEdit*>(edit);
    TDateTime date = NullDate;
    bool handlerTextOwn = false, boundError = false;
    try {
        ParseValidated(displayValue, errorText, error, edit, date, handlerTextOwn);
    } catch (const Exception&) {
        error = true;
    }
    const std::string text = VarToStr(displayValue);
    const bool emptyText = text.empty() || text == GetEmptyDisplayValue(true);
    if (!error && date != NullDate && !emptyText) {
        if (IsValueBoundsDefined()) {
            Variant shown = Variant(CanonicalText(date));
            TcxCustomTextEditProperties::CheckEditorValueBounds(shown, errorText, error, dateEdit);
            boundError = error;
        }
        if (!error) {
            if (kind_ == ckDate && dateEdit) {
                if (TimePart(date) != 0)
                    dateEdit->savedTime_ = TimePart(date);
                else if (saveTime_)
                    date = WithTime(date, dateEdit->savedTime_);
                else
                    dateEdit->savedTime_ = 0;
            }
            // The text the editor shows for the date: a date-only mask cannot take the kept time,
            // which the value carries anyway.
            PrepareDisplayValue(Variant::FromDate(date), displayValue, !dateEdit || dateEdit->InternalFocused());
        }
    } else if (!error && dateEdit) {
        // An empty text or a Null fallback: the value is Null and the remembered time goes, so a
        // cleared date-only editor never holds the bare time (day 0, 30 December 1899).
        const Variant old = dateEdit->EditValue();
        dateEdit->savedTime_ = 0;
        displayValue = Variant(GetEmptyDisplayValue(dateEdit->InternalFocused()));
        dateEdit->SaveModified();
        dateEdit->SetInternalEditValue(Variant::MakeNull());
        dateEdit->RestoreModified();
        if (!old.IsNull())
            dateEdit->DoEditValueChanged();
    }
    if (error && (boundError || !handlerTextOwn)) {
        // Back to the text of the last valid value.
        if (dateEdit) {
            try {
                PrepareDisplayValue(dateEdit->EditValue(), displayValue, dateEdit->InternalFocused());
            } catch (const Exception&) {
                displayValue = Variant(GetEmptyDisplayValue(dateEdit->InternalFocused()));
            }
        } else if (edit) {
            displayValue = edit->GetDisplayValue();
        }
    }
}

std::u16string TcxCustomDateEditProperties::GetDisplayText(const Variant& editValue, bool fullText, bool isInplace)
{
    // A value the conversion refuses paints as an empty text (the text editor would show it raw).
    Variant copy = editValue;
    if (!IsValueEditorWithValueFormatting() && !IsEditValueValid(copy, false))
        return {};
    return TcxCustomPopupEditProperties::GetDisplayText(editValue, fullText, isInplace);
}

TcxCustomEditPropertiesValuesClass TcxCustomDateEditProperties::GetAssignedValuesClass() const
{
    return TcxCustomEditPropertiesValuesClass::Of<TcxDateEditPropertiesValues>();
}

const TClassMeta* TcxCustomDateEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxDateEdit>().Meta();
}

// ---- the editor -----------------------------------------------------------------------------------

namespace {
TcxEditClasses DateEditClasses(bool published)
{
    return TcxCustomDropDownEdit::DropDownClassesWith(
        published ? TcxCustomEditPropertiesClass::Of<TcxDateEditProperties>()
                  : TcxCustomEditPropertiesClass::Of<TcxCustomDateEditProperties>());
}
} // namespace

TcxCustomDateEdit::TcxCustomDateEdit(TComponent* owner, bool isInplace)
    : TcxCustomPopupEdit(owner, isInplace, DateEditClasses(false))
{
}

TcxCustomDateEdit::TcxCustomDateEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomPopupEdit(owner, isInplace, classes)
{
}

TcxDateEdit::TcxDateEdit(TComponent* owner, bool isInplace) : TcxCustomDateEdit(owner, isInplace, DateEditClasses(true))
{
}

TcxCustomDateEdit::~TcxCustomDateEdit()
{
    // The calendar goes first, while the editor and its popup window are whole.
    if (HasPopupWindowObject() && DroppedDown())
        CloseUp(crUnknown);
    if (calendar_ && !calendarAlive_.expired()) {
        if (Properties() && Properties()->PopupControl() == calendar_)
            Properties()->SetPopupControlSilently(nullptr);
        calendar_->OnDateTimeChanged = nullptr;
        calendar_->OnHidePopup = nullptr;
        calendar_->Free();
    }
    calendar_ = nullptr;
}

TDateTime TcxCustomDateEdit::GetDate()
{
    const Variant v = EditValue();
    if (v.IsNull())
        return NullDate;
    if (VarIsDate(v) || VarIsNumericEx(v))
        return v.ToDouble();
    if (VarIsStr(v))
        return GetDateFromStr(VarToStr(v));
    return NullDate;
}

void TcxCustomDateEdit::SetDate(TDateTime value)
{
    if (value == NullDate) {
        SetEditValue(Variant::MakeNull());
        return;
    }
    TcxCustomDateEditProperties* p = ActiveProperties();
    if (p->Kind() == ckDate && TimePart(value) == 0)
        value = p->SaveTime() ? WithTime(value, savedTime_) : DatePart(value);
    SetEditValue(Variant::FromDate(value));
}

void TcxCustomDateEdit::Clear() { SetDate(NullDate); }

void TcxCustomDateEdit::SynchronizeDisplayValue()
{
    TcxCustomPopupEdit::SynchronizeDisplayValue();
    // A value that cannot be shown as a date is shown as an empty text, as it is painted.
    Variant v = EditValue();
    if (!v.IsNull() && !ActiveProperties()->IsEditValueValid(v, false) && InnerTextEdit())
        InnerTextEdit()->SetEditValue(Variant(ActiveProperties()->GetEmptyDisplayValue(IsEditFocused())));
}

void TcxCustomDateEdit::PropertiesChanged(TObject* sender)
{
    TcxCustomPopupEdit::PropertiesChanged(sender);
    // The mask editor empties the mask when the mask kind turns between positional and
    // expression; the date editor's mask comes from the format controller, so it is put back.
    TcxCustomDateEditProperties* p = ActiveProperties();
    if (restoringMask_ || !p || p->StoredEditMask() == p->ExpectedEditMask())
        return;
    restoringMask_ = true;
    try {
        p->BuildEditMask();
        p->Changed();
    } catch (...) {
        restoringMask_ = false;
        throw;
    }
    restoringMask_ = false;
}

TDateTime TcxCustomDateEdit::GetDateFromStr(const std::string& text)
{
    Variant v;
    PrepareEditValue(Variant(text), v, InternalFocused());
    return v.IsNull() ? NullDate : v.ToDouble();
}

TDateTime TcxCustomDateEdit::GetCurrentDate()
{
    if (IsEditFocused() && ModifiedAfterEnter())
        return GetDateFromStr(Text());
    return GetDate();
}

void TcxCustomDateEdit::PrepareEditValue(const Variant& displayValue, Variant& editValue, bool)
{
    TcxCustomDateEditProperties* p = ActiveProperties();
    p->InternalPrepareEditValue(VarToStr(displayValue), editValue);
    if (!editValue.IsNull() && !VarIsNullDate(editValue) && p->Kind() == ckDate && p->SaveTime())
        editValue = Variant::FromDate(WithTime(editValue.ToDouble(), savedTime_));
}

Variant TcxCustomDateEdit::InternalGetEditingValue()
{
    Variant v;
    PrepareEditValue(Variant(Text()), v, true);
    return v;
}

void TcxCustomDateEdit::InternalSetEditValue(const Variant& value, bool validateEditValue)
{
    TcxCustomDateEditProperties* p = ActiveProperties();
    savedTime_ = 0;
    if (p->Kind() == ckDate && p->SaveTime()) {
        TDateTime d = 0;
        if (VarIsStr(value))
            savedTime_ = cxStrToDateTime(VarToStr(value), !cxFormatController()->UseDelphiDateTimeFormats(), d)
                             ? TimePart(d)
                             : 0;
        else if ((VarIsDate(value) || VarIsNumericEx(value)) && !VarIsNullDate(value))
            savedTime_ = TimePart(value.ToDouble());
    }
    TcxCustomPopupEdit::InternalSetEditValue(value, validateEditValue);
}

void TcxCustomDateEdit::InternalValidateDisplayValue(const Variant& displayValue)
{
    if (VarIsStr(displayValue)) {
        TcxCustomPopupEdit::InternalValidateDisplayValue(displayValue);
        return;
    }
    SaveModified();
    try {
        SetInternalEditValue(displayValue);
    } catch (...) {
        RestoreModified();
        throw;
    }
    RestoreModified();
}

bool TcxCustomDateEdit::IsCharValidForPos(char16_t& ch, int position)
{
    TcxTimeEditZoneInfo zone;
    if (!ActiveProperties()->GetTimeZoneInfo(position, zone))
        return true;
    TcxTextEditTimeHost host(this);
    return host.TypeChar(ch, position, zone);
}

void TcxCustomDateEdit::CheckEditorValueBounds()
{
    TcxCustomDateEditProperties* p = ActiveProperties();
    const TDateTime d = GetDate();
    if (d == NullDate)
        return;
    if (p->IsValueBoundDefined(evbMin) && d < p->MinDate())
        SetDate(p->MinDate());
    else if (p->IsValueBoundDefined(evbMax) && d > p->MaxDate())
        SetDate(p->MaxDate());
}

// ---- the drop-down ---------------------------------------------------------------------------------

void TcxCustomDateEdit::CreateCalendar()
{
    calendar_ = new TcxPopupCalendar(this);
    calendarAlive_ = calendar_->AliveToken();
    calendar_->SetParent(PopupWindow());
    calendar_->OnHidePopup = [this](TcxCustomCalendar*, TcxEditCloseUpReason reason) { HidePopup(this, reason); };
    calendar_->LookAndFeel()->SetMasterLookAndFeel(PopupControlsLookAndFeel());
}

void TcxCustomDateEdit::BindPopupControl()
{
    if (!calendar_ || !Properties())
        return;
    Properties()->SetPopupControlSilently(calendar_);
}

bool TcxCustomDateEdit::CanDropDown()
{
    return !ActiveProperties()->GetReadOnly() && DataBinding()->GetIsDataAvailable() && calendar_;
}

void TcxCustomDateEdit::CreatePopupWindow()
{
    TcxCustomPopupEdit::CreatePopupWindow();
    // The calendar works beside the running editor: showing it never enters a local loop.
    PopupWindow()->ModalMode = false;
}

void TcxCustomDateEdit::DoInitPopup()
{
    BindPopupControl();
    TcxCustomPopupEdit::DoInitPopup();
}

void TcxCustomDateEdit::DropDown()
{
    if (!calendar_ || calendarAlive_.expired())
        CreateCalendar();
    BindPopupControl();
    TcxCustomPopupEdit::DropDown();
}

void TcxCustomDateEdit::InitializePopupWindow()
{
    TcxCustomPopupEdit::InitializePopupWindow();
    TcxCustomDateEditProperties* p = ActiveProperties();
    TcxPopupCalendar* c = calendar_;
    c->HandleNeeded();
    c->OnDateTimeChanged = nullptr;
    c->SetFlat(PopupControlsLookAndFeel()->GetKind() != lfStandard);
    c->SetCalendarButtons(p->DateButtons());
    dropDownDate_ = GetCurrentDate();
    const TDateTime shown = dropDownDate_ == NullDate ? rtl::Date() : dropDownDate_;
    c->SetKind(p->Kind());
    if (p->Kind() == ckDateTime && c->Clock())
        c->Clock()->SetTime(TimePart(shown));
    c->SetFirstDate(DatePart(shown));
    c->SetSelectDate(DatePart(shown));
    c->RestoreDate = DatePart(shown);
    c->Font()->Assign(GetVisibleFont());
    c->Font()->SetColor(clBtnText);
    c->SetArrowsForYear(p->ArrowsForYear());
    c->SetWeekNumbers(p->WeekNumbers());
    c->YearsInMonthList = p->YearsInMonthList();
    const TSize size = c->GetSize();
    c->SetBounds(0, 0, size.cx, size.cy);
    c->OnDateTimeChanged = [this](TObject* sender) { DateChange(sender); };
}

void TcxCustomDateEdit::PopupWindowShowed(TObject* sender)
{
    TcxCustomPopupEdit::PopupWindowShowed(sender);
    if (calendar_)
        calendar_->Calculate();
}

void TcxCustomDateEdit::PopupWindowClosed(TObject* sender) { TcxCustomPopupEdit::PopupWindowClosed(sender); }

bool TcxCustomDateEdit::PopupControlClosesOnKey(std::uint16_t key, TShiftState shift)
{
    // The calendar commits its date on Enter before it closes the drop-down.
    return key == VK_RETURN && !shift.Contains(ssAlt) && calendar_;
}

void TcxCustomDateEdit::DateChange(TObject*)
{
    SetCloseUpReason(crEnter);
    TcxCustomDateEditProperties* p = ActiveProperties();
    TDateTime d = calendar_->SelectDate();
    if (d != NullDate) {
        if (p->Kind() == ckDateTime)
            d = WithTime(d, calendar_->Clock() ? calendar_->Clock()->Time() : 0);
        else if (p->SaveTime() && dropDownDate_ != NullDate)
            d = WithTime(d, TimePart(dropDownDate_));
    }
    const std::string text = GetRecognizableDisplayValue(d);
    if (d == GetDate() && text == VarToStr(GetDisplayValue()))
        return;
    if (!DoEditing())
        return;
    LockChangeEvents(true);
    try {
        SetDate(d);
        SetModifiedAfterEnter(true);
        SetInternalDisplayValue(Variant(text));
        SelectAll();
    } catch (...) {
        LockChangeEvents(false);
        throw;
    }
    LockChangeEvents(false);
}

std::string TcxCustomDateEdit::GetRecognizableDisplayValue(TDateTime date)
{
    TcxCustomDateEditProperties* p = ActiveProperties();
    Variant shown;
    p->PrepareDisplayValue(date == NullDate ? Variant::MakeNull() : Variant::FromDate(date), shown, true);
    if (p->IsMasked() || date == NullDate)
        return VarToStr(shown);
    TDateTime back = 0;
    if (ParseWithController(VarToStr(shown), back) && DatePart(back) == DatePart(date))
        return VarToStr(shown);
    const TDateTime d = p->NeedShowTime(true, date) ? date : DatePart(date);
    return TrimRight(DateTimeToTextEx(d, false, p->NeedShowTime(true, date), true));
}

// ---- filter helper and start-up ---------------------------------------------------------------------

TcxCustomEditClass TcxFilterDateEditHelper::GetFilterEditClass() const { return TcxCustomEditClass::Of<TcxDateEdit>(); }

TcxCustomEditPropertiesClass TcxFilterDateEditHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxDateEditProperties>();
}

TcxFilterControlOperators TcxFilterDateEditHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                               TcxValueTypeClass,
                                                                               bool extendedSet) const
{
    TcxFilterControlOperators result{fcoEqual,   fcoNotEqual,     fcoLess,   fcoLessEqual,
                                     fcoGreater, fcoGreaterEqual, fcoBlanks, fcoNonBlanks};
    if (extendedSet) {
        result = result + TcxFilterControlOperators{fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};
        for (int op = fcoYesterday; op <= fcoInFuture; ++op)
            result.Include(TcxFilterControlOperator(op));
    }
    return result;
}

void TcxFilterDateEditHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                   TcxCustomEditProperties* editProperties, bool hasButtons) const
{
    TcxFilterDropDownEditHelper::InitializeProperties(properties, editProperties, hasButtons);
    if (auto* p = dynamic_cast<TcxCustomDateEditProperties*>(properties)) {
        p->SetDateButtons({btnClear, btnToday});
        p->SetDateOnError(deNull);
        p->SetInputKind(ikRegExpr);
        p->SetSaveTime(true);
    }
}

namespace cxDateEditUnit {
namespace {
TcxEditKindUnit<TcxDateEditProperties, TcxFilterDateEditHelper, TcxDateEdit> unit;
} // namespace

void Initialize() { unit.Initialize(&scxSEditRepositoryDateItem); }
void Finalize() { unit.Finalize(); }
} // namespace cxDateEditUnit

} // namespace cx
