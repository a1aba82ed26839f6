#!/usr/bin/env bash
# Pictures of a button's schedule window in English, French and German, drawn on a real X display
# (Xvfb with the openbox window manager) rather than the offscreen platform of the tests:
#
#   bash scripts/schedule-screenshots.sh [BUILD_DIR] [OUTDIR]
#
# BUILD_DIR is a configured build (default build/dev); the window test is built there if missing.
# The pictures land in OUTDIR (default BUILD_DIR/screenshots/schedule) as frmSchedule-<language>.png.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/dev}"
out="${2:-$build/screenshots/schedule}"
if ! command -v xvfb-run >/dev/null || ! command -v openbox >/dev/null; then
    bash "$root/scripts/install-deps.sh" xvfb xauth openbox
fi
cmake --build "$build" --target schedule_window_tests >/dev/null
mkdir -p "$out"

# Under xvfb-run: a window manager first, so that the window is placed and activated as on a desktop.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    set -euo pipefail
    openbox >/dev/null 2>&1 &
    wm=$!
    trap "kill $wm 2>/dev/null || true; wait 2>/dev/null || true" EXIT
    sleep 0.5
    QT_QPA_PLATFORM=xcb "$1/bin/schedule_window_tests" --gtest_filter="Languages/ScheduleWindowLanguage.*"
' bash "$build"
for language in English French German; do
    cp "$build/screenshots/frmSchedule-$language.png" "$out/"
done
echo "screenshots: $out"
ls "$out"
