#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# What a screen reader finds in the running program, read over the AT-SPI bus: the names of
# the size lists, the board's tiles (only those of the board, rows counted from its top), the
# focus through keyboard play, the names a move changes, the quiet hidden clock, the options
# dialog's frames and font chooser, and the help window's role. Driven with xdotool; the
# program shows a 5 x 4 board of stems. Usage: a11y.py MAIN-WINDOW-ID
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

WINDOW = sys.argv[1]
failures = []
checks = 0
events = []


def check(ok, what):
    global checks
    checks += 1
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def pump(seconds=0.0):
    """Delivers the bus's events for a while."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait(predicate, what, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        pump()
        try:
            value = predicate()
        except Exception:  # an object that went away while asked
            value = None
        if value:
            return value
        time.sleep(0.05)
    check(False, "waited for " + what)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    sys.exit(1)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True)
    pump(0.1)


def state(obj, s):
    return obj.getState().contains(s)


def find(root, predicate, skip=("table", "list", "popup menu", "menu bar")):
    found = []

    def walk(obj):
        if obj is None:
            return
        if predicate(obj):
            found.append(obj)
        if obj.getRoleName() in skip:
            return
        for child in obj:
            walk(child)

    walk(root)
    return found


def listen(event):
    events.append((event.type, event.source, event.source.getRoleName(), event.source.name,
                   event.source.getIndexInParent(), event.source.parent.name if event.source.parent else ""))


pyatspi.Registry.registerEventListener(listen, "object:property-change:accessible-name", "object:state-changed:focused")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Orbilo":
            return app
    return None


app = wait(application, "the program on the bus")
main = wait(lambda: next((w for w in app if w.name == "OrbiloVer1.10"), None), "the main window")
board = wait(lambda: next(iter(find(main, lambda o: o.getRoleName() == "panel" and o.name == "盤面")), None), "the board")

# The size lists say what they set, not the number they show.
combos = [c.name for c in find(main, lambda o: o.getRoleName() == "combo box")]
check(combos == ["縦", "横"], f"size lists named 縦 and 横 (are {combos})")

# Only the 5 x 4 board's tiles, the top row first, rows counted from the board's top.
names = [t.name for t in board]
check(len(names) == 20, f"20 tiles on a 5 x 4 board (are {len(names)})")
expected = [f"{i % 4 + 1}列 {i // 4 + 1}段" for i in range(20)]
check(all(n.endswith(" " + e) for n, e in zip(names, expected)),
      f"tiles named by column and row from the board's top: {names[:2]} .. {names[-1:]}")

# Idle: the hidden clock ticks, and no name changes are sent for it.
events.clear()
pump(2.5)
clock = [e for e in events if e[0].startswith("object:property-change:accessible-name")]
check(not clock, f"nothing renamed while idle with the clock hidden (heard {[(e[2], e[3]) for e in clock]})")

# Keyboard play: the board takes the focus, the first Space shows the cursor on a tile.
subprocess.run(["xdotool", "windowfocus", "--sync", WINDOW], check=True)
wait(lambda: state(board, pyatspi.STATE_FOCUSED), "the board's focus")
keys("space")
cursor = wait(lambda: next((i for i, t in enumerate(board) if state(t, pyatspi.STATE_FOCUSED)), None),
              "a focused tile under the cursor")
log = next(iter(find(main, lambda o: o.getRoleName() == "table", skip=("table",))))


def focus_outside_board():
    cells = [c.name for c in log if state(c, pyatspi.STATE_FOCUSED)]
    heard = [e for e in events if e[0].startswith("object:state-changed:focused") and e[5] != "盤面" and e[3] != "盤面"]
    return cells, heard


# A pick: the tile is selected, and the focus stays on the board.
events.clear()
keys("space")
wait(lambda: board[cursor].name.endswith("選択中"), "the picked tile selected")
pump(0.3)
cells, heard = focus_outside_board()
check(state(board, pyatspi.STATE_FOCUSED) and state(board[cursor], pyatspi.STATE_FOCUSED),
      "the board and the cursor's tile keep the focus after a pick")
check(not cells and not heard, f"no focus in the log after a pick (cells {cells}, events {[(e[2], e[3]) for e in heard]})")

# The partner beside it (every tile is a stem): the pair goes. Name changes come for the tiles
# whose names changed, and for no other.
before = [t.name for t in board]
partner = cursor - 1 if cursor % 4 == 3 else cursor + 1
keys("Left" if cursor % 4 == 3 else "Right")
events.clear()
keys("space")
remaining = wait(lambda: next(iter(find(main, lambda o: o.name == "残り 18枚")), None), "the pair removed")
pump(0.5)
after = [t.name for t in board]
changed = {i for i in range(20) if before[i] != after[i]}
renamed = [e for e in events if e[0].startswith("object:property-change:accessible-name") and e[5] == "盤面"]
told = {e[4] for e in renamed}
check(len(after) == 20, f"still the board's 20 places after a move (are {len(after)})")
# The partner is renamed twice: selected, then gone. When the tile that falls onto its place
# shows the same symbol, its last name is its first, but both changes were still heard.
check(told == changed | {partner} and len(renamed) == len(changed - {partner}) + 2,
      f"name changes for the {len(changed)} renamed tiles only (heard {len(renamed)} for places {sorted(told)})")
cells, heard = focus_outside_board()
check(not cells and not heard and state(board, pyatspi.STATE_FOCUSED), "the focus stays on the board after a move")

# Backspace takes it back.
keys("BackSpace")
wait(lambda: find(main, lambda o: o.name == "残り 20枚"), "the move undone")

# The options dialog: the colours' frame by its own title, the font chooser in the Tab order.
keys("alt+s")
setu = wait(lambda: next((w for w in app if w.name == "設定" and state(w, pyatspi.STATE_SHOWING)), None), "the options dialog")
frames = [f.name for f in find(setu, lambda o: o.getRoleName() == "panel" and any(c.name == "デスクトップの配色を使う" for c in o))]
check(frames == ["配色"], f"the colours' frame named 配色 (is {frames})")
chooser = find(setu, lambda o: o.name == "盤面のフォント")
check(len(chooser) == 1 and chooser[0].getRoleName() == "push button" and state(chooser[0], pyatspi.STATE_FOCUSABLE),
      "the font chooser is a button that takes the focus")
# Through the page's controls in their order (the sound switch, the language list, the two
# game switches), then the chooser.
for _ in range(8):
    keys("Tab")
    pump(0.2)
    if state(chooser[0], pyatspi.STATE_FOCUSED):
        break
wait(lambda: state(chooser[0], pyatspi.STATE_FOCUSED), "the font chooser focused by Tab")
keys("Escape")
wait(lambda: not state(setu, pyatspi.STATE_SHOWING), "the options dialog closed")

# The help window is a window.
subprocess.run(["xdotool", "windowfocus", "--sync", WINDOW], check=True)
keys("alt+h", "c")
help_window = wait(lambda: next((w for w in app if "ヘルプ" in w.name and state(w, pyatspi.STATE_SHOWING)), None), "the help window")
check(help_window.getRoleName() == "frame", f"the help window's role is frame (is {help_window.getRoleName()})")

print(f"{checks - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
