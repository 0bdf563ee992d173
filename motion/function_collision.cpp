// function_collision.cpp: the collision query functions of game code and the
// collision hooks of the step loop.

void Collision_RegisterFunctions() {}
void Collision_InstallHooks() {}
