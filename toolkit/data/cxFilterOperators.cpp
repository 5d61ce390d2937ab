// The operators of the filter criteria's leaf conditions.
#include <cmath>

#include "platform/rtl/Locale.h"
#include "toolkit/data/cxDataUtils.h"
#include "toolkit/data/cxFilter.h"

namespace cx {

bool cxFilterIncludeTodayInLastNextDaysList = true;

namespace {

std::string QuotedStr(const std::string& s)
{
    std::string r = "'";
    for (char c : s) {
        r += c;
        if (c == '\'')
            r += '\'';
    }
    return r + "'";
}

std::string ElementText(const Variant& v) { return v.IsNull() ? cxSFilterString(&cxSFilterBlankCaption) : VarToStr(v); }

} // namespace

std::string ExtractFilterDisplayValue(const std::string& text, std::size_t& position)
{
    if (position >= text.size()) {
        position = text.size() + 1;
        return {};
    }
    std::size_t end = text.find(';', position);
    if (end == std::string::npos)
        end = text.size();
    std::string part = Trim(std::string_view(text).substr(position, end - position));
    position = end + 1;
    return part;
}

std::string VarBetweenArrayToStr(const Variant& value)
{
    return ElementText(value[value.LowBound()]) + " " + cxSFilterString(&cxSFilterAndCaption) + " " +
           ElementText(value[value.LowBound() + 1]);
}

std::string VarListArrayToStr(const Variant& value)
{
    std::string r = "(";
    for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
        if (i > value.LowBound())
            r += ", ";
        r += ElementText(value[i]);
    }
    return r + ")";
}

// --- base -------------------------------------------------------------------------------------------
TcxFilterCriteria* TcxFilterOperator::Criteria() const { return criteriaItem_->GetCriteria(); }
std::string TcxFilterOperator::FieldName() const { return criteriaItem_->GetFieldName(); }
bool TcxFilterOperator::CompareValues(const Variant&, const Variant&) { throw EAbstractError("Abstract Error"); }
std::string TcxFilterOperator::FilterText() { throw EAbstractError("Abstract Error"); }

std::string TcxFilterOperator::GetExpressionValue(const Variant& value)
{
    std::string text;
    if (PrepareExpressionValue(value, text))
        return text;
    TcxFilterCriteria* criteria = Criteria();
    if (VarIsStr(value))
        text = QuotedStr(value.ToString());
    else if (VarIsDate(value))
        text = "'" + criteria->ConvertDateToStr(value) + "'";
    else if (value.VType() == varBoolean)
        text = criteria->ConvertBoolToStr(value);
    else if (value.IsNull())
        text = "NULL";
    else
        text = VarToStr(value);
    criteria->FormatFilterTextValue(criteriaItem_, value, text);
    return text;
}

// --- Equal and NotEqual ----------------------------------------------------------------------------------
// With an array value the condition spans several fields, named in the field name by ";".
bool TcxFilterEqualOperator::IsExpression() { return VarIsArray(CriteriaItem()->Value()); }

std::string TcxFilterEqualOperator::GetExpressionFilterText(const Variant& value)
{
    if (!VarIsArray(value))
        return GetExpressionValue(value);
    std::string names = FieldName(), text;
    std::size_t pos = 0;
    for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
        if (i > value.LowBound())
            text += " AND ";
        text += "(" + ExtractFilterDisplayValue(names, pos) + " = " + GetExpressionValue(value[i]) + ")";
    }
    return text;
}

std::string TcxFilterNotEqualOperator::GetExpressionFilterText(const Variant& value)
{
    return "NOT (" + TcxFilterEqualOperator::GetExpressionFilterText(value) + ")";
}

// --- Like and NotLike ---------------------------------------------------------------------------------------
bool TcxFilterLikeOperator::CompareValues(const Variant& d, const Variant& c)
{
    TcxFilterCriteria* criteria = Criteria();
    return LikeStr(VarToStr(d), VarToStr(c), criteria->PercentWildcard(), criteria->UnderscoreWildcard());
}

namespace {
cxLike::TcxFilterLikeOperator LikeKindOf(TcxFilterOperator* op, std::string& pattern)
{
    return LikeOperatorByPattern(pattern, op->Criteria()->PercentWildcard());
}
} // namespace

