#!/usr/bin/env bash
# Sets up, builds and runs every test: once as a normal build, once under
# AddressSanitizer + UndefinedBehaviorSanitizer (leaks are failures), the
# tests of the core and the workspace under ThreadSanitizer, then the fuzzers
# for a bounded time. Exits non-zero when any stage fails. The
# sanitizer build runs the tests of the core, the platform, printing and
# export and the window's flows; tests that only look at layout and pictures
# or start programs as processes run once, in the normal build (ZB_ONCE_TESTS
# in CMakeLists.txt). The sanitizer stage runs the output's tests and the
# core's band composition tests a second time with every printed and exported sheet composed in bands
# of 13 rows (ZB_BAND_ROWS), so the same tests hold the band-wise sheets to
# the whole-sheet references. Builds go through ccache where it is installed.
# Each stage's time is printed at the end. Needs no root: only setup.sh's
# package installation asks for sudo.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1
failed=0
passed_total=0
failed_total=0
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

times=()
stage_start=$SECONDS
stage_name="setup"
# Ends the stage that ran so far (its time is kept) and starts the next.
stage() {
  times+=("$(printf '%-45s %4d s' "$stage_name" $((SECONDS - stage_start)))")
  stage_name=$*
  stage_start=$SECONDS
  echo; echo "==== $* ===="
}

bash scripts/setup.sh || exit 1

# Runs ctest and adds its counts to the totals printed at the end.
run_ctest() {
  local rc
  ctest "$@" 2>&1 | tee "$summary"
  rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$summary" | tail -n 1)
  if [ -n "$line" ]; then
    local f n
    f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
    n=$(echo "$line" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
    passed_total=$((passed_total + n - f))
    failed_total=$((failed_total + f))
  fi
  return "$rc"
}

# A compiler cache where there is one: the second and later runs on a machine
# compile only what changed.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

stage "normal build"
# Line tables only (-g1): backtraces keep their lines, builds and links are quicker.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_WERROR=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" "${launcher[@]}" >/dev/null &&
  cmake --build build -j"$jobs" &&
  run_ctest --test-dir build -j"$jobs" --timeout 600 || failed=1

stage "sanitizer build (address, undefined, leaks)"
# Only the test programs (and the programs they start) are built here.
asan_ctest() {
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:abort_on_error=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0 \
  run_ctest "$@"
}
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_WERROR=ON -DZB_SANITIZE=ON \
  -DZB_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" "${launcher[@]}" >/dev/null &&
  cmake --build build-asan -j"$jobs" --target core_tests platform_tests output_tests viewer_tests app_tests &&
  asan_ctest --test-dir build-asan -j"$jobs" --timeout 900 &&
  echo && echo "---- again, every printed and exported sheet in bands of 13 rows ----" &&
  ZB_BAND_ROWS=13 asan_ctest --test-dir build-asan -L bands -j"$jobs" --timeout 900 || failed=1

stage "thread sanitizer build (core and workspace tests)"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_WERROR=ON -DZB_SANITIZE_THREAD=ON \
  -DZB_APPS=OFF -DZB_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" "${launcher[@]}" >/dev/null &&
  cmake --build build-tsan -j"$jobs" --target core_tests &&
  TSAN_OPTIONS=halt_on_error=1 run_ctest --test-dir build-tsan -j"$jobs" --timeout 900 || failed=1

stage "fuzzers (${ZB_FUZZ_SECONDS:-60} s each)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_FUZZ=ON -DZB_BENCH=OFF -DZB_APPS=OFF \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
  -DZB_FUZZ_SECONDS="${ZB_FUZZ_SECONDS:-60}" "${launcher[@]}" >/dev/null &&
  cmake --build build-fuzz -j"$jobs" &&
  LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0 \
  run_ctest --test-dir build-fuzz -j"$jobs" || failed=1

stage "end"
echo
echo "stage times:"
printf '  %s\n' "${times[@]}"
printf '  %-45s %4d s\n' "total" "$SECONDS"
if [ "$failed" -ne 0 ]; then
  echo "SOME TEST STAGE FAILED"
  failed_total=$((failed_total > 0 ? failed_total : 1))
fi
echo "all stages: ${passed_total} passed, ${failed_total} failed"
[ "$failed" -eq 0 ]
