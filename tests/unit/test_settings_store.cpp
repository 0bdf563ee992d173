// test_settings_store.cpp: the settings store (types kept, key and name
// forms, keys and their parents, two processes at once, broken stores), the
// registry builtins over it and the secure-mode decision.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "file_test_support.h"
#include "files/secure_mode.h"

using namespace filetest;

namespace {

using SettingsTest = ScratchTest;

std::vector<std::string>& Reports() {
  static std::vector<std::string> reports;
  return reports;
}
void Collect(const std::string& message) { Reports().push_back(message); }

constexpr SettingsRoot kUser = SettingsRoot::CurrentUser;

TEST_F(SettingsTest, ValuesKeepTheirTypes) {
  auto store = SettingsStore_OpenSqlite("own.db", Collect);
  ASSERT_TRUE(store->WriteString(kUser, "\\Software\\Test", "name", "Ann \xc3\xa9"));
  ASSERT_TRUE(store->WriteReal(kUser, "\\Software\\Test", "score", 0.1));
  ASSERT_TRUE(store->WriteInteger(kUser, "\\Software\\Test", "count", int64_t{1} << 40));
  store.reset();
  store = SettingsStore_OpenSqlite("own.db", Collect);  // a later run
  auto name = store->Read(kUser, "software\\test", "NAME");
  ASSERT_TRUE(name);
  EXPECT_EQ(name->kind, SettingsValue::Kind::String);
  EXPECT_EQ(name->text, "Ann \xc3\xa9");
  auto score = store->Read(kUser, "\\\\SOFTWARE\\\\test\\", "score");
  ASSERT_TRUE(score);
  EXPECT_EQ(score->kind, SettingsValue::Kind::Real);
  EXPECT_EQ(score->real, 0.1);  // all 8 bytes
  EXPECT_EQ(store->ReadInteger(kUser, "Software\\Test", "count"), int64_t{1} << 40);
  EXPECT_EQ(store->ReadReal(kUser, "Software\\Test", "count"), static_cast<double>(int64_t{1} << 40));
  // A string does not read as a number nor a number as a string.
  EXPECT_EQ(store->ReadReal(kUser, "Software\\Test", "name", -1), -1);
  EXPECT_EQ(store->ReadString(kUser, "Software\\Test", "score", "def"), "def");
  // Writing another type replaces the value; roots are separate.
  ASSERT_TRUE(store->WriteString(kUser, "Software\\Test", "score", "high"));
  EXPECT_EQ(store->ReadString(kUser, "Software\\Test", "score"), "high");
  EXPECT_FALSE(store->Read(SettingsRoot::LocalMachine, "Software\\Test", "score"));
  ASSERT_TRUE(store->DeleteValue(kUser, "Software\\Test", "score"));
  EXPECT_FALSE(store->Read(kUser, "Software\\Test", "score"));
  EXPECT_TRUE(Reports().empty());
}

TEST_F(SettingsTest, KeysExistWithTheirParents) {
  auto store = SettingsStore_OpenSqlite("own.db", Collect);
  EXPECT_FALSE(store->KeyExists(kUser, "\\A\\B\\C"));
  ASSERT_TRUE(store->CreateKey(kUser, "\\A\\B\\C"));
  EXPECT_TRUE(store->KeyExists(kUser, "a\\b\\c"));
  EXPECT_TRUE(store->KeyExists(kUser, "\\a\\b"));
  EXPECT_FALSE(store->KeyExists(kUser, "\\a\\b\\c\\d"));
  EXPECT_FALSE(store->KeyExists(SettingsRoot::Users, "\\a"));
  EXPECT_EQ(SettingsStore_NormalKey("\\\\Software\\\\Vexlo\\\\"), "software\\vexlo");
}

TEST_F(SettingsTest, ReadingAMissingStoreMakesNothing) {
  Reports().clear();
  auto store = SettingsStore_OpenSqlite("none/settings.db", Collect);
  EXPECT_FALSE(store->KeyExists(kUser, "\\Software"));
  EXPECT_EQ(store->ReadReal(kUser, "\\Software", "x", 3), 3);
  EXPECT_FALSE(fs::exists("none"));
  EXPECT_TRUE(Reports().empty());
  EXPECT_TRUE(store->WriteReal(kUser, "\\Software", "x", 4));  // a write makes it
  EXPECT_EQ(store->ReadReal(kUser, "\\Software", "x"), 4);
}

TEST_F(SettingsTest, TwoProcessesWriteAtOnce) {
  constexpr int kWrites = 100;
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto store = SettingsStore_OpenSqlite("shared.db", Collect);
    bool ok = true;
    for (int i = 0; i < kWrites; ++i) ok = store->WriteInteger(kUser, "k", "child" + std::to_string(i), i) && ok;
    ::_exit(ok ? 0 : 1);
  }
  auto store = SettingsStore_OpenSqlite("shared.db", Collect);
  int ok = 0;
  for (int i = 0; i < kWrites; ++i) ok += store->WriteInteger(kUser, "k", "parent" + std::to_string(i), i);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(ok, kWrites);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (int i = 0; i < kWrites; ++i) {
    EXPECT_EQ(store->ReadInteger(kUser, "k", "child" + std::to_string(i), -1), i);
    EXPECT_EQ(store->ReadInteger(kUser, "k", "parent" + std::to_string(i), -1), i);
  }
}

