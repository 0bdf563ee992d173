// support_data_structures.h: the six containers of values that game code
// creates (stacks, queues, lists, maps, priority queues and grids), the one
// value comparison they all use with its process-wide precision, and their
// text form (two hexadecimal digits per byte of a little-endian record).
//
// Stacks, lists and grids are plain arrays. A queue keeps its storage slots
// exactly as its text form shows them (head and tail indices, stale copies).
// A map is an ordered tree of (key, value) entries, equal keys in insertion
// order; a priority queue keeps its pairs in storage order (the order its
// text form and its ties depend on) with ordered indexes by priority and by
// value beside them.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/value.h"

// The comparison precision, initially 1e-8; the setter stores |p| (NaN: 0).
double DS_GetPrecision();
void DS_SetPrecision(double p);

// Negative, 0 or positive. Reals are equal within the precision (with
// precision 0 within a relative 1e-12, at least 1e-12 absolute); strings
// compare by UTF-16 code unit; a real is smaller than any string.
int DS_Compare(const RValue& a, const RValue& b);
inline bool DS_Equal(const RValue& a, const RValue& b) { return DS_Compare(a, b) == 0; }

// A text form that is not hexadecimal, ends before the data it announces or
// announces impossible sizes. The container it was read into is unchanged.
class DSTextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Magic numbers that open each kind's text form.
enum : int32_t {
  DS_MAGIC_STACK = 101,
  DS_MAGIC_QUEUE = 201,
  DS_MAGIC_LIST = 301,
  DS_MAGIC_MAP = 401,
  DS_MAGIC_PRIORITY = 501,
  DS_MAGIC_GRID = 601,
};

// Every ReadFromString returns false (changing nothing) when the text opens
// with another kind's magic number, raises DSTextError (changing nothing) for
// a malformed text, and otherwise replaces the whole contents.

class CDS_Stack {
 public:
  void Clear() { i_val.clear(); }
  void Assign(const CDS_Stack* source);
  void Push(const RValue& v) { i_val.push_back(v); }
  RValue Pop();
  RValue Top() const;
  bool Empty() const { return i_val.empty(); }
  int Size() const { return static_cast<int>(i_val.size()); }
  VString WriteToString() const;
  bool ReadFromString(const VString& text);

 private:
  std::vector<RValue> i_val;  // bottom first
};

class CDS_Queue {
 public:
  void Clear();
  void Assign(const CDS_Queue* source);
  void Enqueue(const RValue& v);
  RValue Dequeue();
  RValue Head() const;
  RValue Tail() const;
  bool Empty() const { return i_first == i_last; }
  int Size() const { return i_first - i_last; }
  int First() const { return i_first; }
  int Last() const { return i_last; }
  int Slots() const { return static_cast<int>(i_val.size()); }
  VString WriteToString() const;
  bool ReadFromString(const VString& text);

 private:
  int32_t i_first = 0;  // one past the newest element
  int32_t i_last = 0;   // the oldest element
  std::vector<RValue> i_val;  // every storage slot, including stale ones
};

class CDS_List {
 public:
  void Clear() { i_val.clear(); }
  void Assign(const CDS_List* source);
  void Add(const RValue& v) { i_val.push_back(v); }
  void Insert(int64_t ind, const RValue& v);
  void Replace(int64_t ind, const RValue& v);
  void Delete(int64_t ind);
  bool Empty() const { return i_val.empty(); }
  int Size() const { return static_cast<int>(i_val.size()); }
  int Find(const RValue& v) const;
  RValue GetValue(int64_t ind) const;
  void Sort(bool ascend);
  void Shuffle();
  VString WriteToString() const;
  bool ReadFromString(const VString& text);

 private:
  std::vector<RValue> i_val;
};

// Orders map keys by DS_Compare.
struct DSKeyLess {
  bool operator()(const RValue& a, const RValue& b) const { return DS_Compare(a, b) < 0; }
};

class CDS_Map {
 public:
  using Entries = std::multimap<RValue, RValue, DSKeyLess>;

  CDS_Map() = default;
  CDS_Map(const CDS_Map&) = delete;
  CDS_Map& operator=(const CDS_Map&) = delete;

  void Clear();
  void Assign(const CDS_Map* source);
  void Add(const RValue& key, const RValue& val);
  void Replace(const RValue& key, const RValue& val);
  void Delete(const RValue& key);
  bool Empty() const { return i_entries.empty(); }
  int Size() const { return static_cast<int>(i_entries.size()); }
  bool Exists(const RValue& key) const;
  RValue Find(const RValue& key) const;
  RValue FindPrevious(const RValue& key) const;
  RValue FindNext(const RValue& key) const;
  RValue FindFirst() const;
  RValue FindLast() const;
  VString WriteToString() const;
  bool ReadFromString(const VString& text);

 private:
  // The first entry whose key compares equal to key, or end.
  Entries::iterator FindEntry(const RValue& key);
  Entries::const_iterator FindEntry(const RValue& key) const;
  void RebuildTextIndex();

  Entries i_entries;  // ascending by key; equal keys in insertion order
  // String keys compare equal only when identical, so they can be hashed:
  // each string key leads to the first of its entries. The views point
  // into the keys of the tree's nodes, which never move.
  struct TextHash {
    size_t operator()(std::u16string_view s) const;
  };
  std::unordered_map<std::u16string_view, Entries::iterator, TextHash> i_by_text;
};

