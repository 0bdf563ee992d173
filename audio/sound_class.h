// sound_class.h: CSound, a sound resource (encoded audio and its playback
// settings), with its stored form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/value.h"

class CStream;

// Sound kinds.
enum : int32_t { SOUND_NORMAL = 0, SOUND_BACKGROUND = 1, SOUND_3D = 2, SOUND_MULTIMEDIA = 3 };

class CSound {
 public:
  int32_t s_kind = -1;  // -1 when empty
  VString s_extension;  // with its dot
  VString s_origname;
  // The encoded data; null when the record carries none. Shared with the
  // audio engine's decoders while a streamed sound plays.
  std::shared_ptr<std::vector<uint8_t>> s_sound;
  bool s_preload = true;
  int32_t s_effects = 0;
  double s_volume = 1.0;
  double s_pan = 0.0;
  int32_t s_soundid = -1;  // sample table index, -1 when not loaded
  VString s_fname;         // file the media player plays

  CSound() = default;
  CSound(const CSound& other) { Assign(other); }
  CSound& operator=(const CSound& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  ~CSound() { Discard(); }

  // Frees the sample entry and resets every field.
  void Clear();
  // Copies the stored fields (not the sample id or the player file).
  void Assign(const CSound& other);
  // Record version 800: kind, extension, original name, has-data Boolean
  // and the data stream, effects, volume, pan, preload.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;

  // Reads the whole file as the data (keeping its extension and name), with
  // the kind and preload given, then Prepare; false when it cannot be read.
  bool LoadFromFile(const std::string& fname, int32_t kind, bool preload);
  // Restore when preloading.
  void Prepare();
  // Loads the sound into the player: kinds 0-2 from memory (a sound the
  // engine cannot decode becomes multimedia); multimedia data goes to a file
  // in the temporary directory that the player plays. Then the stored
  // effects, volume and pan apply.
  void Restore();
  // Frees the sample entry, keeping the data.
  void Discard();
  // The sample entry, restoring first when not loaded; -1 when none.
  int32_t GetSoundId();
};
