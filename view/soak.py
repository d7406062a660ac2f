#!/usr/bin/env python3
"""soak.py KUBRI_EXE NUMBER_DDS SETTINGS_CHECK_EXE [SECONDS]

Plays the real game under Wine for SECONDS (60 unless KUBRI_SOAK_SECONDS says
otherwise) with a seeded random driver and Wine's heap checks on: clicks on
cells and keypad positions with both buttons, keys, every command of the menu
bar by its mnemonics, bursts of undo and redo, menus opened and left with
Esc, and files opened and saved in the scratch folder through the file
dialog; message boxes and dialogs are answered as they come. Then it closes
the game as a player would and checks Kubri.dat.

Fails on a crash or an early end, on any heap error or warning in Wine's log
(or a complaint from the host allocator), when the memory the game's process
holds keeps growing after the warm-up, or when Kubri.dat is not written or
its stock does not grade as filed. A failure prints the seed, the action it
came at and the actions before it.

KUBRI_SOAK_SEED picks the seed (fixed by default; printed either way).
KUBRI_SOAK_HEAP=warn (the default) has Wine fill every freed block and check
it when it is reused, and check every pointer freed or reallocated; =trace
also validates the whole heap and every block's tail at each allocation and
free, but under Wine 8 that reports live blocks of its own Direct3D command
thread as freed blocks overwritten (see scripts/heap-checked.sh), so it is
for looking, not for passing. KUBRI_SOAK_KEEP=1 keeps the work folder with
the logs (actions.log, rss.log, game.err, game.trace).

Runs on the display and Wine prefix it is given (soak_test.sh brings up
ones of its own). Standard library only.
"""

import collections
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import game_window  # noqa: E402

DEFAULT_SEED = 20261208

# What Wine's heap validation or the host's allocator says when it finds a
# fault, and the crash report of an unhandled exception.
HEAP_PROBLEM = re.compile(r":(err|warn):heap:|Assertion failed|corrupted|double free|free\(\)|"
                          r"malloc\(\)|realloc\(\)|Unhandled|page fault")
# The one line per heap call that trace mode writes: kept in game.trace only.
HEAP_CALL = re.compile(r":trace:heap:(Rtl|GetSystemFirmwareTable)")

CHANNELS = {
    "warn": "-all,err+heap,warn+heap,trace+msgbox",
    "trace": "-all,+heap,trace+msgbox",
}

# The titles the game gives its file dialogs.
OPEN_TITLE = "開くファイル名"
SAVE_TITLE = "保存するファイル名"

# A player's pace: the pause after a click (two clicks on one spot closer
# than this would also make a double click of every pair), after each key of
# a menu command, after a focusing click, and after a menu command before
# the next action.
CLICK_PAUSE = 0.3
KEY_PAUSE = 0.15
FOCUS_PAUSE = 0.2
MENU_PAUSE = 0.5
POLL = 0.05


class Failure(Exception):
    """The game misbehaved: the soak fails with this message."""


def menu_commands(rc_path):
    """Every command of the game's menu bar, from the resource script, as the
    keys that run it by the mnemonics of its labels:
    {"IDM_PUZZLE_HINT": ("alt+q", "h"), "IDM_SIZE_LARGE": ("alt+v", "s", "l"), ...}."""
    commands = {}
    path = []          # the mnemonics of the popups the parser is inside
    popup = None       # a popup's mnemonic until its BEGIN
    depth = 0
    in_menu = False
    item = re.compile(r'\s*(POPUP|MENUITEM)\s+"([^"]*)"\s*(?:,\s*(\w+))?')
    with open(rc_path, encoding="utf-8") as f:
        for line in f:
            words = line.split()
            if not in_menu:
                in_menu = len(words) == 2 and words[1] == "MENU"
                continue
            m = item.match(line)
            if m:
                label = m.group(2)
                if "&" not in label:
                    raise ValueError(f"the menu label {label} has no mnemonic")
                key = label[label.index("&") + 1].lower()
                if m.group(1) == "POPUP":
                    popup = key
                elif m.group(3):
                    keys = path + [key]
                    commands[m.group(3)] = ("alt+" + keys[0],) + tuple(keys[1:])
            elif words[:1] == ["BEGIN"]:
                depth += 1
                if popup is not None:
                    path.append(popup)
                    popup = None
            elif words[:1] == ["END"]:
                depth -= 1
                if depth == 0:
                    break
                path.pop()
    if not commands:
        raise ValueError(f"no menu commands in {rc_path}")
    return commands


