// pack_json.cpp: reading and writing the JSON and text files of a project.
#include "pack/pack_json.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "pack/pack_error.h"

namespace fs = std::filesystem;

void LineColumnOf(const std::string& text, size_t position, int& line, int& column) {
  line = 1;
  column = 1;
  size_t end = std::min(position > 0 ? position - 1 : 0, text.size());
  for (size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      ++column;  // continuation bytes of UTF-8 share their character's column
    }
  }
}

Json ParseJsonText(const std::string& text, const std::string& path) {
  try {
    return Json::parse(text);
  } catch (const Json::parse_error& e) {
    int line, column;
    LineColumnOf(text, e.byte, line, column);
    // Keep the reason; the position is given in the line:column form.
    std::string reason = e.what();
    size_t cut = reason.find("column ");
    if (cut != std::string::npos) cut = reason.find(": ", cut);
    if (cut != std::string::npos) reason = reason.substr(cut + 2);
    throw PackError(path, "invalid JSON: " + reason, line, column);
  }
}

std::string ReadFileBytes(const fs::path& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) throw PackError(path.string(), "file not found");
  std::ifstream in(path, std::ios::binary);
  if (!in || fs::is_directory(path)) throw PackError(path.string(), "cannot read file");
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw PackError(path.string(), "cannot read file");
  return buffer.str();
}

Json ReadJsonFile(const fs::path& path) {
  return ParseJsonText(ReadFileBytes(path), path.string());
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw PackError(path.string(), "cannot write file");
}

namespace {

bool IsFlat(const Json& j) {
  if (j.is_object()) return j.empty();
  if (!j.is_array()) return true;
  for (const Json& v : j)
    if (v.is_structured() && !v.empty()) return false;
  return true;
}

// Two-space indentation, with arrays of plain values (points, boxes,
// argument lists) kept on one line.
void Dump(const Json& j, int indent, std::string& out) {
  if (IsFlat(j)) {
    if (!j.is_array()) {
      out += j.dump();
      return;
    }
    out += "[";
    for (size_t i = 0; i < j.size(); ++i) out += (i ? ", " : "") + j[i].dump();
    out += "]";
    return;
  }
  std::string pad(static_cast<size_t>(indent + 2), ' ');
  bool object = j.is_object();
  out += object ? "{\n" : "[\n";
  size_t i = 0;
  for (auto it = j.begin(); it != j.end(); ++it, ++i) {
    out += pad;
    if (object) out += Json(it.key()).dump() + ": ";
    Dump(*it, indent + 2, out);
    out += i + 1 < j.size() ? ",\n" : "\n";
  }
  out += std::string(static_cast<size_t>(indent), ' ') + (object ? "}" : "]");
}

}  // namespace

std::string JsonText(const Json& json) {
  std::string out;
  Dump(json, 0, out);
  return out + "\n";
}

void WriteJsonFile(const fs::path& path, const Json& json) {
  WriteFileBytes(path, JsonText(json));
}

std::string Utf8ToLatin1(const std::string& text, const std::string& path) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size() &&
               (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
      if (code > 0xFF || code < 0x80)
        throw PackError(path, "character U+" + std::to_string(code) +
                                  " cannot be stored (game text holds U+0000 to U+00FF)");
      out.push_back(static_cast<char>(code));
      ++i;
    } else {
      throw PackError(path, "text is not UTF-8 or holds a character above U+00FF");
    }
  }
  return out;
}

std::string Latin1ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

int32_t JsonToInt(const Json& value, const std::string& where) {
  if (value.is_number_integer()) {
    int64_t v = value.get<int64_t>();
    if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<int32_t>(v);
    if (value.is_number_unsigned() && v <= UINT32_MAX) return static_cast<int32_t>(v);
    throw PackError(where, "integer out of range");
  }
  if (value.is_boolean()) return value.get<bool>() ? 1 : 0;
  throw PackError(where, "expected an integer");
}

