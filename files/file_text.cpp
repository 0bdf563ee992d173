// file_text.cpp: text files of game code, their number format and their
// number parsers.
#include "files/file_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "files/file_open.h"

std::string File_RealText(double x) {
  std::string text = " ";
  if (x < 0) {
    text += "-";
    x = -x;
  }
  double whole = std::floor(x);
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.0f", whole);
  text += digits;
  double fraction = std::floor((x - whole) * 1000000.0);
  if (fraction != 0) {
    std::snprintf(digits, sizeof digits, ".%06d", static_cast<int>(fraction));
    text += digits;
  }
  return text;
}

bool TTextFile::OpenRead(const std::string& path) {
  Close();
  int fd = File_OpenRegular(path, O_RDONLY);
  if (fd < 0) return false;
  file_ = ::fdopen(fd, "rb");
  if (!file_) {
    ::close(fd);
    return false;
  }
  state_ = TextFileState::Reading;
  return true;
}

bool TTextFile::OpenWrite(const std::string& path) {
  Close();
  if (File_IsFolderOrDevice(path) || !writer_.Begin(path)) return false;
  state_ = TextFileState::Writing;
  return true;
}

bool TTextFile::OpenAppend(const std::string& path) {
  Close();
  if (File_IsFolderOrDevice(path)) return false;
  std::vector<uint8_t> old;
  // A file that cannot be read is refused rather than replaced by its
  // appended part alone.
  if (::access(path.c_str(), F_OK) == 0 && !File_ReadAll(path, old)) return false;
  if (!writer_.Begin(path)) return false;
  if (!old.empty() && !writer_.Write(old.data(), old.size())) {
    writer_.Abandon();
    return false;
  }
  state_ = TextFileState::Writing;
  return true;
}

bool TTextFile::Close() {
  bool ok = true;
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (writer_.IsOpen()) {
    ok = FlushPending();
    ok = writer_.Commit() && ok;
  }
  pending_.clear();
  state_ = TextFileState::Closed;
  return ok;
}

int TTextFile::Peek() {
  if (!file_) return -1;
  int c = std::getc(file_);
  if (c != EOF) std::ungetc(c, file_);
  return c == EOF ? -1 : c;
}

int TTextFile::Get() {
  if (!file_) return -1;
  int c = std::getc(file_);
  return c == EOF ? -1 : c;
}

VString TTextFile::ReadString() {
  std::string bytes;
  while (!AtEoln()) bytes += static_cast<char>(Get());
  return FromUtf8(bytes);
}

void TTextFile::ReadLine() {
  while (!AtEoln()) Get();
  int c = Get();
  if (c == '\r' && Peek() == '\n') Get();
}

namespace {

bool IsBlank(int c) { return c == ' ' || c == '\t'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsBreak(int c) { return c < 0 || c == '\r' || c == '\n'; }

// The value of the digits read so far, kept as integer part and fraction.
struct NumberBuilder {
  double integer = 0;
  double fraction = 0;
  double scale = 1;
  bool negative = false;
  bool in_fraction = false;

  void AddDigit(int c) {
    int d = c - '0';
    if (in_fraction) {
      scale /= 10;
      fraction += d * scale;
    } else {
      integer = integer * 10 + d;
    }
  }
  double Value() const {
    double v = integer + fraction;
    if (!std::isfinite(v)) v = 0;  // hundreds of digits: no infinity in values
    return negative ? -v : v;
  }
};

}  // namespace

double TTextFile::ReadRealText() {
  NumberBuilder n;
  bool before_digit = true;
  for (;;) {
    int c = Peek();
    if (IsBreak(c)) break;
    Get();
    if (before_digit && IsBlank(c)) continue;
    if (before_digit && c == '-') {
      n.negative = true;
      continue;
    }
    if (IsDigit(c)) {
      before_digit = false;
      n.AddDigit(c);
      continue;
    }
    if ((c == '.' || c == ',') && !n.in_fraction) {
      n.in_fraction = true;
      before_digit = true;
      continue;
    }
    break;  // any other character ends the number (and is consumed)
  }
  return n.Value();
}

double TTextFile::ReadRealLegacy() {
  NumberBuilder n;
  for (;;) {
    int c = Peek();
    if (IsBreak(c)) break;
    Get();
    if (IsBlank(c)) continue;
    if (c == '-') {
      n.negative = true;
      continue;
    }
    if (IsDigit(c)) {
      n.AddDigit(c);
      continue;
    }
    if ((c == '.' || c == ',') && !n.in_fraction) {
      n.in_fraction = true;
      continue;
    }
    break;
  }
  return n.Value();
}

bool TTextFile::Write(const std::string& bytes) {
  constexpr size_t kPiece = 64 * 1024;
  if (state_ != TextFileState::Writing) return false;
  pending_ += bytes;
  return pending_.size() < kPiece || FlushPending();
}

bool TTextFile::FlushPending() {
  bool ok = writer_.Write(pending_.data(), pending_.size());
  pending_.clear();
  return ok;
}
