#!/usr/bin/env bash
# check_desktop.sh PREFIX
# Checks an installed Palisade Brindle (PREFIX is /usr, or a scratch root's
# usr) the way a desktop uses it: the tool runs, the manual pages show, the
# menu entry and the software centre's metadata pass their validators, every
# icon has its size, a saved game has the game's type and icon, xdg-open opens
# it in the game, gio launch of the menu entry starts the game, and its window
# shows the installed icon. Needs an X server and the hicolor theme: run it
# under xvfb-run. Any missing tool fails the check.
set -euo pipefail

prefix=$(cd "$1" && pwd)
scratch=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli man xdg-open xdg-mime mimetype gio xdotool xprop convert; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

# A home, settings and caches of the check's own, never the user's.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export XDG_CACHE_HOME=$scratch/cache XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_DATA_DIRS=$prefix/share:/usr/local/share:/usr/share
export PATH=$prefix/bin:$PATH MANPATH=$prefix/share/man MANWIDTH=80
applications=$prefix/share/applications
game=$scratch/opening.brd

echo "== palisade-cli"
[ "$(command -v palisade-cli)" = "$prefix/bin/palisade-cli" ] || fail "palisade-cli is not the installed one"
[ "$(palisade-cli perft 1)" = "perft 1 44" ] || fail "palisade-cli perft 1 does not count 44 moves"
palisade-cli play --save "$game" 41 43 54 52 >/dev/null
[ -s "$game" ] || fail "palisade-cli play --save wrote no game"

echo "== manual pages"
for page in palisade-cli palisade-brindle; do
    man -P cat "$page" >"$scratch/$page.txt" 2>"$scratch/$page.err" || fail "man $page: $(cat "$scratch/$page.err")"
    grep -q "^NAME" "$scratch/$page.txt" || fail "man $page shows no page"
    grep -q "EXIT STATUS" "$scratch/$page.txt" || fail "man $page has no exit statuses"
    warnings=$(man --warnings=w -E UTF-8 -P cat "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
done
for command in show targets play moves perft divide; do
    grep -q "^       $command" "$scratch/palisade-cli.txt" || fail "man palisade-cli leaves out $command"
done

echo "== validators"
desktop-file-validate "$applications/palisade-brindle.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.palisade_brindle.PalisadeBrindle.metainfo.xml"

echo "== icons"
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8 }'; }
for size in 16 22 24 32 48 64 128 256 512; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/palisade-brindle.png
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done
grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/palisade-brindle.svg" || fail "no scalable icon"
[ "$(sed -n 's/^Icon=//p' "$applications/palisade-brindle.desktop")" = palisade-brindle ] ||
    fail "the menu entry names another icon"

echo "== saved-game type"
[ "$(xdg-mime query filetype "$game")" = application/x-palisade-brindle ] || fail "xdg-mime: $game has another type"
[ "$(xdg-mime query default application/x-palisade-brindle)" = palisade-brindle.desktop ] ||
    fail "xdg-mime: saved games open with another program"
info=$(gio info -a standard::content-type,standard::icon "$game")
grep -q "standard::content-type: application/x-palisade-brindle" <<<"$info" || fail "gio: $info"
grep -q "standard::icon: palisade-brindle" <<<"$info" || fail "gio shows another icon: $info"

# The window whose title matches, waited for up to ten seconds.
window_named() {
    local window=""
    for _ in $(seq 50); do
        window=$(xdotool search --onlyvisible --name "$1" | head -n 1) && [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || fail "no window \"$1\" appeared"
    echo "$window"
}
end_program_of() {
    local pid
    pid=$(xdotool getwindowpid "$1")
    started+=("$pid")
    kill "$pid"
}
# The window's icon of SIZE pixels must be the installed picture of that size
# (up to rounding), so the windows show the icon drawn for each size.
check_window_icon() {
    local window=$1 size=$2
    local png=$prefix/share/icons/hicolor/${size}x${size}/apps/palisade-brindle.png
    xprop -len 100000000 -id "$window" -notype 32c _NET_WM_ICON | tr -d , >"$scratch/window-icon"
    convert "$png" -depth 8 rgba:- | od -An -v -tu1 -w4 >"$scratch/installed-icon"
    awk -v size="$size" '
        NR == FNR { for (i = 3; i <= NF; i++) word[n++] = $i; next }
        { installed[pixels++] = $0 }
        END {
            for (at = 0; at < n; at += 2 + word[at] * word[at + 1]) {
                if (word[at] != size || word[at + 1] != size) continue
                for (k = 0; k < size * size; k++) {
                    v = word[at + 2 + k]
                    split(installed[k], p, " ")
                    a = int(v / 16777216)
                    if (abs(a - p[4]) > 2) exit 1
                    if (a == 0) continue
                    if (abs(int(v / 65536) % 256 - p[1]) > 2 || abs(int(v / 256) % 256 - p[2]) > 2 || abs(v % 256 - p[3]) > 2) exit 1
                }
                exit 0
            }
            exit 1
        }
        function abs(x) { return x < 0 ? -x : x }
    ' "$scratch/window-icon" "$scratch/installed-icon" || fail "the window's ${size}x${size} icon is not the installed one"
}

echo "== xdg-open of a saved game"
xdg-open "$game" &
started+=("$!")
game_room=$(window_named "^Game Room - $game\$")
end_program_of "$game_room"

echo "== gio launch of the menu entry, and the window's icon"
gio launch "$applications/palisade-brindle.desktop"
start_screen=$(window_named "^Palisade Brindle\$")
check_window_icon "$start_screen" 16
check_window_icon "$start_screen" 48
end_program_of "$start_screen"

echo "the installed Palisade Brindle works with the desktop"
