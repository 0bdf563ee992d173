// extension_class.h: the extension package records (package, file,
// function, constant) with their stored forms, and the package payload that
// carries the files' bytes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/value.h"

class CStream;
class CCode;

constexpr int kExtensionArgTypes = 17;

class CExtensionFunction {
 public:
  VString s_name;     // name used in game code
  VString s_extname;  // exported name in the library
  int32_t s_kind = 0;  // calling convention: 12 caller-cleans, else callee-cleans
  int32_t s_id = 0;
  int32_t s_argcount = 0;  // -1 any number
  std::array<int32_t, kExtensionArgTypes> s_argtype{};  // 1 = string
  int32_t s_returntype = 2;  // 1 string, 2 real
  VString s_script;          // source of a script function
  std::shared_ptr<CCode> s_code;

  // Record version 700. A return type other than 1 or 2 becomes 2.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
  // Trims the names, defaults the external name to the name, and gives a
  // function of more than 4 arguments 17 argument kinds of 2.
  void Normalize();
};

class CExtensionConstant {
 public:
  VString s_name;
  VString s_value;  // source text of the value

  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};

// File kinds.
enum : int32_t { EXT_DLL = 1, EXT_SCRIPT = 2, EXT_NOBYTES = 3, EXT_OTHER = 4 };

class CExtensionFile {
 public:
  VString s_filename;
  int32_t s_kind = 0;
  VString s_init;
  VString s_final;
  std::vector<CExtensionFunction> s_functions;
  std::vector<CExtensionConstant> s_constants;
  // The file's bytes from the package payload (kind 3 carries none).
  std::vector<uint8_t> s_data;

  // Record version 700 (without the bytes, which travel in the payload).
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
  // Splits a script file's text at lines "#define name" and gives each
  // function the section of its name.
  void AssignScripts(const VString& text);
};

class CExtensionPackage {
 public:
  VString s_name;
  VString s_folder;  // sub-folder of the temporary directory
  std::vector<CExtensionFile> s_includes;
  int32_t s_key = 0;  // key of the payload substitution

  // Record version 700: name, folder, the file records, then the payload
  // stream. Files of kind 1 and 4 are written under the folder in
  // temp_dir when temp_dir is not empty.
  bool LoadFromStream(CStream& s, const std::string& temp_dir);
  void SaveToStream(CStream& s) const;
};
