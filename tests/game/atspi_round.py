#!/usr/bin/python3
"""Two rounds of Wirtola as a screen reader's user plays them: one through the accessibility bus,
one by the keyboard.

    atspi_round.py <wirtola program> <folder of the card images>

The program runs on its own X server (Xvfb) with a private D-Bus session and the AT-SPI bus, from
a scratch folder that holds its statistics file. The first round is played through accessible
objects and their actions alone: the deal, marking a card, the draw, reading the result and
answering both boxes. What the cards say is checked against what they show: the pixels on the
screen at each card's place must be the image its accessible name stands for. The second round is
played by real key presses (xdotool) while the reader follows the focus, with the mistyped
mnemonics that once typed their letters over the stake. The statistics file must count both.
Exit code 77 means the X server or the bus could not be started here, and the test is skipped.
"""

import ctypes
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77
RANKS = ["dwójka", "trójka", "czwórka", "piątka", "szóstka", "siódemka", "ósemka",
         "dziewiątka", "dziesiątka", "walet", "dama", "król", "as"]
SUITS = ["trefl", "karo", "kier", "pik"]  # image letters C, D, H, S
BACK = "karta zakryta"
STATS_BEFORE = (4, 3, 2000)  # wins, losses, fund
STAKE = 10


def skip(why):
    print("SKIPPED: " + why)
    sys.exit(SKIP)


# ---------------------------------------------------------------------------------------------
# Outer part: the X server, then this script again inside a private D-Bus session.

def can_connect(display):
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x.XOpenDisplay(display.encode())
    if connection:
        x.XCloseDisplay(connection)
    return bool(connection)


def start_x_server():
    """An Xvfb on a free display, once it takes connections; other tests may run theirs too."""
    for _ in range(8):
        number = random.randint(200, 899)
        if os.path.exists("/tmp/.X%d-lock" % number) or os.path.exists("/tmp/.X11-unix/X%d" % number):
            continue
        display = ":%d" % number
        # No window manager: the main window stays at the top left, and on a screen this large
        # the boxes, centred on it, never cover the cards.
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1600x1200x24", "-nolisten", "tcp",
                                 "-noreset"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline and xvfb.poll() is None:
            if can_connect(display):
                return xvfb, display
            time.sleep(0.1)
        if xvfb.poll() is None:
            xvfb.kill()
        xvfb.wait()
    skip("Xvfb did not start")


def outer(program, images):
    for tool in ("Xvfb", "dbus-run-session"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("at-spi2-core is not installed")
    xvfb, display = start_x_server()
    try:
        env = dict(os.environ, DISPLAY=display)
        for key in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY"):
            env.pop(key, None)
        run = subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__),
                              "--inside", program, images], env=env, timeout=150)
        if run.returncode != 0 and xvfb.poll() is not None:
            print("The X server ended during the test, with %r" % xvfb.returncode)
        return run.returncode
    finally:
        if xvfb.poll() is None:
            xvfb.terminate()
        xvfb.wait(timeout=10)


# ---------------------------------------------------------------------------------------------
# Inner part: the accessibility bus, the game, and the client.

def wait_for(what, check, timeout=20.0, required=True):
    """Polls check() while running the client's main loop, until it gives a true value."""
    from gi.repository import GLib
    deadline = time.monotonic() + timeout
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        value = check()
        if value:
            return value
        if time.monotonic() > deadline:
            if not required:
                return value
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


def start_accessibility_bus():
    from gi.repository import Gio, GLib
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline and launcher.poll() is None:
        try:
            address = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                    None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NO_AUTO_START,
                                    1000, None).unpack()[0]
            if address:
                return launcher
        except GLib.Error:
            pass
        time.sleep(0.1)
    launcher.kill()
    skip("the accessibility bus did not start")


def card_name_to_image(name):
    if name == BACK:
        return "STD1"
    rank, suit = name.split(" ")
    return "CDHS"[SUITS.index(suit)] + str(RANKS.index(rank) + 1)


def is_card_name(name):
    parts = name.split(" ")
    return len(parts) == 2 and parts[0] in RANKS and parts[1] in SUITS


