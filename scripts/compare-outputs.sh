#!/usr/bin/env bash
# Writes the outputs of mosaiko-qr (every format) and mosaiko-report for a fixed
# set of inputs into DIR and lists their SHA-256 sums, so two builds can be
# compared byte for byte: run it with each build's bin folder and diff the lists.
# The report is made under a fixed clock (faketime), since its PDF carries the
# creation date and its page header the date and time.
# The list it prints is the comparison: diff the lists of two builds.
# Usage: scripts/compare-outputs.sh BIN_DIR OUT_DIR
set -euo pipefail
bin=$(realpath "$1"); out=$2
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"; out=$(realpath "$out")
export QT_QPA_PLATFORM=offscreen
cd "$root"

qr() { # name, then mosaiko-qr arguments
  local name=$1; shift
  "$bin/mosaiko-qr" "$@" -o "$out/$name" >/dev/null 2>&1 || true
}
text='Mosaiko 漢字 ~7E~ 0123456789 HELLO WORLD'
for fmt in pbm png emf wmf svg; do
  qr "plain.$fmt" --format "$fmt" --version 3 "$text"
  qr "v7-H.$fmt" --format "$fmt" --version 7 --level H --binary --pxmag 3 "$text"
  qr "connect.$fmt" --format "$fmt" --version 10 --structure connect --count 3 \
    --input examples/sample.csv
  qr "comment.$fmt" --format "$fmt" --version 3 --comment-up "上 comment" --comment-down "下" \
    --space-up 20 --space-down 20 "$text"
done
qr plus.png --format png --version 10 --structure plus --count 4 --column 2 --angle 90 --input examples/sample.csv

report() { # name, then mosaiko-report arguments
  local name=$1; shift
  faketime -f '2026-01-02 03:04:05' "$bin/mosaiko-report" examples/sample.csv \
    -o "$out/$name" "$@" >/dev/null 2>&1 || true
}
report sample.pdf
report sample-v10-s2.pdf --version 10 --size 2 --per-page 4 --title "Liste 一覧" --font-size 14
report sample-20.pdf --version 40 --size 1 --per-page 20

# Qt's PDF writer orders its font objects and names their subsets anew on
# each run, so a PDF is compared by what it holds: its text, its images
# (each image's own bytes) and its fonts.
for f in "$out"/*.pdf; do
  {
    pdftotext -layout "$f" -
    pdffonts "$f" | tail -n +3 | awk '{print $1}' | sed -E 's/^[A-Z]{6}\+//' | sort
    d=$(mktemp -d); pdfimages -png "$f" "$d/i"; sha256sum "$d"/* | awk '{print $1}'; rm -rf "$d"
  } > "$f.content"
  rm "$f"
done
cd "$out" && sha256sum -- * | sort -k2
