// function_file_system.cpp: the file-system builtins of game code (exists,
// delete, rename, copy, folders, the one file search, attributes), the
// filename_* text functions, the game's included files, program execution
// (posix_spawn; the shell form opens documents with xdg-open), the command
// line, environment variables and disk space.
//
// Attributes on this platform: a name starting with "." is hidden, a file
// the player may not write is read-only, a folder has fa_directory, every
// regular file has fa_archive; fa_sysfile and fa_volumeid never occur.
#include <fnmatch.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "code/code_function.h"
#include "files/file_open.h"
#include "files/function_file_util.h"
#include "runner/datafile_class.h"
#include "runner/runner_form.h"
#include "common/support_file.h"

extern char** environ;

using namespace files_detail;
namespace fs = std::filesystem;

namespace {

enum : int {
  FA_READONLY = 1,
  FA_HIDDEN = 2,
  FA_SYSFILE = 4,
  FA_VOLUMEID = 8,
  FA_DIRECTORY = 16,
  FA_ARCHIVE = 32,
};

bool Exists(const std::string& path, bool want_folder) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
  return want_folder ? S_ISDIR(st.st_mode) : !S_ISDIR(st.st_mode);
}

void F_FileExists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (OutsideInSecureMode(a[0].str)) return SetReal(r, 0);
  SetReal(r, Exists(File_PlatformPath(a[0].str), false) ? 1 : 0);
}

void F_DirectoryExists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (OutsideInSecureMode(a[0].str)) return SetReal(r, 0);
  SetReal(r, Exists(File_PlatformPath(a[0].str), true) ? 1 : 0);
}

void F_FileDelete(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (RefuseWrite(a[0].str, "In Secure mode you cannot delete file ")) return;
  ::unlink(File_PlatformPath(a[0].str).c_str());  // failures are silent
}

bool RefusePair(const VString& first, const VString& second, const std::string& prefix,
                const std::string& middle) {
  if (!Secure_Mode()) return false;
  if (!File_HasPath(first) && !File_HasPath(second) && !File_ReachesOutside(first) &&
      !File_ReachesOutside(second))
    return false;
  Report(prefix + Utf8(first) + middle + Utf8(second));
  return true;
}

void F_FileRename(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (RefusePair(a[0].str, a[1].str, "In Secure mode you cannot rename file ", " into ")) return;
  std::error_code ec;
  fs::rename(File_PlatformPath(a[0].str), File_PlatformPath(a[1].str), ec);
}

void F_FileCopy(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (RefusePair(a[0].str, a[1].str, "In Secure mode you cannot copy file ", " to ")) return;
  // The copy replaces the destination whole or not at all.
  std::vector<uint8_t> bytes;
  const std::string source = File_PlatformPath(a[0].str);
  const std::string target = File_PlatformPath(a[1].str);
  if (File_IsFolderOrDevice(source) || File_IsFolderOrDevice(target)) return;
  if (!File_ReadAll(source, bytes)) return;
  File_WriteAtomic(target, bytes.data(), bytes.size());
}

void F_DirectoryCreate(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (RefuseWrite(a[0].str, "In Secure mode you cannot create directory ")) return;
  std::error_code ec;
  fs::create_directories(File_PlatformPath(a[0].str), ec);
}

// The attribute bits of a file, -1 when it cannot be read.
int AttributesOf(const std::string& path) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return -1;
  int bits = 0;
  if (S_ISDIR(st.st_mode)) {
    bits |= FA_DIRECTORY;
  } else {
    bits |= FA_ARCHIVE;
  }
  if (::access(path.c_str(), W_OK) != 0) bits |= FA_READONLY;
  std::string name = fs::path(path).filename().string();
  if (name.size() > 1 && name[0] == '.' && name != "..") bits |= FA_HIDDEN;
  return bits;
}

void F_FileAttributes(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (OutsideInSecureMode(a[0].str)) return SetReal(r, -1);
  int bits = AttributesOf(File_PlatformPath(a[0].str));
  if (bits < 0) return SetReal(r, -1);
  SetReal(r, (bits & static_cast<int>(RoundOr(a[1].val, 0))) != 0 ? 1 : 0);
}

// --- the file search ---------------------------------------------------------

struct Search {
  bool open = false;
  std::vector<std::string> names;  // sorted, taken when the search starts
  size_t next = 0;
};

Search& TheSearch() {
  static Search search;
  return search;
}

