#!/usr/bin/env bash
# Builds the fuzz targets (scripts/sanitize-build.sh) and runs each for a bounded time under
# AddressSanitizer and UndefinedBehaviorSanitizer, starting from the seed corpus in fuzz/corpus
# with the layout dictionary.
#   TAVRIN_FUZZ_SECONDS  seconds per target (default 60)
#   TAVRIN_FUZZ_TARGETS  targets to run (default: all four)
#   TAVRIN_FUZZ_ARGS     further libFuzzer options for every target
# A finding (crash, sanitizer report, timeout, memory blow-up) fails the script; the input that
# caused it is saved under build-sanitize/fuzz-findings/<target>/ and its path is printed.
# The corpus a run grows is kept in build-sanitize/fuzz-corpus/<target>/ for the next run.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAVRIN_SANITIZE_BUILD_DIR:-$top/build-sanitize}"
seconds="${TAVRIN_FUZZ_SECONDS:-60}"
read -r -a targets <<<"${TAVRIN_FUZZ_TARGETS:-document_reader_fuzzer package_open_fuzzer image_decoding_fuzzer price_list_fuzzer}"
read -r -a extra <<<"${TAVRIN_FUZZ_ARGS:-}"

"$top/scripts/sanitize-build.sh" "${targets[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=0}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$top/fuzz/leak-suppressions.txt:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen

failed=0
summary=()
for target in "${targets[@]}"; do
  seeds="$top/fuzz/corpus/${target%_fuzzer}"
  corpus="$build/fuzz-corpus/$target"
  findings="$build/fuzz-findings/$target"
  log="$build/fuzz-logs/$target.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  echo "== $target: ${seconds} s"
  status=0
  # -max_len keeps inputs near the size of the seeds; -rss_limit_mb allows the decoders'
  # bounded allocations (1 GiB) on top of the sanitizers' own.
  "$build/fuzz/$target" "$corpus" "$seeds" \
    -dict="$top/fuzz/layout.dict" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=3072 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" ${extra[@]+"${extra[@]}"} >"$log" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1 || true)
  rate=$(grep -o 'exec/s: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2 || true)
  if [ "$status" -ne 0 ]; then
    failed=1
    tail -n 60 "$log"
    artifact=$(grep -o "Test unit written to .*" "$log" | tail -n 1 | sed 's/Test unit written to //' || true)
    echo "FINDING in $target (exit $status): input saved as ${artifact:-$findings/ (see $log)}"
    summary+=("$target: FINDING, ${artifact:-see $log}")
  else
    summary+=("$target: ${runs:-?} runs, ${rate:-?} exec/s, no finding")
  fi
done

echo "== fuzzing summary (${seconds} s per target)"
printf '  %s\n' "${summary[@]}"
exit "$failed"
