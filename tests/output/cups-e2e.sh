#!/usr/bin/env bash
# Printing end to end: the print tests against a private CUPS server with a
# PDF queue, then the same program with no print server at all (the A4 PDF
# stand-in). Usage: cups-e2e.sh OUTPUT_TESTS WORK_DIR
set -uo pipefail
tests=$1
work=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$work"
export ZB_REQUIRE_CUPS=1 QT_QPA_PLATFORM=offscreen ZB_CUPS_ARTIFACTS="$work"
"$here/scripts/cups-test-server.sh" run "$work" "$tests" --gtest_filter='CupsPrinting.*' || exit 1
CUPS_SERVER="$work/kein-server.sock" HOME="$work" "$tests" --gtest_filter='NoPrinter.*'
