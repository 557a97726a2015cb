#!/usr/bin/python3
"""A round of Wirtola heard through Orca, played by keys alone.

    orca_round.py <wirtola program> [--show]

The game, Orca (its default settings, a Polish locale) and speech-dispatcher run on their own X
server and D-Bus session. Orca's debug file records every utterance ("SPEECH OUTPUT: '...'"),
and speech-dispatcher's generic module appends each text it is given to a second file, a
witness that the speech really left Orca. The keys are held as a hand holds them. What was said
is checked against what the game shows: the cards and the result box's text read over AT-SPI,
the status bar's tallies and the statistics file written at the end.
The result must be heard within LIMIT of the draw's key; a second game ends in the reward window,
which must say its picture's words. Then, in Polish and in English, ROUNDS rounds are played under
two busy loops (or the test command's own load): every question's words must be heard, a round whose save fails must say so with its
result, every statistics cell must be heard with its row's name, and the settings menu opened by its
key must say its name and the unavailable loan. --show prints the transcript.
Exit code 77: no X, bus or Orca.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from desktop_bus import on_private_display, skip, start_accessibility_bus, wait_for, write_statistics

STATS_BEFORE = (4, 3, 2000)  # wins, losses, fund
STATS_REWARD = (9, 1, 8000)  # any result leaves the fund above the reward's
CAPTION = "Wirtola wer. 1.1"
QUIET = 0.8  # seconds without a new utterance that end a step
LIMIT = 4.0  # seconds from the draw's key to the result's first utterance (a loaded machine took up to 2-3)
# Rounds per language under load: 30 take about four minutes a language, too long for every
# test run; WIRTOLA_ORCA_ROUNDS=30 plays them all.
ROUNDS = int(os.environ.get("WIRTOLA_ORCA_ROUNDS", "4"))
# What each language's game says, where the checks need it.
WORDS = {"pl": {"question": "Czy chcesz kontynuować grę ?", "not saved": "Nie zapisano: plik tylko do odczytu.",
                "deal": "Rozdanie kart", "draw": "Kupno", "yes": "Tak przycisk", "tallies": r"przegrane \d+\.",
                "menu": "Ustawienia", "sound": "Dzwięki włączone", "loan": "Pożyczka z banku"},
         "en": {"question": "Do you want to play on?", "not saved": "Not saved: the file is read-only.",
                "deal": "Deal cards", "draw": "Draw", "yes": "Yes przycisk", "tallies": r"lost \d+\.",
                "menu": "Settings", "sound": "Sounds on", "loan": "Loan from the bank"}}


def outer(program, show):
    for tool in ("Xvfb", "dbus-run-session", "xdotool", "localedef", "speech-dispatcher",
                 "/usr/bin/orca", "/usr/libexec/at-spi-bus-launcher"):
        if not shutil.which(tool):
            skip(tool + " is not installed")
    if not os.path.exists("/usr/share/i18n/locales/pl_PL"):
        skip("the Polish locale's source is not installed")
    return on_private_display(__file__, [program] + (["--show"] if show else []), timeout=150 + 60 * ROUNDS,
                              unset=("SPEECHD_ADDRESS", "XDG_RUNTIME_DIR"))


class Speech:
    """Orca's utterances, read from its debug file as they come."""

    def __init__(self, path):
        self.path, self.said, self.seen = path, [], []

    def read(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                text = f.read()
        except FileNotFoundError:
            return self.said
        self.said = [u.replace("\n", " ") for u in re.findall(r"SPEECH OUTPUT: '(.*?)'\s*[\[{]", text, re.S)]
        self.seen += [time.monotonic()] * (len(self.said) - len(self.seen))
        return self.said

    def in_time(self, mark, since, words):
        """`words` said after `mark` within LIMIT of `since` (a key's time); prints the delay."""
        delay = next((t - since for u, t in zip(self.said[mark:], self.seen[mark:]) if words in u), None)
        print("The result heard %s s after the key" % (delay if delay is None else "%.2f" % delay))
        check(delay is not None and delay <= LIMIT, "the result %r not heard within %s s" % (words, LIMIT))

    def mark(self):
        return len(self.read())

    def since(self, mark, until=None, timeout=10.0, required=True):
        """The utterances after `mark`: once `until` (a regular expression) was said and then
        nothing for QUIET seconds, or when the time is up (a fault, if `required`)."""
        deadline, last, count = time.monotonic() + timeout, time.monotonic(), mark
        while time.monotonic() < deadline:
            said = self.read()
            if len(said) != count:
                count, last = len(said), time.monotonic()
            new = said[mark:]
            heard = until is None or any(re.search(until, u) for u in new)
            if heard and time.monotonic() - last > QUIET:
                return new
            time.sleep(0.05)
        new = self.read()[mark:]
        check(not required or until is None or any(re.search(until, u) for u in new),
              "never said %r; said %r" % (until, new))
        return new


def hold(*keys, pause=0.05):
    """Presses the keys in order, holds them a moment as a hand does, lets go in reverse."""
    for key in keys:
        pressed = time.monotonic()
        subprocess.run(["xdotool", "keydown", key], check=True, timeout=10)
        time.sleep(0.02)
    time.sleep(pause)
    for key in reversed(keys):
        subprocess.run(["xdotool", "keyup", key], check=True, timeout=10)
        time.sleep(0.02)
    return pressed


def write_speechd_config(home, witness):
    folder = os.path.join(home, "speech-dispatcher")
    os.makedirs(os.path.join(folder, "modules"))
    with open(os.path.join(folder, "speechd.conf"), "w") as f:
        f.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                'AddModule "witness" "sd_generic" "witness.conf"\nDefaultModule "witness"\n'
                'DefaultLanguage "pl"\nLogLevel 1\nTimeout 5\n')
    with open(os.path.join(folder, "modules", "witness.conf"), "w") as f:
        f.write("GenericExecuteSynth \"printf '%%s\\\\n' \\'$DATA\\' >> %s\"\n" % witness
                + 'AddVoice "pl" "MALE1" "pl"\nGenericLanguage "pl" "pl" "utf-8"\n')


