// sound_class.cpp: CSound defaults and stored form.
#include "audio/sound_class.h"

#include <filesystem>

#include "audio/sound_player.h"
#include "common/record_io.h"
#include "common/support_file.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kSoundVersion = 800;
}

void CSound::Clear() {
  Discard();
  *this = CSound();
}

void CSound::Assign(const CSound& other) {
  Discard();
  s_kind = other.s_kind;
  s_extension = other.s_extension;
  s_origname = other.s_origname;
  s_sound = other.s_sound ? std::make_shared<std::vector<uint8_t>>(*other.s_sound) : nullptr;
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
    s_sound = std::make_shared<std::vector<uint8_t>>(std::move(data->Bytes()));
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

namespace {

// The stored extension names the temporary file's ending: only letters,
// digits and dots are kept, so the name stays inside the directory.
std::string SafeExtension(const VString& extension) {
  std::string out;
  for (char16_t c : extension) {
    if (out.size() >= 16) break;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.')
      out.push_back(static_cast<char>(c));
  }
  return out;
}

}  // namespace

bool CSound::LoadFromFile(const std::string& fname, int32_t kind, bool preload) {
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(fname, bytes)) return false;
  Clear();
  s_kind = kind;
  s_preload = preload;
  const std::filesystem::path path(fname);
  s_extension = FromUtf8(path.extension().string());
  s_origname = FromUtf8(path.filename().string());
  s_sound = std::make_shared<std::vector<uint8_t>>(std::move(bytes));
  Prepare();
  return true;
}

void CSound::Prepare() {
  if (s_preload) Restore();
}

void CSound::Restore() {
  if (s_soundid >= 0 || s_kind < 0) return;
  if (s_kind <= 2 && s_sound) {
    s_soundid = SoundPlayer_LoadFromMemory(s_sound, s_kind);
    if (s_soundid < 0) s_kind = SOUND_MULTIMEDIA;
  }
  if (s_kind == SOUND_MULTIMEDIA && s_sound) {
    const std::string file = TempDir_UniqueFile(SafeExtension(s_extension));
    if (File_WriteAtomic(file, s_sound->data(), s_sound->size())) {
      s_sound.reset();
      s_fname = FromUtf8(file);
    }
  }
  if (s_kind == SOUND_MULTIMEDIA && !s_fname.empty()) {
    int kind = SOUND_MULTIMEDIA;
    s_soundid = SoundPlayer_LoadFromFile(ToUtf8(s_fname), kind);
  }
  if (s_soundid < 0) return;
  if (s_effects > 0) SoundPlayer_SetEffects(s_soundid, s_effects);
  SoundPlayer_SetVolume(s_soundid, s_volume, 0);
  SoundPlayer_SetPan(s_soundid, s_pan);
}

void CSound::Discard() {
  if (s_soundid >= 0) SoundPlayer_Free(s_soundid);
  s_soundid = -1;
}

int32_t CSound::GetSoundId() {
  if (s_soundid < 0) Restore();
  return s_soundid;
}
