# notivo plays what a person writes: three quarter notes are placed by
# clicking the staff (each click previews its note), Play sounds them through
# the built-in synthesiser, and the run ends in silence with nothing left
# sounding.
notivo=$(e2e_program notivo)
e2e_start_program notivo "$notivo"
sleep 1.5 # the start-up preview has ended

# The staff canvas starts at (6, 110) in the window; window column w is at
# x = 16 w + 30 and staff position r at y = 5 r + 13 on the canvas.
canvas_x=6
canvas_y=110
for note in "1 21" "2 19" "3 17"; do # C, E and G of the middle octave
  read -r w r <<<"$note"
  e2e_click $((canvas_x + 16 * w + 30)) $((canvas_y + 5 * r + 13))
  sleep 0.6 # the 330 ms preview of the quarter note
done
e2e_screenshot notivo_three_notes
import -window "$E2E_WINDOW" "$E2E_ARTIFACTS/notivo_three_notes_window.png"

sleep 0.5
e2e_record 0.8 notivo_before_play
e2e_assert_silent notivo_before_play

# Play/Pause (25 x 24 at 154, 48): three quarters at tempo 110 last 810 ms.
e2e_record_start notivo_play
e2e_click 166 60
sleep 1.2
e2e_record_stop
e2e_assert_sound notivo_play

# The run has ended and released its notes.
sleep 0.5
e2e_record 0.8 notivo_after_play
e2e_assert_silent notivo_after_play
import -window "$E2E_WINDOW" "$E2E_ARTIFACTS/notivo_after_play_window.png"
kill -0 "$E2E_PID" || e2e_fail "notivo ended while playing"

# Closing the window in the middle of a run ends the program at once and
# leaves nothing sounding.
e2e_click 166 60
sleep 0.3
e2e_click 520 14 # the close caption button
e2e_wait_for bash -c "! kill -0 $E2E_PID" || e2e_fail "notivo still runs after being closed while playing"
e2e_record 0.8 notivo_after_exit
e2e_assert_silent notivo_after_exit
