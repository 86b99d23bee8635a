#!/usr/bin/env bash
# Fresh machine to running editor: install what is missing, build, start the editor.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
exec "$top/build/src/tavrin"
