// font_class.cpp: CFont defaults and stored form.
#include "graphics/font_class.h"

#include <algorithm>

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kFontVersion = 800;
}

void CFont::Clear() { *this = CFont(); }

void CFont::UnpackFirst(int32_t packed, int32_t& first, int32_t& charset, int32_t& aa) {
  uint32_t f = static_cast<uint32_t>(packed);
  first = static_cast<int32_t>(f & 0xFFFF);
  uint32_t cs = (f >> 16) & 0xFF;
  uint32_t level = (f >> 24) & 0xFF;
  charset = cs != 0 ? static_cast<int32_t>(cs) : 1;
  aa = level != 0 ? static_cast<int32_t>(level) - 1 : 3;
}

int32_t CFont::PackFirst(int32_t first, int32_t charset, int32_t aa) {
  uint32_t f = static_cast<uint32_t>(first) & 0xFFFF;
  f |= (static_cast<uint32_t>(charset) & 0xFF) << 16;
  f |= (static_cast<uint32_t>(aa + 1) & 0xFF) << 24;
  return static_cast<int32_t>(f);
}

bool CFont::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kFontVersion)) return false;
  s_name = s.ReadString();
  s_size = s.ReadInteger();
  s_bold = s.ReadBoolean();
  s_italic = s.ReadBoolean();
  UnpackFirst(s.ReadInteger(), s_first, s_charset, s_AntiAlias);
  s_last = s.ReadInteger();
  if (!CountFits(s, 256, 24)) return false;
  for (int c = 0; c < 256; ++c) {
    s_x[c] = s.ReadInteger();
    s_y[c] = s.ReadInteger();
    s_w[c] = s.ReadInteger();
    s_h[c] = s.ReadInteger();
    s_shift[c] = s.ReadInteger();
    s_offset[c] = s.ReadInteger();
  }
  s_bw = s.ReadInteger();
  s_bh = s.ReadInteger();
  if (s_bw < 0 || s_bh < 0) return false;
  auto atlas = s.ReadStream();
  if (atlas->Size() != static_cast<uint64_t>(s_bw) * static_cast<uint64_t>(s_bh)) return false;
  s_bytes = std::move(atlas->Bytes());
  s_FontHeight = *std::max_element(s_h.begin(), s_h.end());
  return true;
}

void CFont::SaveToStream(CStream& s) const {
  s.WriteInteger(kFontVersion);
  s.WriteString(s_name);
  s.WriteInteger(s_size);
  s.WriteBoolean(s_bold);
  s.WriteBoolean(s_italic);
  s.WriteInteger(PackFirst(s_first, s_charset, s_AntiAlias));
  s.WriteInteger(s_last);
  for (int c = 0; c < 256; ++c) {
    s.WriteInteger(s_x[c]);
    s.WriteInteger(s_y[c]);
    s.WriteInteger(s_w[c]);
    s.WriteInteger(s_h[c]);
    s.WriteInteger(s_shift[c]);
    s.WriteInteger(s_offset[c]);
  }
  s.WriteInteger(s_bw);
  s.WriteInteger(s_bh);
  s.WriteStream(CStream(s_bytes));
}
