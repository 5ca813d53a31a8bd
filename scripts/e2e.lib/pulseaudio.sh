# shellcheck shell=bash
# The PulseAudio sound server of scripts/e2e: a private daemon whose only
# sink is the null sink, on its own socket.

# shellcheck disable=SC2034 # read by scripts/e2e
sound_tools=(pulseaudio)

sound_start() {
  mkdir -m 700 "$E2E_TMP/pulse"
  export PULSE_SERVER="unix:$E2E_TMP/pulse/native"
  run_sound_server || return 1
  e2e_log "PulseAudio with null sink $E2E_SINK at $PULSE_SERVER"
}

run_sound_server() {
  local runtime="$E2E_TMP/pulse"
  # No default script (no hardware, no session bus), one null sink,
  # anonymous access through its own socket.  It also runs as root (with a
  # warning), which containers need.
  env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$E2E_TMP/home" \
    XDG_RUNTIME_DIR="$E2E_TMP/xdg" PULSE_RUNTIME_PATH="$runtime" \
    pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --use-pid-file=no \
    --realtime=false --high-priority=false --log-target=stderr --log-level=notice \
    -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" \
    -L "module-null-sink sink_name=$E2E_SINK rate=48000 sink_properties=device.description=e2e" \
    >>"$E2E_ARTIFACTS/pulseaudio.log" 2>&1 &
  sound_server_started $!
  e2e_wait_for pactl info || { e2e_fail "PulseAudio did not start (see pulseaudio.log)"; return 1; }
  sound_server_ready
}
