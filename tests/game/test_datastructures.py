"""Data structures from game code, end to end: every kind created in one
event and used in later steps, ids kept in instance variables, the text form
carried between containers, and the error for a missing id, which the game
survives."""

import unittest

from test_world import obj, project, run


class DataStructuresGameTest(unittest.TestCase):
    def run_lines(self, create, step, steps=4):
        files = project(
            {"keeper": obj({"create": create, "step:0": step})},
            {"room0": {"instances": [{"object": "keeper"}]}})
        code, lines, err = run(files, max_steps=steps)
        self.assertEqual(code, 0, err)
        return lines, err

    def test_every_kind_lives_across_steps(self):
        lines, _ = self.run_lines(
            "n = 0; s = ds_stack_create(); q = ds_queue_create(); l = ds_list_create();"
            "m = ds_map_create(); p = ds_priority_create(); g = ds_grid_create(4, 3);",
            "n += 1;"
            "ds_stack_push(s, n); ds_queue_enqueue(q, 'q' + string(n)); ds_list_insert(l, 0, n * 10);"
            "ds_map_add(m, 'k' + string(n), n); ds_priority_add(p, 'p' + string(n), 5 - n);"
            "ds_grid_add_region(g, 0, 0, n, 2, 1);"
            "if (n == 3) {"
            "  show_debug_message(string(ds_stack_pop(s)) + ' ' + string(ds_stack_size(s)));"
            "  show_debug_message(ds_queue_dequeue(q) + ' ' + ds_queue_tail(q));"
            "  ds_list_sort(l, true); show_debug_message(ds_list_find_value(l, 0));"
            "  show_debug_message(ds_map_find_next(m, 'k1') + ' ' + string(ds_map_find_value(m, 'k3')));"
            "  show_debug_message(ds_priority_delete_min(p) + ' ' + ds_priority_find_max(p));"
            "  show_debug_message(ds_grid_get_sum(g, 0, 0, 3, 2));"
            "  show_debug_message(ds_grid_value_exists(g, 0, 0, 3, 2, 3));"
            "  game_end();"
            "}",
            steps=5)
        # Grid: column 0 and 1 got 3 adds, column 2 two, column 3 one, 3 rows.
        self.assertEqual(lines, ["3 2", "q1 q3", "10", "k2 3", "p3 p1", "27", "1"])

    def test_text_form_carries_contents(self):
        lines, _ = self.run_lines(
            "a = ds_map_create(); ds_map_add(a, 'hp', 12); ds_map_add(a, 3, 'three');"
            "global.saved = ds_map_write(a); ds_map_destroy(a);",
            "b = ds_map_create();"
            "ds_map_read(b, global.saved);"
            "show_debug_message(b);"
            "show_debug_message(ds_map_find_value(b, 'hp') + 1);"
            "show_debug_message(ds_map_find_first(b));"
            "show_debug_message(ds_map_write(b) == global.saved);"
            "game_end();",
            steps=3)
        # The destroyed map's id is taken again.
        self.assertEqual(lines, ["0", "13", "3", "1"])

    def test_missing_id_is_reported_and_the_game_goes_on(self):
        lines, err = self.run_lines(
            "",
            "show_debug_message(ds_list_find_value(7, 0));"
            "show_debug_message('after');"
            "game_end();",
            steps=3)
        self.assertEqual(lines, ["0", "after"])
        self.assertIn("Data structure with index does not exist.", err)

    def test_hostile_text_is_reported_and_the_list_kept(self):
        lines, err = self.run_lines(
            "l = ds_list_create(); ds_list_add(l, 'kept');",
            "ds_list_read(l, '2D010000FFFFFF7F00');"
            "show_debug_message(ds_list_find_value(l, 0));"
            "ds_list_read(l, ds_stack_write(ds_stack_create()));"
            "show_debug_message(ds_list_size(l));"
            "game_end();",
            steps=3)
        self.assertEqual(lines, ["kept", "1"])
        self.assertIn("Data structure text ends early.", err)


if __name__ == "__main__":
    unittest.main()
