#!/usr/bin/env bash
# Shows the suite on a real desktop (a window manager, openbox, and a notification area, trayer) and
# saves a screenshot of each scene: the bar with its icon beside the contact host with Valdora's command
# on the host's toolbar, the bar started in the notification area, a message box over its window, the
# first start's language question, Keelbrook's report, the run's way back (scope dialog, preview,
# summary, list of runs), the bar in French and German and Qt's own file dialog in German. Each scene also checks what a screenshot cannot
# show at a glance (the bar's frame at the same place after a restart, every window wholly on the
# screen) and says so; a failed check makes the script fail at the end. Run it under Xvfb:
#
#   xvfb-run -a -s "-screen 0 1280x800x24" scripts/screenshots.sh BIN DATABASE OUTDIR
#
# BIN holds the built programs; DATABASE is a contact database; the per-user store and the settings
# folder are the caller's (VALDORA_USER_SETTINGS, VALDORA_HOST_SERVER as the demo sets them). Windows
# are driven as a user drives them: the window is activated, then keys go through XTEST
# (`xdotool key`), since keys sent to a window id are synthetic and many programs ignore them.
# Needs xdotool, imagemagick, openbox, trayer and x11-utils (scripts/install-deps.sh xvfb xdotool
# imagemagick openbox trayer x11-utils).
set -euo pipefail

bin="$1"
db="$2"
out="$3"
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb
store="${VALDORA_USER_SETTINGS:?the per-user store folder}"
valdora_ini="$store/Valdora.ini"

