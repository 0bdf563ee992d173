// trigger_class.cpp: CTrigger defaults and stored form.
#include "world/trigger_class.h"

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kTriggerVersion = 800;
}

void CTrigger::Clear() { *this = CTrigger(); }

bool CTrigger::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kTriggerVersion)) return false;
  i_name = s.ReadString();
  i_condition = s.ReadString();
  i_moment = s.ReadInteger();
  i_constname = s.ReadString();
  return true;
}

void CTrigger::SaveToStream(CStream& s) const {
  s.WriteInteger(kTriggerVersion);
  s.WriteString(i_name);
  s.WriteString(i_condition);
  s.WriteInteger(i_moment);
  s.WriteString(i_constname);
}
