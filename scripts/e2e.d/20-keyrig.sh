# keyrig opens its shaped 376 x 121 panel silently, sounds notes and drum
# pads from the computer keyboard and a beat from F5, holds a key for 3 s on
# a busy machine as one note, and on leaving through its exit symbol writes
# config.dat beside the program.
folder=$(e2e_keyrig_folder keyrig_folder)

e2e_record_start keyrig_startup
e2e_start_program keyrig "$folder/keyrig" --midi-log "$folder/sent.log"
sleep 1
e2e_record_stop
e2e_assert_silent keyrig_startup

size=$(xdotool getwindowgeometry "$E2E_WINDOW" | awk '/Geometry:/ { print $2 }')
[ "$size" = "376x121" ] || e2e_fail "window is $size, not 376x121"

# Z, X and C are C, D and E; keypad 2 is the bass drum.
e2e_record_start keyrig_keys
for note in z x c KP_2; do
  e2e_keydown "$note"
  sleep 0.3
  [ "$note" != c ] || e2e_screenshot keyrig # a key shown held
  e2e_keyup "$note"
done
e2e_record_stop
e2e_assert_sound keyrig_keys
import -window "$E2E_WINDOW" "$E2E_ARTIFACTS/keyrig_window.png"

# F5 starts the intro of the beat, F9 lets the bar end and stops.
e2e_record_start keyrig_beat
e2e_key F5
sleep 1.2
e2e_key F9
e2e_record_stop
e2e_assert_sound keyrig_beat

# Z held for 3 s while a busy loop takes a core: the display repeats the key
# all the while, and keyrig must still send one note-on and one note-off.
( while :; do :; done ) &
busy=$!
E2E_PROGRAM_PIDS+=("$busy") # ended with the check, whatever happens
before=$(wc -l <"$folder/sent.log")
held() { tail -n +"$((before + 1))" "$folder/sent.log"; }
released() { held | grep -q ' 3080 '; }
e2e_keydown z
sleep 3
e2e_keyup z
e2e_wait_for released || true
e2e_stop_program "$busy"
ons=$(held | grep -c ' 7f3090 ' || true)
offs=$(held | grep -c ' 3080 ' || true)
e2e_log "Z held 3 s beside a busy loop: $ons note-on, $offs note-off"
[ "$ons" = 1 ] && [ "$offs" = 1 ] || e2e_fail "a held Z sent $ons note-ons and $offs note-offs, not one of each"

# The exit symbol (17 x 21 at 340, 10) closes the window and saves.
e2e_click 349 20
e2e_wait_for bash -c "! kill -0 $E2E_PID" || e2e_fail "keyrig still runs after its exit symbol was clicked"
[ -f "$folder/config.dat" ] || e2e_fail "keyrig wrote no config.dat"
expected=$(printf ' 0 \r\n 0  0  0  0 \r\n 49  57  51  45  47  48  46  42  44  37  36  40 \r\n' | od -An -c)
actual=$(od -An -c "$folder/config.dat")
[ "$actual" = "$expected" ] || e2e_fail "config.dat holds: $(cat -A "$folder/config.dat")"
e2e_log "keyrig ended through its exit symbol and saved its settings"
