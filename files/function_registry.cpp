// function_registry.cpp: the registry builtins of game code over the
// settings store: the game's own key ("\Software\Vexlo\" + game id under
// the current user) and any key below the chosen root (the _ext forms).
// Strings are kept as strings and reals as 8-byte doubles. Failures are
// silent: reads give "" or 0 (the store reports its own failure once).
#include "code/code_function.h"
#include "files/function_file_util.h"
#include "platform/settings_store.h"

using namespace files_detail;

namespace {

SettingsRoot g_root = SettingsRoot::CurrentUser;

std::string GameKey() { return "\\Software\\Vexlo\\" + std::to_string(Game().game_id); }

struct Place {
  SettingsRoot root;
  std::string key;
};

Place GamePlace() { return {SettingsRoot::CurrentUser, GameKey()}; }
Place ExtPlace(const RValue& key) { return {g_root, ToUtf8(key.str)}; }

void WriteString(const Place& p, const RValue& name, const RValue& text) {
  Settings_Store().WriteString(p.root, p.key, ToUtf8(name.str), ToUtf8(text.str));
}

void WriteReal(const Place& p, const RValue& name, const RValue& x) {
  Settings_Store().WriteReal(p.root, p.key, ToUtf8(name.str), x.val);
}

void ReadString(RValue& r, const Place& p, const RValue& name) {
  SetString(r, FromUtf8(Settings_Store().ReadString(p.root, p.key, ToUtf8(name.str))));
}

void ReadReal(RValue& r, const Place& p, const RValue& name) {
  SetReal(r, Settings_Store().ReadReal(p.root, p.key, ToUtf8(name.str)));
}

// Opening the key for the question creates it when missing.
void Exists(RValue& r, const Place& p, const RValue& name) {
  SettingsStore& store = Settings_Store();
  store.CreateKey(p.root, p.key);
  SetReal(r, store.Read(p.root, p.key, ToUtf8(name.str)).has_value() ? 1 : 0);
}

bool RefuseExtWrite(const RValue& key) {
  if (!Secure_Mode()) return false;
  Report("In Secure mode you cannot write registry entries in " + ToUtf8(key.str));
  return true;
}

void F_RegistryWriteString(RValue&, CInstance*, CInstance*, int, RValue* a) {
  WriteString(GamePlace(), a[0], a[1]);
}
void F_RegistryWriteReal(RValue&, CInstance*, CInstance*, int, RValue* a) {
  WriteReal(GamePlace(), a[0], a[1]);
}
void F_RegistryReadString(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  ReadString(r, GamePlace(), a[0]);
}
void F_RegistryReadReal(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  ReadReal(r, GamePlace(), a[0]);
}
void F_RegistryExists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  Exists(r, GamePlace(), a[0]);
}

void F_RegistryWriteStringExt(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (RefuseExtWrite(a[0])) return;
  WriteString(ExtPlace(a[0]), a[1], a[2]);
}
void F_RegistryWriteRealExt(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (RefuseExtWrite(a[0])) return;
  WriteReal(ExtPlace(a[0]), a[1], a[2]);
}
void F_RegistryReadStringExt(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  ReadString(r, ExtPlace(a[0]), a[1]);
}
void F_RegistryReadRealExt(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  ReadReal(r, ExtPlace(a[0]), a[1]);
}
void F_RegistryExistsExt(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  Exists(r, ExtPlace(a[0]), a[1]);
}

void F_RegistrySetRoot(RValue&, CInstance*, CInstance*, int, RValue* a) {
  switch (RoundOr(a[0].val, 0)) {
    case 1:
      g_root = SettingsRoot::LocalMachine;
      break;
    case 2:
      g_root = SettingsRoot::ClassesRoot;
      break;
    case 3:
      g_root = SettingsRoot::Users;
      break;
    default:
      g_root = SettingsRoot::CurrentUser;
      break;
  }
}

}  // namespace

void Files_RegisterRegistryFunctions() {
  Function_Add("registry_write_string", F_RegistryWriteString, 2);
  Function_Add("registry_write_real", F_RegistryWriteReal, 2);
  Function_Add("registry_read_string", F_RegistryReadString, 1);
  Function_Add("registry_read_real", F_RegistryReadReal, 1);
  Function_Add("registry_exists", F_RegistryExists, 1);
  Function_Add("registry_write_string_ext", F_RegistryWriteStringExt, 3);
  Function_Add("registry_write_real_ext", F_RegistryWriteRealExt, 3);
  Function_Add("registry_read_string_ext", F_RegistryReadStringExt, 2);
  Function_Add("registry_read_real_ext", F_RegistryReadRealExt, 2);
  Function_Add("registry_exists_ext", F_RegistryExistsExt, 2);
  Function_Add("registry_set_root", F_RegistrySetRoot, 1);
}
