// save_game_read.cpp: reading a saved-game image into a new RSavedGame.
// The reader never touches the running game. Every count is checked
// against the bytes that remain before anything is reserved for it (each
// record has a known smallest size), every real must be finite, and any
// record that runs past the end or breaks the layout fails the whole read.
#include <cmath>
#include <stdexcept>
#include <unordered_set>

#include "runner/game_data.h"
#include "common/support_stream.h"
#include "world/save_game.h"

namespace {

constexpr int32_t kVariableListVersion = 440;
constexpr int32_t kGlobalsVersion = 700;

// Smallest sizes of the records, in bytes (strings empty, lists empty).
constexpr size_t kValueBytes = 4 + 8 + 4;
constexpr size_t kVariableBytes = 4 + kValueBytes + 4;
constexpr size_t kRowBytes = 4;
constexpr size_t kBooleanBytes = 4;
constexpr size_t kBackgroundBytes = 4 + 4 + 4 + 8 + 8 + 4 + 4 + 8 * 4 + 4 + 8;
constexpr size_t kViewBytes = 4 + 8 * 4 + 8 + 5 * 4;
constexpr size_t kTileBytes = 8 + 8 + 4 + 4 * 4 + 8 + 4 + 8 + 8 + 4 + 8 + 4;
constexpr size_t kVariableListBytes = 4 + 4;
constexpr size_t kInstanceBytes = 4 + 4 + 6 * 8 + 4 + 4 + 14 * 8 + 4 * 4 + 3 * 4 + 4 +
                                  kAlarmCount * 4 + 2 * 4 + 4 + 5 * 8 + 4 + 2 * 8 + 4 + 2 * 8 +
                                  2 * 4 + 4 + kVariableListBytes;

// The image breaks the layout (a wrong record version, an impossible count,
// a value that is not a number).
class SaveDamaged : public std::runtime_error {
 public:
  SaveDamaged() : std::runtime_error("damaged saved game") {}
};

class Reader {
 public:
  explicit Reader(CStream& s) : s_(s) {}

  int32_t Integer() { return s_.ReadInteger(); }
  bool Boolean() { return s_.ReadBoolean(); }
  VString String() { return s_.ReadString(); }
  double Real() {
    double v = s_.ReadReal();
    if (!std::isfinite(v)) throw SaveDamaged();
    return v;
  }
  void Expect(int32_t version) {
    if (Integer() != version) throw SaveDamaged();
  }
  // A count of records of at least min_bytes each. A negative count reads
  // as none; one that the remaining bytes cannot hold fails here.
  size_t Count(size_t min_bytes) {
    int32_t n = Integer();
    if (n <= 0) return 0;
    size_t remaining = s_.Size() - s_.Position();
    if (static_cast<size_t>(n) > remaining / min_bytes) throw SaveDamaged();
    return static_cast<size_t>(n);
  }

 private:
  CStream& s_;
};

RValue ReadValue(Reader& r) {
  RValue v;
  v.kind = r.Integer() == VALUE_STRING ? VALUE_STRING : VALUE_REAL;
  v.val = r.Real();
  v.str = r.String();
  return v;
}

// True when two entries share an index (lookups must then scan).
bool HasDuplicateIndex(const std::vector<RVariable>& vars) {
  std::unordered_set<int32_t> seen;
  seen.reserve(vars.size());
  for (const RVariable& var : vars)
    if (!seen.insert(var.ind).second) return true;
  return false;
}

// CVariableList.LoadFromStream.
void ReadVariableList(Reader& r, CVariableList& list) {
  list.Clear();
  r.Expect(kVariableListVersion);
  size_t count = r.Count(kVariableBytes);
  list.v_vars.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    RVariable& var = list.v_vars.emplace_back();
    var.ind = r.Integer();
    var.simplevalue = ReadValue(r);
    size_t rows = r.Count(kRowBytes);
    var.value.resize(rows);
    for (std::vector<RValue>& row : var.value) {
      size_t columns = r.Count(kValueBytes);
      row.reserve(columns);
      for (size_t c = 0; c < columns; ++c) row.push_back(ReadValue(r));
    }
  }
  list.v_unique = !HasDuplicateIndex(list.v_vars);
}

