#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what the installed tool brings:
# the programs with the project's version, the desktop entry, icon and metainfo (valid),
# the manual pages, the copyright and the changelog.
#   tst_install.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
passed=0
failed=0
check() {  # check "what" command...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    echo "FAIL: $what"
    failed=$((failed + 1))
  fi
}
png_size() {  # the width and height in a PNG's header, "48x48"
  local hex
  hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
  echo "$((16#${hex:0:8}))x$((16#${hex:8:8}))"
}

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null || { echo "FAIL: install"; exit 1; }
usr=$dest/usr
for program in tql400 tq4c tql400-sim; do
  check "$program installed" test -x "$usr/bin/$program"
  check "$program --version" test "$("$usr/bin/$program" --version)" = "$program $version"
  check "$program manual page" bash -c "zcat '$usr/share/man/man1/$program.1.gz' | grep -q '$program $version'"
  for section in SYNOPSIS FILES EXAMPLES "EXIT STATUS" "SEE ALSO"; do
    check "$program manual page: $section" bash -c "zcat '$usr/share/man/man1/$program.1.gz' | grep -q '^\.SH \"\?$section'"
  done
done
check "desktop entry valid" desktop-file-validate "$usr/share/applications/tql400.desktop"
check "desktop entry starts tql400 with a file" grep -qx 'Exec=tql400 %f' "$usr/share/applications/tql400.desktop"
check "desktop entry opens programs" grep -qx 'MimeType=application/x-tql400-program;' "$usr/share/applications/tql400.desktop"
check "program files known by their suffix" grep -q '<glob pattern="\*.tq4"/>' "$usr/share/mime/packages/tql400.xml"
if command -v update-mime-database >/dev/null; then
  mkdir -p "$dest/mime/packages" && cp "$usr/share/mime/packages/tql400.xml" "$dest/mime/packages/"
  check "mime type valid" bash -c "XDG_DATA_DIRS='$dest' update-mime-database '$dest/mime' 2>&1 |
    grep -q . && exit 1; test -s '$dest/mime/application/x-tql400-program.xml'"
fi
check "metainfo valid" appstreamcli validate --no-net "$usr/share/metainfo/io.tql400.tql400.metainfo.xml"
check "metainfo version" grep -q "version=\"$version\"" "$usr/share/metainfo/io.tql400.tql400.metainfo.xml"
check "scalable icon" test -s "$usr/share/icons/hicolor/scalable/apps/tql400.svg"
for size in 48 256; do
  check "${size} px icon" test "$(png_size "$usr/share/icons/hicolor/${size}x${size}/apps/tql400.png")" = "${size}x${size}"
done
check "copyright" test -s "$usr/share/doc/tql400/copyright"
check "changelog" bash -c "zcat '$usr/share/doc/tql400/changelog.Debian.gz' | grep -q '($version-'"
check "walkthrough" test -s "$usr/share/doc/tql400/walkthrough.md"

echo "install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
