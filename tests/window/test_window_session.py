"""Window sessions: games run in a real window on an X server (Xvfb), with
input posted through the server (xdotool) and the window read back from the
server (xwd). Run by run.sh, which starts the server and sets DISPLAY."""
import os
import struct
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "game"))
import gamekit  # noqa: E402

CAPTION = "Window session test"

# A room of 320 x 240 on dark blue with a red square, reporting input.
SCENE_STEP = r'''
if (step_count == 5) show_debug_message("ready");
step_count += 1;
if (keyboard_check_pressed(vk_space)) show_debug_message("key space");
if (mouse_check_button_pressed(mb_left))
  show_debug_message("click " + string(mouse_x) + " " + string(mouse_y));
if (keyboard_check_pressed(ord("F"))) {
  window_set_fullscreen(!window_get_fullscreen());
  show_debug_message("fullscreen " + string(window_get_fullscreen()));
}
'''
SCENE_DRAW = r'''
draw_set_color(c_red);
draw_rectangle(40, 40, 119, 119, false);
'''
MESSAGE_STEP = r'''
step_count += 1;
if (step_count == 5) {
  show_debug_message("asking");
  show_message("Press Enter");
  show_debug_message("answered message");
  show_debug_message("question " + string(show_question("Yes or no?")));
  game_end();
}
'''

# The high-score window: the player types a name at the rank reached.
SCORE_STEP = r'''
step_count += 1;
if (step_count == 5) {
  highscore_clear();
  highscore_add("Ann", 900);
  show_debug_message("scoring");
  highscore_show(500);
  show_debug_message("named " + highscore_name(2) + " " + string(highscore_value(2)));
  game_end();
}
'''


def scene_project(objects, settings=None):
    files = gamekit.minimal_project(objects, settings=settings or {})
    files["rooms/room0.json"].update({
        "width": 320, "height": 240, "speed": 60, "caption": CAPTION,
        "color": 0x401000, "show_color": True})
    return files


def wait_for(proc, lines, text, timeout=20):
    """Reads the game's standard output until a line contains text."""
    end = time.time() + timeout
    while time.time() < end:
        line = proc.stdout.readline()
        if not line:
            if proc.poll() is not None:
                raise AssertionError("the game ended before %r: %s" % (text, lines))
            continue
        lines.append(line.decode().rstrip("\n"))
        if text in lines[-1]:
            return lines[-1]
    raise AssertionError("no %r within %d s: %s" % (text, timeout, lines))


def xdotool(*args):
    return subprocess.run(["xdotool"] + list(args), capture_output=True, text=True,
                          timeout=20).stdout.strip()


def window_id():
    for _ in range(100):
        found = xdotool("search", "--name", CAPTION).split()
        if found:
            return found[-1]
        time.sleep(0.1)
    raise AssertionError("no window titled %r" % CAPTION)


def grab(window):
    """The window's pixels through the X server: (width, height, pixel(x, y))
    with pixel giving (r, g, b)."""
    data = subprocess.run(["xwd", "-silent", "-id", window], capture_output=True,
                          timeout=20).stdout
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    bytes_per_line, ncolors = header[12], header[19]
    bits_per_pixel = header[11]
    assert bits_per_pixel == 32, bits_per_pixel
    pixels = data[header_size + ncolors * 12:]
    little = header[7] == 0  # byte order LSBFirst

    def pixel(x, y):
        raw = pixels[y * bytes_per_line + x * 4:y * bytes_per_line + x * 4 + 4]
        b, g, r = (raw[0], raw[1], raw[2]) if little else (raw[3], raw[2], raw[1])
        return r, g, b
    return width, height, pixel


def wait_for_size(window, expected, timeout=10):
    """The window's size once it is `expected`, or its last size."""
    end = time.time() + timeout
    while True:
        geometry = xdotool("getwindowgeometry", window).split()
        size = tuple(int(v) for v in geometry[-1].split("x"))
        if size == expected or time.time() > end:
            return size
        time.sleep(0.1)


class Session:
    """A packed game running in a window of the X server."""

    def __init__(self, project, env=None):
        self.project = project
        code, _, err = project.pack()
        assert code == 0, err
        full_env = dict(os.environ)
        for name in ("VEXLO_HEADLESS", "VEXLO_FAST", "VEXLO_MAX_STEPS"):
            full_env.pop(name, None)
        full_env["SDL_VIDEODRIVER"] = "x11"
        full_env.update(env or {})
        self.proc = subprocess.Popen([project.game], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, env=full_env, cwd=project.dir)
        self.lines = []

    def wait_for(self, text, timeout=20):
        return wait_for(self.proc, self.lines, text, timeout)

    def finish(self, timeout=20):
        try:
            out, err = self.proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            raise AssertionError("the game did not end: %s" % self.lines)
        self.lines += out.decode().splitlines()
        return self.proc.returncode, err.decode()

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


