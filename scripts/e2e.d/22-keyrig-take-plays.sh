# shellcheck shell=bash
# e2e-displays: xvfb wayland xwayland
# A keyrig take plays in notivo: F12, three keys and a drum pad, F12 again;
# notivo opens the take through File > Open (its report of the drum pad
# left out is dismissed), and Play sends the synthesiser the take's pitches
# in the order they were played.
folder=$(e2e_keyrig_folder keyrig_take)
e2e_keyrig_music "$folder"
e2e_start_program keyrig_take "$folder/keyrig"

e2e_key F12
for key in z KP_2 c x; do # C3, the bass drum, E3, D3
  e2e_keydown "$key"
  sleep 0.2
  e2e_keyup "$key"
done
e2e_key F12
take=$(e2e_keyrig_take "$folder")
played=$(/usr/bin/python3 scripts/e2e.d/take_pitches.py "$take")
[ "$played" = "48 52 50" ] || e2e_fail "the take holds $played, not the keys played (48 52 50)"
e2e_stop_program

trace="$folder/notivo_trace.txt"
e2e_start_program notivo "$(e2e_program notivo)" --synth-trace "$trace"
# The start-up middle C has ended (its note-off, 0x3C80, reached the synthesiser).
e2e_wait_for grep -q '^play [0-9]* 15488 ' "$trace" || e2e_fail "the start-up middle C never ended"
e2e_key ctrl+o
e2e_dialog_accept "$take"
e2e_dialog_accept # the report: the drum pad was left out

# The keys of the note-ons (message 0x9n with a velocity) that reach the
# synthesiser after line $1 of the trace.
note_ons() {
  awk -v from="$1" 'NR > from && $1 == "play" {
      m = $3 + 0
      if (int(m / 16) % 16 == 9 && int(m / 65536) % 256 > 0) keys = keys (keys == "" ? "" : " ") int(m / 256) % 256
    } END { print keys }' "$trace"
}
sent_all() { [ "$(note_ons "$before" | wc -w)" -ge "$(echo "$played" | wc -w)" ]; }
before=$(wc -l <"$trace")
e2e_key space
e2e_wait_for sent_all || e2e_fail "Play sent only the keys $(note_ons "$before") of $played"
[ "$(note_ons "$before")" = "$played" ] || e2e_fail "Play sent the keys $(note_ons "$before"), not $played"
e2e_log "notivo played the take as it was played: $played"
