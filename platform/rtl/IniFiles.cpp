#include "platform/rtl/IniFiles.h"

#include "platform/rtl/CodePage.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace rtl {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// Names compare like the private-profile functions do: ASCII letters without case, every other
// byte (the Chinese names) exactly.
bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && (x >= 0x80 || y >= 0x80 || std::tolower(x) != std::tolower(y)))
            return false;
    }
    return true;
}

std::string Unquote(const std::string& v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string name;   // section or key
    std::string value;  // trimmed, quotes kept
};

ParsedLine Parse(const std::string& text)
{
    ParsedLine p;
    const std::string t = Trim(text);
    if (t.empty() || t[0] == ';')
        return p;
    if (t[0] == '[') {
        const auto close = t.find(']');
        p.kind = LineKind::Section;
        p.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return p;
    }
    const auto eq = t.find('=');
    if (eq == std::string::npos)
        return p;
    p.name = Trim(t.substr(0, eq));
    if (p.name.empty())
        return p;
    p.kind = LineKind::Key;
    p.value = Trim(t.substr(eq + 1));
    return p;
}

// A name as SameName compares it: ASCII letters folded to lower case.
std::string FoldedName(std::string name)
{
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x80)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

void CheckName(const std::string& what, const std::string& s)
{
    if (s.find_first_of("\r\n") != std::string::npos)
        throw std::invalid_argument("line break in an INI " + what + ": " + s);
}

std::string LoadFile(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return {};  // a missing or unreadable file reads as empty: every key takes its default
    const QByteArray data = f.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

} // namespace

// Why a file cannot be written, as an errno value: asked of the system again, since the save's
// own steps leave no reliable errno behind.
static int WriteErrorOf(const std::string& path, int fallback)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
        if (fd < 0)
            return errno;
        ::close(fd);
    } else if (errno != ENOENT) {
        return errno;
    } else {
        const auto slash = path.find_last_of('/');
        const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        if (::access(dir.c_str(), W_OK) != 0)
            return errno;
    }
    return fallback != 0 ? fallback : EIO;
}

void SaveIniFile(const std::string& path, const std::string& bytes)
{
    QSaveFile f(QString::fromStdString(path));
    // A folder that forbids new files may still let us rewrite the file itself.
    f.setDirectWriteFallback(true);
    const bool ok = f.open(QIODevice::WriteOnly)
        && f.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size())
        && f.commit();
    if (!ok) {
        const int saved = errno;
        throw EIniFileException(path, WriteErrorOf(path, saved));
    }
}

// ---------------------------------------------------------------------------------------------

IniText::IniText(std::string gbkBytes) : bytes_(std::move(gbkBytes)) {}

std::vector<IniText::Line> IniText::Lines() const
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < bytes_.size()) {
        const auto nl = bytes_.find('\n', pos);
        Line line;
        line.begin = pos;
        if (nl == std::string::npos) {
            line.length = bytes_.size() - pos;
            line.end = bytes_.size();
        } else {
            line.length = nl - pos;
            if (line.length > 0 && bytes_[nl - 1] == '\r')
                --line.length;
            line.end = nl + 1;
        }
        lines.push_back(line);
        pos = line.end;
    }
    return lines;
}

std::string IniText::LineText(const Line& line) const
{
    // GBK trail bytes may look like '[' or ']', so lines are parsed only after conversion.
    return GbkToUtf8(std::string_view(bytes_).substr(line.begin, line.length));
}

std::string IniText::NewLine() const
{
    const auto nl = bytes_.find('\n');
    if (nl != std::string::npos && (nl == 0 || bytes_[nl - 1] != '\r'))
        return "\n";
    return "\r\n";
}

bool IniText::Find(const std::string& section, const std::string& key, std::string& value) const
{
    bool inSection = false;
    for (const Line& line : Lines()) {
        const ParsedLine p = Parse(LineText(line));
        if (p.kind == LineKind::Section) {
            // Only the first section of a name counts, as with the private-profile functions.
            if (inSection)
                return false;
            inSection = SameName(p.name, section);
        } else if (inSection && p.kind == LineKind::Key && SameName(p.name, key)) {
            value = Unquote(p.value);
            return true;
        }
    }
    return false;
}

bool IniText::HasSection(const std::string& section) const
{
    for (const Line& line : Lines()) {
        const ParsedLine p = Parse(LineText(line));
        if (p.kind == LineKind::Section && SameName(p.name, section))
            return true;
    }
    return false;
}

std::vector<std::string> IniText::Keys(const std::string& section) const
{
    std::vector<std::string> keys;
    for (auto& [key, value] : Values(section))
        keys.push_back(std::move(key));
    return keys;
}

std::vector<std::pair<std::string, std::string>> IniText::Values(const std::string& section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    std::unordered_set<std::string> seen;
    bool inSection = false;
    for (const Line& line : Lines()) {
        const ParsedLine p = Parse(LineText(line));
        if (p.kind == LineKind::Section) {
            if (inSection)
                break;
            inSection = SameName(p.name, section);
        } else if (inSection && p.kind == LineKind::Key && seen.insert(FoldedName(p.name)).second) {
            values.emplace_back(p.name, Unquote(p.value));
        }
    }
    return values;
}

