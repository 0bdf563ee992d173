// room_variables.cpp: the getters and setters of the current room's
// background layer and view arrays (background_*, view_*), attached to the
// names the variable table entered (World_BindRoomVariables). Every array
// takes an index 0..7; an index outside that range acts as index 0. Without
// a current room reads give 0 and writes are accepted and change nothing.
#include "code/builtin_variables.h"
#include "graphics/background_class.h"
#include "runner/game_data.h"
#include "world/room_runtime.h"

namespace {

int LayerIndex(int index, int count) { return index >= 0 && index < count ? index : 0; }

CBack* Layer(int index) {
  CRoom* room = Room_Live();
  return room ? &room->r_background[static_cast<size_t>(LayerIndex(index, kRoomBackgrounds))] : nullptr;
}
CView* View(int index) {
  CRoom* room = Room_Live();
  return room ? &room->r_view[static_cast<size_t>(LayerIndex(index, kRoomViews))] : nullptr;
}

// One getter and setter per field kind: a Boolean, a 32-bit integer or a real.
template <class T>
double Read(T value) {
  return static_cast<double>(value);
}
inline double Read(bool value) { return value ? 1.0 : 0.0; }

template <class T>
T Convert(const RValue& v);
template <>
bool Convert<bool>(const RValue& v) { return Variable_ToBoolean(v); }
template <>
int32_t Convert<int32_t>(const RValue& v) { return Variable_ToInteger(v); }
template <>
double Convert<double>(const RValue& v) { return v.val; }

template <class T, T CBack::*Field>
void GetBack(CInstance*, int index, RValue& out) {
  const CBack* layer = Layer(index);
  out = RValue::Real(layer ? Read(layer->*Field) : 0.0);
}
template <class T, T CBack::*Field>
bool SetBack(CInstance*, int index, const RValue& v) {
  if (CBack* layer = Layer(index)) layer->*Field = Convert<T>(v);
  return true;
}

template <class T, T CView::*Field>
void GetView(CInstance*, int index, RValue& out) {
  const CView* view = View(index);
  out = RValue::Real(view ? Read(view->*Field) : 0.0);
}
template <class T, T CView::*Field>
bool SetView(CInstance*, int index, const RValue& v) {
  if (CView* view = View(index)) view->*Field = Convert<T>(v);
  return true;
}

// The size of the layer's background resource; 0 when it does not exist.
const CBackground* LayerResource(int index) {
  const CBack* layer = Layer(index);
  return layer ? Game().backgrounds.Get(layer->index) : nullptr;
}
void GetBackWidth(CInstance*, int index, RValue& out) {
  const CBackground* b = LayerResource(index);
  out = RValue::Real(b ? b->Width() : 0);
}
void GetBackHeight(CInstance*, int index, RValue& out) {
  const CBackground* b = LayerResource(index);
  out = RValue::Real(b ? b->Height() : 0);
}

struct RBinding {
  const char* name;
  BuiltinGetter getter;
  BuiltinSetter setter;
};

#define VX_BACK(name, T, field) {name, GetBack<T, &CBack::field>, SetBack<T, &CBack::field>}
#define VX_VIEW(name, T, field) {name, GetView<T, &CView::field>, SetView<T, &CView::field>}

const RBinding kBindings[] = {
    VX_BACK("background_visible", bool, visible),
    VX_BACK("background_foreground", bool, foreground),
    VX_BACK("background_htiled", bool, htiled),
    VX_BACK("background_vtiled", bool, vtiled),
    VX_BACK("background_index", int32_t, index),
    VX_BACK("background_blend", int32_t, blend),
    VX_BACK("background_x", double, x),
    VX_BACK("background_y", double, y),
    VX_BACK("background_xscale", double, xscale),
    VX_BACK("background_yscale", double, yscale),
    VX_BACK("background_hspeed", double, hspeed),
    VX_BACK("background_vspeed", double, vspeed),
    VX_BACK("background_alpha", double, alpha),
    {"background_width", GetBackWidth, nullptr},
    {"background_height", GetBackHeight, nullptr},
    VX_VIEW("view_visible", bool, visible),
    VX_VIEW("view_xview", int32_t, xview),
    VX_VIEW("view_yview", int32_t, yview),
    VX_VIEW("view_wview", int32_t, wview),
    VX_VIEW("view_hview", int32_t, hview),
    VX_VIEW("view_xport", int32_t, xport),
    VX_VIEW("view_yport", int32_t, yport),
    VX_VIEW("view_wport", int32_t, wport),
    VX_VIEW("view_hport", int32_t, hport),
    VX_VIEW("view_hborder", int32_t, hborder),
    VX_VIEW("view_vborder", int32_t, vborder),
    VX_VIEW("view_hspeed", int32_t, hspeed),
    VX_VIEW("view_vspeed", int32_t, vspeed),
    VX_VIEW("view_object", int32_t, index),
    VX_VIEW("view_angle", double, angle),
};

#undef VX_BACK
#undef VX_VIEW

}  // namespace

// Attaches the background and view getters and setters to the entered names.
void World_BindRoomVariables() {
  for (const RBinding& binding : kBindings) Variable_BuiltinBind(binding.name, binding.getter, binding.setter);
}
