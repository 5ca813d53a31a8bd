# shellcheck shell=bash
# e2e-displays: wayland xwayland
# The keyboard and the mouse reach the programs on every desktop: keyrig
# plays the keys at their places on the keyboard (Z, X and C are C, D and E
# from note 48; keypad 2 is the bass drum, 36 on channel 10) and they are
# heard; notivo places a note where the staff is clicked (its preview is
# heard), Space plays it, Escape stops, and Ctrl+Z takes the note back.
folder=$(e2e_keyrig_folder keyrig_keys_folder)
log="$folder/sent.log"
e2e_start_program keyrig "$folder/keyrig" --midi-log "$log"
sleep 1 # the SoundFont loads while the window is up

e2e_record_start keyrig_desktop_keys
for key in z x c KP_2; do
  e2e_keydown "$key"
  sleep 0.2
  e2e_keyup "$key"
done
e2e_record_stop
e2e_assert_sound keyrig_desktop_keys
e2e_screenshot keyrig_keys
# Note-ons as "channel:note", in the order sent.
played=$(while read -r _ packed _; do
  p=$((16#$packed))
  if (( (p & 0xF0) == 0x90 && ((p >> 16) & 0xFF) > 0 )); then
    printf '%d:%d\n' $((p & 0x0F)) $(((p >> 8) & 0xFF))
  fi
done <"$log" | paste -sd ' ')
[ "$played" = "0:48 0:50 0:52 9:36" ] || e2e_fail "keyrig played $played, not 0:48 0:50 0:52 9:36"
e2e_stop_program

e2e_start_program notivo "$(e2e_program notivo)"
sleep 1.5 # the start-up preview has ended
e2e_pointer_park
sleep 0.3
e2e_notivo_canvas notivo_keys_empty
# Window column 1, staff position 21 (middle C): the canvas at (6, 110),
# column w at x = 16 w + 30, position r at y = 5 r + 13 on it.
e2e_record_start notivo_desktop_click
e2e_click $((6 + 16 + 30)) $((110 + 5 * 21 + 13))
sleep 0.6 # the 330 ms preview of the quarter note
e2e_record_stop
e2e_assert_sound notivo_desktop_click
e2e_record_start notivo_desktop_space
e2e_key space
sleep 0.6
e2e_record_stop
e2e_assert_sound notivo_desktop_space
e2e_key Escape
e2e_screenshot notivo_keys
e2e_key ctrl+z
e2e_pointer_park
sleep 0.3
e2e_notivo_canvas notivo_keys_undone
differ=$(compare -metric AE "$E2E_ARTIFACTS/notivo_keys_empty.png" "$E2E_ARTIFACTS/notivo_keys_undone.png" null: 2>&1) || true
[ "$differ" = 0 ] || e2e_fail "after Ctrl+Z the staff is not empty again ($differ pixels differ)"
