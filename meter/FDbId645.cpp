// Reading the identifier names out of the Access database with mdbtools.
#include "meter/FDbId645.h"

#include <glib.h>  // before the mdbtools headers, which wrap their own includes in extern "C"

#include <mdbsql.h>
#include <mdbtools.h>

#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

namespace {

const char kQuery[] = "select Di_Name, Di_Meanings, DataLen, DataOther, DataPoint from T_DataCode645";

struct SqlCloser {
    void operator()(MdbSQL* sql) const { mdb_sql_exit(sql); }
};
using SqlHandle = std::unique_ptr<MdbSQL, SqlCloser>;

// mdbtools converts text to the character set named by the environment (MDBICONV), UTF-8 when
// none is named; the program's texts are UTF-8 whatever the environment says. Jet 4 stores text
// as UTF-16 (the library expands its compressed form); Jet 3 files of this program were written
// in the Chinese ANSI code page.
void ForceUtf8(MdbHandle* mdb)
{
    mdb_iconv_close(mdb);
    const char* stored = IS_JET3(mdb) ? "CP936" : "UCS-2LE";
    mdb->iconv_in = iconv_open("UTF-8", stored);
    mdb->iconv_out = iconv_open(stored, "UTF-8");
}

std::string BoundText(MdbSQL* sql, unsigned column)
{
    if (!sql->bound_values || column >= sql->bound_values->len)
        return {};
    const char* text = static_cast<const char*>(g_ptr_array_index(sql->bound_values, column));
    return text ? text : "";
}

}  // namespace

TDmId645::TDmId645(std::string databasePath) : Path(std::move(databasePath)) {}

bool TDmId645::LoadDataCodes(std::vector<_StIdRdHlj97>& list)
{
    // A missing file is the usual case on a new installation; asking the library would only
    // print its complaints.
    LastError.clear();
    std::error_code error;
    if (!std::filesystem::is_regular_file(Path, error)) {
        LastError = std::filesystem::exists(Path, error) ? "不是文件" : "文件不存在";
        return false;
    }

    SqlHandle sql(mdb_sql_init());
    if (!sql) {
        LastError = "数据库库初始化失败";
        return false;
    }
    std::string path = Path;
    if (!mdb_sql_open(sql.get(), path.data()) || !sql->mdb) {
        LastError = "不是Access数据库文件";
        return false;
    }
    ForceUtf8(sql->mdb);
    if (!mdb_sql_run_query(sql.get(), kQuery) || !sql->cur_table || sql->num_columns < 2) {
        LastError = "没有可读的表T_DataCode645";
        return false;
    }

    // The rows are added only once all of them were read: a failure leaves the list as it was.
    std::vector<_StIdRdHlj97> rows;
    while (mdb_sql_fetch_row(sql.get(), sql->cur_table))
        rows.push_back({BoundText(sql.get(), 0), BoundText(sql.get(), 1)});
    mdb_sql_reset(sql.get());

    list.insert(list.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    return !rows.empty();
}
