#!/usr/bin/env bash
# Installation and Debian package checks on a built tree.
# Usage: packaging-test.sh STEP, with STEP one of
#   install   install into a DESTDIR and compare the file list with installed-files.txt
#   desktop   desktop-file-validate on the installed desktop entry
#   metainfo  appstreamcli validate --no-net on the installed metainfo
#   man       the installed man pages render without warnings
#   deb       build the package with CPack: control fields, file list, and the
#             packaged mosaiko-report run on the sample
#   lintian   lintian finds no error in the package
# The environment gives BUILD_DIR, SOURCE_DIR, WORK_DIR, CMAKE, CPACK, VERSION
# and SANITIZE. Exit 77 (skipped) when a tool is missing.
set -euo pipefail
step=${1:?usage: packaging-test.sh STEP}
here=$(dirname "$0")
dest=$WORK_DIR/destdir
debdir=$WORK_DIR/deb
app_id=org.mosaiko.Mosaiko

need() {
  for tool; do command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }; done
}
fail() { echo "FAIL: $*"; exit 1; }
# A sanitized build is not packaged: its programs need the sanitizer runtime.
not_sanitized() {
  case $SANITIZE in ON|on|1|TRUE|true) echo "the sanitizer build is not packaged"; exit 77 ;; esac
}
same_list() {  # LABEL ACTUAL: ACTUAL lists the files of installed-files.txt
  diff -u "$here/installed-files.txt" "$2" || fail "$1 differs from installed-files.txt"
}
the_deb() { ls "$debdir"/mosaiko_"$VERSION"-*.deb 2>/dev/null | head -1; }

case $step in
install)
  rm -rf "$dest"
  DESTDIR=$dest "$CMAKE" --install "$BUILD_DIR" --prefix /usr >/dev/null
  (cd "$dest/usr" && find . -type f -o -type l | sed 's#^\./##' | LC_ALL=C sort) >"$WORK_DIR/installed.txt"
  same_list "the installed file list" "$WORK_DIR/installed.txt"
  ;;
desktop)
  need desktop-file-validate
  desktop-file-validate "$dest/usr/share/applications/$app_id.desktop"
  ;;
metainfo)
  need appstreamcli
  appstreamcli validate --no-net "$dest/usr/share/metainfo/$app_id.metainfo.xml"
  ;;
man)
  need man
  for page in "$dest"/usr/share/man/man1/*.1.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  done
  ;;
deb)
  not_sanitized
  need dpkg-deb dpkg-shlibdeps
  rm -rf "$debdir"
  "$CPACK" --config "$BUILD_DIR/CPackConfig.cmake" -B "$debdir" >"$WORK_DIR/cpack.log" ||
    { cat "$WORK_DIR/cpack.log"; fail "cpack"; }
  deb=$(the_deb)
  [ -n "$deb" ] || fail "no package mosaiko_${VERSION}-*.deb in $debdir"
  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = mosaiko ] || fail "Package: $(field Package)"
  [ "$(field Version)" = "$VERSION-1" ] || fail "Version: $(field Version)"
  for dep in fonts-ipafont-gothic fonts-ipafont-mincho libqt6widgets6 libqt6printsupport6; do
    [[ ", $(field Depends)," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep: $(field Depends)"
  done
  field Description | grep -q 'QRコード' || fail "no Japanese description"
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' | LC_ALL=C sort >"$WORK_DIR/deb-files.txt"
  same_list "the package's file list" "$WORK_DIR/deb-files.txt"
  root=$WORK_DIR/deb-root
  rm -rf "$root" && dpkg-deb -x "$deb" "$root"
  "$root/usr/bin/mosaiko-report" "$SOURCE_DIR/examples/sample.csv" -o "$WORK_DIR/sample.pdf"
  [ "$(head -c 5 "$WORK_DIR/sample.pdf")" = "%PDF-" ] || fail "the packaged mosaiko-report wrote no PDF"
  ;;
lintian)
  not_sanitized
  need lintian
  deb=$(the_deb)
  [ -n "$deb" ] || fail "no package in $debdir"
  lintian --fail-on error "$deb"
  ;;
*)
  echo "unknown step $step"; exit 2 ;;
esac
