// world_test_support.h: a small harness for the game world tests: builds
// objects with code and function actions, rooms with placed instances,
// starts a game without a window, runs steps and collects the output of a
// capturing "say" function.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "code/builtin_variables.h"
#include "code/code_error_state.h"
#include "code/code_errortext.h"
#include "code/code_function.h"
#include "runner/builtins.h"
#include "code/code_main.h"
#include "code/code_script.h"
#include "code/code_variable.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "world/action_engine.h"
#include "world/event_dispatch.h"
#include "world/input_state.h"
#include "world/instance_list.h"
#include "world/room_enter.h"
#include "world/room_runtime.h"
#include "world/run_step.h"
#include "world/world_builtins.h"

namespace worldtest {

inline std::string& Output() {
  static std::string out;
  return out;
}

// say(v, ...): the texts of the arguments separated by blanks, then ";".
inline void Say(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
  for (int i = 0; i < argc; ++i) {
    if (i > 0) Output() += ' ';
    Output() += ToUtf8(ValueText(args[i]));
  }
  Output() += ';';
}
inline void Yes(RValue& result, CInstance*, CInstance*, int, RValue*) { result = RValue::Real(1); }
inline void No(RValue& result, CInstance*, CInstance*, int, RValue*) { result = RValue::Real(0); }

inline void RegisterAll() {
  Builtins_RegisterAll();
  Code_RegisterFunctions();
  World_RegisterBuiltins();
  if (Function_Find("say") < 0) {
    Function_Add("say", Say, -1);
    Function_Add("yes", Yes, 0);
    Function_Add("no", No, 0);
  }
}

inline VString W(const std::string& s) { return FromUtf8(s); }

// An action calling a builtin function with constant string arguments.
inline CAction FunctionAction(const std::string& function, std::initializer_list<std::string> args,
                              bool question = false) {
  CAction a;
  a.act_exetype = EXE_FUNCTION;
  a.act_functionname = W(function);
  a.act_functionid = Function_Find(function);
  a.act_isquestion = question;
  a.act_argumentcount = static_cast<int32_t>(args.size());
  int i = 0;
  for (const std::string& text : args) {
    a.act_argtype[static_cast<size_t>(i)] = 0;  // an expression
    a.act_argstring[static_cast<size_t>(i++)] = W(text);
  }
  return a;
}

inline CAction ControlAction(int32_t kind) {
  CAction a;
  a.act_kind = kind;
  return a;
}

inline CAction CodeAction(const std::string& code) {
  CAction a;
  a.act_kind = ACT_CODE;
  a.act_exetype = EXE_CODE;
  a.act_argumentcount = 1;
  a.act_argtype[0] = 1;
  a.act_argstring[0] = W(code);
  return a;
}

class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAll();
    Reset();
  }
  void TearDown() override { Reset(); }

  void Reset() {
    RoomRuntime_FreeAll();
    Game().Clear();
    Game().settings.code_flags = 0;
    Game().settings.show_errors = false;
    Game().settings.log_errors = false;
    Game().settings.abort_on_errors = false;
    Error_State() = RErrorReportState();
    Code_ClearScripts();
    Variable_GlobalsReset();
    Variable_ResetGlobals();
    CodeError_Clear();
    RunnerForm().pending_transition = TRANSITION_NONE;
    RunnerForm().step_counter = 0;
    Event_Context() = REventContext();
    Input_Clear();
    Room_SetHooks(RoomHooks{RoomRuntime_Enter, RoomRuntime_Leave, Room_Live});
    Output().clear();
  }

  int AddObject(const std::string& name, int parent = -1) {
    auto object = std::make_unique<CObject>();
    object->o_parent = parent;
    return Game().objects.Add(std::move(object), W(name));
  }
  CObject& Object(int index) { return *Game().objects.Get(index); }

  // Appends a code action to event (type, number) of the object.
  void On(int object, int32_t type, int32_t number, const std::string& code) {
    Object(object).AddEvent(type, number).e_actions.push_back(CodeAction(code));
  }
  void OnActions(int object, int32_t type, int32_t number, std::vector<CAction> actions) {
    auto& list = Object(object).AddEvent(type, number).e_actions;
    for (CAction& a : actions) list.push_back(std::move(a));
  }

  int AddRoom(std::vector<RRoomInstance> instances, const std::string& code = "") {
    auto room = std::make_unique<CRoom>();
    room->r_instances = std::move(instances);
    room->r_code = W(code);
    int index = Game().rooms.Add(std::move(room), W("room" + std::to_string(Game().rooms.Count())));
    Game().room_order.push_back(index);
    return index;
  }
  static RRoomInstance Placed(int object, int x, int y, int id, const std::string& code = "") {
    RRoomInstance p;
    p.index = object;
    p.x = x;
    p.y = y;
    p.id = id;
    p.code = W(code);
    return p;
  }

  // Compiles, builds the dispatch lists and enters the first room.
  void StartGame() {
    ASSERT_TRUE(World_CompileObjects());
    Dispatch_Build();
    RoomRuntime_Reset();
    Room_EnterFirst();
  }
  // Steps, each followed by the pending transition (a room change).
  void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      World_Step();
      Runner_HandleTransition();
    }
  }
  std::string TakeOutput() {
    std::string out = Output();
    Output().clear();
    return out;
  }
};

}  // namespace worldtest
