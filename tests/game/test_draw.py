"""Drawing functions, end to end: a game draws in its draw event and saves
the screen; the PNG is decoded with gamekit and pixels are checked:
rectangle corners and outlines, points, line ends, blend modes, and text
placement and alignment with an atlas font whose glyphs are known."""

import os
import unittest

import gamekit

BLACK = (0, 0, 0)
RED = (255, 0, 0)
GREEN = (0, 255, 0)
WHITE = (255, 255, 255)
YELLOW = (255, 255, 0)


# A 16 x 8 atlas: glyph 'A' is a solid 4 x 6 block at (0, 0), glyph 'B' a
# solid 2 x 6 block at (8, 0). 'A' advances 6 and is drawn 1 to the right;
# 'B' advances 3 with no offset.
ATLAS = gamekit.png_of(16, 8, lambda x, y: (255, 255, 255,
                                             255 if (x < 4 or 8 <= x < 10) and y < 6 else 0))
FONT = {"atlas": {"width": 16, "height": 8, "image": "fnt_box.png",
                  "glyphs": {"65": [0, 0, 4, 6, 6, 1], "66": [8, 0, 2, 6, 3, 0],
                             "32": [0, 0, 0, 6, 5, 0]}},
        "face": "Box", "size": 6, "first": 32, "last": 127}


def solid(width, height, colour):
    return gamekit.png_bytes(width, height, [colour + (255,)] * (width * height))


# Two 4 x 4 images, red then green, origin (1, 1).
SPRITE = {"origin": [1, 1], "frames": ["spr_box/0.png", "spr_box/1.png"]}


def draw_project(draw_code, width=80, height=60):
    """One room of width x height (black); one object whose draw event runs
    draw_code and then saves the screen as shot.png in the first step
    (draw_code sees saved false only then)."""
    files = {
        "objects/painter.json": {"events": [
            {"type": "create", "number": 0, "actions": [{"code": "painter/create_0.vxs"}]},
            {"type": "draw", "number": 0, "actions": [{"code": "painter/draw_0.vxs"}]}]},
        "objects/painter/create_0.vxs": "saved = false;",
        "objects/painter/draw_0.vxs":
            draw_code + "\nif (!saved) { screen_save('shot.png'); saved = true; }\n",
        "rooms/room0.json": {"width": width, "height": height, "color": 0,
                             "instances": [{"object": "painter"}]},
        "fonts/fnt_box.json": FONT,
        "fonts/fnt_box.png": ATLAS,
        "sprites/spr_box.json": SPRITE,
        "sprites/spr_box/0.png": solid(4, 4, RED),
        "sprites/spr_box/1.png": solid(4, 4, GREEN),
        "game.json": {"settings": {}, "resources": {"objects": ["painter"], "rooms": ["room0"],
                                                    "fonts": ["fnt_box"], "sprites": ["spr_box"]},
                      "room_order": ["room0"]},
    }
    return files


def shot(draw_code, **size):
    """Runs the game for two steps; returns (pixels, stdout, stderr)."""
    with gamekit.Project(draw_project(draw_code, **size)) as p:
        code, out, err = p.run(max_steps=2)
        path = os.path.join(p.dir, "shot.png")
        if not os.path.exists(path):
            raise AssertionError("no screenshot (exit %d): %s" % (code, err))
        _, _, pixels = gamekit.read_png(path)
    return pixels, out, err


def rgb(pixels, x, y):
    return pixels[y][x][:3]


