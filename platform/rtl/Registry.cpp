#include "platform/rtl/Registry.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <cstring>

#include "platform/rtl/Locale.h"

namespace rtl {

namespace {

const char* const kMarker = "@";   // lists the key's value names; its presence makes the key

QString Enc(const std::string& name)
{
    return QString::fromLatin1(QByteArray::fromStdString(name).toPercentEncoding());
}

std::string Dec(const QString& text)
{
    return QByteArray::fromPercentEncoding(text.toLatin1()).toStdString();
}

const char* RootName(HKEY root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    default: return "HKEY_CURRENT_USER";
    }
}

std::vector<std::string> Segments(const std::string& path)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('\\', pos);
        if (end == std::string::npos)
            end = path.size();
        if (end > pos)
            out.push_back(path.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::string Join(const std::vector<std::string>& parts)
{
    std::string s;
    for (const auto& p : parts)
        s += (s.empty() ? "" : "\\") + p;
    return s;
}

QStringList MarkerNames(const QSettings& s, const QString& group)
{
    QString list = s.value(group + "/" + kMarker).toString();
    return list.isEmpty() ? QStringList() : list.split('/');
}

// The stored spelling of a value name (names compare without regard to case); empty when absent.
QString FindValue(const QStringList& names, const std::string& name)
{
    for (const auto& n : names)
        if (AnsiSameText(Dec(n), name))
            return n;
    return {};
}

std::string Fold(const std::string& name) { return QString::fromStdString(name).toCaseFolded().toStdString(); }

} // namespace

TRegistry::TRegistry() : TRegistry(KEY_ALL_ACCESS) {}

TRegistry::TRegistry(Cardinal access)
    : Access(access),
      settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Ammerlin", "Registry"))
{
}

TRegistry::~TRegistry() { CloseKey(); }

std::string TRegistry::Resolve(const std::string& key) const
{
    if (!key.empty() && key[0] == '\\')
        return Join(Segments(key));
    std::string base = open_ ? currentPath_ : std::string();
    return Join(Segments(base + "\\" + key));
}

// Key names compare without regard to case, as in the registry: each segment takes the
// spelling of an existing subkey of that name.
std::string TRegistry::GroupOf(const std::string& path) const
{
    QString g = RootName(RootKey);
    for (const auto& seg : Segments(path)) {
        auto [entry, made] = subkeys_.try_emplace(g.toStdString());
        if (made) {
            settings_->beginGroup(g);
            const QStringList children = settings_->childGroups();
            settings_->endGroup();
            for (const auto& c : children)
                if (c.startsWith("k_"))   // the first of a name wins, as a search in order finds it
                    entry->second.emplace(Fold(Dec(c.mid(2))), c.toStdString());
        }
        auto child = entry->second.find(Fold(seg));
        g += "/" + (child != entry->second.end() ? QString::fromStdString(child->second) : "k_" + Enc(seg));
    }
    return g.toStdString();
}

bool TRegistry::Exists(const std::string& path) const
{
    return path.empty() || settings_->contains(QString::fromStdString(GroupOf(path)) + "/" + kMarker);
}

void TRegistry::MakeKey(const std::string& path)
{
    std::vector<std::string> parts;
    for (const auto& seg : Segments(path)) {
        parts.push_back(seg);
        const std::string group = GroupOf(Join(parts));
        QString marker = QString::fromStdString(group) + "/" + kMarker;
        if (!settings_->contains(marker)) {
            settings_->setValue(marker, QString());
            // The new key joins its parent's known subkeys.
            const std::size_t slash = group.rfind('/');
            if (auto it = subkeys_.find(group.substr(0, slash)); it != subkeys_.end())
                it->second.emplace(Fold(seg), group.substr(slash + 1));
        }
    }
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    std::string path = Resolve(key);
    bool writable = (Access & 0x6) != 0;
    if (!Exists(path)) {
        if (!canCreate || !writable)
            return false;
        MakeKey(path);
    }
    // Moving to another key keeps what was written in memory; CloseKey and the destructor write
    // the file, so writing many keys in a row does not rewrite the whole file for each.
    pendingSync_ = pendingSync_ || (open_ && !readOnly_);
    currentPath_ = path;
    open_ = true;
    readOnly_ = !writable;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key)
{
    std::string path = Resolve(key);
    if (!Exists(path))
        return false;
    pendingSync_ = pendingSync_ || (open_ && !readOnly_);
    currentPath_ = path;
    open_ = true;
    readOnly_ = true;
    return true;
}

void TRegistry::CloseKey()
{
    if ((open_ && !readOnly_) || pendingSync_)
        settings_->sync();
    pendingSync_ = false;
    open_ = false;
    readOnly_ = false;
    currentPath_.clear();
}

bool TRegistry::CreateKey(const std::string& key)
{
    if ((Access & 0x6) == 0)
        return false;
    MakeKey(Resolve(key));
    settings_->sync();
    return true;
}

bool TRegistry::DeleteKey(const std::string& key)
{
    std::string path = Resolve(key);
    if (path.empty() || !Exists(path) || (Access & 0x6) == 0)
        return false;
    settings_->remove(QString::fromStdString(GroupOf(path)));
    subkeys_.clear();
    settings_->sync();
    return true;
}

bool TRegistry::KeyExists(const std::string& key) { return Exists(Resolve(key)); }

bool TRegistry::ValueExists(const std::string& name)
{
    return open_ && !FindValue(MarkerNames(*settings_, QString::fromStdString(GroupOf(currentPath_))), name).isEmpty();
}

bool TRegistry::DeleteValue(const std::string& name)
{
    if (!ValueExists(name) || readOnly_)
        return false;
    QString group = QString::fromStdString(GroupOf(currentPath_));
    QStringList names = MarkerNames(*settings_, group);
    QString spelled = FindValue(names, name);
    names.removeAll(spelled);
    settings_->setValue(group + "/" + kMarker, names.join('/'));
    settings_->remove(group + "/v_" + spelled);
    return true;
}

void TRegistry::GetKeyNames(TStrings* strings)
{
    strings->Clear();
    if (!open_)
        return;
    settings_->beginGroup(QString::fromStdString(GroupOf(currentPath_)));
    QStringList groups = settings_->childGroups();
    settings_->endGroup();
    std::vector<std::string> names;
    for (const auto& g : groups)
        if (g.startsWith("k_"))
            names.push_back(Dec(g.mid(2)));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareText(a, b) < 0;
    });
    for (const auto& n : names)
        strings->Add(n);
}

