// project_layout.cpp: file names of resources and the names of event types
// and sound kinds.
#include "pack/project_layout.h"

#include <cstdio>

namespace {

constexpr const char* kEventTypes[] = {"create", "destroy", "alarm", "step",
                                       "collision", "keyboard", "mouse", "other",
                                       "draw", "keypress", "keyrelease", "trigger"};
constexpr const char* kSoundKinds[] = {"normal", "background", "3d", "multimedia"};

bool KeepsInFileName(char16_t c, bool first) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'-' || (c == u'.' && !first);
}

}  // namespace

std::string FileNameOf(const VString& name) {
  if (name.empty()) return "%";
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    if (KeepsInFileName(c, i == 0)) {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned>(c & 0xFF));
      out += hex;
    }
  }
  return out;
}

const char* EventTypeName(int type) {
  return type >= 0 && type < 12 ? kEventTypes[type] : "";
}

int EventTypeFromName(const std::string& name) {
  for (int i = 0; i < 12; ++i)
    if (name == kEventTypes[i]) return i;
  return -1;
}

const char* SoundKindName(int kind) {
  return kind >= 0 && kind < 4 ? kSoundKinds[kind] : "";
}

int SoundKindFromName(const std::string& name) {
  for (int i = 0; i < 4; ++i)
    if (name == kSoundKinds[i]) return i;
  return -1;
}
