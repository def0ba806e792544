#!/usr/bin/env bash
# Sets up, builds and starts the program. Until the main window exists this
# shows the bundled sample design with the command-line program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
exec build/bin/zierbogen info examples/beispiel.zbg "$@"
