# Sourced by the benchmark scripts that time a command beside a yardstick.

# Median of the numbers given.
median() {
  printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

# Runs a command to a fresh file (timed OUTPUT COMMAND...); prints wall and CPU (user + system)
# milliseconds: by the build's timed_run to a hundredth when it is built ($build/bin/timed_run),
# otherwise by the shell's time to a millisecond.
timed() {
  local output=$1
  shift
  rm -f "$output"
  if [ -x "${build:-build}/bin/timed_run" ]; then
    "${build:-build}/bin/timed_run" "$@" || true
    return
  fi
  local TIMEFORMAT='%3R %3U %3S'
  local real user sys
  read -r real user sys < <({ time "$@" >/dev/null 2>&1; } 2>&1)
  awk -v r="$real" -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f %.1f\n", r * 1000, (u + s) * 1000 }'
}
