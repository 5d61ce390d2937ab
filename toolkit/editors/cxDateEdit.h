#pragma once
// The date editor of unit cxCalendar: a masked text editor whose drop-down holds the month
// calendar. The value is a date (or date and time) in a variant; the text is typed freely (the
// smart date parser), through a standard mask or through a regular-expression mask, all three
// taken from the format controller. A date-only editor keeps the time part of its previous value
// (`SaveTime`), typed text that does not read falls back by `DateOnError`, and the value may be
// clamped to `MinDate`/`MaxDate`.
#include "toolkit/editors/cxCalendar.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxTimeEdit.h"

namespace cx {

enum TcxInputKind { ikStandard, ikMask, ikRegExpr };
enum TDateOnError { deNoChange, deToday, deNull };

// A date or number equal to NullDate.
bool VarIsNullDate(const Variant& v);

class TcxCustomDateEdit;

class TcxDateEditPropertiesValues : public TcxTextEditPropertiesValues {
    RTL_CLASS(TcxDateEditPropertiesValues, TcxTextEditPropertiesValues)
    using TcxTextEditPropertiesValues::TcxTextEditPropertiesValues;
    void Assign(TPersistent* source) override;
    void RestoreDefaults() override;
    bool DateButtons() const { return dateButtons_; }
    void SetDateButtons(bool value);
    bool InputKind() const { return inputKind_; }
    void SetInputKind(bool value);
    bool MinDate() const { return MinValue(); }
    void SetMinDate(bool value) { SetMinValue(value); }
    bool MaxDate() const { return MaxValue(); }
    void SetMaxDate(bool value) { SetMaxValue(value); }

private:
    bool dateButtons_ = false;
    bool inputKind_ = false;
};

class TcxCustomDateEditProperties : public TcxCustomPopupEditProperties {
    RTL_CLASS(TcxCustomDateEditProperties, TcxCustomPopupEditProperties)
    explicit TcxCustomDateEditProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;
    TcxDateEditPropertiesValues* AssignedValues()
    {
        return static_cast<TcxDateEditPropertiesValues*>(TcxCustomEditProperties::AssignedValues());
    }

    // --- settings
    bool ArrowsForYear() const { return arrowsForYear_; }
    void SetArrowsForYear(bool value) { SetField(arrowsForYear_, value); }
    // Unassigned: Clear and Today for dates, Clear and Now for dates with time.
    TDateButtons DateButtons();
    void SetDateButtons(TDateButtons value);
    TDateOnError DateOnError() const { return dateOnError_; }
    void SetDateOnError(TDateOnError value) { SetField(dateOnError_, value); }
    // Unassigned: the expression mask for dates, the standard mask with time; always free text
    // when the locale's calendar is not Gregorian.
    TcxInputKind InputKind();
    void SetInputKind(TcxInputKind value);
    TcxCalendarKind Kind() const { return kind_; }
    void SetKind(TcxCalendarKind value) { SetField(kind_, value); }
    TDateTime MaxDate() const { return GetMaxValue(); }
    void SetMaxDate(TDateTime value) { SetMaxValue(value); }
    TDateTime MinDate() const { return GetMinValue(); }
    void SetMinDate(TDateTime value) { SetMinValue(value); }
    bool SaveTime() const { return saveTime_; }
    void SetSaveTime(bool value) { SetField(saveTime_, value); }
    bool ShowTime() const { return showTime_; }
    void SetShowTime(bool value) { SetField(showTime_, value); }
    bool WeekNumbers() const { return weekNumbers_; }
    void SetWeekNumbers(bool value) { SetField(weekNumbers_, value); }
    bool YearsInMonthList() const { return yearsInMonthList_; }
    void SetYearsInMonthList(bool value) { SetField(yearsInMonthList_, value); }

    // --- the rules
    // Whether a date shows its time part (see the table in the tests).
    bool NeedShowTime(bool focused, TDateTime date);
    // The text of an empty value: the mask's empty text; focused with the standard date-time mask,
    // its time part shows the zero time.
    std::string GetEmptyDisplayValue(bool focused);
    // Null for an empty text; else the parsed date, or now/today with deToday, or Null.
    void InternalPrepareEditValue(const std::string& text, Variant& value);
    // The canonical text of a date: the masked or plain form the editor types in, blanks trimmed.
    std::string CanonicalText(TDateTime date);
    // The mask of the input kind from the format controller (empty for free text), and its
    // setting (run by every unlocked change).
    std::string ExpectedEditMask();
    void BuildEditMask();
    // The time zone of a 1-based position of the standard date-time mask (false elsewhere).
    bool GetTimeZoneInfo(int pos, TcxTimeEditZoneInfo& zone);

