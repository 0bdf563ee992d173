// support_ds_priority.cpp: priority queues. The pairs stay in storage order
// (appended, a removed pair's place taken by the last pair), which is what
// the text form shows and what decides between equal priorities. Beside the
// storage two ordered indexes hold every position, one sorted by priority
// and one by value (exactly, then by position), so the minimum, the maximum
// and the first pair holding a value are found in O(log n) instead of by
// scanning.
//
// A scan of the storage keeps the first position whose priority is strictly
// smaller (beyond the precision) than the best so far; among priorities that
// compare equal to the minimum it therefore keeps the earliest position. The
// index finds the exact minimum, then visits each distinct priority that
// compares equal to it (one step per distinct value, not per pair) and takes
// the earliest position among them. The two agree unless priorities within
// the precision of each other form a chain longer than the precision.
#include <climits>
#include <cmath>
#include <utility>

#include "datastructures/support_data_structures.h"
#include "datastructures/support_ds_text.h"

bool CDS_Priority::IndexLess::operator()(const Key& a, const Key& b) const {
  bool as = a.kind == VALUE_STRING, bs = b.kind == VALUE_STRING;
  int c;
  if (as != bs) {
    c = as ? 1 : -1;
  } else if (!as) {
    bool an = std::isnan(a.val), bn = std::isnan(b.val);
    if (an || bn) {
      c = an == bn ? 0 : (an ? 1 : -1);
    } else {
      c = a.val < b.val ? -1 : (a.val > b.val ? 1 : 0);
    }
  } else {
    // Entries read their text from the storage; probes carry their own.
    const VString& at = a.probe_text ? *a.probe_text : (*keys)[static_cast<size_t>(a.pos)].str;
    const VString& bt = b.probe_text ? *b.probe_text : (*keys)[static_cast<size_t>(b.pos)].str;
    int t = at.compare(bt);
    c = t < 0 ? -1 : (t > 0 ? 1 : 0);
  }
  return c != 0 ? c < 0 : a.pos < b.pos;
}

CDS_Priority::Key CDS_Priority::KeyOf(const std::vector<RValue>& keys, int pos) {
  const RValue& k = keys[static_cast<size_t>(pos)];
  return Key{k.IsString() ? VALUE_STRING : VALUE_REAL, pos, k.val, nullptr};
}

void CDS_Priority::Clear() {
  i_by_priority.clear();
  i_by_value.clear();
  i_value_indexed = false;
  i_val.clear();
  i_priority.clear();
}

void CDS_Priority::RebuildIndex() {
  i_by_priority.clear();
  i_by_value.clear();
  i_value_indexed = false;
  for (int i = 0; i < Size(); ++i) i_by_priority.insert(KeyOf(i_priority, i));
}

void CDS_Priority::IndexValues() const {
  if (i_value_indexed) return;
  for (int i = 0; i < Size(); ++i) i_by_value.insert(KeyOf(i_val, i));
  i_value_indexed = true;
}

void CDS_Priority::Assign(const CDS_Priority* source) {
  if (source == nullptr) {
    Clear();
  } else if (source != this) {
    i_by_priority.clear();
    i_by_value.clear();
    i_value_indexed = false;
    i_val = source->i_val;
    i_priority = source->i_priority;
    RebuildIndex();
  }
}

void CDS_Priority::Add(const RValue& val, const RValue& priority) {
  i_val.push_back(val);
  i_priority.push_back(priority);
  i_by_priority.insert(KeyOf(i_priority, Size() - 1));
  if (i_value_indexed) i_by_value.insert(KeyOf(i_val, Size() - 1));
}

// The values that compare equal to val lie in one stretch of the exact
// order, in runs of equal values that each start with their earliest
// position; visiting the runs on both sides of val's place finds what a
// scan of the storage in order finds first.
int CDS_Priority::FindValue(const RValue& val) const {
  IndexValues();
  const std::vector<RValue>& keys = i_val;
  auto start = i_by_value.lower_bound(Probe(val, INT_MIN));
  int best = -1;
  auto keep = [&](int pos) {
    if (best < 0 || pos < best) best = pos;
  };
  for (auto it = start; it != i_by_value.end() && DS_Equal(keys[static_cast<size_t>(it->pos)], val);
       it = i_by_value.upper_bound(Probe(keys[static_cast<size_t>(it->pos)], INT_MAX)))
    keep(it->pos);
  for (auto it = start; it != i_by_value.begin();) {
    int below = std::prev(it)->pos;
    if (!DS_Equal(keys[static_cast<size_t>(below)], val)) break;
    it = i_by_value.lower_bound(Probe(keys[static_cast<size_t>(below)], INT_MIN));
    keep(it->pos);
  }
  return best;
}