void IniText::SetMany(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values)
{
    CheckName("section", section);
    // The entries to write: of a key given twice the last spelling and value, at the place of
    // the first.
    std::vector<std::pair<std::string, std::string>> entries;
    std::unordered_map<std::string, std::size_t> entryOf;
    for (const auto& [key, value] : values) {
        CheckName("key", key);
        CheckName("value", value);
        const auto [it, added] = entryOf.emplace(FoldedName(key), entries.size());
        if (added)
            entries.emplace_back(key, value);
        else
            entries[it->second] = {key, value};
    }
    if (entries.empty())
        return;
    const std::string nl = NewLine();
    const auto entryBytes = [](const std::pair<std::string, std::string>& e) {
        return Utf8ToGbk(e.first + "=" + e.second);
    };

    const std::vector<Line> lines = Lines();
    std::vector<bool> written(entries.size(), false);
    std::vector<std::pair<std::size_t, std::string>> replacements;  // line index, new bytes
    std::size_t lastFilled = lines.size();  // none
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine p = Parse(LineText(lines[i]));
        if (p.kind == LineKind::Section) {
            if (inSection)
                break;
            inSection = SameName(p.name, section);
            if (inSection)
                lastFilled = i;
            continue;
        }
        if (!inSection)
            continue;
        if (p.kind == LineKind::Key) {
            const auto it = entryOf.find(FoldedName(p.name));
            if (it != entryOf.end() && !written[it->second]) {
                written[it->second] = true;
                replacements.emplace_back(i, entryBytes(entries[it->second]));
            }
        }
        if (!Trim(LineText(lines[i])).empty())
            lastFilled = i;
    }
    std::string added;  // the new keys, each followed by a line end
    for (std::size_t k = 0; k < entries.size(); ++k)
        if (!written[k])
            added += entryBytes(entries[k]) + nl;

    if (lastFilled == lines.size()) {
        std::string out = bytes_;
        if (!out.empty() && out.back() != '\n')
            out += nl;
        bytes_ = out + Utf8ToGbk("[" + section + "]") + nl + added;
        return;
    }
    std::string out;
    out.reserve(bytes_.size() + added.size() + 64);
    std::size_t next = 0;  // next replacement
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (next < replacements.size() && replacements[next].first == i) {
            out += replacements[next].second;
            out.append(bytes_, line.begin + line.length, line.end - line.begin - line.length);
            ++next;
        } else {
            out.append(bytes_, line.begin, line.end - line.begin);
        }
        if (i == lastFilled && !added.empty()) {
            const bool hasLineEnd = line.end > line.begin + line.length;
            // Without a line end the new keys are joined by line ends, as single writes join them.
            out += hasLineEnd ? added : nl + added.substr(0, added.size() - nl.size());
        }
    }
    bytes_ = std::move(out);
}

void IniText::Set(const std::string& section, const std::string& key, const std::string& value)
{
    CheckName("section", section);
    CheckName("key", key);
    CheckName("value", value);
    const std::string entry = Utf8ToGbk(key + "=" + value);
    const std::string nl = NewLine();

    const std::vector<Line> lines = Lines();
    const Line* lastFilled = nullptr;  // last non-blank line of the section, header included
    bool inSection = false;
    for (const Line& line : lines) {
        const ParsedLine p = Parse(LineText(line));
        if (p.kind == LineKind::Section) {
            if (inSection)
                break;
            inSection = SameName(p.name, section);
            if (inSection)
                lastFilled = &line;
            continue;
        }
        if (!inSection)
            continue;
        if (p.kind == LineKind::Key && SameName(p.name, key)) {
            bytes_.replace(line.begin, line.length, entry);
            return;
        }
        if (!Trim(LineText(line)).empty())
            lastFilled = &line;
    }
    if (lastFilled) {
        // New keys go right after the section's last line, before any blank lines.
        const bool hasLineEnd = lastFilled->end > lastFilled->begin + lastFilled->length;
        bytes_.insert(lastFilled->end, hasLineEnd ? entry + nl : nl + entry);
        return;
    }
    if (!bytes_.empty() && bytes_.back() != '\n')
        bytes_ += nl;
    bytes_ += Utf8ToGbk("[" + section + "]") + nl + entry + nl;
}

// ---------------------------------------------------------------------------------------------

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    std::string value;
    if (IniText(LoadFile(fileName_)).Find(section, key, value))
        return value;
    return defaultValue;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    return ParseInteger(ReadString(section, key, ""), defaultValue);
}

int TIniFile::ParseInteger(const std::string& text, int defaultValue)
{
    if (text.empty())
        return defaultValue;
    std::string digits = text;
    int base = 10;
    bool negative = false;
    if (digits[0] == '-' || digits[0] == '+') {
        negative = digits[0] == '-';
        digits.erase(0, 1);
    }
    if (digits.size() > 1 && digits[0] == '$') {
        digits.erase(0, 1);
        base = 16;
    } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.erase(0, 2);
        base = 16;
    }
    if (digits.empty() || !std::isxdigit(static_cast<unsigned char>(digits[0])))
        return defaultValue;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(digits.c_str(), &end, base);
    if (*end != '\0' || errno == ERANGE)
        return defaultValue;
    const long long signedValue = negative ? -v : v;
    if (signedValue < std::numeric_limits<int>::min() || signedValue > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(signedValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    IniText text(LoadFile(fileName_));
    text.Set(section, key, value);
    SaveIniFile(fileName_, text.Bytes());
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const
{
    return IniText(LoadFile(fileName_)).HasSection(section);
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    std::string value;
    return IniText(LoadFile(fileName_)).Find(section, key, value);
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const
{
    return IniText(LoadFile(fileName_)).Keys(section);
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(const std::string& section) const
{
    return IniText(LoadFile(fileName_)).Values(section);
}

void TIniFile::WriteSectionValues(const std::string& section,
                                  const std::vector<std::pair<std::string, std::string>>& values)
{
    IniText text(LoadFile(fileName_));
    text.SetMany(section, values);
    SaveIniFile(fileName_, text.Bytes());
}

} // namespace rtl
