// bench_lang_runner: compiles and runs one game code file, for the language
// benchmarks in bench/lang. The text before the first "#define name" line is
// the program; each "#define name" starts a script of that name. With
// "--instances N" the room holds N instances of object 0 first. Prints the
// run time in seconds to standard error.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "code/code_function.h"
#include "runner/builtins.h"
#include "code/code_main.h"
#include "runner/game_data.h"
#include "world/instance_class.h"

namespace {

void AddScript(const std::string& name, const std::string& text) {
  auto script = std::make_unique<CScript>();
  script->s_text = FromUtf8(text);
  Game().scripts.Add(std::move(script), FromUtf8(name));
}

// Splits the file into the program and its scripts.
std::string LoadProgram(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string line, program, script_name, script_text;
  bool in_script = false;
  while (std::getline(file, line)) {
    if (line.rfind("#define ", 0) == 0) {
      if (in_script) AddScript(script_name, script_text);
      in_script = true;
      script_name = line.substr(8);
      while (!script_name.empty() && (script_name.back() == '\r' || script_name.back() == ' '))
        script_name.pop_back();
      script_text.clear();
      continue;
    }
    (in_script ? script_text : program) += line + "\n";
  }
  if (in_script) AddScript(script_name, script_text);
  return program;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_lang_runner FILE [--instances N]\n");
    return 2;
  }
  int instances = 0;
  for (int i = 2; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--instances") instances = std::atoi(argv[i + 1]);
  }
  Builtins_RegisterAll();
  Code_RegisterFunctions();
  Game().settings.code_flags = 0;
  std::string program = LoadProgram(argv[1]);
  for (int i = 0; i < instances; ++i) Instance_Add(kFirstInstanceId + i, 0);
  RCodeCompileError error;
  if (!Code_CompileScripts()) return 1;
  std::unique_ptr<CCode> code = Code_CompileText(FromUtf8(program), CODE_PROGRAM, &error);
  if (code == nullptr) {
    std::fprintf(stderr, "%s\n", error.text.c_str());
    return 1;
  }
  CInstance self(kFirstInstanceId - 1, 0);
  RValue result;
  auto start = std::chrono::steady_clock::now();
  bool ok = Code_RunAction(*code, &self, &self, result);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr, "time %.6f\n", seconds);
  return ok ? 0 : 1;
}
