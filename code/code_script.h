// code_script.h: scripts as code. The compiled script table, the script call
// with its argument slots (saved and restored around every call) and the
// argument count check, and the builtins that run code given as text or by
// script index (execute_string, execute_file, script_execute).
#pragma once

#include "code/code_tree.h"
#include "common/value.h"

class CInstance;

// The "Compiling scripts" stage: compiles every script in table order; the
// first failure is reported as a fatal error and ends the stage.
bool Code_CompileScripts();
// Forgets every compiled script (a new game is loaded, tests).
void Code_ClearScripts();
// The compiled code of a script, compiling it on first use; null when the
// script does not exist or does not compile (the error is then recorded).
const CCode* Code_ScriptCode(int index);

// Calls script s with arguments args[0..n-1]. R starts as the real 0 and
// takes the script's return value ("ERROR" after a failure). With check set
// and strict argument counts on, the count is checked after the run. False
// when the script does not exist, its run fails or the check fails; the
// error text is then recorded.
bool Code_CallScript(int s, CInstance* self, CInstance* other, RValue& result, bool check,
                     const RValue* args, int n);

// Enters execute_string, execute_file and script_execute.
void Code_RegisterScriptFunctions();