void TRegistry::GetValueNames(TStrings* strings)
{
    strings->Clear();
    if (!open_)
        return;
    for (const auto& n : MarkerNames(*settings_, QString::fromStdString(GroupOf(currentPath_))))
        strings->Add(Dec(n));
}

TRegistry::Stored TRegistry::Get(const std::string& name) const
{
    Stored st;
    if (!open_)
        return st;
    QString group = QString::fromStdString(GroupOf(currentPath_));
    QString spelled = FindValue(MarkerNames(*settings_, group), name);
    if (spelled.isEmpty())
        return st;
    QString raw = settings_->value(group + "/v_" + spelled).toString();
    if (raw.size() < 2 || raw[1] != ':')
        return st;
    QString body = raw.mid(2);
    switch (raw[0].toLatin1()) {
    case 's': st.type = rdString; st.text = body.toStdString(); break;
    case 'e': st.type = rdExpandString; st.text = body.toStdString(); break;
    case 'i': st.type = rdInteger; st.text = body.toStdString(); break;
    case 'b': {
        st.type = rdBinary;
        QByteArray bytes = QByteArray::fromHex(body.toLatin1());
        st.bytes.assign(bytes.begin(), bytes.end());
        break;
    }
    default: break;
    }
    return st;
}

TRegDataType TRegistry::GetDataType(const std::string& name)
{
    return ValueExists(name) ? Get(name).type : rdUnknown;
}

void TRegistry::CheckWritable(const std::string& name) const
{
    if (!open_ || readOnly_)
        throw ERegistryException(Format("Failed to set data for '%s'", name));
}

void TRegistry::Put(const std::string& name, const std::string& stored)
{
    CheckWritable(name);
    QString group = QString::fromStdString(GroupOf(currentPath_));
    QStringList names = MarkerNames(*settings_, group);
    QString spelled = FindValue(names, name);
    if (spelled.isEmpty()) {
        spelled = Enc(name);
        names.append(spelled);
        settings_->setValue(group + "/" + kMarker, names.join('/'));
    }
    settings_->setValue(group + "/v_" + spelled, QString::fromStdString(stored));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) { Put(name, "s:" + value); }
void TRegistry::WriteExpandString(const std::string& name, const std::string& value) { Put(name, "e:" + value); }
void TRegistry::WriteInteger(const std::string& name, int value) { Put(name, "i:" + IntToStr(value)); }
void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int size)
{
    QByteArray bytes(static_cast<const char*>(buffer), size);
    Put(name, "b:" + bytes.toHex().toStdString());
}

void TRegistry::WriteFloat(const std::string& name, double value) { WriteBinaryData(name, &value, sizeof value); }
void TRegistry::WriteCurrency(const std::string& name, Currency value) { WriteBinaryData(name, &value.Value, sizeof value.Value); }
void TRegistry::WriteDateTime(const std::string& name, TDateTime value) { WriteBinaryData(name, &value, sizeof value); }

std::string TRegistry::ReadString(const std::string& name)
{
    Stored st = Get(name);
    if (st.type == rdUnknown && !ValueExists(name))
        return {};
    if (st.type != rdString && st.type != rdExpandString)
        throw ERegistryException(Format("Invalid data type for '%s'", name));
    return st.text;
}

int TRegistry::ReadInteger(const std::string& name)
{
    Stored st = Get(name);
    int v = 0;
    if (st.type != rdInteger || !TryStrToInt(st.text, v))
        throw ERegistryException(Format("Invalid data type for '%s'", name));
    return v;
}

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }

std::vector<Byte> TRegistry::ReadBinaryData(const std::string& name)
{
    Stored st = Get(name);
    if (st.type != rdBinary)
        throw ERegistryException(Format("Invalid data type for '%s'", name));
    return st.bytes;
}

std::vector<Byte> TRegistry::ReadBinary8(const std::string& name)
{
    std::vector<Byte> bytes = ReadBinaryData(name);
    if (bytes.size() != 8)
        throw ERegistryException(Format("Invalid data type for '%s'", name));
    return bytes;
}

double TRegistry::ReadFloat(const std::string& name)
{
    double v;
    std::memcpy(&v, ReadBinary8(name).data(), 8);
    return v;
}

Currency TRegistry::ReadCurrency(const std::string& name)
{
    std::int64_t v;
    std::memcpy(&v, ReadBinary8(name).data(), 8);
    return Currency::FromScaled(v);
}

TDateTime TRegistry::ReadDateTime(const std::string& name) { return ReadFloat(name); }

} // namespace rtl
