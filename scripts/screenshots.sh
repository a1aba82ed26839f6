#!/usr/bin/env bash
# Starts the contact host with its window and the Valdora bar beside it on a real X display and saves
# screenshots of the screen, of the host window and of the bar. Run it under Xvfb:
#
#   xvfb-run -a -s "-screen 0 1280x800x24" scripts/screenshots.sh BIN DATABASE OUTDIR
#
# BIN holds the built programs; DATABASE is a contact database; the per-user store and the settings
# folder are the caller's (VALDORA_USER_SETTINGS, VALDORA_HOST_SERVER as the demo sets them).
set -euo pipefail

bin="$1"
db="$2"
out="$3"
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb

host_pid=""
bar_pid=""
cleanup() {
    [[ -n "$bar_pid" ]] && kill "$bar_pid" 2>/dev/null || true
    if [[ -n "$host_pid" ]]; then
        "$bin/ContactHost.exe" quit >/dev/null 2>&1 || true
        sleep 0.5
        kill "$host_pid" 2>/dev/null || true
    fi
    wait 2>/dev/null || true
}
trap cleanup EXIT

"$bin/ContactHost.exe" "$db" >/dev/null 2>&1 &
host_pid=$!
for _ in $(seq 100); do
    "$bin/ContactHost.exe" current >/dev/null 2>&1 && break
    sleep 0.1
done

"$bin/Valdora.exe" >/dev/null 2>&1 &
bar_pid=$!
# The bar is up once xdotool finds its window by its title.
for _ in $(seq 100); do
    xdotool search --name '^Valdora$' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 1

import -window root "$out/screen.png"
if bar_window="$(xdotool search --name '^Valdora$' | head -n 1)" && [[ -n "$bar_window" ]]; then
    import -window "$bar_window" "$out/bar.png"
fi
if host_window="$(xdotool search --name 'Demo' | head -n 1)" && [[ -n "$host_window" ]]; then
    import -window "$host_window" "$out/host.png"
fi
echo "screenshots: $out"
ls "$out"

# ==== Scenes of a run's way back and of the languages: the scope dialog, the preview, the progress
# window's summary, the list of runs, and the bar and a Qt file dialog in French and German. Driven as
# a user would: the window is activated, then keys and clicks go through XTEST.
# Needs a window manager (activation) and the bar and host started above.
scene_window() { # the newest window whose title matches: its id
    xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | tail -n 1
}
wait_window() { # waits up to 10 s for a visible window of that title; its id
    local id=""
    for _ in $(seq 100); do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1)" && [[ -n "$id" ]] && break
        sleep 0.1
    done
    [[ -n "$id" ]] || { echo "no window \"$1\" within 10 s" >&2; return 1; }
    echo "$id"
}
wait_gone() { # waits up to 30 s until no visible window has that title
    for _ in $(seq 300); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    echo "window \"$1\" still open after 30 s" >&2
    return 1
}
activate() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    sleep 0.3
}
shoot() { # window id, file name
    sleep 0.4
    import -window "$1" "$out/$2.png"
    echo "  $2.png"
}
# The fill button of a slot of the bar: the slots stand 23 pixels apart at 96 dots per inch.
click_slot() { # bar window, slot, mouse button
    activate "$1"
    xdotool mousemove --window "$1" 37 $((16 + 23 * $2)) click "${3:-1}"
}
bar_id() { xdotool search --onlyvisible --name '^Valdora$' | head -n 1; }

store="${VALDORA_USER_SETTINGS:-$HOME/.config/Valdora}/Valdora.ini"
set_language() { # 0 English, 1 French, 2 German, for the programs started next
    sed -i "s/^Language=.*/Language=$1\r/" "$store"
}
restart_bar() {
    [[ -n "$bar_pid" ]] && kill "$bar_pid" 2>/dev/null && wait "$bar_pid" 2>/dev/null || true
    "$bin/Valdora.exe" >/dev/null 2>&1 &
    bar_pid=$!
    wait_window '^Valdora$' >/dev/null
    sleep 1
}

echo "=== scenes of the run's way back"
bar="$(bar_id)"
# "With tax" (slot 2): the scope dialog as it opens the first time, nothing chosen, OK disabled.
click_slot "$bar" 2
dialog="$(wait_window '^Apply to$')"
shoot "$dialog" scope-dialog-first
# All contacts chosen: the journal's note instead of the warning.
activate "$dialog"
xdotool key Down Down space
shoot "$dialog" scope-dialog
# Its preview over all contacts.
xdotool key alt+p
preview="$(wait_window '^Preview: ')"
sleep 2
shoot "$preview" preview
activate "$preview"
xdotool key Escape
wait_gone '^Preview: '
# OK runs it; the progress window ends with the run's summary.
activate "$dialog"
xdotool key Return
progress=""
for _ in $(seq 100); do
    progress="$(xdotool search --onlyvisible --name '^Valdora$' | grep -v "^$bar\$" | tail -n 1)" && [[ -n "$progress" ]] && break
    sleep 0.1
done
if [[ -n "$progress" ]]; then
    sleep 1.5
    shoot "$progress" progress-summary
fi
sleep 6
# The second run of the same button starts with all contacts chosen.
click_slot "$bar" 2
dialog="$(wait_window '^Apply to$')"
shoot "$dialog" scope-dialog-again
activate "$dialog"
xdotool key Escape
wait_gone '^Apply to$'
# The button menu's "Undo a run...": the list of the journal's runs, this button's newest chosen.
click_slot "$bar" 2 3
sleep 0.5
xdotool key u
runs="$(wait_window '^Runs of the journal$')"
shoot "$runs" undo-list
activate "$runs"
xdotool key Return
sleep 1
import -window root "$out/undo-question.png"
xdotool key Return
sleep 2
import -window root "$out/undo-report.png"
xdotool key Return

echo "=== the bar in French and German"
for language in 1:French:Appliquer 2:German:Anwenden; do
    IFS=: read -r number name title <<<"$language"
    set_language "$number"
    restart_bar
    bar="$(bar_id)"
    shoot "$bar" "bar-$name"
    click_slot "$bar" 2
    dialog="$(wait_window "^$title")"
    activate "$dialog"
    xdotool key Down Down space
    shoot "$dialog" "scope-dialog-$name"
    xdotool key Escape
    wait_gone "^$title"
done
# Qt's own file dialog in German: the editor's "An anderem Ort speichern..." of the AutoNumber button.
bar="$(bar_id)"
activate "$bar"
xdotool mousemove --window "$bar" 82 $((16 + 23 * 1)) click 1
editor="$(wait_window 'Valdora')"
sleep 1
import -window root "$out/editor-German.png"
set_language 0
echo "scenes: $out"
