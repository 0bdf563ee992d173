// project_read.cpp: a project directory to CGameData. The manifest gives
// the order (and so the index) of every resource; each resource's JSON file
// is read with checked fields, so a wrong type, a misspelt key or an
// unknown resource name stops the build with a message naming the file.
#include "pack/project_read.h"

#include <algorithm>
#include <ctime>
#include <map>

#include "graphics/font_raster.h"
#include "pack/pack_error.h"
#include "pack/pack_image.h"
#include "pack/pack_json.h"
#include "pack/pack_mask.h"
#include "pack/project_defaults.h"
#include "runner/game_data.h"

namespace fs = std::filesystem;

namespace {

VString V(const std::string& latin1) { return FromLatin1(latin1); }

// The names of one resource kind, for resolving references.
struct NameIndex {
  explicit NameIndex(const char* k) : kind(k) {}
  const char* kind;
  std::vector<VString> names;
  std::vector<bool> present;
  std::map<VString, int> first;

  int Find(const VString& name) const {
    auto it = first.find(name);
    return it == first.end() ? -1 : it->second;
  }
};

// One entry of a resource order list.
struct OrderEntry {
  bool present = false;
  VString name;
  std::string file;  // file name without the folder and extension
};

class ProjectReader {
 public:
  ProjectReader(fs::path root, CGameData& game, std::vector<CodeText>* codes)
      : root_(std::move(root)), g_(game), codes_(codes) {}
  void Run();

 private:
  std::string Rel(const fs::path& p) const { return p.lexically_normal().string(); }
  // A path written in a file in dir, checked to be a relative path.
  fs::path Resolve(const fs::path& dir, const Json& value, const std::string& where);
  VString Code(const fs::path& dir, const Json& value, const std::string& where,
               const std::string& what);
  std::vector<uint8_t> Bytes(const fs::path& dir, const Json& value, const std::string& where);
  TBitmap32 Image(const fs::path& dir, const Json& value, const std::string& where);
  int32_t Ref(const NameIndex& index, const Json& value, const std::string& where);

  std::vector<OrderEntry> Order(JsonObject& resources, const char* key, NameIndex& index,
                                const std::string& where);
  void Settings(JsonObject s);
  void Triggers(const Json& list, const std::string& where);
  void Constants(const Json& list, const std::string& where);
  void Extensions(const Json& list, const std::string& where);
  void IncludedFiles(const Json& list, const std::string& where);
  void Information(JsonObject j);
  void LibraryInitCode(const Json& list, const std::string& where);
  void RoomOrder(const Json& list, const std::string& where);

  std::unique_ptr<CSound> Sound(const fs::path& file);
  std::unique_ptr<CSprite> Sprite(const fs::path& file);
  std::unique_ptr<CBackground> Background(const fs::path& file);
  std::unique_ptr<CPath> Path(const fs::path& file);
  std::unique_ptr<CScript> Script(const fs::path& file, const VString& name);
  std::unique_ptr<CFont> Font(const fs::path& file);
  std::unique_ptr<CTimeLine> Timeline(const fs::path& file, const VString& name);
  std::unique_ptr<CObject> Object(const fs::path& file, const VString& name);
  std::unique_ptr<CRoom> Room(const fs::path& file, const VString& name);
  void Actions(const fs::path& dir, const Json& list, const std::string& where,
               const std::string& what, std::vector<CAction>& out);
  CAction Action(const fs::path& dir, JsonObject j, const std::string& what);
  void AddArgumentCodes(const CAction& a, const std::string& where, const std::string& what);

  template <class T, class F>
  void ReadKind(ResourceTable<T>& table, const std::vector<OrderEntry>& order, const char* dir,
                const char* extension, F read);

