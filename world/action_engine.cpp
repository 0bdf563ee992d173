// action_engine.cpp: event lookup, the statement engine over action lists,
// action execution with the applies-to rule, the event context, and the
// start-up compilation of object and time line actions.
#include "world/action_engine.h"

#include <climits>
#include <memory>

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "code/code_errortext.h"
#include "code/code_exec.h"
#include "code/code_function.h"
#include "code/code_main.h"
#include "code/code_script.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "world/event_names.h"
#include "world/instance_list.h"
#include "world/object_table.h"
#include "world/timeline_table.h"

namespace {

REventContext g_context;

// Parent chains are bounded so a cycle in bad data cannot hang.
constexpr int kMaxParentDepth = 10000;
constexpr int kStop = INT_MAX;

constexpr int32_t kScriptBase = kActionScriptBase;
constexpr int32_t kExtensionBase = 500000;

// The first non-empty (type, number) event in the chain of object.
const CEvent* WalkChain(int32_t object, int32_t type, int32_t number, int32_t* defining) {
  for (int depth = 0; depth < kMaxParentDepth; ++depth) {
    const CObject* obj = Game().objects.Get(object);
    if (obj == nullptr) return nullptr;
    if (const CEvent* event = obj->GetEvent(type, number)) {
      if (defining != nullptr) *defining = object;
      return event;
    }
    object = obj->o_parent;
  }
  return nullptr;
}

// Restores the event context when a perform ends.
class ContextScope {
 public:
  ContextScope(int32_t object, int32_t type, int32_t number) : saved_(g_context) {
    g_context = REventContext{object, type, number, 0};
  }
  ~ContextScope() { g_context = saved_; }
  ContextScope(const ContextScope&) = delete;
  ContextScope& operator=(const ContextScope&) = delete;

 private:
  REventContext saved_;
};

// --- executing one action -----------------------------------------------------

void EvaluateArgument(const CAction& action, int i, CInstance* self, CInstance* other,
                      RValue& out) {
  const size_t k = static_cast<size_t>(i);
  if (action.act_argtype[k] == -1 || action.act_argcode[k] == nullptr) {
    out = action.act_argvalue[k];
    return;
  }
  out = RValue();
  Code_RunAction(*action.act_argcode[k], self, other, out);
}

void SetRelativeFlag(const CAction& action) {
  g_Arguments.relative = action.act_userelative && action.act_relative;
}

// Code with the action's arguments in the script argument slots; the slots
// it uses and the relative flag are restored afterwards.
void ExecuteCode(const CAction& action, CInstance* self, CInstance* other, RValue& result) {
  if (action.act_codecode == nullptr) return;
  const int count = std::min(action.act_argumentcount, kMaxActionArgs);
  RValue saved[kMaxActionArgs];
  for (int i = 0; i < count; ++i) saved[i] = g_Arguments.slot[i];
  const bool saved_relative = g_Arguments.relative;
  SetRelativeFlag(action);
  for (int i = 0; i < count; ++i) EvaluateArgument(action, i, self, other, g_Arguments.slot[i]);
  Code_RunAction(*action.act_codecode, self, other, result);
  for (int i = 0; i < count; ++i) g_Arguments.slot[i] = std::move(saved[i]);
  g_Arguments.relative = saved_relative;
}

void ExecuteFunction(const CAction& action, CInstance* self, CInstance* other, RValue& result) {
  SetRelativeFlag(action);
  const int count = std::min(action.act_argumentcount, kMaxActionArgs);
  ArgumentFrame args;
  for (int i = 0; i < count; ++i) EvaluateArgument(action, i, self, other, args[i]);
  const int32_t id = action.act_functionid;
  if (id >= kExtensionBase) return;  // extension functions: not available on this host
  if (id >= kScriptBase) {
    if (!Code_CallScript(id - kScriptBase, self, other, result, true, args.values(), count)) {
      Error_Show_Action(CodeErrorState().text, false);
      CodeError_Clear();
    }
    return;
  }
  if (id >= 0 && id < Function_Count()) Function_Get(id).routine(result, self, other, count, args.values());
}

RValue Execute(const CAction& action, CInstance* self, CInstance* other) {
  RValue result;
  if (action.act_exetype == EXE_CODE) ExecuteCode(action, self, other, result);
  else if (action.act_exetype == EXE_FUNCTION) ExecuteFunction(action, self, other, result);
  return result;
}

bool Outcome(const CAction& action, CInstance* self, CInstance* other) {
  RValue result = Execute(action, self, other);
  return IsTrue(result.val) != action.act_isnot;
}

// Plain action with the applies-to rule.
void ExecuteApplied(const CAction& action, CInstance* self, CInstance* other) {
  const int32_t who = action.act_useapplyto ? action.act_who : -1;
  if (who == -1) {
    Execute(action, self, other);
  } else if (who == -2) {
    if (other != nullptr) Execute(action, other, self);
  } else if (const InstanceRefList* list = Instance_ObjectListRecursive(who)) {
    const size_t count = list->size();
    for (size_t i = 0; i < count && i < list->size(); ++i) {
      CInstance* inst = (*list)[i];
      if (inst->i_marked) continue;
      Execute(action, inst, other);
      if (Event_ChangePending()) return;
    }
  }
}

// Question with the applies-to rule: for an object, true unless some
// instance says false.
bool EvaluateApplied(const CAction& action, CInstance* self, CInstance* other) {
  const int32_t who = action.act_useapplyto ? action.act_who : -1;
  if (who == -1) return Outcome(action, self, other);
  if (who == -2) return other != nullptr ? Outcome(action, other, self) : true;
  const InstanceRefList* list = Instance_ObjectListRecursive(who);
  if (list == nullptr) return true;
  const size_t count = list->size();
  for (size_t i = 0; i < count && i < list->size(); ++i) {
    CInstance* inst = (*list)[i];
    if (!inst->i_marked && !Outcome(action, inst, other)) return false;
  }
  return true;
}

// --- the statement engine -----------------------------------------------------

class StatementEngine {
 public:
  StatementEngine(const CEvent& event, CInstance* self, CInstance* other)
      : actions_(event.e_actions), n_(event.Number()), self_(self), other_(other) {}

