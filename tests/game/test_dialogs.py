"""The runner's own windows in headless runs: every message, question,
input and high-score window prints its text to standard error and takes
its default answer at once, so a game never waits for a player."""

import os
import unittest

import gamekit


class HeadlessDefaultsTest(unittest.TestCase):
    def run_game(self, create, env=None):
        files = gamekit.minimal_project({"o": {"create": create + "game_end();"}})
        with gamekit.Project(files) as p:
            code, out, err = p.run(max_steps=3, env=env)
        self.assertEqual(code, 0, err)
        return out.splitlines(), err

    def test_every_window_answers_with_its_default(self):
        out, err = self.run_game(
            "message_caption(false, 'Hidden'); message_alpha(0.5); message_size(300, 200);"
            "message_text_font('Arial', 12, c_red, 1); message_button_font('Arial', 10, c_blue, 0);"
            "message_input_font('Arial', 10, c_black, 2); message_mouse_color(c_yellow);"
            "message_input_color(c_white); message_background(-1); message_button(-1);"
            "message_position(10, 10);"
            "show_message('plain');"
            "show_debug_message(show_message_ext('ext', 'A', 'B', 'C'));"
            "show_debug_message(show_message_ext('ext2', '', 'B', ''));"
            "show_debug_message(show_question('sure?'));"
            "show_debug_message(get_integer('how many?', 7));"
            "show_debug_message(get_string('who?', 'nobody'));")
        self.assertEqual(out, ["1", "2", "1", "7", "nobody"])
        for text in ("plain", "ext", "ext2", "sure?", "how many?", "who?"):
            self.assertIn(text + "\n", err)

    def test_waits_return_at_once(self):
        out, err = self.run_game(
            "keyboard_wait(); mouse_wait(); io_handle();"
            "show_debug_message(string(keyboard_lastkey) + ' ' + string(mouse_lastbutton));"
            "show_debug_message(keyboard_check_direct(vk_space));"
            "keyboard_set_numlock(!keyboard_get_numlock());")
        self.assertEqual(out, ["0 0", "0"])

    def test_choosers_answer_their_defaults(self):
        out, err = self.run_game(
            "show_debug_message(show_menu('Open|Save|Quit', 2));"
            "show_debug_message(show_menu_pos(10, 10, 'A|B', -1));"
            "show_debug_message(get_color(c_red));"
            "show_debug_message('[' + get_open_filename('Text|*.txt', '') + ']');"
            "show_debug_message('[' + get_save_filename('', 'x.sav') + ']');"
            "show_debug_message('[' + get_directory('') + get_directory_alt('Where?', '') + ']');")
        self.assertEqual(out, ["2", "-1", "255", "[]", "[]", "[]"])
        self.assertIn("Where?\n", err)
        self.assertIn("Open\nSave\nQuit\n", err)

    def test_splashes_print_and_end_at_once(self):
        files = gamekit.minimal_project({"o": {"create":
            "splash_set_color(c_black); splash_set_size(300, 200); splash_set_interrupt(false);"
            "splash_show_text('project/plain.txt', 5000);"
            "splash_show_text('project/rich.rtf', 0);"
            "splash_show_image('project/pic.png', 5000);"
            "splash_show_text('project/none.txt', 0);"
            "splash_show_image('project/none.png', 0);"
            "splash_show_web('http://localhost/page', 0);"
            "show_debug_message('after'); game_end();"}})
        files["plain.txt"] = "first line\nsecond line\n"
        files["rich.rtf"] = "{\\rtf1\\ansi {\\b Bold} words\\par next}"
        files["pic.png"] = gamekit.png_of(4, 3, lambda x, y: (255, 0, 0, 255))
        with gamekit.Project(files) as p:
            code, out, err = p.run(max_steps=3)
        self.assertEqual(code, 0, err)
        self.assertEqual(out.splitlines(), ["after"])
        self.assertIn("first line\nsecond line\n", err)
        self.assertIn("Bold words\nnext\n", err)
        self.assertIn("project/pic.png\n", err)
        self.assertIn("Text file not found.", err)
        self.assertIn("Image file not found.", err)
        self.assertIn("http://localhost/page\n", err)

    def test_load_info_keeps_text_of_a_missing_file(self):
        out, err = self.run_game("load_info('missing.rtf'); show_debug_message('on');")
        self.assertEqual(out, ["on"])


if __name__ == "__main__":
    unittest.main()
