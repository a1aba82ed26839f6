#!/usr/bin/env bash
# Fails when a C++ source or header of ours is not laid out as .clang-format says; lists the places.
# Build folders are skipped: they hold generated code (moc) that is not ours to format.
# Fix with: find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror
