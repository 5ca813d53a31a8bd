# shellcheck shell=bash
# The Xvfb display of scripts/e2e: a private X server with no window manager;
# windows are found, clicked, typed into and photographed with xdotool and
# ImageMagick.  Windows are X window ids.

# shellcheck disable=SC2034 # read by scripts/e2e
display_tools=(Xvfb xdotool import)

display_start() {
  # -displayfd picks a free display and writes its number once it is ready.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$E2E_TMP/display" >"$E2E_ARTIFACTS/xvfb.log" 2>&1 &
  E2E_SERVER_PIDS+=($!)
  E2E_DISPLAY_PID=$!
  e2e_wait_for grep -q . "$E2E_TMP/display" || { e2e_fail "Xvfb did not start (see xvfb.log)"; return 1; }
  DISPLAY=":$(head -n1 "$E2E_TMP/display")"
  export DISPLAY QT_QPA_PLATFORM=xcb
  e2e_log "Xvfb on display $DISPLAY"
}

# Each check starts as the last one left the screen: no window manager
# keeps any state of a window that is gone.
e2e_desktop_reset() { :; }

# The first visible window of a process (Qt marks its windows with the
# process id), or of a title matching a pattern.
display_windows_of_pid() { xdotool search --onlyvisible --pid "$1" 2>/dev/null; }
display_window_of_pid() { display_windows_of_pid "$1" | head -n1; }
display_window_titled() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }

# "X Y WIDTH HEIGHT" of a window (default E2E_WINDOW) on the screen.
e2e_window_geometry() {
  xdotool getwindowgeometry --shell "${1:-$E2E_WINDOW}" | awk -F= '
    { v[$1] = $2 } END { print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }'
}

e2e_click() {
  xdotool mousemove --window "$E2E_WINDOW" "$1" "$2" click "${3:-1}"
}

display_focus_window() {
  # Bounded: without a window manager a refused focus would wait forever.
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
}
e2e_focus() { display_focus_window "$E2E_WINDOW"; }

# Keys and text for the window that has the keyboard.
display_keys() { xdotool key --delay 50 "$@"; }
display_type() { xdotool type --delay 20 "$1"; }

e2e_key() { e2e_focus && display_keys "$@"; }
e2e_keydown() { e2e_focus && xdotool keydown "$1"; }
e2e_keyup() { e2e_focus && xdotool keyup "$1"; }

e2e_screenshot() {
  import -window root "$E2E_ARTIFACTS/$1.png"
  e2e_log "screenshot $1.png"
}

e2e_window_screenshot() {
  import -window "$E2E_WINDOW" "$E2E_ARTIFACTS/$1.png"
}

# The pointer rests in a corner, off every window (and its tooltips).
e2e_pointer_park() { xdotool mousemove 1270 1010; }
