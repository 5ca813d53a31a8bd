# notivo opens its borderless 538 x 318 window titled "Cantorel", greets the
# user with a short middle C on the built-in synthesiser (which then falls
# silent), opens its File menu from the drawn menu bar and the print preview
# from it, and ends when its close caption button is clicked.
notivo=$(e2e_program notivo)

e2e_record_start notivo_startup
e2e_start_program notivo "$notivo"
sleep 1
e2e_record_stop
e2e_assert_sound notivo_startup

title=$(xdotool getwindowname "$E2E_WINDOW")
[ "$title" = "Cantorel" ] || e2e_fail "window title is '$title', not 'Cantorel'"
size=$(xdotool getwindowgeometry "$E2E_WINDOW" | awk '/Geometry:/ { print $2 }')
[ "$size" = "538x318" ] || e2e_fail "window is $size, not 538x318"

# The preview lasts a quarter of a second: nothing may keep sounding.
sleep 1.5
e2e_record 1 notivo_after_startup
e2e_assert_silent notivo_after_startup

e2e_screenshot notivo
import -window "$E2E_WINDOW" "$E2E_ARTIFACTS/notivo_window.png"

# A click on the "?" caption button (21 x 21 at 465, 4) turns its glyph red.
e2e_click 475 14
sleep 0.3
import -window "$E2E_WINDOW" "$E2E_ARTIFACTS/notivo_help_red.png"
red=$(convert "$E2E_ARTIFACTS/notivo_help_red.png" -crop 21x21+465+4 txt:- | grep -ci '#FF0000' || true)
[ "$red" -gt 0 ] || e2e_fail "the \"?\" glyph did not turn red"

# The "File" button of the drawn menu bar (26 x 18 at 7, 31) pops its menu up.
before=$(xdotool search --onlyvisible --pid "$E2E_PID" | wc -l)
e2e_click 20 40
e2e_wait_for bash -c "[ \$(xdotool search --onlyvisible --pid $E2E_PID | wc -l) -gt $before ]" ||
  e2e_fail "the File menu did not open"
sleep 0.3
e2e_screenshot notivo_file_menu
xdotool key Escape
e2e_wait_for bash -c "[ \$(xdotool search --onlyvisible --pid $E2E_PID | wc -l) -le $before ]" ||
  e2e_fail "the File menu did not close"

# File > Print Preview (the fifth item) opens the preview beside the editor.
e2e_click 20 40
sleep 0.5
xdotool key --delay 80 Down Down Down Down Down Return
preview=$(timeout "$E2E_TIMEOUT" xdotool search --sync --onlyvisible --name '^Print Preview$' | head -n1) ||
  e2e_fail "File > Print Preview opened no preview"
sleep 0.5
import -window "$preview" "$E2E_ARTIFACTS/notivo_print_preview.png"
kill -0 "$E2E_PID" || e2e_fail "notivo ended while opening the print preview"
# Without a window manager the preview opens over the editor: put it aside.
xdotool windowmove --sync "$preview" 600 0

# The close caption button (21 x 21 at 510, 4) runs File Exit; the preview goes with it.
e2e_click 520 14
e2e_wait_for bash -c "! kill -0 $E2E_PID" || e2e_fail "notivo still runs after its close button was clicked"
status=0
wait "$E2E_PID" || status=$?
[ "$status" -eq 0 ] || e2e_fail "notivo ended with status $status"
e2e_log "notivo ended through its close button"
