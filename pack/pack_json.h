// pack_json.h: JSON and text files of a project. Reads a JSON file with parse
// errors placed by line and column, gives typed access to the fields of an
// object with errors that name the file and the field (unknown fields are
// errors too, so a misspelt key never passes silently), and writes JSON and
// text files. Text in project files is UTF-8; the game data holds one
// Latin-1 byte per character, so texts convert at this boundary.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

// Parses the JSON file at path; raises PackError with line and column on a
// syntax error, and "cannot read file" when it cannot be read.
Json ReadJsonFile(const std::filesystem::path& path);
// Parses text that came from path (for tests and embedded documents).
Json ParseJsonText(const std::string& text, const std::string& path);
// Line and column (1-based) of the byte at 1-based offset `position` of text.
void LineColumnOf(const std::string& text, size_t position, int& line, int& column);

// Whole files.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
// The text WriteJsonFile writes.
std::string JsonText(const Json& json);
void WriteJsonFile(const std::filesystem::path& path, const Json& json);

// UTF-8 project text to the game data's Latin-1 bytes; a character above
// U+00FF or invalid UTF-8 raises PackError naming path.
std::string Utf8ToLatin1(const std::string& text, const std::string& path);
std::string Latin1ToUtf8(const std::string& bytes);

// Typed, checked access to the fields of one JSON object.
class JsonObject {
 public:
  // `where` names the file (and the place inside it) in error messages.
  JsonObject(const Json& json, std::string where);
  // Keeps a parsed document alive for as long as the object.
  JsonObject(Json&& json, std::string where);

  bool Has(const std::string& key) const;
  int32_t Int(const std::string& key, int32_t fallback);
  int32_t Int(const std::string& key);  // required
  double Real(const std::string& key, double fallback);
  bool Bool(const std::string& key, bool fallback);
  // A UTF-8 string converted to Latin-1 bytes.
  std::string Str(const std::string& key, const std::string& fallback);
  std::string Str(const std::string& key);  // required
  // The raw value (marks the key as used); null Json when absent.
  const Json& Get(const std::string& key);
  // An array (empty when absent); raises when the value is not an array.
  const Json& Array(const std::string& key);
  JsonObject Object(const std::string& key);
  std::vector<int32_t> IntList(const std::string& key);

  // Raises for the first key that no accessor asked for.
  void Finish() const;
  [[noreturn]] void Fail(const std::string& key, const std::string& message) const;
  const std::string& Where() const { return where_; }

 private:
  const Json& Field(const std::string& key);
  std::shared_ptr<const Json> owned_;
  const Json& json_;
  std::string where_;
  std::set<std::string> used_;
};

// Checked conversions of single JSON values.
int32_t JsonToInt(const Json& value, const std::string& where);
double JsonToReal(const Json& value, const std::string& where);
std::string JsonToStr(const Json& value, const std::string& where);
