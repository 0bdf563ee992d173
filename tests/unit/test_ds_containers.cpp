// Containers of game code: the value comparison, the ordering rules of
// lists, maps and priority queues, queue storage, grid operations, and the
// text form byte for byte, including hostile texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "datastructures/datastructures_builtins.h"
#include "datastructures/support_data_structures.h"
#include "common/random.h"

namespace {

RValue R(double v) { return RValue::Real(v); }
RValue S(const char16_t* s) { return RValue::String(s); }

// Builds the hexadecimal text of a record independently of the writer.
struct Hex {
  std::string text;
  Hex& Bytes(const void* p, size_t n) {
    static const char kDigits[] = "0123456789ABCDEF";
    const uint8_t* b = static_cast<const uint8_t*>(p);
    for (size_t i = 0; i < n; ++i) {
      text += kDigits[b[i] >> 4];
      text += kDigits[b[i] & 15];
    }
    return *this;
  }
  Hex& I(int32_t v) { return Bytes(&v, 4); }
  Hex& Real(double v) {
    I(0);
    Bytes(&v, 8);
    return I(0);
  }
  Hex& Str(const std::string& s) {
    I(1);
    double zero = 0;
    Bytes(&zero, 8);
    I(static_cast<int32_t>(s.size()));
    return Bytes(s.data(), s.size());
  }
  VString V() const { return VString(text.begin(), text.end()); }
};

std::string Text(const VString& v) { return std::string(v.begin(), v.end()); }

class DsContainers : public ::testing::Test {
 protected:
  void SetUp() override { Datastructures_Reset(); }
  void TearDown() override { Datastructures_Reset(); }
};

TEST_F(DsContainers, CompareWithPrecision) {
  struct Case {
    double precision;
    RValue a, b;
    int expected;
  } cases[] = {
      {1e-8, R(1), R(1.000000005), 0},
      {0, R(1), R(1.000000005), -1},
      {0, R(1e6), R(1e6 + 1e-7), 0},  // relative 1e-12
      {0, R(0), R(1e-13), 0},         // absolute floor 1e-12
      {0, R(0), R(1e-11), -1},
      {0.5, R(2), R(2.5), 0},
      {0.5, R(2.6), R(2), 1},
      {1e-8, R(5), S(u""), -1},  // a real is smaller than any string
      {1e-8, S(u"a"), R(5), 1},
      {1e-8, S(u"ab"), S(u"abc"), -1},  // a proper prefix is smaller
      {1e-8, S(u"B"), S(u"a"), -1},     // case-sensitive, by code unit
      {1e-8, S(u"\u00e9"), S(u"\u0100"), -1},
      {1e-8, S(u"x"), S(u"x"), 0},
  };
  for (const Case& c : cases) {
    DS_SetPrecision(c.precision);
    int got = DS_Compare(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.expected) << c.a.val << " vs " << c.b.val << " p " << c.precision;
  }
  DS_SetPrecision(-0.25);
  EXPECT_DOUBLE_EQ(DS_GetPrecision(), 0.25);
}

TEST_F(DsContainers, StackAndEmptyResults) {
  CDS_Stack s;
  RValue v = s.Pop();
  EXPECT_TRUE(v.IsReal());
  EXPECT_EQ(v.val, 0);
  s.Push(R(1));
  s.Push(S(u"two"));
  EXPECT_EQ(s.Top().str, u"two");
  EXPECT_EQ(s.Pop().str, u"two");
  EXPECT_EQ(s.Pop().val, 1);
  EXPECT_TRUE(s.Empty());
  s.Push(R(1));
  EXPECT_EQ(Text(s.WriteToString()), "650000000100000000000000000000000000F03F00000000");
}

TEST_F(DsContainers, ListSortOrderOfEqualElements) {
  // Equal values told apart by the real a string carries: 2 (0) and 2' (7).
  auto tagged = [](const char16_t* s, double tag) {
    RValue v = RValue::String(s);
    v.val = tag;
    return v;
  };
  CDS_List l;
  l.Add(tagged(u"2", 0));
  l.Add(tagged(u"2", 7));
  l.Add(tagged(u"1", 0));
  l.Sort(false);
  EXPECT_EQ(l.GetValue(0).val, 7);  // descending reverses equal elements
  EXPECT_EQ(l.GetValue(1).val, 0);
  EXPECT_EQ(l.GetValue(2).str, u"1");
  l.Sort(true);  // ascending keeps them
  EXPECT_EQ(l.GetValue(0).str, u"1");
  EXPECT_EQ(l.GetValue(1).val, 7);
  EXPECT_EQ(l.GetValue(2).val, 0);

  // A longer mix: reals before strings, strings by code unit.
  CDS_List m;
  for (RValue v : {S(u"b"), R(3), S(u"B"), R(-1), S(u"a"), R(3.5)}) m.Add(v);
  m.Sort(true);
  std::string order;
  for (int i = 0; i < m.Size(); ++i) order += Text(ValueText(m.GetValue(i))) + " ";
  EXPECT_EQ(order, "-1 3 3.50 B a b ");
}

TEST_F(DsContainers, ListPositionsAndFind) {
  CDS_List l;
  l.Insert(1, R(9));  // beyond the count: ignored
  l.Insert(0, R(1));
  l.Insert(1, R(3));  // count: appends
  l.Insert(1, R(2));
  l.Replace(3, R(0));
  l.Delete(-1);
  EXPECT_EQ(l.Size(), 3);
  EXPECT_EQ(l.Find(R(2.000000001)), 1);  // equal within the default precision
  DS_SetPrecision(0);
  EXPECT_EQ(l.Find(R(2.000000001)), -1);
  l.Delete(0);
  EXPECT_EQ(l.GetValue(0).val, 2);
  EXPECT_EQ(l.GetValue(5).val, 0);
}

TEST_F(DsContainers, ListShuffleDrawsFromTheRunnerGenerator) {
  CDS_List l;
  for (int i = 0; i < 5; ++i) l.Add(R(i));
  RandomSetSeed(12345);
  l.Shuffle();
  // The same swaps by hand: 40 pairs, first position drawn first.
  RandomSetSeed(12345);
  double v[5] = {0, 1, 2, 3, 4};
  for (int k = 0; k < 40; ++k) {
    uint32_t a = RandomInt(5), b = RandomInt(5);
    std::swap(v[a], v[b]);
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(l.GetValue(i).val, v[i]);
}

TEST_F(DsContainers, QueueStorageAndCompaction) {
  CDS_Queue q;
  EXPECT_EQ(q.Dequeue().val, 0);
  for (int i = 1; i <= 3; ++i) q.Enqueue(R(i));
  EXPECT_EQ(q.Dequeue().val, 1);
  EXPECT_EQ(q.First(), 3);
  EXPECT_EQ(q.Last(), 1);
  EXPECT_EQ(q.Slots(), 16);
  Hex expected;
  expected.I(201).I(3).I(1).I(16);
  for (int i = 0; i < 16; ++i) expected.Real(i < 3 ? i + 1 : 0);
  EXPECT_EQ(Text(q.WriteToString()), expected.text);

  // 40 in: the 21st dequeue is the first with i_first div 2 < i_last; it
  // moves the 19 live elements to the front and leaves the slots behind them
  // as they were.
  CDS_Queue big;
  for (int i = 0; i < 40; ++i) big.Enqueue(R(i));
  EXPECT_EQ(big.Slots(), 48);
  for (int i = 0; i < 20; ++i) big.Dequeue();
  EXPECT_EQ(big.Last(), 20);
  EXPECT_EQ(big.Dequeue().val, 20);
  EXPECT_EQ(big.Last(), 0);
  EXPECT_EQ(big.First(), 19);
  EXPECT_EQ(big.Head().val, 21);
  EXPECT_EQ(big.Tail().val, 39);
  CDS_Queue copy;
  ASSERT_TRUE(copy.ReadFromString(big.WriteToString()));
  EXPECT_EQ(Text(copy.WriteToString()), Text(big.WriteToString()));
  EXPECT_EQ(copy.Dequeue().val, 21);
  // Slot 19 still holds the stale 19; slot 40 is a never-used zero.
  Hex stale;
  stale.I(201).I(19).I(0).I(48);
  for (int i = 0; i < 48; ++i) stale.Real(i < 19 ? i + 21 : (i < 40 ? i : 0));
  EXPECT_EQ(Text(big.WriteToString()), stale.text);
  // Dequeue on an empty queue still compacts.
  CDS_Queue drained;
  for (int i = 0; i < 18; ++i) drained.Enqueue(R(i));
  for (int i = 0; i < 17; ++i) drained.Dequeue();
  EXPECT_EQ(drained.Last(), 0);  // 17 > 16 and 18 div 2 < 17
  EXPECT_EQ(drained.First(), 1);
  drained.Dequeue();
  EXPECT_EQ(drained.Dequeue().val, 0);
  EXPECT_TRUE(drained.Empty());
}

TEST_F(DsContainers, MapOrderAndSearches) {
  CDS_Map m;
  m.Add(R(1), S(u"one"));
  m.Add(S(u"a"), S(u"A"));
  m.Add(R(2), S(u"two"));
  EXPECT_EQ(m.FindFirst().val, 1);
  EXPECT_EQ(m.FindLast().str, u"a");
  EXPECT_EQ(m.FindNext(R(2)).str, u"a");
  EXPECT_EQ(m.FindNext(R(1.5)).val, 2);
  RValue none = m.FindNext(S(u"a"));
  EXPECT_TRUE(none.IsReal());
  EXPECT_EQ(none.val, 0);
  EXPECT_EQ(m.FindPrevious(R(-5)).val, 0);
  EXPECT_EQ(m.FindPrevious(S(u"zz")).str, u"a");
  EXPECT_EQ(m.FindPrevious(S(u"a")).val, 2);
  EXPECT_EQ(m.FindPrevious(R(2)).val, 1);
  EXPECT_EQ(m.Find(R(1.000000005)).str, u"one");
  DS_SetPrecision(0);
  EXPECT_FALSE(m.Exists(R(1.000000005)));
  DS_SetPrecision(1e-8);

  // Duplicates: the later goes after; lookups act on the first.
  CDS_Map d;
  d.Add(R(5), S(u"first"));
  d.Add(R(5), S(u"second"));
  d.Add(R(4), S(u"four"));
  EXPECT_EQ(d.Size(), 3);
  EXPECT_EQ(d.Find(R(5)).str, u"first");
  d.Replace(R(5), S(u"replaced"));
  Hex order;
  order.I(401).I(3).Real(4).Real(5).Real(5).Str("four").Str("replaced").Str("second");
  EXPECT_EQ(Text(d.WriteToString()), order.text);
  d.Delete(R(5));
  EXPECT_TRUE(d.Exists(R(5)));
  EXPECT_EQ(d.Find(R(5)).str, u"second");
  d.Delete(R(5));
  EXPECT_FALSE(d.Exists(R(5)));
  d.Delete(R(5));
  EXPECT_EQ(d.Size(), 1);
}

TEST_F(DsContainers, PriorityTiesAndStorageOrder) {
  CDS_Priority p;
  EXPECT_EQ(p.DeleteMin().val, 0);
  p.Add(S(u"a"), R(3));
  p.Add(S(u"b"), R(1));
  p.Add(S(u"c"), R(5));
  p.Add(S(u"d"), R(1));
  p.Add(S(u"e"), R(5));
  EXPECT_EQ(p.FindMin().str, u"b");  // the earliest of equal priorities
  EXPECT_EQ(p.FindMax().str, u"c");
  // Removing b moves e (the last pair) into b's place: storage a e c d.
  EXPECT_EQ(p.DeleteMin().str, u"b");
  EXPECT_EQ(p.FindMax().str, u"e");  // e now comes before c
  Hex order;
  order.I(501).I(4).Real(3).Real(5).Real(5).Real(1).Str("a").Str("e").Str("c").Str("d");
  EXPECT_EQ(Text(p.WriteToString()), order.text);
  p.Change(S(u"a"), R(0.5));
  EXPECT_EQ(p.FindMin().str, u"a");
  EXPECT_EQ(p.Find(S(u"c")).val, 5);
  EXPECT_EQ(p.Find(S(u"zz")).val, 0);
  p.Delete(S(u"e"));  // d moves into e's place: a d c
  EXPECT_EQ(p.DeleteMax().str, u"c");
  EXPECT_EQ(p.DeleteMax().str, u"d");
  EXPECT_EQ(p.DeleteMax().str, u"a");
  EXPECT_TRUE(p.Empty());

  // Priorities equal within the precision are ties; strings rank above reals.
  CDS_Priority q;
  q.Add(S(u"x"), R(2.000000004));
  q.Add(S(u"y"), R(2));
  q.Add(S(u"z"), S(u"p"));
  EXPECT_EQ(q.FindMin().str, u"x");
  EXPECT_EQ(q.FindMax().str, u"z");
  DS_SetPrecision(0);
  EXPECT_EQ(q.FindMin().str, u"y");
}

// The index against a plain scan of the storage, over many random
// operations with many equal priorities.
TEST_F(DsContainers, PriorityMatchesAStorageScan) {
  CDS_Priority p;
  std::vector<std::pair<double, double>> model;  // (value, priority)
  auto scan = [&](bool want_max) {
    int best = 0;
    for (size_t i = 1; i < model.size(); ++i) {
      double a = model[i].second, b = model[static_cast<size_t>(best)].second;
      if (want_max ? a > b : a < b) best = static_cast<int>(i);
    }
    return best;
  };
  RandomSetSeed(7);
  for (int step = 0; step < 4000; ++step) {
    uint32_t what = RandomInt(4);
    if (what < 2 || model.empty()) {
      double prio = RandomInt(20);
      p.Add(R(step), R(prio));
      model.push_back({static_cast<double>(step), prio});
    } else {
      bool want_max = what == 3;
      int pos = scan(want_max);
      RValue got = want_max ? p.DeleteMax() : p.DeleteMin();
      ASSERT_EQ(got.val, model[static_cast<size_t>(pos)].first) << "step " << step;
      model[static_cast<size_t>(pos)] = model.back();
      model.pop_back();
    }
  }
}

TEST_F(DsContainers, GridCellOperations) {
  CDS_Grid g;
  ASSERT_TRUE(g.Create(3, 2));
  g.Cell_Operation(DS_OP_SET, 0, 0, S(u"a"));
  g.Cell_Operation(DS_OP_ADD, 0, 0, S(u"b"));
  EXPECT_EQ(g.Get_Cell(0, 0).str, u"ab");
  g.Cell_Operation(DS_OP_MULTIPLY, 0, 0, R(2));
  EXPECT_EQ(g.Get_Cell(0, 0).str, u"ab");
  g.Cell_Operation(DS_OP_ADD, 0, 0, R(1));
  EXPECT_TRUE(g.Get_Cell(0, 0).IsReal());
  EXPECT_EQ(g.Get_Cell(0, 0).val, 1);
  g.Cell_Operation(DS_OP_ADD, 1, 1, R(4));
  g.Cell_Operation(DS_OP_MULTIPLY, 1, 1, R(2.5));
  EXPECT_EQ(g.Get_Cell(1, 1).val, 10);
  g.Cell_Operation(DS_OP_SET, 3, 0, R(7));  // outside: ignored
  g.Cell_Operation(DS_OP_SET, 0, -1, R(7));
  EXPECT_EQ(g.Get_Sum(0, 0, 2, 1), 11);
  EXPECT_EQ(g.Get_Cell(3, 0).val, 0);
}

TEST_F(DsContainers, GridRegionsAndStatistics) {
  CDS_Grid g;
  ASSERT_TRUE(g.Create(4, 4));
  g.Region_Operation(DS_OP_SET, 3, 2, 1, 8, R(2));  // corners swapped, clipped
  EXPECT_EQ(g.Get_Sum(0, 0, 3, 3), 2 * 3 * 2);
  EXPECT_EQ(g.Get_Cell(1, 2).val, 2);
  EXPECT_EQ(g.Get_Cell(0, 2).val, 0);
  EXPECT_EQ(g.Get_Max(0, 0, 3, 3), 2);
  EXPECT_EQ(g.Get_Min(-10, -10, 10, 10), 0);
  EXPECT_DOUBLE_EQ(g.Get_Mean(0, 0, 3, 3), 12.0 / 16);
  // Corners far outside the grid cover nothing, whatever their size.
  g.Region_Operation(DS_OP_SET, int64_t{1} << 40, 0, int64_t{1} << 40, 3, R(50));
  g.Region_Operation(DS_OP_SET, 0, -(int64_t{1} << 40), 3, -(int64_t{1} << 36), R(50));
  EXPECT_EQ(g.Get_Sum(0, 0, 3, 3), 2 * 3 * 2);
  EXPECT_EQ(g.Get_Sum(int64_t{1} << 33, 0, int64_t{1} << 33, 3), 0);
  g.Region_Operation(DS_OP_SET, 0, 0, 0, 3, S(u"s"));
  EXPECT_EQ(g.Get_Max(0, 0, 0, 3), -100000000);
  EXPECT_EQ(g.Get_Min(0, 0, 0, 3), 100000000);
  EXPECT_EQ(g.Get_Mean(0, 0, 0, 3), 0);
  EXPECT_EQ(g.Get_Sum(0, 0, 0, 3), 0);
  g.Cell_Operation(DS_OP_SET, 2, 0, R(-200000000));
  EXPECT_EQ(g.Get_Min(0, 0, 3, 3), -200000000);
  EXPECT_EQ(g.Get_Max(2, 0, 2, 0), -100000000);
  // Searches: columns first, then rows; not found looks like x 0.
  g.Cell_Operation(DS_OP_SET, 3, 1, R(2));
  CDS_Grid::Match m = g.Value_Find(0, 0, 3, 3, R(2));
  EXPECT_TRUE(m.found);
  EXPECT_EQ(m.x, 1);
  EXPECT_EQ(m.y, 2);
  m = g.Value_Find(0, 0, 3, 3, S(u"s"));
  EXPECT_TRUE(m.found);
  EXPECT_EQ(m.x, 0);
  m = g.Value_Find(0, 0, 3, 3, R(99));
  EXPECT_FALSE(m.found);
  EXPECT_EQ(m.x, 0);
  EXPECT_EQ(m.y, 0);
}

TEST_F(DsContainers, GridDiskCoversExactlyTheCellsWithinTheRadius) {
  struct Case {
    double x, y, r;
  } cases[] = {{2, 2, 1}, {2.5, 2.5, 1.2}, {0, 0, 2.9}, {4.7, 1.1, 0.3}, {2, 2, 0}, {2, 2, -1}, {3, 3, 50}};
  for (const Case& c : cases) {
    CDS_Grid g;
    ASSERT_TRUE(g.Create(6, 5));
    g.Disk_Operation(DS_OP_ADD, c.x, c.y, c.r, R(1));
    double expected_sum = 0;
    for (int i = 0; i < 6; ++i) {
      for (int j = 0; j < 5; ++j) {
        bool inside = c.r >= 0 && (i - c.x) * (i - c.x) + (j - c.y) * (j - c.y) <= c.r * c.r;
        EXPECT_EQ(g.Get_Cell(i, j).val, inside ? 1 : 0) << i << "," << j << " r " << c.r;
        expected_sum += inside;
      }
    }
    EXPECT_EQ(g.Get_Disk_Sum(c.x, c.y, c.r), expected_sum);
  }
  CDS_Grid g;
  ASSERT_TRUE(g.Create(5, 5));
  g.Cell_Operation(DS_OP_SET, 2, 3, R(9));
  EXPECT_EQ(g.Get_Disk_Max(2, 2, 1), 9);
  EXPECT_EQ(g.Get_Disk_Min(2, 2, 1), 0);
  EXPECT_DOUBLE_EQ(g.Get_Disk_Mean(2, 2, 1), 9.0 / 5);
  CDS_Grid::Match m = g.Value_Disk_Find(2, 2, 1, R(9));
  EXPECT_TRUE(m.found);
  EXPECT_EQ(m.x, 2);
  EXPECT_EQ(m.y, 3);
  EXPECT_FALSE(g.Value_Disk_Find(0, 0, 1, R(9)).found);
  EXPECT_EQ(g.Get_Disk_Sum(2, 2, std::nan("")), 0);
}

TEST_F(DsContainers, GridOntoItselfReadsBeforeWriting) {
  CDS_Grid g;
  ASSERT_TRUE(g.Create(4, 4));
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 4; ++y) g.Cell_Operation(DS_OP_SET, x, y, R(10 * x + y));
  g.Grid_Operation(DS_OP_SET, g, 0, 0, 3, 3, 1, 1);
  for (int x = 1; x < 4; ++x)
    for (int y = 1; y < 4; ++y) EXPECT_EQ(g.Get_Cell(x, y).val, 10 * (x - 1) + (y - 1));
  EXPECT_EQ(g.Get_Cell(0, 3).val, 3);  // untouched
  g.Grid_Operation(DS_OP_SET, g, 1, 1, 3, 3, 0, 0);  // and back, up and left
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y) EXPECT_EQ(g.Get_Cell(x, y).val, 10 * x + y);
}

