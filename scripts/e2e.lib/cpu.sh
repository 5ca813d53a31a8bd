# shellcheck shell=bash
# CPU shares of processes, for the figures of scripts/bench.d.

# Nanoseconds on a CPU of every thread of the processes in a comma list.
cpu_ns() {
  local pid
  for pid in ${1//,/ }; do cat /proc/"$pid"/task/*/schedstat 2>/dev/null; done | awk '{ s += $1 } END { printf "%.0f", s }'
}

# Prints the share of one core each argument (a process, or a comma list of
# processes taken together) took over SECONDS, in order.
cpu_percent() {
  local seconds=$1 pid before=() after=() i=0
  shift
  for pid in "$@"; do before+=("$(cpu_ns "$pid")"); done
  sleep "$seconds"
  for pid in "$@"; do after+=("$(cpu_ns "$pid")"); done
  for pid in "$@"; do
    awk -v a="${before[$i]}" -v b="${after[$i]}" -v s="$seconds" 'BEGIN { printf "%.2f\n", (b - a) / (s * 1e7) }'
    i=$((i + 1))
  done
}
