"""Sprites made at run time, end to end: a packed game loads a PNG that lies
beside it with sprite_add and reports the new sprite through
show_debug_message; a missing file gives -1."""

import os
import unittest

import gamekit


class SpriteGameTest(unittest.TestCase):
    def test_sprite_add_loads_a_png_beside_the_game(self):
        code = (
            "s = sprite_add('walk.png', 4, false, false, 3, 5);"
            "show_debug_message(s);"
            "show_debug_message(sprite_get_name(s));"
            "show_debug_message(sprite_get_number(s));"
            "show_debug_message(sprite_get_width(s));"
            "show_debug_message(sprite_get_height(s));"
            "show_debug_message(sprite_get_xoffset(s));"
            "show_debug_message(sprite_get_bbox_right(s));"
            "show_debug_message(sprite_add('missing.png', 1, false, false, 0, 0));"
            "show_debug_message(sprite_exists(s + 1));")
        files = gamekit.minimal_project(objects={"loader": {"create": code}})
        # Four 9-pixel frames; columns 36 and 37 are dropped.
        image = gamekit.png_of(38, 6, lambda x, y: (x * 6, y * 40, 90, 255))
        with gamekit.Project(files) as p:
            with open(os.path.join(p.dir, "walk.png"), "wb") as f:
                f.write(image)
            code, out, err = p.run(max_steps=2)
        self.assertEqual(code, 0, err)
        self.assertEqual(out.splitlines(), ["0", "__newsprite0", "4", "9", "6", "3", "8", "-1", "0"])


if __name__ == "__main__":
    unittest.main()
