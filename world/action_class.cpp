// action_class.cpp: CAction defaults and stored form, with the lookup of
// the action function in the builtin function table.
#include "world/action_class.h"

#include <algorithm>

#include "code/code_function.h"
#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kActionVersion = 440;

MissingFunctionReporter g_reporter = nullptr;
void* g_reporter_context = nullptr;
ActionScriptResolver g_script_resolver = nullptr;
void* g_script_context = nullptr;

// Scripts first, then builtin functions; -1 when neither has the name.
int32_t ResolveFunctionName(const VString& name) {
  if (g_script_resolver != nullptr) {
    const int32_t id = g_script_resolver(g_script_context, name);
    if (id >= 0) return id;
  }
  return Function_Find(ToLatin1(name));
}

void ReportMissingFunction(const VString& name) {
  if (g_reporter) g_reporter(g_reporter_context, "Failed to locate action function " + ToLatin1(name));
}

// Reads a list count of at most 8 entries of at least item_bytes each.
bool ReadArgCount(CStream& s, int32_t& n, size_t item_bytes) {
  return ReadCount(s, n, item_bytes) && n <= kMaxActionArgs;
}
}  // namespace

void Action_SetMissingFunctionReporter(MissingFunctionReporter reporter, void* context) {
  g_reporter = reporter;
  g_reporter_context = context;
}

void Action_SetScriptResolver(ActionScriptResolver resolver, void* context) {
  g_script_resolver = resolver;
  g_script_context = context;
}

void CAction::Clear() { *this = CAction(); }

bool CAction::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kActionVersion)) return false;
  act_libid = s.ReadInteger();
  act_id = s.ReadInteger();
  act_kind = s.ReadInteger();
  act_userelative = s.ReadBoolean();
  act_isquestion = s.ReadBoolean();
  act_useapplyto = s.ReadBoolean();
  act_exetype = s.ReadInteger();
  act_functionname = s.ReadString();
  if (act_exetype == EXE_FUNCTION) {
    act_functionid = ResolveFunctionName(act_functionname);
    if (act_functionid < 0) ReportMissingFunction(act_functionname);
  }
  act_codestring = s.ReadString();
  act_argumentcount = s.ReadInteger();
  if (!ReadArgCount(s, act_argtypecount, 4)) return false;
  for (int32_t i = 0; i < act_argtypecount; ++i) act_argtype[i] = s.ReadInteger();
  act_who = s.ReadInteger();
  act_relative = s.ReadBoolean();
  if (!ReadArgCount(s, act_argstringcount, 4)) return false;
  for (int32_t i = 0; i < act_argstringcount; ++i) act_argstring[i] = s.ReadString();
  act_isnot = s.ReadBoolean();
  return true;
}

void CAction::SaveToStream(CStream& s) const {
  s.WriteInteger(kActionVersion);
  s.WriteInteger(act_libid);
  s.WriteInteger(act_id);
  s.WriteInteger(act_kind);
  s.WriteBoolean(act_userelative);
  s.WriteBoolean(act_isquestion);
  s.WriteBoolean(act_useapplyto);
  s.WriteInteger(act_exetype);
  s.WriteString(act_functionname);
  s.WriteString(act_codestring);
  s.WriteInteger(act_argumentcount);
  int32_t types = std::min(std::max(act_argtypecount, 0), kMaxActionArgs);
  s.WriteInteger(types);
  for (int32_t i = 0; i < types; ++i) s.WriteInteger(act_argtype[i]);
  s.WriteInteger(act_who);
  s.WriteBoolean(act_relative);
  int32_t texts = std::min(std::max(act_argstringcount, 0), kMaxActionArgs);
  s.WriteInteger(texts);
  for (int32_t i = 0; i < texts; ++i) s.WriteString(act_argstring[i]);
  s.WriteBoolean(act_isnot);
}