def read_bmp(path):
    """An 8-bit palette BMP as rows of (r, g, b), top row first."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    header, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    colours, = struct.unpack_from("<I", data, 46)
    assert bits == 8 and compression == 0, path
    palette = [struct.unpack_from("<BBB", data, 14 + header + 4 * i)[::-1] for i in range(colours or 256)]
    stride = (width + 3) & ~3
    rows = [[palette[data[offset + y * stride + x]] for x in range(width)] for y in range(abs(height))]
    return rows[::-1] if height > 0 else rows


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


class Screen:
    """Reads pixels off the X server, as a sighted player would see them."""

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.display = self.x.XOpenDisplay(None)
        assert self.display, "cannot open the X display"
        self.root = self.x.XDefaultRootWindow(self.display)

    def grab(self, left, top, width, height):
        self.x.XSync(self.display, 0)
        image = self.x.XGetImage(self.display, self.root, left, top, width, height, 0xFFFFFFFF, 2)
        assert image, "XGetImage failed"
        im = image.contents
        assert im.bits_per_pixel == 32 and im.byte_order == 0, "unexpected screen format"
        rows = []
        for y in range(height):
            row = []
            for x in range(width):
                at = y * im.bytes_per_line + 4 * x
                row.append((im.data[at + 2], im.data[at + 1], im.data[at]))
            rows.append(row)
        return rows


def corner_pixel(x, y):
    cx = x if x <= 1 else 70 - x
    cy = y if y <= 1 else 95 - y
    return 0 <= cx <= 1 and 0 <= cy <= 1 and cx + cy <= 1


class Client:
    def __init__(self, pyatspi, app, images):
        self.pyatspi = pyatspi
        self.app = app
        self.images = images
        self.screen = Screen()
        self.heard = []  # (new name, description of the object) from name-change events
        pyatspi.Registry.registerEventListener(self.on_name, "object:property-change:accessible-name")

    def on_name(self, event):
        try:
            self.heard.append((event.source.name, event.source.description))
        except Exception:  # the object may be gone already
            pass

    def walk(self, node=None):
        node = node or self.app
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from self.walk(child)

    def find(self, role, name=None, description=None):
        for node in self.walk():
            if node.getRoleName() == role and (name is None or node.name == name) and \
                    (description is None or re.fullmatch(description, node.description)):
                return node
        return None

    def cards(self, role, description):
        found = {}
        for node in self.walk():
            m = re.fullmatch(description + r" ([1-5])(, do wymiany)?", node.description)
            if node.getRoleName() == role and m:
                found[int(m.group(1))] = node
        return [found[i] for i in sorted(found)] if len(found) == 5 else None

    def press(self, node, action="Press"):
        act = node.queryAction()
        names = [act.getName(i) for i in range(act.nActions)]
        assert action in names, "%s %r offers %s" % (node.getRoleName(), node.name, names)
        act.doAction(names.index(action))

    def shows(self, node, name):
        """The pixels at the object's place become the card image that its name stands for."""
        image = card_name_to_image(name)
        want = read_bmp(os.path.join(self.images, image + ".bmp"))

        def matches():
            box = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
            assert (box.width, box.height) == (71, 96), "card extents %r" % ((box.x, box.y, box.width, box.height),)
            got = self.screen.grab(box.x, box.y, 71, 96)
            return all(corner_pixel(x, y) or got[y][x] == want[y][x] for y in range(96) for x in range(71))
        # The accessible name can be read before the new picture reaches the X server.
        wait_for("%r to show %s" % (node.description, image), matches, timeout=5)

    def dump(self, node=None, depth=0):
        node = node or self.app
        if node.getRoleName() in ("menu bar",):
            return
        line = "  " * depth + "[%s] %r" % (node.getRoleName(), node.name)
        if node.description:
            line += " — %r" % node.description
        print(line)
        for i in range(node.childCount):
            self.dump(node.getChildAtIndex(i), depth + 1)


