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

const std::vector<TcxResStringTableEntry>& cxLibraryResourceStringTable()
{
    static const std::vector<TcxResStringTableEntry> table = {
        {"scxCantCreateRegistryKey", &scxCantCreateRegistryKey},
        {"scxCantOpenRegistryKey", &scxCantOpenRegistryKey},
        {"scxErrorStoreObject", &scxErrorStoreObject},
        {"scxConverterCantCreateStyleRepository", &scxConverterCantCreateStyleRepository},
        {"cxSDateToday", &cxSDateToday},
        {"cxSDateYesterday", &cxSDateYesterday},
        {"cxSDateTomorrow", &cxSDateTomorrow},
        {"cxSDateSunday", &cxSDateSunday},
        {"cxSDateMonday", &cxSDateMonday},
        {"cxSDateTuesday", &cxSDateTuesday},
        {"cxSDateWednesday", &cxSDateWednesday},
        {"cxSDateThursday", &cxSDateThursday},
        {"cxSDateFriday", &cxSDateFriday},
        {"cxSDateSaturday", &cxSDateSaturday},
        {"cxSDateFirst", &cxSDateFirst},
        {"cxSDateSecond", &cxSDateSecond},
        {"cxSDateThird", &cxSDateThird},
        {"cxSDateFourth", &cxSDateFourth},
        {"cxSDateFifth", &cxSDateFifth},
        {"cxSDateSixth", &cxSDateSixth},
        {"cxSDateSeventh", &cxSDateSeventh},
        {"cxSDateBOM", &cxSDateBOM},
        {"cxSDateEOM", &cxSDateEOM},
        {"cxSDateNow", &cxSDateNow},
    };
    return table;
}

void AddLibraryResourceStrings(TdxProductResourceStrings* product)
{
    for (const auto& entry : cxLibraryResourceStringTable())
        product->Add(entry.name, entry.resString);
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
