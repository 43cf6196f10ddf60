#!/usr/bin/env bash
# The clipboard watch across processes on a virtual X server: xclip owns the
# clipboard with one text before the probe starts (it must not become Code),
# and puts another one there once the probe is ready (it must).
# Usage: clipwatch-xvfb.sh PROBE. Exit 77 (skipped) when a tool is missing.
set -euo pipefail
probe=${1:?usage: clipwatch-xvfb.sh PROBE}
for tool in xvfb-run xclip; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done

# A sanitizer build must not fail on leaks inside the X11 platform's libraries.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan-x11.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

xvfb-run -a -s "-screen 0 640x480x24" bash -c '
  set -euo pipefail
  text="QR 日本語 from xclip"
  printf "already there" | xclip -selection clipboard
  fifo=$(mktemp -u) && mkfifo "$fifo"
  QT_QPA_PLATFORM=xcb "$1" 15000 "$text" >"$fifo" &
  pid=$!
  exec 3<"$fifo" && rm "$fifo"
  read -r line <&3 || true
  echo "probe: $line"
  if [ "$line" = ready ]; then printf "%s" "$text" | xclip -selection clipboard; fi
  while read -r line <&3; do echo "probe: $line"; done
  wait "$pid"
' clipwatch "$probe"
