#pragma once
// UTF-8 <-> UTF-16 and the character stepping of the build's "ANSI" code page, which is UTF-8.
#include <string>
#include <string_view>

namespace rtl {

// Invalid UTF-8 bytes become U+FFFD; lone surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Byte length of the (UTF-8) character that starts at the 0-based offset; 1 for a stray byte,
// 0 at or past the end.
int Utf8CharLength(std::string_view text, std::size_t offset);
// Offset of the character before the one at offset (0 at the start).
std::size_t Utf8PrevCharOffset(std::string_view text, std::size_t offset);

std::u16string WideUpperCase(std::u16string_view text);
std::u16string WideLowerCase(std::u16string_view text);
bool WideIsLetter(char16_t c);
bool WideIsDigit(char16_t c);

// The halves of a character outside the basic plane.
inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
inline bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

} // namespace rtl
