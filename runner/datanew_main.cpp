// datanew_main.cpp: the game data loader. Finds the marker from the scan
// start, unmasks the header version, unscrambles and checks the payload,
// reads the header and settings, writes out the support library and reads
// the 16 sections of the game body into Game().
#include "runner/datanew_main.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "runner/datanew_write.h"
#include "runner/game_data.h"
#include "runner/game_data_format.h"
#include "common/record_io.h"
#include "common/support_file.h"
#include "common/support_stream.h"

namespace {

// Every entry of a section is at least one integer (a count, a length or a
// value) long.
constexpr size_t kMinEntryBytes = 4;

const char* const kResourceError = "Error: Error in resource data.";

uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Position of the marker at or after scan_start; false when the file ends
// before one is found.
bool FindMarker(const CStream& file, size_t scan_start, size_t& pos) {
  const uint8_t* data = file.Data();
  const size_t size = file.Size();
  for (size_t p = scan_start; size >= 8 && p <= size - 8; ++p) {
    if (GameDataMarkerAt(data + p)) {
      pos = p;
      return true;
    }
  }
  return false;
}

// The header version word is stored exclusive-or'ed with a mask derived from
// the marker position.
void UnmaskHeaderVersion(CStream& file, size_t marker, size_t scan_start) {
  int64_t mask = (static_cast<int64_t>(marker) - 1 - static_cast<int64_t>(scan_start)) / 4;
  uint8_t* word = file.Data() + marker + 16;
  uint32_t v = Load32(word) ^ static_cast<uint32_t>(mask);
  std::memcpy(word, &v, 4);
}

// A file name that stays inside the directory it is joined to.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos;
}

// Writes the support library into the temporary directory; with no
// temporary directory (already reported at start-up) there is nothing to
// write.
bool SaveSupportLibrary(const VString& name, const std::vector<uint8_t>& bytes) {
  const std::string& dir = TempDir_Path();
  if (dir.empty()) return true;
  std::string fname = ToUtf8(name);
  if (!IsPlainFileName(fname)) return false;
  std::ofstream out(std::filesystem::path(dir) / fname, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// Routes "Failed to locate action function ..." to the observer while the
// body is read.
class MissingFunctionScope {
 public:
  MissingFunctionScope(LoadObserver& observer, CGameData& game) {
    Action_SetMissingFunctionReporter(
        [](void* ctx, const std::string& text) { static_cast<LoadObserver*>(ctx)->ShowMessage(text); },
        &observer);
    // Scripts are read before objects and time lines, so actions find them.
    Action_SetScriptResolver(
        [](void* ctx, const VString& name) -> int32_t {
          const int32_t index = static_cast<CGameData*>(ctx)->scripts.Find(name);
          return index >= 0 ? kActionScriptBase + index : -1;
        },
        &game);
  }
  ~MissingFunctionScope() {
    Action_SetMissingFunctionReporter(nullptr, nullptr);
    Action_SetScriptResolver(nullptr, nullptr);
  }
};

// ----- section readers: false on a wrong version or a failed record -----

bool ReadExtensions(CStream& s, CGameData& game) {
  game.extensions.Clear();
  if (!ReadVersion(s, kExtensionSectionVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, kMinEntryBytes)) return false;
  for (int32_t i = 0; i < n; ++i) {
    auto pkg = std::make_unique<CExtensionPackage>();
    if (!pkg->LoadFromStream(s, TempDir_Path())) return false;
    VString name = pkg->s_name;
    game.extensions.Add(std::move(pkg), std::move(name));
  }
  return true;
}

bool ReadTriggers(CStream& s, CGameData& game) {
  game.triggers.Clear();
  if (!ReadVersion(s, kSectionVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, kMinEntryBytes)) return false;
  game.triggers.Resize(n);
  for (int32_t i = 0; i < n; ++i) {
    auto entry = s.ReadStreamC();
    if (!entry->ReadBoolean()) continue;
    auto trigger = std::make_unique<CTrigger>();
    if (!trigger->LoadFromStream(*entry)) return false;
    game.triggers.names[i] = trigger->i_name;
    game.triggers.items[i] = std::move(trigger);
  }
  return true;
}

bool ReadConstants(CStream& s, CGameData& game) {
  game.constants.clear();
  if (!ReadVersion(s, kSectionVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, 2 * kMinEntryBytes)) return false;
  game.constants.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    RConstant c;
    c.name = s.ReadString();
    c.value = s.ReadString();
    game.constants.push_back(std::move(c));
  }
  return true;
}

// Resource record entries: per entry one compressed stream with an exists
// flag and, when set, the name and the record.
template <class T>
bool ReadResources(CStream& s, ResourceTable<T>& table) {
  table.Clear();
  if (!ReadVersion(s, kSectionVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, kMinEntryBytes)) return false;
  table.Resize(n);
  for (int32_t i = 0; i < n; ++i) {
    auto entry = s.ReadStreamC();
    if (!entry->ReadBoolean()) continue;
    VString name = entry->ReadString();
    auto item = std::make_unique<T>();
    if (!item->LoadFromStream(*entry)) return false;
    table.names[i] = std::move(name);
    table.items[i] = std::move(item);
  }
  return true;
}

bool ReadRooms(CStream& s, CGameData& game) {
  if (!ReadResources(s, game.rooms)) return false;
  game.last_instance_id = s.ReadInteger();
  game.last_tile_id = s.ReadInteger();
  return true;
}

bool ReadIncludedFiles(CStream& s, CGameData& game) {
  game.included_files.Clear();
  if (!ReadVersion(s, kSectionVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, kMinEntryBytes)) return false;
  game.included_files.Resize(n);
  for (int32_t i = 0; i < n; ++i) {
    auto entry = s.ReadStreamC();
    auto file = std::make_unique<CDataFile>();
    if (!file->LoadFromStream(*entry)) return false;
    game.included_files.names[i] = file->s_filename;
    game.included_files.items[i] = std::move(file);
  }
  return true;
}

bool ReadGameInformation(CStream& s, CGameData& game) {
  game.game_information.Clear();
  if (!ReadVersion(s, kSectionVersion)) return false;
  auto block = s.ReadStreamC();
  return game.game_information.LoadFromStream(*block);
}

bool ReadLibraryInitCode(CStream& s, CGameData& game) {
  game.library_init_code.clear();
  if (!ReadVersion(s, kInitCodeSectionVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, kMinEntryBytes)) return false;
  game.library_init_code.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) game.library_init_code.push_back(s.ReadString());
  return true;
}