class Round:
    def __init__(self, pyatspi, app, speech):
        self.pyatspi, self.app, self.speech = pyatspi, app, speech
        self.log, self.pressed = [], 0.0

    def walk(self, node=None):
        node = self.app if node is None else node
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from self.walk(child)

    def find(self, role, name=None, within=None):
        return next((n for n in self.walk(within) if n.getRoleName() == role and name in (None, n.name)), None)

    def focused(self):
        state = self.pyatspi.STATE_FOCUSED
        return next(((n.getRoleName(), n.name) for n in self.walk() if n.getState().contains(state)), None)

    def cards(self, description):
        found = {}
        for n in self.walk():
            m = re.fullmatch(description + r" ([1-5])(, do wymiany)?", n.description or "")
            if m:
                found[int(m.group(1))] = n.name
        return [found[i] for i in sorted(found)] if len(found) == 5 else None

    def step(self, title, keys, until, focus=None, timeout=10.0, required=True):
        mark = self.speech.mark()
        for k in keys:
            self.pressed = hold(*k.split("+"))
            time.sleep(0.15)
        if focus:
            wait_for("the focus on %r" % (focus[1],), lambda: (self.focused() or ("", ""))[1] == focus[1])
            check(self.focused() == focus, "the focus on %r, not %r" % (self.focused(), focus))
        said = self.speech.since(mark, until, timeout, required)
        self.log.append((title, said))
        return " ".join(said)


FAULTS = []


def check(ok, what):
    """A fault that does not stop the round: all are reported at its end."""
    if not ok:
        FAULTS.append(what)


def words(number):
    """A number as a whole word, not the start or end of a longer one."""
    return r"(?<![\d])%d(?![\d])" % number


