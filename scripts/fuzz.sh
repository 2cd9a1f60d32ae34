#!/usr/bin/env bash
# make fuzz: builds the libFuzzer targets apart from the main build (clang, address and
# undefined-behaviour sanitizers) and runs each for a set time on a corpus seeded from
# fuzz/seeds, the sample logs and fuzz/regressions. An input that fails is kept in
# BUILD/artifacts; copy it into fuzz/regressions/TARGET so that `make test` replays it.
#   scripts/fuzz.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-fuzz}
seconds=${2:-60}
cxx=${FUZZ_CXX:-$(command -v clang++-14 || command -v clang++ || true)}
if [ -z "$cxx" ]; then
  echo "fuzz: clang++ not found (make deps installs clang-14)" >&2
  exit 1
fi
gen=""
command -v ninja >/dev/null 2>&1 && gen="-G Ninja"

cmake -S fuzz -B "$build" $gen -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j "${JOBS:-2}"

mkdir -p "$build/artifacts"
status=0
for target in load ais settings; do
  corpus="$build/corpus-$target"
  mkdir -p "$corpus"
  seeds=()
  # git keeps no empty folder: a target with no kept regression yet has none.
  for d in fuzz/seeds/"$target" fuzz/regressions/"$target"; do [ -d "$d" ] && seeds+=("$d"); done
  [ "$target" = settings ] || seeds+=(data/samples)
  log="$build/fuzz-$target.log"
  echo "fuzz_$target: ${seconds}s"
  # Inputs up to 16 KiB keep the runs quick; the sample log's start is still in the corpus.
  if "$build/fuzz_$target" "$corpus" "${seeds[@]}" -dict=fuzz/nmea.dict -max_total_time="$seconds" \
      -max_len=16384 -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$build/artifacts/$target-" \
      -print_final_stats=1 >"$log" 2>&1; then
    runs=$(awk '/stat::number_of_executed_units/ { print $NF }' "$log")
    echo "  clean: ${runs:-?} executions"
  else
    status=1
    echo "  FAILED: see $log and $build/artifacts" >&2
    tail -n 30 "$log" >&2
  fi
done
exit $status
