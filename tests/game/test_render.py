"""Room drawing, end to end: packed games draw headless and save the screen
with screen_save; the PNG's pixels are compared exactly. Covers the texel
to pixel mapping of sprites (position, origin, rotation), the room's
background colour, views with their ports and the window colour around
them, and rotated views."""

import os
import unittest

import gamekit

RED = (255, 0, 0, 255)
GREEN = (0, 255, 0, 255)
BLUE = (0, 0, 255, 255)
BLACK = (0, 0, 0, 255)


def texel(i, j):
    """Pixel (i, j) of the test sprite: every texel differs."""
    return (10 + 40 * i, 20 + 60 * j, 100, 255)


def sprite_files(name, width, height, origin=(0, 0), colour=None):
    pixels = [colour or texel(i, j) for j in range(height) for i in range(width)]
    return {"sprites/%s.json" % name: {"origin": list(origin), "frames": ["%s/0.png" % name]},
            "sprites/%s/0.png" % name: gamekit.png_bytes(width, height, pixels)}


def obj(sprite=None, create=None):
    """An object with a sprite and an optional create event code."""
    spec = {"sprite": sprite, "events": []}
    if create:
        spec["events"].append({"type": "create", "number": 0, "actions": [{"code": create}]})
    return spec


def shoot(room, sprites, objects, settings=None, code=None, backgrounds=None):
    """Runs a one-room game whose controller saves the screen in its second
    step (the frame drawn at the end of the first); returns (width, height,
    rows) of the screenshot."""
    files = dict(code or {})
    for name, (width, height, pixels) in (backgrounds or {}).items():
        files["backgrounds/%s.json" % name] = {"image": "%s.png" % name}
        files["backgrounds/%s.png" % name] = gamekit.png_bytes(width, height, pixels)
    for name, spec in sprites.items():
        files.update(sprite_files(name, **spec))
    objects = dict(objects)
    objects["ctrl"] = {"events": [
        {"type": "create", "number": 0, "actions": [{"code": "ctrl/create.vxs"}]},
        {"type": "step", "number": 0, "actions": [{"code": "ctrl/step.vxs"}]}]}
    files["objects/ctrl/create.vxs"] = "n = 0;"
    files["objects/ctrl/step.vxs"] = "if (n == 1) screen_save('shot.png'); n += 1;"
    for name, spec in objects.items():
        files["objects/%s.json" % name] = spec
    room = dict(room)
    room["instances"] = room.get("instances", []) + [{"x": 0, "y": 0, "object": "ctrl"}]
    files["rooms/room0.json"] = room
    files["game.json"] = {
        "settings": settings or {},
        "resources": {"sprites": list(sprites), "backgrounds": list(backgrounds or {}),
                      "objects": list(objects), "rooms": ["room0"]},
        "room_order": ["room0"],
    }
    with gamekit.Project(files) as p:
        code, out, err = p.run(max_steps=3)
        if code != 0:
            raise AssertionError("game failed (%d): %s" % (code, err))
        shot = os.path.join(p.dir, "shot.png")
        if not os.path.exists(shot):
            raise AssertionError("no screenshot; stderr: %s" % err)
        return gamekit.read_png(shot)


