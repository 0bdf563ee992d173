"""Collisions, end to end: a packed game with precise sprite masks shows the
collision events between two non-solid instances and a bounce off a solid
wall (put back to the previous position, then moved on with the speed the
event gave)."""

import unittest

import gamekit


def png(width, height, covered):
    """An RGBA PNG: white opaque where covered(x, y), else clear."""
    return gamekit.png_of(width, height,
                          lambda x, y: (255, 255, 255, 255) if covered(x, y) else (0, 0, 0, 0))


def disc(x, y):
    return (x - 7.5) ** 2 + (y - 7.5) ** 2 < 64


def project():
    objects = {
        "ball": ("spr_disc", False, {
            "create": "hspeed = 4; n = 0;",
            "collision:wall": "show_debug_message('bounce ' + string(x)); hspeed = -hspeed;",
            "step:2": "n += 1; if (n == 15) show_debug_message('end ' + string(x));",
        }),
        "wall": ("spr_square", True, {
            "collision:ball": "show_debug_message('wall hit');",
        }),
        "spark": ("spr_square", False, {
            "create": "hspeed = 4;",
            "collision:target": "show_debug_message('spark meets target ' + string(x)); "
                                "instance_destroy();",
        }),
        "target": ("spr_disc", False, {
            "collision:spark": "show_debug_message('target meets spark');",
        }),
    }
    files = {
        "sprites/spr_disc.json": {"frames": ["spr_disc/0.png"],
                                  "mask": {"kind": "precise", "bbox": "automatic"}},
        "sprites/spr_disc/0.png": png(16, 16, disc),
        "sprites/spr_square.json": {"frames": ["spr_square/0.png"]},
        "sprites/spr_square/0.png": png(16, 16, lambda x, y: True),
    }
    for name, (sprite, solid, events) in objects.items():
        event_files, event_list = gamekit.object_events(name, events)
        files.update(event_files)
        files["objects/%s.json" % name] = {"sprite": sprite, "solid": solid,
                                           "events": event_list}
    files["rooms/room0.json"] = {"instances": [
        {"x": 0, "y": 0, "object": "ball"},
        {"x": 60, "y": 0, "object": "wall"},
        {"x": 0, "y": 100, "object": "spark"},
        {"x": 40, "y": 100, "object": "target"},
    ]}
    files["game.json"] = {
        "settings": {},
        "resources": {"sprites": ["spr_disc", "spr_square"], "objects": list(objects),
                      "rooms": ["room0"]},
        "room_order": ["room0"],
    }
    return files


class CollisionGameTest(unittest.TestCase):
    def test_events_and_a_solid_bounce(self):
        with gamekit.Project(project()) as p:
            code, out, err = p.run(max_steps=15)
        self.assertEqual(code, 0, err)
        # Step 7: the spark (x 28, box 28..43) first overlaps the target
        # (40..55): both events, the spark's object first. Step 12: the
        # ball reaches x 48 and meets the solid wall: it is put back to 44,
        # bounces, and moves on to 40; by step 15 it is at 28.
        self.assertEqual(out.splitlines(), [
            "spark meets target 28",
            "target meets spark",
            "bounce 44",
            "wall hit",
            "end 28",
        ])


if __name__ == "__main__":
    unittest.main()
