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
