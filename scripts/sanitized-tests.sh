#!/usr/bin/env bash
# Runs every test program once in the sanitizer build: any memory fault, leak or undefined
# behaviour that AddressSanitizer or UndefinedBehaviorSanitizer reports fails its test.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAVRIN_SANITIZE_BUILD_DIR:-$top/build-sanitize}"
"$top/scripts/sanitize-build.sh"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0}"
# use_tls=0: the check crashes on the dynamic TLS blocks of libraries Qt loads at run time.
export LSAN_OPTIONS="${LSAN_OPTIONS:-use_tls=0:suppressions=$top/fuzz/leak-suppressions.txt:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 900
