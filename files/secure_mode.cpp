// secure_mode.cpp: deciding secure mode from the player's preferences.
#include "files/secure_mode.h"

#include <optional>

#include "files/files_builtins.h"
#include "platform/settings_store.h"
#include "runner/game_data.h"

namespace {
constexpr const char* kPreferencesKey = "\\Software\\Vexlo\\Version 8\\Preferences";
}  // namespace

bool Secure_Decide(SettingsStore& store) {
  if (!store.KeyExists(SettingsRoot::CurrentUser, kPreferencesKey)) return false;
  std::optional<SettingsValue> warning = store.Read(SettingsRoot::CurrentUser, kPreferencesKey, "Warning");
  if (!warning || !warning->IsTrue()) return false;
  std::optional<SettingsValue> tooler =
      store.Read(SettingsRoot::CurrentUser, kPreferencesKey, "ToolerRunning");
  return !tooler || tooler->IsTrue();
}

void Files_DecideSecureMode() { Secure_SetMode(Secure_Decide(Settings_Store())); }
