// action_engine.h: performing events. Event lookup through the parent chain
// (with the collision rule for ancestors of the other object), the
// statement engine that runs an action list as a small structured program
// (blocks, else, repeat, exit, questions, applies-to), the execution of one
// action, the current event context, and compiling the actions of objects
// and time lines at start-up.
#pragma once

#include <cstdint>
#include <string>

class CInstance;
class CEvent;
class CObject;

// Event type of a time line moment in the event context.
constexpr int32_t kEventTypeMoment = 100000;

// The current event context (process-wide; saved and restored around every
// perform, so nested performs leave the outer one intact).
struct REventContext {
  int32_t object = -1;  // object whose event list runs (or the time line)
  int32_t type = 0;     // event type; kEventTypeMoment for a moment
  int32_t number = 0;   // event number; the moment's step for a moment
  int32_t action = 0;   // index of the action being run or compiled
};
REventContext& Event_Context();
// The place lines of the current context for error reports: "action number
// N", "of <event name>", "for object <name>:" (or the time line form),
// joined with CRLF.
std::string Event_ErrorPlace();

// The event (t, n) of object O with inheritance; defining receives the
// object that holds it. Null when none (an empty event counts as none).
const CEvent* Event_Lookup(int32_t object, int32_t type, int32_t number, int32_t* defining);
// Some event of type t with at least one action, in the object or an ancestor.
bool Object_HasEventRecursive(int32_t object, int32_t type);
// True when objind is the parent, grandparent ... of object.
bool Object_IsDecendentOf(int32_t object, int32_t objind);

// True while a room change, restart, end, load or abort is pending.
bool Event_ChangePending();

void PerformEvent(CInstance* self, CInstance* other, int32_t object, int32_t type, int32_t number);
void PerformEventInstance(CInstance* self, CInstance* other, int32_t type, int32_t number);
// For every unmarked active instance (count taken at the start): the event
// with the instance as self and other.
void PerformEventAll(int32_t type, int32_t number);
// Runs moment m of time line L (event context set to the time line).
void PerformMoment(CInstance* self, CInstance* other, int32_t timeline, int32_t moment);
// Runs an action list directly (tests, time lines).
void Event_Run(const CEvent& event, CInstance* self, CInstance* other);

// Start-up: compiles every action of every object (index order, types 0..11,
// numbers ascending) / of every time line. False at the first failure,
// which has been reported as a fatal action error.
bool World_CompileObjects();
bool World_CompileTimeLines();
// Compiles every trigger condition (as a program: its result is what it
// returns). False at the first failure, reported as a fatal error.
bool World_PrepareTriggers();
// Compiles one event's actions in place (the context's action index follows).
bool Event_Compile(CEvent& event);
