#!/usr/bin/env bash
# lintian.sh CPACK BUILD_DIR: builds the Debian package into a temporary folder and fails on
# any error or warning lintian reports (informational tags are printed, not counted).
set -euo pipefail
cpack=$1 build=$2
for tool in lintian dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "Skipped: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
tmp=$(mktemp -d "${TMPDIR:-/tmp}/brenvik-lintian.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  exit 1
fi
debs=("$tmp"/*.deb)
[ -f "${debs[0]}" ] || { echo "cpack made no package"; cat "$tmp/cpack.log"; exit 1; }
echo "Package: $(basename "${debs[0]}")"
dpkg-deb --field "${debs[0]}" Depends Recommends Suggests
# lintian says once that it runs as root; that is CI's normal case, not a finding.
lintian --display-info --pedantic --fail-on error,warning "${debs[0]}" 2> >(grep -v 'running with root privileges' >&2)
echo "lintian: no errors, no warnings"