def take_focus(r, game, until):
    # No window manager gives the new window the focus: the player clicks it, as it were.
    window = subprocess.run(["xdotool", "search", "--sync", "--pid", str(game.pid), "--name", "^Wirtola [a-z]+\\. "],
                            check=True, capture_output=True, text=True, timeout=20).stdout.split()[0]
    mark = r.speech.mark()
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=20)
    r.log.append(("the window takes the focus", r.speech.since(mark, until)))


def play(r, game, stats, witness):
    take_focus(r, game, r"Rozdanie kart")
    wins, losses, fund = STATS_BEFORE

    # The stake and the fund, each said whole when focused; every change of the stake said.
    said = r.step("Tab to the stake", ["Tab"], r"Stawka", focus=("spin button", "Stawka"))
    check(re.search(r"Stawka\D*" + words(10), said), said)
    said = r.step("Up", ["Up"], words(20))
    said = r.step("Up", ["Up"], words(30))
    said = r.step("Down", ["Down"], words(20))
    said = r.step("typed 25", ["ctrl+a", "2", "5"], words(25))
    said = r.step("Tab to the fund", ["Tab"], r"Fundusz", focus=("text", "Fundusz"))
    check(re.search(r"Fundusz: odczyt\D*" + words(fund), said), said)
    stake = 25
    r.step("back to the deal button", ["shift+Tab", "shift+Tab"], r"Rozdanie", focus=("push button", "Rozdanie kart"))
    check(not any("znaczono" in u for u in r.log[-1][1]), r.log[-1])  # nothing of the selection left

    # The deal: the five cards said once, in order, with no further key.
    said = r.step("Alt+R", ["alt+r"], r"Kupno", focus=("push button", "Kupno i licytacja"))
    mine = wait_for("the player's cards", lambda: r.cards("Twoja karta"))
    hand = ", ".join(mine)
    check(said.count(hand) == 1, (hand, said))

    # Flat review from the draw button reaches the status bar at the window's bottom.
    status = r.find("status bar").name
    check(status.startswith("Ewidencja rozdań: aktualne rozdanie %d" % (wins + losses)), status)
    said = r.step("flat review: bottom", ["Insert+KP_Page_Up"], r"Ewidencja")
    r.step("flat review: off", ["KP_Subtract"], None)
    wait_for("the focus to stay", lambda: r.focused() == ("push button", "Kupno i licytacja"))

    # Card 5 goes: its keep box cleared with Enter (as Space would), then the draw from the box.
    said = r.step("to Zostaw 5", ["shift+Tab"], r"Zostaw 5", focus=("check box", "Zostaw 5"))
    check(mine[4] in said, (mine[4], said))
    said = r.step("Enter", ["Return"], r"niezaznaczon")
    mark = r.speech.mark()
    said = r.step("Alt+N", ["alt+n"], r"Wygrane \d+, przegrane \d+\.", timeout=15)
    before_box = []
    for u in r.speech.said[mark:]:
        if "Wirtola" in u or "Kliknij OK" in u:
            break
        before_box.append(u)
    check(not any(re.search(r"\bzaznaczon", u) for u in before_box), before_box)

    # The result box: its text, both hands in order, each hand's class.
    text = box_text(r)
    theirs, held = r.cards("karta komputera"), r.cards("Twoja karta")
    first_line = text.split("\n")[0].strip()
    check(first_line in said, (first_line, said))
    r.speech.in_time(mark, r.pressed, first_line)
    for whose, cards in (("Komputer", theirs), ("Ty", held)):
        m = re.search(whose + r": ([^.:]+): " + re.escape(", ".join(cards)), said)
        check(m, (whose, cards, said))
    assert mine[4] not in held and set(mine[:4]) < set(held), (mine, held)
    status = r.find("status bar").name
    m = re.search(r"wygrane / przegrane (\d+) / (\d+)", status)
    won, lost = int(m.group(1)) - wins, int(m.group(2)) - losses
    check((won, lost) == ("Wygrałeś" in text, "omputer" in text), (status, text))
    after = (fund + stake * (won - lost), wins + won, losses + lost)
    check(re.search(r"Fundusz: %d zł\. Wygrane %d, przegrane %d\." % after, said), said)  # said with the box

    # OK; the question is said whole, with its alert and again with the button that has the focus
    # (which carries it, for the times the alert is lost); "Nie" saves and ends.
    said = r.step("Return on OK", ["Return"], r"Tak przycisk")
    check(1 <= said.count("Czy chcesz kontynuować grę ?") <= 2, said)
    r.step("Alt+N on the question", ["alt+n"], None)
    assert game.wait(timeout=20) == 0, game.returncode
    with open(stats, encoding="ascii") as f:
        values = dict(re.findall(r"^(\w+)=(-?\d+)\r?$", f.read(), re.M))
    got = tuple(int(values[k]) for k in ("Wygrane", "Przegrane", "Fundusz"))
    check(got == (wins + won, losses + lost, fund + stake * (won - lost)), (got, text))

    # The second witness: what Orca said reached the speech server.
    with open(witness, encoding="utf-8", errors="replace") as f:
        spoken = f.read()
    check(hand in spoken and first_line in spoken, spoken[-2000:])


