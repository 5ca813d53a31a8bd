# notivo worked from the keyboard: notes placed with the mouse, Ctrl+Z takes
# the last one back and Ctrl+Shift+Z brings it again; New then Ctrl+Z brings
# the whole score back, and Ctrl+S saves exactly what is on screen.  The
# digits choose the palette entries (checked in a second save), Space plays
# and Escape stops.
notivo=$(e2e_program notivo)
e2e_start_program notivo "$notivo"
sleep 1.5 # the start-up preview has ended

# The staff canvas (523 x 177) starts at (6, 110) in the window; window
# column w is at x = 16 w + 30 and staff position r at y = 5 r + 13 on it.
canvas_x=6
canvas_y=110
place() { # window column, staff position, seconds to let the preview end
  e2e_click $((canvas_x + 16 * $1 + 30)) $((canvas_y + 5 * $2 + 13))
  sleep "${3:-0.5}"
}
# The canvas alone, with the pointer away so that no tip covers it.
canvas() {
  e2e_pointer_park
  sleep 0.3
  e2e_notivo_canvas "keys_$1"
}
same_canvas() {
  local differ
  differ=$(compare -metric AE "$E2E_ARTIFACTS/keys_$1.png" "$E2E_ARTIFACTS/keys_$2.png" null: 2>&1 || true)
  [ "$differ" = 0 ] || e2e_fail "the staff after $1 is not the staff after $2 ($differ pixels differ)"
}
# Ctrl+S, the path typed into the dialog, Return; waits for the file.
save_as() {
  rm -f "$E2E_ARTIFACTS/$1"
  E2E_WINDOWS_BEFORE=$(xdotool search --onlyvisible --pid "$E2E_PID" | wc -l)
  e2e_key ctrl+s
  e2e_save_dialog "$E2E_ARTIFACTS/$1"
}
# The Tone line of a staff position in a saved score, without its CR.
tone() { sed -n "$2p" "$E2E_ARTIFACTS/$1" | tr -d '\r'; }

canvas empty
place 1 21
place 2 19
canvas two
place 3 17
canvas three

e2e_key ctrl+z
canvas undone
same_canvas undone two
e2e_key ctrl+shift+z
canvas redone
same_canvas redone three

e2e_key ctrl+n
canvas new
same_canvas new empty
e2e_key ctrl+z
canvas new_undone
same_canvas new_undone three

save_as keys_saved.txt
[ "$(tone keys_saved.txt 21)" = "Tone21: 300" ] || e2e_fail "line 21 is '$(tone keys_saved.txt 21)'"
[ "$(tone keys_saved.txt 19)" = "Tone19: 030" ] || e2e_fail "line 19 is '$(tone keys_saved.txt 19)'"
[ "$(tone keys_saved.txt 17)" = "Tone17: 003" ] || e2e_fail "line 17 is '$(tone keys_saved.txt 17)'"
[ "$(tone keys_saved.txt 1)" = "Tone01: 000" ] || e2e_fail "line 1 is '$(tone keys_saved.txt 1)'"
[ "$(wc -l <"$E2E_ARTIFACTS/keys_saved.txt")" = 43 ] || e2e_fail "the saved score does not have its 43 lines"

# Digits 1 to 7 choose the palette entries: one placed in each of columns 4 to 10.
column=4
for digit in 1 2 3 4 5 6 7; do
  e2e_key "$digit"
  place "$column" 21 0.7
  column=$((column + 1))
done
save_as keys_palette.txt
# Columns 4..8 hold ids 1..5 at position 21; 9 and 10 the rests at position 15.
[ "$(tone keys_palette.txt 21)" = "Tone21: 3001234500" ] || e2e_fail "line 21 is '$(tone keys_palette.txt 21)'"
[ "$(tone keys_palette.txt 15)" = "Tone15: 00000000BA" ] || e2e_fail "line 15 is '$(tone keys_palette.txt 15)'"

# Space plays (the score lasts about three seconds), Escape stops at once.
sleep 0.5
e2e_record_start notivo_keys_play
e2e_key space
sleep 0.8
e2e_record_stop
e2e_assert_sound notivo_keys_play
e2e_key Escape
sleep 1 # the pass under way ends and the last notes fade
e2e_record 0.8 notivo_keys_stopped
e2e_assert_silent notivo_keys_stopped
kill -0 "$E2E_PID" || e2e_fail "notivo ended while worked from the keyboard"
