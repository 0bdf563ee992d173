// function_transition.cpp: transition_define and transition_exists.
#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "graphics/transition.h"

namespace {

using namespace graphics_args;

void F_Define(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Transition_Define(Int(a[0]), ValueText(a[1])));
}
void F_Exists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Transition_Exists(Int(a[0])));
}

}  // namespace

void Graphics_RegisterTransitionFunctions() {
  Graphics_AddFunction("transition_define", F_Define, 2);
  Graphics_AddFunction("transition_exists", F_Exists, 1);
}
