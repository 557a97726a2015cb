#!/usr/bin/env bash
# Checks what the Debian package ships with the tools a distribution checks it with: the menu
# entry, the AppStream metadata, the manual page, the dependencies and the package as a whole.
# Any error fails; lintian's warnings are shown but allowed.
#   tests/package/validate.sh <package build folder>
set -euo pipefail
build=${1:?usage: $0 <package build folder>}
desktop=$(cd "$(dirname "$0")/../../assets/desktop" && pwd)
debs=("$build"/wirtola_*.deb)
[[ -f ${debs[0]} && ${#debs[@]} -eq 1 ]] || { echo "FAIL: no single wirtola_*.deb in $build" >&2; exit 1; }
deb=${debs[0]}
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
# What the package holds is checked, not only its sources.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"

echo "== desktop-file-validate"
desktop-file-validate "$unpacked/usr/share/applications/pl.wirtola.Wirtola.desktop" || fail "desktop entry"

echo "== appstreamcli validate"
# The tree's check also finds the launchable's desktop entry and the icon it names.
appstreamcli validate-tree --no-net "$unpacked" || fail "AppStream metadata"

echo "== version"
# One version, the project's, everywhere the package states one.
version=$(dpkg-deb -f "$deb" Version)
echo "Version: $version"
grep -q "<release version=\"$version\"" "$unpacked/usr/share/metainfo/pl.wirtola.Wirtola.metainfo.xml" ||
  fail "the AppStream metadata's newest release is not $version"
[[ $(dpkg-parsechangelog -l "$desktop/changelog" -S Version) == "$version" ]] ||
  fail "the changelog's newest entry is not $version"

echo "== manual page"
page=$unpacked/wirtola.6
gzip -dc "$unpacked/usr/share/man/man6/wirtola.6.gz" >"$page"
cmp -s "$page" "$build/assets/wirtola.6" || fail "the packaged manual page is not the one built from assets/desktop/wirtola.6"
[[ $(head -1 "$page") == *"\"Wirtola $version\""* ]] || fail "the manual page's header does not name version $version"
warnings=$(groff -man -ww -z "$page" 2>&1)
[[ -z $warnings ]] || fail "groff warns: $warnings"
rendered=$(MANWIDTH=80 man --warnings -l "$page" 2>"$build/man.stderr") || fail "man -l failed"
[[ ! -s $build/man.stderr ]] || fail "man -l warns: $(cat "$build/man.stderr")"
grep -q "EXIT STATUS" <<<"$rendered" || fail "man -l rendered no EXIT STATUS section"
# Each entry of PLAYING is its tag on a line of its own, then its text, even a tag as short as this.
grep -qx ' *Zostaw, Keep' <<<"$rendered" || fail "the Zostaw entry runs into its text"

echo "== dependencies"
# Computed by dpkg-shlibdeps (SDL2, loaded on demand, is named by hand): without them apt-get
# install ./wirtola_*.deb would not bring Qt, SDL2, libjpeg and SQLite.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-2.0-0 libjpeg62-turbo libsqlite3-0 libc6 libstdc++6; do
  [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] || fail "Depends lacks $library"
done
# The windows are laid out for the Liberation 2 metrics, Qt's own texts are translated, and a
# Wayland desktop gets a native client; --no-install-recommends must not lose them.
for package in fonts-liberation2 qt6-translations-l10n qt6-wayland; do
  [[ ", $depends," == *", $package,"* ]] || fail "Depends lacks $package"
done
[[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "section is not games"

echo "== lintian"
lintian --fail-on error --display-info "$deb" || fail "lintian reports errors"

exit "$failed"
