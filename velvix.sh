#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Licensed under the GNU General Public License, version 3 or later.
# Sets up a Debian 12 machine for Velvix, builds it, and starts it or runs its tests.
#   ./velvix.sh start      build and start the program
#   ./velvix.sh test       build and run every test
#   ./velvix.sh sanitize   the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#   ./velvix.sh fuzz       each fuzz target for FUZZ_SECONDS (default 60) from its seed corpus
#   ./velvix.sh package    the Debian package build/default/velvix_VERSION-1_ARCH.deb
#   ./velvix.sh package-check  the package built and checked: lintian, menu entry, metadata, manual pages
#   ./velvix.sh web        the web page built into build/web/web/site and served on http://localhost:8000/
#   ./velvix.sh web-test   the web page tested in a headless chromium against the desktop program's files
# Run it as yourself: only the installation of missing Debian packages asks for root (through sudo).
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libz80ex-dev z80asm zlib1g-dev ffmpeg
          qt6-base-dev qt6-serialport-dev libxcb1-dev qt6-translations-l10n fonts-liberation)

install_missing() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local as_root=()
        if [ "$(id -u)" -ne 0 ]; then
            if ! command -v sudo >/dev/null; then
                echo "Es fehlen Debian-Pakete: ${missing[*]}" >&2
                echo "Bitte als root installieren (apt-get install ${missing[*]}) und dann erneut starten." >&2
                exit 1
            fi
            as_root=(sudo)
        fi
        "${as_root[@]}" apt-get update -qq
        "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() {
    cmake --preset "$1"
    cmake --build --preset "$1"
}

deb=build/default/velvix_$(sed -n 's/^project(Velvix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-1_$(dpkg --print-architecture).deb

package() {
    packages+=(dpkg-dev) # dpkg-shlibdeps finds the package's library dependencies
    install_missing
    build default
    rm -f "$deb"
    (cd build/default && cpack)
    echo "Paket: $deb"
}

# The package as Debian and the desktops see it, unpacked into a scratch root.
check_package() {
    lintian --fail-on error --tag-display-limit 0 "$deb"
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    dpkg-deb -x "$deb" "$root"
    desktop-file-validate "$root/usr/share/applications/velvix.desktop"
    appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
    for program in velvix velvix-frames; do
        test -x "$root/usr/bin/$program" || { echo "$program fehlt im Paket" >&2; exit 1; }
    done
    local text warnings
    text=$("$root/usr/bin/velvix-frames" --hilfe)
    grep -q "^Aufruf:" <<<"$text"
    "$root/usr/bin/velvix-frames" --version | grep -q "GPL-3.0-or-later"
    for page in velvix velvix-frames; do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/de/man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || { echo "$page.1: $warnings" >&2; exit 1; }
        text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$root/usr/share/man/de/man1/$page.1.gz")
        grep -q "^BEZEICHNUNG" <<<"$text"
    done
    echo "Paket geprüft: $deb"
}

# The page's npm packages come from web/package-lock.json; emscripten's own tools run
# on node and look for Debian's node packages (acorn) there.
build_web() {
    packages+=(emscripten nodejs python3)
    command -v npm >/dev/null || packages+=(npm) # some node packages bring their own npm
    install_missing
    [ web/node_modules/.package-lock.json -nt web/package-lock.json ] ||
        (cd web && npm ci --no-audit --no-fund)
    NODE_PATH=/usr/share/nodejs build web
}

case "${1:-}" in
start)
    install_missing
    build default
    exec build/default/app/velvix
    ;;
test)
    install_missing
    build default
    ctest --preset default
    ;;
sanitize)
    install_missing
    build sanitize
    ctest --preset sanitize
    ;;
fuzz)
    packages+=(clang clang-14 libclang-rt-14-dev) # clang gives the plain clang++ the preset names
    install_missing
    build fuzz
    for target in frame_bitmap_fuzz run_record_fuzz video_name_fuzz whole_run_fuzz preview_fuzz compact_player_fuzz; do
        found=$(mktemp -d)
        log="build/fuzz/$target.log"
        status=0
        # A memory file system where there is one: the whole-run target writes folders at every try.
        TMPDIR=$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}" ) \
        "build/fuzz/fuzz/$target" -max_total_time="${FUZZ_SECONDS:-60}" -print_final_stats=1 \
            -artifact_prefix="build/fuzz/$target-" "$found" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
        rm -rf "$found"
        echo "== $target: $(grep -E '^stat::number_of_executed_units' "$log")"
        if [ "$status" -ne 0 ]; then
            tail -n 40 "$log" >&2
            echo "$target failed (exit $status); the input is in build/fuzz/$target-*" >&2
            exit 1
        fi
    done
    ;;
package)
    package
    ;;
package-check)
    packages+=(lintian desktop-file-utils appstream man-db)
    package
    check_package
    ;;
web)
    build_web
    echo "Velvix im Browser: http://localhost:${PORT:-8000}/ (Strg+C beendet)"
    exec python3 -m http.server --bind 127.0.0.1 --directory build/web/web/site "${PORT:-8000}"
    ;;
web-test)
    packages+=(chromium)
    build_web
    cmake --preset default # the desktop program's side of the comparison: tests/desktop_run, velvix-frames
    cmake --build --preset default --target desktop_run velvix-frames
    export VELVIX_SITE=build/web/web/site VELVIX_DESKTOP_RUN=build/default/tests/desktop_run \
        VELVIX_FRAMES=build/default/frames/velvix-frames
    for tests in web/tests/*.test.js; do # one browser at a time
        node --test "$tests"
    done
    ;;
*)
    echo "usage: $0 start|test|sanitize|fuzz|package|package-check|web|web-test" >&2
    exit 2
    ;;
esac