  fs::path root_;
  CGameData& g_;
  std::vector<CodeText>* codes_;
  NameIndex sounds_{"sound"}, sprites_{"sprite"}, backgrounds_{"background"};
  NameIndex paths_{"path"}, scripts_{"script"}, fonts_{"font"};
  NameIndex timelines_{"time line"}, objects_{"object"}, rooms_{"room"};
  std::string current_file_;  // the resource file being read
  int32_t max_instance_id_ = 100000;
  int32_t max_tile_id_ = 10000000;
};

fs::path ProjectReader::Resolve(const fs::path& dir, const Json& value, const std::string& where) {
  if (!value.is_string()) throw PackError(where, "expected a file name");
  fs::path rel = value.get<std::string>();
  if (rel.empty() || rel.is_absolute())
    throw PackError(where, "file name \"" + rel.string() + "\" must be relative to its folder");
  return dir / rel;
}

VString ProjectReader::Code(const fs::path& dir, const Json& value, const std::string& where,
                            const std::string& what) {
  fs::path file = Resolve(dir, value, where);
  std::string text = Utf8ToLatin1(ReadFileBytes(file), Rel(file));
  if (codes_) codes_->push_back(CodeText{CodeText::Kind::Statements, Rel(file), 1, 1, text, what});
  return V(text);
}

std::vector<uint8_t> ProjectReader::Bytes(const fs::path& dir, const Json& value,
                                          const std::string& where) {
  std::string bytes = ReadFileBytes(Resolve(dir, value, where));
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// An image: a PNG file name, or {"width", "height"} for an image without
// pixels.
TBitmap32 ProjectReader::Image(const fs::path& dir, const Json& value, const std::string& where) {
  TBitmap32 bm;
  if (value.is_object()) {
    JsonObject j(value, where);
    bm.s_w = j.Int("width");
    bm.s_h = j.Int("height");
    j.Finish();
    if (bm.s_w > 0 && bm.s_h > 0) throw PackError(where, "an image with pixels needs a PNG file");
    return bm;
  }
  fs::path file = Resolve(dir, value, where);
  RBitmap png = ReadPng(file);
  bm.s_w = png.width;
  bm.s_h = png.height;
  bm.s_data = std::move(png.pixels);
  return bm;
}

int32_t ProjectReader::Ref(const NameIndex& index, const Json& value, const std::string& where) {
  if (value.is_null()) return -1;
  if (value.is_number_integer()) return JsonToInt(value, where);
  if (!value.is_string()) throw PackError(where, std::string("expected a ") + index.kind + " name");
  VString name = V(JsonToStr(value, where));
  int found = index.Find(name);
  if (found < 0)
    throw PackError(where, std::string("unknown ") + index.kind + " \"" + value.get<std::string>() + "\"");
  return found;
}

std::vector<OrderEntry> ProjectReader::Order(JsonObject& resources, const char* key,
                                             NameIndex& index, const std::string& where) {
  std::vector<OrderEntry> order;
  const Json& list = resources.Array(key);
  for (size_t i = 0; i < list.size(); ++i) {
    const Json& v = list[i];
    std::string place = where + ": resources." + key + "[" + std::to_string(i) + "]";
    OrderEntry e;
    if (v.is_string()) {
      e.present = true;
      e.name = V(JsonToStr(v, place));
      e.file = FileNameOf(e.name);
    } else if (v.is_object()) {
      JsonObject j(v, place);
      e.present = true;
      e.name = V(j.Str("name"));
      e.file = j.Str("file", FileNameOf(e.name));
      j.Finish();
    } else if (!v.is_null()) {
      throw PackError(place, "expected a resource name, an object or null");
    }
    index.names.push_back(e.name);
    index.present.push_back(e.present);
    if (e.present) index.first.emplace(e.name, static_cast<int>(i));
    order.push_back(e);
  }
  return order;
}

template <class T, class F>
void ProjectReader::ReadKind(ResourceTable<T>& table, const std::vector<OrderEntry>& order,
                             const char* dir, const char* extension, F read) {
  table.Resize(static_cast<int>(order.size()));
  for (size_t i = 0; i < order.size(); ++i) {
    if (!order[i].present) continue;
    table.names[i] = order[i].name;
    fs::path file = root_ / dir / (order[i].file + extension);
    current_file_ = Rel(file);
    table.items[i] = read(file, order[i].name);
  }
}

void ProjectReader::Settings(JsonObject j) {
  GameSettings& s = g_.settings;
  s.full_screen = j.Bool("full_screen", s.full_screen);
  s.interpolate = j.Bool("interpolate", s.interpolate);
  s.no_border = j.Bool("no_border", s.no_border);
  s.show_cursor = j.Bool("show_cursor", s.show_cursor);
  s.scale = j.Int("scale", s.scale);
  s.sizeable = j.Bool("sizeable", s.sizeable);
  s.stay_on_top = j.Bool("stay_on_top", s.stay_on_top);
  s.window_color = j.Int("window_color", s.window_color);
  s.set_display_mode = j.Bool("set_display_mode", s.set_display_mode);
  s.color_depth = j.Int("color_depth", s.color_depth);
  s.resolution = j.Int("resolution", s.resolution);
  s.frequency = j.Int("frequency", s.frequency);
  s.no_caption_buttons = j.Bool("no_caption_buttons", s.no_caption_buttons);
  s.synchronization = j.Bool("synchronization", s.synchronization);
  s.no_screen_saver = j.Bool("no_screen_saver", s.no_screen_saver);
  s.f4_switches_screen = j.Bool("f4_switches_screen", s.f4_switches_screen);
  s.f1_shows_information = j.Bool("f1_shows_information", s.f1_shows_information);
  s.esc_ends_game = j.Bool("esc_ends_game", s.esc_ends_game);
  s.f5_saves_f6_loads = j.Bool("f5_saves_f6_loads", s.f5_saves_f6_loads);
  s.f9_screenshot = j.Bool("f9_screenshot", s.f9_screenshot);
  s.close_button_as_esc = j.Bool("close_button_as_esc", s.close_button_as_esc);
  s.priority = j.Int("priority", s.priority);
  s.freeze_when_inactive = j.Bool("freeze_when_inactive", s.freeze_when_inactive);
  s.show_progress_bar = j.Bool("show_progress_bar", s.show_progress_bar);
  auto image = [&](const char* key) -> std::shared_ptr<RBitmap> {
    if (!j.Has(key) || j.Get(key).is_null()) return nullptr;
    TBitmap32 bm = Image(root_, j.Get(key), j.Where() + ": \"" + key + "\"");
    auto out = std::make_shared<RBitmap>();
    out->width = bm.s_w;
    out->height = bm.s_h;
    out->pixels = std::move(bm.s_data);
    return out;
  };
  s.bar_back_image = image("bar_back_image");
  s.bar_front_image = image("bar_front_image");
  if (!s.show_progress_bar && (s.bar_back_image || s.bar_front_image))
    throw PackError(j.Where(), "bar images need \"show_progress_bar\": true");
  s.loading_image = image("loading_image");
  s.image_transparent = j.Bool("image_transparent", s.image_transparent);
  s.image_alpha = j.Int("image_alpha", s.image_alpha);
  s.stretch_bar = j.Bool("stretch_bar", s.stretch_bar);
  s.show_errors = j.Bool("show_errors", s.show_errors);
  s.log_errors = j.Bool("log_errors", s.log_errors);
  s.abort_on_errors = j.Bool("abort_on_errors", s.abort_on_errors);
  s.code_flags = (j.Bool("uninitialized_as_zero", false) ? 1 : 0) |
                 (j.Bool("strict_arguments", true) ? 2 : 0) |
                 (j.Int("other_code_flags", 0) & ~3);
  j.Finish();
}

void ProjectReader::Constants(const Json& list, const std::string& where) {
  for (size_t i = 0; i < list.size(); ++i) {
    JsonObject c(list[i], where + ": constants[" + std::to_string(i) + "]");
    g_.constants.push_back(RConstant{V(c.Str("name")), V(c.Str("value"))});
    c.Finish();
  }
}

void ProjectReader::Triggers(const Json& list, const std::string& where) {
  g_.triggers.Resize(static_cast<int>(list.size()));
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].is_null()) continue;
    JsonObject j(list[i], where + ": triggers[" + std::to_string(i) + "]");
    auto t = std::make_unique<CTrigger>();
    t->i_name = V(j.Str("name"));
    if (j.Has("condition")) {
      // A condition is a program whose returned value decides.
      t->i_condition = Code(root_, j.Get("condition"), j.Where(), "trigger " + ToUtf8(t->i_name));
    }
    t->i_moment = j.Int("moment", 1);
    t->i_constname = V(j.Str("constant", ""));
    j.Finish();
    g_.triggers.names[i] = t->i_name;
    g_.triggers.items[i] = std::move(t);
  }
}

