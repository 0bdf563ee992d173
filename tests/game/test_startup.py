"""Start-up of the runner: finding and checking the appended game data, the
start-up messages, a minimal game run headless to its step limit, the exit
status and the removal of the temporary directory."""

import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamekit  # noqa: E402

RUNNER = Path(gamekit.RUNNER)

MARKER_SUM = 0xF7140067


# --- The envelope of the appended game data, for damaging it on purpose ---

def _crc_table():
    table = []
    for i in range(256):
        c = i
        for _ in range(8):
            c = (c >> 1) ^ 0xEDB88320 if c & 1 else c >> 1
        table.append(c)
    return table


CRC_TABLE = _crc_table()


def calc_crc(data):
    """CRC register without the final inversion."""
    reg = 0xFFFFFFFF
    for byte in data:
        reg = (reg >> 8) ^ CRC_TABLE[(reg ^ byte) & 0xFF]
    return reg


def scramble(payload, check, seed):
    """Applies (or removes: it is its own inverse) the payload keystream."""
    key = calc_crc(("VXGD%dLOCK" % seed).encode("utf-16-le"))
    z, w = check, key
    out = bytearray(payload)
    i = (key & 255) + 6
    while i < len(out) - 5:
        z = (36969 * (z & 0xFFFF) + (z >> 16)) & 0xFFFFFFFF
        w = (18000 * (w & 0xFFFF) + (w >> 16)) & 0xFFFFFFFF
        value = ((z << 16) + (w & 0xFFFF)) & 0xFFFFFFFF
        (word,) = struct.unpack_from("<I", out, i)
        struct.pack_into("<I", out, i, word ^ value)
        i += 4
    return out


def find_marker(data, start):
    for p in range(start, len(data) - 7):
        a, b = struct.unpack_from("<II", data, p)
        if ((a & 0xFF00FF00) + (b & 0x00FF00FF)) & 0xFFFFFFFF == MARKER_SUM:
            return p
    raise AssertionError("no marker in the game")


def rewrite_payload(game, runner_size, change):
    """Unscrambles the payload, passes it through change, and writes it back
    with a matching check value, so only the change itself is wrong."""
    data = bytearray(game)
    p = find_marker(data, runner_size)
    seed, check = struct.unpack_from("<II", data, p + 8)
    plain = scramble(data[p + 20:], check, seed)
    assert calc_crc(plain) == check
    plain = bytearray(change(bytearray(plain)))
    new_check = calc_crc(plain)
    struct.pack_into("<I", data, p + 12, new_check)
    return bytes(data[:p + 20]) + bytes(scramble(plain, new_check, seed))


# --- Packing and running ---

def pack_game(directory, files):
    """Packs a project given as gamekit files; returns the game's path."""
    project = Path(directory) / "project"
    gamekit.write_files(str(project), files)
    game = Path(directory) / "packed.game"
    code, _, err = gamekit.pack(str(project), str(game), "--runner", str(RUNNER))
    if code != 0:
        raise AssertionError("vexlo-pack failed: " + err)
    return game


def pack_minimal_game(directory, **manifest):
    """Packs a one-room game (manifest entries added to game.json)."""
    files = gamekit.minimal_project()
    files["game.json"].update(manifest)
    return pack_game(directory, files)


