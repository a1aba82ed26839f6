#!/usr/bin/env bash
# Installs the Debian packages the suite builds and runs with, when any is missing. The fuzz targets
# need clang 16 (std::source_location, which clang 14 lacks) and its own libFuzzer and sanitizer
# runtimes (libclang-rt-16-dev, the package of libclang_rt.fuzzer-x86_64.a for that clang). The layout
# check of the sources uses the distribution's clang-format (14 on Debian 12); the check of names in the
# tracked files needs python3. The programs' icons are SVGs that Qt draws with its SVG icon engine
# (libqt6svg6); the build draws the toolbar command's icon files with it too. qt6-translations-l10n
# holds Qt's own translations, which the file and colour dialogs use in French and German. Further
# packages named on the command line are installed too (the demo's screenshots need xvfb, xdotool and
# imagemagick; the screenshots of the windows on a desktop also openbox and trayer).
set -euo pipefail
packages=(cmake ninja-build g++ ccache pkg-config
          qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6svg6 libgl-dev qt6-translations-l10n
          libsqlite3-dev sqlite3 postgresql libpq-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
          clang-16 libclang-rt-16-dev clang-format python3 "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
