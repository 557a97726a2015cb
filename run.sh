#!/usr/bin/env bash
# Set up, build and start Wirtola on Debian 12, build its Debian package, or build and run every test.
#   ./run.sh play      install what is missing, build, start the game
#   ./run.sh package   install what is missing, build build/release/wirtola_<version>_<arch>.deb
#   ./run.sh test      install what is missing, build, run all tests (plain, sanitized, fuzzed),
#                      build the package and check it
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-play}
jobs=$(nproc)

# What building and playing the game needs, and no more.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-tools-dev qt6-l10n-tools
  libjpeg62-turbo-dev libsdl2-dev libsqlite3-dev
  fonts-liberation2 qt6-translations-l10n qt6-wayland
)
# What making the package needs besides: dpkg-shlibdeps works out its dependencies, and CPack
# tells programs from other files with file(1).
package_packages=(dpkg-dev file)
# What only the tests need: the test and benchmark libraries, clang for the fuzzers, a real X
# server and window manager, a Wayland compositor (weston), the accessibility bus and its client, the formatter, and the
# validators of what the package ships (hardening-check is in devscripts).
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb openbox xdotool x11-utils weston
  dbus-bin at-spi2-core python3-pyatspi orca speech-dispatcher locales
  clang-format-14 clang-tidy-14
  desktop-file-utils appstream lintian fakeroot man-db groff-base devscripts
)

install_missing() { # install_missing <package>...
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    local sudo=()
    ((EUID == 0)) || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 "${missing[@]}"
  fi
}

# Where the test command's time goes: each step with the seconds since the start.
step() { echo "== $* (${SECONDS} s)"; }

build() { # build <dir> [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

# The same commit gives the same bytes wherever and whenever it is built: every time stamp
# (resources, archive members) is the last commit's, and the clone's folder is mapped away in what
# the compiler records (release_options).
if [[ -z ${SOURCE_DATE_EPOCH:-} ]] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi

# The Release build, build/release, is the one played, tested and packaged: Release with all of
# Debian's hardening flags (the project adds stack clash and control-flow protection to them),
# installed under /usr. Debian's -g is left out, since the packaged program is stripped.
release_options() { # fills release with the cmake options of build/release
  local -x DEB_BUILD_MAINT_OPTIONS=hardening=+all
  local cflags cxxflags cppflags map
  cppflags=$(dpkg-buildflags --get CPPFLAGS)
  cflags=$(dpkg-buildflags --get CFLAGS | sed -E 's/(^| )-g( |$)/ /')
  cxxflags=$(dpkg-buildflags --get CXXFLAGS | sed -E 's/(^| )-g( |$)/ /')
  map="-ffile-prefix-map=$PWD=."
  release=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
    "-DCMAKE_C_FLAGS=$cflags $cppflags $map" "-DCMAKE_CXX_FLAGS=$cxxflags $cppflags $map"
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)")
}

# The Debian package of build/release as it stands, with what the package holds built first.
package() {
  cmake --build build/release -j "$jobs" --target wirtola_installed wirtola_gzipped
  rm -f build/release/wirtola_*.deb
  (cd build/release && cpack -G DEB >/dev/null)
  echo "Package: $(ls build/release/wirtola_*.deb)"
}

# The program's own folders, as CMakeLists.txt lists them (WIRTOLA_FOLDERS) and a configured
# build folder writes them out; the checks below read them from there and nowhere else.
product_folders() { # product_folders <build dir>
  mapfile -t folders <"$1/wirtola-folders.txt"
}

