#!/usr/bin/env bash
# Installs what is missing, checks the layout of the sources and the names in the tracked files,
# builds, and runs every test: first the developer build, then the same tests under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the Debian package installed, used and removed by
# scripts/package-test.sh, then 15 seconds of each fuzz target. Both builds treat warnings as errors
# (VALDORA_WERROR in the presets).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
echo "=== clang-format"
bash scripts/check-format.sh
# Names of other products must not come back into any tracked file: the suite runs on its own host.
# The check lives beside the checkout (CI and every developer's machine have it); a clone elsewhere
# goes on without it.
echo "=== names"
if [ -f ../shared/tools/check-names.py ]; then
  python3 ../shared/tools/check-names.py
else
  echo "../shared/tools/check-names.py not found: the check of names is skipped"
fi
export QT_QPA_PLATFORM=offscreen
for preset in dev asan; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
  echo "=== $preset: tests"
  ctest --preset "$preset"
done
# The suite as a user gets it: the Debian package installed, run by a user who cannot write in the
# program folder, and removed again (a few minutes; the build is served by the compiler cache).
echo "=== package: build, install, run as another user, remove"
bash scripts/package-test.sh
# A short fuzz run of every target, its seeds replayed first and then one fixed seed, so that a tree
# gives the same result every time: a crash, a sanitizer report or a broken property fails it.
bash scripts/fuzz.sh --fixed 15
