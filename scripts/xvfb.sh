# Sourced: makes sure there is an X display for Wine. Uses $DISPLAY when it is
# set and answers; otherwise starts a private Xvfb and stops it on exit.
start_private_display() {
  local number
  for number in $(seq 90 130); do
    [ -e "/tmp/.X${number}-lock" ] && continue
    Xvfb ":${number}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    VANTISK_XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X${number}" ] && break
      sleep 0.1
    done
    export DISPLAY=":${number}"
    trap 'kill "$VANTISK_XVFB_PID" 2>/dev/null || true' EXIT
    echo "No usable display: started a private Xvfb on $DISPLAY" >&2
    return 0
  done
  echo "Could not start Xvfb" >&2
  return 1
}

display_answers() { [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; }
display_answers || start_private_display
