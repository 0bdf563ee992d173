"""Game world, end to end: packed games run headless and report through
show_debug_message. Covers the order of events within a step and at room
start, alarms, instance creation and destruction, room changes with
persistent instances, and the room errors that end the game."""

import unittest

import gamekit


def obj(events, **fields):
    """An object: events maps "type" or "type:number" to code text."""
    return {"events": events, **fields}


def project(objects, rooms, room_files=None):
    """Files of a project. objects: name -> obj(...); rooms: name -> room
    JSON (instances name their objects). Rooms play in the order given."""
    files = {}
    for name, spec in objects.items():
        event_files, event_list = gamekit.object_events(name, spec.pop("events"))
        files.update(event_files)
        files["objects/%s.json" % name] = {"events": event_list, **spec}
    for name, spec in rooms.items():
        files["rooms/%s.json" % name] = spec
    files.update(room_files or {})
    files["game.json"] = {
        "settings": {},
        "resources": {"objects": list(objects), "rooms": list(rooms)},
        "room_order": list(rooms),
    }
    return files


run = gamekit.run_lines


class WorldGameTest(unittest.TestCase):
    def test_keys_sent_by_game_code_arrive_like_real_keys(self):
        # keyboard_key_press in step 1 reaches the events of step 2; the
        # release sent then reaches step 3.
        files = project(
            {"player": obj({
                "create": "n = 0;",
                "step:0": "n += 1; if (n == 1) keyboard_key_press(37); "
                          "if (n == 2) keyboard_key_release(37);",
                "keypress:37": "show_debug_message('press ' + string(n));",
                "keyboard:37": "show_debug_message('held ' + string(n));",
                "keyrelease:37": "show_debug_message('release ' + string(n));",
            })},
            {"room0": {"instances": [{"object": "player"}]}})
        code, lines, err = run(files, max_steps=4)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["held 1", "press 1", "release 2"])

    def test_step_phases_and_alarms_in_order(self):
        files = project(
            {"ticker": obj({
                "create": "alarm[0] = 2; show_debug_message('create');",
                "step:1": "show_debug_message('begin');",
                "alarm:0": "show_debug_message('alarm');",
                "step:0": "show_debug_message('step');",
                "step:2": "show_debug_message('end');",
            })},
            {"room0": {"instances": [{"object": "ticker"}]}})
        code, lines, err = run(files, max_steps=3)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["create",
                                 "begin", "step", "end",
                                 "begin", "alarm", "step", "end",
                                 "begin", "step", "end"])

    def test_room_start_order_and_room_change_with_persistent_instance(self):
        files = project(
            {"hero": obj({
                "create": "show_debug_message('create ' + string(v));",
                "other:2": "show_debug_message('game start');",
                "other:4": "show_debug_message('room start ' + string(room) + ' x ' + string(x));",
                "other:5": "show_debug_message('room end ' + string(room));",
                "step:0": "x += 1; if (room == 0) room_goto_next(); else game_end();",
            }, persistent=True)},
            {"room0": {"instances": [{"object": "hero", "code": "room0_hero.vxs"}],
                       "code": "room0.vxs"},
             "room1": {"instances": []}},
            {"rooms/room0_hero.vxs": "v = 7; show_debug_message('instance code');",
             "rooms/room0.vxs": "show_debug_message('room code');"})
        code, lines, err = run(files, max_steps=10)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["instance code", "create 7", "game start", "room code",
                                 "room start 0 x 0",
                                 "room end 0", "room start 1 x 1",
                                 "room end 1"])

    def test_create_destroy_and_count(self):
        files = project(
            {"spawner": obj({
                "step:0": "instance_create(10, 10, 1); show_debug_message(instance_number(1));",
            }),
             "ball": obj({
                 "create": "hspeed = 2;",
                 "step:2": "if (x > 13) instance_destroy();",
                 "destroy": "show_debug_message('gone ' + string(x));",
             })},
            {"room0": {"instances": [{"object": "spawner"}]}})
        code, lines, err = run(files, max_steps=4)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines, ["1", "2", "gone 14", "2", "gone 14", "2", "gone 14"])

    def test_next_room_after_last_is_fatal(self):
        files = project(
            {"walker": obj({"step:0": "show_debug_message('step'); room_goto_next();"})},
            {"only": {"instances": [{"object": "walker"}]}})
        code, lines, err = run(files, max_steps=5)
        self.assertEqual(lines, ["step"])
        self.assertIn("Moving to next room after the last room.", err)
        self.assertNotEqual(code, 0)


if __name__ == "__main__":
    unittest.main()
