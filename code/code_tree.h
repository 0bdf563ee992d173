// code_tree.h: compiled game code. CCode holds one piece of game code (a
// program, an expression or a constant expression), its source text and the
// syntax tree of RToken nodes the four compiler passes build. Every node owns
// its children; the interpreter (code_exec) walks the tree, using the leaf,
// scope and pure marks set once after compilation for its direct paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "code/code_function.h"
#include "common/value.h"

// Node kinds. The statement keywords keep their token symbol as node kind.
enum : int32_t {
  NODE_EMPTY_PROGRAM = -2,
  NODE_EMPTY = -1,
  NODE_CONSTANT = 5,
  NODE_CALL = 6,
  NODE_VARIABLE = 7,
  NODE_SIMPLE_VARIABLE = 8,
  NODE_IF = 13,
  NODE_WHILE = 16,
  NODE_DO = 17,
  NODE_FOR = 18,
  NODE_REPEAT = 20,
  NODE_EXIT = 21,
  NODE_BREAK = 22,
  NODE_CONTINUE = 23,
  NODE_WITH = 24,
  NODE_RETURN = 25,
  NODE_SWITCH = 26,
  NODE_CASE = 27,
  NODE_DEFAULT = 28,
  NODE_VAR = 29,
  NODE_GLOBALVAR = 30,
  NODE_ASSIGN = 101,
  NODE_BLOCK = 1000,
  NODE_UNARY = 1010,
  NODE_BINARY = 1011,
};

// Code object kinds.
enum : int32_t { CODE_PROGRAM = 1, CODE_EXPRESSION = 2, CODE_CONSTANT = 3 };

// Function index ranges of call nodes.
constexpr int32_t FUNCTION_SCRIPT_BASE = 100000;
constexpr int32_t FUNCTION_EXTENSION_BASE = 500000;

// Instance designators.
enum : int32_t {
  DESIGNATOR_SELF = -1,
  DESIGNATOR_OTHER = -2,
  DESIGNATOR_ALL = -3,
  DESIGNATOR_NOONE = -4,
  DESIGNATOR_GLOBAL = -5,
  DESIGNATOR_PLAIN = -6,
  DESIGNATOR_LOCAL = -7,
};

// Where a variable node with a constant designator keeps a user variable,
// when that is one list known at compile time (set by Code_PrepareTree).
enum : uint8_t {
  SCOPE_NONE = 0,
  SCOPE_LOCAL,   // the run's locals
  SCOPE_PLAIN,   // no designator: self, or the globals when declared global
  SCOPE_SELF,    // self.name
  SCOPE_OTHER,   // other.name
  SCOPE_GLOBAL,  // global.name
};

// How the interpreter may read a node directly, without the generic paths.
enum : uint8_t {
  LEAF_NONE = 0,
  LEAF_REAL_CONSTANT,  // a real constant
  LEAF_VARIABLE,       // a simple user variable with a scope
  LEAF_ARGUMENT,       // argument0 .. argument15 of self or without designator
};

struct RToken {
  int32_t kind = 0;
  int32_t ind = 0;
  int32_t ind2 = 0;
  RValue value;
  std::vector<RToken> items;  // the children, owned
  int32_t position = 0;       // 1-based source position for error texts
  // The interpreter's cache for variable nodes: where the variable was last
  // found in a variable list (checked before use, so any value is safe).
  mutable int32_t slot_hint = 0;
  // Resolved at compile time: the handler of a builtin call (kind 6, ind
  // below 100000), so the interpreter calls it without a table lookup.
  BuiltinFunction routine = nullptr;
  uint8_t leaf = LEAF_NONE;
  uint8_t scope = SCOPE_NONE;
  uint8_t argument = 0;  // the slot of a LEAF_ARGUMENT node
  // Reads only (constants, user and argument variables, array elements with
  // such indices) under unary and binary operators: evaluating it has no
  // effect, so a fast path may try it and leave errors to the generic one.
  bool pure = false;

  int32_t itemnumb() const { return static_cast<int32_t>(items.size()); }
};

class CCode {
 public:
  int32_t i_kind = CODE_PROGRAM;
  bool i_compiled = false;
  VString i_str;
  RToken i_token;
  RValue i_value;
  int32_t i_Args = 0;
  bool i_ArgArray = false;

  CCode() = default;
  CCode(const VString& text, bool expression) { Create(text, expression); }

  // A new, uncompiled code object of kind expression or program.
  void Create(const VString& text, bool expression);
  // Runs the four passes. On failure the error state (code_errortext.h)
  // holds the first error and the object stays uncompiled.
  bool Compile();
  const VString& GetText() const { return i_str; }
  void Destroy();
};
