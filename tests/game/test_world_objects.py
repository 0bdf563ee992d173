"""Objects changed by game code, end to end: objects made with events and
instances, parents set and events cleared while the game runs, an object
deleted with its instances, and bounding boxes that follow sprite changes."""

import unittest

import gamekit
from test_world import obj, project


def run(files, max_steps):
    with gamekit.Project(files) as p:
        code, out, err = p.run(max_steps=max_steps)
    return code, out.splitlines(), err


class WorldObjectsGameTest(unittest.TestCase):
    def test_object_made_by_game_code_runs_its_events(self):
        files = project(
            {"maker": obj({
                "create": "o = object_add();"
                          "object_event_add(o, ev_create, 0, 'show_debug_message(\"made \" + object_get_name(object_index));');"
                          "object_event_add(o, ev_step, 0, 'show_debug_message(\"step\"); object_event_clear(object_index, ev_step, 0);');"
                          "instance_create(0, 0, o);",
            })},
            {"room0": {"instances": [{"object": "maker"}]}})
        code, lines, err = run(files, max_steps=3)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["made __newobject1", "step"])

    def test_code_added_to_an_event_that_does_not_compile_is_fatal(self):
        # As with code stored in the game: the error names the event and
        # the game ends once the running event returns.
        files = project(
            {"maker": obj({"create": "object_event_add(maker, ev_step, 1, 'x = = 1;');"
                                     "show_debug_message('rest of event');"}),
             "other": obj({"step:0": "show_debug_message('not reached');"})},
            {"room0": {"instances": [{"object": "maker"}, {"object": "other"}]}})
        code, lines, err = run(files, max_steps=3)
        self.assertNotEqual(code, 0)
        self.assertEqual(lines, ["rest of event"])
        self.assertIn("of Begin Step Event\nfor object maker:", err.replace("\r\n", "\n"))

    def test_parent_set_and_object_deleted_while_running(self):
        files = project(
            {"base": obj({"step:0": "show_debug_message('base step ' + object_get_name(object_index));"}),
             "thing": obj({}),
             "boss": obj({
                 "create": "n = 0;",
                 "step:1": "n += 1;"
                           "if (n == 1) object_set_parent(thing, base);"
                           "if (n == 2) { object_delete(base);"
                           "  show_debug_message(object_get_parent(thing)); }"
                           "if (n == 3) { show_debug_message(instance_number(thing)); game_end(); }",
             })},
            {"room0": {"instances": [{"object": "base"}, {"object": "thing"}, {"object": "boss"}]}})
        code, lines, err = run(files, max_steps=5)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["base step base", "base step thing", "-1", "1"])

    def test_bounding_box_follows_sprite_changes(self):
        files = project(
            {"box": obj({
                "create": "show_debug_message(bbox_left);"
                          "sprite_set_offset(spr_square, 8, 8);"
                          "show_debug_message(bbox_left);"
                          "sprite_collision_mask(spr_square, false, 2, 4, 4, 11, 11, 1, 0);"
                          "show_debug_message(bbox_left);"
                          "show_debug_message(bbox_right);",
             }, sprite="spr_square")},
            {"room0": {"instances": [{"object": "box", "x": 100, "y": 100}]}})
        files["sprites/spr_square.json"] = {"frames": ["spr_square/0.png"]}
        files["sprites/spr_square/0.png"] = gamekit.png_of(16, 16, lambda x, y: (255, 255, 255, 255))
        files["game.json"]["resources"]["sprites"] = ["spr_square"]
        code, lines, err = run(files, max_steps=2)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["100", "92", "96", "103"])


if __name__ == "__main__":
    unittest.main()
