#!/usr/bin/env bash
# Writes every output of brenvik-cli for every log of the real-log corpus, one folder per log,
# so that two builds can be compared with diff -r:
#   scripts/corpus-outputs.sh BUILD_DIR OUTDIR [CORPUS_DIR]
#   scripts/corpus-outputs.sh build /tmp/corpus-before     # before a change
#   scripts/corpus-outputs.sh build /tmp/corpus-after      # after it
#   diff -r /tmp/corpus-before /tmp/corpus-after
# OUTDIR/<log path>/ gets report.txt, corrupt.txt, events.csv, events-all.csv (every event
# field), ais.txt, vessels.txt, sources.txt (standard output of one run each), the files
# out.csv, out.kml, out.gps, ais-positions.csv, ais-vessels.csv, sources.csv (written by one
# run), and for every run its standard error (*.err) and exit status (*.rc). A log that fails
# or hangs is recorded that way and the run goes on with the next log. The corpus's own files that are not logs (licences,
# READMEs, the expected outputs its projects ship, peer-decoder outputs) are left out.
# Runs use the C locale, so numbers and times do not depend on the machine's settings. Lines
# whose time fields are empty take the computer's clock, so those values differ between runs.
set -uo pipefail

build=${1:?usage: corpus-outputs.sh BUILD_DIR OUTDIR [CORPUS_DIR]}
outdir=${2:?usage: corpus-outputs.sh BUILD_DIR OUTDIR [CORPUS_DIR]}
corpus=${3:-/work/shared/corpus}
cli="$build/brenvik-cli"
limit=${CORPUS_TIMEOUT:-300}  # seconds per run

if [ ! -x "$cli" ]; then
  echo "corpus-outputs: $cli not found; build first (make build)" >&2
  exit 1
fi
if [ ! -d "$corpus" ]; then
  echo "corpus-outputs: no corpus folder $corpus" >&2
  exit 1
fi
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
mkdir -p "$outdir" || exit 1
export LC_ALL=C

# run NAME ARGS...: one run of the program into NAME.out, NAME.err, NAME.rc.
run() {
  local name=$1
  shift
  timeout "$limit" "$cli" "$@" >"$name.out" 2>"$name.err"
  echo $? >"$name.rc"
}

count=0
failed=0
while IFS= read -r -d '' log; do
  rel=${log#"$corpus"/}
  dir="$outdir/$rel"
  mkdir -p "$dir" || { failed=$((failed + 1)); continue; }
  for view in report corrupt events ais vessels sources; do
    run "$dir/$view" "--$view" "$log"
  done
  # The default columns leave some event fields out (depth, heading ...): every field once more.
  run "$dir/events-all" --fields all --events "$log"
  for f in report corrupt ais vessels sources; do mv -f "$dir/$f.out" "$dir/$f.txt"; done
  mv -f "$dir/events.out" "$dir/events.csv"
  mv -f "$dir/events-all.out" "$dir/events-all.csv"
  rm -f "$dir"/out.csv "$dir"/out.kml "$dir"/out.gps "$dir"/ais-positions.csv "$dir"/ais-vessels.csv \
    "$dir"/sources.csv
  run "$dir/files" --csv "$dir/out.csv" --kml "$dir/out.kml" --gps "$dir/out.gps" \
    --ais-positions "$dir/ais-positions.csv" --ais-vessels "$dir/ais-vessels.csv" \
    --sources-csv "$dir/sources.csv" "$log"
  rm -f "$dir/files.out"
  for rc in "$dir"/*.rc; do
    [ "$(cat "$rc")" = 0 ] || { failed=$((failed + 1)); echo "corpus-outputs: $rel: $(basename "$rc" .rc) exit $(cat "$rc")" >&2; }
  done
  count=$((count + 1))
done < <(find "$corpus" -path "$corpus/oracles" -prune -o -type f \
  ! -name 'README*' ! -name 'COPYING' ! -name 'LICENSE' ! -name 'License.md' \
  ! -name '*.chk' ! -name '*.csv' ! -name '*.gpx' ! -name '*.json' ! -name '*.jsonl' -print0 | sort -z)

echo "corpus-outputs: $count logs into $outdir; $failed runs did not exit 0"