  void RunAll() {
    for (int i = 0; i < n_;) i = Run(i);
  }

 private:
  const CAction& At(int i) const { return actions_[static_cast<size_t>(i)]; }
  int Kind(int i) const { return At(i).act_kind; }

  int Skip(int i) const {
    if (i >= n_) return n_;
    if (Kind(i) == ACT_BEGIN) {
      int j = i + 1;
      while (j < n_ && Kind(j) != ACT_END) j = Skip(j);
      return j >= n_ ? n_ : j + 1;
    }
    if (At(i).act_isquestion || Kind(i) == ACT_REPEAT) return Skip(i + 1);
    return i + 1;
  }

  int Run(int i) {
    if (i >= n_ || Event_ChangePending()) return kStop;
    const CAction& action = At(i);
    if (action.act_kind == ACT_BEGIN) return RunBlock(i);
    if (action.act_kind == ACT_REPEAT) return RunRepeat(i);
    g_context.action = i;
    if (action.act_isquestion) return RunQuestion(i);
    if (action.act_kind == ACT_EXIT) return kStop;
    ExecuteApplied(action, self_, other_);
    return Event_ChangePending() ? kStop : i + 1;
  }

  // A missing end block runs to the end of the list.
  int RunBlock(int i) {
    int j = i + 1;
    while (j < n_ && Kind(j) != ACT_END) {
      j = Run(j);
      if (j == kStop) return kStop;
    }
    return j >= n_ ? n_ : j + 1;
  }

  int RunRepeat(int i) {
    RValue count_value;
    EvaluateArgument(At(i), 0, self_, other_, count_value);
    int64_t count = 0;
    if (!TryRound(count_value.val, count)) count = 0;
    for (int64_t k = 0; k < count; ++k) {
      if (Run(i + 1) == kStop) return kStop;
    }
    return Skip(i + 1);
  }

  int RunQuestion(int i) {
    const bool outcome = EvaluateApplied(At(i), self_, other_);
    int r = outcome ? Run(i + 1) : Skip(i + 1);
    if (r == kStop) return kStop;
    if (r < n_ && Kind(r) == ACT_ELSE) r = outcome ? Skip(r + 1) : Run(r + 1);
    return Event_ChangePending() ? kStop : r;
  }

