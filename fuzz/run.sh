#!/usr/bin/env bash
# Builds the fuzz target and runs it for a bounded time:
#   fuzz/run.sh [seconds, default 60] [workers, default 1] [build folder, default build-fuzz]
# It starts from the seed corpus and the saved findings (fuzz/corpus,
# fuzz/regressions); the inputs it finds gather in <build folder>/corpus and
# are reused by the next run. Any finding (a failed check, a crash, a leak, a
# sanitizer report, a timeout, running out of memory) is saved as
# <build folder>/crash-*, leak-*, timeout-* or oom-* and ends the run with a
# non-zero exit status. Replay one with: <build folder>/fuzz_num FILE
set -euo pipefail
cd "$(dirname "$0")/.."
TIME=${1:-60}
WORKERS=${2:-1}
OUT=${3:-build-fuzz}
fuzz/build.sh "$OUT"
mkdir -p "$OUT/corpus"
args=(-max_total_time="$TIME" -timeout=20 -rss_limit_mb=2048 -max_len=1024
      -print_final_stats=1 -artifact_prefix="$OUT/")
if [ "$WORKERS" -gt 1 ]; then
    args+=(-fork="$WORKERS")
fi
"$OUT/fuzz_num" "${args[@]}" "$OUT/corpus" fuzz/corpus fuzz/regressions
