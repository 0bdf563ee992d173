// support_ds_priority.cpp: priority queues. The pairs stay in storage order
// (appended, a removed pair's place taken by the last pair), which is what
// the text form shows and what decides between equal priorities. Beside the
// storage an ordered index holds every position sorted by its priority
// (exactly, then by position), so the minimum and maximum are found in
// O(log n) instead of by scanning.
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

namespace {

// A strict total order on priorities: reals (NaN last) before strings, reals
// by value, strings by code unit.
int ExactCompare(const RValue& a, const RValue& b) {
  bool as = a.IsString(), bs = b.IsString();
  if (as != bs) return as ? 1 : -1;
  if (as) {
    int c = a.str.compare(b.str);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  bool an = std::isnan(a.val), bn = std::isnan(b.val);
  if (an || bn) return an == bn ? 0 : (an ? 1 : -1);
  return a.val < b.val ? -1 : (a.val > b.val ? 1 : 0);
}

}  // namespace

bool CDS_Priority::IndexLess::operator()(int a, int b) const {
  int c = ExactCompare(owner->i_priority[static_cast<size_t>(a)], owner->i_priority[static_cast<size_t>(b)]);
  return c != 0 ? c < 0 : a < b;
}

bool CDS_Priority::IndexLess::operator()(int a, const Probe& b) const {
  int c = ExactCompare(owner->i_priority[static_cast<size_t>(a)], *b.priority);
  return c != 0 ? c < 0 : a < b.pos;
}

bool CDS_Priority::IndexLess::operator()(const Probe& a, int b) const {
  int c = ExactCompare(*a.priority, owner->i_priority[static_cast<size_t>(b)]);
  return c != 0 ? c < 0 : a.pos < b;
}

void CDS_Priority::Clear() {
  i_index.clear();
  i_val.clear();
  i_priority.clear();
}

void CDS_Priority::RebuildIndex() {
  i_index.clear();
  for (int i = 0; i < Size(); ++i) i_index.insert(i);
}

void CDS_Priority::Assign(const CDS_Priority* source) {
  if (source == nullptr) {
    Clear();
  } else if (source != this) {
    i_index.clear();
    i_val = source->i_val;
    i_priority = source->i_priority;
    RebuildIndex();
  }
}

void CDS_Priority::Add(const RValue& val, const RValue& priority) {
  i_val.push_back(val);
  i_priority.push_back(priority);
  i_index.insert(i_index.end(), Size() - 1);
}

int CDS_Priority::FindValue(const RValue& val) const {
  for (size_t i = 0; i < i_val.size(); ++i) {
    if (DS_Equal(i_val[i], val)) return static_cast<int>(i);
  }
  return -1;
}

void CDS_Priority::Change(const RValue& val, const RValue& priority) {
  int p = FindValue(val);
  if (p < 0) return;
  i_index.erase(p);
  i_priority[static_cast<size_t>(p)] = priority;
  i_index.insert(p);
}

RValue CDS_Priority::Find(const RValue& val) const {
  int p = FindValue(val);
  return p < 0 ? RValue() : i_priority[static_cast<size_t>(p)];
}

void CDS_Priority::RemoveAt(int pos) {
  int last = Size() - 1;
  // The index orders by the stored priorities: take entries out before the
  // storage under them changes.
  i_index.erase(pos);
  if (pos != last) {
    i_index.erase(last);
    i_val[static_cast<size_t>(pos)] = std::move(i_val[static_cast<size_t>(last)]);
    i_priority[static_cast<size_t>(pos)] = std::move(i_priority[static_cast<size_t>(last)]);
  }
  i_val.pop_back();
  i_priority.pop_back();
  if (pos != last) i_index.insert(pos);
}

void CDS_Priority::Delete(const RValue& val) {
  int p = FindValue(val);
  if (p >= 0) RemoveAt(p);
}

// Each distinct priority's run in the index starts with its earliest
// position. From the exact minimum, step run by run upwards while the run's
// priority compares equal to the minimum, keeping the earliest position.
int CDS_Priority::MinPosition() const {
  if (i_index.empty()) return -1;
  auto it = i_index.begin();
  const RValue& minimum = i_priority[static_cast<size_t>(*it)];
  int best = *it;
  while (true) {
    it = i_index.upper_bound(Probe{&i_priority[static_cast<size_t>(*it)], INT_MAX});
    if (it == i_index.end() || !DS_Equal(i_priority[static_cast<size_t>(*it)], minimum)) break;
    if (*it < best) best = *it;
  }
  return best;
}

// Likewise from the exact maximum downwards.
int CDS_Priority::MaxPosition() const {
  if (i_index.empty()) return -1;
  auto it = i_index.lower_bound(Probe{&i_priority[static_cast<size_t>(*i_index.rbegin())], INT_MIN});
  const RValue& maximum = i_priority[static_cast<size_t>(*it)];
  int best = *it;
  while (it != i_index.begin()) {
    auto below = std::prev(it);
    if (!DS_Equal(i_priority[static_cast<size_t>(*below)], maximum)) break;
    it = i_index.lower_bound(Probe{&i_priority[static_cast<size_t>(*below)], INT_MIN});
    if (*it < best) best = *it;
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
  i_index.clear();
  i_priority = std::move(priorities);
  i_val = std::move(values);
  RebuildIndex();
  return true;
}
