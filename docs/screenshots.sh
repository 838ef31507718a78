#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Licensed under the GNU General Public License, version 3 or later.
# Takes the screenshots in docs/ as a user sees the windows: velvix installed into a scratch folder
# and started on a virtual X display by a user "anna" whose home holds a film in "Filme" and its
# frames beside it. Her home lies on a memory file system seen only by this script (a mount
# namespace, so it runs as root). Needs xvfb, xdotool, imagemagick and ffmpeg.
#   docs/screenshots.sh [BUILD_FOLDER]    default build/default (configured)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/own_display.sh
build=${1:-build/default}
for tool in Xvfb xdotool import ffmpeg unshare; do
    command -v "$tool" >/dev/null || { echo "$tool fehlt: apt-get install xvfb xdotool imagemagick ffmpeg" >&2; exit 1; }
done

if [ "${1:-}" != --inside ]; then
    cmake --build "$build" --target velvix velvix-frames compressed_docs >/dev/null
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    cmake --install "$build" --prefix "$scratch/usr" >/dev/null
    unshare --mount "$0" --inside "$scratch" "$PWD/docs"
    exit
fi

scratch=$2 docs=$3
mount -t tmpfs tmpfs /home
export HOME=/home/anna
films=$HOME/Filme
mkdir -p "$films"
font=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
ffmpeg -v error -f lavfi -i "color=white:size=640x180:duration=3:rate=25" \
    -vf "drawtext=fontfile=$font:text='Velvix PC-1600':fontsize=110:x=w-t*420:y=(h-text_h)/2" "$films/Zug.mp4"
"$scratch/usr/bin/velvix-frames" "$films/Zug.mp4" "$films/Zug" >/dev/null
# The installed program opens at the folder in which frames were last opened.
mkdir -p "$HOME/.config/Velvix"
printf '[Ordner]\nZuletzt=%s\n' "$films/Zug" >"$HOME/.config/Velvix/Velvix.conf"

xvfb=
velvix=
finish() {
    [ -z "$velvix" ] || kill "$velvix" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb"
}
trap finish EXIT
start_own_display 1280x1024x24 "$scratch"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$scratch
"$scratch/usr/bin/velvix" 2>/dev/null &
velvix=$!

visible() { xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null || true; }
window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1 ||
        { echo "Das Fenster \"$1\" erscheint nicht; offen sind:" >&2; visible >&2; return 1; }
}
gone() {
    for _ in $(seq 60); do
        xdotool search --onlyvisible --name "$1" >/dev/null || return 0
        sleep 0.5
    done
    echo "Das Fenster \"$1\" schließt sich nicht." >&2
    return 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
shoot() {
    sleep 1 # the window has drawn itself
    import -window "$1" "$docs/$2"
    echo "$docs/$2"
}

main=$(window '^Velvix - ')
# Keys go to the window under the pointer unless one has the focus, as no window manager runs.
xdotool windowfocus --sync "$main"
sleep 1
# A run as the user makes it: the name typed, Enter, each box answered with its default button.
click "$main" 440 219
xdotool type --delay 50 ZUG
xdotool key Return
for _ in $(seq 120); do
    box=$(xdotool search --onlyvisible --name '^(Kompression|Warnung|Fertig)$' 2>/dev/null | head -n 1) || true
    if [ -n "$box" ]; then
        # A box may close between the search and the key: then look again.
        title=$(xdotool getwindowname "$box" 2>/dev/null) && xdotool key --window "$box" Return 2>/dev/null || continue
        [ "$title" = Fertig ] && gone '^Fertig$' && break
    fi
    sleep 0.5
done
shoot "$main" velvix-window.png

# Vorschau; a click while the window still settles after the box may go nowhere: then again.
preview=
for _ in 1 2 3; do
    click "$main" 276 460
    preview=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vorschau - ' | head -n 1) && break
done
[ -n "$preview" ] || window '^Vorschau - ' >/dev/null
xdotool key --window "$preview" space
sleep 1.2
xdotool key --window "$preview" space
shoot "$preview" velvix-preview.png
click "$preview" 644 241 # Schließen
gone '^Vorschau - '

click "$main" 112 460 # Film…
choose=$(window '^Film wählen$')
sleep 1
xdotool windowfocus --sync "$choose"
xdotool type --delay 30 "$films/Zug.mp4"
# The first Enter may only take the completion that the dialog offers.
for _ in 1 2 3; do
    xdotool search --onlyvisible --name '^Film wählen$' >/dev/null || break
    xdotool key Return
    sleep 1
done
film=$(window '^Film umwandeln$')
sleep 3 # the first picture of the film
shoot "$film" velvix-film.png