def box_text(r):
    alert = wait_for("the box", lambda: r.find("alert"))
    return next(n.name for n in r.walk(alert) if n.getRoleName() == "label" and n.name)


REWARD_WORDS = ("Gratulacje! Fundusz podwojony: 6000 zł! Mistrzowska gra! Z 3000 zł wyrosło 6000 zł. Bank chyli czoła! "
                "Dowolny klawisz zamyka to okno i kończy grę; następna zacznie się od 3000 zł.")


def reward(r, game, stats):
    """A round from a fund above the reward's: "Tak" opens the reward window, which says its
    picture's words and what a key does, once; a key ends the game."""
    take_focus(r, game, r"Rozdanie kart")
    r.step("Alt+R", ["alt+r"], r"Twoje karty")
    mark = r.speech.mark()
    r.step("Alt+N", ["alt+n"], r"Kliknij OK", timeout=15)
    r.speech.in_time(mark, r.pressed, box_text(r).split("\n")[0].strip())
    r.step("Return on OK", ["Return"], r"Tak przycisk")
    said = r.step("Return on Tak", ["Return"], re.escape(REWARD_WORDS), timeout=15)
    check(said.count(REWARD_WORDS) == 1, said)
    r.step("a key", ["space"], None)
    assert game.wait(timeout=20) == 0, game.returncode


def busy_loops():
    """Two processes that keep the processors busy, as other programs would; none where the test
    command already keeps them busy with its builds and tests beside the round
    (WIRTOLA_ORCA_LOADED=1), since two more would only slow those."""
    if os.environ.get("WIRTOLA_ORCA_LOADED") == "1":
        return []
    return [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(2)]


