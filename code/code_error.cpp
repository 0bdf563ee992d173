// code_error.cpp: the one runtime error routine. Adds the place, shows the
// text (error window, or standard error when headless), logs it to
// game_errors.log, records it for error_occurred / error_last and requests
// the abort when the error is fatal or the game says to abort on errors.
#include "code/code_error.h"

#include <cstdio>

#include "code/code_error_state.h"
#include "code/code_function.h"
#include "runner/game_data.h"

void (*Code_AbortHook)() = nullptr;
bool (*Code_ErrorWindowHook)(const std::string& text, bool fatal) = nullptr;
std::string (*Code_ErrorPlaceHook)() = nullptr;
void (*Code_ClearInputHook)() = nullptr;

namespace {

constexpr const char* kSeparator = "___________________________________________";
constexpr const char* kLogName = "game_errors.log";

// The text as lines: split at carriage returns, line feeds dropped.
std::string AsLines(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 1);
  for (char c : text) {
    if (c == '\r') out += '\n';
    else if (c != '\n') out += c;
  }
  return out;
}

// Without a window: what it would show goes to standard error, and the
// report counts as closed with Ignore.
bool ShowOnStandardError(const std::string& text) {
  std::fprintf(stderr, "\n%s\n%s\n", kSeparator, AsLines(text).c_str());
  std::fflush(stderr);
  return true;
}

void AppendToLog(const std::string& text) {
  RErrorReportState& state = Error_State();
  std::FILE* file = std::fopen(kLogName, state.first_log_write ? "wb" : "ab");
  state.first_log_write = false;
  if (file == nullptr) return;
  std::string lines = AsLines(text) + "\n\n\n";
  std::fwrite(lines.data(), 1, lines.size(), file);
  std::fclose(file);
}

void F_ShowError(RValue& result, CInstance* self, CInstance* other, int argc, RValue* args) {
  std::string message = ToUtf8(ValueText(args[0]));
  Error_Show_Action(message, args[1].kind == VALUE_REAL && IsTrue(args[1].val));
}

}  // namespace

RErrorReportState& Error_State() {
  static RErrorReportState state;
  return state;
}

void Error_Show_Action(const std::string& message, bool fatal) {
  std::string place = Code_ErrorPlaceHook != nullptr
                          ? Code_ErrorPlaceHook()
                          : "action number 1\r\nof <Unknown Event>\r\nfor object <undefined>:";
  std::string text = fatal ? "FATAL " : "";
  text += "ERROR in\r\n" + place + "\r\n\r\n" + message;
  Error_Show(text, fatal);
}

void Error_Show(const std::string& text, bool fatal) {
  RErrorReportState& state = Error_State();
  if (state.aborting) return;
  const GameSettings& settings = Game().settings;
  if (settings.abort_on_errors) fatal = true;
  if (settings.show_errors) {
    bool ignored = Code_ErrorWindowHook != nullptr ? Code_ErrorWindowHook(text, fatal)
                                                   : ShowOnStandardError(text);
    if (!fatal && !ignored) fatal = true;
  }
  if (Code_ClearInputHook != nullptr) Code_ClearInputHook();
  if (settings.log_errors) AppendToLog(text);
  state.error_last = text;
  state.error_occurred = true;
  if (fatal) {
    state.aborting = true;
    if (Code_AbortHook != nullptr) Code_AbortHook();
  }
}

void Code_RegisterErrorFunctions() {
  if (Function_Find("show_error") >= 0) return;
  Function_Add("show_error", F_ShowError, 2);
}
