#!/usr/bin/env bash
# Builds the Debian package twice with ./run.sh package, from two fresh clones of one commit in
# folders of different names, one after the other, and fails unless the two .deb files are the
# same byte for byte. Slow: the game is built twice.
#   tests/package/reproducible.sh [commit]        (default HEAD; uncommitted changes are not in it)
set -euo pipefail
source_repo=$(cd "$(dirname "$0")/../.." && pwd)
commit=$(git -C "$source_repo" rev-parse "${1:-HEAD}")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

debs=()
for clone in "$tmp/one/wirtola" "$tmp/two/a/longer/path/to/wirtola"; do
  mkdir -p "$(dirname "$clone")"
  git clone -q "$source_repo" "$clone"
  git -C "$clone" checkout -q --detach "$commit"
  echo "== $(date +%T) building in $clone"
  (cd "$clone" && ./run.sh package) >"$clone.log" 2>&1 || { cat "$clone.log" >&2; exit 1; }
  debs+=("$(ls "$clone"/build/release/wirtola_*.deb)")
  sleep 2 # the second build starts at another second of the clock, whatever the first took
done

if cmp "${debs[0]}" "${debs[1]}"; then
  echo "Reproducible: $(basename "${debs[0]}") $(sha256sum <"${debs[0]}" | cut -c1-16)"
  exit 0
fi
echo "FAIL: the two packages differ; what differs inside them:" >&2
for i in 0 1; do
  mkdir "$tmp/unpacked$i"
  dpkg-deb -R "${debs[$i]}" "$tmp/unpacked$i"
  dpkg-deb -c "${debs[$i]}" >"$tmp/listing$i"
done
diff -r "$tmp/unpacked0" "$tmp/unpacked1" >&2 || true
diff "$tmp/listing0" "$tmp/listing1" >&2 || true
exit 1
