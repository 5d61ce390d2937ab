#pragma once
// Byte, BCD and hexadecimal-text helpers shared by the meter and the console, the key filters of
// the console's edits, and the CRC-16/X-25 of the carrier frames and the route index.
//
// Packed BCD numbers are stored least significant byte first. None of these functions keeps state
// or allocates a buffer; a count of 0 does nothing.
#include <cstddef>
#include <cstdint>
#include <string>

// 0..99 to packed BCD; 100..255 give 0.
std::uint8_t ByteToBcd(std::uint8_t value);
// High nibble x 10 + low nibble, without a validity check (0xFF gives 165).
std::uint8_t BcdToByte(std::uint8_t bcd);
// Adds one to a BCD byte; 0x99 becomes 0x00 and returns the carry 1.
std::uint8_t BcdIncByte(std::uint8_t& bcd);
// out = a + b as n-byte BCD numbers; out may be the storage of a or b. Returns the carry.
std::uint8_t BcdAdd(const std::uint8_t* a, const std::uint8_t* b, int n, std::uint8_t* out);

void CopyBytes(std::uint8_t* destination, const std::uint8_t* source, int count);
void FillBytes(std::uint8_t* buffer, std::uint8_t value, int count);
// Adds value to each byte modulo 256 (0xCD takes the 0x33 line offset off, 0x33 puts it back).
void AddToBytes(std::uint8_t* buffer, std::uint8_t value, int count);
// Sum of the bytes modulo 256: the DL/T 645 checksum.
std::uint8_t ByteSum(const std::uint8_t* buffer, int count);

// "%02X" per byte in buffer order, no separator.
std::string BytesToHex(const std::uint8_t* buffer, int count);
// "%02X" per byte, last byte first (a BCD number or an address in reading order).
std::string BytesToHexReversed(const std::uint8_t* buffer, int count);
// "%02X " per byte, the last blank included: the form of every byte dump in the logs.
std::string BytesToHexSpaced(const std::uint8_t* buffer, int count);
// "%02d" per byte, cut to 2 x count characters.
std::string BytesToDec(const std::uint8_t* buffer, int count);

// The texts of the meter and the console's log lines, written directly (no snprintf): literal
// text with "%02X" and "%02x" (upper- and lower-case hexadecimal), "%02d" (decimal), each at
// least two digits wide with leading zeros as printf writes them, and "%%". Arguments are ints.
void AppendFormatted(std::string& out, const char* format, const int* args, int count);

template <typename... Args>
void AppendFormat(std::string& out, const char* format, Args... args)
{
    if constexpr (sizeof...(Args) == 0) {
        AppendFormatted(out, format, nullptr, 0);
    } else {
        const int values[] = {static_cast<int>(args)...};
        AppendFormatted(out, format, values, static_cast<int>(sizeof...(Args)));
    }
}

template <typename... Args>
std::string FormatText(const char* format, Args... args)
{
    std::string out;
    AppendFormat(out, format, args...);
    return out;
}

// The parsers below write at most `capacity` bytes to `out` and return how many they wrote.
// Character groups are read like a C number of the given base (leading white space, optional
// sign, digits until the first other character; no digit gives 0), keeping the low 8 bits.

// Pairs of characters in text order ("123" is read as "0123").
int HexToBytes(const std::string& text, std::uint8_t* out, std::size_t capacity, int base = 16);
// Pairs from the end of the text: the last pair is out[0] (a number typed in reading order).
int HexToBytesReversed(const std::string& text, std::uint8_t* out, std::size_t capacity,
                       int base = 16);
// Blank-separated bytes ("12 34 56") in text order, or a run of digits ("123456") stored least
// significant pair first. When a run of digits holds more pairs than fit, the least significant
// `capacity` pairs are kept.
int ParseHexText(const std::string& text, std::uint8_t* out, std::size_t capacity,
                 int base = 16);
// The value of the first two characters ("123" is read as "0123"); an empty text gives 0.
int HexByte(const std::string& text, int base = 16);
// n is taken modulo 256: the first n characters, or '0's in front up to n.
std::string PadLeftZeros(const std::string& text, int n);

// Key filters. A key passes unchanged or is discarded (replaced by 0 in the in-place forms).
// Control keys (codes below 32) pass; characters from 0x80 up (pieces of multi-byte characters)
// are discarded, since none of these edits takes anything but ASCII digits.
bool HexKeyPasses(char key);
bool DigitKeyPasses(char key);
void HexKeyFilter(char& key);
void DigitKeyFilter(char& key);
// The amount edits (six digits, a point, two decimals), judged on the text before the key:
// control keys pass; only digits and '.' are taken; a text of exactly six characters without a
// point takes only '.'; otherwise digits pass and '.' is dropped.
bool AmountKeyPasses(const std::string& textBefore, char key);

// The state of an edit as a key arrives, and what the edit holds after it.
struct TEditState {
    std::string Text;
    int Cursor = 0;     // caret position, in bytes
    int SelStart = 0;   // selection, in bytes; SelLength 0 = nothing selected
    int SelLength = 0;
};

struct TKeyResult {
    bool Accepted = false;  // false: the key was discarded and the edit is unchanged
    std::string Text;
    int Cursor = 0;
};

enum class TKeyFilterKind {
    Digit,      // "0".."9"
    Hex,        // "0".."9", "A".."F", "a".."f"
    HexSpaced,  // hex, with a blank inserted so that bytes read as "12 34 56"
    Amount,     // XXXXXX.XX
};

// Applies one key press to an edit as the filter allows it: a printable key replaces the
// selection (or is inserted at the caret), backspace deletes the selection or the character
// before the caret, other control keys leave the text as it is. The edit's maximum length is
// left to the edit itself.
TKeyResult FilterKey(TKeyFilterKind kind, const TEditState& state, char key);

// CRC-16/X-25: reflected polynomial 0x8408, initial 0xFFFF, final exclusive-or 0xFFFF.
std::uint16_t Crc16X25(const std::uint8_t* buffer, std::uint16_t count);
