// path_follow.h: path following by instances: starting and leaving a path
// (Assign_Path) and the advance of one step (Adapt_Path), which the step
// loop calls through its adapt_path hook.
#pragma once

#include <cstdint>

class CInstance;

// End actions at either end of the path; any other value acts as stop.
enum PathEndAction : int32_t {
  PATH_END_STOP = 0,
  PATH_END_RESTART = 1,
  PATH_END_CONTINUE = 2,
  PATH_END_REVERSE = 3,
};

// Starts following path ind (ind < 0: leaves the path, keeping the motion).
// A missing path, a path of length 0 or a negative scale leave the instance
// off any path.
void Assign_Path(CInstance& inst, int32_t ind, double speed, double scale, double orientation,
                 bool relative, int32_t endaction);
// One step along the path; true when an end was reached in this step.
bool Adapt_Path(CInstance& inst);
