// instance_actions.h: the instance operations that builtin functions and
// library actions use: create (with the create event), destroy (destroy
// event, then marked), change into another object, set a checked sprite.
#pragma once

#include <cstdint>

class CInstance;

// Object missing: non-fatal error "Creating instance for non-existing
// object: " + index and null. Otherwise AddInstance and the create event.
CInstance* Instance_Create(int32_t object, double x, double y);
// The destroy event, then the mark.
void Instance_Destroy(CInstance* inst);
// Changes inst into object (the new record takes over the id and state;
// sprite, mask, depth, solid, visible, persistent come from the object).
void Instance_Change(CInstance* inst, int32_t object, bool perform_events);
// A copy of inst with its own new id (the create event when perform).
CInstance* Instance_Copy(CInstance* inst, bool perform_event);
// Sprite missing: non-fatal error; otherwise the sprite setter.
void Instance_SetSpriteChecked(CInstance* inst, int32_t sprite);