def read_stats(path):
    with open(path, encoding="ascii") as f:
        text = f.read()
    values = dict(re.findall(r"^(\w+)=(-?\d+)\r?$", text, re.M))
    return int(values["Wygrane"]), int(values["Przegrane"]), int(values["Fundusz"])


def play(pyatspi, client, game, stats):
    c = client
    frame = wait_for("the main window", lambda: c.find("frame", "Wirtola wer. 1.1"))

    # The deal, pressed as a screen reader presses a button.
    c.press(c.find("push button", "Rozdanie kart"))
    mine = wait_for("the player's cards", lambda: c.cards("push button", "Twoja karta"))
    theirs = wait_for("the computer's cards", lambda: c.cards("image", "karta komputera"))
    print("Accessibility tree after the deal:")
    c.dump()
    names = [card.name for card in mine]
    assert all(is_card_name(n) for n in names) and len(set(names)) == 5, names
    assert [card.name for card in theirs] == [BACK] * 5
    for card, name in zip(mine + theirs, names + [BACK] * 5):
        c.shows(card, name)
    for slot, name in enumerate(names):
        box = c.find("check box", "Zostaw %d" % (slot + 1))
        assert box.description == name, (box.name, box.description, name)
        assert box.getState().contains(pyatspi.STATE_CHECKED)
    assert c.find("text", "Stawka") and c.find("text", "Fundusz")
    assert c.find("push button", "Zwiększ stawkę") and c.find("push button", "Zmniejsz stawkę")
    assert c.find("status bar").name.startswith("Ewidencja rozdań")

    # Card 3 marked by its press action: it turns over, says so, and its keep box clears.
    c.press(mine[2])
    wait_for("card 3 to turn over", lambda: mine[2].name == BACK)
    assert mine[2].description == "Twoja karta 3, do wymiany", mine[2].description
    wait_for("the name change to be announced",
             lambda: (BACK, "Twoja karta 3, do wymiany") in c.heard)
    assert not c.find("check box", "Zostaw 3").getState().contains(pyatspi.STATE_CHECKED)
    c.shows(mine[2], BACK)

    # The draw: while the result box is open the computer's hand lies open.
    c.heard.clear()
    c.press(c.find("push button", "Kupno i licytacja"))
    result = wait_for("the result box", lambda: c.find("alert", "Wirtola"))
    text = next(n.name for n in c.walk(result) if n.getRoleName() == "label" and n.name)
    print("Result box: %r" % text)
    assert text.endswith("Kliknij OK to potasuję i rozdam ponownie."), text
    shown = [card.name for card in theirs]
    held = [card.name for card in mine]
    print("Computer's cards: %s; player's cards: %s" % (shown, held))
    assert all(is_card_name(n) for n in shown + held), shown + held
    assert len(set(shown + held)) == 10, shown + held
    kept = set(names) - {names[2]}
    assert kept < set(held) and names[2] not in held, "four cards kept, card 3 exchanged"
    assert not any("do wymiany" in card.description for card in mine)
    for card, name in zip(mine + theirs, held + shown):
        c.shows(card, name)
    wait_for("the revealed cards to be announced",
             lambda: all((name, "karta komputera %d" % (i + 1)) in c.heard for i, name in enumerate(shown)))

    # OK, then "Tak": the round is over.
    c.press(c.find("push button", "OK"))
    question = wait_for("the continue question", lambda: c.find("alert", "Pytanie o grę"))
    assert any(n.name == "Czy chcesz kontynuować grę ?" for n in c.walk(question))
    c.press(next(n for n in c.walk(question) if n.getRoleName() == "push button" and n.name == "Tak"))
    wait_for("the question to close", lambda: c.find("alert", "Pytanie o grę") is None)
    texts = [text]
    if shutil.which("xdotool"):
        texts.append(keyboard_round(pyatspi, c, game))
    else:
        print("xdotool is not installed: no keyboard round")
        c.press(c.find("menu item", "Koniec"))
    assert game.wait(timeout=20) == 0, "the game ended with %r" % game.returncode

    wins, losses, fund = STATS_BEFORE
    for t in texts:
        if "Wygrałeś" in t:
            wins, fund = wins + 1, fund + STAKE
        elif "omputer" in t:
            losses, fund = losses + 1, fund - STAKE
    assert read_stats(stats) == (wins, losses, fund), (read_stats(stats), texts)


