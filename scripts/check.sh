#!/usr/bin/env bash
# `make check`: the suite as `make test` runs it, then
#   asan      every test program built with ASan + UBSan (any report ends the test) and with line
#             counters, all tests run;
#   tsan      the test programs marked THREADS built with ThreadSanitizer, their tests run;
#   fuzz      every fuzz target built with clang (ASan + UBSan), each run from its seed corpus for
#             a fixed time;
#   coverage  line coverage of the asan run: one table per folder, HTML in build-asan/coverage/.
# Each step has its own build folder and builds only the targets it runs. All steps run even when
# one fails; the exit status says whether every one passed.
#
#   scripts/check.sh [STEP...]     default: test asan tsan fuzz coverage
#
# Environment: JOBS (parallel jobs), MAKE, LAUNCHER_FLAGS (CMake compiler-launcher options, set
# by the Makefile when ccache is present; CCACHE_DISABLE=1 turns ccache off).
set -uo pipefail
cd "$(dirname "$0")/.."

JOBS=${JOBS:-$(nproc)}
MAKE=${MAKE:-make}
read -r -a launcher <<<"${LAUNCHER_FLAGS:-}"

# Folders of the program whose coverage is reported, each in its own table; a folder that does
# not exist yet is left out.
coverage_folders=(device model editor profiles dsp_math sim platform ui app tools)

# The sanitizers end a test at their first report. ThreadSanitizer's suppressions cover only code
# outside this project; each is explained in its file.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan_suppressions.txt}
export QT_QPA_PLATFORM=offscreen

# configure DIR OPTIMISATION [CMAKE_ARGS...]: a Debug build (assertions on) at the given
# optimisation, with line tables only: enough for sanitizer reports, quicker to compile.
configure() {
  local dir=$1 opt=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug \
    "-DCMAKE_C_FLAGS_DEBUG=$opt -g1" "-DCMAKE_CXX_FLAGS_DEBUG=$opt -g1" "$@" >/dev/null
}

step_test() {
  "$MAKE" --no-print-directory test
}

step_asan() {
  # Unoptimised, so that every line counts where it stands.
  configure build-asan -O0 -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
    -DVEXARO_SANITIZE=address -DVEXARO_COVERAGE=ON &&
    # The counters must name their sources by absolute path for gcovr; a ccache base_dir would
    # turn those into paths relative to the build folder.
    CCACHE_BASEDIR= cmake --build build-asan --target vexaro_tests -j "$JOBS" &&
    # Counters of an earlier run would count toward this one.
    find build-asan -name '*.gcda' -delete &&
    ctest --test-dir build-asan --output-on-failure -j "$JOBS" --no-tests=error
}

step_tsan() {
  configure build-tsan -O1 -DVEXARO_SANITIZE=thread &&
    cmake --build build-tsan --target vexaro_thread_tests -j "$JOBS" &&
    ctest --test-dir build-tsan --output-on-failure -j "$JOBS" --no-tests=error -L '^threads$'
}

step_fuzz() {
  configure build-fuzz -O1 -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DVEXARO_FUZZ=ON -DVEXARO_SANITIZE=address &&
    cmake --build build-fuzz --target vexaro_fuzzers -j "$JOBS" &&
    ctest --test-dir build-fuzz --output-on-failure -j "$JOBS" --no-tests=error -L '^fuzz$'
}

step_coverage() {
  local out=build-asan/coverage
  # gcovr takes a relative filter as a path under --root.
  local filters=()
  local folders=()
  for folder in "${coverage_folders[@]}"; do
    if [ -d "$folder" ]; then
      folders+=("$folder")
      filters+=(--filter "$folder/")
    fi
  done
  mkdir -p "$out" &&
    gcovr --root . --object-directory build-asan -j "$JOBS" "${filters[@]}" \
      --json "$out/coverage.json" --html-details "$out/index.html" &&
    for folder in "${folders[@]}"; do
      printf '\n=== coverage of %s/\n' "$folder"
      gcovr --root . --add-tracefile "$out/coverage.json" --filter "$folder/" || return 1
    done &&
    echo && echo "coverage: HTML report in $out/index.html"
}

children_ticks() {
  awk '{print $16 + $17}' "/proc/$$/stat"
}

steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(test asan tsan fuzz coverage)

summary=()
failed=0
for step in "${steps[@]}"; do
  if ! declare -F "step_$step" >/dev/null; then
    echo "check: unknown step '$step' (test, asan, tsan, fuzz, coverage)" >&2
    exit 2
  fi
  echo "=== check: $step"
  start=$SECONDS
  # CPU time of the step's finished processes, from the clock ticks of this shell's children.
  before=$(children_ticks)
  if "step_$step"; then
    result=passed
  else
    result=FAILED
    failed=$((failed + 1))
  fi
  cpu=$((($(children_ticks) - before) / $(getconf CLK_TCK)))
  summary+=("$(printf '%-9s %-7s %6d s wall %7d s cpu' "$step" "$result" $((SECONDS - start)) "$cpu")")
done

echo
echo "=== check: steps"
printf '%s\n' "${summary[@]}"
echo "check: $((${#steps[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