# The tracked C++ sources keep the house format (.clang-format): the program's folders, and the
# tests, benchmarks and tools built with them. A C++ source anywhere else is in a folder that
# WIRTOLA_FOLDERS forgot, and fails the run as a drift would.
check_format() { # check_format <build dir>
  local folders stray
  product_folders "$1"
  stray=$(git ls-files '*.cpp' '*.h' | grep -vE "^($(IFS='|' && echo "${folders[*]}")|tests|bench|tools)/" || true)
  if [[ -n $stray ]]; then
    echo "C++ sources outside the folders of WIRTOLA_FOLDERS (CMakeLists.txt) and tests, bench, tools:" >&2
    echo "$stray" >&2
    return 1
  fi
  git ls-files -z -- "${folders[@]/%//*.cpp}" "${folders[@]/%//*.h}" 'tests/*.cpp' 'tests/*.h' \
    'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h' | xargs -0 clang-format-14 --dry-run --Werror
}

# The naming rules of .clang-tidy, over the sources of the program's folders and their headers,
# each source read as it compiles alone (without the precompiled headers, so a missing include
# fails too); any breach fails.
check_names() { # check_names <build dir>
  local folders
  product_folders "$1"
  mkdir -p "$1/alone"
  sed -E 's# -Winvalid-pch##g; s# -include [^ "]*cmake_pch\.hxx##g' "$1/compile_commands.json" \
    >"$1/alone/compile_commands.json"
  git ls-files -z -- "${folders[@]/%//*.cpp}" |
    xargs -0 -P "$jobs" -n 4 clang-tidy-14 -p "$1/alone" --quiet \
      "--header-filter=^$PWD/($(IFS='|' && echo "${folders[*]}"))/" 2>/dev/null
}

case "$mode" in
  test) install_missing "${packages[@]}" "${package_packages[@]}" "${test_packages[@]}" ;;
  package) install_missing "${packages[@]}" "${package_packages[@]}" ;;
  *) install_missing "${packages[@]}" ;;
esac
release_options
case "$mode" in
  play)
    # The game alone: no tests, benchmarks or generators (the test command builds those here).
    build build/release "${release[@]}" -DBUILD_TESTING=OFF
    exec build/release/program/wirtola
    ;;
  test)
    step "format, the Release build"
    cmake -S . -B build/release -G Ninja "${release[@]}" -DBUILD_TESTING=ON >/dev/null
    check_format build/release
    build build/release
    # The Orca round mostly waits for speech (two minutes): it starts as soon as the program is
    # built and plays beside the rest of this command, whose builds and tests are the load it is
    # meant to play under (so it starts no busy loops of its own); it is waited for at the end.
    orca='^game\.orca_round$'
    WIRTOLA_ORCA_LOADED=1 ctest --test-dir build/release --output-on-failure -R "$orca" \
      >build/release/orca-round.log 2>&1 &
    orca_pid=$!
    trap 'kill "$orca_pid" 2>/dev/null || true' EXIT
    step "the Orca round started; clang-tidy"
    check_names build/release
    step "the sanitizer build"
    # One clang build carries both the sanitizer tests and the fuzz targets.
    CC=clang CXX=clang++ build build/asan -DCMAKE_BUILD_TYPE=Debug -DWIRTOLA_SANITIZE=ON -DWIRTOLA_FUZZ=ON \
      -DBUILD_TESTING=ON
    # One test more than the processors: many wait on timers and the programs they start.
    step "the Release tests"
    ctest --test-dir build/release --output-on-failure -j "$((jobs + 1))" -E "$orca"
    step "the sanitized tests"
    ctest --test-dir build/asan --output-on-failure -j "$((jobs + 1))"
    step "the package of the build just tested, and its checks"
    package
    tests/package/validate.sh build/release
    tests/package/hardening.sh build/release
    tests/package/installed.sh build/release
    step "the Orca round's end"
    orca_status=0
    wait "$orca_pid" || orca_status=$?
    trap - EXIT
    cat build/release/orca-round.log
    ((orca_status == 0))
    step "every test passed"
    ;;
  package)
    cmake -S . -B build/release -G Ninja "${release[@]}" -DBUILD_TESTING=OFF >/dev/null
    package
    ;;
  *)
    echo "usage: $0 play|package|test" >&2
    exit 2
    ;;
esac
