"""Room transitions, end to end: a persistent controller leaves a red room
for a blue one with transition_kind set (built-in kinds and one defined by
game code), runs fast and headless, and saves the screen before and after;
the pictures show the old and then the new room, the steps go on after the
change, and a kind defined by game code is drawn once per frame with the
fractions 0 to 1."""

import os
import unittest

import gamekit

RED = (255, 0, 0, 255)
BLUE = (0, 0, 255, 255)
WIDTH, HEIGHT = 32, 24

CONTROLLER_CREATE = """
n = 0;
transition_define(100, "scr_wipe");
"""

CONTROLLER_STEP = """
n += 1;
show_debug_message("step " + string(n) + " in " + room_get_name(room));
if (n == 2) screen_save("before.png");
if (n == 3) {
  transition_kind = KIND;
  transition_steps = 4;
  room_goto_next();
}
if (n == 4) screen_save("first.png");
if (n == 6) screen_save("after.png");
"""

# A kind defined by game code: the old picture until half way, then the new.
WIPE = """
show_debug_message("frame " + string(argument4 * 4));
if (argument4 < 0.5) draw_surface(argument0, 0, 0); else draw_surface(argument1, 0, 0);
"""


def project(kind):
    room = {"width": WIDTH, "height": HEIGHT}
    return {
        "game.json": {
            "constants": [{"name": "KIND", "value": str(kind)}],
            "resources": {"scripts": ["scr_wipe"], "objects": ["ctrl"],
                          "rooms": ["rm_red", "rm_blue"]},
            "room_order": ["rm_red", "rm_blue"],
        },
        "scripts/scr_wipe.vxs": WIPE,
        "objects/ctrl.json": {"persistent": True, "events": [
            {"type": "create", "actions": [{"code": "ctrl/create.vxs"}]},
            {"type": "step", "number": 0, "actions": [{"code": "ctrl/step.vxs"}]}]},
        "objects/ctrl/create.vxs": CONTROLLER_CREATE,
        "objects/ctrl/step.vxs": CONTROLLER_STEP,
        "rooms/rm_red.json": dict(room, color=0x0000FF,
                                  instances=[{"x": 0, "y": 0, "object": "ctrl"}]),
        "rooms/rm_blue.json": dict(room, color=0xFF0000),
    }


def colours(path):
    """The set of colours in a screenshot, and its size."""
    width, height, rows = gamekit.read_png(path)
    return {p for row in rows for p in row}, (width, height)


class TransitionTest(unittest.TestCase):

    def run_kind(self, kind, max_steps=8):
        """Runs the game with the kind; returns (stdout lines, colours before,
        colours after). The picture of the new room's first step (its first
        frame, which the transition drew last) must equal the later one."""
        with gamekit.Project(project(kind)) as p:
            code, out, err = p.run(max_steps=max_steps)
            self.assertEqual(code, 0, err)
            self.assertEqual(err, "")
            before = colours(os.path.join(p.dir, "before.png"))
            after = colours(os.path.join(p.dir, "after.png"))
            first = colours(os.path.join(p.dir, "first.png"))
        self.assertEqual(first, after)
        return out.splitlines(), before, after

    def test_built_in_kinds_end_in_the_new_room_and_the_game_goes_on(self):
        kinds = [
            (1, "create from the left"),
            (6, "slide in from the left"),
            (10, "interlaced from the left"),
            (14, "push from the left"),
            (18, "rotate"),
            (20, "blend"),
            (21, "fade out and in"),
        ]
        for kind, label in kinds:
            with self.subTest(label, kind=kind):
                lines, before, after = self.run_kind(kind)
                self.assertEqual(before, ({RED}, (WIDTH, HEIGHT)))
                self.assertEqual(after, ({BLUE}, (WIDTH, HEIGHT)))
                steps = [line for line in lines if line.startswith("step ")]
                self.assertEqual(steps, ["step 1 in rm_red", "step 2 in rm_red",
                                         "step 3 in rm_red"] +
                                 ["step %d in rm_blue" % n for n in range(4, 9)])

    def test_a_kind_defined_by_game_code_draws_every_frame(self):
        lines, before, after = self.run_kind(100)
        self.assertEqual(before, ({RED}, (WIDTH, HEIGHT)))
        self.assertEqual(after, ({BLUE}, (WIDTH, HEIGHT)))
        # transition_steps = 4: five frames, played once, when the new room
        # is entered (before its first step), in place of its first drawing.
        self.assertEqual(lines, ["step 1 in rm_red", "step 2 in rm_red", "step 3 in rm_red",
                                 "frame 0", "frame 1", "frame 2", "frame 3", "frame 4"] +
                         ["step %d in rm_blue" % n for n in range(4, 9)])

    def test_no_transition_without_a_kind(self):
        lines, before, after = self.run_kind(0)
        self.assertEqual(after, ({BLUE}, (WIDTH, HEIGHT)))
        self.assertNotIn("frame 0", lines)


if __name__ == "__main__":
    unittest.main()
