"""Saved games, end to end: packed games run headless, save and load through
game_save/game_load and the F5/F6 keys, and report their state through
show_debug_message. The resource depth of the object "marker" counts the
phases: object resources are not part of a saved game, so the count goes on
across a load while everything the file holds goes back."""

import os
import shutil
import tempfile
import unittest

import gamekit

GAME_ID = 4242

# Every state a saved game holds that game code can read: the game values,
# a global, each active instance with its motion, alarm, path and time line
# state and variables, the tile and the deactivated count.
REPORT = """
var t; t = argument0;
show_debug_message(t + ' room=' + string(room) + ' score=' + string(score) + ' lives=' +
  string(lives) + ' health=' + string(health) + ' level=' + string(global.level) +
  ' sleepers=' + string(instance_number(sleeper)));
with (all) show_debug_message(t + ' ' + string(id) + ' ' + object_get_name(object_index) +
  ' at ' + string(x) + ',' + string(y) + ' speed ' + string(hspeed) + ',' + string(vspeed) +
  ' alarm ' + string(alarm[0]) + ' path ' + string(path_index) + ':' + string(path_position) +
  ' line ' + string(timeline_index) + ':' + string(timeline_position) + ':' + string(timeline_running));
with (box) show_debug_message(t + ' box ' + string(id) + ' v=' + string(v) + ' arr=' + arr[3]);
show_debug_message(t + ' tile ' + string(tile_exists(global.tile)) + ' ' +
  string(tile_get_x(global.tile)) + ',' + string(tile_get_y(global.tile)));
"""

SETUP = """
score = 10; lives = 3; health = 50; global.level = 7;
with (box) { v = id - 100000; arr[3] = 'three' + string(v); alarm[0] = 40 + v; hspeed = v; }
with (walker) path_start(pth, 2, 0, 0);
with (timed) { timeline_index = tl; timeline_position = 4; timeline_running = true; }
global.tile = tile_add(bg, 0, 0, 8, 8, 32, 48, 1000);
instance_deactivate_object(sleeper);
"""

MUTATE = """
score = 0; lives = 9; health = 100; global.level = -1;
with (box) { v = -1; arr[3] = 'gone'; x += 100; alarm[0] = 1; }
with (walker) path_end();
tile_delete(global.tile);
instance_activate_object(sleeper);
with (sleeper) instance_destroy();
instance_create(1, 2, box);
"""


def project(controller_begin_step, game_id=GAME_ID, extra_objects=None):
    objects = {
        "ctl": {"step:1": controller_begin_step},
        "box": {"create": "v = 0; arr[3] = 'none';"},
        "walker": {},
        "timed": {},
        "sleeper": {},
        "marker": {},
    }
    objects.update(extra_objects or {})
    files = {"scripts/scr_report.vxs": REPORT}
    names = list(objects)
    for name in names:
        event_files, event_list = gamekit.object_events(name, objects[name])
        files.update(event_files)
        files["objects/%s.json" % name] = {"events": event_list}
    files["backgrounds/bg.json"] = {"image": "bg.png"}
    files["backgrounds/bg.png"] = gamekit.png_of(16, 16, lambda x, y: (x * 16, y * 16, 0, 255))
    files["paths/pth.json"] = {"points": [[0, 0], [200, 0], [200, 200]], "closed": False}
    files["timelines/tl.json"] = {"moments": [{"step": 100, "actions": []}]}
    files["rooms/room0.json"] = {"instances": [
        {"object": "ctl"},
        {"object": "box", "x": 10, "y": 20},
        {"object": "box", "x": 30, "y": 40},
        {"object": "walker", "x": 50, "y": 60},
        {"object": "timed"},
        {"object": "sleeper", "x": 70, "y": 80},
    ]}
    files["game.json"] = {
        "game_id": game_id,
        "settings": {},
        "resources": {"objects": names, "rooms": ["room0"], "scripts": ["scr_report"],
                      "backgrounds": ["bg"], "paths": ["pth"], "timelines": ["tl"]},
        "room_order": ["room0"],
    }
    return files


