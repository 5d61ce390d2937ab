// ammerlin-xlsread <file.xls>: reads worksheet Sheet1 of a route sheet with FreeXL and writes the
// cells of its columns "电表地址", "上一级电表地址" and "相位" to standard output in the stream of
// console/RouteSheetWire.h. It runs as a short-lived child of the console with limits on its
// time, memory and output files, so that a damaged or hostile file that makes FreeXL read out of
// bounds, loop or allocate without end harms nothing but this process.
#include "console/RouteSheetWire.h"

#include <freexl.h>

#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define AMMERLIN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define AMMERLIN_ASAN 1
#endif
#endif

namespace {

using routewire::TStatus;

void Limit(int resource, rlim_t value)
{
    const rlimit limit{value, value};
    setrlimit(resource, &limit);
}

void LimitSelf()
{
    Limit(RLIMIT_CPU, 10);  // seconds of processor time
    Limit(RLIMIT_CORE, 0);
    Limit(RLIMIT_FSIZE, 0);  // it writes no file
#ifndef AMMERLIN_ASAN
    // The address sanitizer reserves terabytes of address space for its shadow, so the limit is
    // left off in a sanitized build.
    Limit(RLIMIT_AS, rlim_t{1} << 30);
#endif
}

bool WriteAll(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A cell as text; numbers without a fraction when they have none.
std::string CellText(const FreeXL_CellValue& cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return std::to_string(cell.value.int_value);
    case FREEXL_CELL_DOUBLE: {
        const double v = cell.value.double_value;
        char buffer[64];
        if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e18) {
            std::snprintf(buffer, sizeof buffer, "%.0f", v);
            return buffer;
        }
        const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
        return ec == std::errc() ? std::string(buffer, ptr) : std::string();
    }
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return cell.value.text_value ? cell.value.text_value : "";
    default:
        return {};
    }
}

std::string Trimmed(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

bool SelectSheet(const void* handle, const char* name)
{
    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return false;
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        const char* sheetName = nullptr;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(i), &sheetName) == FREEXL_OK
            && sheetName && std::strcmp(sheetName, name) == 0)
            return freexl_select_active_worksheet(handle, static_cast<unsigned short>(i)) == FREEXL_OK;
    }
    return false;
}

bool ReadCell(const void* handle, unsigned int row, unsigned short column, std::string& text)
{
    FreeXL_CellValue cell;
    if (freexl_get_cell_value(handle, row, column, &cell) != FREEXL_OK)
        return false;
    text = Trimmed(CellText(cell));
    return true;
}

// Reads the sheet and writes the stream; returns the refusal, or Ok once the end is written.
TStatus Read(const char* fileName)
{
    const void* xls = nullptr;
    if (freexl_open(fileName, &xls) != FREEXL_OK)
        return TStatus::NotXls;
    struct Closer {
        const void* h;
        ~Closer() { freexl_close(h); }
    } closer{xls};
    if (!SelectSheet(xls, "Sheet1"))
        return TStatus::NoSheet1;
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(xls, &rows, &columns) != FREEXL_OK)
        return TStatus::NoDimensions;

    int found[3] = {-1, -1, -1};
    const char* names[3] = {"电表地址", "上一级电表地址", "相位"};
    for (unsigned short c = 0; rows > 0 && c < columns; ++c) {
        std::string name;
        if (!ReadCell(xls, 0, c, name)) {
            WriteAll(routewire::EncodeRefusal(TStatus::BadCell, 1));
            return TStatus::BadCell;
        }
        for (int k = 0; k < 3; ++k)
            if (found[k] < 0 && name == names[k]) {
                found[k] = c;
                break;
            }
    }
    const TStatus missing[3] = {TStatus::NoAddressColumn, TStatus::NoParentColumn, TStatus::NoPhaseColumn};
    for (int k = 0; k < 3; ++k)
        if (found[k] < 0)
            return missing[k];

    std::string out;
    for (unsigned int r = 1; r < rows; ++r) {
        routewire::TCells cells(3);
        for (int k = 0; k < 3; ++k) {
            if (!ReadCell(xls, r, static_cast<unsigned short>(found[k]), cells[static_cast<std::size_t>(k)])) {
                WriteAll(out + routewire::EncodeRefusal(TStatus::BadCell, r + 1));
                return TStatus::BadCell;
            }
        }
        out += routewire::EncodeRow(cells);
        if (out.size() > (1u << 16)) {
            if (!WriteAll(out))
                return TStatus::Failed;
            out.clear();
        }
    }
    WriteAll(out + std::string(1, routewire::kEnd));
    return TStatus::Ok;
}

} // namespace

int main(int argc, char** argv)
{
    LimitSelf();
    if (argc != 2)
        return 2;
    if (!WriteAll(std::string(routewire::kMagic, 4)))
        return 1;
    const TStatus status = Read(argv[1]);
    if (status != TStatus::Ok && status != TStatus::BadCell && status != TStatus::Failed)
        WriteAll(routewire::EncodeRefusal(status, 0));
    return status == TStatus::Failed ? 1 : 0;
}
