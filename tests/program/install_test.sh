#!/usr/bin/env bash
# install_test.sh -- installing the built program into a temporary DESTDIR with a prefix: the
# program, its desktop entry (valid, opening folders), its icon and manual page land in place.
# Usage: install_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

dest="$work/dest"
DESTDIR="$dest" cmake --install "$(dirname "$program")" --prefix /opt/qm >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -3 "$work/install.log")"
root="$dest/opt/qm"
entry="$root/share/applications/quillmere.desktop"
icon="$root/share/icons/hicolor/scalable/apps/quillmere.svg"
manual="$root/share/man/man1/quillmere.1"
[ -x "$root/bin/quillmere" ] || fail "no program in bin/"
[ -f "$entry" ] && [ -f "$icon" ] && [ -f "$manual" ] || fail "missing files: $(find "$dest" -type f)"

desktop-file-validate "$entry" >&2 || fail "the desktop entry is not valid"
for line in "Exec=quillmere %f" "MimeType=inode/directory;" "Categories=Graphics;Viewer;" \
    "Icon=quillmere"; do
    grep -qxF "$line" "$entry" || fail "the desktop entry lacks $line"
done
grep -q "<svg" "$icon" || fail "the icon is no SVG"
version=$("$root/bin/quillmere" --version) || fail "the installed program does not run"
grep -qF "\"$version\"" "$manual" || fail "the manual page is not of $version"
echo "PASS"
