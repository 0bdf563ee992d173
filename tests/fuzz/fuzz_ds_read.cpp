// fuzz_ds_read: feeds arbitrary texts to the text-form reader of every
// container kind. The first byte chooses how the rest becomes a text: as
// characters (hexadecimal or not) or as the bytes a hexadecimal text
// encodes, with an optional valid magic number of a chosen kind in front,
// so the reader's record decoding is reached, not only its digit check.
// A read must succeed or raise DSTextError and leave the container intact;
// a container that was read must work and write a text that reads back to
// the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "datastructures/support_data_structures.h"

namespace {

VString HexOf(const uint8_t* data, size_t size) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  VString out;
  out.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 15];
  }
  return out;
}

[[noreturn]] void Fail() { std::abort(); }

// Exercises a container after a successful read.
void Use(CDS_Stack& s) {
  while (!s.Empty()) s.Pop();
}
void Use(CDS_Queue& q) {
  q.Head();
  q.Tail();
  for (int i = 0; i < 64 && !q.Empty(); ++i) q.Dequeue();
  q.Enqueue(RValue::Real(1));
  q.Dequeue();
}
void Use(CDS_List& l) {
  l.Find(RValue::Real(0));
  l.Sort(true);
  l.Sort(false);
  l.Insert(l.Size(), RValue::Real(2));
  l.Delete(0);
}
void Use(CDS_Map& m) {
  m.FindFirst();
  m.FindLast();
  m.FindNext(RValue::Real(0));
  m.FindPrevious(RValue::String(u"m"));
  m.Delete(RValue::Real(0));
  m.Add(RValue::Real(0), RValue::Real(0));
}
void Use(CDS_Priority& p) {
  p.FindMax();
  for (int i = 0; i < 64 && !p.Empty(); ++i) (i % 2 ? p.DeleteMax() : p.DeleteMin());
  p.Change(RValue::Real(0), RValue::Real(3));
  p.Delete(RValue::Real(0));
}
void Use(CDS_Grid& g) {
  g.Get_Sum(0, 0, 8, 8);
  g.Get_Disk_Max(2, 2, 3);
  g.Value_Find(0, 0, 8, 8, RValue::Real(0));
  g.Region_Operation(DS_OP_ADD, 0, 0, 3, 3, RValue::Real(1));
  g.Grid_Operation(DS_OP_SET, g, 0, 0, 3, 3, 1, 1);
}

template <typename T>
void Try(const VString& text) {
  T ds;
  ds.ReadFromString(u"");  // no magic: stays as it is
  VString before = ds.WriteToString();
  bool read = false;
  try {
    read = ds.ReadFromString(text);
  } catch (const DSTextError&) {
    if (ds.WriteToString() != before) Fail();
    return;
  }
  if (!read) {
    if (ds.WriteToString() != before) Fail();
    return;
  }
  VString first = ds.WriteToString();
  T again;
  if (!again.ReadFromString(first)) Fail();
  VString second = again.WriteToString();
  // A map puts the keys of a text in order; once in order they stay.
  T third;
  if (!third.ReadFromString(second) || third.WriteToString() != second) Fail();
  Use(ds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  uint8_t mode = data[0];
  ++data;
  --size;
  VString text;
  if (mode < 64) {
    text.assign(data, data + size);
  } else {
    static const int32_t kMagic[] = {101, 201, 301, 401, 501, 601};
    if (mode >= 128) {
      int32_t magic = kMagic[mode % 6];
      text = HexOf(reinterpret_cast<const uint8_t*>(&magic), 4);
    }
    text += HexOf(data, size);
    if (mode & 1) text += u"A";  // an odd last character
  }
  DS_SetPrecision((mode & 2) ? 0.0 : 0.00000001);
  Try<CDS_Stack>(text);
  Try<CDS_Queue>(text);
  Try<CDS_List>(text);
  Try<CDS_Map>(text);
  Try<CDS_Priority>(text);
  Try<CDS_Grid>(text);
  return 0;
}
