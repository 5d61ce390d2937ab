#pragma once
// The settings file: an INI reader and writer with the behaviour of the Windows private-profile
// functions that the console was built around. Every call goes to the file itself (read fresh,
// written through at once), so several objects on the same file never overwrite each other's
// keys. Section and key names compare without regard to ASCII case; values are trimmed of
// surrounding blanks and one pair of enclosing quotes. Updates change only the line of the key
// (or add a line), so comments, unknown sections and their bytes stay as they were. The file is
// GBK on disk; the interface speaks UTF-8.
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace rtl {

// A settings file that could not be written (read-only folder, full disk, ...). The message
// names the file: "Unable to write to <path>"; the file and the system's error number are kept
// for callers that tell the reason in their own words.
class EIniFileException : public std::runtime_error {
public:
    EIniFileException(const std::string& fileName, int error)
        : std::runtime_error("Unable to write to " + fileName), fileName_(fileName), error_(error) {}
    const std::string& FileName() const { return fileName_; }
    int Error() const { return error_; }  // an errno value

private:
    std::string fileName_;
    int error_;
};

// Writes the whole file (GBK bytes) in one step; a failure throws EIniFileException.
void SaveIniFile(const std::string& path, const std::string& bytes);

class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Decimal (with sign) or hexadecimal with "0x" or "$"; anything else gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // A value text read as ReadInteger reads it.
    static int ParseInteger(const std::string& text, int defaultValue);
    // Stored as an integer: non-zero is true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    // Each write reaches the disk before it returns; a failure throws EIniFileException.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // The key names of a section, in file order, without duplicates.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // The keys and values of a section in one reading, in file order; of duplicate keys the
    // first counts.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& section) const;
    // Several keys of a section in one write; the file ends as after WriteString of each pair
    // in order.
    void WriteSectionValues(const std::string& section,
                            const std::vector<std::pair<std::string, std::string>>& values);

private:
    std::string fileName_;
};

// The INI text model behind TIniFile, usable on its own (tests, tools). Lines are kept as the raw
// GBK bytes they were read as, with their own line ends.
class IniText {
public:
    explicit IniText(std::string gbkBytes = {});

    const std::string& Bytes() const { return bytes_; }
    bool Find(const std::string& section, const std::string& key, std::string& value) const;
    bool HasSection(const std::string& section) const;
    std::vector<std::string> Keys(const std::string& section) const;
    std::vector<std::pair<std::string, std::string>> Values(const std::string& section) const;
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // As Set of each pair in order, with one pass over the text.
    void SetMany(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values);

private:
    struct Line {
        std::size_t begin = 0;   // offset of the line in bytes_
        std::size_t length = 0;  // without the line end
        std::size_t end = 0;     // offset after the line end
    };
    std::vector<Line> Lines() const;
    std::string LineText(const Line& line) const;  // UTF-8
    std::string NewLine() const;

    std::string bytes_;
};

} // namespace rtl