  const std::vector<CAction>& actions_;
  const int n_;
  CInstance* self_;
  CInstance* other_;
};

// --- compiling ----------------------------------------------------------------

constexpr int32_t kArgString = 1;
constexpr int32_t kArgStringOrExpression = 2;
constexpr int32_t kArgStringAlso = 15;

bool ReportCompileFailure(const std::string& what, const RCodeCompileError& error) {
  Error_Show_Action("COMPILATION ERROR in " + what + "\r" + error.text, true);
  return false;
}

bool IsStringArgument(int32_t kind, const VString& text) {
  if (kind == kArgString || kind == kArgStringAlso) return true;
  if (kind != kArgStringOrExpression) return false;
  return text.empty() || (text[0] != u'"' && text[0] != u'\'');
}

bool CompileArgument(CAction& action, int i) {
  const size_t k = static_cast<size_t>(i);
  VString& text = action.act_argstring[k];
  action.act_argcode[k].reset();
  if (IsStringArgument(action.act_argtype[k], text)) {
    action.act_argvalue[k] = RValue::String(text);
    action.act_argtype[k] = -1;
  } else if (text.empty()) {
    // An empty expression is the real 0.
    action.act_argvalue[k] = RValue::Real(0);
    action.act_argtype[k] = -1;
  } else {
    RCodeCompileError error;
    std::unique_ptr<CCode> code = Code_CompileText(text, CODE_EXPRESSION, &error);
    if (code == nullptr) return ReportCompileFailure("argument " + std::to_string(i), error);
    if (code->i_kind == CODE_CONSTANT) {
      action.act_argvalue[k] = code->i_value;
      action.act_argtype[k] = -1;
    } else {
      action.act_argcode[k] = std::move(code);
      action.act_argtype[k] = 0;
    }
  }
  text.clear();
  return true;
}

// Variable and code actions become plain code actions without arguments.
void LowerToCode(CAction& action) {
  if (action.act_kind == ACT_VARIABLE) {
    const VString op = action.act_relative ? u" += " : u" = ";
    action.act_codestring = action.act_argstring[0] + op + action.act_argstring[1];
  } else if (action.act_kind == ACT_CODE) {
    action.act_codestring = action.act_argstring[0];
  } else {
    return;
  }
  action.act_kind = ACT_NORMAL;
  action.act_exetype = EXE_CODE;
  action.act_argumentcount = 0;
}

// Scripts come before builtin functions when a name is resolved.
void ResolveFunction(CAction& action) {
  if (action.act_exetype != EXE_FUNCTION || action.act_functionname.empty()) return;
  int script = Game().scripts.Find(action.act_functionname);
  if (script >= 0) action.act_functionid = kScriptBase + script;
}

bool CompileAction(CAction& action) {
  LowerToCode(action);
  ResolveFunction(action);
  if (action.act_exetype == EXE_CODE) {
    RCodeCompileError error;
    std::unique_ptr<CCode> code = Code_CompileText(action.act_codestring, CODE_PROGRAM, &error);
    if (code == nullptr) return ReportCompileFailure("code action", error);
    action.act_codecode = std::move(code);
    action.act_codestring.clear();
  }
  const int count = std::min(action.act_argumentcount, kMaxActionArgs);
  for (int i = 0; i < count; ++i) {
    if (!CompileArgument(action, i)) return false;
  }
  return true;
}

}  // namespace

REventContext& Event_Context() { return g_context; }

std::string Event_ErrorPlace() {
  const REventContext& c = g_context;
  std::string place = "action number " + std::to_string(c.action + 1) + "\r\n";
  if (c.type == kEventTypeMoment) {
    return place + "at time step " + std::to_string(c.number) + "\r\nof time line " +
           ToUtf8(Game().timelines.Name(c.object)) + ":";
  }
  return place + "of " + Event_Name(c.type, c.number) + "\r\nfor object " +
         ToUtf8(Game().objects.Name(c.object)) + ":";
}

bool Event_ChangePending() { return RunnerForm().pending_transition != TRANSITION_NONE; }

const CEvent* Event_Lookup(int32_t object, int32_t type, int32_t number, int32_t* defining) {
  if (type < 0 || type >= kEventTypeCount || number < 0) return nullptr;
  if (const CEvent* event = WalkChain(object, type, number, defining)) return event;
  if (type != ev_collision || !Game().objects.Exists(number)) return nullptr;
  // A collision event with an ancestor of the other object, only after
  // every direct match failed.
  int32_t ancestor = Game().objects.Get(number)->o_parent;
  for (int depth = 0; depth < kMaxParentDepth && Game().objects.Exists(ancestor); ++depth) {
    if (const CEvent* event = WalkChain(object, type, ancestor, defining)) return event;
    ancestor = Game().objects.Get(ancestor)->o_parent;
  }
  return nullptr;
}