double JsonToReal(const Json& value, const std::string& where) {
  if (value.is_number()) return value.get<double>();
  throw PackError(where, "expected a number");
}

std::string JsonToStr(const Json& value, const std::string& where) {
  if (!value.is_string()) throw PackError(where, "expected a string");
  return Utf8ToLatin1(value.get<std::string>(), where);
}

JsonObject::JsonObject(const Json& json, std::string where)
    : json_(json), where_(std::move(where)) {
  if (!json_.is_object()) throw PackError(where_, "expected a JSON object");
}

JsonObject::JsonObject(Json&& json, std::string where)
    : owned_(std::make_shared<const Json>(std::move(json))), json_(*owned_),
      where_(std::move(where)) {
  if (!json_.is_object()) throw PackError(where_, "expected a JSON object");
}

bool JsonObject::Has(const std::string& key) const { return json_.contains(key); }

void JsonObject::Fail(const std::string& key, const std::string& message) const {
  throw PackError(where_, "\"" + key + "\": " + message);
}

const Json& JsonObject::Field(const std::string& key) {
  used_.insert(key);
  return json_.at(key);
}

const Json& JsonObject::Get(const std::string& key) {
  static const Json null_value;
  if (!Has(key)) return null_value;
  return Field(key);
}

int32_t JsonObject::Int(const std::string& key, int32_t fallback) {
  return Has(key) ? Int(key) : fallback;
}

int32_t JsonObject::Int(const std::string& key) {
  if (!Has(key)) Fail(key, "missing field");
  const Json& v = Field(key);
  if (v.is_number_integer() || v.is_boolean()) {
    try {
      return JsonToInt(v, where_);
    } catch (const PackError& e) {
      Fail(key, e.Message());
    }
  }
  Fail(key, "expected an integer");
}

double JsonObject::Real(const std::string& key, double fallback) {
  if (!Has(key)) return fallback;
  const Json& v = Field(key);
  if (!v.is_number()) Fail(key, "expected a number");
  return v.get<double>();
}

bool JsonObject::Bool(const std::string& key, bool fallback) {
  if (!Has(key)) return fallback;
  const Json& v = Field(key);
  if (!v.is_boolean()) Fail(key, "expected true or false");
  return v.get<bool>();
}

std::string JsonObject::Str(const std::string& key, const std::string& fallback) {
  return Has(key) ? Str(key) : fallback;
}

std::string JsonObject::Str(const std::string& key) {
  if (!Has(key)) Fail(key, "missing field");
  const Json& v = Field(key);
  if (!v.is_string()) Fail(key, "expected a string");
  try {
    return Utf8ToLatin1(v.get<std::string>(), where_);
  } catch (const PackError& e) {
    Fail(key, e.Message());
  }
}

const Json& JsonObject::Array(const std::string& key) {
  static const Json empty = Json::array();
  if (!Has(key)) return empty;
  const Json& v = Field(key);
  if (!v.is_array()) Fail(key, "expected an array");
  return v;
}

JsonObject JsonObject::Object(const std::string& key) {
  static const Json empty = Json::object();
  if (!Has(key)) return JsonObject(empty, where_ + ": " + key);
  const Json& v = Field(key);
  if (!v.is_object()) Fail(key, "expected an object");
  return JsonObject(v, where_ + ": " + key);
}

std::vector<int32_t> JsonObject::IntList(const std::string& key) {
  std::vector<int32_t> out;
  for (const Json& v : Array(key)) {
    if (!v.is_number_integer()) Fail(key, "expected an array of integers");
    out.push_back(JsonToInt(v, where_ + ": " + key));
  }
  return out;
}

void JsonObject::Finish() const {
  for (auto it = json_.begin(); it != json_.end(); ++it)
    if (!used_.count(it.key())) throw PackError(where_, "unknown field \"" + it.key() + "\"");
}