def many_rounds(r, game, stats, language, procs):
    """The settings menu by its key; then ROUNDS rounds by keys under load, the question heard
    every time, a failed save said with its result; then the statistics window's cells each with
    its row's name."""
    w = WORDS[language]
    # The menu before the load. Its name, then its first item; the loan, unavailable while the
    # fund lasts, is reached by the arrows and said as such.
    take_focus(r, game, re.escape(w["deal"]))
    key = "alt+u" if language == "pl" else "alt+s"
    for attempt in range(1, 4):
        said = r.step("menu", [key], re.escape(w["sound"]), required=attempt == 3)
        if w["sound"] in said:
            break
        # On a busy machine the menu can close as it opens (a held key out of turn in Qt's queue
        # of keys for the screen reader, it seems); the rounds' keys survive that, a menu not.
        print("%s: the menu closed as it opened; opened again" % language)
    check(re.search(re.escape(w["menu"]) + r" menu\b.*" + re.escape(w["sound"]), said), said)
    said = r.step("menu: Down", ["Down"], re.escape(w["loan"]))
    check(re.search(re.escape(w["loan"]) + r" wyszarzony", said), said)
    r.step("menu: Escape", ["Escape"], None)
    r.step("menu: Escape", ["Escape"], re.escape(w["deal"]))
    loops = busy_loops()
    procs.extend(loops)
    missed = []
    for number in range(ROUNDS):
        fail = number == ROUNDS // 2
        if fail:
            os.chmod(stats, 0o444)
        if number:  # the first round starts where the menu left the focus
            take_focus(r, game, re.escape(w["deal"]))
        r.step("round %d: deal" % number, ["alt+r" if language == "pl" else "alt+d"], re.escape(w["draw"]), timeout=15)
        said = r.step("round %d: draw" % number, ["alt+n"], w["tallies"], timeout=20)
        check((w["not saved"] in said) == fail, ("round %d" % number, fail, said))
        said = r.step("round %d: OK" % number, ["Return"], re.escape(w["yes"]), timeout=20)
        if w["question"] not in said:
            missed.append((number, said))
        if fail:
            os.chmod(stats, 0o644)
        r.step("round %d: yes" % number, ["Return"], None)
    check(not missed, ("questions not heard", missed))
    print("%s: %d of %d questions heard" % (language, ROUNDS - len(missed), ROUNDS))

    # The statistics: entered, arrowed down and across, the next table; a number is never said bare.
    take_focus(r, game, re.escape(w["deal"]))
    mark = r.speech.mark()
    for key in ("ctrl+t", "Down", "Down", "Right", "Up", "Tab", "Down", "Right", "Right", "Down"):
        r.step("statistics: " + key, [key], None)
    cells = [u for u in r.speech.said[mark:] if re.search(r"\d", u) and not re.search(r"tabela|table|\bwiersz", u)]
    check(cells, "no statistics cell heard")
    bare = [u for u in cells if not re.match(r"\D+: \S", u)]
    check(not bare, ("cells without their row's name", bare))
    hold("Escape")
    take_focus(r, game, re.escape(w["deal"]))  # no window manager hands it back

    r.step("Alt+K", ["alt+k" if language == "pl" else "alt+q"], None)
    assert game.wait(timeout=20) == 0, game.returncode
    for loop in loops:
        loop.kill()
        loop.wait()


