#include "meter/FDbId645.h"

#include <utility>

TDmId645::TDmId645(std::string databasePath) : Path(std::move(databasePath)) {}

bool TDmId645::LoadDataCodes(std::vector<_StIdRdHlj97>& /*list*/)
{
    // Unfinished: reading T_DataCode645 through mdbtools comes later; until then the meter works
    // without identifier names, as it does when the database cannot be read.
    return false;
}
