#pragma once
// TRegistry: the registry emulated with QSettings. The store is an INI file under the user's
// configuration folder (organisation "Ammerlin", application "Registry"; tests move it with
// QSettings::setPath). Every root key is a top group, every key a group below it; a key exists
// when its marker is present, so empty keys survive. Values keep their kind (string, expandable
// string, integer, binary). Key and value names compare without regard to case and keep
// the spelling they were created with.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Strings.h"

class QSettings;

namespace rtl {

RTL_EXCEPTION(ERegistryException, Exception);

using HKEY = std::uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;

inline constexpr Cardinal KEY_READ = 0x20019;
inline constexpr Cardinal KEY_WRITE = 0x20006;
inline constexpr Cardinal KEY_ALL_ACCESS = 0xF003F;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry : public TObject {
    RTL_CLASS(TRegistry, TObject)
    TRegistry();
    explicit TRegistry(Cardinal access);
    ~TRegistry() override;

    HKEY RootKey = HKEY_CURRENT_USER;
    Cardinal Access = KEY_ALL_ACCESS;
    // The open key's path below the root key, without a leading "\"; empty when none is open.
    const std::string& CurrentPath() const { return currentPath_; }
    bool HasCurrentKey() const { return open_; }

    // A key starting with "\" is absolute, any other is relative to the open key.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool CreateKey(const std::string& key);
    bool DeleteKey(const std::string& key);   // the key and everything below it
    bool KeyExists(const std::string& key);
    bool ValueExists(const std::string& name);
    bool DeleteValue(const std::string& name);
    void GetKeyNames(TStrings* strings);     // subkeys of the open key, sorted
    void GetValueNames(TStrings* strings);   // values of the open key, in stored order
    TRegDataType GetDataType(const std::string& name);

    // Writes need an open key opened for writing; ERegistryException otherwise.
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);
    void WriteFloat(const std::string& name, double value);
    void WriteCurrency(const std::string& name, Currency value);
    void WriteDateTime(const std::string& name, TDateTime value);
    void WriteBinaryData(const std::string& name, const void* buffer, int size);

    // Reads raise ERegistryException ("Invalid data type for '<name>'") when the value has
    // another kind; a missing string reads as empty, a missing integer raises.
    std::string ReadString(const std::string& name);
    int ReadInteger(const std::string& name);
    bool ReadBool(const std::string& name);
    double ReadFloat(const std::string& name);
    Currency ReadCurrency(const std::string& name);
    TDateTime ReadDateTime(const std::string& name);
    std::vector<Byte> ReadBinaryData(const std::string& name);

private:
    struct Stored {
        TRegDataType type = rdUnknown;
        std::string text;
        std::vector<Byte> bytes;
    };
    std::string Resolve(const std::string& key) const;   // full path below the root key
    std::string GroupOf(const std::string& path) const;   // QSettings group of a key path
    bool Exists(const std::string& path) const;
    void MakeKey(const std::string& path);
    void CheckWritable(const std::string& name) const;
    void Put(const std::string& name, const std::string& stored);
    Stored Get(const std::string& name) const;
    std::vector<Byte> ReadBinary8(const std::string& name);

    std::unique_ptr<QSettings> settings_;
    // Each group's subkeys by folded name, listed once per registry object (and kept up to date
    // with its own changes), so that walking many keys below one parent does not list the
    // parent's subkeys again for each. Keys another registry object makes meanwhile are not
    // seen: the objects are meant to be short-lived.
    mutable std::unordered_map<std::string, std::unordered_map<std::string, std::string>> subkeys_;
    std::string currentPath_;
    bool open_ = false;
    bool readOnly_ = false;
    bool pendingSync_ = false;
};

} // namespace rtl