class WindowSession(unittest.TestCase):
    def test_scene_draws_takes_input_and_closes(self):
        objects = {"obj": {"create": "step_count = 0;", "step": SCENE_STEP, "draw": SCENE_DRAW}}
        with gamekit.Project(scene_project(objects, {"sizeable": True})) as project:
            session = Session(project)
            try:
                session.wait_for("ready")
                window = window_id()
                time.sleep(0.3)
                width, height, pixel = grab(window)
                self.assertEqual((width, height), (320, 240))
                self.assertEqual(pixel(80, 80), (255, 0, 0))        # the red square
                self.assertEqual(pixel(200, 200), (0, 0x10, 0x40))  # the background colour
                self.assertEqual(pixel(39, 39), (0, 0x10, 0x40))
                xdotool("windowactivate", "--sync", window)
                xdotool("key", "--window", window, "space")
                session.wait_for("key space")
                xdotool("mousemove", "--window", window, "100", "60")
                xdotool("click", "1")
                self.assertEqual(session.wait_for("click"), "click 100 60")
                xdotool("key", "--window", window, "f")
                session.wait_for("fullscreen 1")
                time.sleep(0.5)
                width, height, pixel = grab(window)
                self.assertEqual((width, height), (1024, 768))
                # The region stays at its scale, centred, on the window colour.
                self.assertEqual(pixel(352 + 80, 264 + 80), (255, 0, 0))
                self.assertEqual(pixel(10, 10), (255, 255, 255))
                xdotool("key", "--window", window, "f")
                session.wait_for("fullscreen 0")
                time.sleep(0.3)
                width, height, pixel = grab(window)
                self.assertEqual((width, height), (320, 240))
                self.assertEqual(pixel(80, 80), (255, 0, 0))
                # F4 switches full screen both ways (the game's setting is on).
                for expected in ((1024, 768), (320, 240)):
                    xdotool("key", "--window", window, "F4")
                    self.assertEqual(wait_for_size(window, expected), expected)
                # A sizeable window keeps the region at its scale, centred.
                xdotool("windowsize", "--sync", window, "640", "480")
                time.sleep(0.5)
                width, height, pixel = grab(window)
                self.assertEqual((width, height), (640, 480))
                self.assertEqual(pixel(160 + 80, 120 + 80), (255, 0, 0))
                self.assertEqual(pixel(10, 10), (255, 255, 255))
                # The close button: the window manager asks the game to close.
                subprocess.run(["wmctrl", "-i", "-c", window], timeout=20, check=True)
                code, err = session.finish()
                self.assertEqual(code, 0, err)
                self.assertNotIn("Assertion", err)
            finally:
                session.kill()

    def test_loading_window_with_progress_bar(self):
        bar_back = gamekit.png_of(100, 8, lambda x, y: (0, 0, 255, 255))
        bar_front = gamekit.png_of(100, 8, lambda x, y: (0, 255, 0, 255))
        settings = {"show_progress_bar": True, "bar_back_image": "bar_back.png",
                    "bar_front_image": "bar_front.png"}
        objects = {"obj": {"create": "step_count = 0;", "step": SCENE_STEP, "draw": SCENE_DRAW}}
        files = scene_project(objects, settings)
        files["bar_back.png"] = bar_back
        files["bar_front.png"] = bar_front
        with gamekit.Project(files) as project:
            session = Session(project, {"VEXLO_MAX_STEPS": "120"})
            try:
                session.wait_for("ready")
                time.sleep(0.2)
                _, _, pixel = grab(window_id())
                self.assertEqual(pixel(80, 80), (255, 0, 0))
                code, err = session.finish()
                self.assertEqual(code, 0, err)
            finally:
                session.kill()

    def test_message_and_question_answered_with_enter(self):
        objects = {"obj": {"create": "step_count = 0;", "step": MESSAGE_STEP}}
        with gamekit.Project(scene_project(objects)) as project:
            session = Session(project)
            try:
                session.wait_for("asking")
                window = window_id()
                time.sleep(0.5)
                xdotool("windowactivate", "--sync", window)
                xdotool("key", "--window", window, "Return")
                session.wait_for("answered message")
                time.sleep(0.5)
                xdotool("key", "--window", window, "Return")
                self.assertEqual(session.wait_for("question"), "question 1")
                code, err = session.finish()
                self.assertEqual(code, 0, err)
            finally:
                session.kill()

    def test_highscore_window_takes_a_typed_name(self):
        objects = {"obj": {"create": "step_count = 0;", "step": SCORE_STEP}}
        with gamekit.Project(scene_project(objects)) as project:
            env = {"XDG_CONFIG_HOME": os.path.join(project.dir, "config")}
            session = Session(project, env=env)
            try:
                session.wait_for("scoring")
                window = window_id()
                time.sleep(0.5)
                xdotool("windowactivate", "--sync", window)
                xdotool("type", "--window", window, "Zed")
                xdotool("key", "--window", window, "BackSpace")
                xdotool("type", "--window", window, "e")
                xdotool("key", "--window", window, "Return")
                self.assertEqual(session.wait_for("named"), "named Zee 500")
                code, err = session.finish()
                self.assertEqual(code, 0, err)
            finally:
                session.kill()

    def test_example_game_runs_in_a_window(self):
        example = os.path.join(gamekit.EXAMPLES, "showcase")
        for name, env in (("GLX", {}), ("EGL", {"SDL_VIDEO_X11_FORCE_EGL": "1"})):
            with self.subTest(name), gamekit.Project(copy_from=example) as project:
                session = Session(project, dict(env, VEXLO_MAX_STEPS="200"))
                try:
                    code, err = session.finish(timeout=60)
                    self.assertEqual(code, 0, err)
                    self.assertNotIn("Assertion", err)
                    self.assertTrue(any("bounce" in line for line in session.lines), session.lines)
                finally:
                    session.kill()


if __name__ == "__main__":
    unittest.main(verbosity=2)
