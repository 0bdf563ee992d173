// project_write.cpp: CGameData to a project directory. Writes the manifest,
// one JSON file per resource, code as .vxs files and images as PNG. Where a
// field can be left at the value the reader assumes, it is left out, so an
// unpacked project reads like a hand-written one; everything else is
// written explicitly so that packing it again gives the same game data.
#include "pack/project_write.h"

#include <cstdio>
#include <map>
#include <set>

#include "pack/pack_error.h"
#include "pack/pack_image.h"
#include "pack/pack_json.h"
#include "pack/pack_mask.h"
#include "pack/project_defaults.h"
#include "pack/project_layout.h"
#include "runner/game_data.h"

namespace fs = std::filesystem;

namespace {

std::string U8(const VString& s) { return ToUtf8(s); }

// A reference to a resource: its name when the name finds it, null for -1,
// else the plain index.
template <class T>
Json Ref(const ResourceTable<T>& table, int32_t index) {
  if (index == -1) return nullptr;
  if (table.Exists(index) && table.Find(table.names[static_cast<size_t>(index)]) == index)
    return U8(table.names[static_cast<size_t>(index)]);
  return index;
}

RBitmap ToRBitmap(const TBitmap32& bm) {
  RBitmap out;
  out.width = bm.s_w;
  out.height = bm.s_h;
  out.pixels = bm.s_data;
  return out;
}

Json BoxJson(const TRect& r) { return Json::array({r.left, r.top, r.right, r.bottom}); }

class ProjectWriter {
 public:
  ProjectWriter(const CGameData& game, fs::path root) : g_(game), root_(std::move(root)) {}
  void Run();

 private:
  // Names every slot of a table with a file name unique in its folder; the
  // order list of the manifest.
  template <class T>
  Json OrderList(const ResourceTable<T>& table, std::vector<std::string>& files);
  void WriteCode(const fs::path& path, const VString& text) {
    WriteFileBytes(path, Latin1ToUtf8(ToLatin1(text)));
  }
  Json Settings();
  Json Triggers();
  Json IncludedFiles();
  Json Information();
  Json Extensions();
  Json LibraryInitCode();
  void Sound(const CSound& s, const std::string& f);
  void Sprite(const CSprite& s, const std::string& f);
  void Background(const CBackground& b, const std::string& f);
  void Path(const CPath& p, const std::string& f);
  void Font(const CFont& font, const std::string& f);
  void Timeline(const CTimeLine& t, const std::string& f);
  void Object(const CObject& o, const std::string& f);
  void Room(const CRoom& r, const std::string& f);
  Json Actions(const std::vector<CAction>& actions, const fs::path& dir,
               const std::string& base, const std::string& rel);
  Json Action(const CAction& a, const fs::path& dir, const std::string& code_file,
              const std::string& rel);
  Json Image(const TBitmap32& bm, const fs::path& dir, const std::string& file,
             const std::string& rel);

