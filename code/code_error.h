// code_error.h: the one runtime error routine. Every error that arises while
// the game runs (errors in game code, failed builtin calls, actions that do
// not compile) goes through it: it adds the place, shows the error window (or
// standard error when headless), appends to the log, records the text for
// error_occurred / error_last and requests the abort when fatal.
#pragma once

#include <string>

// Builds the full text with the place of the error (action, event, object or
// time line moment) and passes it to Error_Show.
void Error_Show_Action(const std::string& message, bool fatal);
// Shows, logs, records, and aborts when fatal.
void Error_Show(const std::string& text, bool fatal);
