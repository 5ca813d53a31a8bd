# shellcheck shell=bash
# e2e-displays: xvfb wayland xwayland
# notivo opens what a notation program wrote: MuseScore turns the
# hand-written score into compressed and plain MusicXML, and the running
# window opens each through File > Open (Ctrl+O, the path typed into the
# dialog): the staff shows notes, and Save as, with the name it proposes
# (the file's, as a score, beside it) and with a typed one, writes the score
# the command line reads from the hand-written file.  MuseScore then reads
# notivo's MusicXML of the score back as the same notes, rests and chords.
notivo=$(e2e_program notivo)
hand=tests/data/import/hand_written.musicxml
out="$E2E_ARTIFACTS/import"
rm -rf "$out"
mkdir -p "$out"

musescore() { # OUT IN: MuseScore converts IN, as the import tests run it
  QT_QPA_PLATFORM=offscreen timeout 60 mscore3 -o "$1" "$2" >>"$out/mscore3.log" 2>&1 ||
    e2e_fail "MuseScore could not write $1 (see import/mscore3.log)"
}
"$notivo" --export "$out/expected.txt" "$hand" || e2e_fail "notivo cannot read $hand"
for type in mxl musicxml; do
  mkdir "$out/$type"
  musescore "$out/$type/by_musescore.$type" "$hand"
done

trace="$out/synth_trace.txt"
e2e_start_program notivo "$notivo" --synth-trace "$trace"
# The start-up middle C has ended (its note-off, 0x3C80, reached the synthesiser).
e2e_wait_for grep -q '^play [0-9]* 15488 ' "$trace" || e2e_fail "the start-up middle C never ended"
e2e_notivo_canvas import_empty

staff_shows() { # empty|notes NAME: the staff now (NAME.png), against the one at start
  local differ
  e2e_notivo_canvas "$2" || return 1
  differ=$(compare -metric AE "$E2E_ARTIFACTS/import_empty.png" "$E2E_ARTIFACTS/$2.png" null: 2>&1) || true
  if [ "$1" = empty ]; then [ "$differ" = 0 ]; else [ "$differ" != 0 ]; fi
}
saved_score() { # PATH: Save as wrote it, and it is the expected score
  e2e_wait_for test -s "$1" || e2e_fail "nothing was saved to $1"
  cmp -s "$out/expected.txt" "$1" || e2e_fail "$1 is not the score of $hand"
}

for type in mxl musicxml; do
  file="$out/$type/by_musescore.$type"
  e2e_key ctrl+o
  e2e_dialog_accept "$file"
  e2e_wait_for staff_shows notes "import_$type" || e2e_fail "the staff shows no notes after opening $file"
  e2e_log "the staff shows by_musescore.$type (import_$type.png)"

  e2e_key ctrl+s
  e2e_dialog_accept # the proposed name
  saved_score "$out/$type/by_musescore.txt"
  e2e_key ctrl+s
  e2e_save_dialog "$out/$type/typed.txt"
  saved_score "$out/$type/typed.txt"

  e2e_key ctrl+n
  e2e_wait_for staff_shows empty import_new || e2e_fail "the staff is not empty after New"
done

"$notivo" --export "$out/back.musicxml" "$out/mxl/by_musescore.mxl" || e2e_fail "notivo cannot export the .mxl it opened"
musescore "$out/back_by_musescore.musicxml" "$out/back.musicxml"
notes() { /usr/bin/python3 scripts/e2e.d/musicxml_notes.py "$1"; }
diff <(notes "$hand") <(notes "$out/back_by_musescore.musicxml") >"$out/notes.diff" ||
  e2e_fail "MuseScore reads other notes in notivo's MusicXML (see import/notes.diff)"
e2e_log "MuseScore reads notivo's MusicXML as $(notes "$hand" | wc -l) notes and rests of the hand-written score"
