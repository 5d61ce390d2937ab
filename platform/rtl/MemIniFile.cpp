#include "platform/rtl/MemIniFile.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include <QString>

#include "platform/rtl/Locale.h"

namespace rtl {

std::string FloatToIniText(double value)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

bool TryIniTextToFloat(std::string_view text, double& value)
{
    std::string t = Trim(text);
    if (t.empty())
        return false;
    const char* first = t.data();
    if (*first == '+')
        ++first;
    auto r = std::from_chars(first, t.data() + t.size(), value);
    return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

TMemIniFile::TMemIniFile(std::string fileName) : fileName_(std::move(fileName))
{
    std::ifstream in(fileName_, std::ios::binary);
    if (in) {
        std::ostringstream text;
        text << in.rdbuf();
        SetText(text.str());
    }
}

bool TMemIniFile::Same(const std::string& a, const std::string& b) const
{
    return caseSensitive_ ? a == b : AnsiSameText(a, b);
}

std::string TMemIniFile::IndexKey(const std::string& name) const
{
    if (caseSensitive_)
        return name;
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toCaseFolded().toStdString();
}

const TMemIniFile::Section* TMemIniFile::FindSection(const std::string& name) const
{
    if (!indexValid_) {
        index_.clear();
        for (std::size_t i = 0; i < sections_.size(); ++i)
            index_.emplace(IndexKey(sections_[i].name), i);   // the first of a name wins
        indexValid_ = true;
    }
    auto it = index_.find(IndexKey(name));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

void TMemIniFile::AddSection(const std::string& name)
{
    sections_.push_back(Section{name, {}});
    if (indexValid_)
        index_.emplace(IndexKey(name), sections_.size() - 1);
}

TMemIniFile::Section* TMemIniFile::FindSection(const std::string& name)
{
    return const_cast<Section*>(static_cast<const TMemIniFile*>(this)->FindSection(name));
}

const TMemIniFile::Key* TMemIniFile::FindKey(const std::string& section, const std::string& ident) const
{
    if (const Section* s = FindSection(section))
        for (const auto& k : s->keys)
            if (Same(k.name, ident))
                return &k;
    return nullptr;
}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) const
{
    const Key* k = FindKey(section, ident);
    return k ? k->value : def;
}

int TMemIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const
{
    int v;
    return TryStrToInt(ReadString(section, ident, ""), v) ? v : def;
}

double TMemIniFile::ReadFloat(const std::string& section, const std::string& ident, double def) const
{
    double v;
    return TryIniTextToFloat(ReadString(section, ident, ""), v) ? v : def;
}

TDateTime TMemIniFile::ReadDateTime(const std::string& section, const std::string& ident, TDateTime def) const
{
    TDateTime v;
    return TryStrToDateTime(ReadString(section, ident, ""), v) ? v : def;
}

bool TMemIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    Section* s = FindSection(section);
    if (!s) {
        AddSection(section);
        s = &sections_.back();
    }
    for (auto& k : s->keys)
        if (Same(k.name, ident)) {
            k.value = value;
            return;
        }
    s->keys.push_back(Key{ident, value});
}

void TMemIniFile::WriteInteger(const std::string& section, const std::string& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

void TMemIniFile::WriteInt64(const std::string& section, const std::string& ident, std::int64_t value)
{
    WriteString(section, ident, IntToStr(value));
}

void TMemIniFile::WriteFloat(const std::string& section, const std::string& ident, double value)
{
    WriteString(section, ident, FloatToIniText(value));
}

void TMemIniFile::WriteDateTime(const std::string& section, const std::string& ident, TDateTime value)
{
    WriteString(section, ident, DateTimeToStr(value));
}

void TMemIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

void TMemIniFile::ReadSection(const std::string& section, TStrings* idents) const
{
    idents->Clear();
    if (const Section* s = FindSection(section))
        for (const auto& k : s->keys)
            idents->Add(k.name);
}

void TMemIniFile::ReadSections(TStrings* sections) const
{
    sections->Clear();
    for (const auto& s : sections_)
        sections->Add(s.name);
}

bool TMemIniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(const std::string& section, const std::string& ident) const
{
    return FindKey(section, ident) != nullptr;
}

void TMemIniFile::EraseSection(const std::string& section)
{
    std::erase_if(sections_, [&](const Section& s) { return Same(s.name, section); });
    indexValid_ = false;
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    if (Section* s = FindSection(section))
        std::erase_if(s->keys, [&](const Key& k) { return Same(k.name, ident); });
}

void TMemIniFile::Clear()
{
    sections_.clear();
    indexValid_ = false;
}

std::string TMemIniFile::GetText() const
{
    std::string text;
    for (const auto& s : sections_) {
        text += "[" + s.name + "]\r\n";
        for (const auto& k : s.keys)
            text += k.name + "=" + k.value + "\r\n";
        text += "\r\n";
    }
    return text;
}

void TMemIniFile::SetText(const std::string& text)
{
    sections_.clear();
    indexValid_ = false;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trim(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            std::string name = line.substr(1, line.size() - 2);
            current = FindSection(name);
            if (!current) {
                AddSection(name);
                current = &sections_.back();
            }
            continue;
        }
        if (!current)
            continue;
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            current->keys.push_back(Key{line, ""});
        else
            current->keys.push_back(Key{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
    }
}

void TMemIniFile::UpdateFile()
{
    std::ofstream out(fileName_, std::ios::binary | std::ios::trunc);
    std::string text = GetText();
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush())
        throw EFCreateError(Format("Cannot create file \"%s\"", fileName_));
}

} // namespace rtl
