# shellcheck shell=bash
# e2e-displays: wayland xwayland
# A key held for three seconds beside a busy loop is one note: keyrig sends
# one note-on when it goes down and one note-off when it comes up, whatever
# repeats the desktop makes of a held key.  (Under Xvfb: 20-keyrig.)
folder=$(e2e_keyrig_folder keyrig_held_folder)
log="$folder/sent.log"
e2e_start_program keyrig "$folder/keyrig" --midi-log "$log"
sleep 1
( while :; do :; done ) &
E2E_PROGRAM_PIDS+=("$!") # ended with the check
before=$(wc -l <"$log")
e2e_keydown z
sleep 3
e2e_keyup z
# The note-off of the release is the last thing the key sends.
e2e_wait_for awk -v from="$before" 'NR > from && $2 == "3080" { found = 1 } END { exit !found }' "$log" ||
  e2e_fail "keyrig sent no note-off for the released key"
read -r ons offs < <(awk -v from="$before" 'NR > from && $2 == "7f3090" { on++ } NR > from && $2 == "3080" { off++ }
  END { print on + 0, off + 0 }' "$log")
e2e_log "held key: $ons note-on, $offs note-off"
[ "$ons" = 1 ] && [ "$offs" = 1 ] || e2e_fail "a key held for 3 s sent $ons note-ons and $offs note-offs, not one of each"
