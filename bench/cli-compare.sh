#!/usr/bin/env bash
# Compares one `tavrin-cli render` of the landscape sample between two builds, the runs taken in
# turn (A B, then B A, ...) so that the machine's changing speed weighs on both alike; prints
# the median and fastest wall time of each. On a shared 2-core machine this tells a few
# milliseconds apart where two hyperfine runs one after the other do not.
# Usage: bench/cli-compare.sh BUILD_A BUILD_B [runs, default 40] [sample: Landscape or UltraHd]
set -euo pipefail
a="$(cd "$1" && pwd)/src/tavrin-cli"
b="$(cd "$2" && pwd)/src/tavrin-cli"
runs=${3:-40}
sample=${4:-Landscape}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TAVRIN_DATA_DIR="$work/data"
"$a" samples "$work/samples" >/dev/null
layout="$work/samples/Sample${sample}_LAYOUT.MARBIX"
[ -f "$layout" ] || { echo "no sample $sample" >&2; exit 2; }

time_one() { # prints the wall time of one render in microseconds
  local start end
  start=$(date +%s%N)
  "$1" render "$layout" -o "$work/out.jpg" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
for i in 1 2 3; do time_one "$a" >/dev/null; time_one "$b" >/dev/null; done
: >"$work/a.txt"; : >"$work/b.txt"
for i in $(seq 1 "$runs"); do
  if ((i % 2)); then
    time_one "$a" >>"$work/a.txt"; time_one "$b" >>"$work/b.txt"
  else
    time_one "$b" >>"$work/b.txt"; time_one "$a" >>"$work/a.txt"
  fi
done
report() {
  sort -n "$2" | awk -v name="$1" '{v[NR]=$1} END {
    printf "%-40s median %6.1f ms, fastest %6.1f ms (%d runs)\n", name, v[int((NR+1)/2)]/1000, v[1]/1000, NR }'
}
echo "load: $(cut -d' ' -f1-3 /proc/loadavg), processors: $(nproc), sample: $sample"
report "$1" "$work/a.txt"
report "$2" "$work/b.txt"