void ProjectReader::Extensions(const Json& list, const std::string& where) {
  for (size_t i = 0; i < list.size(); ++i) {
    fs::path file = Resolve(root_, list[i], where + ": extensions[" + std::to_string(i) + "]");
    JsonObject j(ReadJsonFile(file), Rel(file));
    auto p = std::make_unique<CExtensionPackage>();
    p->s_name = V(j.Str("name"));
    p->s_folder = V(j.Str("folder", ""));
    const Json& files = j.Array("files");
    for (size_t k = 0; k < files.size(); ++k) {
      JsonObject jf(files[k], j.Where() + ": files[" + std::to_string(k) + "]");
      CExtensionFile f;
      f.s_filename = V(jf.Str("file_name"));
      f.s_kind = jf.Int("kind");
      f.s_init = V(jf.Str("init", ""));
      f.s_final = V(jf.Str("final", ""));
      if (jf.Has("data")) f.s_data = Bytes(file.parent_path(), jf.Get("data"), jf.Where());
      if (f.s_kind == EXT_NOBYTES && !f.s_data.empty())
        throw PackError(jf.Where(), "a file of kind 3 carries no data");
      const Json& functions = jf.Array("functions");
      for (size_t n = 0; n < functions.size(); ++n) {
        JsonObject jn(functions[n], jf.Where() + ": functions[" + std::to_string(n) + "]");
        CExtensionFunction fn;
        fn.s_name = V(jn.Str("name"));
        fn.s_extname = V(jn.Str("external_name", ""));
        fn.s_kind = jn.Int("kind", 0);
        fn.s_id = jn.Int("id", 0);
        fn.s_argcount = jn.Int("argument_count", 0);
        std::vector<int32_t> types = jn.IntList("argument_types");
        if (types.size() > kExtensionArgTypes) jn.Fail("argument_types", "at most 17 kinds");
        for (size_t t = 0; t < types.size(); ++t) fn.s_argtype[t] = types[t];
        fn.s_returntype = jn.Int("return_type", 2);
        jn.Finish();
        f.s_functions.push_back(fn);
      }
      const Json& constants = jf.Array("constants");
      for (size_t n = 0; n < constants.size(); ++n) {
        JsonObject jc(constants[n], jf.Where() + ": constants[" + std::to_string(n) + "]");
        f.s_constants.push_back(CExtensionConstant{V(jc.Str("name")), V(jc.Str("value"))});
        jc.Finish();
      }
      jf.Finish();
      p->s_includes.push_back(std::move(f));
    }
    j.Finish();
    VString name = p->s_name;
    g_.extensions.Add(std::move(p), name);
  }
}

void ProjectReader::IncludedFiles(const Json& list, const std::string& where) {
  for (size_t i = 0; i < list.size(); ++i) {
    JsonObject j(list[i], where + ": included_files[" + std::to_string(i) + "]");
    auto d = std::make_unique<CDataFile>();
    d->s_filename = V(j.Str("file_name"));
    d->s_origname = V(j.Str("original_name", ToLatin1(d->s_filename)));
    if (j.Has("data")) d->s_data = Bytes(root_, j.Get("data"), j.Where());
    d->s_exists = j.Bool("exists", j.Has("data"));
    d->s_store = j.Bool("store", j.Has("data"));
    if (d->s_exists && d->s_store && !j.Has("data"))
      throw PackError(j.Where(), "a stored file needs \"data\"");
    if (!(d->s_exists && d->s_store) && !d->s_data.empty())
      throw PackError(j.Where(), "\"data\" is only kept for a file that exists and is stored");
    d->s_size = j.Int("size", static_cast<int32_t>(d->s_data.size()));
    d->s_exportaction = j.Int("export_action", EXPORT_SAME);
    d->s_exportdir = V(j.Str("export_dir", ""));
    d->s_overwrite = j.Bool("overwrite", false);
    d->s_freedata = j.Bool("free_data", true);
    d->s_removeend = j.Bool("remove_at_end", true);
    j.Finish();
    VString name = d->s_filename;
    g_.included_files.Add(std::move(d), name);
  }
}

void ProjectReader::Information(JsonObject j) {
  CGameInformation& gi = g_.game_information;
  gi.background_color = j.Int("background_color", gi.background_color);
  gi.embed = j.Bool("embed", gi.embed);
  gi.caption = V(j.Str("caption", ToLatin1(gi.caption)));
  gi.left = j.Int("left", gi.left);
  gi.top = j.Int("top", gi.top);
  gi.width = j.Int("width", gi.width);
  gi.height = j.Int("height", gi.height);
  gi.border = j.Bool("border", gi.border);
  gi.sizeable = j.Bool("sizeable", gi.sizeable);
  gi.stay_on_top = j.Bool("stay_on_top", gi.stay_on_top);
  gi.modal = j.Bool("modal", gi.modal);
  if (j.Has("text")) gi.text = ReadFileBytes(Resolve(root_, j.Get("text"), j.Where()));
  j.Finish();
}

