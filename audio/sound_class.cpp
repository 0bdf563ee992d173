// sound_class.cpp: CSound defaults and stored form.
#include "audio/sound_class.h"

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kSoundVersion = 800;
}

void CSound::Clear() { *this = CSound(); }

void CSound::Assign(const CSound& other) {
  s_kind = other.s_kind;
  s_extension = other.s_extension;
  s_origname = other.s_origname;
  s_sound = other.s_sound ? std::make_unique<std::vector<uint8_t>>(*other.s_sound) : nullptr;
  s_preload = other.s_preload;
  s_effects = other.s_effects;
  s_volume = other.s_volume;
  s_pan = other.s_pan;
  s_soundid = -1;
  s_fname.clear();
}

bool CSound::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kSoundVersion)) return false;
  s_kind = s.ReadInteger();
  s_extension = s.ReadString();
  s_origname = s.ReadString();
  if (s.ReadBoolean()) {
    auto data = s.ReadStream();
    s_sound = std::make_unique<std::vector<uint8_t>>(std::move(data->Bytes()));
  }
  s_effects = s.ReadInteger();
  s_volume = s.ReadReal();
  s_pan = s.ReadReal();
  s_preload = s.ReadBoolean();
  return true;
}

void CSound::SaveToStream(CStream& s) const {
  s.WriteInteger(kSoundVersion);
  s.WriteInteger(s_kind);
  s.WriteString(s_extension);
  s.WriteString(s_origname);
  s.WriteBoolean(s_sound != nullptr);
  if (s_sound) s.WriteStream(CStream(*s_sound));
  s.WriteInteger(s_effects);
  s.WriteReal(s_volume);
  s.WriteReal(s_pan);
  s.WriteBoolean(s_preload);
}