pids=()
host_pid=""
bar_pid=""
failures=0
cleanup() {
    [[ -n "$bar_pid" ]] && kill "$bar_pid" 2>/dev/null || true
    if [[ -n "$host_pid" ]]; then
        "$bin/ContactHost.exe" quit >/dev/null 2>&1 || true
        sleep 0.5
        kill "$host_pid" 2>/dev/null || true
    fi
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

say() { printf '  %s\n' "$*"; }
check() {
    local what="$1"
    shift
    if "$@"; then say "ok: $what"; else say "FAILED: $what"; failures=$((failures + 1)); fi
}
# Waits up to five seconds for a shown window whose title matches; prints its id.
wait_window() {
    local pattern="$1" id=""
    for _ in $(seq 50); do
        id="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -n 1)" && [[ -n "$id" ]] && break
        sleep 0.1
    done
    [[ -n "$id" ]] && echo "$id"
}
# The window's frame (decorations included) as X Y WIDTH HEIGHT.
frame_of() {
    local id="$1" x y w h
    read -r x y w h < <(xwininfo -id "$id" 2>/dev/null |
        awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2}
             END{print x, y, w, h}')
    local left top right bottom
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null |
        sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1 \2 \3 \4/p')
    echo "$((x - ${left:-0})) $((y - ${top:-0})) $((w + ${left:-0} + ${right:-0})) $((h + ${top:-0} + ${bottom:-0}))"
}
on_screen() {
    local x y w h sw sh
    read -r x y w h <<<"$(frame_of "$1")"
    read -r sw sh < <(xdpyinfo 2>/dev/null | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')
    ((x >= 0 && y >= 0 && x + w <= ${sw:-1280} && y + h <= ${sh:-800}))
}
activate() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true; }
shoot() { import -window root "$out/$1.png"; }
setting() { # setting KEY VALUE: one key of section "Settings" of Valdora's per-user store
    local key="$1" value="$2"
    sed -i "/^$key=/d" "$valdora_ini"
    sed -i "s/^\[Settings\]\r\?$/[Settings]\r\n$key=$value\r/" "$valdora_ini"
}

start_host() {
    "$bin/ContactHost.exe" "$db" >/dev/null 2>&1 &
    host_pid=$!
    for _ in $(seq 100); do
        "$bin/ContactHost.exe" current >/dev/null 2>&1 && break
        sleep 0.1
    done
}
stop_host() {
    "$bin/ContactHost.exe" quit >/dev/null 2>&1 || true
    wait "$host_pid" 2>/dev/null || true
    host_pid=""
}
start_bar() {
    "$bin/Valdora.exe" >/dev/null 2>&1 &
    bar_pid=$!
}
stop_bar() { # closes the bar through its close box, as a user does, and waits for its end
    local id
    id="$(wait_window '^Valdora$')" || true
    if [[ -n "$id" ]]; then
        activate "$id"
        xdotool key alt+F4
    fi
    for _ in $(seq 50); do kill -0 "$bar_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$bar_pid" 2>/dev/null || true
    wait "$bar_pid" 2>/dev/null || true
    bar_pid=""
}

echo "=== the desktop: openbox and a notification area"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
trayer --edge bottom --align right --widthtype pixel --width 120 --heighttype pixel --height 24 \
    --transparent false >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

# Valdora's command on the host's Contacts toolbar, as the integration window defines it.
mkdir -p "$store/ContactHost"
cat >"$store/ContactHost/auxcommands.json" <<EOF
{"commands": [{"name": "Valdora", "flags": 1, "texts": ["$bin/Valdora.exe", "$bin", "Valdora",
  "Click to launch Valdora", "$bin/Valdora.ico", "$bin/Valdora32.ico"]}],
 "toolbar": [["Valdora"], [], [], [], [], []], "toolsMenu": [["Valdora"], [], [], [], [], []]}
EOF

echo "=== scene: the bar with its icon beside the host"
start_host
# The bar's stored place (its frame's corner, in twips: 15 a pixel on this 96 dpi screen) right of the
# host's window, wherever the window manager put that.
if host_window="$(wait_window 'ContactHost')"; then
    read -r hx hy hw _ <<<"$(frame_of "$host_window")"
    setting Top $((hy * 15))
    setting Left $(((hx + hw + 8) * 15))
fi
start_bar
bar="$(wait_window '^Valdora$')"
sleep 1
shoot screen
import -window "$bar" "$out/bar.png"
if [[ -n "${host_window:-}" ]]; then
    import -window "$host_window" "$out/host.png"
    check "the host's window is wholly on the screen" on_screen "$host_window"
fi
check "the bar is wholly on the screen" on_screen "$bar"
read -r bx by bw bh <<<"$(frame_of "$bar")"
if [[ -n "${host_window:-}" ]]; then
    # The README's picture: the host's window and the bar, frames included, without the empty desktop.
    read -r hx hy hw hh <<<"$(frame_of "$host_window")"
    left=$((hx < bx ? hx : bx)) top=$((hy < by ? hy : by))
    right=$((hx + hw > bx + bw ? hx + hw : bx + bw)) bottom=$((hy + hh > by + bh ? hy + hh : by + bh))
    convert "$out/screen.png" -crop $((right - left))x$((bottom - top))+$left+$top +repage \
        "$out/bar-beside-host.png"
fi

echo "=== scene: a message box over its window (the question of a button's deletion)"
activate "$bar"
read -r fx fy fw _ <<<"$(frame_of "$bar")"
xdotool mousemove $((fx + fw / 2 - 10)) $((fy + 34)) click 3
sleep 0.5
xdotool key d # the menu's "&Delete Button"
box=""
for _ in $(seq 50); do
    box="$(xdotool search --onlyvisible --name '^Valdora$' 2>/dev/null | grep -v "^$bar$" | tail -n 1)" || true
    [[ -n "$box" ]] && break
    sleep 0.1
done
if [[ -n "$box" ]]; then
    sleep 0.5
    shoot message-over-bar
    check "the message box is wholly on the screen" on_screen "$box"
    read -r mx _ mw _ <<<"$(frame_of "$box")"
    check "the message box opens over the bar" test $((mx <= fx + fw && mx + mw >= fx)) -eq 1
    activate "$box"
    xdotool key Escape # No: the button stays
else
    check "the button's menu asks before a deletion" false
fi

echo "=== scene: the bar comes back where it was left"
stop_bar
start_bar
bar="$(wait_window '^Valdora$')"
sleep 1
read -r rx ry _ <<<"$(frame_of "$bar")"
check "the bar's frame is at $bx,$by after a restart (now $rx,$ry)" test "$bx,$by" = "$rx,$ry"
stop_bar

echo "=== scene: started in the notification area"
setting startBar 1
start_bar
sleep 2
shoot tray
check "the bar stays hidden at the start" test -z "$(xdotool search --onlyvisible --name '^Valdora$' 2>/dev/null)"
read -r sw sh < <(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')
convert "$out/tray.png" -crop 160x40+$((sw - 160))+$((sh - 40)) +repage "$out/tray-icon.png"
# The icon is the last one in the area: a click on it shows the bar at its place.
xdotool mousemove $((sw - 12)) $((sh - 12)) click 1
if bar="$(wait_window '^Valdora$')"; then
    sleep 0.5
    shoot tray-shown
    read -r tx ty _ <<<"$(frame_of "$bar")"
    check "a click on the icon shows the bar at $bx,$by (now $tx,$ty)" test "$bx,$by" = "$tx,$ty"
else
    check "a click on the icon shows the bar" false
fi
stop_bar
setting startBar 0

echo "=== scene: the first start's language question, not hidden by the splash"
setting Installed 0
start_bar
# At the first start the question bears the program's title; the bar is not up yet.
if question="$(wait_window '^Valdora$')"; then
    sleep 0.5
    shoot first-start
    check "the language question is wholly on the screen" on_screen "$question"
    activate "$question"
    xdotool key Return # OK: the language shown
    bar="$(wait_window '^Valdora$')" && sleep 0.5
else
    check "the first start asks for the language" false
fi
stop_bar
setting Installed 1

echo "=== scene: Keelbrook's report (the host closed first)"
stop_host
# Two field triggers to list: "User 1" runs "With tax" (~102) on exit; "User 2" runs ~555, a button
# that has no file (deleted since), which the report shows as incorrect and ValdoraAuto names below.
"$bin/ContactHost.exe" trigger "$db" "User 1" exit "$bin/ValdoraAuto.exe ~102" >/dev/null
"$bin/ContactHost.exe" trigger "$db" "User 2" exit "$bin/ValdoraAuto.exe ~555" >/dev/null
"$bin/Keelbrook.exe" >/dev/null 2>&1 &
keelbrook_pid=$!
pids+=("$keelbrook_pid")
if selection="$(wait_window '^Keelbrook for ContactHost$')"; then
    sleep 0.5
    activate "$selection"
    xdotool key ctrl+a
    xdotool type --delay 5 "$db"
    xdotool key Return # OK through the keyboard
    if report="$(wait_window '^Trigger Report$')"; then
        sleep 0.5
        shoot keelbrook-report
        check "Keelbrook's report is wholly on the screen" on_screen "$report"
        activate "$report"
        xdotool key alt+F4
    else
        check "Return in the selection window opens the report" false
    fi
fi
kill "$keelbrook_pid" 2>/dev/null || true

# ---------------------------------------------------------------------------------------------------
# Further scenes go below: each starts the host and the bar it needs with start_host and start_bar,
# ends them with stop_bar and stop_host, and saves its pictures with `shoot NAME`.
# ---------------------------------------------------------------------------------------------------

# ==== Scenes of a run's way back and of the languages: the scope dialog, the preview, the progress
# window's summary, the list of runs, and the bar and a Qt file dialog in French and German. Driven as
# a user would: the window is activated, then keys and clicks go through XTEST.
# Starts its own host and bar (the window manager above activates the windows) and ends them again.
scene_window() { # the newest window whose title matches: its id
    xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | tail -n 1
}
wait_scene_window() { # waits up to 10 s for a visible window of that title; its id
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
activate_scene() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    sleep 0.3
}
shoot_window() { # window id, file name
    sleep 0.4
    import -window "$1" "$out/$2.png"
    echo "  $2.png"
}
shoot_progress_summary() { # file name: the progress window other than the bar, once it shows
    local progress=""
    for _ in $(seq 100); do
        progress="$(xdotool search --onlyvisible --name '^Valdora$' | grep -v "^$bar\$" | tail -n 1)" && [[ -n "$progress" ]] && break
        sleep 0.1
    done
    if [[ -n "$progress" ]]; then
        sleep 1.5
        shoot_window "$progress" "$1"
    fi
}
# The fill button of a slot of the bar: the slots stand 23 pixels apart at 96 dots per inch.
click_slot() { # bar window, slot, mouse button
    activate_scene "$1"
    xdotool mousemove --window "$1" 37 $((16 + 23 * $2)) click "${3:-1}"
}
bar_id() { xdotool search --onlyvisible --name '^Valdora$' | head -n 1; }

set_language() { # 0 English, 1 French, 2 German, for the programs started next
    sed -i "s/^Language=.*/Language=$1\r/" "$valdora_ini"
}
restart_bar() {
    [[ -n "$bar_pid" ]] && kill "$bar_pid" 2>/dev/null && wait "$bar_pid" 2>/dev/null || true
    "$bin/Valdora.exe" >/dev/null 2>&1 &
    bar_pid=$!
    wait_scene_window '^Valdora$' >/dev/null
    sleep 1
}

echo "=== scenes of the run's way back"
start_host
restart_bar
bar="$(bar_id)"
# "With tax" (slot 2): the scope dialog as it opens the first time, nothing chosen, OK disabled.
click_slot "$bar" 2
dialog="$(wait_scene_window '^Apply to$')"
shoot_window "$dialog" scope-dialog-first
# All contacts chosen: the journal's note instead of the warning.
activate_scene "$dialog"
xdotool key Down Down space
shoot_window "$dialog" scope-dialog
# Its preview over all contacts.
xdotool key alt+p
preview="$(wait_scene_window '^Preview: ')"
sleep 2
shoot_window "$preview" preview
activate_scene "$preview"
xdotool key Escape
wait_gone '^Preview: '
# OK runs it; the progress window ends with the run's summary.
activate_scene "$dialog"
xdotool key Return
shoot_progress_summary progress-summary
sleep 6
# The second run of the same button starts with all contacts chosen.
click_slot "$bar" 2
dialog="$(wait_scene_window '^Apply to$')"
shoot_window "$dialog" scope-dialog-again
activate_scene "$dialog"
xdotool key Escape
wait_gone '^Apply to$'
# The button menu's "Undo a run...": the list of the journal's runs, this button's newest chosen.
click_slot "$bar" 2 3
sleep 0.5
xdotool key u
runs="$(wait_scene_window '^Runs of the journal$')"
shoot_window "$runs" undo-list
activate_scene "$runs"
xdotool key Return
sleep 1
import -window root "$out/undo-question.png"
xdotool key Return
sleep 2
import -window root "$out/undo-report.png"
xdotool key Return

echo "=== scene: ValdoraAuto started by the trigger of \"User 2\", whose button is gone"
"$bin/ValdoraAuto.exe" "~555" >/dev/null 2>&1 &
auto_pid=$!
pids+=("$auto_pid")
if missing="$(wait_scene_window '^Valdora Auto$')"; then
    shoot_window "$missing" missing-button
    import -window root "$out/missing-button-screen.png"
    check "ValdoraAuto's message is wholly on the screen" on_screen "$missing"
    activate_scene "$missing"
    xdotool key Return
fi
for _ in $(seq 50); do kill -0 "$auto_pid" 2>/dev/null || break; sleep 0.1; done
check "ValdoraAuto ends after its message" test -z "$(kill -0 "$auto_pid" 2>/dev/null && echo running)"

echo "=== the bar, the scope dialog, the preview and the list of runs in French and German"
# language number, name, the scope dialog's title, the preview's key and title, the menu's key for the
# list of runs and its title
for language in "1:French:Appliquer:p:^Aper:n:du journal$" "2:German:Anwenden:v:^Vorschau:r:im Protokoll$"; do
    IFS=: read -r number name title preview_key preview_title runs_key runs_title <<<"$language"
    set_language "$number"
    restart_bar
    bar="$(bar_id)"
    shoot_window "$bar" "bar-$name"
    click_slot "$bar" 2
    dialog="$(wait_scene_window "^$title")"
    activate_scene "$dialog"
    xdotool key Down Down space
    shoot_window "$dialog" "scope-dialog-$name"
    xdotool key "alt+$preview_key"
    if preview="$(wait_scene_window "$preview_title")"; then
        sleep 2
        shoot_window "$preview" "preview-$name"
        activate_scene "$preview"
        xdotool key Escape
        wait_gone "$preview_title" || true
    else
        check "the scope dialog's preview opens in $name" false
    fi
    # OK runs it: the progress window's summary in that language, and a run for the list to offer.
    activate_scene "$dialog"
    xdotool key Return
    shoot_progress_summary "progress-summary-$name"
    wait_gone "^$title" || true
    sleep 6
    click_slot "$bar" 2 3
    sleep 0.5
    import -window root "$out/button-menu-$name.png"
    xdotool key "$runs_key"
    if runs="$(wait_scene_window "$runs_title")"; then
        shoot_window "$runs" "undo-list-$name"
        activate_scene "$runs"
        xdotool key Escape
        wait_gone "$runs_title" || true
    else
        check "the button menu opens the list of runs in $name" false
    fi
done
# Qt's own file dialog in German: the editor's "An anderem Ort speichern..." of the AutoNumber button
# (slot 1) opens it through the platform seam. Its title and buttons are Qt's texts, in German only
# when the bar loaded Qt's translations for the chosen language.
bar="$(bar_id)"
activate_scene "$bar"
xdotool mousemove --window "$bar" 82 $((16 + 23 * 1)) click 1
if editor="$(wait_scene_window '^Einstellungen$')"; then
    sleep 1
    import -window root "$out/editor-German.png"
    echo "  editor-German.png"
    activate_scene "$editor"
    # The button stands at the end of the AutoNumber page, under the preview of the number.
    xdotool mousemove --window "$editor" 418 591 click 1
    if files="$(wait_scene_window '^(Speichern unter|Save As)$')"; then
        sleep 1
        import -window root "$out/file-dialog-German.png"
        echo "  file-dialog-German.png"
        check "Qt's file dialog is in German (\"$(xdotool getwindowname "$files")\")" \
            test "$(xdotool getwindowname "$files")" = "Speichern unter"
        check "Qt's file dialog is wholly on the screen" on_screen "$files"
        read -r ex _ ew _ <<<"$(frame_of "$editor")"
        read -r dx _ dw _ <<<"$(frame_of "$files")"
        check "Qt's file dialog opens over the editor" test $((dx <= ex + ew && dx + dw >= ex)) -eq 1
        activate_scene "$files"
        xdotool key Escape # Abbrechen: no file chosen
        wait_gone '^(Speichern unter|Save As)$' || true
    else
        import -window root "$out/file-dialog-German.png"
        check "the editor's \"An anderem Ort speichern...\" opens Qt's file dialog" false
    fi
    activate_scene "$editor"
    xdotool key Escape # Abbrechen: the editor closes without a save
    wait_gone '^Einstellungen$' || true
else
    check "the bar's edit button opens the editor" false
fi
set_language 0
stop_bar
stop_host

echo "screenshots: $out"
ls "$out"
if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
