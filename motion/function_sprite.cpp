// function_sprite.cpp: the sprite functions of game code (the sprite table,
// images loaded at run time).

void Sprite_RegisterFunctions() {}