def phases(*bodies):
    """Begin-step code running bodies[g] in phase g (the marker's depth);
    each body moves to the next phase before it runs."""
    parts = ["var g; g = object_get_depth(marker);"]
    for g, body in enumerate(bodies):
        parts.append("if (g == %d) { object_set_depth(marker, %d); %s }" % (g, g + 1, body))
    return "\n".join(parts)


def active_count_offset(data):
    """Offset of the first room's active instance count in a saved game
    (read along the layout: game values, globals block, room slot, room
    record up to its instance lists)."""
    import struct

    def integer(at):
        return struct.unpack_from("<i", data, at)[0]

    def string_end(at):
        return at + 4 + max(0, integer(at))

    def value_end(at):
        return string_end(at + 12)

    at = 44  # version, game id, room, transition, score, lives, health, cursor, steps, drawing
    assert integer(at) == 700 and integer(at + 4) == 440
    count, at = integer(at + 8), at + 12
    for _ in range(count):
        at = value_end(at + 4)
        rows, at = integer(at), at + 4
        for _ in range(rows):
            columns, at = integer(at), at + 4
            for _ in range(columns):
                at = value_end(at)
    at += 4 + 4 * integer(at)  # declared-global flags
    at += 8  # room count, the first slot's flag
    assert integer(at) == 540
    at = string_end(at + 4)  # caption
    at = string_end(at + 24)  # width, height, speed, persistent, colour, show colour; code
    at += 4 + 8 * 80 + 4  # backgrounds, views enabled
    return at + 4 + 8 * 64


def with_integer(data, at, value):
    import struct
    return data[:at] + struct.pack("<i", value) + data[at + 4:]


def huge_instance_count(data):
    """The saved room's active instance count (5) claims two billion."""
    import struct
    at = active_count_offset(data)
    assert struct.unpack_from("<i", data, at)[0] == 5
    return with_integer(data, at, 2000000000)


def tagged(lines, tag):
    return [line[len(tag) + 1:] for line in lines if line.startswith(tag + " ")]