// The room order must name at least one room.
bool ReadRoomOrder(CStream& s, CGameData& game) {
  game.room_order.clear();
  if (!ReadVersion(s, kRoomOrderSectionVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, kMinEntryBytes) || n < 1) return false;
  game.room_order.resize(static_cast<size_t>(n));
  for (int32_t& room : game.room_order) room = s.ReadInteger();
  return true;
}

struct Section {
  int percent;
  const char* text;
  bool (*read)(CStream&, CGameData&);
};

const Section kSections[] = {
    {5, "Loading triggers", ReadTriggers},
    {6, "Loading constants", ReadConstants},
    {7, "Loading sounds", [](CStream& s, CGameData& g) { return ReadResources(s, g.sounds); }},
    {10, "Loading sprites", [](CStream& s, CGameData& g) { return ReadResources(s, g.sprites); }},
    {23, "Loading backgrounds",
     [](CStream& s, CGameData& g) { return ReadResources(s, g.backgrounds); }},
    {30, "Loading paths", [](CStream& s, CGameData& g) { return ReadResources(s, g.paths); }},
    {32, "Loading scripts", [](CStream& s, CGameData& g) { return ReadResources(s, g.scripts); }},
    {34, "Loading fonts", [](CStream& s, CGameData& g) { return ReadResources(s, g.fonts); }},
    {36, "Loading time lines",
     [](CStream& s, CGameData& g) { return ReadResources(s, g.timelines); }},
    {38, "Loading objects", [](CStream& s, CGameData& g) { return ReadResources(s, g.objects); }},
    {40, "Loading rooms", ReadRooms},
    {43, "Loading included files", ReadIncludedFiles},
    {45, "Loading help", ReadGameInformation},
    {47, "Loading library init code", ReadLibraryInitCode},
    {49, "Loading room order", ReadRoomOrder},
};

// The game body: padding, edition, game id, GUID and the 16 sections.
LoadStatus ReadBody(CStream& body, CGameData& game, LoadObserver& observer) {
  int32_t padding = 0;
  if (!ReadCount(body, padding, 4)) {
    observer.ShowMessage(kResourceError);
    return LoadStatus::Failed;
  }
  body.Skip(static_cast<size_t>(padding) * 4);
  game.edition = body.ReadInteger();
  game.game_id = body.ReadInteger();
  body.ReadBytes(game.guid.data(), game.guid.size());

  MissingFunctionScope missing(observer, game);
  observer.SetProgress(0, "Loading extension packages");
  if (!ReadExtensions(body, game)) {
    observer.ShowMessage("Error in loading extension packages.");
    observer.ShowMessage(kResourceError);
    return LoadStatus::Failed;
  }
  for (const Section& section : kSections) {
    observer.SetProgress(section.percent, section.text);
    if (!section.read(body, game)) {
      observer.ShowMessage(kResourceError);
      return LoadStatus::Failed;
    }
  }
  return LoadStatus::Loaded;
}

}  // namespace

LoadStatus LoadGame(CStream& file, size_t scan_start, LoadObserver& observer) {
  CStream::InitFastCRC();
  size_t marker = 0;
  if (!FindMarker(file, scan_start, marker)) {
    observer.ShowMessage("Error: Not a valid game file.");
    return LoadStatus::Failed;
  }
  // Seed, check value and header version follow the marker.
  if (file.Size() - marker < 20) throw StreamReadError("game data header cut short");
  UnmaskHeaderVersion(file, marker, scan_start);
  if (!file.DecryptWad(marker + 8)) return LoadStatus::CheckFailed;

  CGameData& game = Game();
  file.Seek(marker + 16);
  if (file.ReadInteger() != kHeaderVersion) {
    observer.ShowMessage("Error: Wrong version number.");
    return LoadStatus::Failed;
  }
  game.day_count = file.ReadInteger();
  game.debug_mode = file.ReadBoolean();
  game.seconds = file.ReadInteger();

  if (file.ReadInteger() != kSettingsVersion) {
    observer.ShowMessage(kResourceError);
    return LoadStatus::Failed;
  }
  game.settings = GameSettings();
  game.settings.LoadFromStream(*file.ReadStreamC());
  observer.SetProgress(1, "Reading data");
  observer.SetUpLoadingWindow(game.debug_mode, game.settings);

  game.support_library_name = file.ReadString();
  game.support_library = std::move(file.ReadStreamC()->Bytes());
  if (!SaveSupportLibrary(game.support_library_name, game.support_library)) {
    observer.ShowMessage("Error: Failed to initialize D3DX.");
    return LoadStatus::Failed;
  }

  // The file's bytes become the body (nothing after it is read), so the
  // file is not held beside a copy of the body.
  auto body = file.TakeStreamE();
  return ReadBody(*body, game, observer);
}
