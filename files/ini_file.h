// ini_file.h: an ini file held as its lines, so that a change rewrites only
// the line it touches and keeps every other section, key, comment, blank
// line and the order. Sections "[name]" and keys "key=value" are found
// without regard to ASCII case and to blanks around them; the first of
// equal sections or keys counts. Lines that are neither (comments starting
// with ";", anything else, binary garbage) are kept as they are. Also the
// number parser and the number text of ini values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TIniFile {
 public:
  // Serialize gives back exactly the bytes parsed, until a change.
  void Parse(std::string_view text);
  std::string Serialize() const;

  // The value (blanks around it and one pair of enclosing quotes removed).
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  bool SectionExists(std::string_view section) const;
  bool KeyExists(std::string_view section, std::string_view key) const {
    return Read(section, key).has_value();
  }
  // Replaces the key's line, or adds the key at the end of its section, or
  // adds the section at the end of the file. Line breaks inside the texts
  // become spaces, so a value can never add lines of its own.
  void Write(std::string_view section, std::string_view key, std::string_view value);
  // True when something was removed.
  bool DeleteKey(std::string_view section, std::string_view key);
  bool DeleteSection(std::string_view section);

 private:
  enum class Kind { Other, Section, Key };
  struct Line {
    std::string text;
    Kind kind = Kind::Other;
    std::string name;  // section or key name, trimmed
    std::string eol;   // the line's own break: "\r\n", "\n", or none for the last
  };
  static Line Classify(std::string text);
  // Index of the first section header with that name, or npos.
  size_t FindSection(std::string_view section) const;
  // One past the last line of the section starting at header.
  size_t SectionEnd(size_t header) const;
  size_t FindKey(size_t header, std::string_view key) const;

  // Gives the last line a break before a line is added after it.
  void EndLastLine();

  std::vector<Line> lines_;
  std::string eol_ = "\r\n";  // the break of added lines: the file's first one
};

// The ini number parser: "." or "," starts the fraction, "E"/"e" the
// exponent, each "-" flips the sign of the mantissa (or of the exponent once
// it started), and any other character ends the text. An empty or
// non-numeric text gives 0, and so does one too large for a real.
double Ini_ParseReal(std::string_view text);

// The text of a real as ini values keep it: up to 15 significant digits,
// the exponent form written without "+" ("1E20", "1.5E-7"), so that the
// parser above reads it back.
std::string Ini_RealText(double x);
