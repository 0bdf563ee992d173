// test_file_system.cpp: file names as text, the file-system functions, the
// file search and attributes, secure-mode refusals, included files,
// programs, the command line, the environment and disk space.
#include <sys/stat.h>

#include "file_test_support.h"
#include "files/file_names.h"
#include "runner/datafile_class.h"
#include "runner/runner_form.h"

using namespace filetest;

namespace {

using FileSystemTest = ScratchTest;

TEST(FileNames, TextFunctionsWithBothSeparators) {
  struct Case {
    const char16_t* name;
    const char16_t* file;
    const char16_t* path;
    const char16_t* dir;
    const char16_t* drive;
    const char16_t* ext;
  } cases[] = {
      {u"C:\\games\\a.txt", u"a.txt", u"C:\\games\\", u"C:\\games", u"C:", u".txt"},
      {u"C:/games/a.txt", u"a.txt", u"C:/games/", u"C:/games", u"C:", u".txt"},
      {u"C:\\a.txt", u"a.txt", u"C:\\", u"C:\\", u"C:", u".txt"},
      {u"saves/x.tar.gz", u"x.tar.gz", u"saves/", u"saves", u"", u".gz"},
      {u"noext", u"noext", u"", u"", u"", u""},
      {u"dir.d\\file", u"file", u"dir.d\\", u"dir.d", u"", u""},
      {u"\\\\server\\share\\f.ini", u"f.ini", u"\\\\server\\share\\", u"\\\\server\\share",
       u"\\\\server\\share", u".ini"},
      {u"", u"", u"", u"", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.name));
    EXPECT_EQ(File_NameOf(c.name), c.file);
    EXPECT_EQ(File_PathOf(c.name), c.path);
    EXPECT_EQ(File_DirOf(c.name), c.dir);
    EXPECT_EQ(File_DriveOf(c.name), c.drive);
    EXPECT_EQ(File_ExtOf(c.name), c.ext);
  }
  EXPECT_EQ(File_ChangeExt(u"a\\b.txt", u".sav"), u"a\\b.sav");
  EXPECT_EQ(File_ChangeExt(u"a.d/b", u".sav"), u"a.d/b.sav");
  EXPECT_EQ(CallBuiltin("filename_path", {S(u"C:\\games\\a.txt")}).str, u"C:\\games\\");
  EXPECT_EQ(CallBuiltin("filename_change_ext", {S(u"x.txt"), S(u"")}).str, u"x");
}

TEST(FileNames, ReachingOutside) {
  struct Case {
    const char16_t* name;
    bool outside;
  } cases[] = {{u"..", true},        {u"../a", true},       {u"a\\..\\..\\b", true},
               {u"a/../b", false},   {u"a/./b/../c", false}, {u"...", false},
               {u"a..b", false},     {u"./..", true},       {u"x", false}};
  for (const Case& c : cases) EXPECT_EQ(File_ReachesOutside(c.name), c.outside) << ToUtf8(c.name);
}

TEST_F(FileSystemTest, ExistsDeleteRenameCopyCreate) {
  WriteFile("a.txt", "alpha");
  EXPECT_EQ(CallBuiltin("file_exists", {S(u"a.txt")}).val, 1);
  EXPECT_EQ(CallBuiltin("file_exists", {S(u"b.txt")}).val, 0);
  CallBuiltin("directory_create", {S(u"deep\\er\\dir")});
  EXPECT_EQ(CallBuiltin("directory_exists", {S(u"deep/er/dir")}).val, 1);
  EXPECT_EQ(CallBuiltin("file_exists", {S(u"deep/er/dir")}).val, 0);
  CallBuiltin("file_copy", {S(u"a.txt"), S(u"deep\\er\\dir\\c.txt")});
  EXPECT_EQ(ReadFile("deep/er/dir/c.txt"), "alpha");
  WriteFile("b.txt", "old longer content");
  CallBuiltin("file_copy", {S(u"a.txt"), S(u"b.txt")});  // overwrites
  EXPECT_EQ(ReadFile("b.txt"), "alpha");
  CallBuiltin("file_rename", {S(u"b.txt"), S(u"deep/moved.txt")});
  EXPECT_EQ(ReadFile("deep/moved.txt"), "alpha");
  EXPECT_FALSE(fs::exists("b.txt"));
  CallBuiltin("file_delete", {S(u"a.txt")});
  EXPECT_FALSE(fs::exists("a.txt"));
  // Failures are silent.
  CallBuiltin("file_delete", {S(u"missing")});
  CallBuiltin("file_rename", {S(u"missing"), S(u"x")});
  CallBuiltin("file_copy", {S(u"missing"), S(u"x")});
  EXPECT_FALSE(fs::exists("x"));
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
}