TEST_F(DsContainers, GridOntoGridClipping) {
  CDS_Grid src, dst;
  ASSERT_TRUE(src.Create(3, 3));
  ASSERT_TRUE(dst.Create(3, 3));
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y) src.Cell_Operation(DS_OP_SET, x, y, R(1 + 10 * x + y));
  // A negative target moves the source start: source (1, 2) lands on (0, 0).
  dst.Grid_Operation(DS_OP_ADD, src, 2, 2, 0, 0, -1, -2);
  EXPECT_EQ(dst.Get_Cell(0, 0).val, 13);
  EXPECT_EQ(dst.Get_Cell(1, 0).val, 23);
  EXPECT_EQ(dst.Get_Sum(0, 0, 2, 2), 36);
  // Cut to the target's right edge.
  CDS_Grid cut;
  ASSERT_TRUE(cut.Create(3, 3));
  cut.Grid_Operation(DS_OP_SET, src, 0, 0, 2, 2, 2, 1);
  EXPECT_EQ(cut.Get_Cell(2, 1).val, 1);
  EXPECT_EQ(cut.Get_Cell(2, 2).val, 2);
  EXPECT_EQ(cut.Get_Sum(0, 0, 2, 2), 3);
  cut.Grid_Operation(DS_OP_SET, src, 0, 0, 2, 2, 3, 0);  // entirely outside
  EXPECT_EQ(cut.Get_Sum(0, 0, 2, 2), 3);
}