class DrawShapesTest(unittest.TestCase):
    def test_rectangles_points_and_lines(self):
        pixels, _, err = shot(
            "draw_set_color(c_red); draw_rectangle(10, 10, 20, 15, false);"
            "draw_set_color(c_lime); draw_rectangle(40, 30, 30, 20, true);"
            "draw_set_color(c_white); draw_point(5, 5);"
            "draw_set_color(c_red); draw_line(50, 40, 60, 40);")
        # Filled: both corners inclusive, nothing outside.
        for x, y in [(10, 10), (20, 10), (10, 15), (20, 15), (15, 12)]:
            self.assertEqual(rgb(pixels, x, y), RED, (x, y, err))
        for x, y in [(9, 10), (21, 10), (10, 9), (10, 16), (21, 16)]:
            self.assertEqual(rgb(pixels, x, y), BLACK, (x, y))
        # Outline: the corners sorted, all four edges drawn, the inside empty.
        for x, y in [(30, 20), (40, 20), (30, 30), (35, 20), (40, 25), (35, 30), (30, 25)]:
            self.assertEqual(rgb(pixels, x, y), GREEN, (x, y))
        for x, y in [(35, 25), (29, 25), (41, 25), (35, 31)]:
            self.assertEqual(rgb(pixels, x, y), BLACK, (x, y))
        self.assertEqual(rgb(pixels, 5, 5), WHITE)
        self.assertEqual(rgb(pixels, 6, 5), BLACK)
        self.assertEqual(rgb(pixels, 5, 6), BLACK)
        # A line covers its start and its inside, and nothing beyond the end.
        for x in (50, 55, 59):
            self.assertEqual(rgb(pixels, x, 40), RED, x)
        self.assertEqual(rgb(pixels, 49, 40), BLACK)
        self.assertEqual(rgb(pixels, 61, 40), BLACK)

    def test_blend_modes(self):
        pixels, _, _ = shot(
            "draw_set_blend_mode(bm_add);"
            "draw_set_color(c_red); draw_rectangle(0, 0, 9, 9, false);"
            "draw_set_color(c_lime); draw_rectangle(5, 0, 14, 9, false);"
            "draw_set_blend_mode(bm_normal);"
            "draw_set_color(c_white); draw_set_alpha(0.5); draw_rectangle(20, 0, 29, 9, false);"
            "draw_set_alpha(1);"
            "draw_set_blend_mode_ext(bm_zero, bm_src_color);"
            "draw_set_color(c_red); draw_rectangle(0, 20, 9, 29, false);"
            "draw_set_blend_mode(bm_normal);")
        self.assertEqual(rgb(pixels, 2, 2), RED)
        self.assertEqual(rgb(pixels, 7, 2), YELLOW)
        self.assertEqual(rgb(pixels, 12, 2), GREEN)
        r, g, b = rgb(pixels, 25, 5)
        for v in (r, g, b):
            self.assertIn(v, (127, 128))
        # zero * source + source colour * destination: red on black is black.
        self.assertEqual(rgb(pixels, 5, 25), BLACK)

    def test_colour_functions_and_getpixel(self):
        _, out, err = shot(
            "draw_set_color(make_color_rgb(10, 20, 30)); draw_rectangle(0, 0, 4, 4, false);"
            "if (!saved) {"
            "show_debug_message(draw_getpixel(2, 2) == make_color_rgb(10, 20, 30));"
            "show_debug_message(draw_get_color());"
            "show_debug_message(merge_color(c_black, c_white, 0.5));"
            "show_debug_message(make_color_hsv(0, 255, 255)); }")
        self.assertEqual(out.splitlines()[:4],
                         ["1", str(10 + 20 * 256 + 30 * 65536), str(0x808080), "255"], err)


