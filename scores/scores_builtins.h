// scores_builtins.h: entering the builtins of the high-score table
// (highscore_* and draw_highscore). Names already entered are left alone.
#pragma once

void Scores_RegisterBuiltins();
