#!/usr/bin/env bash
# Starts the controller simulator on a pseudo-terminal and flightdesk connected to
# it; the simulator stops when the window closes.
set -euo pipefail
build=${1:-build}
link=${NOVALK_SIM_LINK:-/tmp/novalk-sim}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "make demo needs a display (DISPLAY is not set)." >&2
  echo "Without one, try: xvfb-run -a make demo" >&2
  exit 1
fi

"$build/sim/novalk-sim" --link "$link" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT

for _ in $(seq 1 50); do
  [ -e "$link" ] && break
  sleep 0.1
done
if [ ! -e "$link" ]; then
  echo "The simulator did not create $link." >&2
  exit 1
fi

echo "flightdesk is connected to the simulator at $link: press Connect to see it move."
"$build/console/flightdesk" --port "$link"