    // --- overrides
    void Changed() override;
    void FormatChanged() override;
    void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused) override;
    bool IsDisplayValueValid(Variant& displayValue, bool editFocused) override;
    bool IsEditValueValid(Variant& editValue, bool editFocused) override;
    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    std::u16string GetDisplayText(const Variant& editValue, bool fullText = false, bool isInplace = true) override;
    bool IsValueBoundDefined(TcxEditValueBound bound) override;
    bool IsValueBoundsDefined() override;
    bool GetAlwaysPostEditValue() const override { return true; }
    bool IsEditValueNumeric() override { return true; }
    TcxEditDisplayFormatOptions GetDisplayFormatOptions() const override { return {dfoSupports, dfoNoCurrencyValue}; }
    bool PopupWindowAcceptsAnySize() const override { return false; }
    TcxDataEditValueSource GetEditValueSource(bool editFocused) override
    {
        return GetValueEditorEditValueSource(editFocused);
    }
    TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() const override;
    const TClassMeta* GetContainerClass() const override;

private:
    template <class T>
    void SetField(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    // Steps 2-4 of the validation: parse, ask OnValidate, fall back by DateOnError.
    void ParseValidated(Variant& displayValue, std::string& errorText, bool& error, IcxEditValidationTarget* edit,
                        TDateTime& date, bool& handlerTextOwn);
    bool arrowsForYear_ = true;
    TDateButtons dateButtons_;
    TDateOnError dateOnError_ = deNoChange;
    TcxInputKind inputKind_ = ikRegExpr;
    TcxCalendarKind kind_ = ckDate;
    bool saveTime_ = true;
    bool showTime_ = true;
    bool weekNumbers_ = false;
    bool yearsInMonthList_ = true;
    bool buildingMask_ = false;
};

class TcxDateEditProperties : public TcxCustomDateEditProperties {
    RTL_CLASS(TcxDateEditProperties, TcxCustomDateEditProperties)
    using TcxCustomDateEditProperties::TcxCustomDateEditProperties;
};

class TcxCustomDateEdit : public TcxCustomPopupEdit {
    RTL_CLASS(TcxCustomDateEdit, TcxCustomPopupEdit)
    explicit TcxCustomDateEdit(TComponent* owner, bool isInplace = false);
    ~TcxCustomDateEdit() override;
    TcxCustomDateEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomDateEditProperties*>(TcxCustomPopupEdit::ActiveProperties());
    }
    TcxCustomDateEditProperties* Properties() const
    {
        return static_cast<TcxCustomDateEditProperties*>(TcxCustomPopupEdit::Properties());
    }

    // The calendar of the drop-down, made on first drop-down; null before.
    TcxPopupCalendar* Calendar() const { return calendar_; }
    TDateTime Date() { return GetDate(); }
    void SetDate(TDateTime value);
    virtual TDateTime GetDate();
    // The time part a date-only editor keeps.
    TDateTime SavedTime() const { return savedTime_; }
    void SetSavedTime(TDateTime value) { savedTime_ = value; }
    // The date shown when the drop-down last opened.
    TDateTime DropDownDate() const { return dropDownDate_; }
    // While focused and modified, the date of the typed text; otherwise the value's date.
    TDateTime GetCurrentDate();
    TDateTime GetDateFromStr(const std::string& text);
    // The calendar's committed date.
    virtual void DateChange(TObject* sender);
    // A focused display text that reads back as the date.
    virtual std::string GetRecognizableDisplayValue(TDateTime date);

    void Clear() override;
    void PropertiesChanged(TObject* sender) override;
    void SynchronizeDisplayValue() override;
    void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) override;
    Variant InternalGetEditingValue() override;
    void InternalSetEditValue(const Variant& value, bool validateEditValue) override;
    void InternalValidateDisplayValue(const Variant& displayValue) override;
    bool IsCharValidForPos(char16_t& ch, int position) override;
    void UpdateTextFormatting() override {}
    // A value below the minimum becomes the minimum, one above the maximum the maximum.
    void CheckEditorValueBounds();
    bool PopupControlClosesOnKey(std::uint16_t key, TShiftState shift) override;
    void PopupWindowShowed(TObject* sender) override;
    void PopupWindowClosed(TObject* sender) override;

protected:
    TcxCustomDateEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    virtual void CreateCalendar();
    bool CanDropDown() override;
    void CreatePopupWindow() override;
    void DoInitPopup() override;
    void DropDown() override;
    void InitializePopupWindow() override;

private:
    friend class TcxCustomDateEditProperties;
    void BindPopupControl();
    TcxPopupCalendar* calendar_ = nullptr;
    std::weak_ptr<bool> calendarAlive_;
    TDateTime savedTime_ = 0;
    TDateTime dropDownDate_ = NullDate;
    bool restoringMask_ = false;
};

class TcxDateEdit : public TcxCustomDateEdit {
    RTL_CLASS(TcxDateEdit, TcxCustomDateEdit)
    explicit TcxDateEdit(TComponent* owner, bool isInplace = false);
    TcxDateEditProperties* Properties() const
    {
        return static_cast<TcxDateEditProperties*>(TcxCustomDateEdit::Properties());
    }
};

class TcxFilterDateEditHelper : public TcxFilterDropDownEditHelper {
    RTL_CLASS(TcxFilterDateEditHelper, TcxFilterDropDownEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;
};

namespace cxDateEditUnit {
void Initialize();   // once: "DateEdit|..." in the editor registry and the filter helper
void Finalize();
} // namespace cxDateEditUnit

} // namespace cx
