#!/usr/bin/env bash
# Builds the fuzz target with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer: fuzz/build.sh [output folder, default build-fuzz].
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-build-fuzz}
mkdir -p "$OUT"
CXX=${CXX_FUZZ:-clang++}
FLAGS=(-std=c++17 -g -O1 -Wall -Wextra -fno-omit-frame-pointer -fsized-deallocation
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
# One object per source, in parallel.
pids=()
objs=()
for src in src/*.cpp fuzz/fuzz_num.cpp; do
    obj="$OUT/$(basename "${src%.cpp}").o"
    "$CXX" "${FLAGS[@]}" -Isrc -Ifuzz -Itests -c "$src" -o "$obj" &
    pids+=($!)
    objs+=("$obj")
done
for pid in "${pids[@]}"; do wait "$pid"; done
"$CXX" "${FLAGS[@]}" "${objs[@]}" -o "$OUT/fuzz_num"
echo "built $OUT/fuzz_num"