bool Object_HasEventRecursive(int32_t object, int32_t type) {
  if (type < 0 || type >= kEventTypeCount) return false;
  for (int depth = 0; depth < kMaxParentDepth; ++depth) {
    const CObject* obj = Game().objects.Get(object);
    if (obj == nullptr) return false;
    for (const auto& [number, event] : obj->o_events[static_cast<size_t>(type)])
      if (!event.Empty()) return true;
    object = obj->o_parent;
  }
  return false;
}

bool Object_IsDecendentOf(int32_t object, int32_t objind) {
  const CObject* obj = Game().objects.Get(object);
  for (int depth = 0; obj != nullptr && depth < kMaxParentDepth; ++depth) {
    if (obj->o_parent == objind) return true;
    obj = Game().objects.Get(obj->o_parent);
  }
  return false;
}

void Event_Run(const CEvent& event, CInstance* self, CInstance* other) {
  StatementEngine(event, self, other).RunAll();
}

void PerformEvent(CInstance* self, CInstance* other, int32_t object, int32_t type, int32_t number) {
  if (Event_ChangePending()) return;
  int32_t defining = object;
  const CEvent* event = Event_Lookup(object, type, number, &defining);
  if (event == nullptr) return;
  ContextScope scope(defining, type, number);
  ObjectRunScope running;  // game code may change or delete this event
  Event_Run(*event, self, other);
}

void PerformEventInstance(CInstance* self, CInstance* other, int32_t type, int32_t number) {
  if (self != nullptr) PerformEvent(self, other, self->i_objectindex, type, number);
}

void PerformEventAll(int32_t type, int32_t number) {
  InstanceOwnerList& active = Instance_Lists().active;
  const size_t count = active.size();
  for (size_t i = 0; i < count && i < active.size(); ++i) {
    CInstance* inst = active[i].get();
    if (!inst->i_marked) PerformEvent(inst, inst, inst->i_objectindex, type, number);
  }
}

void PerformMoment(CInstance* self, CInstance* other, int32_t timeline, int32_t moment) {
  if (Event_ChangePending()) return;
  const CTimeLine* line = Game().timelines.Get(timeline);
  if (line == nullptr || moment < 0 || moment >= line->Count()) return;
  const size_t m = static_cast<size_t>(moment);
  ContextScope scope(timeline, kEventTypeMoment, line->s_step[m]);
  TimeLineRunScope running;  // game code may edit or delete this time line
  Event_Run(line->s_event[m], self, other);
}

bool Event_Compile(CEvent& event) {
  for (size_t i = 0; i < event.e_actions.size(); ++i) {
    g_context.action = static_cast<int32_t>(i);
    if (!CompileAction(event.e_actions[i])) return false;
  }
  return true;
}

bool World_CompileObjects() {
  CGameData& game = Game();
  for (int o = 0; o < game.objects.Count(); ++o) {
    CObject* object = game.objects.Get(o);
    if (object == nullptr) continue;
    for (int32_t type = 0; type < kEventTypeCount; ++type) {
      for (auto& [number, event] : object->o_events[static_cast<size_t>(type)]) {
        g_context = REventContext{o, type, number, 0};
        if (!Event_Compile(event)) return false;
      }
    }
  }
  g_context = REventContext();
  return true;
}

bool World_CompileTimeLines() {
  CGameData& game = Game();
  for (int t = 0; t < game.timelines.Count(); ++t) {
    CTimeLine* line = game.timelines.Get(t);
    if (line == nullptr) continue;
    for (size_t m = 0; m < line->s_event.size(); ++m) {
      g_context = REventContext{t, kEventTypeMoment, line->s_step[m], 0};
      if (!Event_Compile(line->s_event[m])) return false;
    }
  }
  g_context = REventContext();
  return true;
}

bool World_PrepareTriggers() {
  CGameData& game = Game();
  for (int q = 0; q < game.triggers.Count(); ++q) {
    CTrigger* trigger = game.triggers.Get(q);
    if (trigger == nullptr) continue;
    RCodeCompileError error;
    std::unique_ptr<CCode> code = Code_CompileText(trigger->i_condition, CODE_PROGRAM, &error);
    if (code == nullptr) {
      Error_Show("COMPILATION ERROR in condition of trigger " + ToUtf8(trigger->i_name) + "\r\n" + error.text,
                 true);
      return false;
    }
    trigger->i_code = std::move(code);
  }
  return true;
}
