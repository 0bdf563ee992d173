// test_function_util.h: helpers shared by the builtin function tests: a call
// by name as the interpreter makes it, and a silent capture of the reports
// that go through the runtime error routine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "code/code_error_state.h"
#include "runner/game_data.h"
#include "common/value.h"

// Calls a registered builtin with up to 16 arguments (defined in
// test_function_table.cpp).
RValue CallBuiltin(std::string_view name, const std::vector<RValue>& args);

inline RValue R(double v) { return RValue::Real(v); }
inline RValue S(const char16_t* s) { return RValue::String(s); }

// Records reports silently (no window, no standard error) while it lives,
// and gives back the message part of the last one.
class ErrorCapture {
 public:
  ErrorCapture() : saved_(Game().settings) {
    Game().settings.show_errors = false;
    Game().settings.log_errors = false;
    Game().settings.abort_on_errors = false;
    Reset();
  }
  ~ErrorCapture() {
    Game().settings = saved_;
    Reset();
  }
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  void Reset() { Error_State() = RErrorReportState(); }
  bool Occurred() const { return Error_State().error_occurred; }
  // The text after the place lines of the last report.
  std::string Message() const {
    const std::string& text = Error_State().error_last;
    size_t at = text.rfind("\r\n\r\n");
    return at == std::string::npos ? text : text.substr(at + 4);
  }

 private:
  GameSettings saved_;
};
