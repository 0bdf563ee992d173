// code_error_state.h: the state of the runtime error routine (code_error.h)
// and the hooks through which it reaches the window, the input state, the
// event context and the run loop. Hooks left null take the headless
// behaviour: the text goes to standard error and counts as Ignore.
#pragma once

#include <string>

struct RErrorReportState {
  bool aborting = false;         // a fatal error was handled; later reports are dropped
  bool first_log_write = true;   // the next log write truncates game_errors.log
  bool error_occurred = false;   // error_occurred
  std::string error_last;        // error_last (UTF-8)
};

RErrorReportState& Error_State();

// Requests the abort transition (-400) and the end of the message loop.
extern void (*Code_AbortHook)();
// Shows the error window modally with text appended; Ignore is offered only
// when fatal is false. Returns true when the player chose Ignore.
extern bool (*Code_ErrorWindowHook)(const std::string& text, bool fatal);
// The place lines of the current event context, without the "ERROR in"
// line: "action number N" CRLF "of <event name>" CRLF "for object <name>:"
// (or the time line form). Null: an unknown place.
extern std::string (*Code_ErrorPlaceHook)();
// Clears the input state after a report.
extern void (*Code_ClearInputHook)();

// Enters show_error.
void Code_RegisterErrorFunctions();