std::string TcxFilterLikeOperator::DisplayText()
{
    std::string pattern = VarToStr(CriteriaItem()->Value());
    switch (LikeKindOf(this, pattern)) {
    case floBeginsWith: return cxSFilterString(&cxSFilterOperatorBeginsWith);
    case floEndsWith: return cxSFilterString(&cxSFilterOperatorEndsWith);
    case floContains: return cxSFilterString(&cxSFilterOperatorContains);
    default: return cxSFilterString(&cxSFilterOperatorLike);
    }
}

void TcxFilterLikeOperator::PrepareDisplayValue(std::string& displayValue)
{
    if (Criteria()->Options().Contains(fcoShowOperatorDescription))
        LikeKindOf(this, displayValue);
}

std::string TcxFilterNotLikeOperator::DisplayText()
{
    std::string pattern = VarToStr(CriteriaItem()->Value());
    switch (LikeKindOf(this, pattern)) {
    case floBeginsWith: return cxSFilterString(&cxSFilterOperatorDoesNotBeginWith);
    case floEndsWith: return cxSFilterString(&cxSFilterOperatorDoesNotEndWith);
    case floContains: return cxSFilterString(&cxSFilterOperatorDoesNotContain);
    default: return cxSFilterString(&cxSFilterOperatorNotLike);
    }
}

bool TcxFilterNotLikeOperator::IsExpression() { return Criteria()->NotLikeAsNegation; }

std::string TcxFilterNotLikeOperator::GetExpressionFilterText(const Variant& value)
{
    return " NOT (" + FieldName() + " LIKE " + GetExpressionValue(value) + ")";
}

// --- Between ----------------------------------------------------------------------------------------------------
bool TcxFilterBetweenOperator::CompareValues(const Variant& d, const Variant& c)
{
    return VarCompare(c[c.LowBound()], d) <= 0 && VarCompare(d, c[c.LowBound() + 1]) <= 0;
}

bool TcxFilterBetweenOperator::IsExpression() { return Criteria()->BetweenAsComparisons; }

void TcxFilterBetweenOperator::PrepareDisplayValue(std::string& displayValue)
{
    std::size_t pos = 0;
    std::string first = ExtractFilterDisplayValue(displayValue, pos);
    std::string second = ExtractFilterDisplayValue(displayValue, pos);
    displayValue = first + " " + cxSFilterString(&cxSFilterAndCaption) + " " + second;
}

bool TcxFilterBetweenOperator::PrepareExpressionValue(const Variant& value, std::string& text)
{
    if (!VarIsArray(value))
        return false;
    text = GetExpressionValue(value[value.LowBound()]) + " AND " + GetExpressionValue(value[value.LowBound() + 1]);
    return true;
}

std::string TcxFilterBetweenOperator::GetExpressionFilterText(const Variant& value)
{
    std::string f = FieldName();
    return "(" + f + " >= " + GetExpressionValue(value[value.LowBound()]) + ") AND (" + f + " <= " +
           GetExpressionValue(value[value.LowBound() + 1]) + ")";
}

std::string TcxFilterNotBetweenOperator::GetExpressionFilterText(const Variant& value)
{
    return "NOT (" + TcxFilterBetweenOperator::GetExpressionFilterText(value) + ")";
}

// --- InList -----------------------------------------------------------------------------------------------------
bool TcxFilterInListOperator::CompareValues(const Variant& d, const Variant& c)
{
    for (int i = c.LowBound(); i <= c.HighBound(); ++i)
        if (c[i] == d)
            return true;
    return false;
}

bool TcxFilterInListOperator::IsExpression() { return Criteria()->InListAsComparisons; }

void TcxFilterInListOperator::PrepareDisplayValue(std::string& displayValue)
{
    std::string r = "(";
    std::size_t pos = 0;
    bool first = true;
    while (pos <= displayValue.size()) {
        std::string part = ExtractFilterDisplayValue(displayValue, pos);
        if (!first)
            r += ", ";
        r += part;
        first = false;
    }
    displayValue = r + ")";
}

bool TcxFilterInListOperator::PrepareExpressionValue(const Variant& value, std::string& text)
{
    if (!VarIsArray(value))
        return false;
    text = "(";
    for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
        if (i > value.LowBound())
            text += ", ";
        text += GetExpressionValue(value[i]);
    }
    text += ")";
    return true;
}

std::string TcxFilterInListOperator::GetExpressionFilterText(const Variant& value)
{
    std::string f = FieldName(), text;
    for (int i = value.LowBound(); i <= value.HighBound(); ++i) {
        if (i > value.LowBound())
            text += " OR ";
        text += "(" + f + " = " + GetExpressionValue(value[i]) + ")";
    }
    return text;
}

