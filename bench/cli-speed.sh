#!/usr/bin/env bash
# Times the command line as users run it, with hyperfine (Debian package "hyperfine"):
#   one render of the landscape sample as a whole process, the same for the 3840 x 2160 sample,
#   and a batch of 60 landscape boards in one run (boards per second = 60 / mean seconds).
# Usage: bench/cli-speed.sh [build folder, default ./build]. Prints the machine's load first:
# the figures mean little while other work keeps the processors busy.
set -euo pipefail
build=${1:-build}
cli="$(cd "$build" && pwd)/src/tavrin-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TAVRIN_DATA_DIR="$work/data"
"$cli" samples "$work/samples" >/dev/null
mkdir -p "$work/copies"
for i in $(seq 1 60); do cp "$work/samples/SampleLandscape_LAYOUT.MARBIX" "$work/copies/Board${i}_LAYOUT.MARBIX"; done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg), processors: $(nproc)"
hyperfine -N -w 3 -r 30 \
  "$cli render $work/samples/SampleLandscape_LAYOUT.MARBIX -o $work/one.jpg" \
  "$cli render $work/samples/SampleUltraHd_LAYOUT.MARBIX -o $work/uhd.jpg"
hyperfine -N -w 1 -r 5 "$cli render $(echo "$work"/copies/*.MARBIX) -o $work/batch"
