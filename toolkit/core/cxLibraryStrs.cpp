#include "toolkit/core/cxLibraryStrs.h"

namespace cx {

const TResStringRec scxCantCreateRegistryKey = {65302, "Can't create the registry key: \\%s"};
const TResStringRec scxCantOpenRegistryKey = {65303, "Can't open the registry key: \\%s"};
const TResStringRec scxErrorStoreObject = {65304, "Error store %s object"};
const TResStringRec scxConverterCantCreateStyleRepository = {65305, "Can't create the Style Repository"};
const TResStringRec cxSDateToday = {65306, "today"};
const TResStringRec cxSDateYesterday = {65307, "yesterday"};
const TResStringRec cxSDateTomorrow = {65308, "tomorrow"};
const TResStringRec cxSDateSunday = {65309, "Sunday"};
const TResStringRec cxSDateMonday = {65310, "Monday"};
const TResStringRec cxSDateTuesday = {65311, "Tuesday"};
const TResStringRec cxSDateWednesday = {65280, "Wednesday"};
const TResStringRec cxSDateThursday = {65281, "Thursday"};
const TResStringRec cxSDateFriday = {65282, "Friday"};
const TResStringRec cxSDateSaturday = {65283, "Saturday"};
const TResStringRec cxSDateFirst = {65284, "first"};
const TResStringRec cxSDateSecond = {65285, "second"};
const TResStringRec cxSDateThird = {65286, "third"};
const TResStringRec cxSDateFourth = {65287, "fourth"};
const TResStringRec cxSDateFifth = {65288, "fifth"};
const TResStringRec cxSDateSixth = {65289, "sixth"};
const TResStringRec cxSDateSeventh = {65290, "seventh"};
const TResStringRec cxSDateBOM = {65291, "bom"};
const TResStringRec cxSDateEOM = {65292, "eom"};
const TResStringRec cxSDateNow = {65293, "now"};

void AddLibraryResourceStrings(TdxProductResourceStrings* product)
{
    product->Add("scxCantCreateRegistryKey", &scxCantCreateRegistryKey);
    product->Add("scxCantOpenRegistryKey", &scxCantOpenRegistryKey);
    product->Add("scxErrorStoreObject", &scxErrorStoreObject);
    product->Add("scxConverterCantCreateStyleRepository", &scxConverterCantCreateStyleRepository);
    product->Add("cxSDateToday", &cxSDateToday);
    product->Add("cxSDateYesterday", &cxSDateYesterday);
    product->Add("cxSDateTomorrow", &cxSDateTomorrow);
    product->Add("cxSDateSunday", &cxSDateSunday);
    product->Add("cxSDateMonday", &cxSDateMonday);
    product->Add("cxSDateTuesday", &cxSDateTuesday);
    product->Add("cxSDateWednesday", &cxSDateWednesday);
    product->Add("cxSDateThursday", &cxSDateThursday);
    product->Add("cxSDateFriday", &cxSDateFriday);
    product->Add("cxSDateSaturday", &cxSDateSaturday);
    product->Add("cxSDateFirst", &cxSDateFirst);
    product->Add("cxSDateSecond", &cxSDateSecond);
    product->Add("cxSDateThird", &cxSDateThird);
    product->Add("cxSDateFourth", &cxSDateFourth);
    product->Add("cxSDateFifth", &cxSDateFifth);
    product->Add("cxSDateSixth", &cxSDateSixth);
    product->Add("cxSDateSeventh", &cxSDateSeventh);
    product->Add("cxSDateBOM", &cxSDateBOM);
    product->Add("cxSDateEOM", &cxSDateEOM);
    product->Add("cxSDateNow", &cxSDateNow);
}

namespace cxLibraryStrsUnit {
namespace {
int startCount = 0;
}
void Initialize()
{
    if (startCount++ == 0)
        dxResourceStringsRepository()->RegisterProduct(cxLibraryProductKey, &AddLibraryResourceStrings);
}
void Finalize()
{
    if (startCount > 0 && --startCount == 0)
        dxResourceStringsRepository()->UnRegisterProduct(cxLibraryProductKey);
}
} // namespace cxLibraryStrsUnit

} // namespace cx
