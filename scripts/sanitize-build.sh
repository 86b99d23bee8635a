#!/usr/bin/env bash
# Configures and builds the sanitizer build in build-sanitize/ (or $TAVRIN_SANITIZE_BUILD_DIR):
# clang with AddressSanitizer and UndefinedBehaviorSanitizer, the tests and the fuzz targets,
# no benchmark. Arguments are build targets (default: everything).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAVRIN_SANITIZE_BUILD_DIR:-$top/build-sanitize}"
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVRIN_BUILD_FUZZERS=ON -DTAVRIN_BUILD_BENCHMARKS=OFF >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
