# notivo keeps its tempo while the user works: during a run of sixteen short
# C6 notes at tempo 110 (a semiquaver and a quaver rest: a note every 270 ms,
# each struck out of silence) the staff is clicked (a
# low A2 quarter, previewed for 330 ms), Step is clicked and the position
# strip is dragged.  In the recording, every note of the run starts within
# 10 ms of its grid, and the preview sounds for its own length, neither cut
# short by the run nor held on by it.
notivo=$(e2e_program notivo)
score="$E2E_TMP/sixteen.txt"
{
  for p in $(seq 1 40); do
    line=$(printf 'Tone%02d: ' "$p")
    case $p in
      7) line+=$(printf '10%.0s' $(seq 16)) ;;
      15) line+=$(printf '0B%.0s' $(seq 16)) ;;
      *) line+=$(printf '00%.0s' $(seq 16)) ;;
    esac
    printf '%s\r\n' "$line"
  done
  printf '\r\nSharps: \r\nFlats: \r\n'
} >"$score"
e2e_start_program notivo "$notivo" "$score"
sleep 1.5 # the start-up preview has ended

canvas_x=6
canvas_y=110
e2e_record_start notivo_timeline
e2e_click 166 60 # Play
sleep 0.8
e2e_click $((canvas_x + 16 * 25 + 30)) $((canvas_y + 5 * 30 + 13)) # A2 quarter into column 25
sleep 0.8
e2e_click 218 60 # Step: column 2, a rest, sounds nothing
sleep 0.6
# A drag along the strip (y 101..108) over window columns 18, 20, 22 and 24:
# rests, so the strip sounds no C6 of its own just before one of the run's.
xdotool mousemove --window "$E2E_WINDOW" $((4 + 16 * 18 + 35)) 104 mousedown 1
for w in 20 22 24; do
  sleep 0.1
  xdotool mousemove --window "$E2E_WINDOW" $((4 + 16 * w + 35)) 104
done
xdotool mouseup 1
sleep 2.5 # the rest of the run and its last note
e2e_record_stop

wav="$E2E_ARTIFACTS/notivo_timeline.wav"
onsets="$(dirname "${BASH_SOURCE[0]}")/onsets.py"
# The run's C6 (1047 Hz) is heard through a narrow band around it (the A2
# preview's own harmonics lie at 990 and 1100 Hz, and a struck A2 would
# otherwise hide a C6 struck just after it); the A2 preview (110 Hz) below 150 Hz.
high=$(sox "$wav" -t raw -e signed -b 16 -c 1 -r 48000 - remix - sinc 1020-1075 | python3 "$onsets")
low=$(sox "$wav" -t raw -e signed -b 16 -c 1 -r 48000 - remix - lowpass 150 lowpass 150 lowpass 150 | python3 "$onsets")
printf '%s\n' "$high" >"$E2E_ARTIFACTS/notivo_timeline_high.txt"
printf '%s\n' "$low" >"$E2E_ARTIFACTS/notivo_timeline_low.txt"

# The first onset is the run's first note; each of the other fifteen must
# start within 10 ms of its place on the 270 ms grid (other onsets, of Step's
# note, may come between).
first=$(head -n1 <<<"$high" | cut -d' ' -f1)
[ -n "$first" ] || e2e_fail "no note of the run was heard"
worst=$(awk -v first="$first" '
  { onset[NR] = $1 }
  END {
    worst = 0
    for (k = 1; k < 16; ++k) {
      best = -1
      for (i in onset) {
        d = onset[i] - (first + 270 * k); if (d < 0) d = -d
        if (best < 0 || d < best) best = d
      }
      if (best > worst) worst = best
    }
    print worst
  }' <<<"$high")
e2e_log "run onsets: worst distance from the 270 ms grid $worst ms"
[ "$worst" -le 10 ] || e2e_fail "a run note started $worst ms off its grid (onsets in notivo_timeline_high.txt)"

# The preview, the loudest low onset: its 330 ms and then its release.
[ "$(grep -c . <<<"$low")" -ge 1 ] || e2e_fail "the preview was not heard"
length=$(sort -k3 -n -r <<<"$low" | head -n1 | cut -d' ' -f2)
e2e_log "preview sounded $length ms"
[ "$length" -ge 300 ] && [ "$length" -le 700 ] || e2e_fail "the 330 ms preview sounded $length ms"
