"""Motion end to end: packed games run headless and report positions
through show_debug_message. An instance follows a path to its end (with the
End of Path event), one moves to contact with a solid wall, and one bounces
off it."""

import unittest

import gamekit

SOLID_PNG = gamekit.png_bytes(16, 16, [(255, 255, 255, 255)] * 256)


def project(objects, instances, paths=None):
    """objects: name -> (fields, events); events map "type" or "type:number"
    (or "collision:OBJECT") to code. One room of 320 x 240 with the
    instances [(object, x, y), ...] and a 16 x 16 block sprite."""
    files = {"sprites/spr_block.json": {"frames": ["spr_block/0.png"],
                                        "mask": {"kind": "rectangle", "bbox": "full"}},
             "sprites/spr_block/0.png": SOLID_PNG}
    for name, (fields, events) in objects.items():
        event_files, event_list = gamekit.object_events(name, events)
        files.update(event_files)
        files["objects/%s.json" % name] = dict(fields, events=event_list)
    for name, path in (paths or {}).items():
        files["paths/%s.json" % name] = path
    files["rooms/room0.json"] = {
        "width": 320, "height": 240,
        "instances": [{"object": o, "x": x, "y": y} for o, x, y in instances]}
    files["game.json"] = {
        "settings": {},
        "resources": {"sprites": ["spr_block"], "objects": list(objects),
                      "paths": list(paths or {}), "rooms": ["room0"]},
        "room_order": ["room0"],
    }
    return files


def say_position(extra=""):
    return "show_debug_message(string(x) + ' ' + string(y)%s);" % extra


class MotionGameTest(unittest.TestCase):
    def test_instance_follows_a_path_to_its_end(self):
        files = project(
            {"walker": ({}, {
                "create": "path_start(pth_line, 5, 0, true);",
                "step:2": say_position(" + ' ' + string(path_position)"),
                "other:8": "show_debug_message('end ' + string(x));",
            })},
            [("walker", 0, 0)],
            {"pth_line": {"closed": False, "points": [[10, 10], [30, 10]]}})
        code, lines, err = gamekit.run_lines(files, max_steps=5)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["15 10 0.25", "20 10 0.50", "25 10 0.75", "end 30",
                                 "30 10 1", "30 10 1"])

    def test_path_restart_and_reverse_keep_going(self):
        files = project(
            {"walker": ({}, {
                "create": "path_start(pth_line, 8, 3, true);",
                # Rounded: 2 - 1.2 is 0.8 only up to the last bit.
                "step:2": "show_debug_message(string(round(x)) + ' ' + string(y));",
            })},
            [("walker", 0, 0)],
            {"pth_line": {"closed": False, "points": [[0, 0], [20, 0]]}})
        code, lines, err = gamekit.run_lines(files, max_steps=6)
        self.assertEqual(code, 0, err)
        # 0.4 per step: 8, 16, then 1.2 turns back to 0.8 (16), 8, 0, 8.
        self.assertEqual(lines, ["8 0", "16 0", "16 0", "8 0", "0 0", "8 0"])

    def test_move_contact_solid_stops_at_the_wall(self):
        files = project(
            {"wall": ({"sprite": "spr_block", "solid": True}, {}),
             "ball": ({"sprite": "spr_block"}, {
                 "create": "move_contact_solid(0, -1); " + say_position() +
                           " move_contact_solid(0, -1); " + say_position(),
             })},
            [("wall", 100, 0), ("ball", 0, 0)])
        code, lines, err = gamekit.run_lines(files, max_steps=1)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["84 0", "84 0"])

    def test_ball_bounces_off_the_wall(self):
        files = project(
            {"wall": ({"sprite": "spr_block", "solid": True}, {}),
             "ball": ({"sprite": "spr_block"}, {
                 "create": "hspeed = 4;",
                 "collision:wall": "move_bounce_solid(false);",
                 "step:2": "show_debug_message(string(x) + ' ' + string(hspeed));",
             })},
            [("wall", 100, 0), ("ball", 76, 0)])
        code, lines, err = gamekit.run_lines(files, max_steps=5)
        self.assertEqual(code, 0, err)
        # At 88 it would overlap the wall: put back to 84, turned round, and
        # moved on by the new speed in the same step.
        self.assertEqual(lines, ["80 4", "84 4", "80 -4", "76 -4", "72 -4"])


if __name__ == "__main__":
    unittest.main()
