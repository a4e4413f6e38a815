#!/usr/bin/env bash
# Takes the README screenshot: runs the program on a virtual X screen of 1280 x 800,
# waits until its window is on the screen and has drawn, and saves the screen cut to
# the program's windows.
#
#   scripts/screenshot.sh [-o OUT.png] [PROGRAM [ARGUMENT]...]
#
# Defaults: docs/screenshot.png, and build/src/app/plotcraftsman on
# resources/Examples/sinx.fx. Any X program will do (xlogo, for a try). Installs the
# Debian packages it needs when they are missing (root or sudo).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# How long the program may take to show its window, and how long it then gets to draw.
wait_seconds=30
settle_seconds=2

if [ "${1:-}" = "--inside" ]; then
  # Second stage, on the virtual screen that xvfb-run has opened.
  shift
  out="$1"
  shift
  # Top-level windows, the top-most first, with their place on the screen, one per line:
  # ID X Y WIDTH HEIGHT of those that are viewable and were not there before the program.
  windows() {
    local id info
    for id in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do
      grep -qx "$id" <<<"$before" && continue
      info="$(xwininfo -id "$id" 2>/dev/null)" || continue
      grep -q 'Map State: IsViewable' <<<"$info" || continue
      awk -v id="$id" -F: '/Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
        /Width/ {w = $2} /Height/ {h = $2} END {print id, x + 0, y + 0, w + 0, h + 0}' <<<"$info"
    done
  }
  before="$(xwininfo -root -children | awk '/^ +0x/ {print $1}')"
  "$@" &
  program=$!
  scratch="$(mktemp -d)"
  trap 'kill "$program" 2>/dev/null || true; rm -rf "$scratch"' EXIT
  # The program's top-level window: a new child of the root that is viewable (toolkits also
  # create hidden helper windows, which do not count).
  for ((tick = 0; ; tick++)); do
    if ! kill -0 "$program" 2>/dev/null; then
      echo "screenshot: $1 ended before it showed a window" >&2
      exit 1
    fi
    [ -n "$(windows)" ] && break
    if ((tick >= wait_seconds * 10)); then
      echo "screenshot: $1 showed no window within $wait_seconds s" >&2
      exit 1
    fi
    sleep 0.1
  done
  sleep "$settle_seconds"

  # The screen as X shows it, then every window of the program laid on it from its own
  # contents, the bottom-most first: on this virtual screen, without a compositing window
  # manager, the screen itself can miss a Qt window that was moved after it was shown
  # (it stays black there) while the window holds its picture.
  xwd -root -silent | xwdtopnm 2>/dev/null >"$scratch/screen.pnm"
  mapfile -t placed < <(windows)
  left=1280 top=800 right=0 bottom=0
  for ((i = ${#placed[@]} - 1; i >= 0; i--)); do
    read -r id x y w h <<<"${placed[i]}"
    ((x < left)) && left=$x
    ((y < top)) && top=$y
    ((x + w > right)) && right=$((x + w))
    ((y + h > bottom)) && bottom=$((y + h))
    # A window that reaches beyond the screen cannot be read on its own; the screen's
    # picture of it stays.
    if xwd -id "$id" -silent 2>/dev/null | xwdtopnm 2>/dev/null >"$scratch/window.pnm"; then
      pamcomp -xoff="$x" -yoff="$y" "$scratch/window.pnm" "$scratch/screen.pnm" \
        >"$scratch/next.pnm"
      mv "$scratch/next.pnm" "$scratch/screen.pnm"
    fi
  done
  # Cut to the program's windows, not the empty screen around them.
  ((left < 0)) && left=0
  ((top < 0)) && top=0
  ((right > 1280)) && right=1280
  ((bottom > 800)) && bottom=800
  # Written beside the target and renamed, so a failed capture leaves the old picture.
  pamcut -left "$left" -top "$top" -width $((right - left)) -height $((bottom - top)) \
    "$scratch/screen.pnm" | pnmtopng >"$out.part"
  mv "$out.part" "$out"
  exit 0
fi

out="$root/docs/screenshot.png"
if [ "${1:-}" = "-o" ]; then
  [ $# -ge 2 ] || { echo "usage: $0 [-o OUT.png] [PROGRAM [ARGUMENT]...]" >&2; exit 2; }
  out="$(realpath -m "$2")"
  shift 2
fi
if [ $# -eq 0 ]; then
  set -- "$root/build/src/app/plotcraftsman" "$root/resources/Examples/sinx.fx"
fi
if ! command -v "$1" >/dev/null; then
  echo "screenshot: no program $1; build it first (make build)" >&2
  exit 1
fi

# xvfb-run and the virtual screen; xwd to capture it; xwininfo to watch the windows;
# netpbm to lay the captures together and turn them into PNG.
declare -A package_of=([xvfb-run]=xvfb [xwd]=x11-apps [xwininfo]=x11-utils
  [xwdtopnm]=netpbm [pamcomp]=netpbm [pamcut]=netpbm [pnmtopng]=netpbm)
missing=()
for tool in "${!package_of[@]}"; do
  command -v "$tool" >/dev/null || missing+=("${package_of[$tool]}")
done
if [ ${#missing[@]} -gt 0 ]; then
  mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "screenshot: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$(dirname "$out")"
# The program as a new user first sees it: none of the settings and files of whoever takes
# the picture, and none left behind.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
# No splash window in the picture; the program draws as on any X screen.
XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
  XDG_RUNTIME_DIR="$scratch/runtime" PLOTCRAFTSMAN_NO_SPLASH=1 QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside "$out" "$@"
echo "wrote $out"
