// collision_watch.h: a watcher of instance box changes. While the collision
// phase runs its broad phase, it installs a watcher and the instance's box
// update reports every instance whose box was recomputed, so the spatial
// grid stays a true superset of the boxes as they are now.
#pragma once

class CInstance;

using CollisionBoxWatcher = void (*)(CInstance* inst);

// Null when nothing watches (the usual case: one test per box update).
inline CollisionBoxWatcher collision_box_watcher = nullptr;

inline void Collision_NoteBoxChange(CInstance* inst) {
  if (collision_box_watcher != nullptr) collision_box_watcher(inst);
}
