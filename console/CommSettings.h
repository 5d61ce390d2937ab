#pragma once
// The line settings string of the serial control: rate, parity letter, data bits and stop bits
// separated by commas, "9600,e,8,1".
#include <optional>
#include <string>

struct TCommSettings {
    int BaudRate = 9600;
    char Parity = 'e';  // n, o, e, m or s
    int DataBits = 8;   // 5 to 8
    int StopBits = 1;   // 1 or 2

    friend bool operator==(const TCommSettings&, const TCommSettings&) = default;
};

// Blanks around the fields and an upper-case parity letter are accepted. On failure `error`
// says what is wrong, in the words the operator sees.
std::optional<TCommSettings> ParseCommSettings(const std::string& text, std::string* error = nullptr);
// Always the canonical form: "115200,n,8,2".
std::string FormatCommSettings(const TCommSettings& settings);
