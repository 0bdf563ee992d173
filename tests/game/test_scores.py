"""The high-score table end to end: what one run of a game adds the next run
of the same game reads back from the per-user settings store; the stored
text is the encoded entry; another game id has its own table; the windows
take their default answers at once in headless runs."""

import os
import shutil
import tempfile
import unittest

import gamekit
import test_draw


def encode(name, score, game_id):
    data = [(score >> (8 * i)) & 0xFF if i < 4 else 0 for i in range(16)]
    data += [ord(c) & 0xFF for c in name]
    return "".join(chr(65 + d // 16) + chr(65 + d % 16)
                   for d in ((j + 1 + b + game_id) % 256 for j, b in enumerate(data)))


class ScoreGameTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="vexlo_scores_game_")
        self.env = {"XDG_CONFIG_HOME": os.path.join(self.work, "config")}

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def run_game(self, code, game_id=77, max_steps=3):
        files = gamekit.minimal_project(objects={"o": {"create": code}})
        files["game.json"]["game_id"] = game_id
        with gamekit.Project(files) as p:
            rc, _, err = p.pack()
            self.assertEqual(rc, 0, err)
            game = os.path.join(self.work, "game")
            shutil.copy(p.game, game)
        rc, out, err = gamekit.run_game(game, max_steps=max_steps, env=self.env, cwd=self.work)
        self.assertEqual(rc, 0, err)
        return out.splitlines(), err

    def test_table_survives_between_runs(self):
        first, _ = self.run_game(
            "highscore_clear();"
            "highscore_add('Ann', 300); highscore_add('Bob', 500); highscore_add('Cy', 300);"
            "show_debug_message(highscore_name(1) + ' ' + string(highscore_value(1)));"
            "game_end();")
        self.assertEqual(first, ["Bob 500"])
        second, _ = self.run_game(
            "for (i = 1; i <= 4; i += 1)"
            "  show_debug_message(highscore_name(i) + ' ' + string(highscore_value(i)));"
            "registry_set_root(0);"
            "show_debug_message(registry_read_string_ext('\\Software\\Vexlo\\Scores\\77', 'Rank2'));"
            "game_end();")
        # Ties go below: Cy's 300 comes after Ann's.
        self.assertEqual(second, ["Bob 500", "Ann 300", "Cy 300", "<nobody> 0",
                                  encode("Ann", 300, 77)])
        # Another game keeps its own table.
        other, _ = self.run_game(
            "show_debug_message(highscore_name(1)); game_end();", game_id=78)
        self.assertEqual(other, ["<nobody>"])

    def test_headless_windows_take_their_defaults(self):
        out, err = self.run_game(
            "highscore_clear(); highscore_add('A', 100);"
            "highscore_show(50);"
            "show_debug_message('[' + highscore_name(2) + '] ' + string(highscore_value(2)));"
            "score = 70; highscore_add_current();"
            "show_debug_message(highscore_name(2) + ' ' + string(highscore_value(2)));"
            "highscore_show_ext(10, -1, false, c_blue, c_black, 'Arial', 10);"
            "show_debug_message(string(highscore_value(4)));"
            "game_end();")
        self.assertEqual(out, ["[] 50", "player 70", "10"])
        self.assertIn("Top Ten Players", err)
        self.assertIn("You reached a place in the highscore table.", err)
        self.assertIn("press <Escape> to close", err)

    def test_draw_highscore_rows(self):
        files = test_draw.draw_project(
            "if (!saved) { highscore_clear(); highscore_add('A', 12345); }"
            "draw_set_color(c_red); draw_highscore(0, 0, 200, 300);", width=240, height=320)
        with gamekit.Project(files) as p:
            code, out, err = p.run(max_steps=2, env=self.env)
            self.assertEqual(code, 0, err)
            _, _, pixels = gamekit.read_png(os.path.join(p.dir, "shot.png"))

        def red_columns(top, bottom):
            return [x for y in range(top, bottom) for x in range(240)
                    if pixels[y][x][:3] == (255, 0, 0)]

        # Row height 30: each rank's name starts at the left, its score ends at x = 200.
        for rank in (1, 2, 10):
            xs = red_columns((rank - 1) * 30, rank * 30)
            self.assertTrue(xs, rank)
            self.assertLess(min(xs), 15, rank)
            self.assertGreater(max(xs), 185, rank)
            self.assertLessEqual(max(xs), 201, rank)
        # The score of rank 1 is wider than the 0 of rank 2.
        wide = [x for x in red_columns(0, 30) if x > 100]
        narrow = [x for x in red_columns(30, 60) if x > 100]
        self.assertLess(min(wide), min(narrow))


if __name__ == "__main__":
    unittest.main()