void CDS_Priority::Change(const RValue& val, const RValue& priority) {
  int p = FindValue(val);
  if (p < 0) return;
  i_by_priority.erase(KeyOf(i_priority, p));
  i_priority[static_cast<size_t>(p)] = priority;
  i_by_priority.insert(KeyOf(i_priority, p));
}

RValue CDS_Priority::Find(const RValue& val) const {
  int p = FindValue(val);
  return p < 0 ? RValue() : i_priority[static_cast<size_t>(p)];
}

void CDS_Priority::RemoveAt(int pos) {
  int last = Size() - 1;
  // The indexes order by the stored keys: take entries out before the
  // storage under them changes.
  i_by_priority.erase(KeyOf(i_priority, pos));
  if (i_value_indexed) i_by_value.erase(KeyOf(i_val, pos));
  if (pos != last) {
    i_by_priority.erase(KeyOf(i_priority, last));
    if (i_value_indexed) i_by_value.erase(KeyOf(i_val, last));
    i_val[static_cast<size_t>(pos)] = std::move(i_val[static_cast<size_t>(last)]);
    i_priority[static_cast<size_t>(pos)] = std::move(i_priority[static_cast<size_t>(last)]);
  }
  i_val.pop_back();
  i_priority.pop_back();
  if (pos != last) {
    i_by_priority.insert(KeyOf(i_priority, pos));
    if (i_value_indexed) i_by_value.insert(KeyOf(i_val, pos));
  }
}

void CDS_Priority::Delete(const RValue& val) {
  int p = FindValue(val);
  if (p >= 0) RemoveAt(p);
}

// From the exact minimum, step run by run upwards while the run's priority
// compares equal to the minimum, keeping the earliest position.
int CDS_Priority::MinPosition() const {
  if (i_by_priority.empty()) return -1;
  auto it = i_by_priority.begin();
  const RValue& minimum = i_priority[static_cast<size_t>(it->pos)];
  int best = it->pos;
  while (true) {
    it = i_by_priority.upper_bound(Probe(i_priority[static_cast<size_t>(it->pos)], INT_MAX));
    if (it == i_by_priority.end() || !DS_Equal(i_priority[static_cast<size_t>(it->pos)], minimum)) break;
    if (it->pos < best) best = it->pos;
  }
  return best;
}

// Likewise from the exact maximum downwards.
int CDS_Priority::MaxPosition() const {
  if (i_by_priority.empty()) return -1;
  auto it = i_by_priority.lower_bound(Probe(i_priority[static_cast<size_t>(i_by_priority.rbegin()->pos)], INT_MIN));
  const RValue& maximum = i_priority[static_cast<size_t>(it->pos)];
  int best = it->pos;
  while (it != i_by_priority.begin()) {
    auto below = std::prev(it);
    if (!DS_Equal(i_priority[static_cast<size_t>(below->pos)], maximum)) break;
    it = i_by_priority.lower_bound(Probe(i_priority[static_cast<size_t>(below->pos)], INT_MIN));
    if (it->pos < best) best = it->pos;
  }
  return best;
}

RValue CDS_Priority::DeleteMin() {
  int p = MinPosition();
  if (p < 0) return RValue();
  RValue v = i_val[static_cast<size_t>(p)];
  RemoveAt(p);
  return v;
}

RValue CDS_Priority::DeleteMax() {
  int p = MaxPosition();
  if (p < 0) return RValue();
  RValue v = i_val[static_cast<size_t>(p)];
  RemoveAt(p);
  return v;
}

RValue CDS_Priority::FindMin() const {
  int p = MinPosition();
  return p < 0 ? RValue() : i_val[static_cast<size_t>(p)];
}

RValue CDS_Priority::FindMax() const {
  int p = MaxPosition();
  return p < 0 ? RValue() : i_val[static_cast<size_t>(p)];
}

VString CDS_Priority::WriteToString() const {
  DSTextWriter w(DS_MAGIC_PRIORITY);
  w.Integer(Size());
  for (const RValue& p : i_priority) w.Value(p);
  for (const RValue& v : i_val) w.Value(v);
  return w.Text();
}

// Pairs keep the text's storage order; the index is rebuilt from them.
bool CDS_Priority::ReadFromString(const VString& text) {
  DSTextReader r(text);
  if (!r.Magic(DS_MAGIC_PRIORITY)) return false;
  size_t n = r.Count(2 * kDSValueBytes);
  std::vector<RValue> priorities, values;
  priorities.reserve(n);
  values.reserve(n);
  for (size_t i = 0; i < n; ++i) priorities.push_back(r.Value());
  for (size_t i = 0; i < n; ++i) values.push_back(r.Value());
  i_priority = std::move(priorities);
  i_val = std::move(values);
  RebuildIndex();
  return true;
}