void ProjectReader::LibraryInitCode(const Json& list, const std::string& where) {
  for (size_t i = 0; i < list.size(); ++i)
    g_.library_init_code.push_back(Code(root_, list[i],
                                        where + ": library_init_code[" + std::to_string(i) + "]",
                                        "library initialization code " + std::to_string(i)));
}

void ProjectReader::RoomOrder(const Json& list, const std::string& where) {
  for (size_t i = 0; i < list.size(); ++i)
    g_.room_order.push_back(Ref(rooms_, list[i], where + ": room_order[" + std::to_string(i) + "]"));
  if (g_.room_order.empty()) {
    // Without an explicit order the rooms run in table order.
    for (size_t i = 0; i < rooms_.present.size(); ++i)
      if (rooms_.present[i]) g_.room_order.push_back(static_cast<int32_t>(i));
  }
  if (g_.room_order.empty()) throw PackError(where, "a game needs at least one room");
}

std::unique_ptr<CSound> ProjectReader::Sound(const fs::path& file) {
  JsonObject j(ReadJsonFile(file), Rel(file));
  auto s = std::make_unique<CSound>();
  const Json& kind = j.Get("kind");
  if (kind.is_string()) {
    s->s_kind = SoundKindFromName(kind.get<std::string>());
    if (s->s_kind < 0) j.Fail("kind", "expected normal, background, 3d or multimedia");
  } else {
    s->s_kind = kind.is_null() ? SOUND_NORMAL : j.Int("kind");
  }
  std::string extension;
  const Json& data = j.Get("file");
  if (!data.is_null()) {
    fs::path path = Resolve(file.parent_path(), data, j.Where() + ": \"file\"");
    std::string bytes = ReadFileBytes(path);
    s->s_sound = std::make_unique<std::vector<uint8_t>>(bytes.begin(), bytes.end());
    extension = path.extension().string();
    s->s_origname = V(path.filename().string());
  }
  s->s_extension = V(j.Str("extension", extension));
  s->s_origname = V(j.Str("original_name", ToLatin1(s->s_origname)));
  s->s_effects = j.Int("effects", 0);
  s->s_volume = j.Real("volume", 1.0);
  s->s_pan = j.Real("pan", 0.0);
  s->s_preload = j.Bool("preload", true);
  j.Finish();
  return s;
}

TRect BoxFromJson(JsonObject& j, const char* key) {
  std::vector<int32_t> v = j.IntList(key);
  if (v.size() != 4) j.Fail(key, "expected [left, top, right, bottom]");
  return TRect{v[0], v[1], v[2], v[3]};
}

std::unique_ptr<CSprite> ProjectReader::Sprite(const fs::path& file) {
  JsonObject j(ReadJsonFile(file), Rel(file));
  fs::path dir = file.parent_path();
  auto s = std::make_unique<CSprite>();
  std::vector<int32_t> origin = j.IntList("origin");
  if (!origin.empty() && origin.size() != 2) j.Fail("origin", "expected [x, y]");
  if (origin.size() == 2) s->i_xorig = origin[0], s->i_yorig = origin[1];
  const Json& frames = j.Array("frames");
  for (size_t i = 0; i < frames.size(); ++i)
    s->i_bitmap.push_back(Image(dir, frames[i], j.Where() + ": frames[" + std::to_string(i) + "]"));
  if (j.Has("strip")) {
    JsonObject strip = j.Object("strip");
    TBitmap32 whole = Image(dir, strip.Get("image"), strip.Where());
    int n = strip.Int("frames", 1);
    strip.Finish();
    if (n <= 0 || whole.s_w % n != 0)
      throw PackError(strip.Where(), "the strip's width " + std::to_string(whole.s_w) +
                                         " is not a multiple of " + std::to_string(n) + " frames");
    RBitmap rb{whole.s_w, whole.s_h, whole.s_data};
    for (int k = 0; k < n; ++k) {
      RBitmap part = CropBitmap(rb, k * (whole.s_w / n), 0, whole.s_w / n, whole.s_h);
      TBitmap32 bm;
      bm.s_w = part.width;
      bm.s_h = part.height;
      bm.s_data = std::move(part.pixels);
      s->i_bitmap.push_back(std::move(bm));
    }
  }
  if (j.Has("masks")) {
    s->i_sepmasks = j.Bool("separate_masks", false);
    const Json& masks = j.Array("masks");
    for (size_t i = 0; i < masks.size(); ++i) {
      JsonObject jm(masks[i], j.Where() + ": masks[" + std::to_string(i) + "]");
      TMask mask;
      if (jm.Has("image")) {
        TBitmap32 bm = Image(dir, jm.Get("image"), jm.Where());
        mask.i_w = bm.s_w;
        mask.i_h = bm.s_h;
        mask.i_mask.assign(bm.s_data.size(), 0);
        for (int y = 0; y < bm.s_h; ++y)
          for (int x = 0; x < bm.s_w; ++x) mask.Set(x, y, (bm.GetPixel(x, y) >> 24) >= 128);
      } else {
        mask.i_w = jm.Int("width", 0);
        mask.i_h = jm.Int("height", 0);
        if (mask.i_w > 0 && mask.i_h > 0) jm.Fail("image", "a mask with pixels needs an image");
      }
      mask.i_bbox = BoxFromJson(jm, "bbox");
      jm.Finish();
      s->i_mask.push_back(std::move(mask));
    }
    size_t want = s->i_bitmap.empty() ? 0 : s->i_sepmasks ? s->i_bitmap.size() : 1;
    if (s->i_mask.size() != want)
      j.Fail("masks", "expected " + std::to_string(want) + " masks for " +
                          std::to_string(s->i_bitmap.size()) + " frames");
    s->ComputeBoundingBox();
  } else {
    JsonObject jm = j.Object("mask");
    MaskSettings m;
    m.separate = jm.Bool("separate", false);
    std::string kind = jm.Str("kind", "precise");
    static const char* kKinds[] = {"precise", "rectangle", "ellipse", "diamond"};
    int k = 0;
    while (k < 4 && kind != kKinds[k]) ++k;
    if (k == 4) jm.Fail("kind", "expected precise, rectangle, ellipse or diamond");
    m.kind = static_cast<MaskKind>(k);
    const Json& box = jm.Get("bbox");
    if (box.is_array()) {
      m.box_mode = BoxMode::Manual;
      m.box = BoxFromJson(jm, "bbox");
    } else if (box.is_null() || box == "automatic") {
      m.box_mode = BoxMode::Automatic;
    } else if (box == "full") {
      m.box_mode = BoxMode::Full;
    } else {
      jm.Fail("bbox", "expected \"automatic\", \"full\" or [left, top, right, bottom]");
    }
    m.tolerance = jm.Int("tolerance", 0);
    jm.Finish();
    ComputeSpriteMasks(*s, m);
  }
  j.Finish();
  return s;
}

