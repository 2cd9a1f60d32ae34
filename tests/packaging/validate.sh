#!/usr/bin/env bash
# validate.sh DESKTOP METAINFO: the desktop entry and the AppStream metadata as software
# centres read them.
set -euo pipefail
for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "Skipped: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
desktop-file-validate "$1"
appstreamcli validate --no-net --pedantic "$2"