TEST_F(DsContainers, GridResizeKeepsCells) {
  CDS_Grid g;
  ASSERT_TRUE(g.Create(2, 2));
  g.Cell_Operation(DS_OP_SET, 1, 1, S(u"k"));
  g.Cell_Operation(DS_OP_SET, 0, 1, R(5));
  ASSERT_TRUE(g.Resize(3, 3));
  EXPECT_EQ(g.Get_Cell(1, 1).str, u"k");
  EXPECT_EQ(g.Get_Cell(0, 1).val, 5);
  EXPECT_EQ(g.Get_Cell(2, 2).val, 0);
  ASSERT_TRUE(g.Resize(1, 2));
  EXPECT_EQ(g.Get_Cell(0, 1).val, 5);
  EXPECT_EQ(g.Get_Cell(1, 1).val, 0);
  Hex text;
  text.I(601).I(1).I(2).Real(0).Real(5);
  EXPECT_EQ(Text(g.WriteToString()), text.text);
  EXPECT_FALSE(g.Resize(100000, 100000));
  EXPECT_EQ(g.Width(), 1);
  ASSERT_TRUE(g.Resize(-3, 4));
  EXPECT_EQ(g.Width(), 0);
}

TEST_F(DsContainers, TextFormsOfEveryKind) {
  CDS_List empty;
  EXPECT_EQ(Text(empty.WriteToString()), "2D01000000000000");
  // Characters above U+00FF lose their high byte; a string's real is kept.
  CDS_List l;
  RValue tagged = RValue::String(u"\u0141z");
  tagged.val = 2.5;
  l.Add(tagged);
  l.Add(R(-1));
  Hex lt;
  double half = 2.5;
  lt.I(301).I(2).I(1).Bytes(&half, 8).I(2).Bytes("\x41z", 2).Real(-1);
  EXPECT_EQ(Text(l.WriteToString()), lt.text);
  CDS_List back;
  ASSERT_TRUE(back.ReadFromString(l.WriteToString()));
  EXPECT_EQ(back.GetValue(0).str, u"Az");
  EXPECT_EQ(back.GetValue(0).val, 2.5);
  // A real keeps no leftover text in the form.
  RValue stale = R(4);
  stale.str = u"left over";
  CDS_Stack s;
  s.Push(stale);
  Hex st;
  st.I(101).I(1).Real(4);
  EXPECT_EQ(Text(s.WriteToString()), st.text);
  // Lowercase digits and an odd last character read.
  CDS_Stack lower;
  VString lowered = VString(u"650000000100000000000000000000000000f03f00000000") + u"7";
  ASSERT_TRUE(lower.ReadFromString(lowered));
  EXPECT_EQ(lower.Top().val, 1);
  // Every kind round-trips.
  CDS_Map m;
  m.Add(S(u"k"), R(1));
  m.Add(R(-2), S(u"v"));
  CDS_Map m2;
  ASSERT_TRUE(m2.ReadFromString(m.WriteToString()));
  EXPECT_EQ(Text(m2.WriteToString()), Text(m.WriteToString()));
  CDS_Grid g;
  ASSERT_TRUE(g.Create(2, 3));
  g.Cell_Operation(DS_OP_SET, 1, 2, S(u"c"));
  CDS_Grid g2;
  ASSERT_TRUE(g2.ReadFromString(g.WriteToString()));
  EXPECT_EQ(g2.Width(), 2);
  EXPECT_EQ(g2.Get_Cell(1, 2).str, u"c");
}