void ReadGlobals(Reader& r, RSavedGame& out) {
  // Another leading number: the block is skipped without reading further.
  if (r.Integer() != kGlobalsVersion) return;
  ReadVariableList(r, out.globals);
  size_t count = r.Count(kBooleanBytes);
  out.declared_global.resize(count);
  for (size_t i = 0; i < count; ++i) out.declared_global[i] = r.Boolean();
  out.has_globals = true;
}

void ReadBackground(Reader& r, CBack& b) {
  b.visible = r.Boolean();
  b.foreground = r.Boolean();
  b.index = r.Integer();
  b.x = r.Real();
  b.y = r.Real();
  b.htiled = r.Boolean();
  b.vtiled = r.Boolean();
  b.xscale = r.Real();
  b.yscale = r.Real();
  b.hspeed = r.Real();
  b.vspeed = r.Real();
  b.blend = r.Integer();
  b.alpha = r.Real();
}

void ReadView(Reader& r, CView& v) {
  v.visible = r.Boolean();
  for (int32_t* n : {&v.xview, &v.yview, &v.wview, &v.hview, &v.xport, &v.yport, &v.wport, &v.hport})
    *n = r.Integer();
  v.angle = r.Real();
  for (int32_t* n : {&v.hborder, &v.vborder, &v.hspeed, &v.vspeed, &v.index}) *n = r.Integer();
}

void ReadTile(Reader& r, RTile& t) {
  t.x = r.Real();
  t.y = r.Real();
  t.index = r.Integer();
  for (int32_t* n : {&t.xo, &t.yo, &t.w, &t.h}) *n = r.Integer();
  t.depth = r.Real();
  t.id = r.Integer();
  t.xscale = r.Real();
  t.yscale = r.Real();
  t.blend = r.Integer();
  t.alpha = r.Real();
  t.visible = r.Boolean();
}

void ReadReals(Reader& r, std::initializer_list<double*> fields) {
  for (double* field : fields) *field = r.Real();
}

// CInstance.LoadFromStream. The object resource is looked up from the
// object index; no object data is applied over the stored fields.
std::unique_ptr<CInstance> ReadInstance(Reader& r) {
  auto inst = std::make_unique<CInstance>();
  CInstance& i = *inst;
  i.i_id = r.Integer();
  i.i_spriteindex = r.Integer();
  ReadReals(r, {&i.i_imageindex, &i.i_imagespeed, &i.i_imagescalex, &i.i_imagescaley,
                &i.i_imageangle, &i.i_imagealpha});
  i.i_imageblend = static_cast<uint32_t>(r.Integer());
  i.i_maskindex = r.Integer();
  ReadReals(r, {&i.i_depth, &i.i_x, &i.i_y, &i.i_xstart, &i.i_ystart, &i.i_xprevious,
                &i.i_yprevious, &i.i_direction, &i.i_speed, &i.i_friction, &i.i_gravitydir,
                &i.i_gravity, &i.i_hspeed, &i.i_vspeed});
  for (int32_t* n : {&i.i_bbox.left, &i.i_bbox.right, &i.i_bbox.top, &i.i_bbox.bottom}) *n = r.Integer();
  i.i_visible = r.Boolean();
  i.i_solid = r.Boolean();
  i.i_persistent = r.Boolean();
  i.i_objectindex = r.Integer();
  i.i_object = Game().objects.Get(i.i_objectindex);
  for (int32_t& alarm : i.i_timer) alarm = r.Integer();
  i.i_marked = r.Boolean();
  i.i_deactivated = r.Boolean();
  i.i_pathindex = r.Integer();
  ReadReals(r, {&i.i_pathposition, &i.i_pathpositionprevious, &i.i_pathspeed, &i.i_pathscale,
                &i.i_pathorientation});
  i.i_pathend = r.Integer();
  ReadReals(r, {&i.i_pathxstart, &i.i_pathystart});
  i.i_timelineindex = r.Integer();
  ReadReals(r, {&i.i_timelineposition, &i.i_timelinespeed});
  i.i_timelinerunning = r.Boolean();
  i.i_timelineloop = r.Boolean();
  i.i_initcode = r.String();
  ReadVariableList(r, i.i_vars);
  return inst;
}