def coloured(rows, colour):
    """The set of (x, y) pixels of one colour."""
    return {(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if p == colour}


class RoomDrawTest(unittest.TestCase):

    def test_sprite_texels_land_on_pixels_with_origin(self):
        w, h, rows = shoot(
            {"width": 64, "height": 48, "color": 255,
             "instances": [{"x": 10, "y": 20, "object": "obj"}]},
            {"spr": {"width": 4, "height": 3, "origin": (1, 1)}},
            {"obj": obj("spr")})
        self.assertEqual((w, h), (64, 48))
        for j in range(3):
            for i in range(4):
                self.assertEqual(rows[19 + j][9 + i], texel(i, j), (i, j))
        self.assertEqual(len(coloured(rows, RED)), 64 * 48 - 12)

    def test_background_colour_fills_the_room(self):
        w, h, rows = shoot({"width": 40, "height": 30, "color": 0x00FF00}, {}, {})
        self.assertEqual((w, h), (40, 30))
        self.assertEqual(len(coloured(rows, GREEN)), 40 * 30)

    def test_rotation_turns_the_picture_counter_clockwise(self):
        w, h, rows = shoot(
            {"width": 48, "height": 48, "color": 255,
             "instances": [{"x": 20, "y": 20, "object": "obj"}]},
            {"spr": {"width": 4, "height": 3}},
            {"obj": obj("spr", "obj/create.vxs")},
            code={"objects/obj/create.vxs": "image_angle = 90;"})
        # Texel (i, j) of the image turned by 90 degrees about (20, 20).
        for j in range(3):
            for i in range(4):
                self.assertEqual(rows[20 - i][20 + j], texel(i, j), (i, j))
        self.assertEqual(len(coloured(rows, RED)), 48 * 48 - 12)

    def test_view_port_and_window_colour(self):
        room = {"width": 200, "height": 200, "color": 255, "enable_views": True,
                "views": [{"visible": True, "view": [100, 100, 32, 24], "port": [8, 8, 32, 24]}],
                "instances": [{"x": 104, "y": 102, "object": "obj"}]}
        w, h, rows = shoot(room, {"spr": {"width": 4, "height": 3}}, {"obj": obj("spr")},
                           settings={"window_color": 0xFF0000})
        self.assertEqual((w, h), (40, 32))
        for j in range(3):
            for i in range(4):
                self.assertEqual(rows[10 + j][12 + i], texel(i, j), (i, j))
        self.assertEqual(coloured(rows, BLUE),
                         {(x, y) for y in range(32) for x in range(40)
                          if not (8 <= x < 40 and 8 <= y < 32)})

    def test_rotated_view_turns_about_its_centre(self):
        # View (0, 0, 32, 32) at 90 degrees: room point (20, 10) shows at
        # region point (10, 12).
        room = {"width": 64, "height": 64, "color": 0, "enable_views": True,
                "views": [{"visible": True, "view": [0, 0, 32, 32], "port": [0, 0, 32, 32]}],
                "instances": [{"x": 20, "y": 10, "object": "obj"}]}
        w, h, rows = shoot(room, {"dot": {"width": 1, "height": 1, "colour": GREEN}},
                           {"obj": obj("dot", "obj/create.vxs")},
                           code={"objects/obj/create.vxs": "view_angle[0] = 90;"})
        self.assertEqual((w, h), (32, 32))
        self.assertEqual(coloured(rows, GREEN), {(10, 12)})

    def test_scaled_view_stretches_texels(self):
        # A 16 x 16 view shown in a 48 x 48 port: every texel covers 3 x 3
        # pixels, centred where the unscaled texel's centre goes (room pixel
        # centres sit at whole coordinates).
        room = {"width": 64, "height": 64, "color": 0, "enable_views": True,
                "views": [{"visible": True, "view": [0, 0, 16, 16], "port": [0, 0, 48, 48]}],
                "instances": [{"x": 3, "y": 5, "object": "obj"}]}
        w, h, rows = shoot(room, {"spr": {"width": 4, "height": 3}}, {"obj": obj("spr")})
        self.assertEqual((w, h), (48, 48))
        for j in range(3):
            for i in range(4):
                for dy in range(3):
                    for dx in range(3):
                        self.assertEqual(rows[14 + 3 * j + dy][8 + 3 * i + dx], texel(i, j),
                                         (i, j, dx, dy))
        self.assertEqual(len(coloured(rows, BLACK)), 48 * 48 - 12 * 9)
    def test_tiled_background_and_a_tile_over_an_instance_of_equal_depth(self):
        checker = [RED, GREEN, BLUE, (255, 255, 255, 255)]
        room = {"width": 16, "height": 16, "color": 0,
                "backgrounds": [{"visible": True, "background": "bg", "x": 1, "y": 0}],
                "tiles": [{"x": 5, "y": 5, "background": "bg", "source": [0, 0, 2, 2],
                           "depth": 0}],
                "instances": [{"x": 4, "y": 4, "object": "obj"}]}
        w, h, rows = shoot(room, {"spr": {"width": 4, "height": 3}}, {"obj": obj("spr")},
                           backgrounds={"bg": (2, 2, checker)})
        for y in range(16):
            for x in range(16):
                if 5 <= x < 7 and 5 <= y < 7:
                    expected = checker[(y - 5) * 2 + (x - 5)]  # the tile, drawn last
                elif 4 <= x < 8 and 4 <= y < 7:
                    expected = texel(x - 4, y - 4)
                else:
                    expected = checker[(y % 2) * 2 + (x - 1) % 2]  # tiled from x = 1
                self.assertEqual(rows[y][x], expected, (x, y))


class NoDeviceTest(unittest.TestCase):

    def test_without_opengl_the_game_runs_and_says_so_once(self):
        files = gamekit.minimal_project(objects={"obj": {
            "step": "screen_save('shot.png'); show_debug_message(draw_getpixel(1, 1));"}})
        with gamekit.Project(files) as p:
            # An EGL library that does not exist: no context can be made.
            code, out, err = p.run(max_steps=3, env={"SDL_VIDEO_EGL_DRIVER": "/nonexistent/libEGL.so"})
            self.assertEqual(code, 0, err)
            self.assertEqual(out, "0\n0\n0\n")
            self.assertEqual(len(err.splitlines()), 1, err)
            self.assertIn("No OpenGL device", err)
            self.assertFalse(os.path.exists(os.path.join(p.dir, "shot.png")))


if __name__ == "__main__":
    unittest.main()