std::unique_ptr<CBackground> ProjectReader::Background(const fs::path& file) {
  JsonObject j(ReadJsonFile(file), Rel(file));
  auto b = std::make_unique<CBackground>();
  if (!j.Has("image")) j.Fail("image", "missing field");
  b->i_bitmap = Image(file.parent_path(), j.Get("image"), j.Where() + ": \"image\"");
  j.Finish();
  return b;
}

std::unique_ptr<CPath> ProjectReader::Path(const fs::path& file) {
  JsonObject j(ReadJsonFile(file), Rel(file));
  auto p = std::make_unique<CPath>();
  const Json& kind = j.Get("kind");
  if (kind == "straight") p->i_kind = 0;
  else if (kind == "smooth") p->i_kind = 1;
  else if (!kind.is_null()) p->i_kind = j.Int("kind");
  p->i_closed = j.Bool("closed", true);
  p->i_precision = j.Int("precision", 4);
  const Json& points = j.Array("points");
  for (size_t i = 0; i < points.size(); ++i) {
    std::string where = j.Where() + ": points[" + std::to_string(i) + "]";
    const Json& pt = points[i];
    if (!pt.is_array() || pt.size() < 2 || pt.size() > 3)
      throw PackError(where, "expected [x, y] or [x, y, speed]");
    RWayPoint w;
    w.x = JsonToReal(pt[0], where);
    w.y = JsonToReal(pt[1], where);
    if (pt.size() == 3) w.speed = JsonToReal(pt[2], where);
    p->i_points.push_back(w);
  }
  j.Finish();
  return p;
}

std::unique_ptr<CScript> ProjectReader::Script(const fs::path& file, const VString& name) {
  auto s = std::make_unique<CScript>();
  s->s_text = Code(file.parent_path(), file.filename().string(), Rel(file),
                   "script " + ToUtf8(name));
  return s;
}

std::unique_ptr<CFont> ProjectReader::Font(const fs::path& file) {
  JsonObject j(ReadJsonFile(file), Rel(file));
  auto f = std::make_unique<CFont>();
  f->s_name = V(j.Str("face"));
  f->s_size = j.Int("size", 12);
  f->s_bold = j.Bool("bold", false);
  f->s_italic = j.Bool("italic", false);
  f->s_first = j.Int("first", 32);
  f->s_last = j.Int("last", 127);
  f->s_charset = j.Int("charset", 1);
  f->s_AntiAlias = j.Int("antialias", 3);
  if (j.Has("atlas")) {
    JsonObject a = j.Object("atlas");
    f->s_bw = a.Int("width", 0);
    f->s_bh = a.Int("height", 0);
    if (a.Has("image")) {
      TBitmap32 bm = Image(file.parent_path(), a.Get("image"), a.Where() + ": \"image\"");
      if (bm.s_w != f->s_bw || bm.s_h != f->s_bh)
        a.Fail("image", "the image is " + std::to_string(bm.s_w) + "x" + std::to_string(bm.s_h) +
                            ", not the atlas size");
      f->s_bytes.resize(bm.s_data.size());
      for (size_t i = 0; i < bm.s_data.size(); ++i) f->s_bytes[i] = static_cast<uint8_t>(bm.s_data[i] >> 24);
    } else if (f->s_bw > 0 && f->s_bh > 0) {
      a.Fail("image", "missing field");
    }
    JsonObject glyphs = a.Object("glyphs");
    for (int c = 0; c < 256; ++c) {
      std::string key = std::to_string(c);
      if (!glyphs.Has(key)) continue;
      std::vector<int32_t> v = glyphs.IntList(key);
      if (v.size() != 6) glyphs.Fail(key, "expected [x, y, w, h, shift, offset]");
      f->s_x[c] = v[0], f->s_y[c] = v[1], f->s_w[c] = v[2];
      f->s_h[c] = v[3], f->s_shift[c] = v[4], f->s_offset[c] = v[5];
    }
    glyphs.Finish();
    a.Finish();
  } else {
    FontRaster r;
    std::string error;
    if (!RasteriseFont(ToLatin1(f->s_name), f->s_size, f->s_bold, f->s_italic, f->s_first,
                       f->s_last, r, error))
      throw PackError(j.Where(), error);
    f->s_first = r.first;
    f->s_last = r.last;
    f->s_x = r.x, f->s_y = r.y, f->s_w = r.w, f->s_h = r.h;
    f->s_shift = r.shift, f->s_offset = r.offset;
    f->s_bw = r.atlas_width;
    f->s_bh = r.atlas_height;
    f->s_bytes = std::move(r.atlas);
  }
  f->s_FontHeight = 0;
  for (int c = 0; c < 256; ++c) f->s_FontHeight = std::max(f->s_FontHeight, f->s_h[c]);
  j.Finish();
  return f;
}

