// mp_functions.h: registration of the motion-planning functions of game code.
#pragma once

void Mp_RegisterFunctions();
