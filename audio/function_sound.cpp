// function_sound.cpp: the sound builtins (unit Function_Sound): playback,
// volume, fades, pan, tempo, global volume, effects and 3D parameters; the
// sound resource functions; and the CD and media-player functions, which
// report that this platform has no CD drive.
#include <cmath>
#include <filesystem>

#include "audio/audio_builtins.h"
#include "audio/sound_class.h"
#include "audio/sound_player.h"
#include "code/code_error.h"
#include "code/code_function.h"
#include "runner/game_data.h"

namespace {

constexpr const char* kMissing = "Sound does not exist.";

int32_t Int(const RValue& v) { return ToInt32(v.val); }
void SetReal(RValue& r, double v) { r = RValue::Real(v); }

// The sound of argument 0, reporting a missing one.
CSound* SoundArg(const RValue& arg, bool report = true) {
  CSound* sound = Game().sounds.Get(Int(arg));
  if (sound == nullptr && report) Error_Show_Action(kMissing, false);
  return sound;
}

// The sample entry of argument 0 (loading it when needed); -1 after
// reporting a missing sound or when it cannot be loaded.
int SampleArg(const RValue& arg) {
  CSound* sound = SoundArg(arg);
  return sound ? sound->GetSoundId() : -1;
}

void F_Play(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0) SoundPlayer_Play(id, false);
}
void F_Loop(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0) SoundPlayer_Play(id, true);
}
void F_Stop(RValue&, CInstance*, CInstance*, int, RValue* a) {
  CSound* sound = SoundArg(a[0]);
  if (sound != nullptr && sound->s_soundid >= 0) SoundPlayer_Stop(sound->s_soundid);
}
void F_StopAll(RValue&, CInstance*, CInstance*, int, RValue*) { SoundPlayer_StopAll(); }
void F_IsPlaying(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSound* sound = SoundArg(a[0], false);
  SetReal(r, sound != nullptr && sound->s_soundid >= 0 && SoundPlayer_IsPlaying(sound->s_soundid));
}
void F_Volume(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0) SoundPlayer_SetVolume(id, a[1].val, 0);
}
void F_Fade(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0)
    SoundPlayer_SetVolume(id, a[1].val, static_cast<double>(Round(a[2].val)));
}
void F_Pan(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0) SoundPlayer_SetPan(id, a[1].val);
}
void F_Tempo(RValue&, CInstance*, CInstance*, int, RValue* a) { SoundPlayer_SetTempo(a[0].val); }
void F_GlobalVolume(RValue&, CInstance*, CInstance*, int, RValue* a) {
  SoundPlayer_SetMasterVolume(a[0].val);
}
void F_SearchDirectory(RValue&, CInstance*, CInstance*, int, RValue* a) {
  SoundPlayer_SetSearchDirectory(ToUtf8(ValueText(a[0])));
}
void F_EffectSet(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0) SoundPlayer_SetEffects(id, Int(a[1]));
}

// Effect parameter functions: the sound, then count parameters for effect.
template <int Effect, int Count>
void F_EffectParams(RValue&, CInstance*, CInstance*, int, RValue* a) {
  const int id = SampleArg(a[0]);
  if (id < 0) return;
  AudioEffectParams p;
  p.effect = Effect;
  p.count = Count;
  for (int i = 0; i < Count; ++i) p.values[i] = a[i + 1].val;
  SoundPlayer_SetEffectParams(id, p);
}

void F_3dPosition(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0) SoundPlayer_SetPosition(id, a[1].val, a[2].val, a[3].val);
}
void F_3dVelocity(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0) SoundPlayer_SetVelocity(id, a[1].val, a[2].val, a[3].val);
}
void F_3dDistance(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0) SoundPlayer_SetDistance(id, a[1].val, a[2].val);
}
void F_3dCone(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (const int id = SampleArg(a[0]); id >= 0)
    SoundPlayer_SetCone(id, a[1].val, a[2].val, a[3].val, a[4].val, a[5].val, a[6].val);
}

// ---- resource functions ------------------------------------------------------

