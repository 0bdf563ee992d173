// function_object.cpp: the object resource builtins of game code that read
// and set an object's settings (object_name, object_exists, object_get_*,
// object_set_*, object_is_ancestor) and change the object table
// (object_add, object_delete, object_event_add, object_event_clear; see
// world/object_table.h). New instances take the settings at creation;
// existing instances keep theirs. A missing object reads 0 ("<undefined>"
// for its name) and ignores settings.
#include "code/code_function.h"
#include "runner/game_data.h"
#include "world/action_engine.h"
#include "world/object_table.h"

namespace {

int32_t Int(const RValue& v) { return ToInt32(v.val); }

CObject* ObjectArg(const RValue* args) { return Game().objects.Get(Int(args[0])); }

void F_Name(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::String(Game().objects.Name(Int(args[0])));
}

void F_Exists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(ObjectArg(args) ? 1 : 0);
}

template <class T, T CObject::*Field>
void F_Get(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (const CObject* object = ObjectArg(args)) result = RValue::Real(static_cast<double>(object->*Field));
}

template <int32_t CObject::*Field>
void F_SetInt(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CObject* object = ObjectArg(args)) object->*Field = Int(args[1]);
}

template <bool CObject::*Field>
void F_SetFlag(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CObject* object = ObjectArg(args)) object->*Field = IsTrue(args[1].val);
}

// (object, ancestor): 1 when ancestor is the parent, grandparent ... of object.
void F_IsAncestor(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(Object_IsDecendentOf(Int(args[0]), Int(args[1])) ? 1 : 0);
}

void F_SetParent(RValue&, CInstance*, CInstance*, int, RValue* args) {
  Object_SetParent(Int(args[0]), Int(args[1]));
}

void F_Add(RValue& result, CInstance*, CInstance*, int, RValue*) {
  result = RValue::Real(Object_Add());
}

void F_Delete(RValue&, CInstance*, CInstance*, int, RValue* args) { Object_Delete(Int(args[0])); }

// (object, type, number, code): 1 when the code compiled and joined the event.
void F_EventAdd(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const bool added = Object_EventAddCode(Int(args[0]), Int(args[1]), Int(args[2]), args[3].str);
  result = RValue::Real(added ? 1 : 0);
}

void F_EventClear(RValue&, CInstance*, CInstance*, int, RValue* args) {
  Object_EventClear(Int(args[0]), Int(args[1]), Int(args[2]));
}

}  // namespace

void World_RegisterObjectFunctions() {
  Function_Add("object_name", F_Name, 1);
  Function_Add("object_exists", F_Exists, 1);
  Function_Add("object_get_name", F_Name, 1);
  Function_Add("object_get_sprite", F_Get<int32_t, &CObject::o_spriteindex>, 1);
  Function_Add("object_get_solid", F_Get<bool, &CObject::o_solid>, 1);
  Function_Add("object_get_visible", F_Get<bool, &CObject::o_visible>, 1);
  Function_Add("object_get_depth", F_Get<int32_t, &CObject::o_depth>, 1);
  Function_Add("object_get_persistent", F_Get<bool, &CObject::o_persistent>, 1);
  Function_Add("object_get_mask", F_Get<int32_t, &CObject::o_mask>, 1);
  Function_Add("object_get_parent", F_Get<int32_t, &CObject::o_parent>, 1);
  Function_Add("object_is_ancestor", F_IsAncestor, 2);
  Function_Add("object_set_sprite", F_SetInt<&CObject::o_spriteindex>, 2);
  Function_Add("object_set_solid", F_SetFlag<&CObject::o_solid>, 2);
  Function_Add("object_set_visible", F_SetFlag<&CObject::o_visible>, 2);
  Function_Add("object_set_depth", F_SetInt<&CObject::o_depth>, 2);
  Function_Add("object_set_persistent", F_SetFlag<&CObject::o_persistent>, 2);
  Function_Add("object_set_mask", F_SetInt<&CObject::o_mask>, 2);
  Function_Add("object_set_parent", F_SetParent, 2);
  Function_Add("object_add", F_Add, 0);
  Function_Add("object_delete", F_Delete, 1);
  Function_Add("object_event_add", F_EventAdd, 4);
  Function_Add("object_event_clear", F_EventClear, 3);
}