TEST_F(SettingsTest, BrokenStoresGiveDefaultsAndReportOnce) {
  WriteFile("corrupt.db", std::string(4096, '\x5a'));
  fs::create_directory("ro");
  std::string unwritable = "ro/sub/settings.db";
  ::chmod("ro", 0500);
  for (const std::string& path : {std::string("corrupt.db"), unwritable}) {
    if (path == unwritable && ::geteuid() == 0) continue;  // root writes anywhere
    SCOPED_TRACE(path);
    Reports().clear();
    auto store = SettingsStore_OpenSqlite(path, Collect);
    EXPECT_FALSE(store->WriteReal(kUser, "k", "v", 1));
    EXPECT_EQ(store->ReadReal(kUser, "k", "v", 7), 7);
    EXPECT_EQ(store->ReadString(kUser, "k", "v", "d"), "d");
    EXPECT_FALSE(store->KeyExists(kUser, "k"));
    EXPECT_EQ(Reports().size(), 1u);
  }
  ::chmod("ro", 0700);
  EXPECT_EQ(ReadFile("corrupt.db"), std::string(4096, '\x5a'));  // nothing lost
}

TEST_F(SettingsTest, RegistryBuiltinsUseTheGameKey) {
  Game().game_id = 4711;
  SettingsStore& store = Settings_Store();
  EXPECT_EQ(CallBuiltin("registry_read_real", {S(u"best")}).val, 0);
  EXPECT_EQ(CallBuiltin("registry_read_string", {S(u"who")}).str, u"");
  EXPECT_FALSE(store.KeyExists(kUser, "\\Software\\Vexlo\\4711"));  // reading creates nothing
  EXPECT_EQ(CallBuiltin("registry_exists", {S(u"best")}).val, 0);
  EXPECT_TRUE(store.KeyExists(kUser, "\\Software\\Vexlo\\4711"));   // opening does
  CallBuiltin("registry_write_real", {S(u"best"), R(0.1)});
  CallBuiltin("registry_write_string", {S(u"who"), S(u"Ann")});
  EXPECT_EQ(CallBuiltin("registry_read_real", {S(u"BEST")}).val, 0.1);
  EXPECT_EQ(CallBuiltin("registry_read_string", {S(u"who")}).str, u"Ann");
  EXPECT_EQ(CallBuiltin("registry_exists", {S(u"who")}).val, 1);
  EXPECT_EQ(store.Read(kUser, "Software\\Vexlo\\4711", "best")->kind, SettingsValue::Kind::Real);

  CallBuiltin("registry_set_root", {R(1)});
  CallBuiltin("registry_write_string_ext", {S(u"\\Software\\Other"), S(u"x"), S(u"machine")});
  EXPECT_EQ(store.ReadString(SettingsRoot::LocalMachine, "software\\other", "x"), "machine");
  EXPECT_EQ(CallBuiltin("registry_read_string_ext", {S(u"Software\\Other"), S(u"x")}).str, u"machine");
  CallBuiltin("registry_set_root", {R(9)});  // any other value: the current user
  EXPECT_EQ(CallBuiltin("registry_read_string_ext", {S(u"Software\\Other"), S(u"x")}).str, u"");
  CallBuiltin("registry_write_real_ext", {S(u"Software\\Other"), S(u"y"), R(3)});
  EXPECT_EQ(CallBuiltin("registry_read_real_ext", {S(u"Software\\Other"), S(u"y")}).val, 3);
  EXPECT_EQ(CallBuiltin("registry_exists_ext", {S(u"Software\\Other"), S(u"y")}).val, 1);
  EXPECT_FALSE(errors_.Occurred());

  Secure_SetMode(true);
  CallBuiltin("registry_write_real_ext", {S(u"Software\\Other"), S(u"y"), R(4)});
  EXPECT_EQ(errors_.Message(), "In Secure mode you cannot write registry entries in Software\\Other");
  errors_.Reset();
  CallBuiltin("registry_write_string_ext", {S(u"Software\\Other"), S(u"y"), S(u"z")});
  EXPECT_EQ(errors_.Message(), "In Secure mode you cannot write registry entries in Software\\Other");
  EXPECT_EQ(CallBuiltin("registry_read_real_ext", {S(u"Software\\Other"), S(u"y")}).val, 3);
  CallBuiltin("registry_write_real", {S(u"best"), R(2)});  // the game key stays writable
  EXPECT_EQ(CallBuiltin("registry_read_real", {S(u"best")}).val, 2);
  Game().game_id = 0;
}