std::string TcxFilterNotInListOperator::GetExpressionFilterText(const Variant& value)
{
    return "NOT (" + TcxFilterInListOperator::GetExpressionFilterText(value) + ")";
}

// --- Null --------------------------------------------------------------------------------------------------------
bool TcxFilterNullOperator::CompareValues(const Variant& d, const Variant&) { return CriteriaItem()->ValueIsNull(d); }

void TcxFilterNullOperator::PrepareDisplayValue(std::string& displayValue)
{
    if (Criteria()->Options().Contains(fcoShowOperatorDescription))
        displayValue.clear();
}

std::string TcxFilterNotNullOperator::GetExpressionFilterText(const Variant& value)
{
    return "NOT (" + TcxFilterEqualOperator::GetExpressionFilterText(value) + ")";
}

// --- date ranges -------------------------------------------------------------------------------------------------
bool TcxFilterDateOperator::CompareValues(const Variant& d, const Variant&)
{
    if (CriteriaItem()->ValueIsNull(d))
        return false;
    if (start_ != 0 && Variant::FromDate(start_) > d)
        return false;
    if (end_ != 0 && !(d < Variant::FromDate(end_)))
        return false;
    return true;
}

void TcxFilterDateOperator::Prepare()
{
    start_ = end_ = 0;
    GetRange(Date(), start_, end_);
}

std::string TcxFilterDateOperator::GetExpressionFilterText(const Variant&)
{
    std::string f = FieldName(), text;
    if (start_ != 0)
        text = "(" + f + " >= " + GetExpressionValue(Variant::FromDate(start_)) + ")";
    if (end_ != 0) {
        if (!text.empty())
            text += " AND ";
        text += "(" + f + " < " + GetExpressionValue(Variant::FromDate(end_)) + ")";
    }
    return text;
}

int TcxFilterLastNDaysOperator::DayCount() { throw EAbstractError("Abstract Error"); }
int TcxFilterNextNDaysOperator::DayCount() { throw EAbstractError("Abstract Error"); }

void TcxFilterLastNDaysOperator::GetRange(TDateTime t, TDateTime& start, TDateTime& end)
{
    end = cxFilterIncludeTodayInLastNextDaysList ? t + 1 : t;
    start = end - DayCount();
}

void TcxFilterNextNDaysOperator::GetRange(TDateTime t, TDateTime& start, TDateTime& end)
{
    start = cxFilterIncludeTodayInLastNextDaysList ? t : t + 1;
    end = start + DayCount();
}

namespace {
// The first day of month m (1-based, may run past 12 or below 1) of year y.
TDateTime MonthStart(int y, int m)
{
    while (m > 12) { m -= 12; ++y; }
    while (m < 1) { m += 12; --y; }
    return EncodeDate(y, m, 1);
}
void YearMonth(TDateTime t, int& y, int& m)
{
    int d;
    DecodeDate(t, y, m, d);
}
} // namespace

void TcxFilterYesterdayOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { s = t - 1; e = t; }
void TcxFilterTodayOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { s = t; e = t + 1; }
void TcxFilterTomorrowOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { s = t + 1; e = t + 2; }
void TcxFilterLastWeekOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { TDateTime w = GetStartDateOfWeek(t); s = w - 7; e = w; }
void TcxFilterLastTwoWeeksOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { TDateTime w = GetStartDateOfWeek(t); s = w - 14; e = w; }
void TcxFilterThisWeekOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { TDateTime w = GetStartDateOfWeek(t); s = w; e = w + 7; }
void TcxFilterNextWeekOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { TDateTime w = GetStartDateOfWeek(t); s = w + 7; e = w + 14; }
void TcxFilterNextTwoWeeksOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { TDateTime w = GetStartDateOfWeek(t); s = w + 7; e = w + 21; }
void TcxFilterLastMonthOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { int y, m; YearMonth(t, y, m); s = MonthStart(y, m - 1); e = MonthStart(y, m); }
void TcxFilterThisMonthOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { int y, m; YearMonth(t, y, m); s = MonthStart(y, m); e = MonthStart(y, m + 1); }
void TcxFilterNextMonthOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { int y, m; YearMonth(t, y, m); s = MonthStart(y, m + 1); e = MonthStart(y, m + 2); }
void TcxFilterLastYearOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { int y, m; YearMonth(t, y, m); s = MonthStart(y - 1, 1); e = MonthStart(y, 1); }
void TcxFilterThisYearOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { int y, m; YearMonth(t, y, m); s = MonthStart(y, 1); e = MonthStart(y + 1, 1); }
void TcxFilterNextYearOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { int y, m; YearMonth(t, y, m); s = MonthStart(y + 1, 1); e = MonthStart(y + 2, 1); }
void TcxFilterInPastOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { s = 0; e = t; }
void TcxFilterInFutureOperator::GetRange(TDateTime t, TDateTime& s, TDateTime& e) { s = t + 1; e = 0; }

