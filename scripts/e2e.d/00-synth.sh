# shellcheck shell=bash
# e2e-sound: pulseaudio pipewire
# The built-in synthesiser opens through the MIDI service, plays into its own
# stream of the sound server, and a chord played into it is heard at the sink.
probe="$E2E_BUILD_DIR/bench/bench_synth_probe"
[ -x "$probe" ] || e2e_fail "$probe is not built (scripts/build)"

e2e_record_start synth
"$probe" 1.5 | tee "$E2E_ARTIFACTS/synth_probe.txt"
e2e_record_stop
e2e_assert_sound synth

# The server reported the stream's latency while it played.
grep -Eq '^synth_probe.output_latency_ms: [0-9.]+ ms$' "$E2E_ARTIFACTS/synth_probe.txt" ||
  e2e_fail "the sound server reported no latency for the synthesiser's stream"