  const CGameData& g_;
  fs::path root_;
};

template <class T>
Json ProjectWriter::OrderList(const ResourceTable<T>& table, std::vector<std::string>& files) {
  Json list = Json::array();
  std::set<std::string> used;
  files.assign(static_cast<size_t>(table.Count()), "");
  for (int i = 0; i < table.Count(); ++i) {
    if (!table.Exists(i)) {
      list.push_back(nullptr);
      continue;
    }
    const VString& name = table.names[static_cast<size_t>(i)];
    std::string file = FileNameOf(name);
    bool renamed = false;
    for (int n = 2; used.count(file); ++n, renamed = true) file = FileNameOf(name) + "~" + std::to_string(n);
    used.insert(file);
    files[static_cast<size_t>(i)] = file;
    if (renamed || file != U8(name))
      list.push_back(Json{{"name", U8(name)}, {"file", file}});
    else
      list.push_back(U8(name));
  }
  return list;
}

Json ProjectWriter::Image(const TBitmap32& bm, const fs::path& dir, const std::string& file,
                          const std::string& rel) {
  if (bm.s_w <= 0 || bm.s_h <= 0) return Json{{"width", bm.s_w}, {"height", bm.s_h}};
  WritePng(dir / file, ToRBitmap(bm));
  return rel + file;
}

Json ProjectWriter::Settings() {
  const GameSettings& s = g_.settings;
  Json j;
  j["full_screen"] = s.full_screen;
  j["interpolate"] = s.interpolate;
  j["no_border"] = s.no_border;
  j["show_cursor"] = s.show_cursor;
  j["scale"] = s.scale;
  j["sizeable"] = s.sizeable;
  j["stay_on_top"] = s.stay_on_top;
  j["window_color"] = s.window_color;
  j["set_display_mode"] = s.set_display_mode;
  j["color_depth"] = s.color_depth;
  j["resolution"] = s.resolution;
  j["frequency"] = s.frequency;
  j["no_caption_buttons"] = s.no_caption_buttons;
  j["synchronization"] = s.synchronization;
  j["no_screen_saver"] = s.no_screen_saver;
  j["f4_switches_screen"] = s.f4_switches_screen;
  j["f1_shows_information"] = s.f1_shows_information;
  j["esc_ends_game"] = s.esc_ends_game;
  j["f5_saves_f6_loads"] = s.f5_saves_f6_loads;
  j["f9_screenshot"] = s.f9_screenshot;
  j["close_button_as_esc"] = s.close_button_as_esc;
  j["priority"] = s.priority;
  j["freeze_when_inactive"] = s.freeze_when_inactive;
  j["show_progress_bar"] = s.show_progress_bar;
  auto image = [&](const std::shared_ptr<RBitmap>& bm, const char* key, const char* file) {
    if (!bm) return;
    if (bm->width <= 0 || bm->height <= 0) {
      j[key] = Json{{"width", bm->width}, {"height", bm->height}};
      return;
    }
    WritePng(root_ / "settings" / file, *bm);
    j[key] = std::string("settings/") + file;
  };
  if (s.show_progress_bar) {
    image(s.bar_back_image, "bar_back_image", "bar_back.png");
    image(s.bar_front_image, "bar_front_image", "bar_front.png");
  }
  image(s.loading_image, "loading_image", "loading.png");
  j["image_transparent"] = s.image_transparent;
  j["image_alpha"] = s.image_alpha;
  j["stretch_bar"] = s.stretch_bar;
  j["show_errors"] = s.show_errors;
  j["log_errors"] = s.log_errors;
  j["abort_on_errors"] = s.abort_on_errors;
  j["uninitialized_as_zero"] = (s.code_flags & 1) != 0;
  j["strict_arguments"] = (s.code_flags & 2) != 0;
  if (s.code_flags & ~3) j["other_code_flags"] = s.code_flags & ~3;
  return j;
}

Json ProjectWriter::Triggers() {
  Json list = Json::array();
  std::set<std::string> used;
  for (int i = 0; i < g_.triggers.Count(); ++i) {
    const CTrigger* t = g_.triggers.Get(i);
    if (!t) {
      list.push_back(nullptr);
      continue;
    }
    std::string file = FileNameOf(t->i_name);
    for (int n = 2; used.count(file); ++n) file = FileNameOf(t->i_name) + "~" + std::to_string(n);
    used.insert(file);
    Json j{{"name", U8(t->i_name)}};
    if (!t->i_condition.empty()) {
      WriteCode(root_ / "triggers" / (file + ".vxs"), t->i_condition);
      j["condition"] = "triggers/" + file + ".vxs";
    }
    j["moment"] = t->i_moment;
    j["constant"] = U8(t->i_constname);
    list.push_back(j);
  }
  return list;
}

Json ProjectWriter::IncludedFiles() {
  Json list = Json::array();
  std::set<std::string> used;
  for (int i = 0; i < g_.included_files.Count(); ++i) {
    const CDataFile* d = g_.included_files.Get(i);
    if (!d) {
      list.push_back(nullptr);
      continue;
    }
    Json j{{"file_name", U8(d->s_filename)}, {"original_name", U8(d->s_origname)},
           {"exists", d->s_exists}, {"store", d->s_store}};
    if (d->s_exists && d->s_store) {
      std::string file = FileNameOf(d->s_filename);
      for (int n = 2; used.count(file); ++n) file = FileNameOf(d->s_filename) + "~" + std::to_string(n);
      used.insert(file);
      WriteFileBytes(root_ / "included" / file,
                     std::string(d->s_data.begin(), d->s_data.end()));
      j["data"] = "included/" + file;
      if (d->s_size != static_cast<int32_t>(d->s_data.size())) j["size"] = d->s_size;
    } else {
      j["size"] = d->s_size;
    }
    j["export_action"] = d->s_exportaction;
    j["export_dir"] = U8(d->s_exportdir);
    j["overwrite"] = d->s_overwrite;
    j["free_data"] = d->s_freedata;
    j["remove_at_end"] = d->s_removeend;
    list.push_back(j);
  }
  return list;
}

Json ProjectWriter::Information() {
  const CGameInformation& gi = g_.game_information;
  Json j{{"background_color", gi.background_color}, {"embed", gi.embed},
         {"caption", U8(gi.caption)}, {"left", gi.left}, {"top", gi.top},
         {"width", gi.width}, {"height", gi.height}, {"border", gi.border},
         {"sizeable", gi.sizeable}, {"stay_on_top", gi.stay_on_top}, {"modal", gi.modal}};
  if (!gi.text.empty()) {
    WriteFileBytes(root_ / "information.rtf", gi.text);
    j["text"] = "information.rtf";
  }
  return j;
}

Json ProjectWriter::Extensions() {
  Json list = Json::array();
  std::set<std::string> used;
  for (int i = 0; i < g_.extensions.Count(); ++i) {
    const CExtensionPackage* p = g_.extensions.Get(i);
    if (!p) continue;  // packages are stored without an exists flag
    std::string f = FileNameOf(p->s_name);
    for (int n = 2; used.count(f); ++n) f = FileNameOf(p->s_name) + "~" + std::to_string(n);
    used.insert(f);
    Json files = Json::array();
    std::set<std::string> used_files;
    for (const CExtensionFile& file : p->s_includes) {
      Json jf{{"file_name", U8(file.s_filename)}, {"kind", file.s_kind},
              {"init", U8(file.s_init)}, {"final", U8(file.s_final)}};
      if (file.s_kind != EXT_NOBYTES) {
        std::string base = FileNameOf(file.s_filename);
        std::string name = base;
        for (int n = 2; used_files.count(name); ++n) name = base + "~" + std::to_string(n);
        used_files.insert(name);
        WriteFileBytes(root_ / "extensions" / f / name,
                       std::string(file.s_data.begin(), file.s_data.end()));
        jf["data"] = f + "/" + name;
      }
      Json functions = Json::array();
      for (const CExtensionFunction& fn : file.s_functions)
        functions.push_back(Json{{"name", U8(fn.s_name)}, {"external_name", U8(fn.s_extname)},
                                 {"kind", fn.s_kind}, {"id", fn.s_id},
                                 {"argument_count", fn.s_argcount},
                                 {"argument_types", fn.s_argtype},
                                 {"return_type", fn.s_returntype}});
      jf["functions"] = functions;
      Json constants = Json::array();
      for (const CExtensionConstant& c : file.s_constants)
        constants.push_back(Json{{"name", U8(c.s_name)}, {"value", U8(c.s_value)}});
      jf["constants"] = constants;
      files.push_back(jf);
    }
    WriteJsonFile(root_ / "extensions" / (f + ".json"),
                  Json{{"name", U8(p->s_name)}, {"folder", U8(p->s_folder)}, {"files", files}});
    list.push_back("extensions/" + f + ".json");
  }
  return list;
}

Json ProjectWriter::LibraryInitCode() {
  Json list = Json::array();
  for (size_t i = 0; i < g_.library_init_code.size(); ++i) {
    std::string file = "library/init_" + std::to_string(i) + ".vxs";
    WriteCode(root_ / file, g_.library_init_code[i]);
    list.push_back(file);
  }
  return list;
}

void ProjectWriter::Sound(const CSound& s, const std::string& f) {
  Json j;
  j["kind"] = s.s_kind >= 0 && s.s_kind < 4 ? Json(SoundKindName(s.s_kind)) : Json(s.s_kind);
  std::string ext = ToLatin1(s.s_extension);
  bool plain_ext = ext.size() >= 2 && ext[0] == '.' && FileNameOf(s.s_extension.substr(1)) == ext.substr(1);
  if (s.s_sound) {
    std::string file = f + (plain_ext ? ext : ".bin");
    WriteFileBytes(root_ / kSoundsDir / file, std::string(s.s_sound->begin(), s.s_sound->end()));
    j["file"] = file;
    if (!plain_ext) j["extension"] = U8(s.s_extension);
  } else {
    j["file"] = nullptr;
    j["extension"] = U8(s.s_extension);
  }
  j["original_name"] = U8(s.s_origname);
  j["effects"] = s.s_effects;
  j["volume"] = s.s_volume;
  j["pan"] = s.s_pan;
  j["preload"] = s.s_preload;
  WriteJsonFile(root_ / kSoundsDir / (f + ".json"), j);
}

// The first mask description that reproduces the stored masks, if any.
bool FindMaskSettings(const CSprite& s, MaskSettings& found) {
  for (int kind = 0; kind < 4; ++kind)
    for (int mode = 0; mode < 2; ++mode) {
      MaskSettings m;
      m.separate = s.i_sepmasks;
      m.kind = static_cast<MaskKind>(kind);
      m.box_mode = static_cast<BoxMode>(mode);
      CSprite copy;
      copy.i_bitmap = s.i_bitmap;
      ComputeSpriteMasks(copy, m);
      if (copy.i_mask == s.i_mask) {
        found = m;
        return true;
      }
    }
  return false;
}

void ProjectWriter::Sprite(const CSprite& s, const std::string& f) {
  fs::path dir = root_ / kSpritesDir;
  Json j{{"origin", Json::array({s.i_xorig, s.i_yorig})}};
  Json frames = Json::array();
  for (size_t i = 0; i < s.i_bitmap.size(); ++i)
    frames.push_back(Image(s.i_bitmap[i], dir / f, std::to_string(i) + ".png", f + "/"));
  j["frames"] = frames;
  MaskSettings m;
  static const char* kKinds[] = {"precise", "rectangle", "ellipse", "diamond"};
  if (!s.i_bitmap.empty() && FindMaskSettings(s, m)) {
    j["mask"] = Json{{"separate", m.separate}, {"kind", kKinds[static_cast<int>(m.kind)]},
                     {"bbox", m.box_mode == BoxMode::Full ? "full" : "automatic"}};
  } else {
    // Masks that no description reproduces are kept as images: white is solid.
    Json masks = Json::array();
    for (size_t i = 0; i < s.i_mask.size(); ++i) {
      const TMask& mk = s.i_mask[i];
      Json jm{{"bbox", BoxJson(mk.i_bbox)}};
      if (mk.i_w > 0 && mk.i_h > 0) {
        RBitmap bm;
        bm.width = mk.i_w;
        bm.height = mk.i_h;
        bm.pixels.resize(static_cast<size_t>(mk.i_w) * mk.i_h);
        for (int y = 0; y < mk.i_h; ++y)
          for (int x = 0; x < mk.i_w; ++x)
            bm.pixels[static_cast<size_t>(y) * mk.i_w + x] = mk.Get(x, y) ? 0xFFFFFFFFu : 0u;
        std::string file = "mask_" + std::to_string(i) + ".png";
        WritePng(dir / f / file, bm);
        jm["image"] = f + "/" + file;
      } else {
        jm["width"] = mk.i_w;
        jm["height"] = mk.i_h;
      }
      masks.push_back(jm);
    }
    j["separate_masks"] = s.i_sepmasks;
    j["masks"] = masks;
  }
  WriteJsonFile(dir / (f + ".json"), j);
}

void ProjectWriter::Background(const CBackground& b, const std::string& f) {
  fs::path dir = root_ / kBackgroundsDir;
  WriteJsonFile(dir / (f + ".json"), Json{{"image", Image(b.i_bitmap, dir, f + ".png", "")}});
}

void ProjectWriter::Path(const CPath& p, const std::string& f) {
  Json points = Json::array();
  for (const RWayPoint& w : p.i_points) points.push_back(Json::array({w.x, w.y, w.speed}));
  WriteJsonFile(root_ / kPathsDir / (f + ".json"),
                Json{{"kind", p.i_kind}, {"closed", p.i_closed}, {"precision", p.i_precision},
                     {"points", points}});
}

void ProjectWriter::Font(const CFont& font, const std::string& f) {
  fs::path dir = root_ / kFontsDir;
  Json j{{"face", U8(font.s_name)}, {"size", font.s_size}, {"bold", font.s_bold},
         {"italic", font.s_italic}, {"first", font.s_first}, {"last", font.s_last},
         {"charset", font.s_charset}, {"antialias", font.s_AntiAlias}};
  Json atlas{{"width", font.s_bw}, {"height", font.s_bh}};
  if (font.s_bw > 0 && font.s_bh > 0) {
    RBitmap bm;
    bm.width = font.s_bw;
    bm.height = font.s_bh;
    bm.pixels.resize(font.s_bytes.size());
    for (size_t i = 0; i < font.s_bytes.size(); ++i)
      bm.pixels[i] = (static_cast<uint32_t>(font.s_bytes[i]) << 24) | 0xFFFFFFu;
    WritePng(dir / (f + ".png"), bm);
    atlas["image"] = f + ".png";
  }
  Json glyphs = Json::object();
  for (int c = 0; c < 256; ++c) {
    Json g = Json::array({font.s_x[c], font.s_y[c], font.s_w[c], font.s_h[c], font.s_shift[c],
                          font.s_offset[c]});
    bool zero = true;
    for (const Json& v : g) zero = zero && v.get<int>() == 0;
    if (!zero) glyphs[std::to_string(c)] = g;
  }
  atlas["glyphs"] = glyphs;
  j["atlas"] = atlas;
  WriteJsonFile(dir / (f + ".json"), j);
}

Json ProjectWriter::Action(const CAction& a, const fs::path& dir, const std::string& code_file,
                           const std::string& rel) {
  ActionShape shape = ShapeOfAction(a);
  CAction base = DefaultAction(shape);
  Json j;
  size_t first_arg = 0;
  switch (shape) {
    case ActionShape::Code:
      WriteCode(dir / code_file, a.act_argstring[0]);
      j["code"] = rel + code_file;
      first_arg = 1;
      break;
    case ActionShape::Function:
      j["function"] = U8(a.act_functionname);
      base.act_functionname = a.act_functionname;
      break;
    case ActionShape::Control:
      j["control"] = ControlName(a.act_kind);
      base.act_kind = a.act_kind;
      break;
  }
  Json args = Json::array();
  for (int i = static_cast<int>(first_arg); i < a.act_argstringcount; ++i)
    args.push_back(U8(a.act_argstring[static_cast<size_t>(i)]));
  if (!args.empty()) j["arguments"] = args;
  ApplyArguments(base, shape, a.act_argstring, a.act_argstringcount);
  if (a.act_who == -1) {
  } else if (a.act_who == -2) {
    j["applies_to"] = "other";
  } else {
    j["applies_to"] = Ref(g_.objects, a.act_who);
  }
  if (a.act_relative) j["relative"] = true;
  if (a.act_isnot) j["not"] = true;
  // Fields that differ from what the shape implies.
  if (a.act_libid != base.act_libid) j["library"] = a.act_libid;
  if (a.act_id != base.act_id) j["action_id"] = a.act_id;
  if (a.act_kind != base.act_kind) j["kind"] = a.act_kind;
  if (a.act_exetype != base.act_exetype) j["execution"] = a.act_exetype;
  if (a.act_userelative != base.act_userelative) j["has_relative"] = a.act_userelative;
  if (a.act_isquestion != base.act_isquestion) j["question"] = a.act_isquestion;
  if (a.act_useapplyto != base.act_useapplyto) j["has_applies_to"] = a.act_useapplyto;
  if (shape != ActionShape::Function && !a.act_functionname.empty())
    j["function_name"] = U8(a.act_functionname);
  if (!a.act_codestring.empty()) j["code_string"] = U8(a.act_codestring);
  if (a.act_argumentcount != base.act_argumentcount) j["argument_count"] = a.act_argumentcount;
  bool same_kinds = a.act_argtypecount == base.act_argtypecount;
  for (int i = 0; same_kinds && i < a.act_argtypecount; ++i)
    same_kinds = a.act_argtype[static_cast<size_t>(i)] == base.act_argtype[static_cast<size_t>(i)];
  if (!same_kinds) {
    Json kinds = Json::array();
    for (int i = 0; i < a.act_argtypecount; ++i) kinds.push_back(a.act_argtype[static_cast<size_t>(i)]);
    j["argument_kinds"] = kinds;
  }
  return j;
}

Json ProjectWriter::Actions(const std::vector<CAction>& actions, const fs::path& dir,
                            const std::string& base, const std::string& rel) {
  Json list = Json::array();
  int code_count = 0;
  for (const CAction& a : actions) {
    std::string file = base + (code_count ? "_" + std::to_string(code_count + 1) : "") + ".vxs";
    if (ShapeOfAction(a) == ActionShape::Code) ++code_count;
    list.push_back(Action(a, dir, file, rel));
  }
  return list;
}

void ProjectWriter::Timeline(const CTimeLine& t, const std::string& f) {
  fs::path dir = root_ / kTimelinesDir;
  Json moments = Json::array();
  for (size_t i = 0; i < t.s_step.size(); ++i) {
    std::string base = "step_" + std::to_string(t.s_step[i]);
    if (i > 0 && t.s_step[i - 1] == t.s_step[i]) base += "_m" + std::to_string(i);
    moments.push_back(Json{{"step", t.s_step[i]},
                           {"actions", Actions(t.s_event[i].e_actions, dir / f, base, f + "/")}});
  }
  WriteJsonFile(dir / (f + ".json"), Json{{"moments", moments}});
}

void ProjectWriter::Object(const CObject& o, const std::string& f) {
  fs::path dir = root_ / kObjectsDir;
  Json j{{"sprite", Ref(g_.sprites, o.o_spriteindex)}, {"solid", o.o_solid},
         {"visible", o.o_visible}, {"depth", o.o_depth}, {"persistent", o.o_persistent},
         {"parent", Ref(g_.objects, o.o_parent)}, {"mask", Ref(g_.sprites, o.o_mask)}};
  Json events = Json::array();
  for (int type = 0; type < kEventTypeCount; ++type)
    for (const auto& [number, event] : o.o_events[static_cast<size_t>(type)]) {
      Json e{{"type", EventTypeName(type)}};
      std::string base = std::string(EventTypeName(type)) + "_" + std::to_string(number);
      if (type == ev_collision) {
        Json other = Ref(g_.objects, number);
        e["object"] = other;
        if (other.is_string()) base = "collision_" + FileNameOf(FromUtf8(other.get<std::string>()));
      } else {
        e["number"] = number;
      }
      e["actions"] = Actions(event.e_actions, dir / f, base, f + "/");
      events.push_back(e);
    }
  j["events"] = events;
  WriteJsonFile(dir / (f + ".json"), j);
}

void ProjectWriter::Room(const CRoom& r, const std::string& f) {
  fs::path dir = root_ / kRoomsDir;
  Json j{{"caption", U8(r.r_caption)}, {"width", r.r_width}, {"height", r.r_height},
         {"speed", r.r_speed}, {"persistent", r.r_persistent}, {"color", r.r_color},
         {"show_color", r.r_showcolor}};
  if (!r.r_code.empty()) {
    WriteCode(dir / f / "creation.vxs", r.r_code);
    j["code"] = f + "/creation.vxs";
  }
  Json backs = Json::array();
  for (const CBack& b : r.r_background)
    backs.push_back(Json{{"visible", b.visible}, {"foreground", b.foreground},
                         {"background", Ref(g_.backgrounds, b.index)},
                         {"x", static_cast<int32_t>(b.x)}, {"y", static_cast<int32_t>(b.y)},
                         {"htiled", b.htiled}, {"vtiled", b.vtiled},
                         {"hspeed", static_cast<int32_t>(b.hspeed)},
                         {"vspeed", static_cast<int32_t>(b.vspeed)}, {"stretch", b.stretch}});
  while (!backs.empty() && backs.back() == DefaultRoomBackgroundJson()) backs.erase(backs.size() - 1);
  j["backgrounds"] = backs;
  j["enable_views"] = r.r_enableviews;
  Json views = Json::array();
  for (const CView& v : r.r_view)
    views.push_back(Json{{"visible", v.visible},
                         {"view", Json::array({v.xview, v.yview, v.wview, v.hview})},
                         {"port", Json::array({v.xport, v.yport, v.wport, v.hport})},
                         {"border", Json::array({v.hborder, v.vborder})},
                         {"speed", Json::array({v.hspeed, v.vspeed})},
                         {"follow", Ref(g_.objects, v.index)}});
  while (!views.empty() && views.back() == DefaultRoomViewJson()) views.erase(views.size() - 1);
  j["views"] = views;
  Json instances = Json::array();
  for (const RRoomInstance& in : r.r_instances) {
    Json ji{{"x", in.x}, {"y", in.y}, {"object", Ref(g_.objects, in.index)}, {"id", in.id}};
    if (!in.code.empty()) {
      std::string file = "instance_" + std::to_string(in.id) + ".vxs";
      if (fs::exists(dir / f / file)) file = "instance_" + std::to_string(instances.size()) + "_" + file;
      WriteCode(dir / f / file, in.code);
      ji["code"] = f + "/" + file;
    }
    instances.push_back(ji);
  }
  j["instances"] = instances;
  Json tiles = Json::array();
  for (const RTile& t : r.r_tile)
    tiles.push_back(Json{{"x", static_cast<int32_t>(t.x)}, {"y", static_cast<int32_t>(t.y)},
                         {"background", Ref(g_.backgrounds, t.index)},
                         {"source", Json::array({t.xo, t.yo, t.w, t.h})},
                         {"depth", static_cast<int32_t>(t.depth)}, {"id", t.id}});
  j["tiles"] = tiles;
  WriteJsonFile(dir / (f + ".json"), j);
}

void ProjectWriter::Run() {
  Json m;
  m["format"] = kProjectFormatVersion;
  m["game_id"] = g_.game_id;
  char guid[33];
  for (int i = 0; i < 16; ++i) std::snprintf(guid + 2 * i, 3, "%02x", g_.guid[static_cast<size_t>(i)]);
  m["guid"] = guid;
  m["edition"] = g_.edition;
  m["debug"] = g_.debug_mode;
  m["build_day"] = g_.day_count;
  m["build_second"] = g_.seconds;
  Json lib{{"name", U8(g_.support_library_name)}};
  if (!g_.support_library.empty()) {
    WriteFileBytes(root_ / "support.bin",
                   std::string(g_.support_library.begin(), g_.support_library.end()));
    lib["file"] = "support.bin";
  }
  m["support_library"] = lib;
  m["settings"] = Settings();
  Json constants = Json::array();
  for (const RConstant& c : g_.constants)
    constants.push_back(Json{{"name", U8(c.name)}, {"value", U8(c.value)}});
  m["constants"] = constants;
  m["triggers"] = Triggers();
  m["extensions"] = Extensions();

  std::vector<std::string> sounds, sprites, backgrounds, paths, scripts, fonts, timelines,
      objects, rooms;
  Json res;
  res["sounds"] = OrderList(g_.sounds, sounds);
  res["sprites"] = OrderList(g_.sprites, sprites);
  res["backgrounds"] = OrderList(g_.backgrounds, backgrounds);
  res["paths"] = OrderList(g_.paths, paths);
  res["scripts"] = OrderList(g_.scripts, scripts);
  res["fonts"] = OrderList(g_.fonts, fonts);
  res["timelines"] = OrderList(g_.timelines, timelines);
  res["objects"] = OrderList(g_.objects, objects);
  res["rooms"] = OrderList(g_.rooms, rooms);
  m["resources"] = res;
  for (int i = 0; i < g_.sounds.Count(); ++i)
    if (auto* s = g_.sounds.Get(i)) Sound(*s, sounds[static_cast<size_t>(i)]);
  for (int i = 0; i < g_.sprites.Count(); ++i)
    if (auto* s = g_.sprites.Get(i)) Sprite(*s, sprites[static_cast<size_t>(i)]);
  for (int i = 0; i < g_.backgrounds.Count(); ++i)
    if (auto* b = g_.backgrounds.Get(i)) Background(*b, backgrounds[static_cast<size_t>(i)]);
  for (int i = 0; i < g_.paths.Count(); ++i)
    if (auto* p = g_.paths.Get(i)) Path(*p, paths[static_cast<size_t>(i)]);
  for (int i = 0; i < g_.scripts.Count(); ++i)
    if (auto* s = g_.scripts.Get(i))
      WriteCode(root_ / kScriptsDir / (scripts[static_cast<size_t>(i)] + ".vxs"), s->s_text);
  for (int i = 0; i < g_.fonts.Count(); ++i)
    if (auto* f = g_.fonts.Get(i)) Font(*f, fonts[static_cast<size_t>(i)]);
  for (int i = 0; i < g_.timelines.Count(); ++i)
    if (auto* t = g_.timelines.Get(i)) Timeline(*t, timelines[static_cast<size_t>(i)]);
  for (int i = 0; i < g_.objects.Count(); ++i)
    if (auto* o = g_.objects.Get(i)) Object(*o, objects[static_cast<size_t>(i)]);
  for (int i = 0; i < g_.rooms.Count(); ++i)
    if (auto* r = g_.rooms.Get(i)) Room(*r, rooms[static_cast<size_t>(i)]);

  m["last_instance_id"] = g_.last_instance_id;
  m["last_tile_id"] = g_.last_tile_id;
  m["included_files"] = IncludedFiles();
  m["game_information"] = Information();
  m["library_init_code"] = LibraryInitCode();
  Json order = Json::array();
  for (int32_t room : g_.room_order) order.push_back(Ref(g_.rooms, room));
  m["room_order"] = order;
  WriteJsonFile(root_ / kManifestName, m);
}

}  // namespace

void WriteProject(const CGameData& game, const fs::path& dir) {
  fs::create_directories(dir);
  ProjectWriter(game, dir).Run();
}