def growth_report(samples, warm):
    """Whether the resident set kept growing after the warm-up: the lowest
    sample of the last third may not lie above the highest of the first third
    by more than the margin (16 MiB, or a tenth of that highest). samples
    are (second, kB) pairs; returns (grew, words)."""
    kept = [kb for second, kb in samples if second >= warm]
    if len(kept) < 6:
        return False, "few samples after the warm-up"
    third = len(kept) // 3
    high = max(kept[:third])
    low = min(kept[-third:])
    margin = max(high // 10, 16384)
    words = f"after warm-up: first third up to {high} kB, last third from {low} kB"
    return low > high + margin, words


def is_drop_down(board, g):
    """Whether an unnamed top-level X window of geometry g (as window_geometry
    gives it) is a drop-down menu of the game's window: its corner lies on
    that window (the file menu's on its left edge). The unnamed windows Wine
    draws the client area into are children, not top-level windows."""
    return (g is not None and board.x <= g["X"] < board.x + board.width and
            board.y < g["Y"] < board.y + board.height)


def resident_kb(pid, field="VmRSS"):
    """A memory figure of a process from /proc, in kB; None once it is gone."""
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def xdo(*args):
    """One xdotool command; an error (a window gone meanwhile) is not one of
    the game's."""
    subprocess.run(["xdotool", *map(str, args)], stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def visible(name, top_level=False):
    """The X windows shown whose name matches the regular expression; only
    the children of the root window when top_level."""
    depth = ["--maxdepth", "1"] if top_level else []
    done = subprocess.run(["xdotool", "search", *depth, "--onlyvisible", "--name", name],
                          capture_output=True, text=True)
    return done.stdout.split()


def wait_until(test, timeout):
    """Polls test until it is true or timeout seconds pass; its last value."""
    end = time.monotonic() + timeout
    while True:
        value = test()
        if value or time.monotonic() >= end:
            return value
        time.sleep(POLL)


class GameLog:
    """Reads the game's standard error as it comes: every line to game.trace,
    all but the heap call trace to game.err, and keeps the message boxes' texts
    and the heap problems for the driver."""

    def __init__(self, stream, work):
        self._lock = threading.Lock()
        self._boxes = []       # guarded by _lock
        self._problems = []    # guarded by _lock
        self._thread = threading.Thread(target=self._read, args=(stream, work), daemon=True)
        self._thread.start()

    def _read(self, stream, work):
        with open(os.path.join(work, "game.trace"), "wb") as trace, \
                open(os.path.join(work, "game.err"), "wb") as err:
            for raw in stream:
                trace.write(raw)
                line = raw.decode("utf-8", "replace")
                if HEAP_CALL.search(line):
                    continue
                err.write(raw)
                err.flush()
                text = game_window.box_text(line)
                problem = HEAP_PROBLEM.search(line) is not None
                if text is not None or problem:
                    with self._lock:
                        if text is not None:
                            self._boxes.append(text)
                        if problem:
                            self._problems.append(line.rstrip())

    def boxes(self):
        with self._lock:
            return list(self._boxes)

    def problems(self):
        with self._lock:
            return list(self._problems)

    def finish(self, timeout=10):
        self._thread.join(timeout)


class MemorySampler:
    """Samples the resident set of a process every few seconds, whatever the
    driver is doing, into rss.log and samples: (second, kB) pairs."""

    def __init__(self, pid, work, started, every=5):
        self.samples = []
        self._pid, self._started, self._every = pid, started, every
        self._path = os.path.join(work, "rss.log")
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()

    def sample(self):
        kb = resident_kb(self._pid)
        if kb is None:
            return
        second = int(time.monotonic() - self._started)
        self.samples.append((second, kb))
        with open(self._path, "a") as f:
            f.write(f"{second} {kb}\n")

    def _run(self):
        while True:
            self.sample()
            if self._stop.wait(self._every):
                return

    def stop(self):
        """Stops the thread and takes one last sample; once."""
        if self._stop.is_set():
            return
        self._stop.set()
        self._thread.join()
        self.sample()


class Soak:
    def __init__(self, exe, dds, checker, seconds, seed, heap, keep):
        self.exe, self.dds, self.checker = exe, dds, checker
        self.seconds, self.seed, self.heap, self.keep = seconds, seed, heap, keep
        self.rng = random.Random(seed)
        self.commands = menu_commands(os.path.join(ROOT, "resources", "kubri.rc"))
        self.actions = 0
        self.recent = collections.deque(maxlen=5)
        self.started = time.monotonic()
        self.game = None
        self.log = None
        self.board = None
        self.window = None
        self.boxes_answered = 0
        self.memory = None
        self.work = tempfile.mkdtemp(prefix="kubri-soak.", dir=os.environ.get("TMPDIR", "/tmp"))
        # The commands played at random: all but those that end the game or
        # go through the file dialog (the file action plays those); hints
        # come three times as often.
        self.menu_choices = []
        for name, keys in sorted(self.commands.items()):
            if name in ("IDM_FILE_EXIT", "IDM_FILE_OPEN", "IDM_FILE_SAVE_AS"):
                continue
            self.menu_choices += [(name, keys)] * (3 if name == "IDM_PUZZLE_HINT" else 1)
        self.menu_bar = sorted({keys[0] for keys in self.commands.values()})

    # --- Bookkeeping -------------------------------------------------------
    def elapsed(self):
        return time.monotonic() - self.started

    def note(self, what):
        line = f"{self.actions} {int(self.elapsed())}s {what}"
        self.recent.append(line)
        with open(os.path.join(self.work, "actions.log"), "a", encoding="utf-8") as f:
            f.write(line + "\n")

    def replay_info(self):
        lines = [f"seed {self.seed}, action {self.actions}: replay with KUBRI_SOAK_SEED={self.seed};"
                 " the last actions:"]
        lines += list(self.recent)
        if self.log is not None:
            lines += self.log.problems()[:20]
        if self.keep:
            lines.append(f"the logs are kept in {self.work}")
        return "\n".join(lines)

    def alive(self):
        return self.game is not None and self.game.poll() is None

    def check_running(self):
        if not self.alive():
            raise Failure("the game ended by itself")
        if self.log.problems():
            raise Failure("heap problem reported")

    # --- The window --------------------------------------------------------
    def start_game(self):
        for source, name in ((self.exe, "Kubri.exe"), (self.dds, "Number.dds"), (self.checker, "check.exe")):
            shutil.copy(source, os.path.join(self.work, name))
        env = dict(os.environ)
        env["WINEDEBUG"] = CHANNELS[self.heap]
        # No debugger on a crash: it would wait for ever.
        env["WINEDLLOVERRIDES"] = env.get("WINEDLLOVERRIDES", "mscoree,mshtml=") + ";winedbg.exe=d"
        with open(os.path.join(self.work, "game.out"), "wb") as out:
            self.game = subprocess.Popen(["wine", "./Kubri.exe"], cwd=self.work, env=env,
                                         stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.PIPE)
        self.log = GameLog(self.game.stderr, self.work)
        found = wait_until(lambda: not self.alive() or visible("^Kubri$"), 60)
        if not self.alive() or not found:
            raise Failure("the window did not appear")
        self.window = found[0]
        self.measure()

    def measure(self):
        """The board's place on the screen, once the window has settled there."""
        last = None
        for _ in range(40):
            board = game_window.Board.of_window(self.window)
            if board is not None and last is not None and vars(board) == vars(last):
                break
            last = board
            time.sleep(POLL * 2)
        if last is None:
            raise Failure("the game's window is gone")
        self.board = last

    def boxes_up(self):
        """Message boxes on the screen: they carry the game's caption too."""
        return max(len(visible("^Kubri$")) - 1, 0)

    def focus(self):
        """A click into the board's margin: gives the window the keyboard focus
        (and closes a menu left open by a grayed item), changes nothing on the
        board."""
        xdo("mousemove", *self.board.margin(), "click", 1)
        time.sleep(FOCUS_PAUSE)

    def keys(self, keys):
        """Gives the window the focus, then presses the keys in turn."""
        self.focus()
        xdo("key", "--delay", int(KEY_PAUSE * 1000), *keys)
        time.sleep(KEY_PAUSE)

    def press(self, row, col, position, button=1):
        xdo("mousemove", *self.board.keypad(row, col, position), "click", button)
        time.sleep(CLICK_PAUSE)

    def answer_boxes(self):
        """Answers every message box that is up with Return. A box Wine has
        traced but not yet shown is waited for."""
        answered = False
        for _ in range(5):
            traced = len(self.log.boxes())
            if not wait_until(lambda: self.boxes_up() > 0, 3 if traced > self.boxes_answered else 0):
                break
            up = self.boxes_up()
            xdo("key", "Return")
            answered = True
            self.boxes_answered = max(self.boxes_answered + 1, traced)
            wait_until(lambda: self.boxes_up() < up, 5)
        self.boxes_answered = max(self.boxes_answered, len(self.log.boxes()))
        if answered:
            self.focus()

    def wait_box(self, seen, timeout=10):
        """Whether the game shows more than seen message boxes within timeout."""
        return wait_until(lambda: len(self.log.boxes()) > seen, timeout)

    def menu_up(self):
        """Whether a drop-down menu of the game is up."""
        return any(is_drop_down(self.board, game_window.window_geometry(w))
                   for w in visible("^$", top_level=True))

    def escape_menu(self, opener):
        """A menu opened and closed again with Esc, Esc: the first closes the
        drop-down, the second leaves the menu bar. Sent only while the
        drop-down is up, since Esc on the board closes the game."""
        self.keys([opener])
        if wait_until(self.menu_up, 1):
            xdo("key", "--delay", 300, "Escape", "Escape")
        self.focus()

    def answer_dialog(self, title, name, timeout=15):
        """Once the file dialog titled title shows (within timeout seconds),
        types name into it and confirms it, or (one time in five) cancels
        it. A missing file to open brings a
        warning, which is answered. Cancel is clicked rather than Esc pressed:
        an Esc that arrived after the dialog had gone would close the game."""
        pattern = "^" + title + "$"
        if not wait_until(lambda: visible(pattern), timeout):
            return
        time.sleep(1)  # a player reads the dialog before typing
        if self.rng.randrange(5) > 0:
            xdo("key", "End", "shift+Home")
            xdo("type", "--delay", 30, name)
            for _ in range(2):
                xdo("key", "Return")
                if wait_until(lambda: not visible(pattern), 8):
                    self.focus()
                    return
        self.cancel_dialog(title)

    def cancel_dialog(self, title):
        """Clicks the Cancel button of the dialog titled title."""
        pattern = "^" + title + "$"
        shown = visible(pattern)
        if shown:
            g = game_window.window_geometry(shown[0])
            if g:
                xdo("mousemove", g["X"] + g["WIDTH"] - 54, g["Y"] + g["HEIGHT"] - 18, "click", 1)
        if not wait_until(lambda: not visible(pattern), 8):
            raise Failure(f"the dialog {title} did not close")
        self.focus()

    def cancel_stray_dialogs(self):
        """A file dialog that came up after its action had stopped waiting for
        it would take every key that follows: it is cancelled."""
        if not visible(f"^({OPEN_TITLE}|{SAVE_TITLE})$"):
            return
        for title in (OPEN_TITLE, SAVE_TITLE):
            if visible("^" + title + "$"):
                self.note(f"a stray dialog {title} cancelled")
                self.cancel_dialog(title)

    # --- Actions -----------------------------------------------------------
    def act_click(self, button):
        """A click on a random keypad position of a random cell."""
        row, col, position = self.rng.randrange(9), self.rng.randrange(9), self.rng.randrange(1, 10)
        self.note(f"click {button} r{row + 1}c{col + 1} position {position}")
        self.press(row, col, position, button)

    def act_key(self):
        """A key of the keyboard play: digits, marks, arrows, erasing."""
        key = self.rng.choice("1 2 3 4 5 6 7 8 9 shift+1 shift+5 shift+9 Up Down Left Right "
                              "Delete BackSpace space".split())
        self.note(f"key {key}")
        xdo("key", key)

    def act_undo_redo(self):
        """A burst of undo and then of redo, as held keys would send them."""
        undo = self.rng.randrange(12) + 1
        redo = self.rng.randrange(12)
        key = self.rng.choice(["ctrl+y", "ctrl+shift+z"])
        self.note(f"undo x{undo}, redo ({key}) x{redo}")
        self.focus()
        xdo("key", "--delay", 12, *(["ctrl+z"] * undo + [key] * redo))

    def act_menu(self):
        """A menu command by its keys (grayed ones leave the menu open: the
        next focusing click closes it)."""
        name, keys = self.rng.choice(self.menu_choices)
        self.note("menu " + " ".join(keys))
        self.keys(keys)
        time.sleep(MENU_PAUSE)
        if name == "IDM_FILE_SAVE":
            # Only a puzzle with no file yet asks for one.
            self.answer_dialog(SAVE_TITLE, "soak1.kbr", timeout=5)
        elif name.startswith("IDM_SIZE_"):
            # The window takes its new size a moment later (or keeps it when
            # the size was already chosen).
            width = self.board.width
            wait_until(lambda: (game_window.Board.of_window(self.window) or self.board).width != width, 3)
            self.measure()

    def act_file(self):
        """Open or save as through the file dialog, on one of three scratch files."""
        name = self.rng.choice(["IDM_FILE_OPEN", "IDM_FILE_SAVE_AS", "IDM_FILE_SAVE_AS"])
        file = f"soak{self.rng.randrange(3) + 1}.kbr"
        keys = self.commands[name]
        self.note(f"file {' '.join(keys)} {file}")
        self.keys(keys)
        self.answer_dialog(OPEN_TITLE if name == "IDM_FILE_OPEN" else SAVE_TITLE, file)

    def act_menu_escape(self):
        opener = self.rng.choice(self.menu_bar)
        self.note(f"menu {opener}, Esc, Esc")
        self.escape_menu(opener)

    def command(self, name):
        self.keys(self.commands[name])
        time.sleep(MENU_PAUSE)

    def act_crash_steps(self):
        """The steps played before the one crash seen in long play: a grid
        finished by following hints to 正解, Ctrl+Z and the hint's keys while
        that box is up, then retry, undo, redo, a mark on r1c2, r5c5 selected,
        the answer, undo, redo, and the edit menu opened and left with Esc, Esc."""
        self.note("the steps before the crash once seen")
        self.command("IDM_PUZZLE_ANSWER")
        for _ in range(3):            # a few answered values taken away again
            row, col = self.rng.randrange(9), self.rng.randrange(9)
            self.press(row, col, 5)
            self.press(row, col, 5, 3)
            self.press(row, col, 5, 3)
        for _ in range(6):            # hints followed until the grid is finished
            seen = len(self.log.boxes())
            self.command("IDM_PUZZLE_HINT")
            if not self.wait_box(seen):
                break
            hint = game_window.named_cell(self.log.boxes()[-1])
            wait_until(lambda: self.boxes_up() > 0, 3)
            xdo("key", "Return")
            wait_until(lambda: self.boxes_up() == 0, 3)
            self.boxes_answered = len(self.log.boxes())
            if hint is None or hint[2] == 0:
                break
            row, col, digit = hint
            seen = len(self.log.boxes())
            self.focus()
            self.press(row - 1, col - 1, digit)
            self.press(row - 1, col - 1, digit)
            if self.wait_box(seen, 2):   # 正解 (or not): undo and hint while it is up
                wait_until(lambda: self.boxes_up() > 0, 3)
                xdo("key", "ctrl+z", "alt+q", "h")
                time.sleep(0.5)
                break
        self.answer_boxes()
        self.command("IDM_PUZZLE_RETRY")
        xdo("key", "--delay", 300, "ctrl+z", "ctrl+y")
        self.press(0, 1, 5)
        self.press(0, 1, 5, 3)
        self.press(4, 4, 5)
        self.command("IDM_PUZZLE_ANSWER")
        xdo("key", "--delay", 300, "ctrl+z", "ctrl+y")
        self.answer_boxes()
        self.escape_menu(self.commands["IDM_EDIT_UNDO"][0])

    def act_random(self):
        r = self.rng.randrange(100)
        if r < 40:
            self.act_click(1)
        elif r < 52:
            self.act_click(3)
        elif r < 70:
            self.act_key()
        elif r < 78:
            self.act_undo_redo()
        elif r < 94:
            self.act_menu()
        elif r < 95:
            self.act_menu_escape()
        elif r < 96:
            self.act_crash_steps()
        else:
            self.act_file()

    # --- The run -----------------------------------------------------------
    def close(self):
        """Closes the game as a player would, with the menu or Esc, once no
        menu is left open; a new puzzle made on the spot may keep it busy for
        a while."""
        how = self.rng.choice([self.commands["IDM_FILE_EXIT"], ("Escape",)])
        self.note("close with " + " ".join(how))
        self.answer_boxes()
        for _ in range(3):
            self.focus()
            if self.menu_up():
                time.sleep(1)
                continue
            self.keys(how)
            if wait_until(lambda: not self.alive(), 60):
                break
            self.answer_boxes()
            how = self.commands["IDM_FILE_EXIT"]
        if self.alive():
            raise Failure("the game did not end after closing")
        self.log.finish()

    def run(self):
        print(f"soak: seed {self.seed}, {self.seconds} s, heap checks {self.heap}", flush=True)
        self.start_game()
        self.started = time.monotonic()
        self.memory = MemorySampler(self.game.pid, self.work, self.started)
        self.focus()
        # A long run opens with the steps once seen before a crash; a short
        # one keeps its minute for random play (the steps come up there too,
        # now and then).
        if self.seconds >= 300:
            self.actions = 1
            self.act_crash_steps()
            self.answer_boxes()
        while self.elapsed() < self.seconds:
            self.check_running()
            # Where the board is now: the size may have changed since.
            self.board = game_window.Board.of_window(self.window) or self.board
            self.actions += 1
            self.act_random()
            self.answer_boxes()
            self.cancel_stray_dialogs()
        self.memory.stop()
        played = self.elapsed()
        self.check_running()
        peak = resident_kb(self.game.pid, "VmHWM") or 0
        self.close()
        if self.log.problems():
            raise Failure("heap problem reported")
        dat = os.path.join(self.work, "Kubri.dat")
        if not os.path.isfile(dat):
            raise Failure("no Kubri.dat after closing")
        check = subprocess.run([os.path.join(ROOT, "scripts", "wine-exec.sh"),
                                os.path.join(self.work, "check.exe"), dat],
                               stdin=subprocess.DEVNULL, capture_output=True, text=True, errors="replace")
        report = check.stdout.replace("\r", "")
        if check.returncode != 0:
            raise Failure("the stock in Kubri.dat does not grade as filed: " + report + check.stderr)
        minutes = played / 60
        print(f"soak: {self.actions} actions in {minutes:.1f} min ({self.actions / minutes:.0f} a minute), "
              f"peak resident set {peak // 1024} MiB, heap warnings 0")
        print(" ".join(report.split("\n")))
        warm = 60 if self.seconds >= 180 else self.seconds // 3
        grew, words = growth_report(self.memory.samples, warm)
        print(words)
        if grew:
            raise Failure("the game's memory kept growing: " +
                          " ".join(f"{s}s:{kb}" for s, kb in self.memory.samples))

    def stop(self):
        """Ends the game if it still runs, and removes the work folder unless
        it is to be kept."""
        if self.memory is not None:
            self.memory.stop()
        if self.alive():
            self.game.kill()
            try:
                self.game.wait(10)
            except subprocess.TimeoutExpired:
                pass
        if self.log is not None:
            self.log.finish(2)
        if not self.keep:
            shutil.rmtree(self.work, ignore_errors=True)


def main(argv):
    if len(argv) not in (4, 5):
        print(__doc__.split("\n\n")[0], file=sys.stderr)
        return 2
    seconds = int(argv[4] if len(argv) == 5 else os.environ.get("KUBRI_SOAK_SECONDS", "60"))
    seed = int(os.environ.get("KUBRI_SOAK_SEED", DEFAULT_SEED))
    heap = os.environ.get("KUBRI_SOAK_HEAP", "warn")
    if heap not in CHANNELS:
        print("KUBRI_SOAK_HEAP is trace or warn", file=sys.stderr)
        return 2
    # A stop from ctest's timeout still ends the game and reports where the run stood.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    soak = Soak(argv[1], argv[2], argv[3], seconds, seed, heap, bool(os.environ.get("KUBRI_SOAK_KEEP")))
    try:
        soak.run()
    except Failure as e:
        print(f"FAIL: {e}", file=sys.stderr)
        print(soak.replay_info(), file=sys.stderr)
        return 1
    except BaseException:
        print(soak.replay_info(), file=sys.stderr)
        raise
    finally:
        soak.stop()
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
