#!/usr/bin/env bash
# make fuzz: builds the libFuzzer targets apart from the main build (clang, address and
# undefined-behaviour sanitizers) and runs each for a set time on a corpus seeded from
# fuzz/seeds, the sample logs (also cut into short pieces, in BUILD/seeds-TARGET) and
# fuzz/regressions. The corpus grows in BUILD/corpus-TARGET (never in git). Per target it
# prints the executions, executions per second, coverage (cov, ft) and corpus size, and the
# pace on the corpus's median input. An input that fails is kept
# in BUILD/artifacts and, minimised, in fuzz/regressions/TARGET, which `make test` replays.
# FUZZ_WORKERS processes (default: one per core) fuzz each target at once on its one corpus
# folder, each taking up what the others add (libFuzzer rereads the folder every second); the
# figures are then given per worker and in all. On a machine whose cores are busy with other
# work, FUZZ_WORKERS=1 does more: the workers would only take turns.
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
workers=${FUZZ_WORKERS:-$(nproc 2>/dev/null || echo 1)}
if ! [[ "$workers" =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz: FUZZ_WORKERS must be a whole number of 1 or more, not '$workers'" >&2
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
# An interrupted run leaves no worker behind.
pids=()
trap '[ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null; exit 130' INT TERM
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
  rm -f "$build/artifacts/$target-"* "$log" "$build/fuzz-$target".w*.log
  # Worker w logs to $log (one worker) or to fuzz-TARGET.wW.log.
  wlog() { if [ "$workers" -eq 1 ]; then echo "$log"; else echo "$build/fuzz-$target.w$1.log"; fi; }
  if [ "$workers" -eq 1 ]; then echo "fuzz_$target: ${seconds}s"; else echo "fuzz_$target: ${seconds}s, $workers workers"; fi
  pids=()
  for ((w = 1; w <= workers; ++w)); do
    "$build/fuzz_$target" "$corpus" "${seeds[@]}" -dict=fuzz/nmea.dict -max_total_time="$seconds" \
      -max_len="$maxlen" -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$build/artifacts/$target-" \
      -print_final_stats=1 >"$(wlog "$w")" 2>&1 &
    pids+=($!)
  done
  # The first worker to fail stops the others: its input is what the run found. Only workers
  # still running are signalled (the number of one that ended may be taken by another process).
  clean=1 failed="" all=("${pids[@]}")
  while [ ${#pids[@]} -gt 0 ]; do
    done_pid="" code=0
    wait -n -p done_pid "${pids[@]}" || code=$?
    left=()
    for pid in "${pids[@]}"; do [ "$pid" = "$done_pid" ] || left+=("$pid"); done
    pids=("${left[@]}")
    if [ "$code" -ne 0 ] && [ "$clean" -eq 1 ]; then
      clean=0
      for ((w = 1; w <= workers; ++w)); do [ "${all[w - 1]}" = "$done_pid" ] && failed=$(wlog "$w"); done
      [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null || true
    fi
  done
  if [ "$clean" -eq 1 ]; then
    total=0 rates=() sum=0 cov=0 ft=0
    for ((w = 1; w <= workers; ++w)); do
      wl=$(wlog "$w")
      runs=$(awk '/stat::number_of_executed_units/ { print $NF }' "$wl")
      rate=$(awk '/stat::average_exec_per_sec/ { print $NF }' "$wl")
      # The last status line holds the coverage reached: "#N ... cov: C ft: F corp: ...".
      read -r c f < <(awk '/ cov: / { for (i = 1; i < NF; ++i) { if ($i == "cov:") c = $(i + 1); if ($i == "ft:") f = $(i + 1) } }
                            END { print (c == "" ? 0 : c), (f == "" ? 0 : f) }' "$wl")
      total=$((total + ${runs:-0}))
      sum=$((sum + ${rate:-0}))
      rates+=("${rate:-?}")
      [ "$c" -gt "$cov" ] && cov=$c
      [ "$f" -gt "$ft" ] && ft=$f
    done
    inputs=$(find "$corpus" -type f | wc -l)
    if [ "$workers" -eq 1 ]; then
      echo "  clean: ${runs:-?} executions, ${rate:-?} exec/s, cov ${cov}, ft ${ft}, corpus ${inputs} inputs in $corpus"
    else
      per=$((sum / workers))
      echo "  clean: $total executions in all by $workers workers, $sum exec/s in all," \
        "$per exec/s per worker (${rates[*]}), cov ${cov}, ft ${ft} (the highest of a worker)," \
        "corpus ${inputs} inputs in $corpus"
      # Each worker counts only what it ran itself: one process reading the whole corpus gives
      # the coverage the workers reached together.
      read -r c f < <("$build/fuzz_$target" -runs=0 -max_len="$maxlen" -rss_limit_mb=2048 "$corpus" 2>&1 |
        awk '/INITED/ { for (i = 1; i < NF; ++i) { if ($i == "cov:") c = $(i + 1); if ($i == "ft:") f = $(i + 1) } }
             END { print (c == "" ? "?" : c), (f == "" ? "?" : f) }')
      echo "  the corpus read by one process: cov $c, ft $f"
    fi
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
    echo "  FAILED: see ${failed:-$log} and $build/artifacts" >&2
    tail -n 30 "${failed:-$log}" >&2
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
