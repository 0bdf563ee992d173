// code_exec.h: the interpreter. Runs a compiled CCode for a self and an
// other instance by walking its syntax tree, with the status codes of
// statements (normal, error, exit/return, break, continue), per-run local
// variables, with, switch and the loops. Errors are recorded through
// CodeError and end the run; the entry points decide how they are reported.
#pragma once

#include <cstdint>

#include "code/code_tree.h"
#include "common/value.h"

class CInstance;
class CVariableList;

enum : int {
  STATUS_OK = 0,
  STATUS_ERROR = -1,
  STATUS_EXIT = -2,
  STATUS_BREAK = -3,
  STATUS_CONTINUE = -4,
};

struct RExecContext {
  CInstance* self = nullptr;
  CInstance* other = nullptr;
  CVariableList* locals = nullptr;  // created at the first store to a local
  const CCode* code = nullptr;
  RValue* result = nullptr;
};

// Nested runs deeper than this (script calls, execute_string, events raised
// from code) stop with a runtime error instead of exhausting the stack.
constexpr int kMaxRunDepth = 4000;
extern const char* const kRecursionMessage;

// Marks the nodes the interpreter reads directly (RToken::leaf); run once on
// a compiled tree.
void Code_PrepareTree(RToken& root);

// True on success; on failure the error is recorded, not reported.
bool Code_Run(const CCode& code, CInstance* self, CInstance* other, RValue& result);
// As Code_Run; a failure is reported as a non-fatal runtime error of the
// current action and the error flag is cleared.
bool Code_RunAction(const CCode& code, CInstance* self, CInstance* other, RValue& result);
// As Code_Run; on failure the result becomes the string "ERROR".
bool Code_RunForValue(const CCode& code, CInstance* self, CInstance* other, RValue& result);

// Number of runs in progress.
int Code_RunDepth();

// Loop iterations and calls left before a run stops with an error; negative
// means unlimited (the default). For fuzzing and watchdogs.
void Code_SetStepBudget(int64_t steps);

// Sixteen argument values for one call, taken from a stack of frames (no
// allocation per call); all are the real 0 when taken.
class ArgumentFrame {
 public:
  ArgumentFrame();
  ~ArgumentFrame();
  ArgumentFrame(const ArgumentFrame&) = delete;
  ArgumentFrame& operator=(const ArgumentFrame&) = delete;
  RValue* values() { return values_; }
  RValue& operator[](int i) { return values_[i]; }
  // Promises that only the first n values were changed, so only they are
  // reset on release.
  void Used(int n) { used_ = n; }

 private:
  RValue* values_;
  int used_;
};
