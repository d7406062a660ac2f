#!/usr/bin/env python3
"""Tests of the helpers the real-game scripts share (game_window.py) and of
the soak driver's parts that need no window (soak.py)."""

import io
import os
import re
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import game_window  # noqa: E402
import soak  # noqa: E402

# Wine's trace of boxes the game shows, as its standard error holds them.
TRACE = (
    '0024:trace:msgbox:MSGBOX_OnInit L"\\6b63\\89e3\\ff3c(^\\25bd^)\\ff0f"\r\n'
    "0024:err:d3d:wined3d_debug_callback something unrelated\n"
    '0024:trace:msgbox:MSGBOX_OnInit L"4\\884c6\\5217\\306b\\300c7\\300d\\304c\\5165\\308a\\307e\\3059"\n'
    '0024:trace:msgbox:MSGBOX_OnInit L"\\30ec\\30d9\\30eb\\ff11\\ff1a\\89e3\\3044\\305f\\6570 1\\3001\\n'
    '\\30ec\\30d9\\30eb\\ff12\\ff1a\\89e3\\3044\\305f\\6570 0"\n'
)


class DecodingTest(unittest.TestCase):
    def test_escaped_units_become_the_text(self):
        self.assertEqual(game_window.decode_trace_text("\\6b63\\89e3\\ff3c(^\\25bd^)\\ff0f"), "正解＼(^▽^)／")

    def test_digits_after_an_escape_stay_digits(self):
        # Four hex digits make a unit; a digit right after it is text.
        self.assertEqual(game_window.decode_trace_text("4\\884c6\\5217"), "4行6列")
        self.assertEqual(game_window.decode_trace_text("\\3001" + "1234"), "、1234")

    def test_quoted_specials_and_a_backslash_before_hex_letters(self):
        self.assertEqual(game_window.decode_trace_text('a\\nb\\tc\\"d\\\\e'), 'a\nb\tc"d\\e')
        # An escaped backslash followed by what looks like a unit is text.
        self.assertEqual(game_window.decode_trace_text("\\\\6b63"), "\\6b63")

    def test_surrogate_pairs_join(self):
        self.assertEqual(game_window.decode_trace_text("\\d83d\\de00!"), "\U0001F600!")
        self.assertEqual(game_window.decode_trace_text("\\d83d"), "\ufffd")

    def test_box_texts_skip_other_lines_and_keep_their_order(self):
        texts = game_window.box_texts(TRACE.splitlines(keepends=True))
        self.assertEqual(texts, ["正解＼(^▽^)／", "4行6列に「7」が入ります",
                                 "レベル１：解いた数 1、\nレベル２：解いた数 0"])

    def test_a_text_cut_short_by_the_trace_keeps_what_came(self):
        self.assertEqual(game_window.box_text('trace:msgbox:MSGBOX_OnInit L"abc\\884c"...\n'), "abc行")
        self.assertIsNone(game_window.box_text('trace:msgbox:MSGBOX_Other L"abc"\n'))

    def test_named_cell(self):
        self.assertEqual(game_window.named_cell("4行6列に「7」が入ります（隠れシングル）"), (4, 6, 7))
        self.assertEqual(game_window.named_cell("3行5列の「2」は間違いです"), (3, 5, 0))
        self.assertEqual(game_window.named_cell("9行1列の「8」が同じ列の「8」と重なっています"), (9, 1, 0))
        self.assertIsNone(game_window.named_cell("ヒントはありません"))
        self.assertIsNone(game_window.named_cell("正解＼(^▽^)／"))
        self.assertIsNone(game_window.named_cell("0行1列に「1」"))