def keyboard_round(pyatspi, c, game):
    """A second round by real key presses on the X server, with the reader following the focus."""
    window = subprocess.run(["xdotool", "search", "--sync", "--pid", str(game.pid), "--name", "^Wirtola wer"],
                            capture_output=True, text=True, timeout=20).stdout.split()[0]

    def keys(*names):
        subprocess.run(["xdotool", "key", "--delay", "30"] + list(names), check=True, timeout=20)

    def focus_on(role, name):
        def check():
            for node in c.walk():
                if node.getState().contains(pyatspi.STATE_FOCUSED) and node.getRoleName() == role:
                    return node.name == name and node
            return None
        return wait_for("the focus on %s %r" % (role, name), check)

    def stake():
        field = c.find("text", "Stawka").queryText()
        return field.getText(0, -1)

    # No window manager hands the focus back after a box; the player clicks the window.
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=20)
    focus_on("push button", "Rozdanie kart")  # where the last round left it
    keys("Tab")
    focus_on("text", "Stawka")
    keys("alt+n")  # the draw's mnemonic, dead between rounds
    keys("shift+Tab")
    focus_on("push button", "Rozdanie kart")
    assert stake() == str(STAKE), stake()

    keys("Return")
    focus_on("push button", "Kupno i licytacja")
    mine = wait_for("a new hand", lambda: c.cards("push button", "Twoja karta"))
    keys("alt+r", "Tab")  # the deal's mnemonic, dead during a deal
    focus_on("text", "Stawka")
    keys("alt+r")
    assert stake() == str(STAKE), stake()
    keys("Tab", "Tab")
    focus_on("check box", "Zostaw 1")
    keys("space")
    wait_for("card 1 marked", lambda: mine[0].description == "Twoja karta 1, do wymiany")
    keys("shift+Tab", "shift+Tab", "shift+Tab")
    focus_on("push button", "Kupno i licytacja")

    keys("space")
    result = wait_for("the result box", lambda: c.find("alert", "Wirtola"))
    text = next(n.name for n in c.walk(result) if n.getRoleName() == "label" and n.name)
    print("Keyboard round's result box: %r" % text)
    focus_on("push button", "OK")
    keys("Return")
    wait_for("the continue question", lambda: c.find("alert", "Pytanie o grę"))
    focus_on("push button", "Tak")
    keys("alt+n")  # "Nie": the program saves and ends
    return text


def inside(program, images):
    launcher = start_accessibility_bus()
    import pyatspi  # connects to the bus that has just started

    folder = tempfile.mkdtemp(prefix="wirtola-atspi-")
    game = None
    try:
        # The program keeps its statistics beside itself, so it runs from the scratch folder.
        shutil.copy2(program, os.path.join(folder, "wirtola"))
        stats = os.path.join(folder, "wirtola.ini")
        with open(stats, "w", encoding="ascii", newline="") as f:
            f.write("[Statystyka]\r\nWygrane=%d\r\nPrzegrane=%d\r\nFundusz=%d\r\n" % STATS_BEFORE)
        log = open(os.path.join(folder, "game.log"), "w")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   SDL_AUDIODRIVER="dummy", ASAN_OPTIONS="detect_leaks=0")
        game = subprocess.Popen([os.path.join(folder, "wirtola")], cwd=folder, env=env,
                                stdout=log, stderr=subprocess.STDOUT)

        def our_app():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name == "Wirtola" and app.get_process_id() == game.pid:
                    return app
            return None

        app = wait_for("the game on the accessibility bus", our_app, timeout=30)
        play(pyatspi, Client(pyatspi, app, images), game, stats)
        print("PASSED")
        return 0
    except AssertionError as e:
        print("FAILED: %s" % e)
        with open(os.path.join(folder, "game.log")) as f:
            print("Game output:\n" + f.read())
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
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(outer(sys.argv[1], sys.argv[2]))