// Names in the mask's folder that match its last part (without regard to
// case, as games expect) and that the attribute set admits: plain files
// always, hidden ones with fa_hidden, folders with fa_directory.
std::vector<std::string> FindMatches(const VString& mask, int attr) {
  std::vector<std::string> out;
  std::string pattern = File_PlatformPath(File_NameOf(mask));
  std::string folder = File_PlatformPath(File_PathOf(mask));
  if (folder.empty()) folder = ".";
  if (pattern == "*.*") pattern = "*";  // every name, with or without a dot
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
    int bits = AttributesOf((fs::path(folder) / name).string());
    if (bits < 0) continue;
    if ((bits & FA_DIRECTORY) && !(attr & FA_DIRECTORY)) continue;
    if ((bits & FA_HIDDEN) && !(attr & FA_HIDDEN)) continue;
    out.push_back(name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

VString NextFound() {
  Search& s = TheSearch();
  if (!s.open || s.next >= s.names.size()) return VString();
  return FromUtf8(s.names[s.next++]);
}

void F_FileFindFirst(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  Search& s = TheSearch();
  s = Search();
  if (OutsideInSecureMode(a[0].str)) return SetString(r, VString());
  s.open = true;
  s.names = FindMatches(a[0].str, static_cast<int>(RoundOr(a[1].val, 0)));
  SetString(r, NextFound());
}

void F_FileFindNext(RValue& r, CInstance*, CInstance*, int, RValue*) { SetString(r, NextFound()); }

void F_FileFindClose(RValue&, CInstance*, CInstance*, int, RValue*) { TheSearch() = Search(); }

// --- file names --------------------------------------------------------------

void F_FilenameName(RValue& r, CInstance*, CInstance*, int, RValue* a) { SetString(r, File_NameOf(a[0].str)); }
void F_FilenamePath(RValue& r, CInstance*, CInstance*, int, RValue* a) { SetString(r, File_PathOf(a[0].str)); }
void F_FilenameDir(RValue& r, CInstance*, CInstance*, int, RValue* a) { SetString(r, File_DirOf(a[0].str)); }
void F_FilenameDrive(RValue& r, CInstance*, CInstance*, int, RValue* a) { SetString(r, File_DriveOf(a[0].str)); }
void F_FilenameExt(RValue& r, CInstance*, CInstance*, int, RValue* a) { SetString(r, File_ExtOf(a[0].str)); }
void F_FilenameChangeExt(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetString(r, File_ChangeExt(a[0].str, a[1].str));
}

// --- included files ----------------------------------------------------------

CDataFile* IncludedFile(const VString& name) {
  return Game().included_files.Get(Game().IncludedFileFind(name));
}

void F_ExportIncludeFile(RValue&, CInstance*, CInstance*, int, RValue* a) {
  CDataFile* file = IncludedFile(a[0].str);
  if (!file) return Report("Trying to export non-existing file.");
  // As at start-up: secure mode refuses an included file's name with a path
  // wherever it would go.
  if (RefuseWrite(file->s_filename, "In secure mode you cannot export a data file to ")) return;
  const std::string name = File_PlatformPath(file->s_filename);
  if (file->s_exportaction == EXPORT_TEMP) {
    file->ExportIt((fs::path(TempDir_Path()) / name).string());
  } else if (file->s_exportaction == EXPORT_DIR) {
    if (Secure_Mode()) return Report("In secure mode you cannot export a file to a location.");
    std::error_code ec;
    fs::create_directories(File_PlatformPath(file->s_exportdir), ec);
    file->ExportIt((fs::path(File_PlatformPath(file->s_exportdir)) / name).string());
  } else {
    file->ExportIt(name);
  }
}

void F_ExportIncludeFileLocation(RValue&, CInstance*, CInstance*, int, RValue* a) {
  CDataFile* file = IncludedFile(a[0].str);
  if (!file) return Report("Trying to export non-existing file.");
  if (Secure_Mode()) return Report("In secure mode you cannot export a file to a location.");
  file->ExportIt(File_PlatformPath(a[1].str));
}

void F_DiscardIncludeFile(RValue&, CInstance*, CInstance*, int, RValue* a) {
  CDataFile* file = IncludedFile(a[0].str);
  if (!file) return Report("Trying to discard non-existing file.");
  file->Discard();
}

// --- programs ----------------------------------------------------------------

// The argument text split as a command line: blanks separate, double quotes
// group (and are removed).
std::vector<std::string> SplitArguments(const std::string& text) {
  std::vector<std::string> out;
  std::string current;
  bool quoted = false;
  bool any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) out.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) out.push_back(current);
  return out;
}

// Programs started without waiting; collected once they end, so none stays
// a zombie (only our own children are waited for).
std::vector<pid_t>& Started() {
  static std::vector<pid_t> pids;
  return pids;
}

void ReapChildren() {
  auto& pids = Started();
  pids.erase(std::remove_if(pids.begin(), pids.end(),
                            [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; }),
             pids.end());
}

// Starts program with args; 0 when it could not start, else its pid.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  // A name without a folder is looked up on PATH, as a shell would.
  int rc = program.find('/') == std::string::npos
               ? ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ)
               : ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  return rc == 0 ? pid : 0;
}

void WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

bool RefuseProgram(const VString& program) {
  if (!Secure_Mode()) return false;
  Report("In Secure mode you cannot execute program " + Utf8(program));
  return true;
}

void F_ExecuteProgram(RValue&, CInstance*, CInstance*, int, RValue* a) {
  ReapChildren();
  if (RefuseProgram(a[0].str)) return;
  const std::string program = File_PlatformPath(a[0].str);
  pid_t pid = Spawn(program, SplitArguments(ToUtf8(a[1].str)));
  if (pid == 0) return Report("Cannot execute " + Utf8(a[0].str));
  if (IsTrue(a[2].val)) {
    WaitFor(pid);
  } else {
    Started().push_back(pid);
  }
}

