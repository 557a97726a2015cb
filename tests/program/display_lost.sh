#!/usr/bin/env bash
# The display going away under a running game (a crashed or ended desktop session), an X server
# and a Wayland compositor alike: the game saves as a closing would, says so in one line in the
# player's language and ends with its own exit status, 3. Then the command line, which needs no
# display at all.
#   display_lost.sh <program>
set -uo pipefail
program=${1:?usage: $0 <program>}
for tool in Xvfb xprop xwininfo weston; do
  command -v "$tool" >/dev/null || { echo "display_lost: $tool is missing" >&2; exit 1; }
done
work=$(mktemp -d)
xvfb_pid=
game_pid=
weston_pid=
trap 'kill $game_pid $xvfb_pid $weston_pid 2>/dev/null; rm -rf "$work"' EXIT

# A copy of its own, so the statistics file beside it is the test's. A stored fund of 0 is read
# as 3000, so a file that holds 3000 afterwards was written by the game.
cp "$program" "$work/wirtola"
printf '[Statystyka]\r\nWygrane=2\r\nPrzegrane=1\r\nFundusz=0\r\n' >"$work/wirtola.ini"

wait_for() { # wait_for <pid> <command...>: up to twenty seconds while the process lives
  local pid=$1; shift
  for _ in $(seq 200); do
    "$@" >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
window_shown() { xwininfo -root -tree | grep -q '"Wirtola wer'; }

# The server picks a free display itself and names it once it takes connections: a number
# guessed here could be another test's server, gone by the time the game connects.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for "$xvfb_pid" test -s "$work/display" || xvfb_pid=
export DISPLAY=":$(head -n 1 "$work/display")"
[[ -n $xvfb_pid ]] || { echo "display_lost: no X server came up" >&2; exit 1; }

QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy "$work/wirtola" 2>"$work/game.log" &
game_pid=$!
wait_for "$game_pid" window_shown || { echo "display_lost: the game showed no window" >&2; cat "$work/game.log" >&2; exit 1; }
sleep 1 # the window shows while it is still being made; the display goes away under a running game
kill -KILL "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null
xvfb_pid=
wait "$game_pid"
status=$?
game_pid=
failed=0
[[ $status == 3 ]] || { echo "FAIL: exit status $status, not 3" >&2; failed=1; }
grep -q 'Fundusz=3000' "$work/wirtola.ini" || { echo "FAIL: the statistics were not saved:" >&2; cat "$work/wirtola.ini" >&2; failed=1; }
grep -q 'Wygrane=2' "$work/wirtola.ini" || { echo "FAIL: the wins were lost" >&2; failed=1; }
# A start with no round does not open the record; the command line answers with no display.
[[ ! -e $work/wirtola.history ]] || { echo "FAIL: the record was opened at the start" >&2; failed=1; }
history=$(env -u DISPLAY QT_QPA_PLATFORM=xcb "$work/wirtola" --history)
[[ $history == time,event,stake,* && $(wc -l <<<"$history") == 1 ]] || { echo "FAIL: --history: $history" >&2; failed=1; }
# A record it cannot read whole, or an output it cannot write: said in one line, and by the status.
printf 'not a record' >"$work/wirtola.history"
LANGUAGE=en env -u DISPLAY "$work/wirtola" --history >"$work/out" 2>"$work/err"
status=$?
[[ $status == 5 && $(cat "$work/err") == "wirtola: cannot read the whole record of play $work/wirtola.history: the file is damaged" ]] ||
  { echo "FAIL: --history of a damaged record: status $status, $(cat "$work/err")" >&2; failed=1; }
[[ $(cat "$work/out") == time,event,stake,* ]] || { echo "FAIL: no header before the damage" >&2; failed=1; }
rm "$work/wirtola.history"
env -u DISPLAY "$work/wirtola" --history >/dev/full 2>"$work/err"
status=$?
[[ $status == 6 && $(wc -l <"$work/err") == 1 ]] || { echo "FAIL: --history into a full disk: status $status" >&2; failed=1; }
env -u DISPLAY QT_QPA_PLATFORM=xcb "$work/wirtola" --version | grep -qx 'wirtola [0-9.]*' || { echo "FAIL: --version" >&2; failed=1; }
grep -qx 'wirtola: połączenie z ekranem zostało przerwane' "$work/game.log" || { echo "FAIL: X11: no line of its own" >&2; failed=1; }
grep -q 'X11 connection broke' "$work/game.log" && { echo "FAIL: X11: Qt's own line" >&2; failed=1; }
((failed)) && cat "$work/game.log" >&2

# The same under a Wayland compositor (weston, headless), in English this time.
mkdir -m 700 "$work/runtime"
printf '[Statystyka]\r\nWygrane=2\r\nPrzegrane=1\r\nFundusz=0\r\n' >"$work/wirtola.ini"
XDG_RUNTIME_DIR=$work/runtime weston --backend=headless-backend.so --socket=wirtola-test --idle-time=0 \
  >"$work/weston.log" 2>&1 &
weston_pid=$!
wait_for "$weston_pid" test -S "$work/runtime/wirtola-test" || { echo "display_lost: weston did not start" >&2; cat "$work/weston.log" >&2; exit 1; }
# The window is made once the game has given it its title.
env -u DISPLAY XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY=wirtola-test WAYLAND_DEBUG=client LANGUAGE=en \
  QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy "$work/wirtola" 2>"$work/wayland.log" &
game_pid=$!
wait_for "$game_pid" grep -q 'set_title' "$work/wayland.log" || { echo "display_lost: no window under weston" >&2; cat "$work/wayland.log" >&2; exit 1; }
sleep 1
kill -KILL "$weston_pid"
wait "$weston_pid" 2>/dev/null
weston_pid=
wait "$game_pid"
status=$?
game_pid=
[[ $status == 3 ]] || { echo "FAIL: Wayland: exit status $status, not 3" >&2; failed=1; }
grep -qx 'wirtola: the connection to the display was lost' "$work/wayland.log" || { echo "FAIL: Wayland: no line of its own" >&2; failed=1; }
grep -q 'Wayland connection' "$work/wayland.log" && { echo "FAIL: Wayland: Qt's own line" >&2; failed=1; }
grep -q 'Fundusz=3000' "$work/wirtola.ini" || { echo "FAIL: Wayland: the statistics were not saved" >&2; failed=1; }
((failed)) && tail -n 5 "$work/wayland.log" >&2
exit $failed
