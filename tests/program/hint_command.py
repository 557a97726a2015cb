#!/usr/bin/env python3
"""wirtola --hint, without a display: the CSV read back (every choice once, best first, the
columns where they belong, the draw odds a player knows) and a clear refusal of a bad card list."""
import csv, io, os, subprocess, sys

wirtola = sys.argv[1]
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
env["LANGUAGE"] = "en"
failed = []


def run(cards):
    return subprocess.run([wirtola, "--hint", cards], capture_output=True, text=True, env=env, timeout=60)


def check(ok, what):
    if not ok:
        failed.append(what)


classes = ["high_card", "pair", "two_pair", "three", "straight", "flush", "full_house", "four",
           "straight_flush", "royal_flush"]
r = run("2h 2d 7c 9s Kd")
check(r.returncode == 0 and r.stderr == "", f"status {r.returncode}: {r.stderr}")
rows = list(csv.DictReader(io.StringIO(r.stdout)))
check(r.stdout.splitlines()[0] == ",".join(["kept", "win", "tie", "loss", "expected"] + classes), "header")
kept = {row["kept"] for row in rows}
check(len(rows) == 32 and len(kept) == 32 and "" in kept and "2h 2d 7c 9s Kd" in kept, f"choices: {sorted(kept)}")
expected = [float(row["expected"]) for row in rows]
check(expected == sorted(expected, reverse=True), "best first")
for row in rows:
    w, t, l = (float(row[k]) for k in ("win", "tie", "loss"))
    check(abs(w + t + l - 1) < 2e-4 and abs(w - l - float(row["expected"])) < 2e-4, f"outcomes of {row['kept']}")
    check(abs(sum(float(row[c]) for c in classes) - 1) < 1e-5, f"classes of {row['kept']}")
by = {row["kept"]: row for row in rows}
pair = by["2h 2d"]
improved = sum(float(pair[c]) for c in ["two_pair", "three", "full_house", "four"])
check(abs(improved - 0.287) < 5e-4 and float(pair["high_card"]) == 0, f"a pair drawing three: {improved}")
check(abs(float(by["2h 2d 7c 9s"]["two_pair"]) - 6 / 47) < 1e-6, "two pairs: one of the three sevens or nines left")
check(float(by["2h 2d 7c 9s Kd"]["pair"]) == 1 and float(by["2h 2d 7c 9s Kd"]["straight"]) == 0, "all kept")

# The same cards in another order and case give the same rows.
again = {row["kept"]: row for row in csv.DictReader(io.StringIO(run("kd 9S 7c 2D 2h").stdout))}
norm = lambda k: " ".join(sorted(k.lower().split()))
check({norm(k): {c: v for c, v in row.items() if c != "kept"} for k, row in by.items()}
      == {norm(k): {c: v for c, v in row.items() if c != "kept"} for k, row in again.items()}, "any order")

royal = {row["kept"]: row for row in csv.DictReader(io.StringIO(run("10h Jh Qh Kh Ah").stdout))}
check(float(royal.get("Th Jh Qh Kh Ah", {}).get("royal_flush", 0)) == 1, "a ten written as 10")

for cards, words in [("2h 2d 7c 9s", "five cards"), ("2h 2d 7c 9s Kd Ah", "five cards"),
                     ("2h 2d 7c 9s Kx", "Kx"), ("2h 2d 7c 9s 1s", "1s"), ("2h 2d 7c 9s 2h", "twice"), ("", "five")]:
    r = run(cards)
    check(r.returncode == 2 and r.stdout == "" and len(r.stderr.splitlines()) == 1 and words in r.stderr,
          f"refusal of {cards!r}: {r.returncode} {r.stderr!r}")

for f in failed:
    print("FAIL:", f, file=sys.stderr)
sys.exit(1 if failed else 0)
