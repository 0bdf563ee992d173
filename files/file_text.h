// file_text.h: the text files of game code. A text file is open for reading
// (a buffered reader that knows line breaks: CR LF, LF or a lone CR) or for
// writing (through the crash-safe writer: the name keeps its old content
// until the file is closed, so a crash never leaves it half-written). Lines
// are written with CR LF; text is written as UTF-8 and read as UTF-8 with
// one character per byte where a sequence is not valid. Also the number
// format and the two number parsers of text files.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "common/support_file.h"
#include "common/value.h"

// " " or " -", the integer part, then "." and six truncated digits unless
// they are all zero (12.5 -> " 12.500000", 3 -> " 3").
std::string File_RealText(double x);

enum class TextFileState { Closed = 0, Reading = 1, Writing = 2 };

class TTextFile {
 public:
  TTextFile() = default;
  ~TTextFile() { Close(); }
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  TextFileState State() const { return state_; }

  // Opening a regular file (never a folder or a device). OpenWrite starts
  // empty; OpenAppend starts with the old content.
  bool OpenRead(const std::string& path);
  bool OpenWrite(const std::string& path);
  bool OpenAppend(const std::string& path);
  // Reading: false closes nothing; writing: the new content takes the name.
  // False when the content could not be committed (the old one stays).
  bool Close();

  // Reading. Peek gives -1 at the end of the file.
  int Peek();
  int Get();
  bool AtEof() { return Peek() < 0; }
  bool AtEoln() {
    int c = Peek();
    return c < 0 || c == '\r' || c == '\n';
  }
  // The rest of the line, without its break (the break stays unread).
  VString ReadString();
  // Skips the rest of the line and its break.
  void ReadLine();
  // The number parsers: the text form (blanks and a minus only before a
  // digit or right after the separator) and the legacy form (blanks skipped
  // and a minus accepted anywhere). The character that ends the number is
  // consumed, a line break or the end of the file is not.
  double ReadRealText();
  double ReadRealLegacy();
  bool ReadFailed() const { return file_ && std::ferror(file_); }

  // Writing. The name shows nothing new before Close, so writes gather in
  // a buffer that goes to the temporary file in large pieces.
  bool Write(const std::string& bytes);

 private:
  TextFileState state_ = TextFileState::Closed;
  FILE* file_ = nullptr;
  TAtomicFile writer_;
  std::string pending_;
  bool FlushPending();
};
