// action_class.h: CAction, one action of an event (a call of an action
// function, a piece of code, or a control action), with its stored form.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "common/value.h"

class CStream;
class CCode;

// Action kinds.
enum : int32_t {
  ACT_NORMAL = 0, ACT_BEGIN = 1, ACT_END = 2, ACT_ELSE = 3, ACT_EXIT = 4,
  ACT_REPEAT = 5, ACT_VARIABLE = 6, ACT_CODE = 7
};
// Execution types.
enum : int32_t { EXE_NONE = 0, EXE_FUNCTION = 1, EXE_CODE = 2 };

constexpr int kMaxActionArgs = 8;

class CAction {
 public:
  int32_t act_libid = 0;
  int32_t act_id = 0;
  int32_t act_kind = ACT_NORMAL;
  bool act_userelative = false;
  bool act_isquestion = false;
  bool act_useapplyto = false;
  int32_t act_exetype = EXE_NONE;
  VString act_functionname;  // as stored; resolved to act_functionid
  int32_t act_functionid = -1;
  VString act_codestring;
  std::shared_ptr<CCode> act_codecode;
  int32_t act_argumentcount = 0;
  // Argument kinds as stored (their number is act_argtypecount).
  int32_t act_argtypecount = 0;
  std::array<int32_t, kMaxActionArgs> act_argtype{};
  int32_t act_who = -1;
  bool act_relative = false;
  int32_t act_argstringcount = 0;  // number of argument texts stored
  std::array<VString, kMaxActionArgs> act_argstring;
  std::array<RValue, kMaxActionArgs> act_argvalue;
  std::array<std::shared_ptr<CCode>, kMaxActionArgs> act_argcode;
  bool act_isnot = false;

  void Clear();
  // Record version 440. The function name is looked up in the builtin
  // function table when act_exetype is 1; an unknown name gives id -1 and
  // the message "Failed to locate action function " + name through
  // missing_function (when given). False on a wrong version or more than 8
  // argument kinds or texts.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};

// Where LoadFromStream reports a function name it could not find (the
// loader points this at its observer while it runs; null: not reported).
using MissingFunctionReporter = void (*)(void* context, const std::string& message);
void Action_SetMissingFunctionReporter(MissingFunctionReporter reporter, void* context);
// Action function ids from this value up name scripts.
constexpr int32_t kActionScriptBase = 100000;

// Resolves a function name among the game's own scripts first (the id
// 100,000 + script index, or -1); the loader sets it to the game being
// loaded. Null: builtin functions only.
using ActionScriptResolver = int32_t (*)(void* context, const VString& name);
void Action_SetScriptResolver(ActionScriptResolver resolver, void* context);
