#!/usr/bin/env bash
# Builds the XML document fuzz target with clang, libFuzzer, ASan and UBSan,
# and runs it for a bounded time from the seed corpus. Any crash, leak or
# sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target xml_document_fuzz

work=build/fuzz/corpus
rm -rf "$work" build/fuzz/artifacts
mkdir -p "$work" build/fuzz/artifacts
cp tests/fuzz/corpus/* "$work"/

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build/fuzz/tests/fuzz/xml_document_fuzz "$work" \
    -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -timeout=20 \
    -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 2>build/fuzz/fuzz.log || {
    tail -60 build/fuzz/fuzz.log
    echo "fuzz: FAILED"
    exit 1
}
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' build/fuzz/fuzz.log || true
echo "fuzz: passed (${seconds}s, no crash)"
