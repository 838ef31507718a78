# SPDX-License-Identifier: GPL-3.0-or-later
# Licensed under the GNU General Public License, version 3 or later.
# Sourced by the scripts that start windows: a virtual X display of their own.

# Starts Xvfb at a display away from the low numbers that desktops and other tests take, sets
# `xvfb` to its process (the caller ends it) and exports DISPLAY. Xvfb writes its number to
# `folder/display` once it is ready.
#   start_own_display SCREEN FOLDER     SCREEN like 1024x768x24
start_own_display() {
    local screen=$1 folder=$2 display
    for display in $(shuf -i 200-899 -n 20); do
        [ -e "/tmp/.X$display-lock" ] && continue
        Xvfb ":$display" -displayfd 4 -screen 0 "$screen" -nolisten tcp -noreset 4>"$folder/display" 2>/dev/null &
        xvfb=$!
        for _ in $(seq 100); do [ -s "$folder/display" ] || ! kill -0 "$xvfb" 2>/dev/null && break; sleep 0.1; done
        [ -s "$folder/display" ] && break
        xvfb=
    done
    [ -n "$xvfb" ] || { echo "Xvfb startet nicht" >&2; exit 1; }
    export DISPLAY=:$(cat "$folder/display")
}
