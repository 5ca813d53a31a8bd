# notivo's scores leave the editor: a score named on the command line opens
# at start, File > Save as writes it as .mid, .wav and .musicxml through the
# real save dialog (the typed extension chooses the format), and other
# programs read what it wrote: mido the MIDI events at the times Play sends
# them, sox the notes and rests of the audio, MuseScore the notation.  The
# same conversion runs from the command line with no display and no sound.
notivo=$(e2e_program notivo)
out="$E2E_ARTIFACTS/export"
rm -rf "$out"
mkdir -p "$out"

# The score: a whole note (G5) with a quarter note (D4) below it, a quarter
# rest, E#5, Gb4, a quaver rest and a half note (C4).
/usr/bin/python3 - "$out/score.txt" <<'PY'
import sys
grid = [[0] * 6 for _ in range(40)]
grid[9][0], grid[19][0] = 5, 3
grid[14][1] = 10
grid[11][2] = 3
grid[16][3] = 2
grid[14][4] = 11
grid[20][5] = 4
lines = ["Tone%02d: " % (p + 1) + "".join("%X" % v for v in grid[p]) for p in range(40)]
open(sys.argv[1], "w", newline="").write("\r\n".join(lines) + "\r\n\r\nSharps: 12,3 \r\nFlats: 17,4 \r\n")
PY

# What Play sends at tempo 110 (90 ms a unit), note by note: ms, on/off, key.
expected_notes="0 on 79
0 on 62
270 off 62
270 on 79
450 off 79
810 on 77
1080 off 77
1080 on 66
1260 off 66
1440 on 60
1800 off 60"

midi_notes() { # the note events of a MIDI file as mido reads them
  /usr/bin/python3 - "$1" <<'PY'
import sys, mido
t = 0.0
for m in mido.MidiFile(sys.argv[1]):
    t += m.time
    if m.type in ("note_on", "note_off"):
        print(round(t * 1000, 3), "on" if m.type == "note_on" and m.velocity else "off", m.note)
PY
}
check_midi() {
  local got
  got=$(midi_notes "$1") || e2e_fail "mido cannot read $1"
  paste <(echo "$expected_notes") <(echo "$got") | awk -v file="$1" '
    NF != 6 || $2 != $5 || $3 != $6 || ($1 - $4 > 1 || $4 - $1 > 1) { bad = 1; print "e2e: " file ": expected " $1 " " $2 " " $3 ", read " $4 " " $5 " " $6 }
    END { exit bad }' >&2 || e2e_fail "$1 does not hold what Play sends"
  [ "$(echo "$got" | wc -l)" -eq "$(echo "$expected_notes" | wc -l)" ] || e2e_fail "$1 has other notes"
}

# With no display and no sound server.
env -u DISPLAY -u PULSE_SERVER -u XDG_RUNTIME_DIR "$notivo" --export "$out/cli.mid" "$out/score.txt" ||
  e2e_fail "notivo --export failed"
check_midi "$out/cli.mid"
status=0
env -u DISPLAY -u PULSE_SERVER "$notivo" --export "$out/bad.mid" "$out/missing.txt" 2>"$out/bad.err" || status=$?
[ "$status" -eq 2 ] && [ "$(wc -l <"$out/bad.err")" -eq 1 ] && [ ! -e "$out/bad.mid" ] ||
  e2e_fail "a missing score did not give exit status 2, one line and no file"

e2e_start_program notivo "$notivo" "$out/score.txt"
sleep 1.5 # the start-up preview has ended
import -window "$E2E_WINDOW" "$E2E_ARTIFACTS/notivo_export_opened.png"

# File > Save as (the third item), then the path typed into the dialog.
save_as() {
  E2E_WINDOWS_BEFORE=$(xdotool search --onlyvisible --pid "$E2E_PID" | wc -l)
  e2e_click 20 40
  sleep 0.4
  xdotool key --delay 80 Down Down Down Return
  e2e_save_dialog "$out/$1"
  sleep 0.3
}

save_as tune.mid
check_midi "$out/tune.mid"

save_as tune.wav
[ "$(soxi -r "$out/tune.wav")" = 44100 ] && [ "$(soxi -c "$out/tune.wav")" = 2 ] ||
  e2e_fail "tune.wav is not 44.1 kHz stereo"
level() { sox "$out/tune.wav" -n trim "$1" "$2" stat 2>&1 | awk '/^RMS +amplitude:/ { print $3 }'; }
for onset in 0 0.81 1.08 1.44; do # every note sounds where Play starts it
  awk -v l="$(level "$onset" 0.08)" 'BEGIN { exit !(l > 0.003) }' || e2e_fail "tune.wav is silent at $onset s"
done
awk -v l="$(level 0.75 0.05)" -v n="$(level 0.81 0.05)" 'BEGIN { exit !(l < n / 4) }' ||
  e2e_fail "tune.wav does not fall quiet in the quarter rest"

save_as tune.musicxml
QT_QPA_PLATFORM=offscreen timeout 60 mscore3 -o "$out/musescore.mid" "$out/tune.musicxml" >"$out/mscore3.log" 2>&1 ||
  e2e_fail "MuseScore cannot read tune.musicxml (see export/mscore3.log)"
# MuseScore plays it back: pitches, onsets and lengths in semiquavers.
notation=$(/usr/bin/python3 - "$out/musescore.mid" <<'PY'
import sys, mido
f = mido.MidiFile(sys.argv[1])
q = f.ticks_per_beat // 4
t, on, notes = 0, {}, []
for m in mido.merge_tracks(f.tracks):
    t += m.time
    if m.type == "note_on" and m.velocity:
        on[m.note] = t
    elif m.type in ("note_on", "note_off") and m.note in on:
        s = on.pop(m.note)
        notes.append(((s + q // 2) // q, m.note, (t - s + q // 2) // q))
print(" ".join("%d:%d:%d" % n for n in sorted(notes)))
PY
)
[ "$notation" = "0:62:4 0:79:16 20:77:4 24:66:2 28:60:8" ] ||
  e2e_fail "MuseScore shows other notes: $notation"

# Play still sounds after the exports: the score was not changed by them.
e2e_record_start notivo_export_play
e2e_click 166 60
sleep 2.2
e2e_record_stop
e2e_assert_sound notivo_export_play
e2e_log "exports of the running program read back by mido, sox and MuseScore"
