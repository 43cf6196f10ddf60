#!/usr/bin/env bash
# The main window on small and scaled screens, and a file dropped on it by
# another X client.
#   desk-screens.sh offscreen PROBE         every screen and scale, offscreen
#   desk-screens.sh x11 PROBE               the same on Xvfb with openbox
#   desk-screens.sh drop PROBE SOURCE FILE  SOURCE drags FILE onto the window
#                                           (xdotool moves the mouse)
#   desk-screens.sh shots PROBE DIR         screenshots at 100/125/150 %
# Exit 77 (skipped) when a tool is missing.
set -euo pipefail
mode=${1:?usage: desk-screens.sh offscreen|x11|drop|shots PROBE ...}
probe=${2:?probe}
screens=(1280x720 1366x768)
scales=(1 1.25 1.5)
# Stored positions: none, far right and below, far left and above.
positions=("" "1500 900" "-3000 -2000")

need() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
  done
}

# Runs probe place for every scale and stored position on the current display.
place_all() {
  local screen=$1 failed=0
  for scale in "${scales[@]}"; do
    for pos in "${positions[@]}"; do
      echo "== $screen at $scale, stored position '${pos}'"
      # shellcheck disable=SC2086
      QT_SCALE_FACTOR=$scale "$probe" place $pos || failed=1
    done
  done
  return $failed
}

# Runs "$@" on a fresh virtual X server of size $1 with openbox managing it.
on_x() {
  local size=$1; shift
  xvfb-run -a -s "-screen 0 ${size}x24" bash -c '
    set -euo pipefail
    ready=$(mktemp -u)
    openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
    wm=$!
    # A busy machine can take many seconds to start it.
    for _ in $(seq 300); do [ -e "$ready" ] && break; sleep 0.1; done
    [ -e "$ready" ] || echo "openbox did not start within 30 s"
    rm -f "$ready"
    sleep 0.3  # openbox runs its startup command just before it manages windows
    status=0
    "$@" || status=$?
    kill "$wm" 2>/dev/null || true
    exit $status
  ' on_x "$@"
}

export LANG=ja_JP.UTF-8
case $mode in
  offscreen)
    dir=$(mktemp -d) && trap 'rm -rf "$dir"' EXIT
    failed=0
    for screen in "${screens[@]}"; do
      printf '{"screens":[{"name":"desk","x":0,"y":0,"width":%d,"height":%d,"logicalDpi":96}]}\n' \
        "${screen%x*}" "${screen#*x}" >"$dir/$screen.json"
      QT_QPA_PLATFORM="offscreen:configfile=$dir/$screen.json" place_all "$screen" || failed=1
    done
    exit $failed ;;
  x11)
    need xvfb-run openbox
    export QT_QPA_PLATFORM=xcb
    export probe
    failed=0
    for screen in "${screens[@]}"; do
      on_x "$screen" bash -c "$(declare -p scales positions); $(declare -f place_all); place_all $screen" || failed=1
    done
    exit $failed ;;
  drop)
    need xvfb-run openbox xdotool
    source_program=${3:?source} file=${4:?file}
    export QT_QPA_PLATFORM=xcb
    on_x 1280x720 bash -c '
      set -euo pipefail
      probe=$1 source_program=$2 file=$3
      fifo=$(mktemp -u) && mkfifo "$fifo"
      "$probe" drop "$file" >"$fifo" &
      window=$!
      exec 3<"$fifo" && rm "$fifo"
      # The window may say something first (no frame yet on a busy machine).
      while read -r word tx ty <&3 && [ "$word" != ready ]; do echo "window: $word $tx $ty"; done
      [ "${word:-}" = ready ] || { echo "the window never said where to drop"; exit 1; }
      src=$(mktemp -u) && mkfifo "$src"
      "$source_program" "$file" >"$src" &
      exec 4<"$src" && rm "$src"
      read -r _ sx sy <&4
      echo "drag from $sx,$sy to $tx,$ty"
      xdotool mousemove "$sx" "$sy"
      sleep 0.3
      xdotool mousedown 1
      sleep 0.3
      # Several steps, as a hand moves: the drag starts, enters the window and hovers.
      for i in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((sx + (tx - sx) * i / 8)) $((sy + (ty - sy) * i / 8))
        sleep 0.15
      done
      sleep 0.3
      xdotool mouseup 1
      status=0
      while read -r line <&3; do echo "window: $line"; done
      wait "$window" || status=$?
      read -r line <&4 && echo "source: $line" || true
      exit $status
    ' drop "$probe" "$source_program" "$file" ;;
  shots)
    need xvfb-run openbox
    out=${3:?dir}
    export QT_QPA_PLATFORM=xcb
    # The sample from a folder as a user's would look.
    sample=/tmp/mosaiko-shots/出荷データ/sample.csv
    mkdir -p "$(dirname "$sample")" && cp "$(dirname "$0")/../../../examples/sample.csv" "$sample"
    for scale in "${scales[@]}"; do
      name=$(echo "$scale" | tr -d .)
      on_x 1366x768 env QT_SCALE_FACTOR="$scale" "$probe" shot "$out/window-$name.png" "$out/preview-$name.png" "$sample"
    done ;;
  *) echo "unknown mode $mode"; exit 2 ;;
esac
