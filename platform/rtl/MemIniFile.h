#pragma once
// TMemIniFile: an INI file held in memory. The constructor loads the file when it exists; reads
// and writes work on the memory copy; UpdateFile writes the whole copy back. Unlike TIniFile,
// values are kept exactly as written (only blanks around names and values are dropped, quotes
// stay), sections and keys keep their order, and a key may have an empty name. The file is
// UTF-8 with CR LF line ends. Section and key names compare without regard to case unless
// CaseSensitive is set. Floats use "." and as many digits as the value needs to read back
// exactly; dates use the locale's date-time text.
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Strings.h"

namespace rtl {

class TMemIniFile : public TObject {
    RTL_CLASS(TMemIniFile, TObject)
    explicit TMemIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value)
    {
        caseSensitive_ = value;
        indexValid_ = false;
    }

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& ident, int def) const;
    double ReadFloat(const std::string& section, const std::string& ident, double def) const;
    TDateTime ReadDateTime(const std::string& section, const std::string& ident, TDateTime def) const;
    bool ReadBool(const std::string& section, const std::string& ident, bool def) const;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    void WriteInt64(const std::string& section, const std::string& ident, std::int64_t value);
    void WriteFloat(const std::string& section, const std::string& ident, double value);
    void WriteDateTime(const std::string& section, const std::string& ident, TDateTime value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    void ReadSection(const std::string& section, TStrings* idents) const;   // key names, in order
    void ReadSections(TStrings* sections) const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& ident) const;
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& ident);
    void Clear();

    // The whole content as text, and back (what the file holds).
    std::string GetText() const;
    void SetText(const std::string& text);
    // Writes the file; EFCreateError when it cannot be written.
    void UpdateFile();

private:
    struct Key {
        std::string name, value;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
    };
    bool Same(const std::string& a, const std::string& b) const;
    const Section* FindSection(const std::string& name) const;
    Section* FindSection(const std::string& name);
    const Key* FindKey(const std::string& section, const std::string& ident) const;

    // The name a section is found by (folded unless names are case-sensitive).
    std::string IndexKey(const std::string& name) const;
    void AddSection(const std::string& name);

    std::string fileName_;
    bool caseSensitive_ = false;
    std::vector<Section> sections_;
    // Section positions by name, so that finding a section does not grow with the file; rebuilt
    // when sections are removed.
    mutable std::unordered_map<std::string, std::size_t> index_;
    mutable bool indexValid_ = false;
};

// "." as decimal separator and the shortest text that reads back to the same double.
std::string FloatToIniText(double value);
bool TryIniTextToFloat(std::string_view text, double& value);

} // namespace rtl
