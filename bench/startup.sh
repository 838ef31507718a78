#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Licensed under the GNU General Public License, version 3 or later.
# Start-up of velvix beside a bare Qt 6 dialog built the same way: both installed stripped into a
# scratch folder, started on a virtual X display, timed from exec until their window is mapped and
# answers, with their peak memory. Medians over alternating pairs, and velvix's ratio to the dialog.
#   bench/startup.sh [BUILD_FOLDER]    default build/default (configured); PAIRS=15 pairs
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/own_display.sh
build=${1:-build/default}
pairs=${PAIRS:-15}
command -v Xvfb >/dev/null || { echo "Xvfb fehlt: apt-get install xvfb" >&2; exit 1; }

cmake --build "$build" --target velvix velvix-frames compressed_docs bare_dialog startup_probe >/dev/null
scratch=$(mktemp -d)
xvfb=
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb"
    rm -rf "$scratch"
}
trap cleanup EXIT
cmake --install "$build" --prefix "$scratch/usr" --strip >/dev/null
strip -o "$scratch/usr/bin/bare_dialog" "$build/bench/bare_dialog"
probe=$build/bench/startup_probe

start_own_display 1024x768x24 "$scratch"
# A fresh home, as a first start: no remembered folder, no settings.
mkdir -p "$scratch/home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_RUNTIME_DIR=$scratch/runtime QT_QPA_PLATFORM=xcb
unset XDG_DATA_HOME QT_SCALE_FACTOR

run() { "$probe" "$scratch/usr/bin/$1" >>"$scratch/$1.times"; }
run velvix; run bare_dialog; : >"$scratch/velvix.times"; : >"$scratch/bare_dialog.times" # warm the caches
for _ in $(seq "$pairs"); do
    run velvix
    run bare_dialog
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for program in velvix bare_dialog; do
    eval "${program}_ms=$(cut -d' ' -f1 "$scratch/$program.times" | median)"
    eval "${program}_kb=$(cut -d' ' -f2 "$scratch/$program.times" | median)"
    eval "${program}_cpu=$(cut -d' ' -f3 "$scratch/$program.times" | median)"
done
echo "Start bis Fenster antwortet (Median aus $pairs Paaren): velvix $velvix_ms ms, Dialog $bare_dialog_ms ms"
echo "Prozessorzeit bis dahin: velvix $velvix_cpu ms, Dialog $bare_dialog_cpu ms"
echo "Spitzenspeicher: velvix $velvix_kb KiB, Dialog $bare_dialog_kb KiB"
awk -v a="$velvix_ms" -v b="$bare_dialog_ms" -v c="$velvix_kb" -v d="$bare_dialog_kb" -v e="$velvix_cpu" \
    -v f="$bare_dialog_cpu" 'BEGIN { printf "Verhältnis: Start %.2f x, Speicher %.2f x (Prozessorzeit %.2f x)\n", a / b, c / d, e / f }'
