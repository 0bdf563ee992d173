// code_tree.cpp: CCode (create, compile through the four passes, destroy)
// and the error text routine CodeError that compile and runtime errors share.
#include "code/code_tree.h"

#include "code/code_errortext.h"
#include "code/code_exec.h"
#include "code/code_phase.h"

namespace {
RCodeErrorState g_error;

// Walks the text up to and including position p: the line counter and the
// column within the line as the error texts show them.
void LineAndColumn(const VString& t, size_t p, int& line, int& column) {
  line = 1;
  column = 0;
  for (size_t i = 0; i < p && i < t.size(); ++i) {
    bool cr = t[i] == '\r';
    bool lone_lf = t[i] == '\n' && (i == 0 || t[i - 1] != '\r');
    if (cr || lone_lf) {
      ++line;
      column = 0;
    } else {
      ++column;
    }
  }
}

// A line ends at a carriage return or at a line feed that does not follow
// one (text written on this platform uses bare line feeds), as the line
// counter above counts them.
bool EndsLine(const VString& t, size_t i) {
  return t[i] == '\r' || (t[i] == '\n' && (i == 0 || t[i - 1] != '\r'));
}

// The line shown for position p: from after the last line end at or before
// p - 1 up to the next line end. After a carriage return and line feed the
// line begins with that line feed, which the error window drops.
VString LineAt(const VString& t, size_t p) {
  size_t start = 0;
  for (size_t i = p > 1 ? p - 1 : 0; i-- > 0;) {
    if (EndsLine(t, i)) {
      start = i + 1;
      break;
    }
  }
  size_t end = start;
  while (end < t.size() && !EndsLine(t, end)) ++end;
  return t.substr(start, end - start);
}
}  // namespace

RCodeErrorState& CodeErrorState() { return g_error; }

void CodeError_Clear() { g_error.flag = false; }

void CodeError_SetText(std::string text) {
  if (g_error.flag) return;
  g_error.flag = true;
  g_error.message = text;
  g_error.text = std::move(text);
  g_error.line = 0;
  g_error.column = 0;
}

void CodeError(const CCode& code, int position, std::string_view message) {
  if (g_error.flag) return;
  g_error.flag = true;
  const VString& t = code.i_str;
  size_t p = position < 1 ? 1 : static_cast<size_t>(position);
  if (p > t.size()) p = t.size();
  int line, column;
  LineAndColumn(t, p, line, column);
  g_error.line = line;
  g_error.column = column;
  g_error.message = std::string(message);
  std::string number = std::to_string(column);
  if (code.i_kind == CODE_PROGRAM) {
    g_error.text = "Error in code at line " + std::to_string(line) + ":\r   " +
                   ToUtf8(LineAt(t, p)) + "\r" + std::string(static_cast<size_t>(column) + 1, ' ') +
                   "^\rat position " + number + ": " + g_error.message;
  } else {
    g_error.text = "Error in expression:" + ToUtf8(t) + "\r position " + number + ": " + g_error.message;
  }
}

void CCode::Create(const VString& text, bool expression) {
  Destroy();
  i_kind = expression ? CODE_EXPRESSION : CODE_PROGRAM;
  i_str = text;
}

void CCode::Destroy() {
  i_compiled = false;
  i_token = RToken();
  i_value = RValue();
  i_Args = 0;
  i_ArgArray = false;
}

bool CCode::Compile() {
  if (i_compiled) {
    CodeError_Clear();
    CodeError(*this, 0, "Internal Error: Recompiling compiled code.");
    return false;
  }
  CodeError_Clear();
  RArgumentUse args;
  RTokenList1 scanned;
  RTokenList2 resolved;
  RToken root;
  bool expression = i_kind != CODE_PROGRAM;
  if (!Code_Scan(*this, scanned) || !Code_Resolve(*this, scanned, resolved, args) ||
      !Code_Parse(*this, resolved, expression, root) || !Code_PostProcess(*this, root)) {
    return false;
  }
  if (expression) i_kind = root.kind == NODE_CONSTANT ? CODE_CONSTANT : CODE_EXPRESSION;
  if (i_kind == CODE_CONSTANT) i_value = root.value;
  Code_PrepareTree(root);
  i_token = std::move(root);
  i_Args = args.highest + 1;
  i_ArgArray = args.array;
  i_compiled = true;
  return true;
}
