#!/usr/bin/python3
"""Two rounds of Wirtola as a screen reader's user plays them.

    atspi_round.py <wirtola program> <card_reference program>

The program runs on its own X server (Xvfb) with a private D-Bus session and the AT-SPI bus, from
a scratch folder that holds its statistics file. The first round is played through accessible
objects and their actions alone, and what the cards say is checked against the pixels they show,
both taken from the program's card names and image set (tests/cards/CardReference.cpp).
The second is played by real key presses (xdotool) while the reader follows the focus, with the
mistyped mnemonics that once typed their letters over the stake. The statistics must count both.
Exit code 77 means the X server or the bus could not be started: the test is skipped.
"""

import ctypes
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from desktop_bus import on_private_display, skip, start_accessibility_bus, wait_for, write_statistics

STATS_BEFORE = (4, 3, 2000)  # wins, losses, fund
STAKE = 10


def outer(program, reference):
    """The X server, then this script again inside a private D-Bus session."""
    for tool in ("Xvfb", "dbus-run-session", "/usr/libexec/at-spi-bus-launcher"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    return on_private_display(__file__, [program, reference], timeout=150)


def card_reference(reference, folder):
    """The 52 faces' names and the back's as the program gives them, and the picture (0xRRGGBB, top
    row first; None where the window's colour shows through) that each name stands for."""
    lines = subprocess.run([reference, folder], check=True, capture_output=True, encoding="utf-8", timeout=60,
                           env=dict(os.environ, ASAN_OPTIONS="detect_leaks=0")).stdout.splitlines()
    pictures = {}
    for name, file in (line.split("\t") for line in lines):
        with open(file, "rb") as f:
            pixels = struct.unpack("<%dI" % (71 * 96), f.read())
        pictures[name] = [[p & 0xFFFFFF if p >> 24 else None for p in pixels[y * 71:][:71]]
                          for y in range(96)]
    *faces, back = pictures  # the back comes last
    assert len(lines) == len(pictures) == 53, lines
    return set(faces), back, pictures


def children(node):
    return [child for child in map(node.getChildAtIndex, range(node.childCount)) if child is not None]


class Client:
    def __init__(self, pyatspi, app, reference):
        self.pyatspi, self.app = pyatspi, app
        self.faces, self.back, self.pictures = reference
        self.x = x = ctypes.CDLL("libX11.so.6")
        P, U, I = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int
        x.XOpenDisplay.restype, x.XOpenDisplay.argtypes = P, [ctypes.c_char_p]
        x.XDefaultRootWindow.restype, x.XDefaultRootWindow.argtypes = U, [P]
        x.XGetImage.restype, x.XGetImage.argtypes = P, [P, U, I, I, ctypes.c_uint, ctypes.c_uint, U, I]
        x.XGetPixel.restype, x.XGetPixel.argtypes = U, [P, I, I]
        x.XSync.argtypes, x.XDestroyImage.argtypes = [P, I], [P]
        self.display = x.XOpenDisplay(None)
        assert self.display, "cannot open the X display"
        self.heard = []  # (new name, description of the object) from name-change events
        pyatspi.Registry.registerEventListener(self.on_name, "object:property-change:accessible-name")

    def on_name(self, event):
        try:
            self.heard.append((event.source.name, event.source.description))
        except Exception:  # the object may be gone already
            pass

    def walk(self, node=None, depth=0):
        node = self.app if node is None else node
        yield node, depth
        for child in children(node):
            yield from self.walk(child, depth + 1)

    def find(self, role, name=None, within=None):
        return next((n for n, _ in self.walk(within)
                     if n.getRoleName() == role and name in (None, n.name)), None)

    def has(self, node, state):
        return node.getState().contains(getattr(self.pyatspi, "STATE_" + state))

    def cards(self, role, description):
        found = {int(m.group(1)): node for node, _ in self.walk() if node.getRoleName() == role
                 and (m := re.fullmatch(description + r" ([1-5])(, do wymiany)?", node.description))}
        return [found[i] for i in sorted(found)] if len(found) == 5 else None

    def press(self, node):
        act = node.queryAction()
        names = [act.getName(i) for i in range(act.nActions)]
        assert "Press" in names, "%s %r offers %s" % (node.getRoleName(), node.name, names)
        act.doAction(names.index("Press"))

    def box(self, title):
        """The box with that title, once it is open, and the first text it shows."""
        alert = wait_for("the box %r" % title, lambda: self.find("alert", title))
        return alert, next(n.name for n, _ in self.walk(alert) if n.getRoleName() == "label" and n.name)

    def stake(self):
        return self.find("spin button", "Stawka").queryText().getText(0, -1)

    def shows(self, cards, names):
        """The pixels at each card's place, read off the X server, are the image its name stands for."""
        x, display = self.x, self.display
        for node, name in zip(cards, names):
            want = self.pictures[name]

            def matches():
                box = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
                assert (box.width, box.height) == (71, 96), [box.x, box.y, box.width, box.height]
                x.XSync(display, 0)
                image = x.XGetImage(display, x.XDefaultRootWindow(display), box.x, box.y, 71, 96,
                                    ~0, 2)  # all planes, ZPixmap
                assert image, "XGetImage failed"
                same = all(want[row][col] in (None, x.XGetPixel(image, col, row))
                           for row in range(96) for col in range(71))
                x.XDestroyImage(image)
                return same
            # The accessible name can be read before the new picture reaches the X server.
            wait_for("%r to show %s" % (node.description, name), matches, timeout=5)


def play(c, game, stats):
    wait_for("the main window", lambda: c.find("frame", "Wirtola wer. 1.1"))

    # The deal, pressed as a screen reader presses a button.
    c.press(c.find("push button", "Rozdanie kart"))
    mine = wait_for("the player's cards", lambda: c.cards("push button", "Twoja karta"))
    theirs = wait_for("the computer's cards", lambda: c.cards("image", "karta komputera"))
    print("Accessibility tree after the deal:")
    for node, depth in c.walk():
        print("  " * depth + "[%s] %r %s" % (node.getRoleName(), node.name, node.description))
    names = [card.name for card in mine]
    assert all(n in c.faces for n in names) and len(set(names)) == 5, names
    assert [card.name for card in theirs] == [c.back] * 5
    c.shows(mine + theirs, names + [c.back] * 5)
    for slot, name in enumerate(names, 1):
        box = c.find("check box", "Zostaw %d" % slot)
        assert box.description == name and c.has(box, "CHECKED"), (box.name, box.description, name)
    for role, name in [("spin button", "Stawka"), ("text", "Fundusz"),
                       ("push button", "Zwiększ stawkę"), ("push button", "Zmniejsz stawkę")]:
        assert c.find(role, name), name
    assert c.find("status bar").name.startswith("Ewidencja rozdań")

    # Card 3 marked by its press action: it turns over, says so, and its keep box clears.
    c.press(mine[2])
    wait_for("card 3 to turn over", lambda: mine[2].name == c.back)
    assert mine[2].description == "Twoja karta 3, do wymiany", mine[2].description
    wait_for("the name change to be announced", lambda: (c.back, "Twoja karta 3, do wymiany") in c.heard)
    assert not c.has(c.find("check box", "Zostaw 3"), "CHECKED")
    c.shows([mine[2]], [c.back])

    # The draw: while the result box is open the computer's hand lies open.
    c.heard.clear()
    c.press(c.find("push button", "Kupno i licytacja"))
    result, text = c.box("Wirtola")
    shown, held = [card.name for card in theirs], [card.name for card in mine]
    # What the draw changed was held while the box opened, and is told once the box has the
    # focus: at once, not when the hold's time runs out four seconds after the draw.
    wait_for("the revealed cards to be announced as the box takes the focus",
             lambda: all((name, "karta komputera %d" % i) in c.heard for i, name in enumerate(shown, 1)),
             timeout=2.5)
    print("Result box: %r\nComputer's cards: %s; player's cards: %s" % (text, shown, held))
    assert text.endswith("Kliknij OK to potasuję i rozdam ponownie."), text
    assert all(n in c.faces for n in shown + held) and len(set(shown + held)) == 10, shown + held
    assert set(names) - {names[2]} < set(held) and names[2] not in held, "four cards kept, card 3 exchanged"
    assert not any("do wymiany" in card.description for card in mine)
    c.shows(mine + theirs, held + shown)

    # OK, then "Tak": the round is over.
    c.press(c.find("push button", "OK", result))
    question, asked = c.box("Pytanie o grę")
    assert asked == "Czy chcesz kontynuować grę ?", asked
    c.press(c.find("push button", "Tak", question))
    wait_for("the question to close", lambda: c.find("alert", "Pytanie o grę") is None)
    texts = [text]
    if shutil.which("xdotool"):
        texts.append(keyboard_round(c, game))
    else:
        print("xdotool is not installed: no keyboard round")
        c.press(wait_for("the menu item Koniec", lambda: c.find("menu item", "Koniec")))
    assert game.wait(timeout=20) == 0, "the game ended with %r" % game.returncode

    won = sum("Wygrałeś" in t for t in texts)
    lost = sum("omputer" in t and "Wygrałeś" not in t for t in texts)
    with open(stats, encoding="ascii") as f:
        values = dict(re.findall(r"^(\w+)=(-?\d+)\r?$", f.read(), re.M))
    got = tuple(int(values[key]) for key in ("Wygrane", "Przegrane", "Fundusz"))
    wins, losses, fund = STATS_BEFORE
    assert got == (wins + won, losses + lost, fund + STAKE * (won - lost)), (got, texts)


def keyboard_round(c, game):
    """A second round by real key presses on the X server, with the reader following the focus."""
    def xdotool(*args):
        return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True,
                              timeout=20).stdout

    def keys(*names, focus=None):
        """Types the keys, then waits for the focus to reach the (role, name) given."""
        if names:
            xdotool("key", "--delay", "30", *names)
        if focus:
            role, name = focus
            wait_for("the focus on %s %r" % focus, lambda: [n.name for n, _ in c.walk()
                     if c.has(n, "FOCUSED") and n.getRoleName() == role][:1] == [name])

    # No window manager hands the focus back after a box; the player clicks the window.
    window = xdotool("search", "--sync", "--pid", str(game.pid), "--name", "^Wirtola wer").split()[0]
    xdotool("windowfocus", "--sync", window)
    keys(focus=("push button", "Rozdanie kart"))  # where the last round left it
    keys("Tab", focus=("spin button", "Stawka"))
    keys("alt+n")  # the draw's mnemonic, dead between rounds
    keys("shift+Tab", focus=("push button", "Rozdanie kart"))
    assert c.stake() == str(STAKE), c.stake()

    keys("Return", focus=("push button", "Kupno i licytacja"))
    mine = wait_for("a new hand", lambda: c.cards("push button", "Twoja karta"))
    keys("alt+r", "Tab", focus=("spin button", "Stawka"))  # the deal's mnemonic, dead during a deal
    keys("alt+r")
    assert c.stake() == str(STAKE), c.stake()
    keys("Tab", "Tab", focus=("check box", "Zostaw 1"))
    keys("space")
    wait_for("card 1 marked", lambda: mine[0].description == "Twoja karta 1, do wymiany")
    keys("shift+Tab", "shift+Tab", "shift+Tab", focus=("push button", "Kupno i licytacja"))

    keys("space")
    _, text = c.box("Wirtola")
    print("Keyboard round's result box: %r" % text)
    keys(focus=("push button", "OK"))
    keys("Return")
    c.box("Pytanie o grę")
    keys(focus=("push button", "Tak"))
    keys("alt+n")  # "Nie": the program saves and ends
    return text