// ---------------------------------------------------------------------------------------------------------------
TcxFilterOperatorClass cxFilterOperatorClassByKind(TcxFilterOperatorKind kind)
{
    switch (kind) {
    case foEqual: return TcxFilterOperatorClass::Of<TcxFilterEqualOperator>();
    case foNotEqual: return TcxFilterOperatorClass::Of<TcxFilterNotEqualOperator>();
    case foLess: return TcxFilterOperatorClass::Of<TcxFilterLessOperator>();
    case foLessEqual: return TcxFilterOperatorClass::Of<TcxFilterLessEqualOperator>();
    case foGreater: return TcxFilterOperatorClass::Of<TcxFilterGreaterOperator>();
    case foGreaterEqual: return TcxFilterOperatorClass::Of<TcxFilterGreaterEqualOperator>();
    case foLike: return TcxFilterOperatorClass::Of<TcxFilterLikeOperator>();
    case foNotLike: return TcxFilterOperatorClass::Of<TcxFilterNotLikeOperator>();
    case foBetween: return TcxFilterOperatorClass::Of<TcxFilterBetweenOperator>();
    case foNotBetween: return TcxFilterOperatorClass::Of<TcxFilterNotBetweenOperator>();
    case foInList: return TcxFilterOperatorClass::Of<TcxFilterInListOperator>();
    case foNotInList: return TcxFilterOperatorClass::Of<TcxFilterNotInListOperator>();
    case foYesterday: return TcxFilterOperatorClass::Of<TcxFilterYesterdayOperator>();
    case foToday: return TcxFilterOperatorClass::Of<TcxFilterTodayOperator>();
    case foTomorrow: return TcxFilterOperatorClass::Of<TcxFilterTomorrowOperator>();
    case foLast7Days: return TcxFilterOperatorClass::Of<TcxFilterLast7DaysOperator>();
    case foLastWeek: return TcxFilterOperatorClass::Of<TcxFilterLastWeekOperator>();
    case foLast14Days: return TcxFilterOperatorClass::Of<TcxFilterLast14DaysOperator>();
    case foLastTwoWeeks: return TcxFilterOperatorClass::Of<TcxFilterLastTwoWeeksOperator>();
    case foLast30Days: return TcxFilterOperatorClass::Of<TcxFilterLast30DaysOperator>();
    case foLastMonth: return TcxFilterOperatorClass::Of<TcxFilterLastMonthOperator>();
    case foLastYear: return TcxFilterOperatorClass::Of<TcxFilterLastYearOperator>();
    case foInPast: return TcxFilterOperatorClass::Of<TcxFilterInPastOperator>();
    case foThisWeek: return TcxFilterOperatorClass::Of<TcxFilterThisWeekOperator>();
    case foThisMonth: return TcxFilterOperatorClass::Of<TcxFilterThisMonthOperator>();
    case foThisYear: return TcxFilterOperatorClass::Of<TcxFilterThisYearOperator>();
    case foNext7Days: return TcxFilterOperatorClass::Of<TcxFilterNext7DaysOperator>();
    case foNextWeek: return TcxFilterOperatorClass::Of<TcxFilterNextWeekOperator>();
    case foNext14Days: return TcxFilterOperatorClass::Of<TcxFilterNext14DaysOperator>();
    case foNextTwoWeeks: return TcxFilterOperatorClass::Of<TcxFilterNextTwoWeeksOperator>();
    case foNext30Days: return TcxFilterOperatorClass::Of<TcxFilterNext30DaysOperator>();
    case foNextMonth: return TcxFilterOperatorClass::Of<TcxFilterNextMonthOperator>();
    case foNextYear: return TcxFilterOperatorClass::Of<TcxFilterNextYearOperator>();
    case foInFuture: return TcxFilterOperatorClass::Of<TcxFilterInFutureOperator>();
    }
    return TcxFilterOperatorClass::Of<TcxFilterEqualOperator>();
}

} // namespace cx
