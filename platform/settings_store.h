// settings_store.h: the per-user settings store (what games know as the
// registry): values keyed by root, key path and value name, each keeping its
// type (string, 8-byte real, 64-bit integer). Key paths and value names are
// compared without regard to ASCII case and to leading, trailing or doubled
// backslashes. Keys exist on their own (a key may exist without values).
//
// The store never fails loudly: when it is locked, corrupt or unwritable,
// reads give "absent", writes give false, and the first failure of the
// process is reported once on standard error. The backend is SQLite
// (settings_store_sqlite.cpp); nothing outside it sees SQLite.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The four roots games may choose (registry_set_root); all live in the one
// per-user store.
enum class SettingsRoot : int {
  CurrentUser = 0,
  LocalMachine = 1,
  ClassesRoot = 2,
  Users = 3,
};

struct SettingsValue {
  enum class Kind { String, Real, Integer };
  Kind kind = Kind::String;
  std::string text;  // UTF-8, for String
  double real = 0;   // for Real
  int64_t integer = 0;  // for Integer

  // The number of a Real or Integer value; false for a String.
  bool Number(double& out) const;
  // True for a number >= 0.5 and for the strings "1" and "true" (any case).
  bool IsTrue() const;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual bool KeyExists(SettingsRoot root, const std::string& key) = 0;
  // Creates the key (and nothing else) when it is missing; true when it
  // exists afterwards.
  virtual bool CreateKey(SettingsRoot root, const std::string& key) = 0;
  // The value, or nothing when the key or the value is missing or the store
  // cannot be read.
  virtual std::optional<SettingsValue> Read(SettingsRoot root, const std::string& key,
                                            const std::string& name) = 0;
  // Each write is one transaction: it creates the key when missing and
  // replaces the value (whatever its earlier type). False on failure.
  virtual bool Write(SettingsRoot root, const std::string& key, const std::string& name,
                     const SettingsValue& value) = 0;
  // Deletes one value; true when it is gone afterwards.
  virtual bool DeleteValue(SettingsRoot root, const std::string& key,
                           const std::string& name) = 0;

  // Typed conveniences over Read and Write. The reads give def when the
  // value is missing, unreadable or of another type (an Integer reads as a
  // real too).
  std::string ReadString(SettingsRoot root, const std::string& key, const std::string& name,
                         const std::string& def = {});
  double ReadReal(SettingsRoot root, const std::string& key, const std::string& name,
                  double def = 0);
  int64_t ReadInteger(SettingsRoot root, const std::string& key, const std::string& name,
                      int64_t def = 0);
  bool WriteString(SettingsRoot root, const std::string& key, const std::string& name,
                   const std::string& text);
  bool WriteReal(SettingsRoot root, const std::string& key, const std::string& name, double x);
  bool WriteInteger(SettingsRoot root, const std::string& key, const std::string& name,
                    int64_t n);
};

// The canonical form of a key path: lower-case ASCII, no leading, trailing
// or doubled backslashes ("\Software\\Vexlo\" -> "software\vexlo").
std::string SettingsStore_NormalKey(const std::string& key);
// The canonical form of a value name: lower-case ASCII.
std::string SettingsStore_NormalName(const std::string& name);

// $XDG_CONFIG_HOME/vexlo/settings.db, with ~/.config when XDG_CONFIG_HOME
// is unset or not absolute.
std::string SettingsStore_DefaultPath();

// An SQLite store in the file at path (made with its folder on first use).
// report receives the one failure message of this store; null reports on
// standard error.
std::unique_ptr<SettingsStore> SettingsStore_OpenSqlite(
    const std::string& path, void (*report)(const std::string& message) = nullptr);

// The process-wide store, opened at the default path on first use.
SettingsStore& Settings_Store();
// Points the process-wide store at another file (tests); an empty path goes
// back to the default on next use.
void Settings_UseFile(const std::string& path);
