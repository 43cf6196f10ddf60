#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Mosaiko need.
# Idempotent: packages already installed are skipped, and apt-get runs only
# when something is missing.
set -euo pipefail

PACKAGES=(
  # toolchain
  g++ cmake ninja-build make pkg-config
  clang-14 libclang-rt-14-dev
  # desktop program
  qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic fonts-ipafont-mincho
  # the PDF writer's streams compressed by libdeflate
  libdeflate-dev
  # tests and benchmarks
  strace libgtest-dev libbenchmark-dev libzxing-dev poppler-utils
  libqrcodegencpp-dev libqrencode-dev libzint-dev
  qrencode hyperfine
  # netpbm reads mosaiko-qr's PBM images in its test
  netpbm
  # metafile readers of the format tests (about a minute to install)
  libreoffice-draw-nogui libwmf-bin fonts-urw-base35 librsvg2-bin libxml2-utils
  # the clipboard watch against another program on a virtual X server
  xvfb xauth xclip
  # the window on small screens under a window manager, and a file dropped
  # on it from another X client (xdotool moves the mouse)
  openbox xdotool
  # mosaiko-report --print, and its test against a private CUPS server with a PDF printer
  cups cups-client printer-driver-cups-pdf
  # installation and the Debian package (make package) and their checks
  dpkg-dev desktop-file-utils appstream lintian man-db gzip
  # byte-for-byte comparison of two builds' outputs (scripts/compare-outputs.sh)
  faketime
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