TEST_F(DsContainers, ReadOfAnotherKindChangesNothing) {
  CDS_Stack s;
  s.Push(R(3));
  CDS_Map m;
  m.Add(R(1), R(2));
  EXPECT_FALSE(m.ReadFromString(s.WriteToString()));
  EXPECT_EQ(m.Size(), 1);
  EXPECT_FALSE(m.ReadFromString(u""));
  EXPECT_FALSE(m.ReadFromString(u"91"));
  EXPECT_EQ(m.Size(), 1);
}

TEST_F(DsContainers, HostileTextsFailCleanly) {
  Hex two_billion;
  two_billion.I(101).I(2000000000).Real(1);
  Hex negative;
  negative.I(301).I(-1);
  Hex truncated;
  truncated.I(101).I(2).Real(1);
  Hex huge_grid;
  huge_grid.I(601).I(100000).I(100000).Real(1);
  Hex negative_grid;
  negative_grid.I(601).I(-4).I(-4);
  Hex overflow_grid;
  overflow_grid.I(601).I(65536).I(65536);
  Hex bad_kind;
  bad_kind.I(101).I(1).I(7).I(0).I(0).I(0);
  Hex long_string;
  long_string.I(101).I(1).I(1).I(0).I(0).I(2000000000);
  Hex queue_outside;
  queue_outside.I(201).I(5).I(0).I(1).Real(1);
  Hex queue_reversed;
  queue_reversed.I(201).I(0).I(1).I(1).Real(1);
  Hex map_short;
  map_short.I(401).I(1).Real(1);
  const VString texts[] = {two_billion.V(), negative.V(), truncated.V(), huge_grid.V(),
                           negative_grid.V(), overflow_grid.V(), bad_kind.V(), long_string.V(),
                           queue_outside.V(), queue_reversed.V(), map_short.V(),
                           u"65000000ZZ", u"6500000001000000\u0130000"};
  for (const VString& text : texts) {
    CDS_Stack s;
    s.Push(R(42));
    CDS_Queue q;
    q.Enqueue(R(42));
    CDS_List l;
    l.Add(R(42));
    CDS_Map m;
    m.Add(R(42), R(42));
    CDS_Priority p;
    p.Add(R(42), R(42));
    CDS_Grid g;
    ASSERT_TRUE(g.Create(1, 1));
    auto attempt = [&](auto& ds) {
      try {
        ds.ReadFromString(text);
      } catch (const DSTextError&) {
      }
    };
    attempt(s);
    attempt(q);
    attempt(l);
    attempt(m);
    attempt(p);
    attempt(g);
    EXPECT_EQ(s.Top().val, 42) << Text(text);
    EXPECT_EQ(q.Head().val, 42) << Text(text);
    EXPECT_EQ(l.GetValue(0).val, 42) << Text(text);
    EXPECT_EQ(m.Find(R(42)).val, 42) << Text(text);
    EXPECT_EQ(p.FindMin().val, 42) << Text(text);
    EXPECT_EQ(g.Width(), 1) << Text(text);
  }
  CDS_Stack s;
  EXPECT_THROW(s.ReadFromString(two_billion.V()), DSTextError);
  EXPECT_THROW(s.ReadFromString(u"6500000001000000\u0130000"), DSTextError);
  // A grid without rows holds no cells, whatever its width.
  Hex wide;
  wide.I(601).I(100000).I(0);
  CDS_Grid g;
  ASSERT_TRUE(g.ReadFromString(wide.V()));
  EXPECT_EQ(g.Width(), 100000);
  EXPECT_EQ(g.Get_Sum(0, 0, 99999, 0), 0);
}

}  // namespace

