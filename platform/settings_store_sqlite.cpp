// settings_store_sqlite.cpp: the settings store over an SQLite database.
// Two tables: the keys that exist (a key's parents exist with it) and the
// values, each in a column without type affinity so that SQLite keeps the
// type given (TEXT, REAL as an 8-byte double, INTEGER). The database is in
// WAL mode with a busy timeout, so several runner processes can use it at
// once; every write is one IMMEDIATE transaction. The database is opened on
// first use; a failure to open it, or of any later statement, is reported
// once and turns into the default result.
#include <sqlite3.h>

#include <chrono>
#include <thread>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace {

constexpr int kBusyTimeoutMillis = 2000;
constexpr int kRetryMillis = 5;

const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS settings_keys("
    "  root INTEGER NOT NULL, path TEXT NOT NULL, PRIMARY KEY (root, path)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS settings_values("
    "  root INTEGER NOT NULL, path TEXT NOT NULL, name TEXT NOT NULL, value,"
    "  PRIMARY KEY (root, path, name)) WITHOUT ROWID;";

// The key itself and every parent ("a\b\c" -> "a", "a\b", "a\b\c"); the
// root's own empty path is always there and not stored.
std::vector<std::string> KeyAndParents(const std::string& normal_key) {
  std::vector<std::string> out;
  for (size_t i = 0; i <= normal_key.size(); ++i) {
    if (i == normal_key.size() || normal_key[i] == '\\') {
      if (i > 0) out.push_back(normal_key.substr(0, i));
    }
  }
  return out;
}

class SqliteSettingsStore final : public SettingsStore {
 public:
  SqliteSettingsStore(std::string path, void (*report)(const std::string&))
      : path_(std::move(path)), report_(report) {}
  ~SqliteSettingsStore() override { Close(); }

  bool KeyExists(SettingsRoot root, const std::string& key) override {
    std::string normal = SettingsStore_NormalKey(key);
    if (normal.empty()) return true;  // a root always exists
    if (!Open(false)) return false;
    sqlite3_stmt* st = Prepare("SELECT 1 FROM settings_keys WHERE root = ?1 AND path = ?2");
    if (!st) return false;
    sqlite3_bind_int(st, 1, static_cast<int>(root));
    sqlite3_bind_text(st, 2, normal.data(), static_cast<int>(normal.size()), SQLITE_TRANSIENT);
    int rc = sqlite3_step(st);
    bool found = rc == SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("reading");
    sqlite3_finalize(st);
    return found;
  }

  bool CreateKey(SettingsRoot root, const std::string& key) override {
    std::string normal = SettingsStore_NormalKey(key);
    if (normal.empty()) return true;
    if (!Open()) return false;
    if (!Exec("BEGIN IMMEDIATE")) return false;
    bool ok = InsertKeys(root, normal);
    return Finish(ok);
  }

  std::optional<SettingsValue> Read(SettingsRoot root, const std::string& key,
                                    const std::string& name) override {
    if (!Open(false)) return std::nullopt;
    std::string normal = SettingsStore_NormalKey(key);
    std::string value_name = SettingsStore_NormalName(name);
    sqlite3_stmt* st = Prepare(
        "SELECT value FROM settings_values WHERE root = ?1 AND path = ?2 AND name = ?3");
    if (!st) return std::nullopt;
    sqlite3_bind_int(st, 1, static_cast<int>(root));
    sqlite3_bind_text(st, 2, normal.data(), static_cast<int>(normal.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, value_name.data(), static_cast<int>(value_name.size()),
                      SQLITE_TRANSIENT);
    std::optional<SettingsValue> out;
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      SettingsValue v;
      switch (sqlite3_column_type(st, 0)) {
        case SQLITE_INTEGER:
          v.kind = SettingsValue::Kind::Integer;
          v.integer = sqlite3_column_int64(st, 0);
          out = v;
          break;
        case SQLITE_FLOAT:
          v.kind = SettingsValue::Kind::Real;
          v.real = sqlite3_column_double(st, 0);
          out = v;
          break;
        case SQLITE_TEXT: {
          v.kind = SettingsValue::Kind::String;
          const unsigned char* text = sqlite3_column_text(st, 0);
          v.text.assign(reinterpret_cast<const char*>(text),
                        static_cast<size_t>(sqlite3_column_bytes(st, 0)));
          out = v;
          break;
        }
        default:  // NULL or BLOB: written by something else, unreadable here
          break;
      }
    } else if (rc != SQLITE_DONE) {
      Fail("reading");
    }
    sqlite3_finalize(st);
    return out;
  }

  bool Write(SettingsRoot root, const std::string& key, const std::string& name,
             const SettingsValue& value) override {
    if (!Open()) return false;
    std::string normal = SettingsStore_NormalKey(key);
    std::string value_name = SettingsStore_NormalName(name);
    if (!Exec("BEGIN IMMEDIATE")) return false;
    bool ok = InsertKeys(root, normal);
    sqlite3_stmt* st = ok ? Prepare("INSERT OR REPLACE INTO settings_values(root, path, name, value)"
                                    " VALUES (?1, ?2, ?3, ?4)")
                          : nullptr;
    if (st) {
      sqlite3_bind_int(st, 1, static_cast<int>(root));
      sqlite3_bind_text(st, 2, normal.data(), static_cast<int>(normal.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text(st, 3, value_name.data(), static_cast<int>(value_name.size()),
                        SQLITE_TRANSIENT);
      switch (value.kind) {
        case SettingsValue::Kind::String:
          sqlite3_bind_text(st, 4, value.text.data(), static_cast<int>(value.text.size()),
                            SQLITE_TRANSIENT);
          break;
        case SettingsValue::Kind::Real:
          sqlite3_bind_double(st, 4, value.real);
          break;
        case SettingsValue::Kind::Integer:
          sqlite3_bind_int64(st, 4, value.integer);
          break;
      }
      ok = Step(st);
    } else {
      ok = false;
    }
    return Finish(ok);
  }

  bool DeleteValue(SettingsRoot root, const std::string& key, const std::string& name) override {
    if (!Open()) return false;
    std::string normal = SettingsStore_NormalKey(key);
    std::string value_name = SettingsStore_NormalName(name);
    sqlite3_stmt* st =
        Prepare("DELETE FROM settings_values WHERE root = ?1 AND path = ?2 AND name = ?3");
    if (!st) return false;
    sqlite3_bind_int(st, 1, static_cast<int>(root));
    sqlite3_bind_text(st, 2, normal.data(), static_cast<int>(normal.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, value_name.data(), static_cast<int>(value_name.size()),
                      SQLITE_TRANSIENT);
    return Step(st);
  }

 private:
  // Opens the database once; a store that failed to open stays closed for
  // the rest of the process (the failure has been reported). Reading from a
  // store that does not exist yet makes nothing: only a write creates the
  // file and its folder.
  bool Open(bool for_write = true) {
    if (db_) return true;
    if (open_failed_) return false;
    std::error_code missing;
    if (!for_write && !std::filesystem::exists(path_, missing)) return false;
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    int rc = sqlite3_open_v2(path_.c_str(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
      Fail("opening");
      Close();
      open_failed_ = true;
      return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMillis);
    // WAL lets readers and one writer of other processes go on together;
    // FULL syncs each commit so a written setting survives power loss.
    bool ok = ExecAtOpen("PRAGMA journal_mode=WAL") && ExecAtOpen("PRAGMA synchronous=FULL") &&
              ExecAtOpen(kSchema);
    if (!ok) {
      Close();
      open_failed_ = true;
      return false;
    }
    return true;
  }

  void Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
  }

  // Reports the first failure of this store, once.
  void Fail(const char* doing) {
    if (reported_) return;
    reported_ = true;
    std::string message = "The settings store " + path_ + " failed while " + doing + ": " +
                          (db_ ? sqlite3_errmsg(db_) : "cannot open") +
                          "; settings are not kept this time.";
    if (report_) {
      report_(message);
    } else {
      std::fprintf(stderr, "%s\n", message.c_str());
      std::fflush(stderr);
    }
  }

  // Switching a new file to WAL and making its tables can meet another
  // process doing the same; SQLite does not always call the busy handler
  // there, so these retry for as long as the busy timeout.
  bool ExecAtOpen(const char* sql) {
    for (int waited = 0;; waited += kRetryMillis) {
      int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
      if (rc == SQLITE_OK) return true;
      if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited >= kBusyTimeoutMillis) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMillis));
    }
    Fail("opening");
    return false;
  }

  bool Exec(const char* sql) {
    char* error = nullptr;
    int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc == SQLITE_OK) return true;
    Fail("writing");
    return false;
  }

  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) {
      Fail("reading");
      sqlite3_finalize(st);
      return nullptr;
    }
    return st;
  }

  // Runs a statement that returns no rows and finalizes it.
  bool Step(sqlite3_stmt* st) {
    int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc == SQLITE_DONE) return true;
    Fail("writing");
    return false;
  }

  bool InsertKeys(SettingsRoot root, const std::string& normal_key) {
    for (const std::string& path : KeyAndParents(normal_key)) {
      sqlite3_stmt* st = Prepare("INSERT OR IGNORE INTO settings_keys(root, path) VALUES (?1, ?2)");
      if (!st) return false;
      sqlite3_bind_int(st, 1, static_cast<int>(root));
      sqlite3_bind_text(st, 2, path.data(), static_cast<int>(path.size()), SQLITE_TRANSIENT);
      if (!Step(st)) return false;
    }
    return true;
  }

  // Commits when ok, else rolls back; the result is whether the write took.
  bool Finish(bool ok) {
    if (ok && Exec("COMMIT")) return true;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
  }

  std::string path_;
  void (*report_)(const std::string&);
  sqlite3* db_ = nullptr;
  bool open_failed_ = false;
  bool reported_ = false;
};

}  // namespace

std::unique_ptr<SettingsStore> SettingsStore_OpenSqlite(const std::string& path,
                                                        void (*report)(const std::string&)) {
  return std::make_unique<SqliteSettingsStore>(path, report);
}
