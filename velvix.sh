#!/usr/bin/env bash
# Sets up a Debian 12 machine for Velvix, builds it, and starts it or runs its tests.
#   ./velvix.sh start      build and start the program
#   ./velvix.sh test       build and run every test
#   ./velvix.sh sanitize   the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#   ./velvix.sh fuzz       each fuzz target for FUZZ_SECONDS (default 60) from its seed corpus
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libz80ex-dev zlib1g-dev ffmpeg
          qt6-base-dev qt6-serialport-dev qt6-translations-l10n fonts-liberation)

install_missing() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() {
    cmake --preset "$1"
    cmake --build --preset "$1"
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
    packages+=(clang-14 libclang-rt-14-dev)
    install_missing
    build fuzz
    for target in frame_bitmap_fuzz video_name_fuzz whole_run_fuzz; do
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
*)
    echo "usage: $0 start|test|sanitize|fuzz" >&2
    exit 2
    ;;
esac
