# shellcheck shell=bash
# The built-in synthesiser opens through the MIDI service, reaches the audio
# server with a small buffer, and a chord played into it is heard at the sink.
probe="$E2E_BUILD_DIR/bench/bench_synth_probe"
[ -x "$probe" ] || e2e_fail "$probe is not built (scripts/build)"

e2e_record_start synth
"$probe" 1.5 | tee "$E2E_ARTIFACTS/synth_probe.txt"
e2e_record_stop
e2e_assert_sound synth

grep -q '^synth_probe.driver: pulseaudio$' "$E2E_ARTIFACTS/synth_probe.txt" ||
  e2e_fail "the synthesiser did not play through PulseAudio"
latency=$(awk '/^synth_probe.latency_ms:/ { print $2 }' "$E2E_ARTIFACTS/synth_probe.txt")
awk -v l="$latency" 'BEGIN { exit !(l > 0 && l <= 10) }' ||
  e2e_fail "configured latency $latency ms is above 10 ms"
