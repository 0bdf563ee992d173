#!/usr/bin/env python3
"""Frame pacing in a window session: runs a game at room speed 60 for 600
steps in a real window (an X server of its own, Xvfb with a window manager,
unless DISPLAY is set) with vertical sync on and off, and reports the median
and 99th percentile of the time between presented frames, read from the run
loop's own clock through VEXLO_FRAME_LOG.

    python3 bench/window/pacing.py          (after scripts/build.sh)
"""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "game"))
import gamekit  # noqa: E402

STEPS = 600
DRAW = "draw_set_color(c_red); draw_rectangle(x, 40, x + 40, 80, false); x = (x + 2) mod 280;"


def project(vsync):
    files = gamekit.minimal_project({"obj": {"draw": DRAW}},
                                    settings={"synchronization": vsync})
    files["rooms/room0.json"].update({"width": 320, "height": 240, "speed": 60})
    return files


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def measure(vsync):
    with gamekit.Project(project(vsync)) as p:
        code, _, err = p.pack()
        assert code == 0, err
        log = os.path.join(p.dir, "frames.txt")
        env = dict(os.environ, SDL_VIDEODRIVER="x11", VEXLO_MAX_STEPS=str(STEPS),
                   VEXLO_FRAME_LOG=log)
        for name in ("VEXLO_HEADLESS", "VEXLO_FAST"):
            env.pop(name, None)
        subprocess.run([p.game], env=env, cwd=p.dir, capture_output=True, timeout=120, check=True)
        times = [int(line) for line in open(log)]
    gaps = [(b - a) / 1000.0 for a, b in zip(times[60:], times[61:])]  # after the first second
    return percentile(gaps, 0.5), percentile(gaps, 0.99), len(gaps)


def with_display(run):
    if os.environ.get("DISPLAY"):
        return run()
    display = ":%d" % (150 + os.getpid() % 50)
    server = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)
    os.environ["DISPLAY"] = display
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    try:
        return run()
    finally:
        wm.kill()
        server.kill()


def main():
    def run():
        print("room speed 60 (16.67 ms a step), %d steps, window session" % STEPS)
        print("%-10s %12s %12s %8s" % ("vsync", "median ms", "p99 ms", "frames"))
        for vsync in (False, True):
            median, p99, count = measure(vsync)
            print("%-10s %12.3f %12.3f %8d" % ("on" if vsync else "off", median, p99, count))
    with_display(run)


if __name__ == "__main__":
    main()
