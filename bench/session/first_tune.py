#!/usr/bin/python3
"""From a key to the first sample of its tune, first tune included: each program given is started
in turn on a private X server, with SDL's disk driver writing its audio stream into a pipe that
this script reads; the deal key (Alt+R) is pressed `--wait` seconds after the main window is
mapped, the draw key (Alt+N) a second later, and the time from each key to the first sound in
the stream is noted. Prints the medians per program.

    bench/session/first_tune.py [--runs 9] [--wait 0.3] <wirtola> [<another wirtola>...]
"""

import argparse
import os
import select
import shutil
import statistics
import subprocess
import tempfile
import threading
import time


class Stream(threading.Thread):
    """Reads the audio pipe and notes when the first sample that is not silence arrives after
    each `expect()`."""

    def __init__(self, path):
        super().__init__(daemon=True)
        self.fd = os.open(path, os.O_RDONLY | os.O_NONBLOCK)
        self.lock = threading.Lock()
        self.waiting_since = None
        self.heard = []

    def expect(self, since):
        with self.lock:
            self.waiting_since = since

    def run(self):
        while True:
            ready = select.select([self.fd], [], [], 0.5)[0]
            if not ready:
                continue
            try:
                chunk = os.read(self.fd, 65536)
            except BlockingIOError:
                continue
            now = time.monotonic()
            if not chunk:
                time.sleep(0.001)  # no writer yet, or it has gone
                continue
            if any(chunk[i] | chunk[i + 1] for i in range(0, len(chunk) - 1, 2)):
                with self.lock:
                    if self.waiting_since is not None:
                        self.heard.append(now - self.waiting_since)
                        self.waiting_since = None


def one_start(program, display, wait):
    work = tempfile.mkdtemp(prefix="wirtola-tune-")
    try:
        game_path = os.path.join(work, "wirtola")  # the statistics file goes beside this copy
        shutil.copy(program, game_path)
        pipe = os.path.join(work, "audio")
        os.mkfifo(pipe)
        stream = Stream(pipe)
        stream.start()
        env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=pipe,
                   LANGUAGE="pl")
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("QT_QPA_PLATFORM", None)
        game = subprocess.Popen([game_path], env=env, stderr=subprocess.DEVNULL)
        try:
            window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(game.pid),
                                     "--name", "^Wirtola wer"], env=env, capture_output=True, text=True,
                                    timeout=30, check=True).stdout.split()[0]
            subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env, check=True, timeout=10)
            times = []
            for key in ("alt+r", "alt+n"):
                time.sleep(wait if key == "alt+r" else 1.0)
                stream.expect(time.monotonic())
                subprocess.run(["xdotool", "key", key], env=env, check=True, timeout=10)
                deadline = time.monotonic() + 5
                while len(stream.heard) < len(times) + 1 and time.monotonic() < deadline:
                    time.sleep(0.001)
                if len(stream.heard) < len(times) + 1:
                    raise RuntimeError("no tune heard after " + key)
                times.append(stream.heard[len(times)])
            return times
        finally:
            game.terminate()
            game.wait(timeout=10)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--wait", type=float, default=0.3, help="seconds from the map to the first key")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        display = ":" + xvfb.stdout.readline().decode().strip()
        results = {program: ([], []) for program in args.programs}
        for _ in range(args.runs):
            for program in args.programs:  # interleaved, so load falls on each alike
                first, second = one_start(program, display, args.wait)
                results[program][0].append(first)
                results[program][1].append(second)
        for program, (first, second) in results.items():
            print("%s: key to first sample, median of %d: first tune %.1f ms, second tune %.1f ms"
                  % (program, args.runs, 1000 * statistics.median(first), 1000 * statistics.median(second)))
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=10)


if __name__ == "__main__":
    main()
