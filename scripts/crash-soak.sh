#!/usr/bin/env bash
# Kills Valdora.exe --run at random moments of an AutoNumber run, KILLS times over CONTACTS contacts,
# each kill followed by a run to completion, and checks the database, the numbers and the leftovers
# after each. The test command runs a short version of the same test.
#   bash scripts/crash-soak.sh [KILLS] [CONTACTS]     (default 200 kills over 3000 contacts)
set -euo pipefail
cd "$(dirname "$0")/.."
kills="${1:-200}"
contacts="${2:-3000}"
bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target run_reliability_tests
export QT_QPA_PLATFORM=offscreen VALDORA_CRASH_KILLS="$kills" VALDORA_CRASH_CONTACTS="$contacts"
exec build/dev/bin/run_reliability_tests --gtest_filter='RunCrashTest.*'