namespace {

// Value lookups of priority queues against a scan of the storage for the
// first pair whose value compares equal, with many equal and near values.
TEST_F(DsContainers, PriorityValueLookupsMatchAStorageScan) {
  CDS_Priority p;
  std::vector<std::pair<double, double>> model;  // (value, priority)
  auto first_equal = [&](double v) {
    for (size_t i = 0; i < model.size(); ++i) {
      if (DS_Equal(R(model[i].first), R(v))) return static_cast<int>(i);
    }
    return -1;
  };
  RandomSetSeed(99);
  for (int step = 0; step < 4000; ++step) {
    // Values 0..9, some nudged within the precision.
    double v = RandomInt(10) + (RandomInt(3) == 0 ? 4e-9 : 0.0);
    uint32_t what = RandomInt(5);
    int pos = first_equal(v);
    if (what < 2) {
      double prio = step;
      p.Add(R(v), R(prio));
      model.push_back({v, prio});
    } else if (what == 2) {
      ASSERT_EQ(p.Find(R(v)).val, pos < 0 ? 0 : model[static_cast<size_t>(pos)].second) << step;
    } else if (what == 3) {
      p.Change(R(v), R(-step));
      if (pos >= 0) model[static_cast<size_t>(pos)].second = -step;
    } else {
      p.Delete(R(v));
      if (pos >= 0) {
        model[static_cast<size_t>(pos)] = model.back();
        model.pop_back();
      }
    }
  }
  ASSERT_EQ(p.Size(), static_cast<int>(model.size()));
  // The storage order too, through the text form.
  Hex text;
  text.I(501).I(static_cast<int32_t>(model.size()));
  for (const auto& pair : model) text.Real(pair.second);
  for (const auto& pair : model) text.Real(pair.first);
  EXPECT_EQ(Text(p.WriteToString()), text.text);
}

}  // namespace

