#pragma once
// Conversions between the program's UTF-8 text and code page 936 (GBK), the encoding of the
// files the system exchanges with other tools (INI file, logs, meter lists).
#include <string>
#include <string_view>

namespace rtl {

// Characters GBK cannot hold become '?'; nothing is dropped silently from the length.
std::string Utf8ToGbk(std::string_view utf8);
// Bytes that are not valid GBK become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);
// Between any two encodings iconv knows ("UTF-8", "GBK", "CP1252", ...): what cannot be
// converted becomes U+FFFD (into UTF-8) or '?', one for each character, and the conversion goes
// on. An encoding iconv does not know gives the input back unchanged.
std::string ConvertEncoding(const std::string& to, const std::string& from, std::string_view in);

} // namespace rtl
