# shellcheck shell=bash
# e2e-sound: pulseaudio pipewire
# The sound core, measured in the running programs (--synth-trace) with the
# private sound server's null sink and nothing else playing into it
# (scripts/bench names the figures of PipeWire with a .pipewire suffix):
#   sound_server.baseline_cpu_percent  the server alone (all its processes), 10 s
#   notivo / keyrig / sound_server .idle_cpu_percent
#                          share of one core over 10 s with both programs
#                          idle after start-up (/proc/PID/task/*/schedstat)
#   synth.output_latency_ms  keyrig's stream latency as the server reports it
#                          while playing (median), plus one synthesiser block
#   keyrig.key_to_sound_median_ms / _p99_ms
#                          key event in keyrig's window to the first rendered
#                          block above -60 dBFS, over SOUND_PRESSES presses
#                          (default 100) with the stream running and as many
#                          after 5 s of silence
#   keyrig.key_to_sound_after_silence_p99_ms   the latter alone
#   keyrig.key_to_server_after_silence_p99_ms  from such a key to the
#                          server's first request for audio: where the stream
#                          rests on the server (corked), the first blocks are
#                          rendered before it plays them
#   synth.wake_median_ms / _p99_ms  from the stream's start after silence
#                          to the server's first request for audio: the round
#                          trip that creates the stream on the server, or
#                          restarts its corked one
#   keyrig.key_to_ear_ms   the p99 plus the output latency
presses=${SOUND_PRESSES:-100}

# shellcheck source=scripts/e2e.lib/cpu.sh
. scripts/e2e.lib/cpu.sh
server=$(IFS=,; echo "${E2E_SOUND_PIDS[*]}")

xdotool mousemove 1270 1010 # the pointer rests off both windows

echo "sound_server.baseline_cpu_percent: $(cpu_percent 10 "$server") %"

notivo_trace="$E2E_ARTIFACTS/bench_notivo_trace.txt"
keyrig_trace="$E2E_ARTIFACTS/bench_keyrig_trace.txt"
folder=$(e2e_keyrig_folder bench_keyrig_folder)
e2e_start_program notivo "$(e2e_program notivo)" --synth-trace "$notivo_trace"
notivo_pid=$E2E_PID
e2e_start_program keyrig "$folder/keyrig" --synth-trace "$keyrig_trace"
keyrig_pid=$E2E_PID
sleep 4 # the start-up note rings out and the streams fall asleep
mapfile -t idle < <(cpu_percent 10 "$notivo_pid" "$keyrig_pid" "$server")
echo "notivo.idle_cpu_percent: ${idle[0]} %"
echo "keyrig.idle_cpu_percent: ${idle[1]} %"
echo "sound_server.idle_cpu_percent: ${idle[2]} %"
e2e_stop_program "$notivo_pid"

e2e_focus
press() {
  xdotool keydown z
  sleep 0.05
  xdotool keyup z
}
# With the stream running: the note's tail has fallen below the onset
# threshold (-60 dBFS, which takes up to a second), but not yet to the
# silence that lets the stream sleep (about two seconds after the key).
for _ in $(seq "$presses"); do
  press
  sleep 1.4
done
# After five seconds of silence: the stream has been asleep for four.
for _ in $(seq "$presses"); do
  lines=$(wc -l <"$keyrig_trace")
  waited=0
  until tail -n +"$((lines + 1))" "$keyrig_trace" | grep -q '^sleep '; do
    [ "$waited" -lt 600 ] || e2e_fail "keyrig's stream did not fall asleep"
    sleep 0.05
    waited=$((waited + 1))
  done
  sleep 4
  press
done
sleep 0.5
e2e_stop_program "$keyrig_pid"

awk -v want="$presses" '
  function percentile(list, n, p,   sorted, i, j, t, k) {
    for (i = 1; i <= n; i++) sorted[i] = list[i]
    for (i = 2; i <= n; i++) { t = sorted[i]; for (j = i - 1; j >= 1 && sorted[j] > t; j--) sorted[j + 1] = sorted[j]; sorted[j + 1] = t }
    k = int(p * n); if (k < p * n) k++; if (k < 1) k = 1
    return sorted[k]
  }
  $1 == "stream" { block_ms = 1000 * $4 / $3; asleep = 1 } # it starts stopped
  $1 == "sleep" { asleep = 1 }
  $1 == "wake" { asleep = 0; woke = $2 }
  $1 == "ready" && woke { wake[++nwake] = ($2 - woke) / 1000; woke = 0 }
  $1 == "ready" && woken_by { server[++nserver] = ($2 - woken_by) / 1000; woken_by = 0 }
  $1 == "latency" { lat[++nlat] = $3 / 1000 }
  $1 == "key" { key = $2; silent = asleep; if (asleep) woken_by = $2 }
  $1 == "onset" && key && $3 >= key && $3 - key < 50000 {
    ms = ($2 - key) / 1000
    all[++nall] = ms
    if (silent) after[++nafter] = ms
    key = 0
  }
  END {
    if (nall < 2 * want || nafter < want || !nlat || nwake < want || nserver < want) {
      printf "sound bench: %d presses measured (%d after silence), %d latency reports\n", nall, nafter, nlat > "/dev/stderr"
      exit 1
    }
    out = percentile(lat, nlat, 0.5) + block_ms
    p99 = percentile(all, nall, 0.99)
    printf "synth.output_latency_ms: %.2f ms\n", out
    printf "keyrig.key_to_sound_presses: %d presses\n", nall
    printf "keyrig.key_to_sound_median_ms: %.2f ms\n", percentile(all, nall, 0.5)
    printf "keyrig.key_to_sound_p99_ms: %.2f ms\n", p99
    printf "keyrig.key_to_sound_after_silence_p99_ms: %.2f ms\n", percentile(after, nafter, 0.99)
    printf "keyrig.key_to_server_after_silence_p99_ms: %.2f ms\n", percentile(server, nserver, 0.99)
    printf "keyrig.key_to_ear_ms: %.2f ms\n", p99 + out
    printf "synth.wake_median_ms: %.2f ms\n", percentile(wake, nwake, 0.5)
    printf "synth.wake_p99_ms: %.2f ms\n", percentile(wake, nwake, 0.99)
  }' "$keyrig_trace"
