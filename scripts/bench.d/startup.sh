# shellcheck shell=bash
# Start-up time (process start to the first visible window) and resident
# memory once started, of both programs; median of 5 starts each.
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() {
  local name=$1 program times=() rss=() i t0 pid window
  program=$(e2e_program "$name")
  # keyrig writes its settings beside itself at exit: run a copy.
  local dir
  dir=$(mktemp -d)
  cp -R "$(dirname "$program")/." "$dir/"
  for i in 1 2 3 4 5; do
    t0=$(date +%s%N)
    "$dir/$name" >/dev/null 2>&1 &
    pid=$!
    window=""
    until [ -n "$window" ]; do
      window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1) || true
      [ -n "$window" ] || sleep 0.005
      kill -0 "$pid" 2>/dev/null || break
    done
    times+=($(( ($(date +%s%N) - t0) / 1000000 )))
    sleep 1 # let the synthesiser finish loading its SoundFont
    rss+=($(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status"))
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$dir"
  echo "$name.startup_ms: $(printf '%s\n' "${times[@]}" | median) ms"
  echo "$name.rss_mb: $(printf '%s\n' "${rss[@]}" | median) MB"
}

measure notivo
measure keyrig
