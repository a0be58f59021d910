#!/usr/bin/env bash
# Builds Quillary and runs every test, offscreen:
#   1. the normal build (gcc), its tests, an install into a temporary prefix
#      (tools/check-install.sh), and the benchmark at 1,000 records as a smoke run (its
#      figures are printed, never judged: the machine may be loaded);
#   2. a clang build with AddressSanitizer and UndefinedBehaviorSanitizer, its tests, and
#      every fuzz target for a bounded time on a copy of its seed corpus (fuzz/corpus/).
# Any failed test, sanitizer finding, fuzz crash, hang or broken invariant fails the run.
# FUZZ_SECONDS sets the time per fuzz target (default 30); SKIP_SANITIZE=1 runs step 1 only.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc 2>/dev/null || echo 2)
fuzz_seconds=${FUZZ_SECONDS:-30}
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
tools/check-install.sh build
bench_work=$(mktemp -d "${TMPDIR:-/tmp}/quillary-bench.XXXXXX")
build/bench/quillary_bench --records 1000 --report-only --json "$bench_work/report.json" "$bench_work"
rm -rf "$bench_work"

if [ "${SKIP_SANITIZE:-0}" = 1 ]; then
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLARY_SANITIZE=ON -DQUILLARY_FUZZ=ON -DQUILLARY_BENCH=OFF
cmake --build build-asan -j"$jobs"

# Leaks inside Qt's platform plugins and the system libraries are suppressed (see the file);
# a leak of our own code is a failure.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-asan --output-on-failure -j"$jobs"

# Each fuzz target works on a copy of its corpus, so new inputs never land in the tree.
# A crash, a time-out (-timeout, seconds per input) or an invariant's abort ends the target
# with a non-zero status and leaves the input in the work folder, which is then kept.
# Every fuzz/fuzz_*.cpp must have been built: one missing from the list or the build is a
# failure, not a target quietly left out.
for source in fuzz/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  if ! grep -qx "$target" build-asan/fuzz/targets.txt || [ ! -x "build-asan/fuzz/$target" ]; then
    echo "Fuzz target $target ($source) was not built."
    exit 1
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quillary-fuzz.XXXXXX")
failed=()
while read -r target; do
  [ -n "$target" ] || continue
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  if [ -d "fuzz/corpus/$target" ]; then
    cp -r "fuzz/corpus/$target/." "$work/$target/corpus/"
  fi
  echo "Fuzzing $target for ${fuzz_seconds}s"
  if "build-asan/fuzz/$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$work/$target/artifacts/" "$work/$target/corpus" < /dev/null \
       > "$work/$target/log" 2>&1; then
    echo "  $(grep -E '^Done [0-9]+ runs' "$work/$target/log" || echo 'done')"
  else
    echo "  FAILED; the last lines of its log ($work/$target/log):"
    tail -n 40 "$work/$target/log" | sed 's/^/    /'
    failed+=("$target")
  fi
done < build-asan/fuzz/targets.txt

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets failed: ${failed[*]} (inputs kept in $work)"
  exit 1
fi
rm -rf "$work"
echo "All fuzz targets ran ${fuzz_seconds}s without a finding."
