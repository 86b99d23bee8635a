#!/usr/bin/env bash
# Writes the sample boards (layout packages and TV images) into this folder again.
# The boards are generated: backgrounds and pictures are drawn by the program, the fonts are
# the free DejaVu and Liberation families. Run after building (scripts/build.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/../build/src/tavrin-cli" samples "$here"
