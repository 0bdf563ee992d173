"""Files, ini files, the settings store and secure mode end to end: what one
run of a game writes (text files, ini files, registry values) the next run
reads; preferences in the store turn secure mode on at the next start-up."""

import os
import shutil
import tempfile
import unittest

import gamekit


def game_of(create_code):
    files = gamekit.minimal_project(objects={"o": {"create": create_code}})
    files["game.json"]["game_id"] = 777
    return files


class FilesGameTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="vexlo_files_game_")
        self.config = os.path.join(self.work, "config")
        self.env = {"XDG_CONFIG_HOME": self.config}

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def run_game(self, code):
        with gamekit.Project(game_of(code)) as p:
            rc, _, err_text = p.pack()
            self.assertEqual(rc, 0, err_text)
            game = os.path.join(self.work, "game")
            shutil.copy(p.game, game)
        code, out, err = gamekit.run_game(game, max_steps=3, env=self.env, cwd=self.work)
        self.assertEqual(code, 0, err)
        return out.splitlines(), err

    def test_second_run_reads_what_the_first_wrote(self):
        first, _ = self.run_game(
            "ini_open('game.ini');"
            "ini_write_real('player', 'best', 12.5);"
            "ini_write_string('player', 'name', 'Ann');"
            "ini_close();"
            "registry_write_real('runs', registry_read_real('runs') + 1);"
            "registry_write_string('who', 'Ann');"
            "f = file_text_open_write('notes.txt');"
            "file_text_write_real(f, 1/3); file_text_writeln(f);"
            "file_text_write_string(f, 'second line');"
            "file_text_close(f);"
            "show_debug_message(registry_read_real('runs'));"
            "game_end();")
        self.assertEqual(first, ["1"])
        with open(os.path.join(self.work, "game.ini"), "rb") as f:
            self.assertEqual(f.read(), b"[player]\r\nbest=12.5\r\nname=Ann\r\n")
        with open(os.path.join(self.work, "notes.txt"), "rb") as f:
            self.assertEqual(f.read(), b" 0.333333\r\nsecond line")
        self.assertTrue(os.path.exists(os.path.join(self.config, "vexlo", "settings.db")))

        second, _ = self.run_game(
            "ini_open('game.ini');"
            "show_debug_message(ini_read_real('player', 'best', 0));"
            "show_debug_message(ini_read_string('player', 'name', '?'));"
            "registry_write_real('runs', registry_read_real('runs') + 1);"
            "show_debug_message(registry_read_real('runs'));"
            "show_debug_message(registry_read_string('who'));"
            "f = file_text_open_read('notes.txt');"
            "show_debug_message(file_text_read_real(f));"
            "file_text_readln(f);"
            "show_debug_message(file_text_read_string(f));"
            "show_debug_message(secure_mode);"
            "game_end();")
        self.assertEqual(second, ["12.50", "Ann", "2", "Ann", "0.33", "second line", "0"])

    def test_secure_mode_comes_from_the_store_at_start_up(self):
        first, _ = self.run_game(
            "registry_write_real_ext('\\Software\\Vexlo\\Version 8\\Preferences', 'Warning', 1);"
            "show_debug_message(secure_mode);"
            "game_end();")
        self.assertEqual(first, ["0"])  # decided at start-up, not when written
        os.makedirs(os.path.join(self.work, "sub"))
        second, err = self.run_game(
            "show_debug_message(secure_mode);"
            "show_debug_message(file_text_open_write('sub/x.txt'));"
            "show_debug_message(file_text_open_read('../outside.txt'));"
            "f = file_text_open_write('here.txt'); file_text_close(f);"
            "execute_program('true', '', true);"
            "registry_write_string_ext('\\Software\\Other', 'x', 'y');"
            "game_end();")
        self.assertEqual(second, ["1", "-1", "-1"])
        for message in ["In secure mode you cannot write file sub/x.txt",
                        "In secure mode you cannot read file ../outside.txt",
                        "In Secure mode you cannot execute program true",
                        "In Secure mode you cannot write registry entries in \\Software\\Other"]:
            self.assertIn(message, err)
        self.assertFalse(os.path.exists(os.path.join(self.work, "sub", "x.txt")))
        self.assertTrue(os.path.exists(os.path.join(self.work, "here.txt")))

    def test_a_broken_store_never_stops_the_game(self):
        os.makedirs(os.path.join(self.config, "vexlo"))
        with open(os.path.join(self.config, "vexlo", "settings.db"), "wb") as f:
            f.write(b"\x00garbage" * 1000)
        lines, err = self.run_game(
            "registry_write_real('a', 5);"
            "show_debug_message(registry_read_real('a'));"
            "show_debug_message(registry_exists('a'));"
            "game_end();")
        self.assertEqual(lines, ["0", "0"])
        self.assertEqual(err.count("The settings store"), 1, err)


if __name__ == "__main__":
    unittest.main()
