# Both programs installed into a temporary prefix: the desktop entries,
# metainfo and manual pages pass their validators, the icons show one picture
# in every size (the SVG read back by librsvg), and the installed binaries,
# far from the build tree, start, find their files under <prefix>/share and
# the system's SoundFont, and sound; notivo started by its menu entry's
# command opens the score passed to it; installed keyrig saves its settings
# in the user's configuration folder, never beside the binary.
stage="$E2E_ARTIFACTS/installed"
rm -rf "$stage"
prefix="$stage/prefix"
cmake --install "$E2E_BUILD_DIR" --prefix "$prefix" >"$stage.log"
share="$prefix/share"

# Validators: any complaint (even a hint) fails the check.
for entry in "$share"/applications/*.desktop; do
  complaints=$(desktop-file-validate "$entry" 2>&1) || true
  [ -z "$complaints" ] || e2e_fail "desktop-file-validate: $complaints"
  program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -x "$prefix/bin/$program" ] || e2e_fail "$entry starts $program, which is not installed"
  [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || e2e_fail "$entry shows icon $icon, which is not installed"
done
[ "$(ls "$share"/applications/*.desktop | wc -l)" -eq 2 ] || e2e_fail "not two desktop entries"
appstreamcli validate --no-net --no-color "$share"/metainfo/*.metainfo.xml >"$stage/appstream.log" ||
  e2e_fail "appstreamcli: $(cat "$stage/appstream.log")"
for page in "$share"/man/man1/notivo.1 "$share"/man/man1/keyrig.1; do
  complaints=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || e2e_fail "man cannot show $page"
  [ -z "$complaints" ] || e2e_fail "man --warnings on $(basename "$page"): $complaints"
done
# The file types notivo's entry names: the MIME package it installs reads
# without a complaint and defines the MusicXML types the system may lack.
complaints=$(XDG_DATA_DIRS="$share:/usr/share" update-mime-database "$share/mime" 2>&1) ||
  e2e_fail "update-mime-database: $complaints"
[ -z "$complaints" ] || e2e_fail "update-mime-database: $complaints"
# (MuseScore's own names for MusicXML come with MuseScore, where it is installed.)
for type in $(sed -n 's/^MimeType=//p' "$share/applications/org.melodicdesktop.notivo.desktop" | tr ';' ' '); do
  [[ "$type" == *musicxml3* ]] || [ -f "$share/mime/$type.xml" ] || [ -f "/usr/share/mime/$type.xml" ] ||
    e2e_fail "notivo's entry opens $type, which no MIME package defines"
done
e2e_log "desktop entries, metainfo, manual pages and the MIME package validate"

for program in notivo keyrig; do
  icons="$share/icons/hicolor"
  for size in 48 128 256; do
    [ "$(identify -format '%wx%h' "$icons/${size}x$size/apps/$program.png")" = "${size}x$size" ] ||
      e2e_fail "$program.png at $size is not $size pixels square"
  done
  rsvg-convert -w 256 -h 256 "$icons/scalable/apps/$program.svg" -o "$stage/$program-svg.png"
  differing=$(compare -metric AE -fuzz 10% "$stage/$program-svg.png" "$icons/256x256/apps/$program.png" null: 2>&1) || true
  [ "$differing" = 0 ] || e2e_fail "$program.svg and $program.png differ in $differing pixels"
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$E2E_BUILD_DIR/CMakeCache.txt")
for program in notivo keyrig; do
  [ "$("$prefix/bin/$program" --version)" = "$program $version" ] || e2e_fail "$program --version is not $version"
  "$prefix/bin/$program" --help | grep -q -- '--version' || e2e_fail "$program --help lists no --version"
done

# Which files the programs open, seen from outside.
opened="$stage/opened.log"
inotifywait -m -r -e open --format '%w%f' "$share" /usr/share/sounds/sf2 >"$opened" 2>"$stage/inotify.log" &
watcher=$!
trap 'kill $watcher 2>/dev/null || true; e2e_stop_programs' EXIT
e2e_wait_for grep -q 'Watches established' "$stage/inotify.log" || e2e_fail "inotifywait did not start"

mkdir -p "$stage/home" "$stage/config"
export HOME="$stage/home" XDG_CONFIG_HOME="$stage/config"

# notivo started as its menu entry says, with a score passed for %f as a
# file manager does: a whole note (G4) in the first column.
score="$stage/score.txt"
for position in $(seq 1 40); do
  printf 'Tone%02d: %s\r\n' "$position" "$([ "$position" = 20 ] && echo 5 || echo 0)"
done >"$score"
printf '\r\nSharps: \r\nFlats: \r\n' >>"$score"
entry=$(sed -n 's/^Exec=//p' "$share/applications/org.melodicdesktop.notivo.desktop")
read -r -a command <<<"${entry//%f/$score}"
e2e_record_start installed_notivo
e2e_start_program installed_notivo env PATH="$prefix/bin:$PATH" "${command[@]}"
sleep 2 # the greeting waits for the SoundFont, read from a cold disk cache here
e2e_record_stop
e2e_assert_sound installed_notivo
e2e_record_start installed_notivo_play
e2e_key space # Play: the score that was passed sounds
sleep 1.5
e2e_record_stop
e2e_assert_sound installed_notivo_play
e2e_stop_program
grep -qF "$share/notivo/RurUzezize/RurUzezize Normal.ani" "$opened" ||
  e2e_fail "installed notivo did not read its pointer files from $share/notivo"

e2e_start_program installed_keyrig "$prefix/bin/keyrig"
sleep 1 # the SoundFont loads while the window is up
e2e_record_start installed_keyrig
e2e_keydown z
sleep 0.4
e2e_keyup z
e2e_record_stop
e2e_assert_sound installed_keyrig
e2e_click 349 20 # the exit symbol saves the settings
e2e_wait_for bash -c "! kill -0 $E2E_PID" || e2e_fail "installed keyrig did not end through its exit symbol"
grep -qF "$share/keyrig/instrument.txt" "$opened" || e2e_fail "installed keyrig did not read $share/keyrig/instrument.txt"
grep -q '^/usr/share/sounds/sf2/.*\.sf2$' "$opened" || e2e_fail "no SoundFont was opened from /usr/share/sounds/sf2"
[ -s "$XDG_CONFIG_HOME/keyrig/config.dat" ] || e2e_fail "installed keyrig saved no $XDG_CONFIG_HOME/keyrig/config.dat"
[ ! -e "$prefix/bin/config.dat" ] || e2e_fail "installed keyrig wrote config.dat beside its binary"
e2e_log "installed programs found their files under $share and sounded"
