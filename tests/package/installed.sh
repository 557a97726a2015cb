#!/usr/bin/env bash
# Installs the package build into a scratch folder, checks that every shipped file is there,
# then plays the installed program from a read-only copy as a packaged game is played: its
# statistics must land in the user's data folder, written when SIGTERM closes it, and nothing
# may be written into the installation (run as root, permissions alone would not stop that).
#   tests/package/installed.sh <package build folder>
set -euo pipefail
build=${1:?usage: $0 <package build folder>}
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

DESTDIR=$tmp/stage cmake --install "$build" --prefix /usr >/dev/null
id=pl.wirtola.Wirtola
shipped=(
  games/wirtola
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  share/man/man6/wirtola.6.gz
  share/doc/wirtola/copyright
  share/doc/wirtola/changelog.gz
)
for size in 16 32 48 64 128 256; do
  shipped+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${shipped[@]}"; do
  [[ -f $tmp/stage/usr/$file ]] || fail "the installation lacks $file"
done
[[ $(readlink "$tmp/stage/usr/bin/wirtola") == ../games/wirtola ]] || fail "bin/wirtola does not lead to the game"
[[ -x $tmp/stage/usr/bin/wirtola ]] || { fail "no program to run"; exit 1; }

cp -a "$tmp/stage" "$tmp/installed"
chmod -R a-w "$tmp/installed"
snapshot() { (cd "$tmp/installed" && find . -printf '%p %s %T@\n' | sort); }
before=$(snapshot)

# play <label> <statistics file expected> <environment...>: starts the installed game, waits
# until it is ready for SIGTERM, ends it with one and checks where its statistics went.
play() {
  local label=$1 expected=$2
  shift 2
  env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$tmp/run" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy "$@" \
    "$tmp/installed/usr/bin/wirtola" >"$tmp/$label.log" 2>&1 &
  local pid=$!
  # Signalled only once it catches SIGTERM (bit 15 of SigCgt), so a slow start is no failure.
  local waited=0 caught=0
  while ((waited < 100)) && kill -0 "$pid" 2>/dev/null; do
    caught=$((0x$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0) >> 14 & 1))
    ((caught)) && break
    sleep 0.1
    waited=$((waited + 1))
  done
  ((caught)) || fail "$label: the game does not catch SIGTERM"
  sleep 0.5
  kill -TERM "$pid" 2>/dev/null || fail "$label: the game ended before SIGTERM"
  waited=0
  while kill -0 "$pid" 2>/dev/null && ((waited < 100)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  if kill -0 "$pid" 2>/dev/null; then
    fail "$label: the game was still running 10 s after SIGTERM"
    kill -KILL "$pid"
  fi
  wait "$pid" || fail "$label: the game ended with status $? after SIGTERM"
  if [[ -f $expected ]]; then
    grep -q '^Fundusz=3000' "$expected" || fail "$label: $expected holds no fund: $(cat "$expected")"
  else
    fail "$label: no statistics file at $expected ($(cat "$tmp/$label.log"))"
  fi
}

mkdir -p "$tmp/home1" "$tmp/data" "$tmp/home2"
mkdir -m 0700 "$tmp/run"
play xdg "$tmp/data/wirtola/wirtola.ini" HOME="$tmp/home1" XDG_DATA_HOME="$tmp/data"
play home "$tmp/home2/.local/share/wirtola/wirtola.ini" HOME="$tmp/home2" XDG_DATA_HOME=relative/path

[[ $(snapshot) == "$before" ]] || fail "the game wrote into its installation: $(diff <(echo "$before") <(snapshot))"
[[ $failed == 0 ]] && echo "The installed game keeps its statistics in the user's data folder."
exit "$failed"
