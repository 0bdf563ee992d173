// function_event.cpp: the builtin functions that perform events from game
// code: event_perform, event_perform_object, event_user, event_inherited.
#include "code/code_function.h"
#include "runner/game_data.h"
#include "world/action_engine.h"

namespace {

constexpr int32_t kUserEventBase = 10;

int32_t Arg(const RValue& v) { return ToInt32(v.val); }

void F_EventPerform(RValue&, CInstance* self, CInstance* other, int, RValue* args) {
  PerformEventInstance(self, other, Arg(args[0]), Arg(args[1]));
}

void F_EventPerformObject(RValue&, CInstance* self, CInstance* other, int, RValue* args) {
  PerformEvent(self, other, Arg(args[0]), Arg(args[1]), Arg(args[2]));
}

void F_EventUser(RValue&, CInstance* self, CInstance* other, int, RValue* args) {
  PerformEventInstance(self, other, ev_other, Arg(args[0]) + kUserEventBase);
}

// The parent of the object that defined the running event.
void F_EventInherited(RValue&, CInstance* self, CInstance* other, int, RValue*) {
  const REventContext context = Event_Context();
  const CObject* object = Game().objects.Get(context.object);
  if (context.type == kEventTypeMoment || object == nullptr) return;
  if (!Game().objects.Exists(object->o_parent)) return;
  PerformEvent(self, other, object->o_parent, context.type, context.number);
}

}  // namespace

void World_RegisterEventFunctions() {
  Function_Add("event_perform", F_EventPerform, 2);
  Function_Add("event_perform_object", F_EventPerformObject, 3);
  Function_Add("event_user", F_EventUser, 1);
  Function_Add("event_inherited", F_EventInherited, 0);
}