TEST_F(FileSystemTest, SecureModeRefusals) {
  WriteFile("a.txt", "alpha");
  fs::create_directory("d");
  Secure_SetMode(true);
  struct Case {
    const char* function;
    std::vector<RValue> args;
    const char* message;
  } cases[] = {
      {"file_delete", {S(u"d/a.txt")}, "In Secure mode you cannot delete file d/a.txt"},
      {"file_rename", {S(u"a.txt"), S(u"d\\b.txt")},
       "In Secure mode you cannot rename file a.txt into d\\b.txt"},
      {"file_copy", {S(u"a.txt"), S(u"..")}, "In Secure mode you cannot copy file a.txt to .."},
      {"directory_create", {S(u"d/e")}, "In Secure mode you cannot create directory d/e"},
      {"execute_program", {S(u"true"), S(u""), R(1)},
       "In Secure mode you cannot execute program true"},
      {"execute_shell", {S(u"true"), S(u"")}, "In Secure mode you cannot execute program true"},
      {"export_include_file_location", {S(u"inc.txt"), S(u"x")},
       "In secure mode you cannot export a file to a location."},
  };
  Game().included_files.items.push_back(std::make_unique<CDataFile>());
  Game().included_files.names.push_back(u"inc.txt");
  for (const Case& c : cases) {
    errors_.Reset();
    CallBuiltin(c.function, c.args);
    EXPECT_EQ(errors_.Message(), c.message) << c.function;
  }
  Game().included_files.Clear();
  EXPECT_FALSE(fs::exists("d/e"));
  // Names without a path work, and queries of outside names say "nothing".
  errors_.Reset();
  CallBuiltin("file_copy", {S(u"a.txt"), S(u"b.txt")});
  EXPECT_EQ(ReadFile("b.txt"), "alpha");
  EXPECT_EQ(CallBuiltin("file_exists", {S(u"d/../a.txt")}).val, 1);
  EXPECT_EQ(CallBuiltin("file_exists", {RValue::String(u"../" + dir_.filename().u16string() + u"/a.txt")}).val, 0);
  EXPECT_EQ(CallBuiltin("directory_exists", {S(u"..")}).val, 0);
  EXPECT_EQ(CallBuiltin("file_find_first", {S(u"../*"), R(16)}).str, u"");
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
}

TEST_F(FileSystemTest, FindFirstNextWithAttributes) {
  for (const char* name : {"b.sav", "a.sav", "c.txt", ".hidden.sav", "A2.SAV"}) WriteFile(name, "x");
  fs::create_directory("dir.sav");
  auto all = [&](const char16_t* mask, int attr) {
    std::vector<std::string> found;
    for (VString n = CallBuiltin("file_find_first", {S(mask), R(attr)}).str; !n.empty();
         n = CallBuiltin("file_find_next", {}).str)
      found.push_back(ToUtf8(n));
    return found;
  };
  EXPECT_EQ(all(u"*.sav", 0), (std::vector<std::string>{"A2.SAV", "a.sav", "b.sav"}));
  EXPECT_EQ(all(u"*.sav", 16), (std::vector<std::string>{"A2.SAV", "a.sav", "b.sav", "dir.sav"}));
  EXPECT_EQ(all(u"*.sav", 2 | 16),
            (std::vector<std::string>{".hidden.sav", "A2.SAV", "a.sav", "b.sav", "dir.sav"}));
  EXPECT_EQ(all(u".\\c.*", 0), (std::vector<std::string>{"c.txt"}));
  EXPECT_EQ(all(u"nothing*", 0), std::vector<std::string>{});
  CallBuiltin("file_find_first", {S(u"*.sav"), R(0)});
  CallBuiltin("file_find_close", {});
  EXPECT_EQ(CallBuiltin("file_find_next", {}).str, u"");

  EXPECT_EQ(CallBuiltin("file_attributes", {S(u"missing"), R(63)}).val, -1);
  EXPECT_EQ(CallBuiltin("file_attributes", {S(u"dir.sav"), R(16)}).val, 1);
  EXPECT_EQ(CallBuiltin("file_attributes", {S(u"a.sav"), R(16)}).val, 0);
  EXPECT_EQ(CallBuiltin("file_attributes", {S(u".hidden.sav"), R(2)}).val, 1);
  if (::geteuid() != 0) {  // root may write anything
    ::chmod("a.sav", 0444);
    EXPECT_EQ(CallBuiltin("file_attributes", {S(u"a.sav"), R(1)}).val, 1);
  }
}

