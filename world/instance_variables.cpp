// instance_variables.cpp: the getters and setters of the builtin variables
// whose state lives in the game world: the fields of instances, the current
// room's settings, the event context, the input state, the room order and
// the instance list. They are attached to the names the variable table
// entered (World_BindVariables).
#include <cmath>

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "world/action_engine.h"
#include "world/input_state.h"
#include "world/instance_list.h"
#include "world/room_runtime.h"
#include "world/run_main.h"

namespace {

void Real(RValue& out, double v) { out = RValue::Real(v); }
int Integer(const RValue& v) { return Variable_ToInteger(v); }
bool Boolean(const RValue& v) { return Variable_ToBoolean(v); }

// --- plain instance fields -------------------------------------------------------------

template <double CInstance::*Field>
void GetField(CInstance* self, int, RValue& out) {
  Real(out, self ? self->*Field : 0.0);
}
template <double CInstance::*Field>
bool SetField(CInstance* self, int, const RValue& v) {
  if (self) self->*Field = v.val;
  return true;
}

template <bool CInstance::*Field>
void GetFlag(CInstance* self, int, RValue& out) {
  Real(out, self && self->*Field ? 1 : 0);
}
template <bool CInstance::*Field>
bool SetFlag(CInstance* self, int, const RValue& v) {
  if (self) self->*Field = Boolean(v);
  return true;
}

template <int32_t CInstance::*Field>
void GetInt(CInstance* self, int, RValue& out) {
  Real(out, self ? self->*Field : 0);
}
template <int32_t CInstance::*Field>
bool SetInt(CInstance* self, int, const RValue& v) {
  if (self) self->*Field = Integer(v);
  return true;
}

// Fields with a setter method: the derived state follows.
template <void (CInstance::*Setter)(double)>
bool SetThrough(CInstance* self, int, const RValue& v) {
  if (self) (self->*Setter)(v.val);
  return true;
}
template <void (CInstance::*Setter)(int32_t)>
bool SetIntThrough(CInstance* self, int, const RValue& v) {
  if (self) (self->*Setter)(Integer(v));
  return true;
}

bool SetX(CInstance* self, int, const RValue& v) {
  if (self) self->SetPosition(v.val, self->i_y);
  return true;
}
bool SetY(CInstance* self, int, const RValue& v) {
  if (self) self->SetPosition(self->i_x, v.val);
  return true;
}

// Alarm indices outside 0..11 act as index 0.
int AlarmIndex(int index) { return index >= 0 && index < kAlarmCount ? index : 0; }
void GetAlarm(CInstance* self, int index, RValue& out) {
  Real(out, self ? self->GetTimer(AlarmIndex(index)) : -1);
}
bool SetAlarm(CInstance* self, int index, const RValue& v) {
  if (self) self->SetTimer(AlarmIndex(index), Integer(v));
  return true;
}

void GetBlend(CInstance* self, int, RValue& out) { Real(out, self ? self->i_imageblend : 0); }
bool SetBlend(CInstance* self, int, const RValue& v) {
  if (self) self->i_imageblend = static_cast<uint32_t>(Integer(v));
  return true;
}

template <int32_t TRect::*Side>
void GetBox(CInstance* self, int, RValue& out) {
  Real(out, self ? self->i_bbox.*Side : 0);
}

void GetImageSingle(CInstance* self, int, RValue& out) {
  if (!self) return Real(out, 0);
  Real(out, self->i_imagespeed != 0 ? -1 : self->i_imageindex);
}
bool SetImageSingle(CInstance* self, int, const RValue& v) {
  if (!self) return true;
  if (v.val >= 0) {
    self->i_imageindex = v.val;
    self->i_imagespeed = 0;
  } else {
    self->i_imagespeed = 1;
  }
  return true;
}

void GetImageNumber(CInstance* self, int, RValue& out) { Real(out, self ? self->ImageNumber() : 0); }

const CSprite* SpriteOf(const CInstance* self) {
  return self ? Game().sprites.Get(self->i_spriteindex) : nullptr;
}
void GetSpriteWidth(CInstance* self, int, RValue& out) {
  const CSprite* s = SpriteOf(self);
  Real(out, s ? s->Width() * self->i_imagescalex : 0);
}
void GetSpriteHeight(CInstance* self, int, RValue& out) {
  const CSprite* s = SpriteOf(self);
  Real(out, s ? s->Height() * self->i_imagescaley : 0);
}
void GetSpriteXOffset(CInstance* self, int, RValue& out) {
  const CSprite* s = SpriteOf(self);
  Real(out, s ? s->i_xorig * self->i_imagescalex : 0);
}
void GetSpriteYOffset(CInstance* self, int, RValue& out) {
  const CSprite* s = SpriteOf(self);
  Real(out, s ? s->i_yorig * self->i_imagescaley : 0);
}

// --- the room ------------------------------------------------------------------------------

void GetRoom(CInstance*, int, RValue& out) { Real(out, Room_LiveIndex()); }
bool SetRoom(CInstance*, int, const RValue& v) {
  Room_RequestGoto(Integer(v));
  return true;
}
void GetRoomFirst(CInstance*, int, RValue& out) { Real(out, Game().RoomFirst()); }
void GetRoomLast(CInstance*, int, RValue& out) { Real(out, Game().RoomLast()); }

template <int32_t CRoom::*Field>
void GetRoomInt(CInstance*, int, RValue& out) {
  const CRoom* room = Room_Live();
  Real(out, room ? room->*Field : 0);
}
template <int32_t CRoom::*Field>
bool SetRoomInt(CInstance*, int, const RValue& v) {
  if (CRoom* room = Room_Live()) room->*Field = Integer(v);
  return true;
}
template <bool CRoom::*Field>
void GetRoomFlag(CInstance*, int, RValue& out) {
  const CRoom* room = Room_Live();
  Real(out, room && room->*Field ? 1 : 0);
}
template <bool CRoom::*Field>
bool SetRoomFlag(CInstance*, int, const RValue& v) {
  if (CRoom* room = Room_Live()) room->*Field = Boolean(v);
  return true;
}

void GetRoomCaption(CInstance*, int, RValue& out) {
  const CRoom* room = Room_Live();
  out = RValue::String(room ? room->r_caption : VString());
}
bool SetRoomCaption(CInstance*, int, const RValue& v) {
  if (CRoom* room = Room_Live()) room->r_caption = v.str;
  return true;
}

// A speed of 0 or less is refused; the old speed stays.
bool SetRoomSpeed(CInstance*, int, const RValue& v) {
  int speed = Integer(v);
  if (speed <= 0) {
    Error_Show_Action("Trying to set the room speed to a value <= 0.", false);
    return false;
  }
  if (CRoom* room = Room_Live()) room->r_speed = speed;
  return true;
}

void GetInstanceCount(CInstance*, int, RValue& out) {
  Real(out, static_cast<double>(Instance_Lists().active.size()));
}
void GetInstanceId(CInstance*, int index, RValue& out) {
  const InstanceOwnerList& active = Instance_Lists().active;
  if (index < 0 || static_cast<size_t>(index) >= active.size()) return Real(out, -4);
  Real(out, active[static_cast<size_t>(index)]->i_id);
}

// --- event context, runner --------------------------------------------------------------------

template <int32_t REventContext::*Field>
void GetContext(CInstance*, int, RValue& out) {
  Real(out, Event_Context().*Field);
}

void GetFps(CInstance*, int, RValue& out) { Real(out, Run_Fps()); }
void GetGameId(CInstance*, int, RValue& out) { Real(out, Game().game_id); }
void GetDebugMode(CInstance*, int, RValue& out) { Real(out, Game().debug_mode ? 1 : 0); }
void GetSecureMode(CInstance*, int, RValue& out) { Real(out, Secure_Mode() ? 1 : 0); }

// --- input -------------------------------------------------------------------------------------

template <int32_t RInputState::*Field>
void GetInput(CInstance*, int, RValue& out) {
  Real(out, Input().*Field);
}
// Keys are accepted in 0..255, buttons in 1..3; other values are ignored.
template <int32_t RInputState::*Field, int Low, int High>
bool SetInput(CInstance*, int, const RValue& v) {
  int value = Integer(v);
  if (value >= Low && value <= High) Input().*Field = value;
  return true;
}
void GetMouseX(CInstance*, int, RValue& out) { Real(out, Input().mouse_x); }
void GetMouseY(CInstance*, int, RValue& out) { Real(out, Input().mouse_y); }
void GetLastChar(CInstance*, int, RValue& out) {
  char16_t ch = Input().last_char;
  out = RValue::String(ch ? VString(1, ch) : VString());
}
bool SetLastChar(CInstance*, int, const RValue& v) {
  if (!v.str.empty()) Input().last_char = v.str[0];
  return true;
}
void GetTyped(CInstance*, int, RValue& out) { out = RValue::String(Input().typed); }
bool SetTyped(CInstance*, int, const RValue& v) {
  Input().typed = v.str;
  return true;
}

struct RBinding {
  const char* name;
  BuiltinGetter getter;
  BuiltinSetter setter;
};

const RBinding kBindings[] = {
    // Global variables of the world.
    {"room", GetRoom, SetRoom},
    {"room_first", GetRoomFirst, nullptr},
    {"room_last", GetRoomLast, nullptr},
    {"game_id", GetGameId, nullptr},
    {"instance_count", GetInstanceCount, nullptr},
    {"instance_id", GetInstanceId, nullptr},
    {"room_width", GetRoomInt<&CRoom::r_width>, nullptr},
    {"room_height", GetRoomInt<&CRoom::r_height>, nullptr},
    {"room_caption", GetRoomCaption, SetRoomCaption},
    {"room_speed", GetRoomInt<&CRoom::r_speed>, SetRoomSpeed},
    {"room_persistent", GetRoomFlag<&CRoom::r_persistent>, SetRoomFlag<&CRoom::r_persistent>},
    {"background_color", GetRoomInt<&CRoom::r_color>, SetRoomInt<&CRoom::r_color>},
    {"background_showcolor", GetRoomFlag<&CRoom::r_showcolor>, SetRoomFlag<&CRoom::r_showcolor>},
    {"view_enabled", GetRoomFlag<&CRoom::r_enableviews>, SetRoomFlag<&CRoom::r_enableviews>},
    {"mouse_x", GetMouseX, nullptr},
    {"mouse_y", GetMouseY, nullptr},
    {"mouse_button", GetInput<&RInputState::current_button>, SetInput<&RInputState::current_button, 1, 3>},
    {"mouse_lastbutton", GetInput<&RInputState::last_button>, SetInput<&RInputState::last_button, 1, 3>},
    {"keyboard_key", GetInput<&RInputState::current_key>, SetInput<&RInputState::current_key, 0, 255>},
    {"keyboard_lastkey", GetInput<&RInputState::last_key>, SetInput<&RInputState::last_key, 0, 255>},
    {"keyboard_lastchar", GetLastChar, SetLastChar},
    {"keyboard_string", GetTyped, SetTyped},
    {"fps", GetFps, nullptr},
    {"event_type", GetContext<&REventContext::type>, nullptr},
    {"event_number", GetContext<&REventContext::number>, nullptr},
    {"event_object", GetContext<&REventContext::object>, nullptr},
    {"event_action", GetContext<&REventContext::action>, nullptr},
    {"secure_mode", GetSecureMode, nullptr},
    {"debug_mode", GetDebugMode, nullptr},
    // Instance variables.
    {"x", GetField<&CInstance::i_x>, SetX},
    {"y", GetField<&CInstance::i_y>, SetY},
    {"xprevious", GetField<&CInstance::i_xprevious>, SetField<&CInstance::i_xprevious>},
    {"yprevious", GetField<&CInstance::i_yprevious>, SetField<&CInstance::i_yprevious>},
    {"xstart", GetField<&CInstance::i_xstart>, SetField<&CInstance::i_xstart>},
    {"ystart", GetField<&CInstance::i_ystart>, SetField<&CInstance::i_ystart>},
    {"hspeed", GetField<&CInstance::i_hspeed>, SetThrough<&CInstance::SetHspeed>},
    {"vspeed", GetField<&CInstance::i_vspeed>, SetThrough<&CInstance::SetVspeed>},
    {"direction", GetField<&CInstance::i_direction>, SetThrough<&CInstance::SetDirection>},
    {"speed", GetField<&CInstance::i_speed>, SetThrough<&CInstance::SetSpeed>},
    {"friction", GetField<&CInstance::i_friction>, SetField<&CInstance::i_friction>},
    {"gravity", GetField<&CInstance::i_gravity>, SetField<&CInstance::i_gravity>},
    {"gravity_direction", GetField<&CInstance::i_gravitydir>, SetField<&CInstance::i_gravitydir>},
    {"object_index", GetInt<&CInstance::i_objectindex>, nullptr},
    {"id", GetInt<&CInstance::i_id>, nullptr},
    {"alarm", GetAlarm, SetAlarm},
    {"solid", GetFlag<&CInstance::i_solid>, SetFlag<&CInstance::i_solid>},
    {"visible", GetFlag<&CInstance::i_visible>, SetFlag<&CInstance::i_visible>},
    {"persistent", GetFlag<&CInstance::i_persistent>, SetFlag<&CInstance::i_persistent>},
    {"depth", GetField<&CInstance::i_depth>, SetField<&CInstance::i_depth>},
    {"bbox_left", GetBox<&TRect::left>, nullptr},
    {"bbox_right", GetBox<&TRect::right>, nullptr},
    {"bbox_top", GetBox<&TRect::top>, nullptr},
    {"bbox_bottom", GetBox<&TRect::bottom>, nullptr},
    {"sprite_index", GetInt<&CInstance::i_spriteindex>, SetIntThrough<&CInstance::SetSpriteIndex>},
    {"image_index", GetField<&CInstance::i_imageindex>, SetField<&CInstance::i_imageindex>},
    {"image_speed", GetField<&CInstance::i_imagespeed>, SetField<&CInstance::i_imagespeed>},
    {"image_alpha", GetField<&CInstance::i_imagealpha>, SetField<&CInstance::i_imagealpha>},
    {"image_single", GetImageSingle, SetImageSingle},
    {"image_number", GetImageNumber, nullptr},
    {"sprite_width", GetSpriteWidth, nullptr},
    {"sprite_height", GetSpriteHeight, nullptr},
    {"sprite_xoffset", GetSpriteXOffset, nullptr},
    {"sprite_yoffset", GetSpriteYOffset, nullptr},
    {"image_xscale", GetField<&CInstance::i_imagescalex>, SetThrough<&CInstance::SetImageScaleX>},
    {"image_yscale", GetField<&CInstance::i_imagescaley>, SetThrough<&CInstance::SetImageScaleY>},
    {"image_angle", GetField<&CInstance::i_imageangle>, SetThrough<&CInstance::SetImageAngle>},
    {"image_blend", GetBlend, SetBlend},
    {"mask_index", GetInt<&CInstance::i_maskindex>, SetIntThrough<&CInstance::SetMaskIndex>},
    {"path_index", GetInt<&CInstance::i_pathindex>, nullptr},
    {"path_scale", GetField<&CInstance::i_pathscale>, SetField<&CInstance::i_pathscale>},
    {"path_orientation", GetField<&CInstance::i_pathorientation>, SetField<&CInstance::i_pathorientation>},
    {"path_endaction", GetInt<&CInstance::i_pathend>, SetInt<&CInstance::i_pathend>},
    {"timeline_index", GetInt<&CInstance::i_timelineindex>, SetInt<&CInstance::i_timelineindex>},
    {"timeline_position", GetField<&CInstance::i_timelineposition>, SetField<&CInstance::i_timelineposition>},
    {"timeline_speed", GetField<&CInstance::i_timelinespeed>, SetField<&CInstance::i_timelinespeed>},
    {"timeline_running", GetFlag<&CInstance::i_timelinerunning>, SetFlag<&CInstance::i_timelinerunning>},
    {"timeline_loop", GetFlag<&CInstance::i_timelineloop>, SetFlag<&CInstance::i_timelineloop>},
};

}  // namespace

// Attaches the world's getters and setters to the entered variable names.
void World_BindVariables() {
  for (const RBinding& binding : kBindings) Variable_BuiltinBind(binding.name, binding.getter, binding.setter);
}
