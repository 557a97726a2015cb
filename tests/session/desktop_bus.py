"""What the bus tests share: the skip, a private X server with the test itself run again inside
a D-Bus session of its own, waiting on the client's main loop, the accessibility bus, and the
statistics file a game starts from."""

import os
import select
import subprocess
import sys
import time


def skip(why):
    print("SKIPPED: " + why)
    sys.exit(77)


def on_private_display(script, args, timeout, unset=()):
    """Runs `script --inside args...` in a private D-Bus session on its own X server; its exit code.
    Xvfb picks a free display itself, as other tests may run theirs too, and names it once it takes
    connections. No window manager: the main window stays at the top left, and on a screen this
    large the boxes, centred on it, never cover the cards."""
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1600x1200x24", "-nolisten", "tcp",
                             "-noreset"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        number = xvfb.stdout.readline().strip() if select.select([xvfb.stdout], [], [], 15)[0] else b""
        if not number:
            skip("Xvfb did not start")
        dropped = ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY") + tuple(unset)
        env = {key: value for key, value in os.environ.items() if key not in dropped}
        env["DISPLAY"] = ":" + number.decode()
        run = subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(script), "--inside"]
                             + list(args), env=env, timeout=timeout)
        if run.returncode != 0 and xvfb.poll() is not None:
            print("The X server ended during the test, with %r" % xvfb.returncode)
        return run.returncode
    finally:
        if xvfb.poll() is None:
            xvfb.terminate()
        xvfb.wait(timeout=10)


def wait_for(what, check, timeout=20.0, step=0.05):
    """Polls check(), running the client's main loop so that events arrive, until it gives a true
    value. When the time is up that fails, unless `what` is None: then the last value is given."""
    from gi.repository import GLib
    deadline = time.monotonic() + timeout
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            value, error = check(), ""
        except GLib.Error as e:  # an object vanished while the tree was read: read it again
            value, error = None, e
        if value or time.monotonic() > deadline:
            assert value or what is None, "timed out waiting for %s %s" % (what, error)
            return value
        time.sleep(step)


def start_accessibility_bus():
    """The accessibility bus's launcher, once the bus answers; skips the test when it does not."""
    from gi.repository import Gio, GLib
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    # Asking for the bus's address fails until it is up.
    up = wait_for(None, lambda: launcher.poll() is not None or bus.call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, GLib.VariantType("(s)"),
        Gio.DBusCallFlags.NO_AUTO_START, 1000, None).unpack()[0], 20, 0.1)
    if up and launcher.poll() is None:
        return launcher
    launcher.kill()
    skip("the accessibility bus did not start")


def write_statistics(folder, wins_losses_fund):
    """The statistics file beside the game's copy in `folder`, as a save writes it; its path."""
    path = os.path.join(folder, "wirtola.ini")
    with open(path, "w", encoding="ascii", newline="") as f:
        f.write("[Statystyka]\r\nWygrane=%d\r\nPrzegrane=%d\r\nFundusz=%d\r\n" % wins_losses_fund)
    return path
