// file_names.cpp: file names as game code gives them: separators, the
// secure-mode tests and the filename_* text functions.
#include "files/file_names.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }
bool IsDelimiter(char16_t c) { return IsSeparator(c) || c == u':'; }

// Index of the last separator or drive colon (or of the last of the extra
// character), npos when there is none.
size_t LastDelimiter(const VString& name, char16_t extra = 0) {
  for (size_t i = name.size(); i > 0; --i) {
    char16_t c = name[i - 1];
    if (IsDelimiter(c) || (extra != 0 && c == extra)) return i - 1;
  }
  return VString::npos;
}

}  // namespace

std::string File_PlatformPath(const VString& name) {
  std::string path = ToUtf8(name);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

bool File_HasPath(const VString& name) {
  for (char16_t c : name)
    if (IsSeparator(c)) return true;
  return false;
}

bool File_ReachesOutside(const VString& name) {
  int depth = 0;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    VString part = name.substr(start, end - start);
    if (part == u"..") {
      if (--depth < 0) return true;
    } else if (!part.empty() && part != u".") {
      ++depth;
    }
    start = end + 1;
  }
  return false;
}

VString File_NameOf(const VString& name) {
  size_t at = LastDelimiter(name);
  return at == VString::npos ? name : name.substr(at + 1);
}

VString File_PathOf(const VString& name) {
  size_t at = LastDelimiter(name);
  return at == VString::npos ? VString() : name.substr(0, at + 1);
}

VString File_DirOf(const VString& name) {
  size_t at = LastDelimiter(name);
  if (at == VString::npos) return VString();
  // The separator of a root ("C:\", "\") stays; any other final one goes.
  size_t length = at + 1;
  if (at > 0 && IsSeparator(name[at]) && !IsDelimiter(name[at - 1])) length = at;
  return name.substr(0, length);
}

VString File_DriveOf(const VString& name) {
  if (name.size() >= 2 && name[1] == u':') return name.substr(0, 2);
  // A network name: two separators, the server, a separator, the share.
  if (name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1])) {
    size_t i = 2;
    int separators = 0;
    for (; i < name.size(); ++i) {
      if (IsSeparator(name[i]) && ++separators == 2) break;
    }
    if (separators >= 1) return name.substr(0, i);
  }
  return VString();
}

VString File_ExtOf(const VString& name) {
  size_t at = LastDelimiter(name, u'.');
  if (at == VString::npos || name[at] != u'.') return VString();
  return name.substr(at);
}

VString File_ChangeExt(const VString& name, const VString& ext) {
  size_t at = LastDelimiter(name, u'.');
  if (at == VString::npos || name[at] != u'.') return name + ext;
  return name.substr(0, at) + ext;
}
