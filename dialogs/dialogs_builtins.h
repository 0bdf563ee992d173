// dialogs_builtins.h: entering the builtins of the runner's own windows:
// show_message, show_question, get_string, get_integer and show_info. Names
// already entered are left alone.
#pragma once

void Dialogs_RegisterBuiltins();

// The waits and direct input queries (function_wait.cpp); entered by
// Dialogs_RegisterBuiltins.
void Dialogs_RegisterWaitFunctions();
// The choosers (function_chooser.cpp); entered by Dialogs_RegisterBuiltins.
void Dialogs_RegisterChooserFunctions();
// The splash functions (function_splash.cpp); entered by
// Dialogs_RegisterBuiltins.
void Dialogs_RegisterSplashFunctions();
