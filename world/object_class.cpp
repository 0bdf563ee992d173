// object_class.cpp: CObject defaults, event lookup and stored form.
#include "world/object_class.h"

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kObjectVersion = 430;
constexpr size_t kMinEventBytes = 8;  // version and action count
}  // namespace

void CObject::Clear() { *this = CObject(); }

const CEvent* CObject::GetEvent(int32_t type, int32_t number) const {
  if (type < 0 || type >= kEventTypeCount) return nullptr;
  auto it = o_events[type].find(number);
  if (it == o_events[type].end() || it->second.Empty()) return nullptr;
  return &it->second;
}

CEvent* CObject::GetEvent(int32_t type, int32_t number) {
  return const_cast<CEvent*>(static_cast<const CObject*>(this)->GetEvent(type, number));
}

CEvent& CObject::AddEvent(int32_t type, int32_t number) { return o_events[type][number]; }

bool CObject::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kObjectVersion)) return false;
  o_spriteindex = s.ReadInteger();
  o_solid = s.ReadBoolean();
  o_visible = s.ReadBoolean();
  o_depth = s.ReadInteger();
  o_persistent = s.ReadBoolean();
  o_parent = s.ReadInteger();
  o_mask = s.ReadInteger();
  int32_t last_type = s.ReadInteger();
  if (last_type >= kEventTypeCount) return false;
  for (int32_t type = 0; type <= last_type; ++type) {
    for (;;) {
      int32_t number = s.ReadInteger();
      if (number == -1) break;
      if (number < 0 || o_events[type].count(number) != 0) return false;
      if (!CountFits(s, 1, kMinEventBytes)) return false;
      CEvent ev;
      if (!ev.LoadFromStream(s)) return false;
      o_events[type].emplace(number, std::move(ev));
    }
  }
  return true;
}

void CObject::SaveToStream(CStream& s) const {
  s.WriteInteger(kObjectVersion);
  s.WriteInteger(o_spriteindex);
  s.WriteBoolean(o_solid);
  s.WriteBoolean(o_visible);
  s.WriteInteger(o_depth);
  s.WriteBoolean(o_persistent);
  s.WriteInteger(o_parent);
  s.WriteInteger(o_mask);
  int32_t last_type = -1;
  for (int32_t type = 0; type < kEventTypeCount; ++type)
    if (!o_events[type].empty()) last_type = type;
  s.WriteInteger(last_type);
  for (int32_t type = 0; type <= last_type; ++type) {
    for (const auto& [number, ev] : o_events[type]) {
      s.WriteInteger(number);
      ev.SaveToStream(s);
    }
    s.WriteInteger(-1);
  }
}
