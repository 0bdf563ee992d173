// support_ds_linear.cpp: stacks, queues and lists.
#include <algorithm>
#include <utility>

#include "datastructures/support_data_structures.h"
#include "datastructures/support_ds_text.h"
#include "common/random.h"

namespace {

// The text form shared by stacks and lists: the count, then each value.
VString WriteValueList(int32_t magic, const std::vector<RValue>& values) {
  DSTextWriter w(magic);
  w.Integer(static_cast<int32_t>(values.size()));
  for (const RValue& v : values) w.Value(v);
  return w.Text();
}

bool ReadValueList(const VString& text, int32_t magic, std::vector<RValue>& out) {
  DSTextReader r(text);
  if (!r.Magic(magic)) return false;
  size_t n = r.Count(kDSValueBytes);
  std::vector<RValue> values;
  values.reserve(n);
  for (size_t i = 0; i < n; ++i) values.push_back(r.Value());
  out = std::move(values);
  return true;
}

}  // namespace

// ---- stack ----

void CDS_Stack::Assign(const CDS_Stack* source) {
  if (source == nullptr) {
    Clear();
  } else if (source != this) {
    i_val = source->i_val;
  }
}

RValue CDS_Stack::Pop() {
  if (i_val.empty()) return RValue();
  RValue v = std::move(i_val.back());
  i_val.pop_back();
  return v;
}

RValue CDS_Stack::Top() const { return i_val.empty() ? RValue() : i_val.back(); }

VString CDS_Stack::WriteToString() const { return WriteValueList(DS_MAGIC_STACK, i_val); }

bool CDS_Stack::ReadFromString(const VString& text) {
  return ReadValueList(text, DS_MAGIC_STACK, i_val);
}

// ---- queue ----

// Storage grows in steps of this many slots; the step shows in the text form.
constexpr int32_t kQueueGrowth = 16;

void CDS_Queue::Clear() {
  i_val.clear();
  i_first = 0;
  i_last = 0;
}

void CDS_Queue::Assign(const CDS_Queue* source) {
  if (source == nullptr) {
    Clear();
  } else if (source != this) {
    i_val = source->i_val;
    i_first = source->i_first;
    i_last = source->i_last;
  }
}

void CDS_Queue::Enqueue(const RValue& v) {
  // The vector's own capacity grows geometrically; only its length follows
  // the 16-slot steps.
  if (static_cast<size_t>(i_first) >= i_val.size()) i_val.resize(static_cast<size_t>(i_first) + kQueueGrowth);
  i_val[static_cast<size_t>(i_first)] = v;
  ++i_first;
}

RValue CDS_Queue::Dequeue() {
  RValue v;
  if (i_last < i_first) {
    v = i_val[static_cast<size_t>(i_last)];
    ++i_last;
  }
  // Compaction copies the live elements to the front; the slots behind keep
  // their old contents, which the text form shows.
  if (i_last > kQueueGrowth && i_first / 2 < i_last) {
    int32_t size = i_first - i_last;
    for (int32_t k = 0; k < size; ++k) i_val[static_cast<size_t>(k)] = i_val[static_cast<size_t>(i_last + k)];
    i_first = size;
    i_last = 0;
  }
  return v;
}

RValue CDS_Queue::Head() const { return Empty() ? RValue() : i_val[static_cast<size_t>(i_last)]; }

RValue CDS_Queue::Tail() const { return Empty() ? RValue() : i_val[static_cast<size_t>(i_first - 1)]; }

VString CDS_Queue::WriteToString() const {
  DSTextWriter w(DS_MAGIC_QUEUE);
  w.Integer(i_first);
  w.Integer(i_last);
  w.Integer(Slots());
  for (const RValue& v : i_val) w.Value(v);
  return w.Text();
}

bool CDS_Queue::ReadFromString(const VString& text) {
  DSTextReader r(text);
  if (!r.Magic(DS_MAGIC_QUEUE)) return false;
  int32_t first = r.Integer();
  int32_t last = r.Integer();
  size_t m = r.Count(kDSValueBytes);
  // Indices outside the slots, or a head behind the tail, would address
  // storage that does not exist.
  if (last < 0 || first < last || static_cast<size_t>(first) > m)
    throw DSTextError("Data structure text holds queue indices outside its storage.");
  std::vector<RValue> values;
  values.reserve(m);
  for (size_t i = 0; i < m; ++i) values.push_back(r.Value());
  i_val = std::move(values);
  i_first = first;
  i_last = last;
  return true;
}

// ---- list ----

void CDS_List::Assign(const CDS_List* source) {
  if (source == nullptr) {
    Clear();
  } else if (source != this) {
    i_val = source->i_val;
  }
}

void CDS_List::Insert(int64_t ind, const RValue& v) {
  if (ind < 0 || ind > Size()) return;
  i_val.insert(i_val.begin() + ind, v);
}

void CDS_List::Replace(int64_t ind, const RValue& v) {
  if (ind < 0 || ind >= Size()) return;
  i_val[static_cast<size_t>(ind)] = v;
}

void CDS_List::Delete(int64_t ind) {
  if (ind < 0 || ind >= Size()) return;
  i_val.erase(i_val.begin() + ind);
}

int CDS_List::Find(const RValue& v) const {
  for (size_t i = 0; i < i_val.size(); ++i) {
    if (DS_Equal(i_val[i], v)) return static_cast<int>(i);
  }
  return -1;
}

RValue CDS_List::GetValue(int64_t ind) const {
  if (ind < 0 || ind >= Size()) return RValue();
  return i_val[static_cast<size_t>(ind)];
}

namespace {

// Bottom-up merge sort, stable under any comparison (it never reads outside
// the ranges it merges, whatever the comparison answers).
template <typename Before>
void StableSort(std::vector<RValue>& v, Before before) {
  size_t n = v.size();
  std::vector<RValue> buffer(n);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t a = lo, b = mid, out = lo;
      while (a < mid && b < hi) buffer[out++] = std::move(before(v[b], v[a]) ? v[b++] : v[a++]);
      while (a < mid) buffer[out++] = std::move(v[a++]);
      while (b < hi) buffer[out++] = std::move(v[b++]);
    }
    v.swap(buffer);
  }
}

}  // namespace

// The order is that of an insertion sort in which an element passes its
// predecessor while (predecessor > element) equals ascend: ascending is
// stable, and descending puts an element before every predecessor that is
// smaller or equal, so equal elements come out reversed. A merge sort gives
// the same order in O(n log n): directly when ascending, and over the
// reversed list when descending.
void CDS_List::Sort(bool ascend) {
  if (i_val.size() < 2) return;
  if (ascend) {
    StableSort(i_val, [](const RValue& a, const RValue& b) { return DS_Compare(a, b) < 0; });
  } else {
    std::reverse(i_val.begin(), i_val.end());
    StableSort(i_val, [](const RValue& a, const RValue& b) { return DS_Compare(a, b) > 0; });
  }
}

void CDS_List::Shuffle() {
  uint32_t n = static_cast<uint32_t>(i_val.size());
  if (n == 0) return;
  for (uint64_t k = 0; k < uint64_t{8} * n; ++k) {
    uint32_t a = RandomInt(n);
    uint32_t b = RandomInt(n);
    std::swap(i_val[a], i_val[b]);
  }
}

VString CDS_List::WriteToString() const { return WriteValueList(DS_MAGIC_LIST, i_val); }

bool CDS_List::ReadFromString(const VString& text) {
  return ReadValueList(text, DS_MAGIC_LIST, i_val);
}