void ReadInstances(Reader& r, InstanceOwnerList& list) {
  size_t count = r.Count(kInstanceBytes);
  list.reserve(count);
  for (size_t i = 0; i < count; ++i) list.push_back(ReadInstance(r));
}

// Backgrounds and views beyond the room's eight are read and dropped.
template <typename Record, size_t N, typename ReadOne>
void ReadFixedList(Reader& r, std::array<Record, N>& slots, size_t min_bytes, ReadOne read_one) {
  size_t count = r.Count(min_bytes);
  for (size_t i = 0; i < count; ++i) {
    Record scratch;
    read_one(r, i < N ? slots[i] : scratch);
  }
}

// CRoom.LoadGameFromStream into a cleared live state.
std::unique_ptr<RLiveRoom> ReadRoom(Reader& r) {
  auto live = std::make_unique<RLiveRoom>();
  CRoom& room = live->room;
  r.Expect(kSaveRoomVersion);
  room.r_caption = r.String();
  room.r_width = r.Integer();
  room.r_height = r.Integer();
  room.r_speed = r.Integer();
  room.r_persistent = r.Boolean();
  room.r_color = r.Integer();
  room.r_showcolor = r.Boolean();
  room.r_code = r.String();
  ReadFixedList(r, room.r_background, kBackgroundBytes, ReadBackground);
  room.r_enableviews = r.Boolean();
  ReadFixedList(r, room.r_view, kViewBytes, ReadView);
  ReadInstances(r, live->instances.active);
  ReadInstances(r, live->instances.deactivated);
  size_t tiles = r.Count(kTileBytes);
  room.r_tile.resize(tiles);
  for (RTile& tile : room.r_tile) ReadTile(r, tile);
  return live;
}

void ReadGameValues(Reader& r, RSavedGame& out) {
  out.current_room = r.Integer();
  out.transition_kind = r.Integer();
  out.score = r.Integer();
  out.lives = r.Integer();
  out.health = r.Real();
  out.cursor_sprite = r.Integer();
  out.step_counter = r.Integer();
  out.automatic_draw = r.Boolean();
}

void ReadRooms(Reader& r, RSavedGame& out) {
  size_t count = r.Count(kBooleanBytes);
  out.rooms.resize(count);
  for (auto& slot : out.rooms)
    if (r.Boolean()) slot = ReadRoom(r);
}

// The game goes on in the saved current room: it must be a room of this
// game with a live state in the file.
bool CurrentRoomIsLive(const RSavedGame& game) {
  const int32_t room = game.current_room;
  if (room < 0 || static_cast<size_t>(room) >= game.rooms.size()) return false;
  return game.rooms[static_cast<size_t>(room)] != nullptr && Game().rooms.Exists(room);
}

}  // namespace

SaveGameRead SaveGame_ReadStream(CStream& s, int32_t game_id, RSavedGame& out) {
  Reader r(s);
  try {
    if (r.Integer() != kSaveGameVersion) return SaveGameRead::OtherVersion;
    if (r.Integer() != game_id) return SaveGameRead::OtherGame;
    ReadGameValues(r, out);
    ReadGlobals(r, out);
    ReadRooms(r, out);
    out.last_instance_id = r.Integer();
    out.last_tile_id = r.Integer();
  } catch (const SaveDamaged&) {
    return SaveGameRead::Damaged;
  } catch (const StreamReadError&) {
    return SaveGameRead::Damaged;
  } catch (const std::bad_alloc&) {
    return SaveGameRead::Damaged;
  }
  return CurrentRoomIsLive(out) ? SaveGameRead::Ok : SaveGameRead::Damaged;
}
