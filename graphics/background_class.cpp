// background_class.cpp: CBackground defaults and stored form.
#include "graphics/background_class.h"

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kBackgroundVersion = 710;
}

void CBackground::Clear() {
  i_bitmap = TBitmap32();
  i_tex = -1;
}

bool CBackground::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kBackgroundVersion)) return false;
  return i_bitmap.LoadFromStream(s);
}

void CBackground::SaveToStream(CStream& s) const {
  s.WriteInteger(kBackgroundVersion);
  i_bitmap.SaveToStream(s);
}