CAction ProjectReader::Action(const fs::path& dir, JsonObject j, const std::string& what) {
  int shapes = j.Has("code") + j.Has("function") + j.Has("control");
  if (shapes > 1) throw PackError(j.Where(), "an action has one of \"code\", \"function\" or \"control\"");
  ActionShape shape = j.Has("code") ? ActionShape::Code
                      : j.Has("control") ? ActionShape::Control
                                         : ActionShape::Function;
  CAction a = DefaultAction(shape);
  std::array<VString, kMaxActionArgs> texts;
  int count = 0;
  if (shape == ActionShape::Code) texts[static_cast<size_t>(count++)] = Code(dir, j.Get("code"), j.Where(), what);
  if (shape == ActionShape::Function) a.act_functionname = V(j.Str("function", ""));
  if (shape == ActionShape::Control) {
    a.act_kind = ControlKindFromName(j.Str("control"));
    if (a.act_kind < 0) j.Fail("control", "expected begin, end, else, exit or repeat");
  }
  const Json& args = j.Array("arguments");
  if (count + args.size() > kMaxActionArgs) j.Fail("arguments", "an action has at most 8 arguments");
  for (size_t i = 0; i < args.size(); ++i) {
    std::string where = j.Where() + ": arguments[" + std::to_string(i) + "]";
    if (args[i].is_number()) texts[static_cast<size_t>(count++)] = V(args[i].dump());
    else texts[static_cast<size_t>(count++)] = V(JsonToStr(args[i], where));
  }
  ApplyArguments(a, shape, texts, count);
  const Json& who = j.Get("applies_to");
  if (who == "self" || who.is_null()) a.act_who = -1;
  else if (who == "other") a.act_who = -2;
  else a.act_who = Ref(objects_, who, j.Where() + ": \"applies_to\"");
  a.act_relative = j.Bool("relative", false);
  a.act_isnot = j.Bool("not", false);
  a.act_libid = j.Int("library", a.act_libid);
  a.act_id = j.Int("action_id", a.act_id);
  a.act_kind = j.Int("kind", a.act_kind);
  a.act_exetype = j.Int("execution", a.act_exetype);
  a.act_userelative = j.Bool("has_relative", a.act_userelative);
  a.act_isquestion = j.Bool("question", a.act_isquestion);
  a.act_useapplyto = j.Bool("has_applies_to", a.act_useapplyto);
  if (j.Has("function_name")) a.act_functionname = V(j.Str("function_name"));
  a.act_codestring = V(j.Str("code_string", ""));
  a.act_argumentcount = j.Int("argument_count", a.act_argumentcount);
  if (j.Has("argument_kinds")) {
    std::vector<int32_t> kinds = j.IntList("argument_kinds");
    if (kinds.size() > kMaxActionArgs) j.Fail("argument_kinds", "at most 8 kinds");
    a.act_argtypecount = static_cast<int32_t>(kinds.size());
    a.act_argtype.fill(0);
    for (size_t i = 0; i < kinds.size(); ++i) a.act_argtype[i] = kinds[i];
  }
  j.Finish();
  if (codes_) AddArgumentCodes(a, j.Where(), what);
  return a;
}

// Arguments that compile as expressions: every kind but strings (1 and 15),
// and kind 2 only when quoted.
void ProjectReader::AddArgumentCodes(const CAction& a, const std::string& where,
                                     const std::string& what) {
  if (a.act_kind == ACT_CODE) return;
  int n = std::min({a.act_argumentcount, a.act_argstringcount, a.act_argtypecount});
  for (int i = 0; i < n; ++i) {
    int kind = a.act_argtype[static_cast<size_t>(i)];
    const VString& text = a.act_argstring[static_cast<size_t>(i)];
    if (kind == 1 || kind == 15) continue;
    if (kind == 2 && (text.empty() || (text[0] != u'"' && text[0] != u'\''))) continue;
    codes_->push_back(CodeText{CodeText::Kind::Expression, current_file_, 0, 0, ToLatin1(text),
                               "argument " + std::to_string(i) + " of " + what + " (" + where +
                                   ")"});
  }
}

void ProjectReader::Actions(const fs::path& dir, const Json& list, const std::string& where,
                            const std::string& what, std::vector<CAction>& out) {
  if (!list.is_array()) throw PackError(where, "expected an array of actions");
  for (size_t i = 0; i < list.size(); ++i)
    out.push_back(Action(dir, JsonObject(list[i], where + "[" + std::to_string(i) + "]"),
                         "action " + std::to_string(i + 1) + " of " + what));
}

std::unique_ptr<CTimeLine> ProjectReader::Timeline(const fs::path& file, const VString& name) {
  JsonObject j(ReadJsonFile(file), Rel(file));
  auto t = std::make_unique<CTimeLine>();
  const Json& moments = j.Array("moments");
  for (size_t i = 0; i < moments.size(); ++i) {
    JsonObject m(moments[i], j.Where() + ": moments[" + std::to_string(i) + "]");
    int32_t step = m.Int("step");
    CEvent event;
    Actions(file.parent_path(), m.Get("actions").is_null() ? Json::array() : m.Get("actions"),
            m.Where() + ": actions",
            "time line " + ToUtf8(name) + " step " + std::to_string(step), event.e_actions);
    m.Finish();
    t->s_step.push_back(step);
    t->s_event.push_back(std::move(event));
  }
  j.Finish();
  return t;
}

