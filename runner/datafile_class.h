// datafile_class.h: CDataFile, an included file carried by the game data,
// with its stored form and its export at start-up and removal at game end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/value.h"

class CStream;

// Export actions.
enum : int32_t { EXPORT_NONE = 0, EXPORT_TEMP = 1, EXPORT_SAME = 2, EXPORT_DIR = 3 };

class CDataFile {
 public:
  VString s_filename;
  VString s_origname;
  bool s_exists = false;
  int32_t s_size = 0;
  bool s_store = false;
  std::vector<uint8_t> s_data;
  int32_t s_exportaction = EXPORT_SAME;
  VString s_exportdir;
  bool s_overwrite = false;
  bool s_freedata = true;
  bool s_removeend = true;

  void Clear();
  // Record version 800; the data stream is present when s_exists and
  // s_store.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;

  // Exports by the export action (into temp_dir for action 1); in secure
  // mode a name with a path, or action 3, is refused with a runtime error.
  // Frees the data afterwards when s_freedata. False only when refused (a
  // failed write is swallowed).
  bool Prepare(const std::string& temp_dir);
  // Writes the data to fname when the file exists and either no file of
  // that name exists or s_overwrite is set. Failures give false.
  bool ExportIt(const std::string& fname);
  // Drops the data; the file no longer counts as existing.
  void Discard();
  // Deletes the exported file at game end when s_removeend.
  void Remove(const std::string& temp_dir);
};
