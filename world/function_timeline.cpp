// function_timeline.cpp: the time line builtins of game code: the table
// (timeline_name, _exists, _get_name, _add, _delete, _clear) and the
// moments (timeline_moment_add, timeline_moment_clear).
#include "code/code_function.h"
#include "runner/game_data.h"
#include "world/action_engine.h"
#include "world/event_class.h"
#include "world/timeline_class.h"
#include "world/timeline_table.h"

namespace {

int32_t Int(const RValue& v) { return ToInt32(v.val); }

void F_Name(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::String(Game().timelines.Name(Int(args[0])));
}

void F_Exists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(Game().timelines.Exists(Int(args[0])) ? 1 : 0);
}

void F_Add(RValue& result, CInstance*, CInstance*, int, RValue*) {
  result = RValue::Real(TimeLine_Add());
}

void F_Delete(RValue&, CInstance*, CInstance*, int, RValue* args) { TimeLine_Delete(Int(args[0])); }

void F_Clear(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CTimeLine* line = TimeLine_Edit(Int(args[0]))) line->Clear();
}

// A code action holding text, compiled with the context of the moment it
// joins (so a compile error names the time line and step).
bool CompileCodeAction(const VString& text, int32_t timeline, int32_t step, CEvent& out) {
  CAction action;
  action.act_kind = ACT_CODE;
  action.act_exetype = EXE_CODE;
  action.act_argumentcount = 1;
  action.act_argtype[0] = 1;
  action.act_argstring[0] = text;
  out.e_actions.push_back(std::move(action));
  REventContext& context = Event_Context();
  const REventContext saved = context;
  context = REventContext{timeline, kEventTypeMoment, step, 0};
  const bool compiled = Event_Compile(out);
  context = saved;
  return compiled;
}

// (timeline, step, code): 1 when the code compiled and joined the moment.
void F_MomentAdd(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const int32_t index = Int(args[0]);
  const int32_t step = Int(args[1]);
  if (!Game().timelines.Exists(index)) return;
  CEvent compiled;
  if (!CompileCodeAction(args[2].str, index, step, compiled)) return;
  CTimeLine* line = TimeLine_Edit(index);
  CEvent& moment = line->s_event[static_cast<size_t>(line->AddMoment(step))];
  moment.e_actions.push_back(std::move(compiled.e_actions.front()));
  result = RValue::Real(1);
}

void F_MomentClear(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CTimeLine* line = TimeLine_Edit(Int(args[0]))) line->DeleteMoment(Int(args[1]));
}

}  // namespace

void World_RegisterTimeLineFunctions() {
  Function_Add("timeline_name", F_Name, 1);
  Function_Add("timeline_exists", F_Exists, 1);
  Function_Add("timeline_get_name", F_Name, 1);
  Function_Add("timeline_add", F_Add, 0);
  Function_Add("timeline_delete", F_Delete, 1);
  Function_Add("timeline_clear", F_Clear, 1);
  Function_Add("timeline_moment_add", F_MomentAdd, 3);
  Function_Add("timeline_moment_clear", F_MomentClear, 2);
}
