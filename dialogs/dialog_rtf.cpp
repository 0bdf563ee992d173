// dialog_rtf.cpp: a small rich-text reader that keeps only the visible text.
#include "dialogs/dialog_rtf.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "common/value.h"

namespace {

// Groups whose content is never shown.
bool IsHiddenDestination(std::string_view word) {
  static constexpr std::string_view kHidden[] = {
      "fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer", "headerl",
      "headerr", "footerl", "footerr", "object", "listtable", "listoverridetable", "rsidtbl",
      "generator", "xmlnstbl", "themedata", "datastore", "latentstyles"};
  for (std::string_view hidden : kHidden)
    if (word == hidden) return true;
  return false;
}

struct GroupState {
  bool hidden = false;
  int skip_after_unicode = 1;  // \ucN: characters that stand in for a \u character
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : in_(rtf) {}

  std::string Read() {
    groups_.push_back(GroupState());
    while (at_ < in_.size()) Step();
    return ToUtf8(out_);
  }

 private:
  void Step() {
    const char c = in_[at_];
    if (c == '{') {
      groups_.push_back(groups_.back());
      group_start_ = true;
      ++at_;
    } else if (c == '}') {
      if (groups_.size() > 1) groups_.pop_back();
      group_start_ = false;
      ++at_;
    } else if (c == '\\') {
      ++at_;
      Control();
    } else {
      if (c != '\r' && c != '\n') Emit(static_cast<unsigned char>(c));
      group_start_ = false;
      ++at_;
    }
  }

  void Control() {
    if (at_ >= in_.size()) return;
    const char c = in_[at_];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      Symbol(c);
      return;
    }
    const size_t start = at_;
    while (at_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[at_]))) ++at_;
    const std::string_view word = in_.substr(start, at_ - start);
    bool has_number = false;
    long number = 0;
    if (at_ < in_.size() && (in_[at_] == '-' || std::isdigit(static_cast<unsigned char>(in_[at_])))) {
      const size_t number_start = at_++;
      while (at_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[at_]))) ++at_;
      number = std::strtol(std::string(in_.substr(number_start, at_ - number_start)).c_str(), nullptr, 10);
      has_number = true;
    }
    if (at_ < in_.size() && in_[at_] == ' ') ++at_;
    Word(word, has_number, number);
  }

  void Symbol(char c) {
    ++at_;
    group_start_ = false;
    if (c == '*') {
      groups_.back().hidden = true;
    } else if (c == '\'') {
      if (at_ + 2 <= in_.size()) {
        const std::string hex(in_.substr(at_, 2));
        at_ += 2;
        Emit(static_cast<unsigned char>(std::strtol(hex.c_str(), nullptr, 16)));
      }
    } else if (c == '~') {
      Emit(' ');
    } else if (c == '\\' || c == '{' || c == '}') {
      Emit(static_cast<unsigned char>(c));
    } else if (c == '\n' || c == '\r') {
      Emit('\n');
    }
  }

  void Word(std::string_view word, bool has_number, long number) {
    GroupState& group = groups_.back();
    if (group_start_ && IsHiddenDestination(word)) group.hidden = true;
    group_start_ = false;
    if (word == "par" || word == "line" || word == "sect" || word == "page") Emit('\n');
    else if (word == "tab") Emit('\t');
    else if (word == "uc" && has_number) group.skip_after_unicode = static_cast<int>(number);
    else if (word == "u" && has_number) Unicode(number);
    else if (word == "emdash") Emit(0x2014);
    else if (word == "endash") Emit(0x2013);
    else if (word == "bullet") Emit(0x2022);
    else if (word == "lquote") Emit(0x2018);
    else if (word == "rquote") Emit(0x2019);
    else if (word == "ldblquote") Emit(0x201C);
    else if (word == "rdblquote") Emit(0x201D);
  }

  // \uN gives the character (negative N counts from 65536), then skips the
  // stand-in characters that follow for readers without Unicode.
  void Unicode(long number) {
    Emit(static_cast<char16_t>(number < 0 ? number + 65536 : number));
    for (int skipped = 0; skipped < groups_.back().skip_after_unicode && at_ < in_.size(); ++skipped) {
      if (in_[at_] == '\\' && at_ + 1 < in_.size() && in_[at_ + 1] == '\'') at_ += 4;
      else if (in_[at_] == '{' || in_[at_] == '}' || in_[at_] == '\\') break;
      else ++at_;
    }
  }

  void Emit(char16_t c) {
    if (!groups_.back().hidden) out_ += c;
  }

  std::string_view in_;
  size_t at_ = 0;
  std::vector<GroupState> groups_;
  bool group_start_ = false;
  VString out_;
};

}  // namespace

std::string Rtf_PlainText(std::string_view rtf) {
  if (rtf.substr(0, 5) != "{\\rtf") return std::string(rtf);
  std::string text = RtfReader(rtf).Read();
  // The last paragraph mark ends the document rather than starting an empty
  // paragraph.
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}
