#!/usr/bin/env bash
# Sets up a Debian 12 machine for Velvix, builds it, and starts it or runs its tests.
#   ./velvix.sh start      build and start the program
#   ./velvix.sh test       build and run every test
#   ./velvix.sh sanitize   the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev fonts-liberation)

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
*)
    echo "usage: $0 start|test|sanitize" >&2
    exit 2
    ;;
esac
