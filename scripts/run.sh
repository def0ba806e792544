#!/usr/bin/env bash
# Sets up, builds and starts the window program with the sample design; the
# arguments, when given, replace it. Without a display the sample is composed
# by the command-line program into a PNG in the build folder instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target zierbogen-drucker zierbogen

args=("$@")
[ ${#args[@]} -eq 0 ] && args=(examples/beispiel.zbg)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  design="${args[0]}"
  out="build/$(basename "${design%.*}").png"
  echo "Keine grafische Anzeige (weder DISPLAY noch WAYLAND_DISPLAY gesetzt): statt des Fensters wird $design als Bild gezeichnet."
  build/bin/zierbogen render "$design" -o "$out"
  echo "Bild: $out"
  exit 0
fi
exec build/bin/zierbogen-drucker "${args[@]}"
