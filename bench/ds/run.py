#!/usr/bin/env python3
"""Runs each data-structure benchmark of this folder in the game scripting
language (through bench_lang_runner) and in Lua 5.4, best of N runs each, and
prints the time ratio (Vexlo / Lua) per benchmark and the geometric mean.
Times are CPU times less the start-up of each interpreter on an empty
program, as in bench/lang/run.py; the checksum lines printed by both
programs must agree.

usage: run.py [BUILD_DIR] [--repeat N]
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "lang"))
from run import best_time  # noqa: E402


def main():
    args = sys.argv[1:]
    repeat = 3
    if "--repeat" in args:
        i = args.index("--repeat")
        repeat = int(args[i + 1])
        del args[i:i + 2]
    build = args[0] if args else os.path.join(HERE, "..", "..", "build")
    runner = os.path.join(build, "bench", "bench_lang_runner")
    names = sorted(f[:-4] for f in os.listdir(HERE) if f.endswith(".vxs") and f != "empty.vxs")
    vx_start, _ = best_time([runner, os.path.join(HERE, "empty.vxs")], repeat)
    lua_start, _ = best_time(["lua5.4", os.path.join(HERE, "empty.lua")], repeat)
    print(f"start-up: vexlo {vx_start * 1000:.1f} ms, lua {lua_start * 1000:.1f} ms (subtracted below)")
    print(f"{'benchmark':<12}{'vexlo s':>10}{'lua s':>10}{'ratio':>8}  result")
    logs = []
    differs = False
    for name in names:
        vx, vx_out = best_time([runner, os.path.join(HERE, name + ".vxs")], repeat)
        lua, lua_out = best_time(["lua5.4", os.path.join(HERE, name + ".lua")], repeat)
        same = "same" if vx_out == lua_out else f"DIFFERS: {vx_out} vs {lua_out}"
        differs |= vx_out != lua_out
        vx = max(vx - vx_start, 1e-6)
        lua = max(lua - lua_start, 1e-6)
        ratio = vx / lua
        logs.append(math.log(ratio))
        print(f"{name:<12}{vx:>10.3f}{lua:>10.3f}{ratio:>8.2f}  {same}")
    print(f"{'geomean':<32}{math.exp(sum(logs) / len(logs)):>8.2f}")
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main())
