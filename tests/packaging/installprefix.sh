#!/usr/bin/env bash
# installprefix.sh CMAKE BUILD_DIR BUILT_CLI SAMPLE: installs the build under a temporary
# prefix and runs the installed brenvik-cli on the sample from an unrelated folder. It must
# find its tables under share/brenvik and say what the build tree's program says, and a
# missing table must be reported with both places it was looked for.
set -euo pipefail
cmake=$1 build=$2 built=$3 sample=$4
tmp=$(mktemp -d "${TMPDIR:-/tmp}/brenvik-prefix.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
tmp=$(realpath "$tmp")
prefix=$tmp/usr
fail() { echo "FAILED: $*"; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; exit 1; }
for f in mmsi2cc.txt cc2ctry.txt; do
  [ -f "$prefix/share/brenvik/$f" ] || fail "share/brenvik/$f not installed"
  [ ! -e "$prefix/bin/$f" ] || fail "$f installed among the programs"
done

cd "$tmp"
"$prefix/bin/brenvik-cli" --report --vessels "$sample" >installed.out 2>installed.err
"$built" --report --vessels "$sample" >built.out 2>built.err
[ ! -s installed.err ] || { cat installed.err; fail "the installed program complained"; }
cmp built.out installed.out || fail "the installed program's report and vessels differ from the build tree's"
grep -Eq '^[0-9]{9},[A-Z][a-z]' installed.out || fail "no vessel got its country from the tables"
head -n 4 installed.out

rm "$prefix/share/brenvik/cc2ctry.txt"
"$prefix/bin/brenvik-cli" --vessels "$sample" >/dev/null 2>missing.err
expected="Cannot read the lookup file $prefix/bin/cc2ctry.txt or $prefix/share/brenvik/cc2ctry.txt. Vessels' countries will show as unknown."
grep -qxF "$expected" missing.err || { cat missing.err; fail "the missing table's message does not name both places"; }

if command -v help2man >/dev/null 2>&1; then
  for prog in brenvik-cli brenvik; do
    [ -x "$prefix/bin/$prog" ] || continue
    page=$prefix/share/man/man1/$prog.1.gz
    [ -f "$page" ] || fail "no manual page $prog.1.gz"
    if command -v man >/dev/null 2>&1; then
      MANWIDTH=80 man -l "$page" >page.txt 2>/dev/null
      grep -q '^EXIT STATUS' page.txt || fail "$prog.1 has no EXIT STATUS section"
      grep -q '^FILES' page.txt || fail "$prog.1 has no FILES section"
    fi
  done
fi
# The desktop program answers --version with no display at all, as help2man needs.
if [ -x "$prefix/bin/brenvik" ]; then
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/brenvik" --version)
  [ "$version" = "brenvik $("$prefix/bin/brenvik-cli" --version | cut -d' ' -f2)" ] || fail "brenvik --version said: $version"
fi
echo "installed under $prefix: tables found, output as the build tree's"
