# F12, a few keys and pads and a beat, F12 again: a MIDI file appears in the
# music folder (the one xdg-user-dir names) holding the notes, channels and
# times (within 1 ms) that keyrig sent to the synthesiser meanwhile, as its
# --midi-log shows them.  mido reads the file, and notivo reads it as notation.
# Presses on both edges of the rate knob leave keyrig running.
folder=$(e2e_keyrig_folder keyrig_record)
e2e_keyrig_music "$folder"
music=$(xdg-user-dir MUSIC)
[ "$music" = "$folder/music" ] || e2e_fail "xdg-user-dir says $music"

e2e_start_program keyrig_record "$folder/keyrig" --midi-log "$folder/sent.log"
sleep 1

# The rate knob (9 x 9 at 262, 23) is wider than its track (5 wide at 264):
# presses on its left and right edges, and a drag from the right edge.
e2e_click 262 27
e2e_click 270 27
xdotool mousemove --window "$E2E_WINDOW" 270 27 mousedown 1 mousemove --window "$E2E_WINDOW" 270 45 mouseup 1
sleep 0.3
kill -0 "$E2E_PID" || e2e_fail "keyrig ended after presses on the rate knob's edges"

e2e_key F12
sleep 0.3
for note in z KP_2 x; do
  e2e_keydown "$note"
  sleep 0.2
  e2e_keyup "$note"
done
e2e_key F5
sleep 1
e2e_key F9
sleep 3 # the section ends, then the beat stops
e2e_keydown c
e2e_key F12 # c still held: the file ends it
e2e_keyup c
file=$(e2e_keyrig_take "$folder")
[[ "$(basename "$file")" =~ ^keyrig-[0-9]{8}-[0-9]{6}\.mid$ ]] || e2e_fail "file named $(basename "$file")"

/usr/bin/python3 - "$file" "$folder/sent.log" <<'PY' || e2e_fail "the file does not hold what keyrig sent"
import sys, mido
mid = mido.MidiFile(sys.argv[1])
assert mid.type == 0 and len(mid.tracks) == 1, (mid.type, len(mid.tracks))
t, recorded = 0.0, []
for m in mid.tracks[0]:
    t += m.time
    if not m.is_meta:
        recorded.append((t, m.bytes()))
seconds = lambda ticks: ticks * 500000 / mid.ticks_per_beat / 1e6
recorded = [(seconds(t), b) for t, b in recorded]
sent = []
for line in open(sys.argv[2]):
    us, packed, device = line.split()
    p = int(packed, 16)
    sent.append((int(us) / 1e6, [p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF]))
notes = lambda ms: [(t, b) for t, b in ms if b[0] & 0xF0 in (0x80, 0x90)]
rec_notes, sent_notes = notes(recorded), notes(sent)
# The take ends at its last event: the note-offs for the notes still sounding.
end = rec_notes[-1][0]
body = [(t, b) for t, b in rec_notes if t < end]
for t, b in rec_notes[len(body):]:
    assert b[0] & 0xF0 == 0x80, (t, b)
assert body and len(sent_notes) >= len(body), (len(body), len(sent_notes))
# The recording starts with the sound in use.
last_program = [b for t, b in sent if b[0] == 0xC0 and t < sent_notes[0][0]][-1]
assert [b[:2] for t, b in recorded if b[0] == 0xC0][0] == last_program[:2]
# Every note sent during the take is in the file, in order, at its time.
for (rt, rb), (st, sb) in zip(body, sent_notes):
    assert rb == sb, (rb, sb)
    drift = abs((rt - body[0][0]) - (st - sent_notes[0][0]))
    assert drift <= 0.001, (rb, drift)
sent_notes = sent_notes[:len(body)]
channels = {b[0] & 0x0F for t, b in sent_notes}
assert channels == {0, 9}, channels
print("e2e: %d notes on channels %s within 1 ms of what was sent" % (len(sent_notes), sorted(channels)))
PY

# notivo reads the take as notation: its pitches in the order they were
# played (moved by octaves into the staff's range), the drum pads left out.
"$E2E_BUILD_DIR/notivo/notivo" --export "$folder/take.txt" "$file" 2>"$folder/take.log" ||
  e2e_fail "notivo could not read the take: $(cat "$folder/take.log")"
played=$(/usr/bin/python3 scripts/e2e.d/take_pitches.py "$file")
/usr/bin/python3 - "$played" "$folder/take.txt" <<'PY' || e2e_fail "notivo's score of the take is not its notes"
import sys
played = [int(k) for k in sys.argv[1].split()]
lines = open(sys.argv[2], newline='').read().split('\r\n')
tones, accidentals = [line[8:] for line in lines[:40]], {}
for kind, line in ((1, lines[41]), (-1, lines[42])):
    for entry in line.split(' ')[1:]:
        if entry:
            position, column = map(int, entry.split(','))
            accidentals[(position, column)] = kind
def key(position, column):  # positions 15..21 are B4 down to middle C, 7 to the octave
    k = (position - 15) // 7
    return [71, 69, 67, 65, 64, 62, 60][(position - 15) % 7] - 12 * k + accidentals.get((position, column), 0)
read = [key(p + 1, c + 1) for c in range(len(tones[0])) for p in range(40) if tones[p][c] not in '0AB']
assert read == played, (read, played)
print("e2e: notivo reads the take as its %d notes in order" % len(read))
PY

e2e_click 349 20
e2e_wait_for bash -c "! kill -0 $E2E_PID" || e2e_fail "keyrig still runs after its exit symbol was clicked"
[ -f "$folder/config.dat" ] || e2e_fail "keyrig wrote no config.dat"
e2e_log "keyrig recorded $(basename "$file") and ended through its exit symbol"
