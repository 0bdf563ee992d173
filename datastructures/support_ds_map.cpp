// support_ds_map.cpp: maps. The entries live in an ordered tree keyed by the
// value comparison, so every operation costs O(log n) and the order is the
// one a sorted array would show: ascending keys, equal keys in the order
// they were added. A hash index over the string keys makes finding,
// replacing and deleting by a string key O(1). Entries are only ever removed through iterators, so a
// comparison that is not transitive (reals equal within the precision) can
// misplace an entry but never corrupt the tree.
#include <utility>

#include "datastructures/support_data_structures.h"
#include "datastructures/support_ds_text.h"

// FNV-1a over the code units.
size_t CDS_Map::TextHash::operator()(std::u16string_view s) const {
  uint64_t h = 14695981039346656037ull;
  for (char16_t c : s) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h ^ (h >> 32));
}

void CDS_Map::Clear() {
  i_by_text.clear();
  i_entries.clear();
}

void CDS_Map::RebuildTextIndex() {
  i_by_text.clear();
  for (auto it = i_entries.begin(); it != i_entries.end(); ++it) {
    if (it->first.IsString()) i_by_text.emplace(it->first.str, it);  // keeps the first
  }
}

void CDS_Map::Assign(const CDS_Map* source) {
  if (source == nullptr) {
    Clear();
  } else if (source != this) {
    i_by_text.clear();
    i_entries = source->i_entries;
    RebuildTextIndex();
  }
}

// After every key that is not larger, as an insertion at UpperLast + 1; an
// existing string key keeps its first entry.
void CDS_Map::Add(const RValue& key, const RValue& val) {
  auto it = i_entries.emplace(key, val);
  if (key.IsString()) i_by_text.emplace(it->first.str, it);
}

// The first entry not smaller than key (LowerBound), when it compares equal.
CDS_Map::Entries::iterator CDS_Map::FindEntry(const RValue& key) {
  if (key.IsString()) {
    auto found = i_by_text.find(key.str);
    return found != i_by_text.end() ? found->second : i_entries.end();
  }
  auto it = i_entries.lower_bound(key);
  if (it != i_entries.end() && DS_Equal(it->first, key)) return it;
  return i_entries.end();
}

CDS_Map::Entries::const_iterator CDS_Map::FindEntry(const RValue& key) const {
  return const_cast<CDS_Map*>(this)->FindEntry(key);
}

void CDS_Map::Replace(const RValue& key, const RValue& val) {
  auto it = FindEntry(key);
  if (it != i_entries.end()) it->second = val;
}

void CDS_Map::Delete(const RValue& key) {
  auto it = FindEntry(key);
  if (it == i_entries.end()) return;
  if (it->first.IsString()) {
    // The view in the index points into the node about to go.
    i_by_text.erase(it->first.str);
    auto next = std::next(it);
    if (next != i_entries.end() && next->first.IsString() && next->first.str == it->first.str)
      i_by_text.emplace(next->first.str, next);
  }
  i_entries.erase(it);
}

bool CDS_Map::Exists(const RValue& key) const { return FindEntry(key) != i_entries.end(); }

RValue CDS_Map::Find(const RValue& key) const {
  auto it = FindEntry(key);
  return it != i_entries.end() ? it->second : RValue();
}

// The largest key smaller than key: the one before LowerBound, or the last
// key when every key is smaller.
RValue CDS_Map::FindPrevious(const RValue& key) const {
  auto it = i_entries.lower_bound(key);
  if (it == i_entries.begin()) return RValue();
  return std::prev(it)->first;
}

// The smallest key larger than key: the one after UpperLast.
RValue CDS_Map::FindNext(const RValue& key) const {
  auto it = i_entries.upper_bound(key);
  return it != i_entries.end() ? it->first : RValue();
}

RValue CDS_Map::FindFirst() const { return i_entries.empty() ? RValue() : i_entries.begin()->first; }

RValue CDS_Map::FindLast() const { return i_entries.empty() ? RValue() : i_entries.rbegin()->first; }

VString CDS_Map::WriteToString() const {
  DSTextWriter w(DS_MAGIC_MAP);
  w.Integer(Size());
  for (const auto& entry : i_entries) w.Value(entry.first);
  for (const auto& entry : i_entries) w.Value(entry.second);
  return w.Text();
}

// The tree keeps its entries in key order, so a text whose keys are out of
// order reads in sorted (equal keys in text order) rather than as written.
bool CDS_Map::ReadFromString(const VString& text) {
  DSTextReader r(text);
  if (!r.Magic(DS_MAGIC_MAP)) return false;
  size_t n = r.Count(2 * kDSValueBytes);
  std::vector<RValue> keys;
  keys.reserve(n);
  for (size_t i = 0; i < n; ++i) keys.push_back(r.Value());
  Entries entries;
  for (size_t i = 0; i < n; ++i) entries.emplace_hint(entries.end(), std::move(keys[i]), r.Value());
  i_by_text.clear();
  i_entries = std::move(entries);
  RebuildTextIndex();
  return true;
}
