# shellcheck shell=bash
# The sway displays of scripts/e2e: sway on its headless backend (pixman
# renderer, no input devices of its own) with two outputs of fixed size, the
# second at scale 2, and Xwayland.  E2E_DISPLAY=wayland runs the programs
# natively (Qt's wayland platform), E2E_DISPLAY=xwayland through sway's
# Xwayland (Qt's xcb platform).  sway refuses to run as root: as root it runs
# as the unprivileged user E2E_SWAY_USER (made when missing); the programs
# stay the invoking user's and reach its sockets by their paths.
# Windows are sway container ids, found in `swaymsg -t get_tree`; keys and
# clicks come from tests/e2e/virtual_input (the system's keymap, so scan
# codes are a real keyboard's), screenshots from grim.

# shellcheck disable=SC2034 # read by scripts/e2e
display_tools=(sway swaymsg swaybg grim jq setpriv)
[ "$E2E_DISPLAY" = wayland ] || display_tools+=(Xwayland xhost)

E2E_SWAY_USER=${E2E_SWAY_USER:-e2e-rig}
# The desktop behind the windows: what a pixel outside a window's shape shows.
E2E_DESKTOP_COLOUR='#1d5a80'
E2E_MAIN_OUTPUT=HEADLESS-1
E2E_HIDPI_OUTPUT=HEADLESS-2
export E2E_DESKTOP_COLOUR E2E_MAIN_OUTPUT E2E_HIDPI_OUTPUT

sway_user() {
  [ "$(id -u)" -eq 0 ] || { id -un; return 0; }
  id -u "$E2E_SWAY_USER" >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$E2E_SWAY_USER" ||
    { e2e_fail "cannot create the user $E2E_SWAY_USER for sway"; return 1; }
  echo "$E2E_SWAY_USER"
}

# No bar, no idle daemon, no window rules: a window is placed by what it asks for.
sway_config() {
  local xwayland=disable
  [ "$E2E_DISPLAY" = wayland ] || xwayland=force
  cat <<CONF
output $E2E_MAIN_OUTPUT mode 1280x1024 position 0 0 scale 1 bg $E2E_DESKTOP_COLOUR solid_color
output $E2E_HIDPI_OUTPUT mode 1280x1024 position 1280 0 scale 2 bg $E2E_DESKTOP_COLOUR solid_color
workspace 1 output $E2E_MAIN_OUTPUT
workspace 2 output $E2E_HIDPI_OUTPUT
focus_follows_mouse no
xwayland $xwayland
exec $1/announce
CONF
}

# Run by sway once it is up: lets the invoking user's programs in to its
# Xwayland, which admits only sway's user, and writes where its sockets are.
sway_announce() {
  cat <<SCRIPT
#!/bin/sh
[ -z "\${DISPLAY:-}" ] || xhost +si:localuser:$(id -un) >/dev/null || exit 1
printf '%s\n' "\$WAYLAND_DISPLAY" "\${DISPLAY:-}" "\$SWAYSOCK" >$1/ready.part && mv $1/ready.part $1/ready
SCRIPT
}