void F_Exists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, Game().sounds.Exists(Int(a[0])));
}
void F_Name(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = RValue::String(Game().sounds.Name(Int(a[0])));
}
void F_GetKind(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSound* sound = SoundArg(a[0], false);
  SetReal(r, sound ? sound->s_kind : -1);
}
void F_GetPreload(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSound* sound = SoundArg(a[0], false);
  SetReal(r, sound != nullptr && sound->s_preload);
}
void F_Discard(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (CSound* sound = SoundArg(a[0])) sound->Discard();
}
void F_Restore(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (CSound* sound = SoundArg(a[0])) sound->Restore();
}
// sound_add (fname, kind, preload): the new index, -1 when the file cannot
// be read. The name is the file's name without its extension.
void F_Add(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, -1);
  const std::string fname = ToUtf8(ValueText(a[0]));
  auto sound = std::make_unique<CSound>();
  if (!sound->LoadFromFile(fname, std::clamp(Int(a[1]), 0, 3), IsTrue(a[2].val))) return;
  const VString name = FromUtf8(std::filesystem::path(fname).stem().string());
  SetReal(r, Game().sounds.Add(std::move(sound), name));
}
// sound_replace (ind, fname, kind, preload): true when replaced; the sound
// keeps its index and name.
void F_Replace(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CSound* sound = SoundArg(a[0]);
  if (sound == nullptr) return;
  CSound loaded;
  if (!loaded.LoadFromFile(ToUtf8(ValueText(a[1])), std::clamp(Int(a[2]), 0, 3), IsTrue(a[3].val)))
    return;
  sound->Discard();
  *sound = loaded;
  sound->Prepare();
  SetReal(r, 1);
}
void F_Delete(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (SoundArg(a[0]) != nullptr) Game().sounds.Delete(Int(a[0]));
}

// ---- CD and media player: no drive on this platform ------------------------

void F_Zero(RValue& r, CInstance*, CInstance*, int, RValue*) { SetReal(r, 0); }
void F_Nothing(RValue&, CInstance*, CInstance*, int, RValue*) {}
// The media-control interface answers every command string with an empty
// reply: there is no device to drive.
void F_MciCommand(RValue& r, CInstance*, CInstance*, int, RValue*) { r = RValue::String(VString()); }

}  // namespace

void Audio_RegisterFunctions() {
  Function_Add("sound_play", F_Play, 1);
  Function_Add("sound_loop", F_Loop, 1);
  Function_Add("sound_stop", F_Stop, 1);
  Function_Add("sound_stop_all", F_StopAll, 0);
  Function_Add("sound_isplaying", F_IsPlaying, 1);
  Function_Add("sound_volume", F_Volume, 2);
  Function_Add("sound_fade", F_Fade, 3);
  Function_Add("sound_pan", F_Pan, 2);
  Function_Add("sound_background_tempo", F_Tempo, 1);
  Function_Add("sound_global_volume", F_GlobalVolume, 1);
  Function_Add("sound_set_search_directory", F_SearchDirectory, 1);
  Function_Add("sound_effect_set", F_EffectSet, 2);
  Function_Add("sound_effect_chorus", F_EffectParams<AUDIO_FX_CHORUS, 7>, 8);
  Function_Add("sound_effect_compressor", F_EffectParams<AUDIO_FX_COMPRESSOR, 6>, 7);
  Function_Add("sound_effect_echo", F_EffectParams<AUDIO_FX_ECHO, 5>, 6);
  Function_Add("sound_effect_flanger", F_EffectParams<AUDIO_FX_FLANGER, 7>, 8);
  Function_Add("sound_effect_gargle", F_EffectParams<AUDIO_FX_GARGLE, 2>, 3);
  Function_Add("sound_effect_equalizer", F_EffectParams<AUDIO_FX_EQUALIZER, 3>, 4);
  Function_Add("sound_effect_reverb", F_EffectParams<AUDIO_FX_REVERB, 4>, 5);
  Function_Add("sound_3d_set_sound_position", F_3dPosition, 4);
  Function_Add("sound_3d_set_sound_velocity", F_3dVelocity, 4);
  Function_Add("sound_3d_set_sound_distance", F_3dDistance, 3);
  Function_Add("sound_3d_set_sound_cone", F_3dCone, 7);

  Function_Add("sound_name", F_Name, 1);
  Function_Add("sound_exists", F_Exists, 1);
  Function_Add("sound_get_name", F_Name, 1);
  Function_Add("sound_get_kind", F_GetKind, 1);
  Function_Add("sound_get_preload", F_GetPreload, 1);
  Function_Add("sound_discard", F_Discard, 1);
  Function_Add("sound_restore", F_Restore, 1);
  Function_Add("sound_add", F_Add, 3);
  Function_Add("sound_replace", F_Replace, 4);
  Function_Add("sound_delete", F_Delete, 1);

  Function_Add("cd_init", F_Zero, 0);
  for (const char* name : {"cd_present", "cd_number", "cd_playing", "cd_paused", "cd_track",
                           "cd_length", "cd_position", "cd_track_position"})
    Function_Add(name, F_Zero, 0);
  Function_Add("cd_track_length", F_Zero, 1);
  Function_Add("cd_play", F_Nothing, 2);
  for (const char* name : {"cd_stop", "cd_pause", "cd_resume", "cd_open_door", "cd_close_door"})
    Function_Add(name, F_Nothing, 0);
  Function_Add("cd_set_position", F_Nothing, 1);
  Function_Add("cd_set_track_position", F_Nothing, 1);
  Function_Add("MCI_command", F_MciCommand, 1);
}