class GeometryTest(unittest.TestCase):
    def test_the_client_area_lies_at_the_bottom_of_the_window(self):
        # One row of menu bar (19 pixels) or two when the small window wraps it.
        board = game_window.Board(100, 50, 320, 339)
        self.assertEqual((board.cx, board.cy, board.cell), (100, 69, 32))
        board = game_window.Board(7, 0, 240, 278)
        self.assertEqual((board.cx, board.cy, board.cell), (7, 38, 24))
        self.assertEqual(board.margin(), (10, 275))
        self.assertEqual(board.shell(), "X=7 Y=0 WIDTH=240 HEIGHT=278 CX=7 CY=38 cell=24")

    def test_every_keypad_point_lies_in_its_third_of_its_cell(self):
        for cell in (24, 32, 36, 48, 64):
            board = game_window.Board(13, 29, cell * 10, cell * 10 + 20)
            for row in range(9):
                for col in range(9):
                    for position in range(1, 10):
                        x, y = board.keypad(row, col, position)
                        dx = x - board.cx - cell // 2
                        dy = y - board.cy - cell // 2
                        where = (dy // cell, dx // cell, (dy % cell) * 3 // cell, (dx % cell) * 3 // cell)
                        self.assertEqual(where, (row, col, (position - 1) // 3, (position - 1) % 3),
                                         (cell, row, col, position))

    def test_a_keypad_point_outside_the_board_is_refused(self):
        for args in ((9, 0, 1), (0, -1, 1), (0, 0, 0), (0, 0, 10)):
            with self.assertRaises(ValueError):
                game_window.keypad_point(0, 0, 32, *args)


class CommandLineTest(unittest.TestCase):
    def run_tool(self, *args):
        return subprocess.run([sys.executable, os.path.join(HERE, "game_window.py"), *args],
                              capture_output=True, text=True, encoding="utf-8")

    def test_boxes_one_a_line_and_the_cell_named_by_the_last(self):
        with tempfile.NamedTemporaryFile("w", suffix=".err", delete=False, encoding="utf-8") as f:
            f.write(TRACE)
        try:
            done = self.run_tool("boxes", f.name)
            self.assertEqual(done.returncode, 0, done.stderr)
            self.assertEqual(done.stdout.splitlines(), ["正解＼(^▽^)／", "4行6列に「7」が入ります",
                                                        "レベル１：解いた数 1、\\nレベル２：解いた数 0"])
            # The last box is the records one: it names no cell.
            self.assertEqual(self.run_tool("named-cell", f.name).stdout, "")
            with open(f.name, "a", encoding="utf-8") as more:
                more.write('trace:msgbox:MSGBOX_OnInit L"2\\884c3\\5217\\306e\\300c5\\300d\\306f\\9593\\9055\\3044\\3067\\3059"\n')
            self.assertEqual(self.run_tool("named-cell", f.name).stdout, "2 3 0\n")
        finally:
            os.unlink(f.name)

    def test_keypad_and_bad_use(self):
        self.assertEqual(self.run_tool("keypad", "0", "19", "32", "0", "0", "1").stdout, "21 40\n")
        self.assertEqual(self.run_tool("keypad", "0", "19", "32", "9", "0", "1").returncode, 1)
        self.assertEqual(self.run_tool("boxes", "/nonexistent/game.err").returncode, 1)
        self.assertEqual(self.run_tool("geometry").returncode, 2)
        self.assertEqual(self.run_tool("frobnicate", "x").returncode, 2)


class MenuTest(unittest.TestCase):
    def test_every_command_of_the_resource_script_gets_its_keys(self):
        commands = soak.menu_commands(os.path.join(ROOT, "resources", "kubri.rc"))
        with open(os.path.join(ROOT, "resources", "resource_ids.h"), encoding="utf-8") as f:
            ids = set(re.findall(r"#define\s+(IDM_\w+)", f.read()))
        self.assertEqual(set(commands), ids)
        self.assertEqual(commands["IDM_PUZZLE_HINT"], ("alt+q", "h"))
        self.assertEqual(commands["IDM_PUZZLE_LEVEL1"], ("alt+q", "1"))
        self.assertEqual(commands["IDM_SIZE_SMALL"], ("alt+v", "s", "s"))
        self.assertEqual(commands["IDM_VIEW_SHOW_CLASHES"], ("alt+v", "d"))
        self.assertEqual(commands["IDM_FILE_EXIT"], ("alt+f", "x"))

    def write_rc(self, text):
        f = tempfile.NamedTemporaryFile("w", suffix=".rc", delete=False, encoding="utf-8")
        f.write(text)
        f.close()
        self.addCleanup(os.unlink, f.name)
        return f.name

    def test_only_the_menu_is_read_and_a_label_without_mnemonic_is_refused(self):
        rc = self.write_rc('OTHER DIALOG\nBEGIN\n  MENUITEM "No(&N)", IDM_NOT_MENU\nEND\n'
                           'M MENU\nBEGIN\n  POPUP "A(&A)"\n  BEGIN\n    MENUITEM "B(&B)", IDM_B\n  END\nEND\n'
                           'LATER MENU\nBEGIN\n  MENUITEM "C(&C)", IDM_C\nEND\n')
        self.assertEqual(soak.menu_commands(rc), {"IDM_B": ("alt+a", "b")})
        rc = self.write_rc('M MENU\nBEGIN\n  POPUP "A(&A)"\n  BEGIN\n    MENUITEM "B", IDM_B\n  END\nEND\n')
        with self.assertRaises(ValueError):
            soak.menu_commands(rc)
        with self.assertRaises(ValueError):
            soak.menu_commands(self.write_rc("nothing\n"))


class DropDownTest(unittest.TestCase):
    def test_a_menu_lies_on_the_game_window(self):
        # As Wine lays them out on a virtual display: the game's window at
        # (352, 233), 320 x 339.
        board = game_window.Board(352, 233, 320, 339)
        def g(x, y, w, h):
            return {"X": x, "Y": y, "WIDTH": w, "HEIGHT": h}
        self.assertTrue(soak.is_drop_down(board, g(352, 252, 145, 79)))    # the file menu, on the left edge
        self.assertTrue(soak.is_drop_down(board, g(469, 252, 173, 129)))   # the edit menu
        self.assertFalse(soak.is_drop_down(board, g(0, 0, 1024, 768)))     # the desktop
        self.assertFalse(soak.is_drop_down(board, g(672, 252, 100, 100)))  # beside the window
        self.assertFalse(soak.is_drop_down(board, g(-1, -1, 1, 1)))
        self.assertFalse(soak.is_drop_down(board, None))                   # gone meanwhile


class GameLogTest(unittest.TestCase):
    def test_boxes_and_heap_problems_are_kept_and_the_call_trace_only_in_game_trace(self):
        lines = [
            b"0024:trace:heap:RtlAllocateHeap (0x10000,70000062,00000018): returning 0x12345\n",
            b'0024:trace:msgbox:MSGBOX_OnInit L"\\6b63\\89e3"\n',
            b"0024:warn:heap:validate_free_block Heap 0x10000: block 0x2000 overwritten\n",
            b"wine: Unhandled page fault on read access to 0000000000000000\n",
            b"\xff\xfe not UTF-8\n",
        ]
        with tempfile.TemporaryDirectory() as work:
            log = soak.GameLog(io.BytesIO(b"".join(lines)), work)
            log.finish()
            self.assertEqual(log.boxes(), ["正解"])
            self.assertEqual(len(log.problems()), 2)
            self.assertIn("overwritten", log.problems()[0])
            with open(os.path.join(work, "game.trace"), "rb") as f:
                self.assertEqual(f.read(), b"".join(lines))
            with open(os.path.join(work, "game.err"), "rb") as f:
                self.assertEqual(f.read(), b"".join(lines[1:]))


class GrowthTest(unittest.TestCase):
    def test_growth_after_the_warm_up(self):
        flat = [(s, 200000 + (s % 3) * 1000) for s in range(0, 60, 5)]
        self.assertFalse(soak.growth_report(flat, 20)[0])
        # Growing past the margin (a tenth, at least 16 MiB) fails...
        rising = [(s, 200000 + s * 1000) for s in range(0, 120, 5)]
        grew, words = soak.growth_report(rising, 20)
        self.assertTrue(grew)
        self.assertIn("first third up to", words)
        # ...within it does not, nor does the warm-up's own growth.
        self.assertFalse(soak.growth_report([(s, 100000 + s * 100) for s in range(0, 120, 5)], 20)[0])
        warming = [(s, 50000 + s * 10000) for s in range(0, 20, 5)] + [(s, 300000) for s in range(20, 80, 5)]
        self.assertFalse(soak.growth_report(warming, 20)[0])

    def test_too_few_samples_pass(self):
        self.assertEqual(soak.growth_report([(30, 1), (35, 10 ** 9)], 20), (False, "few samples after the warm-up"))


if __name__ == "__main__":
    unittest.main()