void F_ExecuteShell(RValue&, CInstance*, CInstance*, int, RValue* a) {
  ReapChildren();
  if (RefuseProgram(a[0].str)) return;
  const std::string program = File_PlatformPath(a[0].str);
  std::vector<std::string> args = SplitArguments(ToUtf8(a[1].str));
  // A program runs itself; a document (or a web address) opens with the
  // program the desktop associates with it.
  struct stat st;
  pid_t pid = 0;
  if (::stat(program.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      ::access(program.c_str(), X_OK) == 0) {
    pid = Spawn(program, args);
  } else {
    pid = Spawn("xdg-open", {program});
  }
  if (pid == 0) return Report("Cannot execute " + Utf8(a[0].str));
  Started().push_back(pid);
}

// --- command line, environment, disks ---------------------------------------

void F_ParameterCount(RValue& r, CInstance*, CInstance*, int, RValue*) {
  const auto& args = RunnerForm().arguments;
  SetReal(r, args.empty() ? 0 : static_cast<double>(args.size() - 1));
}

void F_ParameterString(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const auto& args = RunnerForm().arguments;
  int64_t n = RoundOr(a[0].val, -1);
  if (n < 0 || n >= static_cast<int64_t>(args.size())) return SetString(r, VString());
  if (n == 0 && !RunnerForm().exe_path.empty()) return SetString(r, FromUtf8(RunnerForm().exe_path));
  SetString(r, FromUtf8(args[static_cast<size_t>(n)]));
}

void F_EnvironmentGetVariable(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const char* value = std::getenv(ToUtf8(a[0].str).c_str());
  SetString(r, value ? FromUtf8(value) : VString());
}

// The folder whose file system stands for the drive argument: the working
// directory's for no argument or an empty one, the root file system's for
// "C" (the system drive of the games' platform); any other letter names no
// drive here.
const char* DrivePath(int argc, const RValue* a) {
  if (argc == 0 || a[0].str.empty()) return ".";
  char16_t letter = a[0].str[0];
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - u'a' + u'A');
  return letter == u'C' ? "/" : nullptr;
}

void DiskSpace(RValue& r, int argc, const RValue* a, bool free_space) {
  const char* path = DrivePath(argc, a);
  struct statvfs vfs;
  if (!path || ::statvfs(path, &vfs) != 0) return SetReal(r, -1);
  double block = static_cast<double>(vfs.f_frsize);
  SetReal(r, block * static_cast<double>(free_space ? vfs.f_bavail : vfs.f_blocks));
}

void F_DiskFree(RValue& r, CInstance*, CInstance*, int argc, RValue* a) { DiskSpace(r, argc, a, true); }
void F_DiskSize(RValue& r, CInstance*, CInstance*, int argc, RValue* a) { DiskSpace(r, argc, a, false); }

}  // namespace

void Files_RegisterSystemFunctions() {
  Function_Add("file_exists", F_FileExists, 1);
  Function_Add("file_delete", F_FileDelete, 1);
  Function_Add("file_rename", F_FileRename, 2);
  Function_Add("file_copy", F_FileCopy, 2);
  Function_Add("directory_exists", F_DirectoryExists, 1);
  Function_Add("directory_create", F_DirectoryCreate, 1);
  Function_Add("file_find_first", F_FileFindFirst, 2);
  Function_Add("file_find_next", F_FileFindNext, 0);
  Function_Add("file_find_close", F_FileFindClose, 0);
  Function_Add("file_attributes", F_FileAttributes, 2);
  Function_Add("filename_name", F_FilenameName, 1);
  Function_Add("filename_path", F_FilenamePath, 1);
  Function_Add("filename_dir", F_FilenameDir, 1);
  Function_Add("filename_drive", F_FilenameDrive, 1);
  Function_Add("filename_ext", F_FilenameExt, 1);
  Function_Add("filename_change_ext", F_FilenameChangeExt, 2);

  Function_Add("export_include_file", F_ExportIncludeFile, 1);
  Function_Add("export_include_file_location", F_ExportIncludeFileLocation, 2);
  Function_Add("discard_include_file", F_DiscardIncludeFile, 1);
  Function_Add("execute_program", F_ExecuteProgram, 3);
  Function_Add("execute_shell", F_ExecuteShell, 2);
  Function_Add("parameter_count", F_ParameterCount, 0);
  Function_Add("parameter_string", F_ParameterString, 1);
  Function_Add("environment_get_variable", F_EnvironmentGetVariable, 1);
  Function_Add("disk_free", F_DiskFree, -1);
  Function_Add("disk_size", F_DiskSize, -1);

  static const struct {
    const char* name;
    int value;
  } kConstants[] = {{"fa_readonly", FA_READONLY}, {"fa_hidden", FA_HIDDEN},
                    {"fa_sysfile", FA_SYSFILE},   {"fa_volumeid", FA_VOLUMEID},
                    {"fa_directory", FA_DIRECTORY}, {"fa_archive", FA_ARCHIVE}};
  for (const auto& c : kConstants) Constant_BuiltinAdd(c.name, RValue::Real(c.value));
}
