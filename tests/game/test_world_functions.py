"""Game world functions end to end: tiles stored with a room and added at
run time, time lines filled by game code, rooms made by game code, and the
F9 screenshot key (once the runner can write screenshots)."""

import os
import tempfile
import unittest

import gamekit
from test_world import obj, project, run

BACK_PNG = gamekit.png_bytes(2, 2, [(255, 0, 0, 255)] * 4)


def with_background(files):
    files["backgrounds/back.json"] = {"image": "back.png"}
    files["backgrounds/back.png"] = BACK_PNG
    files["game.json"]["resources"]["backgrounds"] = ["back"]
    return files


class WorldFunctionsGameTest(unittest.TestCase):
    def test_stored_tiles_keep_ids_and_new_tiles_go_above(self):
        files = with_background(project(
            {"builder": obj({
                "create": "t = tile_add(back, 0, 0, 2, 2, 40, 0, -1);"
                          "show_debug_message(t);"
                          "show_debug_message(tile_find(5, 5, false));"
                          "show_debug_message(tile_find(40, 1, true));"
                          "tile_layer_delete(1000);"
                          "show_debug_message(tile_exists(10000001));"
                          "game_end();",
            })},
            {"room0": {"instances": [{"object": "builder"}],
                       "tiles": [{"x": 0, "y": 0, "background": "back",
                                  "source": [0, 0, 16, 16], "depth": 1000}]}}))
        code, lines, err = run(files, max_steps=3)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["10000002", "10000001", "10000002", "0"])

    def test_time_line_built_by_game_code(self):
        files = project(
            {"clock": obj({
                "create": "t = timeline_add();"
                          "timeline_moment_add(t, 0, 'show_debug_message(\"zero\");');"
                          "timeline_moment_add(t, 2, 'show_debug_message(\"two\"); game_end();');"
                          "timeline_moment_add(t, 1, 'show_debug_message(\"one\");');"
                          "timeline_moment_clear(t, 1);"
                          "timeline_index = t; timeline_running = true;",
            })},
            {"room0": {"instances": [{"object": "clock"}]}})
        code, lines, err = run(files, max_steps=10)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["zero", "two"])

    def test_room_made_by_game_code_is_entered(self):
        files = project(
            {"maker": obj({
                "create": "r = room_add(); room_set_caption(r, 'made');"
                          "room_instance_add(r, 5, 6, guest); room_goto(r);",
            }),
             "guest": obj({
                 "create": "show_debug_message(room_caption + ' ' + string(x) + ' ' + string(y));"
                           "game_end();",
             })},
            {"room0": {"instances": [{"object": "maker"}]}})
        code, lines, err = run(files, max_steps=5)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["made 5 6"])

    @unittest.skipUnless(os.path.exists(os.path.join(gamekit.SOURCE_DIR, "graphics", "screen_save.h")),
                         "the runner cannot write screenshots yet")
    def test_f9_writes_the_next_free_screenshot(self):
        files = project(
            {"presser": obj({"create": "keyboard_key_press(vk_f9);"})},
            {"room0": {"instances": [{"object": "presser"}]}})
        with tempfile.TemporaryDirectory() as cwd:
            open(os.path.join(cwd, "screenshot100.png"), "wb").close()
            with gamekit.Project(files) as p:
                self.assertEqual(p.pack()[0], 0)
                code, _, err = gamekit.run_game(p.game, max_steps=3, cwd=cwd)
            self.assertEqual(code, 0, err)
            self.assertTrue(os.path.exists(os.path.join(cwd, "screenshot101.png")))


if __name__ == "__main__":
    unittest.main()
