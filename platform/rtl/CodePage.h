#pragma once
// Conversions between the program's UTF-8 text and code page 936 (GBK), the encoding of the
// files the system exchanges with other tools (INI file, logs, meter lists).
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

// Characters GBK cannot hold become '?'; nothing is dropped silently from the length.
std::string Utf8ToGbk(std::string_view utf8);
// Bytes that are not valid GBK become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);
// Between any two encodings iconv knows ("UTF-8", "GBK", "CP1252", ...): what cannot be
// converted becomes U+FFFD (into UTF-8) or '?', one for each character, and the conversion goes
// on. An encoding iconv does not know gives the input back unchanged.
std::string ConvertEncoding(const std::string& to, const std::string& from, std::string_view in);

// Stored texts that may come from either side: files the program shares with other tools are
// GBK, files of earlier builds UTF-8. True when the bytes are to be read as GBK: they are not
// valid UTF-8, or they are valid GBK and every character UTF-8 would make of them lies below
// U+0800 (Latin, Greek, Cyrillic...), which is what short Chinese texts in GBK look like ("平"
// is C6 BD, "ƽ" in UTF-8); Chinese in UTF-8 always has three-byte characters. ASCII: false.
bool IsGbkStoredText(std::string_view bytes);
// Whether the texts can be stored as GBK and read back as they are (the test above included).
bool GbkKeepsStoredTexts(const std::vector<std::string>& utf8Texts);

} // namespace rtl
