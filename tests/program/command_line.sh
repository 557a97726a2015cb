#!/usr/bin/env bash
# The command line as GNU programs have it, in both languages: each option or argument, its exit
# status and what it says on standard error, with no display at all; then no display to open.
#   command_line.sh <program>
set -uo pipefail
program=${1:?usage: $0 <program>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/wirtola" # its statistics and record beside it are the test's
failed=0

# language | arguments | status | standard error, its lines joined by '|' ('' for none)
while IFS='|' read -r language arguments status line1 line2; do
  read -ra args <<<"$arguments"
  env -u DISPLAY -u WAYLAND_DISPLAY LANGUAGE="$language" "$work/wirtola" "${args[@]}" >"$work/out" 2>"$work/err"
  got=$?
  want=$line1${line2:+$'\n'$line2}
  if [[ $got != "$status" || $(<"$work/err") != "$want" ]]; then
    echo "FAIL: LANGUAGE=$language wirtola $arguments: status $got (want $status), stderr:" >&2
    cat "$work/err" >&2
    failed=1
  fi
done <<'TABLE'
pl|--bogus|2|wirtola: nieznana opcja '--bogus'|Spróbuj 'wirtola --help'
en|--bogus|2|wirtola: unrecognized option '--bogus'|Try 'wirtola --help'
pl|-x|2|wirtola: nieznana opcja '-x'|Spróbuj 'wirtola --help'
en|--help --bogus=1|2|wirtola: unrecognized option '--bogus=1'|Try 'wirtola --help'
pl|foo|2|wirtola: nieoczekiwany argument 'foo'|Spróbuj 'wirtola --help'
en|foo|2|wirtola: unexpected argument 'foo'|Try 'wirtola --help'
en|--version -- foo|2|wirtola: unexpected argument 'foo'|Try 'wirtola --help'
pl|--history=tak|2|wirtola: opcja '--history' nie przyjmuje wartości|Spróbuj 'wirtola --help'
en|--version=2|2|wirtola: option '--version' doesn't allow an argument|Try 'wirtola --help'
pl|-platform|2|wirtola: opcja '-platform' wymaga wartości|Spróbuj 'wirtola --help'
en|--style|2|wirtola: option '--style' requires an argument|Try 'wirtola --help'
pl|--help|0|
en|-h|0|
pl|-v|0|
pl|--version|0|
en|-version|0|
pl|--history|0|
pl||3|wirtola: nie można połączyć się z ekranem (DISPLAY, WAYLAND_DISPLAY)
en||3|wirtola: cannot connect to a display (DISPLAY, WAYLAND_DISPLAY)
en|-platform xcb|3|wirtola: cannot connect to a display (DISPLAY, WAYLAND_DISPLAY)
pl|-style fusion|3|wirtola: nie można połączyć się z ekranem (DISPLAY, WAYLAND_DISPLAY)
en|-style=fusion|3|wirtola: cannot connect to a display (DISPLAY, WAYLAND_DISPLAY)
TABLE

# --version: the whole version and the licence; standard output that cannot be written fails.
LANGUAGE=en "$work/wirtola" --version >"$work/out"
[[ $(<"$work/out") == $'wirtola '[0-9]*.[0-9]*.[0-9]*$'\nLicense GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>' ]] ||
  { echo "FAIL: --version: $(<"$work/out")" >&2; failed=1; }
LANGUAGE=pl "$work/wirtola" --version | grep -qx 'Licencja GPL-3.0-or-later: .*' || { echo "FAIL: --version in Polish" >&2; failed=1; }
# --help in the player's language, and only in it.
LANGUAGE=en "$work/wirtola" --help >"$work/out"
grep -q 'Prints this description\.' "$work/out" && grep -q 'Five-card draw poker' "$work/out" &&
  ! grep -q 'Wypisuje' "$work/out" || { echo "FAIL: --help in English: $(<"$work/out")" >&2; failed=1; }
LANGUAGE=pl "$work/wirtola" --help | grep -q 'Wypisuje ten opis\.' || { echo "FAIL: --help in Polish" >&2; failed=1; }

# --history: the rounds and events of the record beside the program, each with every column, in
# UTC whatever the player's zone; a record it cannot read whole is named with its cause, status 5.
record=$work/wirtola.history
sql() { /usr/bin/python3 -c 'import sqlite3, sys; sqlite3.connect(sys.argv[1]).executescript(sys.argv[2])' "$record" "$1"; }
sql "CREATE TABLE record(id INTEGER PRIMARY KEY, time INTEGER NOT NULL, kind INTEGER NOT NULL, stake INTEGER,
  dealt TEXT, dealt_class INTEGER, cards TEXT, class INTEGER, computer TEXT, computer_class INTEGER,
  result INTEGER, moved INTEGER, fund INTEGER NOT NULL, wins INTEGER NOT NULL, losses INTEGER NOT NULL);
  PRAGMA application_id=1466528372; PRAGMA user_version=1;
  INSERT INTO record VALUES(1, 1765198980123, 0, 50, 'Kh Ks 6c Td Ac', 1, 'Kh Ks Kc 3d 8c', 3, '2c 2d 4h 4s Jc', 2,
    1, 50, 3050, 1, 0);
  INSERT INTO record VALUES(2, 1765198990000, 0, 990, '2c 3d 4h 5s 7c', 0, '2c 3d 4h 5s 7c', 0, 'Ac Ad 2h 2s 9c', 2,
    -1, -990, 2060, 1, 1);
  INSERT INTO record VALUES(3, 1765199000000, 1, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 3000, 0, 0);
  INSERT INTO record VALUES(4, 1765199010000, 3, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 3000, 0, 0);"
