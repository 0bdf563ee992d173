// transition.h: room transitions. The old room's last picture and the new
// room's first picture are drawn into two surfaces and blended into each
// other over transition_steps + 1 frames by one of the 21 built-in kinds or
// a kind game code defined (a script called with the two surfaces, the
// region size and the fraction).
//
// Wiring: Transition_Begin must run on a room change before the old room is
// left (it reads the kind recorded with the room change request);
// Transition_Play runs when the new room has been entered, in place of its
// first drawing.
#pragma once

#include <string>

// Remembers the kind of the room change; when it is a valid kind, draws the
// current (old) room into a surface of the region size. A surface that can't
// be made cancels the transition silently.
void Transition_Begin();
// When a transition was begun: draws the new room into the second surface,
// plays the frames (each waits one display refresh, at once with
// VEXLO_FAST), frees both surfaces and returns true. False (nothing done)
// otherwise.
bool Transition_Play();
// Drops a begun transition and its surfaces.
void Transition_Cancel();
// True between Begin and Play.
bool Transition_Pending();

// Kinds: built-in 1..21 or defined by game code (1..999999).
bool Transition_Exists(int kind);
// transition_define: kind gets the script called name; false when no script
// has that name or kind is out of range.
bool Transition_Define(int kind, const std::u16string& name);
// Game start: forgets the defined kinds.
void Transition_ClearDefinitions();
