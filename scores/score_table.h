// score_table.h: the table of the ten best scores of a game, kept in the
// per-user settings store under "\Software\Vexlo\Scores\<game id>", one
// string value "Rank1".."Rank10" per rank holding the encoded entry. Nothing
// is cached: every read goes to the store, so the table survives restarts
// and two runs of the same game share it.
#pragma once

#include <cstdint>
#include <string>

#include "common/value.h"

class SettingsStore;

constexpr int kScoreRanks = 10;

struct RScoreEntry {
  VString name;
  int32_t score = 0;
};

// The stored form of an entry for game id g: 16 score bytes (least
// significant first, the upper twelve 0) followed by the low byte of each
// name character; byte j (counting from 1) is stored as (j + byte + g) mod
// 256, each as two capital letters 'A' + high nibble, 'A' + low nibble.
std::string Score_Encode(const VString& name, int32_t score, int64_t game_id);
// The reverse. False (out untouched) for a text that is not an encoded
// entry: odd length, shorter than the four score bytes, or letters outside
// 'A'..'P'. The name is empty unless the text has more than 33 letters.
bool Score_Decode(const std::string& text, int64_t game_id, RScoreEntry& out);

// The key path of a game's table: "\Software\Vexlo\Scores\" and the id.
std::string Score_Key(int64_t game_id);
// "Rank1".."Rank10" (any rank number gives its name).
std::string Score_ValueName(int rank);

// One game's table in one store. nobody is what a rank never written (or
// unreadable) reads as, with score 0.
class TScoreTable {
 public:
  TScoreTable(SettingsStore& store, int64_t game_id, VString nobody)
      : store_(store), game_id_(game_id), nobody_(std::move(nobody)) {}

  // Ranks outside 1..10 read as (nobody, 0); writing one stores a value that
  // no rank reads.
  RScoreEntry Read(int rank) const;
  bool Write(int rank, const RScoreEntry& entry);
  // The first rank whose score is strictly below score, or -1: ties go below.
  int PlaceFor(int32_t score) const;
  // Inserts at PlaceFor(score), moving the ranks below it down by one (rank
  // 10 drops out); returns the rank, or -1 when nothing changed.
  int Insert(const VString& name, int32_t score);
  // All ten ranks become (nobody, 0).
  void Clear();

 private:
  SettingsStore& store_;
  int64_t game_id_;
  VString nobody_;
};
