#!/usr/bin/env bash
# make fuzz: builds the libFuzzer targets apart from the main build (clang, address and
# undefined-behaviour sanitizers) and runs each for a set time on a corpus seeded from
# fuzz/seeds, the sample logs (also cut into short pieces, in BUILD/seeds-TARGET) and
# fuzz/regressions. The corpus grows in BUILD/corpus-TARGET (never in git). Per target it
# prints the executions, executions per second, coverage (cov, ft) and corpus size, and the
# pace on the corpus's median input. An input that fails is kept
# in BUILD/artifacts and, minimised, in fuzz/regressions/TARGET, which `make test` replays.
#   scripts/fuzz.sh BUILD_DIR SECONDS_PER_TARGET [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-fuzz}
seconds=${2:-60}
shift $(($# > 2 ? 2 : $#))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(load ais settings)
cxx=${FUZZ_CXX:-$(command -v clang++-14 || command -v clang++ || true)}
if [ -z "$cxx" ]; then
  echo "fuzz: clang++ not found (make deps installs clang-14)" >&2
  exit 1
fi
gen=""
command -v ninja >/dev/null 2>&1 && gen="-G Ninja"

cmake -S fuzz -B "$build" $gen -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j "${JOBS:-2}"

# The median-sized input of a corpus folder, run this many times to time it.
median_runs=500

# The longest input per target, and the size of the pieces the sample logs are cut into. Most
# paths take a few dozen lines; a longer load still reaches the loop counts that libFuzzer
# tells apart (up to 128 and more), which the short pieces cannot.
max_len() {
  case "$1" in
    load) echo 8192 ;;
    *) echo 2048 ;;
  esac
}
piece_len() {
  case "$1" in
    load) echo 4096 ;;
    *) echo 2048 ;;
  esac
}

# Splits the sample logs at line ends into pieces of at most $2 bytes in folder $1, so that
# the whole of each log is among the seeds, not only its start (libFuzzer cuts a longer seed
# at the longest input, and the log itself stays a seed too).
split_samples() {
  rm -rf "$1"
  mkdir -p "$1"
  for log in data/samples/*.log; do
    LC_ALL=C awk -v out="$1/$(basename "$log" .log)" -v max="$2" '
      { line = $0 "\n"; if (size > 0 && size + length(line) > max) { close(name); ++n; size = 0 }
        name = sprintf("%s-%03d.log", out, n); printf "%s", line > name; size += length(line) }' "$log"
  done
}

mkdir -p "$build/artifacts"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus-$target"
  mkdir -p "$corpus"
  seeds=()
  # git keeps no empty folder: a target with no kept regression yet has none.
  for d in fuzz/seeds/"$target" fuzz/regressions/"$target"; do [ -d "$d" ] && seeds+=("$d"); done
  maxlen=$(max_len "$target")
  if [ "$target" != settings ]; then
    split_samples "$build/seeds-$target" "$(piece_len "$target")"
    seeds+=("$build/seeds-$target" data/samples)
  fi
  log="$build/fuzz-$target.log"
  rm -f "$build/artifacts/$target-"*
  echo "fuzz_$target: ${seconds}s"
  if "$build/fuzz_$target" "$corpus" "${seeds[@]}" -dict=fuzz/nmea.dict -max_total_time="$seconds" \
      -max_len="$maxlen" -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$build/artifacts/$target-" \
      -print_final_stats=1 >"$log" 2>&1; then
    runs=$(awk '/stat::number_of_executed_units/ { print $NF }' "$log")
    rate=$(awk '/stat::average_exec_per_sec/ { print $NF }' "$log")
    # The last status line holds the coverage reached: "#N ... cov: C ft: F corp: ...".
    read -r cov ft < <(awk '/ cov: / { for (i = 1; i < NF; ++i) { if ($i == "cov:") c = $(i + 1); if ($i == "ft:") f = $(i + 1) } }
                            END { print (c == "" ? "?" : c), (f == "" ? "?" : f) }' "$log")
    inputs=$(find "$corpus" -type f | wc -l)
    echo "  clean: ${runs:-?} executions, ${rate:-?} exec/s, cov ${cov}, ft ${ft}, corpus ${inputs} inputs in $corpus"
    # The pace on a typical input rather than on the run's mix of mutations.
    median=$(find "$corpus" -type f -printf '%s %p\n' | sort -n | awk '{ a[NR] = $0 } END { if (NR) print a[int((NR + 1) / 2)] }')
    if [ -n "$median" ]; then
      read -r size file <<<"$median"
      ms=$("$build/fuzz_$target" -runs="$median_runs" "$file" 2>&1 | awk '/^Executed / { print $(NF - 1) }')
      if [ -n "$ms" ]; then
        awk -v n="$median_runs" -v ms="$ms" -v b="$size" \
          'BEGIN { printf "  median input of the corpus (%d bytes): %.0f exec/s\n", b, (ms > 0 ? n * 1000 / ms : n * 1000) }'
      fi
    fi
  else
    status=1
    echo "  FAILED: see $log and $build/artifacts" >&2
    tail -n 30 "$log" >&2
    # Each failing input, minimised where libFuzzer can, is kept for the regression test.
    for artifact in "$build/artifacts/$target-"*; do
      [ -f "$artifact" ] || continue
      kept="fuzz/regressions/$target/$(basename "$artifact")"
      mkdir -p "fuzz/regressions/$target"
      "$build/fuzz_$target" -minimize_crash=1 -max_total_time=60 -exact_artifact_path="$kept" "$artifact" \
        >"$log.minimise" 2>&1 || true
      [ -s "$kept" ] || cp "$artifact" "$kept"
      echo "  kept $kept: make test replays it; commit it with the fix" >&2
    done
  fi
done
exit $status