TEST_F(FileSystemTest, IncludedFilesExportAndDiscard) {
  auto file = std::make_unique<CDataFile>();
  file->s_filename = u"inc.txt";
  file->s_exists = true;
  file->s_data = {'h', 'i'};
  file->s_overwrite = true;
  Game().included_files.items.push_back(std::move(file));
  Game().included_files.names.push_back(u"inc.txt");
  CallBuiltin("export_include_file", {S(u"inc.txt")});
  EXPECT_EQ(ReadFile("inc.txt"), "hi");
  CallBuiltin("export_include_file_location", {S(u"inc.txt"), S(u"copy.txt")});
  EXPECT_EQ(ReadFile("copy.txt"), "hi");
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
  CallBuiltin("discard_include_file", {S(u"inc.txt")});
  CallBuiltin("export_include_file_location", {S(u"inc.txt"), S(u"again.txt")});
  EXPECT_FALSE(fs::exists("again.txt"));
  CallBuiltin("export_include_file", {S(u"other.txt")});
  EXPECT_EQ(errors_.Message(), "Trying to export non-existing file.");
  CallBuiltin("discard_include_file", {S(u"other.txt")});
  EXPECT_EQ(errors_.Message(), "Trying to discard non-existing file.");
  Game().included_files.Clear();
}

TEST_F(FileSystemTest, ProgramsRunWaitAndFail) {
  CallBuiltin("execute_program", {S(u"/bin/sh"), S(u"-c \"echo ran > out.txt\""), R(1)});
  EXPECT_EQ(ReadFile("out.txt"), "ran\n");
  WriteFile("script.sh", "#!/bin/sh\necho \"$1\" > shell.txt\n");
  ::chmod("script.sh", 0755);
  CallBuiltin("execute_shell", {S(u"./script.sh"), S(u"\"two words\"")});
  for (int i = 0; i < 200 && ReadFile("shell.txt").empty(); ++i) ::usleep(10000);
  EXPECT_EQ(ReadFile("shell.txt"), "two words\n");
  EXPECT_FALSE(errors_.Occurred()) << errors_.Message();
  CallBuiltin("execute_program", {S(u"no-such-program-here"), S(u""), R(0)});
  EXPECT_EQ(errors_.Message(), "Cannot execute no-such-program-here");
}

TEST_F(FileSystemTest, CommandLineEnvironmentAndDisks) {
  auto saved = RunnerForm().arguments;
  auto saved_exe = RunnerForm().exe_path;
  RunnerForm().arguments = {"./game", "-level", "3"};
  RunnerForm().exe_path = "/opt/game";
  EXPECT_EQ(CallBuiltin("parameter_count", {}).val, 2);
  EXPECT_EQ(CallBuiltin("parameter_string", {R(0)}).str, u"/opt/game");
  EXPECT_EQ(CallBuiltin("parameter_string", {R(2)}).str, u"3");
  EXPECT_EQ(CallBuiltin("parameter_string", {R(3)}).str, u"");
  RunnerForm().arguments = saved;
  RunnerForm().exe_path = saved_exe;

  ::setenv("VEXLO_FILES_TEST", "value\xc3\xa9", 1);
  EXPECT_EQ(CallBuiltin("environment_get_variable", {S(u"VEXLO_FILES_TEST")}).str, u"value\u00e9");
  EXPECT_EQ(CallBuiltin("environment_get_variable", {S(u"VEXLO_NOT_SET_ANYWHERE")}).str, u"");

  double size = CallBuiltin("disk_size", {}).val;
  double free_space = CallBuiltin("disk_free", {S(u"")}).val;
  EXPECT_GT(size, 0);
  EXPECT_GE(free_space, 0);
  EXPECT_LE(free_space, size);
  EXPECT_GT(CallBuiltin("disk_size", {S(u"c:\\")}).val, 0);
  EXPECT_EQ(CallBuiltin("disk_free", {S(u"Q")}).val, -1);
}

}  // namespace
