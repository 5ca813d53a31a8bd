# shellcheck shell=bash
# e2e-displays: wayland xwayland
# What an idle notivo costs the desktop on the sway rig (scripts/bench names
# the figures with the display as a suffix), each a share of one core over
# 10 s:
#   compositor.baseline_cpu_percent  sway and its Xwayland with no window
#   notivo.idle_cpu_percent          notivo shown and idle after start-up
#   compositor.notivo_idle_cpu_percent  sway and Xwayland meanwhile, less
#                                    their baseline: what showing the busy
#                                    animation's frames costs them
#   tick_probe.wake_cpu_percent      a window whose 30 ms timer draws nothing
#   tick_probe.damage_cpu_percent    the same, showing one 32 x 20 cell a tick
#   compositor.tick_probe_wake_cpu_percent / _damage_cpu_percent
#                                    sway and Xwayland meanwhile, less baseline
# shellcheck source=scripts/e2e.lib/cpu.sh
. scripts/e2e.lib/cpu.sh
compositor="$E2E_DISPLAY_PID,$(pgrep -d, -P "$E2E_DISPLAY_PID" || true)"

e2e_pointer_park
baseline=$(cpu_percent 10 "$compositor")
echo "compositor.baseline_cpu_percent: $baseline %"

# Prints E2E_PID's share as figure $1 and the compositor's meanwhile, less
# its baseline, as figure $2.
beside_compositor() {
  local own shown
  read -r own shown < <(cpu_percent 10 "$E2E_PID" "$compositor" | paste -sd ' ')
  echo "$1: $own %"
  echo "$2: $(awk -v a="$shown" -v b="$baseline" 'BEGIN { printf "%.2f", a - b }') %"
}

e2e_start_program notivo "$(e2e_program notivo)"
sleep 4 # the start-up note rings out and the stream falls asleep
beside_compositor notivo.idle_cpu_percent compositor.notivo_idle_cpu_percent
e2e_stop_program "$E2E_PID"

# The floor on this machine and display: a window that only ticks every
# 30 ms, first drawing nothing, then one cell of the same size per tick.
for mode in wake damage; do
  e2e_start_program "tick_probe_$mode" "$E2E_BUILD_DIR/bench/bench_tick_probe" "$mode"
  sleep 2
  beside_compositor "tick_probe.${mode}_cpu_percent" "compositor.tick_probe_${mode}_cpu_percent"
  e2e_stop_program "$E2E_PID"
done
