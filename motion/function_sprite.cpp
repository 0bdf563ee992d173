// function_sprite.cpp: the sprite functions of game code and the sprite
// table operations behind them: inspecting sprites, adding and replacing
// them from image files, sprite files, the screen and surfaces, copying,
// merging, deleting and saving them, and their mask settings. A missing
// sprite makes a function do nothing: getters give -1, the functions that
// make sprites give -1 and the others false.
#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "code/code_function.h"
#include "motion/image_hooks.h"
#include "motion/image_load.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"
#include "world/instance_list.h"

namespace {

ResourceTable<CSprite>& Table() { return Game().sprites; }
CSprite* SpriteAt(const RValue& v) { return Table().Get(ToInt32(v.val)); }
int32_t Arg(const RValue& v) { return ToInt32(v.val); }
bool Flag(const RValue& v) { return IsTrue(v.val); }

// A file name from game code: both separators work.
std::string FileName(const RValue& v) {
  std::string name = ToUtf8(ValueText(v));
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

// Sprite resource files, by extension (ignoring case); any other file is
// read as an image.
bool IsSpriteFile(const std::string& name) {
  static const std::string kExtension = ".vxspr";
  if (name.size() < kExtension.size()) return false;
  return std::equal(
      kExtension.begin(), kExtension.end(), name.end() - kExtension.size(),
      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

VString NewSpriteName(int index) {
  return u"__newsprite" + FromAscii(std::to_string(index).c_str());
}

// Appends a new sprite, lets fill load it, and takes the entry back when
// that fails: the index, or -1.
template <class Fill>
int AddSprite(Fill&& fill) {
  int index = Table().Count();
  Table().Add(std::make_unique<CSprite>(), NewSpriteName(index));
  if (fill(*Table().Get(index))) return index;
  Table().items.pop_back();
  Table().names.pop_back();
  return -1;
}

// The sprite at index for a replacement, made when the entry is empty; null
// for an index outside the table.
CSprite* SpriteForReplace(int32_t index) {
  if (index < 0 || index >= Table().Count()) return nullptr;
  auto& slot = Table().items[static_cast<size_t>(index)];
  if (!slot) slot = std::make_unique<CSprite>();
  return slot.get();
}

bool LoadAny(CSprite& s, const std::string& name, int32_t imgnumb, bool removeback, bool smooth,
             int32_t xo, int32_t yo) {
  if (IsSpriteFile(name)) return s.LoadFromSpriteFile(name);
  return s.LoadFromFile(name, imgnumb, removeback, smooth, xo, yo);
}

bool GrabScreen(int32_t x, int32_t y, int32_t w, int32_t h, TBitmap32& out) {
  auto grab = Image_RendererHooks().grab_screen;
  return w > 0 && h > 0 && grab && grab(x, y, w, h, out) && !out.Empty();
}

bool GrabSurface(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h, TBitmap32& out) {
  auto grab = Image_RendererHooks().grab_surface;
  return w > 0 && h > 0 && grab && grab(id, x, y, w, h, out) && !out.Empty();
}

void SetBool(RValue& result, bool b) { result = RValue::Real(b ? 1 : 0); }

// --- inspection -------------------------------------------------------------------

void F_SpriteExists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, SpriteAt(a[0]) != nullptr);
}
void F_SpriteName(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = RValue::String(Table().Name(Arg(a[0])));
}

// A getter of one number of an existing sprite.
template <int32_t (*Get)(const CSprite&)>
void F_SpriteGet(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CSprite* s = SpriteAt(a[0]);
  r = RValue::Real(s ? Get(*s) : -1);
}
int32_t Number(const CSprite& s) { return s.Numb(); }
int32_t Width(const CSprite& s) { return s.Width(); }
int32_t Height(const CSprite& s) { return s.Height(); }
int32_t XOffset(const CSprite& s) { return s.i_xorig; }
int32_t YOffset(const CSprite& s) { return s.i_yorig; }
int32_t BoxLeft(const CSprite& s) { return s.i_bbox.left; }
int32_t BoxRight(const CSprite& s) { return s.i_bbox.right; }
int32_t BoxTop(const CSprite& s) { return s.i_bbox.top; }
int32_t BoxBottom(const CSprite& s) { return s.i_bbox.bottom; }

// --- changes to one sprite -------------------------------------------------------

void F_SpriteSetOffset(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (CSprite* s = SpriteAt(a[0])) {
    s->i_xorig = Arg(a[1]);
    s->i_yorig = Arg(a[2]);
    Instance_SpriteChanged(Arg(a[0]));
  }
}

void F_SpriteSetAlphaFromSprite(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSprite* s = SpriteAt(a[0]);
  const CSprite* from = SpriteAt(a[1]);
  if (s && from) s->SetAlphaFromSprite(*from);
  SetBool(r, s && from);
}

// (ind, sepmasks, bbmode, left, top, right, bottom, kind, tolerance)
void F_SpriteCollisionMask(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSprite* s = SpriteAt(a[0]);
  if (s) {
    TRect box{Arg(a[3]), Arg(a[4]), Arg(a[5]), Arg(a[6])};
    s->ComputeMask(Flag(a[1]), Arg(a[2]), box, Arg(a[7]), std::clamp(Arg(a[8]), 0, 255));
    Instance_SpriteChanged(Arg(a[0]));
  }
  SetBool(r, s != nullptr);
}

void F_SpriteMerge(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSprite* s = SpriteAt(a[0]);
  const CSprite* from = SpriteAt(a[1]);
  if (s && from) s->AddFromSprite(*from);
  SetBool(r, s && from);
}

// --- sprites from files ----------------------------------------------------------

// (fname, imgnumb, removeback, smooth, xorig, yorig)
void F_SpriteAdd(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  std::string name = FileName(a[0]);
  r = RValue::Real(AddSprite([&](CSprite& s) {
    return LoadAny(s, name, Arg(a[1]), Flag(a[2]), Flag(a[3]), Arg(a[4]), Arg(a[5]));
  }));
}

// (ind, fname, imgnumb, removeback, smooth, xorig, yorig)
void F_SpriteReplace(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSprite* s = SpriteForReplace(Arg(a[0]));
  SetBool(
      r, s && LoadAny(*s, FileName(a[1]), Arg(a[2]), Flag(a[3]), Flag(a[4]), Arg(a[5]), Arg(a[6])));
  Instance_SpriteChanged(Arg(a[0]));
}

void F_SpriteAddSprite(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  std::string name = FileName(a[0]);
  r = RValue::Real(AddSprite([&](CSprite& s) { return s.LoadFromSpriteFile(name); }));
}

void F_SpriteReplaceSprite(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSprite* s = SpriteForReplace(Arg(a[0]));
  SetBool(r, s && s->LoadFromSpriteFile(FileName(a[1])));
  Instance_SpriteChanged(Arg(a[0]));
}

// --- sprites from the screen and surfaces -----------------------------------------

// (x, y, w, h, removeback, smooth, xorig, yorig)
void F_SpriteCreateFromScreen(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  TBitmap32 bm;
  if (!GrabScreen(Arg(a[0]), Arg(a[1]), Arg(a[2]), Arg(a[3]), bm)) {
    r = RValue::Real(-1);
    return;
  }
  r = RValue::Real(AddSprite([&](CSprite& s) {
    s.CreateFromBitmap(bm, Flag(a[4]) ? 1 : 0, Flag(a[5]), Arg(a[6]), Arg(a[7]));
    return true;
  }));
}

// (ind, x, y, w, h, removeback, smooth)
void F_SpriteAddFromScreen(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSprite* s = SpriteAt(a[0]);
  TBitmap32 bm;
  bool ok = s && GrabScreen(Arg(a[1]), Arg(a[2]), Arg(a[3]), Arg(a[4]), bm);
  if (ok) s->AddFromBitmap(bm, Flag(a[5]), Flag(a[6]));
  SetBool(r, ok);
}

// (id, x, y, w, h, removeback, smooth, xorig, yorig)
void F_SpriteCreateFromSurface(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  TBitmap32 bm;
  if (!GrabSurface(Arg(a[0]), Arg(a[1]), Arg(a[2]), Arg(a[3]), Arg(a[4]), bm)) {
    r = RValue::Real(-1);
    return;
  }
  r = RValue::Real(AddSprite([&](CSprite& s) {
    s.CreateFromBitmap(bm, Flag(a[5]) ? 1 : 0, Flag(a[6]), Arg(a[7]), Arg(a[8]));
    return true;
  }));
}

// (ind, id, x, y, w, h, removeback, smooth)
void F_SpriteAddFromSurface(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSprite* s = SpriteAt(a[0]);
  TBitmap32 bm;
  bool ok = s && GrabSurface(Arg(a[1]), Arg(a[2]), Arg(a[3]), Arg(a[4]), Arg(a[5]), bm);
  if (ok) s->AddFromBitmap(bm, Flag(a[6]), Flag(a[7]));
  SetBool(r, ok);
}

// --- the table --------------------------------------------------------------------

void F_SpriteDelete(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSprite* s = SpriteAt(a[0]);
  if (s) s->FreeTexture();
  SetBool(r, Table().Delete(Arg(a[0])));
  Instance_SpriteChanged(Arg(a[0]));
}

void F_SpriteDuplicate(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CSprite* from = SpriteAt(a[0]);
  if (!from) {
    r = RValue::Real(-1);
    return;
  }
  r = RValue::Real(AddSprite([&](CSprite& s) {
    // Adding may move the table's storage, but not the sprite itself.
    s.Assign(*from);
    return true;
  }));
}

void F_SpriteAssign(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CSprite* from = SpriteAt(a[1]);
  int32_t index = Arg(a[0]);
  if (!from || index < 0 || index >= Table().Count()) {
    SetBool(r, false);
    return;
  }
  SpriteForReplace(index)->Assign(*from);
  Instance_SpriteChanged(index);
  SetBool(r, true);
}

// --- saving -----------------------------------------------------------------------

// (ind, subimg, fname): one image as PNG; the image index wraps.
void F_SpriteSave(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CSprite* s = SpriteAt(a[0]);
  int32_t img = s ? s->ImageIndex(Arg(a[1])) : -1;
  SetBool(r, img >= 0 && Image_SavePng(FileName(a[2]), s->i_bitmap[static_cast<size_t>(img)]));
}

// (ind, fname): all images side by side as one PNG.
void F_SpriteSaveStrip(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CSprite* s = SpriteAt(a[0]);
  if (!s || s->Numb() == 0 || int64_t{s->Width()} * s->Numb() > kImageMaxSide) {
    SetBool(r, false);
    return;
  }
  const int32_t w = s->Width();
  TBitmap32 strip(w * s->Numb(), s->Height());
  for (int32_t i = 0; i < s->Numb(); ++i) strip.Draw(s->i_bitmap[static_cast<size_t>(i)], i * w, 0);
  SetBool(r, Image_SavePng(FileName(a[1]), strip));
}

}  // namespace

void Sprite_RegisterFunctions() {
  Function_Add("sprite_exists", F_SpriteExists, 1);
  Function_Add("sprite_name", F_SpriteName, 1);
  Function_Add("sprite_get_name", F_SpriteName, 1);
  Function_Add("sprite_get_number", F_SpriteGet<Number>, 1);
  Function_Add("sprite_get_width", F_SpriteGet<Width>, 1);
  Function_Add("sprite_get_height", F_SpriteGet<Height>, 1);
  Function_Add("sprite_get_xoffset", F_SpriteGet<XOffset>, 1);
  Function_Add("sprite_get_yoffset", F_SpriteGet<YOffset>, 1);
  Function_Add("sprite_get_bbox_left", F_SpriteGet<BoxLeft>, 1);
  Function_Add("sprite_get_bbox_right", F_SpriteGet<BoxRight>, 1);
  Function_Add("sprite_get_bbox_top", F_SpriteGet<BoxTop>, 1);
  Function_Add("sprite_get_bbox_bottom", F_SpriteGet<BoxBottom>, 1);
  Function_Add("sprite_set_offset", F_SpriteSetOffset, 3);
  Function_Add("sprite_set_alpha_from_sprite", F_SpriteSetAlphaFromSprite, 2);
  Function_Add("sprite_create_from_screen", F_SpriteCreateFromScreen, 8);
  Function_Add("sprite_add_from_screen", F_SpriteAddFromScreen, 7);
  Function_Add("sprite_create_from_surface", F_SpriteCreateFromSurface, 9);
  Function_Add("sprite_add_from_surface", F_SpriteAddFromSurface, 8);
  Function_Add("sprite_add", F_SpriteAdd, 6);
  Function_Add("sprite_replace", F_SpriteReplace, 7);
  Function_Add("sprite_add_sprite", F_SpriteAddSprite, 1);
  Function_Add("sprite_replace_sprite", F_SpriteReplaceSprite, 2);
  Function_Add("sprite_delete", F_SpriteDelete, 1);
  Function_Add("sprite_duplicate", F_SpriteDuplicate, 1);
  Function_Add("sprite_assign", F_SpriteAssign, 2);
  Function_Add("sprite_merge", F_SpriteMerge, 2);
  Function_Add("sprite_save", F_SpriteSave, 3);
  Function_Add("sprite_save_strip", F_SpriteSaveStrip, 2);
  Function_Add("sprite_collision_mask", F_SpriteCollisionMask, 9);
}
