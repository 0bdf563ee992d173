// path_functions.h: registration of the path functions of game code and the
// binding of the instance path variables with path logic.
#pragma once

void Path_RegisterFunctions();
void Path_BindVariables();