class StartupTest(unittest.TestCase):
    def setUp(self):
        self.work = Path(tempfile.mkdtemp(prefix="vexlo_startup_"))
        self.temp_base = self.work / "tmp"
        self.temp_base.mkdir()

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def run_game(self, exe, **switches):
        env = {k: v for k, v in os.environ.items() if k.lower() not in ("temp", "tmp")}
        env.update({"TMPDIR": str(self.temp_base), "VEXLO_HEADLESS": "1"})
        env.update({k: str(v) for k, v in switches.items()})
        env = {k: v for k, v in env.items() if v != ""}
        result = subprocess.run([str(exe)], env=env, capture_output=True, text=True,
                                timeout=120, cwd=self.work)
        self.assertEqual(list(self.temp_base.iterdir()), [],
                         "the temporary directory is left behind")
        return result

    def write_game(self, data):
        path = self.work / "game"
        path.write_bytes(data)
        path.chmod(0o755)
        return path

    def test_runner_without_game_is_not_valid(self):
        runner = RUNNER.read_bytes()
        for name, data in [("bare runner", runner),
                           ("fewer than 8 bytes after the image", runner + b"\0" * 7)]:
            with self.subTest(name):
                result = self.run_game(self.write_game(data))
                self.assertNotEqual(result.returncode, 0)
                self.assertEqual(result.stderr, "Error: Not a valid game file.\n")

    def test_damaged_game_data(self):
        runner_size = RUNNER.stat().st_size
        game = pack_minimal_game(self.work).read_bytes()
        p = find_marker(game, runner_size)

        def flip(offset):
            data = bytearray(game)
            data[offset] ^= 0x5A
            return bytes(data)

        def settings_version(plain):
            struct.pack_into("<i", plain, 12, 799)
            return plain

        def garbage_in_settings(plain):
            plain[20:30] = b"\xff" * 10
            return plain

        corrupted = "Failed to load the game data. File seems corrupted.\n"
        cases = [
            # A failed check ends the program at once, without a message.
            ("payload byte changed", flip(p + 200), ""),
            ("payload truncated", game[:-64], ""),
            ("header version", flip(p + 16), "Error: Wrong version number.\n"),
            ("settings version", rewrite_payload(game, runner_size, settings_version),
             "Error: Error in resource data.\n"),
            ("payload ends early", rewrite_payload(game, runner_size, lambda b: b[:26]),
             corrupted),
            ("corrupt compressed block",
             rewrite_payload(game, runner_size, garbage_in_settings), corrupted),
        ]
        for name, data, message in cases:
            with self.subTest(name):
                result = self.run_game(self.write_game(data), VEXLO_MAX_STEPS=5)
                self.assertNotEqual(result.returncode, 0)
                self.assertEqual(result.stderr, message)

    def test_minimal_game_runs_to_step_limit(self):
        games = {"plain": pack_minimal_game(self.work / "plain"),
                 "debug mode": pack_minimal_game(self.work / "debug", debug=True)}
        for name, game in games.items():
            for switches in [{"VEXLO_MAX_STEPS": 5}, {"VEXLO_MAX_STEPS": 30, "VEXLO_FAST": 1}]:
                with self.subTest(name, **switches):
                    result = self.run_game(game, **switches)
                    self.assertEqual(result.returncode, 0, result.stderr)
                    self.assertEqual(result.stderr, "")

    def test_failed_stage_stops_start_up(self):
        """A script that does not compile fails its stage: its message, no
        room is entered, a non-zero exit."""
        files = gamekit.minimal_project(
            objects={"o": {"create": 'show_debug_message("entered");'}},
            code={"scripts/broken.vxs": "x = ;"})
        files["game.json"]["resources"]["scripts"] = ["broken"]
        result = self.run_game(pack_game(self.work, files), VEXLO_MAX_STEPS=5)
        self.assertEqual(result.returncode, 1)
        self.assertTrue(result.stderr.endswith("\nFailed to compile the scripts.\n"),
                        result.stderr)
        self.assertEqual(result.stdout, "")

    def test_fatal_error_aborts_after_the_step(self):
        """With abort-on-errors every error is fatal: the game stops after
        the step that raised it, with a non-zero exit; without it the game
        goes on to its step limit and ends normally."""
        step = 'show_debug_message("step"); x = missing_variable;'
        for abort, code, steps in [(True, 2, 1), (False, 0, 4)]:
            with self.subTest(abort_on_errors=abort):
                files = gamekit.minimal_project(objects={"o": {"step": step}},
                                                settings={"abort_on_errors": abort})
                game = pack_game(self.work / str(abort), files)
                result = self.run_game(game, VEXLO_MAX_STEPS=4, VEXLO_FAST=1)
                self.assertEqual(result.returncode, code, result.stderr)
                self.assertEqual(result.stdout, "step\n" * steps)

    def test_fatal_error_wins_over_later_room_changes(self):
        """A fatal error followed in the same step by a room change, or
        raised by a room's end event while the game leaves it, ends the game:
        the next room is never entered."""
        cases = {
            "goto after the error": {"step": "x = missing_variable; room_goto_next();"},
            "error in room end": {"step": "room_goto_next();",
                                  "other:5": "x = missing_variable;"},
        }
        for name, events in cases.items():
            with self.subTest(name):
                files = gamekit.minimal_project(objects={"o": events},
                                                settings={"abort_on_errors": True})
                files["rooms/room1.json"] = {"code": "room1.vxs"}
                files["rooms/room1.vxs"] = 'show_debug_message("entered room1");'
                files["game.json"]["resources"]["rooms"].append("room1")
                files["game.json"]["room_order"].append("room1")
                game = pack_game(self.work / name.replace(" ", "_"), files)
                result = self.run_game(game, VEXLO_MAX_STEPS=4, VEXLO_FAST=1)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertNotIn("entered room1", result.stdout)

    def test_library_init_code_that_does_not_compile_ends_the_game(self):
        """Library initialisation code that does not compile is a fatal error
        at game start: the game ends before its first step, no room is
        entered, and the exit is non-zero. Code that compiles runs before
        the first room."""
        events = {"create": 'show_debug_message("create");',
                  "step": 'show_debug_message("step");'}
        cases = [("broken", "x = ;", 2, ""),
                 ("good", 'show_debug_message("init");', 0, "init\ncreate\nstep\nstep\n")]
        for name, text, code, stdout in cases:
            with self.subTest(name):
                files = gamekit.minimal_project(objects={"o": events},
                                                code={"library/init.vxs": text})
                files["game.json"]["library_init_code"] = ["library/init.vxs"]
                game = pack_game(self.work / name, files)
                result = self.run_game(game, VEXLO_MAX_STEPS=2, VEXLO_FAST=1)
                self.assertEqual(result.returncode, code, result.stderr)
                self.assertEqual(result.stdout, stdout)
                if code:
                    self.assertIn("COMPILATION ERROR in library initialization code",
                                  result.stderr)

    def test_termination_signal_ends_the_game_cleanly(self):
        """SIGTERM ends the game as game_end does: exit 0, nothing left."""
        game = pack_minimal_game(self.work)
        env = {k: v for k, v in os.environ.items() if k.lower() not in ("temp", "tmp")}
        env.update({"TMPDIR": str(self.temp_base), "VEXLO_HEADLESS": "1"})
        process = subprocess.Popen([str(game)], env=env, cwd=self.work,
                                   stderr=subprocess.PIPE, text=True)
        try:
            # The handlers are installed right after the temporary directory
            # is made; wait for it, then a little longer.
            deadline = time.monotonic() + 60
            while not list(self.temp_base.iterdir()) and time.monotonic() < deadline:
                time.sleep(0.02)
            time.sleep(0.3)
            process.send_signal(signal.SIGTERM)
            _, stderr = process.communicate(timeout=60)
        finally:
            if process.poll() is None:
                process.kill()
        self.assertEqual(process.returncode, 0, stderr)
        self.assertEqual(list(self.temp_base.iterdir()), [])

    def test_window_session_without_display(self):
        """The SDL backend (loading window, game window, message pump) on
        SDL's dummy video driver, which needs no display."""
        game = pack_minimal_game(self.work)
        result = self.run_game(game, VEXLO_HEADLESS="", VEXLO_MAX_STEPS=5,
                               SDL_VIDEODRIVER="dummy")
        self.assertEqual(result.returncode, 0, result.stderr)


if __name__ == "__main__":
    unittest.main()
