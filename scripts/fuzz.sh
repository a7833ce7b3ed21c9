#!/usr/bin/env bash
# Fuzzes one reader for a given time, then reports what the run did.
#
#   scripts/fuzz.sh NAME SECONDS     e.g. scripts/fuzz.sh settings 600
#   scripts/fuzz.sh --coverage-only NAME
#   scripts/fuzz.sh --list
#
# Builds fuzz/NAME.cpp with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, runs it for SECONDS with one
# worker, and prints the executions and the line coverage of the code the
# harness targets (its "Targets:" line), measured by replaying the corpus
# in a coverage build (build-fuzzcov/). The corpus grows in
# build-fuzz/corpus/NAME (outside git); the harness's seeds, its saved
# reproducers and, for the script readers, ../shared/corpus are read too.
# A failure leaves its input in build-fuzz/artifacts/NAME/: copy it to
# fuzz/regressions/NAME/ once the fault is mended, so every build replays it.
#
# --coverage-only skips the fuzzing: it repeats the figures of the last run
# (from build-fuzz/NAME.log) and measures the line coverage of the corpus
# that run left, without changing the corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--list" ]; then
  for f in fuzz/*.cpp; do
    n=$(basename "$f" .cpp)
    [ "$n" = replay ] || echo "$n"
  done
  exit 0
fi
coverage_only=false
if [ "${1:-}" = "--coverage-only" ]; then
  coverage_only=true
  shift
  set -- "${1:-}" 0
fi
if [ $# -ne 2 ] || [ ! -f "fuzz/$1.cpp" ] || [ "$1" = replay ]; then
  echo "usage: scripts/fuzz.sh NAME SECONDS | --coverage-only NAME   (--list names the harnesses)" >&2
  exit 2
fi
name=$1
seconds=$2

llvm_tool() {
  command -v "$1" 2>/dev/null || ls /usr/lib/llvm-*/bin/"$1" 2>/dev/null | sort -V | tail -1
}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

corpus=build-fuzz/corpus/$name
artifacts=build-fuzz/artifacts/$name
inputs=(fuzz/seeds/"$name")
[ -d fuzz/regressions/"$name" ] && inputs+=(fuzz/regressions/"$name")
max_len=4096
case $name in
  getword|colouring|bindings|scriptreader|execchain|gamedetect|lint)
    max_len=8192
    [ -d ../shared/corpus ] && inputs+=(../shared/corpus) ;;
esac
log=build-fuzz/$name.log

if $coverage_only; then
  if [ ! -d "$corpus" ]; then
    echo "no corpus in $corpus: run scripts/fuzz.sh $name SECONDS first" >&2
    exit 2
  fi
  if [ -f "$log" ]; then
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    seconds=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    echo "$name (last run): ${executions:-?} executions in ${seconds:-?} s, ${edges:-?} edges," \
      "$(find "$corpus" -type f | wc -l) inputs in the corpus"
  fi
else
  cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARKEL_FUZZ=ON -DVARKEL_SANITIZE=address,undefined "${launcher[@]}" >/dev/null
  cmake --build build-fuzz --target "fuzz_$name" -j"$(nproc)" >/dev/null

  mkdir -p "$corpus" "$artifacts"
  status=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=25 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "${inputs[@]}" >"$log" 2>&1 || status=$?
  if [ $status -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz_$name failed (exit $status); the input is in $artifacts/" >&2
    exit $status
  fi

  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  echo "$name: $executions executions in $seconds s, $edges edges, $(find "$corpus" -type f | wc -l) inputs in the corpus"
fi

# Line coverage: the replay program, built with clang's coverage, run over the corpus.
cmake -S . -B build-fuzzcov -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" "${launcher[@]}" >/dev/null
cmake --build build-fuzzcov --target "replay_$name" -j"$(nproc)" >/dev/null
profiles=build-fuzzcov/profiles/$name
rm -rf "$profiles"
mkdir -p "$profiles"
LLVM_PROFILE_FILE="$profiles/%p.profraw" "build-fuzzcov/fuzz/replay_$name" "$corpus" "${inputs[@]}" \
  >/dev/null 2>&1
"$(llvm_tool llvm-profdata)" merge -sparse "$profiles"/*.profraw -o "$profiles/merged.profdata"
read -r -a targets <<<"$(sed -n 's|^// Targets: ||p' "fuzz/$name.cpp")"
# The report names files relative to their common folder: keep the rows of
# the targets and add up their lines.
"$(llvm_tool llvm-cov)" report "build-fuzzcov/fuzz/replay_$name" -instr-profile="$profiles/merged.profdata" |
  awk -v name="$name" -v targets="${targets[*]}" '
    BEGIN { n = split(targets, t, " ") }
    NR == 1 { print; next }
    {
      for (i = 1; i <= n; i++)
        if (length($1) >= length(t[i]) && substr($1, length($1) - length(t[i]) + 1) == t[i]) {
          print; lines += $8; missed += $9
        }
    }
    END {
      if (lines)
        printf "%s: line coverage of the targeted code %d of %d lines (%.1f%%)\n", name, lines - missed, lines,
          100 * (lines - missed) / lines
    }'