TEST_F(SettingsTest, SecureModeDecision) {
  const std::string key = "\\Software\\Vexlo\\Version 8\\Preferences";
  struct Value {
    bool present;
    bool is_string;
    double real;
    const char* text;
  };
  const Value missing{false, false, 0, ""};
  auto real = [](double x) { return Value{true, false, x, ""}; };
  auto text = [](const char* s) { return Value{true, true, 0, s}; };
  struct Case {
    bool key;
    Value warning;
    Value tooler;
    bool secure;
  } cases[] = {
      {false, missing, missing, false},      {true, missing, missing, false},
      {true, real(1), missing, true},        {true, real(1), real(1), true},
      {true, real(1), real(0), false},       {true, real(0.4), real(1), false},
      {true, real(0.5), missing, true},      {true, text("TRUE"), text("1"), true},
      {true, text("yes"), missing, false},   {true, real(1), text("false"), false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n);
    auto store = SettingsStore_OpenSqlite("decide" + std::to_string(n++) + ".db", Collect);
    if (c.key) store->CreateKey(kUser, key);
    for (auto [name, v] : {std::pair{"Warning", c.warning}, std::pair{"ToolerRunning", c.tooler}}) {
      if (!v.present) continue;
      if (v.is_string) {
        store->WriteString(kUser, key, name, v.text);
      } else {
        store->WriteReal(kUser, key, name, v.real);
      }
    }
    EXPECT_EQ(Secure_Decide(*store), c.secure);
  }
  // The process-wide decision reads the process-wide store.
  Settings_Store().WriteReal(kUser, key, "Warning", 1);
  Files_DecideSecureMode();
  EXPECT_TRUE(Secure_Mode());
  EXPECT_EQ(CallBuiltin("file_text_open_write", {S(u"a/b.txt")}).val, -1);
}

}  // namespace
