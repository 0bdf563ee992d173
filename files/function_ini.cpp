// function_ini.cpp: the one open ini file of game code, a file in the
// working directory. Its lines are kept in memory and read again whenever
// the file on disk changed (another program or the game's own file
// functions); every write rewrites the file at once through the crash-safe
// writer, so the file always holds its old or its new content.
#include <sys/stat.h>

#include <optional>
#include <vector>

#include "code/code_function.h"
#include "files/function_file_util.h"
#include "files/ini_file.h"
#include "common/support_file.h"

using namespace files_detail;

namespace {

struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  struct timespec modified = {};

  bool operator==(const FileStamp& o) const {
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
  }
};

FileStamp StampOf(const std::string& path) {
  FileStamp stamp;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return stamp;
  stamp.exists = true;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.modified = st.st_mtim;
  return stamp;
}

struct OpenIni {
  bool open = false;
  std::string path;
  TIniFile lines;
  std::optional<FileStamp> loaded;  // the file's state when lines were read
};

OpenIni& Ini() {
  static OpenIni ini;
  return ini;
}

// The lines of the open file, read again when the file changed.
TIniFile& Current() {
  OpenIni& ini = Ini();
  FileStamp now = StampOf(ini.path);
  if (!ini.loaded || !(*ini.loaded == now)) {
    std::vector<uint8_t> bytes;
    if (now.exists && File_ReadAll(ini.path, bytes)) {
      ini.lines.Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } else {
      ini.lines.Parse({});
    }
    ini.loaded = now;
  }
  return ini.lines;
}

// Writes the lines back. A failed write leaves the file as it was, and the
// next call reads it again, so memory never claims what disk lacks.
void Save() {
  OpenIni& ini = Ini();
  std::string text = ini.lines.Serialize();
  if (File_WriteAtomic(ini.path, text.data(), text.size())) {
    ini.loaded = StampOf(ini.path);
  } else {
    ini.loaded.reset();
  }
}

constexpr const char* kReadUndefined = "Trying to read from undefined INI file";
constexpr const char* kWriteUndefined = "Trying to write to undefined INI file";
constexpr const char* kChangeUndefined = "Trying to change undefined INI file";

void F_IniOpen(RValue&, CInstance*, CInstance*, int, RValue* a) {
  const VString& name = a[0].str;
  // "." and ".." name folders, one of them outside: refused as paths are.
  if (File_HasPath(name) || name == u"." || name == u".." || name.empty()) {
    return Report("INI files must be located in the same directory as the program");
  }
  OpenIni& ini = Ini();
  ini = OpenIni();
  ini.open = true;
  ini.path = File_PlatformPath(name);
}

void F_IniClose(RValue&, CInstance*, CInstance*, int, RValue*) { Ini() = OpenIni(); }

void F_IniReadString(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (!Ini().open) return Report(kReadUndefined);
  std::optional<std::string> v = Current().Read(ToUtf8(a[0].str), ToUtf8(a[1].str));
  SetString(r, v ? FromUtf8(*v) : a[2].str);
}

void F_IniReadReal(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (!Ini().open) return Report(kReadUndefined);
  std::optional<std::string> v = Current().Read(ToUtf8(a[0].str), ToUtf8(a[1].str));
  SetReal(r, Ini_ParseReal(v ? *v : Ini_RealText(a[2].val)));
}

void F_IniWriteString(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (!Ini().open) return Report(kWriteUndefined);
  Current().Write(ToUtf8(a[0].str), ToUtf8(a[1].str), ToUtf8(a[2].str));
  Save();
}

void F_IniWriteReal(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (!Ini().open) return Report(kWriteUndefined);
  Current().Write(ToUtf8(a[0].str), ToUtf8(a[1].str), Ini_RealText(a[2].val));
  Save();
}

void F_IniKeyExists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (!Ini().open) return Report(kReadUndefined);
  SetReal(r, Current().KeyExists(ToUtf8(a[0].str), ToUtf8(a[1].str)) ? 1 : 0);
}

void F_IniSectionExists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (!Ini().open) return Report(kReadUndefined);
  SetReal(r, Current().SectionExists(ToUtf8(a[0].str)) ? 1 : 0);
}

void F_IniKeyDelete(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (!Ini().open) return Report(kChangeUndefined);
  if (Current().DeleteKey(ToUtf8(a[0].str), ToUtf8(a[1].str))) Save();
}

void F_IniSectionDelete(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (!Ini().open) return Report(kChangeUndefined);
  if (Current().DeleteSection(ToUtf8(a[0].str))) Save();
}

}  // namespace

void Files_RegisterIniFunctions() {
  Function_Add("ini_open", F_IniOpen, 1);
  Function_Add("ini_close", F_IniClose, 0);
  Function_Add("ini_read_string", F_IniReadString, 3);
  Function_Add("ini_read_real", F_IniReadReal, 3);
  Function_Add("ini_write_string", F_IniWriteString, 3);
  Function_Add("ini_write_real", F_IniWriteReal, 3);
  Function_Add("ini_key_exists", F_IniKeyExists, 2);
  Function_Add("ini_section_exists", F_IniSectionExists, 1);
  Function_Add("ini_key_delete", F_IniKeyDelete, 2);
  Function_Add("ini_section_delete", F_IniSectionDelete, 1);
}