std::unique_ptr<CObject> ProjectReader::Object(const fs::path& file, const VString& name) {
  JsonObject j(ReadJsonFile(file), Rel(file));
  auto o = std::make_unique<CObject>();
  o->o_spriteindex = Ref(sprites_, j.Get("sprite"), j.Where() + ": \"sprite\"");
  o->o_solid = j.Bool("solid", false);
  o->o_visible = j.Bool("visible", true);
  o->o_depth = j.Int("depth", 0);
  o->o_persistent = j.Bool("persistent", false);
  o->o_parent = Ref(objects_, j.Get("parent"), j.Where() + ": \"parent\"");
  o->o_mask = Ref(sprites_, j.Get("mask"), j.Where() + ": \"mask\"");
  const Json& events = j.Array("events");
  for (size_t i = 0; i < events.size(); ++i) {
    JsonObject e(events[i], j.Where() + ": events[" + std::to_string(i) + "]");
    const Json& type_value = e.Get("type");
    int type = type_value.is_string() ? EventTypeFromName(type_value.get<std::string>())
               : type_value.is_number_integer() ? type_value.get<int>() : -1;
    if (type < 0 || type >= kEventTypeCount) e.Fail("type", "unknown event type");
    int32_t number = type == ev_collision && e.Has("object")
                         ? Ref(objects_, e.Get("object"), e.Where() + ": \"object\"")
                         : e.Int("number", 0);
    if (number < 0) e.Fail("number", "an event number is 0 or more");
    if (o->o_events[static_cast<size_t>(type)].count(number))
      throw PackError(e.Where(), "the object already has this event");
    CEvent& event = o->o_events[static_cast<size_t>(type)][number];
    Actions(file.parent_path(), e.Get("actions").is_null() ? Json::array() : e.Get("actions"),
            e.Where() + ": actions",
            "object " + ToUtf8(name) + " " + EventTypeName(type) + " " + std::to_string(number),
            event.e_actions);
    e.Finish();
  }
  j.Finish();
  return o;
}

std::unique_ptr<CRoom> ProjectReader::Room(const fs::path& file, const VString& name) {
  JsonObject j(ReadJsonFile(file), Rel(file));
  fs::path dir = file.parent_path();
  auto r = std::make_unique<CRoom>();
  r->r_caption = V(j.Str("caption", ""));
  r->r_width = j.Int("width", 640);
  r->r_height = j.Int("height", 480);
  r->r_speed = j.Int("speed", 30);
  r->r_persistent = j.Bool("persistent", false);
  r->r_color = j.Int("color", 0xC0C0C0);
  r->r_showcolor = j.Bool("show_color", true);
  if (j.Has("code")) r->r_code = Code(dir, j.Get("code"), j.Where(), "creation code of room " + ToUtf8(name));
  const Json& backs = j.Array("backgrounds");
  if (backs.size() > kRoomBackgrounds) j.Fail("backgrounds", "a room has at most 8 backgrounds");
  for (size_t i = 0; i < backs.size(); ++i) {
    JsonObject b(backs[i], j.Where() + ": backgrounds[" + std::to_string(i) + "]");
    CBack& back = r->r_background[i];
    back.visible = b.Bool("visible", false);
    back.foreground = b.Bool("foreground", false);
    back.index = Ref(backgrounds_, b.Get("background"), b.Where() + ": \"background\"");
    back.x = b.Int("x", 0);
    back.y = b.Int("y", 0);
    back.htiled = b.Bool("htiled", true);
    back.vtiled = b.Bool("vtiled", true);
    back.hspeed = b.Int("hspeed", 0);
    back.vspeed = b.Int("vspeed", 0);
    back.stretch = b.Bool("stretch", false);
    b.Finish();
  }
  r->r_enableviews = j.Bool("enable_views", false);
  const Json& views = j.Array("views");
  if (views.size() > kRoomViews) j.Fail("views", "a room has at most 8 views");
  for (size_t i = 0; i < views.size(); ++i) {
    JsonObject v(views[i], j.Where() + ": views[" + std::to_string(i) + "]");
    CView& view = r->r_view[i];
    auto quad = [&](const char* key, int32_t& a, int32_t& b, int32_t& c, int32_t& d) {
      if (!v.Has(key)) return;
      std::vector<int32_t> q = v.IntList(key);
      if (q.size() != 4) v.Fail(key, "expected [x, y, width, height]");
      a = q[0], b = q[1], c = q[2], d = q[3];
    };
    auto pair = [&](const char* key, int32_t& a, int32_t& b) {
      if (!v.Has(key)) return;
      std::vector<int32_t> q = v.IntList(key);
      if (q.size() != 2) v.Fail(key, "expected two integers");
      a = q[0], b = q[1];
    };
    view.visible = v.Bool("visible", false);
    quad("view", view.xview, view.yview, view.wview, view.hview);
    quad("port", view.xport, view.yport, view.wport, view.hport);
    pair("border", view.hborder, view.vborder);
    pair("speed", view.hspeed, view.vspeed);
    view.index = Ref(objects_, v.Get("follow"), v.Where() + ": \"follow\"");
    v.Finish();
  }
  const Json& instances = j.Array("instances");
  for (size_t i = 0; i < instances.size(); ++i) {
    JsonObject ji(instances[i], j.Where() + ": instances[" + std::to_string(i) + "]");
    RRoomInstance in;
    in.x = ji.Int("x", 0);
    in.y = ji.Int("y", 0);
    if (!ji.Has("object")) ji.Fail("object", "missing field");
    in.index = Ref(objects_, ji.Get("object"), ji.Where() + ": \"object\"");
    in.id = ji.Has("id") ? ji.Int("id") : max_instance_id_ + 1;
    max_instance_id_ = std::max(max_instance_id_, in.id);
    if (ji.Has("code"))
      in.code = Code(dir, ji.Get("code"), ji.Where(),
                     "creation code of instance " + std::to_string(in.id) + " in room " + ToUtf8(name));
    ji.Finish();
    r->r_instances.push_back(std::move(in));
  }
  const Json& tiles = j.Array("tiles");
  for (size_t i = 0; i < tiles.size(); ++i) {
    JsonObject jt(tiles[i], j.Where() + ": tiles[" + std::to_string(i) + "]");
    RTile t;
    t.x = jt.Int("x", 0);
    t.y = jt.Int("y", 0);
    t.index = Ref(backgrounds_, jt.Get("background"), jt.Where() + ": \"background\"");
    std::vector<int32_t> src = jt.IntList("source");
    if (src.size() != 4) jt.Fail("source", "expected [left, top, width, height]");
    t.xo = src[0], t.yo = src[1], t.w = src[2], t.h = src[3];
    t.depth = jt.Int("depth", 0);
    t.id = jt.Has("id") ? jt.Int("id") : max_tile_id_ + 1;
    max_tile_id_ = std::max(max_tile_id_, t.id);
    jt.Finish();
    r->r_tile.push_back(t);
  }
  j.Finish();
  return r;
}

