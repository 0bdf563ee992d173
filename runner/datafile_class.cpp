// datafile_class.cpp: CDataFile stored form, export at start-up and removal
// at game end.
#include "runner/datafile_class.h"

#include <filesystem>
#include <fstream>

#include "code/code_error.h"
#include "runner/game_data.h"
#include "common/record_io.h"
#include "common/support_stream.h"

namespace fs = std::filesystem;

namespace {
constexpr int32_t kDataFileVersion = 800;

bool HasPath(const VString& name) {
  return name.find(u'\\') != VString::npos || name.find(u'/') != VString::npos;
}

// Game paths may use either separator.
fs::path GamePath(const VString& name) {
  std::string utf8 = ToUtf8(name);
  for (char& c : utf8)
    if (c == '\\') c = '/';
  return fs::path(utf8);
}
}  // namespace

void CDataFile::Clear() { *this = CDataFile(); }

bool CDataFile::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kDataFileVersion)) return false;
  s_filename = s.ReadString();
  s_origname = s.ReadString();
  s_exists = s.ReadBoolean();
  s_size = s.ReadInteger();
  s_store = s.ReadBoolean();
  if (s_exists && s_store) s_data = std::move(s.ReadStream()->Bytes());
  s_exportaction = s.ReadInteger();
  s_exportdir = s.ReadString();
  s_overwrite = s.ReadBoolean();
  s_freedata = s.ReadBoolean();
  s_removeend = s.ReadBoolean();
  return true;
}

void CDataFile::SaveToStream(CStream& s) const {
  s.WriteInteger(kDataFileVersion);
  s.WriteString(s_filename);
  s.WriteString(s_origname);
  s.WriteBoolean(s_exists);
  s.WriteInteger(s_size);
  s.WriteBoolean(s_store);
  if (s_exists && s_store) s.WriteStream(CStream(s_data));
  s.WriteInteger(s_exportaction);
  s.WriteString(s_exportdir);
  s.WriteBoolean(s_overwrite);
  s.WriteBoolean(s_freedata);
  s.WriteBoolean(s_removeend);
}

bool CDataFile::ExportIt(const std::string& fname) {
  if (!s_exists) return false;
  std::error_code ec;
  if (!s_overwrite && fs::exists(fname, ec)) return false;
  try {
    std::ofstream out(fname, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(s_data.data()), static_cast<std::streamsize>(s_data.size()));
    return static_cast<bool>(out);
  } catch (...) {
    return false;
  }
}

void CDataFile::Discard() {
  s_data.clear();
  s_data.shrink_to_fit();
  s_exists = false;
}

bool CDataFile::Prepare(const std::string& temp_dir) {
  if (!s_exists || s_exportaction == EXPORT_NONE) return true;
  if (Secure_Mode() && HasPath(s_filename)) {
    Error_Show_Action("In secure mode you cannot export a data file to " + ToUtf8(s_filename), false);
    return false;
  }
  // A failed write is swallowed: the file simply is not there.
  if (s_exportaction == EXPORT_TEMP) {
    ExportIt((fs::path(temp_dir) / GamePath(s_filename)).string());
  } else if (s_exportaction == EXPORT_SAME) {
    ExportIt(GamePath(s_filename).string());
  } else if (s_exportaction == EXPORT_DIR) {
    if (Secure_Mode()) {
      Error_Show_Action("In secure mode you cannot export a data file to an indicated directory.", false);
      return false;
    }
    std::error_code ec;
    fs::create_directories(GamePath(s_exportdir), ec);
    ExportIt((GamePath(s_exportdir) / GamePath(s_filename)).string());
  }
  if (s_freedata) Discard();
  return true;
}

void CDataFile::Remove(const std::string& temp_dir) {
  if (!s_removeend) return;
  if (Secure_Mode() && HasPath(s_filename)) return;
  std::error_code ec;
  switch (s_exportaction) {
    case EXPORT_TEMP:
      fs::remove(fs::path(temp_dir) / GamePath(s_filename), ec);
      break;
    case EXPORT_SAME:
      fs::remove(GamePath(s_filename), ec);
      break;
    case EXPORT_DIR:
      if (!Secure_Mode()) fs::remove(GamePath(s_exportdir) / GamePath(s_filename), ec);
      break;
    default:
      break;
  }
}
