# shellcheck shell=bash
# e2e-displays: wayland xwayland
# On a tiling desktop, notivo and keyrig, fixed-size borderless windows, float
# at their own size (538 x 318 and 376 x 121) instead of being tiled to fill
# the screen.
faults=()
placed() { # name, expected size
  local x y w h
  read -r x y w h < <(e2e_window_geometry)
  e2e_log "$1: ${w}x$h at $x,$y"
  e2e_window_floats || faults+=("$1 is tiled, not floating")
  [ "${w}x$h" = "$2" ] || faults+=("$1 is ${w}x$h, not $2")
}

e2e_start_program notivo "$(e2e_program notivo)"
sleep 1 # the window settles where the desktop put it
e2e_screenshot desktop_notivo
placed notivo 538x318
e2e_stop_program

folder=$(e2e_keyrig_folder keyrig_windows_folder)
e2e_start_program keyrig "$folder/keyrig"
sleep 1
e2e_screenshot desktop_keyrig
placed keyrig 376x121

[ ${#faults[@]} -eq 0 ] || e2e_fail "$(printf '%s; ' "${faults[@]}")"
