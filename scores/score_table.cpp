// score_table.cpp: encoding of stored entries and the insertion rule of the
// high-score table.
#include "scores/score_table.h"

#include "platform/settings_store.h"

namespace {

constexpr int kScoreBytes = 16;

int Wrap256(int64_t v) { return static_cast<int>(((v % 256) + 256) % 256); }

}  // namespace

std::string Score_Encode(const VString& name, int32_t score, int64_t game_id) {
  std::string out;
  out.reserve(2 * (kScoreBytes + name.size()));
  const uint32_t bits = static_cast<uint32_t>(score);
  const size_t count = kScoreBytes + name.size();
  for (size_t k = 0; k < count; ++k) {
    int byte = 0;
    if (k < 4) byte = static_cast<int>((bits >> (8 * k)) & 0xFF);
    else if (k >= kScoreBytes) byte = name[k - kScoreBytes] & 0xFF;
    const int d = Wrap256(static_cast<int64_t>(k + 1) + byte + game_id);
    out += static_cast<char>('A' + d / 16);
    out += static_cast<char>('A' + d % 16);
  }
  return out;
}

bool Score_Decode(const std::string& text, int64_t game_id, RScoreEntry& out) {
  if (text.size() % 2 != 0 || text.size() < 8) return false;
  const size_t count = text.size() / 2;
  RScoreEntry entry;
  uint32_t bits = 0;
  for (size_t k = 0; k < count; ++k) {
    const int hi = text[2 * k] - 'A', lo = text[2 * k + 1] - 'A';
    if (hi < 0 || hi > 15 || lo < 0 || lo > 15) return false;
    const int byte = Wrap256(static_cast<int64_t>(16 * hi + lo) - static_cast<int64_t>(k + 1) - game_id);
    if (k < 4) bits |= static_cast<uint32_t>(byte) << (8 * k);
    else if (k >= kScoreBytes) entry.name += static_cast<char16_t>(byte);
  }
  entry.score = static_cast<int32_t>(bits);
  out = std::move(entry);
  return true;
}

std::string Score_Key(int64_t game_id) { return "\\Software\\Vexlo\\Scores\\" + std::to_string(game_id); }

std::string Score_ValueName(int rank) { return "Rank" + std::to_string(rank); }

RScoreEntry TScoreTable::Read(int rank) const {
  RScoreEntry entry{nobody_, 0};
  if (rank < 1 || rank > kScoreRanks) return entry;
  const std::optional<SettingsValue> v =
      store_.Read(SettingsRoot::CurrentUser, Score_Key(game_id_), Score_ValueName(rank));
  if (v && v->kind == SettingsValue::Kind::String) Score_Decode(v->text, game_id_, entry);
  return entry;
}

bool TScoreTable::Write(int rank, const RScoreEntry& entry) {
  return store_.WriteString(SettingsRoot::CurrentUser, Score_Key(game_id_), Score_ValueName(rank),
                            Score_Encode(entry.name, entry.score, game_id_));
}

int TScoreTable::PlaceFor(int32_t score) const {
  for (int r = 1; r <= kScoreRanks; ++r)
    if (Read(r).score < score) return r;
  return -1;
}

int TScoreTable::Insert(const VString& name, int32_t score) {
  const int place = PlaceFor(score);
  if (place < 0) return -1;
  for (int r = kScoreRanks - 1; r >= place; --r) Write(r + 1, Read(r));
  Write(place, {name, score});
  return place;
}

void TScoreTable::Clear() {
  for (int r = 1; r <= kScoreRanks; ++r) Write(r, {nobody_, 0});
}
