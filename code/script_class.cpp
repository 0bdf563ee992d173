// script_class.cpp: the stored form of CScript.
#include "code/script_class.h"

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kScriptVersion = 800;
}

bool CScript::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kScriptVersion)) return false;
  s_text = s.ReadString();
  return true;
}

void CScript::SaveToStream(CStream& s) const {
  s.WriteInteger(kScriptVersion);
  s.WriteString(s_text);
}
