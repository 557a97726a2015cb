#!/usr/bin/env bash
# Checks the packaged program with hardening-check (devscripts), and shows for every unit of the
# program the two protections that hardening-check cannot confirm on Debian 12:
#   - stack clash: hardening-check looks for probe instructions, which only a function with a
#     frame larger than a page gets, so it says "unknown" for a program without one;
#   - control flow: the linker marks a program only when every object in it is marked, and the
#     C library's start files (Scrt1.o, crti.o) are not, so it says "no" for every program.
# Those two are shown instead by each unit's compile command and by the marks in each object.
#   tests/package/hardening.sh <package build folder>
set -euo pipefail
build=${1:?usage: $0 <package build folder>}
debs=("$build"/wirtola_*.deb)
[[ -f ${debs[0]} && ${#debs[@]} -eq 1 ]] || { echo "FAIL: no single wirtola_*.deb in $build" >&2; exit 1; }
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "${debs[0]}" "$unpacked"

echo "== hardening-check"
report=$(hardening-check "$unpacked/usr/games/wirtola" || true) # it fails on the two lines explained above
echo "$report"
verdict() { sed -n "s/^ $1: //p" <<<"$report"; }
for check in "Position Independent Executable" "Stack protected" "Fortify Source functions" \
  "Read-only relocations" "Immediate binding"; do
  [[ $(verdict "$check") == yes* ]] || fail "$check: $(verdict "$check")"
done
stack_clash=$(verdict "Stack clash protection")
[[ $stack_clash == yes* || $stack_clash == unknown* ]] || fail "Stack clash protection: $stack_clash"
control_flow=$(verdict "Control flow integrity")
if [[ $control_flow != yes* ]]; then
  for start in Scrt1.o crti.o; do
    if readelf -n "$(gcc -print-file-name=$start)" | grep -q 'x86 feature:.*IBT'; then
      fail "Control flow integrity: $control_flow, although the C library's $start is marked"
    fi
  done
fi

echo "== every unit of the program"
python3 - "$build" <<'EOF' || failed=1
import json, os, subprocess, sys

build = sys.argv[1]
units = json.load(open(os.path.join(build, "compile_commands.json")))
bad = []
for unit in units:
    words = unit["arguments"] if "arguments" in unit else unit["command"].split()
    for flag in ("-fstack-clash-protection", "-fcf-protection"):
        if flag not in words:
            bad.append(f"{unit['file']}: compiled without {flag}")
    obj = os.path.join(unit["directory"], words[words.index("-o") + 1])
    if obj.endswith(".gch"):
        continue  # the precompiled headers: compiler state, no code to mark
    notes = subprocess.run(["readelf", "-n", obj], capture_output=True, text=True).stdout
    if not any("x86 feature:" in line and "IBT" in line and "SHSTK" in line for line in notes.splitlines()):
        bad.append(f"{obj}: no IBT and SHSTK marks")
for line in bad:
    print("FAIL:", line, file=sys.stderr)
print(f"{len(units)} units, each compiled with -fstack-clash-protection -fcf-protection "
      f"and marked for IBT and SHSTK" if not bad else f"{len(bad)} faults in {len(units)} units")
sys.exit(1 if bad or not units else 0)
EOF

exit "$failed"
