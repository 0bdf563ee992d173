// function_motion.cpp: the motion, path and motion-planning functions of game
// code and the path hook of the step loop.

void Motion_RegisterFunctions() {}
void Motion_InstallHooks() {}