// Today as a day count since 30 December 1899 and the second of the day.
void BuildTime(int32_t& day, int32_t& second) {
  std::time_t now = std::time(nullptr);
  day = static_cast<int32_t>(now / 86400 + 25569);
  second = static_cast<int32_t>(now % 86400);
}

std::array<uint8_t, 16> GuidFromText(const std::string& text, const std::string& where) {
  std::array<uint8_t, 16> guid{};
  if (text.size() != 32) throw PackError(where, "\"guid\": expected 32 hexadecimal digits");
  for (size_t i = 0; i < 16; ++i) {
    try {
      size_t used = 0;
      guid[i] = static_cast<uint8_t>(std::stoi(text.substr(2 * i, 2), &used, 16));
      if (used != 2) throw std::invalid_argument("digit");
    } catch (const std::exception&) {
      throw PackError(where, "\"guid\": expected 32 hexadecimal digits");
    }
  }
  return guid;
}

void ProjectReader::Run() {
  fs::path manifest_path = root_ / kManifestName;
  Json manifest = ReadJsonFile(manifest_path);
  const std::string where = Rel(manifest_path);
  JsonObject m(manifest, where);
  int format = m.Int("format", kProjectFormatVersion);
  if (format != kProjectFormatVersion)
    m.Fail("format", "this builder reads format " + std::to_string(kProjectFormatVersion));

  JsonObject res = m.Object("resources");
  auto sounds = Order(res, "sounds", sounds_, where);
  auto sprites = Order(res, "sprites", sprites_, where);
  auto backgrounds = Order(res, "backgrounds", backgrounds_, where);
  auto paths = Order(res, "paths", paths_, where);
  auto scripts = Order(res, "scripts", scripts_, where);
  auto fonts = Order(res, "fonts", fonts_, where);
  auto timelines = Order(res, "timelines", timelines_, where);
  auto objects = Order(res, "objects", objects_, where);
  auto rooms = Order(res, "rooms", rooms_, where);
  res.Finish();

  BuildTime(g_.day_count, g_.seconds);
  g_.day_count = m.Int("build_day", g_.day_count);
  g_.seconds = m.Int("build_second", g_.seconds);
  g_.game_id = m.Int("game_id", 0);
  if (m.Has("guid")) g_.guid = GuidFromText(m.Str("guid"), where);
  g_.edition = m.Int("edition", 0);
  g_.debug_mode = m.Bool("debug", false);
  JsonObject lib = m.Object("support_library");
  g_.support_library_name = V(lib.Str("name", "vexlo3d.bin"));
  // The runner writes the library into its temporary directory under this
  // name, so it must stay a plain file name.
  std::string lib_name = ToLatin1(g_.support_library_name);
  if (lib_name.empty() || lib_name == "." || lib_name == ".." ||
      lib_name.find_first_of("/\\") != std::string::npos)
    lib.Fail("name", "expected a plain file name");
  if (lib.Has("file")) g_.support_library = Bytes(root_, lib.Get("file"), lib.Where());
  lib.Finish();
  Settings(m.Object("settings"));
  Constants(m.Array("constants"), where);
  Triggers(m.Array("triggers"), where);
  Extensions(m.Array("extensions"), where);

  ReadKind(g_.sounds, sounds, kSoundsDir, ".json",
           [&](const fs::path& f, const VString&) { return Sound(f); });
  ReadKind(g_.sprites, sprites, kSpritesDir, ".json",
           [&](const fs::path& f, const VString&) { return Sprite(f); });
  ReadKind(g_.backgrounds, backgrounds, kBackgroundsDir, ".json",
           [&](const fs::path& f, const VString&) { return Background(f); });
  ReadKind(g_.paths, paths, kPathsDir, ".json",
           [&](const fs::path& f, const VString&) { return Path(f); });
  ReadKind(g_.scripts, scripts, kScriptsDir, ".vxs",
           [&](const fs::path& f, const VString& n) { return Script(f, n); });
  ReadKind(g_.fonts, fonts, kFontsDir, ".json",
           [&](const fs::path& f, const VString&) { return Font(f); });
  ReadKind(g_.timelines, timelines, kTimelinesDir, ".json",
           [&](const fs::path& f, const VString& n) { return Timeline(f, n); });
  ReadKind(g_.objects, objects, kObjectsDir, ".json",
           [&](const fs::path& f, const VString& n) { return Object(f, n); });
  ReadKind(g_.rooms, rooms, kRoomsDir, ".json",
           [&](const fs::path& f, const VString& n) { return Room(f, n); });

  g_.last_instance_id = m.Int("last_instance_id", max_instance_id_);
  g_.last_tile_id = m.Int("last_tile_id", max_tile_id_);
  IncludedFiles(m.Array("included_files"), where);
  Information(m.Object("game_information"));
  LibraryInitCode(m.Array("library_init_code"), where);
  RoomOrder(m.Array("room_order"), where);
  m.Finish();
}

}  // namespace

void ReadProject(const fs::path& dir, CGameData& game, std::vector<CodeText>* codes) {
  game.Clear();
  if (!fs::is_directory(dir)) throw PackError(dir.string(), "not a project directory");
  ProjectReader(dir, game, codes).Run();
}
