// project_defaults.cpp: the implied values of actions and room layers.
#include "pack/project_defaults.h"

namespace {
constexpr const char* kControls[] = {"begin", "end", "else", "exit", "repeat"};
}

ActionShape ShapeOfAction(const CAction& a) {
  if (a.act_kind == ACT_CODE && a.act_argstringcount >= 1) return ActionShape::Code;
  if (a.act_kind >= ACT_BEGIN && a.act_kind <= ACT_REPEAT) return ActionShape::Control;
  return ActionShape::Function;
}

CAction DefaultAction(ActionShape shape) {
  CAction a;
  a.act_libid = 1;
  a.act_id = 0;
  a.act_userelative = false;
  a.act_isquestion = false;
  a.act_useapplyto = true;
  a.act_who = -1;
  switch (shape) {
    case ActionShape::Code:
      a.act_id = 603;
      a.act_kind = ACT_CODE;
      a.act_exetype = EXE_CODE;
      break;
    case ActionShape::Function:
      a.act_kind = ACT_NORMAL;
      a.act_exetype = EXE_FUNCTION;
      break;
    case ActionShape::Control:
      a.act_kind = ACT_BEGIN;
      a.act_exetype = EXE_NONE;
      a.act_useapplyto = false;
      break;
  }
  return a;
}

void ApplyArguments(CAction& a, ActionShape shape,
                    const std::array<VString, kMaxActionArgs>& texts, int count) {
  a.act_argstringcount = count;
  a.act_argumentcount = count;
  a.act_argtypecount = count;
  for (int i = 0; i < kMaxActionArgs; ++i) {
    a.act_argstring[static_cast<size_t>(i)] = i < count ? texts[static_cast<size_t>(i)] : VString();
    a.act_argtype[static_cast<size_t>(i)] = i < count && shape == ActionShape::Code ? 1 : 0;
  }
}

const char* ControlName(int kind) {
  return kind >= ACT_BEGIN && kind <= ACT_REPEAT ? kControls[kind - ACT_BEGIN] : "";
}

int ControlKindFromName(const std::string& name) {
  for (int i = 0; i < 5; ++i)
    if (name == kControls[i]) return ACT_BEGIN + i;
  return -1;
}

const Json& DefaultRoomBackgroundJson() {
  static const Json j{{"visible", false}, {"foreground", false}, {"background", nullptr},
                      {"x", 0}, {"y", 0}, {"htiled", true}, {"vtiled", true},
                      {"hspeed", 0}, {"vspeed", 0}, {"stretch", false}};
  return j;
}

const Json& DefaultRoomViewJson() {
  static const Json j{{"visible", false},
                      {"view", Json::array({0, 0, 640, 480})},
                      {"port", Json::array({0, 0, 640, 480})},
                      {"border", Json::array({32, 32})},
                      {"speed", Json::array({-1, -1})},
                      {"follow", nullptr}};
  return j;
}