TZ=Europe/Warsaw LANGUAGE=en "$work/wirtola" --history >"$work/out" 2>"$work/err"
status=$?
want='time,event,stake,dealt_cards,dealt_class,player_cards,player_class,computer_cards,computer_class,result,moved,fund,wins,losses,kept,best,kept_expected,best_expected
2025-12-08T13:03:00.123Z,round,50,Kh Ks 6c Td Ac,one pair,Kh Ks Kc 3d 8c,three of a kind,2c 2d 4h 4s Jc,two pairs,won,50,3050,1,0,,,,
2025-12-08T13:03:10.000Z,round,990,2c 3d 4h 5s 7c,high card,2c 3d 4h 5s 7c,high card,Ac Ad 2h 2s 9c,two pairs,lost,-990,2060,1,1,,,,
2025-12-08T13:03:20.000Z,loan,,,,,,,,,,3000,0,0,,,,
2025-12-08T13:03:30.000Z,new game,,,,,,,,,,3000,0,0,,,,'
[[ $status == 0 && $(<"$work/out") == "$want" && ! -s $work/err ]] ||
  { echo "FAIL: --history: status $status, stdout:" >&2; cat "$work/out" "$work/err" >&2; failed=1; }
# record kind | how it is made | the cause told
while IFS='|' read -r kind make cause; do
  rm -rf "$record"
  eval "$make"
  LANGUAGE=en "$work/wirtola" --history >"$work/out" 2>"$work/err"
  status=$?
  [[ $status == 5 && $(<"$work/err") == "wirtola: cannot read the whole record of play $record: $cause" ]] ||
    { echo "FAIL: --history of $kind: status $status, stderr: $(<"$work/err")" >&2; failed=1; }
done <<'TABLE'
a damaged record|printf 'not a record' >"$record"|the file is damaged
another program's database|sql 'CREATE TABLE notes(a); PRAGMA application_id=1234;'|it is not a Wirtola record of play
another program's empty database|sql 'PRAGMA application_id=1234;'|it is not a Wirtola record of play
a folder|mkdir "$record"|it is a link, another user's file or not a file
TABLE
# An empty file, as a game killed while making the record leaves it: a record of no rows.
rm -rf "$record"
: >"$record"
"$work/wirtola" --history >"$work/out" 2>"$work/err"
status=$?
[[ $status == 0 && $(<"$work/out") == time,event,* && $(wc -l <"$work/out") == 1 && ! -s $work/err ]] ||
  { echo "FAIL: --history of an empty file: status $status, $(<"$work/err")" >&2; failed=1; }
rm -f "$record"

if [[ -w /dev/full ]]; then
  for option in --help --version --history; do
    "$work/wirtola" $option >/dev/full 2>/dev/null
    status=$?
    [[ $status == 6 ]] || { echo "FAIL: $option into a full disk: status $status, not 6" >&2; failed=1; }
  done
fi
exit $failed
