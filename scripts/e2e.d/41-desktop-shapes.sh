# shellcheck shell=bash
# e2e-displays: wayland xwayland
# Where the desktop composites, nothing of a shaped window is drawn outside
# its shape: in a screenshot of the window, every pixel outside keyrig's
# rounded rectangle (corner ellipses 50 x 30 from (1, 1) to its size) and
# outside notivo's shape (rounded top corners, ellipses 15 x 15, the other
# edges trimmed by a pixel) shows the desktop's own colour.  On Wayland also
# on the output at scale 2.
outside="$(dirname "${BASH_SOURCE[0]}")/outside_shape.py"
faults=()

# Screenshot NAME of E2E_WINDOW, compared with the shape PARTs (window pixels).
shaped() {
  local name=$1 w h image width height
  shift
  e2e_pointer_park
  sleep 0.3 # a tooltip the pointer raised closes
  read -r _ _ w h < <(e2e_window_geometry)
  e2e_window_screenshot "$name"
  image="$E2E_ARTIFACTS/$name.png"
  read -r width height < <(identify -format '%w %h\n' "$image")
  convert "$image" -depth 8 "rgb:$E2E_TMP/$name.rgb"
  local report status=0
  report=$(python3 "$outside" "$E2E_TMP/$name.rgb" "$width" "$height" "$((width / w))" "$E2E_DESKTOP_COLOUR" \
    "$@" 2>&1) || status=$?
  e2e_log "$name (${w}x$h, $width x $height pixels): $report"
  [ "$status" -eq 0 ] || faults+=("$name draws outside its shape")
}

keyrig_shape() { echo "round:1,1,$1,$2,50,30"; }
notivo_shape() { echo "round:1,1,$1,28,15,15 rect:1,20,$(($1 - 1)),$(($2 - 1))"; }
size() { e2e_window_geometry | awk '{ print $3, $4 }'; }
# The window again on the output at scale 2, where a native window draws
# twice the pixels.  (X clients know nothing of the scale; once their windows
# had been there, sway's Xwayland lost clicks in later windows.)
at_scale2() { # name, shape
  [ "$E2E_DISPLAY" = wayland ] || return 0
  e2e_window_to_output "$E2E_HIDPI_OUTPUT"
  sleep 0.5 # drawn again at the new scale
  # shellcheck disable=SC2046
  shaped "$1" $("$2" $(size))
}

folder=$(e2e_keyrig_folder keyrig_shapes_folder)
e2e_start_program keyrig "$folder/keyrig"
sleep 1
# shellcheck disable=SC2046
shaped keyrig_shape $(keyrig_shape $(size))
at_scale2 keyrig_shape_scale2 keyrig_shape
e2e_stop_program

e2e_desktop_reset
e2e_start_program notivo "$(e2e_program notivo)"
sleep 1
# shellcheck disable=SC2046
shaped notivo_shape $(notivo_shape $(size))
at_scale2 notivo_shape_scale2 notivo_shape

[ ${#faults[@]} -eq 0 ] || e2e_fail "$(printf '%s; ' "${faults[@]}")"
