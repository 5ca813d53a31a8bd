# shellcheck shell=bash
# e2e-displays: xvfb wayland xwayland
# e2e-sound: pulseaudio pipewire
# The sound server restarts under a running keyrig, as it does on a desktop
# after an update: a key pressed while it is away is lost quietly, and the
# next key once it is back connects again and sounds.
folder=$(e2e_keyrig_folder keyrig_restart_folder)
trace="$E2E_ARTIFACTS/keyrig_restart_trace.txt"
e2e_start_program keyrig "$folder/keyrig" --synth-trace "$trace"
sleep 1

e2e_sound_server_down
e2e_wait_for grep -q '^lost ' "$trace" || e2e_fail "keyrig did not notice that the sound server ended"
e2e_keydown x # heard by nobody: there is no server
sleep 0.1
e2e_keyup x
e2e_sound_server_up
sleep 2 # a note right after a failed try waits for the next one

e2e_record_start keyrig_after_restart
e2e_keydown z
sleep 0.2
e2e_keyup z
sleep 0.3
e2e_record_stop
e2e_assert_sound keyrig_after_restart
grep -q '^stream ' <(sed -n '/^lost /,$p' "$trace") || e2e_fail "keyrig did not connect again"
e2e_log "keyrig connected again after the sound server restarted"
