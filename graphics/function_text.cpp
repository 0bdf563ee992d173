// function_text.cpp: the text builtins (font and alignment, measuring, the
// eight draw_text forms) and the font resource functions of game code.
#include <memory>

#include "graphics/font_class.h"
#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "graphics/text_draw.h"
#include "graphics/text_layout.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"

namespace {

using namespace graphics_args;

void F_SetFont(RValue&, CInstance*, CInstance*, int, RValue* a) { Text_SetFont(Int(a[0])); }
void F_SetHAlign(RValue&, CInstance*, CInstance*, int, RValue* a) { Text_SetHAlign(Int(a[0])); }
void F_SetVAlign(RValue&, CInstance*, CInstance*, int, RValue* a) { Text_SetVAlign(Int(a[0])); }

// string_width / _ext and string_height / _ext: the plain forms use sep
// and w of -1.
template <bool Ext>
void F_StringWidth(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CFont& font = Text_CurrentFont();
  SetReal(r, Text_LayoutWidth(font, Text_Layout(font, Text_Argument(a[0]), Ext ? Real(a[2]) : -1)));
}
template <bool Ext>
void F_StringHeight(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CFont& font = Text_CurrentFont();
  const double w = Ext ? Real(a[2]) : -1, sep = Ext ? Real(a[1]) : -1;
  SetReal(r, Text_LayoutHeight(font, Text_Layout(font, Text_Argument(a[0]), w).size(), sep));
}

// One draw_text form: after (x, y, str) come sep and w (Ext), then xscale,
// yscale and angle (Transformed), then c1..c4 and alpha (Color).
template <bool Ext, bool Transformed, bool Color>
void F_DrawText(RValue&, CInstance*, CInstance*, int, RValue* a) {
  const RValue* p = a + 3;
  double sep = -1, w = -1;
  if (Ext) {
    sep = Real(p[0]);
    w = Real(p[1]);
    p += 2;
  }
  RTextTransform t;
  if (Transformed) {
    t = RTextTransform{true, Real(p[0]), Real(p[1]), Real(p[2])};
    p += 3;
  }
  const VString str = Text_Argument(a[2]);
  if (Color) {
    const int32_t colours[4] = {Int(p[0]), Int(p[1]), Int(p[2]), Int(p[3])};
    Text_DrawColor(Real(a[0]), Real(a[1]), str, sep, w, t, colours, Real(p[4]));
  } else {
    Text_Draw(Real(a[0]), Real(a[1]), str, sep, w, t);
  }
}

// --- font resources -------------------------------------------------------

int AddFont(std::unique_ptr<CFont> font) {
  ResourceTable<CFont>& fonts = Game().fonts;
  return fonts.Add(std::move(font), u"__newfont" + FromAscii(std::to_string(fonts.Count()).c_str()));
}

// (name, size, bold, italic, first, last) into font.
void MakeRasterised(CFont& font, RValue* a) {
  font.FreeTexture();
  font.CreateFont(Text_Argument(a[0]), Int(a[1]), Flag(a[2]), Flag(a[3]), Int(a[4]), Int(a[5]));
}

// (spr, first, prop, sep) into font; false when the sprite is missing.
bool MakeFromSprite(CFont& font, RValue* a) {
  const CSprite* sprite = Game().sprites.Get(Int(a[0]));
  if (sprite == nullptr) return false;
  font.FreeTexture();
  font.CreateFromSprite(*sprite, Int(a[0]), Int(a[1]), Flag(a[2]), Int(a[3]));
  return true;
}

void F_FontAdd(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  auto font = std::make_unique<CFont>();
  MakeRasterised(*font, a);
  SetReal(r, AddFont(std::move(font)));
}
void F_FontReplace(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CFont* font = Game().fonts.Get(Int(a[0]));
  if (font == nullptr) return;
  MakeRasterised(*font, a + 1);
  SetBool(r, true);
}
void F_FontAddSprite(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  auto font = std::make_unique<CFont>();
  if (!MakeFromSprite(*font, a)) {
    SetReal(r, -1);
    return;
  }
  SetReal(r, AddFont(std::move(font)));
}
void F_FontReplaceSprite(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CFont* font = Game().fonts.Get(Int(a[0]));
  SetBool(r, font != nullptr && MakeFromSprite(*font, a + 1));
}
void F_FontDelete(RValue&, CInstance*, CInstance*, int, RValue* a) {
  CFont* font = Game().fonts.Get(Int(a[0]));
  if (font == nullptr) return;
  font->FreeTexture();
  Game().fonts.Delete(Int(a[0]));
}
void F_FontExists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Game().fonts.Exists(Int(a[0])));
}
void F_FontGetName(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = RValue::String(Game().fonts.Name(Int(a[0])));
}
void F_FontGetFontName(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CFont* font = Game().fonts.Get(Int(a[0]));
  r = RValue::String(font ? font->s_name : VString());
}
// A numeric font field; 0 for a missing font (-1 for the character range).
template <int32_t (*Field)(const CFont&), int Missing>
void F_FontGet(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const CFont* font = Game().fonts.Get(Int(a[0]));
  SetReal(r, font ? Field(*font) : Missing);
}
int32_t FontSize(const CFont& f) { return f.s_size; }
int32_t FontBold(const CFont& f) { return f.s_bold; }
int32_t FontItalic(const CFont& f) { return f.s_italic; }
int32_t FontFirst(const CFont& f) { return f.s_first; }
int32_t FontLast(const CFont& f) { return f.s_last; }

}  // namespace