class SaveGameTest(unittest.TestCase):
    def test_round_trip_restores_every_field(self):
        code = phases(
            SETUP + "scr_report('saved'); game_save('slot.sav');",
            MUTATE + "scr_report('changed'); game_load('slot.sav'); show_debug_message('requested');",
            "scr_report('loaded'); instance_activate_object(sleeper);",
            "with (sleeper) show_debug_message('sleeper ' + string(id) + ' ' + string(x) + ',' + string(y));"
            " game_end();")
        code_, lines, err = gamekit.run_lines(project(code), max_steps=20)
        self.assertEqual(code_, 0, err)
        saved, loaded = tagged(lines, "saved"), tagged(lines, "loaded")
        self.assertGreater(len(saved), 6)
        self.assertEqual(loaded, saved)
        self.assertNotEqual(tagged(lines, "changed"), saved)
        self.assertIn("room=0 score=10 lives=3 health=50 level=7 sleepers=0", saved)
        self.assertTrue(any("box 100002 v=2 arr=three2" in s for s in saved), saved)
        self.assertTrue(any("alarm 42" in s for s in saved), saved)
        self.assertTrue(any("line 0:4:1" in s for s in saved), saved)
        self.assertIn("tile 1 32,48", saved)
        # game_load waits for the end of the step; the deactivated
        # instance came back deactivated and can be activated again.
        self.assertIn("requested", lines)
        self.assertIn("sleeper 100006 70,80", lines)

    def test_quick_save_and_load_keys(self):
        code = phases(
            SETUP + "keyboard_key_press(116);",
            # F5 saved at the start of this step, before its events.
            "keyboard_key_release(116); scr_report('saved');" + MUTATE + "keyboard_key_press(117);",
            "keyboard_key_release(117); scr_report('loaded'); game_end();")
        with gamekit.Project(project(code)) as p:
            code_, out, err = p.run(max_steps=20)
            quick_save = os.path.join(p.dir, "_save%d.sav" % GAME_ID)
            self.assertTrue(os.path.exists(quick_save))
        lines = out.splitlines()
        self.assertEqual(code_, 0, err)
        saved = tagged(lines, "saved")
        self.assertGreater(len(saved), 6)
        self.assertEqual(tagged(lines, "loaded"), saved)

    def test_quick_load_without_a_file_does_nothing(self):
        code = phases("score = 5; keyboard_key_press(117);",
                      "keyboard_key_release(117); show_debug_message('score ' + string(score)); game_end();")
        code_, lines, err = gamekit.run_lines(project(code), max_steps=10)
        self.assertEqual(code_, 0, err)
        self.assertEqual(lines, ["score 5"])
        self.assertEqual(err.strip(), "")

    def run_loader(self, saved_bytes, game_id):
        """Packs a game that saves slot.sav and a loader with game_id that
        loads it; the file the loader sees is saved_bytes(original bytes).
        Returns the loader's (exit code, output lines, stderr)."""
        saver = phases(SETUP + "game_save('slot.sav'); game_end();")
        loader = phases(
            "score = 1; global.level = 2; global.tile = -1; scr_report('before'); game_load('slot.sav');",
            "scr_report('after'); game_end();")
        with gamekit.Project(project(saver)) as s, gamekit.Project(project(loader, game_id)) as l:
            self.assertEqual(s.pack()[0], 0)
            self.assertEqual(l.pack()[0], 0)
            code_, _, err = gamekit.run_game(s.game, cwd=l.dir)
            self.assertEqual(code_, 0, err)
            path = os.path.join(l.dir, "slot.sav")
            with open(path, "rb") as f:
                data = f.read()
            with open(path, "wb") as f:
                f.write(saved_bytes(data))
            code_, out, err = gamekit.run_game(l.game, max_steps=10, cwd=l.dir)
        return code_, out.splitlines(), err

    def test_another_run_of_the_same_game_reads_the_file(self):
        code_, lines, err = self.run_loader(lambda data: data, GAME_ID)
        self.assertEqual(code_, 0, err)
        self.assertIn("room=0 score=10 lives=3 health=50 level=7 sleepers=0", tagged(lines, "after"))

    def test_files_that_cannot_be_loaded_leave_the_game_untouched(self):
        cases = [
            ("other game", lambda data: data, GAME_ID + 1, "This is a save file for a different game!"),
            ("truncated", lambda data: data[:len(data) // 2], GAME_ID, "Failed to load game from file slot.sav"),
            ("two bytes", lambda data: data[:2], GAME_ID, "Failed to load game from file slot.sav"),
            ("huge instance count",
             huge_instance_count, GAME_ID,
             "Failed to load game from file slot.sav"),
        ]
        for name, change, game_id, message in cases:
            with self.subTest(name):
                code_, lines, err = self.run_loader(change, game_id)
                self.assertEqual(code_, 0, err)
                self.assertIn(message, err)
                self.assertEqual(tagged(lines, "after"), tagged(lines, "before"))

    def test_secure_mode_from_the_store_refuses_saves_with_a_path(self):
        work = tempfile.mkdtemp(prefix="vexlo_save_secure_")
        try:
            env = {"XDG_CONFIG_HOME": os.path.join(work, "config")}
            os.makedirs(os.path.join(work, "sub"))
            turn_on = phases("registry_write_real_ext('\\Software\\Vexlo\\Version 8\\Preferences', "
                             "'Warning', 1); game_end();")
            save = phases("game_save('sub/a.sav'); game_save('sub\\b.sav'); game_save('here.sav');"
                          "show_debug_message(secure_mode); game_end();")
            outputs = []
            for code in (turn_on, save):
                with gamekit.Project(project(code)) as p:
                    self.assertEqual(p.pack()[0], 0)
                    game = os.path.join(work, "game")
                    shutil.copy(p.game, game)
                rc, out, err = gamekit.run_game(game, env=env, cwd=work)
                self.assertEqual(rc, 0, err)
                outputs.append((out.splitlines(), err))
            lines, err = outputs[1]
            self.assertEqual(lines, ["1"])
            self.assertIn("In secure mode you cannot save game to file sub/a.sav", err)
            self.assertIn("In secure mode you cannot save game to file sub\\b.sav", err)
            self.assertEqual(os.listdir(os.path.join(work, "sub")), [])
            self.assertTrue(os.path.exists(os.path.join(work, "here.sav")))
        finally:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
