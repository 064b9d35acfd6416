#!/usr/bin/env bash
# Stages an install of the build folder into a temporary DESTDIR and checks what a desktop user
# gets: the layout, the desktop entry and the AppStream metadata (validated), the manual page
# against --help, and the staged program run in batch mode from its staged data folder.
# Usage: install_test.sh BUILD_DIR PREFIX APP_ID
set -euo pipefail
build=$1 prefix=$2 id=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR="$stage" cmake --install "$build" >/dev/null
root="$stage$prefix"

# The list of installed files stands beside this script.
mapfile -t expected < <(grep -v '^#' "$(dirname "$0")/installed-files")
for file in "${expected[@]}"; do
    [ -f "$root/$file" ] || fail "not installed: $file"
done
[ -x "$root/bin/metopt" ] || fail "bin/metopt is not executable"
for size in 48 256; do
    png="$root/share/icons/hicolor/${size}x${size}/apps/$id.png"
    # Width and height stand in the PNG header, bytes 16..23, big-endian.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims, not ${size}x${size}"
done

desktop="$root/share/applications/$id.desktop"
# A hint (more than one main category: the entry lists Education and Science) is no fault.
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
if grep -v ': hint: ' <<<"$report" | grep -q .; then fail "desktop-file-validate: $report"; fi
grep -qx "Path=$prefix/share/metopt" "$desktop" || fail "desktop entry does not start in $prefix/share/metopt"
grep -qx "Exec=metopt %f" "$desktop" || fail "desktop entry does not run metopt with a file"
# The lab files' type, named by the desktop entry and defined by the installed MIME package.
grep -qx "MimeType=application/x-metopt;" "$desktop" || fail "desktop entry does not open lab files"
mime="$root/share/mime/packages/metopt.xml"
grep -q '<mime-type type="application/x-metopt">' "$mime" || fail "$mime does not define application/x-metopt"
grep -q '<glob pattern="\*.metopt"/>' "$mime" || fail "$mime does not match *.metopt"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry does not name the icon $id"
report=$(appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $report"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo does not launch $id.desktop"

# Every option in the list of --help stands in the manual page (roff writes '-' as '\-').
page=$(zcat "$root/share/man/man1/metopt.1.gz" | sed 's/\\-/-/g')
options=$("$root/bin/metopt" --help | grep -oE -- '^ +--[a-z][a-z0-9-]*' | sort -u)
[ -n "$options" ] || fail "--help lists no option"
for option in $options; do
    grep -qE -- "(^|[^a-z-])$option([^a-z0-9-]|$)" <<<"$page" || fail "the manual page does not mention $option"
done
grep -q 'Palitr10.dat' <<<"$page" || fail "the manual page does not describe the palette file"

# Started in the staged data folder, the program finds the shipped palette; elsewhere it says so.
picture="$stage/map.png"
errors=$(cd "$root/share/metopt" && "$root/bin/metopt" --batch --map --picture "$picture" 2>&1) ||
    fail "batch run in the data folder failed: $errors"
[ -z "$errors" ] || fail "batch run in the data folder reported: $errors"
[ "$(head -c 8 "$picture" | od -An -tx1 | tr -d ' ')" = "89504e470d0a1a0a" ] || fail "no PNG picture written"
mkdir "$stage/empty"
status=0
errors=$(cd "$stage/empty" && "$root/bin/metopt" --batch --map --picture "$stage/empty.png" 2>&1) || status=$?
[ "$status" = 1 ] && [ "$errors" = "metopt: File not found." ] ||
    fail "without a palette: exit $status, '$errors' instead of exit 1, 'metopt: File not found.'"

if [ "$failures" -gt 0 ]; then
    echo "install: $failures checks failed"
    exit 1
fi
echo "install: every check passed"
