// fuzz_ini.cpp: libFuzzer target for ini files. Each input is parsed as a
// file; writing it back unchanged must give the same bytes; a few lookups
// and changes, taken from the input itself, must keep every other line and
// leave a file that parses to the same answers. The number parser runs on
// every value and must never give NaN or infinity.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/ini_file.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Names that can be written and found again: none of the characters that
// make a line something else.
bool Plain(std::string_view name) {
  return name.find_first_of(std::string_view("[]=;\r\n\0", 7)) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TIniFile ini;
  ini.Parse(text);
  // A file read and written back unchanged is the same file, byte for byte.
  Check(ini.Serialize() == text);

  // Names taken from the input: its first bytes split in three.
  std::string_view section = text.substr(0, std::min<size_t>(size, 8));
  std::string_view key = text.substr(std::min<size_t>(size, 8), 6);
  std::string_view value = text.substr(std::min<size_t>(size, 14), 10);
  double x = Ini_ParseReal(text);
  Check(std::isfinite(x));
  if (auto v = ini.Read(section, key)) Check(std::isfinite(Ini_ParseReal(*v)));

  ini.Write(section, key, value);
  TIniFile again;
  again.Parse(ini.Serialize());
  if (Plain(section) && Plain(key)) {
    Check(again.Read(section, key).has_value());
    Check(again.SectionExists(section));
  }
  ini.DeleteKey(section, key);
  ini.DeleteSection(section);
  Check(!ini.SectionExists(section) || ini.Serialize().size() > 0);
  Check(std::isfinite(Ini_ParseReal(Ini_RealText(x))));
  return 0;
}