void Graphics_RegisterTextFunctions() {
  Graphics_AddFunction("draw_set_font", F_SetFont, 1);
  Graphics_AddFunction("draw_set_halign", F_SetHAlign, 1);
  Graphics_AddFunction("draw_set_valign", F_SetVAlign, 1);
  Graphics_AddFunction("string_width", F_StringWidth<false>, 1);
  Graphics_AddFunction("string_height", F_StringHeight<false>, 1);
  Graphics_AddFunction("string_width_ext", F_StringWidth<true>, 3);
  Graphics_AddFunction("string_height_ext", F_StringHeight<true>, 3);
  Graphics_AddFunction("draw_text", F_DrawText<false, false, false>, 3);
  Graphics_AddFunction("draw_text_ext", F_DrawText<true, false, false>, 5);
  Graphics_AddFunction("draw_text_transformed", F_DrawText<false, true, false>, 6);
  Graphics_AddFunction("draw_text_ext_transformed", F_DrawText<true, true, false>, 8);
  Graphics_AddFunction("draw_text_color", F_DrawText<false, false, true>, 8);
  Graphics_AddFunction("draw_text_transformed_color", F_DrawText<false, true, true>, 11);
  Graphics_AddFunction("draw_text_ext_color", F_DrawText<true, false, true>, 10);
  Graphics_AddFunction("draw_text_ext_transformed_color", F_DrawText<true, true, true>, 13);

  Graphics_AddFunction("font_add", F_FontAdd, 6);
  Graphics_AddFunction("font_replace", F_FontReplace, 7);
  Graphics_AddFunction("font_add_sprite", F_FontAddSprite, 4);
  Graphics_AddFunction("font_replace_sprite", F_FontReplaceSprite, 5);
  Graphics_AddFunction("font_delete", F_FontDelete, 1);
  Graphics_AddFunction("font_exists", F_FontExists, 1);
  Graphics_AddFunction("font_get_name", F_FontGetName, 1);
  Graphics_AddFunction("font_get_fontname", F_FontGetFontName, 1);
  Graphics_AddFunction("font_get_size", F_FontGet<FontSize, 0>, 1);
  Graphics_AddFunction("font_get_bold", F_FontGet<FontBold, 0>, 1);
  Graphics_AddFunction("font_get_italic", F_FontGet<FontItalic, 0>, 1);
  Graphics_AddFunction("font_get_first", F_FontGet<FontFirst, -1>, 1);
  Graphics_AddFunction("font_get_last", F_FontGet<FontLast, -1>, 1);
}
