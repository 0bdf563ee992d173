// settings_store.cpp: the backend-independent part of the settings store:
// key and name canonical forms, typed reads and writes, the default path and
// the process-wide store.
#include "platform/settings_store.h"

#include <cstdlib>

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string g_store_path;
std::unique_ptr<SettingsStore> g_store;

}  // namespace

bool SettingsValue::Number(double& out) const {
  if (kind == Kind::Real) {
    out = real;
    return true;
  }
  if (kind == Kind::Integer) {
    out = static_cast<double>(integer);
    return true;
  }
  return false;
}

bool SettingsValue::IsTrue() const {
  double x = 0;
  if (Number(x)) return x >= 0.5;
  std::string lower;
  for (char c : text) lower += LowerAscii(c);
  return lower == "1" || lower == "true";
}

std::string SettingsStore::ReadString(SettingsRoot root, const std::string& key,
                                      const std::string& name, const std::string& def) {
  std::optional<SettingsValue> v = Read(root, key, name);
  if (!v || v->kind != SettingsValue::Kind::String) return def;
  return v->text;
}

double SettingsStore::ReadReal(SettingsRoot root, const std::string& key,
                               const std::string& name, double def) {
  std::optional<SettingsValue> v = Read(root, key, name);
  double x = 0;
  if (!v || !v->Number(x)) return def;
  return x;
}

int64_t SettingsStore::ReadInteger(SettingsRoot root, const std::string& key,
                                   const std::string& name, int64_t def) {
  std::optional<SettingsValue> v = Read(root, key, name);
  if (!v || v->kind != SettingsValue::Kind::Integer) return def;
  return v->integer;
}

bool SettingsStore::WriteString(SettingsRoot root, const std::string& key,
                                const std::string& name, const std::string& text) {
  SettingsValue v;
  v.kind = SettingsValue::Kind::String;
  v.text = text;
  return Write(root, key, name, v);
}

bool SettingsStore::WriteReal(SettingsRoot root, const std::string& key, const std::string& name,
                              double x) {
  SettingsValue v;
  v.kind = SettingsValue::Kind::Real;
  v.real = x;
  return Write(root, key, name, v);
}

bool SettingsStore::WriteInteger(SettingsRoot root, const std::string& key,
                                 const std::string& name, int64_t n) {
  SettingsValue v;
  v.kind = SettingsValue::Kind::Integer;
  v.integer = n;
  return Write(root, key, name, v);
}

std::string SettingsStore_NormalKey(const std::string& key) {
  std::string out;
  out.reserve(key.size());
  for (char c : key) {
    if (c == '\\') {
      if (!out.empty() && out.back() != '\\') out += '\\';
      continue;
    }
    out += LowerAscii(c);
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::string SettingsStore_NormalName(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name) out += LowerAscii(c);
  return out;
}

std::string SettingsStore_DefaultPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.config";
  }
  return base + "/vexlo/settings.db";
}

SettingsStore& Settings_Store() {
  if (!g_store) {
    g_store = SettingsStore_OpenSqlite(g_store_path.empty() ? SettingsStore_DefaultPath()
                                                            : g_store_path);
  }
  return *g_store;
}

void Settings_UseFile(const std::string& path) {
  g_store.reset();
  g_store_path = path;
}
