#!/usr/bin/env bash
# Printing end to end: the print tests of printing, of print sessions (which
# must hold where a print system with a printer is present) and of the picture viewer
# against a private CUPS server with a PDF queue, a job whose server goes away
# while it composes, then printing with no print server at all (the A4 PDF
# stand-in).
# Usage: cups-e2e.sh OUTPUT_TESTS VIEWER_TESTS WORK_DIR
set -uo pipefail
tests=$1
viewer_tests=$2
work=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$work"
export ZB_REQUIRE_CUPS=1 QT_QPA_PLATFORM=offscreen ZB_CUPS_ARTIFACTS="$work"
"$here/scripts/cups-test-server.sh" run "$work" sh -c \
  '"$1" --gtest_filter="CupsPrinting.*:PrintSession.*" && "$2" --gtest_filter="CupsPrinting.*" &&
   "$3" "$4" "$5"' sh "$tests" "$viewer_tests" "$here/tests/output/cups-server-gone.sh" \
  "$(dirname "$tests")/zierbogen" "$here/examples/beispiel.zbg" || exit 1
CUPS_SERVER="$work/kein-server.sock" HOME="$work" "$tests" --gtest_filter='NoPrinter.*'
