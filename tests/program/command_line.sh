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
pl|--version|0|
en|-version|0|
pl|--history|0|
pl||3|wirtola: nie można połączyć się z ekranem (DISPLAY, WAYLAND_DISPLAY)
en||3|wirtola: cannot connect to a display (DISPLAY, WAYLAND_DISPLAY)
en|-platform xcb|3|wirtola: cannot connect to a display (DISPLAY, WAYLAND_DISPLAY)
pl|-style fusion|3|wirtola: nie można połączyć się z ekranem (DISPLAY, WAYLAND_DISPLAY)
TABLE

# --version: the whole version and the licence; standard output that cannot be written fails.
LANGUAGE=en "$work/wirtola" --version >"$work/out"
[[ $(<"$work/out") == $'wirtola '[0-9]*.[0-9]*.[0-9]*$'\nLicense GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>' ]] ||
  { echo "FAIL: --version: $(<"$work/out")" >&2; failed=1; }
LANGUAGE=pl "$work/wirtola" --version | grep -qx 'Licencja GPL-3.0-or-later: .*' || { echo "FAIL: --version in Polish" >&2; failed=1; }
if [[ -w /dev/full ]]; then
  for option in --help --version --history; do
    "$work/wirtola" $option >/dev/full 2>/dev/null
    status=$?
    [[ $status == 6 ]] || { echo "FAIL: $option into a full disk: status $status, not 6" >&2; failed=1; }
  done
fi
exit $failed
