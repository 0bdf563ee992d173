// support_ds_text.h: the shared pieces of the containers' text form. A
// writer collects the little-endian record in a CStream and returns its
// hexadecimal text; a reader decodes the text and reads the record back,
// refusing every count that the remaining bytes cannot hold before anything
// is allocated for it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/support_stream.h"
#include "common/value.h"

// The fewest bytes one value takes in the text form: kind, real and the
// length of its text.
constexpr size_t kDSValueBytes = 4 + 8 + 4;

class DSTextWriter {
 public:
  explicit DSTextWriter(int32_t magic) { stream_.WriteInteger(magic); }
  void Integer(int32_t v) { stream_.WriteInteger(v); }
  void Value(const RValue& v);
  VString Text() const;

 private:
  CStream stream_;
};

class DSTextReader {
 public:
  // Decodes the hexadecimal text (an odd last character is ignored); raises
  // DSTextError for a character that is not a hexadecimal digit.
  explicit DSTextReader(const VString& text);
  // Whether the record opens with this magic number (false for a text too
  // short to hold one).
  bool Magic(int32_t magic);
  int32_t Integer();
  // A count of items of at least item_bytes each that must fit in the rest
  // of the record.
  size_t Count(size_t item_bytes);
  RValue Value();
  size_t Remaining() const { return stream_.Size() - stream_.Position(); }

 private:
  CStream stream_;
};