def inside(program, show):
    folder = tempfile.mkdtemp(prefix="wirtola-orca-")
    procs = []
    try:
        locales = os.path.join(folder, "locale")
        os.makedirs(locales)
        made = subprocess.run(["localedef", "-i", "pl_PL", "-f", "UTF-8", os.path.join(locales, "pl_PL.UTF-8")],
                              capture_output=True, timeout=60)
        if not os.path.isdir(os.path.join(locales, "pl_PL.UTF-8")):
            skip("the Polish locale cannot be made: %r" % made.stderr)
        home = os.path.join(folder, "home")
        os.makedirs(home, mode=0o700)
        stub = os.path.join(folder, "bin")
        os.makedirs(stub)
        # Orca looks for other Orcas of this user with pgrep and refuses to start beside them;
        # this one runs in its own session and must not see another test's.
        with open(os.path.join(stub, "pgrep"), "w") as f:
            f.write("#!/bin/sh\nexit 1\n")
        os.chmod(os.path.join(stub, "pgrep"), 0o755)
        witness = os.path.join(folder, "witness.txt")
        write_speechd_config(os.path.join(home, ".config"), witness)
        runtime = os.path.join(folder, "run")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   LOCPATH=locales, LANG="pl_PL.UTF-8", LC_ALL="pl_PL.UTF-8", LANGUAGE="pl",
                   GTK_A11Y="atspi", NO_AT_BRIDGE="0")
        os.environ.update(env)

        procs.append(start_accessibility_bus())
        import pyatspi

        debug = os.path.join(folder, "orca-debug.txt")
        orca_log = open(os.path.join(folder, "orca.log"), "w")
        # Run as "python3", not "orca": the name another test's Orca looks for.
        # Orca writes its debug file through a buffer; the launcher opens it line by line, so
        # each utterance can be read as it is said.
        launch = ("import builtins, runpy, sys\n"
                  "real = builtins.open\n"
                  "builtins.open = lambda f, m='r', *a, **k: real(f, m, 1) if f == sys.argv[-1] else real(f, m, *a, **k)\n"
                  "runpy.run_path('/usr/bin/orca', run_name='__main__')\n")
        orca = subprocess.Popen(["/usr/bin/python3", "-c", launch, "-u", os.path.join(home, "orca"),
                                 "--debug-file", debug],
                                env=dict(env, PATH=stub + os.pathsep + os.environ["PATH"]),
                                stdout=orca_log, stderr=subprocess.STDOUT)
        procs.append(orca)
        speech = Speech(debug)
        if not wait_for(None, lambda: orca.poll() is not None or any(
                "About to launch Orca" in l or "SPEECH OUTPUT" in l for l in open(debug, errors="replace"))
                if os.path.exists(debug) else False, 30):
            skip("Orca did not start")
        if orca.poll() is not None:
            skip("Orca ended at start with %r" % orca.returncode)
        # Orca is ready when it has said its own welcome.
        speech.since(0, r".", timeout=30)

        shutil.copy2(program, os.path.join(folder, "wirtola"))
        game_env = dict(env, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy", ASAN_OPTIONS="detect_leaks=0")
        game_log = open(os.path.join(folder, "game.log"), "w")

        def start(values, language="pl"):
            stats = write_statistics(folder, values)
            game = subprocess.Popen([os.path.join(folder, "wirtola")], cwd=folder,
                                    env=dict(game_env, LANGUAGE=language),
                                    stdout=game_log, stderr=subprocess.STDOUT)
            procs.append(game)
            r.app = wait_for("the game on the accessibility bus", lambda: next(
                (a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Wirtola"
                 and a.get_process_id() == game.pid), None), timeout=30)
            return game, stats

        r = Round(pyatspi, None, speech)
        try:
            play(r, *start(STATS_BEFORE), witness)
            reward(r, *start(STATS_REWARD))
            for language in ("pl", "en"):
                many_rounds(r, *start(STATS_BEFORE, language), language, procs)
            ok = not FAULTS
            for fault in FAULTS:
                print("FAULT: %r" % (fault,))
        except AssertionError as e:
            print("FAILED: %s" % (e,))
            for fault in FAULTS:
                print("FAULT: %r" % (fault,))
            ok = False
        if show or not ok:
            for title, said in r.log:
                print("== %s" % title)
                for u in said:
                    print("   %s" % u)
        if not ok:
            if os.environ.get("WIRTOLA_KEEP"):
                for name in ("orca-debug.txt", "orca.log", "witness.txt", "game.log"):
                    shutil.copy(os.path.join(folder, name), os.environ["WIRTOLA_KEEP"])
            with open(os.path.join(folder, "game.log")) as f:
                print("Game output:\n" + f.read())
            return 1
        print("PASSED")
        return 0
    finally:
        for p in reversed(procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        # speech-dispatcher left its session's process group when Orca spawned it.
        try:
            with open(os.path.join(folder, "run", "speech-dispatcher", "pid", "speech-dispatcher.pid")) as f:
                os.kill(int(f.read().split()[0]), 15)
        except (OSError, ValueError, IndexError):
            pass
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    show = "--show" in sys.argv
    argv = [a for a in sys.argv if a != "--show"]
    if len(argv) == 3 and argv[1] == "--inside":
        sys.exit(inside(argv[2], show))
    sys.exit(outer(argv[1], show) if len(argv) == 2 else __doc__)
