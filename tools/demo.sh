#!/usr/bin/env bash
# Starts the controller simulator on a pseudo-terminal and flightdesk with the
# simulator's port first in its list. However the demo ends (the window closed,
# Ctrl-C, the script killed), both programs stop and the link goes away.
set -euo pipefail
build=${1:-build}
link=${NOVALK_SIM_LINK:-/tmp/novalk-sim}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "make demo needs a display (DISPLAY is not set)." >&2
  echo "Without one, try: xvfb-run -a make demo" >&2
  exit 1
fi

sim=""
desk=""
output=$(mktemp -t novalk-demo.XXXXXX)
stop() {
  trap - EXIT INT TERM HUP
  # flightdesk runs in the background so that a signal reaches this trap at
  # once; it must not outlive the demo as a window on a vanished port.
  # Either may have ended already.
  if [ -n "$desk" ]; then kill "$desk" 2>/dev/null || true; fi
  if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -f "$output"
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# The simulator's output stays on the terminal (it logs the commands it
# receives) and is kept to read the first line: the path a tool opens, printed
# once the link exists. Polling for the link instead would be fooled by a stale
# one left behind by a simulator that was killed.
"$build/sim/novalk-sim" --link "$link" > >(trap '' INT; tee "$output") &
sim=$!
port=""
for _ in $(seq 1 100); do
  if [ -s "$output" ] && [ "$(wc -l < "$output")" -gt 0 ]; then
    port=$(head -n 1 "$output")
    break
  fi
  kill -0 "$sim" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "The simulator did not start." >&2
  exit 1
fi

echo "flightdesk lists the simulator's port $port first: press Connect to see it move."
"$build/console/flightdesk" --port "$port" &
desk=$!
wait "$desk"