def inside(program, reference):
    """The accessibility bus, the game, and the client."""
    launcher = start_accessibility_bus()
    import pyatspi  # connects to the bus that has just started

    folder = tempfile.mkdtemp(prefix="wirtola-atspi-")
    game = None
    try:
        # The program keeps its statistics beside itself, so it runs from the scratch folder.
        shutil.copy2(program, os.path.join(folder, "wirtola"))
        stats = write_statistics(folder, STATS_BEFORE)
        cards = card_reference(reference, folder)
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   SDL_AUDIODRIVER="dummy", ASAN_OPTIONS="detect_leaks=0")
        with open(os.path.join(folder, "game.log"), "w") as log:
            game = subprocess.Popen([os.path.join(folder, "wirtola")], cwd=folder, env=env,
                                    stdout=log, stderr=subprocess.STDOUT)
        app = wait_for("the game on the accessibility bus", lambda: next(
            (a for a in children(pyatspi.Registry.getDesktop(0))
             if a.name == "Wirtola" and a.get_process_id() == game.pid), None), timeout=30)
        play(Client(pyatspi, app, cards), game, stats)
        print("PASSED")
        return 0
    except AssertionError as e:
        with open(os.path.join(folder, "game.log")) as f:
            print("FAILED: %s\nGame output:\n%s" % (e, f.read()))
        return 1
    finally:
        if game and game.poll() is None:
            game.kill()
            game.wait()
        launcher.terminate()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--inside":
        sys.exit(inside(sys.argv[2], sys.argv[3]))
    sys.exit(outer(sys.argv[1], sys.argv[2]) if len(sys.argv) == 3 else __doc__)
