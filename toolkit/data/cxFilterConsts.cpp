#include "toolkit/data/cxFilterConsts.h"

namespace cx {

const TResStringRec cxSFilterOperatorEqual = {65532, "equals"};
const TResStringRec cxSFilterOperatorNotEqual = {65533, "does not equal"};
const TResStringRec cxSFilterOperatorLess = {65534, "is less than"};
const TResStringRec cxSFilterOperatorLessEqual = {65535, "is less than or equal to"};
const TResStringRec cxSFilterOperatorGreater = {65504, "is greater than"};
const TResStringRec cxSFilterOperatorGreaterEqual = {65505, "is greater than or equal to"};
const TResStringRec cxSFilterOperatorLike = {65506, "like"};
const TResStringRec cxSFilterOperatorNotLike = {65507, "not like"};
const TResStringRec cxSFilterOperatorBetween = {65508, "between"};
const TResStringRec cxSFilterOperatorNotBetween = {65509, "not between"};
const TResStringRec cxSFilterOperatorInList = {65510, "in"};
const TResStringRec cxSFilterOperatorNotInList = {65511, "not in"};
const TResStringRec cxSFilterOperatorYesterday = {65512, "is yesterday"};
const TResStringRec cxSFilterOperatorToday = {65513, "is today"};
const TResStringRec cxSFilterOperatorTomorrow = {65514, "is tomorrow"};
const TResStringRec cxSFilterOperatorLast7Days = {65515, "is last 7 days"};
const TResStringRec cxSFilterOperatorLastWeek = {65516, "is last week"};
const TResStringRec cxSFilterOperatorLast14Days = {65517, "is last 14 days"};
const TResStringRec cxSFilterOperatorLastTwoWeeks = {65518, "is last two weeks"};
const TResStringRec cxSFilterOperatorLast30Days = {65519, "is last 30 days"};
const TResStringRec cxSFilterOperatorLastMonth = {65488, "is last month"};
const TResStringRec cxSFilterOperatorLastYear = {65489, "is last year"};
const TResStringRec cxSFilterOperatorPast = {65490, "is past"};
const TResStringRec cxSFilterOperatorThisWeek = {65491, "is this week"};
const TResStringRec cxSFilterOperatorThisMonth = {65492, "is this month"};
const TResStringRec cxSFilterOperatorThisYear = {65493, "is this year"};
const TResStringRec cxSFilterOperatorNext7Days = {65494, "is next 7 days"};
const TResStringRec cxSFilterOperatorNextWeek = {65495, "is next week"};
const TResStringRec cxSFilterOperatorNext14Days = {65496, "is next 14 days"};
const TResStringRec cxSFilterOperatorNextTwoWeeks = {65497, "is next two weeks"};
const TResStringRec cxSFilterOperatorNext30Days = {65498, "is next 30 days"};
const TResStringRec cxSFilterOperatorNextMonth = {65499, "is next month"};
const TResStringRec cxSFilterOperatorNextYear = {65500, "is next year"};
const TResStringRec cxSFilterOperatorFuture = {65501, "is future"};
const TResStringRec cxSFilterAndCaption = {65502, "and"};
const TResStringRec cxSFilterOrCaption = {65503, "or"};
const TResStringRec cxSFilterNotCaption = {65472, "not"};
const TResStringRec cxSFilterBlankCaption = {65473, "blank"};
const TResStringRec cxSFilterOperatorIsNull = {65474, "is blank"};
const TResStringRec cxSFilterOperatorIsNotNull = {65475, "is not blank"};
const TResStringRec cxSFilterOperatorBeginsWith = {65476, "begins with"};
const TResStringRec cxSFilterOperatorDoesNotBeginWith = {65477, "does not begin with"};
const TResStringRec cxSFilterOperatorEndsWith = {65478, "ends with"};
const TResStringRec cxSFilterOperatorDoesNotEndWith = {65479, "does not end with"};
const TResStringRec cxSFilterOperatorContains = {65480, "contains"};
const TResStringRec cxSFilterOperatorDoesNotContain = {65481, "does not contain"};
const TResStringRec cxSFilterBoxAllCaption = {65482, "(All)"};
const TResStringRec cxSFilterBoxCustomCaption = {65483, "(Custom...)"};
const TResStringRec cxSFilterBoxBlanksCaption = {65484, "(Blanks)"};
const TResStringRec cxSFilterBoxNonBlanksCaption = {65485, "(NonBlanks)"};

TcxFilterGetResourceStringFunc cxFilterGetResourceStringFunc = nullptr;

std::string cxSFilterString(const TResStringRec* resString)
{
    return cxFilterGetResourceStringFunc ? cxFilterGetResourceStringFunc(resString) : LoadResString(resString);
}

const std::vector<TcxFilterResStringEntry>& cxFilterResourceStringTable()
{
    static const std::vector<TcxFilterResStringEntry> table = {
        {"cxSFilterOperatorEqual", &cxSFilterOperatorEqual},
        {"cxSFilterOperatorNotEqual", &cxSFilterOperatorNotEqual},
        {"cxSFilterOperatorLess", &cxSFilterOperatorLess},
        {"cxSFilterOperatorLessEqual", &cxSFilterOperatorLessEqual},
        {"cxSFilterOperatorGreater", &cxSFilterOperatorGreater},
        {"cxSFilterOperatorGreaterEqual", &cxSFilterOperatorGreaterEqual},
        {"cxSFilterOperatorLike", &cxSFilterOperatorLike},
        {"cxSFilterOperatorNotLike", &cxSFilterOperatorNotLike},
        {"cxSFilterOperatorBetween", &cxSFilterOperatorBetween},
        {"cxSFilterOperatorNotBetween", &cxSFilterOperatorNotBetween},
        {"cxSFilterOperatorInList", &cxSFilterOperatorInList},
        {"cxSFilterOperatorNotInList", &cxSFilterOperatorNotInList},
        {"cxSFilterOperatorYesterday", &cxSFilterOperatorYesterday},
        {"cxSFilterOperatorToday", &cxSFilterOperatorToday},
        {"cxSFilterOperatorTomorrow", &cxSFilterOperatorTomorrow},
        {"cxSFilterOperatorLast7Days", &cxSFilterOperatorLast7Days},
        {"cxSFilterOperatorLastWeek", &cxSFilterOperatorLastWeek},
        {"cxSFilterOperatorLast14Days", &cxSFilterOperatorLast14Days},
        {"cxSFilterOperatorLastTwoWeeks", &cxSFilterOperatorLastTwoWeeks},
        {"cxSFilterOperatorLast30Days", &cxSFilterOperatorLast30Days},
        {"cxSFilterOperatorLastMonth", &cxSFilterOperatorLastMonth},
        {"cxSFilterOperatorLastYear", &cxSFilterOperatorLastYear},
        {"cxSFilterOperatorPast", &cxSFilterOperatorPast},
        {"cxSFilterOperatorThisWeek", &cxSFilterOperatorThisWeek},
        {"cxSFilterOperatorThisMonth", &cxSFilterOperatorThisMonth},
        {"cxSFilterOperatorThisYear", &cxSFilterOperatorThisYear},
        {"cxSFilterOperatorNext7Days", &cxSFilterOperatorNext7Days},
        {"cxSFilterOperatorNextWeek", &cxSFilterOperatorNextWeek},
        {"cxSFilterOperatorNext14Days", &cxSFilterOperatorNext14Days},
        {"cxSFilterOperatorNextTwoWeeks", &cxSFilterOperatorNextTwoWeeks},
        {"cxSFilterOperatorNext30Days", &cxSFilterOperatorNext30Days},
        {"cxSFilterOperatorNextMonth", &cxSFilterOperatorNextMonth},
        {"cxSFilterOperatorNextYear", &cxSFilterOperatorNextYear},
        {"cxSFilterOperatorFuture", &cxSFilterOperatorFuture},
        {"cxSFilterAndCaption", &cxSFilterAndCaption},
        {"cxSFilterOrCaption", &cxSFilterOrCaption},
        {"cxSFilterNotCaption", &cxSFilterNotCaption},
        {"cxSFilterBlankCaption", &cxSFilterBlankCaption},
        {"cxSFilterOperatorIsNull", &cxSFilterOperatorIsNull},
        {"cxSFilterOperatorIsNotNull", &cxSFilterOperatorIsNotNull},
        {"cxSFilterOperatorBeginsWith", &cxSFilterOperatorBeginsWith},
        {"cxSFilterOperatorDoesNotBeginWith", &cxSFilterOperatorDoesNotBeginWith},
        {"cxSFilterOperatorEndsWith", &cxSFilterOperatorEndsWith},
        {"cxSFilterOperatorDoesNotEndWith", &cxSFilterOperatorDoesNotEndWith},
        {"cxSFilterOperatorContains", &cxSFilterOperatorContains},
        {"cxSFilterOperatorDoesNotContain", &cxSFilterOperatorDoesNotContain},
        {"cxSFilterBoxAllCaption", &cxSFilterBoxAllCaption},
        {"cxSFilterBoxCustomCaption", &cxSFilterBoxCustomCaption},
        {"cxSFilterBoxBlanksCaption", &cxSFilterBoxBlanksCaption},
        {"cxSFilterBoxNonBlanksCaption", &cxSFilterBoxNonBlanksCaption},
    };
    return table;
}

void AddcxFilterResourceStringNames(TdxProductResourceStrings* product)
{
    for (const auto& e : cxFilterResourceStringTable())
        product->Add(e.name, e.resString);
}

namespace cxFilterConstsUnit {
namespace {
int counter = 0;
}

void Initialize()
{
    if (counter++ == 0)
        dxResourceStringsRepository()->RegisterProduct(cxFilterProductKey, &AddcxFilterResourceStringNames);
}

void Finalize()
{
    if (counter > 0 && --counter == 0)
        dxResourceStringsRepository()->UnRegisterProduct(cxFilterProductKey);
}
} // namespace cxFilterConstsUnit

} // namespace cx
