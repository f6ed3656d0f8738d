#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each one for a bounded time
# on a scratch copy of its seed corpus, so the corpus in fuzz/corpus stays as checked in.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default 30 s, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(ls fuzz/corpus))

scripts/install-deps.sh $(cat scripts/build-deps.txt) clang libclang-rt-14-dev
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON
cmake --build build-fuzz -j"$(nproc)" --target velmora_fuzzers

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p build-fuzz/crashes
passed=0
failed=0
for target in "${targets[@]}"; do
    cp -r "fuzz/corpus/$target" "$scratch/$target"
    # A crashing or property-breaking input is kept in build-fuzz/crashes/.
    if build-fuzz/fuzz/"$target" -max_total_time="$seconds" -max_len=10000 -timeout=25 \
           -artifact_prefix="build-fuzz/crashes/$target-" "$scratch/$target" >"$scratch/$target.log" 2>&1; then
        echo "$target: $(grep '^Done' "$scratch/$target.log")"
        passed=$((passed + 1))
    else
        tail -n 40 "$scratch/$target.log"
        echo "$target: FAILED"
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
