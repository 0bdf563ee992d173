// ini_file.cpp: ini files as lines, the ini number parser and number text.
#include "files/ini_file.h"

#include <cmath>
#include <cstdio>

namespace {

// A stray carriage return counts as a blank around names and values.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string OneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

TIniFile::Line TIniFile::Classify(std::string text) {
  Line line;
  std::string_view t = Trim(text);
  if (!t.empty() && t.front() == '[') {
    size_t close = t.find(']');
    line.kind = Kind::Section;
    line.name = std::string(Trim(t.substr(1, close == std::string_view::npos ? t.npos : close - 1)));
  } else if (!t.empty() && t.front() != ';') {
    size_t eq = t.find('=');
    if (eq != std::string_view::npos) {
      line.kind = Kind::Key;
      line.name = std::string(Trim(t.substr(0, eq)));
    }
  }
  line.text = std::move(text);
  return line;
}

void TIniFile::Parse(std::string_view text) {
  lines_.clear();
  size_t first_lf = text.find('\n');
  eol_ = (first_lf != std::string_view::npos && (first_lf == 0 || text[first_lf - 1] != '\r'))
             ? "\n"
             : "\r\n";
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
    std::string eol;
    if (end != std::string_view::npos) {
      eol = "\n";
      if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
        eol = "\r\n";
      }
    }
    lines_.push_back(Classify(std::string(line)));
    lines_.back().eol = std::move(eol);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

std::string TIniFile::Serialize() const {
  std::string out;
  size_t total = 0;
  for (const Line& line : lines_) total += line.text.size() + line.eol.size();
  out.reserve(total);
  for (const Line& line : lines_) {
    out += line.text;
    out += line.eol;
  }
  return out;
}

void TIniFile::EndLastLine() {
  if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol_;
}

size_t TIniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && SameName(lines_[i].name, section)) return i;
  return std::string::npos;
}

size_t TIniFile::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
  return i;
}

size_t TIniFile::FindKey(size_t header, std::string_view key) const {
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Key && SameName(lines_[i].name, key)) return i;
  return std::string::npos;
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
  size_t header = FindSection(section);
  if (header == std::string::npos) return std::nullopt;
  size_t at = FindKey(header, key);
  if (at == std::string::npos) return std::nullopt;
  std::string_view text = lines_[at].text;
  std::string_view value = Trim(text.substr(text.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool TIniFile::SectionExists(std::string_view section) const {
  return FindSection(section) != std::string::npos;
}

void TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  std::string line_text = OneLine(Trim(key)) + "=" + OneLine(value);
  size_t header = FindSection(section);
  if (header == std::string::npos) {
    EndLastLine();
    lines_.push_back(Classify("[" + OneLine(Trim(section)) + "]"));
    lines_.back().eol = eol_;
    lines_.push_back(Classify(line_text));
    lines_.back().eol = eol_;
    return;
  }
  size_t at = FindKey(header, key);
  if (at != std::string::npos) {
    // The key keeps its spelling and the line its leading blanks.
    Line& old = lines_[at];
    std::string eol = old.eol;
    old = Classify(old.text.substr(0, old.text.find('=')) + "=" + OneLine(value));
    old.eol = std::move(eol);
    return;
  }
  // After the last line of the section that is not blank.
  size_t insert = SectionEnd(header);
  while (insert > header + 1 && Trim(lines_[insert - 1].text).empty()) --insert;
  if (insert == lines_.size()) EndLastLine();
  Line added = Classify(line_text);
  added.eol = eol_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(added));
}

bool TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  size_t header = FindSection(section);
  if (header == std::string::npos) return false;
  size_t at = FindKey(header, key);
  if (at == std::string::npos) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

bool TIniFile::DeleteSection(std::string_view section) {
  size_t header = FindSection(section);
  if (header == std::string::npos) return false;
  size_t end = SectionEnd(header);
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
               lines_.begin() + static_cast<std::ptrdiff_t>(end));
  return true;
}

double Ini_ParseReal(std::string_view text) {
  double mantissa = 0;
  double scale = 1;
  double exponent = 0;
  bool mantissa_negative = false;
  bool exponent_negative = false;
  bool in_fraction = false;
  bool in_exponent = false;
  for (char c : text) {
    if (c == '.' || c == ',') {
      if (in_fraction || in_exponent) break;
      in_fraction = true;
    } else if (c == 'E' || c == 'e') {
      if (in_exponent) break;
      in_exponent = true;
    } else if (c == '-') {
      if (in_exponent) {
        exponent_negative = !exponent_negative;
      } else {
        mantissa_negative = !mantissa_negative;
      }
    } else if (c >= '0' && c <= '9') {
      int d = c - '0';
      if (in_exponent) {
        if (exponent < 100000) exponent = exponent * 10 + d;  // beyond: over- or underflow anyway
      } else if (in_fraction) {
        scale /= 10;
        mantissa += scale * d;
      } else {
        mantissa = mantissa * 10 + d;
      }
    } else {
      break;
    }
  }
  if (mantissa == 0) return 0.0;
  double result = std::pow(10.0, exponent_negative ? -exponent : exponent) *
                  (mantissa_negative ? -mantissa : mantissa);
  return std::isfinite(result) ? result : 0.0;
}

std::string Ini_RealText(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", x);
  std::string text;
  // "1E+20" -> "1E20", "1E-07" -> "1E-7": the ini parser stops at "+".
  const char* p = buffer;
  for (; *p && *p != 'E'; ++p) text += *p;
  if (*p == 'E') {
    text += 'E';
    ++p;
    if (*p == '+') ++p;
    if (*p == '-') text += *p++;
    while (*p == '0' && p[1] != '\0') ++p;
    text += p;
  }
  return text;
}
