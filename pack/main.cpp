// main.cpp: vexlo-pack, the builder. Packs a project directory into a game
// executable, unpacks a game into a project, or checks a project.
// Exit codes: 0 success, 1 an error in the project or game, 2 wrong usage.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "pack/pack_build.h"
#include "pack/pack_check.h"

namespace {

const char kUsage[] =
    "usage: vexlo-pack PROJECT_DIR -o GAME [--runner RUNNER]\n"
    "       vexlo-pack --unpack GAME -o PROJECT_DIR\n"
    "       vexlo-pack --check PROJECT_DIR\n"
    "       vexlo-pack --print-deps [--runner RUNNER]\n"
    "       vexlo-pack --help\n";

const char kHelp[] =
    "\n"
    "Builds a game executable from a project directory, and back.\n"
    "\n"
    "  PROJECT_DIR -o GAME   read PROJECT_DIR/game.json and the resource files\n"
    "                        and write GAME: the runner followed by the game data\n"
    "  --runner RUNNER       the runner to append the game to (default:\n"
    "                        vexlo-runner-ship beside this program, or in\n"
    "                        ../libexec/vexlo when installed)\n"
    "  --unpack GAME -o DIR  write the game inside GAME as a project in DIR\n"
    "                        (DIR must not exist or be empty)\n"
    "  --check PROJECT_DIR   read and check the whole project without building\n"
    "  --print-deps          list the Debian packages a player's machine needs\n"
    "                        to run games made with the runner, one per line\n"
    "  -h, --help            show this text\n"
    "\n"
    "Errors are printed as PATH: MESSAGE or PATH:LINE:COLUMN: MESSAGE; on an\n"
    "error no output file is left behind.\n"
    "Exit status: 0 success, 1 error in the project or game, 2 wrong usage.\n"
    "The project format is described in docs/project-format.md.\n";

int Usage(const std::string& message) {
  std::cerr << "vexlo-pack: " << message << "\n" << kUsage;
  return 2;
}

struct Options {
  enum class Mode { Pack, Unpack, Check, PrintDeps, Help } mode = Mode::Pack;
  std::string input;
  std::string output;
  std::string runner;
};

// Returns an empty string on success, else the usage error.
std::string ParseArguments(const std::vector<std::string>& args, Options& o) {
  bool mode_set = false;
  auto set_mode = [&](Options::Mode m) {
    if (mode_set) return false;
    o.mode = m;
    mode_set = true;
    return true;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    if (a == "-h" || a == "--help") {
      o.mode = Options::Mode::Help;
      return "";
    } else if (a == "-o" || a == "--output") {
      if (!o.output.empty() || !value(o.output)) return "-o needs one file name";
    } else if (a == "--runner") {
      if (!o.runner.empty() || !value(o.runner)) return "--runner needs one file name";
    } else if (a == "--print-deps") {
      if (!set_mode(Options::Mode::PrintDeps)) return "give only one of --unpack, --check and --print-deps";
    } else if (a == "--unpack" || a == "--check") {
      if (!set_mode(a == "--unpack" ? Options::Mode::Unpack : Options::Mode::Check))
        return "give only one of --unpack, --check and --print-deps";
      if (!o.input.empty() || !value(o.input)) return a + " needs one input";
    } else if (!a.empty() && a[0] == '-') {
      return "unknown option " + a;
    } else {
      if (!o.input.empty()) return "more than one input: " + o.input + " and " + a;
      o.input = a;
    }
  }
  if (o.mode == Options::Mode::PrintDeps) {
    if (!o.input.empty() || !o.output.empty()) return "--print-deps takes only --runner";
    return "";
  }
  if (o.input.empty()) return "no input given";
  if (o.mode == Options::Mode::Check && !o.output.empty()) return "--check writes no output";
  if (o.mode != Options::Mode::Check && o.output.empty()) return "no output given (-o)";
  if (o.mode != Options::Mode::Pack && !o.runner.empty()) return "--runner is only for packing and --print-deps";
  return "";
}

int Run(const Options& o) {
  try {
    switch (o.mode) {
      case Options::Mode::Pack:
        PackProject(o.input, o.output, o.runner.empty() ? DefaultRunnerPath() : std::filesystem::path(o.runner));
        return 0;
      case Options::Mode::PrintDeps:
        std::cout << RuntimeDependencies(o.runner.empty() ? DefaultRunnerPath() : std::filesystem::path(o.runner));
        return 0;
      case Options::Mode::Unpack:
        UnpackGame(o.input, o.output);
        return 0;
      case Options::Mode::Check: {
        std::vector<PackError> errors = CheckProject(o.input, CheckCodeText);
        for (const PackError& e : errors) std::cerr << e.what() << "\n";
        return errors.empty() ? 0 : 1;
      }
      case Options::Mode::Help:
        std::cout << kUsage << kHelp;
        return 0;
    }
  } catch (const PackError& e) {
    std::cerr << e.what() << "\n";
  } catch (const std::filesystem::filesystem_error& e) {
    std::string path = e.path1().string();
    std::cerr << (path.empty() ? std::string("vexlo-pack") : path) << ": " << e.code().message()
              << "\n";
  } catch (const std::exception& e) {
    std::cerr << "vexlo-pack: " << e.what() << "\n";
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error = ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options);
  if (!error.empty()) return Usage(error);
  return Run(options);
}