class CDS_Priority {
 public:
  CDS_Priority() : i_by_priority(IndexLess{&i_priority}), i_by_value(IndexLess{&i_val}) {}
  CDS_Priority(const CDS_Priority&) = delete;
  CDS_Priority& operator=(const CDS_Priority&) = delete;

  void Clear();
  void Assign(const CDS_Priority* source);
  void Add(const RValue& val, const RValue& priority);
  void Change(const RValue& val, const RValue& priority);
  RValue Find(const RValue& val) const;
  void Delete(const RValue& val);
  RValue DeleteMin();
  RValue DeleteMax();
  RValue FindMin() const;
  RValue FindMax() const;
  bool Empty() const { return i_val.empty(); }
  int Size() const { return static_cast<int>(i_val.size()); }
  VString WriteToString() const;
  bool ReadFromString(const VString& text);

 private:
  // An index entry: a storage position with its key's kind and real kept
  // inline, so comparing reals reads no storage. String keys are read from
  // the storage array through the position.
  struct Key {
    int32_t kind;
    int32_t pos;
    double val;
    const VString* probe_text;  // a probe's string; null for entries
  };
  // Entries ordered by key exactly (reals by value, NaN last, then strings
  // by code unit), equal keys by position.
  struct IndexLess {
    const std::vector<RValue>* keys;
    bool operator()(const Key& a, const Key& b) const;
  };
  using Index = std::set<Key, IndexLess>;
  static Key KeyOf(const std::vector<RValue>& keys, int pos);
  // A probe before (pos INT_MIN) or after (INT_MAX) every entry of key k.
  static Key Probe(const RValue& k, int32_t pos) {
    return Key{k.IsString() ? VALUE_STRING : VALUE_REAL, pos, k.val, &k.str};
  }

  // The position that a scan of the storage in order, keeping the first
  // strictly smaller (or larger) priority, selects; -1 when empty.
  int MinPosition() const;
  int MaxPosition() const;
  // The first position in storage order whose value compares equal; -1.
  int FindValue(const RValue& val) const;
  // Removes the pair at pos by moving the last pair into its place.
  void RemoveAt(int pos);
  void RebuildIndex();
  void IndexValues() const;

  std::vector<RValue> i_val;
  std::vector<RValue> i_priority;
  Index i_by_priority;
  // Built by the first lookup by value and kept up to date from then on, so
  // a queue used only by priority never pays for it.
  mutable Index i_by_value;
  mutable bool i_value_indexed = false;
};

// Cell operations of grids.
enum : int { DS_OP_SET = 1, DS_OP_ADD = 2, DS_OP_MULTIPLY = 3 };

// The most cells a grid may hold (a larger size is refused).
constexpr int64_t kDSGridMaxCells = int64_t{1} << 26;

class CDS_Grid {
 public:
  // Sizes below 0 count as 0. Create and Resize return false (changing
  // nothing) when w × h exceeds kDSGridMaxCells.
  bool Create(int64_t w, int64_t h);
  bool Resize(int64_t w, int64_t h);
  void Clear(const RValue& val);
  void Assign(const CDS_Grid* source);
  int Width() const { return i_w; }
  int Height() const { return i_h; }

  void Cell_Operation(int op, int64_t x, int64_t y, const RValue& val);
  void Region_Operation(int op, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const RValue& val);
  void Disk_Operation(int op, double x, double y, double r, const RValue& val);
  void Grid_Operation(int op, const CDS_Grid& source, int64_t x1, int64_t y1, int64_t x2,
                      int64_t y2, int64_t xpos, int64_t ypos);

  RValue Get_Cell(int64_t x, int64_t y) const;
  double Get_Sum(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const;
  double Get_Max(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const;
  double Get_Min(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const;
  double Get_Mean(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const;
  double Get_Disk_Sum(double x, double y, double r) const;
  double Get_Disk_Max(double x, double y, double r) const;
  double Get_Disk_Min(double x, double y, double r) const;
  double Get_Disk_Mean(double x, double y, double r) const;

  // Search: found flag and the cell's position (0, 0 when not found).
  struct Match {
    bool found = false;
    int x = 0;
    int y = 0;
  };
  Match Value_Find(int64_t x1, int64_t y1, int64_t x2, int64_t y2, const RValue& val) const;
  Match Value_Disk_Find(double x, double y, double r, const RValue& val) const;

  void Shuffle();
  VString WriteToString() const;
  bool ReadFromString(const VString& text);

  const RValue& At(int x, int y) const { return i_val[static_cast<size_t>(x) * i_h + y]; }
  RValue& At(int x, int y) { return i_val[static_cast<size_t>(x) * i_h + y]; }

 private:
  // Inclusive cell ranges, clipped to the grid; empty when lo > hi.
  struct Range {
    int x_lo, x_hi, y_lo, y_hi;
  };
  Range RegionRange(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const;
  Range DiskRange(double x, double y, double r) const;
  template <typename Visit>
  void ForRegion(int64_t x1, int64_t y1, int64_t x2, int64_t y2, Visit visit) const;
  template <typename Visit>
  void ForDisk(double x, double y, double r, Visit visit) const;

  int32_t i_w = 0;
  int32_t i_h = 0;
  std::vector<RValue> i_val;  // column by column: cell (x, y) at x × h + y
};

// The cell operation op applied to one cell.
void DS_ApplyOperation(int op, RValue& cell, const RValue& val);
