#!/usr/bin/env python3
"""game_window.py: where the game's board lies on the screen under Wine on a
virtual display, and what its message boxes said in Wine's trace.

The soak's driver imports it; the shell scripts that play the real game call
it as a command through the functions of game_test_common.sh:

  game_window.py geometry WINDOW
      shell assignments X Y WIDTH HEIGHT (the X window), CX CY (the client
      area's origin on the screen) and cell (the cell size in pixels)
  game_window.py keypad CX CY CELL ROW COL POSITION
      "x y": the screen point of keypad POSITION (1-9) of cell (ROW, COL),
      0-based
  game_window.py boxes FILE
      the text of each message box traced in FILE, one a line, in the order
      shown (a line break inside a text is written as the two characters \\n)
  game_window.py named-cell FILE
      "ROW COL DIGIT" (1-based, as the text says; DIGIT 0 unless the box
      places one) when the last box traced in FILE names a cell, else nothing

Standard library only.
"""

import re
import subprocess
import sys

# The client area is always ten cells square: the nine of the board and half
# a cell of margin on each side.
CELLS_ACROSS = 10


def window_geometry(window):
    """X, Y, WIDTH, HEIGHT of an X window, as xdotool reports them; None when
    the window is gone."""
    done = subprocess.run(["xdotool", "getwindowgeometry", "--shell", str(window)],
                          capture_output=True, text=True)
    if done.returncode != 0:
        return None
    values = {}
    for line in done.stdout.splitlines():
        name, _, value = line.partition("=")
        if name in ("X", "Y", "WIDTH", "HEIGHT") and value.lstrip("-").isdigit():
            values[name] = int(value)
    if len(values) != 4:
        return None
    return values


class Board:
    """The client area of the game's window on the screen.

    With no window manager the X window of a top-level Wine window has no
    caption or border: it holds the menu bar above the square client area.
    The client area therefore starts WIDTH pixels above the window's bottom
    edge, however many rows the menu bar wraps to.
    """

    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height
        self.cx = x
        self.cy = y + height - width
        self.cell = width // CELLS_ACROSS

    @classmethod
    def of_window(cls, window):
        """The board of an X window; None when the window is gone."""
        g = window_geometry(window)
        return None if g is None else cls(g["X"], g["Y"], g["WIDTH"], g["HEIGHT"])

    def keypad(self, row, col, position):
        """The screen point of keypad position 1-9 of cell (row, col), 0-based:
        the middle of that third of the cell, counted like a phone's keys."""
        return keypad_point(self.cx, self.cy, self.cell, row, col, position)

    def margin(self):
        """A point of the board's bottom-left margin: a click there gives the
        window the focus and changes nothing. No drop-down menu reaches down
        to it, so it is not a menu item even while a menu is left open."""
        return self.cx + 3, self.cy + self.width - 3

    def shell(self):
        return (f"X={self.x} Y={self.y} WIDTH={self.width} HEIGHT={self.height} "
                f"CX={self.cx} CY={self.cy} cell={self.cell}")


def keypad_point(cx, cy, cell, row, col, position):
    if not (0 <= row < 9 and 0 <= col < 9 and 1 <= position <= 9):
        raise ValueError(f"no keypad position {position} in cell ({row}, {col})")
    third = (position - 1) % 3, (position - 1) // 3
    x = cx + cell // 2 + col * cell + third[0] * cell // 3 + cell // 6
    y = cy + cell // 2 + row * cell + third[1] * cell // 3 + cell // 6
    return x, y


# Wine traces each message box as it opens:
#   trace:msgbox:MSGBOX_OnInit L"\6b63\89e3\ff3c(^\25bd^)\ff0f"
# the text quoted with printable ASCII as is, \n \r \t \" \\ escaped, and
# every other UTF-16 unit as a backslash and four hex digits. A text too
# long for the trace ends in "... after the quote.
_BOX_LINE = re.compile(r'MSGBOX_OnInit L"(.*)"(\.\.\.)?\s*$')
_ESCAPE = re.compile(r'\\([0-9a-fA-F]{4}|[nrt"\\])')
_SIMPLE = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}


def decode_trace_text(quoted):
    """The text of a string as Wine's trace quotes it (without the L"...")."""
    def unit(m):
        e = m.group(1)
        return _SIMPLE[e] if len(e) == 1 else chr(int(e, 16))
    text = _ESCAPE.sub(unit, quoted)
    # Pairs of UTF-16 surrogates come as two units: join them.
    return text.encode("utf-16-le", "surrogatepass").decode("utf-16-le", "replace")


def box_text(line):
    """The text of the message box a trace line reports; None for other lines."""
    m = _BOX_LINE.search(line.rstrip("\r\n"))
    return None if m is None else decode_trace_text(m.group(1))


def box_texts(lines):
    return [t for t in (box_text(line) for line in lines) if t is not None]


_NAMED_CELL = re.compile(r"^([1-9])\u884c([1-9])\u5217(?:\u306b\u300c([1-9])\u300d)?")  # R行C列(に「D」)


def named_cell(text):
    """(row, col, digit) of a box naming a cell, "R行C列…", 1-based; digit is
    the one it places ("R行C列に「D」…") or 0. None for any other text."""
    m = _NAMED_CELL.match(text)
    if m is None:
        return None
    return int(m.group(1)), int(m.group(2)), int(m.group(3) or 0)


def _read_lines(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.readlines()


def main(argv):
    usage = ("usage: game_window.py geometry WINDOW | keypad CX CY CELL ROW COL POSITION"
             " | boxes FILE | named-cell FILE")
    if len(argv) < 2:
        print(usage, file=sys.stderr)
        return 2
    command, args = argv[1], argv[2:]
    try:
        if command == "geometry" and len(args) == 1:
            board = Board.of_window(args[0])
            if board is None:
                print(f"game_window.py: no window {args[0]}", file=sys.stderr)
                return 1
            print(board.shell())
        elif command == "keypad" and len(args) == 6:
            print("%d %d" % keypad_point(*(int(a) for a in args)))
        elif command == "boxes" and len(args) == 1:
            for text in box_texts(_read_lines(args[0])):
                print(text.replace("\r\n", "\n").replace("\n", "\\n"))
        elif command == "named-cell" and len(args) == 1:
            texts = box_texts(_read_lines(args[0]))
            cell = named_cell(texts[-1]) if texts else None
            if cell is not None:
                print("%d %d %d" % cell)
        else:
            print(usage, file=sys.stderr)
            return 2
    except (OSError, ValueError) as e:
        print(f"game_window.py: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
