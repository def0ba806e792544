#!/usr/bin/env bash
# Makes the README's pictures of the program anew in docs/screenshots: the
# real windows on a virtual X server, photographed by the app tests.
#   bash scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target app_tests textures
ZB_UPDATE_SCREENSHOTS=1 QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bin/app_tests" --gtest_filter='ReadmeScreenshots.ShowTheProgramAsItIs'
echo "Bilder in docs/screenshots:"
ls -l docs/screenshots
