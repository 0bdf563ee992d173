#!/usr/bin/env python3
"""Start-up of an empty game: packs a game with one empty room, runs it
headless for one step N times (default 20) and prints the median wall time
(and CPU time, which stays meaningful on a busy machine) and the median
peak resident memory, once with SDL's dummy video driver
(no OpenGL: the runner's own share) and once with the offscreen driver
that headless runs use (Mesa's OpenGL, llvmpipe on a machine without a
GPU driver). Also prints the size of the packed game.

usage: run.py [BUILD_DIR] [--runs N] [--runner RUNNER]
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def pack_empty_game(build, work, runner):
    project = os.path.join(work, "project")
    os.makedirs(os.path.join(project, "rooms"))
    with open(os.path.join(project, "rooms", "room0.json"), "w") as f:
        json.dump({"instances": []}, f)
    with open(os.path.join(project, "game.json"), "w") as f:
        json.dump({"settings": {}, "resources": {"rooms": ["room0"]}, "room_order": ["room0"]}, f)
    game = os.path.join(work, "empty")
    cmd = [os.path.join(build, "vexlo-pack"), project, "-o", game]
    if runner:
        cmd += ["--runner", runner]
    subprocess.run(cmd, check=True)
    return game


def run_once(game, env):
    start = time.perf_counter()
    proc = subprocess.Popen([game], env=env, cwd=os.path.dirname(game),
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    err = proc.stderr.read().decode("utf-8", "replace")
    proc.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("the game failed: %s" % err)
    cpu = usage.ru_utime + usage.ru_stime
    return wall, usage.ru_maxrss / 1024.0, cpu  # ru_maxrss is in KiB


def main():
    args = sys.argv[1:]
    runs, runner = 20, None
    if "--runs" in args:
        i = args.index("--runs")
        runs = int(args[i + 1])
        del args[i:i + 2]
    if "--runner" in args:
        i = args.index("--runner")
        runner = os.path.abspath(args[i + 1])
        del args[i:i + 2]
    build = os.path.abspath(args[0] if args else os.path.join(HERE, "..", "..", "build"))
    work = tempfile.mkdtemp(prefix="vexlo_startup_bench_")
    try:
        game = pack_empty_game(build, work, runner)
        print("empty game: %.2f MB, %d runs each" % (os.path.getsize(game) / 1048576.0, runs))
        print("%-22s%14s%14s%16s" % ("video driver", "median ms", "CPU ms", "peak RSS MB"))
        for label, driver in [("dummy (no OpenGL)", "dummy"), ("offscreen (OpenGL)", None)]:
            env = dict(os.environ, VEXLO_HEADLESS="1", VEXLO_FAST="1", VEXLO_MAX_STEPS="1")
            env.pop("SDL_VIDEODRIVER", None)
            if driver:
                env["SDL_VIDEODRIVER"] = driver
            run_once(game, env)  # warm the file cache
            results = [run_once(game, env) for _ in range(runs)]
            wall = statistics.median(r[0] for r in results) * 1000
            rss = statistics.median(r[1] for r in results)
            cpu = statistics.median(r[2] for r in results) * 1000
            print("%-22s%14.1f%14.1f%16.1f" % (label, wall, cpu, rss))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
