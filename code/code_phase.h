// code_phase.h: the four compiler passes and the symbol codes they share.
// Pass 1 scans the text into tokens, pass 2 resolves identifiers into
// functions, constants and variables, pass 3 parses the resolved tokens into a
// syntax tree, pass 4 marks locals, specialises simple variables and folds
// constants.
#pragma once

#include <cstdint>
#include <vector>

#include "code/code_tree.h"
#include "common/value.h"

enum : int32_t {
  SYM_END = -2,
  SYM_NONE = -1,
  SYM_IDENTIFIER = 0,
  SYM_NUMBER = 1,
  SYM_STRING = 2,
  SYM_CONSTANT = 5,
  SYM_FUNCTION = 6,
  SYM_VARIABLE = 7,
  SYM_BEGIN = 11,
  SYM_END_BLOCK = 12,
  SYM_IF = 13,
  SYM_THEN = 14,
  SYM_ELSE = 15,
  SYM_WHILE = 16,
  SYM_DO = 17,
  SYM_FOR = 18,
  SYM_UNTIL = 19,
  SYM_REPEAT = 20,
  SYM_EXIT = 21,
  SYM_BREAK = 22,
  SYM_CONTINUE = 23,
  SYM_WITH = 24,
  SYM_RETURN = 25,
  SYM_SWITCH = 26,
  SYM_CASE = 27,
  SYM_DEFAULT = 28,
  SYM_VAR = 29,
  SYM_GLOBALVAR = 30,
  SYM_ASSIGN = 101,
  SYM_ADD_ASSIGN = 102,
  SYM_SUB_ASSIGN = 103,
  SYM_MUL_ASSIGN = 104,
  SYM_DIV_ASSIGN = 105,
  SYM_OPEN = 106,
  SYM_CLOSE = 107,
  SYM_SEMICOLON = 108,
  SYM_COMMA = 109,
  SYM_OPEN_BRACKET = 110,
  SYM_CLOSE_BRACKET = 111,
  SYM_DOT = 112,
  SYM_COLON = 113,
  SYM_OR_ASSIGN = 114,
  SYM_AND_ASSIGN = 115,
  SYM_XOR_ASSIGN = 116,
  SYM_AND = 201,
  SYM_OR = 202,
  SYM_NOT = 203,
  SYM_LESS = 204,
  SYM_LESS_EQUAL = 205,
  SYM_EQUAL = 206,
  SYM_NOT_EQUAL = 207,
  SYM_GREATER_EQUAL = 208,
  SYM_GREATER = 209,
  SYM_PLUS = 210,
  SYM_MINUS = 211,
  SYM_MULTIPLY = 212,
  SYM_DIVIDE = 213,
  SYM_DIV = 214,
  SYM_MOD = 215,
  SYM_XOR = 216,
  SYM_BIT_OR = 217,
  SYM_BIT_AND = 218,
  SYM_BIT_XOR = 219,
  SYM_BIT_NOT = 220,
  SYM_SHIFT_LEFT = 221,
  SYM_SHIFT_RIGHT = 222,
};

struct RToken1 {
  int32_t symbol = SYM_NONE;
  VString str;
  int32_t position = 0;
};

struct RToken2 {
  int32_t symbol = SYM_NONE;
  int32_t ind = 0;
  RValue val;
  int32_t position = 0;
};

using RTokenList1 = std::vector<RToken1>;
using RTokenList2 = std::vector<RToken2>;

// Compile-wide argument tracking that pass 2 fills (argument0..15 and the
// array variable argument).
struct RArgumentUse {
  int highest = -1;
  bool array = false;
};

// Pass 1. On failure the error is recorded (CodeError) and false returned.
bool Code_Scan(const CCode& code, RTokenList1& out);
// Value of a number token's text (decimal with "." or "$" hexadecimal).
double Code_NumberValue(const VString& text);
// Pass 2.
bool Code_Resolve(const CCode& code, const RTokenList1& in, RTokenList2& out,
                  RArgumentUse& args);
// Pass 3: parses a program or an expression into root.
bool Code_Parse(const CCode& code, const RTokenList2& tokens, bool expression, RToken& root);
// Pass 4: local marking, simple variables, constant folding.
bool Code_PostProcess(const CCode& code, RToken& root);

// Deepest nesting of blocks and expressions the parser accepts.
constexpr int kMaxNesting = 512;