class DrawPrimitiveTest(unittest.TestCase):
    def test_vertex_list_keeps_the_first_1001(self):
        # Points at (i mod 80, i div 80): the 1001st (i = 1000) is drawn, the
        # 1002nd is not.
        pixels, _, err = shot(
            "draw_set_color(c_white); draw_primitive_begin(pr_pointlist);"
            "for (i = 0; i < 1200; i += 1) draw_vertex(i mod 80, i div 80);"
            "draw_primitive_end();"
            "draw_primitive_begin(7); draw_vertex(70, 50); draw_primitive_end();")
        self.assertEqual(rgb(pixels, 0, 0), WHITE, err)
        self.assertEqual(rgb(pixels, 1000 % 80, 1000 // 80), WHITE)
        self.assertEqual(rgb(pixels, 1001 % 80, 1001 // 80), BLACK)
        self.assertEqual(rgb(pixels, 70, 50), BLACK)  # kind 7 draws nothing


class DrawSpriteTest(unittest.TestCase):
    def test_sprite_forms(self):
        pixels, _, err = shot(
            "draw_sprite(spr_box, 0, 20, 20);"
            "draw_sprite_ext(spr_box, 1, 40, 20, 2, 2, 0, c_white, 1);"
            "draw_sprite_stretched(spr_box, 0, 60, 20, 6, 2);"
            "draw_sprite_part(spr_box, 1, 0, 0, 2, 2, 10, 40);"
            "draw_sprite(spr_box, -1, 70, 50);"  # image_index 0
            "draw_sprite(spr_box, 3, 20, 50);")  # wraps to image 1
        def box(x0, y0, x1, y1, colour):
            for x, y in [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]:
                self.assertEqual(rgb(pixels, x, y), colour, (x, y, err))
            for x, y in [(x0 - 1, y0), (x1 + 1, y1), (x0, y0 - 1), (x1, y1 + 1)]:
                self.assertEqual(rgb(pixels, x, y), BLACK, (x, y))
        box(19, 19, 22, 22, RED)      # origin (1, 1)
        box(38, 18, 45, 25, GREEN)    # scaled about the origin
        box(60, 20, 65, 21, RED)      # origin ignored
        box(10, 40, 11, 41, GREEN)
        box(69, 49, 72, 52, RED)
        box(19, 49, 22, 52, GREEN)

    def test_missing_sprite_is_reported(self):
        _, _, err = shot("draw_sprite(7, 0, 0, 0);")
        self.assertIn("Trying to draw non-existing sprite.", err)


class DrawTextTest(unittest.TestCase):
    def test_sprite_font_text(self):
        # 'A' is image 0 (red), 'B' image 1 (green); each advances 4 + 1 and
        # is drawn with the sprite's origin (1, 1).
        pixels, _, err = shot(
            "draw_set_color(c_white); draw_set_font(font_add_sprite(spr_box, ord('A'), false, 1));"
            "draw_text(30, 40, 'AB'); draw_text(30, 50, 'A?A');")
        for x, y, colour in [
                (29, 39, RED), (32, 42, RED), (34, 39, GREEN), (37, 42, GREEN),
                (33, 40, BLACK), (38, 40, BLACK), (28, 40, BLACK),
                # '?' is outside the font: it advances like the first
                # character and draws nothing.
                (29, 49, RED), (34, 49, BLACK), (39, 49, RED)]:
            self.assertEqual(rgb(pixels, x, y), colour, (x, y, err))

    def test_atlas_text_placement_and_alignment(self):
        pixels, _, err = shot(
            "draw_set_font(fnt_box); draw_set_color(c_white);"
            "draw_text(10, 10, 'AB');"
            "draw_set_halign(fa_right); draw_text(60, 10, 'A');"
            "draw_set_halign(fa_center); draw_set_valign(fa_bottom); draw_text(40, 40, 'A#A');"
            "draw_set_halign(fa_left); draw_set_valign(fa_top);")
        # 'A' at 10 + 1 .. 14, 'B' from pen 16: 16 .. 17; rows 10 .. 15.
        for x, y in [(11, 10), (14, 15), (16, 10), (17, 15)]:
            self.assertEqual(rgb(pixels, x, y), WHITE, (x, y, err))
        for x, y in [(10, 10), (15, 10), (18, 10), (11, 16), (11, 9)]:
            self.assertEqual(rgb(pixels, x, y), BLACK, (x, y))
        # Right aligned: the line starts at 60 - 6, glyph at 55 .. 58.
        self.assertEqual(rgb(pixels, 55, 10), WHITE)
        self.assertEqual(rgb(pixels, 58, 10), WHITE)
        self.assertEqual(rgb(pixels, 54, 10), BLACK)
        self.assertEqual(rgb(pixels, 59, 10), BLACK)
        # Centred (width 6: -3) and bottom aligned (two lines of 6: y 28 and
        # 34): glyphs at x 38 .. 41.
        for y in (28, 33, 34, 39):
            self.assertEqual(rgb(pixels, 38, y), WHITE, y)
            self.assertEqual(rgb(pixels, 41, y), WHITE, y)
        self.assertEqual(rgb(pixels, 37, 30), BLACK)
        self.assertEqual(rgb(pixels, 38, 27), BLACK)
        self.assertEqual(rgb(pixels, 38, 40), BLACK)

    def test_transformed_and_coloured_text(self):
        pixels, _, err = shot(
            "draw_set_font(fnt_box); draw_set_color(c_white);"
            "draw_text_transformed(10, 30, 'A', 2, 2, 0);"
            "draw_text_color(40, 10, 'AA', c_red, c_blue, c_blue, c_red, 1);")
        # Doubled: glyph offset 2 * 1, 8 x 12 pixels.
        for x, y in [(12, 30), (19, 30), (12, 41), (19, 41)]:
            self.assertEqual(rgb(pixels, x, y), WHITE, (x, y, err))
        for x, y in [(11, 30), (20, 30), (12, 42), (12, 29)]:
            self.assertEqual(rgb(pixels, x, y), BLACK, (x, y))
        # Colours run from red at the left to blue at the right of the line.
        r, _, b = rgb(pixels, 41, 12)
        self.assertGreater(r, b)
        r, _, b = rgb(pixels, 50, 12)
        self.assertGreater(b, r)

    def test_string_measures(self):
        _, out, err = shot(
            "if (!saved) { draw_set_font(fnt_box);"
            "show_debug_message(string_width('AB A'));"
            "show_debug_message(string_height('A#B#'));"
            "show_debug_message(string_width(''));"
            "show_debug_message(string_width_ext('AB AB', -1, 10));"
            "show_debug_message(string_height_ext('AB AB', 2, 10)); }")
        self.assertEqual(out.splitlines()[:5], ["20", "12", "1", "14", "8"], err)


if __name__ == "__main__":
    unittest.main()
