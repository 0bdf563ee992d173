// code_phase2.cpp: pass 2, the resolver. Identifiers before "(" become
// function indices (scripts, then extension functions, then builtins), other
// identifiers constants (resource names, trigger constants, the constant
// table) or variable indices; numbers and strings become constants. Records
// which argument variables the code uses.
#include <string>

#include "code/code_constant.h"
#include "code/code_errortext.h"
#include "code/code_function.h"
#include "code/code_game.h"
#include "code/code_phase.h"
#include "code/code_variable.h"

namespace {

// Identifiers hold only ASCII letters, digits and "_".
std::string Narrow(const VString& s) {
  std::string out;
  out.reserve(s.size());
  for (char16_t c : s) out.push_back(static_cast<char>(c));
  return out;
}

int FindFunction(const std::string& name) {
  int script = CodeGame_ScriptFind(name);
  if (script >= 0) return FUNCTION_SCRIPT_BASE + script;
  if (Code_ExtensionFindHook != nullptr) {
    int ext = Code_ExtensionFindHook(name);
    if (ext >= 0) return FUNCTION_EXTENSION_BASE + ext;
  }
  return Function_Find(name);
}

// argument0 .. argument15 raise the highest used argument; argument sets the
// array flag.
void TrackArgument(const std::string& name, RArgumentUse& args) {
  if (name == "argument") {
    args.array = true;
    return;
  }
  if (name.size() < 9 || name.size() > 10 || name.compare(0, 8, "argument") != 0) return;
  int n = 0;
  for (size_t i = 8; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return;
    n = n * 10 + (name[i] - '0');
  }
  if (name.size() == 10 && name[8] == '0') return;  // "argument01" is no slot
  if (n <= 15 && n > args.highest) args.highest = n;
}

bool ResolveIdentifier(const CCode& code, const RToken1& token, bool call, RToken2& out,
                       RArgumentUse& args) {
  std::string name = Narrow(token.str);
  if (call) {
    int index = FindFunction(name);
    if (index < 0) {
      CodeError(code, token.position, "Unknown function or script: " + name);
      return false;
    }
    out.symbol = SYM_FUNCTION;
    out.ind = index;
    return true;
  }
  if (Constant_Resolve(name, out.val)) {
    out.symbol = SYM_CONSTANT;
    return true;
  }
  out.symbol = SYM_VARIABLE;
  out.ind = Variable_Index(name);
  TrackArgument(name, args);
  return true;
}

}  // namespace

bool Code_Resolve(const CCode& code, const RTokenList1& in, RTokenList2& out,
                  RArgumentUse& args) {
  out.clear();
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    const RToken1& token = in[i];
    RToken2 resolved;
    resolved.symbol = token.symbol;
    resolved.position = token.position;
    switch (token.symbol) {
      case SYM_IDENTIFIER: {
        bool call = i + 1 < in.size() && in[i + 1].symbol == SYM_OPEN;
        if (!ResolveIdentifier(code, token, call, resolved, args)) return false;
        break;
      }
      case SYM_NUMBER:
        resolved.symbol = SYM_CONSTANT;
        resolved.val = RValue::Real(Code_NumberValue(token.str));
        break;
      case SYM_STRING:
        resolved.symbol = SYM_CONSTANT;
        resolved.val = RValue::String(token.str);
        break;
      default:
        break;
    }
    out.push_back(std::move(resolved));
  }
  return true;
}
