#pragma once
// The data-identifier names: identifier texts and their meanings from table T_DataCode645 of the
// database "DIData.mdb".
#include <string>
#include <vector>

// One identifier and its meaning.
struct _StIdRdHlj97 {
    std::string Di_Name;
    std::string Di_Meanings;
};

class TDmId645 {
public:
    // The database file; "DIData.mdb" in the working directory by default.
    explicit TDmId645(std::string databasePath = "DIData.mdb");

    // Appends the identifiers in database order; true when at least one record was read. A file
    // that is missing, is not a database or has no table T_DataCode645 appends nothing. The
    // texts come out as UTF-8 whatever the environment asks of the database library.
    bool LoadDataCodes(std::vector<_StIdRdHlj97>& list);

    const std::string& DatabasePath() const { return Path; }
    // Why the last LoadDataCodes read nothing, in the operator's words ("" when the database
    // opened, also when its table was empty).
    const std::string& Error() const { return LastError; }

private:
    std::string Path;
    std::string LastError;
};
