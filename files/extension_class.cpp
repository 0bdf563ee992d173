// extension_class.cpp: stored forms of the extension package records, the
// package payload (substituted bytes holding one compressed stream per file)
// and the writing of library and other files into the package folder.
#include "files/extension_class.h"

#include <filesystem>
#include <fstream>

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kExtensionVersion = 700;
// Payload bytes before this index stay as they are; the key is the first
// integer and the byte after it is left unsubstituted.
constexpr int32_t kPayloadScrambleStart = 5;
constexpr size_t kMinFunctionBytes = (6 + kExtensionArgTypes + 1) * 4;
constexpr size_t kMinConstantBytes = 3 * 4;
constexpr size_t kMinFileBytes = 7 * 4;

VString Trim(const VString& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return s.substr(b, e - b);
}

// A name that stays inside the folder it is joined to.
bool IsPlainName(const VString& name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  for (char16_t c : name)
    if (c == u'/' || c == u'\\' || c == 0) return false;
  return true;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}
}  // namespace

// ----- functions and constants -----

bool CExtensionFunction::LoadFromStream(CStream& s) {
  if (!ReadVersion(s, kExtensionVersion)) return false;
  s_name = s.ReadString();
  s_extname = s.ReadString();
  s_kind = s.ReadInteger();
  s_id = s.ReadInteger();
  s_argcount = s.ReadInteger();
  for (int32_t& t : s_argtype) t = s.ReadInteger();
  s_returntype = s.ReadInteger();
  if (s_returntype != 1 && s_returntype != 2) s_returntype = 2;
  return true;
}

void CExtensionFunction::SaveToStream(CStream& s) const {
  s.WriteInteger(kExtensionVersion);
  s.WriteString(s_name);
  s.WriteString(s_extname);
  s.WriteInteger(s_kind);
  s.WriteInteger(s_id);
  s.WriteInteger(s_argcount);
  for (int32_t t : s_argtype) s.WriteInteger(t);
  s.WriteInteger(s_returntype);
}

void CExtensionFunction::Normalize() {
  s_name = Trim(s_name);
  s_extname = Trim(s_extname);
  if (s_extname.empty()) s_extname = s_name;
  if (s_argcount > 4) s_argtype.fill(2);
}

bool CExtensionConstant::LoadFromStream(CStream& s) {
  if (!ReadVersion(s, kExtensionVersion)) return false;
  s_name = s.ReadString();
  s_value = s.ReadString();
  return true;
}

void CExtensionConstant::SaveToStream(CStream& s) const {
  s.WriteInteger(kExtensionVersion);
  s.WriteString(s_name);
  s.WriteString(s_value);
}

// ----- files -----

bool CExtensionFile::LoadFromStream(CStream& s) {
  if (!ReadVersion(s, kExtensionVersion)) return false;
  s_filename = s.ReadString();
  s_kind = s.ReadInteger();
  s_init = s.ReadString();
  s_final = s.ReadString();
  int32_t n = 0;
  if (!ReadCount(s, n, kMinFunctionBytes)) return false;
  s_functions.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    CExtensionFunction f;
    if (!f.LoadFromStream(s)) return false;
    s_functions.push_back(std::move(f));
  }
  if (!ReadCount(s, n, kMinConstantBytes)) return false;
  s_constants.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    CExtensionConstant c;
    if (!c.LoadFromStream(s)) return false;
    s_constants.push_back(std::move(c));
  }
  return true;
}

void CExtensionFile::SaveToStream(CStream& s) const {
  s.WriteInteger(kExtensionVersion);
  s.WriteString(s_filename);
  s.WriteInteger(s_kind);
  s.WriteString(s_init);
  s.WriteString(s_final);
  s.WriteInteger(static_cast<int32_t>(s_functions.size()));
  for (const CExtensionFunction& f : s_functions) f.SaveToStream(s);
  s.WriteInteger(static_cast<int32_t>(s_constants.size()));
  for (const CExtensionConstant& c : s_constants) c.SaveToStream(s);
}

void CExtensionFile::AssignScripts(const VString& text) {
  static const VString kDefine = u"#define";
  VString name;
  VString body;
  bool in_section = false;
  auto flush = [&] {
    if (!in_section) return;
    for (CExtensionFunction& f : s_functions)
      if (f.s_name == name) f.s_script = body;
  };
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t eol = text.find(u'\n', pos);
    if (eol == VString::npos) eol = text.size();
    VString line = text.substr(pos, eol - pos);
    VString trimmed = Trim(line);
    if (trimmed.compare(0, kDefine.size(), kDefine) == 0) {
      flush();
      name = Trim(trimmed.substr(kDefine.size()));
      body.clear();
      in_section = true;
    } else if (in_section) {
      body += line;
      if (eol < text.size()) body += u'\n';
    }
    pos = eol + 1;
  }
  flush();
}

// ----- packages -----

namespace {
// Reads the file bytes of the payload; writes kinds 1 and 4 to the folder.
void ReadPayload(CStream& payload, CExtensionPackage& pkg, const std::string& temp_dir) {
  pkg.s_key = payload.ReadInteger();
  if (payload.Size() > static_cast<size_t>(kPayloadScrambleStart))
    payload.Decrypt(pkg.s_key, kPayloadScrambleStart, 0);
  std::filesystem::path folder;
  bool write = !temp_dir.empty() && IsPlainName(pkg.s_folder);
  if (write) {
    folder = std::filesystem::path(temp_dir) / ToUtf8(pkg.s_folder);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
  }
  for (CExtensionFile& file : pkg.s_includes) {
    if (file.s_kind == EXT_NOBYTES) continue;
    file.s_data = std::move(payload.ReadStreamC()->Bytes());
    if (file.s_kind == EXT_SCRIPT) {
      file.AssignScripts(FromLatin1(std::string_view(
          reinterpret_cast<const char*>(file.s_data.data()), file.s_data.size())));
    } else if (write && IsPlainName(file.s_filename)) {
      WriteFile(folder / ToUtf8(file.s_filename), file.s_data);
    }
  }
}
}  // namespace

bool CExtensionPackage::LoadFromStream(CStream& s, const std::string& temp_dir) {
  if (!ReadVersion(s, kExtensionVersion)) return false;
  s_name = s.ReadString();
  s_folder = s.ReadString();
  int32_t n = 0;
  if (!ReadCount(s, n, kMinFileBytes)) return false;
  s_includes.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    CExtensionFile f;
    if (!f.LoadFromStream(s)) return false;
    s_includes.push_back(std::move(f));
  }
  for (CExtensionFile& f : s_includes)
    for (CExtensionFunction& fn : f.s_functions) fn.Normalize();
  auto payload = s.ReadStream();
  ReadPayload(*payload, *this, temp_dir);
  return true;
}

void CExtensionPackage::SaveToStream(CStream& s) const {
  s.WriteInteger(kExtensionVersion);
  s.WriteString(s_name);
  s.WriteString(s_folder);
  s.WriteInteger(static_cast<int32_t>(s_includes.size()));
  for (const CExtensionFile& f : s_includes) f.SaveToStream(s);
  CStream payload;
  payload.WriteInteger(s_key);
  for (const CExtensionFile& f : s_includes) {
    if (f.s_kind == EXT_NOBYTES) continue;
    payload.WriteStreamC(CStream(f.s_data));
  }
  if (payload.Size() > static_cast<size_t>(kPayloadScrambleStart))
    payload.Encrypt(s_key, kPayloadScrambleStart, 0);
  s.WriteStream(payload);
}