display_start() {
  local user runtime="$E2E_TMP/sway" as_user=()
  user=$(sway_user) || return 1
  [ -x "$E2E_BUILD_DIR/tests/e2e/virtual_input" ] ||
    { e2e_fail "$E2E_BUILD_DIR/tests/e2e/virtual_input is not built (scripts/build)"; return 1; }
  # sway's user reaches its own runtime folder, and nothing else of ours.
  chmod 711 "$E2E_TMP"
  mkdir -m 700 "$runtime"
  sway_config "$runtime" >"$runtime/config"
  sway_announce "$runtime" >"$runtime/announce"
  chmod 755 "$runtime/announce"
  if [ "$(id -u)" -eq 0 ]; then
    chown -R "$user:" "$runtime"
    as_user=(setpriv --reuid="$user" --regid="$user" --clear-groups)
    # Xwayland's sockets live in the shared folder of every X server.
    [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
  fi
  "${as_user[@]}" env -i PATH="$PATH" HOME="$runtime" XDG_RUNTIME_DIR="$runtime" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=2 \
    sway -c "$runtime/config" >"$E2E_ARTIFACTS/sway.log" 2>&1 &
  E2E_SERVER_PIDS+=($!)
  E2E_DISPLAY_PID=$!
  e2e_wait_for test -s "$runtime/ready" || { e2e_fail "sway did not start (see sway.log)"; return 1; }
  local wayland x11 ipc
  { read -r wayland; read -r x11; read -r ipc; } <"$runtime/ready"
  export WAYLAND_DISPLAY="$runtime/$wayland" SWAYSOCK="$ipc"
  if [ "$E2E_DISPLAY" = wayland ]; then
    unset DISPLAY
    export QT_QPA_PLATFORM=wayland
  else
    export DISPLAY="$x11" QT_QPA_PLATFORM=xcb
  fi
  start_virtual_input || return 1
  e2e_log "sway ($E2E_DISPLAY) at $WAYLAND_DISPLAY${DISPLAY:+, Xwayland on $DISPLAY}, running as $user"
}

# One input client for the whole run, so a key held by one command stays
# held until another releases it.  e2e_input writes a command and waits for
# the client's answer.
start_virtual_input() {
  mkfifo "$E2E_TMP/input.in" "$E2E_TMP/input.out"
  "$E2E_BUILD_DIR/tests/e2e/virtual_input" <"$E2E_TMP/input.in" >"$E2E_TMP/input.out" \
    2>>"$E2E_ARTIFACTS/virtual_input.log" &
  E2E_SERVER_PIDS+=($!)
  exec {E2E_INPUT_TO}>"$E2E_TMP/input.in" {E2E_INPUT_FROM}<"$E2E_TMP/input.out"
  e2e_pointer_park
}

# The pointer rests in a corner, off every window (and its tooltips).
e2e_pointer_park() { e2e_input move 1279 1023; }

e2e_input() {
  local reply
  echo "$*" >&"$E2E_INPUT_TO"
  read -r -t "$E2E_TIMEOUT" reply <&"$E2E_INPUT_FROM" ||
    { e2e_fail "the input client did not answer '$*' (see virtual_input.log)"; return 1; }
  [ "$reply" = ok ] || { e2e_fail "input '$*': $reply"; return 1; }
}

# Each check starts on the main output with the pointer off every window.
e2e_desktop_reset() {
  swaymsg -q focus output "$E2E_MAIN_OUTPUT" && e2e_pointer_park
}

# Every window of the tree, one JSON object a line.
sway_windows() {
  swaymsg -t get_tree | jq -c '.. | objects | select((.type == "con" or .type == "floating_con") and .pid != null)'
}

display_windows_of_pid() {
  sway_windows | jq -r --argjson pid "$1" 'select(.pid == $pid and .visible) | .id'
}
display_window_of_pid() { display_windows_of_pid "$1" | head -n1; }
display_window_titled() {
  sway_windows | jq -r --arg title "$1" 'select(.visible and ((.name // "") | test($title))) | .id' | head -n1
}

sway_window() {
  sway_windows | jq -c --argjson id "${1:-$E2E_WINDOW}" 'select(.id == $id)' | grep . ||
    { e2e_fail "no window ${1:-$E2E_WINDOW}"; return 1; }
}

# "X Y WIDTH HEIGHT" of a window's contents in the output layout.
e2e_window_geometry() {
  sway_window "${1:-}" | jq -r '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height)"'
}

# Succeeds when sway lets the window float instead of tiling it.
e2e_window_floats() { [ "$(sway_window "${1:-}" | jq -r .type)" = floating_con ]; }

e2e_window_to_output() {
  swaymsg -q "[con_id=$E2E_WINDOW] move container to output $1, focus" &&
    e2e_wait_for bash -c "swaymsg -t get_tree | jq -e --argjson id $E2E_WINDOW --arg out $1 \
      '.nodes[] | select(.name == \$out) | .. | objects | select(.id? == \$id and .visible)'"
}

# The scale of the output a point of the layout lies on.
sway_scale_at() {
  swaymsg -t get_outputs | jq -r --argjson x "$1" --argjson y "$2" 'first(.[] | select(.active and
    $x >= .rect.x and $x < .rect.x + .rect.width and $y >= .rect.y and $y < .rect.y + .rect.height) | .scale)'
}

e2e_click() {
  local x y w h
  read -r x y w h < <(e2e_window_geometry) || return 1
  e2e_input click $((x + $1)) $((y + $2)) "${3:-1}"
}

display_focus_window() { swaymsg -q "[con_id=$1] focus"; }
e2e_focus() { display_focus_window "$E2E_WINDOW"; }

# Keys and text for the window that has the keyboard.
display_keys() {
  local key
  for key; do e2e_input press "$key" || return 1; done
}
display_type() { e2e_input type "$1"; }

e2e_key() { e2e_focus && display_keys "$@"; }
e2e_keydown() { e2e_focus && e2e_input keydown "$1"; }
e2e_keyup() { e2e_focus && e2e_input keyup "$1"; }

# The output that shows the window (or the focused one), at its own scale.
e2e_screenshot() {
  local output
  output=$(swaymsg -t get_workspaces | jq -r 'first(.[] | select(.focused)) | .output')
  grim -o "${output:-$E2E_MAIN_OUTPUT}" "$E2E_ARTIFACTS/$1.png"
  e2e_log "screenshot $1.png"
}

# The window's contents alone, in the pixels of its output's scale.
e2e_window_screenshot() {
  local x y w h
  read -r x y w h < <(e2e_window_geometry) || return 1
  grim -s "$(sway_scale_at "$x" "$y")" -g "$x,$y ${w}x$h" "$E2E_ARTIFACTS/$1.png"
}
