"""The bundled example game, end to end: packed as it stands, run headless,
it saves its screen at a fixed step (its constant SCREENSHOT_FILE names the
file), and the picture holds the walls, the sky background and a tile, the
caption panel with its text, the balls and the star where the game's rules
put them. A longer run shows both rooms taking turns, the balls bouncing and
the score growing."""

import json
import os
import re
import unittest

import gamekit

SHOWCASE = os.path.join(gamekit.EXAMPLES, "showcase")

WALL_EDGE = (90, 90, 110, 255)
WALL_INSIDE = (150, 150, 170, 255)
NAVY = (0, 0, 128, 255)
WHITE = (255, 255, 255, 255)
STAR_INSIDE = (255, 230, 40, 255)
PANEL = (24, 24, 295, 47)  # left, top, right, bottom, inclusive


def sky(x, y):
    """The room pixel (x, y) of the tiled 32 x 32 sky background."""
    return (40 + y % 32, 80 + y % 32, 200, 255)


def ball_pixels(cx, cy):
    """The pixels a ball covers when its origin (8, 8) is at (cx, cy)."""
    return {(cx - 8 + i, cy - 8 + j) for j in range(16) for i in range(16)
            if (i - 7.5) ** 2 + (j - 7.5) ** 2 <= 56}


def ball_colour(frame):
    return (255 - frame * 40, 60 + frame * 30, 40, 255)


def showcase(screenshot=None):
    """A copy of the example; with screenshot, its SCREENSHOT_FILE constant
    names that file."""
    p = gamekit.Project(copy_from=SHOWCASE)
    if screenshot:
        with open(p.path("game.json")) as f:
            manifest = json.load(f)
        for constant in manifest["constants"]:
            if constant["name"] == "SCREENSHOT_FILE":
                constant["value"] = json.dumps(screenshot)
        p.write({"game.json": manifest})
    return p


class ShowcaseScreenTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        with showcase("shot.png") as p:
            code, cls.out, cls.err = p.run(max_steps=12)
            if code != 0:
                raise AssertionError("game failed (%d): %s" % (code, cls.err))
            shot = os.path.join(p.dir, "shot.png")
            if not os.path.exists(shot):
                raise AssertionError("no screenshot; stderr: %s" % cls.err)
            cls.width, cls.height, cls.rows = gamekit.read_png(shot)

    def pixel(self, x, y):
        return self.rows[y][x]

    def test_the_run_is_clean_and_says_it_saved(self):
        self.assertEqual(self.err, "")
        self.assertIn("screenshot saved\n", self.out)
        self.assertEqual((self.width, self.height), (640, 480))

    def test_walls_line_the_room_over_the_sky(self):
        cases = [
            ("top-left corner block, rim", (0, 0), WALL_EDGE),
            ("top-left corner block, inside", (8, 8), WALL_INSIDE),
            ("bottom-right corner block, rim", (639, 479), WALL_EDGE),
            ("right wall, inside", (632, 248), WALL_INSIDE),
            ("bottom wall, rim of two blocks", (320, 470), WALL_EDGE),
            ("sky inside the walls", (600, 440), sky(600, 440)),
            ("sky just inside the top-left corner", (16, 16), sky(16, 16)),
            ("sky below the panel", (296, 48), sky(296, 48)),
            # A tile: the top half of the sky image at (576, 400).
            ("tile, first row", (580, 400), sky(580, 0)),
            ("tile, last row", (607, 415), sky(607, 15)),
            ("sky below the tile", (580, 416), sky(580, 416)),
        ]
        for label, (x, y), colour in cases:
            with self.subTest(label):
                self.assertEqual(self.pixel(x, y), colour, (x, y))

    def test_caption_panel_holds_white_text(self):
        left, top, right, bottom = PANEL
        for x, y in ((left, top), (right, top), (left, bottom), (right, bottom)):
            self.assertEqual(self.pixel(x, y), NAVY, (x, y))
        self.assertEqual(self.pixel(left - 1, top - 1), sky(left - 1, top - 1))
        white = {(x, y) for y, row in enumerate(self.rows) for x, p in enumerate(row)
                 if p == WHITE}
        self.assertGreater(len(white), 20, "no text drawn")
        inside = {(x, y) for x, y in white if left < x < right and top < y < bottom}
        self.assertEqual(white, inside, "white pixels outside the panel")
        # The text starts at x = 32 and fills more than one word's width.
        self.assertGreaterEqual(min(x for x, _ in white), 32)
        self.assertGreater(max(x for x, _ in white) - min(x for x, _ in white), 100)

    def test_balls_are_where_their_speeds_put_them(self):
        # The screenshot of step 10 is the frame drawn after step 9: the
        # balls have moved 9 times and shown 9 quarter-frames (frame 2).
        colour = ball_colour(2)
        drawn = {(x, y) for y, row in enumerate(self.rows) for x, p in enumerate(row)
                 if p == colour}
        expected = ball_pixels(320 + 9 * 4, 240 - 9 * 3) | ball_pixels(160 - 9 * 3, 360 + 9 * 2)
        self.assertEqual(drawn, expected)

    def test_the_star_walks_the_top_edge_of_its_path(self):
        star = [(x, y) for y, row in enumerate(self.rows) for x, p in enumerate(row)
                if p == STAR_INSIDE]
        # The inside of the diamond: texels at distance 5 or less from its centre.
        self.assertEqual(len(star), sum(1 for j in range(12) for i in range(12)
                                        if abs(i - 5.5) + abs(j - 5.5) <= 5))
        xs, ys = [x for x, _ in star], [y for _, y in star]
        self.assertEqual((min(ys), max(ys)), (64 - 6 + 1, 64 + 4))
        # It started at (64, 64) and moves right at less than 2 pixels a step.
        self.assertGreater(min(xs) + 5, 64)
        self.assertLess(min(xs) + 5, 64 + 9 * 2)


class ShowcaseRunTest(unittest.TestCase):

    def test_rooms_take_turns_and_the_score_grows(self):
        with showcase() as p:
            code, out, err = p.run(max_steps=320)
        self.assertEqual(code, 0, err)
        self.assertEqual(err, "")
        lines = out.splitlines()
        self.assertEqual(lines[:8], [
            "hello from the showcase", "hello, player", "the ball is placed",
            "ball created at 320,240", "ball created at 160,360",
            "the star follows path_square", "room rm_main starts", "time line: start"])
        rooms = [line for line in lines if line.startswith("room ")]
        self.assertEqual(rooms, ["room rm_main starts", "room rm_night starts",
                                 "room rm_main starts"])
        scores = [int(m.group(1)) for m in map(re.compile(r"bounce, score (\d+)$").match, lines)
                  if m]
        self.assertGreater(len(scores), 3)
        self.assertEqual(scores, list(range(1, len(scores) + 1)))
        self.assertIn("a ball reached the right side", lines)
        self.assertNotIn("screenshot saved", lines)
        # Steps go on in the night room after the transition.
        night = lines.index("room rm_night starts")
        self.assertTrue(any(line.startswith("steps: 120, balls: 1, score: ")
                            for line in lines[night:]), lines[night:])


if __name__ == "__main__":
    unittest.main()
