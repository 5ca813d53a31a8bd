# shellcheck shell=bash
# e2e-displays: xvfb wayland xwayland
# e2e-sound: pulseaudio pipewire
# The sound core as a person meets it: notivo's start-up middle C lasts its
# quarter of a second at the synthesiser although the SoundFont was still
# loading when it was sent; keyrig's stream stops feeding the server once it
# falls silent, and a key pressed after five seconds of silence still
# sounds.  At rest keyrig has no stream on PulseAudio at all, and a corked
# one on PipeWire (where a new stream would wait for the session manager).
# Each program writes what reached its synthesiser to a trace
# (--synth-trace): "play <us> <message> <sent us>", "wake", "sleep", "onset".
notivo=$(e2e_program notivo)

trace="$E2E_ARTIFACTS/notivo_trace.txt"
e2e_start_program notivo "$notivo" --synth-trace "$trace"
sleep 1.5
e2e_stop_program
# Note-on 60 at velocity 127 is 0x7F3C90, its note-off 0x3C80.
length=$(awk '$1 == "play" && $3 == 8338576 && !on { on = $2 }
              $1 == "play" && $3 == 15488 && on && !off { off = $2 }
              END { if (on && off) printf "%.1f", (off - on) / 1000 }' "$trace")
[ -n "$length" ] || e2e_fail "the start-up middle C did not reach the synthesiser (see notivo_trace.txt)"
e2e_log "start-up middle C lasted $length ms at the synthesiser"
awk -v l="$length" 'BEGIN { exit !(l >= 240 && l <= 260) }' ||
  e2e_fail "the start-up middle C lasted $length ms, not 250"

folder=$(e2e_keyrig_folder keyrig_sound_folder)
trace="$E2E_ARTIFACTS/keyrig_trace.txt"
e2e_start_program keyrig "$folder/keyrig" --synth-trace "$trace"
sleep 5.5
! grep -q '^wake ' "$trace" || e2e_fail "keyrig's stream ran with nothing to play"
# "streams playing": keyrig's streams on the server, and those of them not corked.
keyrig_streams() {
  pactl list sink-inputs | awk '/^Sink Input #/ { corked = "" } $1 == "Corked:" { corked = $2 }
    /application.name = "keyrig"/ { n++; if (corked == "no") playing++ } END { print n + 0, playing + 0 }'
}
resting="0 0"
pactl info | grep -q '^Server Name: .*PipeWire' && resting="1 0"
[ "$(keyrig_streams)" = "$resting" ] ||
  e2e_fail "keyrig's streams on the sound server while silent: $(keyrig_streams) (all, playing), not $resting"

e2e_record_start keyrig_after_silence
e2e_keydown z
sleep 0.2
e2e_keyup z
[ "$(keyrig_streams)" = "1 1" ] || e2e_fail "keyrig has no playing stream on the sound server while sounding"
sleep 0.3
e2e_record_stop
e2e_assert_sound keyrig_after_silence
grep -q '^onset ' "$trace" || e2e_fail "the note was never rendered"

# The tail rings out, then a second of silence.
e2e_wait_for awk '$1 == "wake" { w = NR } $1 == "sleep" { s = NR } END { exit !(w && s > w) }' "$trace" ||
  e2e_fail "keyrig's stream kept running after the note had ended"
[ "$(keyrig_streams)" = "$resting" ] || e2e_fail "keyrig's stream kept playing on the sound server after it slept"
e2e_log "keyrig's stream woke for the key and slept again once silent"
