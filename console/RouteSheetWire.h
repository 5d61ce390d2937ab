#pragma once
// What the sheet reader (the helper program ammerlin-xlsread, which runs FreeXL in a process of
// its own) hands back to the console through a pipe. FreeXL reads out of bounds on damaged
// files, so it never runs inside the console: a crash, a hang or a runaway allocation ends only
// the helper. The console trusts nothing of the stream it did not check.
//
// Stream: the magic "ARS1"; then records. 'R' + three cells (address, parent, phase), each a
// 32-bit little-endian length and that many UTF-8 bytes; 'E' ends a sheet read whole; 'X' + one
// status byte + a 32-bit row number ends a refused one.
#include <cstdint>
#include <string>
#include <vector>

namespace routewire {

inline constexpr char kMagic[4] = {'A', 'R', 'S', '1'};
inline constexpr char kRow = 'R';
inline constexpr char kEnd = 'E';
inline constexpr char kRefused = 'X';

enum class TStatus : std::uint8_t {
    Ok = 0,
    NotXls = 1,         // FreeXL cannot open it as an .xls file
    NoSheet1 = 2,       // no worksheet "Sheet1"
    NoDimensions = 3,   // Sheet1's size cannot be read
    NoAddressColumn = 4,
    NoParentColumn = 5,
    NoPhaseColumn = 6,
    BadCell = 7,        // a cell could not be read; the row number says where (1-based)
    Failed = 8,         // the helper did not finish (crash, limit, time-out, damaged stream)
};

using TCells = std::vector<std::string>;  // address, parent, phase

inline void PutU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline std::string EncodeRow(const TCells& cells)
{
    std::string out(1, kRow);
    for (const std::string& c : cells) {
        PutU32(out, static_cast<std::uint32_t>(c.size()));
        out += c;
    }
    return out;
}

inline std::string EncodeRefusal(TStatus status, std::uint32_t row)
{
    std::string out(1, kRefused);
    out.push_back(static_cast<char>(status));
    PutU32(out, row);
    return out;
}

struct TSheetResult {
    TStatus Status = TStatus::Failed;
    std::uint32_t Row = 0;  // BadCell: the sheet row (1-based)
    std::vector<TCells> Rows;
};

// Reads a whole stream; anything malformed, cut short or unknown gives Failed.
inline TSheetResult Decode(const std::string& bytes)
{
    TSheetResult r;
    std::size_t at = 0;
    const auto u32 = [&](std::uint32_t& v) {
        if (bytes.size() - at < 4)
            return false;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        at += 4;
        return true;
    };
    if (bytes.size() < 4 || bytes.compare(0, 4, kMagic, 4) != 0)
        return r;
    at = 4;
    while (at < bytes.size()) {
        const char tag = bytes[at++];
        if (tag == kRow) {
            TCells cells(3);
            for (std::string& c : cells) {
                std::uint32_t n = 0;
                if (!u32(n) || bytes.size() - at < n)
                    return TSheetResult{};
                c.assign(bytes, at, n);
                at += n;
            }
            r.Rows.push_back(std::move(cells));
        } else if (tag == kEnd && at == bytes.size()) {
            r.Status = TStatus::Ok;
            return r;
        } else if (tag == kRefused && bytes.size() - at == 5) {
            const auto s = static_cast<std::uint8_t>(bytes[at++]);
            if (s < static_cast<std::uint8_t>(TStatus::NotXls) || s > static_cast<std::uint8_t>(TStatus::BadCell)
                || !u32(r.Row))
                return TSheetResult{};
            r.Status = static_cast<TStatus>(s);
            r.Rows.clear();
            return r;
        } else {
            return TSheetResult{};
        }
    }
    return TSheetResult{};  // no end record: the helper stopped part-way
}

} // namespace routewire
