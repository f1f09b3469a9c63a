#!/usr/bin/env bash
# Makes the pictures of docs/guide.md from the real window: a newcomer's first minutes on a
# virtual X server (1280x900), driven with xdotool, each picture cut to the window shown.
# Needs xvfb, xauth, imagemagick and xdotool; run it from the repository after a build:
#   xvfb-run -a -s "-screen 0 1280x900x24" bash scripts/guide-pictures.sh
# With SHOTS=DIR it also keeps whole-screen pictures of the help window and a tooltip there.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$PWD/build/app/qt/weightbalance
pictures=$PWD/docs/images
mkdir -p "$pictures"
scratch=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/settings" "$scratch/start" "$scratch/Shop data"
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data

# Without a window manager nobody hands the keyboard back after a message box: the script does.
focus_main() { xdotool windowfocus --sync "$main"; sleep 0.3; }
keys() { xdotool type --delay 15 "$1"; xdotool key Return; }
# Two thirds of the window: the help window shows them whole beside the text.
window_picture() { import -window "$main" -resize 66% "$pictures/$1"; }

(cd "$scratch/start" && exec "$program" --settings "$scratch/settings") &
pid=$!
sleep 6  # the splash, then the folder list reading its way to the settings folder
main=$(xdotool search --onlyvisible --name '^Weight and Balance$' | head -1)
focus_main
window_picture first-start.png
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/first-start.png"

# The places below are those of the window as it opens on a 1280x900 screen.
# The folder list stands on the settings folder; "Shop data" is the next one down. Save.
xdotool mousemove 352 306 click 1 key Down
sleep 0.5
xdotool mousemove 266 435 click 1
sleep 1
xdotool key Return  # the message that says where the records are kept
focus_main

# The company, in the set-up panel that opened because it was missing.
for line in "Skyline Avionics" "1 Field Rd" "Dayton, OH 45401" "937-555-0100" "Weight and Balance" \
  "Equipment List" "J. Smith"; do keys "$line"; done
xdotool type --delay 15 "A&P 123"
window_picture setup.png
xdotool key Escape
sleep 0.5
xdotool key ctrl+n y  # a fresh Worksheet with the default mechanic; Yes to the question
sleep 0.5
focus_main

# An equipment change: the identity, the previous empty weight and C.G., two rows.
for line in n733bm 17265432 Cessna 172N 1978 4512.5 1663.5 39.36 2300 "" "" WO-1187 ""; do keys "$line"; done
xdotool key Down  # row 0 holds the previous empty weight
for line in "Garmin GTN 650" 1234 6.8 14.5 X "" "KX 155 radio" 8765 5.9 14.2 "" X; do keys "$line"; done
sleep 0.5
window_picture worksheet.png
xdotool key ctrl+s
sleep 0.7

if [ -n "${SHOTS:-}" ]; then
  xdotool key F1
  sleep 1.5
  import -window root "$SHOTS/help.png"
  xdotool key Escape
  focus_main
  xdotool mousemove 717 616
  sleep 2.5
  import -window root "$SHOTS/tooltip.png"
fi
echo "pictures in $pictures"
