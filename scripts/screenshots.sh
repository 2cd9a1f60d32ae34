#!/usr/bin/env bash
# make screenshot: runs the desktop program under Xvfb on a log and writes PNGs of its main
# window to BUILD_DIR/screenshots. It runs with a throw-away home, so the user's own settings
# and data folder are neither read nor written.
#   scripts/screenshots.sh BUILD_DIR LOGFILE
set -euo pipefail

build=${1:-build}
log=${2:-data/samples/harbour.log}
program="$build/src/ui/brenvik"
out="$build/screenshots"

if [ ! -x "$program" ]; then
  echo "screenshot: $program not found; build first (make build)" >&2
  exit 1
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "screenshot: xvfb-run not found (Debian package xvfb; scripts/install-deps.sh installs it)" >&2
  exit 1
fi

# The voyage pane is also taken on two real logs of the corpus beside the repository, when it is
# there (read where it lies, never copied).
corpus="${BRENVIK_CORPUS:-$(cd "$(dirname "$0")/.." && pwd)/../shared/corpus}"
voyagelogs=()
for f in "$corpus/vdrplayer/Hakefjord.txt" "$corpus/gpsd/ais-nmea.log"; do
  [ -f "$f" ] && voyagelogs+=("$f")
done

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$out"
mkdir -m 700 "$home/run"
rm -f "$out"/*.png
HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$program" --screenshot "$out" "$log" "${voyagelogs[@]}"