namespace {

// Maps against a sorted array run by the rules: LowerBound, UpperLast and
// insertion after equal keys, with string and real keys and duplicates.
TEST_F(DsContainers, MapMatchesASortedArray) {
  CDS_Map m;
  std::vector<std::pair<RValue, RValue>> model;
  auto lower = [&](const RValue& k) {
    for (size_t i = 0; i < model.size(); ++i)
      if (DS_Compare(model[i].first, k) >= 0) return static_cast<int>(i);
    return -1;
  };
  auto upper_last = [&](const RValue& k) {
    int p = -1;
    for (size_t i = 0; i < model.size(); ++i)
      if (DS_Compare(model[i].first, k) <= 0) p = static_cast<int>(i);
    return p;
  };
  const RValue keys[] = {R(1), R(2), R(-3), S(u"a"), S(u"b"), S(u"ab"), S(u""), R(2.5)};
  RandomSetSeed(4242);
  for (int step = 0; step < 3000; ++step) {
    const RValue& k = keys[RandomInt(8)];
    RValue v = R(step);
    int p = lower(k);
    bool hit = p >= 0 && DS_Equal(model[static_cast<size_t>(p)].first, k);
    switch (RandomInt(6)) {
      case 0:
      case 1:
        m.Add(k, v);
        model.insert(model.begin() + (upper_last(k) + 1), {k, v});
        break;
      case 2:
        m.Delete(k);
        if (hit) model.erase(model.begin() + p);
        break;
      case 3:
        m.Replace(k, v);
        if (hit) model[static_cast<size_t>(p)].second = v;
        break;
      case 4: {
        RValue expected = hit ? model[static_cast<size_t>(p)].second : R(0);
        ASSERT_EQ(m.Exists(k), hit) << step;
        ASSERT_EQ(m.Find(k).val, expected.val) << step;
        break;
      }
      default: {
        int next = upper_last(k) + 1;
        RValue n = next < static_cast<int>(model.size()) ? model[static_cast<size_t>(next)].first : R(0);
        int prev = p < 0 ? static_cast<int>(model.size()) - 1 : p - 1;
        RValue b = prev >= 0 ? model[static_cast<size_t>(prev)].first : R(0);
        RValue gn = m.FindNext(k), gb = m.FindPrevious(k);
        ASSERT_TRUE(gn.kind == n.kind && gn.val == n.val && gn.str == n.str) << step;
        ASSERT_TRUE(gb.kind == b.kind && gb.val == b.val && gb.str == b.str) << step;
      }
    }
  }
  CDS_Map copy;
  copy.Assign(&m);
  copy.Delete(S(u"a"));  // the copy's index is its own
  Hex text;
  text.I(401).I(static_cast<int32_t>(model.size()));
  auto put = [&](const RValue& v) { v.IsString() ? text.Str(ToLatin1(v.str)) : text.Real(v.val); };
  for (const auto& e : model) put(e.first);
  for (const auto& e : model) put(e.second);
  EXPECT_EQ(Text(m.WriteToString()), text.text);
  CDS_Map read;
  ASSERT_TRUE(read.ReadFromString(m.WriteToString()));
  read.Delete(S(u"b"));
  EXPECT_EQ(read.Exists(S(u"b")), std::count_if(model.begin(), model.end(), [](const auto& e) {
                                      return e.first.IsString() && e.first.str == u"b";
                                    }) > 1);
}

}  // namespace
