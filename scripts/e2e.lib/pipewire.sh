# shellcheck shell=bash
# The PipeWire sound server of scripts/e2e: pipewire, WirePlumber and
# pipewire-pulse with their own runtime folder and session bus; the programs,
# pactl and parec reach it through pipewire-pulse's socket, as they would
# reach PulseAudio, and the null sink is made the way a user would make it
# (pactl load-module module-null-sink).

# shellcheck disable=SC2034 # read by scripts/e2e
sound_tools=(pipewire wireplumber pipewire-pulse dbus-daemon)

sound_start() {
  mkdir -m 700 "$E2E_TMP/pipewire" "$E2E_TMP/state"
  export PULSE_SERVER="unix:$E2E_TMP/pipewire/pulse/native"
  # The session bus a desktop gives its sound server; it outlives restarts
  # of the server (e2e_sound_server_down / up).
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$E2E_TMP/bus" \
    >>"$E2E_ARTIFACTS/pipewire.log" 2>&1 &
  E2E_SERVER_PIDS+=($!)
  e2e_wait_for test -S "$E2E_TMP/bus" || { e2e_fail "the session bus did not start (see pipewire.log)"; return 1; }
  run_sound_server || return 1
  e2e_log "PipeWire (pipewire-pulse) with null sink $E2E_SINK at $PULSE_SERVER"
}

run_sound_server() {
  local runtime="$E2E_TMP/pipewire" pids=() program
  local as_desktop=(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$runtime"
    XDG_STATE_HOME="$E2E_TMP/state" DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/bus")
  # pipewire-pulse first: E2E_PULSE_PID is the process that speaks to the programs.
  "${as_desktop[@]}" pipewire >>"$E2E_ARTIFACTS/pipewire.log" 2>&1 &
  pids+=($!)
  e2e_wait_for test -S "$runtime/pipewire-0" || { e2e_fail "pipewire did not start (see pipewire.log)"; return 1; }
  for program in wireplumber pipewire-pulse; do
    "${as_desktop[@]}" "$program" >>"$E2E_ARTIFACTS/pipewire.log" 2>&1 &
    pids+=($!)
  done
  sound_server_started "${pids[2]}" "${pids[0]}" "${pids[1]}"
  e2e_wait_for pactl info || { e2e_fail "pipewire-pulse did not start (see pipewire.log)"; return 1; }
  pactl load-module module-null-sink sink_name="$E2E_SINK" rate=48000 \
    sink_properties=device.description=e2e >/dev/null
  # WirePlumber links the sink into the graph once it has seen it.
  e2e_wait_for bash -c "pactl list short sinks | grep -q '$E2E_SINK'" ||
    { e2e_fail "the null sink did not appear (see pipewire.log)"; return 1; }
  sound_server_ready
}
