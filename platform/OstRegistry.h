#pragma once
// The per-user settings store: a registry of keys and typed values (REG_SZ,
// REG_EXPAND_SZ, REG_DWORD) with the operations the program was written
// against. Key and value names are case-insensitive (Windows-1250 case
// tables) and keep the case they were first written with; a value that is
// absent means the caller's default.
//
// Everything lives in one text file (UTF-8, one "[key]" section per key and
// one "name"=type:data line per value). Every save takes a lock, re-reads the
// file and applies only this object's own changes on top of it, so two
// processes saving one after the other both keep their values; the new file
// is written beside the old one, synced and renamed over it, so a crash never
// leaves it half written. A file that cannot be read is renamed aside and
// reported with ERegistryFileDamaged; it is never overwritten.
//
// Changes are saved as they are made, and an operation that changes the store
// (a write, a delete, OpenKey creating a key) throws ERegistryException when
// the file cannot be saved. With LazyWrite on, changes are held until Flush()
// or CloseKey(); the destructor saves what is still held but cannot report a
// failure, so callers that care call CloseKey() or Flush().

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

enum class THKey : uint8_t { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };
inline constexpr THKey HKEY_CLASSES_ROOT = THKey::ClassesRoot;
inline constexpr THKey HKEY_CURRENT_USER = THKey::CurrentUser;
inline constexpr THKey HKEY_LOCAL_MACHINE = THKey::LocalMachine;
inline constexpr THKey HKEY_USERS = THKey::Users;
inline constexpr THKey HKEY_CURRENT_CONFIG = THKey::CurrentConfig;

// The program's settings key under HKEY_CURRENT_USER.
inline constexpr const char* kOstrelSettingsKey = "\\SOFTWARE\\Kalvenor\\Ostrel";

enum TRegDataType : uint8_t { rdUnknown, rdString, rdExpandString, rdInteger };

class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The settings file could not be parsed. It has been renamed to SetAsidePath()
// and the store starts empty.
class ERegistryFileDamaged : public ERegistryException {
public:
    ERegistryFileDamaged(const std::string& message, std::filesystem::path setAside)
        : ERegistryException(message), setAside_(std::move(setAside)) {}
    const std::filesystem::path& SetAsidePath() const { return setAside_; }

private:
    std::filesystem::path setAside_;
};

// $XDG_CONFIG_HOME/ostrel/registry.txt, or ~/.config/ostrel/registry.txt.
std::filesystem::path DefaultRegistryFile();

namespace registry_detail {
struct Key;
struct Value;
struct Tree;
struct Change;
}  // namespace registry_detail

class TRegistry {
public:
    TRegistry();
    explicit TRegistry(std::filesystem::path file);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    const std::filesystem::path& FileName() const { return file_; }

    THKey RootKey() const { return root_; }
    void SetRootKey(THKey root);  // closes the current key

    // Path of the open key below the root, without a leading backslash;
    // empty when no key (or the root itself) is open.
    const std::string& CurrentPath() const { return currentPath_; }
    bool HasCurrentKey() const { return open_; }

    // A key starting with "\" is absolute; otherwise it is relative to the
    // open key. Returns false when the key is missing and not to be created.
    bool OpenKey(std::string_view key, bool canCreate);
    bool OpenKeyReadOnly(std::string_view key);
    bool CreateKey(std::string_view key);
    bool KeyExists(std::string_view key);
    bool DeleteKey(std::string_view key);  // with its subkeys; false when missing
    void CloseKey();                       // saves held changes (may throw)

    // Names of the open key's values (in the order they were first written)
    // and of its subkeys (in case-insensitive order).
    std::vector<std::string> GetValueNames();
    std::vector<std::string> GetKeyNames();
    bool HasSubKeys();

    bool ValueExists(std::string_view name);
    TRegDataType GetDataType(std::string_view name);
    bool DeleteValue(std::string_view name);

    // Reads fail with "Invalid data type for 'NAME'" when the value has another
    // type. A missing string reads as empty; a missing integer fails with
    // "Failed to get data for 'NAME'". Writes fail with
    // "Failed to set data for 'NAME'" when no key is open or it is read-only.
    std::string ReadString(std::string_view name);      // REG_SZ or REG_EXPAND_SZ
    std::string ReadExpandString(std::string_view name);  // likewise, unexpanded
    int32_t ReadInteger(std::string_view name);
    bool ReadBool(std::string_view name) { return ReadInteger(name) != 0; }
    void WriteString(std::string_view name, std::string_view value);
    void WriteExpandString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, int32_t value);
    void WriteBool(std::string_view name, bool value) { WriteInteger(name, value ? 1 : 0); }

    bool LazyWrite() const { return lazyWrite_; }
    void SetLazyWrite(bool lazy) { lazyWrite_ = lazy; }
    // Saves the held changes; throws ERegistryException when the file cannot
    // be written (the changes stay held for another try).
    void Flush();

private:
    using Path = std::vector<std::string>;

    registry_detail::Tree& tree();
    Path resolve(std::string_view key) const;
    const registry_detail::Key* findKey(const Path& path);
    const registry_detail::Value* findValue(std::string_view name);
    void change(registry_detail::Change c);
    void writeValue(std::string_view name, TRegDataType type, std::string_view text, uint32_t number);
    void openPath(Path path, bool readOnly);

    std::filesystem::path file_;
    std::unique_ptr<registry_detail::Tree> tree_;
    std::vector<registry_detail::Change> pending_;
    THKey root_ = HKEY_CURRENT_USER;
    Path current_;
    std::string currentPath_;
    bool open_ = false;
    bool readOnly_ = false;
    bool lazyWrite_ = false;
};

}  // namespace ostrel
