// code_variable_functions.h: the variable_ builtin functions that read and
// write global variables and the variables of the calling instance by name.
#pragma once

void Code_RegisterVariableFunctions();
